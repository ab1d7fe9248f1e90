// TCanvas: the classic 3-D edges and frame controls, drawn in the system colours.
#include "platform/ui/Canvas.h"

#include "platform/ui/CanvasTarget.h"
#include "platform/ui/QtConvert.h"

#include <algorithm>

namespace {

struct TEdgeColors {
    TColor TopLeft;
    TColor BottomRight;
};

// Colours of the outer (first) and inner (second) border line.
std::optional<TEdgeColors> OuterColors(unsigned Edge, unsigned Flags)
{
    if ((Edge & BDR_OUTER) == 0)
        return std::nullopt;
    if ((Flags & BF_MONO) != 0)
        return TEdgeColors{clWindowFrame, clWindowFrame};
    if ((Flags & BF_FLAT) != 0)
        return TEdgeColors{clBtnShadow, clBtnShadow};
    const bool soft = (Flags & BF_SOFT) != 0;
    if ((Edge & BDR_RAISEDOUTER) != 0)
        return TEdgeColors{soft ? clBtnHighlight : cl3DLight, cl3DDkShadow};
    return TEdgeColors{soft ? cl3DDkShadow : clBtnShadow, clBtnHighlight};
}

std::optional<TEdgeColors> InnerColors(unsigned Edge, unsigned Flags)
{
    if ((Edge & BDR_INNER) == 0)
        return std::nullopt;
    if ((Flags & BF_MONO) != 0)
        return TEdgeColors{clWindow, clWindow};
    if ((Flags & BF_FLAT) != 0)
        return TEdgeColors{clBtnFace, clBtnFace};
    const bool soft = (Flags & BF_SOFT) != 0;
    if ((Edge & BDR_RAISEDINNER) != 0)
        return TEdgeColors{soft ? cl3DLight : clBtnHighlight, clBtnShadow};
    return TEdgeColors{soft ? clBtnShadow : cl3DDkShadow, cl3DLight};
}

// One line along each side in Flags, top and left first so the bottom-right colour takes the
// two far corners; R shrinks past the line.
void DrawBorderLine(QPainter* Painter, TRect& R, const TEdgeColors& Colors, unsigned Flags)
{
    if (Painter != nullptr && !R.IsEmpty()) {
        const QColor topLeft = ToQColor(Colors.TopLeft);
        const QColor bottomRight = ToQColor(Colors.BottomRight);
        if ((Flags & BF_LEFT) != 0)
            Painter->fillRect(QRect(R.Left, R.Top, 1, R.Height()), topLeft);
        if ((Flags & BF_TOP) != 0)
            Painter->fillRect(QRect(R.Left, R.Top, R.Width(), 1), topLeft);
        if ((Flags & BF_RIGHT) != 0)
            Painter->fillRect(QRect(R.Right - 1, R.Top, 1, R.Height()), bottomRight);
        if ((Flags & BF_BOTTOM) != 0)
            Painter->fillRect(QRect(R.Left, R.Bottom - 1, R.Width(), 1), bottomRight);
    }
    R = Rect(R.Left + ((Flags & BF_LEFT) != 0 ? 1 : 0), R.Top + ((Flags & BF_TOP) != 0 ? 1 : 0),
             R.Right - ((Flags & BF_RIGHT) != 0 ? 1 : 0), R.Bottom - ((Flags & BF_BOTTOM) != 0 ? 1 : 0));
}

// The largest square in R, centred.
TRect CentredSquare(const TRect& R)
{
    const int side = std::min(R.Width(), R.Height());
    return Bounds(R.Left + (R.Width() - side) / 2, R.Top + (R.Height() - side) / 2, side, side);
}

// The classic check mark: seven columns three units tall, down then up, scaled to fit Box.
void PaintCheckMark(QPainter& Painter, const TRect& Box, const QColor& Color)
{
    const int unit = std::max(1, Box.Width() / 9);
    const int left = Box.Left + (Box.Width() - 7 * unit) / 2;
    const int top = Box.Top + (Box.Height() - 7 * unit) / 2;
    for (int column = 0; column < 7; ++column) {
        const int row = column <= 2 ? 2 + column : 6 - column;
        Painter.fillRect(QRect(left + column * unit, top + row * unit, unit, 3 * unit), Color);
    }
}

// A solid triangle pointing in Direction (a DFCS_SCROLL code) centred on (CX, CY).
void PaintArrow(QPainter& Painter, unsigned Direction, int CX, int CY, int Size, const QColor& Color)
{
    for (int i = 0; i < Size; ++i) {
        const int span = 2 * (Size - i) - 1;
        const int offset = i - Size / 2;
        switch (Direction) {
        case DFCS_SCROLLUP:
            Painter.fillRect(QRect(CX - span / 2, CY - offset, span, 1), Color);
            break;
        case DFCS_SCROLLLEFT:
            Painter.fillRect(QRect(CX - offset, CY - span / 2, 1, span), Color);
            break;
        case DFCS_SCROLLRIGHT:
            Painter.fillRect(QRect(CX + offset, CY - span / 2, 1, span), Color);
            break;
        default:  // down, and the combo box's drop-down arrow
            Painter.fillRect(QRect(CX - span / 2, CY + offset, span, 1), Color);
            break;
        }
    }
}

}  // namespace

