// The popup calendar dropped under a date field: Enter accepts and Esc cancels through keys the
// field passes on, a click on a day accepts, a click elsewhere in it does not, a press outside
// or the focus moving away closes it without accepting, and the wheel steps a day.
#include "ToolCtrlsEhPopupTestSupport.h"

#include "platform/core/SysUtils.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QTableView>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>
#include <limits>

namespace {

using namespace Qt::StringLiterals;

class TDateEdit : public TEdit, public IPopupOwnerEh {
public:
    explicit TDateEdit(TComponent* AOwner) : TEdit(AOwner) { Calendar = new TPopupMonthCalendarEh(this); }

    void DropDown(TDateTime Value)
    {
        Calendar->SetDate(Value);
        Calendar->HandleNeeded();
        const TPoint at = PlaceDropDownUnderEdit(this, Calendar, TDropDownAlign::daLeft);
        Calendar->SetBounds(at.X, at.Y, Calendar->Width(), Calendar->Height());
        Calendar->Show();
    }

    void CloseUp(bool Accept) override
    {
        if (Accept)
            SetText(FormatDateTime(u"yyyy-mm-dd"_s, Calendar->Date()));
        Calendar->Hide();
        Closes.push_back(Accept);
    }

    TPopupMonthCalendarEh* Calendar = nullptr;
    std::vector<bool> Closes;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        if (Calendar->Visible() && (Key == VK_RETURN || Key == VK_ESCAPE || (Key >= VK_PRIOR && Key <= VK_DOWN))) {
            Calendar->Perform(WM_KEYDOWN, Key);
            Key = 0;
            return;
        }
        TEdit::KeyDown(Key, Shift);
    }
};

class CalendarTest : public PopupTest {
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        Field = new TDateEdit(Form);
        Field->SetBounds(20, 80, 120, 21);
        Field->SetParent(Form);
        Other = new TEdit(Form);
        Other->SetBounds(300, 80, 120, 21);
        Other->SetParent(Form);
        Field->SetFocus();
    }

    TPopupMonthCalendarEh* Calendar() const { return Field->Calendar; }
    QWidget* FieldWidget() const { return Field->Handle(); }
    QCalendarWidget* CalendarWidget() const { return static_cast<QCalendarWidget*>(Calendar()->Handle()); }

    // Clicks the cell of day Day of the shown month in the calendar's table.
    void ClickDay(int Day)
    {
        auto* view = CalendarWidget()->findChild<QTableView*>();
        ASSERT_NE(view, nullptr);
        QAbstractItemModel* model = view->model();
        for (int row = 1; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                // Days of the shown month lie between its 1st and last: skip the neighbours' days.
                if (model->data(index).toInt() == Day && (row < 4 || Day > 20) && (row > 1 || Day < 8)) {
                    ClickAt(view->viewport(), view->visualRect(index).center());
                    return;
                }
            }
        FAIL() << "no cell for day " << Day;
    }

    void Wheel(QWidget* Target, int Delta)
    {
        const QPointF at(10, 10);
        QWheelEvent event(at, Target->mapToGlobal(at), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Target, &event);
    }

    TDateEdit* Field = nullptr;
    TEdit* Other = nullptr;
};

TEST_F(CalendarTest, DroppedCalendarIsATopLevelWindowThatLeavesTheFocusWithTheField)
{
    Field->DropDown(EncodeDate(2024, 5, 15));
    QWidget* window = Calendar()->Handle();
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowType(), Qt::ToolTip);
    EXPECT_EQ(QApplication::focusWidget(), FieldWidget());
    const TPoint below = Form->ClientToScreen(Point(Field->Left(), Field->Top() + Field->Height()));
    EXPECT_EQ(Calendar()->Left(), below.X);
    EXPECT_EQ(Calendar()->Top(), below.Y);
    // The window is the calendar's minimum size plus its border on each side.
    const TRect request = Calendar()->MinReqRect();
    EXPECT_EQ(Calendar()->Width(), request.Width() + 4);
    EXPECT_EQ(Calendar()->Height(), request.Height() + 4);
}

TEST_F(CalendarTest, EnterAcceptsTheDayTheArrowsMovedTo)
{
    Field->DropDown(EncodeDate(2024, 5, 15));
    SendKey(FieldWidget(), Qt::Key_Right);
    SendKey(FieldWidget(), Qt::Key_Down);
    EXPECT_EQ(Calendar()->Date(), EncodeDate(2024, 5, 23));
    SendKey(FieldWidget(), Qt::Key_Return);
    EXPECT_EQ(Field->Closes, std::vector<bool>{true});
    EXPECT_EQ(Field->Text(), u"2024-05-23"_s);
    EXPECT_FALSE(Calendar()->Visible());
}

TEST_F(CalendarTest, EscClosesWithoutAccepting)
{
    Field->SetText(u"2020-01-01"_s);
    Field->DropDown(EncodeDate(2024, 5, 15));
    SendKey(FieldWidget(), Qt::Key_Left);
    SendKey(FieldWidget(), Qt::Key_Escape);
    EXPECT_EQ(Field->Closes, std::vector<bool>{false});
    EXPECT_EQ(Field->Text(), u"2020-01-01"_s);
}

