// The row detail panel: its settings, its container, and the grid's side of it: placing the
// container under the current record, the expand sign, and moving between records, which closes the
// panel first. Also the grid's row heights and a few small cell and row helpers.
#include "controls/ToolCtrlsEhDraw.h"
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhDraw.h"

#include "platform/data/DataSet.h"

#include <algorithm>

namespace {

// The expand sign's strip: one outline level wide.
constexpr int DetailSignWidth = 18;

}  // namespace

// --- Container -----------------------------------------------------------------------------------

TRowDetailPanelControlEh::TRowDetailPanelControlEh(TCustomDBGridEh* Grid) : TScrollingWinControl(Grid), FGrid(Grid)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption |
                    csDoubleClicks);
    SetBorderStyle(TBorderStyle::bsSingle);
    SetBounds(0, 0, 185, 41);
}

void TRowDetailPanelControlEh::Dispatch(TMessage& Message)
{
    // A key on its way to a control inside: Ctrl+Up, with Ctrl alone, goes back to the grid.
    const bool ctrlOnly = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0;
    if (Message.Msg == CM_CHILDKEY && Message.WParam == VK_UP && ctrlOnly && !FGrid->Designing() && FGrid->CanFocus()) {
        FGrid->SetFocus();
        Message.Result = 1;
        return;
    }
    TScrollingWinControl::Dispatch(Message);
}

// --- Settings ------------------------------------------------------------------------------------

TRowDetailPanelEh::TRowDetailPanelEh(TCustomDBGridEh* Grid) : FGrid(Grid), FColor(Grid->FixedColor()) {}

void TRowDetailPanelEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TRowDetailPanelEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetActive(source->FActive);
}

TPersistent* TRowDetailPanelEh::GetOwner() { return FGrid; }

void TRowDetailPanelEh::Changed() { FGrid->PlaceRowDetailPanel(); }

void TRowDetailPanelEh::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    // The designer opens an active panel so that it can be filled.
    if (FGrid->Designing() && !FGrid->Loading())
        FVisible = Value;
    if (!Value && FVisible)
        SwitchVisible(false);
    FGrid->PlaceRowDetailPanel();
    FGrid->NotifyLayoutChanged();
}

void TRowDetailPanelEh::SetWidth(int Value)
{
    if (Value == FWidth)
        return;
    FWidth = Value;
    Changed();
}

void TRowDetailPanelEh::SetHeight(int Value)
{
    if (Value == FHeight)
        return;
    FHeight = Value;
    Changed();
}

void TRowDetailPanelEh::SetBevelEdges(TBevelEdges Value)
{
    if (Value == FBevelEdges)
        return;
    FBevelEdges = Value;
    Changed();
}

void TRowDetailPanelEh::SetBevelInner(TBevelCut Value)
{
    if (Value == FBevelInner)
        return;
    FBevelInner = Value;
    Changed();
}

void TRowDetailPanelEh::SetBevelOuter(TBevelCut Value)
{
    if (Value == FBevelOuter)
        return;
    FBevelOuter = Value;
    Changed();
}

void TRowDetailPanelEh::SetBevelKind(TBevelKind Value)
{
    if (Value == FBevelKind)
        return;
    FBevelKind = Value;
    Changed();
}

void TRowDetailPanelEh::SetBevelWidth(int Value)
{
    if (Value == FBevelWidth)
        return;
    FBevelWidth = Value;
    Changed();
}

void TRowDetailPanelEh::SetBorderStyle(TBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    Changed();
}

TColor TRowDetailPanelEh::Color() const { return FParentColor ? FGrid->Color() : FColor; }

void TRowDetailPanelEh::SetColor(TColor Value)
{
    if (Value == Color() && !FParentColor)
        return;
    FColor = Value;
    FParentColor = false;
    Changed();
}

void TRowDetailPanelEh::SetParentColor(bool Value)
{
    if (Value == FParentColor)
        return;
    FParentColor = Value;
    Changed();
}

bool TRowDetailPanelEh::MaySwitchTo(bool Show)
{
    TGridDataLinkEh* link = FGrid->DataLink();
    // Nothing opens on a closed dataset; on an empty one only the show event can open it.
    if (Show && !link->Active())
        return false;
    bool allowed = !Show || !link->DataSet()->IsEmpty();
    if (!FGrid->BeingDestroyed()) {
        const TRowDetailPanelCheckEventEh& event = Show ? FGrid->OnRowDetailPanelShow : FGrid->OnRowDetailPanelHide;
        if (event)
            event(FGrid, allowed);
    }
    // A closed dataset leaves no record for the panel to stay under.
    return allowed || (!Show && !link->Active());
}

