// The in-memory tree: building, walking, hiding, expanding, attaching and moving nodes, and the
// limits on levels and owners.
#include "controls/MemTreeEh.h"
#include "support/ExceptionText.h"

#include "platform/core/Exceptions.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Texts of a walk from First by Step, at most 100 nodes (so a walk that loops shows as a
// failure, not a hang).
template <class TStep>
QStringList Walk(TBaseTreeNodeEh* First, TStep Step)
{
    QStringList Texts;
    for (TBaseTreeNodeEh* Node = First; Node != nullptr && Texts.size() < 100; Node = Step(Node))
        Texts << Node->Text();
    return Texts;
}

// The whole tree in depth-first order as "text:level:index", from GetFirst by GetNext.
QStringList Outline(const TTreeListEh& Tree)
{
    QStringList Lines;
    for (TBaseTreeNodeEh* Node = Tree.GetFirst(); Node != nullptr && Lines.size() < 100; Node = Tree.GetNext(Node))
        Lines << u"%1:%2:%3"_s.arg(Node->Text()).arg(Node->Level()).arg(Node->Index());
    return Lines;
}

// A
//   A1
//     A1a
//   A2
// B
//   B1
// C
class MemTreeEhTest : public testing::Test {
protected:
    MemTreeEhTest()
    {
        A = Tree.AddChild(u"A"_s, nullptr, nullptr);
        A1 = Tree.AddChild(u"A1"_s, A, nullptr);
        A1a = Tree.AddChild(u"A1a"_s, A1, nullptr);
        A2 = Tree.AddChild(u"A2"_s, A, nullptr);
        B = Tree.AddChild(u"B"_s, nullptr, nullptr);
        B1 = Tree.AddChild(u"B1"_s, B, nullptr);
        C = Tree.AddChild(u"C"_s, nullptr, nullptr);
    }

    QStringList Next() { return Walk(Tree.GetFirst(), [this](TBaseTreeNodeEh* N) { return Tree.GetNext(N); }); }
    QStringList Visible(bool ExpandedOnly)
    {
        return Walk(Tree.GetFirstVisible(), [&](TBaseTreeNodeEh* N) { return Tree.GetNextVisible(N, ExpandedOnly); });
    }

    TTreeListEh Tree;
    TBaseTreeNodeEh *A, *A1, *A1a, *A2, *B, *B1, *C;
};

TEST_F(MemTreeEhTest, AddChildBuildsLevelsIndexesAndExpandBoxes)
{
    EXPECT_EQ(Outline(Tree), QStringList({u"A:1:0"_s, u"A1:2:0"_s, u"A1a:3:0"_s, u"A2:2:1"_s, u"B:1:1"_s, u"B1:2:0"_s,
                                          u"C:1:2"_s}));
    EXPECT_TRUE(A->HasChildren());
    EXPECT_FALSE(C->HasChildren());
    EXPECT_EQ(A1->Parent(), A);
    EXPECT_EQ(A->Parent(), Tree.Root());
    EXPECT_EQ(Tree.Root()->Level(), 0);
    EXPECT_EQ(Tree.Root()->ChildCount(), 3);
}

