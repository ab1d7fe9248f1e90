// The database file: a new one's eight tables, an old one's records, the date index, foreign files.
#include "app/OprDatabase.h"

#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"
#include "platform/core/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

class OprDatabaseTest : public testing::Test {
protected:
    String PathOf(const char* Name) const { return FDir.filePath(String::fromUtf8(Name)); }

    void Open(TADOConnection& Connection, const String& Path)
    {
        Connection.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + Path);
        OpenOprDatabase(&Connection);
    }

    static String Column(TADOConnection& Connection, const String& Sql, int Index = 0)
    {
        TSQLiteStatement statement = Connection.Database().Prepare(Sql);
        QStringList values;
        while (statement.Step())
            values << statement.ColumnText(Index);
        return values.join(u',');
    }

    QTemporaryDir FDir;
};

}  // namespace

TEST_F(OprDatabaseTest, NewFileGetsTheEightTablesInColumnOrder)
{
    TADOConnection connection(nullptr);
    Open(connection, PathOf("opr.mdb"));
    EXPECT_EQ(Column(connection, QStringLiteral("select name from sqlite_schema where type='table' and name not like 'sqlite%' order by name")),
              u"dept,gift,oprint,ouser,ptype,rmark,ruku,supplier");
    EXPECT_EQ(Column(connection, QStringLiteral("select name from pragma_table_info('oprint')")),
              String::fromUtf8("id,姓名,部门,数量,单位,物品名称,类型,日期,时间,备注"));
    EXPECT_EQ(Column(connection, QStringLiteral("select name from pragma_table_info('ruku')")),
              String::fromUtf8("id,物品名称,类型,供应商,数量,单位,单价,金额,申购人,申购部门,登记人,日期,时间,备注"));
    EXPECT_EQ(Column(connection, QStringLiteral("select name from pragma_table_info('supplier')")),
              String::fromUtf8("id,供应商,供应商编号,联系人,电话,手机,传真,QQ,邮箱,供应商地址,备注"));
    EXPECT_EQ(Column(connection, QStringLiteral("select type from pragma_table_info('gift') where name in ('数量', '日期')")),
              u"INTEGER,DATETEXT");
    // The counters start at 0 when an insert leaves them out.
    connection.Execute(String::fromUtf8("insert into rmark(备注) values('x')"));
    EXPECT_EQ(Column(connection, String::fromUtf8("select 次数 from rmark")), u"0");
}

TEST_F(OprDatabaseTest, ExistingFileKeepsItsRecords)
{
    {
        TADOConnection connection(nullptr);
        Open(connection, PathOf("opr.mdb"));
        connection.Execute(String::fromUtf8("insert into dept(部门) values('财务部')"));
    }
    TADOConnection connection(nullptr);
    Open(connection, PathOf("opr.mdb"));
    EXPECT_EQ(Column(connection, String::fromUtf8("select 部门 from dept")), String::fromUtf8("财务部"));
}

TEST_F(OprDatabaseTest, YearFilterAndNewestFirstUseTheDateIndex)
{
    TADOConnection connection(nullptr);
    Open(connection, PathOf("opr.mdb"));
    for (const char* table : {"oprint", "gift", "ruku"}) {
        const String plan = Column(connection, QStringLiteral("explain query plan select * from %1 where 日期 like '2026%' "
                                                              "order by 日期 desc,id desc").arg(String::fromUtf8(table)), 3);
        EXPECT_TRUE(plan.contains(u"USING INDEX")) << plan.toStdString();
        EXPECT_FALSE(plan.contains(u"TEMP B-TREE")) << plan.toStdString();
    }
}

TEST_F(OprDatabaseTest, AnotherProgramsFileIsRefusedBeforeAnythingIsWrittenToIt)
{
    const String path = PathOf("opr.mdb");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "create table oprint(id integer primary key, note text)", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    TADOConnection connection(nullptr);
    try {
        Open(connection, path);
        FAIL() << "another program's file was opened";
    } catch (const EDatabaseError& E) {
        EXPECT_EQ(E.Message(), String::fromUtf8("数据库文件 %1 不是本程序的数据库 ！").arg(path));
    }
    EXPECT_FALSE(connection.Connected());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
}
