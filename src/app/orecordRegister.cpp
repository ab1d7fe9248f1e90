// Registering a page's entry: the checks of its required fields, its statements in one
// transaction, the reset that follows, and the catalogue and totals every registration and
// query of the main window ends in.
#include "app/orecord.h"

#include "app/orecordEntry.h"
#include "app/sys.h"
#include "datagrid/DBGridEh.h"
#include "platform/ado/ADODB.h"
#include "platform/core/Currency.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Memo.h"
#include "platform/ui/Menus.h"

#include <cmath>
#include <cstdint>
#include <limits>

void Warn(TForm* Window, const String& Text) { MessageBox(Window->Handle(), Text, PromptCaption, MB_OK | MB_ICONWARNING); }

namespace {

// The number a price or amount field shows, as the database column holds it; a text that shows
// none raises the conversion error.
double NumberIn(const String& Text)
{
    double value = 0;
    if (!TryStrToFloat(Text, value))
        throw EConvertError(u"'%1' is not a valid floating point value"_s.arg(Text));
    return value;
}

Variant StoredValue(const TMF1::TStoredField& Stored)
{
    const String text = Stored.Field->Text();
    switch (Stored.As) {
    case TMF1::TStoredAs::Quantity:
        return StrToInt(text);
    case TMF1::TStoredAs::Number:
        return NumberIn(text);
    case TMF1::TStoredAs::Text:
        break;
    }
    return Trim(text);
}

}  // namespace

void TMF1::Button1Click(TObject* Sender) { RegisterEntry(Page(TPageKind::Issue)); }

void TMF1::Button2Click(TObject* Sender) { ResetPage(Page(TPageKind::Issue)); }

void TMF1::Button3Click(TObject* Sender) { RegisterEntry(Page(TPageKind::Gift)); }

void TMF1::Button4Click(TObject* Sender) { ResetPage(Page(TPageKind::Gift)); }

void TMF1::Button5Click(TObject* Sender) { RegisterEntry(Page(TPageKind::StockIn)); }

void TMF1::Button6Click(TObject* Sender) { ResetPage(Page(TPageKind::StockIn)); }

// Setting a field's text fires nothing, so the reset runs the page's query once, at its end.
void TMF1::ResetPage(const TRecordPage& Page)
{
    for (const TEntryField& field : Page.Fields)
        field.Field->SetText(field.Placeholder != nullptr ? *field.Placeholder : String());
    Page.Operator->SetText(NoDateLimit);
    Page.FirstDate->SetDateTime(Date());
    Page.SecondDate->SetDateTime(Date());
    Page.SecondDate->SetVisible(false);
    // Before the query, which an edit the lists cannot store stops.
    if (Page.AlsoIssue != nullptr)
        Page.AlsoIssue->SetChecked(false);
    Page.QueryButton->Click();
}

bool TMF1::EntryIsComplete(const TRecordPage& Page)
{
    for (const TRequiredField& required : Page.Required)
        if (!FieldIsAccepted(required))
            return false;
    return EntrySumsCanHold(Page);
}

// The key filters keep minus signs out of a typed quantity or price, but pasted text passes
// them: a price below zero is refused as the zero price. A quantity or price that is no number
// at all raises the conversion error, reported by the platform.
bool TMF1::FieldIsAccepted(const TRequiredField& Required)
{
    const String text = Required.Field->Text();
    switch (Required.Check) {
    case TEntryCheck::Filled:
        if (IsFilled(text, Required.Placeholder != nullptr ? *Required.Placeholder : String()))
            return true;
        Warn(this, String::fromUtf8(Required.Refusal));
        return false;
    case TEntryCheck::Quantity:
        if (IsFilled(text) && StrToInt(text) >= 1)
            return true;
        break;
    case TEntryCheck::Price:
        if (IsFilled(text) && NumberIn(text) > 0)
            return true;
        break;
    }
    Warn(this, String::fromUtf8(Required.Refusal));
    Required.Field->SetFocus();
    Required.Field->SelectAll();
    return false;
}

// The quantity joins the page's sums, and the issue's when the requester takes the goods too.
// An amount that is no number is left to the insert, which fails on it.
bool TMF1::EntrySumsCanHold(const TRecordPage& Page)
{
    const int quantity = StrToInt(Page.Quantity->Text());
    if (!EntrySumCanHold(Page.Quantity, Page.Table, "数量", quantity, QuantityTooLarge))
        return false;
    if (Page.AlsoIssue != nullptr && Page.AlsoIssue->Checked() &&
        !EntrySumCanHold(Page.Quantity, "oprint", "数量", quantity, QuantityTooLarge))
        return false;
    double amount = 0;
    return Page.Amount == nullptr || !TryStrToFloat(Page.Amount->Text(), amount) ||
           EntrySumCanHold(Page.Amount, Page.Table, "金额", amount, AmountTooLarge);
}

bool TMF1::EntrySumCanHold(TCustomEdit* Field, const char* Table, const char* Column, long double Value,
                           const String& Refusal)
{
    if (SumsCanHold(Table, Column, Value))
        return true;
    Warn(this, Refusal);
    Field->SetFocus();
    Field->SelectAll();
    return false;
}

// Sums are taken over the absolute values: whichever records a list, a filter or a summary
// adds up, negative amounts among them, its sum lies within this total. The bound is the whole
// units of Currency, a 64-bit count of 1/10000, which leaves the sums' rounding room below its end.
bool TMF1::SumsCanHold(const char* Table, const char* Column, long double Value, long double Replaced)
{
    constexpr long double Bound = std::numeric_limits<std::int64_t>::max() / Currency::Scale;
    OpenSql(ADOQ1, u"select total(abs(%1)) from %2"_s.arg(String::fromUtf8(Column), String::fromUtf8(Table)));
    const long double stored = ADOQ1->Fields()->Fields(0)->AsFloat();
    ADOQ1->Close();
    return stored - std::fabs(Replaced) + std::fabs(Value) <= Bound;
}

