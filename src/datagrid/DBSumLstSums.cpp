// The arithmetic of the sum list: the dataset's own totals or one pass over the records, then the
// record-by-record upkeep from the dataset's events.
#include "datagrid/DBSumLst.h"

#include "platform/core/Exceptions.h"
#include "platform/data/Field.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QueuedCall.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Only a count of every record goes without a field.
bool HasValue(const TField* Field) { return Field != nullptr && !Field->IsNull(); }

// What a field value adds to a sum: round(V x 10000), half to even; a Null adds nothing, and
// so does a text that is no number, rather than failing the sums of every footer.
Currency ValueUnits(const TField* Field)
{
    if (!HasValue(Field))
        return {};
    try {
        return Currency::FromDouble(Field->AsFloat());
    } catch (const EConvertError&) {
        return {};
    }
}

// What a record adds to a count: one when counting every record (no field) or its field is not Null.
Currency CountUnits(const TField* Field)
{
    return Field == nullptr || !Field->IsNull() ? Currency::FromRaw(Currency::Scale) : Currency();
}

bool IsEditing(const TDataSet* DataSet)
{
    return DataSet->State() == TDataSetState::dsEdit || DataSet->State() == TDataSetState::dsInsert;
}

}  // namespace

template <class TStep>
void TDBSumListProducer::GuardOverflow(TDBSum& Sum, TStep&& Step)
{
    try {
        Step();
    } catch (const EOverflow&) {
        Sum.FOverflowed = true;
    }
}

template <class TStep>
void TDBSumListProducer::ForEachTakingPart(TStep&& Step)
{
    for (int I = 0; I < FSumCollection->Count(); ++I) {
        TDBSum& Sum = *FSumCollection->SumItemAt(I);
        if (Sum.FieldName().isEmpty()) {
            if (Sum.GroupOperation() == TGroupOperation::goCount)
                GuardOverflow(Sum, [&] { Step(Sum, nullptr); });
        } else if (TField* Field = FDataSet->FindField(Sum.FieldName())) {
            GuardOverflow(Sum, [&] { Step(Sum, Field); });
        } else {
            ReportMissingField(Sum);
        }
    }
}

void TDBSumListProducer::ReportMissingField(TDBSum& Sum)
{
    Sum.FFieldMissing = true;
    const String& name = Sum.FieldName();
    if (std::find(FReportedMissing.begin(), FReportedMissing.end(), name) != FReportedMissing.end())
        return;
    FReportedMissing.push_back(name);
    // The dataset's own field-not-found error, shown without being raised and only after the
    // dataset event that found it: a message box's loop must not run amid half-updated sums.
    try {
        FDataSet->FieldByName(name);
    } catch (const Exception& E) {
        QueueCall([Message = E.Message()] { Application->ShowException(Exception(Message)); });
    }
}

bool TDBSumListProducer::AnyOverflowed() const
{
    for (int I = 0; I < FSumCollection->Count(); ++I)
        if (FSumCollection->SumItemAt(I)->Overflowed())
            return true;
    return false;
}

void TDBSumListProducer::ClearSumValues()
{
    for (int I = 0; I < FSumCollection->Count(); ++I)
        FSumCollection->SumItemAt(I)->Clear();
}

void TDBSumListProducer::ResetSumValues()
{
    ClearSumValues();
    FireSumListChanged();
}

// --- Full recalculation -----------------------------------------------------------------------

void TDBSumListProducer::RecalculateAll()
{
    if (!WorkAllowed() || !FActive || FDataSet == nullptr || !FDataSet->Active() || !FEventsHooked)
        return;
    // A pending edit is posted first, through the usual AfterPost: posted by the walk's First,
    // it would be applied to the zeroed values and then counted again.
    if (!FExternalRecalc && IsEditing(FDataSet))
        FDataSet->CheckBrowseMode();
    try {
        // Notified once, at the end.
        ClearSumValues();
        if (OnRecalcAll)
            OnRecalcAll(this);
        if (!FExternalRecalc) {
            AccumulateAll();
            if (OnAfterRecalcAll)
                OnAfterRecalcAll(this);
        }
    } catch (...) {
        FinishRecalculation();
        throw;
    }
    FinishRecalculation();
}

