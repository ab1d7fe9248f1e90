#pragma once
// A memory dataset that offers the grid's memory-table interface over its own records: reads any
// record on request and tells its observers of every record posted or deleted.
#include "controls/ToolCtrlsEh.h"
#include "datagrid/MemTableEh.h"
#include "platform/data/DataSource.h"
#include "platform/data/MemoryDataSet.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

class TMemTableDataSet : public TMemoryDataSet, public IMemTableEh {
public:
    explicit TMemTableDataSet(TComponent* AOwner) : TMemoryDataSet(AOwner)
    {
        FSelfSource->SetDataSet(this);
        BeforePost = [this](TDataSet*) { FPostedKind = State() == TDataSetState::dsInsert ? TMemTableChangeKindEh::mtcInserted : TMemTableChangeKindEh::mtcChanged; };
        AfterPost = [this](TDataSet*) { Notify(RecNo() - 1, FPostedKind); };
        BeforeDelete = [this](TDataSet*) { FDeletedIndex = RecNo() - 1; };
        AfterDelete = [this](TDataSet*) { Notify(FDeletedIndex, TMemTableChangeKindEh::mtcDeleted); };
    }
    // Closed first, so its viewers let go while the interface is whole.
    ~TMemTableDataSet() override
    {
        Close();
        FValueLists.clear();
        FSelfSource.reset();
    }

    IMemTableEh* MemTableInterface() override { return this; }
    int MemTableRecordCount() const override { return RecordCount(); }
    int MemTableCurrentIndex() const override { return RecNo() - 1; }
    // The current record is read as it stands, also while edited.
    int BeginInstantRead(int Index) override
    {
        InstantIndex = Index;
        BeginRecordRead(Index == RecNo() - 1 ? -1 : Index);
        return RecNo() - 1;
    }
    void EndInstantRead() override
    {
        InstantIndex = -1;
        EndRecordRead();
    }
    void RegisterObserver(IMemTableDataObserverEh* Observer) override { Observers.push_back(Observer); }
    void UnregisterObserver(IMemTableDataObserverEh* Observer) override { std::erase(Observers, Observer); }
    void SetViewRowCount(int Count) override { ViewRows = Count; }
    // One list per field, read over the table's own records.
    std::shared_ptr<IMemTableDataFieldValueListEh> FieldValueList(const String& FieldName) override
    {
        if (FindField(FieldName) == nullptr)
            return nullptr;
        std::shared_ptr<TDatasetFieldValueListEh>& list = FValueLists[FieldName];
        if (list == nullptr) {
            list = std::make_shared<TDatasetFieldValueListEh>();
            list->SetDataSource(FSelfSource.get());
            list->SetFieldName(FieldName);
        }
        return list;
    }

    std::vector<IMemTableDataObserverEh*> Observers;
    int InstantIndex = -1;
    int ViewRows = 0;

private:
    void Notify(int Index, TMemTableChangeKindEh Kind)
    {
        for (IMemTableDataObserverEh* observer : std::vector<IMemTableDataObserverEh*>(Observers))
            observer->MemTableRecordChanged(this, Index, Kind, -1);
    }

    TMemTableChangeKindEh FPostedKind = TMemTableChangeKindEh::mtcChanged;
    int FDeletedIndex = -1;
    std::unique_ptr<TDataSource> FSelfSource = std::make_unique<TDataSource>(nullptr);
    std::map<String, std::shared_ptr<TDatasetFieldValueListEh>> FValueLists;
};
