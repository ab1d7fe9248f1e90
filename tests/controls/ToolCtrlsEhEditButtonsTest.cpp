// Edit buttons: their stored description, the action link, and the button window driven with
// real mouse events (pressed halves, swallowed clicks, auto-repeat, painting).
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Panel.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/Timer.h"
#include "platform/ui/UiTestSupport.h"

#include <QCursor>
#include <gtest/gtest.h>

#include <vector>

namespace {

using E = TEditButtonStyleEh;
using D = TDrawButtonStyleEh;

// --- Styles -------------------------------------------------------------------------------

TEST(EditButtonStyleTest, EditStylesKeepTheirOrderAndMapOntoFaces)
{
    EXPECT_EQ(static_cast<int>(E::ebsUpDownEh), 3);
    EXPECT_EQ(static_cast<int>(E::ebsAltUpDownEh), 7);
    EXPECT_EQ(static_cast<int>(D::dbsCheckBoxEh), 3);
    const D Faces[] = {D::dbsDropDownEh, D::dbsEllipsisEh, D::dbsUpDownEh, D::dbsUpDownEh,
                       D::dbsPlusEh,     D::dbsMinusEh,    D::dbsAltDropDownEh, D::dbsAltUpDownEh};
    for (int Style = 0; Style <= 7; ++Style)
        EXPECT_EQ(EditButtonDrawStyle(E(Style)), Faces[Style]) << Style;
    EXPECT_TRUE(IsSpinButtonStyle(E::ebsUpDownEh));
    EXPECT_TRUE(IsSpinButtonStyle(E::ebsAltUpDownEh));
    EXPECT_FALSE(IsSpinButtonStyle(E::ebsGlyphEh));
}

// --- Description --------------------------------------------------------------------------

TWinControl* NoEdit() { return nullptr; }

TEST(EditButtonTest, BuiltInKindsSetTheirDefaults)
{
    TEditButtonEh Plain(NoEdit());
    EXPECT_TRUE(Plain.Enabled());
    EXPECT_EQ(Plain.NumGlyphs(), 1);
    EXPECT_EQ(Plain.ShortCut(), scNone);
    EXPECT_FALSE(Plain.Visible());
    EXPECT_EQ(Plain.Width(), 0);
    EXPECT_EQ(Plain.Style(), E::ebsDropDownEh);
    EXPECT_TRUE(Plain.Glyph()->Transparent());

    TDropDownEditButtonEh DropDown(NoEdit());
    EXPECT_EQ(DropDown.ShortCut(), 32808);
    EXPECT_FALSE(DropDown.Visible());
    TVisibleEditButtonEh Shown(NoEdit());
    EXPECT_EQ(Shown.ShortCut(), 32808);
    EXPECT_TRUE(Shown.Visible());
}

TEST(EditButtonTest, WritersNotifyOnlyOfChangesThatShow)
{
    TEditButtonEh Button(NoEdit());
    int Changes = 0;
    Button.OnChanged = [&Changes](TObject*) { ++Changes; };
    Button.SetNumGlyphs(0);
    EXPECT_EQ(Button.NumGlyphs(), 1);
    EXPECT_EQ(Changes, 0);
    Button.SetNumGlyphs(7);
    EXPECT_EQ(Button.NumGlyphs(), 4);
    EXPECT_EQ(Changes, 1);
    Button.SetShortCut(scCtrl | 'K');
    TPopupMenu Menu(nullptr);
    Button.SetDropdownMenu(&Menu);
    EXPECT_EQ(Changes, 1);
    Button.SetEnabled(true);
    Button.SetWidth(0);
    EXPECT_EQ(Changes, 1);
    Button.SetEnabled(false);
    Button.SetHint("提示");
    Button.SetStyle(E::ebsPlusEh);
    Button.SetVisible(true);
    Button.SetWidth(15);
    EXPECT_EQ(Changes, 6);
    TBitmap Same;
    Button.SetGlyph(&Same);
    EXPECT_EQ(Changes, 7);
}

TEST(EditButtonTest, ADestroyedMenuIsForgotten)
{
    TEditButtonEh Button(NoEdit());
    auto* Menu = new TPopupMenu(nullptr);
    Button.SetDropdownMenu(Menu);
    EXPECT_EQ(Button.DropdownMenu(), Menu);
    delete Menu;
    EXPECT_EQ(Button.DropdownMenu(), nullptr);
}

TEST(EditButtonTest, AssignCopiesEveryProperty)
{
    TEditButtonEh Source(NoEdit());
    Source.SetStyle(E::ebsEllipsisEh);
    Source.SetHint("h");
    Source.SetWidth(20);
    Source.SetEnabled(false);
    Source.SetNumGlyphs(2);
    Source.SetShortCut(77);
    int Clicks = 0;
    Source.OnClick = [&Clicks](TObject*, bool&) { ++Clicks; };
    TVisibleEditButtonEh Target(NoEdit());
    Target.Assign(&Source);
    EXPECT_EQ(Target.Style(), E::ebsEllipsisEh);
    EXPECT_EQ(Target.Hint(), "h");
    EXPECT_EQ(Target.Width(), 20);
    EXPECT_FALSE(Target.Enabled());
    EXPECT_EQ(Target.NumGlyphs(), 2);
    EXPECT_EQ(Target.ShortCut(), 77);
    EXPECT_FALSE(Target.Visible());
    bool Handled = false;
    Target.PerformClick(&Target, Handled);
    EXPECT_EQ(Clicks, 1);
}

class TOwnerComponent : public TComponent {
public:
    TOwnerComponent() : TComponent(nullptr) {}
};

TEST(EditButtonsTest, ItemsReportTheirChangesThroughTheCollection)
{
    TOwnerComponent Owner;
    TEditButtonsEh Buttons(&Owner, CollectionItemClass<TEditButtonEh>());
    std::vector<TCollectionItem*> Updated;
    Buttons.OnItemUpdate = [&Updated](TCollectionItem* Item) { Updated.push_back(Item); };
    auto* First = static_cast<TEditButtonEh*>(Buttons.Add());
    auto* Second = static_cast<TEditButtonEh*>(Buttons.Add());
    EXPECT_EQ(Buttons.ItemAt(1), Second);
    EXPECT_EQ(Buttons.Owner(), &Owner);
    Updated.clear();
    Second->SetStyle(E::ebsMinusEh);
    ASSERT_EQ(Updated.size(), 1u);
    EXPECT_EQ(Updated[0], Second);
    // An item whose owner listens itself is not reported to the collection.
    First->OnChanged = [](TObject*) {};
    First->SetVisible(true);
    EXPECT_EQ(Updated.size(), 1u);
}

// --- Actions ------------------------------------------------------------------------------

class TTargetAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    bool ExecuteTarget(TObject* Target) override
    {
        Targets.push_back(Target);
        return true;
    }
    std::vector<TObject*> Targets;
};

