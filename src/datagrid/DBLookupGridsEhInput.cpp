// The lookup grid's input: keys that move the list and choose, the type-ahead search, presses
// and drags that choose a row, auto-scroll past the edges and the wheel.
#include "datagrid/DBLookupGridsEh.h"

#include "controls/ToolCtrlsEhUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/PlatformMetrics.h"

#include <algorithm>

namespace {

// Typed characters join the search text while they come within this pause of each other, up to
// this many; the clock is one for every lookup grid.
constexpr std::uint32_t SearchKeyTimeout = 2000;
constexpr int SearchTextLimit = 32;
std::uint32_t LastSearchKeyTick = 0;

bool IsListMoveKey(WORD Key)
{
    switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: return true;
    default: return false;
    }
}

}  // namespace

// --- Keys -------------------------------------------------------------------------------------------

void TDBLookupGridEh::KeyDown(WORD& Key, TShiftState Shift)
{
    const bool sideways = Key == VK_LEFT || Key == VK_RIGHT;
    const bool horzBarShown = ScrollBars() == TScrollStyle::ssHorizontal || ScrollBars() == TScrollStyle::ssBoth;
    if (CanModifyKey() && IsListMoveKey(Key) && !(sideways && horzBarShown)) {
        MoveListByKey(Key);
        Key = 0;
        return;
    }
    TCustomDBGridEh::KeyDown(Key, Shift);
}

void TDBLookupGridEh::MoveListByKey(WORD Key)
{
    TDataSet* list = ListDataSet();
    FSearchText.clear();
    const int page = std::max(1, FullyShownDataRows());
    int distance = 0;
    switch (Key) {
    case VK_PRIOR: distance = -page; break;
    case VK_NEXT: distance = page; break;
    case VK_LEFT:
    case VK_UP: distance = -1; break;
    case VK_RIGHT:
    case VK_DOWN: distance = 1; break;
    default: break;
    }
    if (distance < 0 && SpecRowShown() && (FSpecRowSelected || list->RecNo() <= 1)) {
        SelectSpecRow();
        list->First();
        return;
    }
    if ((distance > 0 && FSpecRowSelected) || Key == VK_HOME) {
        list->First();
        SelectCurrentRecord();
        return;
    }
    if (Key == VK_END) {
        list->Last();
        SelectCurrentRecord();
        return;
    }
    // The move starts from the key's record. A key outside the buffer first brings the list to
    // it; a key the list does not hold leaves the list on its first record, which the key chooses.
    int keyRow = KeyBufferRow();
    if (keyRow < 0) {
        KeyValueChanged();
        keyRow = KeyBufferRow();
        if (keyRow < 0)
            distance = 0;
    }
    if (keyRow >= 0)
        ListDataLink()->MoveBy(keyRow - ListDataLink()->ActiveRecord());
    const int moved = list->MoveBy(distance);
    if (moved == 0 && distance < 0 && SpecRowShown() && !FSpecRowSelected)
        SelectSpecRow();
    else
        SelectCurrentRecord();
}

void TDBLookupGridEh::KeyPress(Char& Key)
{
    ProcessSearchKey(Key);
    // Typed characters are the search's, not an editor's.
    if (Key.unicode() >= 32)
        Key = Char();
    else
        TCustomDBGridEh::KeyPress(Key);
}

void TDBLookupGridEh::ProcessSearchKey(Char Key)
{
    if (FListField == nullptr)
        return;
    const TFieldKind kind = FListField->FieldKind();
    const TFieldType type = FListField->DataType();
    if ((kind != TFieldKind::fkData && kind != TFieldKind::fkInternalCalc) ||
        (type != TFieldType::ftString && type != TFieldType::ftWideString))
        return;
    if (Key == Char(VK_BACK) || Key == Char(VK_ESCAPE)) {
        FSearchText.clear();
        return;
    }
    // Every printable character searches, Chinese included: the platform delivers whole ones.
    if (Key.unicode() < 32 || !CanModifyKey())
        return;
    const std::uint32_t now = GetTickCount();
    if (now - LastSearchKeyTick > SearchKeyTimeout)
        FSearchText.clear();
    LastSearchKeyTick = now;
    if (FSearchText.size() >= SearchTextLimit)
        return;
    const String text = FSearchText + Key;
    try {
        // A text no record begins with moves nothing and keeps the key.
        if (ListDataSet()->Locate(FListField->FieldName(), text,
                                  TLocateOption::loCaseInsensitive | TLocateOption::loPartialKey)) {
            SelectKeyValue(ListRecordKey());
            FSearchText = text;
        }
    } catch (const std::exception&) {
        FSearchText = text;
    }
}

