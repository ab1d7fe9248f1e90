// Small helpers the grid's parts share.
#include "datagrid/DBGridEhHelpers.h"

#include "controls/GridsEhTypes.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

#include <algorithm>
#include <cmath>
#include <limits>

bool FieldIsReadOnly(const TField* Field)
{
    if (Field->ReadOnly())
        return true;
    if (!Field->Lookup() || Field->KeyFields().isEmpty())
        return false;
    const TDataSet* data = Field->DataSet();
    if (data == nullptr)
        return true;
    for (const String& name : Field->KeyFields().split(u';', Qt::SkipEmptyParts)) {
        const TField* key = data->FindField(name.trimmed());
        if (key != nullptr && !key->ReadOnly())
            return false;
    }
    return true;
}

Variant FieldValuesOf(const TDataSet& DataSet, const String& FieldNames)
{
    const std::vector<String> names = SplitFieldNames(FieldNames);
    if (names.size() == 1)
        return DataSet.FieldByName(names.front())->Value();
    Variant values = VarArrayCreate(0, static_cast<int>(names.size()) - 1);
    for (std::size_t i = 0; i < names.size(); ++i)
        values[static_cast<int>(i)] = DataSet.FieldByName(names[i])->Value();
    return values;
}

int FieldValueAsInt32(const TField* Field, int Default)
{
    using enum TFieldType;
    if (Field->IsNull())
        return Default;
    switch (Field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc:
        return Field->AsInteger();
    case ftLargeint: case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd: {
        const double value = std::trunc(Field->AsFloat());
        const bool fits = value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
        return fits ? static_cast<int>(value) : Default;
    }
    default:
        return Default;
    }
}

TRect SwapRectExtent(const TRect& Rect)
{
    return {Rect.Left, Rect.Top, Rect.Left + Rect.Height(), Rect.Top + Rect.Width()};
}

bool AllFieldsModifiable(const std::vector<TField*>& Fields)
{
    return std::all_of(Fields.begin(), Fields.end(), [](const TField* Field) { return Field->CanModify(); });
}

void RaiseDataGridError(const String& Message) { throw EInvalidGridOperationEh(Message); }
