// TDataSet's machinery: the cursor it opens and the fields bound to it, the state machine and
// the data events the links follow, the view of the records the filter lets through, the
// record window the links read, and the operations on records.
//
// Sections, in file order:
//   (helpers)            bookmarks as bytes; key matching and key lists for Locate and Lookup
//   Opening and closing  SetActive, opening the cursor, creating and binding fields, state checks
//   Events               DataEvent, notifying sources, DisableControls / EnableControls
//   The visible order    the view: cursor positions that pass Filter and OnFilterRecord
//   The record window    the buffered records around the current one, Resync, buffer counts
//   Navigation           RecordCount, RecNo, First, Last, MoveBy, Refresh
//   Editing              Edit, Insert, Append, Post, Cancel, Delete, CheckBrowseMode
//   Field access         fields by name, reading and writing the active record's values, reading
//                        any record (BeginRecordRead)
//   Bookmarks            Bookmark, SetBookmark, CompareBookmarks, BookmarkValid
//   Searching            FindRecord, Locate, Lookup
//   Filter and order     Filter, Filtered, Sort
#include "platform/data/DataSet.h"

#include "platform/core/Exceptions.h"
#include "platform/data/DataLink.h"
#include "platform/data/DataSource.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/FilterExpression.h"
#include "platform/data/SortText.h"
#include "platform/data/TypedFields.h"

#include <QtEndian>

#include <algorithm>

namespace {

bool IsEditState(TDataSetState State)
{
    return State == TDataSetState::dsEdit || State == TDataSetState::dsInsert;
}

TBookmark EncodeBookmark(TRecordId Id)
{
    TBookmark bookmark(sizeof(TRecordId), Qt::Uninitialized);
    qToBigEndian(Id, bookmark.data());
    return bookmark;
}

bool DecodeBookmark(const TBookmark& Bookmark, TRecordId& Id)
{
    if (Bookmark.size() != sizeof(TRecordId))
        return false;
    Id = qFromBigEndian<TRecordId>(Bookmark.constData());
    return true;
}

bool IsTextType(TFieldType DataType)
{
    switch (DataType) {
    case TFieldType::ftString:
    case TFieldType::ftWideString:
    case TFieldType::ftFixedChar:
    case TFieldType::ftMemo:
    case TFieldType::ftFmtMemo:
    case TFieldType::ftOraClob:
    case TFieldType::ftGuid: return true;
    default: return false;
    }
}

bool KeyMatches(const Variant& Value, const Variant& Key, bool Text, TLocateOptions Options)
{
    if (VarIsNull(Key))
        return VarIsNull(Value);
    if (VarIsNull(Value))
        return false;
    if (!Text)
        return Value == Key;
    const Qt::CaseSensitivity sensitivity =
        Options.Contains(TLocateOption::loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const String text = Value.AsString();
    const String key = Key.AsString();
    if (Options.Contains(TLocateOption::loPartialKey))
        return text.startsWith(key, sensitivity);
    return text.compare(key, sensitivity) == 0;
}

// The key values of a search, one per key field.
std::vector<Variant> KeyList(const Variant& KeyValues, std::size_t FieldCount)
{
    const bool array = VarIsArray(KeyValues) && (VarType(KeyValues) & varTypeMask) == varVariant;
    if (!array)
        return std::vector<Variant>(FieldCount == 1 ? 1 : 0, KeyValues);
    std::vector<Variant> keys;
    for (int i = VarArrayLowBound(KeyValues, 1); i <= VarArrayHighBound(KeyValues, 1); ++i)
        keys.push_back(KeyValues[i]);
    return keys;
}

}  // namespace

// Makes fields read Values for the lifetime of the guard (filtering, Lookup).
class TDataSet::TTempRecord {
public:
    TTempRecord(TDataSet* DataSet, TRecordValues Values) : FDataSet(DataSet), FSaved(std::move(DataSet->FTempRecord))
    {
        FDataSet->FTempRecord = std::move(Values);
    }
    ~TTempRecord() { FDataSet->FTempRecord = std::move(FSaved); }
    TTempRecord(const TTempRecord&) = delete;
    TTempRecord& operator=(const TTempRecord&) = delete;

private:
    TDataSet* FDataSet;
    std::optional<TRecordValues> FSaved;
};

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner), FFields(std::make_unique<TFields>()) {}

