// Queries with the application's statements: parameters, stored values, filters, totals, errors.
#include "platform/ado/ADODB.h"

#include "platform/ado/SQLite.h"
#include "platform/ado/TestTables.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

using TParams = std::vector<std::pair<const char*, Variant>>;

// Runs the application's statements on a fresh database file.
class ADOQueryTest : public testing::Test {
protected:
    ADOQueryTest()
    {
        ConnectWithTestTables(FConnection, FDir.filePath(QStringLiteral("opr.mdb")));
        FConnection.SetLoginPrompt(false);
        FQuery.SetConnection(&FConnection);
    }

    void SetSql(const char* Sql, const TParams& Params = {})
    {
        FQuery.Close();
        FQuery.SQL()->Clear();
        FQuery.SQL()->Add(String::fromUtf8(Sql));
        for (const auto& [name, value] : Params)
            FQuery.Parameters()->ParamByName(String::fromUtf8(name))->SetValue(value);
    }

    int Exec(const char* Sql, const TParams& Params = {})
    {
        SetSql(Sql, Params);
        return FQuery.ExecSQL();
    }

    // Every record as "v1|v2|...", records joined by ";".
    String Rows(const char* Sql, const TParams& Params = {})
    {
        SetSql(Sql, Params);
        FQuery.Open();
        return Dump();
    }

    String Dump()
    {
        QStringList records;
        for (FQuery.First(); !FQuery.Eof(); FQuery.Next()) {
            QStringList values;
            for (TField* field : *FQuery.Fields())
                values << field->AsString();
            records << values.join(u'|');
        }
        return records.join(u';');
    }

    void AddIssue(const char* Name, const char* Dept, int Count, const char* Item, const char* Type, const char* Date,
                  const char* Remark = "")
    {
        Exec("insert into oprint(姓名,部门,数量,单位,物品名称,类型,日期,时间,备注) "
             "values(:sname,:sdept,:sno,:sdw,:spname,:spty,:sdate,:stime,:sremark)",
             {{"sname", Name}, {"sdept", Dept}, {"sno", Count}, {"sdw", "个"}, {"spname", Item}, {"spty", Type},
              {"sdate", Variant::FromDateTime(StrToDateTime(String::fromUtf8(Date)))},
              {"stime", String::fromUtf8(Date).mid(11)}, {"sremark", Remark}});
    }

    void AddIssues()
    {
        AddIssue("张三", "财务部", 2, "签字笔", "黑", "2025-12-31 23:59:59");
        AddIssue("李四", "技术部", 5, "打印纸", "A4", "2026-01-05 08:30:00", "急用");
        AddIssue("王五", "财务部", 1, "签字笔", "红", "2026-03-02 10:00:00");
        AddIssue("赵六", "技术部", 3, "文件夹", "", "2026-03-02 10:00:00");
    }

    static std::string Utf8(const String& S) { return S.toStdString(); }

    QTemporaryDir FDir;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
};

}  // namespace

TEST_F(ADOQueryTest, ParametersParseWhenTheSqlIsSet)
{
    SetSql("insert into gift(来客姓名,日期) values(:sna, :sdate) -- ':not' \"x:y\"");
    ASSERT_EQ(FQuery.Parameters()->Count(), 2);
    EXPECT_EQ(FQuery.Parameters()->Items(1)->Name(), u"sdate");
    EXPECT_EQ(FQuery.Parameters()->ParamByName(QStringLiteral("SNA")), FQuery.Parameters()->Items(0));
    EXPECT_THROW(FQuery.Parameters()->ParamByName(QStringLiteral("x")), EDatabaseError);
    FQuery.SetParamCheck(false);
    SetSql("select * from rmark where 备注=:a");
    EXPECT_EQ(FQuery.Parameters()->Count(), 2);
}

TEST_F(ADOQueryTest, ARepeatedParameterBindsEveryPlaceItAppearsWhateverItsCase)
{
    Exec("insert into dept(部门编号,部门) values('01','财务部')");
    SetSql("select 部门 from dept where 部门=:a or 部门编号=:A");
    ASSERT_EQ(FQuery.Parameters()->Count(), 1);
    FQuery.Parameters()->Items(0)->SetValue(QStringLiteral("01"));
    FQuery.Open();
    EXPECT_EQ(Utf8(Dump()), "财务部");
}

