// The search codes are computed on the text's GBK bytes, as the lists have always stored them:
// a character GBK cannot hold counts as '?', which adds nothing.
#include "app/sys.h"

#include "platform/core/TextEncoding.h"

#include <iterator>

namespace {

// GB2312 puts its level-1 characters in pinyin order, so each initial covers one range of codes
// (lead byte x 256 + trail byte). The first code of each range, and the end of the last one.
struct TInitialRange {
    int First;
    char Initial;
};

constexpr TInitialRange InitialRanges[] = {
    {45217, 'a'}, {45253, 'b'}, {45761, 'c'}, {46318, 'd'}, {46826, 'e'}, {47010, 'f'},
    {47297, 'g'}, {47614, 'h'}, {48119, 'j'}, {49062, 'k'}, {49324, 'l'}, {49896, 'm'},
    {50371, 'n'}, {50614, 'o'}, {50622, 'p'}, {50906, 'q'}, {51387, 'r'}, {51446, 's'},
    {52218, 't'}, {52698, 'w'}, {52980, 'x'}, {53641, ' '}, {53689, 'y'}, {54481, 'z'},
};
constexpr int LastCode = 55289;

bool IsAsciiLetterOrDigit(unsigned char Byte)
{
    return (Byte >= '0' && Byte <= '9') || (Byte >= 'a' && Byte <= 'z') || (Byte >= 'A' && Byte <= 'Z');
}

bool IsGB2312Lead(unsigned char Byte) { return Byte >= 0xB0 && Byte <= 0xD7; }

}  // namespace

Char TForm3::PinyinInitialOf(const TBytes& Text)
{
    if (Text.size() < 2)
        return u' ';
    const int code = static_cast<unsigned char>(Text[0]) * 256 + static_cast<unsigned char>(Text[1]);
    if (code < InitialRanges[0].First || code > LastCode)
        return u' ';
    auto range = std::end(InitialRanges) - 1;
    while (code < range->First)
        --range;
    return Char(char16_t(range->Initial));
}

String TForm3::MakePinyinCode(const String& Text)
{
    const TBytes bytes = EncodeGBK(Text);
    String code;
    TBytes::size_type i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (IsAsciiLetterOrDigit(byte)) {
            code += Char(char16_t(byte));
            ++i;
        } else if (IsGB2312Lead(byte)) {
            if (i + 1 == bytes.size())
                break;
            const Char initial = PinyinInitialOf(bytes.mid(i, 2));
            if (initial != u' ')
                code += initial;
            i += 2;
        } else {
            ++i;
        }
    }
    return code;
}
