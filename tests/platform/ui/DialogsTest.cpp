// Message boxes and file dialogs answered by a script: what would have been shown, and how the
// answer steers the caller.
#include "platform/ui/Dialogs.h"

#include "platform/ui/Forms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// A caller as the backup window writes one: confirm, then act.
String BackUp(HWND Owner)
{
    if (MessageBox(Owner, QStringLiteral("警告：确认备份数据库吗 ？"), QStringLiteral("确认删除"),
                   MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return QStringLiteral("stopped");
    return QStringLiteral("copied");
}

TEST(MessageBoxTest, AScriptedAnswerSteersTheCaller)
{
    TScriptedDialogs dialogs;
    dialogs.Answer(IDCANCEL);
    dialogs.Answer(IDOK);
    EXPECT_EQ(BackUp(nullptr), QStringLiteral("stopped"));
    EXPECT_EQ(BackUp(nullptr), QStringLiteral("copied"));
    ASSERT_EQ(dialogs.Shown().size(), 2u);
    const TMessageBoxRequest& shown = dialogs.Shown().front();
    EXPECT_EQ(shown.Text, QStringLiteral("警告：确认备份数据库吗 ？"));
    EXPECT_EQ(shown.Caption, QStringLiteral("确认删除"));
    EXPECT_EQ(shown.Icon, TMsgDlgType::mtWarning);
    EXPECT_EQ(shown.Buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(shown.DefaultButton, IDOK);
}

TEST(MessageBoxTest, FlagsChooseButtonsIconAndDefault)
{
    TScriptedDialogs dialogs;
    MessageBox(nullptr, QStringLiteral("t"), QStringLiteral("c"), MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION);
    MessageBox(nullptr, QStringLiteral("t"), QStringLiteral("c"), MB_YESNOCANCEL | MB_DEFBUTTON3 | MB_ICONSTOP);
    MessageBox(nullptr, QStringLiteral("t"), QStringLiteral("c"), MB_RETRYCANCEL | MB_ICONASTERISK);
    MessageBox(nullptr, QStringLiteral("t"), QStringLiteral("c"), MB_OK | MB_DEFBUTTON3);
    const auto& shown = dialogs.Shown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].Buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(shown[0].DefaultButton, IDNO);
    EXPECT_EQ(shown[0].Icon, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(shown[1].Buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(shown[1].DefaultButton, IDCANCEL);
    EXPECT_EQ(shown[1].Icon, TMsgDlgType::mtError);
    EXPECT_EQ(shown[2].Buttons, (std::vector<int>{IDRETRY, IDCANCEL}));
    EXPECT_EQ(shown[2].Icon, TMsgDlgType::mtInformation);
    // A default beyond the buttons falls back to the first; no icon flag shows none.
    EXPECT_EQ(shown[3].DefaultButton, IDOK);
    EXPECT_EQ(shown[3].Icon, TMsgDlgType::mtCustom);
}

TEST(MessageBoxTest, AnUnscriptedBoxTakesItsDefaultButton)
{
    TScriptedDialogs dialogs;
    EXPECT_EQ(Application->MessageBox(QStringLiteral("删除吗？"), QStringLiteral("确认删除"), MB_YESNO | MB_DEFBUTTON2),
              IDNO);
    EXPECT_EQ(dialogs.Shown().front().Caption, QStringLiteral("确认删除"));
}

TEST(MessageBoxTest, TheOwnerWindowIsPassedOn)
{
    TScriptedDialogs dialogs;
    TForm form(nullptr);
    BackUp(form.Handle());
    EXPECT_EQ(dialogs.Shown().front().Owner, form.Handle());
}

TEST(MessageDlgTest, ButtonsComeInThePlatformsOrderWithItsDefault)
{
    TScriptedDialogs dialogs;
    dialogs.Answer(mrAll);
    EXPECT_EQ(MessageDlg(QStringLiteral("插入值过程中出错：\n失败\n\n忽略错误？"), TMsgDlgType::mtError, mbAll | mbNo | mbYes, 0),
              mrAll);
    const TMessageBoxRequest& shown = dialogs.Shown().front();
    EXPECT_EQ(shown.Buttons, (std::vector<int>{mrYes, mrNo, mrAll}));
    EXPECT_EQ(shown.DefaultButton, mrYes);
    EXPECT_EQ(shown.Icon, TMsgDlgType::mtError);
    EXPECT_EQ(shown.Caption, QStringLiteral("错误"));

    MessageDlg(QStringLiteral("x"), TMsgDlgType::mtConfirmation, mbOKCancel, 0);
    EXPECT_EQ(dialogs.Shown().back().DefaultButton, mrOk);
    EXPECT_EQ(dialogs.Shown().back().Caption, QStringLiteral("确认"));
}

TEST(MessageDlgTest, ShowMessageAndCustomDialogsCarryTheApplicationTitle)
{
    TScriptedDialogs dialogs;
    Application->SetTitle(QStringLiteral("物品登记"));
    ShowMessage(QStringLiteral("保存成功"));
    MessageDlg(QStringLiteral("y"), TMsgDlgType::mtCustom, mbOK, 0);
    Application->SetTitle(String());
    const auto& shown = dialogs.Shown();
    EXPECT_EQ(shown[0].Caption, QStringLiteral("物品登记"));
    EXPECT_EQ(shown[0].Icon, TMsgDlgType::mtCustom);
    EXPECT_EQ(shown[0].Buttons, (std::vector<int>{IDOK}));
    EXPECT_EQ(shown[1].Caption, QStringLiteral("物品登记"));
}

TEST(MessageDlgTest, TheDefaultErrorReportIsAStopBoxWithTheApplicationTitle)
{
    const struct {
        const char* Message;
        const char* Shown;
    } reports[] = {
        {"“abc”不是有效的整数值", "“abc”不是有效的整数值。"},
        {"找不到字段“年龄”", "找不到字段“年龄”"},
        {"登记成功 ！", "登记成功 ！"},
        {"disk I/O error", "disk I/O error."},
    };
    for (const auto& [message, expected] : reports) {
        TScriptedDialogs dialogs;
        try {
            throw EConvertError(QString::fromUtf8(message));
        } catch (...) {
            Application->HandleException(nullptr);
        }
        ASSERT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_EQ(dialogs.Shown().front().Text, QString::fromUtf8(expected));
        EXPECT_EQ(dialogs.Shown().front().Caption, Application->Title());
        EXPECT_EQ(dialogs.Shown().front().Icon, TMsgDlgType::mtError);
    }
}

TEST(MessageDlgTest, ScriptsNestAndTheOuterOneAnswersAgainAfterTheInnerEnds)
{
    TScriptedDialogs outer;
    {
        TScriptedDialogs inner;
        ShowMessage(QStringLiteral("a"));
        EXPECT_EQ(inner.Shown().size(), 1u);
    }
    ShowMessage(QStringLiteral("b"));
    ASSERT_EQ(outer.Shown().size(), 1u);
    EXPECT_EQ(outer.Shown().front().Text, QStringLiteral("b"));
}

TEST(FileDialogTest, AnAcceptedSaveDialogGivesTheChosenNameAndShowsItsSettings)
{
    TScriptedDialogs dialogs;
    TSaveDialog save(nullptr);
    save.SetTitle(QStringLiteral("保存文件:"));
    save.SetDefaultExt(QStringLiteral("mdb"));
    save.SetFilter(QStringLiteral("Access Files(*.mdb)|*.mdb|All Files(*.*)|*.*"));
    save.SetFileName(QStringLiteral("备份2008-06-06"));
    dialogs.ChooseFile(QStringLiteral("/data/备份2008-06-06.mdb"), 2);
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName(), QStringLiteral("/data/备份2008-06-06.mdb"));
    EXPECT_EQ(save.FilterIndex(), 2);
    const TFileDialogRequest& shown = dialogs.FileDialogs().front();
    EXPECT_TRUE(shown.Save);
    EXPECT_EQ(shown.Title, QStringLiteral("保存文件:"));
    EXPECT_EQ(shown.DefaultExt, QStringLiteral("mdb"));
    EXPECT_EQ(shown.Filter, QStringLiteral("Access Files(*.mdb)|*.mdb|All Files(*.*)|*.*"));
    EXPECT_EQ(shown.FileName, QStringLiteral("备份2008-06-06"));
}

TEST(FileDialogTest, ACancelledOpenDialogKeepsTheFileName)
{
    TScriptedDialogs dialogs;
    TOpenDialog open(nullptr);
    open.SetFileName(QStringLiteral("old.mdb"));
    dialogs.CancelFile();
    EXPECT_FALSE(open.Execute());
    // Unscripted: cancelled too.
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName(), QStringLiteral("old.mdb"));
    ASSERT_EQ(dialogs.FileDialogs().size(), 2u);
    EXPECT_FALSE(dialogs.FileDialogs().front().Save);
}

}  // namespace

// The standard dialogs' own texts follow the language the application loads for the toolkit.
TEST(ToolkitTranslationsTest, TheDialogsOwnTextsFollowTheLoadedLanguage)
{
    const char* context = "QFileDialog";
    const char* label = "Look in:";
    ASSERT_TRUE(Application->LoadToolkitTranslations(QLocale(QLocale::Chinese, QLocale::China)));
    const QString chinese = QCoreApplication::translate(context, label);
    EXPECT_NE(chinese, QString::fromLatin1(label));
    EXPECT_TRUE(chinese.contains(QChar(0x67E5)) || chinese.contains(QChar(0x4F4D))) << chinese.toStdString();
    // A language without translations leaves the toolkit's own English.
    EXPECT_FALSE(Application->LoadToolkitTranslations(QLocale::c()));
    EXPECT_EQ(QCoreApplication::translate(context, label), QString::fromLatin1(label));
}

namespace {

// The texts of the buttons and labels of the modal window the toolkit shows while Show runs;
// the window is then closed.
QStringList ModalWindowTexts(const std::function<void()>& Show)
{
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr)
            return;
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
            if (!button->text().isEmpty())
                texts << button->text();
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                texts << label->text();
        window->close();
    });
    Show();
    return texts;
}

