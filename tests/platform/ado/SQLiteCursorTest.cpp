// A single-table list read lazily: its ids come a block at a time from a snapshot, from either
// end, while the dataset moves, sorts, locates, edits and deletes inside it.
#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"
#include "platform/ado/SQLiteCursor.h"
#include "platform/ado/TestTables.h"

#include "platform/core/Exceptions.h"
#include "platform/data/Field.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Many blocks of ids: three records a day, so the list's order (newest first) is id descending,
// with equal dates ordered by id. Odd ids belong to 技术部, even ones to 财务部.
constexpr int Records = 3000;

const String NewestFirst = QStringLiteral("select * from oprint order by 日期 desc,id desc");

class SQLiteCursorTest : public testing::Test {
protected:
    SQLiteCursorTest()
    {
        ConnectWithTestTables(FConnection, Path());
        TSQLiteDatabase& database = FConnection.Database();
        database.ExecuteScript(QStringLiteral("BEGIN"));
        TSQLiteStatement insert =
            database.Prepare(QStringLiteral("insert into oprint(姓名,部门,数量,日期) values(?,?,?,?)"));
        for (int id = 1; id <= Records; ++id) {
            insert.BindText(1, QStringLiteral("n%1").arg(id));
            insert.BindText(2, id % 2 ? QStringLiteral("技术部") : QStringLiteral("财务部"));
            insert.BindInt64(3, id % 7 + 1);
            insert.BindText(4, QDate(2020, 1, 1).addDays(id / 3).toString(QStringLiteral("yyyy-MM-dd 10:00:00")));
            insert.Step();
            insert.Reset();
        }
        database.ExecuteScript(QStringLiteral("COMMIT"));
        FQuery.SetConnection(&FConnection);
    }

    String Path() const { return FDir.filePath(QStringLiteral("opr.mdb")); }

    void Open(const String& Sql, const char* Department = nullptr)
    {
        FQuery.Close();
        FQuery.SQL()->SetText(Sql);
        if (Department)
            FQuery.Parameters()->ParamByName(QStringLiteral("dept"))->SetValue(String::fromUtf8(Department));
        FQuery.Open();
    }

    int Id() { return FQuery.FieldByName(QStringLiteral("id"))->AsInteger(); }
    String Name() { return FQuery.FieldByName(QStringLiteral("姓名"))->AsString(); }

    QTemporaryDir FDir;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
};

TEST_F(SQLiteCursorTest, JumpsToTheLastAndNearTheEndWithoutTheRecordsBefore)
{
    Open(NewestFirst);
    EXPECT_EQ(FQuery.RecordCount(), Records);
    EXPECT_EQ(Id(), Records);
    FQuery.Last();
    EXPECT_EQ(Id(), 1);
    EXPECT_EQ(FQuery.RecNo(), Records);
    FQuery.Prior();
    EXPECT_EQ(Id(), 2);
    FQuery.SetRecNo(Records - 300);
    EXPECT_EQ(Id(), 301);
    EXPECT_EQ(Name(), u"n301");
    // Back to blocks between the two ends, then walking across a block's edge.
    FQuery.SetRecNo(1000);
    EXPECT_EQ(Id(), Records - 999);
    FQuery.SetRecNo(256);
    FQuery.Next();
    EXPECT_EQ(Id(), Records - 256);
    int visited = 0, expected = Records;
    for (FQuery.First(); !FQuery.Eof(); FQuery.Next(), ++visited)
        ASSERT_EQ(Id(), expected--);
    EXPECT_EQ(visited, Records);
}

TEST_F(SQLiteCursorTest, AnOrderThatCannotBeTurnedRoundIsReadForwardToTheEnd)
{
    // Equal quantities could come in either order reversed: the ids come from the front.
    const String sql = QStringLiteral("select * from oprint order by 数量 desc, 姓名");
    TSQLiteStatement expected = FConnection.Database().Prepare(
        QStringLiteral("select id from (%1) limit 3 offset %2").arg(FConnection.Translate(sql).Sql).arg(Records - 3));
    std::vector<int> last;
    while (expected.Step())
        last.push_back(int(expected.ColumnInt64(0)));
    ASSERT_EQ(last.size(), 3u);
    Open(sql);
    FQuery.Last();
    EXPECT_EQ(Id(), last[2]);
    FQuery.Prior();
    EXPECT_EQ(Id(), last[1]);
    FQuery.SetRecNo(Records - 2);
    EXPECT_EQ(Id(), last[0]);
    FQuery.First();
    EXPECT_EQ(FQuery.FieldByName(QStringLiteral("数量"))->AsInteger(), 7);
}

