#pragma once
// The grid centre every data grid shares: through it a grid reaches what depends on the kind of
// its dataset (text search, record moving, filtering, sorting, the find dialog). A handler set
// on the centre runs in place of the default; a default asks the dataset's registered features
// (DbUtilsEh), and with none (as in this program) falls back to the grid's own record scan, and
// to nothing for moving, filtering and sorting. Also the registration that ties a grid to the shared style and centre.
#include "datagrid/DBGridEhColumns.h"
#include "datagrid/DBGridEhSearch.h"
#include "datagrid/DbUtilsEh.h"
#include "platform/data/DataTypes.h"
#include "platform/ui/Menus.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class TBMListEh;
class TColumnEh;
class TCustomDBGridEh;
class TPopupMenu;

// The indicator-title menu's items the centre offers (bit N of its MenuItems).
enum class TDBGridEhMenuItemEh : std::uint8_t { gmiColumnsEh, gmiCutEh, gmiCopyEh, gmiPasteEh, gmiDeleteEh, gmiSelectAllEh };

// An item of the indicator-title menu acting on Grid: the columns submenu (gmiColumnsEh) or one
// of the edit commands, which a click runs when the grid can.
class TDBGridEhMenuItem : public TMenuItem {
public:
    TDBGridEhMenuItem(TComponent* AOwner, TCustomDBGridEh* Grid, TDBGridEhMenuItemEh Action);
    TCustomDBGridEh* Grid() const { return FGrid; }
    TDBGridEhMenuItemEh Action() const { return FAction; }
    void Click() override;

private:
    TCustomDBGridEh* FGrid;
    TDBGridEhMenuItemEh FAction;
};

// An item of the columns submenu: checked while its column shows; a click shows or hides it,
// but never hides the last shown column.
class TColumnEhMenuItem : public TMenuItem {
public:
    TColumnEhMenuItem(TComponent* AOwner, TColumnEh* Column);
    TColumnEh* Column() const { return FColumn; }
    void Click() override;

private:
    TColumnEh* FColumn;
};

// Shows the find dialog for Grid; set by the find dialog's unit.
using TShowFindDialogEh = std::function<void(TCustomDBGridEh* Grid, const String& Text, bool Modal)>;
TShowFindDialogEh& ShowFindDialog();

// The program-wide indicator-title popup menu "DBGridEhIndicatorTitlePopupMenu", made on first
// use and freed when the grid unit shuts down.
TPopupMenu* DBGridEhIndicatorTitlePopupMenu();
void FreeDBGridEhIndicatorTitlePopupMenu();

class TDBGridEhCenter {
public:
    using TLocateTextEvent =
        std::function<bool(TDBGridEhCenter* Sender, TCustomDBGridEh* Grid, const String& FieldName, const String& Text,
                           TLocateTextTreeFindRangeEh TreeFindRange, TLocateTextMatchTypeEh Matching,
                           TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options)>;
    using TGridEvent = std::function<void(TDBGridEhCenter* Sender, TCustomDBGridEh* Grid)>;
    using TBuildMenuEvent = std::function<void(TDBGridEhCenter* Sender, TCustomDBGridEh* Grid, TPopupMenu*& Menu)>;
    using TCellMouseClickEvent = std::function<void(TDBGridEhCenter* Sender, TCustomDBGridEh* Grid, TGridCoord Cell,
                                                    TMouseButton Button, TShiftState Shift, int X, int Y)>;

    TDBGridEhCenter();
    // Every grid that uses the centre loses it.
    virtual ~TDBGridEhCenter();
    TDBGridEhCenter(const TDBGridEhCenter&) = delete;
    TDBGridEhCenter& operator=(const TDBGridEhCenter&) = delete;

    void RegisterGrid(TCustomDBGridEh* Grid);
    void UnregisterGrid(TCustomDBGridEh* Grid);
    bool IsGridRegistered(const TCustomDBGridEh* Grid) const;

    // --- Settings --------------------------------------------------------------------------
    bool HasMenuItem(TDBGridEhMenuItemEh Item) const { return (FMenuItems >> static_cast<unsigned>(Item) & 1u) != 0; }
    void SetMenuItem(TDBGridEhMenuItemEh Item, bool Offered);
    // When the filter row applies a changed condition; 0 at creation.
    std::uint8_t FilterEditApplyOnChange() const { return FApplyOnChange; }
    void SetFilterEditApplyOnChange(std::uint8_t Value) { FApplyOnChange = Value; }
    // Text exports write the data text of numeric fields.
    bool UseExtendedNumericDataText() const { return FNumericDataText; }
    void SetUseExtendedNumericDataText(bool Value) { FNumericDataText = Value; }
    // The operator a bare value takes, by value kind; unknown and text share one.
    TSTFilterDefaultOperatorEh FilterDefaultOperator(TSTFilterValueKindEh Kind) const;
    void SetFilterDefaultOperator(TSTFilterValueKindEh Kind, TSTFilterDefaultOperatorEh Value);
    // A grid over a memory table scrolls rows with the wheel and the vertical bar.
    bool RowScrolling() const { return FRowScrolling; }
    void SetRowScrolling(bool Value) { FRowScrolling = Value; }

