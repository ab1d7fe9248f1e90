#pragma once
// Statements with named :parameters, their values bound, never spliced into the text.
#include "platform/core/String.h"
#include "platform/core/Variant.h"

#include <utility>
#include <vector>

class TADOQuery;

// The named :parameters of a statement and their values.
using TQueryParams = std::vector<std::pair<String, Variant>>;

// Closes Query, gives it Sql and binds Params.
void PrepareSql(TADOQuery* Query, const String& Sql, const TQueryParams& Params);
// Runs a statement that returns no records; answers the rows it changed.
int ExecSql(TADOQuery* Query, const String& Sql, const TQueryParams& Params = {});
// Opens Query on the records Sql finds; its controls see the requery as one change.
void OpenSql(TADOQuery* Query, const String& Sql, const TQueryParams& Params = {});