TEST_F(SQLiteCursorTest, AFilteredListCountsAndOrdersOnlyItsMatches)
{
    // An index on the department lets SQLite search it and sort every match; the list walks the
    // date order instead when the matches are many. Either way the order is the statement's.
    FConnection.Database().ExecuteScript(QStringLiteral("CREATE INDEX oprint_dept ON oprint(部门, 日期, id, 数量)"));
    Open(QStringLiteral("select * from oprint where 部门 like :dept ORDER BY 日期 desc,id desc"), "技术%");
    ASSERT_EQ(FQuery.RecordCount(), Records / 2);
    EXPECT_EQ(Id(), Records - 1);
    FQuery.Last();
    EXPECT_EQ(Id(), 1);
    FQuery.SetRecNo(700);
    EXPECT_EQ(Id(), Records - 1 - 2 * 699);
    Open(QStringLiteral("select * from oprint where 部门 like :dept ORDER BY 日期 desc,id desc"), "无此部门%");
    EXPECT_TRUE(FQuery.IsEmpty());
}

TEST_F(SQLiteCursorTest, SortAndItsUndoReadTheWholeList)
{
    Open(NewestFirst);
    FQuery.SetRecNo(2500);
    const int current = Id();
    FQuery.SetSort(QStringLiteral("数量 ASC"));
    EXPECT_EQ(Id(), current);
    int last = 0, count = 0;
    for (FQuery.First(); !FQuery.Eof(); FQuery.Next(), ++count) {
        const int quantity = FQuery.FieldByName(QStringLiteral("数量"))->AsInteger();
        ASSERT_GE(quantity, last);
        last = quantity;
    }
    EXPECT_EQ(count, Records);
    FQuery.SetSort(String());
    FQuery.SetRecNo(1234);
    EXPECT_EQ(Id(), Records - 1233);
}

TEST_F(SQLiteCursorTest, ANewStatementForgetsTheSortOfTheLastOne)
{
    Open(NewestFirst);
    FQuery.SetSort(QStringLiteral("数量 ASC"));
    Open(NewestFirst);
    EXPECT_TRUE(FQuery.Sort().isEmpty());
    EXPECT_EQ(Id(), Records);
}

TEST_F(SQLiteCursorTest, AFilterSeesEveryRecordOfTheList)
{
    Open(NewestFirst);
    FQuery.SetFilter(QStringLiteral("数量 = 7"));
    FQuery.SetFiltered(true);
    // Ids one short of a multiple of seven: 2995 down to 6.
    EXPECT_EQ(FQuery.RecordCount(), 428);
    EXPECT_EQ(Id(), 2995);
    FQuery.Last();
    EXPECT_EQ(Id(), 6);
    FQuery.SetFiltered(false);
    EXPECT_EQ(FQuery.RecordCount(), Records);
    EXPECT_EQ(Id(), 6);
}

TEST_F(SQLiteCursorTest, LocateAndBookmarksReachRecordsFarDown)
{
    Open(NewestFirst);
    ASSERT_TRUE(FQuery.Locate(QStringLiteral("姓名"), QStringLiteral("n17"), TLocateOptions()));
    EXPECT_EQ(FQuery.RecNo(), Records - 16);
    const TBookmark far = FQuery.Bookmark();
    FQuery.SetRecNo(1500);
    const TBookmark middle = FQuery.Bookmark();
    FQuery.First();
    FQuery.SetBookmark(far);
    EXPECT_EQ(Id(), 17);
    FQuery.SetBookmark(middle);
    EXPECT_EQ(Id(), Records - 1499);
    EXPECT_LT(FQuery.CompareBookmarks(far, middle), 0);  // bookmarks order by id
    // A bookmark of another opening names a record this one may not have read yet.
    Open(NewestFirst);
    EXPECT_TRUE(FQuery.BookmarkValid(far));
    FQuery.SetBookmark(far);
    EXPECT_EQ(Id(), 17);
}

