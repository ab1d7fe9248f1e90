// Writing a workbook as an .xlsx file through libxlsxwriter.
//
// The library runs in its ordinary mode, which keeps a worksheet's cells until the file is
// closed, not in its constant-memory mode, which writes a row out as soon as a later row is
// touched: a merged area pads every cell it covers, so an area over two rows moves the writer
// to the second row, and every area or cell that starts in the first row after it would be
// lost. The export's header merges areas of rows 2 and 3 side by side, so it needs the ordinary
// mode. The cells are handed over row by row in file order, which keeps the library's row and
// cell trees appending at their ends.
#include "platform/office/Excel.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

[[noreturn]] void RaiseSaveError(const String& FileName, const String& Reason)
{
    throw EOleException(QStringLiteral("无法保存工作簿“%1”。%2").arg(QDir::toNativeSeparators(FileName), Reason));
}

void Check(lxw_error Error, const String& FileName)
{
    if (Error != LXW_NO_ERROR)
        RaiseSaveError(FileName, String::fromUtf8(lxw_strerror(Error)));
}

struct TBookFree {
    void operator()(lxw_workbook* Book) const { lxw_workbook_free(Book); }
};

// One format per alignment of the table in Excel.cpp (general, left, centre, right), the
// general one none at all.
class TAlignmentFormats {
public:
    explicit TAlignmentFormats(lxw_workbook* Book)
    {
        const std::uint8_t Aligns[] = {LXW_ALIGN_LEFT, LXW_ALIGN_CENTER, LXW_ALIGN_RIGHT};
        for (int I = 0; I < 3; ++I) {
            FFormats[I + 1] = workbook_add_format(Book);
            format_set_align(FFormats[I + 1], Aligns[I]);
        }
    }
    lxw_format* operator[](int Index) const { return FFormats[Index]; }

private:
    lxw_format* FFormats[4] = {};
};

// The rights the saved file gets: those of the file it replaces, or those of any new file.
// The temporary file starts private to its user.
mode_t SavedFileMode(const QByteArray& Path)
{
    struct stat Old;
    if (::stat(Path.constData(), &Old) == 0)
        return Old.st_mode & 07777;
    const mode_t Mask = ::umask(0);
    ::umask(Mask);
    return 0666 & ~Mask;
}

bool IsHex(QChar C)
{
    return (C >= u'0' && C <= u'9') || (C >= u'a' && C <= u'f') || (C >= u'A' && C <= u'F');
}

bool IsEscapeAt(const String& Text, qsizetype I)
{
    if (I + 7 > Text.size() || Text[I] != u'_' || Text[I + 1] != u'x' || Text[I + 6] != u'_')
        return false;
    return IsHex(Text[I + 2]) && IsHex(Text[I + 3]) && IsHex(Text[I + 4]) && IsHex(Text[I + 5]);
}

// Spreadsheet programs read "_xHHHH_" in a stored text as the character HHHH, which is how
// the writer stores control characters. A typed text that only looks so gets its underscore
// stored as the escape of an underscore, "_x005F_", so it reads back as typed. The escapes
// count towards a cell's limit: such a text at the limit loses its end.
String StoredText(const String& Text)
{
    String Result;
    Result.reserve(Text.size() + 6);
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (IsEscapeAt(Text, I))
            Result += u"_x005F";
        Result += Text[I];
    }
    return CutCellText(std::move(Result));
}

// A cell's UTF-8 text of Size bytes as the file stores it: as kept, unless a part of it looks
// like an escape; then Escaped holds the stored form.
const char* StoredUtf8(const char* Text, std::uint32_t Size, QByteArray& Escaped)
{
    if (std::string_view(Text, Size).find("_x") == std::string_view::npos)
        return Text;
    Escaped = StoredText(String::fromUtf8(Text, Size)).toUtf8();
    return Escaped.constData();
}

} // namespace

