// Records dragged by their indicator to a new place of a memory table, the drop marker and the
// handler that may refuse a place, and the memory table's tree: node signs opening and closing
// nodes, the outline's indent painted, and records dragged to another tree level.
#include "DBGridEhPaintSupport.h"
#include "MemTableTestSupport.h"

#include "controls/GridsEhWindows.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/Messages.h"
#include "../platform/ui/UiTestSupport.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace {

using TOutline = std::vector<std::pair<String, int>>;

class DBGridEhRecordDragTest : public GridPaintFixtureBase {
protected:
    void SetUp() override
    {
        GridPaintFixtureBase::SetUp();
        Table = std::make_unique<TMemTableDataSet>(nullptr);
        Table->FieldDefs()->Add(u"Id"_s, TFieldType::ftAutoInc);
        Table->FieldDefs()->Add(u"名称"_s, TFieldType::ftString, 20);
        Table->FieldDefs()->Add(u"层"_s, TFieldType::ftInteger);
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Table.get());
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 420, 300);
        Grid = new TPaintTestGrid(Form.get());
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(0, 0, 400, 260);
        Grid->SetParent(Form.get());
        Grid->SetOptionsEh(Grid->OptionsEh() | dghRecordMoving);
        Grid->SetDataSource(Source.get());
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Grid->SetFocus();
    }

    void TearDown() override
    {
        if (TGridMoveLineEh* marker = ExistingGridMoveLine())
            marker->Hide();
        Form.reset();
        Source.reset();
        Table.reset();
        ReleaseKeyboardModifiers();
        GridPaintFixtureBase::TearDown();
    }

    void Fill(const TOutline& Records)
    {
        Table->Close();
        Table->EmptyDataSet();
        Table->Open();
        for (const auto& [name, level] : Records)
            Table->AppendRecord({Variant(), name, level});
        Table->First();
    }
    // The shown records in order, with their levels in tree mode.
    TOutline Shown()
    {
        TOutline shown;
        for (int I = 0; I < Table->MemTableRecordCount(); ++I) {
            TMemTableReadScopeEh reading(Table.get(), I);
            shown.emplace_back(Table->FieldByName(u"名称"_s)->AsString(), Table->FieldByName(u"层"_s)->AsInteger());
        }
        return shown;
    }
    std::vector<String> Names()
    {
        std::vector<String> names;
        for (const auto& [name, level] : Shown())
            names.push_back(name);
        return names;
    }

    QWidget* Window() const { return Grid->Handle(); }
    int AboveData() const { return Grid->FixedRows(); }
    TRect RowCell(int ACol, int Index) const { return Grid->CellPixelRect(ACol, AboveData() + Index); }
    QPoint Indicator(int Index) const
    {
        const TRect r = RowCell(0, Index);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    // A point of the first column's cell of row Index, Offset pixels from its left.
    QPoint InFirstColumn(int Index, int Offset) const
    {
        const TRect r = RowCell(Grid->IndicatorOffset(), Index);
        return QPoint(r.Left + Offset, (r.Top + r.Bottom) / 2);
    }
    void Press(QPoint At, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        SendMouse(Window(), QEvent::MouseButtonPress, At, Qt::LeftButton, Qt::LeftButton, Modifiers);
    }
    void MoveTo(QPoint At) { SendMouse(Window(), QEvent::MouseMove, At, Qt::NoButton, Qt::LeftButton); }
    void Release(QPoint At) { SendMouse(Window(), QEvent::MouseButtonRelease, At, Qt::LeftButton, Qt::NoButton); }
    void Drag(QPoint From, QPoint To)
    {
        Press(From);
        MoveTo((From + To) / 2);
        MoveTo(To);
        Release(To);
    }
    bool MarkerShown() const { return ExistingGridMoveLine() != nullptr && ExistingGridMoveLine()->IsShown(); }

    std::unique_ptr<TMemTableDataSet> Table;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TForm> Form;
    TPaintTestGrid* Grid = nullptr;
};

const TOutline FiveRecords{{u"A"_s, 1}, {u"B"_s, 1}, {u"C"_s, 1}, {u"D"_s, 1}, {u"E"_s, 1}};

