// The data grid's construction, its data link and the events it forwards, and the property writers.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhHelpers.h"

#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Types.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const char* const SColumnNotFound = "字段名 '%s' 没有找到";

// Restores a flag when the scope ends, also by an exception.
class TFlagGuard {
public:
    TFlagGuard(bool& Flag, bool Value) : FFlag(Flag), FSaved(Flag) { FFlag = Value; }
    ~TFlagGuard() { FFlag = FSaved; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};

}  // namespace

// --- The data link ------------------------------------------------------------------------------

void TGridDataLinkEh::TakeBookmark()
{
    if (Active())
        FLastBookmark = DataSet()->Bookmark();
}

void TGridDataLinkEh::ActiveChanged()
{
    FGrid->NotifyLinkActiveChanged(Active());
    FModified = false;
    TakeBookmark();
}

void TGridDataLinkEh::DataSetChanged()
{
    FGrid->NotifyDataSetChanged();
    FModified = false;
    TakeBookmark();
}

void TGridDataLinkEh::DataSetScrolled(int Distance)
{
    FGrid->NotifyDataSetScrolled(Distance);
    TakeBookmark();
}

void TGridDataLinkEh::LayoutChanged()
{
    // The change the dataset kept while its controls were disabled may hide a close and an open
    // (a requery): the grid takes it as one opening, rebuilding once instead of once per state.
    if (std::exchange(FChangeAtEnable, false)) {
        ActiveChanged();
        DataSetChanged();
        return;
    }
    {
        TFlagGuard guard(FInLayoutChange, true);
        FGrid->NotifyLayoutChanged();
    }
    TDataLink::LayoutChanged();
}

void TGridDataLinkEh::RecordChanged(TField* Field)
{
    FGrid->NotifyRecordChanged(Field);
    FModified = false;
}

void TGridDataLinkEh::EditingChanged()
{
    if (FGrid->Options().Contains(dgIndicator))
        FGrid->InvalidateOneCell(0, FGrid->Row());
}

void TGridDataLinkEh::UpdateData()
{
    if (FInUpdateData)
        return;
    TFlagGuard guard(FInUpdateData, true);
    if (FModified) {
        try {
            FGrid->StoreEditorTextInField();
        } catch (...) {
            FModified = false;
            throw;
        }
    }
    FModified = false;
}

void TGridDataLinkEh::Reset()
{
    if (FModified)
        RecordChanged(nullptr);
    else if (TDataSet* data = DataSet())
        data->Cancel();
}

void TGridDataLinkEh::FocusControl(TField** Field)
{
    if (Field == nullptr || *Field == nullptr)
        return;
    TColumnEh* column = nullptr;
    for (int i = 0; i < FGrid->Columns()->Count(); ++i) {
        if (FGrid->Columns()->ColumnAt(i)->Field() == *Field) {
            column = FGrid->Columns()->ColumnAt(i);
            break;
        }
    }
    if (column == nullptr)
        return;
    FGrid->FocusDataColumn(column->Index());
    if (column->Field() == *Field && FGrid->AcquireFocus()) {
        *Field = nullptr;
        FGrid->ChangeEditorMode(true);
    }
}

void TGridDataLinkEh::DataEvent(TDataEvent Event, std::intptr_t Info)
{
    if (Event == TDataEvent::deDisabledStateChange)
        FGrid->Columns()->ReleaseFieldBindings();
    // EnableControls sends what it kept right after telling the controls they are enabled.
    const bool enabled = std::exchange(FEnabled, Event == TDataEvent::deDisabledStateChange && Info == 0);
    FChangeAtEnable = enabled && Event == TDataEvent::deLayoutChange;
    TDataLink::DataEvent(Event, Info);
}

// --- Construction -------------------------------------------------------------------------------

TCustomDBGridEh::TCustomDBGridEh(TComponent* AOwner)
    : TCustomDBGridEh(AOwner, {&CreateColumnDefValuesObject, &CreateColumnsObject})
{
}

