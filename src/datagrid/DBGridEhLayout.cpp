// The data grid's layout: the field map, the rebuild of columns, rows and titles, its locks, column widths.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/Themes.h"
#include "platform/ui/Types.h"

#include <algorithm>
#include <cassert>

using namespace Qt::StringLiterals;

namespace {

const char* const STooManyColumns = "Grid requested to display more than 256 columns";
// The most entries the field map holds.
constexpr int MaxFieldMapCount = 268435455;

}  // namespace

// --- The field map ------------------------------------------------------------------------------

int TGridDataLinkEh::MappedFieldIndex(int Index) const
{
    return Index >= 0 && Index < FieldMapCount() ? FFieldMap[static_cast<std::size_t>(Index)] : -1;
}

TField* TGridDataLinkEh::MappedField(int Index) const
{
    const int fieldIndex = MappedFieldIndex(Index);
    const TDataSet* data = DataSet();
    if (fieldIndex < 0 || data == nullptr || fieldIndex >= data->FieldCount())
        return nullptr;
    return data->Fields()->Fields(fieldIndex);
}

void TGridDataLinkEh::AppendFieldMapping(const String& FieldName)
{
    if (FieldMapCount() >= MaxFieldMapCount)
        RaiseGridOperationError(STooManyColumns);
    const TDataSet* data = DataSet();
    TField* field = nullptr;
    if (data != nullptr)
        field = FSparseMap ? data->FindField(FieldName) : data->FieldByName(FieldName);
    if (FFieldMap.size() == FFieldMap.capacity())
        FFieldMap.reserve(std::max<std::size_t>(8, FFieldMap.capacity() * 2));
    FFieldMap.push_back(field != nullptr ? field->Index() : -1);
    if (field != nullptr)
        field->FreeNotification(FGrid);
}

void TGridDataLinkEh::ClearFieldMap()
{
    FFieldMap.clear();
    FFieldMap.shrink_to_fit();
}

bool TGridDataLinkEh::UsesDefaultFields() const
{
    const TDataSet* data = DataSet();
    if (data != nullptr && !data->DefaultFields())
        return false;
    return !FSparseMap || std::find(FFieldMap.begin(), FFieldMap.end(), -1) == FFieldMap.end();
}

void TCustomDBGridEh::MapColumnsToFields()
{
    const TDataSet* data = FDataLink->DataSet();
    if (FColumns->IsCustomized()) {
        FDataLink->SetSparseMap(true);
        for (int i = 0; i < FColumns->Count(); ++i)
            FDataLink->AppendFieldMapping(FColumns->ColumnAt(i)->FieldName());
        return;
    }
    FDataLink->SetSparseMap(false);
    for (int i = 0; i < data->FieldCount(); ++i) {
        const TField* field = data->Fields()->Fields(i);
        if (field->Visible())
            FDataLink->AppendFieldMapping(field->FieldName());
    }
}

// --- Locks --------------------------------------------------------------------------------------

void TCustomDBGridEh::LockLayout()
{
    if (FLayoutLock == 0)
        FColumns->BeginUpdate();
    if (FLayoutLock < 255)
        ++FLayoutLock;
    SuspendImmediateUpdate();
}

bool TCustomDBGridEh::TryLockLayout()
{
    if (FLayoutLock != 0 || FUpdateLock != 0)
        return false;
    LockLayout();
    return true;
}

void TCustomDBGridEh::EndLayoutLevel()
{
    assert(FUpdateLock >= FLayoutLock || FUpdateLock == 255);
    if (FLayoutLock == 0)
        return;
    // The column update ends while the lock still stands, so its echo does not rebuild again.
    if (FLayoutLock == 1)
        FColumns->EndUpdate();
    --FLayoutLock;
    ResumeImmediateUpdate();
}

void TCustomDBGridEh::UnlockLayout()
{
    if (FLayoutLock == 1) {
        try {
            RebuildLayout();
        } catch (...) {
            EndLayoutLevel();
            throw;
        }
    }
    EndLayoutLevel();
}

void TCustomDBGridEh::UnlockLayoutQuietly() { EndLayoutLevel(); }

void TCustomDBGridEh::UnlockLayoutDeferred()
{
    if (!FDeferredLayoutQueued)
        FDeferredLayoutQueued = PostMessage(this, WM_DEFERRED_LAYOUT_EH);
    UnlockLayoutQuietly();
}

