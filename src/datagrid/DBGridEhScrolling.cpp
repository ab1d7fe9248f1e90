// The vertical and horizontal scroll bars kept in step with the records and columns, scrolling by rows.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"
#include "platform/ui/Types.h"

#include <algorithm>

namespace {

// The coarse horizontal range an external bar maps the scrolled columns onto.
constexpr int HorzBarRange = 127;

bool SameScrollInfo(const TScrollInfo& A, const TScrollInfo& B)
{
    return A.nMin == B.nMin && A.nMax == B.nMax && A.nPage == B.nPage && A.nPos == B.nPos;
}

}  // namespace

int TCustomDBGridEh::VisibleDataRowCount() const
{
    // With a memory table every record is a row: the rows of the window are the fully shown ones.
    if (UsesMemTableScrolling())
        return std::max(1, FullyShownDataRows());
    return std::max(1, RowCount() - FixedRows());
}

bool TCustomDBGridEh::VertBarScrolls() const
{
    return FVertScrollInfoSet && FVertBarWanted &&
           static_cast<long long>(FVertScrollInfo.nMax) - FVertScrollInfo.nMin + 1 > FVertScrollInfo.nPage;
}

void TCustomDBGridEh::UpdateVertScrollBar()
{
    if (UsesMemTableScrolling()) {
        UpdateRowScrollBar();
        return;
    }
    if (!HandleAllocated())
        return;
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    const TDataSet* data = FDataLink->DataSet();
    if (!FDataLink->Active()) {
        info.nMin = 0;
        info.nMax = 1;
        info.nPage = 2;
        info.nPos = 0;
    } else if (data->IsSequenced()) {
        // The thumb stands for the record number: a page of the rows shown over all records.
        const int page = VisibleDataRowCount();
        info.nMin = 1;
        info.nPage = static_cast<unsigned>(page);
        info.nMax = data->RecordCount() + page - 1;
        const bool keepPosition = data->State() >= TDataSetState::dsInsert && FVertScrollInfoSet;
        info.nPos = keepPosition ? FVertScrollInfo.nPos : std::max(1, data->RecNo());
    } else {
        // Without record numbers only the ends are known: a five-step thumb.
        info.nMin = 0;
        info.nMax = 4;
        info.nPage = 0;
        info.nPos = data->Bof() ? 0 : data->Eof() ? 4 : 2;
    }
    if (!FVertBarWanted)
        info.nMax = info.nMin;
    ApplyVertScrollInfo(info);
}

void TCustomDBGridEh::ApplyVertScrollInfo(const TScrollInfo& Info)
{
    if (FVertScrollInfoSet && SameScrollInfo(Info, FVertScrollInfo))
        return;
    FVertScrollInfo = Info;
    FVertScrollInfoSet = true;
    ShowVertScrollInfo(Info);
}

void TCustomDBGridEh::UpdateHorzScrollBar()
{
    // Only an external horizontal bar is kept here; the window's own one is the base grid's.
}

TScrollInfo TCustomDBGridEh::ComputeHorzScrollInfo() const
{
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const int highest = TopLeftShowingCell(ColCount() - 1, layout.Horz) - FixedCols();
    info.nMin = 0;
    info.nMax = highest > 0 ? HorzBarRange : 0;
    info.nPage = static_cast<unsigned>(std::max(0, layout.Horz.LastFullVisibleCell - LeftCol() + 1));
    // A span of no columns has nothing to map: position 0.
    info.nPos = highest > 0 ? MulDiv(std::clamp(LeftCol() - FixedCols(), 0, highest), HorzBarRange, highest) : 0;
    return info;
}

// --- Row scrolling (memory tables) --------------------------------------------------------------

void TCustomDBGridEh::UpdateRowScrollBar()
{
    if (!HandleAllocated())
        return;
    // Scrolled by pixels, the bar is the base grid's: positions and page in pixels.
    if (IsVertPixelScroll()) {
        SyncScrollBarPositions();
        return;
    }
    TGridLayoutEh layout;
    ComputeLayout(layout);
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 1;
    info.nPos = TopRow() - FixedRows() + 1;
    if (FOptionsEh.Contains(dghAutoFitRowHeight)) {
        info.nMax = TopLeftShowingCell(RowCount() - 1, layout.Vert) - FixedRows() + 1;
        info.nPage = 0;
    } else {
        info.nMax = RowCount() - FixedRows();
        info.nPage = static_cast<unsigned>(std::max(0, layout.Vert.LastFullVisibleCell - TopRow() + 1));
    }
    if (!FVertBarWanted)
        info.nMax = info.nMin;
    ApplyVertScrollInfo(info);
}

int TCustomDBGridEh::ScrollTopRowTo(int NewTop, bool CalcOnly)
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const int highest = TopLeftShowingCell(RowCount() - 1, layout.Vert);
    NewTop = std::clamp(NewTop, FixedRows(), std::max(FixedRows(), RowCount() - 1));
    NewTop = std::max(FixedRows(), std::min(NewTop, highest));
    if (CalcOnly || NewTop == TopRow())
        return NewTop;
    const int oldTop = TopRow();
    ChangeTopRow(NewTop);
    UpdateVertScrollBar();
    if (FOptionsEh.Contains(dghRowHighlight)) {
        InvalidateRowCells(oldTop);
        InvalidateRowCells(NewTop);
    }
    return NewTop;
}

void TCustomDBGridEh::ScrollRowsByBarAction(int ScrollCode, int ThumbPos)
{
    if (!UsesMemTableScrolling())
        return;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const int top = TopRow();
    int newTop = top;
    switch (ScrollCode) {
    case SB_LINEUP: newTop = top - 1; break;
    case SB_LINEDOWN: newTop = top + 1; break;
    case SB_PAGEUP:
        // Back so that the row above the top is the last one fully shown.
        newTop = std::min(top - 1, TopLeftShowingCell(std::max(FixedRows(), top - 1), layout.Vert));
        break;
    case SB_PAGEDOWN: newTop = std::max(top + 1, layout.Vert.LastFullVisibleCell); break;
    case SB_TOP: newTop = FixedRows(); break;
    case SB_BOTTOM: newTop = RowCount(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: newTop = FixedRows() + ThumbPos - 1; break;
    default: return;
    }
    ScrollTopRowTo(newTop, false);
    UpdateRowScrollBar();
}
