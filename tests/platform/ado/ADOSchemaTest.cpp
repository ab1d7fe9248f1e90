// The connection's structure calls seen in the database itself: the indexes created and the
// id of the last insert.
#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"

#include "platform/ado/TestTables.h"
#include "platform/core/Exceptions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ADOSchemaTest : public testing::Test {
protected:
    void SetUp() override { ConnectWithTestTables(Connection, FDir.filePath(QStringLiteral("opr.mdb"))); }

    String IndexNames()
    {
        TSQLiteStatement names = Connection.Database().Prepare(
            QStringLiteral("select name from sqlite_schema where type = 'index' and sql is not null order by name"));
        QStringList list;
        while (names.Step())
            list << names.ColumnText(0);
        return list.join(u',');
    }

    QTemporaryDir FDir;
    TADOConnection Connection{nullptr};
};

}  // namespace

TEST_F(ADOSchemaTest, IndexesAreCreatedAllTogetherOrNoneAndExistingOnesKept)
{
    // The second index names a column the table lacks: the first is not left behind.
    EXPECT_THROW(Connection.CreateIndexes({{QStringLiteral("oprint_姓名"), QStringLiteral("oprint"), QStringLiteral("姓名")},
                                           {QStringLiteral("gift_x"), QStringLiteral("gift"), QStringLiteral("没有")}}),
                 EDatabaseError);
    EXPECT_FALSE(Connection.InTransaction());
    EXPECT_EQ(IndexNames(), QStringLiteral("oprint_date"));

    // An index of that name already there is kept with its own columns.
    Connection.CreateIndexes({{QStringLiteral("oprint_date"), QStringLiteral("oprint"), QStringLiteral("姓名")},
                              {QStringLiteral("rmark_备注"), QStringLiteral("rmark"), QStringLiteral("备注, 次数")}});
    EXPECT_EQ(IndexNames(), QStringLiteral("oprint_date,rmark_备注"));
    TSQLiteStatement columns = Connection.Database().Prepare(QStringLiteral("select name from pragma_index_info('oprint_date')"));
    ASSERT_TRUE(columns.Step());
    EXPECT_EQ(columns.ColumnText(0), QStringLiteral("日期"));
}

TEST_F(ADOSchemaTest, LastInsertIdIsTheNewRowsId)
{
    Connection.Execute(QStringLiteral("insert into rmark(备注) values('a')"));
    Connection.Execute(QStringLiteral("insert into rmark(备注) values('b')"));
    EXPECT_EQ(Connection.LastInsertId(), 2);
    Connection.Execute(QStringLiteral("delete from rmark where id = 1"));
    Connection.Execute(QStringLiteral("insert into gift(来客姓名) values('c')"));
    EXPECT_EQ(Connection.LastInsertId(), 1);
}
