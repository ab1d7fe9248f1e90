// The base grid's extent arrays and counts: shifting and moving entries, default and individual
// widths, fixed, frozen and contra counts, and the current cell as counts change.
#include "GridsEhTestGrid.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Expects Call to raise EInvalidGridOperationEh with exactly Message.
template <class TCall>
void ExpectGridError(TCall Call, const char* Message)
{
    try {
        Call();
        ADD_FAILURE() << "no error, expected: " << Message;
    } catch (const EInvalidGridOperationEh& error) {
        EXPECT_EQ(error.Message(), QString::fromLatin1(Message));
    }
}

TEST(GridExtentArrays, ShiftingInsertsAndDeletesInsideAndKeepsTheTail)
{
    TGridExtentsEh extents{10, 11, 12, 13};
    ShiftExtentEntries(extents, 2, 2, 0);
    EXPECT_EQ(extents, (TGridExtentsEh{10, 11, 0, 0, 12, 13}));
    ShiftExtentEntries(extents, 1, -3, 0);
    EXPECT_EQ(extents, (TGridExtentsEh{10, 12, 13}));
    SetExtentCount(extents, 5, 7);
    EXPECT_EQ(extents, (TGridExtentsEh{10, 12, 13, 7, 7}));
    SetExtentCount(extents, 2, 7);
    EXPECT_EQ(extents, (TGridExtentsEh{10, 12}));
    SetExtentCount(extents, 0, 7);
    EXPECT_TRUE(extents.empty());
}

TEST(GridExtentArrays, BadIndexesAndCountsRaiseInsteadOfTouchingMemory)
{
    TGridExtentsEh extents{1, 2, 3};
    ExpectGridError([&] { ShiftExtentEntries(extents, -1, 1, 0); }, "Grid index out of range");
    ExpectGridError([&] { ShiftExtentEntries(extents, 4, 1, 0); }, "Grid index out of range");
    ExpectGridError([&] { ShiftExtentEntries(extents, 2, -2, 0); }, "Too many rows or columns deleted");
    ExpectGridError([&] { SetExtentCount(extents, MaxGridExtentCount + 1, 0); }, "Grid too large for operation");
    ExpectGridError([&] { MoveExtentEntry(extents, 0, 3); }, "Grid index out of range");
    EXPECT_EQ(extents, (TGridExtentsEh{1, 2, 3}));
}

TEST(GridExtentArrays, MovingAnEntryShiftsTheOnesBetween)
{
    TGridExtentsEh extents{0, 1, 2, 3, 4};
    MoveExtentEntry(extents, 1, 3);
    EXPECT_EQ(extents, (TGridExtentsEh{0, 2, 3, 1, 4}));
    MoveExtentEntry(extents, 3, 0);
    EXPECT_EQ(extents, (TGridExtentsEh{1, 0, 2, 3, 4}));
    TGridExtentsEh empty;
    MoveExtentEntry(empty, 0, 3);
    EXPECT_TRUE(empty.empty());
    EXPECT_FALSE(ExtentArraysEqual({1, 2}, {1, 2, 3}));
    EXPECT_FALSE(ExtentArraysEqual({}, {64}));
    EXPECT_TRUE(ExtentArraysEqual({}, {}));
}

class GridsEhExtentsTest : public ::testing::Test {
protected:
    TTestGrid Grid{nullptr};
};

TEST_F(GridsEhExtentsTest, FirstIndividualWidthFillsTheRestWithTheDefault)
{
    EXPECT_TRUE(Grid.ColWidthsExtents().empty());
    Grid.ChangeColWidth(2, 30);
    EXPECT_EQ(Grid.ColWidthsExtents(), (TGridExtentsEh{64, 64, 30, 64, 64}));
    ExpectGridError([&] { Grid.ChangeColWidth(Grid.TotalColCount(), 10); }, "Grid index out of range");
    ExpectGridError([&] { Grid.ChangeColWidth(-1, 10); }, "Grid index out of range");
    ExpectGridError([&] { Grid.ChangeRowHeight(-2, 10); }, "Grid index out of range");
    EXPECT_EQ(Grid.ColWidthAt(-1), 64);
    EXPECT_EQ(Grid.ColWidthsExtents().size(), 5u);
}

TEST_F(GridsEhExtentsTest, CountsBelowOneBecomeOneAndFixedCountsFollow)
{
    Grid.ChangeFrozenFixedCols(1);
    Grid.ChangeColCount(0);
    EXPECT_EQ(Grid.ColCount(), 1);
    EXPECT_EQ(Grid.FixedCols(), 0);
    EXPECT_EQ(Grid.FrozenFixedCols(), 0);
    Grid.ChangeDimensions(0, 0);
    EXPECT_EQ(Grid.ColCount(), 1);
    EXPECT_EQ(Grid.RowCount(), 1);
    EXPECT_EQ(Grid.FixedRows(), 0);
    Grid.ChangeColCount(5);
    ExpectGridError([&] { Grid.ChangeFixedCols(5); }, "Fixed column count must be less than column count");
    ExpectGridError([&] { Grid.ChangeFixedRows(1); }, "Fixed row count must be less than row count");
    ExpectGridError([&] { Grid.ChangeFixedCols(-1); }, "Grid index out of range");
    ExpectGridError([&] { Grid.ApplyContraColCount(-1); }, "FContraColCount can not be negative.");
    ExpectGridError([&] { Grid.ChangeContraRowCount(-1); }, "FContraRowCount can not be negative.");
}

