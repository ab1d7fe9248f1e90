// The filter conditions of the grid's columns: operator texts, value kinds, the lexer and parser
// of the filter-cell text, operand conversion and the condition's text in the filter cell.
//
// In order: the texts and messages; the lexer (words and keywords, the look past blanks for an
// operator, quoted and plain values, lists, negation, symbols); the parser TFilterParser; the
// public routines; the condition as cell text; the column filter's field name and text.
#include "datagrid/DbUtilsEh.h"

#include "datagrid/DBGridEh.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"

#include <array>
#include <cmath>
#include <vector>

using enum TSTFilterCompareKindEh;
using namespace Qt::StringLiterals;

namespace {

struct TCompareKindTexts {
    const char* Text;  // in the filter cell
    const char* Word;  // in dataset filter text
};

constexpr std::array<TCompareKindTexts, 16> CompareKindTexts{{
    {"", ""}, {"=", "="}, {"<>", "<>"}, {">", ">"}, {"<", "<"}, {">=", ">="}, {"<=", "<="},
    {"~", "LIKE"}, {"!~", "NOT LIKE"}, {"In", "IN"}, {"!In", "NOT IN"}, {"Null", "IS NULL"},
    {"Null", "IS NOT NULL"}, {"AND", "AND"}, {"OR", "OR"}, {"", ""},
}};

const char* const SQuoteIsAbsent = "Quote is absent: ";
const char* const SLeftBracketExpected = "'(' expected: ";
const char* const SRightBracketExpected = "')' expected: ";
const char* const SErrorInExpression = "Error in expression: ";
const char* const SUnexpectedExpressionBeforeNull = "Unexpected expression before Null: ";
const char* const SUnexpectedExpressionAfterOperator = "Unexpected expression after operator: ";
const char* const SIncorrectExpression = "Incorrect expression: ";
const char* const SUnexpectedANDorOR = "Unexpected AND or OR: ";

[[noreturn]] void RaiseParseError(const char* Message, const String& Text)
{
    throw Exception(QLatin1String(Message) + Text);
}

bool IsBlank(Char C) { return C == u' '; }

void SkipBlanks(const String& S, qsizetype& Pos)
{
    while (Pos < S.size() && IsBlank(S[Pos]))
        ++Pos;
}

// Characters that end a word: control characters and the lexer's punctuation.
bool EndsWord(Char C) { return C < u' ' || QStringLiteral(" !\"&'()+,-.<=>|~").contains(C); }

String ReadFilterWord(const String& S, qsizetype Pos)
{
    qsizetype end = Pos;
    while (end < S.size() && !EndsWord(S[end]))
        ++end;
    return S.mid(Pos, end - Pos);
}

enum class TKeyword { None, Not, And, Or, Like, In, Null };

TKeyword KeywordOf(const String& Word)
{
    static const std::pair<const char*, TKeyword> keywords[] = {
        {"NOT", TKeyword::Not}, {"AND", TKeyword::And}, {"OR", TKeyword::Or},
        {"LIKE", TKeyword::Like}, {"IN", TKeyword::In}, {"NULL", TKeyword::Null}};
    const String upper = AnsiUpperCase(Word);
    for (const auto& [text, keyword] : keywords)
        if (upper == QLatin1String(text))
            return keyword;
    return TKeyword::None;
}

// Whether an operator or keyword (codes 1-14) starts at Pos, past blanks; it looks at
// one word at most.
bool OperatorFollows(const String& S, qsizetype Pos, bool AfterNegation = false)
{
    SkipBlanks(S, Pos);
    if (Pos >= S.size())
        return false;
    const Char c = S[Pos];
    if (QStringLiteral("=<>&|").contains(c))
        return true;
    if (c == u'~')
        return true;
    if (c == u'!') {
        if (Pos + 1 < S.size() && S[Pos + 1] == u'=')
            return true;
        return !AfterNegation && OperatorFollows(S, Pos + 1, true);
    }
    switch (KeywordOf(ReadFilterWord(S, Pos))) {
    case TKeyword::None: return false;
    case TKeyword::Not: return !AfterNegation && OperatorFollows(S, Pos + 3, true);
    case TKeyword::And:
    case TKeyword::Or: return !AfterNegation;
    default: return true;
    }
}

// A value in apostrophes from Pos; two apostrophes stand for one.
String ReadQuotedValue(const String& S, qsizetype& Pos)
{
    String value;
    for (qsizetype i = Pos + 1; i < S.size(); ++i) {
        if (S[i] != u'\'') {
            value += S[i];
        } else if (i + 1 < S.size() && S[i + 1] == u'\'') {
            value += u'\'';
            ++i;
        } else {
            Pos = i + 1;
            return value;
        }
    }
    RaiseParseError(SQuoteIsAbsent, S);
}

// One value from Pos: quoted, or up to a parenthesis, a comma in ListMode, or the blanks before
// an operator or keyword (skipped). Blanks inside and before a comma stay in the value.
String ReadFilterValue(const String& S, qsizetype& Pos, bool ListMode)
{
    if (Pos < S.size() && S[Pos] == u'\'')
        return ReadQuotedValue(S, Pos);
    const qsizetype start = Pos;
    for (; Pos < S.size(); ++Pos) {
        const Char c = S[Pos];
        if (c == u'(' || c == u')' || (ListMode && c == u','))
            break;
        if (!IsBlank(c))
            continue;
        // A run of blanks is looked past once, so a value's end is found in one pass.
        qsizetype runEnd = Pos;
        SkipBlanks(S, runEnd);
        if (OperatorFollows(S, runEnd)) {
            const String value = S.mid(start, Pos - start);
            Pos = runEnd;
            return value;
        }
        Pos = runEnd - 1;
    }
    return S.mid(start, Pos - start);
}

// A value, or in ListMode values between commas: two or more make a variant array. Blanks after
// a comma belong to the next value unless a quoted value follows them, and blanks after a quoted
// value before a comma are passed over, so "'x', 'y'" reads x and y. Pos unmoved: nothing read.
Variant ReadFilterValueList(const String& S, qsizetype& Pos, bool ListMode)
{
    std::vector<Variant> values;
    for (;;) {
        const bool quoted = Pos < S.size() && S[Pos] == u'\'';
        values.emplace_back(ReadFilterValue(S, Pos, ListMode));
        if (!ListMode)
            break;
        qsizetype next = Pos;
        if (quoted)
            SkipBlanks(S, next);
        if (next >= S.size() || S[next] != u',')
            break;
        Pos = next + 1;
        qsizetype valueStart = Pos;
        SkipBlanks(S, valueStart);
        if (valueStart < S.size() && S[valueStart] == u'\'')
            Pos = valueStart;
    }
    if (values.size() == 1)
        return values.front();
    return TVarArray{0, std::move(values)};
}

TSTFilterCompareKindEh Negated(TSTFilterCompareKindEh Code)
{
    switch (Code) {
    case fcLike: return fcNotLike;
    case fcIn: return fcNotIn;
    case fcIsNull: return fcIsNotNull;
    default: return fcNone;
    }
}

void ReadLexeme(const String& S, qsizetype& Pos, TSTFilterCompareKindEh& Code, Variant& Value, bool ListMode,
                bool AfterNegation);

// "!" or NOT before like, in or null; anything else (a second negation too) reads as nothing.
void ReadNegation(const String& S, qsizetype& Pos, TSTFilterCompareKindEh& Code, Variant& Value, bool ListMode,
                  bool AfterNegation)
{
    SkipBlanks(S, Pos);
    if (AfterNegation) {
        Code = fcNone;
        return;
    }
    ReadLexeme(S, Pos, Code, Value, ListMode, true);
    Code = Negated(Code);
}

TSTFilterCompareKindEh SymbolAt(const String& S, qsizetype& Pos)
{
    const Char c = S[Pos];
    const Char next = Pos + 1 < S.size() ? S[Pos + 1] : Char();
    const auto take = [&Pos](qsizetype Length, TSTFilterCompareKindEh Code) {
        Pos += Length;
        return Code;
    };
    switch (c.unicode()) {
    case u'=': return take(1, fcEqual);
    case u'<': return next == u'=' ? take(2, fcLessOrEqual) : next == u'>' ? take(2, fcNotEqual) : take(1, fcLess);
    case u'>': return next == u'=' ? take(2, fcGreaterOrEqual) : take(1, fcGreater);
    case u'!': return next == u'=' ? take(2, fcNotEqual) : fcValue;
    case u'~': return take(1, fcLike);
    case u'&': return take(1, fcAnd);
    case u'|': return take(1, fcOr);
    default: return fcValue;
    }
}

void ReadLexeme(const String& S, qsizetype& Pos, TSTFilterCompareKindEh& Code, Variant& Value, bool ListMode,
                bool AfterNegation)
{
    Value = String();
    SkipBlanks(S, Pos);
    Code = fcNone;
    if (Pos >= S.size() || S[Pos] == u'(')
        return;
    if (S[Pos] == u'!' && (Pos + 1 >= S.size() || S[Pos + 1] != u'=')) {
        ++Pos;
        ReadNegation(S, Pos, Code, Value, ListMode, AfterNegation);
        return;
    }
    Code = SymbolAt(S, Pos);
    if (Code != fcValue) {
        SkipBlanks(S, Pos);
        return;
    }
    const String word = ReadFilterWord(S, Pos);
    switch (KeywordOf(word)) {
    case TKeyword::Not:
        Pos += word.size();
        ReadNegation(S, Pos, Code, Value, ListMode, AfterNegation);
        return;
    case TKeyword::And: Code = fcAnd; break;
    case TKeyword::Or: Code = fcOr; break;
    case TKeyword::Like: Code = fcLike; break;
    case TKeyword::Null: Code = fcIsNull; break;
    case TKeyword::In:
        Pos += word.size();
        SkipBlanks(S, Pos);
        if (Pos >= S.size() || S[Pos] != u'(')
            RaiseParseError(SLeftBracketExpected, S);
        ++Pos;
        SkipBlanks(S, Pos);
        Code = fcIn;
        return;
    case TKeyword::None: {
        const qsizetype start = Pos;
        Value = ReadFilterValueList(S, Pos, ListMode);
        Code = Pos == start ? fcNone : fcValue;
        return;
    }
    }
    Pos += word.size();
    SkipBlanks(S, Pos);
}

bool IsComparison(TSTFilterCompareKindEh Code) { return Code >= fcEqual && Code <= fcNotIn; }

// The operator and "%" placement of a default operator.
TSTFilterCompareKindEh DefaultOperatorCode(TSTFilterDefaultOperatorEh DefaultOperator, bool& WildcardFront,
                                           bool& WildcardBack)
{
    using enum TSTFilterDefaultOperatorEh;
    WildcardFront = DefaultOperator == fdoEndsWith || DefaultOperator == fdoNotEndsWith ||
                    DefaultOperator == fdoContains || DefaultOperator == fdoNotContains;
    WildcardBack = DefaultOperator == fdoBeginsWith || DefaultOperator == fdoNotBeginsWith ||
                   DefaultOperator == fdoContains || DefaultOperator == fdoNotContains;
    if (DefaultOperator <= fdoNotIn)
        return static_cast<TSTFilterCompareKindEh>(DefaultOperator);
    const bool negated =
        DefaultOperator == fdoNotBeginsWith || DefaultOperator == fdoNotEndsWith || DefaultOperator == fdoNotContains;
    return negated ? fcNotLike : fcLike;
}

class TFilterParser {
public:
    TFilterParser(const String& Text, TSTFilterValueKindEh Kind)
        : FText(Text), FKind(Kind),
          FListMode(!(Kind == TSTFilterValueKindEh::fvkNumber && FormatSettings().DecimalSeparator == u','))
    {
    }

