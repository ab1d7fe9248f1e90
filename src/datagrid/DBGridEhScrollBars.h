#pragma once
// The data grid's two scroll-bar settings objects (HorzScrollBar, VertScrollBar): when a bar
// shows, whether dragging the thumb scrolls at once, whether scrolling goes by pixels, and an
// external TScrollBar that can take over the scrolling of the grid's own bar.
#include "platform/core/Component.h"
#include "platform/core/Persistent.h"
#include "platform/ui/Messages.h"
#include "platform/ui/ScrollBar.h"

#include <memory>

class TCustomDBGridEh;

enum class TScrollBarVisibleModeEh { sbAlwaysShowEh, sbNeverShowEh, sbAutoShowEh };

class TDBGridEhScrollBar : public TPersistent {
public:
    // Kind is SB_HORZ or SB_VERT.
    TDBGridEhScrollBar(TCustomDBGridEh* Grid, int Kind, bool SmoothStep);
    // Gives an attached external bar its own scrolling back.
    ~TDBGridEhScrollBar() override;
    TDBGridEhScrollBar(const TDBGridEhScrollBar&) = delete;
    TDBGridEhScrollBar& operator=(const TDBGridEhScrollBar&) = delete;

    // From another settings object: Visible, Tracking and ExtScrollBar (not SmoothStep).
    void Assign(TPersistent* Source) override;

    TCustomDBGridEh* Grid() const { return FGrid; }
    int Kind() const { return FKind; }
    TScrollBarVisibleModeEh VisibleMode() const { return FVisibleMode; }
    void SetVisibleMode(TScrollBarVisibleModeEh Value);
    // True unless sbNeverShowEh; True gives sbAutoShowEh. An external bar follows.
    bool Visible() const { return FVisibleMode != TScrollBarVisibleModeEh::sbNeverShowEh; }
    void SetVisible(bool Value);
    // The thumb moves the view while it is dragged.
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value) { FTracking = Value; }
    // Scrolling by pixels instead of whole rows or columns.
    bool SmoothStep() const { return FSmoothStep; }
    void SetSmoothStep(bool Value);
    TScrollBar* ExtScrollBar() const { return FExtScrollBar; }
    // Outside design time a bar already attached to another grid raises
    // "Possible <Name> already attached to the other control.".
    void SetExtScrollBar(TScrollBar* Value);

    // Whether a bar with this range (Min .. Max) and page should show.
    bool ShouldShowBar(int Min, int Max, int Page) const;
    bool IsBarShown() const;
    // The external bar's information, else that of the grid window's own bar of this kind.
    bool QueryScrollInfo(TScrollInfo& Info) const;

protected:
    virtual void SmoothStepChanged() = 0;
    const char* ClassName() const override { return "TDBGridEhScrollBar"; }

private:
    class TExtBarWatcher;

    void AttachExtBar(TScrollBar* Bar);
    void DetachExtBar();
    void ExtBarFreed();
    void ExtBarScrolled(TScrollCode Code, int Pos);
    bool GridDesigning() const;

    TCustomDBGridEh* FGrid;
    int FKind;
    TScrollBarVisibleModeEh FVisibleMode = TScrollBarVisibleModeEh::sbAutoShowEh;
    bool FTracking = true;
    bool FSmoothStep;
    TScrollBar* FExtScrollBar = nullptr;
    // The bar's own scroll handler, run after the grid has scrolled.
    TScrollEvent FExtBarOwnScroll;
    std::unique_ptr<TExtBarWatcher> FWatcher;
};

class THorzDBGridEhScrollBar : public TDBGridEhScrollBar {
public:
    explicit THorzDBGridEhScrollBar(TCustomDBGridEh* Grid);

protected:
    // The horizontal extents are recomputed and the bars updated.
    void SmoothStepChanged() override;
    const char* ClassName() const override { return "THorzDBGridEhScrollBar"; }
};

class TVertDBGridEhScrollBar : public TDBGridEhScrollBar {
public:
    explicit TVertDBGridEhScrollBar(TCustomDBGridEh* Grid);

protected:
    // The vertical extents are recomputed, the bars updated and the layout redone.
    void SmoothStepChanged() override;
    const char* ClassName() const override { return "TVertDBGridEhScrollBar"; }
};
