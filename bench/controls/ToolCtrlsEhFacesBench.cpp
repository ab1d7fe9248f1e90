// A grid screen's worth of drop-down buttons: copied from the face cache against rendered
// anew for every button (the cache flushed before each), side by side, classic and themed.
#include "controls/ToolCtrlsEh.h"
#include "../support/BenchApplication.h"

#include "platform/ui/Canvas.h"
#include "platform/ui/PlatformMetrics.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr int ButtonCount = 40;

// 40 drop-down buttons of 17 x 20 down the right edge of a screen's cells, every cell in
// its own place; FlushEach renders every one of them anew.
void PaintScreen(QImage& Screen, TCanvas& Canvas, bool FlushEach)
{
    QPainter painter(&Screen);
    Canvas.BeginPaint(&painter);
    for (int I = 0; I < ButtonCount; ++I) {
        if (FlushEach)
            FlushButtonBitmapCache();
        const TRect Cell = Bounds(600 - (I % 4) * 150, (I / 4) * 22, 17, 20);
        PaintButtonFace(&Canvas, Cell, clWindow, TCheckBoxState::cbUnchecked, true, false, false, bppNoneEh,
                        TDrawButtonStyleEh::dbsDropDownEh);
    }
    Canvas.EndPaint();
}

void BM_DropDownButtons(benchmark::State& State)
{
    BenchApplication();
    const bool Cached = State.range(0) != 0;
    PlatformMetrics().SetThemesActive(State.range(1) != 0);
    QImage Screen(640, 480, QImage::Format_RGB32);
    TCanvas Canvas;
    FlushButtonBitmapCache();
    for (auto _ : State)
        PaintScreen(Screen, Canvas, !Cached);
    State.SetLabel(std::string(Cached ? "cached" : "flushed") + (State.range(1) != 0 ? ", themed" : ", classic"));
    FlushButtonBitmapCache();
    PlatformMetrics().Reset();
}
BENCHMARK(BM_DropDownButtons)->ArgsProduct({{1, 0}, {0, 1}})->ArgNames({"cached", "themed"});

}  // namespace
