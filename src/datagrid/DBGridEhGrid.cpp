#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menus.h"

#include <algorithm>

using namespace Qt::StringLiterals;

void TGridDataLinkEh::ActiveChanged() { FGrid->LinkActiveChanged(); }

void TGridDataLinkEh::LayoutChanged()
{
    FInLayoutChange = true;
    try {
        FGrid->LinkActiveChanged();
    } catch (...) {
        FInLayoutChange = false;
        throw;
    }
    FInLayoutChange = false;
}

TCustomDBGridEh::TCustomDBGridEh(TComponent* AOwner)
    : TCustomGridEh(AOwner),
      FColumnDefValues(std::make_unique<TDBGridEhColumnDefValuesEh>(this)),
      FDataLink(std::make_unique<TGridDataLinkEh>(this)),
      FSumList(std::make_unique<TDBGridEhSumList>(this)),
      FSortedColumns(std::make_unique<TColumnsEhList>()),
      FHeadTree(std::make_unique<THeadTreeNode>(u"Root"_s, 100, 10)),
      FTitleFont(std::make_unique<TFont>()),
      FFooterFont(std::make_unique<TFont>())
{
    InstallColumnPropertyInterceptors();
    FColumns = std::make_unique<TDBGridColumnsEh>(this, CollectionItemClass<TDBGridColumnEh>());
    FTitleFont->OnChange = [this](TObject*) { LayoutChanged(); };
    FFooterFont->OnChange = [this](TObject*) { LayoutChanged(); };
}

TCustomDBGridEh::~TCustomDBGridEh()
{
    Destroying();
    FDataLink->SetDataSource(nullptr);
    // The columns give their sums back and leave the sorted list while the grid is whole.
    FColumns.reset();
    FLeaves.clear();
}

TDataSource* TCustomDBGridEh::DataSource() const { return FDataLink->DataSource(); }

void TCustomDBGridEh::SetDataSource(TDataSource* Value)
{
    if (Value == DataSource())
        return;
    FDataLink->SetDataSource(Value);
    if (Value != nullptr)
        Value->FreeNotification(this);
    LinkActiveChanged();
}

void TCustomDBGridEh::LinkActiveChanged()
{
    if (ComponentState().Contains(TComponentStateFlag::csDestroying))
        return;
    FColumns->ReleaseFieldBindings();
    FSumList->SetDataSet(FDataLink->DataSet());
    for (int i = 0; i < FColumns->Count(); ++i)
        FColumns->ColumnAt(i)->RefreshFooterSums();
    LayoutChanged();
}

void TCustomDBGridEh::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomGridEh::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || FColumns == nullptr)
        return;
    if (AComponent == DataSource()) {
        FDataLink->SetDataSource(nullptr);
        LinkActiveChanged();
        return;
    }
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnEh* column = FColumns->ColumnAt(i);
        if (column->FField == AComponent)
            column->ReleaseField();
        if (column->DropDownBox()->ListSource() == AComponent)
            column->DropDownBox()->SetListSource(nullptr);
        if (column->ImageList() == AComponent)
            column->SetImageList(nullptr);
        if (column->PopupMenu() == AComponent)
            column->SetPopupMenu(nullptr);
    }
}

void TCustomDBGridEh::Loaded()
{
    TCustomGridEh::Loaded();
    FColumns->RebuildSortedColumns();
    LayoutChanged();
    FSumList->ActivateAfterLoad();
}

bool TCustomDBGridEh::Loading() const { return ComponentState().Contains(TComponentStateFlag::csLoading); }

bool TCustomDBGridEh::Designing() const { return ComponentState().Contains(TComponentStateFlag::csDesigning); }

void TCustomDBGridEh::UnlockLayout()
{
    if (--FLayoutLock == 0 && FLayoutPending)
        LayoutChanged();
}

void TCustomDBGridEh::LayoutChanged()
{
    if (FLayoutLock > 0 || Loading()) {
        FLayoutPending = true;
        return;
    }
    FLayoutPending = false;
    const int indicator = IndicatorOffset();
    const int cols = std::max(1, indicator + FColumns->Count());
    if (FixedCols() >= cols)
        ChangeFixedCols(cols - 1);
    ChangeColCount(cols);
    ChangeFixedCols(std::min(indicator, cols - 1));
    const int hiddenWidth = FDBOptions.Contains(dgColLines) ? -1 : 0;
    for (int i = 0; i < FColumns->Count(); ++i) {
        const TColumnEh* column = FColumns->ColumnAt(i);
        ChangeColWidth(DataColToGridCol(i), column->Visible() ? column->Width() : hiddenWidth);
    }
    if (FUseMultiTitle)
        BuildTitleTree();
}

void TCustomDBGridEh::BuildTitleTree()
{
    FHeadTree->BuildFromColumns(this, FLeaves);
}

THeadTreeNode* TCustomDBGridEh::LeafOfColumn(int Index) const
{
    return Index >= 0 && Index < static_cast<int>(FLeaves.size()) ? FLeaves[static_cast<std::size_t>(Index)] : nullptr;
}

void TCustomDBGridEh::KeepFocusOnVisibleColumn()
{
    const int count = FColumns->Count();
    const int focused = Col() - IndicatorOffset();
    if (focused < 0 || (focused < count && FColumns->ColumnAt(focused)->Visible()))
        return;
    for (int i = 0; i < count; ++i) {
        if (!FColumns->ColumnAt(i)->Visible())
            continue;
        if (DataColToGridCol(i) < ColCount())
            ChangeCol(DataColToGridCol(i));
        return;
    }
}

void TCustomDBGridEh::ColumnDestroyed(TColumnEh* Column)
{
    FSortedColumns->Remove(Column);
    for (THeadTreeNode*& leaf : FLeaves)
        if (leaf != nullptr && leaf->Column == Column)
            leaf->Column = nullptr;
}

void TCustomDBGridEh::InvalidateFooterRows() { InvalidateGrid(); }

void TCustomDBGridEh::SetDBOptions(TDBGridOptions Value)
{
    if (FDBOptions == Value)
        return;
    FDBOptions = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetOptionsEh(TDBGridEhOptions Value)
{
    if (FOptionsEh == Value)
        return;
    FOptionsEh = Value;
    InvalidateGrid();
}

void TCustomDBGridEh::SetAutoFitColWidths(bool Value)
{
    if (FAutoFitColWidths == Value)
        return;
    FAutoFitColWidths = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetReadOnly(bool Value) { FReadOnly = Value; }

void TCustomDBGridEh::SetUseMultiTitle(bool Value)
{
    if (FUseMultiTitle == Value)
        return;
    FUseMultiTitle = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetFooterColor(TColor Value)
{
    if (FFooterColor == Value)
        return;
    FFooterColor = Value;
    InvalidateFooterRows();
}
