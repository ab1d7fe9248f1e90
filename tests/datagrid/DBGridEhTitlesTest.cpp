// Titles: soft properties, sort markers and indexes, and the multi-level title tree built
// from "|"-separated captions.
#include "DBGridEhTestGrid.h"

#include "platform/core/Exceptions.h"

#include <vector>

using enum TColumnEhAssignedValue;
using enum TSortMarkerEh;

namespace {

TEST(DBGridEhTokenTest, SeparatorRunsCountAsOne)
{
    const String Bar = u"|"_s;
    EXPECT_EQ(NthToken(1, u"P||Q"_s, Bar), u"P"_s);
    EXPECT_EQ(NthToken(2, u"P||Q"_s, Bar), u"Q"_s);
    EXPECT_EQ(NthTokenStart(2, u"P||Q"_s, Bar), 4);
    EXPECT_EQ(NthTokenStart(3, u"A|B"_s, Bar), 0);
    EXPECT_EQ(NthToken(1, u"|商品|单价"_s, Bar), u"商品"_s);
    int Pos = -1;
    EXPECT_EQ(NthTokenWithPos(2, u"|商品|单价"_s, Bar, Pos), u"单价"_s);
    EXPECT_EQ(Pos, 5);
    EXPECT_EQ(NthToken(1, String(), Bar), String());
}

class DBGridEhTitleTest : public DBGridEhFixture {
protected:
    void AddColumns(std::initializer_list<const char16_t*> Captions)
    {
        for (const char16_t* Caption : Captions) {
            TColumnEh* Column = AddColumn(String());
            Column->SetWidth(50 + 10 * Grid->Columns()->Count());
            Column->Title()->SetCaption(String::fromUtf16(Caption));
        }
    }

    std::vector<THeadTreeNode*> TopCells()
    {
        Grid->SetUseMultiTitle(true);
        Grid->NotifyLayoutChanged();
        return Grid->HeadTree()->Children();
    }

    static std::vector<String> Captions(const std::vector<THeadTreeNode*>& Nodes)
    {
        std::vector<String> Result;
        for (const THeadTreeNode* Node : Nodes)
            Result.push_back(Node->Caption);
        return Result;
    }