TDataSet::~TDataSet()
{
    Destroying();
    SetActive(false);
    DestroyFields();
    while (!FFields->FList.empty())
        RemoveField(FFields->FList.back());
    for (TDataSource* source : std::vector<TDataSource*>(FDataSources))
        source->DataSetGone();
}

// --- Opening and closing ----------------------------------------------------------------------

void TDataSet::SetActive(bool Value)
{
    if (Active() == Value)
        return;
    const bool destroying = ComponentState().Contains(TComponentStateFlag::csDestroying);
    if (Value) {
        DoEvent(BeforeOpen);
        try {
            OpenCursor();
        } catch (...) {
            CloseCursor();
            throw;
        }
        SetState(TDataSetState::dsBrowse);
        DoEvent(AfterOpen);
        if (!IsEmpty())
            DoEvent(AfterScroll);
    } else {
        if (!destroying)
            DoEvent(BeforeClose);
        SetState(TDataSetState::dsInactive);
        CloseCursor();
        if (!destroying)
            DoEvent(AfterClose);
    }
}

void TDataSet::OpenCursor()
{
    FCursor = CreateCursor();
    FFieldDefs.Clear();
    for (const TCursorField& field : FCursor->Fields())
        FFieldDefs.Add(field.Name, field.DataType, field.Size, field.Required)->SetReadOnly(field.ReadOnly);
    if (FFields->Count() == 0)
        CreateFields();
    else
        BindFields();
    if (!FSort.isEmpty())
        FCursor->Sort(ParseSortText(FSort, FCursor->Fields()));
    BuildView();
    FBufferCount = LinkBufferCount();
    FillWindow(0, 0);
    FBof = true;
    FEof = IsEmpty();
}

void TDataSet::CloseCursor()
{
    ClearWindow();
    FFilterExpression.reset();
    FView.clear();
    FViewFiltered = false;
    FCursor.reset();
    if (FDefaultFields)
        DestroyFields();
    FModified = false;
}

void TDataSet::CreateFields()
{
    for (int i = 0; i < FFieldDefs.Count(); ++i) {
        TField* field = FFieldDefs[i]->CreateField(this);
        AddField(field);
        field->FFieldNo = i + 1;
    }
    FDefaultFields = true;
}

void TDataSet::BindFields()
{
    for (TField* field : *FFields) {
        field->FFieldNo = 0;
        if (field->FieldKind() != TFieldKind::fkData)
            continue;
        const int index = FFieldDefs.IndexOf(field->FieldName());
        if (index < 0)
            DatabaseError(DBConsts::SFieldNotFound.arg(field->FieldName()), this);
        field->FFieldNo = index + 1;
    }
    FDefaultFields = false;
}

void TDataSet::DestroyFields()
{
    // Each field's destructor takes it out of the list and notifies whoever holds it.
    while (FDefaultFields && !FFields->FList.empty())
        delete FFields->FList.back();
    FDefaultFields = false;
}

void TDataSet::CheckActive() const
{
    if (!Active())
        DatabaseError(DBConsts::SDataSetClosed, this);
}

void TDataSet::CheckInactive() const
{
    if (Active())
        DatabaseError(DBConsts::SDataSetOpen, this);
}

bool TDataSet::CanModify() const { return FCursor != nullptr && FCursor->CanModify(); }

void TDataSet::CheckCanModify() const
{
    if (!CanModify())
        DatabaseError(DBConsts::SDataSetReadOnly, this);
}

void TDataSet::CheckEditing() const
{
    if (!IsEditState(FState))
        DatabaseError(DBConsts::SNotEditing, this);
}

void TDataSet::SetState(TDataSetState Value)
{
    if (FState == Value)
        return;
    FState = Value;
    FModified = false;
    DataEvent(TDataEvent::deUpdateState, 0);
}

// --- Events -----------------------------------------------------------------------------------

void TDataSet::DataEvent(TDataEvent Event, std::intptr_t Info)
{
    if (Event == TDataEvent::deFieldChange) {
        const auto* field = reinterpret_cast<const TField*>(Info);
        if (field->FieldKind() == TFieldKind::fkData || field->FieldKind() == TFieldKind::fkInternalCalc)
            FModified = true;
    }
    if (FDisableCount == 0)
        NotifySources(Event, Info);
    else if ((Event == TDataEvent::deUpdateState && FState == TDataSetState::dsInactive)
             || Event == TDataEvent::deLayoutChange)
        FEnableEvent = TDataEvent::deLayoutChange;
}

