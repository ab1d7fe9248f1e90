// TPopupMonthCalendarEh: the date edits' drop-down calendar.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/PopupWatch.h"
#include "platform/ui/WindowCalls.h"

namespace {

// Posted to itself when the focus went elsewhere: it closes once the focus change is done.
constexpr unsigned WM_CALENDARFOCUSLOST = WM_USER + 101;

}  // namespace

TPopupMonthCalendarEh::TPopupMonthCalendarEh(TComponent* AOwner)
    : TMonthCalendar(AOwner), FCloseWatch(std::make_unique<TPopupCloseWatch>(*this))
{
    FCloseWatch->OnOutsidePress = [this] { CloseUp(false); };
    FCloseWatch->OnFocusOutside = [this] { PostMessage(this, WM_CALENDARFOCUSLOST); };
    SetVisible(false);
    SetTabStop(false);
    SetCtl3D(true);
    SetAutoSize(true);
}

TPopupMonthCalendarEh::~TPopupMonthCalendarEh() { FCloseWatch->Stop(); }

void TPopupMonthCalendarEh::CreateParams(TCreateParams& Params)
{
    TMonthCalendar::CreateParams(Params);
    MakeDropDownWindowParams(Params, Ctl3D());
}

void TPopupMonthCalendarEh::CreateWnd()
{
    TMonthCalendar::CreateWnd();
    // The border lies in the margins around the calendar: the two raised edges with Ctl3D, else
    // the one-pixel frame of WS_BORDER.
    FBorderExtra = Ctl3D() ? 2 : 1;
    SetContentMargins(Handle(), FBorderExtra);
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
        FCloseWatch->Start(dynamic_cast<TWinControl*>(Owner()));
    else
        FCloseWatch->Stop();
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
