// TWindowHost: the Qt widget behind a TWinControl, turning Qt's events into the platform's
// messages and doing the window's own (default) processing of them.
//
// Sections:
//   window registry and Qt-to-message helpers (anonymous namespace, FindControl)
//   the window       construction, frame, client area and scroll-bar layout
//   timers and caret
//   messages         delivery to the control, default processing, the event filter
//   input            keys, input method, mouse, wheel
//   painting         client area and frame
//   drop-downs       the outside-press watcher
//   cursor and user resizing
#include "platform/ui/WindowHost.h"

#include "platform/ui/Forms.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/QtConvert.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>

#include <algorithm>
#include <unordered_map>

namespace {

std::unordered_map<const QWidget*, TWinControl*>& Registry()
{
    static std::unordered_map<const QWidget*, TWinControl*> registry;
    return registry;
}

// The widget that lost the focus last: WM_SETFOCUS names it, as the platform names the window
// the focus came from.
QPointer<QWidget> GPreviousFocus;

// The window whose WM_SETCURSOR is being handled: the one SetCursor shows a cursor over.
TWindowHost* GCursorWindow = nullptr;

// The platform's minimum timer interval: shorter ones would only spin.
constexpr unsigned MinTimerInterval = 10;

bool NativeEvent(QWidget* Widget, QEvent* Event)
{
    return static_cast<QObject*>(Widget)->event(Event);
}

// The scroll area's own handling of an event of its viewport.
struct TViewportAccess : QAbstractScrollArea {
    static bool Handle(QAbstractScrollArea* Area, QEvent* Event)
    {
        return (Area->*&TViewportAccess::viewportEvent)(Event);
    }
};

// Whether a key held with Ctrl alone types Ch on the platform: control characters (Ctrl+A
// types 1) and the space do; X11 also hands over a key's printable character (Ctrl+' comes
// with "'"), which the platform never types.
bool TypedWithCtrl(QChar Ch) { return Ch.unicode() < 32 || Ch.unicode() == 127 || Ch == u' '; }

// The characters a key press types, one WM_CHAR each; Delete types none on the platform. AltGr
// (Ctrl+Alt, or the group switch) keeps its characters.
QString TypedCharacters(const QKeyEvent* Event)
{
    if (Event->key() == Qt::Key_Delete)
        return {};
    const Qt::KeyboardModifiers modifiers = Event->modifiers();
    const bool ctrlAlone = modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier) &&
                           !modifiers.testFlag(Qt::GroupSwitchModifier);
    if (!ctrlAlone)
        return Event->text();
    QString typed;
    for (const QChar ch : Event->text())
        if (TypedWithCtrl(ch))
            typed += ch;
    return typed;
}

// A key event that types Ch, for a character that did not come from a key of its own.
QKeyEvent CharacterKeyEvent(QChar Ch)
{
    const ushort code = Ch.unicode();
    int key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    switch (code) {
    case 8: key = Qt::Key_Backspace; break;
    case 9: key = Qt::Key_Tab; break;
    case 13: key = Qt::Key_Return; break;
    case 27: key = Qt::Key_Escape; break;
    default:
        if (code >= 1 && code <= 26) {
            key = Qt::Key_A + (code - 1);
            modifiers = Qt::ControlModifier;
        }
        break;
    }
    return QKeyEvent(QEvent::KeyPress, key, modifiers, QString(Ch));
}

unsigned ButtonMessage(QEvent::Type Type, Qt::MouseButton Button)
{
    const unsigned base = Button == Qt::RightButton ? WM_RBUTTONDOWN : Button == Qt::MiddleButton ? WM_MBUTTONDOWN
                                                                                                 : WM_LBUTTONDOWN;
    switch (Type) {
    case QEvent::MouseButtonPress: return base;
    case QEvent::MouseButtonRelease: return base + 1;
    case QEvent::MouseButtonDblClick: return base + 2;
    default: return WM_MOUSEMOVE;
    }
}

// The window that receives mouse messages for Control.
TWinControl* WindowOf(TControl* Control)
{
    while (Control != nullptr && dynamic_cast<TWinControl*>(Control) == nullptr)
        Control = Control->Parent();
    return static_cast<TWinControl*>(Control);
}

}  // namespace

TWinControl* FindControl(HWND Handle)
{
    const auto found = Registry().find(Handle);
    return found != Registry().end() ? found->second : nullptr;
}