    bool Parse(TSTFilterExpressionEh& Expr, TSTFilterDefaultOperatorEh DefaultOperator)
    {
        ReadCondition(Expr.Operator1, Expr.Operand1, DefaultOperator);
        Lex();
        if (FCode == fcNone) {
            if (FPos < FText.size())
                RaiseParseError(SIncorrectExpression, FText);
            return false;
        }
        if (FCode != fcAnd && FCode != fcOr)
            RaiseParseError(SUnexpectedANDorOR, FText);
        Expr.Relation = FCode;
        ReadCondition(Expr.Operator2, Expr.Operand2, TSTFilterDefaultOperatorEh::fdoNone);
        // A third condition is refused rather than dropped unseen.
        Lex();
        if (FCode != fcNone || FPos < FText.size())
            RaiseParseError(SIncorrectExpression, FText);
        return true;
    }

private:
    void Lex(bool ListMode) { ReadLexeme(FText, FPos, FCode, FValue, ListMode, false); }
    void Lex() { Lex(FListMode); }

    void ReadCondition(TSTFilterCompareKindEh& Operator, Variant& Operand, TSTFilterDefaultOperatorEh DefaultOperator)
    {
        Lex();
        if (FCode == fcValue) {
            Operand = FValue;
            Operator = BareValueOperator(Operand, DefaultOperator);
            return;
        }
        if (!IsComparison(FCode))
            RaiseParseError(SErrorInExpression, FText);
        Operator = FCode;
        const bool list = Operator == fcIn || Operator == fcNotIn;
        Lex(list || FListMode);
        if (FCode == fcIsNull) {
            if (Operator != fcEqual && Operator != fcNotEqual)
                RaiseParseError(SUnexpectedExpressionBeforeNull, FText);
            Operator = Operator == fcEqual ? fcIsNull : fcIsNotNull;
            return;
        }
        if (FCode != fcValue)
            RaiseParseError(SUnexpectedExpressionAfterOperator, FText);
        Operand = FValue;
        if (list) {
            SkipBlanks(FText, FPos);
            if (FPos >= FText.size() || FText[FPos] != u')')
                RaiseParseError(SRightBracketExpected, FText);
            ++FPos;
        } else if (VarIsArray(Operand)) {
            // A list under "=" or "<>" is a list test; under any other operator it means nothing.
            if (Operator != fcEqual && Operator != fcNotEqual)
                RaiseParseError(SIncorrectExpression, FText);
            Operator = Operator == fcEqual ? fcIn : fcNotIn;
        }
    }

