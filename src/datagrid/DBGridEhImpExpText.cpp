// Text rows: the text, Unicode text and CSV exports, and the text the importers read back.
#include "datagrid/DBGridEhImpExpFormats.h"

#include "platform/core/TextEncoding.h"

using namespace Qt::StringLiterals;

TBytes UnicodeTextBytes(const String& Text)
{
    TBytes bytes(Text.size() * 2, Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar ch : Text) {
        *out++ = static_cast<char>(ch.unicode() & 0xFF);
        *out++ = static_cast<char>(ch.unicode() >> 8);
    }
    return bytes;
}

String TextOfUnicodeBytes(const TBytes& Bytes)
{
    String text(Bytes.size() / 2, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i + 1 < Bytes.size(); i += 2)
        *out++ = QChar(static_cast<char16_t>(static_cast<unsigned char>(Bytes[i]) |
                                             (static_cast<unsigned char>(Bytes[i + 1]) << 8)));
    return text;
}

// --- Writer -------------------------------------------------------------------------------------

TTextRowsWriterEh::TTextRowsWriterEh(TStream& Stream, TTextEncodingEh Encoding, Char Separator, bool Quoted)
    : FStream(Stream), FEncoding(Encoding), FSeparator(Separator), FQuoted(Quoted)
{
}

void TTextRowsWriterEh::BeginRow()
{
    // A block ends with a whole row: a character is never split from its surrogate partner.
    constexpr qsizetype BlockSize = 32 * 1024;
    if (FText.size() >= BlockSize)
        Flush();
    if (!FFirstRow)
        FText += u"\r\n";
    FFirstRow = false;
    FFirstCell = true;
}

void TTextRowsWriterEh::WriteCell(const String& Text)
{
    if (!FFirstCell)
        FText += FSeparator;
    FFirstCell = false;
    if (!FQuoted) {
        FText += Text;
        return;
    }
    FText += u'"';
    FText += Text.contains(u'"') ? String(Text).replace(u'"', u"\"\""_s) : Text;
    FText += u'"';
}

void TTextRowsWriterEh::Flush()
{
    const TBytes bytes = FEncoding == TTextEncodingEh::teAnsi ? EncodeGB18030(FText) : UnicodeTextBytes(FText);
    FStream.WriteBuffer(bytes.constData(), bytes.size());
    FText.resize(0);
}

// --- Reader -------------------------------------------------------------------------------------

TTextCellReaderEh::TTextCellReaderEh(TStream& Stream, TTextEncodingEh Encoding, const char* Context)
    : FEncoding(Encoding), FContext(Context), FUnit(Encoding == TTextEncodingEh::teAnsi ? 1 : 2)
{
    const std::int64_t size = Stream.Size() - Stream.Position();
    if (size > 0) {
        FData.resize(static_cast<qsizetype>(size));
        FData.resize(static_cast<qsizetype>(Stream.Read(FData.data(), size)));
    }
    FAtEnd = Peek() == 0;
}

char16_t TTextCellReaderEh::Peek() const
{
    if (FPos + FUnit > FData.size())
        return 0;
    const auto low = static_cast<unsigned char>(FData[FPos]);
    if (FUnit == 1)
        return low;
    return static_cast<char16_t>(low | (static_cast<unsigned char>(FData[FPos + 1]) << 8));
}

String TTextCellReaderEh::Decode(qsizetype From, qsizetype To) const
{
    const TBytes bytes = FData.sliced(From, To - From);
    return FEncoding == TTextEncodingEh::teAnsi ? DecodeGB18030(bytes) : TextOfUnicodeBytes(bytes);
}

void TTextCellReaderEh::FormatError() const
{
    throw Exception(String::fromLatin1(FContext) + u".CheckState: 错误的文本格式"_s);
}

TTextCellEndEh TTextCellReaderEh::ReadCell(String& Text)
{
    Text.clear();
    if (FAtEnd)
        return TTextCellEndEh::tceEnd;
    const qsizetype start = FPos;
    for (;;) {
        const char16_t ch = Peek();
        if (ch == 0) {
            Text = Decode(start, FPos);
            FAtEnd = true;
            return TTextCellEndEh::tceEnd;
        }
        if (ch == u'\t') {
            Text = Decode(start, FPos);
            Skip();
            return TTextCellEndEh::tceCell;
        }
        if (ch == u'\r') {
            Text = Decode(start, FPos);
            Skip();
            if (Peek() != u'\n')
                FormatError();
            Skip();
            // Text ending in a line end has no row after it.
            FAtEnd = Peek() == 0;
            return TTextCellEndEh::tceLine;
        }
        Skip();
    }
}
