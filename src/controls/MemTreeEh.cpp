// The in-memory tree: nodes and their child and visible lists, levels, expansion, moving and
// sorting nodes, and the tree's walks.
#include "controls/MemTreeEh.h"

#include "controls/QuickSortEh.h"
#include "platform/core/Exceptions.h"

#include <algorithm>
#include <cassert>

namespace {

[[noreturn]] void RaiseMaxLevel(int MaxLevel)
{
    throw Exception(QStringLiteral("TBaseTreeNodeEh.SetLevel: Max level exceed - %1").arg(MaxLevel));
}

}  // namespace

// --- TBaseTreeNodeEh --------------------------------------------------------------------------

TBaseTreeNodeEh::TBaseTreeNodeEh() = default;

TBaseTreeNodeEh::~TBaseTreeNodeEh() = default;

void TBaseTreeNodeEh::SetExpanded(bool Value)
{
    if (Value == FExpanded || !ExpandedChanging())
        return;
    FExpanded = Value;
    ExpandedChanged();
}

int TBaseTreeNodeEh::MaxLevel() const { return FOwner != nullptr ? FOwner->MaxLevel() : TTreeListEh::DefaultMaxLevel; }

int TBaseTreeNodeEh::SubtreeHeight() const
{
    int Height = 0;
    for (const auto& Child : FItems)
        Height = std::max(Height, Child->SubtreeHeight() + 1);
    return Height;
}

void TBaseTreeNodeEh::SetLevel(int Value)
{
    if (Value == FLevel)
        return;
    // Checked for the whole subtree first, so a raise never leaves it half re-levelled.
    if (Value + SubtreeHeight() > MaxLevel())
        RaiseMaxLevel(MaxLevel());
    ApplyLevel(Value);
}

void TBaseTreeNodeEh::ApplyLevel(int Value)
{
    FLevel = Value;
    for (const auto& Child : FItems)
        Child->ApplyLevel(Value + 1);
}

void TBaseTreeNodeEh::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    VisibleChanged();
}

int TBaseTreeNodeEh::VisibleChildCount() const
{
    return AllChildrenVisible() ? ChildCount() : static_cast<int>(FVisibleItems.size());
}

TBaseTreeNodeEh* TBaseTreeNodeEh::VisibleChild(int Index) const
{
    if (AllChildrenVisible())
        return GetChild(Index);
    if (Index < 0 || Index >= static_cast<int>(FVisibleItems.size()))
        return nullptr;
    return FVisibleItems[static_cast<std::size_t>(Index)];
}

TBaseTreeNodeEh* TBaseTreeNodeEh::GetChild(int Index) const
{
    if (Index < 0 || Index >= ChildCount())
        return nullptr;
    return FItems[static_cast<std::size_t>(Index)].get();
}

void TBaseTreeNodeEh::CheckSameOwner(const TBaseTreeNodeEh* Node) const
{
    if (Node->FOwner != FOwner)
        throw Exception(QStringLiteral("TBaseTreeNodeEh.Add: Tree nodes can not has different Owners"));
}

int TBaseTreeNodeEh::Add(std::unique_ptr<TBaseTreeNodeEh>&& Node)
{
    InsertChildAt(ChildCount(), std::move(Node));
    return ChildCount() - 1;
}

void TBaseTreeNodeEh::InsertChildAt(int Index, std::unique_ptr<TBaseTreeNodeEh>&& Node)
{
    CheckSameOwner(Node.get());
    if (Index < 0 || Index > ChildCount())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(Index));
    TBaseTreeNodeEh* Child = Node.get();
    const bool FastPath = AllChildrenVisible() && Child->FVisible;
    FItems.insert(FItems.begin() + Index, std::move(Node));
    Child->FParent = this;
    if (FastPath)
        ++FVisibleCount;
    RenumberFrom(Index);
    if (!FastPath)
        BuildVisibleList();
    AssertChildLists();
}

std::unique_ptr<TBaseTreeNodeEh> TBaseTreeNodeEh::DeleteChildAt(int Index)
{
    if (Index < 0 || Index >= ChildCount())
        return nullptr;
    const bool FastPath = AllChildrenVisible();
    std::unique_ptr<TBaseTreeNodeEh> Child = std::move(FItems[static_cast<std::size_t>(Index)]);
    FItems.erase(FItems.begin() + Index);
    Child->FParent = nullptr;
    Child->FIndex = -1;
    Child->FVisibleIndex = -1;
    if (FastPath)
        --FVisibleCount;
    RenumberFrom(Index);
    if (!FastPath)
        BuildVisibleList();
    AssertChildLists();
    return Child;
}

