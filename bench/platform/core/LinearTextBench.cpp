// Formats and masks whose cost must grow with their length, not its square: each benchmark
// runs at n and 10n in one run, so the ratio of the two times shows the growth (about 10).
#include "platform/core/EditMask.h"
#include "platform/core/SysUtils.h"

#include <benchmark/benchmark.h>

// A format of n hour specifiers: each asks whether an am/pm specifier follows it.
static void BM_FormatDateTimeHours(benchmark::State& state)
{
    const String format = QStringLiteral("h ").repeated(state.range(0));
    const TDateTime value = EncodeDateTime(2026, 12, 9, 15, 4, 5, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatDateTime(format, value));
}
BENCHMARK(BM_FormatDateTimeHours)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// A mask of n digit positions with a value of letters, none of which fits its position: each
// asks whether it is the next literal.
static void BM_FormatMaskTextDigits(benchmark::State& state)
{
    const String mask = QStringLiteral("9").repeated(state.range(0));
    const String value = QStringLiteral("x").repeated(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatMaskText(mask, value));
}
BENCHMARK(BM_FormatMaskTextDigits)->Arg(8000)->Arg(80000)->Unit(benchmark::kMillisecond);