class EditButtonActionTest : public ::testing::Test {
protected:
    EditButtonActionTest() : Action(new TTargetAction(&Owner))
    {
        Action->SetEnabled(false);
        Action->SetVisible(false);
        Action->SetHint("动作");
        Action->SetShortCut(scCtrl | 'A');
    }

    TOwnerComponent Owner;
    TTargetAction* Action;
};

TEST_F(EditButtonActionTest, ALinkTakesEveryPropertyOfTheAction)
{
    TEditButtonEh Button(NoEdit());
    Button.SetHint("mine");
    Button.SetShortCut(5);
    Button.SetAction(Action);
    EXPECT_EQ(Button.Action(), Action);
    EXPECT_FALSE(Button.Enabled());
    EXPECT_FALSE(Button.Visible());
    EXPECT_EQ(Button.Hint(), "动作");
    EXPECT_EQ(Button.ShortCut(), scCtrl | 'A');
}

TEST_F(EditButtonActionTest, AnActionBeingLoadedFillsOnlyWhatIsStillAtItsDefault)
{
    TEditButtonEh Kept(NoEdit());
    Kept.SetHint("mine");
    Kept.SetShortCut(5);
    Kept.SetEnabled(false);
    TEditButtonEh Fresh(NoEdit());
    Owner.BeginLoading();
    Kept.SetAction(Action);
    Fresh.SetAction(Action);
    Owner.EndLoading();
    EXPECT_EQ(Kept.Hint(), "mine");
    EXPECT_EQ(Kept.ShortCut(), 5);
    EXPECT_EQ(Fresh.Hint(), "动作");
    EXPECT_EQ(Fresh.ShortCut(), scCtrl | 'A');
    // Enabled is taken while still True; Visible while True (it starts False here).
    EXPECT_FALSE(Fresh.Enabled());
    EXPECT_FALSE(Fresh.Visible());
}