void TMF1::InsertRecord(const char* Table, const std::vector<TStoredField>& Fields, TDateTimePicker* Date)
{
    TStringDynArray columns;
    TStringDynArray values;
    TQueryParams params;
    for (const TStoredField& stored : Fields) {
        const String name = u"v%1"_s.arg(params.size());
        columns << String::fromUtf8(stored.Column);
        values << u':' + name;
        params.emplace_back(name, StoredValue(stored));
    }
    columns << u"日期"_s << u"时间"_s;
    values << u":sdate"_s << u":stime"_s;
    params.emplace_back(u"sdate"_s, Variant::FromDateTime(Date->DateTime()));
    params.emplace_back(u"stime"_s, FormatDateTime(u"hh:mm:ss"_s, Now()));
    const String table = String::fromUtf8(Table);
    ExecSql(ADOQ1, u"insert into %1(%2) values(%3)"_s.arg(table, columns.join(u','), values.join(u',')), params);
}

void TMF1::StoreEntry(const TRecordPage& Page)
{
    InsertRecord(Page.Table, Page.Stored, Page.FirstDate);
    if (Page.CountedPerson != nullptr)
        ExecSql(ADOQ1, u"update ouser SET 次数=次数+1 where 姓名=:a;"_s, {{u"a"_s, Trim(Page.CountedPerson->Text())}});
    if (Page.CountedRemark != nullptr)
        ExecSql(ADOQ1, u"update rmark SET 次数=次数+1 where 备注=:a;"_s, {{u"a"_s, Trim(Page.CountedRemark->Text())}});
    ADOQ1->Close();
    UpdateItemCatalogue(ADOQ1, Page.Item, String::fromUtf8(Page.Category), Page.Unit, Page.Type);
}

// The statements of one registration (the record, its counters and catalogue entry, the
// requester's issue with a stock-in) are stored together or not at all, so a failure never
// leaves a record behind "操作失败" for the user to register a second time.
void TMF1::RegisterEntry(const TRecordPage& Page)
{
    if (!EntryIsComplete(Page))
        return;
    const bool withIssue = Page.AlsoIssue != nullptr && Page.AlsoIssue->Checked();
    bool issueFailed = false;
    try {
        StoreInOneTransaction(ADOCon1, [&] {
            StoreEntry(Page);
            if (!withIssue)
                return;
            try {
                InsertRecord("oprint", Page.IssueStored, Page.FirstDate);
            } catch (...) {
                issueFailed = true;
                throw;
            }
        });
    } catch (const std::exception&) {
        // The message names the step that failed; nothing of the entry is stored either.
        Warn(this, issueFailed ? u"领用操作失败 ！"_s : String::fromUtf8(Page.FailedText));
        return;
    }
    // The record is stored: a failing reset or re-query is reported as what it is, not as a
    // failed registration.
    const auto reset = [this](const TRecordPage& Stored) {
        try {
            ResetPage(Stored);
        } catch (...) {
            Application->HandleException(this);
        }
    };
    if (withIssue)
        reset(this->Page(TPageKind::Issue));
    reset(Page);
    MessageBox(Handle(), String::fromUtf8(Page.StoredText), PromptCaption, MB_OK | MB_ICONINFORMATION);
}

// The quantity filter of every page; Enter registers the page's entry.
void TMF1::ComboBox7KeyPress(TObject* Sender, Char& Key)
{
    if (Key == u'\r') {
        Key = Char();
        RegisterEntry(PageOf(Sender));
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
    RegisterEntry(PageOf(Sender));
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
    // The query closes its list: an edit that cannot be stored stops it, its refusal already shown.
    if (!PostRecordGridEdits())
        Abort();
    MakeRecordGridsReadOnly();
    RangeAnchor = {};
    // A list whose footer sums 数量 has that total from its sum list, which sums as the list
    // opens; other lists of one table's records sum 数量 in the statement that counts them,
    // where SumSql would filter the same records again; a summary's groups are summed by SumSql.
    const TDBSum* footer = nullptr;
    for (const TRecordPage& page : FPages) {
        if (page.Query != Query)
            continue;
        // The list reads as many records at a time as its grid shows; a grid not laid out yet
        // shows one, and the list keeps the size it has.
        if (const int shown = page.Grid->DataLink()->BufferCount(); shown > 1)
            Query->SetCacheSize(shown);
        if (const TDBGridEhSumList* sums = page.Grid->SumList();
            sums->Active() && sums->EventsHooked() && sums->DataSet() == Query)
            footer = sums->SumCollection()->FindSum(TGroupOperation::goSum, u"数量"_s);
    }
    Query->SetTotals(footer ? QStringList() : QStringList{u"sum(数量)"_s});
    OpenSql(Query, Sql, Params);
    Query->First();
    Variant total;
    if (footer && !footer->Overflowed()) {
        total = Variant(footer->SumValue());
    } else if (!Query->TotalValues().empty()) {
        total = Query->TotalValues().front();
    } else {
        OpenSql(SumQuery, SumSql, Params);
        total = SumQuery->Fields()->Fields(0)->Value();
    }
    CountMemo->SetText(IntToStr(Query->RecordCount()));
    // The database answers no sum for an empty set.
    TotalMemo->SetText(Query->IsEmpty() ? u"0"_s : VarToStr(total));
}
