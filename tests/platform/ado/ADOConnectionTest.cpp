#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"

#include "platform/core/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ADOConnectionTest : public testing::Test {
protected:
    String PathOf(const char* Name) const { return FDir.filePath(String::fromUtf8(Name)); }

    void Connect(TADOConnection& Connection, const String& Path)
    {
        Connection.SetConnectionString(
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Persist Security Info=False").arg(Path));
        Connection.Open();
    }

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

TEST_F(ADOConnectionTest, NewFileGetsTheEightTablesInColumnOrder)
{
    TADOConnection connection(nullptr);
    Connect(connection, PathOf("opr.mdb"));
    EXPECT_EQ(Column(connection, QStringLiteral("select name from sqlite_schema where type='table' and name not like 'sqlite%' order by name")),
              u"dept,gift,oprint,ouser,ptype,rmark,ruku,supplier");
    EXPECT_EQ(Column(connection, QStringLiteral("select name from pragma_table_info('oprint')")),
              String::fromUtf8("id,姓名,部门,数量,单位,物品名称,类型,日期,时间,备注"));
    EXPECT_EQ(Column(connection, QStringLiteral("select name from pragma_table_info('ruku')")),
              String::fromUtf8("id,物品名称,类型,供应商,数量,单位,单价,金额,申购人,申购部门,登记人,日期,时间,备注"));
    EXPECT_EQ(Column(connection, QStringLiteral("select name from pragma_table_info('supplier')")),
              String::fromUtf8("id,供应商,供应商编号,联系人,电话,手机,传真,QQ,邮箱,供应商地址,备注"));
    EXPECT_EQ(Column(connection, QStringLiteral("pragma journal_mode")), u"wal");
    // The counters start at 0 when an insert leaves them out.
    connection.Database().ExecuteScript(String::fromUtf8("insert into rmark(备注) values('x')"));
    EXPECT_EQ(Column(connection, String::fromUtf8("select 次数 from rmark")), u"0");
}

TEST_F(ADOConnectionTest, YearFilterAndNewestFirstUseTheDateIndex)
{
    TADOConnection connection(nullptr);
    Connect(connection, PathOf("opr.mdb"));
    for (const char* table : {"oprint", "gift", "ruku"}) {
        const String plan = Column(connection, QStringLiteral("explain query plan select * from %1 where 日期 like '2026%' "
                                                              "order by 日期 desc,id desc").arg(String::fromUtf8(table)), 3);
        EXPECT_TRUE(plan.contains(u"USING INDEX")) << plan.toStdString();
        EXPECT_FALSE(plan.contains(u"TEMP B-TREE")) << plan.toStdString();
    }
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
        EXPECT_TRUE(E.Message().contains(u"locked")) << E.Message().toStdString();
    }
    // Readers still see the last committed state meanwhile.
    EXPECT_EQ(Column(other, String::fromUtf8("select count(*) from rmark")), u"0");
    writer.Database().ExecuteScript(QStringLiteral("commit"));
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