TEST_F(DBGridEhRecordDragTest, ARecordDraggedByItsIndicatorGoesWhereTheMarkerShows)
{
    struct TCase {
        const char* Name;
        int From;
        // A data row, or -1 below the last record, or -2 away from the grid.
        int To;
        std::vector<String> Expected;
    };
    const TCase cases[] = {
        {"down goes under the row", 0, 2, {u"B"_s, u"C"_s, u"A"_s, u"D"_s, u"E"_s}},
        {"up goes over the row", 3, 1, {u"A"_s, u"D"_s, u"B"_s, u"C"_s, u"E"_s}},
        {"its own row moves nothing", 1, 1, {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s}},
        {"below the last record goes last", 0, -1, {u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"A"_s}},
        {"away from the grid moves nothing", 0, -2, {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Fill(FiveRecords);
        const QPoint to = c.To >= 0   ? Indicator(c.To)
                          : c.To == -1 ? QPoint(Indicator(0).x(), RowCell(0, 4).Bottom + 20)
                                       : QPoint(Grid->Width() + 50, Indicator(2).y());
        Press(Indicator(c.From));
        EXPECT_TRUE(Grid->RecordDragging());
        EXPECT_TRUE(MarkerShown());
        MoveTo(to);
        Release(to);
        EXPECT_FALSE(Grid->RecordDragging());
        EXPECT_FALSE(MarkerShown());
        EXPECT_EQ(Names(), c.Expected);
        EXPECT_EQ(Grid->RowCount(), AboveData() + 5);
    }
    // A cancelled drag ends without moving anything.
    Fill(FiveRecords);
    Press(Indicator(0));
    MoveTo(Indicator(3));
    Grid->Perform(WM_CANCELMODE);
    EXPECT_FALSE(Grid->RecordDragging());
    EXPECT_FALSE(MarkerShown());
    Release(Indicator(3));
    EXPECT_EQ(Names(), (std::vector<String>{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s}));
    // A dataset read through the link's window has no move of its own: the drop moves nothing
    // and the current record keeps its row.
    Grid->SetMemTableSupport(false);
    Table->SetRecNo(2);
    const int row = Grid->Row();
    Press(Indicator(0));
    EXPECT_TRUE(Grid->RecordDragging());
    MoveTo(Indicator(3));
    Release(Indicator(3));
    EXPECT_FALSE(Grid->RecordDragging());
    EXPECT_EQ(Names(), (std::vector<String>{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s}));
    EXPECT_EQ(Table->RecNo(), 2);
    EXPECT_EQ(Grid->Row(), row);
    Grid->SetMemTableSupport(true);
    // Without dghRecordMoving a press on the indicator only makes its record current.
    Grid->SetOptionsEh(Grid->OptionsEh() - dghRecordMoving);
    Drag(Indicator(0), Indicator(3));
    EXPECT_FALSE(Grid->RecordDragging());
    EXPECT_EQ(Names(), (std::vector<String>{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s}));
}

TEST_F(DBGridEhRecordDragTest, SelectedRecordsMoveTogetherAndOnlyASelectedOneStartsTheDrag)
{
    Fill(FiveRecords);
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    // An unselected record starts no drag: the press selects it instead.
    Press(Indicator(0));
    EXPECT_FALSE(Grid->RecordDragging());
    Release(Indicator(0));
    Press(Indicator(1), Qt::ControlModifier);
    Release(Indicator(1));
    ReleaseKeyboardModifiers();
    ASSERT_EQ(Grid->SelectedRows()->ItemCount(), 2);
    // Shift held starts no drag either.
    Press(Indicator(0), Qt::ShiftModifier);
    EXPECT_FALSE(Grid->RecordDragging());
    Release(Indicator(0));
    ReleaseKeyboardModifiers();
    ASSERT_EQ(Grid->SelectedRows()->ItemCount(), 2);

    Drag(Indicator(1), Indicator(3));
    EXPECT_EQ(Names(), (std::vector<String>{u"C"_s, u"D"_s, u"A"_s, u"B"_s, u"E"_s}));
}

TEST_F(DBGridEhRecordDragTest, ThePointerBelowOrAboveTheRowsScrollsThemARowAtATime)
{
    TOutline many;
    std::vector<String> order;
    for (int I = 0; I < 30; ++I) {
        many.emplace_back(u"R%1"_s.arg(I), 1);
        order.push_back(u"R%1"_s.arg(I));
    }
    Fill(many);
    const int top = Grid->TopRow();
    const QPoint below(Indicator(0).x(), Grid->ClientHeight() + 10);
    Press(Indicator(0));
    MoveTo(below);
    MoveTo(QPoint(below.x(), below.y() + 1));
    EXPECT_EQ(Grid->TopRow(), top + 2);
    const int target = Grid->RecordDragTargetRow() - AboveData();
    EXPECT_GT(target, 5);
    MoveTo(QPoint(below.x(), 2));
    EXPECT_EQ(Grid->TopRow(), top + 1);
    EXPECT_EQ(Grid->RecordDragTargetRow(), top + 1);
    // Back down to the last shown row, where the record goes.
    MoveTo(Indicator(target));
    Release(Indicator(target));
    order.erase(order.begin());
    order.insert(order.begin() + target, u"R0"_s);
    EXPECT_EQ(Names(), order);
}

TEST_F(DBGridEhRecordDragTest, AHandlerThatRefusesAPlaceKeepsTheMarkerAndTakesTheDrop)
{
    Fill(FiveRecords);
    std::vector<std::pair<int, bool>> asked;
    Grid->OnMoveRecords = [&](TObject*, TBMListEh* Bookmarks, int ToRecNo, int, bool CheckOnly) {
        EXPECT_EQ(Bookmarks->ItemCount(), 1);
        asked.emplace_back(ToRecNo, CheckOnly);
        return ToRecNo != 3;
    };
    Press(Indicator(0));
    MoveTo(Indicator(1));
    EXPECT_EQ(Grid->RecordDragTargetRow(), AboveData() + 1);
    const int markerTop = ExistingGridMoveLine()->Top();
    MoveTo(Indicator(2));
    EXPECT_EQ(Grid->RecordDragTargetRow(), AboveData() + 1);
    EXPECT_EQ(ExistingGridMoveLine()->Top(), markerTop);
    MoveTo(Indicator(3));
    EXPECT_EQ(ExistingGridMoveLine()->Top(), markerTop + 2 * (RowCell(0, 1).Height() + Grid->GridLineWidth()));
    Release(Indicator(3));
    EXPECT_EQ(asked, (std::vector<std::pair<int, bool>>{{2, true}, {3, true}, {4, true}, {4, false}}));
    // The handler moved nothing: the table keeps its order.
    EXPECT_EQ(Names(), (std::vector<String>{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s}));
}

const TOutline SmallTree{{u"A"_s, 1}, {u"A1"_s, 2}, {u"A2"_s, 2}, {u"B"_s, 1}, {u"C"_s, 1}};

TEST_F(DBGridEhRecordDragTest, TheNodeSignOpensAndClosesANodeAndTheOutlineIndentsTheFirstColumn)
{
    Fill(SmallTree);
    Table->SetTreeMode(u"Id"_s, u"层"_s);
    EXPECT_EQ(Names(), (std::vector<String>{u"A"_s, u"B"_s, u"C"_s}));
    EXPECT_EQ(Grid->RowCount(), AboveData() + 3);

    // The sign is the outline's last 18 pixels; a press left of the outline's end but before the
    // sign is taken without toggling.
    Press(InFirstColumn(0, 9));
    Release(InFirstColumn(0, 9));
    EXPECT_EQ(Names(), (std::vector<String>{u"A"_s, u"A1"_s, u"A2"_s, u"B"_s, u"C"_s}));
    EXPECT_EQ(Grid->RowCount(), AboveData() + 5);
    EXPECT_EQ(Grid->MemTableTreeIndent(0), 18);
    EXPECT_EQ(Grid->MemTableTreeIndent(1), 36);
    Press(InFirstColumn(1, 9));
    Release(InFirstColumn(1, 9));
    EXPECT_EQ(Grid->RowCount(), AboveData() + 5);

    // The outline ends in a silver line at the indent; the text starts after it.
    Grid->PaintScreen();
    const TRect a1 = RowCell(Grid->IndicatorOffset(), 1);
    const int middle = (a1.Top + a1.Bottom) / 2;
    EXPECT_EQ(Grid->Pixel(a1.Left + 35, middle), RGB(192, 192, 192));
    const TRect b = RowCell(Grid->IndicatorOffset(), 3);
    EXPECT_EQ(Grid->Pixel(b.Left + 17, (b.Top + b.Bottom) / 2), RGB(192, 192, 192));
    EXPECT_NE(Grid->Pixel(b.Left + 35, (b.Top + b.Bottom) / 2), RGB(192, 192, 192));

    // Closing the node of the current record's branch makes the node current.
    Press(InFirstColumn(2, 60));
    Release(InFirstColumn(2, 60));

    ASSERT_EQ(Table->FieldByName(u"名称"_s)->AsString(), u"A2"_s);
    Press(InFirstColumn(0, 9));
    Release(InFirstColumn(0, 9));
    EXPECT_EQ(Names(), (std::vector<String>{u"A"_s, u"B"_s, u"C"_s}));
    EXPECT_EQ(Table->FieldByName(u"名称"_s)->AsString(), u"A"_s);
    EXPECT_EQ(Grid->Row(), AboveData());
}

TEST_F(DBGridEhRecordDragTest, AFittedFirstColumnMakesRoomForEachRecordsOutline)
{
    const TOutline tree{{u"甲"_s, 1}, {u"第二层里名称最长的一个记录"_s, 2}, {u"乙"_s, 1}};
    Fill(tree);
    Grid->ColumnByFieldName(u"Id"_s)->SetVisible(false);
    TColumnEh* name = Grid->ColumnByFieldName(u"名称"_s);
    TColumnsEhList fitted;
    fitted.Add(name);
    Grid->OptimizeColsWidth(&fitted);
    const int flat = name->Width();
    Table->SetTreeMode(u"Id"_s, u"层"_s);
    Table->SetNodeExpanded(0, true);
    Grid->OptimizeColsWidth(&fitted);
    EXPECT_EQ(name->Width(), flat + 36);
}

TEST_F(DBGridEhRecordDragTest, ATreeRecordDropsAtTheLevelUnderThePointer)
{
    struct TCase {
        const char* Name;
        int From;
        int To;
        int PointerX;  // from the first column's left; 0 on the indicator
        TOutline Expected;
    };
    const TCase cases[] = {
        {"up over a child joins its level", 4, 1, 0,
         {{u"A"_s, 1}, {u"C"_s, 2}, {u"A1"_s, 2}, {u"A2"_s, 2}, {u"B"_s, 1}}},
        {"down under a row at its level", 0, 3, 0, {{u"B"_s, 1}, {u"A"_s, 1}, {u"A1"_s, 2}, {u"A2"_s, 2}, {u"C"_s, 1}}},
        {"down with the pointer further right goes into the row", 3, 4, 30,
         {{u"A"_s, 1}, {u"A1"_s, 2}, {u"A2"_s, 2}, {u"C"_s, 1}, {u"B"_s, 2}}},
        {"never deeper than one below the row", 3, 4, 80,
         {{u"A"_s, 1}, {u"A1"_s, 2}, {u"A2"_s, 2}, {u"C"_s, 1}, {u"B"_s, 2}}},
        {"a branch moves whole and lands one level deeper", 0, 4, 30,
         {{u"B"_s, 1}, {u"C"_s, 1}, {u"A"_s, 2}, {u"A1"_s, 3}, {u"A2"_s, 3}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Fill(SmallTree);
        Table->SetTreeMode(u"Id"_s, u"层"_s);
        Table->SetNodeExpanded(0, true);
        const QPoint to = c.PointerX == 0 ? Indicator(c.To) : InFirstColumn(c.To, c.PointerX);
        Drag(Indicator(c.From), to);
        EXPECT_EQ(Shown(), c.Expected);
    }
}

}  // namespace
