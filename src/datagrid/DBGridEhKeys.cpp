// Keyboard: keys act on the records and columns of the dataset (moving, selecting, inserting,
// appending, deleting), Enter and Tab walk the cells, typed characters feed the incremental
// search or the editor, and leaving the grid posts or cancels the record.
#include "datagrid/DBGridEh.h"

#include "datagrid/DBGridEhImpExp.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FocusReturn.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsPrintable(char16_t Ch) { return Ch > 31 && Ch != 127; }

// The panel cell beside column Index's on one of its lines, toward the left (Direction -1) or
// the right (1): the nearest whose edge faces it; -1 when it ends its lines on that side.
int NeighbourPanelCell(const TDBGridColumnsEh* Columns, int Index, int Direction)
{
    const TRect from = Columns->ColumnAt(Index)->RowPanelRect();
    int found = -1;
    int distance = 0;
    for (int i = 0; i < Columns->Count(); ++i) {
        const TColumnEh* column = Columns->ColumnAt(i);
        const TRect cell = column->RowPanelRect();
        const bool sharesLine = cell.Top < from.Bottom && from.Top < cell.Bottom;
        const int gap = Direction > 0 ? cell.Left - from.Right : from.Left - cell.Right;
        if (i != Index && column->Visible() && sharesLine && gap >= 0 && (found < 0 || gap < distance)) {
            found = i;
            distance = gap;
        }
    }
    return found;
}

} // namespace

// --- Selection helpers --------------------------------------------------------------------------

void TCustomDBGridEh::ClearAllSelections()
{
    FRowAnchorActive = false;
    if (FSelection->SelectionType() != TDBGridEhSelectionType::gstNon)
        FSelection->ResetSelection();
}

void TCustomDBGridEh::AutoClearSelection()
{
    // A key or press clears the selection only when it does not extend it (Shift up) and the
    // grid is told to clear.
    if (FInputClearsSelection)
        ClearAllSelections();
    else
        FRowAnchorActive = false;
}

// --- Moving between records ---------------------------------------------------------------------

void TCustomDBGridEh::NavigateRecords(bool Select, int Distance, bool RowMode, bool ToEnd)
{
    TDataSet* data = DataLink()->DataSet();
    if (data == nullptr || !DataLink()->Active() || (Distance == 0 && !ToEnd))
        return;
    if (RowMode || Options().Contains(dgRowSelect)) {
        NavigateRecordRows(Select, Distance, ToEnd);
        return;
    }
    const bool rectangle = Select && IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRectangle);
    if (!Select)
        AutoClearSelection();
    if (rectangle && FSelection->SelectionType() != TDBGridEhSelectionType::gstRectangle)
        FSelection->Rect()->SelectTo(FocusedColumnIndex(), data->Bookmark(), false);
    if (!ToEnd)
        MoveByRecords(Distance);
    else if (Distance > 0)
        data->Last();
    else
        data->First();
    if (rectangle)
        FSelection->Rect()->SelectTo(FocusedColumnIndex(), data->Bookmark(), true);
}

