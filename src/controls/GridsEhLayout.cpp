// The base grid's layout: where each kind of cell lies for a client size, hit testing, cell
// rectangles and the first scrolled cell that shows a given one. Every walk covers the fixed and
// contra cells and the scrolled cells on screen only, so the cost follows what is visible.
#include "controls/GridsEh.h"

#include <algorithm>

namespace {

// Sum of extent + line over the cells From .. To - 1 of the axis.
int AxisSpan(const TGridAxisLayoutEh& Axis, int From, int To)
{
    int sum = 0;
    for (int i = From; i < To; ++i)
        sum += Axis.Extent(i) + Axis.LineWidth;
    return sum;
}

} // namespace

void TCustomGridEh::ComputeLayout(TGridLayoutEh& Layout) const
{
    ComputeLayoutForSize(Layout, ClientWidth(), ClientHeight());
}

void TCustomGridEh::ComputeLayoutForSize(TGridLayoutEh& Layout, int AWidth, int AHeight) const
{
    AssertCountInvariants();
    ComputeAxisLayout(Layout.Horz, true, AWidth);
    ComputeAxisLayout(Layout.Vert, false, AHeight);
}

void TCustomGridEh::ComputeAxisLayout(TGridAxisLayoutEh& Axis, bool Horizontal, int ClientExtent) const
{
    Axis = TGridAxisLayoutEh{};
    Axis.Grid = this;
    Axis.ExtentFunc = Horizontal ? &TCustomGridEh::ColWidthAt : &TCustomGridEh::RowHeightAt;
    Axis.LineWidth = AxisLineWidth(!Horizontal);
    Axis.NearBand = Horizontal ? FOutBoundary->LeftExtent() : FOutBoundary->TopExtent();
    Axis.FarBand = Horizontal ? FOutBoundary->RightExtent() : FOutBoundary->BottomExtent();
    Axis.FixedCellCount = Horizontal ? FFixedCols : FFixedRows;
    Axis.FrozenCellCount = Horizontal ? FFrozenFixedCols : FFrozenFixedRows;
    Axis.CellCount = Horizontal ? FColCount : FRowCount;
    Axis.ContraCellCount = Horizontal ? FContraColCount : FContraRowCount;
    Axis.TotalCellCount = Axis.CellCount + Axis.ContraCellCount;
    Axis.FirstScrolledCell = Horizontal ? FTopLeft.X : FTopLeft.Y;
    Axis.PixelOffset = Horizontal ? FHorzPixelOffset : FVertPixelOffset;
    Axis.ClientExtent = ClientExtent;
    Axis.UsableEnd = ClientExtent - Axis.FarBand;

    Axis.FixedBoundary = Axis.NearBand + AxisSpan(Axis, 0, Axis.FixedCellCount);
    Axis.FrozenStart =
        Axis.FixedBoundary - AxisSpan(Axis, Axis.FixedCellCount - Axis.FrozenCellCount, Axis.FixedCellCount);
    Axis.ContraStart = ClientExtent - AxisSpan(Axis, Axis.CellCount, Axis.TotalCellCount);
    if (Axis.ContraCellCount > 0)
        Axis.ContraStart -= Axis.LineWidth;
    Axis.ScrollLimit = Axis.ContraStart;
    Axis.ScrolledOrigin = Axis.FixedBoundary - Axis.PixelOffset;

    Axis.DrawnEdge = Axis.ScrolledOrigin;
    Axis.LastFullVisibleCell = Axis.FirstScrolledCell;
    Axis.LastFullVisibleEnd = Axis.FixedBoundary;
    int edge = Axis.ScrolledOrigin;
    for (int i = Axis.FirstScrolledCell; i < Axis.CellCount; ++i) {
        edge += Axis.Extent(i) + Axis.LineWidth;
        // A cell still counts as shown whole when only its trailing line is cut off.
        if (edge > Axis.ContraStart + Axis.LineWidth) {
            Axis.DrawnEdge = Axis.ContraStart;
            break;
        }
        Axis.DrawnEdge = std::min(edge, Axis.ContraStart);
        Axis.LastFullVisibleCell = i;
        Axis.LastFullVisibleEnd = edge;
    }
    Axis.GridBoundary = Axis.ContraCellCount > 0 ? Axis.UsableEnd : Axis.DrawnEdge;
}

int TCustomGridEh::AxisLineWidth(bool Rows) const
{
    // Columns are divided by the vertical lines, rows by the horizontal ones.
    const bool lines = Rows ? FOptions.Intersects(goFixedHorzLine | goHorzLine)
                            : FOptions.Intersects(goFixedVertLine | goVertLine);
    return lines ? FGridLineWidth : 0;
}

int TCustomGridEh::LocateCellOnAxis(int Pos, const TGridAxisLayoutEh& Axis) const
{
    if (Pos < Axis.NearBand)
        return -1;
    int first = Axis.FirstScrolledCell;
    int end = Axis.CellCount;
    int edge = Axis.ScrolledOrigin;
    if (Pos < Axis.FixedBoundary) {
        first = 0;
        end = Axis.FixedCellCount;
        edge = Axis.NearBand;
    } else if (Axis.ContraCellCount > 0 && Pos >= Axis.ContraStart) {
        first = Axis.CellCount;
        end = Axis.TotalCellCount;
        edge = Axis.ContraStart + Axis.LineWidth;
    }
    for (int i = first; i < end; ++i) {
        const int extent = Axis.Extent(i);
        edge += extent + Axis.LineWidth;
        // A cell without extent cannot be hit; its line belongs to the cell after it.
        if (extent > 0 && edge > Pos)
            return i;
    }
    return -1;
}

