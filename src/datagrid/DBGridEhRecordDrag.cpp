// Record dragging: records dragged by their indicator cell to another place in the dataset, in
// tree mode also to another tree level, with the drop marker showing where they would go.
#include "controls/GridsEhWindows.h"
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhCenter.h"
#include "datagrid/DBGridEhDraw.h"

#include "platform/data/DataSet.h"

#include <algorithm>

namespace {

// The bookmark of a memory table's record Index, read with the controls held still.
TBookmark MemTableRecordBookmark(TDataSet* DataSet, int Index)
{
    DataSet->DisableControls();
    const TBookmark current = DataSet->Bookmark();
    TBookmark bookmark;
    try {
        DataSet->SetRecNo(Index + 1);
        bookmark = DataSet->Bookmark();
        DataSet->SetBookmark(current);
    } catch (...) {
        DataSet->EnableControls();
        throw;
    }
    DataSet->EnableControls();
    return bookmark;
}

}  // namespace

bool TCustomDBGridEh::BeginRecordDrag(int X, int Y, bool CheckOnly)
{
    const TGridCoord cell = CellFromPoint(X, Y);
    const int index = cell.Y - RowsAboveData();
    // Grouped rows follow their group keys: moving records among them means nothing.
    if (!FDataLink->Active() || !FOptionsEh.Contains(dghRecordMoving) || GroupingInEffect() ||
        FDataLink->DataSet()->IsEmpty() || IndicatorOffset() == 0 || cell.X != 0 || index < 0 ||
        index >= DisplayRecordCount())
        return false;
    // While records may be selected only a plain press on a selected one drags.
    const bool selecting = IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRecordBookmarks);
    if (selecting && (FPress.Shift.Contains(ssShift) || FPress.Shift.Contains(ssAlt) || FPress.Shift.Contains(ssCtrl) ||
                      FSelection->SelectionType() != TDBGridEhSelectionType::gstRecordBookmarks))
        return false;
    TDataSet* data = FDataLink->DataSet();
    TBookmark bookmark;
    if (IsMemTableMode()) {
        bookmark = MemTableRecordBookmark(data, index);
    } else {
        TRowRecordScope record(this, index);
        bookmark = data->Bookmark();
    }
    int listed = 0;
    if (selecting && !FSelectedRows->FindBookmark(bookmark, listed))
        return false;
    if (CheckOnly)
        return true;
    const int level = MemTableTreeMode() ? FMemTable->TreeNodeLevel(index) : -1;
    FRecordDrag = TRecordDragEh{cell.Y, cell.Y, bookmark, level, level, 0};
    if (!MayStartRecordDrag())
        return true;
    FDBMouseMode = TDBGridMouseModeEh::dmmRecordDrag;
    InvalidateGrid();
    FRecordDrag.TargetLevel = DropTreeLevelAt(cell.Y, Point(X, Y), FRecordDrag.MarkerX);
    ShowRecordDropMarker();
    StartAutoScrollTimer(60);
    return true;
}

bool TCustomDBGridEh::PickRecordDropTarget(int X, int Y, int& TargetRow, int& TargetLevel, int& MarkerX)
{
    const int above = RowsAboveData();
    const int last = above + DisplayRecordCount() - 1;
    if (last < above)
        return false;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    int row = CellFromPoint(X, Y).Y;
    if (Y < layout.Vert.FixedBoundary) {
        // Above the data: one record more comes into view at the top.
        if (IsMemTableMode())
            ScrollTopRowTo(TopRow() - 1, false);
        else if (FDataLink->ActiveRecord() >= 0)
            MoveByRecords(-FDataLink->ActiveRecord() - 1);
        row = TopRow();
    } else if (Y >= layout.Vert.GridBoundary) {
        if (IsMemTableMode())
            ScrollTopRowTo(TopRow() + 1, false);
        else
            MoveByRecords(FDataLink->RecordCount() - FDataLink->ActiveRecord());
        ComputeLayout(layout);
        row = layout.Vert.LastFullVisibleCell;
    } else if (row < above || row > last) {
        // Past the last record the drop goes after it; elsewhere the target stays.
        row = row > last || Y >= CellPixelRect(0, last).Bottom ? last : FRecordDrag.TargetRow;
    }
    TargetRow = std::clamp(row, above, last);
    TargetLevel = DropTreeLevelAt(TargetRow, Point(X, Y), MarkerX);
    return true;
}

