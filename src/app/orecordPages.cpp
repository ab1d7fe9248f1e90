// The three record pages described: the table and list of each, its entry fields with the
// columns they filter and the placeholders they reset to, what a registration checks, stores
// and says, its summaries and its export title.
#include "app/orecord.h"

#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"

#include <algorithm>

namespace {

using TStoredFields = std::vector<TMF1::TStoredField>;

// The issue record, from the fields of the issue page or, for the requester, the stock-in page.
TStoredFields IssueRecord(TComboBox* Name, TComboBox* Department, TComboBox* Quantity, TComboBox* Unit,
                          TComboBox* Item, TComboBox* Type, TComboBox* Remark)
{
    return {{"姓名", Name}, {"部门", Department}, {"数量", Quantity, TMF1::TStoredAs::Quantity}, {"单位", Unit},
            {"物品名称", Item}, {"类型", Type}, {"备注", Remark}};
}

}  // namespace

TMF1::TRecordPage TMF1::DescribePage(TPageKind Kind) const
{
    using Check = TEntryCheck;
    switch (Kind) {
    case TPageKind::Gift:
        return {.Code = u'g', .ExportCode = "2", .Table = "gift",
                .Query = ADOg1, .TotalMemo = Memo4, .CountMemo = Memo3,
                .QuickCombo = ComboBox21, .AllButton = BitBtn9,
                .Operator = ComboBox16, .FirstDate = DateTimePicker3, .SecondDate = DateTimePicker4,
                .QueryButton = BitBtn8, .SummaryMenu = PopupMenu5,
                .Grid = DBGridEh2, .LineColour = ColorBox2, .DeleteItem = Mdel2, .ExportButton = BitBtn10,
                .Department = ComboBox33,
                .Fields = {{ComboBox9, "来客单位", &OrganisationPlaceholder, true},
                           {ComboBox10, "来客姓名", &GuestPlaceholder},
                           {ComboBox17, "职务"},
                           {ComboBox18, "领取人"},
                           {ComboBox19, "批准"},
                           {ComboBox12, "类型"},
                           {ComboBox13, "礼品名称", &GiftPlaceholder},
                           {ComboBox15, "数量"},
                           {ComboBox11, "备注"},
                           {ComboBox14, nullptr, &UnitPlaceholder},
                           {ComboBox33, nullptr, &DepartmentPlaceholder}},
                .Required = {{ComboBox10, "请填写来客姓名 ！", Check::Filled, &GuestPlaceholder},
                             {ComboBox9, "请填写来客单位 ！", Check::Filled, &OrganisationPlaceholder},
                             {ComboBox13, "请填写礼品名称 ！", Check::Filled, &GiftPlaceholder},
                             {ComboBox15, "请确认礼品数量 ！", Check::Quantity},
                             {ComboBox18, "请填写领取人姓名 ！"},
                             {ComboBox19, "请填写批准人姓名 ！"},
                             {ComboBox33, "请请选择部门 ！", Check::Filled, &DepartmentPlaceholder}},
                .Stored = {{"来客姓名", ComboBox10}, {"来客单位", ComboBox9}, {"职务", ComboBox17},
                           {"领取人", ComboBox18}, {"领取部门", ComboBox33}, {"批准", ComboBox19},
                           {"数量", ComboBox15, TStoredAs::Quantity}, {"单位", ComboBox14},
                           {"礼品名称", ComboBox13}, {"类型", ComboBox12}, {"备注", ComboBox11}},
                .Item = ComboBox13, .Type = ComboBox12, .Unit = ComboBox14, .Category = "礼品",
                .Quantity = ComboBox15,
                .ItemColumn = "礼品名称",
                .SummaryGroups = {"", "领取部门,", "领取人,领取部门,", "批准,", "来客单位,", "来客姓名,来客单位,"},
                .ExportTitle = "礼品领用明细表", .StoredText = "登记成功!", .FailedText = "操作失败!"};
    case TPageKind::StockIn:
        return {.Code = u'c', .ExportCode = "3", .Table = "ruku",
                .Query = ADOR1, .TotalMemo = Memo6, .CountMemo = Memo5,
                .QuickCombo = ComboBox22, .AllButton = BitBtn6,
                .Operator = ComboBox30, .FirstDate = DateTimePicker5, .SecondDate = DateTimePicker6,
                .QueryButton = BitBtn11, .SummaryMenu = PopupMenu4,
                .Grid = DBGridEh3, .LineColour = ColorBox3, .DeleteItem = Mdel3, .ExportButton = BitBtn7,
                .Department = ComboBox31,
                .Fields = {{ComboBox31, "申购部门", &DepartmentPlaceholder, true},
                           {ComboBox24, "登记人"},
                           {ComboBox32, "申购人"},
                           {ComboBox26, "类型"},
                           {ComboBox27, "物品名称", &ItemPlaceholder},
                           {ComboBox23, "供应商", &SupplierPlaceholder},
                           {ComboBox29, "数量"},
                           {ComboBox25, "备注"},
                           {ComboBox28, nullptr, &UnitPlaceholder},
                           {Edit1},
                           {Edit2}},
                .Required = {{ComboBox27, "请选择物品名称 ！", Check::Filled, &ItemPlaceholder},
                             {ComboBox29, "请确认用品数量 ！", Check::Quantity},
                             {Edit1, "请确认物品单价 ！", Check::Price},
                             {ComboBox23, "请选择供应商 ！", Check::Filled, &SupplierPlaceholder},
                             {ComboBox32, "请填写申购人 ！"},
                             {ComboBox24, "请填写登记人 ！"},
                             {ComboBox31, "请选择部门 ！", Check::Filled, &DepartmentPlaceholder}},
                .Stored = {{"物品名称", ComboBox27}, {"类型", ComboBox26}, {"供应商", ComboBox23},
                           {"数量", ComboBox29, TStoredAs::Quantity}, {"单位", ComboBox28},
                           {"单价", Edit1, TStoredAs::Number},
                           // The amount stays editable: what it shows is stored, when it is a number.
                           {"金额", Edit2, TStoredAs::Number},
                           {"申购人", ComboBox32}, {"申购部门", ComboBox31}, {"登记人", ComboBox24},
                           {"备注", ComboBox25}},
                .Item = ComboBox27, .Type = ComboBox26, .Unit = ComboBox28, .Category = "办公",
                .Quantity = ComboBox29, .Amount = Edit2, .AlsoIssue = CheckBox1,
                // The requester takes the goods; the issue counts no person or remark.
                .IssueStored = IssueRecord(ComboBox32, ComboBox31, ComboBox29, ComboBox28, ComboBox27, ComboBox26,
                                           ComboBox25),
                .ItemColumn = "物品名称",
                .SummaryGroups = {"", "申购部门,", "申购人,申购部门,", "登记人,", "供应商,"},
                .ExportTitle = "物品入库明细表", .StoredText = "登记成功 ！", .FailedText = "操作失败 ！"};
    case TPageKind::Issue:
        break;
    }
    return {.Code = u'a', .ExportCode = "1", .Table = "oprint",
            .Query = dbouser1, .TotalMemo = Memo2, .CountMemo = Memo1,
            .QuickCombo = ComboBox20, .AllButton = BitBtn4,
            .Operator = ComboBox8, .FirstDate = DateTimePicker1, .SecondDate = DateTimePicker2,
            .QueryButton = BitBtn1, .SummaryMenu = PopupMenu2,
            .Grid = DBGridEh1, .LineColour = ColorBox1, .DeleteItem = Mdel1, .ExportButton = BitBtn5,
            .Department = ComboBox1,
            .Fields = {{ComboBox1, "部门", &DepartmentPlaceholder, true},
                       {ComboBox3, "姓名"},
                       {ComboBox2, "类型"},
                       {ComboBox5, "物品名称", &ItemPlaceholder},
                       {ComboBox7, "数量"},
                       {ComboBox4, "备注"},
                       {ComboBox6, nullptr, &UnitPlaceholder}},
            .Required = {{ComboBox1, "请选择部门 ！", Check::Filled, &DepartmentPlaceholder},
                         {ComboBox3, "请填写姓名 ！"},
                         {ComboBox5, "请选择物品名称 ！", Check::Filled, &ItemPlaceholder},
                         {ComboBox7, "请确认物品数量 ！", Check::Quantity}},
            .Stored = IssueRecord(ComboBox3, ComboBox1, ComboBox7, ComboBox6, ComboBox5, ComboBox2, ComboBox4),
            .Item = ComboBox5, .Type = ComboBox2, .Unit = ComboBox6, .Category = "办公",
            .CountedPerson = ComboBox3, .CountedRemark = ComboBox4,
            .Quantity = ComboBox7,
            .ItemColumn = "物品名称",
            .SummaryGroups = {"", "部门,", "姓名,部门,"},
            .ExportTitle = "办公用品领用明细表", .StoredText = "登记成功 ！", .FailedText = "操作失败 ！"};
}

const TMF1::TRecordPage& TMF1::RecordPage(Char Code) const
{
    for (const TRecordPage& page : FPages)
        if (page.Code == Code)
            return page;
    return Page(TPageKind::Issue);
}

const TMF1::TRecordPage& TMF1::PageOf(const TObject* Control) const
{
    for (const TRecordPage& page : FPages) {
        const auto isControl = [Control](const TEntryField& Entry) { return Entry.Field == Control; };
        if (page.AllButton == Control || page.Operator == Control || std::ranges::any_of(page.Fields, isControl))
            return page;
    }
    return Page(TPageKind::Issue);
}
