// Exceptions keep their Unicode messages and can be caught by family.
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

TEST(Exceptions, MessageSurvivesAsUnicodeAndUtf8)
{
    try {
        throw EConvertError(QStringLiteral("'abc' 不是有效的整数"));
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'abc' 不是有效的整数"));
        EXPECT_STREQ(e.what(), "'abc' 不是有效的整数");
    }
}

TEST(Exceptions, HierarchyLetsCallersCatchByFamily)
{
    EXPECT_THROW(throw EFOpenError(QStringLiteral("x")), EStreamError);
    EXPECT_THROW(throw EZeroDivide(QStringLiteral("x")), EMathError);
    EXPECT_THROW(Abort(), EAbort);
}
