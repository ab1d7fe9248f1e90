// Variant relations and equality, the numeric field types, the theme switch and the input
// helpers.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/UiTestSupport.h"
#include "platform/ui/WindowHost.h"

#include <QCursor>

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr auto vrEqual = TVariantRelationship::vrEqual;
constexpr auto vrLessThan = TVariantRelationship::vrLessThan;
constexpr auto vrGreaterThan = TVariantRelationship::vrGreaterThan;
constexpr auto vrNotEqual = TVariantRelationship::vrNotEqual;

class ToolCtrlsEhTest : public ::testing::Test {
protected:
    void SetUp() override { ReleaseKeyboardModifiers(); }
    void TearDown() override { PlatformMetrics().Reset(); }
};

// --- Values -------------------------------------------------------------------------------

TEST(VariantRelationTest, NullSortsBeforeEveryValue)
{
    EXPECT_EQ(VariantRelation(Variant::Null(), 5), vrLessThan);
    EXPECT_EQ(VariantRelation(5, Variant::Null()), vrGreaterThan);
    EXPECT_EQ(VariantRelation(Variant::Null(), Variant::Null()), vrEqual);
    EXPECT_EQ(VariantRelation(Variant::Null(), Variant()), vrLessThan);
    EXPECT_EQ(VariantRelation(Variant(), Variant::Null()), vrGreaterThan);
}

TEST(VariantRelationTest, ScalarsCompareByValue)
{
    EXPECT_EQ(VariantRelation(3, 5), vrLessThan);
    EXPECT_EQ(VariantRelation(5, 5.0), vrEqual);
    EXPECT_EQ(VariantRelation(u"上海"_s, u"北京"_s), vrGreaterThan);
    // Kinds that do not convert still get an order, the same both ways round.
    EXPECT_EQ(VariantRelation(u"abc"_s, 5), vrGreaterThan);
    EXPECT_EQ(VariantRelation(5, u"abc"_s), vrLessThan);
}

TEST(VariantRelationTest, ArraysCompareByTheirFirstUnequalElements)
{
    EXPECT_EQ(VariantRelation(VarArrayOf({1, u"二"_s}), VarArrayOf({1, u"二"_s})), vrEqual);
    EXPECT_EQ(VariantRelation(VarArrayOf({1, 2, 9}), VarArrayOf({1, 5, 0})), vrLessThan);
    EXPECT_EQ(VariantRelation(VarArrayOf({1, 5, 0}), VarArrayOf({1, 2, 9})), vrGreaterThan);
    EXPECT_EQ(VariantRelation(VarArrayOf({1, Variant::Null()}), VarArrayOf({1, 0})), vrLessThan);
}

TEST(VariantRelationTest, ArraysOfOtherShapeOrAgainstScalarsAreNotEqual)
{
    EXPECT_EQ(VariantRelation(VarArrayOf({1}), 1), vrNotEqual);
    EXPECT_EQ(VariantRelation(1, VarArrayOf({1})), vrNotEqual);
    EXPECT_EQ(VariantRelation(Variant::Null(), VarArrayOf({1})), vrNotEqual);
    EXPECT_EQ(VariantRelation(VarArrayOf({1, 2}), VarArrayOf({1, 2, 3})), vrNotEqual);
    Variant Shifted = VarArrayCreate(1, 2);
    Shifted[1] = 1;
    Shifted[2] = 2;
    EXPECT_EQ(VariantRelation(VarArrayOf({1, 2}), Shifted), vrNotEqual);
    EXPECT_EQ(VariantRelation(VarArrayCreate(0, -1), VarArrayCreate(0, -1)), vrNotEqual);
}