    TSTFilterCompareKindEh BareValueOperator(Variant& Operand, TSTFilterDefaultOperatorEh DefaultOperator) const
    {
        if (VarIsArray(Operand))
            return fcIn;
        if (DefaultOperator == TSTFilterDefaultOperatorEh::fdoNone)
            return FKind == TSTFilterValueKindEh::fvkString ? fcLike : fcEqual;
        bool front = false;
        bool back = false;
        const TSTFilterCompareKindEh code = DefaultOperatorCode(DefaultOperator, front, back);
        if (front || back) {
            String text = VarToStr(Operand);
            if (front && !text.startsWith(u'%'))
                text.prepend(u'%');
            if (back && !text.endsWith(u'%'))
                text.append(u'%');
            Operand = text;
        }
        return code;
    }

    const String& FText;
    TSTFilterValueKindEh FKind;
    bool FListMode;
    qsizetype FPos = 0;
    TSTFilterCompareKindEh FCode = fcNone;
    Variant FValue;
};

void ConvertOrNull(TSTFilterCompareKindEh Operator, Variant& Operand, TSTFilterValueKindEh Kind)
{
    if (IsComparison(Operator))
        ConvertFilterOperand(Operand, Kind);
    else
        Operand = Variant::Null();
}

Variant ConvertedScalar(const Variant& Value, TSTFilterValueKindEh Kind)
{
    const String text = VarToStr(Value);
    if (Kind == TSTFilterValueKindEh::fvkNumber) {
        // A number too large for a double reads as infinite, which no cell or filter text holds.
        const auto value = static_cast<double>(StrToFloat(text));
        if (!std::isfinite(value))
            throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
        return Variant(value);
    }
    if (text.compare(u"NOW", Qt::CaseInsensitive) == 0)
        return Variant(String(u"NOW"_s));
    return Variant::FromDateTime(StrToDateTime(text));
}

String ListText(const Variant& List, String (*ItemText)(const Variant&))
{
    String result;
    for (int i = VarArrayLowBound(List, 1); i <= VarArrayHighBound(List, 1); ++i) {
        if (!result.isEmpty())
            result += u',';
        result += ItemText(List[i]);
    }
    return result;
}

String QuotedOperand(const Variant& Value) { return QuotedStr(VarToStr(Value)); }

}  // namespace

