// The query plans of the application's statements: no statement reads a whole record table
// where an index could serve it, and opening a file of an earlier version adds the indexes
// without touching its records.
#include "AppTestSupport.h"

#include "app/oprIndexes.h"
#include "platform/ado/SQLiteCursor.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/GroupBox.h"
#include "platform/ui/UiTestSupport.h"

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
    // A double-clicked price or amount: an occasional query of the stock-in list, not worth an
    // index every registration would keep.
    {R"(where (单价|金额) =)", "a price or amount"},
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
    // Every connection the program opens is traced, the lists' snapshot connections too, as
    // they count the records.
    void SetUp() override
    {
        Tracing = this;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&TQueryPlanTest::TraceConnection));
        TAppTest::SetUp();
        OpenWindows();
        Execute("insert into oprint(姓名,部门,数量,单位,物品名称,类型,日期,时间,备注) "
                "values('张三','技术部',3,'个','签字笔','A4','2026-03-02 10:00:00','10:00:00','急用')");
        FTraced.clear();
    }

    void TearDown() override
    {
        TAppTest::TearDown();
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&TQueryPlanTest::TraceConnection));
        Tracing = nullptr;
    }

    static int TraceConnection(sqlite3* Db, char**, const void*)
    {
        sqlite3_trace_v2(Db, SQLITE_TRACE_STMT, &TQueryPlanTest::Trace, Tracing);
        return SQLITE_OK;
    }

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
    void PlanQuery(const String& JetSql, const TStatementBinder& Bind = {}, const QStringList& Totals = {})
    {
        for (const String& sql : CursorStatements(MF1->ADOCon1->Translate(JetSql), Totals))
            if (!ScanAllowed(sql))
                FScans << Scans(sql, Bind);
        ++FPlanned;
    }

    void PlanQuery(TADOQuery* Query)
    {
        PlanQuery(Query->SQL()->Text(), [Query](TSQLiteStatement& Statement) { Query->Parameters()->Bind(Statement); },
                  Query->Totals());
    }

    // The issue page's list, which takes its total with its count, as its query button builds it now.
    void PlanIssueQuery()
    {
        MF1->BitBtn1->Click();
        PlanQuery(MF1->dbouser1);
    }

    static inline TQueryPlanTest* Tracing = nullptr;
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
    EXPECT_EQ(FPlanned, 1 + 12 + 6);
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

// The statements the gift and stock-in pages' filters, the quick filters, the summaries, the
// cell queries and the fillings of the entry fields run, as they run them.
TEST_F(TQueryPlanTest, TheOtherPagesQueriesSearchAnIndex)
{
    Execute("insert into gift(来客姓名,来客单位,职务,领取人,领取部门,批准,类型,礼品名称,数量,单位,日期) "
            "values('王','华为','经理','李四','办公室','赵','茶','茶叶',2,'盒','2026-03-02 00:00:00');"
            "insert into ruku(申购部门,登记人,申购人,类型,物品名称,供应商,数量,单位,单价,金额,日期) "
            "values('技术部','张','吴','A4','纸','甲',1,'包',2.5,2.5,'2026-03-02 00:00:00');"
            "insert into ouser(姓名,姓名编号,部门) values('张三','zs','技术部');"
            "insert into ptype(物品名称,编号,类型,单位) values('签字笔','qzb','0.5mm','支')");
    const std::pair<TComboBox*, const char*> fields[] = {
        {MF1->ComboBox9, "华"},   {MF1->ComboBox10, "王"}, {MF1->ComboBox17, "经理"}, {MF1->ComboBox18, "李四"},
        {MF1->ComboBox19, "赵"},  {MF1->ComboBox12, "茶"}, {MF1->ComboBox13, "茶叶"}, {MF1->ComboBox15, "2"},
        {MF1->ComboBox11, "x"},   {MF1->ComboBox31, "技术"}, {MF1->ComboBox24, "张"}, {MF1->ComboBox32, "吴"},
        {MF1->ComboBox26, "A4"},  {MF1->ComboBox27, "纸"}, {MF1->ComboBox23, "甲"},   {MF1->ComboBox29, "1"},
        {MF1->ComboBox25, "x"},
    };
    for (const auto& [field, text] : fields) {
        field->SetText(String::fromUtf8(text));
        (field->Parent() == MF1->GroupBox2 ? MF1->BitBtn8 : MF1->BitBtn11)->Click();
        field->SetText(String());
    }
    for (Char tab : {u'g', u'c'}) {
        const TMF1::TRecordPage page = MF1->RecordPage(tab);
        for (const char* op : {"=", "<", ">=", "介于"}) {
            page.Operator->SetText(String::fromUtf8(op));
            (tab == u'g' ? MF1->BitBtn8 : MF1->BitBtn11)->Click();
        }
        page.Operator->SetText(NoDateLimit);
    }
    for (Char tab : {u'a', u'g', u'c'}) {
        const TMF1::TRecordPage page = MF1->RecordPage(tab);
        for (const char* quick : {"本年", "本月", "本周", "本日", "全部"}) {
            page.QuickCombo->SetText(String::fromUtf8(quick));
            MF1->RunQuickDateFilter(page);
        }
        for (const char* op : {"不限制", "=", "<", "介于"}) {
            page.Operator->SetText(String::fromUtf8(op));
            for (int kind = 1; kind <= 6; ++kind)
                MF1->ShowSummary(kind, tab);
        }
        page.Operator->SetText(NoDateLimit);
        const char* const name = tab == u'g' ? "来客姓名" : tab == u'c' ? "申购人" : "姓名";
        for (const char* field : {name, "日期", "时间", "数量"})
            MF1->QueryByCellValue(page, String::fromUtf8(field), QStringLiteral("3"));
    }
    MF1->QueryByCellValue(MF1->RecordPage(u'c'), QStringLiteral("金额"), QStringLiteral("2.5"));
    // The fillings: a department's people, a person's department, an item's types, a guest's details.
    MF1->ComboBox1->Items()->Clear();
    MF1->ComboBox1->Items()->Add(QStringLiteral("技术部"));
    SendKey(MF1->ComboBox1->Handle(), Qt::Key_Down);
    CommitText(MF1->ComboBox3->Handle(), QStringLiteral("张三"));
    MF1->ComboBox5->SetText(String());
    CommitText(MF1->ComboBox5->Handle(), QStringLiteral("签字笔"));
    CommitText(MF1->ComboBox10->Handle(), QStringLiteral("王"));
    EXPECT_EQ(MF1->ComboBox9->Text(), QStringLiteral("华为"));

    const QStringList traced = FTraced;
    for (const char* table : {"gift", "ruku", "ouser", "ptype"})
        EXPECT_FALSE(traced.filter(QStringLiteral("from ") + String::fromUtf8(table) + u' ').isEmpty()) << table;
    EXPECT_FALSE(traced.filter(QStringLiteral("group by")).isEmpty());
    for (const String& sql : traced)
        if (!ScanAllowed(sql))
            FScans << Scans(sql);
    EXPECT_EQ(FScans, QStringList()) << FScans.join(u'\n').toStdString();
}

