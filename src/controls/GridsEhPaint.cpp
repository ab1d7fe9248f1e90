// Painting of the base grid: the areas of fixed, frozen, scrolled and contra cells, each with its
// grid lines gathered per colour, then its cells with their draw states, default backgrounds,
// 3-D edges and focus rectangles.
#include "controls/GridsEh.h"

#include "platform/ui/Canvas.h"

#include <algorithm>
#include <array>

// One run of cells along an axis that paints alike.
struct TCustomGridEh::TPaintSegment {
    enum TKind { skFixed, skFrozen, skScrolled, skContra };

    TKind Kind = skFixed;
    int ClipStart = 0;
    int ClipEnd = 0;
    // The cells that reach into the canvas's clip: index, start pixel, extent.
    struct TSpan {
        int Index;
        int Start;
        int Extent;
    };
    std::vector<TSpan> Spans;

    bool Empty() const { return Spans.empty() || ClipEnd <= ClipStart; }
};

struct TCustomGridEh::TPaintContext {
    TGridLayoutEh Layout;
    TRect Clip;
    TGridCellRangeEh Selection;
    bool Focused = false;
    std::array<TPaintSegment, 4> Cols;
    std::array<TPaintSegment, 4> Rows;
};

namespace {

// Restores the canvas clip it narrowed, however the painting in between ends.
class TClipGuard {
public:
    TClipGuard(TCanvas& Canvas, const TRect& Rect) : FCanvas(Canvas), FSaved(Canvas.SaveDC())
    {
        FCanvas.IntersectClipRect(Rect);
    }
    ~TClipGuard() { FCanvas.RestoreDC(FSaved); }
    TClipGuard(const TClipGuard&) = delete;
    TClipGuard& operator=(const TClipGuard&) = delete;

private:
    TCanvas& FCanvas;
    int FSaved;
};

// Gives the canvas the grid's font for the next cell. A cell painter may have changed it, but
// assigning a font rebuilds its metrics, so only a font that differs is assigned.
void UseCellFont(TCanvas& Canvas, TFont* Font)
{
    const TFont& current = *Canvas.Font();
    if (current.Name() != Font->Name() || current.Height() != Font->Height() || current.Style() != Font->Style() ||
        current.Charset() != Font->Charset() || current.Pitch() != Font->Pitch())
        Canvas.SetFont(Font);
}

} // namespace

void TCustomGridEh::Paint()
{
    PaintGrid();
}

