#pragma once
// A data grid with a window on a form, over an in-memory dataset of stock-in rows: what the
// data link, layout and row tests share.
#include "DBGridEhTestGrid.h"

#include "platform/data/Field.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Messages.h"

#include <QApplication>

// The grid's protected steps, reachable from the tests.
class TCoreTestGrid : public TTestDBGridEh {
public:
    using TTestDBGridEh::TTestDBGridEh;
    using TCustomDBGridEh::ComputeIndicatorWidth;
    using TCustomDBGridEh::CreateWnd;
    using TCustomDBGridEh::EditorMayModify;
    using TCustomDBGridEh::PutCellEditText;
    using TCustomDBGridEh::RecomputeRowMetrics;
    using TCustomDBGridEh::StepAnchorCell;
    using TCustomDBGridEh::UpdateVertScrollBar;
    using TCustomGridEh::ApplyScrollBarAction;

    TScrollInfo VertInfo()
    {
        TScrollInfo Info;
        Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        GetScrollInfo(SB_VERT, Info);
        return Info;
    }
};

class DBGridEhCoreFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Data.reset(NewStockDataSet(nullptr));
        Data->Open();
        AppendRecords(50);
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Data.get());
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 500, 400);
        Grid = new TCoreTestGrid(Form.get());
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetParent(Form.get());
        Grid->HandleNeeded();
    }

    void TearDown() override
    {
        Form.reset();
        Source.reset();
        Data.reset();
    }

    void AppendRecords(int Count)
    {
        for (int i = 0; i < Count; ++i) {
            const int n = Data->RecordCount() + 1;
            Data->AppendRecord({Variant(), Variant(QStringLiteral("物品%1").arg(n)), Variant(n), Variant(n * 0.5)});
        }
        Data->First();
    }

    TColumnEh* AddColumn(const String& FieldName)
    {
        TColumnEh* Column = Grid->Columns()->Add();
        Column->SetFieldName(FieldName);
        return Column;
    }

    // The data rows that fit under the title row (and above the footers), each with its line.
    int RowsThatFit() const
    {
        const int pitch = Grid->ComputedRowHeight() + 1;
        int fixed = Grid->RowsAboveData() > 0 ? Grid->RowHeightAt(0) + 1 : 0;
        if (Grid->FooterRowCount() > 0)
            fixed += Grid->FooterRowCount() * pitch + 1;
        return std::max(1, (Grid->ClientHeight() - fixed) / pitch);
    }

    // The text the grid's column shows for display row Row (0 = first data row).
    String CellText(int Row, int DataCol)
    {
        Grid->SwitchToRowRecord(Row);
        const String Text = Grid->Columns()->ColumnAt(DataCol)->ComputeDisplayText();
        Grid->RestoreRowRecord();
        return Text;
    }

    std::unique_ptr<TMemoryDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TForm> Form;
    TCoreTestGrid* Grid = nullptr;
};
