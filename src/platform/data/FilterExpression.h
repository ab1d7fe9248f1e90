#pragma once
// The dataset's Filter text: comparisons of fields with literals ("部门 = '办公室'",
// "数量 >= 10", "姓名 like '张%'", "姓名 not like '张%'", "备注 is null"), joined by and / or,
// negated by not, grouped by parentheses; and binds tighter than or. A literal takes the kind of
// its field (a number, with or without an exponent; a date; True or False for a boolean; text),
// and text compares as the client-side sort does (Chinese collation, ignoring case); like takes
// % and _ (and * and ?) wildcards, ignoring case. Null satisfies only "is null" (and "not" of
// another comparison). Chains of and / or may be any length; not and parentheses nest at most
// 100 levels deep.
#include "platform/core/String.h"

#include <memory>

class TDataSet;

class TFilterExpression {
public:
    // Parses Text against DataSet's fields; raises EDatabaseError on a syntax error, an unknown
    // field, a literal its field cannot read, or nesting too deep.
    TFilterExpression(const String& Text, TDataSet* DataSet);
    ~TFilterExpression();
    // Evaluates against the record DataSet's fields read now.
    bool Evaluate() const;

    struct TNode;

private:
    std::unique_ptr<TNode> FRoot;
};
