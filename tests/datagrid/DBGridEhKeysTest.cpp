// Keyboard: moving through records and columns, selecting, inserting, deleting, Enter and Tab.
#include "DBGridEhInputTestSupport.h"
#include "MemTableTestSupport.h"

#include "platform/ui/Clipboard.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>

namespace {

using DBGridEhKeysTest = DBGridInputTest;

// The same records in a memory table while the test runs; the plain list is shown again after.
class DBGridEhMemTableKeysTest : public DBGridInputTest {
protected:
    void SetUp() override
    {
        DBGridInputTest::SetUp();
        Table.reset(NewStockDataSet<TMemTableDataSet>(nullptr));
        Table->Open();
        for (int i = 0; i < RowTotal; ++i)
            Table->AppendRecord({Variant(), Variant(RowName(i)), Variant(i), Variant(1.0)});
        Table->First();
        Source->SetDataSet(Table.get());
        DataSetShown = Table.get();
        ASSERT_TRUE(Grid->IsMemTableMode());
    }
    void TearDown() override
    {
        Source->SetDataSet(Data.get());
        DataSetShown = Data.get();
        Table.reset();
        DBGridInputTest::TearDown();
    }

    std::unique_ptr<TMemTableDataSet> Table;
};

TEST_F(DBGridEhKeysTest, ArrowsAndPageKeysMoveTheRecord)
{
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(CurrentName(), RowName(2));
    Key(Qt::Key_Up);
    EXPECT_EQ(CurrentName(), RowName(1));
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(CurrentRecNo(), 1);
    const int page = Grid->RowCount() - Grid->FixedRows();
    ASSERT_GT(page, 1);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(CurrentRecNo(), 1 + page);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(CurrentRecNo(), 1);
}

TEST_F(DBGridEhKeysTest, CtrlHomeAndCtrlEndGoToTheFirstAndLastRecord)
{
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(CurrentRecNo(), RowTotal);
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(CurrentRecNo(), 1);
}

// The grid draws left to right whatever its BiDiMode, so the arrows keep their sides.
TEST_F(DBGridEhKeysTest, LeftRightAndCtrlLeftRightWalkTheColumns)
{
    for (TBiDiMode mode : {TBiDiMode::bdLeftToRight, TBiDiMode::bdRightToLeft}) {
        SCOPED_TRACE(static_cast<int>(mode));
        Grid->SetBiDiMode(mode);
        Grid->Columns()->ColumnAt(1)->SetVisible(true);
        Grid->FocusDataColumn(0);
        Key(Qt::Key_Right);
        EXPECT_EQ(Grid->FocusedColumnIndex(), 1);
        Key(Qt::Key_Right, Qt::ControlModifier);
        EXPECT_EQ(Grid->FocusedColumnIndex(), Grid->Columns()->Count() - 1);
        Key(Qt::Key_Left);
        EXPECT_EQ(Grid->FocusedColumnIndex(), Grid->Columns()->Count() - 2);
        Key(Qt::Key_Left, Qt::ControlModifier);
        EXPECT_EQ(Grid->FocusedColumnIndex(), 0);
        // A hidden column is stepped over.
        Grid->Columns()->ColumnAt(1)->SetVisible(false);
        Key(Qt::Key_Right);
        EXPECT_EQ(Grid->FocusedColumnIndex(), 2);
    }
}

TEST_F(DBGridEhKeysTest, HorzScrollingGoesByPixelsWithSmoothStepAndByColumnsWithout)
{
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        Grid->Columns()->ColumnAt(i)->SetWidth(250);
    const int first = Grid->IndicatorOffset();
    for (bool smooth : {true, false}) {
        SCOPED_TRACE(smooth);
        // Leaving pixel scrolling drops the part of a column scrolled away.
        Grid->HorzScrollBar()->SetSmoothStep(smooth);
        EXPECT_EQ(Grid->HorzPixelOffset(), 0);
        Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), 0);
        ASSERT_EQ(Grid->LeftCol(), first);
        Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
        if (smooth) {
            // A step of pixels: the first column only partly scrolled away.
            EXPECT_EQ(Grid->LeftCol(), first);
            EXPECT_GT(Grid->HorzPixelOffset(), 0);
            EXPECT_LT(Grid->HorzPixelOffset(), 250);
        } else {
            EXPECT_EQ(Grid->LeftCol(), first + 1);
            EXPECT_EQ(Grid->HorzPixelOffset(), 0);
        }
    }
}

