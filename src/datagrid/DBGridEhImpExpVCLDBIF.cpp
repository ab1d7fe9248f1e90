// "VCLDBIF", the binary block one grid hands another through the clipboard: written from fields,
// read back into values with every length checked against the data.
#include "datagrid/DBGridEhImpExpFormats.h"

#include "platform/core/TextEncoding.h"
#include "platform/data/Field.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

constexpr char Magic[7] = {'V', 'C', 'L', 'D', 'B', 'I', 'F'};
constexpr std::uint8_t Version = 1;

// The block's numbers are little-endian on every machine; the same swap reads and writes them.
template <typename T>
T LittleEndian(T Value)
{
    if constexpr (std::endian::native == std::endian::little) {
        return Value;
    } else {
        auto bytes = std::bit_cast<std::array<std::uint8_t, sizeof(T)>>(Value);
        std::reverse(bytes.begin(), bytes.end());
        return std::bit_cast<T>(bytes);
    }
}

}  // namespace

TVCLDBIFTagEh VCLDBIFTagOfField(const TField* Field)
{
    if (Field == nullptr)
        return TVCLDBIFTagEh::vtUnassigned;
    switch (Field->DataType()) {
    case TFieldType::ftString:
    case TFieldType::ftBoolean:
    case TFieldType::ftMemo:
    case TFieldType::ftFixedChar:
    // The block's integer holds 32 bits: a 64-bit value travels as its text.
    case TFieldType::ftLargeint:
    case TFieldType::ftOraClob:
    case TFieldType::ftGuid:
        return TVCLDBIFTagEh::vtString;
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftWord:
    case TFieldType::ftAutoInc:
        return TVCLDBIFTagEh::vtInteger;
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD:
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime:
    case TFieldType::ftTimeStamp:
    case TFieldType::ftFMTBcd:
        return TVCLDBIFTagEh::vtFloat;
    case TFieldType::ftBytes:
    case TFieldType::ftVarBytes:
    case TFieldType::ftBlob:
    case TFieldType::ftGraphic:
    case TFieldType::ftFmtMemo:
    case TFieldType::ftParadoxOle:
    case TFieldType::ftDBaseOle:
    case TFieldType::ftTypedBinary:
    case TFieldType::ftOraBlob:
        return TVCLDBIFTagEh::vtBytes;
    case TFieldType::ftWideString:
        return TVCLDBIFTagEh::vtWideString;
    default:
        return TVCLDBIFTagEh::vtUnassigned;
    }
}

// --- Writer -------------------------------------------------------------------------------------

void TVCLDBIFWriterEh::WriteTag(TVCLDBIFTagEh Tag)
{
    const auto byte = static_cast<std::uint8_t>(Tag);
    FStream.WriteBuffer(&byte, 1);
}

void TVCLDBIFWriterEh::WriteInt32(std::int32_t Value)
{
    const std::int32_t little = LittleEndian(Value);
    FStream.WriteBuffer(&little, 4);
}

void TVCLDBIFWriterEh::WriteHeader(const std::vector<bool>& ColumnsVisible)
{
    FStream.WriteBuffer(Magic, sizeof Magic);
    FStream.WriteBuffer(&Version, 1);
    WriteInt32(static_cast<std::int32_t>(ColumnsVisible.size()));
    for (const bool visible : ColumnsVisible) {
        // The visible flag and an empty name.
        const std::uint8_t entry[2] = {static_cast<std::uint8_t>(visible ? 1 : 0), 0};
        FStream.WriteBuffer(entry, 2);
    }
}

void TVCLDBIFWriterEh::WriteInteger(std::int32_t Value)
{
    WriteTag(TVCLDBIFTagEh::vtInteger);
    WriteInt32(Value);
}

void TVCLDBIFWriterEh::WriteFloat(double Value)
{
    WriteTag(TVCLDBIFTagEh::vtFloat);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &Value, 8);
    const std::uint64_t little = LittleEndian(bits);
    FStream.WriteBuffer(&little, 8);
}

void TVCLDBIFWriterEh::WriteLengthAndBytes(TVCLDBIFTagEh Tag, const TBytes& Bytes)
{
    WriteTag(Tag);
    WriteInt32(static_cast<std::int32_t>(Bytes.size()));
    FStream.WriteBuffer(Bytes.constData(), Bytes.size());
}

void TVCLDBIFWriterEh::WriteString(const String& Value) { WriteLengthAndBytes(TVCLDBIFTagEh::vtString, EncodeGB18030(Value)); }

void TVCLDBIFWriterEh::WriteBytes(const TBytes& Value) { WriteLengthAndBytes(TVCLDBIFTagEh::vtBytes, Value); }

