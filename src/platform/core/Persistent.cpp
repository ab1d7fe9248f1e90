// Assign handed to the source's AssignTo, and the error when no side can copy.
#include "platform/core/Persistent.h"

#include "platform/core/Exceptions.h"

void TPersistent::Assign(TPersistent* Source)
{
    if (Source != nullptr)
        Source->AssignTo(this);
    else
        AssignTo(nullptr);  // assigning nil is refused the same way
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    const String source = QString::fromLatin1(Dest == nullptr ? "nil" : ClassName());
    const String target = QString::fromLatin1(Dest == nullptr ? ClassName() : Dest->ClassName());
    throw EConvertError(QStringLiteral("不能将 %1 赋给 %2").arg(source, target));
}