TEST_F(EditButtonActionTest, PropertiesEqualToTheActionsAreNotStoredAndFollowIt)
{
    TEditButtonEh Button(NoEdit());
    EXPECT_TRUE(Button.IsHintStored());
    Button.SetAction(Action);
    EXPECT_FALSE(Button.IsHintStored());
    EXPECT_FALSE(Button.IsEnabledStored());
    Action->SetEnabled(true);
    EXPECT_TRUE(Button.Enabled());
    Button.SetHint("own");
    EXPECT_TRUE(Button.IsHintStored());
    EXPECT_FALSE(Button.IsShortCutStored());
    Action->SetShortCut(scAlt | 'B');
    EXPECT_EQ(Button.ShortCut(), scAlt | 'B');
}

TEST_F(EditButtonActionTest, ADestroyedActionUnlinksItsButtons)
{
    TEditButtonEh Button(NoEdit());
    Button.SetAction(Action);
    delete Action;
    EXPECT_EQ(Button.Action(), nullptr);
    bool Handled = false;
    Button.PerformClick(&Button, Handled);
    EXPECT_FALSE(Handled);
    EXPECT_TRUE(Button.IsHintStored());
}

TEST_F(EditButtonActionTest, ClickExecutesTheActionOnTheEditOrTheCollectionsOwner)
{
    TForm Form(nullptr);
    TEditButtonEh Button(&Form);
    Button.SetAction(Action);
    bool Handled = false;
    Button.PerformClick(&Button, Handled);
    EXPECT_TRUE(Handled);
    ASSERT_EQ(Action->Targets.size(), 1u);
    EXPECT_EQ(Action->Targets[0], &Form);

    TEditButtonsEh Buttons(&Owner, CollectionItemClass<TEditButtonEh>());
    auto* Item = static_cast<TEditButtonEh*>(Buttons.Add());
    Item->SetAction(Action);
    Item->PerformClick(Item, Handled);
    EXPECT_EQ(Action->Targets.at(1), &Owner);

    TBitmap NotAComponent;
    TEditButtonsEh Loose(&NotAComponent, CollectionItemClass<TEditButtonEh>());
    auto* LooseItem = static_cast<TEditButtonEh*>(Loose.Add());
    LooseItem->SetAction(Action);
    LooseItem->PerformClick(LooseItem, Handled);
    EXPECT_EQ(Action->Targets.at(2), nullptr);

    // OnClick decides alone.
    Button.OnClick = [](TObject*, bool& H) { H = false; };
    Handled = true;
    Button.PerformClick(&Button, Handled);
    EXPECT_FALSE(Handled);
    EXPECT_EQ(Action->Targets.size(), 3u);
}

// --- Button window ------------------------------------------------------------------------

// A button 15 x 20 at (10, 10) on a panel of a shown form, driven through the panel's window.
class EditButtonControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformMetrics().SetThemesActive(false);
        FlushButtonBitmapCache();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 200, 100);
        Host = new TPanel(Form);
        Host->SetBevelOuter(TPanelBevel::bvNone);
        Host->SetBounds(0, 0, 100, 60);
        Host->SetParent(Form);
        Button = new TEditButtonControlEh(Host);
        Button->SetParent(Host);
        Button->SetBounds(10, 10, 15, 20);
        Button->SetStyle(E::ebsUpDownEh);
        Button->OnDown = [this](TObject*, bool Top, bool& AutoRepeat, bool&) {
            Downs.push_back(Top);
            if (StopAfter != 0 && static_cast<int>(Downs.size()) >= StopAfter)
                AutoRepeat = false;
            if (ForceRepeat)
                AutoRepeat = true;
        };
        Button->OnClick = [this](TObject*) { ++Clicks; };
        Form->Show();
    }
    void TearDown() override
    {
        ReleaseCapture();
        delete Form;
        FlushButtonBitmapCache();
        PlatformMetrics().Reset();
    }

    QWidget* Window() const { return Host->Handle(); }
    void Press(int Y) { SendMouse(Window(), QEvent::MouseButtonPress, QPoint(15, 10 + Y), Qt::LeftButton, Qt::LeftButton); }
    void MoveTo(int Y) { SendMouse(Window(), QEvent::MouseMove, QPoint(15, 10 + Y), Qt::NoButton, Qt::LeftButton); }
    void Release(int Y)
    {
        SendMouse(Window(), QEvent::MouseButtonRelease, QPoint(15, 10 + Y), Qt::LeftButton, Qt::NoButton);
    }
    // One tick of the repeat timer, as its interval passing would give.
    void Tick() { Button->RepeatTimer()->OnTimer(Button->RepeatTimer()); }
    int PartPressedAt(int Y)
    {
        Press(Y);
        const int Part = Button->PressedPart();
        Release(Y);
        return Part;
    }
    TColor PixelAt(int X, int Y) const
    {
        const QRgb Pixel = Window()->grab().toImage().pixel(X, Y);
        return RGB(qRed(Pixel), qGreen(Pixel), qBlue(Pixel));
    }

    TForm* Form = nullptr;
    TPanel* Host = nullptr;
    TEditButtonControlEh* Button = nullptr;
    std::vector<bool> Downs;
    int StopAfter = 0;
    bool ForceRepeat = false;
    int Clicks = 0;
};

