// The data grid's own work against the size of its dataset: a layout rebuild, and a page of
// records scrolled, on 10^3 and on 10^6 records, over the in-memory dataset and over a query
// on a database file. The grid keeps a window of records, so both should cost the same at either
// size; the heap the grid takes when it is attached shows it holds nothing per record.
#include "../support/BenchApplication.h"
#include "../support/OprintData.h"

#include "datagrid/DBGridEh.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <map>
#include <memory>

namespace {

class TBenchDBGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

enum TSourceKind { skMemory, skQuery };

// A dataset of Rows records and a grid of the main window's size on a form, made once per kind
// and size and kept for the whole run.
struct TGridBench {
    std::unique_ptr<TDataSet> Data;
    // The same records behind a plain link of the grid's buffer size: what the dataset alone
    // costs for the same window.
    std::unique_ptr<TDataSet> Bare;
    TDataSource BareSource{nullptr};
    TDataLink BareLink;
    std::unique_ptr<TADOConnection> Connection;
    TDataSource Source{nullptr};
    TForm Form{nullptr};
    TBenchDBGrid* Grid = nullptr;
    std::size_t AttachHeapBytes = 0;

    TGridBench(TSourceKind Kind, int Rows)
    {
        if (Kind == skQuery) {
            Connection = std::make_unique<TADOConnection>(nullptr);
            Connection->SetConnectionString(
                JetConnectionString(QDir(OprintDataFolder(Rows, "grid")).filePath(QStringLiteral("opr.mdb"))));
            Connection->SetLoginPrompt(false);
            Connection->Open();
        }
        Data = MakeDataSet(Kind, Rows);
        Bare = MakeDataSet(Kind, Rows);
        Source.SetDataSet(Data.get());
        Form.SetBounds(0, 0, 800, 400);
        Grid = new TBenchDBGrid(&Form);
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(0, 0, 753, 300);
        Grid->SetParent(&Form);
        Grid->HandleNeeded();
        const std::size_t before = mallinfo2().uordblks;
        Grid->SetDataSource(&Source);
        const std::size_t after = mallinfo2().uordblks;
        AttachHeapBytes = after > before ? after - before : 0;
        BareSource.SetDataSet(Bare.get());
        BareLink.SetDataSource(&BareSource);
        BareLink.SetBufferCount(Grid->DataLink()->BufferCount());
    }

