// The grouping model over a memory table: groups and their order, Null keys, finding a child's
// place, record changes, sorting, collapsing and dropping levels.
#include "MemTableTestSupport.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhGrouping.h"
#include "platform/core/Exceptions.h"
#include "platform/data/Field.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A memory table of (城市, 类别, 数量) and a host that counts the shown-row rebuilds.
class DBGridEhGroupingTest : public ::testing::Test, public IGridDataGroupsHostEh {
protected:
    void SetUp() override
    {
        Table = std::make_unique<TMemTableDataSet>(nullptr);
        Table->FieldDefs()->Add(u"城市"_s, TFieldType::ftString, 20);
        Table->FieldDefs()->Add(u"类别"_s, TFieldType::ftString, 20);
        Table->FieldDefs()->Add(u"数量"_s, TFieldType::ftInteger);
        Table->Open();
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Table.get());
        // The grid only lends its columns: the fixture shows the groups.
        Grid = std::make_unique<TDBGridEh>(nullptr);
        Grid->SetDataSource(Source.get());
        Groups = std::make_unique<TGridDataGroupsEh>(this);
        Groups->Initialize();
    }

    void TearDown() override
    {
        Groups.reset();
        Grid.reset();
    }

    // A level grouping by the column of FieldName.
    TGridDataGroupLevelEh* AddLevel(const String& FieldName)
    {
        TGridDataGroupLevelEh* level = Groups->GroupLevels()->AddLevel();
        level->ChangeColumn(Grid->RequireColumnByFieldName(FieldName));
        return level;
    }

    void Build() { Tree()->BuildFromRecords(Table.get()); }
    TGridGroupDataTreeEh* Tree() const { return Groups->GroupDataTree(); }

    // The shown rows as text: a group as its value in brackets, indented by level; a record as
    // its 数量.
    std::vector<String> Shown()
    {
        std::vector<String> rows;
        for (int I = 0; I < Tree()->ShownRowCount(); ++I) {
            TGroupDataTreeNodeEh* node = Tree()->ShownRowNode(I);
            const String indent(node->Level() - 1, u' ');
            if (node->IsGroup()) {
                rows.push_back(indent + u"["_s + (VarIsNull(node->Value()) ? u"Null"_s : VarToStr(node->Value())) + u"]"_s);
            } else {
                TMemTableReadScopeEh reading(Table.get(), node->RecNo());
                rows.push_back(indent + Table->FieldByName(u"数量"_s)->Value().AsString());
            }
        }
        return rows;
    }

    IMemTableEh* GroupingMemTable() override { return Table.get(); }
    TFont* GroupingParentFont() override { return &Font; }
    TColor GroupingParentColor() override { return clWindow; }
    int GroupNodeRowHeight(TGroupDataTreeNodeEh*) override { return 20; }
    int GroupedRecordRowHeight() override { return 18; }
    void GroupedRowsChanged() override { ++Rebuilds; }
    void GroupedRowChanged(int) override {}
    void GroupingLookChanged() override {}
    void GroupLevelsChanged() override {}

    std::unique_ptr<TMemTableDataSet> Table;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TDBGridEh> Grid;
    std::unique_ptr<TGridDataGroupsEh> Groups;
    TFont Font;
    int Rebuilds = 0;
};

TEST_F(DBGridEhGroupingTest, RecordsGroupByLevelsInOrderWithNullFirstAscendingAndLastDescending)
{
    Table->AppendRecord({u"上海"_s, u"笔"_s, 1});
    Table->AppendRecord({Variant::Null(), u"纸"_s, 2});
    Table->AppendRecord({u"北京"_s, u"纸"_s, 3});
    Table->AppendRecord({u"上海"_s, u"纸"_s, 4});
    Table->AppendRecord({u"上海"_s, u"笔"_s, 5});
    AddLevel(u"城市"_s);
    AddLevel(u"类别"_s);
    Groups->SetDefaultStateExpanded(true);
    Build();
    EXPECT_EQ(Shown(), (std::vector<String>{u"[Null]"_s, u" [纸]"_s, u"  2"_s, u"[北京]"_s, u" [纸]"_s, u"  3"_s,
                                             u"[上海]"_s, u" [笔]"_s, u"  1"_s, u"  5"_s, u" [纸]"_s, u"  4"_s}));
    Groups->GroupLevels()->LevelAt(0)->SetSortOrder(TSortOrderEh::soDescEh);
    EXPECT_EQ(Shown(), (std::vector<String>{u"[上海]"_s, u" [笔]"_s, u"  1"_s, u"  5"_s, u" [纸]"_s, u"  4"_s,
                                             u"[北京]"_s, u" [纸]"_s, u"  3"_s, u"[Null]"_s, u" [纸]"_s, u"  2"_s}));
    // Collapsing the first level (tree level 1) leaves the three group rows.
    Groups->GroupLevels()->LevelAt(0)->CollapseAllGroups();
    EXPECT_EQ(Shown(), (std::vector<String>{u"[上海]"_s, u"[北京]"_s, u"[Null]"_s}));
}

