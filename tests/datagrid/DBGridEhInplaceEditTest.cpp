// The data grid's cell editor as the user drives it: a text, a pick list with its type-ahead, a
// date through the calendar, a number through the calculator and its up-down button, recent
// texts, key-list and lookup cells, each read back from the dataset.
#include "DBGridEhInputTestSupport.h"

#include "datagrid/DBGridEhInplaceEdit.h"
#include "datagrid/DBLookupGridsEh.h"
#include "controls/ToolCtrlsEhEditButtons.h"
#include "editors/CalculatorEh.h"

#include "platform/core/DateTime.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/TypedFields.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PlatformMetrics.h"

#include <QAbstractScrollArea>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QMenu>

#include <utility>

namespace {

const String NameCol = u"名称"_s;
const String UnitCol = u"单位"_s;
const String DayCol = u"日期"_s;
const String QtyCol = u"数量"_s;

// This process's own clipboard for a test's life: on a real display the system one is every
// process's, and a test binary running beside this one may replace its text at any moment.
struct TPrivateClipboard {
    TPrivateClipboard() { Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>()); }
    ~TPrivateClipboard() { Clipboard()->SetStore(nullptr); }
    TPrivateClipboard(const TPrivateClipboard&) = delete;
    TPrivateClipboard& operator=(const TPrivateClipboard&) = delete;
};

// Keys and clicks as the user gives them, and the values read back once posted.
class InplaceEditFixture : public DBGridInputTest {
protected:
    TPrivateClipboard PrivateClipboard;

    // Keys go where the user's keyboard goes: the focused window.
    void Type(int QtKey, const QString& Text = QString(), Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        QWidget* focused = QApplication::focusWidget();
        SendKey(focused != nullptr ? focused : Window(), QtKey, Text, Modifiers);
    }
    void TypeLetters(const QString& Text)
    {
        QWidget* focused = QApplication::focusWidget();
        TypeText(focused != nullptr ? focused : Window(), Text);
    }
    // F2 on a cell of the first record opens the editor with its text selected; F2 in the
    // editor puts the caret at the end.
    TDBGridInplaceEdit* EditCell(int DataCol)
    {
        Data->First();
        Grid->FocusDataColumn(DataCol);
        Type(Qt::Key_F2);
        Type(Qt::Key_F2);
        auto* editor = dynamic_cast<TDBGridInplaceEdit*>(Grid->InplaceEditor());
        EXPECT_NE(editor, nullptr);
        EXPECT_TRUE(Grid->EditorMode());
        EXPECT_EQ(QApplication::focusWidget(), editor != nullptr ? editor->Handle() : nullptr);
        EXPECT_EQ(editor != nullptr ? editor->SelLength() : -1, 0);
        return editor;
    }
    // A client point of the editor as its window takes a mouse event.
    static QPoint EditorPoint(TDBGridInplaceEdit* Editor, int X, int Y)
    {
        const TPoint screen = Editor->ClientToScreen(Point(X, Y));
        return Editor->Handle()->mapFromGlobal(QPoint(screen.X, screen.Y));
    }
    // A press and a release on the middle of the editor's main button.
    static QPoint ButtonMiddle(TDBGridInplaceEdit* Editor)
    {
        const TEditButtonControlEh* button = Editor->ButtonControl(0);
        const TPoint screen = button->ClientToScreen(Point(button->Width() / 2, button->Height() / 4));
        return Editor->Handle()->mapFromGlobal(QPoint(screen.X, screen.Y));
    }
    static void PressButton(TDBGridInplaceEdit* Editor)
    {
        SendMouse(Editor->Handle(), QEvent::MouseButtonPress, ButtonMiddle(Editor), Qt::LeftButton, Qt::LeftButton);
    }
    static void ReleaseButton(TDBGridInplaceEdit* Editor)
    {
        SendMouse(Editor->Handle(), QEvent::MouseButtonRelease, ButtonMiddle(Editor), Qt::LeftButton, Qt::NoButton);
    }
    // One notch of the wheel toward the user over the middle of the editor, where the pointer is.
    static void WheelOverEditor(TDBGridInplaceEdit* Editor)
    {
        const QPointF at(Editor->Width() / 4, Editor->Height() / 2);
        QWheelEvent event(at, Editor->Handle()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Editor->Handle(), &event);
    }
    String Stored(const String& Field) const { return Data->FieldByName(Field)->AsString(); }
    // The value once the record is posted, as leaving the row would.
    String Posted(const String& Field)
    {
        Data->CheckBrowseMode();
        return Stored(Field);
    }
};

class DBGridInplaceEditTest : public InplaceEditFixture {
protected:
    void SetUp() override
    {
        Data = std::make_unique<TMemoryDataSet>(nullptr);
        Data->FieldDefs()->Add(NameCol, TFieldType::ftString, 20);
        Data->FieldDefs()->Add(UnitCol, TFieldType::ftString, 10);
        Data->FieldDefs()->Add(DayCol, TFieldType::ftDateTime);
        Data->FieldDefs()->Add(QtyCol, TFieldType::ftInteger);
        Data->Open();
        Data->AppendRecord({Variant(u"回形针"_s), Variant(u"box"_s), Variant::FromDateTime(Stamp), Variant(5)});
        Data->AppendRecord({Variant(u"订书机"_s), Variant(), Variant(), Variant(2)});
        Data->First();
        ShowGridOn(Data.get());
        TStrings* units = Grid->Columns()->ColumnAt(1)->PickList();
        for (const char16_t* unit : {u"box", u"pack", u"piece"})
            units->Add(QString::fromUtf16(unit));
        Grid->Columns()->ColumnAt(3)->SetButtonStyle(TColumnButtonStyleEh::cbsDropDown);
    }

