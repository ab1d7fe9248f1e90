// The backup window on a real database file: backups, restores, refusals, full disks and starts.
#include "AppTestSupport.h"

#include "platform/core/DateTime.h"
#include "platform/data/Field.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Button.h"
#include "platform/ui/Edit.h"
#include "platform/ui/GroupBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/Memo.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const Tables[] = {"oprint", "gift", "ruku", "ptype", "ouser", "dept", "rmark", "supplier"};

QByteArray FileBytes(const String& Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const String& Path, const QByteArray& Bytes)
{
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(Bytes);
}

// The rows of every table of a database file, opened only to read it.
QStringList TableRows(const TSQLiteDatabase& Database)
{
    QStringList rows;
    for (const char* table : Tables) {
        TSQLiteStatement statement = Database.Prepare(QStringLiteral("select * from %1 order by id").arg(String::fromUtf8(table)));
        while (statement.Step()) {
            QStringList columns{String::fromUtf8(table)};
            for (int i = 0; i < statement.ColumnCount(); ++i)
                columns << statement.ColumnText(i);
            rows << columns.join(u'|');
        }
    }
    return rows;
}

QStringList TableRowsOf(const String& Path) { return TableRows(*TSQLiteDatabase::OpenReadOnly(Path)); }

// Runs statements on a closed database file, as another program would.
void ExecuteOn(const String& Path, const char* Sql)
{
    sqlite3* handle = nullptr;
    sqlite3_open(Path.toUtf8().constData(), &handle);
    ASSERT_EQ(sqlite3_exec(handle, Sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(handle);
    sqlite3_close(handle);
}

// Files the program opens but whose lists no statement of the program can read: a column
// computed by a function the program does not have, quantities whose total overflows.
constexpr const char* UnlistableFiles[] = {
    "alter table oprint add column 折算 integer as (no_such_function(数量))",
    "insert into gift(数量,日期) values(9223372036854775807,'2026-03-04 00:00:00'),(1,'2026-03-05 00:00:00')",
};

// What a restore or backup killed part-way leaves beside the file, and a user's file like it.
constexpr const char* StagedLeftovers[] = {"opr.mdb.part-Ab12Cd", "opr.mdb.part-Ab12Cd-journal", "opr.mdb.part-x0Y9z8",
                                           "opr.mdb.part-Qw34Er-journal"};
const char* const UsersOwnCopy = "opr.mdb.backup";

// The names in Folder that look like a staged copy or its companions.
QStringList StagedNamesIn(const String& Folder)
{
    const QRegularExpression staged(QStringLiteral("\\.part-[A-Za-z0-9]{6}(-journal|-wal|-shm)?$"));
    return QDir(Folder).entryList(QDir::Files | QDir::Hidden).filter(staged);
}

// Holds a write to a file by another connection, not committed, while it lives.
class TOtherWriter {
public:
    explicit TOtherWriter(const String& Path)
    {
        sqlite3_open(Path.toUtf8().constData(), &FHandle);
        sqlite3_exec(FHandle,
                     "BEGIN; insert into oprint(姓名,部门,数量,日期) values('未提交','办公室',9,'2026-01-01 00:00:00');",
                     nullptr, nullptr, nullptr);
    }
    ~TOtherWriter()
    {
        sqlite3_exec(FHandle, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(FHandle);
    }

private:
    sqlite3* FHandle = nullptr;
};

// Files may grow to Limit bytes while it lives: a disk that is full past that size.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Limit)
    {
        getrlimit(RLIMIT_FSIZE, &FPrevious);
        FPreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{Limit, FPrevious.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FPrevious);
        std::signal(SIGXFSZ, FPreviousHandler);
    }

private:
    rlimit FPrevious{};
    void (*FPreviousHandler)(int) = nullptr;
};

class TBackupTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        OpenWindows();
        Execute("insert into oprint(姓名,部门,数量,单位,物品名称,类型,日期,时间,备注) values"
                "('张三','办公室',2,'支','铅笔','HB','2026-03-01 00:00:00','09:00:00','')," 
                "('李四','制造部',5,'盒','订书钉','','2026-03-02 00:00:00','10:00:00','急用');"
                "insert into gift(来客姓名,来客单位,数量,礼品名称,日期) values('王五','销售公司',1,'茶叶','2026-03-03 00:00:00');"
                "insert into ruku(物品名称,数量,单价,金额,日期) values('铅笔',100,0.5,50,'2026-02-01 00:00:00');"
                "insert into dept(部门编号,部门) values('bgs','办公室');");
        MF1->BitBtn3->Click();
        ASSERT_TRUE(MF1->dbouser1->Active());
        ASSERT_EQ(MF1->dbouser1->RecordCount(), 2);
    }

    void TearDown() override
    {
        QFile::setPermissions(Path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        TAppTest::TearDown();
    }

    String Path(const char* Name) const { return QDir(FDir.path()).filePath(String::fromUtf8(Name)); }

    // What a failed step must leave as it was: the live file and its log, and the folder's names.
    struct TLiveState {
        QByteArray Database;
        QByteArray Log;
        QStringList Names;
        bool operator==(const TLiveState&) const = default;
    };
    TLiveState LiveState() const
    {
        return {FileBytes(DatabasePath()), FileBytes(DatabasePath() + QStringLiteral("-wal")),
                QDir(FDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)};
    }

    void Backup(const String& Target)
    {
        FDialogs.ChooseFile(Target);
        Form4->BitBtn1->Click();
        FDialogs.Answer(IDOK);
        Form4->BitBtn4->Click();
    }

    void Restore(const String& Source)
    {
        FDialogs.ChooseFile(Source);
        Form4->BitBtn2->Click();
        FDialogs.Answer(IDOK);
        Form4->BitBtn5->Click();
    }

    const TMessageBoxRequest& LastBox() const { return FDialogs.Shown().back(); }

    // A refused step shows the confirmation, then the failure of its direction in an error box;
    // Shown boxes were there before.
    void ExpectFailure(const char* Message, std::size_t Shown = 0)
    {
        ASSERT_EQ(FDialogs.Shown().size(), Shown + 2);
        EXPECT_TRUE(LastBox().Text.startsWith(String::fromUtf8(Message) + QStringLiteral("\r\r"))) << LastBox().Text.toStdString();
        EXPECT_GT(LastBox().Text.size(), String::fromUtf8(Message).size() + 2) << "the reason is given";
        EXPECT_EQ(LastBox().Caption, u"提示");
        EXPECT_EQ(LastBox().Icon, TMsgDlgType::mtError);
    }
};

TEST_F(TBackupTest, FrameControlsAndDialogs)
{
    EXPECT_EQ(Form4->Caption(), u"数据库备份/还原");
    EXPECT_EQ(Form4->ClientWidth(), 416);
    EXPECT_EQ(Form4->ClientHeight(), 203);
    EXPECT_EQ(Form4->BorderIcons(), biSystemMenu | biMinimize);
    EXPECT_EQ(Form4->GroupBox1->Caption(), u"非管理员请勿操作");
    EXPECT_EQ(Form4->Label1->Caption(), u"备份：");
    EXPECT_EQ(Form4->Label2->Caption(), u"还原：");
    EXPECT_TRUE(Form4->Edit1->ReadOnly());
    EXPECT_TRUE(Form4->Edit2->ReadOnly());
    EXPECT_EQ(Form4->BitBtn1->Caption(), u"选择");
    EXPECT_EQ(Form4->BitBtn2->Caption(), u"选择");
    EXPECT_EQ(Form4->BitBtn4->Caption(), u"备份");
    EXPECT_EQ(Form4->BitBtn5->Caption(), u"还原");
    EXPECT_EQ(Form4->BitBtn3->Caption(), u"取消");
}

TEST_F(TBackupTest, ShowsAtTheMainWindowsOffset)
{
    MF1->SetBounds(130, 90, MF1->Width(), MF1->Height());
    Form4->Show();
    EXPECT_EQ(Form4->Left(), 210);
    EXPECT_EQ(Form4->Top(), 165);
    Form4->Hide();
}

TEST_F(TBackupTest, ChoosingPathsAndCancel)
{
    FDialogs.ChooseFile(Path("b.mdb"));
    Form4->BitBtn1->Click();
    ASSERT_EQ(FDialogs.FileDialogs().size(), 1u);
    const TFileDialogRequest& save = FDialogs.FileDialogs().back();
    EXPECT_TRUE(save.Save);
    EXPECT_EQ(save.Title, u"保存文件:");
    EXPECT_EQ(save.DefaultExt, u"mdb");
    EXPECT_EQ(save.Filter, u"Access Files(*.mdb)|*.mdb|All Files(*.*)|*.*");
    EXPECT_EQ(save.FileName, QStringLiteral("备份") + FormatDateTime(QStringLiteral("yyyy-MM-dd"), Date()));
    EXPECT_EQ(Form4->Edit1->Text(), Path("b.mdb"));

    FDialogs.ChooseFile(Path("a.mdb"));
    Form4->BitBtn2->Click();
    const TFileDialogRequest& open = FDialogs.FileDialogs().back();
    EXPECT_FALSE(open.Save);
    EXPECT_EQ(open.Title, u"打开一个ACCESS文件:");
    EXPECT_EQ(open.Filter, u"Access Files(*.mdb)|*.mdb");
    EXPECT_EQ(Form4->Edit2->Text(), Path("a.mdb"));

    // A cancelled dialog keeps the path chosen before.
    FDialogs.CancelFile();
    Form4->BitBtn1->Click();
    EXPECT_EQ(Form4->Edit1->Text(), Path("b.mdb"));

    Form4->BitBtn3->Click();
    EXPECT_TRUE(Form4->Edit1->Text().isEmpty());
    EXPECT_TRUE(Form4->Edit2->Text().isEmpty());
    EXPECT_TRUE(FDialogs.Shown().empty());
}

TEST_F(TBackupTest, NothingChosenOnlyWarns)
{
    const TLiveState before = LiveState();
    Form4->BitBtn4->Click();
    Form4->BitBtn5->Click();
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("请选择数据备份文件保存目录 ！"), QStringLiteral("请选择数据备份文件 ！")}));
    for (const TMessageBoxRequest& shown : FDialogs.Shown()) {
        EXPECT_EQ(shown.Caption, u"提示");
        EXPECT_EQ(shown.Icon, TMsgDlgType::mtWarning);
    }
    EXPECT_EQ(LiveState(), before);
}

