#pragma once
// The footer sum list: sums, averages and counts of a dataset's fields, computed by the dataset's
// source in one pass when it can (a query on one table), else in one pass over the records, and afterwards kept current record by record from the dataset's own events
// (edit, insert, post, cancel, delete, open, close, scroll and the master's scroll), which the
// producer takes over and always chains to the handlers it found.
//
// Amounts are Currency (1/10000 units): a field value V contributes round(V x 10000), half to
// even, and a counted record contributes 10000, so sums never drift however many edits follow.
// A sum that leaves Currency's range is marked overflowed instead of failing the dataset's event.
#include "controls/ToolCtrlsEh.h"
#include "platform/core/Collection.h"
#include "platform/core/Currency.h"
#include "platform/core/Variant.h"
#include "platform/data/DataSet.h"

#include <memory>
#include <utility>
#include <vector>

class TComponent;
class TDBSumListProducer;
class TField;

enum class TGroupOperation { goSum, goAvg, goCount };

// One aggregate of the list. SumValue is the sum, the average, or the count x 10000.
class TDBSum : public TCollectionItem {
public:
    explicit TDBSum(TCollection* Collection);

    // GroupOperation, FieldName, the remembered contribution and SumValue.
    void Assign(TPersistent* Source) override;

    // The field aggregated; empty with goCount counts every record. Case matters for a change.
    const String& FieldName() const { return FFieldName; }
    void SetFieldName(const String& Value);
    TGroupOperation GroupOperation() const { return FGroupOperation; }
    void SetGroupOperation(TGroupOperation Value);
    Currency SumValue() const { return FSumValue; }
    // For an owner that computes the values itself (ExternalRecalc).
    void SetSumValue(Currency Value) { FSumValue = Value; }
    // A value or the sum left Currency's range: SumValue means nothing until a recalculation
    // over values that fit.
    bool Overflowed() const { return FOverflowed; }
    // The dataset has no field named FieldName: SumValue means nothing.
    bool FieldMissing() const { return FFieldMissing; }

protected:
    const char* ClassName() const override { return "TDBSum"; }

private:
    friend class TDBSumListProducer;

    // Back to nothing counted; the remembered value stays.
    void Clear();
    // SumValue of an average from its running sum and count: 0 over no values.
    void ComputeAverage();

    String FFieldName;
    TGroupOperation FGroupOperation = TGroupOperation::goSum;
    Currency FSumValue;
    // The current record's contribution, remembered at Edit or Insert and taken out at Post.
    Currency FOldContribution;
    // The current record's field value remembered at Edit (Null at Insert).
    Variant FOldValue = Variant::Null();
    // Behind an average: the records whose field is not Null and the sum of their values.
    int FNotNullCount = 0;
    Currency FRunningSum;
    bool FOverflowed = false;
    bool FFieldMissing = false;
};

// The producer's aggregates; a change of any item recalculates the list.
class TDBSumCollection : public TCollection {
public:
    explicit TDBSumCollection(TDBSumListProducer* Owner);

    TDBSum* SumItemAt(int Index) const { return static_cast<TDBSum*>(Items(Index)); }
    // The first item of that operation on FieldName, compared without case; nullptr when none.
    TDBSum* FindSum(TGroupOperation Operation, const String& FieldName) const;

protected:
    void Update(TCollectionItem* Item) override;
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TDBSumCollection"; }

private:
    TDBSumListProducer* FOwner;
};

// The producer's bookmarks of every record, in dataset order, for a dataset without record numbers.
class TSLBookmarkListEh : public TBMListEh {
public:
    explicit TSLBookmarkListEh(TDBSumListProducer* Owner) : FOwner(Owner) {}
    TDataSet* GetDataSet() const override;

private:
    TDBSumListProducer* FOwner;
};

class TSumListWatchEh;
struct TSumListHandlerEh;
struct TSumListLinkEh;

class TDBSumListProducer : public TPersistent {
public:
    // Owner (a grid) gates the work while it loads or is designed; it may be nullptr.
    explicit TDBSumListProducer(TComponent* Owner);
    // Gives the dataset its handlers back, values kept.
    ~TDBSumListProducer() override;
    TDBSumListProducer(const TDBSumListProducer&) = delete;
    TDBSumListProducer& operator=(const TDBSumListProducer&) = delete;

    // Active, DataSet, ExternalRecalc, the items, VirtualRecords and the notifications.
    void Assign(TPersistent* Source) override;

    // Maintained when Active (True after creation): switching on recalculates, off clears.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // The dataset watched. Changing it gives the old one its handlers back and recalculates
    // over the new one when active. A dataset freed first is simply forgotten.
    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    // The owner computes the values itself in OnRecalcAll: a recalculation only zeroes and notifies.
    bool ExternalRecalc() const { return FExternalRecalc; }
    void SetExternalRecalc(bool Value);
    // Keep the bookmarks of a dataset that is not sequenced, to number its records.
    bool VirtualRecords() const { return FVirtualRecords; }
    void SetVirtualRecords(bool Value);
    TDBSumCollection* SumCollection() const { return FSumCollection.get(); }
    void SetSumCollection(TDBSumCollection* Value) { FSumCollection->Assign(Value); }
    // Work while the owner is being designed.
    bool DesignTimeWork() const { return FDesignTimeWork; }
    void SetDesignTimeWork(bool Value) { FDesignTimeWork = Value; }
    bool EventsHooked() const { return FEventsHooked; }
    const TSLBookmarkListEh& VirtualRecordList() const { return FVirtualRecordList; }