    int TitleHeight() const { return Grid->RowHeightAt(0); }
    int LeafWidth(int Index) const { return Grid->Columns()->ColumnAt(Index)->Width(); }
};

TEST_F(DBGridEhTitleTest, AdjacentCaptionsShareTheirHeadCell)
{
    AddColumns({u"P|Q", u"P|R", u"S"});
    const std::vector<THeadTreeNode*> Top = TopCells();
    ASSERT_EQ(Captions(Top), (std::vector<String>{u"P"_s, u"S"_s}));
    EXPECT_EQ(Top[0]->Width, LeafWidth(0) + LeafWidth(1) + 1);
    // Measured: a head cell keeps its caption's height, the leaves under it the rest, a plain
    // leaf the whole title; the title row is the tree less one line with 3D fixed cells.
    const int whole = Grid->HeadTree()->Height;
    EXPECT_EQ(TitleHeight(), whole - 1);
    EXPECT_GT(Top[0]->Height, 0);
    EXPECT_EQ(Top[1]->Height, whole);
    EXPECT_EQ(Captions(Top[0]->Children()), (std::vector<String>{u"Q"_s, u"R"_s}));
    EXPECT_EQ(Top[0]->Height + Top[0]->Children()[0]->Height, whole);
    EXPECT_EQ(Grid->LeafOfColumn(1)->Column, Grid->Columns()->ColumnAt(1));
    EXPECT_EQ(Grid->LeafOfColumn(1)->ParentNode, Top[0]);
}

TEST_F(DBGridEhTitleTest, OnlyNeighboursAreGroupedAndDoubleSeparatorsCountOnce)
{
    AddColumns({u"P|Q", u"S", u"P||R"});
    const std::vector<THeadTreeNode*> Top = TopCells();
    ASSERT_EQ(Captions(Top), (std::vector<String>{u"P"_s, u"S"_s, u"P"_s}));
    EXPECT_EQ(Captions(Top[2]->Children()), (std::vector<String>{u"R"_s}));
    EXPECT_EQ(Top[2]->Width, LeafWidth(2));
}

TEST_F(DBGridEhTitleTest, ThreeLevelsNestAndAPlainNeighbourJoinsTheRun)
{
    AddColumns({u"P|Q|R", u"P"});
    const std::vector<THeadTreeNode*> Top = TopCells();
    ASSERT_EQ(Captions(Top), (std::vector<String>{u"P"_s}));
    ASSERT_EQ(Captions(Top[0]->Children()), (std::vector<String>{u"Q"_s, String()}));
    const THeadTreeNode* Q = Top[0]->Children()[0];
    ASSERT_EQ(Captions(Q->Children()), (std::vector<String>{u"R"_s}));
    EXPECT_EQ(Top[0]->Height + Q->Height + Q->Children()[0]->Height, Grid->HeadTree()->Height);
    EXPECT_EQ(Top[0]->Children()[1]->Height, Grid->HeadTree()->Height - Top[0]->Height);
    EXPECT_EQ(Q->Children()[0]->Level(), 3);
}

TEST_F(DBGridEhTitleTest, ARunNeverCrossesIntoAnotherHeadSoNoCaptionIsLost)
{
    AddColumns({u"A|B|X", u"A|B", u"B|Y"});
    const std::vector<THeadTreeNode*> Top = TopCells();
    ASSERT_EQ(Captions(Top), (std::vector<String>{u"A"_s, u"B"_s}));
    ASSERT_EQ(Captions(Top[0]->Children()), (std::vector<String>{u"B"_s}));
    EXPECT_EQ(Captions(Top[0]->Children()[0]->Children()), (std::vector<String>{u"X"_s, String()}));
    EXPECT_EQ(Captions(Top[1]->Children()), (std::vector<String>{u"Y"_s}));
}

TEST_F(DBGridEhTitleTest, WithoutColumnLinesWidthsAddUpWithoutLines)
{
    Grid->SetOptions(Grid->Options() - dgColLines);
    AddColumns({u"P|Q", u"P|R"});
    Grid->Columns()->ColumnAt(1)->SetVisible(false);
    const std::vector<THeadTreeNode*> Top = TopCells();
    ASSERT_EQ(Top.size(), 1u);
    EXPECT_EQ(Top[0]->Width, LeafWidth(0));
    EXPECT_EQ(Top[0]->LineWidth, 0);
}

TEST(DBGridEhHeadTreeTest, MergeOutsideTheTreeOrLevelRaises)
{
    THeadTreeNode Root(u"Root"_s, 0, 10);
    THeadTreeNode* A = Root.AppendChild(&Root, u"A"_s, 10, 40);
    THeadTreeNode* B = Root.AddAfter(A, u"B"_s, 20, 40);
    THeadTreeNode* C = Root.AppendChild(B, u"C"_s, 5, 20);
    THeadTreeNode Stranger;
    EXPECT_THROW(Root.AppendChild(&Stranger, u"X"_s, 1, 1), Exception);
    EXPECT_THROW(Root.AddAfter(&Root, u"X"_s, 1, 1), Exception);
    EXPECT_THROW(Root.MergeUnder(A, C, 20, u"H"_s), Exception);
    EXPECT_THROW(Root.MergeUnder(B, A, 20, u"H"_s), Exception);
    THeadTreeNode* H = Root.MergeUnder(A, B, 15, u"H"_s);
    EXPECT_EQ(Root.FirstChild, H);
    EXPECT_EQ(H->NextSibling, H);
    EXPECT_EQ(H->Width, 30);
    EXPECT_EQ(A->Height, 25);
    EXPECT_EQ(C->Level(), 3);
    EXPECT_TRUE(Root.ContainsNode(C));
    EXPECT_FALSE(Root.ContainsNode(&Stranger));
}

TEST_F(DBGridEhTitleTest, SoftTitlePropertiesFollowTheDefaults)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* Column = AddColumn(QtyField);
    TColumnTitleEh* Title = Column->Title();
    EXPECT_EQ(Title->Caption(), QtyField);
    EXPECT_EQ(Title->Color(), Grid->FixedColor());
    EXPECT_EQ(Title->Alignment(), TAlignment::taLeftJustify);
    Grid->SetUseMultiTitle(true);
    EXPECT_EQ(Title->Alignment(), TAlignment::taCenter);
    Grid->ColumnDefValues()->Title()->SetColor(clAqua);
    EXPECT_EQ(Title->Color(), clAqua);
    Title->SetCaption(QtyField);
    EXPECT_TRUE(Column->AssignedValues().Contains(cavTitleCaption));
    EXPECT_FALSE(Column->IsStored(cavTitleCaption));
    Title->SetCaption(u"编号"_s);
    EXPECT_TRUE(Column->IsStored(cavTitleCaption));
    Title->Font()->SetColor(clBlue);
    EXPECT_TRUE(Column->IsStored(cavTitleFont));
    Title->ResetToDefaults();
    EXPECT_EQ(Title->Caption(), QtyField);
    EXPECT_FALSE(Column->AssignedValues().Contains(cavTitleFont));
    EXPECT_EQ(Title->Font()->Color(), Grid->TitleFont()->Color());
}

class DBGridEhSortTest : public DBGridEhFixture {
protected:
    void SetUp() override
    {
        DBGridEhFixture::SetUp();
        for (const char* Name : {"A", "B", "C"})
            AddColumn(String::fromLatin1(Name));
    }

    TColumnTitleEh* Title(int Index) const { return Grid->Columns()->ColumnAt(Index)->Title(); }
    std::vector<int> SortIndexes() const { return {Title(0)->SortIndex(), Title(1)->SortIndex(), Title(2)->SortIndex()}; }
    std::vector<TColumnEh*> Sorted() const
    {
        std::vector<TColumnEh*> Result;
        for (int i = 0; i < Grid->SortedColumns()->Count(); ++i)
            Result.push_back(Grid->SortedColumns()->ColumnAt(i));
        return Result;
    }
    TColumnEh* Column(int Index) const { return Grid->Columns()->ColumnAt(Index); }
};