TEST_F(ADOQueryTest, RegistrationStatementsStoreTypedValues)
{
    AddIssues();
    Exec("insert into ouser(姓名,姓名编号,部门) values(:a,:d,:b)", {{"a", "张三"}, {"d", "zs"}, {"b", "财务部"}});
    Exec("insert into rmark(备注) values(:a)", {{"a", "急用"}});
    EXPECT_EQ(Exec("update ouser SET 次数=次数+1 where 姓名=:a;", {{"a", "张三"}}), 1);
    EXPECT_EQ(Exec("update rmark SET 次数=次数+1 where 备注=:a;", {{"a", ""}}), 0);
    EXPECT_EQ(Exec("update rmark SET 次数=次数+1 where 备注=:a;", {{"a", "急用"}}), 1);
    EXPECT_EQ(Utf8(Rows("select * from ouser;")), "1|张三|zs|财务部|1");
    EXPECT_EQ(Utf8(Rows("select * from rmark order by 备注")), "1|急用|1");

    Rows("select * from oprint order by 日期 desc,id desc;");
    EXPECT_EQ(FQuery.FieldByName(QStringLiteral("id"))->DataType(), TFieldType::ftAutoInc);
    EXPECT_EQ(FQuery.FieldByName(String::fromUtf8("数量"))->DataType(), TFieldType::ftInteger);
    EXPECT_EQ(FQuery.FieldByName(String::fromUtf8("日期"))->DataType(), TFieldType::ftDateTime);
    EXPECT_EQ(FQuery.FieldByName(String::fromUtf8("姓名"))->DataType(), TFieldType::ftWideString);
    FQuery.First();
    EXPECT_EQ(Utf8(FQuery.Fields()->Fields(7)->AsString()), "2026-03-02 10:00:00");
    EXPECT_EQ(FQuery.FieldByName(QStringLiteral("id"))->AsInteger(), 4);  // equal dates: newest id first
    EXPECT_EQ(FQuery.RecordCount(), 4);
    // Empty text is stored as '', never NULL.
    EXPECT_EQ(Utf8(Rows("select count(*) from oprint where 备注 is null")), "0");

    Exec("insert into ruku(物品名称,类型,供应商,数量,单位,单价,金额,申购人,申购部门,登记人,日期,时间,备注) "
         "values(:spname,:spty,:sgys,:sno,:sdw,:sdj,:sje,:ssgr,:sdept,:sdjr,:sdate,:stime,:sremark)",
         {{"spname", "打印纸"}, {"spty", "A4"}, {"sgys", "文具店"}, {"sno", "10"}, {"sdw", "包"}, {"sdj", 25.5},
          {"sje", 255.0}, {"ssgr", "李四"}, {"sdept", "技术部"}, {"sdjr", "王五"},
          {"sdate", Variant::FromDateTime(EncodeDate(2026, 2, 1))}, {"stime", "09:00:00"}, {"sremark", ""}});
    Rows("select * from ruku");
    EXPECT_EQ(FQuery.FieldByName(String::fromUtf8("单价"))->DataType(), TFieldType::ftFloat);
    EXPECT_EQ(Utf8(Dump()), "1|打印纸|A4|文具店|10|包|25.5|255|李四|技术部|王五|2026-02-01|09:00:00|");
}

TEST_F(ADOQueryTest, CatalogueUpkeep)
{
    const TParams item{{"pna", "签字笔"}, {"pty", "黑"}};
    EXPECT_EQ(Utf8(Rows("select * from ptype where 物品名称=:pna and 类型=:pty;", item)), "");
    Exec("insert into ptype(物品名称,编号,类型,单位,礼品) values(:spna,:spno,:sty,:sdw,:sg)",
         {{"spna", "签字笔"}, {"spno", "qzb"}, {"sty", "黑"}, {"sdw", "支"}, {"sg", "办公"}});
    Exec("update ptype SET 次数=次数+1 where 物品名称=:a and 类型=:b;", {{"a", "签字笔"}, {"b", "黑"}});
    EXPECT_EQ(Utf8(Rows("select * from ptype where 物品名称=:pna and 类型=:pty;", item)), "1|签字笔|qzb|黑|支|办公|1");
    EXPECT_EQ(Utf8(Rows("select top 1 id from ptype order by id desc")), "1");
}

