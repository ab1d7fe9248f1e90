#pragma once
// Export, import and clipboard transfer of what a grid shows. The exporters walk the grid's
// selection (records, a rectangle, columns, everything, or the focused cell) and write titles,
// records and footers in one of five formats; the importers read text or "VCLDBIF" back into the
// same selection of the grid's dataset. Copy puts all five formats on the clipboard at once;
// paste takes the richest one present.
//
// The byte formats themselves are in DBGridEhImpExpFormats.h.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhImpExpFormats.h"

#include "platform/ui/Clipboard.h"

#include <functional>
#include <memory>
#include <vector>

// The registered clipboard formats (registered on first use, the same numbers for the life of
// the program).
void RegisterImpExpClipboardFormats();
TClipboardFormat CF_VCLDBIF();
TClipboardFormat CF_CSV();
TClipboardFormat CF_RTF();

// The separator of CSV exports, for every grid.
extern Char DBGridEhImpExpCsvSeparator;

// One exported cell as the grid would show it. The font belongs to the export's walk and
// changes with the next record (a footer's with the next footer cell).
struct TExportCellEh {
    TFont* Font = nullptr;
    TColor Background = clWindow;
    TAlignment Alignment = TAlignment::taLeftJustify;
    String Text;
};

// --- Exporters ----------------------------------------------------------------------------------

class TDBGridEhExport {
public:
    TDBGridEhExport() = default;
    virtual ~TDBGridEhExport() = default;
    TDBGridEhExport(const TDBGridEhExport&) = delete;
    TDBGridEhExport& operator=(const TDBGridEhExport&) = delete;

    TCustomDBGridEh* Grid() const { return FGrid; }
    void SetGrid(TCustomDBGridEh* Value) { FGrid = Value; }

    // Writes the selection (WholeGrid: everything) to Stream. The dataset's controls are
    // disabled and its current record kept throughout, also on error.
    virtual void EmitSelection(TStream& Stream, bool WholeGrid);
    // Creates or empties the file and writes the selection into it.
    void ExportToFile(const String& FileName, bool WholeGrid);

    // An exporter of the grid's selection and the stream it writes to.
    struct TTarget {
        TDBGridEhExport* Export;
        TStream* Stream;
    };
    // Writes the selection in several formats at once, each exporter (all of Grid) into its own
    // stream, with one walk over the records: a record's cells are computed once for all.
    static void EmitSelections(TCustomDBGridEh* Grid, const std::vector<TTarget>& Targets, bool WholeGrid);

protected:
    virtual void EmitPrefix() {}
    virtual void EmitSuffix() {}
    virtual void EmitTitleRow(const TColumnsEhList& Columns);
    // Each column's cell as shown, then EmitDataCell. Columns are the exported ones.
    virtual void EmitRecordRow(const TColumnsEhList& Columns);
    virtual void EmitDataCell(TColumnEh* Column, const TExportCellEh& Cell);
    // Each footer cell: sums and counts over the exported records, other footers as the grid
    // shows them; then EmitFooterCell with the column's place in the exported list.
    virtual void EmitFooterRow(const TColumnsEhList& Columns, int FooterNo);
    virtual void EmitFooterCell(int DataCol, int FooterNo, const TExportCellEh& Cell, TColumnEh* Column);

    // Adds the current record to the sums and counts of the footers.
    void AccumulateFooterValues();
    // A sum or count footer's text over the exported records.
    String FooterValueText(int FooterNo, int ColumnIndex) const;

    TStream& Stream() const { return *FStream; }
    // The kind of selection being exported.
    TDBGridEhSelectionType SelectionKind() const { return FKind; }
    const TColumnsEhList& Columns() const { return FColumns; }
    TDataSet* DataSet() const;
    // The font cells are handed with.
    TFont* CellFont() { return &FCellFont; }

private:
    // The current record's cells as shown, computed by the first exporter of a walk that asks
    // for them and handed to the others as they are.
    struct TRecordCells {
        std::vector<TExportCellEh> Cells;
        std::vector<std::unique_ptr<TFont>> Fonts;
        bool Filled = false;
        // A column's font, colour and alignment hold for the whole walk unless a cell-params
        // handler changes them per record: they are taken once.
        bool LooksTaken = false;
    };

    // Stream, columns, footer values, prefix and title row of one export of a walk.
    void BeginExport(TStream& Stream, TDBGridEhSelectionType Kind, TRecordCells* Cells);
    void CollectColumns(TDBGridEhSelectionType Kind);
    // Makes EmitRecord current with each selected record in turn.
    void WalkRecords(TDBGridEhSelectionType Kind, const std::function<void()>& EmitRecord);
    const std::vector<TExportCellEh>& RecordCells();
    // Cell as the grid's and the column's OnGetCellParams handlers leave it.
    void TakeHandledCellParams(TColumnEh* Column, TExportCellEh& Cell);
    TField* FooterField(int FooterNo, int ColumnIndex) const;

