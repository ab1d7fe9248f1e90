// Painting one screen of the base grid and paging down: the cost must follow the cells on
// screen, not the counts, so a small and a huge grid are measured side by side.
#include "controls/GridsEh.h"
#include "../support/BenchApplication.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

class TBenchGrid : public TCustomGridEh {
public:
    TBenchGrid(int Cols, int Rows) : TCustomGridEh(nullptr), FImage(640, 480, QImage::Format_RGB32)
    {
        SetBorderStyle(TBorderStyle::bsNone);
        ChangeScrollBars(TScrollStyle::ssNone);
        SetBounds(0, 0, 640, 480);
        ChangeDimensions(Cols, Rows);
    }

    void PaintScreen()
    {
        QPainter painter(&FImage);
        Canvas()->BeginPaint(&painter);
        Paint();
        Canvas()->EndPaint();
    }

    void PageDown()
    {
        TGridLayoutEh layout;
        ComputeLayout(layout);
        const int page = std::max(1, layout.Vert.LastFullVisibleCell - TopRow());
        const int highest = TopLeftShowingCell(RowCount() - 1, layout.Vert);
        SetTopLeftCell(LeftCol(), TopRow() + page > highest ? FixedRows() : TopRow() + page);
        PaintScreen();
    }

    // Page Down as the user presses it: the key moves the current row and the top row.
    void PageDownByKey()
    {
        // Start over before the last, partly filled page, so every size pages full screens.
        if (Row() + 2 * FullyShownRowCount() >= RowCount())
            GoToCell(Col(), FixedRows(), true, true, true);
        Perform(WM_KEYDOWN, VK_NEXT);
        PaintScreen();
    }

protected:
    // Texts of one length for every grid, so both sizes draw the same glyphs per cell.
    void PaintCell(int ACol, int ARow, TGridDrawState, TRect ARect) override
    {
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, QString::number(100 + (ACol * 7 + ARow) % 900));
    }

private:
    QImage FImage;
};

void PaintOneScreen(benchmark::State& State)
{
    BenchApplication();
    TBenchGrid grid(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
    for (auto _ : State)
        grid.PaintScreen();
}

void PageDownAndPaint(benchmark::State& State)
{
    BenchApplication();
    TBenchGrid grid(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
    for (auto _ : State)
        grid.PageDown();
}

void PageDownByKeyAndPaint(benchmark::State& State)
{
    BenchApplication();
    TBenchGrid grid(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
    for (auto _ : State)
        grid.PageDownByKey();
}

} // namespace

BENCHMARK(PaintOneScreen)->Args({10, 1000})->Args({1000, 1000000})->Unit(benchmark::kMicrosecond);
BENCHMARK(PageDownAndPaint)->Args({10, 1000})->Args({1000, 1000000})->Unit(benchmark::kMicrosecond);
BENCHMARK(PageDownByKeyAndPaint)->Args({10, 1000})->Args({1000, 1000000})->Unit(benchmark::kMicrosecond);