TCustomDBGridEh::TCustomDBGridEh(TComponent* AOwner, const TColumnFactoriesEh& Factories)
    : TCustomGridEh(AOwner),
      FVisibleColumns(std::make_unique<TColumnsEhList>()),
      FDataLink(std::make_unique<TGridDataLinkEh>(this)),
      FSortedColumns(std::make_unique<TColumnsEhList>()),
      FHeadTree(std::make_unique<THeadTreeNode>(u"Root"_s, 100, 10)),
      FTitleFont(std::make_unique<TFont>()),
      FFooterFont(std::make_unique<TFont>())
{
    InstallColumnPropertyInterceptors();
    ChangeScrollBars(TScrollStyle::ssHorizontal);
    ApplyBaseOptions();
    FColumnDefValues = Factories.MakeColumnDefValues(this);
    FColumns = Factories.MakeColumns(this);
    ChangeDimensions(2, 2);
    FSumList = std::make_unique<TDBGridEhSumList>(this);
    FSumList->OnRecalcAll = [this](TObject* Sender) {
        if (OnSumListRecalcAll)
            OnSumListRecalcAll(Sender);
    };
    FSumList->OnAfterRecalcAll = [this](TObject* Sender) {
        if (OnSumListAfterRecalcAll)
            OnSumListAfterRecalcAll(Sender);
    };
    FTitleFont->OnChange = [this](TObject*) { TitleFontChanged(); };
    FFooterFont->OnChange = [this](TObject*) { FooterFontChanged(); };
    FIndicatorWidth = ComputeIndicatorWidth();
    FDataRowHeight = ComputeDefaultRowHeight();
    ChangeDefaultRowHeight(FDataRowHeight);
    FRowDetailControl = new TRowDetailPanelControlEh(this);
    FRowDetailControl->SetName(u"RowDetailData"_s);
    FRowDetailControl->SetVisible(false);
    FRowDetailControl->SetParent(this);
}

TCustomDBGridEh::~TCustomDBGridEh()
{
    Destroying();
    FDataLink->SetDataSource(nullptr);
    UpdateMemTableLink();
    // The columns give their sums back and leave the sorted list while the grid is whole.
    FColumns.reset();
    FLeaves.clear();
}

std::unique_ptr<TColumnDefValuesEh> TCustomDBGridEh::CreateColumnDefValuesObject(TCustomDBGridEh* Grid)
{
    return std::make_unique<TDBGridEhColumnDefValuesEh>(Grid);
}

std::unique_ptr<TDBGridColumnsEh> TCustomDBGridEh::CreateColumnsObject(TCustomDBGridEh* Grid)
{
    return std::make_unique<TDBGridColumnsEh>(Grid, CollectionItemClass<TDBGridColumnEh>());
}

bool TCustomDBGridEh::Loading() const { return ComponentState().Contains(TComponentStateFlag::csLoading); }

bool TCustomDBGridEh::Designing() const { return ComponentState().Contains(TComponentStateFlag::csDesigning); }

bool TCustomDBGridEh::BeingDestroyed() const { return ComponentState().Contains(TComponentStateFlag::csDestroying); }

// --- Data source and data events ----------------------------------------------------------------

TDataSource* TCustomDBGridEh::DataSource() const { return FDataLink->DataSource(); }

void TCustomDBGridEh::SetDataSource(TDataSource* Value)
{
    if (Value == DataSource())
        return;
    FDataLink->SetDataSource(Value);
    if (Value != nullptr)
        Value->FreeNotification(this);
    NotifyLinkActiveChanged(FDataLink->Active());
}

void TCustomDBGridEh::NotifyLinkActiveChanged(bool Active)
{
    if (!Active)
        FRowDetailPanel->SwitchVisible(false);
    if (!Active && EditorMode())
        LeaveEditorMode();
    UpdateMemTableLink();
    FSumList->SetDataSet(DataSource() != nullptr ? DataSource()->DataSet() : nullptr);
    if (IsMemTableMode())
        RecomputeRowMetrics();
    if (BeingDestroyed())
        return;
    FSelection->LinkActiveChanged(Active);
    FColumns->ReleaseFieldBindings();
    NotifyLayoutChanged();
    if (Active && EditorAlwaysShown())
        ChangeEditorMode(true);
    UpdateVertScrollBar();
    for (int i = 0; i < FColumns->Count(); ++i)
        FColumns->ColumnAt(i)->RefreshFooterSums();
}

