// Unit Unit_DBGridEhToExcel: the workbook a data grid's records are written to, its header,
// cells and footers, the file the user names and the progress window.
#include "app/Unit_DBGridEhToExcel.h"

#include "datagrid/DBGridEh.h"
#include "platform/core/FileNames.h"
#include "platform/core/ScopeExit.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/FieldTypes.h"
#include "platform/office/Excel.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/ProgressBar.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

// The progress window's clock: it repaints by elapsed time, whatever the wall clock does.
std::int64_t MilliSecondsNow()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// --- Cells ------------------------------------------------------------------------------------

enum class TCellKind { Integer, Number, Text };

TCellKind CellKindOf(const TField* Field)
{
    if (IsIntegerFieldType(Field->DataType()))
        return TCellKind::Integer;
    switch (Field->DataType()) {
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD:
    case TFieldType::ftFMTBcd:
        return TCellKind::Number;
    default:
        return TCellKind::Text;
    }
}

// A text cell of exactly Text: a leading apostrophe is the spreadsheet's "keep as typed" mark,
// so a text that starts with one keeps it behind another.
Variant TextCell(String Text)
{
    if (Text.startsWith(u'\''))
        Text.prepend(u'\'');
    return Variant(std::move(Text));
}

// Counts in CutTexts a text longer than a cell holds: the sheet keeps its beginning.
Variant CellValue(const TField* Field, TCellKind Kind, int& CutTexts)
{
    // A record without the value shows an empty cell, not a 0 nobody entered.
    if (Kind != TCellKind::Text) {
        const Variant value = Field->Value();
        if (VarIsNull(value))
            return Variant();
        return Kind == TCellKind::Integer ? value : Variant(value.AsDouble());
    }
    // Only an empty text may stand for no value: the others need not look again.
    String text = Field->AsString();
    if (text.isEmpty() && Field->IsNull())
        return Variant();
    if (text.size() > xlMaxCellText)
        ++CutTexts;
    return TextCell(std::move(text));
}

void CentreAndMerge(TWorksheet& Sheet, int Row, int Column, int LastRow, int LastColumn)
{
    const TExcelRange Area = Sheet.Range(Sheet.Cells(Row, Column), Sheet.Cells(LastRow, LastColumn));
    Area.SetHorizontalAlignment(xlCenter);
    Area.SetMergeCells(true);
}

// --- Layout -----------------------------------------------------------------------------------

void WriteTitle(TWorksheet& Sheet, const String& Title, int FieldCount)
{
    Sheet.Cells(1, 2).SetValue(TextCell(Title));
    if (FieldCount > 2)
        CentreAndMerge(Sheet, 1, 2, 1, FieldCount);
    else
        Sheet.Cells(1, 2).SetHorizontalAlignment(xlCenter);
}

// The header from row 2; answers the number of header rows.
int WriteHeader(TWorksheet& Sheet, const TDataSet& Data)
{
    const int fieldCount = Data.FieldCount();
    std::vector<TStringDynArray> names;
    int depth = 1;
    for (int i = 0; i < fieldCount; ++i) {
        names.push_back(Data.Fields()->Fields(i)->FieldName().split(u'|'));
        depth = std::max(depth, int(names.back().size()));
    }
    // Per header row, the part split off in the column to the left and where its run began.
    std::vector<String> leftPart(depth);
    std::vector<int> runStart(depth, 0);
    for (int i = 0; i < fieldCount; ++i) {
        const TStringDynArray& parts = names[i];
        const int column = i + 1;
        const int last = int(parts.size()) - 1;
        // A part joins the one on its left only under the same (merged) part above it.
        bool sameParent = true;
        for (int level = 0; level < last; ++level) {
            const int row = 2 + level;
            if (sameParent && runStart[level] != 0 && parts[level] == leftPart[level]) {
                CentreAndMerge(Sheet, row, runStart[level], row, column);
            } else {
                Sheet.Cells(row, column).SetValue(TextCell(parts[level]));
                runStart[level] = column;
                leftPart[level] = parts[level];
                sameParent = false;
            }
        }
        // The rows where this name has no split-off part end their runs.
        for (int level = last; level < depth; ++level)
            runStart[level] = 0;
        Sheet.Cells(2 + last, column).SetValue(TextCell(parts[last]));
        if (depth > 1) {
            if (last < depth - 1)
                CentreAndMerge(Sheet, 2 + last, column, 1 + depth, column);
            else
                Sheet.Cells(2 + last, column).SetHorizontalAlignment(xlCenter);
        }
    }
    return depth;
}

