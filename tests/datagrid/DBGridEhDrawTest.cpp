// The cell painters' shared drawing, read back from a bitmap: text writers, glyphs, check boxes,
// buttons in cells, fixed-cell backgrounds and the highlight choices.
#include "datagrid/DBGridEhDraw.h"

#include "platform/core/Exceptions.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/PlatformMetrics.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr TColor Paper = clLime;
constexpr TColor Ink = clBlue;

class CellDrawTest : public ::testing::Test {
protected:
    CellDrawTest() : Bitmap(120, 40)
    {
        Canvas()->Brush()->SetColor(Paper);
        Canvas()->FillRect(Rect(0, 0, 120, 40));
        Canvas()->Font()->SetColor(Ink);
    }
    void TearDown() override { PlatformMetrics().Reset(); }

    TCanvas* Canvas() { return Bitmap.Canvas(); }
    TColor At(int X, int Y) { return Canvas()->Pixels(X, Y); }
    // Columns X in [From, To) with a pixel of Color in rows [Top, Bottom).
    std::vector<int> ColumnsWith(TColor Color, int From, int To, int Top = 0, int Bottom = 40)
    {
        std::vector<int> result;
        for (int x = From; x < To; ++x)
            for (int y = Top; y < Bottom; ++y)
                if (At(x, y) == Color) {
                    result.push_back(x);
                    break;
                }
        return result;
    }
    std::vector<int> RowsWith(TColor Color, int Left, int Right, int From = 0, int To = 40)
    {
        std::vector<int> result;
        for (int y = From; y < To; ++y)
            for (int x = Left; x < Right; ++x)
                if (At(x, y) == Color) {
                    result.push_back(y);
                    break;
                }
        return result;
    }

    TBitmap Bitmap;
};

// --- Text ---------------------------------------------------------------------------------------

TEST_F(CellDrawTest, EllipsisLeavesAFittingTextAndCutsTwoThenOneCharacterAtATime)
{
    const String text = u"WWWWWWWWWW"_s;
    EXPECT_EQ(ShortenTextWithEllipsis(text, Canvas(), Canvas()->TextWidth(text)), text);
    const int firstStep = Canvas()->TextWidth(u"WWWWWWWW..."_s);
    EXPECT_EQ(ShortenTextWithEllipsis(text, Canvas(), firstStep), u"WWWWWWWW..."_s);
    EXPECT_EQ(ShortenTextWithEllipsis(text, Canvas(), firstStep - 1), u"WWWWWWW..."_s);
    // Nothing fits: every character goes, the dots stay.
    EXPECT_EQ(ShortenTextWithEllipsis(text, Canvas(), 0), u"..."_s);
}

TEST_F(CellDrawTest, SingleLineTextIsPlacedByAlignmentAndClippedToTheCell)
{
    const TRect cell = Rect(10, 5, 110, 35);
    const String text = u"WWW"_s;
    const int width = Canvas()->TextWidth(text);

    WriteTextInCell(Canvas(), cell, false, TAlignment::taLeftJustify, TTextLayout::tlTop, false, false, text, 2, 2);
    std::vector<int> inked = ColumnsWith(Ink, 0, 120);
    ASSERT_FALSE(inked.empty());
    EXPECT_GE(inked.front(), 12);
    EXPECT_LT(inked.back(), 12 + width + 1);
    EXPECT_EQ(At(60, 20), Paper) << "no fill without FillBackground";

    Canvas()->Brush()->SetColor(Paper);
    Canvas()->FillRect(Rect(0, 0, 120, 40));
    WriteTextInCell(Canvas(), cell, true, TAlignment::taRightJustify, TTextLayout::tlTop, false, false, text, 2, 2);
    Canvas()->Brush()->SetColor(clYellow);
    inked = ColumnsWith(Ink, 0, 120);
    ASSERT_FALSE(inked.empty());
    EXPECT_LE(inked.back(), 110 - 3);
    EXPECT_GE(inked.front(), 110 - 3 - width - 1);
    EXPECT_TRUE(ColumnsWith(Ink, 0, 10).empty());
}

