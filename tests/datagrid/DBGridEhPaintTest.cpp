// A published grid painted offscreen over a memory dataset and over a query on a database file:
// titles, data rows, highlight, focus, footers and the cell events, read back as pixels.
#include "DBGridEhPaintSupport.h"

#include "SumListTestSupport.h"

#include "datagrid/DBGridEhStyle.h"
#include "platform/ui/UiTestSupport.h"

#include "platform/ado/ADODB.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <map>
#include <vector>
#include <memory>

namespace {

constexpr TColor Ink = clBlue;

bool IsInk(TColor C) { return C == Ink; }

class GridPaintTest : public StockGridPaintFixture {
protected:
    void SetUp() override
    {
        StockGridPaintFixture::SetUp();
        OpenStock(40);
        Name = AddColumn(u"名称"_s);
        Qty = AddColumn(QtyField);
        Grid->SetDataSource(Source.get());
    }

    TColumnEh* AddColumn(const String& FieldName)
    {
        TColumnEh* column = Grid->Columns()->Add();
        column->SetFieldName(FieldName);
        column->SetWidth(100);
        column->Font()->SetColor(Ink);
        return column;
    }
    // Grid row of display row Index.
    int DataRow(int Index) const { return Grid->RowsAboveData() + Index; }

    TColumnEh* Name = nullptr;
    TColumnEh* Qty = nullptr;
};

TEST_F(GridPaintTest, TitlesShowTheirCaptionInTheTitleFontOnTheTitleColour)
{
    Name->Title()->Font()->SetColor(clRed);
    Name->Title()->SetColor(clYellow);
    Grid->PaintScreen();
    EXPECT_GT(Grid->CountInCell(1, 0, clRed), 0) << "caption text";
    EXPECT_EQ(Grid->CountInCell(2, 0, clRed), 0) << "the other title keeps its font";
    EXPECT_GT(Grid->CountInCell(1, 0, clYellow), 0);
    EXPECT_EQ(Grid->CountInCell(1, 0, Ink), 0) << "no data text in the title";
}

TEST_F(GridPaintTest, AFilteredTitleShowsItsFunnelAndTitleFiltersTheirButton)
{
    Name->Title()->Font()->SetColor(clRed);
    Name->Title()->SetCaption(u"名"_s);
    Grid->PaintScreen();
    const int caption = Grid->CountInCell(1, 0, clRed);
    // A condition on the column: the funnel in the title's font colour joins the caption.
    Name->STFilter()->SetExpressionText(u"张%"_s);
    Grid->PaintScreen();
    EXPECT_GT(Grid->CountInCell(1, 0, clRed), caption);
    Name->STFilter()->ClearFilter();
    // Filters in the titles: the title's right end is a drop-down button, not the title colour.
    Grid->STFilter()->SetVisible(true);
    Grid->STFilter()->SetLocation(TSTFilterLocationEh::stflInTitleFilterEh);
    Grid->PaintScreen();
    TRect button;
    ASSERT_TRUE(Grid->TitleFilterButtonShown(Name->Index()));
    Grid->TitleFilterButtonRect(TPoint{}, Grid->CellPixelRect(1, 0), button, Name);
    int unlike = 0;
    for (int x = button.Left + 1; x < button.Right - 1; ++x)
        unlike += Grid->Pixel(x, (button.Top + button.Bottom) / 2) != ColorToRGB(Name->Title()->Color()) ? 1 : 0;
    EXPECT_GT(unlike, 0);
    EXPECT_EQ(Grid->RowsAboveData(), 1) << "no filter row under the titles";
}

TEST_F(GridPaintTest, DataRowsShowTheirRecordsInTheColumnColours)
{
    Qty->SetColor(clAqua);
    Grid->PaintScreen();
    for (int row = 1; row < 5; ++row) {
        EXPECT_GT(Grid->CountInCellIf(2, DataRow(row), IsInk), 0) << row;
        EXPECT_EQ(Grid->CellBackground(2, DataRow(row)), clAqua) << row;
        EXPECT_EQ(Grid->CellBackground(1, DataRow(row)), ColorToRGB(clWindow)) << row;
    }
}

TEST_F(GridPaintTest, UnfocusedCurrentCellShowsOnlyWithAlwaysShowSelection)
{
    Grid->PaintScreen();
    const int current = DataRow(0);
    ASSERT_EQ(Grid->Row(), current);
    EXPECT_EQ(Grid->CellBackground(Grid->Col(), current), ColorToRGB(clWindow));
    Grid->SetOptions(Grid->Options() | dgAlwaysShowSelection);
    Grid->PaintScreen();
    EXPECT_EQ(Grid->CellBackground(Grid->Col(), current), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Grid->CellBackground(Grid->Col(), DataRow(1)), ColorToRGB(clWindow));
}

TEST_F(GridPaintTest, FocusedGridHighlightsTheCurrentCellWithAFocusRectangle)
{
    Form->Show();
    QApplication::setActiveWindow(Form->Handle());
    Grid->SetFocus();
    ASSERT_TRUE(Grid->HasInputFocus());
    Grid->PaintScreen();
    const int col = Grid->Col();
    const int row = Grid->Row();
    const TColor highlight = ColorToRGB(clHighlight);
    EXPECT_EQ(Grid->CellBackground(col, row), highlight);
    EXPECT_GT(Grid->CountInCell(col, row, ColorToRGB(clHighlightText)), 0) << "text in the highlight's text colour";
    EXPECT_EQ(Grid->CellBackground(col, DataRow(1)), ColorToRGB(clWindow));
    // The focus rectangle: every other pixel of the cell's outline inverted.
    const TRect r = Grid->CellPixelRect(col, row);
    int inverted = 0;
    int plain = 0;
    for (int x = r.Left + 2; x < r.Right - 2; ++x)
        (Grid->Pixel(x, r.Top) == highlight ? plain : inverted) += 1;
    EXPECT_GT(inverted, r.Width() / 3);
    EXPECT_GT(plain, r.Width() / 3);
}

TEST_F(GridPaintTest, RowHighlightMarksTheWholeCurrentRowOnly)
{
    Grid->SetOptionsEh(Grid->OptionsEh() | dghRowHighlight);
    Grid->SetOptions(Grid->Options() | dgAlwaysShowSelection);
    Data->MoveBy(2);
    Grid->PaintScreen();
    const int other = Grid->Col() == 1 ? 2 : 1;
    // Without the focus, lightened toward the button shadow on a true-colour screen.
    EXPECT_EQ(Grid->CellBackground(other, DataRow(2)),
              ColorToRGB(TDBGridEhStyle::LightenColor(clWindow, clBtnShadow, false))) << "the current row's other cell";
    for (int row : {0, 1, 3})
        EXPECT_EQ(Grid->CellBackground(other, DataRow(row)), ColorToRGB(clWindow)) << row;
}

TEST_F(GridPaintTest, HotTrackingLightensTheCellOrTheRowUnderThePointer)
{
    Grid->SetOptionsEh(Grid->OptionsEh() | dghHotTrack);
    const TColor lit = TDBGridEhStyle::LightenColor(clWindow, clHighlight, true);
    const TColor plain = ColorToRGB(clWindow);
    const TRect hot = Grid->CellPixelRect(2, DataRow(3));
    SendMouse(Grid->Handle(), QEvent::MouseMove, QPoint(hot.Left + 3, hot.Top + 3), Qt::NoButton, Qt::NoButton);
    Grid->PaintScreen();
    EXPECT_EQ(Grid->CellBackground(2, DataRow(3)), ColorToRGB(lit));
    EXPECT_EQ(Grid->CellBackground(1, DataRow(3)), plain);
    EXPECT_EQ(Grid->CellBackground(2, DataRow(4)), plain);
    // With the row highlight the rest of the row lights up less.
    Grid->SetOptionsEh(Grid->OptionsEh() | dghRowHighlight);
    Grid->PaintScreen();
    EXPECT_EQ(Grid->CellBackground(2, DataRow(3)), ColorToRGB(lit));
    EXPECT_EQ(Grid->CellBackground(1, DataRow(3)), ColorToRGB(MixColors(lit, clWindow, 170.67)));
    EXPECT_EQ(Grid->CellBackground(1, DataRow(4)), plain);
}

TEST_F(GridPaintTest, HotTrackingMixesIntoHighlightedCells)
{
    const TColor window = ColorToRGB(clWindow);
    const TColor shadow = ColorToRGB(clBtnShadow);
    auto lit = [](TColor C) { return TDBGridEhStyle::LightenColor(C, clHighlight, true); };
    auto hotMix = [&](TColor C) { return ColorToRGB(MixColors(C, lit(C), 170.67)); };
    const TColor unfocusedRow = TDBGridEhStyle::LightenColor(clWindow, clBtnShadow, false);
    const TColor focusedRow = lit(clWindow);
    struct Case {
        bool Focused;
        bool RowHighlight;
        int HoverCol;  // grid column under the pointer, in the current row
        int Col;       // grid column read back
        TColor Expected;
    } cases[] = {
        // Without focus the current cell is mixed with its lightened colour, and so is the
        // rest of a highlighted row under the pointer.
        {false, false, 1, 1, hotMix(shadow)},
        {false, true, 2, 1, hotMix(shadow)},
        {false, true, 2, 2, hotMix(unfocusedRow)},
        // With focus the current cell keeps the plain highlight; the hovered other cell of the
        // highlighted row is pushed toward it, the one not hovered is not.
        {true, true, 2, 1, ColorToRGB(clHighlight)},
        {true, true, 2, 2, ColorToRGB(MixColors(focusedRow, clHighlight, 85.33))},
        {true, true, 1, 2, ColorToRGB(focusedRow)},
    };
    Form->Show();
    Grid->SetOptions(Grid->Options() | dgAlwaysShowSelection);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Focused << c.RowHighlight << c.HoverCol << c.Col);
        Grid->SetOptionsEh((Grid->OptionsEh() | dghHotTrack) - dghRowHighlight);
        if (c.RowHighlight)
            Grid->SetOptionsEh(Grid->OptionsEh() | dghRowHighlight);
        Grid->ChangeCol(1);
        // The unfocused cases come first: the grid keeps the focus once it has it.
        if (c.Focused && !Grid->HasInputFocus()) {
            QApplication::setActiveWindow(Form->Handle());
            Grid->SetFocus();
        }
        ASSERT_EQ(Grid->HasInputFocus(), c.Focused);
        const TRect hot = Grid->CellPixelRect(c.HoverCol, Grid->Row());
        SendMouse(Grid->Handle(), QEvent::MouseMove, QPoint(hot.Left + 3, hot.Top + 3), Qt::NoButton, Qt::NoButton);
        Grid->PaintScreen();
        EXPECT_EQ(Grid->CellBackground(c.Col, Grid->Row()), c.Expected);
        EXPECT_EQ(Grid->CellBackground(c.Col, DataRow(1)), window) << "another row";
    }
}

