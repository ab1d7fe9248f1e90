// The one text order's cost: sorting a list of mixed Chinese and Latin names, at n and 10n.
#include "platform/core/Collation.h"

#include <benchmark/benchmark.h>

#include <QStringList>

#include <algorithm>

namespace {

QStringList Names(int Count)
{
    const QStringList stems = {QStringLiteral("笔记本"), QStringLiteral("订书钉"), QStringLiteral("圆珠笔"),
                               QStringLiteral("A4纸"),   QStringLiteral("apple"),  QStringLiteral("Banana")};
    QStringList names;
    for (int i = 0; i < Count; ++i)
        names << stems[i % stems.size()] + QString::number((i * 7919) % Count);
    return names;
}

}  // namespace

static void BM_SortNamesInTheChineseOrder(benchmark::State& state)
{
    const QStringList names = Names(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(), [](const String& a, const String& b) {
            return CollateCompare(a, b, TCaseSensitivity::Insensitive) < 0;
        });
        benchmark::DoNotOptimize(sorted);
    }
}
BENCHMARK(BM_SortNamesInTheChineseOrder)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