void TRowDetailPanelEh::SwitchVisible(bool Show)
{
    if (Show == FVisible || !MaySwitchTo(Show))
        return;
    FVisible = Show;
    FGrid->PlaceRowDetailPanel();
    if (Show || !FGrid->BeingDestroyed())
        FGrid->ScrollRowDetailIntoView(Show);
}

// --- The grid's side -----------------------------------------------------------------------------

void TCustomDBGridEh::SetRowDetailPanel(TRowDetailPanelEh* Value) { FRowDetailPanel->Assign(Value); }

int TCustomDBGridEh::FirstVisibleGridCol() const
{
    return VisibleColumns()->Count() > 0 ? DataColToGridCol(VisibleColumns()->ColumnAt(0)->Index()) : -1;
}

int TCustomDBGridEh::RowDetailSignOffset(int Row) { return MemTableTreeIndent(Row) + GroupIndent(); }

bool TCustomDBGridEh::RowHasDetailPanel()
{
    bool have = FRowDetailPanel->Active();
    if (OnCheckRowHaveDetailPanel)
        OnCheckRowHaveDetailPanel(this, have);
    return have;
}

int TCustomDBGridEh::PaintRowDetailSign(int, int DataRow, TGridDrawState, const TRect& Rect)
{
    if (!FRowDetailPanel->Active())
        return 0;
    TCanvas* canvas = Canvas();
    const TRect strip{Rect.Left, Rect.Top, std::min(Rect.Left + DetailSignWidth, Rect.Right), Rect.Bottom};
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(strip);
    if (RowHasDetailPanel()) {
        const bool open = FRowDetailPanel->Visible() && IsActiveRecordRow(DataRow);
        DrawTreeElement(canvas, TRect{Rect.Left, Rect.Top, Rect.Left + DetailSignWidth, Rect.Bottom},
                        open ? TTreeElementEh::tehMinus : TTreeElementEh::tehPlus, false, 1, 1, false);
    }
    return strip.Width();
}

bool TCustomDBGridEh::IsInRowDetailSign(int DataCol, int DataRow, TPoint PointInCell)
{
    if (DataColToGridCol(DataCol) != FirstVisibleGridCol() || !RowHasDetailPanel())
        return false;
    const int start = RowDetailSignOffset(DataRow);
    return PointInCell.X >= start && PointInCell.X < start + DetailSignWidth;
}

bool TCustomDBGridEh::HitRowDetailSign(TMouseButton, TShiftState, int X, int Y)
{
    const TGridCoord cell = CellFromPoint(X, Y);
    const int above = RowsAboveData();
    if (cell.Y < above || cell.X < IndicatorOffset() || cell.Y - above >= DisplayRecordCount())
        return false;
    // In the row panel the sign lies in the first visible column's panel cell.
    const int first = VisibleColumns()->Count() > 0 ? VisibleColumns()->ColumnAt(0)->Index() : -1;
    const bool panel = FRowPanel->Active();
    if (panel && first < 0)
        return false;
    const TRect rect = panel ? PanelCellClientRect(first, cell.Y) : CellPixelRect(cell.X, cell.Y);
    if (panel && !PointWithinRect(Point(X, Y), rect))
        return false;
    // The sign asks about the pressed row's record.
    TRowRecordScope record(this, cell.Y - above);
    return IsInRowDetailSign(panel ? first : GridColToDataCol(cell.X), cell.Y - above,
                             TPoint{X - rect.Left, Y - rect.Top});
}

TRect TCustomDBGridEh::RowDetailPanelBounds()
{
    const int col = FirstVisibleGridCol();
    if (col < 0)
        return {};
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const TRect rowRect = CellPixelRect(IndicatorOffset(), Row()).IsEmpty() ? CellPixelRect(col, Row())
                                                                            : CellPixelRect(IndicatorOffset(), Row());
    if (rowRect.IsEmpty())
        return {};
    // The first visible column scrolled out of view leaves the panel at the data area's left.
    const TRect cell = CellPixelRect(col, Row());
    const int cellLeft = cell.IsEmpty() ? layout.Horz.FixedBoundary : cell.Left;
    const int top = rowRect.Top + RecordRowHeight(Row() - RowsAboveData());
    const int left = cellLeft + RowDetailSignOffset(Row() - RowsAboveData()) + DetailSignWidth;
    const int room = ClientWidth() - left;
    int width = FRowDetailPanel->Width();
    if (width == 0)
        width = layout.Horz.GridBoundary - left - GridLineWidth();
    else
        width = std::min(width, room);
    const int height = std::min(FRowDetailPanel->Height(), ClientHeight() - top);
    // No room to the right of the sign or below the record: nothing to show.
    if (width <= 0 || height <= 0)
        return {};
    return TRect{left, top, left + width, top + height};
}

