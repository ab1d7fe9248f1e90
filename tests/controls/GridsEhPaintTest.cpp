// The base grid's painting read back as pixels: area colours, lines, selection, frozen and
// contra cells, outer bands and the cells painted for a clip.
#include "GridsEhTestGrid.h"

#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class GridsEhPaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Grid.SetBorderStyle(TBorderStyle::bsNone);
        Grid.ChangeScrollBars(TScrollStyle::ssNone);
    }

    TTestGrid Grid{nullptr};
    const TColor Face = ColorToRGB(clBtnFace);
    const TColor Window = ColorToRGB(clWindow);
    const TColor Highlight = ColorToRGB(clHighlight);
};

TEST_F(GridsEhPaintTest, CellsAndLinesTakeTheirAreaColours)
{
    const QImage image = Grid.PaintToImage();
    EXPECT_EQ(PixelColor(image, 10, 10), Face);
    EXPECT_EQ(PixelColor(image, 150, 60), Window);
    // Column 1 ends at 128; its line is at 129, row 1's line at 49.
    EXPECT_EQ(PixelColor(image, 129, 60), clSilver);
    EXPECT_EQ(PixelColor(image, 150, 49), clSilver);
    EXPECT_EQ(PixelColor(image, 64, 10), clGray);
    EXPECT_EQ(PixelColor(image, 64, 60), clGray);
    EXPECT_EQ(PixelColor(image, 150, 24), clGray);
    ASSERT_NE(Grid.PaintedAt(0, 0), nullptr);
    EXPECT_TRUE(Grid.PaintedAt(0, 0)->State.Contains(gdFixed));
    EXPECT_FALSE(Grid.PaintedAt(2, 2)->State.Contains(gdFixed));
}

TEST_F(GridsEhPaintTest, BrightLinesTurnGrayOnASilverGrid)
{
    Grid.SetColor(clSilver);
    EXPECT_EQ(Grid.GridLineColors()->BrightLineColor(), clGray);
    Grid.GridLineColors()->SetBrightColor(clRed);
    EXPECT_EQ(PixelColor(Grid.PaintToImage(), 129, 60), clRed);
}

// A descendant's own line colours: every dark line red.
class TRedDarkLines : public TGridLineColorsEh {
public:
    using TGridLineColorsEh::TGridLineColorsEh;
    TColor DarkLineColor() const override { return clRed; }
};

class TRedLinesGrid : public TTestGrid {
public:
    using TTestGrid::TTestGrid;

protected:
    std::unique_ptr<TGridLineColorsEh> CreateLineColorsObject() override
    {
        return std::make_unique<TRedDarkLines>(this);
    }
};

TEST_F(GridsEhPaintTest, ADescendantsLineColoursObjectPaintsTheLines)
{
    TRedLinesGrid grid(nullptr);
    grid.SetBorderStyle(TBorderStyle::bsNone);
    grid.ChangeScrollBars(TScrollStyle::ssNone);
    EXPECT_EQ(PixelColor(grid.PaintToImage(), 64, 10), clRed);
}

// A painter that writes one cell in bold and notes the font every cell starts with.
class TBoldCellGrid : public TTestGrid {
public:
    using TTestGrid::TTestGrid;
    std::vector<bool> StartedBold;

protected:
    void PaintCell(int ACol, int ARow, TGridDrawState State, TRect ARect) override
    {
        StartedBold.push_back(Canvas()->Font()->Style().Contains(TFontStyle::fsBold));
        if (ACol == 1 && ARow == 1)
            Canvas()->Font()->SetStyle({TFontStyle::fsBold});
        TTestGrid::PaintCell(ACol, ARow, State, ARect);
    }
};

TEST_F(GridsEhPaintTest, EveryCellStartsWithTheGridsFontWhateverTheCellBeforeDid)
{
    TBoldCellGrid grid(nullptr);
    grid.SetBorderStyle(TBorderStyle::bsNone);
    grid.ChangeScrollBars(TScrollStyle::ssNone);
    grid.PaintToImage();
    ASSERT_FALSE(grid.StartedBold.empty());
    EXPECT_EQ(std::count(grid.StartedBold.begin(), grid.StartedBold.end(), true), 0);
}

TEST_F(GridsEhPaintTest, SelectedCellsAreHighlighted)
{
    Grid.ExtendSelectionTo({3, 3}, false);
    const QImage image = Grid.PaintToImage();
    EXPECT_EQ(PixelColor(image, 90, 30), Highlight);
    EXPECT_EQ(PixelColor(image, 150, 60), Highlight);
    EXPECT_EQ(PixelColor(image, 280, 110), Window);
    const auto* current = Grid.PaintedAt(1, 1);
    ASSERT_NE(current, nullptr);
    EXPECT_TRUE(current->State.Contains(gdCurrent | gdSelected));
    EXPECT_FALSE(current->State.Contains(gdFocused));
    EXPECT_FALSE(Grid.PaintedAt(2, 2)->State.Contains(gdCurrent));
}

TEST_F(GridsEhPaintTest, WholeRowSelectionMarksTheCurrentRow)
{
    Grid.ChangeOptions(Grid.Options() | goRowSelect);
    const QImage image = Grid.PaintToImage();
    EXPECT_EQ(PixelColor(image, 280, 30), Highlight);
    EXPECT_EQ(PixelColor(image, 280, 60), Window);
    EXPECT_TRUE(Grid.PaintedAt(3, 1)->State.Contains(gdCurrent));
    EXPECT_FALSE(Grid.PaintedAt(0, 1)->State.Contains(gdCurrent));
}