TEST_F(GridPaintTest, IndicatorMarksTheCurrentRowOnly)
{
    Grid->PaintScreen();
    EXPECT_GT(Grid->CountInCell(0, DataRow(0), clBlack), 0);
    EXPECT_EQ(Grid->CountInCell(0, DataRow(1), clBlack), 0);
    Data->Next();
    Data->Edit();
    Grid->PaintScreen();
    EXPECT_EQ(Grid->CountInCell(0, DataRow(0), clBlack), 0);
    EXPECT_GT(Grid->CountInCell(0, DataRow(1), clBlack), 0) << "the editing mark";
    Data->Cancel();
}

// The rows a record move scrolls show on screen what the grid paints: the pixels moved with
// them cover neither the rows brought into view nor the part of a row under the last whole one,
// and a stale row there would put the current record's mark beside another record, so that a
// click on the row that looks current takes the record under it.
TEST_F(GridPaintTest, RowsScrolledByARecordMoveShowWhatTheGridPaints)
{
    // From the first record down or from the last one up: the rows the grid grows by first, then
    // the move past the last or first shown row that scrolls the rows.
    const struct {
        const char* Name;
        int Direction;
        int Grow;
        int Move;
    } Cases[] = {{"down past the last row", 1, 0, 1},        {"up past the first row", -1, 0, -1},
                 {"three past the last row", 1, 0, 3},       {"two past the first row", -1, 0, -2},
                 {"up after the grid grew at the end", -1, 2, -1}, {"down after the grid grew", 1, 2, 1}};
    Form->SetBounds(0, 0, 500, 600);
    Form->Show();
    QApplication::setActiveWindow(Form->Handle());
    Grid->SetFocus();
    const int title = Grid->RowHeightAt(0) + Grid->GridLineWidth();
    const int pitch = Grid->RowHeightAt(Grid->RowsAboveData()) + Grid->GridLineWidth();
    QWidget* window = Grid->Handle();
    const auto shown = [&] {
        QApplication::processEvents();
        const QPoint at = window->mapTo(window->window(), QPoint(0, 0));
        return window->screen()
            ->grabWindow(window->window()->winId(), at.x(), at.y(), Grid->ClientWidth(), Grid->ClientHeight())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    for (const auto& [Name, Direction, Grow, Move] : Cases) {
        SCOPED_TRACE(Name);
        // Eight whole rows and half of one more.
        Grid->SetBounds(0, 0, 420, title + 8 * pitch + pitch / 2);
        ASSERT_EQ(Grid->DataLink()->RecordCount(), 8);
        if (Direction > 0)
            Data->First();
        else
            Data->Last();
        shown();
        Grid->SetBounds(0, 0, 420, title + (8 + Grow) * pitch + pitch / 2);
        shown();
        TDataLink* link = Grid->DataLink();
        Data->MoveBy(Direction > 0 ? link->RecordCount() - 1 - link->ActiveRecord() : -link->ActiveRecord());
        shown();
        Data->MoveBy(Move);
        const QImage screen = shown();
        ASSERT_FALSE(screen.isNull());
        EXPECT_TRUE(screen == Grid->PaintScreen());
    }
}

TEST_F(GridPaintTest, CellEventsSeeThePaintedRowsRecordInAScrolledGrid)
{
    Data->MoveBy(25);
    std::map<int, int> recNoByTop;
    Grid->OnDrawColumnCell = [&](TObject*, const TRect& Rect, int DataCol, TColumnEh* Column, TGridDrawState) {
        if (DataCol == 1) {
            recNoByTop[Rect.Top] = Data->RecNo();
            EXPECT_EQ(Column->Field()->AsInteger(), Data->RecNo()) << "the field reads the same record";
        }
    };
    // Odd and even rows by the record number, through the cell parameters.
    Grid->OnGetCellParams = [&](TObject*, TColumnEh*, TFont*, TColor& Background, TGridDrawState) {
        Background = Data->RecNo() % 2 != 0 ? clYellow : clAqua;
    };
    Grid->PaintScreen();
    const int activeRecNo = Data->RecNo();
    const int firstRecNo = activeRecNo - Grid->DataLink()->ActiveRecord();
    ASSERT_GE(static_cast<int>(recNoByTop.size()), 5);
    int row = 0;
    for (const auto& [top, recNo] : recNoByTop) {
        EXPECT_EQ(recNo, firstRecNo + row) << "row " << row;
        if (DataRow(row) != Grid->Row()) {
            EXPECT_EQ(Grid->CellBackground(2, DataRow(row)), recNo % 2 != 0 ? clYellow : clAqua) << row;
        }
        ++row;
    }
    EXPECT_EQ(Data->RecNo(), activeRecNo) << "the active record is back after painting";
}

TEST_F(GridPaintTest, FooterShowsTheSumInTheFooterFont)
{
    Grid->SumList()->SetActive(true);
    Grid->SetFooterRowCount(1);
    Qty->Footer()->SetValueType(TFooterValueType::fvtSum);
    Qty->Footer()->Font()->SetColor(clRed);
    Name->Footer()->Font()->SetColor(clRed);
    String text;
    Grid->ComputeFooterText(0, Qty, text);
    EXPECT_EQ(text, u"820"_s);
    Grid->PaintScreen();
    const int footerRow = Grid->RowCount();
    EXPECT_GT(Grid->CountInCell(2, footerRow, clRed), 0) << "the sum";
    EXPECT_EQ(Grid->CountInCell(1, footerRow, clRed), 0) << "an empty footer";
    EXPECT_EQ(Grid->CountInCellIf(2, footerRow, IsInk), 0);
}

TEST_F(GridPaintTest, MissingFieldsAndOddFormatsPaintWithoutRaising)
{
    TColumnEh* missing = AddColumn(u"不存在"_s);
    missing->SetColor(clAqua);
    Qty->SetDisplayFormat(u"yyyy-mm-dd"_s);
    Name->SetDisplayFormat(u"#,##0.00"_s);
    Grid->NotifyLayoutChanged();
    EXPECT_NO_THROW(Grid->PaintScreen());
    EXPECT_EQ(Grid->CellBackground(3, DataRow(1)), clAqua);
    EXPECT_EQ(Grid->CountInCellIf(3, DataRow(1), IsInk), 0);
    EXPECT_GT(Grid->CountInCellIf(1, DataRow(1), IsInk), 0) << "the text field shows its text";
}

TEST_F(GridPaintTest, InactiveLinkFillsDataCellsWithTheColumnColour)
{
    Qty->SetColor(clAqua);
    Data->Close();
    Grid->PaintScreen();
    EXPECT_EQ(Grid->CellBackground(2, DataRow(0)), clAqua);
    EXPECT_EQ(Grid->CountInCellIf(2, DataRow(0), IsInk), 0);
}

TEST_F(GridPaintTest, HiddenDuplicatesShowOnlyOnTheFirstOfEqualRows)
{
    Data->First();
    Data->Next();
    Data->Edit();
    Data->FieldByName(QtyField)->SetValue(Variant(1));
    Data->Post();
    Data->First();
    Qty->SetHideDuplicates(true);
    Grid->PaintScreen();
    EXPECT_GT(Grid->CountInCellIf(2, DataRow(0), IsInk), 0);
    EXPECT_EQ(Grid->CountInCellIf(2, DataRow(1), IsInk), 0) << "same as the row above";
    EXPECT_GT(Grid->CountInCellIf(2, DataRow(2), IsInk), 0);
    // No line between the equal rows; the line under the second stays.
    Qty->SetColor(clYellow);
    Grid->PaintScreen();
    const TRect first = Grid->CellPixelRect(2, DataRow(0));
    const TRect second = Grid->CellPixelRect(2, DataRow(1));
    EXPECT_EQ(Grid->Pixel(first.Left + 5, first.Bottom), clYellow);
    EXPECT_NE(Grid->Pixel(second.Left + 5, second.Bottom), clYellow);
}

TEST_F(GridPaintTest, ColumnParamsHandlerChangesTheTextAndBackground)
{
    Qty->SetOnGetCellParams([](TColumnEh*, bool EditMode, TColCellParamsEh* Params) {
        EXPECT_FALSE(EditMode);
        Params->Background = clYellow;
        Params->Text.clear();
    });
    Grid->PaintScreen();
    EXPECT_EQ(Grid->CellBackground(2, DataRow(2)), clYellow);
    EXPECT_EQ(Grid->CountInCellIf(2, DataRow(2), IsInk), 0);
    EXPECT_GT(Grid->CountInCellIf(1, DataRow(2), IsInk), 0);
}

TEST_F(GridPaintTest, FrozenColumnsTakeTheFixedColour)
{
    Grid->SetFrozenCols(1);
    Grid->PaintScreen();
    EXPECT_EQ(Grid->CellBackground(1, DataRow(2)), ColorToRGB(Grid->FixedColor()));
    EXPECT_GT(Grid->CountInCellIf(1, DataRow(2), IsInk), 0) << "with its text";
    EXPECT_EQ(Grid->CellBackground(2, DataRow(2)), ColorToRGB(clWindow));
}

TEST_F(GridPaintTest, RecordNumbersInTheIndicatorAndTheCountInItsFooter)
{
    Grid->SetOptionsEh(Grid->OptionsEh() | dghShowRecNo);
    Grid->SetFooterRowCount(1);
    Grid->Font()->SetColor(clRed);
    Grid->PaintScreen();
    EXPECT_GT(Grid->CountInCell(0, DataRow(3), clRed), 0) << "record 4";
    EXPECT_GT(Grid->CountInCell(0, Grid->RowCount(), clRed), 0) << "40 records";
    EXPECT_GT(Grid->CountInCell(0, DataRow(0), clBlack), 0) << "the arrow beside the number";
}

TEST_F(GridPaintTest, EditButtonsShowInEveryRowFaintlyAwayFromTheCurrentOne)
{
    Qty->SetButtonStyle(TColumnButtonStyleEh::cbsEllipsis);
    Qty->SetAlwaysShowEditButton(true);
    Qty->SetColor(clYellow);
    Grid->NotifyLayoutChanged();
    Grid->PaintScreen();
    const TRect current = Grid->CellPixelRect(2, DataRow(0));
    const TRect other = Grid->CellPixelRect(2, DataRow(3));
    const int buttonX = current.Right - 3;
    const TColor face = ColorToRGB(clBtnFace);
    // The current row's button is drawn through 30 % of the cell, the others' through 80 %.
    const TColor currentFace = Grid->Pixel(buttonX, current.Top + 3);
    const TColor otherFace = Grid->Pixel(buttonX, other.Top + 3);
    EXPECT_NE(currentFace, clYellow);
    EXPECT_NE(otherFace, clYellow);
    EXPECT_LT(std::abs(GetBValue(currentFace) - GetBValue(face)), std::abs(GetBValue(otherFace) - GetBValue(face)));
    EXPECT_EQ(Grid->Pixel(current.Left + 3, current.Bottom - 2), clYellow);
}

TEST_F(GridPaintTest, SortMarkerAndMultiLevelTitles)
{
    Name->Title()->SetCaption(u"物品|名称"_s);
    Qty->Title()->SetCaption(u"物品|数量"_s);
    Qty->Title()->SetSortMarker(TSortMarkerEh::smDownEh);
    Grid->SetUseMultiTitle(true);
    Grid->TitleFont()->SetColor(clRed);
    Name->Title()->Font()->SetColor(clRed);
    Qty->Title()->Font()->SetColor(clRed);
    Grid->PaintScreen();
    const TRect title = Grid->CellPixelRect(2, 0);
    int marker = 0;
    for (int y = title.Top; y < title.Bottom; ++y)
        for (int x = title.Right - 20; x < title.Right; ++x)
            marker += Grid->Pixel(x, y) == RGB(128, 128, 128) ? 1 : 0;
    EXPECT_GT(marker, 0) << "the sort marker";
    // The upper part's caption sits over both columns' top halves.
    int upper = 0;
    for (int y = title.Top; y < title.Top + title.Height() / 2; ++y)
        for (int x = Grid->CellPixelRect(1, 0).Left; x < title.Right; ++x)
            upper += Grid->Pixel(x, y) == clRed ? 1 : 0;
    EXPECT_GT(upper, 0);
    // The upper caption is centred over both columns: it lies on both sides of their boundary.
    const int boundary = Grid->CellPixelRect(1, 0).Right;
    const auto redIn = [&](int Left, int Right) {
        int n = 0;
        for (int y = title.Top; y < title.Top + title.Height() / 2; ++y)
            for (int x = Left; x < Right; ++x)
                n += Grid->Pixel(x, y) == clRed ? 1 : 0;
        return n;
    };
    EXPECT_GT(redIn(boundary - 30, boundary), 0);
    EXPECT_GT(redIn(boundary + 1, boundary + 30), 0);
}

TEST_F(GridPaintTest, CheckBoxColumnShowsBoxesInsteadOfNumbers)
{
    Qty->SetCheckboxes(true);
    Grid->PaintScreen();
    EXPECT_EQ(Grid->CountInCellIf(2, DataRow(1), IsInk), 0);
    const TRect r = Grid->CellPixelRect(2, DataRow(1));
    EXPECT_EQ(Grid->Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), ColorToRGB(clWindow));
    EXPECT_GT(Grid->CountInCell(2, DataRow(1), ColorToRGB(clBtnShadow)), 0) << "the box's frame";
}

