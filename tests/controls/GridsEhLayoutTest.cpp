// The base grid's layout: where fixed, scrolled and contra cells lie, hit testing, the highest
// first column, and scrolling the current cell into view.
#include "GridsEhTestGrid.h"

#include <gtest/gtest.h>

namespace {

// A borderless grid without scroll bars, so the client area is the whole control.
class GridsEhLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Grid.SetBorderStyle(TBorderStyle::bsNone);
        Grid.ChangeScrollBars(TScrollStyle::ssNone);
    }

    TGridLayoutEh Layout() const
    {
        TGridLayoutEh layout;
        Grid.ComputeLayout(layout);
        return layout;
    }

    TTestGrid Grid{nullptr};
};

TEST_F(GridsEhLayoutTest, NewGridHasItsDocumentedShape)
{
    EXPECT_EQ(Grid.Width(), 320);
    EXPECT_EQ(Grid.Height(), 120);
    EXPECT_EQ(Grid.ColCount(), 5);
    EXPECT_EQ(Grid.RowCount(), 5);
    EXPECT_EQ(Grid.FixedCols(), 1);
    EXPECT_EQ(Grid.FixedRows(), 1);
    EXPECT_EQ(Grid.Col(), 1);
    EXPECT_EQ(Grid.Row(), 1);
    EXPECT_EQ(Grid.AnchorCell(), (TGridCoord{1, 1}));
    EXPECT_EQ(Grid.EditorCell(), (TGridCoord{-1, -1}));
    EXPECT_EQ(Grid.LeftCol(), 1);
    EXPECT_EQ(Grid.TopRow(), 1);
    EXPECT_TRUE(Grid.TabStop());
    EXPECT_EQ(Grid.Options(), goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect);
}

TEST_F(GridsEhLayoutTest, AxesWithoutLineOptionsHaveNoLineWidth)
{
    EXPECT_EQ(Layout().Horz.LineWidth, 1);
    Grid.ChangeOptions(goFixedHorzLine | goHorzLine);
    EXPECT_EQ(Layout().Horz.LineWidth, 0);
    EXPECT_EQ(Layout().Vert.LineWidth, 1);
    Grid.ChangeOptions(goFixedVertLine);
    EXPECT_EQ(Layout().Horz.LineWidth, 1);
    EXPECT_EQ(Layout().Vert.LineWidth, 0);
}

TEST_F(GridsEhLayoutTest, LayoutPlacesFixedScrolledAndContraCells)
{
    Grid.SetBounds(0, 0, 400, 200);
    Grid.ChangeColCount(20);
    Grid.ChangeFixedCols(2);
    Grid.ChangeFrozenFixedCols(1);
    Grid.ApplyContraColCount(1);
    Grid.ChangeColWidth(20, 50);
    const TGridAxisLayoutEh horz = Layout().Horz;
    EXPECT_EQ(horz.FixedBoundary, 130);
    EXPECT_EQ(horz.FrozenStart, 65);
    EXPECT_EQ(horz.ContraStart, 400 - 51 - 1);
    EXPECT_EQ(horz.ScrollLimit, horz.ContraStart);
    EXPECT_EQ(horz.GridBoundary, 400);
    // 130 + 3 * 65 = 325 fits before 348; the fourth scrolled column would end at 390.
    EXPECT_EQ(horz.LastFullVisibleCell, 4);
    EXPECT_EQ(horz.LastFullVisibleEnd, 325);
    EXPECT_EQ(horz.DrawnEdge, horz.ContraStart);
}

TEST_F(GridsEhLayoutTest, HitTestingFindsEveryKindOfCell)
{
    Grid.SetBounds(0, 0, 400, 200);
    Grid.ChangeColCount(20);
    Grid.ChangeFixedCols(2);
    Grid.ChangeFrozenFixedCols(1);
    Grid.ApplyContraColCount(2);
    Grid.ChangeRowCount(30);
    Grid.ChangeContraRowCount(1);
    EXPECT_EQ(Grid.CellFromPoint(10, 10), (TGridCoord{0, 0}));
    EXPECT_EQ(Grid.CellFromPoint(70, 30), (TGridCoord{1, 1}));
    EXPECT_EQ(Grid.CellFromPoint(140, 30), (TGridCoord{2, 1}));
    // Contra columns start at 400 - 2 * 65 - 1 = 269, after their own leading line.
    EXPECT_EQ(Grid.CellFromPoint(275, 30), (TGridCoord{20, 1}));
    EXPECT_EQ(Grid.CellFromPoint(399, 30), (TGridCoord{21, 1}));
    EXPECT_EQ(Grid.CellFromPoint(140, 199), (TGridCoord{2, 30}));
    EXPECT_EQ(Grid.CellFromPoint(-1, -1), (TGridCoord{-1, -1}));
}

TEST_F(GridsEhLayoutTest, APointInTheLeftBandHitsNoCell)
{
    Grid.OutBoundaryData()->ChangeLeftExtent(20);
    EXPECT_EQ(Grid.CellFromPoint(10, 30), (TGridCoord{-1, -1}));
    EXPECT_EQ(Grid.CellFromPoint(25, 30), (TGridCoord{0, 1}));
}

