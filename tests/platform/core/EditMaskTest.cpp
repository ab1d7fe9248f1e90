// Edit masks: parsing, values laid on the mask, edit texts and values, accepted characters, checks.
#include "platform/core/EditMask.h"

#include <gtest/gtest.h>

namespace {

const String DateMask = QStringLiteral("!9999/99/99;1; ");
const String TimeMask = QStringLiteral("!99:99:99;1; ");
const String PhoneMask = QStringLiteral("(000)000-0000;0;_");

String Literals(const TEditMask& Mask)
{
    String Result;
    for (const TMaskPosition& Position : Mask.Positions)
        Result += Position.Kind == TMaskCharKind::Literal ? Position.Literal : Char(u'.');
    return Result;
}

Char Accepted(const TEditMask& Mask, int Position, Char Ch)
{
    return MaskAcceptChar(Mask, Position, Ch) ? Ch : Char(u'\0');
}

}  // namespace

TEST(EditMask, ParsesTheDateAndTimeMasksOfTheDateTimeEdit)
{
    const TEditMask Date = ParseEditMask(DateMask);
    EXPECT_EQ(Literals(Date), QStringLiteral("....-..-.."));
    EXPECT_TRUE(Date.ReverseDir);
    EXPECT_TRUE(Date.SaveLiterals);
    EXPECT_EQ(Date.Blank, u' ');
    EXPECT_EQ(Date.Positions[0].Kind, TMaskCharKind::Digit);
    EXPECT_FALSE(Date.Positions[0].Required);

    const TEditMask DateTime = ParseEditMask(QStringLiteral("!9999/99/99 99:99:99;1; "));
    EXPECT_EQ(Literals(DateTime), QStringLiteral("....-..-.. ..:..:.."));
    EXPECT_EQ(Literals(ParseEditMask(QStringLiteral("!9999年99月99日;1; "))), QStringLiteral("....年..月..日"));
}

TEST(EditMask, ParsesDirectivesEscapesAndFields)
{
    const TEditMask Mask = ParseEditMask(QStringLiteral(">L<l<>A\\0_\\\\;0;*"));
    EXPECT_EQ(Literals(Mask), QStringLiteral("...0 \\"));
    EXPECT_EQ(Mask.Positions[0].Case, TMaskCase::Upper);
    EXPECT_TRUE(Mask.Positions[0].Required);
    EXPECT_EQ(Mask.Positions[1].Case, TMaskCase::Lower);
    EXPECT_FALSE(Mask.Positions[1].Required);
    EXPECT_EQ(Mask.Positions[2].Case, TMaskCase::None);
    EXPECT_FALSE(Mask.ReverseDir);
    EXPECT_FALSE(Mask.SaveLiterals);
    EXPECT_EQ(Mask.Blank, u'*');

    EXPECT_EQ(Literals(ParseEditMask(QStringLiteral("a\\;b"))), QStringLiteral(".;b"));
    const TEditMask Defaults = ParseEditMask(QStringLiteral("00"));
    EXPECT_TRUE(Defaults.SaveLiterals);
    EXPECT_EQ(Defaults.Blank, u'_');
    EXPECT_FALSE(ParseEditMask(QStringLiteral("00;0")).SaveLiterals);
    EXPECT_EQ(ParseEditMask(QStringLiteral("00;1;")).Blank, u'_');
    EXPECT_TRUE(ParseEditMask(String()).Positions.empty());
}

TEST(EditMask, FormatMaskTextLaysValuesWithLiteralsOnTheMask)
{
    EXPECT_EQ(FormatMaskText(DateMask, QStringLiteral("2024-01-05")), QStringLiteral("2024-01-05"));
    EXPECT_EQ(FormatMaskText(DateMask, QStringLiteral("20240105")), QStringLiteral("2024-01-05"));
    EXPECT_EQ(FormatMaskText(DateMask, QStringLiteral("2024-1-5")), QStringLiteral("2024- 1- 5"));
    EXPECT_EQ(FormatMaskText(DateMask, String()), QStringLiteral("    -  -  "));
    // '!' aligns on the right: a short value leaves the left empty.
    EXPECT_EQ(FormatMaskText(TimeMask, QStringLiteral("5:06:07")), QStringLiteral(" 5:06:07"));
    EXPECT_EQ(FormatMaskText(QStringLiteral("99:99;1;_"), QStringLiteral("5")), QStringLiteral("5 :  "));
}

