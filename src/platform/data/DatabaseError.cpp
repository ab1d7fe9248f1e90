// Raises EDatabaseError after the component's name, and EDatabaseFileRefused.
#include "platform/data/DatabaseError.h"

#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"

void DatabaseError(const String& Message, const TComponent* Component)
{
    if (Component != nullptr && !Component->Name().isEmpty())
        throw EDatabaseError(Component->Name() + QStringLiteral(": ") + Message);
    throw EDatabaseError(Message);
}

void RefuseDatabaseFile(const String& Message)
{
    throw EDatabaseFileRefused(Message);
}
