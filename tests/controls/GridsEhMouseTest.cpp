// The base grid's mouse: clicks and drags that select, size and move columns and rows, the
// sizing line and cursors.
#include "GridsEhInputTestSupport.h"

#include <QCursor>

namespace {

using GridsEhMouseTest = GridInputTest;

// Columns are 64 pixels wide with a 1-pixel line: column 1 spans 65..128, its border line is
// at 129. Rows are 24 high: row 0 (the titles) spans 0..23, row r starts at 25 r.

TEST_F(GridsEhMouseTest, ClickMakesACellCurrentAndShiftClickExtendsTheSelection)
{
    ClickCell(150, 60);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->Clicks, 1);
    ClickCell(280, 110, Qt::ShiftModifier);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->GetSelectionRange(), (TGridCellRangeEh{2, 2, 4, 4}));
}

TEST_F(GridsEhMouseTest, ShiftClickMovesTheCurrentCellWhileEditing)
{
    Grid->ChangeOptions(Grid->Options() | goEditing);
    ClickCell(280, 110, Qt::ShiftModifier);
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_EQ(Grid->GetSelectionRange(), (TGridCellRangeEh{4, 4, 4, 4}));
    // A click on the current cell opens the editor.
    ClickCell(280, 110);
    EXPECT_TRUE(Grid->EditorMode());
}

TEST_F(GridsEhMouseTest, DraggingOverCellsSelectsThem)
{
    Press(150, 60);
    EXPECT_EQ(Grid->MouseMode(), TGridMouseModeEh::gmmSelecting);
    DragTo(220, 85);
    DragTo(280, 110);
    Release(280, 110);
    EXPECT_EQ(Grid->MouseMode(), TGridMouseModeEh::gmmNone);
    EXPECT_EQ(Grid->GetSelectionRange(), (TGridCellRangeEh{2, 2, 4, 4}));
    EXPECT_EQ(Grid->Clicks, 1);
}

