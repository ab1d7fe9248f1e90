// The page's list and total on oprint data spread over ten years (the current year holds a
// tenth), each beside its floor: the same statements stepped through plain sqlite3, reading
// every column of every row.
#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"
#include "platform/data/Field.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <malloc.h>

#include <map>
#include <memory>
#include <random>
#include <vector>

namespace {

int CurrentYear() { return QDate::currentDate().year(); }

String ListSql()
{
    return QStringLiteral("select * from oprint where 日期 like '%1%' order by 日期 desc,id desc").arg(CurrentYear());
}

String SumSql() { return QStringLiteral("select sum(数量) AS 总计 from oprint where 日期 like '%1%'").arg(CurrentYear()); }

void Fill(TSQLiteDatabase& Database, int Rows)
{
    static const char* const names[] = {"张三", "李四", "王五", "赵六", "陈晨", "阿明", "丁一", "蔡文"};
    static const char* const depts[] = {"财务部", "人事部", "技术部", "后勤部", "销售部"};
    static const char* const items[] = {"签字笔", "打印纸", "文件夹", "订书机", "笔记本", "胶水"};
    std::mt19937 random(12345);
    const QDate first(CurrentYear() - 9, 1, 1), last(CurrentYear() + 1, 1, 1);
    Database.ExecuteScript(QStringLiteral("BEGIN"));
    TSQLiteStatement insert = Database.Prepare(QStringLiteral(
        "insert into oprint(姓名,部门,数量,单位,物品名称,类型,日期,时间,备注) values(?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < Rows; ++i) {
        // Registered in time order, so ids grow with the dates, as in a real file.
        const QDate day = first.addDays(int(std::int64_t(i) * first.daysTo(last) / Rows));
        const String time = QStringLiteral("%1:%2:%3")
                                .arg(random() % 24, 2, 10, QChar(u'0'))
                                .arg(random() % 60, 2, 10, QChar(u'0'))
                                .arg(random() % 60, 2, 10, QChar(u'0'));
        insert.BindText(1, String::fromUtf8(names[random() % 8]));
        insert.BindText(2, String::fromUtf8(depts[random() % 5]));
        insert.BindInt64(3, 1 + random() % 20);
        insert.BindText(4, QStringLiteral("个"));
        insert.BindText(5, String::fromUtf8(items[random() % 6]));
        insert.BindText(6, QStringLiteral("A%1").arg(random() % 4));
        insert.BindText(7, day.toString(QStringLiteral("yyyy-MM-dd ")) + time);
        insert.BindText(8, time);
        insert.BindText(9, String());
        insert.Step();
        insert.Reset();
    }
    Database.ExecuteScript(QStringLiteral("COMMIT"));
}

// One generated file per size, made on first use and reused by every benchmark of the run.
const String& DataFile(int Rows)
{
    static std::map<int, String> files;
    String& path = files[Rows];
    if (path.isEmpty()) {
        path = QDir::temp().absoluteFilePath(QStringLiteral("ado-bench-%1-%2-v2.db").arg(Rows).arg(CurrentYear()));
        if (!QFile::exists(path)) {
            TADOConnection connection(nullptr);
            connection.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
            connection.Open();
            connection.Execute(String::fromUtf8(
                "CREATE TABLE oprint(id COUNTER PRIMARY KEY, 姓名 TEXT, 部门 TEXT, 数量 INTEGER, 单位 TEXT, "
                "物品名称 TEXT, 类型 TEXT, 日期 DATETIME, 时间 TEXT, 备注 TEXT)"));
            connection.Execute(String::fromUtf8("CREATE INDEX oprint_date ON oprint(日期, id, 数量)"));
            Fill(connection.Database(), Rows);
        }
    }
    return path;
}

std::unique_ptr<TADOConnection> Connect(int Rows)
{
    auto connection = std::make_unique<TADOConnection>(nullptr);
    connection->SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + DataFile(Rows));
    connection->Open();
    return connection;
}

void StepEveryColumn(sqlite3* Db, const QByteArray& Sql, benchmark::State& State, std::int64_t& Checksum)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(Db, Sql.constData(), int(Sql.size()), &statement, nullptr) != SQLITE_OK)
        State.SkipWithError(sqlite3_errmsg(Db));
    while (sqlite3_step(statement) == SQLITE_ROW)
        for (int i = 0; i < sqlite3_column_count(statement); ++i)
            switch (sqlite3_column_type(statement, i)) {
            case SQLITE_INTEGER:
                Checksum += sqlite3_column_int64(statement, i);
                break;
            case SQLITE_FLOAT:
                Checksum += std::int64_t(sqlite3_column_double(statement, i));
                break;
            default:
                Checksum += sqlite3_column_bytes(statement, i);
                break;
            }
    sqlite3_finalize(statement);
}

