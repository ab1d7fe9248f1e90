#pragma once
// The field data link of every data-aware edit control: binds a control to one field (or a
// ';' list of fields) of a data source's dataset, or, with neither a source nor a field name,
// holds a value of the control's own (own-value mode).
#include "platform/core/Component.h"
#include "platform/core/Variant.h"
#include "platform/data/DataLink.h"

#include <functional>
#include <vector>

class TField;

// The text of a value for an edit: empty for a variant array or a value that does not convert.
String VariantToTextSafe(const Variant& Value);

// String and wide-string fields: those whose size limits what an edit takes.
bool IsSizedStringField(const TField* Field);

class TFieldDataLinkEh : public TDataLink {
public:
    TFieldDataLinkEh();
    ~TFieldDataLinkEh() override;

    const String& FieldName() const { return FFieldName; }
    // Refreshes the own-value mode and rebuilds the field list.
    void SetFieldName(const String& Value);
    // The source, with the own-value mode refreshed.
    void SetDataSource(TDataSource* Value);
    // The control served: named in field errors and focused for the dataset's focus requests.
    TComponent* Control() const { return FControl; }
    void SetControl(TComponent* Value) { FControl = Value; }
    // With it the field name is a ';'-separated list of fields.
    bool MultiFields() const { return FMultiFields; }
    void SetMultiFields(bool Value);
    const std::vector<TField*>& Fields() const { return FFields; }
    // The primary field; nullptr when none is resolved.
    TField* Field() const { return FFields.empty() ? nullptr : FFields.front(); }

    bool OwnValueMode() const { return FOwnValueMode; }
    const Variant& OwnValue() const { return FOwnValue; }
    // The link's own editing state: the dataset's for a field that can be modified, the
    // control's own in own-value mode.
    bool IsEditing() const { return FEditing; }
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }

    // Own-value mode, or an open dataset with a field.
    bool IsOperational() const;
    // The dataset is in edit or insert state.
    bool DataSetEditing() const;
    bool CanModifyField() const;
    // Enters the editing state when the link allows it; answers IsEditing.
    bool TryEdit();
    // Shows the record again: the data-changed callback, modification forgotten.
    void ReloadRecord() { RecordChanged(nullptr); }
    // Writes to the own value, or to the field as its edit text. Nothing without a field.
    void SetFieldText(const String& Text);
    // Writes to the own value, or to the fields: Null clears each, an array gives element i to
    // field i. Nothing without a field or with a value that does not fit the fields.
    void PutFieldValue(const Variant& Value);
    void RefreshOwnValueMode();

    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;
    TNotifyEvent OnActiveChange;

protected:
    virtual void RebuildFieldList();
    virtual bool WantsOwnValue() const;

    void ActiveChanged() override;
    void DataEvent(TDataEvent Event, std::intptr_t Info) override;
    void EditingChanged() override;
    void FocusControl(TField** Field) override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void UpdateData() override;

private:
    void Fire(const TNotifyEvent& Event);
    void SetEditing(bool Value);
    void SetOwnValue(const Variant& Value);
    bool HoldsField(const TField* Field) const;

    String FFieldName;
    TComponent* FControl = nullptr;
    bool FMultiFields = false;
    std::vector<TField*> FFields;
    bool FOwnValueMode = true;
    Variant FOwnValue = Variant::Null();
    bool FEditing = false;
    bool FModified = false;
};
