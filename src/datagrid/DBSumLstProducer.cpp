// The producer's settings, activation and record numbers.
#include "datagrid/DBSumLst.h"

#include "platform/core/Component.h"

void TDBSumListProducer::Assign(TPersistent* Source)
{
    auto* Producer = dynamic_cast<TDBSumListProducer*>(Source);
    if (Producer == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetActive(Producer->Active());
    SetDataSet(Producer->DataSet());
    SetExternalRecalc(Producer->ExternalRecalc());
    FSumCollection->Assign(Producer->SumCollection());
    SumListChanged = Producer->SumListChanged;
    SetVirtualRecords(Producer->VirtualRecords());
    OnAfterRecalcAll = Producer->OnAfterRecalcAll;
    OnRecalcAll = Producer->OnRecalcAll;
}

TPersistent* TDBSumListProducer::GetOwner() { return FOwner; }

bool TDBSumListProducer::WorkAllowed() const
{
    if (FOwner == nullptr)
        return true;
    const TComponentState State = FOwner->ComponentState();
    return !State.Contains(TComponentStateFlag::csLoading) &&
           (FDesignTimeWork || !State.Contains(TComponentStateFlag::csDesigning));
}

void TDBSumListProducer::ItemsChanged()
{
    if (FDestroying)
        return;
    if (FOwner != nullptr && (FOwner->ComponentState().Contains(TComponentStateFlag::csLoading) ||
                              FOwner->ComponentState().Contains(TComponentStateFlag::csDestroying)))
        return;
    RecalculateAll();
}

void TDBSumListProducer::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet)
        return;
    // Handlers always go back to the dataset they were taken from.
    UnhookDataSetEvents();
    FReportedMissing.clear();
    WatchDataSet(Value);
    if (FActive && WorkAllowed())
        EnableSums(true);
}

void TDBSumListProducer::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    if (Value)
        EnableSums(true);
    else
        DisableSums(true);
}

void TDBSumListProducer::ActivateAfterLoad()
{
    if (FDataSet != nullptr && FActive)
        EnableSums(true);
}

void TDBSumListProducer::EnableSums(bool RecalcAll)
{
    FActive = true;
    if (!WorkAllowed())
        return;
    HookDataSetEvents();
    if (RecalcAll)
        RecalculateAll();
}

void TDBSumListProducer::DisableSums(bool ClearValues)
{
    FActive = false;
    if (!WorkAllowed())
        return;
    UnhookDataSetEvents();
    if (ClearValues)
        ResetSumValues();
}

void TDBSumListProducer::SetExternalRecalc(bool Value)
{
    if (Value == FExternalRecalc)
        return;
    FExternalRecalc = Value;
    RecalculateAll();
}

void TDBSumListProducer::SetVirtualRecords(bool Value)
{
    if (Value == FVirtualRecords)
        return;
    FVirtualRecords = Value;
    if (Value)
        RecalculateAll();
}

void TDBSumListProducer::FireSumListChanged()
{
    if (SumListChanged)
        SumListChanged(this);
}

// --- Record numbers ---------------------------------------------------------------------------

bool TDBSumListProducer::KeepsVirtualRecords() const
{
    return FDataSet != nullptr && FVirtualRecords && !FDataSet->IsSequenced();
}

int TDBSumListProducer::CurrentRecordNumber()
{
    if (FDataSet == nullptr)
        return 0;
    if (!KeepsVirtualRecords() || !FActive)
        return FDataSet->RecNo();
    return IndexOfBookmark(FDataSet->Bookmark()) + 1;
}

int TDBSumListProducer::IndexOfBookmark(const TBookmark& Bookmark)
{
    return FVirtualRecordList.IndexOfBookmark(Bookmark);
}

void TDBSumListProducer::GoToRecordNumber(int N)
{
    if (FDataSet == nullptr)
        return;
    if (!KeepsVirtualRecords() || !FActive)
        FDataSet->SetRecNo(N);
    else if (N >= 1 && N <= FVirtualRecordList.ItemCount())
        FDataSet->SetBookmark(FVirtualRecordList.BookmarkAt(N - 1));
}

bool TDBSumListProducer::HasRecordNumbers()
{
    if (FDataSet == nullptr)
        return false;
    if (FDataSet->IsSequenced())
        return true;
    if (!FVirtualRecords || !FActive)
        return false;
    return FVirtualRecordList.ItemCount() > 0 || (FDataSet->Bof() && FDataSet->Eof());
}

int TDBSumListProducer::CountRecords()
{
    if (FDataSet == nullptr)
        return 0;
    if (KeepsVirtualRecords() && FActive)
        return FVirtualRecordList.ItemCount();
    return FDataSet->RecordCount();
}
