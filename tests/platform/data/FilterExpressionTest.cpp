// The filter language as the grid's filter row and the program's queries write it, seen from the
// records a filtered dataset shows.
#include "DataSetTestSupport.h"

#include "platform/core/Exceptions.h"
#include "platform/data/FilterExpression.h"

#include <gtest/gtest.h>

namespace {

class FilterExpressionTest : public ::testing::Test {
protected:
    TComponent Owner{nullptr};
    TMemoryDataSet* DataSet = new TMemoryDataSet(&Owner);

    void SetUp() override
    {
        DataSet->FieldDefs()->Add(u"名称"_s, TFieldType::ftString, 20);
        DataSet->FieldDefs()->Add(u"数量"_s, TFieldType::ftInteger);
        DataSet->FieldDefs()->Add(u"单价"_s, TFieldType::ftFloat);
        DataSet->FieldDefs()->Add(u"日期"_s, TFieldType::ftDate);
        DataSet->FieldDefs()->Add(u"备注"_s, TFieldType::ftString, 20);
        DataSet->Open();
        Add(u"笔记本"_s, 10, 5.5, EncodeDate(2026, 12, 1), u"蓝色"_s);
        Add(u"订书钉"_s, 200, 0.5, EncodeDate(2026, 11, 15), Variant::Null());
        Add(u"圆珠笔"_s, 50, 1.5, EncodeDate(2026, 12, 9), u"黑色 it's 0.5mm"_s);
        Add(u"A4纸"_s, 5, 25.0, EncodeDate(2026, 10, 1), u"100% 木浆"_s);
        Add(u"apple"_s, 0, 3.0, Variant::Null(), u"red_apple"_s);
        Add(u"Banana"_s, -3, 2.25, EncodeDate(2025, 12, 31), u""_s);
        DataSet->SetFiltered(true);
    }

    void Add(const String& Name, int Count, double Price, const Variant& Date, const Variant& Note)
    {
        const Variant date = VarIsNull(Date) ? Date : Variant::FromDateTime(Date.AsDouble());
        DataSet->AppendRecord({Variant(Name), Variant(Count), Variant(Price), date, Note});
    }

    // The names of the records Filter lets through, in the dataset's order.
    QStringList Matching(const String& Filter)
    {
        DataSet->SetFilter(Filter);
        QStringList names;
        for (DataSet->First(); !DataSet->Eof(); DataSet->Next())
            names << DataSet->FieldByName(u"名称"_s)->AsString();
        return names;
    }

    // The message of the error Filter raises, empty when it raises none.
    String ErrorOf(const String& Filter)
    {
        try {
            TFilterExpression expression(Filter, DataSet);
        } catch (const EDatabaseError& E) {
            return E.Message();
        }
        return String();
    }
};

}  // namespace

TEST_F(FilterExpressionTest, NumbersCompareByValueWithEveryOperator)
{
    EXPECT_EQ(Matching(u"数量 = 10"_s), QStringList({u"笔记本"_s}));
    EXPECT_EQ(Matching(u"数量 <> 10"_s), QStringList({u"订书钉"_s, u"圆珠笔"_s, u"A4纸"_s, u"apple"_s, u"Banana"_s}));
    EXPECT_EQ(Matching(u"数量 != 10"_s), Matching(u"数量 <> 10"_s));
    EXPECT_EQ(Matching(u"数量 < 5"_s), QStringList({u"apple"_s, u"Banana"_s}));
    EXPECT_EQ(Matching(u"数量 <= 5"_s), QStringList({u"A4纸"_s, u"apple"_s, u"Banana"_s}));
    EXPECT_EQ(Matching(u"数量 > 50"_s), QStringList({u"订书钉"_s}));
    EXPECT_EQ(Matching(u"数量>=50"_s), QStringList({u"订书钉"_s, u"圆珠笔"_s}));
    EXPECT_EQ(Matching(u"数量 > -3"_s), QStringList({u"笔记本"_s, u"订书钉"_s, u"圆珠笔"_s, u"A4纸"_s, u"apple"_s}));
    EXPECT_EQ(Matching(u"单价 >= 2.25"_s), QStringList({u"笔记本"_s, u"A4纸"_s, u"apple"_s, u"Banana"_s}));
    EXPECT_EQ(Matching(u"单价 < .6"_s), QStringList({u"订书钉"_s}));
    EXPECT_EQ(Matching(u"[单价] = 25"_s), QStringList({u"A4纸"_s}));
    // A quoted number on a numeric field is the number.
    EXPECT_EQ(Matching(u"数量 = '50'"_s), QStringList({u"圆珠笔"_s}));
    EXPECT_EQ(Matching(u"单价 > '3'"_s), QStringList({u"笔记本"_s, u"A4纸"_s}));
}

