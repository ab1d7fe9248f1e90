// Field definitions added and found by name, and the field each one creates.
#include "platform/data/FieldDefs.h"

#include "platform/data/DatabaseError.h"
#include "platform/data/TypedFields.h"

TField* TFieldDef::CreateField(TComponent* Owner) const
{
    TField* field = ::CreateField(Owner, FDataType);
    field->SetFieldName(FName);
    if (FSize > 0)
        field->SetSize(FSize);
    field->SetRequired(FRequired);
    field->SetReadOnly(FReadOnly);
    return field;
}

TFieldDef* TFieldDefs::Add(const String& Name, TFieldType DataType, int Size, bool Required)
{
    FItems.push_back(std::make_unique<TFieldDef>(Name, DataType, Size, Required));
    return FItems.back().get();
}

int TFieldDefs::IndexOf(const String& Name) const
{
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Name().compare(Name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

TFieldDef* TFieldDefs::Find(const String& Name) const
{
    const int index = IndexOf(Name);
    if (index < 0)
        DatabaseError(DBConsts::SFieldNotFound.arg(Name));
    return Items(index);
}
