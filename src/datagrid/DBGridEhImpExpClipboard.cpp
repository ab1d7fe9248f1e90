// The grid's clipboard commands: copy in five formats at once, paste of the richest format
// present, cut, and delete of the selection.
#include "datagrid/DBGridEhImpExp.h"

#include "platform/ado/ADODB.h"
#include "platform/core/TextEncoding.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;

Char DBGridEhImpExpCsvSeparator = u';';

void RegisterImpExpClipboardFormats()
{
    CF_VCLDBIF();
    CF_CSV();
    CF_RTF();
}

TClipboardFormat CF_VCLDBIF()
{
    static const TClipboardFormat format = RegisterClipboardFormat(u"VCLDBIF"_s);
    return format;
}

TClipboardFormat CF_CSV()
{
    static const TClipboardFormat format = RegisterClipboardFormat(u"Csv"_s);
    return format;
}

TClipboardFormat CF_RTF()
{
    static const TClipboardFormat format = RegisterClipboardFormat(u"Rich Text Format"_s);
    return format;
}

namespace {

// A stream writing into a byte array, so that a large export is not copied once more to go on
// the clipboard. The array grows in doubling steps ahead of the stream's size; a large one at
// once to the size the allocator maps as a block of its own, which then grows without being
// copied (the five formats of a copy grow side by side and would otherwise be moved at every
// step). Pages never written to cost nothing, and the room left is given back at the end.
class TByteArrayStream : public TStream {
public:
    std::int64_t Read(void* Buffer, std::int64_t Count) override
    {
        const std::int64_t count = std::clamp<std::int64_t>(FSize - FPosition, 0, std::max<std::int64_t>(Count, 0));
        std::memcpy(Buffer, FBytes.constData() + FPosition, static_cast<std::size_t>(count));
        FPosition += count;
        return count;
    }
    std::int64_t Write(const void* Buffer, std::int64_t Count) override
    {
        if (Count <= 0)
            return 0;
        const std::int64_t end = FPosition + Count;
        if (end > FBytes.size()) {
            // The largest block glibc's malloc takes from its heap.
            constexpr std::int64_t MappedBlock = 32 << 20;
            std::int64_t size = std::max<std::int64_t>(end, 2 * FBytes.size());
            if (size >= LargeMemoryBlock)
                size = std::max(size, MappedBlock);
            FBytes.resize(size);
            AdviseLargeBlock(FBytes.data(), FBytes.capacity());
        }
        std::memcpy(FBytes.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
        FPosition = end;
        FSize = std::max(FSize, end);
        return Count;
    }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override
    {
        const std::int64_t base = Origin == TSeekOrigin::soBeginning ? 0 : Origin == TSeekOrigin::soCurrent ? FPosition : FSize;
        FPosition = std::clamp<std::int64_t>(base + Offset, 0, FSize);
        return FPosition;
    }
    void SetSize(std::int64_t NewSize) override
    {
        if (NewSize > FBytes.size())
            FBytes.resize(NewSize);
        FSize = NewSize;
        FPosition = std::min(FPosition, NewSize);
    }
    // The bytes written, handed over: the stream is empty after.
    TBytes TakeBytes()
    {
        FBytes.truncate(FSize);
        FBytes.squeeze();
        FSize = FPosition = 0;
        return std::exchange(FBytes, TBytes());
    }

private:
    TBytes FBytes;
    std::int64_t FSize = 0;
    std::int64_t FPosition = 0;
};

// Keeps the dataset's controls disabled while it lives.
class TControlsDisabled {
public:
    explicit TControlsDisabled(TDataSet* DataSet) : FDataSet(DataSet) { FDataSet->DisableControls(); }
    ~TControlsDisabled() { FDataSet->EnableControls(); }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
    TDataSet* FDataSet;
};

// Text without VCLDBIF beside it comes from another program, whose rows may end in LF alone
// (or CR alone): each becomes CR LF, the line end the text importer splits rows at.
String WithCrLfLineEnds(const String& Text)
{
    String result;
    result.reserve(Text.size() + Text.size() / 16);
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar ch = Text[i];
        if (ch == u'\r') {
            result += u"\r\n";
            if (i + 1 < Text.size() && Text[i + 1] == u'\n')
                ++i;
        } else if (ch == u'\n') {
            result += u"\r\n";
        } else {
            result += ch;
        }
    }
    return result;
}

bool Confirmed(const String& Question)
{
    return MessageDlg(Question, TMsgDlgType::mtConfirmation, mbOK | mbCancel, 0) == mrOk;
}

// Clears the fields of Columns' cells that may be edited in the current record.
void ClearSelectedCells(TDataSet* DataSet, const TColumnsEhList& Columns)
{
    for (int i = 0; i < Columns.Count(); ++i) {
        TColumnEh* column = Columns.ColumnAt(i);
        if (!column->CanEditCell(false))
            continue;
        TField* field = column->Field();
        std::vector<TField*> fields;
        if (field != nullptr && field->Lookup()) {
            for (const String& name : SplitFieldNames(field->KeyFields()))
                if (TField* key = DataSet->FindField(name))
                    fields.push_back(key);
        } else if (field != nullptr) {
            fields.push_back(field);
        }
        for (TField* target : fields) {
            if (!target->CanModify())
                continue;
            DataSet->Edit();
            if (DataSet->State() == TDataSetState::dsEdit || DataSet->State() == TDataSetState::dsInsert)
                target->Clear();
        }
    }
}

}  // namespace