void TBaseTreeNodeEh::RenumberFrom(int First)
{
    const bool AllVisible = AllChildrenVisible();
    for (int I = First; I < ChildCount(); ++I) {
        TBaseTreeNodeEh* Child = FItems[static_cast<std::size_t>(I)].get();
        Child->FIndex = I;
        if (AllVisible)
            Child->FVisibleIndex = I;
    }
}

void TBaseTreeNodeEh::SwapChildren(int I, int J)
{
    std::swap(FItems[static_cast<std::size_t>(I)], FItems[static_cast<std::size_t>(J)]);
    FItems[static_cast<std::size_t>(I)]->FIndex = I;
    FItems[static_cast<std::size_t>(J)]->FIndex = J;
    if (AllChildrenVisible()) {
        FItems[static_cast<std::size_t>(I)]->FVisibleIndex = I;
        FItems[static_cast<std::size_t>(J)]->FVisibleIndex = J;
    }
}

void TBaseTreeNodeEh::ExchangeChildren(int I, int J)
{
    if (I == J || GetChild(I) == nullptr || GetChild(J) == nullptr)
        return;
    SwapChildren(I, J);
    if (!AllChildrenVisible())
        BuildVisibleList();
    AssertChildLists();
}

void TBaseTreeNodeEh::SortChildren(std::intptr_t ParamSort, bool Recursive, const TCompareNodesEh& Compare)
{
    if (ChildCount() == 0)
        return;
    if (ChildCount() > 1) {
        QuickSortEh(
            0, ChildCount() - 1, [&](int I, int P) { return Compare(GetChild(I), GetChild(P), ParamSort); },
            [this](int I, int J) { SwapChildren(I, J); });
        if (!AllChildrenVisible())
            BuildVisibleList();
        AssertChildLists();
    }
    if (Recursive)
        for (const auto& Child : FItems)
            Child->SortChildren(ParamSort, true, Compare);
}

bool TBaseTreeNodeEh::ExpandedChanging() { return FOwner == nullptr || FOwner->ExpandedChanging(this); }

void TBaseTreeNodeEh::ClearChildLists()
{
    FItems.clear();
    FVisibleItems.clear();
    FVisibleCount = 0;
}

void TBaseTreeNodeEh::ChildVisibilityChanged(TBaseTreeNodeEh* Child) { BuildVisibleList(); }

void TBaseTreeNodeEh::ExpandedChanged()
{
    if (FOwner != nullptr)
        FOwner->ExpandedChanged(this);
}

void TBaseTreeNodeEh::VisibleChanged()
{
    if (FParent != nullptr)
        FParent->ChildVisibilityChanged(this);
}

void TBaseTreeNodeEh::BuildVisibleList()
{
    FVisibleItems.clear();
    for (const auto& Child : FItems) {
        if (Child->FVisible) {
            Child->FVisibleIndex = static_cast<int>(FVisibleItems.size());
            FVisibleItems.push_back(Child.get());
        } else {
            Child->FVisibleIndex = -1;
        }
    }
    FVisibleCount = static_cast<int>(FVisibleItems.size());
    if (!FItems.empty())
        FHasChildren = FVisibleCount > 0;
    AssertChildLists();
}

void TBaseTreeNodeEh::AssertChildLists() const
{
    [[maybe_unused]] int Visible = 0;
    for (int I = 0; I < ChildCount(); ++I) {
        [[maybe_unused]] const TBaseTreeNodeEh* Child = FItems[static_cast<std::size_t>(I)].get();
        assert(Child->FParent == this && Child->FIndex == I);
        assert(!AllChildrenVisible() || Child->FVisibleIndex == I);
        Visible += Child->FVisible ? 1 : 0;
    }
    assert(Visible == FVisibleCount);
    if (AllChildrenVisible())
        return;
    assert(FVisibleItems.size() == static_cast<std::size_t>(FVisibleCount));
    for (std::size_t I = 0; I < FVisibleItems.size(); ++I) {
        assert(FVisibleItems[I]->FParent == this && FVisibleItems[I]->FVisibleIndex == static_cast<int>(I));
        assert(I == 0 || FVisibleItems[I - 1]->FIndex < FVisibleItems[I]->FIndex);
    }
}

// --- TTreeListEh ------------------------------------------------------------------------------

