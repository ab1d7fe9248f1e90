// The date-time edit: its edit format, typing and validating parts, the century window,
// stepping the part at the caret, the calendar drop-down and what reaches the field.
#include "DBCtrlsEhTestSupport.h"

#include "support/ExceptionText.h"
#include "platform/core/SysUtils.h"

#include <QWheelEvent>

namespace {

const String WhenField = u"日期"_s;

class DBDateTimeEditTest : public DBEditTest {
protected:
    void SetUp() override
    {
        DBEditTest::SetUp();
        Dates = std::make_unique<TMemoryDataSet>(nullptr);
        Dates->FieldDefs()->Add(WhenField, TFieldType::ftDateTime);
        Dates->Open();
        Dates->AppendRecord({Variant::FromDateTime(EncodeDateTime(2026, 12, 9, 10, 30, 0, 0))});
        Dates->First();
        DateSource = std::make_unique<TDataSource>(nullptr);
        DateSource->SetDataSet(Dates.get());
    }
    void TearDown() override
    {
        ReleaseKeyboardModifiers();
        DBEditTest::TearDown();
        DateSource.reset();
        Dates.reset();
    }

    // A date-time edit bound to the record's date (or holding its own value), focused, with the
    // caret at the start.
    TDBDateTimeEditEh* ShowDateEdit(bool Bound, const String& Format = String())
    {
        auto* edit = ShowEdit<TDBDateTimeEditEh>();
        if (!Format.isEmpty())
            edit->SetEditFormat(Format);
        if (Bound) {
            edit->SetDataSource(DateSource.get());
            edit->SetDataField(WhenField);
        }
        edit->SetSelStart(0);
        return edit;
    }
    String StoredWhen() const
    {
        const TField* field = Dates->FieldByName(WhenField);
        return field->IsNull() ? u"(null)"_s : FormatDateTime(u"yyyy-mm-dd hh:nn:ss"_s, field->AsDateTime());
    }
    static String Shown(TDBDateTimeEditEh* Edit)
    {
        return VarIsNull(Edit->Value()) ? u"(null)"_s : FormatDateTime(u"yyyy-mm-dd hh:nn:ss"_s, Edit->Value().AsDateTime());
    }
    void Wheel(TDBDateTimeEditEh* Edit, int Delta)
    {
        QWheelEvent wheel(QPointF(20, 10), QPointF(20, 10), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Edit->Handle(), &wheel);
    }

    std::unique_ptr<TMemoryDataSet> Dates;
    std::unique_ptr<TDataSource> DateSource;
};

TEST(DateTimeEditFormat, GivesTheMaskAndLayoutOrSaysWhatIsWrong)
{
    const TDateTimeEditFormatEh format = ParseDateTimeEditFormat(u"DD.MM.YYYY HH:NN"_s);
    EXPECT_EQ(format.EditMask, u"!99.99.9999 99:99;1; "_s);
    EXPECT_EQ(format.Layout[dtpDay].Start, 1);
    EXPECT_EQ(format.Layout[dtpYear].Start, 7);
    EXPECT_EQ(format.Layout[dtpMinute].Start, 15);
    EXPECT_FALSE(format.Layout[dtpSecond].Defined);
    EXPECT_EQ(ParseDateTimeEditFormat(u"\\Da\\y DD"_s).EditMask, u"!D\\ay 99;1; "_s);
    const struct {
        const char16_t* Format;
        const char16_t* Message;
    } bad[] = {
        {u"DDD", u"Element in EditFormat: \"DDD\" is too long. Pos: 3"},
        {u"YYY", u"Invalid datetime format element length: \"Y\""},
        {u"DD/MM/DD", u"Duplicating datetime format element: \"D\""},
    };
    for (const auto& c : bad)
        EXPECT_EQ(ExceptionText([&] { ParseDateTimeEditFormat(String::fromUtf16(c.Format)); }),
                  String::fromUtf16(c.Message));
}

TEST_F(DBDateTimeEditTest, TypedPartsAreValidatedWhenTheEditIsLeft)
{
    const int thisYear = StrToInt(FormatDateTime(u"yyyy"_s, Date()));
    const struct {
        TDateTimeKindEh Kind;
        const char16_t* Format;
        const char16_t* Typed;
        String Typing, Left;  // the value while typed, then once validated
    } cases[] = {
        {TDateTimeKindEh::dtkDateEh, u"", u"20260301", u"2026-03-01 00:00:00"_s, u"2026-03-01 00:00:00"_s},
        {TDateTimeKindEh::dtkDateEh, u"", u"20260230", u"(null)"_s, u"2026-02-28 00:00:00"_s},
        {TDateTimeKindEh::dtkDateEh, u"", u"20240230", u"(null)"_s, u"2024-02-29 00:00:00"_s},
        {TDateTimeKindEh::dtkDateEh, u"", u"00000101", u"(null)"_s, String::number(thisYear) + u"-01-01 00:00:00"_s},
        {TDateTimeKindEh::dtkTimeEh, u"", u"240000", u"(null)"_s, u"1900-01-01 23:00:00"_s},
        {TDateTimeKindEh::dtkCustomEh, u"YY/MM/DD", u"650101", u"2065-01-01 00:00:00"_s, u"2065-01-01 00:00:00"_s},
        {TDateTimeKindEh::dtkCustomEh, u"YY/MM/DD", u"660101", u"1966-01-01 00:00:00"_s, u"1966-01-01 00:00:00"_s},
    };
    for (const auto& c : cases) {
        TDBDateTimeEditEh* edit = ShowDateEdit(false, String::fromUtf16(c.Format));
        edit->SetKind(c.Kind);
        TypeText(edit->Handle(), String::fromUtf16(c.Typed));
        EXPECT_EQ(Shown(edit), c.Typing) << QString::fromUtf16(c.Typed).toStdString();
        LeaveEdit();
        EXPECT_EQ(Shown(edit), c.Left) << QString::fromUtf16(c.Typed).toStdString();
        delete edit;
    }
}

TEST_F(DBDateTimeEditTest, KeysAndTheWheelStepThePartAtTheCaret)
{
    TDBDateTimeEditEh* edit = ShowDateEdit(false, u"YY/MM/DD HH:NN"_s);
    TypeText(edit->Handle(), u"9912310000"_s);
    EXPECT_EQ(edit->EditText(), u"99-12-31 00:00"_s);
    const struct {
        int Caret, Key;
        const char16_t* Text;
    } steps[] = {
        {6, Qt::Key_Up, u"99-12-01 00:00"},   // day 31 wraps to 1 whatever the month
        {6, Qt::Key_Down, u"99-12-31 00:00"},
        {3, Qt::Key_Up, u"99-01-31 00:00"},
        {9, Qt::Key_Down, u"99-01-31 23:00"},  // hour 00 wraps to 23
        {5, Qt::Key_Up, u"99-01-01 23:00"},   // on the separator: the part behind it
        {0, Qt::Key_Up, u"00-01-01 23:00"},   // a two-letter year stays two digits
    };
    for (const auto& s : steps) {
        edit->SetSelStart(s.Caret);
        SendKey(edit->Handle(), s.Key);
        EXPECT_EQ(edit->EditText(), String::fromUtf16(s.Text));
    }
    EXPECT_EQ(edit->SelText(), u"00"_s);
    EXPECT_EQ(Shown(edit), u"2000-01-01 23:00:00"_s);
    edit->SetSelStart(12);
    Wheel(edit, -120);
    EXPECT_EQ(edit->EditText(), u"00-01-01 23:59"_s);
    edit->SetSelStart(0);
    TypeText(edit->Handle(), u"-"_s);  // the date separator goes to the next part
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelText(), u"01"_s);
}

