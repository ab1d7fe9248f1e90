// TDateTimePicker: QDateTimeEdit shows and takes typed parts; the calendar is a QCalendarWidget
// in a popup window of our own, so Qt's focus-taking popup never opens.
#include "platform/ui/DateTimePicker.h"

#include "platform/core/FormatSettings.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/WindowHost.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>

// The drop-down: a month calendar in a window that shows without taking the focus.
class TCalendarDropDown : public TWinControl {
public:
    explicit TCalendarDropDown(TDateTimePicker& Picker) : TWinControl(nullptr), FPicker(Picker)
    {
        SetVisible(false);
        FWatcher.OnOutside = [this] { CallGuarded(&FPicker, [this] { FPicker.CloseUp(false); }); };
    }

    QCalendarWidget* Calendar() { return static_cast<QCalendarWidget*>(Handle()); }

    void Open()
    {
        Show();
        FWatcher.Start({Handle(), FPicker.Handle()});
    }

    void Close()
    {
        FWatcher.Stop();
        Hide();
    }

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TWinControl::CreateParams(Params);
        Params.Style = WS_POPUP;
        Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    }

    QWidget* CreateWindowHandle(const TCreateParams&) override
    {
        // The window kind of every popup of this layer: it leaves focus and activation alone.
        auto* calendar = new QCalendarWidget(nullptr);
        calendar->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        calendar->setAttribute(Qt::WA_ShowWithoutActivating);
        calendar->setAttribute(Qt::WA_X11DoNotAcceptFocus);
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        calendar->setFocusPolicy(Qt::NoFocus);
        for (QWidget* child : calendar->findChildren<QWidget*>())
            child->setFocusPolicy(Qt::NoFocus);
        QObject::connect(calendar, &QCalendarWidget::clicked, calendar,
                         [this] { CallGuarded(&FPicker, [this] { FPicker.CloseUp(true); }); });
        return calendar;
    }

    const char* ClassName() const override { return "TCalendarDropDown"; }

private:
    TDateTimePicker& FPicker;
    TOutsidePressWatcher FWatcher;
};

namespace {

// The picker's picture language as Qt reads it; the default pictures come from the locale's
// formats, whose "m"/"n" and "h" mean other things there.
QString QtDisplayFormat(TDateTimeKind Kind, const String& Format)
{
    if (!Format.isEmpty())
        return QString(Format).replace(QStringLiteral("tt"), QStringLiteral("AP"));
    if (Kind == TDateTimeKind::dtkDate)
        return QString(FormatSettings().ShortDateFormat).replace(u'm', u'M');
    return QString(FormatSettings().LongTimeFormat).replace(u'n', u'm').replace(u'h', u'H');
}

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner), FDateTime(Now())
{
    SetTabStop(true);
    SetBounds(0, 0, 186, 21);
}

TDateTimePicker::~TDateTimePicker() = default;

QDateTimeEdit* TDateTimePicker::Edit() { return static_cast<QDateTimeEdit*>(Handle()); }

QWidget* TDateTimePicker::CreateWindowHandle(const TCreateParams& Params)
{
    auto* edit = new QDateTimeEdit(Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr);
    // The drop arrow shows; pressing it opens our calendar, never Qt's.
    edit->setCalendarPopup(FKind == TDateTimeKind::dtkDate);
    QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, edit, [this] { CallGuarded(this, [this] { UserEdited(); }); });
    return edit;
}

void TDateTimePicker::ShowValue()
{
    if (!HandleAllocated())
        return;
    QDateTimeEdit* edit = Edit();
    FShowing = true;
    edit->setCalendarPopup(FKind == TDateTimeKind::dtkDate);
    edit->setDisplayFormat(QtDisplayFormat(FKind, FFormat));
    edit->setMinimumDateTime(FMinDate != 0 ? DateTimeToQt(FMinDate) : QDateTime(QDate(100, 1, 1), QTime(0, 0)));
    edit->setMaximumDateTime(FMaxDate != 0 ? DateTimeToQt(FMaxDate) : QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)));
    edit->setDateTime(DateTimeToQt(FDateTime));
    FShowing = false;
}