TEST_F(MemTreeEhTest, NavigatesDepthFirstBothWays)
{
    EXPECT_EQ(Next(), QStringList({u"A"_s, u"A1"_s, u"A1a"_s, u"A2"_s, u"B"_s, u"B1"_s, u"C"_s}));
    EXPECT_EQ(Walk(C, [this](TBaseTreeNodeEh* N) { return Tree.GetPrevious(N); }),
              QStringList({u"C"_s, u"B1"_s, u"B"_s, u"A2"_s, u"A1a"_s, u"A1"_s, u"A"_s}));
    EXPECT_EQ(Tree.GetNext(C), nullptr);
    EXPECT_EQ(Tree.GetPrevious(A), nullptr);
    // A previous sibling with children answers its last descendant.
    EXPECT_EQ(Tree.GetPrevious(A2), A1a);
    EXPECT_EQ(Tree.GetPrevious(B), A2);
    // The root and nullptr come back unchanged.
    EXPECT_EQ(Tree.GetNext(Tree.Root()), Tree.Root());
    EXPECT_EQ(Tree.GetPrevious(Tree.Root()), Tree.Root());
    EXPECT_EQ(Tree.GetNext(nullptr), nullptr);

    EXPECT_EQ(Tree.FirstChildOf(A), A1);
    EXPECT_EQ(Tree.LastChildOf(A), A2);
    EXPECT_EQ(Tree.LastChildOf(C), nullptr);
    EXPECT_EQ(Tree.PrevSiblingOf(A), nullptr);
    EXPECT_EQ(Tree.PrevSiblingOf(B), A);
    EXPECT_EQ(Tree.NextSiblingOf(C), nullptr);
    EXPECT_EQ(Tree.LastDescendantOf(nullptr), C);
    EXPECT_EQ(Tree.LastDescendantOf(A), A2);
    EXPECT_EQ(Tree.LastDescendantOf(C), nullptr);
    EXPECT_TRUE(Tree.HasChildNodes(nullptr));
    EXPECT_FALSE(Tree.HasChildNodes(A1a));
}

TEST_F(MemTreeEhTest, HiddenChildLeavesTheVisibleListAndComesBack)
{
    EXPECT_EQ(A->VisibleChildCount(), 2);
    EXPECT_EQ(Tree.Root()->VisibleChildCount(), 3);
    B->SetVisible(false);
    EXPECT_EQ(Tree.Root()->VisibleChildCount(), 2);
    EXPECT_EQ(Tree.Root()->ChildCount(), 3);
    EXPECT_EQ(C->VisibleIndex(), 1);
    EXPECT_EQ(Tree.Root()->VisibleChild(1), C);
    EXPECT_EQ(Tree.Root()->VisibleChild(2), nullptr);

    // A child added while one is hidden lands in the rebuilt visible list.
    TBaseTreeNodeEh* D = Tree.AddChild(u"D"_s, nullptr, nullptr);
    EXPECT_EQ(D->VisibleIndex(), 2);
    EXPECT_EQ(Tree.Root()->VisibleChildCount(), 3);

    B->SetVisible(true);
    EXPECT_EQ(Tree.Root()->VisibleChildCount(), 4);
    EXPECT_EQ(C->VisibleIndex(), 2);
    EXPECT_EQ(D->VisibleIndex(), 3);
    EXPECT_EQ(Tree.Root()->VisibleChild(1), B);

    // The last visible child hidden: the parent has no children to show.
    B1->SetVisible(false);
    EXPECT_FALSE(B->HasChildren());
    EXPECT_EQ(B->VisibleChildCount(), 0);
}

