// Unit FreeMemory: a timer that hands unused heap memory back to the system once a second.
#include "app/FreeMemory.h"

#include "platform/core/WorkingSet.h"
#include "platform/ui/Timer.h"

namespace {

constexpr unsigned TrimInterval = 1000;

WPARAM GTimerId = 0;
bool GBusy = false;

}  // namespace

void FreeMemoryTimerProc(HWND, unsigned, WPARAM, unsigned)
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
    if (GTimerId == 0)
        GTimerId = SetTimer(nullptr, 0, TrimInterval, FreeMemoryTimerProc);
}

void FinalizeFreeMemory()
{
    KillTimer(nullptr, GTimerId);
    GTimerId = 0;
}
