// Messages sent and posted to controls, the input state of the one handled, capture and focus.
#include "platform/ui/Forms.h"
#include "platform/ui/QtConvert.h"
#include "platform/ui/QueuedCall.h"
#include "platform/ui/WindowHost.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>

#include <optional>
#include <unordered_map>

namespace {

struct TInputState {
    Qt::KeyboardModifiers Modifiers;
    Qt::MouseButtons Buttons;
};

// The input state of the message being handled, as GetKeyState reports it.
std::optional<TInputState> GCurrentInput;
TControl* GCaptureControl = nullptr;

}  // namespace

TShiftState KeysToShiftState(unsigned Keys)
{
    TShiftState result;
    if (Keys & MK_SHIFT)
        result.Include(ssShift);
    if (Keys & MK_CONTROL)
        result.Include(ssCtrl);
    if (Keys & MK_LBUTTON)
        result.Include(ssLeft);
    if (Keys & MK_RBUTTON)
        result.Include(ssRight);
    if (Keys & MK_MBUTTON)
        result.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        result.Include(ssAlt);
    return result;
}

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
    TShiftState result;
    if (GetKeyState(VK_SHIFT) < 0)
        result.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        result.Include(ssCtrl);
    if (KeyData & KF_ALTDOWN_LPARAM)
        result.Include(ssAlt);
    return result;
}

short GetKeyState(int VirtualKey)
{
    const Qt::KeyboardModifiers modifiers =
        GCurrentInput ? GCurrentInput->Modifiers : QGuiApplication::queryKeyboardModifiers();
    const Qt::MouseButtons buttons = GCurrentInput ? GCurrentInput->Buttons : QGuiApplication::mouseButtons();
    bool down = false;
    switch (VirtualKey) {
    case VK_SHIFT: down = modifiers.testFlag(Qt::ShiftModifier); break;
    case VK_CONTROL: down = modifiers.testFlag(Qt::ControlModifier); break;
    case VK_MENU: down = modifiers.testFlag(Qt::AltModifier); break;
    case VK_LBUTTON: down = buttons.testFlag(Qt::LeftButton); break;
    case VK_RBUTTON: down = buttons.testFlag(Qt::RightButton); break;
    case VK_MBUTTON: down = buttons.testFlag(Qt::MiddleButton); break;
    default: break;
    }
    return down ? static_cast<short>(0x8000) : 0;
}

TInputStateScope::TInputStateScope(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons)
    : FHadOuter(GCurrentInput.has_value())
{
    if (FHadOuter) {
        FOuterModifiers = GCurrentInput->Modifiers;
        FOuterButtons = GCurrentInput->Buttons;
    }
    GCurrentInput = TInputState{Modifiers, Buttons};
}

TInputStateScope::~TInputStateScope()
{
    if (FHadOuter)
        GCurrentInput = TInputState{FOuterModifiers, FOuterButtons};
    else
        GCurrentInput.reset();
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons)
{
    TShiftState result;
    if (Modifiers.testFlag(Qt::ShiftModifier))
        result.Include(ssShift);
    if (Modifiers.testFlag(Qt::ControlModifier))
        result.Include(ssCtrl);
    if (Modifiers.testFlag(Qt::AltModifier))
        result.Include(ssAlt);
    if (Buttons.testFlag(Qt::LeftButton))
        result.Include(ssLeft);
    if (Buttons.testFlag(Qt::RightButton))
        result.Include(ssRight);
    if (Buttons.testFlag(Qt::MiddleButton))
        result.Include(ssMiddle);
    return result;
}

unsigned MouseKeysFromQt(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons)
{
    unsigned keys = 0;
    if (Modifiers.testFlag(Qt::ShiftModifier))
        keys |= MK_SHIFT;
    if (Modifiers.testFlag(Qt::ControlModifier))
        keys |= MK_CONTROL;
    if (Buttons.testFlag(Qt::LeftButton))
        keys |= MK_LBUTTON;
    if (Buttons.testFlag(Qt::RightButton))
        keys |= MK_RBUTTON;
    if (Buttons.testFlag(Qt::MiddleButton))
        keys |= MK_MBUTTON;
    return keys;
}

void CallGuarded(TObject* Sender, const std::function<void()>& Call)
{
    try {
        Call();
    } catch (...) {
        Application->HandleException(Sender);
    }
}

bool HookedByApplication(HWND Wnd, const TMessage& Message)
{
    // Without a hook nothing asks where the cursor is, which may cost a round trip to the
    // window system on every mouse move.
    if (!Application->OnMessage)
        return false;
    TMsg msg{Wnd, Message.Msg, Message.WParam, Message.LParam, 0, GetCursorPos()};
    return Application->HookMessage(msg);
}

LRESULT SendMessage(TControl* Control, unsigned Msg, WPARAM WParam, LPARAM LParam)
{
    return Control != nullptr ? Control->Perform(Msg, WParam, LParam) : 0;
}

bool PostMessage(TControl* Control, unsigned Msg, WPARAM WParam, LPARAM LParam)
{
    if (Control == nullptr)
        return false;
    const std::weak_ptr<int> alive = Control->FAliveToken;
    QueueCall([alive, Control, Msg, WParam, LParam] {
        if (alive.expired())
            return;
        auto* window = dynamic_cast<TWinControl*>(Control);
        const TMessage message{Msg, WParam, LParam, 0};
        CallGuarded(Control, [&] {
            if (!HookedByApplication(window != nullptr && window->HandleAllocated() ? window->Handle() : nullptr,
                                     message) &&
                !alive.expired())
                Control->Perform(Msg, WParam, LParam);
        });
    });
    return true;
}

TControl* GetCaptureControl() { return GCaptureControl; }

void SetCaptureControl(TControl* Control)
{
    if (Control == GCaptureControl)
        return;
    TControl* previous = GCaptureControl;
    GCaptureControl = Control;
    if (previous != nullptr)
        previous->Perform(WM_CAPTURECHANGED, 0, 0);
}

HWND GetCapture()
{
    for (TControl* control = GCaptureControl; control != nullptr; control = control->Parent())
        if (auto* window = dynamic_cast<TWinControl*>(control); window != nullptr && window->HandleAllocated())
            return window->Handle();
    return nullptr;
}

bool ReleaseCapture()
{
    SetCaptureControl(nullptr);
    return true;
}

HWND SetFocus(HWND Handle)
{
    QWidget* previous = QApplication::focusWidget();
    if (Handle != nullptr)
        Handle->setFocus(Qt::OtherFocusReason);
    else if (previous != nullptr)
        previous->clearFocus();
    return previous;
}

TPoint GetCursorPos() { return FromQPoint(QCursor::pos()); }

void MessageBeep(unsigned)
{
    QApplication::beep();
}
