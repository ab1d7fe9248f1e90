// The group panel above the titles: a box per grouping level in a staircase, titles dropped
// onto it to group by their column, boxes moved, clicked to sort and dragged back to the grid.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhStyle.h"

#include <algorithm>

namespace {

constexpr int EmptyGroupPanelHeight = 30;
constexpr int SortMarkerSpace = 16;

}  // namespace

std::vector<TCustomDBGridEh::TGroupPanelBoxEh> TCustomDBGridEh::LayoutGroupPanel()
{
    std::vector<TGroupPanelBoxEh> boxes;
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    const int w = canvas->TextWidth(QStringLiteral("o"));
    int left = w;
    int top = 2 * w / 3;
    for (int I = 0; I < FDataGrouping->ActiveLevelCount(); ++I) {
        TDBGridEhDataGroupLevelEh* level = FDataGrouping->ActiveGroupLevel(I);
        canvas->Font()->Assign(TitleFont());
        const int height = canvas->TextHeight(QStringLiteral("Wg")) + TextMargin() + 3;
        const int width = canvas->TextWidth(level->GroupColumn()->Title()->Caption()) + TextMargin() + 3 + SortMarkerSpace;
        boxes.push_back({TRect{left, top, left + width, top + height}, level});
        left += width + 2 * w / 3;
        top += height / 2;
    }
    return boxes;
}

int TCustomDBGridEh::GroupPanelDropPosition(int X, TRect& Marker)
{
    const std::vector<TGroupPanelBoxEh> boxes = LayoutGroupPanel();
    Canvas()->Font()->Assign(Font());
    const int w = Canvas()->TextWidth(QStringLiteral("o"));
    const int index = static_cast<int>(std::count_if(boxes.begin(), boxes.end(), [X](const TGroupPanelBoxEh& Box) {
        return (Box.Rect.Left + Box.Rect.Right) / 2 <= X;
    }));
    if (boxes.empty())
        Marker = TRect{w / 2, 2 * w / 3, w / 2 + 1, EmptyGroupPanelHeight - 2 * w / 3};
    else if (index < static_cast<int>(boxes.size()))
        Marker = TRect{boxes[index].Rect.Left - w / 2, boxes[index].Rect.Top, boxes[index].Rect.Left - w / 2 + 1,
                       boxes[index].Rect.Bottom};
    else
        Marker = TRect{boxes.back().Rect.Right + w / 2, boxes.back().Rect.Top, boxes.back().Rect.Right + w / 2 + 1,
                       boxes.back().Rect.Bottom};
    return index;
}

void TCustomDBGridEh::UpdateGroupPanelHeight()
{
    int height = 0;
    if (FDataGrouping->GroupPanelVisible()) {
        const std::vector<TGroupPanelBoxEh> boxes = LayoutGroupPanel();
        height = boxes.empty() ? EmptyGroupPanelHeight : boxes.back().Rect.Bottom + 5;
    }
    OutBoundaryData()->ChangeTopExtent(height);
}

void TCustomDBGridEh::PaintGroupPanelItem(const TRect& ARect, TDBGridEhDataGroupLevelEh* Level)
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(GridLineColors()->DarkLineColor());
    canvas->FrameRect(ARect);
    canvas->Brush()->SetColor(FixedColor());
    canvas->FillRect(TRect{ARect.Left + 1, ARect.Top + 1, ARect.Right - 1, ARect.Bottom - 1});
    if (FOptionsEh.Contains(dghFixed3D) && !Flat())
        Draw3DCellFrame(canvas, TRect{ARect.Left + 1, ARect.Top + 1, ARect.Right - 1, ARect.Bottom - 1}, false);
    canvas->Font()->Assign(TitleFont());
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    const int margin = TextMargin() / 2 + 1;
    canvas->TextRect(ARect, ARect.Left + margin, ARect.Top + margin, Level->GroupColumn()->Title()->Caption());
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    // The level's order as a small triangle at the right: up ascending, down descending.
    const int mid = (ARect.Top + ARect.Bottom) / 2;
    const int x = ARect.Right - SortMarkerSpace / 2 - 2;
    canvas->Pen()->SetColor(clBtnShadow);
    for (int I = 0; I < 4; ++I) {
        const int y = Level->SortOrder() == TSortOrderEh::soAscEh ? mid - 2 + I : mid + 1 - I;
        canvas->MoveTo(x - I, y);
        canvas->LineTo(x + I + 1, y);
    }
}