void TCustomGridEh::PaintGrid()
{
    if (ScrollUpdatesSuspended()) {
        FPaintSkipped = true;
        return;
    }
    TCanvas& canvas = *Canvas();
    TPaintContext context;
    ComputeLayout(context.Layout);
    context.Clip = canvas.ClipRect();
    context.Selection = GetSelectionRange();
    context.Focused = HasInputFocus();

    // The cells of each run of an axis that lie inside the clip; the scrolled run stops at its end.
    auto buildAxis = [](std::array<TPaintSegment, 4>& Segments, const TGridAxisLayoutEh& Axis, int ClipLow,
                                int ClipHigh) {
        const int fixedEnd = Axis.FixedCellCount - Axis.FrozenCellCount;
        const struct {
            TPaintSegment::TKind Kind;
            int First, End, Origin, ClipStart, ClipEnd;
        } runs[4] = {
            {TPaintSegment::skFixed, 0, fixedEnd, Axis.NearBand, Axis.NearBand, Axis.FrozenStart},
            {TPaintSegment::skFrozen, fixedEnd, Axis.FixedCellCount, Axis.FrozenStart, Axis.FrozenStart,
             Axis.FixedBoundary},
            {TPaintSegment::skScrolled, Axis.FirstScrolledCell, Axis.CellCount, Axis.ScrolledOrigin, Axis.FixedBoundary,
             Axis.ScrollLimit},
            {TPaintSegment::skContra, Axis.CellCount, Axis.TotalCellCount, Axis.ContraStart + Axis.LineWidth,
             Axis.ContraStart, Axis.UsableEnd},
        };
        for (std::size_t k = 0; k < 4; ++k) {
            TPaintSegment& segment = Segments[k];
            segment.Kind = runs[k].Kind;
            segment.ClipStart = runs[k].ClipStart;
            segment.ClipEnd = runs[k].ClipEnd;
            const int low = std::max(ClipLow, segment.ClipStart);
            const int high = std::min(ClipHigh, segment.ClipEnd);
            int start = runs[k].Origin;
            for (int i = runs[k].First; i < runs[k].End && start < high; ++i) {
                const int extent = Axis.Extent(i);
                if (start + extent + Axis.LineWidth > low)
                    segment.Spans.push_back({i, start, extent});
                start += extent + Axis.LineWidth;
            }
        }
    };
    buildAxis(context.Cols, context.Layout.Horz, context.Clip.Left, context.Clip.Right);
    buildAxis(context.Rows, context.Layout.Vert, context.Clip.Top, context.Clip.Bottom);

    PaintOuterBands();

    using P = TPaintSegment;
    static constexpr std::pair<P::TKind, P::TKind> mainAreas[] = {
        {P::skFixed, P::skFixed},       {P::skFrozen, P::skFixed},     {P::skFixed, P::skFrozen},
        {P::skFrozen, P::skFrozen},     {P::skScrolled, P::skFixed},   {P::skScrolled, P::skFrozen},
        {P::skFixed, P::skScrolled},    {P::skFrozen, P::skScrolled},  {P::skScrolled, P::skScrolled},
    };
    static constexpr std::pair<P::TKind, P::TKind> contraAreas[] = {
        {P::skFixed, P::skContra},   {P::skFrozen, P::skContra},   {P::skScrolled, P::skContra},
        {P::skContra, P::skFixed},   {P::skContra, P::skFrozen},   {P::skContra, P::skScrolled},
        {P::skContra, P::skContra},
    };
    const bool lines = context.Layout.Horz.LineWidth > 0 || context.Layout.Vert.LineWidth > 0;
    // Each area in the clip is painted clipped to itself: first the lines of all, then the cells.
    auto paintAreas = [&](const auto& Areas) {
        using TAreaPainter = void (TCustomGridEh::*)(TPaintContext&, const TPaintSegment&, const TPaintSegment&);
        auto paintEach = [&](TAreaPainter PaintArea) {
            for (const auto& [colKind, rowKind] : Areas) {
                const TPaintSegment& cols = context.Cols[colKind];
                const TPaintSegment& rows = context.Rows[rowKind];
                const TRect area = Rect(cols.ClipStart, rows.ClipStart, cols.ClipEnd, rows.ClipEnd);
                if (cols.Empty() || rows.Empty() || area.Intersected(context.Clip).IsEmpty())
                    continue;
                const TClipGuard clip(canvas, area);
                (this->*PaintArea)(context, cols, rows);
            }
        };
        if (lines)
            paintEach(&TCustomGridEh::PaintAreaLines);
        paintEach(&TCustomGridEh::PaintAreaCells);
    };
    paintAreas(mainAreas);

    if (FDefaultDrawing && FOptions.Contains(goRowSelect) && context.Focused && !ComponentState().Contains(TComponentStateFlag::csDesigning))
        if (const TRect selection = VisibleRangeRectInLayout(context.Selection, context.Layout, false); !selection.IsEmpty())
            canvas.DrawFocusRect(context.Selection.Top == context.Selection.Bottom
                                     ? CellFocusRect(context.Selection.Left, context.Selection.Top, selection)
                                     : selection);
    FillEmptySpace(context.Layout);
    if (FOptions.Contains(goExtendVertLines) && FOptions.Contains(goVertLine))
        DrawVertLines(context.Layout, context.Layout.Vert.DrawnEdge, context.Layout.Vert.ScrollLimit);
    paintAreas(contraAreas);
}