TEST_F(CalendarTest, AClickOnADayAcceptsIt)
{
    Field->DropDown(EncodeDate(2024, 5, 15));
    ClickDay(9);
    EXPECT_EQ(Field->Closes, std::vector<bool>{true});
    EXPECT_EQ(Field->Text(), u"2024-05-09"_s);
    EXPECT_EQ(QApplication::focusWidget(), FieldWidget());
}

TEST_F(CalendarTest, AClickOnTheTitleButtonsTurnsTheMonthWithoutClosing)
{
    Field->DropDown(EncodeDate(2024, 5, 15));
    auto* next = CalendarWidget()->findChild<QToolButton*>(u"qt_calendar_nextmonth"_s);
    ASSERT_NE(next, nullptr);
    next->click();
    EXPECT_EQ(CalendarWidget()->monthShown(), 6);
    EXPECT_TRUE(Field->Closes.empty());
    EXPECT_TRUE(Calendar()->Visible());
    // The month's own title button opens no menu that would take the keyboard.
    auto* month = CalendarWidget()->findChild<QToolButton*>(u"qt_calendar_monthbutton"_s);
    ASSERT_NE(month, nullptr);
    EXPECT_TRUE(month->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(CalendarTest, FocusMovingElsewhereClosesWithoutAccepting)
{
    Field->DropDown(EncodeDate(2024, 5, 15));
    Other->SetFocus();
    ProcessUntil([&] { return !Field->Closes.empty(); });
    EXPECT_EQ(Field->Closes, std::vector<bool>{false});
    EXPECT_FALSE(Calendar()->Visible());
    EXPECT_TRUE(Field->Text().isEmpty());
}

TEST_F(CalendarTest, APressOutsideClosesWithoutAccepting)
{
    Field->DropDown(EncodeDate(2024, 5, 15));
    ClickAt(FieldWidget(), QPoint(5, 5));
    EXPECT_TRUE(Field->Closes.empty());
    ClickAt(Other->Handle(), QPoint(5, 5));
    EXPECT_EQ(Field->Closes, std::vector<bool>{false});
}

TEST_F(CalendarTest, WheelStepsADay)
{
    Field->DropDown(EncodeDate(2024, 5, 31));
    Wheel(CalendarWidget(), -WHEEL_DELTA);
    EXPECT_EQ(Calendar()->Date(), EncodeDate(2024, 6, 1));
    // Turned over the day table, the wheel still steps days, not months.
    Wheel(CalendarWidget()->findChild<QTableView*>()->viewport(), WHEEL_DELTA);
    Wheel(CalendarWidget()->findChild<QTableView*>()->viewport(), WHEEL_DELTA);
    EXPECT_EQ(Calendar()->Date(), EncodeDate(2024, 5, 30));
    EXPECT_TRUE(Field->Closes.empty());
}

TEST_F(CalendarTest, DatesOutsideTheRangeAreClampedIntoIt)
{
    Calendar()->SetDate(EncodeDate(1500, 3, 1));
    EXPECT_EQ(Calendar()->Date(), TMonthCalendar::MinDate());
    Calendar()->SetDate(EncodeDate(2024, 5, 15) + 0.75);
    EXPECT_EQ(Calendar()->Date(), EncodeDate(2024, 5, 15));
    Calendar()->SetDate(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(Calendar()->Date(), EncodeDate(2024, 5, 15));
    Field->DropDown(EncodeDate(1500, 3, 1));
    EXPECT_EQ(CalendarWidget()->selectedDate(), QDate(1601, 1, 1));
}

TEST_F(CalendarTest, BorderIsTwoRaisedEdges)
{
    Field->DropDown(EncodeDate(2024, 5, 15));
    const QImage image = CalendarWidget()->grab().toImage();
    const int w = image.width();
    const int h = image.height();
    const auto rgb = [](TColor C) { return ToQColor(ColorToRGB(C)).rgb(); };
    EXPECT_EQ(image.pixel(w - 1, h - 1), rgb(cl3DDkShadow));
    EXPECT_EQ(image.pixel(w - 2, h - 2), rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(1, h / 2), rgb(clBtnHighlight));
}

TEST_F(CalendarTest, ASizeOfZeroNeverCutsTheMonthOrCrashes)
{
    Field->DropDown(EncodeDate(2024, 5, 15));
    Calendar()->SetBounds(Calendar()->Left(), Calendar()->Top(), 0, 0);
    const QImage image = CalendarWidget()->grab().toImage();
    EXPECT_EQ(image.width(), Calendar()->MinReqRect().Width() + 4);
    EXPECT_EQ(image.height(), Calendar()->MinReqRect().Height() + 4);
    EXPECT_EQ(Calendar()->Width(), image.width());
    SendKey(FieldWidget(), Qt::Key_Right);
    EXPECT_EQ(Calendar()->Date(), EncodeDate(2024, 5, 16));
}

TEST(CalendarWithoutOwnerTest, CloseRequestsDoNothing)
{
    TPopupMonthCalendarEh calendar(nullptr);
    calendar.SetDate(EncodeDate(2024, 5, 15));
    calendar.Show();
    calendar.Perform(WM_KEYDOWN, VK_RETURN);
    calendar.Perform(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(calendar.Visible());
    EXPECT_EQ(calendar.Date(), EncodeDate(2024, 5, 15));
}

}  // namespace
