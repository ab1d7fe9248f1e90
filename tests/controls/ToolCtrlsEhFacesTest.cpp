// Button faces read back as pixels on the classic painter, the glyph geometry, the default sizes
// and the shared face cache.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/PlatformMetrics.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

#include <initializer_list>

namespace {

constexpr TColor Background = clLime;
constexpr TColor Frame = clRed;

using S = TDrawButtonStyleEh;

// Faces painted classic onto a Background bitmap and read back; the cache starts empty.
class FacesTest : public ::testing::Test {
protected:
    FacesTest() : Bitmap(40, 40)
    {
        PlatformMetrics().SetThemesActive(false);
        FlushButtonBitmapCache();
        Clear();
    }
    ~FacesTest() override
    {
        FlushButtonBitmapCache();
        PlatformMetrics().Reset();
    }

    void Clear()
    {
        Canvas()->Brush()->SetColor(Background);
        Canvas()->FillRect(Rect(0, 0, 40, 40));
    }
    TCanvas* Canvas() { return Bitmap.Canvas(); }
    TColor At(int X, int Y) { return Canvas()->Pixels(X, Y); }
    // A 17 x 21 face at the origin.
    void Face(S Style, bool Enabled = true, bool Hot = false, bool Flat = false, int PressedPart = bppNoneEh,
              TCheckBoxState State = TCheckBoxState::cbUnchecked)
    {
        PaintButtonFace(Canvas(), Rect(0, 0, 17, 21), Frame, State, Enabled, Hot, Flat, PressedPart, Style);
    }
    int CountOf(TColor Color, const TRect& Area)
    {
        int Count = 0;
        for (int Y = Area.Top; Y < Area.Bottom; ++Y)
            for (int X = Area.Left; X < Area.Right; ++X)
                Count += At(X, Y) == ColorToRGB(Color) ? 1 : 0;
        return Count;
    }
    bool Untouched()
    {
        return CountOf(Background, Rect(0, 0, 40, 40)) == 40 * 40;
    }

