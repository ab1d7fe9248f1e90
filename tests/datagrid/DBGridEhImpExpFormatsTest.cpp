// The byte formats on their own: text rows, CSV quoting, RTF tables and VCLDBIF blocks written
// and read back, and every malformed input refused with its message.
#include "RtfTestSupport.h"
#include "datagrid/DBGridEhImpExpFormats.h"

#include "support/ExceptionText.h"

#include "platform/core/TextEncoding.h"
#include "platform/ui/Graphics.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(TMemoryStream& Stream)
{
    return QByteArray(static_cast<const char*>(Stream.Memory()), static_cast<qsizetype>(Stream.Size()));
}

std::unique_ptr<TMemoryStream> StreamOf(const QByteArray& Data)
{
    auto stream = std::make_unique<TMemoryStream>();
    stream->WriteBuffer(Data.constData(), Data.size());
    stream->SetPosition(0);
    return stream;
}

QByteArray WriteRows(TTextEncodingEh Encoding, Char Separator, bool Quoted, const std::vector<std::vector<String>>& Rows)
{
    TMemoryStream stream;
    TTextRowsWriterEh writer(stream, Encoding, Separator, Quoted);
    for (const auto& row : Rows) {
        writer.BeginRow();
        for (const String& cell : row)
            writer.WriteCell(cell);
    }
    writer.Flush();
    return Bytes(stream);
}

// Rows of cells as the reader splits Data.
std::vector<std::vector<String>> ReadRows(const QByteArray& Data, TTextEncodingEh Encoding)
{
    auto stream = StreamOf(Data);
    TTextCellReaderEh reader(*stream, Encoding, "TDBGridEhImportAsText");
    std::vector<std::vector<String>> rows;
    while (!reader.AtEnd()) {
        std::vector<String> row;
        for (;;) {
            String text;
            const TTextCellEndEh end = reader.ReadCell(text);
            row.push_back(text);
            if (end != TTextCellEndEh::tceCell)
                break;
        }
        rows.push_back(row);
    }
    return rows;
}

using Rows = std::vector<std::vector<String>>;

}  // namespace

TEST(TextRowsWriterTest, JoinsCellsByTabAndRowsByCrLfWithoutTrailingLineEnd)
{
    EXPECT_EQ(WriteRows(TTextEncodingEh::teAnsi, u'\t', false, {{u"A"_s, u"B"_s}, {u"1"_s, u"x\ty"_s}}),
              QByteArray("A\tB\r\n1\tx\ty"));
    EXPECT_EQ(WriteRows(TTextEncodingEh::teAnsi, u'\t', false, {{u"铅笔"_s}}), EncodeGB18030(u"铅笔"_s));
}

TEST(TextRowsWriterTest, UnicodeIsUtf16LittleEndianWithoutByteOrderMark)
{
    // A character GBK lacks survives: the Unicode text is written from the text itself.
    const QByteArray bytes = WriteRows(TTextEncodingEh::teUnicode, u'\t', false, {{u"A"_s, u"铅𠀀"_s}, {u"1"_s}});
    const QByteArray expected("A\0\t\0\xC5\x94\x40\xD8\x00\xDC\r\0\n\0001\0", 16);
    EXPECT_EQ(bytes, expected);
}

TEST(TextRowsWriterTest, CsvQuotesEveryCellAndDoublesInnerQuotes)
{
    EXPECT_EQ(WriteRows(TTextEncodingEh::teAnsi, u';', true, {{u"A"_s, u"B"_s}, {u"1"_s, u"x\"y"_s}}),
              QByteArray("\"A\";\"B\"\r\n\"1\";\"x\"\"y\""));
    EXPECT_EQ(WriteRows(TTextEncodingEh::teAnsi, u',', true, {{u""_s, u""_s}}), QByteArray("\"\",\"\""));
}

TEST(TextCellReaderTest, SplitsCellsAndRowsKeepingEmptyCells)
{
    EXPECT_EQ(ReadRows("a\t\tb", TTextEncodingEh::teAnsi), (Rows{{u"a"_s, u""_s, u"b"_s}}));
    EXPECT_EQ(ReadRows("a\r\n\r\nb", TTextEncodingEh::teAnsi), (Rows{{u"a"_s}, {u""_s}, {u"b"_s}}));
    EXPECT_EQ(ReadRows("a\tb\r\nc\td\r\n", TTextEncodingEh::teAnsi), (Rows{{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}}));
    EXPECT_EQ(ReadRows("a\t", TTextEncodingEh::teAnsi), (Rows{{u"a"_s, u""_s}}));
    EXPECT_EQ(ReadRows("", TTextEncodingEh::teAnsi), Rows{});
    EXPECT_EQ(ReadRows(QByteArray("\0junk", 5), TTextEncodingEh::teAnsi), Rows{});
    // The clipboard's terminator and any slack after it end the text.
    EXPECT_EQ(ReadRows(QByteArray("x\0\r", 3), TTextEncodingEh::teAnsi), (Rows{{u"x"_s}}));
}