void TCustomDBGridEh::NavigateRecordRows(bool Select, int Distance, bool ToEnd)
{
    TDataSet* data = DataLink()->DataSet();
    const bool selectRows = Select && IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRecordBookmarks);
    if (!selectRows)
        AutoClearSelection();
    TBookmarkListEh* rows = SelectedRows();
    if (selectRows && !FRowAnchorActive) {
        if (FSelection->SelectionType() != TDBGridEhSelectionType::gstRecordBookmarks)
            FSelection->ResetSelection();
        FRowAnchor = data->Bookmark();
        FRowAnchorActive = true;
        rows->SetCurrentRowSelected(true);
    }
    const int step = Distance < 0 ? -1 : 1;
    const int steps = std::abs(Distance);
    // Long moves repaint once at the end.
    const bool quiet = ToEnd || steps >= DataLink()->BufferCount();
    if (quiet)
        data->DisableControls();
    try {
        for (int i = 0; ToEnd || i < steps; ++i) {
            const TBookmark left = data->Bookmark();
            if (MoveByRecords(step) == 0)
                break;
            if (!selectRows)
                continue;
            // A step back toward the anchor gives up the row it leaves; any other step takes the
            // row it reaches.
            const int side = data->CompareBookmarks(left, FRowAnchor);
            if ((side > 0 && step < 0) || (side < 0 && step > 0)) {
                const TBookmark reached = data->Bookmark();
                data->SetBookmark(left);
                rows->SetCurrentRowSelected(false);
                data->SetBookmark(reached);
            } else {
                rows->SetCurrentRowSelected(true);
            }
        }
    } catch (...) {
        if (quiet)
            data->EnableControls();
        throw;
    }
    if (quiet)
        data->EnableControls();
}

bool TCustomDBGridEh::InsertedRecordUntouched() const
{
    const TDataSet* data = DataLink()->DataSet();
    return data->State() == TDataSetState::dsInsert && !data->Modified() && !DataLink()->Modified();
}

bool TCustomDBGridEh::AtDataEnd() const
{
    // The dataset keeps no end flag for a record being inserted: an appended one is the last
    // row of the buffer, one inserted before another is not.
    const TDataSet* data = DataLink()->DataSet();
    if (data->State() == TDataSetState::dsInsert)
        return DataLink()->ActiveRecord() == DataLink()->RecordCount() - 1;
    return data->Eof();
}

bool TCustomDBGridEh::CanAppendByKey() const
{
    const TDataSet* data = DataLink()->DataSet();
    return data->CanModify() && !ReadOnly() && Options().Contains(dgEditing) &&
           AllowedOperations().Contains(alopAppendEh);
}

void TCustomDBGridEh::RecordDownKey(TShiftState Shift)
{
    TDataSet* data = DataLink()->DataSet();
    if (InsertedRecordUntouched()) {
        if (AtDataEnd())
            return;
        data->Cancel();
    } else {
        NavigateRecords(Shift.Contains(ssShift), 1, !IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRectangle),
                        false);
    }
    if (data->State() != TDataSetState::dsInsert && AtDataEnd() && CanAppendByKey())
        data->Append();
}

void TCustomDBGridEh::RecordUpKey(TShiftState Shift)
{
    TDataSet* data = DataLink()->DataSet();
    if (InsertedRecordUntouched() && AtDataEnd()) {
        data->Cancel();
        return;
    }
    NavigateRecords(Shift.Contains(ssShift), -1, !IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRectangle), false);
}

// --- Moving between columns ---------------------------------------------------------------------

int TCustomDBGridEh::TabColumnFrom(int Index, bool Forward) const
{
    const int count = Columns()->Count();
    for (int i = Forward ? Index + 1 : Index - 1; i >= 0 && i < count; i += Forward ? 1 : -1)
        if (Columns()->ColumnAt(i)->Visible() && ColTabStopAt(DataColToGridCol(i)))
            return i;
    return -1;
}

void TCustomDBGridEh::ColumnTabKey(bool Forward)
{
    ClearAllSelections();
    int target = TabColumnFrom(FocusedColumnIndex(), Forward);
    if (target < 0) {
        if (Forward)
            RecordDownKey(TShiftState());
        else
            RecordUpKey(TShiftState());
        target = TabColumnFrom(Forward ? -1 : Columns()->Count(), Forward);
    }
    if (target >= 0)
        MoveToDataColumn(target, 0, false);
}

