// The issue page: registering an issue of supplies and its reset, and the catalogue and totals
// every registration and query of the main window ends in.
#include "app/orecord.h"

#include "app/orecordEntry.h"
#include "app/sys.h"
#include "platform/ado/ADODB.h"
#include "platform/core/Currency.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Memo.h"
#include "platform/ui/Menus.h"

#include <cmath>
#include <cstdint>
#include <limits>

void TMF1::Button2Click(TObject* Sender)
{
    ComboBox3->SetText(String());
    ComboBox2->SetText(String());
    ComboBox4->SetText(String());
    ComboBox7->SetText(String());
    ComboBox6->SetText(UnitPlaceholder);
    ComboBox8->SetText(NoDateLimit);
    ComboBox1->SetText(DepartmentPlaceholder);
    ComboBox5->SetText(ItemPlaceholder);
    DateTimePicker1->SetDateTime(Date());
    DateTimePicker2->SetDateTime(Date());
    DateTimePicker2->SetVisible(false);
    BitBtn1->Click();
}

bool TMF1::IssueEntryIsComplete()
{
    const auto fail = [this](const char* Text) {
        MessageBox(Handle(), String::fromUtf8(Text), PromptCaption, MB_OK | MB_ICONWARNING);
        return false;
    };
    if (!IsFilled(ComboBox1->Text(), DepartmentPlaceholder))
        return fail("请选择部门 ！");
    if (!IsFilled(ComboBox3->Text()))
        return fail("请填写姓名 ！");
    if (!IsFilled(ComboBox5->Text(), ItemPlaceholder))
        return fail("请选择物品名称 ！");
    return QuantityIsAccepted(ComboBox7, u"请确认物品数量 ！"_s) &&
           SumsCanHold(ComboBox7, "oprint", "数量", StrToInt(ComboBox7->Text()), QuantityTooLarge);
}

// The key filter keeps minus signs out of a typed quantity, but pasted text passes it.
bool TMF1::QuantityIsAccepted(TComboBox* Quantity, const String& Refusal)
{
    // A quantity that is no number at all raises the conversion error, reported by the platform.
    if (IsFilled(Quantity->Text()) && StrToInt(Quantity->Text()) >= 1)
        return true;
    MessageBox(Handle(), Refusal, PromptCaption, MB_OK | MB_ICONWARNING);
    Quantity->SetFocus();
    Quantity->SelectAll();
    return false;
}

// Sums are taken over the absolute values: whichever records a list, a filter or a summary
// adds up, negative amounts among them, its sum lies within this total. The bound is the whole
// units of Currency, a 64-bit count of 1/10000, which leaves the sums' rounding room below its end.
bool TMF1::SumsCanHold(TCustomEdit* Field, const char* Table, const char* Column, long double Value,
                       const String& Refusal)
{
    constexpr long double Bound = std::numeric_limits<std::int64_t>::max() / Currency::Scale;
    OpenSql(ADOQ1, u"select total(abs(%1)) from %2"_s.arg(String::fromUtf8(Column), String::fromUtf8(Table)));
    const long double stored = ADOQ1->Fields()->Fields(0)->AsFloat();
    ADOQ1->Close();
    if (stored + std::fabs(Value) <= Bound)
        return true;
    MessageBox(Handle(), Refusal, PromptCaption, MB_OK | MB_ICONWARNING);
    Field->SetFocus();
    Field->SelectAll();
    return false;
}

void TMF1::InsertIssue(TComboBox* Name, TComboBox* Department, TComboBox* Quantity, TComboBox* Unit, TComboBox* Item,
                       TComboBox* Type, TDateTimePicker* Date, TComboBox* Remark)
{
    ExecSql(ADOQ1,
            u"insert into oprint(姓名,部门,数量,单位,物品名称,类型,日期,时间,备注) "
             "values(:sname,:sdept,:sno,:sdw,:spname,:spty,:sdate,:stime,:sremark)"_s,
            {{u"sname"_s, Trim(Name->Text())},
             {u"sdept"_s, Trim(Department->Text())},
             {u"sno"_s, StrToInt(Quantity->Text())},
             {u"sdw"_s, Trim(Unit->Text())},
             {u"spname"_s, Trim(Item->Text())},
             {u"spty"_s, Trim(Type->Text())},
             {u"sdate"_s, Variant::FromDateTime(Date->DateTime())},
             {u"stime"_s, FormatDateTime(u"hh:mm:ss"_s, Now())},
             {u"sremark"_s, Trim(Remark->Text())}});
}