TEST_F(TBackupTest, CancelledConfirmationsChangeNothing)
{
    WriteFile(Path("source.mdb"), "whatever");
    const TLiveState before = LiveState();
    FDialogs.ChooseFile(Path("target.mdb"));
    Form4->BitBtn1->Click();
    FDialogs.Answer(IDCANCEL);
    Form4->BitBtn4->Click();
    FDialogs.ChooseFile(Path("source.mdb"));
    Form4->BitBtn2->Click();
    FDialogs.Answer(IDCANCEL);
    Form4->BitBtn5->Click();
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("警告：确认备份数据库吗 ？"),
                                       QStringLiteral("警告：确认还原数据库吗 ？\r\r(请注意做好数据备份，还原后数据将更新 ！)")}));
    for (const TMessageBoxRequest& confirm : FDialogs.Shown()) {
        EXPECT_EQ(confirm.Caption, u"确认删除");
        EXPECT_EQ(confirm.Icon, TMsgDlgType::mtWarning);
        EXPECT_EQ(confirm.Buttons, (std::vector<int>{IDOK, IDCANCEL}));
    }
    EXPECT_FALSE(QFileInfo::exists(Path("target.mdb")));
    EXPECT_EQ(LiveState(), before);
    EXPECT_EQ(MF1->Memo1->Text(), u"2");
}

