// The calculator's engine, its control laid out as the stored form gives it, and its drop-down.
#include "editors/CalculatorEh.h"

#include "platform/core/FormatSettings.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/PopupWatch.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr Char KeyBackspace = Char(8);
constexpr Char KeyEnter = Char(13);
constexpr Char KeyEscape = Char(27);
constexpr Char KeyCopy = Char(3);
constexpr Char KeyPaste = Char(22);
constexpr int MaxDigits = 15;

// Asks the popup calculator to close unaccepted.
constexpr unsigned CM_CLOSECALCULATOREH = WM_USER + 101;

const String ErrorText = u"Error"_s;
const String OkCaption = u"Ok"_s;
const String EqualsCaptionText = u"="_s;

bool IsArithmetic(Char Op) { return Op == u'+' || Op == u'-' || Op == u'*' || Op == u'/'; }

bool IsDecimalKey(Char Key) { return Key == u'.' || Key == u',' || Key == FormatSettings().DecimalSeparator; }

struct TKeyLayout {
    const char16_t* Caption;
    Char Key;
    int Left, Top, Width, Height;
    TColor FontColor;
};

// The keys by tag - 1, as the stored form places them.
constexpr std::array<TKeyLayout, TCalculatorEh::KeyCount> KeyLayouts{{
    {u"7", u'7', 6, 29, 27, 22, clBlue},       {u"8", u'8', 35, 29, 27, 22, clBlue},
    {u"9", u'9', 64, 29, 27, 22, clBlue},      {u"/", u'/', 93, 29, 27, 22, clRed},
    {u"sqrt", u'S', 122, 29, 27, 22, clBlue},  {u"C", u'C', 151, 29, 27, 46, clRed},
    {u"4", u'4', 6, 53, 27, 22, clBlue},       {u"5", u'5', 35, 53, 27, 22, clBlue},
    {u"6", u'6', 64, 53, 27, 22, clBlue},      {u"*", u'*', 93, 53, 27, 22, clRed},
    {u"%", u'%', 122, 53, 27, 22, clBlue},     {u"Cancel", u'A', 151, 52, 27, 23, clRed},
    {u"1", u'1', 6, 77, 27, 22, clBlue},       {u"2", u'2', 35, 77, 27, 22, clBlue},
    {u"3", u'3', 64, 77, 27, 22, clBlue},      {u"-", u'-', 93, 77, 27, 22, clRed},
    {u"1/x", u'R', 122, 77, 27, 22, clBlue},   {u"<-", KeyBackspace, 151, 77, 27, 22, clRed},
    {u"0", u'0', 6, 101, 27, 22, clBlue},      {u"+/-", u'I', 35, 101, 27, 22, clBlue},
    {u".", u'.', 64, 101, 27, 22, clBlue},     {u"+", u'+', 93, 101, 27, 22, clRed},
    {u"Ok", u'=', 122, 101, 56, 22, clRed},
}};

// The Cancel key has no action and lies under the lower half of 'C': the form keeps it hidden
// so the whole of 'C' can be clicked.
constexpr int CancelTag = 12;

}  // namespace

// --- Engine ---------------------------------------------------------------------------------

TCalculatorEngineEh::TCalculatorEngineEh() { ClearAll(); }

void TCalculatorEngineEh::ClearAll()
{
    FStatus = TCalcStatusEh::csResultEh;
    FDisplay = u"0"_s;
    FPending = u'=';
    FAccumulator = 0;
}

void TCalculatorEngineEh::ShowError()
{
    FStatus = TCalcStatusEh::csErrorEh;
    FDisplay = ErrorText;
}

void TCalculatorEngineEh::ShowNumber(long double Value)
{
    if (!std::isfinite(Value)) {
        ShowError();
        return;
    }
    FDisplay = FloatToStr(Value);
}

long double TCalculatorEngineEh::DisplayedNumber() const
{
    if (FStatus == TCalcStatusEh::csErrorEh)
        return 0;
    long double value = 0;
    return TryStrToFloat(Trim(FDisplay), value) ? value : 0;
}

