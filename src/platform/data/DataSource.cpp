// A data source's dataset, its enabled state and the data events it forwards to its links.
#include "platform/data/DataSource.h"

#include "platform/data/DataLink.h"
#include "platform/data/DataSet.h"

#include <algorithm>

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource()
{
    OnStateChange = nullptr;
    OnDataChange = nullptr;
    while (!FDataLinks.empty())
        FDataLinks.back()->SetDataSource(nullptr);
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet)
        return;
    if (FDataSet != nullptr) {
        FDataSet->RemoveDataSource(this);
        FDataSet->RemoveFreeNotification(this);
        // The links let go of the old dataset's fields and records first, also when the new
        // dataset is just as open as the old one.
        FDataSet = nullptr;
        UpdateState();
    }
    FDataSet = Value;
    if (Value != nullptr) {
        Value->FreeNotification(this);
        Value->AddDataSource(this);
    }
    UpdateState();
}

void TDataSource::DataSetGone()
{
    FDataSet = nullptr;
    UpdateState();
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDataSet)
        DataSetGone();
}

void TDataSource::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    UpdateState();
}

void TDataSource::Edit()
{
    if (FAutoEdit && FState == TDataSetState::dsBrowse)
        FDataSet->Edit();
}

void TDataSource::UpdateState()
{
    SetState(FEnabled && FDataSet != nullptr ? FDataSet->State() : TDataSetState::dsInactive);
}

void TDataSource::SetState(TDataSetState Value)
{
    if (Value == FState)
        return;
    FState = Value;
    NotifyDataLinks(TDataEvent::deUpdateState, 0);
    if (OnStateChange)
        OnStateChange(this);
}

void TDataSource::DataEvent(TDataEvent Event, std::intptr_t Info)
{
    if (Event == TDataEvent::deUpdateState) {
        UpdateState();
        return;
    }
    if (FState == TDataSetState::dsInactive)
        return;
    NotifyDataLinks(Event, Info);
    switch (Event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
        if (OnDataChange)
            OnDataChange(this, reinterpret_cast<TField*>(Info));
        break;
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
    case TDataEvent::deLayoutChange:
        if (OnDataChange)
            OnDataChange(this, nullptr);
        break;
    case TDataEvent::deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(this);
        break;
    default:
        break;
    }
}

void TDataSource::NotifyDataLinks(TDataEvent Event, std::intptr_t Info)
{
    // A handler may add or remove links; deliver to those present at the start and still here.
    const std::vector<TDataLink*> links = FDataLinks;
    for (TDataLink* link : links)
        if (std::find(FDataLinks.begin(), FDataLinks.end(), link) != FDataLinks.end())
            link->DataEvent(Event, Info);
}

void TDataSource::AddDataLink(TDataLink* Link)
{
    FDataLinks.push_back(Link);
    if (FDataSet != nullptr)
        FDataSet->UpdateBufferCount();
}

void TDataSource::RemoveDataLink(TDataLink* Link)
{
    FDataLinks.erase(std::remove(FDataLinks.begin(), FDataLinks.end(), Link), FDataLinks.end());
    if (FDataSet != nullptr)
        FDataSet->UpdateBufferCount();
}
