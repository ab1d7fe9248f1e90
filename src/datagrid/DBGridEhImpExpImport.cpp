// The importers: text and VCLDBIF read back into the grid's selection, record by record, each
// record read whole before any of its values is stored.
#include "datagrid/DBGridEhImpExp.h"

#include "platform/core/StringList.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/Dialogs.h"

using namespace Qt::StringLiterals;

namespace {

bool Editing(const TDataSet* DataSet)
{
    return DataSet->State() == TDataSetState::dsEdit || DataSet->State() == TDataSetState::dsInsert;
}

}  // namespace

// --- The walk -----------------------------------------------------------------------------------

void TDBGridEhImport::CollectColumns(TDBGridEhSelectionType Kind, TColumnsEhList& Columns) const
{
    TDBGridEhSelection* selection = FGrid->Selection();
    TColumnsEhList* visible = FGrid->VisibleColumns();
    switch (Kind) {
    case TDBGridEhSelectionType::gstRecordBookmarks:
    case TDBGridEhSelectionType::gstAll:
        for (int i = 0; i < visible->Count(); ++i)
            Columns.Add(visible->ColumnAt(i));
        break;
    case TDBGridEhSelectionType::gstRectangle:
        for (int i = 0; i < visible->Count(); ++i) {
            const int index = visible->ColumnAt(i)->Index();
            if (index >= selection->Rect()->LeftColIndex() && index <= selection->Rect()->RightColIndex())
                Columns.Add(visible->ColumnAt(i));
        }
        break;
    case TDBGridEhSelectionType::gstColumns:
        for (int i = 0; i < selection->Columns()->Count(); ++i)
            Columns.Add(selection->Columns()->ColumnAt(i));
        break;
    case TDBGridEhSelectionType::gstNon: {
        const TColumnEh* focused = FGrid->FocusedColumn();
        bool from = false;
        for (int i = 0; i < visible->Count(); ++i) {
            from = from || visible->ColumnAt(i) == focused;
            if (from)
                Columns.Add(visible->ColumnAt(i));
        }
        break;
    }
    }
}

void TDBGridEhImport::ReadSelectionFromStream(TStream& Stream, bool WholeGrid)
{
    TDataSet* dataSet = FGrid->DataLink()->DataSet();
    if (dataSet == nullptr || !dataSet->Active())
        return;
    if (WholeGrid) {
        FGrid->Selection()->ResetSelection();
        dataSet->First();
        if (FGrid->VisibleColumns()->Count() > 0)
            FGrid->FocusDataColumn(FGrid->VisibleColumns()->ColumnAt(0)->Index());
    }
    const bool insertMode = dataSet->State() == TDataSetState::dsInsert;
    const TBookmark saved = insertMode || dataSet->IsEmpty() ? TBookmark() : dataSet->Bookmark();
    const bool append = dataSet->Eof();
    const TDBGridEhSelectionType kind = FGrid->Selection()->SelectionType();
    TColumnsEhList columns;
    CollectColumns(kind, columns);
    dataSet->DisableControls();
    try {
        ReadPrefix(Stream);
        if (insertMode)
            AppendImportedRecords(columns, append);
        else
            ReadRecords(kind, columns);
        // The last record read is kept: an Esc in the grid must not drop it silently.
        if (Editing(dataSet))
            dataSet->Post();
    } catch (...) {
        // The record being read is given up whole; those before it are posted already.
        if (Editing(dataSet))
            dataSet->Cancel();
        dataSet->EnableControls();
        if (!saved.isEmpty() && dataSet->BookmarkValid(saved))
            dataSet->SetBookmark(saved);
        try {
            throw;
        } catch (const EAbort&) {
            return;  // the user chose to stop: nothing more to say
        }
    }
    if (!saved.isEmpty() && kind != TDBGridEhSelectionType::gstNon && dataSet->BookmarkValid(saved))
        dataSet->SetBookmark(saved);
    dataSet->EnableControls();
    ReadSuffix();
}

