#pragma once
// The number edit TCustomDBNumberEditEh (published as TDBNumberEditEh): a data-aware edit that
// keeps a number, shows it formatted when unfocused and with thousand separators while typed,
// keeps it within its limits and decimal places, steps it and drops down a calculator.
#include "editors/CalculatorEh.h"
#include "editors/DBCtrlsEhComboBox.h"

class TCustomDBNumberEditEh : public TCustomDBEditEh {
public:
    explicit TCustomDBNumberEditEh(TComponent* AOwner);
    ~TCustomDBNumberEditEh() override;

    unsigned DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(unsigned Value);
    long double Increment() const { return FIncrement; }
    void SetIncrement(long double Value) { FIncrement = Value; }
    // Unassigned, the limits, display format and currency flag come from the field.
    long double MinValue() const;
    void SetMinValue(long double Value);
    long double MaxValue() const;
    void SetMaxValue(long double Value);
    String DisplayFormat() const;
    void SetDisplayFormat(const String& Value);
    bool currency() const;
    void SetCurrency(bool Value);
    // The pattern typed text is laid out by: only its digits, separators and point.
    const String& EditFormat() const { return FEditFormat; }

    // The calculator once it was first dropped down; nullptr before.
    TPopupCalculatorEh* Calculator() const { return FCalculator; }
    bool CalculatorOpen() const { return FCalculatorOpen; }

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    // Not published: the filter dialogs follow the calculator.
    TNotifyEvent OnDropDown;
    TCloseUpEventEh OnCloseUp;

    // The virtual operations the number edit adds, in the order of their slots.
    virtual String DisplayTextForValue();
    virtual TPopupCalculatorEh* ObtainCalculator();

    std::unique_ptr<TEditButtonEh> MakeEditButton() override;
    TAlignment InitialAlignment() const override;
    Variant FetchValue() override { return FValue; }
    bool AcceptsChar(Char Key) override;
    void FieldDataChanged() override;
    void PutText(const String& Text) override;
    void PutValue(const Variant& Value) override;
    void WriteTextToField() override;
    void PrimaryButtonDown(bool LowerHalf) override;
    void OpenDropDown() override;
    void CloseDropDown(bool Accept) override;

    // Clamped to the limits and rounded half to even to DecimalPlaces.
    long double ClampAndRound(long double X) const;
    void StepValue(bool Up);

protected:
    void Change() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    // A number stays aligned as its alignment says, also while focused.
    void RefreshWindowAlignment() override;
    const char* ClassName() const override { return "TCustomDBNumberEditEh"; }

private:
    void RebuildEditFormat();
    // Text as typed, normalised and with thousand separators when the edit format has them.
    String TypingText(const String& Text) const;
    // Sets the window text under the re-entrance guard.
    void ShowGuarded(const String& Text);
    // Lays out what the user typed and keeps the number it reads as.
    void TakeTypedText();
    void PasteChecked(TMessage& Message);
    bool ForwardToCalculator(TMessage& Message);

    Variant FValue = Variant::Null();
    unsigned FDecimalPlaces = 2;
    long double FIncrement = 1;
    long double FMinValue = 0;
    long double FMaxValue = 0;
    String FDisplayFormat;
    bool FCurrency = false;
    bool FMinValueAssigned = false;
    bool FMaxValueAssigned = false;
    bool FDisplayFormatAssigned = false;
    bool FCurrencyAssigned = false;
    String FEditFormat;
    bool FPuttingText = false;
    TPopupCalculatorEh* FCalculator = nullptr;  // owned as a component
    bool FCalculatorOpen = false;
};

// The number edit as forms place it.
class TDBNumberEditEh : public TCustomDBNumberEditEh {
public:
    using TCustomDBNumberEditEh::TCustomDBNumberEditEh;
    using TCustomDBEditEh::AutoSelect;
    using TCustomDBEditEh::OnChange;
    using TCustomDBEditEh::PasswordChar;
    using TCustomDBEditEh::SetAutoSelect;
    using TCustomDBEditEh::SetPasswordChar;

protected:
    const char* ClassName() const override { return "TDBNumberEditEh"; }
};