    // After the owner has loaded: starts the work held back while loading.
    void ActivateAfterLoad();
    // Active; when work is allowed, hooks the events and, with RecalcAll, recalculates.
    void EnableSums(bool RecalcAll);
    // Not active; when work is allowed, gives the handlers back and, with ClearValues, zeroes.
    void DisableSums(bool ClearValues);

    // Record numbers: the dataset's own, or positions in the bookmark list (VirtualRecords).
    virtual int CurrentRecordNumber();
    // The position of Bookmark in the bookmark list; -1 when absent.
    virtual int IndexOfBookmark(const TBookmark& Bookmark);
    // Moves to record N (1-based); nothing for a number outside the bookmark list.
    virtual void GoToRecordNumber(int N);
    virtual bool HasRecordNumbers();
    virtual int CountRecords();
    // Every value, remembered contribution, running sum and count to 0; then SumListChanged.
    virtual void ResetSumValues();
    // One pass over the records when work is allowed, Active, and the open dataset's events
    // are hooked. SumListChanged follows once, also when the pass fails.
    virtual void RecalculateAll();

    // OnRecalcAll starts every recalculation (with ExternalRecalc it supplies the values);
    // OnAfterRecalcAll follows a pass; SumListChanged follows every change of the values.
    TNotifyEvent OnRecalcAll;
    TNotifyEvent OnAfterRecalcAll;
    TNotifyEvent SumListChanged;

protected:
    // The producer's part of each dataset event; the hooked handler adds the chaining.
    virtual void HandleAfterCancel(TDataSet* DataSet);
    virtual void HandleAfterClose(TDataSet* DataSet);
    virtual void HandleAfterEdit(TDataSet* DataSet);
    virtual void HandleAfterInsert(TDataSet* DataSet);
    virtual void HandleAfterOpen(TDataSet* DataSet);
    virtual void HandleAfterPost(TDataSet* DataSet);
    virtual void HandleAfterScroll(TDataSet* DataSet);
    virtual void HandleBeforeDelete(TDataSet* DataSet);
    virtual void HandleMasterAfterScroll(TDataSet* DataSet);
    // Takes over the dataset's (and its master's) handlers; each new one chains to the old.
    virtual void HookDataSetEvents();
    // Puts back every handler still in place. A handler that was itself chained over later
    // stays, and from then on only calls the one it replaced.
    virtual void UnhookDataSetEvents();

    void FireSumListChanged();
    // For an owner that hooks nothing while designed yet counts the events as taken.
    void MarkEventsHooked(bool Value) { FEventsHooked = Value; }
    // Not while the owner loads, nor while it is designed unless DesignTimeWork.
    bool WorkAllowed() const;
    TComponent* OwnerComponent() const { return FOwner; }
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TDBSumListProducer"; }

private:
    friend class TDBSumCollection;
    friend class TSumListWatchEh;
    friend struct TSumListHandlerEh;

    void ItemsChanged();
    void ClearSumValues();
    // The watched dataset or its master was freed: forget it without touching it.
    void ComponentFreed(TComponent* Component);
    void WatchDataSet(TDataSet* Value);
    // Gives back the handlers still in place (none to a dataset being destroyed); those left
    // chained over become pass-through; the master is no longer watched.
    void ReleaseHandlers();
    bool FilterChangedSinceRecalc() const;
    // The end of every recalculation, also a failed one: filter snapshot, notification.
    void FinishRecalculation();
    // The walk of a recalculation: every taking-part item accumulated, bookmarks listed.
    void AccumulateAll();
    // The values of Targets from the dataset's own totals; false, nothing set, when it has none.
    bool TakeDataSetTotals(const std::vector<std::pair<TDBSum*, TField*>>& Targets);
    // Names to the dataset the fields whose totals the next recalculation takes from it, so that
    // it totals them as it opens; none while the sums are walked or recalculated outside.
    void ExpectDataSetTotals();
    bool KeepsVirtualRecords() const;
    // Calls Step for every item that takes part with its field (nullptr for a count of every
    // record). An item whose field the dataset lacks is left out and marked; the name is
    // reported once, so a post or delete goes on.
    template <class TStep>
    void ForEachTakingPart(TStep&& Step);
    void ReportMissingField(TDBSum& Sum);
    // Runs Step, the arithmetic of Sum: a result beyond Currency's range marks Sum overflowed
    // rather than failing the opening, post or delete that asked for it.
    template <class TStep>
    static void GuardOverflow(TDBSum& Sum, TStep&& Step);
    bool AnyOverflowed() const;

    TComponent* FOwner;
    std::unique_ptr<TDBSumCollection> FSumCollection;
    TSLBookmarkListEh FVirtualRecordList{this};
    std::unique_ptr<TSumListWatchEh> FWatch;
    std::shared_ptr<TSumListLinkEh> FLink;
    TDataSet* FDataSet = nullptr;
    TDataSet* FMasterDataSet = nullptr;
    bool FActive = true;
    bool FExternalRecalc = false;
    bool FVirtualRecords = false;
    bool FDesignTimeWork = false;
    bool FEventsHooked = false;
    bool FChanging = false;
    bool FDestroying = false;
    bool FSnapshotFiltered = false;
    String FSnapshotFilter;
    bool FInsertPending = false;
    bool FRecalcAfterDelete = false;
    // Field names already reported missing in the watched dataset.
    std::vector<String> FReportedMissing;
};
