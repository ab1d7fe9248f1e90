#pragma once
// Theme services: the themed elements the controls draw, painted through the application's
// QStyle into a canvas. The classic look (DrawEdge, DrawFrameControl) is TCanvas's own.
#include "platform/ui/Types.h"

class TCanvas;

enum class TThemedButton {
    tbPushButtonNormal, tbPushButtonHot, tbPushButtonPressed, tbPushButtonDisabled, tbPushButtonDefaulted,
    tbRadioButtonUncheckedNormal, tbRadioButtonUncheckedHot, tbRadioButtonUncheckedPressed, tbRadioButtonUncheckedDisabled,
    tbRadioButtonCheckedNormal, tbRadioButtonCheckedHot, tbRadioButtonCheckedPressed, tbRadioButtonCheckedDisabled,
    tbCheckBoxUncheckedNormal, tbCheckBoxUncheckedHot, tbCheckBoxUncheckedPressed, tbCheckBoxUncheckedDisabled,
    tbCheckBoxCheckedNormal, tbCheckBoxCheckedHot, tbCheckBoxCheckedPressed, tbCheckBoxCheckedDisabled,
    tbCheckBoxMixedNormal, tbCheckBoxMixedHot, tbCheckBoxMixedPressed, tbCheckBoxMixedDisabled,
    tbGroupBoxNormal,
};
enum class TThemedSpin {
    tsUpNormal, tsUpHot, tsUpPressed, tsUpDisabled,
    tsDownNormal, tsDownHot, tsDownPressed, tsDownDisabled,
};
enum class TThemedComboBox {
    tcDropDownButtonNormal, tcDropDownButtonHot, tcDropDownButtonPressed, tcDropDownButtonDisabled,
};
enum class TThemedToolBar {
    ttbButtonNormal, ttbButtonHot, ttbButtonPressed, ttbButtonDisabled,
};
enum class TThemedTreeview { ttGlyphClosed, ttGlyphOpened };
enum class TThemedHeader { thHeaderItemNormal, thHeaderItemHot, thHeaderItemPressed };

// One element in one state, as GetElementDetails answers.
struct TThemedElementDetails {
    enum class TState { Normal, Hot, Pressed, Disabled, Defaulted };
    enum class TCheck { Unchecked, Checked, Mixed };
    enum class TKind { PushButton, ToolButton, GroupBox, RadioButton, CheckBox, SpinUp, SpinDown, DropDown, GlyphClosed, GlyphOpened, HeaderItem };

    TKind Kind = TKind::PushButton;
    TState State = TState::Normal;
    TCheck Check = TCheck::Unchecked;

    bool operator==(const TThemedElementDetails&) const = default;
};

class TThemeServices {
public:
    // Themes are on when the platform metrics object says so.
    bool ThemesEnabled() const;

    TThemedElementDetails GetElementDetails(TThemedButton Detail) const;
    TThemedElementDetails GetElementDetails(TThemedSpin Detail) const;
    TThemedElementDetails GetElementDetails(TThemedComboBox Detail) const;
    TThemedElementDetails GetElementDetails(TThemedToolBar Detail) const;
    TThemedElementDetails GetElementDetails(TThemedTreeview Detail) const;
    TThemedElementDetails GetElementDetails(TThemedHeader Detail) const;

    // Draws the element filling R (glyphs and check marks centred in it).
    void DrawElement(TCanvas* Canvas, const TThemedElementDetails& Details, const TRect& R) const;
    // The natural size of check boxes, radio buttons and tree glyphs; other elements have none
    // (0 x 0) and take the rectangle they are given.
    TSize GetElementSize(const TThemedElementDetails& Details) const;
    // The part of R inside the element's frame, where its caption goes.
    TRect ContentRect(const TThemedElementDetails& Details, const TRect& R) const;
};

// The process-wide theme services.
TThemeServices& ThemeServices();
