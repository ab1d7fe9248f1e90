// Filling and emptying the in-memory dataset record by record, as tests and benchmarks of the
// grids do: the cost per record must not grow with the table.
#include "platform/data/FieldDefs.h"
#include "platform/data/MemoryDataSet.h"

#include <benchmark/benchmark.h>

namespace {

void AppendRecords(TMemoryDataSet& Table, int Count)
{
    for (int i = 0; i < Count; ++i)
        Table.AppendRecord({i, QStringLiteral("名称%1").arg(i)});
}

std::unique_ptr<TMemoryDataSet> NewTable()
{
    auto table = std::make_unique<TMemoryDataSet>(nullptr);
    table->FieldDefs()->Add("数量", TFieldType::ftInteger);
    table->FieldDefs()->Add("名称", TFieldType::ftString, 20);
    table->Open();
    return table;
}

void BM_MemoryDataSetAppend(benchmark::State& State)
{
    const int count = static_cast<int>(State.range(0));
    for (auto _ : State) {
        auto table = NewTable();
        AppendRecords(*table, count);
        benchmark::DoNotOptimize(table->RecordCount());
    }
    State.SetItemsProcessed(State.iterations() * count);
}
BENCHMARK(BM_MemoryDataSetAppend)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_MemoryDataSetDeleteFromTheEnd(benchmark::State& State)
{
    const int count = static_cast<int>(State.range(0));
    for (auto _ : State) {
        State.PauseTiming();
        auto table = NewTable();
        AppendRecords(*table, count);
        State.ResumeTiming();
        table->Last();
        while (!table->IsEmpty())
            table->Delete();
    }
    State.SetItemsProcessed(State.iterations() * count);
}
BENCHMARK(BM_MemoryDataSetDeleteFromTheEnd)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