TTreeListEh::TTreeListEh(TTreeNodeClassEh NodeClass) : FNodeClass(std::move(NodeClass)) { FRoot = NewNode(); }

TTreeListEh::~TTreeListEh() = default;

std::unique_ptr<TBaseTreeNodeEh> TTreeListEh::NewNode()
{
    std::unique_ptr<TBaseTreeNodeEh> Node = FNodeClass();
    Node->FOwner = this;
    return Node;
}

bool TTreeListEh::ExpandedChanging(TBaseTreeNodeEh* Node) { return !OnExpandedChanging || OnExpandedChanging(Node); }

void TTreeListEh::ExpandedChanged(TBaseTreeNodeEh* Node)
{
    if (OnExpandedChanged)
        OnExpandedChanged(Node);
}

int TTreeListEh::CompareNodes(TBaseTreeNodeEh* Node1, TBaseTreeNodeEh* Node2, std::intptr_t ParamSort) { return 0; }

TBaseTreeNodeEh* TTreeListEh::AddChild(const String& Text, TBaseTreeNodeEh* Parent, void* Data)
{
    if (Parent == nullptr)
        Parent = Root();
    std::unique_ptr<TBaseTreeNodeEh> Node = NewNode();
    Node->FText = Text;
    Node->FData = Data;
    // Levelled before linking: at the maximum depth the node is dropped, not left linked.
    Node->SetLevel(Parent->FLevel + 1);
    TBaseTreeNodeEh* Result = Node.get();
    Parent->Add(std::move(Node));
    Parent->FHasChildren = true;
    return Result;
}

std::unique_ptr<TBaseTreeNodeEh> TTreeListEh::NewDetachedNode(const String& Text, void* Data)
{
    std::unique_ptr<TBaseTreeNodeEh> Node = NewNode();
    Node->FText = Text;
    Node->FData = Data;
    return Node;
}

void TTreeListEh::FreeChildrenOf(TBaseTreeNodeEh* Node)
{
    if (Node == nullptr)
        Node = Root();
    // Freed once the lists are empty, so no child is reachable from Node while it dies.
    std::vector<std::unique_ptr<TBaseTreeNodeEh>> Children = std::move(Node->FItems);
    Node->ClearChildLists();
    // Without children the node has no expand box left to show.
    Node->FHasChildren = false;
    if (!Children.empty())
        NodesRemoved();
}

void TTreeListEh::DeleteChildrenWhere(TBaseTreeNodeEh* Node, const TTreeNodeNotifyResultEventEh& Doomed)
{
    if (Node == nullptr)
        Node = Root();
    std::vector<std::unique_ptr<TBaseTreeNodeEh>> Kept;
    std::vector<std::unique_ptr<TBaseTreeNodeEh>> Freed;
    Kept.reserve(Node->FItems.size());
    for (std::unique_ptr<TBaseTreeNodeEh>& Child : Node->FItems)
        (Doomed(Child.get()) ? Freed : Kept).push_back(std::move(Child));
    if (Freed.empty()) {
        Node->FItems = std::move(Kept);
        return;
    }
    // The lists are whole again before any freed node dies.
    Node->FItems = std::move(Kept);
    Node->FVisibleCount = static_cast<int>(
        std::count_if(Node->FItems.begin(), Node->FItems.end(), [](const auto& Child) { return Child->FVisible; }));
    Node->RenumberFrom(0);
    if (!Node->AllChildrenVisible())
        Node->BuildVisibleList();
    Node->FHasChildren = Node->ChildCount() > 0;
    for (std::unique_ptr<TBaseTreeNodeEh>& Child : Freed)
        Child->FParent = nullptr;
    Node->AssertChildLists();
    NodesRemoved();
}

std::unique_ptr<TBaseTreeNodeEh> TTreeListEh::DetachNode(TBaseTreeNodeEh* Node, bool Reindex)
{
    if (Node == nullptr || Node->FParent == nullptr)
        return nullptr;
    TBaseTreeNodeEh* Parent = Node->FParent;
    assert(Parent->GetChild(Node->FIndex) == Node);
    std::unique_ptr<TBaseTreeNodeEh> Result = Parent->DeleteChildAt(Node->FIndex);
    Parent->FHasChildren = Parent->ChildCount() > 0;
    if (Reindex)
        RenumberChildren(Parent, false);
    NodesRemoved();
    return Result;
}