void TCustomDBGridEh::NotifyDataSetChanged()
{
    if (!HandleAllocated() || FInDataSetChanged)
        return;
    TFlagGuard guard(FInDataSetChanged, true);
    if (FDataLink->Active() && FDataLink->DataSet()->Bookmark() != FDataLink->LastBookmark())
        FRowDetailPanel->SwitchVisible(false);
    const int indicatorWidth = ComputeIndicatorWidth();
    if (indicatorWidth != FIndicatorWidth) {
        FIndicatorWidth = indicatorWidth;
        NotifyLayoutChanged();
    } else {
        RecomputeRowMetrics();
    }
    const bool wasScrolling = VertBarScrolls();
    UpdateVertScrollBar();
    if (wasScrolling != VertBarScrolls() && FAutoFitColWidths && !Designing())
        UnlockLayoutDeferred();
    FollowActiveRecord();
    ReloadAllEditors();
    PlaceRowDetailPanel();
    InvalidateGrid();
}

void TCustomDBGridEh::NotifyDataSetScrolled(int Distance)
{
    FRowDetailPanel->SwitchVisible(false);
    if (IsMemTableMode()) {
        FollowMemTableRecord();
        return;
    }
    if (!HandleAllocated())
        return;
    if (FDataLink->ActiveRecord() >= RowCount() - RowsAboveData())
        RecomputeRowMetrics();
    const bool wasScrolling = VertBarScrolls();
    UpdateVertScrollBar();
    if (wasScrolling != VertBarScrolls() && FAutoFitColWidths && !Designing())
        UnlockLayoutDeferred();
    const int oldRow = Row();
    FollowActiveRecord();
    InvalidateRowCells(oldRow);
    InvalidateRowCells(Row());
    if (Distance != 0) {
        if (EditorMode())
            LeaveEditorMode();
        RepaintScrolledRows(Distance, oldRow);
        // Scrolling leaves an active filter row where it is.
        if (FDBOptions.Contains(dgAlwaysShowEditor))
            RefreshEditorState();
    }
    if (!ImmediateUpdateSuspended())
        Update();
}

void TCustomDBGridEh::NotifyRecordChanged(TField* Field)
{
    if (!HandleAllocated())
        return;
    if (Field == nullptr) {
        InvalidateGrid();
    } else {
        for (int i = 0; i < FColumns->Count(); ++i)
            if (FColumns->ColumnAt(i)->Field() == Field)
                InvalidateOneCell(DataColToGridCol(i), Row());
    }
    const TColumnEh* focused = FocusedColumn();
    if (focused == nullptr || (Field != nullptr && focused->Field() != Field))
        return;
    if (!EditorMode() || InplaceEditor() == nullptr)
        return;
    String current;
    if (focused->ClassifyCellKind() == TColumnCellKindEh::cckKeyPickList)
        current = focused->ComputeDisplayText();
    else
        current = focused->ComputeEditorText();
    if (current != InplaceEditor()->Text()) {
        ReloadAllEditors();
        InplaceEditor()->SetSelLength(0);
    }
}

// --- Notifications, loading, scaling ------------------------------------------------------------

void TCustomDBGridEh::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomGridEh::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && FColumns != nullptr)
        HandleRemovedComponent(AComponent);
}

void TCustomDBGridEh::HandleRemovedComponent(TComponent* AComponent)
{
    if (AComponent == FTitleImages)
        FTitleImages = nullptr;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnEh* column = FColumns->ColumnAt(i);
        if (column->PopupMenu() == AComponent)
            column->SetPopupMenu(nullptr);
        if (column->ImageList() == AComponent)
            column->SetImageList(nullptr);
        if (column->DropDownBox()->ListSource() == AComponent)
            column->DropDownBox()->SetListSource(nullptr);
    }
    if (AComponent == DataSource()) {
        SetDataSource(nullptr);
        return;
    }
    // A field freed under the grid (its notification comes when it is no longer a TField): no
    // column may keep it, and the layout follows once the dataset shows its controls again.
    std::vector<TColumnEh*> bound;
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->ColumnAt(i)->FField == AComponent)
            bound.push_back(FColumns->ColumnAt(i));
    if (!bound.empty()) {
        LockLayout();
        for (TColumnEh* column : bound)
            column->ReleaseField();
        const TDataSet* data = FDataLink->DataSet();
        if (data != nullptr && !data->ControlsDisabled())
            UnlockLayout();
        else
            UnlockLayoutDeferred();
        return;
    }
    if (AComponent == FDataLink->DataSet()) {
        UpdateMemTableLink();
        NotifyLayoutChanged();
    }
}