void DeleteInOneTransaction(TDataSet* DataSet, const std::function<void()>& Delete)
{
    auto* query = dynamic_cast<TADOQuery*>(DataSet);
    TADOConnection* connection = query != nullptr ? query->Connection() : nullptr;
    if (connection == nullptr || !connection->Connected() || connection->InTransaction()) {
        Delete();
        return;
    }
    const TBookmark saved = query->IsEmpty() ? TBookmark() : query->Bookmark();
    connection->BeginTrans();
    try {
        Delete();
        connection->CommitTrans();
    } catch (...) {
        if (connection->InTransaction())
            connection->RollbackTrans();
        query->Close();
        query->Open();
        if (!saved.isEmpty() && query->BookmarkValid(saved))
            query->SetBookmark(saved);
        throw;
    }
}

void CopyGridSelectionToClipboard(TCustomDBGridEh* Grid, bool WholeGrid)
{
    TDataSet* dataSet = Grid->DataLink()->DataSet();
    if (dataSet == nullptr)
        return;
    // Every format is made before the clipboard changes: a failure leaves it as it was.
    TDBGridEhExportAsText text;
    TDBGridEhExportAsUnicodeText unicodeText;
    TDBGridEhExportAsCSV csv;
    TDBGridEhExportAsRTF rtf;
    TDBGridEhExportAsVCLDBIF vcldbif;
    struct TFormat {
        TClipboardFormat Format;
        TDBGridEhExport* Export;
        int Terminator;
        TByteArrayStream Stream;
    };
    TFormat formats[] = {{CF_TEXT, &text, 1, {}},
                         {CF_UNICODETEXT, &unicodeText, 2, {}},
                         {CF_CSV(), &csv, 1, {}},
                         {CF_RTF(), &rtf, 1, {}},
                         {CF_VCLDBIF(), &vcldbif, 0, {}}};
    std::vector<TDBGridEhExport::TTarget> targets;
    for (TFormat& format : formats) {
        format.Export->SetGrid(Grid);
        targets.push_back({format.Export, &format.Stream});
    }
    {
        TControlsDisabled disabled(dataSet);
        TDBGridEhExport::EmitSelections(Grid, targets, WholeGrid);
    }
    TClipboardContent content;
    for (TFormat& format : formats) {
        const char zeros[2] = {0, 0};
        format.Stream.WriteBuffer(zeros, format.Terminator);
        content[format.Format] = format.Stream.TakeBytes();
    }
    TClipboard* clipboard = Clipboard();
    clipboard->Open();
    for (const auto& [format, bytes] : content)
        clipboard->SetFormatData(format, bytes);
    clipboard->Close();
}

void CutGridSelection(TCustomDBGridEh* Grid, bool WholeGrid)
{
    CopyGridSelectionToClipboard(Grid, WholeGrid);
    DeleteGridSelection(Grid, WholeGrid);
}

