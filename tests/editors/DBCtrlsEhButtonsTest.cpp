// The edit's button strip, its drop-down of recently used texts and its in-place hosting.
#include "DBCtrlsEhTestSupport.h"

#include "platform/ui/Menus.h"
#include "platform/ui/Themes.h"

#include <QMenu>

namespace {

// A widget point of the edit for one of its client points.
QPoint At(TCustomDBEditEh* Edit, TPoint Client)
{
    const TPoint screen = Edit->ClientToScreen(Client);
    return Edit->Handle()->mapFromGlobal(QPoint(screen.X, screen.Y));
}

QPoint ButtonCentre(TCustomDBEditEh* Edit, int Index)
{
    const TRect bounds = Edit->ButtonControl(Index)->BoundsRect();
    return At(Edit, Point((bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2));
}

// A strip as high as the client keeps its buttons full height while that is no more than half
// as high again as they are wide.
TEST_F(DBEditTest, ButtonsTakeTheStripHeightUpToOneAndAHalfTheirWidth)
{
    TDBEditEh* edit = ShowEdit();
    edit->SetAutoSize(false);
    edit->SetBorderStyle(TBorderStyle::bsNone);
    edit->EditButton()->SetVisible(true);
    edit->EditButton()->SetWidth(14);
    for (const bool flat : {false, true}) {
        edit->SetFlat(flat);
        edit->SetHeight(21);
        EXPECT_EQ(edit->ButtonHeight(), 21) << flat;
        edit->SetHeight(22);
        EXPECT_EQ(edit->ButtonHeight(), EditButtonHeightForWidth(14, flat)) << flat;
        EXPECT_EQ(edit->ButtonStripWidth(), 14 + (flat && !ThemesActive() ? 1 : 0)) << flat;
    }
}

TEST_F(DBEditTest, TheMainShortCutWaitsForAnOpenDataSetWhileExtraButtonsAlwaysServe)
{
    TDBEditEh* edit = ShowEdit(NameField);
    edit->EditButton()->SetVisible(true);
    edit->EditButton()->SetShortCut(DropDownButtonShortCut);
    auto* extra = static_cast<TEditButtonEh*>(edit->EditButtons()->Add());
    extra->SetStyle(TEditButtonStyleEh::ebsEllipsisEh);
    extra->SetShortCut(scCtrl | 'E');
    int mainClicks = 0;
    int mainDowns = 0;
    int extraClicks = 0;
    edit->OnButtonClick = [&](TObject*, bool&) { ++mainClicks; };
    edit->OnButtonDown = [&](TObject*, bool, bool&, bool&) { ++mainDowns; };
    extra->OnClick = [&](TObject*, bool& Handled) {
        ++extraClicks;
        Handled = true;
    };
    ClickAt(edit->Handle(), ButtonCentre(edit, 0));
    EXPECT_EQ(mainDowns, 1);
    EXPECT_EQ(mainClicks, 1);
    ClickAt(edit->Handle(), ButtonCentre(edit, 1));
    EXPECT_EQ(extraClicks, 1);
    Data->Close();
    SendKey(edit->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    SendKey(edit->Handle(), Qt::Key_E, QString(), Qt::ControlModifier);
    EXPECT_EQ(mainClicks, 1);
    EXPECT_EQ(extraClicks, 2);
    Data->Open();
    SendKey(edit->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    EXPECT_EQ(mainClicks, 2);
}

// A button with a drop-down menu opens it under itself instead of acting, and comes up again.
// Under the button: from its left edge, or a right-aligned menu up to its right edge.
TEST_F(DBEditTest, AButtonsDropDownMenuOpensUnderIt)
{
    TDBEditEh* edit = ShowEdit();
    auto* menu = new TPopupMenu(Form);
    auto* item = new TMenuItem(menu);
    item->SetCaption(u"清空"_s);
    menu->Items()->Add(item);
    edit->EditButton()->SetVisible(true);
    edit->EditButton()->SetDropdownMenu(menu);
    int clicks = 0;
    edit->OnButtonClick = [&](TObject*, bool&) { ++clicks; };
    for (const TPopupAlignment alignment : {TPopupAlignment::paLeft, TPopupAlignment::paRight}) {
        menu->SetAlignment(alignment);
        ClickAt(edit->Handle(), ButtonCentre(edit, 0));
        QMenu* shown = menu->Handle();
        ASSERT_NE(shown, nullptr);
        const TEditButtonControlEh* button = edit->ButtonControl(0);
        const TPoint under = button->ClientToScreen(Point(0, button->Height()));
        const QRect frame = shown->geometry();
        if (alignment == TPopupAlignment::paLeft)
            EXPECT_EQ(frame.topLeft(), QPoint(under.X, under.Y));
        else
            EXPECT_EQ(QPoint(frame.right() + 1, frame.top()), QPoint(under.X + button->Width(), under.Y));
        EXPECT_EQ(clicks, 0);
        EXPECT_EQ(button->PressedPart(), bppNoneEh);
        shown->close();
    }
}

class DBEditMRUTest : public DBEditTest {
protected:
    TDBEditEh* ShowMRUEdit()
    {
        TDBEditEh* edit = ShowEdit();
        edit->MRUList()->SetActive(true);
        for (const String& text : {u"办公用品"_s, u"办公桌"_s, u"打印纸"_s})
            edit->MRUList()->AddRecentText(text);
        return edit;
    }
    static bool Shown(TDBEditEh* Edit) { return Edit->MRUListbox() != nullptr && Edit->MRUListbox()->Visible(); }
};

TEST_F(DBEditMRUTest, TheFirstCharacterDropsTheMatchesAndEnterTakesOne)
{
    TDBEditEh* edit = ShowMRUEdit();
    CommitText(edit->Handle(), u"办"_s);
    ASSERT_TRUE(Shown(edit));
    EXPECT_EQ(edit->MRUListbox()->Items()->Count(), 2);
    EXPECT_TRUE(edit->Focused());
    SendKey(edit->Handle(), Qt::Key_Down);
    const String chosen = edit->MRUListbox()->ItemText(edit->MRUListbox()->ItemIndex());
    SendKey(edit->Handle(), Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(Shown(edit));
    EXPECT_EQ(edit->Text(), chosen);
    LeaveEdit();
    EXPECT_EQ(edit->Value(), Variant(chosen));
    // Posted, the text moved to the end of the remembered ones.
    EXPECT_EQ(edit->MRUList()->Items()->Strings(2), chosen);
    EXPECT_EQ(edit->MRUList()->Items()->Count(), 3);
}

TEST_F(DBEditMRUTest, TypingRefiltersAndEscapeKeepsTheTypedText)
{
    TDBEditEh* edit = ShowMRUEdit();
    CommitText(edit->Handle(), u"办公"_s);
    ASSERT_TRUE(Shown(edit));
    EXPECT_EQ(edit->MRUListbox()->Items()->Count(), 2);
    CommitText(edit->Handle(), u"桌"_s);
    EXPECT_EQ(edit->MRUListbox()->Items()->Count(), 1);
    SendKey(edit->Handle(), Qt::Key_Escape, u"\x1b"_s);
    EXPECT_FALSE(Shown(edit));
    EXPECT_EQ(edit->Text(), u"办公桌"_s);
    // Backspace shows the list again; down to nothing it closes, and once more offers all.
    SendKey(edit->Handle(), Qt::Key_Backspace, u"\b"_s);
    EXPECT_TRUE(Shown(edit));
    SendKey(edit->Handle(), Qt::Key_Backspace, u"\b"_s);
    SendKey(edit->Handle(), Qt::Key_Backspace, u"\b"_s);
    EXPECT_FALSE(Shown(edit));
    SendKey(edit->Handle(), Qt::Key_Backspace, u"\b"_s);
    ASSERT_TRUE(Shown(edit));
    EXPECT_EQ(edit->MRUListbox()->Items()->Count(), 3);
}

TEST_F(DBEditMRUTest, TheListRemembersTheSizeTheUserGaveIt)
{
    TDBEditEh* edit = ShowMRUEdit();
    CommitText(edit->Handle(), u"办"_s);
    TMRUListboxEh* box = edit->MRUListbox();
    box->SetBounds(box->Left(), box->Top(), 320, box->Height());
    EXPECT_EQ(edit->MRUList()->Width(), 320);
    SendKey(edit->Handle(), Qt::Key_Escape, u"\x1b"_s);
    CommitText(edit->Handle(), u"公"_s);
    ASSERT_TRUE(Shown(edit));
    EXPECT_EQ(box->Width(), 320);
}

// A window that hosts the edit as its cell editor.
class THolder : public TWinControl, public IInplaceEditHolderEh {
public:
    using TWinControl::TWinControl;
    bool CanEditorModify(TCustomDBEditEh*) override { return true; }
    bool GetLastMouseDown(TPoint& Pos, std::uint32_t& Time) override
    {
        Pos = LastDown;
        Time = LastTime;
        return true;
    }
    void EditorWndProc(TCustomDBEditEh*, TMessage&) override {}
    void EditorKeyDown(TCustomDBEditEh*, WORD&, TShiftState) override {}
    // The holder takes the key it is told to.
    void EditorKeyPress(TCustomDBEditEh*, Char& Key) override
    {
        if (Key == Taken)
            Key = Char();
    }
    void EditorKeyUp(TCustomDBEditEh*, WORD&, TShiftState) override {}

    TPoint LastDown;
    std::uint32_t LastTime = 0;
    Char Taken;
};

TEST_F(DBEditTest, HostedAClickCloseToTheHoldersLastOneIsADoubleClick)
{
    TDBEditEh* edit = ShowEdit();
    EXPECT_THROW(edit->SetInplaceEditHolder(Other), Exception);
    EXPECT_FALSE(edit->InplaceMode());
    auto* holder = new THolder(Form);
    holder->SetBounds(220, 10, 150, 100);
    holder->SetParent(Form);
    holder->SetTabStop(true);
    edit->SetInplaceEditHolder(holder);
    holder->Taken = u'x';
    TypeText(edit->Handle(), u"xyx"_s);
    EXPECT_EQ(edit->Text(), u"y"_s);
    std::uint32_t now = 1000;
    PlatformMetrics().SetTickClock([&now] { return now; });
    int doubleClicks = 0;
    edit->OnDblClick = [&](TObject*) { ++doubleClicks; };
    const QPoint click = At(edit, Point(20, 5));
    const TPoint screen = edit->ClientToScreen(Point(20, 5));
    holder->LastDown = Point(screen.X + 2, screen.Y);
    holder->LastTime = 800;
    ClickAt(edit->Handle(), click);
    EXPECT_EQ(doubleClicks, 1);
    holder->LastTime = 400;
    ClickAt(edit->Handle(), click);
    EXPECT_EQ(doubleClicks, 1);
    edit->MoveToRect(TRect());
    EXPECT_FALSE(edit->Visible());
    EXPECT_TRUE(holder->Focused());
}

}  // namespace