TEST_F(DBGridEhGroupingTest, NumbersThatPrintDifferentlyShareAGroupAndCaseDoesNot)
{
    for (const auto& [city, amount] : {std::pair{u"a"_s, 1}, {u"A"_s, 2}, {u"a"_s, 2}})
        Table->AppendRecord({city, u"笔"_s, amount});
    // 1 and 1.0 meet as one number.
    AddLevel(u"数量"_s)->KeyValueHandler = [this](TGridDataGroupLevelEh*, Variant& Value) {
        Value = Table->FieldByName(u"数量"_s)->Value().AsInteger() == 1 ? Variant(1) : Variant(1.0);
    };
    AddLevel(u"城市"_s);
    Build();
    // Text keeps its case apart, as the variant order does.
    ASSERT_EQ(Tree()->Root()->ChildCount(), 1);
    TBaseTreeNodeEh* number = Tree()->Root()->GetChild(0);
    ASSERT_EQ(number->ChildCount(), 2);
    EXPECT_EQ(number->GetChild(0)->ChildCount() + number->GetChild(1)->ChildCount(), 3);
}

TEST_F(DBGridEhGroupingTest, FindChildPlaceAnswersTheExistingGroupOrWhereANewOneGoes)
{
    for (int value : {10, 20, 30, 40})
        Table->AppendRecord({u"x"_s, u"y"_s, value});
    AddLevel(u"数量"_s);
    Build();
    TBaseTreeNodeEh* root = Tree()->Root();
    struct {
        int Value;
        int Child;
        int Mode;
    } const cases[] = {{5, 0, namInsertBefore},  {10, 0, namAddLastChild}, {20, 1, namAddLastChild},
                       {25, 2, namInsertBefore}, {35, 3, namInsertBefore}, {40, 3, namAddLastChild},
                       {45, 3, namAddLastSibling}};
    for (const auto& c : cases) {
        const TGridGroupDataTreeEh::TChildPlace place = Tree()->FindChildPlace(root, c.Value, TSortOrderEh::soAscEh);
        EXPECT_EQ(place.Node, root->GetChild(c.Child)) << c.Value;
        EXPECT_EQ(place.Mode, c.Mode) << c.Value;
    }
    EXPECT_EQ(Tree()->FindChildPlace(root->GetChild(0)->GetChild(0), 1, TSortOrderEh::soAscEh).Mode, namAddLastChild);
}

TEST_F(DBGridEhGroupingTest, PostsAndDeletesKeepTheTreeInStepAlsoInCollapsedGroups)
{
    Table->AppendRecord({u"上海"_s, u"笔"_s, 1});
    Table->AppendRecord({u"北京"_s, u"纸"_s, 2});
    AddLevel(u"城市"_s);
    Build();
    struct TTreeFollower : IMemTableDataObserverEh {
        TGridGroupDataTreeEh* Tree;
        void MemTableRowsChanged(IMemTableEh*) override {}
        void MemTableRecordChanged(IMemTableEh*, int Index, TMemTableChangeKindEh Kind, int) override
        {
            if (Kind == TMemTableChangeKindEh::mtcInserted)
                Tree->RecordInserted(Index);
            else if (Kind == TMemTableChangeKindEh::mtcChanged)
                Tree->RecordChanged(Index);
            else if (Kind == TMemTableChangeKindEh::mtcDeleted)
                Tree->RecordDeleted(Index);
        }
    } follower;
    follower.Tree = Tree();
    Table->RegisterObserver(&follower);
    EXPECT_EQ(Shown(), (std::vector<String>{u"[北京]"_s, u"[上海]"_s}));

    // Moving 北京's only record to 上海 takes the emptied group away.
    Table->SetRecNo(2);
    Table->Edit();
    Table->FieldByName(u"城市"_s)->SetValue(u"上海"_s);
    Table->Post();
    Groups->GroupLevels()->LevelAt(0)->ExpandAllGroups();
    EXPECT_EQ(Shown(), (std::vector<String>{u"[上海]"_s, u" 1"_s, u" 2"_s}));

    // A record inserted in the collapsed group before the first record renumbers the others;
    // the insert expands its group, with the key of the record it started on.
    Groups->GroupLevels()->LevelAt(0)->CollapseAllGroups();
    Table->First();
    Groups->RememberInsertKey(Groups->RecordGroupKey(0));
    Table->Insert();
    Groups->ApplyRememberedInsertKey();
    Table->FieldByName(u"数量"_s)->SetValue(3);
    Table->Post();
    EXPECT_EQ(Tree()->FindDataNode(0)->ParentNode()->Value(), Variant(u"上海"_s));
    EXPECT_EQ(Tree()->FindDataNode(2)->Key(), VarArrayOf({u"上海"_s, 2}));
    EXPECT_EQ(Shown(), (std::vector<String>{u"[上海]"_s, u" 3"_s, u" 1"_s, u" 2"_s}));

    // Deleting every record while the group is collapsed leaves no group behind.
    Groups->GroupLevels()->LevelAt(0)->CollapseAllGroups();
    while (!Table->IsEmpty())
        Table->Delete();
    EXPECT_EQ(Tree()->ShownRowCount(), 0);
    EXPECT_EQ(Tree()->Root()->ChildCount(), 0);
    Table->UnregisterObserver(&follower);
}