TEST(TextCellReaderTest, KeepsLoneLineFeedsAndQuotesAsCellText)
{
    EXPECT_EQ(ReadRows("\"a\nb\"\tc", TTextEncodingEh::teAnsi), (Rows{{u"\"a\nb\""_s, u"c"_s}}));
}

TEST(TextCellReaderTest, DecodesAnsiAndUnicode)
{
    EXPECT_EQ(ReadRows(EncodeGB18030(u"订书机\t胶水"_s), TTextEncodingEh::teAnsi), (Rows{{u"订书机"_s, u"胶水"_s}}));
    EXPECT_EQ(ReadRows(UnicodeTextBytes(u"订书机\t胶\r\n水"_s) + QByteArray("\0\0", 2), TTextEncodingEh::teUnicode),
              (Rows{{u"订书机"_s, u"胶"_s}, {u"水"_s}}));
    // An odd last byte is no character.
    EXPECT_EQ(ReadRows(UnicodeTextBytes(u"ab"_s) + QByteArray("c"), TTextEncodingEh::teUnicode), (Rows{{u"ab"_s}}));
}

TEST(TextCellReaderTest, RefusesCarriageReturnWithoutLineFeed)
{
    EXPECT_EQ(ExceptionText([] { ReadRows("a\rb", TTextEncodingEh::teAnsi); }),
              u"TDBGridEhImportAsText.CheckState: 错误的文本格式"_s);
    EXPECT_EQ(ExceptionText([] { ReadRows("a\r", TTextEncodingEh::teAnsi); }),
              u"TDBGridEhImportAsText.CheckState: 错误的文本格式"_s);
    EXPECT_EQ(ExceptionText([] {
                  auto stream = StreamOf(UnicodeTextBytes(u"a\rb"_s));
                  TTextCellReaderEh reader(*stream, TTextEncodingEh::teUnicode, "TDBGridEhImportAsUnicodeText");
                  String text;
                  reader.ReadCell(text);
              }),
              u"TDBGridEhImportAsUnicodeText.CheckState: 错误的文本格式"_s);
}

TEST(TextCellReaderTest, RoundTripsWhatTheWriterWrote)
{
    const Rows rows{{u"名称"_s, u"数量"_s}, {u"订书机"_s, u""_s}, {u""_s, u"7.25"_s}};
    for (const auto encoding : {TTextEncodingEh::teAnsi, TTextEncodingEh::teUnicode})
        EXPECT_EQ(ReadRows(WriteRows(encoding, u'\t', false, rows), encoding), rows);
}

// --- RTF ----------------------------------------------------------------------------------------

TEST(RtfWriterTest, WritesTablesBeforeTheBodyWithTheSeedColours)
{
    TMemoryStream out;
    TRtfWriterEh rtf(out, 96);
    TFont font;
    font.SetName(u"Arial"_s);
    font.SetSize(9);
    font.SetColor(clBlack);
    font.SetStyle({TFontStyle::fsBold, TFontStyle::fsUnderline});
    rtf.BeginRowDefinition();
    rtf.CellDefinition({}, clWhite, 64);
    rtf.CellDefinition({true, false, true, false}, 0x00FF00, 51);
    rtf.BeginRowContent();
    rtf.Cell(TAlignment::taLeftJustify, 24, TRtfTextStyleEh::Of(font), clWhite, u"a"_s);
    rtf.Cell(TAlignment::taRightJustify, 12, TRtfTextStyleEh::Of(font), 0x00FF00, u"2"_s);
    rtf.EndRow();
    rtf.SaveDocument();

    const QByteArray expected =
        "{\\rtf0\\ansi\r\n{\\colortbl" + StandardRtfColours() +
        "\\red0\\green255\\blue0;}\r\n"
        "{\\fonttbl\\f0\\fnil Arial;}\r\n"
        "\\trowd\\trgaph40\r\n"
        "\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n\\clbrdrb\\brdrs\\brdrcf0\r\n\\clbrdrr\\brdrs\\brdrcf0\r\n"
        "\\clshdng10000\\clcfpat1\\cellx960\r\n"
        "\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrb\\brdrs\\brdrcf0\r\n"
        "\\clshdng10000\\clcfpat3\\cellx1725\r\n"
        "{\\trrh0\r\n"
        "\\pard\\intbl{\\ql\\sb24\\sa24\\fs18\\b\\ul\\f0\\cf0\\cb1 a\\cell}\r\n"
        "\\pard\\intbl{\\qr\\sb12\\sa12\\fs18\\b\\ul\\f0\\cf0\\cb3 2\\cell}\r\n"
        "\\pard\\intbl\\row}\r\n}";
    EXPECT_EQ(Bytes(out), expected);
}

