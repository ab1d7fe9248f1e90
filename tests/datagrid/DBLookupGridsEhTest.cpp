// The lookup grid dropped down from an edit as its owner does: keys, characters and the wheel
// forwarded from the edit, which keeps the focus; clicks, the size grip, the special row; each
// accepted key read back from the edited dataset.
#include "datagrid/DBLookupGridsEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/data/TypedFields.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/QtConvert.h"
#include "../platform/ui/UiTestSupport.h"

#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// An edit of the issue's person (人) that drops the people list down under itself, passes it
// the keys and the wheel while it shows and writes the key on an accepting close.
class TPersonEdit : public TEdit {
public:
    TPersonEdit(TComponent* AOwner, TDataSet* Issues) : TEdit(AOwner), FIssues(Issues)
    {
        Grid = new TPopupDataGridEh(this);
        Grid->OnCloseUp = [this](TObject*, bool Accept) { ClosedUp(Accept); };
        Grid->OnUserKeyValueChange = [this](TObject*) { ++UserChanges; };
    }

    void DropDown()
    {
        Grid->SetKeyValue(FIssues->FieldByName(u"人"_s)->Value());
        const TPoint topLeft = ClientToScreen(Point(0, 0));
        Grid->DropDownUnder(Rect(topLeft.X, topLeft.Y, topLeft.X + Width(), topLeft.Y + Height()),
                            TDropDownAlign::daLeft);
    }

    TPopupDataGridEh* Grid = nullptr;
    std::vector<bool> Closes;
    int UserChanges = 0;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        if (Grid->Visible()) {
            if (Key == VK_RETURN || Key == VK_ESCAPE) {
                Grid->CloseUp(Key == VK_RETURN);
                Key = 0;
                return;
            }
            if (Grid->ForwardKey(Key, Shift)) {
                Key = 0;
                return;
            }
        }
        TEdit::KeyDown(Key, Shift);
    }

    void KeyPress(Char& Key) override
    {
        if (Grid->Visible() && Grid->ForwardChar(Key)) {
            Key = Char();
            return;
        }
        TEdit::KeyPress(Key);
    }

    void DoExit() override
    {
        if (Grid->Visible())
            Grid->CloseUp(false);
        TEdit::DoExit();
    }

private:
    void ClosedUp(bool Accept)
    {
        Closes.push_back(Accept);
        if (!Accept)
            return;
        FIssues->Edit();
        FIssues->FieldByName(u"人"_s)->SetValue(Grid->KeyValue());
        FIssues->Post();
        SetText(Grid->DisplayText());
    }

    TDataSet* FIssues;
};

const char16_t* const PeopleNames[] = {u"张三", u"李四", u"王五", u"Abc", u"abd", u"赵六", u"钱七", u"孙八",
                                       u"周九", u"吴十", u"郑一", u"冯二"};
constexpr int PeopleCount = 12;

class LookupGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ReleaseKeyboardModifiers();
        PlatformMetrics().SetMonitors({{Rect(0, 0, 1000, 800), Rect(0, 0, 1000, 760)}});
        PlatformMetrics().SetTickClock([this] { return Now; });
        People = new TMemoryDataSet(&Owner);
        People->FieldDefs()->Add(u"id"_s, TFieldType::ftInteger);
        People->FieldDefs()->Add(u"姓名"_s, TFieldType::ftString, 10);
        People->Open();
        for (int i = 0; i < PeopleCount; ++i)
            People->AppendRecord({i + 1, QString::fromUtf16(PeopleNames[i])});
        People->First();
        Issues = new TMemoryDataSet(&Owner);
        Issues->FieldDefs()->Add(u"人"_s, TFieldType::ftInteger);
        Issues->Open();
        Issues->AppendRecord({2});
        PeopleSource = new TDataSource(&Owner);
        PeopleSource->SetDataSet(People);

        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 600, 400);
        Edit = new TPersonEdit(Form, Issues);
        Edit->SetBounds(20, 30, 200, 21);
        Edit->SetParent(Form);
        Other = new TEdit(Form);
        Other->SetBounds(20, 300, 200, 21);
        Other->SetParent(Form);
        Grid()->SetListSource(PeopleSource);
        Grid()->SetKeyField(u"id"_s);
        Grid()->SetListField(u"姓名"_s);
        Grid()->FitHeightToRows(5);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Edit->SetFocus();
    }

    void TearDown() override
    {
        delete Form;
        PlatformMetrics().Reset();
    }

    TPopupDataGridEh* Grid() const { return Edit->Grid; }
    Variant Person() const { return Issues->FieldByName(u"人"_s)->Value(); }
    void Key(int QtKey, const QString& Text = QString()) { SendKey(Edit->Handle(), QtKey, Text); }
    bool EditKeepsFocus() const { return QApplication::focusWidget() == Edit->Handle(); }
    // A point of the popup's window inside client point (X, Y).
    QPoint GridPoint(int X, int Y) const
    {
        const TPoint origin = Grid()->ScreenToClient(FromQPoint(Grid()->Handle()->mapToGlobal(QPoint(0, 0))));
        return QPoint(X - origin.X, Y - origin.Y);
    }
    // The centre of data row Index (0 = first shown record) in the popup's window.
    QPoint RowPoint(int Index) const
    {
        const TRect cell = Grid()->CellPixelRect(0, Grid()->RowsAboveData() + Index);
        return GridPoint(cell.Left + 10, (cell.Top + cell.Bottom) / 2);
    }
    void Press(QPoint At) { SendMouse(Grid()->Handle(), QEvent::MouseButtonPress, At, Qt::LeftButton, Qt::LeftButton); }
    void Release(QPoint At)
    {
        SendMouse(Grid()->Handle(), QEvent::MouseButtonRelease, At, Qt::LeftButton, Qt::NoButton);
    }
    void Hover(QPoint At) { SendMouse(Grid()->Handle(), QEvent::MouseMove, At, Qt::NoButton, Qt::NoButton); }

    std::uint32_t Now = 100000;
    TComponent Owner{nullptr};
    TMemoryDataSet* People = nullptr;
    TMemoryDataSet* Issues = nullptr;
    TDataSource* PeopleSource = nullptr;
    TForm* Form = nullptr;
    TPersonEdit* Edit = nullptr;
    TEdit* Other = nullptr;
};

}  // namespace

TEST_F(LookupGridTest, KeysForwardedFromTheEditMoveTheChoiceAndEnterWritesIt)
{
    struct {
        std::vector<int> Keys;
        int Expected;
    } const cases[] = {
        {{Qt::Key_Down}, 3},
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}, 3},
        {{Qt::Key_Up}, 1},
        {{Qt::Key_Up, Qt::Key_Up}, 1},
        {{Qt::Key_End}, PeopleCount},
        {{Qt::Key_End, Qt::Key_Home}, 1},
        {{Qt::Key_PageDown}, 2 + 5},
    };
    for (const auto& c : cases) {
        Issues->Edit();
        Issues->FieldByName(u"人"_s)->SetValue(2);
        Issues->Post();
        Edit->DropDown();
        ASSERT_TRUE(Grid()->Visible());
        EXPECT_EQ(Grid()->DisplayText(), u"李四"_s);
        for (int key : c.Keys)
            Key(key);
        EXPECT_EQ(Grid()->KeyValue(), Variant(c.Expected));
        Key(Qt::Key_Return);
        EXPECT_FALSE(Grid()->Visible());
        EXPECT_EQ(Person(), Variant(c.Expected));
        EXPECT_EQ(Edit->Text(), QString::fromUtf16(PeopleNames[c.Expected - 1]));
        EXPECT_TRUE(EditKeepsFocus());
    }
}

TEST_F(LookupGridTest, EscAndLeavingTheEditCloseWithoutWriting)
{
    Edit->DropDown();
    Key(Qt::Key_Down);
    EXPECT_TRUE(EditKeepsFocus());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Grid()->Visible());
    EXPECT_EQ(Person(), Variant(2));

    Edit->DropDown();
    Key(Qt::Key_Down);
    Other->SetFocus();
    EXPECT_FALSE(Grid()->Visible());
    EXPECT_EQ(Person(), Variant(2));
    EXPECT_EQ(Edit->Closes, (std::vector<bool>{false, false}));
}