TEST_F(CellDrawTest, FilledTextCoversTheCellWithTheBrushOnly)
{
    Canvas()->Brush()->SetColor(clYellow);
    WriteTextInCell(Canvas(), Rect(10, 5, 60, 30), true, TAlignment::taLeftJustify, TTextLayout::tlTop, false, false,
                    u"x"_s, 2, 2);
    EXPECT_EQ(At(55, 25), clYellow);
    EXPECT_EQ(At(9, 25), Paper);
    EXPECT_EQ(At(60, 25), Paper);
}

TEST_F(CellDrawTest, LayoutPutsTheLineAtTheTopMiddleOrBottom)
{
    const TRect cell = Rect(0, 0, 60, 40);
    const auto inkRows = [&](TTextLayout Layout) {
        Canvas()->Brush()->SetColor(Paper);
        Canvas()->FillRect(Rect(0, 0, 120, 40));
        WriteTextInCell(Canvas(), cell, false, TAlignment::taLeftJustify, Layout, false, false, u"HH"_s, 1, 1);
        return RowsWith(Ink, 0, 60);
    };
    const std::vector<int> top = inkRows(TTextLayout::tlTop);
    const std::vector<int> middle = inkRows(TTextLayout::tlCenter);
    const std::vector<int> bottom = inkRows(TTextLayout::tlBottom);
    ASSERT_FALSE(top.empty());
    ASSERT_FALSE(middle.empty());
    ASSERT_FALSE(bottom.empty());
    EXPECT_LT(top.front(), middle.front());
    EXPECT_LT(middle.front(), bottom.front());
    EXPECT_LT(top.back(), 20);
    EXPECT_GT(bottom.front(), 20);
}

TEST_F(CellDrawTest, WordWrapBreaksIntoLinesAndRestoresTheBrush)
{
    const TRect cell = Rect(0, 0, 60, 40);
    const String word = u"WW"_s;
    const String text = word + u" "_s + word + u" "_s + word;
    ASSERT_GT(Canvas()->TextWidth(text), 56) << "the test needs a text wider than the cell";
    WriteTextInCell(Canvas(), cell, false, TAlignment::taLeftJustify, TTextLayout::tlTop, false, true, text, 1, 2);
    EXPECT_EQ(Canvas()->Brush()->Style(), TBrushStyle::bsSolid);
    const std::vector<int> rows = RowsWith(Ink, 0, 60);
    ASSERT_FALSE(rows.empty());
    EXPECT_GT(rows.back() - rows.front(), Canvas()->TextHeight(word)) << "more than one line";
}

TEST_F(CellDrawTest, VerticalTextRunsUpTheCellFromTheBottom)
{
    const String text = u"WW"_s;
    const int length = Canvas()->TextWidth(text);
    ASSERT_LT(length, 36);
    EXPECT_EQ(DrawVerticalText(Canvas(), Rect(10, 0, 40, 40), false, text, TAlignment::taLeftJustify,
                               TTextLayout::tlBottom, 2),
              length);
    const std::vector<int> rows = RowsWith(Ink, 0, 120);
    const std::vector<int> columns = ColumnsWith(Ink, 0, 120);
    ASSERT_FALSE(rows.empty());
    ASSERT_FALSE(columns.empty());
    EXPECT_GT(rows.back() - rows.front(), columns.back() - columns.front()) << "taller than wide";
    EXPECT_LE(rows.back(), 38);
    EXPECT_GE(columns.front(), 10);
}