TEST_F(SQLiteCursorTest, DeleteAndPostInsideALazilyReadList)
{
    Open(NewestFirst);
    FQuery.SetRecNo(1000);
    const int deleted = Id();
    FQuery.Delete();
    EXPECT_EQ(FQuery.RecordCount(), Records - 1);
    EXPECT_EQ(Id(), deleted - 1);
    EXPECT_EQ(FQuery.RecNo(), 1000);

    FQuery.SetRecNo(700);
    FQuery.Edit();
    FQuery.FieldByName(QStringLiteral("姓名"))->SetAsString(QStringLiteral("改名"));
    FQuery.Post();
    FQuery.Insert();
    FQuery.FieldByName(QStringLiteral("姓名"))->SetAsString(QStringLiteral("新记录"));
    FQuery.Post();
    const int inserted = Id();
    EXPECT_EQ(FQuery.RecNo(), 700);
    EXPECT_EQ(FQuery.RecordCount(), Records);

    // Blocks not yet read, at both ends, keep their places around the edits.
    FQuery.Last();
    EXPECT_EQ(Id(), 1);
    EXPECT_EQ(FQuery.RecNo(), Records);
    FQuery.SetRecNo(701);
    EXPECT_EQ(Name(), u"改名");
    FQuery.SetRecNo(1001);
    EXPECT_EQ(Id(), deleted - 1);
    FQuery.First();
    EXPECT_EQ(Id(), Records);

    // What reached the file: the table, read again.
    FQuery.Close();
    FQuery.SQL()->SetText(QStringLiteral("select count(*) AS n, sum(id = %1) AS gone, sum(id = %2) AS added from oprint")
                              .arg(deleted)
                              .arg(inserted));
    FQuery.Open();
    EXPECT_EQ(FQuery.FieldByName(QStringLiteral("n"))->AsInteger(), Records);
    EXPECT_EQ(FQuery.FieldByName(QStringLiteral("gone"))->AsInteger(), 0);
    EXPECT_EQ(FQuery.FieldByName(QStringLiteral("added"))->AsInteger(), 1);
}

TEST_F(SQLiteCursorTest, AnOpenListKeepsItsRecordsWhileAnotherProgramWritesAndARequeryShowsTheirs)
{
    Open(NewestFirst);
    {
        TSQLiteDatabase other(Path());
        other.ExecuteScript(QStringLiteral("insert into oprint(姓名,日期) values('来晚了','2099-01-01 00:00:00');"
                                           "delete from oprint where id in (1, 2, 1500);"));
    }
    // Ids still to be read come from the snapshot: nothing shifts, nothing repeats.
    EXPECT_EQ(FQuery.RecordCount(), Records);
    FQuery.SetRecNo(Records - 1500);
    EXPECT_EQ(Id(), 1501);
    FQuery.Next();
    EXPECT_TRUE(FQuery.FieldByName(QStringLiteral("id"))->IsNull());  // deleted since: its values are gone
    FQuery.Next();
    EXPECT_EQ(Id(), 1499);
    FQuery.Last();
    EXPECT_EQ(FQuery.RecNo(), Records);
    FQuery.SetRecNo(2000);
    EXPECT_EQ(Id(), Records - 1999);
    // A walk reads on in long blocks; the deleted rows among them read as Nulls in their places.
    int expected = Records;
    for (FQuery.First(); !FQuery.Eof(); FQuery.Next(), --expected) {
        const bool deleted = expected == 1 || expected == 2 || expected == 1500;
        ASSERT_EQ(FQuery.FieldByName(QStringLiteral("id"))->IsNull(), deleted) << expected;
        if (!deleted) {
            ASSERT_EQ(Name(), QStringLiteral("n%1").arg(expected));
        }
    }
    EXPECT_EQ(expected, 0);

    Open(NewestFirst);
    EXPECT_EQ(FQuery.RecordCount(), Records - 2);
    EXPECT_EQ(Name(), u"来晚了");
    FQuery.Last();
    EXPECT_EQ(Id(), 3);
}

// A total read beside an open list may read where the list's snapshot is, but only while that
// snapshot still shows the file as it is.
TEST_F(SQLiteCursorTest, TotalsBesideAnOpenListSeeEveryWriteMadeSince)
{
    Open(NewestFirst);
    TADOQuery total(nullptr);
    total.SetConnection(&FConnection);
    const auto count = [&total] {
        total.Close();
        total.SQL()->SetText(QStringLiteral("select count(*) AS n from oprint"));
        total.Open();
        return total.FieldByName(QStringLiteral("n"))->AsInteger();
    };
    EXPECT_EQ(count(), Records);
    {
        TSQLiteDatabase other(Path());
        other.ExecuteScript(QStringLiteral("insert into oprint(姓名) values('别处')"));
    }
    EXPECT_EQ(count(), Records + 1);
    Open(NewestFirst);
    FConnection.Database().ExecuteScript(QStringLiteral("delete from oprint where id <= 2"));
    EXPECT_EQ(count(), Records - 1);
    EXPECT_EQ(FQuery.RecordCount(), Records + 1);  // the list keeps what it found
}

