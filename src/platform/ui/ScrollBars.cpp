// Window scroll bars with the platform's SCROLLINFO rules on Qt scroll bars.
#include "platform/ui/WindowHost.h"

#include <QEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

// The scroll code of a Qt slider action; -1 for none.
int ScrollCode(int Action)
{
    switch (Action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return -1;
    }
}

}  // namespace

TWindowScrollBar::TWindowScrollBar(TWindowHost& Host, int Bar)
    : FHost(Host), FBar(Bar), FWidget(new QScrollBar(Bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, Host.Widget()))
{
    FWidget->setFocusPolicy(Qt::NoFocus);
    FWidget->hide();
    FWidget->installEventFilter(&Host);
    QObject::connect(FWidget, &QAbstractSlider::actionTriggered, &Host, [this](int action) { Action(action); });
    QObject::connect(FWidget, &QAbstractSlider::sliderReleased, &Host, [this] { Released(); });
    Apply();
}

TWindowScrollBar::~TWindowScrollBar()
{
    delete FWidget;
}

int TWindowScrollBar::SetInfo(const TScrollInfo& Info)
{
    if (Info.fMask & SIF_RANGE) {
        FMin = Info.nMin;
        FMax = Info.nMax;
    }
    if (Info.fMask & SIF_PAGE)
        FPage = Info.nPage;
    if (Info.fMask & SIF_POS)
        FPos = Info.nPos;
    FDisableNoScroll = (Info.fMask & SIF_DISABLENOSCROLL) != 0;
    // New scroll information decides anew whether the bar shows, over an earlier ShowScrollBar.
    FForcedShown = false;
    // The page never exceeds the range, and the position stays where a full page still fits.
    const long long range = std::max(0LL, static_cast<long long>(FMax) - FMin + 1);
    FPage = static_cast<unsigned>(std::min<long long>(FPage, range));
    const long long highest = std::max<long long>(FMin, static_cast<long long>(FMax) - std::max(1u, FPage) + 1);
    FPos = static_cast<int>(std::clamp<long long>(FPos, FMin, highest));
    Apply();
    return FPos;
}

void TWindowScrollBar::GetInfo(TScrollInfo& Info) const
{
    if (Info.fMask & SIF_RANGE) {
        Info.nMin = FMin;
        Info.nMax = FMax;
    }
    if (Info.fMask & SIF_PAGE)
        Info.nPage = FPage;
    if (Info.fMask & SIF_POS)
        Info.nPos = FPos;
    if (Info.fMask & SIF_TRACKPOS)
        Info.nTrackPos = FWidget->isSliderDown() ? FTrackPos : FPos;
}

void TWindowScrollBar::SetForcedShown(bool Value)
{
    FForcedShown = Value;
    Apply();
}

void TWindowScrollBar::Apply()
{
    const bool scrolls = FMax > FMin && static_cast<long long>(FPage) <= static_cast<long long>(FMax) - FMin;
    const bool shown = scrolls || FDisableNoScroll || FForcedShown;
    FWidget->setEnabled(scrolls);
    FWidget->setRange(FMin, std::max(FMin, FMax - static_cast<int>(std::max(1u, FPage)) + 1));
    FWidget->setPageStep(static_cast<int>(FPage));
    // While the user drags the thumb it stays where it is dragged.
    if (!FWidget->isSliderDown())
        FWidget->setSliderPosition(FPos);
    if (shown == FShown)
        return;
    FShown = shown;
    FWidget->setVisible(shown);
    if (FHost.UpdateLayout())
        CallGuarded(&FHost.Control(), [this] { FHost.Control().Perform(WM_SIZE, 0,
                                                    MAKELPARAM(FHost.ClientArea().Width(), FHost.ClientArea().Height())); });
}

void TWindowScrollBar::Action(int QtAction)
{
    const int code = ScrollCode(QtAction);
    if (code < 0)
        return;
    if (code == SB_THUMBTRACK) {
        // Qt repeats a move when the thumb is let go off its value; that was reported already.
        if (!FWidget->isSliderDown()) {
            FWidget->setSliderPosition(FPos);
            return;
        }
        FTrackPos = FWidget->sliderPosition();
        Send(SB_THUMBTRACK, FTrackPos);
        return;
    }
    // The bar does not move itself: the control answers by setting the position.
    FWidget->setSliderPosition(FPos);
    Send(code, FPos);
}

void TWindowScrollBar::Released()
{
    Send(SB_THUMBPOSITION, FTrackPos);
    Send(SB_ENDSCROLL, FPos);
    FWidget->setSliderPosition(FPos);
}

void TWindowScrollBar::Send(int Code, int Pos)
{
    TMessage message{FBar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(Code, Pos), 0, 0};
    FHost.DeliverInput(message);
}