void TDataSet::NotifySources(TDataEvent Event, std::intptr_t Info)
{
    for (TDataSource* source : std::vector<TDataSource*>(FDataSources))
        source->DataEvent(Event, Info);
}

void TDataSet::DisableControls()
{
    if (FDisableCount == 0) {
        FDisableState = FState;
        FEnableEvent = TDataEvent::deDataSetChange;
        NotifySources(TDataEvent::deDisabledStateChange, 1);
    }
    ++FDisableCount;
}

void TDataSet::EnableControls()
{
    if (FDisableCount == 0 || --FDisableCount > 0)
        return;
    NotifySources(TDataEvent::deDisabledStateChange, 0);
    if (FDisableState != FState)
        DataEvent(TDataEvent::deUpdateState, 0);
    if (FDisableState != TDataSetState::dsInactive && FState != TDataSetState::dsInactive)
        DataEvent(FEnableEvent, 0);
}

void TDataSet::AddDataSource(TDataSource* Source)
{
    FDataSources.push_back(Source);
    UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* Source)
{
    FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), Source), FDataSources.end());
    UpdateBufferCount();
}

// --- The visible order ------------------------------------------------------------------------

int TDataSet::ViewCount() const
{
    if (FCursor == nullptr)
        return 0;
    return FViewFiltered ? static_cast<int>(FView.size()) : FCursor->RecordCount();
}

int TDataSet::CursorPosition(int ViewIndex) const
{
    return FViewFiltered ? FView[static_cast<std::size_t>(ViewIndex)] : ViewIndex;
}

int TDataSet::ViewIndexOf(TRecordId Id) const
{
    const int position = FCursor->PositionOf(Id);
    if (position < 0 || !FViewFiltered)
        return position;
    const auto found = std::lower_bound(FView.begin(), FView.end(), position);
    return found != FView.end() && *found == position ? static_cast<int>(found - FView.begin()) : -1;
}

void TDataSet::BuildView()
{
    FView.clear();
    FViewFiltered = FFiltered && (OnFilterRecord || !FFilter.isEmpty());
    if (!FViewFiltered)
        return;
    if (!FFilter.isEmpty() && !FFilterExpression)
        FFilterExpression = std::make_unique<TFilterExpression>(FFilter, this);
    const int count = FCursor->RecordCount();
    for (int position = 0; position < count; ++position)
        if (RecordPasses(position))
            FView.push_back(position);
}

bool TDataSet::RecordPasses(int CursorPos)
{
    TTempRecord record(this, FCursor->ValuesAt(CursorPos));
    bool accept = FFilterExpression == nullptr || FFilterExpression->Evaluate();
    if (accept && OnFilterRecord)
        OnFilterRecord(this, accept);
    return accept;
}

TDataSet::TRecordBuffer TDataSet::ReadBuffer(int ViewIndex) const
{
    const int position = CursorPosition(ViewIndex);
    return {FCursor->IdAt(position), ViewIndex, false, FCursor->ValuesAt(position)};
}

// --- The record window ------------------------------------------------------------------------

void TDataSet::ClearWindow()
{
    FBuffers.clear();
    FWindowFirst = 0;
    FCurrentSlot = -1;
    FActiveSlot = -1;
}

void TDataSet::FillWindow(int ViewIndex, int Slot)
{
    ClearWindow();
    const int count = ViewCount();
    if (count == 0)
        return;
    const int view = std::clamp(ViewIndex, 0, count - 1);
    const int slot = std::clamp(Slot, 0, FBufferCount - 1);
    const int first = std::max(0, std::min(view - slot, count - FBufferCount));
    const int last = std::min(count, first + FBufferCount);
    FBuffers.reserve(static_cast<std::size_t>(last - first));
    for (int i = first; i < last; ++i)
        FBuffers.push_back(ReadBuffer(i));
    FWindowFirst = first;
    FCurrentSlot = FActiveSlot = view - first;
}

