// Sort texts parsed against a cursor's fields, and records compared by them.
#include "platform/data/SortText.h"

#include "platform/core/Collation.h"
#include "platform/data/DatabaseError.h"

#include <QStringList>

namespace {

int FieldIndexOf(const String& Name, const std::vector<TCursorField>& Fields)
{
    for (std::size_t i = 0; i < Fields.size(); ++i)
        if (Fields[i].Name.compare(Name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    DatabaseError(DBConsts::SFieldNotFound.arg(Name));
}

String Unbracketed(const String& Name)
{
    if (Name.size() >= 2 && Name.startsWith(u'[') && Name.endsWith(u']'))
        return Name.mid(1, Name.size() - 2);
    return Name;
}

TSortKey ParseKey(const String& Term, const std::vector<TCursorField>& Fields)
{
    String name = Term;
    bool descending = false;
    const qsizetype blank = Term.lastIndexOf(u' ');
    if (blank > 0 && !Term.endsWith(u']')) {
        const String direction = Term.mid(blank + 1);
        if (direction.compare(u"DESC", Qt::CaseInsensitive) == 0)
            descending = true;
        else if (direction.compare(u"ASC", Qt::CaseInsensitive) != 0)
            DatabaseError(QStringLiteral("无效的排序“%1”").arg(Term));
        name = Term.left(blank).trimmed();
    }
    return {FieldIndexOf(Unbracketed(name), Fields), descending};
}

}  // namespace

TSortSpec ParseSortText(const String& Text, const std::vector<TCursorField>& Fields)
{
    TSortSpec spec;
    for (const String& part : Text.split(u',', Qt::SkipEmptyParts)) {
        const String term = part.simplified();
        if (!term.isEmpty())
            spec.push_back(ParseKey(term, Fields));
    }
    return spec;
}

int SortCompare(const Variant& A, const Variant& B)
{
    if (VarIsStr(A) && VarIsStr(B))
        return CollateCompare(A.AsString(), B.AsString(), TCaseSensitivity::Insensitive);
    const std::weak_ordering order = A <=> B;
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int CompareRecords(const TRecordValues& A, const TRecordValues& B, const TSortSpec& Spec)
{
    for (const TSortKey& key : Spec) {
        const auto index = static_cast<std::size_t>(key.FieldIndex);
        const int order = SortCompare(A[index], B[index]);
        if (order != 0)
            return key.Descending ? -order : order;
    }
    return 0;
}
