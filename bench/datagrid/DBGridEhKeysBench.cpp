// The grid's answer to the user's input against the size of its dataset: one step of the Down
// key held (key-down to the window, the move, the repaint of the changed rows), Ctrl+End, one
// wheel notch and one thumb-track step, on 10^3 and 10^6 records of the in-memory dataset.
// Every step should cost the same at either size.
#include "../support/BenchApplication.h"

#include "datagrid/DBGridEh.h"
#include "platform/data/DataSource.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/ui/Forms.h"

#include <QKeyEvent>
#include <QWidget>
#include <QWheelEvent>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

class TBenchDBGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

// A shown, focused grid of the main window's size over Rows records, kept for the whole run.
struct TKeysBench {
    TMemoryDataSet Data{nullptr};
    TDataSource Source{nullptr};
    TForm* Form = nullptr;
    TBenchDBGrid* Grid = nullptr;

    explicit TKeysBench(int Rows)
    {
        Data.FieldDefs()->Add(QStringLiteral("id"), TFieldType::ftAutoInc);
        Data.FieldDefs()->Add(QStringLiteral("姓名"), TFieldType::ftString, 20);
        Data.FieldDefs()->Add(QStringLiteral("数量"), TFieldType::ftInteger);
        Data.Open();
        for (int i = 0; i < Rows; ++i)
            Data.AppendRecord({Variant(), Variant(QStringLiteral("张三")), Variant(i % 20)});
        Data.First();
        Source.SetDataSet(&Data);
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 800, 400);
        Grid = new TBenchDBGrid(Form);
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(0, 0, 753, 300);
        Grid->SetParent(Form);
        Grid->SetDataSource(&Source);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Grid->SetFocus();
    }

    void Key(int QtKey, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, QtKey, Modifiers, QString(), true);
        QApplication::sendEvent(Grid->Handle(), &press);
    }
    void Wheel(int Delta)
    {
        const QPointF at(100, 100);
        QWheelEvent event(at, Grid->Handle()->mapToGlobal(at), QPoint(), QPoint(0, Delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Grid->Handle(), &event);
    }
};

TKeysBench& BenchFor(int Rows)
{
    BenchApplication();
    // Never freed: at exit Qt's own clean-up runs first.
    static auto* benches = new std::map<int, std::unique_ptr<TKeysBench>>;
    auto& bench = (*benches)[Rows];
    if (!bench)
        bench = std::make_unique<TKeysBench>(Rows);
    return *bench;
}

void Label(benchmark::State& State, int Rows) { State.SetLabel(std::to_string(Rows) + " records"); }

// Down held: one auto-repeated key-down and the repaint it asks for; Up on the way back.
void HoldDown(benchmark::State& State)
{
    const int rows = static_cast<int>(State.range(0));
    TKeysBench& bench = BenchFor(rows);
    bench.Data.First();
    int key = Qt::Key_Down;
    for (auto _ : State) {
        bench.Key(key);
        bench.Grid->Update();
        if (bench.Data.Eof())
            key = Qt::Key_Up;
        else if (bench.Data.Bof())
            key = Qt::Key_Down;
    }
    Label(State, rows);
}

// Ctrl+End then Ctrl+Home, with their repaints: two steps per round.
void CtrlEndAndHome(benchmark::State& State)
{
    const int rows = static_cast<int>(State.range(0));
    TKeysBench& bench = BenchFor(rows);
    for (auto _ : State) {
        bench.Key(Qt::Key_End, Qt::ControlModifier);
        bench.Grid->Update();
        bench.Key(Qt::Key_Home, Qt::ControlModifier);
        bench.Grid->Update();
    }
    if (bench.Data.RecNo() != 1)
        State.SkipWithError("Ctrl+Home did not reach the first record");
    Label(State, rows);
}

// One wheel notch down (up on the way back) and its repaint.
void WheelNotch(benchmark::State& State)
{
    const int rows = static_cast<int>(State.range(0));
    TKeysBench& bench = BenchFor(rows);
    bench.Data.First();
    int delta = -120;
    for (auto _ : State) {
        bench.Wheel(delta);
        bench.Grid->Update();
        if (bench.Data.Eof())
            delta = 120;
        else if (bench.Data.Bof())
            delta = -120;
    }
    Label(State, rows);
}

// The thumb dragged: each step a thumb-track position a page of records further.
void ThumbTrack(benchmark::State& State)
{
    const int rows = static_cast<int>(State.range(0));
    TKeysBench& bench = BenchFor(rows);
    // Positions the message carries whole (16 bits), so no bar has to be asked for the rest.
    const int last = std::min(rows, 65535);
    const int step = std::max(1, last / 100);
    int position = 1;
    for (auto _ : State) {
        position = position + step > last ? 1 : position + step;
        bench.Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
        bench.Grid->Update();
    }
    Label(State, rows);
}

BENCHMARK(HoldDown)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(CtrlEndAndHome)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(WheelNotch)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ThumbTrack)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