// Writes the records from Row on; answers the row after them.
int WriteRecords(TWorksheet& Sheet, TDataSet& Data, int Row, const std::function<void(int)>& Progress, int& CutTexts)
{
    std::vector<std::pair<TField*, TCellKind>> fields;
    for (int i = 0; i < Data.FieldCount(); ++i) {
        TField* field = Data.Fields()->Fields(i);
        fields.emplace_back(field, CellKindOf(field));
    }
    Data.DisableControls();
    const TScopeExit enable([&Data] { Data.EnableControls(); });
    const TBookmark current = Data.IsEmpty() ? TBookmark() : Data.Bookmark();
    const auto returnToCurrent = [&] {
        if (!current.isEmpty() && Data.BookmarkValid(current))
            Data.SetBookmark(current);
    };
    try {
        int recNo = 0;
        for (Data.First(); !Data.Eof(); Data.Next(), ++Row) {
            for (std::size_t i = 0; i < fields.size(); ++i)
                Sheet.Cells(Row, int(i) + 1).SetValue(CellValue(fields[i].first, fields[i].second, CutTexts));
            if (Progress)
                Progress(++recNo);
        }
    } catch (...) {
        returnToCurrent();
        throw;
    }
    returnToCurrent();
    return Row;
}

// A footer that reads as a number is stored as one, as the spreadsheet program would take it
// typed in; any other footer is text.
Variant FooterCellValue(const String& Text)
{
    double number = 0;
    if (!Text.trimmed().isEmpty() && TryStrToFloat(Text, number))
        return Variant(number);
    return TextCell(Text);
}

// Each footer goes into the column of the field its grid column shows, so that it stands under
// that field's data; columns without a field of the dataset have no place in the sheet.
void WriteFooters(TWorksheet& Sheet, TCustomDBGridEh& Grid, const TDataSet& Data, int Row)
{
    const int rows = Grid.FooterRowCount();
    for (int i = 0; i < Grid.Columns()->Count(); ++i) {
        TColumnEh* column = Grid.Columns()->ColumnAt(i);
        const TField* field = column->FieldName().isEmpty() ? nullptr : Data.FindField(column->FieldName());
        if (!column->Visible() || field == nullptr)
            continue;
        for (int footerRow = 0; footerRow < rows; ++footerRow) {
            String text;
            Grid.ComputeFooterText(footerRow, column, text);
            // The application may restyle the cell as it does for painting: on copies, so the
            // footer keeps its own settings.
            const TColumnFooterEh* footer = column->FooterForRow(footerRow);
            TFont font;
            font.Assign(footer->Font());
            TColor background = footer->Color();
            TAlignment alignment = footer->Alignment();
            Grid.RaiseGetFooterParams(i, footerRow, column, &font, background, alignment, TGridDrawState(), text);
            if (!text.isEmpty())
                Sheet.Cells(Row + footerRow, field->Index() + 1).SetValue(FooterCellValue(text));
        }
    }
}

TDataSet* GridDataSet(const TCustomDBGridEh* Grid)
{
    return Grid != nullptr ? Grid->DataLink()->DataSet() : nullptr;
}

// --- Questions ----------------------------------------------------------------------------------