// The floor: the list and its total, every column of every row read.
void BM_FloorListWithTotal(benchmark::State& State)
{
    const std::unique_ptr<TADOConnection> connection = Connect(int(State.range(0)));
    sqlite3* db = connection->Database().Handle();
    const QByteArray list = ListSql().toUtf8(), sum = SumSql().toUtf8();
    std::int64_t checksum = 0;
    for (auto _ : State) {
        StepEveryColumn(db, list, State, checksum);
        StepEveryColumn(db, sum, State, checksum);
    }
    benchmark::DoNotOptimize(checksum);
}

void OpenQuery(TADOQuery& Query, const String& Sql)
{
    Query.Close();
    Query.SQL()->SetText(Sql);
    Query.Open();
}

struct TPage {
    explicit TPage(int Rows) : Connection(Connect(Rows))
    {
        List.SetConnection(Connection.get());
        Total.SetConnection(Connection.get());
    }

    std::unique_ptr<TADOConnection> Connection;
    TADOQuery List{nullptr};
    TADOQuery Total{nullptr};
};

// The page's list and total through TADOQuery, as the application re-runs them: the list opened
// and at its first record, the total read.
void BM_QueryListWithTotal(benchmark::State& State)
{
    TPage page(int(State.range(0)));
    for (auto _ : State) {
        OpenQuery(page.List, ListSql());
        OpenQuery(page.Total, SumSql());
        benchmark::DoNotOptimize(page.Total.Fields()->Fields(0)->AsString());
    }
    State.counters["rows"] = page.List.RecordCount();
    // Heap the open list holds beyond SQLite's own page cache, per record of the list.
    page.List.Close();
    const std::size_t before = mallinfo2().uordblks;
    OpenQuery(page.List, ListSql());
    State.counters["heap_bytes_per_row"] = double(mallinfo2().uordblks - before) / page.List.RecordCount();
}

// The year's list in name order: SQLite sorts with the registered pinyin collation.
void BM_QueryOrderByName(benchmark::State& State)
{
    TPage page(int(State.range(0)));
    const String sql = QStringLiteral("select * from oprint where 日期 like '%1%' order by 姓名").arg(CurrentYear());
    for (auto _ : State)
        OpenQuery(page.List, sql);
}

// Every record of the open list visited in order, reading every field.
void BM_QueryMoveThroughAll(benchmark::State& State)
{
    TPage page(int(State.range(0)));
    OpenQuery(page.List, ListSql());
    for (auto _ : State)
        for (page.List.First(); !page.List.Eof(); page.List.Next())
            for (TField* field : *page.List.Fields())
                benchmark::DoNotOptimize(field->Value());
}

// Client-side sort by name (pinyin), alternating the direction.
void BM_QuerySortByName(benchmark::State& State)
{
    TPage page(int(State.range(0)));
    OpenQuery(page.List, ListSql());
    bool descending = false;
    for (auto _ : State) {
        page.List.SetSort(String::fromUtf8(descending ? "姓名 DESC" : "姓名 ASC"));
        descending = !descending;
    }
}

// Locating the oldest record of the list by id from its first record.
void BM_QueryLocate(benchmark::State& State)
{
    TPage page(int(State.range(0)));
    OpenQuery(page.List, ListSql());
    page.List.Last();
    const Variant id = page.List.FieldByName(QStringLiteral("id"))->Value();
    for (auto _ : State) {
        page.List.First();
        benchmark::DoNotOptimize(page.List.Locate(QStringLiteral("id"), id, TLocateOptions()));
    }
}

// Going to 200 bookmarks spread over the list, as deleting or exporting a selection does.
void BM_QueryGotoBookmarks(benchmark::State& State)
{
    TPage page(int(State.range(0)));
    OpenQuery(page.List, ListSql());
    std::vector<TBookmark> bookmarks;
    const int step = std::max(1, page.List.RecordCount() / 200);
    for (int recNo = 1; recNo <= page.List.RecordCount(); recNo += step) {
        page.List.SetRecNo(recNo);
        bookmarks.push_back(page.List.Bookmark());
    }
    for (auto _ : State)
        for (const TBookmark& bookmark : bookmarks)
            page.List.SetBookmark(bookmark);
}

// Sizes 10,000 / 100,000 / 1,000,000 rows.
void Sizes(benchmark::internal::Benchmark* Bench)
{
    Bench->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_FloorListWithTotal)->Apply(Sizes);
BENCHMARK(BM_QueryListWithTotal)->Apply(Sizes);
BENCHMARK(BM_QueryOrderByName)->Apply(Sizes);
BENCHMARK(BM_QueryMoveThroughAll)->Apply(Sizes);
BENCHMARK(BM_QuerySortByName)->Apply(Sizes);
BENCHMARK(BM_QueryLocate)->Apply(Sizes);
BENCHMARK(BM_QueryGotoBookmarks)->Apply(Sizes);
