#pragma once
// Check boxes and radio buttons on Qt's QCheckBox and QRadioButton. The control keeps the state;
// the Qt button shows it. OnClick reports what the user did; setting the state in code is silent.
#include "platform/ui/Button.h"

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* AOwner);

    using TButtonControl::Checked;
    void SetChecked(bool Value) override;
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    // With AllowGrayed the user's clicks cycle unchecked, grayed, checked.
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);

protected:
    bool GetChecked() const override { return FState == TCheckBoxState::cbChecked; }
    // The next state of a user's click.
    virtual void Toggle();
    void ButtonClicked() override;
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TCheckBox"; }

private:
    void ShowState();

    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
};

// Checking a radio button unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);

    using TButtonControl::Checked;
    void SetChecked(bool Value) override;

protected:
    bool GetChecked() const override { return FChecked; }
    void ButtonClicked() override;
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TRadioButton"; }

private:
    // Sets the state and shows it; true when it changed.
    bool ApplyChecked(bool Value);

    bool FChecked = false;
};
