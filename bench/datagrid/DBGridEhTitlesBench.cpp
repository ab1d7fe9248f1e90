// Building the multi-level title of 50 columns: captions of three levels beside plain ones, so
// the cost of the merging shows against the cost of laying out the leaves.
#include "datagrid/DBGridEh.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

QApplication& Application()
{
    static int argc = 1;
    static char name[] = "bench_datagrid";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}

class TBenchDBGrid : public TCustomDBGridEh {
public:
    TBenchDBGrid() : TCustomDBGridEh(nullptr) {}

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

// Five groups of ten columns, each group in two subgroups of five: "G|S|C".
void BuildTitleTree(benchmark::State& State)
{
    Application();
    const bool Levels = State.range(0) != 0;
    TBenchDBGrid Grid;
    for (int i = 0; i < 50; ++i) {
        TColumnEh* Column = Grid.Columns()->Add();
        const QString Leaf = QStringLiteral("列%1").arg(i);
        Column->Title()->SetCaption(Levels ? QStringLiteral("组%1|分%2|").arg(i / 10).arg(i / 5) + Leaf : Leaf);
    }
    std::vector<THeadTreeNode*> Leaves;
    for (auto _ : State) {
        Grid.HeadTree()->BuildFromColumns(&Grid, Leaves);
        benchmark::DoNotOptimize(Leaves.data());
    }
    State.SetLabel(Levels ? "three levels" : "one level");
}
BENCHMARK(BuildTitleTree)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
