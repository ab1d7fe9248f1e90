// TWinControl: the window, its children, focus, keys and the layout of the client area.
//
// Sections:
//   the window           handle creation and destruction, create params, font, bounds, showing
//   children             inserting, removing and finding child controls
//   focus and tab order
//   client area          border, client rect, invalidation, bounds, scrolling, scroll bars
//   timers, caret and translucency
//   alignment            aligned and anchored children
//   messages             routing of mouse messages, WndProc, the message dispatch
//   keys and focus events
//   painting             the window, then its windowless children
#include "platform/ui/Controls.h"

#include "platform/ui/Forms.h"
#include "platform/ui/QtConvert.h"
#include "platform/ui/WindowHost.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cstdint>

// ---- the window

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    Destroying();
    // Leaves the parent while still a windowed control: ~TControl sees only a TControl and could
    // not take it out of the parent's tab order, where a dialog key would find it freed.
    if (FParent != nullptr)
        FParent->RemoveControl(this);
    DestroyHandle();
    // A control frees the controls it parents.
    while (!FControls.empty()) {
        TControl* child = FControls.back();
        RemoveControl(child);
        delete child;
    }
}

HWND TWinControl::Handle()
{
    if (!FHost)
        CreateHandle();
    return FHost->Widget();
}

void TWinControl::CreateHandle()
{
    if (FHost)
        return;
    if (FParent != nullptr) {
        FParent->HandleNeeded();
        // A parent made now makes its children's windows, this one's among them.
        if (FHost)
            return;
    }
    FControlState.Include(csCreating);
    CreateWnd();
    FControlState.Exclude(csCreating);
    for (TControl* child : FControls)
        if (auto* window = dynamic_cast<TWinControl*>(child))
            window->CreateHandle();
    FHost->Widget()->setVisible(FShowing);
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    QWidget* widget = CreateWindowHandle(params);
    FHost = std::make_unique<TWindowHost>(*this, widget, params);
    widget->setEnabled(FEnabled);
    ApplyFontAndColor();
    ApplyBoundsToHandle();
    FHost->UpdateLayout();
}

void TWinControl::DestroyWnd()
{
    FHost.reset();
}