void TDateTimePicker::UserEdited()
{
    if (FShowing)
        return;
    const TDateTime edited = DateTimeFromQt(Edit()->dateTime());
    const TDateTime value =
        FKind == TDateTimeKind::dtkDate ? DateOf(edited) + TimeOf(FDateTime) : DateOf(FDateTime) + TimeOf(edited);
    if (value == FDateTime)
        return;
    FDateTime = value;
    Change();
}

void TDateTimePicker::SetKind(TDateTimeKind Value)
{
    if (Value == FKind)
        return;
    FKind = Value;
    ShowValue();
}

void TDateTimePicker::SetFormat(const String& Value)
{
    if (Value == FFormat)
        return;
    FFormat = Value;
    ShowValue();
}

void TDateTimePicker::SetDateTime(TDateTime Value)
{
    if (Value == FDateTime)
        return;
    FDateTime = Value;
    ShowValue();
}

void TDateTimePicker::SetMinDate(TDateTime Value)
{
    FMinDate = Value;
    ShowValue();
}

void TDateTimePicker::SetMaxDate(TDateTime Value)
{
    FMaxDate = Value;
    ShowValue();
}

String TDateTimePicker::DisplayText() { return Edit()->text(); }

void TDateTimePicker::CreateWnd()
{
    TWinControl::CreateWnd();
    ShowValue();
}

void TDateTimePicker::Change()
{
    if (OnChange)
        OnChange(this);
}

bool TDateTimePicker::DroppedDown() const { return FDropDown && FDropDown->Visible(); }

void TDateTimePicker::DropDown()
{
    if (FKind != TDateTimeKind::dtkDate || DroppedDown())
        return;
    if (OnDropDown)
        OnDropDown(this);
    if (!FDropDown)
        FDropDown = std::make_unique<TCalendarDropDown>(*this);
    QCalendarWidget* calendar = FDropDown->Calendar();
    calendar->setDateRange(Edit()->minimumDate(), Edit()->maximumDate());
    calendar->setSelectedDate(DateToQt(FDateTime));
    calendar->ensurePolished();
    const QSize size = calendar->sizeHint();
    const TPoint below = ClientToScreen(Point(0, Height()));
    FDropDown->SetBounds(below.X, below.Y, size.width(), size.height());
    FDropDown->Open();
}

void TDateTimePicker::CloseUp(bool Accept)
{
    if (!DroppedDown())
        return;
    FDropDown->Close();
    const TDateTime chosen = DateFromQt(FDropDown->Calendar()->selectedDate()) + TimeOf(FDateTime);
    if (Accept && chosen != FDateTime) {
        SetDateTime(chosen);
        Change();
    }
    if (OnCloseUp)
        OnCloseUp(this);
}

void TDateTimePicker::MoveCalendar(int Days)
{
    QCalendarWidget* calendar = FDropDown->Calendar();
    calendar->setSelectedDate(calendar->selectedDate().addDays(Days));
}

void TDateTimePicker::KeyDown(WORD& Key, TShiftState Shift)
{
    TWinControl::KeyDown(Key, Shift);
    if ((Key == VK_DOWN && Shift.Contains(ssAlt)) || (Key == VK_F4 && Shift.Empty())) {
        if (DroppedDown())
            CloseUp(true);
        else
            DropDown();
        Key = 0;
        return;
    }
    if (!DroppedDown())
        return;
    switch (Key) {
    case VK_RETURN: CloseUp(true); break;
    case VK_ESCAPE: CloseUp(false); break;
    case VK_LEFT: MoveCalendar(-1); break;
    case VK_RIGHT: MoveCalendar(1); break;
    case VK_UP: MoveCalendar(-7); break;
    case VK_DOWN: MoveCalendar(7); break;
    default: return;
    }
    Key = 0;
}

bool TDateTimePicker::OverDropButton(LPARAM Pos) const
{
    return FKind == TDateTimeKind::dtkDate && GET_X_LPARAM(Pos) >= ClientWidth() - PlatformMetrics().VScrollWidth();
}

void TDateTimePicker::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (OverDropButton(Message.LParam)) {
            if (CanFocus() && !Focused())
                SetFocus();
            if (DroppedDown())
                CloseUp(false);
            else
                DropDown();
            return;
        }
        if (CanFocus() && !Focused())
            SetFocus();
        break;
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | (DroppedDown() ? DLGC_WANTALLKEYS : 0u);
        return;
    case WM_KILLFOCUS: CloseUp(false); break;
    default: break;
    }
    TWinControl::Dispatch(Message);
}