TEST_F(ADOQueryTest, PageFiltersAndTotals)
{
    AddIssues();
    EXPECT_EQ(Utf8(Rows("select * from oprint where 部门 like \"财务%\" and 日期 like '2026%' ORDER BY 日期 desc,id desc")),
              "3|王五|财务部|1|个|签字笔|红|2026-03-02 10:00:00|10:00:00|");
    EXPECT_EQ(Utf8(Rows("select Sum(数量) AS 总计 from oprint where 日期 like '2026%'")), "9");
    EXPECT_EQ(Utf8(Rows("select sum(数量) AS 总计 from oprint where 姓名=\"nobody\"")), "");
    // Text = ignores case, as Jet's does.
    AddIssue("Alice", "IT", 1, "Pen", "x", "2026-04-01 00:00:00");
    EXPECT_EQ(Utf8(Rows("select id from oprint where 姓名=\"ALICE\" and 物品名称 =\"pen\" and 部门 like \"it%\"")), "5");
    EXPECT_EQ(Utf8(Rows("select id from oprint where 数量 =5")), "2");
    // Date operators compare the stored text with the literal at midnight.
    EXPECT_EQ(Utf8(Rows("select id from oprint where 日期>=#2026-03-02# order by id")), "3;4;5");
    EXPECT_EQ(Utf8(Rows("select id from oprint where 日期 <=#2026-03-02# order by id")), "1;2");
    EXPECT_EQ(Utf8(Rows("select id from oprint where 日期<#2026-01-05 08:30:00#")), "1");
    EXPECT_EQ(Utf8(Rows("select id from oprint where 日期 between #2025-12-29 00:00:00# and #2026-01-04 23:59:59#")), "1");
    EXPECT_EQ(Utf8(Rows("select id from oprint where 日期 like '2026-03%' order by 日期 desc,id desc")), "4;3");
    EXPECT_EQ(Utf8(Rows("select id from oprint where 日期 like '%2026-01-05%'")), "2");
    EXPECT_EQ(Utf8(Rows("select id from oprint where  时间 like '%08:30:0%'")), "2");
    EXPECT_EQ(Utf8(Rows("select Sum(数量) AS 总计 from oprint")), "12");
}

TEST_F(ADOQueryTest, Summaries)
{
    AddIssues();
    EXPECT_EQ(Utf8(Rows("select 部门,物品名称,类型,sum(数量) AS 数量,单位,'2026' as 日期,'全年' as 备注 from oprint "
                        "where 日期 like '2026%' group by 部门,物品名称,类型,单位 order by 部门,物品名称")),
              "财务部|签字笔|红|1|个|2026|全年;技术部|打印纸|A4|5|个|2026|全年;技术部|文件夹||3|个|2026|全年");
    Exec("insert into ruku(物品名称,类型,数量,单位,单价,金额,日期) values('纸','A4',2,'包',1.5,3,'2026-01-01 00:00:00')");
    Exec("insert into ruku(物品名称,类型,数量,单位,单价,金额,日期) values('纸','A4',4,'包',1.5,6,'2026-01-02 00:00:00')");
    EXPECT_EQ(Utf8(Rows("select 物品名称,类型,sum(数量) AS 数量,sum(金额) AS 金额,单位,'2026' as 日期,'x' as 备注 "
                        "from ruku where 日期 between #2026-01-01# and #2026-12-31 23:59:59# group by  物品名称,类型,单位")),
              "纸|A4|6|9|包|2026|x");
}

TEST_F(ADOQueryTest, DropDownListsAndPinyinOrder)
{
    for (const char* name : {"张三", "阿明", "鑫", "蔡文", "犇", "丁一", "Bob", "alice"})
        Exec("insert into ouser(姓名,姓名编号,部门) values(:a,:d,:b)", {{"a", name}, {"d", "x"}, {"b", "部"}});
    // Latin letters, compared without case, before Chinese in pinyin order.
    EXPECT_EQ(Utf8(Rows("select 姓名 from ouser order by 姓名")), "alice;Bob;阿明;犇;蔡文;丁一;鑫;张三");
    EXPECT_EQ(Utf8(Rows("select DISTINCT 姓名 from ouser where 姓名编号 like \"X%\" order by 姓名 desc")),
              "张三;鑫;丁一;蔡文;犇;阿明;Bob;alice");
    AddIssues();
    EXPECT_EQ(Utf8(Rows("select DISTINCT 姓名 from (select top 2 * from oprint order by id desc) order by 姓名")), "王五;赵六");
    Exec("insert into ptype(物品名称,类型,礼品,次数) values('笔','a','办公礼品',5)");
    Exec("insert into ptype(物品名称,类型,礼品,次数) values('纸','a','办公',9)");
    Exec("insert into ptype(物品名称,类型,礼品,次数) values('笔','b','礼品',1)");
    EXPECT_EQ(Utf8(Rows("select 物品名称 from ptype group by 物品名称 order by max(次数) desc")), "纸;笔");
    EXPECT_EQ(Utf8(Rows("select 物品名称 from ptype where 礼品 like \"%礼品\" group by 物品名称 order by max(次数) asc")), "笔");
    EXPECT_EQ(Utf8(Rows("select DISTINCT 类型 from ptype order by 类型")), "a;b");
    EXPECT_EQ(Utf8(Rows("select * from ptype where 物品名称 = \"笔\"order by 次数 desc")), "1|笔||a||办公礼品|5;3|笔||b||礼品|1");
}

