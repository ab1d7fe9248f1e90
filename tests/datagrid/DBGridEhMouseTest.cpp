// Mouse and scrolling: clicks on titles, cells and the indicator, row and rectangle selection, sizing
// and moving columns, double clicks, the wheel and the vertical bar.
#include "DBGridEhInputTestSupport.h"

#include <QElapsedTimer>

namespace {

class DBGridEhMouseTest : public DBGridInputTest {
protected:
    int TitleRow() const { return Grid->RowsAboveData() - 1; }
    int GridCol(int Index) const { return Grid->DataColToGridCol(Index); }
    TSortMarkerEh Marker(int Index) const { return Grid->Columns()->ColumnAt(Index)->Title()->SortMarker(); }
    void ClickTitle(int Index, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        ClickCell(GridCol(Index), TitleRow(), Modifiers);
    }
    void UseTitleButtons()
    {
        Grid->SetOptionsEh(Grid->OptionsEh() | dghAutoSortMarking);
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            Grid->Columns()->ColumnAt(i)->Title()->SetTitleButton(true);
    }
};

TEST_F(DBGridEhMouseTest, ACellClickMovesRecordAndColumnAndRaisesOnCellClick)
{
    std::vector<TColumnEh*> clicked;
    Grid->OnCellClick = [&clicked](TObject*, TColumnEh* Column) { clicked.push_back(Column); };
    ClickCell(GridCol(2), DataRow(3));
    EXPECT_EQ(CurrentName(), RowName(3));
    EXPECT_EQ(Grid->FocusedColumnIndex(), 2);
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], Grid->Columns()->ColumnAt(2));
}

TEST_F(DBGridEhMouseTest, ClicksOutsideAnyCellChangeNothing)
{
    Key(Qt::Key_Down);
    Click(QPoint(395, 295));
    Click(QPoint(-5, -5));
    EXPECT_EQ(CurrentName(), RowName(1));
}

TEST_F(DBGridEhMouseTest, TitleClicksCycleTheMarkerAndRaiseTheEventsInOrder)
{
    UseTitleButtons();
    std::vector<String> events;
    Grid->OnTitleBtnClick = [&events](TObject*, int, TColumnEh*) { events.push_back(u"button"_s); };
    Grid->OnSortMarkingChanged = [&events](TObject*) { events.push_back(u"sort"_s); };
    Grid->OnTitleClick = [&events](TObject*, TColumnEh*) { events.push_back(u"title"_s); };
    ClickTitle(1);
    EXPECT_EQ(Marker(1), TSortMarkerEh::smDownEh);
    EXPECT_EQ(events, (std::vector<String>{u"button"_s, u"sort"_s, u"title"_s}));
    ClickTitle(1);
    EXPECT_EQ(Marker(1), TSortMarkerEh::smUpEh);
    ClickTitle(1);
    EXPECT_EQ(Marker(1), TSortMarkerEh::smDownEh);
    // A plain click on another title takes the marker away from the first.
    ClickTitle(2);
    EXPECT_EQ(Marker(1), TSortMarkerEh::smNoneEh);
    EXPECT_EQ(Marker(2), TSortMarkerEh::smDownEh);
}

TEST_F(DBGridEhMouseTest, CtrlTitleClicksBuildAMultiColumnSortReportedWhenCtrlGoesUp)
{
    UseTitleButtons();
    Grid->SetOptionsEh(Grid->OptionsEh() | dghMultiSortMarking);
    int reported = 0;
    Grid->OnSortMarkingChanged = [&reported](TObject*) { ++reported; };
    ClickTitle(1);
    ASSERT_EQ(reported, 1);
    Press(CellCentre(GridCol(2), TitleRow()), Qt::ControlModifier);
    Release(CellCentre(GridCol(2), TitleRow()), Qt::ControlModifier);
    EXPECT_EQ(Marker(1), TSortMarkerEh::smDownEh);
    EXPECT_EQ(Marker(2), TSortMarkerEh::smDownEh);
    EXPECT_EQ(reported, 1);
    SendKey(Window(), Qt::Key_Control);
    EXPECT_EQ(reported, 2);
    ClickTitle(2, Qt::ControlModifier);
    EXPECT_EQ(Marker(2), TSortMarkerEh::smUpEh);
    ClickTitle(2, Qt::ControlModifier);
    EXPECT_EQ(Marker(2), TSortMarkerEh::smNoneEh);
    EXPECT_EQ(Marker(1), TSortMarkerEh::smDownEh);
}

