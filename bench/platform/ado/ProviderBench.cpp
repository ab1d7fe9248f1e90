// The dataset's work on a list of oprint records spread over ten years (the current year holds a
// tenth), on the platform's own schema: the list and its total beside the least work giving the
// same answers on plain sqlite3, and moving, sorting, locating and bookmarks in the open list.
// The application's statements with its indexes: bench_app.
#include "../../support/OprintData.h"

#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"
#include "platform/data/Field.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <malloc.h>

#include <memory>
#include <vector>

namespace {

String ListSql()
{
    return QStringLiteral("select * from oprint where 日期 like '%1%' order by 日期 desc,id desc").arg(CurrentYear());
}

String SumSql() { return QStringLiteral("select sum(数量) AS 总计 from oprint where 日期 like '%1%'").arg(CurrentYear()); }

std::unique_ptr<TADOConnection> Connect(int Rows)
{
    auto connection = std::make_unique<TADOConnection>(nullptr);
    connection->SetConnectionString(JetConnectionString(QDir(OprintDataFolder(Rows, "platform")).filePath(QStringLiteral("opr.mdb"))));
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

// The least work giving the list's answers: its count and total in one statement, and the
// first screen of 30 rows with every column read.
void BM_FloorListWithTotal(benchmark::State& State)
{
    const std::unique_ptr<TADOConnection> connection = Connect(int(State.range(0)));
    sqlite3* db = connection->Database().Handle();
    const QByteArray list = (ListSql() + QStringLiteral(" limit 30")).toUtf8();
    const QByteArray sum = QStringLiteral("select count(*), sum(数量) from oprint where 日期 like '%1%'").arg(CurrentYear()).toUtf8();
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
    // Heap the open list holds beyond SQLite's own memory, mmapped blocks included, per record.
    const auto heap = [] {
        const struct mallinfo2 info = mallinfo2();
        return std::int64_t(info.uordblks + info.hblkhd) - sqlite3_memory_used();
    };
    page.List.Close();
    const std::int64_t before = heap();
    OpenQuery(page.List, ListSql());
    State.counters["heap_bytes_per_row"] = double(heap() - before) / page.List.RecordCount();
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