TEST_F(DBGridEhMemTableKeysTest, OverAMemoryTableTheVertBarScrollsByPixelsWithSmoothStepAndByRowsWithout)
{
    const int first = Grid->FixedRows();
    for (bool smooth : {false, true}) {
        SCOPED_TRACE(smooth);
        Grid->VertScrollBar()->SetSmoothStep(smooth);
        Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
        ASSERT_EQ(Grid->TopRow(), first);
        ASSERT_EQ(Grid->VertPixelOffset(), 0);
        Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
        // The view scrolls; the record stays.
        EXPECT_EQ(CurrentRecNo(), 1);
        if (smooth) {
            EXPECT_EQ(Grid->TopRow(), first);
            EXPECT_GT(Grid->VertPixelOffset(), 0);
            EXPECT_LT(Grid->VertPixelOffset(), Grid->DefaultRowHeight());
        } else {
            EXPECT_EQ(Grid->TopRow(), first + 1);
            EXPECT_EQ(Grid->VertPixelOffset(), 0);
        }
    }
    Grid->VertScrollBar()->SetSmoothStep(false);
    EXPECT_EQ(Grid->VertPixelOffset(), 0) << "leaving pixel scrolling starts at a whole row";
}

TEST_F(DBGridEhMemTableKeysTest, OverAMemoryTableTheWheelScrollsTheViewAndShiftMovesTheRecord)
{
    const int first = Grid->FixedRows();
    const int page = Grid->FullyShownRowCount();
    ASSERT_GT(page, 2);
    ASSERT_GT(RowTotal, 2 * page);
    struct Case {
        bool Smooth;
        Qt::KeyboardModifiers Keys;
        int RecNo;       // after one notch down from the first record
        int TopAtLeast;  // the view's top row, at least
        bool Pixels;     // the view stands between two rows
    };
    const Case cases[] = {
        {false, Qt::NoModifier, 1, first + 1, false},
        {true, Qt::NoModifier, 1, first, true},
        {false, Qt::ControlModifier, 1, first + page - 1, false},
        {false, Qt::ShiftModifier, 2, first, false},
        {true, Qt::ShiftModifier, 2, first, false},
        {false, Qt::ShiftModifier | Qt::ControlModifier, 1 + page, first, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Smooth << " " << c.Keys.toInt());
        Grid->VertScrollBar()->SetSmoothStep(c.Smooth);
        Table->First();
        Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
        ASSERT_EQ(Grid->TopRow(), first);
        Wheel(-120, c.Keys);
        ReleaseKeyboardModifiers();
        EXPECT_EQ(CurrentRecNo(), c.RecNo);
        EXPECT_GE(Grid->TopRow(), c.TopAtLeast);
        if (c.Pixels) {
            EXPECT_EQ(Grid->TopRow(), first);
            EXPECT_GT(Grid->VertPixelOffset(), 0);
        } else {
            EXPECT_EQ(Grid->VertPixelOffset(), 0);
        }
        // The view scrolls back up by the same step.
        if (c.Keys == Qt::NoModifier || c.Keys == Qt::ControlModifier) {
            Wheel(120, c.Keys);
            ReleaseKeyboardModifiers();
            EXPECT_EQ(Grid->TopRow(), first);
            EXPECT_EQ(Grid->VertPixelOffset(), 0);
            EXPECT_EQ(CurrentRecNo(), 1);
        }
    }
    Grid->VertScrollBar()->SetSmoothStep(false);
}

