// The lookup grid's construction, its bound and list fields, and the key value that joins them.
//
// In order: the bound data link; construction and removed components; the property writers
// and their checks; the bound fields (UpdateDataFields, DataRecordChanged); the list fields
// (UpdateListFields, the field map, the list link's events); the key value (ChangeKeyValue,
// LocateKey, KeyValueChanged, choosing); following the key's row.
#include "datagrid/DBLookupGridsEh.h"

#include "datagrid/DBGridEhHelpers.h"

#include "controls/ToolCtrlsEhUtils.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/core/ScopeExit.h"

#include <algorithm>

namespace {

Variant ValuesOfFields(const std::vector<TField*>& Fields)
{
    if (Fields.empty())
        return Variant::Null();
    if (Fields.size() == 1)
        return Fields.front()->Value();
    Variant values = VarArrayCreate(0, static_cast<int>(Fields.size()) - 1);
    for (std::size_t i = 0; i < Fields.size(); ++i)
        values[static_cast<int>(i)] = Fields[i]->Value();
    return values;
}

String JoinFieldNames(const std::vector<TField*>& Fields)
{
    QStringList names;
    for (const TField* field : Fields)
        names << field->FieldName();
    return names.join(u';');
}

// The dataset is the bound one or a detail of it, through any number of masters.
bool DataSetLinkedTo(const TDataSet* DataSet, const TDataSource* Source)
{
    if (Source == nullptr)
        return false;
    for (const TDataSet* data = DataSet; data != nullptr;) {
        if (data == Source->DataSet())
            return true;
        const TDataSource* master = data->MasterSource();
        data = master != nullptr ? master->DataSet() : nullptr;
    }
    return false;
}

}  // namespace

// --- The bound data link --------------------------------------------------------------------------

// A grid being freed follows its bound record no more: its list may already be let go.
void TLookupGridDataLinkEh::ActiveChanged()
{
    if (!FGrid->BeingDestroyed())
        FGrid->UpdateDataFields();
}

void TLookupGridDataLinkEh::LayoutChanged()
{
    if (!FGrid->BeingDestroyed())
        FGrid->UpdateDataFields();
}

void TLookupGridDataLinkEh::RecordChanged(TField* Field)
{
    if (!FGrid->BeingDestroyed())
        FGrid->DataRecordChanged(Field);
}

void TLookupGridDataLinkEh::FocusControl(TField** Field)
{
    if (Field == nullptr || *Field == nullptr || FGrid->FDataFields.empty() || *Field != FGrid->FDataFields.front())
        return;
    if (FGrid->CanFocus()) {
        *Field = nullptr;
        FGrid->SetFocus();
    }
}

// --- Construction ---------------------------------------------------------------------------------

TDBLookupGridEh::TDBLookupGridEh(TComponent* AOwner)
    : TCustomDBGridEh(AOwner, {&CreateColumnDefValuesObject, &CreateColumnsObject}),
      FLookupSource(std::make_unique<TDataSource>(nullptr)),
      FSpecRow(std::make_unique<TSpecRowEh>(this))
{
    SetParentColor(false);
    FSpecRow->OnChanged = [this](TObject*) { SpecRowChanged(); };
    SetOptions(dgColLines | dgRowSelect);
    SetOptionsEh(OptionsEh() | dghTraceColSizing);
    HorzScrollBar()->SetTracking(true);
    VertScrollBar()->SetTracking(true);
    SetFlat(true);
    SetDrawMemoText(true);
    SetTabStop(false);
    SetVTitleMargin(5);
}

TDBLookupGridEh::~TDBLookupGridEh()
{
    Destroying();
    FDataLink.SetDataSource(nullptr);
    // The list link leaves the owned lookup source before that source goes.
    TCustomDBGridEh::SetDataSource(nullptr);
}

std::unique_ptr<TColumnDefValuesEh> TDBLookupGridEh::CreateColumnDefValuesObject(TCustomDBGridEh* Grid)
{
    return std::make_unique<TDBLookupGridColumnDefValuesEh>(Grid);
}

std::unique_ptr<TDBGridColumnsEh> TDBLookupGridEh::CreateColumnsObject(TCustomDBGridEh* Grid)
{
    return std::make_unique<TDBGridColumnsEh>(Grid, CollectionItemClass<TDBLookupGridColumnEh>());
}

TDataSet* TDBLookupGridEh::ListDataSet() const { return ListDataLink()->DataSet(); }

