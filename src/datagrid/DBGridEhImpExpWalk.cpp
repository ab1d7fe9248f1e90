// The exporters' walk over the grid's selection, the cells as the grid shows them, and the footer
// sums and counts over the exported records.
#include "datagrid/DBGridEhImpExp.h"

#include "platform/core/FormatSettings.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/FieldTypes.h"
#include "platform/data/TypedFields.h"

#include <cmath>

namespace {

// Keeps the dataset's controls disabled and its current record for the life of the guard.
class TViewGuard {
public:
    explicit TViewGuard(TDataSet* DataSet) : FDataSet(DataSet)
    {
        FDataSet->DisableControls();
        if (!FDataSet->IsEmpty())
            FBookmark = FDataSet->Bookmark();
    }
    ~TViewGuard()
    {
        try {
            if (!FBookmark.isEmpty() && FDataSet->BookmarkValid(FBookmark))
                FDataSet->SetBookmark(FBookmark);
        } catch (const Exception&) {
            // The record could not be returned to (a pending edit refused to post): stay.
        }
        FDataSet->EnableControls();
    }
    TViewGuard(const TViewGuard&) = delete;
    TViewGuard& operator=(const TViewGuard&) = delete;

private:
    TDataSet* FDataSet;
    TBookmark FBookmark;
};

bool DataSetHasMasterRecords(const TDataSet* DataSet)
{
    const TDataSource* master = DataSet->MasterSource();
    return master != nullptr && master->DataSet() != nullptr && !master->DataSet()->IsEmpty();
}

String NumericDisplayFormat(const TField* Field)
{
    const auto* numeric = dynamic_cast<const TNumericField*>(Field);
    return numeric != nullptr ? numeric->DisplayFormat() : String();
}

}  // namespace

TDataSet* TDBGridEhExport::DataSet() const
{
    return FGrid->DataLink()->DataSet();
}

void TDBGridEhExport::CollectColumns(TDBGridEhSelectionType Kind)
{
    FColumns.Clear();
    TDBGridEhSelection* selection = FGrid->Selection();
    switch (Kind) {
    case TDBGridEhSelectionType::gstRecordBookmarks:
    case TDBGridEhSelectionType::gstAll:
        for (int i = 0; i < FGrid->VisibleColumns()->Count(); ++i)
            FColumns.Add(FGrid->VisibleColumns()->ColumnAt(i));
        break;
    case TDBGridEhSelectionType::gstRectangle: {
        const int left = selection->Rect()->LeftColIndex();
        const int right = selection->Rect()->RightColIndex();
        for (int i = std::max(left, 0); i <= right && i < FGrid->Columns()->Count(); ++i)
            if (FGrid->Columns()->ColumnAt(i)->Visible())
                FColumns.Add(FGrid->Columns()->ColumnAt(i));
        break;
    }
    case TDBGridEhSelectionType::gstColumns:
        for (int i = 0; i < selection->Columns()->Count(); ++i)
            FColumns.Add(selection->Columns()->ColumnAt(i));
        break;
    case TDBGridEhSelectionType::gstNon:
        if (TColumnEh* focused = FGrid->FocusedColumn())
            FColumns.Add(focused);
        break;
    }
}

void TDBGridEhExport::EmitSelection(TStream& Stream, bool WholeGrid) { EmitSelections(FGrid, {{this, &Stream}}, WholeGrid); }

void TDBGridEhExport::EmitSelections(TCustomDBGridEh* Grid, const std::vector<TTarget>& Targets, bool WholeGrid)
{
    TDataSet* dataSet = Grid->DataSource() != nullptr ? Grid->DataSource()->DataSet() : nullptr;
    if (dataSet == nullptr || !dataSet->Active() || Targets.empty())
        return;
    const TDBGridEhSelectionType kind =
        WholeGrid ? TDBGridEhSelectionType::gstAll : Grid->Selection()->SelectionType();
    // A detail dataset's focused cell is not exported (kept as the grid has always done).
    if (kind == TDBGridEhSelectionType::gstNon && DataSetHasMasterRecords(dataSet))
        return;
    TViewGuard guard(dataSet);
    TRecordCells cells;
    for (const TTarget& target : Targets)
        target.Export->BeginExport(*target.Stream, kind, &cells);
    // Every export sums the same records: the first sums them for all.
    TDBGridEhExport& first = *Targets.front().Export;
    first.WalkRecords(kind, [&] {
        cells.Filled = false;
        for (const TTarget& target : Targets)
            target.Export->EmitRecordRow(target.Export->FColumns);
        first.AccumulateFooterValues();
    });
    const int footerRows = kind == TDBGridEhSelectionType::gstNon ? 0 : Grid->FooterRowCount();
    for (const TTarget& target : Targets) {
        TDBGridEhExport& exporter = *target.Export;
        exporter.FFooterValues = first.FFooterValues;
        for (int footer = 0; footer < footerRows; ++footer)
            exporter.EmitFooterRow(exporter.FColumns, footer);
        exporter.EmitSuffix();
        exporter.FRecordCells = nullptr;
    }
}

