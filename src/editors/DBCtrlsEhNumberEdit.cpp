// The number edit: its limits and formats, typing and stepping, and the calculator drop-down.
#include "editors/DBCtrlsEhNumberEdit.h"

#include "platform/core/FormatSettings.h"
#include "platform/core/SysUtils.h"
#include "platform/data/TypedFields.h"

#include <cfloat>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr Char KeyBackspace = Char(8);
constexpr Char KeyEnter = Char(13);
constexpr Char KeyEscape = Char(27);
// Beyond this a double has no fractional digits left to round.
constexpr long double ExactIntegerLimit = 9007199254740992.0L;  // 2^53
constexpr unsigned MaxRoundedPlaces = 18;

Char DecimalSeparator() { return FormatSettings().DecimalSeparator; }
Char ThousandSeparator() { return FormatSettings().ThousandSeparator; }

// Trimmed, without thousand separators, with '.' or ',' read as the decimal separator when
// neither locale separator is that character.
String NormalizeNumberText(const String& Text)
{
    qsizetype first = 0;
    qsizetype last = Text.size();
    while (first < last && Text[first].unicode() < 33)
        ++first;
    while (last > first && Text[last - 1].unicode() < 33)
        --last;
    String result = Text.mid(first, last - first);
    const Char decimal = DecimalSeparator();
    const Char thousand = ThousandSeparator();
    if (thousand != decimal)
        result.remove(thousand);
    for (const Char ch : {Char(u'.'), Char(u',')})
        if (decimal != ch && thousand != ch)
            result.replace(ch, decimal);
    return result;
}

// Digits, the decimal separator, signs and exponents that read as a number a double holds;
// a sign alone reads as 0.
bool IsNumberText(const String& Text, long double& Value)
{
    for (const Char ch : Text)
        if (!ch.isDigit() && ch != DecimalSeparator() && ch != u'+' && ch != u'-' && ch != u'E' && ch != u'e')
            return false;
    if (Text == u"+" || Text == u"-") {
        Value = 0;
        return true;
    }
    return TryStrToFloat(Text, Value) && std::fabs(Value) <= DBL_MAX;
}

// Thousand separators between every three integer digits, counted from the decimal separator
// or the exponent leftwards, never before a leading sign.
String GroupThousands(String Text)
{
    qsizetype end = 0;
    while (end < Text.size() && Text[end] != DecimalSeparator() && Text[end] != u'E' && Text[end] != u'e')
        ++end;
    const qsizetype start = !Text.isEmpty() && (Text[0] == u'-' || Text[0] == u'+') ? 1 : 0;
    for (qsizetype at = end - 3; at > start; at -= 3)
        Text.insert(at, ThousandSeparator());
    return Text;
}

// The digits, grouping and point of a display format's first section.
String EditFormatOf(const String& DisplayFormat)
{
    String result;
    int exponents = 0;
    for (qsizetype i = 0; i < DisplayFormat.size() && DisplayFormat[i] != u';'; ++i) {
        const Char ch = DisplayFormat[i];
        if (ch == u'\'' || ch == u'"') {
            const qsizetype close = DisplayFormat.indexOf(ch, i + 1);
            i = close < 0 ? DisplayFormat.size() : close;
        } else if (ch == u'E' || ch == u'e') {
            if (++exponents > 4)
                break;
            if (i + 1 < DisplayFormat.size() && (DisplayFormat[i + 1] == u'+' || DisplayFormat[i + 1] == u'-'))
                ++i;
            while (i + 1 < DisplayFormat.size() && DisplayFormat[i + 1] == u'0')
                ++i;
        } else if (ch == u'#' || ch == u',' || ch == u'.' || ch == u'0') {
            result += ch;
        }
    }
    return result;
}

long double FieldMinValue(const TField* Field)
{
    if (const auto* integer = dynamic_cast<const TIntegerField*>(Field))
        return integer->MinValue();
    if (const auto* real = dynamic_cast<const TFloatField*>(Field))
        return real->MinValue();
    if (const auto* bcd = dynamic_cast<const TBCDField*>(Field))
        return bcd->MinValue().ToLongDouble();
    return 0;
}

long double FieldMaxValue(const TField* Field)
{
    if (const auto* integer = dynamic_cast<const TIntegerField*>(Field))
        return integer->MaxValue();
    if (const auto* real = dynamic_cast<const TFloatField*>(Field))
        return real->MaxValue();
    if (const auto* bcd = dynamic_cast<const TBCDField*>(Field))
        return bcd->MaxValue().ToLongDouble();
    return 0;
}

}  // namespace