void TDBLookupGridEh::Notification(TComponent* AComponent, TOperation Operation)
{
    // A list or key field freed under the grid is forgotten before the data grid rebuilds its
    // columns from the list fields. The list stays inactive until its dataset opens again or
    // its fields are named again; the key value is kept.
    auto holds = [AComponent](const std::vector<TField*>& Fields) {
        return std::find(Fields.begin(), Fields.end(), AComponent) != Fields.end();
    };
    const bool listFieldRemoved =
        Operation == TOperation::opRemove && AComponent != nullptr && (holds(FListFields) || holds(FKeyFields));
    if (listFieldRemoved) {
        FListActive = false;
        FListField = nullptr;
        FListFields.clear();
        FKeyFields.clear();
    }
    TCustomDBGridEh::Notification(AComponent, Operation);
    if (listFieldRemoved)
        ListLinkUpdated();
    else if (Operation == TOperation::opRemove && AComponent != nullptr && AComponent == DataSource())
        SetDataSource(nullptr);
}

// --- Property writers -----------------------------------------------------------------------------

void TDBLookupGridEh::CheckNotInLookupMode()
{
    if (FLookupMode)
        DatabaseError(DBConsts::SPropDefByLookup, this);
}

void TDBLookupGridEh::CheckNotCircular()
{
    if (FDataLink.Active() && ListDataLink()->Active() && DataSetLinkedTo(ListDataSet(), DataSource()))
        DatabaseError(DBConsts::SCircularDataLink, this);
}

void TDBLookupGridEh::SetDataSource(TDataSource* Value)
{
    if (Value == DataSource())
        return;
    FDataLink.SetDataSource(Value);
    if (Value != nullptr)
        Value->FreeNotification(this);
    UpdateDataFields();
}

void TDBLookupGridEh::SetDataField(const String& Value)
{
    if (Value == FDataFieldNames)
        return;
    FDataFieldNames = Value;
    UpdateDataFields();
}

void TDBLookupGridEh::SetListSource(TDataSource* Value)
{
    CheckNotInLookupMode();
    TCustomDBGridEh::SetDataSource(Value);
}

void TDBLookupGridEh::SetKeyField(const String& Value)
{
    CheckNotInLookupMode();
    if (Value == FKeyFieldNames)
        return;
    FKeyFieldNames = Value;
    UpdateListFields();
}

void TDBLookupGridEh::SetListField(const String& Value)
{
    if (Value == FListFieldNames)
        return;
    FListFieldNames = Value;
    UpdateListFields();
    NotifyLayoutChanged();
}

void TDBLookupGridEh::SetListFieldIndex(int Value)
{
    if (Value == FListFieldIndex)
        return;
    FListFieldIndex = Value;
    UpdateListFields();
}

// --- The bound fields -----------------------------------------------------------------------------

void TDBLookupGridEh::UpdateDataFields()
{
    FDataFields.clear();
    FKeyDataFields.clear();
    FKeyDataFieldNames.clear();
    TField* lookupField = nullptr;
    if (FDataLink.Active() && !FDataFieldNames.isEmpty()) {
        CheckNotCircular();
        TDataSet* bound = FDataLink.DataSet();
        CollectFieldsToArray(bound, this, FDataFieldNames, FDataFields);
        if (FDataFields.size() == 1 && FDataFields.front()->FieldKind() == TFieldKind::fkLookup) {
            lookupField = FDataFields.front();
            CollectFieldsToArray(bound, this, lookupField->KeyFields(), FKeyDataFields);
        } else {
            FKeyDataFields = FDataFields;
        }
        FKeyDataFieldNames = JoinFieldNames(FKeyDataFields);
    }
    const bool lookupMode = lookupField != nullptr;
    if (lookupMode) {
        FLookupSource->SetDataSet(lookupField->LookupDataSet());
        FKeyFieldNames = lookupField->LookupKeyFields();
        FLookupMode = true;
        TCustomDBGridEh::SetDataSource(FLookupSource.get());
    } else if (FLookupMode) {
        FLookupMode = false;
        TCustomDBGridEh::SetDataSource(nullptr);
        FKeyFieldNames.clear();
        FLookupSource->SetDataSet(nullptr);
    }
    DataRecordChanged(nullptr);
}

void TDBLookupGridEh::DataRecordChanged(TField* Field)
{
    if (Field != nullptr && std::find(FKeyDataFields.begin(), FKeyDataFields.end(), Field) == FKeyDataFields.end())
        return;
    ChangeKeyValue(FKeyDataFields.empty() ? Variant::Null() : ValuesOfFields(FKeyDataFields));
}

// --- The list fields ------------------------------------------------------------------------------

