// TEditButtonControlEh: the window of one edit button: its face, the pressed half of a spin
// pair, the swallowed click when the press leaves its half, and auto-repeat; and the strip of
// such windows with their separators along an edit's right edge.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/Canvas.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Shape.h"
#include "platform/ui/Themes.h"
#include "platform/ui/Timer.h"

#include <cmath>

TEditButtonControlEh::TEditButtonControlEh(TComponent* AOwner) : TSpeedButton(AOwner) {}

TEditButtonControlEh::~TEditButtonControlEh() = default;

void TEditButtonControlEh::SetStyle(TEditButtonStyleEh Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Invalidate();
}

void TEditButtonControlEh::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    Invalidate();
}

void TEditButtonControlEh::SetAlwaysDown(bool Value)
{
    if (Value == FAlwaysDown)
        return;
    FAlwaysDown = Value;
    if (Value) {
        SetGroupIndex(1);
        SetDown(true);
        SetAllowAllUp(false);
        FPressedPart = bppUpperEh;
    } else {
        SetAllowAllUp(true);
        SetDown(false);
        SetGroupIndex(0);
        FPressedPart = bppNoneEh;
    }
    Invalidate();
}

void TEditButtonControlEh::Click()
{
    if (!FClickSuppressed)
        TSpeedButton::Click();
}

void TEditButtonControlEh::FireDown(bool TopButton, bool& AutoRepeat)
{
    bool Handled = false;
    if (OnDown)
        OnDown(this, TopButton, AutoRepeat, Handled);
}

void TEditButtonControlEh::TrackPressedPart(int X, int Y)
{
    int Part = bppNoneEh;
    if (FState == TButtonState::bsDown || FState == TButtonState::bsExclusive) {
        if (IsSpinButtonStyle(FStyle)) {
            const int Half = Height() / 2;
            if (Y < Half)
                Part = bppUpperEh;
            else if (Y > Height() - Half)
                Part = bppLowerEh;
        } else {
            Part = bppUpperEh;
        }
    }
    if (Part == FPressedPart)
        return;
    FPressedPart = Part;
    Invalidate();
}

TTimer* TEditButtonControlEh::ObtainRepeatTimer()
{
    if (FRepeatTimer == nullptr) {
        FRepeatTimer = new TTimer(this);
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->OnTimer = [this](TObject*) { RepeatTimerTick(); };
    }
    return FRepeatTimer;
}

void TEditButtonControlEh::RestartRepeatTimer(unsigned Interval)
{
    TTimer* Timer = ObtainRepeatTimer();
    if (Timer->Enabled() && Timer->Interval() == Interval)
        return;
    Timer->SetEnabled(false);
    Timer->SetInterval(Interval);
    Timer->SetEnabled(true);
}

void TEditButtonControlEh::StopRepeat()
{
    if (FRepeatTimer != nullptr)
        FRepeatTimer->SetEnabled(false);
}

void TEditButtonControlEh::RepeatTimerTick()
{
    // A release the button never saw (a window opened from OnDown took the mouse) ends it too.
    if (!MouseCapture()) {
        StopRepeat();
        return;
    }
    if (FState != TButtonState::bsDown)
        return;
    if (FRepeatTimer->Interval() == FirstRepeatDelay)
        RestartRepeatTimer(RepeatInterval);
    bool AutoRepeat = IsSpinButtonStyle(FStyle);
    FireDown(FPressedPart == bppUpperEh, AutoRepeat);
    if (!AutoRepeat)
        StopRepeat();
}

void TEditButtonControlEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    bool AutoRepeat = IsSpinButtonStyle(FStyle);
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft)
        return;
    TrackPressedPart(X, Y);
    // A press on the middle row of a spin pair presses nothing, so it does not repeat either.
    if (FPressedPart == bppNoneEh)
        return;
    FireDown(FPressedPart == bppUpperEh, AutoRepeat);
    if (AutoRepeat)
        RestartRepeatTimer(FirstRepeatDelay);
}

void TEditButtonControlEh::MouseMove(TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseMove(Shift, X, Y);
    if (!MouseCapture() || !IsSpinButtonStyle(FStyle) || FState != TButtonState::bsDown)
        return;
    // Moving onto the other half releases the button.
    const int Half = Height() / 2;
    if ((FPressedPart == bppLowerEh && Y < Half) || (FPressedPart == bppUpperEh && Y > Height() - Half)) {
        FState = TButtonState::bsUp;
        Invalidate();
    }
}

void TEditButtonControlEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FClickSuppressed = IsSpinButtonStyle(FStyle) && FState != TButtonState::bsDown;
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    FClickSuppressed = false;
    TrackPressedPart(X, Y);
    StopRepeat();
}

void TEditButtonControlEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CANCELMODE:
    case CM_CANCELMODE:
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
        StopRepeat();
        break;
    default:
        break;
    }
    TSpeedButton::Dispatch(Message);
}

bool TEditButtonControlEh::HotLook() const { return ThemesActive() ? MouseInControl() : FActive; }

bool TEditButtonControlEh::FlatHot() const
{
    if (FStyle == TEditButtonStyleEh::ebsGlyphEh && ThemesActive() && !Glyph()->Empty())
        return true;
    return TSpeedButton::FlatHot();
}