TEST(RtfWriterTest, TruncatesEachColumnWidthToTwipsBeforeAdding)
{
    TMemoryStream out;
    TRtfWriterEh rtf(out, 120);
    rtf.BeginRowDefinition();
    rtf.CellDefinition({false, false, false, false}, clWhite, 1);  // 12 twips
    rtf.CellDefinition({false, false, false, false}, clWhite, 1);
    rtf.EndRow();
    rtf.SaveDocument();
    const QByteArray body = Bytes(out);
    EXPECT_TRUE(body.contains("\\cellx12\r\n"));
    EXPECT_TRUE(body.contains("\\cellx24\r\n"));
}

TEST(RtfWriterTest, EscapesControlCharactersAndWritesNonAsciiAsUnicode)
{
    EXPECT_EQ(TRtfWriterEh::EscapedText(u"C:\\temp {x}"_s), QByteArray("C:\\\\temp \\{x\\}"));
    // 宋 is U+5B8B, 体 U+4F53; a code above 0x7FFF goes negative.
    EXPECT_EQ(TRtfWriterEh::EscapedText(u"宋体"_s), QByteArray("\\u23435?\\u20307?"));
    EXPECT_EQ(TRtfWriterEh::EscapedText(QString(QChar(0xFF01))), QByteArray("\\u-255?"));

    TMemoryStream out;
    TRtfWriterEh rtf(out, 96);
    TFont font;
    font.SetName(u"宋体"_s);
    rtf.BeginRowContent();
    rtf.Cell(TAlignment::taCenter, 55, TRtfTextStyleEh::Of(font), clWhite, u"}"_s);
    rtf.EndRow();
    rtf.SaveDocument();
    const QByteArray doc = Bytes(out);
    EXPECT_TRUE(doc.contains("{\\fonttbl\\f0\\fnil \\u23435?\\u20307?;}"));
    EXPECT_TRUE(doc.contains("\\qc\\sb55\\sa55"));
    EXPECT_TRUE(doc.contains(" \\}\\cell}"));
}

namespace {

// Rows numbered from 0, each with a cell of a colour of its own every 1000 rows, so the colour
// table keeps growing while the rows are written.
void WriteNumberedRows(TRtfWriterEh& Rtf, int Rows, bool ByFrames)
{
    TFont font;
    font.SetName(u"Arial"_s);
    for (int row = 0; row < Rows; ++row) {
        const TColor background = static_cast<TColor>(0x010000 * (row / 1000));
        if (ByFrames) {
            Rtf.RowDefinition({{{}, clWhite, 64}, {{true, false, true, false}, background, 80}});
        } else {
            Rtf.BeginRowDefinition();
            Rtf.CellDefinition({}, clWhite, 64);
            Rtf.CellDefinition({true, false, true, false}, background, 80);
        }
        Rtf.BeginRowContent();
        Rtf.Cell(TAlignment::taLeftJustify, 24, TRtfTextStyleEh::Of(font), clWhite, QString::number(row));
        Rtf.Cell(TAlignment::taRightJustify, 24, TRtfTextStyleEh::Of(font), background, u"数量"_s);
        Rtf.EndRow();
    }
}

}  // namespace

