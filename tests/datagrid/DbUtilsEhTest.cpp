// Column filter conditions: the parser over the whole grammar, its errors, the text shown back,
// and the dataset filter text of a grid applied to a memory dataset, against a hand-written test.
#include "DBGridEhTestGrid.h"

#include "platform/core/Exceptions.h"

#include "datagrid/DbUtilsEh.h"
#include "platform/ado/ADODB.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"

#include <QTemporaryDir>

#include <functional>
#include <vector>

namespace {

using enum TSTFilterCompareKindEh;
using enum TSTFilterValueKindEh;

Variant Date(const char* Text) { return Variant::FromDateTime(StrToDateTime(QString::fromUtf8(Text))); }

TSTFilterExpressionEh Parsed(TSTFilterValueKindEh Kind, const String& Text, bool* Second = nullptr)
{
    TSTFilterExpressionEh expr;
    expr.ExpressionType = Kind;
    const bool second = ParseFilterExpression(Text, expr, TSTFilterDefaultOperatorEh::fdoNone);
    if (Second != nullptr)
        *Second = second;
    return expr;
}

bool SameRecord(const TSTFilterExpressionEh& A, const TSTFilterExpressionEh& B)
{
    return A.ExpressionType == B.ExpressionType && A.Operator1 == B.Operator1 && A.Operand1 == B.Operand1 &&
           A.Relation == B.Relation && A.Operator2 == B.Operator2 && A.Operand2 == B.Operand2;
}

TEST(DbUtilsEhTest, ParsesEveryFormOfTheGrammar)
{
    const Variant null = Variant::Null();
    struct TCase {
        TSTFilterValueKindEh Kind;
        const char* Text;
        TSTFilterCompareKindEh Operator1;
        Variant Operand1;
        TSTFilterCompareKindEh Relation = fcNone;
        TSTFilterCompareKindEh Operator2 = fcNone;
        Variant Operand2 = Variant::Null();
    };
    const TCase cases[] = {
        {fvkString, "abc", fcLike, "abc"},
        {fvkString, "  New York  ", fcLike, "New York"},
        {fvkNumber, "5", fcEqual, 5.0},
        {fvkNumber, "1,2,3", fcIn, VarArrayOf({1.0, 2.0, 3.0})},
        {fvkNumber, "in (1,2)", fcIn, VarArrayOf({1.0, 2.0})},
        {fvkNumber, "!in (1, 2)", fcNotIn, VarArrayOf({1.0, 2.0})},
        {fvkString, "not in ('x', 'y')", fcNotIn, VarArrayOf({"x", "y"})},
        {fvkString, "in ('a,b')", fcIn, "a,b"},
        // Blanks after a comma belong to the next value, unless a quoted one follows them.
        {fvkString, "in (a, b , 'c')", fcIn, VarArrayOf({"a", " b ", "c"})},
        {fvkString, "= null", fcIsNull, null},
        {fvkString, "<> NULL", fcIsNotNull, null},
        {fvkString, "!= null", fcIsNotNull, null},
        {fvkString, "!~ 'x%'", fcNotLike, "x%"},
        {fvkString, "not like 'x%'", fcNotLike, "x%"},
        {fvkString, "like 张%", fcLike, "张%"},
        {fvkString, "'it''s'", fcLike, "it's"},
        {fvkString, "<> 'a b'", fcNotEqual, "a b"},
        {fvkNumber, ">= 3 and <= 7", fcGreaterOrEqual, 3.0, fcAnd, fcLessOrEqual, 7.0},
        {fvkNumber, "<2 | >-2.5", fcLess, 2.0, fcOr, fcGreater, -2.5},
        {fvkNumber, "=1 OR =2", fcEqual, 1.0, fcOr, fcEqual, 2.0},
        {fvkString, "a & b", fcLike, "a", fcAnd, fcLike, "b"},
        {fvkNumber, "=1,2", fcIn, VarArrayOf({1.0, 2.0})},
        {fvkNumber, "<>1,2", fcNotIn, VarArrayOf({1.0, 2.0})},
        {fvkDateTime, "now", fcEqual, "NOW"},
        {fvkDateTime, ">= 2024-01-01 12:30", fcGreaterOrEqual, Date("2024-01-01 12:30")},
        {fvkBoolean, "True", fcEqual, "True"},
        {fvkString, "", fcNone, null},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        bool second = false;
        const TSTFilterExpressionEh expr = Parsed(c.Kind, QString::fromUtf8(c.Text), &second);
        EXPECT_EQ(expr.Operator1, c.Operator1);
        EXPECT_EQ(expr.Operand1, c.Operand1);
        EXPECT_EQ(expr.Relation, c.Relation);
        EXPECT_EQ(expr.Operator2, c.Operator2);
        EXPECT_EQ(expr.Operand2, c.Operand2);
        EXPECT_EQ(second, c.Relation != fcNone);
    }
}

TEST(DbUtilsEhTest, ATextThatFailsNamesItselfAndLeavesTheConditionInForce)
{
    const struct {
        TSTFilterValueKindEh Kind;
        const char* Text;
        const char* Message;  // empty: the platform's conversion error
    } cases[] = {
        {fvkString, "'abc", "Quote is absent: 'abc"},
        {fvkNumber, "in 1,2", "'(' expected: in 1,2"},
        {fvkNumber, "in (1,2", "')' expected: in (1,2"},
        {fvkString, "(a)", "Error in expression: (a)"},
        {fvkString, "and", "Error in expression: and"},
        {fvkString, "=1 and", "Error in expression: =1 and"},
        {fvkString, "> null", "Unexpected expression before Null: > null"},
        {fvkString, "= and", "Unexpected expression after operator: = and"},
        {fvkString, "=", "Unexpected expression after operator: ="},
        {fvkString, "'a' x", "Unexpected AND or OR: 'a' x"},
        {fvkString, "a)", "Incorrect expression: a)"},
        {fvkNumber, "=1 OR =2 OR =3", "Incorrect expression: =1 OR =2 OR =3"},
        {fvkNumber, ">1,2", "Incorrect expression: >1,2"},
        {fvkNumber, "=1 and >", "Unexpected expression after operator: =1 and >"},
        {fvkNumber, ">= abc", ""},
        {fvkNumber, "1,1E999", ""},
        {fvkDateTime, "2024-13-40", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TSTFilterExpressionEh expr = Parsed(c.Kind, u"<> null"_s);
        const TSTFilterExpressionEh before = expr;
        bool converted = true;
        String message;
        try {
            ParseFilterExpression(QString::fromUtf8(c.Text), expr, TSTFilterDefaultOperatorEh::fdoNone);
        } catch (const EConvertError&) {
            converted = false;
        } catch (const Exception& e) {
            message = e.Message();
        }
        if (*c.Message == 0)
            EXPECT_FALSE(converted);
        else
            EXPECT_EQ(message, QString::fromUtf8(c.Message));
        EXPECT_TRUE(SameRecord(expr, before));
    }
}

TEST(DbUtilsEhTest, TheShownTextParsesBackToTheSameRecord)
{
    const struct {
        TSTFilterValueKindEh Kind;
        const char* Text;
        const char* Shown;
    } cases[] = {
        {fvkNumber, ">=3 and <=7", ">= 3 AND <= 7"},
        {fvkNumber, "1,2.5,3", "In (1,2.5,3)"},
        {fvkNumber, "!in(1,2)", "!In (1,2)"},
        {fvkString, "'it''s'", "~ 'it''s'"},
        {fvkString, "'x'' OR ''a''=''a'", "~ 'x'' OR ''a''=''a'"},
        {fvkString, "not in ('a','O''Brien')", "!In ('a','O''Brien')"},
        {fvkString, "=null or ~ '%[x]*%'", "=Null OR ~ '%[x]*%'"},
        {fvkString, "<>null", "<>Null"},
        {fvkDateTime, ">= 2024-01-01 12:30", ">= 2024-01-01 12:30:00"},
        {fvkDateTime, "<2024-02-01", "< 2024-02-01"},
        {fvkBoolean, "True", "= 'True'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        const TSTFilterExpressionEh expr = Parsed(c.Kind, QString::fromUtf8(c.Text));
        const String shown = FilterExpressionText(expr, false);
        EXPECT_EQ(shown, QString::fromUtf8(c.Shown));
        EXPECT_TRUE(SameRecord(Parsed(c.Kind, shown), expr));
    }
    const TSTFilterExpressionEh list = Parsed(fvkString, u"in (a,b)"_s);
    EXPECT_EQ(FilterExpressionText(list, true), u"'a','b'"_s);
    EXPECT_EQ(FilterExpressionText(Parsed(fvkString, u"a"_s), true), u"a"_s);
    EXPECT_EQ(FilterExpressionText(Parsed(fvkUnknown, u"a"_s), false), String());
}

TEST(DbUtilsEhTest, EveryOperatorHasItsCellTextAndFilterWord)
{
    const char* const texts[] = {"", "=", "<>", ">", "<", ">=", "<=", "~", "!~", "In", "!In", "Null", "Null",
                                 "AND", "OR", ""};
    const char* const words[] = {"", "=", "<>", ">", "<", ">=", "<=", "LIKE", "NOT LIKE", "IN", "NOT IN",
                                 "IS NULL", "IS NOT NULL", "AND", "OR", ""};
    for (int code = 0; code <= 15; ++code) {
        const auto kind = static_cast<TSTFilterCompareKindEh>(code);
        EXPECT_EQ(FilterCompareKindText(kind), QLatin1String(texts[code])) << code;
        EXPECT_EQ(FilterCompareKindWord(kind), QLatin1String(words[code])) << code;
    }
    EXPECT_EQ(FilterValueKindOfFieldType(TFieldType::ftGuid), fvkString);
    EXPECT_EQ(FilterValueKindOfFieldType(TFieldType::ftFMTBcd), fvkNumber);
    EXPECT_EQ(FilterValueKindOfFieldType(TFieldType::ftTimeStamp), fvkDateTime);
    EXPECT_EQ(FilterValueKindOfFieldType(TFieldType::ftBoolean), fvkBoolean);
    EXPECT_EQ(FilterValueKindOfFieldType(TFieldType::ftBlob), fvkUnknown);
}

TEST(DbUtilsEhTest, ADefaultOperatorAddsItsWildcardsToASingleValueOnly)
{
    using enum TSTFilterDefaultOperatorEh;
    const struct {
        TSTFilterDefaultOperatorEh Default;
        const char* Text;
        TSTFilterCompareKindEh Operator;
        Variant Operand;
    } cases[] = {
        {fdoBeginsWith, "ab", fcLike, "ab%"},       {fdoBeginsWith, "%ab", fcLike, "%ab%"},
        {fdoNotEndsWith, "ab", fcNotLike, "%ab"},   {fdoContains, "%ab%", fcLike, "%ab%"},
        {fdoGreater, "ab", fcGreater, "ab"},        {fdoContains, "a,b", fcIn, VarArrayOf({"a", "b"})},
    };
    for (const auto& c : cases) {
        TSTFilterExpressionEh expr;
        expr.ExpressionType = fvkString;
        ParseFilterExpression(QString::fromUtf8(c.Text), expr, c.Default);
        EXPECT_EQ(expr.Operator1, c.Operator) << c.Text;
        EXPECT_EQ(expr.Operand1, c.Operand) << c.Text;
    }
}

// A grid over a memory dataset with a field of every kind.
class DbUtilsEhGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Data = std::make_unique<TMemoryDataSet>(nullptr);
        Data->FieldDefs()->Add(u"id"_s, TFieldType::ftAutoInc);
        Data->FieldDefs()->Add(u"Name"_s, TFieldType::ftString, 20);
        Data->FieldDefs()->Add(u"Age"_s, TFieldType::ftInteger);
        Data->FieldDefs()->Add(u"Price"_s, TFieldType::ftFloat);
        Data->FieldDefs()->Add(u"Day"_s, TFieldType::ftDateTime);
        Data->FieldDefs()->Add(u"Done"_s, TFieldType::ftBoolean);
        Data->Open();
        const Variant null = Variant::Null();
        Data->AppendRecord({Variant(), "ab", 30, 1.5, Date("2024-01-01"), true});
        Data->AppendRecord({Variant(), "O'Brien", 40, 0.1, Date("2024-01-01 12:30"), false});
        Data->AppendRecord({Variant(), "abc", null, 2.25, Date("2024-03-05"), null});
        Data->AppendRecord({Variant(), null, 31, null, null, true});
        Data->AppendRecord({Variant(), "张三", 29, 1.5, Date("2023-12-31 23:59"), false});
        Source.SetDataSet(Data.get());
        Grid.SetDataSource(&Source);
    }

    void TearDown() override
    {
        Grid.SetDataSource(nullptr);
        Data.reset();
    }

    TColumnEh* FilterColumn(const char* FieldName, const String& Text)
    {
        TColumnEh* column = Grid.Columns()->Add();
        column->SetFieldName(QString::fromUtf8(FieldName));
        TSTFilterExpressionEh& expr = column->STFilter()->Expression();
        expr.ExpressionType = ColumnFilterValueKind(column);
        ParseFilterExpression(Text, expr, TSTFilterDefaultOperatorEh::fdoNone);
        return column;
    }

    String GridFilterText() const
    {
        return BuildGridFilterText(&Grid, DatasetFilterConditionText, nullptr, true, false);
    }

    // The ids the dataset shows under Filter.
    std::vector<int> Shown(const String& Filter)
    {
        Data->SetFilter(Filter);
        Data->SetFiltered(true);
        std::vector<int> ids;
        for (Data->First(); !Data->Eof(); Data->Next())
            ids.push_back(Data->FieldByName(u"id"_s)->AsInteger());
        Data->SetFiltered(false);
        return ids;
    }

    std::vector<int> Selected(const std::function<bool(TDataSet*)>& Condition)
    {
        std::vector<int> ids;
        for (Data->First(); !Data->Eof(); Data->Next())
            if (Condition(Data.get()))
                ids.push_back(Data->FieldByName(u"id"_s)->AsInteger());
        return ids;
    }

    std::unique_ptr<TMemoryDataSet> Data;
    TDataSource Source{nullptr};
    TTestDBGridEh Grid{nullptr};
};

TEST_F(DbUtilsEhGridTest, TheFilterTextJoinsTheColumnsConditionsCharacterForCharacter)
{
    EXPECT_EQ(GridFilterText(), String());
    FilterColumn("Name", u"ab%"_s);
    FilterColumn("Age", u">30"_s);
    EXPECT_EQ(GridFilterText(), u" [Name] Like 'ab%' AND  [Age] > 30 "_s);

    Grid.Columns()->Clear();
    FilterColumn("Age", u"=1 or =2"_s);
    FilterColumn("Price", u"in (1,2)"_s);
    FilterColumn("Name", u"'x'' OR ''a''=''a'"_s);
    FilterColumn("Done", u"= null"_s);
    EXPECT_EQ(GridFilterText(), u"( [Age] = 1 OR [Age] = 2) AND  ([Price] = 1 OR [Price] = 2) AND "
                                u" [Name] Like 'x'' OR ''a''=''a' AND  [Done] IS NULL "_s);
    Grid.SetDataSource(nullptr);
    EXPECT_EQ(GridFilterText(), String());
}

TEST_F(DbUtilsEhGridTest, EachKindsFilterTextSelectsWhatAHandWrittenConditionSelects)
{
    const auto name = [](TDataSet* D) { return D->FieldByName(u"Name"_s); };
    const auto age = [](TDataSet* D) { return D->FieldByName(u"Age"_s); };
    const auto price = [](TDataSet* D) { return D->FieldByName(u"Price"_s); };
    const auto day = [](TDataSet* D) { return D->FieldByName(u"Day"_s); };
    const auto done = [](TDataSet* D) { return D->FieldByName(u"Done"_s); };
    const TDateTime noon = StrToDateTime(u"2024-01-01 12:30"_s);
    const struct {
        const char* Field;
        const char* Text;
        std::function<bool(TDataSet*)> Condition;
    } cases[] = {
        {"Name", "ab", [&](TDataSet* D) { return name(D)->AsString() == u"ab"_s; }},
        {"Name", "!~ ab%", [&](TDataSet* D) { return !name(D)->IsNull() && !name(D)->AsString().startsWith(u"ab"_s); }},
        {"Name", "'O''Brien'", [&](TDataSet* D) { return name(D)->AsString() == u"O'Brien"_s; }},
        {"Name", "'x'' OR ''a''=''a'", [](TDataSet*) { return false; }},
        {"Name", "张%", [&](TDataSet* D) { return name(D)->AsString() == u"张三"_s; }},
        {"Name", "not in (ab,abc)", [&](TDataSet* D) { return name(D)->AsString() != u"ab"_s && name(D)->AsString() != u"abc"_s; }},
        {"Name", "=null", [&](TDataSet* D) { return name(D)->IsNull(); }},
        {"Age", "30,31", [&](TDataSet* D) { return !age(D)->IsNull() && (age(D)->AsInteger() == 30 || age(D)->AsInteger() == 31); }},
        {"Age", "!in (30,31)", [&](TDataSet* D) { return age(D)->IsNull() || (age(D)->AsInteger() != 30 && age(D)->AsInteger() != 31); }},
        {"Age", ">=30 and <40", [&](TDataSet* D) { return !age(D)->IsNull() && age(D)->AsInteger() >= 30 && age(D)->AsInteger() < 40; }},
        {"Age", "<30 or >=40", [&](TDataSet* D) { return !age(D)->IsNull() && (age(D)->AsInteger() < 30 || age(D)->AsInteger() >= 40); }},
        {"Age", "<>null", [&](TDataSet* D) { return !age(D)->IsNull(); }},
        {"Price", "0.1", [&](TDataSet* D) { return !price(D)->IsNull() && price(D)->AsFloat() == 0.1; }},
        {"Price", "> 1E-7 and <1.5", [&](TDataSet* D) { return !price(D)->IsNull() && price(D)->AsFloat() < 1.5; }},
        {"Day", ">= 2024-01-01 12:30", [&](TDataSet* D) { return !day(D)->IsNull() && day(D)->AsDateTime() >= noon; }},
        {"Day", "<2024-01-01", [&](TDataSet* D) { return !day(D)->IsNull() && day(D)->AsDateTime() < 45292; }},
        {"Done", "True", [&](TDataSet* D) { return !done(D)->IsNull() && done(D)->AsBoolean(); }},
        {"Done", "<> 'false'", [&](TDataSet* D) { return !done(D)->IsNull() && done(D)->AsBoolean(); }},
    };
    for (const auto& c : cases) {
        Grid.Columns()->Clear();
        FilterColumn(c.Field, QString::fromUtf8(c.Text));
        const String filter = GridFilterText();
        SCOPED_TRACE(filter.toStdString());
        try {
            EXPECT_EQ(Shown(filter), Selected(c.Condition));
        } catch (const Exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

// The same filter texts on a query of a database file, against the records SQL selects.
TEST(DbUtilsEhQueryTest, EachKindsFilterTextSelectsWhatTheSameConditionInSqlSelects)
{
    QTemporaryDir dir;
    TADOConnection connection(nullptr);
    connection.SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source="_s + dir.filePath(u"opr.mdb"_s));
    connection.SetLoginPrompt(false);
    connection.Open();
    connection.Execute(u"CREATE TABLE t(id COUNTER PRIMARY KEY, 姓名 TEXT, 数量 INTEGER, 单价 FLOAT, 日期 DATETIME)"_s);
    for (const char* values : {"'ab', 30, 1.5, '2024-01-01 00:00:00'", "'O''Brien', 40, 0.1, '2024-01-01 12:30:00'",
                               "'abc', null, 2.25, '2024-03-05 00:00:00'", "null, 31, null, null",
                               "'张三', 29, 1.5, '2023-12-31 23:59:00'"})
        connection.Execute(u"insert into t(姓名, 数量, 单价, 日期) values("_s + QString::fromUtf8(values) + u')');
    TADOQuery query(nullptr);
    query.SetConnection(&connection);
    TDataSource source(nullptr);
    source.SetDataSet(&query);
    TTestDBGridEh grid(nullptr);
    grid.SetDataSource(&source);
    const auto ids = [&](const String& Sql, const String& Filter) {
        query.Close();
        query.SQL()->Clear();
        query.SQL()->Add(Sql);
        query.Open();
        query.SetFilter(Filter);
        query.SetFiltered(!Filter.isEmpty());
        std::vector<int> result;
        for (query.First(); !query.Eof(); query.Next())
            result.push_back(query.FieldByName(u"id"_s)->AsInteger());
        query.SetFiltered(false);
        return result;
    };
    const struct {
        const char* Field;
        const char* Text;
        const char* Where;
    } cases[] = {
        {"姓名", "ab", "姓名 = 'ab'"},
        {"姓名", "'O''Brien'", "姓名 = 'O''Brien'"},
        {"姓名", "!~ ab%", "姓名 not like 'ab%'"},
        {"姓名", "not in (ab,abc)", "姓名 is null or 姓名 not in ('ab', 'abc')"},
        {"数量", "30,31", "数量 in (30, 31)"},
        {"数量", "!in (30,31)", "数量 is null or 数量 not in (30, 31)"},
        {"数量", "<30 or >=40", "数量 < 30 or 数量 >= 40"},
        {"单价", "0.1", "单价 = 0.1"},
        {"日期", ">= 2024-01-01 12:30", "日期 >= '2024-01-01 12:30:00'"},
        {"日期", "=null", "日期 is null"},
    };
    for (const auto& c : cases) {
        query.Close();
        query.SQL()->Clear();
        query.SQL()->Add(u"select * from t order by id"_s);
        query.Open();
        grid.Columns()->Clear();
        TColumnEh* column = grid.Columns()->Add();
        column->SetFieldName(QString::fromUtf8(c.Field));
        TSTFilterExpressionEh& expr = column->STFilter()->Expression();
        expr.ExpressionType = ColumnFilterValueKind(column);
        ParseFilterExpression(QString::fromUtf8(c.Text), expr, TSTFilterDefaultOperatorEh::fdoNone);
        const String filter = BuildGridFilterText(&grid, DatasetFilterConditionText, nullptr, true, false);
        SCOPED_TRACE(filter.toStdString());
        EXPECT_EQ(ids(u"select * from t order by id"_s, filter),
                  ids(u"select * from t where "_s + QString::fromUtf8(c.Where) + u" order by id"_s, String()));
    }
    grid.Columns()->Clear();
    grid.SetDataSource(nullptr);
}

}  // namespace
