// A custom-drawn control built the way the grid is built receives the platform's messages, in the
// platform's order, from real Qt events.
#include "platform/ui/Controls.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Panel.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/UiTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>

#include <string>
#include <vector>

namespace {

std::string NameOf(const TControl* Control)
{
    return Control != nullptr ? Control->Name().toStdString() : "none";
}

// Records what reaches it, as a grid overrides the same methods.
class TRecordingControl : public TCustomControl {
public:
    explicit TRecordingControl(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }

    std::vector<std::string> Log;
    int Paints = 0;
    bool WheelHandled = true;

    void Record(std::string Entry) { Log.push_back(std::move(Entry)); }

    void WndProc(TMessage& Message) override
    {
        switch (Message.Msg) {
        case WM_SETFOCUS:
            Record("setfocus from " + NameOf(FindControl(reinterpret_cast<HWND>(Message.WParam))));
            break;
        case WM_KILLFOCUS:
            Record("killfocus to " + NameOf(FindControl(reinterpret_cast<HWND>(Message.WParam))));
            break;
        case WM_TIMER: Record("timer " + std::to_string(Message.WParam)); break;
        case WM_VSCROLL:
            Record("vscroll " + std::to_string(LOWORD(Message.WParam)) + " " + std::to_string(HIWORD(Message.WParam)));
            break;
        case WM_USER + 1:
        case WM_USER + 2: Record("user " + std::to_string(Message.Msg - WM_USER)); break;
        case WM_USER + 9: throw EConvertError(QStringLiteral("读取失败"));
        case WM_NCHITTEST:
            FLastX = ScreenToClient(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam))).X;
            break;
        case WM_SETCURSOR:
            if (FLastX < 10) {
                ::SetCursor(crVSplit);
                Message.Result = 1;
                return;
            }
            break;
        default: break;
        }
        TCustomControl::WndProc(Message);
    }

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(clSilver);
        Canvas()->FillRect(Rect(2, 3, 12, 4));
    }
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        Record("keydown " + std::to_string(Key) + (Shift.Contains(ssShift) ? " shift" : "") +
               (GetKeyState(VK_SHIFT) < 0 ? " shift-down" : ""));
    }
    void KeyPress(Char& Key) override { Record("char " + std::to_string(Key.unicode())); }
    void KeyUp(WORD& Key, TShiftState) override { Record("keyup " + std::to_string(Key)); }
    void MouseDown(TMouseButton, TShiftState Shift, int X, int Y) override
    {
        Record("down " + std::to_string(X) + "," + std::to_string(Y) + (Shift.Contains(ssDouble) ? " double" : ""));
    }
    void MouseUp(TMouseButton, TShiftState, int X, int Y) override
    {
        Record("up " + std::to_string(X) + "," + std::to_string(Y));
    }
    void Click() override { Record("click"); }
    void DblClick() override { Record("dblclick"); }
    bool DoMouseWheelDown(TShiftState, TPoint) override
    {
        Record("wheeldown");
        return WheelHandled;
    }
    bool DoMouseWheelUp(TShiftState, TPoint) override
    {
        Record("wheelup");
        return WheelHandled;
    }
    void DoEnter() override { Record("enter"); }
    void DoExit() override { Record("exit"); }

private:
    int FLastX = 100;
};