// The main window's lists are open and another program holds a write it has not committed: the
// backup is the committed state, one self-contained file, and replaces an older file there.
TEST_F(TBackupTest, BackupOfTheOpenDatabaseHoldsItsCommittedRows)
{
    const String target = Path("备份.mdb");
    WriteFile(target, "an older backup");
    const QStringList committed = TableRows(MF1->ADOCon1->Database());
    {
        TOtherWriter uncommitted(DatabasePath());
        Backup(target);
    }
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("警告：确认备份数据库吗 ？"), QStringLiteral("数据库备份成功!")}));
    EXPECT_EQ(LastBox().Icon, TMsgDlgType::mtInformation);
    EXPECT_EQ(TableRowsOf(target), committed);
    EXPECT_EQ(committed.filter(QStringLiteral("铅笔")).size(), 2);
    const QByteArray header = FileBytes(target).left(20);
    EXPECT_TRUE(header.startsWith("SQLite format 3"));
    EXPECT_EQ(header[18], 1) << "a rollback-journal file, needing no log beside it";
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("-wal")));
    EXPECT_TRUE(MF1->dbouser1->Active());
    EXPECT_EQ(MF1->dbouser1->RecordCount(), 2);
}

TEST_F(TBackupTest, RestoreBringsBackTheBackupAndTheProgramGoesOn)
{
    const String backup = Path("good.mdb");
    Backup(backup);
    const QStringList saved = TableRowsOf(backup);
    Execute("delete from oprint where 姓名='张三';"
            "insert into oprint(姓名,部门,数量,日期) values('赵六','技术中心',1,'2026-04-01 00:00:00'),"
            "('钱七','技术中心',1,'2026-04-02 00:00:00');");
    MF1->BitBtn3->Click();
    ASSERT_EQ(MF1->Memo1->Text(), u"3");

    Restore(backup);
    ASSERT_EQ(FDialogs.Shown().size(), 4u);
    EXPECT_EQ(FDialogs.Shown()[2].Text, u"警告：确认还原数据库吗 ？\r\r(请注意做好数据备份，还原后数据将更新 ！)");
    EXPECT_EQ(FDialogs.Shown()[2].Caption, u"确认删除");
    EXPECT_EQ(LastBox().Text, u"数据库还原成功!");
    EXPECT_EQ(LastBox().Icon, TMsgDlgType::mtInformation);
    EXPECT_EQ(TableRows(MF1->ADOCon1->Database()), saved);
    EXPECT_EQ(TableRowsOf(DatabasePath()), saved);
    // The lists were queried again on the restored file.
    EXPECT_TRUE(MF1->dbouser1->Active());
    EXPECT_EQ(MF1->Memo1->Text(), u"2");
    EXPECT_EQ(MF1->dbouser1->FieldByName(QStringLiteral("姓名"))->AsString(), u"李四");
    EXPECT_TRUE(QFileInfo::exists(backup)) << "the backup itself stays";

    // The program goes on writing and querying the restored database.
    Execute("insert into oprint(姓名,部门,数量,日期) values('孙八','办公室',3,'2026-05-01 00:00:00');");
    MF1->BitBtn3->Click();
    EXPECT_EQ(MF1->Memo1->Text(), u"3");
    EXPECT_EQ(MF1->Memo2->Text(), u"10");
    const QStringList names = QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(names.filter(QStringLiteral("opr.mdb.")).size(), 0) << names.join(u' ').toStdString();
}

