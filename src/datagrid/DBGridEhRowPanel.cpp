// Row panel mode: its setting, the layout of the columns inside the panel and its rescale, the
// focused panel column and its scrolling into view, finding and sorting columns by their places.
#include "datagrid/DBGridEh.h"

#include "platform/ui/Canvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

// --- The setting --------------------------------------------------------------------------------

void TGridRowPanelEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TGridRowPanelEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetActive(source->Active());
}

void TGridRowPanelEh::SetActive(bool Value)
{
    if (FActive == Value)
        return;
    FActive = Value;
    FGrid->NotifyLayoutChanged();
}

void TCustomDBGridEh::SetRowPanel(TGridRowPanelEh* Value)
{
    if (Value == nullptr && Loading())
        FRowPanel->SetActive(true);
    else if (Value != nullptr)
        FRowPanel->Assign(Value);
}

bool TCustomDBGridEh::IsHorzPixelScroll()
{
    return TCustomGridEh::IsHorzPixelScroll() || FHorzScrollBar->SmoothStep() || FRowPanel->Active();
}

// Over a plain data link the rows are the dataset's window: only a memory table's rows scroll.
bool TCustomDBGridEh::IsVertPixelScroll() { return FVertScrollBar->SmoothStep() && UsesMemTableScrolling(); }

// --- Layout -------------------------------------------------------------------------------------

int TCustomDBGridEh::RowPanelLineHeight()
{
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(TitleFont());
    return canvas->TextHeight(QStringLiteral("Wg")) + 4 + (Flat() ? 0 : 1);
}

void TCustomDBGridEh::LayoutRowPanelColumns()
{
    const int lineWidth = GridLineWidth();
    const int pitch = RowPanelLinePitch();
    // The right edge reached so far on each line.
    std::vector<int> lineEdges;
    int panelWidth = 0;
    int panelHeight = pitch - 1;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnEh* column = FColumns->ColumnAt(i);
        const auto first = static_cast<std::size_t>(column->InRowLinePos());
        const auto last = first + static_cast<std::size_t>(column->InRowLineHeight());
        if (lineEdges.size() < last)
            lineEdges.resize(last, 0);
        const int left = *std::max_element(lineEdges.begin() + static_cast<std::ptrdiff_t>(first),
                                           lineEdges.begin() + static_cast<std::ptrdiff_t>(last));
        int width = column->Visible() ? column->Width() : 0;
        if (column->Visible() && left == 0)
            width += GroupIndent();
        const int top = column->InRowLinePos() * pitch;
        column->FRowPanelRect = Bounds(left, top, width, column->InRowLineHeight() * pitch - 1);
        const int edge = column->Visible() ? left + width + lineWidth : left;
        std::fill(lineEdges.begin() + static_cast<std::ptrdiff_t>(first),
                  lineEdges.begin() + static_cast<std::ptrdiff_t>(last), edge);
        if (column->Visible()) {
            panelWidth = std::max(panelWidth, column->FRowPanelRect.Right);
            panelHeight = std::max(panelHeight, column->FRowPanelRect.Bottom);
        }
    }
    FRowPanelWidth = panelWidth;
    FRowPanelHeight = panelHeight;
}

void TCustomDBGridEh::RescaleRowPanel(int NewWidth)
{
    // A panel without width gives no proportion to scale from: the widths stay as they are.
    const int oldWidth = FRowPanelWidth;
    if (oldWidth <= 0 || NewWidth <= 0 || NewWidth == oldWidth)
        return;
    const int lineWidth = GridLineWidth();
    const double scale = static_cast<double>(NewWidth) / oldWidth;
    FColumns->BeginUpdate();
    try {
        for (int i = 0; i < FColumns->Count(); ++i) {
            TColumnEh* column = FColumns->ColumnAt(i);
            const int left = column->RowPanelRect().Left;
            const int width = static_cast<int>(std::lround((column->Width() + left + lineWidth) * scale)) -
                              static_cast<int>(std::lround(left * scale)) - lineWidth;
            column->SetWidth(std::max(0, width));
        }
    } catch (...) {
        FColumns->EndUpdate();
        throw;
    }
    FColumns->EndUpdate();
    LayoutRowPanelColumns();
}

