// The fuzz targets' shared failure check, application database schema and offscreen application.
#include "FuzzSupport.h"

#include "app/OprDatabase.h"
#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

void FuzzFailure(const char* Condition, const char* File, int Line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", File, Line, Condition);
    std::abort();
}

// The statements SQLite keeps for the application's tables and indexes, as a new file gets them.
static QStringList OprSchemaStatements()
{
    QTemporaryDir folder;
    TADOConnection connection(nullptr);
    connection.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                                   folder.filePath(QStringLiteral("opr.mdb")));
    OpenOprDatabase(&connection);
    TSQLiteStatement schema = connection.Database().Prepare(
        QStringLiteral("select sql from sqlite_schema where sql is not null and name not like 'sqlite%' order by type desc, name"));
    QStringList statements;
    while (schema.Step())
        statements << schema.ColumnText(0);
    return statements;
}

void CreateFuzzSchema(TSQLiteDatabase& Database)
{
    static const QStringList statements = OprSchemaStatements();
    for (const String& statement : statements)
        Database.ExecuteScript(statement);
}

void EnsureFuzzApplication()
{
    if (QApplication::instance() != nullptr)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
    // An error that reaches the application would open a message box and wait for a click.
    Application->OnException = [](TObject*, const std::exception&) {};
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
// Font configuration caches what it loads for the life of the process, and nothing of ours
// calls into it but Qt: not a leak of the code under test.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
#endif