TEST_F(MemTreeEhTest, DeleteChildrenWhereFreesThePickedChildrenAndNumbersTheRestOnce)
{
    // Picked by text, with a hidden child among those kept; the picked nodes' subtrees go too.
    struct TCase {
        QStringList Doomed;
        bool HideC;
        QStringList Outline;
        int Visible;
    };
    const TCase cases[] = {
        {{u"A"_s}, false, {u"B:1:0"_s, u"B1:2:0"_s, u"C:1:1"_s}, 2},
        {{u"B"_s}, true, {u"A:1:0"_s, u"A1:2:0"_s, u"A1a:3:0"_s, u"A2:2:1"_s, u"C:1:1"_s}, 1},
        {{u"A"_s, u"C"_s}, false, {u"B:1:0"_s, u"B1:2:0"_s}, 1},
        {{}, true, {u"A:1:0"_s, u"A1:2:0"_s, u"A1a:3:0"_s, u"A2:2:1"_s, u"B:1:1"_s, u"B1:2:0"_s, u"C:1:2"_s}, 2},
        {{u"A"_s, u"B"_s, u"C"_s}, false, {}, 0},
    };
    for (const TCase& c : cases) {
        TTreeListEh tree;
        for (const QString& top : {u"A"_s, u"B"_s, u"C"_s})
            tree.AddChild(top, nullptr, nullptr);
        TBaseTreeNodeEh* a1 = tree.AddChild(u"A1"_s, tree.Root()->GetChild(0), nullptr);
        tree.AddChild(u"A1a"_s, a1, nullptr);
        tree.AddChild(u"A2"_s, tree.Root()->GetChild(0), nullptr);
        tree.AddChild(u"B1"_s, tree.Root()->GetChild(1), nullptr);
        if (c.HideC)
            tree.Root()->GetChild(2)->SetVisible(false);
        tree.DeleteChildrenWhere(nullptr, [&](TBaseTreeNodeEh* Node) { return c.Doomed.contains(Node->Text()); });
        EXPECT_EQ(Outline(tree), c.Outline) << c.Doomed.join(u',').toStdString();
        EXPECT_EQ(tree.Root()->VisibleChildCount(), c.Visible);
        for (int I = 0; I < tree.Root()->VisibleChildCount(); ++I)
            EXPECT_EQ(tree.Root()->VisibleChild(I)->VisibleIndex(), I);
        EXPECT_EQ(tree.HasChildNodes(nullptr), !c.Outline.isEmpty());
    }
}

TEST_F(MemTreeEhTest, VisibleWalkSkipsHiddenAndCollapsedNodes)
{
    EXPECT_EQ(Visible(false), QStringList({u"A"_s, u"A1"_s, u"A1a"_s, u"A2"_s, u"B"_s, u"B1"_s, u"C"_s}));
    // Nothing is expanded: only the top nodes show.
    EXPECT_EQ(Visible(true), QStringList({u"A"_s, u"B"_s, u"C"_s}));
    A->SetExpanded(true);
    EXPECT_EQ(Visible(true), QStringList({u"A"_s, u"A1"_s, u"A2"_s, u"B"_s, u"C"_s}));

    A1->SetVisible(false);
    EXPECT_EQ(Visible(false), QStringList({u"A"_s, u"A2"_s, u"B"_s, u"B1"_s, u"C"_s}));
    A->SetVisible(false);
    EXPECT_EQ(Visible(false), QStringList({u"B"_s, u"B1"_s, u"C"_s}));
    B->SetVisible(false);
    C->SetVisible(false);
    EXPECT_EQ(Tree.GetFirstVisible(), nullptr);
}

TEST_F(MemTreeEhTest, VisibleWalkFromANodeThatIsNotShownGoesOnAfterItsShownAncestor)
{
    // A1a sits under collapsed A1 under expanded A: the walk resumes after A1, never before it.
    A->SetExpanded(true);
    EXPECT_FALSE(Tree.IsNodeShown(A1a, true));
    EXPECT_TRUE(Tree.IsNodeShown(A1a, false));
    EXPECT_EQ(Tree.NearestShownAncestor(A1a, true), A1);
    EXPECT_EQ(Tree.GetNextVisible(A1a, true), A2);
    // Under hidden B the walk starts over from the root's children.
    B->SetVisible(false);
    EXPECT_EQ(Tree.NearestShownAncestor(B1, false), Tree.Root());
    EXPECT_EQ(Tree.GetNextVisible(B1, false), A);
    EXPECT_EQ(Tree.GetNextVisible(Tree.Root(), false), nullptr);
    EXPECT_FALSE(Tree.IsNodeShown(Tree.Root(), false));
}

TEST_F(MemTreeEhTest, ExpandedChangesAskAndTellTheTree)
{
    QStringList Calls;
    bool Allow = false;
    Tree.OnExpandedChanging = [&](TBaseTreeNodeEh* Node) {
        Calls << u"changing "_s + Node->Text();
        return Allow;
    };
    Tree.OnExpandedChanged = [&](TBaseTreeNodeEh* Node) { Calls << u"changed "_s + Node->Text(); };
    A->SetExpanded(true);
    EXPECT_FALSE(A->Expanded());
    Allow = true;
    A->SetExpanded(true);
    A->SetExpanded(true);
    EXPECT_TRUE(A->Expanded());
    EXPECT_EQ(Calls, QStringList({u"changing A"_s, u"changing A"_s, u"changed A"_s}));
}

