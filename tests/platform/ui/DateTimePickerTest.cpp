// Date pickers: typed date parts and days chosen in the dropped calendar change the date and
// fire OnChange; dates set in code do not; the calendar never takes the focus from the edit.
#include "platform/ui/DateTimePicker.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Forms.h"
#include "UiTestSupport.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QTableView>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DateTimePickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Picker = new TDateTimePicker(Form);
        Picker->SetBounds(10, 10, 150, 21);
        Picker->SetParent(Form);
        Picker->SetFormat(QStringLiteral("yyyy-MM-dd"));
        Picker->SetDateTime(EncodeDateTime(2008, 6, 6, 9, 30, 0, 0));
        Picker->OnChange = [this](TObject*) { Events.push_back("change " + Shown()); };
        Picker->OnCloseUp = [this](TObject*) { Events.push_back("closeup"); };
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Picker->SetFocus();
    }
    void TearDown() override { delete Form; }

    std::string Shown() const { return FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn"), Picker->DateTime()).toStdString(); }
    QCalendarWidget* Calendar() const
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* calendar = qobject_cast<QCalendarWidget*>(window); calendar != nullptr && calendar->isVisible())
                return calendar;
        return nullptr;
    }
    // Where the user's click on the day part of the text puts the caret: that part selected.
    void SelectDayPart() { static_cast<QDateTimeEdit*>(Picker->Handle())->setSelectedSection(QDateTimeEdit::DaySection); }
    void ClickDay(int Day)
    {
        QApplication::processEvents();
        ASSERT_NE(Calendar(), nullptr) << "the calendar is still dropped";
        auto* view = Calendar()->findChild<QTableView*>();
        QAbstractItemModel* model = view->model();
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                if (index.data().toString() == QString::number(Day)) {
                    ClickAt(view->viewport(), view->visualRect(index).center());
                    return;
                }
            }
        FAIL() << "no cell for day " << Day;
    }

    TForm* Form = nullptr;
    TDateTimePicker* Picker = nullptr;
    std::vector<std::string> Events;
};

TEST_F(DateTimePickerTest, ShowsTheDateInItsFormatAndCodeChangesAreSilent)
{
    EXPECT_EQ(Picker->DisplayText(), FormatDateTime(QStringLiteral("yyyy-mm-dd"), Picker->DateTime()));
    Picker->SetDate(EncodeDate(2009, 1, 2));
    EXPECT_EQ(Picker->DisplayText(), QStringLiteral("2009-01-02"));
    EXPECT_EQ(Shown(), "2009-01-02 09:30") << "the time part stays";
    EXPECT_TRUE(Events.empty());
}

TEST_F(DateTimePickerTest, TypedDayChangesTheDateKeepingTheTime)
{
    SelectDayPart();
    TypeText(Picker->Handle(), QStringLiteral("15"));
    EXPECT_EQ(Picker->DisplayText(), QStringLiteral("2008-06-15"));
    ASSERT_FALSE(Events.empty());
    EXPECT_EQ(Events.back(), "change 2008-06-15 09:30");
}

TEST_F(DateTimePickerTest, ChoosingADayInTheDroppedCalendar)
{
    SendKey(Picker->Handle(), Qt::Key_Down, QString(), Qt::AltModifier);
    ASSERT_TRUE(Picker->DroppedDown());
    ASSERT_NE(Calendar(), nullptr);
    EXPECT_EQ(Calendar()->selectedDate(), QDate(2008, 6, 6));
    EXPECT_TRUE(Picker->Focused());
    EXPECT_EQ(QApplication::activeWindow(), Form->Handle());
    ClickDay(20);
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Events, (std::vector<std::string>{"change 2008-06-20 09:30", "closeup"}));
    EXPECT_EQ(Picker->DisplayText(), QStringLiteral("2008-06-20"));
}

TEST_F(DateTimePickerTest, KeysSteerTheOpenCalendarAndEscapeKeepsTheDate)
{
    ClickAt(Picker->Handle(), QPoint(Picker->Width() - 3, 10));
    ASSERT_TRUE(Picker->DroppedDown());
    SendKey(Picker->Handle(), Qt::Key_Right);
    SendKey(Picker->Handle(), Qt::Key_Down);
    EXPECT_EQ(Calendar()->selectedDate(), QDate(2008, 6, 14));
    SendKey(Picker->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Events, (std::vector<std::string>{"closeup"}));

    SendKey(Picker->Handle(), Qt::Key_F4);
    SendKey(Picker->Handle(), Qt::Key_Left);
    SendKey(Picker->Handle(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Events, (std::vector<std::string>{"closeup", "change 2008-06-05 09:30", "closeup"}));
}

TEST_F(DateTimePickerTest, APressOutsideClosesTheCalendarWithoutTakingADay)
{
    Picker->DropDown();
    ASSERT_NE(Calendar(), nullptr);
    // The form's own surface takes no focus, so only the press itself can close the calendar.
    ClickAt(Form->Handle(), QPoint(250, 150));
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Events, (std::vector<std::string>{"closeup"}));
    EXPECT_TRUE(Picker->Focused());
}

TEST_F(DateTimePickerTest, TheRangeLimitsTheUser)
{
    Picker->SetMinDate(EncodeDate(2008, 6, 1));
    Picker->SetMaxDate(EncodeDate(2008, 6, 10));
    SelectDayPart();
    TypeText(Picker->Handle(), QStringLiteral("25"));
    EXPECT_LE(Picker->Date(), EncodeDate(2008, 6, 10));
}

TEST(DateTimePickerKindTest, TimeKindShowsTheLongTimeAndKeepsTheDate)
{
    TForm form(nullptr);
    auto* picker = new TDateTimePicker(&form);
    picker->SetParent(&form);
    picker->SetKind(TDateTimeKind::dtkTime);
    picker->SetDateTime(EncodeDateTime(2008, 6, 6, 14, 5, 9, 0));
    EXPECT_EQ(picker->DisplayText(), QStringLiteral("14:05:09"));
    picker->SetTime(EncodeTime(8, 0, 0, 0));
    EXPECT_EQ(picker->Date(), EncodeDate(2008, 6, 6));
    picker->DropDown();
    EXPECT_FALSE(picker->DroppedDown());
}

}  // namespace
