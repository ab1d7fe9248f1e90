// A column title's caption, image and sort marker.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhDraw.h"
#include "datagrid/DBGridEhFonts.h"

#include "platform/core/SysUtils.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"

namespace {

constexpr int SortMarkerReserve = 16;
constexpr int FunnelSize = 6;

// The marker image and the index at the right of a title, and the text area left for the
// caption: the marker goes first when the area gets too narrow, then the index.
struct TSortMarkPlacementEh {
    bool ShowMarker = false;
    bool ShowIndex = false;
    String Index;
    int IndexWidth = 0;
};

TSortMarkPlacementEh PlaceSortMark(TCanvas* Canvas, const TColumnTitleEh* Title, TSortMarkerEh Marker,
                                   int SortedColumns, TRect& TextArea)
{
    TSortMarkPlacementEh place;
    if (Marker == TSortMarkerEh::smNoneEh)
        return place;
    place.ShowMarker = true;
    if (SortedColumns >= 2 && Title->SortIndex() > 0) {
        place.ShowIndex = true;
        place.Index = IntToStr(Title->SortIndex());
        TFont saved;
        saved.Assign(Canvas->Font());
        Canvas->Font()->Assign(const_cast<TFont*>(&SortMarkerFont()));
        place.IndexWidth = Canvas->TextWidth(place.Index);
        Canvas->Font()->Assign(&saved);
    }
    // As TColumnTitleEh::SortMarkerAreaWidth: the marker's 16 pixels, the index beside them.
    TextArea.Right -= SortMarkerReserve + place.IndexWidth;
    const int imageWidth = GridSortMarkerImages()->Width();
    if (TextArea.Width() < imageWidth) {
        place.ShowMarker = false;
        TextArea.Right += SortMarkerReserve - 2;
    }
    if (TextArea.Width() < imageWidth && place.ShowIndex) {
        place.ShowIndex = false;
        TextArea.Right += place.IndexWidth + 2;
    }
    return place;
}

void PaintSortMark(TCanvas* Canvas, const TRect& ARect, TSortMarkerEh Marker, const TSortMarkPlacementEh& Place,
                   bool Highlighted)
{
    const int indexWidth = Place.ShowIndex ? Place.IndexWidth : 0;
    if (Place.ShowMarker) {
        TImageList* markers = GridSortMarkerImages();
        const int x = ARect.Right - markers->Width() - indexWidth - 2;
        const int y = ARect.Top + (ARect.Height() - markers->Height()) / 2;
        markers->Draw(Canvas, x, y, Marker == TSortMarkerEh::smDownEh ? 0 : 1);
    }
    if (!Place.ShowIndex)
        return;
    TFont saved;
    saved.Assign(Canvas->Font());
    const TBrushStyle brush = Canvas->Brush()->Style();
    Canvas->Font()->Assign(const_cast<TFont*>(&SortMarkerFont()));
    if (Highlighted)
        Canvas->Font()->SetColor(clWhite);
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas->TextOut(ARect.Right - indexWidth - 2, ARect.Top + (ARect.Height() - Canvas->TextHeight(Place.Index)) / 2,
                    Place.Index);
    Canvas->Brush()->SetStyle(brush);
    Canvas->Font()->Assign(&saved);
}

}  // namespace

