#pragma once
// A small in-memory table and a data link that records its callbacks, shared by the dataset tests.
#include "platform/data/DataLink.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"

#include <QStringList>

#include <functional>
#include <ostream>

using namespace Qt::StringLiterals;

// Readable failure messages for texts and lists of texts.
inline void PrintTo(const QString& Text, std::ostream* Stream) { *Stream << '"' << Text.toStdString() << '"'; }

// Records each callback as text: "ActiveChanged(1)", "Scrolled(3)", "RecordChanged(姓名)" ...
class TRecordingLink : public TDataLink {
public:
    QStringList Calls;
    std::function<void()> OnActiveChanged;
    std::function<void()> OnUpdateData;

protected:
    void ActiveChanged() override
    {
        Calls << u"ActiveChanged(%1)"_s.arg(Active() ? 1 : 0);
        if (OnActiveChanged)
            OnActiveChanged();
    }
    void CheckBrowseMode() override { Calls << u"CheckBrowseMode"_s; }
    void DataSetChanged() override { Calls << u"DataSetChanged"_s; }
    void DataSetScrolled(int Distance) override { Calls << u"Scrolled(%1)"_s.arg(Distance); }
    void EditingChanged() override { Calls << u"EditingChanged(%1)"_s.arg(Editing() ? 1 : 0); }
    void FocusControl(TField** Field) override { Calls << u"FocusControl(%1)"_s.arg((*Field)->FieldName()); }
    void LayoutChanged() override { Calls << u"LayoutChanged"_s; }
    void RecordChanged(TField* Field) override
    {
        Calls << u"RecordChanged(%1)"_s.arg(Field != nullptr ? Field->FieldName() : u"nil"_s);
    }
    void UpdateData() override
    {
        Calls << u"UpdateData"_s;
        if (OnUpdateData)
            OnUpdateData();
    }
    void DataEvent(TDataEvent Event, std::intptr_t Info) override
    {
        if (Event == TDataEvent::deDisabledStateChange)
            Calls << u"DisabledStateChange(%1)"_s.arg(Info);
        TDataLink::DataEvent(Event, Info);
    }
};

// People with an id, a name and a count: record i (1-based) is named Names[i - 1], count i * 10.
struct TPeopleTable {
    static inline const QStringList Names = {u"张三"_s, u"李四"_s, u"王五"_s, u"赵六"_s, u"阿明"_s,
                                             u"陈晨"_s, u"丁一"_s, u"Bob"_s, u"alice"_s, u"蔡文"_s};

    TComponent Owner{nullptr};
    TMemoryDataSet* DataSet = new TMemoryDataSet(&Owner);
    TDataSource* Source = new TDataSource(&Owner);
    TRecordingLink Link;

    explicit TPeopleTable(int BufferCount = 4, int Rows = 10)
    {
        DataSet->FieldDefs()->Add(u"id"_s, TFieldType::ftAutoInc);
        DataSet->FieldDefs()->Add(u"姓名"_s, TFieldType::ftString, 20);
        DataSet->FieldDefs()->Add(u"数量"_s, TFieldType::ftInteger);
        DataSet->Open();
        for (int i = 0; i < Rows; ++i)
            DataSet->AppendRecord({Variant(), Variant(Names[i]), Variant((i + 1) * 10)});
        DataSet->First();
        Source->SetDataSet(DataSet);
        Link.SetBufferCount(BufferCount);
        Link.SetDataSource(Source);
        Link.Calls.clear();
    }
    ~TPeopleTable() { Link.SetDataSource(nullptr); }
    TField* Name() const { return DataSet->FieldByName(u"姓名"_s); }
    TField* Count() const { return DataSet->FieldByName(u"数量"_s); }
};
