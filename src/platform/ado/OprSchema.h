#pragma once
// The tables of the application's database file, created when the file is new.
//
// Column types say how fields read back: INTEGER as 32-bit integer fields, REAL as float fields,
// DATETEXT (TEXT affinity, stored "yyyy-MM-dd hh:mm:ss") as date-time fields, TEXT as strings.
// Text compares without case, as Jet compares it. Each record table keeps an index on
// (日期, id, 数量), which serves `日期 like '2026%'` and `order by 日期 desc,id desc` and holds
// what a page's total sums, so the list's ids and its total never read the table itself.
#include "platform/core/String.h"

class TSQLiteDatabase;

void CreateOprSchema(TSQLiteDatabase& Database);

// The declared type of the stored date-time columns.
bool IsDateTimeType(const String& DeclaredType);
