#pragma once
// The record cursors of an open query. A single-table "select *" keeps only the ids of its
// rows in view order (the keyset) and reads the rows the dataset asks for, a block at a time;
// any other result is read whole when the query opens and is read-only. Either way the set of
// records is the one the query found when it opened.
#include "platform/ado/SQLite.h"
#include "platform/data/RecordCursor.h"

#include <memory>

// Opens the cursor on a prepared statement whose :parameters are bound. With a Table, the
// statement selects the ids of that table's rows in order; without, it is the whole query.
std::unique_ptr<TRecordCursor> OpenSQLiteCursor(TSQLiteDatabase& Database, TSQLiteStatement& Statement,
                                                const String& Table);

// Binds a value the way the file stores it: dates as "yyyy-MM-dd hh:mm:ss" text, empty text
// as '' (never NULL), Null and Unassigned as NULL.
void BindVariant(TSQLiteStatement& Statement, int Index, const Variant& Value);
