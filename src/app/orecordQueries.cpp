// The record pages' queries: each page's filter from its entry fields and date operator, query
// all, the quick date filters, the query by a cell's value, the operator combos, and the entry
// fields that re-run their page's filter as they change, with the fields they fill in.
// Every value the user typed or a record holds is bound as a parameter, never spliced into the
// statement, so any text is matched as it stands.
#include "app/orecordWhere.h"

#include "platform/ado/ADODB.h"
#include "platform/core/DateTime.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Memo.h"
#include "platform/ui/Menus.h"

namespace {

const String Queried = u"查询"_s;

// A field the filter takes, with its text as typed: neither empty nor showing its placeholder.
bool FiltersBy(const String& Text, const String* Placeholder)
{
    return !Text.isEmpty() && (Placeholder == nullptr || Text != *Placeholder);
}

String RecordOrder() { return u" ORDER BY 日期 desc,id desc"_s; }

String ListSql(const char* Table, const String& Where)
{
    return u"select * from "_s + String::fromUtf8(Table) + u" where "_s + Where + RecordOrder();
}

String SumSql(const char* Table, const String& Where)
{
    return u"select sum(数量) AS 总计 from "_s + String::fromUtf8(Table) + u" where "_s + Where;
}

}  // namespace

bool IsDateOperator(const String& Text)
{
    for (const char* op : {"不限制", "=", ">", "<", ">=", "<=", "介于"})
        if (Text == String::fromUtf8(op))
            return true;
    return false;
}

void AddDateLike(TWhere& Where, const String& Pattern)
{
    Where.Add(u"日期 like :date"_s, u"date"_s, Pattern);
}

void AddDateTerm(TWhere& Where, const String& Operator, TDateTime First, TDateTime Second)
{
    if (Operator == u"=") {
        AddDateLike(Where, DateTimeToStr(First) + u'%');
    } else if (Operator == u"<" || Operator == u"<=") {
        // Closed at the other end by the first date a record can hold: a range with two ends
        // lets the database read the dates' index, also where a summary groups the rows.
        Where.Add(u"日期>=:dmin and 日期"_s + Operator + u":d1"_s, u"dmin"_s,
                  Variant::FromDateTime(EncodeDate(1, 1, 1)));
        Where.Params.emplace_back(u"d1"_s, Variant::FromDateTime(First));
    } else if (Operator == u">" || Operator == u">=") {
        Where.Add(u"日期"_s + Operator + u":d1 and 日期<=:dmax"_s, u"d1"_s,
                  Variant::FromDateTime(First));
        Where.Params.emplace_back(u"dmax"_s, Variant::FromDateTime(EncodeDateTime(9999, 12, 31, 23, 59, 59, 0)));
    } else if (Operator == u"介于") {
        Where.Add(u"日期 between :d1 and :d2"_s, u"d1"_s, Variant::FromDateTime(First));
        Where.Params.emplace_back(u"d2"_s, Variant::FromDateTime(Second));
    }
}

void TMF1::RunPageFilter(const TRecordPage& Page)
{
    TWhere where;
    for (const TEntryField& field : Page.Fields) {
        const String text = field.Field->Text();
        if (field.Column == nullptr || !FiltersBy(text, field.Placeholder))
            continue;
        // A quantity is bound as text: the column's number affinity compares it as a number, and
        // a text that is no number matches nothing.
        const String name = u"f%1"_s.arg(where.Terms.size());
        const String column = String::fromUtf8(field.Column);
        if (field.Prefix)
            where.Add(column + u" like :"_s + name, name, text + u'%');
        else
            where.Add(column + u"=:"_s + name, name, text);
    }
    AddDateTerm(where, Page.Operator->Text(), Page.FirstDate->DateTime(), Page.SecondDate->DateTime());
    Page.QuickCombo->SetText(where.Terms.isEmpty() ? u"本年"_s : Queried);
    if (where.Terms.isEmpty())
        AddDateLike(where, FormatDateTime(u"yyyy"_s, Now()) + u'%');
    RunQueryWithTotals(Page.Query, AQc1, Page.TotalMemo, Page.CountMemo, SumSql(Page.Table, where.Text()),
                       ListSql(Page.Table, where.Text()), where.Params);
}

void TMF1::BitBtn1Click(TObject* Sender) { RunPageFilter(Page(TPageKind::Issue)); }

void TMF1::BitBtn8Click(TObject* Sender) { RunPageFilter(Page(TPageKind::Gift)); }