// ---- the window

TWindowHost::TWindowHost(TWinControl& Control, QWidget* Widget, const TCreateParams& Params)
    : FControl(Control),
      FWidget(Widget),
      FStyle(Params.Style),
      FExStyle(Params.ExStyle),
      FSelfPainted(Widget->metaObject() == &QWidget::staticMetaObject)
{
    Registry()[Widget] = &Control;
    Widget->installEventFilter(this);
    Widget->setMouseTracking(true);
    Widget->setAttribute(Qt::WA_InputMethodEnabled);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(Widget)) {
        FViewport = area->viewport();
        FViewport->installEventFilter(this);
        FViewport->setMouseTracking(true);
    }
    if (FSelfPainted) {
        Widget->setFocusPolicy(Qt::NoFocus);
        Widget->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    // The bars a window asks for exist from the start, hidden until their range exceeds the page.
    if (Params.Style & WS_VSCROLL)
        ScrollBar(SB_VERT);
    if (Params.Style & WS_HSCROLL)
        ScrollBar(SB_HORZ);
    FCaretTimer.setInterval(QGuiApplication::styleHints()->cursorFlashTime() / 2);
    QObject::connect(&FCaretTimer, &QTimer::timeout, this, [this] {
        FCaretBlinkOn = !FCaretBlinkOn;
        UpdateCaret();
    });
}

TWindowHost::~TWindowHost()
{
    FTimers.clear();
    FBars[0].reset();
    FBars[1].reset();
    if (FWidget) {
        Registry().erase(FWidget);
        FWidget->removeEventFilter(this);
        if (FViewport)
            FViewport->removeEventFilter(this);
        delete FWidget;
    }
}

int TWindowHost::FrameWidth() const
{
    if (FExStyle & WS_EX_CLIENTEDGE)
        return 2;
    return (FStyle & WS_BORDER) ? 1 : 0;
}

bool TWindowHost::UpdateLayout()
{
    const int frame = FrameWidth();
    TRect area = Rect(frame, frame, FWidget->width() - frame, FWidget->height() - frame);
    const bool vert = FBars[SB_VERT] && FBars[SB_VERT]->Shown();
    const bool horz = FBars[SB_HORZ] && FBars[SB_HORZ]->Shown();
    if (vert)
        area.Right -= PlatformMetrics().VScrollWidth();
    if (horz)
        area.Bottom -= PlatformMetrics().HScrollHeight();
    if (vert)
        FBars[SB_VERT]->Widget()->setGeometry(area.Right, area.Top, PlatformMetrics().VScrollWidth(), area.Height());
    if (horz)
        FBars[SB_HORZ]->Widget()->setGeometry(area.Left, area.Bottom, area.Width(), PlatformMetrics().HScrollHeight());
    FControl.Perform(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&area));
    area.Right = std::max(area.Right, area.Left);
    area.Bottom = std::max(area.Bottom, area.Top);
    const bool changed = area != FClientArea;
    FClientArea = area;
    return changed;
}

TWindowScrollBar& TWindowHost::ScrollBar(int Bar)
{
    auto& bar = FBars[Bar == SB_VERT ? SB_VERT : SB_HORZ];
    if (!bar)
        bar = std::make_unique<TWindowScrollBar>(*this, Bar);
    return *bar;
}

const TWindowScrollBar* TWindowHost::FindScrollBar(int Bar) const
{
    return FBars[Bar == SB_VERT ? SB_VERT : SB_HORZ].get();
}

// ---- timers and caret

void TWindowHost::SetTimer(WPARAM Id, unsigned Interval)
{
    auto& timer = FTimers[Id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, this, [this, Id] {
            TMessage message{WM_TIMER, Id, 0, 0};
            DeliverInput(message);
        });
    }
    timer->start(static_cast<int>(std::max(Interval, MinTimerInterval)));
}

void TWindowHost::KillTimer(WPARAM Id)
{
    FTimers.erase(Id);
}

void TWindowHost::CreateCaret(int Width, int Height)
{
    DestroyCaret();
    FCaretCreated = true;
    FCaretShowCount = 0;
    FCaretSize = {std::max(Width, 1), Height};
}

void TWindowHost::DestroyCaret()
{
    if (!FCaretCreated)
        return;
    UpdateCaret();
    FCaretCreated = false;
    FCaretTimer.stop();
}

