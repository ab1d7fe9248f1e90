// The button-face painters: drop-down, ellipsis, spin, plus/minus and arrow faces and check
// boxes, themed through the theme services or classic through frame and edge drawing; the
// cache front end PaintButtonFace; the default sizes of edit buttons and check boxes.
#include "controls/ToolCtrlsEh.h"

#include "platform/core/Rounding.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/Themes.h"

#include <algorithm>
#include <vector>

namespace {

using TState = TThemedElementDetails::TState;

// Rows of a glyph as point pairs: each pair is one row from its first point up to (not
// including) its second.
using TGlyphRows = std::vector<TPoint>;

void AddRow(TGlyphRows& Rows, int X, int Y, int Length)
{
    Rows.push_back({X, Y});
    Rows.push_back({X + Length, Y});
}

TRect Deflated(TRect R, int By)
{
    R.Inflate(-By, -By);
    return R;
}

void FrameWith(TCanvas* Canvas, const TRect& R, TColor Color)
{
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FrameRect(R);
}

void FillWith(TCanvas* Canvas, const TRect& R, TColor Color)
{
    if (R.IsEmpty())
        return;
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
}

// The largest square in R, centred; an odd difference leaves the extra pixel right or below.
TRect CentredSquare(const TRect& R)
{
    const int Side = std::min(R.Width(), R.Height());
    return Bounds(R.Left + (R.Width() - Side) / 2, R.Top + (R.Height() - Side) / 2, Side, Side);
}

// Where the glyph of a face goes: inside the face's edge, one pixel right and down when pressed.
TRect GlyphArea(const TRect& Face, bool Pressed, bool Flat)
{
    TRect Inner = Deflated(Face, Flat && !ThemesActive() ? 1 : 2);
    if (Pressed)
        Inner.Offset(1, 1);
    return Inner;
}

// Paints glyph rows: shaded with themes; classic in Color, or embossed (highlight one pixel
// right and down under the shadow) when disabled and Emboss.
void PaintGlyphRows(TCanvas* Canvas, const TGlyphRows& Rows, bool Enabled, TColor Color, bool Emboss, bool SwapShades)
{
    if (Rows.empty())
        return;
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    Canvas->Pen()->SetMode(TPenMode::pmCopy);
    if (ThemesActive()) {
        TColor Dark = Enabled ? BlendColors(cl3DDkShadow, clBlack, 30) : clGrayText;
        TColor Light = Enabled ? cl3DDkShadow : BlendColors(clGrayText, clWhite, 30);
        if (SwapShades)
            std::swap(Dark, Light);
        DrawShadedSegments(Canvas, {0, 0}, Rows, Dark, Light);
        return;
    }
    if (Enabled) {
        DrawShadedSegments(Canvas, {0, 0}, Rows, Color, Color);
    } else if (Emboss) {
        DrawShadedSegments(Canvas, {1, 1}, Rows, clBtnHighlight, clBtnHighlight);
        DrawShadedSegments(Canvas, {0, 0}, Rows, clBtnShadow, clBtnShadow);
    } else {
        DrawShadedSegments(Canvas, {0, 0}, Rows, clGrayText, clGrayText);
    }
}

TState ThemedState(bool Pressed, bool Hot, bool Enabled)
{
    if (!Enabled)
        return TState::Disabled;
    if (Pressed)
        return TState::Pressed;
    return Hot ? TState::Hot : TState::Normal;
}

// A face without a glyph: a push button, or flat a tool-bar button that looks hot unless
// pressed or disabled; classic a raised (sunken when pressed) edge, or flat a plain fill.
void PaintPlainFace(TCanvas* Canvas, const TRect& Rect, bool Pressed, bool Hot, bool Flat, bool Enabled)
{
    if (ThemesActive()) {
        TThemedElementDetails Details = Flat ? ThemeServices().GetElementDetails(TThemedToolBar::ttbButtonNormal)
                                             : ThemeServices().GetElementDetails(TThemedButton::tbPushButtonNormal);
        Details.State = ThemedState(Pressed, Flat || Hot, Enabled);
        ThemeServices().DrawElement(Canvas, Details, Rect);
        return;
    }
    if (Flat) {
        FillWith(Canvas, Rect, clBtnFace);
        return;
    }
    TRect Face = Rect;
    Canvas->DrawEdge(Face, Pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

// DrawFrameControl states shared by the classic scroll faces.
unsigned ScrollStates(unsigned Kind, bool Pressed, bool Flat, bool Enabled)
{
    return Kind | (Pressed ? DFCS_PUSHED : 0u) | (Flat ? DFCS_FLAT : 0u) | (Enabled ? 0u : DFCS_INACTIVE);
}

bool IsSpinPair(TDrawButtonStyleEh DrawStyle)
{
    return DrawStyle == TDrawButtonStyleEh::dbsUpDownEh || DrawStyle == TDrawButtonStyleEh::dbsAltUpDownEh;
}

// Copies the cached face for Key onto Canvas at the top left of Face.
void CopyFace(TCanvas* Canvas, const TRect& Face, TButtonBitmapKeyEh Key)
{
    if (Face.IsEmpty())
        return;
    Key.Width = Face.Width();
    Key.Height = Face.Height();
    Canvas->Draw(Face.Left, Face.Top, ButtonsBitmapCache().BitmapFor(Key));
}

// The check box: the largest square in Rect, one pixel smaller each side when flat classic.
// Its face is cached unflat: the flat frame is drawn here, around the copy.
void PaintCheckBoxButtonFace(TCanvas* Canvas, const TRect& Rect, TColor FrameColor, TCheckBoxState CheckState,
                             bool Enabled, bool Hot, bool Flat, int PressedPart)
{
    const bool ClassicFlat = Flat && !ThemesActive();
    TRect Box = CentredSquare(Rect);
    if (ClassicFlat)
        Box.Inflate(-1, -1);
    TButtonBitmapKeyEh Key;
    Key.DrawStyle = TDrawButtonStyleEh::dbsCheckBoxEh;
    Key.CheckState = CheckState;
    Key.Pressed = PressedPart != bppNoneEh;
    Key.Hot = Hot;
    Key.Enabled = Enabled;
    CopyFace(Canvas, Box, Key);
    if (!Flat)
        return;
    if (ClassicFlat)
        Box.Inflate(1, 1);
    if (ClassicFlat && Hot)
        Canvas->DrawEdge(Box, BDR_SUNKENOUTER, BF_RECT);
    else
        FrameWith(Canvas, Box, FrameColor);
}

}  // namespace

// --- Geometry -----------------------------------------------------------------------------

TEllipsisDotsEh EllipsisDotsForWidth(int InnerWidth)
{
    return {InnerWidth > 7 ? 2 : 1, InnerWidth < 12 ? 1 : 2};
}

TPlusMinusBarsEh PlusMinusBarsForSide(int M, bool Plus, bool Flat)
{
    int Length = std::max(M * 4 / 7, 1);
    const int Thickness = std::max(Length / 3, 1);
    if (Length % 2 != M % 2)
        Length += Flat ? -1 : 1;
    // The crossing bar centres only when both bars have the same parity.
    if (Plus && Length % 2 != Thickness % 2)
        Length += M < 12 ? 1 : -1;
    return {std::max(Length, 1), Thickness};
}

int SpinArrowWidth(int SmallerSide)
{
    if (SmallerSide >= 19)
        return 9;
    if (SmallerSide >= 16)
        return 7;
    if (SmallerSide > 11 || ThemesActive())
        return 5;
    return 3;
}

TSize DefaultCheckBoxSize()
{
    const int Side = PlatformMetrics().CheckBoxSize();
    return {Side, Side};
}

int ComputeEditButtonWidth()
{
    int Width = static_cast<int>(Round(PlatformMetrics().ScreenFontHeight() / 3.0L * 2));
    const bool WantEven = ThemesActive();
    if ((Width % 2 == 0) != WantEven)
        ++Width;
    return std::min(Width, GetSystemMetrics(SM_CXVSCROLL));
}

int EditButtonHeightForWidth(int Width, bool Flat)
{
    return Flat ? static_cast<int>(Round(Width * 3 / 2.0L)) : Width;
}

TRect PlaceCheckBoxInRect(const TRect& Rect, TAlignment HorzAlignment, TTextLayout VertLayout)
{
    const TSize Box = DefaultCheckBoxSize();
    TRect Result = Bounds(Rect.Left, Rect.Top, std::min(Box.cx, Rect.Width()), std::min(Box.cy, Rect.Height()));
    if (Rect.Width() > Box.cx) {
        if (HorzAlignment == TAlignment::taRightJustify)
            Result.Left = Rect.Right - Result.Width();
        else if (HorzAlignment == TAlignment::taCenter)
            Result.Left = Rect.Left + Rect.Width() / 2 - Result.Width() / 2;
        Result.Right = Result.Left + std::min(Box.cx, Rect.Width());
    }
    if (Rect.Height() > Box.cy) {
        if (VertLayout == TTextLayout::tlBottom)
            Result.Top = Rect.Bottom - Result.Height();
        else if (VertLayout == TTextLayout::tlCenter)
            Result.Top = Rect.Top + Rect.Height() / 2 - Result.Height() / 2;
        Result.Bottom = Result.Top + std::min(Box.cy, Rect.Height());
    }
    return Result;
}

// --- Painters -----------------------------------------------------------------------------

void PaintDropDownFace(TCanvas* Canvas, const TRect& Rect, bool Pressed, bool Hot, bool Flat, bool Enabled)
{
    if (ThemesActive()) {
        TThemedElementDetails Details = ThemeServices().GetElementDetails(TThemedComboBox::tcDropDownButtonNormal);
        Details.State = ThemedState(Pressed, Hot, Enabled);
        ThemeServices().DrawElement(Canvas, Details, Rect);
        return;
    }
    TRect Face = Rect;
    Canvas->DrawFrameControl(Face, DFC_SCROLL, ScrollStates(DFCS_SCROLLCOMBOBOX, Pressed, Flat, Enabled));
}

void PaintEllipsisFace(TCanvas* Canvas, const TRect& Rect, bool Pressed, bool Hot, bool Flat, bool Enabled)
{
    PaintPlainFace(Canvas, Rect, Pressed, Hot, Flat, Enabled);
    const TRect Inner = GlyphArea(Rect, Pressed, Flat);
    const TEllipsisDotsEh Dots = EllipsisDotsForWidth(Inner.Width());
    const int Left = Inner.Left + (Inner.Width() - 3 * Dots.Size - 2 * Dots.Gap) / 2;
    const int Top = Inner.Top + (Inner.Height() - Dots.Size) / 2;
    // Each dot shades from its top row to its bottom row.
    for (int Dot = 0; Dot < 3; ++Dot) {
        TGlyphRows Rows;
        for (int Row = 0; Row < Dots.Size; ++Row)
            AddRow(Rows, Left + Dot * (Dots.Size + Dots.Gap), Top + Row, Dots.Size);
        PaintGlyphRows(Canvas, Rows, Enabled, clBtnText, true, false);
    }
}

void PaintUpDownFace(TCanvas* Canvas, const TRect& Rect, bool DownHalf, bool Pressed, bool Hot, bool Flat,
                     bool Enabled)
{
    if (ThemesActive()) {
        TThemedElementDetails Details =
            ThemeServices().GetElementDetails(DownHalf ? TThemedSpin::tsDownNormal : TThemedSpin::tsUpNormal);
        Details.State = ThemedState(Pressed, Hot, Enabled);
        ThemeServices().DrawElement(Canvas, Details, Rect);
        return;
    }
    TRect Face = Rect;
    Canvas->DrawFrameControl(Face, DFC_SCROLL,
                             ScrollStates(DownHalf ? DFCS_SCROLLDOWN : DFCS_SCROLLUP, Pressed, Flat, Enabled));
}

void PaintPlusMinusFace(TCanvas* Canvas, const TRect& Rect, bool Plus, bool Pressed, bool Hot, bool Flat,
                        bool Enabled)
{
    PaintPlainFace(Canvas, Rect, Pressed, Hot, Flat, Enabled);
    const TRect Inner = GlyphArea(Rect, Pressed, Flat);
    const int M = std::min(Inner.Width(), Inner.Height());
    if (M <= 0)
        return;
    const TPlusMinusBarsEh Bars = PlusMinusBarsForSide(M, Plus, Flat);
    // The horizontal bar, and for plus the vertical one through its middle, row by row.
    const int BarLeft = Inner.Left + (Inner.Width() - Bars.Length) / 2;
    const int BarTop = Inner.Top + (Inner.Height() - Bars.Thickness) / 2;
    const int StemLeft = Inner.Left + (Inner.Width() - Bars.Thickness) / 2;
    const int StemTop = Inner.Top + (Inner.Height() - Bars.Length) / 2;
    TGlyphRows Rows;
    const int First = Plus ? std::min(StemTop, BarTop) : BarTop;
    const int Last = Plus ? std::max(StemTop + Bars.Length, BarTop + Bars.Thickness) : BarTop + Bars.Thickness;
    for (int Y = First; Y < Last; ++Y) {
        if (Y >= BarTop && Y < BarTop + Bars.Thickness)
            AddRow(Rows, BarLeft, Y, Bars.Length);
        else
            AddRow(Rows, StemLeft, Y, Bars.Thickness);
    }
    PaintGlyphRows(Canvas, Rows, Enabled, clBtnText, true, false);
}

void PaintSpinArrowFace(TCanvas* Canvas, const TRect& Rect, bool Up, bool Pressed, bool Hot, bool Flat,
                        bool Enabled)
{
    PaintPlainFace(Canvas, Rect, Pressed, Hot, Flat, Enabled);
    const TRect Inner = GlyphArea(Rect, Pressed, Flat);
    const int Width = SpinArrowWidth(std::min(Rect.Width(), Rect.Height()));
    const int RowCount = Width / 2 + 1;
    const int Left = Inner.Left + (Inner.Width() - Width) / 2;
    const int Top = Inner.Top + (Inner.Height() - RowCount) / 2;
    TGlyphRows Rows;
    for (int Row = 0; Row < RowCount; ++Row) {
        const int Indent = Up ? RowCount - 1 - Row : Row;
        AddRow(Rows, Left + Indent, Top + Row, Width - 2 * Indent);
    }
    PaintGlyphRows(Canvas, Rows, Enabled, clWindowText, false, Up);
}

void PaintAltDropDownFace(TCanvas* Canvas, const TRect& Rect, bool Pressed, bool Hot, bool Flat, bool Enabled)
{
    PaintSpinArrowFace(Canvas, Rect, false, Pressed, Hot, Flat, Enabled);
}

void PaintStyledButtonFace(TCanvas* Canvas, TDrawButtonStyleEh DrawStyle, const TRect& Rect, bool DownHalf,
                           bool Pressed, bool Hot, bool Flat, bool Enabled)
{
    if (Rect.IsEmpty())
        return;
    // A flat classic face is painted larger, so that the painter's own edge falls outside
    // (hot: all but its inner line, which the hot edge then replaces).
    const bool ClassicFlat = Flat && !ThemesActive();
    TRect Face = Rect;
    if (ClassicFlat) {
        const int By = Hot ? 1 : 2;
        Face.Inflate(By, By);
        if (Hot) {
            Canvas->SaveDC();
            Canvas->IntersectClipRect(Deflated(Rect, 1));
        }
    }
    switch (DrawStyle) {
    case TDrawButtonStyleEh::dbsDropDownEh:
        PaintDropDownFace(Canvas, Face, Pressed, Hot, Flat, Enabled);
        break;
    case TDrawButtonStyleEh::dbsEllipsisEh:
        PaintEllipsisFace(Canvas, Face, Pressed, Hot, Flat, Enabled);
        break;
    case TDrawButtonStyleEh::dbsUpDownEh:
        PaintUpDownFace(Canvas, Face, DownHalf, Pressed, Hot, Flat, Enabled);
        break;
    case TDrawButtonStyleEh::dbsCheckBoxEh:
        PaintCheckBoxFace(Canvas, Face, TCheckBoxState::cbUnchecked, Hot, Pressed, Flat, Enabled);
        break;
    case TDrawButtonStyleEh::dbsPlusEh:
    case TDrawButtonStyleEh::dbsMinusEh:
        PaintPlusMinusFace(Canvas, Face, DrawStyle == TDrawButtonStyleEh::dbsPlusEh, Pressed, Hot, Flat, Enabled);
        break;
    case TDrawButtonStyleEh::dbsAltDropDownEh:
        PaintAltDropDownFace(Canvas, Face, Pressed, Hot, Flat, Enabled);
        break;
    case TDrawButtonStyleEh::dbsAltUpDownEh:
        // Themed halves overlap by a pixel, so no seam of rounded corners shows between them.
        if (ThemesActive()) {
            if (DownHalf)
                Face.Top -= 1;
            else
                Face.Bottom += 1;
        }
        PaintSpinArrowFace(Canvas, Face, !DownHalf, Pressed, Hot, Flat, Enabled);
        break;
    }
    if (ClassicFlat && Hot) {
        Canvas->RestoreDC(-1);
        TRect Edge = Rect;
        Canvas->DrawEdge(Edge, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
}

void PaintCheckBoxFace(TCanvas* Canvas, const TRect& Rect, TCheckBoxState CheckState, bool Hot, bool Pressed,
                       bool Flat, bool Enabled)
{
    TRect Box = CentredSquare(Rect);
    if (Box.IsEmpty())
        return;
    const bool Themed = ThemesActive();
    if (Flat) {
        Canvas->SaveDC();
        Canvas->IntersectClipRect(Deflated(Box, Themed ? 2 : 1));
        if (!Themed)
            Box.Inflate(1, 1);
    }
    if (Themed) {
        // Unchecked, checked and mixed, each in four states, in that order.
        const int Group = static_cast<int>(CheckState);
        const int State = static_cast<int>(ThemedState(Pressed, Hot, Enabled));
        const auto Detail =
            static_cast<TThemedButton>(static_cast<int>(TThemedButton::tbCheckBoxUncheckedNormal) + 4 * Group + State);
        ThemeServices().DrawElement(Canvas, ThemeServices().GetElementDetails(Detail), Box);
    } else {
        unsigned States = DFCS_BUTTONCHECK;
        if (CheckState == TCheckBoxState::cbChecked)
            States |= DFCS_CHECKED;
        else if (CheckState == TCheckBoxState::cbGrayed)
            States |= DFCS_CHECKED | DFCS_BUTTON3STATE;
        if (!Enabled)
            States |= DFCS_INACTIVE;
        if (Pressed)
            States |= DFCS_PUSHED;
        TRect Face = Box;
        Canvas->DrawFrameControl(Face, DFC_BUTTON, States);
    }
    if (Flat) {
        Canvas->RestoreDC(-1);
        FrameWith(Canvas, Deflated(Box, 1), !Themed && Hot ? clBtnFace : clBtnShadow);
    }
}

// --- Faces --------------------------------------------------------------------------------

void PaintButtonFace(TCanvas* Canvas, const TRect& Rect, TColor FrameColor, TCheckBoxState CheckState, bool Enabled,
                     bool Hot, bool Flat, int PressedPart, TDrawButtonStyleEh DrawStyle)
{
    if (Rect.IsEmpty())
        return;
    if (DrawStyle == TDrawButtonStyleEh::dbsCheckBoxEh) {
        PaintCheckBoxButtonFace(Canvas, Rect, FrameColor, CheckState, Enabled, Hot, Flat, PressedPart);
        return;
    }
    // A flat classic face is one pixel smaller each side, inside a frame of FrameColor.
    const bool ClassicFlat = Flat && !Hot && !ThemesActive();
    const int Shrink = ClassicFlat ? 1 : 0;
    TButtonBitmapKeyEh Key;
    Key.DrawStyle = DrawStyle;
    Key.Flat = Flat;
    Key.Hot = Hot;
    Key.Enabled = Enabled;
    if (IsSpinPair(DrawStyle)) {
        const int Half = Rect.Height() / 2;
        Key.Pressed = PressedPart == bppUpperEh;
        CopyFace(Canvas, Deflated(TRect{Rect.Left, Rect.Top, Rect.Right, Rect.Top + Half}, Shrink), Key);
        Key.DownHalf = true;
        Key.Pressed = PressedPart == bppLowerEh;
        CopyFace(Canvas, Deflated(TRect{Rect.Left, Rect.Bottom - Half, Rect.Right, Rect.Bottom}, Shrink), Key);
        // The row between the halves, and for flat classic the rows the halves left out.
        if (ClassicFlat)
            FillWith(Canvas, TRect{Rect.Left, Rect.Top + Half - 1, Rect.Right, Rect.Bottom - Half + 1}.Intersected(Rect),
                     FrameColor);
        else if (Rect.Height() % 2 != 0)
            FillWith(Canvas, TRect{Rect.Left, Rect.Top + Half, Rect.Right, Rect.Bottom - Half}, FrameColor);
    } else {
        Key.Pressed = PressedPart != bppNoneEh;
        CopyFace(Canvas, Deflated(Rect, Shrink), Key);
    }
    if (ClassicFlat)
        FrameWith(Canvas, Rect, FrameColor);
}
