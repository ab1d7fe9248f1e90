#pragma once
// TDataSet: records of a record source seen through fields, one current record at a time, with
// the state machine, navigation and data events the data-aware controls follow.
//
// The record window: the dataset keeps the values of a run of consecutive records around the
// current one, as many as the largest BufferCount of its data links. A link reads any record of
// the window by switching the active record (no events, no move); the window is refilled when
// the current record leaves it. Only the window's and the current record's values are read from
// the cursor, so a source need not hold its rows in memory.
//
// Data events reach the links synchronously, in the platform's order; see DataLink.h.
#include "platform/core/Component.h"
#include "platform/data/DataTypes.h"
#include "platform/data/FieldDefs.h"
#include "platform/data/RecordCursor.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TDataSet;
class TDataSource;
class TField;
class TFields;
class TFilterExpression;
// The grid library's in-memory table interface; no dataset here offers it.
class IMemTableEh;

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;
using TFilterRecordEvent = std::function<void(TDataSet* DataSet, bool& Accept)>;

class TDataSet : public TComponent {
public:
    explicit TDataSet(TComponent* AOwner);
    ~TDataSet() override;

    // --- Opening and state --------------------------------------------------------------
    bool Active() const { return FState != TDataSetState::dsInactive && FState != TDataSetState::dsOpening; }
    void SetActive(bool Value);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return FState; }
    // A field was set since the last Edit, Insert or Append.
    bool Modified() const { return FModified; }
    virtual bool CanModify() const;
    // True when RecordCount and RecNo are exact (every record source here counts its records).
    virtual bool IsSequenced() const { return true; }
    // The master of a detail dataset; none here.
    virtual TDataSource* MasterSource() const { return nullptr; }
    virtual IMemTableEh* MemTableInterface() { return nullptr; }

    // --- Records and navigation ---------------------------------------------------------
    bool IsEmpty() const { return FBuffers.empty(); }
    // Set by an attempt to move before the first / past the last record; both when empty.
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }
    // Records of the source (after filtering), not counting one being inserted.
    int RecordCount() const;
    // 1-based number of the active record; -1 for a record being inserted or without records.
    int RecNo() const;
    void SetRecNo(int Value);
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Answers the distance actually moved.
    int MoveBy(int Distance);
    // Re-reads the window's records from the source.
    void Refresh();

    // --- Editing --------------------------------------------------------------------------
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // Appends a record with the values in field order (Unassigned leaves a field as it is).
    void AppendRecord(const std::vector<Variant>& Values);
    // Posts a modified record, cancels an unmodified one; called before every move.
    void CheckBrowseMode();
    // Asks the links to store what their controls hold (UpdateData).
    void UpdateRecord();

    // --- Controls -------------------------------------------------------------------------
    // Nesting: no data events while disabled; the last enable sends one DataSetChanged.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    // --- Bookmarks, searching -------------------------------------------------------------
    // The identity of the active record (of the record being read, see BeginRecordRead);
    // empty without one.
    TBookmark Bookmark() const;
    // Makes the bookmarked record current; raises EDatabaseError "Record not found".
    void SetBookmark(const TBookmark& Value);
    // Orders by record identity, not position: <0, 0, >0. An empty bookmark sorts first.
    int CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const;
    bool BookmarkValid(const TBookmark& Value) const;
    // KeyFields is a ";"-separated list; KeyValues one value or a variant array of as many.
    bool Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options);
    // The ResultFields values (an array for several) of the first matching record, without
    // moving; Null when none matches.
    Variant Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields);

    // --- Filtering and order --------------------------------------------------------------
    // Filter text: comparisons "Field = 'value'" (=, <>, <, >, <=, >=, like with % and _,
    // is [not] null), joined by and / or, negated by not, grouped by parentheses (see
    // FilterExpression.h). Applies while Filtered.
    const String& Filter() const { return FFilter; }
    void SetFilter(const String& Value);
    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool Value);
    // Client-side order "Field [ASC|DESC], ..."; empty restores the source's order.
    const String& Sort() const { return FSort; }
    void SetSort(const String& Value);

    // --- Totals ---------------------------------------------------------------------------
    // The totals of the data fields Fields over every record, in one pass of the source without
    // visiting the records; nullopt when only visiting them can tell: while editing or
    // filtered, for fields of another kind, or when the source cannot (see TRecordCursor).
    std::optional<std::vector<TFieldTotal>> FieldTotals(const std::vector<const TField*>& Fields) const;
    // The names of the fields whose totals will be asked for as the records open (a footer's
    // sums): a source that counts its records as it opens totals them in the same pass. A name
    // the records lack is passed over.
    const QStringList& ExpectedTotals() const { return FExpectedTotals; }
    void SetExpectedTotals(const QStringList& FieldNames) { FExpectedTotals = FieldNames; }

    // --- Fields ---------------------------------------------------------------------------
    TFields* Fields() const { return FFields.get(); }
    int FieldCount() const;
    TField* FindField(const String& FieldName) const;
    // Raises EDatabaseError "Field 'X' not found".
    TField* FieldByName(const String& FieldName) const;
    TFieldDefs* FieldDefs() { return &FFieldDefs; }
    // The fields were created at open (and are freed at close).
    bool DefaultFields() const { return FDefaultFields; }

    // --- Events (chainable: replace and call the previous handler) ------------------------
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent OnNewRecord;
    TFilterRecordEvent OnFilterRecord;

    // Sends an event to the data sources and their links (see DataLink.h for Info).
    void DataEvent(TDataEvent Event, std::intptr_t Info);