// The program's start leaves the toolkit speaking Chinese, whatever language the desktop has.
class TStartTranslationsTest : public testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
    void TearDown() override
    {
        Application->LoadToolkitTranslations(QLocale::c());
        QLocale::setDefault(FLocale);
    }

    const QLocale FLocale;
};

TEST_F(TStartTranslationsTest, MessageBoxesAndFileDialogsShowChineseTexts)
{
    const QStringList box = ModalWindowTexts([] {
        MessageBox(nullptr, QStringLiteral("警告：确认备份数据库吗 ？"), QStringLiteral("确认删除"), MB_OKCANCEL | MB_ICONWARNING);
    });
    ASSERT_TRUE(box.contains(QStringLiteral("警告：确认备份数据库吗 ？"))) << box.join(u'|').toStdString();
    for (const char* english : {"OK", "&OK", "Cancel", "&Cancel"})
        EXPECT_FALSE(box.contains(QString::fromLatin1(english))) << box.join(u'|').toStdString();
    EXPECT_EQ(box.size(), 3) << "the text and two buttons: " << box.join(u'|').toStdString();

    TOpenDialog open(nullptr);
    open.SetTitle(QStringLiteral("打开一个ACCESS文件:"));
    open.SetFilter(QStringLiteral("Access Files(*.mdb)|*.mdb"));
    const QStringList dialog = ModalWindowTexts([&open] { open.Execute(); });
    ASSERT_FALSE(dialog.isEmpty());
    for (const char* english : {"Look in:", "File &name:", "File name:", "Files of type:", "&Open", "Open", "Cancel"})
        EXPECT_FALSE(dialog.contains(QString::fromLatin1(english))) << english << ": " << dialog.join(u'|').toStdString();
    // Its labels are Chinese ("文件名" ...).
    EXPECT_TRUE(std::any_of(dialog.begin(), dialog.end(), [](const QString& Text) { return Text.contains(QChar(0x6587)); }))
        << dialog.join(u'|').toStdString();
    // The month names the calendars show are Chinese too.
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 10), QStringLiteral("MMM")), QStringLiteral("12月"));
}

// The file list's date column, read once the list has gathered the folder's one file.
TEST_F(TStartTranslationsTest, TheFileDialogsListDatesTheirFilesInChinese)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("bk0001.mdb"));
    QFile(file).open(QIODevice::WriteOnly);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr)
            return;
        const auto* list = window->findChild<QTreeView*>();
        QElapsedTimer waited;
        waited.start();
        while (list != nullptr && list->model()->rowCount(list->rootIndex()) == 0 && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (list != nullptr && list->model()->rowCount(list->rootIndex()) > 0)
            shown = list->model()->index(0, 3, list->rootIndex()).data().toString();
        window->close();
    });
    TOpenDialog open(nullptr);
    open.SetInitialDir(folder.path());
    open.Execute();
    EXPECT_EQ(shown, QLocale(QLocale::Chinese, QLocale::China).toString(QFileInfo(file).lastModified(), QLocale::ShortFormat));
}

}  // namespace
