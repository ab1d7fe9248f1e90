#pragma once
// The record cursors of an open query. A single-table "select *" knows its count at once and
// reads the ids of its rows in view order (the keyset) lazily, a block at a time, from a snapshot
// of the file taken when the query opened; it reads the rows the dataset asks for a block at a
// time. Any other result is read whole when the query opens and is read-only. Either way the set
// of records is the one the query found when it opened.
#include "platform/ado/JetSql.h"
#include "platform/ado/SQLite.h"
#include "platform/data/RecordCursor.h"

#include <QHash>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// Binds the query's parameter values, as they were when it opened, into a statement prepared
// from its text; a lazily read cursor binds them again whenever it prepares one.
using TStatementBinder = std::function<void(TSQLiteStatement& Statement)>;

// A connection of its own on a query's file, on which the query's lazily read lists take their
// snapshots. The query keeps it between its openings: a new connection starts with an empty page
// cache and reads every page again. One list at a time uses it. While nothing has been written
// to the file since its snapshot began, other queries on the same file read their whole results
// there too: the same records, with the pages the list has just read.
class TSnapshotConnection {
public:
    TSnapshotConnection();
    TSnapshotConnection(const TSnapshotConnection&) = delete;
    TSnapshotConnection& operator=(const TSnapshotConnection&) = delete;
    ~TSnapshotConnection();

    // Begins a snapshot of Database's file on the connection, opened on first use.
    TSQLiteDatabase& Begin(const TSQLiteDatabase& Database);
    void End() noexcept;
    // Must happen before Database closes: while another connection is open on the file, the
    // last one cannot fold the write-ahead log back into it.
    void Close();

    // A snapshot begun on Database's file that shows it as it is now, or nullptr.
    static TSQLiteDatabase* Current(const TSQLiteDatabase& Database);

    // What the plan check of a list found for its statement's text (the index it may walk, or
    // empty), under the file's schema version Schema: kept, the check runs once per text.
    std::optional<String> KnownPlan(const String& Sql, std::int64_t Schema) const;
    void KnowPlan(const String& Sql, std::int64_t Schema, const String& Index);

    // What tells Database's writes apart: other connections' commits, its own changes.
    static std::pair<std::int64_t, std::int64_t> WriteMark(const TSQLiteDatabase& Database);

private:
    std::unique_ptr<TSQLiteDatabase> FDatabase;
    sqlite3* FFor = nullptr;                     // the connection it was opened beside
    std::pair<std::int64_t, std::int64_t> FMark;  // that connection's write mark when the snapshot began
    bool FInSnapshot = false;
    bool FRoomForRanges = false;  // the page cache holds a large list's index range
    std::int64_t FPlansSchema = -1;  // the schema version of FPlans
    QHash<String, String> FPlans;    // statement text -> what its check found
};

// Aggregates over a query's records in SQLite's SQL, such as "sum(数量)". A single-table list
// takes them in the statement that counts its records, so they cost no pass of their own, and
// Values answers them in order; a result read whole takes none and leaves Values empty.
// FieldNames names fields whose FieldTotals the same statement takes too, for a footer that
// asks for them as the records open.
struct TCursorTotals {
    QStringList Expressions;
    std::vector<Variant> Values;
    QStringList FieldNames;
};

// Opens the cursor of a translated statement; Shown names the statement in errors. A list of one
// table's records reads CacheSize rows at a time, and its ids in blocks growing from that size.
// Totals, when given, receives the values of its expressions over the records the cursor opened on.
std::unique_ptr<TRecordCursor> OpenSQLiteCursor(TSQLiteDatabase& Database, const TJetStatement& Statement,
                                                const String& Shown, const TStatementBinder& Bind,
                                                TSnapshotConnection& Snapshots, int CacheSize,
                                                TCursorTotals* Totals = nullptr);

// The statements an open cursor runs for a translated statement, :parameters unbound: for a single
// table its count (with the aggregates Totals names), its ids in order and from the last, and the
// read of a block of rows by id; else the statement itself.
std::vector<String> CursorStatements(const TJetStatement& Statement, const QStringList& Totals = {});

// Binds a value the way the file stores it: dates as "yyyy-MM-dd hh:mm:ss" text, empty text
// as '' (never NULL), Null and Unassigned as NULL.
void BindVariant(TSQLiteStatement& Statement, int Index, const Variant& Value);
