// The Jet SQL translator: the application's statements, written for Jet, rewritten for SQLite as
// JetSql.h lists. The statement is tokenised once; the translator works on the tokens and writes
// them back out.
//
// Sections, in order:
//  - Tokenising: literals, dates, bracketed names, numbers, words, parameters, symbols.
//  - Parameter names: the :names outside literals.
//  - Token tests and literals: words and symbols compared, #date# and "text" literals rewritten,
//    Jet column types and the declarations that store them.
//  - TJetTranslator: create table column types, the single-table select and its keyset,
//    top N as a limit, pinyin order by, and the one statement written out.
//  - Stored date-time columns.
#include "platform/ado/JetSql.h"

#include "platform/ado/SQLite.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <optional>

namespace {

bool IsWordStart(QChar C) { return C.isLetter() || C == u'_' || C.unicode() >= 0x80; }
bool IsWordChar(QChar C) { return IsWordStart(C) || C.isDigit(); }

// Index just past the literal opened at From by Quote; a doubled quote stays inside it.
qsizetype LiteralEnd(const String& Sql, qsizetype From, QChar Quote, bool& Unterminated)
{
    qsizetype i = From + 1;
    for (;;) {
        i = Sql.indexOf(Quote, i);
        if (i < 0) {
            Unterminated = true;
            return Sql.size();
        }
        if (Quote == u'#' || i + 1 >= Sql.size() || Sql[i + 1] != Quote)
            return i + 1;
        i += 2;
    }
}

qsizetype SpanEnd(const String& Sql, qsizetype i, bool (*Accepts)(QChar))
{
    while (i < Sql.size() && Accepts(Sql[i]))
        ++i;
    return i;
}

bool IsNumberChar(QChar C) { return C.isDigit() || C == u'.'; }
bool IsSpace(QChar C) { return C.isSpace(); }

qsizetype SymbolEnd(const String& Sql, qsizetype i)
{
    static const QStringList pairs{QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>"),
                                   QStringLiteral("!="), QStringLiteral("||"), QStringLiteral("==")};
    for (const String& pair : pairs)
        if (QStringView(Sql).mid(i, 2) == pair)
            return i + 2;
    return i + 1;
}

}  // namespace

std::vector<TJetToken> TokeniseJetSql(const String& Sql)
{
    std::vector<TJetToken> tokens;
    qsizetype i = 0;
    while (i < Sql.size()) {
        const QChar c = Sql[i];
        TJetToken token{TJetTokenKind::Symbol, String()};
        qsizetype end;
        if (c.isSpace()) {
            token.Kind = TJetTokenKind::Space;
            end = SpanEnd(Sql, i, IsSpace);
        } else if (c == u'\'' || c == u'"') {
            token.Kind = TJetTokenKind::Text;
            end = LiteralEnd(Sql, i, c, token.Unterminated);
        } else if (c == u'#') {
            token.Kind = TJetTokenKind::Date;
            end = LiteralEnd(Sql, i, c, token.Unterminated);
        } else if (c == u'[') {
            token.Kind = TJetTokenKind::Bracketed;
            end = Sql.indexOf(u']', i);
            token.Unterminated = end < 0;
            end = end < 0 ? Sql.size() : end + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < Sql.size() && Sql[i + 1].isDigit())) {
            token.Kind = TJetTokenKind::Number;
            end = SpanEnd(Sql, i, IsNumberChar);
        } else if (IsWordStart(c)) {
            token.Kind = TJetTokenKind::Word;
            end = SpanEnd(Sql, i, IsWordChar);
        } else if (c == u':' && i + 1 < Sql.size() && IsWordChar(Sql[i + 1])) {
            token.Kind = TJetTokenKind::Parameter;
            end = SpanEnd(Sql, i + 1, IsWordChar);
        } else {
            end = SymbolEnd(Sql, i);
        }
        token.Text = Sql.mid(i, end - i);
        tokens.push_back(std::move(token));
        i = end;
    }
    return tokens;
}

