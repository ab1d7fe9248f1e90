// The base grid's keyboard: arrows, Tab, page, Home and End keys with and without Shift and Ctrl,
// Enter and F2 for the editor, and the keys the grid asks for.
#include "GridsEhInputTestSupport.h"

namespace {

using GridsEhKeysTest = GridInputTest;

TEST_F(GridsEhKeysTest, ArrowsMoveTheCurrentCellAndStopAtTheEdges)
{
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);
    Key(Qt::Key_Up);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    Key(Qt::Key_Up);
    // The fixed column and row are never current.
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    for (int i = 0; i < 6; ++i)
        Key(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 4);
}

TEST_F(GridsEhKeysTest, ShiftArrowsSpanTheSelectionFromTheAnchor)
{
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Grid->AnchorCell(), (TGridCoord{1, 1}));
    EXPECT_EQ(Grid->GetSelectionRange(), (TGridCellRangeEh{1, 1, 2, 2}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid->GetSelectionRange(), (TGridCellRangeEh{2, 3, 2, 3}));
}

TEST_F(GridsEhKeysTest, TabWalksTheColumnsAndWrapsAtRowAndGridEnds)
{
    Grid->ChangeOptions(Grid->Options() | goTabs);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Grid->Col(), 2);
    Grid->GoToCell(4, 4, true, true, true);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 4);
    Grid->GoToCell(4, 2, true, true, true);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(GridsEhKeysTest, TabPassesOverColumnsWithoutTabStop)
{
    Grid->ChangeOptions(Grid->Options() | goTabs);
    Grid->ChangeColTabStop(2, false);
    Grid->ChangeColTabStop(3, false);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Grid->Col(), 4);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Grid->Col(), 1);
}

TEST_F(GridsEhKeysTest, PageKeysMoveTheRowAndTheTopRowByOnePage)
{
    Grid->ChangeRowCount(100);
    // The five columns fit, so no horizontal bar takes room: rows 1 to 11 show whole in the
    // 300-pixel client area and a page is 10 rows.
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Grid->Row(), 11);
    EXPECT_EQ(Grid->TopRow(), 11);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Grid->Row(), 21);
    EXPECT_EQ(Grid->TopRow(), 21);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Grid->Row(), 11);
    EXPECT_EQ(Grid->TopRow(), 11);
    for (int i = 0; i < 12; ++i)
        Key(Qt::Key_PageDown);
    EXPECT_EQ(Grid->Row(), 99);
    EXPECT_EQ(Grid->TopRow(), 89);
}

TEST_F(GridsEhKeysTest, CtrlPageKeysMoveWithinTheShownRows)
{
    Grid->ChangeRowCount(100);
    Grid->ChangeTopRow(20);
    Grid->GoToCell(1, 25, true, true, true);
    // Rows 20 to 30 show whole.
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Grid->Row(), 30);
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Grid->Row(), 20);
    EXPECT_EQ(Grid->TopRow(), 20);
}

TEST_F(GridsEhKeysTest, HomeAndEndGoToTheRowEndsAndWithCtrlToTheGridCorners)
{
    Grid->ChangeDimensions(20, 100);
    Key(Qt::Key_End);
    EXPECT_EQ(Grid->Col(), 19);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->LeftCol(), 16);
    Key(Qt::Key_Home);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->LeftCol(), 1);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Grid->Col(), 19);
    EXPECT_EQ(Grid->Row(), 99);
    EXPECT_EQ(Grid->TopRow(), 90);
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->LeftCol(), 1);
    EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(GridsEhKeysTest, CtrlArrowsScrollWithoutLeavingTheShownCells)
{
    Grid->ChangeDimensions(50, 100);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_EQ(Grid->Row(), 1);
    // Columns 1 to 4 show whole: a column page is 3.
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->LeftCol(), 4);
}

TEST_F(GridsEhKeysTest, UnderWholeRowSelectionLeftAndRightScrollByPixels)
{
    Grid->ChangeColCount(50);
    Grid->ChangeOptions(Grid->Options() | goRowSelect);
    // The rows fit, so no vertical bar takes room: a pixel step is a twentieth of the 335
    // scrolled pixels, 16.
    Key(Qt::Key_Right);
    EXPECT_EQ(Grid->LeftCol(), 1);
    EXPECT_EQ(Grid->HorzPixelOffset(), 16);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(Grid->LeftCol(), 2);
    EXPECT_EQ(Grid->HorzPixelOffset(), 15);
    Key(Qt::Key_Left);
    EXPECT_EQ(Grid->LeftCol(), 1);
    EXPECT_EQ(Grid->HorzPixelOffset(), 64);
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(GridsEhKeysTest, EnterAndF2OpenTheEditorAndEnterClosesIt)
{
    Grid->ChangeOptions(Grid->Options() | goEditing);
    Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_TRUE(Grid->EditorMode());
    Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_FALSE(Grid->EditorMode());
    Key(Qt::Key_F2);
    EXPECT_TRUE(Grid->EditorMode());
}

TEST_F(GridsEhKeysTest, AnAlwaysShownEditorKeepsEnterForItself)
{
    Grid->ChangeOptions(Grid->Options() | goEditing | goAlwaysShowEditor);
    ASSERT_TRUE(Grid->EditorMode());
    Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_TRUE(Grid->EditorMode());
}

TEST_F(GridsEhKeysTest, GridAsksForTheKeysItsOptionsUse)
{
    EXPECT_EQ(Grid->Perform(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTARROWS));
    Grid->ChangeOptions(Grid->Options() | goTabs | goEditing);
    EXPECT_EQ(Grid->Perform(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS));
    EXPECT_EQ(Grid->Perform(CM_WANTSPECIALKEY, VK_RETURN), 1);
    Grid->ChangeOptions(Grid->Options() | goRowSelect);
    EXPECT_EQ(Grid->Perform(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTARROWS));
}

} // namespace
