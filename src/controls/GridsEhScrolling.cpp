// Scroll bars and moving the window contents after the first shown cells changed.
#include "controls/GridsEh.h"

void TCustomGridEh::ScrollContentFrom(TGridCoord, TPoint)
{
    SyncScrollBarPositions();
    InvalidateGrid();
    ResyncAfterScroll();
}

void TCustomGridEh::ScrollClientArea(int, int)
{
    InvalidateGrid();
}

void TCustomGridEh::RefreshScrollBars()
{
    if (!HandleAllocated() || ScrollUpdatesSuspended() || FScrollBars == TScrollStyle::ssNone)
        return;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    UpdatePageExtents(layout);
    SyncScrollBarPositions();
}

void TCustomGridEh::SyncScrollBarPositions()
{
    if (!HandleAllocated() || FScrollBars == TScrollStyle::ssNone)
        return;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    // Whole-cell axes map the first shown cell onto 0..127; an axis whose cells all fit has range 0..0.
    auto sync = [this](int Bar, const TGridAxisLayoutEh& Axis) {
        const int highest = TopLeftShowingCell(Axis.CellCount - 1, Axis);
        const int span = highest - Axis.FixedCellCount;
        if (span <= 0)
            UpdateScrollBarInfo(Bar, 0, 0, 0, 0);
        else
            UpdateScrollBarInfo(Bar, 0, MulDiv(Axis.FirstScrolledCell - Axis.FixedCellCount, 127, span), 0, 127);
    };
    if (FScrollBars != TScrollStyle::ssVertical)
        sync(SB_HORZ, layout.Horz);
    if (FScrollBars != TScrollStyle::ssHorizontal)
        sync(SB_VERT, layout.Vert);
}

void TCustomGridEh::UpdateScrollBarInfo(int Bar, int Min, int Pos, int Page, int Max)
{
    TScrollInfo info;
    info.fMask = SIF_ALL;
    GetScrollInfo(Bar, info);
    if (info.nMin == Min && info.nPos == Pos && static_cast<int>(info.nPage) == Page && info.nMax == Max)
        return;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = Min;
    info.nMax = Max;
    info.nPage = static_cast<unsigned>(Page);
    info.nPos = Pos;
    SetScrollInfo(Bar, info);
}