TCustomDBNumberEditEh::TCustomDBNumberEditEh(TComponent* AOwner) : TCustomDBEditEh(AOwner)
{
    SetControlStyle(ControlStyle() - csSetCaption);
    RenewEditButton();
    SetMaxLength(0);
    // The empty value shows as the empty text the edit starts with.
    RebuildEditFormat();
}

TCustomDBNumberEditEh::~TCustomDBNumberEditEh() = default;

std::unique_ptr<TEditButtonEh> TCustomDBNumberEditEh::MakeEditButton()
{
    return std::make_unique<TDropDownEditButtonEh>(static_cast<TWinControl*>(this));
}

TAlignment TCustomDBNumberEditEh::InitialAlignment() const
{
    const TField* field = Field();
    return field != nullptr ? field->Alignment() : TAlignment::taRightJustify;
}

void TCustomDBNumberEditEh::RefreshWindowAlignment() { TCustomMaskEdit::SetAlignment(Alignment()); }

// --- Properties -----------------------------------------------------------------------------

void TCustomDBNumberEditEh::SetDecimalPlaces(unsigned Value)
{
    FDecimalPlaces = Value;
    Invalidate();
    FieldDataChanged();
}

long double TCustomDBNumberEditEh::MinValue() const { return FMinValueAssigned ? FMinValue : FieldMinValue(Field()); }

long double TCustomDBNumberEditEh::MaxValue() const { return FMaxValueAssigned ? FMaxValue : FieldMaxValue(Field()); }

void TCustomDBNumberEditEh::SetMinValue(long double Value)
{
    FMinValue = Value;
    FMinValueAssigned = true;
    if (DataLink()->OwnValueMode())
        PostEditToField();
}

void TCustomDBNumberEditEh::SetMaxValue(long double Value)
{
    FMaxValue = Value;
    FMaxValueAssigned = true;
    if (DataLink()->OwnValueMode())
        PostEditToField();
}

String TCustomDBNumberEditEh::DisplayFormat() const
{
    if (FDisplayFormatAssigned)
        return FDisplayFormat;
    if (const auto* numeric = dynamic_cast<const TNumericField*>(Field()))
        return numeric->DisplayFormat();
    if (const auto* dateTime = dynamic_cast<const TDateTimeField*>(Field()))
        return dateTime->DisplayFormat();
    return String();
}

void TCustomDBNumberEditEh::SetDisplayFormat(const String& Value)
{
    FDisplayFormat = Value;
    FDisplayFormatAssigned = true;
    Invalidate();
    FieldDataChanged();
}

bool TCustomDBNumberEditEh::currency() const
{
    if (FCurrencyAssigned)
        return FCurrency;
    if (const auto* real = dynamic_cast<const TFloatField*>(Field()))
        return real->Currency();
    if (const auto* bcd = dynamic_cast<const TBCDField*>(Field()))
        return bcd->Currency();
    return false;
}

void TCustomDBNumberEditEh::SetCurrency(bool Value)
{
    FCurrency = Value;
    FCurrencyAssigned = true;
    Invalidate();
    FieldDataChanged();
}

void TCustomDBNumberEditEh::RebuildEditFormat()
{
    const String format = DisplayFormat();
    if (format.isEmpty() && currency())
        FEditFormat = u",#."_s + String(FormatSettings().CurrencyDecimals, u'0');
    else
        FEditFormat = EditFormatOf(format);
}

// --- Value and text -------------------------------------------------------------------------

long double TCustomDBNumberEditEh::ClampAndRound(long double X) const
{
    const long double low = MinValue();
    const long double high = MaxValue();
    if (high > low)
        X = std::clamp(X, low, high);
    else if (high < low && high == 0)
        X = std::max(X, low);
    else if (high < low && low == 0)
        X = std::min(X, high);
    if (FDecimalPlaces > MaxRoundedPlaces)
        return X;
    // Rounded in floating point, half to even: an integer conversion would overflow for large
    // values, which have no fractional digits to round anyway.
    const long double scale = std::pow(10.0L, FDecimalPlaces);
    const long double scaled = X * scale;
    return std::fabs(scaled) < ExactIntegerLimit ? std::nearbyint(scaled) / scale : X;
}

String TCustomDBNumberEditEh::DisplayTextForValue()
{
    if (VarIsNull(FValue))
        return String();
    const long double value = FValue.AsDouble();
    const String format = DisplayFormat();
    if (!format.isEmpty())
        return FormatFloat(format, value);
    if (currency())
        return FloatToStrF(value, TFloatFormat::ffCurrency, 18, FormatSettings().CurrencyDecimals);
    return FloatToStr(value);
}

