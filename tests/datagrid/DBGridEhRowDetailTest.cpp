// The row detail panel under the current record: opened and closed by keys and by its sign, closed
// by record moves (or keeping the record when its close is refused), its container's geometry, and
// the sign's pixels.
#include "DBGridEhInputTestSupport.h"
#include "DBGridEhPaintSupport.h"

#include "platform/ui/Edit.h"

#include <QApplication>

namespace {

class RowDetailTest : public DBGridInputTest {
protected:
    void SetUp() override
    {
        DBGridInputTest::SetUp();
        Panel()->SetActive(true);
        Inside = new TEdit(Form);
        Inside->SetParent(Container());
        Inside->SetTabStop(true);
    }

    TRowDetailPanelEh* Panel() const { return Grid->RowDetailPanel(); }
    TRowDetailPanelControlEh* Container() const { return Grid->RowDetailPanelControl(); }
    // The centre of the expand sign of grid row ARow: the first column's 18-pixel strip.
    QPoint SignOf(int ARow) const
    {
        const TRect cell = Grid->CellPixelRect(Grid->IndicatorOffset(), ARow);
        return QPoint(cell.Left + 9, cell.Top + 5);
    }

    TEdit* Inside = nullptr;
};

TEST_F(RowDetailTest, CtrlDownOpensThePanelIntoItsControlAndCtrlUpComesBack)
{
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_TRUE(Panel()->Visible());
    EXPECT_TRUE(Container()->Visible());
    EXPECT_TRUE(Inside->Focused());
    EXPECT_EQ(CurrentRecNo(), 1);

    SendKey(Inside->Handle(), Qt::Key_Up, QString(), Qt::ControlModifier);
    EXPECT_TRUE(Grid->Focused());
    EXPECT_TRUE(Panel()->Visible());
}

TEST_F(RowDetailTest, AClickOnTheSignOpensAndClosesThePanelUnderItsRecord)
{
    Click(SignOf(DataRow(2)));
    EXPECT_EQ(CurrentRecNo(), 3);
    ASSERT_TRUE(Panel()->Visible());
    const TRect record = Grid->CellPixelRect(Grid->IndicatorOffset(), DataRow(2));
    EXPECT_EQ(Container()->Top(), record.Top + Grid->RecordRowHeight(2));
    EXPECT_EQ(Container()->Left(), record.Left + 18);
    EXPECT_EQ(Container()->Height(), 120);

    Click(SignOf(DataRow(2)));
    EXPECT_FALSE(Panel()->Visible());
    EXPECT_FALSE(Container()->Visible());
}

TEST_F(RowDetailTest, InTheRowPanelTheSignIsTheFirstColumnsCells)
{
    // The first column on the panel's second line, the second column at the first line's start.
    Grid->RowPanel()->SetActive(true);
    Grid->Columns()->BeginUpdate();
    Grid->Columns()->ColumnAt(0)->SetInRowLinePos(1);
    for (int i = 1; i < Grid->Columns()->Count(); ++i)
        Grid->Columns()->ColumnAt(i)->SetInRowLinePos(0);
    Grid->Columns()->EndUpdate();
    const TRect first = Grid->Columns()->ColumnAt(0)->RowPanelRect();
    ASSERT_GT(first.Top, 0);
    auto at = [&](int ARow, int X, int Y) {
        const TRect cell = Grid->CellPixelRect(Grid->IndicatorOffset(), ARow);
        return QPoint(cell.Left + X, cell.Top + Y);
    };
    Click(at(DataRow(2), first.Left + 9, 5));
    EXPECT_EQ(CurrentRecNo(), 3);
    EXPECT_FALSE(Panel()->Visible()) << "a press on the first line's start is the second column's";
    Click(at(DataRow(3), first.Left + 9, first.Top + 5));
    EXPECT_EQ(CurrentRecNo(), 4);
    EXPECT_TRUE(Panel()->Visible());
}

TEST_F(RowDetailTest, OpeningNearTheBottomScrollsThePanelIntoViewAndClosingScrollsBack)
{
    int lastShown = DataRow(0);
    while (lastShown + 1 < Grid->RowCount() &&
           Grid->CellPixelRect(Grid->IndicatorOffset(), lastShown + 1).Bottom <= Grid->ClientHeight())
        ++lastShown;
    ASSERT_GT(lastShown, DataRow(8));
    // The record in the last shown row, and the dataset's last record.
    for (bool atEnd : {false, true}) {
        SCOPED_TRACE(atEnd);
        Data->First();
        if (atEnd)
            Data->Last();
        else
            ClickCell(Grid->IndicatorOffset() + 1, lastShown);
        const int recNo = CurrentRecNo();
        const int row = Grid->Row();
        ASSERT_GE(row, lastShown - 1);
        Panel()->SwitchVisible(true);
        ASSERT_TRUE(Container()->Visible());
        EXPECT_EQ(CurrentRecNo(), recNo);
        EXPECT_LT(Grid->Row(), row) << "the rows above the record moved up";
        const TRect record = Grid->CellPixelRect(Grid->IndicatorOffset(), Grid->Row());
        EXPECT_EQ(Container()->Top(), record.Top + Grid->RecordRowHeight(Grid->Row() - Grid->RowsAboveData()));
        EXPECT_EQ(Container()->Height(), Panel()->Height()) << "the whole panel shows";
        EXPECT_LE(Container()->Top() + Container()->Height(), Grid->ClientHeight());
        const int openRow = Grid->Row();
        Panel()->SwitchVisible(false);
        EXPECT_EQ(CurrentRecNo(), recNo);
        // Records fill the rows below; at the dataset's end the rows move back down to fill.
        EXPECT_EQ(Grid->Row(), atEnd ? row : openRow);
        EXPECT_EQ(CurrentName(), RowName(recNo - 1));
    }
}

TEST_F(RowDetailTest, MovingToAnotherRecordClosesThePanel)
{
    Panel()->SwitchVisible(true);
    Wheel(-120);
    EXPECT_EQ(CurrentRecNo(), 2);
    EXPECT_FALSE(Panel()->Visible());
    EXPECT_EQ(Grid->RowHeightAt(DataRow(0)), Grid->RecordRowHeight(0));
}

TEST_F(RowDetailTest, ARefusedCloseKeepsTheRecord)
{
    Grid->OnRowDetailPanelHide = [](TObject*, bool& CanHide) { CanHide = false; };
    Panel()->SwitchVisible(true);
    EXPECT_EQ(Grid->MoveByRecords(1), 0);
    ClickCell(Grid->IndicatorOffset() + 1, DataRow(4));
    Key(Qt::Key_PageDown);
    EXPECT_EQ(CurrentRecNo(), 1);
    EXPECT_TRUE(Panel()->Visible());
}

TEST_F(RowDetailTest, ARowWithoutAPanelIgnoresClicksOnItsSign)
{
    Grid->OnCheckRowHaveDetailPanel = [](TObject*, bool& Have) { Have = false; };
    Click(SignOf(DataRow(0)));
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_FALSE(Panel()->Visible());
}

TEST_F(RowDetailTest, OpeningNeedsRecordsUnlessTheShowEventGrantsIt)
{
    struct Case {
        bool Granted;
        bool EventSet;
        bool Shown;
    };
    for (const Case& c : {Case{false, false, false}, Case{true, true, true}}) {
        while (!Data->IsEmpty())
            Data->Delete();
        Grid->OnRowDetailPanelShow = nullptr;
        if (c.EventSet)
            Grid->OnRowDetailPanelShow = [&](TObject*, bool& CanShow) { CanShow = c.Granted; };
        Panel()->SwitchVisible(true);
        EXPECT_EQ(Panel()->Visible(), c.Shown) << c.EventSet;
        Panel()->SwitchVisible(false);
    }
}

TEST_F(RowDetailTest, AnInsertedRecordOpensAndAClosingDataSetClosesEvenARefusingPanel)
{
    Data->Append();
    Panel()->SwitchVisible(true);
    EXPECT_TRUE(Panel()->Visible());
    Grid->OnRowDetailPanelHide = [](TObject*, bool& CanHide) { CanHide = false; };
    Data->Close();
    EXPECT_FALSE(Panel()->Visible());
    EXPECT_FALSE(Container()->Visible());
    Panel()->SwitchVisible(true);
    EXPECT_FALSE(Panel()->Visible());
}

TEST_F(RowDetailTest, TheContainerTakesOnlyTheRoomThereIs)
{
    Panel()->SwitchVisible(true);
    const int top = Container()->Top();
    Grid->SetHeight(top + 80);
    EXPECT_EQ(Container()->Height(), 80);
    EXPECT_EQ(Panel()->Height(), 120);

    Panel()->SetWidth(5000);
    EXPECT_EQ(Container()->Width(), Grid->ClientWidth() - Container()->Left());

    // Data columns that end before the sign leave no room at all.
    Panel()->SetWidth(0);
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        Grid->Columns()->ColumnAt(i)->SetWidth(3);
    EXPECT_FALSE(Container()->Visible());
    EXPECT_TRUE(Panel()->Visible());
}

class RowDetailPaintTest : public StockGridPaintFixture {
protected:
    void SetUp() override
    {
        StockGridPaintFixture::SetUp();
        OpenStock(5);
        Grid->SetDataSource(Source.get());
        Grid->RowDetailPanel()->SetActive(true);
    }

