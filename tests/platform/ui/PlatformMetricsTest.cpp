// The platform metrics: system colours, colour parts, test overrides and the monitors.
#include "platform/ui/Colors.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/Printers.h"

#include <gtest/gtest.h>

namespace {

class PlatformMetricsTest : public ::testing::Test {
protected:
    ~PlatformMetricsTest() override { PlatformMetrics().Reset(); }
};

TEST_F(PlatformMetricsTest, SystemColoursResolveThroughTheClassicTable)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(240, 240, 240));
    EXPECT_EQ(ColorToRGB(clBtnShadow), RGB(160, 160, 160));
    EXPECT_EQ(ColorToRGB(clHighlight), RGB(0, 120, 215));
    EXPECT_EQ(ColorToRGB(clHighlight), 0xD77800);
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(cl3DDkShadow), 0x696969);
    EXPECT_EQ(ColorToRGB(clInfoBk), 0xE1FFFF);
    EXPECT_EQ(ColorToRGB(clSilver), clSilver);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(clBtnFace, static_cast<TColor>(0x8000000F));
}

TEST_F(PlatformMetricsTest, ColourPartsOfRGB)
{
    const TColor c = RGB(10, 20, 30);
    EXPECT_EQ(c, 0x1E140A);
    EXPECT_EQ(GetRValue(c), 10);
    EXPECT_EQ(GetGValue(c), 20);
    EXPECT_EQ(GetBValue(c), 30);
}

TEST_F(PlatformMetricsTest, TestsCanChangeAndResetEverything)
{
    TPlatformMetrics& metrics = PlatformMetrics();
    metrics.SetSysColor(COLOR_BTNFACE, clSilver);
    metrics.SetVScrollWidth(21);
    metrics.SetDoubleClickDistance(6);
    metrics.SetCheckBoxSize(15);
    metrics.SetTickClock([] { return 1234u; });
    EXPECT_EQ(ColorToRGB(clBtnFace), clSilver);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 21);
    EXPECT_EQ(GetSystemMetrics(SM_CXDOUBLECLK), 6);
    EXPECT_EQ(GetSystemMetrics(SM_CXMENUCHECK), 15);
    EXPECT_EQ(GetTickCount(), 1234u);

    metrics.Reset();
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(240, 240, 240));
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 17);
    EXPECT_EQ(GetDoubleClickTime(), 500u);
    EXPECT_EQ(GetSystemMetrics(SM_CYDOUBLECLK), 4);
    EXPECT_EQ(metrics.ScreenFontHeight(), TFont().Metrics().tmHeight);
}

TEST_F(PlatformMetricsTest, NearestMonitorOverlapsMostOrIsClosest)
{
    const TMonitorArea left{Rect(0, 0, 1000, 800), Rect(0, 0, 1000, 760)};
    const TMonitorArea right{Rect(1000, 0, 2000, 800), Rect(1000, 0, 2000, 770)};
    PlatformMetrics().SetMonitors({left, right});
    EXPECT_EQ(PlatformMetrics().MonitorNearest(Rect(900, 10, 1200, 50)), right);
    EXPECT_EQ(PlatformMetrics().MonitorNearest(Rect(10, 10, 20, 20)), left);
    EXPECT_EQ(PlatformMetrics().MonitorNearest(Rect(2100, 900, 2200, 950)), right);
    EXPECT_EQ(PlatformMetrics().MonitorNearest(Rect(-300, -300, -200, -200)), left);
}

TEST_F(PlatformMetricsTest, MonitorsDefaultToTheScreens)
{
    EXPECT_FALSE(PlatformMetrics().Monitors().empty());
}

}  // namespace