void TCustomDBGridEh::MoveToDataColumn(int Index, int Step, bool ExtendSelection)
{
    const int count = Columns()->Count();
    if (count == 0)
        return;
    TDataSet* data = DataLink()->DataSet();
    const bool extend = ExtendSelection && !Options().Contains(dgRowSelect) &&
                        IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRectangle) && DataLink()->Active();
    if (extend && FSelection->SelectionType() != TDBGridEhSelectionType::gstRectangle)
        FSelection->Rect()->SelectTo(FocusedColumnIndex(), data->Bookmark(), false);
    if (DataLink()->Active())
        DataLink()->UpdateRecord();
    Index = std::clamp(Index, 0, count - 1);
    if (Step != 0) {
        while (!Columns()->ColumnAt(Index)->Visible()) {
            Index += Step;
            if (Index < 0 || Index >= count || (!RowPanel()->Active() && DataColToGridCol(Index) >= ColCount()))
                return;
        }
    }
    if (Index != FocusedColumnIndex()) {
        if (FInColumnExit)
            return;
        TColumnEh* before = FocusedColumn();
        FInColumnExit = true;
        try {
            RaiseColExit();
        } catch (...) {
            FInColumnExit = false;
            throw;
        }
        FInColumnExit = false;
        // The exit event moved the focus itself: that move stands.
        if (FocusedColumn() != before)
            return;
        if (!Options().Contains(dgAlwaysShowEditor))
            ChangeEditorMode(false);
        if (RowPanel()->Active())
            SetFocusedPanelColumn(Index);
        else if (!Options().Contains(dgRowSelect))
            ChangeCol(DataColToGridCol(Index));
        if (Options().Contains(dgAlwaysShowEditor) && !IsCheckOrImageKind(Columns()->ColumnAt(Index)->ClassifyCellKind()))
            ChangeEditorMode(true);
        RaiseColEnter();
    }
    if (extend)
        FSelection->Rect()->SelectTo(FocusedColumnIndex(), data->Bookmark(), true);
    EndIncrementalSearch();
}

// --- Deleting -----------------------------------------------------------------------------------

bool TCustomDBGridEh::ConfirmRecordDelete()
{
    if (!Options().Contains(dgConfirmDelete))
        return true;
    const String text = DeletesListedRows() ? QStringLiteral("Delete all selected records?")
                                            : QStringLiteral("Delete record?");
    // The box takes the focus; the window that had it gets it back.
    const TFocusReturn focusReturn;
    return MessageDlg(text, TMsgDlgType::mtConfirmation, mbOKCancel, 0) != mrCancel;
}

bool TCustomDBGridEh::DeletesListedRows()
{
    // One listed row that is not the current record is still a listed row: asking "Delete
    // record?" while another record goes would delete what the user does not see.
    TBookmarkListEh* rows = SelectedRows();
    if (rows->ItemCount() == 0)
        return false;
    return rows->ItemCount() > 1 || !rows->IsCurrentRowSelected();
}

void TCustomDBGridEh::DeleteRecordsByKey()
{
    TDataSet* data = DataLink()->DataSet();
    if (ReadOnly() || data->IsEmpty() || !data->CanModify() || !AllowedOperations().Contains(alopDeleteEh))
        return;
    const bool listed = DeletesListedRows();
    if (!ConfirmRecordDelete())
        return;
    if (listed)
        DeleteInOneTransaction(data, [this] { SelectedRows()->DeleteListedRecords(); });
    else {
        data->Delete();
        if (SelectedRows()->ItemCount() > 0)
            SelectedRows()->RemoveAll();
    }
}

// --- Key-down -----------------------------------------------------------------------------------

void TCustomDBGridEh::KeyDown(WORD& Key, TShiftState Shift) { HandleKeyDown(Key, Shift); }

void TCustomDBGridEh::HandleKeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (Key == VK_UP && EnterFilterRowKey(Shift)) {
        Key = 0;
        return;
    }
    FInputClearsSelection = !Shift.Contains(ssShift) && OptionsEh().Contains(dghClearSelection);
    if (!Shift.Contains(ssShift))
        FRowAnchorActive = false;
    if (!DataLink()->Active() || !GridAcceptsKey(Key, Shift))
        return;
    if (HandleFilterShortCut(Key, Shift)) {
        Key = 0;
        return;
    }
    if (HandleSearchKey(Key, Shift) || HandleGroupRowKey(Key, Shift)) {
        Key = 0;
        return;
    }
    const bool handled = Shift.Contains(ssCtrl) ? HandleCtrlKey(Key, Shift) : HandlePlainKey(Key, Shift);
    if (handled)
        Key = 0;
}

