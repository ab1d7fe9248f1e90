// The column operations on the current record's cell: the texts it shows, whether it may be
// edited, how an edited text or value goes back into the field, check boxes and stepping.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhHelpers.h"

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/TypedFields.h"
#include "platform/ui/PlatformMetrics.h"

namespace {

bool IsDateTimeType(TFieldType Type)
{
    return Type == TFieldType::ftDate || Type == TFieldType::ftTime || Type == TFieldType::ftDateTime ||
           Type == TFieldType::ftTimeStamp;
}

bool IsCalendarType(TFieldType Type) { return Type != TFieldType::ftTime && IsDateTimeType(Type); }

// The numbers a check box reads as 1 / not 1; numeric stepping adds to every numeric type.
bool IsCheckboxNumberType(TFieldType Type) { return Type != TFieldType::ftWord && IsNumericFieldType(Type); }

// List[Index], empty outside the list: a PickList and a KeyList need not be of one length.
String EntryOrEmpty(const TStrings* List, int Index)
{
    return List != nullptr && Index >= 0 && Index < List->Count() ? List->Strings(Index) : String();
}

int IndexIn(const TStrings* List, const String& S) { return List != nullptr ? List->IndexOf(S) : -1; }

// The field's own text, or as much of it as there is: display code must not raise.
String SafeDisplayText(const TField* Field)
{
    try {
        return Field->DisplayText();
    } catch (const Exception&) {
        return Field->Value().AsString();
    }
}

bool DataSetEditing(const TDataSet* DataSet)
{
    return DataSet != nullptr &&
           (DataSet->State() == TDataSetState::dsEdit || DataSet->State() == TDataSetState::dsInsert);
}

}  // namespace

String FormatFieldWithDisplayFormat(const TField* Field, const String& DisplayFormat)
{
    if (Field == nullptr)
        return {};
    if (DisplayFormat.isEmpty())
        return SafeDisplayText(Field);
    try {
        if (Field->IsNull())
            return {};
        if (dynamic_cast<const TNumericField*>(Field) != nullptr)
            return FormatFloat(DisplayFormat, Field->AsFloat());
        if (IsDateTimeType(Field->DataType())) {
            String text;
            DateTimeToString(text, DisplayFormat, Field->AsDateTime());
            return text;
        }
    } catch (const Exception&) {
        // A value the format cannot take shows as the field's own text.
    }
    return SafeDisplayText(Field);
}

bool LookupFieldHasValue(const TField* Field)
{
    const TDataSet* lookup = Field->LookupDataSet();
    return lookup != nullptr && lookup->Active() && !Field->IsNull();
}

bool MatchesListItem(const String& List, const String& Value)
{
    if (List.isEmpty())
        return Value.isEmpty();
    const QStringList items = List.split(u';');
    for (const String& item : items) {
        if (item.isEmpty() ? Value.isEmpty() : SameText(item, Value))
            return true;
    }
    return false;
}

// --- Texts --------------------------------------------------------------------------------------

String TColumnEh::ComputeDisplayText() const
{
    const TField* field = Field();
    if (field == nullptr || ClassifyCellKind() == TColumnCellKindEh::cckImageList)
        return {};
    if (HasKeyList()) {
        const int i = IndexIn(FKeyList.get(), field->Text());
        const bool shown = i >= 0 && FPickList != nullptr && i < FPickList->Count();
        return EntryOrEmpty(FPickList.get(), shown ? i : FNotInKeyListIndex);
    }
    if (field->Lookup() && ShowsSpecRow(LookupFieldHasValue(field)))
        return FDropDownSpecRow->CellTextAt(0);
    return FormatFieldWithDisplayFormat(field, FDisplayFormat);
}

String TColumnEh::ComputeDataText() const
{
    const TField* field = Field();
    if (field == nullptr || ClassifyCellKind() == TColumnCellKindEh::cckImageList)
        return {};
    if (HasKeyList() || field->Lookup())
        return ComputeDisplayText();
    return field->Text();
}

String TColumnEh::ComputeEditorText() const
{
    const TCustomDBGridEh* grid = OwningGrid();
    const TField* field = Field();
    if (grid == nullptr || !grid->DataLink()->Active() || field == nullptr)
        return {};
    if (HasKeyList())
        return EntryOrEmpty(FPickList.get(), IndexIn(FKeyList.get(), field->Text()));
    if (field->Lookup() && ShowsSpecRow(KeyValueInList()))
        return FDropDownSpecRow->CellTextAt(0);
    return field->Text();
}

