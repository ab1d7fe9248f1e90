// TBevel: the etched lines and frames, shadow and highlight as the platform draws them.
#include "platform/ui/Bevel.h"

#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape Value)
{
    if (Value == FShape)
        return;
    FShape = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Invalidate();
}

void TBevel::Paint()
{
    TCanvas* canvas = Canvas();
    // Lowered: the shadow line first, the highlight beside it; raised the other way round.
    const TColor first = FStyle == TBevelStyle::bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor second = FStyle == TBevelStyle::bsLowered ? clBtnHighlight : clBtnShadow;
    const int right = Width() - 1;
    const int bottom = Height() - 1;
    const auto line = [canvas](TColor Color, int X1, int Y1, int X2, int Y2) {
        canvas->Pen()->SetColor(Color);
        canvas->MoveTo(X1, Y1);
        canvas->LineTo(X2, Y2);
    };
    switch (FShape) {
    case TBevelShape::bsBox:
        line(first, 0, bottom, 0, 0);
        line(first, 0, 0, right, 0);
        line(second, right, 0, right, bottom);
        line(second, right, bottom, 0, bottom);
        break;
    case TBevelShape::bsFrame:
        line(first, 0, 0, right, 0);
        line(first, 0, 0, 0, bottom);
        line(first, right - 1, 1, right - 1, bottom - 1);
        line(first, 1, bottom - 1, right - 1, bottom - 1);
        line(second, 1, 1, right - 1, 1);
        line(second, 1, 1, 1, bottom - 1);
        line(second, right, 0, right, bottom + 1);
        line(second, 0, bottom, right, bottom);
        break;
    case TBevelShape::bsTopLine:
        line(first, 0, 0, Width(), 0);
        line(second, 0, 1, Width(), 1);
        break;
    case TBevelShape::bsBottomLine:
        line(first, 0, bottom - 1, Width(), bottom - 1);
        line(second, 0, bottom, Width(), bottom);
        break;
    case TBevelShape::bsLeftLine:
        line(first, 0, 0, 0, Height());
        line(second, 1, 0, 1, Height());
        break;
    case TBevelShape::bsRightLine:
        line(first, right - 1, 0, right - 1, Height());
        line(second, right, 0, right, Height());
        break;
    case TBevelShape::bsSpacer: break;
    }
}
