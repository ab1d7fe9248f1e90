// A column's filter-row settings and the distinct values its filter drop-down offers.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSource.h"

// Told when the list source is freed, so no pointer to it outlives it.
class TSTColumnFilterEh::TListSourceWatch : public TComponent {
public:
    explicit TListSourceWatch(TSTColumnFilterEh* Filter) : TComponent(nullptr), FFilter(Filter) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove && AComponent == FFilter->FListSource)
            FFilter->ListSourceFreed();
    }
    const char* ClassName() const override { return "TListSourceWatch"; }

private:
    TSTColumnFilterEh* FFilter;
};

TSTColumnFilterEh::TSTColumnFilterEh(TColumnEh* Column)
    : FColumn(Column), FWatch(std::make_unique<TListSourceWatch>(this))
{
}

TSTColumnFilterEh::~TSTColumnFilterEh()
{
    if (FListSource != nullptr)
        FListSource->RemoveFreeNotification(FWatch.get());
}

TPersistent* TSTColumnFilterEh::GetOwner() { return FColumn; }

void TSTColumnFilterEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TSTColumnFilterEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FDataField = source->FDataField;
    SetVisible(source->FVisible);
    FKeyField = source->FKeyField;
    SetListField(source->FListField);
    SetListSource(source->FListSource);
}

void TSTColumnFilterEh::SetListField(const String& Value)
{
    if (Value == FListField)
        return;
    FListField = Value;
    ListDataChanged();
}

void TSTColumnFilterEh::SetListSource(TDataSource* Value)
{
    if (Value == FListSource)
        return;
    if (FListSource != nullptr)
        FListSource->RemoveFreeNotification(FWatch.get());
    FListSource = Value;
    if (Value != nullptr)
        Value->FreeNotification(FWatch.get());
    ListDataChanged();
}

void TSTColumnFilterEh::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    if (FColumn != nullptr)
        FColumn->SignalChanged(true);
}

std::shared_ptr<TDatasetFieldValueListEh> TSTColumnFilterEh::ListValueList() const
{
    auto list = std::make_shared<TDatasetFieldValueListEh>();
    list->SetDataSource(FListSource);
    list->SetFieldName(FListField);
    return list;
}

void TSTColumnFilterEh::ListSourceFreed()
{
    FListSource = nullptr;
    ListDataChanged();
}

void TSTColumnFilterEh::ListDataChanged()
{
    if (FColumn != nullptr)
        FColumn->ReleaseFilterValueList();
}

// --- The column's filter values ------------------------------------------------------------------

std::unique_ptr<TSTColumnFilterEh> TColumnEh::MakeSTFilter() { return std::make_unique<TSTColumnFilterEh>(this); }

std::shared_ptr<IMemTableDataFieldValueListEh> TColumnEh::FilterValueList()
{
    if (FFilterValueList != nullptr)
        return FFilterValueList;
    if (FSTFilter->ListSource() != nullptr) {
        FFilterValueList = FSTFilter->ListValueList();
    } else {
        const TCustomDBGridEh* grid = OwningGrid();
        if (grid != nullptr && grid->MemTable() != nullptr)
            FFilterValueList = grid->MemTable()->FieldValueList(FFieldName);
    }
    return FFilterValueList;
}
