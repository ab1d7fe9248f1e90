#pragma once
// Unit OprDatabase: the eight tables of "opr.mdb", created in Jet SQL when the connection reports
// a new file, and the check that an existing file is this program's before anything is written.
// The three record tables keep an index on (日期, id, 数量), which serves `日期 like '2026%'` and
// `order by 日期 desc,id desc` and holds what a page's total sums, so a list's ids and its total
// never read the table itself.
class TADOConnection;
class TObject;

// Creates the tables and indexes in one transaction. The connection's OnNewDatabase handler.
void CreateOprTables(TADOConnection* Connection);
// True when the open database holds the eight tables.
bool IsOprDatabase(TADOConnection* Connection);
// Opens the connection, creating the tables when the file is new, after removing the copies a
// backup or restore killed part-way left beside the file. An existing file without
// them is another program's: the connection is closed again, nothing written to the file, and
// EDatabaseError raised.
void OpenOprDatabase(TADOConnection* Connection);