using Log = std::vector<std::string>;

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Grid = new TRecordingControl(Form);
        Grid->SetName(QStringLiteral("Grid"));
        Grid->SetBounds(10, 10, 120, 80);
        Grid->SetParent(Form);
        Other = new TRecordingControl(Form);
        Other->SetName(QStringLiteral("Other"));
        Other->SetBounds(150, 10, 100, 80);
        Other->SetParent(Form);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Grid->Log.clear();
    }

    void TearDown() override
    {
        Application->OnMessage = nullptr;
        delete Form;
        PlatformMetrics().Reset();
    }

    QWidget* Widget() const { return Grid->Handle(); }

    void Key(int QtKey, const QString& Text, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        SendKey(Widget(), QtKey, Text, Modifiers);
    }

    void Mouse(QEvent::Type Type, QPoint At, Qt::MouseButtons Buttons)
    {
        SendMouse(Widget(), Type, At, Qt::LeftButton, Buttons);
    }

    void Wheel(int Delta)
    {
        QWheelEvent event(QPointF(5, 5), Widget()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, Delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Widget(), &event);
    }

    TForm* Form = nullptr;
    TRecordingControl* Grid = nullptr;
    TRecordingControl* Other = nullptr;
    TScriptedDialogs Reports;
};

// Qt's geometry arithmetic overflows beyond its limits: the sanitizer build reports the undefined
// behaviour, and the windows must still come out in range.
TEST_F(ControlsTest, BoundsBeyondWhatAWindowHoldsLeaveTheWindowInRange)
{
    constexpr int Max = std::numeric_limits<int>::max();
    Grid->SetBounds(Max - 1, Max - 1, 50, 40);
    const QRect window = Widget()->geometry();
    EXPECT_GT(window.left(), Form->ClientWidth());
    EXPECT_GT(window.top(), Form->ClientHeight());
    EXPECT_EQ(window.size(), QSize(50, 40));
    Form->SetBounds(-Max, 2, 300, Max);
    EXPECT_EQ(Form->Handle()->width(), 300);
    EXPECT_GT(Form->Handle()->height(), 200);
}

TEST_F(ControlsTest, KeyPressBecomesKeyDownThenCharThenKeyUp)
{
    Key(Qt::Key_A, QStringLiteral("a"));
    Key(Qt::Key_Left, QString());
    Key(Qt::Key_Delete, QStringLiteral("\x7f"));
    EXPECT_EQ(Grid->Log, (Log{"keydown 65", "char 97", "keyup 65", "keydown 37", "keyup 37", "keydown 46", "keyup 46"}));
}

TEST_F(ControlsTest, ShiftStateAndGetKeyStateFollowTheEvent)
{
    Key(Qt::Key_B, QStringLiteral("B"), Qt::ShiftModifier);
    EXPECT_EQ(Grid->Log.front(), "keydown 66 shift shift-down");
    EXPECT_EQ(Grid->Log[1], "char 66");
}

// Keys as X11 delivers them: with Ctrl alone a key brings its printable character too, which
// the platform's keyboard never types; control characters and AltGr's characters stay.
TEST_F(ControlsTest, CtrlAloneTypesOnlyControlCharacters)
{
    struct {
        int QtKey;
        const char* Text;
        Qt::KeyboardModifiers Modifiers;
        std::vector<std::string> Chars;
    } const cases[] = {
        {Qt::Key_Apostrophe, "'", Qt::ControlModifier, {}},
        {Qt::Key_Period, ".", Qt::ControlModifier, {}},
        {Qt::Key_2, "2", Qt::ControlModifier, {}},
        {Qt::Key_Colon, ":", Qt::ControlModifier | Qt::ShiftModifier, {}},
        {Qt::Key_A, "\x01", Qt::ControlModifier, {"char 1"}},
        {Qt::Key_V, "\x16", Qt::ControlModifier | Qt::ShiftModifier, {"char 22"}},
        {Qt::Key_Space, " ", Qt::ControlModifier, {"char 32"}},
        {Qt::Key_At, "@", Qt::ControlModifier | Qt::AltModifier, {"char 64"}},
        {Qt::Key_At, "@", Qt::GroupSwitchModifier, {"char 64"}},
        {Qt::Key_Apostrophe, "'", Qt::NoModifier, {"char 39"}},
    };
    for (const auto& c : cases) {
        Grid->Log.clear();
        Key(c.QtKey, QString::fromLatin1(c.Text), c.Modifiers);
        std::vector<std::string> chars;
        std::copy_if(Grid->Log.begin(), Grid->Log.end(), std::back_inserter(chars),
                     [](const std::string& Entry) { return Entry.starts_with("char"); });
        EXPECT_EQ(chars, c.Chars) << c.Text;
    }
}