int TDataSet::ScrollTo(int ViewIndex)
{
    const int oldFirst = FWindowFirst;
    const int oldCount = WindowCount();
    if (ViewIndex >= oldFirst && ViewIndex < oldFirst + oldCount) {
        FCurrentSlot = FActiveSlot = ViewIndex - oldFirst;
        return 0;
    }
    const int first = ViewIndex < oldFirst ? ViewIndex : std::max(0, ViewIndex - FBufferCount + 1);
    const int last = std::min(ViewCount(), first + FBufferCount);
    std::vector<TRecordBuffer> buffers;
    buffers.reserve(static_cast<std::size_t>(last - first));
    for (int i = first; i < last; ++i) {
        // Records still in the window keep their buffers; only the new ones are read.
        if (i >= oldFirst && i < oldFirst + oldCount)
            buffers.push_back(std::move(FBuffers[static_cast<std::size_t>(i - oldFirst)]));
        else
            buffers.push_back(ReadBuffer(i));
    }
    FBuffers = std::move(buffers);
    FWindowFirst = first;
    FCurrentSlot = FActiveSlot = ViewIndex - first;
    return first - oldFirst;
}

void TDataSet::Resync(std::optional<TRecordId> CurrentId, int FallbackView)
{
    const int slot = std::max(FCurrentSlot, 0);
    int view = CurrentId ? ViewIndexOf(*CurrentId) : -1;
    if (view < 0)
        view = FallbackView;
    FillWindow(view, slot);
    FBof = FEof = IsEmpty();
}

void TDataSet::GotoView(int ViewIndex)
{
    DoEvent(BeforeScroll);
    FillWindow(ViewIndex, (FBufferCount - 1) / 2);
    FBof = FEof = false;
    DataEvent(TDataEvent::deDataSetChange, 0);
    DoEvent(AfterScroll);
}

void TDataSet::SetActiveSlot(int Value)
{
    if (Value >= 0 && Value < WindowCount())
        FActiveSlot = Value;
}

int TDataSet::LinkBufferCount() const
{
    int count = 1;
    for (const TDataSource* source : FDataSources)
        for (const TDataLink* link : source->FDataLinks)
            count = std::max(count, link->BufferCount());
    return count;
}

void TDataSet::UpdateBufferCount()
{
    const int count = LinkBufferCount();
    if (count == FBufferCount)
        return;
    FBufferCount = count;
    // A record being inserted keeps the window as it is until it is posted or cancelled.
    if (!Active() || IsEmpty() || FState == TDataSetState::dsInsert)
        return;
    TRecordBuffer current = FBuffers[static_cast<std::size_t>(FCurrentSlot)];
    FillWindow(current.Position, FCurrentSlot);
    FBuffers[static_cast<std::size_t>(FCurrentSlot)] = std::move(current);
}

std::optional<TRecordId> TDataSet::CurrentId() const
{
    if (FCurrentSlot < 0 || FBuffers[static_cast<std::size_t>(FCurrentSlot)].Inserted)
        return std::nullopt;
    return FBuffers[static_cast<std::size_t>(FCurrentSlot)].Id;
}

int TDataSet::CurrentView() const
{
    return FCurrentSlot < 0 ? 0 : FBuffers[static_cast<std::size_t>(FCurrentSlot)].Position;
}

// --- Navigation -------------------------------------------------------------------------------

int TDataSet::RecordCount() const
{
    CheckActive();
    return ViewCount();
}

int TDataSet::RecNo() const
{
    if (FActiveSlot < 0 || FActiveSlot >= WindowCount())
        return -1;
    const TRecordBuffer& buffer = FBuffers[static_cast<std::size_t>(FActiveSlot)];
    return buffer.Inserted ? -1 : buffer.Position + 1;
}

void TDataSet::SetRecNo(int Value)
{
    CheckBrowseMode();
    if (IsEmpty() || Value == RecNo())
        return;
    GotoView(std::clamp(Value - 1, 0, ViewCount() - 1));
}

void TDataSet::First()
{
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    FillWindow(0, 0);
    FBof = true;
    FEof = IsEmpty();
    DataEvent(TDataEvent::deDataSetChange, 0);
    DoEvent(AfterScroll);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    FillWindow(ViewCount() - 1, FBufferCount - 1);
    FEof = true;
    FBof = IsEmpty();
    DataEvent(TDataEvent::deDataSetChange, 0);
    DoEvent(AfterScroll);
}

int TDataSet::MoveBy(int Distance)
{
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    if ((Distance > 0 && FEof) || (Distance < 0 && FBof) || Distance == 0)
        return 0;
    FBof = FEof = false;
    const int from = CurrentView();
    const int last = ViewCount() - 1;
    int to = from + Distance;
    if (to > last) {
        to = last;
        FEof = true;
    } else if (to < 0) {
        to = 0;
        FBof = true;
    }
    const int shift = ScrollTo(to);
    DataEvent(TDataEvent::deDataSetScroll, shift);
    DoEvent(AfterScroll);
    return to - from;
}

