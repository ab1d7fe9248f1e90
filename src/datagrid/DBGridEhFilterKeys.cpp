// The filter row's keys and presses: the grid as the filter editor's holder (moving between
// filter cells, applying with Down), Up into the filter row, Ctrl+T and Ctrl+' with the copy of
// the previous record's value, and a press on a filter cell.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhFilterRow.h"

#include "platform/data/DataSet.h"
#include "platform/ui/PlatformMetrics.h"

// --- The holder side of the filter editor -------------------------------------------------------

bool TCustomDBGridEh::CanEditorModify(TCustomDBEditEh*) { return true; }

bool TCustomDBGridEh::GetLastMouseDown(TPoint& Pos, std::uint32_t& Time)
{
    Pos = FFilterPressPos;
    Time = FFilterPressTime;
    FFilterPressTime = 0;
    return false;
}

void TCustomDBGridEh::EditorWndProc(TCustomDBEditEh*, TMessage&) {}

void TCustomDBGridEh::EditorKeyUp(TCustomDBEditEh*, WORD&, TShiftState) {}

void TCustomDBGridEh::EditorKeyPress(TCustomDBEditEh* Editor, Char& Key)
{
    if (Editor != FFilterEditor)
        return;
    if (Key == Char(9))
        Key = Char();
    // Esc takes the typing back to the column's condition, so leaving keeps the filter in force.
    if (Key == Char(27) && FFilterEditor->Column() != nullptr) {
        LoadFilterEditor(FFilterEditor->Column()->Index());
        FFilterEditor->SelectAll();
        Key = Char();
    }
}

void TCustomDBGridEh::EditorKeyDown(TCustomDBEditEh* Editor, WORD& Key, TShiftState Shift)
{
    if (Editor != FFilterEditor || FFilterEditor->ListVisible())
        return;
    const bool ctrl = Shift.Contains(ssCtrl);
    const int length = static_cast<int>(FFilterEditor->Text().size());
    const int selStart = FFilterEditor->SelStart();
    const int selLength = FFilterEditor->SelLength();
    const bool noModifier = !Shift.Contains(ssShift) && !Shift.Contains(ssAlt) && !ctrl;
    switch (Key) {
    case VK_TAB:
        if (!Options().Contains(dgTabs))
            return;
        MoveFilterCell(Shift.Contains(ssShift) ? -1 : 1);
        break;
    case VK_HOME: MoveFilterCellToEnd(false); break;
    case VK_END: MoveFilterCellToEnd(true); break;
    case VK_LEFT:
        if (ctrl)
            MoveFilterCellToEnd(false);
        else if ((selStart == 0 && selLength == 0) || selLength == length)
            MoveFilterCell(-1);
        else
            return;
        break;
    case VK_RIGHT:
        if (ctrl)
            MoveFilterCellToEnd(true);
        else if (selStart == length)
            MoveFilterCell(1);
        else
            return;
        break;
    case VK_UP:
        if (!noModifier)
            return;
        break;
    case VK_DOWN:
        if ((!noModifier && Shift != TShiftState(ssCtrl)) || !DataLink()->Active())
            return;
        ApplyFilterRow();
        if (noModifier)
            MoveByRecords(-DataLink()->ActiveRecord());
        DeactivateFilterRow();
        break;
    case VK_F2:
        FFilterEditor->SetSelStart(length);
        FFilterEditor->SetSelLength(0);
        break;
    default: return;
    }
    Key = 0;
}

void TCustomDBGridEh::MoveFilterCell(int Step)
{
    const int count = Columns()->Count();
    int index = FFilterColumn + Step;
    // Only the first step wraps; the walk after it gives up past either end.
    if (index >= count)
        index = 0;
    else if (index < 0)
        index = count - 1;
    if (index == FFilterColumn)
        return;
    while (index >= 0 && index < count && !ColumnHasFilterCell(index))
        index += Step;
    if (index >= 0 && index < count)
        ActivateFilterCell(index);
}

void TCustomDBGridEh::MoveFilterCellToEnd(bool Last)
{
    const int count = Columns()->Count();
    const int step = Last ? -1 : 1;
    for (int index = Last ? count - 1 : 0; index >= 0 && index < count; index += step) {
        if (ColumnHasFilterCell(index)) {
            if (index != FFilterColumn)
                ActivateFilterCell(index);
            return;
        }
    }
}

// --- Into the filter row ------------------------------------------------------------------------

bool TCustomDBGridEh::EnterFilterRowKey(TShiftState Shift)
{
    if (!FilterRowUnderTitles() || !DataLink()->Active())
        return false;
    if (!DataLink()->DataSet()->Bof() && !Shift.Contains(ssCtrl))
        return false;
    int index = FocusedColumnIndex();
    if (Options().Contains(dgRowSelect)) {
        const int firstShown = GridColToDataCol(std::max(LeftCol(), FixedCols()));
        const bool lastShown = FFilterColumn >= firstShown && ColumnHasFilterCell(FFilterColumn) &&
                               !CellPixelRect(DataColToGridCol(FFilterColumn), 0).IsEmpty();
        index = lastShown ? FFilterColumn : firstShown;
        while (index < Columns()->Count() && !ColumnHasFilterCell(index))
            ++index;
    }
    ActivateFilterCell(index);
    return true;
}

bool TCustomDBGridEh::PressFilterCell(TMouseButton Button, int X, int Y)
{
    const TGridCoord cell = CellFromPoint(X, Y);
    const int index = GridColToDataCol(cell.X);
    const bool onFilterCell = !Designing() && IsFilterRowPoint(cell.X, cell.Y, Point(X, Y)) && ColumnHasFilterCell(index);
    if (!onFilterCell) {
        // A press elsewhere ends the filter editing.
        if (FFilterRowActive)
            DeactivateFilterRow();
        return false;
    }
    if (Button != TMouseButton::mbLeft && Button != TMouseButton::mbRight)
        return false;
    FFilterPressPos = ClientToScreen(Point(X, Y));
    FFilterPressTime = GetTickCount();
    ActivateFilterCell(index);
    if (FFilterEditor != nullptr && FFilterEditor->Visible())
        FFilterEditor->SetFocus();
    return true;
}

bool TCustomDBGridEh::HandleFilterShortCut(WORD Key, TShiftState Shift)
{
    const TShortCut shortCut = ::ShortCut(Key, Shift);
    TColumnEh* column = FocusedColumn();
    // Ctrl+T drops the title filter down and lets the key go on to the ordinary keys.
    if (shortCut == DBGridEhShortCuts().TitleFilter && column != nullptr && FSTFilter->Visible() &&
        FSTFilter->Location() == TSTFilterLocationEh::stflInTitleFilterEh && ColumnHasFilterCell(column->Index()))
        DropDownTitleFilter(column);
    if (shortCut != DBGridEhShortCuts().CopyPrevValue)
        return false;
    CopyPreviousRecordValue();
    return true;
}

// --- The sort-index list --------------------------------------------------------------------------

// The columns whose titles carry a sort index, in index order; the indexes close up to 1, 2, ...
void TCustomDBGridEh::RebuildSortIndexList() { FColumns->RebuildSortedColumns(); }