TEST_F(MemTreeEhTest, AttachNodePlacesByModeAndIgnoresSiblingsOfTheRoot)
{
    auto Attach = [this](const QString& Text, TBaseTreeNodeEh* Target, int Mode) {
        return Tree.AttachNode(Tree.NewDetachedNode(Text, nullptr), Target, false, Mode);
    };
    EXPECT_TRUE(Attach(u"lastSib"_s, B, namAddLastSibling));
    EXPECT_TRUE(Attach(u"firstSib"_s, B1, namAddFirstSibling));
    EXPECT_TRUE(Attach(u"lastChild"_s, A1a, namAddLastChild));
    EXPECT_TRUE(Attach(u"firstChild"_s, A, namAddFirstChild));
    EXPECT_TRUE(Attach(u"before"_s, A2, namInsertBefore));
    // Mode 130 acts as mode 2.
    EXPECT_TRUE(Attach(u"mod"_s, C, 130));
    // Sibling places of the root do nothing, and the node stays with the caller.
    for (int Mode : {namAddLastSibling, namAddFirstSibling, namInsertBefore}) {
        std::unique_ptr<TBaseTreeNodeEh> Node = Tree.NewDetachedNode(u"x"_s, nullptr);
        EXPECT_FALSE(Tree.AttachNode(std::move(Node), nullptr, false, Mode));
        EXPECT_NE(Node, nullptr);
    }
    EXPECT_EQ(Outline(Tree),
              QStringList({u"A:1:0"_s, u"firstChild:2:0"_s, u"A1:2:1"_s, u"A1a:3:0"_s, u"lastChild:4:0"_s,
                           u"before:2:2"_s, u"A2:2:3"_s, u"B:1:1"_s, u"firstSib:2:0"_s, u"B1:2:1"_s, u"C:1:2"_s,
                           u"mod:2:0"_s, u"lastSib:1:3"_s}));
    EXPECT_TRUE(A1a->HasChildren());
    EXPECT_TRUE(C->HasChildren());
}

TEST_F(MemTreeEhTest, InsertingFirstKeepsEverySiblingIndexSoWalksEnd)
{
    // Without Reindex, later siblings still get their new positions: no two share Index 0.
    Tree.AttachNode(Tree.NewDetachedNode(u"first"_s, nullptr), nullptr, false, namAddFirstChild);
    EXPECT_EQ(A->Index(), 1);
    EXPECT_EQ(Tree.NextSiblingOf(A), B);
    EXPECT_EQ(Next().size(), 8);
    Tree.RenumberChildren(nullptr, true);
    EXPECT_EQ(Outline(Tree).first(2), QStringList({u"first:1:0"_s, u"A:1:1"_s}));
}

TEST_F(MemTreeEhTest, MoveNodeRelinksWithNewLevels)
{
    Tree.MoveNode(A1, C, true, namAddLastChild);
    EXPECT_EQ(Outline(Tree), QStringList({u"A:1:0"_s, u"A2:2:0"_s, u"B:1:1"_s, u"B1:2:0"_s, u"C:1:2"_s,
                                          u"A1:2:0"_s, u"A1a:3:0"_s}));
    // Before a later sibling of its own parent: the target's place after the node left it.
    Tree.MoveNode(A, C, true, namInsertBefore);
    EXPECT_EQ(Walk(Tree.GetFirst(), [this](TBaseTreeNodeEh* N) { return Tree.NextSiblingOf(N); }),
              QStringList({u"B"_s, u"A"_s, u"C"_s}));
    Tree.MoveNode(B1, nullptr, true, namAddFirstChild);
    EXPECT_FALSE(B->HasChildren());
    EXPECT_EQ(B1->Level(), 1);
    EXPECT_EQ(B1->Index(), 0);
}