void TWindowHost::ShowCaret(bool Show)
{
    if (!FCaretCreated)
        return;
    FCaretShowCount += Show ? 1 : -1;
    FCaretBlinkOn = true;
    if (FCaretShowCount > 0)
        FCaretTimer.start();
    else
        FCaretTimer.stop();
    UpdateCaret();
}

void TWindowHost::SetCaretPos(TPoint Pos)
{
    UpdateCaret();
    FCaretPos = Pos;
    FCaretBlinkOn = true;
    UpdateCaret();
}

void TWindowHost::UpdateCaret()
{
    if (FCaretCreated && FWidget)
        FWidget->update(FClientArea.Left + FCaretPos.X, FClientArea.Top + FCaretPos.Y, FCaretSize.cx, FCaretSize.cy);
}

void TWindowHost::PaintCaret(QPainter& Painter) const
{
    if (!FCaretCreated || FCaretShowCount <= 0 || !FCaretBlinkOn)
        return;
    // The platform's caret inverts what is under it.
    Painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    Painter.fillRect(FCaretPos.X, FCaretPos.Y, FCaretSize.cx, FCaretSize.cy, Qt::white);
    Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// ---- messages

void TWindowHost::Deliver(TMessage& Message, QEvent* Source)
{
    QEvent* const outerEvent = FSourceEvent;
    const TMessage* const outerMessage = FSourceMessage;
    FSourceEvent = Source;
    FSourceMessage = &Message;
    QPointer<TWindowHost> self(this);
    CallGuarded(&FControl, [&] { FControl.WndProc(Message); });
    if (self) {
        FSourceEvent = outerEvent;
        FSourceMessage = outerMessage;
    }
}

void TWindowHost::DeliverInput(TMessage& Message, QEvent* Source)
{
    QPointer<TWindowHost> self(this);
    bool handled = false;
    CallGuarded(&FControl, [&] { handled = HookedByApplication(FWidget, Message); });
    if (self && !handled)
        Deliver(Message, Source);
}

void TWindowHost::DefaultProcessing(TMessage& Message)
{
    if (!FWidget || FSelfPainted)
        return;
    QEvent* source = &Message == FSourceMessage ? FSourceEvent : nullptr;
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (source != nullptr) {
            // Typed characters reach the widget through WM_CHAR, after the checks on it.
            if (TypedCharacters(static_cast<QKeyEvent*>(source)).isEmpty())
                NativeEvent(FWidget, source);
        } else {
            QKeyEvent made(QEvent::KeyPress, QtKeyFromVirtualKey(static_cast<WORD>(Message.WParam)),
                           QGuiApplication::keyboardModifiers());
            NativeEvent(FWidget, &made);
        }
        return;
    case WM_CHAR:
    case WM_SYSCHAR: {
        const QChar ch(static_cast<char16_t>(Message.WParam));
        if (source != nullptr && source->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(source);
            QKeyEvent made(QEvent::KeyPress, key->key(), key->modifiers(), QString(ch), key->isAutoRepeat());
            NativeEvent(FWidget, &made);
        } else {
            QKeyEvent made = CharacterKeyEvent(ch);
            NativeEvent(FWidget, &made);
        }
        return;
    }
    default:
        if (source != nullptr && source == FViewportEvent)
            TViewportAccess::Handle(static_cast<QAbstractScrollArea*>(FWidget.data()), source);
        else if (source != nullptr)
            NativeEvent(FWidget, source);
        return;
    }
}

bool TWindowHost::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FWidget)
        return HandleEvent(Event);
    if (Watched == FViewport)
        return HandleViewportEvent(Event);
    // The window's scroll bars: a wheel turn over them is the window's.
    if (Event->type() == QEvent::Wheel) {
        HandleWheel(static_cast<QWheelEvent*>(Event));
        return true;
    }
    return false;
}

