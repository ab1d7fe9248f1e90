// The grid's selection: records, a rectangle of cells, columns or everything; the repaint of
// what changed, and the grid's tests of what the selection commands may do now.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhHelpers.h"
#include "datagrid/DBGridEhImpExp.h"

#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Clipboard.h"

#include <algorithm>
#include <cassert>

using namespace Qt::StringLiterals;

namespace {

constexpr TGridCellRangeEh NoCells{-1, -1, -1, -1};

// The bookmarks of the records the grid shows, display row by display row.
std::vector<TBookmark> ShownBookmarks(TCustomDBGridEh* Grid)
{
    std::vector<TBookmark> result;
    TDataSet* dataSet = Grid->DataLink()->DataSet();
    if (dataSet == nullptr || !Grid->DataLink()->Active())
        return result;
    const int count = Grid->DisplayRecordCount();
    result.reserve(static_cast<std::size_t>(count));
    try {
        for (int i = 0; i < count; ++i) {
            Grid->SwitchToRowRecord(i);
            result.push_back(dataSet->Bookmark());
        }
    } catch (...) {
        Grid->RestoreRowRecord();
        throw;
    }
    Grid->RestoreRowRecord();
    return result;
}

}  // namespace

TDBGridEhAllowedSelections AllowedSelectionOf(TDBGridEhSelectionType Kind)
{
    switch (Kind) {
    case TDBGridEhSelectionType::gstRecordBookmarks: return gstRecordBookmarks;
    case TDBGridEhSelectionType::gstRectangle: return gstRectangle;
    case TDBGridEhSelectionType::gstColumns: return gstColumns;
    case TDBGridEhSelectionType::gstAll: return gstAll;
    case TDBGridEhSelectionType::gstNon: break;
    }
    return {};
}

// --- TDBGridEhSelection -------------------------------------------------------------------------

TDBGridEhSelection::TDBGridEhSelection(TCustomDBGridEh* Grid) : FGrid(Grid), FColumns(Grid), FRect(Grid) {}

TBookmarkListEh* TDBGridEhSelection::BookmarkRows() const { return FGrid->SelectedRows(); }

bool TDBGridEhSelection::SelectsNothing() const
{
    return FSelectionType == TDBGridEhSelectionType::gstNon ||
           (FSelectionType == TDBGridEhSelectionType::gstRecordBookmarks && BookmarkRows()->ItemCount() == 0);
}

bool TDBGridEhSelection::OnlyTheKindsStoreHolds() const
{
    return (FSelectionType == TDBGridEhSelectionType::gstColumns || FColumns.Count() == 0) &&
           (FSelectionType == TDBGridEhSelectionType::gstRecordBookmarks || BookmarkRows()->ItemCount() == 0);
}

bool TDBGridEhSelection::IsCellSelected(int ColIndex, const TBookmark& Bookmark)
{
    assert(OnlyTheKindsStoreHolds());
    switch (FSelectionType) {
    case TDBGridEhSelectionType::gstRecordBookmarks: {
        int index = 0;
        return BookmarkRows()->FindBookmark(Bookmark, index);
    }
    case TDBGridEhSelectionType::gstRectangle:
        return ColIndex >= 0 && FRect.CellSelected(ColIndex, Bookmark);
    case TDBGridEhSelectionType::gstColumns:
        return ColIndex >= 0 && ColIndex < FGrid->Columns()->Count() &&
               FColumns.IndexOf(FGrid->Columns()->ColumnAt(ColIndex)) >= 0;
    case TDBGridEhSelectionType::gstAll:
        return true;
    case TDBGridEhSelectionType::gstNon:
        break;
    }
    return false;
}

