#pragma once
// What the registrations of the record pages share: the test of a filled field and the one
// transaction a registration's statements are stored in.
#include "platform/ado/ADODB.h"
#include "platform/core/String.h"
#include "platform/core/SysUtils.h"

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
