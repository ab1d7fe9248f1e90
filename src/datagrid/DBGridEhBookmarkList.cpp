// The grid's selected rows: a bookmark list that keeps the grid's selection and painting in step.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"

TDataSet* TBookmarkListEh::GetDataSet() const
{
    return FGrid->DataSource() != nullptr ? FGrid->DataSource()->DataSet() : nullptr;
}

void TBookmarkListEh::InvalidateView() { FGrid->InvalidateGrid(); }

void TBookmarkListEh::SetCurrentRowSelected(bool Value)
{
    const TDataSet* dataSet = GetDataSet();
    if (Value && (dataSet == nullptr || dataSet->IsEmpty()))
        return;
    TBMListEh::SetCurrentRowSelected(Value);
    FGrid->InvalidateRowCells(FGrid->Row());
    TDBGridEhSelection* selection = FGrid->Selection();
    if (selection->SelectionType() != TDBGridEhSelectionType::gstRecordBookmarks && ItemCount() > 0) {
        // The reset empties the other kind's store; this list is not it.
        selection->ResetSelection();
        selection->ChangeSelectionType(TDBGridEhSelectionType::gstRecordBookmarks);
    }
}

void TBookmarkListEh::StringsChanged()
{
    TBMListEh::StringsChanged();
    FGrid->Selection()->DropEmptySelection();
    FGrid->Selection()->SelectionChanged();
}

void TBookmarkListEh::SelectionChanged() { FGrid->Selection()->DropEmptySelection(); }

void TBookmarkListEh::RemoveAll()
{
    TBMListEh::RemoveAll();
    FGrid->Selection()->SelectionChanged();
}

TGridCellRangeEh TBookmarkListEh::VisibleSelectionRange()
{
    TGridCellRangeEh range{-1, -1, -1, -1};
    const TDataSet* dataSet = GetDataSet();
    if (dataSet == nullptr || !FGrid->DataLink()->Active())
        return range;
    int first = -1;
    int last = -1;
    const int count = FGrid->DisplayRecordCount();
    try {
        for (int i = 0; i < count; ++i) {
            FGrid->SwitchToRowRecord(i);
            int index = 0;
            if (FindBookmark(dataSet->Bookmark(), index)) {
                if (first < 0)
                    first = i;
                last = i;
            }
        }
    } catch (...) {
        FGrid->RestoreRowRecord();
        throw;
    }
    FGrid->RestoreRowRecord();
    if (first < 0)
        return range;
    const int above = FGrid->RowsAboveData();
    return {0, first + above, FGrid->ColCount() - 1, last + above};
}
