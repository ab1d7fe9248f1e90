// Grid line colours, the outer bands and the cache that draws grid lines per colour.
#include "controls/GridsEh.h"

#include "platform/ui/Canvas.h"

#include <algorithm>

TGridLineColorsEh::TGridLineColorsEh(TCustomGridEh* Grid) : FGrid(Grid)
{
    std::fill(std::begin(FRoleColors), std::end(FRoleColors), clDefault);
}

void TGridLineColorsEh::Assign(TPersistent* Source)
{
    const auto* source = dynamic_cast<TGridLineColorsEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FDarkColor = source->FDarkColor;
    FBrightColor = source->FBrightColor;
    std::copy(std::begin(source->FRoleColors), std::end(source->FRoleColors), std::begin(FRoleColors));
    FGrid->InvalidateGrid();
}

TColor TGridLineColorsEh::DarkLineColor() const
{
    return FDarkColor == clDefault ? clGray : FDarkColor;
}

TColor TGridLineColorsEh::BrightLineColor() const
{
    if (FBrightColor != clDefault)
        return FBrightColor;
    // On a grid of the bright colour itself the lines would vanish; they go darker there.
    return ColorToRGB(FGrid->Color()) == clSilver ? clGray : clSilver;
}

TColor TGridLineColorsEh::CellLineColor(int ACol, int ARow) const
{
    if (ACol < FGrid->FixedCols() - FGrid->FrozenFixedCols() || ARow < FGrid->FixedRows() - FGrid->FrozenFixedRows())
        return DarkLineColor();
    if (ACol < FGrid->ColCount() && ARow < FGrid->RowCount())
        return BrightLineColor();
    if (ARow >= FGrid->RowCount())
        return ContraRowsLineColor();
    return ContraColsLineColor();
}

TColor TGridLineColorsEh::ContraColBorderColor(int ACol) const
{
    return ACol == FGrid->ColCount() ? ContraColsStartColor() : BrightLineColor();
}

TColor TGridLineColorsEh::ContraRowBorderColor(int ARow) const
{
    return ARow == FGrid->RowCount() ? ContraRowsStartColor() : BrightLineColor();
}

TColor TGridLineColorsEh::FrozenColBorderColor(int ACol) const
{
    return FGrid->FrozenFixedCols() > 0 && ACol == FGrid->FixedCols() - 1 ? FrozenColsEdgeColor() : BrightLineColor();
}

TColor TGridLineColorsEh::FrozenRowBorderColor(int ARow) const
{
    return FGrid->FrozenFixedRows() > 0 && ARow == FGrid->FixedRows() - 1 ? DarkLineColor() : BrightLineColor();
}

TColor TGridLineColorsEh::RoleColor(TRole Role) const
{
    if (FRoleColors[Role] != clDefault)
        return FRoleColors[Role];
    switch (Role) {
    case lcrFixedVertLine:
    case lcrFixedHorzLine:
    case lcrFrozenColsEdge:
    case lcrFrozenRowsEdge:
    case lcrContraColsStart:
    case lcrContraRowsStart: return DarkLineColor();
    default: return BrightLineColor();
    }
}

void TGridLineColorsEh::SetDarkColor(TColor Value)
{
    if (Value == FDarkColor)
        return;
    FDarkColor = Value;
    FGrid->InvalidateGrid();
}

void TGridLineColorsEh::SetBrightColor(TColor Value)
{
    if (Value == FBrightColor)
        return;
    FBrightColor = Value;
    FGrid->InvalidateGrid();
}

void TGridLineColorsEh::SetRoleColor(TRole Role, TColor Value)
{
    if (Value == FRoleColors[Role])
        return;
    FRoleColors[Role] = Value;
    FGrid->InvalidateGrid();
}

TGridOutBoundaryDataEh::TGridOutBoundaryDataEh(TCustomGridEh* Grid) : FGrid(Grid) {}

void TGridOutBoundaryDataEh::ChangeExtent(TAreaKind Kind, int Value)
{
    if (Value == FExtents[Kind])
        return;
    FExtents[Kind] = Value;
    FGrid->BoundaryLayoutChanged();
}