// The count and the sum of the quantities of the records Keep picks, as the fixture stored them.
std::pair<int, std::int64_t> Expected(const std::function<bool(int Id)>& Keep)
{
    std::pair<int, std::int64_t> expected{0, 0};
    for (int id = 1; id <= Records; ++id)
        if (Keep(id)) {
            ++expected.first;
            expected.second += id % 7 + 1;
        }
    return expected;
}

TEST_F(SQLiteCursorTest, AListTakesItsTotalsWithItsCount)
{
    const String byDepartment = QStringLiteral("select * from oprint where 部门 like :dept order by 日期 desc,id desc");
    FQuery.SetTotals({QStringLiteral("sum(数量)"), QStringLiteral("max(id)")});
    Open(byDepartment, "技术%");
    const auto [odd, oddSum] = Expected([](int id) { return id % 2 == 1; });
    EXPECT_EQ(FQuery.RecordCount(), odd);
    ASSERT_EQ(FQuery.TotalValues().size(), 2u);
    EXPECT_EQ(FQuery.TotalValues()[0].AsInt64(), oddSum);
    EXPECT_EQ(FQuery.TotalValues()[1].AsInt64(), Records - 1);

    // The whole table, and a filter nothing matches: no sum at all.
    Open(NewestFirst);
    EXPECT_EQ(FQuery.RecordCount(), Records);
    EXPECT_EQ(FQuery.TotalValues()[0].AsInt64(), Expected([](int) { return true; }).second);
    Open(byDepartment, "无此部门%");
    EXPECT_EQ(FQuery.RecordCount(), 0);
    ASSERT_EQ(FQuery.TotalValues().size(), 2u);
    EXPECT_TRUE(VarIsNull(FQuery.TotalValues()[0]));

    // Writes since, by this program and another, show at the next opening, not in the open list.
    Open(byDepartment, "技术%");
    FConnection.Database().ExecuteScript(QStringLiteral("delete from oprint where id in (1, 3)"));
    {
        TSQLiteDatabase other(Path());
        other.ExecuteScript(QStringLiteral("insert into oprint(部门,数量,日期) values('技术部',100,'2099-01-01 00:00:00')"));
    }
    EXPECT_EQ(FQuery.TotalValues()[0].AsInt64(), oddSum);
    Open(byDepartment, "技术%");
    EXPECT_EQ(FQuery.RecordCount(), odd - 1);
    EXPECT_EQ(FQuery.TotalValues()[0].AsInt64(), oddSum - 2 - 4 + 100);
    EXPECT_EQ(FQuery.TotalValues()[1].AsInt64(), Records + 1);
}

TEST_F(SQLiteCursorTest, TotalsAreTakenOnlyByAnOpenListOfOneTable)
{
    FQuery.SetTotals({QStringLiteral("sum(数量)")});
    Open(NewestFirst);
    ASSERT_EQ(FQuery.TotalValues().size(), 1u);
    FQuery.Close();
    EXPECT_TRUE(FQuery.TotalValues().empty());
    // Other totals close the query; the same ones leave it open.
    Open(NewestFirst);
    FQuery.SetTotals({QStringLiteral("sum(数量)")});
    EXPECT_TRUE(FQuery.Active());
    FQuery.SetTotals({QStringLiteral("count(姓名)")});
    EXPECT_FALSE(FQuery.Active());
    // A result read whole takes none.
    Open(QStringLiteral("select 部门, sum(数量) AS n from oprint group by 部门"));
    EXPECT_EQ(FQuery.RecordCount(), 2);
    EXPECT_TRUE(FQuery.TotalValues().empty());
    // Inside a transaction the totals count its own writes.
    FConnection.BeginTrans();
    FConnection.Database().ExecuteScript(QStringLiteral("insert into oprint(姓名,日期) values('未提交','2099-01-01 00:00:00')"));
    Open(NewestFirst);
    EXPECT_EQ(FQuery.TotalValues()[0].AsInteger(), Records + 1);
    FQuery.Close();
    FConnection.RollbackTrans();
}

