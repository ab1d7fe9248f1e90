// Drawing routines the grids and edits share: colour blending, gradients, shaded segments, image
// lists centred in a cell, dotted tree lines and elements, and the popups' raised border.
#include "controls/ToolCtrlsEh.h"

#include "platform/core/Rounding.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Themes.h"

#include <algorithm>
#include <vector>

namespace {

// Color1 + Fraction of the way to Color2, per channel, rounded half to even. Both colours RGB.
TColor MixColors(TColor Color1, TColor Color2, long double Fraction)
{
    auto channel = [Fraction](int C1, int C2) { return static_cast<int>(Round(C1 + Fraction * (C2 - C1))); };
    return RGB(channel(GetRValue(Color1), GetRValue(Color2)), channel(GetGValue(Color1), GetGValue(Color2)),
               channel(GetBValue(Color1), GetBValue(Color2)));
}

// Horizontal from (X1, Y) to (X2, Y), both ends drawn.
void HorzBar(TCanvas* Canvas, int X1, int X2, int Y)
{
    Canvas->MoveTo(X1, Y);
    Canvas->LineTo(X2 + 1, Y);
}

void VertBar(TCanvas* Canvas, int X, int Y1, int Y2)
{
    Canvas->MoveTo(X, Y1);
    Canvas->LineTo(X, Y2 + 1);
}

int Scaled(int Pixels, double Scale) { return static_cast<int>(Round(Pixels * static_cast<long double>(Scale))); }

}  // namespace

TColor BlendColors(TColor Color1, TColor Color2, int Percent)
{
    return MixColors(ColorToRGB(Color1), ColorToRGB(Color2), Percent / 100.0L);
}

void DrawGradientRect(TCanvas* Canvas, const TRect& Rect, TColor Color1, TColor Color2)
{
    const int Rows = Rect.Height();
    if (Rows <= 1)
        return;
    const TColor From = ColorToRGB(Color1);
    const TColor To = ColorToRGB(Color2);
    for (int I = 0; I < Rows; ++I) {
        const TColor Color = MixColors(From, To, static_cast<long double>(I) / (Rows - 1));
        const int Y = Rect.Top + I;
        if (Rect.Width() > 1) {
            Canvas->Brush()->SetColor(Color);
            Canvas->FillRect(TRect{Rect.Left, Y, Rect.Right, Y + 1});
        } else {
            Canvas->Pen()->SetColor(Color);
            Canvas->MoveTo(Rect.Left, Y);
            Canvas->LineTo(Rect.Right, Y);
        }
    }
}

void DrawShadedSegments(TCanvas* Canvas, TPoint Origin, std::span<const TPoint> Points, TColor Color1, TColor Color2)
{
    const int Segments = static_cast<int>(Points.size() / 2);
    const TColor From = ColorToRGB(Color2);
    const TColor To = ColorToRGB(Color1);
    const int Steps = std::max(Segments - 1, 1);
    for (int I = 0; I < Segments; ++I) {
        const TPoint A = Points[static_cast<std::size_t>(2 * I)];
        const TPoint B = Points[static_cast<std::size_t>(2 * I + 1)];
        Canvas->Pen()->SetColor(MixColors(From, To, static_cast<long double>(I) / Steps));
        Canvas->MoveTo(Origin.X + A.X, Origin.Y + A.Y);
        Canvas->LineTo(Origin.X + B.X, Origin.Y + B.Y);
    }
}

TColor ColorForImageList(TColor Color)
{
    if (Color == clNone)
        return CLR_NONE;
    if (Color == clDefault)
        return CLR_DEFAULT;
    return ColorToRGB(Color);
}

void DrawImageListCentered(TCanvas* Canvas, const TRect& Rect, TImageList* Images, bool Selected, int Index)
{
    const TRect Image = Bounds((Rect.Left + Rect.Right - Images->Width()) / 2,
                               (Rect.Top + Rect.Bottom - Images->Height()) / 2, Images->Width(), Images->Height());
    const TColor Foreground = ColorForImageList(Selected ? clHighlight : Images->BlendColor());
    unsigned Style = Images->ImageType() == TImageType::itMask ? ILD_MASK : ILD_NORMAL;
    if (Selected)
        Style |= ILD_SELECTED;
    auto draw = [&] {
        Images->DrawEx(Canvas, Index, Image.Left, Image.Top, 0, 0, ColorForImageList(Images->BkColor()), Foreground,
                       Style);
    };
    if (Image.Intersected(Rect) == Image) {
        draw();
        return;
    }
    TRegion Saved;
    const bool HadClip = Canvas->GetClipRgn(Saved) == 1;
    Canvas->IntersectClipRect(Rect);
    draw();
    Canvas->SelectClipRgn(HadClip ? &Saved : nullptr);
}

