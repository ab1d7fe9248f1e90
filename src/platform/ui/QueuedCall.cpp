#include "platform/ui/QueuedCall.h"

#include <QCoreApplication>
#include <QMetaObject>

void QueueCall(std::function<void()> Call)
{
    QMetaObject::invokeMethod(qApp, [Call = std::move(Call)] { Call(); }, Qt::QueuedConnection);
}
