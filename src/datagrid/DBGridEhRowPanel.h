#pragma once
// The switch of the data grid's row panel mode (the grid's RowPanel): each record is drawn as one
// panel in a single grid column, with the data columns laid out on lines inside it. The grid's
// side of the mode lives in DBGridEhRowPanel.cpp (layout, focus, scrolling),
// DBGridEhRowPanelDraw.cpp (painting) and DBGridEhRowPanelMouse.cpp (pressing, sizing, moving).
#include "platform/core/Persistent.h"

class TCustomDBGridEh;

// What the arrow keys move between in row panel mode.
enum class TGridRowPanelNavKeysNavigationTypeEh { rpntRowToRowEh, rpntCellToCellEh };
// Which way Tab walks the panel's cells first.
enum class TGridRowPanelTabNavigationTypeEh { rpntUpToDownPriorityEh, rpntLeftToRightPriorityEh };

class TGridRowPanelEh : public TPersistent {
public:
    explicit TGridRowPanelEh(TCustomDBGridEh* Grid) : FGrid(Grid) {}

    // From another row panel setting: Active only.
    void Assign(TPersistent* Source) override;

    TCustomDBGridEh* Grid() const { return FGrid; }
    // Switches the grid to one grid column for all data columns (or back) and re-lays it out.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TGridRowPanelNavKeysNavigationTypeEh NavKeysNavigationType() const { return FNavKeysNavigationType; }
    void SetNavKeysNavigationType(TGridRowPanelNavKeysNavigationTypeEh Value) { FNavKeysNavigationType = Value; }
    TGridRowPanelTabNavigationTypeEh TabNavigationType() const { return FTabNavigationType; }
    void SetTabNavigationType(TGridRowPanelTabNavigationTypeEh Value) { FTabNavigationType = Value; }

protected:
    const char* ClassName() const override { return "TGridRowPanelEh"; }

private:
    TCustomDBGridEh* FGrid;
    bool FActive = false;
    TGridRowPanelNavKeysNavigationTypeEh FNavKeysNavigationType = TGridRowPanelNavKeysNavigationTypeEh::rpntRowToRowEh;
    TGridRowPanelTabNavigationTypeEh FTabNavigationType = TGridRowPanelTabNavigationTypeEh::rpntUpToDownPriorityEh;
};
