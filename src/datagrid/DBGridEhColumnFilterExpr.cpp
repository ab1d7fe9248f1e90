// A column's filter-row condition: the typed text, its parse with key and pick lists, the
// values checked in the drop-down and the texts the custom filter dialog writes.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhCenter.h"
#include "datagrid/DBGridEhFilterRow.h"

#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"

using enum TSTFilterCompareKindEh;
using namespace Qt::StringLiterals;

namespace {

const TField* LookupFieldOf(const TColumnEh* Column)
{
    const TCustomDBGridEh* grid = Column == nullptr ? nullptr : Column->OwningGrid();
    if (grid == nullptr || !grid->DataLink()->Active())
        return nullptr;
    const TField* field = Column->Field();
    return field != nullptr && field->Lookup() ? field : nullptr;
}

// Calls Recode on the operand, or on each element of a list operand.
template <class TRecode>
void RecodeOperand(Variant& Operand, TRecode Recode)
{
    if (!VarIsArray(Operand)) {
        Recode(Operand);
        return;
    }
    for (int i = VarArrayLowBound(Operand, 1); i <= VarArrayHighBound(Operand, 1); ++i)
        Recode(Operand[i]);
}

bool IsComparison(TSTFilterCompareKindEh Operator) { return Operator >= fcEqual && Operator <= fcNotIn; }

// The filter language would read such a text otherwise than as one value.
bool NeedsQuotes(const String& Text, TSTFilterCompareKindEh Operator)
{
    if ((Operator == fcIn || Operator == fcNotIn) && Text.contains(u','))
        return true;
    if (Text.startsWith(u' ') || Text.startsWith(u'\'') || Text.endsWith(u' '))
        return true;
    if (Text.endsWith(u" OR", Qt::CaseInsensitive) || Text.endsWith(u" AND", Qt::CaseInsensitive))
        return true;
    return Text.compare(u"OR", Qt::CaseInsensitive) == 0 || Text.compare(u"AND", Qt::CaseInsensitive) == 0;
}

bool IsValueItem(TStrings* Items, int Index) { return dynamic_cast<TPopupListboxItemEhData*>(Items->Objects(Index)); }

}  // namespace

String TSTColumnFilterEh::EffectiveKeyField() const
{
    if (!FKeyField.isEmpty())
        return FKeyField;
    const TField* lookup = LookupFieldOf(FColumn);
    return lookup != nullptr ? lookup->LookupKeyFields() : String();
}

String TSTColumnFilterEh::EffectiveListField() const
{
    if (!FListField.isEmpty())
        return FListField;
    const TField* lookup = LookupFieldOf(FColumn);
    return lookup != nullptr ? lookup->LookupResultField() : String();
}

TDataSet* TSTColumnFilterEh::EffectiveListDataSet() const
{
    if (FListSource != nullptr)
        return FListSource->DataSet();
    const TField* lookup = LookupFieldOf(FColumn);
    return lookup != nullptr ? lookup->LookupDataSet() : nullptr;
}

void TSTColumnFilterEh::SetExpressionText(const String& Text)
{
    FTypedText = Text;
    String exprText;
    ParseExpressionText(Text, exprText);
    const String keyField = EffectiveKeyField();
    const String listField = EffectiveListField();
    TDataSet* list = EffectiveListDataSet();
    if (keyField.isEmpty() || listField.isEmpty() || list == nullptr)
        return;
    // A text the list does not hold keeps its text, so it matches no record: as Null it would
    // select the records without a key.
    const auto toKey = [&](Variant& Value) {
        const Variant key = list->Lookup(listField, Value, keyField);
        if (!VarIsNull(key))
            Value = key;
    };
    if (IsComparison(FExpression.Operator1))
        RecodeOperand(FExpression.Operand1, toKey);
    if (IsComparison(FExpression.Operator2))
        RecodeOperand(FExpression.Operand2, toKey);
}

void TSTColumnFilterEh::ParseExpressionText(const String& Text, String& ExprText)
{
    // A column without a value kind (a blob, an image, bytes) parses too: its condition is kept
    // and its errors are said, though it writes nothing into the dataset's filter.
    FExpression.ExpressionType = ColumnFilterValueKind(FColumn);
    TCustomDBGridEh* grid = FColumn == nullptr ? nullptr : FColumn->OwningGrid();
    const auto defaultOperator = grid != nullptr && grid->Center() != nullptr
                                     ? grid->Center()->DefaultFilterOperator(grid, FColumn, FExpression)
                                     : TSTFilterDefaultOperatorEh::fdoNone;
    ParseFilterExpression(Text, FExpression, defaultOperator);
    RecodeKeyList();
    ExprText = ExpressionText();
}