TEST_F(CellDrawTest, ImagesAreCentredAndClippedToTheCell)
{
    TImageList* images = GridIndicatorImages();
    // A cell narrower than the arrow: nothing lands outside it.
    DrawGraphicClipped(images, Canvas(), TAlignment::taCenter, 0, iiArrowEh, Rect(20, 0, 24, 11));
    EXPECT_TRUE(ColumnsWith(clBlack, 0, 20).empty());
    EXPECT_TRUE(ColumnsWith(clBlack, 24, 120).empty());
    EXPECT_FALSE(ColumnsWith(clBlack, 20, 24).empty());
    // Right alignment ends at the cell's right edge.
    DrawGraphicClipped(images, Canvas(), TAlignment::taRightJustify, 0, iiArrowEh, Rect(40, 0, 100, 11));
    const std::vector<int> inked = ColumnsWith(clBlack, 40, 120);
    ASSERT_FALSE(inked.empty());
    EXPECT_GE(inked.front(), 100 - images->Width());
    EXPECT_LT(inked.back(), 100);
}

// --- Glyph lists ----------------------------------------------------------------------------------

TEST(GridGlyphsTest, ListsHoldEveryGlyphWithItsTransparentColourLeftOut)
{
    TImageList* indicators = GridIndicatorImages();
    TImageList* markers = GridSortMarkerImages();
    EXPECT_EQ(indicators->Count(), 7);
    EXPECT_EQ(markers->Count(), 5);
    for (int i = 0; i < indicators->Count(); ++i) {
        const QImage image = indicators->Image(i);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner of image " << i << " is transparent";
        bool opaque = false;
        for (int y = 0; y < image.height() && !opaque; ++y)
            for (int x = 0; x < image.width() && !opaque; ++x)
                opaque = qAlpha(image.pixel(x, y)) != 0;
        EXPECT_TRUE(opaque) << "image " << i << " shows something";
    }
    EXPECT_EQ(qAlpha(markers->Image(0).pixel(0, 0)), 0);
    EXPECT_NE(qAlpha(markers->Image(0).pixel(4, 4)), 0) << "the down marker's tip";
    EXPECT_NE(qAlpha(markers->Image(1).pixel(4, 0)), 0) << "the up marker's tip";
}

TEST(GridGlyphsTest, HighlightArrowIsFilledWithTheHighlightColourAndReplacedWhenItChanges)
{
    const TColor saved = GridHighlightArrowColor();
    EXPECT_EQ(saved, RGB(255, 255, 0));
    const auto bodyColour = [] {
        const QImage image = GridIndicatorImages()->Image(iiHighlightArrowEh);
        return RGB(qRed(image.pixel(4, 5)), qGreen(image.pixel(4, 5)), qBlue(image.pixel(4, 5)));
    };
    EXPECT_EQ(bodyColour(), RGB(255, 255, 0));
    SetGridHighlightArrowColor(clRed);
    EXPECT_EQ(GridIndicatorImages()->Count(), 7);
    EXPECT_EQ(bodyColour(), clRed);
    // Teal would disappear with the transparent surround: a darker teal stands in.
    SetGridHighlightArrowColor(RGB(0, 128, 128));
    EXPECT_EQ(bodyColour(), RGB(0, 127, 127));
    SetGridHighlightArrowColor(saved);
    EXPECT_EQ(bodyColour(), RGB(255, 255, 0));
}

TEST(GridGlyphsTest, UnknownGlyphNameRaises)
{
    TBitmap bitmap;
    EXPECT_THROW(LoadGridGlyphBitmap(&bitmap, u"NOSUCHGLYPH"_s), EResNotFound);
}

// --- Glyph painters -------------------------------------------------------------------------------