String TCalculatorEngineEh::EqualsCaption() const
{
    return FStatus == TCalcStatusEh::csTypingEh && IsArithmetic(FPending) ? EqualsCaptionText : OkCaption;
}

void TCalculatorEngineEh::StartNumber()
{
    if (FStatus != TCalcStatusEh::csResultEh)
        return;
    FStatus = TCalcStatusEh::csTypingEh;
    FDisplay = u"0"_s;
}

void TCalculatorEngineEh::AppendDigit(Char Digit)
{
    StartNumber();
    if (FDisplay == u"0")
        FDisplay.clear();
    const int limit = FDisplay.contains(u'-') ? MaxDigits + 1 : MaxDigits;
    if (!FDisplay.contains(u'E') && FDisplay.size() < limit)
        FDisplay += Digit;
}

void TCalculatorEngineEh::Backspace()
{
    StartNumber();
    if (FDisplay.size() == 1 || (FDisplay.size() == 2 && FDisplay.startsWith(u'-')))
        FDisplay = u"0"_s;
    else
        FDisplay.chop(1);
}

void TCalculatorEngineEh::ApplyFunction(Char Key)
{
    FStatus = TCalcStatusEh::csResultEh;
    const long double x = DisplayedNumber();
    if (Key == u'R' ? x == 0 : x < 0)
        ShowError();
    else
        ShowNumber(Key == u'R' ? 1 / x : std::sqrt(x));
}

void TCalculatorEngineEh::ApplyOperator(Char Key)
{
    if (FStatus == TCalcStatusEh::csTypingEh) {
        FStatus = TCalcStatusEh::csResultEh;
        long double x = DisplayedNumber();
        if (Key == u'%') {
            if (FPending == u'*' || FPending == u'/')
                x = x / 100;
            else if (FPending == u'+' || FPending == u'-')
                x = FAccumulator * x / 100;
        }
        switch (FPending.unicode()) {
        case u'+': ShowNumber(FAccumulator + x); break;
        case u'-': ShowNumber(FAccumulator - x); break;
        case u'*': ShowNumber(FAccumulator * x); break;
        case u'/':
            if (x == 0)
                ShowError();
            else
                ShowNumber(FAccumulator / x);
            break;
        default: ShowNumber(x); break;
        }
    }
    FPending = Key;
    FAccumulator = DisplayedNumber();
}

void TCalculatorEngineEh::Paste()
{
    if (!Clipboard()->HasFormat(CF_UNICODETEXT) && !Clipboard()->HasFormat(CF_TEXT))
        return;
    // Text that is no number leaves the display as it is.
    long double value = 0;
    if (TryStrToFloat(Trim(Clipboard()->AsText()), value))
        ShowNumber(value);
    else
        MessageBeep(0);
}

void TCalculatorEngineEh::HandleKey(Char Key)
{
    Key = Key.toUpper();
    // Only 'C' (typed, clicked or Delete) ends an error; Escape clears a display without one.
    if (Key == u'C') {
        ClearAll();
        return;
    }
    if (FStatus == TCalcStatusEh::csErrorEh)
        return;
    if (Key == KeyEscape) {
        ClearAll();
        return;
    }
    if (IsDecimalKey(Key)) {
        StartNumber();
        if (!FDisplay.contains(FormatSettings().DecimalSeparator))
            FDisplay += FormatSettings().DecimalSeparator;
    } else if (Key >= u'0' && Key <= u'9') {
        AppendDigit(Key);
    } else if (Key == KeyBackspace) {
        Backspace();
    } else if (Key == u'I') {
        ShowNumber(-DisplayedNumber());
    } else if (Key == u'R' || Key == u'S') {
        ApplyFunction(Key);
    } else if (Key == KeyCopy) {
        Clipboard()->SetAsText(FDisplay);
    } else if (Key == KeyPaste) {
        Paste();
    } else if (Key == u'+' || Key == u'-' || Key == u'*' || Key == u'/' || Key == u'%' || Key == u'=' ||
               Key == KeyEnter) {
        ApplyOperator(Key);
    }
}

