#pragma once
// The filter conditions of the grid's columns: the parsed record, the operator codes and their
// two text maps, the parser of the filter-cell text, the text shown back in the cell and the
// dataset filter text of a whole grid; and the record scan that finds a text in a grid.
//
// Where the parts live:
//   DbUtilsEh.cpp      the record, the lexer and parser, operand conversion, the cell text
//   DbUtilsEhText.cpp  the dataset filter text of a grid
//   DbUtilsEhFind.cpp  the text search (FindTextInGrid) and the dataset-features registry
#include "datagrid/DBGridEhSearch.h"
#include "platform/core/DateTime.h"
#include "platform/core/String.h"
#include "platform/core/Variant.h"
#include "platform/data/DataTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <typeindex>

class TBMListEh;
class TColumnEh;
class TCustomDBGridEh;
class TDataSet;

// --- The parsed condition -----------------------------------------------------------------------

// Operator codes of a column's condition; fcValue is only the lexer's answer for an operand.
enum class TSTFilterCompareKindEh : std::uint8_t {
    fcNone, fcEqual, fcNotEqual, fcGreater, fcLess, fcGreaterOrEqual, fcLessOrEqual, fcLike, fcNotLike,
    fcIn, fcNotIn, fcIsNull, fcIsNotNull, fcAnd, fcOr, fcValue
};

// The kind of a column's values, which decides how operands convert.
enum class TSTFilterValueKindEh : std::uint8_t { fvkUnknown, fvkString, fvkNumber, fvkDateTime, fvkBoolean };

// The operator a bare value takes; fdoNone leaves it to the value's kind, 1-10 are the operator
// codes, the rest like or not like with "%" added.
enum class TSTFilterDefaultOperatorEh : std::uint8_t {
    fdoNone, fdoEqual, fdoNotEqual, fdoGreater, fdoLess, fdoGreaterOrEqual, fdoLessOrEqual, fdoLike,
    fdoNotLike, fdoIn, fdoNotIn, fdoBeginsWith, fdoNotBeginsWith, fdoEndsWith, fdoNotEndsWith,
    fdoContains, fdoNotContains
};

// One column's condition: at most two comparisons joined by AND or OR. An operand is Null, one
// value, or a variant array (lower bound 0) for a list.
struct TSTFilterExpressionEh {
    TSTFilterValueKindEh ExpressionType = TSTFilterValueKindEh::fvkUnknown;
    TSTFilterCompareKindEh Operator1 = TSTFilterCompareKindEh::fcNone;
    Variant Operand1 = Variant::Null();
    TSTFilterCompareKindEh Relation = TSTFilterCompareKindEh::fcNone;  // fcNone, fcAnd or fcOr
    TSTFilterCompareKindEh Operator2 = TSTFilterCompareKindEh::fcNone;
    Variant Operand2 = Variant::Null();
};

// What the filter cell shows for an operator ("=", "~", "!In", ...).
String FilterCompareKindText(TSTFilterCompareKindEh Kind);
// The operator's word in dataset filter text ("=", "LIKE", "NOT IN", ...).
String FilterCompareKindWord(TSTFilterCompareKindEh Kind);
TSTFilterValueKindEh FilterValueKindOfFieldType(TFieldType Type);
// The kind of a column's values: text for a column with both a KeyList and a PickList, else by
// its field's type; unknown without a field.
TSTFilterValueKindEh ColumnFilterValueKind(const TColumnEh* Column);

// Empties the conditions; ExpressionType stays.
void ResetFilterExpression(TSTFilterExpressionEh& Expr);

// Parses Text into Expr, whose ExpressionType must be set. Raises a plain Exception (a message
// followed by the trimmed text) or the platform's EConvertError for an operand that does not
// convert; Expr is then left as it was. True when a second condition was read.
bool ParseFilterExpression(const String& Text, TSTFilterExpressionEh& Expr, TSTFilterDefaultOperatorEh DefaultOperator);

// The lexer: the next operator, keyword or operand (fcValue, its text or a list of texts in
// Value) of S from Pos, fcNone at the end or for what starts no lexeme. Lists are read in
// ListMode; Pos moves past what was read and the blanks after an operator or keyword.
void NextFilterLexeme(const String& S, qsizetype& Pos, TSTFilterCompareKindEh& Code, Variant& Value, bool ListMode);

// Converts an operand's text (or each text of a list) to a number or a date-time by Kind;
// "NOW" stays text on a date column; other kinds stay as they are.
void ConvertFilterOperand(Variant& Operand, TSTFilterValueKindEh Kind);

// --- The condition as text ----------------------------------------------------------------------

