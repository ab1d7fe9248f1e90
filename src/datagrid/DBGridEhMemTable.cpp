// Memory-table mode: the grid observes a memory table and keeps its rows and current row in step.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"

#include <algorithm>

// The centre that would switch row scrolling off is not part of this system: a memory table
// always scrolls by rows.
bool TCustomDBGridEh::UsesMemTableScrolling() const { return HasMemTableLink(); }

void TCustomDBGridEh::UpdateMemTableLink()
{
    IMemTableEh* wanted = nullptr;
    TDataSet* data = FDataLink->DataSet();
    if (FMemTableSupport && !BeingDestroyed() && data != nullptr && data->Active() &&
        !data->ComponentState().Contains(TComponentStateFlag::csDestroying))
        wanted = data->MemTableInterface();
    if (wanted == FMemTable)
        return;
    RestoreRowRecord();
    if (FMemTable != nullptr)
        FMemTable->UnregisterObserver(this);
    FMemTable = wanted;
    if (FMemTable != nullptr)
        FMemTable->RegisterObserver(this);
}

void TCustomDBGridEh::MemTableRowsChanged(IMemTableEh* Table)
{
    if (Table != FMemTable)
        return;
    RecomputeRowMetrics();
    UpdateVertScrollBar();
    InvalidateGrid();
}

void TCustomDBGridEh::MemTableRecordChanged(IMemTableEh* Table, int Index, TMemTableChangeKindEh Kind, int OldIndex)
{
    if (Table != FMemTable)
        return;
    ReceiveMemTableChange(Index, Kind, OldIndex);
}

void TCustomDBGridEh::ReceiveMemTableChange(int Index, TMemTableChangeKindEh Kind, int)
{
    if (Kind == TMemTableChangeKindEh::mtcChanged) {
        InvalidateRowCells(RowsAboveData() + Index);
        return;
    }
    MemTableRowsChanged(FMemTable);
}

void TCustomDBGridEh::RecomputeMemTableRowMetrics()
{
    const int above = ApplyRowsAboveDataMetrics();
    if (TCustomGridEh::ContraRowCount() != FFooterRowCount)
        ChangeContraRowCount(FFooterRowCount);
    SetRowCountKeepingCurrent(above + std::max(1, FMemTable->MemTableRecordCount()));
    if (!HandleAllocated())
        return;
    ScrollTopRowTo(TopRow(), false);
    FMemTable->SetViewRowCount((ClientHeight() - FixedRowsHeight()) / std::max(1, RowPitch()) + 1);
    FollowMemTableRecord();
}

void TCustomDBGridEh::FollowMemTableRecord()
{
    if (!HandleAllocated() || FMemTable == nullptr)
        return;
    const int index = FMemTable->MemTableCurrentIndex();
    const int row = RowsAboveData() + index;
    if (index >= 0 && row != Row() && row < RowCount()) {
        if (!FDBOptions.Contains(dgAlwaysShowEditor) && EditorMode())
            LeaveEditorMode();
        const int oldRow = Row();
        MoveCurrentCell(std::max(Col(), FixedCols()), row, false, true, true);
        InvalidateRowCells(oldRow);
        InvalidateRowCells(row);
        ReloadAllEditors();
    }
    UpdateVertScrollBar();
}
