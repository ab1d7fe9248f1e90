// The hint window and the tracking that shows it after the hint pause.
#include "platform/ui/HintWindow.h"

#include "platform/ui/Forms.h"
#include "platform/ui/WindowHost.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>

namespace {

constexpr int HintMaxWidth = 300;
constexpr int HintMargin = 2;

// Follows the control under the mouse and shows or hides its hint by the application's pauses.
class THintTracker : public QObject, public TComponent {
public:
    THintTracker() : TComponent(nullptr)
    {
        FShowTimer.setSingleShot(true);
        FHideTimer.setSingleShot(true);
        FReshowTimer.setSingleShot(true);
        QObject::connect(&FShowTimer, &QTimer::timeout, [this] { ShowHint(); });
        QObject::connect(&FReshowTimer, &QTimer::timeout, [this] { ShowHint(); });
        QObject::connect(&FHideTimer, &QTimer::timeout, [this] { HideHint(); });
    }

    THintWindow* Shown() const { return FShown != nullptr && FShown->Visible() ? FShown : nullptr; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        switch (Event->type()) {
        case QEvent::MouseMove:
            MouseOver(qobject_cast<QWidget*>(Watched), static_cast<QMouseEvent*>(Event)->globalPosition().toPoint());
            break;
        case QEvent::Leave:
            if (FindControl(qobject_cast<QWidget*>(Watched)) != nullptr)
                SetHintControl(nullptr, QPoint());
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel:
            // The hint of this control stays away until the mouse moves to another one.
            HideHint();
            FShowTimer.stop();
            FCursorRect = TRect();
            break;
        default: break;
        }
        return false;
    }

    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation != TOperation::opRemove)
            return;
        if (AComponent == FShown)
            FShown = nullptr;
        if (AComponent == FControl)
            SetHintControl(nullptr, QPoint());
    }

