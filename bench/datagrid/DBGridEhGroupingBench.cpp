// Grouping 10^5 records beside the least work that gives the same groups (reading the keys,
// std::stable_sort of them and a count of the groups) and beside Qt's own tree (the same groups
// as a QStandardItemModel shown in a QTreeView), at one and at two levels; paging down through a
// grouped, expanded grid beside the same grid ungrouped, near the top and past row 60,000; and
// expanding and collapsing one group.
#include "../support/BenchApplication.h"
#include "../../tests/datagrid/MemTableTestSupport.h"

#include "datagrid/DBGridEh.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/Forms.h"

#include <QHash>
#include <QKeyEvent>
#include <QMap>
#include <QStandardItemModel>
#include <QTreeView>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace {

constexpr int Records = 100000;
const char* const GroupFields[] = {"城市", "类别"};

// A shown grid over a memory table of 10^5 records: 城市 (50 values), 类别 (20 values), 数量.
struct TGroupingBench {
    TGroupingBench()
    {
        BenchApplication();
        Table = std::make_unique<TMemTableDataSet>(nullptr);
        Table->FieldDefs()->Add(QStringLiteral("城市"), TFieldType::ftString, 20);
        Table->FieldDefs()->Add(QStringLiteral("类别"), TFieldType::ftString, 20);
        Table->FieldDefs()->Add(QStringLiteral("数量"), TFieldType::ftInteger);
        Table->Open();
        for (int I = 0; I < Records; ++I)
            Table->AppendRecord({QStringLiteral("城市%1").arg(I * 7919LL % 50), QStringLiteral("类别%1").arg(I * 104729LL % 20), I});
        Table->First();
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Table.get());
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 600, 500);
        Grid = new TDBGridEh(Form.get());
        Grid->SetBounds(0, 0, 580, 480);
        Grid->SetParent(Form.get());
        Grid->SetDataSource(Source.get());
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Grid->SetFocus();
    }

    // Levels group levels, switched off.
    void SetLevels(int Levels)
    {
        Grid->DataGrouping()->SetActive(false);
        TGridDataGroupLevelsEh* levels = Grid->DataGrouping()->GroupLevels();
        while (levels->Count() > 0)
            levels->Delete(levels->Count() - 1);
        for (int I = 0; I < Levels; ++I)
            levels->AddLevel()->ChangeColumn(Grid->RequireColumnByFieldName(QString::fromUtf8(GroupFields[I])));
    }

    void Key(int QtKey)
    {
        QKeyEvent press(QEvent::KeyPress, QtKey, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(Grid->Handle(), &press);
        Grid->Update();
    }

    std::unique_ptr<TMemTableDataSet> Table;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TForm> Form;
    TDBGridEh* Grid = nullptr;
};

TGroupingBench& Bench()
{
    // Never freed: at exit Qt's own clean-up runs first.
    static auto* bench = new TGroupingBench;
    return *bench;
}

void Label(benchmark::State& State, int Levels)
{
    State.SetLabel(std::to_string(Levels) + (Levels == 1 ? " level" : " levels"));
}

// The keys of every record as the grid reads them: the record read, then its fields' values.
std::vector<std::tuple<QString, QString, int>> ReadKeys(TMemTableDataSet& Table, int Levels)
{
    std::vector<std::tuple<QString, QString, int>> keys;
    keys.reserve(static_cast<std::size_t>(Records));
    TField* first = Table.FieldByName(QStringLiteral("城市"));
    TField* second = Table.FieldByName(QStringLiteral("类别"));
    for (int R = 0; R < Table.MemTableRecordCount(); ++R) {
        Table.BeginInstantRead(R);
        keys.emplace_back(first->AsString(), Levels > 1 ? second->AsString() : QString(), R);
        Table.EndInstantRead();
    }
    return keys;
}

// The grid's grouping switched on: the group tree built and the grid laid out and painted.
void GroupRecords(benchmark::State& State)
{
    const int levels = static_cast<int>(State.range(0));
    TGroupingBench& bench = Bench();
    bench.SetLevels(levels);
    for (auto _ : State) {
        State.PauseTiming();
        bench.Grid->DataGrouping()->SetActive(false);
        bench.Grid->Update();
        State.ResumeTiming();
        bench.Grid->DataGrouping()->SetActive(true);
        bench.Grid->Update();
    }
    State.counters["rows"] = bench.Grid->DataGrouping()->GroupDataTree()->ShownRowCount();
    bench.Grid->DataGrouping()->SetActive(false);
    Label(State, levels);
}

