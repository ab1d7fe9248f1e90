// Message boxes and file dialogs on Qt, and the scripted service that stands in for a person.
#include "platform/ui/Dialogs.h"

#include "platform/ui/Forms.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <map>

namespace {

// Qt's file list writes its dates in the desktop's language; the program's dialogs speak the
// program's own language (Chinese), dates included.
class TProgramLocaleDates : public QIdentityProxyModel {
public:
    static constexpr int DateModifiedColumn = 3;

    QVariant data(const QModelIndex& Index, int Role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (Role != Qt::DisplayRole || Index.column() != DateModifiedColumn || files == nullptr)
            return QIdentityProxyModel::data(Index, Role);
        return QLocale().toString(files->lastModified(mapToSource(Index)), QLocale::ShortFormat);
    }
};

struct TButtonKind {
    int Result;
    QMessageBox::StandardButton Qt;
};

// The message box's buttons; "全部" (All) has no standard Qt button and gets a plain one.
constexpr std::array<TButtonKind, 10> ButtonKinds{{
    {IDOK, QMessageBox::Ok},
    {IDCANCEL, QMessageBox::Cancel},
    {IDABORT, QMessageBox::Abort},
    {IDRETRY, QMessageBox::Retry},
    {IDIGNORE, QMessageBox::Ignore},
    {IDYES, QMessageBox::Yes},
    {IDNO, QMessageBox::No},
    {mrAll, QMessageBox::NoButton},
    {mrNoToAll, QMessageBox::NoToAll},
    {mrYesToAll, QMessageBox::YesToAll},
}};

QMessageBox::Icon QtIcon(TMsgDlgType Type)
{
    switch (Type) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtInformation: return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

QWidget* DialogParent(HWND Owner) { return Owner != nullptr ? Owner->window() : QApplication::activeWindow(); }

// "Name|*.a;*.b|..." as Qt's "Name (*.a *.b)" filters.
QStringList QtNameFilters(const String& Filter)
{
    const QStringList parts = Filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ').replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters.append(parts[i] + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

class TQtDialogService : public TDialogService {
public:
    int MessageBox(const TMessageBoxRequest& Request) override
    {
        // A carriage return alone breaks the line too, as in the platform's boxes.
        const String text = QString(Request.Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        QMessageBox box(QtIcon(Request.Icon), Request.Caption, text,
                        QMessageBox::NoButton, DialogParent(Request.Owner));
        std::map<QAbstractButton*, int> results;
        for (const int result : Request.Buttons) {
            const auto kind = std::find_if(ButtonKinds.begin(), ButtonKinds.end(),
                                           [result](const TButtonKind& Kind) { return Kind.Result == result; });
            QPushButton* button = kind->Qt != QMessageBox::NoButton
                                      ? box.addButton(kind->Qt)
                                      : box.addButton(QStringLiteral("全部"), QMessageBox::AcceptRole);
            results[button] = result;
            if (result == Request.DefaultButton)
                box.setDefaultButton(button);
            if (result == IDCANCEL || Request.Buttons.size() == 1)
                box.setEscapeButton(button);
        }
        box.exec();
        const auto chosen = results.find(box.clickedButton());
        return chosen != results.end() ? chosen->second : IDCANCEL;
    }

    bool FileDialog(TFileDialogRequest& Request) override
    {
        QFileDialog dialog(QApplication::activeWindow(), Request.Title, Request.InitialDir);
        dialog.setProxyModel(new TProgramLocaleDates);  // the dialog owns it
        dialog.setAcceptMode(Request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(Request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !Request.Options.Contains(ofOverwritePrompt));
        const QStringList filters = QtNameFilters(Request.Filter);
        dialog.setNameFilters(filters);
        if (Request.FilterIndex >= 1 && Request.FilterIndex <= filters.size())
            dialog.selectNameFilter(filters[Request.FilterIndex - 1]);
        dialog.setDefaultSuffix(Request.DefaultExt);
        if (!Request.FileName.isEmpty())
            dialog.selectFile(Request.FileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        Request.FileName = dialog.selectedFiles().front();
        Request.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
        return true;
    }
};

TDialogService*& CurrentService()
{
    static TQtDialogService qtDialogs;
    static TDialogService* current = &qtDialogs;
    return current;
}

int ShowBox(HWND Owner, const String& Text, const String& Caption, TMsgDlgType Icon, std::vector<int> Buttons,
            int DefaultButton)
{
    TMessageBoxRequest request{Owner, Text, Caption, Icon, std::move(Buttons), DefaultButton};
    return DialogService()->MessageBox(request);
}

}  // namespace

TDialogService* DialogService() { return CurrentService(); }

TScriptedDialogs::TScriptedDialogs() : FPrevious(CurrentService()) { CurrentService() = this; }

TScriptedDialogs::~TScriptedDialogs() { CurrentService() = FPrevious; }

int TScriptedDialogs::MessageBox(const TMessageBoxRequest& Request)
{
    FShown.push_back(Request);
    if (FAnswers.empty())
        return Request.DefaultButton;
    const int answer = FAnswers.front();
    FAnswers.pop_front();
    return answer;
}

bool TScriptedDialogs::FileDialog(TFileDialogRequest& Request)
{
    FFileDialogs.push_back(Request);
    if (FFiles.empty())
        return false;
    const TFileAnswer answer = FFiles.front();
    FFiles.pop_front();
    if (!answer.Accept)
        return false;
    Request.FileName = answer.FileName;
    Request.FilterIndex = answer.FilterIndex;
    return true;
}

int MessageBox(HWND Owner, const String& Text, const String& Caption, unsigned Flags)
{
    std::vector<int> buttons;
    switch (Flags & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: buttons = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: buttons = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: buttons = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: buttons = {IDRETRY, IDCANCEL}; break;
    default: buttons = {IDOK}; break;
    }
    TMsgDlgType icon = TMsgDlgType::mtCustom;
    switch (Flags & MB_ICONMASK) {
    case MB_ICONHAND: icon = TMsgDlgType::mtError; break;
    case MB_ICONQUESTION: icon = TMsgDlgType::mtConfirmation; break;
    case MB_ICONEXCLAMATION: icon = TMsgDlgType::mtWarning; break;
    case MB_ICONASTERISK: icon = TMsgDlgType::mtInformation; break;
    default: break;
    }
    const std::size_t defaultIndex = (Flags & MB_DEFMASK) >> 8;
    const int defaultButton = defaultIndex < buttons.size() ? buttons[defaultIndex] : buttons.front();
    return ShowBox(Owner, Text, Caption, icon, std::move(buttons), defaultButton);
}

void ShowMessage(const String& Msg) { ShowBox(nullptr, Msg, Application->Title(), TMsgDlgType::mtCustom, {IDOK}, IDOK); }

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int /*HelpCtx*/)
{
    static const std::array<std::pair<TMsgDlgButtons, int>, 10> order{{
        {mbYes, mrYes}, {mbNo, mrNo}, {mbOK, mrOk}, {mbCancel, mrCancel}, {mbAbort, mrAbort},
        {mbRetry, mrRetry}, {mbIgnore, mrIgnore}, {mbAll, mrAll}, {mbNoToAll, mrNoToAll}, {mbYesToAll, mrYesToAll},
    }};
    std::vector<int> results;
    for (const auto& [button, result] : order)
        if (Buttons.Contains(button))
            results.push_back(result);
    const int defaultButton = Buttons.Contains(mbOK) ? mrOk : Buttons.Contains(mbYes) ? mrYes : mrRetry;
    String caption;
    switch (DlgType) {
    case TMsgDlgType::mtWarning: caption = QStringLiteral("警告"); break;
    case TMsgDlgType::mtError: caption = QStringLiteral("错误"); break;
    case TMsgDlgType::mtInformation: caption = QStringLiteral("信息"); break;
    case TMsgDlgType::mtConfirmation: caption = QStringLiteral("确认"); break;
    default: caption = Application->Title(); break;
    }
    return ShowBox(nullptr, Msg, caption, DlgType, std::move(results), defaultButton);
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

bool TOpenDialog::Execute()
{
    TFileDialogRequest request{IsSaveDialog(), FTitle, FFilter, FFilterIndex, FDefaultExt, FFileName, FInitialDir, FOptions};
    if (!DialogService()->FileDialog(request))
        return false;
    FFileName = request.FileName;
    FFilterIndex = request.FilterIndex;
    return true;
}
