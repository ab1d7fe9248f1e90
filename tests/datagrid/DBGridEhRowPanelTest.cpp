// Row panel mode: the columns laid out on panel lines, the cell under a point, sizing and moving
// panel cells with real mouse drags, and the painted lines of a record's panel.
#include "DBGridEhInputTestSupport.h"
#include "DBGridEhPaintSupport.h"

#include "datagrid/DBGridEhInplaceEdit.h"
#include "platform/ui/ImageList.h"

#include <array>

namespace {

// The stock dataset's four fields become four columns of 100 pixels (60 on the second line).
class DBGridEhRowPanelTest : public DBGridInputTest {
protected:
    void SetUp() override
    {
        DBGridInputTest::SetUp();
        Grid->RowPanel()->SetActive(true);
        Place({0, 0, 1, 1}, {1, 1, 1, 1}, {100, 100, 60, 60});
    }
    void TearDown() override
    {
        ReleaseKeyboardModifiers();
        DBGridInputTest::TearDown();
    }

    TColumnEh* Column(int Index) const { return Grid->Columns()->ColumnAt(Index); }
    void Place(std::array<int, 4> Lines, std::array<int, 4> Heights, std::array<int, 4> Widths)
    {
        Grid->Columns()->BeginUpdate();
        for (int i = 0; i < 4; ++i) {
            Column(i)->SetInRowLinePos(Lines[i]);
            Column(i)->SetInRowLineHeight(Heights[i]);
            Column(i)->SetWidth(Widths[i]);
        }
        Grid->Columns()->EndUpdate();
    }
    int TitleRow() const { return Grid->RowsAboveData() - 1; }
    // Client point of panel point (X, Y) in grid row ARow.
    QPoint At(int ARow, int X, int Y) const
    {
        const TRect cell = Grid->CellPixelRect(Grid->IndicatorOffset(), ARow);
        return QPoint(cell.Left + X, cell.Top + Y);
    }
    int Pitch() const { return Grid->RowPanelLinePitch(); }
    String Order() const
    {
        String names;
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            names += Column(i)->FieldName() + u'/' + QString::number(Column(i)->InRowLinePos()) + u' ';
        return names;
    }
};

TEST_F(DBGridEhRowPanelTest, ColumnsAreLaidOutOnTheirLines)
{
    struct Case {
        std::array<int, 4> Lines, Heights;
        std::array<bool, 4> Visible;
        std::array<int, 4> Lefts, Tops, Spans;
    };
    const Case cases[] = {
        // Line 0 then line 1, each from the panel's left.
        {{0, 0, 1, 1}, {1, 1, 1, 1}, {true, true, true, true}, {0, 101, 0, 61}, {0, 0, 1, 1}, {1, 1, 1, 1}},
        // A height of 0 or less is one line, a negative line is line 0.
        {{0, -3, 1, 0}, {2, 0, 1, -1}, {true, true, true, true}, {0, 101, 101, 202}, {0, 0, 1, 0}, {2, 1, 1, 1}},
        // A cell spanning two lines starts after the furthest of them.
        {{0, 1, 0, 1}, {1, 1, 2, 1}, {true, true, true, true}, {0, 0, 101, 162}, {0, 1, 0, 1}, {1, 1, 2, 1}},
        // A hidden cell leaves its line's edge at its left.
        {{0, 0, 0, 0}, {1, 1, 1, 1}, {true, false, true, true}, {0, 101, 101, 162}, {0, 0, 0, 0}, {1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        Grid->Columns()->BeginUpdate();
        for (int i = 0; i < 4; ++i)
            Column(i)->SetVisible(c.Visible[i]);
        Grid->Columns()->EndUpdate();
        Place(c.Lines, c.Heights, {100, 100, 60, 60});
        for (int i = 0; i < 4; ++i) {
            const TRect r = Column(i)->RowPanelRect();
            EXPECT_EQ(r.Left, c.Lefts[i]) << i;
            EXPECT_EQ(r.Top, c.Tops[i] * Pitch()) << i;
            EXPECT_EQ(r.Height(), c.Spans[i] * Pitch() - 1) << i;
        }
    }
    EXPECT_EQ(Grid->ColCount(), Grid->IndicatorOffset() + 1) << "one grid column holds the panel";
    EXPECT_EQ(Grid->RowPanelWidth(), 222);
    EXPECT_EQ(Grid->RowHeightAt(Grid->RowsAboveData()), Grid->RowPanelHeight());
}

TEST_F(DBGridEhRowPanelTest, APanelWithoutWidthIsNotRescaled)
{
    Grid->Columns()->BeginUpdate();
    for (int i = 0; i < 4; ++i)
        Column(i)->SetVisible(false);
    Grid->Columns()->EndUpdate();
    ASSERT_EQ(Grid->RowPanelWidth(), 0);
    Grid->RescaleRowPanel(300);
    EXPECT_EQ(Column(0)->Width(), 100);
    Column(0)->SetVisible(true);
    Grid->RescaleRowPanel(200);
    EXPECT_EQ(Column(0)->Width(), 201) << "the right edge with its line scales: (100 + 1) x 2 - 1";
}

TEST_F(DBGridEhRowPanelTest, TheCellUnderAPointIncludesItsEdges)
{
    const int row = DataRow(0);
    const struct {
        int X, Y, Expected;
    } cases[] = {{0, 0, 0}, {100, Pitch() - 1, 0}, {101, 0, 1}, {201, 0, 1}, {202, 0, -1}, {61, Pitch(), 3}, {150, Pitch() + 2, -1}};
    for (const auto& c : cases) {
        const QPoint at = At(row, c.X, c.Y);
        EXPECT_EQ(Grid->PanelCellAtPoint(at.x(), at.y()), c.Expected) << c.X << "," << c.Y;
    }
}

TEST_F(DBGridEhRowPanelTest, WideningACellSnapsOntoANearLeftEdge)
{
    // The second line's first cell ends at 60; the first line's second cell starts at 101.
    const struct {
        int Drag, Width;
    } cases[] = {{38, 100}, {36, 96}};
    for (const auto& c : cases) {
        Place({0, 0, 1, 1}, {1, 1, 1, 1}, {100, 100, 60, 60});
        const QPoint border = At(TitleRow(), 60, Pitch() + Pitch() / 2);
        Press(border);
        DragTo(border + QPoint(c.Drag, 0));
        Release(border + QPoint(c.Drag, 0));
        EXPECT_EQ(Column(2)->Width(), c.Width) << c.Drag;
        EXPECT_EQ(Column(0)->Width(), 100);
    }
}

TEST_F(DBGridEhRowPanelTest, SizingAHeightTakesCellsEndingOnTheSameLineUnlessShift)
{
    const struct {
        Qt::KeyboardModifiers Keys;
        int Second;
    } cases[] = {{Qt::NoModifier, 2}, {Qt::ShiftModifier, 1}};
    for (const auto& c : cases) {
        Place({0, 0, 1, 1}, {1, 1, 1, 1}, {100, 100, 60, 60});
        const QPoint border = At(TitleRow(), 50, Pitch() - 1);
        Press(border);
        DragTo(border + QPoint(0, Pitch()));
        Release(border + QPoint(0, Pitch()), c.Keys);
        ReleaseKeyboardModifiers();
        EXPECT_EQ(Column(0)->InRowLineHeight(), 2);
        EXPECT_EQ(Column(1)->InRowLineHeight(), c.Second);
        EXPECT_EQ(Column(2)->InRowLineHeight(), 1);
    }
}

TEST_F(DBGridEhRowPanelTest, MovingACellByItsTitleReordersTheColumns)
{
    const String before = Order();
    const struct {
        int Cell, FromX, FromLine, ToX, ToLine;
        bool Moves;
    } cases[] = {
        // Let go right of itself: nothing changes.
        {1, 150, 0, 205, 0, false},
        // The second line's last cell goes after the first line's first.
        {3, 90, 1, 105, 0, true},
    };
    for (const auto& c : cases) {
        const QPoint from = At(TitleRow(), c.FromX, c.FromLine * Pitch() + Pitch() / 2);
        Press(from);
        DragTo(from + QPoint(5, 0));
        const QPoint to = At(TitleRow(), c.ToX, c.ToLine * Pitch() + Pitch() / 2);
        DragTo(to);
        Release(to);
        if (!c.Moves)
            EXPECT_EQ(Order(), before);
    }
    EXPECT_EQ(Order(), u"id/0 "_s + AmountField + u"/0 名称/0 "_s + QtyField + u"/1 "_s);
    EXPECT_EQ(Column(1)->RowPanelRect().Left, 101);
}

TEST_F(DBGridEhRowPanelTest, CheckAndImageCellsStepOnAClickOrWithDblClickNextValOnADoubleClick)
{
    TImageList images(nullptr);
    TColumnEh* qty = Column(2);
    const struct {
        bool CheckBox;
        bool DblClickNextVal;
        bool Double;
        Qt::KeyboardModifiers Keys;
        int Expected;  // 数量 of the pressed record, which holds its row number
    } cases[] = {
        {false, false, false, Qt::NoModifier, 3},
        {false, false, false, Qt::ShiftModifier, 1},
        {false, true, false, Qt::NoModifier, 2},
        {false, true, true, Qt::NoModifier, 3},
        {false, true, true, Qt::ShiftModifier, 1},
        {true, true, false, Qt::NoModifier, 1},
        {true, true, true, Qt::NoModifier, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.CheckBox << c.DblClickNextVal << c.Double << c.Keys);
        Data->First();
        qty->KeyList()->Clear();
        qty->SetCheckboxes(c.CheckBox);
        qty->SetImageList(c.CheckBox ? nullptr : &images);
        if (c.CheckBox) {
            qty->KeyList()->Add(u"1"_s);
            qty->KeyList()->Add(u"0"_s);
        }
        qty->SetDblClickNextVal(c.DblClickNextVal);
        const int row = c.CheckBox ? 1 : 2;
        // The panel cell of 数量 on the second line.
        const QPoint at = At(DataRow(row), 30, Pitch() + Pitch() / 2);
        Click(at, c.Keys);
        if (c.Double) {
            SendMouse(Window(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton, c.Keys);
            Release(at, c.Keys);
            ReleaseKeyboardModifiers();
        }
        EXPECT_EQ(CurrentRecNo(), row + 1);
        EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), c.Expected);
        Data->Cancel();
    }
}

TEST_F(DBGridEhRowPanelTest, LeftAndRightGoToTheNeighbouringCellWithCellToCellNavigation)
{
    // Line 0: id, 数量; line 1: 名称, 金额 (each line in column order).
    Place({0, 1, 0, 1}, {1, 1, 1, 1}, {100, 100, 60, 60});
    using Nav = TGridRowPanelNavKeysNavigationTypeEh;
    const struct {
        Nav Navigation;
        int From;
        int Key;
        int To;
    } cases[] = {
        {Nav::rpntRowToRowEh, 0, Qt::Key_Right, 1},
        {Nav::rpntRowToRowEh, 3, Qt::Key_Left, 2},
        {Nav::rpntCellToCellEh, 0, Qt::Key_Right, 2},
        {Nav::rpntCellToCellEh, 3, Qt::Key_Left, 1},
        {Nav::rpntCellToCellEh, 2, Qt::Key_Right, 2},
        {Nav::rpntCellToCellEh, 1, Qt::Key_Left, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.From << " " << c.Key);
        Grid->RowPanel()->SetNavKeysNavigationType(c.Navigation);
        Grid->FocusDataColumn(c.From);
        Key(c.Key);
        EXPECT_EQ(Grid->FocusedColumnIndex(), c.To);
        EXPECT_EQ(CurrentRecNo(), 1);
    }
}

TEST_F(DBGridEhRowPanelTest, OnePressOnACellsButtonOpensItsDropDown)
{
    TColumnEh* name = Column(1);
    name->PickList()->Add(RowName(0));
    name->PickList()->Add(RowName(1));
    name->SetAlwaysShowEditButton(true);
    const TRect cell = name->RowPanelRect();
    const QPoint button = At(DataRow(2), cell.Right - 4, (cell.Top + cell.Bottom) / 2);
    Press(button);
    auto* editor = dynamic_cast<TDBGridInplaceEdit*>(Grid->InplaceEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(CurrentName(), RowName(2));
    EXPECT_TRUE(editor->ListVisible());
    Release(button);
    EXPECT_TRUE(editor->ListVisible()) << "the release on the button keeps the list";
}

TEST_F(DBGridEhRowPanelTest, TheCellEditorKeepsItsTextForThePanelCellItWasTypedIn)
{
    // Focused from outside, with no key posting the edit first.
    for (bool hideTheCell : {false, true}) {
        SCOPED_TRACE(hideTheCell);
        Grid->FocusDataColumn(1);
        Grid->ChangeEditorMode(true);
        TInplaceEdit* editor = Grid->InplaceEditor();
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->Text(), CurrentName()) << "opened on the focused cell's text";
        const String typed = hideTheCell ? u"H"_s : u"Z"_s;
        SendKey(editor->Handle(), hideTheCell ? Qt::Key_H : Qt::Key_Z, typed);
        ASSERT_EQ(editor->Text(), typed);
        if (hideTheCell)
            Column(1)->SetVisible(false);
        else
            Grid->FocusDataColumn(3);
        EXPECT_NE(Grid->FocusedColumnIndex(), 1);
        EXPECT_TRUE(Grid->EditorMode());
        if (!hideTheCell)
            EXPECT_EQ(editor->Text(), Grid->FocusedColumn()->ComputeEditorText()) << "reloaded on the focused cell";
        Grid->ChangeEditorMode(false);
        Data->Post();
        EXPECT_EQ(CurrentName(), typed);
        Column(1)->SetVisible(true);
    }
}

TEST_F(DBGridEhRowPanelTest, OpeningTheEditorBringsTheFocusedCellIntoView)
{
    // One line of cells wider than the window: the last one lies past its right edge.
    Place({0, 0, 0, 0}, {1, 1, 1, 1}, {200, 200, 200, 200});
    Grid->FocusDataColumn(3);
    ASSERT_GT(Grid->HorzPixelOffset(), 0);
    Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), 0);
    ASSERT_EQ(Grid->HorzPixelOffset(), 0);
    Grid->ChangeEditorMode(true);
    ASSERT_TRUE(Grid->EditorMode());
    const TRect panel = Grid->CellPixelRect(Grid->IndicatorOffset(), Grid->Row());
    EXPECT_LE(Column(3)->RowPanelRect().Right - Grid->HorzPixelOffset() + panel.Left, Grid->ClientWidth());
}

