#include "platform/data/FilterExpression.h"

#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/Field.h"
#include "platform/data/SortText.h"

#include <QRegularExpression>

#include <vector>

namespace {

enum class TOp { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like, IsNull, IsNotNull };

struct TToken {
    enum Kind { End, Name, Text, Number, Symbol } Kind = End;
    String Value;
};

std::vector<TToken> Tokenize(const String& Text)
{
    std::vector<TToken> tokens;
    qsizetype i = 0;
    const qsizetype n = Text.size();
    auto fail = [&Text]() -> void { DatabaseError(QStringLiteral("Invalid filter expression: %1").arg(Text)); };
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

QRegularExpression LikePattern(const String& Pattern)
{
    String expression;
    for (const Char c : Pattern) {
        if (c == u'%' || c == u'*')
            expression += QStringLiteral(".*");
        else if (c == u'_' || c == u'?')
            expression += u'.';
        else
            expression += QRegularExpression::escape(String(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}

}  // namespace

struct TFilterExpression::TNode {
    enum Kind { And, Or, Not, Compare } Kind = Compare;
    std::unique_ptr<TNode> Left, Right;
    TField* Field = nullptr;
    TOp Op = TOp::Equal;
    Variant Literal;
    QRegularExpression Pattern;

    bool Evaluate() const
    {
        switch (Kind) {
        case And: return Left->Evaluate() && Right->Evaluate();
        case Or: return Left->Evaluate() || Right->Evaluate();
        case Not: return !Left->Evaluate();
        case Compare: break;
        }
        const Variant value = Field->Value();
        if (Op == TOp::IsNull || Op == TOp::IsNotNull)
            return VarIsNull(value) == (Op == TOp::IsNull);
        if (VarIsNull(value) || VarIsNull(Literal))
            return false;
        if (Op == TOp::Like)
            return Pattern.match(value.AsString()).hasMatch();
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
    [[noreturn]] void Fail() const { DatabaseError(QStringLiteral("Invalid filter expression: %1").arg(FText)); }

    static std::unique_ptr<TNode> Join(int Kind, std::unique_ptr<TNode> Left, std::unique_ptr<TNode> Right)
    {
        auto node = std::make_unique<TNode>();
        node->Kind = static_cast<decltype(node->Kind)>(Kind);
        node->Left = std::move(Left);
        node->Right = std::move(Right);
        return node;
    }

    std::unique_ptr<TNode> Or()
    {
        auto node = And();
        while (TakeWord("or"))
            node = Join(TNode::Or, std::move(node), And());
        return node;
    }

    std::unique_ptr<TNode> And()
    {
        auto node = Factor();
        while (TakeWord("and"))
            node = Join(TNode::And, std::move(node), Factor());
        return node;
    }

    std::unique_ptr<TNode> Factor()
    {
        if (TakeWord("not"))
            return Join(TNode::Not, Factor(), nullptr);
        if (TakeSymbol("(")) {
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
        node->Op = Operator();
        const TToken literal = Take();
        if (literal.Kind != TToken::Text && literal.Kind != TToken::Number)
            Fail();
        if (node->Op == TOp::Like)
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

    // Numbers compare as numbers; a date field's text literal as a date.
    static Variant LiteralFor(const TField* Field, const TToken& Literal)
    {
        if (Literal.Kind == TToken::Number)
            return Variant(Literal.Value.toDouble());
        const TFieldType type = Field->DataType();
        TDateTime date = 0;
        const bool dated = type == TFieldType::ftDate || type == TFieldType::ftTime || type == TFieldType::ftDateTime;
        if (dated && TryStrToDateTime(Literal.Value, date))
            return Variant::FromDateTime(date);
        return Variant(Literal.Value);
    }

    String FText;
    std::vector<TToken> FTokens;
    std::size_t FIndex = 0;
    TDataSet* FDataSet;
};

}  // namespace

TFilterExpression::TFilterExpression(const String& Text, TDataSet* DataSet) : FRoot(TParser(Text, DataSet).Parse()) {}

TFilterExpression::~TFilterExpression() = default;

bool TFilterExpression::Evaluate() const { return FRoot->Evaluate(); }