void TDataSet::Refresh()
{
    CheckBrowseMode();
    BuildView();
    Resync(CurrentId(), CurrentView());
    DataEvent(TDataEvent::deDataSetChange, 0);
}

// --- Editing ----------------------------------------------------------------------------------

void TDataSet::Edit()
{
    if (IsEditState(FState))
        return;
    if (IsEmpty()) {
        Insert();
        return;
    }
    CheckBrowseMode();
    CheckCanModify();
    DoEvent(BeforeEdit);
    FActiveSlot = FCurrentSlot;
    FOldValues = FBuffers[static_cast<std::size_t>(FCurrentSlot)].Values;
    FWrittenFields.assign(FFieldDefs.Count(), false);
    SetState(TDataSetState::dsEdit);
    DataEvent(TDataEvent::deRecordChange, 0);
    DoEvent(AfterEdit);
}

void TDataSet::BeginInsertAppend()
{
    CheckBrowseMode();
    CheckCanModify();
    DoEvent(BeforeInsert);
    DoEvent(BeforeScroll);
}

TDataSet::TRecordBuffer TDataSet::NewBuffer(int Before) const
{
    return {0, Before, true, TRecordValues(static_cast<std::size_t>(FFieldDefs.Count()), Variant::Null())};
}

void TDataSet::Insert()
{
    BeginInsertAppend();
    if (IsEmpty()) {
        FBuffers.push_back(NewBuffer(0));
        FCurrentSlot = 0;
    } else {
        FBuffers.insert(FBuffers.begin() + FCurrentSlot, NewBuffer(CurrentView()));
        if (WindowCount() > FBufferCount)
            FBuffers.pop_back();
    }
    FActiveSlot = FCurrentSlot;
    EndInsertAppend();
}

void TDataSet::Append()
{
    BeginInsertAppend();
    const int count = ViewCount();
    FillWindow(count - 1, FBufferCount - 1);
    if (WindowCount() == FBufferCount && !FBuffers.empty()) {
        FBuffers.erase(FBuffers.begin());
        ++FWindowFirst;
    }
    FBuffers.push_back(NewBuffer(count));
    FCurrentSlot = FActiveSlot = WindowCount() - 1;
    EndInsertAppend();
}

void TDataSet::EndInsertAppend()
{
    FOldValues.clear();
    FWrittenFields.assign(FFieldDefs.Count(), false);
    FBof = FEof = false;
    SetState(TDataSetState::dsInsert);
    try {
        DoEvent(OnNewRecord);
    } catch (...) {
        DiscardInsert();
        SetState(TDataSetState::dsBrowse);
        throw;
    }
    FModified = false;
    DataEvent(TDataEvent::deDataSetChange, 0);
    DoEvent(AfterInsert);
    DoEvent(AfterScroll);
}

void TDataSet::DiscardInsert()
{
    // The record that gave its place to the new one becomes current again.
    const int view = std::min(CurrentView(), ViewCount() - 1);
    FBuffers.erase(FBuffers.begin() + FCurrentSlot);
    Resync(std::nullopt, view);
}

void TDataSet::AppendRecord(const std::vector<Variant>& Values)
{
    Append();
    const int count = std::min(static_cast<int>(Values.size()), FieldCount());
    for (int i = 0; i < count; ++i)
        if (!VarIsEmpty(Values[static_cast<std::size_t>(i)]))
            FFields->Fields(i)->SetValue(Values[static_cast<std::size_t>(i)]);
    Post();
}

void TDataSet::UpdateRecord()
{
    CheckEditing();
    DataEvent(TDataEvent::deUpdateRecord, 0);
}

void TDataSet::Post()
{
    UpdateRecord();
    DataEvent(TDataEvent::deCheckBrowseMode, 0);
    DoEvent(BeforePost);
    const TRecordId id = InternalPost();
    const int view = CurrentView();
    SetState(TDataSetState::dsBrowse);
    Resync(id, view);
    DataEvent(TDataEvent::deDataSetChange, 0);
    DoEvent(AfterPost);
}

void TDataSet::CheckRequiredFields()
{
    FActiveSlot = FCurrentSlot;
    for (TField* field : *FFields) {
        if (field->Required() && !field->ReadOnly() && field->FieldKind() == TFieldKind::fkData && field->IsNull()) {
            field->FocusControl();
            DatabaseError(DBConsts::SFieldRequired.arg(field->DisplayName()));
        }
    }
}

