#pragma once
// A grid importer on arbitrary bytes: a grid over a few records of every field kind, a
// selection and focused column chosen by the first bytes, the rest imported as the clipboard
// would hand it. Whatever the bytes, the import either stores what it can or raises one of the
// importer's messages; no record is left half-edited and nothing outside the dataset changes.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "datagrid/DBGridEhImpExp.h"

#include "platform/core/Exceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/ui/Dialogs.h"

#include <memory>

class TFuzzImportGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

template <class TImport>
void RunGridImport(const std::uint8_t* Data, std::size_t Size, const char* MessagePrefix)
{
    EnsureFuzzApplication();
    TFuzzInput input(Data, Size);
    TComponent owner(nullptr);
    auto* dataSet = new TMemoryDataSet(&owner);
    TFieldDefs* defs = dataSet->FieldDefs();
    defs->Add(QStringLiteral("id"), TFieldType::ftAutoInc);
    defs->Add(QStringLiteral("名称"), TFieldType::ftString, 20);
    defs->Add(QStringLiteral("数量"), TFieldType::ftInteger);
    defs->Add(QStringLiteral("金额"), TFieldType::ftFloat);
    defs->Add(QStringLiteral("日期"), TFieldType::ftDateTime);
    defs->Add(QStringLiteral("批准"), TFieldType::ftBoolean);
    dataSet->Open();
    for (int i = 0; i < 3; ++i)
        dataSet->AppendRecord({Variant(), Variant(QStringLiteral("物品%1").arg(i)), Variant(i), Variant(i * 1.5),
                               Variant::FromDateTime(45000 + i), Variant(i % 2 == 0)});
    auto* source = new TDataSource(&owner);
    source->SetDataSet(dataSet);
    auto* grid = new TFuzzImportGrid(&owner);
    grid->SetOptions(grid->Options() | dgMultiSelect);
    grid->SetDataSource(source);

    dataSet->SetRecNo(1 + static_cast<int>(input.IntInRange(0, 2)));
    grid->FocusDataColumn(static_cast<int>(input.IntInRange(0, 5)));
    switch (input.IntInRange(0, 4)) {
    case 0:
        grid->SelectedRows()->SetCurrentRowSelected(true);
        break;
    case 1:
        grid->Selection()->Columns()->SelectColumn(grid->Columns()->ColumnAt(static_cast<int>(input.IntInRange(0, 5))), false);
        break;
    case 2: {
        const TBookmark first = dataSet->Bookmark();
        dataSet->SetRecNo(3);
        grid->Selection()->Rect()->SelectTo(1, first, false);
        grid->Selection()->Rect()->SelectTo(4, dataSet->Bookmark(), true);
        break;
    }
    case 3:
        grid->Selection()->SelectAllCells();
        break;
    default:
        break;
    }
    const bool wholeGrid = input.Bool();
    const QByteArray bytes = input.RestBytes();

    TScriptedDialogs dialogs;  // a value that does not store is skipped (the default answer)
    TMemoryStream stream;
    stream.WriteBuffer(bytes.constData(), bytes.size());
    stream.SetPosition(0);
    try {
        ImportGridFromStream<TImport>(grid, stream, wholeGrid);
    } catch (const Exception& error) {
        FUZZ_CHECK(error.Message().startsWith(QString::fromUtf8(MessagePrefix)));
    }
    FUZZ_CHECK(dataSet->State() == TDataSetState::dsBrowse);
    FUZZ_CHECK(dataSet->RecordCount() >= 3);
}