void TDBGridEhSelection::ResetSelection()
{
    struct TFinish {
        TDBGridEhSelection* Self;
        ~TFinish()
        {
            Self->FSelectionType = TDBGridEhSelectionType::gstNon;
            if (Self->FGrid->Options().Contains(dgAlwaysShowEditor) && Self->FGrid->EditorAlwaysShown())
                Self->FGrid->EnterEditorMode();
        }
    } finish{this};
    switch (FSelectionType) {
    case TDBGridEhSelectionType::gstRecordBookmarks: BookmarkRows()->RemoveAll(); break;
    case TDBGridEhSelectionType::gstRectangle: FRect.ClearRect(); break;
    case TDBGridEhSelectionType::gstColumns: FColumns.Clear(); break;
    case TDBGridEhSelectionType::gstAll: FGrid->InvalidateGrid(); break;
    case TDBGridEhSelectionType::gstNon: break;
    }
}

void TDBGridEhSelection::SelectAllCells()
{
    if (FSelectionType == TDBGridEhSelectionType::gstAll)
        return;
    if (FSelectionType != TDBGridEhSelectionType::gstNon)
        ResetSelection();
    ChangeSelectionType(TDBGridEhSelectionType::gstAll);
    FGrid->InvalidateGrid();
    SelectionChanged();
}

void TDBGridEhSelection::ChangeSelectionType(TDBGridEhSelectionType Kind)
{
    if (Kind == FSelectionType)
        return;
    FSelectionType = Kind;
    FGrid->ReloadAllEditors();
}

void TDBGridEhSelection::DropEmptySelection()
{
    const bool empty = (FSelectionType == TDBGridEhSelectionType::gstRecordBookmarks && BookmarkRows()->ItemCount() == 0) ||
                       (FSelectionType == TDBGridEhSelectionType::gstColumns && FColumns.Count() == 0);
    if (!empty)
        return;
    FSelectionType = TDBGridEhSelectionType::gstNon;
    FGrid->InvalidateGrid();
}

void TDBGridEhSelection::LinkActiveChanged(bool Active)
{
    BookmarkRows()->SetLinkActive(Active);
    ResetSelection();
}

TGridCellRangeEh TDBGridEhSelection::SelectionCellRange()
{
    assert(OnlyTheKindsStoreHolds());
    switch (FSelectionType) {
    case TDBGridEhSelectionType::gstRecordBookmarks: return BookmarkRows()->VisibleSelectionRange();
    case TDBGridEhSelectionType::gstRectangle: return FRect.CellRange();
    case TDBGridEhSelectionType::gstColumns: return FColumns.CellRange();
    case TDBGridEhSelectionType::gstAll: return {0, 0, FGrid->ColCount() - 1, FGrid->RowCount() - 1};
    case TDBGridEhSelectionType::gstNon: break;
    }
    return NoCells;
}

void TDBGridEhSelection::SelectionChanged()
{
    if (FGrid->OnSelectionChanged && !FGrid->BeingDestroyed())
        FGrid->OnSelectionChanged(FGrid);
}

// --- TDBGridEhSelectionRect ---------------------------------------------------------------------

bool TDBGridEhSelectionRect::IsDataLinkActive() const
{
    return FGrid->DataLink()->DataSet() != nullptr && FGrid->DataLink()->Active();
}

void TDBGridEhSelectionRect::CheckActive(const String& Message) const
{
    if (!IsDataLinkActive())
        RaiseDataGridError(Message);
}

int TDBGridEhSelectionRect::CompareBookmarks(const TBookmark& A, const TBookmark& B) const
{
    return CompareBookmarkStrings(FGrid->DataLink()->DataSet(), A, B);
}

TBookmark TDBGridEhSelectionRect::TopRowBookmark() const
{
    CheckActive(u"Error in TDBGridEhSelectionRect.GetBottomRow"_s);
    return CompareBookmarks(FShiftBookmark, FAnchorBookmark) < 0 ? FShiftBookmark : FAnchorBookmark;
}

TBookmark TDBGridEhSelectionRect::BottomRowBookmark() const
{
    CheckActive(u"Error in TDBGridEhSelectionRect.GetBottomRow"_s);
    return CompareBookmarks(FShiftBookmark, FAnchorBookmark) > 0 ? FShiftBookmark : FAnchorBookmark;
}

int TDBGridEhSelectionRect::LeftColIndex() const
{
    CheckActive(u"Error in TDBGridEhSelectionRect.GetBottomRow"_s);
    return std::min(FAnchorCol, FShiftCol);
}

