// The dataset filter text of a grid: every column's condition in the dataset's filter dialect.
#include "datagrid/DbUtilsEh.h"

#include "datagrid/DBGridEh.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"

using enum TSTFilterCompareKindEh;
using namespace Qt::StringLiterals;

namespace {

String FieldReference(const String& FieldName) { return u'[' + FieldName + u']'; }

// " ([f] = a OR [f] = b)": one equality per value of a list, or of a single value.
String InListText(const String& FieldName, const Variant& Operand, const TFilterDateTextEh& DateText)
{
    String text = u" ("_s;
    const auto addValue = [&](const Variant& Value) {
        if (text.size() > 2)
            text += u" OR "_s;
        text += FieldReference(FieldName) + u" = "_s + FilterValueAsDatasetText(Value, DateText);
    };
    if (VarIsArray(Operand)) {
        for (int i = VarArrayLowBound(Operand, 1); i <= VarArrayHighBound(Operand, 1); ++i)
            addValue(Operand[i]);
    } else {
        addValue(Operand);
    }
    return text + u')';
}

}  // namespace

String FilterValueAsDatasetText(const Variant& Operand, const TFilterDateTextEh& DateText)
{
    switch (VarType(Operand)) {
    case varDouble: return FloatToStr(Operand.AsDouble());
    case varDate: return DateText ? DateText(Operand.AsDateTime()) : QuotedStr(DateTimeToStr(Operand.AsDateTime()));
    default: return QuotedStr(VarToStr(Operand));
    }
}

String DatasetFilterConditionText(const String& FieldName, TSTFilterCompareKindEh Operator, const Variant& Operand,
                                  const TFilterDateTextEh& DateText, bool UseLikeWords)
{
    const String field = FieldReference(FieldName);
    switch (Operator) {
    case fcLike:
    case fcNotLike: {
        const bool like = Operator == fcLike;
        const String word = UseLikeWords ? (like ? u"Like"_s : u"Not Like"_s) : (like ? u"="_s : u"<>"_s);
        return u' ' + field + u' ' + word + u' ' + FilterValueAsDatasetText(Operand, DateText);
    }
    case fcIn: return InListText(FieldName, Operand, DateText);
    // Null equals none of the values, so the negation of the list keeps the Null records.
    case fcNotIn: return u" NOT"_s + InListText(FieldName, Operand, DateText);
    case fcIsNull:
    case fcIsNotNull: return u' ' + field + u' ' + FilterCompareKindWord(Operator);
    default:
        return u' ' + field + u' ' + FilterCompareKindWord(Operator) + u' ' + FilterValueAsDatasetText(Operand, DateText);
    }
}

String ColumnFilterConditionText(const TColumnEh* Column, const TFilterConditionTextEh& ConditionText,
                                 const TFilterDateTextEh& DateText, bool UseLikeWords, bool UseKeyFieldNames)
{
    const TSTColumnFilterEh* filter = Column->STFilter();
    const TSTFilterExpressionEh& expr = filter->Expression();
    const TField* field = Column->Field();
    if (expr.ExpressionType == TSTFilterValueKindEh::fvkUnknown || field == nullptr || expr.Operator1 == fcNone)
        return {};
    const bool keyFields = UseKeyFieldNames && !field->KeyFields().isEmpty() && filter->DataField().isEmpty();
    const String name = keyFields ? field->KeyFields() : filter->DataFieldName();
    String text = ConditionText(name, expr.Operator1, filter->KeyValue1(), DateText, UseLikeWords);
    if (expr.Relation == fcNone)
        return text;
    text += u' ' + FilterCompareKindWord(expr.Relation) +
            ConditionText(name, expr.Operator2, filter->KeyValue2(), DateText, UseLikeWords);
    return expr.Relation == fcOr ? u'(' + text + u')' : text;
}

String BuildGridFilterText(const TCustomDBGridEh* Grid, const TFilterConditionTextEh& ConditionText,
                           const TFilterDateTextEh& DateText, bool UseLikeWords, bool UseKeyFieldNames)
{
    if (Grid->DataSource() == nullptr || Grid->DataSource()->DataSet() == nullptr)
        return {};
    String filter;
    const TDBGridColumnsEh* columns = Grid->Columns();
    for (int i = 0; i < columns->Count(); ++i) {
        const String text =
            ColumnFilterConditionText(columns->ColumnAt(i), ConditionText, DateText, UseLikeWords, UseKeyFieldNames);
        if (!text.isEmpty())
            filter += text + u" AND "_s;
    }
    filter.chop(4);
    return filter;
}
