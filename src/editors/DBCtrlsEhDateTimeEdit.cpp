// The date-time edit: its edit format, reading and composing the parts, stepping them, and the
// calendar drop-down.
#include "editors/DBCtrlsEhDateTimeEdit.h"

#include "platform/core/FormatSettings.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Two-digit years fall in the sixty years that end 40 years from now.
constexpr int CenturyWindowYears = 60;

int PartOfLetter(Char Letter)
{
    switch (Letter.toUpper().unicode()) {
    case u'Y': return dtpYear;
    case u'M': return dtpMonth;
    case u'D': return dtpDay;
    case u'H': return dtpHour;
    case u'N': return dtpMinute;
    case u'S': return dtpSecond;
    default: return -1;
    }
}

bool IsMaskSpecial(Char Ch) { return String(u"!#09;<>ACLacl"_s).contains(Ch); }

int CurrentYear()
{
    Word year = 0, month = 0, day = 0;
    DecodeDate(Date(), year, month, day);
    return year;
}

// The number in a part's text: digits after leading blanks, blanks ignored; -1 for none.
int PartNumber(const String& Text, int& Digits)
{
    int value = 0;
    Digits = 0;
    for (const Char ch : Text) {
        if (ch == u' ')
            continue;
        if (!ch.isDigit())
            return -1;
        value = value * 10 + ch.digitValue();
        ++Digits;
    }
    return Digits == 0 ? -1 : value;
}

// The letters of the parts, '/' and ':' as they stand in the edit text, every other position a
// blank: the edit text's positions by the part they belong to.
String PartMap(const String& EditFormat)
{
    String map;
    for (qsizetype i = 0; i < EditFormat.size(); ++i) {
        Char ch = EditFormat[i];
        if (ch == u'\\' && i + 1 < EditFormat.size()) {
            map += u' ';
            ++i;
        } else if (PartOfLetter(ch) >= 0 || ch == u'/' || ch == u':') {
            map += ch.toUpper();
        } else {
            map += u' ';
        }
    }
    return map;
}

struct TStepRange {
    int Low, High;
};

TStepRange StepRange(int Part, int Length)
{
    switch (Part) {
    case dtpDay: return {1, 31};
    case dtpMonth: return {1, 12};
    // A two-letter year wraps within its two digits, so the text keeps its layout.
    case dtpYear: return Length <= 2 ? TStepRange{0, 99} : TStepRange{1, 9999};
    case dtpHour: return {0, 23};
    default: return {0, 59};
    }
}

TDateTimePartsEh PartsOf(const Variant& Value)
{
    if (VarIsNull(Value) || VarIsEmpty(Value))
        return {-1, -1, -1, -1, -1, -1};
    Word y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
    DecodeDateTime(Value.AsDateTime(), y, m, d, h, n, s, ms);
    return {y, m, d, h, n, s};
}

}  // namespace

// --- Edit format --------------------------------------------------------------------------

