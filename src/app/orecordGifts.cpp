// The gift and stock-in pages: registering a gift or a stock-in (the stock-in with the
// requester's issue when asked), their resets, the amount that follows quantity and price, and
// the key filters of their number fields.
#include "app/orecord.h"

#include "app/orecordEntry.h"
#include "platform/ado/ADODB.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

namespace {

void Warn(TForm* Window, const String& Text) { MessageBox(Window->Handle(), Text, PromptCaption, MB_OK | MB_ICONWARNING); }

// The record is stored: a failing reset or re-query is reported as what it is, not as a failed
// registration.
void ResetStoredPage(TForm* Window, TButton* Reset)
{
    try {
        Reset->Click();
    } catch (...) {
        Application->HandleException(Window);
    }
}

// The number a price or amount field shows, as the database column holds it; a text that shows
// none raises the conversion error.
double NumberIn(const String& Text)
{
    double value = 0;
    if (!TryStrToFloat(Text, value))
        throw EConvertError(u"'%1' is not a valid floating point value"_s.arg(Text));
    return value;
}

}  // namespace

// --- Gift page ---

bool TMF1::GiftEntryIsComplete()
{
    const auto fail = [this](const char* Text) {
        Warn(this, String::fromUtf8(Text));
        return false;
    };
    if (!IsFilled(ComboBox10->Text(), GuestPlaceholder))
        return fail("请填写来客姓名 ！");
    if (!IsFilled(ComboBox9->Text(), OrganisationPlaceholder))
        return fail("请填写来客单位 ！");
    if (!IsFilled(ComboBox13->Text(), GiftPlaceholder))
        return fail("请填写礼品名称 ！");
    if (!QuantityIsAccepted(ComboBox15, u"请确认礼品数量 ！"_s))
        return false;
    if (!IsFilled(ComboBox18->Text()))
        return fail("请填写领取人姓名 ！");
    if (!IsFilled(ComboBox19->Text()))
        return fail("请填写批准人姓名 ！");
    if (!IsFilled(ComboBox33->Text(), DepartmentPlaceholder))
        return fail("请请选择部门 ！");
    return SumsCanHold(ComboBox15, "gift", "数量", StrToInt(ComboBox15->Text()), QuantityTooLarge);
}

// A gift counts no person or remark: only the catalogue learns the gift.
void TMF1::StoreGift()
{
    ExecSql(ADOQ1,
            u"insert into gift(来客姓名,来客单位,职务,领取人,领取部门,批准,数量,单位,礼品名称,类型,日期,时间,备注) "
             "values(:sna,:sdept,:spost,:su,:sud,:app,:sno,:sdw,:sgift,:spty,:sdate,:stime,:sremark)"_s,
            {{u"sna"_s, Trim(ComboBox10->Text())},
             {u"sdept"_s, Trim(ComboBox9->Text())},
             {u"spost"_s, Trim(ComboBox17->Text())},
             {u"su"_s, Trim(ComboBox18->Text())},
             {u"sud"_s, Trim(ComboBox33->Text())},
             {u"app"_s, Trim(ComboBox19->Text())},
             {u"sno"_s, StrToInt(ComboBox15->Text())},
             {u"sdw"_s, Trim(ComboBox14->Text())},
             {u"sgift"_s, Trim(ComboBox13->Text())},
             {u"spty"_s, Trim(ComboBox12->Text())},
             {u"sdate"_s, Variant::FromDateTime(DateTimePicker3->DateTime())},
             {u"stime"_s, FormatDateTime(u"hh:mm:ss"_s, Now())},
             {u"sremark"_s, Trim(ComboBox11->Text())}});
    ADOQ1->Close();
    UpdateItemCatalogue(ADOQ1, ComboBox13, u"礼品"_s, ComboBox14, ComboBox12);
}

// The gift and its catalogue entry are stored together or not at all.
void TMF1::Button3Click(TObject* Sender)
{
    if (!GiftEntryIsComplete())
        return;
    try {
        StoreInOneTransaction(ADOCon1, [this] { StoreGift(); });
    } catch (const std::exception&) {
        Warn(this, u"操作失败!"_s);
        return;
    }
    ResetStoredPage(this, Button4);
    MessageBox(Handle(), u"登记成功!"_s, PromptCaption, MB_OK | MB_ICONINFORMATION);
}

