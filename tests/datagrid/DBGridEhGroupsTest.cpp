// Grouping in the grid as the user meets it: the group panel, titles dragged onto it and back,
// group rows expanded, collapsed and sorted by key, click and panel, inserts into the current
// group, and the painted group rows.
#include "DBGridEhPaintSupport.h"
#include "MemTableTestSupport.h"

#include "datagrid/DBGridEhStyle.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/Messages.h"
#include "../platform/ui/UiTestSupport.h"

#include <QApplication>
#include <QImage>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

class DBGridEhGroupsTest : public GridPaintFixtureBase {
protected:
    void SetUp() override
    {
        GridPaintFixtureBase::SetUp();
        Table = std::make_unique<TMemTableDataSet>(nullptr);
        Table->FieldDefs()->Add(u"城市"_s, TFieldType::ftString, 20);
        Table->FieldDefs()->Add(u"类别"_s, TFieldType::ftString, 20);
        Table->FieldDefs()->Add(u"数量"_s, TFieldType::ftInteger);
        Table->Open();
        for (const auto& [city, kind, amount] :
             {std::tuple{u"上海"_s, u"笔"_s, 1}, {u"北京"_s, u"纸"_s, 2}, {u"上海"_s, u"纸"_s, 3}, {u"广州"_s, u"笔"_s, 4}})
            Table->AppendRecord({city, kind, amount});
        Table->First();
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Table.get());
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 520, 400);
        Grid = new TPaintTestGrid(Form.get());
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(0, 0, 500, 360);
        Grid->SetParent(Form.get());
        Grid->SetDataSource(Source.get());
        Grid->DataGrouping()->SetGroupPanelVisible(true);
        Grid->DataGrouping()->SetActive(true);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Grid->SetFocus();
    }

    void TearDown() override
    {
        Form.reset();
        Source.reset();
        Table.reset();
        ReleaseKeyboardModifiers();
        GridPaintFixtureBase::TearDown();
    }

    QWidget* Window() const { return Grid->Handle(); }
    int AboveData() const { return Grid->FixedRows(); }
    void Key(int QtKey, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) { SendKey(Window(), QtKey, QString(), Modifiers); }
    void Drag(QPoint From, QPoint To)
    {
        SendMouse(Window(), QEvent::MouseButtonPress, From, Qt::LeftButton, Qt::LeftButton);
        SendMouse(Window(), QEvent::MouseMove, (From + To) / 2, Qt::NoButton, Qt::LeftButton);
        SendMouse(Window(), QEvent::MouseMove, To, Qt::NoButton, Qt::LeftButton);
        SendMouse(Window(), QEvent::MouseButtonRelease, To, Qt::LeftButton, Qt::NoButton);
    }
    void Click(QPoint At) { Drag(At, At); }
    QPoint TitleOf(const String& FieldName) const
    {
        const int col = Grid->IndicatorOffset() + Grid->ColumnByFieldName(FieldName)->Index();
        const TRect r = Grid->CellPixelRect(col, 0);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    QPoint BoxCentre(int Index)
    {
        const TRect r = Grid->LayoutGroupPanel()[static_cast<std::size_t>(Index)].Rect;
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    // The shown rows: a group row by its value, a record row by its 数量.
    std::vector<String> Rows() const
    {
        std::vector<String> rows;
        TGridGroupDataTreeEh* tree = Grid->DataGrouping()->GroupDataTree();
        for (int I = 0; I < tree->ShownRowCount(); ++I) {
            TGroupDataTreeNodeEh* node = tree->ShownRowNode(I);
            if (node->IsGroup()) {
                rows.push_back(VarToStr(node->Value()));
            } else {
                TMemTableReadScopeEh reading(Table.get(), node->RecNo());
                rows.push_back(Table->FieldByName(u"数量"_s)->AsString());
            }
        }
        return rows;
    }
    void GroupByCity()
    {
        Drag(TitleOf(u"城市"_s), QPoint(5, 5));
        ASSERT_EQ(Grid->DataGrouping()->ActiveLevelCount(), 1);
    }

    std::unique_ptr<TMemTableDataSet> Table;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TForm> Form;
    TPaintTestGrid* Grid = nullptr;
};

TEST_F(DBGridEhGroupsTest, ATitleDraggedOntoThePanelGroupsByItsColumnAndDraggedBackUngroups)
{
    // Empty, the panel is a 30-pixel band with its hint.
    EXPECT_EQ(Grid->OutBoundaryData()->TopExtent(), 30);
    EXPECT_EQ(Grid->RowCount(), AboveData() + 4);

    GroupByCity();
    EXPECT_FALSE(Grid->ColumnByFieldName(u"城市"_s)->Visible());
    EXPECT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"广州"_s, u"上海"_s}));
    EXPECT_EQ(Grid->RowCount(), AboveData() + 3);
    EXPECT_EQ(Grid->GroupIndent(), 18);
    const std::vector<TCustomDBGridEh::TGroupPanelBoxEh> boxes = Grid->LayoutGroupPanel();
    EXPECT_EQ(Grid->OutBoundaryData()->TopExtent(), boxes.back().Rect.Bottom + 5);

    // A second title dropped left of the box becomes the first level.
    Drag(TitleOf(u"类别"_s), QPoint(boxes.front().Rect.Left + 2, 5));
    ASSERT_EQ(Grid->DataGrouping()->ActiveLevelCount(), 2);
    EXPECT_EQ(Grid->DataGrouping()->ActiveGroupLevel(0)->GroupColumn()->FieldName(), u"类别"_s);
    EXPECT_EQ(Rows(), (std::vector<String>{u"笔"_s, u"纸"_s}));

    // The first box dragged past the last one goes last (index 1 of 2).
    Drag(BoxCentre(0), QPoint(BoxCentre(1).x() + 200, BoxCentre(1).y()));
    EXPECT_EQ(Grid->DataGrouping()->ActiveGroupLevel(1)->GroupColumn()->FieldName(), u"类别"_s);
    EXPECT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"广州"_s, u"上海"_s}));

    // Let go away from the grid, a box stays; dragged back onto the grid, a level goes and its
    // column shows again.
    Drag(BoxCentre(0), QPoint(200, Grid->Height() + 40));
    Drag(BoxCentre(0), QPoint(Grid->Width() + 40, 5));
    EXPECT_EQ(Grid->DataGrouping()->ActiveLevelCount(), 2);
    EXPECT_EQ(Grid->DataGrouping()->ActiveGroupLevel(1)->GroupColumn()->FieldName(), u"类别"_s);
    Drag(BoxCentre(0), QPoint(200, 200));
    Drag(BoxCentre(0), QPoint(200, 200));
    EXPECT_EQ(Grid->DataGrouping()->ActiveLevelCount(), 0);
    EXPECT_TRUE(Grid->ColumnByFieldName(u"城市"_s)->Visible());
    EXPECT_EQ(Grid->RowCount(), AboveData() + 4);
    EXPECT_EQ(Grid->OutBoundaryData()->TopExtent(), 30);
}