TEST_F(DBGridEhMouseTest, ReleasingATitleElsewhereIsNoClick)
{
    UseTitleButtons();
    int clicks = 0;
    Grid->OnTitleBtnClick = [&clicks](TObject*, int, TColumnEh*) { ++clicks; };
    Press(CellCentre(GridCol(1), TitleRow()));
    DragTo(CellCentre(GridCol(1), DataRow(2)));
    Release(CellCentre(GridCol(1), DataRow(2)));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Marker(1), TSortMarkerEh::smNoneEh);
}

TEST_F(DBGridEhMouseTest, TitleClickWithoutTitleButtonStillRaisesOnTitleClick)
{
    std::vector<TColumnEh*> clicked;
    Grid->OnTitleClick = [&clicked](TObject*, TColumnEh* Column) { clicked.push_back(Column); };
    ClickTitle(2);
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], Grid->Columns()->ColumnAt(2));
    EXPECT_EQ(Marker(2), TSortMarkerEh::smNoneEh);
}

class DBGridEhRowSelectTest : public DBGridEhMouseTest {
protected:
    void SetUp() override
    {
        DBGridEhMouseTest::SetUp();
        Grid->SetOptions(Grid->Options() | dgMultiSelect);
    }
    bool Selected(int Index)
    {
        const TBookmark current = Data->Bookmark();
        Data->SetRecNo(Index + 1);
        const bool selected = Grid->SelectedRows()->IsCurrentRowSelected();
        Data->SetBookmark(current);
        return selected;
    }
};

TEST_F(DBGridEhRowSelectTest, IndicatorClicksSelectWithShiftAndCtrl)
{
    ClickCell(0, DataRow(1));
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_TRUE(Selected(1));
    ClickCell(0, DataRow(4), Qt::ShiftModifier);
    EXPECT_EQ(SelectedCount(), 4);
    EXPECT_TRUE(Selected(1) && Selected(2) && Selected(3) && Selected(4));
    ClickCell(0, DataRow(2), Qt::ControlModifier);
    EXPECT_EQ(SelectedCount(), 3);
    EXPECT_FALSE(Selected(2));
    // A plain click elsewhere starts over.
    ClickCell(0, DataRow(6));
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_TRUE(Selected(6));
}

TEST_F(DBGridEhRowSelectTest, AClickOnASelectedRowClearsOnReleaseNotOnPress)
{
    ClickCell(0, DataRow(1));
    ClickCell(0, DataRow(3), Qt::ShiftModifier);
    ASSERT_EQ(SelectedCount(), 3);
    Press(CellCentre(0, DataRow(2)));
    EXPECT_EQ(SelectedCount(), 3);
    Release(CellCentre(0, DataRow(2)));
    EXPECT_EQ(SelectedCount(), 0);
}

TEST_F(DBGridEhRowSelectTest, DraggingOverTheIndicatorSelectsTheRowsPassed)
{
    Press(CellCentre(0, DataRow(1)));
    DragTo(CellCentre(0, DataRow(2)));
    DragTo(CellCentre(0, DataRow(4)));
    Release(CellCentre(0, DataRow(4)));
    EXPECT_EQ(SelectedCount(), 4);
    EXPECT_EQ(CurrentName(), RowName(4));
}

TEST_F(DBGridEhRowSelectTest, DraggingOverCellsSpansARectangle)
{
    Press(CellCentre(GridCol(0), DataRow(1)));
    DragTo(CellCentre(GridCol(2), DataRow(3)));
    Release(CellCentre(GridCol(2), DataRow(3)));
    TDBGridEhSelection* selection = Grid->Selection();
    EXPECT_EQ(selection->SelectionType(), TDBGridEhSelectionType::gstRectangle);
    EXPECT_EQ(selection->Rect()->AnchorCol(), 0);
    EXPECT_EQ(selection->Rect()->ShiftCol(), 2);
    EXPECT_TRUE(selection->IsCellSelected(1, Data->Bookmark()));
}

