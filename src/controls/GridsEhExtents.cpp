// The base grid's counts and per-cell extents: extent arrays, widths, heights and tab stops,
// changing the counts with their rollback, contra cells, and moving columns and rows.
#include "controls/GridsEh.h"

#include <algorithm>
#include <cassert>
#include <climits>

const char* const SGridIndexOutOfRange = "Grid index out of range";
const char* const STooManyDeleted = "Too many rows or columns deleted";
const char* const SGridTooLarge = "Grid too large for operation";
const char* const SFixedColTooBig = "Fixed column count must be less than column count";
const char* const SFixedRowTooBig = "Fixed row count must be less than row count";
const char* const SContraColCountNegative = "FContraColCount can not be negative.";
const char* const SContraRowCountNegative = "FContraRowCount can not be negative.";

void RaiseGridOperationError(const char* Msg)
{
    throw EInvalidGridOperationEh(String::fromLatin1(Msg));
}

void ShiftExtentEntries(TGridExtentsEh& Extents, int Index, int Amount, int Default)
{
    if (Amount == 0)
        return;
    const long long count = static_cast<long long>(Extents.size());
    if (Index < 0 || Index > count)
        RaiseGridOperationError(SGridIndexOutOfRange);
    const long long newCount = count + Amount;
    // A deleted block must lie inside the array, so the cells after it keep their values.
    if (newCount < 0 || (Amount < 0 && Index - static_cast<long long>(Amount) > count))
        RaiseGridOperationError(STooManyDeleted);
    if (newCount > MaxGridExtentCount)
        RaiseGridOperationError(SGridTooLarge);
    const auto at = Extents.begin() + Index;
    if (Amount > 0)
        Extents.insert(at, static_cast<std::size_t>(Amount), Default);
    else
        Extents.erase(at, at - Amount);
    if (newCount == 0)
        TGridExtentsEh().swap(Extents);
}

void SetExtentCount(TGridExtentsEh& Extents, int NewCount, int Default)
{
    const int count = static_cast<int>(Extents.size());
    if (NewCount < count)
        ShiftExtentEntries(Extents, std::max(NewCount, 0), NewCount - count, Default);
    else
        ShiftExtentEntries(Extents, count, NewCount - count, Default);
}

void MoveExtentEntry(TGridExtentsEh& Extents, int FromIndex, int ToIndex)
{
    if (Extents.empty() || FromIndex == ToIndex)
        return;
    const int count = static_cast<int>(Extents.size());
    if (FromIndex < 0 || FromIndex >= count || ToIndex < 0 || ToIndex >= count)
        RaiseGridOperationError(SGridIndexOutOfRange);
    const auto from = Extents.begin() + FromIndex;
    const auto to = Extents.begin() + ToIndex;
    if (FromIndex < ToIndex)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
}

bool ExtentArraysEqual(const TGridExtentsEh& A, const TGridExtentsEh& B)
{
    return A == B;
}

namespace {

// Where an index ends up when the cell From moves to To: From becomes To, the cells between
// shift one place toward From.
int AdjustIndexForMove(int Index, int FromIndex, int ToIndex)
{
    if (Index == FromIndex)
        return ToIndex;
    if (FromIndex < ToIndex && Index > FromIndex && Index <= ToIndex)
        return Index - 1;
    if (ToIndex < FromIndex && Index >= ToIndex && Index < FromIndex)
        return Index + 1;
    return Index;
}

int ClampToInt(long long Value)
{
    return static_cast<int>(std::clamp<long long>(Value, INT_MIN, INT_MAX));
}

} // namespace

int TCustomGridEh::ColWidthAt(int Index) const
{
    return Index >= 0 && Index < static_cast<int>(FColWidths.size()) ? FColWidths[static_cast<std::size_t>(Index)]
                                                                       : FDefaultColWidth;
}

int TCustomGridEh::RowHeightAt(int Index) const
{
    return Index >= 0 && Index < static_cast<int>(FRowHeights.size()) ? FRowHeights[static_cast<std::size_t>(Index)]
                                                                        : FDefaultRowHeight;
}

