#pragma once
// The check box edit TCustomDBCheckBoxEh (published as TDBCheckBoxEh): a self-painted check box
// bound to a field through value lists (or holding a value of its own), checked, unchecked or
// grayed. A toggle is written when the box is left; Escape before that shows the stored state.
#include "editors/DBCtrlsEhEdit.h"
#include "platform/ui/CheckBox.h"

#include <memory>

class TCanvas;

class TCustomDBCheckBoxEh : public TButtonControl {
public:
    explicit TCustomDBCheckBoxEh(TComponent* AOwner);
    ~TCustomDBCheckBoxEh() override;

    TFieldDataLinkEh* DataLink() const { return FDataLink.get(); }
    TCheckBoxState State() const { return FState; }
    // Puts the dataset into edit state when bound, shows the state and writes it.
    void SetState(TCheckBoxState Value);
    bool Checked() const { return FState == TCheckBoxState::cbChecked; }
    void SetChecked(bool Value) override
    {
        SetState(Value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
    }
    // ';' lists of the texts that mean checked and unchecked; a trailing ';' lets the empty
    // text match.
    const String& ValueChecked() const { return FValueChecked; }
    void SetValueChecked(const String& Value);
    const String& ValueUnchecked() const { return FValueUnchecked; }
    void SetValueUnchecked(const String& Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool AlwaysShowBorder() const { return FAlwaysShowBorder; }
    void SetAlwaysShowBorder(bool Value);
    bool ReadOnly() const { return FDataLink->ReadOnly(); }
    void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
    String DataField() const { return FDataLink->FieldName(); }
    void SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* Value) { FDataLink->SetDataSource(Value); }

    TUpdateDataEventEh OnUpdateData;

    // The virtual operations of the check box, in the order of their slots.
    virtual void PaintControl(TCanvas* Canvas);
    virtual bool HoldsOwnValue() const { return FDataLink->OwnValueMode(); }
    virtual void PaintCaption(TCanvas* Canvas, const TRect& Rect, bool Focused);
    virtual void PaintCheckMark(TCanvas* Canvas, const TRect& Rect, TCheckBoxState State, bool Focused,
                                bool Pressed, bool Hot);
    virtual void PaintState(TCanvas* Canvas, TCheckBoxState State, bool Focused, bool Pressed, bool Hot);
    virtual void ApplyState(TCheckBoxState Value);
    virtual void WriteStateToField();
    virtual void ToggleState();
    virtual void PostStateToField();

    void Dispatch(TMessage& Message) override;

protected:
    // The state the data gives: own value, Boolean field, value lists.
    TCheckBoxState StateFromData() const;
    bool GetChecked() const override { return Checked(); }
    void ButtonClicked() override;
    void Click() override;
    void PaintWindow(HDC DC) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoExit() override;
    const char* ClassName() const override { return "TCustomDBCheckBoxEh"; }

private:
    void HandleDataChange();

    std::unique_ptr<TFieldDataLinkEh> FDataLink;
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    String FValueChecked;
    String FValueUnchecked;
    bool FAllowGrayed = false;
    bool FFlat = false;
    bool FAlwaysShowBorder = false;
    bool FMouseOver = false;
    bool FMouseDown = false;
    bool FSpaceDown = false;
    bool FPosting = false;
};

class TDBCheckBoxEh : public TCustomDBCheckBoxEh {
public:
    using TCustomDBCheckBoxEh::TCustomDBCheckBoxEh;

protected:
    const char* ClassName() const override { return "TDBCheckBoxEh"; }
};