void TCustomDBGridEh::PaintOuterBand(const TRect& ARect)
{
    if (!FDataGrouping->GroupPanelVisible() || ARect.Top != 0 || ARect.Bottom != OutBoundaryData()->TopExtent()) {
        TCustomGridEh::PaintOuterBand(ARect);
        return;
    }
    TCanvas* canvas = Canvas();
    const TColor lineColor = GridLineColors()->DarkLineColor();
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(MixColors(FixedColor(), lineColor, 85.0 / 255.0));
    canvas->FillRect(ARect);
    canvas->Pen()->SetColor(lineColor);
    canvas->MoveTo(ARect.Left, ARect.Bottom - 1);
    canvas->LineTo(ARect.Right, ARect.Bottom - 1);
    const std::vector<TGroupPanelBoxEh> boxes = LayoutGroupPanel();
    if (boxes.empty()) {
        canvas->Font()->Assign(Font());
        canvas->Font()->SetColor(cl3DDkShadow);
        canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        const int h = ARect.Height();
        canvas->TextOut(ARect.Left + h / 6, ARect.Top + h / 6, QStringLiteral("Drag a column header here to group by that column"));
        canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        return;
    }
    canvas->Font()->Assign(Font());
    const int w = canvas->TextWidth(QStringLiteral("o"));
    for (std::size_t I = 0; I < boxes.size(); ++I) {
        PaintGroupPanelItem(boxes[I].Rect, boxes[I].Level);
        if (I + 1 == boxes.size())
            continue;
        // The connector: down from under this box, then right into the next.
        const TRect& box = boxes[I].Rect;
        canvas->Pen()->SetColor(lineColor);
        canvas->MoveTo(box.Right - w, box.Bottom);
        canvas->LineTo(box.Right - w, box.Bottom + 2 * w / 3);
        canvas->LineTo(box.Right + 2 * w / 3, box.Bottom + 2 * w / 3);
    }
}

void TCustomDBGridEh::DropColumnOnGroupPanel(TColumnEh* Column, int X)
{
    if (Column == nullptr)
        return;
    TRect marker;
    const int activeIndex = GroupPanelDropPosition(X, marker);
    // The insert index counts active levels; levels without a column keep their places.
    TGridDataGroupLevelsEh* levels = FDataGrouping->GroupLevels();
    const int index = activeIndex < FDataGrouping->ActiveLevelCount() ? FDataGrouping->ActiveLevel(activeIndex)->Index()
                                                                        : levels->Count();
    levels->BeginUpdate();
    auto* level = static_cast<TDBGridEhDataGroupLevelEh*>(levels->Insert(index));
    level->ChangeColumn(Column);
    levels->EndUpdate();
    Column->SetVisible(false);
}

void TCustomDBGridEh::MoveGroupLevelTo(TDBGridEhDataGroupLevelEh* Level, int X)
{
    TRect marker;
    int activeIndex = GroupPanelDropPosition(X, marker);
    const int from = Level->ActiveIndex();
    if (from >= 0 && from < activeIndex)
        --activeIndex;
    activeIndex = std::min(activeIndex, FDataGrouping->ActiveLevelCount() - 1);
    if (from >= 0 && activeIndex != from)
        Level->SetIndex(FDataGrouping->ActiveLevel(activeIndex)->Index());
}

void TCustomDBGridEh::RemoveGroupLevel(TDBGridEhDataGroupLevelEh* Level)
{
    TColumnEh* column = Level->GroupColumn();
    FDataGrouping->GroupLevels()->Delete(Level->Index());
    if (column != nullptr)
        column->SetVisible(true);
}

bool TCustomDBGridEh::PressGroupPanelAt(int X, int Y)
{
    if (!FDataGrouping->GroupPanelVisible() || Y >= OutBoundaryData()->TopExtent())
        return false;
    FGroupPanelPress = {};
    for (const TGroupPanelBoxEh& box : LayoutGroupPanel())
        if (PointWithinRect(TPoint{X, Y}, box.Rect))
            FGroupPanelPress = {box.Level, box.Rect};
    return true;
}

bool TCustomDBGridEh::ReleaseGroupPanelAt(int X, int Y)
{
    TDBGridEhDataGroupLevelEh* level = FGroupPanelPress.Level;
    if (level == nullptr)
        return false;
    const TRect pressed = FGroupPanelPress.Rect;
    FGroupPanelPress = {};
    // A box let go away from the grid stays where it was.
    if (!PointWithinRect(TPoint{X, Y}, ClientRect()))
        return true;
    if (Y >= OutBoundaryData()->TopExtent())
        RemoveGroupLevel(level);
    else if (PointWithinRect(TPoint{X, Y}, pressed))
        level->SetSortOrder(level->SortOrder() == TSortOrderEh::soAscEh ? TSortOrderEh::soDescEh : TSortOrderEh::soAscEh);
    else
        MoveGroupLevelTo(level, X);
    return true;
}

bool TCustomDBGridEh::DropTitleOnGroupPanel(int X, int Y)
{
    if (!FDataGrouping->GroupPanelVisible() || Y < 0 || Y >= OutBoundaryData()->TopExtent())
        return false;
    TColumnEh* column = ColumnAtGridCol(FMoveOrigin);
    CancelMouseMode();
    DropColumnOnGroupPanel(column, X);
    return true;
}