void TCustomDBGridEh::PlaceRowDetailPanel()
{
    if (!HandleAllocated() || FRowDetailControl == nullptr)
        return;
    // A row that held the panel before gets its own height back.
    if (FRowDetailRow >= 0 && FRowDetailRow != Row() && FRowDetailRow < RowCount()) {
        const int old = FRowDetailRow;
        FRowDetailRow = -1;
        FitDataRowHeight(old - RowsAboveData());
    }
    const bool shown = FRowDetailPanel->Active() && (FRowDetailPanel->Visible() || Designing());
    // Grids without the panel keep the rows as the row metrics made them.
    if ((FRowDetailPanel->Active() || FRowDetailRow >= 0) && Row() >= RowsAboveData())
        FitDataRowHeight(Row() - RowsAboveData());
    const TRect bounds = shown ? RowDetailPanelBounds() : TRect();
    if (bounds.IsEmpty()) {
        FRowDetailControl->SetVisible(false);
        return;
    }
    TRowDetailPanelControlEh* control = FRowDetailControl;
    control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    control->SetBevelEdges(FRowDetailPanel->BevelEdges());
    control->SetBevelInner(FRowDetailPanel->BevelInner());
    control->SetBevelOuter(FRowDetailPanel->BevelOuter());
    control->SetBevelKind(FRowDetailPanel->BevelKind());
    control->SetBevelWidth(FRowDetailPanel->BevelWidth());
    control->SetBorderStyle(FRowDetailPanel->BorderStyle());
    control->SetColor(FRowDetailPanel->Color());
    control->SetVisible(true);
}

void TCustomDBGridEh::ScrollRowDetailIntoView(bool Shown)
{
    if (!HandleAllocated() || Row() < FixedRows())
        return;
    // The data link's rows are the dataset's window: it narrows by the panel's height, keeping
    // the record, and widens again when the panel closes.
    if (!UsesMemTableScrolling()) {
        RecomputeRowMetrics();
        InvalidateGrid();
        PlaceRowDetailPanel();
        return;
    }
    TGridLayoutEh layout;
    ComputeLayout(layout);
    if (Shown) {
        const int top = TopLeftShowingCell(Row(), layout.Vert);
        if (TopRow() < top)
            ChangeTopRow(std::min(top, Row()));
    } else {
        const int top = TopLeftShowingCell(RowCount() - 1, layout.Vert);
        if (top < TopRow())
            ChangeTopRow(std::max(top, FixedRows()));
    }
    PlaceRowDetailPanel();
}

bool TCustomDBGridEh::FocusRowDetailPanel()
{
    if (!RowHasDetailPanel())
        return false;
    FRowDetailPanel->SwitchVisible(true);
    if (!FRowDetailPanel->Visible() || !FRowDetailControl->Visible())
        return true;
    TWinControl* target = FRowDetailPanel->ActiveControl();
    if (target == nullptr || Loading() || Designing() || !target->CanFocus())
        target = FRowDetailControl->FindNextControl(nullptr, true, true, false);
    if (target == nullptr)
        target = FRowDetailControl;
    if (target->CanFocus())
        target->SetFocus();
    return true;
}

int TCustomDBGridEh::MoveByRecords(int Distance)
{
    // Staying on the record keeps its panel open.
    if (Distance != 0 && FRowDetailPanel->Visible() && FDataLink->Active())
        FRowDetailPanel->SwitchVisible(false);
    if (FRowDetailPanel->Visible())
        return 0;
    if (GroupingInEffect())
        return MoveInGroupTree(Distance);
    return FDataLink->MoveBy(Distance);
}

