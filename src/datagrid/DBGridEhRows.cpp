// The data grid's rows: their pitch, how many records fit the client area, and the current row.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>

int TCustomDBGridEh::RowPitch() const
{
    return FDataRowHeight + (FDBOptions.Contains(dgRowLines) ? GridLineWidth() : 0);
}

// The title row with its line, the other rows above the data and the footer rows, each with the
// row pitch, and the line above the footers.
int TCustomDBGridEh::FixedRowsHeight()
{
    const int lineWidth = FDBOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
    const int above = RowsAboveData();
    const int titleRows = TitleRowsShown();
    int height = titleRows > 0 ? FComputedTitleHeight + lineWidth : 0;
    height += (above - titleRows + FFooterRowCount) * RowPitch();
    if (FFooterRowCount > 0)
        height += lineWidth;
    return height;
}

void TCustomDBGridEh::SetRowCountKeepingCurrent(int Value)
{
    if (Value == RowCount())
        return;
    if (Row() >= Value && Value > FixedRows())
        MoveCurrentCell(Col(), Value - 1, false, false, true);
    ChangeRowCount(Value);
}

int TCustomDBGridEh::ApplyRowsAboveDataMetrics()
{
    const int above = RowsAboveData();
    if (RowCount() < above + 1)
        ChangeRowCount(above + 1);
    if (FixedRows() != above)
        ChangeFixedRows(above);
    ChangeDefaultRowHeight(FDataRowHeight);
    if (TitleRowsShown() > 0)
        ChangeRowHeight(0, FComputedTitleHeight);
    return above;
}

void TCustomDBGridEh::RecomputeRowMetrics()
{
    if (IsMemTableMode()) {
        RecomputeMemTableRowMetrics();
        return;
    }
    const int above = ApplyRowsAboveDataMetrics();
    int rowCount = above + 1;
    if (FDataLink->Active() && HandleAllocated()) {
        // An open detail panel takes its height from the window's rows, so the record's row
        // and its panel stay in view; closed, the rows fill the grid again.
        const int panel = FRowDetailPanel->Visible() ? FRowDetailPanel->Height() : 0;
        FDataLink->SetBufferCount(std::max(1, (ClientHeight() - FixedRowsHeight() - panel) / std::max(1, RowPitch())));
        rowCount = std::max(rowCount, FDataLink->RecordCount() + above);
    }
    SetRowCountKeepingCurrent(rowCount);
    if (TCustomGridEh::ContraRowCount() != FFooterRowCount)
        ChangeContraRowCount(FFooterRowCount);
    if (FDataLink->Active() && HandleAllocated())
        FollowActiveRecord();
}

void TCustomDBGridEh::HandleSizeChange()
{
    // A rebuild under way sizes the rows itself when it ends.
    if (!HandleAllocated() || Loading() || BeingDestroyed() || LayoutLocked())
        return;
    if (FAutoFitColWidths && !Designing()) {
        // Fitted columns follow the client width.
        NotifyLayoutChanged();
        ReloadAllEditors();
    } else {
        RecomputeRowMetrics();
        UpdateVertScrollBar();
        ScrollCellIntoView({Col(), Row()}, true, true);
    }
    if (FRowDetailPanel->Visible())
        PlaceRowDetailPanel();
}

void TCustomDBGridEh::FollowActiveRecord()
{
    if (IsMemTableMode()) {
        FollowMemTableRecord();
        return;
    }
    if (!FDataLink->Active() || !HandleAllocated() || Loading())
        return;
    const int newRow = std::max(0, FDataLink->ActiveRecord()) + RowsAboveData();
    if (newRow != Row() && newRow < RowCount()) {
        if (!FDBOptions.Contains(dgAlwaysShowEditor) && EditorMode())
            LeaveEditorMode();
        MoveCurrentCell(std::max(Col(), FixedCols()), newRow, false, false, true);
        ReloadAllEditors();
        return;
    }
    const TColumnEh* column = FocusedColumn();
    if (EditorMode() && column != nullptr && column->Field() != nullptr && column->ComputeEditorText() != FEditText)
        ReloadAllEditors();
}

void TCustomDBGridEh::ReloadAllEditors()
{
    if (EditorMode())
        ReloadEditor();
}

