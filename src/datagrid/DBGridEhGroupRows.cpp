// Group rows: painted across the data columns, expanded and collapsed by key and by their box.
#include "controls/ToolCtrlsEhDraw.h"
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"

namespace {

constexpr int GroupSlotWidth = 18;

}  // namespace

// The parts of a group row, in client coordinates: the indent slots, the expand box and the text.
struct TGroupRowPartsEh {
    int Left = 0;
    int BoxLeft = 0;
    int TextLeft = 0;
};

static TGroupRowPartsEh GroupRowParts(int RowLeft, const TGroupDataTreeNodeEh* Node)
{
    TGroupRowPartsEh parts;
    parts.Left = RowLeft;
    parts.BoxLeft = RowLeft + (Node->Level() - 1) * GroupSlotWidth;
    parts.TextLeft = parts.BoxLeft + GroupSlotWidth;
    return parts;
}

// The group row starts where the data columns do: after the fixed cells, or after the
// indicator when columns are frozen.
static int GroupRowLeft(TCustomDBGridEh* Grid)
{
    TGridLayoutEh layout;
    Grid->ComputeLayout(layout);
    if (Grid->FixedCols() == Grid->IndicatorOffset() || Grid->IndicatorOffset() == 0)
        return Grid->FixedCols() == 0 ? layout.Horz.NearBand : layout.Horz.FixedBoundary;
    return Grid->CellPixelRect(0, Grid->TopRow()).Right + 1;
}

void TCustomDBGridEh::PickGroupRowHighlight(bool Current, TColor& Background, TFont* Font)
{
    const bool highlighted = Current && (FDBOptions.Contains(dgAlwaysShowSelection) || Focused() ||
                                         FOptionsEh.Contains(dghHighlightFocus));
    if (!highlighted || LayoutLocked())
        return;
    if (HoldsWindowFocus()) {
        Background = clHighlight;
        Font->SetColor(clHighlightText);
    } else {
        Background = clBtnShadow;
        Font->SetColor(clHighlightText);
    }
}