void TDBGridEhExport::BeginExport(TStream& Stream, TDBGridEhSelectionType Kind, TRecordCells* Cells)
{
    FStream = &Stream;
    FKind = Kind;
    FRecordCells = Cells;
    CollectColumns(Kind);
    const int footerRows = Kind == TDBGridEhSelectionType::gstNon ? 0 : FGrid->FooterRowCount();
    FFooterValues.assign(static_cast<std::size_t>(footerRows) * static_cast<std::size_t>(FColumns.Count()), 0);
    EmitPrefix();
    if (FGrid->Options().Contains(dgTitles) && Kind != TDBGridEhSelectionType::gstNon)
        EmitTitleRow(FColumns);
}

void WalkSelectedRecords(TCustomDBGridEh* Grid, TDBGridEhSelectionType Kind, const std::function<void()>& Visit,
                         const std::function<bool()>& Done)
{
    TDataSet* dataSet = Grid->DataLink()->DataSet();
    switch (Kind) {
    case TDBGridEhSelectionType::gstRecordBookmarks: {
        TBookmarkListEh* rows = Grid->SelectedRows();
        for (int i = 0; i < rows->ItemCount() && !Done(); ++i) {
            // A selected record deleted since is passed over.
            if (!dataSet->BookmarkValid(rows->BookmarkAt(i)))
                continue;
            dataSet->SetBookmark(rows->BookmarkAt(i));
            Visit();
        }
        break;
    }
    case TDBGridEhSelectionType::gstRectangle: {
        TDBGridEhSelectionRect* rect = Grid->Selection()->Rect();
        const TBookmark bottom = rect->BottomRowBookmark();
        dataSet->SetBookmark(rect->TopRowBookmark());
        while (!dataSet->Eof() && !Done()) {
            Visit();
            if (dataSet->CompareBookmarks(dataSet->Bookmark(), bottom) == 0)
                break;
            dataSet->Next();
        }
        break;
    }
    case TDBGridEhSelectionType::gstColumns:
    case TDBGridEhSelectionType::gstAll:
        for (dataSet->First(); !dataSet->Eof() && !Done(); dataSet->Next())
            Visit();
        break;
    case TDBGridEhSelectionType::gstNon: break;
    }
}

void TDBGridEhExport::WalkRecords(TDBGridEhSelectionType Kind, const std::function<void()>& EmitRecord)
{
    if (Kind != TDBGridEhSelectionType::gstNon) {
        WalkSelectedRecords(FGrid, Kind, EmitRecord, [] { return false; });
        return;
    }
    // No footers: the current record alone.
    if (!DataSet()->IsEmpty())
        EmitRecord();
}

void TDBGridEhExport::ExportToFile(const String& FileName, bool WholeGrid)
{
    TFileStream file(FileName, fmCreate);
    EmitSelection(file, WholeGrid);
}

void TDBGridEhExport::EmitTitleRow(const TColumnsEhList&) {}

void TDBGridEhExport::EmitRecordRow(const TColumnsEhList& Columns)
{
    const std::vector<TExportCellEh>& cells = RecordCells();
    for (int i = 0; i < Columns.Count(); ++i)
        EmitDataCell(Columns.ColumnAt(i), cells[static_cast<std::size_t>(i)]);
}

const std::vector<TExportCellEh>& TDBGridEhExport::RecordCells()
{
    TRecordCells& record = *FRecordCells;
    if (record.Filled)
        return record.Cells;
    const auto count = static_cast<std::size_t>(FColumns.Count());
    record.Cells.resize(count);
    while (record.Fonts.size() < count)
        record.Fonts.push_back(std::make_unique<TFont>());
    for (std::size_t i = 0; i < count; ++i) {
        TColumnEh* column = FColumns.ColumnAt(static_cast<int>(i));
        TExportCellEh& cell = record.Cells[i];
        cell.Font = record.Fonts[i].get();
        if (FGrid->OnGetCellParams || column->OnGetCellParams()) {
            TakeHandledCellParams(column, cell);
            continue;
        }
        if (!record.LooksTaken) {
            cell.Font->Assign(column->Font());
            cell.Background = column->Color();
            cell.Alignment = column->Alignment();
        }
        cell.Text = column->ComputeDisplayText();
    }
    record.LooksTaken = true;
    record.Filled = true;
    return record.Cells;
}

