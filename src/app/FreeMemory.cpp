#include "app/FreeMemory.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <malloc.h>

namespace {

constexpr int TrimInterval = 1000;

// A window-less timer: it belongs to no window, only to the application object.
QPointer<QTimer> GFreeMemoryTimer;
bool GBusy = false;

}  // namespace

void TrimWorkingSet() { malloc_trim(0); }

void FreeMemoryTimerProc()
{
    if (GBusy)
        return;
    GBusy = true;
    struct TClearBusy {
        ~TClearBusy() { GBusy = false; }
    } clearBusy;
    TrimWorkingSet();
}

void InitializeFreeMemory()
{
    if (GFreeMemoryTimer)
        return;
    GFreeMemoryTimer = new QTimer(QCoreApplication::instance());
    GFreeMemoryTimer->setObjectName(QStringLiteral("FreeMemoryTimer"));
    GFreeMemoryTimer->setInterval(TrimInterval);
    QObject::connect(GFreeMemoryTimer, &QTimer::timeout, &FreeMemoryTimerProc);
    GFreeMemoryTimer->start();
}

void FinalizeFreeMemory() { delete GFreeMemoryTimer; }
