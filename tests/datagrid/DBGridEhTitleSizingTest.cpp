// Sizing a column by dragging its title border: the dotted line follows the pointer and the
// column takes its new width on release, or follows at once with dghTraceColSizing.
#include "DBGridEhInputTestSupport.h"

#include "DBGridEhTestGrid.h"

#include "platform/ui/Edit.h"

namespace {

class DBGridEhTitleSizingTest : public DBGridInputTest {
protected:
    void SetUp() override
    {
        DBGridInputTest::SetUp();
        Clean = Window()->grab().toImage();
    }

    int TitleRow() const { return Grid->RowsAboveData() - 1; }
    int GridCol(int Index) const { return Grid->DataColToGridCol(Index); }
    TColumnEh* Column(int Index) const { return Grid->Columns()->ColumnAt(Index); }
    TRect Title(int Index) const { return Grid->CellPixelRect(GridCol(Index), TitleRow()); }
    int TitleY() const { return (Title(0).Top + Title(0).Bottom) / 2; }
    // The border pixel right of column Index's title: where its sizing starts.
    QPoint BorderOf(int Index) const { return QPoint(Title(Index).Right, TitleY()); }

    // Pixels at X, down the client area, that differ from Image.
    int ChangedDown(const QImage& Shown, const QImage& Image, int X) const
    {
        int changed = 0;
        for (int y = 0; y < Grid->ClientHeight(); ++y)
            changed += Shown.pixel(X, y) != Image.pixel(X, y);
        return changed;
    }
    void HoverAt(QPoint At) const { SendMouse(Window(), QEvent::MouseMove, At, Qt::NoButton, Qt::NoButton); }
    QImage Shown() const { return Window()->grab().toImage(); }
    // The grid as it paints itself with nothing drawn over it: a size change forgets the XOR
    // drawing.
    QImage Repainted() const
    {
        Grid->SetBounds(0, 0, 401, 300);
        Grid->SetBounds(0, 0, 400, 300);
        return Shown();
    }

