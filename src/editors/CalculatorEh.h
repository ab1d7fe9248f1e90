#pragma once
// Unit CalculatorEh: the four-function calculator (its engine, its control of keys and display)
// and its drop-down form, opened under number edits and numeric grid cells.
#include "controls/ToolCtrlsEh.h"
#include "platform/core/Variant.h"

#include <array>
#include <memory>

class TLabel;
class TPanel;
class TPopupCloseWatch;

// What the calculator shows: a result (the next digit starts a new number), a number being
// typed, or an error that only the clear key ends.
enum class TCalcStatusEh { csResultEh, csTypingEh, csErrorEh };

// The calculator's arithmetic and display text, free of any window: keys go in as characters
// (digits, the decimal separator, + - * / % =, Enter, Backspace, 'C' and Escape to clear, 'I'
// to negate, 'R' for 1/x, 'S' for the square root, Ctrl+C and Ctrl+V for the clipboard).
class TCalculatorEngineEh {
public:
    TCalculatorEngineEh();

    void HandleKey(Char Key);
    // A wheel notch: the shown number plus Delta, the status kept; nothing in error.
    void Step(int Delta);
    void ClearAll();
    // Shows Value in general format with 15 significant digits; a value that is no finite
    // number shows the error.
    void ShowNumber(long double Value);

    TCalcStatusEh Status() const { return FStatus; }
    const String& Display() const { return FDisplay; }
    // 0 in error, else the shown text read as a number.
    long double DisplayedNumber() const;
    long double Accumulator() const { return FAccumulator; }
    Char PendingOperator() const { return FPending; }
    // "=" while a typed operand waits for an arithmetic operator, else "Ok": Enter then takes
    // the shown number as it stands.
    String EqualsCaption() const;

private:
    void StartNumber();
    void AppendDigit(Char Digit);
    void Backspace();
    void ApplyFunction(Char Key);
    void ApplyOperator(Char Key);
    void Paste();
    void ShowError();

    TCalcStatusEh FStatus = TCalcStatusEh::csResultEh;
    String FDisplay;
    long double FAccumulator = 0;
    Char FPending;
};

// The calculator control: a display over 23 keys laid out as its stored form gives them. Keys
// typed or clicked go to HandleCalcKey; Delete acts as 'C'; a wheel turn steps the shown number.
class TCalculatorEh : public TCustomControl {
public:
    static constexpr int KeyCount = 23;
    static constexpr int StoredClientWidth = 184;
    static constexpr int StoredClientHeight = 127;

    explicit TCalculatorEh(TComponent* AOwner);
    ~TCalculatorEh() override;

    TCalcStatusEh Status() const { return FEngine.Status(); }
    long double Accumulator() const { return FEngine.Accumulator(); }
    Char PendingOperator() const { return FEngine.PendingOperator(); }
    long double DisplayedNumber() const { return FEngine.DisplayedNumber(); }
    void ShowNumber(long double Value);
    void ClearAll();
    // Null in error (the owners take numbers only), else the shown number.
    Variant GetCalcValue() const;
    void SetCalcValue(const Variant& Value);
    bool FlatLook() const { return FFlatLook; }
    void SetFlatLook(bool Value);

    TPanel* Panel1() const { return FPanel; }
    TLabel* TextBox() const { return FTextBox; }
    TSpeedButtonEh* Key(int Tag) const { return FKeys[Tag - 1]; }
    TSpeedButtonEh* spEqual() const { return Key(KeyCount); }

    void SpeedButtonClick(TObject* Sender);

    // The virtual operations of the calculator, in the order of their slots.
    virtual int FrameHeight() const;
    virtual void HandleCalcKey(Char Key);

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TCalculatorEh"; }
    // Sizes the window to the stored client area plus its frame.
    void FitToLayout();

private:
    void BuildLayout();
    // The display and the equals key show what the engine holds.
    void ShowEngine();

    TCalculatorEngineEh FEngine;
    TPanel* FPanel = nullptr;
    TLabel* FTextBox = nullptr;
    std::array<TSpeedButtonEh*, KeyCount> FKeys{};
    bool FFlatLook = true;
};

// What an owner asks of its drop-down calculator.
class IPopupCalculatorEh {
public:
    // The equals key shows "Ok": Enter takes the shown number.
    virtual bool EnterAcceptsValue() const = 0;
    virtual bool GetFlatLook() const = 0;
    virtual Variant GetCalcValue() const = 0;
    virtual void SetFlatLook(bool Value) = 0;
    virtual void SetCalcValue(const Variant& Value) = 0;

protected:
    ~IPopupCalculatorEh() = default;
};

// The calculator as a drop-down: a top-level tool window that never takes the focus, framed
// by a raised edge. Its owner passes it keys; Enter (or '=') with "Ok" on the equals key
// accepts, Escape, a press outside it or the focus moving elsewhere close it unaccepted.
class TPopupCalculatorEh : public TCalculatorEh, public IPopupCalculatorEh {
public:
    explicit TPopupCalculatorEh(TComponent* AOwner);
    ~TPopupCalculatorEh() override;

    int BorderWidth() const { return Ctl3D() ? 2 : 0; }
    bool CanFocus() const override { return false; }

    bool EnterAcceptsValue() const override;
    bool GetFlatLook() const override { return FlatLook(); }
    Variant GetCalcValue() const override { return TCalculatorEh::GetCalcValue(); }
    void SetFlatLook(bool Value) override { TCalculatorEh::SetFlatLook(Value); }
    void SetCalcValue(const Variant& Value) override { TCalculatorEh::SetCalcValue(Value); }

    int FrameHeight() const override { return 2 * BorderWidth(); }
    void HandleCalcKey(Char Key) override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    virtual void DrawPopupFrame(TCanvas* Canvas, TRect Rect);
    const char* ClassName() const override { return "TPopupCalculatorEh"; }

private:
    void CloseUp(bool Accept);

    std::unique_ptr<TPopupCloseWatch> FCloseWatch;
};
