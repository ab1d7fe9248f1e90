// Menu items as a tree, the main menu as a form's menu bar, popup menus opened at a point or by a
// right click, and choosing an item as the user does.
#include "platform/ui/Menus.h"

#include "platform/ui/Forms.h"
#include "platform/ui/UiTestSupport.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TMenuItem* NewItem(TComponent* Owner, const String& Caption, std::vector<std::string>* Log = nullptr)
{
    auto* item = new TMenuItem(Owner);
    item->SetCaption(Caption);
    if (Log != nullptr)
        item->OnClick = [Log, Caption](TObject*) { Log->push_back(Caption.toStdString()); };
    return item;
}

QAction* ActionNamed(const QWidget* Menu, const QString& Text)
{
    for (QAction* action : Menu->actions())
        if (action->text() == Text)
            return action;
    return nullptr;
}

// Chooses an item of an open menu with the mouse.
void ChooseItem(QMenu* Menu, const QString& Text)
{
    QAction* action = ActionNamed(Menu, Text);
    ASSERT_NE(action, nullptr);
    ClickAt(Menu, Menu->actionGeometry(action).center());
}

TEST(MenuItemTest, ItemsFormATreeAndDeleteOnlyDetaches)
{
    TPopupMenu menu(nullptr);
    TMenuItem* first = NewItem(&menu, QStringLiteral("复制"));
    TMenuItem* second = NewItem(&menu, QStringLiteral("粘贴"));
    TMenuItem* between = NewItem(&menu, QStringLiteral("-"));
    menu.Items()->Add(first);
    menu.Items()->Add(second);
    menu.Items()->Insert(1, between);
    ASSERT_EQ(menu.Items()->Count(), 3);
    EXPECT_EQ(menu.Items()->Items(1), between);
    EXPECT_TRUE(between->IsLine());
    EXPECT_EQ(second->Parent(), menu.Items());
    EXPECT_EQ(second->GetParentMenu(), &menu);
    EXPECT_THROW(menu.Items()->Add(first), EMenuError);

    menu.Items()->Delete(0);
    EXPECT_EQ(menu.Items()->Count(), 2);
    EXPECT_EQ(first->Parent(), nullptr);
    EXPECT_EQ(first->GetParentMenu(), nullptr);
    EXPECT_EQ(menu.Items()->IndexOf(first), -1);
    delete first;

    // A freed item leaves its parent; Clear frees the rest.
    delete between;
    EXPECT_EQ(menu.Items()->Count(), 1);
    const int owned = menu.ComponentCount();
    menu.Items()->Clear();
    EXPECT_EQ(menu.Items()->Count(), 0);
    EXPECT_EQ(menu.ComponentCount(), owned - 1);
}

TEST(MenuItemTest, ShortCutPacksTheKeyWithItsModifiers)
{
    EXPECT_EQ(ShortCut('S', ssCtrl), scCtrl | 'S');
    EXPECT_EQ(ShortCut(VK_DELETE, ssShift | ssAlt), scShift | scAlt | VK_DELETE);
}

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Menu = new TMainMenu(Form);
        Settings = NewItem(Form, QStringLiteral("设置"), &Log);
        Menu->Items()->Add(Settings);
        Users = NewItem(Form, QStringLiteral("用户"), &Log);
        Settings->Add(Users);
        Backup = NewItem(Form, QStringLiteral("备份"), &Log);
        Backup->SetShortCut(ShortCut('B', ssCtrl));
        Settings->Add(Backup);
        Form->SetMenu(Menu);
        Form->Show();
    }
    void TearDown() override { delete Form; }

    QMenuBar* Bar() const { return Form->Handle()->findChild<QMenuBar*>(); }
    QMenu* SettingsMenu() const { return ActionNamed(Bar(), QStringLiteral("设置"))->menu(); }

    TForm* Form = nullptr;
    TMainMenu* Menu = nullptr;
    TMenuItem* Settings = nullptr;
    TMenuItem* Users = nullptr;
    TMenuItem* Backup = nullptr;
    std::vector<std::string> Log;
};

TEST_F(MainMenuTest, TheFormShowsItsMenuAsABarAboveTheClientArea)
{
    ASSERT_NE(Bar(), nullptr);
    EXPECT_TRUE(Bar()->isVisible());
    const int barHeight = Bar()->height();
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(Form->ClientHeight(), 300 - barHeight);
    // A child at the client area's top sits right below the bar.
    auto* child = new TCustomControl(Form);
    child->SetBounds(0, 0, 50, 20);
    child->SetParent(Form);
    EXPECT_EQ(child->Handle()->geometry().top(), barHeight);
    ASSERT_NE(SettingsMenu(), nullptr);
    QAction* backup = ActionNamed(SettingsMenu(), QStringLiteral("备份"));
    ASSERT_NE(backup, nullptr);
    EXPECT_EQ(backup->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
}

TEST_F(MainMenuTest, ChoosingAnItemClicksItAndOpeningASubMenuClicksItsParent)
{
    SettingsMenu()->popup(QPoint(0, 0));
    ChooseItem(SettingsMenu(), QStringLiteral("用户"));
    EXPECT_EQ(Log, (std::vector<std::string>{"设置", "用户"}));
}

TEST_F(MainMenuTest, ChangedItemsShowAtOnce)
{
    Users->SetVisible(false);
    Backup->SetEnabled(false);
    Settings->Add(NewItem(Form, QStringLiteral("还原")));
    EXPECT_EQ(ActionNamed(SettingsMenu(), QStringLiteral("用户")), nullptr);
    EXPECT_FALSE(ActionNamed(SettingsMenu(), QStringLiteral("备份"))->isEnabled());
    EXPECT_NE(ActionNamed(SettingsMenu(), QStringLiteral("还原")), nullptr);
}

TEST_F(MainMenuTest, AFreedMenuLeavesTheFormWithoutABar)
{
    delete Menu;
    EXPECT_EQ(Form->Menu(), nullptr);
    EXPECT_EQ(Bar(), nullptr);
    EXPECT_EQ(Form->ClientHeight(), 300);
}

// A control with a popup menu, as the grids have.
class TSurface : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Grid = new TSurface(Form);
        Grid->SetBounds(10, 10, 200, 150);
        Grid->SetParent(Form);
        Popup = new TPopupMenu(Form);
        Copy = NewItem(Form, QStringLiteral("复制"), &Log);
        Popup->Items()->Add(Copy);
        Popup->Items()->Add(NewItem(Form, QStringLiteral("-")));
        Popup->Items()->Add(NewItem(Form, QStringLiteral("删除"), &Log));
        Grid->SetPopupMenu(Popup);
        Form->Show();
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
    TSurface* Grid = nullptr;
    TPopupMenu* Popup = nullptr;
    TMenuItem* Copy = nullptr;
    std::vector<std::string> Log;
};

