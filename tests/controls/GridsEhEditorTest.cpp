// The grid's in-place editor driven as a user drives it: shown over the current cell, typed
// into, accepted and dismissed, following the current cell, handing navigation keys back to the
// grid, and refusing every kind of change the grid forbids.
#include "controls/GridsEh.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/UiTestSupport.h"

#include <QMimeData>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// A grid whose cells hold texts and masks in maps, recording what reaches its handlers.
class TEditorTestGrid : public TCustomGridEh {
public:
    using TCustomGridEh::TCustomGridEh;
    using TCustomGridEh::EditorMayModify;

    std::map<std::pair<int, int>, String> Texts;
    std::map<std::pair<int, int>, String> Masks;
    std::vector<std::pair<TGridCoord, String>> Stored;
    std::vector<WORD> KeysDown;
    std::vector<WORD> KeysUp;
    std::vector<String> ChangeNotices;
    int MaxLength = 0;
    bool AllowModify = true;
    bool FailStoring = false;
    Char RefusedKey;
    int DoubleClicks = 0;
    int Syncs = 0;

    String Cell(int ACol, int ARow) { return Texts[{ACol, ARow}]; }

    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_COMMAND && HIWORD(Message.WParam) == EN_CHANGE)
            ChangeNotices.push_back(InplaceEditor()->Text());
        TCustomGridEh::WndProc(Message);
    }

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
    String GetCellEditText(int ACol, int ARow) override { return Texts[{ACol, ARow}]; }
    String GetCellEditMask(int ACol, int ARow) override { return Masks[{ACol, ARow}]; }
    void PutCellEditText(int ACol, int ARow, const String& Text) override
    {
        if (FailStoring)
            throw Exception(QStringLiteral("store failed"));
        Texts[{ACol, ARow}] = Text;
        Stored.push_back({{ACol, ARow}, Text});
    }
    int EditorMaxLength() override { return MaxLength; }
    bool EditorMayModify() override { return AllowModify && TCustomGridEh::EditorMayModify(); }
    bool EditorAcceptsKey(Char Key) override { return Key != RefusedKey; }
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        KeysDown.push_back(Key);
        TCustomGridEh::KeyDown(Key, Shift);
    }
    void KeyUp(WORD& Key, TShiftState Shift) override
    {
        KeysUp.push_back(Key);
        TCustomGridEh::KeyUp(Key, Shift);
    }
    void DblClick() override { ++DoubleClicks; }
    void SyncEditor() override
    {
        ++Syncs;
        TCustomGridEh::SyncEditor();
    }
};

class GridsEhEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 420, 300);
        Grid = new TEditorTestGrid(Form);
        // Borderless, so client points are window points.
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(10, 10, 380, 200);
        Grid->SetParent(Form);
        Grid->ChangeOptions(Grid->Options() | goEditing);
        Grid->Texts[{1, 1}] = QStringLiteral("办公用品");
        Grid->Texts[{2, 1}] = QStringLiteral("礼品");
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Grid->SetFocus();
    }

    void TearDown() override
    {
        delete Form;
        Clipboard()->SetStore(nullptr);
        PlatformMetrics().Reset();
    }

    void OpenEditor()
    {
        Grid->ChangeEditorMode(true);
        ASSERT_NE(Editor(), nullptr);
        ASSERT_TRUE(Editor()->IsWindowShown());
    }

    TInplaceEdit* Editor() const { return Grid->InplaceEditor(); }
    QWidget* GridWindow() const { return Grid->Handle(); }
    QPoint CellCentre(int ACol, int ARow) const
    {
        const TRect rect = Grid->CellPixelRect(ACol, ARow);
        return QPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
    }
    QWidget* EditorWindow() const { return Editor()->Handle(); }

    TForm* Form = nullptr;
    TEditorTestGrid* Grid = nullptr;
};

TEST_F(GridsEhEditorTest, OpensOverTheCurrentCellWithItsTextSelectedAndTheFocus)
{
    OpenEditor();
    EXPECT_EQ(Grid->EditorCell(), (TGridCoord{1, 1}));
    EXPECT_EQ(Editor()->BoundsRect(), Grid->CellPixelRect(1, 1));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("办公用品"));
    EXPECT_EQ(Editor()->SelStart(), 0);
    EXPECT_EQ(Editor()->SelLength(), 4);
    EXPECT_TRUE(Editor()->Focused());
    // The form still counts the grid as its focused control.
    EXPECT_EQ(Form->ActiveControl(), Grid);
    EXPECT_TRUE(Grid->MayModify());
}

