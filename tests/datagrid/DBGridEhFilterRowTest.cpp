// The filter row as the user drives it: typing conditions, the drop-down's values and commands,
// the keys between filter cells, and the records the grid then shows.
#include "DBGridEhInputTestSupport.h"

#include "datagrid/DBGridEhCenter.h"
#include "datagrid/DBGridEhFilterRow.h"
#include "datagrid/DBGridEhIndicatorTitle.h"
#include "platform/ui/Menus.h"
#include "platform/data/Field.h"

#include <QApplication>
#include <QMenu>

namespace {

class DBGridFilterRowTest : public DBGridInputTest {
protected:
    void SetUp() override
    {
        DBGridInputTest::SetUp();
        Grid->STFilter()->SetVisible(true);
        // The dataset's own filter takes every column's condition, as the application sets it.
        Grid->OnApplyFilter = [this](TObject*) {
            ++Applied;
            DataSetShown->SetFilter(BuildGridFilterText(Grid, DatasetFilterConditionText, {}, true, false));
            DataSetShown->SetFiltered(true);
        };
        // The names column offers the first names, from a list of its own.
        ListData.reset(NewStockDataSet(nullptr));
        ListData->Open();
        for (int i = 0; i < 6; ++i)
            ListData->AppendRecord({Variant(), Variant(RowName(i)), Variant(i), Variant(0.0)});
        ListSource = std::make_unique<TDataSource>(nullptr);
        ListSource->SetDataSet(ListData.get());
        Grid->Columns()->ColumnAt(1)->STFilter()->SetListSource(ListSource.get());
        Grid->Columns()->ColumnAt(1)->STFilter()->SetListField(NameField);
    }

    void TearDown() override
    {
        ReleaseKeyboardModifiers();
        DBGridInputTest::TearDown();
        ListSource.reset();
        ListData.reset();
    }

    int FilterRow() const { return Grid->RowsAboveData() - 1; }
    int GridCol(int DataCol) const { return Grid->DataColToGridCol(DataCol); }
    QWidget* Editor() const { return Grid->FilterEditor()->Handle(); }
    void ClickFilterCell(int DataCol) { ClickCell(GridCol(DataCol), FilterRow()); }

    // Types Text into data column DataCol's filter cell and presses Enter.
    void Filter(int DataCol, const QString& Text)
    {
        ClickFilterCell(DataCol);
        ASSERT_NE(Grid->FilterEditor(), nullptr);
        Grid->FilterEditor()->SetText(String());
        CommitText(Editor(), Text);
        SendKey(Editor(), Qt::Key_Return, u"\r"_s);
    }

    // The names of the records the grid shows, in order; the first one is current after.
    std::vector<String> Shown() const
    {
        std::vector<String> names;
        for (DataSetShown->First(); !DataSetShown->Eof(); DataSetShown->Next())
            names.push_back(CurrentName());
        DataSetShown->First();
        return names;
    }