void TSTColumnFilterEh::RecodeKeyList()
{
    if (FColumn == nullptr || !FColumn->HasKeyList() || !FColumn->HasPickList())
        return;
    TStrings* picks = FColumn->PickList();
    TStrings* keys = FColumn->KeyList();
    const auto toKey = [&](Variant& Value) {
        const int index = picks->IndexOf(VarToStr(Value));
        if (index >= 0 && index < keys->Count())
            Value = keys->Strings(index);
    };
    if (IsComparison(FExpression.Operator1))
        RecodeOperand(FExpression.Operand1, toKey);
    if (IsComparison(FExpression.Operator2))
        RecodeOperand(FExpression.Operand2, toKey);
}

void TSTColumnFilterEh::ApplyExpressionText(const String& Text)
{
    SetExpressionText(Text);
    TCustomDBGridEh* grid = FColumn == nullptr ? nullptr : FColumn->OwningGrid();
    if (grid == nullptr)
        return;
    grid->Invalidate();
    grid->UpdateFilterEditor(true);
}

void TSTColumnFilterEh::ClearFilter()
{
    FKeyValue = Variant::Null();
    ApplyExpressionText(String());
}

void TSTColumnFilterEh::ValuesAsFilterText(const Variant& Value, TSTFilterCompareKindEh Operator, String& Text) const
{
    const String keyField = EffectiveKeyField();
    const String listField = EffectiveListField();
    TDataSet* list = EffectiveListDataSet();
    const bool recode = !keyField.isEmpty() && !listField.isEmpty() && list != nullptr;
    const auto valueText = [&](const Variant& V) {
        const String text = VarToStr(recode ? list->Lookup(keyField, V, listField) : V);
        return NeedsQuotes(text, Operator) ? QuotedStr(text) : text;
    };
    Text.clear();
    if (!VarIsArray(Value)) {
        Text = valueText(Value);
        return;
    }
    for (int i = VarArrayLowBound(Value, 1); i <= VarArrayHighBound(Value, 1); ++i) {
        if (i > VarArrayLowBound(Value, 1))
            Text += u',';
        Text += valueText(Value[i]);
    }
}

void TSTColumnFilterEh::ApplyCheckedItems(TStrings* Items)
{
    String values;
    int checked = 0;
    for (int i = 0; i < Items->Count() && i < static_cast<int>(FMarks.size()); ++i) {
        if (FMarks[i] != 1 || !IsValueItem(Items, i))
            continue;
        values += (checked++ > 0 ? u","_s : String()) + QuotedStr(Items->Strings(i));
    }
    // No value left checked is no condition.
    const String text = checked == 0 ? String() : checked == 1 ? u'=' + values : u"in ("_s + values + u')';
    SetExpressionText(text);
    TCustomDBGridEh* grid = FColumn == nullptr ? nullptr : FColumn->OwningGrid();
    if (grid == nullptr)
        return;
    TInplaceFilterEditEh* editor = grid->FilterEditor();
    if (editor != nullptr && editor->Visible() && editor->Column() == FColumn)
        editor->SetText(text);
    grid->Invalidate();
    if (grid->STFilter()->InstantApply())
        grid->ApplyFilterRow();
}

void TSTColumnFilterEh::MarkItemsFromExpression(TStrings* Items)
{
    std::vector<Variant> values;
    const TSTFilterExpressionEh& expr = FExpression;
    if (expr.Operator1 == fcIn && VarIsArray(expr.Operand1)) {
        for (int i = VarArrayLowBound(expr.Operand1, 1); i <= VarArrayHighBound(expr.Operand1, 1); ++i)
            values.push_back(expr.Operand1[i]);
    } else if (expr.Operator1 == fcEqual) {
        values.push_back(expr.Operand1);
        if (expr.Relation == fcOr && expr.Operator2 == fcEqual)
            values.push_back(expr.Operand2);
    }
    const String keyField = EffectiveKeyField();
    const String listField = EffectiveListField();
    TDataSet* list = EffectiveListDataSet();
    std::vector<String> texts;
    for (const Variant& value : values) {
        const bool recode = !keyField.isEmpty() && !listField.isEmpty() && list != nullptr;
        texts.push_back(VarToStr(recode ? list->Lookup(keyField, value, listField) : value));
    }
    FMarks.assign(static_cast<std::size_t>(Items->Count()), 0);
    for (int i = 0; i < Items->Count(); ++i) {
        if (IsValueItem(Items, i) && std::find(texts.begin(), texts.end(), Items->Strings(i)) != texts.end())
            FMarks[static_cast<std::size_t>(i)] = 1;
    }
}