TEST_F(GridsEhEditorTest, TheEditorStaysOverItsCellWhenTheColumnIsResized)
{
    OpenEditor();
    Grid->ChangeColWidth(0, 90);
    Grid->ChangeColWidth(1, 120);
    EXPECT_EQ(Editor()->BoundsRect(), Grid->CellPixelRect(1, 1));
    EXPECT_EQ(Editor()->Width(), 120);
}

TEST_F(GridsEhEditorTest, TypedTextIsReportedAndStoredIntoTheCellWhenTheEditorCloses)
{
    OpenEditor();
    TypeText(EditorWindow(), QStringLiteral("ab"));
    CommitText(EditorWindow(), QStringLiteral("纸"));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("ab纸"));
    // Every user change tells the grid; loading the cell did not.
    EXPECT_EQ(Grid->ChangeNotices, (std::vector<String>{QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("ab纸")}));
    Grid->ChangeEditorMode(false);
    EXPECT_EQ(Grid->Cell(1, 1), QStringLiteral("ab纸"));
    EXPECT_EQ(Grid->EditorCell(), (TGridCoord{-1, -1}));
    EXPECT_FALSE(Editor()->IsWindowShown());
    EXPECT_TRUE(Grid->Focused());
}

TEST_F(GridsEhEditorTest, StartingWithACharacterReplacesTheCellText)
{
    Grid->StartEditingWithChar(u'x');
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(Grid->EditorMode());
    ProcessUntil([&] { return Editor()->Text() == QStringLiteral("x"); });
    EXPECT_EQ(Editor()->SelLength(), 0);
}

TEST_F(GridsEhEditorTest, MovingWithoutAlwaysShownEditorStoresIntoTheOldCellAndCloses)
{
    OpenEditor();
    TypeText(EditorWindow(), QStringLiteral("新"));
    Grid->Stored.clear();
    Grid->ChangeCol(2);
    EXPECT_EQ(Grid->Stored, (std::vector<std::pair<TGridCoord, String>>{{{1, 1}, QStringLiteral("新")}}));
    EXPECT_EQ(Grid->Cell(2, 1), QStringLiteral("礼品"));
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_FALSE(Editor()->IsWindowShown());
}

TEST_F(GridsEhEditorTest, AnAlwaysShownEditorFollowsTheCurrentCell)
{
    Grid->ChangeOptions(Grid->Options() | goAlwaysShowEditor);
    ASSERT_NE(Editor(), nullptr);
    TypeText(EditorWindow(), QStringLiteral("q"));
    Grid->ChangeCol(2);
    EXPECT_EQ(Grid->Cell(1, 1), QStringLiteral("q"));
    EXPECT_EQ(Grid->EditorCell(), (TGridCoord{2, 1}));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("礼品"));
    EXPECT_EQ(Editor()->BoundsRect(), Grid->CellPixelRect(2, 1));
    EXPECT_TRUE(Editor()->IsWindowShown());
    EXPECT_TRUE(Editor()->Focused());
    // Reloading takes the cell's text anew.
    Grid->Texts[{2, 1}] = QStringLiteral("换");
    Grid->ReloadEditor();
    EXPECT_EQ(Editor()->Text(), QStringLiteral("换"));
}

TEST_F(GridsEhEditorTest, NavigationKeysGoToTheGridAndTypeNothing)
{
    Grid->ChangeOptions(Grid->Options() | goTabs | goAlwaysShowEditor);
    std::vector<WORD> shown;
    Grid->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { shown.push_back(Key); };
    SendKey(EditorWindow(), Qt::Key_Up);
    SendKey(EditorWindow(), Qt::Key_Down);
    SendKey(EditorWindow(), Qt::Key_PageUp);
    SendKey(EditorWindow(), Qt::Key_PageDown);
    SendKey(EditorWindow(), Qt::Key_Escape, QStringLiteral("\x1b"));
    SendKey(EditorWindow(), Qt::Key_Tab, QStringLiteral("\t"));
    SendKey(EditorWindow(), Qt::Key_Insert);
    SendKey(EditorWindow(), Qt::Key_Delete, QString(), Qt::ControlModifier);
    const std::vector<WORD> handed{VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_ESCAPE, VK_TAB, VK_INSERT, VK_DELETE};
    EXPECT_EQ(Grid->KeysDown, handed);
    // Through the grid's own key-down, which shows them to its event; the editor adds nothing.
    EXPECT_EQ(shown, handed);
    EXPECT_EQ(Grid->KeysUp.size(), handed.size());
    EXPECT_EQ(Grid->Cell(1, 1), QStringLiteral("办公用品"));
    EXPECT_EQ(Grid->Cell(2, 1), QStringLiteral("礼品"));
}

