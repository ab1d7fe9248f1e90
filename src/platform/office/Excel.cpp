// The spreadsheet's objects in memory: cells, ranges, merges, sheets, workbooks, the application.
#include "platform/office/Excel.h"

#include <QDesktopServices>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

// The alignments a cell can carry, by the index the cell stores.
constexpr int AlignmentValues[] = {xlGeneral, xlLeft, xlCenter, xlRight};

std::int8_t AlignmentIndex(int Value)
{
    const auto* Found = std::find(std::begin(AlignmentValues), std::end(AlignmentValues), Value);
    if (Found == std::end(AlignmentValues))
        throw EOleException(QStringLiteral("无法设置 HorizontalAlignment 属性：%1 不是有效的对齐方式")
                                .arg(Value));
    return std::int8_t(Found - std::begin(AlignmentValues));
}

bool NeedsCleaning(QChar C) { return C.unicode() >= 0xFFFE; }

// How much of Text a cell keeps.
qsizetype CellTextLength(QStringView Text)
{
    if (Text.size() <= xlMaxCellText)
        return Text.size();
    return Text[xlMaxCellText - 1].isHighSurrogate() ? xlMaxCellText - 1 : xlMaxCellText;
}

[[noreturn]] void RaiseOutsideWorksheet(int Row, int Column)
{
    throw EOleException(QStringLiteral("The cell (%1, %2) lies outside the worksheet").arg(Row).arg(Column));
}

void CheckCell(int Row, int Column)
{
    if (Row < 1 || Row > xlMaxRows || Column < 1 || Column > xlMaxColumns) [[unlikely]]
        RaiseOutsideWorksheet(Row, Column);
}

} // namespace

String CutCellText(String Text)
{
    Text.truncate(CellTextLength(Text));
    return Text;
}

// ---- TExcelRange

TExcelRange::TExcelRange(TWorksheet& Sheet, int Row, int Column, int LastRow, int LastColumn)
    : FSheet(&Sheet), FRow(std::min(Row, LastRow)), FColumn(std::min(Column, LastColumn)),
      FLastRow(std::max(Row, LastRow)), FLastColumn(std::max(Column, LastColumn))
{
    CheckCell(FRow, FColumn);
    CheckCell(FLastRow, FLastColumn);
}

Variant TExcelRange::Value() const
{
    const TWorksheet::TCell* Cell = FSheet->FindCell(FRow, FColumn);
    if (!Cell)
        return Variant();
    switch (Cell->Kind) {
    case TWorksheet::TCellKind::Empty: return Variant();
    case TWorksheet::TCellKind::Number: return Variant(Cell->Number);
    case TWorksheet::TCellKind::Boolean: return Variant(Cell->Number != 0);
    case TWorksheet::TCellKind::Text: return Variant(String::fromUtf8(FSheet->TextOf(*Cell), Cell->TextSize));
    }
    return Variant();
}

void TExcelRange::SetValue(const Variant& Value) const
{
    TWorksheet::TCell Typed;
    switch (Value.VarType()) {
    case varEmpty:
    case varNull: break;
    case varBoolean:
        Typed.Kind = TWorksheet::TCellKind::Boolean;
        Typed.Number = Value.AsBoolean() ? 1 : 0;
        break;
    case varSmallint:
    case varInteger:
    case varByte:
    case varWord:
    case varInt64:
    case varSingle:
    case varDouble:
    case varCurrency:
        Typed.Kind = TWorksheet::TCellKind::Number;
        Typed.Number = Value.AsDouble();
        // No file may hold an infinite or undefined number: those keep their text.
        if (!std::isfinite(Typed.Number))
            Typed = FSheet->StoreCellText(Value.AsString());
        break;
    default:
        // The spreadsheet program's mark for "keep this as typed": the apostrophe is not part
        // of the text.
        const String* Held = Value.StringValue();
        const String Converted = Held ? String() : Value.AsString();
        const QStringView Text = Held ? *Held : Converted;
        Typed = FSheet->StoreCellText(Text.mid(Text.startsWith(u'\'') ? 1 : 0));
    }
    // The cells of a range share one stored text.
    for (int R = FRow; R <= FLastRow; ++R)
        for (int C = FColumn; C <= FLastColumn; ++C) {
            TWorksheet::TCell& Cell = FSheet->Cell(R, C);
            Typed.Alignment = Cell.Alignment;
            Cell = Typed;
        }
}

