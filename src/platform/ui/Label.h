#pragma once
// TLabel: a windowless caption painted on its parent. '&' marks the mnemonic that focuses
// FocusControl; AutoSize fits the control to its text.
#include "platform/core/Alignment.h"
#include "platform/ui/Controls.h"

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    // A transparent label leaves its parent's background showing behind the text.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // Off: '&' is shown as written and marks nothing.
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    const char* ClassName() const override { return "TLabel"; }

private:
    unsigned TextFormat() const;
    // The caption as measured and drawn: an empty one still takes a line.
    String DrawnCaption() const;
    void AdjustBounds();

    bool FAutoSize = true;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TTextLayout FLayout = TTextLayout::tlTop;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};