TEST_F(LookupGridTest, TypingSearchesTheListFieldWithinTwoSecondsAndMatchingNothingKeepsTheKey)
{
    Edit->DropDown();
    TypeText(Edit->Handle(), u"ab"_s);
    EXPECT_EQ(Grid()->KeyValue(), Variant(4));
    Key(Qt::Key_D, u"d"_s);
    EXPECT_EQ(Grid()->KeyValue(), Variant(5));
    EXPECT_EQ(Grid()->SearchText(), u"abd"_s);
    // The characters were the search's: none reached the edit's own text.
    EXPECT_TRUE(Edit->Text().isEmpty());
    // Nothing begins with "abdx": the key and the list stay where they are.
    const int recNo = People->RecNo();
    Key(Qt::Key_X, u"x"_s);
    EXPECT_EQ(Grid()->KeyValue(), Variant(5));
    EXPECT_EQ(People->RecNo(), recNo);
    // After a pause the search starts again, here with Chinese from the input method.
    Now += 2001;
    CommitText(Edit->Handle(), u"王"_s);
    EXPECT_EQ(Grid()->KeyValue(), Variant(3));
    EXPECT_EQ(Grid()->SearchText(), u"王"_s);
    Key(Qt::Key_Backspace, QString(QChar(8)));
    EXPECT_TRUE(Grid()->SearchText().isEmpty());
    Key(Qt::Key_Return);
    EXPECT_EQ(Person(), Variant(3));
    EXPECT_EQ(Edit->Text(), u"王五"_s);
}

TEST_F(LookupGridTest, AClickOnARowAcceptsItAndAReleaseOutsideCancels)
{
    Edit->DropDown();
    Press(RowPoint(0));
    Release(RowPoint(0));
    EXPECT_EQ(Edit->Closes, std::vector<bool>{true});
    EXPECT_EQ(Person(), Grid()->KeyValue());
    const Variant accepted = Person();

    Edit->DropDown();
    Press(RowPoint(1));
    Release(QPoint(-30, -30));
    EXPECT_EQ(Edit->Closes, (std::vector<bool>{true, false}));
    EXPECT_EQ(Person(), accepted);
    EXPECT_TRUE(EditKeepsFocus());
}

TEST_F(LookupGridTest, ThePointerChoosesTheRowUnderItAndOnlyTheUsersChangesAreReported)
{
    Edit->DropDown();
    const Variant before = Grid()->KeyValue();
    Grid()->SetKeyValue(4);
    EXPECT_EQ(Edit->UserChanges, 0);
    Grid()->SetKeyValue(before);
    Hover(RowPoint(2));
    EXPECT_NE(Grid()->KeyValue(), before);
    EXPECT_EQ(Edit->UserChanges, 1);
    EXPECT_TRUE(Edit->Closes.empty());
}

TEST_F(LookupGridTest, TheWheelScrollsTheListAndKeepsTheKey)
{
    Edit->DropDown();
    const int recNo = People->RecNo();
    Grid()->ForwardWheel(-120);
    EXPECT_GT(People->RecNo(), recNo);
    EXPECT_EQ(Grid()->KeyValue(), Variant(2));
    Key(Qt::Key_Return);
    EXPECT_EQ(Person(), Variant(2));
}

TEST_F(LookupGridTest, TheSpecialRowStandsForNullAndForKeysTheListLacks)
{
    Grid()->SpecRow()->SetCellsText(u"（无）"_s);
    Grid()->SpecRow()->SetVisible(true);
    Edit->DropDown();
    // Up from the first record chooses the special row; Enter writes its Null.
    Key(Qt::Key_Up);
    EXPECT_FALSE(Grid()->SpecRowSelected());
    Key(Qt::Key_Up);
    EXPECT_TRUE(Grid()->SpecRowSelected());
    EXPECT_EQ(Grid()->DisplayText(), u"（无）"_s);
    Key(Qt::Key_Return);
    EXPECT_TRUE(VarIsNull(Person()));
    // A key the list does not hold shows as the special row, and is kept.
    Grid()->SetKeyValue(99);
    EXPECT_TRUE(Grid()->SpecRowSelected());
    Grid()->SpecRow()->SetShowIfNotInKeyList(false);
    Grid()->SetKeyValue(Variant::Null());
    Grid()->SetKeyValue(99);
    EXPECT_FALSE(Grid()->SpecRowSelected());
    EXPECT_TRUE(Grid()->DisplayText().isEmpty());
}

