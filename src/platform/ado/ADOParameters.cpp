// A query's parameters: named in its SQL, found without case and bound to each statement.
#include "platform/ado/ADODB.h"

#include "platform/ado/SQLite.h"
#include "platform/ado/SQLiteCursor.h"
#include "platform/data/DatabaseError.h"

TParameter* TParameters::FindParam(const String& Name) const
{
    for (const auto& item : FItems)
        if (item->Name().compare(Name, Qt::CaseInsensitive) == 0)
            return item.get();
    return nullptr;
}

TParameter* TParameters::ParamByName(const String& Name) const
{
    if (TParameter* parameter = FindParam(Name))
        return parameter;
    DatabaseError(QStringLiteral("Parameter '%1' not found").arg(Name));
}

std::vector<String> TParameters::ParseSQL(const String& Sql, bool DoCreate)
{
    std::vector<String> names = JetParameterNames(Sql);
    if (DoCreate) {
        FItems.clear();
        for (const String& name : names)
            if (!FindParam(name))
                FItems.push_back(std::make_unique<TParameter>(name));
    }
    return names;
}

void TParameters::Bind(TSQLiteStatement& Statement) const
{
    // SQLite tells :a from :A; the parameter list, as Jet, does not.
    for (int index = 1; index <= Statement.ParameterCount(); ++index)
        if (const TParameter* parameter = FindParam(Statement.ParameterName(index).mid(1)))
            BindVariant(Statement, index, parameter->Value());
}

void TParameters::Assign(const TParameters& Source)
{
    FItems.clear();
    for (const auto& item : Source.FItems) {
        FItems.push_back(std::make_unique<TParameter>(item->Name()));
        FItems.back()->SetValue(item->Value());
    }
}
