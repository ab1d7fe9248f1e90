// TADOConnection: the file its connection string names, transactions, statements and table names.
#include "platform/ado/ADODB.h"

#include "platform/ado/ConnectionString.h"
#include "platform/ado/SQLite.h"
#include "platform/data/DatabaseError.h"

#include <QDir>

#include <sqlite3.h>

#include <climits>

namespace {

bool IsJetProvider(const String& Provider)
{
    return Provider.isEmpty() || Provider.startsWith(QLatin1String("Microsoft.Jet.OLEDB"), Qt::CaseInsensitive)
           || Provider.startsWith(QLatin1String("Microsoft.ACE.OLEDB"), Qt::CaseInsensitive);
}

}  // namespace

TADOConnection::TADOConnection(TComponent* AOwner) : TComponent(AOwner) {}

TADOConnection::~TADOConnection()
{
    Close();
    for (TADOQuery* query : std::vector<TADOQuery*>(FQueries))
        query->SetConnection(nullptr);
}

void TADOConnection::SetConnectionString(const String& Value)
{
    if (Value == FConnectionString)
        return;
    if (Connected())
        DatabaseError(QStringLiteral("对象打开时，不允许操作。"));
    const QMap<String, String> values = ParseConnectionString(Value);
    const String source = values.value(QStringLiteral("DATA SOURCE"));
    FConnectionString = Value;
    FDatabasePath = source.isEmpty() ? String() : QDir::cleanPath(QDir::current().absoluteFilePath(source));
}

void TADOConnection::SetCommandTimeout(int Value)
{
    FCommandTimeout = Value;
    if (FDatabase)
        FDatabase->SetBusyTimeout(Value > 0 && Value < INT_MAX / 1000 ? Value * 1000 : INT_MAX);
}

void TADOConnection::SetConnected(bool Value)
{
    if (Value)
        Open();
    else
        Close();
}

void TADOConnection::Open()
{
    if (Connected())
        return;
    const QMap<String, String> values = ParseConnectionString(FConnectionString);
    if (!IsJetProvider(values.value(QStringLiteral("PROVIDER"))))
        DatabaseError(QStringLiteral("未找到提供程序。该程序可能未正确安装。"));
    if (FDatabasePath.isEmpty())
        DatabaseError(QStringLiteral("连接字符串未指定数据源。"));
    FDatabase = std::make_unique<TSQLiteDatabase>(FDatabasePath);
    SetCommandTimeout(FCommandTimeout);
    if (FDatabase->Created() && OnNewDatabase) {
        try {
            OnNewDatabase(this);
        } catch (...) {
            Close();
            throw;
        }
    }
}

void TADOConnection::Close()
{
    if (!Connected())
        return;
    for (TADOQuery* query : FQueries)
        query->ConnectionClosing();
    FDatabase.reset();
    FTextColumns.clear();
    FTextColumnsSchema = -1;
}

int TADOConnection::BeginTrans()
{
    if (InTransaction())
        DatabaseError(QStringLiteral("The connection is already in a transaction."));
    Database().ExecuteScript(QStringLiteral("BEGIN"));
    return 1;
}

void TADOConnection::CommitTrans()
{
    if (!InTransaction())
        DatabaseError(QStringLiteral("No transaction is active."));
    FDatabase->ExecuteScript(QStringLiteral("COMMIT"));
}

void TADOConnection::RollbackTrans()
{
    if (!InTransaction())
        DatabaseError(QStringLiteral("No transaction is active."));
    FDatabase->ExecuteScript(QStringLiteral("ROLLBACK"));
}

bool TADOConnection::ReadOnly() const { return FDatabase && FDatabase->ReadOnly(); }

bool TADOConnection::InTransaction() const { return FDatabase && sqlite3_get_autocommit(FDatabase->Handle()) == 0; }

TSQLiteDatabase& TADOConnection::Database() const
{
    if (!FDatabase)
        DatabaseError(QStringLiteral("对象关闭时，不允许操作。"));
    return *FDatabase;
}

int TADOConnection::Execute(const String& CommandText)
{
    return Database().Prepare(Translate(CommandText).Sql, CommandText.trimmed()).Execute();
}

void TADOConnection::GetTableNames(TStrings* List, bool SystemTables)
{
    TSQLiteStatement tables = Database().Prepare(
        QStringLiteral("select name from sqlite_schema where type = 'table'%1 order by name")
            .arg(SystemTables ? QString() : QStringLiteral(" and name not like 'sqlite\\_%' escape '\\'")));
    List->BeginUpdate();
    List->Clear();
    while (tables.Step())
        List->Add(tables.ColumnText(0));
    List->EndUpdate();
}

// A page's list is opened again and again with the same text: it is translated once per schema.
TJetStatement TADOConnection::Translate(const String& Sql)
{
    ReadTextColumns();
    if (const auto found = FTranslated.constFind(Sql); found != FTranslated.cend())
        return *found;
    TJetStatement translated = TranslateJetSql(Sql, [this](const String& Column) { return FTextColumns.contains(Column); });
    constexpr int Kept = 64;
    if (FTranslated.size() >= Kept)
        FTranslated.clear();
    FTranslated.insert(Sql, translated);
    return translated;
}

void TADOConnection::RegisterQuery(TADOQuery* Query) { FQueries.push_back(Query); }

void TADOConnection::UnregisterQuery(TADOQuery* Query) { std::erase(FQueries, Query); }

// Text columns sort in pinyin order; stored dates keep their own order (and their index). Read
// again whenever the tables change, by this connection or another program.
void TADOConnection::ReadTextColumns()
{
    TSQLiteStatement version = Database().PrepareKept(QStringLiteral("pragma schema_version"));
    version.Step();
    const int schema = int(version.ColumnInt64(0));
    if (schema == FTextColumnsSchema)
        return;
    FTextColumnsSchema = schema;
    FTextColumns.clear();
    FTranslated.clear();
    TSQLiteStatement columns = FDatabase->Prepare(QStringLiteral(
        "select p.name, p.type from sqlite_schema t join pragma_table_info(t.name) p where t.type = 'table'"));
    while (columns.Step())
        if (columns.ColumnText(1).compare(QLatin1String("TEXT"), Qt::CaseInsensitive) == 0)
            FTextColumns.insert(columns.ColumnText(0));
}
