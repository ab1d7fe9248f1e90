// Grouping records by two levels beside sorting the same records by the same two keys, and
// expanding and collapsing one group of a grouped grid.
#include "../support/BenchApplication.h"
#include "../../tests/datagrid/MemTableTestSupport.h"

#include "datagrid/DBGridEh.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A grid grouped by 城市 (50 values) and 类别 (20 values) over a memory table of Rows records.
struct TGroupingBench {
    explicit TGroupingBench(int Rows)
    {
        BenchApplication();
        Table = std::make_unique<TMemTableDataSet>(nullptr);
        Table->FieldDefs()->Add(QStringLiteral("城市"), TFieldType::ftString, 20);
        Table->FieldDefs()->Add(QStringLiteral("类别"), TFieldType::ftString, 20);
        Table->FieldDefs()->Add(QStringLiteral("数量"), TFieldType::ftInteger);
        Table->Open();
        for (int I = 0; I < Rows; ++I)
            Table->AppendRecord({QStringLiteral("城市%1").arg(I * 7919 % 50), QStringLiteral("类别%1").arg(I * 104729 % 20), I});
        Table->First();
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Table.get());
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 600, 500);
        Grid = new TDBGridEh(Form.get());
        Grid->SetBounds(0, 0, 580, 480);
        Grid->SetParent(Form.get());
        Grid->SetDataSource(Source.get());
        Grid->HandleNeeded();
        for (const char* field : {"城市", "类别"})
            Grid->DataGrouping()->GroupLevels()->AddLevel()->ChangeColumn(
                Grid->RequireColumnByFieldName(QString::fromUtf8(field)));
        Grid->DataGrouping()->SetActive(true);
    }

    std::unique_ptr<TMemTableDataSet> Table;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TForm> Form;
    TDBGridEh* Grid = nullptr;
};

void GroupTwoLevels(benchmark::State& State)
{
    TGroupingBench bench(static_cast<int>(State.range(0)));
    TGridGroupDataTreeEh* tree = bench.Grid->DataGrouping()->GroupDataTree();
    for (auto _ : State) {
        State.PauseTiming();
        tree->FreeAllNodes();
        State.ResumeTiming();
        tree->BuildFromRecords(bench.Table.get());
    }
    State.counters["groups"] = tree->ShownRowCount();
}

void SortTwoKeys(benchmark::State& State)
{
    TGroupingBench bench(static_cast<int>(State.range(0)));
    bench.Grid->DataGrouping()->SetActive(false);
    for (auto _ : State) {
        State.PauseTiming();
        bench.Table->SetSort(String());
        State.ResumeTiming();
        bench.Table->SetSort(QStringLiteral("城市, 类别"));
    }
}

// One group of the first level opened and closed again.
void ToggleOneGroup(benchmark::State& State)
{
    TGroupingBench bench(static_cast<int>(State.range(0)));
    TGroupDataTreeNodeEh* group = bench.Grid->DataGrouping()->GroupDataTree()->ShownRowNode(0);
    for (auto _ : State) {
        group->SetExpanded(true);
        group->SetExpanded(false);
    }
}

}  // namespace

BENCHMARK(GroupTwoLevels)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortTwoKeys)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ToggleOneGroup)->Arg(100000)->Unit(benchmark::kMicrosecond);
