// The record pages' export of their lists to a spreadsheet workbook.
#include "app/Unit_DBGridEhToExcel.h"
#include "app/orecord.h"

#include "datagrid/DBGridEh.h"
#include "platform/core/ScopeExit.h"
#include "platform/core/StringLiterals.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

String TMF1::ExportTitle(const String& Kind) const
{
    for (TPageKind kind : PageKinds)
        if (const TRecordPage page = Page(kind); Kind == String::fromUtf8(page.ExportCode))
            return String::fromUtf8(page.ExportTitle);
    return String();
}

void TMF1::EnableExportButtons(bool Enabled)
{
    for (TPageKind kind : PageKinds)
        Page(kind).ExportButton->SetEnabled(Enabled);
}

// The export buttons wait while an export runs: a click made meanwhile, whether the export's
// own message processing delivers it or it is queued until the export ends, meets a disabled
// button and exports nothing.
void TMF1::ExportGridToExcel(TCustomDBGridEh* Grid, const String& Kind)
{
    // The sheet shows what is stored: an edit still open is stored first, or the export waits.
    if (!PostRecordGridEdits())
        return;
    EnableExportButtons(false);
    const TScopeExit enable([this] {
        Application->ProcessMessages();
        EnableExportButtons(true);
    });
    const TScopeExit readOnly([this, Grid] {
        Grid->SetReadOnly(true);
        MakeRecordGridsReadOnly();
    });
    const TDataSet* data = Grid->DataSource() != nullptr ? Grid->DataSource()->DataSet() : nullptr;
    if (data == nullptr || !data->Active() || data->IsEmpty()) {
        MessageBox(Handle(), u"记录列表内容为空，请选择合适条件查询后导出！"_s, PromptCaption, MB_OK | MB_ICONINFORMATION);
        return;
    }
    TDBGridEhToExcel exporter(nullptr);
    exporter.SetDBGridEh(Grid);
    exporter.SetTitleName(ExportTitle(Kind));
    exporter.SetShowProgress(true);
    exporter.ExportToWorkbook();
}
