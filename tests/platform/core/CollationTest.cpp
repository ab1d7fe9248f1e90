// The text order: Chinese by pinyin after digits and Latin letters, case only when asked for.
#include "platform/core/Collation.h"
#include "platform/core/StringList.h"
#include "platform/core/SysUtils.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The texts of a stock list in the platform's Chinese (PRC) order: digits and Latin letters
// first, case ignored, then Chinese by pinyin.
const QStringList StockOrder = {QStringLiteral("3号电池"), QStringLiteral("A4纸"), QStringLiteral("apple"),
                                QStringLiteral("Banana"),  QStringLiteral("笔记本"), QStringLiteral("订书钉"),
                                QStringLiteral("圆珠笔")};

QStringList Reversed(QStringList Texts)
{
    std::reverse(Texts.begin(), Texts.end());
    return Texts;
}

}  // namespace

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

TEST(Collation, DigitsAndLatinLettersSortBeforeChinese)
{
    QStringList texts = Reversed(StockOrder);
    std::sort(texts.begin(), texts.end(),
              [](const String& a, const String& b) { return CollateCompare(a, b, TCaseSensitivity::Insensitive) < 0; });
    EXPECT_EQ(texts, StockOrder);
    texts = Reversed(StockOrder);
    std::sort(texts.begin(), texts.end(),
              [](const String& a, const String& b) { return CollateCompare(a, b, TCaseSensitivity::Sensitive) < 0; });
    EXPECT_EQ(texts, StockOrder);
    EXPECT_LT(CompareText(QStringLiteral("Zebra"), QStringLiteral("阿")), 0);
    EXPECT_LT(CompareText(QStringLiteral("9"), QStringLiteral("a")), 0);
    EXPECT_GT(CompareText(QStringLiteral("张三"), QStringLiteral("z")), 0);
    EXPECT_EQ(CompareText(QStringLiteral("APPLE"), QStringLiteral("apple")), 0);
}

TEST(Collation, SortedStringListsAndCompareTextShareTheOrder)
{
    TStringList list;
    for (const String& text : Reversed(StockOrder))
        list.Add(text);
    list.Sort();
    EXPECT_EQ(list.Text(), StockOrder.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

    TStringList sorted;
    sorted.SetSorted(true);
    for (const String& text : Reversed(StockOrder))
        sorted.Add(text);
    EXPECT_EQ(sorted.Text(), list.Text());
    for (qsizetype i = 1; i < StockOrder.size(); ++i)
        EXPECT_LT(CompareText(StockOrder[i - 1], StockOrder[i]), 0) << StockOrder[i].toStdString();
}

TEST(Collation, CaseSensitiveOrderKeepsDistinctTextsApart)
{
    EXPECT_EQ(CollateCompare(QStringLiteral("Apple"), QStringLiteral("Apple"), TCaseSensitivity::Sensitive), 0);
    EXPECT_NE(CollateCompare(QStringLiteral("Apple"), QStringLiteral("apple"), TCaseSensitivity::Sensitive), 0);
    // Texts the collation cannot tell apart still differ by their code points.
    const String composed = QStringLiteral("\u00E9");
    const String decomposed = QStringLiteral("e\u0301");
    EXPECT_EQ(CollateCompare(composed, decomposed, TCaseSensitivity::Insensitive), 0);
    EXPECT_EQ(CollateCompare(composed, decomposed, TCaseSensitivity::Sensitive),
              -CollateCompare(decomposed, composed, TCaseSensitivity::Sensitive));
    EXPECT_NE(CollateCompare(composed, decomposed, TCaseSensitivity::Sensitive), 0);
    // Long texts compare without copies or limits.
    const String longText = QStringLiteral("笔").repeated(100000);
    EXPECT_LT(CollateCompare(longText, longText + u'a', TCaseSensitivity::Insensitive), 0);
}