void TCalculatorEngineEh::Step(int Delta)
{
    if (FStatus != TCalcStatusEh::csErrorEh)
        ShowNumber(DisplayedNumber() + Delta);
}

// --- Control --------------------------------------------------------------------------------

TCalculatorEh::TCalculatorEh(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clBtnFace);
    Font()->SetHeight(-11);
    BuildLayout();
    FitToLayout();
    ShowEngine();
}

TCalculatorEh::~TCalculatorEh() = default;

void TCalculatorEh::BuildLayout()
{
    FPanel = new TPanel(this);
    FPanel->SetBounds(6, 4, 171, 19);
    FPanel->SetBevelOuter(TPanelBevel::bvNone);
    FPanel->SetBorderWidth(2);
    FPanel->SetColor(clWindow);
    FPanel->SetParent(this);
    FTextBox = new TLabel(this);
    FTextBox->SetAutoSize(false);
    FTextBox->SetBounds(2, 1, 166, 17);
    FTextBox->SetAlignment(TAlignment::taRightJustify);
    FTextBox->SetLayout(TTextLayout::tlCenter);
    FTextBox->SetParent(FPanel);
    for (int i = 0; i < KeyCount; ++i) {
        const TKeyLayout& layout = KeyLayouts[i];
        auto* key = new TSpeedButtonEh(this);
        key->SetTag(i + 1);
        key->SetBounds(layout.Left, layout.Top, layout.Width, layout.Height);
        key->SetCaption(String::fromUtf16(layout.Caption));
        key->Font()->SetColor(layout.FontColor);
        key->SetFlat(FFlatLook);
        key->SetLayout(TButtonLayout::blGlyphRight);
        key->SetStyle(TEditButtonStyleEh::ebsGlyphEh);
        key->SetActive(true);
        key->SetVisible(i + 1 != CancelTag);
        key->OnClick = [this](TObject* Sender) { SpeedButtonClick(Sender); };
        key->SetParent(this);
        FKeys[i] = key;
    }
}

void TCalculatorEh::FitToLayout()
{
    SetBounds(Left(), Top(), StoredClientWidth + FrameHeight(), StoredClientHeight + FrameHeight());
}

int TCalculatorEh::FrameHeight() const { return BorderStyle() == TBorderStyle::bsSingle ? 2 : 0; }

void TCalculatorEh::ShowEngine()
{
    FTextBox->SetCaption(FEngine.Display());
    spEqual()->SetCaption(FEngine.EqualsCaption());
}

void TCalculatorEh::SpeedButtonClick(TObject* Sender)
{
    const auto* key = dynamic_cast<TSpeedButtonEh*>(Sender);
    if (key != nullptr && key->Tag() >= 1 && key->Tag() <= KeyCount)
        HandleCalcKey(KeyLayouts[key->Tag() - 1].Key);
}

void TCalculatorEh::HandleCalcKey(Char Key)
{
    FEngine.HandleKey(Key);
    ShowEngine();
}

void TCalculatorEh::ShowNumber(long double Value)
{
    FEngine.ShowNumber(Value);
    ShowEngine();
}

void TCalculatorEh::ClearAll()
{
    FEngine.ClearAll();
    ShowEngine();
}

Variant TCalculatorEh::GetCalcValue() const
{
    if (FEngine.Status() == TCalcStatusEh::csErrorEh)
        return Variant::Null();
    return Variant(double(FEngine.DisplayedNumber()));
}

void TCalculatorEh::SetCalcValue(const Variant& Value)
{
    FEngine.ClearAll();
    FEngine.ShowNumber(VarIsNull(Value) || VarIsEmpty(Value) ? 0 : Value.AsDouble());
    ShowEngine();
}