void TDBSumListProducer::AccumulateAll()
{
    std::vector<std::pair<TDBSum*, TField*>> Targets;
    ForEachTakingPart([&Targets](TDBSum& Sum, TField* Field) { Targets.emplace_back(&Sum, Field); });
    const bool Listing = KeepsVirtualRecords();
    ExpectDataSetTotals();
    if (Targets.empty() && !Listing)
        return;
    if (!Listing && TakeDataSetTotals(Targets))
        return;
    const TBookmark Current = FDataSet->IsEmpty() ? TBookmark() : FDataSet->Bookmark();
    FDataSet->DisableControls();
    try {
        FVirtualRecordList.RemoveAll();
        FChanging = true;
        for (FDataSet->First(); !FDataSet->Eof(); FDataSet->Next()) {
            for (auto [Sum, Field] : Targets) {
                GuardOverflow(*Sum, [Sum = Sum, Field = Field] {
                    switch (Sum->FGroupOperation) {
                    case TGroupOperation::goSum:
                        Sum->FSumValue += ValueUnits(Field);
                        break;
                    case TGroupOperation::goAvg:
                        if (HasValue(Field)) {
                            ++Sum->FNotNullCount;
                            Sum->FRunningSum += ValueUnits(Field);
                        }
                        break;
                    case TGroupOperation::goCount:
                        Sum->FSumValue += CountUnits(Field);
                        break;
                    }
                });
            }
            if (Listing)
                FVirtualRecordList.AppendBookmark(FDataSet->Bookmark());
        }
        if (!Current.isEmpty() && FDataSet->BookmarkValid(Current))
            FDataSet->SetBookmark(Current);
        else
            FDataSet->First();
        for (auto [Sum, Field] : Targets)
            if (Sum->FGroupOperation == TGroupOperation::goAvg)
                Sum->ComputeAverage();
    } catch (...) {
        FDataSet->EnableControls();
        throw;
    }
    FDataSet->EnableControls();
}

bool TDBSumListProducer::TakeDataSetTotals(const std::vector<std::pair<TDBSum*, TField*>>& Targets)
{
    std::vector<const TField*> fields;
    for (auto [Sum, Field] : Targets)
        if (Field)
            fields.push_back(Field);
    const std::optional<std::vector<TFieldTotal>> totals = FDataSet->FieldTotals(fields);
    if (!totals)
        return false;
    auto total = totals->begin();
    for (auto [Sum, Field] : Targets) {
        // A count of every record has no field, so no total of its own.
        const TFieldTotal counted = Field ? *total++ : TFieldTotal{{}, FDataSet->RecordCount()};
        switch (Sum->FGroupOperation) {
        case TGroupOperation::goSum:
            Sum->FSumValue = counted.Sum;
            break;
        case TGroupOperation::goAvg:
            Sum->FNotNullCount = counted.NotNull;
            Sum->FRunningSum = counted.Sum;
            Sum->ComputeAverage();
            break;
        case TGroupOperation::goCount:
            Sum->FSumValue = Currency::FromRaw(std::int64_t(counted.NotNull) * Currency::Scale);
            break;
        }
    }
    return true;
}

void TDBSumListProducer::ExpectDataSetTotals()
{
    QStringList names;
    if (!FVirtualRecords && !FExternalRecalc)
        for (int I = 0; I < FSumCollection->Count(); ++I)
            if (const String& name = FSumCollection->SumItemAt(I)->FieldName(); !name.isEmpty())
                names << name;
    FDataSet->SetExpectedTotals(names);
}

void TDBSumListProducer::FinishRecalculation()
{
    FSnapshotFiltered = FDataSet->Filtered();
    FSnapshotFilter = FDataSet->Filter();
    FChanging = false;
    FRecalcAfterDelete = false;
    FireSumListChanged();
}

bool TDBSumListProducer::FilterChangedSinceRecalc() const
{
    return FDataSet->Filtered() != FSnapshotFiltered || (FDataSet->Filtered() && FDataSet->Filter() != FSnapshotFilter);
}

// --- Record-by-record upkeep ------------------------------------------------------------------

void TDBSumListProducer::HandleAfterEdit(TDataSet*)
{
    if (!FActive)
        return;
    ForEachTakingPart([](TDBSum& Sum, TField* Field) {
        if (Sum.FGroupOperation == TGroupOperation::goCount) {
            Sum.FOldContribution = CountUnits(Field);
        } else {
            Sum.FOldContribution = ValueUnits(Field);
            Sum.FOldValue = HasValue(Field) ? Field->Value() : Variant::Null();
        }
    });
}