    // Opens the editor's list and clicks the item with Text.
    TPopupListboxEh* DropDown(int DataCol)
    {
        ClickFilterCell(DataCol);
        SendKey(Editor(), Qt::Key_Down, QString(), Qt::AltModifier);
        TPopupListboxEh* list = Grid->FilterEditor()->PopupListbox();
        EXPECT_TRUE(list != nullptr && list->Visible());
        return list;
    }
    void ClickItem(TPopupListboxEh* List, const String& Text)
    {
        const int index = Grid->FilterEditor()->Items()->IndexOf(Text);
        ASSERT_GE(index, 0) << Text.toStdString();
        const TRect rect = List->ItemRect(index);
        const QPoint at((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
        SendMouse(List->Handle(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        SendMouse(List->Handle(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }

    int Applied = 0;
    std::unique_ptr<TMemoryDataSet> ListData;
    std::unique_ptr<TDataSource> ListSource;
};

TEST_F(DBGridFilterRowTest, TypedConditionsFilterTheRecordsTheGridShows)
{
    struct TCase {
        int DataCol;
        QString Text;
        std::vector<String> Names;
    };
    const std::vector<TCase> cases{
        {2, u"> 26"_s, {RowName(27), RowName(28), RowName(29)}},
        {1, u"张%"_s, {RowName(0)}},
        {1, u"in ('李四','王五')"_s, {RowName(1), RowName(2)}},
        {2, u"=3 or =5"_s, {RowName(3), RowName(5)}},
    };
    for (const TCase& c : cases) {
        Grid->ClearAllColumnFilters();
        Filter(c.DataCol, c.Text);
        EXPECT_EQ(Shown(), c.Names) << c.Text.toStdString();
        EXPECT_EQ(Grid->FilterCellText(c.DataCol), c.Text);
    }
    // The two columns' conditions hold together.
    Grid->ClearAllColumnFilters();
    Filter(2, u"< 4"_s);
    Filter(1, u"王%"_s);
    EXPECT_EQ(Shown(), std::vector<String>{RowName(2)});
}

TEST_F(DBGridFilterRowTest, AConditionThatDoesNotParseIsReportedAndKeptForCorrection)
{
    BoxesExpected = true;
    Filter(2, u"< 4"_s);
    ASSERT_EQ(Shown().size(), 4u);
    Filter(2, u"> abc"_s);
    ASSERT_FALSE(Boxes.Shown().empty());
    // The text stays for correcting, the filter in force stays, and the grid still answers.
    EXPECT_EQ(Grid->FilterEditor()->Text(), u"> abc"_s);
    EXPECT_EQ(Shown().size(), 4u);
    Grid->FilterEditor()->SetText(String());
    CommitText(Editor(), u"> 27"_s);
    SendKey(Editor(), Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Shown(), (std::vector<String>{RowName(28), RowName(29)}));
    // Esc takes the typing back, so leaving then changes nothing.
    ClickFilterCell(2);
    CommitText(Editor(), u" and"_s);
    SendKey(Editor(), Qt::Key_Escape, u"\x1b"_s);
    EXPECT_EQ(Grid->FilterEditor()->Text(), u"> 27"_s);
    ClickCell(GridCol(1), DataRow(0));
    EXPECT_FALSE(Grid->FilterRowActive());
    EXPECT_EQ(Grid->FilterCellText(2), u"> 27"_s);
    // Leaving in the middle of a broken text reports it and keeps it in the cell for the next visit.
    const std::size_t boxes = Boxes.Shown().size();
    ClickFilterCell(2);
    Grid->FilterEditor()->SetSelStart(4);
    CommitText(Editor(), u" and"_s);
    ClickCell(GridCol(1), DataRow(0));
    EXPECT_EQ(Boxes.Shown().size(), boxes + 1);
    EXPECT_FALSE(Grid->FilterRowActive());
    EXPECT_EQ(Grid->FilterCellText(2), u"> 27 and"_s);
    EXPECT_EQ(Shown().size(), 2u);
}

TEST_F(DBGridFilterRowTest, TickedValuesFilterAndUntickingTheLastClearsTheFilter)
{
    Grid->STFilter()->SetInstantApply(true);
    TPopupListboxEh* list = DropDown(1);
    ASSERT_NE(list, nullptr);
    TStrings* items = Grid->FilterEditor()->Items();
    // InstantApply: no "(Apply filter)" command.
    EXPECT_LT(items->IndexOf(u"(Apply filter)"_s), 0);
    EXPECT_GE(items->IndexOf(u"(取消过滤)"_s), 0);

    ClickItem(list, RowName(1));
    EXPECT_EQ(Grid->FilterEditor()->Text(), u"='李四'"_s);
    EXPECT_EQ(Shown(), std::vector<String>{RowName(1)});
    ClickItem(list, RowName(0));
    EXPECT_EQ(Grid->FilterEditor()->Text(), u"in ('李四','张三')"_s);
    EXPECT_EQ(Shown(), (std::vector<String>{RowName(0), RowName(1)}));
    EXPECT_TRUE(list->Visible());
    ClickItem(list, RowName(0));
    ClickItem(list, RowName(1));
    EXPECT_EQ(Grid->FilterEditor()->Text(), String());
    EXPECT_EQ(Shown().size(), static_cast<std::size_t>(RowTotal));

    // Enter on an item leaves it the only choice.
    ClickItem(list, RowName(0));
    ClickItem(list, RowName(2));
    list->SetItemIndex(items->IndexOf(RowName(2)));
    SendKey(Editor(), Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Grid->FilterEditor()->Text(), u"='王五'"_s);
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(Shown(), std::vector<String>{RowName(2)});
}

TEST_F(DBGridFilterRowTest, SpaceTogglesInTheEditorsListAndEnterThenChoosesTheHighlightedValue)
{
    // The title list, which never lost its line, goes the same way.
    struct TCase {
        const char* Name;
        bool InTitle;
    };
    for (const TCase c : {TCase{"editor list", false}, TCase{"title list", true}}) {
        SCOPED_TRACE(c.Name);
        Grid->ClearAllColumnFilters();
        Grid->STFilter()->SetLocation(c.InTitle ? TSTFilterLocationEh::stflInTitleFilterEh
                                                : TSTFilterLocationEh::stflUnderTitleFilterEh);
        TPopupListboxEh* list = nullptr;
        QWidget* keys = nullptr;
        if (c.InTitle) {
            ClickCell(GridCol(1), DataRow(0));
            SendKey(Window(), Qt::Key_T, QString(), Qt::ControlModifier);
            ReleaseKeyboardModifiers();
            list = Grid->TitleFilterList();
            keys = list->Handle();
        } else {
            list = DropDown(1);
            keys = Editor();
        }
        ASSERT_TRUE(list != nullptr && list->Visible());
        TStrings* items = c.InTitle ? list->Items() : Grid->FilterEditor()->Items();
        const auto press = [&](const String& Value, int Key, const QString& Text) {
            list->SetItemIndex(items->IndexOf(Value));
            SendKey(keys, Key, Text);
        };
        TSTColumnFilterEh* filter = Grid->Columns()->ColumnAt(1)->STFilter();
        press(RowName(0), Qt::Key_Space, u" "_s);
        press(RowName(3), Qt::Key_Space, u" "_s);
        EXPECT_TRUE(filter->TypedText().startsWith(u"in ("_s)) << filter->TypedText().toStdString();
        EXPECT_EQ(list->ItemIndex(), items->IndexOf(RowName(3)));
        SendKey(keys, Qt::Key_Return, u"\r"_s);
        EXPECT_FALSE(list->Visible());
        EXPECT_EQ(filter->TypedText(), u"='"_s + RowName(3) + u"'"_s);
    }
    Grid->STFilter()->SetLocation(TSTFilterLocationEh::stflUnderTitleFilterEh);
}

TEST_F(DBGridFilterRowTest, TheValueListOffersWhatTheOtherColumnsConditionsLeave)
{
    // The list's own records: names 0 to 5 with quantities 0 to 5.
    struct TCase {
        QString Quantity;
        QString Name;
        std::vector<int> Offered;
        std::vector<int> Left;
    };
    const std::vector<TCase> cases{
        {u"> 3"_s, QString(), {4, 5}, {0, 1, 2, 3}},
        // The column's own condition does not narrow its own list.
        {u"> 3"_s, u"='张三'"_s, {4, 5}, {0, 3}},
        {QString(), u"='张三'"_s, {0, 1, 2, 3, 4, 5}, {}},
        {u"< 2 or = 5"_s, QString(), {0, 1, 5}, {2, 3, 4}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Quantity.toStdString() + " " + c.Name.toStdString());
        Grid->ClearAllColumnFilters();
        if (!c.Quantity.isEmpty())
            Filter(2, c.Quantity);
        if (!c.Name.isEmpty())
            Filter(1, c.Name);
        DropDown(1);
        TStrings* items = Grid->FilterEditor()->Items();
        for (int i : c.Offered)
            EXPECT_GE(items->IndexOf(RowName(i)), 0) << i;
        for (int i : c.Left)
            EXPECT_LT(items->IndexOf(RowName(i)), 0) << i;
        Grid->FilterEditor()->CloseDropDown(false);
        // The own condition is back in force.
        EXPECT_EQ(Grid->Columns()->ColumnAt(1)->STFilter()->Expression().Operator1,
                  c.Name.isEmpty() ? TSTFilterCompareKindEh::fcNone : TSTFilterCompareKindEh::fcEqual);
    }
}

TEST_F(DBGridFilterRowTest, WithoutInstantApplyAValueWaitsForTheApplyCommand)
{
    TPopupListboxEh* list = DropDown(1);
    ASSERT_NE(list, nullptr);
    ASSERT_GE(Grid->FilterEditor()->Items()->IndexOf(u"(Apply filter)"_s), 0);
    ClickItem(list, RowName(3));
    EXPECT_EQ(Applied, 0);
    EXPECT_EQ(Shown().size(), static_cast<std::size_t>(RowTotal));
    ClickItem(list, u"(Apply filter)"_s);
    EXPECT_EQ(Shown(), std::vector<String>{RowName(3)});
}

TEST_F(DBGridFilterRowTest, CommandsSetClearAndApplyTheConditions)
{
    struct TCase {
        String Command;
        String CellText;
        std::size_t Count;
    };
    // Every record has a name; "(空)" keeps none of them.
    const std::vector<TCase> cases{
        {u"(空)"_s, u"=Null"_s, 0},
        {u"(非空)"_s, u"<>Null"_s, RowTotal},
        {u"(全部)"_s, String(), RowTotal},
    };
    Grid->STFilter()->SetInstantApply(true);
    for (const TCase& c : cases) {
        Filter(2, u"< 2"_s);
        ClickItem(DropDown(1), c.Command);
        EXPECT_EQ(Grid->FilterCellText(1), c.CellText) << c.Command.toStdString();
        EXPECT_EQ(Shown().size(), std::min(c.Count, std::size_t{2})) << c.Command.toStdString();
    }
    const int before = Applied;
    ClickItem(DropDown(1), u"(取消过滤)"_s);
    EXPECT_EQ(Applied, before + 1);
    EXPECT_EQ(Grid->FilterCellText(2), String());
    EXPECT_EQ(Shown().size(), static_cast<std::size_t>(RowTotal));
}

TEST_F(DBGridFilterRowTest, KeysWalkTheFilterCellsAndDownAppliesAndLeaves)
{
    // Filter cells on columns 0, 2 and 3.
    Grid->Columns()->ColumnAt(1)->STFilter()->SetVisible(false);
    struct TStep {
        int Key;
        Qt::KeyboardModifiers Modifiers;
        int Column;
    };
    const std::vector<TStep> steps{
        {Qt::Key_End, Qt::NoModifier, 3},   {Qt::Key_Tab, Qt::NoModifier, 0},  {Qt::Key_Backtab, Qt::ShiftModifier, 3},
        {Qt::Key_Home, Qt::NoModifier, 0},  {Qt::Key_Right, Qt::NoModifier, 2}, {Qt::Key_Left, Qt::NoModifier, 0},
    };
    ClickFilterCell(2);
    for (const TStep& step : steps) {
        SendKey(Editor(), step.Key, QString(), step.Modifiers);
        EXPECT_EQ(Grid->FilterColumn(), step.Column) << step.Key;
    }
    // With text, Left moves the caret, not the cell.
    CommitText(Editor(), u"<3"_s);
    SendKey(Editor(), Qt::Key_End);
    ASSERT_EQ(Grid->FilterColumn(), 3);
    CommitText(Editor(), u"<3"_s);
    SendKey(Editor(), Qt::Key_Left);
    EXPECT_EQ(Grid->FilterColumn(), 3);

    // Only cells 0 and 2: Tab from 2 gives up past the end.
    Grid->Columns()->ColumnAt(3)->STFilter()->SetVisible(false);
    ClickFilterCell(2);
    SendKey(Editor(), Qt::Key_Tab);
    EXPECT_EQ(Grid->FilterColumn(), 2);

    Grid->ClearAllColumnFilters();
    ClickFilterCell(2);
    CommitText(Editor(), u">= 20"_s);
    SendKey(Editor(), Qt::Key_Down);
    EXPECT_FALSE(Grid->FilterRowActive());
    EXPECT_EQ(CurrentName(), RowName(20));
    EXPECT_EQ(Shown().size(), 10u);
    // Up on the first record goes back into the filter row.
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_TRUE(Grid->FilterRowActive());
}

TEST_F(DBGridFilterRowTest, EnteringTheCellEditorLeavesTheFilterRowFirst)
{
    struct TCase {
        const char* Name;
        std::function<void()> Enter;
    };
    const std::vector<TCase> cases{
        {"F2", [this] { Key(Qt::Key_F2); }},
        {"typing", [this] { Key(Qt::Key_X, Qt::NoModifier, u"x"_s); }},
        {"ChangeEditorMode", [this] { Grid->ChangeEditorMode(true); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ClickCell(GridCol(1), DataRow(2));
        ClickFilterCell(2);
        CommitText(Editor(), u"> 3"_s);
        ASSERT_TRUE(Grid->FilterRowActive());
        c.Enter();
        EXPECT_FALSE(Grid->FilterRowActive());
        EXPECT_FALSE(Grid->FilterEditor()->Visible());
        EXPECT_TRUE(Grid->EditorMode());
        EXPECT_TRUE(Grid->EditorShown());
        // The filter cell's text went to its column on the way.
        EXPECT_EQ(Grid->FilterCellText(2), u"> 3"_s);
        Key(Qt::Key_Escape, Qt::NoModifier, u"\x1b"_s);
        Grid->ChangeEditorMode(false);
        Grid->ClearAllColumnFilters();
    }
}

TEST_F(DBGridFilterRowTest, WithTheEditorAlwaysShownTheFilterRowHoldsThroughAScrollAndLeavingReopensTheEditor)
{
    Grid->SetOptions(Grid->Options() | dgAlwaysShowEditor);
    ASSERT_TRUE(Grid->EditorMode());
    ClickFilterCell(1);
    ASSERT_TRUE(Grid->FilterRowActive());
    EXPECT_FALSE(Grid->EditorMode());
    // The records scroll under the open filter row.
    DataSetShown->MoveBy(25);
    EXPECT_TRUE(Grid->FilterRowActive());
    EXPECT_TRUE(Grid->FilterEditor()->Visible());
    EXPECT_FALSE(Grid->EditorMode());
    SendKey(Editor(), Qt::Key_Down);
    EXPECT_FALSE(Grid->FilterRowActive());
    EXPECT_TRUE(Grid->EditorMode());
}

// A grid that makes its filter cell's editor itself.
class TOwnFilterEditorGrid : public TInputDBGridEh {
public:
    using TInputDBGridEh::TInputDBGridEh;
    TInplaceFilterEditEh* CreateFilterEditorObject() override
    {
        ++Made;
        return TInputDBGridEh::CreateFilterEditorObject();
    }
    int Made = 0;
};

TEST_F(DBGridFilterRowTest, TheFilterEditorIsMadeOnceByTheGridsOwnFactory)
{
    auto* grid = new TOwnFilterEditorGrid(Form);
    grid->SetBounds(0, 0, 400, 300);
    grid->SetParent(Form);
    grid->SetDataSource(Source.get());
    grid->STFilter()->SetVisible(true);
    const int filterRow = grid->RowsAboveData() - 1;
    for (int dataCol : {1, 2, 1}) {
        const TRect cell = grid->CellPixelRect(grid->DataColToGridCol(dataCol), filterRow);
        const QPoint at((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
        SendMouse(grid->Handle(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        SendMouse(grid->Handle(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        ASSERT_NE(grid->FilterEditor(), nullptr);
        EXPECT_EQ(grid->FilterEditor()->Column(), grid->Columns()->ColumnAt(dataCol));
        EXPECT_TRUE(grid->FilterEditor()->Visible());
    }
    EXPECT_EQ(grid->Made, 1);
    delete grid;
}

TEST_F(DBGridFilterRowTest, AColumnRemovedUnderItsOpenEditorTakesTheEditorAlong)
{
    ClickFilterCell(2);
    CommitText(Editor(), u"> 3"_s);
    delete Grid->Columns()->ColumnAt(2);
    EXPECT_FALSE(Grid->FilterEditor()->Visible());
    EXPECT_EQ(Grid->FilterEditor()->Column(), nullptr);
    Key(Qt::Key_Down);
    ClickFilterCell(1);
    CommitText(Editor(), u"张%"_s);
    SendKey(Editor(), Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Shown(), std::vector<String>{RowName(0)});
}

TEST_F(DBGridFilterRowTest, CtrlQuoteCopiesThePreviousRecordsValueExceptOnTheFirstRow)
{
    const String qty = u"数量"_s;
    // The first buffered row has no record above it.
    ClickCell(GridCol(2), DataRow(0));
    SendKey(Window(), Qt::Key_Apostrophe, QString(), Qt::ControlModifier);
    EXPECT_EQ(DataSetShown->FieldByName(qty)->AsInteger(), 0);
    EXPECT_EQ(DataSetShown->State(), TDataSetState::dsBrowse);

    ClickCell(GridCol(2), DataRow(3));
    SendKey(Window(), Qt::Key_Apostrophe, QString(), Qt::ControlModifier);
    ReleaseKeyboardModifiers();
    EXPECT_EQ(DataSetShown->FieldByName(qty)->AsInteger(), 2);
    EXPECT_EQ(CurrentName(), RowName(3));
    EXPECT_TRUE(Grid->EditorMode());
    // Posted by moving on, the record above keeps its own value.
    Key(Qt::Key_Down);
    DataSetShown->MoveBy(-2);
    EXPECT_EQ(DataSetShown->FieldByName(qty)->AsInteger(), 2);
    DataSetShown->Next();
    EXPECT_EQ(DataSetShown->FieldByName(qty)->AsInteger(), 2);
    EXPECT_EQ(CurrentName(), RowName(3));
}

TEST_F(DBGridFilterRowTest, TheIndicatorTitleSelectsAllOrOpensItsMenu)
{
    Grid->STFilter()->SetVisible(false);
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    const QPoint title = CellCentre(0, 0);
    Click(title);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstAll);
    Click(title);
    EXPECT_NE(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstAll);

    // As a button it opens the centre's menu with the grid's own items after a line.
    TPopupMenu own(nullptr);
    auto* item = new TMenuItem(&own);
    item->SetCaption(u"刷新"_s);
    own.Items()->Add(item);
    Grid->IndicatorTitle()->SetTitleButton(true);
    Grid->IndicatorTitle()->SetDropdownMenu(&own);
    Click(title);
    TPopupMenu* menu = DBGridEhIndicatorTitlePopupMenu();
    ASSERT_NE(menu->Handle(), nullptr);
    TMenuItem* items = menu->Items();
    ASSERT_GE(items->Count(), 3);
    EXPECT_TRUE(items->Items(items->Count() - 2)->IsLine());
    EXPECT_EQ(items->Items(items->Count() - 1)->Caption(), u"刷新"_s);
    // The title looks pressed until the menu closes.
    EXPECT_TRUE(Grid->IndicatorTitle()->Pressed());
    menu->Handle()->hide();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Grid->IndicatorTitle()->Pressed());
    // Without the centre's items only the grid's own remain, and no line before them.
    Grid->IndicatorTitle()->SetUseGlobalMenu(false);
    Click(title);
    ASSERT_EQ(items->Count(), 1);
    EXPECT_EQ(items->Items(0)->Caption(), u"刷新"_s);
    menu->Handle()->hide();
    Grid->IndicatorTitle()->SetDropdownMenu(nullptr);
}

// Tells which component it was told of last as going away.
class TFreeWatch : public TComponent {
public:
    using TComponent::TComponent;
    const TComponent* Gone = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        if (Operation == TOperation::opRemove)
            Gone = AComponent;
        TComponent::Notification(AComponent, Operation);
    }
};

TEST_F(DBGridFilterRowTest, AnIndicatorMenuWithoutItemsIsAButtonAndAnOwnerlessOneIsFreedOnClose)
{
    Grid->STFilter()->SetVisible(false);
    Grid->IndicatorTitle()->SetTitleButton(true);
    const QPoint title = CellCentre(0, 0);
    // No items: pressed while the button is held.
    Grid->OnBuildIndicatorTitleMenu = [](TObject*, TPopupMenu*& Menu) { Menu = nullptr; };
    Press(title);
    EXPECT_TRUE(Grid->IndicatorTitle()->Pressed());
    Release(title);
    EXPECT_FALSE(Grid->IndicatorTitle()->Pressed());
    // A menu the handler makes without an owner goes when it closes; an owned one stays.
    TComponent owner(nullptr);
    for (bool owned : {true, false}) {
        SCOPED_TRACE(owned);
        TPopupMenu* built = nullptr;
        TFreeWatch watch(nullptr);
        Grid->OnBuildIndicatorTitleMenu = [&](TObject*, TPopupMenu*& Menu) {
            built = new TPopupMenu(owned ? &owner : nullptr);
            auto* item = new TMenuItem(built);
            item->SetCaption(u"刷新"_s);
            built->Items()->Add(item);
            built->FreeNotification(&watch);
            Menu = built;
        };
        Click(title);
        ASSERT_NE(built, nullptr);
        ASSERT_NE(built->Handle(), nullptr);
        EXPECT_TRUE(Grid->IndicatorTitle()->Pressed());
        built->Handle()->hide();
        QCoreApplication::processEvents();
        EXPECT_FALSE(Grid->IndicatorTitle()->Pressed());
        EXPECT_EQ(watch.Gone, owned ? nullptr : built);
        if (owned)
            built->RemoveFreeNotification(&watch);
    }
    Grid->OnBuildIndicatorTitleMenu = nullptr;
}

TEST_F(DBGridFilterRowTest, ADoubleClickOnATitleBorderFitsTheColumnOrTheSelectedOnes)
{
    Grid->SetOptionsEh(Grid->OptionsEh() | dghDblClickOptimizeColWidth);
    TColumnEh* names = Grid->Columns()->ColumnAt(1);
    TColumnEh* amounts = Grid->Columns()->ColumnAt(3);
    // What fitting gives, measured by the grid itself.
    names->SetWidth(5);
    amounts->SetWidth(5);
    TColumnsEhList both;
    both.Add(names);
    both.Add(amounts);
    Grid->OptimizeColsWidth(&both);
    const int fittedNames = names->Width();
    const int fittedAmounts = amounts->Width();
    ASSERT_GT(fittedNames, 5);
    ASSERT_GT(fittedAmounts, 5);

    const auto doubleClickBorderOf = [this](TColumnEh* Column) {
        const TRect title = Grid->CellPixelRect(GridCol(Column->Index()), 0);
        const QPoint at(title.Right, (title.Top + title.Bottom) / 2);
        Press(at);
        Release(at);
        SendMouse(Window(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        Release(at);
    };
    names->SetWidth(5);
    amounts->SetWidth(5);
    doubleClickBorderOf(names);
    EXPECT_EQ(names->Width(), fittedNames);
    EXPECT_EQ(amounts->Width(), 5);
    // With both selected as columns, the border of one fits both.
    names->SetWidth(5);
    Grid->Selection()->Columns()->SelectColumn(names, false);
    Grid->Selection()->Columns()->SelectColumn(amounts, true);
    doubleClickBorderOf(names);
    EXPECT_EQ(names->Width(), fittedNames);
    EXPECT_EQ(amounts->Width(), fittedAmounts);
}

TEST_F(DBGridFilterRowTest, InTheTitlesCtrlTAndTheFilterButtonDropTheColumnsListDown)
{
    Grid->STFilter()->SetLocation(TSTFilterLocationEh::stflInTitleFilterEh);
    Grid->STFilter()->SetInstantApply(true);
    ClickCell(GridCol(1), DataRow(0));
    SendKey(Window(), Qt::Key_T, QString(), Qt::ControlModifier);
    ReleaseKeyboardModifiers();
    ASSERT_TRUE(Grid->TitleFilterListShown());
    EXPECT_EQ(Grid->TitleFilterColumn(), Grid->Columns()->ColumnAt(1));

    // The button at the right of the title closes the open list and opens it again.
    const TRect cell = Grid->CellPixelRect(GridCol(1), 0);
    TRect button;
    Grid->TitleFilterButtonRect(TPoint{}, cell, button, Grid->Columns()->ColumnAt(1));
    const QPoint at((button.Left + button.Right) / 2, (button.Top + button.Bottom) / 2);
    Click(at);
    EXPECT_FALSE(Grid->TitleFilterListShown());
    Click(at);
    ASSERT_TRUE(Grid->TitleFilterListShown());
    // A value chosen there filters the records.
    TPopupListboxEh* list = Grid->TitleFilterList();
    const int index = list->Items()->IndexOf(RowName(4));
    ASSERT_GE(index, 0);
    const TRect item = list->ItemRect(index);
    const QPoint on((item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2);
    SendMouse(list->Handle(), QEvent::MouseButtonPress, on, Qt::LeftButton, Qt::LeftButton);
    SendMouse(list->Handle(), QEvent::MouseButtonRelease, on, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Grid->Columns()->ColumnAt(1)->STFilter()->TypedText(), u"='abd'"_s);
    EXPECT_EQ(Shown(), std::vector<String>{RowName(4)});
    Grid->CloseFilterDropDown(false);
}

}  // namespace