bool TCustomGridEh::ColTabStopAt(int Index) const
{
    return Index < 0 || Index >= static_cast<int>(FTabStops.size()) || FTabStops[static_cast<std::size_t>(Index)] != 0;
}

void TCustomGridEh::ChangeColWidth(int Index, int Width)
{
    ChangeExtent(false, Index, Width);
}

void TCustomGridEh::ChangeRowHeight(int Index, int Height)
{
    ChangeExtent(true, Index, Height);
}

void TCustomGridEh::ChangeExtent(bool Rows, int Index, int Value)
{
    AssertCountInvariants();
    const int total = Rows ? TotalRowCount() : TotalColCount();
    if (Index < 0 || Index >= total)
        RaiseGridOperationError(SGridIndexOutOfRange);
    TGridExtentsEh& extents = AxisExtents(Rows);
    if (extents.empty())
        extents.assign(static_cast<std::size_t>(total), Rows ? FDefaultRowHeight : FDefaultColWidth);
    int& entry = extents[static_cast<std::size_t>(Index)];
    if (entry == Value)
        return;
    InvalidateGrid();
    entry = Value;
    // All three sums move together, so the scroll position never rests on a stale base.
    RecomputeAxisExtents(Rows);
    if (Rows)
        AfterRowHeightsChange();
    else
        AfterColWidthsChange();
}

void TCustomGridEh::ChangeColTabStop(int Index, bool Value)
{
    if (Index < 0 || Index >= TotalColCount())
        RaiseGridOperationError(SGridIndexOutOfRange);
    if (FTabStops.empty())
        FTabStops.assign(static_cast<std::size_t>(TotalColCount()), 1);
    FTabStops[static_cast<std::size_t>(Index)] = Value ? 1 : 0;
}

void TCustomGridEh::SetDefaultColWidth(int Value)
{
    if (Value == FDefaultColWidth)
        return;
    FDefaultColWidth = Value;
    RecomputeColExtents();
    AfterColWidthsChange();
    InvalidateGrid();
}

void TCustomGridEh::ChangeDefaultRowHeight(int Value)
{
    if (Value == FDefaultRowHeight && FRowHeights.empty())
        return;
    FDefaultRowHeight = Value;
    TGridExtentsEh().swap(FRowHeights);
    RecomputeRowExtents();
    AfterRowHeightsChange();
    InvalidateGrid();
}

void TCustomGridEh::SetGridLineWidth(int Value)
{
    if (Value == FGridLineWidth)
        return;
    FGridLineWidth = Value;
    RecomputeColExtents();
    RecomputeRowExtents();
    InvalidateGrid();
}

void TCustomGridEh::AssertCountInvariants() const
{
    assert(FColCount >= 1 && FRowCount >= 1);
    // Fixed cells are below the counts, frozen ones among the fixed.
    assert(FFixedCols >= 0 && FFixedCols < FColCount);
    assert(FFixedRows >= 0 && FFixedRows < FRowCount);
    assert(FFrozenFixedCols >= 0 && FFrozenFixedCols <= FFixedCols);
    assert(FFrozenFixedRows >= 0 && FFrozenFixedRows <= FFixedRows);
    assert(FContraColCount >= 0 && FContraRowCount >= 0);
    // An extent array is empty (every cell at its default) or covers every cell and contra cell.
    [[maybe_unused]] const auto covers = [](const TGridExtentsEh& Extents, int Total) {
        return Extents.empty() || Extents.size() == static_cast<std::size_t>(Total);
    };
    assert(covers(FColWidths, FColCount + FContraColCount));
    assert(covers(FTabStops, FColCount + FContraColCount));
    assert(covers(FRowHeights, FRowCount + FContraRowCount));
    // -1 means none: the edited cell is none in both coordinates or in neither.
    assert((FEditorCell.X == -1) == (FEditorCell.Y == -1));
    assert(FEditorCell.X >= -1 && FEditorCell.Y >= -1);
}

