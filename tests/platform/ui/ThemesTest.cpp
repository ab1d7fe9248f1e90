// Theme services: following the metrics, element states and details, the check box size.
#include "platform/ui/Bitmap.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/Themes.h"

#include <QApplication>
#include <QStyle>

#include <gtest/gtest.h>

namespace {

QImage Drawn(const TThemedElementDetails& Details)
{
    TBitmap bitmap(24, 24);
    ThemeServices().DrawElement(bitmap.Canvas(), Details, Rect(0, 0, 24, 24));
    return bitmap.Image();
}

TEST(ThemeServices, FollowsTheMetricsObject)
{
    EXPECT_TRUE(ThemeServices().ThemesEnabled());
    PlatformMetrics().SetThemesActive(false);
    EXPECT_FALSE(ThemeServices().ThemesEnabled());
    PlatformMetrics().Reset();
}

TEST(ThemeServices, StatesOfAnElementLookDifferent)
{
    TThemeServices& themes = ThemeServices();
    const QImage unchecked = Drawn(themes.GetElementDetails(TThemedButton::tbCheckBoxUncheckedNormal));
    const QImage checked = Drawn(themes.GetElementDetails(TThemedButton::tbCheckBoxCheckedNormal));
    QImage blank(24, 24, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_NE(unchecked, blank);
    EXPECT_NE(unchecked, checked);
    EXPECT_NE(Drawn(themes.GetElementDetails(TThemedTreeview::ttGlyphClosed)),
              Drawn(themes.GetElementDetails(TThemedTreeview::ttGlyphOpened)));
    EXPECT_NE(Drawn(themes.GetElementDetails(TThemedSpin::tsUpNormal)),
              Drawn(themes.GetElementDetails(TThemedSpin::tsDownNormal)));
    EXPECT_NE(Drawn(themes.GetElementDetails(TThemedButton::tbPushButtonNormal)), blank);
    EXPECT_NE(Drawn(themes.GetElementDetails(TThemedHeader::thHeaderItemNormal)), blank);
    EXPECT_NE(Drawn(themes.GetElementDetails(TThemedComboBox::tcDropDownButtonNormal)), blank);
    EXPECT_NE(Drawn(themes.GetElementDetails(TThemedToolBar::ttbButtonHot)), blank);
    EXPECT_NE(Drawn(themes.GetElementDetails(TThemedToolBar::ttbButtonPressed)),
              Drawn(themes.GetElementDetails(TThemedToolBar::ttbButtonHot)));
    EXPECT_NE(Drawn(themes.GetElementDetails(TThemedButton::tbGroupBoxNormal)), blank);
}

TEST(ThemeServices, DetailsNameKindStateAndCheck)
{
    const TThemedElementDetails mixedHot = ThemeServices().GetElementDetails(TThemedButton::tbCheckBoxMixedHot);
    EXPECT_EQ(mixedHot.Kind, TThemedElementDetails::TKind::CheckBox);
    EXPECT_EQ(mixedHot.State, TThemedElementDetails::TState::Hot);
    EXPECT_EQ(mixedHot.Check, TThemedElementDetails::TCheck::Mixed);
    const TThemedElementDetails radio = ThemeServices().GetElementDetails(TThemedButton::tbRadioButtonCheckedDisabled);
    EXPECT_EQ(radio.Kind, TThemedElementDetails::TKind::RadioButton);
    EXPECT_EQ(radio.State, TThemedElementDetails::TState::Disabled);
    EXPECT_EQ(radio.Check, TThemedElementDetails::TCheck::Checked);
    EXPECT_EQ(ThemeServices().GetElementDetails(TThemedSpin::tsDownPressed).Kind, TThemedElementDetails::TKind::SpinDown);
}

TEST(ThemeServices, CheckBoxSizeIsTheStyleIndicator)
{
    const TSize size = ThemeServices().GetElementSize(ThemeServices().GetElementDetails(TThemedButton::tbCheckBoxCheckedNormal));
    EXPECT_EQ(size.cx, QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth));
    EXPECT_EQ(size.cy, QApplication::style()->pixelMetric(QStyle::PM_IndicatorHeight));
}

}  // namespace
