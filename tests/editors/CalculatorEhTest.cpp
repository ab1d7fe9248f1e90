// The calculator over typed key sequences, through its keys and the wheel, and as a drop-down
// that closes through its owner.
#include "editors/CalculatorEh.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Label.h"
#include "platform/ui/UiTestSupport.h"

#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

struct TKeysCase {
    const char* Keys;  // '\r' Enter, '\b' Backspace, '\x1b' Escape
    const char* Display;
    const char* Caption;
};

class CalculatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Calc = new TCalculatorEh(Form);
        Calc->SetParent(Form);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Calc->SetFocus();
    }
    void TearDown() override
    {
        delete Form;
        Clipboard()->SetStore(nullptr);
        ReleaseKeyboardModifiers();
    }

    String Display() const { return Calc->TextBox()->Caption(); }
    String Caption() const { return Calc->spEqual()->Caption(); }
    void Type(const char* Keys)
    {
        for (const char* k = Keys; *k != 0; ++k) {
            const int qtKey = *k == '\r' ? Qt::Key_Return : *k == '\b' ? Qt::Key_Backspace
                              : *k == '\x1b' ? Qt::Key_Escape : QtKeyOf(QChar(*k));
            SendKey(Calc->Handle(), qtKey, QString(QChar(*k)));
        }
    }
    void Click(int Tag)
    {
        TSpeedButtonEh* key = Calc->Key(Tag);
        ClickAt(Calc->Handle(), QPoint(key->Left() + key->Width() / 2, key->Top() + key->Height() / 2));
    }

    TForm* Form = nullptr;
    TCalculatorEh* Calc = nullptr;
};

TEST_F(CalculatorTest, TypedSequencesShowTheirResultsAndErrors)
{
    const TKeysCase cases[] = {
        {"12+7=", "19", "Ok"},
        {"50+10%", "55", "Ok"},
        {"50*10%", "5", "Ok"},
        {"5+3", "3", "="},
        {"0+3", "3", "="},  // the pending '+' still waits for Enter to add
        {"5/0=", "Error", "Ok"},
        {"5/0=7+", "Error", "Ok"},
        {"5/0=c", "0", "Ok"},
        {"9-4==", "5", "Ok"},
        {"1234567890123456", "123456789012345", "Ok"},
        {"5\bi", "0", "Ok"},
        {"5i\b", "0", "Ok"},
        {"0r", "Error", "Ok"},
        {"4is", "Error", "Ok"},
        {"16s", "4", "Ok"},
        {"8r", "0.125", "Ok"},
        {"1.5.2*2=", "3.04", "Ok"},
        {"3,5*2=", "7", "Ok"},  // ',' types the decimal separator too
        {"7+2\x1b", "0", "Ok"},
        {"5/0=\x1b", "Error", "Ok"},  // only 'C' leaves the error
        {"5/0=\x1b" "c", "0", "Ok"},
    };
    for (const TKeysCase& c : cases) {
        Calc->ClearAll();
        Type(c.Keys);
        EXPECT_EQ(Display(), String::fromUtf8(c.Display)) << c.Keys;
        EXPECT_EQ(Caption(), String::fromUtf8(c.Caption)) << c.Keys;
    }
}

TEST_F(CalculatorTest, KeysClickedComputeAndCancelIsHidden)
{
    for (int tag : {13, 14, 22, 7, 23})  // 1 2 + 4 Ok
        Click(tag);
    EXPECT_EQ(Display(), u"16"_s);
    EXPECT_FALSE(Calc->Key(12)->Visible());
    for (int tag : {9, 4, 19, 23})  // 6 / 0 Ok
        Click(tag);
    EXPECT_EQ(Display(), u"Error"_s);
    ClickAt(Calc->Handle(), QPoint(160, 70));  // the lower half of 'C'
    EXPECT_EQ(Display(), u"0"_s);
}

TEST_F(CalculatorTest, ClipboardWheelAndDelete)
{
    Clipboard()->SetAsText(u" 42.5 "_s);
    SendKey(Calc->Handle(), Qt::Key_V, u"\x16"_s, Qt::ControlModifier);
    EXPECT_EQ(Display(), u"42.5"_s);
    Clipboard()->SetAsText(u"abc"_s);
    SendKey(Calc->Handle(), Qt::Key_V, u"\x16"_s, Qt::ControlModifier);
    EXPECT_EQ(Display(), u"42.5"_s);
    QWheelEvent up(QPointF(90, 10), QPointF(90, 10), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(Calc->Handle(), &up);
    EXPECT_EQ(Display(), u"43.5"_s);
    SendKey(Calc->Handle(), Qt::Key_C, u"\x03"_s, Qt::ControlModifier);
    EXPECT_EQ(Clipboard()->AsText(), u"43.5"_s);
    SendKey(Calc->Handle(), Qt::Key_Delete);
    EXPECT_EQ(Display(), u"0"_s);
}

class TCalcOwner : public TComponent, public IPopupOwnerEh {
public:
    TCalcOwner() : TComponent(nullptr) {}
    void CloseUp(bool Accept) override { Closes.push_back(Accept); }
    std::vector<bool> Closes;
};

TEST_F(CalculatorTest, PopupAcceptsOnOkComputesOnEqualsAndCancelsOnEscape)
{
    TCalcOwner owner;
    auto* popup = new TPopupCalculatorEh(&owner);
    popup->SetCalcValue(Variant(5.0));
    popup->Show();
    QWidget* window = popup->Handle();
    EXPECT_EQ(popup->Width(), TCalculatorEh::StoredClientWidth + 4);
    for (QChar ch : u"-5-3"_s)
        SendKey(window, QtKeyOf(ch), QString(ch));
    EXPECT_FALSE(popup->EnterAcceptsValue());
    SendKey(window, Qt::Key_Return, u"\r"_s);
    EXPECT_TRUE(owner.Closes.empty());
    EXPECT_EQ(popup->GetCalcValue(), Variant(-3.0));
    SendKey(window, Qt::Key_Return, u"\r"_s);
    SendKey(window, Qt::Key_Escape);
    EXPECT_EQ(owner.Closes, (std::vector<bool>{true, false}));
    popup->SetCalcValue(Variant(1.0));
    for (QChar ch : u"/0="_s)
        SendKey(window, QtKeyOf(ch), QString(ch));
    EXPECT_TRUE(VarIsNull(popup->GetCalcValue()));
    SendKey(window, Qt::Key_Escape);  // closes the popup even in error
    EXPECT_EQ(owner.Closes, (std::vector<bool>{true, false, false}));
    delete popup;
}

}  // namespace
