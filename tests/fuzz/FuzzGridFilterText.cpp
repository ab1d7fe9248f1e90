// A column's filter-cell text: parsed for a column of each value kind with any default operator.
// A text either parses or raises, leaving the condition as it was; what parses shows a text that
// parses to a record showing the same text, and gives dataset filter text the dataset reads, in
// which "not in" takes exactly the records "in" leaves.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DbUtilsEh.h"

#include "platform/core/Exceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"

#include <cmath>
#include <set>

namespace {

using enum TSTFilterCompareKindEh;

class TFuzzFilterGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

bool SameRecord(const TSTFilterExpressionEh& A, const TSTFilterExpressionEh& B)
{
    return A.ExpressionType == B.ExpressionType && A.Operator1 == B.Operator1 && A.Operand1 == B.Operand1 &&
           A.Relation == B.Relation && A.Operator2 == B.Operator2 && A.Operand2 == B.Operand2;
}

// The ids Filter lets through; false when the dataset refuses the text.
bool Shown(TDataSet& DataSet, const String& Filter, std::set<int>& Ids)
{
    try {
        DataSet.SetFilter(Filter);
        DataSet.SetFiltered(true);
        for (DataSet.First(); !DataSet.Eof(); DataSet.Next())
            Ids.insert(DataSet.FieldByName(QStringLiteral("id"))->AsInteger());
        DataSet.SetFiltered(false);
        return true;
    } catch (const Exception&) {
        DataSet.SetFiltered(false);
        return false;
    }
}

// Operands the dataset cannot read as its field's values: "NOW" on a date, other text than
// True or False on a boolean.
bool HoldsOnlyReadableOperands(const Variant& Operand, TSTFilterValueKindEh Kind)
{
    if (VarIsArray(Operand)) {
        for (int i = VarArrayLowBound(Operand, 1); i <= VarArrayHighBound(Operand, 1); ++i)
            if (!HoldsOnlyReadableOperands(Operand[i], Kind))
                return false;
        return true;
    }
    if (Kind == TSTFilterValueKindEh::fvkBoolean && !VarIsNull(Operand)) {
        const String text = VarToStr(Operand);
        return text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
               text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0;
    }
    if (Kind == TSTFilterValueKindEh::fvkDateTime)
        return !VarIsStr(Operand);
    if (Kind == TSTFilterValueKindEh::fvkNumber && VarType(Operand) == varDouble)
        return std::isfinite(Operand.AsDouble());
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    EnsureFuzzApplication();
    TFuzzInput input(Data, Size);
    static const char* const fieldNames[] = {"s", "n", "d", "b"};
    const auto kind = static_cast<TSTFilterValueKindEh>(input.IntInRange(1, 4));
    const auto defaultOperator = static_cast<TSTFilterDefaultOperatorEh>(input.IntInRange(0, 16));
    const String text = input.RestText();

    TSTFilterExpressionEh expr;
    expr.ExpressionType = kind;
    const TSTFilterExpressionEh before = expr;
    try {
        ParseFilterExpression(text, expr, defaultOperator);
    } catch (const Exception&) {
        FUZZ_CHECK(SameRecord(expr, before));
        return 0;
    }

    const String shown = FilterExpressionText(expr, false);
    FilterExpressionText(expr, true);
    TSTFilterExpressionEh again;
    again.ExpressionType = kind;
    if (!shown.isEmpty()) {
        // Numbers and times show with the digits a cell keeps, so the second reading is the fixed point.
        ParseFilterExpression(shown, again, TSTFilterDefaultOperatorEh::fdoNone);
        FUZZ_CHECK(FilterExpressionText(again, false) == shown);
    }

    TComponent owner(nullptr);
    auto* dataSet = new TMemoryDataSet(&owner);
    dataSet->FieldDefs()->Add(QStringLiteral("id"), TFieldType::ftAutoInc);
    dataSet->FieldDefs()->Add(QStringLiteral("s"), TFieldType::ftString, 20);
    dataSet->FieldDefs()->Add(QStringLiteral("n"), TFieldType::ftFloat);
    dataSet->FieldDefs()->Add(QStringLiteral("d"), TFieldType::ftDateTime);
    dataSet->FieldDefs()->Add(QStringLiteral("b"), TFieldType::ftBoolean);
    dataSet->Open();
    const Variant null = Variant::Null();
    dataSet->AppendRecord({Variant(), Variant(QStringLiteral("it's")), Variant(1.5), Variant::FromDateTime(45292.5), true});
    dataSet->AppendRecord({Variant(), Variant(QStringLiteral("%a,b")), Variant(-2.0), Variant::FromDateTime(45292), false});
    dataSet->AppendRecord({Variant(), Variant(QStringLiteral("张三")), Variant(0.0), null, null});
    dataSet->AppendRecord({Variant(), null, null, Variant::FromDateTime(1), true});
    TDataSource source(nullptr);
    source.SetDataSet(dataSet);
    TFuzzFilterGrid grid(nullptr);
    grid.SetDataSource(&source);
    TColumnEh* column = grid.Columns()->Add();
    column->SetFieldName(QString::fromLatin1(fieldNames[static_cast<int>(kind) - 1]));
    column->STFilter()->Expression() = expr;

    const auto filterText = [&grid] {
        return BuildGridFilterText(&grid, DatasetFilterConditionText, nullptr, true, false);
    };
    std::set<int> taken;
    const bool readable = HoldsOnlyReadableOperands(expr.Operand1, kind) && HoldsOnlyReadableOperands(expr.Operand2, kind);
    const bool read = Shown(*dataSet, filterText(), taken);
    FUZZ_CHECK(read || !readable);

    // A list and its negation split the records between them.
    if (read && expr.Relation == fcNone && (expr.Operator1 == fcIn || expr.Operator1 == fcNotIn)) {
        column->STFilter()->Expression().Operator1 = expr.Operator1 == fcIn ? fcNotIn : fcIn;
        std::set<int> left;
        FUZZ_CHECK(Shown(*dataSet, filterText(), left));
        for (const int id : taken)
            FUZZ_CHECK(left.count(id) == 0);
        FUZZ_CHECK(static_cast<int>(taken.size() + left.size()) == dataSet->RecordCount());
    }
    grid.SetDataSource(nullptr);
    return 0;
}