void TDBSumListProducer::HandleAfterInsert(TDataSet*)
{
    if (!FActive)
        return;
    // The new record was never counted, whatever default values it starts with.
    ForEachTakingPart([](TDBSum& Sum, TField*) {
        Sum.FOldContribution = Currency();
        Sum.FOldValue = Variant::Null();
    });
    if (KeepsVirtualRecords()) {
        const TBookmark Bookmark = FDataSet->Bookmark();
        if (Bookmark.isEmpty())
            FInsertPending = true;
        else
            FVirtualRecordList.AppendBookmark(Bookmark);
    }
}

void TDBSumListProducer::HandleAfterPost(TDataSet*)
{
    if (!FActive)
        return;
    ForEachTakingPart([](TDBSum& Sum, TField* Field) {
        switch (Sum.FGroupOperation) {
        case TGroupOperation::goSum:
            Sum.FSumValue = Sum.FSumValue - Sum.FOldContribution + ValueUnits(Field);
            break;
        case TGroupOperation::goAvg:
            if (!HasValue(Field)) {
                if (!VarIsNull(Sum.FOldValue)) {
                    --Sum.FNotNullCount;
                    Sum.FRunningSum -= Sum.FOldContribution;
                }
            } else {
                if (VarIsNull(Sum.FOldValue))
                    ++Sum.FNotNullCount;
                Sum.FRunningSum = Sum.FRunningSum - Sum.FOldContribution + ValueUnits(Field);
            }
            Sum.ComputeAverage();
            break;
        case TGroupOperation::goCount:
            Sum.FSumValue = Sum.FSumValue - Sum.FOldContribution + CountUnits(Field);
            break;
        }
    });
    if (KeepsVirtualRecords() && FInsertPending) {
        // In dataset order: before the first entry that sorts after the new record.
        const TBookmark Bookmark = FDataSet->Bookmark();
        int Index = 0;
        if (!FVirtualRecordList.FindBookmark(Bookmark, Index))
            FVirtualRecordList.InsertAt(Index, Bookmark);
        FInsertPending = false;
    }
    // An overflowed sum has lost its running value: only a new pass can tell whether it fits again.
    if (AnyOverflowed())
        RecalculateAll();
    else
        FireSumListChanged();
}

void TDBSumListProducer::HandleBeforeDelete(TDataSet*)
{
    if (!FActive)
        return;
    // Deleting a record under edit removes what is stored, not the unposted changes on screen.
    const bool Edited = FDataSet->State() == TDataSetState::dsEdit;
    ForEachTakingPart([Edited](TDBSum& Sum, TField* Field) {
        switch (Sum.FGroupOperation) {
        case TGroupOperation::goSum:
            Sum.FSumValue -= Edited ? Sum.FOldContribution : ValueUnits(Field);
            break;
        case TGroupOperation::goAvg:
            Sum.FRunningSum -= Edited ? Sum.FOldContribution : ValueUnits(Field);
            if (Edited ? !VarIsNull(Sum.FOldValue) : HasValue(Field))
                --Sum.FNotNullCount;
            Sum.ComputeAverage();
            break;
        case TGroupOperation::goCount:
            Sum.FSumValue -= Edited ? Sum.FOldContribution : CountUnits(Field);
            break;
        }
    });
    if (KeepsVirtualRecords()) {
        const int Index = IndexOfBookmark(FDataSet->Bookmark());
        if (Index >= 0)
            FVirtualRecordList.DeleteAt(Index);
    }
    // An overflowed sum is counted again once the record is gone, at the scroll that ends the delete.
    FRecalcAfterDelete = AnyOverflowed();
    FireSumListChanged();
}

void TDBSumListProducer::HandleAfterOpen(TDataSet*)
{
    if (FActive)
        RecalculateAll();
}

void TDBSumListProducer::HandleAfterClose(TDataSet*)
{
    if (FActive) {
        ResetSumValues();
        FChanging = false;
    }
    FVirtualRecordList.RemoveAll();
}

void TDBSumListProducer::HandleAfterCancel(TDataSet*) { FInsertPending = false; }

void TDBSumListProducer::HandleAfterScroll(TDataSet*)
{
    if (FActive && !FChanging && (FRecalcAfterDelete || FilterChangedSinceRecalc()))
        RecalculateAll();
}

void TDBSumListProducer::HandleMasterAfterScroll(TDataSet*)
{
    if (FActive && !FChanging)
        RecalculateAll();
}
