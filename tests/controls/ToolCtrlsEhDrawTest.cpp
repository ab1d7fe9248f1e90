// The shared drawing routines read back as pixels: colour blending, gradients, shaded segments,
// dotted lines and tree elements.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/PlatformMetrics.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr TColor Background = clLime;

// A bitmap filled with Background to draw on and read back.
class DrawTest : public ::testing::Test {
protected:
    DrawTest() : Bitmap(20, 20)
    {
        Canvas()->Brush()->SetColor(Background);
        Canvas()->FillRect(Rect(0, 0, 20, 20));
    }
    void TearDown() override { PlatformMetrics().Reset(); }

    TCanvas* Canvas() { return Bitmap.Canvas(); }
    TColor At(int X, int Y) { return Canvas()->Pixels(X, Y); }
    // The positions along a row (or column) that are not Background.
    std::vector<int> DrawnInRow(int Y, int From, int To)
    {
        std::vector<int> Result;
        for (int X = From; X < To; ++X)
            if (At(X, Y) != Background)
                Result.push_back(X);
        return Result;
    }
    std::vector<int> DrawnInColumn(int X, int From, int To)
    {
        std::vector<int> Result;
        for (int Y = From; Y < To; ++Y)
            if (At(X, Y) != Background)
                Result.push_back(Y);
        return Result;
    }

    TBitmap Bitmap;
};

// --- Colours ------------------------------------------------------------------------------

TEST(ColorsTest, BlendingRoundsHalvesToEven)
{
    EXPECT_EQ(BlendColors(clBlack, clWhite, 20), RGB(51, 51, 51));
    EXPECT_EQ(BlendColors(RGB(0, 0, 0), RGB(5, 7, 1), 50), RGB(2, 4, 0));
    EXPECT_EQ(BlendColors(RGB(10, 20, 30), RGB(200, 100, 0), 0), RGB(10, 20, 30));
    EXPECT_EQ(BlendColors(RGB(10, 20, 30), RGB(200, 100, 0), 100), RGB(200, 100, 0));
    EXPECT_EQ(BlendColors(clBtnShadow, clBtnShadow, 50), ColorToRGB(clBtnShadow));
}

TEST(ColorsTest, ImageListColoursKeepTheirSentinels)
{
    EXPECT_EQ(ColorForImageList(clNone), CLR_NONE);
    EXPECT_EQ(ColorForImageList(clDefault), CLR_DEFAULT);
    EXPECT_EQ(ColorForImageList(clHighlight), ColorToRGB(clHighlight));
    EXPECT_EQ(ColorForImageList(clRed), clRed);
}

// --- Gradients and segments ---------------------------------------------------------------

TEST_F(DrawTest, AGradientOfOneRowDrawsNothing)
{
    DrawGradientRect(Canvas(), Rect(0, 0, 10, 1), clBlack, clWhite);
    EXPECT_TRUE(DrawnInRow(0, 0, 20).empty());
}