int TCustomGridEh::SumExtents(bool Rows, int From, int To) const
{
    AssertCountInvariants();
    if (To <= From)
        return 0;
    const TGridExtentsEh& extents = Rows ? FRowHeights : FColWidths;
    const int lineWidth = AxisLineWidth(Rows);
    if (extents.empty()) {
        const int defaultExtent = Rows ? FDefaultRowHeight : FDefaultColWidth;
        return ClampToInt(static_cast<long long>(To - From) * (defaultExtent + lineWidth));
    }
    long long sum = 0;
    for (int i = From; i < To; ++i)
        sum += extents[static_cast<std::size_t>(i)] + lineWidth;
    return ClampToInt(sum);
}

void TCustomGridEh::RecomputeAxisExtents(bool Rows)
{
    AssertCountInvariants();
    TGridAxisExtentsEh& axis = Rows ? FVertExtents : FHorzExtents;
    const int fixed = Rows ? FFixedRows : FFixedCols;
    axis.Total = SumExtents(Rows, fixed, Rows ? FRowCount : FColCount);
    axis.BeforeFirst = SumExtents(Rows, fixed, Rows ? FTopLeft.Y : FTopLeft.X);
    TGridLayoutEh layout;
    ComputeLayout(layout);
    UpdatePageExtents(layout);
}

void TCustomGridEh::UpdatePageExtents(const TGridLayoutEh& Layout)
{
    FHorzExtents.Page = std::max(0, Layout.Horz.ScrollLimit - Layout.Horz.FixedBoundary);
    FVertExtents.Page = std::max(0, Layout.Vert.ScrollLimit - Layout.Vert.FixedBoundary);
}

void TCustomGridEh::RecomputeColExtents()
{
    RecomputeAxisExtents(false);
}

void TCustomGridEh::RecomputeRowExtents()
{
    RecomputeAxisExtents(true);
}

void TCustomGridEh::ChangeColCount(int Value)
{
    ChangeAxisCount(false, Value);
}

void TCustomGridEh::ChangeRowCount(int Value)
{
    ChangeAxisCount(true, Value);
}

void TCustomGridEh::ChangeAxisCount(bool Rows, int Value)
{
    Value = std::max(Value, 1);
    const int count = Rows ? FRowCount : FColCount;
    if (Value == count)
        return;
    if ((Rows ? FFixedRows : FFixedCols) >= Value)
        ChangeFixedCount(Rows, Value - 1);
    // Contra cells keep their extents at the end of the arrays: cells come and go before them.
    if ((Rows ? FContraRowCount : FContraColCount) > 0)
        ResizeAxisAt(std::min(count, Value), Value - count, Rows);
    else
        ChangeDimensions(Rows ? FColCount : Value, Rows ? Value : FRowCount);
    // A whole-row selection reaches the last column, wherever that now is.
    if (!Rows && FOptions.Contains(goRowSelect)) {
        FAnchor.X = FColCount - 1;
        InvalidateGrid();
    }
    RecomputeAxisExtents(Rows);
    RefreshScrollBars();
}

void TCustomGridEh::ChangeFixedCols(int Value)
{
    ChangeFixedCount(false, Value);
}

void TCustomGridEh::ChangeFixedRows(int Value)
{
    ChangeFixedCount(true, Value);
}

void TCustomGridEh::ChangeFixedCount(bool Rows, int Value)
{
    int& fixed = Rows ? FFixedRows : FFixedCols;
    if (Value == fixed)
        return;
    if (Value < 0)
        RaiseGridOperationError(SGridIndexOutOfRange);
    if (Value >= (Rows ? FRowCount : FColCount))
        RaiseGridOperationError(Rows ? SFixedRowTooBig : SFixedColTooBig);
    fixed = Value;
    ClampFrozenCounts();
    HomeCurrentCell();
    RecomputeAxisExtents(Rows);
    RefreshScrollBars();
    InvalidateGrid();
}

void TCustomGridEh::ChangeFrozenFixedCols(int Value) { ChangeFrozenFixedCount(false, Value); }

void TCustomGridEh::ChangeFrozenFixedRows(int Value) { ChangeFrozenFixedCount(true, Value); }

void TCustomGridEh::ChangeFrozenFixedCount(bool Rows, int Value)
{
    int& frozen = Rows ? FFrozenFixedRows : FFrozenFixedCols;
    Value = std::clamp(Value, 0, Rows ? FFixedRows : FFixedCols);
    if (Value == frozen)
        return;
    frozen = Value;
    InvalidateGrid();
}

