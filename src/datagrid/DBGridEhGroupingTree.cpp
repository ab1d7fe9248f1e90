// The group tree: placing records by their keys, following the memory table's record changes,
// collapsing, expanding and sorting levels, and the list of shown rows.
#include "controls/ToolCtrlsEhUtils.h"
#include "datagrid/DBGridEhColumns.h"
#include "datagrid/DBGridEhGrouping.h"
#include "datagrid/MemTableEh.h"

#include "platform/core/ScopeExit.h"
#include "platform/data/Field.h"

#include <algorithm>

namespace {

// -1, 0, +1 as A sorts before, with or after B in SortOrder.
int CompareInOrder(const Variant& A, const Variant& B, TSortOrderEh SortOrder)
{
    int result = 0;
    switch (VariantRelation(A, B)) {
    case TVariantRelationship::vrLessThan:
        result = -1;
        break;
    case TVariantRelationship::vrGreaterThan:
        result = 1;
        break;
    default:
        break;
    }
    return SortOrder == TSortOrderEh::soDescEh ? -result : result;
}

TGroupDataTreeNodeEh* AsGroupNode(TBaseTreeNodeEh* Node) { return static_cast<TGroupDataTreeNodeEh*>(Node); }

// Texts and whole numbers are the values a group of identical values can be told by exactly.
bool HasExactText(const Variant& Value)
{
    switch (VarType(Value)) {
    case varString:
    case varSmallint:
    case varInteger:
    case varInt64: return true;
    default: return false;
    }
}

}  // namespace

// --- Groups known by their exact value --------------------------------------------------------

std::size_t TGridGroupDataTreeEh::TKnownGroups::THash::operator()(const TKey& Key) const
{
    return qHash(Key.Text, std::hash<const void*>()(Key.Parent) ^ static_cast<std::size_t>(Key.Type));
}

void TGridGroupDataTreeEh::TKnownGroups::Start()
{
    FGroups.clear();
    FOn = true;
}

void TGridGroupDataTreeEh::TKnownGroups::Stop()
{
    FGroups.clear();
    FOn = false;
}

TGroupDataTreeNodeEh* TGridGroupDataTreeEh::TKnownGroups::Find(const TBaseTreeNodeEh* Parent, const Variant& Value) const
{
    if (!FOn || !HasExactText(Value))
        return nullptr;
    const auto found = FGroups.find({Parent, VarType(Value), Value.AsString()});
    return found != FGroups.end() ? found->second : nullptr;
}

void TGridGroupDataTreeEh::TKnownGroups::Remember(const TBaseTreeNodeEh* Parent, const Variant& Value,
                                                  TGroupDataTreeNodeEh* Group)
{
    if (FOn && HasExactText(Value))
        FGroups.emplace(TKey{Parent, VarType(Value), Value.AsString()}, Group);
}

// --- Nodes ----------------------------------------------------------------------------------

int TGroupDataTreeNodeEh::RowHeight()
{
    if (FHeightStale)
        RecalcRowHeight();
    return FRowHeight;
}

void TGroupDataTreeNodeEh::RecalcRowHeight()
{
    IGridDataGroupsHostEh* grid = static_cast<TGridGroupDataTreeEh*>(Owner())->DataGroups()->Grid();
    if (FIsGroup) {
        FRowHeight = grid->GroupNodeRowHeight(this);
    } else {
        TMemTableReadScopeEh reading(grid->GroupingMemTable(), FRecNo);
        FRowHeight = grid->GroupedRecordRowHeight();
    }
    FHeightStale = false;
}

void TGroupDataTreeNodeEh::MakeGroup(TGridDataGroupLevelEh* Level, const Variant& Value, bool Expanded)
{
    FDataGroupLevel = Level;
    FIsGroup = true;
    FValue = Value;
    FHeightStale = true;
    SetExpanded(Expanded);
}

void TGroupDataTreeNodeEh::MakeRecord(int RecNo, const Variant& Key)
{
    FDataGroupLevel = nullptr;
    FIsGroup = false;
    FKey = Key;
    FHeightStale = true;
    Renumber(RecNo);
}

void TGroupDataTreeNodeEh::Renumber(int RecNo)
{
    FRecNo = RecNo;
    FValue = RecNo;
    if (VarIsArray(FKey))
        FKey[VarArrayHighBound(FKey, 1)] = RecNo;
}

// --- The tree -------------------------------------------------------------------------------

TGridGroupDataTreeEh::TGridGroupDataTreeEh(TGridDataGroupsEh* DataGroups)
    : TTreeListEh(TreeNodeClassEh<TGroupDataTreeNodeEh>()), FDataGroups(DataGroups)
{
}

