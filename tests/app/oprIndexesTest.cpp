// The query plans of the application's statements: no statement reads a whole record table
// where an index could serve it, and opening a file of an earlier version adds the indexes
// without touching its records.
#include "AppTestSupport.h"

#include "app/oprIndexes.h"
#include "platform/ado/SQLiteCursor.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace {

// A record table read whole: "SCAN oprint", with or without an index.
const QRegularExpression FullScan(QStringLiteral("^SCAN (oprint|gift|ruku)\\b"));

// Statements allowed to read a whole record table, each with its reason.
const struct {
    const char* Pattern;
    const char* Reason;
} AllowedScans[] = {
    // Query all: every record is the answer; the count and total read a covering index.
    {R"(from (oprint|gift|ruku)\s*(order by .*)?$)", "no filter"},
    // A pattern that does not start with its text cannot search an index.
    {R"(like\s+'%)", "a search inside the text"},
    // The newest records by id: the scan stops after the few it takes.
    {R"(order by id desc\s+LIMIT \d+)", "newest records"},
};

bool ScanAllowed(const String& Sql)
{
    for (const auto& allowed : AllowedScans)
        if (QRegularExpression(String::fromUtf8(allowed.Pattern), QRegularExpression::CaseInsensitiveOption).match(Sql).hasMatch())
            return true;
    return false;
}

class TQueryPlanTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        OpenWindows();
        Execute("insert into oprint(姓名,部门,数量,单位,物品名称,类型,日期,时间,备注) "
                "values('张三','技术部',3,'个','签字笔','A4','2026-03-02 10:00:00','10:00:00','急用')");
        sqlite3_trace_v2(Handle(), SQLITE_TRACE_STMT, &TQueryPlanTest::Trace, this);
    }

    void TearDown() override
    {
        sqlite3_trace_v2(Handle(), 0, nullptr, nullptr);
        TAppTest::TearDown();
    }

    static sqlite3* Handle() { return MF1->ADOCon1->Database().Handle(); }

    static int Trace(unsigned, void* Test, void* Statement, void*)
    {
        char* sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(Statement));
        if (sql && !QByteArray(sql).startsWith("EXPLAIN"))
            static_cast<TQueryPlanTest*>(Test)->FTraced << String::fromUtf8(sql);
        sqlite3_free(sql);
        return 0;
    }

    // Every full scan in the plan of Sql, its parameters bound by Bind.
    static QStringList Scans(const String& Sql, const TStatementBinder& Bind = {})
    {
        TSQLiteStatement plan = MF1->ADOCon1->Database().Prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + Sql);
        if (Bind)
            Bind(plan);
        QStringList scans;
        while (plan.Step())
            if (FullScan.match(plan.ColumnText(3)).hasMatch())
                scans << plan.ColumnText(3) + QStringLiteral(" in ") + Sql;
        return scans;
    }

    // The statements an open of Jet SQL runs, each planned with the query's parameters.
    void PlanQuery(const String& JetSql, const TStatementBinder& Bind = {})
    {
        for (const String& sql : CursorStatements(MF1->ADOCon1->Translate(JetSql)))
            if (!ScanAllowed(sql))
                FScans << Scans(sql, Bind);
        ++FPlanned;
    }

    void PlanQuery(TADOQuery* Query)
    {
        PlanQuery(Query->SQL()->Text(), [Query](TSQLiteStatement& Statement) { Query->Parameters()->Bind(Statement); });
    }

    // The issue page's list and total as its query button builds them now.
    void PlanIssueQuery()
    {
        MF1->BitBtn1->Click();
        PlanQuery(MF1->dbouser1);
        PlanQuery(MF1->AQc1);
    }

    QStringList FTraced;
    QStringList FScans;
    int FPlanned = 0;
};

}  // namespace

TEST_F(TQueryPlanTest, TheIssuePageFiltersSearchAnIndex)
{
    MF1->Button2->Click();
    PlanIssueQuery();  // the reset: this year
    const std::pair<TComboBox*, const char*> fields[] = {
        {MF1->ComboBox1, "技术部"}, {MF1->ComboBox3, "张三"},   {MF1->ComboBox2, "A4"},
        {MF1->ComboBox5, "签字笔"}, {MF1->ComboBox7, "3"},      {MF1->ComboBox4, "急用"},
    };
    for (const auto& [field, text] : fields) {
        MF1->Button2->Click();
        field->SetText(String::fromUtf8(text));
        PlanIssueQuery();
        MF1->ComboBox1->SetText(QStringLiteral("技术部"));  // and with the department
        PlanIssueQuery();
    }
    MF1->Button2->Click();
    MF1->ComboBox1->SetText(QStringLiteral("技术部"));
    for (const char* op : {"=", "<", ">", "<=", ">=", "介于"}) {
        MF1->ComboBox8->SetText(String::fromUtf8(op));
        PlanIssueQuery();
    }
    EXPECT_EQ(FPlanned, 2 * (1 + 12 + 6));
    EXPECT_EQ(FScans, QStringList());
}

