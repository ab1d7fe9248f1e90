// The memory table's tree in the grid: the outline at the left of the first visible column, its
// node signs opening and closing nodes, the tree level a record drop picks, and the group indent
// the first visible column's width carries.
#include "controls/ToolCtrlsEhDraw.h"
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"

#include <algorithm>

namespace {

constexpr int TreeLevelWidth = 18;
constexpr TColor TreeEdgeColor = RGB(192, 192, 192);

// The sign of a node with children: its box, with connectors up to the node above and down to
// its next sibling.
TTreeElementEh NodeSign(bool Expanded, bool Up, bool Down)
{
    if (Expanded)
        return Up ? (Down ? TTreeElementEh::tehMinusUpDown : TTreeElementEh::tehMinusUp)
                  : (Down ? TTreeElementEh::tehMinusDown : TTreeElementEh::tehMinus);
    return Up ? (Down ? TTreeElementEh::tehPlusUpDown : TTreeElementEh::tehPlusUp)
              : (Down ? TTreeElementEh::tehPlusDown : TTreeElementEh::tehPlus);
}

}  // namespace

bool TCustomDBGridEh::MemTableTreeMode() const { return HasMemTableLink() && FMemTable->MemTableTreeMode(); }

int TCustomDBGridEh::MemTableTreeIndent(int Index) const
{
    return MemTableTreeMode() ? std::max(0, FMemTable->TreeNodeLevel(Index)) * TreeLevelWidth : 0;
}

int TCustomDBGridEh::CurrentRecordTreeIndent(const TColumnEh* Column) const
{
    const bool first = VisibleColumns()->Count() > 0 && VisibleColumns()->ColumnAt(0) == Column;
    return first && MemTableTreeMode() ? MemTableTreeIndent(FMemTable->MemTableCurrentIndex()) : 0;
}

int TCustomDBGridEh::ColumnWidthWithIndent(const TColumnEh* Column, int Width) const
{
    const bool first = VisibleColumns()->Count() > 0 && VisibleColumns()->ColumnAt(0) == Column;
    return first ? Width + GroupIndent() : Width;
}

int TCustomDBGridEh::ColumnWidthWithoutIndent(const TColumnEh* Column, int Width) const
{
    const bool first = VisibleColumns()->Count() > 0 && VisibleColumns()->ColumnAt(0) == Column;
    return first ? Width - GroupIndent() : Width;
}

TRect TCustomDBGridEh::FirstColumnCellRect(int ARow)
{
    if (VisibleColumns()->Count() == 0)
        return {};
    return CellPixelRect(DataColToGridCol(VisibleColumns()->ColumnAt(0)->Index()), ARow);
}

int TCustomDBGridEh::DropTreeLevelAt(int Row, TPoint At, int& MarkerX)
{
    const int left = FirstColumnCellRect(Row).Left;
    MarkerX = left;
    const int above = RowsAboveData();
    if (!MemTableTreeMode() || DisplayRecordCount() == 0)
        return -1;
    const int row = std::clamp(Row, above, above + DisplayRecordCount() - 1);
    const int rowLevel = FMemTable->TreeNodeLevel(row - above);
    // Below the start row the drop may go into the row's node.
    const int deepest = row > FRecordDrag.StartRow ? rowLevel + 1 : rowLevel;
    int level = rowLevel;
    if (At.X > left + rowLevel * TreeLevelWidth)
        level = std::clamp((At.X - left) / TreeLevelWidth + 1, rowLevel, deepest);
    MarkerX = left + level * TreeLevelWidth;
    return level;
}

bool TCustomDBGridEh::ToggleTreeNodeAt(int X, int Y, bool CheckOnly)
{
    if (!MemTableTreeMode())
        return false;
    const TGridCoord cell = CellFromPoint(X, Y);
    const int index = cell.Y - RowsAboveData();
    if (index < 0 || index >= DisplayRecordCount() || VisibleColumns()->Count() == 0 ||
        cell.X != DataColToGridCol(VisibleColumns()->ColumnAt(0)->Index()))
        return false;
    const int left = CellPixelRect(cell.X, cell.Y).Left;
    const int indent = MemTableTreeIndent(index);
    if (X < left || X >= left + indent)
        return false;
    if (CheckOnly || X < left + indent - TreeLevelWidth)
        return true;
    TDataSet* data = FDataLink->DataSet();
    const int top = TopRow();
    data->DisableControls();
    SuspendImmediateUpdate();
    try {
        data->SetRecNo(FMemTable->ToggleTreeNode(index) + 1);
    } catch (...) {
        ResumeImmediateUpdate();
        data->EnableControls();
        throw;
    }
    ResumeImmediateUpdate();
    data->EnableControls();
    ScrollTopRowTo(top, false);
    InvalidateGrid();
    UpdateVertScrollBar();
    return true;
}

int TCustomDBGridEh::PaintDataCellTreePart(int AreaRow, const TRect& ARect, TColor Background)
{
    const int level = FMemTable->TreeNodeLevel(AreaRow);
    const int indent = level * TreeLevelWidth;
    if (indent <= 0)
        return 0;
    TCanvas* canvas = Canvas();
    const TRect part{ARect.Left, ARect.Top, std::min(ARect.Left + indent, ARect.Right), ARect.Bottom};
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(Background);
    canvas->FillRect(part);
    const bool rowLines = Options().Contains(dgRowLines);
    const int nextLevel = AreaRow + 1 < DisplayRecordCount() ? FMemTable->TreeNodeLevel(AreaRow + 1) : 0;
    canvas->Pen()->SetColor(GridLineColors()->DarkLineColor());
    for (int slot = 1; slot <= level; ++slot) {
        const TRect box{ARect.Left + (slot - 1) * TreeLevelWidth, ARect.Top, ARect.Left + slot * TreeLevelWidth,
                        ARect.Bottom - (rowLines ? GridLineWidth() : 0)};
        const bool continues = FMemTable->TreeLevelContinues(AreaRow, slot);
        if (slot < level && continues)
            DrawTreeElement(canvas, box, TTreeElementEh::tehVLine, false, 1, 1, false);
        else if (slot == level && FMemTable->TreeNodeHasChildren(AreaRow))
            DrawTreeElement(canvas, box, NodeSign(FMemTable->TreeNodeExpanded(AreaRow), AreaRow > 0 || level > 1, continues),
                            false, 1, 1, false);
        else if (slot == level)
            DrawTreeElement(canvas, box, continues ? TTreeElementEh::tehCrossUpDown : TTreeElementEh::tehCrossUp, false,
                            1, 1, false);
        // The row line runs under the slots the next row does not reach into.
        if (rowLines && nextLevel <= slot) {
            canvas->MoveTo(box.Left, ARect.Bottom - 1);
            canvas->LineTo(std::min(box.Right, part.Right), ARect.Bottom - 1);
        }
    }
    canvas->Pen()->SetColor(TreeEdgeColor);
    canvas->MoveTo(part.Right - 1, ARect.Top);
    canvas->LineTo(part.Right - 1, ARect.Bottom);
    return part.Width();
}
