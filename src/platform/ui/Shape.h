#pragma once
// TShape: a windowless rectangle filled with its brush and outlined with its pen, painted by
// its parent (the edit controls' button separators are one pixel wide ones).
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);

    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    // Pen and brush in one colour, as the separators are drawn.
    void SetColors(TColor Value);

protected:
    void Paint() override;
    const char* ClassName() const override { return "TShape"; }

private:
    std::unique_ptr<TPen> FPen = std::make_unique<TPen>();
    std::unique_ptr<TBrush> FBrush = std::make_unique<TBrush>();
};
