// The base grid's scrolling through its scroll bars: line, page and thumb actions, hidden bars,
// pixel scrolling, and the pixels moved on screen.
#include "GridsEhInputTestSupport.h"

#include <QScrollBar>

namespace {

class GridsEhScrollTest : public GridInputTest {
protected:
    QScrollBar* Bar(Qt::Orientation Orientation) const
    {
        for (QScrollBar* bar : Window()->findChildren<QScrollBar*>())
            if (bar->orientation() == Orientation)
                return bar;
        return nullptr;
    }
    // The user drags the thumb to Position, holding it there, then lets it go.
    void HoldThumbAt(Qt::Orientation Orientation, int Position)
    {
        QScrollBar* bar = Bar(Orientation);
        bar->setSliderDown(true);
        bar->setSliderPosition(Position);
    }
    void ReleaseThumb(Qt::Orientation Orientation) { Bar(Orientation)->setSliderDown(false); }
    TScrollInfo Info(int Which) const
    {
        TScrollInfo info;
        info.fMask = SIF_ALL;
        Grid->GetScrollInfo(Which, info);
        return info;
    }
};

TEST_F(GridsEhScrollTest, LineAndPageActionsStepTheTopRow)
{
    Grid->ChangeRowCount(100);
    QScrollBar* bar = Bar(Qt::Vertical);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Grid->TopRow(), 2);
    // No horizontal bar takes room: 11 rows show whole, a page is 10.
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Grid->TopRow(), 12);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(Grid->TopRow(), 2);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Grid->TopRow(), 89);
    EXPECT_EQ(Info(SB_VERT).nPos, 127);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(Grid->TopRow(), 1);
    // Scrolling leaves the current cell where it is.
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(GridsEhScrollTest, LineStepsPassOverRowsWithoutHeight)
{
    Grid->ChangeRowCount(100);
    Grid->ChangeRowHeight(2, 0);
    Grid->ChangeRowHeight(3, 0);
    Bar(Qt::Vertical)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Grid->TopRow(), 4);
}

TEST_F(GridsEhScrollTest, TheThumbMapsTheCoarseScaleOntoTheRows)
{
    Grid->ChangeRowCount(100);
    Grid->ChangeTopRow(46);
    // Top rows 1 to 89 map onto 0..127: row 46 is at 45 * 127 / 88, rounded.
    EXPECT_EQ(Info(SB_VERT).nMax, 127);
    EXPECT_EQ(Info(SB_VERT).nPos, 65);
    // Without thumb tracking the grid waits for the release.
    HoldThumbAt(Qt::Vertical, 127);
    EXPECT_EQ(Grid->TopRow(), 46);
    ReleaseThumb(Qt::Vertical);
    EXPECT_EQ(Grid->TopRow(), 89);
    Grid->ChangeOptions(Grid->Options() | goThumbTracking);
    HoldThumbAt(Qt::Vertical, 65);
    EXPECT_EQ(Grid->TopRow(), 46);
    ReleaseThumb(Qt::Vertical);
    EXPECT_EQ(Grid->TopRow(), 46);
}

TEST_F(GridsEhScrollTest, ABarWhoseCellsAllFitHasAnEmptyRangeAndDoesNotScroll)
{
    const TScrollInfo horz = Info(SB_HORZ);
    EXPECT_EQ(horz.nMin, 0);
    EXPECT_EQ(horz.nMax, 0);
    Grid->ApplyScrollBarAction(SB_HORZ, SB_LINEDOWN, false, 0);
    Grid->ApplyScrollBarAction(SB_HORZ, SB_THUMBPOSITION, false, 100);
    Grid->ApplyScrollBarAction(SB_HORZ, SB_BOTTOM, false, 0);
    EXPECT_EQ(Grid->LeftCol(), 1);
    EXPECT_EQ(Info(SB_HORZ).nPos, 0);
}

TEST_F(GridsEhScrollTest, ABarWithNothingToScrollIsHiddenAndTakesNoRoom)
{
    // Five columns and five rows fit the 400 x 300 window.
    EXPECT_FALSE(Bar(Qt::Horizontal) != nullptr && Bar(Qt::Horizontal)->isVisible());
    EXPECT_FALSE(Bar(Qt::Vertical) != nullptr && Bar(Qt::Vertical)->isVisible());
    EXPECT_EQ(Grid->ClientWidth(), 400);
    EXPECT_EQ(Grid->ClientHeight(), 300);
    Grid->ChangeRowCount(100);
    ASSERT_NE(Bar(Qt::Vertical), nullptr);
    EXPECT_TRUE(Bar(Qt::Vertical)->isVisible());
    EXPECT_LT(Grid->ClientWidth(), 400);
    EXPECT_EQ(Grid->ClientHeight(), 300);
}

