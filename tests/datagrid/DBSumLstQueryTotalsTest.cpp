// The sum list over a query on one table takes its sums and counts from one statement of the
// database: the same values, to the last unit of Currency, as a walk of the same records.
#include "SumListTestSupport.h"

#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// Ties at the fourth decimal place, negative amounts, Nulls in either column, large quantities.
constexpr const char* Rows =
    "insert into stock(名称, 数量, 金额) values"
    "('a', 3, 12.5), ('b', 5, 0.00005), ('c', NULL, 7.25), ('d', 2, NULL), ('e', -7, -1.23455),"
    "('f', 123456789012, 0.00015), ('g', NULL, NULL), ('h', 1, 100.05), ('i', 4, 2.00025)";

struct TCase {
    const char* Sql;
    const char* Value;  // bound to :v, when the statement names it
};

const TCase Cases[] = {
    {"select * from stock order by id", nullptr},
    {"select * from stock where 名称 > :v order by id desc", "b"},
    {"select * from stock where 数量 is null", nullptr},
    {"select * from stock where 名称 = :v", "none"},
};

// Every statement run on a connection opened while it lives, the lists' snapshot connections too.
class TStatementTrace {
public:
    TStatementTrace()
    {
        Current = this;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&TStatementTrace::Install));
    }
    ~TStatementTrace()
    {
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&TStatementTrace::Install));
        Current = nullptr;
    }
    TStatementTrace(const TStatementTrace&) = delete;
    TStatementTrace& operator=(const TStatementTrace&) = delete;

    QStringList Statements;

private:
    static int Install(sqlite3* Db, char**, const void*)
    {
        sqlite3_trace_v2(Db, SQLITE_TRACE_STMT, &TStatementTrace::Trace, nullptr);
        return SQLITE_OK;
    }
    static int Trace(unsigned, void*, void* Statement, void*)
    {
        if (Current)
            Current->Statements << String::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt*>(Statement)));
        return 0;
    }
    static inline TStatementTrace* Current = nullptr;
};

class SumListQueryTotalsTest : public ::testing::Test {
protected:
    SumListQueryTotalsTest()
    {
        FConnection.SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1"_s.arg(FDir.filePath(u"opr.mdb"_s)));
        FConnection.SetLoginPrompt(false);
        FConnection.Open();
        FConnection.Execute(u"CREATE TABLE stock(id COUNTER PRIMARY KEY, 名称 TEXT, 数量 INTEGER, 金额 DOUBLE)"_s);
        FConnection.Execute(String::fromUtf8(Rows));
        FQuery.SetConnection(&FConnection);
        for (TGroupOperation Operation : {TGroupOperation::goSum, TGroupOperation::goAvg, TGroupOperation::goCount})
            for (const String& Field : {QtyField, AmountField})
                AddSum(FProducer, Operation, Field);
        AddSum(FProducer, TGroupOperation::goCount, String());
        FProducer.SetDataSet(&FQuery);
    }

    void Open(const TCase& Case)
    {
        FQuery.SQL()->SetText(String::fromUtf8(Case.Sql));
        if (Case.Value)
            FQuery.Parameters()->ParamByName(u"v"_s)->SetValue(String::fromUtf8(Case.Value));
        FQuery.Open();
    }

    bool FromStatement() const
    {
        return FQuery.FieldTotals({FQuery.FieldByName(QtyField), FQuery.FieldByName(AmountField)}).has_value();
    }

    void ExpectWalkedValues(const char* Sql)
    {
        SCOPED_TRACE(Sql);
        for (const String& Field : {QtyField, AmountField}) {
            const TWalkedTotals Walked = WalkTotals(&FQuery, Field);
            EXPECT_EQ(Units(FProducer, TGroupOperation::goSum, Field), Walked.SumUnits());
            EXPECT_EQ(Units(FProducer, TGroupOperation::goAvg, Field), Walked.AvgUnits());
            EXPECT_EQ(Units(FProducer, TGroupOperation::goCount, Field), Walked.CountUnits());
            EXPECT_EQ(Units(FProducer, TGroupOperation::goCount, String()), Walked.AllUnits());
        }
    }

    // The statements this connection and its lists' snapshot connections run.
    QStringList TotalStatements() const { return FTrace.Statements.filter(u"currency_total"_s); }