bool WorkbookFileInUse(const String& FileName)
{
    const QFileInfo Info(FileName);
    return QFileInfo::exists(Info.absolutePath() + QStringLiteral("/.~lock.") + Info.fileName() + u'#');
}

void TWorksheet::WriteTo(lxw_workbook* Book, const String& File) const
{
    lxw_worksheet* Sheet = workbook_add_worksheet(Book, FName.toUtf8().constData());
    if (!Sheet)
        RaiseSaveError(File, QStringLiteral("工作表名称“%1”无效").arg(FName));
    const TAlignmentFormats Formats(Book);

    // The areas first, then the cells: a cell written after its area keeps its own value.
    for (const TArea& Area : FMerged) {
        const TCell* TopLeft = FindCell(Area.Row, Area.Column);
        Check(worksheet_merge_range(Sheet, Area.Row - 1, Area.Column - 1, Area.LastRow - 1, Area.LastColumn - 1, "",
                                    Formats[TopLeft ? TopLeft->Alignment : 0]),
              File);
    }
    QByteArray Escaped;
    for (std::size_t R = 0; R < FRows.size(); ++R) {
        const std::vector<TCell>& Row = FRows[R];
        for (std::size_t C = 0; C < Row.size(); ++C) {
            const TCell& Cell = Row[C];
            lxw_format* Format = Formats[Cell.Alignment];
            lxw_error Error = LXW_NO_ERROR;
            switch (Cell.Kind) {
            case TCellKind::Empty:
                if (Format)
                    Error = worksheet_write_blank(Sheet, R, C, Format);
                break;
            case TCellKind::Number: Error = worksheet_write_number(Sheet, R, C, Cell.Number, Format); break;
            case TCellKind::Boolean: Error = worksheet_write_boolean(Sheet, R, C, Cell.Number != 0, Format); break;
            case TCellKind::Text: Error = worksheet_write_string(Sheet, R, C, StoredUtf8(TextOf(Cell), Cell.TextSize, Escaped), Format); break;
            }
            Check(Error, File);
        }
    }
}

void TWorkbook::SaveAs(const String& FileName)
{
    const QFileInfo Target(FileName);
    const String Path = Target.absoluteFilePath();
    if (Target.isDir())
        RaiseSaveError(Path, QStringLiteral("A folder of that name exists"));
    // Asked with the effective rights, as the write would meet them.
    if (Target.exists() && ::faccessat(AT_FDCWD, QFile::encodeName(Path).constData(), W_OK, AT_EACCESS) != 0)
        RaiseSaveError(Path, QStringLiteral("The file is read-only"));
    if (WorkbookFileInUse(Path))
        RaiseSaveError(Path, QStringLiteral("The file is open in another program"));

    // Written beside the target, in the same folder, so the rename that replaces it is atomic.
    QTemporaryFile Temp(Target.absolutePath() + QStringLiteral("/.") + Target.fileName() + QStringLiteral(".XXXXXX"));
    if (!Temp.open())
        RaiseSaveError(Path, Temp.errorString());
    Temp.close();

    // On any failure the temporary file goes with Temp.
    const QByteArray TempName = QFile::encodeName(Temp.fileName());
    lxw_workbook_options Options{};
    std::unique_ptr<lxw_workbook, TBookFree> Book(workbook_new_opt(TempName.constData(), &Options));
    if (!Book)
        RaiseSaveError(Path, QStringLiteral("The workbook could not be created"));
    for (const auto& Sheet : FSheets)
        Sheet->WriteTo(Book.get(), Path);
    Check(workbook_close(Book.release()), Path);  // frees the workbook, also on failure
    const QByteArray TargetName = QFile::encodeName(Path);
    if (::chmod(TempName.constData(), SavedFileMode(TargetName)) != 0
        || std::rename(TempName.constData(), TargetName.constData()) != 0)
        RaiseSaveError(Path, String::fromLocal8Bit(std::strerror(errno)));
    Temp.setAutoRemove(false);
    FFullName = Path;
}