// A copy made by hand of a closed database names a log it does not have; it is read as it lies,
// and nothing is made beside it.
TEST_F(TBackupTest, RestoreFromAHandCopyOfAClosedDatabase)
{
    const String copy = Path("copy.mdb");
    {
        BackupDatabase(MF1->ADOCon1->Database().Handle(), copy, DatabasePath(), copy);
        sqlite3* handle = nullptr;
        sqlite3_open(copy.toUtf8().constData(), &handle);
        sqlite3_exec(handle, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        sqlite3_close(handle);
    }
    ASSERT_EQ(FileBytes(copy)[18], 2);
    const QStringList saved = TableRows(MF1->ADOCon1->Database());
    Execute("delete from oprint;");
    Restore(copy);
    EXPECT_EQ(LastBox().Text, u"数据库还原成功!");
    EXPECT_EQ(TableRows(MF1->ADOCon1->Database()), saved);
    EXPECT_FALSE(QFileInfo::exists(copy + QStringLiteral("-wal")));
    EXPECT_FALSE(QFileInfo::exists(copy + QStringLiteral("-shm")));
}

// The working directory no longer holds the database: both directions still act on the file the
// connection opened, and nothing appears where the directory or the executable is.
TEST_F(TBackupTest, BothActOnTheOpenFileWhateverTheWorkingDirectory)
{
    QDir(FDir.path()).mkdir(QStringLiteral("elsewhere"));
    QDir::setCurrent(Path("elsewhere"));
    Backup(Path("good.mdb"));
    EXPECT_EQ(TableRowsOf(Path("good.mdb")), TableRows(MF1->ADOCon1->Database()));
    const QStringList saved = TableRowsOf(Path("good.mdb"));
    Execute("delete from oprint;");
    Restore(Path("good.mdb"));
    EXPECT_EQ(LastBox().Text, u"数据库还原成功!");
    EXPECT_EQ(TableRowsOf(DatabasePath()), saved);
    EXPECT_EQ(MF1->Memo1->Text(), u"2");
    EXPECT_FALSE(QFileInfo::exists(Path("elsewhere/opr.mdb")));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(Application->ExeName()).absoluteDir().filePath(QStringLiteral("opr.mdb"))));
}

