// Connections on real files: creation, column types, refusals, read-only, locks and transactions.
#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"

#include "platform/ado/FilePermissions.h"
#include "platform/ado/TestTables.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/data/Field.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cerrno>

namespace {

class ADOConnectionTest : public testing::Test {
protected:
    String PathOf(const char* Name) const { return FDir.filePath(String::fromUtf8(Name)); }

    void Connect(TADOConnection& Connection, const String& Path) { ConnectWithTestTables(Connection, Path); }

    static String Column(TADOConnection& Connection, const String& Sql, int Index = 0)
    {
        TSQLiteStatement statement = Connection.Database().Prepare(Sql);
        QStringList values;
        while (statement.Step())
            values << statement.ColumnText(Index);
        return values.join(u',');
    }

    static void WriteFile(const String& Path, const QByteArray& Bytes)
    {
        QFile file(Path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Bytes);
    }

    static QByteArray ReadFile(const String& Path)
    {
        QFile file(Path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir FDir;
};

}  // namespace

TEST_F(ADOConnectionTest, DataSourceResolvesAgainstTheWorkingDirectoryOnce)
{
    const String before = QDir::currentPath();
    QDir::setCurrent(FDir.path());
    TADOConnection connection(nullptr);
    connection.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=opr.mdb;Persist Security Info=False"));
    QDir::setCurrent(before);
    EXPECT_EQ(connection.DatabasePath(), QDir(FDir.path()).absoluteFilePath(QStringLiteral("opr.mdb")));
    EXPECT_TRUE(connection.LoginPrompt());
    connection.SetLoginPrompt(false);
    connection.SetConnected(true);
    EXPECT_TRUE(connection.Connected());
    EXPECT_TRUE(QFile::exists(PathOf("opr.mdb")));
    connection.Close();
    EXPECT_FALSE(connection.Connected());
}

TEST_F(ADOConnectionTest, NewFileIsCreatedInWalModeAndReportedOnce)
{
    int reports = 0;
    TADOConnection connection(nullptr);
    connection.SetConnectionString(QStringLiteral("Data Source=") + PathOf("new.mdb"));
    connection.OnNewDatabase = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &connection);
        EXPECT_TRUE(connection.Connected());
        ++reports;
    };
    connection.Open();
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(Column(connection, QStringLiteral("pragma journal_mode")), u"wal");
    connection.Close();
    connection.Open();
    EXPECT_EQ(reports, 1);
}

TEST_F(ADOConnectionTest, FailedNewDatabaseHandlerLeavesTheConnectionClosed)
{
    TADOConnection connection(nullptr);
    connection.SetConnectionString(QStringLiteral("Data Source=") + PathOf("new.mdb"));
    connection.OnNewDatabase = [&](TObject*) { connection.Execute(QStringLiteral("create table t(a TEXT, a TEXT)")); };
    EXPECT_THROW(connection.Open(), EDatabaseError);
    EXPECT_FALSE(connection.Connected());
}

TEST_F(ADOConnectionTest, JetColumnTypesAreStoredByTheProviderConventions)
{
    TADOConnection connection(nullptr);
    Connect(connection, PathOf("opr.mdb"));
    QStringList tables;
    TStringList names;
    connection.GetTableNames(&names);
    for (int i = 0; i < names.Count(); ++i)
        tables << names.Strings(i);
    EXPECT_EQ(tables.join(u','), u"dept,gift,oprint,ouser,ptype,rmark,ruku");
    connection.GetTableNames(&names, true);
    EXPECT_GE(names.IndexOf(QStringLiteral("sqlite_sequence")), 0);
    EXPECT_EQ(Column(connection, QStringLiteral("select name || ' ' || type from pragma_table_info('ruku')")),
              String::fromUtf8("id INTEGER,物品名称 TEXT,类型 TEXT,供应商 TEXT,数量 INTEGER,单位 TEXT,单价 REAL,金额 REAL,"
                               "申购人 TEXT,申购部门 TEXT,登记人 TEXT,日期 DATETEXT,时间 TEXT,备注 TEXT"));
    EXPECT_EQ(Column(connection, QStringLiteral("select pk from pragma_table_info('gift') where name = 'id'")), u"1");
    connection.Execute(String::fromUtf8("insert into oprint(姓名, 单位, 备注) values('Alice', '个', 'Memo')"));
    // Text compares without case; the counters start at 0 when an insert leaves them out.
    EXPECT_EQ(Column(connection, String::fromUtf8("select id from oprint where 姓名 = 'ALICE' and 备注 = 'memo'")), u"1");
    EXPECT_EQ(connection.Execute(String::fromUtf8("insert into rmark(备注) values('x')")), 1);
    EXPECT_EQ(Column(connection, String::fromUtf8("select 次数 from rmark")), u"0");
    // Deleted ids are never given out again.
    connection.Execute(QStringLiteral("delete from rmark"));
    connection.Execute(String::fromUtf8("insert into rmark(备注) values('y')"));
    EXPECT_EQ(Column(connection, QStringLiteral("select id from rmark")), u"2");
}