void TCustomGridEh::PaintAreaLines(TPaintContext& Context, const TPaintSegment& Cols, const TPaintSegment& Rows)
{
    TCanvas& canvas = *Canvas();
    const bool fixedArea = Cols.Kind == TPaintSegment::skFixed || Rows.Kind == TPaintSegment::skFixed;
    const TColor background = fixedArea ? FFixedColor : Color();
    const TGridLineColorsEh& colors = *GridLineColors();
    const TColor lineColor = colors.CellLineColor(Cols.Spans.front().Index, Rows.Spans.front().Index);
    const bool vertOn = FOptions.Contains(fixedArea ? goFixedVertLine : goVertLine);
    const bool horzOn = FOptions.Contains(fixedArea ? goFixedHorzLine : goHorzLine);
    const int vertWidth = Context.Layout.Horz.LineWidth;
    const int horzWidth = Context.Layout.Vert.LineWidth;
    const int vertCentre = vertWidth / 2;
    const int horzCentre = horzWidth / 2;

    // The colour a line starts with before the cell is asked: separators of frozen and contra
    // cells take their border colours.
    auto vertColor = [&](int ACol) {
        if (!vertOn)
            return background;
        if (Cols.Kind == TPaintSegment::skFrozen && ACol == FFixedCols - 1)
            return colors.FrozenColBorderColor(ACol);
        if (Cols.Kind == TPaintSegment::skContra && ACol + 1 < TotalColCount())
            return colors.ContraColBorderColor(ACol + 1);
        return lineColor;
    };
    auto horzColor = [&](int ARow) {
        if (!horzOn)
            return background;
        if (Rows.Kind == TPaintSegment::skFrozen && ARow == FFixedRows - 1)
            return colors.FrozenRowBorderColor(ARow);
        if (Rows.Kind == TPaintSegment::skContra && ARow + 1 < TotalRowCount())
            return colors.ContraRowBorderColor(ARow + 1);
        return lineColor;
    };
    auto ask = [this](int ACol, int ARow, TColor& Color, bool& Extend, TGridCellLineKindEh Kind) {
        bool draw = false;
        Extend = false;
        QueryCellLines(ACol, ARow, Extend, Color, draw, Kind);
        return draw;
    };

    for (const auto& row : Rows.Spans) {
        const int bottom = row.Start + row.Extent;
        for (const auto& col : Cols.Spans) {
            const int right = col.Start + col.Extent;
            bool extend = false;
            if (vertWidth > 0) {
                TColor color = vertColor(col.Index);
                if (ask(col.Index, row.Index, color, extend, TGridCellLineKindEh::glkRightLine))
                    FLinesCache.AddLine(color, right + vertCentre, row.Start, right + vertCentre,
                                        bottom + (extend ? std::max(horzWidth, 1) : 0));
                // The first contra column hangs from a line of its own on its leading side.
                if (Cols.Kind == TPaintSegment::skContra && col.Index == FColCount) {
                    color = vertOn ? colors.ContraColBorderColor(col.Index) : background;
                    const int x = col.Start - vertWidth + vertCentre;
                    if (ask(col.Index, row.Index, color, extend, TGridCellLineKindEh::glkLeftLine))
                        FLinesCache.AddLine(color, x, row.Start, x, bottom + (extend ? std::max(horzWidth, 1) : 0));
                }
            }
            if (horzWidth > 0) {
                TColor color = horzColor(row.Index);
                if (ask(col.Index, row.Index, color, extend, TGridCellLineKindEh::glkBottomLine))
                    FLinesCache.AddLine(color, col.Start, bottom + horzCentre,
                                        right + (extend ? std::max(vertWidth, 1) : 0), bottom + horzCentre);
                if (Rows.Kind == TPaintSegment::skContra && row.Index == FRowCount) {
                    color = horzOn ? colors.ContraRowBorderColor(row.Index) : background;
                    const int y = row.Start - horzWidth + horzCentre;
                    if (ask(col.Index, row.Index, color, extend, TGridCellLineKindEh::glkTopLine))
                        FLinesCache.AddLine(color, col.Start, y, right + (extend ? std::max(vertWidth, 1) : 0), y);
                }
            }
        }
    }
    FLinesCache.Flush(*this, canvas);
}

TGridDrawState TCustomGridEh::CellDrawState(const TPaintContext& Context, int ACol, int ARow, bool FixedArea) const
{
    TGridDrawState state;
    if (FixedArea)
        state.Include(gdFixed);
    if (ACol == FHoverCell.X && ARow == FHoverCell.Y)
        state.Include(gdHotTrack);
    const bool currentRowCell = FOptions.Contains(goRowSelect) ? ACol >= FFixedCols - FFrozenFixedCols : ACol == FCurrent.X;
    if (ARow == FCurrent.Y && currentRowCell) {
        state.Include(gdCurrent);
        if (Context.Focused)
            state.Include(gdFocused);
    }
    const TGridCellRangeEh& selection = Context.Selection;
    if (ACol >= selection.Left && ACol <= selection.Right && ARow >= selection.Top && ARow <= selection.Bottom)
        state.Include(gdSelected);
    return state;
}