    TCustomDBGridEh* FGrid = nullptr;
    TStream* FStream = nullptr;
    TDBGridEhSelectionType FKind = TDBGridEhSelectionType::gstNon;
    TColumnsEhList FColumns;
    // Footer row times column count, row-major; currency units (value times 10000).
    std::vector<std::int64_t> FFooterValues;
    TFont FCellFont;
    TRecordCells* FRecordCells = nullptr;
};

// Text: cells joined by TAB, rows by CR LF, in GB18030.
class TDBGridEhExportAsText : public TDBGridEhExport {
public:
    TDBGridEhExportAsText() : TDBGridEhExportAsText(TTextEncodingEh::teAnsi, u'\t', false) {}

protected:
    TDBGridEhExportAsText(TTextEncodingEh Encoding, Char Separator, bool Quoted);

    void EmitPrefix() override;
    void EmitSuffix() override;
    void EmitTitleRow(const TColumnsEhList& Columns) override;
    void EmitRecordRow(const TColumnsEhList& Columns) override;
    void EmitDataCell(TColumnEh* Column, const TExportCellEh& Cell) override;
    void EmitFooterRow(const TColumnsEhList& Columns, int FooterNo) override;
    void EmitFooterCell(int DataCol, int FooterNo, const TExportCellEh& Cell, TColumnEh* Column) override;

private:
    TTextEncodingEh FEncoding;
    Char FSeparator;
    bool FQuoted;
    std::unique_ptr<TTextRowsWriterEh> FWriter;
};

// The same layout in UTF-16LE, written from the texts themselves.
class TDBGridEhExportAsUnicodeText : public TDBGridEhExportAsText {
public:
    TDBGridEhExportAsUnicodeText() : TDBGridEhExportAsText(TTextEncodingEh::teUnicode, u'\t', false) {}
};

// Every cell quoted, joined by DBGridEhImpExpCsvSeparator.
class TDBGridEhExportAsCSV : public TDBGridEhExportAsText {
public:
    TDBGridEhExportAsCSV() : TDBGridEhExportAsText(TTextEncodingEh::teAnsi, DBGridEhImpExpCsvSeparator, true) {}
};

// An RTF table: a row per title level, record and footer row, with the cells' colours, fonts,
// alignment and widths.
class TDBGridEhExportAsRTF : public TDBGridEhExport {
protected:
    void EmitPrefix() override;
    void EmitSuffix() override;
    void EmitTitleRow(const TColumnsEhList& Columns) override;
    void EmitRecordRow(const TColumnsEhList& Columns) override;
    void EmitDataCell(TColumnEh* Column, const TExportCellEh& Cell) override;
    void EmitFooterRow(const TColumnsEhList& Columns, int FooterNo) override;
    void EmitFooterCell(int DataCol, int FooterNo, const TExportCellEh& Cell, TColumnEh* Column) override;

private:
    struct TPendingCell {
        TRtfTextStyleEh Style;
        TColor Background;
        TAlignment Alignment;
        String Text;
        int Width;
    };
    void AddPending(const TExportCellEh& Cell);
    // The collected cells as one row with all borders.
    void EmitPendingRow();
    // One RTF row per title level, merged cells spanning columns and levels.
    void EmitTitleLevels(const TColumnsEhList& Columns);
    int CellSpacing() const;
    int TitleSpacing() const;
    int PixelsPerInch() const;

    std::unique_ptr<TRtfWriterEh> FRtf;
    std::vector<TPendingCell> FPending;
    std::vector<TRtfCellFrameEh> FFrames;
    // The widths of Columns().
    std::vector<int> FWidths;
};

// "VCLDBIF": the records' field values; no titles, no footers.
class TDBGridEhExportAsVCLDBIF : public TDBGridEhExport {
protected:
    void EmitPrefix() override;
    void EmitSuffix() override;
    void EmitTitleRow(const TColumnsEhList&) override {}
    void EmitRecordRow(const TColumnsEhList& Columns) override;
    void EmitFooterRow(const TColumnsEhList&, int) override {}

private:
    std::unique_ptr<TVCLDBIFWriterEh> FWriter;
};

// --- Importers ----------------------------------------------------------------------------------

class TDBGridEhImport {
public:
    TDBGridEhImport() = default;
    virtual ~TDBGridEhImport() = default;
    TDBGridEhImport(const TDBGridEhImport&) = delete;
    TDBGridEhImport& operator=(const TDBGridEhImport&) = delete;

    TCustomDBGridEh* Grid() const { return FGrid; }
    void SetGrid(TCustomDBGridEh* Value) { FGrid = Value; }

    // Reads records into the selection (WholeGrid: from the first record and column on). A
    // record is stored whole or not at all: one the data breaks off in, or whose value the user
    // declines to skip, is given up and the records before it stay. The last record read is
    // posted.
    virtual void ReadSelectionFromStream(TStream& Stream, bool WholeGrid);
    void ImportFromFile(const String& FileName, bool WholeGrid);

protected:
    virtual void ReadPrefix(TStream& Stream) = 0;
    virtual void ReadSuffix() {}
    // Stores the next record of the data into the current record's Columns.
    virtual void ReadRecord(const TColumnsEhList& Columns) = 0;
    bool EndOfData() const { return FEndOfData; }
    void SetEndOfData(bool Value) { FEndOfData = Value; }

