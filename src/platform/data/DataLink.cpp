// A data link's record window, active and editing states and the dataset events it passes on.
#include "platform/data/DataLink.h"

#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"

#include <algorithm>

TDataLink::~TDataLink()
{
    // No callbacks into a link being destroyed.
    FActive = false;
    FEditing = false;
    SetDataSource(nullptr);
}

void TDataLink::SetDataSource(TDataSource* Value)
{
    if (Value == FDataSource)
        return;
    if (FDataSource != nullptr)
        FDataSource->RemoveDataLink(this);
    FDataSource = Value;
    if (Value != nullptr)
        Value->AddDataLink(this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const { return FDataSource != nullptr ? FDataSource->DataSet() : nullptr; }

void TDataLink::SetReadOnly(bool Value)
{
    if (Value == FReadOnly)
        return;
    FReadOnly = Value;
    UpdateState();
}

void TDataLink::UpdateState()
{
    const TDataSetState state = FDataSource != nullptr ? FDataSource->State() : TDataSetState::dsInactive;
    SetActive(state != TDataSetState::dsInactive);
    SetEditing((state == TDataSetState::dsEdit || state == TDataSetState::dsInsert) && !FReadOnly);
}

void TDataLink::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    if (Value) {
        FFirstPosition = DataSet()->WindowFirst();
        UpdateRange();
    }
    ActiveChanged();
}

void TDataLink::SetEditing(bool Value)
{
    if (Value == FEditing)
        return;
    FEditing = Value;
    EditingChanged();
}

void TDataLink::SetBufferCount(int Value)
{
    const int count = std::max(1, Value);
    if (count == FBufferCount)
        return;
    FBufferCount = count;
    TDataSet* dataSet = DataSet();
    if (dataSet == nullptr)
        return;
    dataSet->UpdateBufferCount();
    // The window was refilled without an event: the first record is taken where it now stands,
    // so the next scroll reports its own shift and not this one as well.
    if (FActive)
        UpdateRange();
}

int TDataLink::FirstRecord() const
{
    const TDataSet* dataSet = DataSet();
    if (!FActive || dataSet == nullptr)
        return 0;
    int first = FFirstPosition - dataSet->WindowFirst();
    first = std::max(0, std::min(first, dataSet->WindowCount() - FBufferCount));
    const int current = dataSet->CurrentSlot();
    if (current >= 0)
        first = std::clamp(first, current - FBufferCount + 1, current);
    return first;
}

int TDataLink::UpdateRange()
{
    const int previous = FFirstPosition;
    FFirstPosition = DataSet()->WindowFirst() + FirstRecord();
    return FFirstPosition - previous;
}

int TDataLink::RecordCount() const
{
    if (!FActive)
        return 0;
    return std::min(FBufferCount, DataSet()->WindowCount() - FirstRecord());
}

int TDataLink::ActiveRecord() const
{
    if (!FActive)
        return 0;
    return DataSet()->FActiveSlot - FirstRecord();
}

void TDataLink::SetActiveRecord(int Value)
{
    if (FActive)
        DataSet()->SetActiveSlot(Value + FirstRecord());
}

bool TDataLink::Edit()
{
    const TDataSet* dataSet = DataSet();
    if (!FReadOnly && dataSet != nullptr && dataSet->CanModify())
        FDataSource->Edit();
    return FEditing;
}

void TDataLink::UpdateRecord()
{
    FUpdating = true;
    try {
        UpdateData();
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

int TDataLink::MoveBy(int Distance) { return DataSet()->MoveBy(Distance); }

void TDataLink::DataEvent(TDataEvent Event, std::intptr_t Info)
{
    if (Event == TDataEvent::deUpdateState) {
        UpdateState();
        return;
    }
    if (!FActive)
        return;
    switch (Event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
        if (!FUpdating)
            RecordChanged(reinterpret_cast<TField*>(Info));
        break;
    case TDataEvent::deDataSetChange:
        UpdateRange();
        DataSetChanged();
        break;
    case TDataEvent::deDataSetScroll:
        DataSetScrolled(UpdateRange());
        break;
    case TDataEvent::deLayoutChange:
        UpdateRange();
        LayoutChanged();
        break;
    case TDataEvent::deUpdateRecord:
        UpdateRecord();
        break;
    case TDataEvent::deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case TDataEvent::deFocusControl:
        FocusControl(reinterpret_cast<TField**>(Info));
        break;
    default:
        break;
    }
}