TEST(EditMask, LongMasksLayEveryPosition)
{
    // Each character that does not fit its position asks for the next literal; one walk answers
    // them all, so long masks stay cheap (bench/platform/core/LinearTextBench.cpp).
    constexpr qsizetype Count = 80000;
    const String Digits = QStringLiteral("9").repeated(Count);
    const String Letters = QStringLiteral("x").repeated(Count);
    EXPECT_EQ(FormatMaskText(Digits, Letters), Letters);
    EXPECT_EQ(FormatMaskText("!" + Digits, Letters), Letters);
    // The '-' skips every digit position up to the literal, from either side.
    EXPECT_EQ(FormatMaskText(Digits + "-99", QStringLiteral("1-5")), "1" + String(Count - 1, u' ') + "-5 ");
    EXPECT_EQ(FormatMaskText("!99-" + Digits, QStringLiteral("1-5")), " 1-" + String(Count - 1, u' ') + "5");
    const TEditMask Mask = ParseEditMask(Digits + "-99;1;_");
    EXPECT_EQ(MaskEditText(Mask, QStringLiteral("1-5")), "1" + String(Count - 1, u'_') + "-5_");
    EXPECT_EQ(MaskEditValue(Mask, MaskEditText(Mask, QStringLiteral("1-5"))), "1" + String(Count - 1, u' ') + "-5 ");
}

TEST(EditMask, FormatMaskTextLaysValuesWithoutLiteralsOnTheMask)
{
    EXPECT_EQ(FormatMaskText(PhoneMask, QStringLiteral("5551234567")), QStringLiteral("(555)123-4567"));
    EXPECT_EQ(FormatMaskText(PhoneMask, QStringLiteral("555")), QStringLiteral("(555)   -    "));
    EXPECT_EQ(FormatMaskText(QStringLiteral("!99:99;0"), QStringLiteral("123")), QStringLiteral(" 1:23"));
    // Characters beyond the mask are kept; without a mask the value stays as it is.
    EXPECT_EQ(FormatMaskText(QStringLiteral("00;0"), QStringLiteral("123")), QStringLiteral("123"));
    EXPECT_EQ(FormatMaskText(String(), QStringLiteral("abc")), QStringLiteral("abc"));
}

TEST(EditMask, EditTextShowsEmptyPositionsWithTheBlankCharacter)
{
    const TEditMask Phone = ParseEditMask(PhoneMask);
    EXPECT_EQ(MaskEditText(Phone, QStringLiteral("555")), QStringLiteral("(555)___-____"));
    EXPECT_EQ(MaskBlankText(Phone), QStringLiteral("(___)___-____"));
    EXPECT_EQ(MaskBlankText(ParseEditMask(TimeMask)), QStringLiteral("  :  :  "));
    EXPECT_EQ(MaskBlankText(ParseEditMask(QStringLiteral("!99/99;1;_"))), QStringLiteral("__-__"));
}

TEST(EditMask, EditValueDropsLiteralsAndTrimmedBlanks)
{
    const TEditMask Phone = ParseEditMask(PhoneMask);
    EXPECT_EQ(MaskEditValue(Phone, QStringLiteral("(555)123-4567")), QStringLiteral("5551234567"));
    EXPECT_EQ(MaskEditValue(Phone, QStringLiteral("(555)12_-____")), QStringLiteral("55512"));
    EXPECT_EQ(MaskEditValue(Phone, QStringLiteral("(5_5)___-____")), QStringLiteral("5 5"));
    EXPECT_EQ(MaskEditValue(Phone, MaskBlankText(Phone)), String());
}

TEST(EditMask, EditValueKeepsLiteralsWhenTheMaskSavesThem)
{
    EXPECT_EQ(MaskEditValue(ParseEditMask(QStringLiteral("!99:99;1;_")), QStringLiteral("_1:23")), QStringLiteral(" 1:23"));
    EXPECT_EQ(MaskEditValue(ParseEditMask(QStringLiteral("99:99;1;_")), QStringLiteral("1_:2_")), QStringLiteral("1 :2 "));
    const TEditMask Date = ParseEditMask(DateMask);
    EXPECT_EQ(MaskEditValue(Date, QStringLiteral("2024-01-05")), QStringLiteral("2024-01-05"));
    EXPECT_EQ(MaskEditValue(Date, MaskBlankText(Date)), QStringLiteral("    -  -  "));
    // The value read back shows again as the same edit text.
    EXPECT_EQ(MaskEditText(Date, MaskEditValue(Date, QStringLiteral("2024- 1- 5"))), QStringLiteral("2024- 1- 5"));
}