TRecordId TDataSet::InternalPost()
{
    CheckRequiredFields();
    TRecordBuffer& buffer = FBuffers[static_cast<std::size_t>(FCurrentSlot)];
    TFieldValues values;
    for (std::size_t i = 0; i < FWrittenFields.size(); ++i)
        if (FWrittenFields[i])
            values.push_back({static_cast<int>(i), buffer.Values[i]});
    if (FState == TDataSetState::dsInsert) {
        const int position = buffer.Position < ViewCount() ? CursorPosition(buffer.Position) : FCursor->RecordCount();
        buffer.Id = FCursor->Insert(position, values);
    } else if (!values.empty()) {
        FCursor->Update(buffer.Id, values);
    }
    const TRecordId id = buffer.Id;
    // The write may have moved records in or out of the filter.
    BuildView();
    return id;
}

void TDataSet::Cancel()
{
    if (!IsEditState(FState))
        return;
    DataEvent(TDataEvent::deCheckBrowseMode, 0);
    DoEvent(BeforeCancel);
    const bool inserting = FState == TDataSetState::dsInsert;
    if (inserting) {
        DoEvent(BeforeScroll);
        DiscardInsert();
    } else {
        FBuffers[static_cast<std::size_t>(FCurrentSlot)].Values = FOldValues;
        FActiveSlot = FCurrentSlot;
    }
    // As on the platform: the controls leave their edit mode, then repaint the restored records.
    FState = TDataSetState::dsBrowse;
    FModified = false;
    DataEvent(TDataEvent::deUpdateState, 0);
    DataEvent(TDataEvent::deDataSetChange, 0);
    DoEvent(AfterCancel);
    if (inserting)
        DoEvent(AfterScroll);
}

