// The grid's selection: rectangles, columns, records and all, what a cell answers, the grid's
// tests that gate the clipboard commands, and the selected-rows list through sorting.
#include "DBGridEhCoreSupport.h"

#include "datagrid/DBGridEhImpExp.h"
#include "support/ExceptionText.h"

#include "platform/data/DataSet.h"
#include "platform/ui/Clipboard.h"

#include <functional>

namespace {

class DBGridEhSelectionTest : public DBGridEhCoreFixture {
protected:
    void SetUp() override
    {
        DBGridEhCoreFixture::SetUp();
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        Grid->SetOptions(Grid->Options() | dgMultiSelect);
        Grid->SetDataSource(Source.get());
        Grid->OnSelectionChanged = [this](TObject*) { ++Changes; };
    }

    void TearDown() override
    {
        Clipboard()->SetStore(nullptr);
        DBGridEhCoreFixture::TearDown();
    }

    TBookmark BookmarkOf(int RecNo)
    {
        Data->SetRecNo(RecNo);
        return Data->Bookmark();
    }

    TColumnEh* Col(int Index) { return Grid->Columns()->ColumnAt(Index); }

    // Collection indexes of the selected columns in list order.
    std::vector<int> SelectedCols()
    {
        std::vector<int> result;
        TDBGridEhSelectionCols* cols = Grid->Selection()->Columns();
        for (int i = 0; i < cols->Count(); ++i)
            result.push_back(cols->ColumnAt(i)->Index());
        return result;
    }

    TDBGridEhSelectionType Kind() { return Grid->Selection()->SelectionType(); }