void DrawDottedLine(TCanvas* Canvas, TPoint Start, int Length, bool Parity, bool Horizontal)
{
    if (((Start.X + Start.Y) % 2 != 0) != Parity) {
        (Horizontal ? Start.X : Start.Y) += 1;
        --Length;
    }
    if (Length <= 0)
        return;
    const int Spacing = 2 * std::max(Canvas->Pen()->Width(), 1);
    const int Dots = Length / Spacing + Length % 2;
    std::vector<TPoint> Points;
    Points.reserve(static_cast<std::size_t>(2 * Dots));
    for (int I = 0; I < Dots; ++I) {
        const TPoint Dot = Horizontal ? TPoint{Start.X + I * Spacing, Start.Y} : TPoint{Start.X, Start.Y + I * Spacing};
        Points.push_back(Dot);
        Points.push_back(Horizontal ? TPoint{Dot.X + 1, Dot.Y} : TPoint{Dot.X, Dot.Y + 1});
    }
    const std::vector<int> Counts(static_cast<std::size_t>(Dots), 2);
    Canvas->PolyPolyline(Points, Counts);
}

void DrawTreeElement(TCanvas* Canvas, const TRect& Rect, TTreeElementEh Style, bool ShiftLeft, double ScaleY,
                     double ScaleX, bool Parity)
{
    const TPoint Mid{(Rect.Left + Rect.Right) / 2, (Rect.Top + Rect.Bottom) / 2};
    Canvas->Pen()->SetColor(clBtnShadow);
    auto vertical = [&](int Top, int Bottom) { DrawDottedLine(Canvas, {Mid.X, Top}, Bottom - Top, Parity, false); };
    auto toRight = [&](int Left) { DrawDottedLine(Canvas, {Left, Mid.Y}, Rect.Right - Left, Parity, true); };

    if (Style >= TTreeElementEh::tehCrossUpDown) {
        vertical(Style == TTreeElementEh::tehCrossDown ? Mid.Y : Rect.Top,
                 Style == TTreeElementEh::tehCrossUp ? Mid.Y : Rect.Bottom);
        if (Style != TTreeElementEh::tehVLine)
            toRight(Mid.X);
        return;
    }

    const int HalfWidth = Scaled(4, ScaleX);
    const int HalfHeight = Scaled(4, ScaleY);
    TRect Box{Mid.X - HalfWidth, Mid.Y - HalfHeight, Mid.X + HalfWidth + 1, Mid.Y + HalfHeight + 1};
    const bool Collapsed = Style >= TTreeElementEh::tehPlusUpDown;
    const int Kind = static_cast<int>(Style) % 4;  // 0 up and down, 1 up, 2 down, 3 alone
    if (Kind != 3)
        toRight(Box.Right - 1 + Scaled(1, ScaleX));
    if (Kind == 0 || Kind == 1)
        vertical(Rect.Top, Box.Top);
    if (Kind == 0 || Kind == 2)
        vertical(Box.Bottom - 1 + Scaled(1, ScaleY), Rect.Bottom);

    if (ShiftLeft)
        Box.Offset(-1, 0);
    if (ThemesActive()) {
        const TThemedTreeview Glyph = Collapsed ? TThemedTreeview::ttGlyphClosed : TThemedTreeview::ttGlyphOpened;
        ThemeServices().DrawElement(Canvas, ThemeServices().GetElementDetails(Glyph), Box);
    } else {
        const TColor SavedBrushColor = Canvas->Brush()->Color();
        Canvas->Brush()->SetColor(clWindow);
        Canvas->Rectangle(Box);
        Canvas->Pen()->SetColor(clWindowText);
        const int BoxMidX = (Box.Left + Box.Right - 1) / 2;
        HorzBar(Canvas, Box.Left + Scaled(2, ScaleX), Box.Right - 1 - Scaled(2, ScaleX), Mid.Y);
        if (Collapsed)
            VertBar(Canvas, BoxMidX, Box.Top + Scaled(2, ScaleY), Box.Bottom - 1 - Scaled(2, ScaleY));
        Canvas->Brush()->SetColor(SavedBrushColor);
    }
}

void DrawRaisedPopupBorder(TCanvas* Canvas, TRect Rect)
{
    Canvas->DrawEdge(Rect, BDR_RAISEDOUTER, BF_RECT);
    Rect.Left += 1;
    Rect.Top += 1;
    Rect.Right -= 1;
    Rect.Bottom -= 1;
    Canvas->DrawEdge(Rect, BDR_RAISEDINNER, BF_RECT);
}

void PaintPopupFrame(HDC DC, TWinControl* Popup, const std::function<void(TCanvas*, TRect)>& PaintBorder)
{
    TCanvas canvas;
    canvas.BeginPaint(DC);
    const TRect window = Rect(0, 0, Popup->Width(), Popup->Height());
    if (Popup->Ctl3D()) {
        PaintBorder(&canvas, window);
    } else {
        canvas.Brush()->SetColor(clWindowFrame);
        canvas.FrameRect(window);
    }
    canvas.EndPaint();
}