TEST_F(GridsEhEditorTest, EditingKeysStayInTheEditorAndAreShownToTheGridsEvent)
{
    OpenEditor();
    std::vector<WORD> shown;
    Grid->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { shown.push_back(Key); };
    Editor()->SetSelStart(2);
    SendKey(EditorWindow(), Qt::Key_Left);
    SendKey(EditorWindow(), Qt::Key_Delete);
    EXPECT_EQ(Editor()->Text(), QStringLiteral("办用品"));
    EXPECT_TRUE(Grid->KeysDown.empty());
    EXPECT_EQ(shown, (std::vector<WORD>{VK_LEFT, VK_DELETE}));
}

TEST_F(GridsEhEditorTest, WithAlwaysShownEditorArrowsAtTheTextEndsLeaveTheCell)
{
    Grid->ChangeOptions(Grid->Options() | goAlwaysShowEditor);
    Editor()->SetSelStart(1);
    SendKey(EditorWindow(), Qt::Key_Left);
    EXPECT_TRUE(Grid->KeysDown.empty());
    EXPECT_EQ(Editor()->SelStart(), 0);
    SendKey(EditorWindow(), Qt::Key_Left);
    EXPECT_EQ(Grid->KeysDown, (std::vector<WORD>{VK_LEFT}));

    Grid->KeysDown.clear();
    Editor()->SetSelStart(2);
    SendKey(EditorWindow(), Qt::Key_Right);
    SendKey(EditorWindow(), Qt::Key_Left, QString(), Qt::ControlModifier);
    EXPECT_EQ(Grid->KeysDown, (std::vector<WORD>{VK_LEFT}));
    Editor()->SetSelStart(4);
    SendKey(EditorWindow(), Qt::Key_End);
    SendKey(EditorWindow(), Qt::Key_Right);
    EXPECT_EQ(Grid->KeysDown, (std::vector<WORD>{VK_LEFT, VK_END, VK_RIGHT}));
    // All selected counts as at the end, not at the start.
    Grid->KeysDown.clear();
    Editor()->SelectAll();
    SendKey(EditorWindow(), Qt::Key_Right);
    EXPECT_EQ(Grid->KeysDown, (std::vector<WORD>{VK_RIGHT}));
}

TEST_F(GridsEhEditorTest, WithoutAlwaysShownEditorArrowsNeverLeaveTheText)
{
    OpenEditor();
    Editor()->SetSelStart(0);
    SendKey(EditorWindow(), Qt::Key_Left);
    SendKey(EditorWindow(), Qt::Key_Home);
    Editor()->SetSelStart(4);
    SendKey(EditorWindow(), Qt::Key_Right);
    SendKey(EditorWindow(), Qt::Key_Left, QString(), Qt::ControlModifier);
    EXPECT_TRUE(Grid->KeysDown.empty());
    EXPECT_EQ(Editor()->SelStart(), 0);
}

