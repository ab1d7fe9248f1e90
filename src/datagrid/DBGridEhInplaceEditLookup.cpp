// The data grid's cell editor in a lookup cell: the column's data list as its drop-down, what
// accepting a row writes, and type-ahead that finds the typed prefix among the list's records.
#include "datagrid/DBGridEhInplaceEdit.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBLookupGridsEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

namespace {

// The values of the named fields of Data's current record: one value, or an array for several.
Variant FieldValuesOf(TDataSet* Data, const String& Names)
{
    const std::vector<String> names = SplitFieldNames(Names);
    if (names.size() == 1)
        return Data->FieldByName(names[0])->AsVariant();
    Variant values = VarArrayCreate(0, static_cast<int>(names.size()) - 1);
    for (std::size_t i = 0; i < names.size(); ++i)
        values[static_cast<int>(i)] = Data->FieldByName(names[i])->AsVariant();
    return values;
}

}  // namespace

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
    const Variant chosen = OwnerGrid()->EditedKeyValue();
    FDataList->SetKeyValue(VarIsEmpty(chosen) ? FieldValuesOf(field->DataSet(), field->KeyFields()) : chosen);
    const TPoint origin = ClientToScreen(Point(0, 0));
    FDataList->DropDownUnder(Rect(origin.X, origin.Y, origin.X + Width(), origin.Y + Height()), TDropDownAlign::daLeft);
    FDataList->SetResized(false);
    return true;
}

void TDBGridInplaceEdit::AcceptDataList()
{
    TColumnEh* column = FocusedColumn();
    TCustomDBGridEh* grid = OwnerGrid();
    if (column == nullptr || !grid->TryBeginCellEdit() || !column->CanEditCell(true)) {
        ShowEditedText(FTextBeforeDropDown);
        return;
    }
    grid->SetEditedKeyValue(FDataList->KeyValue());
    ShowEditedText(FDataList->DisplayText());
    if (Focused())
        SelectAll();
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
    const Variant key = FieldValuesOf(list, field->LookupKeyFields());
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