String FilterCompareKindText(TSTFilterCompareKindEh Kind)
{
    return QLatin1String(CompareKindTexts.at(static_cast<std::size_t>(Kind)).Text);
}

String FilterCompareKindWord(TSTFilterCompareKindEh Kind)
{
    return QLatin1String(CompareKindTexts.at(static_cast<std::size_t>(Kind)).Word);
}

TSTFilterValueKindEh FilterValueKindOfFieldType(TFieldType Type)
{
    using enum TFieldType;
    using enum TSTFilterValueKindEh;
    switch (Type) {
    case ftString: case ftMemo: case ftFmtMemo: case ftFixedChar: case ftWideString: case ftGuid:
        return fvkString;
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD: case ftAutoInc:
    case ftLargeint: case ftFMTBcd:
        return fvkNumber;
    case ftDate: case ftTime: case ftDateTime: case ftTimeStamp:
        return fvkDateTime;
    case ftBoolean:
        return fvkBoolean;
    default:
        return fvkUnknown;
    }
}

TSTFilterValueKindEh ColumnFilterValueKind(const TColumnEh* Column)
{
    if (Column->HasKeyList() && Column->HasPickList())
        return TSTFilterValueKindEh::fvkString;
    const TField* field = Column->Field();
    return field == nullptr ? TSTFilterValueKindEh::fvkUnknown : FilterValueKindOfFieldType(field->DataType());
}

