// Keyboard: moving the current cell and the first shown cells by keys, Enter and typed
// characters opening the editor, the keys the grid keeps from dialog navigation, and focus.
#include "controls/GridsEh.h"

#include <algorithm>

void TCustomGridEh::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key != 0 && !GridAcceptsKey(Key, Shift))
        Key = 0;
    if (Key == 0)
        return;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const bool rowSelect = FOptions.Contains(goRowSelect);
    const int pageCols = std::max(1, layout.Horz.LastFullVisibleCell - FTopLeft.X);
    const int pageRows = std::max(1, layout.Vert.LastFullVisibleCell - FTopLeft.Y);
    TGridCoord cell = FCurrent;
    TGridCoord topLeft = FTopLeft;
    if (Shift.Contains(ssCtrl)) {
        switch (Key) {
        case VK_UP: --topLeft.Y; break;
        case VK_DOWN: ++topLeft.Y; break;
        case VK_LEFT:
            if (!rowSelect) {
                cell.X -= pageCols;
                topLeft.X -= pageCols;
            }
            break;
        case VK_RIGHT:
            if (!rowSelect) {
                cell.X += pageCols;
                topLeft.X += pageCols;
            }
            break;
        case VK_PRIOR: cell.Y = FTopLeft.Y; break;
        case VK_NEXT: cell.Y = layout.Vert.LastFullVisibleCell; break;
        case VK_HOME: cell = {FFixedCols, FFixedRows}; break;
        case VK_END: cell = {FColCount - 1, FRowCount - 1}; break;
        default: break;
        }
    } else {
        switch (Key) {
        case VK_UP: --cell.Y; break;
        case VK_DOWN: ++cell.Y; break;
        case VK_LEFT:
        case VK_RIGHT:
            if (rowSelect) {
                const int step = HorzPixelStep();
                ScrollByPixels(Key == VK_LEFT ? -step : step, 0);
                return;
            }
            cell.X += Key == VK_LEFT ? -1 : 1;
            break;
        case VK_NEXT:
            cell.Y += pageRows;
            topLeft.Y += pageRows;
            break;
        case VK_PRIOR:
            cell.Y -= pageRows;
            topLeft.Y -= pageRows;
            break;
        case VK_HOME:
            if (rowSelect)
                cell.Y = FFixedRows;
            else
                cell.X = FFixedCols;
            break;
        case VK_END:
            if (rowSelect)
                cell.Y = FRowCount - 1;
            else
                cell.X = FColCount - 1;
            break;
        case VK_TAB:
            if (!Shift.Contains(ssAlt))
                cell = TabTarget(!Shift.Contains(ssShift));
            break;
        case VK_F2:
            // As F2 in the editor: the caret at the end, so typing appends to the cell's text.
            ChangeEditorMode(true);
            if (FInplaceEdit && FEditorMode)
                FInplaceEdit->CollapseSelection();
            break;
        default: break;
        }
    }
    const int highestLeft = std::max(FFixedCols, TopLeftShowingCell(FColCount - 1, layout.Horz));
    const int highestTop = std::max(FFixedRows, TopLeftShowingCell(FRowCount - 1, layout.Vert));
    topLeft = {std::clamp(topLeft.X, FFixedCols, highestLeft), std::clamp(topLeft.Y, FFixedRows, highestTop)};
    if (topLeft != FTopLeft)
        SetTopLeftCell(topLeft.X, topLeft.Y);
    cell = {std::clamp(cell.X, FFixedCols - FFrozenFixedCols, FColCount - 1),
            std::clamp(cell.Y, FFixedRows - FFrozenFixedRows, FRowCount - 1)};
    if (cell != FCurrent)
        SelectCellAndNotify(cell.X, cell.Y, !Shift.Contains(ssShift));
}

TGridCoord TCustomGridEh::TabTarget(bool Forward) const
{
    // Walks cell by cell, wrapping at the row ends and at the grid's ends, until a column with
    // a tab stop or the current column again.
    TGridCoord cell = FCurrent;
    do {
        if (Forward) {
            if (++cell.X >= FColCount) {
                cell.X = FFixedCols;
                if (++cell.Y >= FRowCount)
                    cell.Y = FFixedRows;
            }
        } else if (--cell.X < FFixedCols) {
            cell.X = FColCount - 1;
            if (--cell.Y < FFixedRows)
                cell.Y = FRowCount - 1;
        }
    } while (!ColTabStopAt(cell.X) && cell.X != FCurrent.X);
    return cell;
}

void TCustomGridEh::KeyPress(Char& Key)
{
    TCustomControl::KeyPress(Key);
    // Enter opens and closes the editor; an always shown editor takes Enter itself.
    if (Key == Char(VK_RETURN) && !FOptions.Contains(goAlwaysShowEditor)) {
        if (FEditorMode)
            LeaveEditorMode();
        else
            EnterEditorMode();
        Key = Char();
    }
}

void TCustomGridEh::HandleChar(TMessage& Message)
{
    const auto ch = static_cast<char16_t>(Message.WParam);
    if (FOptions.Contains(goEditing) && (ch == 8 || ch >= 32)) {
        StartEditingWithChar(Char(ch));
        return;
    }
    TCustomControl::Dispatch(Message);
}

unsigned TCustomGridEh::DialogCode() const
{
    unsigned code = DLGC_WANTARROWS;
    if (FOptions.Contains(goRowSelect))
        return code;
    if (FOptions.Contains(goTabs))
        code |= DLGC_WANTTAB;
    if (FOptions.Contains(goEditing))
        code |= DLGC_WANTCHARS;
    return code;
}

void TCustomGridEh::HandleFocusMessage(TMessage& Message)
{
    TCustomControl::Dispatch(Message);
    // The editor is the grid's own child: focus moving between the two changes nothing.
    const TWinControl* other = FindControl(reinterpret_cast<HWND>(Message.WParam));
    if (other != nullptr && other->Parent() == this)
        return;
    RepaintRegionOfRange(GetSelectionRange());
    if (Message.Msg == WM_SETFOCUS) {
        SyncEditor();
        return;
    }
    CancelMouseMode();
    DismissEditor();
}
