// The pinyin search codes of names: initials, kept ASCII and the byte walk over GBK text.
#include "app/sys.h"

#include "platform/core/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

String Code(const char* Utf8) { return TForm3::MakePinyinCode(String::fromUtf8(Utf8)); }

QByteArray Bytes(int Code) { return QByteArray(1, char(Code >> 8)) + QByteArray(1, char(Code & 0xFF)); }

}  // namespace

TEST(PinyinCodeTest, ChineseNamesGiveTheirInitials)
{
    EXPECT_EQ(Code("办公室"), u"bgs");
    EXPECT_EQ(Code("办公用品"), u"bgyp");
    EXPECT_EQ(Code("品质保证部"), u"pzbzb");
    EXPECT_EQ(Code("销售公司"), u"xsgs");
    EXPECT_EQ(Code("技术中心"), u"jszx");
    EXPECT_EQ(Code(""), u"");
}

TEST(PinyinCodeTest, AsciiLettersAndDigitsStayAsTheyAre)
{
    EXPECT_EQ(Code("A4纸"), u"A4z");
    EXPECT_EQ(Code("HP打印机2号"), u"HPdyj2h");
    // Blanks, punctuation and full-width signs add nothing.
    EXPECT_EQ(Code(" 王-小（明）！"), u"wxm");
}

TEST(PinyinCodeTest, EveryRangeBoundaryGivesItsInitial)
{
    const struct {
        int Code;
        char16_t Initial;
    } bounds[] = {
        {45217, u'a'}, {45252, u'a'}, {45253, u'b'}, {45760, u'b'}, {45761, u'c'}, {46317, u'c'},
        {46318, u'd'}, {46826, u'e'}, {47010, u'f'}, {47297, u'g'}, {47614, u'h'}, {48118, u'h'},
        {48119, u'j'}, {49062, u'k'}, {49324, u'l'}, {49896, u'm'}, {50371, u'n'}, {50614, u'o'},
        {50621, u'o'}, {50622, u'p'}, {50906, u'q'}, {51387, u'r'}, {51446, u's'}, {52218, u't'},
        {52698, u'w'}, {52980, u'x'}, {53640, u'x'}, {53641, u' '}, {53688, u' '}, {53689, u'y'},
        {54480, u'y'}, {54481, u'z'}, {55289, u'z'}, {55290, u' '}, {45216, u' '},
    };
    for (const auto& bound : bounds)
        EXPECT_EQ(TForm3::PinyinInitialOf(Bytes(bound.Code)), QChar(bound.Initial)) << bound.Code;
    EXPECT_EQ(TForm3::PinyinInitialOf(QByteArray("\xB0")), u' ');
}

TEST(PinyinCodeTest, CharactersWithoutAnInitialAddNothing)
{
    // 选 (0xD1A1) lies in the gap after the x range; 压 (0xD1B9) is the first y.
    EXPECT_EQ(Code("选压"), u"y");
    // Level-2 characters (lead byte beyond 0xD7) and characters outside GBK have no initial.
    EXPECT_EQ(Code("亍"), u"");
    EXPECT_EQ(Code("𠀀ä"), u"");
}

TEST(PinyinCodeTest, TheWalkGoesByteByByteOutsideGB2312Leads)
{
    // 丄 is 0x81 0x41: the lead is skipped alone and the trail byte is the letter A.
    ASSERT_EQ(EncodeGB18030(String::fromUtf8("丄")), QByteArray("\x81\x41"));
    EXPECT_EQ(Code("丄"), u"A");
    // 伆 is 0x81 0xB0: its trail byte starts a character with the next byte (0xB0 0xB0, an a),
    // which leaves the trail of 办 (0xB0 0xEC) alone; at the end of the text it ends the walk.
    ASSERT_EQ(EncodeGB18030(String::fromUtf8("伆")), QByteArray("\x81\xB0"));
    EXPECT_EQ(Code("伆办"), u"a");
    EXPECT_EQ(Code("办伆"), u"b");
}
