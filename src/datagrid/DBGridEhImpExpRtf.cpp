// RTF tables: the body with its row and cell definitions, and the colour and font tables put in
// front of it.
#include "datagrid/DBGridEhImpExpFormats.h"

#include "platform/ui/Graphics.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

// A colour's table key: its RGB value, as ColorToRGB resolves system colours.
TColor RgbOf(TColor Color) { return ColorToRGB(Color); }

// Rows are handed to the stream in blocks of about this size.
constexpr std::size_t RowsBlockSize = 64 * 1024;

// Moves the bytes from Start to End Count bytes further on, last block first, and leaves the
// position at Start, in front of the gap.
void OpenGap(TStream& Stream, std::int64_t Start, std::int64_t End, std::int64_t Count)
{
    std::vector<char> block(1 << 20);
    for (std::int64_t to = End; to > Start;) {
        const std::int64_t size = std::min(static_cast<std::int64_t>(block.size()), to - Start);
        to -= size;
        Stream.SetPosition(to);
        Stream.ReadBuffer(block.data(), size);
        Stream.SetPosition(to + Count);
        Stream.WriteBuffer(block.data(), size);
    }
    Stream.SetPosition(Start);
}

}  // namespace

TRtfWriterEh::TRtfWriterEh(TStream& Stream, int PixelsPerInch)
    : FStream(Stream), FStart(Stream.Position()), FPixelsPerInch(PixelsPerInch > 0 ? PixelsPerInch : 96)
{
    ColorIndex(clBlack);
    ColorIndex(clWhite);
    ColorIndex(clBtnFace);
}

int TRtfWriterEh::ColorIndex(TColor Color)
{
    const TColor rgb = RgbOf(Color);
    if (const auto found = FColorIndex.find(rgb); found != FColorIndex.end())
        return found->second;
    const int index = static_cast<int>(FColors.size());
    FColors.push_back(rgb);
    FColorIndex.emplace(rgb, index);
    return index;
}

int TRtfWriterEh::FontIndex(const String& FontName)
{
    for (std::size_t i = 0; i < FFonts.size(); ++i)
        if (FFonts[i] == FontName)
            return static_cast<int>(i);
    FFonts.push_back(FontName);
    return static_cast<int>(FFonts.size() - 1);
}

TRtfTextStyleEh TRtfTextStyleEh::Of(const TFont& Font) { return {Font.Name(), Font.Size(), Font.Style(), Font.Color()}; }

TBytes TRtfWriterEh::EscapedText(const String& Text)
{
    TBytes bytes;
    bytes.reserve(Text.size() + 8);
    AppendEscaped(bytes, Text);
    return bytes;
}

template <class TBytes>
void TRtfWriterEh::AppendEscaped(TBytes& bytes, const String& Text)
{
    const auto plain = [](char16_t Code) { return Code < 0x80 && Code != u'\\' && Code != u'{' && Code != u'}'; };
    const char16_t* at = QStringView(Text).utf16();
    const char16_t* const end = at + Text.size();
    while (at != end) {
        // A run of plain ASCII goes over a byte per character in one step.
        const char16_t* const run = std::find_if_not(at, end, plain);
        if (run != at) {
            const auto size = bytes.size();
            bytes.resize(size + (run - at));
            std::transform(at, run, bytes.data() + size, [](char16_t Code) { return static_cast<char>(Code); });
            at = run;
            if (at == end)
                break;
        }
        const char16_t code = *at++;
        if (code < 0x80) {
            bytes.push_back('\\');
            bytes.push_back(static_cast<char>(code));
        } else {
            // RTF's \u takes a signed 16-bit number; '?' is what readers without Unicode show.
            char number[8];
            const auto numberEnd = std::to_chars(number, number + sizeof number, static_cast<std::int16_t>(code)).ptr;
            bytes.append("\\u");
            bytes.append(number, numberEnd - number);
            bytes.push_back('?');
        }
    }
}

void TRtfWriterEh::WriteNumber(std::int64_t Value)
{
    char number[24];
    const auto end = std::to_chars(number, number + sizeof number, Value).ptr;
    FRows.append(number, end);
}

void TRtfWriterEh::BeginRowDefinition()
{
    Write("\\trowd\\trgaph40\r\n");
    FRightEdge = 0;
}

void TRtfWriterEh::CellDefinition(const TRtfBordersEh& Borders, TColor Background, int WidthPixels)
{
    if (Borders.Left)
        Write("\\clbrdrl\\brdrs\\brdrcf0\r\n");
    if (Borders.Top)
        Write("\\clbrdrt\\brdrs\\brdrcf0\r\n");
    if (Borders.Bottom)
        Write("\\clbrdrb\\brdrs\\brdrcf0\r\n");
    if (Borders.Right)
        Write("\\clbrdrr\\brdrs\\brdrcf0\r\n");
    Write("\\clshdng10000\\clcfpat");
    WriteNumber(ColorIndex(Background));
    // Each column's width is truncated before it is added, so edges move by whole twips per column.
    FRightEdge += static_cast<std::int64_t>(WidthPixels) * 1440 / FPixelsPerInch;
    Write("\\cellx");
    WriteNumber(FRightEdge);
    Write("\r\n");
}