TEST_F(GridsEhScrollTest, ChangingTheBarsOrTheBorderOfAShownGridKeepsTheBarsInStep)
{
    Grid->ChangeRowCount(100);
    Grid->ChangeTopRow(46);
    const TScrollInfo before = Info(SB_VERT);
    ASSERT_EQ(before.nMax, 127);
    Grid->ChangeScrollBars(TScrollStyle::ssVertical);
    EXPECT_EQ(Info(SB_VERT).nMax, before.nMax);
    EXPECT_EQ(Info(SB_VERT).nPos, before.nPos);
    ASSERT_NE(Bar(Qt::Vertical), nullptr);
    EXPECT_TRUE(Bar(Qt::Vertical)->isVisible());
    Grid->SetBorderStyle(TBorderStyle::bsSingle);
    // The frame takes 2 pixels each side: rows 1 to 10 show whole, so top rows 1 to 90 map onto
    // 0..127 and row 46 is at 45 * 127 / 89, rounded.
    EXPECT_EQ(Grid->TopRow(), 46);
    EXPECT_EQ(Info(SB_VERT).nMax, 127);
    EXPECT_EQ(Info(SB_VERT).nPos, 64);
    ASSERT_NE(Bar(Qt::Vertical), nullptr);
    EXPECT_TRUE(Bar(Qt::Vertical)->isVisible());
    // The user can still scroll with the refreshed bar.
    Bar(Qt::Vertical)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Grid->TopRow(), 47);
}

TEST_F(GridsEhScrollTest, AWideRowSelectGridScrollsByPixelsPast16BitThumbPositions)
{
    // 2,000 columns of 65 pixels: the pixel range runs far beyond 65,535.
    Grid->ChangeColCount(2000);
    Grid->ChangeOptions(Grid->Options() | goRowSelect | goThumbTracking);
    const TScrollInfo info = Info(SB_HORZ);
    EXPECT_EQ(info.nMax, 1999 * 65 - 1);
    // The rows fit, so no vertical bar takes room.
    EXPECT_EQ(info.nPage, 400u - 65u);
    HoldThumbAt(Qt::Horizontal, 100000);
    EXPECT_EQ(Grid->LeftCol(), 1539);
    EXPECT_EQ(Grid->HorzPixelOffset(), 30);
    ReleaseThumb(Qt::Horizontal);
    EXPECT_EQ(Grid->LeftCol(), 1539);
    EXPECT_EQ(Grid->HorzPixelOffset(), 30);
    EXPECT_EQ(Info(SB_HORZ).nPos, 100000);
    Bar(Qt::Horizontal)->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Info(SB_HORZ).nPos, 1999 * 65 - 335);
    EXPECT_EQ(Grid->LeftCol(), 1994);
}

TEST_F(GridsEhScrollTest, PixelPositionsCountNoLinesWhenTheAxisShowsNone)
{
    Grid->ChangeColCount(2000);
    Grid->ChangeOptions((Grid->Options() | goRowSelect | goThumbTracking) - goVertLine - goFixedVertLine);
    // Columns of 64 pixels abut: the range and the place of a position follow that.
    EXPECT_EQ(Info(SB_HORZ).nMax, 1999 * 64 - 1);
    HoldThumbAt(Qt::Horizontal, 100000);
    EXPECT_EQ(Grid->LeftCol(), 1 + 100000 / 64);
    EXPECT_EQ(Grid->HorzPixelOffset(), 100000 % 64);
    Bar(Qt::Horizontal)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Info(SB_HORZ).nPos, 100000 + Grid->HorzExtents().Page / 20);
}

TEST_F(GridsEhScrollTest, ThumbReleasedWithoutTrackingStillReachesAFarPixelPosition)
{
    Grid->ChangeColCount(2000);
    Grid->ChangeOptions(Grid->Options() | goRowSelect);
    HoldThumbAt(Qt::Horizontal, 100000);
    EXPECT_EQ(Grid->LeftCol(), 1);
    ReleaseThumb(Qt::Horizontal);
    EXPECT_EQ(Grid->LeftCol(), 1539);
    EXPECT_EQ(Grid->HorzPixelOffset(), 30);
}

TEST_F(GridsEhScrollTest, GrowingTheWindowScrollsBackWhenTheEndWouldLeaveAGap)
{
    Grid->ChangeRowCount(20);
    Bar(Qt::Vertical)->triggerAction(QAbstractSlider::SliderToMaximum);
    // Rows 9 to 19 fill the 300 pixels.
    EXPECT_EQ(Grid->TopRow(), 9);
    Grid->SetBounds(0, 0, 400, 600);
    EXPECT_EQ(Grid->TopRow(), 1);
    EXPECT_EQ(Info(SB_VERT).nMax, 0);
}

TEST_F(GridsEhScrollTest, ScrollingMovesThePixelsOfTheScrolledCells)
{
    Grid->DrawCellText = true;
    Grid->ChangeRowCount(100);
    Grid->Repaint();
    Bar(Qt::Vertical)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    Grid->Update();
    // What the window shows after moving its pixels is what a full paint draws.
    const QImage shown = Window()->grab(QRect(0, 0, Grid->ClientWidth(), Grid->ClientHeight())).toImage();
    const QImage painted = Grid->PaintToImage();
    int different = 0;
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x)
            different += PixelColor(shown, x, y) != PixelColor(painted, x, y);
    EXPECT_EQ(different, 0);
}

} // namespace