bool TCustomDBGridEh::TakeDeferredLayoutMessage()
{
    const bool wanted = FDeferredLayoutQueued;
    FDeferredLayoutQueued = false;
    return wanted;
}

void TCustomDBGridEh::SuspendImmediateUpdate()
{
    if (FUpdateLock < 255)
        ++FUpdateLock;
}

void TCustomDBGridEh::ResumeImmediateUpdate()
{
    if (FUpdateLock > 0)
        --FUpdateLock;
}

void TCustomDBGridEh::NotifyLayoutChanged()
{
    if (TryLockLayout())
        UnlockLayout();
}

// --- The rebuild --------------------------------------------------------------------------------

void TCustomDBGridEh::RebuildLayout()
{
    if (Loading() || BeingDestroyed())
        return;
    // Only the last unlock's own lock may stand while the layout rebuilds.
    assert(FLayoutLock <= 1);
    FDeferredLayoutQueued = false;
    SuspendScrollUpdates();
    try {
        RemoveDefaultColumnsAfterPersistent();
        FIndicatorCount = HasIndicatorColumn() ? 1 : 0;
        FDataLink->ClearFieldMap();
        if (FDataLink->Active())
            MapColumnsToFields();
        BindColumnsToMap();
        RebuildVisibleColumns();
        if (FRowPanel->Active())
            LayoutRowPanelColumns();
        FSelection->Columns()->SyncWithColumns();
        ApplyColumnCounts(CountFrozenColumns());
        ComputeRowHeightMetrics();
        FComputedTitleHeight = ComputeTitleRowHeight();
        UpdateScrollBarWanting();
        ApplyColumnWidths();
        FitAutoWidthColumns();
        if (TitleRowsShown() > 0)
            ChangeRowHeight(0, FComputedTitleHeight);
        ApplyColumnWidths();
        const int leftCol = LeftCol();
        try {
            RecomputeRowMetrics();
        } catch (...) {
            if (leftCol < ColCount())
                ChangeLeftCol(leftCol);
            throw;
        }
        PlaceRowDetailPanel();
        FollowActiveRecord();
        InvalidateGrid();
        UpdateFixedCellLineColor();
    } catch (...) {
        ResumeScrollUpdates();
        throw;
    }
    ResumeScrollUpdates();
}

void TCustomDBGridEh::RemoveDefaultColumnsAfterPersistent()
{
    bool defaultSeen = false;
    for (int i = 0; i < FColumns->Count(); ++i) {
        const bool isDefault = FColumns->ColumnAt(i)->IsDefaultColumn();
        if (isDefault) {
            defaultSeen = true;
        } else if (defaultSeen) {
            for (int j = FColumns->Count() - 1; j >= 0; --j)
                if (FColumns->ColumnAt(j)->IsDefaultColumn())
                    FColumns->Delete(j);
            return;
        }
    }
}

void TCustomDBGridEh::BindColumnsToMap()
{
    const bool active = FDataLink->Active();
    if (FColumns->IsCustomized()) {
        for (int i = 0; i < FColumns->Count(); ++i) {
            TColumnEh* column = FColumns->ColumnAt(i);
            column->ReleaseField();
            if (active)
                column->BindField(FDataLink->MappedField(i));
        }
        return;
    }
    const int mapCount = FDataLink->FieldMapCount();
    if (active || !FDataLink->UsesDefaultFields()) {
        // Field(), not the cache: a binding released while the dataset's controls were off comes
        // back by name, so the column, and whoever holds it (a search under way), outlives the pause.
        for (int i = FColumns->Count() - 1; i >= 0; --i) {
            const TField* field = FColumns->ColumnAt(i)->Field();
            bool mapped = false;
            for (int m = 0; m < mapCount && !mapped; ++m)
                mapped = field != nullptr && FDataLink->MappedField(m) == field;
            if (!mapped)
                FColumns->Delete(i);
        }
    } else {
        FColumns->Clear();
    }
    const int entries = std::max(mapCount, FColumns->Count() == 0 ? 1 : 0);
    for (int i = 0; i < entries; ++i) {
        TField* field = FDataLink->MappedField(i);
        TColumnEh* column = nullptr;
        for (int j = i; field != nullptr && j < FColumns->Count() && column == nullptr; ++j)
            if (FColumns->ColumnAt(j)->Field() == field)
                column = FColumns->ColumnAt(j);
        if (column == nullptr) {
            column = FColumns->AddDefaultColumn();
            column->BindField(field);
        }
        // The collection's own move: a default column's SetIndex would move the field too.
        if (column->Index() != i)
            column->TCollectionItem::SetIndex(i);
    }
}