int TExcelRange::HorizontalAlignment() const
{
    const TWorksheet::TCell* Cell = FSheet->FindCell(FRow, FColumn);
    return AlignmentValues[Cell ? Cell->Alignment : 0];
}

void TExcelRange::SetHorizontalAlignment(int Value) const
{
    const std::int8_t Index = AlignmentIndex(Value);
    for (int R = FRow; R <= FLastRow; ++R)
        for (int C = FColumn; C <= FLastColumn; ++C)
            FSheet->Cell(R, C).Alignment = Index;
}

bool TExcelRange::MergeCells() const
{
    return std::any_of(FSheet->FMerged.begin(), FSheet->FMerged.end(), [this](const TWorksheet::TArea& Area) {
        return Area.Row <= FRow && Area.Column <= FColumn && Area.LastRow >= FLastRow
            && Area.LastColumn >= FLastColumn;
    });
}

void TExcelRange::SetMergeCells(bool Value) const
{
    const TWorksheet::TArea Area{FRow, FColumn, FLastRow, FLastColumn};
    std::erase_if(FSheet->FMerged, [&Area](const TWorksheet::TArea& Other) { return Other.Overlaps(Area); });
    if (!Value || (FRow == FLastRow && FColumn == FLastColumn))
        return;
    FSheet->FMerged.push_back(Area);
    // A merged area shows its top-left cell only; the others are emptied, as the spreadsheet
    // program does.
    for (int R = FRow; R <= FLastRow; ++R)
        for (int C = FColumn; C <= FLastColumn; ++C)
            if (R != FRow || C != FColumn)
                if (TWorksheet::TCell* Cell = FSheet->FindCell(R, C))
                    Cell->Kind = TWorksheet::TCellKind::Empty;
}

void TExcelRange::Select() const { FSheet->Workbook().Application().FSelection = *this; }

// ---- TWorksheet

bool TWorksheet::TArea::Overlaps(const TArea& Other) const
{
    return Row <= Other.LastRow && Other.Row <= LastRow && Column <= Other.LastColumn && Other.Column <= LastColumn;
}

TWorksheet::TWorksheet(TWorkbook& Workbook, String Name) : FWorkbook(&Workbook) { SetName(Name); }

void TWorksheet::SetName(const String& Value)
{
    String Name = Value;
    for (QChar& C : Name)
        if (QStringView(u"[]:*?/\\").contains(C))
            C = u'_';
    while (Name.startsWith(u'\''))
        Name.remove(0, 1);
    while (Name.endsWith(u'\''))
        Name.chop(1);
    if (Name.size() > xlMaxSheetName)
        Name.truncate(Name[xlMaxSheetName - 1].isHighSurrogate() ? xlMaxSheetName - 1 : xlMaxSheetName);
    FName = Name.isEmpty() ? QStringLiteral("Sheet1") : Name;
}

TExcelRange TWorksheet::Cells(int Row, int Column) { return TExcelRange(*this, Row, Column, Row, Column); }

TExcelRange TWorksheet::Range(const TExcelRange& First, const TExcelRange& Last)
{
    if (&First.Worksheet() != this || &Last.Worksheet() != this)
        throw EOleException(QStringLiteral("A range joins cells of one worksheet only"));
    return TExcelRange(*this, std::min(First.Row(), Last.Row()), std::min(First.Column(), Last.Column()),
                       std::max(First.LastRow(), Last.LastRow()), std::max(First.LastColumn(), Last.LastColumn()));
}

