#pragma once
// The Jet SQL dialect of the application, translated for SQLite by tokenising the statement:
//  - "text" literals become 'text' (a doubled "" inside stands for one ");
//  - #date# literals (yyyy-m-d, m/d/yyyy, with an optional h:m[:s]) become 'yyyy-MM-dd hh:mm:ss';
//  - select [distinct] top N ... becomes ... LIMIT N at the end of that select;
//  - order by on a pinyin-sorted text column collates it with PINYIN;
//  - one trailing ; is dropped, anything after it is an error;
//  - the column types of create table become the provider's storage conventions below.
// Text = and like compare without case through the columns' NOCASE collation.
//
// Storage conventions: Jet's text types (TEXT, VARCHAR, CHAR, MEMO, LONGTEXT; a size is dropped)
// are declared "TEXT COLLATE NOCASE"; DATETIME and DATE are declared DATETEXT COLLATE NOCASE
// (TEXT affinity) and hold "yyyy-MM-dd hh:mm:ss"; COUNTER and AUTOINCREMENT become the row id,
// "INTEGER PRIMARY KEY AUTOINCREMENT"; Jet's whole numbers are INTEGER and its fractional ones REAL.
#include "platform/core/String.h"

#include <functional>
#include <vector>

enum class TJetTokenKind { Space, Word, Number, Text, Date, Parameter, Bracketed, Symbol };

struct TJetToken {
    TJetTokenKind Kind;
    String Text;  // as written, quotes and marks included
    bool Unterminated = false;
};

// Never raises: a literal that does not end runs to the end of the text, marked Unterminated.
std::vector<TJetToken> TokeniseJetSql(const String& Sql);

// The :name parameters in order of first appearance (none inside literals).
std::vector<String> JetParameterNames(const String& Sql);

struct TJetStatement {
    String Sql;        // for SQLite
    String Table;      // of a single-table "select * from T [where ...] [order by ...]", else empty
    String KeysetSql;  // that statement selecting only the ids, when Table is set
};

using TPinyinColumnTest = std::function<bool(const String& Column)>;

// Raises EDatabaseError naming the statement when Jet would reject it.
TJetStatement TranslateJetSql(const String& Sql, const TPinyinColumnTest& IsPinyinColumn);

// True for the declared type of a stored date-time column (DATETEXT).
bool IsDateTimeType(const String& DeclaredType);