TEST_F(DBGridEhKeysTest, TabWalksTheColumnsThenGoesOnToTheNextRecord)
{
    const int last = Grid->Columns()->Count() - 1;
    for (int i = 0; i < last; ++i)
        Key(Qt::Key_Tab);
    EXPECT_EQ(Grid->FocusedColumnIndex(), last);
    EXPECT_EQ(CurrentRecNo(), 1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Grid->FocusedColumnIndex(), 0);
    EXPECT_EQ(CurrentRecNo(), 2);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Grid->FocusedColumnIndex(), last);
    EXPECT_EQ(CurrentRecNo(), 1);
}

TEST_F(DBGridEhKeysTest, EnterAsTabMovesOnFromTheLastColumnToTheNextRecord)
{
    Grid->SetOptionsEh(Grid->OptionsEh() | dghEnterAsTab);
    Key(Qt::Key_Right, Qt::ControlModifier);
    Key(Qt::Key_Return, Qt::NoModifier, u"\r"_s);
    EXPECT_EQ(Grid->FocusedColumnIndex(), 0);
    EXPECT_EQ(CurrentRecNo(), 2);
}

TEST_F(DBGridEhKeysTest, DownOnTheLastRecordAppendsAndUpCancelsTheNewRecord)
{
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Down);
    EXPECT_EQ(Data->State(), TDataSetState::dsInsert);
    // Down again on the untouched new record does nothing.
    Key(Qt::Key_Down);
    EXPECT_EQ(Data->State(), TDataSetState::dsInsert);
    Key(Qt::Key_Up);
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Data->RecordCount(), RowTotal);
    EXPECT_EQ(CurrentName(), RowName(RowTotal - 1));
}

TEST_F(DBGridEhKeysTest, NoAppendOnAReadOnlyGrid)
{
    Grid->SetReadOnly(true);
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Down);
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
}

TEST_F(DBGridEhKeysTest, EscapeCancelsTheInsertedRecord)
{
    Key(Qt::Key_Insert);
    EXPECT_EQ(Data->State(), TDataSetState::dsInsert);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Data->RecordCount(), RowTotal);
}

TEST_F(DBGridEhKeysTest, LeavingTheGridCancelsAnUntouchedInsert)
{
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Down);
    ASSERT_EQ(Data->State(), TDataSetState::dsInsert);
    auto* other = new TEdit(Form);
    other->SetParent(Form);
    other->SetFocus();
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Data->RecordCount(), RowTotal);
}

class DBGridEhDeleteKeyTest : public DBGridInputTest {
protected:
    void SetUp() override
    {
        DBGridInputTest::SetUp();
        BoxesExpected = true;
    }
};

TEST_F(DBGridEhDeleteKeyTest, CtrlDeleteAsksAndDeletesOnlyWhenConfirmed)
{
    Key(Qt::Key_Down);
    Boxes.Answer(mrCancel);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(Boxes.Shown().size(), 1u);
    EXPECT_EQ(Boxes.Shown()[0].Text, u"Delete record?"_s);
    EXPECT_EQ(Data->RecordCount(), RowTotal);
    Boxes.Answer(mrOk);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Data->RecordCount(), RowTotal - 1);
    EXPECT_EQ(CurrentName(), RowName(2));
}

TEST_F(DBGridEhDeleteKeyTest, CtrlDeleteWithSelectedRowsDeletesThemAll)
{
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    ClickCell(0, DataRow(1));
    ClickCell(0, DataRow(3), Qt::ControlModifier);
    ASSERT_EQ(SelectedCount(), 2);
    Boxes.Answer(mrOk);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(Boxes.Shown().size(), 1u);
    EXPECT_EQ(Boxes.Shown()[0].Text, u"Delete all selected records?"_s);
    EXPECT_EQ(Data->RecordCount(), RowTotal - 2);
    EXPECT_FALSE(Data->Locate(u"名称"_s, Variant(RowName(1)), {}));
    EXPECT_FALSE(Data->Locate(u"名称"_s, Variant(RowName(3)), {}));
}