bool TCustomDBGridEh::HandleSearchKey(WORD Key, TShiftState Shift)
{
    const TShortCut shortCut = ::ShortCut(Key, Shift);
    const TDBGridEhShortCuts& keys = DBGridEhShortCuts();
    const bool incSearch = OptionsEh().Contains(dghIncSearch);
    if (shortCut == keys.IncSearch && incSearch) {
        if (FSearch.Active && OptionsEh().Contains(dghDialogFind) && keys.FindDialog == keys.IncSearch) {
            EndIncrementalSearch();
            OpenFindDialog(String(), FocusedColumn());
            return true;
        }
        ExtendIncrementalSearch(String(), -1, TLocateTextDirectionEh::ltdAllEh);
        return true;
    }
    if (shortCut == keys.FindDialog && OptionsEh().Contains(dghDialogFind)) {
        OpenFindDialog(String(), FocusedColumn());
        return true;
    }
    if (!FSearch.Active)
        return false;
    if (Shift.Empty() && (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_F2)) {
        EndIncrementalSearch();
        return true;
    }
    if (Shift.Empty() && Key == VK_BACK) {
        FSearch.Text = DropLastCharacter(FSearch.Text);
        InvalidateRowCells(Row());
        RestartSearchTimer();
        return true;
    }
    // Pasting during a search extends the search text.
    if (shortCut == ::ShortCut('V', ssCtrl) || shortCut == ::ShortCut(VK_INSERT, ssShift)) {
        ExtendIncrementalSearch(Clipboard()->AsText(), FSearch.Timeout, TLocateTextDirectionEh::ltdAllEh);
        return true;
    }
    if (shortCut == keys.SearchNext || shortCut == keys.SearchPrior) {
        const auto direction = shortCut == keys.SearchNext ? TLocateTextDirectionEh::ltdDownEh
                                                           : TLocateTextDirectionEh::ltdUpEh;
        ExtendIncrementalSearch(String(), FSearch.Timeout, direction);
        return true;
    }
    return false;
}

bool TCustomDBGridEh::HandleCtrlKey(WORD Key, TShiftState Shift)
{
    const bool shift = Shift.Contains(ssShift);
    const bool multi = shift && Options().Contains(dgMultiSelect);
    TDataSet* data = DataLink()->DataSet();
    const int active = DataLink()->ActiveRecord();
    switch (Key) {
    case VK_PRIOR:
    case VK_UP:
        if (!shift)
            AutoClearSelection();
        NavigateRecords(multi, -active, !IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRectangle), false);
        return true;
    case VK_NEXT:
    case VK_DOWN:
        if (Key == VK_DOWN && Shift == TShiftState(ssCtrl) && FocusRowDetailPanel())
            return true;
        if (!shift)
            AutoClearSelection();
        NavigateRecords(multi, DataLink()->RecordCount() - 1 - active,
                        !IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRectangle), false);
        return true;
    case VK_END:
    case VK_HOME:
        if (!shift)
            AutoClearSelection();
        if (multi)
            NavigateRecords(true, Key == VK_END ? 1 : -1, !IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRectangle),
                            true);
        else if (Key == VK_END)
            data->Last();
        else
            data->First();
        return true;
    case VK_LEFT: MoveToDataColumn(0, 1, false); return true;
    case VK_RIGHT: MoveToDataColumn(Columns()->Count() - 1, -1, false); return true;
    case VK_DELETE:
        // With the delete action and a selection the key deletes what is selected; else records.
        if (EditActions().Contains(geaDeleteEh) && FSelection->SelectionType() != TDBGridEhSelectionType::gstNon)
            RunEditAction(geaDeleteEh);
        else
            DeleteRecordsByKey();
        return true;
    case VK_INSERT:
    case 'C': RunEditAction(geaCopyEh); return true;
    case 'V': RunEditAction(geaPasteEh); return true;
    case 'X': RunEditAction(geaCutEh); return true;
    case 'A': RunEditAction(geaSelectAllEh); return true;
    default: return false;
    }
}

