// The popup list box dropped under an edit: the keyboard stays with the edit, typed prefixes
// find items, Enter and a click accept, Esc closes without accepting; rows, hot tracking,
// outside lists, images and item behaviour objects.
#include "ToolCtrlsEhPopupTestSupport.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/ImageList.h"

#include <QImage>
#include <QWheelEvent>

namespace {

using namespace Qt::StringLiterals;

QImage Grab(TWinControl* Control) { return Control->Handle()->grab().toImage(); }

class PopupListTest : public PopupTest {
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        List()->Items()->SetCommaText(u"办公室,北京分公司,北京总部,上海分公司,abc,Abd,制造部,技术中心"_s);
    }

    // Whether every pixel of client column X over row Row's height has the colour.
    bool ColumnIs(const QImage& Image, int Row, int X, TColor Color) const
    {
        const TRect rect = List()->ItemRect(Row);
        for (int y = rect.Top; y < rect.Bottom; ++y)
            if (Image.pixel(ListPoint(Point(X, y))) != ToQColor(ColorToRGB(Color)).rgb())
                return false;
        return true;
    }

    // Types one character into the edit, the way a key or an input method delivers it.
    void Type(const QString& Text) { TypeText(EditWidget(), Text); }
    void Commit(const QString& Text) { CommitText(EditWidget(), Text); }
};

TEST_F(PopupListTest, DroppedListIsATopLevelWindowThatLeavesTheFocusWithTheEdit)
{
    Edit->DropDown(5);
    QWidget* window = List()->Handle();
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowType(), Qt::ToolTip);
    EXPECT_FALSE(List()->CanFocus());
    EXPECT_EQ(QApplication::focusWidget(), EditWidget());
    // Opened right under the edit.
    const TPoint editBottom = Form->ClientToScreen(Point(Edit->Left(), Edit->Top() + Edit->Height()));
    EXPECT_EQ(List()->Left(), editBottom.X);
    EXPECT_EQ(List()->Top(), editBottom.Y);

    SendKey(EditWidget(), Qt::Key_Down);
    SendKey(EditWidget(), Qt::Key_Down);
    EXPECT_EQ(List()->ItemIndex(), 1);
    ClickAt(window, RowPoint(3));
    EXPECT_EQ(QApplication::focusWidget(), EditWidget());
}

TEST_F(PopupListTest, TypedPrefixSelectsTheFirstMatchAndEnterAcceptsIt)
{
    Edit->DropDown(5);
    Type(u"ab"_s);
    EXPECT_EQ(List()->ItemIndex(), 4);
    Type(u"d"_s);
    EXPECT_EQ(List()->ItemIndex(), 5);  // case ignored: "Abd"
    SendKey(EditWidget(), Qt::Key_Return);
    EXPECT_EQ(Edit->Closes, std::vector<bool>{true});
    EXPECT_FALSE(List()->Visible());
    EXPECT_EQ(Edit->Text(), u"Abd"_s);
}

TEST_F(PopupListTest, ChineseTypedThroughAnInputMethodFindsItems)
{
    Edit->DropDown(5);
    Commit(u"北京"_s);
    EXPECT_EQ(List()->ItemIndex(), 1);
    Commit(u"总"_s);
    EXPECT_EQ(List()->ItemIndex(), 2);
}

TEST_F(PopupListTest, EscClosesWithoutAccepting)
{
    Edit->DropDown(5);
    Type(u"上"_s);
    EXPECT_EQ(List()->ItemIndex(), 3);
    SendKey(EditWidget(), Qt::Key_Escape);
    EXPECT_EQ(Edit->Closes, std::vector<bool>{false});
    EXPECT_FALSE(List()->Visible());
    // The edit keeps what was typed into it; the list's choice is not taken.
    EXPECT_EQ(Edit->Text(), u"上"_s);
}

TEST_F(PopupListTest, AClickOnAnItemAcceptsIt)
{
    Edit->DropDown(5);
    ClickAt(List()->Handle(), RowPoint(3));
    EXPECT_EQ(Edit->Closes, std::vector<bool>{true});
    EXPECT_EQ(Edit->Text(), u"上海分公司"_s);
}

TEST_F(PopupListTest, PrefixStartsAfreshAfterTwoSecondsOfSilence)
{
    Edit->DropDown(5);
    Type(u"a"_s);
    Now += 2000;
    Type(u"b"_s);  // within 2 s: "ab"
    EXPECT_EQ(List()->ItemIndex(), 4);
    Now += 2001;
    Type(u"制"_s);  // a pause of more than 2 s: the prefix is "制" alone
    EXPECT_EQ(List()->ItemIndex(), 6);
}

TEST_F(PopupListTest, BackspaceClearsThePrefix)
{
    Edit->DropDown(5);
    Type(u"ab"_s);
    List()->Perform(WM_CHAR, 8);
    Type(u"技"_s);
    EXPECT_EQ(List()->ItemIndex(), 7);
}