TEST_F(CellDrawTest, ThemedIndicatorArrowIsSixWideElevenHighAndClassicUsesTheImage)
{
    PaintIndicatorGlyph(Canvas(), Rect(0, 0, 20, 40), igkCurrentEh, true, clYellow);
    const std::vector<int> columns = ColumnsWith(Paper, 0, 20);  // every column has paper somewhere
    std::vector<int> drawnColumns;
    std::vector<int> drawnRows;
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 40; ++y)
            if (At(x, y) != Paper) {
                drawnColumns.push_back(x);
                drawnRows.push_back(y);
            }
    ASSERT_FALSE(drawnColumns.empty());
    const auto [minX, maxX] = std::minmax_element(drawnColumns.begin(), drawnColumns.end());
    const auto [minY, maxY] = std::minmax_element(drawnRows.begin(), drawnRows.end());
    EXPECT_EQ(*maxX - *minX + 1, 6);
    EXPECT_EQ(*maxY - *minY + 1, 11);
    EXPECT_EQ(At(*minX, (*minY + *maxY) / 2), BlendColors(cl3DDkShadow, clBlack, 30));

    // Incremental search paints in the search colour; kinds from 5 on paint nothing.
    PaintIndicatorGlyph(Canvas(), Rect(40, 0, 60, 40), igkIncSearchEh, true, clYellow);
    EXPECT_FALSE(ColumnsWith(clYellow, 40, 60).empty());
    PaintIndicatorGlyph(Canvas(), Rect(60, 0, 80, 40), 5, true, clYellow);
    for (int x = 60; x < 80; ++x)
        EXPECT_TRUE(RowsWith(Paper, x, x + 1).size() == 40) << x;

    PaintIndicatorGlyph(Canvas(), Rect(80, 0, 100, 40), igkCurrentEh, false, clYellow);
    EXPECT_FALSE(ColumnsWith(clBlack, 80, 100).empty());
    // The editing mark is its image even with themes: the I-beam's long stem.
    PaintIndicatorGlyph(Canvas(), Rect(100, 0, 120, 40), igkEditingEh, true, clYellow);
    EXPECT_GE(RowsWith(clBlack, 100, 120).size(), 9u);
}

TEST_F(CellDrawTest, DropDownSignIsAnEightByFourTriangleDarkenedByHighlight)
{
    PaintDropDownSign(Canvas(), Rect(0, 0, 20, 20), clWhite, false, true);
    const TColor dark = BlendColors(clWhite, clBlack, 30);
    const std::vector<int> rows = RowsWith(dark, 0, 20, 0, 20);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(ColumnsWith(dark, 0, 20, rows[0], rows[0] + 1).size(), 7u) << "8 wide less the white edge";
    EXPECT_EQ(ColumnsWith(clWhite, 0, 20, rows[0], rows[0] + 1).size(), 1u);
    PaintDropDownSign(Canvas(), Rect(20, 0, 40, 20), clWhite, true, true);
    EXPECT_EQ(RowsWith(BlendColors(clWhite, clBlack, 7), 20, 40, 0, 20).size(), 4u);
}

TEST_F(CellDrawTest, FilterFunnelIsSixBySix)
{
    PaintTitleFilterGlyph(Canvas(), Rect(0, 0, 20, 20), clRed);
    EXPECT_EQ(RowsWith(clRed, 0, 20, 0, 20).size(), 6u);
    EXPECT_EQ(ColumnsWith(clRed, 0, 20, 0, 20).size(), 6u);
}

// --- Cell contents --------------------------------------------------------------------------------

TEST_F(CellDrawTest, CheckBoxIsCentredAndCutInALowCell)
{
    PlatformMetrics().SetThemesActive(false);
    const int side = DefaultCheckBoxSize().cx;
    PaintCheckBoxInCell(Canvas(), Rect(0, 0, 40, 40), 1, false);
    std::vector<int> rows;
    for (int y = 0; y < 40; ++y)
        if (At(20, y) != Paper)
            rows.push_back(y);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), (40 - side) / 2);
    EXPECT_EQ(rows.back(), (40 - side) / 2 + side - 1);

    // A row six pixels high: the box starts at the top and nothing spills below.
    PaintCheckBoxInCell(Canvas(), Rect(50, 10, 90, 16), 0, false);
    EXPECT_NE(At(70, 10), Paper);
    EXPECT_EQ(At(70, 16), Paper);
    EXPECT_EQ(At(70, 9), Paper);
}

