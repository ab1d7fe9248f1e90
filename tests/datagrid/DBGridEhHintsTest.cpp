// The grid's hints: a title's own hint, and tool tips that show the whole text of a clipped
// cell at once, laid over the text; nothing over texts that fit or columns without tool tips.
#include "DBGridEhInputTestSupport.h"

#include "editors/DBCtrlsEh.h"
#include "platform/ui/HintWindow.h"

namespace {

class DBGridEhHintsTest : public DBGridInputTest {
protected:
    void SetUp() override
    {
        ReleaseKeyboardModifiers();
        // Only what shows at once can show within a test.
        Application->SetHintPause(100000);
        Application->SetHintHidePause(100000);
        DBGridInputTest::SetUp();
        Grid->SetShowHint(true);
        Name()->SetWidth(300);
        // The pointer comes in from outside the grid.
        MoveTo(Form->Handle(), QPoint(450, 350));
    }
    void TearDown() override
    {
        DBGridInputTest::TearDown();
        Application->SetHintPause(500);
        Application->SetHintHidePause(2500);
    }

    TColumnEh* Name() const { return Grid->Columns()->ColumnAt(1); }
    int NameCol() const { return Grid->DataColToGridCol(1); }
    static void MoveTo(QWidget* Window, QPoint At)
    {
        SendMouse(Window, QEvent::MouseMove, At, Qt::NoButton, Qt::NoButton);
    }
    void MoveOverCell(int ACol, int ARow) { MoveTo(Window(), CellCentre(ACol, ARow)); }
    // Long enough for a hint due at once to show.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    void ClipNames()
    {
        Name()->SetWidth(8);
    }
};

TEST_F(DBGridEhHintsTest, AClippedCellShowsItsWholeTextAtOnceOverTheText)
{
    Name()->SetToolTips(true);
    ClipNames();
    MoveOverCell(NameCol(), DataRow(1));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ASSERT_NE(ShownHintWindow(), nullptr);
    THintWindow* hint = ShownHintWindow();
    EXPECT_EQ(hint, Grid->ToolTipsWindow());
    EXPECT_EQ(hint->Caption(), RowName(1));
    const TRect cell = Grid->CellPixelRect(NameCol(), DataRow(1));
    const TPoint at = Grid->ClientToScreen(Point(cell.Left - 1, cell.Top - 1));
    EXPECT_EQ(hint->Left(), at.X);
    EXPECT_EQ(hint->Top(), at.Y);
    // The current record stays where it was while another row was measured.
    EXPECT_EQ(CurrentName(), RowName(0));

    // The next row's cell asks again and shows its own text.
    MoveOverCell(NameCol(), DataRow(2));
    ProcessUntil([this] { return ShownHintWindow() != nullptr && ShownHintWindow()->Caption() == RowName(2); });
}

TEST_F(DBGridEhHintsTest, NoToolTipOverATextThatFitsOrAColumnWithoutToolTips)
{
    Application->SetHintPause(0);
    Name()->SetToolTips(true);
    MoveOverCell(NameCol(), DataRow(1));
    Settle();
    EXPECT_EQ(ShownHintWindow(), nullptr);

    Name()->SetToolTips(false);
    ClipNames();
    MoveOverCell(NameCol(), DataRow(2));
    Settle();
    EXPECT_EQ(ShownHintWindow(), nullptr);
}

TEST_F(DBGridEhHintsTest, ATitleShowsTheShortPartOfItsOwnHint)
{
    Application->SetHintPause(0);
    Name()->Title()->SetHint(u"物品名称|领用物品的名称"_s);
    MoveOverCell(NameCol(), 0);
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), u"物品名称"_s);
}

TEST_F(DBGridEhHintsTest, AClippedTitleWithToolTipsShowsItsCaption)
{
    Name()->Title()->SetCaption(u"领用物品的名称"_s);
    Name()->Title()->SetToolTips(true);
    ClipNames();
    MoveOverCell(NameCol(), 0);
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), u"领用物品的名称"_s);
}

TEST_F(DBGridEhHintsTest, AClippedFooterWithToolTipsShowsItsText)
{
    Grid->SetFooterRowCount(1);
    Name()->Footer()->SetValueType(TFooterValueType::fvtStaticText);
    Name()->Footer()->SetValue(u"合计：三十条记录"_s);
    Name()->Footer()->SetToolTips(true);
    ClipNames();
    MoveOverCell(NameCol(), Grid->RowCount());  // the first footer row follows the data rows
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), u"合计：三十条记录"_s);
}