TEST_F(GridsEhLayoutTest, ZeroWidthScrolledColumnsAreSkipped)
{
    Grid.ChangeColCount(10);
    Grid.ChangeColWidth(2, 0);
    // Column 1 ends at 130 (its line included), then column 2 has only its line.
    EXPECT_EQ(Grid.CellFromPoint(130, 30).X, 3);
    TGridLayoutEh layout = Layout();
    // From column 3 back, 3 and 1 fit in 320 - 65 + 1 pixels, the zero-width 2 is passed over.
    EXPECT_EQ(Grid.TopLeftShowingCell(4, layout.Horz), 1);
    Grid.ChangeColWidth(1, 0);
    layout = Layout();
    EXPECT_EQ(Grid.TopLeftShowingCell(5, layout.Horz), 1);
    EXPECT_EQ(Grid.TopLeftShowingCell(6, layout.Horz), 4);
}

TEST_F(GridsEhLayoutTest, TheHighestFirstColumnShowsTheLastOneWholeOverLinesOfZeroWidthColumns)
{
    Grid.ChangeColCount(12);
    Grid.ChangeColWidth(7, 85);
    Grid.ChangeColWidth(8, 84);
    Grid.ChangeColWidth(9, 0);
    Grid.ChangeColWidth(10, 0);
    Grid.ChangeColWidth(11, 84);
    // Columns 7, 8 and 11 with their lines fill the 255 scrolled pixels plus the last line; the
    // lines of 9 and 10 push column 11 out unless column 8 comes first.
    const int highest = Grid.TopLeftShowingCell(11, Layout().Horz);
    EXPECT_EQ(highest, 8);
    Grid.ChangeLeftCol(highest);
    EXPECT_EQ(Layout().Horz.LastFullVisibleCell, 11);
}

TEST_F(GridsEhLayoutTest, HighestFirstColumnIsTheFixedCountWhenEverythingFits)
{
    Grid.ChangeColCount(4);
    EXPECT_EQ(Grid.TopLeftShowingCell(3, Layout().Horz), 1);
    // Five columns need 325 pixels: the last one shows whole only from column 2 on.
    Grid.ChangeColCount(5);
    EXPECT_EQ(Grid.TopLeftShowingCell(4, Layout().Horz), 2);
    Grid.ChangeColCount(50);
    EXPECT_EQ(Grid.TopLeftShowingCell(49, Layout().Horz), 47);
}

TEST_F(GridsEhLayoutTest, CellRectanglesFollowTheScrolledPart)
{
    Grid.ChangeColCount(50);
    Grid.ChangeRowCount(50);
    EXPECT_EQ(Grid.CellPixelRect(1, 1), Rect(65, 25, 129, 49));
    Grid.SetTopLeftCell(10, 20);
    EXPECT_EQ(Grid.CellPixelRect(10, 20), Rect(65, 25, 129, 49));
    EXPECT_EQ(Grid.CellPixelRect(11, 0), Rect(130, 0, 194, 24));
    EXPECT_TRUE(Grid.CellPixelRect(5, 5).IsEmpty());
    EXPECT_TRUE(Grid.CellPixelRect(30, 25).IsEmpty());
    // A range reaching past the last whole column ends at the client edge.
    EXPECT_EQ(Grid.RangePixelRect(12, 20, 40, 20), Rect(195, 25, 320, 49));
    EXPECT_EQ(Grid.VisibleRangeRect({10, 20, 10, 20}, true), Rect(65, 25, 130, 50));
}

TEST_F(GridsEhLayoutTest, ContraCellsKeepTheirPlaceAtTheFarEdge)
{
    Grid.ChangeColCount(50);
    Grid.ApplyContraColCount(1);
    Grid.ChangeColWidth(50, 40);
    EXPECT_EQ(Grid.CellPixelRect(50, 1), Rect(279, 25, 319, 49));
    Grid.SetTopLeftCell(30, 1);
    EXPECT_EQ(Grid.CellPixelRect(50, 1), Rect(279, 25, 319, 49));
    EXPECT_EQ(Grid.CellPixelRect(30, 1), Rect(65, 25, 129, 49));
}

TEST_F(GridsEhLayoutTest, MovingTheCurrentCellScrollsItIntoView)
{
    Grid.HandleNeeded();
    Grid.ChangeColCount(50);
    Grid.ChangeRowCount(50);
    Grid.MoveCurrentCell(20, 30, true, true, true);
    EXPECT_EQ(Grid.LeftCol(), 18);
    EXPECT_EQ(Grid.TopRow(), 28);
    EXPECT_EQ(Grid.CellPixelRect(20, 30), Rect(195, 75, 259, 99));
    Grid.MoveCurrentCell(2, 2, true, false, true);
    EXPECT_EQ(Grid.LeftCol(), 2);
    EXPECT_EQ(Grid.TopRow(), 28);
    EXPECT_EQ(Grid.AnchorCell(), (TGridCoord{2, 2}));
}

TEST_F(GridsEhLayoutTest, WithoutAWindowNothingScrolls)
{
    Grid.ChangeColCount(50);
    Grid.MoveCurrentCell(40, 1, true, true, true);
    EXPECT_EQ(Grid.Col(), 40);
    EXPECT_EQ(Grid.LeftCol(), 1);
}

TEST_F(GridsEhLayoutTest, PixelScrolledAxisShowsThePartOfTheCellBefore)
{
    Grid.ChangeColCount(50);
    Grid.ChangeColWidth(20, 100);
    int overhang = 0;
    const int first = Grid.TopLeftShowingCellWithOverhang(20, Layout().Horz, overhang);
    // 321 - 101 = 220, then 155 and 90 still start after 65; column 17 would start at 25.
    EXPECT_EQ(first, 18);
    EXPECT_EQ(overhang, 65 - 25);
}

} // namespace
