#pragma once
// Forms, the application object and the screen: top-level windows with their focused control,
// modal showing with a nested event loop, the message loop and its hook, the platform's default
// error report, and the screen's cursor, forms and work areas.
#include "platform/ui/Controls.h"

#include <QCursor>
#include <QPointer>
#include <QTranslator>

#include <exception>
#include <map>
#include <memory>

enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
                       poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

using TBorderIcons = TSmallSet<struct TBorderIconsTag>;
constexpr TBorderIcons biSystemMenu{0x01};
constexpr TBorderIcons biMinimize{0x02};
constexpr TBorderIcons biMaximize{0x04};
constexpr TBorderIcons biHelp{0x08};

class QMenuBar;
class TMainMenu;

// A push button as its form sees it: Enter presses the focused button, else the default one;
// Esc presses the cancel one.
class IDialogButton {
public:
    virtual bool IsDefaultButton() const = 0;
    virtual bool IsCancelButton() const = 0;
    // Presses the button as a click would.
    virtual void PressButton() = 0;

protected:
    ~IDialogButton() = default;
};

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool Active() const { return FActive; }
    // The menu bar; the client area starts below it.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    // The name of the window class: the form's class name, as the platform registers it.
    String WindowClassName() const { return String::fromLatin1(ClassName()); }

    // The control that has (or gets, when the form is activated) the focus. Raises
    // EInvalidOperation for a control that cannot take the focus.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    // Focuses Control now when the form is active, else makes it the active control.
    void FocusControl(TWinControl* Control);
    // Moves the form's focus chain to Control: CM_EXIT up from the old one, CM_ENTER down to the
    // new one. False when a handler moved the focus elsewhere meanwhile.
    bool SetFocusedControl(TWinControl* Control);
    void DefocusControl(TWinControl* Control, bool Removing);

    void Show();
    void Hide() { SetVisible(false); }
    // Shows the form modally and runs an event loop until ModalResult is set or it is closed.
    TModalResult ShowModal();
    // Asks OnCloseQuery, then OnClose decides what closing does (hide, free later, nothing).
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the messages pending now are handled.
    void Release();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    void Dispatch(TMessage& Message) override;
    bool CanFocus() const override;
    void SetFocus() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    // OnCreate; runs when the form's loading ends.
    virtual void DoCreate();
    virtual void DoClose(TCloseAction& Action);
    void MouseWheelHandler(TMessage& Message) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    const char* ClassName() const override { return "TCustomForm"; }

private:
    friend class TWindowHost;
    friend class TApplication;
    void Activated(bool Active);
    void HandleDialogKey(TMessage& Message);
    // The button Enter (or Esc) presses now; nullptr when there is none.
    IDialogButton* DialogButton(WORD Key) const;
    void LayOutMenuBar(TRect& ClientArea);
    void PlaceOnScreen();
    void FocusActiveControl();
    void CloseModal();

    TPosition FPosition = TPosition::poDesigned;
    TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    TMainMenu* FMenu = nullptr;
    QPointer<QMenuBar> FMenuBar;
    bool FKeyPreview = false;
    TModalResult FModalResult = mrNone;
    bool FActive = false;
    bool FModal = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;

protected:
    const char* ClassName() const override { return "TForm"; }
};

// A control of a form built in code: owned by Form, shown on it at the given bounds.
template <class TControlClass>
TControlClass* PlaceOnForm(TCustomForm* Form, int Left, int Top, int Width, int Height)
{
    auto* control = new TControlClass(Form);
    control->SetParent(Form);
    control->SetBounds(Left, Top, Width, Height);
    return control;
}

// The form a control sits on; nullptr when it is on none.
TCustomForm* GetParentForm(const TControl* Control);

using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // Makes the toolkit's own texts (the buttons and labels of the standard dialogs) speak the
    // system's language, as the system's own dialogs do.
    void Initialize();
    // The toolkit's texts in Locale's language; false (and its own English) when there are no
    // translations for it.
    bool LoadToolkitTranslations(const QLocale& Locale);
    // Creates a form owned by the application; the first one becomes the main form.
    template <class TFormClass>
    void CreateForm(TFormClass*& Reference)
    {
        Reference = new TFormClass(this);
        if (FMainForm == nullptr)
            FMainForm = Reference;
    }
    TCustomForm* MainForm() const { return FMainForm; }
    // Shows the main form and handles messages until Terminate or the main form closes.
    void Run();
    // Handles every message pending now, then returns.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // The last step before the application's windows go: frees its forms.
    void DestroyForms() { DestroyComponents(); }

    // The platform's default error report for the exception being handled now: OnException
    // when assigned, else its message in a message box; EAbort is silent. Call it in a catch.
    void HandleException(TObject* Sender);
    void ShowException(const std::exception& E);
    // A message box owned by the active window (see MessageBox in the dialogs unit).
    int MessageBox(const String& Text, const String& Caption, unsigned Flags = 0);

    // Sees input, timer and posted messages before they are handled; Handled stops them.
    TMessageEvent OnMessage;
    TExceptionEvent OnException;
    // True when OnMessage handled Msg.
    bool HookMessage(TMsg& Msg);

    int HintPause() const { return FHintPause; }
    void SetHintPause(int Value) { FHintPause = Value; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int Value) { FHintShortPause = Value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Value) { FHintHidePause = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }

    String ExeName() const;
    // The title of message boxes; the program's name until one is set.
    String Title() const;
    void SetTitle(const String& Value);
    void BringToFront();
    void Restore();
    void Minimize();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    const char* ClassName() const override { return "TApplication"; }

private:
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    int FHintPause = 500;
    int FHintShortPause = 50;
    int FHintHidePause = 2500;
    bool FShowHint = true;
    String FTitle;
    std::unique_ptr<QTranslator> FToolkitTranslator;
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);

    // The cursor of the whole application; crDefault lets each control show its own.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // A cursor by id: the standard ones and those registered with SetCursors.
    QCursor Cursors(TCursor Id) const;
    // Registers an image (file or resource path) as cursor Id with its hot spot; false, with
    // nothing registered, when the image does not load.
    bool SetCursors(TCursor Id, const String& ImagePath, TPoint HotSpot);
    // Forgets a registered cursor; the id shows the arrow again.
    void DeleteCursor(TCursor Id) { FCursors.erase(Id); }

    TCustomForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int Index) const { return FForms.at(static_cast<std::size_t>(Index)); }

    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return ScreenPixelsPerInch; }
    // Work area of the primary monitor, and of the monitor nearest to a rectangle.
    TRect WorkAreaRect() const;
    TRect MonitorWorkAreaFromRect(const TRect& Rect) const;

protected:
    const char* ClassName() const override { return "TScreen"; }

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);

    TCursor FCursor = crDefault;
    std::map<TCursor, QCursor> FCursors;
    std::vector<TCustomForm*> FForms;
};

extern TApplication* Application;
extern TScreen* Screen;