    QImage Clean;
};

TEST_F(DBGridEhTitleSizingTest, TheDottedLineFollowsTheDragAndTheColumnSizesOnRelease)
{
    const int before = Column(1)->Width();
    const QPoint border = BorderOf(1);
    HoverAt(border);
    EXPECT_EQ(Window()->cursor().shape(), Qt::SplitHCursor);
    Press(border);
    const int lineHeight = ChangedDown(Shown(), Clean, border.x());
    EXPECT_GT(lineHeight, Grid->ClientHeight() / 4) << "the line is shown at the border";
    EXPECT_LT(lineHeight, Grid->ClientHeight()) << "dotted, not solid";

    DragTo(border + QPoint(30, 0));
    const QImage dragged = Shown();
    EXPECT_EQ(ChangedDown(dragged, Clean, border.x()), 0) << "taken away from the old place";
    EXPECT_GT(ChangedDown(dragged, Clean, border.x() + 30), Grid->ClientHeight() / 4);
    EXPECT_EQ(Column(1)->Width(), before) << "applied on release only";
    EXPECT_EQ(Window()->cursor().shape(), Qt::SplitHCursor) << "kept while the pointer leaves the zone";

    Release(border + QPoint(30, 0));
    EXPECT_EQ(Column(1)->Width(), before + 30);
    const QImage released = Shown();
    EXPECT_EQ(released, Repainted()) << "no line left behind";
}

TEST_F(DBGridEhTitleSizingTest, CancellingTakesTheLineAwayAndKeepsTheWidth)
{
    const int before = Column(1)->Width();
    const QPoint border = BorderOf(1);
    Press(border);
    DragTo(border + QPoint(25, 0));
    Grid->Perform(WM_CANCELMODE);
    EXPECT_EQ(Shown(), Clean);
    Release(border + QPoint(25, 0));
    EXPECT_EQ(Column(1)->Width(), before);
}

TEST_F(DBGridEhTitleSizingTest, LosingTheFocusEndsTheSizing)
{
    const int before = Column(1)->Width();
    const QPoint border = BorderOf(1);
    Press(border);
    DragTo(border + QPoint(25, 0));
    auto* other = new TEdit(Form);
    other->SetParent(Form);
    other->SetFocus();
    const QImage unfocused = Shown();
    EXPECT_EQ(unfocused, Repainted());
    Release(border + QPoint(25, 0));
    EXPECT_EQ(Column(1)->Width(), before);
}

TEST_F(DBGridEhTitleSizingTest, TheNewWidthIsTheSizedColumnsOwnInAScrolledView)
{
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        Column(i)->SetWidth(150);
    Grid->ChangeLeftCol(GridCol(1));
    ASSERT_EQ(Grid->LeftCol(), GridCol(1));
    const QPoint border = BorderOf(2);
    Press(border);
    DragTo(border - QPoint(40, 0));
    Release(border - QPoint(40, 0));
    EXPECT_EQ(Column(2)->Width(), 110);
    EXPECT_EQ(Column(1)->Width(), 150);
    EXPECT_EQ(Column(0)->Width(), 150);
}

TEST_F(DBGridEhTitleSizingTest, AColumnCutByTheClientEdgeIsSizedAtThatEdge)
{
    Column(2)->SetWidth(600);
    const int edge = Grid->ClientWidth();
    const int left = Title(2).Left;
    Press(QPoint(edge - 2, TitleY()));
    DragTo(QPoint(edge - 52, TitleY()));
    Release(QPoint(edge - 52, TitleY()));
    EXPECT_EQ(Column(2)->Width(), edge - 50 - left);
}

TEST_F(DBGridEhTitleSizingTest, WithTraceColSizingTheColumnFollowsThePointer)
{
    Grid->SetOptionsEh(Grid->OptionsEh() | dghTraceColSizing);
    const int before = Column(1)->Width();
    const QPoint border = BorderOf(1);
    Press(border);
    DragTo(border + QPoint(20, 0));
    EXPECT_EQ(Column(1)->Width(), before + 20);
    DragTo(border + QPoint(35, 0));
    EXPECT_EQ(Column(1)->Width(), before + 35);
    EXPECT_EQ(Shown(), Repainted()) << "the column itself shows the border; no line";
    Release(border + QPoint(35, 0));
    EXPECT_EQ(Column(1)->Width(), before + 35);
}

TEST_F(DBGridEhTitleSizingTest, ABorderPressIsNoTitleClickAndATooNarrowWidthIsRefused)
{
    int titleClicks = 0;
    Grid->OnTitleClick = [&titleClicks](TObject*, TColumnEh*) { ++titleClicks; };
    const int before = Column(1)->Width();
    const QPoint border = BorderOf(1);
    Click(border);
    EXPECT_EQ(titleClicks, 0);
    EXPECT_EQ(Column(1)->Width(), before);

    // Past the column's left edge: the width would be below 2 pixels.
    Press(border);
    DragTo(QPoint(Title(1).Left - 10, TitleY()));
    Release(QPoint(Title(1).Left - 10, TitleY()));
    EXPECT_EQ(Column(1)->Width(), before);
    EXPECT_EQ(titleClicks, 0);
}

TEST_F(DBGridEhTitleSizingTest, WithoutColumnResizeABorderPressIsATitlePress)
{
    Grid->SetOptionsEh(Grid->OptionsEh() - dghColumnResize);
    std::vector<TColumnEh*> clicked;
    Grid->OnTitleClick = [&clicked](TObject*, TColumnEh* Column) { clicked.push_back(Column); };
    TColumnEh* column = Column(1);
    const int before = column->Width();
    // Just inside the title, within what would be the sizing zone.
    const QPoint inside = BorderOf(1) - QPoint(2, 0);
    HoverAt(inside);
    EXPECT_NE(Window()->cursor().shape(), Qt::SplitHCursor);
    Click(inside);
    EXPECT_EQ(clicked, std::vector<TColumnEh*>{column});
    Press(inside);
    DragTo(inside + QPoint(30, 0));
    Release(inside + QPoint(30, 0));
    EXPECT_EQ(column->Width(), before);
}

TEST_F(DBGridEhTitleSizingTest, TheCursorSplitsOverATitleBorderOnly)
{
    HoverAt(BorderOf(1));
    EXPECT_EQ(Window()->cursor().shape(), Qt::SplitHCursor);
    HoverAt(CellCentre(GridCol(1), TitleRow()));
    EXPECT_NE(Window()->cursor().shape(), Qt::SplitHCursor);
    HoverAt(QPoint(BorderOf(1).x(), CellCentre(0, DataRow(2)).y()));
    EXPECT_NE(Window()->cursor().shape(), Qt::SplitHCursor);
}

// --- Options in effect ------------------------------------------------------------------------

class TSizingOptionsGrid : public TTestDBGridEh {
public:
    using TTestDBGridEh::TTestDBGridEh;
    using TCustomDBGridEh::EffectiveGridOptions;
};

TEST(DBGridEhEffectiveOptionsTest, DesignTimeSizesColumnsAndMovesPersistentOnes)
{
    TSizingOptionsGrid grid(nullptr);
    grid.SetOptionsEh(grid.OptionsEh() - dghColumnResize - dghColumnMove);
    grid.SetRowSizingAllowed(true);
    EXPECT_EQ(grid.EffectiveGridOptions(), grid.TCustomGridEh::Options());
    grid.SetDesigning(true);
    EXPECT_EQ(grid.EffectiveGridOptions(), goColSizing);
    grid.Columns()->Add();
    EXPECT_EQ(grid.EffectiveGridOptions(), goColSizing | goColMoving);
    grid.SetDesigning(false);
}

} // namespace