TDateTimeEditFormatEh ParseDateTimeEditFormat(const String& EditFormat)
{
    TDateTimeEditFormatEh result;
    String mask;
    int maskPos = 1;
    Char runLetter;
    int runLength = 0;
    int runStart = 0;
    const auto endRun = [&] {
        if (runLength == 0)
            return;
        const bool year = runLetter == u'Y';
        if (year ? runLength != 2 && runLength != 4 : runLength != 2)
            throw EConvertError(u"Invalid datetime format element length: \"%1\""_s.arg(runLetter));
        TDateTimePartPlaceEh& place = result.Layout[PartOfLetter(runLetter)];
        if (place.Defined)
            throw EConvertError(u"Duplicating datetime format element: \"%1\""_s.arg(runLetter));
        place = {runStart, runLength, true};
        mask += String(runLength, u'9');
        runLength = 0;
    };
    const auto copyLiteral = [&](Char Ch, bool Escaped) {
        if (IsMaskSpecial(Ch) || Escaped)
            mask += u'\\';
        mask += Ch;
        ++maskPos;
    };
    for (qsizetype i = 0; i < EditFormat.size(); ++i) {
        const Char ch = EditFormat[i];
        if (ch == u'\\' && i + 1 < EditFormat.size()) {
            endRun();
            const Char escaped = EditFormat[++i];
            // The mask keeps the escape only where the mask language needs one.
            copyLiteral(escaped, IsMaskSpecial(escaped));
            continue;
        }
        const Char letter = ch.toUpper();
        if (PartOfLetter(letter) < 0) {
            endRun();
            copyLiteral(ch, false);
            continue;
        }
        if (runLength > 0 && letter == runLetter) {
            if (++runLength > (letter == u'Y' ? 4 : 2))
                throw EConvertError(u"Element in EditFormat: \"%1\" is too long. Pos: %2"_s.arg(EditFormat).arg(i + 1));
        } else {
            endRun();
            runLetter = letter;
            runLength = 1;
            runStart = maskPos;
        }
        ++maskPos;
    }
    endRun();
    result.EditMask = u"!"_s + mask + u";1; "_s;
    // The display format: the parts and separators, everything else quoted as it stands.
    String literal;
    const auto flushLiteral = [&] {
        if (!literal.isEmpty())
            result.DisplayFormat += u'\'' + literal + u'\'';
        literal.clear();
    };
    for (qsizetype i = 0; i < EditFormat.size(); ++i) {
        Char ch = EditFormat[i];
        const bool escaped = ch == u'\\' && i + 1 < EditFormat.size();
        if (escaped)
            ch = EditFormat[++i];
        if (!escaped && (PartOfLetter(ch) >= 0 || ch == u'/' || ch == u':')) {
            flushLiteral();
            result.DisplayFormat += ch.toUpper();
        } else if (ch == u'\'') {
            flushLiteral();
            result.DisplayFormat += u"\"'\""_s;
        } else {
            literal += ch;
        }
    }
    flushLiteral();
    return result;
}

int ExpandTwoDigitYear(int Year, int CurrentYear)
{
    const int windowStart = CurrentYear - CenturyWindowYears;
    int year = Year + windowStart / 100 * 100;
    if (year < windowStart)
        year += 100;
    return year;
}

bool ComposeDateTimeValue(TDateTimePartsEh Parts, const TDateTimeLayoutEh& Layout, Variant& Value, bool FillMissing)
{
    if (std::all_of(Parts.begin(), Parts.end(), [](int Part) { return Part == -1; })) {
        Value = Variant::Null();
        return true;
    }
    int& year = Parts[dtpYear];
    int& month = Parts[dtpMonth];
    int& day = Parts[dtpDay];
    if (FillMissing) {
        Word todayYear = 0, todayMonth = 0, todayDay = 0;
        DecodeDate(Date(), todayYear, todayMonth, todayDay);
        if (year < 1)
            year = todayYear;
        else if (year < 100)
            year = ExpandTwoDigitYear(year, todayYear);
        year = std::min(year, 9999);
        month = month < 1 ? todayMonth : std::min(month, 12);
        if (day < 1)
            day = todayDay;
        day = std::min(day, int(DaysInAMonth(Word(year), Word(month))));
        Parts[dtpHour] = std::clamp(Parts[dtpHour], 0, 23);
        Parts[dtpMinute] = std::clamp(Parts[dtpMinute], 0, 59);
        Parts[dtpSecond] = std::clamp(Parts[dtpSecond], 0, 59);
    } else {
        for (int part = 0; part < dtpCount; ++part)
            if (!Layout[part].Defined)
                Parts[part] = part <= dtpDay ? 1 : 0;
    }
    const bool noDate = year < 0 && month < 0 && day < 0;
    TDateTime probe = 0;
    const bool dateValid = noDate || (year >= 1 && month >= 1 && day >= 1 && year <= 9999 &&
                                      TryEncodeDate(Word(year), Word(month), Word(day), probe));
    const bool timeValid = Parts[dtpHour] >= 0 && Parts[dtpHour] <= 23 && Parts[dtpMinute] >= 0 &&
                           Parts[dtpMinute] <= 59 && Parts[dtpSecond] >= 0 && Parts[dtpSecond] <= 59;
    if (!dateValid || !timeValid) {
        Value = Variant::Null();
        return false;
    }
    Word y = 1900, m = 1, d = 1, h = 0, n = 0, s = 0, ms = 0;
    if (!VarIsNull(Value) && !VarIsEmpty(Value))
        DecodeDateTime(Value.AsDateTime(), y, m, d, h, n, s, ms);
    const auto take = [&](int Part, Word& Into) {
        if (Layout[Part].Defined && !(noDate && Part <= dtpDay))
            Into = Word(Parts[Part]);
    };
    take(dtpYear, y);
    take(dtpMonth, m);
    take(dtpDay, d);
    take(dtpHour, h);
    take(dtpMinute, n);
    take(dtpSecond, s);
    // A day kept from the value may not exist in the month just set.
    d = std::min(d, DaysInAMonth(y, m));
    Value = Variant::FromDateTime(EncodeDateTime(y, m, d, h, n, s, ms));
    return true;
}

