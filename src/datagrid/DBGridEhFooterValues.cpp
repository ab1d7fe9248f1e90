// The texts of the footer cells: aggregates from the grid's sum list, field values and static
// texts, and the event through which the application restyles a footer cell.
#include "datagrid/DBGridEh.h"

#include "platform/core/FormatSettings.h"
#include "platform/core/Rounding.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/FieldTypes.h"
#include "platform/data/TypedFields.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// What a footer shows for a sum beyond the Currency range.
const String OverflowMark = u"#溢出"_s;
// What a footer shows for a sum over a field the open dataset does not have: no total at all.
const String MissingFieldMark = u"#无此字段"_s;

TGroupOperation SumOperation(TFooterValueType ValueType)
{
    return ValueType == TFooterValueType::fvtAvg ? TGroupOperation::goAvg : TGroupOperation::goSum;
}

String NumericDisplayFormat(const TField* Field)
{
    const auto* numeric = dynamic_cast<const TNumericField*>(Field);
    return numeric != nullptr ? numeric->DisplayFormat() : String();
}

// A sum or an average of Field shown the way the field's type shows numbers. FooterFormat
// (the footer's DisplayFormat) comes before the field's own.
String AggregateText(const TField* Field, Currency Value, const String& FooterFormat)
{
    const String fieldFormat = NumericDisplayFormat(Field);
    if (IsIntegerFieldType(Field->DataType())) {
        if (!FooterFormat.isEmpty())
            return FormatFloat(FooterFormat, Value.ToLongDouble());
        if (!fieldFormat.isEmpty())
            return FormatFloat(fieldFormat, Value.ToLongDouble());
        return IntToStr(Round(Value.ToLongDouble()));
    }
    switch (Field->DataType()) {
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency: {
        if (!FooterFormat.isEmpty())
            return FormatFloat(FooterFormat, Value.ToLongDouble());
        if (!fieldFormat.isEmpty())
            return FormatFloat(fieldFormat, Value.ToLongDouble());
        const auto* floatField = dynamic_cast<const TFloatField*>(Field);
        const int precision = floatField != nullptr ? floatField->Precision() : 15;
        if (floatField != nullptr && floatField->Currency())
            return FloatToStrF(Value.ToLongDouble(), TFloatFormat::ffCurrency, precision,
                               FormatSettings().CurrencyDecimals);
        return FloatToStrF(Value.ToLongDouble(), TFloatFormat::ffGeneral, precision, 0);
    }
    case TFieldType::ftBCD:
    case TFieldType::ftFMTBcd: {
        if (!FooterFormat.isEmpty())
            return FormatFloat(FooterFormat, Value.ToLongDouble());
        if (!fieldFormat.isEmpty())
            return FormatCurr(fieldFormat, Value);
        const auto* bcdField = dynamic_cast<const TBCDField*>(Field);
        if (bcdField != nullptr && bcdField->Currency())
            return CurrToStrF(Value, TFloatFormat::ffCurrency, FormatSettings().CurrencyDecimals);
        return CurrToStrF(Value, TFloatFormat::ffGeneral, 0);
    }
    default:
        return u"0"_s;
    }
}

} // namespace

void TCustomDBGridEh::ComputeFooterText(int Row, TColumnEh* Column, String& Text)
{
    Text.clear();
    const TColumnFooterEh* footer = Column->FooterForRow(Row);
    TDataSet* dataSet = DataSource() != nullptr ? DataSource()->DataSet() : nullptr;
    switch (footer->ValueType()) {
    case TFooterValueType::fvtNon:
        return;
    case TFooterValueType::fvtSum:
    case TFooterValueType::fvtAvg: {
        Text = u"0"_s;
        if (dataSet == nullptr)
            return;
        const String fieldName = footer->FieldName().isEmpty() ? Column->FieldName() : footer->FieldName();
        const TField* field = dataSet->FindField(fieldName);
        if (field == nullptr) {
            if (dataSet->Active())
                Text = MissingFieldMark;
            return;
        }
        // No aggregate (the sum list not yet in step with the footers) shows as nothing summed.
        if (const TDBSum* sum = FSumList->SumCollection()->FindSum(SumOperation(footer->ValueType()), field->FieldName()))
            Text = sum->Overflowed() ? OverflowMark : AggregateText(field, sum->SumValue(), footer->DisplayFormat());
        return;
    }
    case TFooterValueType::fvtCount: {
        const TDBSum* sum = FSumList->SumCollection()->FindSum(TGroupOperation::goCount, String());
        const long double count = sum != nullptr ? sum->SumValue().ToLongDouble() : 0;
        Text = footer->DisplayFormat().isEmpty() ? FloatToStr(count) : FormatFloat(footer->DisplayFormat(), count);
        return;
    }
    case TFooterValueType::fvtFieldValue:
        // A name the dataset lacks shows nothing: this runs while painting, where an error
        // would take the window down.
        if (dataSet != nullptr && dataSet->Active() && !footer->FieldName().isEmpty())
            Text = FormatFieldWithDisplayFormat(dataSet->FindField(footer->FieldName()), footer->DisplayFormat());
        return;
    case TFooterValueType::fvtStaticText:
        Text = footer->Value();
        return;
    }
}

void TCustomDBGridEh::RaiseGetFooterParams(int DataCol, int Row, TColumnEh* Column, TFont* AFont, TColor& Background,
                                           TAlignment& Alignment, TGridDrawState State, String& Text)
{
    if (OnGetFooterParams)
        OnGetFooterParams(this, DataCol, Row, Column, AFont, Background, Alignment, State, Text);
}

void TCustomDBGridEh::InvalidateFooterRows()
{
    for (int row = std::max(0, TotalRowCount() - FooterRowCount()); row < TotalRowCount(); ++row)
        InvalidateRowCells(row);
}

void TCustomDBGridEh::InvalidateTitleRows()
{
    for (int row = 0; row < std::min(RowsAboveData(), TotalRowCount()); ++row)
        InvalidateRowCells(row);
}
