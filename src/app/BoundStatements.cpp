// Running and opening statements on a query with their parameters bound by name.
#include "app/BoundStatements.h"

#include "platform/ado/ADODB.h"
#include "platform/core/ScopeExit.h"

void PrepareSql(TADOQuery* Query, const String& Sql, const TQueryParams& Params)
{
    Query->Close();
    Query->SQL()->SetText(Sql);
    for (const auto& [name, value] : Params)
        Query->Parameters()->ParamByName(name)->SetValue(value);
}

int ExecSql(TADOQuery* Query, const String& Sql, const TQueryParams& Params)
{
    PrepareSql(Query, Sql, Params);
    return Query->ExecSQL();
}

void OpenSql(TADOQuery* Query, const String& Sql, const TQueryParams& Params)
{
    // Closed and opened again with its controls disabled, the requery reaches a grid on the
    // query as one change, so the grid rebuilds its layout once, not once per state.
    Query->DisableControls();
    const TScopeExit enable([Query] { Query->EnableControls(); });
    PrepareSql(Query, Sql, Params);
    Query->Open();
}
