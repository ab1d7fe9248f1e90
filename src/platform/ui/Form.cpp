// TCustomForm: a top-level window with its focused control, modal showing and closing.
#include "platform/ui/Forms.h"

#include "platform/ui/HintWindow.h"
#include "platform/ui/Menus.h"
#include "platform/ui/WindowHost.h"

#include <QApplication>
#include <QEventLoop>
#include <QMenuBar>
#include <QWidget>

TCustomForm* GetParentForm(const TControl* Control)
{
    while (Control != nullptr && Control->Parent() != nullptr)
        Control = Control->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(Control));
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    FVisible = false;
    SetColor(clBtnFace);
    SetControlStyle(ControlStyle() | csAcceptsControls);
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    if (OnDestroy)
        CallGuarded(this, [this] { OnDestroy(this); });
    Screen->RemoveForm(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    if (Value == FBorderIcons)
        return;
    FBorderIcons = Value;
    RecreateWnd();
}

void TCustomForm::SetMenu(TMainMenu* Value)
{
    if (Value == FMenu)
        return;
    if (FMenu != nullptr)
        FMenu->RemoveFreeNotification(this);
    FMenu = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
    RecreateWnd();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent != nullptr && AComponent == FMenu) {
        FMenu = nullptr;
        if (!ComponentState().Contains(TComponentStateFlag::csDestroying))
            RecreateWnd();
    }
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    if (Value == FFormStyle)
        return;
    FFormStyle = Value;
    RecreateWnd();
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WndParent = nullptr;
    if (FFormStyle == TFormStyle::fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
    if (FBorderStyle == TFormBorderStyle::bsToolWindow || FBorderStyle == TFormBorderStyle::bsSizeToolWin)
        Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle == TFormBorderStyle::bsSizeable || FBorderStyle == TFormBorderStyle::bsSizeToolWin)
        Params.Style |= WS_THICKFRAME;
}

QWidget* TCustomForm::CreateWindowHandle(const TCreateParams& Params)
{
    Qt::WindowFlags flags = Qt::Window;
    switch (FBorderStyle) {
    case TFormBorderStyle::bsNone: flags |= Qt::FramelessWindowHint; break;
    case TFormBorderStyle::bsDialog: flags = Qt::Dialog; break;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin: flags = Qt::Tool; break;
    default: break;
    }
    if (FBorderStyle != TFormBorderStyle::bsNone) {
        // Only the buttons asked for: the title bar is customised.
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (FBorderIcons.Contains(biSystemMenu))
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (FBorderIcons.Contains(biMinimize) && FBorderStyle != TFormBorderStyle::bsDialog)
            flags |= Qt::WindowMinimizeButtonHint;
        if (FBorderIcons.Contains(biMaximize) && FBorderStyle != TFormBorderStyle::bsDialog)
            flags |= Qt::WindowMaximizeButtonHint;
        if (FBorderIcons.Contains(biHelp))
            flags |= Qt::WindowContextHelpButtonHint;
    }
    if (Params.ExStyle & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    InstallHintTracking();
    auto* widget = new QWidget(nullptr, flags);
    widget->setWindowTitle(Params.Caption);
    if (FMenu != nullptr) {
        FMenuBar = new QMenuBar(widget);
        FMenu->FillMenuBar(FMenuBar);
    }
    return widget;
}

void TCustomForm::LayOutMenuBar(TRect& ClientArea)
{
    if (!FMenuBar)
        return;
    const int height = FMenuBar->sizeHint().height();
    FMenuBar->setGeometry(ClientArea.Left, ClientArea.Top, ClientArea.Width(), height);
    ClientArea.Top += height;
}

void TCustomForm::Loaded()
{
    TWinControl::Loaded();
    DoCreate();
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

bool TCustomForm::CanFocus() const { return Visible() && Enabled(); }

void TCustomForm::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation(QStringLiteral("不能将焦点移到已禁用或不可见的窗口"));
    Handle()->activateWindow();
    FocusActiveControl();
}

void TCustomForm::SetActiveControl(TWinControl* Control)
{
    if (Control == FActiveControl)
        return;
    if (Control != nullptr &&
        (Control == this || GetParentForm(Control) != this ||
         (!ComponentState().Contains(TComponentStateFlag::csLoading) && !Control->CanFocus())))
        throw EInvalidOperation(QStringLiteral("不能将焦点移到已禁用或不可见的窗口"));
    FActiveControl = Control;
    if (FActive)
        FocusActiveControl();
}

void TCustomForm::FocusActiveControl()
{
    if (FActiveControl != nullptr)
        FActiveControl->Handle()->setFocus(Qt::OtherFocusReason);
    else if (HandleAllocated())
        Handle()->setFocus(Qt::OtherFocusReason);
}

void TCustomForm::FocusControl(TWinControl* Control)
{
    const bool wasActive = FActive;
    SetActiveControl(Control);
    if (!wasActive && Visible())
        SetFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* Control)
{
    if (Control->ControlState().Contains(csFocusing))
        return false;
    if (Control != this)
        FActiveControl = Control;
    Control->SetControlState(Control->ControlState() | csFocusing);
    struct TFocusingGuard {
        TWinControl* Control;
        ~TFocusingGuard() { Control->SetControlState(Control->ControlState() - csFocusing); }
    } guard{Control};
    // A handler that moves the focus elsewhere ends the walk: the newer request wins.
    auto stillWanted = [this, Control] { return FActiveControl == Control || Control == this; };
    if (FFocusedControl == nullptr)
        FFocusedControl = this;
    while (FFocusedControl != nullptr && !FFocusedControl->ContainsControl(Control)) {
        TWinControl* leaving = FFocusedControl;
        FFocusedControl = FFocusedControl->Parent();
        leaving->Perform(CM_EXIT);
        if (!stillWanted())
            return false;
    }
    while (FFocusedControl != Control) {
        TWinControl* entering = Control;
        while (entering->Parent() != FFocusedControl)
            entering = entering->Parent();
        FFocusedControl = entering;
        entering->Perform(CM_ENTER);
        if (!stillWanted())
            return false;
    }
    return true;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing)
{
    if (Removing && Control->ContainsControl(FFocusedControl))
        FFocusedControl = Control->Parent();
    if (Control->ContainsControl(FActiveControl))
        FActiveControl = nullptr;
}

void TCustomForm::Activated(bool Active)
{
    if (Active == FActive)
        return;
    FActive = Active;
    Perform(Active ? CM_ACTIVATE : CM_DEACTIVATE);
    if (Active) {
        FocusActiveControl();
        if (OnActivate)
            OnActivate(this);
    } else if (OnDeactivate) {
        OnDeactivate(this);
    }
}

void TCustomForm::Show()
{
    SetVisible(true);
    Handle()->activateWindow();
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || FModal)
        throw EInvalidOperation(QStringLiteral("不能将可见的窗口设为模态"));
    FModal = true;
    FModalResult = mrNone;
    Handle()->setWindowModality(Qt::ApplicationModal);
    Show();
    QEventLoop loop;
    do {
        loop.processEvents(QEventLoop::WaitForMoreEvents);
        if (FModalResult != mrNone)
            CloseModal();
    } while (FModalResult == mrNone && !Application->Terminated());
    Hide();
    Handle()->setWindowModality(Qt::NonModal);
    FModal = false;
    return FModalResult;
}

