// A column title's caption, sort marker and sort index, read back from a bitmap.
#include "DBGridEhTestGrid.h"

#include "datagrid/DBGridEhDraw.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/ImageList.h"

namespace {

constexpr TColor Paper = clLime;
const TColor MarkerGrey = RGB(128, 128, 128);

class TitleContentsTest : public DBGridEhFixture {
protected:
    void SetUp() override
    {
        DBGridEhFixture::SetUp();
        Bitmap.SetSize(120, 24);
        Bitmap.Canvas()->Brush()->SetColor(Paper);
        Bitmap.Canvas()->FillRect(Rect(0, 0, 120, 24));
        Bitmap.Canvas()->Font()->SetColor(clBlue);
    }
    int Count(TColor Color, int Left, int Right)
    {
        int n = 0;
        for (int x = Left; x < Right; ++x)
            for (int y = 0; y < 24; ++y)
                n += Bitmap.Canvas()->Pixels(x, y) == Color ? 1 : 0;
        return n;
    }

    TBitmap Bitmap;
};

TEST_F(TitleContentsTest, CaptionLeavesRoomForTheMarkerAndTheIndexAtTheRight)
{
    TColumnEh* column = AddColumn(QtyField);
    column->Title()->SetSortMarker(TSortMarkerEh::smDownEh);
    ASSERT_GT(column->Title()->SortIndex(), 0);
    const String caption = u"WWWWWWWWWWWWWWWWWWWW"_s;
    PaintColumnTitleContents(Bitmap.Canvas(), Rect(0, 0, 100, 24), column, caption, nullptr,
                             {.SortedColumns = 2});
    EXPECT_GT(Count(MarkerGrey, 80, 100), 0) << "the marker";
    EXPECT_GT(Count(clBlue, 0, 60), 0) << "the caption";
    const int markerLeft = 100 - GridSortMarkerImages()->Width() - 2;
    EXPECT_EQ(Count(clBlue, markerLeft - 8, markerLeft), 0) << "the caption stops before the marker's area";
    EXPECT_GT(Count(clBlack, 94, 100) + Count(clBlue, 94, 100), 0) << "the index beside the marker";
}

TEST_F(TitleContentsTest, OneSortedColumnShowsNoIndexAndNarrowTitlesDropTheMarker)
{
    TColumnEh* column = AddColumn(QtyField);
    column->Title()->SetSortMarker(TSortMarkerEh::smUpEh);
    PaintColumnTitleContents(Bitmap.Canvas(), Rect(0, 0, 60, 24), column, u"x"_s, nullptr, {.SortedColumns = 1});
    EXPECT_GT(Count(MarkerGrey, 40, 60), 0);
    EXPECT_EQ(Count(clBlack, 40, 60), 0) << "no index";

    // Too narrow for a marker beside the text area: the caption keeps the cell.
    PaintColumnTitleContents(Bitmap.Canvas(), Rect(70, 0, 90, 24), column, u"WW"_s, nullptr, {.SortedColumns = 1});
    EXPECT_EQ(Count(MarkerGrey, 70, 90), 0);
    EXPECT_GT(Count(clBlue, 70, 90), 0);
}

TEST_F(TitleContentsTest, TitleImageReplacesTheCaption)
{
    TImageList images(nullptr);
    images.SetWidth(6);
    images.SetHeight(6);
    TBitmap red(6, 6);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 6, 6));
    images.Add(&red, nullptr);
    TColumnEh* column = AddColumn(QtyField);
    column->Title()->SetImageIndex(0);
    column->Title()->SetAlignment(TAlignment::taCenter);
    PaintColumnTitleContents(Bitmap.Canvas(), Rect(0, 0, 60, 24), column, u"WWW"_s, &images, {});
    EXPECT_EQ(Bitmap.Canvas()->Pixels(30, 12), clRed);
    EXPECT_EQ(Count(clBlue, 0, 60), 0);
}

}  // namespace
