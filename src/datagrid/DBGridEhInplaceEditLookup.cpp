// The data grid's cell editor in a lookup cell: the column's data list as its drop-down, what
// accepting a row writes, and type-ahead that finds the typed prefix among the list's records.
#include "datagrid/DBGridEhInplaceEdit.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhHelpers.h"
#include "datagrid/DBLookupGridsEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

#include <algorithm>

void TDBGridInplaceEdit::SetDataList(TPopupDataGridEh* Value)
{
    if (Value == FDataList)
        return;
    if (FDataList != nullptr) {
        FDataList->OnCloseUp = nullptr;
        FDataList->RemoveFreeNotification(this);
    }
    FDataList = Value;
    if (FDataList == nullptr)
        return;
    FDataList->FreeNotification(this);
    FDataList->OnCloseUp = [this](TObject*, bool Accept) { CloseActiveList(Accept); };
}

void TDBGridInplaceEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    TInplaceEdit::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || AComponent != FDataList)
        return;
    // The column took its list along: the cell edits as plain text until it is loaded again.
    if (FActiveList == FDataList) {
        FActiveList = nullptr;
        FListVisible = false;
    }
    FDataList = nullptr;
    FEditStyle = TCellButtonKindEh::cbkNone;
}

bool TDBGridInplaceEdit::DropDownDataList()
{
    TColumnEh* column = FocusedColumn();
    const TField* field = column->Field();
    if (column->LookupListDataSet() == nullptr || field == nullptr || field->DataSet() == nullptr)
        return false;
    FDataList->SetColor(Color());
    FDataList->SetFont(Font());
    SizeDataList();
    const Variant chosen = OwnerGrid()->EditedKeyValue();
    FDataList->SetKeyValue(VarIsEmpty(chosen) ? FieldValuesOf(*field->DataSet(), field->KeyFields()) : chosen);
    const TPoint origin = ClientToScreen(Point(0, 0));
    FDataList->DropDownUnder(Rect(origin.X, origin.Y, origin.X + Width(), origin.Y + Height()), TDropDownAlign::daLeft);
    FDataList->SetResized(false);
    return true;
}

// As many rows as the column asks for, fewer for a shorter list; as wide as the column asks for
// (-1: the list's columns), never narrower than the cell.
void TDBGridInplaceEdit::SizeDataList()
{
    const TColumnEh* column = FocusedColumn();
    const TDataSet* list = column->LookupListDataSet();
    const int rows = static_cast<int>(column->DropDownRows());
    const int count = list->Active() && list->IsSequenced() ? list->RecordCount() : 0;
    FDataList->FitHeightToRows(count > 0 && count < rows ? count : rows);
    if (column->DropDownWidth() == -1)
        FDataList->SetClientWidth(FDataList->ColumnsTotalWidth());
    else
        FDataList->SetWidth(column->DropDownWidth() > 0 ? column->DropDownWidth() : Width());
    FDataList->SetWidth(std::max(FDataList->Width(), Width()));
    FDataList->SizeGrip()->ShowGrip(column->DropDownSizing());
}

// The size the user gave the list by its grip is the column's from now on.
void TDBGridInplaceEdit::RememberDataListSize()
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr || !FDataList->Resized())
        return;
    column->SetDropDownRows(static_cast<unsigned>(FDataList->Rows()));
    column->SetDropDownWidth(FDataList->Width());
}

void TDBGridInplaceEdit::AcceptDataList()
{
    TColumnEh* column = FocusedColumn();
    TCustomDBGridEh* grid = OwnerGrid();
    const TDataSet* list = column != nullptr ? column->LookupListDataSet() : nullptr;
    // A list closed while it showed offers nothing to choose.
    if (list == nullptr || !list->Active()) {
        ShowEditedText(FTextBeforeDropDown);
        return;
    }
    try {
        if (!grid->TryBeginCellEdit() || !column->CanEditCell(true)) {
            ShowEditedText(FTextBeforeDropDown);
            return;
        }
        grid->SetEditedKeyValue(FDataList->KeyValue());
        ShowEditedText(FDataList->DisplayText());
    } catch (...) {
        ShowAcceptFailure();
        throw;
    }
    if (Focused())
        SelectAll();
}