void TCustomDBGridEh::TrackRecordDrag(int X, int Y)
{
    if (!RecordDragging())
        return;
    int row = -1;
    int level = -1;
    int markerX = 0;
    if (!PickRecordDropTarget(X, Y, row, level, markerX))
        return;
    if (row == FRecordDrag.TargetRow && level == FRecordDrag.TargetLevel) {
        ShowRecordDropMarker();
        return;
    }
    // Back on the start row at the start level nothing would move, which is always allowed.
    const bool home = row == FRecordDrag.StartRow && level == FRecordDrag.StartLevel;
    if (!home && !MoveDraggedRecords(row - RowsAboveData(), level, true))
        return;
    FRecordDrag.TargetRow = row;
    FRecordDrag.TargetLevel = level;
    FRecordDrag.MarkerX = markerX;
    ShowRecordDropMarker();
}

void TCustomDBGridEh::FinishRecordDrag(int X, int Y, bool Drop)
{
    if (!RecordDragging())
        return;
    StopAutoScrollTimer();
    HideRecordDropMarker();
    FDBMouseMode = TDBGridMouseModeEh::dmmNone;
    SetMouseCapture(false);
    InvalidateGrid();
    // A release away from the grid drops nothing; over it the records go where the marker was.
    const TRect client = ClientRect();
    if (!Drop || X < client.Left || X >= client.Right || Y < client.Top || Y >= client.Bottom)
        return;
    int origin = FRecordDrag.StartRow;
    int target = FRecordDrag.TargetRow;
    if (!MayDropRow(origin, target, Point(X, Y)))
        return;
    if (target != FRecordDrag.StartRow || FRecordDrag.TargetLevel != FRecordDrag.StartLevel)
        MoveDraggedRecords(target - RowsAboveData(), FRecordDrag.TargetLevel, false);
}

bool TCustomDBGridEh::MoveDraggedRecords(int ToRow, int TreeLevel, bool CheckOnly)
{
    if (FSelectedRows->ItemCount() > 0)
        return MoveRecords(FSelectedRows.get(), ToRow, TreeLevel, CheckOnly);
    TBMListEh dragged;
    dragged.AppendBookmark(FRecordDrag.Bookmark);
    return MoveRecords(&dragged, ToRow, TreeLevel, CheckOnly);
}

bool TCustomDBGridEh::MoveRecords(TBMListEh* Bookmarks, int ToRow, int TreeLevel, bool CheckOnly)
{
    const int recNo = RecordNoOfBufferRow(ToRow);
    if (OnMoveRecords)
        return OnMoveRecords(this, Bookmarks, recNo, TreeLevel, CheckOnly);
    return DefaultMoveRecords(Bookmarks, recNo, TreeLevel, CheckOnly);
}

bool TCustomDBGridEh::DefaultMoveRecords(TBMListEh* Bookmarks, int ToRecNo, int TreeLevel, bool CheckOnly)
{
    if (IsMemTableMode()) {
        std::vector<TBookmark> bookmarks;
        for (int i = 0; i < Bookmarks->ItemCount(); ++i)
            bookmarks.push_back(Bookmarks->BookmarkAt(i));
        return FMemTable->MoveRecords(bookmarks, ToRecNo - 1, TreeLevel, CheckOnly);
    }
    if (DataSource() == nullptr || FDataLink->DataSet() == nullptr || Center() == nullptr)
        return false;
    const TGridViewPositionEh saved = SaveViewPosition();
    int toRecNo = ToRecNo;
    const bool moved = Center()->MoveRecords(this, Bookmarks, toRecNo, TreeLevel, CheckOnly);
    if (!CheckOnly)
        RestoreViewPosition(saved);
    return moved;
}

int TCustomDBGridEh::RecordNoOfBufferRow(int Row)
{
    if (!FDataLink->Active())
        return 0;
    if (IsMemTableMode())
        return Row + 1;
    TRowRecordScope record(this, Row);
    return FDataLink->DataSet()->RecNo();
}

void TCustomDBGridEh::ShowRecordDropMarker()
{
    if (!HandleAllocated() || FRecordDrag.TargetRow < 0)
        return;
    const TRect row = CellPixelRect(0, FRecordDrag.TargetRow);
    // Downwards the records go under the target row, upwards over it.
    const bool below = FRecordDrag.TargetRow > FRecordDrag.StartRow ||
                       (FRecordDrag.TargetRow == FRecordDrag.StartRow && FRecordDrag.TargetLevel > FRecordDrag.StartLevel);
    const int x = std::max(FRecordDrag.MarkerX, row.Right);
    const TPoint at = ClientToScreen(Point(x, below ? row.Bottom : row.Top - 1));
    TGridMoveLineEh* marker = GridMoveLineInstance();
    marker->ShowMarker(at, std::max(0, ClientWidth() - x), false);
}

void TCustomDBGridEh::HideRecordDropMarker()
{
    if (TGridMoveLineEh* marker = ExistingGridMoveLine())
        marker->Hide();
}