TEST_F(DBGridEhGroupsTest, KeysAndTheExpandBoxOpenAndCloseGroupsAndAClickOnTheBoxSortsTheLevel)
{
    GroupByCity();
    // The current record (上海, 1) leaves its group row current.
    EXPECT_EQ(Grid->Row(), AboveData() + 2);
    Key(Qt::Key_Right);
    EXPECT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"广州"_s, u"上海"_s, u"1"_s, u"3"_s}));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), AboveData() + 4);
    EXPECT_EQ(Table->FieldByName(u"数量"_s)->AsInteger(), 3);
    // On a group row the dataset stands on the group's first record.
    for (int I = 0; I < 3; ++I)
        Key(Qt::Key_Up);
    EXPECT_EQ(Grid->Row(), AboveData() + 1);
    EXPECT_EQ(Table->FieldByName(u"数量"_s)->AsInteger(), 4);
    // Numeric-pad plus and minus expand and collapse the current group.
    Key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"广州"_s, u"4"_s, u"上海"_s, u"1"_s, u"3"_s}));
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    Key(Qt::Key_Down);
    Key(Qt::Key_Left);
    EXPECT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"广州"_s, u"上海"_s}));

    // The expand box of 北京's row, the first slot after the indicator.
    const TRect indicator = Grid->CellPixelRect(0, AboveData());
    Click(QPoint(indicator.Right + 9, (indicator.Top + indicator.Bottom) / 2));
    EXPECT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"2"_s, u"广州"_s, u"上海"_s}));

    Click(BoxCentre(0));
    EXPECT_EQ(Grid->DataGrouping()->ActiveLevel(0)->SortOrder(), TSortOrderEh::soDescEh);
    EXPECT_EQ(Rows(), (std::vector<String>{u"上海"_s, u"广州"_s, u"北京"_s, u"2"_s}));
}

