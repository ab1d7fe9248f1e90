#pragma once
// Data-aware helpers: the special row, the field-list routines, the forwarding data link, the
// field value list and the bookmark list.
#include "platform/core/Persistent.h"
#include "platform/core/StringList.h"
#include "platform/core/Variant.h"
#include "platform/data/DataLink.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;
class TField;

// --- Special row --------------------------------------------------------------------------

// The row a lookup list, a column's drop-down box or a lookup grid shows above the data rows,
// with its own cell texts, key value, colour, font and short-cut (a row standing for "no
// value", say). Changes reach the owner through OnChanged, held back inside BeginUpdate.
class TSpecRowEh : public TPersistent {
public:
    // Owner gives the default font (a control's) and colour (a custom control's).
    explicit TSpecRowEh(TPersistent* Owner);
    ~TSpecRowEh() override;

    // From another special row: CellsText, the effective Color (so the copy's colour counts as
    // assigned), Font only when assigned there, ShortCut, ShowIfNotInKeyList, Value, Visible.
    void Assign(TPersistent* Source) override;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // The cell texts as one string: cells separated by ';' or line breaks, a cell in double
    // quotes may hold both (a doubled quote stands for one). A blank after ';' starts the next
    // cell's text.
    const String& CellsText() const { return FCellsText; }
    void SetCellsText(const String& Value);
    int CellCount() const { return static_cast<int>(FCells.size()); }
    // Empty for an Index outside the cells.
    String CellTextAt(int Index) const;

    // The assigned colour, else the default one.
    TColor Color() const;
    void SetColor(TColor Value);
    bool ColorAssigned() const { return FColorAssigned; }
    // The owner's colour when it is a custom control, else the row's own.
    TColor DefaultColor() const;

    // The row's own font when assigned; else it follows InheritedFont, copied in on each read.
    TFont* Font() const;
    void SetFont(TFont* Value);
    bool FontAssigned() const { return FFontAssigned; }
    // The owner's font when it is a control, else the row's own.
    TFont* InheritedFont() const;

    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value) { FShortCut = Value; }
    bool ShowIfNotInKeyList() const { return FShowIfNotInKeyList; }
    void SetShowIfNotInKeyList(bool Value);
    // The key value the row stands for; Null when none.
    const Variant& Value() const { return FValue; }
    void SetValue(const Variant& Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    TNotifyEvent OnChanged;

protected:
    void NotifyChanged();
    TPersistent* GetOwner() override { return FOwner; }
    const char* ClassName() const override { return "TSpecRowEh"; }

private:
    void FontChanged();

    TPersistent* FOwner;
    std::unique_ptr<TFont> FFont;
    std::vector<String> FCells;
    String FCellsText;
    TColor FColor = clWindow;
    bool FColorAssigned = false;
    bool FFontAssigned = false;
    TShortCut FShortCut = scAlt | VK_DELETE;
    bool FShowIfNotInKeyList = true;
    Variant FValue = Variant::Null();
    bool FVisible = false;
    int FUpdateCount = 0;
};

// --- Field lists --------------------------------------------------------------------------

// Appends the fields named in the ';'-separated FieldNames to List (nullptr: only checks the
// names). An unknown name raises EDatabaseError "Field 'X' not found" on behalf of Component,
// the fields before it already appended.
void CollectFieldsByNames(std::vector<TField*>* List, const TDataSet* DataSet, const TComponent* Component,
                          const String& FieldNames);
// The named fields in order; Fields is left as it was when a name is unknown.
void CollectFieldsToArray(const TDataSet* DataSet, const TComponent* Component, const String& FieldNames,
                          std::vector<TField*>& Fields);
// Null clears every named field; otherwise one name takes Value and several take the elements
// 0, 1, ... of the variant array Value. Nothing is written when a name or an element is
// missing (EDatabaseError, EVariantError).
void StoreFieldValues(TDataSet* DataSet, const String& FieldNames, const Variant& Value);

// --- Data links ---------------------------------------------------------------------------

class TDataLinkEh;
using TDataLinkEhDataEvent = std::function<void(TDataLinkEh* Sender, TDataEvent Event, std::intptr_t Info)>;

// A data link that hands every data event, after its own handling, to OnDataEvent.
class TDataLinkEh : public TDataLink {
public:
    TDataLinkEhDataEvent OnDataEvent;

protected:
    void DataEvent(TDataEvent Event, std::intptr_t Info) override;
};

// The values a filter drop-down offers for a column.
class IMemTableDataFieldValueListEh {
public:
    virtual ~IMemTableDataFieldValueListEh() = default;
    virtual TStrings* GetValues() = 0;
    // Dataset filter text the listed records must satisfy besides; empty lists every record.
    virtual void SetFilter(const String& Filter) = 0;
};