TEST_F(DBDateTimeEditTest, ALeapDayStepsIntoAYearWithoutOneAndPostsItsMonthEnd)
{
    Dates->Edit();
    Dates->FieldByName(WhenField)->SetAsDateTime(EncodeDateTime(2024, 2, 29, 8, 15, 0, 0));
    Dates->Post();
    TDBDateTimeEditEh* edit = ShowDateEdit(true);
    EXPECT_EQ(edit->EditText(), u"2024-02-29"_s);
    SendKey(edit->Handle(), Qt::Key_Up);
    EXPECT_EQ(edit->EditText(), u"2025-02-29"_s);
    EXPECT_EQ(Shown(edit), u"(null)"_s);
    LeaveEdit();
    EXPECT_EQ(edit->EditText(), u"2025-02-28"_s);
    EXPECT_EQ(StoredWhen(), u"2025-02-28 08:15:00"_s);  // the date-only edit keeps the time
}

TEST_F(DBDateTimeEditTest, TheCalendarChoosesADayAndKeepsTheStoredTime)
{
    TDBDateTimeEditEh* edit = ShowDateEdit(true);
    SendKey(edit->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(edit->CalendarOpen());
    EXPECT_TRUE(edit->Calendar()->Visible());
    EXPECT_EQ(edit->Calendar()->Date(), EncodeDate(2026, 12, 9));
    SendKey(edit->Handle(), Qt::Key_Right);
    SendKey(edit->Handle(), Qt::Key_Down);
    SendKey(edit->Handle(), Qt::Key_Escape, u"\x1b"_s);
    EXPECT_FALSE(edit->CalendarOpen());
    EXPECT_EQ(edit->EditText(), u"2026-12-09"_s);
    SendKey(edit->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    SendKey(edit->Handle(), Qt::Key_Right);
    SendKey(edit->Handle(), Qt::Key_Down);
    SendKey(edit->Handle(), Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(edit->CalendarOpen());
    EXPECT_EQ(edit->EditText(), u"2026-12-17"_s);
    LeaveEdit();
    EXPECT_EQ(StoredWhen(), u"2026-12-17 10:30:00"_s);
}

TEST_F(DBDateTimeEditTest, ClearedDigitsWriteNoDateAndABadFormatChangesNothing)
{
    TDBDateTimeEditEh* edit = ShowDateEdit(true);
    EXPECT_THROW(edit->SetEditFormat(u"DDD"_s), EConvertError);
    EXPECT_EQ(edit->Kind(), TDateTimeKindEh::dtkDateEh);
    EXPECT_EQ(edit->EditText(), u"2026-12-09"_s);
    edit->SelectAll();
    SendKey(edit->Handle(), Qt::Key_Delete);
    EXPECT_EQ(Shown(edit), u"(null)"_s);
    LeaveEdit();
    EXPECT_EQ(StoredWhen(), u"(null)"_s);
    EXPECT_EQ(ExceptionText([&] { edit->SetText(u"2026-13-01"_s); }), u"Invalid datetime: \"2026-13-01\""_s);
    EXPECT_EQ(StoredWhen(), u"(null)"_s);
}

}  // namespace