// The floor: the same keys read, stably sorted, and the groups counted.
void SortAndCountKeys(benchmark::State& State)
{
    const int levels = static_cast<int>(State.range(0));
    TGroupingBench& bench = Bench();
    int groups = 0;
    for (auto _ : State) {
        std::vector<std::tuple<QString, QString, int>> keys = ReadKeys(*bench.Table, levels);
        std::stable_sort(keys.begin(), keys.end(), [](const auto& A, const auto& B) {
            return std::tie(std::get<0>(A), std::get<1>(A)) < std::tie(std::get<0>(B), std::get<1>(B));
        });
        groups = 0;
        for (std::size_t I = 0; I < keys.size(); ++I) {
            if (I == 0 || std::get<0>(keys[I]) != std::get<0>(keys[I - 1]))
                groups += levels;
            else if (std::get<1>(keys[I]) != std::get<1>(keys[I - 1]))
                ++groups;
        }
        benchmark::DoNotOptimize(groups);
    }
    State.counters["groups"] = groups;
    Label(State, levels);
}

// The peer: the same groups, ordered by value, as a QStandardItemModel tree (a row of three
// cells per record) set on a shown QTreeView and painted.
void QtTreeModel(benchmark::State& State)
{
    const int levels = static_cast<int>(State.range(0));
    TGroupingBench& bench = Bench();
    QTreeView view;
    view.resize(580, 480);
    view.show();
    std::unique_ptr<QStandardItemModel> model;
    for (auto _ : State) {
        auto built = std::make_unique<QStandardItemModel>();
        built->setColumnCount(3);
        QMap<QString, QStandardItem*> tops;
        QHash<QString, QMap<QString, QStandardItem*>> seconds;
        for (const auto& [city, kind, recNo] : ReadKeys(*bench.Table, levels)) {
            QStandardItem*& top = tops[city];
            if (top == nullptr)
                top = new QStandardItem(city);
            QStandardItem* parent = top;
            if (levels > 1) {
                QStandardItem*& second = seconds[city][kind];
                if (second == nullptr)
                    second = new QStandardItem(kind);
                parent = second;
            }
            parent->appendRow({new QStandardItem(city), new QStandardItem(kind), new QStandardItem(QString::number(recNo))});
        }
        for (auto top = tops.begin(); top != tops.end(); ++top) {
            if (levels > 1)
                for (QStandardItem* second : std::as_const(seconds[top.key()]))
                    top.value()->appendRow(second);
            built->invisibleRootItem()->appendRow(top.value());
        }
        view.setModel(built.get());
        view.repaint();
        State.PauseTiming();
        model = std::move(built);
        State.ResumeTiming();
    }
    view.setModel(nullptr);
    Label(State, levels);
}

// One page down and one page up again with their repaints (two pages a round), from the row
// Range(1) of an expanded grid grouped by two levels (Range(0) 1) or of the same grid ungrouped.
void PageDownAndUp(benchmark::State& State)
{
    const bool grouped = State.range(0) != 0;
    const int row = static_cast<int>(State.range(1));
    TGroupingBench& bench = Bench();
    bench.SetLevels(2);
    bench.Grid->DataGrouping()->SetDefaultStateExpanded(true);
    bench.Grid->DataGrouping()->SetActive(grouped);
    int recNo = row;
    if (grouped) {
        TGridGroupDataTreeEh* tree = bench.Grid->DataGrouping()->GroupDataTree();
        int shown = row;
        while (tree->ShownRowNode(shown)->IsGroup())
            ++shown;
        recNo = tree->ShownRowNode(shown)->RecNo();
    }
    bench.Table->SetRecNo(recNo + 1);
    bench.Grid->Update();
    const int from = bench.Table->RecNo();
    for (auto _ : State) {
        bench.Key(Qt::Key_PageDown);
        bench.Key(Qt::Key_PageUp);
    }
    if (bench.Table->RecNo() != from)
        State.SkipWithError("the pages did not come back to the same record");
    State.SetLabel((grouped ? "grouped, row " : "ungrouped, row ") + std::to_string(bench.Grid->Row()));
    bench.Grid->DataGrouping()->SetActive(false);
    bench.Grid->DataGrouping()->SetDefaultStateExpanded(false);
}

// One group of the first level opened and closed again.
void ToggleOneGroup(benchmark::State& State)
{
    TGroupingBench& bench = Bench();
    bench.SetLevels(2);
    bench.Grid->DataGrouping()->SetActive(true);
    TGroupDataTreeNodeEh* group = bench.Grid->DataGrouping()->GroupDataTree()->ShownRowNode(0);
    for (auto _ : State) {
        group->SetExpanded(true);
        group->SetExpanded(false);
    }
    bench.Grid->DataGrouping()->SetActive(false);
}

}  // namespace

BENCHMARK(GroupRecords)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(SortAndCountKeys)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(QtTreeModel)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(PageDownAndUp)->Args({0, 100})->Args({1, 100})->Args({0, 61000})->Args({1, 61000})->Unit(benchmark::kMicrosecond);
BENCHMARK(ToggleOneGroup)->Unit(benchmark::kMicrosecond);
