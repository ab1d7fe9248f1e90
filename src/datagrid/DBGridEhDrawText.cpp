// The cell painters' text writers and clipped images.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhDraw.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr unsigned AlignmentFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};  // by TAlignment

unsigned AlignmentFlag(TAlignment Alignment) { return AlignmentFlags[static_cast<int>(Alignment)]; }

// The brush left clear while text is written over what is there, restored when done.
class TClearBrushScope {
public:
    TClearBrushScope(TCanvas* Canvas, bool Clear) : FCanvas(Canvas), FStyle(Canvas->Brush()->Style()), FClear(Clear)
    {
        if (FClear)
            FCanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    }
    ~TClearBrushScope()
    {
        if (FClear)
            FCanvas->Brush()->SetStyle(FStyle);
    }
    TClearBrushScope(const TClearBrushScope&) = delete;
    TClearBrushScope& operator=(const TClearBrushScope&) = delete;

private:
    TCanvas* FCanvas;
    TBrushStyle FStyle;
    bool FClear;
};

}  // namespace

String ShortenTextWithEllipsis(const String& Text, TCanvas* Canvas, int MaxWidth)
{
    const int length = static_cast<int>(Text.size());
    String result = Text;
    for (int step = 1; step <= length && Canvas->TextWidth(result) > MaxWidth; ++step)
        result = Text.left(std::max(0, length - step - 1)) + u"..."_s;
    return result;
}

void DrawTextInRect(TCanvas* Canvas, const TRect& ARect, const String& Text, TAlignment Alignment, TTextLayout Layout,
                    bool WordWrap, bool EndEllipsis, int LeftMargin, int TopMargin)
{
    unsigned format = DT_NOPREFIX | DT_EXPANDTABS | AlignmentFlag(Alignment);
    if (WordWrap)
        format |= DT_WORDBREAK;
    if (EndEllipsis)
        format |= DT_END_ELLIPSIS;
    TRect area{ARect.Left + LeftMargin, ARect.Top + TopMargin, ARect.Right - LeftMargin, ARect.Bottom};
    if (Layout != TTextLayout::tlTop) {
        TRect measured = area;
        Canvas->DrawText(Text, measured, format | DT_CALCRECT);
        const int height = measured.Height();
        area.Top = Layout == TTextLayout::tlCenter ? area.Top + (area.Height() - height) / 2 : area.Bottom - height;
    }
    if (area.Top >= ARect.Top) {
        Canvas->DrawText(Text, area, format);
        return;
    }
    // A block taller than the cell: its centre or bottom stays in place, the rest is cut off.
    const int saved = NarrowCanvasClip(Canvas, ARect);
    Canvas->DrawText(Text, area, format);
    RestoreNarrowedClip(Canvas, saved);
}

void WriteTextInCell(TCanvas* Canvas, const TRect& ARect, bool FillBackground, TAlignment Alignment,
                     TTextLayout Layout, bool EndEllipsis, bool WordWrap, const String& Text, int TopMargin,
                     int LeftMargin)
{
    // Every colour is a pure colour of a 32-bit surface: no dithered brush needs an off-screen pass.
    if (WordWrap) {
        if (FillBackground)
            Canvas->FillRect(ARect);
        TClearBrushScope clear(Canvas, true);
        DrawTextInRect(Canvas, ARect, Text, Alignment, Layout, true, EndEllipsis, LeftMargin, TopMargin);
        return;
    }
    const String shown = EndEllipsis ? ShortenTextWithEllipsis(Text, Canvas, ARect.Width() - LeftMargin) : Text;
    const int width = Canvas->TextWidth(shown);
    int x = ARect.Left + LeftMargin;
    if (Alignment == TAlignment::taRightJustify)
        x = ARect.Right - width - 3;
    else if (Alignment == TAlignment::taCenter)
        x = ARect.IsEmpty() ? ARect.Left : ARect.Left + ARect.Width() / 2 - width / 2;
    // A text wider than its room starts at the margin whatever its alignment: what the cell cuts
    // off is its end, never its start (a number cut at the left reads as another number).
    x = std::max(x, ARect.Left + LeftMargin);
    int y = ARect.Top;
    const int height = Canvas->TextHeight(shown);
    if (height < ARect.Height() - TopMargin) {
        if (Layout == TTextLayout::tlCenter)
            y = (ARect.Top + ARect.Bottom - height) / 2 - TopMargin;
        else if (Layout == TTextLayout::tlBottom)
            y = ARect.Bottom - height - TopMargin;
    }
    TClearBrushScope clear(Canvas, !FillBackground);
    Canvas->TextRect(ARect, x, y + TopMargin, shown);
}

