// The list box chosen from by mouse and keys: OnClick for every selection the user makes, none
// for code.
#include "platform/ui/Forms.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/UiTestSupport.h"

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        List = new TListBox(Form);
        List->SetBounds(10, 10, 120, 100);
        List->SetParent(Form);
        List->Items()->SetCommaText(QStringLiteral("办公室,销售公司,制造部"));
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        List->OnClick = [this](TObject*) { Events.push_back("click " + std::to_string(List->ItemIndex())); };
        List->OnDblClick = [this](TObject*) { Events.push_back("dblclick " + std::to_string(List->ItemIndex())); };
    }
    void TearDown() override { delete Form; }

    // A point inside row Row, in the widget's coordinates (the frame around the client area).
    QPoint RowPoint(int Row) const
    {
        const TPoint at = Point(5, Row * List->ItemHeight() + 2);
        return List->Handle()->mapFromGlobal(QPoint(List->ClientToScreen(at).X, List->ClientToScreen(at).Y));
    }

    TForm* Form = nullptr;
    TListBox* List = nullptr;
    Log Events;
};

TEST_F(ListBoxTest, ClickSelectsTheRowAndFocusesTheList)
{
    ClickAt(List->Handle(), RowPoint(1));
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_TRUE(List->Focused());
    EXPECT_EQ(Events, (Log{"click 1"}));
    EXPECT_EQ(List->ItemAtPos(Point(5, 2)), 0);
    EXPECT_EQ(List->ItemAtPos(Point(5, 3 * List->ItemHeight() + 1)), -1);
}

TEST_F(ListBoxTest, DoubleClickFollowsTheClick)
{
    ClickAt(List->Handle(), RowPoint(2));
    SendMouse(List->Handle(), QEvent::MouseButtonDblClick, RowPoint(2), Qt::LeftButton, Qt::LeftButton);
    SendMouse(List->Handle(), QEvent::MouseButtonRelease, RowPoint(2), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Events, (Log{"click 2", "dblclick 2"}));
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndClick)
{
    List->SetFocus();
    SendKey(List->Handle(), Qt::Key_Down);
    SendKey(List->Handle(), Qt::Key_Down);
    SendKey(List->Handle(), Qt::Key_End);
    SendKey(List->Handle(), Qt::Key_Home);
    EXPECT_EQ(Events, (Log{"click 0", "click 1", "click 2", "click 0"}));
}

TEST_F(ListBoxTest, CodeSelectsWithoutEventsAndSortedKeepsOrder)
{
    List->SetItemIndex(2);
    EXPECT_EQ(List->ItemIndex(), 2);
    List->SetItemIndex(7);
    EXPECT_EQ(List->ItemIndex(), -1);
    List->Items()->SetCommaText(QStringLiteral("pear,fig,apple"));
    List->SetSorted(true);
    List->Items()->Add(QStringLiteral("banana"));
    EXPECT_EQ(List->Items()->CommaText(), QStringLiteral("apple,banana,fig,pear"));
    List->SetItemIndex(3);
    List->Items()->Clear();
    EXPECT_EQ(List->ItemIndex(), -1);
    EXPECT_TRUE(Events.empty());
}

TEST_F(ListBoxTest, ManyItemsScrollToKeepTheSelectionInView)
{
    List->Items()->Clear();
    for (int i = 0; i < 50; ++i)
        List->Items()->Add(QString::number(i));
    List->SetItemIndex(40);
    EXPECT_LE(List->TopIndex(), 40);
    EXPECT_GT(List->TopIndex() + List->ClientHeight() / List->ItemHeight(), 40);
}

TEST_F(ListBoxTest, SelectStringFindsTheFirstItemBeginningWithThePrefix)
{
    List->Items()->SetCommaText(QStringLiteral("Alpha,beta,Beach,北京,北京市"));
    EXPECT_EQ(List->SelectString(QStringLiteral("BE")), 1);
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_EQ(List->SelectString(QStringLiteral("北京市")), 4);
    EXPECT_EQ(List->SelectString(QStringLiteral("z")), -1);
    EXPECT_EQ(List->ItemIndex(), 4);
    EXPECT_TRUE(Events.empty());
}

TEST_F(ListBoxTest, VirtualStyleTakesItsRowsFromTheHandlers)
{
    TObject tag;
    List->OnData = [](TWinControl*, int Index, String& Data) { Data = QStringLiteral("第%1行").arg(Index); };
    List->OnDataObject = [&](TWinControl*, int Index, TObject*& Object) { Object = Index == 2 ? &tag : nullptr; };
    List->SetStyle(TListBoxStyle::lbVirtualOwnerDraw);
    EXPECT_EQ(List->Count(), 0);
    List->SetCount(50);
    EXPECT_EQ(List->Count(), 50);
    EXPECT_EQ(List->ItemText(7), QStringLiteral("第7行"));
    EXPECT_EQ(List->ItemObject(2), &tag);
    EXPECT_EQ(List->ItemText(50), QString());
    SendKey(List->Handle(), Qt::Key_End);
    EXPECT_EQ(List->ItemIndex(), 49);
    List->SetStyle(TListBoxStyle::lbStandard);
    EXPECT_EQ(List->Count(), 3);
    EXPECT_EQ(List->ItemIndex(), -1);
}

TEST_F(ListBoxTest, OwnerDrawnRowsGoThroughOnDrawItem)
{
    std::vector<std::pair<int, bool>> drawn;
    List->OnDrawItem = [&](TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
        EXPECT_EQ(Rect, List->ItemRect(Index));
        drawn.emplace_back(Index, State.Contains(odSelected));
    };
    List->SetItemHeight(30);
    EXPECT_EQ(List->ItemHeight(), 30);
    List->SetItemIndex(1);
    List->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    List->Handle()->grab();
    EXPECT_EQ(drawn, (std::vector<std::pair<int, bool>>{{0, false}, {1, true}, {2, false}}));
    EXPECT_EQ(List->ItemRect(2), Rect(0, 60, List->ClientWidth(), 90));
}

TEST(ListBoxWindowTest, RowsSetBeforeTheWindowReachItsScrollBar)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* list = new TListBox(&form);
    list->SetBounds(10, 10, 120, 100);
    for (int i = 0; i < 40; ++i)
        list->Items()->Add(QString::number(i));
    list->SetParent(&form);
    form.Show();
    TScrollInfo info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(list->GetScrollInfo(SB_VERT, info));
    EXPECT_EQ(info.nMax, 39);
    EXPECT_EQ(info.nPage, static_cast<unsigned>(list->ClientHeight() / list->ItemHeight()));
}

}  // namespace
