// Themed element details, drawn, sized and given their content area through the QStyle.
#include "platform/ui/Themes.h"

#include "platform/ui/Canvas.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/QtConvert.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

using TKind = TThemedElementDetails::TKind;
using TState = TThemedElementDetails::TState;
using TCheck = TThemedElementDetails::TCheck;

// The side of the platform's tree-view glyph box.
constexpr int TreeGlyphSize = 9;

constexpr TState FourStates[] = {TState::Normal, TState::Hot, TState::Pressed, TState::Disabled};

QStyle::State StyleState(TState State)
{
    switch (State) {
    case TState::Disabled:
        return QStyle::State_None;
    case TState::Hot:
        return QStyle::State_Enabled | QStyle::State_MouseOver;
    case TState::Pressed:
        return QStyle::State_Enabled | QStyle::State_Sunken;
    default:
        return QStyle::State_Enabled;
    }
}

QRect Centred(const QRect& Area, QSize Size)
{
    return QRect(Area.left() + (Area.width() - Size.width()) / 2, Area.top() + (Area.height() - Size.height()) / 2,
                 Size.width(), Size.height());
}

QSize IndicatorSize(TKind Kind)
{
    const QStyle* style = QApplication::style();
    if (Kind == TKind::CheckBox)
        return {style->pixelMetric(QStyle::PM_IndicatorWidth), style->pixelMetric(QStyle::PM_IndicatorHeight)};
    if (Kind == TKind::RadioButton)
        return {style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth),
                style->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight)};
    if (Kind == TKind::GlyphClosed || Kind == TKind::GlyphOpened)
        return {TreeGlyphSize, TreeGlyphSize};
    return {};
}

QStyleOptionButton PushButtonOption(const TThemedElementDetails& Details, const QRect& R)
{
    QStyleOptionButton option;
    option.rect = R;
    option.palette = QApplication::palette();
    option.state = StyleState(Details.State) | (Details.State == TState::Pressed ? QStyle::State_Sunken : QStyle::State_Raised);
    if (Details.State == TState::Defaulted)
        option.features |= QStyleOptionButton::DefaultButton;
    return option;
}

// A button panel with an indicator (arrow) drawn on it.
void DrawPanelWithIndicator(QPainter& Painter, const TThemedElementDetails& Details, const QRect& R,
                            QStyle::PrimitiveElement Indicator)
{
    QStyle* style = QApplication::style();
    const QStyleOptionButton panel = PushButtonOption(Details, R);
    style->drawPrimitive(QStyle::PE_PanelButtonCommand, &panel, &Painter);
    QStyleOption arrow;
    arrow.rect = R;
    arrow.state = panel.state;
    arrow.palette = QApplication::palette();
    style->drawPrimitive(Indicator, &arrow, &Painter);
}

}  // namespace

bool TThemeServices::ThemesEnabled() const
{
    return PlatformMetrics().ThemesActive();
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedButton Detail) const
{
    const int index = static_cast<int>(Detail);
    if (Detail <= TThemedButton::tbPushButtonDefaulted) {
        constexpr TState states[] = {TState::Normal, TState::Hot, TState::Pressed, TState::Disabled, TState::Defaulted};
        return {TKind::PushButton, states[index], TCheck::Unchecked};
    }
    if (Detail == TThemedButton::tbGroupBoxNormal)
        return {TKind::GroupBox, TState::Normal, TCheck::Unchecked};
    // Radio buttons (unchecked, checked), then check boxes (unchecked, checked, mixed): four states each.
    const int group = (index - static_cast<int>(TThemedButton::tbRadioButtonUncheckedNormal)) / 4;
    const TState state = FourStates[(index - static_cast<int>(TThemedButton::tbRadioButtonUncheckedNormal)) % 4];
    constexpr TCheck checks[] = {TCheck::Unchecked, TCheck::Checked, TCheck::Unchecked, TCheck::Checked, TCheck::Mixed};
    return {group < 2 ? TKind::RadioButton : TKind::CheckBox, state, checks[group]};
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedSpin Detail) const
{
    const int index = static_cast<int>(Detail);
    return {index < 4 ? TKind::SpinUp : TKind::SpinDown, FourStates[index % 4], TCheck::Unchecked};
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedComboBox Detail) const
{
    return {TKind::DropDown, FourStates[static_cast<int>(Detail)], TCheck::Unchecked};
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedToolBar Detail) const
{
    return {TKind::ToolButton, FourStates[static_cast<int>(Detail)], TCheck::Unchecked};
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedTreeview Detail) const
{
    return {Detail == TThemedTreeview::ttGlyphOpened ? TKind::GlyphOpened : TKind::GlyphClosed, TState::Normal,
            TCheck::Unchecked};
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedHeader Detail) const
{
    return {TKind::HeaderItem, FourStates[static_cast<int>(Detail)], TCheck::Unchecked};
}

