#pragma once
// Controls of the platform's window layer: TControl (a rectangle on a parent), TWinControl (a
// control with a window of its own: here one QWidget, made on demand), TCustomControl (a window
// painted by its own code on a canvas) and TGraphicControl (no window; painted by its parent).
// Qt events reach a window as the platform's messages through WndProc, whose default handling
// calls the virtual methods below.
#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"
#include "platform/core/String.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Messages.h"
#include "platform/ui/SmallSet.h"
#include "platform/ui/XorOverlay.h"

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QWidget;
class TBasicAction;
class TWinControl;
class TPopupMenu;
class TWindowHost;

// A window handle: the control's widget, opaque outside this layer.
using HWND = QWidget*;
// A device context: the painter of a window being painted.
using HDC = QPainter*;

// Cursor identifiers: the platform's standard cursors, and ids registered with Screen.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TBorderStyle { bsNone, bsSingle };
// Which window scroll bars a control shows.
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

using TAnchors = TSmallSet<struct TAnchorsTag>;
constexpr TAnchors akLeft{0x01};
constexpr TAnchors akTop{0x02};
constexpr TAnchors akRight{0x04};
constexpr TAnchors akBottom{0x08};

using TControlStyle = TSmallSet<struct TControlStyleTag>;
constexpr TControlStyle csAcceptsControls{0x0001};
constexpr TControlStyle csCaptureMouse{0x0002};
constexpr TControlStyle csClickEvents{0x0004};
constexpr TControlStyle csFramed{0x0008};
constexpr TControlStyle csSetCaption{0x0010};
constexpr TControlStyle csOpaque{0x0020};
constexpr TControlStyle csDoubleClicks{0x0040};
constexpr TControlStyle csFixedWidth{0x0080};
constexpr TControlStyle csFixedHeight{0x0100};
constexpr TControlStyle csNoStdEvents{0x0200};
constexpr TControlStyle csNeedsBorderPaint{0x0400};
constexpr TControlStyle csParentBackground{0x0800};

using TControlState = TSmallSet<struct TControlStateTag>;
constexpr TControlState csLButtonDown{0x01};
constexpr TControlState csClicked{0x02};
constexpr TControlState csFocusing{0x04};
constexpr TControlState csCreating{0x08};
constexpr TControlState csDestroyingHandle{0x10};
constexpr TControlState csAlignmentNeeded{0x20};

// Window styles a control asks for in CreateParams.
constexpr unsigned WS_POPUP = 0x80000000u;
constexpr unsigned WS_CHILD = 0x40000000u;
constexpr unsigned WS_VISIBLE = 0x10000000u;
constexpr unsigned WS_DISABLED = 0x08000000u;
constexpr unsigned WS_CLIPSIBLINGS = 0x04000000u;
constexpr unsigned WS_CLIPCHILDREN = 0x02000000u;
constexpr unsigned WS_BORDER = 0x00800000u;
constexpr unsigned WS_VSCROLL = 0x00200000u;
constexpr unsigned WS_HSCROLL = 0x00100000u;
// A sizing border: without it a top-level window keeps the size the program gives it.
constexpr unsigned WS_THICKFRAME = 0x00040000u;
constexpr unsigned WS_TABSTOP = 0x00010000u;
constexpr unsigned WS_EX_TOPMOST = 0x00000008u;
constexpr unsigned WS_EX_TOOLWINDOW = 0x00000080u;
constexpr unsigned WS_EX_CLIENTEDGE = 0x00000200u;
constexpr unsigned WS_EX_LAYERED = 0x00080000u;
constexpr unsigned WS_EX_NOACTIVATE = 0x08000000u;
constexpr unsigned CS_DBLCLKS = 0x0008u;
constexpr unsigned CS_SAVEBITS = 0x0800u;

// What a window is made of, as the control asks for it before its handle is created.
struct TCreateParams {
    String Caption;
    unsigned Style = 0;
    unsigned ExStyle = 0;
    unsigned WindowClassStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    TWinControl* WndParent = nullptr;
};