TRect TCustomDBGridEh::CellDisplayRect(int ACol, int ARow)
{
    if (const TColumnEh* column = FocusedColumn(); FRowPanel->Active() && column != nullptr && ACol == IndicatorOffset())
        return PanelCellClientRect(column->Index(), ARow).Intersected(CellPixelRect(ACol, ARow));
    TRect rect = TCustomGridEh::CellDisplayRect(ACol, ARow);
    // Only the first visible column gives room to the group indent and the sign.
    if (ARow >= RowsAboveData() && ACol == FirstVisibleGridCol()) {
        rect.Left += GroupIndent();
        if (FRowDetailPanel->Active() && rect.Width() > DetailSignWidth)
            rect.Left += DetailSignWidth;
    }
    return RecordPartOfCell(ARow, rect);
}

TRect TCustomDBGridEh::CellFocusRect(int, int ARow, const TRect& CellRect) { return RecordPartOfCell(ARow, CellRect); }

TRect TCustomDBGridEh::RecordPartOfCell(int ARow, TRect ARect)
{
    if (FRowDetailPanel->Visible() && ARow == Row() && ARow >= RowsAboveData())
        ARect.Bottom = std::min(ARect.Bottom, ARect.Top + RecordRowHeight(ARow - RowsAboveData()));
    return ARect;
}

void TCustomDBGridEh::ResyncAfterScroll()
{
    TCustomGridEh::ResyncAfterScroll();
    if (FRowDetailPanel->Visible())
        PlaceRowDetailPanel();
}

// --- Row heights ---------------------------------------------------------------------------------

int TCustomDBGridEh::RecordRowHeight(int Row)
{
    if (!FDataLink->Active() || Row < 0 || Row >= DisplayRecordCount())
        return DefaultRowHeight();
    if (TGroupDataTreeNodeEh* node = GroupNodeOfRow(Row); node != nullptr && node->IsGroup())
        return GroupRowHeight(node);
    TRowRecordScope record(this, Row);
    return ContentRowHeight();
}

void TCustomDBGridEh::FitDataRowHeight(int Row)
{
    const int gridRow = Row + RowsAboveData();
    if (gridRow >= RowCount())
        return;
    int height = RecordRowHeight(Row);
    if (FRowDetailPanel->Visible() && gridRow == this->Row()) {
        height += FRowDetailPanel->Height();
        FRowDetailRow = gridRow;
    } else if (gridRow == FRowDetailRow)
        FRowDetailRow = -1;
    if (height != RowHeightAt(gridRow)) {
        FFittingRowHeight = true;
        try {
            ChangeRowHeight(gridRow, height);
        } catch (...) {
            FFittingRowHeight = false;
            throw;
        }
        FFittingRowHeight = false;
    }
}

void TCustomDBGridEh::FitAllDataRowHeights()
{
    const int above = RowsAboveData();
    if (!FDataLink->Active() || !IsMemTableMode() || MemTableTreeMode()) {
        for (int row = above; row < RowCount(); ++row)
            ChangeRowHeight(row, DefaultRowHeight());
        return;
    }
    SuspendScrollUpdates();
    try {
        for (int row = above; row < RowCount(); ++row)
            FitDataRowHeight(row - above);
    } catch (...) {
        ResumeScrollUpdates();
        throw;
    }
    ResumeScrollUpdates();
}

void TCustomDBGridEh::RecalcRowHeights()
{
    if (Loading())
        return;
    if (GroupingInEffect())
        FDataGrouping->GroupDataTree()->RecalcAllRowHeights();
    FitAllDataRowHeights();
}

// --- Cells and rows ------------------------------------------------------------------------------

bool TCustomDBGridEh::EditorShown() const { return InplaceEditor() != nullptr && InplaceEditor()->Visible(); }

void TCustomDBGridEh::SetCurrentGridCol(int ACol)
{
    if (ACol < FixedCols() || ACol >= ColCount())
        SelectCellAndNotify(ACol, Row(), true);
    else
        MoveCurrentCell(ACol, Row(), true, true, true);
}

int TCustomDBGridEh::DataRowCount() { return RowCount() - RowsAboveData(); }

TGridCellRangeEh TCustomDBGridEh::GetDataCellRange()
{
    return {IndicatorOffset(), RowsAboveData(), ColCount() - 1, RowCount() - 1};
}

TRect TCustomDBGridEh::DataAreaPixelRect()
{
    const TGridCellRangeEh range = GetDataCellRange();
    return CellRangePixelRect(range.Left, range.Top, range.Right, range.Bottom);
}
