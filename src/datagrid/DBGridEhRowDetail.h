#pragma once
// The row detail panel: a container of controls the grid opens under its current record, and the
// settings that place and frame it. The grid's side (placing, the expand sign, moving between
// records while it is open) lives in DBGridEhRowDetail.cpp.
#include "platform/core/Persistent.h"
#include "platform/ui/ScrollingWinControl.h"

#include <functional>

class TCustomDBGridEh;

// The container under the current record. The grid makes it as its child and owner, under the
// component name "RowDetailData"; Ctrl+Up in a control inside it gives the focus back to the grid.
class TRowDetailPanelControlEh : public TScrollingWinControl {
public:
    explicit TRowDetailPanelControlEh(TCustomDBGridEh* Grid);

protected:
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TRowDetailPanelControlEh"; }

private:
    TCustomDBGridEh* FGrid;
};

// The settings of the grid's row detail panel. A change of a setting that the container shows
// places the container again.
class TRowDetailPanelEh : public TPersistent {
public:
    explicit TRowDetailPanelEh(TCustomDBGridEh* Grid);
    // Copies Active from another panel's settings.
    void Assign(TPersistent* Source) override;

    // Rows carry the expand sign and may open the panel.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // 0: up to the right edge of the data columns.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    // The control that takes the focus when the panel is focused by key; kept, not checked.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Value) { FActiveControl = Value; }
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges Value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // The grid's Color while ParentColor; a colour set here ends ParentColor.
    TColor Color() const;
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);

    // The panel is open under the current record.
    bool Visible() const { return FVisible; }
    // Opens or closes the panel as the grid's events allow, then brings what it needs into view.
    void SwitchVisible(bool Show);

protected:
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TRowDetailPanelEh"; }

private:
    // Asks the grid's show or hide event; opening starts refused without records.
    bool MaySwitchTo(bool Show);
    void Changed();

    TCustomDBGridEh* FGrid;
    bool FActive = false;
    bool FVisible = false;
    int FWidth = 0;
    int FHeight = 120;
    TWinControl* FActiveControl = nullptr;
    TBevelEdges FBevelEdges = beLeft | beTop | beRight | beBottom;
    TBevelCut FBevelInner = TBevelCut::bvRaised;
    TBevelCut FBevelOuter = TBevelCut::bvLowered;
    TBevelKind FBevelKind = TBevelKind::bkNone;
    int FBevelWidth = 1;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    TColor FColor;
    bool FParentColor = false;
};

using TRowDetailPanelCheckEventEh = std::function<void(TObject* Sender, bool& Allowed)>;
