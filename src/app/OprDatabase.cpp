// The eight tables of "opr.mdb" and the check that a file is this program's database.
#include "app/OprDatabase.h"

#include "platform/ado/ADODB.h"
#include "platform/data/DatabaseError.h"

#include <algorithm>
#include <iterator>

namespace {

// Columns in the order `select *` reports them; the id comes first in every table. The use
// counters start at 0, so a registration's "次数=次数+1" counts from there.
constexpr const char* const Statements[] = {
    "CREATE TABLE oprint(id COUNTER PRIMARY KEY, 姓名 TEXT, 部门 TEXT, 数量 INTEGER, 单位 TEXT, 物品名称 TEXT, "
    "类型 TEXT, 日期 DATETIME, 时间 TEXT, 备注 TEXT)",
    "CREATE TABLE gift(id COUNTER PRIMARY KEY, 来客姓名 TEXT, 来客单位 TEXT, 职务 TEXT, 领取人 TEXT, 领取部门 TEXT, "
    "批准 TEXT, 数量 INTEGER, 单位 TEXT, 礼品名称 TEXT, 类型 TEXT, 日期 DATETIME, 时间 TEXT, 备注 TEXT)",
    "CREATE TABLE ruku(id COUNTER PRIMARY KEY, 物品名称 TEXT, 类型 TEXT, 供应商 TEXT, 数量 INTEGER, 单位 TEXT, "
    "单价 DOUBLE, 金额 DOUBLE, 申购人 TEXT, 申购部门 TEXT, 登记人 TEXT, 日期 DATETIME, 时间 TEXT, 备注 TEXT)",
    "CREATE TABLE ptype(id COUNTER PRIMARY KEY, 物品名称 TEXT, 编号 TEXT, 类型 TEXT, 单位 TEXT, 礼品 TEXT, "
    "次数 INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE ouser(id COUNTER PRIMARY KEY, 姓名 TEXT, 姓名编号 TEXT, 部门 TEXT, 次数 INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE dept(id COUNTER PRIMARY KEY, 部门编号 TEXT, 部门 TEXT)",
    "CREATE TABLE rmark(id COUNTER PRIMARY KEY, 备注 TEXT, 次数 INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE supplier(id COUNTER PRIMARY KEY, 供应商 TEXT, 供应商编号 TEXT, 联系人 TEXT, 电话 TEXT, 手机 TEXT, "
    "传真 TEXT, QQ TEXT, 邮箱 TEXT, 供应商地址 TEXT, 备注 TEXT)",
    "CREATE INDEX oprint_date ON oprint(日期, id, 数量)",
    "CREATE INDEX gift_date ON gift(日期, id, 数量)",
    // The stock-in list's footer sums the amount too: its date index holds it.
    "CREATE INDEX ruku_日期 ON ruku(日期, id, 数量, 金额)",
};

constexpr const char* TableNames[] = {"oprint", "gift", "ruku", "ptype", "ouser", "dept", "rmark", "supplier"};

}  // namespace

void CreateOprTables(TADOConnection* Connection)
{
    Connection->BeginTrans();
    try {
        for (const char* statement : Statements)
            Connection->Execute(String::fromUtf8(statement));
        Connection->CommitTrans();
    } catch (...) {
        Connection->RollbackTrans();
        throw;
    }
}

bool IsOprDatabase(TADOConnection* Connection)
{
    TStringList tables;
    Connection->GetTableNames(&tables);
    return std::all_of(std::begin(TableNames), std::end(TableNames),
                       [&tables](const char* Name) { return tables.IndexOf(String::fromLatin1(Name)) >= 0; });
}

void OpenOprDatabase(TADOConnection* Connection)
{
    Connection->OnNewDatabase = [Connection](TObject*) { CreateOprTables(Connection); };
    Connection->RemoveStagedCopies();
    Connection->Open();
    if (IsOprDatabase(Connection))
        return;
    Connection->Close();
    RefuseDatabaseFile(QStringLiteral("数据库文件 %1 不是本程序的数据库 ！").arg(Connection->DatabasePath()));
}
