// GB18030 and GBK conversions through iconv, with replacements for what does not convert.
#include "platform/core/TextEncoding.h"

#include "platform/core/Exceptions.h"

#include <QSysInfo>

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

constexpr const char* Utf16Name =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";

// One iconv descriptor per direction and thread: opening one costs far more than a short
// conversion. GB18030 is stateless, so a descriptor needs no reset between texts.
class TIconv {
public:
    TIconv(const char* To, const char* From) : FHandle(iconv_open(To, From))
    {
        if (FHandle == reinterpret_cast<iconv_t>(-1))
            throw Exception(QStringLiteral("无法从 %1 转换到 %2").arg(From, To));
    }
    ~TIconv() { iconv_close(FHandle); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    // Converts In into Out, whose OutSize bytes must hold the whole result, and returns the
    // bytes written. Each sequence iconv rejects is skipped by SkipBytes (an incomplete one at
    // the end entirely) and Replacement is written in its place.
    qsizetype Convert(const char* In, qsizetype InSize, char* Out, qsizetype OutSize,
                      std::size_t SkipBytes, QByteArrayView Replacement) const
    {
        char* InPtr = const_cast<char*>(In);
        std::size_t InLeft = static_cast<std::size_t>(InSize);
        char* OutPtr = Out;
        std::size_t OutLeft = static_cast<std::size_t>(OutSize);
        static constexpr std::size_t Failed = static_cast<std::size_t>(-1);
        while (InLeft > 0 && iconv(FHandle, &InPtr, &InLeft, &OutPtr, &OutLeft) == Failed) {
            const std::size_t Skip = errno == EINVAL ? InLeft : std::min(SkipBytes, InLeft);
            InPtr += Skip;
            InLeft -= Skip;
            std::copy(Replacement.begin(), Replacement.end(), OutPtr);
            OutPtr += Replacement.size();
            OutLeft -= Replacement.size();
        }
        return OutPtr - Out;
    }

private:
    iconv_t FHandle;
};

}  // namespace

QByteArray EncodeGB18030(const String& Text)
{
    thread_local const TIconv Encoder("GB18030", Utf16Name);
    // A UTF-16 unit (2 bytes) becomes at most 4 bytes; a surrogate pair (4 bytes) exactly 4.
    QByteArray Result(Text.size() * 4, Qt::Uninitialized);
    const qsizetype Length = Encoder.Convert(reinterpret_cast<const char*>(Text.utf16()),
                                             Text.size() * 2, Result.data(), Result.size(), 2, "?");
    Result.truncate(Length);
    return Result;
}

String DecodeGB18030(const QByteArray& Bytes)
{
    thread_local const TIconv Decoder(Utf16Name, "GB18030");
    // A byte yields at most one UTF-16 unit: 1 byte one unit, 2 bytes one, 4 bytes at most two.
    static constexpr char16_t ReplacementUnit = u'\uFFFD';
    String Result(Bytes.size(), Qt::Uninitialized);
    const qsizetype Length = Decoder.Convert(
        Bytes.constData(), Bytes.size(), reinterpret_cast<char*>(Result.data()), Result.size() * 2, 1,
        QByteArrayView(reinterpret_cast<const char*>(&ReplacementUnit), sizeof ReplacementUnit));
    Result.truncate(Length / 2);
    return Result;
}

QByteArray EncodeGBK(const String& Text)
{
    const QByteArray Bytes = EncodeGB18030(Text);
    QByteArray Result;
    Result.reserve(Bytes.size());
    qsizetype i = 0;
    while (i < Bytes.size()) {
        const auto Lead = static_cast<unsigned char>(Bytes[i]);
        if (Lead < 0x80) {
            Result += char(Lead);
            ++i;
        } else if (i + 1 < Bytes.size() && Bytes[i + 1] >= '0' && Bytes[i + 1] <= '9') {
            // A four-byte sequence: its second byte is a digit, never a two-byte trail byte.
            Result += '?';
            i += 4;
        } else {
            Result += Bytes.mid(i, 2);
            i += 2;
        }
    }
    return Result;
}