void TCustomDBGridEh::FollowRowPanelColumnWidth()
{
    const int col = FIndicatorCount;
    if (col >= ColCount() || ColWidthAt(col) <= 0 || ColWidthAt(col) == FRowPanelWidth || !TryLockLayout())
        return;
    try {
        RescaleRowPanel(ColWidthAt(col));
    } catch (...) {
        UnlockLayoutQuietly();
        throw;
    }
    UnlockLayout();
}

// --- Focus and scrolling ------------------------------------------------------------------------

bool TCustomDBGridEh::IsFocusedDataCell(int ACol, int DataCol) const
{
    return FRowPanel->Active() ? DataCol == FFocusedPanelColumn : ACol == Col();
}

void TCustomDBGridEh::SetFocusedPanelColumn(int Index)
{
    if (Index == FFocusedPanelColumn)
        return;
    // Text typed for the cell losing the focus goes into its field before the focus moves; only
    // an open editor on that very cell has any, and storing other text would write a wrong field.
    if (FDataLink->Active() && EditorMode() && FEditedPanelColumn == FFocusedPanelColumn)
        FDataLink->UpdateRecord();
    FFocusedPanelColumn = Index;
    ScrollRowPanelColumnIntoView();
    if (EditorMode())
        SyncEditor();
    InvalidateRowCells(Row());
}

void TCustomDBGridEh::LeaveEditorMode()
{
    TCustomGridEh::LeaveEditorMode();
    if (!FRowPanel->Active())
        return;
    FEditedPanelColumn = -1;
    InvalidateRowCells(Row());
}

void TCustomDBGridEh::SyncEditor()
{
    const bool panel = FRowPanel->Active();
    if (panel && FEditedPanelColumn >= 0 && FEditedPanelColumn != FFocusedPanelColumn && EditorCell().X >= 0)
        DismissEditor();
    TCustomGridEh::SyncEditor();
    // An editor with no cell to show on (its cell just hidden) still holds that cell's text.
    if (panel && EditorCell().X >= 0)
        FEditedPanelColumn = FFocusedPanelColumn;
}

void TCustomDBGridEh::ScrollRowPanelColumnIntoView()
{
    const TColumnEh* column = FocusedColumn();
    if (!FRowPanel->Active() || column == nullptr || !HandleAllocated())
        return;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const int view = layout.Horz.ClientExtent - layout.Horz.FixedBoundary;
    const int offset = HorzPixelOffset();
    const TRect& cell = column->RowPanelRect();
    const int lineWidth = Options().Contains(dgColLines) ? GridLineWidth() : 0;
    int wanted = offset;
    if (cell.Right + lineWidth > offset + view)
        wanted = cell.Width() + lineWidth > view ? cell.Left : cell.Right + lineWidth - view;
    else if (cell.Left < offset)
        wanted = cell.Left;
    if (wanted != offset)
        ScrollByPixels(wanted - offset, 0);
}

// --- Finding and ordering columns by their places -----------------------------------------------

TColumnEh* TCustomDBGridEh::RowPanelColumnAt(TPoint Point)
{
    const int colLine = Options().Contains(dgColLines) ? GridLineWidth() : 0;
    const int rowLine = Options().Contains(dgRowLines) ? GridLineWidth() : 0;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnEh* column = FColumns->ColumnAt(i);
        TRect area = column->RowPanelRect();
        area.Right += colLine;
        area.Bottom += rowLine;
        if (column->Visible() && area.Contains(Point))
            return column;
    }
    return nullptr;
}

void TCustomDBGridEh::SortColumnsByPanelPosition()
{
    if (!FRowPanel->Active())
        return;
    std::vector<TColumnEh*> order;
    for (int i = 0; i < FColumns->Count(); ++i)
        order.push_back(FColumns->ColumnAt(i));
    std::stable_sort(order.begin(), order.end(), [](const TColumnEh* A, const TColumnEh* B) {
        const TRect& a = A->RowPanelRect();
        const TRect& b = B->RowPanelRect();
        if (a.Left != b.Left)
            return a.Left < b.Left;
        if (a.Top != b.Top)
            return a.Top < b.Top;
        return !A->Visible() && B->Visible();
    });
    FColumns->BeginUpdate();
    try {
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i]->SetIndex(static_cast<int>(i));
    } catch (...) {
        FColumns->EndUpdate();
        throw;
    }
    FColumns->EndUpdate();
}