TEST_F(DrawTest, AGradientRunsFromTheFirstColourToTheSecond)
{
    DrawGradientRect(Canvas(), Rect(2, 0, 8, 2), clBlack, clWhite);
    EXPECT_EQ(DrawnInRow(0, 0, 20), (std::vector<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(At(2, 0), clBlack);
    EXPECT_EQ(At(7, 1), clWhite);
    EXPECT_EQ(At(2, 2), Background);

    DrawGradientRect(Canvas(), Rect(0, 5, 4, 8), RGB(0, 0, 0), RGB(255, 1, 3));
    EXPECT_EQ(At(0, 6), RGB(128, 0, 2));  // halves to even
    EXPECT_EQ(At(3, 7), RGB(255, 1, 3));
}

TEST_F(DrawTest, AOnePixelWideGradientIsAColumn)
{
    DrawGradientRect(Canvas(), Rect(5, 0, 6, 3), clWhite, clBlack);
    EXPECT_EQ(At(5, 0), clWhite);
    EXPECT_EQ(At(5, 2), clBlack);
    EXPECT_EQ(DrawnInRow(1, 0, 20), std::vector<int>{5});
}

TEST_F(DrawTest, ShadedSegmentsRunFromTheSecondColourToTheFirst)
{
    const TPoint Points[] = {{0, 0}, {4, 0}, {0, 1}, {4, 1}, {0, 2}, {4, 2}};
    DrawShadedSegments(Canvas(), {1, 1}, Points, clWhite, clBlack);
    EXPECT_EQ(At(1, 1), clBlack);
    EXPECT_EQ(At(4, 2), RGB(128, 128, 128));
    EXPECT_EQ(At(2, 3), clWhite);
    EXPECT_EQ(DrawnInRow(1, 0, 20), (std::vector<int>{1, 2, 3, 4}));

    const TPoint One[] = {{0, 10}, {3, 10}};
    DrawShadedSegments(Canvas(), {0, 0}, One, clWhite, clRed);
    EXPECT_EQ(At(0, 10), clRed);
}

// --- Dotted lines and tree elements -------------------------------------------------------

TEST_F(DrawTest, DottedLinesKeepToTheirCheckerboardCells)
{
    Canvas()->Pen()->SetColor(clBlack);
    DrawDottedLine(Canvas(), {0, 0}, 7, false, true);
    EXPECT_EQ(DrawnInRow(0, 0, 20), (std::vector<int>{0, 2, 4, 6}));
    DrawDottedLine(Canvas(), {0, 2}, 7, true, true);  // starts a pixel later and ends where it would
    EXPECT_EQ(DrawnInRow(2, 0, 20), (std::vector<int>{1, 3, 5}));
    DrawDottedLine(Canvas(), {10, 1}, 4, true, false);
    EXPECT_EQ(DrawnInColumn(10, 0, 20), (std::vector<int>{1, 3}));
    DrawDottedLine(Canvas(), {12, 1}, 4, false, false);
    EXPECT_EQ(DrawnInColumn(12, 0, 20), (std::vector<int>{2, 4}));
}

class TreeElementTest : public DrawTest {
protected:
    void SetUp() override
    {
        PlatformMetrics().SetThemesActive(false);
        Canvas()->Brush()->SetColor(clRed);
    }
    const TColor Shadow = ColorToRGB(clBtnShadow);
    const TColor Window = ColorToRGB(clWindow);
    const TColor Text = ColorToRGB(clWindowText);
};

TEST_F(TreeElementTest, ACollapsedNodeIsABoxWithAPlus)
{
    DrawTreeElement(Canvas(), Rect(0, 0, 18, 18), TTreeElementEh::tehPlus, false, 1, 1, false);
    EXPECT_EQ(DrawnInRow(5, 0, 20), (std::vector<int>{5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(At(5, 9), Shadow);
    EXPECT_EQ(At(13, 13), Shadow);
    EXPECT_EQ(At(6, 6), Window);
    EXPECT_EQ(DrawnInRow(9, 0, 20), (std::vector<int>{5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(At(7, 9), Text);
    EXPECT_EQ(At(11, 9), Text);
    EXPECT_EQ(At(6, 9), Window);
    EXPECT_EQ(At(9, 7), Text);
    EXPECT_EQ(At(9, 11), Text);
    EXPECT_EQ(At(9, 12), Window);
    EXPECT_TRUE(DrawnInColumn(9, 0, 5).empty());  // no connectors
    EXPECT_EQ(Canvas()->Brush()->Color(), clRed);
}

TEST_F(TreeElementTest, AnExpandedNodeWithConnectorsOnEverySide)
{
    DrawTreeElement(Canvas(), Rect(0, 0, 18, 18), TTreeElementEh::tehMinusUpDown, false, 1, 1, false);
    EXPECT_EQ(At(9, 9), Text);
    EXPECT_EQ(At(9, 7), Window);  // minus: no vertical bar
    EXPECT_EQ(DrawnInRow(9, 14, 20), (std::vector<int>{15, 17}));
    EXPECT_EQ(DrawnInColumn(9, 0, 5), (std::vector<int>{1, 3}));
    EXPECT_EQ(DrawnInColumn(9, 14, 20), (std::vector<int>{15, 17}));
    EXPECT_EQ(At(15, 9), Shadow);
}

TEST_F(TreeElementTest, ConnectorsFollowTheStyle)
{
    DrawTreeElement(Canvas(), Rect(0, 0, 18, 18), TTreeElementEh::tehPlusDown, true, 1, 1, true);
    EXPECT_TRUE(DrawnInColumn(9, 0, 5).empty());
    EXPECT_EQ(DrawnInColumn(9, 14, 20), (std::vector<int>{14, 16}));
    EXPECT_EQ(DrawnInRow(9, 14, 20), (std::vector<int>{14, 16}));
    EXPECT_EQ(At(4, 9), Shadow);  // the box moved a pixel left
    EXPECT_EQ(At(13, 9), Background);
}

TEST_F(TreeElementTest, CrossesAndLinesAreConnectorsOnly)
{
    DrawTreeElement(Canvas(), Rect(0, 0, 18, 18), TTreeElementEh::tehCrossUp, false, 1, 1, true);
    EXPECT_EQ(DrawnInColumn(9, 0, 20), (std::vector<int>{0, 2, 4, 6, 8}));
    EXPECT_EQ(DrawnInRow(9, 0, 20), (std::vector<int>{10, 12, 14, 16}));

    Canvas()->Brush()->SetColor(Background);
    Canvas()->FillRect(Rect(0, 0, 20, 20));
    DrawTreeElement(Canvas(), Rect(0, 0, 18, 18), TTreeElementEh::tehVLine, false, 1, 1, false);
    EXPECT_EQ(DrawnInColumn(9, 0, 20), (std::vector<int>{1, 3, 5, 7, 9, 11, 13, 15, 17}));
    EXPECT_TRUE(DrawnInRow(8, 0, 20).empty());
    EXPECT_EQ(Canvas()->Brush()->Color(), Background);
}

TEST_F(TreeElementTest, ScalingWidensTheBox)
{
    DrawTreeElement(Canvas(), Rect(0, 0, 18, 18), TTreeElementEh::tehMinus, false, 1, 1.5, false);
    EXPECT_EQ(DrawnInRow(5, 0, 20), (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
}

TEST_F(TreeElementTest, ThemedNodesDrawTheGlyphInTheBox)
{
    PlatformMetrics().SetThemesActive(true);
    DrawTreeElement(Canvas(), Rect(0, 0, 18, 18), TTreeElementEh::tehPlusUpDown, false, 1, 1, false);
    int Drawn = 0;
    for (int Y = 5; Y < 14; ++Y)
        Drawn += static_cast<int>(DrawnInRow(Y, 5, 14).size());
    EXPECT_GT(Drawn, 0);
    EXPECT_TRUE(DrawnInRow(2, 0, 5).empty());
    EXPECT_EQ(DrawnInColumn(9, 0, 5), (std::vector<int>{1, 3}));
    EXPECT_EQ(Canvas()->Brush()->Color(), clRed);
}

// --- Image lists --------------------------------------------------------------------------

class ImageListCenteredTest : public DrawTest {
protected:
    // A list of one square image of Size in Color.
    void MakeList(int Size, TColor Color)
    {
        Images.SetWidth(Size);
        Images.SetHeight(Size);
        TBitmap Image(Size, Size);
        Image.Canvas()->Brush()->SetColor(Color);
        Image.Canvas()->FillRect(Rect(0, 0, Size, Size));
        Images.Add(&Image, nullptr);
    }

    TImageList Images{nullptr};
};

TEST_F(ImageListCenteredTest, AnImageThatFitsIsCentred)
{
    MakeList(4, clRed);
    DrawImageListCentered(Canvas(), Rect(0, 0, 10, 10), &Images, false, 0);
    EXPECT_EQ(DrawnInRow(3, 0, 20), (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(DrawnInColumn(3, 0, 20), (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(At(3, 3), clRed);
}

TEST_F(ImageListCenteredTest, ALargerImageIsClippedAndTheClipRestored)
{
    MakeList(16, clBlue);
    Canvas()->IntersectClipRect(Rect(0, 0, 20, 19));
    TRegion Before;
    Canvas()->GetClipRgn(Before);
    DrawImageListCentered(Canvas(), Rect(2, 2, 12, 12), &Images, false, 0);
    EXPECT_EQ(DrawnInRow(5, 0, 20), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(DrawnInColumn(5, 0, 20), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    TRegion After;
    EXPECT_EQ(Canvas()->GetClipRgn(After), 1);
    EXPECT_EQ(After, Before);

    Canvas()->SelectClipRgn(nullptr);
    DrawImageListCentered(Canvas(), Rect(12, 12, 16, 16), &Images, false, 0);
    TRegion None;
    EXPECT_EQ(Canvas()->GetClipRgn(None), 0);
}

TEST_F(ImageListCenteredTest, ASelectedImageIsBlendedWithTheHighlight)
{
    MakeList(4, clRed);
    DrawImageListCentered(Canvas(), Rect(0, 0, 10, 10), &Images, true, 0);
    EXPECT_NE(At(4, 4), clRed);
    EXPECT_NE(At(4, 4), Background);
    Images.SetImageType(TImageType::itMask);
    MakeList(4, clRed);
    DrawImageListCentered(Canvas(), Rect(10, 10, 20, 20), &Images, false, 0);
    EXPECT_EQ(At(14, 14), clBlack);  // the mask of an opaque image
}

}  // namespace
