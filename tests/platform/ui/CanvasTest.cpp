// The canvas read back from a bitmap: lines, fills, frames, XOR, edges, clipping and bitmaps.
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/XorOverlay.h"
#include "platform/ui/Printers.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The points of a bitmap that have a given colour.
std::vector<TPoint> PointsOf(TBitmap& Bitmap, TColor Color)
{
    std::vector<TPoint> points;
    for (int y = 0; y < Bitmap.Height(); ++y)
        for (int x = 0; x < Bitmap.Width(); ++x)
            if (Bitmap.Canvas()->Pixels(x, y) == Color)
                points.push_back({x, y});
    return points;
}

std::vector<TPoint> PointsIn(const TRect& R)
{
    std::vector<TPoint> points;
    for (int y = R.Top; y < R.Bottom; ++y)
        for (int x = R.Left; x < R.Right; ++x)
            points.push_back({x, y});
    return points;
}

class CanvasTest : public ::testing::Test {
protected:
    CanvasTest() : FBitmap(20, 16) {}
    TCanvas& Canvas() { return *FBitmap.Canvas(); }

    TBitmap FBitmap;
};

TEST_F(CanvasTest, LineToLeavesOutItsEndPointAndMovesThePen)
{
    Canvas().Pen()->SetColor(clSilver);
    Canvas().MoveTo(2, 5);
    Canvas().LineTo(8, 5);
    Canvas().LineTo(8, 9);
    EXPECT_EQ(PointsOf(FBitmap, clSilver),
              (std::vector<TPoint>{{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}, {8, 6}, {8, 7}, {8, 8}}));
    EXPECT_EQ(Canvas().PenPos(), Point(8, 9));
}

TEST_F(CanvasTest, PolylineDrawsEverySegmentOnceAndLeavesOutTheLastPoint)
{
    Canvas().Pen()->SetColor(clRed);
    const TPoint points[] = {{1, 1}, {4, 1}, {4, 3}};
    Canvas().Polyline(points);
    EXPECT_EQ(PointsOf(FBitmap, clRed), (std::vector<TPoint>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}}));

    const TPoint pairs[] = {{0, 10}, {3, 10}, {0, 12}, {2, 12}};
    const int counts[] = {2, 2};
    Canvas().Pen()->SetColor(clBlue);
    Canvas().PolyPolyline(pairs, counts);
    EXPECT_EQ(PointsOf(FBitmap, clBlue), (std::vector<TPoint>{{0, 10}, {1, 10}, {2, 10}, {0, 12}, {1, 12}}));
}

TEST_F(CanvasTest, FillRectCoversExactlyTheRectangleWithoutRightAndBottom)
{
    Canvas().Brush()->SetColor(clNavy);
    Canvas().FillRect(Rect(3, 2, 7, 5));
    EXPECT_EQ(PointsOf(FBitmap, clNavy), PointsIn(Rect(3, 2, 7, 5)));
}

TEST_F(CanvasTest, FillRectWithAClearBrushDrawsNothing)
{
    Canvas().Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas().FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(PointsOf(FBitmap, clWhite).size(), 20u * 16u);
    Canvas().Brush()->SetColor(clRed);  // a colour makes the brush solid again
    EXPECT_EQ(Canvas().Brush()->Style(), TBrushStyle::bsSolid);
    Canvas().Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas().Brush()->SetColor(clRed);  // even the colour it already had
    EXPECT_EQ(Canvas().Brush()->Style(), TBrushStyle::bsSolid);
}

TEST_F(CanvasTest, FrameRectOutlinesTheInsideOfTheRectangle)
{
    Canvas().Brush()->SetColor(clGreen);
    Canvas().FrameRect(Rect(2, 2, 6, 5));
    EXPECT_EQ(PointsOf(FBitmap, clGreen),
              (std::vector<TPoint>{{2, 2}, {3, 2}, {4, 2}, {5, 2}, {2, 3}, {5, 3}, {2, 4}, {3, 4}, {4, 4}, {5, 4}}));
}