void TCustomDBGridEh::Loaded()
{
    TCustomGridEh::Loaded();
    TDBGridOptions options = FDBOptions;
    TDBGridEhOptions optionsEh = FOptionsEh;
    SyncColumnSizingOptions(options, optionsEh);
    FDBOptions = options;
    FOptionsEh = optionsEh;
    ApplyBaseOptions();
    RebuildSortIndexList();
    if (FColumns->Count() > 0) {
        ChangeColCount(std::max(1, FColumns->Count()) + FIndicatorCount);
        if (FAutoFitColWidths && !Designing()) {
            for (int i = 0; i < FColumns->Count(); ++i)
                FColumns->ColumnAt(i)->SetDesignWidth(FColumns->ColumnAt(i)->Width());
            ChangeScrollBars(TScrollStyle::ssNone);
        }
    }
    FSumList->ActivateAfterLoad();
    NotifyLayoutChanged();
}

void TCustomDBGridEh::ChangeScale(int M, int D)
{
    if (M == D)
        return;
    if (!ParentFont()) {
        FTitleFont->SetSize(MulDiv(FTitleFont->Size(), M, D));
        FFooterFont->SetSize(MulDiv(FFooterFont->Size(), M, D));
    }
    LockLayout();
    try {
        int sum = 0;
        int scaledSum = 0;
        for (int i = 0; i < FColumns->Count(); ++i) {
            TColumnEh* column = FColumns->ColumnAt(i);
            if (column->IsStored(TColumnEhAssignedValue::cavFont))
                column->Font()->SetSize(MulDiv(column->Font()->Size(), M, D));
            if (column->Title()->IsStored(TColumnEhAssignedValue::cavTitleFont))
                column->Title()->Font()->SetSize(MulDiv(column->Title()->Font()->Size(), M, D));
            // Cumulative, so the rounding of one column does not add up across the row.
            sum += column->Width();
            const int scaled = MulDiv(sum, M, D);
            column->SetWidth(scaled - scaledSum);
            scaledSum = scaled;
        }
    } catch (...) {
        UnlockLayoutQuietly();
        throw;
    }
    UnlockLayout();
}

// --- Columns by field name ----------------------------------------------------------------------

TColumnEh* TCustomDBGridEh::ColumnByFieldName(const String& FieldName) const
{
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnEh* column = FColumns->ColumnAt(i);
        if (column->FieldName().compare(FieldName, Qt::CaseInsensitive) == 0)
            return column;
    }
    return nullptr;
}

TColumnEh* TCustomDBGridEh::RequireColumnByFieldName(const String& FieldName) const
{
    TColumnEh* column = ColumnByFieldName(FieldName);
    if (column == nullptr)
        RaiseDataGridError(String::fromUtf8(SColumnNotFound).replace(u"%s"_s, FieldName));
    return column;
}

THeadTreeNode* TCustomDBGridEh::LeafOfColumn(int Index) const
{
    return Index >= 0 && Index < static_cast<int>(FLeaves.size()) ? FLeaves[static_cast<std::size_t>(Index)] : nullptr;
}

TField* TCustomDBGridEh::DataColumnField(int Index) const
{
    return Index >= 0 && Index < FColumns->Count() ? FColumns->ColumnAt(Index)->Field() : nullptr;
}

TColumnEh* TCustomDBGridEh::FocusedColumn() const
{
    const int index = FocusedColumnIndex();
    return index >= 0 && index < FColumns->Count() ? FColumns->ColumnAt(index) : nullptr;
}

TField* TCustomDBGridEh::FocusedColumnField() const { return DataColumnField(FocusedColumnIndex()); }

void TCustomDBGridEh::FocusDataColumn(int Index)
{
    if (FRowPanel->Active()) {
        if (Index >= 0 && Index < FColumns->Count())
            SetFocusedPanelColumn(Index);
        return;
    }
    const int col = DataColToGridCol(Index);
    if (Index >= 0 && col < ColCount() && col != Col())
        ChangeCol(col);
}