void TCustomDBGridEh::RebuildVisibleColumns()
{
    FVisibleColumns->Clear();
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->ColumnAt(i)->Visible())
            FVisibleColumns->Add(FColumns->ColumnAt(i));
}

int TCustomDBGridEh::CountFrozenColumns() const
{
    const int count = FColumns->Count();
    int frozen = FFrozenCols;
    for (int i = 0; i < std::min(FFrozenCols, count); ++i)
        if (!FColumns->ColumnAt(i)->Visible())
            ++frozen;
    while (frozen < count && !FColumns->ColumnAt(frozen)->Visible())
        ++frozen;
    return frozen;
}

void TCustomDBGridEh::ApplyColumnCounts(int Frozen)
{
    if (FRowPanel->Active()) {
        // One grid column holds the whole panel.
        ChangeFrozenFixedCols(0);
        ApplyContraColCount(0);
        ChangeColCount(FIndicatorCount + 1);
        ChangeFixedCols(FIndicatorCount);
        return;
    }
    const int count = FColumns->Count();
    const bool bound = FDataLink->Active() || FColumns->IsCustomized();
    // At least one column scrolls: the contra columns never take all the unfrozen ones.
    const int contra = bound ? std::clamp(std::min(FWantedContraCols, count - Frozen), 0, std::max(0, count - Frozen - 1)) : 0;
    const int colCount = std::max(1, count + FIndicatorCount - contra);
    const int visible = FVisibleColumns->Count();
    int fixed = FIndicatorCount + std::min(Frozen, count);
    if (FFrozenCols > 0 && FFrozenCols >= visible)
        fixed = FIndicatorCount + visible - 1;
    fixed = std::clamp(fixed, 0, colCount - 1);
    const int frozenFixed = bound ? std::max(0, fixed - FIndicatorCount) : 0;
    ChangeFrozenFixedCols(0);
    if (FixedCols() >= colCount)
        ChangeFixedCols(colCount - 1);
    ApplyContraColCount(0);
    ChangeColCount(colCount);
    ChangeFixedCols(fixed);
    ChangeFrozenFixedCols(frozenFixed);
    ApplyContraColCount(contra);
}

// --- Heights ------------------------------------------------------------------------------------

int TCustomDBGridEh::ComputeDefaultRowHeight()
{
    const int lineWidth = FDBOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
    return Font()->Metrics().tmHeight + 1 + (Flat() ? 0 : 2) + lineWidth;
}

void TCustomDBGridEh::ComputeRowHeightMetrics()
{
    const TTextMetric metrics = Font()->Metrics();
    const int lineWidth = FDBOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
    const int base = (Flat() ? 1 : 3) + lineWidth;
    int height = FRowHeight > 0 || FRowLines > 0
                     ? FRowHeight + (metrics.tmHeight + metrics.tmExternalLeading) * FRowLines
                     : ComputeDefaultRowHeight();
    if (FRowPanel->Active()) {
        height = FRowPanelHeight;
    } else if (FOptionsEh.Contains(dghFitRowHeightToText)) {
        // Snapped to whole lines of the same pitch RowLines counts in, so a rebuild of a snapped
        // height gives the same height again.
        const int pitch = std::max(1, metrics.tmHeight + metrics.tmExternalLeading);
        const int lines = (height - base) / pitch;
        const int rest = (height - base) % pitch;
        height = rest <= pitch / 2 && lines > 0 ? base + lines * pitch : base + (lines + 1) * pitch;
        FRowLines = (height - base) / pitch;
        FRowHeight = base;
    }
    FDataRowHeight = height;
    ChangeDefaultRowHeight(height);
    if (FEditButtonWidth == 0)
        FEditButtonWidth = ComputeEditButtonWidth();
    FEditButtonHeight = EditButtonHeightInStrip(height, FEditButtonWidth, Flat());
    FRowsHoldSeveralLines =
        metrics.tmHeight + metrics.tmExternalLeading + metrics.tmInternalLeading + 4 < height;
}