    int Changes = 0;
};

using Kinds = TDBGridEhSelectionType;

TEST_F(DBGridEhSelectionTest, ASingleCellRectangleIsNoSelectionAndExtendingKeepsTheAnchor)
{
    TDBGridEhSelectionRect* rect = Grid->Selection()->Rect();
    const TBookmark second = BookmarkOf(2);
    const TBookmark fourth = BookmarkOf(4);
    rect->SelectTo(1, second, false);
    EXPECT_EQ(Kind(), Kinds::gstNon);
    rect->SelectTo(2, fourth, true);
    EXPECT_EQ(Kind(), Kinds::gstRectangle);
    EXPECT_EQ(rect->AnchorCol(), 1);
    EXPECT_EQ(rect->TopRowBookmark(), second);
    EXPECT_EQ(rect->BottomRowBookmark(), fourth);
    // Back onto the anchor: one cell again; away once more keeps the same anchor.
    rect->SelectTo(1, second, true);
    EXPECT_EQ(Kind(), Kinds::gstNon);
    rect->SelectTo(1, BookmarkOf(3), true);
    EXPECT_EQ(Kind(), Kinds::gstRectangle);
    EXPECT_EQ(rect->AnchorBookmark(), second);

    EXPECT_TRUE(Grid->Selection()->IsCellSelected(1, BookmarkOf(3)));
    EXPECT_FALSE(Grid->Selection()->IsCellSelected(2, BookmarkOf(3)));
    EXPECT_FALSE(Grid->Selection()->IsCellSelected(1, BookmarkOf(4)));
    EXPECT_FALSE(Grid->Selection()->IsCellSelected(-1, BookmarkOf(3)));
    EXPECT_GE(Changes, 4);
}

TEST_F(DBGridEhSelectionTest, TheRectanglesCellsShownAreItsRepaintRange)
{
    TDBGridEhSelectionRect* rect = Grid->Selection()->Rect();
    Data->First();
    rect->SelectTo(0, BookmarkOf(2), false);
    rect->SelectTo(2, BookmarkOf(3), true);
    const int above = Grid->RowsAboveData();
    Data->First();
    EXPECT_EQ(rect->CellRange(), (TGridCellRangeEh{1, 1 + above, 3, 2 + above}));
    EXPECT_EQ(Grid->Selection()->SelectionCellRange(), rect->CellRange());
    EXPECT_FALSE(rect->PixelRect(0, BookmarkOf(2), 2, BookmarkOf(3)).IsEmpty());
    // Scrolled out of view: nothing of it is shown.
    Data->Last();
    EXPECT_EQ(rect->CellRange(), (TGridCellRangeEh{-1, -1, -1, -1}));
}

TEST_F(DBGridEhSelectionTest, TheCornersRaiseTheGridErrorWithoutAnActiveLink)
{
    TDBGridEhSelectionRect* rect = Grid->Selection()->Rect();
    rect->SelectTo(0, BookmarkOf(1), false);
    rect->SelectTo(1, BookmarkOf(2), true);
    Data->Close();
    EXPECT_EQ(ExceptionText([&] { rect->CellSelected(0, TBookmark()); }),
              u"Error in function TDBGridEhSelectionRect.CellSelected"_s);
    EXPECT_EQ(ExceptionText([&] { rect->TopRowBookmark(); }), u"Error in TDBGridEhSelectionRect.GetBottomRow"_s);
    EXPECT_EQ(ExceptionText([&] { rect->RightColIndex(); }), u"Error in TDBGridEhSelectionRect.GetBottomRow"_s);
    // Closing the link emptied the selection.
    EXPECT_EQ(Kind(), Kinds::gstNon);
}

TEST_F(DBGridEhSelectionTest, AllAndNothingAnswerForEveryCellIncludingTheIndicator)
{
    Grid->Selection()->SelectAllCells();
    EXPECT_EQ(Kind(), Kinds::gstAll);
    EXPECT_TRUE(Grid->Selection()->IsCellSelected(-1, BookmarkOf(7)));
    EXPECT_TRUE(Grid->Selection()->IsCellSelected(3, BookmarkOf(50)));
    EXPECT_EQ(Grid->Selection()->SelectionCellRange(),
              (TGridCellRangeEh{0, 0, Grid->ColCount() - 1, Grid->RowCount() - 1}));
    Grid->Selection()->ResetSelection();
    EXPECT_EQ(Kind(), Kinds::gstNon);
    EXPECT_FALSE(Grid->Selection()->IsCellSelected(-1, BookmarkOf(7)));
    EXPECT_FALSE(Grid->Selection()->IsCellSelected(0, BookmarkOf(7)));
}

TEST_F(DBGridEhSelectionTest, ColumnsSelectToggleAndStayInGridOrder)
{
    TDBGridEhSelectionCols* cols = Grid->Selection()->Columns();
    cols->SelectColumn(Col(2), false);
    cols->ToggleColumn(Col(0));
    EXPECT_EQ(SelectedCols(), (std::vector<int>{0, 2}));
    EXPECT_EQ(Kind(), Kinds::gstColumns);
    EXPECT_TRUE(Grid->Selection()->IsCellSelected(2, BookmarkOf(1)));
    EXPECT_FALSE(Grid->Selection()->IsCellSelected(1, BookmarkOf(1)));
    EXPECT_FALSE(Grid->Selection()->IsCellSelected(-1, BookmarkOf(1)));
    EXPECT_EQ(cols->CellRange(), (TGridCellRangeEh{1, 0, 3, Grid->RowCount() - 1}));
    cols->SelectColumn(Col(1), false);
    EXPECT_EQ(SelectedCols(), std::vector<int>{1});
    // Toggling the only column off leaves nothing selected.
    cols->ToggleColumn(Col(1));
    EXPECT_EQ(Kind(), Kinds::gstNon);
}

TEST_F(DBGridEhSelectionTest, ShiftExtendingBackAcrossTheAnchorUndoesOnlyItsOwnColumns)
{
    for (const String& name : {u"id"_s, u"名称"_s, QtyField, AmountField, u"名称"_s, QtyField})
        AddColumn(name);
    ASSERT_EQ(Grid->Columns()->Count(), 6);
    // Columns 0..5; 5 chosen with Ctrl before, the anchor at 2.
    TDBGridEhSelectionCols* cols = Grid->Selection()->Columns();
    cols->SelectColumn(Col(5), false);
    cols->ToggleColumn(Col(2));
    cols->ShiftSelectTo(Col(4));
    EXPECT_EQ(SelectedCols(), (std::vector<int>{2, 3, 4, 5}));
    cols->ShiftSelectTo(Col(0));
    EXPECT_EQ(SelectedCols(), (std::vector<int>{0, 1, 2, 5}));
    cols->ShiftSelectTo(Col(3));
    EXPECT_EQ(SelectedCols(), (std::vector<int>{2, 3, 5}));
    EXPECT_EQ(cols->ShiftCol(), Col(3));
}

TEST_F(DBGridEhSelectionTest, WithTheAnchorToggledOffShiftExtendingTakesColumnsOut)
{
    TDBGridEhSelectionCols* cols = Grid->Selection()->Columns();
    cols->SelectColumn(Col(0), false);
    cols->ShiftSelectTo(Col(3));
    ASSERT_EQ(SelectedCols(), (std::vector<int>{0, 1, 2, 3}));
    cols->ToggleColumn(Col(1));  // the anchor now, and not listed
    cols->ShiftSelectTo(Col(3));
    EXPECT_EQ(SelectedCols(), std::vector<int>{0});
    cols->ShiftSelectTo(Col(2));
    EXPECT_EQ(SelectedCols(), (std::vector<int>{0, 3}));
}

TEST_F(DBGridEhSelectionTest, ColumnsFreedByARebuildLeaveTheSelection)
{
    TDBGridEhSelectionCols* cols = Grid->Selection()->Columns();
    cols->SelectColumn(Col(1), false);
    cols->ShiftSelectTo(Col(2));
    // The dataset's field set changes: the default columns are made anew.
    Data->Close();
    Data->FieldDefs()->Add(u"备注"_s, TFieldType::ftString, 20);
    Data->Open();
    EXPECT_EQ(cols->Count(), 0);
    EXPECT_EQ(cols->Anchor(), nullptr);
    EXPECT_EQ(cols->ShiftCol(), nullptr);
    cols->ShiftSelectTo(Col(3));
    EXPECT_EQ(SelectedCols(), std::vector<int>{3});
    cols->Clear();
    EXPECT_EQ(cols->Count(), 0);
}

TEST_F(DBGridEhSelectionTest, KindsAreAllowedByOptionsAndAllowedSelections)
{
    EXPECT_TRUE(Grid->IsSelectionTypeAllowed(Kinds::gstRectangle));
    Grid->SetOptions(Grid->Options() | dgRowSelect);
    EXPECT_FALSE(Grid->IsSelectionTypeAllowed(Kinds::gstRectangle));
    EXPECT_FALSE(Grid->IsSelectionTypeAllowed(Kinds::gstColumns));
    EXPECT_TRUE(Grid->IsSelectionTypeAllowed(Kinds::gstRecordBookmarks));
    Grid->SetOptions(Grid->Options() - dgRowSelect - dgMultiSelect);
    EXPECT_FALSE(Grid->IsSelectionTypeAllowed(Kinds::gstAll));
    EXPECT_TRUE(Grid->IsSelectionTypeAllowed(Kinds::gstNon));

    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    Grid->Selection()->Rect()->SelectTo(0, BookmarkOf(1), false);
    Grid->Selection()->Rect()->SelectTo(1, BookmarkOf(2), true);
    Grid->SetAllowedSelections(gstRecordBookmarks | gstColumns);
    EXPECT_EQ(Kind(), Kinds::gstNon);
    EXPECT_EQ(Grid->Selection()->Rect()->AnchorCol(), -1);
    EXPECT_FALSE(Grid->IsSelectionTypeAllowed(Kinds::gstRectangle));
}

TEST_F(DBGridEhSelectionTest, TheCommandTestsFollowTheGridAndTheSelection)
{
    EXPECT_TRUE(Grid->CanCopyToClipboard());
    EXPECT_TRUE(Grid->CanSelectAll());
    // Nothing selected: nothing to delete or cut.
    Grid->Selection()->ResetSelection();
    EXPECT_FALSE(Grid->CanDeleteSelection());
    Grid->Selection()->SelectAllCells();
    EXPECT_TRUE(Grid->CanDeleteSelection());
    EXPECT_TRUE(Grid->CanCutToClipboard());
    Grid->SetAllowedOperations(alopUpdateEh);
    EXPECT_FALSE(Grid->CanDeleteSelection());
    Grid->Selection()->Columns()->SelectColumn(Col(1), false);
    EXPECT_TRUE(Grid->CanDeleteSelection());  // columns are cleared, not deleted
    Grid->SetReadOnly(true);
    EXPECT_FALSE(Grid->CanDeleteSelection());
    EXPECT_FALSE(Grid->CanCutToClipboard());
    Grid->SetReadOnly(false);

    // Paste needs something on the clipboard it can read.
    Clipboard()->Clear();
    EXPECT_FALSE(Grid->CanPasteFromClipboard());
    Clipboard()->SetAsText(u"x"_s);
    EXPECT_TRUE(Grid->CanPasteFromClipboard());
    Grid->SetAllowedOperations(alopInsertEh);
    EXPECT_FALSE(Grid->CanPasteFromClipboard());
    Data->Insert();
    EXPECT_TRUE(Grid->CanPasteFromClipboard());
    Data->Cancel();

    Grid->SetAllowedSelections(gstRecordBookmarks);
    EXPECT_FALSE(Grid->CanSelectAll());
    Data->Close();
    EXPECT_FALSE(Grid->CanCopyToClipboard());
    EXPECT_FALSE(Grid->CanPasteFromClipboard());
}

// --- The selected-rows list ---------------------------------------------------------------------

TEST_F(DBGridEhSelectionTest, SelectingARecordTurnsARectangleIntoARecordSelection)
{
    Grid->Selection()->Rect()->SelectTo(0, BookmarkOf(1), false);
    Grid->Selection()->Rect()->SelectTo(1, BookmarkOf(2), true);
    ASSERT_EQ(Kind(), Kinds::gstRectangle);
    Data->SetRecNo(5);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    EXPECT_EQ(Kind(), Kinds::gstRecordBookmarks);
    EXPECT_EQ(Grid->Selection()->Rect()->AnchorCol(), -1);
    EXPECT_TRUE(Grid->Selection()->IsCellSelected(-1, BookmarkOf(5)));
    EXPECT_FALSE(Grid->Selection()->IsCellSelected(0, BookmarkOf(4)));

    // The last one unlisted: nothing selected, and the grid told.
    Changes = 0;
    Data->SetRecNo(5);
    Grid->SelectedRows()->SetCurrentRowSelected(false);
    EXPECT_EQ(Kind(), Kinds::gstNon);
    EXPECT_GE(Changes, 1);
}

// Copy and delete act on the selection: once the grid can no longer show one, none is left.
TEST_F(DBGridEhSelectionTest, LeavingMultiSelectClearsEverySelection)
{
    const std::function<void()> Selects[] = {
        [this] {
            Data->SetRecNo(2);
            Grid->SelectedRows()->SetCurrentRowSelected(true);
        },
        [this] {
            Grid->Selection()->Rect()->SelectTo(0, BookmarkOf(1), false);
            Grid->Selection()->Rect()->SelectTo(1, BookmarkOf(3), true);
        },
        [this] { Grid->Selection()->Columns()->SelectColumn(Col(1), false); },
        [this] { Grid->Selection()->SelectAllCells(); },
    };
    for (std::size_t i = 0; i < std::size(Selects); ++i) {
        SCOPED_TRACE(i);
        Grid->SetOptions(Grid->Options() | dgMultiSelect);
        Selects[i]();
        ASSERT_NE(Kind(), Kinds::gstNon);
        Grid->SetOptions(Grid->Options() - dgMultiSelect);
        EXPECT_EQ(Kind(), Kinds::gstNon);
        EXPECT_EQ(Grid->SelectedRows()->ItemCount(), 0);
        EXPECT_FALSE(Grid->Selection()->IsCellSelected(1, BookmarkOf(2)));
    }
}

TEST_F(DBGridEhSelectionTest, SelectingOnAnEmptyDataSetChangesNothing)
{
    Grid->Selection()->ResetSelection();
    while (!Data->IsEmpty())
        Data->Delete();
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    EXPECT_EQ(Grid->SelectedRows()->ItemCount(), 0);
    EXPECT_EQ(Kind(), Kinds::gstNon);
}

TEST_F(DBGridEhSelectionTest, VisibleSelectionRangeCoversTheShownSelectedRows)
{
    Data->First();
    Data->SetRecNo(2);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    Data->SetRecNo(4);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    Data->First();
    const int above = Grid->RowsAboveData();
    EXPECT_EQ(Grid->SelectedRows()->VisibleSelectionRange(), (TGridCellRangeEh{0, 1 + above, Grid->ColCount() - 1, 3 + above}));
    Data->Last();
    EXPECT_EQ(Grid->SelectedRows()->VisibleSelectionRange(), (TGridCellRangeEh{-1, -1, -1, -1}));
}

TEST_F(DBGridEhSelectionTest, SelectedRecordsStayTheSameRecordsThroughASortAndAreTheOnesDeleted)
{
    for (const int recNo : {3, 10, 20}) {
        Data->SetRecNo(recNo);
        Grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    // The title click of the record pages re-sorts the query on the client.
    Data->SetSort(QtyField + u" DESC"_s);
    std::vector<int> listed;
    for (Data->First(); !Data->Eof(); Data->Next())
        if (Grid->SelectedRows()->IsCurrentRowSelected())
            listed.push_back(Data->FieldByName(QtyField)->AsInteger());
    EXPECT_EQ(listed, (std::vector<int>{20, 10, 3}));
    Grid->SelectedRows()->DeleteListedRecords();
    EXPECT_EQ(Data->RecordCount(), 47);
    for (Data->First(); !Data->Eof(); Data->Next()) {
        const int quantity = Data->FieldByName(QtyField)->AsInteger();
        EXPECT_TRUE(quantity != 3 && quantity != 10 && quantity != 20) << quantity;
    }
    EXPECT_EQ(Kind(), Kinds::gstNon);
}

}  // namespace