void TCustomDBGridEh::KeepFocusOnVisibleColumn()
{
    const int count = FColumns->Count();
    const int focused = FocusedColumnIndex();
    if (focused < 0 || (focused < count && FColumns->ColumnAt(focused)->Visible()))
        return;
    for (int i = 0; i < count; ++i) {
        if (!FColumns->ColumnAt(i)->Visible())
            continue;
        if (FRowPanel->Active())
            SetFocusedPanelColumn(i);
        else if (DataColToGridCol(i) < ColCount())
            ChangeCol(DataColToGridCol(i));
        return;
    }
}

void TCustomDBGridEh::ColumnDestroyed(TColumnEh* Column)
{
    for (int I = 0; I < FDataGrouping->GroupLevels()->Count(); ++I)
        if (FDataGrouping->GroupLevel(I)->GroupColumn() == Column)
            FDataGrouping->GroupLevel(I)->ChangeColumn(nullptr);
    FSelection->Columns()->ForgetColumn(Column);
    FSortedColumns->Remove(Column);
    FVisibleColumns->Remove(Column);
    for (THeadTreeNode*& leaf : FLeaves)
        if (leaf != nullptr && leaf->Column == Column)
            leaf->Column = nullptr;
    ForgetFilterColumn(Column);
}

// --- Small answers ------------------------------------------------------------------------------

bool TCustomDBGridEh::AcquireFocus()
{
    if (CanFocus() && !Designing())
        SetFocus();
    return HoldsWindowFocus();
}

bool TCustomDBGridEh::ShowsRowFocus()
{
    return !Designing() && FDBOptions.Contains(dgRowSelect) && DefaultDrawing() && HasInputFocus();
}

bool TCustomDBGridEh::EditorAlwaysShown() { return FDBOptions.Contains(dgAlwaysShowEditor); }


int TCustomDBGridEh::TitleRowsShown() { return FDBOptions.Contains(dgTitles) ? 1 : 0; }

int TCustomDBGridEh::RowsAboveData() { return TitleRowsShown() + FilterRowInTitleArea(); }

bool TCustomDBGridEh::HasIndicatorColumn()
{
    return FDBOptions.Contains(dgIndicator) || FOptionsEh.Contains(dghShowRecNo);
}

bool TCustomDBGridEh::HoldsWindowFocus() { return HasInputFocus(); }

bool TCustomDBGridEh::MultiTitleInEffect() { return FUseMultiTitle && !FRowPanel->Active(); }

void TCustomDBGridEh::RaiseCellClick(TColumnEh* Column)
{
    if (OnCellClick)
        OnCellClick(this, Column);
}

bool TCustomDBGridEh::RaiseCheckButton(int ACol, TColumnEh* Column)
{
    if (ACol < 0 || ACol >= FColumns->Count())
        return false;
    bool enabled = false;
    if (OnCheckButton)
        OnCheckButton(this, ACol, Column, enabled);
    return enabled;
}

void TCustomDBGridEh::RaiseColEnter()
{
    if (OnColEnter)
        OnColEnter(this);
}

void TCustomDBGridEh::RaiseColExit()
{
    if (OnColExit)
        OnColExit(this);
}

void TCustomDBGridEh::RaiseTitleBtnClick(int ACol, TColumnEh* Column)
{
    if (OnTitleBtnClick)
        OnTitleBtnClick(this, ACol, Column);
}

bool TCustomDBGridEh::RaiseEditButtonClick()
{
    bool handled = false;
    if (OnEditButtonClick)
        OnEditButtonClick(this, handled);
    return handled;
}

void TCustomDBGridEh::RaiseTitleClick(TColumnEh* Column)
{
    if (OnTitleClick)
        OnTitleClick(this, Column);
}

void TCustomDBGridEh::CollectDataSetFields(std::vector<TField*>& List)
{
    const TDataSet* data = FDataLink->DataSet();
    if (DataSource() == nullptr || data == nullptr)
        return;
    for (int i = 0; i < data->FieldCount(); ++i)
        List.push_back(data->Fields()->Fields(i));
}