TEST(VariantValuesEqualTest, EmptyNullAndKinds)
{
    EXPECT_TRUE(VariantValuesEqual(Variant(), Variant()));
    EXPECT_FALSE(VariantValuesEqual(Variant(), Variant::Null()));
    EXPECT_TRUE(VariantValuesEqual(Variant::Null(), Variant::Null()));
    EXPECT_FALSE(VariantValuesEqual(u"abc"_s, 5));
    EXPECT_TRUE(VariantValuesEqual(5, 5.0));
    EXPECT_TRUE(VariantValuesEqual(u"铅笔"_s, u"铅笔"_s));
}

TEST(VariantValuesEqualTest, ArraysNeedTheSameBoundsAndElements)
{
    EXPECT_TRUE(VariantValuesEqual(VarArrayOf({1, Variant::Null()}), VarArrayOf({1, Variant::Null()})));
    EXPECT_FALSE(VariantValuesEqual(VarArrayOf({1, 2}), VarArrayOf({1, 3})));
    EXPECT_FALSE(VariantValuesEqual(VarArrayOf({1}), 1));
    Variant Shifted = VarArrayCreate(1, 1);
    Shifted[1] = 1;
    EXPECT_FALSE(VariantValuesEqual(VarArrayOf({1}), Shifted));
    EXPECT_TRUE(VariantValuesEqual(VarArrayCreate(0, -1), VarArrayCreate(0, -1)));
    // A byte string's elements are its bytes.
    EXPECT_TRUE(VariantValuesEqual(Variant(QByteArray("\x01\x02", 2)), VarArrayOf({1, 2})));
    EXPECT_FALSE(VariantValuesEqual(Variant(QByteArray("\x01\x02", 2)), Variant(QByteArray("\x01\x03", 2))));
}

TEST(FieldTypesTest, NumericTypesAreTheExactOnes)
{
    for (TFieldType Type : {TFieldType::ftSmallint, TFieldType::ftInteger, TFieldType::ftWord, TFieldType::ftFloat,
                            TFieldType::ftCurrency, TFieldType::ftBCD, TFieldType::ftFMTBcd})
        EXPECT_TRUE(IsNumericFieldType(Type)) << static_cast<int>(Type);
    for (TFieldType Type : {TFieldType::ftLargeint, TFieldType::ftAutoInc, TFieldType::ftString, TFieldType::ftBoolean,
                            TFieldType::ftDateTime, TFieldType::ftUnknown, static_cast<TFieldType>(40)})
        EXPECT_FALSE(IsNumericFieldType(Type)) << static_cast<int>(Type);
}

// --- Input --------------------------------------------------------------------------------

TEST_F(ToolCtrlsEhTest, ThemesFollowTheThemeServices)
{
    EXPECT_TRUE(ThemesActive());
    PlatformMetrics().SetThemesActive(false);
    EXPECT_FALSE(ThemesActive());
}

TEST_F(ToolCtrlsEhTest, ShiftStateHasTheModifiersHeldNow)
{
    EXPECT_EQ(CurrentShiftState(), TShiftState());
    {
        TInputStateScope Input(Qt::ShiftModifier | Qt::ControlModifier, Qt::LeftButton);
        EXPECT_EQ(CurrentShiftState(), ssShift | ssCtrl);
    }
    TInputStateScope Input(Qt::AltModifier, Qt::NoButton);
    EXPECT_EQ(CurrentShiftState(), ssAlt);
}

TEST_F(ToolCtrlsEhTest, DoubleClicksKeepWithinTimeAndDistance)
{
    EXPECT_TRUE(IsWithinDoubleClick({10, 10}, {14, 6}, 500));
    EXPECT_FALSE(IsWithinDoubleClick({10, 10}, {14, 6}, 501));
    EXPECT_FALSE(IsWithinDoubleClick({10, 10}, {15, 10}, 0));
    EXPECT_FALSE(IsWithinDoubleClick({10, 10}, {10, 5}, 0));
    PlatformMetrics().SetDoubleClickTime(200);
    PlatformMetrics().SetDoubleClickDistance(1);
    EXPECT_TRUE(IsWithinDoubleClick({10, 10}, {11, 9}, 200));
    EXPECT_FALSE(IsWithinDoubleClick({10, 10}, {11, 9}, 201));
    EXPECT_FALSE(IsWithinDoubleClick({10, 10}, {12, 10}, 0));
}