TEST(EditMask, AcceptsCharactersOfThePositionsClassWithItsCase)
{
    const TEditMask Mask = ParseEditMask(QStringLiteral(">L<a<>c0#-"));
    EXPECT_EQ(Accepted(Mask, 0, u'q'), u'Q');
    EXPECT_EQ(Accepted(Mask, 0, QChar(0x4E2D)), QChar(0x4E2D));  // 中 is a letter
    EXPECT_EQ(Accepted(Mask, 0, u'1'), u'\0');
    EXPECT_EQ(Accepted(Mask, 1, u'Q'), u'q');
    EXPECT_EQ(Accepted(Mask, 1, u'7'), u'7');
    EXPECT_EQ(Accepted(Mask, 1, u'-'), u'\0');
    EXPECT_EQ(Accepted(Mask, 2, u'Q'), u'Q');
    EXPECT_EQ(Accepted(Mask, 2, u'%'), u'%');
    EXPECT_EQ(Accepted(Mask, 3, u'5'), u'5');
    EXPECT_EQ(Accepted(Mask, 3, u'+'), u'\0');
    EXPECT_EQ(Accepted(Mask, 3, QChar(0xFF15)), u'\0');  // a full-width 5 is not a digit here
    for (const char16_t Sign : {u'+', u'-', u' ', u'9'})
        EXPECT_EQ(Accepted(Mask, 4, Sign), Sign);
    EXPECT_EQ(Accepted(Mask, 5, u'-'), u'-');
    EXPECT_EQ(Accepted(Mask, 5, u'x'), u'\0');
    EXPECT_EQ(Accepted(Mask, 6, u'1'), u'\0');
    EXPECT_EQ(Accepted(Mask, -1, u'1'), u'\0');
}

TEST(EditMask, ValidationNamesTheFirstUnfilledRequiredPosition)
{
    const TEditMask Phone = ParseEditMask(PhoneMask);
    int ErrorPos = -1;
    EXPECT_TRUE(MaskValidateText(Phone, QStringLiteral("(555)123-4567"), ErrorPos));
    EXPECT_FALSE(MaskValidateText(Phone, QStringLiteral("(555)12_-____"), ErrorPos));
    EXPECT_EQ(ErrorPos, 7);
    EXPECT_FALSE(MaskValidateText(Phone, QStringLiteral("(555)1 3-4567"), ErrorPos));
    EXPECT_EQ(ErrorPos, 6);
    EXPECT_FALSE(MaskValidateText(Phone, QStringLiteral("(555)123"), ErrorPos));
    EXPECT_EQ(ErrorPos, 9);
    EXPECT_TRUE(MaskValidateText(Phone, String(), ErrorPos));
}

TEST(EditMask, ValidationChecksClassesAndLetsOptionalPositionsStayEmpty)
{
    const TEditMask Mask = ParseEditMask(QStringLiteral("Cc9L;1;_"));
    int ErrorPos = -1;
    EXPECT_TRUE(MaskValidateText(Mask, QStringLiteral("  _x"), ErrorPos));  // 'C' takes a space
    EXPECT_FALSE(MaskValidateText(Mask, QStringLiteral("__1x"), ErrorPos));
    EXPECT_EQ(ErrorPos, 0);
    EXPECT_FALSE(MaskValidateText(Mask, QStringLiteral("abcx"), ErrorPos));
    EXPECT_EQ(ErrorPos, 2);
    EXPECT_FALSE(MaskValidateText(Mask, QStringLiteral("ab17"), ErrorPos));
    EXPECT_EQ(ErrorPos, 3);

    const TEditMask Date = ParseEditMask(DateMask);
    EXPECT_TRUE(MaskValidateText(Date, MaskBlankText(Date), ErrorPos));
    EXPECT_TRUE(MaskValidateText(Date, QStringLiteral("2024- 1- 5"), ErrorPos));
    EXPECT_FALSE(MaskValidateText(Date, QStringLiteral("2O24-01-05"), ErrorPos));
    EXPECT_EQ(ErrorPos, 1);
}

TEST(EditMask, ValidationErrorCarriesThePlatformText)
{
    const EDBEditError Error{QString::fromUtf8(SMaskEditErr)};
    EXPECT_STREQ(Error.what(), "输入的值无效。按 Esc 键可放弃修改");
}