TEST_F(MemTreeEhTest, MoveUnderItselfRaisesReferenceLoopAndChangesNothing)
{
    const QStringList Before = Outline(Tree);
    EXPECT_EQ(ExceptionText([&] { Tree.MoveNode(A, A1a, true, namAddLastChild); }), u"Reference-loop found"_s);
    EXPECT_EQ(ExceptionText([&] { Tree.MoveNode(A, A, true, namAddFirstChild); }), u"Reference-loop found"_s);
    EXPECT_EQ(ExceptionText([&] { Tree.MoveNode(A, A1, true, namInsertBefore); }), u"Reference-loop found"_s);
    EXPECT_EQ(Outline(Tree), Before);
    EXPECT_TRUE(A->HasChildren());
}

TEST_F(MemTreeEhTest, NodesOfAnotherTreeAreRefused)
{
    TTreeListEh Other;
    std::unique_ptr<TBaseTreeNodeEh> Stranger = Other.NewDetachedNode(u"s"_s, nullptr);
    const QString Text = u"TBaseTreeNodeEh.Add: Tree nodes can not has different Owners"_s;
    EXPECT_EQ(ExceptionText([&] { A->Add(std::move(Stranger)); }), Text);
    EXPECT_EQ(ExceptionText([&] { A->InsertChildAt(0, std::move(Stranger)); }), Text);
    EXPECT_EQ(ExceptionText([&] { Tree.AttachNode(std::move(Stranger), A, true, namAddLastChild); }), Text);
    EXPECT_NE(Stranger, nullptr);
    std::unique_ptr<TBaseTreeNodeEh> Own = Tree.NewDetachedNode(u"o"_s, nullptr);
    EXPECT_EQ(ExceptionText([&] { A->InsertChildAt(3, std::move(Own)); }), u"List index out of bounds (3)"_s);
    EXPECT_NE(Own, nullptr);
    EXPECT_EQ(A->ChildCount(), 2);
    EXPECT_EQ(Stranger->Parent(), nullptr);
}

TEST_F(MemTreeEhTest, LevelsStopAtTheMaximum)
{
    const QString Text = u"TBaseTreeNodeEh.SetLevel: Max level exceed - 1000"_s;
    TBaseTreeNodeEh* Deep = C;
    for (int Level = 2; Level <= Tree.MaxLevel(); ++Level)
        Deep = Tree.AddChild(u"n"_s, Deep, nullptr);
    EXPECT_EQ(Deep->Level(), 1000);
    EXPECT_EQ(ExceptionText([&] { Tree.AddChild(u"too deep"_s, Deep, nullptr); }), Text);
    EXPECT_EQ(Deep->ChildCount(), 0);
    EXPECT_EQ(ExceptionText([&] { Deep->SetLevel(1001); }), Text);
    // A subtree of two levels cannot move under a node at level 999; nothing moves.
    EXPECT_EQ(ExceptionText([&] { Tree.MoveNode(A1, Deep->Parent(), true, namAddLastChild); }), Text);
    EXPECT_EQ(A1->Parent(), A);
    EXPECT_EQ(A1a->Level(), 3);
    // A leaf can.
    Tree.MoveNode(A2, Deep->Parent(), true, namAddLastChild);
    EXPECT_EQ(A2->Level(), 1000);
}