int TDBGridEhSelectionRect::RightColIndex() const
{
    CheckActive(u"Error in TDBGridEhSelectionRect.GetBottomRow"_s);
    return std::max(FAnchorCol, FShiftCol);
}

bool TDBGridEhSelectionRect::CellSelected(int ACol, const TBookmark& Bookmark) const
{
    CheckActive(u"Error in function TDBGridEhSelectionRect.CellSelected"_s);
    return LeftColIndex() <= ACol && ACol <= RightColIndex() && CompareBookmarks(TopRowBookmark(), Bookmark) <= 0 &&
           CompareBookmarks(Bookmark, BottomRowBookmark()) <= 0;
}

void TDBGridEhSelectionRect::ClearRect()
{
    FAnchorCol = FShiftCol = -1;
    FAnchorBookmark.clear();
    FShiftBookmark.clear();
    FGrid->InvalidateGrid();
    FGrid->Selection()->SelectionChanged();
}

bool TDBGridEhSelectionRect::ShownRowsBetween(const TBookmark& Top, const TBookmark& Bottom, int& First, int& Last)
{
    const std::vector<TBookmark> shown = ShownBookmarks(FGrid);
    First = Last = -1;
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        const TBookmark& bookmark = shown[static_cast<std::size_t>(i)];
        if (CompareBookmarks(Top, bookmark) <= 0 && CompareBookmarks(bookmark, Bottom) <= 0) {
            if (First < 0)
                First = i;
            Last = i;
        }
    }
    return First >= 0;
}

TGridCellRangeEh TDBGridEhSelectionRect::CellRange()
{
    if (!IsDataLinkActive() || FAnchorCol < 0)
        return NoCells;
    int first = 0;
    int last = 0;
    if (!ShownRowsBetween(TopRowBookmark(), BottomRowBookmark(), first, last))
        return NoCells;
    const int above = FGrid->RowsAboveData();
    return {FGrid->DataColToGridCol(LeftColIndex()), first + above, FGrid->DataColToGridCol(RightColIndex()),
            last + above};
}

TRect TDBGridEhSelectionRect::PixelRect(int ColA, const TBookmark& BookmarkA, int ColB, const TBookmark& BookmarkB)
{
    if (!IsDataLinkActive())
        return TRect();
    const bool aFirst = CompareBookmarks(BookmarkA, BookmarkB) <= 0;
    const TBookmark& top = aFirst ? BookmarkA : BookmarkB;
    const TBookmark& bottom = aFirst ? BookmarkB : BookmarkA;
    const std::vector<TBookmark> shown = ShownBookmarks(FGrid);
    if (shown.empty())
        return TRect();
    const auto count = static_cast<int>(shown.size());
    // Rows above the view clip to its top, rows below it to its bottom.
    int topRow = count;
    if (CompareBookmarks(top, shown.front()) < 0)
        topRow = 0;
    else if (const auto found = std::find(shown.begin(), shown.end(), top); found != shown.end())
        topRow = static_cast<int>(found - shown.begin());
    int bottomRow = -1;
    if (CompareBookmarks(bottom, shown.back()) > 0)
        bottomRow = FGrid->FullyShownDataRows();
    else if (const auto found = std::find(shown.begin(), shown.end(), bottom); found != shown.end())
        bottomRow = static_cast<int>(found - shown.begin());
    if (bottomRow < topRow)
        return TRect();
    const int above = FGrid->RowsAboveData();
    return FGrid->CellRangePixelRect(FGrid->DataColToGridCol(std::min(ColA, ColB)), topRow + above,
                                     FGrid->DataColToGridCol(std::max(ColA, ColB)), bottomRow + above);
}

