#pragma once
// The Qt side of a TWinControl's window: the widget, the translation of its events into the
// platform's messages, the frame and scroll bars around the client area, timers and the caret.
// Used by the controls unit only.
#include "platform/ui/Controls.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <vector>

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QInputMethodEvent;
class QScrollBar;
class QWheelEvent;

// One window scroll bar: SCROLLINFO state shown on a QScrollBar whose actions come back to the
// control as WM_HSCROLL/WM_VSCROLL; the bar never moves by itself, the control positions it.
class TWindowScrollBar {
public:
    TWindowScrollBar(TWindowHost& Host, int Bar);
    ~TWindowScrollBar();
    int SetInfo(const TScrollInfo& Info);
    void GetInfo(TScrollInfo& Info) const;
    // Shown when the range exceeds the page, or always (disabled) with SIF_DISABLENOSCROLL, or
    // when shown on request until the next scroll information.
    bool Shown() const { return FShown; }
    void SetForcedShown(bool Value);
    QScrollBar* Widget() const { return FWidget; }

private:
    void Apply();
    void Action(int QtAction);
    void Released();
    void Send(int Code, int Pos);

    TWindowHost& FHost;
    int FBar;
    QScrollBar* FWidget;
    int FMin = 0;
    int FMax = 0;
    unsigned FPage = 0;
    int FPos = 0;
    int FTrackPos = 0;
    bool FDisableNoScroll = false;
    bool FForcedShown = false;
    bool FShown = false;
};

class TWindowHost : public QObject {
public:
    TWindowHost(TWinControl& Control, QWidget* Widget, const TCreateParams& Params);
    ~TWindowHost() override;

    QWidget* Widget() const { return FWidget; }
    TWinControl& Control() const { return FControl; }
    // The window styles it was created with.
    unsigned Style() const { return FStyle; }
    // True when the control paints the widget itself (not a wrapped Qt control).
    bool SelfPainted() const { return FSelfPainted; }
    // The client area in widget coordinates: inside the frame and the scroll bars.
    TRect ClientArea() const { return FClientArea; }
    // Recomputes the client area after a size, frame or scroll-bar change; true when it changed.
    bool UpdateLayout();

    TWindowScrollBar& ScrollBar(int Bar);
    const TWindowScrollBar* FindScrollBar(int Bar) const;

    void SetTimer(WPARAM Id, unsigned Interval);
    void KillTimer(WPARAM Id);

    void CreateCaret(int Width, int Height);
    void DestroyCaret();
    void ShowCaret(bool Show);
    void SetCaretPos(TPoint Pos);
    TPoint CaretPos() const { return FCaretPos; }

    // The window's own processing of a message: the Qt event it came from, or one made for it.
    void DefaultProcessing(TMessage& Message);
    // The painter of the client area while the window paints; nullptr otherwise.
    HDC ClientPainter() const { return FClientPainter; }

    // The client point of the last mouse message.
    TPoint LastMousePos() const { return FLastMousePos; }
    // Shows Cursor over the window; crDefault returns to the widget's own cursor.
    void SetWindowCursor(TCursor Cursor);

    // Delivers a message made from input: through the application's message hook, then to the
    // control, never letting an exception out into Qt's event loop.
    void DeliverInput(TMessage& Message, QEvent* Source = nullptr);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    bool HandleEvent(QEvent* Event);
    void HandleKeyPress(QKeyEvent* Event);
    void HandleKeyRelease(QKeyEvent* Event);
    void HandleInputMethod(QInputMethodEvent* Event);
    // Offset: where the widget that received the event lies in the window's widget.
    void HandleMouse(QMouseEvent* Event, QPoint Offset = QPoint());
    bool HandleViewportEvent(QEvent* Event);
    void HandleWheel(QWheelEvent* Event);
    void HandlePaint(QEvent* Event);
    void HandleResize();
    void PaintFrame(QPainter& Painter);
    void PaintCaret(QPainter& Painter) const;
    void UpdateCaret();
    void Deliver(TMessage& Message, QEvent* Source);
    bool PreTranslateKey(TMessage& Message);
    int FrameWidth() const;

    TWinControl& FControl;
    QPointer<QWidget> FWidget;
    unsigned FStyle;
    unsigned FExStyle;
    bool FSelfPainted;
    // A scroll area's viewport: its mouse and paint events are the window's.
    QPointer<QWidget> FViewport;
    // The viewport event being handled, which the window's own processing returns to the viewport.
    QEvent* FViewportEvent = nullptr;
    TRect FClientArea;
    std::unique_ptr<TWindowScrollBar> FBars[2];
    std::map<WPARAM, std::unique_ptr<QTimer>> FTimers;
    QEvent* FSourceEvent = nullptr;
    const TMessage* FSourceMessage = nullptr;
    HDC FClientPainter = nullptr;
    bool FComposing = false;
    TPoint FLastMousePos;
    bool FCursorSet = false;

    bool FCaretCreated = false;
    int FCaretShowCount = 0;
    bool FCaretBlinkOn = true;
    TSize FCaretSize;
    TPoint FCaretPos;
    QTimer FCaretTimer;
};

// Closes a drop-down as the platform's cancel mode does: reports a mouse press anywhere in the
// application outside the given windows and their children while it is started.
class TOutsidePressWatcher : public QObject {
public:
    ~TOutsidePressWatcher() override { Stop(); }
    void Start(std::initializer_list<QWidget*> Inside);
    void Stop();

    std::function<void()> OnOutside;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    std::vector<QPointer<QWidget>> FInside;
    bool FStarted = false;
};

// Qt keys and virtual keys, both ways; 0 when a key has no counterpart.
WORD VirtualKeyFromQt(int Key, bool Keypad);
int QtKeyFromVirtualKey(WORD Key);
// The shift state and MK_ flags of Qt's modifiers and buttons.
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
unsigned MouseKeysFromQt(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
// GetKeyState answers from this input state while an input message is handled.
class TInputStateScope {
public:
    TInputStateScope(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
    ~TInputStateScope();
    TInputStateScope(const TInputStateScope&) = delete;
    TInputStateScope& operator=(const TInputStateScope&) = delete;

private:
    bool FHadOuter;
    Qt::KeyboardModifiers FOuterModifiers;
    Qt::MouseButtons FOuterButtons;
};
QCursor CursorToQt(TCursor Cursor);
// Offers a message to the application's OnMessage hook; true when the hook handled it.
bool HookedByApplication(HWND Wnd, const TMessage& Message);
// Runs a call into the system's code; an exception goes to Application->HandleException.
void CallGuarded(TObject* Sender, const std::function<void()>& Call);
