// The grid's scroll-bar settings and the attachment of external scroll bars.
#include "datagrid/DBGridEhScrollBars.h"

#include "datagrid/DBGridEh.h"

#include <algorithm>
#include <map>

namespace {

// Which settings object drives each attached external bar: a bar serves one grid at a time.
std::map<TScrollBar*, TDBGridEhScrollBar*>& AttachedBars()
{
    static std::map<TScrollBar*, TDBGridEhScrollBar*> bars;
    return bars;
}

} // namespace

// Told when the external bar is freed, so no pointer to it outlives it.
class TDBGridEhScrollBar::TExtBarWatcher : public TComponent {
public:
    explicit TExtBarWatcher(TDBGridEhScrollBar* Owner) : TComponent(nullptr), FOwner(Owner) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove && AComponent == FOwner->FExtScrollBar)
            FOwner->ExtBarFreed();
    }
    const char* ClassName() const override { return "TExtBarWatcher"; }

private:
    TDBGridEhScrollBar* FOwner;
};

TDBGridEhScrollBar::TDBGridEhScrollBar(TCustomDBGridEh* Grid, int Kind, bool SmoothStep)
    : FGrid(Grid), FKind(Kind), FSmoothStep(SmoothStep), FWatcher(std::make_unique<TExtBarWatcher>(this))
{
}

TDBGridEhScrollBar::~TDBGridEhScrollBar() { DetachExtBar(); }

void TDBGridEhScrollBar::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TDBGridEhScrollBar*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetVisible(source->Visible());
    SetTracking(source->Tracking());
    SetExtScrollBar(source->ExtScrollBar());
}

void TDBGridEhScrollBar::SetVisibleMode(TScrollBarVisibleModeEh Value)
{
    if (Value == FVisibleMode)
        return;
    FVisibleMode = Value;
    FGrid->ScrollBarSettingsChanged(FKind);
}

void TDBGridEhScrollBar::SetVisible(bool Value)
{
    SetVisibleMode(Value ? TScrollBarVisibleModeEh::sbAutoShowEh : TScrollBarVisibleModeEh::sbNeverShowEh);
    if (FExtScrollBar != nullptr)
        FExtScrollBar->SetVisible(Visible());
}

void TDBGridEhScrollBar::SetSmoothStep(bool Value)
{
    if (Value == FSmoothStep)
        return;
    FSmoothStep = Value;
    SmoothStepChanged();
}

bool TDBGridEhScrollBar::GridDesigning() const
{
    return FGrid->ComponentState().Contains(TComponentStateFlag::csDesigning);
}

void TDBGridEhScrollBar::SetExtScrollBar(TScrollBar* Value)
{
    if (Value == FExtScrollBar)
        return;
    if (Value != nullptr && !GridDesigning()) {
        const auto found = AttachedBars().find(Value);
        if (found != AttachedBars().end() && found->second != this)
            throw Exception(QStringLiteral("Possible ") + Value->Name() +
                            QStringLiteral(" already attached to the other control."));
    }
    DetachExtBar();
    if (Value != nullptr)
        AttachExtBar(Value);
    if (FGrid->ComponentState().Contains(TComponentStateFlag::csDestroying))
        return;
    FGrid->ScrollBarSettingsChanged(FKind);
}

void TDBGridEhScrollBar::AttachExtBar(TScrollBar* Bar)
{
    FExtScrollBar = Bar;
    Bar->FreeNotification(FWatcher.get());
    if (!GridDesigning()) {
        AttachedBars()[Bar] = this;
        FExtBarOwnScroll = Bar->OnScroll;
        Bar->OnScroll = [this](TObject* Sender, TScrollCode Code, int& Pos) {
            ExtBarScrolled(Code, Pos);
            if (FExtBarOwnScroll)
                FExtBarOwnScroll(Sender, Code, Pos);
        };
    }
    Bar->SetVisible(Visible());
}

void TDBGridEhScrollBar::DetachExtBar()
{
    if (FExtScrollBar == nullptr)
        return;
    TScrollBar* bar = FExtScrollBar;
    const auto found = AttachedBars().find(bar);
    if (found != AttachedBars().end() && found->second == this) {
        AttachedBars().erase(found);
        bar->OnScroll = std::move(FExtBarOwnScroll);
    }
    FExtBarOwnScroll = nullptr;
    bar->RemoveFreeNotification(FWatcher.get());
    FExtScrollBar = nullptr;
}

void TDBGridEhScrollBar::ExtBarFreed()
{
    AttachedBars().erase(FExtScrollBar);
    FExtBarOwnScroll = nullptr;
    FExtScrollBar = nullptr;
}