TEST_F(MemTreeEhTest, DetachAndDeleteUnlinkByIdentity)
{
    std::unique_ptr<TBaseTreeNodeEh> Detached = Tree.DetachNode(A1, false);
    EXPECT_EQ(Detached.get(), A1);
    EXPECT_EQ(A1->Parent(), nullptr);
    EXPECT_EQ(A1->Index(), -1);
    EXPECT_EQ(A2->Index(), 0);
    EXPECT_EQ(Tree.DetachNode(A1, false), nullptr);
    EXPECT_EQ(Next(), QStringList({u"A"_s, u"A2"_s, u"B"_s, u"B1"_s, u"C"_s}));

    Tree.DeleteNode(B, true);
    EXPECT_EQ(Next(), QStringList({u"A"_s, u"A2"_s, u"C"_s}));
    EXPECT_EQ(C->Index(), 1);
    Tree.DeleteNode(A2, true);
    EXPECT_FALSE(A->HasChildren());

    // Children freed: no expand box left.
    Tree.AttachNode(std::move(Detached), C, true, namAddLastChild);
    EXPECT_TRUE(C->HasChildren());
    Tree.FreeChildrenOf(C);
    EXPECT_FALSE(C->HasChildren());
    EXPECT_EQ(C->ChildCount(), 0);
    Tree.FreeAllNodes();
    EXPECT_EQ(Tree.GetFirst(), nullptr);
}

TEST_F(MemTreeEhTest, SortKeepsIndexesAndSortsGrandchildren)
{
    // An all-equal comparison still exchanges; Index must follow the list.
    for (const char* Text : {"d", "e", "f", "g"})
        Tree.AddChild(String::fromUtf8(Text), nullptr, nullptr);
    Tree.SortTree(0, false, [](TBaseTreeNodeEh*, TBaseTreeNodeEh*, std::intptr_t) { return 0; });
    for (int I = 0; I < Tree.Root()->ChildCount(); ++I)
        EXPECT_EQ(Tree.Root()->GetChild(I)->Index(), I);

    Tree.AddChild(u"A0"_s, A, nullptr);
    B->SetVisible(false);
    const auto Descending = [](TBaseTreeNodeEh* N1, TBaseTreeNodeEh* N2, std::intptr_t Sign) {
        return int(Sign) * QString::compare(N1->Text(), N2->Text());
    };
    Tree.SortTree(-1, true, Descending);
    EXPECT_EQ(Walk(Tree.GetFirst(), [this](TBaseTreeNodeEh* N) { return Tree.NextSiblingOf(N); }),
              QStringList({u"g"_s, u"f"_s, u"e"_s, u"d"_s, u"C"_s, u"B"_s, u"A"_s}));
    EXPECT_EQ(Walk(A1, [this](TBaseTreeNodeEh* N) { return Tree.PrevSiblingOf(N); }),
              QStringList({u"A1"_s, u"A2"_s}));
    EXPECT_EQ(Tree.LastChildOf(A)->Text(), u"A0"_s);
    // The visible list follows the new order.
    EXPECT_EQ(C->VisibleIndex(), 4);
    EXPECT_EQ(A->VisibleIndex(), 5);

    // A comparison that calls a node less than itself cannot run the scan off the list.
    Tree.SortTree(0, true, [](TBaseTreeNodeEh*, TBaseTreeNodeEh*, std::intptr_t) { return -1; });
    EXPECT_EQ(Tree.Root()->ChildCount(), 7);
    for (int I = 0; I < Tree.Root()->ChildCount(); ++I)
        EXPECT_EQ(Tree.Root()->GetChild(I)->Index(), I);
}

// A node class of its own: the tree makes every node through it.
class TTaggedNode : public TBaseTreeNodeEh {
public:
    int Tag = 7;
};

TEST(MemTreeEhNodeClassTest, TreeMakesNodesOfItsClass)
{
    TTreeListEh Tree(TreeNodeClassEh<TTaggedNode>());
    EXPECT_NE(dynamic_cast<TTaggedNode*>(Tree.Root()), nullptr);
    auto* Node = dynamic_cast<TTaggedNode*>(Tree.AddChild(u"n"_s, nullptr, &Tree));
    ASSERT_NE(Node, nullptr);
    EXPECT_EQ(Node->Data(), &Tree);
    EXPECT_EQ(Node->Owner(), &Tree);
    EXPECT_EQ(Tree.CompareNodes(Node, Node, 0), 0);
}

}  // namespace