TEST_F(GridsEhExtentsTest, FrozenCountsStayWithinTheFixedCounts)
{
    Grid.ChangeColCount(10);
    Grid.ChangeFixedCols(3);
    Grid.ChangeFrozenFixedCols(5);
    EXPECT_EQ(Grid.FrozenFixedCols(), 3);
    Grid.ChangeFixedCols(1);
    EXPECT_EQ(Grid.FrozenFixedCols(), 1);
}

TEST_F(GridsEhExtentsTest, ContraWidthSurvivesColumnCountChanges)
{
    Grid.ApplyContraColCount(1);
    Grid.ChangeColWidth(5, 100);
    Grid.ChangeColWidth(2, 30);
    Grid.ChangeColCount(6);
    EXPECT_EQ(Grid.ColWidthsExtents(), (TGridExtentsEh{64, 64, 30, 64, 64, 64, 100}));
    Grid.ChangeColCount(3);
    EXPECT_EQ(Grid.ColWidthsExtents(), (TGridExtentsEh{64, 64, 30, 100}));
    EXPECT_EQ(Grid.ColWidthAt(Grid.ColCount()), 100);
    EXPECT_EQ(Grid.CellPixelRect(3, 1).Right, Grid.ClientWidth() - 1);
}

TEST_F(GridsEhExtentsTest, ContraRowHeightSurvivesRowInsertsAndDeletes)
{
    Grid.ChangeContraRowCount(1);
    Grid.ChangeRowHeight(5, 40);
    Grid.ChangeRowHeight(3, 10);
    Grid.ResizeAxisAt(2, 2, true);
    EXPECT_EQ(Grid.RowHeightsExtents(), (TGridExtentsEh{24, 24, 24, 24, 24, 10, 24, 40}));
    Grid.ResizeAxisAt(1, -3, true);
    EXPECT_EQ(Grid.RowHeightsExtents(), (TGridExtentsEh{24, 24, 10, 24, 40}));
    EXPECT_EQ(Grid.RowCount(), 4);
    ExpectGridError([&] { Grid.ResizeAxisAt(5, -3, true); }, "Too many rows or columns deleted");
}

TEST_F(GridsEhExtentsTest, FailedDimensionChangeRestoresCountsAndExtents)
{
    Grid.ChangeColWidth(1, 40);
    ExpectGridError([&] { Grid.ChangeDimensions(MaxGridExtentCount + 1, 8); }, "Grid too large for operation");
    EXPECT_EQ(Grid.ColCount(), 5);
    EXPECT_EQ(Grid.RowCount(), 5);
    EXPECT_EQ(Grid.ColWidthsExtents(), (TGridExtentsEh{64, 40, 64, 64, 64}));
}

TEST_F(GridsEhExtentsTest, CurrentCellFollowsCountsAndRelocations)
{
    Grid.ChangeDimensions(8, 8);
    Grid.MoveCurrentCell(6, 6, false, false, true);
    Grid.ChangeDimensions(4, 8);
    EXPECT_EQ(Grid.Col(), 3);
    Grid.ChangeColWidth(3, 20);
    Grid.RelocateColumn(3, 1);
    EXPECT_EQ(Grid.Col(), 1);
    EXPECT_EQ(Grid.ColWidthAt(1), 20);
    EXPECT_EQ(Grid.ColWidthAt(2), 64);
    Grid.RemoveRow(6);
    EXPECT_EQ(Grid.Row(), 5);
    EXPECT_EQ(Grid.RowCount(), 7);
}

TEST_F(GridsEhExtentsTest, ScrolledSumsFollowWidthChangesBeforeTheFirstShownColumn)
{
    Grid.ChangeColCount(20);
    Grid.SetTopLeftCell(10, 1);
    EXPECT_EQ(Grid.HorzExtents().Total, 19 * 65);
    EXPECT_EQ(Grid.HorzExtents().BeforeFirst, 9 * 65);
    Grid.ChangeColWidth(3, 14);
    EXPECT_EQ(Grid.HorzExtents().Total, 19 * 65 - 50);
    EXPECT_EQ(Grid.HorzExtents().BeforeFirst, 9 * 65 - 50);
    Grid.SetTopLeftCell(2, 1);
    EXPECT_EQ(Grid.HorzExtents().BeforeFirst, 65);
}

// A stored description kept in a map, written and read back.
class TMapFiler : public TGridFilerEh {
public:
    bool Writing = true;
    std::map<String, std::vector<int>> Lists;

    void DefineIntegerList(const String& Name, const std::function<void(const std::vector<int>&)>& Reader,
                           const std::function<std::vector<int>()>& Writer, bool HasData) override
    {
        if (Writing && HasData)
            Lists[Name] = Writer();
        else if (!Writing && Lists.count(Name) != 0)
            Reader(Lists[Name]);
    }
};

TEST_F(GridsEhExtentsTest, StoredWidthsComeBackWithoutTheContraCells)
{
    Grid.ApplyContraColCount(1);
    Grid.ChangeColWidth(2, 33);
    Grid.ChangeColWidth(5, 99);
    TMapFiler filer;
    Grid.DefineProperties(filer);
    EXPECT_EQ(filer.Lists.count(QStringLiteral("RowHeights")), 0u);
    EXPECT_EQ(filer.Lists[QStringLiteral("ColWidths")], (std::vector<int>{64, 64, 33, 64, 64}));
    TTestGrid other(nullptr);
    filer.Writing = false;
    other.DefineProperties(filer);
    EXPECT_EQ(other.ColWidthAt(2), 33);
}

} // namespace
