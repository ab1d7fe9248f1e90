// Splits a connection string into upper-case keys and values, refusing a malformed one.
#include "platform/ado/ConnectionString.h"

#include "platform/data/DatabaseError.h"

QMap<String, String> ParseConnectionString(const String& ConnectionString)
{
    QMap<String, String> values;
    qsizetype i = 0;
    while (i < ConnectionString.size()) {
        const qsizetype equals = ConnectionString.indexOf(u'=', i);
        const qsizetype semicolon = ConnectionString.indexOf(u';', i);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            const qsizetype end = semicolon < 0 ? ConnectionString.size() : semicolon;
            if (!ConnectionString.mid(i, end - i).trimmed().isEmpty())
                DatabaseError(QStringLiteral("连接字符串属性无效"));
            i = end + 1;
            continue;
        }
        const String key = ConnectionString.mid(i, equals - i).trimmed().toUpper();
        qsizetype start = equals + 1;
        while (start < ConnectionString.size() && ConnectionString[start].isSpace())
            ++start;
        String value;
        const QChar quote = start < ConnectionString.size() ? ConnectionString[start] : QChar();
        if (quote == u'"' || quote == u'\'') {
            const qsizetype close = ConnectionString.indexOf(quote, start + 1);
            if (close < 0)
                DatabaseError(QStringLiteral("连接字符串属性无效"));
            value = ConnectionString.mid(start + 1, close - start - 1);
            i = ConnectionString.indexOf(u';', close);
        } else {
            i = ConnectionString.indexOf(u';', start);
            value = ConnectionString.mid(start, (i < 0 ? ConnectionString.size() : i) - start).trimmed();
        }
        values.insert(key, value);
        i = i < 0 ? ConnectionString.size() : i + 1;
    }
    return values;
}
