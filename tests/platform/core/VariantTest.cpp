// Variants: kinds, conversions and their errors, the order of mixed values, and variant arrays.
#include "platform/core/Variant.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

String VariantErrorOf(const std::function<void()>& Call)
{
    try {
        Call();
    } catch (const EVariantError& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

const TDateTime Sample = EncodeDateTime(2026, 12, 9, 4, 6, 53, 0);

}  // namespace

TEST(Variant, KindsReportThePlatformTypeCodes)
{
    EXPECT_EQ(VarType(Variant()), varEmpty);
    EXPECT_EQ(VarType(Variant::Null()), varNull);
    EXPECT_EQ(VarType(Variant(true)), varBoolean);
    EXPECT_EQ(VarType(Variant(7)), varInteger);
    EXPECT_EQ(VarType(Variant(Word(7))), varInteger);
    EXPECT_EQ(VarType(Variant(std::int64_t(7))), varInt64);
    EXPECT_EQ(VarType(Variant(1.5)), varDouble);
    EXPECT_EQ(VarType(Variant(Currency::FromInt(1))), varCurrency);
    EXPECT_EQ(VarType(Variant::FromDateTime(Sample)), varDate);
    EXPECT_EQ(VarType(Variant("文")), varString);
    EXPECT_EQ(VarType(Variant(QByteArray("ab"))), varArray | varByte);
    EXPECT_EQ(VarType(VarArrayOf({1, 2})), varArray | varVariant);
}

TEST(Variant, KindQueries)
{
    EXPECT_TRUE(VarIsEmpty(Variant::Unassigned()));
    EXPECT_TRUE(VarIsClear(Variant()));
    EXPECT_FALSE(VarIsEmpty(Variant::Null()));
    EXPECT_TRUE(VarIsNull(Variant::Null()));
    EXPECT_FALSE(VarIsNull(Variant(0)));
    EXPECT_TRUE(VarIsArray(VarArrayCreate(0, 1)));
    EXPECT_TRUE(VarIsArray(Variant(QByteArray("x"))));
    EXPECT_FALSE(VarIsArray(Variant("x")));
    EXPECT_TRUE(VarIsStr(Variant("x")));
    EXPECT_TRUE(VarIsNumeric(Variant(Currency())));
    EXPECT_FALSE(VarIsNumeric(Variant::FromDateTime(Sample)));
    EXPECT_FALSE(VarIsNumeric(Variant("1")));
}

TEST(Variant, TypeNames)
{
    EXPECT_EQ(VarTypeAsText(varNull), "Null");
    EXPECT_EQ(VarTypeAsText(varArray | varVariant), "Array Variant");
    EXPECT_EQ(VarTypeAsText(varArray | varByte), "Array Byte");
    EXPECT_EQ(VarTypeAsText(varSmallint), "Smallint");
}

TEST(Variant, ConvertsBetweenNumbers)
{
    EXPECT_EQ(Variant(2.5).AsInteger(), 2);  // banker's rounding
    EXPECT_EQ(Variant(3.5).AsInt64(), 4);
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_TRUE(Variant(2).AsBoolean());
    EXPECT_FALSE(Variant(0.0).AsBoolean());
    EXPECT_EQ(Variant(Currency::FromRaw(15000)).AsDouble(), 1.5);
    EXPECT_EQ(Variant(1.23456).AsCurrency().Raw(), 12346);
    EXPECT_EQ(Variant(std::numeric_limits<std::int64_t>::max()).AsInt64(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Variant::FromDateTime(Sample).AsDouble(), Sample);
    EXPECT_EQ(Variant(46365).AsDateTime(), EncodeDate(2026, 12, 9));
    EXPECT_EQ(Variant().AsInteger(), 0);
    EXPECT_EQ(Variant().AsString(), "");
}

TEST(Variant, ConvertsTextThroughTheStringRoutines)
{
    EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
    EXPECT_EQ(Variant("$10").AsInteger(), 16);
    EXPECT_EQ(Variant("1.5").AsDouble(), 1.5);
    EXPECT_EQ(Variant("1.5").AsInteger(), 2);
    EXPECT_EQ(Variant("12.345").AsCurrency().Raw(), 123450);
    EXPECT_EQ(Variant("2026-12-09 04:06:53").AsDateTime(), Sample);
    EXPECT_TRUE(Variant("true").AsBoolean());
    EXPECT_FALSE(Variant("False").AsBoolean());
    EXPECT_TRUE(Variant("-1").AsBoolean());
}

TEST(Variant, ConvertsToText)
{
    EXPECT_EQ(Variant(true).AsString(), "True");
    EXPECT_EQ(Variant(-7).AsString(), "-7");
    EXPECT_EQ(Variant(0.1).AsString(), "0.1");
    EXPECT_EQ(Variant(Currency::FromRaw(15000)).AsString(), "1.5");
    EXPECT_EQ(Variant::FromDateTime(Sample).AsString(), "2026-12-09 04:06:53");
    EXPECT_EQ(Variant::FromDateTime(DateOf(Sample)).AsString(), "2026-12-09");
    EXPECT_EQ(VarToStr(Variant::Null()), "");
    EXPECT_EQ(VarToStr(Variant()), "");
    EXPECT_EQ(VarToStr(Variant("中文")), "中文");
    EXPECT_EQ(VarToStrDef(Variant::Null(), "-"), "-");
    EXPECT_EQ(Variant(QByteArray("\x01\x02", 2)).AsBytes(), QByteArray("\x01\x02", 2));
}

TEST(Variant, ImpossibleConversionsRaiseWithBothTypeNames)
{
    EXPECT_EQ(VariantErrorOf([] { Variant::Null().AsInteger(); }),
              "无法将类型为 (Null) 的变体转换为类型 (Integer)");
    EXPECT_EQ(VariantErrorOf([] { Variant::Null().AsString(); }),
              "无法将类型为 (Null) 的变体转换为类型 (String)");
    EXPECT_EQ(VariantErrorOf([] { Variant("abc").AsDouble(); }),
              "无法将类型为 (String) 的变体转换为类型 (Double)");
    EXPECT_EQ(VariantErrorOf([] { Variant("abc").AsDateTime(); }),
              "无法将类型为 (String) 的变体转换为类型 (Date)");
    EXPECT_EQ(VariantErrorOf([] { Variant(std::int64_t(1) << 40).AsInteger(); }),
              "无法将类型为 (Int64) 的变体转换为类型 (Integer)");
    EXPECT_EQ(VariantErrorOf([] { Variant(1e300).AsCurrency(); }),
              "无法将类型为 (Double) 的变体转换为类型 (Currency)");
    for (const double outside : {1e300, -1e300, 9223372036854775808.0, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_THROW(Variant(outside).AsInt64(), EVariantError) << outside;
        EXPECT_THROW(Variant(outside).AsInteger(), EVariantError) << outside;
    }
    EXPECT_EQ(VariantErrorOf([] { VarArrayOf({1}).AsString(); }),
              "无法将类型为 (Array Variant) 的变体转换为类型 (String)");
    EXPECT_EQ(VariantErrorOf([] { Variant(1).AsBytes(); }),
              "无法将类型为 (Integer) 的变体转换为类型 (Array Byte)");
}

TEST(VariantOrder, NullAndUnassignedComeFirst)
{
    EXPECT_EQ(Variant::Null(), Variant::Null());
    EXPECT_EQ(Variant(), Variant());
    EXPECT_NE(Variant::Null(), Variant());
    EXPECT_LT(Variant(), Variant::Null());
    EXPECT_NE(Variant::Null(), Variant(0));
    EXPECT_LT(Variant::Null(), Variant(0));
    EXPECT_LT(Variant::Null(), Variant(-1e300));
    EXPECT_LT(Variant::Null(), Variant(""));
    EXPECT_GT(Variant(0), Variant::Null());
}

TEST(VariantOrder, NumbersCompareByValueAcrossKinds)
{
    EXPECT_EQ(Variant(Currency::FromRaw(15000)), Variant(1.5));
    EXPECT_EQ(Variant(Currency::FromRaw(1000)), Variant(0.1));
    EXPECT_EQ(Variant(1), Variant(std::int64_t(1)));
    EXPECT_EQ(Variant(1), Variant(1.0));
    EXPECT_LT(Variant(std::int64_t(9007199254740992)), Variant(std::int64_t(9007199254740993)));
    EXPECT_LT(Variant(2), Variant(Currency::FromRaw(20001)));
    EXPECT_EQ(Variant(true), Variant(-1));
    EXPECT_LT(Variant(true), Variant(false));
    EXPECT_EQ(Variant::FromDateTime(46365.5), Variant(46365.5));
    EXPECT_LT(Variant::FromDateTime(Sample), Variant(Sample + 1));
}

TEST(VariantOrder, TextSortsAfterEveryNumberEvenWhenItReadsAsOne)
{
    EXPECT_GT(Variant("10"), Variant(9));
    EXPECT_GT(Variant("9"), Variant(10));
    EXPECT_NE(Variant("10"), Variant(10));
    EXPECT_LT(Variant(1e300), Variant("abc"));
    EXPECT_GT(Variant("abc"), Variant(std::int64_t(5)));
    EXPECT_LT(Variant::FromDateTime(Sample), Variant("2026-12-09"));
}

TEST(VariantOrder, TextUsesTheCaseSensitiveChineseCollation)
{
    EXPECT_LT(Variant("阿"), Variant("爸"));
    EXPECT_NE(Variant("a"), Variant("A"));
    EXPECT_EQ(Variant("中文"), Variant(String("中文")));
    EXPECT_LT(Variant("10"), Variant("9"));  // two texts compare as text
}

TEST(VariantOrder, ByteStringsAndArrays)
{
    EXPECT_LT(Variant(QByteArray("ab")), Variant(QByteArray("b")));
    EXPECT_LT(Variant(QByteArray("\x7f")), Variant(QByteArray("\x80")));
    EXPECT_LT(Variant("zzz"), Variant(QByteArray("a")));
    EXPECT_LT(Variant(QByteArray("a")), VarArrayOf({}));
    EXPECT_EQ(VarArrayOf({1, "a"}), VarArrayOf({1.0, "a"}));
    EXPECT_LT(VarArrayOf({1, "a"}), VarArrayOf({1, "b"}));
    EXPECT_LT(VarArrayOf({1}), VarArrayOf({1, Variant::Null()}));
    EXPECT_GT(VarArrayOf({2}), VarArrayOf({1, 5}));
    EXPECT_NE(VarArrayOf({1}), Variant(1));
}

TEST(VariantOrder, SortsMixedValuesWithoutRaising)
{
    std::vector<Variant> values = {Variant("b"), Variant(3), Variant::Null(), VarArrayOf({1}), Variant("2"),
                                   Variant(), Variant("10"), Variant(1.5), Variant(QByteArray("x")), Variant("a")};
    std::sort(values.begin(), values.end());
    const std::vector<Variant> expected = {Variant(),    Variant::Null(), Variant(1.5), Variant(3),
                                           Variant("10"), Variant("2"),   Variant("a"), Variant("b"),
                                           Variant(QByteArray("x")), VarArrayOf({1})};
    EXPECT_EQ(values, expected);
}

TEST(VariantArray, BoundsElementsAndRedim)
{
    Variant array = VarArrayCreate(1, 3);
    EXPECT_EQ(VarArrayDimCount(array), 1);
    EXPECT_EQ(VarArrayLowBound(array, 1), 1);
    EXPECT_EQ(VarArrayHighBound(array, 1), 3);
    EXPECT_TRUE(VarIsEmpty(array[2]));
    array[1] = "first";
    array[3] = 3;
    VarArrayRedim(array, 4);
    EXPECT_EQ(VarArrayHighBound(array, 1), 4);
    EXPECT_EQ(array[1], Variant("first"));
    EXPECT_EQ(array[3], Variant(3));
    EXPECT_TRUE(VarIsEmpty(array[4]));
    VarArrayRedim(array, 1);
    EXPECT_EQ(VarArrayHighBound(array, 1), 1);
    EXPECT_EQ(array[1], Variant("first"));
}

TEST(VariantArray, BoundsAtTheEndsOfTheIntegerRange)
{
    constexpr int Min = std::numeric_limits<int>::min();
    constexpr int Max = std::numeric_limits<int>::max();
    Variant low = VarArrayCreate(Min, Min + 2);
    EXPECT_EQ(VarArrayLowBound(low, 1), Min);
    EXPECT_EQ(VarArrayHighBound(low, 1), Min + 2);
    low[Min] = "first";
    low[Min + 2] = "last";
    EXPECT_EQ(low[Min], Variant("first"));
    EXPECT_EQ(low[Min + 2], Variant("last"));
    EXPECT_THROW(low[Min + 3], EVariantError);

    const Variant high = VarArrayCreate(Max - 1, Max);
    EXPECT_EQ(VarArrayLowBound(high, 1), Max - 1);
    EXPECT_EQ(VarArrayHighBound(high, 1), Max);
    EXPECT_TRUE(VarIsEmpty(high[Max]));

    // A high bound one below the low bound is an empty array; lower than that is an error.
    const Variant empty = VarArrayCreate(Min + 1, Min);
    EXPECT_EQ(VarArrayHighBound(empty, 1), Min);
    EXPECT_THROW(VarArrayCreate(Min + 2, Min), EVariantError);
    EXPECT_THROW(VarArrayCreate(Max, Min), EVariantError);
}

TEST(VariantArray, CopiesAreDeep)
{
    Variant original = VarArrayOf({1, 2});
    Variant copy = original;
    copy[0] = 10;
    EXPECT_EQ(original[0], Variant(1));
    EXPECT_EQ(copy[0], Variant(10));
}

TEST(VariantArray, ByteStringsHaveBoundsToo)
{
    Variant bytes = QByteArray("abc");
    EXPECT_EQ(VarArrayLowBound(bytes, 1), 0);
    EXPECT_EQ(VarArrayHighBound(bytes, 1), 2);
    VarArrayRedim(bytes, 4);
    EXPECT_EQ(bytes.AsBytes(), QByteArray("abc\0\0", 5));
}

TEST(VariantArray, MisuseRaises)
{
    EXPECT_EQ(VariantErrorOf([] { (void)Variant(1)[0]; }), "变体不是数组");
    EXPECT_EQ(VariantErrorOf([] { VarArrayHighBound(Variant("x"), 1); }), "变体不是数组");
    EXPECT_EQ(VariantErrorOf([] { (void)VarArrayCreate(0, 1)[2]; }), "变体或安全数组索引越界");
    EXPECT_EQ(VariantErrorOf([] { VarArrayLowBound(VarArrayCreate(0, 1), 2); }),
              "变体或安全数组索引越界");
    EXPECT_THROW(VarArrayCreate(5, 2), EVariantError);
    EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);
}
