#pragma once
// A database file in a temporary folder with the issue table the record pages list, for the
// grid's tests on the application's own data access.
#include "platform/ado/ADODB.h"

#include <QTemporaryDir>

inline void OpenOprintTestDatabase(TADOConnection& Connection, const QTemporaryDir& Dir)
{
    Connection.SetConnectionString(
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(Dir.filePath(QStringLiteral("opr.mdb"))));
    Connection.SetLoginPrompt(false);
    Connection.OnNewDatabase = [&Connection](TObject*) {
        Connection.Execute(String::fromUtf8("CREATE TABLE oprint(id COUNTER PRIMARY KEY, 姓名 TEXT, 部门 TEXT, "
                                            "数量 INTEGER, 备注 TEXT)"));
    };
    Connection.Open();
}