// The text of one operand in the filter cell: a number, a date (with its time when it has one),
// or text in apostrophes with inner ones doubled.
String FilterOperandText(const Variant& Operand);
// One comparison as the filter cell shows it ("=Null", "In ('a','b')", ">= 3").
String FilterConditionText(TSTFilterCompareKindEh Operator, const Variant& Operand);
// A list as its values in apostrophes joined by ","; one value as its plain text.
String FilterListAsCommaText(const Variant& Operand);
// The whole condition as the filter cell shows it; empty without a kind or a first operator.
// ListSourceForm gives the first operand only, as a list-source column shows its choice.
String FilterExpressionText(const TSTFilterExpressionEh& Expr, bool ListSourceForm);

// --- The dataset filter text of a grid ----------------------------------------------------------

// Writes a date operand into dataset filter text.
using TFilterDateTextEh = std::function<String(TDateTime Value)>;
// Writes one comparison of FieldName into dataset filter text.
using TFilterConditionTextEh = std::function<String(const String& FieldName, TSTFilterCompareKindEh Operator,
                                                    const Variant& Operand, const TFilterDateTextEh& DateText,
                                                    bool UseLikeWords)>;

// An operand in dataset filter text: a number as it stands, a date by DateText (else in
// apostrophes), anything else in apostrophes with inner ones doubled, so no value can end the
// literal early.
String FilterValueAsDatasetText(const Variant& Operand, const TFilterDateTextEh& DateText);
// One comparison in the dataset filter dialect, with a blank in front: " [f] Like 'ab%'",
// " ([f] = 1 OR [f] = 2)"; not in is the negation of in, so it keeps the records whose value is
// Null, which equal none of the values.
String DatasetFilterConditionText(const String& FieldName, TSTFilterCompareKindEh Operator, const Variant& Operand,
                                  const TFilterDateTextEh& DateText, bool UseLikeWords);
// One column's conditions, an OR pair in parentheses; empty when the column has no condition.
String ColumnFilterConditionText(const TColumnEh* Column, const TFilterConditionTextEh& ConditionText,
                                 const TFilterDateTextEh& DateText, bool UseLikeWords, bool UseKeyFieldNames);
// The conditions of all of Grid's columns joined by AND, in column order; empty without a
// dataset. A non-empty text ends in a blank.
String BuildGridFilterText(const TCustomDBGridEh* Grid, const TFilterConditionTextEh& ConditionText,
                           const TFilterDateTextEh& DateText, bool UseLikeWords, bool UseKeyFieldNames);

// --- Text search --------------------------------------------------------------------------------

// Finds Text in Grid's records from the column of FieldName (else the focused column, or with
// dgRowSelect the leftmost shown), up, down or from the first record (ltdAllEh), in that
// column or with ltoAllFieldsEh in every visible column. A hit leaves the dataset on the record
// and focuses the column; a miss leaves the record where it was. An unknown FieldName raises
// the grid error. The busy cursor shows while it runs.
bool FindTextInGrid(TCustomDBGridEh* Grid, const String& FieldName, const String& Text,
                    TLocateTextTreeFindRangeEh TreeFindRange, TLocateTextMatchTypeEh Matching,
                    TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options);

// --- What a kind of dataset does itself -----------------------------------------------------------

// A kind of dataset's own way to search, move records, sort and filter for a grid; the grid
// centre asks it before its own fallbacks. Nothing registers one in this program.
class TDatasetFeaturesEh {
public:
    virtual ~TDatasetFeaturesEh() = default;
    virtual bool LocateText(TCustomDBGridEh* Grid, const String& FieldName, const String& Text,
                            TLocateTextTreeFindRangeEh TreeFindRange, TLocateTextMatchTypeEh Matching,
                            TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options);
    virtual bool MoveRecords(TCustomDBGridEh* Grid, TBMListEh* BookmarkList, int& ToRecNo, int TreeLevel,
                             bool CheckOnly);
    virtual void ApplySorting(TCustomDBGridEh* Grid, TDataSet* DataSet, bool IsReopen);
    virtual void ApplyFilter(TCustomDBGridEh* Grid, TDataSet* DataSet, bool IsReopen);
};

// Registers Features for datasets of class TDataSetClass and its descendants; a class already
// registered raises. Registrations are asked in order: a descendant's goes before its base's.
void RegisterDatasetFeaturesEh(std::type_index DataSetClass, std::function<bool(const TDataSet*)> Serves,
                               std::unique_ptr<TDatasetFeaturesEh> Features);
template <class TDataSetClass>
void RegisterDatasetFeaturesEh(std::unique_ptr<TDatasetFeaturesEh> Features)
{
    RegisterDatasetFeaturesEh(
        typeid(TDataSetClass), [](const TDataSet* D) { return dynamic_cast<const TDataSetClass*>(D) != nullptr; },
        std::move(Features));
}
void UnregisterDatasetFeaturesEh(std::type_index DataSetClass);
// The first registration serving DataSet's class; nullptr for none or no dataset.
TDatasetFeaturesEh* DatasetFeaturesOf(const TDataSet* DataSet);