TEST_F(GridsEhPaintTest, WithoutLineOptionsCellsAbut)
{
    Grid.ChangeOptions(goRangeSelect);
    const QImage image = Grid.PaintToImage();
    EXPECT_EQ(Grid.PaintedAt(1, 2)->Rect, Rect(64, 48, 128, 72));
    EXPECT_EQ(PixelColor(image, 63, 60), Face);
    EXPECT_EQ(PixelColor(image, 64, 60), Window);
    EXPECT_EQ(PixelColor(image, 150, 72), Window);
}

TEST_F(GridsEhPaintTest, FrozenColumnPaintsAsDataWithItsEdgeLine)
{
    Grid.ChangeColCount(6);
    Grid.ChangeFixedCols(2);
    Grid.ChangeFrozenFixedCols(1);
    Grid.GridLineColors()->SetRoleColor(TGridLineColorsEh::lcrFrozenColsEdge, clRed);
    const QImage image = Grid.PaintToImage();
    EXPECT_EQ(PixelColor(image, 10, 60), Face);
    EXPECT_EQ(PixelColor(image, 90, 60), Window);
    EXPECT_EQ(PixelColor(image, 129, 60), clRed);
    EXPECT_FALSE(Grid.PaintedAt(1, 2)->State.Contains(gdFixed));
}

TEST_F(GridsEhPaintTest, ZeroWidthColumnsAndCellsOutsideTheClipAreNotPainted)
{
    Grid.ChangeColWidth(2, 0);
    Grid.PaintToImage();
    EXPECT_EQ(Grid.PaintedAt(2, 1), nullptr);
    EXPECT_NE(Grid.PaintedAt(3, 1), nullptr);
    Grid.ChangeColWidth(2, 64);
    Grid.PaintToImage(Rect(130, 50, 194, 74));
    ASSERT_EQ(Grid.Painted.size(), 1u);
    EXPECT_EQ(Grid.Painted.front().Cell, (TGridCoord{2, 2}));
}

TEST_F(GridsEhPaintTest, ContraRowHangsFromTheBottomBehindItsStartLine)
{
    Grid.ChangeRowCount(20);
    Grid.ChangeContraRowCount(1);
    const QImage image = Grid.PaintToImage();
    // 120 - (24 + 1) - 1 = 94: the start line, then the row.
    EXPECT_EQ(PixelColor(image, 150, 94), clGray);
    EXPECT_EQ(PixelColor(image, 150, 100), Window);
    ASSERT_NE(Grid.PaintedAt(2, 20), nullptr);
    EXPECT_EQ(Grid.PaintedAt(2, 20)->Rect, Rect(130, 95, 194, 119));
    EXPECT_EQ(PixelColor(image, 150, 119), clSilver);
    EXPECT_EQ(Grid.PaintedAt(2, 4), nullptr);
}

TEST_F(GridsEhPaintTest, OuterBandsArePaintedOnlyWithAnExtent)
{
    Grid.SetFixedColor(clRed);
    EXPECT_EQ(PixelColor(Grid.PaintToImage(), 300, 2), clRed);
    Grid.OutBoundaryData()->ChangeTopExtent(10);
    Grid.OutBoundaryData()->ChangeLeftExtent(20);
    Grid.SetFixedColor(clBlue);
    const QImage image = Grid.PaintToImage();
    EXPECT_EQ(PixelColor(image, 5, 5), clBlue);
    EXPECT_EQ(Grid.PaintedAt(0, 0)->Rect, Rect(20, 10, 84, 34));
    TRect band;
    EXPECT_TRUE(Grid.OutBoundaryData()->AreaRect(band, TGridOutBoundaryDataEh::oakTop));
    EXPECT_EQ(band, Rect(0, 0, 320, 10));
    Grid.OutBoundaryData()->SetTopStartsAfterLeft(true);
    Grid.OutBoundaryData()->AreaRect(band, TGridOutBoundaryDataEh::oakTop);
    EXPECT_EQ(band.Left, 20);
    EXPECT_FALSE(Grid.OutBoundaryData()->AreaRect(band, TGridOutBoundaryDataEh::oakBottom));
}

TEST_F(GridsEhPaintTest, CellPainterWritesText)
{
    auto darkPixels = [](const QImage& Image, const TRect& R) {
        int count = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                count += qGray(Image.pixel(x, y)) < 100 ? 1 : 0;
        return count;
    };
    const TRect cell = Rect(130, 50, 194, 74);
    EXPECT_EQ(darkPixels(Grid.PaintToImage(), cell), 0);
    Grid.DrawCellText = true;
    EXPECT_GT(darkPixels(Grid.PaintToImage(), cell), 5);
}

TEST_F(GridsEhPaintTest, NothingIsPaintedWhileScrollUpdatesAreSuspended)
{
    Grid.SuspendScrollUpdates();
    Grid.PaintToImage();
    EXPECT_TRUE(Grid.Painted.empty());
    Grid.ResumeScrollUpdates();
    Grid.PaintToImage();
    EXPECT_FALSE(Grid.Painted.empty());
}

TEST_F(GridsEhPaintTest, TheWindowShowsThePaintedGrid)
{
    const QImage image = Grid.Handle()->grab().toImage();
    EXPECT_EQ(PixelColor(image, 10, 10), Face);
    EXPECT_EQ(PixelColor(image, 129, 60), clSilver);
}

} // namespace