TEST_F(DBGridEhRowSelectTest, ThePointerShowsTheSelectionCursors)
{
    SendMouse(Window(), QEvent::MouseMove, CellCentre(0, DataRow(2)), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Window()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(Window()->cursor().hotSpot(), QPoint(15, 7));
}

TEST_F(DBGridEhRowSelectTest, AClickOnTheLowerTitleSelectsTheColumn)
{
    const TRect title = Grid->CellPixelRect(GridCol(1), TitleRow());
    Click(QPoint((title.Left + title.Right) / 2, title.Bottom - 2));
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstColumns);
    EXPECT_EQ(Grid->Selection()->Columns()->Count(), 1);
    EXPECT_TRUE(Grid->Selection()->IsCellSelected(1, Data->Bookmark()));
}

// --- Wheel and scroll bar -------------------------------------------------------------------------

using DBGridEhScrollTest = DBGridInputTest;

TEST_F(DBGridEhScrollTest, EachWheelNotchMovesOneRecord)
{
    Wheel(-120);
    Wheel(-120);
    EXPECT_EQ(CurrentRecNo(), 3);
    Wheel(120);
    EXPECT_EQ(CurrentRecNo(), 2);
    // Small touchpad deltas add up to one notch.
    Wheel(-60);
    EXPECT_EQ(CurrentRecNo(), 2);
    Wheel(-60);
    EXPECT_EQ(CurrentRecNo(), 3);
}

TEST_F(DBGridEhScrollTest, ScrollBarCodesMoveTheRecord)
{
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(CurrentRecNo(), RowTotal);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    EXPECT_EQ(CurrentRecNo(), 1);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 12), 0);
    EXPECT_EQ(CurrentRecNo(), 12);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 12), 0);
    EXPECT_EQ(CurrentRecNo(), 12);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20), 0);
    EXPECT_EQ(CurrentRecNo(), 20);
    // The release after a tracked drag is not applied again.
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
    EXPECT_EQ(CurrentRecNo(), 20);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 999), 0);
    EXPECT_EQ(CurrentRecNo(), RowTotal);
    const int page = Grid->FullyShownRowCount();
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), 0);
    EXPECT_EQ(CurrentRecNo(), RowTotal - page);
}

TEST_F(DBGridEhScrollTest, WithoutTrackingTheThumbMovesNothingUntilReleased)
{
    Grid->VertScrollBar()->SetTracking(false);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20), 0);
    EXPECT_EQ(CurrentRecNo(), 1);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20), 0);
    EXPECT_EQ(CurrentRecNo(), 20);
}

using DBGridEhScrollADOTest = DBGridInputADOTest;

TEST_F(DBGridEhScrollADOTest, WheelMovesThroughTheQuery)
{
    Wheel(-120);
    Wheel(-120);
    EXPECT_EQ(CurrentName(), RowName(2));
}

} // namespace