void TVCLDBIFWriterEh::WriteWideString(const String& Value)
{
    WriteLengthAndBytes(TVCLDBIFTagEh::vtWideString, UnicodeTextBytes(Value));
}

void TVCLDBIFWriterEh::WriteField(const TField* Field)
{
    if (Field != nullptr && Field->IsNull()) {
        WriteNull();
        return;
    }
    switch (VCLDBIFTagOfField(Field)) {
    case TVCLDBIFTagEh::vtString: WriteString(Field->AsString()); break;
    case TVCLDBIFTagEh::vtInteger: WriteInteger(Field->AsInteger()); break;
    case TVCLDBIFTagEh::vtFloat: WriteFloat(Field->AsFloat()); break;
    case TVCLDBIFTagEh::vtBytes: WriteBytes(Field->AsBytes()); break;
    case TVCLDBIFTagEh::vtWideString: WriteWideString(Field->AsString()); break;
    default: WriteUnassigned(); break;
    }
}

// --- Reader -------------------------------------------------------------------------------------

void TVCLDBIFReaderEh::FormatError() { throw Exception(u"TDBGridEhImportAsVCLDBIF.ReadPrefix: 错误的 VCLDBIF 格式"_s); }

std::int64_t TVCLDBIFReaderEh::Remaining() { return FStream.Size() - FStream.Position(); }

void TVCLDBIFReaderEh::ReadExactly(void* Buffer, std::int64_t Count)
{
    if (FStream.Read(Buffer, Count) != Count)
        FormatError();
}

std::int32_t TVCLDBIFReaderEh::ReadInt32()
{
    std::int32_t value = 0;
    ReadExactly(&value, 4);
    return LittleEndian(value);
}

void TVCLDBIFReaderEh::ReadHeader()
{
    char header[12];
    ReadExactly(header, sizeof header);
    if (std::memcmp(header, Magic, sizeof Magic) != 0)
        FormatError();
    std::int32_t count = 0;
    std::memcpy(&count, header + 8, 4);
    count = LittleEndian(count);
    // Each column takes at least its flag and the name's terminator.
    if (count < 0 || count > Remaining() / 2)
        FormatError();
    FColumnCount = count;
    FFieldNames.assign(static_cast<std::size_t>(count), String());
    FVisible.assign(static_cast<std::size_t>(count), true);
    for (int i = 0; i < count; ++i) {
        std::uint8_t visible = 0;
        ReadExactly(&visible, 1);
        FVisible[static_cast<std::size_t>(i)] = visible != 0;
        TBytes name;
        for (char ch = 0;;) {
            ReadExactly(&ch, 1);
            if (ch == 0)
                break;
            name.append(ch);
        }
        if (!name.isEmpty()) {
            FFieldNamesPresent = true;
            FFieldNames[static_cast<std::size_t>(i)] = DecodeGB18030(name);
        }
    }
}

TBytes TVCLDBIFReaderEh::ReadLengthAndBytes(bool Wide)
{
    const std::int32_t length = ReadInt32();
    if (length < 0 || length > Remaining() || (Wide && length % 2 != 0))
        FormatError();
    TBytes bytes(length, Qt::Uninitialized);
    ReadExactly(bytes.data(), length);
    return bytes;
}

TVCLDBIFValueEh TVCLDBIFReaderEh::ReadValue()
{
    std::uint8_t byte = 0;
    ReadExactly(&byte, 1);
    TVCLDBIFValueEh value;
    value.Tag = static_cast<TVCLDBIFTagEh>(byte);
    switch (value.Tag) {
    case TVCLDBIFTagEh::vtEnd:
    case TVCLDBIFTagEh::vtUnassigned:
        break;
    case TVCLDBIFTagEh::vtNull:
        value.Value = Variant::Null();
        break;
    case TVCLDBIFTagEh::vtInteger:
        value.Value = Variant(static_cast<int>(ReadInt32()));
        break;
    case TVCLDBIFTagEh::vtFloat: {
        std::uint64_t bits = 0;
        ReadExactly(&bits, 8);
        bits = LittleEndian(bits);
        double number = 0;
        std::memcpy(&number, &bits, 8);
        value.Value = Variant(number);
        break;
    }
    case TVCLDBIFTagEh::vtString:
        value.Value = Variant(DecodeGB18030(ReadLengthAndBytes(false)));
        break;
    case TVCLDBIFTagEh::vtBytes:
        value.Value = Variant(ReadLengthAndBytes(false));
        break;
    case TVCLDBIFTagEh::vtWideString:
        value.Value = Variant(TextOfUnicodeBytes(ReadLengthAndBytes(true)));
        break;
    default:
        // Its payload's length is unknown: every later value would be read out of step.
        FormatError();
    }
    return value;
}
