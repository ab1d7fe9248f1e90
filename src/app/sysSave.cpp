// Adding and modifying the rows of the settings window's lists: the required field, the code,
// the duplicate check, the confirmation, the statements in one transaction and the messages.
#include "app/sys.h"

#include "app/orecord.h"
#include "app/orecordEntry.h"
#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

namespace {

String Trimmed(const TCustomEdit* Edit) { return Trim(Edit->Text()); }

// A required field holding blanks only is as empty as one holding nothing.
bool IsEmptyField(const TCustomEdit* Edit) { return Trimmed(Edit).isEmpty(); }

}  // namespace

void TForm3::SaveUser(TSaveMode Mode)
{
    if (IsEmptyField(Edit8))
        return;
    FillCodeIfEmpty(Edit8, Edit7);
    const String name = Trimmed(Edit8);
    const String code = Trimmed(Edit7);
    const String department = Trim(ComboBox1->Text());
    SaveRow({Mode, Edit8,
             QStringLiteral("Select * From ouser Where 姓名=:xm and 部门=:bm and 姓名编号=:bh"),
             {{QStringLiteral("xm"), name}, {QStringLiteral("bm"), department}, {QStringLiteral("bh"), code}},
             QStringLiteral("已经有相同的用户信息，请重新输入内容！"),
             QStringLiteral("警告：确认修改此用户信息吗？"),
             QStringLiteral("insert into ouser(姓名,姓名编号,部门) values(:a,:d,:b)"),
             QStringLiteral("UPDATE ouser SET 姓名=:a,姓名编号=:d,部门=:b where id=:c;"), QStringLiteral("c"),
             {{QStringLiteral("a"), name}, {QStringLiteral("d"), code}, {QStringLiteral("b"), department}},
             ADOQsu1, QStringLiteral("id"), Variant(), nullptr,
             QStringLiteral("用户添加成功！"), QStringLiteral("操作失败！")});
}

// A rename carries the department's users along in the same transaction, so the department and
// its users never disagree.
void TForm3::SaveDepartment(TSaveMode Mode)
{
    if (IsEmptyField(Edit2))
        return;
    const String code = Trimmed(Edit1);
    const String name = Trimmed(Edit2);
    std::function<void()> renameUsers;
    if (Mode == TSaveMode::smModify) {
        const String oldName = Trim(OldDepartmentName);
        renameUsers = [this, name, oldName] {
            ExecSql(ADOQadd, QStringLiteral("UPDATE ouser SET 部门=:a where 部门=:b;"),
                    {{QStringLiteral("a"), name}, {QStringLiteral("b"), oldName}});
        };
    }
    const bool stored = SaveRow({Mode, Edit2,
             QStringLiteral("Select * From dept Where 部门=:bm and 部门编号=:bh"),
             {{QStringLiteral("bm"), name}, {QStringLiteral("bh"), code}},
             QStringLiteral("此部门已经存在了，请重新输入部门名称！"),
             QStringLiteral("警告：确认修改此部门名称吗？\r\r注意：修改时将对员工部门作相应修改。"),
             QStringLiteral("insert into dept(部门编号,部门) values(:a,:b)"),
             QStringLiteral("UPDATE dept SET 部门编号=:a,部门=:b where id=:c;"), QStringLiteral("c"),
             {{QStringLiteral("a"), code}, {QStringLiteral("b"), name}},
             sdept1, QStringLiteral("id"), Variant(), renameUsers,
             QStringLiteral("部门名称添加成功！"), QStringLiteral("操作失败！")});
    if (stored && Mode == TSaveMode::smModify) {
        // It no longer names the department just changed; the next row shown sets it again.
        OldDepartmentName = QStringLiteral("部门");
        ADOQsu1->Close();
        ADOQsu1->Open();
    }
}

void TForm3::SaveItem(TSaveMode Mode)
{
    if (IsEmptyField(Edit3))
        return;
    FillCodeIfEmpty(Edit3, Edit6);
    const String name = Trimmed(Edit3);
    const String code = Trimmed(Edit6);
    const String type = Trimmed(Edit5);
    const String unit = Trim(ComboBox6->Text());
    const String category = ItemCategory();
    SaveRow({Mode, Edit3,
             QStringLiteral("Select * From ptype Where 编号=:pno and 物品名称=:pna and 类型=:pt and 单位=:pdw and 礼品=:pg"),
             {{QStringLiteral("pno"), code}, {QStringLiteral("pna"), name}, {QStringLiteral("pt"), type},
              {QStringLiteral("pdw"), unit}, {QStringLiteral("pg"), category}},
             QStringLiteral("此物品已经存在了，请重新输入物品信息！"),
             QStringLiteral("警告：确认修改此物品信息吗？"),
             QStringLiteral("insert into ptype(物品名称,编号,类型,单位,礼品) values(:a,:e,:b,:c,:l)"),
             QStringLiteral("UPDATE ptype SET 物品名称=:a,编号=:e,类型=:b,单位=:c,礼品=:l where id=:d;"), QStringLiteral("d"),
             {{QStringLiteral("a"), name}, {QStringLiteral("e"), code}, {QStringLiteral("b"), type},
              {QStringLiteral("c"), unit}, {QStringLiteral("l"), category}},
             ADOQp1, QStringLiteral("id"), Variant(), nullptr,
             QStringLiteral("物品添加成功！"), QStringLiteral("操作失败！")});
}

