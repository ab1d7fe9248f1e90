#pragma once
// TDateTimePicker: a date (or time) edit on Qt's QDateTimeEdit, typed part by part, with a month
// calendar that drops down below it in a window that never takes the focus: the edit keeps it
// and steers the calendar with its keys. OnChange reports the user's changes only.
#include "platform/core/DateTime.h"
#include "platform/ui/Controls.h"

#include <memory>

class QDateTimeEdit;
class TCalendarDropDown;

enum class TDateTimeKind { dtkDate, dtkTime };

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    ~TDateTimePicker() override;

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind Value);
    // The display picture in the platform's picker language ("yyyy-MM-dd", "HH:mm", "tt" for
    // AM/PM); empty: the locale's short date or long time.
    const String& Format() const { return FFormat; }
    void SetFormat(const String& Value);
    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime Value);
    // The date part; setting it keeps the time part as it was, and the other way round.
    TDateTime Date() const { return DateOf(FDateTime); }
    void SetDate(TDateTime Value) { SetDateTime(DateOf(Value) + TimeOf(FDateTime)); }
    TDateTime Time() const { return TimeOf(FDateTime); }
    void SetTime(TDateTime Value) { SetDateTime(DateOf(FDateTime) + TimeOf(Value)); }
    // The range the user can reach; 0 leaves that side open.
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime Value);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime Value);
    // The text shown now.
    String DisplayText();

    bool DroppedDown() const;
    // Opens the calendar below the edit; the date kind only.
    void DropDown();
    // Closes the calendar; Accept takes the day chosen in it.
    void CloseUp(bool Accept);

    TNotifyEvent OnChange;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDropDown;

protected:
    virtual void Change();
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TDateTimePicker"; }

private:
    friend class TCalendarDropDown;
    QDateTimeEdit* Edit();
    // Shows the value, format and range in the edit without reporting them as changes.
    void ShowValue();
    void UserEdited();
    // Moves the calendar's selection by Days, as the arrow keys do while it is open.
    void MoveCalendar(int Days);
    bool OverDropButton(LPARAM Pos) const;

    TDateTimeKind FKind = TDateTimeKind::dtkDate;
    String FFormat;
    TDateTime FDateTime;
    TDateTime FMinDate = 0;
    TDateTime FMaxDate = 0;
    bool FShowing = false;
    std::unique_ptr<TCalendarDropDown> FDropDown;
};
