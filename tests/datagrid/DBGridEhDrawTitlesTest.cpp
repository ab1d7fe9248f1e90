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
                             {.SortMarker = TSortMarkerEh::smDownEh, .SortedColumns = 2});
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
    PaintColumnTitleContents(Bitmap.Canvas(), Rect(0, 0, 60, 24), column, u"x"_s, nullptr, {.SortMarker = TSortMarkerEh::smUpEh, .SortedColumns = 1});
    EXPECT_GT(Count(MarkerGrey, 40, 60), 0);
    EXPECT_EQ(Count(clBlack, 40, 60), 0) << "no index";

    // Too narrow for a marker beside the text area: the caption keeps the cell.
    PaintColumnTitleContents(Bitmap.Canvas(), Rect(70, 0, 90, 24), column, u"WW"_s, nullptr, {.SortMarker = TSortMarkerEh::smUpEh, .SortedColumns = 1});
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

namespace {

class TitlePartsTest : public DBGridEhFixture {
protected:
    void SetUp() override
    {
        DBGridEhFixture::SetUp();
        for (const String& caption : {u"组|甲"_s, u"组|乙"_s, u"丙"_s}) {
            TColumnEh* column = Grid->Columns()->Add();
            column->Title()->SetCaption(caption);
            column->SetWidth(40);
        }
        Grid->SetUseMultiTitle(true);
        Grid->NotifyLayoutChanged();
    }
};

TEST_F(TitlePartsTest, UpperPartSpansItsColumnsAndSitsAboveTheLeaves)
{
    THeadTreeNode* second = Grid->LeafOfColumn(1);
    ASSERT_NE(second, nullptr);
    const TRect cell = Rect(100, 0, 140, 60);
    const std::vector<TTitlePartEh> parts = TitlePartsAbove(second, cell);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].Node->Caption, u"组"_s);
    const int line = second->LineWidth;
    EXPECT_EQ(parts[0].Rect.Left, 100 - 40 - line) << "starts over the first column";
    EXPECT_EQ(parts[0].Rect.Width(), 80 + line);
    EXPECT_EQ(parts[0].Rect.Top, 0);
    EXPECT_EQ(parts[0].Rect.Bottom, TitleLeafRect(second, cell).Top);
    EXPECT_EQ(TitleLeafRect(second, cell).Bottom, 60);
    EXPECT_TRUE(TitlePartsAbove(Grid->LeafOfColumn(2), cell).empty()) << "a plain title has no parts";
}

TEST_F(TitlePartsTest, PartsArePaintedInsideTheCellOnly)
{
    TBitmap bitmap(200, 60);
    bitmap.Canvas()->Brush()->SetColor(clLime);
    bitmap.Canvas()->FillRect(Rect(0, 0, 200, 60));
    bitmap.Canvas()->Brush()->SetColor(clYellow);
    const TRect cell = Rect(100, 0, 140, 60);
    PaintTitlePartsAbove(bitmap.Canvas(), Grid->LeafOfColumn(1), cell, false, false, clBlack);
    const int partBottom = TitleLeafRect(Grid->LeafOfColumn(1), cell).Top;
    EXPECT_EQ(bitmap.Canvas()->Pixels(101, 1), clYellow);
    EXPECT_EQ(bitmap.Canvas()->Pixels(99, 1), clLime) << "clipped to the cell";
    EXPECT_EQ(bitmap.Canvas()->Pixels(120, partBottom - 1), clBlack) << "the line below the part";
    EXPECT_EQ(bitmap.Canvas()->Pixels(120, partBottom + 1), clLime) << "the leaf is left to its painter";
}

}  // namespace
