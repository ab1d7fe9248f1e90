// The layout rebuild: counts of fixed, frozen and contra cells from the options and columns,
// row and title heights, indicator width, and the layout locks.
#include "DBGridEhCoreSupport.h"

#include <functional>

using DBGridEhLayoutTest = DBGridEhCoreFixture;

TEST_F(DBGridEhLayoutTest, TitlesAndIndicatorMakeTheFixedCells)
{
    Grid->SetDataSource(Source.get());
    EXPECT_EQ(Grid->FixedRows(), 1);
    EXPECT_EQ(Grid->FixedCols(), 1);
    EXPECT_EQ(Grid->ColWidthAt(0), Grid->ComputeIndicatorWidth());
    EXPECT_EQ(Grid->RowHeightAt(0), Grid->ComputedTitleHeight());
    EXPECT_EQ(Grid->ColWidthAt(2), Grid->Columns()->ColumnAt(1)->Width());
    EXPECT_EQ(Grid->LastWidthColumn(), 4);
    Grid->Columns()->ColumnAt(3)->SetVisible(false);
    Grid->NotifyLayoutChanged();
    EXPECT_EQ(Grid->LastWidthColumn(), 3);
    Grid->Columns()->ColumnAt(3)->SetVisible(true);
    Grid->SetFlat(true);
    Grid->NotifyLayoutChanged();
    EXPECT_EQ(Grid->FixedCellLineColor(), RGB(128, 128, 128));
    Grid->SetFlat(false);
    Grid->NotifyLayoutChanged();
    const int rowsWithTitles = Grid->RowCount();

    Grid->SetOptions(Grid->Options() - dgTitles - dgIndicator);
    EXPECT_EQ(Grid->RowsAboveData(), 0);
    EXPECT_EQ(Grid->FixedRows(), 0);
    EXPECT_EQ(Grid->FixedCols(), 0);
    EXPECT_EQ(Grid->IndicatorOffset(), 0);
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_EQ(Grid->ColWidthAt(1), Grid->Columns()->ColumnAt(1)->Width());
    // The title row's room goes to data rows.
    EXPECT_GE(Grid->RowCount(), rowsWithTitles - 1);
    EXPECT_EQ(Grid->RowCount(), RowsThatFit());
    EXPECT_EQ(Grid->Row(), Grid->DataLink()->ActiveRecord());
}

TEST_F(DBGridEhLayoutTest, FrozenColumnsBecomeFrozenFixedCells)
{
    Grid->SetDataSource(Source.get());
    Grid->SetFrozenCols(2);
    EXPECT_EQ(Grid->FixedCols(), 3);
    EXPECT_EQ(Grid->FrozenFixedCols(), 2);
    // A hidden column among the frozen ones is passed over: one more is frozen.
    Grid->Columns()->ColumnAt(0)->SetVisible(false);
    EXPECT_EQ(Grid->FixedCols(), 4);
    EXPECT_EQ(Grid->ColWidthAt(1), -1);
    Grid->SetFrozenCols(-1);
    EXPECT_EQ(Grid->FrozenCols(), 2);
    Grid->Columns()->ColumnAt(0)->SetVisible(true);
    Grid->SetFrozenCols(0);
    EXPECT_EQ(Grid->FixedCols(), 1);
    EXPECT_EQ(Grid->FrozenFixedCols(), 0);
}

TEST_F(DBGridEhLayoutTest, FrozenAndContraColumnsAlwaysLeaveOneColumnToScroll)
{
    Grid->SetDataSource(Source.get());
    Grid->SetOptions(Grid->Options() - dgIndicator);
    for (int i = 0; i < 4; ++i)
        Grid->Columns()->ColumnAt(i)->SetVisible(false);
    // No indicator and no visible column: no negative fixed count.
    EXPECT_NO_THROW(Grid->SetFrozenCols(1));
    EXPECT_EQ(Grid->FixedCols(), 0);
    for (int i = 0; i < 4; ++i)
        Grid->Columns()->ColumnAt(i)->SetVisible(true);
    Grid->SetFrozenCols(1);
    EXPECT_NO_THROW(Grid->SetContraColCount(10));
    EXPECT_EQ(Grid->FixedCols(), 1);
    EXPECT_EQ(Grid->TotalColCount() - Grid->ColCount(), 2);
    EXPECT_EQ(Grid->ColCount() - Grid->FixedCols(), 1);
}

