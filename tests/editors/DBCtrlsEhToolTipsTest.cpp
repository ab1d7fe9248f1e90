// The tool-tip window measures in the font of the cell it stands over.
#include "editors/DBCtrlsEh.h"

#include "platform/ui/Graphics.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ToolTipsWindowTest, MeasuresInTheCellsFontInTheWindowTextColour)
{
    TToolTipsWindow window(nullptr);
    TFont small;
    small.SetSize(8);
    small.SetColor(clRed);
    TFont large;
    large.SetSize(24);
    large.SetStyle({TFontStyle::fsBold});
    const TRect smallRect = window.CalcHintRect(1000, u"订书机 12"_s, &small);
    EXPECT_EQ(window.Font()->Size(), 8);
    EXPECT_EQ(window.Font()->Color(), clWindowText);
    const TRect largeRect = window.CalcHintRect(1000, u"订书机 12"_s, &large);
    EXPECT_GT(largeRect.Height(), smallRect.Height());
    EXPECT_TRUE(window.Font()->Style().Contains(TFontStyle::fsBold));
    // Without a font the last one stays.
    EXPECT_EQ(window.CalcHintRect(1000, u"订书机 12"_s, nullptr), largeRect);
}
