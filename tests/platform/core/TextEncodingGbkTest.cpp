// GBK bytes: two-byte characters as GB18030 writes them, each four-byte one a question mark.
#include "platform/core/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncodingGbkTest, TwoByteCharactersKeepTheirGb18030Bytes)
{
    EXPECT_EQ(EncodeGBK(QStringLiteral("A4纸 x1")), QByteArray("A4\xD6\xBD x1"));
    EXPECT_EQ(EncodeGBK(String::fromUtf8("签字笔·€")), EncodeGB18030(String::fromUtf8("签字笔·€")));
    EXPECT_EQ(EncodeGBK(String()), QByteArray());
}

TEST(TextEncodingGbkTest, EachFourByteCharacterBecomesOneQuestionMark)
{
    // U+20000 and U+1F600 are surrogate pairs, U+0E01 a single unit; GB18030 writes each in four bytes.
    EXPECT_EQ(EncodeGB18030(String::fromUtf8("\xF0\x9F\x98\x80")).size(), 4);
    EXPECT_EQ(EncodeGBK(String::fromUtf8("a\xF0\xA0\x80\x80" "b\xF0\x9F\x98\x80\xE0\xB8\x81" "中")),
              QByteArray("a?b??\xD6\xD0"));
}
