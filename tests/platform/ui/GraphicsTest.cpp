// Fonts: the default, the system's names, sizes and heights, metrics and changes; canvas colours.
#include "platform/core/Exceptions.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Graphics.h"

#include <QFontInfo>

#include <gtest/gtest.h>

namespace {

TEST(TFont, DefaultIsAChineseCapableNinePointFont)
{
    const TFont font;
    EXPECT_EQ(font.Size(), 9);
    EXPECT_EQ(font.Height(), -12);
    EXPECT_TRUE(QFontInfo(font.Handle()).family().contains(QStringLiteral("CJK")));
    EXPECT_TRUE(font.FontMetrics().inFont(QChar(0x529E)));  // 办
}

// Every name the system uses draws with a family the setup installs, never the machine's fallback.
TEST(TFont, TheSystemsFontNamesDrawWithTheInstalledFamilies)
{
    const struct {
        const char16_t* Name;
        TFontPitch Pitch;
        const char* Family;
    } cases[] = {
        {u"宋体", TFontPitch::fpDefault, "Noto Sans CJK SC"},
        {u"MS Sans Serif", TFontPitch::fpDefault, "Noto Sans CJK SC"},
        {u"Tahoma", TFontPitch::fpDefault, "Noto Sans CJK SC"},
        {u"Arial", TFontPitch::fpDefault, "Noto Sans CJK SC"},
        {u"No Such Font", TFontPitch::fpDefault, "Noto Sans CJK SC"},
        {u"Times New Roman", TFontPitch::fpDefault, "Noto Serif CJK SC"},
        {u"Courier New", TFontPitch::fpDefault, "Noto Sans Mono CJK SC"},
        {u"Arial", TFontPitch::fpFixed, "Noto Sans Mono CJK SC"},
    };
    for (const auto& [name, pitch, family] : cases) {
        TFont font;
        font.SetName(QString::fromUtf16(name));
        font.SetPitch(pitch);
        EXPECT_EQ(QFontInfo(font.Handle()).family(), QString::fromUtf8(family)) << QString::fromUtf16(name).toStdString();
        EXPECT_EQ(font.Name(), QString::fromUtf16(name)) << "the name stays the system's";
    }
}

TEST(TFont, SizeAndHeightConvertAtNinetySixPixelsPerInch)
{
    TFont font;
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16);
    font.SetHeight(-15);
    EXPECT_EQ(font.Size(), 11);
    EXPECT_EQ(font.Handle().pixelSize(), 14) << "11/12 of the em, the widths 宋体 gives";
}

TEST(TFont, MetricsComeFromTheQtFont)
{
    TFont font;
    font.SetHeight(-20);
    const TTextMetric tm = font.Metrics();
    const QFontMetrics metrics(font.Handle());
    EXPECT_EQ(tm.tmAscent, metrics.ascent());
    EXPECT_EQ(tm.tmDescent, metrics.descent());
    EXPECT_EQ(tm.tmHeight, metrics.ascent() + metrics.descent());
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 20);
    EXPECT_EQ(tm.tmAveCharWidth, metrics.averageCharWidth());
}

TEST(TFont, PositiveHeightIsTheCellHeight)
{
    TFont font;
    font.SetHeight(30);
    EXPECT_NEAR(font.Metrics().tmHeight, 30, 1);
}

TEST(TFont, ChangesAreReportedOnceAndAssignCopiesEverything)
{
    TFont font;
    int changes = 0;
    font.OnChange = [&changes](TObject*) { ++changes; };
    font.SetStyle({TFontStyle::fsBold, TFontStyle::fsUnderline});
    font.SetStyle({TFontStyle::fsBold, TFontStyle::fsUnderline});
    font.SetColor(clRed);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(font.Handle().bold());
    EXPECT_TRUE(font.Handle().underline());

    TFont copy;
    copy.Assign(&font);
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copy.Style(), font.Style());
    EXPECT_EQ(copy.Height(), font.Height());

    TPen pen;
    EXPECT_THROW(copy.Assign(&pen), EConvertError);
}

TEST(TCanvas, TextColourAndBackgroundFollowFontAndBrush)
{
    TCanvas canvas;
    canvas.Font()->SetColor(clBlue);
    EXPECT_EQ(canvas.TextColor(), clBlue);
    EXPECT_EQ(canvas.SetTextColor(clRed), clBlue);
    canvas.Brush()->SetColor(clYellow);
    EXPECT_EQ(canvas.BkColor(), clYellow);
    EXPECT_EQ(canvas.SetBkMode(TRANSPARENT), OPAQUE);
    TFont big;
    big.SetSize(20);
    canvas.SetFont(&big);
    EXPECT_EQ(canvas.TextHeight(QStringLiteral("x")), big.Metrics().tmHeight);
}

}  // namespace