void TRtfWriterEh::RowDefinition(const std::vector<TRtfCellFrameEh>& Frames)
{
    // The colour indices in the kept text stay valid: the colour table only grows.
    if (!FLastFrames.empty() && Frames == FLastFrames) {
        Write(FLastDefinition);
        return;
    }
    const std::size_t start = FRows.size();
    BeginRowDefinition();
    for (const TRtfCellFrameEh& frame : Frames)
        CellDefinition(frame.Borders, frame.Background, frame.WidthPixels);
    FLastFrames = Frames;
    FLastDefinition.assign(FRows, start);
}

void TRtfWriterEh::BeginRowContent()
{
    Write("{\\trrh0\r\n");
    FCellNo = 0;
}

void TRtfWriterEh::Cell(TAlignment Alignment, int Spacing, const TRtfTextStyleEh& Style, TColor Background,
                        const String& Text)
{
    if (FCellNo >= FCellHeads.size())
        FCellHeads.resize(FCellNo + 1);
    TCellHead& head = FCellHeads[FCellNo++];
    // The font and colour indices in a kept head stay valid: the tables only grow.
    if (head.Alignment == Alignment && head.Spacing == Spacing && head.Background == Background && head.Style == Style) {
        Write(head.Bytes);
    } else {
        const std::size_t start = FRows.size();
        WriteCellHead(Alignment, Spacing, Style, Background);
        head = {Alignment, Spacing, Style, Background, FRows.substr(start)};
    }
    AppendEscaped(FRows, Text);
    Write("\\cell}\r\n");
}

void TRtfWriterEh::WriteCellHead(TAlignment Alignment, int Spacing, const TRtfTextStyleEh& Style, TColor Background)
{
    Write("\\pard\\intbl{");
    switch (Alignment) {
    case TAlignment::taLeftJustify: Write("\\ql"); break;
    case TAlignment::taRightJustify: Write("\\qr"); break;
    case TAlignment::taCenter: Write("\\qc"); break;
    }
    Write("\\sb");
    WriteNumber(Spacing);
    Write("\\sa");
    WriteNumber(Spacing);
    Write("\\fs");
    WriteNumber(2 * Style.Size);
    if (Style.Style.Contains(TFontStyle::fsBold))
        Write("\\b");
    if (Style.Style.Contains(TFontStyle::fsItalic))
        Write("\\i");
    if (Style.Style.Contains(TFontStyle::fsStrikeOut))
        Write("\\strike");
    if (Style.Style.Contains(TFontStyle::fsUnderline))
        Write("\\ul");
    Write("\\f");
    WriteNumber(FontIndex(Style.FontName));
    Write("\\cf");
    WriteNumber(ColorIndex(Style.Color));
    Write("\\cb");
    WriteNumber(ColorIndex(Background));
    Write(" ");
}

void TRtfWriterEh::EmptyCell()
{
    Write("\\pard\\intbl{\\qc\\cell}\r\n");
    ++FCellNo;
}

void TRtfWriterEh::EndRow()
{
    Write("\\pard\\intbl\\row}\r\n");
    if (FRows.size() >= RowsBlockSize)
        FlushRows();
}

void TRtfWriterEh::FlushRows()
{
    // The first rows leave room for the tables as they stand: the cells seldom bring a colour or
    // font after them, so the rows seldom have to move to make more.
    if (FTablesRoom < 0) {
        const TBytes head = Head();
        FStream.WriteBuffer(head.constData(), head.size());
        FTablesRoom = head.size();
    }
    FStream.WriteBuffer(FRows.data(), static_cast<std::int64_t>(FRows.size()));
    FRows.clear();
}

TBytes TRtfWriterEh::Head() const
{
    TBytes head("{\\rtf0\\ansi\r\n{\\colortbl");
    for (const TColor rgb : FColors) {
        char entry[64];
        std::snprintf(entry, sizeof entry, "\\red%d\\green%d\\blue%d;", rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
        head.append(entry);
    }
    head.append("}\r\n{\\fonttbl");
    for (std::size_t i = 0; i < FFonts.size(); ++i) {
        head.append("\\f").append(TBytes::number(static_cast<qulonglong>(i))).append("\\fnil ");
        head.append(EscapedText(FFonts[i])).append(';');
    }
    head.append("}\r\n");
    return head;
}

void TRtfWriterEh::SaveDocument()
{
    FlushRows();
    // The tables only grow: the head is as long as the room or longer.
    const TBytes head = Head();
    std::int64_t end = FStream.Position();
    const std::int64_t growth = head.size() - FTablesRoom;
    if (growth > 0) {
        OpenGap(FStream, FStart + FTablesRoom, end, growth);
        end += growth;
    }
    FStream.SetPosition(FStart);
    FStream.WriteBuffer(head.constData(), head.size());
    FStream.SetPosition(end);
    FStream.WriteBuffer("}", 1);
}