TEST_F(GridPaintTest, AdvancedDrawingEventsReplaceTheGridsOwnPainting)
{
    int gridCalls = 0;
    int columnCalls = 0;
    int drawColumnCalls = 0;
    Grid->OnAdvDrawDataCell = [&](TObject*, TGridCoord, TGridCoord AreaCell, TColumnEh* Column, const TRect&,
                                  TColCellParamsEh* Params, bool& Processed) {
        ++gridCalls;
        EXPECT_EQ(Params->Text, Column->ComputeDisplayText());
        Processed = Column == Qty && AreaCell.Y == 1;
    };
    Qty->OnAdvDrawDataCell = [&](TObject*, TGridCoord, TGridCoord, TColumnEh*, const TRect&, TColCellParamsEh*,
                                 bool&) { ++columnCalls; };
    Grid->OnDrawColumnCell = [&](TObject*, const TRect&, int, TColumnEh*, TGridDrawState) { ++drawColumnCalls; };
    Grid->PaintScreen();
    const int cells = 2 * Grid->DataLink()->RecordCount();
    EXPECT_EQ(gridCalls, cells);
    EXPECT_EQ(columnCalls, cells / 2 - 1) << "not for the cell the grid's handler processed";
    EXPECT_EQ(drawColumnCalls, cells - 1);
    EXPECT_EQ(Grid->CountInCellIf(2, DataRow(1), IsInk), 0);
    EXPECT_GT(Grid->CountInCellIf(2, DataRow(2), IsInk), 0);
}