bool TCustomDBGridEh::PaintGroupRowCell(int ACol, int AreaRow, const TRect& ARect)
{
    TGroupDataTreeNodeEh* node = GroupNodeOfRow(AreaRow);
    if (node == nullptr || !node->IsGroup())
        return false;
    const int gridRow = AreaRow + RowsAboveData();
    auto* level = static_cast<TDBGridEhDataGroupLevelEh*>(node->DataGroupLevel());
    const TGroupRowPartsEh parts = GroupRowParts(GroupRowLeft(this), node);
    const TColor lineColor = GridLineColors()->DarkLineColor();
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    auto fill = [&](int Left, int Right, TColor Color) {
        const TRect part = TRect{Left, ARect.Top, Right, ARect.Bottom}.Intersected(ARect);
        if (part.Right > part.Left) {
            canvas->Brush()->SetColor(Color);
            canvas->FillRect(part);
        }
    };

    // One slot per outer level, coloured as that level.
    int x = parts.Left;
    for (const TGroupDataTreeNodeEh* outer = node->ParentNode(); outer != nullptr && outer->IsGroup();
         outer = outer->ParentNode()) {
        const int slotLeft = parts.Left + (outer->Level() - 1) * GroupSlotWidth;
        fill(slotLeft, slotLeft + GroupSlotWidth, outer->DataGroupLevel()->Color());
        x = std::max(x, slotLeft + GroupSlotWidth);
    }

    const bool current = gridRow == Row();
    TColor background = level->Color();
    canvas->Font()->Assign(level->Font());
    PickGroupRowHighlight(current, background, canvas->Font());
    fill(parts.BoxLeft, parts.TextLeft, level->Color());
    const TRect box{parts.BoxLeft, ARect.Top, parts.TextLeft, ARect.Bottom};
    if (box.Intersected(ARect).Right > box.Intersected(ARect).Left)
        DrawTreeElement(canvas, box, node->Expanded() ? TTreeElementEh::tehMinus : TTreeElementEh::tehPlus, false, 1,
                        1, false);
    fill(parts.TextLeft, ARect.Right, background);
    const int margin = Flat() ? 1 : 2;
    const TRect textPart = TRect{parts.TextLeft, ARect.Top, ClientWidth(), ARect.Bottom}.Intersected(ARect);
    if (textPart.Right > textPart.Left) {
        canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        canvas->TextRect(textPart, parts.TextLeft + margin, ARect.Top + margin, level->GetGroupRowText(node));
        canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
    // The line under the row, and at the right of each slot.
    canvas->Pen()->SetColor(lineColor);
    canvas->MoveTo(std::max(ARect.Left, parts.BoxLeft), ARect.Bottom - 1);
    canvas->LineTo(ARect.Right, ARect.Bottom - 1);
    for (int slotRight = parts.Left + GroupSlotWidth; slotRight <= parts.BoxLeft; slotRight += GroupSlotWidth)
        if (slotRight - 1 >= ARect.Left && slotRight - 1 < ARect.Right) {
            canvas->MoveTo(slotRight - 1, ARect.Top);
            canvas->LineTo(slotRight - 1, ARect.Bottom);
        }
    if (current && Focused() && !FDBOptions.Contains(dgRowSelect) && ACol == Col())
        canvas->DrawFocusRect(TRect{parts.TextLeft, ARect.Top, ClientWidth(), ARect.Bottom - 1}.Intersected(ARect));
    return true;
}

int TCustomDBGridEh::PaintGroupRecordIndent(int AreaRow, const TRect& ARect)
{
    const TGroupDataTreeNodeEh* node = GroupNodeOfRow(AreaRow);
    const int indent = std::min(GroupIndent(), ARect.Width());
    if (node == nullptr || indent <= 0)
        return 0;
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    for (const TGroupDataTreeNodeEh* group = node->ParentNode(); group != nullptr && group->IsGroup();
         group = group->ParentNode()) {
        const int slotLeft = ARect.Left + (group->Level() - 1) * GroupSlotWidth;
        canvas->Brush()->SetColor(group->DataGroupLevel()->Color());
        canvas->FillRect(TRect{slotLeft, ARect.Top, std::min(slotLeft + GroupSlotWidth, ARect.Left + indent), ARect.Bottom});
    }
    return indent;
}

bool TCustomDBGridEh::HandleGroupRowKey(WORD Key, TShiftState Shift)
{
    if (!GroupingInEffect() || Shift.Contains(ssShift) || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl))
        return false;
    switch (Key) {
    case VK_UP: MoveInGroupTree(-1); return true;
    case VK_DOWN: MoveInGroupTree(1); return true;
    case VK_PRIOR: MoveInGroupTree(-std::max(1, FullyShownDataRows())); return true;
    case VK_NEXT: MoveInGroupTree(std::max(1, FullyShownDataRows())); return true;
    default: break;
    }
    TGroupDataTreeNodeEh* node = GroupNodeOfRow(Row() - RowsAboveData());
    if (node == nullptr || !node->IsGroup())
        return false;
    switch (Key) {
    case VK_ESCAPE:
        FDataLink->Reset();
        if (!FDBOptions.Contains(dgAlwaysShowEditor) && EditorMode())
            LeaveEditorMode();
        return true;
    case VK_LEFT:
        if (!node->Expanded())
            return false;
        node->SetExpanded(false);
        return true;
    case VK_RIGHT:
        if (node->Expanded())
            return false;
        node->SetExpanded(true);
        return true;
    case VK_MULTIPLY: node->SetExpanded(!node->Expanded()); return true;
    case VK_ADD: node->SetExpanded(true); return true;
    case VK_SUBTRACT: node->SetExpanded(false); return true;
    default: return false;
    }
}

// Every group node of every active level expanded or collapsed.
static void SetAllGroupsExpanded(TGridDataGroupsEh* Groups, bool Expanded)
{
    for (int I = 0; I < Groups->ActiveLevelCount(); ++I) {
        TGridDataGroupLevelEh* level = Groups->ActiveLevel(I);
        if (Expanded)
            level->ExpandAllGroups();
        else
            level->CollapseAllGroups();
    }
}

bool TCustomDBGridEh::ClickGroupRow(TShiftState Shift, int X, int Y)
{
    const TGridCoord cell = CellFromPoint(X, Y);
    TGroupDataTreeNodeEh* node = GroupNodeOfRow(cell.Y - RowsAboveData());
    if (node == nullptr || !node->IsGroup() || cell.X < IndicatorOffset())
        return false;
    const TGroupRowPartsEh parts = GroupRowParts(GroupRowLeft(this), node);
    FocusGroupTreeNode(node, false);
    if (X < parts.BoxLeft || X >= parts.TextLeft)
        return true;
    if (Shift.Contains(ssCtrl))
        SetAllGroupsExpanded(DataGrouping(), !node->Expanded());
    else
        node->SetExpanded(!node->Expanded());
    return true;
}