TEST_F(TQueryPlanTest, RegisteringAnIssueSearchesByKeyOnly)
{
    Execute("insert into ouser(姓名,姓名编号,部门) values('张三','zs','技术部');");
    MF1->ComboBox1->SetText(QStringLiteral("技术部"));
    MF1->ComboBox3->SetText(QStringLiteral("张三"));
    MF1->ComboBox5->SetText(QStringLiteral("签字笔"));
    MF1->ComboBox7->SetText(QStringLiteral("2"));
    MF1->Button1->Click();
    ASSERT_EQ(Rows("select count(*) from oprint"), QStringList{QStringLiteral("2")});
    const QStringList traced = FTraced;
    ASSERT_TRUE(traced.filter(QStringLiteral("insert into oprint")).size() == 1);
    for (const String& sql : traced)
        if (!ScanAllowed(sql))
            FScans << Scans(sql);
    EXPECT_EQ(FScans, QStringList());
}

// The statements the gift and stock-in pages, the summaries, the quick filters and the
// drop-down lists run, with typical values.
TEST_F(TQueryPlanTest, TheOtherPagesStatementsSearchAnIndex)
{
    const char* const statements[] = {
        "select * from gift where 来客单位 like \"华%\" ORDER BY 日期 desc,id desc",
        "select * from gift where 来客姓名=\"王\" and 日期 like '2026%' ORDER BY 日期 desc,id desc",
        "select Sum(数量) AS 总计 from gift where 职务=\"经理\"",
        "select * from gift where 领取人=\"李四\" ORDER BY 日期 desc,id desc",
        "select * from gift where 批准=\"赵\" ORDER BY 日期 desc,id desc",
        "select * from gift where 类型 =\"茶\" and 礼品名称 =\"茶叶\" ORDER BY 日期 desc,id desc",
        "select * from gift where 备注 =\"x\" ORDER BY 日期 desc,id desc",
        "select * from ruku where 申购部门 like \"技术%\" and 日期>#2026-01-01# ORDER BY 日期 desc,id desc",
        "select Sum(数量) AS 总计 from ruku where 登记人=\"张\"",
        "select * from ruku where 申购人=\"张\" ORDER BY 日期 desc,id desc",
        "select * from ruku where 供应商 =\"甲\" ORDER BY 日期 desc,id desc",
        "select * from ruku where 物品名称 =\"纸\" and 类型 =\"A4\" ORDER BY 日期 desc,id desc",
        "select * from ruku where 备注 =\"x\" ORDER BY 日期 desc,id desc",
        "select * from oprint where 日期 between #2026-03-02# and #2026-03-08 23:59:59# ORDER BY 日期 desc,id desc",
        "select * from gift where 日期 like '2026-03%' ORDER BY 日期 desc,id desc",
        "select 姓名,部门,物品名称,类型,sum(数量) AS 数量,单位,'2026' as 日期,'' as 备注 from oprint "
        "where 日期 like '2026%' group by 姓名,部门,物品名称,类型,单位",
        "select 供应商,物品名称,类型,sum(数量) AS 数量,sum(金额) AS 金额,单位,'2026' as 日期,'' as 备注 from ruku "
        "where 日期 between #2026-01-01# and #2026-06-30# group by 供应商,物品名称,类型,单位",
        "select * from oprint where 姓名=\"张三\" order by 日期 desc,id desc",
        "select * from gift where 来客姓名 =\"王\"",
        "select DISTINCT 姓名 from (select top 20 * from oprint order by id desc)",
        "select top 1 id from gift order by id desc",
        "select * from oprint order by 日期 desc,id desc",
        "select Sum(数量) AS 总计 from ruku",
    };
    for (const char* statement : statements)
        PlanQuery(String::fromUtf8(statement));
    EXPECT_EQ(FScans, QStringList());
}

// A file of an earlier version, with records and without the indexes, gets them when the
// program opens it; its records stay as they were.
class TIndexUpgradeTest : public TAppTest {
protected:
    // The indexes beside the three date indexes every file has, by name.
    static QStringList AddedIndexes()
    {
        QStringList names = Rows("select name from sqlite_schema where type='index' and sql is not null "
                                 "and name not in ('oprint_date','gift_date','ruku_date')");
        names.sort();
        return names;
    }
};

TEST_F(TIndexUpgradeTest, OpeningAnEarlierFileAddsTheIndexesAndKeepsTheRecords)
{
    OpenWindows();
    Execute("insert into oprint(姓名,部门,数量,日期) values('张三','技术部',3,'2026-03-02 10:00:00'),"
            "('李四','财务部',1,'2025-01-02 08:00:00')");
    const QStringList indexes = Rows("select name from sqlite_schema where type='index' and name like 'oprint_部门'");
    ASSERT_EQ(indexes, QStringList{QStringLiteral("oprint_部门")});
    const QStringList added = AddedIndexes();
    for (const String& name : added)
        Execute(QStringLiteral("DROP INDEX \"%1\"").arg(name).toUtf8().constData());
    const QStringList records = Rows("select * from oprint order by id");
    CloseWindows();

    OpenWindows();
    EXPECT_EQ(AddedIndexes(), added);
    EXPECT_EQ(Rows("select * from oprint order by id"), records);
    // A second opening finds them all and changes nothing.
    CreateOprIndexes(*MF1->ADOCon1);
    EXPECT_EQ(Rows("select count(*) from sqlite_schema where type='index'").front().toInt(), added.size() + 3);
}