void TDBLookupGridEh::UpdateListFields()
{
    FListActive = false;
    FListField = nullptr;
    FListFields.clear();
    FKeyFields.clear();
    try {
        TDataSet* list = ListDataSet();
        if (ListDataLink()->Active() && !FKeyFieldNames.isEmpty()) {
            CheckNotCircular();
            CollectFieldsToArray(list, this, FListFieldNames, FListFields);
            if (FLookupMode) {
                TField* result = list->FieldByName(FDataFields.front()->LookupResultField());
                if (std::find(FListFields.begin(), FListFields.end(), result) == FListFields.end())
                    FListFields.insert(FListFields.begin(), result);
                FListField = result;
            } else {
                if (FListFields.empty())
                    CollectFieldsToArray(list, this, FKeyFieldNames, FListFields);
                const int index = std::clamp(FListFieldIndex, 0, static_cast<int>(FListFields.size()) - 1);
                FListField = FListFields.empty() ? nullptr : FListFields[static_cast<std::size_t>(index)];
            }
            CollectFieldsToArray(list, this, FKeyFieldNames, FKeyFields);
            for (TField* field : FListFields)
                field->FreeNotification(this);
            for (TField* field : FKeyFields)
                field->FreeNotification(this);
            FListActive = true;
        }
    } catch (...) {
        ListLinkUpdated();
        throw;
    }
    if (FListActive)
        KeyValueChanged();
    else
        ListLinkUpdated();
}

void TDBLookupGridEh::CollectDataSetFields(std::vector<TField*>& List)
{
    List.insert(List.end(), FListFields.begin(), FListFields.end());
}

void TDBLookupGridEh::MapColumnsToFields()
{
    if (Columns()->IsCustomized()) {
        TCustomDBGridEh::MapColumnsToFields();
        return;
    }
    ListDataLink()->SetSparseMap(false);
    for (const TField* field : FListFields)
        ListDataLink()->AppendFieldMapping(field->FieldName());
}

void TDBLookupGridEh::NotifyLinkActiveChanged(bool Active)
{
    if (BeingDestroyed())
        return;
    UpdateListFields();
    TCustomDBGridEh::NotifyLinkActiveChanged(Active);
    UpdateListLayout();
}

void TDBLookupGridEh::NotifyDataSetChanged()
{
    TCustomDBGridEh::NotifyDataSetChanged();
    ListLinkUpdated();
}

void TDBLookupGridEh::NotifyDataSetScrolled(int Distance)
{
    SuspendImmediateUpdate();
    try {
        TCustomDBGridEh::NotifyDataSetScrolled(Distance);
    } catch (...) {
        ResumeImmediateUpdate();
        throw;
    }
    ResumeImmediateUpdate();
    ListLinkUpdated();
}

void TDBLookupGridEh::NotifyLayoutChanged()
{
    if (TryLockLayout())
        UnlockLayout();
}

void TDBLookupGridEh::ListLinkUpdated()
{
    FHasValue = false;
    if (FListActive && ListDataLink()->Active()) {
        const TDataSet* list = ListDataSet();
        FHasValue = !(VarIsNull(FKeyValue) && list->Bof() && list->Eof());
    }
    if (HandleAllocated()) {
        UpdateVertScrollBar();
        Invalidate();
    }
}

// --- The key value --------------------------------------------------------------------------------

Variant TDBLookupGridEh::ListRecordKey() const { return ValuesOfFields(FKeyFields); }

void TDBLookupGridEh::ChangeKeyValue(const Variant& Value)
{
    // Arrays compare element by element and Null equals Null, so a Null key is set once.
    if (VariantValuesEqual(Value, FKeyValue))
        return;
    FKeyValue = Value;
    KeyValueChanged();
}

bool TDBLookupGridEh::MayLocateKey(const String&, const Variant&) { return true; }

bool TDBLookupGridEh::LocateKey()
{
    TDataSet* list = ListDataSet();
    if (VarIsNull(FKeyValue) || list == nullptr || !list->Active() || FKeyFields.empty() ||
        !MayLocateKey(FKeyFieldNames, FKeyValue))
        return false;
    try {
        const Variant key = FKeyValue;
        const bool found = list->Locate(FKeyFieldNames, key, TLocateOptions());
        if (found)
            FKeyValue = key;
        return found;
    } catch (...) {
        return false;
    }
}