TEST_F(GridPaintTest, EmptyRequiredValueIsMarkedWhileEditing)
{
    Data->FieldByName(QtyField)->SetRequired(true);
    Qty->SetHighlightRequired(true);
    const auto marked = [&] {
        Grid->PaintScreen();
        const TRect r = Grid->CellPixelRect(2, Grid->Row());
        int red = 0;
        for (int x = r.Left; x < r.Right; ++x)
            red += Grid->Pixel(x, r.Bottom - 2) == clRed ? 1 : 0;
        return red;
    };
    EXPECT_EQ(marked(), 0) << "browsing";
    Data->Append();
    EXPECT_GT(marked(), 10) << "a new record without a quantity";
    bool asked = false;
    Qty->OnCheckDrawRequiredState = [&](TObject*, const String&, bool& DrawState) {
        asked = true;
        DrawState = false;
    };
    EXPECT_EQ(marked(), 0);
    EXPECT_TRUE(asked);
    Data->FieldByName(QtyField)->SetValue(Variant(3));
    Qty->OnCheckDrawRequiredState = nullptr;
    EXPECT_EQ(marked(), 0) << "filled in";
    Data->Cancel();
}

TEST_F(GridPaintTest, PaintingWithFooterSumsLeavesTheRecordsAndSumsAlone)
{
    Data->MoveBy(3);
    Grid->SumList()->SetActive(true);
    Grid->SetFooterRowCount(1);
    Qty->Footer()->SetValueType(TFooterValueType::fvtSum);
    int recalculations = 0;
    Grid->OnSumListRecalcAll = [&](TObject*) { ++recalculations; };
    std::vector<int> shown;
    Grid->OnDrawColumnCell = [&](TObject*, const TRect&, int DataCol, TColumnEh* Column, TGridDrawState) {
        if (DataCol == 1)
            shown.push_back(Column->Field()->AsInteger());
    };
    for (int pass = 0; pass < 2; ++pass) {
        shown.clear();
        Grid->PaintScreen();
        EXPECT_EQ(Data->RecNo(), 4) << pass;
        EXPECT_EQ(Grid->DataLink()->ActiveRecord(), 3) << pass;
        ASSERT_EQ(static_cast<int>(shown.size()), Grid->DataLink()->RecordCount());
        for (int row = 0; row < static_cast<int>(shown.size()); ++row)
            EXPECT_EQ(shown[static_cast<std::size_t>(row)], row + 1) << "pass " << pass << " row " << row;
    }
    EXPECT_EQ(recalculations, 0) << "binding the columns again must not walk the dataset";
}

