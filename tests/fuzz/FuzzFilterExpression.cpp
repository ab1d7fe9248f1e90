// Filter expressions: a few records of every field kind read from the input, then the rest as
// the filter text, parsed and evaluated on each record and applied as the dataset's filter.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"
#include "platform/data/Field.h"
#include "platform/data/FieldDefs.h"
#include "platform/data/FilterExpression.h"
#include "platform/data/MemoryDataSet.h"

#include <optional>
#include <vector>

namespace {

Variant NullOr(TFuzzInput& Input, Variant Value) { return Input.Bool() ? Variant::Null() : Value; }

void AddRecord(TDataSet& DataSet, TFuzzInput& Input)
{
    std::vector<Variant> values{Variant()};
    values.push_back(NullOr(Input, Variant(Input.Text())));
    values.push_back(NullOr(Input, Variant(Input.Raw<std::int32_t>())));
    values.push_back(NullOr(Input, Variant(Input.Raw<double>())));
    values.push_back(NullOr(Input, Variant::FromDateTime(static_cast<double>(Input.IntInRange(-700000, 3000000)) / 64)));
    values.push_back(NullOr(Input, Variant(Input.Bool())));
    values.push_back(NullOr(Input, Variant(Input.Text())));
    try {
        DataSet.AppendRecord(values);
    } catch (const Exception&) {
        // A value the field refuses: the record is left out.
        if (DataSet.State() != TDataSetState::dsBrowse)
            DataSet.Cancel();
    }
}

// The records the expression takes, in order; none when evaluating raises.
std::optional<std::vector<int>> Matching(TDataSet& DataSet, const String& Filter)
{
    try {
        const TFilterExpression expression(Filter, &DataSet);
        std::vector<int> result;
        for (DataSet.First(); !DataSet.Eof(); DataSet.Next())
            if (expression.Evaluate())
                result.push_back(DataSet.FieldByName(QStringLiteral("id"))->AsInteger());
        return result;
    } catch (const Exception&) {
        return std::nullopt;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TFuzzInput input(Data, Size);
    TComponent owner(nullptr);
    auto* dataSet = new TMemoryDataSet(&owner);
    TFieldDefs* defs = dataSet->FieldDefs();
    defs->Add(QStringLiteral("id"), TFieldType::ftAutoInc);
    defs->Add(QStringLiteral("姓名"), TFieldType::ftString, 20);
    defs->Add(QStringLiteral("数量"), TFieldType::ftInteger);
    defs->Add(QStringLiteral("单价"), TFieldType::ftFloat);
    defs->Add(QStringLiteral("日期"), TFieldType::ftDateTime);
    defs->Add(QStringLiteral("批准"), TFieldType::ftBoolean);
    defs->Add(QStringLiteral("备注"), TFieldType::ftString, 50);
    dataSet->Open();
    for (int rows = static_cast<int>(input.IntInRange(0, 5)); rows > 0; --rows)
        AddRecord(*dataSet, input);
    const String filter = input.RestText();

    const std::optional<std::vector<int>> expected = Matching(*dataSet, filter);
    std::vector<int> shown;
    try {
        dataSet->SetFilter(filter);
        dataSet->SetFiltered(true);
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
            shown.push_back(dataSet->FieldByName(QStringLiteral("id"))->AsInteger());
    } catch (const Exception&) {
        FUZZ_CHECK(!expected);
        return 0;
    }
    // The filtered dataset shows exactly the records the expression takes.
    if (expected)
        FUZZ_CHECK(shown == *expected);
    return 0;
}
