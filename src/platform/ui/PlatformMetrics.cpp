// The metrics' classic defaults and overrides, the nearest monitor, and the calls that read them.
#include "platform/ui/PlatformMetrics.h"

#include "platform/ui/Graphics.h"
#include "platform/ui/QtConvert.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <climits>

namespace {

// The classic scheme of the platform's current versions (COLOR_xxx order; index 25 is unused).
constexpr std::array<TColor, COLOR_ENDCOLORS + 1> ClassicColors{
    RGB(200, 200, 200),  // scroll bar
    RGB(0, 0, 0),        // desktop background
    RGB(153, 180, 209),  // active caption
    RGB(191, 205, 219),  // inactive caption
    RGB(240, 240, 240),  // menu
    RGB(255, 255, 255),  // window
    RGB(100, 100, 100),  // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(0, 0, 0),        // caption text
    RGB(180, 180, 180),  // active border
    RGB(244, 247, 252),  // inactive border
    RGB(171, 171, 171),  // application work space
    RGB(0, 120, 215),    // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(240, 240, 240),  // button face
    RGB(160, 160, 160),  // button shadow
    RGB(109, 109, 109),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(0, 0, 0),        // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(105, 105, 105),  // 3-D dark shadow
    RGB(227, 227, 227),  // 3-D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
    RGB(0, 0, 0),        // unused
    RGB(0, 102, 204),    // hot-tracked item
    RGB(185, 209, 234),  // active caption gradient
    RGB(215, 228, 242),  // inactive caption gradient
    RGB(51, 153, 255),   // menu highlight
    RGB(240, 240, 240),  // menu bar
};

std::uint32_t SteadyTickCount()
{
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

// Squared distance between two rectangles; 0 when they touch or overlap.
long long DistanceSquared(const TRect& A, const TRect& B)
{
    const long long dx = std::max({0, B.Left - A.Right, A.Left - B.Right});
    const long long dy = std::max({0, B.Top - A.Bottom, A.Top - B.Bottom});
    return dx * dx + dy * dy;
}

}  // namespace

TPlatformMetrics::TPlatformMetrics() : FSysColors(ClassicColors), FTickClock(SteadyTickCount) {}

void TPlatformMetrics::Reset()
{
    *this = TPlatformMetrics();
}

int TPlatformMetrics::ScreenFontHeight() const
{
    return FScreenFontHeight ? *FScreenFontHeight : TFont().Metrics().tmHeight;
}

std::vector<TMonitorArea> TPlatformMetrics::Monitors() const
{
    if (FMonitors)
        return *FMonitors;
    std::vector<TMonitorArea> result;
    for (const QScreen* screen : QGuiApplication::screens())
        result.push_back({FromQRect(screen->geometry()), FromQRect(screen->availableGeometry())});
    if (result.empty())  // no display at all: one screen of the smallest size the program supports
        result.push_back({Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 768)});
    return result;
}

void TPlatformMetrics::SetMonitors(std::vector<TMonitorArea> Value)
{
    FMonitors = Value.empty() ? std::nullopt : std::optional(std::move(Value));
}

TMonitorArea TPlatformMetrics::MonitorNearest(const TRect& R) const
{
    const std::vector<TMonitorArea> monitors = Monitors();
    const TMonitorArea* best = &monitors.front();
    long long bestOverlap = -1;
    long long bestDistance = LLONG_MAX;
    for (const TMonitorArea& monitor : monitors) {
        const TRect common = monitor.Bounds.Intersected(R);
        const long long overlap = static_cast<long long>(common.Width()) * common.Height();
        const long long distance = DistanceSquared(monitor.Bounds, R);
        if (overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && distance < bestDistance)) {
            best = &monitor;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return *best;
}

TColor TPlatformMetrics::SysColor(int Index) const
{
    return Index >= 0 && Index <= COLOR_ENDCOLORS ? FSysColors[static_cast<std::size_t>(Index)] : clBlack;
}

void TPlatformMetrics::SetSysColor(int Index, TColor Value)
{
    if (Index >= 0 && Index <= COLOR_ENDCOLORS)
        FSysColors[static_cast<std::size_t>(Index)] = ColorToRGB(Value);
}

std::uint32_t TPlatformMetrics::TickCount() const
{
    return FTickClock();
}

TPlatformMetrics& PlatformMetrics()
{
    static TPlatformMetrics metrics;
    return metrics;
}

int GetSystemMetrics(int Index)
{
    const TPlatformMetrics& metrics = PlatformMetrics();
    switch (Index) {
    case SM_CXVSCROLL:
        return metrics.VScrollWidth();
    case SM_CYHSCROLL:
        return metrics.HScrollHeight();
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return metrics.DoubleClickDistance();
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
        return metrics.CheckBoxSize();
    default:
        return 0;
    }
}

unsigned GetDoubleClickTime()
{
    return static_cast<unsigned>(PlatformMetrics().DoubleClickTime());
}

std::uint32_t GetTickCount()
{
    return PlatformMetrics().TickCount();
}
