// The grid's selection: records by bookmark, a rectangle of cells, columns, or all cells.
#include "datagrid/DBGridEhSelection.h"

#include "datagrid/DBGridEh.h"
#include "platform/data/DataSet.h"

#include <algorithm>

namespace {

TDBGridEhAllowedSelections SelectionKindSet(TDBGridEhSelectionType Kind)
{
    return TDBGridEhAllowedSelections(1u << static_cast<unsigned>(Kind));
}

} // namespace

// --- Selected records ---------------------------------------------------------------------------

TBookmarkListEh::~TBookmarkListEh() = default;

TDataSet* TBookmarkListEh::GetDataSet() const { return FGrid->DataLink()->DataSet(); }

void TBookmarkListEh::StringsChanged()
{
    TBMListEh::StringsChanged();
    // Every change of the entries, whatever made it, keeps the selection's kind and the rows
    // shown in step.
    if (ItemCount() > 0)
        FGrid->Selection()->ChangeSelectionType(TDBGridEhSelectionType::gstRecordBookmarks);
    FGrid->Selection()->DropEmptySelection();
    FGrid->InvalidateGrid();
    FGrid->RaiseSelectionChanged();
}

// --- Rectangle ----------------------------------------------------------------------------------

void TDBGridEhSelectionRect::SelectTo(int ColIndex, const TBookmark& Bookmark, bool Extend)
{
    TDBGridEhSelection* selection = FGrid->Selection();
    if (selection->SelectionType() != TDBGridEhSelectionType::gstRectangle)
        selection->ResetSelection();
    if (FAnchorCol == -1 || !Extend) {
        FAnchorCol = ColIndex;
        FAnchorBookmark = Bookmark;
    }
    FShiftCol = ColIndex;
    FShiftBookmark = Bookmark;
    const bool singleCell = FAnchorCol == FShiftCol && FAnchorBookmark == FShiftBookmark;
    selection->ChangeSelectionType(singleCell ? TDBGridEhSelectionType::gstNon : TDBGridEhSelectionType::gstRectangle);
    FGrid->InvalidateGrid();
    FGrid->RaiseSelectionChanged();
}

void TDBGridEhSelectionRect::ClearRect()
{
    FAnchorCol = FShiftCol = -1;
    FAnchorBookmark.clear();
    FShiftBookmark.clear();
    FGrid->InvalidateGrid();
    FGrid->RaiseSelectionChanged();
}

bool TDBGridEhSelectionRect::CellSelected(int ColIndex, const TBookmark& Bookmark) const
{
    TDataSet* data = FGrid->DataLink()->DataSet();
    if (data == nullptr || !FGrid->DataLink()->Active())
        throw Exception(QStringLiteral("Error in function TDBGridEhSelectionRect.CellSelected"));
    if (ColIndex < std::min(FAnchorCol, FShiftCol) || ColIndex > std::max(FAnchorCol, FShiftCol))
        return false;
    const bool anchorFirst = data->CompareBookmarks(FAnchorBookmark, FShiftBookmark) <= 0;
    const TBookmark& top = anchorFirst ? FAnchorBookmark : FShiftBookmark;
    const TBookmark& bottom = anchorFirst ? FShiftBookmark : FAnchorBookmark;
    return data->CompareBookmarks(top, Bookmark) <= 0 && data->CompareBookmarks(Bookmark, bottom) <= 0;
}

// --- Columns ------------------------------------------------------------------------------------

void TDBGridEhSelectionCols::InsertInGridOrder(TColumnEh* Column)
{
    int at = 0;
    while (at < Count() && Items(at)->Index() < Column->Index())
        ++at;
    Insert(at, Column);
}

void TDBGridEhSelectionCols::Changed()
{
    FGrid->Selection()->ChangeSelectionType(Count() > 0 ? TDBGridEhSelectionType::gstColumns
                                                        : TDBGridEhSelectionType::gstNon);
    FGrid->InvalidateGrid();
    FGrid->RaiseSelectionChanged();
}

void TDBGridEhSelectionCols::SelectColumn(TColumnEh* Column, bool Extend)
{
    if (FGrid->Selection()->SelectionType() != TDBGridEhSelectionType::gstColumns)
        FGrid->Selection()->ResetSelection();
    if (!Extend)
        TList::Clear();
    if (IndexOf(Column) < 0)
        InsertInGridOrder(Column);
    FAnchor = Column;
    Changed();
}

void TDBGridEhSelectionCols::ToggleColumn(TColumnEh* Column)
{
    if (FGrid->Selection()->SelectionType() != TDBGridEhSelectionType::gstColumns)
        FGrid->Selection()->ResetSelection();
    if (IndexOf(Column) >= 0)
        Remove(Column);
    else
        InsertInGridOrder(Column);
    FAnchor = Column;
    Changed();
}