std::vector<String> JetParameterNames(const String& Sql)
{
    std::vector<String> names;
    for (const TJetToken& token : TokeniseJetSql(Sql)) {
        if (token.Kind != TJetTokenKind::Parameter)
            continue;
        const String name = token.Text.mid(1);
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

namespace {

bool IsWord(const TJetToken* Token, const char* Word)
{
    return Token && Token->Kind == TJetTokenKind::Word
           && Token->Text.compare(QLatin1String(Word), Qt::CaseInsensitive) == 0;
}

bool IsSymbol(const TJetToken* Token, const char* Symbol)
{
    return Token && Token->Kind == TJetTokenKind::Symbol && Token->Text == QLatin1String(Symbol);
}

// Jet's date literal as stored date-time text, or nothing when it is not a valid date.
std::optional<String> JetDateText(const TJetToken& Token)
{
    static const QRegularExpression iso(QStringLiteral(
        R"(^(\d{4})[-/](\d{1,2})[-/](\d{1,2})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?$)"));
    static const QRegularExpression us(QStringLiteral(
        R"(^(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?$)"));
    if (Token.Unterminated)
        return std::nullopt;
    const String text = Token.Text.mid(1, Token.Text.size() - 2).trimmed();
    int year, month, day;
    QRegularExpressionMatch match = iso.match(text);
    if (match.hasMatch()) {
        year = match.captured(1).toInt();
        month = match.captured(2).toInt();
        day = match.captured(3).toInt();
    } else if ((match = us.match(text)).hasMatch()) {
        month = match.captured(1).toInt();
        day = match.captured(2).toInt();
        year = match.captured(3).toInt();
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QStringLiteral("'%1 %2'").arg(date.toString(QStringLiteral("yyyy-MM-dd")),
                                         time.toString(QStringLiteral("hh:mm:ss")));
}

// A Jet column type and the declaration that stores it; Counter marks the row id.
struct TStoredType {
    const char* Jet;
    const char* Declared;
    bool Counter = false;
};

constexpr TStoredType StoredTypes[] = {
    {"TEXT", "TEXT COLLATE NOCASE"},           {"VARCHAR", "TEXT COLLATE NOCASE"},
    {"CHAR", "TEXT COLLATE NOCASE"},           {"MEMO", "TEXT COLLATE NOCASE"},
    {"LONGTEXT", "TEXT COLLATE NOCASE"},       {"DATETIME", "DATETEXT COLLATE NOCASE"},
    {"DATE", "DATETEXT COLLATE NOCASE"},       {"COUNTER", "INTEGER PRIMARY KEY AUTOINCREMENT", true},
    {"AUTOINCREMENT", "INTEGER PRIMARY KEY AUTOINCREMENT", true},
    {"INTEGER", "INTEGER"},                    {"INT", "INTEGER"},
    {"LONG", "INTEGER"},                       {"SMALLINT", "INTEGER"},
    {"SHORT", "INTEGER"},                      {"BYTE", "INTEGER"},
    {"DOUBLE", "REAL"},                        {"FLOAT", "REAL"},
    {"REAL", "REAL"},                          {"SINGLE", "REAL"},
    {"CURRENCY", "REAL"},
};

const TStoredType* StoredTypeOf(const TJetToken* Token)
{
    for (const TStoredType& type : StoredTypes)
        if (IsWord(Token, type.Jet))
            return &type;
    return nullptr;
}

// The first token of a column definition, not of a table constraint.
bool IsColumnName(const TJetToken* Token)
{
    if (!Token || (Token->Kind != TJetTokenKind::Word && Token->Kind != TJetTokenKind::Bracketed))
        return false;
    for (const char* word : {"constraint", "primary", "unique", "foreign", "check"})
        if (IsWord(Token, word))
            return false;
    return true;
}

String SqlStringLiteral(const TJetToken& Token)
{
    const QChar quote = Token.Text[0];
    String value = Token.Text.mid(1, Token.Text.size() - 2);
    value.replace(String(2, quote), String(quote));
    value.replace(u'\'', QStringLiteral("''"));
    return u'\'' + value + u'\'';
}

class TJetTranslator {
public:
    TJetTranslator(const String& Sql, const TPinyinColumnTest& IsPinyinColumn)
        : FSql(Sql), FIsPinyinColumn(IsPinyinColumn)
    {
        for (TJetToken& token : TokeniseJetSql(Sql))
            if (token.Kind != TJetTokenKind::Space)
                FTokens.push_back(std::move(token));
        if (IsWord(At(0), "create") && IsWord(At(1), "table"))
            StoreColumnTypes();
    }

    TJetStatement Translate()
    {
        TJetStatement result;
        result.Sql = Emit(false);
        result.Table = SingleTable();
        if (!result.Table.isEmpty())
            result.KeysetSql = Emit(true);
        return result;
    }

private:
    struct TLevel {
        String Limit;
        bool InOrderBy = false;
    };

    const TJetToken* At(size_t Index) const { return Index < FTokens.size() ? &FTokens[Index] : nullptr; }

    // Rewrites the type of each column definition of a create table as it is stored: a size
    // "(n)" means nothing there, and a counter's own "primary key" is part of its declaration.
    void StoreColumnTypes()
    {
        std::vector<TJetToken> tokens;
        int depth = 0;
        for (size_t i = 0; i < FTokens.size(); ++i) {
            tokens.push_back(FTokens[i]);
            depth += IsSymbol(At(i), "(") - IsSymbol(At(i), ")");
            const bool definitionStarts = depth == 1 && (IsSymbol(At(i), "(") || IsSymbol(At(i), ","));
            const TStoredType* type = StoredTypeOf(At(i + 2));
            if (!definitionStarts || !IsColumnName(At(i + 1)) || !type)
                continue;
            tokens.push_back(FTokens[i + 1]);
            tokens.push_back({TJetTokenKind::Word, String::fromLatin1(type->Declared)});
            i += 2;
            if (IsSymbol(At(i + 1), "(") && At(i + 2) && At(i + 2)->Kind == TJetTokenKind::Number
                && IsSymbol(At(i + 3), ")"))
                i += 3;
            if (type->Counter && IsWord(At(i + 1), "primary") && IsWord(At(i + 2), "key"))
                i += 2;
        }
        FTokens = std::move(tokens);
    }

    [[noreturn]] void Fail(const char* Reason) const { StatementError(QString::fromUtf8(Reason), FSql); }

    // The table of "select * from T" followed by nothing, a where or an order by at the top level.
    String SingleTable() const
    {
        if (!IsWord(At(0), "select") || !IsSymbol(At(1), "*") || !IsWord(At(2), "from")
            || !At(3) || At(3)->Kind != TJetTokenKind::Word)
            return String();
        const TJetToken* next = At(4);
        if (next && !IsSymbol(next, ";") && !IsWord(next, "where") && !IsWord(next, "order"))
            return String();
        int depth = 0;
        for (const TJetToken& token : FTokens) {
            depth += IsSymbol(&token, "(") - IsSymbol(&token, ")");
            if (depth == 0
                && (IsWord(&token, "group") || IsWord(&token, "having") || IsWord(&token, "union")
                    || IsWord(&token, "limit")))
                return String();
        }
        return FTokens[3].Text;
    }

    // "select [distinct|all] top N": the index of N, or 0.
    size_t TopCount(size_t Select) const
    {
        size_t i = Select + 1;
        if (IsWord(At(i), "distinct") || IsWord(At(i), "all"))
            ++i;
        if (IsWord(At(i), "top") && At(i + 1) && At(i + 1)->Kind == TJetTokenKind::Number)
            return i + 1;
        return 0;
    }

    // A bare column as a whole order-by term: preceded by "by" or ",", followed by the term's end.
    bool IsOrderByColumn(size_t Index) const
    {
        const TJetToken& token = FTokens[Index];
        if (token.Kind != TJetTokenKind::Word && token.Kind != TJetTokenKind::Bracketed)
            return false;
        if (!IsWord(At(Index - 1), "by") && !IsSymbol(At(Index - 1), ","))
            return false;
        size_t next = Index + 1;
        if (IsWord(At(next), "asc") || IsWord(At(next), "desc"))
            ++next;
        if (At(next) && !IsSymbol(At(next), ",") && !IsSymbol(At(next), ")") && !IsSymbol(At(next), ";"))
            return false;
        const String name = token.Kind == TJetTokenKind::Bracketed ? token.Text.mid(1, token.Text.size() - 2)
                                                                   : token.Text;
        return FIsPinyinColumn(name);
    }

    String Emit(bool IdsOnly) const
    {
        std::vector<TLevel> levels(1);
        String out;
        std::vector<bool> dropped(FTokens.size());  // the "top N" of a select, now its limit
        for (size_t i = 0; i < FTokens.size(); ++i) {
            const TJetToken& token = FTokens[i];
            if (dropped[i])
                continue;
            String text = token.Text;
            switch (token.Kind) {
            case TJetTokenKind::Text:
                if (token.Unterminated)
                    Fail("Syntax error in string in query expression.");
                text = SqlStringLiteral(token);
                break;
            case TJetTokenKind::Date:
                if (const std::optional<String> date = JetDateText(token))
                    text = *date;
                else
                    Fail("Syntax error in date in query expression.");
                break;
            case TJetTokenKind::Bracketed:
                if (token.Unterminated)
                    Fail("名称的括号使用无效。");
                break;
            case TJetTokenKind::Word:
                if (IsWord(&token, "select")) {
                    if (const size_t count = TopCount(i)) {
                        levels.back().Limit = FTokens[count].Text;
                        dropped[count - 1] = dropped[count] = true;
                    }
                } else if (IsWord(&token, "by") && IsWord(At(i - 1), "order")) {
                    levels.back().InOrderBy = true;
                }
                break;
            case TJetTokenKind::Symbol:
                if (token.Text == u';') {
                    if (i + 1 != FTokens.size())
                        Fail("Characters found after end of SQL statement.");
                    continue;
                }
                if (token.Text == u'(') {
                    levels.emplace_back();
                } else if (token.Text == u')' && levels.size() > 1) {
                    AppendLimit(out, levels.back());
                    levels.pop_back();
                } else if (IdsOnly && i == 1) {
                    text = QStringLiteral("id");
                }
                break;
            default:
                break;
            }
            out += u' ';
            out += text;
            if (levels.back().InOrderBy && IsOrderByColumn(i))
                out += QStringLiteral(" COLLATE PINYIN");
        }
        AppendLimit(out, levels.front());
        return out.mid(1);
    }

    static void AppendLimit(String& Out, const TLevel& Level)
    {
        if (!Level.Limit.isEmpty())
            Out += QStringLiteral(" LIMIT ") + Level.Limit;
    }

    const String& FSql;
    const TPinyinColumnTest& FIsPinyinColumn;
    std::vector<TJetToken> FTokens;
};

}  // namespace

TJetStatement TranslateJetSql(const String& Sql, const TPinyinColumnTest& IsPinyinColumn)
{
    return TJetTranslator(Sql, IsPinyinColumn).Translate();
}

bool IsDateTimeType(const String& DeclaredType)
{
    return DeclaredType.compare(QLatin1String("DATETEXT"), Qt::CaseInsensitive) == 0;
}