class PendingMouseDownTest : public ToolCtrlsEhTest {
protected:
    PendingMouseDownTest()
    {
        Panel.SetBounds(100, 50, 200, 100);
        Button->SetBounds(10, 10, 40, 20);
        Button->SetParent(&Panel);
        Child->SetBounds(60, 10, 40, 20);
        Child->SetParent(&Panel);
    }

    TWinControl Panel{nullptr};
    TGraphicControl* Button = new TGraphicControl(&Panel);
    TWinControl* Child = new TWinControl(&Panel);
};

TEST_F(PendingMouseDownTest, APressUnderWayOverTheControlIsTaken)
{
    QCursor::setPos(115, 65);
    EXPECT_FALSE(TakePendingMouseDown(Button));  // no button held
    TInputStateScope Input(Qt::NoModifier, Qt::LeftButton);
    EXPECT_TRUE(TakePendingMouseDown(Button));
    Button->SetEnabled(false);
    EXPECT_TRUE(TakePendingMouseDown(Button));
    QCursor::setPos(155, 65);
    EXPECT_FALSE(TakePendingMouseDown(Button));
    TInputStateScope Right(Qt::NoModifier, Qt::RightButton);
    QCursor::setPos(115, 65);
    EXPECT_FALSE(TakePendingMouseDown(Button));
}

TEST_F(PendingMouseDownTest, WindowedControlsTakeAPressInTheirClientArea)
{
    TInputStateScope Input(Qt::NoModifier, Qt::LeftButton);
    QCursor::setPos(165, 65);
    EXPECT_FALSE(TakePendingMouseDown(Child));  // the parent's control there is none of its own
    EXPECT_TRUE(TakePendingMouseDownInClient(Child));
    EXPECT_TRUE(TakePendingMouseDownInClient(&Panel));
    QCursor::setPos(200, 65);
    EXPECT_FALSE(TakePendingMouseDownInClient(Child));
    EXPECT_TRUE(TakePendingMouseDownInClient(&Panel));
}

// --- Drop-down placement ------------------------------------------------------------------

// Records the grip sides it is told; with RowHeight it keeps its height to whole rows.
class TDropDown : public TControl {
public:
    TDropDown(int Width, int Height, int RowHeight = 0) : TControl(nullptr), FRowHeight(RowHeight)
    {
        SetBounds(0, 0, Width, Height);
    }
    std::vector<WPARAM> Sides;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override
    {
        TControl::SetBounds(ALeft, ATop, AWidth, FRowHeight > 0 ? AHeight / FRowHeight * FRowHeight : AHeight);
    }
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_SIZEGRIPSIDE)
            Sides.push_back(Message.WParam);
        TControl::WndProc(Message);
    }

private:
    int FRowHeight;
};

class PlacementTest : public ToolCtrlsEhTest {
protected:
    // One monitor with a task bar of 40 pixels at the bottom; another to the right of it.
    void SetUp() override
    {
        PlatformMetrics().SetMonitors({{Rect(0, 0, 1000, 800), Rect(0, 0, 1000, 760)},
                                       {Rect(1000, 0, 2000, 600), Rect(1000, 0, 2000, 600)}});
    }
};

TEST_F(PlacementTest, OpensBelowWhenItFits)
{
    TDropDown DropDown(150, 200);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(100, 100, 200, 120), &DropDown, TDropDownAlign::daLeft), Point(100, 120));
    EXPECT_EQ(DropDown.Sides, (std::vector<WPARAM>{sgsBottom, sgsRight}));
    EXPECT_EQ(DropDown.Height(), 200);
}