    std::unique_ptr<TDataSet> MakeDataSet(TSourceKind Kind, int Rows)
    {
        if (Kind == skQuery) {
            auto query = std::make_unique<TADOQuery>(nullptr);
            query->SetConnection(Connection.get());
            query->SQL()->Add(QStringLiteral("select * from oprint"));
            query->Open();
            return query;
        }
        auto data = std::make_unique<TMemoryDataSet>(nullptr);
        data->FieldDefs()->Add(QStringLiteral("id"), TFieldType::ftAutoInc);
        data->FieldDefs()->Add(QStringLiteral("姓名"), TFieldType::ftString, 20);
        data->FieldDefs()->Add(QStringLiteral("部门"), TFieldType::ftString, 20);
        data->FieldDefs()->Add(QStringLiteral("数量"), TFieldType::ftInteger);
        data->Open();
        for (int i = 0; i < Rows; ++i)
            data->AppendRecord({Variant(), Variant(QStringLiteral("张三")), Variant(QStringLiteral("财务部")), Variant(i % 20)});
        data->First();
        return data;
    }

};

TGridBench& BenchFor(TSourceKind Kind, int Rows)
{
    BenchApplication();
    // Never freed: at exit Qt's own clean-up runs first, and a window torn down after it would
    // measure its fonts in freed memory.
    static auto* benches = new std::map<std::pair<int, int>, std::unique_ptr<TGridBench>>;
    auto& bench = (*benches)[{Kind, Rows}];
    if (!bench)
        bench = std::make_unique<TGridBench>(Kind, Rows);
    return *bench;
}

void Label(benchmark::State& State, TSourceKind Kind, int Rows, const TGridBench& Bench, const char* Suffix = "")
{
    State.SetLabel((Kind == skMemory ? std::string("memory ") : std::string("query ")) + std::to_string(Rows) +
                   " records" + Suffix);
    State.counters["attach_heap_bytes"] = static_cast<double>(Bench.AttachHeapBytes);
    State.counters["heap_bytes_per_record"] = static_cast<double>(Bench.AttachHeapBytes) / Rows;
}

// The whole layout: columns from fields, counts, heights, widths, row metrics, the current row.
void RebuildLayout(benchmark::State& State)
{
    const auto kind = static_cast<TSourceKind>(State.range(0));
    const int rows = static_cast<int>(State.range(1));
    TGridBench& bench = BenchFor(kind, rows);
    // A rebuild that runs: the frozen column shows in the fixed count at once.
    bench.Grid->SetFrozenCols(1);
    if (bench.Grid->FixedCols() != 2)
        State.SkipWithError("the layout was not rebuilt");
    for (auto _ : State)
        bench.Grid->NotifyLayoutChanged();
    bench.Grid->SetFrozenCols(0);
    Label(State, kind, rows, bench);
}

// A page of records down (up at the end), as the page-down key moves the dataset; the grid
// follows: rows, current row, scroll bar.
void PageDown(benchmark::State& State)
{
    const auto kind = static_cast<TSourceKind>(State.range(0));
    const int rows = static_cast<int>(State.range(1));
    const bool withGrid = State.range(2) != 0;
    TGridBench& bench = BenchFor(kind, rows);
    TDataSet* data = withGrid ? bench.Data.get() : bench.Bare.get();
    const int page = bench.Grid->DataLink()->BufferCount();
    int direction = 1;
    data->First();
    for (auto _ : State) {
        if (data->MoveBy(direction * page) != direction * page)
            direction = -direction;
    }
    Label(State, kind, rows, bench, withGrid ? ", grid following" : ", dataset alone");
}

// The page query re-run as a keystroke in a filter field does: closed, filtered anew and opened,
// the grid rebuilding its columns and rows from the new fields.
void Requery(benchmark::State& State)
{
    const int rows = static_cast<int>(State.range(0));
    const bool withGrid = State.range(1) != 0;
    TGridBench& bench = BenchFor(skQuery, rows);
    auto* query = static_cast<TADOQuery*>(withGrid ? bench.Data.get() : bench.Bare.get());
    const String sql = QStringLiteral("select * from oprint where 部门 = '财务部' and 日期 >= #%1-01-01#").arg(CurrentYear());
    int round = 0;
    for (auto _ : State) {
        query->Close();
        query->SQL()->Clear();
        // Alternating statements, so no cached plan or result stands in for the work.
        query->SQL()->Add(++round % 2 == 0 ? sql : sql + QStringLiteral(" order by id"));
        query->Open();
    }
    query->Close();
    query->SQL()->Clear();
    query->SQL()->Add(QStringLiteral("select * from oprint"));
    query->Open();
    Label(State, skQuery, rows, bench, withGrid ? ", grid following" : ", dataset alone");
}

void SizesAndSources(benchmark::internal::Benchmark* Bench)
{
    for (int kind : {skMemory, skQuery})
        for (int rows : {1000, 1000000})
            Bench->Args({kind, rows});
    Bench->Unit(benchmark::kMicrosecond);
}

// With the grid following (1) and, beside it, the same moves on a dataset nothing shows (0).
void SizesSourcesAndGrid(benchmark::internal::Benchmark* Bench)
{
    for (int kind : {skMemory, skQuery})
        for (int rows : {1000, 1000000})
            for (int grid : {1, 0})
                Bench->Args({kind, rows, grid});
    Bench->Unit(benchmark::kMicrosecond);
}

BENCHMARK(RebuildLayout)->Apply(SizesAndSources);
BENCHMARK(PageDown)->Apply(SizesSourcesAndGrid);
BENCHMARK(Requery)->ArgsProduct({{1000, 1000000}, {1, 0}})->Unit(benchmark::kMicrosecond);

}  // namespace