void TDBGridEhSelectionRect::SelectTo(int ColIndex, const TBookmark& Bookmark, bool Extend)
{
    TDBGridEhSelection* selection = FGrid->Selection();
    if (selection->SelectionType() != TDBGridEhSelectionType::gstRectangle)
        selection->ResetSelection();
    const int oldAnchorCol = FAnchorCol;
    const TBookmark oldAnchor = FAnchorBookmark;
    const int oldShiftCol = FShiftCol;
    const TBookmark oldShift = FShiftBookmark;

    if (FAnchorCol == -1 || !Extend) {
        FAnchorCol = ColIndex;
        FAnchorBookmark = Bookmark;
    }
    FShiftCol = ColIndex;
    FShiftBookmark = Bookmark;
    if (FAnchorCol != FShiftCol || CompareBookmarks(FAnchorBookmark, FShiftBookmark) != 0)
        selection->ChangeSelectionType(TDBGridEhSelectionType::gstRectangle);
    else if (selection->SelectionType() == TDBGridEhSelectionType::gstRectangle)
        selection->ChangeSelectionType(TDBGridEhSelectionType::gstNon);

    if (FGrid->HandleAllocated()) {
        TRect oldRect;
        if (oldAnchorCol >= 0) {
            const bool oldOneRecord = CompareBookmarks(oldAnchor, oldShift) == 0;
            const bool newOneRecord = CompareBookmarks(FAnchorBookmark, FShiftBookmark) == 0;
            const bool oldOneCol = oldAnchorCol == oldShiftCol;
            const bool newOneCol = FAnchorCol == FShiftCol;
            // A single cell and a wider run in one record look different also outside the run.
            if (oldOneRecord && newOneRecord && oldOneCol != newOneCol)
                oldRect = PixelRect(0, oldAnchor, FGrid->Columns()->Count() - 1, oldShift);
            else
                oldRect = PixelRect(oldAnchorCol, oldAnchor, oldShiftCol, oldShift);
        }
        const TRect newRect = PixelRect(FAnchorCol, FAnchorBookmark, FShiftCol, FShiftBookmark);
        TRect common;
        if (!IntersectRect(common, oldRect, newRect)) {
            FGrid->InvalidateRect(&oldRect);
            FGrid->InvalidateRect(&newRect);
        } else {
            // Only the strips of the union around the common part change.
            const TRect all = oldRect.United(newRect);
            const TRect strips[4] = {Rect(all.Left, all.Top, all.Right, common.Top),
                                     Rect(all.Left, common.Bottom, all.Right, all.Bottom),
                                     Rect(all.Left, common.Top, common.Left, common.Bottom),
                                     Rect(common.Right, common.Top, all.Right, common.Bottom)};
            for (const TRect& strip : strips)
                if (!strip.IsEmpty())
                    FGrid->InvalidateRect(&strip);
        }
    }
    selection->SelectionChanged();
}

// --- TDBGridEhSelectionCols ---------------------------------------------------------------------

void TDBGridEhSelectionCols::InvalidateColumn(TColumnEh* Column)
{
    FGrid->InvalidateColumn(FGrid->DataColToGridCol(Column->Index()));
}

void TDBGridEhSelectionCols::BecomeColumnSelection()
{
    TDBGridEhSelection* selection = FGrid->Selection();
    if (selection->SelectionType() != TDBGridEhSelectionType::gstColumns &&
        selection->SelectionType() != TDBGridEhSelectionType::gstNon)
        selection->ResetSelection();
}

void TDBGridEhSelectionCols::InsertInGridOrder(TColumnEh* Column)
{
    for (int i = 0; i < Count(); ++i)
        if (ColumnAt(i)->Index() > Column->Index()) {
            Insert(i, Column);
            return;
        }
    Add(Column);
}

void TDBGridEhSelectionCols::SelectColumn(TColumnEh* Column, bool Extend)
{
    BecomeColumnSelection();
    if (!Extend)
        Clear();
    if (IndexOf(Column) < 0) {
        InsertInGridOrder(Column);
        InvalidateColumn(Column);
    }
    FAnchor = FShiftCol = Column;
    FShiftSelectedCols.Clear();
    FGrid->Selection()->ChangeSelectionType(TDBGridEhSelectionType::gstColumns);
    FGrid->Selection()->SelectionChanged();
}