TEST_F(FilterExpressionTest, TextComparesInTheSortOrderIgnoringCase)
{
    EXPECT_EQ(Matching(u"名称 = 'APPLE'"_s), QStringList({u"apple"_s}));
    EXPECT_EQ(Matching(u"名称 = \"banana\""_s), QStringList({u"Banana"_s}));
    EXPECT_EQ(Matching(u"名称 = '圆珠笔'"_s), QStringList({u"圆珠笔"_s}));
    // Digits and Latin letters sort before Chinese, and Chinese by pinyin: bi < ding < yuan.
    EXPECT_EQ(Matching(u"名称 < '笔记本'"_s), QStringList({u"A4纸"_s, u"apple"_s, u"Banana"_s}));
    EXPECT_EQ(Matching(u"名称 > '订书钉'"_s), QStringList({u"圆珠笔"_s}));
    EXPECT_EQ(Matching(u"名称 >= 'b'"_s), QStringList({u"笔记本"_s, u"订书钉"_s, u"圆珠笔"_s, u"Banana"_s}));
    // Quotes inside a literal are doubled.
    EXPECT_EQ(Matching(u"备注 = '黑色 it''s 0.5mm'"_s), QStringList({u"圆珠笔"_s}));
    // A number compared with a text field is the text as written.
    EXPECT_EQ(Matching(u"备注 > 100"_s), QStringList({u"笔记本"_s, u"圆珠笔"_s, u"A4纸"_s, u"apple"_s}));
    EXPECT_EQ(Matching(u"备注 = ''"_s), QStringList({u"Banana"_s}));
}

TEST_F(FilterExpressionTest, LikeTakesBothKindsOfWildcardsIgnoringCase)
{
    EXPECT_EQ(Matching(u"名称 like '%笔%'"_s), QStringList({u"笔记本"_s, u"圆珠笔"_s}));
    EXPECT_EQ(Matching(u"名称 like '*笔*'"_s), QStringList({u"笔记本"_s, u"圆珠笔"_s}));
    EXPECT_EQ(Matching(u"名称 like 'a%'"_s), QStringList({u"A4纸"_s, u"apple"_s}));
    EXPECT_EQ(Matching(u"名称 like '_4纸'"_s), QStringList({u"A4纸"_s}));
    EXPECT_EQ(Matching(u"名称 like 'B?N?NA'"_s), QStringList({u"Banana"_s}));
    EXPECT_EQ(Matching(u"名称 like '%本'"_s), QStringList({u"笔记本"_s}));
    // The pattern covers the whole value, not a part of it.
    EXPECT_TRUE(Matching(u"名称 like '笔'"_s).isEmpty());
    EXPECT_TRUE(Matching(u"名称 like 'appl'"_s).isEmpty());
    EXPECT_EQ(Matching(u"名称 LIKE 'apple%'"_s), QStringList({u"apple"_s}));
    // '_' matches one character, so the literal '_' and '%' in a value match too.
    EXPECT_EQ(Matching(u"备注 like 'red_apple'"_s), QStringList({u"apple"_s}));
    EXPECT_EQ(Matching(u"备注 like '100% 木浆'"_s), QStringList({u"A4纸"_s}));
    EXPECT_EQ(Matching(u"备注 like '%%a%p%l%'"_s), QStringList({u"apple"_s}));
    // Null never matches; an empty text matches '%'.
    EXPECT_EQ(Matching(u"备注 like '%'"_s), QStringList({u"笔记本"_s, u"圆珠笔"_s, u"A4纸"_s, u"apple"_s, u"Banana"_s}));
    // Regular-expression characters are plain characters.
    EXPECT_TRUE(Matching(u"名称 like 'a.*'"_s).isEmpty());
}

TEST_F(FilterExpressionTest, LikeReturnsToEarlierRunsWhenALaterPartFails)
{
    DataSet->AppendRecord({Variant(u"长"_s), Variant(1), Variant(1.0), Variant::Null(), Variant(String(20, u'a'))});
    EXPECT_TRUE(Matching(u"备注 like '"_s + u"%a"_s.repeated(10) + u"%b'"_s).isEmpty());
    EXPECT_EQ(Matching(u"备注 like '"_s + u"%a"_s.repeated(10) + u"%'"_s), QStringList({u"长"_s}));
    EXPECT_EQ(Matching(u"备注 like '%a_a'"_s), QStringList({u"长"_s}));
    EXPECT_EQ(Matching(u"名称 like '%an%na'"_s), QStringList({u"Banana"_s}));
    EXPECT_EQ(Matching(u"名称 like '%p%p%'"_s), QStringList({u"apple"_s}));
}