TEST_F(GridPaintTest, ThemedLookDrawsHeadersAndTheThemedArrow)
{
    PlatformMetrics().SetThemesActive(true);
    Name->Title()->Font()->SetColor(clRed);
    Grid->PaintScreen();
    EXPECT_GT(Grid->CountInCell(1, 0, clRed), 0);
    EXPECT_GT(Grid->CountInCell(0, DataRow(0), BlendColors(cl3DDkShadow, clBlack, 30)), 0);
    EXPECT_EQ(Grid->CountInCell(0, DataRow(1), BlendColors(cl3DDkShadow, clBlack, 30)), 0);
    EXPECT_GT(Grid->CountInCellIf(1, DataRow(1), IsInk), 0);
}

TEST_F(GridPaintTest, RaisedFootersAndDataCellsGetAFrame)
{
    Grid->SetOptionsEh(Grid->OptionsEh() | dghFooter3D | dghData3D);
    Grid->SetFooterRowCount(1);
    Grid->PaintScreen();
    const TRect footer = Grid->CellPixelRect(2, Grid->RowCount());
    EXPECT_EQ(Grid->Pixel(footer.Left + 5, footer.Top), ColorToRGB(clBtnHighlight)) << "lit from the top";
    EXPECT_EQ(Grid->Pixel(footer.Left + 5, footer.Bottom - 1), ColorToRGB(clBtnShadow));
    const TRect data = Grid->CellPixelRect(2, DataRow(2));
    EXPECT_EQ(Grid->Pixel(data.Left + 5, data.Top), ColorToRGB(clBtnHighlight));
}

