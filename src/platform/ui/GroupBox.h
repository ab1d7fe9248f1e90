#pragma once
// TGroupBox: an etched frame with its caption in the top edge, holding child controls.
#include "platform/ui/Controls.h"

class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* AOwner);

protected:
    void Paint() override;
    // Aligned children keep inside the frame, below the caption.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TGroupBox"; }

private:
    int CaptionHeight() const;
};
