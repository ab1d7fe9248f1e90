// The connection's calls on the database's structure: the last insert's id and the creation
// of indexes.
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
