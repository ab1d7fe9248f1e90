// The combo box edit: text and key modes, type-ahead with Chinese items, stepping, and its
// drop-down list.
#include "DBCtrlsEhTestSupport.h"

#include "platform/ui/ImageList.h"

#include <QWheelEvent>

namespace {

class DBComboBoxTest : public DBEditTest {
protected:
    TDBComboBoxEh* ShowCombo(const String& Field, std::initializer_list<String> Items,
                             std::initializer_list<String> Keys = {})
    {
        TDBComboBoxEh* combo = ShowEdit<TDBComboBoxEh>();
        for (const String& item : Items)
            combo->Items()->Add(item);
        for (const String& key : Keys)
            combo->KeyItems()->Add(key);
        if (!Field.isEmpty()) {
            combo->SetDataSource(Source.get());
            combo->SetDataField(Field);
        }
        return combo;
    }
    static String Selected(TCustomEdit* Edit) { return Edit->SelText(); }
};

TEST_F(DBComboBoxTest, AKeyWithoutAnItemShowsNothingAndStaysTheValue)
{
    TDBComboBoxEh* combo = ShowCombo(NameField, {u"one"_s, u"two"_s}, {u"1"_s, u"2"_s, u"3"_s});
    EXPECT_EQ(combo->UsableCount(), 2);
    LeaveEdit();
    combo->SetValue(Variant(u"3"_s));
    EXPECT_EQ(combo->Text(), String());
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Value(), Variant(u"3"_s));
    EXPECT_EQ(Stored(NameField), u"3"_s);
    combo->SetValue(Variant(u"2"_s));
    EXPECT_EQ(combo->Text(), u"two"_s);
    EXPECT_EQ(Stored(NameField), u"2"_s);
    combo->SetValue(Variant::Null());
    EXPECT_EQ(combo->Text(), String());
    EXPECT_TRUE(Data->FieldByName(NameField)->IsNull());
}

TEST_F(DBComboBoxTest, KeyComboTypingSelectsTheCompletedTailAndBackspaceWidensIt)
{
    TDBComboBoxEh* combo = ShowCombo(String(), {u"one"_s, u"two"_s}, {u"1"_s, u"2"_s});
    TypeText(combo->Handle(), u"t"_s);
    EXPECT_EQ(combo->Text(), u"two"_s);
    EXPECT_EQ(Selected(combo), u"wo"_s);
    SendKey(combo->Handle(), Qt::Key_Backspace, u"\b"_s);
    EXPECT_EQ(Selected(combo), u"two"_s);
    EXPECT_EQ(combo->Value(), Variant(u"2"_s));
}

// Committing "入口" finds "入口", although "入" alone first meets "入库单".
TEST_F(DBComboBoxTest, AnInputMethodCommitSearchesAKeyComboAndLeavingPostsTheKey)
{
    TDBComboBoxEh* combo =
        ShowCombo(NameField, {u"入库单"_s, u"入口"_s, u"出库单"_s}, {u"R1"_s, u"R2"_s, u"C1"_s});
    CommitText(combo->Handle(), u"入口"_s);
    EXPECT_EQ(combo->Text(), u"入口"_s);
    EXPECT_EQ(combo->Value(), Variant(u"R2"_s));
    // A composition that matches nothing leaves the item as it was.
    combo->SelectAll();
    CommitText(combo->Handle(), u"入"_s);
    EXPECT_EQ(combo->Text(), u"入库单"_s);
    QInputMethodEvent composing(u"x"_s, {});
    QApplication::sendEvent(combo->Handle(), &composing);
    CommitText(combo->Handle(), u"x"_s);
    EXPECT_EQ(combo->Text(), u"入库单"_s);
    EXPECT_EQ(combo->Value(), Variant(u"R1"_s));
    LeaveEdit();
    EXPECT_EQ(Stored(NameField), u"R1"_s);
}

TEST_F(DBComboBoxTest, TextComboCompletesAtTheEndAndKeepsTextThatMatchesNothing)
{
    TDBComboBoxEh* combo = ShowCombo(NameField, {u"apple"_s, u"apricot"_s, u"胶水"_s});
    combo->SelectAll();
    TypeText(combo->Handle(), u"apr"_s);
    EXPECT_EQ(combo->Text(), u"apricot"_s);
    EXPECT_EQ(Selected(combo), u"icot"_s);
    EXPECT_EQ(combo->ItemIndex(), 1);
    // A character that matches nothing stays as typed.
    TypeText(combo->Handle(), u"z"_s);
    EXPECT_EQ(combo->Text(), u"aprz"_s);
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SelectAll();
    TypeText(combo->Handle(), u"ap."_s);
    EXPECT_EQ(combo->Text(), u"ap."_s);
    combo->SelectAll();
    CommitText(combo->Handle(), u"胶"_s);
    EXPECT_EQ(combo->Text(), u"胶水"_s);
    LeaveEdit();
    EXPECT_EQ(Stored(NameField), u"胶水"_s);
}

// Unfocused, the item and its image still follow the text each record shows.
TEST_F(DBComboBoxTest, AnUnfocusedTextComboFollowsTheRecordsText)
{
    TDBComboBoxEh* combo = ShowCombo(NameField, {u"打印纸"_s, u"订书机"_s});
    TImageList images(nullptr);
    combo->SetImages(&images);
    LeaveEdit();
    const std::pair<void (TDataSet::*)(), int> moves[] = {
        {&TDataSet::First, 1}, {&TDataSet::Next, 0}, {&TDataSet::First, 1}};
    for (const auto& [move, index] : moves) {
        (Data.get()->*move)();
        EXPECT_EQ(combo->ItemIndex(), index) << combo->Text().toStdString();
        EXPECT_EQ(combo->EditImage()->ImageIndex(), index);
    }
    Data->Edit();
    Data->FieldByName(NameField)->SetAsString(u"胶水"_s);
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetImages(nullptr);
}

