// GB18030 conversion: Chinese, ASCII, four-byte sequences, and bad bytes or lone surrogates.
#include "platform/core/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

const String Replacement(QChar(0xFFFD));

}  // namespace

TEST(TextEncoding, ChineseTextRoundTrips)
{
    const String Text = QStringLiteral("办公用品领用登记 ABC 123，￥5.00");
    const QByteArray Bytes = EncodeGB18030(Text);
    EXPECT_EQ(Bytes.left(4), QByteArray("\xB0\xEC\xB9\xAB"));  // 办公
    EXPECT_EQ(DecodeGB18030(Bytes), Text);
}

TEST(TextEncoding, AsciiPassesThroughByteForByte)
{
    EXPECT_EQ(EncodeGB18030(QStringLiteral("Top=100")), QByteArray("Top=100"));
    EXPECT_EQ(DecodeGB18030("Left=7"), QStringLiteral("Left=7"));
}

TEST(TextEncoding, CharactersOutsideTheBmpUseFourByteSequences)
{
    const String Emoji = QString::fromUcs4(U"\U0001F600");
    const String ExtB = QString::fromUcs4(U"\U00020000");  // first CJK Ext-B ideograph
    EXPECT_EQ(EncodeGB18030(Emoji), QByteArray("\x94\x39\xFC\x36"));
    EXPECT_EQ(EncodeGB18030(ExtB), QByteArray("\x95\x32\x82\x36"));
    EXPECT_EQ(DecodeGB18030("\x94\x39\xFC\x36" "a"), Emoji + u'a');
    EXPECT_EQ(DecodeGB18030(EncodeGB18030(ExtB + Emoji)), ExtB + Emoji);
}

TEST(TextEncoding, EmptyInputGivesEmptyOutput)
{
    EXPECT_TRUE(EncodeGB18030(String()).isEmpty());
    EXPECT_TRUE(DecodeGB18030(QByteArray()).isEmpty());
}

TEST(TextEncoding, TruncatedTrailingLeadByteBecomesOneReplacement)
{
    EXPECT_EQ(DecodeGB18030("\xD6\xD0\xCE"), QStringLiteral("中") + Replacement);
    EXPECT_EQ(DecodeGB18030("ab\x94\x39\xFC"), QStringLiteral("ab") + Replacement);
}

TEST(TextEncoding, InvalidBytesInTheMiddleAreReplacedAndDecodingGoesOn)
{
    EXPECT_EQ(DecodeGB18030("\xD6\xD0\xFF\xCE\xC4"), QStringLiteral("中") + Replacement + QStringLiteral("文"));
    EXPECT_EQ(DecodeGB18030("a\x80" "b"), QStringLiteral("a") + Replacement + QStringLiteral("b"));
    // A lead byte followed by a byte that cannot trail it: the lead alone is bad.
    EXPECT_EQ(DecodeGB18030("\xD6\x20z"), Replacement + QStringLiteral(" z"));
}

TEST(TextEncoding, LoneSurrogatesEncodeAsQuestionMarks)
{
    String Text = QStringLiteral("中x文");
    Text[1] = QChar(0xD800);
    EXPECT_EQ(DecodeGB18030(EncodeGB18030(Text)), QStringLiteral("中?文"));
    EXPECT_EQ(EncodeGB18030(QStringLiteral("a") + QChar(0xDC00)), QByteArray("a?"));
    EXPECT_EQ(EncodeGB18030(QStringLiteral("a") + QChar(0xD83D)), QByteArray("a?"));
}
