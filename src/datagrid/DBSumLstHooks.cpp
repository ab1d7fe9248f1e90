// Taking over a dataset's event handlers, chaining to the ones found, giving them back, and
// letting go of a dataset (or its master) that is freed first.
#include "datagrid/DBSumLst.h"

#include "controls/VoDorVCL.h"
#include "platform/core/Component.h"

#include <array>
#include <utility>

// What the producer's handlers share: the producer while it holds the events, nullptr after.
// A handler that outlives the hooking (the application chained another over it) then only
// calls the handler it replaced, and never a freed producer.
struct TSumListLinkEh {
    TDBSumListProducer* Producer = nullptr;
};

// The handler installed in one dataset event: the producer's step and the replaced handler,
// in the event's order. The replaced handler runs even when the step raises.
struct TSumListHandlerEh {
    using TStep = void (TDBSumListProducer::*)(TDataSet*);

    struct TChain {
        std::shared_ptr<TSumListLinkEh> Link;
        TStep Step;
        TDataSetNotifyEvent Saved;
        bool SavedFirst;
    };

    struct TEventSlot {
        TDataSetNotifyEvent TDataSet::*Event;
        TStep Step;
        bool SavedFirst;
    };

    static constexpr std::array<TEventSlot, 8> DataSetEvents = {{
        {&TDataSet::AfterEdit, &TDBSumListProducer::HandleAfterEdit, false},
        {&TDataSet::AfterInsert, &TDBSumListProducer::HandleAfterInsert, false},
        {&TDataSet::AfterOpen, &TDBSumListProducer::HandleAfterOpen, false},
        {&TDataSet::AfterPost, &TDBSumListProducer::HandleAfterPost, false},
        {&TDataSet::AfterScroll, &TDBSumListProducer::HandleAfterScroll, true},
        {&TDataSet::BeforeDelete, &TDBSumListProducer::HandleBeforeDelete, true},
        {&TDataSet::AfterClose, &TDBSumListProducer::HandleAfterClose, false},
        {&TDataSet::AfterCancel, &TDBSumListProducer::HandleAfterCancel, true},
    }};
    static constexpr TEventSlot MasterEvent = {&TDataSet::AfterScroll, &TDBSumListProducer::HandleMasterAfterScroll,
                                               true};

    static TSumListHandlerEh Make(const std::shared_ptr<TSumListLinkEh>& Link, const TEventSlot& Slot,
                                  const TDataSetNotifyEvent& Saved)
    {
        return {std::make_shared<const TChain>(TChain{Link, Slot.Step, Saved, Slot.SavedFirst})};
    }

    // Puts back the handler Event held before Link's producer took it, unless another handler
    // has been chained over it since.
    static void GiveBack(TDataSetNotifyEvent& Event, const std::shared_ptr<TSumListLinkEh>& Link)
    {
        const TSumListHandlerEh* Handler = Event.target<TSumListHandlerEh>();
        if (Handler == nullptr || Handler->Chain->Link != Link)
            return;
        TDataSetNotifyEvent Saved = Handler->Chain->Saved;
        Event = std::move(Saved);
    }

    void operator()(TDataSet* DataSet) const
    {
        // The dataset may drop this very handler while it runs (a notification that moves the
        // producer to another dataset): keep what it needs alive.
        const std::shared_ptr<const TChain> Keep = Chain;
        if (Keep->SavedFirst && Keep->Saved)
            Keep->Saved(DataSet);
        if (TDBSumListProducer* Producer = Keep->Link->Producer) {
            try {
                (Producer->*Keep->Step)(DataSet);
            } catch (...) {
                if (!Keep->SavedFirst && Keep->Saved)
                    Keep->Saved(DataSet);
                throw;
            }
        }
        if (!Keep->SavedFirst && Keep->Saved)
            Keep->Saved(DataSet);
    }

    std::shared_ptr<const TChain> Chain;
};

// Hears when the watched dataset or its master is freed.
class TSumListWatchEh : public TComponent {
public:
    explicit TSumListWatchEh(TDBSumListProducer* Producer) : TComponent(nullptr), FProducer(Producer) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove)
            FProducer->ComponentFreed(AComponent);
    }