void TCustomGridEh::ClampFrozenCounts()
{
    FFrozenFixedCols = std::clamp(FFrozenFixedCols, 0, FFixedCols);
    FFrozenFixedRows = std::clamp(FFrozenFixedRows, 0, FFixedRows);
}

void TCustomGridEh::ApplyContraColCount(int Value)
{
    if (Value == FContraColCount)
        return;
    if (Value < 0)
        RaiseGridOperationError(SContraColCountNegative);
    ApplyContraCounts(Value, FContraRowCount);
    RecomputeColExtents();
    RefreshScrollBars();
}

void TCustomGridEh::ChangeContraRowCount(int Value)
{
    if (Value == FContraRowCount)
        return;
    if (Value < 0)
        RaiseGridOperationError(SContraRowCountNegative);
    ApplyContraCounts(FContraColCount, Value);
    RecomputeRowExtents();
    RefreshScrollBars();
}

void TCustomGridEh::ApplyContraCounts(int ContraCols, int ContraRows)
{
    // The three arrays are resized as copies first, so a failure leaves counts and arrays as they
    // were and reaches the caller.
    TGridExtentsEh widths = FColWidths;
    TGridExtentsEh tabStops = FTabStops;
    TGridExtentsEh heights = FRowHeights;
    if (!widths.empty())
        SetExtentCount(widths, FColCount + ContraCols, FDefaultColWidth);
    if (!tabStops.empty())
        SetExtentCount(tabStops, FColCount + ContraCols, 1);
    if (!heights.empty())
        SetExtentCount(heights, FRowCount + ContraRows, FDefaultRowHeight);
    FContraColCount = ContraCols;
    FContraRowCount = ContraRows;
    FColWidths = std::move(widths);
    FTabStops = std::move(tabStops);
    FRowHeights = std::move(heights);
    InvalidateGrid();
    RefreshScrollBars();
}

void TCustomGridEh::ChangeDimensions(int NewColCount, int NewRowCount)
{
    NewColCount = std::max(NewColCount, 1);
    NewRowCount = std::max(NewRowCount, 1);
    const int oldColCount = FColCount;
    const int oldRowCount = FRowCount;
    const TGridCoord oldTopLeft = FTopLeft;
    TGridExtentsEh oldWidths = FColWidths;
    TGridExtentsEh oldHeights = FRowHeights;
    TGridExtentsEh oldTabStops = FTabStops;
    try {
        // Cells are added or removed before the contra cells, whose extents stay at the end.
        auto resize = [](TGridExtentsEh& Extents, int OldCount, int NewCount, int Default) {
            if (!Extents.empty())
                ShiftExtentEntries(Extents, std::min(OldCount, NewCount), NewCount - OldCount, Default);
        };
        resize(FColWidths, oldColCount, NewColCount, FDefaultColWidth);
        resize(FTabStops, oldColCount, NewColCount, 1);
        resize(FRowHeights, oldRowCount, NewRowCount, FDefaultRowHeight);
        FColCount = NewColCount;
        FRowCount = NewRowCount;
        FFixedCols = std::min(FFixedCols, FColCount - 1);
        FFixedRows = std::min(FFixedRows, FRowCount - 1);
        ClampFrozenCounts();
        ApplyDimensions(oldColCount, oldRowCount, oldTopLeft);
    } catch (...) {
        RestoreDimensions(oldColCount, oldRowCount, std::move(oldWidths), std::move(oldHeights), std::move(oldTabStops));
        throw;
    }
}

void TCustomGridEh::RestoreDimensions(int OldColCount, int OldRowCount, TGridExtentsEh&& Widths,
                                      TGridExtentsEh&& Heights, TGridExtentsEh&& TabStops)
{
    const int failedColCount = FColCount;
    const int failedRowCount = FRowCount;
    const TGridCoord failedTopLeft = FTopLeft;
    FColCount = OldColCount;
    FRowCount = OldRowCount;
    FColWidths = std::move(Widths);
    FRowHeights = std::move(Heights);
    FTabStops = std::move(TabStops);
    FFixedCols = std::min(FFixedCols, FColCount - 1);
    FFixedRows = std::min(FFixedRows, FRowCount - 1);
    ClampFrozenCounts();
    ApplyDimensions(failedColCount, failedRowCount, failedTopLeft);
    InvalidateGrid();
}