void TDBGridInplaceEdit::ShowAcceptFailure()
{
    FAcceptFailureText = FocusedColumn()->ComputeEditorText() + u' ';
    SetText(FAcceptFailureText);
}

String TDBGridInplaceEdit::CellText() const
{
    const String text = Text();
    return !FAcceptFailureText.isEmpty() && text == FAcceptFailureText ? text.chopped(1) : text;
}

// The user edits the field's text, not the blank after it.
void TDBGridInplaceEdit::DropAcceptFailureBlank()
{
    if (FAcceptFailureText.isEmpty())
        return;
    const bool shown = Text() == FAcceptFailureText;
    FAcceptFailureText.clear();
    if (!shown)
        return;
    const int start = SelStart();
    const int length = SelLength();
    const String text = Text().chopped(1);
    SetText(text);
    const int end = std::min(start + length, static_cast<int>(text.size()));
    SetSelStart(std::min(start, end));
    SetSelLength(end - std::min(start, end));
}

bool TDBGridInplaceEdit::CompleteLookupText(const String& Prefix)
{
    TColumnEh* column = FocusedColumn();
    const TField* field = column->Field();
    TDataSet* list = column->LookupListDataSet();
    if (field == nullptr || list == nullptr || !list->Active())
        return false;
    const String result = field->LookupResultField();
    if (!list->Locate(result, Variant(Prefix), TLocateOption::loCaseInsensitive | TLocateOption::loPartialKey))
        return false;
    // Read before the edit starts: the lookup field recalculating moves the list's cursor.
    const String text = list->FieldByName(result)->Text();
    const Variant key = FieldValuesOf(*list, field->LookupKeyFields());
    TCustomDBGridEh* grid = OwnerGrid();
    if (!grid->TryBeginCellEdit())
        return true;
    grid->SetEditedKeyValue(key);
    ShowEditedText(text);
    SetSelStart(static_cast<int>(Prefix.size()));
    SetSelLength(static_cast<int>(text.size() - Prefix.size()));
    if (FListVisible && FActiveList == FDataList)
        FDataList->SetKeyValue(grid->EditedKeyValue());
    return true;
}

void TDBGridInplaceEdit::TakeTextNotInList(const String& Text)
{
    TCustomDBGridEh* grid = OwnerGrid();
    if (!grid->TryBeginCellEdit())
        return;
    if (FocusedColumn()->ClassifyCellKind() == TColumnCellKindEh::cckLookupField)
        grid->SetEditedKeyValue(Variant::Null());
    ShowEditedText(Text);
    SetSelStart(static_cast<int>(Text.size()));
    if (FListVisible && FActiveList == FDataList)
        FDataList->SetKeyValue(Variant::Null());
    else if (FListVisible && FActiveList == FPickListBox)
        FPickListBox->SetItemIndex(-1);
}

void TDBGridInplaceEdit::SyncLookupKeyFromText()
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr || !column->CanEditCell(true))
        return;
    TCustomDBGridEh* grid = OwnerGrid();
    grid->SetEditedText(EditText());
    const TField* field = column->Field();
    TDataSet* list = column->LookupListDataSet();
    if (FEditStyle != TCellButtonKindEh::cbkLookupList || field == nullptr || list == nullptr || !list->Active())
        return;
    const bool found = list->Locate(field->LookupResultField(), Variant(EditText()), TLocateOption::loCaseInsensitive);
    grid->SetEditedKeyValue(found ? FieldValuesOf(*list, field->LookupKeyFields()) : Variant::Null());
}

bool TDBGridInplaceEdit::TextNotInLookupList() const
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr || !column->OnNotInList || column->Field() == nullptr)
        return false;
    TDataSet* list = column->LookupListDataSet();
    return list != nullptr && list->Active() &&
           !list->Locate(column->Field()->LookupResultField(), Variant(EditText()), TLocateOption::loCaseInsensitive);
}
