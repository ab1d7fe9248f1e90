#pragma once
// TDataSource: the connector between one dataset and the data links of the controls that show
// it. It forwards the dataset's data events to its links while enabled.
#include "platform/core/Component.h"
#include "platform/data/DataTypes.h"

#include <cstdint>
#include <functional>
#include <vector>

class TDataLink;
class TDataSet;
class TField;

using TDataChangeEvent = std::function<void(TObject* Sender, TField* Field)>;

class TDataSource : public TComponent {
public:
    explicit TDataSource(TComponent* AOwner);
    ~TDataSource() override;

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    // Controls may put the dataset in edit state when the user starts typing.
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool Value) { FAutoEdit = Value; }
    // Disabled, the source shows its links an inactive dataset.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // The dataset's state as the links see it: dsInactive without a dataset or disabled.
    TDataSetState State() const { return FState; }
    // Puts a browsing dataset in edit state when AutoEdit.
    void Edit();

    // A field value or the record changed (Field nullptr for the whole record).
    TDataChangeEvent OnDataChange;
    TNotifyEvent OnStateChange;
    // The links are about to store their values (before Post).
    TNotifyEvent OnUpdateData;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    const char* ClassName() const override { return "TDataSource"; }

private:
    friend class TDataSet;
    friend class TDataLink;

    void DataEvent(TDataEvent Event, std::intptr_t Info);
    void NotifyDataLinks(TDataEvent Event, std::intptr_t Info);
    void UpdateState();
    void SetState(TDataSetState Value);
    void AddDataLink(TDataLink* Link);
    void RemoveDataLink(TDataLink* Link);
    // The dataset is being destroyed: forget it without calling it.
    void DataSetGone();

    TDataSet* FDataSet = nullptr;
    bool FAutoEdit = true;
    bool FEnabled = true;
    TDataSetState FState = TDataSetState::dsInactive;
    std::vector<TDataLink*> FDataLinks;
};
