#pragma once
// Small helpers the grid's parts share: whether a field can take a value, a field's value as a
// 32-bit integer, the values of a list of fields, a rectangle turned on its side, and the
// grid's error.
#include "platform/core/Variant.h"
#include "platform/ui/Types.h"

#include <vector>

class TDataSet;
class TField;

// ReadOnly; a lookup field with KeyFields is read-only without a dataset, else only when every
// key field is.
bool FieldIsReadOnly(const TField* Field);
// The value as a 32-bit integer when it is a number that fits (a fraction cut toward zero);
// Default for Null, other kinds and values out of range.
int FieldValueAsInt32(const TField* Field, int Default);
// The current record's values of ';'-separated fields: one value, or an array for several.
Variant FieldValuesOf(const TDataSet& DataSet, const String& FieldNames);
// Width and height swapped, the top-left corner kept.
TRect SwapRectExtent(const TRect& Rect);
// Every one of Fields can take a value now (true for none).
bool AllFieldsModifiable(const std::vector<TField*>& Fields);
// Raises EInvalidGridOperationEh with Message.
[[noreturn]] void RaiseDataGridError(const String& Message);