bool TWindowHost::HandleEvent(QEvent* Event)
{
    // Keys reach this window's WndProc only: the widget's own processing may have ignored the
    // event, which would make Qt hand it to the parent widget as a second key press.
    switch (Event->type()) {
    case QEvent::KeyPress:
        HandleKeyPress(static_cast<QKeyEvent*>(Event));
        Event->accept();
        return true;
    case QEvent::KeyRelease:
        HandleKeyRelease(static_cast<QKeyEvent*>(Event));
        Event->accept();
        return true;
    case QEvent::InputMethod:
        HandleInputMethod(static_cast<QInputMethodEvent*>(Event));
        Event->accept();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        HandleMouse(static_cast<QMouseEvent*>(Event));
        return true;
    case QEvent::Wheel:
        HandleWheel(static_cast<QWheelEvent*>(Event));
        return true;
    case QEvent::FocusIn: {
        QWidget* from = GPreviousFocus != FWidget ? GPreviousFocus.data() : nullptr;
        GPreviousFocus = nullptr;
        TMessage message{WM_SETFOCUS, reinterpret_cast<WPARAM>(from), 0, 0};
        Deliver(message, Event);
        return true;
    }
    case QEvent::FocusOut: {
        GPreviousFocus = FWidget;
        TMessage message{WM_KILLFOCUS, reinterpret_cast<WPARAM>(QApplication::focusWidget()), 0, 0};
        Deliver(message, Event);
        return true;
    }
    case QEvent::Enter:
    case QEvent::Leave: {
        TMessage message{Event->type() == QEvent::Enter ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0, 0};
        Deliver(message, Event);
        return true;
    }
    case QEvent::Paint:
        if (FViewport)
            return false;
        HandlePaint(Event);
        return true;
    case QEvent::Resize:
        HandleResize();
        return false;
    case QEvent::Move:
        if (FWidget->isWindow()) {
            // Read back the way bounds are applied (the geometry inside the frame), so a
            // position written back unchanged never moves the window by its frame.
            const QPoint at = FWidget->geometry().topLeft();
            FControl.FLeft = at.x();
            FControl.FTop = at.y();
            TMessage message{WM_MOVE, 0, MAKELPARAM(at.x(), at.y()), 0};
            Deliver(message, nullptr);
        }
        return false;
    case QEvent::ContextMenu: {
        const QPoint global = static_cast<QContextMenuEvent*>(Event)->globalPos();
        TMessage message{WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FWidget.data()), MAKELPARAM(global.x(), global.y()), 0};
        DeliverInput(message, Event);
        return true;
    }
    case QEvent::Close:
        if (auto* form = dynamic_cast<TCustomForm*>(&FControl)) {
            Event->ignore();
            CallGuarded(form, [form] { form->Close(); });
            return true;
        }
        return false;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (auto* form = dynamic_cast<TCustomForm*>(&FControl)) {
            const bool active = Event->type() == QEvent::WindowActivate;
            CallGuarded(form, [form, active] { form->Activated(active); });
        }
        return false;
    default:
        return false;
    }
}

// The text area of a scroll area takes the window's mouse and paint messages, so the control
// sees the clicks and paints over the text as on a plain window; the area's own frame paints itself.
bool TWindowHost::HandleViewportEvent(QEvent* Event)
{
    QEvent* const outer = FViewportEvent;
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        QPointer<TWindowHost> self(this);
        FViewportEvent = Event;
        HandleMouse(static_cast<QMouseEvent*>(Event), FViewport->mapTo(FWidget, QPoint(0, 0)));
        if (self)
            FViewportEvent = outer;
        return true;
    }
    case QEvent::Paint: {
        QPointer<TWindowHost> self(this);
        FViewportEvent = Event;
        HandlePaint(Event);
        if (self)
            FViewportEvent = outer;
        return true;
    }
    default: return false;
    }
}

// ---- input

bool TWindowHost::PreTranslateKey(TMessage& Message)
{
    const auto key = static_cast<WORD>(Message.WParam);
    if (FControl.Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(&FControl)) != 0)
        return true;
    unsigned mask = 0;
    switch (key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
    }
    if (mask == 0 || FControl.Perform(CM_WANTSPECIALKEY, key, Message.LParam) != 0 ||
        (static_cast<unsigned>(FControl.Perform(WM_GETDLGCODE)) & mask) != 0)
        return false;
    TCustomForm* form = GetParentForm(&FControl);
    return form != nullptr && form->Perform(CM_DIALOGKEY, key, Message.LParam) != 0;
}

