#pragma once
// The platform's ADO components, served by SQLite: the Jet provider's file is a SQLite file and
// the application's Jet SQL is translated as it runs (see JetSql.h).
#include "platform/ado/JetSql.h"
#include "platform/ado/SQLiteCursor.h"
#include "platform/core/Component.h"
#include "platform/core/StringList.h"
#include "platform/core/String.h"
#include "platform/core/Variant.h"
#include "platform/data/DataSet.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>

class TADOQuery;

// An index of one table: its name and the columns it orders by, "a, b" for several.
struct TIndexDef {
    String Name;
    String Table;
    String Columns;
};

// One :name of a query's SQL and the value bound to it when the query runs.
class TParameter {
public:
    explicit TParameter(const String& AName) : FName(AName) {}

    const String& Name() const { return FName; }
    const Variant& Value() const { return FValue; }
    void SetValue(const Variant& AValue) { FValue = AValue; }

private:
    String FName;
    Variant FValue;
};

class TParameters {
public:
    int Count() const { return int(FItems.size()); }
    TParameter* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    // Names compare without case; FindParam answers nullptr, ParamByName raises EDatabaseError.
    TParameter* FindParam(const String& Name) const;
    TParameter* ParamByName(const String& Name) const;
    void Clear() { FItems.clear(); }
    // Becomes a copy of Source: its names and values.
    void Assign(const TParameters& Source);
    // The :name parameters of the SQL text, outside its literals. With DoCreate the list is
    // rebuilt from them; answers the names either way.
    std::vector<String> ParseSQL(const String& Sql, bool DoCreate);
    // Binds every parameter the statement names, the names compared without case.
    void Bind(TSQLiteStatement& Statement) const;

private:
    std::vector<std::unique_ptr<TParameter>> FItems;
};

class TADOConnection : public TComponent {
public:
    explicit TADOConnection(TComponent* AOwner);
    ~TADOConnection() override;

    // "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=opr.mdb;...". The data source is resolved
    // against the working directory when the string is set, so later directory changes do not
    // move the database. Raises EDatabaseError while connected.
    const String& ConnectionString() const { return FConnectionString; }
    void SetConnectionString(const String& Value);
    // The absolute path of the database file the connection opens.
    const String& DatabasePath() const { return FDatabasePath; }

    // There is no login to prompt for; kept for the stored property.
    bool LoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool Value) { FLoginPrompt = Value; }
    // Seconds a statement waits for another program's lock on the file; 0 waits without limit.
    int CommandTimeout() const { return FCommandTimeout; }
    void SetCommandTimeout(int Value);

    bool Connected() const { return FDatabase != nullptr; }
    void SetConnected(bool Value);
    // Opens the file, creating an empty database when it does not exist (or is empty) and then
    // running OnNewDatabase. Opening an existing file writes nothing to it, so the application
    // can look at it first; one the program cannot write opens read-only. A file that is not a
    // SQLite database (a Jet file included) raises EDatabaseError untouched.
    void Open();
    // True while the database is open read-only (the file or its folder is): statements that
    // write raise.
    bool ReadOnly() const;
    // Closes every query of the connection first; an open transaction is rolled back.
    void Close();

    // One transaction at a time: what the connection's statements write between BeginTrans and
    // CommitTrans is stored together, and after RollbackTrans not at all. BeginTrans answers the
    // nesting level (1); a second BeginTrans, or a commit or rollback outside a transaction,
    // raises EDatabaseError.
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;

    // Runs one statement that returns no records (Jet SQL, create table included); answers the
    // rows it changed.
    int Execute(const String& CommandText);
    // The names of the database's tables in name order; SystemTables adds the provider's own.
    void GetTableNames(TStrings* List, bool SystemTables = false);
    // The id of the row the last insert of this connection made, whoever else writes the file.
    std::int64_t LastInsertId() const;
    // Creates those of Indexes the database lacks, in one transaction of their own: when one
    // cannot be created, none is, and EDatabaseError is raised. Existing indexes are kept as
    // they are, whatever their columns.
    void CreateIndexes(const std::vector<TIndexDef>& Indexes);
    // "table.column" of every column of every table, in lower case (names compare without case).
    std::set<String> TableColumns() const;
    // True when the engine finds the file's structure sound.
    bool IntegrityIsSound() const;

    // Runs inside Open when the file was just created: the application creates its tables
    // here. When it raises, Open raises and the connection stays closed.
    TNotifyEvent OnNewDatabase;

    // True when Path names the database file, under any name (a link, another spelling), or one
    // of the files SQLite keeps beside it: writing there would corrupt the open database.
    bool IsDatabaseFile(const String& Path) const;
    // Writes a consistent copy of the open database to Path, replacing a file there: the copy is
    // made beside Path and renamed over it, so a failure leaves the old file whole. Raises
    // EDatabaseError, also when Path is the database file itself.
    void BackupTo(const String& Path) const;
    // Replaces the database by a copy of the database file Source once Check (which raises to
    // refuse) has accepted it: the copy is made beside the file and handed to Check on a
    // connection of its own (Check may write to it), it gets the journal mode of the file it
    // replaces, the connection (and with it every query) is closed, the copy renamed over the
    // file in one step and the connection opened again. A refusal or a failure while copying
    // changes nothing; one past closing leaves the old file in place and opens it again. Past
    // closing, the queries stay closed, whichever file is open. Raises EDatabaseError, also when
    // Source is the database file, and only while the file is unchanged: once it is replaced, a
    // connection that cannot open it stays closed for the next query to report. A file that
    // cannot be read is named as Source, one that cannot be written as the database file.
    void RestoreFrom(const String& Source, const std::function<void(TADOConnection&)>& Check);
    // Removes the copies a backup or restore killed part-way left, with what SQLite left beside
    // them: the database file's own staged copies and the one a backup killed while staging
    // recorded; BackupTo and RestoreFrom do so too, and BackupTo removes its target's as well.
    void RemoveStagedCopies() const;

    // The provider's side, for the queries.
    TSQLiteDatabase& Database() const;
    TJetStatement Translate(const String& Sql);
    void RegisterQuery(TADOQuery* Query);
    void UnregisterQuery(TADOQuery* Query);