TEST_F(DBGridEhSortTest, MultiSortNumbersInMarkingOrderAndClosesGaps)
{
    Grid->SetOptionsEh(dghMultiSortMarking);
    Title(2)->SetSortMarker(smDownEh);
    Title(0)->SetSortMarker(smUpEh);
    Title(1)->SetSortMarker(smDownEh);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(Sorted(), (std::vector<TColumnEh*>{Column(2), Column(0), Column(1)}));
    Title(2)->SetSortMarker(smNoneEh);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(Sorted(), (std::vector<TColumnEh*>{Column(0), Column(1)}));
}

TEST_F(DBGridEhSortTest, PlainClickClearsOthersAndCtrlClickCycles)
{
    Title(0)->SetSortMarker(smDownEh);
    Title(1)->SetSortMarker(smUpEh);
    EXPECT_EQ(Title(0)->SortMarker(), smNoneEh);
    EXPECT_EQ(Sorted(), (std::vector<TColumnEh*>{Column(1)}));
    Grid->SetOptionsEh(dghMultiSortMarking);
    Title(2)->SetSortMarker(smDownEh);
    Title(1)->StepSortMarker(false);
    EXPECT_EQ(Title(1)->SortMarker(), smDownEh);
    EXPECT_EQ(Title(2)->SortMarker(), smNoneEh);
    EXPECT_EQ(Sorted(), (std::vector<TColumnEh*>{Column(1)}));

    std::vector<TSortMarkerEh> Seen;
    for (int i = 0; i < 3; ++i) {
        Title(0)->StepSortMarker(true);
        Seen.push_back(Title(0)->SortMarker());
    }
    EXPECT_EQ(Seen, (std::vector<TSortMarkerEh>{smDownEh, smUpEh, smNoneEh}));
    EXPECT_EQ(Title(1)->SortMarker(), smDownEh);
}

TEST_F(DBGridEhSortTest, SortIndexSwapsWithTheTitleHoldingIt)
{
    Grid->SetOptionsEh(dghMultiSortMarking);
    Title(0)->SetSortMarker(smDownEh);
    Title(1)->SetSortMarker(smDownEh);
    Title(0)->SetSortIndex(5);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{1, 2, 0}));
    Title(2)->SetSortIndex(1);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{1, 2, 0}));
    Title(0)->SetSortIndex(2);
    EXPECT_EQ(SortIndexes(), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(Sorted(), (std::vector<TColumnEh*>{Column(1), Column(0)}));
}

TEST_F(DBGridEhSortTest, StoredSortIndexesAreCompactedWhenLoadingEnds)
{
    Grid->BeginLoading();
    Grid->Columns()->BeginUpdate();
    Title(1)->SetSortMarker(smDownEh);
    Title(1)->SetSortIndex(5);
    Title(2)->SetSortMarker(smUpEh);
    Title(2)->SetSortIndex(2);
    Grid->Columns()->EndUpdate();
    EXPECT_EQ(Grid->SortedColumns()->Count(), 0);
    Grid->EndLoading();
    EXPECT_EQ(SortIndexes(), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(Sorted(), (std::vector<TColumnEh*>{Column(2), Column(1)}));
}

TEST_F(DBGridEhSortTest, MarkerAreaShrinksWithTheColumn)
{
    Grid->SetOptionsEh(dghMultiSortMarking);
    Title(0)->SetSortMarker(smDownEh);
    Column(0)->SetWidth(200);
    EXPECT_EQ(Title(0)->SortMarkerAreaWidth(), 16);
    Title(1)->SetSortMarker(smDownEh);
    Title(2)->SetSortMarker(smDownEh);
    Column(2)->SetWidth(200);
    const int Full = Title(2)->SortMarkerAreaWidth();
    EXPECT_GT(Full, 16);
    Column(2)->SetWidth(Full + 4 - 1);
    EXPECT_EQ(Title(2)->SortMarkerAreaWidth(), Full - 14);
    Column(2)->SetWidth(10);
    EXPECT_EQ(Title(2)->SortIndex(), 3);
    EXPECT_EQ(Title(2)->SortMarkerAreaWidth(), 0);
}

TEST_F(DBGridEhSortTest, AssignCopiesEveryTitleValueThroughItsWriter)
{
    Title(0)->SetCaption(u"名称"_s);
    Title(0)->SetHint(u"提示"_s);
    Title(0)->SetImageIndex(3);
    Title(1)->Assign(Title(0));
    EXPECT_EQ(Title(1)->Caption(), u"名称"_s);
    EXPECT_EQ(Title(1)->Hint(), u"提示"_s);
    EXPECT_EQ(Title(1)->ImageIndex(), 3);
    EXPECT_FALSE(Column(1)->AssignedValues().Contains(cavTitleColor));
    EXPECT_TRUE(Column(1)->AssignedValues().Contains(cavTitleButton));
    EXPECT_TRUE(Column(1)->AssignedValues().Contains(cavTitleToolTips));
}

} // namespace