TEST_F(DBGridEhDeleteKeyTest, OneSelectedRowAwayFromTheCurrentIsWhatGoes)
{
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    ClickCell(0, DataRow(1));
    ASSERT_EQ(SelectedCount(), 1);
    // The wheel moves the record and keeps the selection.
    Wheel(-120);
    Wheel(-120);
    ASSERT_EQ(CurrentName(), RowName(3));
    Boxes.Answer(mrOk);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(Boxes.Shown().size(), 1u);
    EXPECT_EQ(Boxes.Shown()[0].Text, u"Delete all selected records?"_s);
    EXPECT_FALSE(Data->Locate(u"名称"_s, Variant(RowName(1)), {}));
    EXPECT_TRUE(Data->Locate(u"名称"_s, Variant(RowName(3)), {}));
}

TEST_F(DBGridEhDeleteKeyTest, WithoutConfirmDeleteNoQuestion)
{
    Grid->SetOptions(Grid->Options() - dgConfirmDelete);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(Boxes.Shown().empty());
    EXPECT_EQ(Data->RecordCount(), RowTotal - 1);
}

TEST_F(DBGridEhKeysTest, ShiftArrowsSelectRowsAndGiveThemBackTowardTheAnchor)
{
    Grid->SetOptions(Grid->Options() | dgMultiSelect | dgRowSelect);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(SelectedCount(), 3);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(SelectedCount(), 2);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstRecordBookmarks);
    // A plain key clears the selection (dghClearSelection is on by default).
    Key(Qt::Key_Down);
    EXPECT_EQ(SelectedCount(), 0);
}

TEST_F(DBGridEhKeysTest, ShiftArrowsWithoutRowSelectSpanARectangle)
{
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstRectangle);
    EXPECT_EQ(Grid->Selection()->Rect()->AnchorCol(), 0);
    EXPECT_EQ(Grid->Selection()->Rect()->ShiftCol(), 1);
    Key(Qt::Key_Left);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstNon);
}

TEST_F(DBGridEhKeysTest, KeysWithAClosedDataSetDoNothing)
{
    Data->Close();
    Key(Qt::Key_Down);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    Key(Qt::Key_Tab);
    EXPECT_FALSE(Data->Active());
}

// --- Incremental search ---------------------------------------------------------------------------

// The clipboard is this process's own: on a real display the system clipboard is every
// process's, and a test binary running beside this one may replace its text at any moment.
class DBGridEhSearchTest : public DBGridInputTest {
protected:
    void SetUp() override
    {
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        DBGridInputTest::SetUp();
        Grid->SetOptionsEh(Grid->OptionsEh() | dghIncSearch | dghPreferIncSearch);
        Grid->MoveToDataColumn(1, 0, false);
    }
    void TearDown() override
    {
        DBGridInputTest::TearDown();
        Clipboard()->SetStore(nullptr);
    }
};

TEST_F(DBGridEhSearchTest, TypedChineseThroughTheInputMethodFindsTheRecord)
{
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    CommitText(Window(), u"张"_s);
    EXPECT_TRUE(Grid->InIncrementalSearch());
    EXPECT_EQ(CurrentName(), RowName(0));
    CommitText(Window(), u"三"_s);
    EXPECT_EQ(Grid->IncrementalSearchText(), u"张三"_s);
    EXPECT_EQ(CurrentName(), u"张三"_s);
    // Backspace drops the whole last character.
    Key(Qt::Key_Backspace, Qt::NoModifier, u"\b"_s);
    EXPECT_EQ(Grid->IncrementalSearchText(), u"张"_s);
}

TEST_F(DBGridEhSearchTest, TheSearchTextTakesTheCaseOfTheValueFound)
{
    TypeText(Window(), u"ab"_s);
    EXPECT_EQ(Grid->IncrementalSearchText(), u"Ab"_s);
    EXPECT_EQ(CurrentName(), u"Abc"_s);
    TypeText(Window(), u"d"_s);
    EXPECT_EQ(Grid->IncrementalSearchText(), u"abd"_s);
    EXPECT_EQ(CurrentName(), u"abd"_s);
}

TEST_F(DBGridEhSearchTest, AMissKeepsTheTextAndTheRecord)
{
    TypeText(Window(), u"ab"_s);
    TypeText(Window(), u"x"_s);
    EXPECT_EQ(Grid->IncrementalSearchText(), u"Ab"_s);
    EXPECT_EQ(CurrentName(), u"Abc"_s);
}