int DrawVerticalText(TCanvas* Canvas, const TRect& ARect, bool FillBackground, const String& Text,
                     TAlignment Alignment, TTextLayout Layout, int Margin)
{
    const int length = Canvas->TextWidth(Text);
    const int height = Canvas->TextHeight(Text);
    if (FillBackground)
        Canvas->FillRect(ARect);
    // The text's top edge faces left once turned: x is where that edge lands.
    int x = ARect.Left + Margin;
    if (Alignment == TAlignment::taRightJustify)
        x = ARect.Right - height;
    else if (Alignment == TAlignment::taCenter)
        x = ARect.Left + (ARect.Width() - height) / 2;
    // y is where the text starts, reading upwards.
    int y = ARect.Bottom - Margin;
    if (Layout == TTextLayout::tlTop)
        y = ARect.Top + Margin + length;
    else if (Layout == TTextLayout::tlCenter)
        y = ARect.Top + (ARect.Height() + length) / 2;
    Canvas->TextOutTurned(x, y, Text, ARect);
    return length;
}

int NarrowCanvasClip(TCanvas* Canvas, const TRect& ARect)
{
    const int saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(ARect);
    return saved;
}

void RestoreNarrowedClip(TCanvas* Canvas, int Saved) { Canvas->RestoreDC(Saved); }

namespace {

// Where an image Width x Height goes in ARect; drawn with the canvas clipped to ARect when it
// sticks out.
template <class Draw>
void PlaceClipped(TCanvas* Canvas, TAlignment Alignment, int XOffset, const TRect& ARect, int Width, int Height,
                  Draw&& DrawAt)
{
    int x = ARect.Left + (ARect.Width() - Width) / 2;
    if (Alignment == TAlignment::taLeftJustify)
        x = ARect.Left;
    else if (Alignment == TAlignment::taRightJustify)
        x = ARect.Right - Width;
    x += XOffset;
    const int y = ARect.Top + (ARect.Height() - Height) / 2;
    const bool sticksOut = x < ARect.Left || y < ARect.Top || x + Width > ARect.Right || y + Height > ARect.Bottom;
    if (!sticksOut) {
        DrawAt(x, y);
        return;
    }
    const int saved = NarrowCanvasClip(Canvas, ARect);
    DrawAt(x, y);
    RestoreNarrowedClip(Canvas, saved);
}

}  // namespace

void DrawGraphicClipped(TImageList* Images, TCanvas* Canvas, TAlignment Alignment, int XOffset, int ImageIndex,
                        const TRect& ARect)
{
    if (Images == nullptr)
        return;
    PlaceClipped(Canvas, Alignment, XOffset, ARect, Images->Width(), Images->Height(),
                 [&](int X, int Y) { Images->Draw(Canvas, X, Y, ImageIndex); });
}

void DrawGraphicClipped(TBitmap* Graphic, TCanvas* Canvas, TAlignment Alignment, int XOffset, const TRect& ARect)
{
    if (Graphic == nullptr || Graphic->Empty())
        return;
    PlaceClipped(Canvas, Alignment, XOffset, ARect, Graphic->Width(), Graphic->Height(),
                 [&](int X, int Y) { Canvas->Draw(X, Y, Graphic); });
}
