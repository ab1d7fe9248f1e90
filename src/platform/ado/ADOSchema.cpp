// The connection's calls on the database's structure: the last insert's id, the creation of
// indexes, the tables' columns and the integrity check.
#include "platform/ado/ADODB.h"

#include "platform/ado/SQLite.h"
#include "platform/core/StringLiterals.h"

std::int64_t TADOConnection::LastInsertId() const { return Database().LastInsertRowId(); }

void TADOConnection::CreateIndexes(const std::vector<TIndexDef>& Indexes)
{
    TStringDynArray statements{u"BEGIN"_s};
    for (const TIndexDef& index : Indexes)
        statements << u"CREATE INDEX IF NOT EXISTS %1 ON %2(%3)"_s.arg(index.Name, index.Table, index.Columns);
    statements << u"COMMIT"_s;
    TSQLiteDatabase& database = Database();
    try {
        database.ExecuteScript(statements.join(u";\n"_s));
    } catch (...) {
        if (InTransaction())
            database.ExecuteScript(u"ROLLBACK"_s);
        throw;
    }
}

std::set<String> TADOConnection::TableColumns() const
{
    TSQLiteStatement columns = Database().Prepare(
        u"select t.name, p.name from sqlite_schema t join pragma_table_info(t.name) p where t.type = 'table'"_s);
    std::set<String> names;
    while (columns.Step())
        names.insert((columns.ColumnText(0) + u'.' + columns.ColumnText(1)).toLower());
    return names;
}

bool TADOConnection::IntegrityIsSound() const
{
    TSQLiteStatement check = Database().Prepare(u"PRAGMA integrity_check"_s);
    return check.Step() && check.ColumnText(0) == u"ok"_s;
}