TEST(RtfWriterTest, RepeatedRowLayoutsGiveTheBytesOfDefinitionsWrittenCellByCell)
{
    // Over 1 MB of rows: written in blocks and moved in more than one block for the tables.
    TMemoryStream byCells;
    TRtfWriterEh cellByCell(byCells, 96);
    WriteNumberedRows(cellByCell, 12000, false);
    cellByCell.SaveDocument();
    TMemoryStream byFrames;
    TRtfWriterEh framed(byFrames, 96);
    WriteNumberedRows(framed, 12000, true);
    framed.SaveDocument();

    const QByteArray doc = Bytes(byFrames);
    ASSERT_GT(doc.size(), 2 * 1024 * 1024);
    EXPECT_EQ(doc, Bytes(byCells));
    EXPECT_TRUE(doc.startsWith("{\\rtf0\\ansi\r\n{\\colortbl\\red0\\green0\\blue0;"));
    // Rows 0-999 reuse black; the colour of rows 11000 on is the last, index 13.
    EXPECT_TRUE(doc.contains("\\red0\\green0\\blue11;}\r\n{\\fonttbl\\f0\\fnil Arial;}\r\n\\trowd"));
    EXPECT_TRUE(doc.endsWith("\\qr\\sb24\\sa24\\fs18\\f0\\cf0\\cb13 \\u25968?\\u-28209?\\cell}\r\n\\pard\\intbl\\row}\r\n}"));
    EXPECT_EQ(doc.count("\\trowd"), 12000);
    EXPECT_TRUE(doc.contains("{\\ql\\sb24\\sa24\\fs18\\f0\\cf0\\cb1 11999\\cell}"));
}

TEST(RtfWriterTest, FileStreamGetsTheSameDocumentAsAMemoryStream)
{
    TMemoryStream memory;
    TRtfWriterEh inMemory(memory, 96);
    WriteNumberedRows(inMemory, 12000, true);
    inMemory.SaveDocument();

    // A file is moved block by block to make room for the tables; more than one block here.
    QTemporaryDir dir;
    const String fileName = dir.filePath(u"rows.rtf"_s);
    {
        TFileStream file(fileName, fmCreate);
        file.WriteBuffer("keep", 4);
        TRtfWriterEh inFile(file, 96);
        WriteNumberedRows(inFile, 12000, true);
        inFile.SaveDocument();
        EXPECT_EQ(file.Position(), file.Size());
    }
    QFile written(fileName);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "keep" + Bytes(memory));
}

TEST(RtfWriterTest, DocumentStartsAtTheStreamsPositionAndKeepsWhatIsBefore)
{
    TMemoryStream out;
    out.WriteBuffer("keep", 4);
    TRtfWriterEh rtf(out, 96);
    rtf.BeginRowContent();
    rtf.EmptyCell();
    rtf.EndRow();
    rtf.SaveDocument();
    const QByteArray doc = Bytes(out);
    EXPECT_TRUE(doc.startsWith("keep{\\rtf0\\ansi\r\n{\\colortbl"));
    EXPECT_TRUE(doc.endsWith("}\r\n{\\trrh0\r\n\\pard\\intbl{\\qc\\cell}\r\n\\pard\\intbl\\row}\r\n}"));
    EXPECT_EQ(out.Position(), out.Size());
}

// --- VCLDBIF ------------------------------------------------------------------------------------

namespace {

QByteArray Int32(std::int32_t Value)
{
    const std::int32_t little = qToLittleEndian(Value);
    return QByteArray(reinterpret_cast<const char*>(&little), 4);
}

QByteArray Header(std::int32_t Columns)
{
    QByteArray bytes("VCLDBIF\x01", 8);
    bytes += Int32(Columns);
    for (int i = 0; i < Columns; ++i)
        bytes += QByteArray("\x01\0", 2);
    return bytes;
}

String ReadError(const QByteArray& Data, int Values)
{
    return ExceptionText([&] {
        auto stream = StreamOf(Data);
        TVCLDBIFReaderEh reader(*stream);
        reader.ReadHeader();
        for (int i = 0; i < Values; ++i)
            reader.ReadValue();
    });
}

const String FormatMessage = u"TDBGridEhImportAsVCLDBIF.ReadPrefix: 错误的 VCLDBIF 格式"_s;

}  // namespace

TEST(VCLDBIFTest, WritesTheHeaderAndTaggedValuesLittleEndian)
{
    TMemoryStream stream;
    TVCLDBIFWriterEh writer(stream);
    writer.WriteHeader({true});
    writer.WriteInteger(5);
    writer.WriteEnd();
    EXPECT_EQ(Bytes(stream), QByteArray("VCLDBIF\x01\x01\0\0\0\x01\0\x03\x05\0\0\0\0", 20));

    TMemoryStream values;
    TVCLDBIFWriterEh more(values);
    more.WriteHeader({true, false});
    more.WriteNull();
    more.WriteUnassigned();
    more.WriteFloat(1.5);
    more.WriteString(u"铅"_s);
    more.WriteBytes(QByteArray("\0\xFF", 2));
    more.WriteWideString(u"A铅"_s);
    EXPECT_EQ(Bytes(values), Header(0).left(8) + Int32(2) + QByteArray("\x01\0\0\0", 4) + QByteArray("\x02\x01\x04", 3) +
                                 QByteArray("\0\0\0\0\0\0\xF8\x3F", 8) + QByteArray("\x05", 1) + Int32(2) +
                                 EncodeGB18030(u"铅"_s) + QByteArray("\x06", 1) + Int32(2) + QByteArray("\0\xFF", 2) +
                                 QByteArray("\x07", 1) + Int32(4) + QByteArray("A\0\xC5\x94", 4));
}