void TWinControl::DestroyHandle()
{
    if (!FHost)
        return;
    FControlState.Include(csDestroyingHandle);
    for (TControl* child : FControls)
        if (auto* window = dynamic_cast<TWinControl*>(child))
            window->DestroyHandle();
    DestroyWnd();
    FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::RecreateWnd()
{
    if (!FHost)
        return;
    DestroyHandle();
    CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = FText;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WndParent = FParent;
    Params.WindowClassStyle = CS_DBLCLKS;
    if (FParent != nullptr)
        Params.Style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
    if (!FEnabled)
        Params.Style |= WS_DISABLED;
    if (FBorderStyle == TBorderStyle::bsSingle) {
        if (FCtl3D)
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
}

QWidget* TWinControl::CreateWindowHandle(const TCreateParams& Params)
{
    QWidget* owner = Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr;
    if (Params.Style & WS_POPUP) {
        // A popup never takes the focus or activation from the window that shows it.
        Qt::WindowFlags flags = Qt::ToolTip | Qt::FramelessWindowHint;
        if (Params.ExStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
        auto* widget = new QWidget(owner, flags);
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
        widget->setAttribute(Qt::WA_X11DoNotAcceptFocus);
        return widget;
    }
    if (Params.Style & WS_CHILD)
        return new QWidget(owner);
    return new QWidget(nullptr, Qt::Window);
}

void TWinControl::ApplyFontAndColor()
{
    // The font reaches the window and, through Qt's propagation, the parts it is built of (a page
    // control's tabs). A wrapped Qt control also shows its text in the font's colour; a window
    // painted here takes both from its canvas.
    QWidget* widget = FHost->Widget();
    widget->setFont(FFont->Handle());
    if (FHost->SelfPainted())
        return;
    QPalette palette = widget->palette();
    const QColor text = ToQColor(FFont->Color());
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    // Color fills the field of an edit-like control; button faces and the backgrounds of static
    // controls stay the style's, as themed controls keep theirs on the platform.
    if (widget->backgroundRole() == QPalette::Base)
        palette.setColor(QPalette::Base, ToQColor(FColor));
    widget->setPalette(palette);
}

void TWinControl::ApplyBoundsToHandle()
{
    QWidget* widget = FHost->Widget();
    std::int64_t left = FLeft;
    std::int64_t top = FTop;
    if (!widget->isWindow() && FParent != nullptr && FParent->FHost) {
        const TRect parentClient = FParent->FHost->ClientArea();
        left += parentClient.Left;
        top += parentClient.Top;
    }
    // Qt computes a window's far edges in int and holds no size beyond QWIDGETSIZE_MAX; past
    // that its arithmetic overflows. The window gets the nearest bounds it can hold.
    const auto held = [](std::int64_t Value) {
        return static_cast<int>(std::clamp<std::int64_t>(Value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    };
    // Minimum and maximum at the size tell the window manager the user cannot resize it.
    if (widget->isWindow() && !(FHost->Style() & WS_THICKFRAME))
        widget->setFixedSize(held(FWidth), held(FHeight));
    widget->setGeometry(held(left), held(top), held(FWidth), held(FHeight));
}

void TWinControl::UpdateShowing()
{
    const bool showing = FVisible && (FParent == nullptr || FParent->FShowing);
    if (showing == FShowing)
        return;
    if (showing)
        HandleNeeded();
    FShowing = showing;
    if (FHost)
        FHost->Widget()->setVisible(showing);
    Perform(CM_SHOWINGCHANGED);
    for (TControl* child : FControls)
        if (auto* window = dynamic_cast<TWinControl*>(child))
            window->UpdateShowing();
}

// ---- children

void TWinControl::InsertControl(TControl* AControl)
{
    AControl->FParent = this;
    FControls.push_back(AControl);
    if (auto* window = dynamic_cast<TWinControl*>(AControl)) {
        FTabList.push_back(window);
        if (FHost)
            window->CreateHandle();
        window->UpdateShowing();
    }
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    if (AControl->FAlign != TAlign::alNone)
        Realign();
    AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl)
{
    if (GetCaptureControl() == AControl)
        SetCaptureControl(nullptr);
    AControl->Invalidate();
    if (auto* window = dynamic_cast<TWinControl*>(AControl)) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(window, true);
        window->DestroyHandle();
        window->FShowing = false;
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), window), FTabList.end());
    }
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    AControl->FParent = nullptr;
    if (AControl->FAlign != TAlign::alNone && !ComponentState().Contains(TComponentStateFlag::csDestroying))
        Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const
{
    while (Control != nullptr && Control != this)
        Control = Control->Parent();
    return Control == this;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) const
{
    for (auto child = FControls.rbegin(); child != FControls.rend(); ++child) {
        TControl* control = *child;
        if (!AllowWinControls && dynamic_cast<TWinControl*>(control) != nullptr)
            continue;
        if (control->Visible() && (AllowDisabled || control->Enabled()) && PtInRect(control->BoundsRect(), Pos))
            return control;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message)
{
    for (TControl* child : std::vector<TControl*>(FControls)) {
        child->WndProc(Message);
        if (Message.Result != 0)
            return;
    }
}

// ---- focus and tab order

void TWinControl::SetTabStop(bool Value)
{
    if (Value == FTabStop)
        return;
    FTabStop = Value;
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const
{
    if (FParent == nullptr)
        return -1;
    const auto& list = FParent->FTabList;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    if (FParent == nullptr)
        return;
    auto& list = FParent->FTabList;
    list.erase(std::find(list.begin(), list.end(), this));
    const auto index = static_cast<std::size_t>(std::clamp(Value, 0, static_cast<int>(list.size())));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const
{
    for (TWinControl* child : FTabList) {
        List.push_back(child);
        child->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const auto count = list.size();
    auto found = std::find(list.begin(), list.end(), CurControl);
    std::size_t start = found != list.end() ? static_cast<std::size_t>(found - list.begin()) : (GoForward ? count - 1 : 0);
    std::size_t i = start;
    do {
        i = GoForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* candidate = list[i];
        if (candidate != CurControl && candidate->CanFocus() && (!CheckTabStop || candidate->TabStop()) &&
            (!CheckParent || candidate->Parent() == this))
            return candidate;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop)
{
    if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
        next->SetFocus();
}

bool TWinControl::CanFocus() const
{
    const TCustomForm* form = GetParentForm(this);
    const TControl* control = this;
    for (; control != nullptr && control != form; control = control->Parent())
        if (!control->Visible() || !control->Enabled())
            return false;
    return form == nullptr || (form->Visible() && form->Enabled());
}

bool TWinControl::Focused() const { return FHost && FHost->Widget()->hasFocus(); }

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm(this)) {
        form->FocusControl(this);
        return;
    }
    Handle()->setFocus(Qt::OtherFocusReason);
}

// ---- client area

void TWinControl::SetBorderStyle(TBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TWinControl::SetCtl3D(bool Value)
{
    if (Value == FCtl3D)
        return;
    FCtl3D = Value;
    Perform(CM_CTL3DCHANGED);
    RecreateWnd();
}

TRect TWinControl::ClientRect() const
{
    if (!FHost)
        return TControl::ClientRect();
    const TRect area = FHost->ClientArea();
    return Rect(0, 0, area.Width(), area.Height());
}

TPoint TWinControl::ClientOrigin() const
{
    if (!FHost)
        return TControl::ClientOrigin();
    const TRect area = FHost->ClientArea();
    return FromQPoint(FHost->Widget()->mapToGlobal(QPoint(area.Left, area.Top)));
}

void TWinControl::Invalidate()
{
    if (FHost)
        FHost->Widget()->update();
}

void TWinControl::InvalidateRect(const TRect* Rect)
{
    if (!FHost)
        return;
    if (Rect == nullptr) {
        FHost->Widget()->update(ToQRect(FHost->ClientArea()));
        return;
    }
    TRect area = *Rect;
    area.Offset(FHost->ClientArea().Left, FHost->ClientArea().Top);
    FHost->Widget()->update(ToQRect(area));
}

void TWinControl::Update()
{
    // Paints what is marked for painting in the window now, as the platform's UpdateWindow does.
    if (FHost)
        QCoreApplication::sendPostedEvents(FHost->Widget()->window(), QEvent::UpdateRequest);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    const bool sized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FHost) {
        ApplyBoundsToHandle();
        if (sized)
            FHost->UpdateLayout();
    }
    if (sized)
        HandleSize();
    RequestAlign();
}

void TWinControl::HandleSize()
{
    const TRect client = ClientRect();
    Perform(WM_SIZE, 0, MAKELPARAM(client.Width(), client.Height()));
}

void TWinControl::ScrollBy(int DeltaX, int DeltaY)
{
    ScrollWindowEx(DeltaX, DeltaY, nullptr, nullptr, SW_INVALIDATE | SW_SCROLLCHILDREN);
}

void TWinControl::ScrollWindowEx(int DX, int DY, const TRect* Scroll, const TRect* Clip, unsigned Flags)
{
    const TRect client = ClientRect();
    TRect area = Scroll != nullptr ? Scroll->Intersected(client) : client;
    if (Clip != nullptr)
        area = area.Intersected(*Clip);
    if (Flags & SW_SCROLLCHILDREN) {
        for (TControl* child : FControls)
            if (Scroll == nullptr || !child->BoundsRect().Intersected(*Scroll).IsEmpty())
                child->SetBounds(child->Left() + DX, child->Top() + DY, child->Width(), child->Height());
    }
    if (!FHost || area.IsEmpty())
        return;
    area.Offset(FHost->ClientArea().Left, FHost->ClientArea().Top);
    FHost->Widget()->scroll(DX, DY, ToQRect(area));
}

int TWinControl::SetScrollInfo(int Bar, const TScrollInfo& Info, bool)
{
    return Handle() != nullptr ? FHost->ScrollBar(Bar).SetInfo(Info) : 0;
}

bool TWinControl::GetScrollInfo(int Bar, TScrollInfo& Info) const
{
    const TWindowScrollBar* bar = FHost ? FHost->FindScrollBar(Bar) : nullptr;
    if (bar == nullptr)
        return false;
    bar->GetInfo(Info);
    return true;
}

bool TWinControl::ScrollBarShown(int Bar) const
{
    const TWindowScrollBar* bar = FHost ? FHost->FindScrollBar(Bar) : nullptr;
    return bar != nullptr && bar->Shown();
}

void TWinControl::ShowScrollBar(int Bar, bool Show)
{
    HandleNeeded();
    if (Bar == SB_BOTH || Bar == SB_HORZ)
        FHost->ScrollBar(SB_HORZ).SetForcedShown(Show);
    if (Bar == SB_BOTH || Bar == SB_VERT)
        FHost->ScrollBar(SB_VERT).SetForcedShown(Show);
}

// ---- timers, caret and translucency

void TWinControl::SetTimer(WPARAM Id, unsigned Interval)
{
    HandleNeeded();
    FHost->SetTimer(Id, Interval);
}

void TWinControl::KillTimer(WPARAM Id)
{
    if (FHost)
        FHost->KillTimer(Id);
}

void TWinControl::CreateCaret(int Width, int Height)
{
    HandleNeeded();
    FHost->CreateCaret(Width, Height);
}

void TWinControl::DestroyCaret()
{
    if (FHost)
        FHost->DestroyCaret();
}

void TWinControl::ShowCaret()
{
    if (FHost)
        FHost->ShowCaret(true);
}

void TWinControl::HideCaret()
{
    if (FHost)
        FHost->ShowCaret(false);
}

void TWinControl::SetCaretPos(int X, int Y)
{
    if (FHost)
        FHost->SetCaretPos(Point(X, Y));
}

TPoint TWinControl::GetCaretPos() const { return FHost ? FHost->CaretPos() : TPoint{}; }

void TWinControl::SetWindowAlpha(int Alpha)
{
    Handle()->setWindowOpacity(std::clamp(Alpha, 0, 255) / 255.0);
}

// ---- alignment

void TWinControl::Realign()
{
    if (FAlignLevel > 0)
        return;
    const TRect client = ClientRect();
    ++FAlignLevel;
    if (FAlignedClientWidth >= 0)
        AnchorControls(FAlignedClientWidth, FAlignedClientHeight);
    TRect rect = client;
    AlignControls(nullptr, rect);
    --FAlignLevel;
    FAlignedClientWidth = client.Width();
    FAlignedClientHeight = client.Height();
}

void TWinControl::EnableAlign()
{
    if (--FAlignLevel == 0)
        Realign();
}

void TWinControl::AnchorControls(int OldClientWidth, int OldClientHeight)
{
    const TRect client = ClientRect();
    const int dx = client.Width() - OldClientWidth;
    const int dy = client.Height() - OldClientHeight;
    if (dx == 0 && dy == 0)
        return;
    for (TControl* child : FControls) {
        if (child->Align() != TAlign::alNone)
            continue;
        const TAnchors anchors = child->Anchors();
        int left = child->Left();
        int top = child->Top();
        int width = child->Width();
        int height = child->Height();
        if (anchors.Contains(akRight)) {
            if (anchors.Contains(akLeft))
                width += dx;
            else
                left += dx;
        }
        if (anchors.Contains(akBottom)) {
            if (anchors.Contains(akTop))
                height += dy;
            else
                top += dy;
        }
        child->SetAlignedBounds(left, top, width, height);
    }
}

void TWinControl::AlignControls(TControl*, TRect& Rect)
{
    for (const TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (TControl* child : FControls) {
            if (child->Align() != align || !child->Visible())
                continue;
            const int width = child->Width();
            const int height = child->Height();
            switch (align) {
            case TAlign::alTop:
                child->SetAlignedBounds(Rect.Left, Rect.Top, Rect.Width(), height);
                Rect.Top += height;
                break;
            case TAlign::alBottom:
                Rect.Bottom -= height;
                child->SetAlignedBounds(Rect.Left, Rect.Bottom, Rect.Width(), height);
                break;
            case TAlign::alLeft:
                child->SetAlignedBounds(Rect.Left, Rect.Top, width, Rect.Height());
                Rect.Left += width;
                break;
            case TAlign::alRight:
                Rect.Right -= width;
                child->SetAlignedBounds(Rect.Right, Rect.Top, width, Rect.Height());
                break;
            default: child->SetAlignedBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height()); break;
            }
        }
    }
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    Realign();
}

// ---- messages

TControl* TWinControl::MouseTarget(const TMessage& Message) const
{
    TControl* capture = GetCaptureControl();
    if (capture != nullptr)
        return capture->Parent() == this && dynamic_cast<TWinControl*>(capture) == nullptr ? capture : nullptr;
    if (Message.Msg == WM_MOUSEWHEEL)
        return nullptr;
    return ControlAtPos(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
}

void TWinControl::RouteMouseToChild(TMessage& Message, TControl* Child)
{
    TMessage moved = Message;
    moved.LParam = MAKELPARAM(GET_X_LPARAM(Message.LParam) - Child->Left(), GET_Y_LPARAM(Message.LParam) - Child->Top());
    Child->WndProc(moved);
    Message.Result = moved.Result;
}

void TWinControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form != nullptr && !form->SetFocusedControl(this))
            return;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (TControl* child = MouseTarget(Message)) {
            RouteMouseToChild(Message, child);
            return;
        }
        break;
    default: break;
    }
    TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        if (FHost && FHost->ClientPainter() != nullptr) {
            PaintWindow(FHost->ClientPainter());
            PaintControls(FHost->ClientPainter());
        } else {
            DefaultHandler(Message);
        }
        return;
    case WM_ERASEBKGND:
        // Straight on the painter: this runs before every paint of the window.
        if (!FControlStyle.Contains(csOpaque) && Message.WParam != 0)
            reinterpret_cast<HDC>(Message.WParam)->fillRect(ToQRect(ClientRect()), ToQColor(FColor));
        Message.Result = 1;
        return;
    case WM_NCPAINT: {
        TCanvas canvas;
        canvas.BeginPaint(reinterpret_cast<HDC>(Message.WParam));
        TRect window = Rect(0, 0, FWidth, FHeight);
        if (FBorderStyle == TBorderStyle::bsSingle && FCtl3D) {
            canvas.DrawEdge(window, EDGE_SUNKEN, BF_RECT);
        } else if (FBorderStyle == TBorderStyle::bsSingle) {
            canvas.Brush()->SetColor(clWindowFrame);
            canvas.FrameRect(window);
        }
        const TWindowScrollBar* vert = FHost ? FHost->FindScrollBar(SB_VERT) : nullptr;
        const TWindowScrollBar* horz = FHost ? FHost->FindScrollBar(SB_HORZ) : nullptr;
        if (vert != nullptr && horz != nullptr && vert->Shown() && horz->Shown()) {
            const QRect v = vert->Widget()->geometry();
            const QRect h = horz->Widget()->geometry();
            canvas.Brush()->SetColor(clBtnFace);
            canvas.FillRect(Bounds(v.x(), h.y(), v.width(), h.height()));
        }
        canvas.EndPaint();
        return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(Message))
            DefaultHandler(Message);
        return;
    case WM_CHAR:
        if (!DoKeyPress(Message))
            DefaultHandler(Message);
        return;
    case WM_SYSCHAR:
        // An Alt+letter the control leaves alone is a mnemonic: the form offers it to its controls.
        if (!DoKeyPress(Message) && !HandledAsMnemonic(Message))
            DefaultHandler(Message);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(Message))
            DefaultHandler(Message);
        return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case WM_NCHITTEST: Message.Result = HTCLIENT; return;
    case WM_SETCURSOR: HandleSetCursor(Message); return;
    case WM_MOUSEWHEEL: MouseWheelHandler(Message); return;
    case WM_SIZE:
        Realign();
        TControl::Dispatch(Message);
        return;
    case CM_CHILDKEY:
        if (FParent != nullptr)
            Message.Result = FParent->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: Broadcast(Message); return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_SHOWHINTCHANGED: {
        if (FHost && Message.Msg != CM_SHOWHINTCHANGED)
            ApplyFontAndColor();
        TControl::Dispatch(Message);
        const unsigned notice = Message.Msg == CM_FONTCHANGED    ? CM_PARENTFONTCHANGED
                                : Message.Msg == CM_COLORCHANGED ? CM_PARENTCOLORCHANGED
                                                                 : CM_PARENTSHOWHINTCHANGED;
        for (TControl* child : std::vector<TControl*>(FControls))
            child->Perform(notice);
        return;
    }
    case CM_ENABLEDCHANGED:
        if (FHost)
            FHost->Widget()->setEnabled(FEnabled);
        TControl::Dispatch(Message);
        return;
    case CM_VISIBLECHANGED: UpdateShowing(); return;
    case CM_CURSORCHANGED:
        if (FHost)
            FHost->SetWindowCursor(FCursor);
        return;
    default: TControl::Dispatch(Message); return;
    }
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (FHost)
        FHost->DefaultProcessing(Message);
}

