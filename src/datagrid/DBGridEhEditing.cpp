// Editing a cell: storing the edited text, starting an edit, and the base grid's overrides for the editor.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhHelpers.h"
#include "datagrid/DBGridEhInplaceEdit.h"

#include "platform/data/DataSet.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/Field.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/core/ScopeExit.h"

#include <algorithm>

namespace {

// The column whose cell the editor on grid column ACol edits: in row panel mode the one grid
// column holds every panel cell, and the focused one is edited.
int EditedDataCol(const TCustomDBGridEh* Grid, int ACol)
{
    return Grid->RowPanel()->Active() ? Grid->FocusedColumnIndex() : Grid->GridColToDataCol(ACol);
}

int IndexOfText(const TStrings* List, const String& Text)
{
    for (int i = 0; List != nullptr && i < List->Count(); ++i)
        if (List->Strings(i).compare(Text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool FieldModifiable(const TField* Field)
{
    if (!Field->Lookup())
        return Field->CanModify();
    const TDataSet* data = Field->DataSet();
    if (data == nullptr || Field->KeyFields().isEmpty())
        return false;
    for (const String& name : SplitFieldNames(Field->KeyFields())) {
        const TField* key = data->FindField(name);
        if (key == nullptr || !key->CanModify())
            return false;
    }
    return true;
}

// A lookup field's key values (an array for several keys), else the field's value.
Variant PreviousCellValue(const TField* Field)
{
    if (!Field->Lookup() || Field->KeyFields().isEmpty())
        return Field->AsVariant();
    return FieldValuesOf(*Field->DataSet(), Field->KeyFields());
}

const String SNotInList = QStringLiteral("“%1”不在字段“%2”的列表中");

// Refused before anything is stored: the record keeps the value it had.
[[noreturn]] void RefuseTextNotInList(const String& Text, const TField* Field)
{
    DatabaseError(SNotInList.arg(Text, Field->DisplayName()));
}

// The column's OnNotInList for Text; true when the handler wants the lists searched again.
bool AskNotInList(TColumnEh* Column, const String& Text)
{
    bool recheck = false;
    if (Column->OnNotInList)
        Column->OnNotInList(Column, Text, recheck);
    return recheck;
}

// The lookup key of the list record whose result field reads Text (case ignored); OnNotInList
// may add that record first. A text no record reads is refused.
Variant LookupKeyOfText(TColumnEh* Column, const String& Text)
{
    const TField* field = Column->Field();
    TDataSet* list = Column->LookupListDataSet();
    const auto found = [&] {
        return list != nullptr && list->Active() &&
               list->Locate(field->LookupResultField(), Variant(Text), TLocateOption::loCaseInsensitive);
    };
    if (!found() && !(AskNotInList(Column, Text) && found()))
        RefuseTextNotInList(Text, field);
    return FieldValuesOf(*list, field->LookupKeyFields());
}

}  // namespace

// --- Storing the edited text --------------------------------------------------------------------

bool TCustomDBGridEh::CanEditCurrentRecord()
{
    if (!DataLink()->Active())
        return false;
    TDataSet* data = DataLink()->DataSet();
    if (!FAllowedOperations.Contains(alopUpdateEh) && data->State() != TDataSetState::dsInsert)
        return false;
    return !data->IsEmpty() || FAllowedOperations.Contains(alopInsertEh) || FAllowedOperations.Contains(alopAppendEh);
}

void TCustomDBGridEh::CopyPreviousRecordValue()
{
    TColumnEh* column = FocusedColumn();
    const int current = IsMemTableMode() ? FMemTable->MemTableCurrentIndex() : DataLink()->ActiveRecord();
    if (current <= 0 || !DataLink()->Active() || column == nullptr || column->Field() == nullptr ||
        !column->CanEditCell(true))
        return;
    TField* field = column->Field();
    Variant value;
    String text;
    {
        // The record above is read in place: the cursor stays on the current one.
        if (IsMemTableMode())
            FMemTable->BeginInstantRead(current - 1);
        else
            DataLink()->SetActiveRecord(current - 1);
        TScopeExit back([&] {
            if (IsMemTableMode())
                FMemTable->EndInstantRead();
            else
                DataLink()->SetActiveRecord(current);
        });
        value = PreviousCellValue(field);
        text = field->Text();
    }
    Selection()->ResetSelection();
    column->StoreCellValue(text, value, false);
    ChangeEditorMode(true);
    if (InplaceEditor() != nullptr && InplaceEditor()->Visible())
        InplaceEditor()->SelectAll();
}

void TCustomDBGridEh::StoreEditorTextInField()
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr)
        return;
    const TField* field = column->Field();
    if (field == nullptr) {
        column->StoreCellValue(FEditText, Variant(), true);
        return;
    }
    if (column->HasKeyList()) {
        if (FEditText.isEmpty()) {
            column->StoreCellValue(FEditText, Variant::Null(), false);
            return;
        }
        int index = IndexOfText(column->PickList(), FEditText);
        // A text typed past the lists is the handler's to add; one it leaves out is refused.
        if (index < 0 && column->OnNotInList) {
            if (AskNotInList(column, FEditText))
                index = IndexOfText(column->PickList(), FEditText);
            if (index < 0)
                RefuseTextNotInList(FEditText, field);
        }
        // A text the lists do not know, or whose key is missing, leaves the stored key as it is.
        if (index < 0 || index >= column->KeyList()->Count())
            return;
        column->StoreCellValue(FEditText, Variant(column->KeyList()->Strings(index)), false);
        return;
    }
    if (field->Lookup() && !field->KeyFields().isEmpty()) {
        if (!FieldModifiable(field))
            return;
        Variant key = FEditValue;
        // A text typed past the list names its record only through OnNotInList.
        if (VarIsNull(key) && !FEditText.isEmpty() && column->OnNotInList)
            key = LookupKeyOfText(column, FEditText);
        // A lookup cell whose editor chose no key keeps its key: a text alone names no record.
        if (VarIsEmpty(key))
            return;
        FDataLink->Edit();
        column->StoreCellValue(FEditText, key, false);
        return;
    }
    if (column->PickList()->Count() > 0 && !FEditText.isEmpty() && IndexOfText(column->PickList(), FEditText) < 0)
        AskNotInList(column, FEditText);
    if (FDrawMemoText && (field->DataType() == TFieldType::ftMemo || field->DataType() == TFieldType::ftOraClob)) {
        column->StoreCellValue(FEditText, Variant(FEditText), false);
        return;
    }
    column->StoreCellValue(FEditText, Variant(), true);
}

bool TCustomDBGridEh::TryBeginCellEdit()
{
    if (FReadOnly || !FDataLink->Active() || FDataLink->ReadOnly() || !FDBOptions.Contains(dgEditing))
        return false;
    const TColumnEh* column = FocusedColumn();
    if (column == nullptr || column->ReadOnly())
        return false;
    const TField* field = column->Field();
    if (field == nullptr || !FieldModifiable(field))
        return false;
    const bool memoText =
        FDrawMemoText && (field->DataType() == TFieldType::ftMemo || field->DataType() == TFieldType::ftOraClob);
    if (field->IsBlob() && !field->OnSetText && !memoText)
        return false;
    FDataLink->Edit();
    const bool editing = FDataLink->Editing();
    if (editing)
        FDataLink->MarkModified();
    return editing;
}

// --- Base-grid editor operations ----------------------------------------------------------------

bool TCustomDBGridEh::EditorAcceptsKey(Char Key)
{
    const TColumnEh* column = FocusedColumn();
    return column != nullptr && column->IsValidCharFor(Key);
}

bool TCustomDBGridEh::EditorMayModify()
{
    const TColumnEh* column = FocusedColumn();
    if (column != nullptr && column->ClassifyCellKind() == TColumnCellKindEh::cckCheckbox)
        return false;
    return TryBeginCellEdit();
}

bool TCustomDBGridEh::EditorAllowed()
{
    const TColumnEh* column = FocusedColumn();
    return TCustomGridEh::EditorAllowed() && FLayoutLock == 0 && column != nullptr && column->UsesTextEditor() &&
           !column->ReadOnly();
}

int TCustomDBGridEh::EditorMaxLength()
{
    const TField* field = FocusedColumnField();
    if (field == nullptr)
        return 0;
    const TFieldType type = field->DataType();
    return type == TFieldType::ftString || type == TFieldType::ftWideString ? field->Size() : 0;
}

String TCustomDBGridEh::GetCellEditMask(int ACol, int)
{
    const int index = EditedDataCol(this, ACol);
    return index >= 0 && index < FColumns->Count() ? FColumns->ColumnAt(index)->EffectiveEditMask() : String();
}

String TCustomDBGridEh::GetCellEditText(int ACol, int)
{
    const int index = EditedDataCol(this, ACol);
    FEditText = index >= 0 && index < FColumns->Count() ? FColumns->ColumnAt(index)->ComputeEditorText() : String();
    FEditValue = Variant();
    return FEditText;
}

void TCustomDBGridEh::PutCellEditText(int, int, const String& Text) { FEditText = Text; }

std::unique_ptr<TInplaceEdit> TCustomDBGridEh::CreateEditorObject()
{
    return std::make_unique<TDBGridInplaceEdit>(nullptr);
}

bool TCustomDBGridEh::TracksHoverAt(int, int) { return FOptionsEh.Contains(dghHotTrack); }

void TCustomDBGridEh::ColumnRelocated(int FromIndex, int ToIndex)
{
    const int from = GridColToDataCol(FromIndex);
    const int to = GridColToDataCol(ToIndex);
    if (from >= 0 && from < FColumns->Count() && to >= 0 && to < FColumns->Count())
        FColumns->ColumnAt(from)->SetIndex(to);
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

// --- Widths and heights changed in the base grid ------------------------------------------------

void TCustomDBGridEh::AfterColWidthsChange()
{
    if (FRowPanel->Active()) {
        TCustomGridEh::AfterColWidthsChange();
        FollowRowPanelColumnWidth();
        return;
    }
    if (!((FDataLink->Active() || FColumns->IsCustomized()) && TryLockLayout())) {
        TCustomGridEh::AfterColWidthsChange();
    } else {
        try {
            TCustomGridEh::AfterColWidthsChange();
            const int count = std::min(FColumns->Count(), ColCount() - FIndicatorCount);
            for (int i = 0; i < count; ++i) {
                TColumnEh* column = FColumns->ColumnAt(i);
                const int col = DataColToGridCol(i);
                if (!column->Visible())
                    continue;
                const int clamped =
                    ColumnWidthWithIndent(column, column->ClampWidth(ColumnWidthWithoutIndent(column, ColWidthAt(col))));
                if (clamped != ColWidthAt(col))
                    ChangeColWidth(col, clamped);
            }
            for (int i = 0; i < count; ++i) {
                TColumnEh* column = FColumns->ColumnAt(i);
                const int width = ColumnWidthWithoutIndent(column, ColWidthAt(DataColToGridCol(i)));
                if (!column->Visible() || width == column->Width())
                    continue;
                if (!FAutoFitColWidths || Designing())
                    column->SetWidth(width);
                else
                    RescaleStretchBases(i, column->Width(), width);
            }
        } catch (...) {
            UnlockLayoutQuietly();
            throw;
        }
        UnlockLayout();
    }
    ReloadAllEditors();
    if (OnColWidthsChanged)
        OnColWidthsChanged(this);
    UpdateHorzScrollBar();
}

void TCustomDBGridEh::RescaleStretchBases(int Index, int OldWidth, int NewWidth)
{
    TColumnEh* column = FColumns->ColumnAt(Index);
    const bool autoFit = column->AutoFitColWidth();
    const int oldBase = column->DesignWidth();
    // A column laid out with no width has no scale to rescale by.
    if (autoFit && OldWidth > 0)
        column->SetDesignWidth(MulDiv(oldBase, NewWidth, OldWidth));
    else if (!autoFit)
        column->StoreWidth(NewWidth);
    if (FOptionsEh.Contains(dghResizeWholeRightPart)) {
        int total = 0;
        for (int i = Index + 1; i < FColumns->Count(); ++i)
            if (FColumns->ColumnAt(i)->Visible() && FColumns->ColumnAt(i)->AutoFitColWidth())
                total += FColumns->ColumnAt(i)->Width();
        if (total <= 0)
            return;
        for (int i = Index + 1; i < FColumns->Count(); ++i) {
            TColumnEh* right = FColumns->ColumnAt(i);
            if (right->Visible() && right->AutoFitColWidth())
                right->SetDesignWidth(std::max(1, MulDiv(right->DesignWidth(), total + OldWidth - NewWidth, total)));
        }
        return;
    }
    if (!autoFit || OldWidth <= 0)
        return;
    for (int i = Index + 1; i < FColumns->Count(); ++i) {
        TColumnEh* next = FColumns->ColumnAt(i);
        if (next->Visible()) {
            next->SetDesignWidth(std::max(0, next->DesignWidth() + oldBase - column->DesignWidth()));
            break;
        }
    }
}

void TCustomDBGridEh::AfterRowHeightsChange()
{
    TCustomGridEh::AfterRowHeightsChange();
    if (OnGetRowHeight || FLayoutLock > 0 || FFittingRowHeight || RowCount() <= FixedRows())
        return;
    // A data row sized by the user gives every row its height.
    for (int row = FixedRows(); row < RowCount(); ++row) {
        const int height = RowHeightAt(row);
        if (height != DefaultRowHeight()) {
            SetRowLines(0);
            SetRowHeight(height);
            return;
        }
    }
}

// --- The window ---------------------------------------------------------------------------------

void TCustomDBGridEh::DefaultHandler(TMessage& Message)
{
    if (Message.Msg == WM_RBUTTONUP &&
        PopUpColumnMenu(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)))) {
        Message.Result = 1;
        return;
    }
    TCustomGridEh::DefaultHandler(Message);
}

