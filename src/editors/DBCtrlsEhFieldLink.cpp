// TFieldDataLinkEh: the field list, own-value mode and the reads and writes of one control.
#include "editors/DBCtrlsEhFieldLink.h"

#include "controls/ToolCtrlsEh.h"
#include "platform/core/Exceptions.h"
#include "platform/data/DataSet.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/Field.h"
#include "platform/data/TypedFields.h"
#include "platform/ui/Controls.h"

#include <algorithm>

String VariantToTextSafe(const Variant& Value)
{
    if (VarIsArray(Value))
        return String();
    try {
        return VarToStr(Value);
    } catch (const Exception&) {
        return String();
    }
}

bool IsSizedStringField(const TField* Field)
{
    return Field->DataType() == TFieldType::ftString || Field->DataType() == TFieldType::ftWideString;
}

TFieldDataLinkEh::TFieldDataLinkEh() = default;

TFieldDataLinkEh::~TFieldDataLinkEh()
{
    // The control goes first: nothing may call back into it while the link lets go.
    OnDataChange = nullptr;
    OnEditingChange = nullptr;
    OnUpdateData = nullptr;
    OnActiveChange = nullptr;
}

void TFieldDataLinkEh::Fire(const TNotifyEvent& Event)
{
    if (Event)
        Event(this);
}

void TFieldDataLinkEh::SetFieldName(const String& Value)
{
    if (Value == FFieldName)
        return;
    FFieldName = Value;
    RefreshOwnValueMode();
    RebuildFieldList();
}

void TFieldDataLinkEh::SetDataSource(TDataSource* Value)
{
    if (Value == DataSource())
        return;
    TDataLink::SetDataSource(Value);
    RefreshOwnValueMode();
}

void TFieldDataLinkEh::SetMultiFields(bool Value)
{
    if (Value == FMultiFields)
        return;
    FMultiFields = Value;
    RebuildFieldList();
}

bool TFieldDataLinkEh::WantsOwnValue() const { return DataSource() == nullptr && FFieldName.isEmpty(); }

void TFieldDataLinkEh::RefreshOwnValueMode()
{
    const bool wanted = WantsOwnValue();
    if (wanted == FOwnValueMode)
        return;
    FOwnValueMode = wanted;
    FOwnValue = Variant::Null();
    FEditing = false;
    LayoutChanged();
    if (FOwnValueMode)
        ReloadRecord();
}

void TFieldDataLinkEh::RebuildFieldList()
{
    std::vector<TField*> fields;
    if (Active() && !FFieldName.isEmpty()) {
        if (FMultiFields) {
            CollectFieldsByNames(&fields, DataSet(), FControl, FFieldName);
        } else {
            TField* field = DataSet()->FindField(FFieldName);
            if (field == nullptr)
                DatabaseError(DBConsts::SFieldNotFound.arg(FFieldName), FControl);
            fields.push_back(field);
        }
    }
    FFields = std::move(fields);
    EditingChanged();
    RecordChanged(nullptr);
}

bool TFieldDataLinkEh::HoldsField(const TField* Field) const
{
    return std::find(FFields.begin(), FFields.end(), Field) != FFields.end();
}

bool TFieldDataLinkEh::IsOperational() const { return FOwnValueMode || (Active() && Field() != nullptr); }

bool TFieldDataLinkEh::DataSetEditing() const
{
    const TDataSet* dataSet = DataSet();
    return dataSet != nullptr &&
           (dataSet->State() == TDataSetState::dsEdit || dataSet->State() == TDataSetState::dsInsert);
}

bool TFieldDataLinkEh::CanModifyField() const
{
    if (FOwnValueMode)
        return true;
    const TField* field = Field();
    return field != nullptr && field->CanModify();
}

bool TFieldDataLinkEh::TryEdit()
{
    if (FOwnValueMode) {
        if (!FEditing && !ReadOnly()) {
            FEditing = true;
            FModified = false;
            Fire(OnEditingChange);
        }
    } else if (CanModifyField()) {
        Edit();
    }
    return FEditing;
}

void TFieldDataLinkEh::SetEditing(bool Value)
{
    if (Value == FEditing)
        return;
    FEditing = Value;
    FModified = false;
    Fire(OnEditingChange);
}

void TFieldDataLinkEh::SetOwnValue(const Variant& Value)
{
    FOwnValue = Value;
    ReloadRecord();
}

void TFieldDataLinkEh::SetFieldText(const String& Text)
{
    if (FOwnValueMode) {
        SetOwnValue(Variant(Text));
        return;
    }
    TField* field = Field();
    if (field == nullptr)
        return;
    if (dynamic_cast<TMemoField*>(field) != nullptr)
        field->SetAsString(Text);
    else
        field->SetText(Text);
}

void TFieldDataLinkEh::PutFieldValue(const Variant& Value)
{
    if (FOwnValueMode) {
        SetOwnValue(Value);
        return;
    }
    if (FFields.size() == 1) {
        FFields.front()->SetValue(Value);
        return;
    }
    if (FFields.empty())
        return;
    if (VarIsNull(Value)) {
        for (TField* field : FFields)
            field->SetValue(Value);
        return;
    }
    // A scalar or a short array for several fields would leave some unwritten or read past
    // the array: nothing is written then.
    if (!VarIsArray(Value) || VarArrayHighBound(Value, 1) - VarArrayLowBound(Value, 1) + 1 <
                                  static_cast<int>(FFields.size()))
        return;
    const int low = VarArrayLowBound(Value, 1);
    for (std::size_t i = 0; i < FFields.size(); ++i)
        FFields[i]->SetValue(Value[low + static_cast<int>(i)]);
}

void TFieldDataLinkEh::ActiveChanged()
{
    RebuildFieldList();
    Fire(OnActiveChange);
}

void TFieldDataLinkEh::DataEvent(TDataEvent Event, std::intptr_t Info)
{
    TDataLink::DataEvent(Event, Info);
    if (Event != TDataEvent::deFieldListChange)
        return;
    if (Info != 0)
        RebuildFieldList();
    else
        FFields.clear();
}

void TFieldDataLinkEh::EditingChanged()
{
    if (FOwnValueMode)
        return;
    SetEditing(TDataLink::Editing() && CanModifyField());
}

void TFieldDataLinkEh::FocusControl(TField** Field)
{
    if (Field == nullptr || *Field == nullptr || !HoldsField(*Field))
        return;
    auto* control = dynamic_cast<TWinControl*>(FControl);
    if (control == nullptr || !control->CanFocus())
        return;
    *Field = nullptr;
    control->SetFocus();
}

void TFieldDataLinkEh::LayoutChanged() { RebuildFieldList(); }

void TFieldDataLinkEh::RecordChanged(TField* Field)
{
    if (Field != nullptr && !HoldsField(Field))
        return;
    Fire(OnDataChange);
    FModified = false;
}

void TFieldDataLinkEh::UpdateData()
{
    if (FOwnValueMode) {
        if (FModified)
            Fire(OnUpdateData);
        FEditing = false;
    } else if (FModified && Field() != nullptr) {
        Fire(OnUpdateData);
    }
    FModified = false;
}
