#pragma once
// TMonthCalendar: the platform's month calendar on Qt's QCalendarWidget. The user picks a day
// with the mouse or moves the selection with the arrow, page and Home/End keys; the selected
// day is Date. Dates outside the calendar's range are clamped into it, so what it shows is
// always what Date answers.
#include "platform/core/DateTime.h"
#include "platform/ui/Controls.h"

class QCalendarWidget;

class TMonthCalendar : public TWinControl {
public:
    explicit TMonthCalendar(TComponent* AOwner);
    ~TMonthCalendar() override;

    // The selected day (time part 0), within MinDate..MaxDate.
    TDateTime Date() const { return FDate; }
    void SetDate(TDateTime Value);
    // The range the calendar shows: 1601-01-01 to 9999-12-31, as on the platform.
    static TDateTime MinDate();
    static TDateTime MaxDate();
    // With AutoSize the window always has the calendar's minimum size (CanAutoSize may change it).
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // MCM_GETMINREQRECT: the smallest rectangle that shows one whole month.
    TRect MinReqRect();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // The user changed the selected day.
    TNotifyEvent OnClick;

protected:
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    // The user clicked a day cell (the platform's MCHT_CALENDARDATE hit).
    virtual void DayClicked();
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    void AdjustSize();
    QCalendarWidget* Calendar();
    const char* ClassName() const override { return "TMonthCalendar"; }

private:
    void ShowDate();
    void UserSelected();

    TDateTime FDate;
    bool FAutoSize = false;
};