TEST_F(PopupMenuTest, RightClickOpensTheControlsMenuAndAChosenItemFiresItsClick)
{
    EXPECT_EQ(Popup->Handle(), nullptr);
    RightClickAt(Grid->Handle(), QPoint(20, 30));
    QMenu* menu = Popup->Handle();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Popup->PopupComponent(), Grid);
    const TPoint at = Grid->ClientToScreen(Point(20, 30));
    EXPECT_EQ(Popup->PopupPoint(), at);
    EXPECT_EQ(menu->actions().size(), 3);
    EXPECT_TRUE(menu->actions()[1]->isSeparator());
    ChooseItem(menu, QStringLiteral("删除"));
    EXPECT_EQ(Log, (std::vector<std::string>{"删除"}));
    EXPECT_EQ(Popup->Handle(), nullptr);
}

TEST_F(PopupMenuTest, TheCloseIsReportedAfterTheChosenItemsClickOrWhenNothingIsChosen)
{
    Popup->OnClose = [this](TObject*) { Log.push_back("close"); };
    for (bool choose : {true, false}) {
        Log.clear();
        Popup->Popup(0, 0);
        ASSERT_NE(Popup->Handle(), nullptr);
        if (choose)
            ChooseItem(Popup->Handle(), QStringLiteral("删除"));
        else
            Popup->Handle()->hide();
        QCoreApplication::processEvents();
        EXPECT_EQ(Log, choose ? (std::vector<std::string>{"删除", "close"}) : (std::vector<std::string>{"close"}));
    }
    // A handler may free the menu (and its items), even after a click that ran a modal loop of
    // its own: the close waits for the click to end.
    for (bool choose : {false, true}) {
        Log.clear();
        if (Popup == nullptr)
            Popup = new TPopupMenu(Form);
        TMenuItem* modal = NewItem(Form, QStringLiteral("查看"));
        modal->OnClick = [this](TObject*) {
            QCoreApplication::processEvents();
            Log.push_back(Popup != nullptr ? "click ends, menu alive" : "click ends, menu freed");
        };
        Popup->Items()->Add(modal);
        Popup->OnClose = [this](TObject*) {
            Log.push_back("close");
            delete Popup;
            Popup = nullptr;
        };
        Popup->Popup(0, 0);
        if (choose)
            ChooseItem(Popup->Handle(), QStringLiteral("查看"));
        else
            Popup->Handle()->hide();
        QCoreApplication::processEvents();
        EXPECT_EQ(Log, choose ? (std::vector<std::string>{"click ends, menu alive", "close"})
                              : (std::vector<std::string>{"close"}));
        EXPECT_EQ(Popup, nullptr);
    }
}

TEST_F(PopupMenuTest, OnPopupAdjustsTheItemsBeforeTheyShow)
{
    Popup->OnPopup = [this](TObject*) { Copy->SetEnabled(false); };
    Popup->Popup(50, 60);
    ASSERT_NE(Popup->Handle(), nullptr);
    EXPECT_FALSE(ActionNamed(Popup->Handle(), QStringLiteral("复制"))->isEnabled());
    EXPECT_EQ(Popup->Handle()->pos(), QPoint(50, 60));
}

TEST_F(PopupMenuTest, TheAlignmentSaysWhichEdgeThePointGives)
{
    const std::pair<TPopupAlignment, int> cases[] = {
        {TPopupAlignment::paLeft, 0}, {TPopupAlignment::paRight, 2}, {TPopupAlignment::paCenter, 1}};
    for (const auto& [alignment, halves] : cases) {
        Popup->SetAlignment(alignment);
        Popup->Popup(400, 60);
        QMenu* menu = Popup->Handle();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->pos(), QPoint(400 - menu->width() * halves / 2, 60)) << halves;
        menu->close();
    }
}

TEST_F(PopupMenuTest, ACheckMarkChangesOnlyWhenOnClickSaysSo)
{
    Copy->SetChecked(true);
    Popup->Popup(0, 0);
    QAction* copy = ActionNamed(Popup->Handle(), QStringLiteral("复制"));
    EXPECT_TRUE(copy->isChecked());
    copy->trigger();
    EXPECT_TRUE(copy->isChecked());
    EXPECT_TRUE(Copy->Checked());
    EXPECT_EQ(Log, (std::vector<std::string>{"复制"}));
}

TEST_F(PopupMenuTest, AFreedControlIsNoLongerThePopupComponent)
{
    RightClickAt(Grid->Handle(), QPoint(5, 5));
    delete Grid;
    EXPECT_EQ(Popup->PopupComponent(), nullptr);
}

}  // namespace
