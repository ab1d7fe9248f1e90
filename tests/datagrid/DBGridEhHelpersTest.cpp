// The grid's small shared helpers, on the fields of a memory dataset.
#include "datagrid/DBGridEhHelpers.h"

#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"

#include <gtest/gtest.h>

namespace {

TEST(DBGridEhHelpersTest, FieldValuesAsInt32AndReadOnlyFields)
{
    TMemoryDataSet data(nullptr);
    data.FieldDefs()->Add(QStringLiteral("n"), TFieldType::ftInteger);
    data.FieldDefs()->Add(QStringLiteral("f"), TFieldType::ftFloat);
    data.FieldDefs()->Add(QStringLiteral("s"), TFieldType::ftString, 10);
    data.Open();
    TField* n = data.FieldByName(QStringLiteral("n"));
    TField* f = data.FieldByName(QStringLiteral("f"));
    TField* s = data.FieldByName(QStringLiteral("s"));
    const struct {
        Variant N, F;
        int ExpectedN, ExpectedF;
    } cases[] = {
        {Variant(7), Variant(-2.75), 7, -2},
        {Variant::Null(), Variant(2147483647.0), -1, 2147483647},
        {Variant(0), Variant(2147483648.0), 0, -1},
        {Variant(-5), Variant::Null(), -5, -1},
    };
    for (const auto& c : cases) {
        data.AppendRecord({c.N, c.F, Variant(QStringLiteral("12"))});
        EXPECT_EQ(FieldValueAsInt32(n, -1), c.ExpectedN);
        EXPECT_EQ(FieldValueAsInt32(f, -1), c.ExpectedF);
        EXPECT_EQ(FieldValueAsInt32(s, -1), -1);
    }
    EXPECT_FALSE(FieldIsReadOnly(s));
    s->SetReadOnly(true);
    EXPECT_TRUE(FieldIsReadOnly(s));
    EXPECT_EQ(SwapRectExtent(TRect{10, 20, 40, 25}).Right, 15);
    EXPECT_EQ(SwapRectExtent(TRect{10, 20, 40, 25}).Bottom, 50);
}

}  // namespace