void PaintColumnTitleContents(TCanvas* Canvas, const TRect& ARect, TColumnEh* Column, const String& Caption,
                              TImageList* TitleImages, const TTitleLookEh& Look)
{
    TColumnTitleEh* title = Column->Title();
    TRect area = ARect;
    if (Look.Raised)
        area.Inflate(-1, -1);
    if (Look.Pressed)
        area.Offset(1, 1);
    const int margin = Look.Raised ? 1 : 2;
    const int topMargin = Look.Flat ? margin - 1 : margin;

    TRect textArea = area;
    if (!Look.FilterButton.IsEmpty()) {
        textArea.Right = std::min(textArea.Right, Look.FilterButton.Left);
        PaintCellButton(Canvas, Look.FilterButton, TEditButtonStyleEh::ebsDropDownEh, nullptr, Look.Flat, false,
                        Look.FilterButtonTransparency);
    }
    const TSortMarkPlacementEh place = PlaceSortMark(Canvas, title, Look.SortMarker, Look.SortedColumns, textArea);
    if (Look.Filtered && textArea.Width() > 2 * FunnelSize) {
        textArea.Right -= FunnelSize + 2;
        const int top = textArea.Top + (textArea.Height() - FunnelSize) / 2;
        PaintTitleFilterGlyph(Canvas, TRect{textArea.Right, top, textArea.Right + FunnelSize, top + FunnelSize},
                              Canvas->Font()->Color());
    }
    if (TitleImages != nullptr && title->ImageIndex() >= 0) {
        DrawGraphicClipped(TitleImages, Canvas, title->Alignment(), 0, title->ImageIndex(), textArea);
    } else if (title->Orientation() == TTextOrientationEh::tohVertical) {
        DrawVerticalText(Canvas, textArea, false, Caption, title->Alignment(), TTextLayout::tlBottom,
                         Look.VerticalMargin);
    } else {
        const TTextMetric metrics = Canvas->GetTextMetrics();
        const bool twoLines = textArea.Height() > 2 * metrics.tmHeight;
        WriteTextInCell(Canvas, textArea, false, title->Alignment(), TTextLayout::tlCenter, title->EndEllipsis(),
                        twoLines, Caption, topMargin, margin);
    }
    PaintSortMark(Canvas, area, Look.SortMarker, place, Look.Highlighted);
}

std::vector<TTitlePartEh> TitlePartsAbove(THeadTreeNode* Leaf, const TRect& CellRect)
{
    std::vector<TTitlePartEh> parts;
    int left = CellRect.Left;
    for (THeadTreeNode* child = Leaf; child->ParentNode != nullptr && child->ParentNode->ParentNode != nullptr;
         child = child->ParentNode) {
        THeadTreeNode* parent = child->ParentNode;
        for (THeadTreeNode* sibling = parent->FirstChild; sibling != child; sibling = sibling->NextSibling)
            left -= sibling->Width + sibling->LineWidth;
        parts.insert(parts.begin(), {parent, TRect{left, 0, left + parent->Width, parent->Height}});
    }
    // Stacked from the top of the cell down to the leaf.
    int top = CellRect.Top;
    for (TTitlePartEh& part : parts) {
        part.Rect.Offset(0, top);
        top = part.Rect.Bottom;
    }
    return parts;
}

TRect TitleLeafRect(THeadTreeNode* Leaf, const TRect& CellRect)
{
    const std::vector<TTitlePartEh> parts = TitlePartsAbove(Leaf, CellRect);
    const int top = parts.empty() ? CellRect.Top : std::min(parts.back().Rect.Bottom, CellRect.Bottom);
    return {CellRect.Left, top, CellRect.Right, CellRect.Bottom};
}

void PaintTitlePartsAbove(TCanvas* Canvas, THeadTreeNode* Leaf, const TRect& CellRect, bool EndEllipsis, bool Raised,
                          TColor LineColor)
{
    const int saved = NarrowCanvasClip(Canvas, CellRect);
    for (const TTitlePartEh& part : TitlePartsAbove(Leaf, CellRect)) {
        const int line = part.Node->LineWidth;
        TRect area{part.Rect.Left, part.Rect.Top, part.Rect.Right, part.Rect.Bottom - line};
        Canvas->FillRect(area);
        if (Raised) {
            TRect frame = area;
            Canvas->DrawEdge(frame, BDR_RAISEDINNER, BF_RECT);
        }
        const TBrushStyle brush = Canvas->Brush()->Style();
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        DrawTextInRect(Canvas, area, part.Node->Caption, TAlignment::taCenter, TTextLayout::tlCenter, true, EndEllipsis,
                       Raised ? 1 : 2, 0);
        Canvas->Brush()->SetStyle(brush);
        if (line > 0) {
            const TColor brush = Canvas->Brush()->Color();
            Canvas->Brush()->SetColor(LineColor);
            Canvas->FillRect(TRect{part.Rect.Left, area.Bottom, part.Rect.Right + line, part.Rect.Bottom});
            Canvas->FillRect(TRect{part.Rect.Right, part.Rect.Top, part.Rect.Right + line, part.Rect.Bottom});
            Canvas->Brush()->SetColor(brush);
        }
    }
    RestoreNarrowedClip(Canvas, saved);
}
