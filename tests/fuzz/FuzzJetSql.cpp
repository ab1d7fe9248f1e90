// The Jet SQL translator: any text is tokenised, translated and, when Jet would take it,
// prepared on the application's schema; selects also run over a few rows.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "platform/ado/JetSql.h"
#include "platform/ado/SQLite.h"
#include "platform/core/Exceptions.h"

#include <QSet>
#include <sqlite3.h>

#include <optional>

namespace {

struct TFuzzDatabase {
    TSQLiteDatabase Database{QStringLiteral(":memory:")};
    QSet<String> TextColumns;

    TFuzzDatabase()
    {
        CreateFuzzSchema(Database);
        Database.ExecuteScript(QStringLiteral(
            "insert into oprint(姓名, 部门, 数量, 物品名称, 日期) values"
            " ('张三', '办公室', 2, '笔记本', '2024-01-15 00:00:00'), ('alice', 'IT', 10, 'A4纸', '2023-12-31 08:30:00'),"
            " ('Bob', '办公室', NULL, '圆珠笔', NULL), ('李四', '', 1, '订书钉', '2024-02-29 23:59:59');"
            "insert into ptype(物品名称, 编号, 类型) values ('笔记本', 'BJB', '文具'), ('A4纸', 'A4Z', '纸');"));
        TSQLiteStatement columns = Database.Prepare(QStringLiteral(
            "select p.name, p.type from sqlite_schema t join pragma_table_info(t.name) p where t.type = 'table'"));
        while (columns.Step())
            if (columns.ColumnText(1).compare(QLatin1String("TEXT"), Qt::CaseInsensitive) == 0)
                TextColumns.insert(columns.ColumnText(0));
        // A statement that runs away (a recursive join) is cut off as an error.
        sqlite3_progress_handler(Database.Handle(), 100000, [](void*) { return 1; }, nullptr);
    }
};

TFuzzDatabase& FuzzDatabase()
{
    static TFuzzDatabase database;
    return database;
}

std::optional<TSQLiteStatement> Prepare(const String& Sql)
{
    try {
        return FuzzDatabase().Database.Prepare(Sql);
    } catch (const Exception&) {
        return std::nullopt;
    }
}

// Only selects run: other statements that read nothing may still attach files.
void RunSelect(TSQLiteStatement& Statement, const String& Sql)
{
    if (!Statement.ReadOnly() || !Sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive))
        return;
    try {
        for (int row = 0; row < 1000 && Statement.Step(); ++row)
            for (int column = 0; column < Statement.ColumnCount(); ++column)
                Statement.ColumnText(column);
    } catch (const Exception&) {
        // A run-time error of the statement, or one cut off.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TFuzzInput input(Data, Size);
    const String sql = input.RestText();

    String written;
    for (const TJetToken& token : TokeniseJetSql(sql))
        written += token.Text;
    FUZZ_CHECK(written == sql);
    JetParameterNames(sql);

    const QSet<String>& textColumns = FuzzDatabase().TextColumns;
    TJetStatement statement;
    try {
        statement = TranslateJetSql(sql, [&](const String& Column) { return textColumns.contains(Column); });
    } catch (const Exception&) {
        return 0;
    }
    std::optional<TSQLiteStatement> prepared = Prepare(statement.Sql);
    if (!prepared)
        return 0;
    RunSelect(*prepared, statement.Sql);
    // A single-table select that SQLite takes has a keyset SQLite takes too.
    if (!statement.Table.isEmpty()) {
        std::optional<TSQLiteStatement> keyset = Prepare(statement.KeysetSql);
        FUZZ_CHECK(keyset.has_value());
        RunSelect(*keyset, statement.KeysetSql);
    }
    return 0;
}
