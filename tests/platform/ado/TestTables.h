#pragma once
// The tables the provider's tests run on: records and lists as an office program keeps them,
// created in Jet SQL through the connection when the test's file is new.
#include "platform/ado/ADODB.h"

inline void CreateTestTables(TADOConnection& Connection)
{
    static const char* const statements[] = {
        "CREATE TABLE oprint(id COUNTER PRIMARY KEY, 姓名 TEXT, 部门 TEXT, 数量 INTEGER, 单位 TEXT(50), "
        "物品名称 TEXT, 类型 TEXT, 日期 DATETIME, 时间 TEXT, 备注 MEMO)",
        "CREATE TABLE gift(id AUTOINCREMENT PRIMARY KEY, 来客姓名 TEXT, 数量 INTEGER, 日期 DATETIME)",
        "CREATE TABLE ruku(id COUNTER PRIMARY KEY, 物品名称 TEXT, 类型 TEXT, 供应商 TEXT, 数量 LONG, 单位 TEXT, "
        "单价 DOUBLE, 金额 CURRENCY, 申购人 TEXT, 申购部门 TEXT, 登记人 TEXT, 日期 DATE, 时间 TEXT, 备注 TEXT)",
        "CREATE TABLE ptype(id COUNTER PRIMARY KEY, 物品名称 TEXT, 编号 TEXT, 类型 TEXT, 单位 TEXT, 礼品 TEXT, "
        "次数 INTEGER NOT NULL DEFAULT 0)",
        "CREATE TABLE ouser(id COUNTER PRIMARY KEY, 姓名 TEXT, 姓名编号 TEXT, 部门 TEXT, 次数 INTEGER NOT NULL DEFAULT 0)",
        "CREATE TABLE dept(id COUNTER PRIMARY KEY, 部门编号 VARCHAR(20), 部门 TEXT)",
        "CREATE TABLE rmark(id COUNTER PRIMARY KEY, 备注 TEXT, 次数 INTEGER NOT NULL DEFAULT 0)",
        "CREATE INDEX oprint_date ON oprint(日期, id, 数量)",
    };
    for (const char* statement : statements)
        Connection.Execute(String::fromUtf8(statement));
}

// Opens Path on Connection, the test tables created when the file is new.
inline void ConnectWithTestTables(TADOConnection& Connection, const String& Path)
{
    Connection.SetConnectionString(
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Persist Security Info=False").arg(Path));
    Connection.OnNewDatabase = [&Connection](TObject*) { CreateTestTables(Connection); };
    Connection.Open();
}
