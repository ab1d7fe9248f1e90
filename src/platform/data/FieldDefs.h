#pragma once
// TFieldDefs: the description of a dataset's record layout, from which it creates its default
// fields. A dataset fills them from its record source at open; an in-memory dataset is given
// them in code.
#include "platform/core/String.h"
#include "platform/data/DataTypes.h"

#include <memory>
#include <vector>

class TComponent;
class TField;

class TFieldDef {
public:
    TFieldDef(const String& Name, TFieldType DataType, int Size, bool Required)
        : FName(Name), FDataType(DataType), FSize(Size), FRequired(Required) {}

    const String& Name() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    TFieldType DataType() const { return FDataType; }
    void SetDataType(TFieldType Value) { FDataType = Value; }
    int Size() const { return FSize; }
    void SetSize(int Value) { FSize = Value; }
    bool Required() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }

    // A field of the def's type, named, sized and flagged after it.
    TField* CreateField(TComponent* Owner) const;

private:
    String FName;
    TFieldType FDataType;
    int FSize;
    bool FRequired;
    bool FReadOnly = false;
};

class TFieldDefs {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TFieldDef* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
    TFieldDef* operator[](int Index) const { return Items(Index); }
    TFieldDef* Add(const String& Name, TFieldType DataType, int Size = 0, bool Required = false);
    void Clear() { FItems.clear(); }
    // Case-insensitive; -1 / nullptr when absent. Find raises EDatabaseError "Field 'X' not found".
    int IndexOf(const String& Name) const;
    TFieldDef* Find(const String& Name) const;

private:
    std::vector<std::unique_ptr<TFieldDef>> FItems;
};