String TCustomDBNumberEditEh::TypingText(const String& Text) const
{
    if (Text.isEmpty() || Text == u"-")
        return Text;
    const String normal = NormalizeNumberText(Text);
    return FEditFormat.contains(u',') ? GroupThousands(normal) : normal;
}

void TCustomDBNumberEditEh::ShowGuarded(const String& Text)
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

void TCustomDBNumberEditEh::PutValue(const Variant& Value)
{
    if (VarIsNull(Value) || VarIsEmpty(Value)) {
        FValue = Variant::Null();
        ShowGuarded(String());
        return;
    }
    FValue = Variant(Value.AsDouble());
    DataLink()->SetModified(true);
    if (FocusedState() && DataLink()->CanModifyField())
        ShowGuarded(TypingText(FormatFloat(FEditFormat, FValue.AsDouble())));
    else
        ShowGuarded(DisplayTextForValue());
}

void TCustomDBNumberEditEh::PutText(const String& Text)
{
    if (Text.isEmpty())
        PutValue(Variant::Null());
    else
        PutValue(Variant(double(StrToFloat(NormalizeNumberText(Text)))));
}

void TCustomDBNumberEditEh::FieldDataChanged()
{
    RebuildEditFormat();
    TFieldDataLinkEh* link = DataLink();
    RefreshWindowAlignment();
    if (TField* field = Field()) {
        PutValue(field->IsNull() ? Variant::Null() : field->Value());
    } else {
        PutValue(link->OwnValueMode() ? link->OwnValue() : Variant::Null());
    }
    RefreshReadOnlyState();
    SetModified(false);
}

void TCustomDBNumberEditEh::WriteTextToField() { DataLink()->PutFieldValue(FValue); }

void TCustomDBNumberEditEh::Change()
{
    if (!FPuttingText)
        TakeTypedText();
    TCustomDBEditEh::Change();
}

void TCustomDBNumberEditEh::TakeTypedText()
{
    const String text = EditText();
    const String typed = TypingText(text);
    if (typed != text) {
        const int fromEnd = int(text.size()) - SelStart();
        ShowGuarded(typed);
        if (FocusedState())
            SetSelStart(std::max(0, int(typed.size()) - fromEnd));
    }
    long double value = 0;
    const String normal = NormalizeNumberText(typed);
    if (normal.isEmpty() || !IsNumberText(normal, value))
        FValue = Variant::Null();
    else
        FValue = Variant(double(ClampAndRound(value)));
}

// --- Keys -----------------------------------------------------------------------------------

bool TCustomDBNumberEditEh::AcceptsChar(Char Key)
{
    String after = EditText();
    after.replace(SelStart(), SelLength(), String(Key));
    const String normal = NormalizeNumberText(after);
    const qsizetype point = normal.indexOf(DecimalSeparator());
    if (point >= 0) {
        qsizetype end = point + 1;
        while (end < normal.size() && normal[end] != u'E' && normal[end] != u'e')
            ++end;
        if (end - point - 1 > qsizetype(FDecimalPlaces))
            return false;
    }
    if (normal.isEmpty())
        return true;
    long double value = 0;
    if (!IsNumberText(normal, value))
        return false;
    return !(MinValue() >= 0 && MaxValue() > 0 && value < 0);
}

void TCustomDBNumberEditEh::KeyPress(Char& Key)
{
    if (FCalculatorOpen && (Key == KeyEnter || Key == KeyEscape)) {
        CloseDropDown(Key == KeyEnter);
        Key = Char();
        return;
    }
    const int caret = SelStart();
    if (Key == KeyBackspace && SelLength() == 0 && caret > 0 && EditText()[caret - 1] == ThousandSeparator()) {
        SetSelStart(caret - 1);
        Key = Char();
        return;
    }
    if (Key == u'.' || Key == u',')
        Key = DecimalSeparator();
    if (Key.unicode() >= 32 && !AcceptsChar(Key)) {
        MessageBeep(0);
        Key = Char();
        return;
    }
    TCustomDBEditEh::KeyPress(Key);
}

void TCustomDBNumberEditEh::KeyDown(WORD& Key, TShiftState Shift)
{
    // Alt+Down is the calculator's short cut, not a step.
    if ((Key == VK_UP || Key == VK_DOWN) && !Shift.Contains(ssAlt) && !ReadOnly()) {
        StepValue(Key == VK_UP);
        Key = 0;
        return;
    }
    TCustomDBEditEh::KeyDown(Key, Shift);
}

bool TCustomDBNumberEditEh::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomDBEditEh::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (Shift.Empty() && !ReadOnly() && DataLink()->TryEdit()) {
        StepValue(WheelDelta > 0);
        return true;
    }
    return false;
}