    const TDateTime Stamp = EncodeDate(2026, 12, 9) + EncodeTime(8, 30, 0, 0);
};

TEST_F(DBGridInplaceEditTest, EachCellKindGetsItsButtonAndDropDown)
{
    struct Case {
        int DataCol;
        TCellButtonKindEh Style;
        bool ButtonShown;
        TEditButtonStyleEh ButtonStyle;
    };
    const Case cases[] = {
        {0, TCellButtonKindEh::cbkNone, false, TEditButtonStyleEh::ebsDropDownEh},
        {1, TCellButtonKindEh::cbkPickList, true, TEditButtonStyleEh::ebsDropDownEh},
        {2, TCellButtonKindEh::cbkCalendar, true, TEditButtonStyleEh::ebsDropDownEh},
        {3, TCellButtonKindEh::cbkDropDown, true, TEditButtonStyleEh::ebsDropDownEh},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.DataCol);
        TDBGridInplaceEdit* editor = EditCell(c.DataCol);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->EditStyle(), c.Style);
        ASSERT_NE(editor->ButtonControl(0), nullptr);
        EXPECT_EQ(editor->ButtonControl(0)->Visible(), c.ButtonShown);
        EXPECT_EQ(editor->ButtonControl(0)->Style(), c.ButtonStyle);
        EXPECT_EQ(editor->EditButtonsWidth() > 0, c.ButtonShown);
        EXPECT_EQ(editor->ActiveList() != nullptr, c.ButtonShown);
        Type(Qt::Key_Escape, u"\x1b"_s);
    }
}

// Cell buttons take the edits' rule: a row taller than round(width x 3 / 2), rounded half to
// even, gets the button's own height. Odd widths are where rounding up would differ.
TEST_F(DBGridInplaceEditTest, CellButtonsTakeTheEditButtonHeightRule)
{
    struct {
        int Width;
        int RowHeight;
        int ButtonHeight;
    } const cases[] = {{3, 5, 3}, {7, 11, 7}, {7, 10, 10}, {11, 17, 11}, {15, 23, 15}, {15, 22, 22}};
    for (const auto& c : cases) {
        delete Form;
        PlatformMetrics().SetVScrollWidth(c.Width);
        ShowGridOn(Data.get());
        Grid->SetRowHeight(c.RowHeight);
        EXPECT_EQ(Grid->EditButtonWidth(), c.Width);
        EXPECT_EQ(Grid->EditButtonHeight(), c.ButtonHeight) << c.Width << " in " << c.RowHeight;
    }
    PlatformMetrics().Reset();
}

// A column button's right-aligned menu ends where the button ends.
TEST_F(DBGridInplaceEditTest, ARightAlignedButtonMenuEndsAtTheButtonsRightEdge)
{
    auto* menu = new TPopupMenu(Form);
    auto* item = new TMenuItem(menu);
    item->SetCaption(u"清空"_s);
    menu->Items()->Add(item);
    menu->SetAlignment(TPopupAlignment::paRight);
    auto* extra = static_cast<TEditButtonEh*>(Grid->Columns()->ColumnAt(0)->EditButtons()->Add());
    extra->SetDropdownMenu(menu);
    TDBGridInplaceEdit* editor = EditCell(0);
    ASSERT_NE(editor, nullptr);
    const TEditButtonControlEh* button = editor->ButtonControl(1);
    const TPoint middle = button->ClientToScreen(Point(button->Width() / 2, button->Height() / 2));
    SendMouse(editor->Handle(), QEvent::MouseButtonPress, editor->Handle()->mapFromGlobal(QPoint(middle.X, middle.Y)),
              Qt::LeftButton, Qt::LeftButton);
    QMenu* shown = menu->Handle();
    ASSERT_NE(shown, nullptr);
    const TPoint corner = button->ClientToScreen(Point(button->Width(), button->Height()));
    EXPECT_EQ(QPoint(shown->geometry().right() + 1, shown->geometry().top()), QPoint(corner.X, corner.Y));
    shown->close();
}

TEST_F(DBGridInplaceEditTest, TheWheelOverTheEditorIsSpentWhileADropDownShows)
{
    TMRUListEh* recent = Grid->Columns()->ColumnAt(0)->MRUList();
    recent->SetActive(true);
    recent->Items()->Add(u"回形针大号"_s);
    struct Case {
        int DataCol;
        const char* List;
    };
    const Case cases[] = {{1, "pick list"}, {2, "calendar"}, {3, "calculator"}, {0, "recent texts"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.List);
        TDBGridInplaceEdit* editor = EditCell(c.DataCol);
        ASSERT_NE(editor, nullptr);
        if (c.DataCol == 0)
            CommitText(editor->Handle(), u"大"_s);
        else
            Type(Qt::Key_Down, QString(), Qt::AltModifier);
        const auto shown = [editor] { return editor->ListVisible() || editor->MRUListDroppedDown(); };
        ASSERT_TRUE(shown());
        WheelOverEditor(editor);
        EXPECT_TRUE(shown());
        EXPECT_EQ(Data->RecNo(), 1);
        EXPECT_TRUE(Grid->EditorMode());
        Type(Qt::Key_Escape, u"\x1b"_s);
        Type(Qt::Key_Escape, u"\x1b"_s);
        Data->Cancel();
    }
    // With every list shut the wheel is the grid's again: it moves the record.
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    WheelOverEditor(editor);
    EXPECT_EQ(Data->RecNo(), 2);
}