void TCustomDBGridEh::RefreshFocusLook()
{
    InvalidateRowCells(Row());
}

// --- Property writers ---------------------------------------------------------------------------

void TCustomDBGridEh::ApplyBaseOptions()
{
    TGridBaseOptionsEh base = TCustomGridEh::Options() & goRangeSelect;
    if (FDBOptions.Contains(dgColLines))
        base.Include(goFixedVertLine | goVertLine);
    if (FDBOptions.Contains(dgRowLines))
        base.Include(goFixedHorzLine | goHorzLine);
    if (FDBOptions.Contains(dgTabs))
        base.Include(goTabs);
    if (FDBOptions.Contains(dgRowSelect))
        base.Include(goRowSelect);
    if (FDBOptions.Contains(dgEditing))
        base.Include(goEditing);
    if (FDBOptions.Contains(dgAlwaysShowEditor))
        base.Include(goAlwaysShowEditor);
    if (FRowSizingAllowed)
        base.Include(goRowSizing);
    if (FOptionsEh.Contains(dghColumnResize))
        base.Include(goColSizing);
    if (FOptionsEh.Contains(dghColumnMove))
        base.Include(goColMoving);
    if (FOptionsEh.Contains(dghExtendVertLines))
        base.Include(goExtendVertLines);
    ChangeOptions(base);
}

void TCustomDBGridEh::SetOptions(TDBGridOptions Value)
{
    if (Value == FDBOptions)
        return;
    if (Value.Contains(dgRowSelect)) {
        Value.Exclude(dgEditing);
        Value.Exclude(dgAlwaysShowEditor);
    }
    TDBGridEhOptions optionsEh = FOptionsEh;
    if (!Loading())
        SyncColumnSizingOptions(Value, optionsEh);
    const TDBGridOptions layoutOptions = dgEditing | dgAlwaysShowEditor | dgTitles | dgIndicator | dgColLines |
                                         dgRowLines | dgRowSelect | dgAlwaysShowSelection;
    const bool relayout = ((FDBOptions.Bits() ^ Value.Bits()) & layoutOptions.Bits()) != 0;
    // Copy and delete would still act on a selection the grid can no longer show.
    if (FDBOptions.Contains(dgMultiSelect) && !Value.Contains(dgMultiSelect))
        ClearAllSelections();
    FDBOptions = Value;
    FOptionsEh = optionsEh;
    ApplyBaseOptions();
    if (relayout)
        NotifyLayoutChanged();
    if (EditorMode())
        ReloadAllEditors();
}

void TCustomDBGridEh::SyncColumnSizingOptions(TDBGridOptions& NewOptions, TDBGridEhOptions& NewOptionsEh) const
{
    const TDBGridEhOptions sizing = dghColumnResize | dghColumnMove;
    const bool resize = NewOptions.Contains(dgColumnResize);
    if (resize != FDBOptions.Contains(dgColumnResize)) {
        if (resize)
            NewOptionsEh.Include(sizing);
        else
            NewOptionsEh.Exclude(sizing);
        return;
    }
    const bool hadSizing = FOptionsEh.Contains(sizing);
    const bool hasSizing = NewOptionsEh.Contains(sizing);
    if (hasSizing && !hadSizing)
        NewOptions.Include(dgColumnResize);
    else if (hadSizing && !hasSizing)
        NewOptions.Exclude(dgColumnResize);
    else if (resize)
        NewOptionsEh.Include(sizing);
}

