// TShape: the rectangle shape.
#include "platform/ui/Shape.h"

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 65, 65); }

void TShape::SetColors(TColor Value)
{
    if (FPen->Color() == Value && FBrush->Color() == Value)
        return;
    FPen->SetColor(Value);
    FBrush->SetColor(Value);
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetPen(FPen.get());
    canvas->SetBrush(FBrush.get());
    canvas->Rectangle(ClientRect());
}