TGroupDataTreeNodeEh* TGridGroupDataTreeEh::ShownRowNode(int Index) const
{
    return Index >= 0 && Index < ShownRowCount() ? FShownRows[static_cast<std::size_t>(Index)] : nullptr;
}

int TGridGroupDataTreeEh::ShownRowIndexOf(const TGroupDataTreeNodeEh* Node) const
{
    // A node remembers its row from the last rebuild; a node hidden since then is no longer there.
    const int row = Node != nullptr ? Node->FShownRow : -1;
    return ShownRowNode(row) == Node ? row : -1;
}

int TGridGroupDataTreeEh::ShownRowOfRecord(int RecNo) const { return ShownRowIndexOf(FindDataNode(RecNo)); }

void TGridGroupDataTreeEh::RebuildShownRows()
{
    FShownRows.clear();
    for (TBaseTreeNodeEh* node = GetFirstVisible(); node != nullptr; node = GetNextVisible(node, true)) {
        AsGroupNode(node)->FShownRow = ShownRowCount();
        FShownRows.push_back(AsGroupNode(node));
    }
    FDataGroups->Grid()->GroupedRowsChanged();
}

void TGridGroupDataTreeEh::EndTreeUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
}

void TGridGroupDataTreeEh::ExpandedChanged(TBaseTreeNodeEh* Node)
{
    TTreeListEh::ExpandedChanged(Node);
    if (FUpdateCount == 0)
        RebuildShownRows();
}

TGroupDataTreeNodeEh* TGridGroupDataTreeEh::NextNode(TBaseTreeNodeEh* Node) const
{
    TBaseTreeNodeEh* next = GetNext(Node);
    return next == Node || next == Root() ? nullptr : AsGroupNode(next);
}

TGroupDataTreeNodeEh* TGridGroupDataTreeEh::FindDataNode(int RecNo) const
{
    if (!FRecordNodesValid)
        IndexRecordNodes();
    return RecNo >= 0 && RecNo < static_cast<int>(FRecordNodes.size()) ? FRecordNodes[static_cast<std::size_t>(RecNo)]
                                                                         : nullptr;
}

void TGridGroupDataTreeEh::IndexRecordNodes() const
{
    FRecordNodes.clear();
    for (TGroupDataTreeNodeEh* node = AsGroupNode(GetFirst()); node != nullptr; node = NextNode(node))
        if (!node->IsGroup())
            IndexRecordNode(node);
    FRecordNodesValid = true;
}

void TGridGroupDataTreeEh::IndexRecordNode(TGroupDataTreeNodeEh* Node) const
{
    const auto recNo = static_cast<std::size_t>(Node->RecNo());
    if (recNo >= FRecordNodes.size())
        FRecordNodes.resize(recNo + 1, nullptr);
    // The first node of a record in depth-first order is its node.
    if (FRecordNodes[recNo] == nullptr)
        FRecordNodes[recNo] = Node;
}

void TGridGroupDataTreeEh::NodesRemoved()
{
    FRecordNodesValid = false;
    FRecordNodes.clear();
}

void TGridGroupDataTreeEh::RecalcAllRowHeights()
{
    // Heights are measured when a row first needs one: a large tree costs nothing until shown.
    for (TGroupDataTreeNodeEh* node = AsGroupNode(GetFirst()); node != nullptr; node = NextNode(node))
        node->MarkHeightStale();
}

std::vector<TGroupDataTreeNodeEh*> TGridGroupDataTreeEh::NodesAtLevel(int Level) const
{
    std::vector<TGroupDataTreeNodeEh*> found;
    std::vector<TBaseTreeNodeEh*> pending{Root()};
    while (!pending.empty()) {
        TBaseTreeNodeEh* node = pending.back();
        pending.pop_back();
        if (node->Level() == Level) {
            found.push_back(AsGroupNode(node));
            continue;
        }
        for (int I = node->ChildCount() - 1; I >= 0; --I)
            pending.push_back(node->GetChild(I));
    }
    return found;
}

TGridGroupDataTreeEh::TChildPlace TGridGroupDataTreeEh::FindChildPlace(TBaseTreeNodeEh* Parent, const Variant& V,
                                                                       TSortOrderEh SortOrder) const
{
    const int count = Parent->ChildCount();
    if (count == 0)
        return {nullptr, namAddLastChild};
    auto child = [Parent](int Index) { return AsGroupNode(Parent->GetChild(Index)); };
    auto compare = [&](int Index) { return CompareInOrder(V, child(Index)->Value(), SortOrder); };
    if (const int first = compare(0); first <= 0)
        return {child(0), first < 0 ? namInsertBefore : namAddLastChild};
    if (const int last = compare(count - 1); last >= 0)
        return {child(count - 1), last > 0 ? namAddLastSibling : namAddLastChild};
    // V lies strictly after child Lo and before child Hi.
    int lo = 0;
    int hi = count - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        const int relation = compare(mid);
        if (relation == 0)
            return {child(mid), namAddLastChild};
        (relation < 0 ? hi : lo) = mid;
    }
    return {child(hi), namInsertBefore};
}

