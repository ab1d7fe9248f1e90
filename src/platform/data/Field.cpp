// TField's properties, its value in the current record and its conversions to text and numbers.
#include "platform/data/Field.h"

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DatabaseError.h"

#include <QStringList>

#include <algorithm>

namespace {

String NameKey(const String& Name) { return Name.toCaseFolded(); }

}  // namespace

TField::TField(TComponent* AOwner, TFieldType DataType) : TComponent(AOwner), FDataType(DataType) {}

TField::~TField()
{
    if (FDataSet != nullptr)
        FDataSet->RemoveField(this);
}

void TField::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet)
        return;
    if (FDataSet != nullptr) {
        FDataSet->CheckInactive();
        FDataSet->RemoveField(this);
    }
    if (Value != nullptr) {
        Value->CheckInactive();
        Value->AddField(this);
    }
}

void TField::SetFieldName(const String& Value)
{
    if (FDataSet != nullptr)
        FDataSet->CheckInactive();
    FFieldName = Value;
    if (FDataSet != nullptr)
        FDataSet->Fields()->Reindex();
}

int TField::Index() const { return FDataSet != nullptr ? FDataSet->Fields()->IndexOf(this) : -1; }

void TField::SetIndex(int Value)
{
    if (FDataSet != nullptr && Value != Index())
        FDataSet->MoveField(this, Value);
}

void TField::SetSize(int Value)
{
    if (FDataSet != nullptr)
        FDataSet->CheckInactive();
    FSize = Value;
}

void TField::SetFieldKind(TFieldKind Value)
{
    if (FDataSet != nullptr)
        FDataSet->CheckInactive();
    FFieldKind = Value;
}

void TField::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    PropertyChanged(true);
}

void TField::SetReadOnly(bool Value)
{
    if (Value == FReadOnly)
        return;
    FReadOnly = Value;
    PropertyChanged(true);
}

bool TField::CanModify() const
{
    return !FReadOnly && FDataSet != nullptr && FDataSet->CanModify()
        && (FFieldKind == TFieldKind::fkData || FFieldKind == TFieldKind::fkLookup);
}

void TField::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    PropertyChanged(false);
}

void TField::SetDisplayLabel(const String& Value)
{
    const String label = Value == FFieldName ? String() : Value;
    if (label == FDisplayLabel)
        return;
    FDisplayLabel = label;
    PropertyChanged(true);
}

void TField::SetDisplayWidth(int Value)
{
    if (Value == FDisplayWidth)
        return;
    FDisplayWidth = Value;
    PropertyChanged(true);
}

void TField::PropertyChanged(bool LayoutAffected)
{
    if (FDataSet != nullptr && FDataSet->Active())
        FDataSet->DataEvent(LayoutAffected ? TDataEvent::deLayoutChange : TDataEvent::deDataSetChange, 0);
}

Variant TField::Value() const
{
    return FDataSet != nullptr ? FDataSet->GetFieldValue(this) : Variant::Null();
}

void TField::SetValue(const Variant& Value)
{
    if (FDataSet == nullptr)
        DatabaseError(QStringLiteral("字段“%1”没有数据集").arg(DisplayName()));
    const bool empty = VarIsNull(Value) || VarIsEmpty(Value);
    FDataSet->SetFieldValue(this, empty ? Variant::Null() : ToNative(Value));
}

Variant TField::ToNative(const Variant& Value) const
{
    return Variant(Value.AsString());
}

bool TField::IsNull() const { return VarIsNull(Value()); }

String TField::AsString() const
{
    const Variant value = Value();
    return VarIsNull(value) ? String() : ValueToString(value);
}

void TField::SetAsString(const String& Value)
{
    SetValue(TextToValue(Value));
}

namespace {

Variant OrEmpty(const Variant& Value, const Variant& Empty) { return VarIsNull(Value) ? Empty : Value; }

}  // namespace

// Text converts as the platform's string routines do, raising EConvertError with their messages.
int TField::AsInteger() const
{
    const Variant value = OrEmpty(Value(), EmptyValue());
    return VarIsStr(value) ? StrToInt(value.AsString()) : value.AsInteger();
}

double TField::AsFloat() const
{
    const Variant value = OrEmpty(Value(), EmptyValue());
    return VarIsStr(value) ? static_cast<double>(StrToFloat(value.AsString())) : value.AsDouble();
}

Currency TField::AsCurrency() const
{
    const Variant value = OrEmpty(Value(), EmptyValue());
    return VarIsStr(value) ? StrToCurr(value.AsString()) : value.AsCurrency();
}

bool TField::AsBoolean() const { return OrEmpty(Value(), EmptyValue()).AsBoolean(); }

TDateTime TField::AsDateTime() const
{
    const Variant value = OrEmpty(Value(), EmptyValue());
    return VarIsStr(value) ? StrToDateTime(value.AsString()) : value.AsDateTime();
}

QByteArray TField::AsBytes() const
{
    const Variant value = Value();
    return VarIsNull(value) ? QByteArray() : value.AsBytes();
}

String TField::GetText(bool DisplayText) const
{
    String text;
    if (OnGetText) {
        OnGetText(const_cast<TField*>(this), text, DisplayText);
        return text;
    }
    const Variant value = Value();
    if (VarIsNull(value) && !IsBlob())
        return text;
    return ValueToText(value, DisplayText);
}

void TField::SetText(const String& Value)
{
    if (OnSetText)
        OnSetText(this, Value);
    else
        SetAsString(Value);
}

bool TField::IsValidChar(Char) const { return true; }

void TField::FocusControl()
{
    if (FDataSet == nullptr || !FDataSet->Active())
        return;
    TField* field = this;
    FDataSet->DataEvent(TDataEvent::deFocusControl, reinterpret_cast<std::intptr_t>(&field));
}

void TField::SetLookupDataSet(TDataSet* Value)
{
    if (Value == FLookupDataSet)
        return;
    if (FLookupDataSet != nullptr)
        FLookupDataSet->RemoveFreeNotification(this);
    FLookupDataSet = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TField::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FLookupDataSet)
        FLookupDataSet = nullptr;
}

// --- TFields ----------------------------------------------------------------------------------

int TFields::IndexOf(const TField* Field) const
{
    const auto found = std::find(FList.begin(), FList.end(), Field);
    return found == FList.end() ? -1 : static_cast<int>(found - FList.begin());
}

TField* TFields::FindField(const String& FieldName) const
{
    return FByName.value(NameKey(FieldName), nullptr);
}

void TFields::Add(TField* Field)
{
    FList.push_back(Field);
    Reindex();
}

void TFields::Remove(TField* Field)
{
    FList.erase(std::remove(FList.begin(), FList.end(), Field), FList.end());
    Reindex();
}

void TFields::Move(TField* Field, int NewIndex)
{
    Remove(Field);
    const int index = std::clamp(NewIndex, 0, Count());
    FList.insert(FList.begin() + index, Field);
    Reindex();
}

void TFields::Reindex()
{
    FByName.clear();
    // The first of equally named fields wins, as a search in order would find it.
    for (auto it = FList.rbegin(); it != FList.rend(); ++it)
        FByName.insert(NameKey((*it)->FieldName()), *it);
}

std::vector<String> SplitFieldNames(const String& FieldNames)
{
    std::vector<String> names;
    for (const String& part : FieldNames.split(u';', Qt::SkipEmptyParts)) {
        const String name = part.trimmed();
        if (!name.isEmpty())
            names.push_back(name);
    }
    return names;
}
