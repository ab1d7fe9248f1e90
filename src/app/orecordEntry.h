#pragma once
// What the registrations of the record pages share: the test of a filled field, the refusals of
// numbers too large to sum, and the one transaction a registration's statements are stored in.
#include "platform/ado/ADODB.h"
#include "platform/core/String.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"

// The refusals of a quantity or amount whose sums the pages could no longer show.
inline const String QuantityTooLarge = u"数量过大，合计将超出可保存的范围 ！"_s;
inline const String AmountTooLarge = u"金额过大，合计将超出可保存的范围 ！"_s;

// A filled field: neither blank nor showing its placeholder.
inline bool IsFilled(const String& Text, const String& Placeholder = String())
{
    const String trimmed = Trim(Text);
    return !trimmed.isEmpty() && trimmed != Placeholder;
}

// Runs Store in one transaction on Connection: its statements are stored together, or, when it
// raises, none of them, and the exception goes on to the caller.
template <class TStore>
void StoreInOneTransaction(TADOConnection* Connection, TStore&& Store)
{
    Connection->BeginTrans();
    try {
        Store();
        Connection->CommitTrans();
    } catch (...) {
        if (Connection->InTransaction())
            Connection->RollbackTrans();
        throw;
    }
}