bool TCustomDBGridEh::PopUpColumnMenu(TPoint At)
{
    const TGridCoord cell = CellFromPoint(At.X, At.Y);
    const int index = GridColToDataCol(cell.X);
    if (cell.X < 0 || index < 0 || index >= FColumns->Count())
        return false;
    TPopupMenu* menu = FColumns->ColumnAt(index)->PopupMenu();
    if (menu == nullptr)
        return false;
    menu->SetPopupComponent(this);
    const TPoint screen = ClientToScreen(At);
    menu->Popup(screen.X, screen.Y);
    return true;
}

void TCustomDBGridEh::CreateParams(TCreateParams& Params)
{
    TCustomGridEh::CreateParams(Params);
    AdjustCreateParams(Params);
    if (FVertBarWanted)
        Params.Style |= WS_VSCROLL;
}

void TCustomDBGridEh::CreateWnd()
{
    SuspendImmediateUpdate();
    try {
        TCustomGridEh::CreateWnd();
        FVertScrollInfoSet = false;
        FEditButtonWidth = Flat() ? ComputeEditButtonWidth() : GetSystemMetrics(SM_CXVSCROLL);
        FEditButtonHeight = EditButtonHeightInStrip(FDataRowHeight, FEditButtonWidth, Flat());
        if (FAutoFitColWidths) {
            NotifyLayoutChanged();
        } else if (FLayoutLock == 0 && !Loading()) {
            ApplyColumnWidths();
            RecomputeRowMetrics();
            FollowActiveRecord();
        }
    } catch (...) {
        ResumeImmediateUpdate();
        throw;
    }
    ResumeImmediateUpdate();
    UpdateVertScrollBar();
}
