// TScrollBar: the Qt bar reports actions; the position is decided here and shown back.
#include "platform/ui/ScrollBar.h"

#include "platform/ui/WindowHost.h"

#include <QScrollBar>

#include <algorithm>

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetTabStop(true);
    SetBounds(0, 0, 121, 17);
}

QWidget* TScrollBar::CreateWindowHandle(const TCreateParams& Params)
{
    auto* bar = new QScrollBar(FKind == TScrollBarKind::sbVertical ? Qt::Vertical : Qt::Horizontal,
                               Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr);
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar,
                     [this](int Action) { CallGuarded(this, [this, Action] { ActionTriggered(Action); }); });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [this, bar] {
        CallGuarded(this, [this, bar] {
            UserScroll(TScrollCode::scPosition, bar->sliderPosition());
            UserScroll(TScrollCode::scEndScroll, FPosition);
        });
    });
    return bar;
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    ShowParams();
}

void TScrollBar::SetKind(TScrollBarKind Value)
{
    if (Value == FKind)
        return;
    FKind = Value;
    SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

int TScrollBar::MaxPosition() const { return std::max(FMin, FMax - std::max(FPageSize - 1, 0)); }

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin)
        throw EInvalidOperation(QStringLiteral("滚动条属性超出范围"));
    FMin = AMin;
    FMax = AMax;
    FPosition = std::clamp(APosition, FMin, MaxPosition());
    ShowParams();
}

void TScrollBar::SetPageSize(int Value)
{
    if (Value == FPageSize)
        return;
    FPageSize = std::max(Value, 0);
    FPosition = std::clamp(FPosition, FMin, MaxPosition());
    ShowParams();
}

void TScrollBar::SetSmallChange(int Value)
{
    FSmallChange = Value;
    ShowParams();
}

void TScrollBar::SetLargeChange(int Value)
{
    FLargeChange = Value;
    ShowParams();
}

void TScrollBar::ShowParams()
{
    if (!HandleAllocated())
        return;
    auto* bar = static_cast<QScrollBar*>(Handle());
    const QSignalBlocker quiet(bar);
    bar->setRange(FMin, MaxPosition());
    // The thumb shows the page; without one, the large change.
    bar->setPageStep(FPageSize > 0 ? FPageSize : FLargeChange);
    bar->setSingleStep(FSmallChange);
    bar->setValue(FPosition);
    bar->setSliderPosition(FPosition);
}

void TScrollBar::ActionTriggered(int Action)
{
    switch (Action) {
    case QAbstractSlider::SliderSingleStepSub: UserScroll(TScrollCode::scLineUp, FPosition - FSmallChange); break;
    case QAbstractSlider::SliderSingleStepAdd: UserScroll(TScrollCode::scLineDown, FPosition + FSmallChange); break;
    case QAbstractSlider::SliderPageStepSub: UserScroll(TScrollCode::scPageUp, FPosition - FLargeChange); break;
    case QAbstractSlider::SliderPageStepAdd: UserScroll(TScrollCode::scPageDown, FPosition + FLargeChange); break;
    case QAbstractSlider::SliderToMinimum: UserScroll(TScrollCode::scTop, FMin); break;
    case QAbstractSlider::SliderToMaximum: UserScroll(TScrollCode::scBottom, FMax); break;
    case QAbstractSlider::SliderMove:
        UserScroll(TScrollCode::scTrack, static_cast<QScrollBar*>(Handle())->sliderPosition());
        return;
    default: return;
    }
    // A click on an arrow or the track ends its scrolling at once.
    UserScroll(TScrollCode::scEndScroll, FPosition);
}

void TScrollBar::UserScroll(TScrollCode Code, int Pos)
{
    Scroll(Code, Pos);
    Pos = std::clamp(Pos, FMin, MaxPosition());
    const bool moved = Pos != FPosition;
    FPosition = Pos;
    ShowParams();
    if (moved)
        Change();
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos)
{
    if (OnScroll)
        OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::Change()
{
    if (OnChange)
        OnChange(this);
}