// The sorted, distinct texts of one field of a data source's dataset (case ignored, as the
// platform's sorted lists compare). Read again on the first GetValues after the field, the
// source, the data or the field list changed.
class TDatasetFieldValueListEh : public IMemTableDataFieldValueListEh {
public:
    TDatasetFieldValueListEh();
    ~TDatasetFieldValueListEh() override;

    const String& FieldName() const { return FFieldName; }
    void SetFieldName(const String& Value);
    TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(TDataSource* Value);
    // Refilled first when obsolete. While the dataset is being edited the list stays empty
    // and obsolete: reading it would post the edit. The dataset's current record is kept.
    TStrings* GetValues() override;
    // A filter the dataset cannot read (a field it lacks) narrows nothing.
    void SetFilter(const String& Filter) override;
    bool Obsolete() const { return FObsolete; }

private:
    void HandleDataEvent(TDataEvent Event);
    void RefreshValues();

    TStringList FValues;
    String FFieldName;
    String FFilter;
    TDataLinkEh FDataLink;
    bool FObsolete = true;
};

// --- Bookmark list ------------------------------------------------------------------------

class TBMListEh;
// <0, 0, >0 as the entry at Index1 sorts before, with, after the one at Index2.
using TBMListSortCompareEh = std::function<int(TBMListEh* List, int Index1, int Index2)>;

// Bookmarks of a dataset's records kept in the dataset's bookmark order, so a binary search
// answers whether a record is listed; a one-entry cache answers repeated questions for the
// same record (the grid asks for each row it paints) with one comparison. Bookmarks are record
// identities: the list stays right when the dataset is re-sorted, re-opened or loses records.
// Base of the grid's selected rows and the sum list's records.
class TBMListEh {
public:
    TBMListEh();
    TBMListEh(const TBMListEh&) = delete;
    TBMListEh& operator=(const TBMListEh&) = delete;
    // Frees the entries without signalling: a descendant that reacts to the selection empties
    // the list in its own destructor.
    virtual ~TBMListEh();

    virtual TDataSet* GetDataSet() const { return nullptr; }

    // Direct access; InsertAt and AppendBookmark trust the caller to keep the order.
    int ItemCount() const { return static_cast<int>(FItems.size()); }
    const TBookmark& BookmarkAt(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    void InsertAt(int Index, const TBookmark& Bookmark);
    void DeleteAt(int Index);
    void AppendBookmark(const TBookmark& Bookmark);

    // The dataset's CompareBookmarks; raises the closed-dataset error without a dataset.
    int CompareItems(const TBookmark& A, const TBookmark& B);
    // True when listed, Index its position; else Index is where it would go.
    bool FindBookmark(const TBookmark& Bookmark, int& Index);
    // -1 when absent.
    int IndexOfBookmark(const TBookmark& Bookmark);

    // The current record's bookmark; "Cannot perform this operation on a closed dataset"
    // through RaiseListError while the link is not active.
    TBookmark CurrentBookmark();
    bool IsCurrentRowSelected();
    // Lists or unlists the current record. A row without a record (nothing to show, a record
    // being inserted) is never listed.
    virtual void SetCurrentRowSelected(bool Value);

    bool LinkActive() const { return FLinkActive; }
    // Empties the list (RemoveAll, SelectionChanged) and stores Value.
    void SetLinkActive(bool Value);

    // Deletes the listed records from the dataset, last entry first, controls disabled. An
    // entry whose record is gone (or hidden by a filter) is dropped without deleting anything.
    // A failing delete stops the run: the entries done are gone, the others stay.
    void DeleteListedRecords();

    // Empties the list, then SelectionChanged and InvalidateView; nothing for an empty list.
    virtual void RemoveAll();
    // Quicksorts the entries by Compare (see QuickSortEh.h). Until the next selection change
    // the list keeps that order and searches it entry by entry; selecting a record then puts
    // it back into bookmark order.
    virtual void SortWith(const TBMListSortCompareEh& Compare);

protected:
    virtual void InvalidateView() {}
    // Must raise: Exception with Message in the base.
    virtual void RaiseListError(const String& Message);
    // Every change of the entries: the base forgets the search cache.
    virtual void StringsChanged();
    virtual void SelectionChanged() {}

private:
    [[noreturn]] void ListError(const String& Message);
    void Changed();
    // Back into bookmark order after SortWith left another one.
    void RestoreBookmarkOrder();
    // Debug builds: in bookmark order, the entry at Index sorts between its neighbours.
    void AssertOrderAround(int Index);

    std::vector<TBookmark> FItems;
    // False while SortWith's order stands: searches then go entry by entry.
    bool FInBookmarkOrder = true;
    TBookmark FCacheBookmark;
    int FCacheIndex = -1;
    bool FCacheFound = false;
    bool FLinkActive = false;
};