void TForm3::SaveSupplier(TSaveMode Mode)
{
    if (IsEmptyField(Edit10))
        return;
    FillCodeIfEmpty(Edit10, Edit9);
    const String name = Trimmed(Edit10);
    const String code = Trimmed(Edit9);
    const String contact = Trimmed(Edit11);
    SaveRow({Mode, Edit10,
             QStringLiteral("Select * From supplier Where 供应商编号=:pno and 供应商=:pna and 联系人=:pt"),
             {{QStringLiteral("pno"), code}, {QStringLiteral("pna"), name}, {QStringLiteral("pt"), contact}},
             QStringLiteral("此供应商、联系人已经存在了，请重新输入供应商信息！"),
             QStringLiteral("警告：确认修改此供应商信息吗？"),
             QStringLiteral("insert into supplier(供应商,供应商编号,联系人,电话,手机,传真,QQ,邮箱,供应商地址,备注) "
                            "values(:a,:b,:c,:d,:e,:f,:g,:h,:i,:j)"),
             QStringLiteral("UPDATE supplier SET 供应商=:a,供应商编号=:b,联系人=:c,电话=:d,手机=:e,传真=:f,QQ=:g,"
                            "邮箱=:h,供应商地址=:i,备注=:j where id=:dd"),
             QStringLiteral("dd"),
             {{QStringLiteral("a"), name}, {QStringLiteral("b"), code}, {QStringLiteral("c"), contact},
              {QStringLiteral("d"), Trimmed(Edit12)}, {QStringLiteral("e"), Trimmed(Edit13)},
              {QStringLiteral("f"), Trimmed(Edit14)}, {QStringLiteral("g"), Trimmed(Edit16)},
              {QStringLiteral("h"), Trimmed(Edit15)}, {QStringLiteral("i"), Trimmed(Edit17)},
              {QStringLiteral("j"), Trimmed(Edit18)}},
             ADOQgys, QStringLiteral("id"), Variant(), nullptr,
             QStringLiteral("供应商信息添加成功！"), QStringLiteral("操作失败！")});
}

void TForm3::SaveRemark(TSaveMode Mode)
{
    if (IsEmptyField(Edit4))
        return;
    const String remark = Trimmed(Edit4);
    SaveRow({Mode, Edit4,
             QStringLiteral("Select * From rmark Where 备注=:bz"),
             {{QStringLiteral("bz"), remark}},
             QStringLiteral("已经有相同备注，请重新输入备注内容！"),
             QStringLiteral("警告：确认修改此备注吗？"),
             QStringLiteral("insert into rmark(备注) values(:a)"),
             QStringLiteral("UPDATE rmark SET 备注=:a where id=:b;"), QStringLiteral("b"),
             {{QStringLiteral("a"), remark}},
             ADOQremark1, QStringLiteral("备注"), remark, nullptr,
             QStringLiteral("备注添加成功！"), QStringLiteral("操作失败!")});
}

// The check uses the trimmed values that would be stored, so " 办公室" is the duplicate of
// "办公室" it would become. A modified row is no duplicate of itself: a supplier's telephone
// can change while its name, code and contact stay.
bool TForm3::IsDuplicate(const TRowSave& Save)
{
    if (Save.Mode == TSaveMode::smModify) {
        TQueryParams params = Save.DuplicateParams;
        params.emplace_back(QStringLiteral("self"), Save.List->FieldByName(QStringLiteral("id"))->Value());
        OpenSql(ADOQadd, Save.DuplicateSql + QStringLiteral(" and id<>:self"), params);
    } else {
        OpenSql(ADOQadd, Save.DuplicateSql, Save.DuplicateParams);
    }
    const bool found = !ADOQadd->IsEmpty();
    ADOQadd->Close();
    return found;
}

bool TForm3::SaveRow(const TRowSave& Save)
{
    const bool adding = Save.Mode == TSaveMode::smAdd;
    // A modify stores over the list's current row; with no row there is nothing to modify.
    if (!adding && (!Save.List->Active() || Save.List->IsEmpty()))
        return false;
    if (IsDuplicate(Save)) {
        Save.NameEdit->SelectAll();
        if (Save.NameEdit->CanFocus())
            Save.NameEdit->SetFocus();
        Inform(Save.DuplicateMessage, QStringLiteral("错误"), MB_OK | MB_ICONERROR);
        return false;
    }
    if (!adding && !Confirm(Save.ModifyPrompt, QStringLiteral("确认修改")))
        return false;
    try {
        Variant id = adding ? Variant() : Save.List->FieldByName(QStringLiteral("id"))->Value();
        StoreInOneTransaction(MF1->ADOCon1, [&] {
            if (adding) {
                ExecSql(ADOQadd, Save.InsertSql, Save.Values);
                id = Variant(MF1->ADOCon1->Database().LastInsertRowId());
            } else {
                TQueryParams values = Save.Values;
                values.emplace_back(Save.IdParam, id);
                ExecSql(ADOQadd, Save.UpdateSql, values);
            }
            if (Save.AlsoStore)
                Save.AlsoStore();
        });
        ADOQadd->Close();
        Save.List->Close();
        Save.List->Open();
        Save.List->Locate(Save.LocateField, Save.LocateField == u"id" ? id : Save.LocateValue, {});
        Save.NameEdit->SelectAll();
        if (Save.NameEdit->CanFocus())
            Save.NameEdit->SetFocus();
        if (adding)
            Inform(Save.AddedMessage, PromptCaption, MB_OK | MB_ICONINFORMATION);
    } catch (const Exception&) {
        Inform(Save.FailureMessage, PromptCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}
