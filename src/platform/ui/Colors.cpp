// System colours resolved to RGB through the platform metrics.
#include "platform/ui/Colors.h"

#include "platform/ui/PlatformMetrics.h"

TColor ColorToRGB(TColor Color)
{
    return IsSystemColor(Color) ? GetSysColor(Color & 0xFF) : Color;
}

TColor GetSysColor(int Index)
{
    return PlatformMetrics().SysColor(Index);
}