private:
    void MouseOver(QWidget* Widget, QPoint Global)
    {
        TControl* control = FindControl(Widget);
        if (control == nullptr || control == FShown || control == FWindow.get())
            return;
        if (auto* window = dynamic_cast<TWinControl*>(control))
            if (TControl* child = window->ControlAtPos(window->ScreenToClient(Point(Global.x(), Global.y()))))
                control = child;
        control = GetHintControl(control);
        if (control != FControl) {
            SetHintControl(control, Global);
            return;
        }
        if (control == nullptr)
            return;
        FCursor = Global;
        // Leaving the part of the control the hint was for asks for the hint again.
        const TPoint at = control->ScreenToClient(Point(Global.x(), Global.y()));
        if (!FCursorRect.IsEmpty() && !FCursorRect.Contains(at)) {
            const bool wasShown = Shown() != nullptr;
            HideHint();
            StartPause(wasShown);
        } else if (FShowTimer.isActive() && QueryPause(false) == 0) {
            // Waiting, the pointer reached a part that shows its hint at once.
            FShowTimer.start(0);
        }
    }

    void SetHintControl(TControl* Control, QPoint Global)
    {
        if (Control == FControl)
            return;
        if (FControl != nullptr)
            FControl->RemoveFreeNotification(this);
        FControl = Control;
        HideHint();
        FShowTimer.stop();
        FCursorRect = TRect();
        if (Control == nullptr)
            return;
        Control->FreeNotification(this);
        FCursor = Global;
        StartPause(false);
    }

    void StartPause(bool WasShown)
    {
        FShowTimer.stop();
        FCursorRect = TRect();
        if (!Application->ShowHint())
            return;
        const int pause = QueryPause(WasShown);
        if (pause >= 0)
            FShowTimer.start(pause);
    }

    // The pause before the hint at the pointer, as the control under it answers.
    int QueryPause(bool WasShown)
    {
        THintPauseInfo info;
        info.CursorPos = FControl->ScreenToClient(Point(FCursor.x(), FCursor.y()));
        info.Pause = WasShown ? Application->HintShortPause() : Application->HintPause();
        FControl->Perform(CM_HINTSHOWPAUSE, WasShown ? 1 : 0, reinterpret_cast<LPARAM>(&info));
        return info.Pause;
    }

    void ShowHint()
    {
        if (FControl == nullptr)
            return;
        THintInfo info;
        info.HintControl = FControl;
        info.CursorPos = FControl->ScreenToClient(Point(FCursor.x(), FCursor.y()));
        info.CursorRect = FControl->ClientRect();
        // Below the mouse pointer, as the platform places it.
        info.HintPos = Point(FCursor.x(), FCursor.y() + 20);
        info.HintMaxWidth = HintMaxWidth;
        info.HideTimeout = Application->HintHidePause();
        info.HintStr = GetShortHint(FControl->Hint());
        FCursorRect = info.CursorRect;
        if (FControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0 || info.HintStr.isEmpty()) {
            // Asked again, the control may have no hint any more: the old one goes.
            HideHint();
            return;
        }
        FCursorRect = info.CursorRect;
        THintWindow* window = info.HintWindow;
        if (window == nullptr) {
            if (!FWindow)
                FWindow = std::make_unique<THintWindow>(nullptr);
            window = FWindow.get();
        }
        if (window != FShown) {
            HideHint();
            if (FShown != nullptr && FShown != FWindow.get())
                FShown->RemoveFreeNotification(this);
            FShown = window;
            window->FreeNotification(this);
        }
        window->SetColor(info.HintColor);
        TRect rect = window->CalcHintRect(info.HintMaxWidth, info.HintStr);
        rect.Offset(info.HintPos.X, info.HintPos.Y);
        window->ActivateHint(rect, info.HintStr);
        FHideTimer.start(info.HideTimeout);
        // A hint whose text changes by itself (a running count, say) is asked for again.
        if (info.ReshowTimeout > 0)
            FReshowTimer.start(info.ReshowTimeout);
    }

    void HideHint()
    {
        FHideTimer.stop();
        FReshowTimer.stop();
        if (FShown != nullptr)
            FShown->ReleaseHandle();
    }

    TControl* FControl = nullptr;
    QPoint FCursor;
    // Where the pointer may move over FControl before its hint is asked for again.
    TRect FCursorRect;
    QTimer FShowTimer;
    QTimer FHideTimer;
    QTimer FReshowTimer;
    std::unique_ptr<THintWindow> FWindow;
    // The window the hint shows in: FWindow or one the control gave.
    THintWindow* FShown = nullptr;
};

THintTracker*& Tracker()
{
    static THintTracker* tracker = nullptr;
    return tracker;
}

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetVisible(false);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint)
{
    TRect rect = Rect(0, 0, MaxWidth, 0);
    Canvas()->SetFont(Font());
    Canvas()->DrawText(AHint, rect, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    rect.Right += 2 * (HintMargin + 1);
    rect.Bottom += 2 * (HintMargin + 1);
    return rect;
}

void THintWindow::ActivateHint(const TRect& Rect, const String& AHint)
{
    SetCaption(AHint);
    SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    Show();
    Invalidate();
}

void THintWindow::Paint()
{
    TRect rect = ClientRect();
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(rect);
    rect.Inflate(-HintMargin, -HintMargin);
    Canvas()->SetFont(Font());
    Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas()->DrawText(Caption(), rect, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

String GetShortHint(const String& Hint)
{
    const qsizetype bar = Hint.indexOf(u'|');
    return bar < 0 ? Hint : Hint.left(bar);
}

TControl* GetHintControl(TControl* Control)
{
    while (Control != nullptr && !Control->ShowHint())
        Control = Control->Parent();
    return Control;
}

void InstallHintTracking()
{
    if (Tracker() != nullptr)
        return;
    Tracker() = new THintTracker;
    qApp->installEventFilter(Tracker());
}

THintWindow* ShownHintWindow() { return Tracker() != nullptr ? Tracker()->Shown() : nullptr; }
