// A data cell's default contents by its column's kind, read back from a bitmap.
#include "DBGridEhTestGrid.h"

#include "datagrid/DBGridEhDraw.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/PlatformMetrics.h"

namespace {

constexpr TColor Paper = clLime;

class DataCellContentsTest : public DBGridEhFixture {
protected:
    void SetUp() override
    {
        DBGridEhFixture::SetUp();
        PlatformMetrics().SetThemesActive(false);
        Grid->SetDataSource(Source.get());
        Data->First();
        Bitmap.SetSize(100, 30);
        Bitmap.Canvas()->Brush()->SetColor(Paper);
        Bitmap.Canvas()->FillRect(Rect(0, 0, 100, 30));
    }
    void TearDown() override
    {
        PlatformMetrics().Reset();
        DBGridEhFixture::TearDown();
    }

    void Paint(TColumnEh* Column, TDataCellLookEh Look = {})
    {
        Column->InitCellParams(&Params);
        Params.Background = clYellow;
        Params.Font()->SetColor(clBlue);
        PaintDataCellContents(Bitmap.Canvas(), Cell, Column, &Params, Look);
    }
    int Count(TColor Color, int Left = 0, int Right = 100)
    {
        int n = 0;
        for (int x = Left; x < Right; ++x)
            for (int y = 0; y < 30; ++y)
                n += Bitmap.Canvas()->Pixels(x, y) == Color ? 1 : 0;
        return n;
    }

    const TRect Cell = Rect(10, 5, 90, 25);
    TColCellParamsEh Params;
    TBitmap Bitmap;
};

TEST_F(DataCellContentsTest, TextCellFillsTheBackgroundAndWritesInTheParamsFont)
{
    Paint(AddColumn(u"名称"_s));
    EXPECT_EQ(Bitmap.Canvas()->Pixels(88, 23), clYellow);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(9, 23), Paper);
    EXPECT_GT(Count(clBlue), 0);
    EXPECT_EQ(Count(clBlue, 0, 10), 0);
}

TEST_F(DataCellContentsTest, RaisedCellKeepsItsFrameRowsUnfilled)
{
    Paint(AddColumn(u"名称"_s), {.Raised = true});
    EXPECT_EQ(Bitmap.Canvas()->Pixels(10, 5), Paper) << "the frame is drawn over the outer pixel";
    EXPECT_EQ(Bitmap.Canvas()->Pixels(11, 6), clYellow);
}

TEST_F(DataCellContentsTest, CheckBoxCellShowsABoxInsteadOfText)
{
    TColumnEh* column = AddColumn(QtyField);
    column->SetCheckboxes(true);
    ASSERT_EQ(column->ClassifyCellKind(), TColumnCellKindEh::cckCheckbox);
    Paint(column);
    EXPECT_EQ(Count(clBlue), 0) << "no text";
    EXPECT_EQ(Bitmap.Canvas()->Pixels(50, 15), ColorToRGB(clWindow)) << "the box's inside at the centre";
}

TEST_F(DataCellContentsTest, ImageCellsShowTheValuesImageAloneOrBesideTheText)
{
    TImageList images(nullptr);
    images.SetWidth(8);
    images.SetHeight(8);
    TBitmap red(8, 8);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 8, 8));
    for (int i = 0; i < 6; ++i)
        images.Add(&red, nullptr);
    TColumnEh* column = AddColumn(QtyField);
    column->SetImageList(&images);
    ASSERT_EQ(column->ClassifyCellKind(), TColumnCellKindEh::cckImageList);
    Paint(column);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(50, 15), clRed) << "image 3 centred";
    EXPECT_EQ(Count(clBlue), 0);

    column->SetShowImageAndText(true);
    column->SetColor(clAqua);
    Bitmap.Canvas()->Brush()->SetColor(Paper);
    Bitmap.Canvas()->FillRect(Rect(0, 0, 100, 30));
    Paint(column);
    EXPECT_EQ(Bitmap.Canvas()->Pixels(11, 6), clAqua) << "the image strip in the column's colour";
    EXPECT_EQ(Bitmap.Canvas()->Pixels(16, 15), clRed);
    EXPECT_GT(Count(clBlue, 23, 90), 0) << "text after the strip";
    EXPECT_EQ(Count(clBlue, 0, 22), 0);
}