void TDBLookupGridEh::KeyValueChanged()
{
    FSpecRowSelected = false;
    bool located = false;
    if (SpecRowShown()) {
        FSpecRowSelected = VariantValuesEqual(FKeyValue, FSpecRow->Value());
        if (!FSelecting && !FSpecRowSelected && FSpecRow->ShowIfNotInKeyList()) {
            located = LocateKey();
            if (located)
                ListLinkUpdated();
            else
                FSpecRowSelected = true;
        }
    }
    if (FListActive && !FSelecting) {
        if (!located)
            located = LocateKey();
        if (located || FSpecRowSelected)
            ListLinkUpdated();
        else if (ListDataSet()->Active())
            ListDataSet()->First();
    }
    // A key the list does not hold shows empty, never the text of the record the list went to.
    if (FSpecRowSelected)
        FDisplayText = FSpecRow->CellTextAt(FListFieldIndex);
    else if (FListField != nullptr && FListActive && (located || (FSelecting && VariantValuesEqual(ListRecordKey(), FKeyValue))))
        FDisplayText = FListField->DisplayText();
    else
        FDisplayText.clear();
    FollowActiveRecord();
    Invalidate();
}

bool TDBLookupGridEh::BufferRowHoldsKey(int Index)
{
    if (!FListActive || !ListDataLink()->Active() || VarIsNull(FKeyValue) || Index < 0 ||
        Index >= ListDataLink()->RecordCount())
        return false;
    const int saved = ListDataLink()->ActiveRecord();
    ListDataLink()->SetActiveRecord(Index);
    const bool holds = VariantValuesEqual(ListRecordKey(), FKeyValue);
    ListDataLink()->SetActiveRecord(saved);
    return holds;
}

int TDBLookupGridEh::KeyBufferRow()
{
    if (!ListDataLink()->Active())
        return -1;
    for (int i = 0; i < ListDataLink()->RecordCount(); ++i) {
        if (BufferRowHoldsKey(i))
            return i;
    }
    return -1;
}

bool TDBLookupGridEh::CanModifyKey()
{
    if (!FListActive || FDataLink.ReadOnly())
        return false;
    if (DataSource() == nullptr)
        return true;
    return !FKeyDataFields.empty() && AllFieldsModifiable(FKeyDataFields);
}

void TDBLookupGridEh::SelectKeyValue(const Variant& Value)
{
    if (FKeyDataFields.empty()) {
        ChangeKeyValue(Value);
    } else if (FDataLink.Edit()) {
        StoreFieldValues(FDataLink.DataSet(), FKeyDataFieldNames, Value);
    }
    FollowActiveRecord();
    Repaint();
    Click();
}

void TDBLookupGridEh::SelectCurrentRecord()
{
    if (!FListActive || !ListDataLink()->Active() || ListDataSet()->IsEmpty())
        return;
    const bool wasSelecting = FSelecting;
    FSelecting = true;
    TScopeExit restore([this, wasSelecting] { FSelecting = wasSelecting; });
    const Variant key = ListRecordKey();
    if (!VariantValuesEqual(key, FKeyValue))
        SelectKeyValue(key);
}

void TDBLookupGridEh::SelectSpecRow()
{
    {
        const bool wasSelecting = FSelecting;
    FSelecting = true;
    TScopeExit restore([this, wasSelecting] { FSelecting = wasSelecting; });
        if (!VariantValuesEqual(FSpecRow->Value(), FKeyValue))
            SelectKeyValue(FSpecRow->Value());
    }
    FSpecRowSelected = true;
    FDisplayText = FSpecRow->CellTextAt(FListFieldIndex);
    Invalidate();
}

void TDBLookupGridEh::SpecRowChanged()
{
    if (Loading())
        return;
    NotifyLayoutChanged();
    Invalidate();
}

// --- Following the key ----------------------------------------------------------------------------

void TDBLookupGridEh::FollowActiveRecord()
{
    if (InIncrementalSearch() && ListDataLink()->Active())
        EndIncrementalSearch();
    FRowFocus = false;
    if (!ListDataLink()->Active() || !HandleAllocated() || Loading())
        return;
    const int keyRow = KeyBufferRow();
    if (keyRow < 0)
        return;
    const int newRow = keyRow + RowsAboveData();
    if (newRow != Row() && newRow < RowCount()) {
        if (!Options().Contains(dgAlwaysShowEditor) && EditorMode())
            LeaveEditorMode();
        MoveCurrentCell(std::max(Col(), FixedCols()), newRow, false, false, true);
        ReloadAllEditors();
    }
    FRowFocus = true;
}

void TDBLookupGridEh::RecomputeRowMetrics()
{
    if (FInMetricsUpdate)
        return;
    {
        FInMetricsUpdate = true;
        TScopeExit done([this] { FInMetricsUpdate = false; });
        TCustomDBGridEh::RecomputeRowMetrics();
    }
    ListLinkUpdated();
}