void TWindowHost::HandleKeyPress(QKeyEvent* Event)
{
    QPointer<TWindowHost> self(this);
    TInputStateScope input(Event->modifiers(), QGuiApplication::mouseButtons());
    const bool alt = Event->modifiers().testFlag(Qt::AltModifier) && !Event->modifiers().testFlag(Qt::ControlModifier);
    const LPARAM keyData = 1 | (alt ? KF_ALTDOWN_LPARAM : 0) | (Event->isAutoRepeat() ? (LPARAM(1) << 30) : 0);
    const WORD key = VirtualKeyFromQt(Event->key(), Event->modifiers().testFlag(Qt::KeypadModifier));
    if (key != 0) {
        TMessage down{alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, keyData, 0};
        bool consumed = false;
        CallGuarded(&FControl, [&] { consumed = HookedByApplication(FWidget, down) || PreTranslateKey(down); });
        if (!self || consumed)
            return;
        Deliver(down, Event);
    }
    for (const QChar ch : TypedCharacters(Event)) {
        if (!self)
            return;
        TMessage typed{alt ? WM_SYSCHAR : WM_CHAR, ch.unicode(), keyData, 0};
        DeliverInput(typed, Event);
    }
}

void TWindowHost::HandleKeyRelease(QKeyEvent* Event)
{
    if (Event->isAutoRepeat())
        return;
    TInputStateScope input(Event->modifiers(), QGuiApplication::mouseButtons());
    const bool alt = Event->modifiers().testFlag(Qt::AltModifier) && !Event->modifiers().testFlag(Qt::ControlModifier);
    const WORD key = VirtualKeyFromQt(Event->key(), Event->modifiers().testFlag(Qt::KeypadModifier));
    if (key == 0)
        return;
    const LPARAM keyData = 1 | (alt ? KF_ALTDOWN_LPARAM : 0) | (LPARAM(1) << 30) | (LPARAM(1) << 31);
    TMessage up{alt ? WM_SYSKEYUP : WM_KEYUP, key, keyData, 0};
    DeliverInput(up, Event);
}

void TWindowHost::HandleInputMethod(QInputMethodEvent* Event)
{
    QPointer<TWindowHost> self(this);
    const bool preedit = !Event->preeditString().isEmpty();
    if (FComposing && (!preedit || !Event->commitString().isEmpty())) {
        FComposing = false;
        TMessage end{WM_IME_ENDCOMPOSITION, 0, 0, 0};
        Deliver(end, nullptr);
    }
    // A committed string types its characters one WM_CHAR each, like keys.
    for (const QChar ch : Event->commitString()) {
        if (!self)
            return;
        TMessage typed{WM_CHAR, ch.unicode(), 1, 0};
        DeliverInput(typed);
    }
    if (!self)
        return;
    if (preedit && !FComposing) {
        FComposing = true;
        TMessage start{WM_IME_STARTCOMPOSITION, 0, 0, 0};
        Deliver(start, nullptr);
    }
    if (self && FWidget && !FSelfPainted) {
        QInputMethodEvent composing(Event->preeditString(), Event->attributes());
        NativeEvent(FWidget, &composing);
    }
}

void TWindowHost::HandleMouse(QMouseEvent* Event, QPoint Offset)
{
    TInputStateScope input(Event->modifiers(), Event->buttons());
    const QPoint local = Event->position().toPoint() + Offset;
    // Mouse messages go to the capture control's window while one holds the capture.
    TWinControl* captureWindow = WindowOf(GetCaptureControl());
    if (captureWindow != nullptr && captureWindow != &FControl && captureWindow->HandleAllocated()) {
        QWidget* target = captureWindow->Handle();
        const QPoint there = target->mapFromGlobal(FWidget->mapToGlobal(local));
        QMouseEvent moved(Event->type(), there, Event->globalPosition(), Event->button(), Event->buttons(),
                          Event->modifiers());
        captureWindow->FHost->HandleMouse(&moved);
        return;
    }
    const int x = local.x() - FClientArea.Left;
    const int y = local.y() - FClientArea.Top;
    FLastMousePos = Point(x, y);
    QPointer<TWindowHost> self(this);
    if (Event->type() == QEvent::MouseMove && Event->buttons() == Qt::NoButton) {
        const QPoint global = Event->globalPosition().toPoint();
        TMessage hit{WM_NCHITTEST, 0, MAKELPARAM(global.x(), global.y()), 0};
        Deliver(hit, nullptr);
        if (!self)
            return;
        TMessage cursor{WM_SETCURSOR, reinterpret_cast<WPARAM>(FWidget.data()), MAKELPARAM(hit.Result, WM_MOUSEMOVE), 0};
        TWindowHost* const outerCursorWindow = GCursorWindow;
        GCursorWindow = this;
        Deliver(cursor, nullptr);
        GCursorWindow = outerCursorWindow;
        if (!self)
            return;
    }
    TMessage message{ButtonMessage(Event->type(), Event->button()), MouseKeysFromQt(Event->modifiers(), Event->buttons()),
                     MAKELPARAM(x, y), 0};
    DeliverInput(message, Event);
}

