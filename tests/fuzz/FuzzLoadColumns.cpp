// A stored column set: any text read into the columns of a grid whose owner holds the named
// components a set may refer to. The text either loads or raises the loader's error, and what
// loaded stores and loads again.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "datagrid/DBGridEh.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/data/DataSource.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menus.h"

namespace {

class TFuzzColumnsGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

template <class T>
T* Named(T* Component, const char* Name)
{
    Component->SetName(QString::fromLatin1(Name));
    return Component;
}

void LoadExpectingOnlyReadErrors(TDBGridColumnsEh* Columns, const TStrings& Description)
{
    try {
        LoadColumns(Columns, &Description);
    } catch (const EReadError&) {
    } catch (const EConvertError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    EnsureFuzzApplication();
    TFuzzInput input(Data, Size);
    TComponent owner(nullptr);
    auto* dataSet = new TMemoryDataSet(&owner);
    dataSet->FieldDefs()->Add(QStringLiteral("名称"), TFieldType::ftString, 20);
    dataSet->FieldDefs()->Add(QStringLiteral("数量"), TFieldType::ftInteger);
    dataSet->Open();
    dataSet->AppendRecord({Variant(QStringLiteral("笔")), Variant(2)});
    auto* source = Named(new TDataSource(&owner), "Source1");
    source->SetDataSet(dataSet);
    Named(new TPopupMenu(&owner), "Menu1");
    Named(new TImageList(&owner), "Images1");
    Named(new TCustomAction(&owner), "Action1");
    auto* grid = Named(new TFuzzColumnsGrid(&owner), "Grid1");
    if (input.Bool())
        grid->SetDataSource(source);

    TStringList description;
    description.SetText(input.RestText());
    LoadExpectingOnlyReadErrors(grid->Columns(), description);
    FUZZ_CHECK(!grid->Loading());

    TStringList stored;
    StoreColumns(grid->Columns(), &stored);
    auto* again = Named(new TFuzzColumnsGrid(&owner), "Grid2");
    LoadColumns(again->Columns(), &stored);
    FUZZ_CHECK(again->Columns()->Count() == grid->Columns()->Count());
    return 0;
}
