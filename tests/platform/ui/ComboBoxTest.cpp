// The combo box driven as a user drives it: typing with the list dropped, choosing by keys and
// by mouse, the list window that never takes the focus, and events only for what the user did.
#include "platform/ui/ComboBox.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiTestSupport.h"

#include <QFontMetrics>
#include <QWheelEvent>
#include <QWindow>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class ComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Combo = new TComboBox(Form);
        Combo->SetBounds(10, 10, 150, 21);
        Combo->SetParent(Form);
        Combo->Items()->SetCommaText(QStringLiteral("办公室,销售公司,制造部,技术中心"));
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Combo->SetFocus();
        Combo->OnChange = [this](TObject*) { Events.push_back("change " + Combo->Text().toStdString()); };
        Combo->OnDropDown = [this](TObject*) { Events.push_back("dropdown"); };
        Combo->OnCloseUp = [this](TObject*) { Events.push_back("closeup"); };
        Combo->OnKeyPress = [this](TObject*, Char& Key) { Events.push_back("press " + std::to_string(Key.unicode())); };
    }

    void TearDown() override
    {
        Application->OnMessage = nullptr;
        delete Form;
    }

    QWidget* Widget() const { return Combo->Handle(); }

    // The visible list window, if any.
    static QWidget* ListWindow()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->windowType() == Qt::ToolTip && window->isVisible())
                return window;
        return nullptr;
    }

    int ItemHeight() const { return QFontMetrics(Combo->Font()->Handle()).height() + 2; }

    void Wheel(int Delta)
    {
        QWheelEvent event(QPointF(5, 5), Widget()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, Delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Widget(), &event);
    }

    TForm* Form = nullptr;
    TComboBox* Combo = nullptr;
    Log Events;
};

TEST_F(ComboBoxTest, TypingFiresChangeAndCodeFiresNothing)
{
    Combo->SetAutoComplete(false);
    TypeText(Widget(), QStringLiteral("ab"));
    EXPECT_EQ(Events, (Log{"press 97", "change a", "press 98", "change ab"}));
    Events.clear();
    Combo->SetText(QStringLiteral("请选择部门..."));
    Combo->SetItemIndex(2);
    Combo->Items()->Add(QStringLiteral("品质保证部"));
    Combo->SetDroppedDown(true);
    Combo->SetDroppedDown(false);
    EXPECT_EQ(Combo->Text(), QStringLiteral("制造部"));
    EXPECT_EQ(Events, (Log{"dropdown", "closeup"}));
}