void TDBGridEhImport::ReadRecords(TDBGridEhSelectionType Kind, const TColumnsEhList& Columns)
{
    // Each record is posted when the dataset moves on.
    if (Kind != TDBGridEhSelectionType::gstNon) {
        WalkSelectedRecords(FGrid, Kind, [&] { ReadRecord(Columns); }, [this] { return FEndOfData; });
        return;
    }
    TDataSet* dataSet = FGrid->DataLink()->DataSet();
    while (!dataSet->Eof() && !FEndOfData) {
        ReadRecord(Columns);
        if (FEndOfData)
            break;
        dataSet->Next();
    }
    if (!FEndOfData && FGrid->AllowedOperations().Contains(alopAppendEh))
        AppendImportedRecords(Columns, true);
}

void TDBGridEhImport::AppendImportedRecords(const TColumnsEhList& Columns, bool Append)
{
    TDataSet* dataSet = FGrid->DataLink()->DataSet();
    while (!FEndOfData) {
        if (Append)
            dataSet->Append();
        else
            dataSet->Insert();
        ReadRecord(Columns);
        // Data that ended right at a record's start leaves no record to keep.
        if (!dataSet->Modified() && FEndOfData) {
            dataSet->Cancel();
            break;
        }
        dataSet->Post();
        if (!Append)
            dataSet->Next();
    }
}

void TDBGridEhImport::ImportFromFile(const String& FileName, bool WholeGrid)
{
    TFileStream file(FileName, fmOpenRead);
    ReadSelectionFromStream(file, WholeGrid);
}

// --- Storing ------------------------------------------------------------------------------------

TField* TDBGridEhImport::ColumnStoreField(TColumnEh* Column) const
{
    if (!Column->CanEditCell(false))
        return nullptr;
    TField* field = Column->Field();
    if (field != nullptr && field->Lookup() && field->KeyFields().isEmpty())
        return nullptr;
    return field;
}

bool TDBGridEhImport::BeginStore(TField* Field) const
{
    TDataSet* dataSet = FGrid->DataLink()->DataSet();
    if (!dataSet->CanModify())
        return false;
    if (!Editing(dataSet))
        dataSet->Edit();
    return Editing(dataSet);
}

void TDBGridEhImport::StoreInColumn(TColumnEh* Column, const std::function<void(TField* Field)>& Store)
{
    TField* field = ColumnStoreField(Column);
    if (field == nullptr)
        return;
    try {
        if (BeginStore(field))
            Store(field);
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& error) {
        if (FIgnoreAllErrors)
            return;
        const int answer = MessageDlg(u"插入值过程中出错："_s + u'\n' + error.Message() + u"\n\n忽略错误？"_s,
                                      TMsgDlgType::mtError, mbYes | mbNo | mbAll, 0);
        if (answer == mrAll)
            FIgnoreAllErrors = true;
        else if (answer != mrYes)
            Abort();
    }
}

void TDBGridEhImport::StoreCellText(TColumnEh* Column, const String& Text)
{
    StoreInColumn(Column, [&](TField* field) {
        TDataSet* dataSet = field->DataSet();
        if (field->Lookup()) {
            // The record whose shown text is the pasted text itself, not one that merely starts
            // with it.
            TDataSet* list = field->LookupDataSet();
            if (list == nullptr || !list->Locate(field->LookupResultField(), Variant(Text), TLocateOption::loCaseInsensitive))
                return;
            const std::vector<String> keys = SplitFieldNames(field->KeyFields());
            const std::vector<String> listKeys = SplitFieldNames(field->LookupKeyFields());
            for (std::size_t i = 0; i < keys.size() && i < listKeys.size(); ++i)
                dataSet->FieldByName(keys[i])->SetValue(list->FieldByName(listKeys[i])->Value());
        } else if (Column->HasKeyList() && Column->HasPickList()) {
            const int index = Column->PickList()->IndexOf(Text);
            if (index < 0 || index >= Column->KeyList()->Count())
                // Clearing would lose the value the record has without a word.
                throw Exception(u"\""_s + Text + u"\" 不在列表中"_s);
            field->SetText(Column->KeyList()->Strings(index));
        } else {
            field->SetText(Column->FilterAcceptedChars(Text));
        }
    });
}