void TThemeServices::DrawElement(TCanvas* Canvas, const TThemedElementDetails& Details, const TRect& R) const
{
    QPainter* painter = Canvas != nullptr ? Canvas->StylePainter() : nullptr;
    if (painter == nullptr || R.IsEmpty())
        return;
    QStyle* style = QApplication::style();
    const QRect rect = ToQRect(R);
    painter->save();
    switch (Details.Kind) {
    case TKind::PushButton: {
        const QStyleOptionButton option = PushButtonOption(Details, rect);
        style->drawControl(QStyle::CE_PushButtonBevel, &option, painter);
        break;
    }
    case TKind::ToolButton: {
        QStyleOptionToolButton option;
        option.rect = rect;
        option.palette = QApplication::palette();
        option.state = StyleState(Details.State) | QStyle::State_AutoRaise;
        if (Details.State != TState::Normal)
            option.state |= QStyle::State_Raised;
        style->drawPrimitive(QStyle::PE_PanelButtonTool, &option, painter);
        break;
    }
    case TKind::GroupBox: {
        QStyleOptionFrame option;
        option.rect = rect;
        option.palette = QApplication::palette();
        option.state = QStyle::State_Enabled;
        option.lineWidth = 1;
        style->drawPrimitive(QStyle::PE_FrameGroupBox, &option, painter);
        break;
    }
    case TKind::CheckBox:
    case TKind::RadioButton: {
        QStyleOptionButton option;
        // An indicator larger than the box it is given is drawn at the box's size: centred at
        // its own it would lose its bottom and right edges.
        option.rect = Centred(rect, IndicatorSize(Details.Kind).boundedTo(rect.size()));
        option.palette = QApplication::palette();
        option.state = StyleState(Details.State);
        option.state |= Details.Check == TCheck::Checked ? QStyle::State_On
                        : Details.Check == TCheck::Mixed ? QStyle::State_NoChange
                                                         : QStyle::State_Off;
        style->drawPrimitive(Details.Kind == TKind::CheckBox ? QStyle::PE_IndicatorCheckBox : QStyle::PE_IndicatorRadioButton,
                             &option, painter);
        break;
    }
    // Spin halves take the combo box's arrow size: the styles' spin indicators fill the
    // whole half, far larger than the platform's spin glyphs.
    case TKind::SpinUp:
        DrawPanelWithIndicator(*painter, Details, rect, QStyle::PE_IndicatorArrowUp);
        break;
    case TKind::SpinDown:
        DrawPanelWithIndicator(*painter, Details, rect, QStyle::PE_IndicatorArrowDown);
        break;
    case TKind::DropDown:
        DrawPanelWithIndicator(*painter, Details, rect, QStyle::PE_IndicatorArrowDown);
        break;
    case TKind::GlyphClosed:
    case TKind::GlyphOpened: {
        QStyleOption option;
        option.rect = rect;
        option.state = QStyle::State_Enabled | QStyle::State_Children;
        if (Details.Kind == TKind::GlyphOpened)
            option.state |= QStyle::State_Open;
        option.palette = QApplication::palette();
        style->drawPrimitive(QStyle::PE_IndicatorBranch, &option, painter);
        break;
    }
    case TKind::HeaderItem: {
        QStyleOptionHeader option;
        option.rect = rect;
        option.state = StyleState(Details.State) | QStyle::State_Raised | QStyle::State_Horizontal;
        option.position = QStyleOptionHeader::Middle;
        option.palette = QApplication::palette();
        style->drawControl(QStyle::CE_HeaderSection, &option, painter);
        break;
    }
    }
    painter->restore();
}

TSize TThemeServices::GetElementSize(const TThemedElementDetails& Details) const
{
    return FromQSize(IndicatorSize(Details.Kind));
}

TRect TThemeServices::ContentRect(const TThemedElementDetails& Details, const TRect& R) const
{
    QStyle* style = QApplication::style();
    if (Details.Kind == TKind::PushButton) {
        const QStyleOptionButton option = PushButtonOption(Details, ToQRect(R));
        return FromQRect(style->subElementRect(QStyle::SE_PushButtonContents, &option));
    }
    TRect content = R;
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    content.Inflate(-frame, -frame);
    return content;
}

TThemeServices& ThemeServices()
{
    static TThemeServices services;
    return services;
}
