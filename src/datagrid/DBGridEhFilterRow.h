#pragma once
// The filter row: the grid-wide filter settings, the filter cell's editor, the items of the
// filter drop-down (line, sort, commands, values with check boxes) and the custom filter
// dialog's hook.
#include "controls/ToolCtrlsEhPopups.h"
#include "editors/DBCtrlsEhComboBox.h"
#include "platform/core/Persistent.h"

#include <functional>
#include <optional>

class TColumnEh;
class TCustomDBGridEh;

// --- Grid-wide settings -------------------------------------------------------------------------

// Where the filter cells are: a row under the titles, or lists dropped down from the titles.
enum class TSTFilterLocationEh : std::uint8_t { stflUnderTitleFilterEh, stflInTitleFilterEh };

// The grid's STFilter.
class TSTDBGridEhFilter : public TPersistent {
public:
    explicit TSTDBGridEhFilter(TCustomDBGridEh* Grid) : FGrid(Grid) {}
    // Visible and Local.
    void Assign(TPersistent* Source) override;

    // Each choice in a drop-down applies the filter row; reads as Local until assigned.
    bool InstantApply() const { return FInstantApply.value_or(FLocal); }
    void SetInstantApply(bool Value) { FInstantApply = Value; }
    bool IsInstantApplyStored() const { return FInstantApply.has_value(); }
    bool Local() const { return FLocal; }
    void SetLocal(bool Value) { FLocal = Value; }
    // A change re-lays the grid.
    TSTFilterLocationEh Location() const { return FLocation; }
    void SetLocation(TSTFilterLocationEh Value);
    // Hiding deactivates the filter row; a change re-lays the grid.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // While updating the filter editor is neither placed nor hidden.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() { --FUpdateCount; }
    bool Updating() const { return FUpdateCount > 0; }

protected:
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TSTDBGridEhFilter"; }

private:
    TCustomDBGridEh* FGrid;
    std::optional<bool> FInstantApply;
    bool FLocal = false;
    TSTFilterLocationEh FLocation = TSTFilterLocationEh::stflUnderTitleFilterEh;
    bool FVisible = false;
    int FUpdateCount = 0;
};

// --- The filter cell's editor -------------------------------------------------------------------

// The combo box the grid opens over a filter cell; the grid hosts it and sees its keys first.
class TInplaceFilterEditEh : public TCustomDBComboBoxEh {
public:
    explicit TInplaceFilterEditEh(TCustomDBGridEh* Grid);

    TColumnEh* Column() const { return FColumn; }
    void SetColumn(TColumnEh* Value) { FColumn = Value; }
    // The key value first, then the text shown for it.
    void SetKeyDisplayText(const Variant& Value, const String& Text);

    // A value item being performed keeps the list open.
    void CloseDropDown(bool Accept) override;

protected:
    // The list holds commands and values, never the condition: its line stays where the user
    // put it when a chosen value writes the condition.
    bool OpenListFollowsText() const override { return false; }
    TRect ComputeTextRect(const TRect& Client) override;
    const char* ClassName() const override { return "TInplaceFilterEditEh"; }

private:
    TColumnEh* FColumn = nullptr;
};

// --- The drop-down's items ----------------------------------------------------------------------

// The base of the filter drop-down's items: finds the column the list belongs to.
class TDBGridFilterPopupListboxItemEh : public TPopupListboxItemEh {
public:
    // The grid's title-filter column when the list is the grid's, else the column of the
    // filter editor that owns the list.
    static TColumnEh* ListColumn(TPopupListboxEh* ListBox);
};

// A horizontal separator line.
class TPopupListboxItemEhLine : public TDBGridFilterPopupListboxItemEh {
public:
    bool DrawsFocusRect(TPopupListboxEh* ListBox, int Index) override;
    void PaintItem(TPopupListboxEh* ListBox, int Index, TOwnerDrawState State, const TRect& Rect) override;
    bool ClosesListOnSelect(TPopupListboxEh* ListBox, int Index) override;
    void Execute(TPopupListboxEh* ListBox, int Index) override;
};

// Sorts the column down (marker 1) or up (marker 2).
class TPopupListboxItemEhSort : public TDBGridFilterPopupListboxItemEh {
public:
    explicit TPopupListboxItemEhSort(int Marker) : FMarker(Marker) {}
    bool DrawsFocusRect(TPopupListboxEh* ListBox, int Index) override;
    void PaintItem(TPopupListboxEh* ListBox, int Index, TOwnerDrawState State, const TRect& Rect) override;
    void Execute(TPopupListboxEh* ListBox, int Index) override;

private:
    int FMarker;
};

// The commands of the drop-down, by type.
enum class TFilterCommandEh : std::uint8_t {
    fcmClearAllEh,   // "(取消过滤)"
    fcmAllEh,        // "(全部)"
    fcmEmptyEh,      // "(空)"
    fcmNotEmptyEh,   // "(非空)"
    fcmCustomEh,     // "(Custom...)"
    fcmApplyEh       // "(Apply filter)"
};
String FilterCommandCaption(TFilterCommandEh Command);

class TPopupListboxItemEhSpec : public TDBGridFilterPopupListboxItemEh {
public:
    explicit TPopupListboxItemEhSpec(TFilterCommandEh Command) : FCommand(Command) {}
    TFilterCommandEh Command() const { return FCommand; }
    bool DrawsFocusRect(TPopupListboxEh* ListBox, int Index) override;
    void PaintItem(TPopupListboxEh* ListBox, int Index, TOwnerDrawState State, const TRect& Rect) override;
    void Execute(TPopupListboxEh* ListBox, int Index) override;

private:
    TFilterCommandEh FCommand;
};

// A distinct value of the column with a check box: a click toggles it among the others, Enter
// or a plain choice leaves it the only one.
class TPopupListboxItemEhData : public TDBGridFilterPopupListboxItemEh {
public:
    bool DrawsFocusRect(TPopupListboxEh* ListBox, int Index) override;
    void PaintItem(TPopupListboxEh* ListBox, int Index, TOwnerDrawState State, const TRect& Rect) override;
    void ItemMouseDown(TPopupListboxEh* ListBox, int Index, TMouseButton Button, TShiftState Shift,
                       TPoint Point) override;
    void ItemMouseMove(TPopupListboxEh* ListBox, int Index, TShiftState Shift, TPoint Point) override;
    void ItemMouseUp(TPopupListboxEh* ListBox, int Index, bool& CloseList, TMouseButton Button, TShiftState Shift,
                     TPoint Point) override;
    bool ClosesListOnSelect(TPopupListboxEh* ListBox, int Index) override;
    void Execute(TPopupListboxEh* ListBox, int Index) override;
};

// The one shared instance of each item, made with the grid unit and freed with it.
TPopupListboxItemEhLine* FilterLineItem();
TPopupListboxItemEhSort* FilterSortItem(int Marker);
TPopupListboxItemEhSpec* FilterCommandItem(TFilterCommandEh Command);
TPopupListboxItemEhData* FilterValueItem();
void MakeFilterPopupItems();
void FreeFilterPopupItems();

// Shows the custom filter dialog for Column; true when closed with OK. Set by the dialog's
// unit; empty until then, when "(Custom...)" does nothing.
using TShowSimpleFilterDialogEh = std::function<bool(TColumnEh* Column)>;
TShowSimpleFilterDialogEh& ShowSimpleFilterDialog();