TEST_F(DBGridEhSearchTest, CtrlEnterFindsTheNextMatchAndEscEndsTheSearch)
{
    TypeText(Window(), u"a"_s);
    EXPECT_EQ(CurrentName(), u"Abc"_s);
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(CurrentName(), u"abd"_s);
    Key(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(CurrentName(), u"Abc"_s);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Grid->InIncrementalSearch());
    EXPECT_TRUE(Grid->IncrementalSearchText().isEmpty());
}

TEST_F(DBGridEhSearchTest, TheSearchEndsAfterItsTimeout)
{
    DBGridEhSearchSettings().TimeoutMs = 50;
    TypeText(Window(), u"a"_s);
    DBGridEhSearchSettings().TimeoutMs = 1500;
    ASSERT_TRUE(Grid->InIncrementalSearch());
    ProcessUntil([this] { return !Grid->InIncrementalSearch(); });
    EXPECT_TRUE(Grid->IncrementalSearchText().isEmpty());
}

TEST_F(DBGridEhSearchTest, PastingDuringTheSearchExtendsIt)
{
    Clipboard()->SetAsText(u"赵"_s);
    // Another program on the display takes the system clipboard meanwhile.
    QGuiApplication::clipboard()->setText(u"6"_s);
    Key(Qt::Key_F, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Grid->IncrementalSearchText(), u"赵"_s);
    EXPECT_EQ(CurrentName(), u"赵六"_s);
}

// Each search step pauses the dataset's controls; the columns, and a width the user gave one,
// come through the pause as they were.
TEST_F(DBGridEhSearchTest, TheColumnsOutliveTheSearch)
{
    const TColumnEh* name = Grid->Columns()->ColumnAt(1);
    Grid->Columns()->ColumnAt(1)->SetWidth(123);
    TypeText(Window(), u"ab"_s);
    ASSERT_EQ(CurrentName(), u"Abc"_s);
    EXPECT_EQ(Grid->Columns()->ColumnAt(1), name);
    EXPECT_EQ(Grid->Columns()->ColumnAt(1)->Width(), 123);
}

TEST_F(DBGridEhSearchTest, CtrlFStartsASearchWithoutTimeout)
{
    Grid->SetOptionsEh(Grid->OptionsEh() - dghPreferIncSearch);
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(Grid->InIncrementalSearch());
    TypeText(Window(), u"王"_s);
    EXPECT_EQ(CurrentName(), u"王五"_s);
}

// Backspace shortens only the search text, however the search began: the record stays as stored.
TEST_F(DBGridEhSearchTest, BackspaceDuringTheSearchLeavesTheRecordAlone)
{
    for (const bool CtrlF : {false, true}) {
        SCOPED_TRACE(CtrlF ? "after Ctrl+F" : "typed");
        Key(Qt::Key_Escape);
        Data->First();
        if (CtrlF)
            Key(Qt::Key_F, Qt::ControlModifier);
        TypeText(Window(), u"ab"_s);
        ASSERT_EQ(CurrentName(), u"Abc"_s);
        Key(Qt::Key_Backspace, Qt::NoModifier, u"\b"_s);
        Key(Qt::Key_Backspace, Qt::NoModifier, u"\b"_s);
        EXPECT_TRUE(Grid->IncrementalSearchText().isEmpty());
        EXPECT_FALSE(Grid->EditorMode());
        EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
        Key(Qt::Key_Backspace, Qt::NoModifier, u"\b"_s);
        Key(Qt::Key_Down);
        Data->SetRecNo(4);
        EXPECT_EQ(CurrentName(), u"Abc"_s);
    }
}