void TCustomGridEh::ApplyDimensions(int OldColCount, int OldRowCount, TGridCoord OldTopLeft)
{
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, FColCount - 1);
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, FRowCount - 1);
    if (FTopLeft.X != OldTopLeft.X)
        FHorzPixelOffset = 0;
    if (FTopLeft.Y != OldTopLeft.Y)
        FVertPixelOffset = 0;
    const TGridCoord current{std::min(FCurrent.X, FColCount - 1), std::min(FCurrent.Y, FRowCount - 1)};
    if (current != FCurrent)
        MoveCurrentCell(current.X, current.Y, true, true, false);
    const TGridCoord anchor{std::min(FAnchor.X, FColCount - 1), std::min(FAnchor.Y, FRowCount - 1)};
    if (anchor != FAnchor)
        ExtendSelectionTo(anchor, false);
    RecomputeColExtents();
    RecomputeRowExtents();
    if (FFullRepaint || FTopLeft != OldTopLeft)
        InvalidateGrid();
    else
        InvalidateCountChange(OldColCount, OldRowCount);
    RefreshScrollBars();
    CountsChanged(OldColCount, OldRowCount);
}

void TCustomGridEh::InvalidateCountChange(int OldColCount, int OldRowCount)
{
    if (!HandleAllocated())
        return;
    // The cells that came or went lie after the edge of the fewer cells.
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const int fewerCols = std::min(OldColCount, FColCount);
    const int fewerRows = std::min(OldRowCount, FRowCount);
    if (OldColCount != FColCount) {
        const TRect edge = VisibleRangeRectInLayout({fewerCols - 1, 0, fewerCols - 1, 0}, layout, true);
        const int from = edge.IsEmpty() ? layout.Horz.FixedBoundary : edge.Right;
        InvalidateClientRect(Rect(from, 0, layout.Horz.ClientExtent, layout.Vert.ClientExtent));
    }
    if (OldRowCount != FRowCount) {
        const TRect edge = VisibleRangeRectInLayout({0, fewerRows - 1, 0, fewerRows - 1}, layout, true);
        const int from = edge.IsEmpty() ? layout.Vert.FixedBoundary : edge.Bottom;
        InvalidateClientRect(Rect(0, from, layout.Horz.ClientExtent, layout.Vert.ClientExtent));
    }
}

void TCustomGridEh::ResizeAxisAt(int Index, int Delta, bool Rows)
{
    if (Delta == 0)
        return;
    const int oldColCount = FColCount;
    const int oldRowCount = FRowCount;
    const TGridCoord oldCurrent = FCurrent;
    SizeAdjustAxis(Index, Delta, Rows);
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, FColCount - 1);
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, FRowCount - 1);
    FAnchor = {std::min(FAnchor.X, FColCount - 1), std::min(FAnchor.Y, FRowCount - 1)};
    RecomputeAxisExtents(Rows);
    // Contra cells hang from the far edge, so the whole grid moves under them.
    InvalidateGrid();
    CountsChanged(oldColCount, oldRowCount);
    if (FCurrent != oldCurrent)
        MoveCurrentCell(FCurrent.X, FCurrent.Y, true, true, true);
    RefreshScrollBars();
}

void TCustomGridEh::SizeAdjustAxis(int Index, int Delta, bool Rows)
{
    int& count = Rows ? FRowCount : FColCount;
    if (count + Delta < Index)
        RaiseGridOperationError(STooManyDeleted);
    TGridExtentsEh& extents = AxisExtents(Rows);
    TGridExtentsEh shifted = extents;
    TGridExtentsEh tabStops = FTabStops;
    if (!Rows && !tabStops.empty())
        ShiftExtentEntries(tabStops, Index, Delta, 1);
    if (!shifted.empty())
        ShiftExtentEntries(shifted, Index, Delta, Rows ? FDefaultRowHeight : FDefaultColWidth);
    extents = std::move(shifted);
    if (!Rows)
        FTabStops = std::move(tabStops);
    count += Delta;
    int& current = Rows ? FCurrent.Y : FCurrent.X;
    if (current >= Index)
        current = Delta < 0 && current < Index - Delta ? Index : current + Delta;
    current = std::min(current, count - 1);
}

