#pragma once
// The spreadsheet application as the system's export drives it: an application object with
// its workbooks, a workbook with its worksheets and SaveAs, a worksheet with its name, cells
// and ranges. The members are named after the automation members the export calls; rows and
// columns count from 1, as there.
//
// Nothing is drawn on screen while the export writes: the worksheet keeps its cells, merged
// areas and alignments in memory, and SaveAs writes them as an .xlsx file (libxlsxwriter).
// Making the application visible opens the saved file with the desktop's spreadsheet program.
#include "platform/core/Exceptions.h"
#include "platform/core/String.h"
#include "platform/core/Variant.h"

#include <QStringEncoder>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// The automation constants the export passes.
constexpr int xlWBATWorksheet = -4167;  // WorkBooks.Add: a workbook with one worksheet
constexpr int xlGeneral = 1;
constexpr int xlLeft = -4131;
constexpr int xlCenter = -4108;
constexpr int xlRight = -4152;

// The limits of a worksheet: rows, columns, characters in a cell and in a sheet name.
constexpr int xlMaxRows = 1048576;
constexpr int xlMaxColumns = 16384;
constexpr int xlMaxCellText = 32767;
constexpr int xlMaxSheetName = 31;

class TExcelApplication;
class TWorkbook;

// A text longer than a cell holds keeps its first 32,767 characters (UTF-16 units, the unit
// the limit counts) and loses the rest; the cut never splits a surrogate pair.
String CutCellText(String Text);

// Whether another program has the file open: LibreOffice, which the desktop opens .xlsx files
// with, keeps a lock file ".~lock.<name>#" beside it while it does.
bool WorkbookFileInUse(const String& FileName);
class TWorksheet;

// A rectangle of cells on one worksheet, as Cells and Range return it. It is a small handle,
// valid while its worksheet lives: setting a member changes the worksheet, not the handle, so
// the setters work on the application's Selection too.
class TExcelRange {
public:
    TExcelRange(TWorksheet& Sheet, int Row, int Column, int LastRow, int LastColumn);

    int Row() const { return FRow; }
    int Column() const { return FColumn; }
    int LastRow() const { return FLastRow; }
    int LastColumn() const { return FLastColumn; }
    TWorksheet& Worksheet() const { return *FSheet; }

    // The value of the top-left cell: Unassigned when empty, a double for a number.
    Variant Value() const;
    // Sets every cell of the range. Integers, floating-point numbers and currency become
    // numbers, booleans booleans, Unassigned and Null empty cells, everything else text
    // (never a formula or a number, whatever the text looks like). A text's leading apostrophe
    // is the spreadsheet program's "keep as typed" mark and is dropped: "'00123" stores 00123,
    // "''a" stores 'a.
    void SetValue(const Variant& Value) const;

    // xlGeneral, xlLeft, xlCenter or xlRight; of the top-left cell when read.
    int HorizontalAlignment() const;
    void SetHorizontalAlignment(int Value) const;

    // Whether the range lies inside one merged area. Merging keeps the top-left value only and
    // replaces merged areas the range overlaps; unmerging removes them.
    bool MergeCells() const;
    void SetMergeCells(bool Value) const;

    // Makes this range the application's Selection.
    void Select() const;

private:
    TWorksheet* FSheet;
    int FRow, FColumn, FLastRow, FLastColumn;
};

class TWorksheet {
public:
    explicit TWorksheet(TWorkbook& Workbook, String Name);
    TWorksheet(const TWorksheet&) = delete;
    TWorksheet& operator=(const TWorksheet&) = delete;

    TWorkbook& Workbook() const { return *FWorkbook; }

    const String& Name() const { return FName; }
    // Made valid as it is stored: the characters []:*?/\ become "_", apostrophes at either end
    // are dropped, the name is cut to 31 characters, and an empty name becomes "Sheet1".
    void SetName(const String& Value);

    // Raise EOleException outside the worksheet (rows 1..1048576, columns 1..16384).
    TExcelRange Cells(int Row, int Column);
    TExcelRange Range(const TExcelRange& First, const TExcelRange& Last);

private:
    friend class TExcelRange;
    friend class TWorkbook;