bool TCanvas::DrawEdge(TRect& R, unsigned Edge, unsigned Flags)
{
    TTarget target(*this);
    QPainter* painter = target && target.UseCopy() ? &target.Painter() : nullptr;
    TRect inside = R;
    if (const auto outer = OuterColors(Edge, Flags))
        DrawBorderLine(painter, inside, *outer, Flags);
    if (const auto inner = InnerColors(Edge, Flags))
        DrawBorderLine(painter, inside, *inner, Flags);
    if (painter != nullptr && (Flags & BF_MIDDLE) != 0 && !inside.IsEmpty())
        painter->fillRect(ToQRect(inside), ToQColor((Flags & (BF_FLAT | BF_MONO)) != 0 ? clWindow : clBtnFace));
    if ((Flags & BF_ADJUST) != 0)
        R = inside;
    return true;
}

bool TCanvas::DrawFrameControl(TRect& R, unsigned Type, unsigned State)
{
    if (Type != DFC_BUTTON && Type != DFC_SCROLL)
        return false;
    const unsigned look = ((State & DFCS_FLAT) != 0 ? unsigned{BF_FLAT} : 0u) | ((State & DFCS_MONO) != 0 ? unsigned{BF_MONO} : 0u);
    const bool pushed = (State & DFCS_PUSHED) != 0;
    const bool inactive = (State & DFCS_INACTIVE) != 0;
    const unsigned kind = State & 0xFF;

    if (Type == DFC_BUTTON && (kind & DFCS_BUTTONPUSH) != 0) {
        TRect face = R;
        const bool down = pushed || (State & DFCS_CHECKED) != 0;
        return DrawEdge(face, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT | look);
    }

    TTarget target(*this);
    if (!target || !target.UseCopy())
        return true;
    QPainter& painter = target.Painter();

    if (Type == DFC_SCROLL) {
        // Pressed or flat, the arrow still sits on the button face, not on the window colour.
        TRect face = R;
        DrawEdge(face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST | (pushed ? BF_FLAT : look));
        if (!face.IsEmpty())
            painter.fillRect(ToQRect(face), ToQColor(clBtnFace));
        const int size = std::max(2, (std::min(R.Width(), R.Height()) - 4) / 3);
        const int shift = pushed ? 1 : 0;
        const int cx = (R.Left + R.Right) / 2 + shift;
        const int cy = (R.Top + R.Bottom) / 2 + shift;
        if (inactive) {  // embossed: a highlight one pixel down and right, the shadow on top
            PaintArrow(painter, kind, cx + 1, cy + 1, size, ToQColor(clBtnHighlight));
            PaintArrow(painter, kind, cx, cy, size, ToQColor(clBtnShadow));
        } else {
            PaintArrow(painter, kind, cx, cy, size, ToQColor(clBtnText));
        }
        return true;
    }

    TRect box = CentredSquare(R);
    const QColor background = ToQColor(pushed || inactive ? clBtnFace : clWindow);
    const QColor mark = ToQColor(inactive || (kind & DFCS_BUTTON3STATE) != 0 ? clGrayText : clWindowText);
    if ((kind & DFCS_BUTTONRADIO) != 0) {
        const QRect circle = ToQRect(box).adjusted(0, 0, -1, -1);
        painter.setBrush(background);
        painter.setPen(QPen(ToQColor(clBtnShadow), 0));
        painter.drawEllipse(circle);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ToQColor(clBtnHighlight), 0));
        painter.drawArc(circle, -135 * 16, 180 * 16);  // the lower right half is lit
        if ((State & DFCS_CHECKED) != 0) {
            const int dot = std::max(2, box.Width() / 3);
            painter.setBrush(mark);
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(QRect(box.Left + (box.Width() - dot) / 2, box.Top + (box.Height() - dot) / 2, dot, dot));
        }
        return true;
    }
    DrawEdge(box, EDGE_SUNKEN, BF_RECT | BF_ADJUST | look);
    painter.fillRect(ToQRect(box), background);
    if ((State & DFCS_CHECKED) != 0)
        PaintCheckMark(painter, box, mark);
    return true;
}
