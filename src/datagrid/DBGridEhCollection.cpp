// The grid's column collection: its columns made from the dataset's fields, found by field, moved and named.
#include "datagrid/DBGridEh.h"

#include "platform/core/SysUtils.h"
#include "platform/ui/Types.h"

#include <algorithm>
#include <mutex>

using namespace Qt::StringLiterals;

TDBGridColumnsEh::TDBGridColumnsEh(TCustomDBGridEh* Grid, TCollectionItemClass ItemClass)
    : TCollection(std::move(ItemClass)), FGrid(Grid)
{
}

TPersistent* TDBGridColumnsEh::GetOwner() { return FGrid; }

TColumnEh* TDBGridColumnsEh::AddDefaultColumn()
{
    TColumnEh* column = Add();
    column->SetPersistent(false);
    return column;
}

bool TDBGridColumnsEh::IsCustomized() const { return Count() > 0 && !ColumnAt(0)->IsDefaultColumn(); }

void TDBGridColumnsEh::Assign(TPersistent* Source)
{
    if (FGrid != nullptr)
        FGrid->LockLayout();
    try {
        TCollection::Assign(Source);
    } catch (...) {
        if (FGrid != nullptr)
            FGrid->UnlockLayout();
        throw;
    }
    if (FGrid != nullptr)
        FGrid->UnlockLayout();
}

void TDBGridColumnsEh::ReleaseFieldBindings()
{
    for (int i = 0; i < Count(); ++i) {
        ColumnAt(i)->ReleaseField();
        ColumnAt(i)->ReleaseFilterValueList();
    }
}

void TDBGridColumnsEh::Notify(TCollectionItem* Item, TCollectionNotification Action)
{
    // A column deleted directly leaves from the item's destructor, no longer a column: its own
    // destructor has told the grid already.
    if (Action != TCollectionNotification::cnExtracting || FGrid == nullptr)
        return;
    if (auto* column = dynamic_cast<TColumnEh*>(Item))
        FGrid->ColumnDestroyed(column);
}

void TDBGridColumnsEh::Update(TCollectionItem* Item)
{
    if (FGrid == nullptr || FGrid->Loading())
        return;
    if (Item != nullptr) {
        ColumnChanged(static_cast<TColumnEh*>(Item));
    } else {
        RebuildSortedColumns();
        FGrid->NotifyLayoutChanged();
    }
    FGrid->KeepFocusOnVisibleColumn();
}

void TDBGridColumnsEh::ColumnChanged(TColumnEh* Column)
{
    const int gridCol = FGrid->DataColToGridCol(Column->Index());
    // A panel cell's change moves the cells after it.
    if (gridCol >= FGrid->ColCount() || FGrid->RowPanel()->Active()) {
        FGrid->NotifyLayoutChanged();
        return;
    }
    FGrid->InvalidateColumn(gridCol);
    const int gridWidth = FGrid->ColWidthAt(gridCol);
    if (FGrid->AutoFitColWidths() && !FGrid->Designing()) {
        // A hidden column, or one laid out with no width, has no scale to rescale by.
        if (Column->Visible() && gridWidth > 0)
            RescaleDesignWidths(Column, gridWidth);
        FGrid->NotifyLayoutChanged();
        return;
    }
    if (Column->Visible() && Column->WidthWithIndent() == gridWidth) {
        if (FGrid->UseMultiTitle())
            FGrid->NotifyLayoutChanged();
        return;
    }
    const int hiddenWidth = FGrid->Options().Contains(dgColLines) ? -1 : 0;
    FGrid->ChangeColWidth(gridCol, Column->Visible() ? Column->WidthWithIndent() : hiddenWidth);
    if (FGrid->UseMultiTitle())
        FGrid->NotifyLayoutChanged();
}

void TDBGridColumnsEh::RescaleDesignWidths(TColumnEh* Column, int GridColumnWidth)
{
    const int oldDesign = Column->DesignWidth();
    const int newDesign = MulDiv(oldDesign, Column->Width(), GridColumnWidth);
    Column->SetDesignWidth(newDesign);
    const int next = Column->Index() + 1;
    if (next < Count()) {
        TColumnEh* neighbour = ColumnAt(next);
        neighbour->SetDesignWidth(std::max(0, neighbour->DesignWidth() + oldDesign - newDesign));
    }
}