void TGridOutBoundaryDataEh::SetCornerFlag(bool& Flag, bool Value)
{
    if (Value == Flag)
        return;
    Flag = Value;
    FGrid->BoundaryLayoutChanged();
}

void TGridOutBoundaryDataEh::SetTopStartsAfterLeft(bool Value)
{
    SetCornerFlag(FTopStartsAfterLeft, Value);
}

void TGridOutBoundaryDataEh::SetTopStopsBeforeRight(bool Value)
{
    SetCornerFlag(FTopStopsBeforeRight, Value);
}

void TGridOutBoundaryDataEh::SetBottomStartsAfterLeft(bool Value)
{
    SetCornerFlag(FBottomStartsAfterLeft, Value);
}

void TGridOutBoundaryDataEh::SetBottomStopsBeforeRight(bool Value)
{
    SetCornerFlag(FBottomStopsBeforeRight, Value);
}

bool TGridOutBoundaryDataEh::AreaRect(TRect& Rect, TAreaKind Kind) const
{
    if (FExtents[Kind] <= 0)
        return false;
    const int width = FGrid->ClientWidth();
    const int height = FGrid->ClientHeight();
    const int left = LeftExtent();
    const int top = TopExtent();
    const int right = RightExtent();
    const int bottom = BottomExtent();
    switch (Kind) {
    case oakTop:
        Rect = ::Rect(FTopStartsAfterLeft ? left : 0, 0, FTopStopsBeforeRight ? width - right : width, top);
        break;
    case oakBottom:
        Rect = ::Rect(FBottomStartsAfterLeft ? left : 0, height - bottom, FBottomStopsBeforeRight ? width - right : width,
                      height);
        break;
    case oakLeft:
        Rect = ::Rect(0, FTopStartsAfterLeft ? 0 : top, left, FBottomStartsAfterLeft ? height : height - bottom);
        break;
    case oakRight:
        Rect = ::Rect(width - right, FTopStopsBeforeRight ? 0 : top, width,
                      FBottomStopsBeforeRight ? height : height - bottom);
        break;
    }
    return true;
}

void TGridOutBoundaryDataEh::InvalidateArea(TAreaKind Kind) const
{
    TRect area;
    if (AreaRect(area, Kind))
        FGrid->InvalidateClientRect(area);
}

void TGridLinesEh::Add(int X1, int Y1, int X2, int Y2)
{
    FPoints.push_back({X1, Y1});
    FPoints.push_back({X2, Y2});
}

TGridLinesEh& TGridLinesCacheEh::LinesForColor(TColor Color)
{
    const auto found = std::find_if(FLines.begin(), FLines.end(), [Color](const TGridLinesEh& Lines) {
        return Lines.Color() == Color;
    });
    if (found != FLines.end())
        return *found;
    return FLines.emplace_back(Color);
}

void TGridLinesCacheEh::AddLine(TColor Color, int X1, int Y1, int X2, int Y2)
{
    LinesForColor(Color).Add(X1, Y1, X2, Y2);
}

void TGridLinesCacheEh::Flush(const TCustomGridEh& Grid, TCanvas& Canvas)
{
    // Lines are filled bands centred on their segments: the pixels a flat-ended pen draws, with
    // the end point left out, at a fraction of a pen's cost.
    const int width = std::max(1, Grid.GridLineWidth());
    const int before = width / 2;
    for (const TGridLinesEh& lines : FLines) {
        const std::vector<TPoint>& points = lines.Points();
        if (points.empty())
            continue;
        Canvas.Brush()->SetColor(lines.Color());
        for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
            const TPoint a = points[i];
            const TPoint b = points[i + 1];
            if (a.X == b.X)
                Canvas.FillRect(Rect(a.X - before, a.Y, a.X - before + width, b.Y));
            else
                Canvas.FillRect(Rect(a.X, a.Y - before, b.X, a.Y - before + width));
        }
    }
    Clear();
}

void TGridLinesCacheEh::Clear()
{
    for (TGridLinesEh& lines : FLines)
        lines.Clear();
}