TEST_F(EditButtonControlTest, SpinHalvesPressTheirPartAndTheMiddleRowsNothing)
{
    EXPECT_EQ(PartPressedAt(0), bppUpperEh);
    EXPECT_EQ(PartPressedAt(9), bppUpperEh);
    EXPECT_EQ(PartPressedAt(10), bppNoneEh);
    EXPECT_EQ(PartPressedAt(11), bppLowerEh);
    EXPECT_EQ(PartPressedAt(19), bppLowerEh);
    EXPECT_EQ(Downs, (std::vector<bool>{true, true, false, false}));
    Button->SetBounds(10, 10, 15, 21);
    EXPECT_EQ(PartPressedAt(9), bppUpperEh);
    EXPECT_EQ(PartPressedAt(10), bppNoneEh);
    EXPECT_EQ(PartPressedAt(11), bppNoneEh);
    EXPECT_EQ(PartPressedAt(12), bppLowerEh);
    EXPECT_EQ(Button->PressedPart(), bppNoneEh);
}

TEST_F(EditButtonControlTest, HoldingASpinHalfRepeatsAfter400MsThenEvery100Ms)
{
    Press(15);
    ASSERT_EQ(Downs.size(), 1u);
    ASSERT_NE(Button->RepeatTimer(), nullptr);
    EXPECT_TRUE(Button->RepeatTimer()->Enabled());
    EXPECT_EQ(Button->RepeatTimer()->Interval(), 400u);
    Tick();
    EXPECT_EQ(Downs.size(), 2u);
    EXPECT_EQ(Button->RepeatTimer()->Interval(), 100u);
    Tick();
    Tick();
    EXPECT_EQ(Downs, (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(Button->RepeatTimer()->Enabled());
    Release(15);
    EXPECT_FALSE(Button->RepeatTimer()->Enabled());
    EXPECT_EQ(Clicks, 1);
}

TEST_F(EditButtonControlTest, AHandlerClearingAutoRepeatStopsTheRepetition)
{
    StopAfter = 3;
    Press(2);
    Tick();
    EXPECT_TRUE(Button->RepeatTimer()->Enabled());
    Tick();
    EXPECT_EQ(Downs.size(), 3u);
    EXPECT_FALSE(Button->RepeatTimer()->Enabled());
    Release(2);
}

TEST_F(EditButtonControlTest, OtherStylesRepeatOnlyWhenTheHandlerAsks)
{
    Button->SetStyle(E::ebsEllipsisEh);
    Press(5);
    Release(5);
    EXPECT_EQ(Downs, (std::vector<bool>{true}));
    EXPECT_EQ(Button->RepeatTimer(), nullptr);

    ForceRepeat = true;
    Press(5);
    ASSERT_NE(Button->RepeatTimer(), nullptr);
    EXPECT_TRUE(Button->RepeatTimer()->Enabled());
    Tick();
    EXPECT_EQ(Downs.size(), 3u);
    EXPECT_TRUE(Button->RepeatTimer()->Enabled());
    Release(5);
    EXPECT_FALSE(Button->RepeatTimer()->Enabled());
}

TEST_F(EditButtonControlTest, TheRepeatTimerRunsInTheEventLoop)
{
    // The event loop may deliver a move to where the cursor is: keep it over the button.
    QCursor::setPos(Window()->mapToGlobal(QPoint(15, 12)));
    QApplication::processEvents();
    Press(2);
    ProcessUntil([this] { return Downs.size() >= 3; });
    EXPECT_EQ(Button->RepeatTimer()->Interval(), 100u);
    Release(2);
}

TEST_F(EditButtonControlTest, ALostReleaseEndsTheRepetition)
{
    Press(2);
    ReleaseCapture();
    Tick();
    EXPECT_EQ(Downs.size(), 1u);
    EXPECT_FALSE(Button->RepeatTimer()->Enabled());

    Press(2);
    EXPECT_TRUE(Button->RepeatTimer()->Enabled());
    Button->SetEnabled(false);
    EXPECT_FALSE(Button->RepeatTimer()->Enabled());
}

TEST_F(EditButtonControlTest, MovingOntoTheOtherHalfReleasesTheButtonWithoutAClick)
{
    Press(2);
    MoveTo(15);
    Tick();
    EXPECT_EQ(Downs.size(), 1u);  // not down: no repetition
    Release(15);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(Button->PressedPart(), bppNoneEh);

    Press(15);
    MoveTo(3);
    Release(3);
    EXPECT_EQ(Clicks, 0);

    Press(15);
    MoveTo(12);
    Release(12);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(EditButtonControlTest, AClickWithTheMouseFiresOnClickOnce)
{
    Button->SetStyle(E::ebsDropDownEh);
    ClickAt(Window(), QPoint(15, 20));
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Downs, (std::vector<bool>{true}));
    // Released outside: no click.
    Press(5);
    SendMouse(Window(), QEvent::MouseButtonRelease, QPoint(80, 50), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(EditButtonControlTest, AlwaysDownHoldsTheButtonInItsGroup)
{
    Button->SetAlwaysDown(true);
    EXPECT_EQ(Button->GroupIndex(), 1);
    EXPECT_TRUE(Button->Down());
    EXPECT_FALSE(Button->AllowAllUp());
    EXPECT_EQ(Button->PressedPart(), bppUpperEh);
    Button->SetAlwaysDown(true);
    EXPECT_TRUE(Button->Down());
    Button->SetAlwaysDown(false);
    EXPECT_EQ(Button->GroupIndex(), 0);
    EXPECT_FALSE(Button->Down());
    EXPECT_TRUE(Button->AllowAllUp());
    EXPECT_EQ(Button->PressedPart(), bppNoneEh);
}

TEST_F(EditButtonControlTest, PaintsItsFaceRaisedAndSunkenWhilePressed)
{
    Button->SetStyle(E::ebsEllipsisEh);
    Button->SetBounds(10, 10, 17, 21);
    EXPECT_EQ(PixelAt(10, 10), ColorToRGB(cl3DLight));
    EXPECT_EQ(PixelAt(10 + 3, 10 + 9), ColorToRGB(clBtnText));
    Press(5);
    EXPECT_EQ(PixelAt(10, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(10 + 4, 10 + 10), ColorToRGB(clBtnText));
    Release(5);
    Button->SetFlat(true);
    EXPECT_EQ(PixelAt(10, 10), ColorToRGB(Host->Color()));
    Button->SetActive(true);
    EXPECT_EQ(PixelAt(10, 10), ColorToRGB(clBtnHighlight));
}

TEST_F(EditButtonControlTest, AFlatGlyphButtonIsFramedByActiveWithoutThemesAndLooksHotWithThem)
{
    Button->SetStyle(E::ebsGlyphEh);
    Button->SetFlat(true);
    EXPECT_EQ(PixelAt(10, 10), ColorToRGB(Host->Color()));
    Button->SetActive(true);
    EXPECT_EQ(PixelAt(10, 10), ColorToRGB(clBtnHighlight));
    Press(5);
    EXPECT_EQ(PixelAt(10, 10), ColorToRGB(clBtnShadow));
    Release(5);

    PlatformMetrics().SetThemesActive(true);
    TBitmap Glyph(4, 4);
    Glyph.Canvas()->Brush()->SetColor(clRed);
    Glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    Glyph.Canvas()->SetPixels(0, 3, clWhite);
    Button->SetGlyph(&Glyph);
    EXPECT_EQ(PixelAt(10, 10), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(10 + 7, 10 + 9), ColorToRGB(clRed));
}

TEST_F(EditButtonControlTest, BuildButtonControlMakesAVisibleButtonOnTheEdit)
{
    TEditButtonEh Description(Host);
    TEditButtonControlEh* Built = Description.BuildButtonControl(Host);
    EXPECT_EQ(Built->Parent(), Host);
    EXPECT_EQ(Built->Owner(), Host);
    EXPECT_EQ(Built->Width(), 10);
    EXPECT_EQ(Built->Height(), 17);
    EXPECT_TRUE(Built->Visible());
}

}  // namespace
