#pragma once
// ADO connection strings: "Key=Value;Key=Value", keys without case, values optionally quoted.
#include "platform/core/String.h"

#include <QMap>

// Keys in upper case, trimmed; quotes around a value removed. Raises EDatabaseError on a part
// without "=".
QMap<String, String> ParseConnectionString(const String& ConnectionString);
