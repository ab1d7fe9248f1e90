// Cell looks the painters share: check boxes and buttons in cells, fixed-cell backgrounds, the
// raised cell frame and the highlight and row colours.
#include "datagrid/DBGridEhDraw.h"

#include "datagrid/DBGridEh.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Themes.h"

#include <algorithm>
#include <cmath>

namespace {

// Buttons of other rows are painted here first and blended onto the cell; it grows to the
// largest button asked for and never shrinks.
TBitmap& ButtonBlendBitmap()
{
    static TBitmap bitmap;
    return bitmap;
}

void PaintButtonOpaque(TCanvas* Canvas, const TRect& ARect, TEditButtonStyleEh Style, TBitmap* Glyph, bool Flat,
                       bool Pressed)
{
    if (Style != TEditButtonStyleEh::ebsGlyphEh) {
        PaintButtonFace(Canvas, ARect, clBtnShadow, TCheckBoxState::cbUnchecked, true, false, Flat,
                        Pressed ? bppUpperEh : bppNoneEh, EditButtonDrawStyle(Style));
        return;
    }
    TRect face = ARect;
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (Flat) {
        Canvas->FillRect(face);
        Canvas->Brush()->SetColor(clBtnShadow);
        Canvas->FrameRect(face);
    } else {
        Canvas->DrawEdge(face, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    }
    DrawGraphicClipped(Glyph, Canvas, TAlignment::taCenter, 0, ARect);
}

}  // namespace

void PaintCheckBoxInCell(TCanvas* Canvas, const TRect& ARect, int State, bool Flat)
{
    const TSize size = DefaultCheckBoxSize();
    const int left = ARect.Left + std::max(0, (ARect.Width() - size.cx) / 2);
    const int top = ARect.Top + std::max(0, (ARect.Height() - size.cy) / 2);
    const TRect box{left, top, left + size.cx, top + size.cy};
    const auto checkState = State == 1 ? TCheckBoxState::cbChecked
                            : State == 2 ? TCheckBoxState::cbGrayed
                                         : TCheckBoxState::cbUnchecked;
    // A cell lower (or narrower) than the box shows the box cut, not shrunk.
    const int saved = NarrowCanvasClip(Canvas, ARect);
    PaintButtonFace(Canvas, box, clBtnShadow, checkState, true, false, Flat, bppNoneEh, TDrawButtonStyleEh::dbsCheckBoxEh);
    RestoreNarrowedClip(Canvas, saved);
}

void PaintCellButton(TCanvas* Canvas, const TRect& ARect, TEditButtonStyleEh Style, TBitmap* Glyph, bool Flat,
                     bool Pressed, int Transparency)
{
    if (ARect.IsEmpty())
        return;
    if (Transparency <= 0) {
        const int saved = NarrowCanvasClip(Canvas, ARect);
        PaintButtonOpaque(Canvas, ARect, Style, Glyph, Flat, Pressed);
        RestoreNarrowedClip(Canvas, saved);
        return;
    }
    TBitmap& buffer = ButtonBlendBitmap();
    if (buffer.Width() < ARect.Width() || buffer.Height() < ARect.Height())
        buffer.SetSize(std::max(buffer.Width(), ARect.Width()), std::max(buffer.Height(), ARect.Height()));
    const TRect local{0, 0, ARect.Width(), ARect.Height()};
    PaintButtonOpaque(buffer.Canvas(), local, Style, Glyph, Flat, Pressed);
    const int alpha = static_cast<int>(std::trunc((100 - std::min(Transparency, 100)) * 2.55));
    Canvas->DrawBlended(ARect, &buffer, local, alpha);
}

void FillFixedCellBackground(TCanvas* Canvas, const TRect& ARect, bool Themed, bool Raised, bool Flat,
                             const TRect& ThemeRect, bool Down, bool Hot)
{
    if (Themed && Raised && Flat) {
        DrawGradientRect(Canvas, ARect, BlendColors(clBtnFace, clWhite, 10), BlendColors(clBtnFace, clBlack, 5));
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        return;
    }
    if (Themed && Raised) {
        const TThemedElementDetails details = ThemeServices().GetElementDetails(
            Down || Hot ? TThemedHeader::thHeaderItemPressed : TThemedHeader::thHeaderItemNormal);
        ThemeServices().DrawElement(Canvas, details, ThemeRect.IsEmpty() ? ARect : ThemeRect);
        return;
    }
    if (Raised && Flat && ThemeServices().ThemesEnabled()) {
        DrawGradientRect(Canvas, ARect, clBtnHighlight, Canvas->Brush()->Color());
        return;
    }
    Canvas->FillRect(ARect);
}

void TCustomDBGridEh::Draw3DCellFrame(TCanvas* ACanvas, const TRect& ARect, bool Pressed)
{
    TRect frame = ARect;
    const unsigned edge = Pressed ? BDR_SUNKENINNER : BDR_RAISEDINNER;
    if (!Flat()) {
        ACanvas->DrawEdge(frame, edge, BF_RECT);
        return;
    }
    // Flat: the lit sides are plain lines of the cell's brush, the shaded ones stay.
    const TRect& r = ARect;
    if (Pressed) {
        ACanvas->FillRect(TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom});
        ACanvas->FillRect(TRect{r.Right - 1, r.Top, r.Right, r.Bottom});
    } else {
        ACanvas->FillRect(TRect{r.Left, r.Top, r.Right, r.Top + 1});
        ACanvas->FillRect(TRect{r.Left, r.Top, r.Left + 1, r.Bottom});
    }
    ACanvas->DrawEdge(frame, edge, Pressed ? BF_TOPLEFT : BF_BOTTOMRIGHT);
}