    TStatementTrace FTrace;
    QTemporaryDir FDir;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
    TDBSumListProducer FProducer{nullptr};
};

TEST_F(SumListQueryTotalsTest, StatementGivesTheWalkedValues)
{
    for (const TCase& Case : Cases) {
        Open(Case);
        EXPECT_TRUE(FromStatement()) << Case.Sql;
        ExpectWalkedValues(Case.Sql);
        FQuery.Close();
    }
}

// A list longer than a block of ids is read lazily from a snapshot, which its sums come from.
TEST_F(SumListQueryTotalsTest, ALongListTakesItsSumsFromItsSnapshot)
{
    FConnection.Database().ExecuteScript(
        u"with recursive n(i) as (select 1 union all select i + 1 from n where i < 600) "
        "insert into stock(名称, 数量, 金额) select 'z', case when i % 5 = 0 then null else i end, "
        "case when i % 7 = 0 then null else i * 0.00005 end from n"_s);
    Open(Cases[0]);
    EXPECT_TRUE(FromStatement());
    ExpectWalkedValues("a long list");
}

// Once the list has written, its records are no longer the statement's: the upkeep and later
// recalculations go by the records.
TEST_F(SumListQueryTotalsTest, WritesKeepTheSumsInStep)
{
    Open(Cases[1]);
    FQuery.Edit();
    FQuery.FieldByName(AmountField)->SetAsFloat(0.00025);
    FQuery.Post();
    FQuery.Append();
    FQuery.FieldByName(u"名称"_s)->SetAsString(u"a"_s);
    FQuery.FieldByName(QtyField)->SetAsInteger(9);
    FQuery.Post();
    EXPECT_FALSE(FromStatement());
    ExpectWalkedValues("after edit and insert");
    FProducer.RecalculateAll();
    ExpectWalkedValues("recalculated");
}

// The footer's sums are taken in the statement that counts the records as the list opens: one
// pass over the matches, whether the list is read at once or lazily.
TEST_F(SumListQueryTotalsTest, TheSumsAreCountedWithTheRecords)
{
    for (const bool Long : {false, true}) {
        if (Long)
            FConnection.Database().ExecuteScript(
                u"with recursive n(i) as (select 1 union all select i + 1 from n where i < 600) "
                "insert into stock(名称, 数量, 金额) select 'z', i, i * 0.25 from n"_s);
        FTrace.Statements.clear();
        Open(Cases[1]);
        const QStringList Totals = TotalStatements();
        ASSERT_EQ(Totals.size(), 1) << FTrace.Statements.join(u'\n').toStdString();
        EXPECT_TRUE(Totals[0].startsWith(u"select count(*),"_s)) << Totals[0].toStdString();
        ExpectWalkedValues(Long ? "long" : "short");
        FQuery.Close();
    }
}

// The totals counted as the list opened hold only while nobody has written the file since.
TEST_F(SumListQueryTotalsTest, TotalsAskedAfterAnotherProgramWroteAreTakenAgain)
{
    Open(Cases[0]);
    const TField* Amount = FQuery.FieldByName(AmountField);
    const Currency Opened = FQuery.FieldTotals({Amount})->front().Sum;
    ASSERT_EQ(TotalStatements().size(), 1);  // taken with the count
    {
        TSQLiteDatabase Other(FDir.filePath(u"opr.mdb"_s));
        Other.ExecuteScript(u"update stock set 金额 = 金额 + 1 where 名称 = 'a'"_s);
    }
    const std::optional<std::vector<TFieldTotal>> Later = FQuery.FieldTotals({Amount});
    ASSERT_TRUE(Later.has_value());
    EXPECT_EQ(Later->front().Sum.Raw(), Opened.Raw() + 10000);
    EXPECT_EQ(TotalStatements().size(), 2);
}

// A footer over a field no total can be taken of (a text) keeps the list opening; its sums are
// walked, and the others keep their values.
TEST_F(SumListQueryTotalsTest, AFooterOverATextOpensTheListAndWalksIt)
{
    AddSum(FProducer, TGroupOperation::goCount, u"名称"_s);
    Open(Cases[0]);
    EXPECT_EQ(FQuery.RecordCount(), 9);
    EXPECT_EQ(Units(FProducer, TGroupOperation::goCount, u"名称"_s), 9 * 10000);
    ExpectWalkedValues("beside a text");
}

}  // namespace