String TColumnEh::EffectiveEditMask() const
{
    const TCustomDBGridEh* grid = OwningGrid();
    if (grid == nullptr || !grid->DataLink()->Active())
        return {};
    if (!FEditMask.isEmpty())
        return FEditMask;
    const TField* field = Field();
    return field != nullptr && !HasKeyList() ? field->EditMask() : String();
}

// --- Editability --------------------------------------------------------------------------------

TField* TColumnEh::EditedField() const
{
    TField* field = Field();
    if (field == nullptr || !field->Lookup())
        return field;
    if (field->KeyFields().isEmpty() || field->DataSet() == nullptr)
        return nullptr;
    TField* first = nullptr;
    for (const String& name : SplitFieldNames(field->KeyFields())) {
        TField* key = field->DataSet()->FindField(name);
        if (key == nullptr || !key->CanModify())
            return nullptr;
        if (first == nullptr)
            first = key;
    }
    return first;
}

bool TColumnEh::GridAllowsEditing() const
{
    const TCustomDBGridEh* grid = OwningGrid();
    return grid == nullptr || (!grid->ReadOnly() && grid->DataLink()->Active() && !grid->DataLink()->ReadOnly());
}

bool TColumnEh::CanEditCell(bool StartEdit)
{
    if (!GridAllowsEditing() || ReadOnly())
        return false;
    const TField* field = EditedField();
    if (field == nullptr || !field->CanModify())
        return false;
    if (field->IsBlob() && !field->OnSetText)
        return false;
    if (!CellParamsAllowEditing())
        return false;
    TCustomDBGridEh* grid = OwningGrid();
    if (!StartEdit || grid == nullptr)
        return true;
    grid->DataLink()->Edit();
    return DataSetEditing(grid->DataLink()->DataSet());
}

bool TColumnEh::UsesTextEditor() const
{
    const TColumnCellKindEh kind = ClassifyCellKind();
    return kind != TColumnCellKindEh::cckImageList && kind != TColumnCellKindEh::cckCheckbox;
}

bool TColumnEh::IsValidCharFor(Char Ch) const
{
    const TField* field = Field();
    if (field == nullptr)
        return bool(OnUpdateData);
    return HasKeyList() || field->IsValidChar(Ch);
}

String TColumnEh::FilterAcceptedChars(const String& Text) const
{
    String accepted;
    accepted.reserve(Text.size());
    for (const Char ch : Text) {
        if (IsValidCharFor(ch))
            accepted += ch;
    }
    return accepted;
}

// --- Writing ------------------------------------------------------------------------------------

void TColumnEh::StoreCellValue(const String& Text, const Variant& Value, bool UseText)
{
    if (OwningGrid() == nullptr)
        return;
    String text = Text;
    Variant value = Value;
    if (OnUpdateData) {
        bool handled = false;
        OnUpdateData(this, text, value, UseText, handled);
        if (handled)
            return;
    }
    TField* field = Field();
    if (field == nullptr)
        return;
    if (UseText) {
        field->SetText(text);
        return;
    }
    if (field->Lookup() && !field->KeyFields().isEmpty() && field->DataSet() != nullptr) {
        const std::vector<String> keys = SplitFieldNames(field->KeyFields());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            TField* key = field->DataSet()->FieldByName(keys[i]);
            key->SetAsVariant(keys.size() == 1 ? value : value[VarArrayLowBound(value, 1) + int(i)]);
        }
        return;
    }
    field->SetAsVariant(value);
}

// --- Values as list indexes and check boxes -----------------------------------------------------

int TColumnEh::ValueListIndex() const
{
    const TField* field = Field();
    if (field == nullptr)
        return -1;
    int index = -1;
    if (HasKeyList())
        index = FKeyList->IndexOf(field->Text());
    else if (HasPickList())
        index = FPickList->IndexOf(field->Text());
    else if (IsNumericFieldType(field->DataType())) {
        if (field->IsNull())
            return -1;
        const double value = field->AsFloat();
        return value >= INT32_MIN && value <= INT32_MAX ? int(value) : -1;
    } else
        return -1;
    return index >= 0 ? index : FNotInKeyListIndex;
}