void TDBGridColumnsEh::RebuildSortedColumns()
{
    if (FGrid == nullptr)
        return;
    std::vector<TColumnEh*> marked;
    for (int i = 0; i < Count(); ++i)
        if (ColumnAt(i)->Title()->SortIndex() > 0)
            marked.push_back(ColumnAt(i));
    std::stable_sort(marked.begin(), marked.end(), [](const TColumnEh* A, const TColumnEh* B) {
        return A->Title()->SortIndex() < B->Title()->SortIndex();
    });
    TColumnsEhList* sorted = FGrid->SortedColumns();
    sorted->Clear();
    for (std::size_t i = 0; i < marked.size(); ++i) {
        marked[i]->Title()->FSortIndex = static_cast<int>(i) + 1;
        sorted->Add(marked[i]);
    }
}

TColumnEh* TDBGridColumnsEh::NextWritableColumn(TColumnEh* From, bool Forward) const
{
    const int step = Forward ? 1 : -1;
    for (int i = From->Index() + step; i >= 0 && i < Count(); i += step)
        if (ColumnAt(i)->IsWritable())
            return ColumnAt(i);
    return From;
}

TColumnEh* TDBGridColumnsEh::FirstWritableColumn() const
{
    for (int i = 0; i < Count(); ++i)
        if (ColumnAt(i)->IsWritable())
            return ColumnAt(i);
    return nullptr;
}

TColumnEh* TDBGridColumnsEh::LastWritableColumn() const
{
    for (int i = Count() - 1; i >= 0; --i)
        if (ColumnAt(i)->IsWritable())
            return ColumnAt(i);
    return nullptr;
}

TColumnEh* TDBGridColumnsEh::FindByStorageName(const String& Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (ColumnAt(i)->StorageName() == Name)
            return ColumnAt(i);
    return nullptr;
}

// --- Legacy stored properties -------------------------------------------------------------------

TColumnEh* TColumnEhPropertyInterceptor::Column() const { return dynamic_cast<TColumnEh*>(Target()); }

int TColumnEhPropertyInterceptor::Width() const
{
    const TColumnEh* column = Column();
    return column != nullptr ? column->Width() : 0;
}

void TColumnEhPropertyInterceptor::SetWidth(int Value)
{
    TColumnEh* column = Column();
    if (column == nullptr)
        return;
    const TCustomDBGridEh* grid = column->OwningGrid();
    if (grid != nullptr && grid->AutoFitColWidths())
        column->SetDesignWidth(Value);
    else
        column->SetWidth(Value);
}

bool TColumnEhPropertyInterceptor::ReadProperty(const String& Name, const String& Value)
{
    if (Name.compare(u"Width"_s, Qt::CaseInsensitive) != 0)
        return TStoragePropertyInterceptor::ReadProperty(Name, Value);
    SetWidth(StrToInt(Value));
    return true;
}

TDBGridColumnsEh* TColumnsEhPropertyInterceptor::Collection() const { return dynamic_cast<TDBGridColumnsEh*>(Target()); }

TColumnEh* TColumnsEhPropertyInterceptor::FindColumnByFieldName(const String& FieldName) const
{
    const TDBGridColumnsEh* columns = Collection();
    for (int i = 0; columns != nullptr && i < columns->Count(); ++i)
        if (columns->ColumnAt(i)->FieldName() == FieldName)
            return columns->ColumnAt(i);
    return nullptr;
}

String TColumnsEhPropertyInterceptor::ColumnsIndex() const
{
    const TDBGridColumnsEh* columns = Collection();
    QStringList names;
    for (int i = 0; columns != nullptr && i < columns->Count(); ++i)
        names.append(u'"' + columns->ColumnAt(i)->FieldName() + u'"');
    return names.join(u',');
}

void TColumnsEhPropertyInterceptor::SetColumnsIndex(const String& Value)
{
    TDBGridColumnsEh* columns = Collection();
    if (columns == nullptr || columns->Count() == 0)
        return;
    TStringList names;
    names.SetCommaText(Value);
    columns->BeginUpdate();
    try {
        // A stored list may name more columns than remain: the place never passes the last one.
        for (int i = 0; i < names.Count(); ++i)
            if (TColumnEh* column = FindColumnByFieldName(names[i]))
                column->SetIndex(std::min(i, columns->Count() - 1));
    } catch (...) {
        columns->EndUpdate();
        throw;
    }
    columns->EndUpdate();
}

bool TColumnsEhPropertyInterceptor::ReadProperty(const String& Name, const String& Value)
{
    if (Name.compare(u"ColumnsIndex"_s, Qt::CaseInsensitive) != 0)
        return TStoragePropertyInterceptor::ReadProperty(Name, Value);
    SetColumnsIndex(Value);
    return true;
}

void InstallColumnPropertyInterceptors()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        InstallReadPropertyInterceptor(&TargetClass<TColumnEh>, &InterceptorClass<TColumnEhPropertyInterceptor>);
        InstallReadPropertyInterceptor(&TargetClass<TDBGridColumnsEh>, &InterceptorClass<TColumnsEhPropertyInterceptor>);
    });
}
