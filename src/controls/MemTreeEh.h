#pragma once
// MemTreeEh: a general tree of nodes kept in memory. TTreeListEh owns a hidden root and makes
// nodes through a node class; each node owns its children in order, keeps a list of its
// visible children, its level, expanded state and position among its siblings. The grid's
// data grouping builds its group tree on it.
//
// Index is kept equal to a node's position after every insertion and removal, so sibling
// navigation "by Index" never meets two siblings with the same Index; RenumberChildren is still
// there for callers that want the visible lists rebuilt as well.
#include "platform/core/Object.h"
#include "platform/core/String.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TBaseTreeNodeEh;
class TTreeListEh;

// The node class of a tree: makes an empty node of the tree's own node type.
using TTreeNodeClassEh = std::function<std::unique_ptr<TBaseTreeNodeEh>()>;

template <class TNode>
TTreeNodeClassEh TreeNodeClassEh()
{
    return [] { return std::unique_ptr<TBaseTreeNodeEh>(std::make_unique<TNode>()); };
}

// <0, 0, >0 as Node1 sorts before, with, after Node2.
using TCompareNodesEh = std::function<int(TBaseTreeNodeEh* Node1, TBaseTreeNodeEh* Node2, std::intptr_t ParamSort)>;
using TTreeNodeNotifyEventEh = std::function<void(TBaseTreeNodeEh* Node)>;
using TTreeNodeNotifyResultEventEh = std::function<bool(TBaseTreeNodeEh* Node)>;

// Where AttachNode and MoveNode put a node, relative to the target (taken modulo 128).
enum : int {
    namAddLastSibling = 0,
    namAddFirstSibling = 1,
    namAddLastChild = 2,
    namAddFirstChild = 3,
    namInsertBefore = 4
};

class TBaseTreeNodeEh : public TObject {
public:
    TBaseTreeNodeEh();
    ~TBaseTreeNodeEh() override;

    TTreeListEh* Owner() const { return FOwner; }
    const String& Text() const { return FText; }
    void SetText(const String& Value) { FText = Value; }
    void* Data() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    bool Expanded() const { return FExpanded; }
    // Nothing when unchanged or when ExpandedChanging refuses; else stores, then ExpandedChanged.
    void SetExpanded(bool Value);
    bool HasChildren() const { return FHasChildren; }
    void SetHasChildren(bool Value) { FHasChildren = Value; }
    // Position among the parent's children; -1 for the root and detached nodes.
    int Index() const { return FIndex; }
    int Level() const { return FLevel; }
    // Sets the level of the node and, one deeper each, of its subtree. Raises "TBaseTreeNodeEh.
    // SetLevel: Max level exceed - 1000" (the tree's maximum) when the subtree would go deeper,
    // before anything changes.
    void SetLevel(int Value);
    TBaseTreeNodeEh* Parent() const { return FParent; }
    bool Visible() const { return FVisible; }
    // Stores the value and tells the parent (VisibleChanged).
    void SetVisible(bool Value);
    // Position in the parent's list of visible children; -1 while hidden.
    int VisibleIndex() const { return FVisibleIndex; }

    int ChildCount() const { return static_cast<int>(FItems.size()); }
    int VisibleChildCount() const;
    // The Index-th visible child; nullptr out of range.
    TBaseTreeNodeEh* VisibleChild(int Index) const;
    // The child at Index; nullptr out of range.
    virtual TBaseTreeNodeEh* GetChild(int Index) const;

    // Link Node as the last child / at Index and answer its Index. Node must belong to the same
    // tree, else Exception "TBaseTreeNodeEh.Add: Tree nodes can not has different Owners" is
    // raised and Node stays with the caller, as it does for an Index outside 0 .. ChildCount.
    // Levels are the caller's business (AttachNode).
    int Add(std::unique_ptr<TBaseTreeNodeEh>&& Node);
    void InsertChildAt(int Index, std::unique_ptr<TBaseTreeNodeEh>&& Node);
    // Unlinks the child at Index and hands it over (not freed).
    std::unique_ptr<TBaseTreeNodeEh> DeleteChildAt(int Index);
    // Swaps two children, keeping Index (and the visible list) current; nothing when I = J.
    void ExchangeChildren(int I, int J);
    // Quicksorts the children by Compare (see QuickSortEh.h), their children too when Recursive.
    void SortChildren(std::intptr_t ParamSort, bool Recursive, const TCompareNodesEh& Compare);

protected:
    virtual bool ExpandedChanging();
    virtual bool CanHaveChildren() const { return true; }
    // Empties both lists. FreeChildrenOf takes the children out first and frees them after.
    virtual void ClearChildLists();
    virtual void ChildVisibilityChanged(TBaseTreeNodeEh* Child);
    virtual void ExpandedChanged();
    virtual void VisibleChanged();
    virtual void BuildVisibleList();

private:
    friend class TTreeListEh;