TEST_F(ADOQueryTest, SpecialCharactersRoundTripOrFailCleanly)
{
    for (const char* value : {"引号\"内", "it's", "100%", "#1", "", "中文 text"}) {
        Exec("insert into rmark(备注) values(:a)", {{"a", value}});
        EXPECT_EQ(Utf8(Rows("select 备注 from rmark where 备注=:a", {{"a", value}})), value);
    }
    EXPECT_EQ(Utf8(Rows("select 备注 from rmark where 备注=\"it's\"")), "it's");
    EXPECT_EQ(Utf8(Rows("select 备注 from rmark where 备注 like \"%100%%\"")), "100%");
    EXPECT_EQ(Utf8(Rows("select 备注 from rmark where 备注=\"#1\"")), "#1");
    // A spliced value holding " ends the literal where Jet ends it: an error, never other SQL.
    EXPECT_THROW(Rows("select * from rmark where 备注=\"引号\"内\""), EDatabaseError);
    EXPECT_THROW(Rows("select * from rmark where 备注=\"x\";delete from rmark;\""), EDatabaseError);
    EXPECT_THROW(Exec("delete from rmark; delete from ouser"), EDatabaseError);
    EXPECT_EQ(Utf8(Rows("select count(*) from rmark")), "6");
}

TEST_F(ADOQueryTest, TextAfterANulCharacterIsAnErrorNotCutOff)
{
    AddIssues();
    static constexpr char deleteOne[] = "delete from oprint\0 where id = 99";
    const String withNul = String::fromUtf8(deleteOne, sizeof deleteOne - 1);
    FQuery.SQL()->SetText(withNul);
    EXPECT_THROW(FQuery.ExecSQL(), EDatabaseError);
    EXPECT_THROW(FConnection.Execute(withNul), EDatabaseError);
    EXPECT_THROW(FConnection.Database().ExecuteScript(withNul), EDatabaseError);
    static constexpr char selectOne[] = "select * from oprint\0 where id = 99";
    FQuery.SQL()->SetText(String::fromUtf8(selectOne, sizeof selectOne - 1));
    EXPECT_THROW(FQuery.Open(), EDatabaseError);
    EXPECT_EQ(Utf8(Rows("select count(*) from oprint")), "4");
    // Bound as a parameter, a NUL is text like any other.
    Exec("insert into rmark(备注) values(:a)", {{"a", String::fromUtf8(deleteOne, sizeof deleteOne - 1)}});
    EXPECT_EQ(Rows("select 备注 from rmark"), withNul);
}

TEST_F(ADOQueryTest, ErrorsNameTheStatement)
{
    try {
        Rows("select * from nosuchtable");
        FAIL();
    } catch (const EDatabaseError& E) {
        EXPECT_TRUE(E.Message().contains(u"no such table")) << Utf8(E.Message());
        EXPECT_TRUE(E.Message().contains(u"select * from nosuchtable")) << Utf8(E.Message());
    }
    EXPECT_FALSE(FQuery.Active());
    TADOQuery orphan(nullptr);
    EXPECT_THROW(orphan.Open(), EDatabaseError);
}

TEST_F(ADOQueryTest, SingleTableResultsEditAndDeleteById)
{
    AddIssues();
    Rows("select * from oprint order by 日期 desc,id desc");
    EXPECT_TRUE(FQuery.CanModify());
    ASSERT_TRUE(FQuery.Locate(QStringLiteral("id"), Variant(2), TLocateOptions()));
    FQuery.Edit();
    FQuery.FieldByName(String::fromUtf8("备注"))->SetAsString(QStringLiteral("改\"了'"));
    FQuery.FieldByName(String::fromUtf8("数量"))->SetAsInteger(7);
    FQuery.Post();
    ASSERT_TRUE(FQuery.Locate(QStringLiteral("id"), Variant(3), TLocateOptions()));
    FQuery.Delete();
    EXPECT_EQ(FQuery.RecordCount(), 3);
    EXPECT_EQ(Utf8(Rows("select id,数量,备注 from oprint order by id")), "1|2|;2|7|改\"了';4|3|");
    EXPECT_FALSE(FQuery.CanModify());
    FQuery.First();
    EXPECT_THROW(FQuery.Edit(), EDatabaseError);
}