void TDBGridEhImport::StoreCellValue(TColumnEh* Column, const Variant& Value)
{
    StoreInColumn(Column, [&](TField* field) {
        if (field->Lookup()) {
            TStringList values;
            values.SetCommaText(Value.AsString());
            const std::vector<String> keys = SplitFieldNames(field->KeyFields());
            for (std::size_t i = 0; i < keys.size() && static_cast<int>(i) < values.Count(); ++i)
                field->DataSet()->FieldByName(keys[i])->SetText(values.Strings(static_cast<int>(i)));
        } else {
            field->SetValue(Value);
        }
    });
}

// --- Text ---------------------------------------------------------------------------------------

void TDBGridEhImportAsText::ReadPrefix(TStream& Stream)
{
    FReader = std::make_unique<TTextCellReaderEh>(Stream, FEncoding, FContext);
    SetEndOfData(FReader->AtEnd());
}

void TDBGridEhImportAsText::ReadRecord(const TColumnsEhList& Columns)
{
    if (FReader->AtEnd()) {
        SetEndOfData(true);
        return;
    }
    std::vector<String> cells;
    for (;;) {
        String text;
        const TTextCellEndEh end = FReader->ReadCell(text);
        if (static_cast<int>(cells.size()) < Columns.Count())
            cells.push_back(std::move(text));
        if (end != TTextCellEndEh::tceCell)
            break;
    }
    for (std::size_t i = 0; i < cells.size(); ++i)
        StoreCellText(Columns.ColumnAt(static_cast<int>(i)), cells[i]);
    SetEndOfData(FReader->AtEnd());
}

// --- VCLDBIF ------------------------------------------------------------------------------------

void TDBGridEhImportAsVCLDBIF::ReadPrefix(TStream& Stream)
{
    FReader = std::make_unique<TVCLDBIFReaderEh>(Stream);
    FReader->ReadHeader();
    FNextValue = FReader->ReadValue();
    // Values without columns could never be read: they would make records without end.
    if (FReader->ColumnCount() == 0 && FNextValue.Tag != TVCLDBIFTagEh::vtEnd)
        TVCLDBIFReaderEh::FormatError();
    SetEndOfData(FNextValue.Tag == TVCLDBIFTagEh::vtEnd);
}

void TDBGridEhImportAsVCLDBIF::ReadRecord(const TColumnsEhList& Columns)
{
    if (EndOfData())
        return;
    ++FRecordNo;
    std::vector<TVCLDBIFValueEh> values;
    try {
        for (int i = 0; i < FReader->ColumnCount(); ++i) {
            if (FNextValue.Tag == TVCLDBIFTagEh::vtEnd)
                TVCLDBIFReaderEh::FormatError();  // the data ends inside the record
            values.push_back(FNextValue);
            FNextValue = FReader->ReadValue();
        }
    } catch (Exception& error) {
        error.SetMessage(error.Message() + u"\n"_s + QStringLiteral("（第 %1 条记录）").arg(FRecordNo));
        throw;
    }
    SetEndOfData(FNextValue.Tag == TVCLDBIFTagEh::vtEnd);
    for (std::size_t i = 0; i < values.size() && static_cast<int>(i) < Columns.Count(); ++i)
        if (values[i].Tag != TVCLDBIFTagEh::vtUnassigned)
            StoreCellValue(Columns.ColumnAt(static_cast<int>(i)), values[i].Value);
}