void TCustomForm::CloseModal()
{
    if (!CloseQuery()) {
        FModalResult = mrNone;
        return;
    }
    TCloseAction action = TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone)
        FModalResult = mrNone;
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = Application->MainForm() == this ? TCloseAction::caFree : TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone)
        return;
    // Closing the main form ends the application; the form itself is freed by its owner.
    if (Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::caHide: Hide(); break;
    case TCloseAction::caMinimize: Handle()->showMinimized(); break;
    default: Release(); break;
    }
}

void TCustomForm::Release()
{
    PostMessage(this, CM_RELEASE);
}

void TCustomForm::PlaceOnScreen()
{
    const TCustomForm* center = nullptr;
    switch (FPosition) {
    case TPosition::poMainFormCenter: center = Application->MainForm(); break;
    case TPosition::poOwnerFormCenter: center = dynamic_cast<const TCustomForm*>(Owner()); break;
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter: break;
    default: return;
    }
    const TRect area = center != nullptr && center != this ? center->BoundsRect() : Screen->WorkAreaRect();
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(), Height());
}

// The control holding the window focus, when it lies within the form's focused control: a
// control may keep itself the focused one while a child of its own (a cell editor) has the
// window focus, and that child must see the wheel first; what it leaves goes to its parents.
static TWinControl* WheelTarget(TWinControl* FocusedControl)
{
    for (QWidget* widget = QApplication::focusWidget(); widget != nullptr; widget = widget->parentWidget())
        if (TWinControl* control = FindControl(widget))
            return FocusedControl->ContainsControl(control) ? control : FocusedControl;
    return FocusedControl;
}

void TCustomForm::MouseWheelHandler(TMessage& Message)
{
    if (FFocusedControl != nullptr && FFocusedControl != this)
        Message.Result = WheelTarget(FFocusedControl)->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
    else
        TWinControl::MouseWheelHandler(Message);
}

IDialogButton* TCustomForm::DialogButton(WORD Key) const
{
    if (Key == VK_RETURN)
        if (auto* focused = dynamic_cast<IDialogButton*>(FActiveControl))
            return focused;
    std::vector<TWinControl*> controls;
    GetTabOrderList(controls);
    for (TWinControl* control : controls) {
        auto* button = dynamic_cast<IDialogButton*>(control);
        if (button != nullptr && control->CanFocus() &&
            (Key == VK_RETURN ? button->IsDefaultButton() : button->IsCancelButton()))
            return button;
    }
    return nullptr;
}

void TCustomForm::HandleDialogKey(TMessage& Message)
{
    const auto key = static_cast<WORD>(Message.WParam);
    const TShiftState shift = KeyDataToShiftState(Message.LParam);
    if ((key == VK_RETURN || key == VK_ESCAPE) && shift.Empty()) {
        if (IDialogButton* button = DialogButton(key)) {
            button->PressButton();
            Message.Result = 1;
            return;
        }
    }
    if (!shift.Intersects(ssAlt | ssCtrl)) {
        if (key == VK_TAB) {
            SelectNext(FActiveControl, !shift.Contains(ssShift), true);
            Message.Result = 1;
            return;
        }
        if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && FActiveControl != nullptr &&
            FActiveControl->Parent() != nullptr) {
            FActiveControl->Parent()->SelectNext(FActiveControl, key == VK_RIGHT || key == VK_DOWN, false);
            Message.Result = 1;
            return;
        }
    }
    Broadcast(Message);
}

void TCustomForm::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETTEXT:
        TWinControl::Dispatch(Message);
        if (HandleAllocated())
            Handle()->setWindowTitle(FText);
        return;
    case CM_DIALOGKEY: HandleDialogKey(Message); return;
    case WM_NCCALCSIZE: LayOutMenuBar(*reinterpret_cast<TRect*>(Message.LParam)); return;
    case CM_SHOWINGCHANGED:
        if (Showing()) {
            PlaceOnScreen();
            if (OnShow)
                OnShow(this);
        } else if (OnHide) {
            OnHide(this);
        }
        return;
    case CM_RELEASE: delete this; return;
    default: TWinControl::Dispatch(Message); return;
    }
}