TEST_F(FilterExpressionTest, NullTestsAndComparisonsWithNull)
{
    EXPECT_EQ(Matching(u"备注 is null"_s), QStringList({u"订书钉"_s}));
    EXPECT_EQ(Matching(u"日期 IS NULL"_s), QStringList({u"apple"_s}));
    EXPECT_EQ(Matching(u"日期 is not null"_s), QStringList({u"笔记本"_s, u"订书钉"_s, u"圆珠笔"_s, u"A4纸"_s, u"Banana"_s}));
    // A null value satisfies no comparison, not even "not equal".
    EXPECT_FALSE(Matching(u"备注 <> 'x'"_s).contains(u"订书钉"_s));
    EXPECT_FALSE(Matching(u"日期 < '2030-01-01'"_s).contains(u"apple"_s));
}

TEST_F(FilterExpressionTest, DatesCompareAsDates)
{
    EXPECT_EQ(Matching(u"日期 >= '2026-12-01'"_s), QStringList({u"笔记本"_s, u"圆珠笔"_s}));
    EXPECT_EQ(Matching(u"日期 = '2026-12-09'"_s), QStringList({u"圆珠笔"_s}));
    EXPECT_EQ(Matching(u"日期 < '2026-1-1'"_s), QStringList({u"Banana"_s}));
    EXPECT_EQ(Matching(u"日期 > '2026/11/15' and 日期 < '2026-12-09'"_s), QStringList({u"笔记本"_s}));
    EXPECT_EQ(Matching(u"日期 < '2026-12-09 10:00'"_s), QStringList({u"笔记本"_s, u"订书钉"_s, u"圆珠笔"_s, u"A4纸"_s, u"Banana"_s}));
}

TEST_F(FilterExpressionTest, NotAndOrFollowTheirPrecedence)
{
    EXPECT_EQ(Matching(u"not 数量 > 10"_s), QStringList({u"笔记本"_s, u"A4纸"_s, u"apple"_s, u"Banana"_s}));
    EXPECT_EQ(Matching(u"not not 数量 > 10"_s), QStringList({u"订书钉"_s, u"圆珠笔"_s}));
    EXPECT_EQ(Matching(u"NOT 备注 IS NULL"_s), Matching(u"备注 is not null"_s));
    // and binds tighter than or; parentheses regroup.
    EXPECT_EQ(Matching(u"数量 > 100 or 数量 < 10 and 单价 > 3"_s), QStringList({u"订书钉"_s, u"A4纸"_s}));
    EXPECT_EQ(Matching(u"(数量 > 100 or 数量 < 10) and 单价 > 3"_s), QStringList({u"A4纸"_s}));
    EXPECT_EQ(Matching(u"单价 > 3 and 数量 < 10 or 数量 > 100"_s), QStringList({u"订书钉"_s, u"A4纸"_s}));
    EXPECT_EQ(Matching(u"not (名称 like 'a%' or 数量 < 0)"_s), QStringList({u"笔记本"_s, u"订书钉"_s, u"圆珠笔"_s}));
    EXPECT_EQ(Matching(u"((((数量 = 10))))"_s), QStringList({u"笔记本"_s}));
    EXPECT_EQ(Matching(u"数量 = 10 OR 数量 = 50 Or 数量 = 5"_s), QStringList({u"笔记本"_s, u"圆珠笔"_s, u"A4纸"_s}));
    EXPECT_EQ(Matching(u"数量 > 0 AND 单价 < 10 and 名称 like '%笔%'"_s), QStringList({u"笔记本"_s, u"圆珠笔"_s}));
    EXPECT_EQ(Matching(u"(备注 like '%色%') and (not 数量 = 50)"_s), QStringList({u"笔记本"_s}));
}