    TBitmap Bitmap;
};

TColor Rgb(TColor Color) { return ColorToRGB(Color); }

// --- Each draw style ----------------------------------------------------------------------

TEST_F(FacesTest, DropDownShowsARaisedFaceWithItsArrowAndEmbossesItWhenDisabled)
{
    Face(S::dbsDropDownEh);
    EXPECT_EQ(At(0, 0), Rgb(cl3DLight));
    EXPECT_EQ(At(16, 20), Rgb(cl3DDkShadow));
    EXPECT_EQ(At(8, 10), Rgb(clBtnText));  // the arrow's middle
    EXPECT_EQ(At(3, 3), Rgb(clBtnFace));

    Face(S::dbsDropDownEh, false);
    EXPECT_EQ(At(8, 10), Rgb(clBtnShadow));
    EXPECT_EQ(CountOf(clBtnText, Rect(2, 2, 15, 19)), 0);
    EXPECT_GT(CountOf(clBtnHighlight, Rect(2, 2, 15, 19)), 0);

    Face(S::dbsDropDownEh, true, false, false, bppUpperEh);
    EXPECT_EQ(At(0, 0), Rgb(clBtnShadow));  // pressed: sunken, still on the button face
    EXPECT_EQ(At(3, 3), Rgb(clBtnFace));

    Face(S::dbsDropDownEh, true, false, true);
    EXPECT_EQ(At(0, 0), Rgb(Frame));
    EXPECT_EQ(At(3, 3), Rgb(clBtnFace));
}

TEST_F(FacesTest, EllipsisDrawsThreeTwoPixelDotsCentred)
{
    Face(S::dbsEllipsisEh);
    EXPECT_EQ(At(0, 0), Rgb(cl3DLight));
    // Inner width 13: dots of 2 with gaps of 2, at x 3, 7 and 11, rows 9 and 10.
    for (int X : {3, 4, 7, 8, 11, 12}) {
        EXPECT_EQ(At(X, 9), Rgb(clBtnText)) << X;
        EXPECT_EQ(At(X, 10), Rgb(clBtnText)) << X;
    }
    for (int X : {5, 6, 9, 10})
        EXPECT_EQ(At(X, 9), Rgb(clBtnFace)) << X;
    EXPECT_EQ(At(3, 8), Rgb(clBtnFace));

    Face(S::dbsEllipsisEh, true, false, false, bppUpperEh);
    EXPECT_EQ(At(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(At(4, 10), Rgb(clBtnText));  // moved one pixel right and down
    EXPECT_EQ(At(3, 9), Rgb(clBtnFace));
}

TEST_F(FacesTest, DisabledGlyphsAreEmbossedInHighlightUnderShadow)
{
    Face(S::dbsEllipsisEh, false);
    EXPECT_EQ(At(3, 9), Rgb(clBtnShadow));
    EXPECT_EQ(At(4, 10), Rgb(clBtnShadow));
    EXPECT_EQ(At(5, 11), Rgb(clBtnHighlight));
    EXPECT_EQ(CountOf(clBtnText, Rect(2, 2, 15, 19)), 0);
}

TEST_F(FacesTest, SpinPairPaintsTwoHalvesWithTheOddMiddleRowInTheFrameColour)
{
    Face(S::dbsUpDownEh);
    EXPECT_EQ(CountOf(Frame, Rect(0, 10, 17, 11)), 17);
    EXPECT_EQ(CountOf(Frame, Rect(0, 0, 17, 10)), 0);
    EXPECT_EQ(CountOf(Frame, Rect(0, 11, 17, 21)), 0);
    EXPECT_EQ(At(0, 0), Rgb(cl3DLight));
    EXPECT_EQ(At(16, 9), Rgb(cl3DDkShadow));  // the upper half ends at row 9
    EXPECT_EQ(At(0, 11), Rgb(cl3DLight));     // the lower one starts at row 11
    EXPECT_GT(CountOf(clBtnText, Rect(0, 0, 17, 10)), 0);
    EXPECT_GT(CountOf(clBtnText, Rect(0, 11, 17, 21)), 0);

    Face(S::dbsUpDownEh, true, false, false, bppLowerEh);
    EXPECT_EQ(At(0, 0), Rgb(cl3DLight));
    EXPECT_EQ(At(0, 11), Rgb(clBtnShadow));
}

TEST_F(FacesTest, FlatClassicSpinPairFillsTheRowsAroundTheMiddleAndFramesTheButton)
{
    Face(S::dbsUpDownEh, true, false, true);
    for (int Y : {0, 9, 10, 11, 20})
        EXPECT_EQ(CountOf(Frame, Rect(0, Y, 17, Y + 1)), 17) << Y;
    EXPECT_EQ(At(0, 5), Rgb(Frame));
    EXPECT_EQ(At(16, 15), Rgb(Frame));
    EXPECT_EQ(CountOf(Frame, Rect(1, 1, 16, 9)), 0);
    EXPECT_GT(CountOf(clBtnText, Rect(1, 1, 16, 9)), 0);
    EXPECT_GT(CountOf(clBtnText, Rect(1, 12, 16, 20)), 0);
}

TEST_F(FacesTest, CheckBoxShowsItsMarkOnlyWhenCheckedAndGraysItWhenGrayed)
{
    const TRect Box = Rect(2, 2, 11, 11);
    PaintButtonFace(Canvas(), Rect(0, 0, 13, 13), Frame, TCheckBoxState::cbUnchecked, true, false, false, 0,
                    S::dbsCheckBoxEh);
    EXPECT_EQ(At(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(At(12, 12), Rgb(clBtnHighlight));
    EXPECT_EQ(CountOf(clWindowText, Box), 0);
    EXPECT_EQ(At(6, 6), Rgb(clWindow));

    PaintButtonFace(Canvas(), Rect(0, 0, 13, 13), Frame, TCheckBoxState::cbChecked, true, false, false, 0,
                    S::dbsCheckBoxEh);
    EXPECT_GT(CountOf(clWindowText, Box), 5);

    PaintButtonFace(Canvas(), Rect(0, 0, 13, 13), Frame, TCheckBoxState::cbGrayed, true, false, false, 0,
                    S::dbsCheckBoxEh);
    EXPECT_EQ(CountOf(clWindowText, Box), 0);
    EXPECT_GT(CountOf(clGrayText, Box), 5);

    PaintButtonFace(Canvas(), Rect(0, 0, 13, 13), Frame, TCheckBoxState::cbChecked, false, false, false, 0,
                    S::dbsCheckBoxEh);
    EXPECT_EQ(CountOf(clWindow, Box), 0);  // a disabled box is not white
    EXPECT_EQ(CountOf(clWindowText, Box), 0);
    EXPECT_GT(CountOf(clGrayText, Box), 5);
}

TEST_F(FacesTest, CheckBoxTakesTheLargestCentredSquare)
{
    PaintButtonFace(Canvas(), Rect(0, 0, 20, 13), Frame, TCheckBoxState::cbUnchecked, true, false, false, 0,
                    S::dbsCheckBoxEh);
    // (20 - 13) div 2 = 3: the box covers x 3 to 15, the extra pixel stays right.
    EXPECT_EQ(At(2, 6), Background);
    EXPECT_EQ(At(3, 6), Rgb(clBtnShadow));
    EXPECT_EQ(At(15, 6), Rgb(clBtnHighlight));
    EXPECT_EQ(At(16, 6), Background);
    EXPECT_EQ(At(17, 6), Background);
}

TEST_F(FacesTest, FlatCheckBoxIsFramedOnceInTheFrameColourOrSunkenWhenHot)
{
    PaintButtonFace(Canvas(), Rect(0, 0, 15, 15), Frame, TCheckBoxState::cbUnchecked, true, false, true, 0,
                    S::dbsCheckBoxEh);
    EXPECT_EQ(At(0, 0), Rgb(Frame));
    EXPECT_EQ(At(14, 14), Rgb(Frame));
    EXPECT_EQ(At(1, 1), Rgb(clBtnShadow));  // the 13 x 13 face inside it
    EXPECT_EQ(ButtonsBitmapCache().EntryAt(0)->Key().Width, 13);
    EXPECT_FALSE(ButtonsBitmapCache().EntryAt(0)->Key().Flat);

    PaintButtonFace(Canvas(), Rect(0, 0, 15, 15), Frame, TCheckBoxState::cbUnchecked, true, true, true, 0,
                    S::dbsCheckBoxEh);
    EXPECT_EQ(At(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(At(14, 14), Rgb(clBtnHighlight));
}

TEST_F(FacesTest, PlusDrawsTwoCentredBarsAndMinusOne)
{
    // Inner 13 x 17: M 13, bars 6 long and 2 thick for plus.
    Face(S::dbsPlusEh);
    EXPECT_EQ(At(0, 0), Rgb(cl3DLight));
    EXPECT_EQ(CountOf(clBtnText, Rect(0, 9, 17, 10)), 6);
    EXPECT_EQ(At(5, 9), Rgb(clBtnText));
    EXPECT_EQ(At(10, 10), Rgb(clBtnText));
    EXPECT_EQ(CountOf(clBtnText, Rect(7, 0, 8, 21)), 6);
    EXPECT_EQ(At(7, 7), Rgb(clBtnText));
    EXPECT_EQ(At(8, 12), Rgb(clBtnText));
    EXPECT_EQ(CountOf(clBtnText, Rect(0, 0, 17, 21)), 6 * 2 + 2 * 4);

    Face(S::dbsMinusEh);
    EXPECT_EQ(CountOf(clBtnText, Rect(0, 0, 17, 21)), 7 * 2);
    EXPECT_EQ(At(5, 9), Rgb(clBtnText));
    EXPECT_EQ(At(11, 10), Rgb(clBtnText));
    EXPECT_EQ(At(7, 7), Rgb(clBtnFace));

    Face(S::dbsMinusEh, false);
    EXPECT_EQ(CountOf(clBtnText, Rect(0, 0, 17, 21)), 0);
    EXPECT_EQ(At(5, 9), Rgb(clBtnShadow));
    EXPECT_EQ(At(12, 11), Rgb(clBtnHighlight));
}

TEST_F(FacesTest, AltDropDownDrawsADownwardArrowInWindowTextOrGrayText)
{
    // Smaller side 17: seven wide, four rows, from row 8.
    Face(S::dbsAltDropDownEh);
    EXPECT_EQ(CountOf(clWindowText, Rect(0, 8, 17, 9)), 7);
    EXPECT_EQ(CountOf(clWindowText, Rect(0, 9, 17, 10)), 5);
    EXPECT_EQ(CountOf(clWindowText, Rect(0, 10, 17, 11)), 3);
    EXPECT_EQ(At(8, 11), Rgb(clWindowText));
    EXPECT_EQ(CountOf(clWindowText, Rect(0, 0, 17, 21)), 16);

    Face(S::dbsAltDropDownEh, false);
    EXPECT_EQ(At(8, 11), Rgb(clGrayText));
    EXPECT_EQ(CountOf(clGrayText, Rect(0, 0, 17, 21)), 16);
}

TEST_F(FacesTest, AltSpinPairPointsUpInTheUpperHalfAndDownInTheLower)
{
    Face(S::dbsAltUpDownEh);
    EXPECT_EQ(CountOf(Frame, Rect(0, 10, 17, 11)), 17);
    // Halves 10 high: arrows three wide, two rows.
    EXPECT_EQ(At(8, 4), Rgb(clWindowText));
    EXPECT_EQ(At(7, 4), Rgb(clBtnFace));
    EXPECT_EQ(CountOf(clWindowText, Rect(0, 5, 17, 6)), 3);
    EXPECT_EQ(CountOf(clWindowText, Rect(0, 15, 17, 16)), 3);
    EXPECT_EQ(At(8, 16), Rgb(clWindowText));
    EXPECT_EQ(At(7, 16), Rgb(clBtnFace));
}

TEST_F(FacesTest, FlatClassicFaceIsFramedInTheFrameColour)
{
    Face(S::dbsEllipsisEh, true, false, true);
    EXPECT_EQ(At(0, 0), Rgb(Frame));
    EXPECT_EQ(At(16, 20), Rgb(Frame));
    EXPECT_EQ(At(1, 1), Rgb(clBtnFace));
    EXPECT_EQ(At(3, 9), Rgb(clBtnText));
}

TEST_F(FacesTest, HotFlatClassicFaceShowsARaisedEdgeAndSunkenWhenPressed)
{
    Face(S::dbsEllipsisEh, true, true, true);
    EXPECT_EQ(At(0, 0), Rgb(clBtnHighlight));
    EXPECT_EQ(At(16, 20), Rgb(clBtnShadow));
    EXPECT_EQ(At(1, 1), Rgb(clBtnFace));

    Face(S::dbsEllipsisEh, true, true, true, bppUpperEh);
    EXPECT_EQ(At(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(At(16, 20), Rgb(clBtnHighlight));
}

TEST_F(FacesTest, EmptyOrNegativeRectanglesDrawNothing)
{
    for (int Style = 0; Style <= 7; ++Style)
        for (const TRect& R : {Rect(5, 5, 5, 20), Rect(5, 5, 20, 5), Rect(9, 9, 2, 2), Rect(0, 0, -4, -4)}) {
            PaintButtonFace(Canvas(), R, Frame, TCheckBoxState::cbChecked, true, false, false, 1, S(Style));
            PaintButtonFace(Canvas(), R, Frame, TCheckBoxState::cbChecked, true, false, true, 2, S(Style));
            PaintStyledButtonFace(Canvas(), S(Style), R, false, false, false, false, true);
            PaintCheckBoxFace(Canvas(), R, TCheckBoxState::cbChecked, false, false, true, true);
        }
    EXPECT_TRUE(Untouched());
}

TEST_F(FacesTest, TinyFacesStayInsideTheirRectangle)
{
    for (int Style = 0; Style <= 7; ++Style)
        for (int Side = 1; Side <= 4; ++Side)
            for (bool Flat : {false, true}) {
                Clear();
                PaintButtonFace(Canvas(), Rect(10, 10, 10 + Side, 10 + Side), Frame, TCheckBoxState::cbChecked, true,
                                false, Flat, 0, S(Style));
                EXPECT_EQ(CountOf(Background, Rect(0, 0, 40, 40)), 40 * 40 - Side * Side) << Style << " " << Side;
            }
}

// --- Geometry and sizes -------------------------------------------------------------------

TEST(FaceGeometryTest, EllipsisDotsGrowPastSevenAndSpreadFromTwelve)
{
    EXPECT_EQ(EllipsisDotsForWidth(7).Size, 1);
    EXPECT_EQ(EllipsisDotsForWidth(8).Size, 2);
    EXPECT_EQ(EllipsisDotsForWidth(11).Gap, 1);
    EXPECT_EQ(EllipsisDotsForWidth(12).Gap, 2);
}

TEST(FaceGeometryTest, PlusAndMinusBarsFollowTheSidesParity)
{
    auto bars = [](int M, bool Plus, bool Flat) {
        const TPlusMinusBarsEh B = PlusMinusBarsForSide(M, Plus, Flat);
        return std::pair(B.Length, B.Thickness);
    };
    // M 11: 6 long, 2 thick; odd M makes it 7 (5 flat); plus then needs the thickness's parity.
    EXPECT_EQ(bars(11, false, false), std::pair(7, 2));
    EXPECT_EQ(bars(11, false, true), std::pair(5, 2));
    EXPECT_EQ(bars(11, true, false), std::pair(8, 2));
    EXPECT_EQ(bars(11, true, true), std::pair(6, 2));
    EXPECT_EQ(bars(12, false, false), std::pair(6, 2));
    EXPECT_EQ(bars(12, true, true), std::pair(6, 2));
    // From 12 on plus shortens instead: M 13 gives 7, then 6.
    EXPECT_EQ(bars(13, true, false), std::pair(6, 2));
    // Never shorter than one pixel.
    EXPECT_EQ(bars(2, false, true), std::pair(1, 1));
    EXPECT_EQ(bars(1, true, true), std::pair(1, 1));
}

class FaceMetricsTest : public ::testing::Test {
protected:
    ~FaceMetricsTest() override { PlatformMetrics().Reset(); }
    int WidthFor(int FontHeight, bool Themed)
    {
        PlatformMetrics().SetScreenFontHeight(FontHeight);
        PlatformMetrics().SetThemesActive(Themed);
        return ComputeEditButtonWidth();
    }
};

TEST_F(FaceMetricsTest, ArrowWidthFollowsTheSmallerSide)
{
    PlatformMetrics().SetThemesActive(false);
    EXPECT_EQ(SpinArrowWidth(19), 9);
    EXPECT_EQ(SpinArrowWidth(16), 7);
    EXPECT_EQ(SpinArrowWidth(12), 5);
    EXPECT_EQ(SpinArrowWidth(11), 3);
    PlatformMetrics().SetThemesActive(true);
    EXPECT_EQ(SpinArrowWidth(11), 5);
}

TEST_F(FaceMetricsTest, EditButtonWidthIsTwoThirdsOfTheFontOddClassicEvenThemedAndAtMostAScrollBar)
{
    EXPECT_EQ(WidthFor(16, false), 11);
    EXPECT_EQ(WidthFor(16, true), 12);
    EXPECT_EQ(WidthFor(15, false), 11);
    EXPECT_EQ(WidthFor(15, true), 10);
    EXPECT_EQ(WidthFor(30, false), 17);
    EXPECT_EQ(WidthFor(30, true), 17);
    PlatformMetrics().SetVScrollWidth(25);
    EXPECT_EQ(WidthFor(30, false), 21);
    EXPECT_EQ(WidthFor(30, true), 20);
}

TEST_F(FaceMetricsTest, FlatButtonHeightRoundsHalvesToEven)
{
    EXPECT_EQ(EditButtonHeightForWidth(11, true), 16);
    EXPECT_EQ(EditButtonHeightForWidth(13, true), 20);
    EXPECT_EQ(EditButtonHeightForWidth(14, true), 21);
    EXPECT_EQ(EditButtonHeightForWidth(11, false), 11);
}

TEST_F(FaceMetricsTest, CheckBoxIsPlacedByAlignmentOnlyWhereTheRectangleHasRoom)
{
    EXPECT_EQ(DefaultCheckBoxSize(), (TSize{13, 13}));
    // Narrower than the box but higher: cut to the width, still at the bottom.
    EXPECT_EQ(PlaceCheckBoxInRect(Rect(10, 10, 20, 40), TAlignment::taRightJustify, TTextLayout::tlBottom),
              Rect(10, 27, 20, 40));
    EXPECT_EQ(PlaceCheckBoxInRect(Rect(0, 0, 41, 41), TAlignment::taCenter, TTextLayout::tlCenter),
              Rect(14, 14, 27, 27));
    EXPECT_EQ(PlaceCheckBoxInRect(Rect(0, 0, 30, 10), TAlignment::taRightJustify, TTextLayout::tlCenter),
              Rect(17, 0, 30, 10));
    EXPECT_EQ(PlaceCheckBoxInRect(Rect(5, 5, 9, 8), TAlignment::taCenter, TTextLayout::tlBottom), Rect(5, 5, 9, 8));
    EXPECT_EQ(PlaceCheckBoxInRect(Rect(0, 0, 30, 30), TAlignment::taLeftJustify, TTextLayout::tlTop),
              Rect(0, 0, 13, 13));
    PlatformMetrics().SetCheckBoxSize(15);
    EXPECT_EQ(PlaceCheckBoxInRect(Rect(0, 0, 30, 30), TAlignment::taRightJustify, TTextLayout::tlBottom),
              Rect(15, 15, 30, 30));
}

// --- Cache --------------------------------------------------------------------------------

TEST_F(FacesTest, TheSameFaceIsRenderedOnceAndEachChangedKeyAgain)
{
    Face(S::dbsDropDownEh);
    Face(S::dbsDropDownEh);
    EXPECT_EQ(ButtonsBitmapCache().Count(), 1);
    Face(S::dbsDropDownEh, true, true);
    EXPECT_EQ(ButtonsBitmapCache().Count(), 2);
    EXPECT_TRUE(ButtonsBitmapCache().EntryAt(1)->Key().Hot);
    Face(S::dbsDropDownEh, true, true);
    EXPECT_EQ(ButtonsBitmapCache().Count(), 2);
    // A spin pair keeps each half on its own.
    Face(S::dbsUpDownEh);
    EXPECT_EQ(ButtonsBitmapCache().Count(), 4);
    EXPECT_FALSE(ButtonsBitmapCache().EntryAt(2)->Key().DownHalf);
    EXPECT_TRUE(ButtonsBitmapCache().EntryAt(3)->Key().DownHalf);
    EXPECT_EQ(ButtonsBitmapCache().EntryAt(3)->Bitmap()->Height(), 10);
    FlushButtonBitmapCache();
    EXPECT_EQ(ButtonsBitmapCache().Count(), 0);
}

TEST_F(FacesTest, ACopiedFaceEqualsOneDrawnDirectly)
{
    Face(S::dbsEllipsisEh, true, false, false, bppUpperEh);
    const QImage Cached = Bitmap.Image().copy(0, 0, 17, 21);
    Clear();
    PaintStyledButtonFace(Canvas(), S::dbsEllipsisEh, Rect(0, 0, 17, 21), false, true, false, false, true);
    EXPECT_EQ(Bitmap.Image().copy(0, 0, 17, 21), Cached);
}

TEST_F(FacesTest, DirectPaintingIgnoresTheCallersPen)
{
    Canvas()->Pen()->SetWidth(3);
    Canvas()->Pen()->SetMode(TPenMode::pmNot);
    PaintStyledButtonFace(Canvas(), S::dbsMinusEh, Rect(0, 0, 17, 21), false, false, false, false, true);
    EXPECT_EQ(CountOf(clBtnText, Rect(0, 0, 17, 21)), 7 * 2);
}

TEST_F(FacesTest, NegativeSizesAreKeptAsAnEmptyFace)
{
    TButtonBitmapKeyEh Key;
    Key.Width = -5;
    Key.Height = 7;
    TBitmap* Face = ButtonsBitmapCache().BitmapFor(Key);
    ASSERT_NE(Face, nullptr);
    EXPECT_TRUE(Face->Empty());
    EXPECT_EQ(ButtonsBitmapCache().EntryAt(0)->Key().Width, 0);
    Key.Width = 0;
    EXPECT_EQ(ButtonsBitmapCache().BitmapFor(Key), Face);
    EXPECT_EQ(ButtonsBitmapCache().Count(), 1);
}

TEST_F(FacesTest, SwitchingThemesOrThePaletteEmptiesTheCache)
{
    Face(S::dbsDropDownEh);
    PlatformMetrics().SetThemesActive(true);
    Face(S::dbsDropDownEh);
    EXPECT_EQ(ButtonsBitmapCache().Count(), 1);

    const QPalette Saved = QApplication::palette();
    QPalette Changed = Saved;
    Changed.setColor(QPalette::Button, Qt::darkCyan);
    QApplication::setPalette(Changed);
    EXPECT_EQ(ButtonsBitmapCache().Count(), 0);
    QApplication::setPalette(Saved);
}

TEST_F(FacesTest, ThemedFacesDrawWithinTheirRectangle)
{
    PlatformMetrics().SetThemesActive(true);
    for (int Style = 0; Style <= 7; ++Style) {
        Clear();
        PaintButtonFace(Canvas(), Rect(5, 5, 22, 26), Frame, TCheckBoxState::cbChecked, true, false, false, 0,
                        S(Style));
        EXPECT_LT(CountOf(Background, Rect(5, 5, 22, 26)), 17 * 21) << Style;
        EXPECT_EQ(CountOf(Background, Rect(0, 0, 40, 40)) + 17 * 21 - CountOf(Background, Rect(5, 5, 22, 26)), 40 * 40)
            << Style;
    }
}

}  // namespace
