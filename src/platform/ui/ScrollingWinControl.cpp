// TScrollingWinControl: the bevel frame is a non-client band laid out in WM_NCCALCSIZE and drawn in
// WM_NCPAINT, inside the window's border.
#include "platform/ui/ScrollingWinControl.h"

#include "platform/ui/Canvas.h"
#include "platform/ui/Messages.h"

namespace {

unsigned EdgeFlags(TBevelEdges Edges)
{
    return (Edges.Contains(beLeft) ? unsigned{BF_LEFT} : 0u) | (Edges.Contains(beTop) ? unsigned{BF_TOP} : 0u) |
           (Edges.Contains(beRight) ? unsigned{BF_RIGHT} : 0u) | (Edges.Contains(beBottom) ? unsigned{BF_BOTTOM} : 0u);
}

unsigned KindFlags(TBevelKind Kind)
{
    switch (Kind) {
    case TBevelKind::bkSoft: return BF_SOFT;
    case TBevelKind::bkFlat: return BF_FLAT;
    default: return 0;
    }
}

// The DrawEdge border of one cut: the outer or the inner line of a raised or sunken edge.
unsigned CutEdge(TBevelCut Cut, bool Outer)
{
    switch (Cut) {
    case TBevelCut::bvLowered: return Outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
    case TBevelCut::bvRaised: return Outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
    default: return 0;
    }
}

// One line of a space cut on each bevelled edge, in the window's colour; R shrinks by it.
void FillSpaceLine(TCanvas& Canvas, TRect& R, TBevelEdges Edges, TColor Face)
{
    Canvas.Brush()->SetColor(Face);
    if (Edges.Contains(beLeft)) {
        Canvas.FillRect(Rect(R.Left, R.Top, R.Left + 1, R.Bottom));
        ++R.Left;
    }
    if (Edges.Contains(beTop)) {
        Canvas.FillRect(Rect(R.Left, R.Top, R.Right, R.Top + 1));
        ++R.Top;
    }
    if (Edges.Contains(beRight)) {
        Canvas.FillRect(Rect(R.Right - 1, R.Top, R.Right, R.Bottom));
        --R.Right;
    }
    if (Edges.Contains(beBottom)) {
        Canvas.FillRect(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
        --R.Bottom;
    }
}

}  // namespace

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csNeedsBorderPaint);
}

void TScrollingWinControl::SetBevelEdges(TBevelEdges Value)
{
    if (Value == FBevelEdges)
        return;
    FBevelEdges = Value;
    BevelChanged();
}

void TScrollingWinControl::SetBevelInner(TBevelCut Value)
{
    if (Value == FBevelInner)
        return;
    FBevelInner = Value;
    BevelChanged();
}

void TScrollingWinControl::SetBevelOuter(TBevelCut Value)
{
    if (Value == FBevelOuter)
        return;
    FBevelOuter = Value;
    BevelChanged();
}

void TScrollingWinControl::SetBevelKind(TBevelKind Value)
{
    if (Value == FBevelKind)
        return;
    FBevelKind = Value;
    BevelChanged();
}

void TScrollingWinControl::SetBevelWidth(int Value)
{
    if (Value == FBevelWidth)
        return;
    FBevelWidth = Value;
    BevelChanged();
}

void TScrollingWinControl::BevelChanged() { RecreateWnd(); }

int TScrollingWinControl::BevelFrameWidth() const
{
    if (FBevelKind == TBevelKind::bkNone)
        return 0;
    const int cuts = (FBevelInner != TBevelCut::bvNone ? 1 : 0) + (FBevelOuter != TBevelCut::bvNone ? 1 : 0);
    return cuts * FBevelWidth;
}

void TScrollingWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCCALCSIZE: {
        TWinControl::Dispatch(Message);
        auto& area = *reinterpret_cast<TRect*>(Message.LParam);
        const int frame = BevelFrameWidth();
        area.Left += FBevelEdges.Contains(beLeft) ? frame : 0;
        area.Top += FBevelEdges.Contains(beTop) ? frame : 0;
        area.Right -= FBevelEdges.Contains(beRight) ? frame : 0;
        area.Bottom -= FBevelEdges.Contains(beBottom) ? frame : 0;
        return;
    }
    case WM_NCPAINT:
        TWinControl::Dispatch(Message);
        PaintBevels(reinterpret_cast<HDC>(Message.WParam));
        return;
    default: TWinControl::Dispatch(Message); return;
    }
}

void TScrollingWinControl::PaintBevels(HDC DC)
{
    if (BevelFrameWidth() == 0)
        return;
    const int border = BorderStyle() == TBorderStyle::bsSingle ? (Ctl3D() ? 2 : 1) : 0;
    TRect band = Rect(0, 0, Width(), Height());
    band.Inflate(-border, -border);
    const unsigned flags = EdgeFlags(FBevelEdges) | KindFlags(FBevelKind) | BF_ADJUST;
    TCanvas canvas;
    canvas.BeginPaint(DC);
    // Outer cut first, each line BevelWidth pixels deep; a space cut is a band of the face colour.
    for (const bool outer : {true, false}) {
        const TBevelCut cut = outer ? FBevelOuter : FBevelInner;
        for (int i = 0; i < FBevelWidth && cut != TBevelCut::bvNone; ++i) {
            if (cut == TBevelCut::bvSpace) {
                FillSpaceLine(canvas, band, FBevelEdges, Color());
            } else {
                canvas.DrawEdge(band, CutEdge(cut, outer), flags);
            }
        }
    }
    canvas.EndPaint();
}