void TTreeListEh::DeleteNode(TBaseTreeNodeEh* Node, bool Reindex)
{
    if (Node == nullptr)
        return;
    FreeChildrenOf(Node);
    DetachNode(Node, Reindex);
}

TTreeListEh::TAttachPlace TTreeListEh::AttachPlace(TBaseTreeNodeEh* Target, int Mode) const
{
    if (Target == nullptr)
        Target = Root();
    switch (Mode % 128) {
    case namAddLastSibling:
        return {Target->FParent, -1};
    case namAddFirstSibling:
        return {Target->FParent, 0};
    case namAddLastChild:
        return {Target, -1};
    case namAddFirstChild:
        return {Target, 0};
    case namInsertBefore:
        return {Target->FParent, Target->FIndex};
    default:
        return {};
    }
}

void TTreeListEh::CheckCanLink(const TBaseTreeNodeEh* Parent, const TBaseTreeNodeEh* Node) const
{
    Parent->CheckSameOwner(Node);
    if (Parent->FLevel + 1 + Node->SubtreeHeight() > FMaxLevel)
        RaiseMaxLevel(FMaxLevel);
}

void TTreeListEh::Link(std::unique_ptr<TBaseTreeNodeEh>&& Node, const TAttachPlace& Place, bool Reindex)
{
    Node->ApplyLevel(Place.Parent->FLevel + 1);
    Place.Parent->FHasChildren = true;
    if (Place.Position < 0) {
        Place.Parent->Add(std::move(Node));
        return;
    }
    Place.Parent->InsertChildAt(Place.Position, std::move(Node));
    if (Reindex)
        RenumberChildren(Place.Parent, false);
}

bool TTreeListEh::AttachNode(std::unique_ptr<TBaseTreeNodeEh>&& Node, TBaseTreeNodeEh* Target, bool Reindex, int Mode)
{
    if (!Node)
        return false;
    const TAttachPlace Place = AttachPlace(Target, Mode);
    if (Place.Parent == nullptr)
        return false;
    CheckCanLink(Place.Parent, Node.get());
    Link(std::move(Node), Place, Reindex);
    return true;
}

void TTreeListEh::MoveNode(TBaseTreeNodeEh* Node, TBaseTreeNodeEh* Target, bool Reindex, int Mode)
{
    if (Node == nullptr || Node == Root())
        return;
    if (Target == nullptr)
        Target = Root();
    const TAttachPlace Place = AttachPlace(Target, Mode);
    if (Place.Parent == nullptr || Node->FParent == nullptr)
        return;
    if (IsNodeOrAncestor(Node, Target))
        throw Exception(QStringLiteral("Reference-loop found"));
    CheckCanLink(Place.Parent, Node);
    std::unique_ptr<TBaseTreeNodeEh> Moving = DetachNode(Node, Reindex);
    // Target's Index may have moved up when Node was an earlier sibling of it.
    Link(std::move(Moving), AttachPlace(Target, Mode), Reindex);
}

bool TTreeListEh::IsNodeOrAncestor(const TBaseTreeNodeEh* Ancestor, const TBaseTreeNodeEh* Node)
{
    for (; Node != nullptr; Node = Node->FParent)
        if (Node == Ancestor)
            return true;
    return false;
}

void TTreeListEh::RenumberChildren(TBaseTreeNodeEh* Node, bool Recurse)
{
    if (Node == nullptr)
        Node = Root();
    Node->FVisibleItems.clear();
    for (int I = 0; I < Node->ChildCount(); ++I) {
        TBaseTreeNodeEh* Child = Node->FItems[static_cast<std::size_t>(I)].get();
        Child->FIndex = I;
        if (Recurse)
            RenumberChildren(Child, true);
    }
    Node->BuildVisibleList();
}

void TTreeListEh::SortTree(std::intptr_t ParamSort, bool Recursive, const TCompareNodesEh& Compare)
{
    Root()->SortChildren(ParamSort, Recursive, Compare);
}

// --- Navigation -------------------------------------------------------------------------------

TBaseTreeNodeEh* TTreeListEh::FirstChildOf(const TBaseTreeNodeEh* Node) const
{
    return Node != nullptr ? Node->GetChild(0) : nullptr;
}

TBaseTreeNodeEh* TTreeListEh::LastChildOf(const TBaseTreeNodeEh* Node) const
{
    return Node != nullptr ? Node->GetChild(Node->ChildCount() - 1) : nullptr;
}