// --- Construction and properties ----------------------------------------------------------

TCustomDBDateTimeEditEh::TCustomDBDateTimeEditEh(TComponent* AOwner) : TCustomDBEditEh(AOwner)
{
    SetControlStyle(ControlStyle() - csSetCaption);
    RenewEditButton();
    FFourDigitYear = FormatSettings().ShortDateFormat.toUpper().contains(u"YYY"_s);
    RebuildEditFormat();
    PutValue(Variant::Null());
}

TCustomDBDateTimeEditEh::~TCustomDBDateTimeEditEh() = default;

std::unique_ptr<TEditButtonEh> TCustomDBDateTimeEditEh::MakeEditButton()
{
    return std::make_unique<TVisibleEditButtonEh>(static_cast<TWinControl*>(this));
}

void TCustomDBDateTimeEditEh::SetKind(TDateTimeKindEh Value)
{
    if (Value == FKind)
        return;
    FKind = Value;
    RebuildEditFormat();
    HandleLinkDataChange();
}

void TCustomDBDateTimeEditEh::SetEditFormat(const String& Value)
{
    if (FKind == TDateTimeKindEh::dtkCustomEh && Value == FEditFormat)
        return;
    // Parsed first: a format that raises leaves the edit as it was.
    if (!Value.isEmpty())
        ParseDateTimeEditFormat(Value);
    FKind = TDateTimeKindEh::dtkCustomEh;
    FEditFormat = Value;
    RebuildEditFormat();
    HandleLinkDataChange();
}

void TCustomDBDateTimeEditEh::RefreshFourDigitYear()
{
    const bool fourDigits = FormatSettings().ShortDateFormat.toUpper().contains(u"YYY"_s);
    if (fourDigits == FFourDigitYear)
        return;
    FFourDigitYear = fourDigits;
    RebuildEditFormat();
}

void TCustomDBDateTimeEditEh::RebuildEditFormat()
{
    if (FKind != TDateTimeKindEh::dtkCustomEh) {
        const String shortFormat = FormatSettings().ShortDateFormat.toUpper();
        const auto first = std::find_if(shortFormat.begin(), shortFormat.end(),
                                        [](Char Ch) { return Ch == u'D' || Ch == u'M' || Ch == u'Y'; });
        const Char order = first == shortFormat.end() ? Char(u'D') : *first;
        const String year = FFourDigitYear ? u"YYYY"_s : u"YY"_s;
        const String date = order == u'M' ? u"MM/DD/"_s + year : order == u'Y' ? year + u"/MM/DD"_s : u"DD/MM/"_s + year;
        FEditFormat = FKind == TDateTimeKindEh::dtkDateEh ? date
                      : FKind == TDateTimeKindEh::dtkTimeEh ? u"HH:NN:SS"_s
                                                             : date + u" HH:NN:SS"_s;
    }
    FFormat = FEditFormat.isEmpty() ? TDateTimeEditFormatEh() : ParseDateTimeEditFormat(FEditFormat);
    ApplyEditMask(FFormat.EditMask);
}

void TCustomDBDateTimeEditEh::SetFocusedState(bool Value)
{
    if (Value)
        RefreshFourDigitYear();
    TCustomDBEditEh::SetFocusedState(Value);
}

