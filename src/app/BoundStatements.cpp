// Running and opening statements on a query with their parameters bound by name.
#include "app/BoundStatements.h"

#include "platform/ado/ADODB.h"

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
    PrepareSql(Query, Sql, Params);
    Query->Open();
}