TEST_F(CellDrawTest, CheckBoxShowsItsStates)
{
    PlatformMetrics().SetThemesActive(false);
    const auto marks = [&](int Left, int State) {
        PaintCheckBoxInCell(Canvas(), Rect(Left, 0, Left + 20, 20), State, false);
        int count = 0;
        for (int x = Left + 6; x < Left + 14; ++x)
            for (int y = 6; y < 14; ++y)
                count += At(x, y) == clBlack || At(x, y) == ColorToRGB(clBtnShadow) ? 1 : 0;
        return count;
    };
    const int unchecked = marks(0, 0);
    EXPECT_GT(marks(20, 1), unchecked);
    EXPECT_NE(marks(40, 2), marks(20, 1));
}

TEST_F(CellDrawTest, TransparentButtonLetsTheCellShowThrough)
{
    PlatformMetrics().SetThemesActive(false);
    PaintCellButton(Canvas(), Rect(0, 0, 17, 20), TEditButtonStyleEh::ebsDropDownEh, nullptr, false, false, 0);
    const TColor opaque = At(3, 3);
    EXPECT_NE(opaque, Paper);
    PaintCellButton(Canvas(), Rect(30, 0, 47, 20), TEditButtonStyleEh::ebsDropDownEh, nullptr, false, false, 80);
    const TColor blended = At(33, 3);
    EXPECT_NE(blended, opaque);
    EXPECT_NE(blended, Paper);
    EXPECT_GT(GetGValue(blended), GetGValue(opaque)) << "mostly the green paper";
    EXPECT_EQ(At(48, 3), Paper) << "clipped to the button";
}

TEST_F(CellDrawTest, GlyphButtonSitsInASunkenFrame)
{
    PlatformMetrics().SetThemesActive(false);
    TBitmap glyph(4, 4);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    PaintCellButton(Canvas(), Rect(0, 0, 16, 16), TEditButtonStyleEh::ebsGlyphEh, &glyph, false, false, 0);
    EXPECT_EQ(At(8, 8), clRed);
    EXPECT_EQ(At(0, 0), ColorToRGB(clBtnShadow)) << "sunken: dark at the top left";
    EXPECT_EQ(At(3, 3), ColorToRGB(clBtnFace));
}

TEST_F(CellDrawTest, FixedCellBackgroundsByLook)
{
    PlatformMetrics().SetThemesActive(false);
    Canvas()->Brush()->SetColor(clYellow);
    FillFixedCellBackground(Canvas(), Rect(0, 0, 20, 20), false, false, false, TRect(), false, false);
    EXPECT_EQ(At(10, 10), clYellow);

    PlatformMetrics().SetThemesActive(true);
    Canvas()->Brush()->SetColor(clBlack);
    FillFixedCellBackground(Canvas(), Rect(20, 0, 40, 20), false, true, true, TRect(), false, false);
    EXPECT_EQ(At(30, 0), ColorToRGB(clBtnHighlight)) << "gradient from the highlight at the top";
    EXPECT_LT(GetRValue(At(30, 19)), GetRValue(At(30, 1))) << "towards the brush below";

    FillFixedCellBackground(Canvas(), Rect(40, 0, 60, 20), true, true, true, TRect(), false, false);
    EXPECT_EQ(Canvas()->Brush()->Style(), TBrushStyle::bsClear);
    EXPECT_EQ(At(50, 0), BlendColors(clBtnFace, clWhite, 10));
    Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
}

// --- Highlight choices ----------------------------------------------------------------------------