    // The pixel two above the middle of the sign of data row Index: the plus sign's upright.
    TColor SignUpright(int Index)
    {
        const int row = Grid->FixedRows() + Index;
        const TRect cell = Grid->CellPixelRect(Grid->IndicatorOffset(), row);
        const int bottom = cell.Top + Grid->RecordRowHeight(Index);
        return Grid->Pixel(cell.Left + 9, (cell.Top + bottom) / 2 - 2);
    }

};

TEST_F(RowDetailPaintTest, RowsShowAPlusAndTheOpenRowAMinus)
{
    Grid->PaintScreen();
    EXPECT_EQ(SignUpright(0), clBlack);
    EXPECT_EQ(SignUpright(1), clBlack);

    Grid->RowDetailPanel()->SwitchVisible(true);
    Grid->PaintScreen();
    EXPECT_EQ(SignUpright(0), clWhite);
    EXPECT_EQ(SignUpright(1), clBlack);
}

TEST_F(RowDetailPaintTest, TheIndicatorArrowStaysBesideTheRecordAboveThePanel)
{
    Grid->RowDetailPanel()->SwitchVisible(true);
    Grid->PaintScreen();
    const TRect cell = Grid->CellPixelRect(0, Grid->FixedRows());
    const int recordBottom = cell.Top + Grid->RecordRowHeight(0);
    ASSERT_GT(cell.Bottom, recordBottom + 20);
    int inRecord = 0;
    int inPanel = 0;
    for (int y = cell.Top; y < cell.Bottom; ++y)
        for (int x = cell.Left; x < cell.Right; ++x)
            (y < recordBottom ? inRecord : inPanel) += Grid->Pixel(x, y) == clBlack ? 1 : 0;
    EXPECT_GT(inRecord, 0);
    EXPECT_EQ(inPanel, 0);
}

TEST_F(RowDetailPaintTest, TheFocusRectangleFramesTheRecordAboveThePanel)
{
    Form->Show();
    QApplication::setActiveWindow(Form->Handle());
    Grid->SetFocus();
    ASSERT_TRUE(Grid->HasInputFocus());
    Grid->RowDetailPanel()->SwitchVisible(true);
    // Around the current cell, and around the whole row with dgRowSelect.
    for (bool rowSelect : {false, true}) {
        SCOPED_TRACE(rowSelect);
        Grid->SetOptions(rowSelect ? Grid->Options() | dgRowSelect : Grid->Options() - dgRowSelect);
        ASSERT_TRUE(Grid->RowDetailPanel()->Visible());
        Grid->PaintScreen();
        const TRect cell = Grid->CellPixelRect(Grid->Col(), Grid->Row());
        const int recordBottom = cell.Top + Grid->RecordRowHeight(Grid->Row() - Grid->RowsAboveData());
        ASSERT_GT(cell.Bottom, recordBottom + 20);
        // Every other pixel of the record's last line is inverted; past the sign the rest is highlight.
        const TColor highlight = ColorToRGB(clHighlight);
        int inverted = 0;
        int plain = 0;
        for (int x = cell.Left + 20; x < cell.Right - 2; ++x)
            (Grid->Pixel(x, recordBottom - 1) == highlight ? plain : inverted) += 1;
        EXPECT_GT(inverted, (cell.Width() - 22) / 3);
        EXPECT_GT(plain, (cell.Width() - 22) / 3);
        // Below it, the panel's band keeps the grid's colour: no side or bottom of a frame there.
        const TColor band = ColorToRGB(Grid->Color());
        int framed = 0;
        for (int y = recordBottom + 1; y < cell.Bottom; ++y)
            for (int x : {cell.Left, cell.Left + 1, cell.Right - 2, cell.Right - 1})
                framed += Grid->Pixel(x, y) != band ? 1 : 0;
        for (int x = cell.Left; x < cell.Right; ++x)
            framed += Grid->Pixel(x, cell.Bottom - 1) != band ? 1 : 0;
        EXPECT_EQ(framed, 0);
    }
}

}  // namespace