TEST_F(SQLiteCursorTest, InsideATransactionTheListSeesItsOwnWrites)
{
    FConnection.BeginTrans();
    FConnection.Database().ExecuteScript(QStringLiteral("insert into oprint(姓名,日期) values('未提交','2099-01-01 00:00:00')"));
    Open(NewestFirst);
    EXPECT_EQ(FQuery.RecordCount(), Records + 1);
    EXPECT_EQ(Name(), u"未提交");
    FQuery.Close();
    FConnection.RollbackTrans();
    Open(NewestFirst);
    EXPECT_EQ(FQuery.RecordCount(), Records);
}

TEST_F(SQLiteCursorTest, ClosingTheConnectionLeavesNoConnectionOnTheFile)
{
    Open(NewestFirst);
    FQuery.SetRecNo(1000);
    // The last connection to close folds the write-ahead log back into the file and removes it.
    FConnection.Close();
    EXPECT_FALSE(FQuery.Active());
    EXPECT_FALSE(QFile::exists(Path() + QStringLiteral("-wal")));
    Open(NewestFirst);
    EXPECT_EQ(FQuery.RecordCount(), Records);
}

TEST_F(SQLiteCursorTest, AnOpenListKeepsNoMapOfTheFile)
{
    // A read error in a mapped file ends the process with a signal; a read through a descriptor
    // fails the statement with a message.
    FConnection.Database().ExecuteScript(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    Open(NewestFirst);
    FQuery.SetRecNo(Records / 2);
    QFile maps(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const String mapped = String::fromUtf8(maps.readAll());
    EXPECT_FALSE(mapped.contains(Path() + u'\n')) << mapped.toStdString();
}

TEST_F(SQLiteCursorTest, AListThatFailsToOpenLeavesTheNextOneItsOwnSnapshot)
{
    EXPECT_THROW(Open(QStringLiteral("select * from oprint where 无此列 = 1 order by 日期 desc,id desc")), EDatabaseError);
    {
        TSQLiteDatabase other(Path());
        other.ExecuteScript(QStringLiteral("insert into oprint(姓名,日期) values('之后','2099-01-01 00:00:00')"));
    }
    Open(NewestFirst);
    EXPECT_EQ(FQuery.RecordCount(), Records + 1);
    EXPECT_EQ(Name(), u"之后");
}

TEST(CursorStatementsTest, ASingleTableListCountsReadsAndTurnsItsOrderRound)
{
    TJetStatement statement;
    statement.Table = QStringLiteral("oprint");
    statement.KeysetSql = QStringLiteral("select id from oprint where 部门 like :dept ORDER BY 日期 desc , id desc");
    const std::vector<String> sql = CursorStatements(statement);
    ASSERT_EQ(sql.size(), 4u);
    EXPECT_EQ(sql[0], u"select count(*) from oprint where 部门 like :dept");
    EXPECT_EQ(sql[1], u"select id from oprint where 部门 like :dept ORDER BY 日期 desc , id desc");
    EXPECT_EQ(sql[2], u"select * from oprint where id in (?,?)");
    EXPECT_EQ(sql[3], u"select id from oprint where 部门 like :dept order by 日期 asc, id asc");
    // Totals come in the statement that counts; a whole table's count keeps a statement of its own.
    EXPECT_EQ(CursorStatements(statement, {QStringLiteral("sum(数量)")})[0],
              u"select count(*),sum(数量) from oprint where 部门 like :dept");
    statement.KeysetSql = QStringLiteral("select id from oprint ORDER BY 日期 desc , id desc");
    EXPECT_EQ(CursorStatements(statement, {QStringLiteral("sum(数量)")})[0],
              u"select (select count(*) from oprint),sum(数量) from oprint");
    // Equal names could come in either order: no reading from the end.
    statement.KeysetSql = QStringLiteral("select id from ouser order by 姓名 COLLATE PINYIN");
    EXPECT_EQ(CursorStatements(statement).size(), 3u);
}

TEST_F(SQLiteCursorTest, KeywordsInAnyCaseOpenTheList)
{
    Open(QStringLiteral("Select * From oprint Where 部门 Like :dept Order By 日期 Desc,id Desc"), "技术%");
    EXPECT_EQ(FQuery.RecordCount(), Records / 2);
    EXPECT_EQ(Id(), Records - 1);
    FQuery.Last();
    EXPECT_EQ(Id(), 1);
}

}  // namespace

// A page's list opens again and again with one text and new values: its statements, prepared
// once, and its plan, checked once, must answer for each opening's values as a fresh one would,
// also with another index walked or none left to walk. Small blocks read across many of them.
TEST_F(SQLiteCursorTest, ReopeningOneTextWithNewValuesAnswersAsAFreshQuery)
{
    const String byDepartment = QStringLiteral("select * from oprint where 部门 like :dept ORDER BY 日期 desc,id desc");
    FConnection.Database().ExecuteScript(QStringLiteral("CREATE INDEX oprint_dept ON oprint(部门, 日期, id, 数量)"));
    // The ids the list shows, read forward from the first and backward from the last.
    const auto shown = [this] {
        std::pair<std::vector<int>, std::vector<int>> ids;
        for (FQuery.First(); !FQuery.Eof(); FQuery.Next())
            ids.first.push_back(Id());
        for (FQuery.Last(); !FQuery.Bof(); FQuery.Prior())
            ids.second.insert(ids.second.begin(), Id());
        return ids;
    };
    const auto expected = [](int Remainder) {
        std::vector<int> ids;
        for (int id = Records; id >= 1; --id)
            if (Remainder < 0 || id % 2 == Remainder)
                ids.push_back(id);
        return ids;
    };
    const struct {
        const char* Department;
        int Remainder;  // of the ids it holds; -1 for all
        const char* Script;  // run before the opening
    } openings[] = {
        {"技术%", 1, ""},
        {"财务%", 0, ""},
        {"%部", -1, ""},
        {"无此部门%", 2, ""},
        {"技术%", 1, "DROP INDEX oprint_date"},
        {"财%", 0, "DROP INDEX oprint_dept"},
        {"技%", 1, "CREATE INDEX oprint_date ON oprint(日期, id, 数量)"},
    };
    for (int cacheSize : {64, 3}) {
        FQuery.SetCacheSize(cacheSize);
        for (const auto& opening : openings) {
            if (*opening.Script)
                FConnection.Database().ExecuteScript(String::fromUtf8(opening.Script));
            Open(byDepartment, opening.Department);
            const std::vector<int> ids = expected(opening.Remainder);
            const auto [forward, backward] = shown();
            EXPECT_EQ(forward, ids) << opening.Department << ' ' << cacheSize;
            EXPECT_EQ(backward, ids) << opening.Department << ' ' << cacheSize;
        }
        FConnection.Database().ExecuteScript(QStringLiteral("CREATE INDEX oprint_dept ON oprint(部门, 日期, id, 数量)"));
    }
}

// A statement kept for its text runs again with the values of each run, a list read whole and
// an insert alike; after a change of the table's columns a list shows the columns of now.
TEST_F(SQLiteCursorTest, AKeptStatementRunsWithEachRunsValues)
{
    for (const char* script : {"", "ALTER TABLE oprint ADD COLUMN 备用 TEXT"}) {
        FConnection.Database().ExecuteScript(String::fromUtf8(script));
        for (const String& sql : {NewestFirst, QStringLiteral("select * from oprint where id < 3")}) {
            Open(sql);
            EXPECT_EQ(FQuery.FindField(QStringLiteral("备用")) != nullptr, *script != 0) << sql.toStdString();
        }
    }
    FQuery.Close();
    FQuery.SQL()->SetText(QStringLiteral("insert into oprint(姓名,部门,数量,日期) values(:n,'采购部',:q,'2030-01-01')"));
    for (int quantity : {5, 6, 7}) {
        FQuery.Parameters()->ParamByName(QStringLiteral("n"))->SetValue(QStringLiteral("k%1").arg(quantity));
        FQuery.Parameters()->ParamByName(QStringLiteral("q"))->SetValue(quantity);
        EXPECT_EQ(FQuery.ExecSQL(), 1);
    }
    for (const auto& [department, count, total] :
         {std::tuple{"采购部", 3, 18}, std::tuple{"技术部", Records / 2, -1}, std::tuple{"采购部", 3, 18}}) {
        Open(QStringLiteral("select count(*), sum(数量) from oprint where 部门 = :dept"), department);
        EXPECT_EQ(FQuery.Fields()->Fields(0)->AsInteger(), count) << department;
        if (total >= 0)
            EXPECT_EQ(FQuery.Fields()->Fields(1)->AsInteger(), total) << department;
    }
}
