#pragma once
// Buttons: TButtonControl (the base of push buttons, check boxes and radio buttons), TButton,
// TBitBtn (a button with a glyph) and TSpeedButton (a windowless button of a tool bar or an
// edit's button strip).
#include "platform/core/Alignment.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

#include <memory>

class QAbstractButton;

// True when Str marks the character VK as its mnemonic ("&Save" and 's' or 'S').
bool IsAccel(WORD VK, const String& Str);

// A focusable tab stop with a caption whose '&' marks its mnemonic. Descendants that wrap a Qt
// button return it from CreateWindowHandle; those that paint themselves keep the plain window
// this class makes and override PaintWindow.
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* AOwner);

    // Which side of the check mark the caption takes (taLeftJustify or taRightJustify); a change
    // makes the window again.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    // While set, Click does nothing: a state set while the control takes the focus is not a click.
    bool ClicksDisabled() const { return FClicksDisabled; }
    void SetClicksDisabled(bool Value) { FClicksDisabled = Value; }
    // The checked state of descendants that have one.
    virtual bool GetChecked() const { return false; }
    virtual void SetChecked(bool) {}
    bool Checked() const { return GetChecked(); }

    // The wrapped Qt button reports a click by the user (mouse or Space); the default clicks.
    virtual void ButtonClicked() { Click(); }
    // A CM_DIALOGCHAR naming the caption's mnemonic focuses the control and clicks it, as the
    // user's click would; true when it was this control's.
    bool FocusAndClickByMnemonic(TMessage& Message);
    // The mouse is taken away (WM_CANCELMODE: a window or a menu opened): the capture and any
    // pressed look end.
    virtual void CancelMode();
    // The wrapped Qt button, or nullptr for a self-painted control.
    QAbstractButton* Button();
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TButtonControl"; }

private:
    bool FClicksDisabled = false;
    TAlignment FAlignment = TAlignment::taRightJustify;
};

class TButton : public TButtonControl, public IDialogButton {
public:
    explicit TButton(TComponent* AOwner);

    // Enter on the form presses the default button unless another button has the focus.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }
    // Escape on the form presses the cancel button.
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    // Pressing the button sets this result on its form, which ends a modal showing.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    // Presses the button as the user would: the form's modal result, then OnClick.
    void Click() override;

    bool IsDefaultButton() const override { return FDefault; }
    bool IsCancelButton() const override { return FCancel; }
    void PressButton() override { Click(); }

protected:
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TButton"; }

private:
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;

    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
    // Where the glyph sits beside the caption; Qt places it left or right only.
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);

protected:
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
    const char* ClassName() const override { return "TBitBtn"; }

private:
    void ApplyGlyph();

    std::unique_ptr<TBitmap> FGlyph;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
};

enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// A windowless button. With a GroupIndex it stays down when pressed and releases the other
// buttons of its group on the same parent; AllowAllUp lets the down one be released too.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    // How many pictures Glyph holds side by side (1..4): up, disabled, pressed, down.
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    // True between CM_MOUSEENTER and CM_MOUSELEAVE.
    bool MouseInControl() const { return FMouseInControl; }

    void Click() override { TGraphicControl::Click(); }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TSpeedButton"; }
    // A flat button at rest shows a raised edge while this holds: by default while the mouse
    // is over it.
    virtual bool FlatHot() const { return FMouseInControl && Enabled(); }

    // The face shown: up, pressed while the mouse holds it, or down and held by its group.
    TButtonState FState = TButtonState::bsUp;

private:
    // Tells the other buttons of the group that this one went down.
    void UpdateExclusive();
    void ButtonPressed(int Group, TSpeedButton* Sender);
    void SetMouseInControl(bool Value);
    // The picture of Glyph for the current state, with its transparent colour cleared.
    void GlyphForState(TBitmap& Result) const;

    std::unique_ptr<TBitmap> FGlyph;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    bool FFlat = false;
    bool FDown = false;
    bool FDragging = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    int FNumGlyphs = 1;
    bool FMouseInControl = false;
};
