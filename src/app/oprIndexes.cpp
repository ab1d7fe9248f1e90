// Unit oprIndexes: the application's indexes, by table, created on the connection.
#include "app/oprIndexes.h"

#include "platform/ado/ADODB.h"
#include "platform/core/StringLiterals.h"

#include <initializer_list>
#include <vector>

namespace {

struct TIndexedTable {
    const char* Table;
    // Columns that lead an index of their own, each followed by the record columns below.
    std::initializer_list<const char*> Columns;
    bool RecordTable;
};

// The quantity alone: the narrowest index of a record table, so the count and total of all its
// records, and of a quantity, read the fewest pages.
constexpr const char* Quantity = "数量";

// The order of every record list and the column every total sums.
constexpr const char* RecordColumns = "日期, id, 数量";

const TIndexedTable Indexed[] = {
    {"oprint", {"部门", "姓名", "类型", "物品名称", "备注"}, true},
    {"gift", {"来客单位", "来客姓名", "职务", "领取人", "批准", "类型", "礼品名称", "备注"}, true},
    {"ruku", {"申购部门", "登记人", "申购人", "类型", "物品名称", "供应商", "备注"}, true},
    // The settings lists: counters raised by name, people of a department most used first, the
    // catalogue looked up by item and type, and the pinyin searches by code prefix.
    {"ouser", {"姓名", "部门, 次数", "姓名编号"}, false},
    {"ptype", {"物品名称, 类型", "编号"}, false},
    {"rmark", {"备注"}, false},
    {"supplier", {"供应商编号"}, false},
    // The stock-in list's footer sums the amount beside the quantity, over every record of a
    // query all: both in the narrowest index that holds them. Over a date range (the page's
    // year at every start and reset) the date index must hold the amount too, or each record's
    // row is read for it; files of every version get it here.
    {"ruku", {"金额, 数量", "日期, id, 数量, 金额"}, false},
};

// An index is named by its table and its leading column.
TIndexDef IndexOf(const String& Table, const String& Columns)
{
    return {Table + u'_' + Columns.section(u',', 0, 0), Table, Columns};
}

std::vector<TIndexDef> OprIndexes()
{
    std::vector<TIndexDef> indexes;
    for (const TIndexedTable& table : Indexed)
        for (const char* columns : table.Columns)
            indexes.push_back(IndexOf(String::fromUtf8(table.Table),
                                      String::fromUtf8(columns) +
                                          (table.RecordTable ? u", "_s + String::fromUtf8(RecordColumns) : String())));
    for (const TIndexedTable& table : Indexed)
        if (table.RecordTable)
            indexes.push_back(IndexOf(String::fromUtf8(table.Table), String::fromUtf8(Quantity)));
    return indexes;
}

}  // namespace

void CreateOprIndexes(TADOConnection& Connection)
{
    Connection.CreateIndexes(OprIndexes());
    // Files of earlier versions have a date index of the stock-in table without the amount: the
    // one above begins with its columns and serves every statement it served, and each
    // registration would update both.
    Connection.Execute(u"DROP INDEX IF EXISTS ruku_date"_s);
}