TEST_F(DBGridInplaceEditTest, TypedTextPostsOnEnterAndEscRestoresTheCell)
{
    TDBGridInplaceEdit* editor = EditCell(0);
    ASSERT_NE(editor, nullptr);
    TypeLetters(u"AB"_s);
    EXPECT_EQ(editor->Text(), u"回形针AB"_s);
    Type(Qt::Key_Escape, u"\x1b"_s);
    EXPECT_EQ(editor->Text(), u"回形针"_s);
    EXPECT_EQ(Stored(NameCol), u"回形针"_s);

    editor = EditCell(0);
    TypeLetters(u"X"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(NameCol), u"回形针X"_s);
}

TEST_F(DBGridInplaceEditTest, ThePickListOpensByKeyOrButtonAndAcceptsWithEnterOnly)
{
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    // Alt+Down opens at the cell's entry; Down shows the next; Esc puts the cell's text back.
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    EXPECT_TRUE(editor->PickListBox()->Visible());
    EXPECT_EQ(editor->PickListBox()->ItemIndex(), 0);
    EXPECT_EQ(editor->PickListBox()->Count(), 3);
    Type(Qt::Key_Down);
    EXPECT_EQ(editor->Text(), u"pack"_s);
    Type(Qt::Key_Escape, u"\x1b"_s);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(editor->Text(), u"box"_s);

    // A press on the main button opens it; Alt+Down again accepts the highlighted entry.
    const TRect bounds = editor->ButtonControl(0)->BoundsRect();
    ClickAt(editor->Handle(), EditorPoint(editor, (bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2));
    ASSERT_TRUE(editor->ListVisible());
    Type(Qt::Key_Down);
    Type(Qt::Key_Down);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->Text(), u"piece"_s);
    EXPECT_EQ(Stored(UnitCol), u"box"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(UnitCol), u"piece"_s);

    // Enter in the open list accepts and stays in the cell; the next Enter posts.
    editor = EditCell(1);
    Type(Qt::Key_Return, u"\r"_s, Qt::ControlModifier);
    ASSERT_TRUE(editor->ListVisible());
    Type(Qt::Key_Up);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(Data->State(), TDataSetState::dsEdit);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(UnitCol), u"pack"_s);
}

TEST_F(DBGridInplaceEditTest, TypingInAPickListCellCompletesTheEntry)
{
    struct Case {
        QString Typed;
        QString Shown;
        QString Selected;
        QString Stored;
    };
    const Case cases[] = {
        {u"p"_s, u"pack"_s, u"ack"_s, u"pack"_s},
        {u"pi"_s, u"piece"_s, u"ece"_s, u"piece"_s},
        {u"B"_s, u"box"_s, u"ox"_s, u"box"_s},
        // Nothing in the list starts so: the text is typed as it is.
        {u"pz"_s, u"pz"_s, QString(), u"pz"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed.toStdString());
        TDBGridInplaceEdit* editor = EditCell(1);
        ASSERT_NE(editor, nullptr);
        editor->SelectAll();
        TypeLetters(c.Typed);
        EXPECT_EQ(editor->Text(), c.Shown);
        EXPECT_EQ(editor->SelText(), c.Selected);
        Type(Qt::Key_Return, u"\r"_s);
        EXPECT_EQ(Posted(UnitCol), c.Stored);
    }
}

TEST_F(DBGridInplaceEditTest, TheCalendarChangesTheDayAndKeepsTheTimeOfDay)
{
    TDBGridInplaceEdit* editor = EditCell(2);
    ASSERT_NE(editor, nullptr);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    ASSERT_NE(editor->Calendar(), nullptr);
    EXPECT_TRUE(editor->Calendar()->Visible());
    EXPECT_EQ(editor->Calendar()->Date(), EncodeDate(2026, 12, 9));
    // Esc closes it with the cell as it was.
    Type(Qt::Key_Right);
    Type(Qt::Key_Escape, u"\x1b"_s);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(Data->FieldByName(DayCol)->AsDateTime(), Stamp);

    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    Type(Qt::Key_Right);
    Type(Qt::Key_Down);  // a week on: 2026-12-17
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(editor->ListVisible());
    Type(Qt::Key_Return, u"\r"_s);
    Data->CheckBrowseMode();
    EXPECT_EQ(Data->FieldByName(DayCol)->AsDateTime(), EncodeDate(2026, 12, 17) + EncodeTime(8, 30, 0, 0));
}

TEST_F(DBGridInplaceEditTest, AnEmptyDateCellOpensTheCalendarAtToday)
{
    Grid->FocusDataColumn(2);
    Data->Last();
    Type(Qt::Key_F2);
    auto* editor = dynamic_cast<TDBGridInplaceEdit*>(Grid->InplaceEditor());
    ASSERT_NE(editor, nullptr);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    EXPECT_EQ(editor->Calendar()->Date(), Date());
    Type(Qt::Key_Return, u"\r"_s);
    Type(Qt::Key_Return, u"\r"_s);
    Data->CheckBrowseMode();
    EXPECT_EQ(Data->FieldByName(DayCol)->AsDateTime(), Date());
}