int TCustomDBGridEh::ComputeTitleRowHeight()
{
    if (TitleRowsShown() == 0)
        return 0;
    if (FRowPanel->Active())
        return FRowPanelHeight;
    if (MultiTitleInEffect()) {
        BuildTitleTree();
        MeasureTitleTree();
        return std::max(1, FHeadTree->Height - (FOptionsEh.Contains(dghFixed3D) ? 1 : 3));
    }
    const TFont* tallest = FTitleFont.get();
    int height = -1;
    for (int i = 0; i < FVisibleColumns->Count(); ++i) {
        const TFont* font = FVisibleColumns->ColumnAt(i)->Title()->Font();
        const int columnHeight = font->Metrics().tmHeight + 4;
        if (columnHeight > height) {
            height = columnHeight;
            tallest = font;
        }
    }
    if (height < 0)
        height = FTitleFont->Metrics().tmHeight + 4;
    if (FTitleHeight != 0 || FTitleLines != 0) {
        const TTextMetric metrics = tallest->Metrics();
        height = FTitleLines * metrics.tmHeight + metrics.tmExternalLeading + FTitleHeight + 2 +
                 (FDBOptions.Contains(dgRowLines) ? 1 : 0);
    }
    return height;
}

void TCustomDBGridEh::BuildTitleTree() { FHeadTree->BuildFromColumns(this, FLeaves); }

namespace {

int CaptionHeight(const THeadTreeNode* Node, const TFont* Font, int VTitleMargin)
{
    const String caption = Node->Caption.isEmpty() ? u" "_s : Node->Caption;
    if (Node->Column != nullptr && Node->Column->Title()->Orientation() == TTextOrientationEh::tohVertical)
        return Font->TextAdvance(caption) + VTitleMargin;
    const int width = std::max(1, Node->Width - Node->SortMarkIndent - 4);
    return Font->WrappedTextHeight(caption, width) + 4;
}

}  // namespace

void TCustomDBGridEh::MeasureTitleTree()
{
    // The height of a ring of siblings: the tallest caption plus its subtree. A parent keeps
    // what its children leave; a leaf takes the whole height.
    std::function<int(THeadTreeNode*)> measure = [&](THeadTreeNode* First) {
        std::vector<THeadTreeNode*> nodes;
        THeadTreeNode* node = First;
        do {
            nodes.push_back(node);
            node = node->NextSibling;
        } while (node != First);
        std::vector<int> below(nodes.size(), 0);
        int total = 0;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const TFont* font = nodes[i]->Column != nullptr ? nodes[i]->Column->Title()->Font() : FTitleFont.get();
            below[i] = nodes[i]->FirstChild != nullptr ? measure(nodes[i]->FirstChild) : 0;
            total = std::max(total, CaptionHeight(nodes[i], font, FVTitleMargin) + below[i]);
        }
        for (std::size_t i = 0; i < nodes.size(); ++i)
            nodes[i]->Height = total - below[i];
        return total;
    };
    FHeadTree->Height = FHeadTree->FirstChild != nullptr ? measure(FHeadTree->FirstChild) : 0;
}

// --- Scroll bars and widths ---------------------------------------------------------------------

void TCustomDBGridEh::UpdateScrollBarWanting()
{
    const bool horz = !FAutoFitColWidths || Designing();
    if (horz == FHorzBarWanted)
        return;
    FHorzBarWanted = horz;
    ChangeScrollBars(horz ? TScrollStyle::ssHorizontal : TScrollStyle::ssNone);
    UpdateVertScrollBar();
}

int TCustomDBGridEh::ComputeIndicatorWidth()
{
    int width = FDBOptions.Contains(dgIndicator) ? 11 : 0;
    const TDataSet* data = FDataLink->DataSet();
    if (FOptionsEh.Contains(dghShowRecNo) && data != nullptr) {
        int digits = 1;
        for (int count = data->Active() ? data->RecordCount() : 0; count >= 10 && digits < 102; count /= 10)
            ++digits;
        TFont font;
        font.Assign(Font());
        font.SetSize(font.Size() - 1);
        width = font.FontMetrics().horizontalAdvance(String(digits, u'0')) + (width == 0 ? 2 : width) + 2;
    }
    return std::max(width, 11);
}

