// Scrolling: scroll-bar actions by whole cells (a 0..127 scale) or by pixels, moving the window
// contents after the first shown cells changed, and keeping the scroll bars in step.
#include "controls/GridsEh.h"

#include "controls/VoDorVCL.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The coarse scale of an axis scrolled by whole cells.
constexpr int CoarseScrollMax = 127;

// The next cell from Cell in Step's direction that has an extent, staying inside [Low, High].
int StepOverEmptyCells(const TGridAxisLayoutEh& Axis, int Cell, int Step, int Low, int High)
{
    int next = Cell + Step;
    while (next > Low && next < High && Axis.Extent(next) <= 0)
        next += Step;
    return std::clamp(next, Low, High);
}

// Pixels between the old and the new first shown cell with their offsets, positive when the
// contents move toward the start. Past Limit the exact value does not matter: Limit + 1 is returned.
int ScrollDistance(const TGridAxisLayoutEh& Axis, int OldFirst, int OldOffset, int NewFirst, int NewOffset, int Limit)
{
    const int low = std::min(OldFirst, NewFirst);
    const int high = std::max(OldFirst, NewFirst);
    long long span = 0;
    for (int i = low; i < high && span <= Limit + std::abs(OldOffset - NewOffset); ++i)
        span += Axis.Extent(i) + Axis.LineWidth;
    long long distance = (NewFirst >= OldFirst ? span : -span) + NewOffset - OldOffset;
    if (std::llabs(distance) > Limit)
        return distance < 0 ? -(Limit + 1) : Limit + 1;
    return static_cast<int>(distance);
}

} // namespace

bool TCustomGridEh::ScrollsByPixels(bool Horz)
{
    // A grid of one scrolled column scrolls inside that column.
    return Horz ? IsHorzPixelScroll() || FColCount - FFixedCols == 1 : IsVertPixelScroll();
}

void TCustomGridEh::HandleScrollMessage(TMessage& Message)
{
    const int bar = Message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
    const int code = LOWORD(Message.WParam);
    int position = HIWORD(Message.WParam);
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        // The message has the low 16 bits of the position only; the bar answers all 32 while
        // the thumb is held, and the last of those stands for the release.
        TScrollInfo info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(bar, info);
        if (code == SB_THUMBTRACK)
            FThumbTrackPos[bar] = info.nTrackPos;
        if ((FThumbTrackPos[bar] & 0xFFFF) == position)
            position = FThumbTrackPos[bar];
    }
    ApplyScrollBarAction(bar, code, true, position);
}

void TCustomGridEh::ApplyScrollBarAction(int Axis, int ScrollCode, bool, int ThumbPos)
{
    if (Visible() && CanFocus() && TabStop() && HandleAllocated() && !Focused())
        SetFocus();
    const bool horz = Axis == SB_HORZ;
    const bool thumb = ScrollCode == SB_THUMBPOSITION || ScrollCode == SB_THUMBTRACK;
    if (ScrollCode == SB_THUMBTRACK && !FOptions.Contains(goThumbTracking))
        return;
    if (ScrollsByPixels(horz)) {
        ApplyPixelScrollAction(horz, ScrollCode, ThumbPos);
        return;
    }
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const TGridAxisLayoutEh& axis = horz ? layout.Horz : layout.Vert;
    const int first = axis.FirstScrolledCell;
    const int low = axis.FixedCellCount;
    const int high = std::max(low, TopLeftShowingCell(axis.CellCount - 1, axis));
    int target = first;
    switch (ScrollCode) {
    case SB_LINEUP: target = StepOverEmptyCells(axis, first, -1, low, high); break;
    case SB_LINEDOWN: target = StepOverEmptyCells(axis, first, 1, low, high); break;
    case SB_PAGEUP: target = first - std::max(1, first - TopLeftShowingCell(first, axis)); break;
    case SB_PAGEDOWN: target = first + std::max(1, axis.LastFullVisibleCell - first); break;
    case SB_TOP: target = low; break;
    case SB_BOTTOM: target = high; break;
    default:
        if (!thumb)
            return;
        target = low + MulDiv(ThumbPos, high - low, CoarseScrollMax);
        break;
    }
    target = std::clamp(target, low, high);
    if (horz)
        SetTopLeftCell(target, FTopLeft.Y);
    else
        SetTopLeftCell(FTopLeft.X, target);
}