    // --- Handlers (none in this program) ---------------------------------------------------
    TLocateTextEvent OnLocateText;
    TGridEvent OnApplyFilter;
    TGridEvent OnApplySorting;
    TBuildMenuEvent OnBuildIndicatorTitleMenu;
    TCellMouseClickEvent OnCellMouseClick;

    // OnBuildIndicatorTitleMenu when set, else DefaultBuildIndicatorTitleMenu.
    void BuildIndicatorTitleMenu(TCustomDBGridEh* Grid, TPopupMenu*& Menu);

    // --- The dispatching operations, in the order descendants replace them ------------------
    // The dataset's registered features, else the record scan FindTextInGrid.
    virtual bool DefaultLocateText(TCustomDBGridEh* Grid, const String& FieldName, const String& Text,
                                   TLocateTextTreeFindRangeEh TreeFindRange, TLocateTextMatchTypeEh Matching,
                                   TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options);
    // The dataset's registered features, else false.
    virtual bool DefaultMoveRecords(TCustomDBGridEh* Grid, TBMListEh* BookmarkList, int& ToRecNo, int TreeLevel,
                                    bool CheckOnly);
    // OnLocateText when set, else DefaultLocateText.
    virtual bool LocateText(TCustomDBGridEh* Grid, const String& FieldName, const String& Text,
                            TLocateTextTreeFindRangeEh TreeFindRange, TLocateTextMatchTypeEh Matching,
                            TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options);
    virtual bool MoveRecords(TCustomDBGridEh* Grid, TBMListEh* BookmarkList, int& ToRecNo, int TreeLevel,
                             bool CheckOnly);
    // OnApplyFilter / OnApplySorting when set, else their defaults.
    virtual void ApplyFilter(TCustomDBGridEh* Grid);
    virtual void ApplySorting(TCustomDBGridEh* Grid);
    // The unit-wide find dialog, when one is set.
    virtual void OpenFindDialog(TCustomDBGridEh* Grid, const String& Text, bool Modal, const String& FieldName);
    // The default operator of Expr's value kind.
    virtual TSTFilterDefaultOperatorEh DefaultFilterOperator(TCustomDBGridEh* Grid, TColumnEh* Column,
                                                             const TSTFilterExpressionEh& Expr);
    // The dataset's registered features, else nothing.
    virtual void DefaultApplyFilter(TCustomDBGridEh* Grid);
    virtual void DefaultApplySorting(TCustomDBGridEh* Grid);
    // The program-wide menu emptied and filled with the offered items: "错误的列", a submenu of
    // the columns with a title caption (checked while shown; the last shown one stays), then
    // "剪贴", "复制", "粘贴", "删除" and "全选", each enabled as the grid can run it now.
    virtual void DefaultBuildIndicatorTitleMenu(TCustomDBGridEh* Grid, TPopupMenu*& Menu);
    // The centre's columns submenu and edit commands, as its item set offers them.
    void AddGlobalItems(TCustomDBGridEh* Grid, TPopupMenu* Menu);

    // A click on a cell of Grid (X, Y within the cell): OnCellMouseClick when set, else
    // DefaultCellMouseClick, which does nothing.
    void CellMouseClick(TCustomDBGridEh* Grid, TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DefaultCellMouseClick(TCustomDBGridEh* Grid, TGridCoord Cell, TMouseButton Button, TShiftState Shift,
                                       int X, int Y);
    // A press on Grid's indicator title: DefaultIndicatorTitleMouseDown, which hands it to the
    // grid's own handling.
    virtual void IndicatorTitleMouseDown(TCustomDBGridEh* Grid, TGridCoord Cell, int X, int Y, TShiftState Shift,
                                         TMouseButton Button);
    virtual void DefaultIndicatorTitleMouseDown(TCustomDBGridEh* Grid, TGridCoord Cell, int X, int Y,
                                                TShiftState Shift, TMouseButton Button);

    // The filter drop-down (DBGridEhFilterItems.cpp): with dghAutoSortMarking and the column's
    // TitleButton the two sort items and a line; then the commands, "(Apply filter)" only
    // without InstantApply.
    virtual void FillFilterSpecialItems(TCustomDBGridEh* Grid, TColumnEh* Column, TStrings* Items);
    // The registered features' values, else DefaultFillFilterValueList.
    virtual void FillFilterValueList(TCustomDBGridEh* Grid, TColumnEh* Column, TStrings* Items);
    // The column's distinct values, pick-list texts in place of their keys.
    virtual void DefaultFillFilterValueList(TCustomDBGridEh* Grid, TColumnEh* Column, TStrings* Items);
    // Fills a filter drop-down after the grid's and the column's handlers.
    TFillSTFilterListValuesEventEh OnFillSTFilterListValues;

private:
    std::vector<TCustomDBGridEh*> FGrids;
    std::uint8_t FMenuItems = 0x3F;
    std::uint8_t FApplyOnChange = 0;
    bool FNumericDataText = false;
    std::array<TSTFilterDefaultOperatorEh, 4> FDefaultOperators{};
    bool FRowScrolling = true;
};