TEST_F(ControlsTest, CommittedInputMethodTextArrivesAsOneCharMessageEach)
{
    CommitText(Widget(), QStringLiteral("中文"));
    EXPECT_EQ(Grid->Log, (Log{"char 20013", "char 25991"}));
}

TEST_F(ControlsTest, DoubleClickFollowsThePlatformOrder)
{
    Mouse(QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {5, 6}, Qt::NoButton);
    Mouse(QEvent::MouseButtonDblClick, {5, 6}, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {5, 6}, Qt::NoButton);
    EXPECT_EQ(Grid->Log, (Log{"down 5,6", "click", "up 5,6", "dblclick", "down 5,6 double", "up 5,6"}));
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(ControlsTest, MouseDownCapturesUntilRelease)
{
    Mouse(QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton);
    EXPECT_EQ(GetCaptureControl(), Grid);
    EXPECT_EQ(GetCapture(), Widget());
    Mouse(QEvent::MouseButtonRelease, {200, 6}, Qt::NoButton);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    // Released outside the client area: no click.
    EXPECT_EQ(Grid->Log, (Log{"down 5,6", "up 200,6"}));
}

TEST_F(ControlsTest, WheelGoesToTheFocusedControlNotchByNotch)
{
    Grid->SetFocus();
    Grid->Log.clear();
    Wheel(-120);
    Wheel(60);
    EXPECT_EQ(Grid->Log, (Log{"wheeldown"}));
    Wheel(60);
    EXPECT_EQ(Grid->Log, (Log{"wheeldown", "wheelup"}));
}

TEST_F(ControlsTest, WheelHandledByTheEventOrTheHookGoesNoFurther)
{
    Grid->SetFocus();
    Grid->Log.clear();
    Grid->OnMouseWheel = [](TObject*, TShiftState, int, TPoint, bool& Handled) { Handled = true; };
    Wheel(-120);
    EXPECT_TRUE(Grid->Log.empty());

    Grid->OnMouseWheel = nullptr;
    std::int32_t seen = 0;
    Application->OnMessage = [&seen](TMsg& Msg, bool& Handled) {
        if (Msg.message == WM_MOUSEWHEEL) {
            seen = static_cast<std::int32_t>(Msg.wParam);
            Handled = true;
        }
    };
    Wheel(120);
    EXPECT_GT(seen, 0);
    EXPECT_TRUE(Grid->Log.empty());
}

TEST_F(ControlsTest, UnhandledWheelReachesTheParent)
{
    Grid->SetFocus();
    Grid->WheelHandled = false;
    int formTurns = 0;
    Form->OnMouseWheelDown = [&formTurns](TObject*, TShiftState, TPoint, bool& Handled) {
        ++formTurns;
        Handled = true;
    };
    Wheel(-120);
    EXPECT_EQ(formTurns, 1);
}

TEST_F(ControlsTest, FocusMessagesNameTheOtherControl)
{
    std::vector<std::string> order;
    Grid->OnExit = [&order](TObject*) { order.push_back("grid exit"); };
    Other->OnEnter = [&order](TObject*) { order.push_back("other enter"); };
    Grid->SetFocus();
    EXPECT_TRUE(Grid->Focused());
    Grid->Log.clear();
    Other->Log.clear();
    Other->SetFocus();
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(Form->ActiveControl(), Other);
    EXPECT_EQ(Grid->Log, (Log{"killfocus to Other", "exit"}));
    // The window procedure sees WM_SETFOCUS first; its default handling enters the control.
    EXPECT_EQ(Other->Log, (Log{"setfocus from Grid", "enter"}));
}

TEST_F(ControlsTest, WindowFocusGoesToTheWindowAndAnswersThePreviousOne)
{
    Grid->SetFocus();
    EXPECT_EQ(::SetFocus(Other->Handle()), Grid->Handle());
    EXPECT_TRUE(Other->Focused());
    EXPECT_EQ(::SetFocus(nullptr), Other->Handle());
    EXPECT_FALSE(Other->Focused());
}

TEST_F(ControlsTest, TabMovesTheFocusInTabOrderUnlessTheControlWantsTab)
{
    Grid->SetFocus();
    Key(Qt::Key_Tab, QStringLiteral("\t"));
    EXPECT_TRUE(Other->Focused());
    EXPECT_TRUE(std::find(Grid->Log.begin(), Grid->Log.end(), "keydown 9") == Grid->Log.end());
}

TEST_F(ControlsTest, ActiveControlRefusesAnInvisibleControl)
{
    Other->SetVisible(false);
    EXPECT_THROW(Form->SetActiveControl(Other), EInvalidOperation);
    EXPECT_NE(Form->ActiveControl(), Other);
}

TEST_F(ControlsTest, TimerDeliversItsId)
{
    Grid->SetTimer(7, 0);
    ProcessUntil([this] { return !Grid->Log.empty(); });
    Grid->KillTimer(7);
    EXPECT_EQ(Grid->Log.front(), "timer 7");
}

TEST_F(ControlsTest, SendIsImmediatePostIsQueued)
{
    PostMessage(Grid, WM_USER + 1);
    SendMessage(Grid, WM_USER + 2);
    EXPECT_EQ(Grid->Log, (Log{"user 2"}));
    ProcessUntil([this] { return Grid->Log.size() == 2; });
    EXPECT_EQ(Grid->Log, (Log{"user 2", "user 1"}));
}

TEST_F(ControlsTest, MessagePostedToAFreedControlIsDropped)
{
    auto* doomed = new TRecordingControl(nullptr);
    PostMessage(doomed, WM_USER + 1);
    delete doomed;
    PostMessage(Grid, WM_USER + 2);
    ProcessUntil([this] { return !Grid->Log.empty(); });
    EXPECT_EQ(Grid->Log, (Log{"user 2"}));
}

TEST_F(ControlsTest, ExceptionFromAHandlerIsReportedAndTheApplicationGoesOn)
{
    PostMessage(Grid, WM_USER + 9);
    PostMessage(Grid, WM_USER + 1);
    ProcessUntil([this] { return !Grid->Log.empty(); });
    ASSERT_EQ(Reports.Shown().size(), 1u);
    EXPECT_EQ(Reports.Shown().front().Text, QStringLiteral("读取失败。"));
    EXPECT_EQ(Reports.Shown().front().Icon, TMsgDlgType::mtError);
    EXPECT_EQ(Grid->Log, (Log{"user 1"}));

    Grid->OnKeyDown = [](TObject*, WORD&, TShiftState) { throw EAbort(String()); };
    Key(Qt::Key_A, QStringLiteral("a"));
    EXPECT_EQ(Reports.Shown().size(), 1u);
}

TEST_F(ControlsTest, CursorFollowsThePositionThroughSetCursorMessages)
{
    Mouse(QEvent::MouseMove, {5, 5}, Qt::NoButton);
    EXPECT_EQ(Widget()->cursor().shape(), Qt::SplitVCursor);
    Mouse(QEvent::MouseMove, {50, 5}, Qt::NoButton);
    EXPECT_EQ(Widget()->cursor().shape(), Qt::ArrowCursor);
    Grid->SetCursor(crHandPoint);
    Mouse(QEvent::MouseMove, {60, 5}, Qt::NoButton);
    EXPECT_EQ(Widget()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ControlsTest, PaintingLandsOnThePixels)
{
    const int paintsBefore = Grid->Paints;
    const QImage image = Widget()->grab().toImage();
    EXPECT_EQ(Grid->Paints, paintsBefore + 1);
    const QRgb silver = qRgb(0xC0, 0xC0, 0xC0);
    EXPECT_EQ(image.pixel(2, 3), silver);
    EXPECT_EQ(image.pixel(11, 3), silver);
    EXPECT_NE(image.pixel(12, 3), silver);
    EXPECT_NE(image.pixel(2, 4), silver);
    EXPECT_NE(image.pixel(2, 2), silver);
}

TEST_F(ControlsTest, XorLineDrawnOutsidePaintingShowsAndDrawnAgainDisappears)
{
    auto drawLine = [this] {
        TCanvas* canvas = Grid->Canvas();
        canvas->Pen()->SetMode(TPenMode::pmXor);
        canvas->Pen()->SetColor(clWhite);
        canvas->MoveTo(40, 0);
        canvas->LineTo(40, 50);
    };
    const QRgb before = Widget()->grab().toImage().pixel(40, 20);
    drawLine();
    const QRgb drawn = Widget()->grab().toImage().pixel(40, 20);
    EXPECT_EQ(drawn, qRgb(255 - qRed(before), 255 - qGreen(before), 255 - qBlue(before)));
    drawLine();
    EXPECT_EQ(Widget()->grab().toImage().pixel(40, 20), before);
}

class ScrollBarTest : public ControlsTest {
protected:
    QScrollBar* VerticalBar() const
    {
        for (QScrollBar* bar : Widget()->findChildren<QScrollBar*>())
            if (bar->orientation() == Qt::Vertical)
                return bar;
        return nullptr;
    }
    int SetVert(int Min, int Max, unsigned Page, int Pos, unsigned Extra = 0)
    {
        TScrollInfo info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | Extra;
        info.nMin = Min;
        info.nMax = Max;
        info.nPage = Page;
        info.nPos = Pos;
        return Grid->SetScrollInfo(SB_VERT, info);
    }
};

TEST_F(ScrollBarTest, BarShowsWhenTheRangeExceedsThePageAndTakesClientWidth)
{
    EXPECT_EQ(SetVert(0, 99, 10, 5), 5);
    EXPECT_TRUE(VerticalBar()->isVisible());
    EXPECT_EQ(Grid->ClientWidth(), 120 - PlatformMetrics().VScrollWidth());
    TScrollInfo info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(Grid->GetScrollInfo(SB_VERT, info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 99);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(info.nPos, 5);

    EXPECT_EQ(SetVert(0, 99, 100, 5), 0);
    EXPECT_FALSE(VerticalBar()->isVisible());
    EXPECT_EQ(Grid->ClientWidth(), 120);
}

TEST_F(ScrollBarTest, PositionStaysWhereAFullPageFits)
{
    EXPECT_EQ(SetVert(0, 99, 10, 95), 90);
    EXPECT_EQ(SetVert(0, 127, 0, 200), 127);
}

TEST_F(ScrollBarTest, DisableNoScrollKeepsAFittingBarShownButDisabled)
{
    SetVert(0, 9, 10, 0, SIF_DISABLENOSCROLL);
    EXPECT_TRUE(VerticalBar()->isVisible());
    EXPECT_FALSE(VerticalBar()->isEnabled());
}

TEST_F(ScrollBarTest, BarActionsComeBackAsScrollCodesWithoutMovingTheBar)
{
    SetVert(0, 99, 10, 5);
    VerticalBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    VerticalBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(VerticalBar()->value(), 5);
    VerticalBar()->setSliderDown(true);
    VerticalBar()->setSliderPosition(40);
    VerticalBar()->setSliderDown(false);
    EXPECT_EQ(Grid->Log, (Log{"vscroll 3 5", "vscroll 0 5", "vscroll 5 40", "vscroll 4 40", "vscroll 8 5"}));
    EXPECT_EQ(VerticalBar()->value(), 5);
}

// A plain custom control that asks for a horizontal scroll bar when its window is made.
class TScrolledControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TCustomControl::CreateParams(Params);
        Params.Style |= WS_HSCROLL;
    }
};

TEST_F(ScrollBarTest, AWindowBarWithNothingToScrollIsHiddenAndTakesNoRoom)
{
    auto* control = new TScrolledControl(Form);
    control->SetBounds(10, 100, 120, 80);
    control->SetParent(Form);
    auto horizontalBar = [control]() -> QScrollBar* {
        for (QScrollBar* bar : control->Handle()->findChildren<QScrollBar*>())
            if (bar->orientation() == Qt::Horizontal)
                return bar;
        return nullptr;
    };
    EXPECT_FALSE(horizontalBar() != nullptr && horizontalBar()->isVisible());
    EXPECT_EQ(control->ClientHeight(), 80);
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = 299;
    info.nPage = 120;
    control->SetScrollInfo(SB_HORZ, info);
    ASSERT_NE(horizontalBar(), nullptr);
    EXPECT_TRUE(horizontalBar()->isVisible());
    EXPECT_EQ(control->ClientHeight(), 80 - PlatformMetrics().HScrollHeight());
    // A range that no longer exceeds the page hides the bar again, even one shown on request.
    control->ShowScrollBar(SB_HORZ, true);
    info.nPage = 300;
    control->SetScrollInfo(SB_HORZ, info);
    EXPECT_FALSE(horizontalBar()->isVisible());
    EXPECT_EQ(control->ClientHeight(), 80);
}

// Tells when it is freed.
class TTrackedControl : public TRecordingControl {
public:
    TTrackedControl(TComponent* AOwner, bool& Gone) : TRecordingControl(AOwner), FGone(Gone) {}
    ~TTrackedControl() override { FGone = true; }

private:
    bool& FGone;
};

TEST(ControlTreeTest, ParentFreesItsChildrenAndTheOwnerForgetsThem)
{
    auto* form = new TForm(nullptr);
    auto* panel = new TRecordingControl(nullptr);
    panel->SetParent(form);
    bool childGone = false;
    auto* child = new TTrackedControl(form, childGone);
    child->SetParent(panel);
    EXPECT_EQ(form->ComponentCount(), 1);
    delete panel;
    EXPECT_TRUE(childGone);
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(form->ControlCount(), 0);
    delete form;
}

TEST(ControlTreeTest, AlignLaysOutSiblingsInTheClientArea)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto* top = new TRecordingControl(&form);
    top->SetHeight(20);
    top->SetAlign(TAlign::alTop);
    top->SetParent(&form);
    auto* client = new TRecordingControl(&form);
    client->SetAlign(TAlign::alClient);
    client->SetParent(&form);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 20));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 20, 200, 100));
    form.SetBounds(0, 0, 300, 150);
    EXPECT_EQ(client->BoundsRect(), Rect(0, 20, 300, 150));
}