private:
    TDBSumListProducer* FProducer;
};

TDBSumListProducer::TDBSumListProducer(TComponent* Owner)
    : FOwner(Owner),
      FSumCollection(std::make_unique<TDBSumCollection>(this)),
      FWatch(std::make_unique<TSumListWatchEh>(this))
{
}

TDBSumListProducer::~TDBSumListProducer()
{
    FDestroying = true;
    FActive = false;
    UnhookDataSetEvents();
}

void TDBSumListProducer::HookDataSetEvents()
{
    if (FDataSet == nullptr || FEventsHooked)
        return;
    auto Link = std::make_shared<TSumListLinkEh>(TSumListLinkEh{this});
    TDataSet* Master = DataSetBehindSourceProperty(FDataSet, &TDataSet::MasterSource);
    if (Master == FDataSet)
        Master = nullptr;
    // Every handler is built before any is installed, so a failure leaves the dataset as it was.
    std::array<TSumListHandlerEh, TSumListHandlerEh::DataSetEvents.size()> Handlers;
    for (std::size_t I = 0; I < Handlers.size(); ++I) {
        const auto& Slot = TSumListHandlerEh::DataSetEvents[I];
        Handlers[I] = TSumListHandlerEh::Make(Link, Slot, FDataSet->*Slot.Event);
    }
    TSumListHandlerEh MasterHandler;
    if (Master != nullptr) {
        MasterHandler = TSumListHandlerEh::Make(Link, TSumListHandlerEh::MasterEvent,
                                                Master->*TSumListHandlerEh::MasterEvent.Event);
        FWatch->FreeNotification(Master);
    }
    for (std::size_t I = 0; I < Handlers.size(); ++I)
        FDataSet->*TSumListHandlerEh::DataSetEvents[I].Event = std::move(Handlers[I]);
    if (Master != nullptr)
        Master->*TSumListHandlerEh::MasterEvent.Event = std::move(MasterHandler);
    FLink = std::move(Link);
    FMasterDataSet = Master;
    FEventsHooked = true;
    ExpectDataSetTotals();
}

void TDBSumListProducer::UnhookDataSetEvents() { ReleaseHandlers(); }

namespace {

// A dataset being destroyed keeps no handlers, and once past its own destructor none of it
// may be touched.
bool IsDying(const TComponent* Component)
{
    return Component->ComponentState().Contains(TComponentStateFlag::csDestroying);
}

}  // namespace

void TDBSumListProducer::ReleaseHandlers()
{
    if (FDataSet == nullptr || !FEventsHooked)
        return;
    if (!IsDying(FDataSet)) {
        for (const auto& Slot : TSumListHandlerEh::DataSetEvents)
            TSumListHandlerEh::GiveBack(FDataSet->*Slot.Event, FLink);
        FDataSet->SetExpectedTotals({});
    }
    if (FMasterDataSet != nullptr) {
        if (!IsDying(FMasterDataSet))
            TSumListHandlerEh::GiveBack(FMasterDataSet->*TSumListHandlerEh::MasterEvent.Event, FLink);
        FWatch->RemoveFreeNotification(FMasterDataSet);
        FMasterDataSet = nullptr;
    }
    FLink->Producer = nullptr;
    FLink.reset();
    FEventsHooked = false;
    FVirtualRecordList.RemoveAll();
}

void TDBSumListProducer::WatchDataSet(TDataSet* Value)
{
    if (FDataSet != nullptr)
        FWatch->RemoveFreeNotification(FDataSet);
    FDataSet = Value;
    if (FDataSet != nullptr)
        FWatch->FreeNotification(FDataSet);
}

void TDBSumListProducer::ComponentFreed(TComponent* Component)
{
    if (Component == FMasterDataSet) {
        // Its handler went with it; the dataset's own stay hooked.
        FMasterDataSet = nullptr;
        return;
    }
    if (Component != FDataSet)
        return;
    ReleaseHandlers();
    FDataSet = nullptr;
    FVirtualRecordList.RemoveAll();
}
