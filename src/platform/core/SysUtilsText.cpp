// Text routines: trimming, case, comparison, quoting and 1-based positions.
#include "platform/core/Collation.h"
#include "platform/core/SysUtils.h"

#include <QLocale>

#include <algorithm>

namespace {

const QLocale& ChineseLocale()
{
    static const QLocale locale(QLocale::Chinese, QLocale::China);
    return locale;
}

bool IsBlank(Char C) { return C <= u' '; }

}  // namespace

String Trim(const String& S) { return TrimRight(TrimLeft(S)); }

String TrimLeft(const String& S)
{
    qsizetype start = 0;
    while (start < S.size() && IsBlank(S[start]))
        ++start;
    return S.mid(start);
}

String TrimRight(const String& S)
{
    qsizetype end = S.size();
    while (end > 0 && IsBlank(S[end - 1]))
        --end;
    return S.left(end);
}

String UpperCase(const String& S) { return ChineseLocale().toUpper(S); }
String LowerCase(const String& S) { return ChineseLocale().toLower(S); }
String AnsiUpperCase(const String& S) { return UpperCase(S); }
String AnsiLowerCase(const String& S) { return LowerCase(S); }

int CompareText(const String& S1, const String& S2) { return CollateCompare(S1, S2, TCaseSensitivity::Insensitive); }
int CompareStr(const String& S1, const String& S2) { return CollateCompare(S1, S2, TCaseSensitivity::Sensitive); }
int AnsiCompareText(const String& S1, const String& S2) { return CompareText(S1, S2); }
int AnsiCompareStr(const String& S1, const String& S2) { return CompareStr(S1, S2); }
bool SameText(const String& S1, const String& S2) { return CompareText(S1, S2) == 0; }
bool AnsiSameText(const String& S1, const String& S2) { return SameText(S1, S2); }

String QuotedStr(const String& S) { return AnsiQuotedStr(S, u'\''); }

String AnsiQuotedStr(const String& S, Char Quote)
{
    String result = S;
    result.replace(Quote, String(2, Quote));
    return Quote + result + Quote;
}

String AnsiDequotedStr(const String& S, Char Quote)
{
    if (S.isEmpty() || S[0] != Quote)
        return S;
    String result;
    for (qsizetype pos = 1; pos < S.size(); ++pos) {
        if (S[pos] != Quote) {
            result += S[pos];
        } else if (pos + 1 < S.size() && S[pos + 1] == Quote) {
            result += Quote;
            ++pos;
        } else {
            return result;  // the closing quote; what follows it is dropped
        }
    }
    return S;  // never closed: not quoted text
}

int Pos(const String& SubStr, const String& S)
{
    if (SubStr.isEmpty())
        return 0;
    return static_cast<int>(S.indexOf(SubStr)) + 1;
}

String Copy(const String& S, int Index, int Count)
{
    const qsizetype start = std::max(Index, 1) - 1;
    if (Count <= 0 || start >= S.size())
        return String();
    return S.mid(start, Count);
}