void TCalculatorEh::SetFlatLook(bool Value)
{
    if (FFlatLook == Value)
        return;
    FFlatLook = Value;
    for (TSpeedButtonEh* key : FKeys)
        key->SetFlat(Value);
}

void TCalculatorEh::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_DELETE)
        HandleCalcKey(u'C');
}

void TCalculatorEh::KeyPress(Char& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key != Char())
        HandleCalcKey(Key);
}

bool TCalculatorEh::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    FEngine.Step(WheelDelta > 0 ? 1 : -1);
    ShowEngine();
    return true;
}

void TCalculatorEh::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        TCustomControl::Dispatch(Message);
        Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
        return;
    }
    TCustomControl::Dispatch(Message);
}

// --- Popup ----------------------------------------------------------------------------------

TPopupCalculatorEh::TPopupCalculatorEh(TComponent* AOwner)
    : TCalculatorEh(AOwner), FCloseWatch(std::make_unique<TPopupCloseWatch>(*this))
{
    FCloseWatch->OnOutsidePress = [this] { CloseUp(false); };
    FCloseWatch->OnFocusOutside = [this] { PostMessage(this, CM_CLOSECALCULATOREH); };
    SetVisible(false);
    SetControlStyle(ControlStyle() | csNeedsBorderPaint);
    SetCtl3D(true);
    SetTabStop(false);
    Panel1()->SetControlStyle(Panel1()->ControlStyle() - csParentBackground);
    FitToLayout();
}

TPopupCalculatorEh::~TPopupCalculatorEh() { FCloseWatch->Stop(); }

void TPopupCalculatorEh::CreateParams(TCreateParams& Params)
{
    TCalculatorEh::CreateParams(Params);
    MakeDropDownWindowParams(Params, Ctl3D());
}

void TPopupCalculatorEh::DrawPopupFrame(TCanvas* Canvas, TRect Rect) { DrawRaisedPopupBorder(Canvas, Rect); }

bool TPopupCalculatorEh::EnterAcceptsValue() const { return spEqual()->Caption() == OkCaption; }

void TPopupCalculatorEh::CloseUp(bool Accept)
{
    if (auto* owner = dynamic_cast<IPopupOwnerEh*>(Owner()))
        owner->CloseUp(Accept);
}

void TPopupCalculatorEh::HandleCalcKey(Char Key)
{
    if ((Key == KeyEnter || Key == u'=') && EnterAcceptsValue())
        CloseUp(true);
    else
        TCalculatorEh::HandleCalcKey(Key);
}

void TPopupCalculatorEh::KeyDown(WORD& Key, TShiftState Shift)
{
    if (Key == VK_ESCAPE) {
        Key = 0;
        CloseUp(false);
        return;
    }
    TCalculatorEh::KeyDown(Key, Shift);
}

void TPopupCalculatorEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCCALCSIZE:
        reinterpret_cast<TRect*>(Message.LParam)->Inflate(-BorderWidth(), -BorderWidth());
        return;
    case WM_NCPAINT:
        PaintPopupFrame(reinterpret_cast<HDC>(Message.WParam), this,
                        [this](TCanvas* Canvas, TRect Rect) { DrawPopupFrame(Canvas, Rect); });
        return;
    case CM_WANTSPECIALKEY:
        // Enter and Escape come as keys: Enter still computes while "=" shows.
        if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) {
            Message.Result = 1;
            return;
        }
        break;
    case CM_CTL3DCHANGED:
        TCalculatorEh::Dispatch(Message);
        if (HandleAllocated())
            RecreateWnd();
        FitToLayout();
        return;
    case CM_SHOWINGCHANGED:
        TCalculatorEh::Dispatch(Message);
        if (Showing())
            FCloseWatch->Start(dynamic_cast<TWinControl*>(Owner()));
        else
            FCloseWatch->Stop();
        return;
    case CM_CLOSECALCULATOREH:
        if (Showing())
            CloseUp(false);
        return;
    default: break;
    }
    TCalculatorEh::Dispatch(Message);
}
