#pragma once
// The one place the window layer asks about the system: theme state, sizes, timings, monitors,
// system colours and the tick clock. Every value has the platform's classic default and can be
// set by tests; Reset returns to the defaults.
#include "platform/ui/Colors.h"
#include "platform/ui/Types.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// GetSystemMetrics indices the window layer answers.
enum : int {
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXMENUCHECK = 71,
    SM_CYMENUCHECK = 72,
};

// A monitor: its whole area and the part not taken by task bars.
struct TMonitorArea {
    TRect Bounds;
    TRect WorkArea;

    bool operator==(const TMonitorArea&) const = default;
};

class TPlatformMetrics {
public:
    TPlatformMetrics();

    // Back to the defaults below; tests call it when they are done.
    void Reset();

    // Whether controls draw themed (through ThemeServices). Default true: the application runs themed.
    bool ThemesActive() const { return FThemesActive; }
    void SetThemesActive(bool Value) { FThemesActive = Value; }

    // Width of a vertical and height of a horizontal scroll bar. Default 17 px each.
    int VScrollWidth() const { return FVScrollWidth; }
    void SetVScrollWidth(int Value) { FVScrollWidth = Value; }
    int HScrollHeight() const { return FHScrollHeight; }
    void SetHScrollHeight(int Value) { FHScrollHeight = Value; }

    // Side of a check box. Default 13 px.
    int CheckBoxSize() const { return FCheckBoxSize; }
    void SetCheckBoxSize(int Value) { FCheckBoxSize = Value; }

    // Longest pause and largest move between two clicks of a double click. Defaults 500 ms, 4 px.
    int DoubleClickTime() const { return FDoubleClickTime; }
    void SetDoubleClickTime(int Value) { FDoubleClickTime = Value; }
    int DoubleClickDistance() const { return FDoubleClickDistance; }
    void SetDoubleClickDistance(int Value) { FDoubleClickDistance = Value; }

    // Character height of the screen's default font; default: the default TFont's text height.
    int ScreenFontHeight() const;
    void SetScreenFontHeight(int Value) { FScreenFontHeight = Value; }

    // The monitors, primary first; default (and after setting none): the screens Qt reports.
    std::vector<TMonitorArea> Monitors() const;
    void SetMonitors(std::vector<TMonitorArea> Value);
    // The monitor that overlaps R most, or when none does, the one nearest to it.
    TMonitorArea MonitorNearest(const TRect& R) const;

    // The system colour table (COLOR_xxx index -> 0x00BBGGRR); defaults to the classic scheme.
    TColor SysColor(int Index) const;
    void SetSysColor(int Index, TColor Value);

    // Milliseconds since an arbitrary start, wrapping at 2^32; default: a monotonic clock.
    std::uint32_t TickCount() const;
    void SetTickClock(std::function<std::uint32_t()> Clock) { FTickClock = std::move(Clock); }

private:
    bool FThemesActive = true;
    int FVScrollWidth = 17;
    int FHScrollHeight = 17;
    int FCheckBoxSize = 13;
    int FDoubleClickTime = 500;
    int FDoubleClickDistance = 4;
    std::optional<int> FScreenFontHeight;
    std::optional<std::vector<TMonitorArea>> FMonitors;
    std::array<TColor, COLOR_ENDCOLORS + 1> FSysColors{};
    std::function<std::uint32_t()> FTickClock;
};

// The process-wide metrics object.
TPlatformMetrics& PlatformMetrics();

// The platform's calls, answered from PlatformMetrics().
int GetSystemMetrics(int Index);
unsigned GetDoubleClickTime();
std::uint32_t GetTickCount();
