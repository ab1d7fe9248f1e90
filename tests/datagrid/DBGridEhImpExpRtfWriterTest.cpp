// RTF cells written row after row as their looks change from one row to the next, and text
// escaped where plain ASCII runs meet control characters and non-ASCII characters.
#include "RtfTestSupport.h"
#include "datagrid/DBGridEhImpExpFormats.h"

#include "platform/ui/Graphics.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(TMemoryStream& Stream)
{
    return QByteArray(static_cast<const char*>(Stream.Memory()), static_cast<qsizetype>(Stream.Size()));
}

TRtfTextStyleEh Style(const String& FontName, TFontStyles FontStyle, TColor Color)
{
    TRtfTextStyleEh style;
    style.FontName = FontName;
    style.Size = 9;
    style.Style = FontStyle;
    style.Color = Color;
    return style;
}

}  // namespace

TEST(RtfWriterCellsTest, EachCellCarriesItsOwnLookWhenTheLooksMoveBetweenColumnsAndRows)
{
    const TRtfTextStyleEh plain = Style(u"Arial"_s, {}, clBlack);
    const TRtfTextStyleEh bold = Style(u"Arial"_s, {TFontStyle::fsBold}, clBlack);
    const TRtfTextStyleEh song = Style(u"宋体"_s, {}, clBlack);
    const TRtfTextStyleEh songRed = Style(u"宋体"_s, {}, clRed);
    const TColor green = 0x00FF00;

    TMemoryStream out;
    TRtfWriterEh rtf(out, 96);
    const auto row = [&rtf](const std::function<void()>& Cells) {
        rtf.BeginRowContent();
        Cells();
        rtf.EndRow();
    };
    row([&] {
        rtf.Cell(TAlignment::taLeftJustify, 24, plain, clWhite, u"a"_s);
        rtf.Cell(TAlignment::taRightJustify, 24, bold, green, u"b"_s);
    });
    // The two looks swap columns.
    row([&] {
        rtf.Cell(TAlignment::taRightJustify, 24, bold, green, u"c"_s);
        rtf.Cell(TAlignment::taLeftJustify, 24, plain, clWhite, u"d"_s);
    });
    // A merged cell takes the first place; the second differs from the row before.
    row([&] {
        rtf.EmptyCell();
        rtf.Cell(TAlignment::taRightJustify, 24, bold, green, u"e"_s);
    });
    // A new font; then the same look in the same place again.
    row([&] {
        rtf.Cell(TAlignment::taLeftJustify, 24, song, clWhite, u"f"_s);
        rtf.Cell(TAlignment::taRightJustify, 24, bold, green, u"g"_s);
    });
    // Only the font colour, then only the spacing, then only the background differ.
    row([&] {
        rtf.Cell(TAlignment::taLeftJustify, 24, songRed, clWhite, u"h"_s);
        rtf.Cell(TAlignment::taRightJustify, 12, bold, green, u"i"_s);
    });
    row([&] {
        rtf.Cell(TAlignment::taLeftJustify, 24, songRed, green, u"j"_s);
        rtf.Cell(TAlignment::taRightJustify, 12, bold, green, u"k"_s);
    });
    rtf.SaveDocument();

    const QByteArray expected =
        "{\\rtf0\\ansi\r\n{\\colortbl" + StandardRtfColours() +
        "\\red0\\green255\\blue0;\\red255\\green0\\blue0;}\r\n"
        "{\\fonttbl\\f0\\fnil Arial;\\f1\\fnil \\u23435?\\u20307?;}\r\n"
        "{\\trrh0\r\n"
        "\\pard\\intbl{\\ql\\sb24\\sa24\\fs18\\f0\\cf0\\cb1 a\\cell}\r\n"
        "\\pard\\intbl{\\qr\\sb24\\sa24\\fs18\\b\\f0\\cf0\\cb3 b\\cell}\r\n"
        "\\pard\\intbl\\row}\r\n"
        "{\\trrh0\r\n"
        "\\pard\\intbl{\\qr\\sb24\\sa24\\fs18\\b\\f0\\cf0\\cb3 c\\cell}\r\n"
        "\\pard\\intbl{\\ql\\sb24\\sa24\\fs18\\f0\\cf0\\cb1 d\\cell}\r\n"
        "\\pard\\intbl\\row}\r\n"
        "{\\trrh0\r\n"
        "\\pard\\intbl{\\qc\\cell}\r\n"
        "\\pard\\intbl{\\qr\\sb24\\sa24\\fs18\\b\\f0\\cf0\\cb3 e\\cell}\r\n"
        "\\pard\\intbl\\row}\r\n"
        "{\\trrh0\r\n"
        "\\pard\\intbl{\\ql\\sb24\\sa24\\fs18\\f1\\cf0\\cb1 f\\cell}\r\n"
        "\\pard\\intbl{\\qr\\sb24\\sa24\\fs18\\b\\f0\\cf0\\cb3 g\\cell}\r\n"
        "\\pard\\intbl\\row}\r\n"
        "{\\trrh0\r\n"
        "\\pard\\intbl{\\ql\\sb24\\sa24\\fs18\\f1\\cf4\\cb1 h\\cell}\r\n"
        "\\pard\\intbl{\\qr\\sb12\\sa12\\fs18\\b\\f0\\cf0\\cb3 i\\cell}\r\n"
        "\\pard\\intbl\\row}\r\n"
        "{\\trrh0\r\n"
        "\\pard\\intbl{\\ql\\sb24\\sa24\\fs18\\f1\\cf4\\cb3 j\\cell}\r\n"
        "\\pard\\intbl{\\qr\\sb12\\sa12\\fs18\\b\\f0\\cf0\\cb3 k\\cell}\r\n"
        "\\pard\\intbl\\row}\r\n}";
    EXPECT_EQ(Bytes(out), expected);
}

TEST(RtfWriterCellsTest, EscapesAtEveryPlaceInARunOfPlainText)
{
    EXPECT_EQ(TRtfWriterEh::EscapedText(String()), QByteArray());
    EXPECT_EQ(TRtfWriterEh::EscapedText(u"plain text, 12.50"_s), QByteArray("plain text, 12.50"));
    EXPECT_EQ(TRtfWriterEh::EscapedText(u"\\start"_s), QByteArray("\\\\start"));
    EXPECT_EQ(TRtfWriterEh::EscapedText(u"end}"_s), QByteArray("end\\}"));
    EXPECT_EQ(TRtfWriterEh::EscapedText(u"{{}}"_s), QByteArray("\\{\\{\\}\\}"));
    EXPECT_EQ(TRtfWriterEh::EscapedText(u"备注，含\"引号\" x"_s),
              QByteArray("\\u22791?\\u27880?\\u-244?\\u21547?\"\\u24341?\\u21495?\" x"));
    // DEL is still ASCII; the first character past it is not.
    EXPECT_EQ(TRtfWriterEh::EscapedText(QString(QChar(0x7F)) + QChar(0x80)), QByteArray("\x7F\\u128?"));
}