TEST_F(FilterExpressionTest, BadTextRaisesAndKeepsTheFilterInForce)
{
    for (const String& bad :
         {u"数量 ="_s, u"数量 10"_s, u"= 10"_s, u"(数量 = 10"_s, u"数量 = 10)"_s, u"数量 = '10"_s, u"数量 = 1.2.3"_s,
          u"备注 is maybe"_s, u"备注 is not"_s, u"数量 = 10 and"_s, u"not"_s, u"()"_s, u"数量 @ 10"_s, u"数量 == 10"_s, u"数量 = 名称"_s, u"[数量 = 10"_s})
        EXPECT_TRUE(ErrorOf(bad).startsWith(u"无效的筛选表达式："_s)) << bad.toStdString();
    EXPECT_EQ(ErrorOf(u"价格 = 1"_s), u"找不到字段“价格”"_s);
    // A misplaced keyword stands where a field name belongs.
    EXPECT_EQ(ErrorOf(u"and 数量 = 10"_s), u"找不到字段“and”"_s);
    EXPECT_EQ(ErrorOf(u"数量 = 1 or or 数量 = 2"_s), u"找不到字段“or”"_s);
    EXPECT_EQ(ErrorOf(u"日期 = '2026-13-01'"_s), u"“2026-13-01”不是字段“日期”的有效日期"_s);
    EXPECT_EQ(ErrorOf(u"数量 = 'many'"_s), u"“many”不是字段“数量”的有效浮点数值"_s);

    EXPECT_EQ(Matching(u"数量 = 10"_s), QStringList({u"笔记本"_s}));
    EXPECT_THROW(DataSet->SetFilter(u"数量 = "_s), EDatabaseError);
    EXPECT_EQ(DataSet->Filter(), u"数量 = 10"_s);
    EXPECT_EQ(DataSet->RecordCount(), 1);
}

TEST_F(FilterExpressionTest, NestingIsBoundedWithAClearError)
{
    const String tooDeep = u"筛选表达式嵌套超过 100 层"_s;
    const auto nested = [](int Depth) { return u"("_s.repeated(Depth) + u"数量 = 10"_s + u")"_s.repeated(Depth); };
    EXPECT_EQ(Matching(nested(100)), QStringList({u"笔记本"_s}));
    EXPECT_EQ(ErrorOf(nested(101)), tooDeep);
    EXPECT_EQ(ErrorOf(nested(20000)), tooDeep);
    EXPECT_EQ(Matching(u"not "_s.repeated(100) + u"数量 = 10"_s), QStringList({u"笔记本"_s}));
    EXPECT_EQ(Matching(u"not "_s.repeated(99) + u"数量 = 10"_s), Matching(u"数量 <> 10"_s));
    EXPECT_EQ(ErrorOf(u"not "_s.repeated(50000) + u"数量 = 10"_s), tooDeep);
    // Parentheses and nots count together.
    EXPECT_EQ(ErrorOf(u"not ("_s.repeated(51) + u"数量 = 10"_s + u")"_s.repeated(51)), tooDeep);
    EXPECT_EQ(ErrorOf(u"(not "_s.repeated(50) + u"数量 = 10"_s + u")"_s.repeated(50)), String());
}

TEST_F(FilterExpressionTest, LongChainsOfAndAndOrNeedNoDepth)
{
    constexpr int Terms = 70000;
    const String ands = u"数量 >= 0 and "_s.repeated(Terms) + u"单价 < 10"_s;
    EXPECT_EQ(Matching(ands), QStringList({u"笔记本"_s, u"订书钉"_s, u"圆珠笔"_s, u"apple"_s}));
    const String ors = u"数量 = 1 or "_s.repeated(Terms) + u"名称 = 'banana'"_s;
    EXPECT_EQ(Matching(ors), QStringList({u"Banana"_s}));
    const String mixed = u"(数量 = 1 or 数量 = 5) and "_s.repeated(Terms) + u"单价 = 25"_s;
    EXPECT_EQ(Matching(mixed), QStringList({u"A4纸"_s}));
}

TEST_F(FilterExpressionTest, NotLikeAndExponentsReadAsTheGridWritesThem)
{
    EXPECT_EQ(Matching(u"[名称] Not Like '%笔%'"_s), QStringList({u"订书钉"_s, u"A4纸"_s, u"apple"_s, u"Banana"_s}));
    // A Null value matches no pattern, and fails the negated one too.
    EXPECT_EQ(Matching(u"备注 not like 'x%'"_s), QStringList({u"笔记本"_s, u"圆珠笔"_s, u"A4纸"_s, u"apple"_s, u"Banana"_s}));
    EXPECT_EQ(ErrorOf(u"名称 not = 'x'"_s), u"无效的筛选表达式：名称 not = 'x'"_s);
    EXPECT_EQ(Matching(u"单价 > 2.5E1 or 数量 >= 2e+2 or 单价 < 6E-1"_s), QStringList({u"订书钉"_s}));
}