void TMF1::BitBtn11Click(TObject* Sender) { RunPageFilter(Page(TPageKind::StockIn)); }

void TMF1::QueryAll(const TRecordPage& Page)
{
    const String table = String::fromUtf8(Page.Table);
    RunQueryWithTotals(Page.Query, AQc1, Page.TotalMemo, Page.CountMemo, u"select Sum(数量) AS 总计 from "_s + table,
                       u"select * from "_s + table + u" order by 日期 desc,id desc"_s);
    Page.QuickCombo->SetText(u"全部"_s);
}

void TMF1::BitBtn4Click(TObject* Sender) { QueryAll(Page(TPageKind::Issue)); }

void TMF1::BitBtn9Click(TObject* Sender) { QueryAll(Page(TPageKind::Gift)); }

void TMF1::BitBtn6Click(TObject* Sender) { QueryAll(Page(TPageKind::StockIn)); }

void TMF1::BitBtn4MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    auto* button = static_cast<TBitBtn*>(Sender);
    button->Click();
    // The menu takes the mouse from the button, as opening a menu does, so the release that
    // ends this press does not query all a second time.
    button->Perform(WM_CANCELMODE);
    TPopupMenu* menu = PageOf(button).SummaryMenu;
    const TPoint corner = button->ClientToScreen(TPoint{0, button->Height()});
    menu->Popup(corner.X, corner.Y);
}

void TMF1::RunQuickDateFilter(const TRecordPage& Page)
{
    const String quick = Page.QuickCombo->Text();
    if (quick == u"全部") {
        // Query all shows the very list and totals this filter would.
        Page.AllButton->Click();
        return;
    }
    const TDateTime base = Page.FirstDate->DateTime();
    TWhere where;
    if (quick == u"本年")
        AddDateLike(where, FormatDateTime(u"yyyy"_s, base) + u'%');
    else if (quick == u"本月")
        AddDateLike(where, FormatDateTime(u"yyyy-mm"_s, base) + u'%');
    else if (quick == u"本日")
        AddDateLike(where, FormatDateTime(u"yyyy-mm-dd"_s, base) + u'%');
    else if (quick == u"本周")
        AddDateTerm(where, u"介于"_s, StartOfTheWeek(base), EndOfTheWeek(base));
    const String table = String::fromUtf8(Page.Table);
    if (where.Terms.isEmpty())
        RunQueryWithTotals(Page.Query, AQc1, Page.TotalMemo, Page.CountMemo,
                           u"select sum(数量) AS 总计 from "_s + table,
                           u"select * from "_s + table + RecordOrder());
    else
        RunQueryWithTotals(Page.Query, AQc1, Page.TotalMemo, Page.CountMemo, SumSql(Page.Table, where.Text()),
                           ListSql(Page.Table, where.Text()), where.Params);
}

void TMF1::QueryByCellValue(const TRecordPage& Page, const String& FieldName, const String& Value)
{
    TWhere where;
    const String value = u"value"_s;
    if (FieldName == u"日期") {
        where.Add(u"日期 like :value"_s, value, u'%' + Value + u'%');
    } else if (FieldName == u"时间") {
        where.Add(u"时间 like :value"_s, value, u'%' + Value.right(7) + u'%');
    } else if (FieldName == u"数量" || FieldName == u"单价" || FieldName == u"金额") {
        if (!Value.isEmpty())
            where.Add(FieldName + u" =:value"_s, value, Value);
    } else if (FieldName != u"序号") {
        // The name is a column of the page's own list, bracketed as a column name.
        where.Add(u'[' + FieldName + u"]=:value"_s, value, Value);
    }
    if (where.Terms.isEmpty())
        return;
    RunQueryWithTotals(Page.Query, AQc1, Page.TotalMemo, Page.CountMemo, SumSql(Page.Table, where.Text()),
                       ListSql(Page.Table, where.Text()), where.Params);
    Page.QuickCombo->SetText(Queried);
}

void TMF1::ComboBox8Change(TObject* Sender)
{
    const TRecordPage page = PageOf(Sender);
    const String op = page.Operator->Text();
    if (op == u"介于") {
        page.FirstDate->SetVisible(true);
        page.SecondDate->SetVisible(true);
    } else if (op.isEmpty() || IsDateOperator(op)) {
        page.FirstDate->SetVisible(true);
        page.SecondDate->SetVisible(false);
    }
}

void TMF1::ResetOperatorText(TComboBox* Combo)
{
    if (!IsDateOperator(Combo->Text()))
        Combo->SetText(NoDateLimit);
}