    enum class TCellKind : std::uint8_t { Empty, Number, Boolean, Text };
    // A text is kept as UTF-8 in the sheet's text store, the form the file takes it in: an
    // export of many records holds one buffer of texts, not a string of its own per cell.
    struct TCell {
        TCellKind Kind = TCellKind::Empty;
        std::int8_t Alignment = 0;  // index into the alignment table of Excel.cpp
        std::uint32_t TextSize = 0;  // the text's bytes
        union {
            double Number = 0;
            std::size_t TextAt;  // where the text starts in FTexts; a NUL ends it
        };
    };
    struct TArea {
        int Row, Column, LastRow, LastColumn;
        bool Overlaps(const TArea& Other) const;
    };

    TCell& Cell(int Row, int Column);
    // The columns of a row up to its last cell with a value or an alignment.
    static std::size_t HeldWidth(const std::vector<TCell>& Cells);
    const TCell* FindCell(int Row, int Column) const;
    // Adds Text to the text store as a cell keeps it; answers a text cell of it.
    TCell StoreCellText(QStringView Text);
    const char* TextOf(const TCell& Cell) const { return FTexts.data() + Cell.TextAt; }
    TCell* FindCell(int Row, int Column)
    {
        return const_cast<TCell*>(static_cast<const TWorksheet*>(this)->FindCell(Row, Column));
    }
    void WriteTo(struct lxw_workbook* Book, const String& File) const;

    TWorkbook* FWorkbook;
    String FName;
    // Row by row, each row column by column, from (1, 1): SaveAs walks them in the order the
    // file stores them.
    std::vector<std::vector<TCell>> FRows;
    std::vector<TArea> FMerged;
    std::vector<char> FTexts;  // every text set, each ended by a NUL
    QStringEncoder FUtf8{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

class TWorkbook {
public:
    explicit TWorkbook(TExcelApplication& Application);
    TWorkbook(const TWorkbook&) = delete;
    TWorkbook& operator=(const TWorkbook&) = delete;

    TExcelApplication& Application() const { return *FApplication; }

    // The worksheets, from 1.
    int WorkSheetsCount() const { return int(FSheets.size()); }
    TWorksheet& WorkSheets(int Index);

    // Writes the workbook as an .xlsx file at FileName, replacing a file there. The file is
    // written beside the target and renamed over it, so a failure leaves the target as it was
    // and no partial file behind. Raises EOleException with the reason when the folder cannot
    // be written, the target is a folder or read-only, or another program has it open.
    void SaveAs(const String& FileName);
    // The absolute path of the last SaveAs; empty before.
    const String& FullName() const { return FFullName; }

private:
    TExcelApplication* FApplication;
    std::vector<std::unique_ptr<TWorksheet>> FSheets;
    String FFullName;
};

class TWorkbooks {
public:
    explicit TWorkbooks(TExcelApplication& Application) : FApplication(&Application) {}

    // Only xlWBATWorksheet (a workbook with one worksheet) is known; anything else raises
    // EOleException.
    TWorkbook& Add(int Template = xlWBATWorksheet);
    int Count() const { return int(FItems.size()); }
    // From 1; raises EOleException outside.
    TWorkbook& operator[](int Index);
    void Clear() { FItems.clear(); }

private:
    TExcelApplication* FApplication;
    std::vector<std::unique_ptr<TWorkbook>> FItems;
};

// "Excel.Application". Its workbooks live until Quit or its destruction.
class TExcelApplication {
public:
    TExcelApplication() : FWorkBooks(*this) {}
    TExcelApplication(const TExcelApplication&) = delete;
    TExcelApplication& operator=(const TExcelApplication&) = delete;

    // Nothing here ever asks the user (SaveAs replaces without a question); the flag is kept
    // so that the caller reads back what it set.
    bool DisplayAlerts() const { return FDisplayAlerts; }
    void SetDisplayAlerts(bool Value) { FDisplayAlerts = Value; }

    TWorkbooks& WorkBooks() { return FWorkBooks; }

    // The range last selected; raises EOleException before any Select.
    const TExcelRange& Selection() const;

    // Making the application visible hands every saved workbook to the desktop, which opens it
    // with its program for .xlsx files. Answers whether the desktop took each of them (false
    // when nothing was saved or the desktop has no opener), so that the caller can say where
    // the file is. The desktop's opener runs apart from this program: whether it finds a
    // program for the file is not reported back.
    bool Visible() const { return FVisible; }
    bool SetVisible(bool Value);

    // Closes every workbook without saving.
    void Quit();

private:
    friend class TExcelRange;

    bool FDisplayAlerts = true;
    bool FVisible = false;
    TWorkbooks FWorkBooks;
    std::optional<TExcelRange> FSelection;
};
