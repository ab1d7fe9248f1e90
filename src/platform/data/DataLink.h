#pragma once
// TDataLink: a control's view of a dataset through a data source. The link has its own window
// of BufferCount records inside the dataset's record window and is told of every change
// through its virtual callbacks, synchronously and in this order:
//   open:   ActiveChanged (fields exist already; BufferCount may be set inside the handler)
//   close:  ActiveChanged, then the default fields are freed (free notifications)
//   Edit:   EditingChanged, RecordChanged(nullptr), before Edit returns
//   Post:   UpdateData, the write, EditingChanged, DataSetChanged
//   Cancel: DataSetChanged, EditingChanged
//   moves:  CheckBrowseMode first; First/Last/jumps DataSetChanged; Next/Prior/MoveBy
//           DataSetScrolled(shift of the link's first record, 0 when the move stayed inside)
//   a field set while editing: RecordChanged(Field)
#include "platform/core/Object.h"
#include "platform/data/DataTypes.h"

#include <cstdint>

class TDataSet;
class TDataSource;
class TField;

class TDataLink : public TObject {
public:
    TDataLink() = default;
    ~TDataLink() override;

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* Value);
    TDataSet* DataSet() const;
    // The source is enabled and its dataset open.
    bool Active() const { return FActive; }
    // The dataset is in edit or insert state and the link is not read-only.
    bool Editing() const { return FEditing; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);

    int BufferCount() const { return FBufferCount; }
    // At least 1; the dataset widens its window to the largest of its links.
    void SetBufferCount(int Value);
    // Records in this link's window: at most BufferCount, fewer near the end.
    int RecordCount() const;
    // Index of the current record in the link's window.
    int ActiveRecord() const;
    // Makes another record of the window the one fields, RecNo and Bookmark answer for, with
    // no events and no move; set it back when done.
    void SetActiveRecord(int Value);

    // Enters edit state through the source (when AutoEdit and the dataset can modify);
    // answers Editing.
    bool Edit();
    // Calls UpdateData; RecordChanged echoes of what it stores are not delivered meanwhile.
    void UpdateRecord();
    int MoveBy(int Distance);
    virtual bool ExecuteAction(TObject* Action) { return false; }
    virtual bool UpdateAction(TObject* Action) { return false; }

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int Distance) { DataSetChanged(); }
    virtual void EditingChanged() {}
    virtual void FocusControl(TField** Field) {}
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* Field) {}
    virtual void UpdateData() {}
    // Dispatches an event to the callbacks above. Info: the TField* for deFieldChange and
    // deRecordChange (nullptr for the whole record), a TField** for deFocusControl,
    // 1 / 0 for deDisabledStateChange (controls disabled / enabled).
    virtual void DataEvent(TDataEvent Event, std::intptr_t Info);

private:
    friend class TDataSource;

    void UpdateState();
    void SetActive(bool Value);
    void SetEditing(bool Value);
    // The link's first record as an index into the dataset's window, kept so that it holds
    // the current record and shows as many records as it can.
    int FirstRecord() const;
    // Re-anchors the window after the dataset's changed; answers the shift of its first record.
    int UpdateRange();

    TDataSource* FDataSource = nullptr;
    bool FActive = false;
    bool FEditing = false;
    bool FReadOnly = false;
    bool FUpdating = false;
    int FBufferCount = 1;
    // Visible position of the link's first record, before the window's refills move it.
    int FFirstPosition = 0;
};