    void CheckSameOwner(const TBaseTreeNodeEh* Node) const;
    bool AllChildrenVisible() const { return FVisibleCount == ChildCount(); }
    // Index (and, while every child is visible, VisibleIndex) of the children from First on.
    void RenumberFrom(int First);
    void SwapChildren(int I, int J);
    // Debug builds: each child knows its parent and position, the visible count is the number
    // of visible children and, while one is hidden, the visible list holds them in order.
    void AssertChildLists() const;
    void ApplyLevel(int Value);
    // Levels below this node: 0 for a leaf.
    int SubtreeHeight() const;
    int MaxLevel() const;

    TTreeListEh* FOwner = nullptr;
    String FText;
    void* FData = nullptr;
    bool FExpanded = false;
    bool FHasChildren = false;
    int FIndex = -1;
    std::vector<std::unique_ptr<TBaseTreeNodeEh>> FItems;
    // Maintained only while some child is hidden; FItems stands for it otherwise.
    std::vector<TBaseTreeNodeEh*> FVisibleItems;
    int FLevel = 0;
    TBaseTreeNodeEh* FParent = nullptr;
    bool FVisible = true;
    int FVisibleCount = 0;
    int FVisibleIndex = -1;
};

class TTreeListEh {
public:
    static constexpr int DefaultMaxLevel = 1000;

    explicit TTreeListEh(TTreeNodeClassEh NodeClass = TreeNodeClassEh<TBaseTreeNodeEh>());
    TTreeListEh(const TTreeListEh&) = delete;
    TTreeListEh& operator=(const TTreeListEh&) = delete;
    virtual ~TTreeListEh();

    // The hidden root: level 0, no parent; its children are the tree's top nodes.
    TBaseTreeNodeEh* Root() const { return FRoot.get(); }
    int MaxLevel() const { return FMaxLevel; }

    TTreeNodeNotifyEventEh OnExpandedChanged;
    TTreeNodeNotifyResultEventEh OnExpandedChanging;

    virtual bool ExpandedChanging(TBaseTreeNodeEh* Node);
    virtual void ExpandedChanged(TBaseTreeNodeEh* Node);
    virtual int CompareNodes(TBaseTreeNodeEh* Node1, TBaseTreeNodeEh* Node2, std::intptr_t ParamSort);

    // A new node appended to Parent (the root when nullptr). Raises the maximum-level text,
    // with nothing linked, when Parent is at the maximum level.
    TBaseTreeNodeEh* AddChild(const String& Text, TBaseTreeNodeEh* Parent, void* Data);
    // A node of this tree with no parent, level 0, Index -1, owned by the caller until attached.
    std::unique_ptr<TBaseTreeNodeEh> NewDetachedNode(const String& Text, void* Data);
    // Frees Node's children (Node nullptr: the root's); Node then has no children to show.
    void FreeChildrenOf(TBaseTreeNodeEh* Node);
    void FreeAllNodes() { FreeChildrenOf(Root()); }
    // Unlinks Node from its parent and hands it over with Parent nullptr and Index -1; nullptr
    // for a node without parent.
    std::unique_ptr<TBaseTreeNodeEh> DetachNode(TBaseTreeNodeEh* Node, bool Reindex);
    // Frees Node with its subtree; for the root only its children go, a detached node is left
    // to the caller that owns it.
    void DeleteNode(TBaseTreeNodeEh* Node, bool Reindex);
    // Frees, each with its subtree, the children of Node (nullptr: the root) that Doomed picks,
    // and numbers the rest once: removing most of a large node's children stays linear.
    void DeleteChildrenWhere(TBaseTreeNodeEh* Node, const TTreeNodeNotifyResultEventEh& Doomed);
    // Links a detached Node relative to Target (nullptr: the root) by Mode (namAdd...). Answers
    // false and leaves Node with the caller when there is nothing to do: no node, a sibling
    // position of the root or of a detached target. Raises, with nothing changed, for a node of
    // another tree or one that would go below the maximum level.
    bool AttachNode(std::unique_ptr<TBaseTreeNodeEh>&& Node, TBaseTreeNodeEh* Target, bool Reindex, int Mode);
    // Moves a linked Node as AttachNode places it. Raises Exception "Reference-loop found" when
    // Target is Node or lies below it; the tree is then unchanged.
    virtual void MoveNode(TBaseTreeNodeEh* Node, TBaseTreeNodeEh* Target, bool Reindex, int Mode);
    // Sets every child's Index to its position (recursing when Recurse) and rebuilds the
    // visible lists. Node nullptr: the root.
    void RenumberChildren(TBaseTreeNodeEh* Node, bool Recurse);
    virtual void SortTree(std::intptr_t ParamSort, bool Recursive, const TCompareNodesEh& Compare);