TEST_F(CanvasTest, RectangleOutlinesWithThePenAndFillsWithTheBrush)
{
    Canvas().Pen()->SetColor(clRed);
    Canvas().Brush()->SetColor(clYellow);
    Canvas().Rectangle(1, 1, 5, 5);
    EXPECT_EQ(PointsOf(FBitmap, clYellow), PointsIn(Rect(2, 2, 4, 4)));
    EXPECT_EQ(PointsOf(FBitmap, clRed).size(), 12u);
    EXPECT_EQ(Canvas().Pixels(5, 5), clWhite);

    // Without a pen the fill stops one pixel short on the right and bottom.
    Canvas().Pen()->SetStyle(TPenStyle::psClear);
    Canvas().Brush()->SetColor(clBlue);
    Canvas().Rectangle(10, 10, 14, 14);
    EXPECT_EQ(PointsOf(FBitmap, clBlue), PointsIn(Rect(10, 10, 13, 13)));
}

TEST_F(CanvasTest, XorLineShowsAndDisappearsWhenDrawnAgain)
{
    Canvas().Brush()->SetColor(clSilver);
    Canvas().FillRect(Rect(0, 0, 20, 16));
    Canvas().Pen()->SetMode(TPenMode::pmXor);
    Canvas().Pen()->SetColor(clWhite);
    Canvas().MoveTo(5, 0);
    Canvas().LineTo(5, 16);
    EXPECT_EQ(PointsOf(FBitmap, RGB(0x3F, 0x3F, 0x3F)), PointsIn(Rect(5, 0, 6, 16)));
    Canvas().MoveTo(5, 0);
    Canvas().LineTo(5, 16);
    EXPECT_EQ(PointsOf(FBitmap, clSilver).size(), 20u * 16u);
}

TEST_F(CanvasTest, FocusRectInvertsEveryOtherOutlinePixelOnce)
{
    Canvas().DrawFocusRect(Rect(2, 2, 8, 6));
    const std::vector<TPoint> inverted = PointsOf(FBitmap, clBlack);
    EXPECT_EQ(inverted, (std::vector<TPoint>{{2, 2}, {4, 2}, {6, 2}, {7, 3}, {2, 4}, {3, 5}, {5, 5}, {7, 5}}));
    Canvas().DrawFocusRect(Rect(2, 2, 8, 6));
    EXPECT_TRUE(PointsOf(FBitmap, clBlack).empty());
}