TEST_F(DBGridEhHintsTest, ARightAlignedTextCutByAnEditButtonShowsAndEndsInsideTheCell)
{
    TColumnEh* quantity = Grid->Columns()->ColumnAt(2);
    quantity->SetAlignment(TAlignment::taRightJustify);
    quantity->SetToolTips(true);
    quantity->SetButtonStyle(TColumnButtonStyleEh::cbsEllipsis);
    quantity->SetAlwaysShowEditButton(true);
    quantity->SetWidth(200);
    ClipNames();
    MoveOverCell(Grid->DataColToGridCol(2), DataRow(3));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), u"3"_s);
    const TRect cell = Grid->CellPixelRect(Grid->DataColToGridCol(2), DataRow(3));
    const TPoint right = Grid->ClientToScreen(Point(cell.Right, cell.Top));
    EXPECT_LT(ShownHintWindow()->Left() + ShownHintWindow()->Width(), right.X);
    EXPECT_GT(ShownHintWindow()->Left() + ShownHintWindow()->Width(), right.X - 10);

    // Over the button itself there is no text to show.
    MoveTo(Window(), QPoint(cell.Right - 2, (cell.Top + cell.Bottom) / 2));
    Settle();
    EXPECT_EQ(ShownHintWindow(), nullptr);
}

} // namespace

namespace {

TEST_F(DBGridEhHintsTest, TheGridsEventsSetThePauseAndTheDataHint)
{
    TGridCoord asked{-1, -1};
    Grid->OnHintShowPause = [&asked](TCustomDBGridEh*, TPoint, TGridCoord Cell, TPoint, TColumnEh*, int& Pause,
                                     bool& Processed) {
        asked = Cell;
        Pause = 0;
        Processed = true;
    };
    String seen;
    Grid->OnDataHintShow = [&seen](TCustomDBGridEh* Sender, TPoint, TGridCoord, TPoint InCell, TColumnEh* Column,
                                   TCustomDBGridEh::TDBGridEhDataHintParams& Params, bool& Processed) {
        // The row's record is the one the fields read while the event runs.
        seen = Column->Field() != nullptr ? Column->Field()->AsString() : String();
        Params.HintStr = u"第%1行"_s.arg(InCell.X >= 0 ? seen : String());
        Params.HintPos = Point(5, 6);
        Processed = true;
    };
    MoveOverCell(NameCol(), DataRow(4));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(asked.X, NameCol());
    EXPECT_EQ(asked.Y, DataRow(4));
    EXPECT_EQ(seen, RowName(4));
    EXPECT_EQ(ShownHintWindow()->Caption(), u"第%1行"_s.arg(RowName(4)));
    EXPECT_EQ(ShownHintWindow()->Left(), Grid->ClientToScreen(Point(5, 6)).X);
    EXPECT_EQ(CurrentName(), RowName(0));
}

} // namespace

namespace {

// A data hint may ask to be shown anew after a while and name the part of the cell it holds for.
TEST_F(DBGridEhHintsTest, ADataHintIsAskedAgainAfterItsReshowTimeoutAndHoldsForItsRectangle)
{
    Grid->OnHintShowPause = [](TCustomDBGridEh*, TPoint, TGridCoord, TPoint, TColumnEh*, int& Pause, bool& Processed) {
        Pause = 0;
        Processed = true;
    };
    int asked = 0;
    TRect holdsFor;
    Grid->OnDataHintShow = [&](TCustomDBGridEh* Sender, TPoint, TGridCoord Cell, TPoint, TColumnEh*,
                               TCustomDBGridEh::TDBGridEhDataHintParams& Params, bool& Processed) {
        ++asked;
        Params.HintStr = u"第%1次"_s.arg(asked);
        Params.ReshowTimeout = 20;
        const TRect cell = Sender->CellPixelRect(Cell.X, Cell.Y);
        holdsFor = TRect{cell.Left, cell.Top, (cell.Left + cell.Right) / 2, cell.Bottom};
        Params.HintWindowRect = holdsFor;
        Processed = true;
    };
    MoveOverCell(NameCol(), DataRow(2));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ProcessUntil([&asked] { return asked >= 3; });
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), u"第%1次"_s.arg(asked));

    // The hint holds for the left half of the cell: the right half asks for it again at once.
    THintInfo info;
    info.CursorPos = Point(holdsFor.Left + 2, holdsFor.Top + 2);
    info.HintPos = Grid->ClientToScreen(info.CursorPos);
    info.CursorRect = Grid->ClientRect();
    Grid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.CursorRect, holdsFor);
    EXPECT_EQ(info.ReshowTimeout, 20);

    // Asked again, a handler that gives no text any more takes the hint away.
    Grid->OnDataHintShow = [&asked](TCustomDBGridEh*, TPoint, TGridCoord, TPoint, TColumnEh*,
                                    TCustomDBGridEh::TDBGridEhDataHintParams&, bool& Processed) {
        ++asked;
        Processed = true;
    };
    ProcessUntil([] { return ShownHintWindow() == nullptr; });
    EXPECT_EQ(ShownHintWindow(), nullptr);
    Grid->OnDataHintShow = nullptr;
}

