// TControl: geometry, appearance properties and the default handling of the messages every
// control understands.
#include "platform/ui/Controls.h"

#include "platform/ui/ActnList.h"

#include "platform/ui/Forms.h"

#include <QWidget>

#include <algorithm>
#include <cstdlib>

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>())
{
    FFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
}

TControl::~TControl()
{
    if (GetCaptureControl() == this)
        SetCaptureControl(nullptr);
    if (FParent != nullptr)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    if (AParent == this)
        throw EInvalidOperation(QStringLiteral("控件不能以自身为父控件"));
    if (FParent != nullptr)
        FParent->RemoveControl(this);
    if (AParent != nullptr)
        AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    if (FParent != nullptr && Showing()) {
        const TRect old = BoundsRect();
        FParent->InvalidateRect(&old);
    }
    const bool sized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FParent != nullptr && Showing())
        Invalidate();
    if (sized)
        Perform(WM_SIZE, 0, MAKELPARAM(AWidth, AHeight));
    RequestAlign();
}

TRect TControl::BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }

void TControl::SetBoundsRect(const TRect& Rect) { SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height()); }

TRect TControl::ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

int TControl::ClientWidth() const { return ClientRect().Width(); }

int TControl::ClientHeight() const { return ClientRect().Height(); }

void TControl::SetClientWidth(int Value) { SetWidth(FWidth + Value - ClientWidth()); }

void TControl::SetClientHeight(int Value) { SetHeight(FHeight + Value - ClientHeight()); }

TPoint TControl::ClientOrigin() const
{
    if (FParent == nullptr)
        return Point(FLeft, FTop);
    const TPoint origin = FParent->ClientOrigin();
    return Point(origin.X + FLeft, origin.Y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& P) const
{
    const TPoint origin = ClientOrigin();
    return Point(P.X + origin.X, P.Y + origin.Y);
}

TPoint TControl::ScreenToClient(const TPoint& P) const
{
    const TPoint origin = ClientOrigin();
    return Point(P.X - origin.X, P.Y - origin.Y);
}

void TControl::SetAlign(TAlign Value)
{
    if (Value == FAlign)
        return;
    FAlign = Value;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent != nullptr && (FAlign != TAlign::alNone || FParent->FAlignLevel == 0))
        FParent->Realign();
}

void TControl::SetAlignedBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    // Aligning moves the control without asking its parent to align again.
    ++FParent->FAlignLevel;
    SetBounds(ALeft, ATop, std::max(AWidth, 0), std::max(AHeight, 0));
    --FParent->FAlignLevel;
}

void TControl::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    RequestAlign();
}

void TControl::Show()
{
    SetVisible(true);
    if (FParent != nullptr)
        BringToFront();
}

bool TControl::Showing() const { return FVisible && FParent != nullptr && FParent->Showing(); }

void TControl::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor Value)
{
    FParentColor = false;
    if (Value == FColor)
        return;
    FColor = Value;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value)
{
    if (Value == FParentColor)
        return;
    FParentColor = Value;
    if (Value && FParent != nullptr)
        HandleParentColorChanged();
}

void TControl::SetFont(TFont* Value) { FFont->Assign(Value); }

void TControl::SetParentFont(bool Value)
{
    if (Value == FParentFont)
        return;
    FParentFont = Value;
    if (Value && FParent != nullptr)
        HandleParentFontChanged();
}