TEST_F(GridsEhEditorTest, EnterFirstCollapsesTheSelectionThenSelectsAll)
{
    Grid->ChangeOptions(Grid->Options() | goAlwaysShowEditor);
    ASSERT_EQ(Editor()->SelLength(), 4);
    SendKey(EditorWindow(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Editor()->SelStart(), 4);
    EXPECT_EQ(Editor()->SelLength(), 0);
    SendKey(EditorWindow(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Editor()->SelStart(), 0);
    EXPECT_EQ(Editor()->SelLength(), 4);
    EXPECT_EQ(Editor()->Text(), QStringLiteral("办公用品"));
    EXPECT_TRUE(Editor()->IsWindowShown());
}

TEST_F(GridsEhEditorTest, F2CollapsesTheSelectionUnlessTheGridsEventTakesIt)
{
    OpenEditor();
    SendKey(EditorWindow(), Qt::Key_F2);
    EXPECT_EQ(Editor()->SelStart(), 4);
    EXPECT_EQ(Editor()->SelLength(), 0);
    Editor()->SelectAll();
    Grid->OnKeyDown = [](TObject*, WORD& Key, TShiftState) { Key = 0; };
    SendKey(EditorWindow(), Qt::Key_F2);
    EXPECT_EQ(Editor()->SelLength(), 4);
}

TEST_F(GridsEhEditorTest, F2OnTheGridOpensTheEditor)
{
    SendKey(GridWindow(), Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(Editor()->IsWindowShown());
    EXPECT_TRUE(Editor()->Focused());
    EXPECT_EQ(Editor()->Text(), QStringLiteral("办公用品"));
}

TEST_F(GridsEhEditorTest, TypingAfterF2OnTheGridAppendsToTheCellText)
{
    SendKey(GridWindow(), Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->SelStart(), 4);
    EXPECT_EQ(Editor()->SelLength(), 0);
    TypeText(EditorWindow(), QStringLiteral("x"));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("办公用品x"));
}

TEST_F(GridsEhEditorTest, TypingOnTheGridOpensTheEditorAndEveryChangeIsStored)
{
    TypeText(GridWindow(), QStringLiteral("a"));
    ASSERT_NE(Editor(), nullptr);
    ProcessUntil([&] { return Editor()->Text() == QStringLiteral("a"); });
    TypeText(EditorWindow(), QStringLiteral("b"));
    EXPECT_EQ(Grid->Cell(1, 1), QStringLiteral("ab"));
    EXPECT_EQ(Grid->Stored.size(), 2u);
}

TEST_F(GridsEhEditorTest, ChineseCommittedOnTheGridOpensTheEditorWithIt)
{
    CommitText(GridWindow(), QStringLiteral("办公"));
    ASSERT_NE(Editor(), nullptr);
    ProcessUntil([&] { return Editor()->Text() == QStringLiteral("办公"); });
    EXPECT_EQ(Grid->Cell(1, 1), QStringLiteral("办公"));
}

TEST_F(GridsEhEditorTest, EnterAcceptsTheTextAndOpensTheEditorAgain)
{
    OpenEditor();
    TypeText(EditorWindow(), QStringLiteral("z"));
    SendKey(EditorWindow(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_FALSE(Editor()->IsWindowShown());
    EXPECT_TRUE(Grid->Focused());
    EXPECT_EQ(Grid->Cell(1, 1), QStringLiteral("z"));
    SendKey(GridWindow(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_TRUE(Editor()->IsWindowShown());
    EXPECT_EQ(Editor()->Text(), QStringLiteral("z"));
}

TEST_F(GridsEhEditorTest, ClickingTheCurrentCellOpensTheEditorAndAQuickSecondClickIsADoubleClick)
{
    std::uint32_t now = 5000;
    PlatformMetrics().SetTickClock([&] { return now; });
    // The grid stamps the editor it has; make one.
    OpenEditor();
    Grid->ChangeEditorMode(false);
    ClickAt(GridWindow(), CellCentre(2, 1));
    EXPECT_EQ(Grid->Col(), 2);
    ClickAt(GridWindow(), CellCentre(2, 1));
    ASSERT_NE(Editor(), nullptr);
    ASSERT_TRUE(Editor()->IsWindowShown());
    EXPECT_EQ(Editor()->Text(), QStringLiteral("礼品"));
    now += 100;
    ClickAt(EditorWindow(), QPoint(5, 5));
    EXPECT_EQ(Grid->DoubleClicks, 1);
}

TEST_F(GridsEhEditorTest, TheClickThatMakesTheEditorStartsItsDoubleClickTime)
{
    std::uint32_t now = 5000;
    PlatformMetrics().SetTickClock([&] { return now; });
    ASSERT_EQ(Editor(), nullptr);
    ClickAt(GridWindow(), CellCentre(1, 1));
    ASSERT_NE(Editor(), nullptr);
    ASSERT_TRUE(Editor()->IsWindowShown());
    now += 100;
    ClickAt(EditorWindow(), QPoint(5, 5));
    EXPECT_EQ(Grid->DoubleClicks, 1);
}

TEST_F(GridsEhEditorTest, ScrollingMovesTheOpenEditorWithItsCellWithoutSyncingIt)
{
    Grid->ChangeRowCount(50);
    Grid->MoveToRow(5);
    OpenEditor();
    const int syncs = Grid->Syncs;
    Grid->ChangeTopRow(3);
    EXPECT_EQ(Editor()->BoundsRect(), Grid->CellPixelRect(1, 5));
    EXPECT_TRUE(Editor()->IsWindowShown());
    EXPECT_EQ(Grid->Syncs, syncs);
    // A cell scrolled out of view takes its editor with it.
    Grid->ChangeTopRow(6);
    EXPECT_FALSE(Editor()->IsWindowShown());
}

TEST_F(GridsEhEditorTest, TabAndArrowsAtTheTextEndsMoveAnAlwaysShownEditorToTheNextCell)
{
    Grid->ChangeOptions(Grid->Options() | goTabs | goAlwaysShowEditor);
    SendKey(EditorWindow(), Qt::Key_Tab, QStringLiteral("\t"));
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Editor()->Text(), QStringLiteral("礼品"));
    EXPECT_EQ(Editor()->BoundsRect(), Grid->CellPixelRect(2, 1));
    Editor()->SetSelStart(0);
    SendKey(EditorWindow(), Qt::Key_Left);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Editor()->Text(), QStringLiteral("办公用品"));
    EXPECT_TRUE(Editor()->Focused());
}

TEST_F(GridsEhEditorTest, AGridVetoBlocksEveryWayOfChangingTheText)
{
    OpenEditor();
    Grid->AllowModify = false;
    Clipboard()->SetAsText(QStringLiteral("粘贴"));
    Editor()->SetSelStart(2);
    TypeText(EditorWindow(), QStringLiteral("a"));
    CommitText(EditorWindow(), QStringLiteral("中"));
    SendKey(EditorWindow(), Qt::Key_Backspace, QStringLiteral("\b"));
    SendKey(EditorWindow(), Qt::Key_Delete);
    SendKey(EditorWindow(), Qt::Key_Insert, QString(), Qt::ShiftModifier);
    Editor()->SelectAll();
    SendKey(EditorWindow(), Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    SendKey(EditorWindow(), Qt::Key_X, QStringLiteral("\x18"), Qt::ControlModifier);
    Editor()->Perform(WM_PASTE);
    Editor()->Perform(WM_CUT);
    Editor()->Perform(WM_CLEAR);
    QMimeData dropped;
    dropped.setText(QStringLiteral("拖"));
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(EditorWindow(), &drop);
    EXPECT_EQ(Editor()->Text(), QStringLiteral("办公用品"));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("粘贴"));
    EXPECT_TRUE(Grid->ChangeNotices.empty());
    // Asked at the moment of the change: allowed again, the same paths change the text.
    Grid->AllowModify = true;
    CommitText(EditorWindow(), QStringLiteral("中"));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("中"));
}

TEST_F(GridsEhEditorTest, MaxLengthMinusOneMakesTheCellReadOnly)
{
    Grid->MaxLength = -1;
    OpenEditor();
    EXPECT_FALSE(Grid->MayModify());
    Clipboard()->SetAsText(QStringLiteral("粘贴"));
    TypeText(EditorWindow(), QStringLiteral("a"));
    CommitText(EditorWindow(), QStringLiteral("中"));
    SendKey(EditorWindow(), Qt::Key_Delete);
    SendKey(EditorWindow(), Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    SendKey(EditorWindow(), Qt::Key_X, QStringLiteral("\x18"), Qt::ControlModifier);
    EXPECT_EQ(Editor()->Text(), QStringLiteral("办公用品"));
    // The next cell may allow changes again.
    Grid->MaxLength = 0;
    Grid->ChangeEditorMode(false);
    Grid->ChangeEditorMode(true);
    EXPECT_TRUE(Grid->MayModify());
}

TEST_F(GridsEhEditorTest, MaxLengthLimitsTypedAndPastedCharacters)
{
    Grid->MaxLength = 3;
    OpenEditor();
    TypeText(EditorWindow(), QStringLiteral("abcd"));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("abc"));
    Editor()->SelectAll();
    Clipboard()->SetAsText(QStringLiteral("文具用品"));
    Editor()->PasteFromClipboard();
    EXPECT_EQ(Editor()->Text(), QStringLiteral("文具用"));
}

TEST_F(GridsEhEditorTest, ACharacterTheGridRefusesIsNotTyped)
{
    Grid->RefusedKey = u'x';
    OpenEditor();
    TypeText(EditorWindow(), QStringLiteral("axb"));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("ab"));
}

TEST_F(GridsEhEditorTest, EditMasksComeFromTheCell)
{
    Grid->Masks[{1, 1}] = QStringLiteral("999-99;1;_");
    Grid->Texts[{1, 1}] = QString();
    OpenEditor();
    EXPECT_EQ(Editor()->EditText(), QStringLiteral("___-__"));
    Editor()->SetSelStart(0);
    TypeText(EditorWindow(), QStringLiteral("12345"));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("123-45"));
    // The next cell has no mask: its text is taken as it is.
    Grid->ChangeOptions(Grid->Options() | goAlwaysShowEditor);
    Grid->ChangeCol(2);
    EXPECT_EQ(Grid->Cell(1, 1), QStringLiteral("123-45"));
    EXPECT_EQ(Editor()->EditText(), QStringLiteral("礼品"));
}

TEST_F(GridsEhEditorTest, APressSoonAfterTheGridsClickCountsAsADoubleClick)
{
    std::uint32_t now = 10000;
    PlatformMetrics().SetTickClock([&] { return now; });
    OpenEditor();
    const QPoint inside(5, 5);
    Editor()->SetClickTime(now);
    now += 200;
    ClickAt(EditorWindow(), inside);
    EXPECT_EQ(Grid->DoubleClicks, 1);
    EXPECT_EQ(Editor()->ClickTime(), 0u);
    // The stamp is used once; a stale one is not a double click.
    ClickAt(EditorWindow(), inside);
    Editor()->SetClickTime(now);
    now += 600;
    ClickAt(EditorWindow(), inside);
    EXPECT_EQ(Grid->DoubleClicks, 1);
}

TEST_F(GridsEhEditorTest, AnEmptyPlaceHidesTheEditorAndReturnsTheFocusToTheGrid)
{
    OpenEditor();
    ASSERT_TRUE(Editor()->Focused());
    Editor()->PlaceAndRedraw(TRect());
    EXPECT_FALSE(Editor()->IsWindowShown());
    EXPECT_TRUE(Grid->Focused());
    EXPECT_EQ(Form->ActiveControl(), Grid);
}

TEST_F(GridsEhEditorTest, TabsAreWantedOnlyWithTheTabsOption)
{
    OpenEditor();
    EXPECT_EQ(Editor()->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, 0);
    EXPECT_NE(Editor()->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS, 0);
    Grid->ChangeOptions(Grid->Options() | goTabs);
    EXPECT_NE(Editor()->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, 0);
}

TEST_F(GridsEhEditorTest, KeyUpGoesToTheGridOnly)
{
    OpenEditor();
    int editorKeyUps = 0;
    Editor()->OnKeyUp = [&](TObject*, WORD&, TShiftState) { ++editorKeyUps; };
    SendKey(EditorWindow(), Qt::Key_A, QStringLiteral("a"));
    EXPECT_EQ(Grid->KeysUp, (std::vector<WORD>{WORD('A')}));
    EXPECT_EQ(editorKeyUps, 0);
}

TEST_F(GridsEhEditorTest, DismissingWithoutAnEditorDoesNothing)
{
    Grid->DismissEditor();
    EXPECT_EQ(Grid->InplaceEditor(), nullptr);
    EXPECT_EQ(Grid->EditorCell(), (TGridCoord{-1, -1}));
}

TEST_F(GridsEhEditorTest, AFailedStoreStillReleasesTheCellAndHidesTheEditor)
{
    OpenEditor();
    Grid->FailStoring = true;
    EXPECT_THROW(Grid->DismissEditor(), Exception);
    EXPECT_EQ(Grid->EditorCell(), (TGridCoord{-1, -1}));
    EXPECT_FALSE(Editor()->IsWindowShown());
}

TEST_F(GridsEhEditorTest, TheEditorNeedsTheEditingOptionAndTheFocus)
{
    Grid->ChangeOptions(Grid->Options() - goEditing);
    Grid->ChangeEditorMode(true);
    EXPECT_EQ(Editor(), nullptr);
    Grid->ChangeEditorMode(false);
    Grid->ChangeOptions(Grid->Options() | goEditing);
    auto* other = new TEdit(Form);
    other->SetBounds(10, 220, 100, 21);
    other->SetParent(Form);
    other->SetFocus();
    Grid->ChangeEditorMode(true);
    EXPECT_EQ(Editor(), nullptr);
}

}  // namespace