bool AskToRetryInUse()
{
    return MessageBox(nullptr, u"目标文件使用中，请退出目标文件后点击确定继续！"_s, u"注意"_s,
                      MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

bool AskToReplace(const String& FileName)
{
    return MessageBox(nullptr, u"已存在文件（"_s + FileName + u"），是否覆盖？"_s, u"提示"_s,
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

// The hourglass until the end of the scope.
class THourGlass {
public:
    THourGlass() : FPrevious(Screen->Cursor()) { Screen->SetCursor(crHourGlass); }
    ~THourGlass() { Screen->SetCursor(FPrevious); }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor FPrevious;
};

} // namespace

int WriteGridToWorksheet(TCustomDBGridEh* Grid, TWorksheet& Sheet, const String& Title,
                         const std::function<void(int RecNo)>& Progress)
{
    TDataSet* data = GridDataSet(Grid);
    if (data == nullptr || !data->Active())
        return 0;
    WriteTitle(Sheet, Title, data->FieldCount());
    const int headerRows = WriteHeader(Sheet, *data);
    int cutTexts = 0;
    const int footerRow = WriteRecords(Sheet, *data, 2 + headerRows, Progress, cutTexts);
    WriteFooters(Sheet, *Grid, *data, footerRow);
    return cutTexts;
}

String DefaultExportFileName(const String& Title, TDateTime Now)
{
    return FormatDateTime(u"YYYYMMDDHHmmSS"_s, Now) + u'_' + Title + u".xlsx"_s;
}

// --- TDBGridEhToExcel -----------------------------------------------------------------------------

TDBGridEhToExcel::TDBGridEhToExcel(TComponent* AOwner) : TComponent(AOwner) {}

TDBGridEhToExcel::~TDBGridEhToExcel() = default;

void TDBGridEhToExcel::SetDBGridEh(TCustomDBGridEh* Value)
{
    if (FDBGridEh == Value)
        return;
    if (FDBGridEh != nullptr)
        FDBGridEh->RemoveFreeNotification(this);
    FDBGridEh = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TDBGridEhToExcel::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDBGridEh)
        FDBGridEh = nullptr;
}

String TDBGridEhToExcel::ExportToWorkbook()
{
    const TDataSet* data = GridDataSet(FDBGridEh);
    if (data == nullptr || !data->Active())
        return {};
    const String fileName = ChooseTargetFile();
    if (fileName.isEmpty())
        return {};
    Application->ProcessMessages();
    try {
        WriteWorkbook(fileName);
    } catch (const Exception& E) {
        MessageDlg(u"导出Excel文件失败：\n"_s + E.Message(), TMsgDlgType::mtError, mbOK, 0);
        return {};
    }
    return fileName;
}

String TDBGridEhToExcel::ChooseTargetFile() const
{
    TSaveDialog dialog(nullptr);
    dialog.SetFileName(DefaultExportFileName(FTitleName, Now()));
    dialog.SetFilter(u"Excel文件 (*.xlsx)|*.xlsx"_s);
    dialog.SetDefaultExt(u"xlsx"_s);
    if (!dialog.Execute() || dialog.FileName().isEmpty())
        return {};
    const String fileName = ExpandFileName(dialog.FileName());
    while (PathExists(fileName) && WorkbookFileInUse(fileName))
        if (!AskToRetryInUse())
            return {};
    // Saying yes replaces the file only once the new one is written in full.
    if (PathExists(fileName) && !AskToReplace(fileName))
        return {};
    return fileName;
}

void TDBGridEhToExcel::WriteWorkbook(const String& FileName)
{
    bool shown = false;
    int cutTexts = 0;
    {
        THourGlass hourGlass;
        if (FShowProgress)
            OpenProgressWindow(GridDataSet(FDBGridEh)->RecordCount());
        const TScopeExit closeProgress([this] { CloseProgressWindow(); });
        TExcelApplication excel;
        excel.SetDisplayAlerts(false);
        TWorkbook& book = excel.WorkBooks().Add(xlWBATWorksheet);
        TWorksheet& sheet = book.WorkSheets(1);
        sheet.SetName(FTitleName);
        cutTexts = WriteGridToWorksheet(FDBGridEh, sheet, FTitleName, [this](int RecNo) { StepProgress(RecNo); });
        sheet.Cells(1, 1).Select();
        book.SaveAs(FileName);
        shown = excel.SetVisible(true);
    }
    if (cutTexts > 0)
        MessageBox(nullptr,
                   u"有%1个单元格的文字超过%2个字符，表格中只保存了它们的前%2个字符。"_s.arg(cutTexts).arg(xlMaxCellText),
                   u"提示"_s, MB_OK | MB_ICONINFORMATION);
    if (!shown)
        MessageBox(nullptr, u"Excel文件已保存到：\n"_s + FileName, u"提示"_s, MB_OK | MB_ICONINFORMATION);
}

void TDBGridEhToExcel::OpenProgressWindow(int RecordCount)
{
    FProgressForm = std::make_unique<TForm>(nullptr);
    TForm* form = FProgressForm.get();
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetColor(clBlue);
    form->SetPosition(TPosition::poScreenCenter);
    form->Font()->SetName(u"宋体"_s);
    form->Font()->SetSize(10);
    form->SetBounds(0, 0, 300, 100);
    // The blue border, 2 pixels wide, round the panel.
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(2, 2, 296, 96);
    panel->SetBevelInner(TPanelBevel::bvNone);
    panel->SetBevelOuter(TPanelBevel::bvRaised);
    panel->SetCaption(String());
    auto* label = new TLabel(form);
    label->SetParent(panel);
    label->SetAutoSize(true);
    label->SetLeft(23);
    label->SetTop(23);
    label->SetCaption(u"正在导出数据，请稍候……"_s);
    FProgressBar = new TProgressBar(form);
    FProgressBar->SetParent(panel);
    FProgressBar->SetBounds(18, 48, 260, 18);
    FProgressBar->SetSmooth(true);
    FProgressBar->SetStep(1);
    FProgressBar->SetMin(0);
    FProgressBar->SetMax(RecordCount);
    FProgressBar->SetPosition(0);
    FProgressStep = std::max(1, RecordCount / FProgressBar->Width());
    form->Show();
    form->Repaint();
    FLastRepaint = MilliSecondsNow();
}

void TDBGridEhToExcel::StepProgress(int RecNo)
{
    // Moving and painting the bar at every record would cost more than writing the record: it
    // moves when it grows by a pixel's worth, and paints a few times a second, which is all the
    // eye follows.
    if (FProgressBar == nullptr || (RecNo - FProgressBar->Position() < FProgressStep && RecNo != FProgressBar->Max()))
        return;
    FProgressBar->SetPosition(RecNo);
    const std::int64_t now = MilliSecondsNow();
    if (now - FLastRepaint >= 40 || RecNo == FProgressBar->Max()) {
        FProgressBar->Repaint();
        FLastRepaint = now;
    }
}

void TDBGridEhToExcel::CloseProgressWindow()
{
    FProgressBar = nullptr;
    FProgressForm.reset();
}