TEST_F(PopupListTest, PrefixStopsGrowingAtThirtyTwoCharacters)
{
    const QString longText = QString(32, u'x');
    List()->Items()->SetCommaText(u"a,"_s + longText + u"1,"_s + longText + u"2"_s);
    Edit->DropDown(3);
    for (const QChar ch : longText)
        List()->Perform(WM_CHAR, ch.unicode());
    EXPECT_EQ(List()->ItemIndex(), 1);
    // A 33rd character is not added: the search for the 32 x's still runs and keeps item 1.
    List()->SetItemIndex(0);
    List()->Perform(WM_CHAR, u'2');
    EXPECT_EQ(List()->ItemIndex(), 1);
}

TEST_F(PopupListTest, HeightIsCutToWholeRowsAndNeverBelowOne)
{
    const int rowHeight = List()->ItemHeight();
    const int frame = List()->FrameHeight();
    EXPECT_EQ(frame, 4);
    List()->SetBounds(0, 0, 100, frame + rowHeight * 3 + rowHeight / 2);
    EXPECT_EQ(List()->RowCount(), 3);
    EXPECT_EQ(List()->Height(), frame + 3 * rowHeight);
    List()->SetBounds(0, 0, 100, frame + 1);
    EXPECT_EQ(List()->RowCount(), 1);
    EXPECT_EQ(List()->Height(), frame + rowHeight);
    List()->SetHeightByRows(0);
    EXPECT_EQ(List()->Height(), frame + rowHeight);
    List()->SetCtl3D(false);
    EXPECT_EQ(List()->FrameHeight(), 2);
    EXPECT_EQ(List()->Height(), 2 + rowHeight);
}

TEST_F(PopupListTest, ItemHeightZeroTakesTheFontHeight)
{
    List()->SetItemHeight(20);
    List()->SetItemHeight(0);
    EXPECT_GT(List()->ItemHeight(), 0);
    List()->SetHeightByRows(2);
    EXPECT_EQ(List()->Height(), List()->FrameHeight() + 2 * List()->ItemHeight());
}