void TCustomDBGridEh::SetOptionsEh(TDBGridEhOptions Value)
{
    if (Value == FOptionsEh)
        return;
    if (FOptionsEh.Contains(dghMultiSortMarking) && !Value.Contains(dghMultiSortMarking)) {
        // One sort marker at most from now on: the first keeps its marker.
        while (FSortedColumns->Count() > 1)
            FSortedColumns->ColumnAt(FSortedColumns->Count() - 1)->Title()->SetSortMarker(TSortMarkerEh::smNoneEh);
    }
    TDBGridOptions options = FDBOptions;
    if (!Loading())
        SyncColumnSizingOptions(options, Value);
    FDBOptions = options;
    FOptionsEh = Value;
    ApplyBaseOptions();
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetAutoFitColWidths(bool Value)
{
    if (Value == FAutoFitColWidths)
        return;
    FAutoFitColWidths = Value;
    if (Designing())
        return;
    if (Value) {
        if (!Loading())
            for (int i = 0; i < FColumns->Count(); ++i)
                FColumns->ColumnAt(i)->SetDesignWidth(FColumns->ColumnAt(i)->Width());
        ChangeScrollBars(TScrollStyle::ssNone);
    } else {
        FColumns->BeginUpdate();
        for (int i = 0; i < FColumns->Count(); ++i)
            FColumns->ColumnAt(i)->SetWidth(FColumns->ColumnAt(i)->DesignWidth());
        FColumns->EndUpdate();
        ChangeScrollBars(TScrollStyle::ssHorizontal);
    }
    if (Value && LeftCol() != FixedCols() && FixedCols() < ColCount())
        ChangeLeftCol(FixedCols());
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetMinAutoFitWidth(int Value)
{
    if (Value == FMinAutoFitWidth)
        return;
    FMinAutoFitWidth = Value;
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetContraColCount(int Value)
{
    if (Value < 0 || Value == FWantedContraCols)
        return;
    FWantedContraCols = Value;
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetFrozenCols(int Value)
{
    if (Value < 0 || Value == FFrozenCols)
        return;
    FFrozenCols = Value;
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetFooterRowCount(int Value)
{
    if (Value < 0 || Value == FFooterRowCount)
        return;
    FFooterRowCount = Value;
    UpdateMemTableLink();
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetDrawMemoText(bool Value)
{
    if (Value == FDrawMemoText)
        return;
    FDrawMemoText = Value;
    InvalidateGrid();
}

void TCustomDBGridEh::SetDrawGraphicData(bool Value)
{
    if (Value == FDrawGraphicData)
        return;
    FDrawGraphicData = Value;
    InvalidateGrid();
}

void TCustomDBGridEh::SetUseMultiTitle(bool Value)
{
    FUseMultiTitle = Value;
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetRowSizingAllowed(bool Value)
{
    if (Value == FRowSizingAllowed)
        return;
    FRowSizingAllowed = Value;
    ApplyBaseOptions();
}

void TCustomDBGridEh::SetRowHeight(int Value)
{
    Value = std::max(0, Value);
    if (Value == FRowHeight)
        return;
    FRowHeight = Value;
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetRowLines(int Value)
{
    Value = std::max(0, Value);
    if (Value == FRowLines)
        return;
    FRowLines = Value;
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetTitleHeight(int Value)
{
    if (FTitleHeight == Value)
        return;
    FTitleHeight = Value;
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetTitleLines(int Value)
{
    if (FTitleLines == Value)
        return;
    FTitleLines = Value;
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetVTitleMargin(int Value)
{
    if (FVTitleMargin == Value)
        return;
    FVTitleMargin = Value;
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetFooterColor(TColor Value)
{
    if (!Loading())
        SetParentColor(false);
    if (FFooterColor == Value)
        return;
    FFooterColor = Value;
    if (FFooterRowCount > 0)
        InvalidateFooterRows();
}

void TCustomDBGridEh::SetTitleFont(TFont* Value)
{
    FTitleFont->Assign(Value);
}

void TCustomDBGridEh::TitleFontChanged()
{
    if (!Loading() && !FFollowingParentFont)
        SetParentFont(false);
    if (FDBOptions.Contains(dgTitles))
        NotifyLayoutChanged();
}

void TCustomDBGridEh::SetFooterFont(TFont* Value)
{
    FFooterFont->Assign(Value);
}

void TCustomDBGridEh::FooterFontChanged()
{
    if (!Loading() && !FFollowingParentFont)
        SetParentFont(false);
    if (FFooterRowCount > 0)
        NotifyLayoutChanged();
}

void TCustomDBGridEh::SetTitleImages(TImageList* Value)
{
    if (Value == FTitleImages)
        return;
    FTitleImages = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
    NotifyLayoutChanged();
}

void TCustomDBGridEh::SetMemTableSupport(bool Value)
{
    if (Value == FMemTableSupport)
        return;
    FMemTableSupport = Value;
    UpdateMemTableLink();
    NotifyLayoutChanged();
}
