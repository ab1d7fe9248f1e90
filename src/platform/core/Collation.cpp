#include "platform/core/Collation.h"

#include <QCollator>
#include <QLocale>

namespace {

QCollator MakeCollator(Qt::CaseSensitivity sensitivity)
{
    QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
    collator.setCaseSensitivity(sensitivity);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);
    return collator;
}

// A QCollator is not safe to share across threads; the GUI thread does all collation, and
// any other thread gets its own.
const QCollator& Collator(TCaseSensitivity sensitivity)
{
    thread_local const QCollator insensitive = MakeCollator(Qt::CaseInsensitive);
    thread_local const QCollator sensitive = MakeCollator(Qt::CaseSensitive);
    return sensitivity == TCaseSensitivity::Sensitive ? sensitive : insensitive;
}

}  // namespace

int CollateCompare(const String& S1, const String& S2, TCaseSensitivity Case)
{
    const int order = Collator(Case).compare(S1, S2);
    if (order != 0)
        return order;
    if (Case == TCaseSensitivity::Insensitive)
        return 0;
    return S1.compare(S2);
}
