// Maps the system's font names to the installed faces that stand in for them.
#include "platform/ui/FontFaces.h"

#include "platform/ui/Graphics.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

constexpr const char16_t* SansFamilyName = u"Noto Sans CJK SC";
constexpr const char16_t* SerifFamilyName = u"Noto Serif CJK SC";
constexpr const char16_t* MonoFamilyName = u"Noto Sans Mono CJK SC";

bool NamedIn(const String& Name, std::initializer_list<const char16_t*> Names)
{
    return std::any_of(Names.begin(), Names.end(),
                       [&Name](const char16_t* Known) { return Name.compare(QStringView(Known), Qt::CaseInsensitive) == 0; });
}

}  // namespace

QString InstalledFamily(const String& Name, TFontPitch Pitch)
{
    if (Pitch == TFontPitch::fpFixed || NamedIn(Name, {u"Courier New", u"Courier", u"新宋体", u"NSimSun", MonoFamilyName}))
        return QString::fromUtf16(MonoFamilyName);
    if (NamedIn(Name, {u"Times New Roman", SerifFamilyName}))
        return QString::fromUtf16(SerifFamilyName);
    // 宋体, MS Sans Serif, Tahoma, Arial, 微软雅黑 and every name not known here.
    return QString::fromUtf16(SansFamilyName);
}

int InstalledPixelSize(int EmPixels)
{
    // The layouts were made for 宋体, whose digits take half its em. These faces' digits are wider,
    // so they draw at 11/12 of the em: a 9-point "16:48:08" then takes 43 pixels, within the 48
    // its column was made for.
    return std::max(1, static_cast<int>(std::lround(EmPixels * 11.0 / 12.0)));
}
