// TPanel: the outer bevel, the border band in the panel's colour, then the inner bevel.
#include "platform/ui/Panel.h"

namespace {

// Width lines of TopColor on the top and left and of BottomColor on the bottom and right;
// R shrinks by what was drawn.
void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width)
{
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    for (int i = 0; i < Width; ++i) {
        Canvas->Brush()->SetColor(TopColor);
        Canvas->FillRect(Rect(R.Left, R.Top, R.Right, R.Top + 1));
        Canvas->FillRect(Rect(R.Left, R.Top, R.Left + 1, R.Bottom));
        Canvas->Brush()->SetColor(BottomColor);
        Canvas->FillRect(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
        Canvas->FillRect(Rect(R.Right - 1, R.Top, R.Right, R.Bottom));
        R.Inflate(-1, -1);
    }
}

void FrameBevel(TCanvas* Canvas, TRect& R, TPanelBevel Bevel, TColor Face, int Width)
{
    switch (Bevel) {
    case TPanelBevel::bvNone: return;
    case TPanelBevel::bvLowered: Frame3D(Canvas, R, clBtnShadow, clBtnHighlight, Width); return;
    case TPanelBevel::bvRaised: Frame3D(Canvas, R, clBtnHighlight, clBtnShadow, Width); return;
    case TPanelBevel::bvSpace: Frame3D(Canvas, R, Face, Face, Width); return;
    }
}

}  // namespace

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TPanel::SetBevelInner(TPanelBevel Value)
{
    if (Value == FBevelInner)
        return;
    FBevelInner = Value;
    FrameChanged();
}

void TPanel::SetBevelOuter(TPanelBevel Value)
{
    if (Value == FBevelOuter)
        return;
    FBevelOuter = Value;
    FrameChanged();
}

void TPanel::SetBevelWidth(int Value)
{
    if (Value == FBevelWidth)
        return;
    FBevelWidth = Value;
    FrameChanged();
}

void TPanel::SetBorderWidth(int Value)
{
    if (Value == FBorderWidth)
        return;
    FBorderWidth = Value;
    FrameChanged();
}

void TPanel::FrameChanged()
{
    Realign();
    Invalidate();
}

void TPanel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Invalidate();
}

int TPanel::FrameWidth() const
{
    return FBorderWidth + (FBevelOuter != TPanelBevel::bvNone ? FBevelWidth : 0) +
           (FBevelInner != TPanelBevel::bvNone ? FBevelWidth : 0);
}

void TPanel::AlignControls(TControl* AControl, TRect& Rect)
{
    Rect.Inflate(-FrameWidth(), -FrameWidth());
    TCustomControl::AlignControls(AControl, Rect);
}

void TPanel::Paint()
{
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    FrameBevel(canvas, rect, FBevelOuter, Color(), FBevelWidth);
    Frame3D(canvas, rect, Color(), Color(), FBorderWidth);
    FrameBevel(canvas, rect, FBevelInner, Color(), FBevelWidth);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(rect);
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    canvas->Font()->Assign(Font());
    const unsigned align = FAlignment == TAlignment::taLeftJustify    ? DT_LEFT
                           : FAlignment == TAlignment::taRightJustify ? DT_RIGHT
                                                                      : DT_CENTER;
    canvas->DrawText(Caption(), rect, align | DT_VCENTER | DT_SINGLELINE);
}