TGroupDataTreeNodeEh* TGridGroupDataTreeEh::InsertRecordKey(const Variant& Key)
{
    const int levels = FDataGroups->ActiveLevelCount();
    TBaseTreeNodeEh* parent = Root();
    bool existing = true;
    for (int I = 0; I < levels; ++I) {
        TGridDataGroupLevelEh* level = FDataGroups->ActiveLevel(I);
        TChildPlace place;
        if (existing) {
            if (TGroupDataTreeNodeEh* known = FKnownGroups.Find(parent, Key[I])) {
                parent = known;
                continue;
            }
            place = FindChildPlace(parent, Key[I], level->SortOrder());
            if (place.Node != nullptr && place.Mode == namAddLastChild) {
                FKnownGroups.Remember(parent, Key[I], place.Node);
                parent = place.Node;
                continue;
            }
        }
        existing = false;
        std::unique_ptr<TBaseTreeNodeEh> group = NewDetachedNode(String(), nullptr);
        TBaseTreeNodeEh* created = group.get();
        AsGroupNode(created)->MakeGroup(level, Key[I], FDataGroups->DefaultStateExpanded());
        if (place.Node != nullptr)
            AttachNode(std::move(group), place.Node, false, place.Mode);
        else
            AttachNode(std::move(group), parent, false, namAddLastChild);
        FKnownGroups.Remember(parent, Key[I], AsGroupNode(created));
        parent = created;
    }
    std::unique_ptr<TBaseTreeNodeEh> record = NewDetachedNode(String(), nullptr);
    auto* created = AsGroupNode(record.get());
    created->FValue = Key[levels];
    TChildPlace place = FindChildPlace(parent, Key[levels], TSortOrderEh::soAscEh);
    if (place.Node == nullptr)
        AttachNode(std::move(record), parent, false, namAddLastChild);
    else
        AttachNode(std::move(record), place.Node, false, place.Mode == namAddLastChild ? namInsertBefore : place.Mode);
    return created;
}

TGroupDataTreeNodeEh* TGridGroupDataTreeEh::AddRecordNode(int RecNo, const Variant& Key)
{
    TGroupDataTreeNodeEh* node = InsertRecordKey(Key);
    node->MakeRecord(RecNo, Key);
    // A second node of a record could come first depth-first: then the map is made afresh.
    if (FRecordNodesValid && FindDataNode(RecNo) != nullptr)
        NodesRemoved();
    else if (FRecordNodesValid)
        IndexRecordNode(node);
    return node;
}

void TGridGroupDataTreeEh::RemoveStaleNodes()
{
    // Record nodes go, and so do groups whose level is no longer the active level of their depth.
    const TTreeNodeNotifyResultEventEh stale = [this](TBaseTreeNodeEh* Node) {
        const TGroupDataTreeNodeEh* child = AsGroupNode(Node);
        const int index = child->Level() - 1;
        return !child->IsGroup() || index >= FDataGroups->ActiveLevelCount() ||
               FDataGroups->ActiveLevel(index) != child->DataGroupLevel();
    };
    std::vector<TBaseTreeNodeEh*> pending{Root()};
    while (!pending.empty()) {
        TBaseTreeNodeEh* node = pending.back();
        pending.pop_back();
        DeleteChildrenWhere(node, stale);
        for (int I = 0; I < node->ChildCount(); ++I)
            pending.push_back(node->GetChild(I));
    }
}

void TGridGroupDataTreeEh::RemoveEmptyGroups()
{
    // Deepest first, so a group emptied by its children's removal goes too.
    for (int level = FDataGroups->ActiveLevelCount(); level >= 1; --level)
        for (TGroupDataTreeNodeEh* node : NodesAtLevel(level))
            if (node->IsGroup() && node->ChildCount() == 0)
                DeleteNode(node, false);
}

void TGridGroupDataTreeEh::BuildFromRecords(IMemTableEh* Source)
{
    BeginTreeUpdate();
    RemoveStaleNodes();
    const int count = Source != nullptr ? Source->MemTableRecordCount() : 0;
    {
        // Also when a key cannot be read: no group is known from a build that did not end.
        FKnownGroups.Start();
        const TScopeExit known([this] { FKnownGroups.Stop(); });
        for (int R = 0; R < count; ++R)
            AddRecordNode(R, FDataGroups->RecordGroupKey(R));
    }
    RemoveEmptyGroups();
    EndTreeUpdate();
    RebuildShownRows();
    RecalcAllRowHeights();
}

