// TProgressBar: the values live here; the Qt bar shows them.
#include "platform/ui/ProgressBar.h"

#include <QProgressBar>

#include <algorithm>

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 150, 16);
}

QWidget* TProgressBar::CreateWindowHandle(const TCreateParams& Params)
{
    auto* bar = new QProgressBar(Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr);
    bar->setTextVisible(false);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setOrientation(FOrientation == TProgressBarOrientation::pbVertical ? Qt::Vertical : Qt::Horizontal);
    bar->setRange(FMin, FMax);
    bar->setValue(FPosition);
    return bar;
}

void TProgressBar::ShowPosition()
{
    if (auto* bar = HandleAllocated() ? static_cast<QProgressBar*>(Handle()) : nullptr) {
        bar->setRange(FMin, FMax);
        bar->setValue(FPosition);
    }
}

void TProgressBar::SetMin(int Value)
{
    if (Value == FMin)
        return;
    FMin = Value;
    FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
    ShowPosition();
}

void TProgressBar::SetMax(int Value)
{
    if (Value == FMax)
        return;
    FMax = Value;
    FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
    ShowPosition();
}

void TProgressBar::SetPosition(int Value)
{
    Value = std::clamp(Value, FMin, std::max(FMin, FMax));
    if (Value == FPosition)
        return;
    FPosition = Value;
    ShowPosition();
}

void TProgressBar::StepIt()
{
    const int next = FPosition + FStep;
    SetPosition(next > FMax ? FMin : next);
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value)
{
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    RecreateWnd();
}
