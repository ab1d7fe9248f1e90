#pragma once
// The byte formats the grid exports, imports and puts on the clipboard: text rows (ANSI or
// UTF-16LE, TAB- or separator-joined, optionally quoted), RTF tables with their colour and font
// tables, and the binary interchange format "VCLDBIF". These know nothing of grids: the
// exporters and importers of DBGridEhImpExp.h feed them cells and take cells from them.
//
// "ANSI" is GB18030, the program's code page, whatever the system locale says.
#include "controls/VoDorVCL.h"
#include "platform/core/Alignment.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Stream.h"
#include "platform/core/String.h"
#include "platform/core/TextEncoding.h"
#include "platform/core/Variant.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Graphics.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TField;
class TFont;

// --- Text rows ----------------------------------------------------------------------------------

enum class TTextEncodingEh { teAnsi, teUnicode };

// Cells joined by Separator, rows joined by CR LF, no line end after the last row and no
// terminator. Quoted cells are enclosed in double quotes with inner quotes doubled. Rows are
// encoded and written in blocks of many: Flush writes the rest.
class TTextRowsWriterEh {
public:
    TTextRowsWriterEh(TStream& Stream, TTextEncodingEh Encoding, Char Separator, bool Quoted);

    // CR LF before every row but the first.
    void BeginRow();
    // The separator before every cell of a row but the first.
    void WriteCell(const String& Text);
    // Writes the rows not yet in the stream.
    void Flush();

private:
    TStream& FStream;
    TTextEncodingEh FEncoding;
    Char FSeparator;
    bool FQuoted;
    bool FFirstRow = true;
    bool FFirstCell = true;
    String FText;
};

// How a cell of pasted or imported text ends.
enum class TTextCellEndEh { tceCell, tceLine, tceEnd };

// Reads text rows back: TAB ends a cell, CR LF a row, NUL or the end of the data everything. A
// lone LF is an ordinary character; a CR without LF raises "<Context>.CheckState: 错误的文本格式".
// Bytes are split before they are decoded, which is safe for GB18030: its trail bytes are never
// TAB, CR, LF or NUL. Unicode text is read in 2-byte units; an odd last byte ends it.
class TTextCellReaderEh {
public:
    // Takes the stream's bytes from its position to its end.
    TTextCellReaderEh(TStream& Stream, TTextEncodingEh Encoding, const char* Context);

    // No row is left: the data ended, or ended right after a line end.
    bool AtEnd() const { return FAtEnd; }
    // The next cell of the current row and how it ended; nothing left gives tceEnd with no text.
    TTextCellEndEh ReadCell(String& Text);

private:
    // The unit at FPos, or 0 at the end.
    char16_t Peek() const;
    void Skip() { FPos += FUnit; }
    String Decode(qsizetype From, qsizetype To) const;
    [[noreturn]] void FormatError() const;

    TBytes FData;
    TTextEncodingEh FEncoding;
    const char* FContext;
    qsizetype FUnit;
    qsizetype FPos = 0;
    bool FAtEnd = false;
};

// --- RTF ----------------------------------------------------------------------------------------

// The sides of a table cell that get a border line.
struct TRtfBordersEh {
    bool Left = true;
    bool Top = true;
    bool Bottom = true;
    bool Right = true;
};

// A table cell's frame in a row definition.
struct TRtfCellFrameEh {
    TRtfBordersEh Borders;
    TColor Background = clWhite;
    int WidthPixels = 0;

    bool operator==(const TRtfCellFrameEh& Other) const
    {
        return Borders.Left == Other.Borders.Left && Borders.Top == Other.Borders.Top &&
               Borders.Bottom == Other.Borders.Bottom && Borders.Right == Other.Borders.Right &&
               Background == Other.Background && WidthPixels == Other.WidthPixels;
    }
};

// What the RTF text of a cell is written in.
struct TRtfTextStyleEh {
    String FontName;
    int Size = 9;
    TFontStyles Style;
    TColor Color = clBlack;

    static TRtfTextStyleEh Of(const TFont& Font);
    bool operator==(const TRtfTextStyleEh& Other) const
    {
        return Size == Other.Size && Style == Other.Style && Color == Other.Color && FontName == Other.FontName;
    }
};

// An RTF document of table rows. The rows go into the stream as they are written, behind room
// for the colour and font tables, which are complete only at the end; so a large export is held
// once, in its stream. Text is escaped: "\", "{" and "}" get a backslash, characters
// outside ASCII become "\uN?", so cells and font names such as 宋体 read back as they were in
// every RTF reader.
class TRtfWriterEh {
public:
    // The document starts at Stream's position. PixelsPerInch converts cell widths into twips.
    TRtfWriterEh(TStream& Stream, int PixelsPerInch);

    // Index of the colour in the colour table (black, white and clBtnFace come first), by its
    // RGB value; appended on first use.
    int ColorIndex(TColor Color);
    int FontIndex(const String& FontName);

    // "\trowd\trgaph40"; the cells' right edges start again at 0.
    void BeginRowDefinition();
    void CellDefinition(const TRtfBordersEh& Borders, TColor Background, int WidthPixels);
    // BeginRowDefinition and a CellDefinition per frame. Record rows repeat one layout, so the
    // text of the last layout is kept and copied when the next row has the same frames.
    void RowDefinition(const std::vector<TRtfCellFrameEh>& Frames);
    // "{\trrh0" after the row's cell definitions.
    void BeginRowContent();
    // One cell: alignment word, "\sb" and "\sa" Spacing, the formatted text, "\cell}".
    void Cell(TAlignment Alignment, int Spacing, const TRtfTextStyleEh& Style, TColor Background, const String& Text);
    // A cell merged into the one before it: centred, no spacing, no text.
    void EmptyCell();
    void EndRow();