// The stock-in page's year, as every start and reset shows it: its count and both totals (the
// quantity and the footer's amount) are read from one index, never from the records' rows.
TEST_F(TQueryPlanTest, TheStockInYearCountsAndTotalsFromTheDateIndexAlone)
{
    FTraced.clear();
    MF1->BitBtn11->Click();
    const QStringList sums = FTraced.filter(QRegularExpression(QStringLiteral("金额.*from ruku where"),
                                                               QRegularExpression::CaseInsensitiveOption));
    ASSERT_FALSE(sums.isEmpty()) << FTraced.join(u'\n').toStdString();
    for (const String& sql : sums) {
        TSQLiteStatement plan = MF1->ADOCon1->Database().Prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
        QStringList details;
        while (plan.Step())
            details << plan.ColumnText(3);
        EXPECT_EQ(details.filter(QStringLiteral("COVERING INDEX")).size(), details.size())
            << details.join(u'\n').toStdString() << " in " << sql.toStdString();
    }
}

// The statements of the drop-down lists, with typical values.
TEST_F(TQueryPlanTest, TheDropDownListsStatementsSearchAnIndex)
{
    const char* const statements[] = {
        "select DISTINCT 姓名 from (select top 20 * from oprint order by id desc)",
        "select top 1 id from gift order by id desc",
    };
    for (const char* statement : statements)
        PlanQuery(String::fromUtf8(statement));
    EXPECT_EQ(FScans, QStringList());
}

// A file of an earlier version, with records and without the indexes, gets them when the
// program opens it; its records stay as they were.
class TIndexUpgradeTest : public TAppTest {
protected:
    // The indexes beside the two date indexes every file has, by name.
    static QStringList AddedIndexes()
    {
        QStringList names = Rows("select name from sqlite_schema where type='index' and sql is not null "
                                 "and name not in ('oprint_date','gift_date')");
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
    EXPECT_EQ(Rows("select count(*) from sqlite_schema where type='index'").front().toInt(), added.size() + 2);
}

// Earlier files have a stock-in date index without the amount, which the one with it makes
// redundant: opening drops it, the stock-in list still reads its year in the index with the amount.
TEST_F(TIndexUpgradeTest, OpeningAnEarlierFileDropsTheStockInDateIndexWithoutTheAmount)
{
    OpenWindows();
    EXPECT_EQ(Rows("select name from sqlite_schema where name like 'ruku\\_date' escape '\\'"), QStringList());
    Execute("CREATE INDEX ruku_date ON ruku(日期, id, 数量)");
    CloseWindows();

    OpenWindows();
    EXPECT_EQ(Rows("select name from sqlite_schema where name like 'ruku\\_date' escape '\\'"), QStringList());
    TSQLiteStatement plan = MF1->ADOCon1->Database().Prepare(
        QStringLiteral("EXPLAIN QUERY PLAN select count(*), sum(数量), sum(金额) from ruku where 日期 like '2026%'"));
    ASSERT_TRUE(plan.Step());
    EXPECT_TRUE(plan.ColumnText(3).contains(QStringLiteral("COVERING INDEX ruku_日期"))) << plan.ColumnText(3).toStdString();
}
