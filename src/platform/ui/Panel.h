#pragma once
// TPanel: a container with raised or lowered bevels around it and a caption in its middle.
#include "platform/core/Alignment.h"
#include "platform/ui/BevelTypes.h"
#include "platform/ui/Controls.h"

using TPanelBevel = TBevelCut;

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* AOwner);

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel Value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    // The plain band between the outer and the inner bevel.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    void Paint() override;
    // Aligned children keep inside the bevels and the border.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    const char* ClassName() const override { return "TPanel"; }

private:
    // The frame's width decides the room of aligned children.
    void FrameChanged();
    int FrameWidth() const;

    TPanelBevel FBevelInner = TPanelBevel::bvNone;
    TPanelBevel FBevelOuter = TPanelBevel::bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TAlignment FAlignment = TAlignment::taCenter;
};
