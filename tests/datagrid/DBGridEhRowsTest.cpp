// Rows and scroll bars: the five-step thumb, the external horizontal bar's values, the memory
// table's rows and row scrolling, and the base grid's sizing and moving seen by the columns.
#include "DBGridEhCoreSupport.h"
#include "MemTableTestSupport.h"

#include "platform/data/DataSet.h"

#include <algorithm>
#include <vector>

namespace {

// A dataset that cannot number its records.
class TUnnumberedDataSet : public TMemoryDataSet {
public:
    using TMemoryDataSet::TMemoryDataSet;
    bool IsSequenced() const override { return false; }
};

using DBGridEhRowsTest = DBGridEhCoreFixture;

TEST_F(DBGridEhRowsTest, WithoutRecordNumbersTheThumbTakesFiveSteps)
{
    std::unique_ptr<TUnnumberedDataSet> Unnumbered(NewStockDataSet<TUnnumberedDataSet>(nullptr));
    Unnumbered->Open();
    for (int i = 0; i < 30; ++i)
        Unnumbered->AppendRecord({Variant(), Variant(u"笔"_s), Variant(i), Variant(1.0)});
    Unnumbered->First();
    Source->SetDataSet(Unnumbered.get());
    Grid->SetDataSource(Source.get());
    TScrollInfo Info = Grid->VertInfo();
    EXPECT_EQ(Info.nMin, 0);
    EXPECT_EQ(Info.nMax, 4);
    EXPECT_EQ(Info.nPos, 0);
    Unnumbered->MoveBy(12);
    EXPECT_EQ(Grid->VertInfo().nPos, 2);
    Unnumbered->Last();
    EXPECT_EQ(Grid->VertInfo().nPos, 4);
    Unnumbered->Prior();
    EXPECT_EQ(Grid->VertInfo().nPos, 2);
    Source->SetDataSet(Data.get());
}

TEST_F(DBGridEhRowsTest, AnExternalHorizontalBarMapsTheLeftColumnOntoItsRange)
{
    Grid->SetDataSource(Source.get());
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        Grid->Columns()->ColumnAt(i)->SetWidth(150);
    TScrollInfo Info = Grid->ComputeHorzScrollInfo();
    EXPECT_EQ(Info.nMin, 0);
    EXPECT_EQ(Info.nMax, 127);
    EXPECT_EQ(Info.nPos, 0);
    EXPECT_EQ(static_cast<int>(Info.nPage), 2);
    Grid->ChangeLeftCol(Grid->ColCount() - 1);
    Info = Grid->ComputeHorzScrollInfo();
    EXPECT_EQ(Info.nPos, 127);
    // Every column fits: nothing to scroll.
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        Grid->Columns()->ColumnAt(i)->SetWidth(40);
    Info = Grid->ComputeHorzScrollInfo();
    EXPECT_EQ(Info.nMax, 0);
    EXPECT_EQ(Info.nPos, 0);
}

TEST_F(DBGridEhRowsTest, DraggingPastTheFirstOrLastRowMovesTheDataset)
{
    Grid->SetDataSource(Source.get());
    const int fit = RowsThatFit();
    Data->MoveBy(fit + 5);
    Data->MoveBy(-(fit - 1));
    ASSERT_EQ(Grid->Row(), 1);
    const int recNo = Data->RecNo();
    Grid->StepAnchorCell(gsdUp);
    EXPECT_EQ(Data->RecNo(), recNo - 1);
    Data->MoveBy(fit - 1);
    ASSERT_EQ(Grid->Row(), fit);
    const int lastRecNo = Data->RecNo();
    Grid->StepAnchorCell(gsdDown);
    EXPECT_EQ(Data->RecNo(), lastRecNo + 1);
}

TEST_F(DBGridEhRowsTest, SizingAColumnInTheGridSetsTheColumnsWidthWithinItsLimits)
{
    TColumnEh* Name = AddColumn(u"名称"_s);
    AddColumn(QtyField);
    Name->SetMinWidth(50);
    Grid->SetDataSource(Source.get());
    int changes = 0;
    Grid->OnColWidthsChanged = [&](TObject*) { ++changes; };
    Grid->ChangeColWidth(1, 140);
    EXPECT_EQ(Name->Width(), 140);
    EXPECT_GT(changes, 0);
    Grid->ChangeColWidth(1, 20);
    EXPECT_EQ(Name->Width(), 50);
    EXPECT_EQ(Grid->ColWidthAt(1), 50);
}

TEST_F(DBGridEhRowsTest, SizingAColumnUnderAutoFitMovesTheStretchBases)
{
    TColumnEh* A = AddColumn(u"名称"_s);
    TColumnEh* B = AddColumn(QtyField);
    A->SetWidth(100);
    B->SetWidth(100);
    Grid->SetDataSource(Source.get());
    Grid->SetAutoFitColWidths(true);
    const int total = A->Width() + B->Width();
    Grid->ChangeColWidth(1, A->Width() / 2);
    // The neighbour takes what the sized column gave up.
    EXPECT_LT(A->DesignWidth(), 100);
    EXPECT_GT(B->DesignWidth(), 100);
    EXPECT_EQ(A->Width() + B->Width(), total);
    EXPECT_LT(A->Width(), B->Width());
}

TEST_F(DBGridEhRowsTest, ARowSizedInTheGridBecomesTheRowHeight)
{
    Grid->SetDataSource(Source.get());
    Grid->ChangeRowHeight(3, 45);
    EXPECT_EQ(Grid->RowHeight(), 45);
    EXPECT_EQ(Grid->ComputedRowHeight(), 45);
    EXPECT_EQ(Grid->RowHeightAt(1), 45);
    EXPECT_EQ(Grid->DataLink()->BufferCount(), RowsThatFit());
}

// Every size change fits the buffered rows to the client area and keeps the current row in it.
TEST_F(DBGridEhRowsTest, ASizeChangeFitsTheRowsAndKeepsTheCurrentRowInView)
{
    // Start height, new height, the record moved to afterwards (0: none).
    const int Cases[][3] = {{300, 120, 0}, {60, 500, 0}, {300, 120, 9}, {300, 10, 4}};
    Form->SetBounds(0, 0, 500, 600);
    Grid->SetDataSource(Source.get());
    for (const auto& [StartHeight, NewHeight, MoveToRecord] : Cases) {
        SCOPED_TRACE(testing::Message() << StartHeight << " to " << NewHeight << ", record " << MoveToRecord);
        Data->First();
        Grid->SetBounds(0, 0, 400, StartHeight);
        Grid->SetBounds(0, 0, 400, NewHeight);
        if (MoveToRecord > 0)
            Data->SetRecNo(MoveToRecord);
        EXPECT_EQ(Grid->DataLink()->RecordCount(), RowsThatFit());
        EXPECT_EQ(Grid->RowCount(), Grid->RowsAboveData() + RowsThatFit());
        EXPECT_EQ(Grid->DataLink()->ActiveRecord() + Grid->RowsAboveData(), Grid->Row());
        if (NewHeight > 100) {
            EXPECT_LE(Grid->CellPixelRect(1, Grid->Row()).Bottom, Grid->ClientHeight());
        }
    }
}

// A horizontal bar that appears takes its height from the rows: the last one is not cut.
TEST_F(DBGridEhRowsTest, AHorizontalBarAppearingAfterAReopenTakesARow)
{
    // Stored columns keep their widths through the reopen, whatever the font.
    for (TField* Field : *Data->Fields())
        AddColumn(Field->FieldName());
    Grid->SetDataSource(Source.get());
    auto WidenColumns = [this](int Width) {
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            Grid->Columns()->ColumnAt(i)->SetWidth(Width);
    };
    WidenColumns(40);
    // Ten rows fill the client area exactly: a bar leaves room for fewer.
    Grid->SetBounds(0, 0, 400, Grid->RowHeightAt(0) + 1 + 10 * (Grid->ComputedRowHeight() + 1));
    ASSERT_FALSE(Grid->ScrollBarShown(SB_HORZ));
    const int rowsWithoutBar = RowsThatFit();
    Data->Close();
    WidenColumns(300);
    Data->Open();
    ASSERT_TRUE(Grid->ScrollBarShown(SB_HORZ));
    ASSERT_LT(RowsThatFit(), rowsWithoutBar);
    EXPECT_EQ(Grid->DataLink()->RecordCount(), RowsThatFit());
    EXPECT_LE(Grid->CellPixelRect(1, Grid->RowCount() - 1).Bottom, Grid->ClientHeight());
}

TEST_F(DBGridEhRowsTest, AColumnMovedInTheGridMovesInTheColumns)
{
    TColumnEh* Name = AddColumn(u"名称"_s);
    TColumnEh* Qty = AddColumn(QtyField);
    Grid->SetDataSource(Source.get());
    std::pair<int, int> moved{-1, -1};
    Grid->OnColumnMoved = [&](TObject*, int From, int To) { moved = {From, To}; };
    Grid->RelocateColumn(1, 2);
    EXPECT_EQ(Grid->Columns()->ColumnAt(0), Qty);
    EXPECT_EQ(Grid->Columns()->ColumnAt(1), Name);
    EXPECT_EQ(moved, std::make_pair(1, 2));
    EXPECT_EQ(Grid->ColWidthAt(2), Name->Width());
}

TEST_F(DBGridEhRowsTest, ScalingKeepsTheColumnsSummedWidth)
{
    TColumnEh* A = AddColumn(u"名称"_s);
    TColumnEh* B = AddColumn(QtyField);
    TColumnEh* C = AddColumn(AmountField);
    for (TColumnEh* Column : {A, B, C})
        Column->SetWidth(65);
    Grid->SetDataSource(Source.get());
    Grid->ChangeScale(3, 2);
    EXPECT_EQ(A->Width() + B->Width() + C->Width(), MulDiv(195, 3, 2));
    EXPECT_LE(std::max({A->Width(), B->Width(), C->Width()}) - std::min({A->Width(), B->Width(), C->Width()}), 1);
    EXPECT_EQ(Grid->ColWidthAt(3), C->Width());
}

class DBGridEhMemTableTest : public DBGridEhCoreFixture {
protected:
    void SetUp() override
    {
        DBGridEhCoreFixture::SetUp();
        Table.reset(NewStockDataSet<TMemTableDataSet>(nullptr));
        Table->Open();
        for (int i = 1; i <= 60; ++i)
            Table->AppendRecord({Variant(), Variant(QStringLiteral("行%1").arg(i)), Variant(i), Variant(1.0)});
        Table->First();
        Source->SetDataSet(Table.get());
        Grid->SetDataSource(Source.get());
    }