void TCustomDBNumberEditEh::StepValue(bool Up)
{
    if (FIncrement == 0 || !DataLink()->TryEdit())
        return;
    // From no value both directions give the increment itself.
    const long double from = VarIsNull(FValue) ? 0 : FValue.AsDouble();
    const long double stepped = VarIsNull(FValue) ? FIncrement : Up ? from + FIncrement : from - FIncrement;
    PutValue(Variant(double(ClampAndRound(stepped))));
    if (Focused())
        SelectAll();
}

void TCustomDBNumberEditEh::PrimaryButtonDown(bool LowerHalf)
{
    if (IsSpinButtonStyle(EditButton()->Style())) {
        if (!ReadOnly())
            StepValue(!LowerHalf);
        return;
    }
    TCustomDBEditEh::PrimaryButtonDown(LowerHalf);
}

// A paste that leaves no number puts the text back as it was.
void TCustomDBNumberEditEh::PasteChecked(TMessage& Message)
{
    const String before = EditText();
    bool restore = false;
    try {
        TCustomDBEditEh::Dispatch(Message);
        long double value = 0;
        const String normal = NormalizeNumberText(EditText());
        restore = !normal.isEmpty() && !IsNumberText(normal, value);
    } catch (...) {
        restore = true;
    }
    if (!restore)
        return;
    MessageBeep(0);
    SetEditText(before);
    TakeTypedText();
    SelectAll();
    if (CanFocus())
        SetFocus();
}

// --- Calculator -----------------------------------------------------------------------------

TPopupCalculatorEh* TCustomDBNumberEditEh::ObtainCalculator()
{
    if (FCalculator == nullptr)
        FCalculator = new TPopupCalculatorEh(this);
    return FCalculator;
}

void TCustomDBNumberEditEh::OpenDropDown()
{
    if (FCalculatorOpen)
        return;
    TCustomDBEditEh::OpenDropDown();
    if (OnDropDown)
        OnDropDown(this);
    TPopupCalculatorEh* calculator = ObtainCalculator();
    IPopupCalculatorEh* popup = calculator;
    popup->SetCalcValue(VarIsNull(FValue) ? Variant(0) : FValue);
    popup->SetFlatLook(Flat());
    const TPoint at = PlaceDropDownUnderEdit(this, calculator, TDropDownAlign::daLeft);
    calculator->SetBounds(at.X, at.Y, calculator->Width(), calculator->Height());
    calculator->Show();
    FCalculatorOpen = true;
    SetDroppedDown(true);
    // The keys go to the calculator now: no caret and no selection suggest typing here.
    SetCaretHidden(true);
    SetSelLength(0);
}

void TCustomDBNumberEditEh::CloseDropDown(bool Accept)
{
    if (!FCalculatorOpen)
        return;
    if (GetCaptureControl() == FCalculator)
        ReleaseCapture();
    FCalculator->Hide();
    FCalculatorOpen = false;
    SetCaretHidden(false);
    TCustomDBEditEh::CloseDropDown(Accept);
    SetDroppedDown(false);
    if (Accept && !ReadOnly() && DataLink()->TryEdit()) {
        const Variant value = static_cast<IPopupCalculatorEh*>(FCalculator)->GetCalcValue();
        if (IsNumberVariant(value))
            PutValue(Variant(double(ClampAndRound(value.AsDouble()))));
        if (Focused())
            SelectAll();
    }
    if (OnCloseUp)
        OnCloseUp(this, Accept);
}

// Backspace, Enter and the printable keys go to the open calculator.
bool TCustomDBNumberEditEh::ForwardToCalculator(TMessage& Message)
{
    if (Message.Msg != WM_KEYDOWN && Message.Msg != WM_CHAR && Message.Msg != WM_SYSKEYDOWN)
        return false;
    const WPARAM key = Message.WParam;
    if (key != 8 && key != 13 && (key < 32 || key > 126))
        return false;
    FCalculator->Perform(Message.Msg, Message.WParam, Message.LParam);
    Message.Result = 0;
    return true;
}

void TCustomDBNumberEditEh::WndProc(TMessage& Message)
{
    if (FCalculatorOpen) {
        if (ForwardToCalculator(Message) ||
            (Message.Msg == CM_MOUSEWHEEL && RouteWheelToList(Message, FCalculator)))
            return;
        // The calculator never holds the focus: losing it means the user went elsewhere.
        if (Message.Msg == WM_KILLFOCUS)
            CloseDropDown(false);
    }
    TCustomDBEditEh::WndProc(Message);
}

void TCustomDBNumberEditEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PASTE: PasteChecked(Message); return;
    case CM_WANTSPECIALKEY:
        if (FCalculatorOpen && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
            Message.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TCustomDBEditEh::Dispatch(Message);
}