TEST_F(GridPaintTest, AFlatRaisedCellKeepsItsColourWhereTheLightWouldFall)
{
    Grid->SetOptionsEh(Grid->OptionsEh() | dghFooter3D | dghData3D);
    Grid->SetFooterRowCount(1);
    Grid->SetFlat(true);
    Name->SetColor(clYellow);
    Name->Footer()->SetColor(clAqua);
    Grid->PaintScreen();
    // Read right of the texts: their edges are the frames'.
    const TRect data = Grid->CellPixelRect(1, DataRow(2));
    EXPECT_EQ(Grid->Pixel(data.Right - 10, data.Top), ColorToRGB(clYellow)) << "no light edge on top";
    EXPECT_EQ(Grid->Pixel(data.Left, data.Bottom - 4), ColorToRGB(clYellow)) << "nor on the left";
    EXPECT_EQ(Grid->Pixel(data.Right - 10, data.Bottom - 1), ColorToRGB(clBtnShadow)) << "the shade stays";
    EXPECT_EQ(Grid->Pixel(data.Right - 1, data.Bottom - 4), ColorToRGB(clBtnShadow));
    const TRect footer = Grid->CellPixelRect(1, Grid->RowCount());
    EXPECT_EQ(Grid->Pixel(footer.Right - 10, footer.Top), ColorToRGB(clAqua));
    EXPECT_EQ(Grid->Pixel(footer.Right - 10, footer.Bottom - 1), ColorToRGB(clBtnShadow));
}

