#pragma once
// TField: one column of a dataset's current record, as the controls read and write it. A field
// converts between its stored value (a Variant of its own kind, Null for no value) and the
// text, numbers and dates the controls use. The typed fields are in TypedFields.h.
//
// Fields are components: the dataset owns the fields it creates at open and frees them at close,
// and anything holding a field asks for its free notification.
#include "platform/core/Component.h"
#include "platform/core/Currency.h"
#include "platform/core/DateTime.h"
#include "platform/core/Variant.h"
#include "platform/data/DataTypes.h"

#include <QHash>

#include <functional>
#include <vector>

class TDataSet;
class TField;

using TFieldNotifyEvent = std::function<void(TField* Sender)>;
using TFieldGetTextEvent = std::function<void(TField* Sender, String& Text, bool DisplayText)>;
using TFieldSetTextEvent = std::function<void(TField* Sender, const String& Text)>;

class TField : public TComponent {
public:
    ~TField() override;

    TDataSet* DataSet() const { return FDataSet; }
    // Adds the field to the dataset's fields (removing it from the previous one's); raises
    // EDatabaseError on an open dataset.
    void SetDataSet(TDataSet* Value);
    const String& FieldName() const { return FFieldName; }
    void SetFieldName(const String& Value);
    // 1-based position among the record source's fields; 0 for fields computed on the client.
    int FieldNo() const { return FFieldNo; }
    // Position among the dataset's fields; setting it moves the field.
    int Index() const;
    void SetIndex(int Value);
    TFieldType DataType() const { return FDataType; }
    int Size() const { return FSize; }
    void SetSize(int Value);
    TFieldKind FieldKind() const { return FFieldKind; }
    void SetFieldKind(TFieldKind Value);
    virtual bool IsBlob() const { return false; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Required() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // Writable now: not read-only, a data or lookup field of a dataset that can modify.
    bool CanModify() const;
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // The label controls show; FieldName until set.
    String DisplayLabel() const { return FDisplayLabel.isEmpty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const String& Value);
    String DisplayName() const { return DisplayLabel(); }
    // Characters controls reserve for the field; each type has its default.
    int DisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : DefaultWidth(); }
    void SetDisplayWidth(int Value);
    const String& EditMask() const { return FEditMask; }
    void SetEditMask(const String& Value) { FEditMask = Value; }

    // The value of the dataset's active record; Null without one. Setting needs the dataset in
    // edit or insert state and a field that can be modified.
    Variant Value() const;
    void SetValue(const Variant& Value);
    Variant AsVariant() const { return Value(); }
    void SetAsVariant(const Variant& Value) { SetValue(Value); }
    bool IsNull() const;
    void Clear() { SetValue(Variant::Null()); }
    // Null reads as empty text, zero, False.
    String AsString() const;
    void SetAsString(const String& Value);
    int AsInteger() const;
    void SetAsInteger(int Value) { SetValue(Variant(Value)); }
    double AsFloat() const;
    void SetAsFloat(double Value) { SetValue(Variant(Value)); }
    Currency AsCurrency() const;
    void SetAsCurrency(Currency Value) { SetValue(Variant(Value)); }
    bool AsBoolean() const;
    void SetAsBoolean(bool Value) { SetValue(Variant(Value)); }
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime Value) { SetValue(Variant::FromDateTime(Value)); }
    QByteArray AsBytes() const;

    // The edit text and the display text; OnGetText may supply both.
    String Text() const { return GetText(false); }
    // Through OnSetText when assigned, else as AsString.
    void SetText(const String& Value);
    String DisplayText() const { return GetText(true); }
    virtual bool IsValidChar(Char InputChar) const;
    // Asks the controls showing the field to take the focus.
    void FocusControl();

    // A lookup field shows LookupResultField of the LookupDataSet record whose LookupKeyFields
    // match this dataset's KeyFields (";"-separated lists).
    bool Lookup() const { return FFieldKind == TFieldKind::fkLookup; }
    const String& KeyFields() const { return FKeyFields; }
    void SetKeyFields(const String& Value) { FKeyFields = Value; }
    TDataSet* LookupDataSet() const { return FLookupDataSet; }
    void SetLookupDataSet(TDataSet* Value);
    const String& LookupKeyFields() const { return FLookupKeyFields; }
    void SetLookupKeyFields(const String& Value) { FLookupKeyFields = Value; }
    const String& LookupResultField() const { return FLookupResultField; }
    void SetLookupResultField(const String& Value) { FLookupResultField = Value; }

    TFieldNotifyEvent OnChange;
    // Called with the new value in place; raising rejects it.
    TFieldNotifyEvent OnValidate;
    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;

protected:
    TField(TComponent* AOwner, TFieldType DataType);

    void Notification(TComponent* AComponent, TOperation Operation) override;
    const char* ClassName() const override { return "TField"; }
    // A display property changed: controls re-layout (LayoutAffected) or repaint.
    void PropertyChanged(bool LayoutAffected);
    void SetDataType(TFieldType Value) { FDataType = Value; }

    // Type conversions of the typed fields. Value arguments are never Null.
    // The value a field reads as when Null.
    virtual Variant EmptyValue() const { return Variant(String()); }
    // Converts a value of another kind to the field's own; text goes through TextToValue.
    virtual Variant ToNative(const Variant& Value) const;
    // Parses text as SetAsString does; empty text is Null for all but text fields.
    virtual Variant TextToValue(const String& Text) const { return Variant(Text); }
    virtual String ValueToString(const Variant& Value) const { return Value.AsString(); }
    virtual String ValueToText(const Variant& Value, bool DisplayText) const { return ValueToString(Value); }
    virtual int DefaultWidth() const { return 10; }

private:
    friend class TDataSet;
    friend TField* CreateField(TComponent* AOwner, TFieldType DataType);
    String GetText(bool DisplayText) const;

    TDataSet* FDataSet = nullptr;
    String FFieldName;
    int FFieldNo = 0;
    TFieldType FDataType;
    int FSize = 0;
    TFieldKind FFieldKind = TFieldKind::fkData;
    bool FVisible = true;
    bool FRequired = false;
    bool FReadOnly = false;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    String FDisplayLabel;
    int FDisplayWidth = 0;
    String FEditMask;
    String FKeyFields;
    TDataSet* FLookupDataSet = nullptr;
    String FLookupKeyFields;
    String FLookupResultField;
};

// The fields of a dataset in order, with a name index.
class TFields {
public:
    int Count() const { return static_cast<int>(FList.size()); }
    TField* Fields(int Index) const { return FList.at(static_cast<std::size_t>(Index)); }
    TField* operator[](int Index) const { return Fields(Index); }
    int IndexOf(const TField* Field) const;
    // Case-insensitive; nullptr when absent.
    TField* FindField(const String& FieldName) const;
    auto begin() const { return FList.begin(); }
    auto end() const { return FList.end(); }

private:
    friend class TDataSet;
    friend class TField;
    void Add(TField* Field);
    void Remove(TField* Field);
    void Move(TField* Field, int NewIndex);
    void Reindex();

    std::vector<TField*> FList;
    QHash<String, TField*> FByName;
};

// Splits a ";"-separated field list, dropping blanks around names.
std::vector<String> SplitFieldNames(const String& FieldNames);