TEST(CellHighlightTest, FocusedCurrentCellOfAFocusedGridTakesTheHighlight)
{
    TFont font;
    font.SetColor(clBlack);
    TDataCellHighlightEh cell;
    cell.GridFocused = true;
    cell.HighlightFocus = true;
    cell.CurrentRow = cell.CurrentCell = true;
    TGridDrawState state = gdSelected | gdFocused;
    TColor background = clWindow;
    EXPECT_TRUE(PickDataCellHighlightColors(cell, state, background, &font));
    EXPECT_EQ(background, clHighlight);
    EXPECT_EQ(font.Color(), clHighlightText);

    // Without focus the current cell shows only with dgAlwaysShowSelection, in the button shadow.
    cell.GridFocused = false;
    background = clWindow;
    font.SetColor(clBlack);
    state = gdSelected;
    EXPECT_FALSE(PickDataCellHighlightColors(cell, state, background, &font));
    EXPECT_EQ(background, clWindow);
    cell.AlwaysShowSelection = true;
    EXPECT_TRUE(PickDataCellHighlightColors(cell, state, background, &font));
    EXPECT_EQ(background, clBtnShadow);
    EXPECT_EQ(font.Color(), clHighlightText);
}

TEST(CellHighlightTest, RowHighlightMarksTheOtherCellsOfTheCurrentRow)
{
    TFont font;
    TDataCellHighlightEh cell;
    cell.GridFocused = true;
    cell.RowHighlight = true;
    cell.CurrentRow = true;
    TGridDrawState state;
    TColor background = clWindow;
    EXPECT_TRUE(PickDataCellHighlightColors(cell, state, background, &font));
    EXPECT_TRUE(state.Contains(gdSelected));
    // Not in another row, and not while records are selected.
    cell.CurrentRow = false;
    state = TGridDrawState();
    EXPECT_FALSE(PickDataCellHighlightColors(cell, state, background, &font));
    cell.CurrentRow = true;
    cell.NothingSelected = false;
    EXPECT_FALSE(PickDataCellHighlightColors(cell, state, background, &font));
    EXPECT_FALSE(state.Contains(gdSelected));
}

TEST(CellHighlightTest, SelectedCellsAndSuppressedUpdates)
{
    TFont font;
    TDataCellHighlightEh cell;
    cell.InSelection = true;
    cell.NothingSelected = false;
    TGridDrawState state;
    TColor background = clWindow;
    EXPECT_TRUE(PickDataCellHighlightColors(cell, state, background, &font));
    EXPECT_EQ(background, clBtnFace) << "an unfocused grid's selection";
    cell.UpdatesSuppressed = true;
    state = TGridDrawState();
    background = clWindow;
    EXPECT_FALSE(PickDataCellHighlightColors(cell, state, background, &font));
    cell.RowSelect = true;
    EXPECT_TRUE(PickDataCellHighlightColors(cell, state, background, &font));
}

TEST(CellHighlightTest, FixedCellsDarkGreyForIndicatorAndTitles)
{
    TFont font;
    font.SetColor(clBlack);
    TColor background = clBtnFace;
    PickFixedCellHighlightColors(false, true, true, background, &font);
    EXPECT_EQ(background, clBtnFace);
    PickFixedCellHighlightColors(true, true, false, background, &font);
    EXPECT_EQ(background, RGB(64, 64, 64));
    EXPECT_EQ(font.Color(), clWhite);
    PickFixedCellHighlightColors(true, false, true, background, &font);
    EXPECT_EQ(background, clHighlight);
    PickFixedCellHighlightColors(true, false, false, background, &font);
    EXPECT_EQ(background, clBtnFace);
}

TEST(CellHighlightTest, OddAndEvenRowsOnlyWhenTheColumnKeepsTheGridColour)
{
    EXPECT_EQ(OddEvenRowColor(clWindow, clWindow, clAqua, clYellow, true, 1), clAqua);
    EXPECT_EQ(OddEvenRowColor(clWindow, clWindow, clAqua, clYellow, true, 2), clYellow);
    EXPECT_EQ(OddEvenRowColor(clRed, clWindow, clAqua, clYellow, true, 1), clRed);
    EXPECT_EQ(OddEvenRowColor(clWindow, clWindow, clAqua, clAqua, true, 2), clWindow);
    EXPECT_EQ(OddEvenRowColor(clWindow, clWindow, clAqua, clYellow, false, 1), clWindow);
}

}  // namespace