TEST_F(PopupListTest, SizesOfZeroDrawNothingAndNeverCrash)
{
    List()->SetBounds(0, 0, 0, 0);
    EXPECT_EQ(List()->Width(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_GE(List()->Height(), GetSystemMetrics(SM_CYHSCROLL));
    List()->Items()->Clear();
    List()->Show();
    EXPECT_FALSE(List()->Handle()->grab().isNull());
    List()->SizeGrip()->SetBounds(0, 0, 0, 0);
    List()->SizeGrip()->SetTriangleShape(false);
    List()->SizeGrip()->SetTriangleShape(true);
    EXPECT_TRUE(List()->SizeGrip()->Handle()->grab().isNull());
}

TEST_F(PopupListTest, HotTrackingSelectsUnderTheMouseOnlyWithoutAButtonHeld)
{
    Edit->DropDown(5);
    QWidget* window = List()->Handle();
    EXPECT_EQ(List()->HotItem(), -1);
    // The first move after opening counts even over the first item.
    SendMouse(window, QEvent::MouseMove, RowPoint(0), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(List()->ItemIndex(), 0);
    EXPECT_EQ(List()->HotItem(), 0);
    SendMouse(window, QEvent::MouseMove, RowPoint(2), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(List()->ItemIndex(), 2);
    EXPECT_EQ(List()->HotItem(), 2);
    SendMouse(window, QEvent::MouseMove, RowPoint(4), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(List()->ItemIndex(), 2);
    EXPECT_EQ(List()->HotItem(), 2);
}

TEST_F(PopupListTest, WheelScrollsTheListByARow)
{
    Edit->DropDown(3);
    ASSERT_EQ(List()->TopIndex(), 0);
    // A turn over the list itself, and one the edit passes on.
    const QPointF at = RowPoint(1);
    QWheelEvent turn(at, List()->Handle()->mapToGlobal(at), QPoint(), QPoint(0, -WHEEL_DELTA), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(List()->Handle(), &turn);
    EXPECT_EQ(List()->TopIndex(), 1);
    List()->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(List()->TopIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), EditWidget());
}

TEST_F(PopupListTest, AnOutsideListIsShownWithoutCopying)
{
    TStringList source;
    source.SetCommaText(u"甲,乙,丙"_s);
    List()->SetSourceItems(&source);
    EXPECT_EQ(List()->Style(), TListBoxStyle::lbVirtualOwnerDraw);
    EXPECT_EQ(List()->Count(), 3);
    EXPECT_EQ(List()->ItemText(1), u"乙"_s);
    source.SetStrings(1, u"丁"_s);
    EXPECT_EQ(List()->ItemText(1), u"丁"_s);
    Edit->DropDown(3);
    Commit(u"丙"_s);
    EXPECT_EQ(List()->ItemIndex(), 2);
    List()->SetSourceItems(nullptr);
    EXPECT_EQ(List()->Style(), TListBoxStyle::lbOwnerDrawFixed);
    EXPECT_EQ(List()->Count(), 8);
}

TEST_F(PopupListTest, GripFollowsTheSideThePlacementNames)
{
    TSizeGripEh* grip = List()->SizeGrip();
    EXPECT_EQ(grip->Position(), TSizeGripPosition::sgpBottomRight);
    List()->Perform(WM_SIZEGRIPSIDE, sgsTop);
    EXPECT_EQ(grip->Position(), TSizeGripPosition::sgpTopRight);
    List()->Perform(WM_SIZEGRIPSIDE, sgsLeft);
    EXPECT_EQ(grip->Position(), TSizeGripPosition::sgpTopLeft);
    // A list with no room below opens above the edit, its grip on top.
    Edit->SetTop(350);
    Form->SetTop(300);
    List()->Perform(WM_SIZEGRIPSIDE, sgsBottom);
    List()->Perform(WM_SIZEGRIPSIDE, sgsRight);
    Edit->DropDown(30);
    EXPECT_EQ(grip->Position(), TSizeGripPosition::sgpTopRight);
    EXPECT_EQ(grip->Left(), List()->ClientWidth() - grip->Width());
    EXPECT_EQ(grip->Top(), 0);
}

// --- Item behaviour objects and painting ---------------------------------------------------

class TVetoItem : public TPopupListboxItemEh {
public:
    bool DrawsFocusRect(TPopupListboxEh*, int) override { return Focus; }
    bool ClosesListOnSelect(TPopupListboxEh*, int) override { return false; }
    void ItemMouseMove(TPopupListboxEh*, int Index, TShiftState, TPoint) override { Moves.push_back(Index); }
    bool Focus = false;
    std::vector<int> Moves;
};


TEST_F(PopupListTest, ItemObjectsCanVetoClosingAndDropTheFocusRectangle)
{
    TVetoItem veto;
    List()->SetUseItemObjects(true);
    List()->Items()->SetObjects(2, &veto);
    Edit->DropDown(5);
    List()->SetItemIndex(2);
    EXPECT_TRUE(ColumnIs(Grab(List()), 2, 0, clHighlight));
    veto.Focus = true;
    List()->Invalidate();
    EXPECT_FALSE(ColumnIs(Grab(List()), 2, 0, clHighlight));

    SendMouse(List()->Handle(), QEvent::MouseMove, RowPoint(2), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(veto.Moves, std::vector<int>{2});
    ClickAt(List()->Handle(), RowPoint(2));
    EXPECT_FALSE(List()->CloseList());
    EXPECT_TRUE(Edit->Closes.empty());
    EXPECT_TRUE(List()->Visible());
    // An item without an object closes as usual.
    ClickAt(List()->Handle(), RowPoint(1));
    EXPECT_TRUE(List()->CloseList());
    EXPECT_EQ(Edit->Closes, std::vector<bool>{true});
}

TEST_F(PopupListTest, ImagesSitInAColumnBeforeTheText)
{
    TImageList images(nullptr);
    images.SetWidth(10);
    images.SetHeight(10);
    TBitmap red;
    red.SetSize(10, 10);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 10, 10));
    images.Add(&red, nullptr);
    TBitmap blue;
    blue.SetSize(10, 10);
    blue.Canvas()->Brush()->SetColor(clBlue);
    blue.Canvas()->FillRect(Rect(0, 0, 10, 10));
    images.Add(&blue, nullptr);

    List()->SetImageList(&images);
    List()->SetItemHeight(16);
    // Item 1 shows image 0 through the handler; the others their own index (none past 1).
    List()->OnGetImageIndex = [](TObject*, int Item, int& Image) {
        if (Item == 1)
            Image = 0;
    };
    Edit->DropDown(4);
    const QImage image = Grab(List());
    // The 14-pixel column centres the 10-pixel image: pixels 2..11 of the column.
    const auto at = [&](int Row, int X) {
        const TRect rect = List()->ItemRect(Row);
        return QColor(image.pixel(ListPoint(Point(X, rect.Top + 8))));
    };
    EXPECT_EQ(at(0, 7), QColor(Qt::red));
    EXPECT_EQ(at(1, 7), QColor(Qt::red));
    EXPECT_EQ(at(2, 7), ToQColor(ColorToRGB(clWindow)));
    EXPECT_EQ(at(0, 1), ToQColor(ColorToRGB(clWindow)));
    List()->SetImageList(nullptr);
}

TEST_F(PopupListTest, ChineseItemsPaintText)
{
    List()->Items()->SetCommaText(u"办公室"_s);
    Edit->DropDown(1);
    const QImage image = Grab(List());
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 4; x < image.width() / 2; ++x)
            dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(dark, 10);
}

}  // namespace