void TCustomGridEh::PaintAreaCells(TPaintContext& Context, const TPaintSegment& Cols, const TPaintSegment& Rows)
{
    TCanvas& canvas = *Canvas();
    const bool fixedArea = Cols.Kind == TPaintSegment::skFixed || Rows.Kind == TPaintSegment::skFixed;
    const bool contraArea = Cols.Kind == TPaintSegment::skContra || Rows.Kind == TPaintSegment::skContra;
    const TColor background = fixedArea ? FFixedColor : Color();
    const int vertWidth = Context.Layout.Horz.LineWidth;
    const int horzWidth = Context.Layout.Vert.LineWidth;
    const bool designing = ComponentState().Contains(TComponentStateFlag::csDesigning);
    const bool fixedEdges = FDefaultDrawing && fixedArea && Ctl3D() && FOptions.Intersects(goFixedVertLine | goFixedHorzLine);
    const unsigned leadingSides = (FOptions.Contains(goFixedVertLine) ? BF_LEFT : 0u) | (FOptions.Contains(goFixedHorzLine) ? BF_TOP : 0u);
    const unsigned trailingSides = (FOptions.Contains(goFixedVertLine) ? BF_RIGHT : 0u) | (FOptions.Contains(goFixedHorzLine) ? BF_BOTTOM : 0u);
    const bool focusRects = FDefaultDrawing && !designing && !FOptions.Contains(goRowSelect) &&
                            !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor));
    const bool editorOpen = FInplaceEdit != nullptr && FEditorMode;

    for (const auto& row : Rows.Spans) {
        if (row.Extent <= 0)
            continue;
        for (const auto& col : Cols.Spans) {
            if (col.Extent <= 0)
                continue;
            if (contraArea && editorOpen && col.Index == FEditorCell.X && row.Index == FEditorCell.Y)
                continue;
            TRect rect = Rect(col.Start, row.Start, col.Start + col.Extent, row.Start + row.Extent);
            // A cell takes over the place of its own lines that are not drawn.
            bool extend = false;
            bool draw = false;
            TColor color = 0;
            if (vertWidth > 0) {
                QueryCellLines(col.Index, row.Index, extend, color, draw, TGridCellLineKindEh::glkRightLine);
                if (!draw)
                    rect.Right += vertWidth;
            }
            if (horzWidth > 0) {
                draw = false;
                QueryCellLines(col.Index, row.Index, extend, color, draw, TGridCellLineKindEh::glkBottomLine);
                if (!draw)
                    rect.Bottom += horzWidth;
            }
            if (!canvas.RectVisible(rect))
                continue;
            const TGridDrawState state = CellDrawState(Context, col.Index, row.Index, fixedArea);
            if (FDefaultDrawing) {
                const bool highlight = state.Contains(gdSelected) &&
                                       (!state.Contains(gdFocused) || FOptions.Intersects(goDrawFocusSelected | goRowSelect));
                canvas.Brush()->SetColor(highlight ? clHighlight : background);
                UseCellFont(canvas, Font());
                canvas.Font()->SetColor(highlight ? clHighlightText : Font()->Color());
                canvas.FillRect(rect);
            }
            PaintCell(col.Index, row.Index, state, rect);
            if (fixedEdges && state.Contains(gdFixed))
                DrawFixedCellEdges(rect, leadingSides, trailingSides, false);
            if (focusRects && state.Contains(gdFocused))
                canvas.DrawFocusRect(CellFocusRect(col.Index, row.Index, rect));
        }
    }
}

void TCustomGridEh::FillEmptySpace(const TGridLayoutEh& Layout)
{
    const TGridAxisLayoutEh& horz = Layout.Horz;
    const TGridAxisLayoutEh& vert = Layout.Vert;
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(Color());
    const int right = horz.ContraCellCount > 0 ? horz.ContraStart : horz.UsableEnd;
    const int bottom = vert.ContraCellCount > 0 ? vert.ContraStart : vert.UsableEnd;
    canvas.FillRect(Rect(horz.DrawnEdge, vert.NearBand, right, vert.UsableEnd));
    canvas.FillRect(Rect(horz.NearBand, vert.DrawnEdge, horz.UsableEnd, bottom));
}