// Font and Color reach every Qt control a window wraps, whether set on it or followed from the parent.
TEST(ControlTreeTest, FontAndColorReachTheWrappedQtControls)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* box = new TCheckBox(&form);
    box->SetParent(&form);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    form.Show();

    form.Font()->SetSize(15);
    const QFont large = form.Font()->Handle();
    EXPECT_EQ(box->Handle()->font(), large);
    EXPECT_EQ(button->Handle()->font(), large);
    EXPECT_EQ(edit->Handle()->font(), large);

    box->Font()->SetColor(clRed);
    EXPECT_EQ(box->Handle()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    button->Font()->SetColor(clBlue);
    EXPECT_EQ(button->Handle()->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
    edit->SetColor(clYellow);
    EXPECT_EQ(edit->Handle()->palette().color(QPalette::Base), QColor(255, 255, 0));

    // A window made later starts with them too.
    box->RecreateWnd();
    EXPECT_EQ(box->Handle()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(box->Handle()->font(), large);
}

// A drop-down window: shown over the form without taking the focus from the edit.
class TDropDown : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TCustomControl::CreateParams(Params);
        Params.Style = WS_POPUP;
        Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    }
};

TEST_F(ControlsTest, PopupWindowLeavesTheFocusWithTheControl)
{
    Grid->SetFocus();
    TDropDown dropDown(nullptr);
    dropDown.SetBounds(20, 20, 80, 60);
    dropDown.Show();
    QApplication::processEvents();
    EXPECT_TRUE(dropDown.Handle()->isWindow());
    EXPECT_EQ(dropDown.Handle()->windowType(), Qt::ToolTip);
    EXPECT_TRUE(Grid->Focused());
    EXPECT_EQ(QApplication::activeWindow(), Form->Handle());
}

}  // namespace