// --- Value and text -----------------------------------------------------------------------

TDateTimePartsEh TCustomDBDateTimeEditEh::ReadParts() const
{
    TDateTimePartsEh parts{-1, -1, -1, -1, -1, -1};
    const String text = EditText();
    for (int part = 0; part < dtpCount; ++part) {
        const TDateTimePartPlaceEh& place = FFormat.Layout[part];
        if (!place.Defined)
            continue;
        int digits = 0;
        parts[part] = PartNumber(text.mid(place.Start - 1, place.Length), digits);
        if (part == dtpYear && parts[part] >= 0 && digits <= 2)
            parts[part] = ExpandTwoDigitYear(parts[part], CurrentYear());
    }
    return parts;
}

String TCustomDBDateTimeEditEh::FormatValue(TDateTime Value) const
{
    return Masked() ? FormatDateTime(FFormat.DisplayFormat, Value) : DateTimeToStr(Value);
}

void TCustomDBDateTimeEditEh::ShowGuarded(const String& Text)
{
    if (FPuttingText)
        return;
    FPuttingText = true;
    try {
        ShowEditText(Text);
    } catch (...) {
        FPuttingText = false;
        throw;
    }
    FPuttingText = false;
}

void TCustomDBDateTimeEditEh::PutValue(const Variant& Value)
{
    if (VarIsNull(Value) || VarIsEmpty(Value)) {
        FValue = Variant::Null();
        ShowGuarded(Masked() ? EmptyEditText() : String());
        return;
    }
    FValue = Variant::FromDateTime(Value.AsDateTime());
    ShowGuarded(FormatValue(FValue.AsDateTime()));
}

void TCustomDBDateTimeEditEh::PutText(const String& Text)
{
    if (!Masked()) {
        FValue = Text.isEmpty() ? Variant::Null() : Variant::FromDateTime(StrToDateTime(Text));
        ShowGuarded(Text);
        return;
    }
    const String before = EditText();
    ShowGuarded(MaskEditText(ParseEditMask(EditMask()), Text));
    Variant value = FValue;
    if (!ComposeDateTimeValue(ReadParts(), FFormat.Layout, value, false)) {
        ShowGuarded(before);
        throw EConvertError(u"Invalid datetime: \"%1\""_s.arg(Text));
    }
    FValue = value;
}

void TCustomDBDateTimeEditEh::FieldDataChanged()
{
    TFieldDataLinkEh* link = DataLink();
    RefreshWindowAlignment();
    Invalidate();
    if (TField* field = Field())
        PutValue(field->IsNull() ? Variant::Null() : field->Value());
    else
        PutValue(link->OwnValueMode() ? link->OwnValue() : Variant::Null());
    RefreshReadOnlyState();
    SetModified(false);
}

void TCustomDBDateTimeEditEh::WriteTextToField()
{
    TFieldDataLinkEh* link = DataLink();
    const TField* field = Field();
    Variant target = link->OwnValueMode() ? link->OwnValue()
                     : field != nullptr && !field->IsNull() ? field->Value()
                                                            : Variant::Null();
    if (Masked())
        ComposeDateTimeValue(PartsOf(FValue), FFormat.Layout, target, true);
    else
        target = EditText().isEmpty() ? Variant::Null() : Variant::FromDateTime(StrToDateTime(EditText()));
    link->PutFieldValue(target);
}

void TCustomDBDateTimeEditEh::Change()
{
    if (!FPuttingText)
        TakeTypedText();
    TCustomDBEditEh::Change();
}

void TCustomDBDateTimeEditEh::TakeTypedText()
{
    if (Masked()) {
        ComposeDateTimeValue(ReadParts(), FFormat.Layout, FValue, false);
        return;
    }
    TDateTime value = 0;
    FValue = TryStrToDateTime(EditText(), value) ? Variant::FromDateTime(value) : Variant::Null();
}