bool TCustomDBGridEh::HandlePlainKey(WORD Key, TShiftState Shift)
{
    const bool shift = Shift.Contains(ssShift);
    const bool multi = shift && Options().Contains(dgMultiSelect);
    const bool rowSelect = Options().Contains(dgRowSelect);
    TDataSet* data = DataLink()->DataSet();
    switch (Key) {
    case VK_TAB:
        if (Shift.Contains(ssAlt))
            return false;
        ColumnTabKey(!shift);
        return true;
    case VK_RETURN:
        if (!OptionsEh().Contains(dghEnterAsTab))
            return false;
        ColumnTabKey(!shift);
        return true;
    case VK_ESCAPE:
        DataLink()->Reset();
        ClearAllSelections();
        if (!Options().Contains(dgAlwaysShowEditor))
            ChangeEditorMode(false);
        Perform(CM_CANCELMODE, 0, 0);
        return true;
    case VK_PRIOR:
    case VK_NEXT: {
        const int page = Key == VK_NEXT ? VisibleDataRowCount() : -VisibleDataRowCount();
        if (multi)
            NavigateRecords(true, page, !IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRectangle), false);
        else {
            ClearAllSelections();
            MoveByRecords(page);
        }
        return true;
    }
    case VK_END:
    case VK_HOME:
        if (rowSelect || Columns()->Count() == 1) {
            NavigateRecords(multi, Key == VK_END ? 1 : -1, true, true);
            return true;
        }
        if (Key == VK_END)
            MoveToDataColumn(Columns()->Count() - 1, -1, multi);
        else
            MoveToDataColumn(0, 1, multi);
        return true;
    case VK_LEFT:
    case VK_RIGHT:
        if (rowSelect) {
            // A whole-row grid has no current column: the view scrolls.
            ScrollByPixels(Key == VK_LEFT ? -HorzPixelStep() : HorzPixelStep(), 0);
            return true;
        }
        if (!multi)
            AutoClearSelection();
        if (FRowPanel->Active() &&
            FRowPanel->NavKeysNavigationType() == TGridRowPanelNavKeysNavigationTypeEh::rpntCellToCellEh) {
            if (const int beside = NeighbourPanelCell(Columns(), FocusedColumnIndex(), Key == VK_LEFT ? -1 : 1);
                beside >= 0)
                MoveToDataColumn(beside, 0, multi);
            return true;
        }
        MoveToDataColumn(FocusedColumnIndex() + (Key == VK_LEFT ? -1 : 1), Key == VK_LEFT ? -1 : 1, multi);
        return true;
    case VK_UP: RecordUpKey(Shift); return true;
    case VK_DOWN:
        // Down from the record of an open panel goes into the panel.
        if (Shift.Empty() && FRowDetailPanel->Visible() && FocusRowDetailPanel())
            return true;
        RecordDownKey(Shift);
        return true;
    case VK_INSERT:
        if (shift) {
            RunEditAction(geaPasteEh);
            return true;
        }
        if (!data->CanModify() || ReadOnly() || !Options().Contains(dgEditing))
            return false;
        if (AllowedOperations().Contains(alopInsertEh)) {
            ClearAllSelections();
            if (GroupingInEffect())
                InsertIntoCurrentGroups();
            else
                data->Insert();
        } else if (AllowedOperations().Contains(alopAppendEh)) {
            ClearAllSelections();
            data->Append();
        }
        return true;
    case VK_F2: ChangeEditorMode(true); return true;
    case VK_DELETE:
        if (shift) {
            RunEditAction(geaCutEh);
            return true;
        }
        if (rowSelect)
            return false;
        return ClearCheckCell();
    default: return false;
    }
}

