// Finding a text that is not there in 10^6 records of a query on a database file: the grid's
// record scan (through its centre, under the busy cursor) beside a plain loop that reads the
// same column's shown text record by record and compares it the same way.
#include "../support/BenchApplication.h"
#include "../support/OprintData.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DbUtilsEh.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class TFindBenchGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

constexpr int Rows = 1000000;
const String Missing = QStringLiteral("无此人");

// One query of every record and a grid over it, made once and kept for the whole run.
struct TFindBench {
    TADOConnection Connection{nullptr};
    TADOQuery Query{nullptr};
    TDataSource Source{nullptr};
    TForm Form{nullptr};
    TFindBenchGrid* Grid = nullptr;
    TColumnEh* Column = nullptr;

    TFindBench()
    {
        Connection.SetConnectionString(
            JetConnectionString(QDir(OprintDataFolder(Rows, "grid")).filePath(QStringLiteral("opr.mdb"))));
        Connection.SetLoginPrompt(false);
        Connection.Open();
        Query.SetConnection(&Connection);
        Query.SQL()->Add(QStringLiteral("select * from oprint"));
        Query.Open();
        Source.SetDataSet(&Query);
        Form.SetBounds(0, 0, 800, 400);
        Grid = new TFindBenchGrid(&Form);
        Grid->SetBounds(0, 0, 753, 300);
        Grid->SetParent(&Form);
        Grid->HandleNeeded();
        Grid->SetDataSource(&Source);
        Column = Grid->RequireColumnByFieldName(QStringLiteral("姓名"));
    }
};

TFindBench& Bench()
{
    BenchApplication();
    // Never freed: at exit Qt's own clean-up runs first.
    static auto* bench = new TFindBench;
    return *bench;
}

void Label(benchmark::State& State, const char* What)
{
    State.SetLabel(std::string(What) + ", query of " + std::to_string(Rows) + " records");
    State.counters["records_per_second"] = benchmark::Counter(Rows, benchmark::Counter::kIsIterationInvariantRate);
}

// The grid's search of every record from the first, in one column, by its shown text, ignoring case.
void FindTextInGridMissing(benchmark::State& State)
{
    TFindBench& bench = Bench();
    for (auto _ : State) {
        if (bench.Grid->LocateTextInColumn(bench.Column, Missing, TLocateTextMatchTypeEh::ltmAnyPartEh,
                                           TLocateTextDirectionEh::ltdAllEh, ltoCaseInsensitiveEh | ltoMatchFormatEh))
            State.SkipWithError("found a text that is not there");
    }
    Label(State, "FindTextInGrid");
}

// The same records and comparisons, written out by hand.
void PlainDisplayTextLoop(benchmark::State& State)
{
    TFindBench& bench = Bench();
    TDataSet* data = &bench.Query;
    for (auto _ : State) {
        const TBookmark start = data->Bookmark();
        bool found = false;
        data->DisableControls();
        for (data->First(); !data->Eof() && !found; data->Next())
            found = LocateTextMatches(bench.Column->ComputeDisplayText(), Missing, TLocateTextMatchTypeEh::ltmAnyPartEh, true);
        data->SetBookmark(start);
        data->EnableControls();
        benchmark::DoNotOptimize(found);
    }
    Label(State, "plain loop");
}

BENCHMARK(FindTextInGridMissing)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(PlainDisplayTextLoop)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