bool DataCellHighlighted(const TDataCellHighlightEh& Cell, TGridDrawState& State, bool& Emphasis)
{
    Emphasis = Cell.InSelection;
    if (Cell.InSelection) {
        State.Include(gdSelected);
    } else {
        Emphasis = Cell.GridFocused && Cell.HighlightFocus;
        if (Cell.RowHighlight && Cell.CurrentRow && Cell.NothingSelected && !Cell.CurrentCell) {
            Emphasis = true;
            State.Include(gdSelected);
        }
    }
    const bool marked = State.Contains(gdSelected) || (Cell.CurrentRow && Cell.RowSelect);
    const bool highlighted = marked && (Cell.AlwaysShowSelection || Emphasis) &&
                             (!Cell.UpdatesSuppressed || Cell.RowSelect);
    if (!highlighted)
        return false;
    State.Include(gdSelected);
    return true;
}

bool PickDataCellHighlightColors(const TDataCellHighlightEh& Cell, TGridDrawState& State, TColor& Background,
                                 TFont* Font)
{
    bool emphasis = false;
    if (!DataCellHighlighted(Cell, State, emphasis))
        return false;
    if (Cell.GridFocused) {
        Background = clHighlight;
        Font->SetColor(clHighlightText);
    } else if (Cell.CurrentRow && (Cell.CurrentCell || Cell.RowSelect) && (emphasis || Cell.AlwaysShowSelection)) {
        Background = clBtnShadow;
        Font->SetColor(clHighlightText);
    } else {
        Background = clBtnFace;
    }
    return true;
}

void PickFixedCellHighlightColors(bool Selected, bool IndicatorOrTitle, bool GridFocused, TColor& Background,
                                  TFont* Font)
{
    if (!Selected)
        return;
    if (IndicatorOrTitle) {
        Background = RGB(64, 64, 64);
        Font->SetColor(clWhite);
    } else if (GridFocused) {
        Background = clHighlight;
        Font->SetColor(clHighlightText);
    } else {
        Background = clBtnFace;
    }
}

TColor OddEvenRowColor(TColor ColumnColor, TColor GridColor, TColor OddRowColor, TColor EvenRowColor,
                       bool RecordNumbersKnown, int RecNo)
{
    if (ColumnColor != GridColor || OddRowColor == EvenRowColor || !RecordNumbersKnown)
        return ColumnColor;
    return RecNo % 2 != 0 ? OddRowColor : EvenRowColor;
}