void TCustomDBGridEh::RepaintScrolledRows(int Distance, int OldRow)
{
    const int dataRows = RowCount() - FixedRows();
    if (std::abs(Distance) > dataRows) {
        InvalidateGrid();
        return;
    }
    TGridLayoutEh layout;
    ComputeLayout(layout);
    ScrollDataArea(0, -Distance * RowPitch(), layout);
    // Regions invalidated before the move travel with the pixels, so what the moved pixels do not
    // show is asked for here, where it lies now: the rows brought into view, the part of a row
    // under the last whole one (it took a row's pixels, which no record stands behind), the row
    // the old current record moved to and the current row.
    const int first = Distance > 0 ? RowCount() - Distance : FixedRows();
    for (int row = first; row < first + std::abs(Distance); ++row)
        InvalidateRowCells(row);
    const TRect below = Rect(layout.Horz.NearBand, layout.Vert.DrawnEdge, layout.Horz.UsableEnd, layout.Vert.ScrollLimit);
    if (!below.IsEmpty())
        InvalidateRect(&below);
    if (OldRow - Distance >= FixedRows() && OldRow - Distance < RowCount())
        InvalidateRowCells(OldRow - Distance);
    InvalidateRowCells(Row());
    for (int i = 0; i < FColumns->Count(); ++i) {
        if (FColumns->ColumnAt(i)->HideDuplicates()) {
            InvalidateRowCells(FixedRows());
            break;
        }
    }
}

void TCustomDBGridEh::StepAnchorCell(TGridScrollDirectionsEh Directions)
{
    // Past the first or last buffered row the dataset moves instead of the anchor.
    if (FDataLink->Active() && !IsMemTableMode()) {
        if (Directions.Contains(gsdUp) && Row() <= FixedRows()) {
            MoveByRecords(-(FDataLink->ActiveRecord() + 1));
            Directions.Exclude(gsdUp);
        }
        if (Directions.Contains(gsdDown) && Row() >= RowCount() - 1) {
            MoveByRecords(FDataLink->RecordCount() - FDataLink->ActiveRecord());
            Directions.Exclude(gsdDown);
        }
    }
    if (!(Directions == TGridScrollDirectionsEh()))
        TCustomGridEh::StepAnchorCell(Directions);
}

// --- Display rows -------------------------------------------------------------------------------

void TCustomDBGridEh::SwitchToRowRecord(int Index)
{
    if (FSwitchedRow >= 0)
        RestoreRowRecord();
    if (IsMemTableMode()) {
        FSavedRecord = FMemTable->BeginInstantRead(MemTableRecordOfRow(Index));
    } else {
        if (!FDataLink->Active() || Index < 0 || Index >= FDataLink->RecordCount())
            return;
        FSavedRecord = FDataLink->ActiveRecord();
        FDataLink->SetActiveRecord(Index);
        assert(FSavedRecord >= 0 && FSavedRecord < FDataLink->BufferCount());
        assert(FDataLink->ActiveRecord() == Index);
    }
    FSwitchedRow = Index;
}

void TCustomDBGridEh::RestoreRowRecord()
{
    if (FSwitchedRow < 0)
        return;
    // The record switched away from lies in the window unless the memory table holds it.
    assert(IsMemTableMode() || !FDataLink->Active() || (FSavedRecord >= 0 && FSavedRecord < FDataLink->BufferCount()));
    if (IsMemTableMode())
        FMemTable->EndInstantRead();
    else if (FDataLink->Active())
        FDataLink->SetActiveRecord(FSavedRecord);
    FSwitchedRow = -1;
    FSavedRecord = -1;
}

int TCustomDBGridEh::DisplayRecordCount() const
{
    if (GroupingInEffect())
        return FDataGrouping->GroupDataTree()->ShownRowCount();
    if (IsMemTableMode())
        return FMemTable->MemTableRecordCount();
    return FDataLink->Active() ? FDataLink->RecordCount() : 0;
}

bool TCustomDBGridEh::IsCurrentRecordRow(int Index) const
{
    if (IsMemTableMode())
        return MemTableRecordOfRow(Index) >= 0 && MemTableRecordOfRow(Index) == FMemTable->MemTableCurrentIndex();
    return FDataLink->Active() && Index == FDataLink->ActiveRecord();
}