protected:
    const char* ClassName() const override { return "TADOConnection"; }

private:
    void ReadTextColumns();

    String FConnectionString;
    String FDatabasePath;
    bool FLoginPrompt = true;
    int FCommandTimeout = 30;
    std::unique_ptr<TSQLiteDatabase> FDatabase;
    QSet<String> FTextColumns;  // sorted in pinyin order by "order by"
    int FTextColumnsSchema = -1;  // the schema version FTextColumns were read from
    QHash<String, TJetStatement> FTranslated;  // statements translated under that version
    std::vector<TADOQuery*> FQueries;
};

// A query on a connection. Setting the SQL closes the query and, with ParamCheck, rebuilds its
// Parameters from the :names in the text. Open gives a static cursor: the records the query
// found when it opened. The records of a single-table "select * from T ..." can be edited and
// deleted (written to T by id); other results are read-only.
class TADOQuery : public TDataSet {
public:
    explicit TADOQuery(TComponent* AOwner);
    ~TADOQuery() override;

    TADOConnection* Connection() const { return FConnection; }
    void SetConnection(TADOConnection* Value);
    TStrings* SQL() const { return FSQL.get(); }
    void SetSQL(TStrings* Value) { FSQL->Assign(Value); }
    bool ParamCheck() const { return FParamCheck; }
    void SetParamCheck(bool Value) { FParamCheck = Value; }
    TParameters* Parameters() { return &FParameters; }
    // The records a list of one table's records reads at a time, as a grid's screen shows
    // them; at least 1.
    int CacheSize() const { return FCacheSize; }
    void SetCacheSize(int Value) { FCacheSize = std::max(1, Value); }

    // Aggregates of the records the query finds, in SQLite's SQL ("sum(数量)"). A list of one
    // table's records takes them in the statement that counts its records as it opens, at no
    // cost of their own; TotalValues answers them in order while it is open, and is empty when
    // the query's result is read whole. Changing them closes the query.
    const QStringList& Totals() const { return FTotals.Expressions; }
    void SetTotals(const QStringList& Expressions);
    const std::vector<Variant>& TotalValues() const;

    // Runs a statement that returns no records; answers the rows it changed.
    int ExecSQL();
    int RowsAffected() const { return FRowsAffected; }
    // Closes the query, and what it keeps open on the file, before its connection closes.
    void ConnectionClosing();

protected:
    std::unique_ptr<TRecordCursor> CreateCursor() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    const char* ClassName() const override { return "TADOQuery"; }

private:
    void SQLChanged();
    // The SQL translated for the opened connection.
    TJetStatement TranslateSQL();

    TADOConnection* FConnection = nullptr;
    std::unique_ptr<TStringList> FSQL;
    bool FParamCheck = true;
    TParameters FParameters;
    int FRowsAffected = -1;
    int FCacheSize = 64;
    std::unique_ptr<TSnapshotConnection> FSnapshots;  // where the lists take their snapshots
    TCursorTotals FTotals;                             // their values as the query last opened
};