void TCustomDBDateTimeEditEh::ValidateEdit()
{
    if (FValidating)
        return;
    FValidating = true;
    try {
        TCustomDBEditEh::ValidateEdit();
        if (Masked()) {
            ComposeDateTimeValue(ReadParts(), FFormat.Layout, FValue, true);
            ShowGuarded(VarIsNull(FValue) ? EmptyEditText() : FormatValue(FValue.AsDateTime()));
        }
    } catch (...) {
        FValidating = false;
        throw;
    }
    FValidating = false;
}

String TCustomDBDateTimeEditEh::PaintCopyText()
{
    const TField* field = Field();
    if (field == nullptr)
        return EditText();
    return field->IsNull() ? String() : FormatValue(field->AsDateTime());
}

void TCustomDBDateTimeEditEh::AcceptMRUItem(const String& Text, bool& Accept)
{
    String prefix = EditText();
    const Char separator = FormatSettings().DateSeparator;
    while (!prefix.isEmpty() && (prefix.back() == u' ' || prefix.back() == separator || prefix.back() == u'/'))
        prefix.chop(1);
    Accept = Text.left(prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0;
}

// --- Stepping and keys --------------------------------------------------------------------

void TCustomDBDateTimeEditEh::StepPartAtCaret(bool Up)
{
    const String map = PartMap(FEditFormat);
    int at = SelStart();
    if (at < map.size() && (map[at] == u'/' || map[at] == u':'))
        ++at;
    if (at >= map.size())
        return;
    const int part = PartOfLetter(map[at]);
    if (part < 0)
        return;
    const qsizetype first = map.indexOf(map[at]);
    qsizetype length = 0;
    while (first + length < map.size() && map[first + length] == map[at])
        ++length;
    String text = EditText();
    int digits = 0;
    const int number = std::max(PartNumber(text.mid(first, length), digits), 0);
    const TStepRange range = StepRange(part, int(length));
    const int stepped = Up ? (number >= range.High ? range.Low : number + 1) : (number <= range.Low ? range.High : number - 1);
    text.replace(first, length, String::number(stepped).rightJustified(length, u'0'));
    ShowGuarded(text);
    Change();
    SetSelStart(int(first));
    SetSelLength(int(length));
}

void TCustomDBDateTimeEditEh::JumpToNextPart(Char Separator)
{
    const String text = EditText();
    const qsizetype found = text.indexOf(Separator, SelStart());
    const int at = found < 0 ? 0 : int(found) + 1;
    int length = 0;
    for (const TDateTimePartPlaceEh& place : FFormat.Layout)
        if (place.Defined && place.Start - 1 == at)
            length = place.Length;
    SetSelStart(at);
    SetSelLength(length);
}

void TCustomDBDateTimeEditEh::KeyDown(WORD& Key, TShiftState Shift)
{
    const bool step = (Key == VK_UP || Key == VK_DOWN) && Shift.Empty() && !ReadOnly() && Masked();
    const bool toSelectionEnd = (Key == VK_LEFT || Key == VK_RIGHT) && Shift.Empty() && SelLength() > 1;
    if (!step && !toSelectionEnd) {
        TCustomDBEditEh::KeyDown(Key, Shift);
        return;
    }
    HolderKeyDown(Key, Shift);
    if (Key != 0)
        TWinControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (step) {
        if (DataLink()->TryEdit())
            StepPartAtCaret(Key == VK_UP);
    } else {
        const int start = SelStart();
        SetSelStart(Key == VK_LEFT ? start : start + SelLength() - 1);
        SetSelLength(Masked() ? 1 : 0);
    }
    Key = 0;
}

void TCustomDBDateTimeEditEh::KeyPress(Char& Key)
{
    const TFormatSettings& settings = FormatSettings();
    const bool dateSeparator = Key == settings.DateSeparator || Key == u'/';
    if (Masked() && (dateSeparator || Key == settings.TimeSeparator)) {
        JumpToNextPart(dateSeparator ? settings.DateSeparator : settings.TimeSeparator);
        Key = Char();
        return;
    }
    TCustomDBEditEh::KeyPress(Key);
}

bool TCustomDBDateTimeEditEh::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomDBEditEh::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (Shift.Empty() && !ReadOnly() && Masked() && WheelDelta != 0 && DataLink()->TryEdit()) {
        StepPartAtCaret(WheelDelta > 0);
        return true;
    }
    return false;
}