void TGridGroupDataTreeEh::RemoveDataNode(TGroupDataTreeNodeEh* Node)
{
    TBaseTreeNodeEh* parent = Node->Parent();
    DeleteNode(Node, false);
    while (parent != Root() && parent->ChildCount() == 0) {
        TBaseTreeNodeEh* above = parent->Parent();
        DeleteNode(parent, false);
        parent = above;
    }
}

void TGridGroupDataTreeEh::RegroupDataNode(TGroupDataTreeNodeEh* Node, const Variant& Key)
{
    const int recNo = Node->RecNo();
    RemoveDataNode(Node);
    AddRecordNode(recNo, Key);
}

void TGridGroupDataTreeEh::RenumberRecords(int From, int Delta)
{
    for (TGroupDataTreeNodeEh* node = AsGroupNode(GetFirst()); node != nullptr; node = NextNode(node))
        if (!node->IsGroup() && node->RecNo() >= From)
            node->Renumber(node->RecNo() + Delta);
    NodesRemoved();
}

void TGridGroupDataTreeEh::RecordChanged(int RecNo)
{
    TGroupDataTreeNodeEh* node = FindDataNode(RecNo);
    if (node == nullptr)
        return;
    const Variant key = FDataGroups->RecordGroupKey(RecNo);
    if (VariantRelation(key, node->Key()) == TVariantRelationship::vrEqual) {
        node->MarkHeightStale();
        if (const int shown = ShownRowIndexOf(node); shown >= 0)
            FDataGroups->Grid()->GroupedRowChanged(shown);
        return;
    }
    BeginTreeUpdate();
    RegroupDataNode(node, key);
    EndTreeUpdate();
    RebuildShownRows();
}

void TGridGroupDataTreeEh::RecordDeleted(int RecNo)
{
    if (TGroupDataTreeNodeEh* node = FindDataNode(RecNo))
        RemoveDataNode(node);
    RenumberRecords(RecNo + 1, -1);
    RebuildShownRows();
}

void TGridGroupDataTreeEh::RecordInserted(int RecNo)
{
    // The memory table announces a record once it is posted: the user's new record is shown.
    RenumberRecords(RecNo, 1);
    const Variant key = FDataGroups->RecordGroupKey(RecNo);
    BeginTreeUpdate();
    ExpandParentsOf(AddRecordNode(RecNo, key));
    EndTreeUpdate();
    RebuildShownRows();
}

void TGridGroupDataTreeEh::ExpandParentsOf(TGroupDataTreeNodeEh* Node)
{
    for (TBaseTreeNodeEh* parent = Node->Parent(); parent != nullptr && parent != Root(); parent = parent->Parent())
        parent->SetExpanded(true);
}

void TGridGroupDataTreeEh::CollapseLevel(int Level)
{
    BeginTreeUpdate();
    for (TGroupDataTreeNodeEh* node : NodesAtLevel(Level))
        node->SetExpanded(false);
    EndTreeUpdate();
    RebuildShownRows();
}

void TGridGroupDataTreeEh::ExpandLevel(int Level)
{
    BeginTreeUpdate();
    for (TGroupDataTreeNodeEh* node : NodesAtLevel(Level))
        node->SetExpanded(true);
    EndTreeUpdate();
    RebuildShownRows();
}

void TGridGroupDataTreeEh::SortLevel(int Level, TSortOrderEh SortOrder)
{
    // Record nodes compare equal, so only groups move; a level's groups hold distinct values,
    // which keeps any sort stable.
    const TCompareNodesEh compare = [SortOrder](TBaseTreeNodeEh* A, TBaseTreeNodeEh* B, std::intptr_t) {
        const auto* nodeA = AsGroupNode(A);
        const auto* nodeB = AsGroupNode(B);
        if (!nodeA->IsGroup() || !nodeB->IsGroup())
            return 0;
        return CompareInOrder(nodeA->Value(), nodeB->Value(), SortOrder);
    };
    for (TGroupDataTreeNodeEh* node : NodesAtLevel(Level))
        if (node->ChildCount() > 1 && AsGroupNode(node->GetChild(0))->IsGroup())
            node->SortChildren(0, false, compare);
    RebuildShownRows();
}

void TGridGroupDataTreeEh::DropLevelsFrom(int Depth)
{
    if (Depth <= 1) {
        FreeAllNodes();
        FShownRows.clear();
        return;
    }
    for (TGroupDataTreeNodeEh* node : NodesAtLevel(Depth))
        if (node->IsGroup())
            DeleteNode(node, false);
    FShownRows.clear();
}
