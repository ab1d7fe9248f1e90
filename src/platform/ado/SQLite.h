#pragma once
// A thin RAII layer over the SQLite C API. Every failure raises EDatabaseError whose message
// gives SQLite's reason (EngineReason) and the statement as the caller wrote it.
#include "platform/core/String.h"

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class TSQLiteDatabase;

// SQLite's reason for a failure as the interface says it: the common ones (a full disk, a read or
// write error, a read-only file, a file another program holds, one that is not a database) in
// Chinese, any other in SQLite's words (EngineText). SystemError is the errno behind Code.
String EngineReason(int Code, int SystemError, const String& EngineText);
// The reason for the last failure on Db; nullptr stands for a connection SQLite had no memory for.
String EngineReason(sqlite3* Db);

// Raises EDatabaseError "<reason> [SQL: <statement>]".
[[noreturn]] void StatementError(const String& Reason, const String& Statement);

// What currency_total(x), an aggregate every connection has, gives: the sum of x's values in
// Currency units, each rounded to 1/10000 half to even, and how many of them are not Null.
struct TSQLiteCurrencyTotal {
    std::int64_t Units = 0;
    std::int64_t NotNull = 0;
};

class TSQLiteStatement {
public:
    // Prepares exactly one statement; text after it raises. Shown is the statement named in errors.
    TSQLiteStatement(sqlite3* Db, const String& Sql, const String& Shown);
    TSQLiteStatement(TSQLiteStatement&& Other) noexcept;
    TSQLiteStatement& operator=(TSQLiteStatement&& Other) noexcept;
    ~TSQLiteStatement();

    // Parameters are numbered from 1, as SQLite numbers them; a name keeps its ':'.
    int ParameterCount() const;
    String ParameterName(int Index) const;
    void BindNull(int Index);
    void BindInt64(int Index, std::int64_t Value);
    void BindDouble(int Index, double Value);
    void BindText(int Index, const String& Value);
    void BindBlob(int Index, const QByteArray& Value);

    // True while a row is ready; false once the statement is done.
    bool Step();
    // Steps the statement to its end; answers the rows it changed, 0 when it only reads.
    int Execute();
    void Reset();
    bool ReadOnly() const;

    int ColumnCount() const;
    String ColumnName(int Column) const;
    // Empty for expressions.
    String DeclaredType(int Column) const;
    String TableName(int Column) const;
    // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL of the current row.
    int ColumnType(int Column) const;
    std::int64_t ColumnInt64(int Column) const;
    double ColumnDouble(int Column) const;
    String ColumnText(int Column) const;
    // The text in UTF-8 as SQLite holds it, valid until the next Step or Reset.
    QByteArrayView ColumnUtf8(int Column) const;
    QByteArray ColumnBlob(int Column) const;
    // A currency_total column's value.
    TSQLiteCurrencyTotal ColumnCurrencyTotal(int Column) const;

    const String& Shown() const { return FShown; }

private:
    friend class TSQLiteDatabase;
    TSQLiteStatement(sqlite3_stmt* Handle, const String& Shown, const TSQLiteDatabase* Keeper, std::int64_t Schema);
    void Check(int Code) const;
    void Release();

    sqlite3_stmt* FHandle = nullptr;
    String FShown;
    const TSQLiteDatabase* FKeeper = nullptr;  // takes the statement back when it is done
    std::int64_t FSchema = 0;                  // the schema version it was prepared under, when kept
};

class TSQLiteDatabase {
public:
    // Opens an existing SQLite file, or creates one in WAL mode when the file is missing or empty
    // (Created() then answers true). Opening an existing file writes nothing to it; one that the
    // process cannot write, or whose folder it cannot write, opens read-only. A file that is not
    // a SQLite database raises and stays untouched.
    explicit TSQLiteDatabase(const String& Path);
    TSQLiteDatabase(const TSQLiteDatabase&) = delete;
    TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;
    ~TSQLiteDatabase();

    bool Created() const { return FCreated; }
    // True when the file was opened read-only: statements that write raise.
    bool ReadOnly() const;
    // How long a statement waits for another connection's lock before it fails.
    void SetBusyTimeout(int Milliseconds);
    // Runs statements that return no rows, several allowed (schema scripts).
    void ExecuteScript(const String& Sql);
    TSQLiteStatement Prepare(const String& Sql, const String& Shown) const;
    TSQLiteStatement Prepare(const String& Sql) const { return Prepare(Sql, Sql); }
    // As Prepare, but the statement goes back to the connection when it is done and the next
    // PrepareKept of the same text takes it again, reset and unbound: preparing costs as much as
    // reading a screen of rows. A change of the schema lets go of the kept statements, whose
    // columns would tell the old one. Every statement must be done before the connection closes.
    TSQLiteStatement PrepareKept(const String& Sql, const String& Shown) const;
    TSQLiteStatement PrepareKept(const String& Sql) const { return PrepareKept(Sql, Sql); }
    int Changes() const;
    // The id of the row the last insert on this connection made, whoever else writes the file.
    std::int64_t LastInsertRowId() const;
    sqlite3* Handle() const { return FHandle; }

    // Opens an existing database file only to read it: nothing is created, converted or written.
    // Raises EDatabaseError when there is no such file or it cannot be opened.
    static std::unique_ptr<TSQLiteDatabase> OpenReadOnly(const String& Path);

private:
    friend class TSQLiteStatement;
    TSQLiteDatabase() = default;
    void Keep(sqlite3_stmt* Handle, std::int64_t Schema) const;
    std::int64_t SchemaVersion() const noexcept;
    void ForgetKept() const;

    sqlite3* FHandle = nullptr;
    bool FCreated = false;
    // The kept statements, the least recently done first, with the schema version of each.
    mutable std::vector<std::pair<sqlite3_stmt*, std::int64_t>> FKept;
    mutable sqlite3_stmt* FSchemaVersion = nullptr;
};

// Copies the main database of Source, as one consistent snapshot taken while Source stays open
// and in use, into the missing or empty file Target through SQLite's online backup. The copy
// keeps a rollback journal, so it is one self-contained file. Raises EDatabaseError naming the
// side that failed as the user knows it: SourceShown when Source cannot be read (not a database,
// damaged, locked), TargetShown otherwise. Target may then hold a partial copy, which the caller
// removes.
void BackupDatabase(sqlite3* Source, const String& Target, const String& SourceShown, const String& TargetShown);