TEST_F(GridPaintTest, AHighlightedRaisedCellLooksPressed)
{
    Grid->SetOptionsEh(Grid->OptionsEh() | dghData3D);
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    Data->MoveBy(2);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    Data->First();
    Grid->PaintScreen();
    // Read right of the text: its edges are the frame's.
    const TRect data = Grid->CellPixelRect(1, DataRow(2));
    const int x = data.Right - 10;
    EXPECT_EQ(Grid->Pixel(x, data.Top), ColorToRGB(cl3DDkShadow)) << "shaded from the top";
    EXPECT_EQ(Grid->Pixel(x, data.Bottom - 1), ColorToRGB(cl3DLight));

    // Flat: the lit bottom and right sides keep the cell's (highlight) colour.
    Grid->SetFlat(true);
    Grid->PaintScreen();
    const TRect flat = Grid->CellPixelRect(1, DataRow(2));
    const TColor inside = Grid->Pixel(x, flat.Bottom - 4);
    EXPECT_NE(inside, ColorToRGB(cl3DLight));
    EXPECT_EQ(Grid->Pixel(x, flat.Top), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(Grid->Pixel(x, flat.Bottom - 1), inside);
    EXPECT_EQ(Grid->Pixel(flat.Right - 1, flat.Bottom - 4), inside);
}

// --- Over a query on a database file ---------------------------------------------------------------

class GridPaintAdoTest : public GridPaintFixtureBase {
protected:
    void SetUp() override
    {
        GridPaintFixtureBase::SetUp();
        ASSERT_TRUE(Dir.isValid());
        Connection.SetConnectionString(
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(Dir.filePath(u"opr.mdb"_s)));
        Connection.SetLoginPrompt(false);
        Connection.OnNewDatabase = [this](TObject*) {
            Connection.Execute(String::fromUtf8("CREATE TABLE oprint(id COUNTER PRIMARY KEY, 姓名 TEXT, 数量 INTEGER)"));
        };
        Connection.Open();
        Connection.Execute(String::fromUtf8("insert into oprint(姓名,数量) values('张三',1)"));
        for (int i = 0; i < 6; ++i)
            Connection.Execute(String::fromUtf8("insert into oprint(姓名,数量) select 姓名,数量+1 from oprint"));
        Query.SetConnection(&Connection);
        Query.SQL()->Add(u"select id, 姓名, 数量 from oprint order by id"_s);
        Source.SetDataSet(&Query);
        PlaceGrid(Form);
        // Stored columns, as the application's windows describe them.
        for (const String& name : {u"id"_s, u"姓名"_s, u"数量"_s})
            Grid->Columns()->Add()->SetFieldName(name);
        Grid->SetDataSource(&Source);
        Query.Open();
    }

    QTemporaryDir Dir;
    TADOConnection Connection{nullptr};
    TADOQuery Query{nullptr};
    TDataSource Source{nullptr};
    TForm Form{nullptr};
};

TEST_F(GridPaintAdoTest, QueryRowsTitlesAndFooterSumArePainted)
{
    ASSERT_EQ(Grid->Columns()->Count(), 3);
    Grid->TitleFont()->SetColor(clRed);
    Grid->SumList()->SetActive(true);
    Grid->SetFooterRowCount(1);
    TColumnEh* qty = Grid->Columns()->ColumnAt(2);
    qty->Footer()->SetValueType(TFooterValueType::fvtSum);
    qty->Footer()->Font()->SetColor(clRed);
    qty->Font()->SetColor(Ink);
    String sum;
    Grid->ComputeFooterText(0, qty, sum);
    EXPECT_EQ(sum, u"256"_s);
    Grid->PaintScreen();
    EXPECT_GT(Grid->CountInCell(3, 0, clRed), 0) << "title";
    EXPECT_GT(Grid->CountInCell(3, Grid->RowCount(), clRed), 0) << "footer sum";
    EXPECT_GT(Grid->CountInCellIf(3, Grid->RowsAboveData() + 1, IsInk), 0) << "data";
}

TEST_F(GridPaintAdoTest, DrawColumnCellSeesEachRowsRecordAfterScrolling)
{
    Query.MoveBy(30);
    int rows = 0;
    Grid->OnDrawColumnCell = [&](TObject*, const TRect&, int DataCol, TColumnEh*, TGridDrawState) {
        if (DataCol != 0)
            return;
        EXPECT_EQ(Query.FieldByName(u"id"_s)->AsInteger(), Query.RecNo());
        ++rows;
    };
    const int recNo = Query.RecNo();
    Grid->PaintScreen();
    EXPECT_EQ(rows, Grid->DataLink()->RecordCount());
    EXPECT_EQ(Query.RecNo(), recNo);
}

}  // namespace