void TDataSet::Delete()
{
    CheckActive();
    if (FState == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (IsEmpty())
        DatabaseError(DBConsts::SDataSetEmpty, this);
    CheckCanModify();
    DataEvent(TDataEvent::deCheckBrowseMode, 0);
    DoEvent(BeforeDelete);
    DoEvent(BeforeScroll);
    const int view = CurrentView();
    FCursor->Delete(*CurrentId());
    BuildView();
    SetState(TDataSetState::dsBrowse);
    Resync(std::nullopt, std::min(view, ViewCount() - 1));
    DataEvent(TDataEvent::deDataSetChange, 0);
    DoEvent(AfterDelete);
    DoEvent(AfterScroll);
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(TDataEvent::deCheckBrowseMode, 0);
    if (!IsEditState(FState))
        return;
    UpdateRecord();
    if (FModified)
        Post();
    else
        Cancel();
}

// --- Field access -----------------------------------------------------------------------------

int TDataSet::FieldCount() const { return FFields->Count(); }

TField* TDataSet::FindField(const String& FieldName) const { return FFields->FindField(FieldName); }

TField* TDataSet::FieldByName(const String& FieldName) const
{
    TField* field = FindField(FieldName);
    if (field == nullptr)
        DatabaseError(DBConsts::SFieldNotFound.arg(FieldName), this);
    return field;
}

void TDataSet::AddField(TField* Field)
{
    if (Field->FDataSet != nullptr)
        Field->FDataSet->RemoveField(Field);
    FFields->Add(Field);
    Field->FDataSet = this;
    DataEvent(TDataEvent::deFieldListChange, 0);
}

void TDataSet::RemoveField(TField* Field)
{
    FFields->Remove(Field);
    Field->FDataSet = nullptr;
    DataEvent(TDataEvent::deFieldListChange, 0);
}

void TDataSet::MoveField(TField* Field, int NewIndex)
{
    FFields->Move(Field, NewIndex);
    if (Active())
        DataEvent(TDataEvent::deLayoutChange, 0);
}

const TRecordValues* TDataSet::ActiveValues() const
{
    if (FTempRecord)
        return &*FTempRecord;
    if (FActiveSlot < 0 || FActiveSlot >= WindowCount())
        return nullptr;
    return &FBuffers[static_cast<std::size_t>(FActiveSlot)].Values;
}

Variant TDataSet::GetFieldValue(const TField* Field) const
{
    if (Field->FieldKind() == TFieldKind::fkLookup)
        return LookupFieldValue(Field);
    const TRecordValues* values = ActiveValues();
    if (values == nullptr || Field->FFieldNo <= 0)
        return Variant::Null();
    return (*values)[static_cast<std::size_t>(Field->FFieldNo - 1)];
}

void TDataSet::SetFieldValue(TField* Field, const Variant& Value)
{
    CheckEditing();
    if (Field->ReadOnly() || Field->FieldKind() != TFieldKind::fkData || Field->FFieldNo <= 0)
        DatabaseError(DBConsts::SFieldReadOnly.arg(Field->DisplayName()));
    FActiveSlot = FCurrentSlot;
    const auto index = static_cast<std::size_t>(Field->FFieldNo - 1);
    Variant& slot = FBuffers[static_cast<std::size_t>(FCurrentSlot)].Values[index];
    Variant previous = slot;
    slot = Value;
    if (Field->OnValidate) {
        try {
            Field->OnValidate(Field);
        } catch (...) {
            slot = std::move(previous);
            throw;
        }
    }
    FWrittenFields[index] = true;
    DataEvent(TDataEvent::deFieldChange, reinterpret_cast<std::intptr_t>(Field));
    if (Field->OnChange)
        Field->OnChange(Field);
}

Variant TDataSet::LookupFieldValue(const TField* Field) const
{
    TDataSet* source = Field->LookupDataSet();
    if (source == nullptr || !source->Active() || ActiveValues() == nullptr)
        return Variant::Null();
    const std::vector<String> names = SplitFieldNames(Field->KeyFields());
    Variant keys;
    if (names.size() == 1) {
        keys = FieldByName(names.front())->Value();
    } else {
        keys = VarArrayCreate(0, static_cast<int>(names.size()) - 1);
        for (std::size_t i = 0; i < names.size(); ++i)
            keys[static_cast<int>(i)] = FieldByName(names[i])->Value();
    }
    return source->Lookup(Field->LookupKeyFields(), keys, Field->LookupResultField());
}

void TDataSet::BeginRecordRead(int ViewIndex)
{
    FReadsBefore.push_back(FTempRecord);
    FReadIds.emplace_back();
    if (FCursor != nullptr && ViewIndex >= 0 && ViewIndex < ViewCount()) {
        FTempRecord = FCursor->ValuesAt(CursorPosition(ViewIndex));
        FReadIds.back() = FCursor->IdAt(CursorPosition(ViewIndex));
    }
}

void TDataSet::EndRecordRead()
{
    if (FReadsBefore.empty())
        return;
    FTempRecord = std::move(FReadsBefore.back());
    FReadsBefore.pop_back();
    FReadIds.pop_back();
}

// --- Bookmarks --------------------------------------------------------------------------------

bool TDataSet::RecordIdOfBookmark(const TBookmark& Bookmark, TRecordId& Id) { return DecodeBookmark(Bookmark, Id); }

TBookmark TDataSet::Bookmark() const
{
    for (auto read = FReadIds.rbegin(); FCursor != nullptr && read != FReadIds.rend(); ++read)
        if (read->has_value())
            return EncodeBookmark(**read);
    if (FActiveSlot < 0 || FActiveSlot >= WindowCount())
        return {};
    const TRecordBuffer& buffer = FBuffers[static_cast<std::size_t>(FActiveSlot)];
    return buffer.Inserted ? TBookmark() : EncodeBookmark(buffer.Id);
}

void TDataSet::SetBookmark(const TBookmark& Value)
{
    CheckBrowseMode();
    TRecordId id = 0;
    const int view = DecodeBookmark(Value, id) ? ViewIndexOf(id) : -1;
    if (view < 0)
        DatabaseError(DBConsts::SRecordNotFound, this);
    GotoView(view);
}

int TDataSet::CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const
{
    TRecordId id1 = 0;
    TRecordId id2 = 0;
    const bool valid1 = DecodeBookmark(Bookmark1, id1);
    const bool valid2 = DecodeBookmark(Bookmark2, id2);
    if (!valid1 || !valid2)
        return static_cast<int>(valid1) - static_cast<int>(valid2);
    return id1 < id2 ? -1 : (id1 > id2 ? 1 : 0);
}

bool TDataSet::BookmarkValid(const TBookmark& Value) const
{
    TRecordId id = 0;
    return Active() && DecodeBookmark(Value, id) && ViewIndexOf(id) >= 0;
}

// --- Searching --------------------------------------------------------------------------------

int TDataSet::FindRecord(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options)
{
    CheckActive();
    std::vector<TField*> fields;
    for (const String& name : SplitFieldNames(KeyFields))
        fields.push_back(FieldByName(name));
    std::vector<Variant> keys = KeyList(KeyValues, fields.size());
    if (keys.size() != fields.size())
        DatabaseError(QStringLiteral("定位时每个关键字段都需要一个值"), this);
    std::vector<bool> text(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        text[i] = IsTextType(fields[i]->DataType());
        if (VarIsNull(keys[i]) || VarIsEmpty(keys[i])) {
            keys[i] = Variant::Null();
            continue;
        }
        try {
            keys[i] = text[i] ? Variant(keys[i].AsString()) : fields[i]->ToNative(keys[i]);
        } catch (const Exception&) {
            return -1;  // a key the field cannot hold matches no record
        }
    }
    const int count = ViewCount();
    for (int view = 0; view < count; ++view) {
        TTempRecord record(this, FCursor->ValuesAt(CursorPosition(view)));
        bool match = true;
        for (std::size_t i = 0; i < fields.size() && match; ++i)
            match = KeyMatches(fields[i]->Value(), keys[i], text[i], Options);
        if (match)
            return view;
    }
    return -1;
}

bool TDataSet::Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options)
{
    CheckBrowseMode();
    const int view = FindRecord(KeyFields, KeyValues, Options);
    if (view < 0)
        return false;
    GotoView(view);
    return true;
}