TEST_F(ADOQueryTest, PostingARowDeletedElsewhereFailsAndKeepsTheEdit)
{
    Exec("insert into dept(部门编号,部门) values('01','财务部')");
    TADOQuery list(nullptr);
    list.SetConnection(&FConnection);
    list.SQL()->SetText(String::fromUtf8("select * from dept"));
    list.Open();
    Exec("delete from dept");
    list.Edit();
    list.FieldByName(String::fromUtf8("部门"))->SetAsString(String::fromUtf8("人事部"));
    EXPECT_THROW(list.Post(), EDatabaseError);
    EXPECT_EQ(list.State(), TDataSetState::dsEdit);
    EXPECT_EQ(Utf8(list.FieldByName(String::fromUtf8("部门"))->AsString()), "人事部");
}

TEST_F(ADOQueryTest, DateTextOtherProgramsStoredReadsWithoutErrors)
{
    for (const char* date : {"", "2026/1/5 8:00", "不是日期", "2026-03-02 10:00:00"})
        Exec("insert into oprint(姓名,日期) values('x',:d)", {{"d", date}});
    Rows("select * from oprint order by id");
    TField* date = FQuery.FieldByName(String::fromUtf8("日期"));
    QStringList shown;
    for (FQuery.First(); !FQuery.Eof(); FQuery.Next())
        shown << date->DisplayText() + u'/' + date->AsString() + u'/' + (date->IsNull() ? u'N' : u'v');
    EXPECT_EQ(Utf8(shown.join(u';')),
              "//N;2026/1/5 8:00/2026/1/5 8:00/v;不是日期/不是日期/v;2026-03-02 10:00:00/2026-03-02 10:00:00/v");
}

TEST_F(ADOQueryTest, StaticCursorSortsOnTheClient)
{
    AddIssues();
    Rows("select * from oprint order by 日期 desc,id desc");
    const TBookmark third = (FQuery.Locate(QStringLiteral("id"), Variant(3), TLocateOptions()), FQuery.Bookmark());
    Exec("insert into oprint(姓名) values('后来')");  // not part of the open query's records
    Rows("select * from oprint where id <= 4 order by 日期 desc,id desc");
    FQuery.SetSort(String::fromUtf8("姓名 ASC"));
    QStringList names;
    for (FQuery.First(); !FQuery.Eof(); FQuery.Next())
        names << FQuery.FieldByName(String::fromUtf8("姓名"))->AsString();
    EXPECT_EQ(Utf8(names.join(u',')), "李四,王五,张三,赵六");
    FQuery.SetSort(String::fromUtf8("数量 DESC"));
    FQuery.First();
    EXPECT_EQ(FQuery.FieldByName(String::fromUtf8("数量"))->AsInteger(), 5);
    FQuery.SetBookmark(third);
    EXPECT_EQ(FQuery.FieldByName(QStringLiteral("id"))->AsInteger(), 3);
    EXPECT_EQ(FQuery.RecNo(), 4);
    FQuery.SetSort(String());
    FQuery.First();
    EXPECT_EQ(FQuery.FieldByName(QStringLiteral("id"))->AsInteger(), 4);
}

TEST_F(ADOQueryTest, ClosingTheConnectionClosesItsQueries)
{
    Rows("select * from dept order by 部门编号");
    EXPECT_TRUE(FQuery.Active());
    FConnection.Close();
    EXPECT_FALSE(FQuery.Active());
    SetSql("select * from dept");
    FQuery.Open();  // reconnects
    EXPECT_TRUE(FConnection.Connected());
}

TEST_F(ADOQueryTest, DestroyingAnOpenQueryRunsNoCloseHandlers)
{
    int handlerCalls = 0;
    auto query = std::make_unique<TADOQuery>(nullptr);
    query->SetConnection(&FConnection);
    query->SQL()->SetText(QStringLiteral("select * from dept"));
    query->Open();
    query->BeforeClose = [&handlerCalls](TDataSet*) { ++handlerCalls; };
    query->AfterClose = [&handlerCalls](TDataSet*) { ++handlerCalls; };
    query.reset();
    EXPECT_EQ(handlerCalls, 0);
}
