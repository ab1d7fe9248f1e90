// currency_total(x) over the rows of a statement: the sum each value adds as a Currency field
// converts it, and the count of the values that are not Null, from one aggregate.
#include "platform/ado/SQLite.h"

#include "platform/core/Currency.h"
#include "platform/core/Exceptions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

struct TCase {
    const char* Values;                          // the rows of "values ...", one column
    std::vector<std::optional<double>> Numbers;  // the same values, Nulls as nullopt
};

// Ties at the fourth decimal place, negative amounts, integers and reals mixed, Nulls.
const TCase Cases[] = {
    {"(12.5), (0.00005), (NULL), (-1.23455), (0.00015), (2.00025)",
     {12.5, 0.00005, std::nullopt, -1.23455, 0.00015, 2.00025}},
    {"(3), (NULL), (-7), (123456789012)", {3, std::nullopt, -7, 123456789012}},
    {"(NULL), (NULL)", {std::nullopt, std::nullopt}},
};

class SQLiteCurrencyTotalTest : public testing::Test {
protected:
    TSQLiteCurrencyTotal Total(const char* From)
    {
        TSQLiteStatement statement =
            FDatabase.Prepare(QStringLiteral("select currency_total(column1) from ") + String::fromUtf8(From));
        statement.Step();
        return statement.ColumnCurrencyTotal(0);
    }

    QTemporaryDir FDir;
    TSQLiteDatabase FDatabase{FDir.filePath(QStringLiteral("t.db"))};
};

TEST_F(SQLiteCurrencyTotalTest, AddsWhatEachValueConvertsToAndCountsTheValues)
{
    for (const TCase& Case : Cases) {
        std::int64_t units = 0, notNull = 0;
        for (const std::optional<double>& number : Case.Numbers)
            if (number) {
                units += Currency::FromDouble(*number).Raw();
                ++notNull;
            }
        const TSQLiteCurrencyTotal total = Total(("(values " + std::string(Case.Values) + ")").c_str());
        EXPECT_EQ(total.Units, units) << Case.Values;
        EXPECT_EQ(total.NotNull, notNull) << Case.Values;
    }
}

TEST_F(SQLiteCurrencyTotalTest, NoRowsTotalNothing)
{
    const TSQLiteCurrencyTotal total = Total("(values (1)) where column1 = 2");
    EXPECT_EQ(total.Units, 0);
    EXPECT_EQ(total.NotNull, 0);
}

TEST_F(SQLiteCurrencyTotalTest, AValueThatIsNoNumberOrBeyondCurrencyFailsTheStatement)
{
    for (const char* values : {"(values (1), ('a'))", "(values (1), (x'00'))", "(values (1e300))",
                               "(values (900000000000000), (900000000000000))"})
        EXPECT_THROW(Total(values), EDatabaseError) << values;
}

}  // namespace