void TWinControl::HandleSetCursor(TMessage& Message)
{
    if (LOWORD(static_cast<std::uintptr_t>(Message.LParam)) == static_cast<unsigned>(HTCLIENT) && FHost) {
        TCursor cursor = FCursor;
        if (TControl* child = ControlAtPos(FHost->LastMousePos()); child != nullptr && child->Cursor() != crDefault)
            cursor = child->Cursor();
        FHost->SetWindowCursor(cursor);
        Message.Result = cursor != crDefault ? 1 : 0;
        return;
    }
    DefaultHandler(Message);
}

void TWinControl::MouseWheelHandler(TMessage& Message)
{
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this) {
        static_cast<TWinControl*>(form)->MouseWheelHandler(Message);
        return;
    }
    Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

bool TWinControl::DoKeyDown(TMessage& Message)
{
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyDown(Message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    auto key = static_cast<WORD>(Message.WParam);
    KeyDown(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message)
{
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyPress(Message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    Char key(static_cast<char16_t>(Message.WParam));
    KeyPress(key);
    Message.WParam = key.unicode();
    return key.isNull();
}

bool TWinControl::HandledAsMnemonic(const TMessage& Message)
{
    TCustomForm* form = GetParentForm(this);
    return form != nullptr && form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0;
}

bool TWinControl::DoKeyUp(TMessage& Message)
{
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyUp(Message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    auto key = static_cast<WORD>(Message.WParam);
    KeyUp(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    return key == 0;
}

// ---- keys and focus events

void TWinControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(Char& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

// ---- painting

void TWinControl::PaintWindow(HDC) {}

HDC TWinControl::PaintDC() const { return FHost ? FHost->ClientPainter() : nullptr; }

void TWinControl::PaintControls(HDC DC)
{
    for (TControl* child : FControls) {
        if (dynamic_cast<TWinControl*>(child) != nullptr || !child->Visible())
            continue;
        DC->save();
        DC->translate(child->Left(), child->Top());
        DC->setClipRect(0, 0, child->Width(), child->Height(), Qt::IntersectClip);
        child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC));
        DC->restore();
    }
}