void TDBGridEhScrollBar::ExtBarScrolled(TScrollCode Code, int Pos)
{
    // The scroll codes of TScrollBar are the platform's SB_ codes in the same order.
    FGrid->Perform(FKind == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(static_cast<int>(Code), Pos), 0);
}

bool TDBGridEhScrollBar::ShouldShowBar(int Min, int Max, int Page) const
{
    switch (FVisibleMode) {
    case TScrollBarVisibleModeEh::sbAlwaysShowEh: return true;
    case TScrollBarVisibleModeEh::sbNeverShowEh: return false;
    case TScrollBarVisibleModeEh::sbAutoShowEh: break;
    }
    // Positions Min .. Max make Max - Min + 1 steps; a page holding all of them needs no bar.
    return Min < Max && Page <= Max - Min;
}

bool TDBGridEhScrollBar::IsBarShown() const
{
    if (FExtScrollBar != nullptr)
        return FExtScrollBar->Visible();
    return Visible() && FGrid->HandleAllocated() && FGrid->ScrollBarShown(FKind);
}

bool TDBGridEhScrollBar::QueryScrollInfo(TScrollInfo& Info) const
{
    if (FExtScrollBar != nullptr) {
        Info.nMin = FExtScrollBar->Min();
        Info.nMax = FExtScrollBar->Max();
        Info.nPage = static_cast<unsigned>(FExtScrollBar->PageSize());
        Info.nPos = FExtScrollBar->Position();
        Info.nTrackPos = FExtScrollBar->Position();
        return true;
    }
    return FGrid->GetScrollInfo(FKind, Info);
}

THorzDBGridEhScrollBar::THorzDBGridEhScrollBar(TCustomDBGridEh* Grid) : TDBGridEhScrollBar(Grid, SB_HORZ, true) {}

void THorzDBGridEhScrollBar::SmoothStepChanged() { Grid()->SmoothStepChanged(SB_HORZ); }

TVertDBGridEhScrollBar::TVertDBGridEhScrollBar(TCustomDBGridEh* Grid) : TDBGridEhScrollBar(Grid, SB_VERT, false) {}

void TVertDBGridEhScrollBar::SmoothStepChanged() { Grid()->SmoothStepChanged(SB_VERT); }

// --- The grid's side ----------------------------------------------------------------------------

void TCustomDBGridEh::SetHorzScrollBar(TDBGridEhScrollBar* Value) { FHorzScrollBar->Assign(Value); }

void TCustomDBGridEh::SetVertScrollBar(TDBGridEhScrollBar* Value) { FVertScrollBar->Assign(Value); }

void TCustomDBGridEh::ScrollBarSettingsChanged(int Kind)
{
    if (!HandleAllocated())
        return;
    if (Kind == SB_VERT) {
        // The same range may have to show differently now.
        FVertScrollInfoSet = false;
        UpdateVertScrollBar();
    }
    NotifyLayoutChanged();
}

void TCustomDBGridEh::ShowVertScrollInfo(const TScrollInfo& Info)
{
    TScrollInfo shown = Info;
    if (TScrollBar* bar = FVertScrollBar->ExtScrollBar()) {
        // The external bar scrolls instead of the window's own, which stays hidden.
        bar->SetPageSize(0);
        bar->SetParams(Info.nPos, Info.nMin, std::max(Info.nMin, Info.nMax - std::max(0, int(Info.nPage) - 1)));
        shown.nMax = shown.nMin;
    } else if (FVertScrollBar->VisibleMode() == TScrollBarVisibleModeEh::sbNeverShowEh) {
        shown.nMax = shown.nMin;
    } else if (FVertScrollBar->VisibleMode() == TScrollBarVisibleModeEh::sbAlwaysShowEh) {
        shown.fMask |= SIF_DISABLENOSCROLL;
    }
    SetScrollInfo(SB_VERT, shown);
}

void TCustomDBGridEh::SmoothStepChanged(int Kind)
{
    // An axis that no longer scrolls by pixels starts at a whole cell again.
    const bool horz = Kind == SB_HORZ;
    if (horz ? !IsHorzPixelScroll() && HorzPixelOffset() != 0 : !IsVertPixelScroll() && VertPixelOffset() != 0)
        PlaceTopLeft({LeftCol(), TopRow()}, horz ? 0 : HorzPixelOffset(), horz ? VertPixelOffset() : 0);
    if (Kind == SB_HORZ)
        RecomputeColExtents();
    else
        RecomputeRowExtents();
    RefreshScrollBars();
    if (Kind == SB_VERT && HandleAllocated())
        NotifyLayoutChanged();
}
