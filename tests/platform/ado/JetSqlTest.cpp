// The Jet SQL translation: literals, dates, TOP, pinyin order, parameters and column types.
#include "platform/ado/JetSql.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

namespace {

bool PinyinColumn(const String& Column)
{
    return Column == u"姓名" || Column == u"部门" || Column == u"物品名称" || Column == u"供应商";
}

String Sql(const char* Jet) { return TranslateJetSql(String::fromUtf8(Jet), PinyinColumn).Sql; }

std::string Utf8(const String& S) { return S.toStdString(); }

}  // namespace

TEST(JetSqlTest, DoubleQuotedLiteralsBecomeSqlStrings)
{
    EXPECT_EQ(Utf8(Sql(R"(select * from ouser where 部门 ="财务"order by 次数 desc)")),
              "select * from ouser where 部门 = '财务' order by 次数 desc");
    EXPECT_EQ(Utf8(Sql(R"(select * from t where a="it's")")), "select * from t where a = 'it''s'");
    EXPECT_EQ(Utf8(Sql(R"(select * from t where a="say ""hi""")")), R"(select * from t where a = 'say "hi"')");
    EXPECT_EQ(Utf8(Sql(R"(select * from t where a like "%50#%")")), "select * from t where a like '%50#%'");
    EXPECT_EQ(Utf8(Sql("select * from t where a='x;y' and b=\"\"")), "select * from t where a = 'x;y' and b = ''");
}

TEST(JetSqlTest, QuoteInsideSplicedValueFailsCleanly)
{
    // The value ab"c spliced between quotes ends the literal after ab, as Jet reads it.
    EXPECT_THROW(Sql(R"(select * from oprint where 姓名="ab"c")"), EDatabaseError);
    EXPECT_THROW(Sql(R"(select * from oprint where 姓名="x";delete from oprint;")"), EDatabaseError);
    try {
        Sql(R"(select * from t where a="open)");
        FAIL();
    } catch (const EDatabaseError& E) {
        EXPECT_TRUE(E.Message().contains(u"select * from t where a=\"open")) << Utf8(E.Message());
    }
}

TEST(JetSqlTest, DateLiteralsBecomeStoredText)
{
    EXPECT_EQ(Utf8(Sql("select * from t where 日期>=#2026-12-09#")),
              "select * from t where 日期 >= '2026-12-09 00:00:00'");
    EXPECT_EQ(Utf8(Sql("select * from t where 日期 between #2026-1-5 4:06:53# and #12/09/2026 23:59:59#")),
              "select * from t where 日期 between '2026-01-05 04:06:53' and '2026-12-09 23:59:59'");
    EXPECT_EQ(Utf8(Sql("select * from t where 日期 <#2026/12/9 08:30#")),
              "select * from t where 日期 < '2026-12-09 08:30:00'");
    EXPECT_THROW(Sql("select * from t where 日期<#2026-02-30#"), EDatabaseError);
    EXPECT_THROW(Sql("select * from t where 日期<#tomorrow#"), EDatabaseError);
    EXPECT_THROW(Sql("select * from t where 日期<#2026-02-03"), EDatabaseError);
}

TEST(JetSqlTest, TopBecomesLimitOfItsOwnSelect)
{
    EXPECT_EQ(Utf8(Sql("select top 1 id from ouser order by id desc")), "select id from ouser order by id desc LIMIT 1");
    EXPECT_EQ(Utf8(Sql("select DISTINCT 来客姓名 from (select top 50 * from gift order by id desc) order by 来客姓名 asc")),
              "select DISTINCT 来客姓名 from ( select * from gift order by id desc LIMIT 50 ) order by 来客姓名 asc");
    EXPECT_EQ(Utf8(Sql("select distinct top 3 姓名 from ouser")), "select distinct 姓名 from ouser LIMIT 3");
}

TEST(JetSqlTest, OrderByTextColumnsSortsPinyin)
{
    EXPECT_EQ(Utf8(Sql("select * from ouser order by 部门 asc, 姓名 asc;")),
              "select * from ouser order by 部门 COLLATE PINYIN asc , 姓名 COLLATE PINYIN asc");
    EXPECT_EQ(Utf8(Sql("select * from oprint order by 日期 desc,id desc")), "select * from oprint order by 日期 desc , id desc");
    EXPECT_EQ(Utf8(Sql("select 物品名称 from ptype group by 物品名称 order by max(次数) desc")),
              "select 物品名称 from ptype group by 物品名称 order by max ( 次数 ) desc");
    EXPECT_EQ(Utf8(Sql("select * from supplier order by [供应商]")),
              "select * from supplier order by [供应商] COLLATE PINYIN");
}

TEST(JetSqlTest, OnlyOneStatementRuns)
{
    EXPECT_EQ(Utf8(Sql("select * from rmark;  ")), "select * from rmark");
    EXPECT_THROW(Sql("select * from rmark; drop table rmark"), EDatabaseError);
    // Operators never merge into a comment.
    EXPECT_EQ(Utf8(Sql("select 1--1")), "select 1 - - 1");
}

TEST(JetSqlTest, SingleTableSelectsHaveAKeyset)
{
    const TJetStatement list = TranslateJetSql(
        String::fromUtf8("select * from oprint where 日期 like '2026%' ORDER BY 日期 desc,id desc"), PinyinColumn);
    EXPECT_EQ(Utf8(list.Table), "oprint");
    EXPECT_EQ(Utf8(list.KeysetSql), "select id from oprint where 日期 like '2026%' ORDER BY 日期 desc , id desc");
    for (const char* other : {"select 姓名 from oprint", "select * from oprint, gift", "select top 5 * from oprint",
                              "select * from (select * from oprint)", "select * from oprint group by 姓名",
                              "select sum(数量) AS 总计 from oprint"})
        EXPECT_TRUE(TranslateJetSql(String::fromUtf8(other), PinyinColumn).Table.isEmpty()) << other;
}

TEST(JetSqlTest, ParametersOutsideLiterals)
{
    const std::vector<String> names = JetParameterNames(
        String::fromUtf8("update t set a=:a, b=':no', c=\"x:y\", d=#1/2/2026 10:11:12# where id=:id and e=:a"));
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], u"a");
    EXPECT_EQ(names[1], u"id");
    EXPECT_EQ(JetParameterNames(String::fromUtf8("insert into rmark(备注) values(:备注")).size(), 1u);
}

TEST(JetSqlTest, CreateTableStoresJetColumnTypesByTheConventions)
{
    EXPECT_EQ(Utf8(Sql("CREATE TABLE t(id COUNTER PRIMARY KEY, 名称 TEXT(50), 备注 memo, 日期 DATETIME, "
                       "数量 LONG NOT NULL DEFAULT 0, 单价 DOUBLE, [x y] VARCHAR (20), z BLOB)")),
              "CREATE TABLE t ( id INTEGER PRIMARY KEY AUTOINCREMENT , 名称 TEXT COLLATE NOCASE , "
              "备注 TEXT COLLATE NOCASE , 日期 DATETEXT COLLATE NOCASE , 数量 INTEGER NOT NULL DEFAULT 0 , "
              "单价 REAL , [x y] TEXT COLLATE NOCASE , z BLOB )");
    // Table constraints and the words of a default are no columns; other statements keep their words.
    EXPECT_EQ(Utf8(Sql("create table u(a AUTOINCREMENT, b text default 'text', constraint c unique (b))")),
              "create table u ( a INTEGER PRIMARY KEY AUTOINCREMENT , b TEXT COLLATE NOCASE default 'text' , "
              "constraint c unique ( b ) )");
    EXPECT_EQ(Utf8(Sql("select text from t where date = 1")), "select text from t where date = 1");
    EXPECT_TRUE(IsDateTimeType(QStringLiteral("datetext")));
    EXPECT_FALSE(IsDateTimeType(QStringLiteral("TEXT")));
}