void TEditButtonControlEh::Paint()
{
    if (FStyle == TEditButtonStyleEh::ebsGlyphEh) {
        PaintGlyphButton();
        return;
    }
    const bool Down = FState == TButtonState::bsDown || FState == TButtonState::bsExclusive;
    const TColor FrameColor = Parent() != nullptr ? Parent()->Color() : clBtnFace;
    PaintButtonFace(Canvas(), ClientRect(), FrameColor, TCheckBoxState::cbUnchecked, Enabled(), HotLook(), Flat(),
                    Down ? FPressedPart : bppNoneEh, EditButtonDrawStyle(FStyle));
}

void TEditButtonControlEh::PaintGlyphButton()
{
    TCanvas* Canvas = this->Canvas();
    const bool ClassicFlat = Flat() && !ThemesActive();
    if (ClassicFlat) {
        TRect Inside = ClientRect();
        Inside.Inflate(-1, -1);
        Canvas->SaveDC();
        Canvas->IntersectClipRect(Inside);
    }
    if (Flat() && ThemesActive() && !HotLook() && Enabled() && !Down() && Glyph()->Empty())
        PaintThemedCaptionButton();
    else
        TSpeedButton::Paint();
    if (!ClassicFlat)
        return;
    Canvas->RestoreDC(-1);
    TRect Bounds = ClientRect();
    if (FActive) {
        const bool Pressed = FState == TButtonState::bsDown || FState == TButtonState::bsExclusive;
        Canvas->DrawEdge(Bounds, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    } else {
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(Parent() != nullptr ? Parent()->Color() : clBtnFace);
        Canvas->FrameRect(Bounds);
    }
}

// A flat themed caption at rest: the parent's background under a group-box frame, the caption
// centred.
void TEditButtonControlEh::PaintThemedCaptionButton()
{
    TCanvas* Canvas = this->Canvas();
    const TRect Client = ClientRect();
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Parent() != nullptr ? Parent()->Color() : clBtnFace);
    Canvas->FillRect(Client);
    ThemeServices().DrawElement(Canvas, ThemeServices().GetElementDetails(TThemedButton::tbGroupBoxNormal), Client);

    Canvas->Font()->Assign(Font());
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    const String Text = Caption();
    TRect Measured = Client;
    Canvas->DrawText(Text, Measured, DT_CALCRECT);
    TRect Shown = Client;
    Shown.Top = (Client.Top + Client.Bottom - Measured.Height() + 1) / 2;
    Canvas->DrawText(Text, Shown, DT_CENTER | DT_VCENTER);
}
void TEditButtonControlEh::DropDownMenu(TPopupMenu* Menu)
{
    // Under the button, a right-aligned menu ending where the button ends.
    const TPoint at = ClientToScreen(Point(Menu->Alignment() == TPopupAlignment::paRight ? Width() : 0, Height()));
    Menu->Popup(at.X, at.Y);
    // The release then lands outside the button, so it clicks nothing.
    Perform(WM_LBUTTONUP, 0, MAKELPARAM(0xFFFF, 0xFFFF));
}

// --- The strip ------------------------------------------------------------------------------

TEditButtonControlEh* TEditButtonStripEh::Control(int Index) const
{
    return Index >= 0 && Index < static_cast<int>(Entries.size()) ? Entries[static_cast<std::size_t>(Index)].Control
                                                                  : nullptr;
}

TShape* TEditButtonStripEh::Separator(int Index) const
{
    return Index >= 0 && Index < static_cast<int>(Entries.size()) ? Entries[static_cast<std::size_t>(Index)].Separator
                                                                  : nullptr;
}

int TEditButtonStripEh::IndexOf(const TObject* Sender) const
{
    for (std::size_t i = 0; i < Entries.size(); ++i)
        if (Entries[i].Control == Sender)
            return static_cast<int>(i);
    return -1;
}

void TEditButtonStripEh::Grow(std::size_t Count, TWinControl* Parent,
                              const std::function<TEditButtonControlEh*()>& MakeControl)
{
    while (Entries.size() < Count) {
        TEditButtonEntryEh entry;
        entry.Control = MakeControl();
        entry.Separator = new TShape(Parent);
        entry.Separator->SetParent(Parent);
        Entries.push_back(entry);
    }
}

int TEditButtonStripEh::Place(int Right, const std::vector<int>& Widths, int Height) const
{
    int x = Right;
    for (std::size_t i = Widths.size(); i-- > 0;) {
        x -= Widths[i];
        Entries[i].Control->SetBounds(x, 0, Widths[i], Height);
        TShape* separator = Entries[i].Separator;
        const int separatorWidth = separator->Visible() ? 1 : 0;
        x -= separatorWidth;
        separator->SetBounds(x, 0, separatorWidth, Height);
    }
    return x;
}

int EditButtonHeightInStrip(int StripHeight, int Width, bool Flat)
{
    // round(width x 3 / 2), half to even, is the flat button's own height for the width.
    return StripHeight > EditButtonHeightForWidth(Width, true) ? EditButtonHeightForWidth(Width, Flat) : StripHeight;
}