TEST(DBGridEhSearchTextTest, MatchesAndCharacters)
{
    EXPECT_TRUE(LocateTextMatches(u"Abc"_s, u"ab"_s, TLocateTextMatchTypeEh::ltmFromBeginningEh, true));
    EXPECT_FALSE(LocateTextMatches(u"Abc"_s, u"ab"_s, TLocateTextMatchTypeEh::ltmFromBeginningEh, false));
    EXPECT_TRUE(LocateTextMatches(u"xAbc"_s, u"ab"_s, TLocateTextMatchTypeEh::ltmAnyPartEh, true));
    EXPECT_FALSE(LocateTextMatches(u"xAbc"_s, u"ab"_s, TLocateTextMatchTypeEh::ltmFromBeginningEh, true));
    EXPECT_TRUE(LocateTextMatches(u"张三"_s, u"张三"_s, TLocateTextMatchTypeEh::ltmWholeEh, false));
    EXPECT_FALSE(LocateTextMatches(u"张三丰"_s, u"张三"_s, TLocateTextMatchTypeEh::ltmWholeEh, false));
    EXPECT_EQ(DropLastCharacter(u"张三"_s), u"张"_s);
    EXPECT_EQ(DropLastCharacter(u"a\U00020BB7"_s), u"a"_s);
    EXPECT_EQ(DropLastCharacter(String()), String());
}

// --- On a query -----------------------------------------------------------------------------------

using DBGridEhKeysADOTest = DBGridInputADOTest;

TEST_F(DBGridEhKeysADOTest, KeysMoveThroughTheQuery)
{
    Key(Qt::Key_Down);
    EXPECT_EQ(CurrentName(), RowName(1));
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(CurrentName(), RowName(RowTotal - 1));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(CurrentName(), RowName(0));
}

TEST_F(DBGridEhKeysADOTest, CtrlDeleteDeletesTheQueryRowWhenConfirmed)
{
    BoxesExpected = true;
    Key(Qt::Key_Down);
    Boxes.Answer(mrOk);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Boxes.Shown().size(), 1u);
    EXPECT_EQ(Query.RecordCount(), RowTotal - 1);
    EXPECT_FALSE(Query.Locate(NameField, Variant(RowName(1)), {}));
}

} // namespace

namespace {

using DBGridEhMessagesTest = DBGridInputTest;

TEST_F(DBGridEhMessagesTest, TheGridKeepsEscWhileTheRecordIsModified)
{
    EXPECT_EQ(Grid->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
    Data->Edit();
    Data->FieldByName(QtyField)->SetValue(Variant(99));
    EXPECT_NE(Grid->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 0);
}

TEST_F(DBGridEhMessagesTest, ADeferredLayoutWaitsForALockHeldElsewhere)
{
    const int columns = Grid->VisibleColumns()->Count();
    Grid->LockLayout();
    Grid->Columns()->ColumnAt(0)->SetVisible(false);
    Grid->UnlockLayoutDeferred();
    // A lock held across a modal loop: the posted layout cannot run and must not spin.
    Grid->LockLayout();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(Grid->VisibleColumns()->Count(), columns);
    Grid->UnlockLayoutQuietly();
    ProcessUntil([&] { return Grid->VisibleColumns()->Count() == columns - 1; });
}

} // namespace

namespace {

using DBGridEhPostTest = DBGridInputTest;

TEST_F(DBGridEhPostTest, DownPostsTheEditedRecordBeforeMoving)
{
    Key(Qt::Key_Down);
    Data->Edit();
    Data->FieldByName(QtyField)->SetValue(Variant(77));
    Key(Qt::Key_Down);
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(CurrentName(), RowName(2));
    Key(Qt::Key_Up);
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 77);
}

TEST_F(DBGridEhPostTest, APostThatFailsKeepsTheRecordAndReportsTheError)
{
    BoxesExpected = true;
    Data->FieldByName(u"名称"_s)->SetRequired(true);
    Key(Qt::Key_Insert);
    Data->FieldByName(QtyField)->SetValue(Variant(5));
    Key(Qt::Key_Down);
    ASSERT_EQ(Boxes.Shown().size(), 1u);
    EXPECT_FALSE(Boxes.Shown()[0].Text.isEmpty());
    EXPECT_EQ(Data->State(), TDataSetState::dsInsert);
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 5);
    EXPECT_EQ(Data->RecordCount(), RowTotal);
}

} // namespace