    void TearDown() override
    {
        Source->SetDataSet(nullptr);
        Table.reset();
        DBGridEhCoreFixture::TearDown();
    }

    // Rows fully shown from the top row on.
    int LastFullRow() { return Grid->TopRow() + Grid->FullyShownRowCount() - 1; }

    std::unique_ptr<TMemTableDataSet> Table;
};

TEST_F(DBGridEhMemTableTest, EveryRecordIsARow)
{
    ASSERT_TRUE(Grid->IsMemTableMode());
    EXPECT_EQ(Table->Observers.size(), 1u);
    EXPECT_EQ(Grid->RowCount(), 61);
    EXPECT_EQ(Grid->DisplayRecordCount(), 60);
    EXPECT_EQ(Table->ViewRows, RowsThatFit() + 1);
    Table->MoveBy(40);
    EXPECT_EQ(Grid->Row(), 41);
    EXPECT_TRUE(Grid->IsCurrentRecordRow(40));
    EXPECT_LE(Grid->TopRow(), 41);
    EXPECT_GE(LastFullRow(), 41);
    Table->AppendRecord({Variant(), Variant(u"新"_s), Variant(0), Variant(0.0)});
    EXPECT_EQ(Grid->RowCount(), 62);
    EXPECT_EQ(Grid->Row(), 61);
}

TEST_F(DBGridEhMemTableTest, TheScrollBarCountsRows)
{
    TScrollInfo Info = Grid->VertInfo();
    EXPECT_EQ(Info.nMin, 1);
    EXPECT_EQ(Info.nMax, 60);
    EXPECT_EQ(Info.nPos, 1);
    EXPECT_EQ(static_cast<int>(Info.nPage), Grid->FullyShownRowCount());
    Grid->ScrollRowsByBarAction(SB_LINEDOWN, 0);
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_EQ(Grid->VertInfo().nPos, 2);
    const int last = LastFullRow();
    Grid->ScrollRowsByBarAction(SB_PAGEDOWN, 0);
    EXPECT_EQ(Grid->TopRow(), last);
    Grid->ScrollRowsByBarAction(SB_PAGEUP, 0);
    EXPECT_EQ(LastFullRow(), last - 1);
    Grid->ScrollRowsByBarAction(SB_THUMBTRACK, 10);
    EXPECT_EQ(Grid->TopRow(), 10);
    Grid->ScrollRowsByBarAction(SB_TOP, 0);
    EXPECT_EQ(Grid->TopRow(), 1);
    Grid->ScrollRowsByBarAction(SB_BOTTOM, 0);
    EXPECT_EQ(LastFullRow(), 60);
}

TEST_F(DBGridEhMemTableTest, PageDownAndUpMoveTheRecordByTheRowsShown)
{
    // Every record is a row here, so a page is what the window shows, not the whole table.
    const int page = Grid->FullyShownRowCount();
    ASSERT_GT(page, 1);
    ASSERT_LT(page, 30);
    for (const auto& [key, recNo] : {std::pair{VK_NEXT, 1 + page}, {VK_NEXT, 1 + 2 * page}, {VK_PRIOR, 1 + page}}) {
        Grid->Perform(WM_KEYDOWN, key, 0);
        EXPECT_EQ(Table->RecNo(), recNo) << key;
    }
}

TEST_F(DBGridEhMemTableTest, TheTopRowNeverLeavesALastPageHalfEmpty)
{
    const int highest = Grid->ScrollTopRowTo(1000, true);
    EXPECT_EQ(Grid->TopRow(), 1);
    EXPECT_EQ(Grid->ScrollTopRowTo(1000, false), highest);
    EXPECT_EQ(Grid->TopRow(), highest);
    EXPECT_EQ(LastFullRow(), 60);
    EXPECT_EQ(Grid->ScrollTopRowTo(-5, false), 1);
    EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(DBGridEhMemTableTest, SwitchingToARowReadsThroughTheTable)
{
    Grid->SwitchToRowRecord(7);
    EXPECT_EQ(Table->InstantIndex, 7);
    EXPECT_TRUE(Grid->RowRecordSwitched());
    Grid->RestoreRowRecord();
    EXPECT_EQ(Table->InstantIndex, -1);
}

TEST_F(DBGridEhMemTableTest, SwitchedOffOrClosedTheTableIsLeftAlone)
{
    Grid->SetMemTableSupport(false);
    EXPECT_FALSE(Grid->IsMemTableMode());
    EXPECT_TRUE(Table->Observers.empty());
    EXPECT_EQ(Grid->RowCount(), RowsThatFit() + 1);
    Grid->SetMemTableSupport(true);
    EXPECT_EQ(Grid->RowCount(), 61);
    Table->Close();
    EXPECT_FALSE(Grid->IsMemTableMode());
    EXPECT_TRUE(Table->Observers.empty());
    EXPECT_EQ(Grid->RowCount(), 2);
}

}  // namespace
