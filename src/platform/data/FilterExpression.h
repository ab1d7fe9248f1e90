#pragma once
// The dataset's Filter text: comparisons of fields with literals ("部门 = '办公室'",
// "数量 >= 10", "姓名 like '张%'", "备注 is null"), joined by and / or, negated by not,
// grouped by parentheses. Text compares as the client-side sort does (Chinese collation,
// ignoring case); like takes % and _ (and * and ?) wildcards.
#include "platform/core/String.h"

#include <memory>

class TDataSet;

class TFilterExpression {
public:
    // Parses Text against DataSet's fields; raises EDatabaseError on a syntax error or an
    // unknown field.
    TFilterExpression(const String& Text, TDataSet* DataSet);
    ~TFilterExpression();
    // Evaluates against the record DataSet's fields read now.
    bool Evaluate() const;

    struct TNode;

private:
    std::unique_ptr<TNode> FRoot;
};
