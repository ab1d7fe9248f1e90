// A condition typed into a filter cell of a grid over 10^5 records of the memory dataset, applied
// with Enter through OnApplyFilter and repainted, beside the same filter set on the dataset
// directly and the same grid repainted.
#include "../support/BenchApplication.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhFilterRow.h"
#include "datagrid/DbUtilsEh.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Rows = 100000;
// One record in ten: the answer fills the screen.
const String Condition = QStringLiteral("< 10");
const String DirectFilter = QStringLiteral("[数量] < 10");

struct TFilterRowBench {
    TFilterRowBench()
    {
        BenchApplication();
        Data.FieldDefs()->Add(QStringLiteral("名称"), TFieldType::ftString, 20);
        Data.FieldDefs()->Add(QStringLiteral("数量"), TFieldType::ftInteger);
        Data.Open();
        for (int i = 0; i < Rows; ++i)
            Data.AppendRecord({QStringLiteral("物品%1").arg(i), i % 100});
        Data.First();
        Source.SetDataSet(&Data);
        Form.SetBounds(0, 0, 600, 500);
        Grid = new TDBGridEh(&Form);
        Grid->SetBounds(0, 0, 580, 480);
        Grid->SetParent(&Form);
        Grid->SetDataSource(&Source);
        Grid->STFilter()->SetVisible(true);
        // The dataset's own filter takes the grid's conditions, as a program would set it.
        Grid->OnApplyFilter = [this](TObject*) {
            Data.SetFilter(BuildGridFilterText(Grid, DatasetFilterConditionText, {}, true, false));
            Data.SetFiltered(true);
        };
        Form.Show();
        Grid->ActivateFilterCell(Grid->RequireColumnByFieldName(QStringLiteral("数量"))->Index());
    }

    void Repaint() { Grid->Handle()->repaint(); }

    TMemoryDataSet Data{nullptr};
    TDataSource Source{nullptr};
    TForm Form{nullptr};
    TDBGridEh* Grid = nullptr;
};

TFilterRowBench& Bench()
{
    static TFilterRowBench bench;
    return bench;
}

void PressEnter(QWidget* Target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(Target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(Target, &release);
}

// The application's path: the typed text in the filter editor, Enter, the grid repainted.
void TypedConditionThroughTheFilterRow(benchmark::State& State)
{
    TFilterRowBench& bench = Bench();
    TInplaceFilterEditEh* editor = bench.Grid->FilterEditor();
    for (auto _ : State) {
        State.PauseTiming();
        bench.Data.SetFiltered(false);
        State.ResumeTiming();
        editor->SetText(Condition);
        PressEnter(editor->Handle());
        bench.Repaint();
    }
    State.counters["records"] = bench.Data.RecordCount();
}

// The least work with the same answer: the filter set on the dataset, the grid repainted.
void SameFilterOnTheDataSet(benchmark::State& State)
{
    TFilterRowBench& bench = Bench();
    for (auto _ : State) {
        State.PauseTiming();
        bench.Data.SetFiltered(false);
        State.ResumeTiming();
        bench.Data.SetFilter(DirectFilter);
        bench.Data.SetFiltered(true);
        bench.Repaint();
    }
    State.counters["records"] = bench.Data.RecordCount();
}

}  // namespace

BENCHMARK(TypedConditionThroughTheFilterRow)->Unit(benchmark::kMillisecond);
BENCHMARK(SameFilterOnTheDataSet)->Unit(benchmark::kMillisecond);
