// Check boxes and radio buttons: the state lives here, the Qt button only shows it and reports
// the user's clicks.
#include "platform/ui/CheckBox.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

Qt::CheckState ToQt(TCheckBoxState State)
{
    switch (State) {
    case TCheckBoxState::cbChecked: return Qt::Checked;
    case TCheckBoxState::cbGrayed: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
    }
}

// The caption on the left of the mark is the right-to-left layout of the Qt button.
Qt::LayoutDirection CaptionSide(TAlignment Alignment)
{
    return Alignment == TAlignment::taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight;
}

}  // namespace

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetControlStyle(ControlStyle() - csClickEvents - csDoubleClicks);
    SetBounds(0, 0, 97, 17);
}

QWidget* TCheckBox::CreateWindowHandle(const TCreateParams& Params)
{
    auto* box = new QCheckBox(Params.Caption, Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr);
    box->setLayoutDirection(CaptionSide(Alignment()));
    box->setTristate(FAllowGrayed || FState == TCheckBoxState::cbGrayed);
    box->setCheckState(ToQt(FState));
    return box;
}

void TCheckBox::SetState(TCheckBoxState Value)
{
    if (Value == FState)
        return;
    FState = Value;
    ShowState();
}

void TCheckBox::SetChecked(bool Value)
{
    SetState(Value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TCheckBox::SetAllowGrayed(bool Value)
{
    FAllowGrayed = Value;
    ShowState();
}

void TCheckBox::ShowState()
{
    if (auto* box = static_cast<QCheckBox*>(Button())) {
        const QSignalBlocker quiet(box);
        box->setTristate(FAllowGrayed || FState == TCheckBoxState::cbGrayed);
        box->setCheckState(ToQt(FState));
    }
}

void TCheckBox::Toggle()
{
    switch (FState) {
    case TCheckBoxState::cbUnchecked:
        FState = FAllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked;
        break;
    case TCheckBoxState::cbChecked: FState = TCheckBoxState::cbUnchecked; break;
    case TCheckBoxState::cbGrayed: FState = TCheckBoxState::cbChecked; break;
    }
}

void TCheckBox::ButtonClicked()
{
    // The Qt button already moved on by its own rule; ours decides and it shows ours.
    Toggle();
    ShowState();
    if (!ClicksDisabled())
        Click();
}

void TCheckBox::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_DIALOGCHAR && FocusAndClickByMnemonic(Message))
        return;
    TButtonControl::Dispatch(Message);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetControlStyle(ControlStyle() - csClickEvents - csDoubleClicks);
    SetBounds(0, 0, 113, 17);
}

QWidget* TRadioButton::CreateWindowHandle(const TCreateParams& Params)
{
    auto* radio = new QRadioButton(Params.Caption, Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr);
    // The group is kept here, across every radio button of the parent, windowed or not yet.
    radio->setAutoExclusive(false);
    radio->setLayoutDirection(CaptionSide(Alignment()));
    radio->setChecked(FChecked);
    return radio;
}

bool TRadioButton::ApplyChecked(bool Value)
{
    if (Value == FChecked)
        return false;
    FChecked = Value;
    if (QAbstractButton* radio = Button()) {
        const QSignalBlocker quiet(radio);
        radio->setChecked(Value);
    }
    if (Value && Parent() != nullptr)
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); sibling != nullptr && sibling != this)
                sibling->ApplyChecked(false);
    return true;
}

void TRadioButton::SetChecked(bool Value) { ApplyChecked(Value); }

void TRadioButton::ButtonClicked()
{
    // A click on the checked button leaves it checked and tells nobody.
    if (ApplyChecked(true)) {
        if (!ClicksDisabled())
            Click();
    } else if (QAbstractButton* radio = Button()) {
        const QSignalBlocker quiet(radio);
        radio->setChecked(true);
    }
}

void TRadioButton::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_DIALOGCHAR && FocusAndClickByMnemonic(Message))
        return;
    TButtonControl::Dispatch(Message);
}