TEST_F(DBGridInplaceEditTest, TheCalculatorComputesFromTheCellAndEscKeepsIt)
{
    TDBGridInplaceEdit* editor = EditCell(3);
    ASSERT_NE(editor, nullptr);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    ASSERT_NE(editor->Calculator(), nullptr);
    TypeLetters(u"9"_s);
    Type(Qt::Key_Escape, u"\x1b"_s);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(editor->Text(), u"5"_s);

    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    TypeLetters(u"*3"_s);
    Type(Qt::Key_Return, u"\r"_s);  // "=" shows: Enter computes
    EXPECT_TRUE(editor->ListVisible());
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->Text(), u"15"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(QtyCol), u"15"_s);
}

TEST_F(DBGridInplaceEditTest, TheRecentTextsFollowTheTypingAndEnterTakesOnlyASelectedOne)
{
    TMRUListEh* recent = Grid->Columns()->ColumnAt(0)->MRUList();
    recent->SetActive(true);
    for (const char16_t* text : {u"回形针大号", u"回形针小号", u"订书钉"})
        recent->Items()->Add(QString::fromUtf16(text));
    TDBGridInplaceEdit* editor = EditCell(0);
    ASSERT_NE(editor, nullptr);
    CommitText(editor->Handle(), u"大"_s);
    ASSERT_TRUE(editor->MRUListDroppedDown());
    EXPECT_EQ(editor->MRUListBox()->Count(), 1);
    EXPECT_EQ(editor->MRUListBox()->ItemIndex(), -1);
    // Nothing is selected: Enter closes the list and the typed text stays.
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(editor->MRUListDroppedDown());
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(editor->Text(), u"回形针大"_s);

    Type(Qt::Key_Backspace, u"\b"_s);
    ASSERT_TRUE(editor->MRUListDroppedDown());
    EXPECT_EQ(editor->MRUListBox()->Count(), 2);
    Type(Qt::Key_Down);
    const int index = editor->MRUListBox()->ItemIndex();
    ASSERT_GE(index, 0);
    const String chosen = editor->MRUListBox()->ItemText(index);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(editor->MRUListDroppedDown());
    EXPECT_EQ(editor->Text(), chosen);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(NameCol), chosen);
}

TEST_F(DBGridInplaceEditTest, AKeyListCellTakesOnlyItsEntriesAndClearsWhole)
{
    TColumnEh* units = Grid->Columns()->ColumnAt(1);
    for (const char16_t* key : {u"B", u"K", u"C"})
        units->KeyList()->Add(QString::fromUtf16(key));
    Data->Edit();
    Data->FieldByName(UnitCol)->SetAsString(u"K"_s);
    Data->Post();
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Text(), u"pack"_s);
    // A letter no entry starts with is refused; Backspace only moves the caret.
    TypeLetters(u"z"_s);
    Type(Qt::Key_Backspace, u"\b"_s);
    EXPECT_EQ(editor->Text(), u"pack"_s);
    EXPECT_EQ(editor->SelStart(), 3);
    editor->SelectAll();
    TypeLetters(u"pi"_s);
    EXPECT_EQ(editor->Text(), u"piece"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(UnitCol), u"C"_s);

    // A paste takes the entry the pasted text begins, or nothing.
    editor = EditCell(1);
    for (const char16_t* pasted : {u"zz", u"BO"}) {
        editor->SelectAll();
        Clipboard()->SetAsText(QString::fromUtf16(pasted));
        Type(Qt::Key_V, u"\x16"_s, Qt::ControlModifier);
    }
    EXPECT_EQ(editor->Text(), u"box"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(UnitCol), u"B"_s);

    // Delete clears the cell only with its whole text selected.
    editor = EditCell(1);
    Type(Qt::Key_Delete);
    EXPECT_EQ(editor->Text(), u"box"_s);
    editor->SelectAll();
    Type(Qt::Key_Delete);
    EXPECT_TRUE(editor->Text().isEmpty());
    Type(Qt::Key_Return, u"\r"_s);
    Data->CheckBrowseMode();
    EXPECT_TRUE(Data->FieldByName(UnitCol)->IsNull());
}

// With OnNotInList a key-list cell takes any text, Backspace deletes, and the handler adds the
// entry and its key when the text is stored.
TEST_F(DBGridInplaceEditTest, AKeyListCellWithOnNotInListTakesATextTheHandlerAdds)
{
    TColumnEh* units = Grid->Columns()->ColumnAt(1);
    for (const char16_t* key : {u"B", u"K", u"C"})
        units->KeyList()->Add(QString::fromUtf16(key));
    units->OnNotInList = [units](TObject*, const String& NewText, bool& Recheck) {
        units->PickList()->Add(NewText);
        units->KeyList()->Add(NewText.left(1).toUpper());
        Recheck = true;
    };
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    editor->SelectAll();
    TypeLetters(u"crates"_s);
    EXPECT_EQ(editor->Text(), u"crates"_s);
    Type(Qt::Key_Backspace, u"\b"_s);
    EXPECT_EQ(editor->Text(), u"crate"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(UnitCol), u"C"_s);
    EXPECT_EQ(units->PickList()->Strings(3), u"crate"_s);
}

