// The number edit: typing within decimal places and limits, thousand separators, stepping,
// pasting, the calculator drop-down and what reaches the field.
#include "DBCtrlsEhTestSupport.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/Label.h"

#include <QLineEdit>

namespace {

class DBNumberEditTest : public DBEditTest {
protected:
    void SetUp() override
    {
        DBEditTest::SetUp();
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
    }
    void TearDown() override
    {
        Clipboard()->SetStore(nullptr);
        ReleaseKeyboardModifiers();
        DBEditTest::TearDown();
    }
    static double Number(TDBNumberEditEh* Edit) { return Edit->Value().AsDouble(); }
};

struct TTypingCase {
    unsigned DecimalPlaces;
    double Min, Max;
    const char16_t* Typed;
    const char16_t* Text;
    double Value;
};

TEST_F(DBNumberEditTest, TypingKeepsToPlacesLimitsAndNumbers)
{
    const TTypingCase cases[] = {
        {2, 0, 0, u"1.234", u"1.23", 1.23},
        {2, 0, 0, u"1.2.3", u"1.23", 1.23},
        {2, 0, 0, u"3,5", u"3.5", 3.5},  // a typed ',' is the decimal separator
        {2, 0, 0, u"a1b", u"1", 1},
        {20, 0, 0, u"5", u"5", 5},
        {2, 0, 100, u"-5", u"-", 0},
        {2, 0, 100, u"150", u"150", 100},
        {2, 10, 0, u"5", u"5", 10},
        {2, 10, 0, u"99999", u"99999", 99999},
    };
    for (const TTypingCase& c : cases) {
        TDBNumberEditEh* edit = ShowEdit<TDBNumberEditEh>();
        edit->SetDecimalPlaces(c.DecimalPlaces);
        edit->SetMinValue(c.Min);
        edit->SetMaxValue(c.Max);
        TypeText(edit->Handle(), QString::fromUtf16(c.Typed));
        EXPECT_EQ(edit->EditText(), String::fromUtf16(c.Text)) << QString::fromUtf16(c.Typed).toStdString();
        EXPECT_DOUBLE_EQ(Number(edit), c.Value) << QString::fromUtf16(c.Typed).toStdString();
        delete edit;
    }
}

TEST_F(DBNumberEditTest, ClampAndRoundGoHalfToEvenAndNeverOverflow)
{
    TDBNumberEditEh* edit = ShowEdit<TDBNumberEditEh>();
    edit->SetDecimalPlaces(0);
    EXPECT_EQ(edit->ClampAndRound(2.5), 2);
    EXPECT_EQ(edit->ClampAndRound(3.5), 4);
    edit->SetDecimalPlaces(2);
    EXPECT_EQ(edit->ClampAndRound(1e17), 1e17L);
    edit->SetDecimalPlaces(30);
    EXPECT_EQ(edit->ClampAndRound(5), 5);
}

TEST_F(DBNumberEditTest, ThousandSeparatorsWhileTypedAndTheDisplayFormatAfter)
{
    TDBNumberEditEh* edit = ShowEdit<TDBNumberEditEh>();
    edit->SetDisplayFormat(u"#,##0.00"_s);
    TypeText(edit->Handle(), u"1234"_s);
    EXPECT_EQ(edit->EditText(), u"1,234"_s);
    EXPECT_EQ(edit->SelStart(), 5);
    TypeText(edit->Handle(), u".5"_s);
    SendKey(edit->Handle(), Qt::Key_Home);
    SendKey(edit->Handle(), Qt::Key_Right);
    SendKey(edit->Handle(), Qt::Key_Right);
    SendKey(edit->Handle(), Qt::Key_Backspace, u"\b"_s);  // steps over the separator
    EXPECT_EQ(edit->EditText(), u"1,234.5"_s);
    LeaveEdit();
    EXPECT_EQ(edit->EditText(), u"1,234.50"_s);
    EXPECT_DOUBLE_EQ(Number(edit), 1234.5);
}

TEST_F(DBNumberEditTest, StepsFromNothingToTheIncrementAndWithinLimits)
{
    TDBNumberEditEh* edit = ShowEdit<TDBNumberEditEh>();
    SendKey(edit->Handle(), Qt::Key_Down);
    EXPECT_DOUBLE_EQ(Number(edit), 1);
    SendKey(edit->Handle(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(Number(edit), 2);
    edit->SetMinValue(0);
    edit->SetMaxValue(2);
    SendKey(edit->Handle(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(Number(edit), 2);
    edit->Clear();
    SendKey(edit->Handle(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(Number(edit), 1);
}

TEST_F(DBNumberEditTest, APasteThatIsNoNumberPutsTheTextBack)
{
    TDBNumberEditEh* edit = ShowEdit<TDBNumberEditEh>();
    TypeText(edit->Handle(), u"12"_s);
    Clipboard()->SetAsText(u"abc"_s);
    SendKey(edit->Handle(), Qt::Key_V, u"\x16"_s, Qt::ControlModifier);
    EXPECT_EQ(edit->EditText(), u"12"_s);
    EXPECT_DOUBLE_EQ(Number(edit), 12);
    edit->SelectAll();
    Clipboard()->SetAsText(u"1,234.5"_s);
    SendKey(edit->Handle(), Qt::Key_V, u"\x16"_s, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Number(edit), 1234.5);
}

TEST_F(DBNumberEditTest, TheCalculatorComputesOnEnterThenPostsTheResult)
{
    auto* edit = ShowEdit<TDBNumberEditEh>(QtyField);
    edit->EditButton()->SetVisible(true);
    EXPECT_EQ(edit->EditText(), u"12"_s);
    SendKey(edit->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(edit->CalculatorOpen());
    TypeText(edit->Handle(), u"-12-3"_s);
    EXPECT_EQ(edit->Calculator()->spEqual()->Caption(), u"="_s);
    SendKey(edit->Handle(), Qt::Key_Return, u"\r"_s);  // 12 - 12 - 3: "=" shows, Enter computes
    EXPECT_TRUE(edit->CalculatorOpen());
    SendKey(edit->Handle(), Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(edit->CalculatorOpen());
    EXPECT_DOUBLE_EQ(Number(edit), -3);
    SendKey(edit->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    TypeText(edit->Handle(), u"9"_s);
    SendKey(edit->Handle(), Qt::Key_Escape, u"\x1b"_s);
    EXPECT_FALSE(edit->CalculatorOpen());
    EXPECT_DOUBLE_EQ(Number(edit), -3);
    LeaveEdit();
    EXPECT_EQ(Stored(QtyField), u"-3"_s);
}

TEST_F(DBNumberEditTest, AFocusedNumberStaysRightAlignedAndHidesItsCaretUnderTheCalculator)
{
    TDBNumberEditEh* edit = ShowEdit<TDBNumberEditEh>();
    auto* line = static_cast<QLineEdit*>(edit->Handle());
    EXPECT_TRUE(line->alignment() & Qt::AlignRight);
    SendKey(edit->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(edit->CalculatorOpen());
    EXPECT_TRUE(edit->CaretHidden());
    SendKey(edit->Handle(), Qt::Key_Escape, u"\x1b"_s);
    EXPECT_FALSE(edit->CaretHidden());
    EXPECT_TRUE(line->alignment() & Qt::AlignRight);
}

}  // namespace