TEST(VCLDBIFTest, ReadsBackWhatWasWritten)
{
    TMemoryStream stream;
    TVCLDBIFWriterEh writer(stream);
    writer.WriteHeader({true, false, true});
    writer.WriteInteger(-7);
    writer.WriteFloat(12.25);
    writer.WriteString(u"订书机"_s);
    writer.WriteBytes(QByteArray("\0\1", 2));
    writer.WriteWideString(u"胶水"_s);
    writer.WriteNull();
    writer.WriteUnassigned();
    writer.WriteEnd();
    stream.SetPosition(0);

    TVCLDBIFReaderEh reader(stream);
    reader.ReadHeader();
    EXPECT_EQ(reader.ColumnCount(), 3);
    EXPECT_EQ(reader.ColumnsVisible(), (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(reader.FieldNamesPresent());
    EXPECT_EQ(reader.ReadValue().Value.AsInteger(), -7);
    EXPECT_EQ(reader.ReadValue().Value.AsDouble(), 12.25);
    EXPECT_EQ(reader.ReadValue().Value.AsString(), u"订书机"_s);
    EXPECT_EQ(reader.ReadValue().Value.AsBytes(), QByteArray("\0\1", 2));
    EXPECT_EQ(reader.ReadValue().Value.AsString(), u"胶水"_s);
    EXPECT_EQ(reader.ReadValue().Tag, TVCLDBIFTagEh::vtNull);
    EXPECT_EQ(reader.ReadValue().Tag, TVCLDBIFTagEh::vtUnassigned);
    EXPECT_EQ(reader.ReadValue().Tag, TVCLDBIFTagEh::vtEnd);
}

TEST(VCLDBIFTest, NamesInTheHeaderAreNotedAndTheVersionIsNotChecked)
{
    QByteArray data("VCLDBIF\x09", 8);
    data += Int32(1) + QByteArray("\x01id\0", 4) + QByteArray("\0", 1);
    auto stream = StreamOf(data);
    TVCLDBIFReaderEh reader(*stream);
    reader.ReadHeader();
    EXPECT_TRUE(reader.FieldNamesPresent());
    EXPECT_EQ(reader.FieldNames().front(), u"id"_s);
}

TEST(VCLDBIFTest, RefusesMalformedBlocks)
{
    EXPECT_EQ(ReadError("VCLDB", 0), FormatMessage);                              // short header
    EXPECT_EQ(ReadError(QByteArray("VCLDBIX\x01\0\0\0\0", 12), 0), FormatMessage);  // magic
    EXPECT_EQ(ReadError(Header(0).left(8) + Int32(-1), 0), FormatMessage);       // negative count
    EXPECT_EQ(ReadError(Header(0).left(8) + Int32(1000000), 0), FormatMessage);  // more columns than bytes
    EXPECT_EQ(ReadError(Header(0).left(8) + Int32(1) + QByteArray("\x01", 1), 0), FormatMessage);  // name cut off
    EXPECT_EQ(ReadError(Header(1) + QByteArray("\x09", 1), 1), FormatMessage);   // unknown tag
    EXPECT_EQ(ReadError(Header(1), 1), FormatMessage);                            // no value at all
    EXPECT_EQ(ReadError(Header(1) + QByteArray("\x03\x01", 2), 1), FormatMessage);  // short integer
    EXPECT_EQ(ReadError(Header(1) + QByteArray("\x05", 1) + Int32(-1), 1), FormatMessage);
    EXPECT_EQ(ReadError(Header(1) + QByteArray("\x06", 1) + Int32(0x7FFFFFFF) + "ab", 1), FormatMessage);
    EXPECT_EQ(ReadError(Header(1) + QByteArray("\x07", 1) + Int32(3) + "abc", 1), FormatMessage);  // odd UTF-16
    EXPECT_EQ(ReadError(Header(1) + QByteArray("\x04\0\0", 3), 1), FormatMessage);
    EXPECT_EQ(ReadError(Header(1) + QByteArray("\x07", 1) + Int32(2) + "ab", 1), String());
}