TEST_F(ADOConnectionTest, TablesCreatedAfterOpeningSortTheirTextInPinyinOrder)
{
    TADOConnection connection(nullptr);
    Connect(connection, PathOf("opr.mdb"));
    connection.Execute(QStringLiteral("create table later(id COUNTER PRIMARY KEY, 名称 TEXT)"));
    EXPECT_TRUE(connection.Translate(String::fromUtf8("select * from later order by 名称")).Sql.contains(u"PINYIN"));
    for (const char* name : {"张", "安", "李"})
        connection.Execute(String::fromUtf8("insert into later(名称) values('%1')").arg(String::fromUtf8(name)));
    TADOQuery query(nullptr);
    query.SetConnection(&connection);
    query.SQL()->SetText(String::fromUtf8("select 名称 from later order by 名称"));
    query.Open();
    QStringList names;
    for (; !query.Eof(); query.Next())
        names << query.Fields()->Fields(0)->AsString();
    EXPECT_EQ(names.join(u','), String::fromUtf8("安,李,张"));
}

TEST_F(ADOConnectionTest, ForeignFilesAreRefusedAndLeftUntouched)
{
    QByteArray jet(2048, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    const String jetPath = PathOf("jet.mdb");
    WriteFile(jetPath, jet);
    const String textPath = PathOf("notes.mdb");
    WriteFile(textPath, QByteArray("just some text, not a database at all"));

    TADOConnection connection(nullptr);
    try {
        Connect(connection, jetPath);
        FAIL() << "a Jet file opened";
    } catch (const EDatabaseError& E) {
        EXPECT_TRUE(E.Message().contains(u"Jet")) << E.Message().toStdString();
    }
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(ReadFile(jetPath), jet);

    TADOConnection other(nullptr);
    EXPECT_THROW(Connect(other, textPath), EDatabaseError);
    EXPECT_EQ(ReadFile(textPath), QByteArray("just some text, not a database at all"));
    EXPECT_FALSE(QFile::exists(textPath + QStringLiteral("-wal")));
}

TEST_F(ADOConnectionTest, OpeningAnExistingFileWritesNothingToIt)
{
    // Another program's database, in the rollback-journal mode SQLite files have by default.
    const String path = PathOf("other.mdb");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "create table notes(id integer primary key, body text); insert into notes(body) values('x')",
                           nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const QByteArray before = ReadFile(path);

    TADOConnection connection(nullptr);
    connection.SetConnectionString(QStringLiteral("Data Source=") + path);
    connection.OnNewDatabase = [](TObject*) { FAIL() << "an existing file was reported new"; };
    connection.Open();
    TStringList tables;
    connection.GetTableNames(&tables);
    EXPECT_EQ(tables.Text().trimmed(), u"notes");
    EXPECT_FALSE(connection.ReadOnly());
    connection.Close();
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(before.mid(18, 2), QByteArray("\1\1", 2));  // still the rollback journal
}

TEST_F(ADOConnectionTest, ReadOnlyFileInAReadOnlyFolderOpensReadOnly)
{
    const String folder = PathOf("shared");
    ASSERT_TRUE(QDir().mkpath(folder));
    const String path = QDir(folder).filePath(QStringLiteral("opr.mdb"));
    {
        TADOConnection writer(nullptr);
        Connect(writer, path);
        writer.Execute(String::fromUtf8("insert into dept(部门) values('财务部')"));
    }
    const TWriteProtected file(path);
    const TWriteProtected files(folder);
    const TPermissionsApply asAUser;

    TADOConnection connection(nullptr);
    connection.SetConnectionString(QStringLiteral("Data Source=") + path);
    connection.Open();
    EXPECT_TRUE(connection.ReadOnly());
    EXPECT_EQ(Column(connection, String::fromUtf8("select 部门 from dept")), String::fromUtf8("财务部"));
    try {
        connection.Execute(String::fromUtf8("insert into dept(部门) values('x')"));
        FAIL() << "wrote to a read-only file";
    } catch (const EDatabaseError& E) {
        EXPECT_TRUE(E.Message().startsWith(u"数据库是只读的，不能写入 [SQL: insert")) << E.Message().toStdString();
    }
    connection.Close();
    EXPECT_FALSE(connection.ReadOnly());
}

TEST_F(ADOConnectionTest, UnknownProviderAndChangesWhileOpenAreRefused)
{
    TADOConnection connection(nullptr);
    connection.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Data Source=") + PathOf("a.db"));
    EXPECT_THROW(connection.Open(), EDatabaseError);
    EXPECT_FALSE(QFile::exists(PathOf("a.db")));
    Connect(connection, PathOf("b.db"));
    EXPECT_THROW(connection.SetConnectionString(QStringLiteral("Data Source=c.db")), EDatabaseError);
}

TEST_F(ADOConnectionTest, LockedFileFailsAfterTheTimeout)
{
    TADOConnection writer(nullptr);
    Connect(writer, PathOf("opr.mdb"));
    writer.Database().ExecuteScript(String::fromUtf8("begin immediate; insert into rmark(备注) values('a')"));
    TADOConnection other(nullptr);
    Connect(other, PathOf("opr.mdb"));
    other.SetCommandTimeout(1);
    try {
        other.Database().ExecuteScript(String::fromUtf8("insert into rmark(备注) values('b')"));
        FAIL() << "wrote through a lock";
    } catch (const EDatabaseError& E) {
        EXPECT_TRUE(E.Message().startsWith(u"数据库正被其他程序使用，请稍后再试 [SQL: insert")) << E.Message().toStdString();
    }
    // Readers still see the last committed state meanwhile.
    EXPECT_EQ(Column(other, String::fromUtf8("select count(*) from rmark")), u"0");
    writer.Database().ExecuteScript(QStringLiteral("commit"));
}

TEST_F(ADOConnectionTest, EngineReasonsAreSaidInChineseBesideTheStatement)
{
    QByteArray garbled(4096, 'x');
    garbled.replace(0, 16, QByteArray("SQLite format 3\0", 16));
    WriteFile(PathOf("garbled.mdb"), garbled);
    const struct {
        const char* File;
        const char* Setup;
        const char* Sql;
        const char* Message;
    } cases[] = {
        {"full.mdb", "PRAGMA max_page_count=1", "insert into rmark(备注) values(hex(randomblob(100000)))",
         "数据库或磁盘已满 [SQL: insert into rmark(备注) values(hex(randomblob(100000)))]"},
        {"garbled.mdb", "", "select count(*) from rmark", "文件不是数据库 [SQL: pragma schema_version]"},
        // Faults of the statement itself keep SQLite's words, which name the part at fault.
        {"opr.mdb", "", "select 姓名 from nowhere", "no such table: nowhere [SQL: select 姓名 from nowhere]"},
    };
    for (const auto& c : cases) {
        TADOConnection connection(nullptr);
        Connect(connection, PathOf(c.File));
        if (*c.Setup)
            connection.Database().ExecuteScript(String::fromUtf8(c.Setup));
        try {
            connection.Execute(String::fromUtf8(c.Sql));
            ADD_FAILURE() << c.Sql << " ran";
        } catch (const EDatabaseError& E) {
            EXPECT_EQ(E.Message(), String::fromUtf8(c.Message));
        }
    }
    // A write the full disk refused reaches SQLite as a write error.
    EXPECT_EQ(EngineReason(SQLITE_IOERR_WRITE, ENOSPC, QStringLiteral("disk I/O error")), String::fromUtf8("数据库或磁盘已满"));
    EXPECT_EQ(EngineReason(SQLITE_IOERR_READ, EIO, QStringLiteral("disk I/O error")), String::fromUtf8("磁盘读写错误"));
}

TEST_F(ADOConnectionTest, TransactionStoresTogetherOrNotAtAll)
{
    TADOConnection connection(nullptr);
    Connect(connection, PathOf("opr.mdb"));
    TADOQuery query(nullptr);
    query.SetConnection(&connection);
    const auto insertRemark = [&](const char* Text) {
        query.SQL()->SetText(QStringLiteral("insert into rmark(备注) values(:a)"));
        query.Parameters()->ParamByName(QStringLiteral("a"))->SetValue(Variant(String::fromUtf8(Text)));
        query.ExecSQL();
    };

    EXPECT_FALSE(connection.InTransaction());
    EXPECT_EQ(connection.BeginTrans(), 1);
    EXPECT_TRUE(connection.InTransaction());
    insertRemark("kept");
    connection.CommitTrans();
    EXPECT_FALSE(connection.InTransaction());

    connection.BeginTrans();
    insertRemark("dropped");
    EXPECT_EQ(Column(connection, QStringLiteral("select count(*) from rmark")), u"2");
    connection.RollbackTrans();
    EXPECT_FALSE(connection.InTransaction());
    EXPECT_EQ(Column(connection, QStringLiteral("select 备注 from rmark")), u"kept");

    connection.BeginTrans();
    EXPECT_THROW(connection.BeginTrans(), EDatabaseError);
    connection.RollbackTrans();
    EXPECT_THROW(connection.CommitTrans(), EDatabaseError);
    EXPECT_THROW(connection.RollbackTrans(), EDatabaseError);
}

TEST_F(ADOConnectionTest, ClosingRollsAnOpenTransactionBack)
{
    {
        TADOConnection connection(nullptr);
        Connect(connection, PathOf("opr.mdb"));
        connection.BeginTrans();
        connection.Database().ExecuteScript(QStringLiteral("insert into dept(部门) values('x')"));
        connection.Close();
        EXPECT_FALSE(connection.InTransaction());
    }
    TADOConnection connection(nullptr);
    Connect(connection, PathOf("opr.mdb"));
    EXPECT_EQ(Column(connection, QStringLiteral("select count(*) from dept")), u"0");
}
