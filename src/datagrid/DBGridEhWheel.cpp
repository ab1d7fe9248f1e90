// Scrolling by the wheel and by the vertical scroll bar: both move the current record, except
// over a memory table, where they scroll the view.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"

#include <algorithm>

bool TCustomDBGridEh::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) { return HandleMouseWheel(Shift, MousePos, 1); }

bool TCustomDBGridEh::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) { return HandleMouseWheel(Shift, MousePos, -1); }

bool TCustomDBGridEh::HandleMouseWheel(TShiftState Shift, TPoint MousePos, int Direction)
{
    const bool handled = Direction > 0 ? TCustomControl::DoMouseWheelDown(Shift, MousePos)
                                       : TCustomControl::DoMouseWheelUp(Shift, MousePos);
    if (handled || !DataLink()->Active())
        return true;
    if (!UsesMemTableScrolling()) {
        MoveByRecords(Direction);
        return true;
    }
    // Over a memory table Shift moves the record, by a page with Ctrl too; without Shift the
    // view scrolls and the record stays: a page with Ctrl, else as the bar's arrow scrolls it.
    const bool shift = Shift.Contains(ssShift);
    const bool ctrl = Shift.Contains(ssCtrl);
    if (shift) {
        MoveByRecords(ctrl ? Direction * std::max(1, FullyShownRowCount()) : Direction);
        return true;
    }
    const int code = ctrl ? (Direction > 0 ? SB_PAGEDOWN : SB_PAGEUP) : (Direction > 0 ? SB_LINEDOWN : SB_LINEUP);
    TMessage message{WM_VSCROLL, MAKEWPARAM(code, 0), 0};
    ScrollMemTableByBar(message);
    return true;
}

int TCustomDBGridEh::ThumbPosition(int Code, int Position) const
{
    if (Code != SB_THUMBTRACK && Code != SB_THUMBPOSITION)
        return Position;
    // The message carries 16 bits of the position; the bar knows all of it.
    TScrollInfo info;
    info.fMask = SIF_TRACKPOS | SIF_POS;
    if (!VertScrollBar()->QueryScrollInfo(info))
        return Position;
    const int full = Code == SB_THUMBTRACK ? info.nTrackPos : info.nPos;
    return (full & 0xFFFF) == Position ? full : Position;
}

void TCustomDBGridEh::HandleWMVScroll(TMessage& Message)
{
    if (!AcquireFocus())
        return;
    if (UsesMemTableScrolling()) {
        ScrollMemTableByBar(Message);
        return;
    }
    if (!DataLink()->Active())
        return;
    TDataSet* data = DataLink()->DataSet();
    const int code = LOWORD(Message.WParam);
    const int position = ThumbPosition(code, HIWORD(Message.WParam));
    const int page = std::max(1, FullyShownRowCount());
    switch (code) {
    case SB_LINEUP: MoveByRecords(-DataLink()->ActiveRecord() - 1); break;
    case SB_LINEDOWN: MoveByRecords(DataLink()->RecordCount() - DataLink()->ActiveRecord()); break;
    case SB_PAGEUP: MoveByRecords(-page); break;
    case SB_PAGEDOWN: MoveByRecords(page); break;
    case SB_THUMBPOSITION:
        // The release that ends a tracked drag has been followed already.
        if (FThumbTracked) {
            FThumbTracked = false;
            break;
        }
        if (!data->IsSequenced()) {
            switch (position) {
            case 0: data->First(); break;
            case 1: MoveByRecords(-page); break;
            case 3: MoveByRecords(page); break;
            case 4: data->Last(); break;
            default: break;
            }
        } else if (position >= data->RecordCount()) {
            data->Last();
        } else if (position <= 1) {
            data->First();
        } else {
            data->SetRecNo(position);
        }
        break;
    case SB_THUMBTRACK:
        if (VertScrollBar()->Tracking() && data->IsSequenced()) {
            MoveByRecords(position - data->RecNo());
            FThumbTracked = true;
        }
        break;
    case SB_TOP: data->First(); break;
    case SB_BOTTOM: data->Last(); break;
    default: break;
    }
}

void TCustomDBGridEh::ScrollMemTableByBar(TMessage& Message)
{
    const int code = LOWORD(Message.WParam);
    const int position = ThumbPosition(code, HIWORD(Message.WParam));
    if (!IsVertPixelScroll()) {
        ScrollRowsByBarAction(code, position);
        return;
    }
    // The thumb moves the view while dragged when the bar tracks.
    if (code == SB_THUMBTRACK && VertScrollBar()->Tracking())
        Message.WParam = MAKEWPARAM(SB_THUMBPOSITION, std::max(0, position));
    TCustomGridEh::Dispatch(Message);
}