void TDBGridEhSelectionCols::ToggleColumn(TColumnEh* Column)
{
    BecomeColumnSelection();
    if (IndexOf(Column) >= 0)
        Remove(Column);
    else
        InsertInGridOrder(Column);
    InvalidateColumn(Column);
    FAnchor = FShiftCol = Column;
    FShiftSelectedCols.Clear();
    FGrid->Selection()->ChangeSelectionType(Count() > 0 ? TDBGridEhSelectionType::gstColumns
                                                        : TDBGridEhSelectionType::gstNon);
    FGrid->Selection()->SelectionChanged();
}

void TDBGridEhSelectionCols::ShiftStep(int Index, bool Adding)
{
    if (Index < 0 || Index >= FGrid->Columns()->Count())
        return;
    TColumnEh* column = FGrid->Columns()->ColumnAt(Index);
    const bool listed = IndexOf(column) >= 0;
    // With the anchor toggled off, extending takes columns out instead of putting them in.
    const bool anchorListed = IndexOf(FAnchor) >= 0;
    if (Adding) {
        const bool change = anchorListed ? (!listed && column->Visible()) : (listed && column != FAnchor);
        if (!change)
            return;
        FShiftSelectedCols.Add(column);
    } else {
        // Going back undoes only what this extension did.
        if (FShiftSelectedCols.IndexOf(column) < 0)
            return;
        FShiftSelectedCols.Remove(column);
    }
    if (listed)
        Remove(column);
    else
        InsertInGridOrder(column);
    InvalidateColumn(column);
}

void TDBGridEhSelectionCols::ShiftSelectTo(TColumnEh* Column)
{
    BecomeColumnSelection();
    if (FAnchor == nullptr) {
        SelectColumn(Column, true);
        return;
    }
    const int anchor = FAnchor->Index();
    const int shift = FShiftCol != nullptr ? FShiftCol->Index() : anchor;
    const int target = Column->Index();
    // Walks From..To inclusive in the direction between them.
    const auto walk = [this](int From, int To, bool Adding) {
        const int step = To >= From ? 1 : -1;
        for (int i = From;; i += step) {
            ShiftStep(i, Adding);
            if (i == To)
                break;
        }
    };
    if (shift == anchor) {
        walk(anchor, target, true);
    } else {
        const int away = shift > anchor ? 1 : -1;  // the side of the anchor the last extension went to
        if ((target - shift) * away >= 0) {
            walk(shift, target, true);
        } else if ((target - anchor) * away >= 0) {
            walk(shift, target + away, false);
        } else {
            // Back across the anchor: undo this extension's side, then extend on the other.
            walk(shift, anchor + away, false);
            walk(anchor, target, true);
        }
    }
    FShiftCol = Column;
    FGrid->Selection()->ChangeSelectionType(Count() > 0 ? TDBGridEhSelectionType::gstColumns
                                                        : TDBGridEhSelectionType::gstNon);
    FGrid->Selection()->SelectionChanged();
}

void TDBGridEhSelectionCols::Clear()
{
    for (int i = 0; i < Count(); ++i)
        InvalidateColumn(ColumnAt(i));
    TColumnsEhList::Clear();
    FAnchor = nullptr;
    FGrid->Selection()->SelectionChanged();
}

void TDBGridEhSelectionCols::SyncWithColumns()
{
    TDBGridColumnsEh* columns = FGrid->Columns();
    const auto inGrid = [columns](TColumnEh* Column) {
        for (int i = 0; i < columns->Count(); ++i)
            if (columns->ColumnAt(i) == Column)
                return true;
        return false;
    };
    for (int i = Count() - 1; i >= 0; --i)
        if (!inGrid(ColumnAt(i)))
            Delete(i);
    Sort([](TColumnEh* A, TColumnEh* B) { return A->Index() - B->Index(); });
    if (FAnchor != nullptr && !inGrid(FAnchor))
        FAnchor = nullptr;
    if (FShiftCol != nullptr && !inGrid(FShiftCol))
        FShiftCol = nullptr;
    for (int i = FShiftSelectedCols.Count() - 1; i >= 0; --i)
        if (!inGrid(FShiftSelectedCols.ColumnAt(i)))
            FShiftSelectedCols.Delete(i);
}

