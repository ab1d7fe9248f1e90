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
        QObject::connect(&FShowTimer, &QTimer::timeout, [this] { ShowHint(); });
        QObject::connect(&FHideTimer, &QTimer::timeout, [this] { HideHint(); });
    }

    THintWindow* Shown() const { return FWindow && FWindow->Visible() ? FWindow.get() : nullptr; }

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
            break;
        default: break;
        }
        return false;
    }

    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove && AComponent == FControl)
            SetHintControl(nullptr, QPoint());
    }

private:
    void MouseOver(QWidget* Widget, QPoint Global)
    {
        TControl* control = FindControl(Widget);
        if (control == nullptr || control == FWindow.get())
            return;
        if (auto* window = dynamic_cast<TWinControl*>(control))
            if (TControl* child = window->ControlAtPos(window->ScreenToClient(Point(Global.x(), Global.y()))))
                control = child;
        SetHintControl(GetHintControl(control), Global);
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
        if (Control == nullptr)
            return;
        Control->FreeNotification(this);
        FCursor = Global;
        if (Application->ShowHint() && !GetShortHint(Control->Hint()).isEmpty())
            FShowTimer.start(Application->HintPause());
    }

    void ShowHint()
    {
        if (FControl == nullptr)
            return;
        if (!FWindow)
            FWindow = std::make_unique<THintWindow>(nullptr);
        const String text = GetShortHint(FControl->Hint());
        TRect rect = FWindow->CalcHintRect(HintMaxWidth, text);
        // Below the mouse pointer, as the platform places it.
        rect.Offset(FCursor.x(), FCursor.y() + 20);
        FWindow->ActivateHint(rect, text);
        FHideTimer.start(Application->HintHidePause());
    }

    void HideHint()
    {
        FHideTimer.stop();
        if (FWindow)
            FWindow->ReleaseHandle();
    }

    TControl* FControl = nullptr;
    QPoint FCursor;
    QTimer FShowTimer;
    QTimer FHideTimer;
    std::unique_ptr<THintWindow> FWindow;
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