Variant TDataSet::Lookup(const String& KeyFields, const Variant& KeyValues, const String& ResultFields)
{
    const int view = FindRecord(KeyFields, KeyValues, TLocateOptions());
    if (view < 0)
        return Variant::Null();
    TTempRecord record(this, FCursor->ValuesAt(CursorPosition(view)));
    const std::vector<String> names = SplitFieldNames(ResultFields);
    if (names.size() == 1)
        return FieldByName(names.front())->Value();
    Variant result = VarArrayCreate(0, static_cast<int>(names.size()) - 1);
    for (std::size_t i = 0; i < names.size(); ++i)
        result[static_cast<int>(i)] = FieldByName(names[i])->Value();
    return result;
}

// --- Filter and order -------------------------------------------------------------------------

void TDataSet::SetFilter(const String& Value)
{
    if (Value == FFilter)
        return;
    // Parse first: a bad filter raises and leaves the old one in force.
    std::unique_ptr<TFilterExpression> expression;
    if (Active() && !Value.isEmpty())
        expression = std::make_unique<TFilterExpression>(Value, this);
    FFilter = Value;
    FFilterExpression = std::move(expression);
    if (Active() && FFiltered)
        ReapplyView();
}

void TDataSet::SetFiltered(bool Value)
{
    if (Value == FFiltered)
        return;
    FFiltered = Value;
    if (Active())
        ReapplyView();
}

void TDataSet::ReapplyView()
{
    CheckBrowseMode();
    // Another set of records is a move of the cursor: those who follow it (the footer sums)
    // hear of it through the scroll events.
    DoEvent(BeforeScroll);
    const std::optional<TRecordId> id = CurrentId();
    BuildView();
    Resync(id, 0);
    DataEvent(TDataEvent::deDataSetChange, 0);
    DoEvent(AfterScroll);
}

void TDataSet::SetSort(const String& Value)
{
    if (!Active()) {
        FSort = Value;
        return;
    }
    const TSortSpec spec = ParseSortText(Value, FCursor->Fields());
    CheckBrowseMode();
    FSort = Value;
    const std::optional<TRecordId> id = CurrentId();
    FCursor->Sort(spec);
    BuildView();
    Resync(id, 0);
    DataEvent(TDataEvent::deDataSetChange, 0);
}

std::optional<std::vector<TFieldTotal>> TDataSet::FieldTotals(const std::vector<const TField*>& Fields) const
{
    if (FState != TDataSetState::dsBrowse || FViewFiltered)
        return std::nullopt;
    std::vector<int> indexes;
    indexes.reserve(Fields.size());
    for (const TField* field : Fields) {
        if (field->DataSet() != this || field->FieldKind() != TFieldKind::fkData || field->FFieldNo <= 0)
            return std::nullopt;
        indexes.push_back(field->FFieldNo - 1);
    }
    return FCursor->FieldTotals(indexes);
}