void TDBGridEhSelectionCols::ForgetColumn(TColumnEh* Column)
{
    Remove(Column);
    FShiftSelectedCols.Remove(Column);
    if (FAnchor == Column)
        FAnchor = nullptr;
    if (FShiftCol == Column)
        FShiftCol = nullptr;
}

TGridCellRangeEh TDBGridEhSelectionCols::CellRange() const
{
    if (Count() == 0)
        return NoCells;
    int low = ColumnAt(0)->Index();
    int high = low;
    for (int i = 1; i < Count(); ++i) {
        low = std::min(low, ColumnAt(i)->Index());
        high = std::max(high, ColumnAt(i)->Index());
    }
    return {FGrid->DataColToGridCol(low), 0, FGrid->DataColToGridCol(high), FGrid->RowCount() - 1};
}

// --- The grid's tests ---------------------------------------------------------------------------

bool TCustomDBGridEh::IsSelectionTypeAllowed(TDBGridEhSelectionType Kind) const
{
    if (Kind == TDBGridEhSelectionType::gstNon)
        return true;
    if (!FDBOptions.Contains(dgMultiSelect) || !FAllowedSelections.Contains(AllowedSelectionOf(Kind)))
        return false;
    const bool cells = Kind == TDBGridEhSelectionType::gstRectangle || Kind == TDBGridEhSelectionType::gstColumns;
    return !(cells && FDBOptions.Contains(dgRowSelect));
}

void TCustomDBGridEh::SetAllowedSelections(TDBGridEhAllowedSelections Value)
{
    FAllowedSelections = Value;
    const TDBGridEhSelectionType kind = FSelection->SelectionType();
    if (kind != TDBGridEhSelectionType::gstNon && !Value.Contains(AllowedSelectionOf(kind)))
        FSelection->ResetSelection();
}

bool TCustomDBGridEh::CanSelectAll() const
{
    const TDataSet* dataSet = DataLink()->DataSet();
    return FDataLink->Active() && dataSet != nullptr && !dataSet->IsEmpty() && FAllowedSelections.Contains(gstAll);
}

bool TCustomDBGridEh::CanCopyToClipboard() const { return FDataLink->Active(); }

bool TCustomDBGridEh::CanDeleteSelection() const
{
    const TDataSet* dataSet = DataLink()->DataSet();
    if (!FDataLink->Active() || FReadOnly || dataSet == nullptr || dataSet->IsEmpty() || !dataSet->CanModify())
        return false;
    switch (FSelection->SelectionType()) {
    case TDBGridEhSelectionType::gstRecordBookmarks:
    case TDBGridEhSelectionType::gstAll:
        return FAllowedOperations.Contains(alopDeleteEh);
    case TDBGridEhSelectionType::gstRectangle:
    case TDBGridEhSelectionType::gstColumns:
        return FAllowedOperations.Contains(alopUpdateEh);
    case TDBGridEhSelectionType::gstNon:
        break;
    }
    return false;
}

bool TCustomDBGridEh::CanCutToClipboard() const { return CanCopyToClipboard() && CanDeleteSelection(); }

bool TCustomDBGridEh::CanPasteFromClipboard() const
{
    const TDataSet* dataSet = DataLink()->DataSet();
    if (!FDataLink->Active() || FReadOnly || dataSet == nullptr || !dataSet->CanModify())
        return false;
    if (!Clipboard()->HasFormat(CF_VCLDBIF()) && !Clipboard()->HasFormat(CF_TEXT))
        return false;
    return dataSet->State() == TDataSetState::dsInsert || FAllowedOperations.Contains(alopUpdateEh);
}

TRect TCustomDBGridEh::CellRangePixelRect(int ALeft, int ATop, int ARight, int ABottom) const
{
    return VisibleRangeRect({ALeft, ATop, ARight, ABottom}, true);
}

int TCustomDBGridEh::FullyShownDataRows() const { return std::max(0, FullyShownRowCount()); }