TEST_F(TBackupTest, BackupToTheLiveFileIsRefused)
{
    ASSERT_TRUE(QFile::link(DatabasePath(), Path("link.mdb")));
    QDir(FDir.path()).mkdir(QStringLiteral("sub"));
    for (const String& target : {DatabasePath(), Path("sub/../opr.mdb"), Path("link.mdb"), DatabasePath() + QStringLiteral("-wal")}) {
        SCOPED_TRACE(target.toStdString());
        const std::size_t shown = FDialogs.Shown().size();
        const TLiveState before = LiveState();
        Backup(target);
        ExpectFailure("数据库备份失败!", shown);
        EXPECT_EQ(LiveState(), before);
        EXPECT_TRUE(MF1->dbouser1->Active());
    }
}

TEST_F(TBackupTest, BackupWhereNoFileCanBeWrittenFails)
{
    // Root writes into a folder without write permission, but never into /proc.
    QDir(FDir.path()).mkdir(QStringLiteral("locked"));
    QFile::setPermissions(Path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const String unwritable = geteuid() == 0 ? QStringLiteral("/proc/备份.mdb") : Path("locked/备份.mdb");
    for (const String& target : {unwritable, Path("missing/备份.mdb"), Path("")}) {
        SCOPED_TRACE(target.toStdString());
        const std::size_t shown = FDialogs.Shown().size();
        const TLiveState before = LiveState();
        Backup(target);
        ExpectFailure("数据库备份失败!", shown);
        EXPECT_EQ(LiveState(), before);
    }
}

TEST_F(TBackupTest, BackupOntoAFullDiskKeepsTheOlderFile)
{
    const String target = Path("old.mdb");
    WriteFile(target, "an older backup");
    const TLiveState before = LiveState();
    {
        TFileSizeLimit full(4096);
        Backup(target);
    }
    ExpectFailure("数据库备份失败!");
    EXPECT_EQ(FileBytes(target), "an older backup");
    EXPECT_EQ(LiveState(), before) << "no partial copy is left";
}

TEST_F(TBackupTest, RestoreRefusesWhatIsNotADatabaseOfThisProgram)
{
    const String good = Path("good.mdb");
    Backup(good);
    ASSERT_EQ(LastBox().Text, u"数据库备份成功!");
    const QByteArray goodBytes = FileBytes(good);
    WriteFile(Path("empty.mdb"), QByteArray());
    WriteFile(Path("text.mdb"), "姓名,部门\n张三,办公室\n");
    WriteFile(Path("cut.mdb"), goodBytes.left(goodBytes.size() / 2));
    WriteFile(Path("header.mdb"), QByteArray("not a header at all") + goodBytes.mid(19));
    {
        sqlite3* other = nullptr;
        sqlite3_open(Path("other.mdb").toUtf8().constData(), &other);
        sqlite3_exec(other, "create table oprint(id integer primary key, 名称 text); create table notes(t text);", nullptr,
                     nullptr, nullptr);
        sqlite3_close(other);
    }
    ASSERT_TRUE(QFile::link(DatabasePath(), Path("link.mdb")));
    for (const char* name : {"empty.mdb", "text.mdb", "cut.mdb", "header.mdb", "other.mdb", "opr.mdb", "link.mdb", "missing.mdb"}) {
        SCOPED_TRACE(name);
        const std::size_t shown = FDialogs.Shown().size();
        const TLiveState before = LiveState();
        const QByteArray source = FileBytes(Path(name));
        Restore(Path(name));
        ExpectFailure("数据库还原失败!", shown);
        EXPECT_EQ(LiveState(), before);
        EXPECT_EQ(FileBytes(Path(name)), source) << "the source is only read";
        EXPECT_TRUE(MF1->dbouser1->Active());
        EXPECT_EQ(MF1->Memo1->Text(), u"2");
        // The message is about the file offered, and says the live one stays as it was.
        const String text = LastBox().Text;
        EXPECT_TRUE(text.contains(QStringLiteral("所选文件：") + Path(name))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("正在使用的数据库文件没有改变。"))) << text.toStdString();
        EXPECT_FALSE(text.contains(u"无法写入")) << text.toStdString();
        if (Path(name) != DatabasePath()) {
            EXPECT_FALSE(text.contains(DatabasePath())) << "the live file is not blamed: " << text.toStdString();
        }
    }
}