// A message as the application's message hook sees it before dispatch.
struct TMsg {
    HWND hwnd = nullptr;
    unsigned message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    unsigned time = 0;
    TPoint pt;
};

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, Char& Key)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const;
    void SetBoundsRect(const TRect& Rect);
    // The client area in client coordinates: (0, 0) to its size.
    virtual TRect ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& Point) const;
    TPoint ScreenToClient(const TPoint& Point) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value) { FAnchors = Value; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show();
    void Hide() { SetVisible(false); }
    // Visible and on a shown parent: what the user can see.
    virtual bool Showing() const;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    // A template so the menus unit's complete TPopupMenu converts to TComponent where it is known.
    template <class TMenu = TPopupMenu>
    void SetPopupMenu(TMenu* Value) { SetPopupMenuComponent(Value, Value); }
    // How a control's popup menu is shown; set by the menus unit.
    static inline std::function<void(TPopupMenu* Menu, TControl* Control, TPoint ScreenPos)> PopupMenuHandler;

    String Caption() const { return Text(); }
    void SetCaption(const String& Value) { SetText(Value); }
    String Text() const;
    void SetText(const String& Value);

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState Value) { FControlState = Value; }

    // Marks the control for repainting; Update paints what is marked now; Repaint does both.
    virtual void Invalidate();
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();

    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    // Sends a message to this control at once and returns its result.
    LRESULT Perform(unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // Pre-handling of every message; descendants override it to see messages first.
    virtual void WndProc(TMessage& Message);
    // The default handling of a message: calls the virtual method that stands for it.
    virtual void Dispatch(TMessage& Message);
    // What happens to a message nobody handled: the window's own processing.
    virtual void DefaultHandler(TMessage& Message);

    // An action without a handler of its own, offered while this control has the focus: served
    // when the action handles this control (a standard action on its kind of control).
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnResize;

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // A wheel turn: OnMouseWheel may handle it; else every full notch of the accumulated delta
    // goes to DoMouseWheelDown/DoMouseWheelUp. True when handled.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void Resize();
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    const char* ClassName() const override { return "TControl"; }

    // Where the control's text lives; a window keeps it in its widget.
    String FText;

private:
    friend class TWinControl;
    friend class TWindowHost;
    friend class TCustomForm;
    friend bool PostMessage(TControl* Control, unsigned Msg, WPARAM WParam, LPARAM LParam);
    void SetPopupMenuComponent(TPopupMenu* Menu, TComponent* AsComponent);
    void HandleMouseButton(TMessage& Message, TMouseButton Button);
    void HandleMouseButtonUp(TMessage& Message, TMouseButton Button);
    void HandleMouseWheel(TMessage& Message);
    void HandleParentFontChanged();
    void HandleParentColorChanged();
    void FontChanged(TObject* Sender);
    void RequestAlign();
    void SetAlignedBounds(int ALeft, int ATop, int AWidth, int AHeight);

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TAlign FAlign = TAlign::alNone;
    TAnchors FAnchors = akLeft | akTop;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = false;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FApplyingParentFont = false;
    TCursor FCursor = crDefault;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;
    TComponent* FPopupMenuComponent = nullptr;
    TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState FControlState;
    int FWheelAccumulator = 0;
    // Expires with the control, so a message posted to it can tell it is gone.
    std::shared_ptr<int> FAliveToken = std::make_shared<int>(0);
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window, created on first request together with the windows of the children.
    HWND Handle();
    bool HandleAllocated() const { return FHost != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window and makes it again with the current CreateParams.
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(static_cast<std::size_t>(Index)); }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(const TControl* Control) const;
    // The visible, enabled child control under a client point; windowed ones only when asked.
    TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled = false, bool AllowWinControls = false) const;
    // Sends the message to each child until one answers it (Result not 0).
    void Broadcast(TMessage& Message);

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    // Children in tab order, optionally over the whole subtree.
    void GetTabOrderList(std::vector<TWinControl*>& List) const;
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    virtual bool CanFocus() const;
    virtual bool Focused() const;
    virtual void SetFocus();

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);

    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    bool Showing() const override { return FShowing; }
    void Invalidate() override;
    void Update() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Moves the children and the client area's contents by (DeltaX, DeltaY).
    void ScrollBy(int DeltaX, int DeltaY);
    // Realigns the children with Align and Anchors in the client area.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();

    // The window's scroll bars, with the platform's SCROLLINFO rules; Bar is SB_HORZ or SB_VERT.
    int SetScrollInfo(int Bar, const TScrollInfo& Info, bool Redraw = true);
    bool GetScrollInfo(int Bar, TScrollInfo& Info) const;
    // Whether the window's own bar (SB_HORZ or SB_VERT) shows now.
    bool ScrollBarShown(int Bar) const;
    void ShowScrollBar(int Bar, bool Show);
    // Moves the pixels of Scroll (whole client when null), clipped to Clip, by (DX, DY).
    void ScrollWindowEx(int DX, int DY, const TRect* Scroll, const TRect* Clip, unsigned Flags);
    // Marks a client rectangle (the whole client when null) for repainting.
    void InvalidateRect(const TRect* Rect);

    // Window timers by id: WM_TIMER with the id in WParam; a new interval restarts the timer.
    void SetTimer(WPARAM Id, unsigned Interval);
    void KillTimer(WPARAM Id);

    // The caret of this window, drawn over the painted client area.
    void CreateCaret(int Width, int Height);
    void DestroyCaret();
    void ShowCaret();
    void HideCaret();
    void SetCaretPos(int X, int Y);
    TPoint GetCaretPos() const;

    // Opacity 0..255 of a top-level window (255 = opaque).
    void SetWindowAlpha(int Alpha);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    virtual void CreateParams(TCreateParams& Params);
    // Makes the widget for Params; controls that wrap a Qt widget return their own.
    virtual QWidget* CreateWindowHandle(const TCreateParams& Params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual void CreateHandle();
    void DestroyHandle();

    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyPress(Char& Key);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void DoEnter();
    virtual void DoExit();
    // Routes a wheel message: the focused control of the form first.
    virtual void MouseWheelHandler(TMessage& Message);
    // The painter of the client area while the window paints; nullptr otherwise.
    HDC PaintDC() const;
    // The control's own painting of its client area; the default paints nothing.
    virtual void PaintWindow(HDC DC);
    // Paints the windowless children over the client area.
    void PaintControls(HDC DC);
    // Applies Align and Anchors to the children inside Rect.
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    void Loaded() override;
    const char* ClassName() const override { return "TWinControl"; }

private:
    friend class TControl;
    friend class TWindowHost;
    bool DoKeyDown(TMessage& Message);
    bool DoKeyPress(TMessage& Message);
    bool HandledAsMnemonic(const TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    void HandleSetCursor(TMessage& Message);
    void HandleSize();
    void UpdateShowing();
    void ApplyBoundsToHandle();
    void ApplyFontAndColor();
    void RouteMouseToChild(TMessage& Message, TControl* Child);
    TControl* MouseTarget(const TMessage& Message) const;
    void AnchorControls(int OldClientWidth, int OldClientHeight);

    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    std::unique_ptr<TWindowHost> FHost;
    bool FTabStop = false;
    bool FShowing = false;
    bool FCtl3D = true;
    TBorderStyle FBorderStyle = TBorderStyle::bsNone;
    int FAlignLevel = 0;
    int FAlignedClientWidth = -1;
    int FAlignedClientHeight = -1;
};

// A window painted by its own code: Paint draws on Canvas, which is bound to the window while
// it paints.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint();
    void PaintWindow(HDC DC) override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TCustomControl"; }

private:
    void CanvasChanged();

    std::unique_ptr<TCanvas> FCanvas;
    // What the canvas draws in XOR outside painting; painted over the client area last.
    TXorOverlay FOverlay;
};

// A control without a window: its parent paints it after its own painting and hands it the
// mouse messages over its rectangle.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint();
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TGraphicControl"; }

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// Sends a message to a control at once, as Perform does.
LRESULT SendMessage(TControl* Control, unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// Queues a message for the control; it is handled by the event loop after what is pending, and
// dropped when the control is gone by then. False when there is no control.
bool PostMessage(TControl* Control, unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// The control that owns a window handle; nullptr for other windows.
TWinControl* FindControl(HWND Handle);
// Mouse capture: mouse messages go to the capture control until it is released.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
HWND GetCapture();
bool ReleaseCapture();
// Gives the keyboard focus to the window itself, without asking its form (nullptr takes it from
// every window); answers the window that had it.
HWND SetFocus(HWND Handle);
// Shows Cursor over the window answering WM_SETCURSOR now (call it from that handler).
void SetCursor(TCursor Cursor);
// The mouse position in screen coordinates.
TPoint GetCursorPos();
void MessageBeep(unsigned Type);
