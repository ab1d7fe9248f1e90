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
    if (FDataGrouping->Active())
        GroupingStructureChanged();
}

int TCustomDBGridEh::MemTableRecordOfRow(int Index) const
{
    if (!GroupingInEffect())
        return Index;
    const TGroupDataTreeNodeEh* node = FDataGrouping->GroupDataTree()->ShownRowNode(Index);
    return node != nullptr && !node->IsGroup() ? node->RecNo() : -1;
}

void TCustomDBGridEh::MemTableRowsChanged(IMemTableEh* Table)
{
    if (Table != FMemTable)
        return;
    if (GroupingInEffect())
        FDataGrouping->GroupDataTree()->BuildFromRecords(FMemTable);
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
    if (GroupingInEffect()) {
        TGridGroupDataTreeEh* tree = FDataGrouping->GroupDataTree();
        switch (Kind) {
        case TMemTableChangeKindEh::mtcInserted: tree->RecordInserted(Index); break;
        case TMemTableChangeKindEh::mtcChanged: tree->RecordChanged(Index); break;
        case TMemTableChangeKindEh::mtcDeleted: tree->RecordDeleted(Index); break;
        case TMemTableChangeKindEh::mtcMoved: tree->BuildFromRecords(FMemTable); break;
        }
        FollowMemTableRecord();
        return;
    }
    // A tree's rows change with every node opened or closed: the data events lay them out.
    if (MemTableTreeMode())
        return;
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
    const int records = FMemTable->MemTableRecordCount();
    const int shown = GroupingInEffect() ? FDataGrouping->GroupDataTree()->ShownRowCount() : records;
    SetRowCountKeepingCurrent(above + std::max(1, shown));
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
    // A grouped record shows in its row, or in its nearest shown group while collapsed; a
    // current group row of the record stays current.
    int row = RowsAboveData() + index;
    if (GroupingInEffect()) {
        TGridGroupDataTreeEh* tree = FDataGrouping->GroupDataTree();
        TGroupDataTreeNodeEh* node = tree->FindDataNode(index);
        TGroupDataTreeNodeEh* current = GroupNodeOfRow(Row() - RowsAboveData());
        TBaseTreeNodeEh* shown = node != nullptr ? tree->NearestShownAncestor(node, true) : nullptr;
        if (node != nullptr && tree->IsNodeShown(node, true))
            shown = node;
        row = shown != nullptr && shown != tree->Root()
                  ? RowsAboveData() + tree->ShownRowIndexOf(static_cast<TGroupDataTreeNodeEh*>(shown))
                  : -1;
        if (current != nullptr && current->IsGroup() && node != nullptr && IsAncestorGroup(current, node))
            row = Row();
    }
    if (index >= 0 && row >= RowsAboveData() && row != Row() && row < RowCount()) {
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