TEST_F(DBGridEhGroupsTest, CtrlOnAGroupRowsExpandBoxGivesEveryGroupItsNewState)
{
    GroupByCity();
    Drag(TitleOf(u"类别"_s), QPoint(Grid->LayoutGroupPanel().back().Rect.Right + 20, 5));
    ASSERT_EQ(Grid->DataGrouping()->ActiveLevelCount(), 2);
    const std::vector<String> closed{u"北京"_s, u"广州"_s, u"上海"_s};
    ASSERT_EQ(Rows(), closed);
    const std::vector<String> open{u"北京"_s, u"纸"_s, u"2"_s, u"广州"_s, u"笔"_s, u"4"_s,
                                   u"上海"_s, u"笔"_s, u"1"_s, u"纸"_s, u"3"_s};
    // 北京's box, the first slot after the indicator, pressed in turn.
    struct Case {
        Qt::KeyboardModifiers Modifiers;
        std::vector<String> Shown;
    };
    const Case cases[] = {
        {Qt::ControlModifier, open},
        {Qt::ControlModifier, closed},
        {Qt::NoModifier, {u"北京"_s, u"纸"_s, u"广州"_s, u"上海"_s}},
        {Qt::ControlModifier, closed},
    };
    const TRect indicator = Grid->CellPixelRect(0, AboveData());
    const QPoint box(indicator.Right + 9, (indicator.Top + indicator.Bottom) / 2);
    for (const Case& c : cases) {
        SendMouse(Window(), QEvent::MouseButtonPress, box, Qt::LeftButton, Qt::LeftButton, c.Modifiers);
        SendMouse(Window(), QEvent::MouseButtonRelease, box, Qt::LeftButton, Qt::NoButton, c.Modifiers);
        ReleaseKeyboardModifiers();
        EXPECT_EQ(Rows(), c.Shown);
        EXPECT_EQ(Grid->RowCount(), AboveData() + static_cast<int>(c.Shown.size()));
    }
}

TEST_F(DBGridEhGroupsTest, AnInsertJoinsTheCurrentGroupAndADeleteInACollapsedGroupTakesItsRow)
{
    GroupByCity();
    Table->SetRecNo(2);  // 北京
    Key(Qt::Key_Insert);
    ASSERT_EQ(Table->State(), TDataSetState::dsInsert);
    Table->FieldByName(u"数量"_s)->SetValue(9);
    Table->Post();
    EXPECT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"9"_s, u"2"_s, u"广州"_s, u"上海"_s}));

    // 广州's only record deleted while its group is closed: the group goes.
    Table->SetRecNo(5);
    Table->Delete();
    EXPECT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"9"_s, u"2"_s, u"上海"_s}));
    EXPECT_EQ(Grid->RowCount(), AboveData() + 4);
}

TEST_F(DBGridEhGroupsTest, TheFirstVisibleColumnCarriesTheGroupIndentInItsWidthAndItsPaint)
{
    TColumnEh* kind = Grid->ColumnByFieldName(u"类别"_s);
    TColumnEh* amount = Grid->ColumnByFieldName(u"数量"_s);
    const int kindWidth = kind->Width();
    GroupByCity();
    EXPECT_EQ(kind->WidthWithIndent(), kindWidth + 18);
    EXPECT_EQ(Grid->ColWidthAt(Grid->DataColToGridCol(kind->Index())), kindWidth + 18);
    EXPECT_EQ(Grid->ColWidthAt(Grid->DataColToGridCol(amount->Index())), amount->Width());

    Grid->DataGrouping()->ActiveLevel(0)->SetColor(clYellow);
    Grid->DataGrouping()->GroupDataTree()->ShownRowNode(2)->SetExpanded(true);
    Grid->PaintScreen();
    const TRect record = Grid->CellPixelRect(Grid->DataColToGridCol(kind->Index()), AboveData() + 3);
    EXPECT_EQ(Grid->Pixel(record.Left + 9, record.Bottom - 3), clYellow);
    EXPECT_NE(Grid->Pixel(record.Left + 25, record.Bottom - 3), clYellow);

    // Sizing the column by its grid width keeps the indent out of the column's own width.
    Grid->ChangeColWidth(Grid->DataColToGridCol(kind->Index()), kindWidth + 18 + 10);
    EXPECT_EQ(kind->Width(), kindWidth + 10);

    Drag(BoxCentre(0), QPoint(200, 200));
    EXPECT_EQ(Grid->ColWidthAt(Grid->DataColToGridCol(Grid->ColumnByFieldName(u"城市"_s)->Index())),
              Grid->ColumnByFieldName(u"城市"_s)->Width());
    EXPECT_EQ(Grid->ColWidthAt(Grid->DataColToGridCol(kind->Index())), kindWidth + 10);
}