TEST_F(CanvasTest, RaisedEdgeUsesLightTopLeftAndDarkBottomRight)
{
    TRect r = Rect(0, 0, 10, 8);
    Canvas().DrawEdge(r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    EXPECT_EQ(Canvas().Pixels(0, 0), ColorToRGB(cl3DLight));
    EXPECT_EQ(Canvas().Pixels(0, 6), ColorToRGB(cl3DLight));
    EXPECT_EQ(Canvas().Pixels(1, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Canvas().Pixels(9, 7), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(Canvas().Pixels(9, 0), ColorToRGB(cl3DDkShadow));  // far corners belong to the dark side
    EXPECT_EQ(Canvas().Pixels(0, 7), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(Canvas().Pixels(8, 6), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Canvas().Pixels(4, 4), ColorToRGB(clBtnFace));
    EXPECT_EQ(r, Rect(2, 2, 8, 6));
}

TEST_F(CanvasTest, SunkenEdgeOnTwoSidesOnlyAdjustsThoseSides)
{
    TRect r = Rect(0, 0, 10, 8);
    Canvas().DrawEdge(r, EDGE_SUNKEN, BF_TOPLEFT | BF_ADJUST);
    EXPECT_EQ(Canvas().Pixels(5, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Canvas().Pixels(5, 1), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(Canvas().Pixels(9, 7), clWhite);
    EXPECT_EQ(r, Rect(2, 2, 10, 8));
}

TEST_F(CanvasTest, PushedCheckBoxFrameControlShowsTheCheckMark)
{
    TRect box = Rect(0, 0, 13, 13);
    Canvas().DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_TRUE(PointsOf(FBitmap, ColorToRGB(clWindowText)).empty());
    EXPECT_EQ(Canvas().Pixels(0, 0), ColorToRGB(clBtnShadow));
    Canvas().DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_FALSE(PointsOf(FBitmap, ColorToRGB(clWindowText)).empty());
}

TEST_F(CanvasTest, ClippingLimitsDrawingUntilRestored)
{
    Canvas().Brush()->SetColor(clRed);
    const int saved = Canvas().SaveDC();
    Canvas().IntersectClipRect(Rect(2, 2, 6, 6));
    Canvas().IntersectClipRect(Rect(4, 0, 20, 20));
    EXPECT_EQ(Canvas().ClipRect(), Rect(4, 2, 6, 6));
    EXPECT_FALSE(Canvas().RectVisible(Rect(0, 0, 4, 4)));
    Canvas().FillRect(Rect(0, 0, 20, 16));
    EXPECT_EQ(PointsOf(FBitmap, clRed), PointsIn(Rect(4, 2, 6, 6)));

    EXPECT_TRUE(Canvas().RestoreDC(saved));
    TRegion region;
    EXPECT_EQ(Canvas().GetClipRgn(region), 0);
    EXPECT_EQ(Canvas().ClipRect(), Rect(0, 0, 20, 16));
    EXPECT_FALSE(Canvas().RestoreDC(saved));
}

TEST_F(CanvasTest, PolygonRegionClipsByItsFillMode)
{
    // A square traced twice: winding fills it, alternate leaves it empty.
    const TPoint twice[] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}, {0, 0}, {8, 0}, {8, 8}, {0, 8}};
    const TRegion winding(twice, WINDING);
    EXPECT_TRUE(winding.Contains(Point(4, 4)));
    EXPECT_FALSE(TRegion(twice, ALTERNATE).Contains(Point(4, 4)));

    const TPoint triangle[] = {{0, 0}, {16, 0}, {0, 16}};
    const TRegion region(triangle, ALTERNATE);
    Canvas().SelectClipRgn(&region);
    Canvas().Brush()->SetColor(clRed);
    Canvas().FillRect(Rect(0, 0, 20, 16));
    EXPECT_EQ(Canvas().Pixels(1, 1), clRed);
    EXPECT_EQ(Canvas().Pixels(14, 14), clWhite);
    Canvas().SelectClipRgn(nullptr);
    Canvas().FillRect(Rect(0, 0, 20, 16));
    EXPECT_EQ(Canvas().Pixels(14, 14), clRed);
}

TEST_F(CanvasTest, GradientGoesFromTheStartColourTowardsTheEnd)
{
    Canvas().GradientFill(Rect(0, 0, 4, 2), RGB(0, 0, 0), RGB(200, 100, 40), GRADIENT_FILL_RECT_H);
    EXPECT_EQ(Canvas().Pixels(0, 1), RGB(0, 0, 0));
    EXPECT_EQ(Canvas().Pixels(2, 0), RGB(100, 50, 20));
    EXPECT_EQ(Canvas().Pixels(3, 1), RGB(150, 75, 30));
    Canvas().GradientFill(Rect(0, 4, 2, 8), clWhite, clBlack, GRADIENT_FILL_RECT_V);
    EXPECT_EQ(Canvas().Pixels(1, 5), RGB(192, 192, 192));
}

TEST_F(CanvasTest, TransparentBitmapLeavesItsKeyColourOut)
{
    TBitmap sprite(3, 1);
    sprite.Canvas()->SetPixels(0, 0, clFuchsia);
    sprite.Canvas()->SetPixels(1, 0, clBlue);
    sprite.Canvas()->SetPixels(2, 0, clFuchsia);  // bottom-left pixel: the automatic key
    sprite.SetTransparent(true);
    EXPECT_EQ(sprite.TransparentColor(), clFuchsia);
    Canvas().Draw(4, 4, &sprite);
    EXPECT_EQ(Canvas().Pixels(4, 4), clWhite);
    EXPECT_EQ(Canvas().Pixels(5, 4), clBlue);

    Canvas().StretchDraw(Rect(0, 10, 6, 12), &sprite);
    EXPECT_EQ(PointsOf(FBitmap, clBlue).size(), 1u + 4u);
}

TEST_F(CanvasTest, CopyRectTakesPixelsFromABitmapCanvas)
{
    TBitmap source(4, 4);
    source.Canvas()->Brush()->SetColor(clTeal);
    source.Canvas()->FillRect(Rect(1, 1, 3, 3));
    Canvas().CopyRect(Rect(10, 10, 12, 12), source.Canvas(), Rect(1, 1, 3, 3));
    EXPECT_EQ(PointsOf(FBitmap, clTeal), PointsIn(Rect(10, 10, 12, 12)));
}

TEST(Canvas, WithoutADeviceItMeasuresButDrawsNowhere)
{
    TCanvas canvas;
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_EQ(canvas.Pixels(0, 0), CLR_INVALID);
    EXPECT_GT(canvas.TextWidth(QStringLiteral("abc")), 0);
    int changes = 0;
    canvas.OnChange = [&changes](TObject*) { ++changes; };
    canvas.FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(changes, 0);
}

TEST(Canvas, PaintsThroughAGivenPainterWithinItsClip)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setClipRect(QRect(0, 0, 5, 10));
    TCanvas canvas;
    canvas.BeginPaint(&painter);
    canvas.Brush()->SetColor(clRed);
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 5, 10));
    canvas.IntersectClipRect(Rect(2, 0, 10, 10));
    canvas.FillRect(Rect(0, 0, 10, 10));
    canvas.EndPaint();
    painter.end();
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(3, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(6, 1), qRgb(255, 255, 255));
}

// A window's paint: its content, then the overlay of XOR drawing done outside painting.
QImage PaintWindow(const TXorOverlay& Overlay)
{
    QImage window(12, 8, QImage::Format_ARGB32_Premultiplied);
    window.fill(QColor(192, 192, 192));
    QPainter painter(&window);
    Overlay.PaintOnto(painter);
    return window;
}

TEST(Canvas, XorDrawingOutsidePaintingIsKeptInTheOverlay)
{
    TXorOverlay overlay;
    overlay.SetSize(12, 8);
    int repaints = 0;
    overlay.OnChange = [&repaints] { ++repaints; };
    TCanvas canvas;
    canvas.SetOverlay(&overlay);
    canvas.Pen()->SetMode(TPenMode::pmXor);
    canvas.Pen()->SetColor(clWhite);
    canvas.MoveTo(3, 0);
    canvas.LineTo(3, 8);
    EXPECT_EQ(repaints, 1);

    const QImage shown = PaintWindow(overlay);
    EXPECT_EQ(shown.pixel(3, 4), qRgb(0x3F, 0x3F, 0x3F));
    EXPECT_EQ(shown.pixel(4, 4), qRgb(192, 192, 192));
    EXPECT_EQ(qAlpha(shown.pixel(3, 4)), 255);

    // Copy drawing is not kept; the same XOR line again takes the first one away.
    canvas.Pen()->SetMode(TPenMode::pmCopy);
    canvas.MoveTo(6, 0);
    canvas.LineTo(6, 8);
    canvas.Pen()->SetMode(TPenMode::pmXor);
    canvas.MoveTo(3, 0);
    canvas.LineTo(3, 8);
    const QImage cleared = PaintWindow(overlay);
    EXPECT_EQ(cleared.pixel(3, 4), qRgb(192, 192, 192));
    EXPECT_EQ(cleared.pixel(6, 4), qRgb(192, 192, 192));
}

TEST(Canvas, PaintingTakesPrecedenceOverTheOverlay)
{
    TXorOverlay overlay;
    overlay.SetSize(4, 4);
    TCanvas canvas;
    canvas.SetOverlay(&overlay);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    canvas.BeginPaint(&painter);
    canvas.DrawFocusRect(Rect(0, 0, 4, 4));
    canvas.EndPaint();
    painter.end();
    EXPECT_TRUE(overlay.IsEmpty());
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
}

}  // namespace