void TCustomDBDateTimeEditEh::PrimaryButtonDown(bool LowerHalf)
{
    if (!IsSpinButtonStyle(EditButton()->Style())) {
        TCustomDBEditEh::PrimaryButtonDown(LowerHalf);
        return;
    }
    if (Masked() && !ReadOnly() && DataLink()->TryEdit())
        StepPartAtCaret(!LowerHalf);
}

// --- Calendar -----------------------------------------------------------------------------

void TCustomDBDateTimeEditEh::OpenDropDown()
{
    if (FCalendarOpen)
        return;
    TCustomDBEditEh::OpenDropDown();
    if (OnDropDown)
        OnDropDown(this);
    if (FCalendar == nullptr)
        FCalendar = new TPopupMonthCalendarEh(this);
    FCalendar->SetDate(VarIsNull(FValue) ? Date() : DateOf(FValue.AsDateTime()));
    FCalendar->HandleNeeded();
    const TPoint at = PlaceDropDownUnderEdit(this, FCalendar, TDropDownAlign::daLeft);
    FCalendar->SetBounds(at.X, at.Y, FCalendar->Width(), FCalendar->Height());
    FCalendar->Show();
    FCalendarOpen = true;
    SetDroppedDown(true);
}

void TCustomDBDateTimeEditEh::CloseDropDown(bool Accept)
{
    if (!FCalendarOpen)
        return;
    if (GetCaptureControl() == FCalendar)
        ReleaseCapture();
    const bool calendarFocused = FCalendar->Focused();
    FCalendar->Hide();
    FCalendarOpen = false;
    if (calendarFocused && CanFocus())
        SetFocus();
    TCustomDBEditEh::CloseDropDown(Accept);
    SetDroppedDown(false);
    if (Accept && !ReadOnly() && DataLink()->TryEdit()) {
        TDateTime chosen = DateOf(FCalendar->Date());
        if (!VarIsNull(FValue))
            chosen += TimeOf(FValue.AsDateTime());
        Variant value = FValue;
        ComposeDateTimeValue(PartsOf(Variant::FromDateTime(chosen)), FFormat.Layout, value, true);
        PutValue(value);
        // The user chose it: leaving the edit writes it.
        DataLink()->SetModified(true);
        if (Focused())
            SelectAll();
    }
    if (OnCloseUp)
        OnCloseUp(this, Accept);
}

// Paging, the arrows and Ctrl+Home/End go to the open calendar; Enter and Esc close it.
bool TCustomDBDateTimeEditEh::RouteToCalendar(TMessage& Message)
{
    if (RouteKeyToList(Message, FCalendar, [this](bool Accept) { CloseDropDown(Accept); }))
        return true;
    const bool keyDown = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
    if (keyDown && (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT)) {
        FCalendar->Perform(WM_KEYDOWN, Message.WParam, Message.LParam);
        return true;
    }
    return false;
}

void TCustomDBDateTimeEditEh::WndProc(TMessage& Message)
{
    if (FCalendarOpen) {
        switch (Message.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_CHAR:
            if (RouteToCalendar(Message))
                return;
            break;
        case CM_MOUSEWHEEL:
            if (RouteWheelToList(Message, FCalendar))
                return;
            break;
        // The calendar never holds the focus: losing it means the user went elsewhere.
        case WM_KILLFOCUS: CloseDropDown(false); break;
        default: break;
        }
    }
    TCustomDBEditEh::WndProc(Message);
}

void TCustomDBDateTimeEditEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
        if (FCalendarOpen && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
            Message.Result = 1;
            return;
        }
        break;
    case CM_CANCELMODE: {
        auto* sender = reinterpret_cast<TControl*>(Message.LParam);
        if (FCalendarOpen && !OwnsWindow(sender) && sender != FCalendar && !FCalendar->ContainsControl(sender))
            CloseDropDown(false);
        break;
    }
    default: break;
    }
    TCustomDBEditEh::Dispatch(Message);
}