TEST_F(DBGridEhLayoutTest, FooterRowsArePinnedAndTakeTheirRoomFromTheData)
{
    Grid->SetDataSource(Source.get());
    const int without = Grid->DataLink()->BufferCount();
    Grid->SetFooterRowCount(2);
    EXPECT_EQ(Grid->TCustomGridEh::ContraRowCount(), 2);
    EXPECT_EQ(Grid->DataLink()->BufferCount(), RowsThatFit());
    EXPECT_LT(Grid->DataLink()->BufferCount(), without);
    Grid->SetFooterRowCount(-1);
    EXPECT_EQ(Grid->FooterRowCount(), 2);
    Grid->SetFooterRowCount(0);
    EXPECT_EQ(Grid->TCustomGridEh::ContraRowCount(), 0);
    EXPECT_EQ(Grid->DataLink()->BufferCount(), without);
}

TEST_F(DBGridEhLayoutTest, MultiLevelTitlesAreTallerThanOneLine)
{
    AddColumn(u"名称"_s)->Title()->SetCaption(u"物品|名称"_s);
    AddColumn(QtyField)->Title()->SetCaption(u"物品|数量"_s);
    Grid->SetDataSource(Source.get());
    const int single = Grid->RowHeightAt(0);
    Grid->SetUseMultiTitle(true);
    EXPECT_GT(Grid->RowHeightAt(0), single);
    EXPECT_EQ(Grid->RowHeightAt(0), Grid->HeadTree()->Height - 1);
    ASSERT_NE(Grid->LeafOfColumn(1), nullptr);
    EXPECT_EQ(Grid->LeafOfColumn(1)->Caption, u"数量"_s);
    EXPECT_EQ(Grid->DataLink()->BufferCount(), RowsThatFit());
}

TEST_F(DBGridEhLayoutTest, TitleLinesAndHeightAddUp)
{
    Grid->SetDataSource(Source.get());
    Grid->SetTitleLines(2);
    const int twoLines = Grid->RowHeightAt(0);
    Grid->SetTitleLines(3);
    const int line = Grid->RowHeightAt(0) - twoLines;
    EXPECT_GT(line, 0);
    Grid->SetTitleHeight(10);
    EXPECT_EQ(Grid->RowHeightAt(0), twoLines + line + 10);
}

// Setting a title metric to the value it has rebuilds nothing: a title row sized by hand stays.
TEST_F(DBGridEhLayoutTest, TitleMetricsSetToTheirValueKeepTheLayout)
{
    Grid->SetDataSource(Source.get());
    const std::function<void()> unchangedSetters[] = {
        [&] { Grid->SetTitleHeight(Grid->TitleHeight()); },
        [&] { Grid->SetTitleLines(Grid->TitleLines()); },
        [&] { Grid->SetVTitleMargin(Grid->VTitleMargin()); },
    };
    for (const auto& setUnchanged : unchangedSetters) {
        Grid->ChangeRowHeight(0, 77);
        setUnchanged();
        EXPECT_EQ(Grid->RowHeightAt(0), 77);
    }
}

TEST_F(DBGridEhLayoutTest, RowHeightAndRowLinesSetTheDataRows)
{
    Grid->SetDataSource(Source.get());
    const int plain = Grid->ComputedRowHeight();
    Grid->SetRowHeight(40);
    EXPECT_EQ(Grid->ComputedRowHeight(), 40);
    EXPECT_EQ(Grid->RowHeightAt(1), 40);
    EXPECT_EQ(Grid->DataLink()->BufferCount(), RowsThatFit());
    Grid->SetRowHeight(0);
    Grid->SetRowLines(2);
    const int twoLines = Grid->ComputedRowHeight();
    Grid->SetRowLines(3);
    EXPECT_GT(Grid->ComputedRowHeight(), twoLines);
    Grid->SetRowLines(-4);
    EXPECT_EQ(Grid->RowLines(), 0);
    EXPECT_EQ(Grid->ComputedRowHeight(), plain);
}

TEST_F(DBGridEhLayoutTest, FittingRowsToTextSnapsToWholeLinesAndStays)
{
    Grid->SetDataSource(Source.get());
    const int plain = Grid->ComputedRowHeight();
    Grid->SetRowLines(3);
    const int threeLines = Grid->ComputedRowHeight();
    Grid->SetRowLines(0);
    Grid->SetRowHeight(threeLines + 1);
    Grid->SetOptionsEh(Grid->OptionsEh() | dghFitRowHeightToText);
    // A pixel past three lines rounds back down to three.
    EXPECT_EQ(Grid->RowLines(), 3);
    const int snapped = Grid->ComputedRowHeight();
    // Rebuilt again and again (every requery does): the height never creeps.
    for (int i = 0; i < 5; ++i)
        Grid->NotifyLayoutChanged();
    EXPECT_EQ(Grid->ComputedRowHeight(), snapped);
    EXPECT_EQ(Grid->RowLines(), 3);
    // Less than a line rounds up to one.
    Grid->SetRowLines(0);
    Grid->SetRowHeight(1);
    EXPECT_EQ(Grid->RowLines(), 1);
    EXPECT_GE(Grid->ComputedRowHeight(), plain - 1);
}