protected:
    // The record source of an opening dataset; raising aborts the open.
    virtual std::unique_ptr<TRecordCursor> CreateCursor() = 0;
    const char* ClassName() const override { return "TDataSet"; }
    void CheckActive() const;
    void CheckInactive() const;
    TRecordCursor* Cursor() const { return FCursor.get(); }
    // The cursor id of a bookmark's record; False for a bookmark of no record.
    static bool RecordIdOfBookmark(const TBookmark& Bookmark, TRecordId& Id);
    // Fields read the record at visible position ViewIndex (0-based) until the matching
    // EndRecordRead, without events or a move: how a memory table lets a viewer read any
    // record; Bookmark answers that record meanwhile. Nests; a position outside the records
    // leaves the fields and the bookmark as they were.
    void BeginRecordRead(int ViewIndex);
    void EndRecordRead();

private:
    friend class TField;
    friend class TDataSource;
    friend class TDataLink;

    // One record of the window: its id and position in the visible order, and its values. A
    // record not yet posted is Inserted; its Position is that of the record it goes before
    // (ViewCount() when appended), which may have left the window.
    struct TRecordBuffer {
        TRecordId Id = 0;
        int Position = -1;
        bool Inserted = false;
        TRecordValues Values;
    };

    class TTempRecord;

    void OpenCursor();
    void CloseCursor();
    void CreateFields();
    void BindFields();
    void DestroyFields();
    void SetState(TDataSetState Value);
    void NotifySources(TDataEvent Event, std::intptr_t Info);
    void CheckEditing() const;
    void CheckCanModify() const;
    void CheckRequiredFields();
    // Writes the record being edited to the cursor; answers its id.
    TRecordId InternalPost();
    void BeginInsertAppend();
    void EndInsertAppend();
    TRecordBuffer NewBuffer(int Before) const;
    // Drops the record being inserted and refills around the one it displaced.
    void DiscardInsert();
    void DoEvent(const TDataSetNotifyEvent& Event) { if (Event) Event(this); }

    // The visible order: cursor positions passing the filter, or all of them.
    int ViewCount() const;
    int CursorPosition(int ViewIndex) const;
    // -1 when the record is not visible.
    int ViewIndexOf(TRecordId Id) const;
    void BuildView();
    // Rebuilds the visible order after the filter changed, keeping the current record; between
    // BeforeScroll and AfterScroll.
    void ReapplyView();
    bool RecordPasses(int CursorPos);
    TRecordBuffer ReadBuffer(int ViewIndex) const;

    // Window upkeep. FillWindow puts the record at ViewIndex at window index Slot (as near as
    // the records allow) and makes it current.
    void FillWindow(int ViewIndex, int Slot);
    void ClearWindow();
    // Makes the record at ViewIndex current, shifting the window no more than needed;
    // answers the shift of the window's first record.
    int ScrollTo(int ViewIndex);
    // Refills after a change: CurrentId's record, or the one at FallbackView when it is gone,
    // becomes current at its old window index.
    void Resync(std::optional<TRecordId> CurrentId, int FallbackView);
    // Centres the window on ViewIndex, as after a jump (bookmark, Locate, RecNo).
    void GotoView(int ViewIndex);
    std::optional<TRecordId> CurrentId() const;
    int CurrentView() const;
    int WindowFirst() const { return FWindowFirst; }
    int WindowCount() const { return static_cast<int>(FBuffers.size()); }
    int CurrentSlot() const { return FCurrentSlot; }
    void SetActiveSlot(int Value);
    int LinkBufferCount() const;
    // Widens or narrows the window to the links' largest BufferCount, without events.
    void UpdateBufferCount();

    // Field access for TField.
    const TRecordValues* ActiveValues() const;
    Variant GetFieldValue(const TField* Field) const;
    void SetFieldValue(TField* Field, const Variant& Value);
    Variant LookupFieldValue(const TField* Field) const;
    void AddField(TField* Field);
    void RemoveField(TField* Field);
    void MoveField(TField* Field, int NewIndex);

    // The visible position of the first record matching the keys; -1 when none does.
    int FindRecord(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options);

    void AddDataSource(TDataSource* Source);
    void RemoveDataSource(TDataSource* Source);

    std::unique_ptr<TRecordCursor> FCursor;
    TFieldDefs FFieldDefs;
    std::unique_ptr<TFields> FFields;
    bool FDefaultFields = false;
    std::vector<TDataSource*> FDataSources;

    TDataSetState FState = TDataSetState::dsInactive;
    bool FModified = false;
    bool FBof = true;
    bool FEof = true;

    std::vector<TRecordBuffer> FBuffers;
    int FBufferCount = 1;
    int FWindowFirst = 0;   // visible position of the window's first posted record
    int FCurrentSlot = -1;  // window index of the current record
    int FActiveSlot = -1;   // window index fields read from (a link may switch it)
    TRecordValues FOldValues;          // the current record before Edit
    std::vector<bool> FWrittenFields;  // fields set since Edit / Insert

    bool FFiltered = false;
    String FFilter;
    std::unique_ptr<TFilterExpression> FFilterExpression;
    bool FViewFiltered = false;
    QStringList FExpectedTotals;
    std::vector<int> FView;  // cursor positions of the visible records while FViewFiltered
    std::optional<TRecordValues> FTempRecord;  // what fields read while filtering and looking up
    std::vector<std::optional<TRecordValues>> FReadsBefore;  // FTempRecord under each BeginRecordRead
    std::vector<std::optional<TRecordId>> FReadIds;  // the record each BeginRecordRead reads, if any
    String FSort;

    int FDisableCount = 0;
    TDataSetState FDisableState = TDataSetState::dsInactive;
    TDataEvent FEnableEvent = TDataEvent::deDataSetChange;
};