TEST_F(LookupGridTest, AKeyTheListLacksShowsEmptyAndEnterKeepsIt)
{
    Issues->Edit();
    Issues->FieldByName(u"人"_s)->SetValue(99);
    Issues->Post();
    Edit->DropDown();
    // The list shows its first record but chooses nothing: no other record's text or key.
    EXPECT_TRUE(Grid()->DisplayText().isEmpty());
    Key(Qt::Key_Return);
    EXPECT_EQ(Person(), Variant(99));
    EXPECT_TRUE(Edit->Text().isEmpty());
    // Down then chooses the first record.
    Edit->DropDown();
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid()->KeyValue(), Variant(1));
}

TEST_F(LookupGridTest, TheListClosedFilteredOrRequeriedWhileDroppedDown)
{
    Edit->DropDown();
    People->Close();
    EXPECT_FALSE(Grid()->ListActive());
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid()->KeyValue(), Variant(2));
    People->Open();
    EXPECT_TRUE(Grid()->ListActive());
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid()->KeyValue(), Variant(3));
    People->SetFilter(u"id > 5"_s);
    People->SetFiltered(true);
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid()->KeyValue(), Variant(6));
    Key(Qt::Key_Return);
    EXPECT_EQ(Person(), Variant(6));
}

TEST_F(LookupGridTest, HeightFitsWholeRowsAndTheGripSizesThePopupDownToAScrollBarSquare)
{
    Grid()->FitHeightToRows(0);
    EXPECT_EQ(Grid()->Rows(), 1);
    Grid()->FitHeightToRows(101);
    EXPECT_EQ(Grid()->Rows(), 100);
    Grid()->FitHeightToRows(5);
    Edit->DropDown();
    Grid()->SetResized(false);
    const int height = Grid()->Height();
    TSizeGripEh* grip = Grid()->SizeGrip();
    const QPoint inGrip(grip->Width() - 3, grip->Height() - 3);
    SendMouse(grip->Handle(), QEvent::MouseButtonPress, inGrip, Qt::LeftButton, Qt::LeftButton);
    SendMouse(grip->Handle(), QEvent::MouseMove, inGrip + QPoint(40, 3 * Grid()->DataRowHeight()), Qt::NoButton,
              Qt::LeftButton);
    SendMouse(grip->Handle(), QEvent::MouseButtonRelease, inGrip + QPoint(40, 3 * Grid()->DataRowHeight()),
              Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(Grid()->Resized());
    EXPECT_EQ(Grid()->Rows(), 8);
    EXPECT_EQ(Grid()->Height(), height + 3 * Grid()->DataRowHeight());
    Grid()->SetBounds(Grid()->Left(), Grid()->Top(), 1, 1);
    EXPECT_GE(Grid()->Width(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_GE(Grid()->Height(), GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(LookupGridTest, BoundToALookupFieldTheFieldDefinesTheList)
{
    auto* who = new TIntegerField(&Owner);
    who->SetFieldName(u"人"_s);
    auto* name = new TStringField(&Owner);
    name->SetFieldName(u"姓名"_s);
    name->SetFieldKind(TFieldKind::fkLookup);
    name->SetKeyFields(u"人"_s);
    name->SetLookupDataSet(People);
    name->SetLookupKeyFields(u"id"_s);
    name->SetLookupResultField(u"姓名"_s);
    Issues->Close();
    who->SetDataSet(Issues);
    name->SetDataSet(Issues);
    Issues->Open();
    TDataSource issuesSource(nullptr);
    issuesSource.SetDataSet(Issues);
    TDBLookupGridEh grid(nullptr);
    grid.SetDataSource(&issuesSource);
    grid.SetDataField(u"姓名"_s);
    EXPECT_TRUE(grid.LookupMode());
    EXPECT_EQ(grid.KeyField(), u"id"_s);
    EXPECT_EQ(grid.KeyValue(), Variant(2));
    EXPECT_EQ(grid.DisplayText(), u"李四"_s);
    EXPECT_THROW(grid.SetKeyField(u"姓名"_s), EDatabaseError);
    // Choosing writes the key into the bound record at once.
    People->Locate(u"id"_s, 3, TLocateOptions());
    grid.SelectCurrentRecord();
    EXPECT_EQ(Person(), Variant(3));
}

TEST_F(LookupGridTest, AColumnMakesItsDropDownGridOnceWithItsSettings)
{
    TDataSource issuesSource(nullptr);
    issuesSource.SetDataSet(Issues);
    TDBGridEh dataGrid(nullptr);
    dataGrid.SetDataSource(&issuesSource);
    TColumnEh* column = dataGrid.Columns()->Add();
    column->SetFieldName(u"人"_s);
    column->DropDownBox()->SetListSource(PeopleSource);
    column->DropDownBox()->SetRows(4);
    column->DropDownSpecRow()->SetVisible(true);
    column->SetLookupDisplayFields(u"姓名"_s);
    TPopupDataGridEh* grid = column->ObtainDropDownGrid();
    EXPECT_EQ(grid->Name(), u"DataList"_s);
    EXPECT_EQ(grid->ListSource(), PeopleSource);
    EXPECT_EQ(grid->ListField(), u"姓名"_s);
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_TRUE(grid->SpecRow()->Visible());
    EXPECT_EQ(column->ObtainDropDownGrid(), grid);
    EXPECT_EQ(static_cast<IDropDownGridOwnerEh*>(column)->DropDownGrid(), grid);
}

TEST_F(LookupGridTest, AListDatasetLinkedToTheBoundSourceIsRefused)
{
    TDataSource issuesSource(nullptr);
    issuesSource.SetDataSet(Issues);
    TDBLookupGridEh grid(nullptr);
    grid.SetKeyField(u"人"_s);
    grid.SetDataField(u"人"_s);
    grid.SetDataSource(&issuesSource);
    TDataSource sameSource(nullptr);
    sameSource.SetDataSet(Issues);
    EXPECT_THROW(grid.SetListSource(&sameSource), EDatabaseError);
    grid.SetDataSource(nullptr);
}

TEST_F(LookupGridTest, TheChosenRowOrTheSpecialRowIsDrawnHighlighted)
{
    Grid()->SpecRow()->SetCellsText(u"（无）"_s);
    Grid()->SpecRow()->SetVisible(true);
    const TRect special = Grid()->CellPixelRect(0, Grid()->RowsAboveData() - 1);
    const int specialY = (special.Top + special.Bottom) / 2;
    const TColor highlight = ColorToRGB(clHighlight);
    struct {
        Variant Key;
        bool SpecialLit;
        int LitRow;
    } const cases[] = {{Variant::Null(), true, -1}, {Variant(2), false, 1}, {Variant(99), true, -1}};
    for (const auto& c : cases) {
        Issues->Edit();
        Issues->FieldByName(u"人"_s)->SetValue(c.Key);
        Issues->Post();
        Edit->DropDown();
        const QImage shot = Grid()->Handle()->grab().toImage();
        auto lit = [&](QPoint At) { return FromQRgb(shot.pixel(At)) == highlight; };
        // Right of the texts, inside the cells.
        EXPECT_EQ(lit(GridPoint(special.Right - 3, specialY)), c.SpecialLit);
        for (int row = 0; row < 3; ++row) {
            const TRect cell = Grid()->CellPixelRect(0, Grid()->RowsAboveData() + row);
            const QPoint at = GridPoint(cell.Right - 3, (cell.Top + cell.Bottom) / 2);
            EXPECT_EQ(lit(at), row == c.LitRow) << "row " << row;
        }
        Key(Qt::Key_Escape);
    }
}

TEST_F(LookupGridTest, AListFieldRemovedWhileDroppedDownLeavesTheListInactiveAndTheKeyKept)
{
    Edit->DropDown();
    delete People->FieldByName(u"姓名"_s);
    EXPECT_FALSE(Grid()->ListActive());
    Key(Qt::Key_Down);
    Grid()->Handle()->grab();
    Key(Qt::Key_Return);
    EXPECT_EQ(Person(), Variant(2));
}

TEST_F(LookupGridTest, EveryOrderOfFreeingTheGridItsSourcesAndDatasetsEndsQuietly)
{
    enum Part { GridPart, BoundSourcePart, BoundPart, ListSourcePart, ListPart };
    const char* const names[] = {"grid", "bound source", "bound dataset", "list source", "list dataset"};
    for (const bool throughLookupField : {true, false}) {
        std::vector<int> order{GridPart, BoundSourcePart, BoundPart, ListSourcePart, ListPart};
        do {
            std::string trace = throughLookupField ? "lookup field:" : "key field:";
            for (int part : order)
                trace += std::string(" ") + names[part];
            SCOPED_TRACE(trace);
            auto* list = new TMemoryDataSet(nullptr);
            list->FieldDefs()->Add(u"id"_s, TFieldType::ftInteger);
            list->FieldDefs()->Add(u"姓名"_s, TFieldType::ftString, 10);
            list->Open();
            for (int i = 0; i < 3; ++i)
                list->AppendRecord({i + 1, QString::fromUtf16(PeopleNames[i])});
            auto* listSource = new TDataSource(nullptr);
            listSource->SetDataSet(list);
            auto* bound = new TMemoryDataSet(nullptr);
            bound->FieldDefs()->Add(u"人"_s, TFieldType::ftInteger);
            auto* who = new TIntegerField(bound);
            who->SetFieldName(u"人"_s);
            who->SetDataSet(bound);
            if (throughLookupField) {
                auto* name = new TStringField(bound);
                name->SetFieldName(u"姓名"_s);
                name->SetFieldKind(TFieldKind::fkLookup);
                name->SetKeyFields(u"人"_s);
                name->SetLookupDataSet(list);
                name->SetLookupKeyFields(u"id"_s);
                name->SetLookupResultField(u"姓名"_s);
                name->SetDataSet(bound);
            }
            bound->Open();
            bound->AppendRecord({2});
            auto* boundSource = new TDataSource(nullptr);
            boundSource->SetDataSet(bound);
            auto* grid = new TDBLookupGridEh(nullptr);
            if (throughLookupField) {
                grid->SetDataSource(boundSource);
                grid->SetDataField(u"姓名"_s);
                EXPECT_TRUE(grid->LookupMode());
            } else {
                grid->SetListSource(listSource);
                grid->SetKeyField(u"id"_s);
                grid->SetListField(u"姓名"_s);
                grid->SetDataSource(boundSource);
                grid->SetDataField(u"人"_s);
            }
            EXPECT_EQ(grid->DisplayText(), u"李四"_s);
            for (int part : order) {
                switch (part) {
                case GridPart: delete grid; break;
                case BoundSourcePart: delete boundSource; break;
                case BoundPart: delete bound; break;
                case ListSourcePart: delete listSource; break;
                case ListPart: delete list; break;
                default: break;
                }
            }
        } while (std::next_permutation(order.begin(), order.end()));
    }
}

// With auto-fit the list's one narrow column fills the popup beside its vertical scroll bar, on
// the drop-down and after the grip sized it; the bar stands inside the popup's frame.
TEST_F(LookupGridTest, AutoFittedColumnsFillThePopupBesideItsScrollBarInsideTheFrame)
{
    Grid()->SetAutoFitColWidths(true);
    Grid()->Columns()->ColumnAt(0)->SetWidth(30);
    Edit->DropDown();
    // The bar that came with the records takes no row from the list.
    EXPECT_EQ(Grid()->Rows(), 5);
    const int line = Grid()->GridLineWidth();
    auto columnsRight = [this, line] {
        return Grid()->CellPixelRect(Grid()->ColCount() - 1, Grid()->RowsAboveData()).Right + line;
    };
    auto checkBar = [this] {
        QScrollBar* bar = nullptr;
        for (QScrollBar* each : Grid()->Handle()->findChildren<QScrollBar*>())
            if (each->orientation() == Qt::Vertical && each->isVisible())
                bar = each;
        ASSERT_NE(bar, nullptr);
        const int border = Grid()->BorderSize() / 2;
        ASSERT_GT(border, 0);
        const QRect inside(border, border, Grid()->Width() - 2 * border, Grid()->Height() - 2 * border);
        EXPECT_TRUE(inside.contains(bar->geometry()));
        EXPECT_EQ(Grid()->ClientWidth() + bar->width() + 2 * border, Grid()->Width());
    };
    EXPECT_EQ(columnsRight(), Grid()->ClientWidth());
    checkBar();

    TSizeGripEh* grip = Grid()->SizeGrip();
    const int width = Grid()->Width();
    const QPoint inGrip(grip->Width() - 3, grip->Height() - 3);
    SendMouse(grip->Handle(), QEvent::MouseButtonPress, inGrip, Qt::LeftButton, Qt::LeftButton);
    SendMouse(grip->Handle(), QEvent::MouseMove, inGrip + QPoint(60, 0), Qt::NoButton, Qt::LeftButton);
    SendMouse(grip->Handle(), QEvent::MouseButtonRelease, inGrip + QPoint(60, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Grid()->Width(), width + 60);
    EXPECT_EQ(columnsRight(), Grid()->ClientWidth());
    checkBar();
}