TBaseTreeNodeEh* TTreeListEh::PrevSiblingOf(const TBaseTreeNodeEh* Node) const
{
    if (Node == nullptr || Node->FParent == nullptr || Node->FIndex <= 0)
        return nullptr;
    return Node->FParent->GetChild(Node->FIndex - 1);
}

TBaseTreeNodeEh* TTreeListEh::NextSiblingOf(const TBaseTreeNodeEh* Node) const
{
    if (Node == nullptr || Node->FParent == nullptr)
        return nullptr;
    return Node->FParent->GetChild(Node->FIndex + 1);
}

TBaseTreeNodeEh* TTreeListEh::LastDescendantOf(const TBaseTreeNodeEh* Node) const
{
    if (Node == nullptr)
        Node = Root();
    TBaseTreeNodeEh* Result = nullptr;
    for (TBaseTreeNodeEh* Child = LastChildOf(Node); Child != nullptr; Child = LastChildOf(Child))
        Result = Child;
    return Result;
}

bool TTreeListEh::HasChildNodes(const TBaseTreeNodeEh* Node) const
{
    return (Node != nullptr ? Node : Root())->ChildCount() > 0;
}

TBaseTreeNodeEh* TTreeListEh::NextSkippingChildren(const TBaseTreeNodeEh* Node) const
{
    for (; Node != nullptr && Node != Root(); Node = Node->FParent)
        if (TBaseTreeNodeEh* Sibling = NextSiblingOf(Node))
            return Sibling;
    return nullptr;
}

TBaseTreeNodeEh* TTreeListEh::GetNext(TBaseTreeNodeEh* Node) const
{
    if (Node == nullptr || Node == Root())
        return Node;
    if (TBaseTreeNodeEh* Child = FirstChildOf(Node))
        return Child;
    return NextSkippingChildren(Node);
}

TBaseTreeNodeEh* TTreeListEh::GetPrevious(TBaseTreeNodeEh* Node) const
{
    if (Node == nullptr || Node == Root())
        return Node;
    if (TBaseTreeNodeEh* Sibling = PrevSiblingOf(Node)) {
        TBaseTreeNodeEh* Last = LastDescendantOf(Sibling);
        return Last != nullptr ? Last : Sibling;
    }
    return Node->FParent == Root() ? nullptr : Node->FParent;
}

TBaseTreeNodeEh* TTreeListEh::FirstVisibleFrom(TBaseTreeNodeEh* Node) const
{
    while (Node != nullptr && !Node->FVisible)
        Node = NextSkippingChildren(Node);
    return Node;
}

TBaseTreeNodeEh* TTreeListEh::GetFirstVisible() const { return FirstVisibleFrom(GetFirst()); }

bool TTreeListEh::IsNodeShown(const TBaseTreeNodeEh* Node, bool ExpandedOnly) const
{
    if (Node == nullptr || Node == Root())
        return false;
    const TBaseTreeNodeEh* Parent = Node->FParent;
    while (Parent != nullptr && Parent != Root() && Parent->FVisible && (!ExpandedOnly || Parent->FExpanded))
        Parent = Parent->FParent;
    return Parent == Root();
}

TBaseTreeNodeEh* TTreeListEh::NearestShownAncestor(const TBaseTreeNodeEh* Node, bool ExpandedOnly) const
{
    // The ancestor's own Expanded state does not count: the walk goes on after a collapsed one.
    for (TBaseTreeNodeEh* Parent = Node != nullptr ? Node->FParent : nullptr; Parent != nullptr && Parent != Root();
         Parent = Parent->FParent)
        if (Parent->FVisible && IsNodeShown(Parent, ExpandedOnly))
            return Parent;
    return Root();
}

TBaseTreeNodeEh* TTreeListEh::GetNextVisible(const TBaseTreeNodeEh* Node, bool ExpandedOnly) const
{
    if (Node == nullptr || Node == Root())
        return nullptr;
    const TBaseTreeNodeEh* Start = Node;
    if (!Node->FVisible || !IsNodeShown(Node, ExpandedOnly))
        Start = NearestShownAncestor(Node, ExpandedOnly);
    // The root's children are always shown, whatever its own Expanded says.
    const bool Enter = Start == Root() || !ExpandedOnly || Start->FExpanded;
    TBaseTreeNodeEh* Next = Enter ? FirstChildOf(Start) : nullptr;
    if (Next == nullptr)
        Next = NextSkippingChildren(Start);
    return FirstVisibleFrom(Next);
}
