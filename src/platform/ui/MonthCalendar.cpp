// TMonthCalendar: QCalendarWidget in a window of this layer. Its inner widgets send their wheel
// turns to the calendar's window, so the control sees them as its own WM_MOUSEWHEEL.
#include "platform/ui/MonthCalendar.h"

#include "platform/ui/WindowHost.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The calendar widget: after Qt paints it, the control paints its non-client border over the
// contents margins (WM_NCPAINT with the painter).
class TCalendarWidget : public QCalendarWidget {
public:
    explicit TCalendarWidget(TMonthCalendar& Control) : FControl(Control) {}

protected:
    void paintEvent(QPaintEvent* Event) override
    {
        QCalendarWidget::paintEvent(Event);
        QPainter painter(this);
        FControl.Perform(WM_NCPAINT, reinterpret_cast<WPARAM>(&painter));
    }

private:
    TMonthCalendar& FControl;
};

// Hands the wheel turns of the calendar's parts to the calendar window itself.
class TWheelToWindow : public QObject {
public:
    explicit TWheelToWindow(QWidget* Window) : QObject(Window), FWindow(Window) {}

protected:
    bool eventFilter(QObject*, QEvent* Event) override
    {
        if (Event->type() != QEvent::Wheel)
            return false;
        QCoreApplication::sendEvent(FWindow, Event);
        return true;
    }

private:
    QWidget* FWindow;
};

}  // namespace

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TWinControl(AOwner), FDate(::Date())
{
    SetTabStop(true);
    SetBounds(0, 0, 191, 154);
}

TMonthCalendar::~TMonthCalendar() = default;

TDateTime TMonthCalendar::MinDate() { return EncodeDate(1601, 1, 1); }

TDateTime TMonthCalendar::MaxDate() { return EncodeDate(9999, 12, 31); }

QCalendarWidget* TMonthCalendar::Calendar() { return static_cast<QCalendarWidget*>(Handle()); }

void TMonthCalendar::SetDate(TDateTime Value)
{
    // NaN and infinities name no day: they leave the date alone.
    if (!std::isfinite(Value))
        return;
    FDate = DateOf(std::clamp(Value, MinDate(), MaxDate()));
    ShowDate();
}

void TMonthCalendar::ShowDate()
{
    if (HandleAllocated())
        Calendar()->setSelectedDate(DateToQt(FDate));
}

void TMonthCalendar::UserSelected()
{
    const TDateTime selected = DateFromQt(Calendar()->selectedDate());
    if (selected == FDate)
        return;
    FDate = selected;
    if (OnClick)
        OnClick(this);
}

QWidget* TMonthCalendar::CreateWindowHandle(const TCreateParams& Params)
{
    auto* calendar = new TCalendarWidget(*this);
    if (Params.Style & WS_POPUP) {
        // A popup never takes the focus or activation from the window that shows it.
        Qt::WindowFlags flags = Qt::ToolTip | Qt::FramelessWindowHint;
        if (Params.ExStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
        calendar->setWindowFlags(flags);
        calendar->setAttribute(Qt::WA_ShowWithoutActivating);
        calendar->setAttribute(Qt::WA_X11DoNotAcceptFocus);
        calendar->setFocusPolicy(Qt::NoFocus);
    } else if (Params.WndParent != nullptr) {
        calendar->setParent(Params.WndParent->Handle());
    }
    // Month and day names in the program's own locale, as its dates are formatted.
    calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setDateRange(DateToQt(MinDate()), DateToQt(MaxDate()));
    auto* wheel = new TWheelToWindow(calendar);
    for (QWidget* part : calendar->findChildren<QWidget*>()) {
        part->installEventFilter(wheel);
        if (Params.Style & WS_POPUP)
            part->setFocusPolicy(Qt::NoFocus);
    }
    if (Params.Style & WS_POPUP) {
        // The month menu would take the keyboard and the year editor needs the focus, neither
        // of which a popup may have: their title buttons only show the month and the year.
        for (const char* name : {"qt_calendar_monthbutton", "qt_calendar_yearbutton"})
            if (QWidget* button = calendar->findChild<QWidget*>(QLatin1String(name)))
                button->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QObject::connect(calendar, &QCalendarWidget::selectionChanged, calendar,
                     [this] { CallGuarded(this, [this] { UserSelected(); }); });
    QObject::connect(calendar, &QCalendarWidget::clicked, calendar,
                     [this] { CallGuarded(this, [this] { DayClicked(); }); });
    return calendar;
}

void TMonthCalendar::CreateWnd()
{
    TWinControl::CreateWnd();
    {
        const QSignalBlocker quiet(Calendar());
        ShowDate();
    }
    AdjustSize();
}

TRect TMonthCalendar::MinReqRect()
{
    QCalendarWidget* calendar = Calendar();
    calendar->ensurePolished();
    const QSize size = calendar->minimumSizeHint();
    return Rect(0, 0, size.width(), size.height());
}

void TMonthCalendar::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    AdjustSize();
}

bool TMonthCalendar::CanAutoSize(int& NewWidth, int& NewHeight)
{
    const TRect request = MinReqRect();
    NewWidth = request.Width();
    NewHeight = request.Height();
    return true;
}

void TMonthCalendar::AdjustSize()
{
    SetBounds(Left(), Top(), Width(), Height());
}

void TMonthCalendar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    // With AutoSize the calendar keeps the size that shows its month, whatever is asked.
    if (FAutoSize && HandleAllocated()) {
        int width = AWidth;
        int height = AHeight;
        if (CanAutoSize(width, height)) {
            AWidth = width;
            AHeight = height;
        }
    }
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TMonthCalendar::DayClicked() {}

void TMonthCalendar::KeyDown(WORD& Key, TShiftState Shift)
{
    TWinControl::KeyDown(Key, Shift);
    const QDate day = DateToQt(FDate);
    QDate moved;
    switch (Key) {
    case VK_LEFT: moved = day.addDays(-1); break;
    case VK_RIGHT: moved = day.addDays(1); break;
    case VK_UP: moved = day.addDays(-7); break;
    case VK_DOWN: moved = day.addDays(7); break;
    case VK_PRIOR: moved = day.addMonths(-1); break;
    case VK_NEXT: moved = day.addMonths(1); break;
    case VK_HOME: moved = QDate(day.year(), day.month(), 1); break;
    case VK_END: moved = QDate(day.year(), day.month(), day.daysInMonth()); break;
    default: return;
    }
    Key = 0;
    const TDateTime before = FDate;
    SetDate(DateFromQt(moved));
    if (FDate != before && OnClick)
        OnClick(this);
}