void TCustomGridEh::RelocateColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || FromIndex >= FColCount || ToIndex < 0 || ToIndex >= FColCount)
        RaiseGridOperationError(SGridIndexOutOfRange);
    MoveExtentEntry(FColWidths, FromIndex, ToIndex);
    MoveExtentEntry(FTabStops, FromIndex, ToIndex);
    FCurrent.X = AdjustIndexForMove(FCurrent.X, FromIndex, ToIndex);
    FAnchor.X = AdjustIndexForMove(FAnchor.X, FromIndex, ToIndex);
    if (FEditorCell.X >= 0)
        FEditorCell.X = AdjustIndexForMove(FEditorCell.X, FromIndex, ToIndex);
    TGridLayoutEh layout;
    ComputeLayout(layout);
    RepaintRegionOfRange({std::min(FromIndex, ToIndex), 0, std::max(FromIndex, ToIndex), layout.Vert.LastFullVisibleCell});
    ColumnRelocated(FromIndex, ToIndex);
    if (!FColWidths.empty())
        AfterColWidthsChange();
    SyncEditor();
}

void TCustomGridEh::RelocateRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || FromIndex >= FRowCount || ToIndex < 0 || ToIndex >= FRowCount)
        RaiseGridOperationError(SGridIndexOutOfRange);
    MoveExtentEntry(FRowHeights, FromIndex, ToIndex);
    FCurrent.Y = AdjustIndexForMove(FCurrent.Y, FromIndex, ToIndex);
    FAnchor.Y = AdjustIndexForMove(FAnchor.Y, FromIndex, ToIndex);
    if (FEditorCell.Y >= 0)
        FEditorCell.Y = AdjustIndexForMove(FEditorCell.Y, FromIndex, ToIndex);
    TGridLayoutEh layout;
    ComputeLayout(layout);
    RepaintRegionOfRange({0, std::min(FromIndex, ToIndex), layout.Horz.LastFullVisibleCell, std::max(FromIndex, ToIndex)});
    RowRelocated(FromIndex, ToIndex);
    if (!FRowHeights.empty())
        AfterRowHeightsChange();
    SyncEditor();
}

void TCustomGridEh::RemoveColumn(int Index)
{
    RelocateColumn(Index, FColCount - 1);
    ChangeColCount(FColCount - 1);
}

void TCustomGridEh::RemoveRow(int Index)
{
    SuspendScrollUpdates();
    try {
        if (Index == FCurrent.Y && Index > 0)
            MoveCurrentCell(FCurrent.X, FCurrent.Y - 1, false, false, true);
        RelocateRow(Index, FRowCount - 1);
        ChangeRowCount(FRowCount - 1);
    } catch (...) {
        ResumeScrollUpdates();
        throw;
    }
    ResumeScrollUpdates();
}

void TCustomGridEh::DefineProperties(TGridFilerEh& Filer)
{
    auto define = [&](const char* Name, bool Rows) {
        const TGridExtentsEh& extents = Rows ? FRowHeights : FColWidths;
        Filer.DefineIntegerList(
            String::fromLatin1(Name),
            [this, Rows](const std::vector<int>& Values) {
                for (std::size_t i = 0; i < Values.size(); ++i)
                    ChangeExtent(Rows, static_cast<int>(i), Values[i]);
            },
            [this, Rows] {
                // Only the ordinary cells are stored; contra extents belong to whoever made them.
                const TGridExtentsEh& values = Rows ? FRowHeights : FColWidths;
                const auto count = static_cast<std::ptrdiff_t>(Rows ? FRowCount : FColCount);
                return std::vector<int>(values.begin(), values.begin() + count);
            },
            FStoreExtents && !extents.empty());
    };
    define("ColWidths", false);
    define("RowHeights", true);
}