TEST_F(DBGridInplaceEditTest, TheUpDownButtonStepsTheNumberByItsHalves)
{
    TColumnEh* quantity = Grid->Columns()->ColumnAt(3);
    quantity->SetButtonStyle(TColumnButtonStyleEh::cbsUpDown);
    quantity->SetIncrement(2);
    TDBGridInplaceEdit* editor = EditCell(3);
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(editor->ButtonControl(0)->Style(), TEditButtonStyleEh::ebsUpDownEh);
    const TRect bounds = editor->ButtonControl(0)->BoundsRect();
    const int x = (bounds.Left + bounds.Right) / 2;
    ClickAt(editor->Handle(), EditorPoint(editor, x, bounds.Top + 1));
    EXPECT_EQ(editor->Text(), u"7"_s);
    ClickAt(editor->Handle(), EditorPoint(editor, x, bounds.Bottom - 2));
    ClickAt(editor->Handle(), EditorPoint(editor, x, bounds.Bottom - 2));
    EXPECT_EQ(editor->Text(), u"3"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(QtyCol), u"3"_s);
}

// Issues naming a person by id, shown through a lookup field over a list of people.
class DBGridLookupEditTest : public InplaceEditFixture {
protected:
    void SetUp() override
    {
        People = std::make_unique<TMemoryDataSet>(nullptr);
        People->FieldDefs()->Add(u"id"_s, TFieldType::ftInteger);
        People->FieldDefs()->Add(u"姓名"_s, TFieldType::ftString, 10);
        People->Open();
        int id = 0;
        for (const char16_t* name : {u"Zhang", u"Li", u"Wang", u"Wu"})
            People->AppendRecord({++id, QString::fromUtf16(name)});
        Data = std::make_unique<TMemoryDataSet>(nullptr);
        Data->FieldDefs()->Add(u"人"_s, TFieldType::ftInteger);
        auto* who = new TIntegerField(Data.get());
        who->SetFieldName(u"人"_s);
        who->SetDataSet(Data.get());
        auto* name = new TStringField(Data.get());
        name->SetFieldName(u"姓名"_s);
        name->SetFieldKind(TFieldKind::fkLookup);
        name->SetKeyFields(u"人"_s);
        name->SetLookupDataSet(People.get());
        name->SetLookupKeyFields(u"id"_s);
        name->SetLookupResultField(u"姓名"_s);
        name->SetDataSet(Data.get());
        Data->Open();
        Data->AppendRecord({2});
        Data->First();
        ShowGridOn(Data.get());
    }
    Variant Person()
    {
        Data->CheckBrowseMode();
        return Data->FieldByName(u"人"_s)->Value();
    }

    std::unique_ptr<TMemoryDataSet> People;
};

TEST_F(DBGridLookupEditTest, TheDataListChoosesAPersonAndEscLeavesTheOneThere)
{
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(editor->EditStyle(), TCellButtonKindEh::cbkLookupList);
    EXPECT_EQ(editor->Text(), u"Li"_s);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    ASSERT_NE(editor->DataList(), nullptr);
    EXPECT_TRUE(editor->DataList()->Visible());
    EXPECT_EQ(editor->DataList()->KeyValue(), Variant(2));
    Type(Qt::Key_Down);
    EXPECT_EQ(editor->Text(), u"Wang"_s);
    Type(Qt::Key_Escape, u"\x1b"_s);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->Text(), u"Li"_s);
    EXPECT_EQ(Person(), Variant(2));

    editor = EditCell(1);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    Type(Qt::Key_Down);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->Text(), u"Wang"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Person(), Variant(3));
}

TEST_F(DBGridLookupEditTest, TheWheelOverTheEditorIsSpentWhileTheDataListShows)
{
    Data->AppendRecord({3});
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    WheelOverEditor(editor);
    EXPECT_TRUE(editor->ListVisible());
    EXPECT_EQ(Data->RecNo(), 1);
    EXPECT_EQ(editor->Text(), u"Li"_s);
}

TEST_F(DBGridLookupEditTest, TypingFindsAPersonAndWhatNobodyIsCalledIsRefused)
{
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    editor->SelectAll();
    TypeLetters(u"w"_s);
    EXPECT_EQ(editor->Text(), u"Wang"_s);
    EXPECT_EQ(editor->SelText(), u"ang"_s);
    TypeLetters(u"ux"_s);
    EXPECT_EQ(editor->Text(), u"Wu"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Person(), Variant(4));

    // A paste chooses as typing does.
    editor = EditCell(1);
    editor->SelectAll();
    Clipboard()->SetAsText(u"zha"_s);
    Type(Qt::Key_V, u"\x16"_s, Qt::ControlModifier);
    EXPECT_EQ(editor->Text(), u"Zhang"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Person(), Variant(1));

    // Only the whole text deleted clears the person.
    editor = EditCell(1);
    Type(Qt::Key_Backspace, u"\b"_s);
    EXPECT_EQ(editor->Text(), u"Zhang"_s);
    editor->SelectAll();
    Type(Qt::Key_Delete);
    EXPECT_TRUE(editor->Text().isEmpty());
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_TRUE(VarIsNull(Person()));
}