// --- Mouse ------------------------------------------------------------------------------------------

void TDBLookupGridEh::SelectRowAtPoint(int X, int Y)
{
    const int titles = TitleRowsHeight();
    if (SpecRowShown() && Y >= titles && Y < titles + FSpecRowHeight) {
        SelectSpecRow();
        return;
    }
    if (Y < titles + FSpecRowHeight || !FListActive || !ListDataLink()->Active())
        return;
    Y = std::min(Y, ClientHeight() - 1);
    const TGridCoord cell = CellFromPoint(std::clamp(X, 0, std::max(0, ClientWidth() - 1)), Y);
    const int dataRow = cell.Y - RowsAboveData();
    if (cell.Y < 0 || dataRow < 0 || dataRow >= ListDataLink()->RecordCount())
        return;
    ListDataSet()->MoveBy(dataRow - ListDataLink()->ActiveRecord());
    SelectCurrentRecord();
}

bool TDBLookupGridEh::PointOnDataOrSpecRow(int X, int Y)
{
    const int titles = TitleRowsHeight();
    if (SpecRowShown() && Y >= titles && Y < titles + FSpecRowHeight)
        return true;
    const TGridCoord cell = CellFromPoint(X, Y);
    return cell.X >= IndicatorOffset() && cell.Y >= RowsAboveData() && ListDataLink()->Active() &&
           cell.Y - RowsAboveData() < ListDataLink()->RecordCount();
}

void TDBLookupGridEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!PointOnDataOrSpecRow(X, Y)) {
        TCustomDBGridEh::MouseDown(Button, Shift, X, Y);
        return;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft)
        return;
    FSearchText.clear();
    if (!FPopup && !AcquireFocus())
        return;
    if (!CanModifyKey())
        return;
    const TGridCoord cell = CellFromPoint(X, Y);
    if (Shift.Contains(ssDouble) && cell.Y - RowsAboveData() == ListDataLink()->ActiveRecord() &&
        BufferRowHoldsKey(ListDataLink()->ActiveRecord())) {
        DblClick();
        return;
    }
    SetMouseCapture(true);
    FTracking = true;
    FTrackPoint = Point(X, Y);
    SelectRowAtPoint(X, Y);
}

void TDBLookupGridEh::MouseMove(TShiftState Shift, int X, int Y)
{
    if (!FTracking) {
        TCustomDBGridEh::MouseMove(Shift, X, Y);
        return;
    }
    TCustomControl::MouseMove(Shift, X, Y);
    FTrackPoint = Point(X, Y);
    SelectRowAtPoint(X, Y);
    PerformAutoScroll();
}

void TDBLookupGridEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!FTracking) {
        TCustomDBGridEh::MouseUp(Button, Shift, X, Y);
        return;
    }
    StopTracking();
    SelectRowAtPoint(X, Y);
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TDBLookupGridEh::StopTracking()
{
    FTracking = false;
    StopAutoScrollTimer();
    SetMouseCapture(false);
}

void TDBLookupGridEh::PerformAutoScroll()
{
    if (!FTracking) {
        TCustomDBGridEh::PerformAutoScroll();
        return;
    }
    TDataSet* list = ListDataSet();
    int distance = 0;
    if (FTrackPoint.Y < 0) {
        distance = -FTrackPoint.Y;
        if (SpecRowShown() && list->RecNo() <= 1) {
            SelectSpecRow();
        } else {
            list->MoveBy(-1);
            SelectCurrentRecord();
        }
    } else if (FTrackPoint.Y >= ClientHeight()) {
        distance = FTrackPoint.Y - ClientHeight() + 1;
        list->MoveBy(1);
        SelectCurrentRecord();
    } else {
        StopAutoScrollTimer();
        return;
    }
    StartAutoScrollTimer(std::max(200 - 15 * distance, 0));
}

bool TDBLookupGridEh::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (IsMemTableMode() || !ListDataLink()->Active())
        return TCustomDBGridEh::DoMouseWheelDown(Shift, MousePos);
    ListDataLink()->MoveBy(ListDataLink()->RecordCount() - ListDataLink()->ActiveRecord());
    return true;
}

bool TDBLookupGridEh::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (IsMemTableMode() || !ListDataLink()->Active())
        return TCustomDBGridEh::DoMouseWheelUp(Shift, MousePos);
    ListDataLink()->MoveBy(-ListDataLink()->ActiveRecord() - 1);
    return true;
}

// --- Messages ---------------------------------------------------------------------------------------

void TDBLookupGridEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        FSearchText.clear();
        Invalidate();
        break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        if (FTracking)
            StopTracking();
        break;
    default: break;
    }
    TCustomDBGridEh::Dispatch(Message);
}