TEST_F(GridPaintTest, SelectedRecordsShowHighlightedInTheirCellsAndIndicator)
{
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    Data->MoveBy(1);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    Data->MoveBy(2);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    Data->First();
    Grid->PaintScreen();
    // Without the focus the selection keeps its place, lightened toward the button shadow.
    const TColor marked = ColorToRGB(TDBGridEhStyle::LightenColor(clWindow, clBtnShadow, false));
    for (int row : {1, 3}) {
        EXPECT_EQ(Grid->CellBackground(2, DataRow(row)), marked) << row;
        EXPECT_NE(Grid->CellBackground(0, DataRow(row)), ColorToRGB(clBtnFace)) << "indicator of " << row;
    }
    for (int row : {2, 4}) {
        EXPECT_EQ(Grid->CellBackground(2, DataRow(row)), ColorToRGB(clWindow)) << row;
        EXPECT_EQ(Grid->CellBackground(0, DataRow(row)), ColorToRGB(clBtnFace)) << "indicator of " << row;
    }
}

TEST_F(GridPaintTest, AtFewScreenColoursTheSelectionIsNeverLightened)
{
    TDBGridEhStyle::SetColorDepth(256);
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    Data->MoveBy(1);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    Data->First();
    Grid->PaintScreen();
    const TColor plain = Grid->CellBackground(2, DataRow(1));
    TDBGridEhStyle::SetColorDepth(-1);
    EXPECT_EQ(plain, ColorToRGB(clBtnFace));
}

TEST_F(GridPaintTest, OddAndEvenRecordsTakeTheirRowColours)
{
    Grid->SetOddRowColor(TColor(0xE0FFE0));
    Grid->SetEvenRowColor(TColor(0xFFE0E0));
    Grid->PaintScreen();
    // The first record (number 1) is odd; the current cell keeps its own look.
    EXPECT_EQ(Grid->CellBackground(2, DataRow(0)), TColor(0xE0FFE0));
    EXPECT_EQ(Grid->CellBackground(2, DataRow(1)), TColor(0xFFE0E0));
    EXPECT_EQ(Grid->CellBackground(2, DataRow(2)), TColor(0xE0FFE0));
    // A column of its own colour keeps it on every row.
    Qty->SetColor(clYellow);
    Grid->PaintScreen();
    EXPECT_EQ(Grid->CellBackground(2, DataRow(1)), ColorToRGB(clYellow));
}