    // Navigation; every answer is nullptr when there is no such node.
    TBaseTreeNodeEh* GetFirst() const { return FirstChildOf(Root()); }
    TBaseTreeNodeEh* FirstChildOf(const TBaseTreeNodeEh* Node) const;
    TBaseTreeNodeEh* LastChildOf(const TBaseTreeNodeEh* Node) const;
    TBaseTreeNodeEh* PrevSiblingOf(const TBaseTreeNodeEh* Node) const;
    TBaseTreeNodeEh* NextSiblingOf(const TBaseTreeNodeEh* Node) const;
    // Follows last children down from Node (nullptr: the root); nullptr without children.
    TBaseTreeNodeEh* LastDescendantOf(const TBaseTreeNodeEh* Node) const;
    bool HasChildNodes(const TBaseTreeNodeEh* Node) const;
    // Depth-first order. Both answer their argument itself for nullptr and the root, so a loop
    // "Node = GetNext(Node)" must start below the root.
    TBaseTreeNodeEh* GetNext(TBaseTreeNodeEh* Node) const;
    TBaseTreeNodeEh* GetPrevious(TBaseTreeNodeEh* Node) const;
    // The first visible top node, never entering hidden nodes.
    TBaseTreeNodeEh* GetFirstVisible() const;
    // Every ancestor below the root is visible and, with ExpandedOnly, expanded.
    bool IsNodeShown(const TBaseTreeNodeEh* Node, bool ExpandedOnly) const;
    // The nearest ancestor that is visible and shown; the root when there is none.
    TBaseTreeNodeEh* NearestShownAncestor(const TBaseTreeNodeEh* Node, bool ExpandedOnly) const;
    // The next visible node in depth-first order, not entering hidden nodes nor, with
    // ExpandedOnly, collapsed ones. From a node that is not shown, the walk goes on from its
    // nearest shown ancestor.
    TBaseTreeNodeEh* GetNextVisible(const TBaseTreeNodeEh* Node, bool ExpandedOnly) const;

protected:
    // Node or one of its ancestors is Ancestor.
    static bool IsNodeOrAncestor(const TBaseTreeNodeEh* Ancestor, const TBaseTreeNodeEh* Node);
    // Nodes were unlinked or freed: a tree that keeps its own map of nodes drops it here.
    virtual void NodesRemoved() {}

private:
    std::unique_ptr<TBaseTreeNodeEh> NewNode();
    // Where Mode puts a node relative to Target: its new parent and position (-1: last), or
    // no parent when the mode has nothing to do there.
    struct TAttachPlace {
        TBaseTreeNodeEh* Parent = nullptr;
        int Position = -1;
    };
    TAttachPlace AttachPlace(TBaseTreeNodeEh* Target, int Mode) const;
    // Raises, before anything changes, for a node of another tree or one whose subtree would
    // go below the maximum level under Parent.
    void CheckCanLink(const TBaseTreeNodeEh* Parent, const TBaseTreeNodeEh* Node) const;
    void Link(std::unique_ptr<TBaseTreeNodeEh>&& Node, const TAttachPlace& Place, bool Reindex);
    // The node after Node in depth-first order that does not enter Node's own children.
    TBaseTreeNodeEh* NextSkippingChildren(const TBaseTreeNodeEh* Node) const;
    // Node itself or the first visible node after it that does not enter hidden nodes.
    TBaseTreeNodeEh* FirstVisibleFrom(TBaseTreeNodeEh* Node) const;

    TTreeNodeClassEh FNodeClass;
    int FMaxLevel = DefaultMaxLevel;
    std::unique_ptr<TBaseTreeNodeEh> FRoot;
};