void TMF1::StoreIssue()
{
    const String name = Trim(ComboBox3->Text());
    const String remark = Trim(ComboBox4->Text());
    InsertIssue(ComboBox3, ComboBox1, ComboBox7, ComboBox6, ComboBox5, ComboBox2, DateTimePicker1, ComboBox4);
    ExecSql(ADOQ1, u"update ouser SET 次数=次数+1 where 姓名=:a;"_s, {{u"a"_s, name}});
    ExecSql(ADOQ1, u"update rmark SET 次数=次数+1 where 备注=:a;"_s, {{u"a"_s, remark}});
    ADOQ1->Close();
    UpdateItemCatalogue(ADOQ1, ComboBox5, u"办公"_s, ComboBox6, ComboBox2);
}

// The statements of one issue are stored together or not at all, so a failure never leaves a
// stored issue behind "操作失败" for the user to register a second time.
void TMF1::Button1Click(TObject* Sender)
{
    if (!IssueEntryIsComplete())
        return;
    try {
        StoreInOneTransaction(ADOCon1, [this] { StoreIssue(); });
    } catch (const std::exception&) {
        MessageBox(Handle(), u"操作失败 ！"_s, PromptCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    // The issue is stored: a failing re-query is reported as what it is, not as a failed registration.
    try {
        Button2->Click();
    } catch (...) {
        Application->HandleException(this);
    }
    MessageBox(Handle(), u"登记成功 ！"_s, PromptCaption, MB_OK | MB_ICONINFORMATION);
}

// The quantity filter of every page; Enter registers the page's entry.
void TMF1::ComboBox7KeyPress(TObject* Sender, Char& Key)
{
    if (Key == u'\r') {
        Key = Char();
        (Sender == ComboBox15 ? Button3 : Sender == ComboBox29 ? Button5 : Button1)->Click();
    } else if (Key != u'\b' && Key != u' ' && !(Key >= u'0' && Key <= u'9')) {
        Key = Char();
    }
}

// Enter in the remark or type field registers the page's entry; the stock-in page shares these.
void TMF1::ComboBox4KeyPress(TObject* Sender, Char& Key)
{
    if (Key != u'\r')
        return;
    Key = Char();
    (Sender == ComboBox25 || Sender == ComboBox26 ? Button5 : Button1)->Click();
}

void TMF1::ComboBox2KeyPress(TObject* Sender, Char& Key) { ComboBox4KeyPress(Sender, Key); }

void TMF1::UpdateItemCatalogue(TADOQuery* Query, TComboBox* ItemCombo, const String& Category, TComboBox* UnitCombo,
                               TComboBox* TypeCombo)
{
    const String item = Trim(ItemCombo->Text());
    const String type = Trim(TypeCombo->Text());
    OpenSql(Query, u"select * from ptype where 物品名称=:pna and 类型=:pty;"_s,
            {{u"pna"_s, item}, {u"pty"_s, type}});
    if (Query->IsEmpty())
        ExecSql(Query, u"insert into ptype(物品名称,编号,类型,单位,礼品) values(:spna,:spno,:sty,:sdw,:sg)"_s,
                {{u"spna"_s, item},
                 {u"spno"_s, Trim(TForm3::MakePinyinCode(item))},
                 {u"sty"_s, type},
                 {u"sdw"_s, Trim(UnitCombo->Text())},
                 {u"sg"_s, Category}});
    ExecSql(Query, u"update ptype SET 次数=次数+1 where 物品名称=:a and 类型=:b;"_s,
            {{u"a"_s, item}, {u"b"_s, type}});
    Query->Close();
}

void TMF1::RunQueryWithTotals(TADOQuery* Query, TADOQuery* SumQuery, TMemo* TotalMemo, TMemo* CountMemo,
                              const String& SumSql, const String& Sql, const TQueryParams& Params)
{
    MakeRecordGridsReadOnly();
    RangeAnchor = {};
    // A list of one table's records sums 数量 in the statement that counts them, where SumSql
    // would filter the same records again; a summary's groups are summed by SumSql.
    Query->SetTotals({u"sum(数量)"_s});
    OpenSql(Query, Sql, Params);
    Query->First();
    Variant total;
    if (!Query->TotalValues().empty()) {
        total = Query->TotalValues().front();
    } else {
        OpenSql(SumQuery, SumSql, Params);
        total = SumQuery->Fields()->Fields(0)->Value();
    }
    CountMemo->SetText(IntToStr(Query->RecordCount()));
    // The database answers no sum for an empty set.
    TotalMemo->SetText(Query->IsEmpty() ? u"0"_s : VarToStr(total));
}
