#pragma once
// The where clause the record pages' queries and summaries build: terms joined with "and", each
// with the value it binds.
#include "app/orecord.h"
#include "platform/core/DateTime.h"
#include "platform/core/StringLiterals.h"

struct TWhere {
    TStringDynArray Terms;
    TQueryParams Params;

    void Add(const String& Term, const String& Name, const Variant& Value)
    {
        Terms << Term;
        Params.emplace_back(Name, Value);
    }
    String Text() const { return Terms.join(u" and "_s); }
};

// 日期 like Pattern.
void AddDateLike(TWhere& Where, const String& Pattern);
// The term of a date operator on First (and Second for "介于"); none for "不限制" and any text
// that is no operator.
void AddDateTerm(TWhere& Where, const String& Operator, TDateTime First, TDateTime Second);
// One of "不限制", "=", ">", "<", ">=", "<=", "介于".
bool IsDateOperator(const String& Text);