class DBGridEhRowPanelPaintTest : public StockGridPaintFixture {
protected:
    void SetUp() override
    {
        StockGridPaintFixture::SetUp();
        OpenStock(3);
        Grid->SetDataSource(Source.get());
        Grid->RowPanel()->SetActive(true);
        for (int i = 0; i < Grid->Columns()->Count(); ++i) {
            Grid->Columns()->ColumnAt(i)->SetWidth(60);
            Grid->Columns()->ColumnAt(i)->SetInRowLinePos(i / 2);
        }
    }
};

TEST_F(DBGridEhRowPanelPaintTest, TheLineRightOfACellIsDarkOnTheCurrentRecordOnly)
{
    Grid->PaintScreen();
    const int lineY = Grid->RowPanelLinePitch() / 2;
    for (const auto& [row, colour] : {std::pair{0, clGray}, std::pair{1, clSilver}}) {
        const TRect cell = Grid->CellPixelRect(Grid->IndicatorOffset(), Grid->FixedRows() + row);
        EXPECT_EQ(Grid->Pixel(cell.Left + 60, cell.Top + lineY), colour) << row;
        EXPECT_EQ(Grid->Pixel(cell.Left + 30, cell.Top + Grid->RowPanelLinePitch() - 1), colour) << row << " below";
    }
}

}  // namespace