void TControl::FontChanged(TObject*)
{
    if (!FApplyingParentFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::HandleParentFontChanged()
{
    if (!FParentFont || FParent == nullptr)
        return;
    FApplyingParentFont = true;
    FFont->Assign(FParent->Font());
    FApplyingParentFont = false;
}

void TControl::HandleParentColorChanged()
{
    if (!FParentColor || FParent == nullptr)
        return;
    SetColor(FParent->Color());
    FParentColor = true;
}

void TControl::SetCursor(TCursor Value)
{
    if (Value == FCursor)
        return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool Value)
{
    FParentShowHint = false;
    if (Value == FShowHint)
        return;
    FShowHint = Value;
    // Children that follow their parent's ShowHint follow this one.
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value)
{
    FParentShowHint = Value;
    if (Value)
        Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenuComponent(TPopupMenu* Menu, TComponent* AsComponent)
{
    if (FPopupMenuComponent != nullptr)
        FPopupMenuComponent->RemoveFreeNotification(this);
    FPopupMenu = Menu;
    FPopupMenuComponent = AsComponent;
    if (AsComponent != nullptr)
        AsComponent->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent != nullptr && AComponent == FPopupMenuComponent) {
        FPopupMenu = nullptr;
        FPopupMenuComponent = nullptr;
    }
}

String TControl::Text() const
{
    String text;
    const_cast<TControl*>(this)->Perform(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(&text));
    return text;
}

void TControl::SetText(const String& Value)
{
    if (Value == Text())
        return;
    String copy = Value;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(&copy));
    Perform(CM_TEXTCHANGED);
}

void TControl::Invalidate()
{
    if (FParent != nullptr && Showing()) {
        const TRect bounds = BoundsRect();
        FParent->InvalidateRect(&bounds);
    }
}

void TControl::Update()
{
    if (FParent != nullptr)
        FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::BringToFront()
{
    if (FParent == nullptr)
        return;
    auto& siblings = FParent->FControls;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    siblings.push_back(this);
    if (auto* window = dynamic_cast<TWinControl*>(this); window != nullptr && window->HandleAllocated())
        window->Handle()->raise();
    Invalidate();
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value)
{
    if (Value == MouseCapture())
        return;
    SetCaptureControl(Value ? this : nullptr);
}

LRESULT TControl::Perform(unsigned Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage message{Msg, WParam, LParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& Message)
{
    // A control without double clicks sees the second click as another press.
    if (!FControlStyle.Contains(csDoubleClicks)) {
        switch (Message.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN; break;
        default: break;
        }
    }
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: HandleMouseButton(Message, TMouseButton::mbLeft); return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: HandleMouseButton(Message, TMouseButton::mbRight); return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: HandleMouseButton(Message, TMouseButton::mbMiddle); return;
    case WM_LBUTTONUP: HandleMouseButtonUp(Message, TMouseButton::mbLeft); return;
    case WM_RBUTTONUP: HandleMouseButtonUp(Message, TMouseButton::mbRight); return;
    case WM_MBUTTONUP: HandleMouseButtonUp(Message, TMouseButton::mbMiddle); return;
    case WM_MOUSEMOVE:
        DefaultHandler(Message);
        MouseMove(KeysToShiftState(static_cast<unsigned>(Message.WParam)), GET_X_LPARAM(Message.LParam),
                  GET_Y_LPARAM(Message.LParam));
        return;
    case CM_MOUSEWHEEL: HandleMouseWheel(Message); return;
    case WM_SIZE:
        DefaultHandler(Message);
        Resize();
        return;
    case WM_GETTEXT: *reinterpret_cast<String*>(Message.LParam) = FText; return;
    case WM_SETTEXT: FText = *reinterpret_cast<const String*>(Message.LParam); return;
    case WM_CONTEXTMENU:
        if (FPopupMenu != nullptr && PopupMenuHandler) {
            PopupMenuHandler(FPopupMenu, this, Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
            Message.Result = 1;
            return;
        }
        DefaultHandler(Message);
        return;
    case CM_PARENTFONTCHANGED: HandleParentFontChanged(); return;
    case CM_PARENTCOLORCHANGED: HandleParentColorChanged(); return;
    case CM_PARENTSHOWHINTCHANGED:
        if (FParentShowHint && FParent != nullptr && FShowHint != FParent->ShowHint()) {
            FShowHint = FParent->ShowHint();
            Perform(CM_SHOWHINTCHANGED);
        }
        return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED: Invalidate(); return;
    case CM_VISIBLECHANGED:
        if (FParent != nullptr) {
            const TRect bounds = BoundsRect();
            FParent->InvalidateRect(&bounds);
        }
        return;
    default: DefaultHandler(Message); return;
    }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::HandleMouseButton(TMessage& Message, TMouseButton Button)
{
    const bool doubleClick = Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_RBUTTONDBLCLK ||
                             Message.Msg == WM_MBUTTONDBLCLK;
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (Button == TMouseButton::mbLeft && FControlStyle.Contains(csClickEvents)) {
        if (doubleClick)
            DblClick();
        else
            FControlState.Include(csClicked);
    }
    TShiftState shift = KeysToShiftState(static_cast<unsigned>(Message.WParam));
    if (doubleClick)
        shift.Include(ssDouble);
    MouseDown(Button, shift, GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
}

void TControl::HandleMouseButtonUp(TMessage& Message, TMouseButton Button)
{
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    const TPoint at = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    if (Button == TMouseButton::mbLeft && FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        if (PtInRect(ClientRect(), at))
            Click();
    }
    MouseUp(Button, KeysToShiftState(static_cast<unsigned>(Message.WParam)), at.X, at.Y);
}

void TControl::HandleMouseWheel(TMessage& Message)
{
    const TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
    const TPoint at = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    if (DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(Message.WParam), at)) {
        Message.Result = 1;
        return;
    }
    // Not taken here: the parent may take it.
    if (FParent != nullptr)
        Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled)
        return true;
    FWheelAccumulator += WheelDelta;
    while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
        const bool down = FWheelAccumulator < 0;
        FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
        handled = down ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (FParent != nullptr) {
        HandleParentFontChanged();
        HandleParentColorChanged();
    }
}

bool TControl::ExecuteAction(TBasicAction* Action)
{
    if (!Action->HandlesTarget(this))
        return false;
    Action->ExecuteTarget(this);
    return true;
}

bool TControl::UpdateAction(TBasicAction* Action)
{
    if (!Action->HandlesTarget(this))
        return false;
    Action->UpdateTarget(this);
    return true;
}