TEST_F(DBGridEhHintsTest, TheColumnsEventsAnswerWhenTheGridsLeaveTheHint)
{
    std::vector<String> order;
    Grid->OnHintShowPause = [&order](TCustomDBGridEh*, TPoint, TGridCoord, TPoint, TColumnEh*, int&, bool&) {
        order.push_back(u"grid pause"_s);
    };
    Grid->OnDataHintShow = [&order](TCustomDBGridEh*, TPoint, TGridCoord, TPoint, TColumnEh*,
                                    TDBGridEhDataHintParams&, bool&) { order.push_back(u"grid hint"_s); };
    TGridCoord pauseCell{-1, -1};
    Name()->OnHintShowPause = [&](TCustomDBGridEh* Sender, TPoint, TGridCoord Cell, TPoint, TColumnEh* Column,
                                  int& Pause, bool& Processed) {
        order.push_back(u"column pause"_s);
        EXPECT_EQ(Sender, Grid);
        EXPECT_EQ(Column, Name());
        pauseCell = Cell;
        // Without this the long application pause would keep the hint from showing.
        Pause = 0;
        Processed = true;
    };
    Name()->OnDataHintShow = [&order](TCustomDBGridEh*, TPoint, TGridCoord, TPoint InCell, TColumnEh* Column,
                                      TDBGridEhDataHintParams& Params, bool& Processed) {
        order.push_back(u"column hint"_s);
        // The row's record is under the fields while the event runs.
        Params.HintStr = u"列：%1"_s.arg(Column->Field()->AsString());
        Params.HintPos = InCell;
        Processed = true;
    };
    MoveOverCell(NameCol(), DataRow(3));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), u"列：%1"_s.arg(RowName(3)));
    EXPECT_EQ(pauseCell.X, NameCol());
    EXPECT_EQ(pauseCell.Y, DataRow(3));
    EXPECT_EQ(order, (std::vector<String>{u"grid pause"_s, u"column pause"_s, u"grid hint"_s, u"column hint"_s}));
    EXPECT_EQ(CurrentName(), RowName(0));
}

TEST_F(DBGridEhHintsTest, WhatTheGridsEventsProcessTheColumnsNeverSee)
{
    bool columnAsked = false;
    Grid->OnHintShowPause = [](TCustomDBGridEh*, TPoint, TGridCoord, TPoint, TColumnEh*, int& Pause,
                               bool& Processed) {
        Pause = 0;
        Processed = true;
    };
    Grid->OnDataHintShow = [](TCustomDBGridEh*, TPoint, TGridCoord, TPoint, TColumnEh*,
                              TDBGridEhDataHintParams& Params, bool& Processed) {
        Params.HintStr = u"表格"_s;
        Processed = true;
    };
    Name()->OnHintShowPause = [&columnAsked](TCustomDBGridEh*, TPoint, TGridCoord, TPoint, TColumnEh*, int& Pause,
                                             bool&) {
        columnAsked = true;
        Pause = 100000;
    };
    Name()->OnDataHintShow = [&columnAsked](TCustomDBGridEh*, TPoint, TGridCoord, TPoint, TColumnEh*,
                                            TDBGridEhDataHintParams& Params, bool&) {
        columnAsked = true;
        Params.HintStr = u"列"_s;
    };
    MoveOverCell(NameCol(), DataRow(2));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), u"表格"_s);
    EXPECT_FALSE(columnAsked);
}

TEST_F(DBGridEhHintsTest, AColumnPauseLeftUnprocessedKeepsTheApplicationsPause)
{
    int asked = 0;
    Name()->OnHintShowPause = [&asked](TCustomDBGridEh*, TPoint, TGridCoord, TPoint, TColumnEh*, int&, bool&) {
        ++asked;
    };
    Name()->OnDataHintShow = [](TCustomDBGridEh*, TPoint, TGridCoord, TPoint, TColumnEh*,
                                TDBGridEhDataHintParams& Params, bool& Processed) {
        Params.HintStr = u"列"_s;
        Processed = true;
    };
    MoveOverCell(NameCol(), DataRow(2));
    Settle();
    EXPECT_GT(asked, 0);
    EXPECT_EQ(ShownHintWindow(), nullptr);
}

TEST_F(DBGridEhHintsTest, AFlatGridMeasuresWithItsNarrowerTextMargin)
{
    Name()->SetToolTips(true);
    // Two pixels wider than the text: too narrow with a margin of 4, wide enough with 2.
    Grid->Canvas()->SetFont(Name()->Font());
    const int textWidth = Grid->Canvas()->TextWidth(RowName(1));
    Name()->SetWidth(textWidth + 3);
    ASSERT_EQ(Grid->CellPixelRect(NameCol(), DataRow(1)).Width(), textWidth + 3);
    MoveOverCell(NameCol(), DataRow(1));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ASSERT_NE(ShownHintWindow(), nullptr);
    EXPECT_EQ(ShownHintWindow()->Caption(), RowName(1));

    MoveTo(Form->Handle(), QPoint(450, 350));
    Settle();
    Grid->SetFlat(true);
    Application->SetHintPause(0);
    MoveOverCell(NameCol(), DataRow(1));
    Settle();
    EXPECT_EQ(ShownHintWindow(), nullptr);
}

} // namespace