void TMF1::Button4Click(TObject* Sender)
{
    ComboBox10->SetText(GuestPlaceholder);
    ComboBox9->SetText(OrganisationPlaceholder);
    ComboBox13->SetText(GiftPlaceholder);
    ComboBox12->SetText(String());
    ComboBox11->SetText(String());
    ComboBox15->SetText(String());
    ComboBox17->SetText(String());
    ComboBox14->SetText(UnitPlaceholder);
    ComboBox18->SetText(String());
    ComboBox33->SetText(DepartmentPlaceholder);
    ComboBox19->SetText(String());
    ComboBox16->SetText(NoDateLimit);
    DateTimePicker3->SetDateTime(Date());
    DateTimePicker4->SetDateTime(Date());
    DateTimePicker4->SetVisible(false);
    BitBtn8->Click();
}

void TMF1::ComboBox15KeyPress(TObject* Sender, Char& Key) { ComboBox7KeyPress(Sender, Key); }

// --- Stock-in page ---

bool TMF1::StockInEntryIsComplete()
{
    const auto fail = [this](const char* Text) {
        Warn(this, String::fromUtf8(Text));
        return false;
    };
    if (!IsFilled(ComboBox27->Text(), ItemPlaceholder))
        return fail("请选择物品名称 ！");
    if (!QuantityIsAccepted(ComboBox29, u"请确认用品数量 ！"_s) || !PriceIsAccepted())
        return false;
    if (!IsFilled(ComboBox23->Text(), SupplierPlaceholder))
        return fail("请选择供应商 ！");
    if (!IsFilled(ComboBox32->Text()))
        return fail("请填写申购人 ！");
    if (!IsFilled(ComboBox24->Text()))
        return fail("请填写登记人 ！");
    if (!IsFilled(ComboBox31->Text(), DepartmentPlaceholder))
        return fail("请选择部门 ！");
    return AmountsCanBeSummed();
}

// The quantity joins the stock-in's sums, and the issue's when the requester takes the goods.
// An amount that is no number is left to the insert, which fails on it.
bool TMF1::AmountsCanBeSummed()
{
    const int quantity = StrToInt(ComboBox29->Text());
    if (!SumsCanHold(ComboBox29, "ruku", "数量", quantity, QuantityTooLarge) ||
        (CheckBox1->Checked() && !SumsCanHold(ComboBox29, "oprint", "数量", quantity, QuantityTooLarge)))
        return false;
    double amount = 0;
    return !TryStrToFloat(Edit2->Text(), amount) || SumsCanHold(Edit2, "ruku", "金额", amount, AmountTooLarge);
}

// The key filter keeps minus signs out of a typed price, but pasted text passes it: a price below
// zero is refused as the zero price.
bool TMF1::PriceIsAccepted()
{
    // A price that is no number at all raises the conversion error, reported by the platform.
    if (IsFilled(Edit1->Text()) && NumberIn(Edit1->Text()) > 0)
        return true;
    Warn(this, u"请确认物品单价 ！"_s);
    Edit1->SetFocus();
    Edit1->SelectAll();
    return false;
}

void TMF1::StoreStockIn()
{
    ExecSql(ADOQ1,
            u"insert into ruku(物品名称,类型,供应商,数量,单位,单价,金额,申购人,申购部门,登记人,日期,时间,备注) "
             "values(:spname,:spty,:sgys,:sno,:sdw,:sdj,:sje,:ssgr,:sdept,:sdjr,:sdate,:stime,:sremark)"_s,
            {{u"spname"_s, Trim(ComboBox27->Text())},
             {u"spty"_s, Trim(ComboBox26->Text())},
             {u"sgys"_s, Trim(ComboBox23->Text())},
             {u"sno"_s, StrToInt(ComboBox29->Text())},
             {u"sdw"_s, Trim(ComboBox28->Text())},
             {u"sdj"_s, NumberIn(Edit1->Text())},
             // The amount stays editable: what it shows is stored, when it is a number.
             {u"sje"_s, NumberIn(Edit2->Text())},
             {u"ssgr"_s, Trim(ComboBox32->Text())},
             {u"sdept"_s, Trim(ComboBox31->Text())},
             {u"sdjr"_s, Trim(ComboBox24->Text())},
             {u"sdate"_s, Variant::FromDateTime(DateTimePicker5->DateTime())},
             {u"stime"_s, FormatDateTime(u"hh:mm:ss"_s, Now())},
             {u"sremark"_s, Trim(ComboBox25->Text())}});
    ADOQ1->Close();
    UpdateItemCatalogue(ADOQ1, ComboBox27, u"办公"_s, ComboBox28, ComboBox26);
}

