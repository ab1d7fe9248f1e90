// TPopupMonthCalendarEh: the date edits' drop-down calendar.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/WindowHost.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLayout>

namespace {

// Posted to itself when the focus went elsewhere: it closes once the focus change is done.
constexpr unsigned WM_CALENDARFOCUSLOST = WM_USER + 101;

}  // namespace

// While the calendar shows: a press outside it and its owner, or the keyboard focus moving to
// a window that is neither the owner's nor the calendar's, closes it without accepting (the
// calendar never holds the focus itself, so its owner's loss stands for its own).
class TPopupMonthCalendarEh::TFocusWatch : public QObject {
public:
    explicit TFocusWatch(TPopupMonthCalendarEh& Calendar) : FCalendar(Calendar)
    {
        FPresses.OnOutside = [this] { CallGuarded(&FCalendar, [this] { FCalendar.CloseUp(false); }); };
    }

    void Start()
    {
        QWidget* owner = OwnerWindow();
        if (owner != nullptr)
            FPresses.Start({FCalendar.Handle(), owner});
        else
            FPresses.Start({FCalendar.Handle()});
        if (!FFocusChanges)
            FFocusChanges = QObject::connect(qApp, &QApplication::focusChanged, this,
                                             [this](QWidget*, QWidget* Now) { FocusMoved(Now); });
    }

    void Stop()
    {
        FPresses.Stop();
        QObject::disconnect(FFocusChanges);
        FFocusChanges = {};
    }

private:
    QWidget* OwnerWindow() const
    {
        auto* owner = dynamic_cast<TWinControl*>(FCalendar.Owner());
        return owner != nullptr && owner->HandleAllocated() ? owner->Handle() : nullptr;
    }

    void FocusMoved(QWidget* Now)
    {
        QWidget* calendar = FCalendar.Handle();
        QWidget* owner = OwnerWindow();
        const bool kept = Now != nullptr && (Now == calendar || calendar->isAncestorOf(Now) || Now == owner ||
                                             (owner != nullptr && owner->isAncestorOf(Now)));
        if (!kept)
            PostMessage(&FCalendar, WM_CALENDARFOCUSLOST);
    }

    TPopupMonthCalendarEh& FCalendar;
    TOutsidePressWatcher FPresses;
    QMetaObject::Connection FFocusChanges;
};

TPopupMonthCalendarEh::TPopupMonthCalendarEh(TComponent* AOwner)
    : TMonthCalendar(AOwner), FFocusWatch(std::make_unique<TFocusWatch>(*this))
{
    SetVisible(false);
    SetTabStop(false);
    SetCtl3D(true);
    SetAutoSize(true);
}

TPopupMonthCalendarEh::~TPopupMonthCalendarEh() { FFocusWatch->Stop(); }

void TPopupMonthCalendarEh::CreateParams(TCreateParams& Params)
{
    TMonthCalendar::CreateParams(Params);
    Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
    if (!Ctl3D())
        Params.Style |= WS_BORDER;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WindowClassStyle |= CS_SAVEBITS;
    Params.WndParent = nullptr;
}

void TPopupMonthCalendarEh::CreateWnd()
{
    TMonthCalendar::CreateWnd();
    // The border lies in the margins of the calendar's layout: the two raised edges with Ctl3D,
    // else the one-pixel frame of WS_BORDER. (The widget's own margins would go stale in the
    // size it reports, which Qt keeps from its first answer.)
    FBorderExtra = Ctl3D() ? 2 : 1;
    Calendar()->layout()->setContentsMargins(FBorderExtra, FBorderExtra, FBorderExtra, FBorderExtra);
    AdjustSize();
}

bool TPopupMonthCalendarEh::CanAutoSize(int& NewWidth, int& NewHeight)
{
    TMonthCalendar::CanAutoSize(NewWidth, NewHeight);
    NewWidth += 2 * FBorderExtra;
    NewHeight += 2 * FBorderExtra;
    return true;
}

void TPopupMonthCalendarEh::PaintBorder(TCanvas* Canvas, TRect Rect)
{
    DrawRaisedPopupBorder(Canvas, Rect);
}

void TPopupMonthCalendarEh::CloseUp(bool Accept)
{
    if (auto* owner = dynamic_cast<IPopupOwnerEh*>(Owner()))
        owner->CloseUp(Accept);
}

void TPopupMonthCalendarEh::Shown(bool Value)
{
    if (Value)
        FFocusWatch->Start();
    else
        FFocusWatch->Stop();
}

void TPopupMonthCalendarEh::KeyDown(WORD& Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_ESCAPE) {
        const bool accept = Key == VK_RETURN;
        Key = 0;
        CloseUp(accept);
        return;
    }
    TMonthCalendar::KeyDown(Key, Shift);
}

void TPopupMonthCalendarEh::DayClicked() { CloseUp(true); }

bool TPopupMonthCalendarEh::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (!TMonthCalendar::DoMouseWheelDown(Shift, MousePos))
        SetDate(Date() + 1);
    return true;
}

bool TPopupMonthCalendarEh::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (!TMonthCalendar::DoMouseWheelUp(Shift, MousePos))
        SetDate(Date() - 1);
    return true;
}

void TPopupMonthCalendarEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCPAINT:
        PaintPopupFrame(reinterpret_cast<HDC>(Message.WParam), this,
                        [this](TCanvas* Canvas, TRect Rect) { PaintBorder(Canvas, Rect); });
        return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS; return;
    case CM_WANTSPECIALKEY:
        if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) {
            Message.Result = 1;
            return;
        }
        TMonthCalendar::Dispatch(Message);
        return;
    case CM_SHOWINGCHANGED:
        TMonthCalendar::Dispatch(Message);
        Shown(Showing());
        return;
    case WM_CALENDARFOCUSLOST:
        if (Showing())
            CloseUp(false);
        return;
    default: TMonthCalendar::Dispatch(Message); return;
    }
}