int TColumnEh::CurrentCheckboxState() const
{
    const TField* field = Field();
    if (field == nullptr)
        return 0;
    const TFieldType type = field->DataType();
    if (!HasKeyList() && type == TFieldType::ftBoolean)
        return field->IsNull() ? 2 : int(field->AsBoolean());
    if (!HasKeyList() && IsCheckboxNumberType(type))
        return field->IsNull() ? 2 : int(field->AsFloat() == 1.0);
    if (!HasKeyList())
        return 2;
    const String text = field->Text();
    if (MatchesListItem(FKeyList->Strings(0), text))
        return 1;
    if (FKeyList->Count() >= 2)
        return MatchesListItem(FKeyList->Strings(1), text) ? 0 : 2;
    return 2;
}

void TColumnEh::StepCheckboxState(int State)
{
    const TField* field = Field();
    if (field == nullptr)
        return;
    if (State == 2) {
        StoreCellValue(String(), Variant::Null(), false);
        return;
    }
    const bool checked = State == 1;
    if (!HasKeyList() && field->DataType() == TFieldType::ftBoolean) {
        StoreCellValue(String(), Variant(checked), false);
        return;
    }
    if (!HasKeyList() && IsCheckboxNumberType(field->DataType())) {
        StoreCellValue(String(), Variant(checked ? 1 : 0), false);
        return;
    }
    const String entry = EntryOrEmpty(FKeyList.get(), checked ? 0 : 1);
    const String text = entry.section(u';', 0, 0);
    StoreCellValue(text, Variant(text), true);
}

// --- Stepping -----------------------------------------------------------------------------------

void TColumnEh::StepCellValue(double Step)
{
    if (!CanEditCell(true))
        return;
    switch (ClassifyCellKind()) {
    case TColumnCellKindEh::cckCheckbox:
        StepCheckboxState(CurrentCheckboxState() == 1 ? 0 : 1);
        return;
    case TColumnCellKindEh::cckKeyPickList:
    case TColumnCellKindEh::cckImageList:
        // An image column without a KeyList shows its number: step that.
        if (HasKeyList())
            StepListValue(*FKeyList, Step, true);
        else
            StepNumericValue(Step);
        return;
    case TColumnCellKindEh::cckPickList:
        StepListValue(*FPickList, Step, false);
        return;
    case TColumnCellKindEh::cckLookupField:
        StepLookupValue(Step);
        return;
    default:
        StepNumericValue(Step);
    }
}

void TColumnEh::StepListValue(const TStrings& List, double Step, bool ByValue)
{
    TField* field = Field();
    const String current = field->Text();
    const int count = List.Count();
    const int d = List.IndexOf(current);
    const bool forward = Step == 1.0;
    int next;
    bool wrapped = false;
    if (forward) {
        wrapped = d < 0 || d == count - 1;
        next = wrapped ? 0 : d + 1;
    } else {
        wrapped = d <= 0;
        next = wrapped ? count - 1 : d - 1;
    }
    const String entry = List.Strings(next);
    if (ByValue)
        StoreCellValue(current, Variant(entry), false);
    else if (wrapped)
        field->SetText(entry);  // the wrap-around sets the text directly, as it always has
    else
        StoreCellValue(entry, Variant(entry), true);
}

void TColumnEh::StepNumericValue(double Step)
{
    TField* field = Field();
    if (!IsNumericFieldType(field->DataType()))
        return;
    const double base = field->IsNull() ? -Step : field->AsFloat();
    try {
        StoreCellValue(field->Text(), Variant(base + Step), false);
    } catch (const EDatabaseError&) {
        // A value out of the field's range leaves it as it was.
    }
}

// --- Lookup lists ------------------------------------------------------------------------------

TDataSet* TColumnEh::LookupListDataSet() const
{
    if (const TDataSource* source = FDropDownBox->ListSource(); source != nullptr && source->DataSet() != nullptr)
        return source->DataSet();
    return FieldLookupDataSet();
}

TDataSet* TColumnEh::FieldLookupDataSet() const
{
    const TField* field = Field();
    return field != nullptr ? field->LookupDataSet() : nullptr;
}