void TWindowHost::HandleWheel(QWheelEvent* Event)
{
    const int delta = Event->angleDelta().y() != 0 ? Event->angleDelta().y() : Event->angleDelta().x();
    if (delta == 0)
        return;
    TInputStateScope input(Event->modifiers(), Event->buttons());
    const QPoint global = Event->globalPosition().toPoint();
    TMessage message{WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(MouseKeysFromQt(Event->modifiers(), Event->buttons())), delta),
                     MAKELPARAM(global.x(), global.y()), 0};
    DeliverInput(message);
}

// ---- painting

void TWindowHost::HandlePaint(QEvent* Event)
{
    if (!FSelfPainted) {
        TMessage message{WM_PAINT, 0, 0, 0};
        Deliver(message, Event);
        return;
    }
    QPainter painter(FWidget);
    PaintFrame(painter);
    painter.setClipRegion(static_cast<QPaintEvent*>(Event)->region().intersected(ToQRect(FClientArea)));
    painter.translate(FClientArea.Left, FClientArea.Top);
    FClientPainter = &painter;
    QPointer<TWindowHost> self(this);
    TMessage erase{WM_ERASEBKGND, reinterpret_cast<WPARAM>(&painter), 0, 0};
    Deliver(erase, nullptr);
    if (!self)
        return;
    TMessage paint{WM_PAINT, 0, 0, 0};
    Deliver(paint, nullptr);
    if (!self)
        return;
    FClientPainter = nullptr;
    PaintCaret(painter);
}

void TWindowHost::PaintFrame(QPainter& Painter)
{
    const bool corner = FBars[SB_VERT] && FBars[SB_VERT]->Shown() && FBars[SB_HORZ] && FBars[SB_HORZ]->Shown();
    if (FrameWidth() == 0 && !corner && !FControl.ControlStyle().Contains(csNeedsBorderPaint))
        return;
    TMessage message{WM_NCPAINT, reinterpret_cast<WPARAM>(&Painter), 0, 0};
    Deliver(message, nullptr);
}

// ---- drop-downs

void TOutsidePressWatcher::Start(std::initializer_list<QWidget*> Inside)
{
    FInside.assign(Inside.begin(), Inside.end());
    if (!FStarted)
        QApplication::instance()->installEventFilter(this);
    FStarted = true;
}

void TOutsidePressWatcher::Stop()
{
    if (FStarted)
        QApplication::instance()->removeEventFilter(this);
    FStarted = false;
}

bool TOutsidePressWatcher::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() != QEvent::MouseButtonPress || !Watched->isWidgetType())
        return false;
    const auto* widget = static_cast<QWidget*>(Watched);
    const bool inside = std::any_of(FInside.begin(), FInside.end(), [widget](const QPointer<QWidget>& Window) {
        return Window && (Window == widget || Window->isAncestorOf(widget));
    });
    if (!inside && OnOutside)
        OnOutside();
    return false;
}

// ---- cursor and user resizing

void TWindowHost::SetWindowCursor(TCursor Cursor)
{
    if (Cursor != crDefault) {
        FWidget->setCursor(CursorToQt(Cursor));
        FCursorSet = true;
    } else if (FCursorSet) {
        FWidget->unsetCursor();
        FCursorSet = false;
    }
}

void SetCursor(TCursor Cursor)
{
    if (GCursorWindow != nullptr)
        GCursorWindow->SetWindowCursor(Cursor);
}

void TWindowHost::HandleResize()
{
    // Sizes the control set itself were handled by SetBounds; this is the user's resizing.
    if (FWidget->width() == FControl.FWidth && FWidget->height() == FControl.FHeight)
        return;
    FControl.FWidth = FWidget->width();
    FControl.FHeight = FWidget->height();
    UpdateLayout();
    CallGuarded(&FControl, [this] { FControl.HandleSize(); });
}
