#include "platform/core/Collation.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

TEST(Collation, ChineseSortsInPinyinOrderIncludingRareCharacters)
{
    const QStringList expected = {QStringLiteral("阿明"), QStringLiteral("犇"),   QStringLiteral("蔡文"),
                                  QStringLiteral("陈晨"), QStringLiteral("丁一"), QStringLiteral("李四"),
                                  QStringLiteral("王五"), QStringLiteral("鑫"),   QStringLiteral("张三"),
                                  QStringLiteral("赵六")};
    QStringList shuffled = {expected[8], expected[1], expected[5], expected[9], expected[0],
                            expected[7], expected[3], expected[6], expected[2], expected[4]};
    std::sort(shuffled.begin(), shuffled.end(), [](const String& a, const String& b) {
        return CollateCompare(a, b, TCaseSensitivity::Insensitive) < 0;
    });
    EXPECT_EQ(shuffled, expected);
}

TEST(Collation, CaseMattersOnlyWhenAskedFor)
{
    EXPECT_EQ(CollateCompare(QStringLiteral("abc"), QStringLiteral("ABC"), TCaseSensitivity::Insensitive), 0);
    EXPECT_NE(CollateCompare(QStringLiteral("abc"), QStringLiteral("ABC"), TCaseSensitivity::Sensitive), 0);
    EXPECT_LT(CollateCompare(QStringLiteral("a"), QStringLiteral("B"), TCaseSensitivity::Sensitive), 0);
}
