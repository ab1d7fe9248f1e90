#pragma once
// Unit Unit_DBGridEhToExcel: a data grid's records written to a spreadsheet workbook (.xlsx): a
// title row, the header of the field names, one row per record and the grid's footer rows.
#include "platform/core/Component.h"
#include "platform/core/DateTime.h"
#include "platform/core/String.h"

#include <functional>
#include <memory>

class TCustomDBGridEh;
class TForm;
class TProgressBar;
class TWorksheet;

// Writes the records of Grid's dataset into Sheet:
// - row 1: Title in column 2, merged and centred across the fields' columns;
// - from row 2: field i's name in column i + 1, split on "|" into one row per part, a part
//   equal to the one on its left in the same row merged with it, and each name's last part
//   reaching down to the last header row;
// - then one row per record in dataset order: integers and floating-point numbers as numbers,
//   every other value as its text, Null as an empty cell;
// - then the grid's footer rows, each footer text under the field its column shows.
// Progress(RecNo) follows each record. The dataset's current record is kept and its controls
// are enabled again, also when writing fails. Answers how many texts were longer than a cell
// holds (32,767 characters) and kept only their beginning.
int WriteGridToWorksheet(TCustomDBGridEh* Grid, TWorksheet& Sheet, const String& Title,
                          const std::function<void(int RecNo)>& Progress = {});

// The name the save dialog offers: "YYYYMMDDHHmmSS_" + Title + ".xlsx".
String DefaultExportFileName(const String& Title, TDateTime Now);

class TDBGridEhToExcel : public TComponent {
public:
    explicit TDBGridEhToExcel(TComponent* AOwner);
    ~TDBGridEhToExcel() override;

    TCustomDBGridEh* DBGridEh() const { return FDBGridEh; }
    void SetDBGridEh(TCustomDBGridEh* Value);
    // A progress window while the records are written; true after construction.
    bool ShowProgress() const { return FShowProgress; }
    void SetShowProgress(bool Value) { FShowProgress = Value; }
    // The sheet's name, the title row and part of the offered file name.
    const String& TitleName() const { return FTitleName; }
    void SetTitleName(const String& Value) { FTitleName = Value; }

    // Asks for the file (waiting while another program has it open, asking before replacing
    // it), writes the workbook and hands it to the desktop's spreadsheet program; where the
    // desktop has none, says where the file is. Texts cut to a cell's limit are told of. A failure is reported and leaves an existing
    // file as it was. Nothing happens unless the grid's dataset is active. Answers the file
    // written, empty when none was.
    String ExportToWorkbook();

    // The progress window and its bar while the records are written; nullptr otherwise.
    TForm* ProgressForm() const { return FProgressForm.get(); }
    TProgressBar* ProgressBar() const { return FProgressBar; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    const char* ClassName() const override { return "TDBGridEhToExcel"; }

private:
    // The chosen file, empty when the user gave up.
    String ChooseTargetFile() const;
    void WriteWorkbook(const String& FileName);
    void OpenProgressWindow(int RecordCount);
    void StepProgress(int RecNo);
    void CloseProgressWindow();

    TCustomDBGridEh* FDBGridEh = nullptr;
    bool FShowProgress = true;
    String FTitleName;
    std::unique_ptr<TForm> FProgressForm;
    TProgressBar* FProgressBar = nullptr;
    // Records per pixel of the bar, and when it was last painted (ms since the epoch).
    int FProgressStep = 1;
    std::int64_t FLastRepaint = 0;
};