void TDBGridEhSelectionCols::ShiftSelectTo(TColumnEh* Column)
{
    if (FAnchor == nullptr || FGrid->Selection()->SelectionType() != TDBGridEhSelectionType::gstColumns) {
        SelectColumn(Column, true);
        return;
    }
    TList::Clear();
    const int from = std::min(FAnchor->Index(), Column->Index());
    const int to = std::max(FAnchor->Index(), Column->Index());
    for (int i = from; i <= to; ++i)
        if (TColumnEh* column = FGrid->Columns()->ColumnAt(i); column->Visible())
            Add(column);
    Changed();
}

void TDBGridEhSelectionCols::ClearColumns()
{
    TList::Clear();
    FAnchor = nullptr;
    FGrid->InvalidateGrid();
    FGrid->RaiseSelectionChanged();
}

// --- The selection ------------------------------------------------------------------------------

TDBGridEhSelection::TDBGridEhSelection(TCustomDBGridEh* Grid) : FGrid(Grid), FRect(Grid), FColumns(Grid) {}

TBookmarkListEh* TDBGridEhSelection::Rows() const { return FGrid->SelectedRows(); }

void TDBGridEhSelection::ChangeSelectionType(TDBGridEhSelectionType Kind) { FSelectionType = Kind; }

void TDBGridEhSelection::ResetSelection()
{
    const TDBGridEhSelectionType kind = FSelectionType;
    // Emptying a store reports back through DropEmptySelection; the kind is settled after.
    FSelectionType = TDBGridEhSelectionType::gstNon;
    switch (kind) {
    case TDBGridEhSelectionType::gstRecordBookmarks: Rows()->RemoveAll(); break;
    case TDBGridEhSelectionType::gstRectangle: FRect.ClearRect(); break;
    case TDBGridEhSelectionType::gstColumns: FColumns.ClearColumns(); break;
    case TDBGridEhSelectionType::gstAll: FGrid->InvalidateGrid(); break;
    case TDBGridEhSelectionType::gstNon: break;
    }
}

void TDBGridEhSelection::SelectAllCells()
{
    if (FSelectionType == TDBGridEhSelectionType::gstAll)
        return;
    ResetSelection();
    FSelectionType = TDBGridEhSelectionType::gstAll;
    FGrid->InvalidateGrid();
    FGrid->RaiseSelectionChanged();
}

void TDBGridEhSelection::DropEmptySelection()
{
    if ((FSelectionType == TDBGridEhSelectionType::gstRecordBookmarks && Rows()->ItemCount() == 0) ||
        (FSelectionType == TDBGridEhSelectionType::gstColumns && FColumns.Count() == 0)) {
        FSelectionType = TDBGridEhSelectionType::gstNon;
        FGrid->InvalidateGrid();
    }
}

void TDBGridEhSelection::LinkActiveChanged(bool Active)
{
    Rows()->SetLinkActive(Active);
    ResetSelection();
}

bool TDBGridEhSelection::IsCellSelected(int ColIndex, const TBookmark& Bookmark)
{
    switch (FSelectionType) {
    case TDBGridEhSelectionType::gstRecordBookmarks: {
        int index = 0;
        return Rows()->FindBookmark(Bookmark, index);
    }
    case TDBGridEhSelectionType::gstRectangle: return ColIndex >= 0 && FRect.CellSelected(ColIndex, Bookmark);
    case TDBGridEhSelectionType::gstColumns:
        return ColIndex >= 0 && ColIndex < FGrid->Columns()->Count() &&
               FColumns.IndexOf(FGrid->Columns()->ColumnAt(ColIndex)) >= 0;
    case TDBGridEhSelectionType::gstAll: return true;
    case TDBGridEhSelectionType::gstNon: return false;
    }
    return false;
}

// --- The grid's side ----------------------------------------------------------------------------

bool TCustomDBGridEh::IsSelectionTypeAllowed(TDBGridEhSelectionType Kind) const
{
    if (Kind == TDBGridEhSelectionType::gstNon)
        return true;
    if (!Options().Contains(dgMultiSelect) || !AllowedSelections().Contains(SelectionKindSet(Kind)))
        return false;
    const bool cellKind = Kind == TDBGridEhSelectionType::gstRectangle || Kind == TDBGridEhSelectionType::gstColumns;
    return !(cellKind && Options().Contains(dgRowSelect));
}

void TCustomDBGridEh::RaiseSelectionChanged()
{
    if (OnSelectionChanged && !ComponentState().Contains(TComponentStateFlag::csDestroying))
        OnSelectionChanged(this);
}

bool TCustomDBGridEh::CanSelectAll() const
{
    const TDataSet* data = DataLink()->DataSet();
    return DataLink()->Active() && data != nullptr && !data->IsEmpty() &&
           AllowedSelections().Contains(gstAll);
}