bool TColumnEh::KeyValueInList() const
{
    const TDataSet* list = LookupListDataSet();
    TDataSet* lookup = FieldLookupDataSet();
    const TField* field = Field();
    if (list == nullptr || !list->Active() || lookup == nullptr || field->KeyFields().isEmpty())
        return false;
    return lookup->Locate(field->LookupKeyFields(), FieldValuesOf(*field->DataSet(), field->KeyFields()), TLocateOption::loCaseInsensitive);
}

bool TColumnEh::ShowsSpecRow(bool KeyInList) const
{
    const TField* field = Field();
    if (!FDropDownSpecRow->Visible() || field->KeyFields().isEmpty() || field->DataSet() == nullptr)
        return false;
    return FieldValuesOf(*field->DataSet(), field->KeyFields()) == FDropDownSpecRow->Value() ||
           (FDropDownSpecRow->ShowIfNotInKeyList() && !KeyInList);
}

void TColumnEh::StepLookupValue(double Step)
{
    TField* field = Field();
    TDataSet* list = LookupListDataSet();
    if (list == nullptr || !list->Active())
        return;
    const String current = field->Text();
    if (EditedField()->IsNull() || !list->Locate(field->LookupKeyFields(), FieldValuesOf(*field->DataSet(), field->KeyFields()), TLocateOptions()))
        list->First();
    else if (Step != 1.0) {
        if (list->Bof())
            list->Last();
        else {
            list->Prior();
            if (list->Bof())
                list->Last();
        }
    } else if (list->Eof())
        list->First();
    else {
        list->Next();
        if (list->Eof())
            list->First();
    }
    StoreCellValue(current, FieldValuesOf(*list, field->LookupKeyFields()), false);
}

// --- Buttons ------------------------------------------------------------------------------------

TCellButtonKindEh TColumnEh::EffectiveButtonKind() const
{
    const TField* field = Field();
    const bool dateField = field != nullptr && IsCalendarType(field->DataType());
    switch (FButtonStyle) {
    case TColumnButtonStyleEh::cbsEllipsis:
        return TCellButtonKindEh::cbkEllipsis;
    case TColumnButtonStyleEh::cbsNone:
        return TCellButtonKindEh::cbkNone;
    case TColumnButtonStyleEh::cbsUpDown:
        return TCellButtonKindEh::cbkUpDown;
    case TColumnButtonStyleEh::cbsDropDown:
        return TCellButtonKindEh::cbkDropDown;
    case TColumnButtonStyleEh::cbsAltUpDown:
        return TCellButtonKindEh::cbkAltUpDown;
    case TColumnButtonStyleEh::cbsAltDropDown:
        return dateField ? TCellButtonKindEh::cbkAltCalendar : TCellButtonKindEh::cbkAltDropDown;
    case TColumnButtonStyleEh::cbsAuto:
        break;
    }
    if (field != nullptr && field->Lookup()) {
        const bool columnReadOnly = Assigned(TColumnEhAssignedValue::cavReadOnly) && FReadOnly;
        const bool editable = field->DataSet() != nullptr && field->DataSet()->Active() && EditedField() != nullptr &&
                              !columnReadOnly && OwningGrid() != nullptr && GridAllowsEditing();
        return editable ? TCellButtonKindEh::cbkLookupList : TCellButtonKindEh::cbkNone;
    }
    if (HasPickList() && !ReadOnly())
        return TCellButtonKindEh::cbkPickList;
    if (dateField && !field->ReadOnly())
        return TCellButtonKindEh::cbkCalendar;
    return TCellButtonKindEh::cbkNone;
}

int TColumnEh::CellButtonWidth(const TEditButtonEh* Button) const
{
    const TCustomDBGridEh* grid = OwningGrid();
    const bool flat = grid != nullptr && grid->Flat();
    const int flatExtra = flat && !ThemesActive() ? 1 : 0;
    const int defaultWidth = flat ? ComputeEditButtonWidth() + flatExtra : GetSystemMetrics(SM_CXVSCROLL);
    return Button != nullptr && Button->Width() != 0 ? Button->Width() + flatExtra : defaultWidth;
}

int TColumnEh::EditButtonsTotalWidth() const
{
    int width = EffectiveButtonKind() != TCellButtonKindEh::cbkNone ? CellButtonWidth(nullptr) : 0;
    for (int i = 0; i < FEditButtons->Count(); ++i) {
        const TEditButtonEh* button = FEditButtons->ItemAt(i);
        if (button->Visible())
            width += CellButtonWidth(button);
    }
    return width;
}
