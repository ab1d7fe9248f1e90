// The Filter text tokenised and parsed into a tree evaluated on the current record.
#include "platform/data/FilterExpression.h"

#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/Field.h"
#include "platform/data/SortText.h"
#include "platform/data/TypedFields.h"

#include <algorithm>
#include <vector>

namespace {

enum class TOp { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like, NotLike, IsNull, IsNotNull };

struct TToken {
    enum Kind { End, Name, Text, Number, Symbol } Kind = End;
    String Value;
};

// Past the exponent at I ("E5", "e-3", as FloatToStr writes large and small numbers); I when
// none starts there.
qsizetype ExponentEnd(const String& Text, qsizetype I)
{
    if (I >= Text.size() || (Text[I] != u'E' && Text[I] != u'e'))
        return I;
    qsizetype digits = I + 1;
    if (digits < Text.size() && (Text[digits] == u'+' || Text[digits] == u'-'))
        ++digits;
    if (digits >= Text.size() || !Text[digits].isDigit())
        return I;
    while (digits < Text.size() && Text[digits].isDigit())
        ++digits;
    return digits;
}

std::vector<TToken> Tokenize(const String& Text)
{
    std::vector<TToken> tokens;
    qsizetype i = 0;
    const qsizetype n = Text.size();
    auto fail = [&Text]() -> void { DatabaseError(QStringLiteral("无效的筛选表达式：%1").arg(Text)); };
    while (i < n) {
        const Char c = Text[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'\'' || c == u'"') {
            String value;
            ++i;
            for (;; ++i) {
                if (i >= n)
                    fail();
                if (Text[i] == c) {
                    if (i + 1 < n && Text[i + 1] == c) {
                        value += c;
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += Text[i];
            }
            tokens.push_back({TToken::Text, value});
        } else if (c == u'[') {
            const qsizetype close = Text.indexOf(u']', i);
            if (close < 0)
                fail();
            tokens.push_back({TToken::Name, Text.mid(i + 1, close - i - 1)});
            i = close + 1;
        } else if (c.isDigit() || ((c == u'-' || c == u'.') && i + 1 < n && Text[i + 1].isDigit())) {
            const qsizetype start = i++;
            while (i < n && (Text[i].isDigit() || Text[i] == u'.'))
                ++i;
            i = ExponentEnd(Text, i);
            tokens.push_back({TToken::Number, Text.mid(start, i - start)});
        } else if (c.isLetter() || c == u'_') {
            const qsizetype start = i;
            while (i < n && (Text[i].isLetterOrNumber() || Text[i] == u'_'))
                ++i;
            tokens.push_back({TToken::Name, Text.mid(start, i - start)});
        } else if (QStringLiteral("<>=!").contains(c)) {
            const qsizetype start = i++;
            while (i < n && QStringLiteral("<>=").contains(Text[i]))
                ++i;
            tokens.push_back({TToken::Symbol, Text.mid(start, i - start)});
        } else if (c == u'(' || c == u')') {
            tokens.push_back({TToken::Symbol, String(c)});
            ++i;
        } else {
            fail();
        }
    }
    tokens.push_back({});
    return tokens;
}

// A like pattern as case-folded code points, its wildcards as values beyond Unicode.
constexpr char32_t AnyRun = 0x110000;  // % or *
constexpr char32_t AnyOne = 0x110001;  // _ or ?

std::vector<char32_t> Folded(const String& Text)
{
    const QList<uint> codePoints = Text.toCaseFolded().toUcs4();
    return {codePoints.begin(), codePoints.end()};
}

std::vector<char32_t> LikePattern(const String& Pattern)
{
    std::vector<char32_t> result = Folded(Pattern);
    for (char32_t& c : result) {
        if (c == U'%' || c == U'*')
            c = AnyRun;
        else if (c == U'_' || c == U'?')
            c = AnyOne;
    }
    return result;
}

// Whether Value matches Pattern, ignoring case. A mismatch goes back only to the last run
// wildcard, so the time grows at worst with their lengths' product, never exponentially.
bool LikeMatches(const String& Value, const std::vector<char32_t>& Pattern)
{
    const std::vector<char32_t> text = Folded(Value);
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t runAt = Pattern.size();  // the last run wildcard met, none yet
    std::size_t runText = 0;             // where the text stood after it
    while (t < text.size()) {
        if (p < Pattern.size() && (Pattern[p] == AnyOne || Pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < Pattern.size() && Pattern[p] == AnyRun) {
            runAt = p++;
            runText = t;
        } else if (runAt < Pattern.size()) {
            p = runAt + 1;
            t = ++runText;
        } else {
            return false;
        }
    }
    while (p < Pattern.size() && Pattern[p] == AnyRun)
        ++p;
    return p == Pattern.size();
}

}  // namespace

// A comparison, or not over one operand, or a chain of and / or over two or more: chains are
// lists, so a long chain costs no depth, and the parser bounds the nesting.
struct TFilterExpression::TNode {
    enum Kind { And, Or, Not, Compare } Kind = Compare;
    std::vector<std::unique_ptr<TNode>> Operands;
    TField* Field = nullptr;
    TOp Op = TOp::Equal;
    Variant Literal;
    std::vector<char32_t> Pattern;

    bool Evaluate() const
    {
        switch (Kind) {
        case And:
            return std::all_of(Operands.begin(), Operands.end(), [](const auto& operand) { return operand->Evaluate(); });
        case Or:
            return std::any_of(Operands.begin(), Operands.end(), [](const auto& operand) { return operand->Evaluate(); });
        case Not: return !Operands.front()->Evaluate();
        case Compare: break;
        }
        const Variant value = Field->Value();
        if (Op == TOp::IsNull || Op == TOp::IsNotNull)
            return VarIsNull(value) == (Op == TOp::IsNull);
        if (VarIsNull(value) || VarIsNull(Literal))
            return false;
        if (Op == TOp::Like || Op == TOp::NotLike)
            return LikeMatches(value.AsString(), Pattern) == (Op == TOp::Like);
        const int order = SortCompare(value, Literal);
        switch (Op) {
        case TOp::Equal: return order == 0;
        case TOp::NotEqual: return order != 0;
        case TOp::Less: return order < 0;
        case TOp::Greater: return order > 0;
        case TOp::LessEqual: return order <= 0;
        default: return order >= 0;
        }
    }
};

namespace {

class TParser {
public:
    // Deeper than any filter a person writes, shallow enough for any thread's stack.
    static constexpr int MaxNesting = 100;

    TParser(const String& Text, TDataSet* DataSet) : FText(Text), FTokens(Tokenize(Text)), FDataSet(DataSet) {}

    std::unique_ptr<TFilterExpression::TNode> Parse()
    {
        auto node = Or();
        if (Peek().Kind != TToken::End)
            Fail();
        return node;
    }

private:
    using TNode = TFilterExpression::TNode;

    const TToken& Peek() const { return FTokens[FIndex]; }
    TToken Take() { return FTokens[FIndex++]; }
    bool TakeWord(const char* Word)
    {
        if (Peek().Kind == TToken::Name && Peek().Value.compare(QLatin1String(Word), Qt::CaseInsensitive) == 0) {
            ++FIndex;
            return true;
        }
        return false;
    }
    bool TakeSymbol(const char* Symbol)
    {
        if (Peek().Kind == TToken::Symbol && Peek().Value == QLatin1String(Symbol)) {
            ++FIndex;
            return true;
        }
        return false;
    }
    [[noreturn]] void Fail() const { DatabaseError(QStringLiteral("无效的筛选表达式：%1").arg(FText)); }

    static std::unique_ptr<TNode> Operation(decltype(TNode::Kind) Kind, std::unique_ptr<TNode> First)
    {
        auto node = std::make_unique<TNode>();
        node->Kind = Kind;
        node->Operands.push_back(std::move(First));
        return node;
    }

    // Terms joined by Word: one node over all of them, or the term itself when it stands alone.
    std::unique_ptr<TNode> Chain(decltype(TNode::Kind) Kind, const char* Word, std::unique_ptr<TNode> (TParser::*Term)())
    {
        auto first = (this->*Term)();
        if (!TakeWord(Word))
            return first;
        auto node = Operation(Kind, std::move(first));
        do
            node->Operands.push_back((this->*Term)());
        while (TakeWord(Word));
        return node;
    }

    std::unique_ptr<TNode> Or() { return Chain(TNode::Or, "or", &TParser::And); }
    std::unique_ptr<TNode> And() { return Chain(TNode::And, "and", &TParser::Factor); }

    // Each not and each parenthesis nests one level deeper. The depth is bounded, so parsing,
    // evaluating and freeing the tree never exhaust the stack.
    class TNesting {
    public:
        explicit TNesting(TParser& Parser) : FParser(Parser)
        {
            if (++FParser.FDepth > MaxNesting)
                DatabaseError(QStringLiteral("筛选表达式嵌套超过 %1 层").arg(MaxNesting));
        }
        ~TNesting() { --FParser.FDepth; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;

    private:
        TParser& FParser;
    };

    std::unique_ptr<TNode> Factor()
    {
        if (TakeWord("not")) {
            const TNesting nesting(*this);
            return Operation(TNode::Not, Factor());
        }
        if (TakeSymbol("(")) {
            const TNesting nesting(*this);
            auto node = Or();
            if (!TakeSymbol(")"))
                Fail();
            return node;
        }
        return Comparison();
    }

    std::unique_ptr<TNode> Comparison()
    {
        if (Peek().Kind != TToken::Name)
            Fail();
        auto node = std::make_unique<TNode>();
        node->Field = FDataSet->FieldByName(Take().Value);
        if (TakeWord("is")) {
            node->Op = TakeWord("not") ? TOp::IsNotNull : TOp::IsNull;
            if (!TakeWord("null"))
                Fail();
            return node;
        }
        node->Op = TakeWord("not") ? TOp::NotLike : Operator();
        if (node->Op == TOp::NotLike && !TakeWord("like"))
            Fail();
        const TToken literal = Take();
        if (literal.Kind != TToken::Text && literal.Kind != TToken::Number)
            Fail();
        if (node->Op == TOp::Like || node->Op == TOp::NotLike)
            node->Pattern = LikePattern(literal.Value);
        else
            node->Literal = LiteralFor(node->Field, literal);
        return node;
    }

    TOp Operator()
    {
        if (TakeWord("like"))
            return TOp::Like;
        static const std::pair<const char*, TOp> operators[] = {
            {"=", TOp::Equal}, {"<>", TOp::NotEqual}, {"!=", TOp::NotEqual}, {"<", TOp::Less},
            {">", TOp::Greater}, {"<=", TOp::LessEqual}, {">=", TOp::GreaterEqual}};
        for (const auto& [symbol, op] : operators)
            if (TakeSymbol(symbol))
                return op;
        Fail();
    }

    // The literal as a value of the field's kind, so that it compares as the field's values do:
    // the text as written for a text field ('10' and 10 alike), a number for a number, a date for
    // a date or time field's text, a number for a numeric field's text. A literal the field's
    // kind cannot read raises.
    Variant LiteralFor(const TField* Field, const TToken& Literal) const
    {
        if (dynamic_cast<const TStringField*>(Field) || dynamic_cast<const TMemoField*>(Field))
            return Variant(Literal.Value);
        if (Literal.Kind == TToken::Number) {
            bool ok = false;
            const double value = Literal.Value.toDouble(&ok);  // "1.2.3" reads as no number
            if (!ok)
                Fail();
            return Variant(value);
        }
        if (dynamic_cast<const TBooleanField*>(Field)) {
            if (Literal.Value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                return Variant(true);
            if (Literal.Value.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                return Variant(false);
            DatabaseError(DBConsts::SInvalidBoolValue.arg(Literal.Value, Field->DisplayName()));
        }
        if (dynamic_cast<const TDateTimeField*>(Field)) {
            TDateTime date = 0;
            if (!TryStrToDateTime(Literal.Value, date))
                DatabaseError(QStringLiteral("“%1”不是字段“%2”的有效日期").arg(Literal.Value, Field->DisplayName()));
            return Variant::FromDateTime(date);
        }
        if (dynamic_cast<const TNumericField*>(Field)) {
            double value = 0;
            if (!TryStrToFloat(Literal.Value, value))
                DatabaseError(DBConsts::SInvalidFloatValue.arg(Literal.Value, Field->DisplayName()));
            return Variant(value);
        }
        return Variant(Literal.Value);
    }

    String FText;
    std::vector<TToken> FTokens;
    std::size_t FIndex = 0;
    TDataSet* FDataSet;
    int FDepth = 0;
};

}  // namespace

TFilterExpression::TFilterExpression(const String& Text, TDataSet* DataSet) : FRoot(TParser(Text, DataSet).Parse()) {}

TFilterExpression::~TFilterExpression() = default;

bool TFilterExpression::Evaluate() const { return FRoot->Evaluate(); }
