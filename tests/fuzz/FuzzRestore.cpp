// Bytes offered for restore in the backup window, over a database with records: either the
// restore is refused and the live file and the lists stay as they were, or it is accepted and
// every page lists its records and registers one more.
#include "FuzzSupport.h"

#include "app/backup.h"
#include "app/orecord.h"
#include "app/sys.h"
#include "platform/ado/ADODB.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Memo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <initializer_list>

namespace {

QByteArray Bytes(const String& Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The windows as the program makes them, on a database of their own with records in a
// temporary working directory, made once for the run: each input starts from that database,
// put back in place as a restore does. At the end they are destroyed in the reverse order, with
// the settings file they wrote.
class TProgram {
public:
    TProgram()
    {
        // The connection takes "opr.mdb" in the working directory as it is made; the fuzzer
        // goes on reading its corpus from the directory it started in.
        const String started = QDir::currentPath();
        QDir::setCurrent(FDir.path());
        MF1 = new TMF1(nullptr);
        QDir::setCurrent(started);
        Form3 = new TForm3(nullptr);
        Form4 = new TForm4(nullptr);
        MF1->Show();
        MF1->ADOCon1->Database().ExecuteScript(QStringLiteral(
            "insert into oprint(姓名,部门,数量,日期) values('李四','制造部',5,'2026-03-02 00:00:00');"
            "insert into gift(来客姓名,数量,日期) values('王五',1,'2026-03-03 00:00:00');"));
        MF1->ADOCon1->BackupTo(PathOf("records.mdb"));
    }
    ~TProgram()
    {
        delete Form4;
        delete Form3;
        delete MF1;
        Form4 = nullptr;
        Form3 = nullptr;
        MF1 = nullptr;
        QFile::remove(QFileInfo(Application->ExeName()).absoluteDir().filePath(QStringLiteral("os.ini")));
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    String PathOf(const char* Name) const { return QDir(FDir.path()).filePath(String::fromUtf8(Name)); }

    // The database with its records back in place, every page reset on it.
    void StartOver()
    {
        MF1->ADOCon1->RestoreFrom(PathOf("records.mdb"), [](TADOConnection&) {});
        MF1->BitBtn3->Click();
    }

    TScriptedDialogs Dialogs;

private:
    QTemporaryDir FDir;
};

bool ListsOpen() { return MF1->dbouser1->Active() && MF1->ADOg1->Active() && MF1->ADOR1->Active(); }

String ShownCounts() { return MF1->Memo1->Text() + u'|' + MF1->Memo3->Text() + u'|' + MF1->Memo5->Text(); }

void Fill(std::initializer_list<std::pair<TControl*, const char*>> Fields)
{
    for (const auto& [field, text] : Fields)
        field->SetText(String::fromUtf8(text));
}

// Registers one record on each page as a clerk fills it in; each says it was stored.
void RegisterOnEveryPage(TScriptedDialogs& Dialogs)
{
    Fill({{MF1->ComboBox1, "办公室"}, {MF1->ComboBox3, "张三"}, {MF1->ComboBox5, "铅笔"}, {MF1->ComboBox7, "2"}});
    Fill({{MF1->ComboBox10, "王总"}, {MF1->ComboBox9, "华东公司"}, {MF1->ComboBox13, "茶叶"}, {MF1->ComboBox15, "1"},
          {MF1->ComboBox18, "张三"}, {MF1->ComboBox19, "李四"}, {MF1->ComboBox33, "办公室"}});
    Fill({{MF1->ComboBox27, "铅笔"}, {MF1->ComboBox29, "3"}, {MF1->Edit1, "0.5"}, {MF1->Edit2, "1.5"}, {MF1->ComboBox23, "文具店"},
          {MF1->ComboBox32, "张三"}, {MF1->ComboBox24, "李四"}, {MF1->ComboBox31, "办公室"}});
    for (TButton* confirm : {MF1->Button1, MF1->Button3, MF1->Button5}) {
        const std::size_t shown = Dialogs.Shown().size();
        confirm->Click();
        FUZZ_CHECK(Dialogs.Shown().size() == shown + 1);
        if (!Dialogs.Shown().back().Text.startsWith(QStringLiteral("登记成功")))
            std::fprintf(stderr, "%s\n", Dialogs.Shown().back().Text.toUtf8().constData());
        FUZZ_CHECK(Dialogs.Shown().back().Text.startsWith(QStringLiteral("登记成功")));
        FUZZ_CHECK(ListsOpen());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    EnsureFuzzApplication();
    static TProgram program;
    TScriptedDialogs& dialogs = program.Dialogs;
    program.StartOver();
    const String database = MF1->ADOCon1->DatabasePath();
    const QByteArray live = Bytes(database) + Bytes(database + QStringLiteral("-wal"));
    const String counts = ShownCounts();

    const String offered = program.PathOf("offered.mdb");
    {
        QFile file(offered);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(Data), static_cast<qint64>(Size));
    }
    dialogs.ChooseFile(offered);
    Form4->BitBtn2->Click();
    dialogs.Answer(IDOK);
    Form4->BitBtn5->Click();

    const String result = dialogs.Shown().back().Text;
    // Replaced, but the lists fail on it: the check let a file through that it should refuse.
    FUZZ_CHECK(!result.startsWith(QStringLiteral("数据库已还原")));
    FUZZ_CHECK(ListsOpen());
    if (result != u"数据库还原成功!") {
        FUZZ_CHECK(Bytes(database) + Bytes(database + QStringLiteral("-wal")) == live);
        FUZZ_CHECK(ShownCounts() == counts);
        return 0;
    }
    RegisterOnEveryPage(dialogs);
    return 0;
}