void TDBGridEhExport::TakeHandledCellParams(TColumnEh* Column, TExportCellEh& Cell)
{
    TColCellParamsEh params;
    Column->InitCellParams(&params);
    FGrid->RaiseGetCellParams(Column, params.Font(), params.Background, params.State);
    // The background is the grid's handler's to choose; the column's may change all else.
    const TColor background = params.Background;
    Column->FireGetCellParams(false, &params);
    Cell.Font->Assign(params.Font());
    Cell.Background = background;
    Cell.Alignment = params.Alignment;
    Cell.Text = params.Text;
}

void TDBGridEhExport::EmitDataCell(TColumnEh*, const TExportCellEh&) {}

void TDBGridEhExport::EmitFooterRow(const TColumnsEhList& Columns, int FooterNo)
{
    for (int i = 0; i < Columns.Count(); ++i) {
        TColumnEh* column = Columns.ColumnAt(i);
        TColumnFooterEh* footer = column->FooterForRow(FooterNo);
        FCellFont.Assign(footer->Font());
        TExportCellEh cell;
        cell.Font = &FCellFont;
        cell.Background = footer->Color();
        cell.Alignment = footer->Alignment();
        const TFooterValueType type = footer->ValueType();
        if (type == TFooterValueType::fvtSum || type == TFooterValueType::fvtCount)
            cell.Text = FooterValueText(FooterNo, i);
        else
            FGrid->ComputeFooterText(FooterNo, column, cell.Text);
        FGrid->RaiseGetFooterParams(column->Index(), FooterNo, column, &FCellFont, cell.Background, cell.Alignment,
                                    TGridDrawState(), cell.Text);
        EmitFooterCell(i, FooterNo, cell, column);
    }
}

void TDBGridEhExport::EmitFooterCell(int, int, const TExportCellEh&, TColumnEh*) {}

TField* TDBGridEhExport::FooterField(int FooterNo, int ColumnIndex) const
{
    TColumnEh* column = FColumns.ColumnAt(ColumnIndex);
    const TColumnFooterEh* footer = column->FooterForRow(FooterNo);
    const String name = footer->FieldName().isEmpty() ? column->FieldName() : footer->FieldName();
    return DataSet()->FindField(name);
}

void TDBGridEhExport::AccumulateFooterValues()
{
    const int columns = FColumns.Count();
    if (columns == 0)
        return;
    const int footerRows = static_cast<int>(FFooterValues.size()) / columns;
    for (int footer = 0; footer < footerRows; ++footer)
        for (int i = 0; i < columns; ++i) {
            const TField* field = FooterField(footer, i);
            if (field == nullptr)
                continue;
            std::int64_t& value = FFooterValues[static_cast<std::size_t>(footer * columns + i)];
            switch (FColumns.ColumnAt(i)->FooterForRow(footer)->ValueType()) {
            case TFooterValueType::fvtSum:
                if (!field->IsNull())
                    value += std::llround(field->AsFloat() * 10000.0);
                break;
            case TFooterValueType::fvtCount:
                value += 10000;
                break;
            default:
                break;
            }
        }
}

String TDBGridEhExport::FooterValueText(int FooterNo, int ColumnIndex) const
{
    const std::int64_t units = FFooterValues[static_cast<std::size_t>(FooterNo * FColumns.Count() + ColumnIndex)];
    const Currency value = Currency::FromRaw(units);
    if (FColumns.ColumnAt(ColumnIndex)->FooterForRow(FooterNo)->ValueType() == TFooterValueType::fvtCount)
        return FloatToStr(value.ToLongDouble());
    const TField* field = FooterField(FooterNo, ColumnIndex);
    if (field == nullptr)
        return String();
    const String format = NumericDisplayFormat(field);
    // 64-bit integers sum as the grid's own footer shows them.
    if (IsIntegerFieldType(field->DataType()))
        return format.isEmpty() ? IntToStr(std::llround(value.ToLongDouble())) : FormatFloat(format, value.ToLongDouble());
    switch (field->DataType()) {
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency: {
        if (!format.isEmpty())
            return FormatFloat(format, value.ToLongDouble());
        const auto* floatField = dynamic_cast<const TFloatField*>(field);
        const int precision = floatField != nullptr ? floatField->Precision() : 15;
        if (floatField != nullptr && floatField->Currency())
            return FloatToStrF(value.ToLongDouble(), TFloatFormat::ffCurrency, precision, FormatSettings().CurrencyDecimals);
        return FloatToStrF(value.ToLongDouble(), TFloatFormat::ffGeneral, precision, 0);
    }
    case TFieldType::ftBCD:
    case TFieldType::ftFMTBcd: {
        if (!format.isEmpty())
            return FormatCurr(format, value);
        const auto* bcdField = dynamic_cast<const TBCDField*>(field);
        if (bcdField != nullptr && bcdField->Currency())
            return CurrToStrF(value, TFloatFormat::ffCurrency, FormatSettings().CurrencyDecimals);
        return CurrToStrF(value, TFloatFormat::ffGeneral, 0);
    }
    default:
        return String();
    }
}