namespace {

class DBGridEhCellPressTest : public DBGridEhMouseTest {
protected:
    // 数量 shown as a check box: 1 checked, 0 unchecked.
    TColumnEh* CheckColumn()
    {
        TColumnEh* column = Grid->Columns()->ColumnAt(2);
        column->KeyList()->Add(u"1"_s);
        column->KeyList()->Add(u"0"_s);
        column->SetCheckboxes(true);
        return column;
    }
    int Quantity() const { return Data->FieldByName(QtyField)->AsInteger(); }
};

TEST_F(DBGridEhCellPressTest, ASingleClickStepsACheckBoxCell)
{
    CheckColumn();
    ClickCell(GridCol(2), DataRow(1));
    EXPECT_EQ(CurrentName(), RowName(1));
    EXPECT_EQ(Quantity(), 0);
}

TEST_F(DBGridEhCellPressTest, WithDblClickNextValOnlyTheDoubleClickSteps)
{
    CheckColumn()->SetDblClickNextVal(true);
    ClickCell(GridCol(2), DataRow(1));
    EXPECT_EQ(Quantity(), 1);
    const QPoint at = CellCentre(GridCol(2), DataRow(1));
    SendMouse(Window(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    Release(at);
    EXPECT_EQ(Quantity(), 0);
}

TEST_F(DBGridEhCellPressTest, ASecondClickOnTheCurrentCellOpensTheEditor)
{
    ClickCell(GridCol(1), DataRow(2));
    EXPECT_FALSE(Grid->EditorMode());
    ClickCell(GridCol(1), DataRow(2));
    EXPECT_TRUE(Grid->EditorMode());
}

TEST_F(DBGridEhCellPressTest, DraggingATitleBorderSizesTheColumn)
{
    TColumnEh* column = Grid->Columns()->ColumnAt(1);
    const int before = column->Width();
    const TRect title = Grid->CellPixelRect(GridCol(1), TitleRow());
    const int y = (title.Top + title.Bottom) / 2;
    Press(QPoint(title.Right, y));
    DragTo(QPoint(title.Right + 30, y));
    Release(QPoint(title.Right + 30, y));
    EXPECT_EQ(column->Width(), before + 30);
}

TEST_F(DBGridEhCellPressTest, DraggingATitleMovesTheColumn)
{
    TColumnEh* moved = Grid->Columns()->ColumnAt(0);
    Press(CellCentre(GridCol(0), TitleRow()));
    DragTo(CellCentre(GridCol(1), TitleRow()));
    DragTo(CellCentre(GridCol(2), TitleRow()));
    Release(CellCentre(GridCol(2), TitleRow()));
    EXPECT_NE(Grid->Columns()->ColumnAt(0), moved);
    EXPECT_GT(moved->Index(), 0);
}

} // namespace

namespace {

using DBGridEhRectTest = DBGridEhMouseTest;

TEST_F(DBGridEhRectTest, AShiftClickSpansTheRectangleFromTheCellThatWasCurrent)
{
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    ClickCell(GridCol(0), DataRow(1));
    ClickCell(GridCol(2), DataRow(3), Qt::ShiftModifier);
    TDBGridEhSelection* selection = Grid->Selection();
    ASSERT_EQ(selection->SelectionType(), TDBGridEhSelectionType::gstRectangle);
    EXPECT_EQ(selection->Rect()->AnchorCol(), 0);
    EXPECT_EQ(selection->Rect()->ShiftCol(), 2);
    Data->SetRecNo(3);
    EXPECT_TRUE(selection->IsCellSelected(1, Data->Bookmark()));
    Data->SetRecNo(5);
    EXPECT_FALSE(selection->IsCellSelected(1, Data->Bookmark()));
}

} // namespace

namespace {

using DBGridEhVertBarTest = DBGridInputTest;

TEST_F(DBGridEhVertBarTest, TheVisibleModeDecidesWhetherTheWindowBarShows)
{
    EXPECT_TRUE(Grid->VertScrollBar()->IsBarShown());
    Grid->VertScrollBar()->SetVisibleMode(TScrollBarVisibleModeEh::sbNeverShowEh);
    EXPECT_FALSE(Grid->ScrollBarShown(SB_VERT));
    Grid->VertScrollBar()->SetVisibleMode(TScrollBarVisibleModeEh::sbAutoShowEh);
    EXPECT_TRUE(Grid->ScrollBarShown(SB_VERT));
    // One record leaves nothing to scroll: only the always-shown bar stays.
    for (int i = 0; i < RowTotal - 1; ++i)
        Data->Delete();
    EXPECT_FALSE(Grid->ScrollBarShown(SB_VERT));
    Grid->VertScrollBar()->SetVisibleMode(TScrollBarVisibleModeEh::sbAlwaysShowEh);
    EXPECT_TRUE(Grid->ScrollBarShown(SB_VERT));
}

TEST_F(DBGridEhVertBarTest, AnExternalBarFollowsTheRecordAndScrollsTheGrid)
{
    auto* bar = new TScrollBar(Form);
    bar->SetKind(TScrollBarKind::sbVertical);
    bar->SetParent(Form);
    Grid->VertScrollBar()->SetExtScrollBar(bar);
    EXPECT_FALSE(Grid->ScrollBarShown(SB_VERT));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_EQ(bar->Min(), 1);
    EXPECT_EQ(bar->Max(), RowTotal);
    // The user's action on the external bar moves the record.
    int pos = 0;
    bar->OnScroll(bar, TScrollCode::scBottom, pos);
    EXPECT_EQ(CurrentRecNo(), RowTotal);
    EXPECT_EQ(bar->Position(), RowTotal);
}

} // namespace

namespace {

TEST_F(DBGridEhRowSelectTest, DraggingBelowTheRowsKeepsSelectingUntilTheRelease)
{
    Press(CellCentre(0, DataRow(1)));
    DragTo(QPoint(CellCentre(0, DataRow(1)).x(), 340));
    ProcessUntil([this] { return SelectedCount() > 12; });
    Release(QPoint(CellCentre(0, DataRow(1)).x(), 340));
    const int selected = SelectedCount();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 50)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    // The release stopped the scrolling.
    EXPECT_EQ(SelectedCount(), selected);
}

TEST_F(DBGridEhCellPressTest, SpaceStepsTheFocusedCheckBoxCell)
{
    CheckColumn();
    Key(Qt::Key_Down);
    Grid->MoveToDataColumn(2, 0, false);
    Key(Qt::Key_Space, Qt::NoModifier, u" "_s);
    EXPECT_EQ(Quantity(), 0);
    Key(Qt::Key_Space, Qt::NoModifier, u" "_s);
    EXPECT_EQ(Quantity(), 1);
}

TEST_F(DBGridEhRowSelectTest, CtrlASelectsAllWhenTheEditActionIsOn)
{
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstNon);
    Grid->SetEditActions(geaCopyEh | geaSelectAllEh);
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstAll);
    EXPECT_TRUE(Grid->Selection()->IsCellSelected(-1, Data->Bookmark()));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstNon);
}