void ResetFilterExpression(TSTFilterExpressionEh& Expr)
{
    Expr.Operator1 = fcNone;
    Expr.Operand1 = Variant::Null();
    Expr.Relation = fcNone;
    Expr.Operator2 = fcNone;
    Expr.Operand2 = Variant::Null();
}

bool ParseFilterExpression(const String& Text, TSTFilterExpressionEh& Expr, TSTFilterDefaultOperatorEh DefaultOperator)
{
    // Parsed aside and taken over whole, so a text that fails leaves the condition in force.
    TSTFilterExpressionEh parsed;
    parsed.ExpressionType = Expr.ExpressionType;
    const String text = Trim(Text);
    bool second = false;
    if (!text.isEmpty()) {
        second = TFilterParser(text, parsed.ExpressionType).Parse(parsed, DefaultOperator);
        ConvertOrNull(parsed.Operator1, parsed.Operand1, parsed.ExpressionType);
        ConvertOrNull(parsed.Operator2, parsed.Operand2, parsed.ExpressionType);
    }
    Expr = std::move(parsed);
    return second;
}

void NextFilterLexeme(const String& S, qsizetype& Pos, TSTFilterCompareKindEh& Code, Variant& Value, bool ListMode)
{
    ReadLexeme(S, Pos, Code, Value, ListMode, false);
}

void ConvertFilterOperand(Variant& Operand, TSTFilterValueKindEh Kind)
{
    if (VarIsNull(Operand) || (Kind != TSTFilterValueKindEh::fvkNumber && Kind != TSTFilterValueKindEh::fvkDateTime))
        return;
    if (!VarIsArray(Operand)) {
        Operand = ConvertedScalar(Operand, Kind);
        return;
    }
    for (int i = VarArrayLowBound(Operand, 1); i <= VarArrayHighBound(Operand, 1); ++i)
        Operand[i] = ConvertedScalar(Operand[i], Kind);
}

// --- The condition as text ----------------------------------------------------------------------

String FilterOperandText(const Variant& Operand)
{
    switch (VarType(Operand)) {
    case varDouble: return FloatToStr(Operand.AsDouble());
    // The time stays when there is one, so the text parses back to the same moment.
    case varDate: return DateTimeToStr(Operand.AsDateTime());
    default: return QuotedOperand(Operand);
    }
}

String FilterConditionText(TSTFilterCompareKindEh Operator, const Variant& Operand)
{
    switch (Operator) {
    case fcIsNull: return u"=Null"_s;
    case fcIsNotNull: return u"<>Null"_s;
    case fcIn:
    case fcNotIn: {
        const String values = VarIsArray(Operand) ? ListText(Operand, FilterOperandText) : FilterOperandText(Operand);
        return FilterCompareKindText(Operator) + u" ("_s + values + u')';
    }
    default: return FilterCompareKindText(Operator) + u' ' + FilterOperandText(Operand);
    }
}

String FilterListAsCommaText(const Variant& Operand)
{
    return VarIsArray(Operand) ? ListText(Operand, QuotedOperand) : VarToStr(Operand);
}

String FilterExpressionText(const TSTFilterExpressionEh& Expr, bool ListSourceForm)
{
    if (Expr.ExpressionType == TSTFilterValueKindEh::fvkUnknown || Expr.Operator1 == fcNone)
        return {};
    if (ListSourceForm)
        return FilterListAsCommaText(Expr.Operand1);
    String text = FilterConditionText(Expr.Operator1, Expr.Operand1);
    if (Expr.Relation != fcNone)
        text += u' ' + FilterCompareKindText(Expr.Relation) + u' ' + FilterConditionText(Expr.Operator2, Expr.Operand2);
    return text;
}

// --- The column filter's condition ---------------------------------------------------------------

String TSTColumnFilterEh::DataFieldName() const
{
    if (!FDataField.isEmpty())
        return FDataField;
    const TField* field = FColumn == nullptr ? nullptr : FColumn->Field();
    if (field != nullptr && field->Lookup() && !field->KeyFields().isEmpty())
        return field->KeyFields();
    return FColumn == nullptr ? String() : FColumn->FieldName();
}

String TSTColumnFilterEh::ExpressionText() const { return FilterExpressionText(FExpression, FListSource != nullptr); }