void TCustomGridEh::DrawVertLines(const TGridLayoutEh& Layout, int FromY, int ToY)
{
    const TGridAxisLayoutEh& horz = Layout.Horz;
    if (ToY <= FromY || horz.LineWidth <= 0)
        return;
    TCanvas& canvas = *Canvas();
    const TGridLineColorsEh& colors = *GridLineColors();
    const TColor dark = colors.DarkLineColor();
    const TColor bright = colors.BrightLineColor();
    auto fade = [&](int X, TColor LineColor) {
        canvas.GradientFill(Rect(X, FromY, X + 1, ToY), LineColor, Color(), GRADIENT_FILL_RECT_V);
    };
    const int fixedEnd = FFixedCols - FFrozenFixedCols;
    int x = horz.NearBand;
    for (int i = 0; i < FFixedCols; ++i) {
        x += ColWidthAt(i);
        fade(x, i < fixedEnd || i == FFixedCols - 1 ? dark : bright);
        x += horz.LineWidth;
    }
    x = horz.ScrolledOrigin;
    for (int i = horz.FirstScrolledCell; i < FColCount; ++i) {
        x += ColWidthAt(i);
        if (x >= horz.ScrollLimit)
            break;
        if (x >= horz.FixedBoundary)
            fade(x, bright);
        x += horz.LineWidth;
    }
    if (FContraColCount == 0)
        return;
    x = horz.ContraStart;
    fade(x, dark);
    x += horz.LineWidth;
    for (int i = FColCount; i < TotalColCount() - 1; ++i) {
        x += ColWidthAt(i);
        fade(x, bright);
        x += horz.LineWidth;
    }
}

void TCustomGridEh::DrawFixedCellEdges(const TRect& ARect, unsigned LeadingSides, unsigned TrailingSides, bool Down)
{
    TCanvas& canvas = *Canvas();
    TRect rect = ARect;
    if (FFlat) {
        // The flat look draws plain lines of the brush colour, only on the sides asked for.
        const unsigned sides = LeadingSides | TrailingSides;
        if (sides & BF_LEFT)
            canvas.FillRect(Rect(rect.Left, rect.Top, rect.Left + 1, rect.Bottom));
        if (sides & BF_TOP)
            canvas.FillRect(Rect(rect.Left, rect.Top, rect.Right, rect.Top + 1));
        if (sides & BF_RIGHT)
            canvas.FillRect(Rect(rect.Right - 1, rect.Top, rect.Right, rect.Bottom));
        if (sides & BF_BOTTOM)
            canvas.FillRect(Rect(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom));
        return;
    }
    const unsigned edge = Down ? BDR_SUNKENINNER : BDR_RAISEDINNER;
    if ((LeadingSides | TrailingSides) == BF_RECT) {
        canvas.DrawEdge(rect, edge, BF_RECT);
        return;
    }
    if (TrailingSides != 0)
        canvas.DrawEdge(rect, edge, TrailingSides);
    if (LeadingSides != 0)
        canvas.DrawEdge(rect, edge, LeadingSides);
}

void TCustomGridEh::PaintOuterBands()
{
    for (auto kind : {TGridOutBoundaryDataEh::oakTop, TGridOutBoundaryDataEh::oakLeft, TGridOutBoundaryDataEh::oakBottom,
                      TGridOutBoundaryDataEh::oakRight}) {
        TRect band;
        if (FOutBoundary->AreaRect(band, kind))
            PaintOuterBand(band);
    }
}

void TCustomGridEh::PaintOuterBand(const TRect& ARect)
{
    Canvas()->Brush()->SetColor(FFixedColor);
    Canvas()->FillRect(ARect);
}

void TCustomGridEh::QueryCellLines(int, int, bool& ExtendLine, TColor&, bool& DrawLine, TGridCellLineKindEh LineKind)
{
    const bool vertical =
        LineKind == TGridCellLineKindEh::glkLeftLine || LineKind == TGridCellLineKindEh::glkRightLine;
    DrawLine = FOptions.Contains(vertical ? goVertLine : goHorzLine);
    ExtendLine = FOptions.Contains(vertical ? goHorzLine : goVertLine);
}
