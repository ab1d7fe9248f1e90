// The record summaries: a page's records of its date range grouped by item and by department,
// person or supplier, with summed quantities, shown in the page's own list and totals.
#include "app/orecordWhere.h"

#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Menus.h"

#include <span>

namespace {

// The columns each kind of summary leads with and groups by before the item, type and unit.
const char* const IssueKinds[] = {"", "部门,", "姓名,部门,"};
const char* const GiftKinds[] = {"", "领取部门,", "领取人,领取部门,", "批准,", "来客单位,", "来客姓名,来客单位,"};
const char* const StockInKinds[] = {"", "申购部门,", "申购人,申购部门,", "登记人,", "供应商,"};

std::span<const char* const> KindsOf(Char Tab)
{
    if (Tab == u'g')
        return GiftKinds;
    if (Tab == u'c')
        return StockInKinds;
    return IssueKinds;
}

}  // namespace

void TMF1::BindSummaryMenus()
{
    for (const auto& [menu, tab] : {std::pair{PopupMenu2, u'a'}, std::pair{PopupMenu5, u'g'}, std::pair{PopupMenu4, u'c'}})
        for (int i = 0; i < menu->Items()->Count(); ++i)
            menu->Items()->Items(i)->OnClick = [this, kind = i + 1, tab = tab](TObject*) { ShowSummary(kind, tab); };
}

void TMF1::ShowSummary(int Kind, Char Tab)
{
    const std::span<const char* const> kinds = KindsOf(Tab);
    if (Kind < 1 || Kind > static_cast<int>(kinds.size()))
        return;
    const String columns = String::fromUtf8(kinds[static_cast<std::size_t>(Kind - 1)]);
    const TRecordPage page = RecordPage(Tab);
    const String op = page.Operator->Text();
    const TDateTime first = page.FirstDate->DateTime();
    const TDateTime second = page.SecondDate->DateTime();

    // The labels the summary rows show in their 日期 and 备注 columns: the period summarised.
    String year = FormatDateTime(u"yyyy"_s, first);
    String label;
    TWhere where;
    AddDateTerm(where, op, first, second);
    if (where.Terms.isEmpty()) {
        // "不限制", and any text that is no operator: the year of the first date.
        AddDateLike(where, year + u'%');
    } else if (op == u"=") {
        year = DateTimeToStr(first);
    } else if (op == u"介于") {
        label = DateTimeToStr(first) + u" — "_s + DateTimeToStr(second);
    } else {
        label = op + DateTimeToStr(first);
    }

    const String table = String::fromUtf8(page.Table);
    const String item = Tab == u'g' ? u"礼品名称"_s : u"物品名称"_s;
    const String amount = Tab == u'c' ? u"sum(金额) AS 金额,"_s : String();
    const String sql = u"select "_s + columns + item + u",类型,sum(数量) AS 数量,"_s +
                       amount + u"单位,"_s + QuotedStr(year) + u" as 日期,"_s + QuotedStr(label) +
                       u" as 备注 from "_s + table + u" where "_s + where.Text() +
                       u" group by "_s + columns + item + u",类型,单位"_s;
    RunQueryWithTotals(page.Query, AQc1, page.TotalMemo, page.CountMemo,
                       u"select sum(数量) AS 总计 from "_s + table + u" where "_s + where.Text(), sql,
                       where.Params);
}