TGridCoord TCustomGridEh::LocateCellInLayout(int X, int Y, const TGridLayoutEh& Layout) const
{
    return {LocateCellOnAxis(X, Layout.Horz), LocateCellOnAxis(Y, Layout.Vert)};
}

TGridCoord TCustomGridEh::CellFromPoint(int X, int Y) const
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const TGridCoord cell = LocateCellInLayout(X, Y, layout);
    return cell.X < 0 || cell.Y < 0 ? TGridCoord{-1, -1} : cell;
}

int TCustomGridEh::TopLeftShowingCellWithOverhang(int Cell, const TGridAxisLayoutEh& Axis, int& Overhang) const
{
    Overhang = 0;
    const int start = std::max(Cell, Axis.FixedCellCount);
    int result = start;
    int pos = Axis.ScrollLimit + Axis.LineWidth;
    for (int i = start; i >= Axis.FixedCellCount; --i) {
        const int extent = Axis.Extent(i);
        const int cellStart = pos - extent - Axis.LineWidth;
        // A cell without extent is never the answer, but its line takes room as in the layout.
        if (extent <= 0) {
            pos = std::min(pos, cellStart);
            continue;
        }
        if (cellStart < Axis.FixedBoundary) {
            // Cell i does not fit whole; a pixel-scrolled axis may show its tail.
            if (i < start && pos > Axis.FixedBoundary)
                Overhang = Axis.FixedBoundary - cellStart;
            return result;
        }
        pos = cellStart;
        result = i;
    }
    return Axis.FixedCellCount;
}

int TCustomGridEh::TopLeftShowingCell(int Cell, const TGridAxisLayoutEh& Axis) const
{
    int overhang = 0;
    return TopLeftShowingCellWithOverhang(Cell, Axis, overhang);
}

bool TCustomGridEh::RangeOnAxis(const TGridAxisLayoutEh& Axis, int First, int Last, bool IncludeLines, int& Start,
                                int& End) const
{
    const int lw = Axis.LineWidth;
    const int firstScrolled = Axis.FirstScrolledCell;
    const int nextHidden = Axis.LastFullVisibleCell + 1;
    const bool lastIsContra = Last >= Axis.CellCount;

    if (First < Axis.FixedCellCount)
        Start = Axis.NearBand + AxisSpan(Axis, 0, First);
    else if (First >= Axis.CellCount)
        Start = Axis.ContraStart + lw + AxisSpan(Axis, Axis.CellCount, First);
    else if (First <= firstScrolled)
        Start = Axis.FixedBoundary;
    else if (First > nextHidden) {
        if (!lastIsContra)
            return false;
        Start = Axis.ScrollLimit;
    } else
        Start = std::min(Axis.ScrolledOrigin + AxisSpan(Axis, firstScrolled, First), Axis.ScrollLimit);

    const int endLine = IncludeLines ? 0 : lw;
    if (Last < Axis.FixedCellCount)
        End = Axis.NearBand + AxisSpan(Axis, 0, Last + 1) - endLine;
    else if (lastIsContra)
        End = std::min(Axis.ContraStart + lw + AxisSpan(Axis, Axis.CellCount, Last + 1) - endLine, Axis.UsableEnd);
    else if (Last < firstScrolled)
        return false;
    else {
        const int lastShown = std::min(Last, nextHidden);
        End = std::min(Axis.ScrolledOrigin + AxisSpan(Axis, firstScrolled, lastShown + 1) - endLine, Axis.ScrollLimit);
    }
    return End > Start;
}

TRect TCustomGridEh::VisibleRangeRectInLayout(const TGridCellRangeEh& Range, const TGridLayoutEh& Layout,
                                              bool IncludeLines) const
{
    if (Range.Right < Range.Left || Range.Bottom < Range.Top)
        return {};
    TRect result;
    if (!RangeOnAxis(Layout.Horz, Range.Left, Range.Right, IncludeLines, result.Left, result.Right) ||
        !RangeOnAxis(Layout.Vert, Range.Top, Range.Bottom, IncludeLines, result.Top, result.Bottom))
        return {};
    return result;
}

TRect TCustomGridEh::VisibleRangeRect(const TGridCellRangeEh& Range, bool IncludeLines) const
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    return VisibleRangeRectInLayout(Range, layout, IncludeLines);
}

TRect TCustomGridEh::CellPixelRect(int ACol, int ARow) const
{
    return VisibleRangeRect({ACol, ARow, ACol, ARow}, false);
}

TRect TCustomGridEh::RangePixelRect(int ALeft, int ATop, int ARight, int ABottom) const
{
    return VisibleRangeRect({ALeft, ATop, ARight, ABottom}, false);
}

int TCustomGridEh::HorzCellsEdge() const
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    return layout.Horz.GridBoundary;
}

int TCustomGridEh::VertCellsEdge() const
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    return layout.Vert.GridBoundary;
}

int TCustomGridEh::FullyShownColCount() const
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    return layout.Horz.LastFullVisibleCell - FTopLeft.X + 1;
}

int TCustomGridEh::FullyShownRowCount() const
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    return layout.Vert.LastFullVisibleCell - FTopLeft.Y + 1;
}