TEST_F(DBGridEhRowSelectTest, CtrlShiftEndSelectsEveryRowToTheLast)
{
    Grid->SetOptions(Grid->Options() | dgRowSelect);
    Key(Qt::Key_Down);
    Key(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(SelectedCount(), RowTotal - 1);
    EXPECT_EQ(CurrentRecNo(), RowTotal);
}

} // namespace

namespace {

TEST_F(DBGridEhMouseTest, APendingCtrlSortIsReportedWhenTheFocusLeaves)
{
    UseTitleButtons();
    Grid->SetOptionsEh(Grid->OptionsEh() | dghMultiSortMarking);
    int reported = 0;
    Grid->OnSortMarkingChanged = [&reported](TObject*) { ++reported; };
    Press(CellCentre(GridCol(1), TitleRow()), Qt::ControlModifier);
    Release(CellCentre(GridCol(1), TitleRow()), Qt::ControlModifier);
    EXPECT_EQ(reported, 0);
    auto* other = new TEdit(Form);
    other->SetParent(Form);
    other->SetFocus();
    EXPECT_EQ(reported, 1);
}

TEST_F(DBGridEhMouseTest, ADoubleClickOnACellRaisesOnDblClick)
{
    int doubleClicks = 0;
    Grid->OnDblClick = [&doubleClicks](TObject*) { ++doubleClicks; };
    const QPoint at = CellCentre(GridCol(1), DataRow(2));
    Click(at);
    SendMouse(Window(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    Release(at);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(CurrentName(), RowName(2));
}

TEST_F(DBGridEhRowSelectTest, ReopeningTheDataSetForgetsTheSelectedRows)
{
    ClickCell(0, DataRow(1));
    ClickCell(0, DataRow(3), Qt::ShiftModifier);
    ASSERT_EQ(SelectedCount(), 3);
    Data->Close();
    Data->Open();
    EXPECT_EQ(SelectedCount(), 0);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstNon);
    // Selecting works again on the reopened records.
    ClickCell(0, DataRow(2));
    EXPECT_EQ(SelectedCount(), 1);
}

} // namespace