namespace {

// A windowless control: painted by its parent, given the mouse over its rectangle.
class TMark : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    std::vector<std::string> Log;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(0, 0, 2, 2));
    }
    void MouseDown(TMouseButton, TShiftState, int X, int Y) override
    {
        Log.push_back("down " + std::to_string(X) + "," + std::to_string(Y));
    }
};

TEST_F(ControlsTest, GraphicControlIsPaintedAndClickedThroughItsParent)
{
    auto* mark = new TMark(Form);
    mark->SetBounds(30, 20, 10, 10);
    mark->SetParent(Grid);
    const QImage image = Widget()->grab().toImage();
    EXPECT_EQ(image.pixel(30, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(31, 21), qRgb(255, 0, 0));
    EXPECT_NE(image.pixel(32, 20), qRgb(255, 0, 0));
    Mouse(QEvent::MouseButtonPress, {33, 24}, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {33, 24}, Qt::NoButton);
    EXPECT_EQ(mark->Log, (Log{"down 3,4"}));
    EXPECT_TRUE(Grid->Log.empty());
}

TEST(FormsTest, ShowModalRunsUntilTheResultIsSetAndTheFormMayClose)
{
    TForm dialog(nullptr);
    dialog.SetBounds(0, 0, 100, 80);
    int queries = 0;
    dialog.OnCloseQuery = [&queries](TObject*, bool& CanClose) { CanClose = ++queries > 1; };
    QTimer::singleShot(0, [&dialog] {
        dialog.SetModalResult(mrCancel);
        QTimer::singleShot(0, [&dialog] { dialog.SetModalResult(mrOk); });
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(queries, 2);
    EXPECT_FALSE(dialog.Visible());
}

TEST(FormsTest, ReleaseFreesTheFormAfterPendingMessages)
{
    auto* form = new TForm(nullptr);
    const int before = Screen->FormCount();
    form->Release();
    EXPECT_EQ(Screen->FormCount(), before);
    QElapsedTimer clock;
    clock.start();
    while (Screen->FormCount() == before && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(Screen->FormCount(), before - 1);
}

TEST(FormsTest, ScreenCursorOverridesEveryWindowUntilDefault)
{
    Screen->SetCursor(crHourGlass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace

// The first window asked for may be a nested control's: making it makes every window from the
// form down once, and each control keeps the window its parent's window holds.
TEST(WindowCreationTest, AskingANestedControlForItsWindowFirstMakesEachWindowOnce)
{
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    auto* first = new TEdit(&form);
    first->SetParent(panel);
    auto* second = new TEdit(&form);
    second->SetParent(panel);
    second->SetText(QStringLiteral("kept"));

    QWidget* secondWindow = second->Handle();
    EXPECT_EQ(secondWindow->parentWidget(), panel->Handle());
    EXPECT_EQ(first->Handle()->parentWidget(), panel->Handle());
    EXPECT_EQ(panel->Handle()->parentWidget(), form.Handle());
    EXPECT_EQ(second->Handle(), secondWindow);
    EXPECT_EQ(second->Text(), QStringLiteral("kept"));
    first->SetText(QStringLiteral("typed"));
    EXPECT_EQ(first->Text(), QStringLiteral("typed"));
}