TEST_F(DataCellContentsTest, EditButtonsTakeTheRightOfTheCellAtTheButtonHeight)
{
    TColumnEh* column = AddColumn(u"名称"_s);
    column->SetButtonStyle(TColumnButtonStyleEh::cbsEllipsis);
    auto* extra = static_cast<TEditButtonEh*>(column->EditButtons()->Add());
    extra->SetWidth(12);
    Bitmap.Canvas()->Brush()->SetColor(clYellow);
    const TRect rest = PaintCellEditButtons(Bitmap.Canvas(), Cell, column, 14, false, 0);
    const int mainWidth = column->CellButtonWidth(nullptr);
    EXPECT_EQ(rest, Rect(Cell.Left, Cell.Top, Cell.Right - mainWidth - 12, Cell.Bottom));
    EXPECT_EQ(column->EditButtonsTotalWidth(), mainWidth + 12);
    EXPECT_NE(Bitmap.Canvas()->Pixels(Cell.Right - 5, Cell.Top + 6), Paper) << "the main button";
    EXPECT_EQ(Bitmap.Canvas()->Pixels(Cell.Right - 5, Cell.Top + 17), clYellow) << "filled below the button";
    EXPECT_EQ(Bitmap.Canvas()->Pixels(rest.Right, Cell.Top + 17), clYellow);
    EXPECT_NE(Bitmap.Canvas()->Pixels(rest.Right + 6, Cell.Top + 6), Paper) << "the extra button";
    EXPECT_EQ(Bitmap.Canvas()->Pixels(rest.Right - 1, Cell.Top + 6), Paper) << "nothing left of the buttons";
}

TEST(CellButtonTransparencyTest, FocusedOpaqueCurrentRowFaintOthersFainter)
{
    EXPECT_EQ(CellButtonTransparency(true, true, true), 30);
    EXPECT_EQ(CellButtonTransparency(false, true, true), 0);
    EXPECT_EQ(CellButtonTransparency(false, false, true), 30);
    EXPECT_EQ(CellButtonTransparency(false, false, false), 80);
}

TEST_F(DataCellContentsTest, RequiredMarkIsARedDottedLineAboveTheBottom)
{
    PaintRequiredValueMark(Bitmap.Canvas(), Cell);
    int red = 0;
    for (int x = 0; x < 100; ++x) {
        red += Bitmap.Canvas()->Pixels(x, Cell.Bottom - 2) == clRed ? 1 : 0;
        EXPECT_NE(Bitmap.Canvas()->Pixels(x, Cell.Bottom - 1), clRed);
    }
    EXPECT_GT(red, Cell.Width() / 3);
    EXPECT_LT(red, Cell.Width() - 5);
    EXPECT_NE(Bitmap.Canvas()->Pixels(Cell.Left + 1, Cell.Bottom - 2), clRed);
    EXPECT_NE(Bitmap.Canvas()->Pixels(Cell.Right - 2, Cell.Bottom - 2), clRed);
}

TEST(GraphicCellRectTest, LargePicturesShrinkKeepingTheirShapeAndAllAreCentred)
{
    const TRect cell = Rect(0, 0, 40, 20);
    EXPECT_EQ(GraphicCellRect(10, 10, cell), Rect(15, 5, 25, 15));
    EXPECT_EQ(GraphicCellRect(80, 20, cell), Rect(0, 5, 40, 15));
    EXPECT_EQ(GraphicCellRect(30, 60, cell), Rect(15, 0, 25, 20));
}

}  // namespace