TEST_F(GridsEhMouseTest, CellClickReportsThePointInsideTheCell)
{
    ClickCell(150, 60);
    ASSERT_EQ(Grid->CellClicks.size(), 1u);
    EXPECT_EQ(Grid->CellClicks[0].Cell, (TGridCoord{2, 2}));
    EXPECT_EQ(Grid->CellClicks[0].X, 20);
    EXPECT_EQ(Grid->CellClicks[0].Y, 10);
    EXPECT_FALSE(Grid->CellClicks[0].Shift.Contains(ssDouble));
    SendMouse(Window(), QEvent::MouseButtonDblClick, QPoint(150, 60), Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(Grid->CellClicks.size(), 2u);
    EXPECT_TRUE(Grid->CellClicks[1].Shift.Contains(ssDouble));
    Release(150, 60);
    // A press on one cell released on another is no click.
    Press(150, 60);
    Release(280, 60);
    EXPECT_EQ(Grid->CellClicks.size(), 3u);
}

TEST_F(GridsEhMouseTest, DraggingAColumnBorderSizesTheColumnByTheDragDistance)
{
    Grid->ChangeOptions(Grid->Options() | goColSizing);
    Press(131, 10);
    EXPECT_EQ(Grid->MouseMode(), TGridMouseModeEh::gmmColSizing);
    DragTo(151, 10);
    Release(151, 10);
    EXPECT_EQ(Grid->ColWidthAt(1), 84);
    EXPECT_EQ(Grid->ColWidthAt(2), 64);
    // The row sizing zone is in the fixed column.
    Grid->ChangeOptions(Grid->Options() | goRowSizing);
    Press(10, 49);
    DragTo(10, 39);
    Release(10, 39);
    EXPECT_EQ(Grid->RowHeightAt(1), 14);
}

TEST_F(GridsEhMouseTest, SizingNeverLeavesAnExtentOfOnePixel)
{
    Grid->ChangeOptions(Grid->Options() | goColSizing);
    Press(129, 10);
    DragTo(66, 10);
    Release(66, 10);
    EXPECT_EQ(Grid->ColWidthAt(1), 64);
    Press(129, 10);
    DragTo(67, 10);
    Release(67, 10);
    EXPECT_EQ(Grid->ColWidthAt(1), 2);
}

TEST_F(GridsEhMouseTest, AContraColumnIsSizedFromTheLineToItsEnd)
{
    Grid->ChangeColCount(4);
    Grid->ChangeOptions(Grid->Options() | goColSizing);
    Grid->ApplyContraColCount(1);
    // No scroll bar takes room: the contra column takes 400 - 65 - 1 = 334 onward; its leading
    // line is at 334.
    Press(335, 10);
    EXPECT_EQ(Grid->MouseMode(), TGridMouseModeEh::gmmColSizing);
    DragTo(315, 10);
    Release(315, 10);
    EXPECT_EQ(Grid->ColWidthAt(4), 84);
    EXPECT_EQ(Grid->ColWidthAt(3), 64);
}

TEST_F(GridsEhMouseTest, TheSizingLineIsDrawnInXorAndErasedAgain)
{
    Grid->ChangeOptions(Grid->Options() | goColSizing);
    const QImage before = Window()->grab().toImage();
    auto changedInColumn = [&](const QImage& Image, int X) {
        int changed = 0;
        for (int y = 0; y < Grid->ClientHeight(); ++y)
            changed += Image.pixel(X, y) != before.pixel(X, y);
        return changed;
    };
    Press(130, 10);
    QImage shown = Window()->grab().toImage();
    EXPECT_GT(changedInColumn(shown, 129), 20);
    DragTo(160, 10);
    shown = Window()->grab().toImage();
    EXPECT_EQ(changedInColumn(shown, 129), 0);
    EXPECT_GT(changedInColumn(shown, 159), 20);
    Grid->Perform(WM_CANCELMODE);
    EXPECT_EQ(Grid->MouseMode(), TGridMouseModeEh::gmmNone);
    EXPECT_EQ(changedInColumn(Window()->grab().toImage(), 159), 0);
    Release(160, 10);
    EXPECT_EQ(Grid->ColWidthAt(1), 64);
}

TEST_F(GridsEhMouseTest, TheCursorSplitsOverASizingZone)
{
    Grid->ChangeOptions(Grid->Options() | goColSizing | goRowSizing);
    Hover(130, 10);
    EXPECT_EQ(Window()->cursor().shape(), Qt::SplitHCursor);
    Hover(10, 50);
    EXPECT_EQ(Window()->cursor().shape(), Qt::SplitVCursor);
    Hover(100, 60);
    EXPECT_EQ(Window()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GridsEhMouseTest, DraggingATitleMovesTheColumnWithTheMarkerShown)
{
    Grid->ChangeOptions(Grid->Options() | goColMoving);
    Grid->ChangeColWidth(1, 50);
    Grid->ChangeColWidth(2, 60);
    Grid->ChangeColWidth(3, 70);
    // Column 1 spans 65..114, column 2 116..175, column 3 177..246.
    Press(80, 10);
    EXPECT_EQ(Grid->MouseMode(), TGridMouseModeEh::gmmColMoving);
    DragTo(200, 10);
    ASSERT_NE(ExistingGridMoveLine(), nullptr);
    EXPECT_TRUE(ExistingGridMoveLine()->IsShown());
    // Dropped after column 3: the marker is on its right edge, 3 pixels before the window.
    EXPECT_EQ(ExistingGridMoveLine()->Left(), Grid->ClientToScreen(Point(247, 0)).X - 3);
    Release(200, 10);
    EXPECT_FALSE(ExistingGridMoveLine()->IsShown());
    EXPECT_EQ(Grid->ColWidthAt(1), 60);
    EXPECT_EQ(Grid->ColWidthAt(2), 70);
    EXPECT_EQ(Grid->ColWidthAt(3), 50);
}

TEST_F(GridsEhMouseTest, AColumnReleasedOnItsOriginStaysWhereItWas)
{
    Grid->ChangeOptions(Grid->Options() | goColMoving);
    Grid->ChangeColWidth(1, 50);
    Press(80, 10);
    DragTo(90, 10);
    Release(90, 10);
    EXPECT_EQ(Grid->ColWidthAt(1), 50);
    EXPECT_EQ(Grid->MouseMode(), TGridMouseModeEh::gmmNone);
}

TEST_F(GridsEhMouseTest, DraggingAFixedCellMovesTheRow)
{
    Grid->ChangeOptions(Grid->Options() | goRowMoving);
    Grid->ChangeRowHeight(2, 30);
    // Row 2 spans 50..79, row 3 81..104, row 4 106..129.
    Press(10, 60);
    EXPECT_EQ(Grid->MouseMode(), TGridMouseModeEh::gmmRowMoving);
    DragTo(10, 115);
    Release(10, 115);
    EXPECT_EQ(Grid->RowHeightAt(4), 30);
    EXPECT_EQ(Grid->RowHeightAt(2), 24);
}

TEST_F(GridsEhMouseTest, TheWheelMovesTheCurrentRowButNotIntoTheFixedRows)
{
    Wheel(-120);
    Wheel(-120);
    EXPECT_EQ(Grid->Row(), 3);
    Wheel(120);
    Wheel(120);
    EXPECT_EQ(Grid->Row(), 1);
    Wheel(120);
    EXPECT_EQ(Grid->Row(), 1);
    for (int i = 0; i < 6; ++i)
        Wheel(-120);
    EXPECT_EQ(Grid->Row(), 4);
}

TEST_F(GridsEhMouseTest, CancelModeEndsSelecting)
{
    Press(150, 60);
    EXPECT_EQ(Grid->MouseMode(), TGridMouseModeEh::gmmSelecting);
    Grid->Perform(WM_CANCELMODE);
    EXPECT_EQ(Grid->MouseMode(), TGridMouseModeEh::gmmNone);
    Release(150, 60);
}

TEST(GridsEhAutoScrollTest, TheColumnMoveIntervalSlowsNearTheEdgeAndStaysPositive)
{
    EXPECT_EQ(ColumnMoveScrollInterval(200, 200), 62u);
    EXPECT_EQ(ColumnMoveScrollInterval(200, 5), 360u);
    // An edge at or beyond the desktop's edge leaves no room; the timer still runs.
    EXPECT_GE(ColumnMoveScrollInterval(0, 50), 60u);
    EXPECT_GE(ColumnMoveScrollInterval(-300, 50), 60u);
}

} // namespace

namespace {

// The application frees the windows it owns when it ends; the grid's shared drag windows are
// among them and must not be handed out afterwards.
TEST(GridsEhDragWindowsTest, FreedWithTheApplicationsWindowsAndMadeAnewOnTheNextDrag)
{
    GridDragBoxInstance();
    GridMoveLineInstance();
    ASSERT_NE(ExistingGridMoveLine(), nullptr);
    Application->DestroyForms();
    EXPECT_EQ(ExistingGridMoveLine(), nullptr);
    TGridDragBoxEh* box = GridDragBoxInstance();
    EXPECT_EQ(Application->ComponentCount(), 1) << "a new box, not the freed one";
    box->ShowAt(Point(10, 10), 20, 20);
    EXPECT_TRUE(box->IsShown());
    delete box;
    EXPECT_EQ(Application->ComponentCount(), 0);
}

}  // namespace
