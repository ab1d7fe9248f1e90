#pragma once
// Raising the dataset layer's errors as the platform words them: a message about a named
// component starts with that name ("Query1: Dataset not in edit or insert mode").
#include "platform/core/String.h"

class TComponent;

[[noreturn]] void DatabaseError(const String& Message, const TComponent* Component = nullptr);

// The platform's message texts; %1, %2 ... are filled with arg().
namespace DBConsts {
inline const String SNotEditing = QStringLiteral("Dataset not in edit or insert mode");
inline const String SDataSetClosed = QStringLiteral("Cannot perform this operation on a closed dataset");
inline const String SDataSetOpen = QStringLiteral("Cannot perform this operation on an open dataset");
inline const String SDataSetEmpty = QStringLiteral("Cannot perform this operation on an empty dataset");
inline const String SDataSetReadOnly = QStringLiteral("Cannot modify a read-only dataset");
inline const String SFieldNotFound = QStringLiteral("Field '%1' not found");
inline const String SFieldRequired = QStringLiteral("Field '%1' must have a value");
inline const String SFieldReadOnly = QStringLiteral("Field '%1' cannot be modified");
inline const String SRecordNotFound = QStringLiteral("Record not found");
inline const String SInvalidIntegerValue = QStringLiteral("'%1' is not a valid integer value for field '%2'");
inline const String SInvalidFloatValue = QStringLiteral("'%1' is not a valid floating point value for field '%2'");
inline const String SInvalidBoolValue = QStringLiteral("'%1' is not a valid boolean value for field '%2'");
inline const String SFieldRangeError = QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4");
inline const String SCircularDataLink = QStringLiteral("Circular datalinks are not allowed");
inline const String SNoDataSet = QStringLiteral("Missing DataSet property");
}  // namespace DBConsts
