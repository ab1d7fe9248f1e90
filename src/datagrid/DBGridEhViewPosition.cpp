// The view position kept around a walk over every record: the current record comes back on the
// same screen row.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"

#include <algorithm>

// Going to a bookmark centres the dataset's window on that record, so the record saved is the
// one at the window's centre slot, and the current record is found again by its distance from it.
TCustomDBGridEh::TGridViewPositionEh TCustomDBGridEh::SaveViewPosition()
{
    TDataSet* data = FDataLink->DataSet();
    RestoreRowRecord();
    if (IsMemTableMode() || FDataLink->RecordCount() == 0)
        return {data->Bookmark(), 0};
    const int active = FDataLink->ActiveRecord();
    const int centre = std::min((FDataLink->BufferCount() - 1) / 2, FDataLink->RecordCount() - 1);
    FDataLink->SetActiveRecord(centre);
    TGridViewPositionEh saved{data->Bookmark(), active - centre};
    FDataLink->SetActiveRecord(active);
    return saved;
}

void TCustomDBGridEh::RestoreViewPosition(const TGridViewPositionEh& Saved)
{
    TDataSet* data = FDataLink->DataSet();
    if (!data->BookmarkValid(Saved.Bookmark))
        return;
    data->SetBookmark(Saved.Bookmark);
    if (Saved.Offset != 0)
        data->MoveBy(Saved.Offset);
}