bool TCustomDBGridEh::ClearCheckCell()
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr || !IsCheckOrImageKind(column->ClassifyCellKind()) || column->Field() == nullptr)
        return false;
    TField* field = column->Field();
    if (field->Required() || !column->CanEditCell(true))
        return false;
    field->Clear();
    return true;
}

// --- Typed characters ---------------------------------------------------------------------------

bool TCustomDBGridEh::CharStartsSearch() const
{
    const TDataSet* data = DataLink()->DataSet();
    if (!DataLink()->Active() || data == nullptr)
        return false;
    const TDataSetState state = data->State();
    if (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert || state == TDataSetState::dsSetKey)
        return false;
    return FSearch.Active || (OptionsEh().Contains(dghPreferIncSearch) && !Options().Contains(dgAlwaysShowEditor) &&
                         !EditorMode());
}

void TCustomDBGridEh::KeyPress(Char& Key)
{
    if (Key == Char(VK_RETURN) && OptionsEh().Contains(dghEnterAsTab))
        Key = Char(VK_TAB);
    if (Key == Char(VK_RETURN) && !Options().Contains(dgAlwaysShowEditor) && DataLink()->Active())
        DataLink()->UpdateRecord();
    TCustomGridEh::KeyPress(Key);
    if (!IsPrintable(Key.unicode()) || !CharStartsSearch())
        return;
    // An input method types a character beyond the basic plane as two units: they search as one.
    if (Key.isHighSurrogate()) {
        FSearch.PendingHighSurrogate = Key;
        Key = Char();
        return;
    }
    String typed(Key);
    if (Key.isLowSurrogate() && !FSearch.PendingHighSurrogate.isNull())
        typed.prepend(FSearch.PendingHighSurrogate);
    FSearch.PendingHighSurrogate = Char();
    ExtendIncrementalSearch(typed, FSearch.Active ? FSearch.Timeout : DBGridEhSearchSettings().TimeoutMs,
                            TLocateTextDirectionEh::ltdAllEh);
    Key = Char();
}

bool TCustomDBGridEh::HandleCharMessage(TMessage& Message)
{
    const auto ch = static_cast<char16_t>(Message.WParam);
    // The Backspace that shortened the search text follows as a character: it must not open
    // the editor on the record found.
    if (ch == VK_BACK && FSearch.Active)
        return true;
    TColumnEh* column = FocusedColumn();
    const bool checkCell = column != nullptr && !Options().Contains(dgRowSelect) &&
                           IsCheckOrImageKind(column->ClassifyCellKind());
    if (checkCell && ch == u' ' && DataLink()->Active()) {
        if (column->CanEditCell(true))
            column->StepCellValue(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    }
    const bool searchFirst = FSearch.Active || CharStartsSearch() ||
                             (OptionsEh().Contains(dghIncSearch) && column != nullptr && !column->CanEditCell(false));
    if (IsPrintable(ch) && searchFirst && DataLink()->Active()) {
        Char key(ch);
        KeyPress(key);
        return true;
    }
    return false;
}

// --- Leaving the grid ---------------------------------------------------------------------------

void TCustomDBGridEh::DoExit()
{
    if (DataLink()->Active()) {
        try {
            if (Options().Contains(dgCancelOnExit) && InsertedRecordUntouched())
                DataLink()->DataSet()->Cancel();
            else
                DataLink()->UpdateRecord();
        } catch (...) {
            // The record stays as it is: the grid takes the focus back and the error is shown.
            PostMessage(this, CM_REFOCUS_GRID, 0, 0);
            throw;
        }
    }
    TCustomGridEh::DoExit();
}
