#pragma once
// The date-time edit TCustomDBDateTimeEditEh (published as TDBDateTimeEditEh): a data-aware edit
// that lays a date, a time or both out part by part through an edit mask built from its edit
// format, steps the part at the caret and drops down a month calendar.
#include "editors/DBCtrlsEhComboBox.h"

#include <array>

enum class TDateTimeKindEh { dtkDateEh, dtkTimeEh, dtkDateTimeEh, dtkCustomEh };

// The parts of a date-time in layout order.
enum TDateTimePartEh { dtpYear, dtpMonth, dtpDay, dtpHour, dtpMinute, dtpSecond, dtpCount };

// Where a part stands in the edit text: Start is 1-based; -1 and not Defined when the format
// lacks the part.
struct TDateTimePartPlaceEh {
    int Start = -1;
    int Length = -1;
    bool Defined = false;
};
using TDateTimeLayoutEh = std::array<TDateTimePartPlaceEh, dtpCount>;
// The numbers read from the parts; -1 for a part left blank or not numeric.
using TDateTimePartsEh = std::array<int, dtpCount>;

// What an edit format gives: the place of each part, the edit mask and the display format.
struct TDateTimeEditFormatEh {
    TDateTimeLayoutEh Layout;
    String EditMask;
    String DisplayFormat;
};

// Raises EConvertError with the edit format's message for a run too long, of a wrong length or
// naming a part twice.
TDateTimeEditFormatEh ParseDateTimeEditFormat(const String& EditFormat);
// A two-digit year (0-99) in the sixty-year window that ends 40 years after CurrentYear.
int ExpandTwoDigitYear(int Year, int CurrentYear);
// Composes Parts onto Value (Null starts at 1900-01-01); false and Null when they form no valid
// date-time. FillMissing fills blank date parts from today and clamps the others into range.
bool ComposeDateTimeValue(TDateTimePartsEh Parts, const TDateTimeLayoutEh& Layout, Variant& Value, bool FillMissing);

class TCustomDBDateTimeEditEh : public TCustomDBEditEh {
public:
    explicit TCustomDBDateTimeEditEh(TComponent* AOwner);
    ~TCustomDBDateTimeEditEh() override;

    TDateTimeKindEh Kind() const { return FKind; }
    void SetKind(TDateTimeKindEh Value);
    // Set, it makes the kind dtkCustomEh; the other kinds derive it from the locale.
    const String& EditFormat() const { return FEditFormat; }
    void SetEditFormat(const String& Value);
    const String& DisplayFormat() const { return FFormat.DisplayFormat; }
    const TDateTimeLayoutEh& Layout() const { return FFormat.Layout; }
    bool FourDigitYear() const { return FFourDigitYear; }

    // The calendar once it was first dropped down; nullptr before.
    TPopupMonthCalendarEh* Calendar() const { return FCalendar; }
    bool CalendarOpen() const { return FCalendarOpen; }

    void ValidateEdit() override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnDropDown;
    TCloseUpEventEh OnCloseUp;

    // The virtual operations the date-time edit adds, in the order of their slots.
    virtual void RefreshFourDigitYear();
    virtual void RebuildEditFormat();

    std::unique_ptr<TEditButtonEh> MakeEditButton() override;
    Variant FetchValue() override { return FValue; }
    void PutText(const String& Text) override;
    void PutValue(const Variant& Value) override;
    void FieldDataChanged() override;
    void WriteTextToField() override;
    String PaintCopyText() override;
    void AcceptMRUItem(const String& Text, bool& Accept) override;
    void PrimaryButtonDown(bool LowerHalf) override;
    void OpenDropDown() override;
    void CloseDropDown(bool Accept) override;
    void SetFocusedState(bool Value) override;

    // Steps the part under the caret up or down, wrapping at its ends, and selects it.
    void StepPartAtCaret(bool Up);

protected:
    void Change() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    const char* ClassName() const override { return "TCustomDBDateTimeEditEh"; }

private:
    bool Masked() const { return IsMasked(); }
    TDateTimePartsEh ReadParts() const;
    String FormatValue(TDateTime Value) const;
    // Sets the window text under the re-entrance guard.
    void ShowGuarded(const String& Text);
    // The kept value follows the text as typed.
    void TakeTypedText();
    // Moves the caret behind the next separator and selects the part there.
    void JumpToNextPart(Char Separator);
    bool RouteToCalendar(TMessage& Message);

    TDateTimeKindEh FKind = TDateTimeKindEh::dtkDateEh;
    String FEditFormat;
    TDateTimeEditFormatEh FFormat;
    bool FFourDigitYear = false;
    Variant FValue = Variant::Null();
    bool FPuttingText = false;
    bool FValidating = false;
    TPopupMonthCalendarEh* FCalendar = nullptr;  // owned as a component
    bool FCalendarOpen = false;
};

// The date-time edit as forms place it.
class TDBDateTimeEditEh : public TCustomDBDateTimeEditEh {
public:
    using TCustomDBDateTimeEditEh::TCustomDBDateTimeEditEh;
    using TCustomDBEditEh::AutoSelect;
    using TCustomDBEditEh::OnChange;
    using TCustomDBEditEh::SetAutoSelect;

protected:
    const char* ClassName() const override { return "TDBDateTimeEditEh"; }
};
