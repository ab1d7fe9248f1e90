// The record scan that finds a text in a grid's column or in all its visible columns, and the
// registry of what kinds of dataset do themselves.
#include "datagrid/DbUtilsEh.h"

#include "datagrid/DBGridEh.h"
#include "platform/data/DataSet.h"
#include "platform/core/Exceptions.h"
#include "platform/data/Field.h"
#include "platform/ui/KeyWatch.h"

#include <optional>
#include <vector>

namespace {

// The walk over cells: one column record by record, or every visible column cell by cell.
class TGridTextScan {
public:
    TGridTextScan(TCustomDBGridEh* Grid, TColumnEh* Column, TLocateTextDirectionEh Direction,
                  TLocateTextOptionsEh Options)
        : FDataSet(Grid->DataLink()->DataSet()), FColumns(Grid->VisibleColumns()),
          FAllColumns(Options.Contains(ltoAllFieldsEh)), FDisplayText(Options.Contains(ltoMatchFormatEh)),
          FStep(Direction == TLocateTextDirectionEh::ltdUpEh ? -1 : 1), FColumn(Column)
    {
        // From the first record every column is searched, the first record's left ones too.
        const int index = FColumns->IndexOf(Column);
        FIndex = Direction == TLocateTextDirectionEh::ltdAllEh || index < 0 ? 0 : index;
    }

    // To the next cell; false past the last (or before the first) record.
    bool FindStepRecord()
    {
        if (FAllColumns && FColumns->Count() > 0) {
            FIndex += FStep;
            if (FIndex >= 0 && FIndex < FColumns->Count())
                return true;
            FIndex = FStep > 0 ? 0 : FColumns->Count() - 1;
        }
        return FDataSet->MoveBy(FStep) != 0;
    }

    TColumnEh* CellColumn() const
    {
        return FAllColumns && FIndex < FColumns->Count() ? FColumns->Items(FIndex) : FColumn;
    }

    // The compared text of the current cell: shown or the field's, empty without a field.
    String FindCellText() const
    {
        const TColumnEh* column = CellColumn();
        if (column == nullptr || column->Field() == nullptr)
            return {};
        return FDisplayText ? column->ComputeDisplayText() : column->Field()->AsString();
    }

private:
    TDataSet* FDataSet;
    TColumnsEhList* FColumns;
    bool FAllColumns;
    bool FDisplayText;
    int FStep;
    TColumnEh* FColumn;
    int FIndex = 0;
};

// The column the scan starts from: FieldName's, else the focused one, else with dgRowSelect the
// leftmost scrolled one.
TColumnEh* StartColumn(TCustomDBGridEh* Grid, const String& FieldName)
{
    if (!FieldName.isEmpty())
        return Grid->RequireColumnByFieldName(FieldName);
    if (!Grid->Options().Contains(dgRowSelect))
        return Grid->FocusedColumn();
    const int index = Grid->GridColToDataCol(Grid->LeftCol());
    return index >= 0 && index < Grid->Columns()->Count() ? Grid->Columns()->ColumnAt(index) : nullptr;
}

}  // namespace

bool FindTextInGrid(TCustomDBGridEh* Grid, const String& FieldName, const String& Text, TLocateTextTreeFindRangeEh,
                    TLocateTextMatchTypeEh Matching, TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options)
{
    TDataSet* data = Grid->DataLink()->DataSet();
    if (data == nullptr || !Grid->DataLink()->Active())
        return false;
    TColumnEh* column = StartColumn(Grid, FieldName);
    if (column == nullptr && !Options.Contains(ltoAllFieldsEh))
        return false;
    const bool caseInsensitive = Options.Contains(ltoCaseInsensitiveEh);
    TGridTextScan scan(Grid, column, Direction, Options);
    const TBookmark start = data->Bookmark();
    bool found = false;
    const TBusyCursorUse busy;
    std::optional<TKeyPressWatch> escape;
    if (Options.Contains(ltoStopOnEscapeEh))
        escape.emplace(Grid, VK_ESCAPE);
    data->DisableControls();
    try {
        bool more = true;
        if (Direction == TLocateTextDirectionEh::ltdAllEh)
            data->First();
        else
            more = scan.FindStepRecord();
        more = more && !data->IsEmpty();
        while (more && !(found = LocateTextMatches(scan.FindCellText(), Text, Matching, caseInsensitive)))
            more = !(escape && escape->Pressed()) && scan.FindStepRecord();
        if (!found)
            data->SetBookmark(start);
    } catch (...) {
        data->EnableControls();
        throw;
    }
    data->EnableControls();
    if (found && scan.CellColumn() != nullptr)
        Grid->FocusDataColumn(scan.CellColumn()->Index());
    return found;
}

// --- The dataset-features registry ----------------------------------------------------------------

namespace {

struct TDatasetFeaturesEntry {
    std::type_index DataSetClass;
    std::function<bool(const TDataSet*)> Serves;
    std::unique_ptr<TDatasetFeaturesEh> Features;
};

std::vector<TDatasetFeaturesEntry>& DatasetFeaturesRegistry()
{
    static std::vector<TDatasetFeaturesEntry> registry;
    return registry;
}

}  // namespace

bool TDatasetFeaturesEh::LocateText(TCustomDBGridEh* Grid, const String& FieldName, const String& Text,
                                    TLocateTextTreeFindRangeEh TreeFindRange, TLocateTextMatchTypeEh Matching,
                                    TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options)
{
    return FindTextInGrid(Grid, FieldName, Text, TreeFindRange, Matching, Direction, Options);
}

bool TDatasetFeaturesEh::MoveRecords(TCustomDBGridEh*, TBMListEh*, int&, int, bool) { return false; }

void TDatasetFeaturesEh::ApplySorting(TCustomDBGridEh*, TDataSet*, bool) {}

void TDatasetFeaturesEh::ApplyFilter(TCustomDBGridEh*, TDataSet*, bool) {}

void RegisterDatasetFeaturesEh(std::type_index DataSetClass, std::function<bool(const TDataSet*)> Serves,
                               std::unique_ptr<TDatasetFeaturesEh> Features)
{
    auto& registry = DatasetFeaturesRegistry();
    for (const TDatasetFeaturesEntry& entry : registry)
        if (entry.DataSetClass == DataSetClass)
            throw Exception(QStringLiteral("Dataset features already registered for %1").arg(QLatin1String(DataSetClass.name())));
    registry.push_back({DataSetClass, std::move(Serves), std::move(Features)});
}

void UnregisterDatasetFeaturesEh(std::type_index DataSetClass)
{
    std::erase_if(DatasetFeaturesRegistry(),
                  [DataSetClass](const TDatasetFeaturesEntry& Entry) { return Entry.DataSetClass == DataSetClass; });
}

TDatasetFeaturesEh* DatasetFeaturesOf(const TDataSet* DataSet)
{
    if (DataSet == nullptr)
        return nullptr;
    for (const TDatasetFeaturesEntry& entry : DatasetFeaturesRegistry())
        if (entry.Serves(DataSet))
            return entry.Features.get();
    return nullptr;
}
