// The system's text order on ICU's Chinese collators, one per case sensitivity.
#include "platform/core/Collation.h"

#include "platform/core/Exceptions.h"

#include <unicode/ucol.h>
#include <unicode/uscript.h>

#include <memory>

namespace {

struct TCollatorClose {
    void operator()(UCollator* Collator) const { ucol_close(Collator); }
};
using TCollator = std::unique_ptr<UCollator, TCollatorClose>;

// Chinese by pinyin, as ICU's zh tailoring orders it, but with Latin letters before Han, as the
// platform's Chinese (PRC) sort puts them; digits, spaces and punctuation come before both.
// Secondary strength ignores case, tertiary tells it.
TCollator MakeCollator(UColAttributeValue Strength)
{
    UErrorCode status = U_ZERO_ERROR;
    TCollator collator(ucol_open("zh", &status));
    if (U_SUCCESS(status)) {
        ucol_setStrength(collator.get(), Strength);
        const std::int32_t scripts[] = {USCRIPT_LATIN, USCRIPT_HAN};
        ucol_setReorderCodes(collator.get(), scripts, std::size(scripts), &status);
    }
    if (U_FAILURE(status))
        throw EInvalidOperation(QStringLiteral("无法打开中文排序规则：%1").arg(QLatin1StringView(u_errorName(status))));
    return collator;
}

// Opened once and never changed after, so every thread may compare with it at once.
const UCollator* Collator(TCaseSensitivity Case)
{
    static const TCollator insensitive = MakeCollator(UCOL_SECONDARY);
    static const TCollator sensitive = MakeCollator(UCOL_TERTIARY);
    return (Case == TCaseSensitivity::Sensitive ? sensitive : insensitive).get();
}

const UChar* Utf16(const String& S) { return reinterpret_cast<const UChar*>(S.constData()); }

}  // namespace

int CollateCompare(const String& S1, const String& S2, TCaseSensitivity Case)
{
    const UCollationResult order =
        ucol_strcoll(Collator(Case), Utf16(S1), static_cast<std::int32_t>(S1.size()), Utf16(S2), static_cast<std::int32_t>(S2.size()));
    if (order != UCOL_EQUAL)
        return order;
    if (Case == TCaseSensitivity::Insensitive)
        return 0;
    return S1.compare(S2);
}