void TCustomGridEh::ApplyPixelScrollAction(bool Horz, int ScrollCode, int ThumbPos)
{
    const TGridAxisExtentsEh& extents = Horz ? FHorzExtents : FVertExtents;
    const int position = extents.BeforeFirst + (Horz ? FHorzPixelOffset : FVertPixelOffset);
    const int step = Horz ? HorzPixelStep() : VertPixelStep();
    int delta = 0;
    switch (ScrollCode) {
    case SB_LINEUP: delta = -step; break;
    case SB_LINEDOWN: delta = step; break;
    case SB_PAGEUP: delta = -std::max(1, extents.Page); break;
    case SB_PAGEDOWN: delta = std::max(1, extents.Page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: delta = ThumbPos - position; break;
    case SB_TOP: delta = -position; break;
    case SB_BOTTOM: delta = extents.Total - position; break;
    default: return;
    }
    ScrollByPixels(Horz ? delta : 0, Horz ? 0 : delta);
}

void TCustomGridEh::PlacePixelPosition(bool Horz, int Position, int& First, int& Offset) const
{
    // Walks from the first shown cell, so the cost follows the distance scrolled; cells of the
    // default extent are counted in one step.
    const TGridExtentsEh& extents = Horz ? FColWidths : FRowHeights;
    const int fixed = Horz ? FFixedCols : FFixedRows;
    const int count = Horz ? FColCount : FRowCount;
    const int defaultExtent = Horz ? FDefaultColWidth : FDefaultRowHeight;
    const int lineWidth = AxisLineWidth(!Horz);
    if (extents.empty()) {
        const int unit = std::max(1, defaultExtent + lineWidth);
        First = std::min(fixed + Position / unit, count - 1);
        Offset = Position - (First - fixed) * unit;
        return;
    }
    const TGridAxisExtentsEh& axis = Horz ? FHorzExtents : FVertExtents;
    First = Horz ? FTopLeft.X : FTopLeft.Y;
    int start = axis.BeforeFirst;
    auto unitOf = [&](int Cell) { return extents[static_cast<std::size_t>(Cell)] + lineWidth; };
    while (First > fixed && start > Position) {
        --First;
        start -= unitOf(First);
    }
    while (First < count - 1 && start + unitOf(First) <= Position) {
        start += unitOf(First);
        ++First;
    }
    Offset = Position - start;
}

void TCustomGridEh::ScrollByPixels(int DX, int DY)
{
    TGridCoord topLeft = FTopLeft;
    int offsets[2] = {FHorzPixelOffset, FVertPixelOffset};
    auto scroll = [&](bool Horz, int Delta, int& First, int& Offset) {
        if (Delta == 0 || !ScrollsByPixels(Horz))
            return;
        const TGridAxisExtentsEh& axis = Horz ? FHorzExtents : FVertExtents;
        const int position = axis.BeforeFirst + Offset;
        // Neither before the first scrolled cell nor ending before the scroll limit.
        const int highest = std::max(0, axis.Total - axis.Page);
        const int target =
            static_cast<int>(std::clamp<long long>(static_cast<long long>(position) + Delta, 0, highest));
        if (target != position)
            PlacePixelPosition(Horz, target, First, Offset);
    };
    scroll(true, DX, topLeft.X, offsets[0]);
    scroll(false, DY, topLeft.Y, offsets[1]);
    PlaceTopLeft(topLeft, offsets[0], offsets[1]);
}

void TCustomGridEh::ScrollContentFrom(TGridCoord OldTopLeft, TPoint OldPixelOffsets)
{
    SyncScrollBarPositions();
    if (HandleAllocated()) {
        TGridLayoutEh layout;
        ComputeLayout(layout);
        const int width = layout.Horz.DrawnEdge - layout.Horz.FixedBoundary;
        const int height = layout.Vert.DrawnEdge - layout.Vert.FixedBoundary;
        const int dx = ScrollDistance(layout.Horz, OldTopLeft.X, OldPixelOffsets.X, FTopLeft.X, FHorzPixelOffset, width);
        const int dy = ScrollDistance(layout.Vert, OldTopLeft.Y, OldPixelOffsets.Y, FTopLeft.Y, FVertPixelOffset, height);
        if (std::abs(dx) > width || std::abs(dy) > height)
            InvalidateGrid();
        else
            ScrollDataArea(-dx, -dy, layout);
    }
    ResyncAfterScroll();
}

void TCustomGridEh::ScrollDataArea(int DX, int DY, const TGridLayoutEh& Layout)
{
    if (!HandleAllocated() || (DX == 0 && DY == 0))
        return;
    const unsigned flags = SW_INVALIDATE | (FDefaultDrawing ? 0u : SW_ERASE);
    auto move = [this, flags](int MX, int MY, const TRect& Area) {
        if (!Area.IsEmpty())
            ScrollWindowAreaEx(this, MX, MY, &Area, &Area, flags);
    };
    const TGridAxisLayoutEh& h = Layout.Horz;
    const TGridAxisLayoutEh& v = Layout.Vert;
    if (DX != 0 && DY != 0) {
        move(DX, 0, Rect(h.FixedBoundary, v.NearBand, h.ScrollLimit, v.FixedBoundary));
        move(0, DY, Rect(h.NearBand, v.FixedBoundary, h.FixedBoundary, v.ScrollLimit));
        move(DX, DY, Rect(h.FixedBoundary, v.FixedBoundary, h.ScrollLimit, v.ScrollLimit));
        move(DX, 0, Rect(h.FixedBoundary, v.ScrollLimit, h.ScrollLimit, v.UsableEnd));
        move(0, DY, Rect(h.ScrollLimit, v.FixedBoundary, h.UsableEnd, v.ScrollLimit));
    } else if (DY != 0) {
        move(0, DY, Rect(h.NearBand, v.FixedBoundary, h.UsableEnd, v.ScrollLimit));
    } else {
        move(DX, 0, Rect(h.FixedBoundary, v.NearBand, h.ScrollLimit, v.UsableEnd));
    }
    // One focus rectangle spans the selected row; its ends moved with the pixels.
    if (FOptions.Contains(goRowSelect))
        RepaintRegionOfRange(GetSelectionRange());
}

void TCustomGridEh::ScrollClientArea(int DX, int DY)
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    ScrollDataArea(DX, DY, layout);
}