// A name the list lacks is the column's OnNotInList's to judge: it adds the person, or the
// name is refused with a message and the record keeps its person.
TEST_F(DBGridLookupEditTest, ANameNobodyHasIsAddedByOnNotInListOrRefused)
{
    struct Case {
        bool Adds;
        const char16_t* Name;
    };
    for (const Case c : {Case{true, u"Zhao"}, Case{false, u"Qian"}}) {
        const String name = QString::fromUtf16(c.Name);
        SCOPED_TRACE(name.toStdString());
        std::vector<String> asked;
        Grid->Columns()->ColumnAt(1)->OnNotInList = [&](TObject*, const String& NewText, bool& Recheck) {
            asked.push_back(NewText);
            if (c.Adds)
                People->AppendRecord({People->RecordCount() + 1, NewText});
            Recheck = c.Adds;
        };
        TDBGridInplaceEdit* editor = EditCell(1);
        ASSERT_NE(editor, nullptr);
        editor->SelectAll();
        TypeLetters(name);
        EXPECT_EQ(editor->Text(), name);
        BoxesExpected = !c.Adds;
        Type(Qt::Key_Return, u"\r"_s);
        EXPECT_EQ(asked, std::vector<String>{name});
        if (c.Adds) {
            EXPECT_EQ(Person(), Variant(5));
            continue;
        }
        ASSERT_EQ(Boxes.Shown().size(), 1u);
        EXPECT_TRUE(Boxes.Shown().front().Text.contains(u"“%1”不在字段“姓名”的列表中"_s.arg(name)));
        Type(Qt::Key_Escape, u"\x1b"_s);
        Type(Qt::Key_Escape, u"\x1b"_s);
        EXPECT_EQ(Person(), Variant(5));
    }
}

TEST_F(DBGridLookupEditTest, TheColumnsButtonEventsComeFirstAndMayKeepTheListShut)
{
    TColumnEh* column = Grid->Columns()->ColumnAt(1);
    int downs = 0;
    int clicks = 0;
    bool handleDown = true;
    column->OnEditButtonDown = [&](TObject*, bool TopButton, bool&, bool& Handled) {
        EXPECT_TRUE(TopButton);
        ++downs;
        Handled = handleDown;
    };
    column->OnEditButtonClick = [&](TObject*, bool&) { ++clicks; };
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    for (const bool opens : {false, true}) {
        handleDown = !opens;
        PressButton(editor);
        ReleaseButton(editor);
        EXPECT_EQ(editor->ListVisible(), opens);
    }
    EXPECT_EQ(downs, 2);
    EXPECT_EQ(clicks, 2);
}