TEST_F(DBGridEhGroupsTest, APressOnAGroupedRecordsRowMakesItsRecordCurrent)
{
    GroupByCity();
    Grid->DataGrouping()->GroupDataTree()->ShownRowNode(2)->SetExpanded(true);
    ASSERT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"广州"_s, u"上海"_s, u"1"_s, u"3"_s}));
    for (const auto& [row, amount] : {std::pair{4, 3}, {3, 1}}) {
        const TRect cell = Grid->CellPixelRect(Grid->IndicatorOffset() + 1, AboveData() + row);
        Click(QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2));
        EXPECT_EQ(Grid->Row(), AboveData() + row);
        EXPECT_EQ(Table->FieldByName(u"数量"_s)->AsInteger(), amount);
    }
}

TEST_F(DBGridEhGroupsTest, ARecordDeletedWhileItsGroupIsClosedLeavesTheGroupWithTheOthers)
{
    GroupByCity();
    Table->SetRecNo(3);  // 上海, 3: its group closed
    ASSERT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"广州"_s, u"上海"_s}));
    Table->Delete();
    EXPECT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"广州"_s, u"上海"_s}));
    EXPECT_EQ(Grid->DataGrouping()->GroupDataTree()->ShownRowNode(2)->ChildCount(), 1);
    EXPECT_EQ(Grid->RowCount(), AboveData() + 3);
    EXPECT_LT(Grid->Row(), Grid->RowCount());
    Grid->DataGrouping()->GroupDataTree()->ShownRowNode(2)->SetExpanded(true);
    EXPECT_EQ(Rows(), (std::vector<String>{u"北京"_s, u"广州"_s, u"上海"_s, u"1"_s}));
}

TEST_F(DBGridEhGroupsTest, EachRowOfTheMemoryTableShowsWhetherItsOwnRecordIsSelected)
{
    ASSERT_TRUE(Grid->IsMemTableMode());
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    const std::vector<int> cases[] = {{2, 4}, {3}, {1, 3}};
    for (const std::vector<int>& selected : cases) {
        Grid->SelectedRows()->RemoveAll();
        for (int recNo : selected) {
            Table->SetRecNo(recNo);
            Grid->SelectedRows()->SetCurrentRowSelected(true);
        }
        // The current record and the plain look's reference are two records left out.
        std::vector<int> others;
        for (int recNo = 1; recNo <= 4; ++recNo)
            if (std::find(selected.begin(), selected.end(), recNo) == selected.end())
                others.push_back(recNo);
        Table->SetRecNo(others[0]);
        Grid->PaintScreen();
        const TRect reference = Grid->CellPixelRect(Grid->IndicatorOffset() + 2, AboveData() + others[1] - 1);
        const TColor plain = Grid->Pixel(reference.Right - 3, reference.Bottom - 3);
        for (int recNo = 1; recNo <= 4; ++recNo) {
            if (recNo == Table->RecNo())
                continue;
            SCOPED_TRACE(recNo);
            const TRect cell = Grid->CellPixelRect(Grid->IndicatorOffset() + 2, AboveData() + recNo - 1);
            const bool lit = Grid->Pixel(cell.Right - 3, cell.Bottom - 3) != plain;
            EXPECT_EQ(lit, std::find(selected.begin(), selected.end(), recNo) != selected.end());
        }
    }
}

TEST_F(DBGridEhGroupsTest, AGroupRowPaintsItsLevelColourAcrossTheRowAndThePanelItsBand)
{
    GroupByCity();
    Grid->DataGrouping()->ActiveLevel(0)->SetColor(clYellow);
    Grid->DataGrouping()->GroupDataTree()->ShownRowNode(2)->SetExpanded(true);
    Grid->PaintScreen();
    // No column line cuts the group row: yellow up to the cell's right edge.
    const TRect first = Grid->CellPixelRect(Grid->IndicatorOffset() + 1, AboveData() + 1);
    EXPECT_EQ(Grid->Pixel(first.Right - 3, first.Bottom - 3), clYellow);
    EXPECT_EQ(Grid->Pixel(first.Right, first.Bottom - 3), clYellow);
    EXPECT_EQ(Grid->Pixel(2, Grid->OutBoundaryData()->TopExtent() - 3),
              MixColors(Grid->FixedColor(), Grid->GridLineColors()->DarkLineColor(), 85.0 / 255.0));
    if (const QByteArray shot = qgetenv("VELLOMAR_GROUPING_SHOT"); !shot.isEmpty())
        Form->Handle()->grab().save(QString::fromLocal8Bit(shot));
}

}  // namespace
