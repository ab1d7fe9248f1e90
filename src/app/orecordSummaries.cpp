// The record summaries: a page's records of its date range grouped by item and by department,
// person or supplier, with summed quantities, shown in the page's own list and totals.
#include "app/orecordWhere.h"

#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Menus.h"

void TMF1::BindSummaryMenus()
{
    for (TPageKind page : PageKinds) {
        TMenuItem* items = Page(page).SummaryMenu->Items();
        for (int i = 0; i < items->Count(); ++i)
            items->Items(i)->OnClick = [this, kind = i + 1, page](TObject*) { ShowSummary(kind, Page(page)); };
    }
}

void TMF1::ShowSummary(int Kind, Char Tab) { ShowSummary(Kind, RecordPage(Tab)); }

void TMF1::ShowSummary(int Kind, const TRecordPage& Page)
{
    if (Kind < 1 || Kind > static_cast<int>(Page.SummaryGroups.size()))
        return;
    const String columns = String::fromUtf8(Page.SummaryGroups[static_cast<std::size_t>(Kind - 1)]);
    const String op = Page.Operator->Text();
    const TDateTime first = Page.FirstDate->DateTime();
    const TDateTime second = Page.SecondDate->DateTime();

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

    const String table = String::fromUtf8(Page.Table);
    const String item = String::fromUtf8(Page.ItemColumn);
    const String amount = Page.Amount != nullptr ? u"sum(金额) AS 金额,"_s : String();
    const String sql = u"select "_s + columns + item + u",类型,sum(数量) AS 数量,"_s +
                       amount + u"单位,"_s + QuotedStr(year) + u" as 日期,"_s + QuotedStr(label) +
                       u" as 备注 from "_s + table + u" where "_s + where.Text() +
                       u" group by "_s + columns + item + u",类型,单位"_s;
    RunQueryWithTotals(Page.Query, AQc1, Page.TotalMemo, Page.CountMemo,
                       u"select sum(数量) AS 总计 from "_s + table + u" where "_s + where.Text(), sql,
                       where.Params);
}