TEST_F(DBGridLookupEditTest, ADragFromTheButtonChoosesTheRowReleasedOn)
{
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    PressButton(editor);
    ASSERT_TRUE(editor->ListVisible());
    // Four people, four rows: the last is Wu's.
    TRect area;
    editor->DataList()->DataAreaRect(area);
    const TPoint onWu = editor->DataList()->ClientToScreen(Point(area.Left + 10, area.Bottom - area.Height() / 8));
    const QPoint at = editor->Handle()->mapFromGlobal(QPoint(onWu.X, onWu.Y));
    SendMouse(editor->Handle(), QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    SendMouse(editor->Handle(), QEvent::MouseMove, at + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
    SendMouse(editor->Handle(), QEvent::MouseButtonRelease, at + QPoint(1, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->Text(), u"Wu"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Person(), Variant(4));
}

TEST_F(DBGridLookupEditTest, TheSizeGivenToTheListByItsGripIsTheColumnsNextTime)
{
    TColumnEh* column = Grid->Columns()->ColumnAt(1);
    column->SetDropDownSizing(true);
    column->SetDropDownRows(2);
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    TPopupDataGridEh* list = editor->DataList();
    ASSERT_TRUE(list->Visible());
    EXPECT_EQ(list->Rows(), 2);
    const int rowHeight = list->Height() / 2;
    const int width = list->Width();
    QWidget* grip = list->SizeGrip()->Handle();
    const QPoint start = grip->mapToGlobal(QPoint(grip->width() / 2, grip->height() / 2));
    const QPoint end = start + QPoint(40, rowHeight + 2);
    SendMouse(grip, QEvent::MouseButtonPress, grip->mapFromGlobal(start), Qt::LeftButton, Qt::LeftButton);
    SendMouse(grip, QEvent::MouseMove, grip->mapFromGlobal(end), Qt::NoButton, Qt::LeftButton);
    SendMouse(grip, QEvent::MouseButtonRelease, grip->mapFromGlobal(end), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(list->Rows(), 3);
    Type(Qt::Key_Escape, u"\x1b"_s);
    EXPECT_EQ(column->DropDownRows(), 3u);
    EXPECT_EQ(column->DropDownWidth(), width + 40);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    EXPECT_EQ(list->Rows(), 3);
    EXPECT_EQ(list->Width(), width + 40);
}

// Bad input around the list: it closed while shown, or the edit refused while accepting. The
// cell keeps its person, and the blank that shows a refused choice never becomes a name.
TEST_F(DBGridLookupEditTest, AClosedListOrARefusedEditChoosesNothing)
{
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    Type(Qt::Key_Down);
    People->Close();
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->Text(), u"Li"_s);
    People->Open();
    EXPECT_EQ(Person(), Variant(2));

    std::vector<String> asked;
    Grid->Columns()->ColumnAt(1)->OnNotInList = [&](TObject*, const String& NewText, bool& Recheck) {
        asked.push_back(NewText);
        People->AppendRecord({People->RecordCount() + 1, NewText});
        Recheck = true;
    };
    bool refuse = true;
    Data->BeforeEdit = [&refuse](TDataSet*) {
        if (std::exchange(refuse, false))
            DatabaseError(u"refused"_s);
    };
    editor = EditCell(1);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    Type(Qt::Key_Down);
    BoxesExpected = true;
    Type(Qt::Key_Return, u"\r"_s);
    ASSERT_EQ(Boxes.Shown().size(), 1u);
    EXPECT_EQ(editor->Text(), u"Li "_s);
    Type(Qt::Key_End);
    TypeLetters(u"x"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(asked, std::vector<String>{u"Lix"_s});
    EXPECT_EQ(Person(), Variant(5));
}

TEST_F(DBGridInplaceEditTest, TheEditorShowsTheImageOfTheChosenEntryLeftOfTheText)
{
    TImageList images(nullptr);
    images.SetWidth(12);
    images.SetHeight(12);
    for (const TColor color : {clRed, clLime, clBlue}) {
        TBitmap solid(12, 12);
        solid.Canvas()->Brush()->SetColor(color);
        solid.Canvas()->FillRect(Rect(0, 0, 12, 12));
        images.Add(&solid, nullptr);
    }
    TColumnEh* column = Grid->Columns()->ColumnAt(1);
    column->SetImageList(&images);
    column->SetShowImageAndText(true);
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    // The colour in the middle of the image's place, and that the text starts after it.
    const auto shown = [editor] {
        const QImage image = editor->Handle()->grab().toImage();
        return image.pixelColor(EditorPoint(editor, 8, editor->ClientHeight() / 2));
    };
    EXPECT_EQ(shown(), QColor(255, 0, 0));
    Type(Qt::Key_Home);
    EXPECT_GE(editor->CaretPos().X, 12 + 5);
    Type(Qt::Key_Down, QString(), Qt::AltModifier);
    Type(Qt::Key_Down);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(editor->Text(), u"pack"_s);
    EXPECT_EQ(shown(), QColor(0, 255, 0));
    column->SetImageList(nullptr);
}

TEST_F(DBGridInplaceEditTest, APasteIntoANumberCellKeepsOnlyWhatTheNumberTakes)
{
    TDBGridInplaceEdit* editor = EditCell(3);
    ASSERT_NE(editor, nullptr);
    editor->SelectAll();
    Clipboard()->SetAsText(u"1箱2"_s);
    Type(Qt::Key_V, u"\x16"_s, Qt::ControlModifier);
    EXPECT_EQ(editor->Text(), u"12"_s);
    EXPECT_EQ(editor->SelStart(), 2);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(QtyCol), u"12"_s);
}

TEST_F(DBGridInplaceEditTest, WithEnterAsTabEnterMovesToTheNextCellKeepingTheText)
{
    Grid->SetOptionsEh(Grid->OptionsEh() | dghEnterAsTab);
    TDBGridInplaceEdit* editor = EditCell(0);
    ASSERT_NE(editor, nullptr);
    TypeLetters(u"X"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Grid->FocusedColumnIndex(), 1);
    EXPECT_EQ(Posted(NameCol), u"回形针X"_s);
}

TEST_F(DBGridInplaceEditTest, ADoubleClickStepsAPickListCellWhenTheColumnSaysSo)
{
    Grid->Columns()->ColumnAt(1)->SetDblClickNextVal(true);
    TDBGridInplaceEdit* editor = EditCell(1);
    ASSERT_NE(editor, nullptr);
    const QPoint inText = EditorPoint(editor, 4, editor->Height() / 2);
    SendMouse(editor->Handle(), QEvent::MouseButtonPress, inText, Qt::LeftButton, Qt::LeftButton);
    SendMouse(editor->Handle(), QEvent::MouseButtonRelease, inText, Qt::LeftButton, Qt::NoButton);
    SendMouse(editor->Handle(), QEvent::MouseButtonDblClick, inText, Qt::LeftButton, Qt::LeftButton);
    SendMouse(editor->Handle(), QEvent::MouseButtonRelease, inText, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(editor->Text(), u"pack"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(UnitCol), u"pack"_s);
}

TEST_F(DBGridInplaceEditTest, AnEmptyRequiredFieldIsMarkedWhileItsRecordIsEdited)
{
    Grid->Columns()->ColumnAt(1)->SetHighlightRequired(true);
    Data->FieldByName(UnitCol)->SetRequired(true);
    Grid->FocusDataColumn(1);
    Data->Last();
    Type(Qt::Key_F2);
    auto* editor = dynamic_cast<TDBGridInplaceEdit*>(Grid->InplaceEditor());
    ASSERT_NE(editor, nullptr);
    const auto redPixels = [editor] {
        const QImage image = editor->Handle()->grab().toImage();
        const TPoint origin = editor->ClientToScreen(Point(0, editor->ClientHeight() - 1));
        const QPoint row = editor->Handle()->mapFromGlobal(QPoint(origin.X, origin.Y));
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, row.y()) == QColor(255, 0, 0) ? 1 : 0;
        return count;
    };
    EXPECT_EQ(redPixels(), 0);
    Data->Edit();
    EXPECT_GT(redPixels(), 10);
    TypeLetters(u"p"_s);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Stored(UnitCol), u"pack"_s);
    EXPECT_EQ(redPixels(), 0);
}

}  // namespace

// A word-wrapped column in rows tall enough for more lines edits its text on several lines.
class WordWrapEditTest : public InplaceEditFixture {
protected:
    void SetUp() override
    {
        Data = std::make_unique<TMemoryDataSet>(nullptr);
        Data->FieldDefs()->Add(NameCol, TFieldType::ftString, 100);
        Data->Open();
        Data->AppendRecord({Variant(Note)});
        Data->AppendRecord({Variant(u"stapler"_s)});
        ShowGridOn(Data.get());
        TColumnEh* column = Grid->Columns()->ColumnAt(0);
        column->SetWidth(90);
        column->SetWordWrap(true);
        Grid->SetRowHeight(60);
    }
    static int EditorLines(TDBGridInplaceEdit* Editor) { return static_cast<int>(Editor->Perform(EM_GETLINECOUNT)); }
    static int CaretLine(TDBGridInplaceEdit* Editor)
    {
        return static_cast<int>(Editor->Perform(EM_LINEFROMCHAR, static_cast<WPARAM>(-1)));
    }

    const String Note = u"paper clips in a large box"_s;
};

TEST_F(WordWrapEditTest, TypedTextWrapsAndIsStoredAsTyped)
{
    TDBGridInplaceEdit* editor = EditCell(0);
    ASSERT_NE(editor, nullptr);
    ASSERT_GE(EditorLines(editor), 2);
    TypeLetters(u" for the desk"_s);
    Type(Qt::Key_Return, u"\n"_s, Qt::ControlModifier);
    TypeLetters(u"x"_s);
    const std::string typed = (Note + u" for the desk\r\nx"_s).toStdString();
    EXPECT_EQ(editor->Text().toStdString(), typed);
    Type(Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Posted(NameCol).toStdString(), typed);
}

// While Chinese is composed, the input method places its window by the rectangle the editor
// answers: on the caret's line, the last one or the first.
TEST_F(WordWrapEditTest, TheInputMethodsCursorRectangleIsOnTheCaretsLine)
{
    TDBGridInplaceEdit* editor = EditCell(0);
    ASSERT_NE(editor, nullptr);
    ASSERT_GE(EditorLines(editor), 2);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_EQ(focus, editor->Handle());
    // What the input method asks the focused window.
    const auto answered = [focus] {
        QInputMethodQueryEvent query(Qt::ImCursorRectangle);
        QCoreApplication::sendEvent(focus, &query);
        const QRect rect = query.value(Qt::ImCursorRectangle).toRect();
        return QRect(focus->mapToGlobal(rect.topLeft()), rect.size());
    };
    const auto caret = [editor] {
        const TPoint at = editor->ClientToScreen(editor->CaretPos());
        return QPoint(at.X, at.Y + 1);
    };
    QInputMethodEvent composing(u"zhong"_s, {});
    QApplication::sendEvent(focus, &composing);
    const QRect atEnd = answered();
    EXPECT_TRUE(atEnd.adjusted(-1, -1, 1, 1).contains(caret()));
    CommitText(focus, u"中"_s);
    editor->SetSelStart(0);
    const QRect atStart = answered();
    EXPECT_TRUE(atStart.adjusted(-1, -1, 1, 1).contains(caret()));
    EXPECT_LT(atStart.bottom(), atEnd.top());
}

TEST_F(WordWrapEditTest, OneLineRowsKeepASingleLineEditor)
{
    Grid->SetRowHeight(0);
    TDBGridInplaceEdit* editor = EditCell(0);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(EditorLines(editor), 1);
    Type(Qt::Key_Return, u"\n"_s, Qt::ControlModifier);
    EXPECT_EQ(editor->Text(), Note);
}

TEST_F(WordWrapEditTest, UpAndDownMoveInTheTextUnlessTheEditorIsAlwaysShownAndAtTheEdge)
{
    struct Case {
        bool AlwaysShown;
        int QtKey;
        bool SelectAll;
        bool LeavesCell;
    };
    const Case cases[] = {
        {false, Qt::Key_Up, false, false}, {false, Qt::Key_Down, true, false}, {true, Qt::Key_Up, false, false},
        {true, Qt::Key_Down, false, true}, {true, Qt::Key_Down, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.AlwaysShown << ' ' << c.QtKey << ' ' << c.SelectAll);
        Grid->SetOptions(c.AlwaysShown ? Grid->Options() | dgAlwaysShowEditor : Grid->Options() - dgAlwaysShowEditor);
        TDBGridInplaceEdit* editor = EditCell(0);
        ASSERT_NE(editor, nullptr);
        const int lastLine = EditorLines(editor) - 1;
        if (c.SelectAll)
            editor->SelectAll();
        Type(c.QtKey);
        EXPECT_EQ(Data->RecNo() != 1 || !Grid->EditorMode(), c.LeavesCell);
        if (!c.LeavesCell && !c.SelectAll)
            EXPECT_EQ(CaretLine(editor), c.QtKey == Qt::Key_Up ? lastLine - 1 : lastLine);
        Type(Qt::Key_Escape, u"\x1b"_s);
        Data->Cancel();
    }
}

TEST_F(WordWrapEditTest, EscapeRestoresTheStoredText)
{
    TDBGridInplaceEdit* editor = EditCell(0);
    ASSERT_NE(editor, nullptr);
    TypeLetters(u" and more"_s);
    Type(Qt::Key_Escape, u"\x1b"_s);
    EXPECT_EQ(editor->Text(), Note);
    EXPECT_EQ(Posted(NameCol), Note);
}

// The text area's clicks are the editor window's: a double click there reaches the grid.
TEST_F(WordWrapEditTest, ADoubleClickOnTheTextReachesTheGrid)
{
    int doubleClicks = 0;
    Grid->OnDblClick = [&doubleClicks](TObject*) { ++doubleClicks; };
    TDBGridInplaceEdit* editor = EditCell(0);
    ASSERT_NE(editor, nullptr);
    QWidget* text = static_cast<QAbstractScrollArea*>(editor->Handle())->viewport();
    SendMouse(text, QEvent::MouseButtonDblClick, QPoint(10, 5), Qt::LeftButton, Qt::LeftButton);
    SendMouse(text, QEvent::MouseButtonRelease, QPoint(10, 5), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(CaretLine(editor), 0);
}
