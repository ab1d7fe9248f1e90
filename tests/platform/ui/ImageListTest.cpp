// Image lists drawn into bitmaps: masks, blending, background and sizes; bitmaps and change links.
#include "platform/ui/Bitmap.h"
#include "platform/ui/ImageList.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A strip of two 4x4 images: red with a fuchsia corner, then blue.
void PaintStrip(TBitmap& Strip)
{
    TCanvas* canvas = Strip.Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, 4, 4));
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(Rect(4, 0, 8, 4));
    canvas->SetPixels(0, 0, clFuchsia);
}

class ImageListTest : public ::testing::Test {
protected:
    ImageListTest() : FList(nullptr), FTarget(10, 10), FStrip(8, 4)
    {
        PaintStrip(FStrip);
        FList.SetWidth(4);
        FList.SetHeight(4);
        FTarget.Canvas()->Brush()->SetColor(clGreen);
        FTarget.Canvas()->FillRect(Rect(0, 0, 10, 10));
    }
    TColor At(int X, int Y) { return FTarget.Canvas()->Pixels(X, Y); }

    TImageList FList;
    TBitmap FTarget;
    TBitmap FStrip;
};

TEST_F(ImageListTest, AddMaskedCutsTheStripAndMakesTheColourTransparent)
{
    EXPECT_EQ(FList.AddMasked(&FStrip, clFuchsia), 0);
    EXPECT_EQ(FList.Count(), 2);
    FList.Draw(FTarget.Canvas(), 2, 2, 0);
    EXPECT_EQ(At(2, 2), clGreen);
    EXPECT_EQ(At(3, 2), clRed);
    EXPECT_EQ(At(6, 6), clGreen);
    FList.Draw(FTarget.Canvas(), 2, 2, 1);
    EXPECT_EQ(At(2, 2), clBlue);
}

TEST_F(ImageListTest, AddWithAMaskBitmap)
{
    TBitmap mask(8, 4);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 8, 4));
    mask.Canvas()->SetPixels(1, 1, clWhite);
    EXPECT_EQ(FList.Add(&FStrip, &mask), 0);
    FList.Draw(FTarget.Canvas(), 0, 0, 0);
    EXPECT_EQ(At(1, 1), clGreen);
    EXPECT_EQ(At(0, 0), clFuchsia);
}

TEST_F(ImageListTest, SelectedBlendsHalfwayTowardsTheForeground)
{
    FList.AddMasked(&FStrip, clFuchsia);
    FList.DrawEx(FTarget.Canvas(), 0, 0, 0, 0, 0, CLR_NONE, clHighlight, ILD_NORMAL | ILD_SELECTED);
    const TColor highlight = ColorToRGB(clHighlight);
    EXPECT_EQ(At(1, 1), RGB((255 + GetRValue(highlight)) / 2, GetGValue(highlight) / 2, GetBValue(highlight) / 2));
    EXPECT_EQ(At(0, 0), clGreen);  // transparent pixels stay untouched

    FList.DrawEx(FTarget.Canvas(), 1, 0, 0, 0, 0, CLR_NONE, CLR_DEFAULT, ILD_FOCUS);
    EXPECT_EQ(At(1, 1), RGB(GetRValue(highlight) / 4, GetGValue(highlight) / 4, (255 * 3 + GetBValue(highlight)) / 4));
}

TEST_F(ImageListTest, BackgroundColourFillsTransparentPixelsUnlessTransparentStyle)
{
    FList.AddMasked(&FStrip, clFuchsia);
    FList.SetBkColor(clYellow);
    FList.Draw(FTarget.Canvas(), 0, 0, 0);
    EXPECT_EQ(At(0, 0), clYellow);
    FList.DrawEx(FTarget.Canvas(), 0, 5, 5, 0, 0, CLR_DEFAULT, CLR_NONE, ILD_TRANSPARENT);
    EXPECT_EQ(At(5, 5), clGreen);
}

TEST_F(ImageListTest, MaskTypeDrawsTheMask)
{
    FList.AddMasked(&FStrip, clFuchsia);
    FList.SetImageType(TImageType::itMask);
    FList.Draw(FTarget.Canvas(), 0, 0, 0);
    EXPECT_EQ(At(0, 0), clWhite);
    EXPECT_EQ(At(1, 1), clBlack);
}

TEST_F(ImageListTest, ResizingEmptiesTheListAndBadIndexesDrawNothing)
{
    FList.AddMasked(&FStrip, clFuchsia);
    EXPECT_FALSE(FList.DrawEx(FTarget.Canvas(), 5, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL));
    FList.SetWidth(8);
    EXPECT_EQ(FList.Count(), 0);
}

TEST(TBitmap, ResizingKeepsPixelsAndMissingResourcesRaise)
{
    TBitmap bitmap(2, 2);
    bitmap.Canvas()->SetPixels(1, 1, clRed);
    bitmap.SetSize(4, 3);
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixels(3, 2), clWhite);
    EXPECT_THROW(bitmap.LoadFromResourceName(QStringLiteral("NO_SUCH_BITMAP")), EResNotFound);
}

// --- Change links -------------------------------------------------------------------------------

TEST(TChangeLink, RegisteredLinksHearChangesUntilTheyLeave)
{
    TImageList list(nullptr);
    TChangeLink first;
    TChangeLink second;
    int heardFirst = 0;
    int heardSecond = 0;
    first.OnChange = [&](TObject* Sender) { heardFirst += Sender == &list ? 1 : 100; };
    second.OnChange = [&](TObject*) { ++heardSecond; };
    list.RegisterChanges(&first);
    list.RegisterChanges(&second);
    list.RegisterChanges(&first);  // once only
    list.SetBkColor(clRed);
    EXPECT_EQ(heardFirst, 1);
    EXPECT_EQ(heardSecond, 1);
    EXPECT_EQ(first.Sender(), &list);

    list.UnRegisterChanges(&second);
    EXPECT_EQ(second.Sender(), nullptr);
    list.SetBkColor(clBlue);
    EXPECT_EQ(heardFirst, 2);
    EXPECT_EQ(heardSecond, 1);
}

TEST(TChangeLink, ALinkMovesBetweenListsAndOutlivesOrPrecedesThem)
{
    TImageList one(nullptr);
    int heard = 0;
    {
        auto other = std::make_unique<TImageList>(nullptr);
        TChangeLink link;
        link.OnChange = [&](TObject*) { ++heard; };
        one.RegisterChanges(&link);
        other->RegisterChanges(&link);
        EXPECT_EQ(link.Sender(), other.get());
        one.SetBkColor(clRed);
        EXPECT_EQ(heard, 0);
        other->SetBkColor(clRed);
        EXPECT_EQ(heard, 1);
        // The list goes first: the link is left without one.
        other.reset();
        EXPECT_EQ(link.Sender(), nullptr);
        one.RegisterChanges(&link);
    }
    // The link went first: the list no longer calls it.
    one.SetBkColor(clBlue);
    EXPECT_EQ(heard, 1);
}

TEST(TChangeLink, AListenerMayFreeAnotherLinkWhileTold)
{
    TImageList list(nullptr);
    auto victim = std::make_unique<TChangeLink>();
    int victimHeard = 0;
    victim->OnChange = [&](TObject*) { ++victimHeard; };
    TChangeLink killer;
    killer.OnChange = [&](TObject*) { victim.reset(); };
    list.RegisterChanges(&killer);
    list.RegisterChanges(victim.get());
    list.SetBkColor(clRed);
    EXPECT_EQ(victimHeard, 0);
    EXPECT_EQ(victim, nullptr);
}

}  // namespace