TEST_F(DBGridEhGroupingTest, EveryRecordFindsItsNodeAndShownRowAfterBuildsCollapsesAndChanges)
{
    for (int I = 0; I < 40; ++I)
        Table->AppendRecord({u"城市%1"_s.arg(I % 3), u"类别%1"_s.arg(I % 4), I});
    AddLevel(u"城市"_s);
    AddLevel(u"类别"_s);
    Groups->SetDefaultStateExpanded(true);
    Build();
    // Each record's node and shown row, against a walk of the whole tree and of the shown rows.
    auto check = [this](const char* Step) {
        std::vector<TGroupDataTreeNodeEh*> nodes(static_cast<std::size_t>(Table->RecordCount()), nullptr);
        for (TBaseTreeNodeEh* node = Tree()->GetFirst(); node != nullptr; node = Tree()->GetNext(node))
            if (auto* record = static_cast<TGroupDataTreeNodeEh*>(node); !record->IsGroup())
                nodes[static_cast<std::size_t>(record->RecNo())] = record;
        for (int R = 0; R < Table->RecordCount(); ++R) {
            TGroupDataTreeNodeEh* node = nodes[static_cast<std::size_t>(R)];
            EXPECT_EQ(Tree()->FindDataNode(R), node) << Step << " record " << R;
            int shown = -1;
            for (int I = 0; I < Tree()->ShownRowCount(); ++I)
                if (Tree()->ShownRowNode(I) == node)
                    shown = I;
            EXPECT_EQ(Tree()->ShownRowOfRecord(R), shown) << Step << " record " << R;
            EXPECT_EQ(Tree()->ShownRowIndexOf(node), shown) << Step << " record " << R;
        }
        EXPECT_EQ(Tree()->FindDataNode(Table->RecordCount()), nullptr) << Step;
    };
    check("built");
    Tree()->ShownRowNode(0)->SetExpanded(false);
    check("first group collapsed");
    Tree()->CollapseLevel(2);
    check("second level collapsed");
    Tree()->ExpandLevel(2);
    Table->SetRecNo(6);
    Table->Delete();
    Tree()->RecordDeleted(5);
    check("a record deleted");
    Table->SetRecNo(1);
    Table->Edit();
    Table->FieldByName(u"城市"_s)->SetValue(u"城市2"_s);
    Table->Post();
    Tree()->RecordChanged(0);
    check("a record regrouped");
    Build();
    check("built again");
}

TEST_F(DBGridEhGroupingTest, ABuildThatCannotReadAKeyLeavesNoGroupBehindForLaterRecords)
{
    Table->AppendRecord({u"上海"_s, u"笔"_s, 1});
    Table->AppendRecord({u"北京"_s, u"纸"_s, 2});
    bool refuse = true;
    AddLevel(u"城市"_s)->KeyValueHandler = [&](TGridDataGroupLevelEh*, Variant& Value) {
        Value = Table->FieldByName(u"城市"_s)->Value();
        if (refuse && Value == Variant(u"北京"_s))
            throw Exception(u"unreadable"_s);
    };
    EXPECT_ANY_THROW(Build());
    refuse = false;
    Tree()->FreeAllNodes();
    Table->AppendRecord({u"上海"_s, u"墨"_s, 3});
    Tree()->RecordInserted(2);
    EXPECT_EQ(Shown(), (std::vector<String>{u"[上海]"_s, u" 3"_s}));
}

TEST_F(DBGridEhGroupingTest, RemovingTheMiddleOfThreeLevelsKeepsTheFirstLevelsGroupsAndTheirState)
{
    Table->AppendRecord({u"上海"_s, u"笔"_s, 1});
    Table->AppendRecord({u"北京"_s, u"纸"_s, 2});
    AddLevel(u"城市"_s);
    TGridDataGroupLevelEh* middle = AddLevel(u"类别"_s);
    AddLevel(u"数量"_s);
    Groups->SetActive(true);
    Build();
    TBaseTreeNodeEh* shanghai = Tree()->Root()->GetChild(1);
    shanghai->SetExpanded(true);
    ASSERT_EQ(Shown(), (std::vector<String>{u"[北京]"_s, u"[上海]"_s, u" [笔]"_s}));
    const int rebuilds = Rebuilds;
    middle->ChangeColumn(nullptr);
    EXPECT_EQ(Groups->ActiveLevelCount(), 2);
    ASSERT_EQ(Tree()->Root()->ChildCount(), 2);
    EXPECT_EQ(Tree()->Root()->GetChild(1), shanghai);
    EXPECT_EQ(shanghai->ChildCount(), 0);
    Build();
    EXPECT_GT(Rebuilds, rebuilds);
    EXPECT_EQ(Tree()->Root()->GetChild(1), shanghai);
    EXPECT_EQ(Shown(), (std::vector<String>{u"[北京]"_s, u"[上海]"_s, u" [1]"_s}));
}

}  // namespace
