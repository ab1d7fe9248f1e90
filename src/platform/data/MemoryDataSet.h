#pragma once
// TMemoryDataSet: a dataset whose records live in memory, laid out by FieldDefs given in code.
// Editable, sortable and filterable like any dataset; its records outlive Close and Open.
// Ids (and so bookmarks) count up from 1 in the order records were added; an ftAutoInc field
// holds its record's id.
#include "platform/data/DataSet.h"

class TMemoryDataSet : public TDataSet {
public:
    explicit TMemoryDataSet(TComponent* AOwner);
    ~TMemoryDataSet() override;

    // Drops every record (the dataset must be closed).
    void EmptyDataSet();
    // Makes Order (the id of every record, each once) the table's own order, the one an empty
    // Sort restores, and shows it at once; the current record stays current.
    void ArrangeRecords(const std::vector<TRecordId>& Order);

    struct TTable;

protected:
    std::unique_ptr<TRecordCursor> CreateCursor() override;
    const char* ClassName() const override { return "TMemoryDataSet"; }

private:
    std::unique_ptr<TTable> FTable;
};