TEST_F(ComboBoxTest, DropDownFiresBeforeTheListOpensSoItCanRefillIt)
{
    bool openDuringHandler = true;
    Combo->OnDropDown = [&](TObject*) {
        openDuringHandler = ListWindow() != nullptr || Combo->DroppedDown();
        Combo->Items()->Clear();
        Combo->Items()->Add(QStringLiteral("新项目"));
    };
    SendKey(Widget(), Qt::Key_F4);
    EXPECT_FALSE(openDuringHandler);
    ASSERT_NE(ListWindow(), nullptr);
    EXPECT_TRUE(Combo->DroppedDown());
    SendKey(Widget(), Qt::Key_Down);
    SendKey(Widget(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("新项目"));
}

TEST_F(ComboBoxTest, ListWindowNeverTakesTheFocus)
{
    Combo->SetDroppedDown(true);
    QApplication::processEvents();
    ASSERT_NE(ListWindow(), nullptr);
    EXPECT_TRUE(Combo->Focused());
    EXPECT_EQ(QApplication::focusWidget(), Widget());
    EXPECT_EQ(QApplication::activeWindow(), Form->Handle());
    ClickAt(ListWindow(), QPoint(5, ItemHeight() / 2));
    EXPECT_TRUE(Combo->Focused());
}

TEST_F(ComboBoxTest, KeysMoveInTheOpenListAndEnterChooses)
{
    SendKey(Widget(), Qt::Key_Down, QString(), Qt::AltModifier);
    SendKey(Widget(), Qt::Key_Down);
    SendKey(Widget(), Qt::Key_Down);
    SendKey(Widget(), Qt::Key_Up);
    // Moving in the list changes nothing yet.
    EXPECT_EQ(Combo->Text(), QString());
    SendKey(Widget(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("办公室"));
    EXPECT_EQ(Combo->ItemIndex(), 0);
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(ListWindow(), nullptr);
    EXPECT_EQ(Events, (Log{"dropdown", "press 13", "change 办公室", "closeup"}));
}

TEST_F(ComboBoxTest, EscapeClosesWithoutChoosing)
{
    Combo->SetText(QStringLiteral("原文"));
    SendKey(Widget(), Qt::Key_F4);
    SendKey(Widget(), Qt::Key_Down);
    SendKey(Widget(), Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("原文"));
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Events, (Log{"dropdown", "press 27", "closeup"}));
}

TEST_F(ComboBoxTest, ClickOnAnItemChoosesItAndSelectFiresInsteadOfChange)
{
    Combo->OnSelect = [this](TObject*) { Events.push_back("select " + std::to_string(Combo->ItemIndex())); };
    Combo->OnClick = [this](TObject*) { Events.push_back("click"); };
    SendKey(Widget(), Qt::Key_F4);
    ClickAt(ListWindow(), QPoint(5, ItemHeight() * 2 + ItemHeight() / 2));
    EXPECT_EQ(Combo->Text(), QStringLiteral("制造部"));
    EXPECT_EQ(Events, (Log{"dropdown", "click", "select 2", "closeup"}));
    EXPECT_TRUE(Combo->Focused());
}

// The window system hands a mouse event to the window under the pointer; Qt's window layer then
// applies modality before any widget sees it.
void SendToWindow(QWidget* Window, QEvent::Type Type, QPoint At, Qt::MouseButton Button, Qt::MouseButtons Buttons)
{
    QMouseEvent event(Type, At, Window->mapToGlobal(At), Button, Buttons, Qt::NoModifier);
    QApplication::sendEvent(Window->windowHandle(), &event);
}

TEST_F(ComboBoxTest, OnAModalWindowTheMouseChoosesInTheList)
{
    // Modality takes effect as a window shows, as ShowModal shows it.
    Form->Hide();
    Form->Handle()->setWindowModality(Qt::ApplicationModal);
    Form->Show();
    Combo->SetFocus();
    SendKey(Widget(), Qt::Key_F4);
    QWidget* list = ListWindow();
    ASSERT_NE(list, nullptr);
    const QPoint third(5, ItemHeight() * 2 + ItemHeight() / 2);
    SendToWindow(list, QEvent::MouseMove, third, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(Combo->DroppedDown());
    SendToWindow(list, QEvent::MouseButtonPress, third, Qt::LeftButton, Qt::LeftButton);
    SendToWindow(list, QEvent::MouseButtonRelease, third, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Combo->Text(), QStringLiteral("制造部"));
    EXPECT_FALSE(Combo->DroppedDown());
}

TEST_F(ComboBoxTest, ClickOnTheButtonTogglesTheList)
{
    const QPoint button(Combo->Width() - 5, Combo->Height() / 2);
    ClickAt(Widget(), button);
    EXPECT_TRUE(Combo->DroppedDown());
    ClickAt(Widget(), button);
    EXPECT_FALSE(Combo->DroppedDown());
}

TEST_F(ComboBoxTest, PressOutsideClosesTheList)
{
    Combo->SetDroppedDown(true);
    ClickAt(Form->Handle(), QPoint(250, 150));
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Events, (Log{"dropdown", "closeup"}));
}

TEST_F(ComboBoxTest, ArrowsWithTheListClosedStepThroughTheItems)
{
    SendKey(Widget(), Qt::Key_Down);
    SendKey(Widget(), Qt::Key_Down);
    SendKey(Widget(), Qt::Key_Up);
    EXPECT_EQ(Combo->ItemIndex(), 0);
    EXPECT_EQ(Events, (Log{"change 办公室", "change 销售公司", "change 办公室"}));
}

TEST_F(ComboBoxTest, MaxLengthLimitsTypedCharacters)
{
    Combo->SetAutoComplete(false);
    Combo->SetMaxLength(5);
    TypeText(Widget(), QStringLiteral("1234567"));
    CommitText(Widget(), QStringLiteral("支"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("12345"));
}

TEST_F(ComboBoxTest, ClearingItemsKeepsTheText)
{
    Combo->SetItemIndex(1);
    Combo->Items()->Clear();
    EXPECT_EQ(Combo->Text(), QStringLiteral("销售公司"));
    EXPECT_EQ(Combo->ItemIndex(), -1);
}

TEST_F(ComboBoxTest, KeyPressZeroDropsACharacter)
{
    // Digits and Backspace pass, anything else is dropped, as a quantity field filters.
    Combo->OnKeyPress = [](TObject*, Char& Key) {
        if (!Key.isDigit() && Key != u'\b')
            Key = Char();
    };
    TypeText(Widget(), QStringLiteral("1a2"));
    SendKey(Widget(), Qt::Key_Backspace, QStringLiteral("\b"));
    TypeText(Widget(), QStringLiteral("5"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("15"));
}

TEST_F(ComboBoxTest, ChineseFromTheInputMethodReachesKeyPressAndText)
{
    Combo->SetAutoComplete(false);
    CommitText(Widget(), QStringLiteral("办公桌"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("办公桌"));
    EXPECT_EQ(Events, (Log{"press 21150", "change 办", "press 20844", "change 办公", "press 26700", "change 办公桌"}));
}

TEST_F(ComboBoxTest, AutoCompleteOffersTheItemAndYieldsToFurtherTyping)
{
    CommitText(Widget(), QStringLiteral("技术"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("技术中心"));
    EXPECT_EQ(Combo->SelText(), QStringLiteral("中心"));
    EXPECT_EQ(Combo->ItemIndex(), 3);
    CommitText(Widget(), QStringLiteral("部"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("技术部"));
    EXPECT_EQ(Combo->ItemIndex(), -1);
}

// Completing chooses the item: after the typed text, the change handler sees the completed one.
TEST_F(ComboBoxTest, AutoCompleteReportsTheCompletedTextAsAChoice)
{
    CommitText(Widget(), QStringLiteral("技术"));
    EXPECT_EQ(Events, (Log{"press 25216", "change 技", "change 技术中心", "press 26415", "change 技术", "change 技术中心"}));
    EXPECT_EQ(Combo->Text(), QStringLiteral("技术中心"));
}

TEST_F(ComboBoxTest, AutoDropDownOpensAsTheUserTypesAndTheCaretStays)
{
    Combo->SetAutoComplete(false);
    Combo->SetAutoDropDown(true);
    TypeText(Widget(), QStringLiteral("x"));
    CommitText(Widget(), QStringLiteral("制"));
    EXPECT_TRUE(Combo->DroppedDown());
    EXPECT_TRUE(Combo->Focused());
    EXPECT_EQ(Combo->Text(), QStringLiteral("x制"));
    EXPECT_EQ(Events, (Log{"press 120", "dropdown", "change x", "press 21046", "change x制"}));
    Combo->SetText(QString());
    CommitText(Widget(), QStringLiteral("制"));
    SendKey(Widget(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("制造部"));
}

TEST_F(ComboBoxTest, WheelStepsItemsUnlessTheApplicationHookStopsIt)
{
    Wheel(-120);
    EXPECT_EQ(Combo->ItemIndex(), 0);
    Application->OnMessage = [](TMsg& Msg, bool& Handled) { Handled = Msg.message == WM_MOUSEWHEEL; };
    Wheel(-120);
    EXPECT_EQ(Combo->ItemIndex(), 0);
}

TEST_F(ComboBoxTest, DropDownListTakesNoFreeTextAndFindsItemsByLetter)
{
    Combo->SetStyle(TComboBoxStyle::csDropDownList);
    Combo->Items()->SetCommaText(QStringLiteral("apple,banana,blueberry"));
    TypeText(Widget(), QStringLiteral("b"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("banana"));
    TypeText(Widget(), QStringLiteral("b"));
    EXPECT_EQ(Combo->Text(), QStringLiteral("blueberry"));
    Combo->SetText(QStringLiteral("cherry"));
    EXPECT_EQ(Combo->Text(), QString());
    EXPECT_EQ(Combo->ItemIndex(), -1);
}

}  // namespace