void TCustomDBGridEh::ApplyColumnWidths()
{
    const int hiddenWidth = FDBOptions.Contains(dgColLines) ? -1 : 0;
    FLastWidthColumn = -1;
    if (FRowPanel->Active() && FIndicatorCount < TotalColCount()) {
        if (ColWidthAt(FIndicatorCount) != FRowPanelWidth)
            ChangeColWidth(FIndicatorCount, FRowPanelWidth);
        FLastWidthColumn = FIndicatorCount;
    }
    for (int i = 0; i < FColumns->Count() && !FRowPanel->Active(); ++i) {
        const TColumnEh* column = FColumns->ColumnAt(i);
        const int col = DataColToGridCol(i);
        if (col >= TotalColCount())
            break;
        const int width = column->Visible() ? column->WidthWithIndent() : hiddenWidth;
        if (ColWidthAt(col) != width)
            ChangeColWidth(col, width);
        if (width > 0)
            FLastWidthColumn = col;
    }
    if (FIndicatorCount > 0 && HandleAllocated()) {
        FIndicatorWidth = ComputeIndicatorWidth();
        if (ColWidthAt(0) != FIndicatorWidth)
            ChangeColWidth(0, FIndicatorWidth);
    }
}

void TCustomDBGridEh::FitAutoWidthColumns()
{
    if (!FAutoFitColWidths || Designing() || !HandleAllocated())
        return;
    UpdateVertScrollBar();
    if (FRowPanel->Active()) {
        const int lines = FDBOptions.Contains(dgColLines) ? GridLineWidth() * (1 + FIndicatorCount) : 0;
        RescaleRowPanel(std::max(ClientWidth(), FMinAutoFitWidth) - (FIndicatorCount > 0 ? FIndicatorWidth : 0) - lines);
        return;
    }
    const bool colLines = FDBOptions.Contains(dgColLines);
    std::vector<TColumnEh*> fitting;
    int fixedWidths = 0;
    for (int i = 0; i < FVisibleColumns->Count(); ++i) {
        TColumnEh* column = FVisibleColumns->ColumnAt(i);
        if (column->AutoFitColWidth())
            fitting.push_back(column);
        else
            fixedWidths += column->Width();
    }
    int reserve = FIndicatorCount > 0 ? FIndicatorWidth : 0;
    if (colLines)
        reserve += FVisibleColumns->Count() + FIndicatorCount;
    while (!fitting.empty()) {
        const int left = std::max(0, std::max(ClientWidth(), FMinAutoFitWidth) - fixedWidths) - reserve;
        int totalBase = 0;
        for (const TColumnEh* column : fitting)
            totalBase += column->DesignWidth();
        // Stretch bases of zero give nothing to share out.
        if (totalBase <= 0 || left <= 0)
            break;
        bool repeat = false;
        int used = 0;
        for (std::size_t i = 0; i < fitting.size() && !repeat; ++i) {
            TColumnEh* column = fitting[i];
            const int wanted = MulDiv(column->DesignWidth(), left, totalBase);
            column->StoreWidth(wanted);
            if (column->Width() != wanted) {
                // Held by its MinWidth or MaxWidth: it counts as fixed from now on.
                fixedWidths += column->Width();
                fitting.erase(fitting.begin() + static_cast<std::ptrdiff_t>(i));
                repeat = true;
            } else {
                used += wanted;
            }
        }
        if (!repeat) {
            TColumnEh* last = fitting.back();
            last->StoreWidth(std::max(0, last->Width() + left - used));
            break;
        }
    }
}

// --- Fixed-cell lines ---------------------------------------------------------------------------

void TCustomDBGridEh::UpdateFixedCellLineColor()
{
    const bool themed = ThemeServices().ThemesEnabled();
    if (Flat())
        FFixedCellLineColor = RGB(128, 128, 128);
    else if (themed && FOptionsEh.Contains(dghFixed3D))
        FFixedCellLineColor = clBtnShadow;
    else if (themed)
        FFixedCellLineColor = clBtnFace;
    else
        FFixedCellLineColor = clBlack;
}