// The file cannot be replaced while another program still has it open: the old database is
// opened again and the lists queried on it.
TEST_F(TBackupTest, RestoreWhileAnotherProgramHoldsTheFileKeepsTheOldDatabase)
{
    const String good = Path("good.mdb");
    Backup(good);
    Execute("insert into oprint(姓名,部门,数量,日期) values('赵六','技术中心',1,'2026-04-01 00:00:00');");
    MF1->BitBtn3->Click();
    const QStringList live = TableRows(MF1->ADOCon1->Database());
    const std::size_t shown = FDialogs.Shown().size();
    {
        sqlite3* reader = nullptr;
        sqlite3_open(DatabasePath().toUtf8().constData(), &reader);
        sqlite3_exec(reader, "select count(*) from oprint", nullptr, nullptr, nullptr);
        Restore(good);
        sqlite3_close(reader);
    }
    ExpectFailure("数据库还原失败!", shown);
    EXPECT_EQ(TableRows(MF1->ADOCon1->Database()), live);
    EXPECT_TRUE(MF1->dbouser1->Active());
    EXPECT_EQ(MF1->Memo1->Text(), u"3");
}

TEST_F(TBackupTest, RestoreRefusesAFileWhoseListsCannotOpen)
{
    for (const char* change : UnlistableFiles) {
        SCOPED_TRACE(change);
        const String offered = Path("offered.mdb");
        QFile::remove(offered);
        Backup(offered);
        ExecuteOn(offered, change);
        const std::size_t shown = FDialogs.Shown().size();
        const TLiveState before = LiveState();
        Restore(offered);
        ExpectFailure("数据库还原失败!", shown);
        EXPECT_EQ(LiveState(), before);
        EXPECT_TRUE(MF1->dbouser1->Active());
        EXPECT_EQ(MF1->Memo1->Text(), u"2");
    }
}

