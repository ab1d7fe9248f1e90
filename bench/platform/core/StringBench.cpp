// Benchmarks of the platform's String on the short texts a grid's cells are built from.
#include "platform/core/String.h"

#include <benchmark/benchmark.h>

// A name joined with a number, as a cell of the issue list shows.
static void BM_ShortTextConcat(benchmark::State& state)
{
    for (auto _ : state) {
        String s = QStringLiteral("办公用品") + QString::number(state.iterations());
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_ShortTextConcat);
