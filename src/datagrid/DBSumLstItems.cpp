// The aggregates of the sum list, their collection and the list of record bookmarks.
#include "datagrid/DBSumLst.h"

#include "platform/core/Rounding.h"
#include "platform/core/SysUtils.h"

// --- TDBSum -----------------------------------------------------------------------------------

TDBSum::TDBSum(TCollection* Collection) : TCollectionItem(Collection) {}

void TDBSum::Assign(TPersistent* Source)
{
    auto* Sum = dynamic_cast<TDBSum*>(Source);
    if (Sum == nullptr) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetGroupOperation(Sum->FGroupOperation);
    SetFieldName(Sum->FFieldName);
    FOldContribution = Sum->FOldContribution;
    FSumValue = Sum->FSumValue;
    FOverflowed = Sum->FOverflowed;
    FFieldMissing = Sum->FFieldMissing;
}

void TDBSum::SetFieldName(const String& Value)
{
    if (Value == FFieldName)
        return;
    FFieldName = Value;
    Changed(false);
}

void TDBSum::SetGroupOperation(TGroupOperation Value)
{
    if (Value == FGroupOperation)
        return;
    FGroupOperation = Value;
    Changed(false);
}

void TDBSum::Clear()
{
    FSumValue = Currency();
    FOldContribution = Currency();
    FRunningSum = Currency();
    FNotNullCount = 0;
    FOverflowed = false;
    FFieldMissing = false;
}

void TDBSum::ComputeAverage()
{
    // The quotient is rounded half to even in extended precision, as the processor does.
    FSumValue = FNotNullCount == 0
                    ? Currency()
                    : Currency::FromRaw(Round(static_cast<long double>(FRunningSum.Raw()) / FNotNullCount));
}

// --- TDBSumCollection -------------------------------------------------------------------------

TDBSumCollection::TDBSumCollection(TDBSumListProducer* Owner)
    : TCollection(CollectionItemClass<TDBSum>()), FOwner(Owner)
{
}

TDBSum* TDBSumCollection::FindSum(TGroupOperation Operation, const String& FieldName) const
{
    for (int I = 0; I < Count(); ++I) {
        TDBSum* Sum = SumItemAt(I);
        if (Sum->GroupOperation() == Operation && AnsiSameText(Sum->FieldName(), FieldName))
            return Sum;
    }
    return nullptr;
}

void TDBSumCollection::Update(TCollectionItem* Item)
{
    if (FOwner != nullptr)
        FOwner->ItemsChanged();
}

TPersistent* TDBSumCollection::GetOwner() { return FOwner; }

// --- TSLBookmarkListEh ------------------------------------------------------------------------

TDataSet* TSLBookmarkListEh::GetDataSet() const { return FOwner->DataSet(); }