    // Header, colour table and font table in front of the rows, and the closing brace after them.
    void SaveDocument();

    // Text as it goes into the document.
    static TBytes EscapedText(const String& Text);

private:
    // The part of a cell in front of its text, and what it was written for.
    struct TCellHead {
        TAlignment Alignment = TAlignment::taLeftJustify;
        int Spacing = -1;
        TRtfTextStyleEh Style;
        TColor Background = clWhite;
        std::string Bytes;
    };

    void Write(std::string_view Text) { FRows.append(Text); }
    void WriteNumber(std::int64_t Value);
    void WriteCellHead(TAlignment Alignment, int Spacing, const TRtfTextStyleEh& Style, TColor Background);
    template <class TBytes>
    static void AppendEscaped(TBytes& Out, const String& Text);
    void FlushRows();
    // Header, colour table and font table.
    TBytes Head() const;

    TStream& FStream;
    std::int64_t FStart;
    // The bytes left for the tables in front of the rows; -1 before the first rows went out.
    std::int64_t FTablesRoom = -1;
    int FPixelsPerInch;
    // Rows not yet in the stream: they go in blocks, not piece by piece.
    std::string FRows;
    std::vector<TColor> FColors;
    std::unordered_map<TColor, int> FColorIndex;
    std::vector<String> FFonts;
    std::int64_t FRightEdge = 0;
    std::vector<TRtfCellFrameEh> FLastFrames;
    std::string FLastDefinition;
    // Per cell position in a row, the head last written there: record rows repeat their
    // columns' alignment, font and colours, so a head is mostly copied, not formatted again.
    std::vector<TCellHead> FCellHeads;
    std::size_t FCellNo = 0;
};

// --- VCLDBIF ------------------------------------------------------------------------------------

// The tags of the values of a "VCLDBIF" block.
enum class TVCLDBIFTagEh : std::uint8_t {
    vtEnd = 0, vtUnassigned = 1, vtNull = 2, vtInteger = 3, vtFloat = 4, vtString = 5, vtBytes = 6, vtWideString = 7
};

// The tag a field's value is written with (not looking at Null).
TVCLDBIFTagEh VCLDBIFTagOfField(const TField* Field);

// "VCLDBIF", version 1, the column count, a visible flag and an empty name per column, then one
// tagged value per column per record with no record framing, then the end tag. Little-endian.
class TVCLDBIFWriterEh {
public:
    explicit TVCLDBIFWriterEh(TStream& Stream) : FStream(Stream) {}

    void WriteHeader(const std::vector<bool>& ColumnsVisible);
    void WriteUnassigned() { WriteTag(TVCLDBIFTagEh::vtUnassigned); }
    void WriteNull() { WriteTag(TVCLDBIFTagEh::vtNull); }
    void WriteInteger(std::int32_t Value);
    void WriteFloat(double Value);
    // Tag 5 with ANSI bytes, tag 6 with raw bytes.
    void WriteString(const String& Value);
    void WriteBytes(const TBytes& Value);
    void WriteWideString(const String& Value);
    // Null as tag 2, else by the field's type; nullptr as unassigned.
    void WriteField(const TField* Field);
    void WriteEnd() { WriteTag(TVCLDBIFTagEh::vtEnd); }

private:
    void WriteTag(TVCLDBIFTagEh Tag);
    void WriteInt32(std::int32_t Value);
    void WriteLengthAndBytes(TVCLDBIFTagEh Tag, const TBytes& Bytes);

    TStream& FStream;
};

// One value read from a "VCLDBIF" block: Unassigned, Null, an int, a double, a String (tags 5
// and 7) or a byte string (tag 6).
struct TVCLDBIFValueEh {
    TVCLDBIFTagEh Tag = TVCLDBIFTagEh::vtEnd;
    Variant Value;
};

// Reads a "VCLDBIF" block, refusing what does not follow the format instead of reading past it:
// a short header, another magic, a negative or impossible column count, an unknown tag, a
// negative length, one beyond the data or an odd UTF-16 length all raise
// "TDBGridEhImportAsVCLDBIF.ReadPrefix: 错误的 VCLDBIF 格式".
class TVCLDBIFReaderEh {
public:
    explicit TVCLDBIFReaderEh(TStream& Stream) : FStream(Stream) {}

    void ReadHeader();
    int ColumnCount() const { return FColumnCount; }
    // Some column came with a name.
    bool FieldNamesPresent() const { return FFieldNamesPresent; }
    const std::vector<String>& FieldNames() const { return FFieldNames; }
    const std::vector<bool>& ColumnsVisible() const { return FVisible; }
    TVCLDBIFValueEh ReadValue();

    [[noreturn]] static void FormatError();

private:
    void ReadExactly(void* Buffer, std::int64_t Count);
    std::int32_t ReadInt32();
    TBytes ReadLengthAndBytes(bool Wide);
    std::int64_t Remaining();

    TStream& FStream;
    int FColumnCount = 0;
    bool FFieldNamesPresent = false;
    std::vector<String> FFieldNames;
    std::vector<bool> FVisible;
};

// Strings travel as UTF-16LE without a byte-order mark.
TBytes UnicodeTextBytes(const String& Text);
String TextOfUnicodeBytes(const TBytes& Bytes);