// A new backup takes the database's mode; the restored file is written through a log as the
// live one was, so another program opening it still shows; leftovers of a killed restore go
// while a user's own copy stays.
TEST_F(TBackupTest, BackupAndRestoreCarryTheLiveFilesModes)
{
    ASSERT_TRUE(QFile::setPermissions(DatabasePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    const String backup = Path("good.mdb");
    Backup(backup);
    EXPECT_EQ(QFile::permissions(backup), QFile::permissions(DatabasePath()));
    for (const char* name : StagedLeftovers)
        WriteFile(Path(name), "left over");
    WriteFile(Path(UsersOwnCopy), "kept");
    Restore(backup);
    ASSERT_EQ(LastBox().Text, u"数据库还原成功!");
    EXPECT_EQ(FileBytes(DatabasePath())[18], 2) << "WAL, as the file it replaced";
    for (const char* name : StagedLeftovers)
        EXPECT_FALSE(QFileInfo::exists(Path(name))) << name;
    EXPECT_EQ(FileBytes(Path(UsersOwnCopy)), "kept");
}

TEST_F(TBackupTest, RestoreOntoAFullDiskNamesTheUsersFile)
{
    const String backup = Path("good.mdb");
    Backup(backup);
    const std::size_t shown = FDialogs.Shown().size();
    const TLiveState before = LiveState();
    {
        TFileSizeLimit full(4096);
        Restore(backup);
    }
    ExpectFailure("数据库还原失败!", shown);
    EXPECT_TRUE(LastBox().Text.contains(QStringLiteral("所选文件：") + backup)) << LastBox().Text.toStdString();
    EXPECT_TRUE(LastBox().Text.contains(QStringLiteral("无法写入文件“%1”").arg(DatabasePath()))) << LastBox().Text.toStdString();
    EXPECT_FALSE(LastBox().Text.contains(DatabasePath() + u'.')) << "the staged copy is no file of the user's";
    EXPECT_EQ(LiveState(), before);
}

// Files of the user's named like staged copies, but of no file a step stages for: another file
// beside the database or the backup, the database's name in the backup folder, the killed
// backup's file with a suffix the program did not draw.
constexpr const char* UsersLookalikes[] = {"report.xlsx.part-ABC123", "other.mdb.part-XYZ789", "other.mdb.part-XYZ789-journal",
                                           "bk/report.xlsx.part-ABC123", "bk/other.mdb.part-XYZ789", "bk/opr.mdb.part-Ab12Cd",
                                           "bk/bk0001.mdb.part-User01"};

// A backup killed while it writes its copy leaves it in the backup folder; the next start
// removes it. The database's staged copies go at each backup and restore, the backup's at each
// backup to it; the user's own files stay, whatever their names.
TEST_F(TBackupTest, StagedCopiesGoAtStartAndAtEveryBackupAndRestore)
{
    QDir(FDir.path()).mkdir(QStringLiteral("bk"));
    const String folder = Path("bk");
    const String userFile = Path("bk/bk0001.mdb.old");
    WriteFile(userFile, "kept");
    // The names that look staged in both folders are the user's alone, untouched.
    const auto expectOnlyUsersLookalikes = [&] {
        QStringList users;
        for (const char* name : UsersLookalikes) {
            users << String::fromUtf8(name);
            EXPECT_EQ(FileBytes(Path(name)), "kept") << name;
        }
        QStringList staged = StagedNamesIn(FDir.path());
        for (const String& name : StagedNamesIn(folder))
            staged << QStringLiteral("bk/") + name;
        users.sort();
        staged.sort();
        EXPECT_EQ(staged, users);
        EXPECT_EQ(FileBytes(userFile), "kept");
    };
    const pid_t child = fork();
    if (child == 0) {
        // The copy is cut off by the file-size signal, which ends the process where it stands.
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit size{};
        getrlimit(RLIMIT_FSIZE, &size);
        size.rlim_cur = 8192;
        setrlimit(RLIMIT_FSIZE, &size);
        try {
            MF1->ADOCon1->BackupTo(Path("bk/bk0001.mdb"));
        } catch (...) {
        }
        _exit(0);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    ASSERT_FALSE(StagedNamesIn(folder).isEmpty()) << "the killed backup left its copy";
    // Written after the kill: the next start removes the recorded copy, no other of that backup.
    for (const char* name : UsersLookalikes)
        WriteFile(Path(name), "kept");
    CloseWindows();
    OpenWindows();
    expectOnlyUsersLookalikes();
    EXPECT_FALSE(QFileInfo::exists(Path("bk/bk0001.mdb")));

    const auto leaveCopies = [&](const auto& Names) {
        for (const char* name : Names)
            WriteFile(Path(name), "left over");
    };
    constexpr const char* BackupsLeftovers[] = {"bk/bk0004.mdb.part-Zx81Cv", "bk/bk0004.mdb.part-Zx81Cv-journal",
                                                "bk/bk0004.mdb.part-Po09Iu-journal"};
    leaveCopies(StagedLeftovers);
    leaveCopies(BackupsLeftovers);
    Backup(Path("bk/bk0004.mdb"));
    ASSERT_EQ(LastBox().Text, u"数据库备份成功!");
    expectOnlyUsersLookalikes();
    leaveCopies(StagedLeftovers);
    Restore(Path("bk/bk0004.mdb"));
    ASSERT_EQ(LastBox().Text, u"数据库还原成功!");
    expectOnlyUsersLookalikes();
}

// Totals a list shows beyond what its footer can hold: whether the file is taken or not, the
// message says which.
TEST_F(TBackupTest, RestoreSaysWhetherTheFileWasReplaced)
{
    const String offered = Path("offered.mdb");
    Backup(offered);
    ExecuteOn(offered, "insert into ruku(物品名称,数量,单价,金额,日期) values('x',1,1,1e300,'2026-02-02 00:00:00')");
    const TLiveState before = LiveState();
    Restore(offered);
    const bool replaced = TableRowsOf(DatabasePath()) == TableRowsOf(offered);
    EXPECT_EQ(LastBox().Text.startsWith(QStringLiteral("数据库还原失败!")), !replaced) << LastBox().Text.toStdString();
    if (!replaced) {
        EXPECT_EQ(LiveState(), before);
    }
}

// The program starts on its database as main does: the main window, then the other two, then
// the main window shown.
class TStartTest : public TAppTest {};

// A file on which a page's list cannot open: the start removes what a killed restore left, says
// why the list failed, once, keeps the window with the other pages listed, and a restore from a
// good backup brings the program back.
TEST_F(TStartTest, StartOnAFileWhoseListsCannotOpenKeepsTheWindowForRestore)
{
    OpenWindows();
    Execute("insert into oprint(姓名,部门,数量,日期) values('张三','办公室',2,'2026-03-01 00:00:00');"
            "insert into gift(来客姓名,数量,日期) values('王五',1,'2026-03-03 00:00:00');");
    const String backup = QDir(FDir.path()).filePath(QStringLiteral("good.mdb"));
    MF1->ADOCon1->BackupTo(backup);
    CloseWindows();
    ExecuteOn(DatabasePath(), UnlistableFiles[0]);
    const auto inFolder = [this](const char* Name) { return QDir(FDir.path()).filePath(String::fromUtf8(Name)); };
    for (const char* name : StagedLeftovers)
        WriteFile(inFolder(name), "left over");

    OpenWindows();
    for (const char* name : StagedLeftovers)
        EXPECT_FALSE(QFileInfo::exists(inFolder(name))) << name;
    ASSERT_EQ(Messages().size(), 1u) << Messages().join(u'\n').toStdString();
    EXPECT_TRUE(Messages().front().contains(u"no_such_function")) << Messages().front().toStdString();
    EXPECT_TRUE(MF1->Visible());
    EXPECT_FALSE(MF1->dbouser1->Active());
    EXPECT_TRUE(MF1->ADOg1->Active());
    EXPECT_TRUE(MF1->ADOR1->Active());

    FDialogs.ChooseFile(backup);
    Form4->BitBtn2->Click();
    FDialogs.Answer(IDOK);
    Form4->BitBtn5->Click();
    EXPECT_EQ(Messages().last(), u"数据库还原成功!");
    EXPECT_TRUE(MF1->dbouser1->Active());
    EXPECT_EQ(MF1->dbouser1->FieldByName(QStringLiteral("姓名"))->AsString(), u"张三");
}

// A start on a full disk cannot make its database: it says why, keeps the window without lists,
// and a restore from a good backup brings the program back.
TEST_F(TStartTest, StartOnAFullDiskSaysSoAndKeepsTheWindowForRestore)
{
    OpenWindows();
    Execute("insert into oprint(姓名,部门,数量,日期) values('张三','办公室',2,'2026-03-01 00:00:00');");
    const String backup = QDir(FDir.path()).filePath(QStringLiteral("good.mdb"));
    MF1->ADOCon1->BackupTo(backup);
    CloseWindows();
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(DatabasePath() + String::fromUtf8(suffix));

    {
        const TFileSizeLimit full(0);
        OpenWindows();
    }
    ASSERT_EQ(Messages().size(), 1u) << Messages().join(u'\n').toStdString();
    EXPECT_TRUE(Messages().front().contains(u"磁盘已满")) << Messages().front().toStdString();
    EXPECT_TRUE(MF1->Visible());
    EXPECT_FALSE(MF1->ADOCon1->Connected());

    FDialogs.ChooseFile(backup);
    Form4->BitBtn2->Click();
    FDialogs.Answer(IDOK);
    Form4->BitBtn5->Click();
    EXPECT_EQ(Messages().last(), u"数据库还原成功!");
    ASSERT_TRUE(MF1->dbouser1->Active());
    EXPECT_EQ(MF1->dbouser1->FieldByName(QStringLiteral("姓名"))->AsString(), u"张三");
}

}  // namespace