TEST_F(DBComboBoxTest, UpDownAndTheWheelStepThroughTheItems)
{
    TDBComboBoxEh* combo = ShowCombo(NameField, {u"订书机"_s, u"打印纸"_s, u"胶水"_s});
    struct {
        int Key;
        int Expected;
    } const steps[] = {{Qt::Key_Up, 0}, {Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Down, 2}};
    for (const auto& step : steps) {
        SendKey(combo->Handle(), step.Key);
        EXPECT_EQ(combo->ItemIndex(), step.Expected);
    }
    combo->SelectAll();
    TypeText(combo->Handle(), u"x"_s);
    SendKey(combo->Handle(), Qt::Key_Up);
    EXPECT_EQ(combo->ItemIndex(), 2);
    const auto wheel = [combo](int Delta) {
        const QPointF at(20, 10);
        QWheelEvent event(at, combo->Handle()->mapToGlobal(at), QPoint(), QPoint(0, Delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo->Handle(), &event);
    };
    wheel(120);
    EXPECT_EQ(combo->Text(), u"打印纸"_s);
    wheel(-120);
    EXPECT_EQ(combo->Text(), u"胶水"_s);
    LeaveEdit();
    EXPECT_EQ(Stored(NameField), u"胶水"_s);
}

TEST_F(DBComboBoxTest, TheListDropsChoosesAndCloses)
{
    TDBComboBoxEh* combo = ShowCombo(NameField, {u"订书机"_s, u"打印纸"_s, u"胶水"_s});
    int closes = 0;
    combo->OnCloseUp = [&](TObject*, bool) { ++closes; };
    SendKey(combo->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(combo->ListVisible());
    EXPECT_EQ(combo->PopupListbox()->ItemIndex(), 0);
    EXPECT_TRUE(combo->Focused());
    SendKey(combo->Handle(), Qt::Key_Down);
    SendKey(combo->Handle(), Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(combo->ListVisible());
    EXPECT_EQ(combo->Text(), u"打印纸"_s);
    SendKey(combo->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    SendKey(combo->Handle(), Qt::Key_Down);
    SendKey(combo->Handle(), Qt::Key_Escape, u"\x1b"_s);
    EXPECT_EQ(combo->Text(), u"打印纸"_s);
    EXPECT_EQ(closes, 2);
    // A click on an item takes it.
    SendKey(combo->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    TPopupListboxEh* list = combo->PopupListbox();
    const TRect third = list->ItemRect(2);
    const QPoint at((third.Left + third.Right) / 2, (third.Top + third.Bottom) / 2);
    const TPoint screen = list->ClientToScreen(Point(at.x(), at.y()));
    const QPoint local = list->Handle()->mapFromGlobal(QPoint(screen.X, screen.Y));
    SendMouse(list->Handle(), QEvent::MouseMove, local, Qt::NoButton, Qt::NoButton);
    ClickAt(list->Handle(), local);
    EXPECT_FALSE(combo->ListVisible());
    EXPECT_EQ(combo->Text(), u"胶水"_s);
    LeaveEdit();
    EXPECT_EQ(Stored(NameField), u"胶水"_s);
}

TEST_F(DBComboBoxTest, TheListIsAsWideAsTheWidestItemWhenAsked)
{
    TDBComboBoxEh* combo = ShowCombo(String(), {u"订书机"_s, u"彩色激光打印机硒鼓"_s});
    combo->SetWidth(40);
    combo->DropDownBox()->SetWidth(-1);
    SendKey(combo->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(combo->ListVisible());
    TCanvas canvas;
    canvas.Font()->Assign(combo->Font());
    EXPECT_EQ(combo->PopupListbox()->ClientWidth(), canvas.TextWidth(u"彩色激光打印机硒鼓"_s) + 5);
    SendKey(combo->Handle(), Qt::Key_Escape, u"\x1b"_s);
    combo->SetWidth(400);
    SendKey(combo->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    EXPECT_EQ(combo->PopupListbox()->Width(), 400);
}

TEST_F(DBComboBoxTest, DeleteClearsAKeyComboUnlessTheFieldIsRequired)
{
    for (const bool required : {true, false}) {
        Data->FieldByName(NameField)->SetRequired(required);
        Data->Edit();
        Data->FieldByName(NameField)->SetAsString(u"2"_s);
        Data->Post();
        TDBComboBoxEh* combo = ShowCombo(NameField, {u"one"_s, u"two"_s}, {u"1"_s, u"2"_s});
        EXPECT_EQ(combo->Text(), u"two"_s);
        SendKey(combo->Handle(), Qt::Key_Delete);
        LeaveEdit();
        EXPECT_EQ(Data->FieldByName(NameField)->IsNull(), !required) << required;
        delete combo;
    }
}

TEST_F(DBComboBoxTest, AClickOnAKeyCombosTextOpensTheList)
{
    TDBComboBoxEh* combo = ShowCombo(String(), {u"one"_s, u"two"_s}, {u"1"_s, u"2"_s});
    LeaveEdit();
    ClickAt(combo->Handle(), QPoint(10, combo->Height() / 2));
    EXPECT_TRUE(combo->Focused());
    EXPECT_TRUE(combo->ListVisible());
    ClickAt(combo->Handle(), QPoint(10, combo->Height() / 2));
    EXPECT_FALSE(combo->ListVisible());
}

}  // namespace