TWorksheet::TCell& TWorksheet::Cell(int Row, int Column)
{
    if (std::size_t(Row) > FRows.size())
        FRows.resize(Row);
    std::vector<TCell>& Cells = FRows[Row - 1];
    // A row is mostly as wide as the cells the one above it holds: made that wide at once.
    if (std::size_t(Column) > Cells.size())
        Cells.resize(std::max(std::size_t(Column), Row > 1 ? HeldWidth(FRows[Row - 2]) : 0));
    return Cells[Column - 1];
}

std::size_t TWorksheet::HeldWidth(const std::vector<TCell>& Cells)
{
    std::size_t Width = Cells.size();
    while (Width > 0 && Cells[Width - 1].Kind == TCellKind::Empty && Cells[Width - 1].Alignment == 0)
        --Width;
    return Width;
}

TWorksheet::TCell TWorksheet::StoreCellText(QStringView Text)
{
    // Control characters stay: the writer stores them escaped, so they read back as they were.
    // U+FFFE and U+FFFF, which no XML file may hold, become U+FFFD.
    if (std::any_of(Text.begin(), Text.end(), NeedsCleaning)) {
        String Cleaned = Text.toString();
        for (QChar& C : Cleaned)
            if (NeedsCleaning(C))
                C = QChar::ReplacementCharacter;
        return StoreCellText(Cleaned);
    }
    Text.truncate(CellTextLength(Text));
    TCell Stored;
    Stored.Kind = TCellKind::Text;
    Stored.TextAt = FTexts.size();
    // At most three bytes for each UTF-16 unit, a pair's four for its two; the store grows as
    // a whole.
    FTexts.resize(Stored.TextAt + std::size_t(Text.size()) * 3 + 1);
    char* const Start = FTexts.data() + Stored.TextAt;
    char* const End = FUtf8.appendToBuffer(Start, Text);
    *End = '\0';
    Stored.TextSize = std::uint32_t(End - Start);
    FTexts.resize(Stored.TextAt + Stored.TextSize + 1);
    return Stored;
}

const TWorksheet::TCell* TWorksheet::FindCell(int Row, int Column) const
{
    if (std::size_t(Row) > FRows.size() || std::size_t(Column) > FRows[Row - 1].size())
        return nullptr;
    return &FRows[Row - 1][Column - 1];
}

// ---- TWorkbook, TWorkbooks

TWorkbook::TWorkbook(TExcelApplication& Application) : FApplication(&Application)
{
    FSheets.push_back(std::make_unique<TWorksheet>(*this, QStringLiteral("Sheet1")));
}

TWorksheet& TWorkbook::WorkSheets(int Index)
{
    if (Index < 1 || Index > WorkSheetsCount())
        throw EOleException(QStringLiteral("The workbook has no worksheet %1").arg(Index));
    return *FSheets[Index - 1];
}

TWorkbook& TWorkbooks::Add(int Template)
{
    if (Template != xlWBATWorksheet)
        throw EOleException(QStringLiteral("Unknown workbook template %1").arg(Template));
    FItems.push_back(std::make_unique<TWorkbook>(*FApplication));
    return *FItems.back();
}

TWorkbook& TWorkbooks::operator[](int Index)
{
    if (Index < 1 || Index > Count())
        throw EOleException(QStringLiteral("There is no workbook %1").arg(Index));
    return *FItems[Index - 1];
}

// ---- TExcelApplication

const TExcelRange& TExcelApplication::Selection() const
{
    if (!FSelection)
        throw EOleException(QStringLiteral("Nothing is selected"));
    return *FSelection;
}

bool TExcelApplication::SetVisible(bool Value)
{
    FVisible = Value;
    if (!Value)
        return false;
    int Saved = 0;
    bool Shown = true;
    for (int I = 1; I <= FWorkBooks.Count(); ++I) {
        const String& File = FWorkBooks[I].FullName();
        if (File.isEmpty())
            continue;
        ++Saved;
        Shown = QDesktopServices::openUrl(QUrl::fromLocalFile(File)) && Shown;
    }
    return Saved > 0 && Shown;
}

void TExcelApplication::Quit()
{
    FSelection.reset();
    FWorkBooks.Clear();
    FVisible = false;
}
