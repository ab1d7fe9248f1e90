#pragma once
// Message boxes and the open and save file dialogs. Every one of them goes through the dialog
// service: Qt's message box and file dialog, or a script that answers without a person and keeps
// what would have been shown.
#include "platform/core/Component.h"
#include "platform/ui/Controls.h"

#include <deque>
#include <vector>

// MessageBox flags: buttons, icon, default button.
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_OKCANCEL = 0x0001;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x0002;
constexpr unsigned MB_YESNOCANCEL = 0x0003;
constexpr unsigned MB_YESNO = 0x0004;
constexpr unsigned MB_RETRYCANCEL = 0x0005;
constexpr unsigned MB_ICONHAND = 0x0010;
constexpr unsigned MB_ICONQUESTION = 0x0020;
constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
constexpr unsigned MB_ICONASTERISK = 0x0040;
constexpr unsigned MB_ICONERROR = MB_ICONHAND;
constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr unsigned MB_DEFBUTTON1 = 0x0000;
constexpr unsigned MB_DEFBUTTON2 = 0x0100;
constexpr unsigned MB_DEFBUTTON3 = 0x0200;
constexpr unsigned MB_APPLMODAL = 0x0000;
constexpr unsigned MB_SYSTEMMODAL = 0x1000;
constexpr unsigned MB_TASKMODAL = 0x2000;
constexpr unsigned MB_TYPEMASK = 0x000F;
constexpr unsigned MB_ICONMASK = 0x00F0;
constexpr unsigned MB_DEFMASK = 0x0F00;

// What a message box returns: the button pressed.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

using TMsgDlgButtons = TSmallSet<struct TMsgDlgButtonsTag>;
constexpr TMsgDlgButtons mbYes{0x001};
constexpr TMsgDlgButtons mbNo{0x002};
constexpr TMsgDlgButtons mbOK{0x004};
constexpr TMsgDlgButtons mbCancel{0x008};
constexpr TMsgDlgButtons mbAbort{0x010};
constexpr TMsgDlgButtons mbRetry{0x020};
constexpr TMsgDlgButtons mbIgnore{0x040};
constexpr TMsgDlgButtons mbAll{0x080};
constexpr TMsgDlgButtons mbNoToAll{0x100};
constexpr TMsgDlgButtons mbYesToAll{0x200};
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

// Results of MessageDlg beyond the message box's: the modal results of its extra buttons.
constexpr int mrAll = 8;
constexpr int mrNoToAll = 9;
constexpr int mrYesToAll = 10;

// One message box as it would be shown. Buttons are the results of its buttons in order; the
// icon is told by the message-dialog type (mtCustom: none).
struct TMessageBoxRequest {
    HWND Owner = nullptr;
    String Text;
    String Caption;
    TMsgDlgType Icon = TMsgDlgType::mtCustom;
    std::vector<int> Buttons;
    int DefaultButton = IDOK;
};

using TOpenOptions = TSmallSet<struct TOpenOptionsTag>;
constexpr TOpenOptions ofReadOnly{0x0001};
constexpr TOpenOptions ofOverwritePrompt{0x0002};
constexpr TOpenOptions ofHideReadOnly{0x0004};
constexpr TOpenOptions ofNoChangeDir{0x0008};
constexpr TOpenOptions ofPathMustExist{0x0010};
constexpr TOpenOptions ofFileMustExist{0x0020};
constexpr TOpenOptions ofEnableSizing{0x0040};

// One file dialog as it would be shown; an accepted dialog sets FileName and FilterIndex.
struct TFileDialogRequest {
    bool Save = false;
    String Title;
    String Filter;
    int FilterIndex = 1;
    String DefaultExt;
    String FileName;
    String InitialDir;
    TOpenOptions Options;
};

// Shows the dialogs; one instance is current for the whole application.
class TDialogService {
public:
    virtual ~TDialogService() = default;
    // The result of the button chosen.
    virtual int MessageBox(const TMessageBoxRequest& Request) = 0;
    // True when the user accepted; Request then carries the choice.
    virtual bool FileDialog(TFileDialogRequest& Request) = 0;
};

// The current service; Qt's dialogs unless a script is installed.
TDialogService* DialogService();

// Answers dialogs from a script while it lives, and records what they would have shown. A
// message box without a scripted answer gets its default button; a file dialog without one is
// cancelled.
class TScriptedDialogs : public TDialogService {
public:
    TScriptedDialogs();
    ~TScriptedDialogs() override;
    TScriptedDialogs(const TScriptedDialogs&) = delete;
    TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

    // The next message box returns Result.
    void Answer(int Result) { FAnswers.push_back(Result); }
    // The next file dialog is accepted with FileName (and FilterIndex), or cancelled.
    void ChooseFile(const String& FileName, int FilterIndex = 1) { FFiles.push_back({true, FileName, FilterIndex}); }
    void CancelFile() { FFiles.push_back({false, String(), 0}); }

    const std::vector<TMessageBoxRequest>& Shown() const { return FShown; }
    const std::vector<TFileDialogRequest>& FileDialogs() const { return FFileDialogs; }

    int MessageBox(const TMessageBoxRequest& Request) override;
    bool FileDialog(TFileDialogRequest& Request) override;

private:
    struct TFileAnswer {
        bool Accept;
        String FileName;
        int FilterIndex;
    };
    TDialogService* FPrevious;
    std::deque<int> FAnswers;
    std::deque<TFileAnswer> FFiles;
    std::vector<TMessageBoxRequest> FShown;
    std::vector<TFileDialogRequest> FFileDialogs;
};

// The platform's MessageBox: Flags choose buttons, icon and default button; returns an ID*.
int MessageBox(HWND Owner, const String& Text, const String& Caption, unsigned Flags);
// The text in a box with the application's title and an OK button.
void ShowMessage(const String& Msg);
// A box titled by its type, with the buttons asked for; returns the modal result of the one
// pressed. HelpCtx is accepted and unused: there is no help file.
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);

    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    // Pairs of description and patterns: "Access Files(*.mdb)|*.mdb|All Files(*.*)|*.*".
    const String& Filter() const { return FFilter; }
    void SetFilter(const String& Value) { FFilter = Value; }
    // 1-based index of the filter shown first, and of the one chosen after Execute.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    // Added to a chosen name that has no extension.
    const String& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
    const String& FileName() const { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    const String& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const String& Value) { FInitialDir = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }

    // Shows the dialog; true when the user chose a file (FileName holds it).
    bool Execute();

protected:
    virtual bool IsSaveDialog() const { return false; }
    const char* ClassName() const override { return "TOpenDialog"; }

private:
    String FTitle;
    String FFilter;
    int FFilterIndex = 1;
    String FDefaultExt;
    String FFileName;
    String FInitialDir;
    TOpenOptions FOptions = ofHideReadOnly | ofEnableSizing;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSaveDialog() const override { return true; }
    const char* ClassName() const override { return "TSaveDialog"; }
};