void TCustomGridEh::RefreshScrollBars()
{
    if (!HandleAllocated() || ScrollUpdatesSuspended() || FScrollBars == TScrollStyle::ssNone)
        return;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    UpdatePageExtents(layout);
    // A first shown cell past the highest one would leave a gap at the end: go back to it.
    TGridCoord topLeft = FTopLeft;
    int offsets[2] = {FHorzPixelOffset, FVertPixelOffset};
    auto clamp = [&](bool Horz, const TGridAxisLayoutEh& Axis, int& First, int& Offset) {
        if (ScrollsByPixels(Horz)) {
            const TGridAxisExtentsEh& extents = Horz ? FHorzExtents : FVertExtents;
            const int highest = std::max(0, extents.Total - extents.Page);
            if (extents.BeforeFirst + Offset > highest)
                PlacePixelPosition(Horz, highest, First, Offset);
            return;
        }
        const int highest = TopLeftShowingCell(Axis.CellCount - 1, Axis);
        if (First > highest) {
            First = highest;
            Offset = 0;
        }
    };
    clamp(true, layout.Horz, topLeft.X, offsets[0]);
    clamp(false, layout.Vert, topLeft.Y, offsets[1]);
    if (topLeft != FTopLeft || offsets[0] != FHorzPixelOffset || offsets[1] != FVertPixelOffset) {
        Update();
        PlaceTopLeft(topLeft, offsets[0], offsets[1]);
    } else {
        SyncScrollBarPositions();
    }
}

void TCustomGridEh::SyncScrollBarPositions()
{
    if (!HandleAllocated() || FScrollBars == TScrollStyle::ssNone)
        return;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    auto sync = [this](int Bar, const TGridAxisLayoutEh& Axis) {
        const bool horz = Bar == SB_HORZ;
        if (ScrollsByPixels(horz)) {
            const TGridAxisExtentsEh& extents = horz ? FHorzExtents : FVertExtents;
            const int offset = horz ? FHorzPixelOffset : FVertPixelOffset;
            UpdateScrollBarInfo(Bar, 0, extents.BeforeFirst + offset, extents.Page, std::max(0, extents.Total - 1));
            return;
        }
        // Whole-cell axes map the first shown cell onto 0..127; an axis whose cells all fit
        // has range 0..0 (and MulDiv answers -1 for its empty span).
        const int highest = TopLeftShowingCell(Axis.CellCount - 1, Axis);
        const int span = highest - Axis.FixedCellCount;
        const int position = std::max(0, MulDiv(Axis.FirstScrolledCell - Axis.FixedCellCount, CoarseScrollMax, span));
        UpdateScrollBarInfo(Bar, 0, span > 0 ? position : 0, 0, span > 0 ? CoarseScrollMax : 0);
    };
    if (FScrollBars != TScrollStyle::ssVertical)
        sync(SB_HORZ, layout.Horz);
    if (FScrollBars != TScrollStyle::ssHorizontal)
        sync(SB_VERT, layout.Vert);
}

void TCustomGridEh::UpdateScrollBarInfo(int Bar, int Min, int Pos, int Page, int Max)
{
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(Bar, info);
    if (info.nMin == Min && info.nPos == Pos && static_cast<int>(info.nPage) == Page && info.nMax == Max)
        return;
    info.nMin = Min;
    info.nMax = Max;
    info.nPage = static_cast<unsigned>(Page);
    info.nPos = Pos;
    SetScrollInfo(Bar, info);
}