TEST_F(DBGridEhLayoutTest, RecordNumbersWidenTheIndicatorByDigits)
{
    Data->Close();
    Data->EmptyDataSet();
    Data->Open();
    AppendRecords(9);
    Grid->SetDataSource(Source.get());
    EXPECT_EQ(Grid->ComputeIndicatorWidth(), 11);
    Grid->SetOptionsEh(Grid->OptionsEh() | dghShowRecNo);
    const int nine = Grid->ComputeIndicatorWidth();
    EXPECT_EQ(Grid->ColWidthAt(0), nine);
    AppendRecords(1);
    const int ten = Grid->ComputeIndicatorWidth();
    EXPECT_GT(ten, nine);
    EXPECT_EQ(Grid->ColWidthAt(0), ten);
    // The record-number column shows without dgIndicator too.
    Grid->SetOptions(Grid->Options() - dgIndicator);
    EXPECT_EQ(Grid->IndicatorOffset(), 1);
}

TEST_F(DBGridEhLayoutTest, NothingIsRebuiltWhileALockIsHeld)
{
    Grid->SetDataSource(Source.get());
    Grid->LockLayout();
    Grid->LockLayout();
    EXPECT_FALSE(Grid->TryLockLayout());
    Grid->SetFrozenCols(2);
    EXPECT_EQ(Grid->FixedCols(), 1);
    Grid->UnlockLayout();
    EXPECT_EQ(Grid->FixedCols(), 1);
    Grid->UnlockLayout();
    EXPECT_EQ(Grid->FixedCols(), 3);
    EXPECT_FALSE(Grid->LayoutLocked());
    EXPECT_FALSE(Grid->ImmediateUpdateSuspended());
    // More unlocks than locks change nothing.
    Grid->UnlockLayout();
    Grid->UnlockLayoutQuietly();
    EXPECT_TRUE(Grid->TryLockLayout());
    Grid->UnlockLayoutQuietly();
    EXPECT_FALSE(Grid->LayoutLocked());
}

TEST_F(DBGridEhLayoutTest, OptionsMapOntoTheBaseGrid)
{
    Grid->SetOptions(Grid->Options() | dgRowSelect | dgAlwaysShowEditor);
    EXPECT_FALSE(Grid->Options().Contains(dgEditing));
    EXPECT_FALSE(Grid->Options().Contains(dgAlwaysShowEditor));
    EXPECT_TRUE(Grid->TCustomGridEh::Options().Contains(goRowSelect));
    EXPECT_FALSE(Grid->TCustomGridEh::Options().Contains(goEditing));
    // Column sizing: dgColumnResize and the pair in OptionsEh follow each other.
    Grid->SetOptions(Grid->Options() - dgColumnResize);
    EXPECT_FALSE(Grid->OptionsEh().Contains(dghColumnResize));
    EXPECT_FALSE(Grid->OptionsEh().Contains(dghColumnMove));
    EXPECT_FALSE(Grid->TCustomGridEh::Options().Contains(goColSizing));
    Grid->SetOptionsEh(Grid->OptionsEh() | dghColumnResize | dghColumnMove);
    EXPECT_TRUE(Grid->Options().Contains(dgColumnResize));
    EXPECT_TRUE(Grid->TCustomGridEh::Options().Contains(goColSizing | goColMoving));
    Grid->SetRowSizingAllowed(true);
    EXPECT_TRUE(Grid->TCustomGridEh::Options().Contains(goRowSizing));
}

TEST_F(DBGridEhLayoutTest, AutoFitSharesTheClientWidthByStretchBase)
{
    TColumnEh* A = AddColumn(u"名称"_s);
    TColumnEh* B = AddColumn(QtyField);
    A->SetWidth(100);
    B->SetWidth(300);
    Grid->SetDataSource(Source.get());
    Grid->SetAutoFitColWidths(true);
    EXPECT_EQ(A->DesignWidth(), 100);
    const int room = Grid->ClientWidth() - Grid->ColWidthAt(0) - 3;
    EXPECT_EQ(A->Width() + B->Width(), room);
    EXPECT_NEAR(B->Width(), 3 * A->Width(), 3);
    // A MaxWidth holds its column; the rest goes to the other.
    B->SetMaxWidth(150);
    Grid->NotifyLayoutChanged();
    EXPECT_EQ(B->Width(), 150);
    EXPECT_EQ(A->Width(), room - 150);
    // Stretch bases of zero share nothing out and leave no negative width.
    A->SetDesignWidth(0);
    B->SetDesignWidth(0);
    EXPECT_NO_THROW(Grid->NotifyLayoutChanged());
    EXPECT_GE(A->Width(), 0);
    Grid->SetAutoFitColWidths(false);
    EXPECT_EQ(A->Width(), 0);
    EXPECT_EQ(Grid->ColWidthAt(1), 0);
}