// The stock-in, its catalogue entry and the requester's issue are stored together or not at
// all, so a failed issue never leaves a stock-in behind that a retry would store twice.
void TMF1::Button5Click(TObject* Sender)
{
    if (!StockInEntryIsComplete())
        return;
    const bool withIssue = CheckBox1->Checked();
    bool issueFailed = false;
    try {
        StoreInOneTransaction(ADOCon1, [&] {
            StoreStockIn();
            if (!withIssue)
                return;
            // The requester takes the goods; the issue counts no person or remark.
            try {
                InsertIssue(ComboBox32, ComboBox31, ComboBox29, ComboBox28, ComboBox27, ComboBox26, DateTimePicker5,
                            ComboBox25);
            } catch (...) {
                issueFailed = true;
                throw;
            }
        });
    } catch (const std::exception&) {
        // The message names the step that failed; nothing of the stock-in is stored either.
        Warn(this, issueFailed ? u"领用操作失败 ！"_s : u"操作失败 ！"_s);
        return;
    }
    if (withIssue)
        ResetStoredPage(this, Button2);
    ResetStoredPage(this, Button6);
    MessageBox(Handle(), u"登记成功 ！"_s, PromptCaption, MB_OK | MB_ICONINFORMATION);
}

void TMF1::Button6Click(TObject* Sender)
{
    ComboBox26->SetText(String());
    ComboBox25->SetText(String());
    ComboBox29->SetText(String());
    Edit1->SetText(String());
    Edit2->SetText(String());
    ComboBox28->SetText(UnitPlaceholder);
    ComboBox32->SetText(String());
    ComboBox24->SetText(String());
    ComboBox30->SetText(NoDateLimit);
    DateTimePicker5->SetDateTime(Date());
    DateTimePicker6->SetDateTime(Date());
    DateTimePicker6->SetVisible(false);
    ComboBox27->SetText(ItemPlaceholder);
    ComboBox23->SetText(SupplierPlaceholder);
    ComboBox31->SetText(DepartmentPlaceholder);
    BitBtn11->Click();
    CheckBox1->SetChecked(false);
}

void TMF1::ComboBox29KeyPress(TObject* Sender, Char& Key) { ComboBox7KeyPress(Sender, Key); }

// Quantity × price; a text that is no number (a lone ".", a quantity with a blank) leaves the
// amount as it is rather than raising an error at every keystroke.
void TMF1::ShowAmount()
{
    int quantity = 0;
    double price = 0;
    if (TryStrToInt(ComboBox29->Text(), quantity) && TryStrToFloat(Edit1->Text(), price))
        Edit2->SetText(FloatToStr(quantity * price));
}

void TMF1::Edit1Change(TObject* Sender)
{
    if (ComboBox29->Text().isEmpty())
        return;
    if (Edit1->Text().isEmpty())
        Edit2->SetText(u"0"_s);
    else
        ShowAmount();
}

void TMF1::ComboBox29Change(TObject* Sender)
{
    if (!ComboBox29->Text().isEmpty() && !Edit1->Text().isEmpty())
        ShowAmount();
}

// At most one point and two decimals after it, typed; the caret before the point takes digits.
// A key replaces the selection, so the text it is weighed against is the one left without it.
void TMF1::Edit1KeyPress(TObject* Sender, Char& Key)
{
    if (Key == u'\r') {
        Key = Char();
        Button5->Click();
        return;
    }
    if (Key == u'\b')
        return;
    if (Key != u'.' && !(Key >= u'0' && Key <= u'9')) {
        Key = Char();
        return;
    }
    const auto* edit = static_cast<TEdit*>(Sender);
    const String kept = String(edit->Text()).remove(edit->SelStart(), edit->SelLength());
    const auto point = kept.indexOf(u'.');
    if (point < 0)
        return;
    if (Key == u'.' || (edit->SelStart() > point && kept.size() - point - 1 >= 2))
        Key = Char();
}