void PasteIntoGrid(TCustomDBGridEh* Grid, bool ToAll)
{
    TClipboard* clipboard = Clipboard();
    TMemoryStream stream;
    if (clipboard->HasFormat(CF_VCLDBIF())) {
        ReadClipboardToStream(CF_VCLDBIF(), stream);
        ImportGridFromStream<TDBGridEhImportAsVCLDBIF>(Grid, stream, ToAll);
    } else if (clipboard->HasFormat(CF_UNICODETEXT)) {
        const String text = TextOfUnicodeBytes(clipboard->GetFormatData(CF_UNICODETEXT));
        const TBytes bytes = UnicodeTextBytes(WithCrLfLineEnds(text));
        stream.WriteBuffer(bytes.constData(), bytes.size());
        stream.SetPosition(0);
        ImportGridFromStream<TDBGridEhImportAsUnicodeText>(Grid, stream, ToAll);
    } else if (clipboard->HasFormat(CF_TEXT)) {
        const TBytes ansi = clipboard->GetFormatData(CF_TEXT);
        const qsizetype end = ansi.indexOf('\0');
        const TBytes bytes = EncodeGB18030(WithCrLfLineEnds(DecodeGB18030(end < 0 ? ansi : ansi.left(end))));
        stream.WriteBuffer(bytes.constData(), bytes.size());
        stream.SetPosition(0);
        ImportGridFromStream<TDBGridEhImportAsText>(Grid, stream, ToAll);
    }
}

void PutStreamOnClipboard(TClipboardFormat Format, TStream& Stream)
{
    TBytes bytes(static_cast<qsizetype>(Stream.Size()), Qt::Uninitialized);
    Stream.SetPosition(0);
    Stream.ReadBuffer(bytes.data(), bytes.size());
    Clipboard()->SetFormatData(Format, bytes);
}

void ReadClipboardToStream(TClipboardFormat Format, TStream& Stream)
{
    const TBytes bytes = Clipboard()->GetFormatData(Format);
    Stream.WriteBuffer(bytes.constData(), bytes.size());
    Stream.SetPosition(0);
}

void DeleteGridSelection(TCustomDBGridEh* Grid, bool WholeGrid)
{
    TDataSet* dataSet = Grid->DataLink()->DataSet();
    TDBGridEhSelection* selection = Grid->Selection();
    const TDBGridEhSelectionType kind = WholeGrid ? TDBGridEhSelectionType::gstAll : selection->SelectionType();
    if (dataSet == nullptr || !dataSet->Active() || kind == TDBGridEhSelectionType::gstNon)
        return;
    if (Grid->Options().Contains(dgConfirmDelete)) {
        switch (kind) {
        case TDBGridEhSelectionType::gstRecordBookmarks:
            if (!Confirmed(Grid->SelectedRows()->ItemCount() < 2 ? u"Delete record?"_s : u"Delete all selected records?"_s))
                return;
            break;
        case TDBGridEhSelectionType::gstRectangle:
            if (!Confirmed(u"清除选择的单元？"_s))
                return;
            break;
        case TDBGridEhSelectionType::gstAll:
            // Every record goes: never without the question the grid's option asks for.
            if (!Confirmed(u"Delete all selected records?"_s))
                return;
            break;
        default:
            break;
        }
    }
    TControlsDisabled disabled(dataSet);
    switch (kind) {
    case TDBGridEhSelectionType::gstRecordBookmarks:
        DeleteInOneTransaction(dataSet, [Grid] { Grid->SelectedRows()->DeleteListedRecords(); });
        Grid->SelectedRows()->RemoveAll();
        break;
    case TDBGridEhSelectionType::gstRectangle: {
        TDBGridEhSelectionRect* rect = selection->Rect();
        TColumnsEhList columns;
        for (int i = rect->LeftColIndex(); i <= rect->RightColIndex(); ++i)
            if (Grid->Columns()->ColumnAt(i)->Visible())
                columns.Add(Grid->Columns()->ColumnAt(i));
        const TBookmark saved = dataSet->Bookmark();
        const TBookmark bottom = rect->BottomRowBookmark();
        dataSet->SetBookmark(rect->TopRowBookmark());
        while (!dataSet->Eof()) {
            ClearSelectedCells(dataSet, columns);
            if (dataSet->CompareBookmarks(dataSet->Bookmark(), bottom) == 0)
                break;
            dataSet->Next();
        }
        dataSet->CheckBrowseMode();
        if (dataSet->BookmarkValid(saved))
            dataSet->SetBookmark(saved);
        break;
    }
    case TDBGridEhSelectionType::gstColumns: {
        const TBookmark saved = dataSet->Bookmark();
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
            ClearSelectedCells(dataSet, *selection->Columns());
        dataSet->CheckBrowseMode();
        if (dataSet->BookmarkValid(saved))
            dataSet->SetBookmark(saved);
        break;
    }
    case TDBGridEhSelectionType::gstAll:
        DeleteInOneTransaction(dataSet, [dataSet] {
            dataSet->First();
            while (!dataSet->IsEmpty())
                dataSet->Delete();
        });
        break;
    case TDBGridEhSelectionType::gstNon:
        break;
    }
}