    // Stores text in Column's field as the grid's editor would: a lookup column by its list's
    // exact (case-insensitive) result text, a KeyList column by its PickList, others as text.
    void StoreCellText(TColumnEh* Column, const String& Text);
    // Stores a value; a lookup column takes comma text of its key values.
    void StoreCellValue(TColumnEh* Column, const Variant& Value);
    // Runs Store on the field Column stores into, in edit state; nothing without such a field or
    // when the dataset cannot take it. A failure asks whether to skip the value; No gives up
    // the import (EAbort).
    void StoreInColumn(TColumnEh* Column, const std::function<void(TField* Field)>& Store);

private:
    void CollectColumns(TDBGridEhSelectionType Kind, TColumnsEhList& Columns) const;
    void ReadRecords(TDBGridEhSelectionType Kind, const TColumnsEhList& Columns);
    void AppendImportedRecords(const TColumnsEhList& Columns, bool Append);
    TField* ColumnStoreField(TColumnEh* Column) const;
    // Edit state for a store; false when the dataset cannot take it.
    bool BeginStore(TField* Field) const;

    TCustomDBGridEh* FGrid = nullptr;
    bool FEndOfData = false;
    bool FIgnoreAllErrors = false;
};

class TDBGridEhImportAsText : public TDBGridEhImport {
public:
    TDBGridEhImportAsText() : TDBGridEhImportAsText(TTextEncodingEh::teAnsi, "TDBGridEhImportAsText") {}

protected:
    TDBGridEhImportAsText(TTextEncodingEh Encoding, const char* Context) : FEncoding(Encoding), FContext(Context) {}
    void ReadPrefix(TStream& Stream) override;
    // Cells beyond the columns are dropped.
    void ReadRecord(const TColumnsEhList& Columns) override;

private:
    TTextEncodingEh FEncoding;
    const char* FContext;
    std::unique_ptr<TTextCellReaderEh> FReader;
};

class TDBGridEhImportAsUnicodeText : public TDBGridEhImportAsText {
public:
    TDBGridEhImportAsUnicodeText() : TDBGridEhImportAsText(TTextEncodingEh::teUnicode, "TDBGridEhImportAsUnicodeText") {}
};

class TDBGridEhImportAsVCLDBIF : public TDBGridEhImport {
protected:
    void ReadPrefix(TStream& Stream) override;
    // Value i goes to column i; surplus values are skipped, unassigned ones leave the cell.
    void ReadRecord(const TColumnsEhList& Columns) override;

private:
    std::unique_ptr<TVCLDBIFReaderEh> FReader;
    TVCLDBIFValueEh FNextValue;
    int FRecordNo = 0;
};

// --- Free routines ------------------------------------------------------------------------------

template <class TExport>
void ExportGridToStream(TCustomDBGridEh* Grid, TStream& Stream, bool WholeGrid)
{
    TExport exporter;
    exporter.SetGrid(Grid);
    exporter.EmitSelection(Stream, WholeGrid);
}

template <class TImport>
void ImportGridFromStream(TCustomDBGridEh* Grid, TStream& Stream, bool WholeGrid)
{
    TImport importer;
    importer.SetGrid(Grid);
    importer.ReadSelectionFromStream(Stream, WholeGrid);
}

// Makes each record of Grid's selection of Kind (selected records, rectangle, columns or all)
// current in turn and calls Visit, as long as Done answers false; a selected record deleted
// since is passed over. Nothing for a selection of none.
void WalkSelectedRecords(TCustomDBGridEh* Grid, TDBGridEhSelectionType Kind, const std::function<void()>& Visit,
                         const std::function<bool()>& Done);

// Text, Unicode text, CSV and RTF (each with its terminating zero) and VCLDBIF, put on the
// clipboard in one go.
void CopyGridSelectionToClipboard(TCustomDBGridEh* Grid, bool WholeGrid);
void CutGridSelection(TCustomDBGridEh* Grid, bool WholeGrid);
// The first of VCLDBIF, Unicode text and text on the clipboard, read into the selection.
void PasteIntoGrid(TCustomDBGridEh* Grid, bool ToAll);
// Deletes the selected records, or clears the selected cells, after the confirmation the grid's
// dgConfirmDelete asks for.
void DeleteGridSelection(TCustomDBGridEh* Grid, bool WholeGrid);
// Runs Delete in one transaction where the dataset's provider has one (a query on an open
// connection that is in no transaction yet): the deletes are stored together, which is also far
// quicker than one by one, or, when one fails part-way, none of them, and the query reads its
// records again so that the grid shows every record still stored. Other datasets delete as Delete
// goes.
void DeleteInOneTransaction(TDataSet* DataSet, const std::function<void()>& Delete);
void PutStreamOnClipboard(TClipboardFormat Format, TStream& Stream);
void ReadClipboardToStream(TClipboardFormat Format, TStream& Stream);