TEST_F(PlacementTest, OpensAboveWhenOnlyThereIsRoom)
{
    TDropDown DropDown(150, 200);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(100, 700, 200, 720), &DropDown, TDropDownAlign::daLeft), Point(100, 500));
    EXPECT_EQ(DropDown.Sides, (std::vector<WPARAM>{sgsTop, sgsRight}));
    EXPECT_EQ(DropDown.Height(), 200);
}

TEST_F(PlacementTest, FittingNeitherWayTakesTheLargerRoomAndIsShortened)
{
    TDropDown Above(150, 800);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(100, 500, 200, 520), &Above, TDropDownAlign::daLeft), Point(100, 0));
    EXPECT_EQ(Above.Height(), 500);
    EXPECT_EQ(Above.Sides.front(), sgsTop);

    TDropDown Below(150, 800);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(100, 200, 200, 220), &Below, TDropDownAlign::daLeft), Point(100, 220));
    EXPECT_EQ(Below.Height(), 540);
    EXPECT_EQ(Below.Sides.front(), sgsBottom);
}

TEST_F(PlacementTest, AShortenedDropDownSitsOnTheOwnerWithTheHeightItKept)
{
    TDropDown Rows(150, 800, 16);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(100, 500, 200, 520), &Rows, TDropDownAlign::daLeft), Point(100, 4));
    EXPECT_EQ(Rows.Height(), 496);
}

TEST_F(PlacementTest, AlignsAndKeepsInsideTheWorkArea)
{
    TDropDown Right(250, 100);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(300, 100, 400, 120), &Right, TDropDownAlign::daRight), Point(150, 120));
    EXPECT_EQ(Right.Sides.back(), sgsLeft);

    TDropDown Centre(150, 100);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(100, 100, 200, 120), &Centre, TDropDownAlign::daCenter), Point(75, 120));
    EXPECT_EQ(Centre.Sides.back(), sgsRight);

    TDropDown PastRight(200, 100);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(900, 100, 980, 120), &PastRight, TDropDownAlign::daLeft), Point(800, 120));
    EXPECT_EQ(PastRight.Sides.back(), sgsLeft);

    TDropDown PastLeft(200, 100);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(10, 100, 60, 120), &PastLeft, TDropDownAlign::daRight), Point(0, 120));
    EXPECT_EQ(PastLeft.Sides.back(), sgsRight);

    TDropDown Wide(1500, 100);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(100, 100, 200, 120), &Wide, TDropDownAlign::daLeft), Point(0, 120));
    EXPECT_EQ(Wide.Width(), 1000);
    EXPECT_EQ(Wide.Sides.back(), sgsLeft);
}

TEST_F(PlacementTest, UsesTheWorkAreaOfTheOwnersMonitor)
{
    TDropDown DropDown(200, 200);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(1900, 500, 1980, 520), &DropDown, TDropDownAlign::daLeft), Point(1800, 300));
    EXPECT_EQ(DropDown.Sides, (std::vector<WPARAM>{sgsTop, sgsLeft}));
}

TEST_F(PlacementTest, AnOwnerTallerThanTheWorkAreaLeavesNoRoomInsteadOfANegativeOne)
{
    TDropDown DropDown(100, 300);
    EXPECT_EQ(PlaceDropDownAtRect(Rect(100, -50, 200, 900), &DropDown, TDropDownAlign::daLeft), Point(100, 900));
    EXPECT_EQ(DropDown.Height(), 0);
}

TEST_F(PlacementTest, UnderAnEditOnItsScreenRectangle)
{
    TWinControl Form(nullptr);
    Form.SetBounds(200, 300, 400, 300);
    auto* Edit = new TWinControl(&Form);
    Edit->SetBounds(20, 30, 120, 21);
    Edit->SetParent(&Form);
    TDropDown DropDown(100, 150);
    EXPECT_EQ(PlaceDropDownUnderEdit(Edit, &DropDown, TDropDownAlign::daRight), Point(240, 351));
    EXPECT_EQ(DropDown.Sides, (std::vector<WPARAM>{sgsBottom, sgsLeft}));
}

}  // namespace
