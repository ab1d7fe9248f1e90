// Adding and modifying the rows of the settings window's lists: the required field, the code,
// the duplicate check, the confirmation, the statements in one transaction and the messages.
#include "app/sys.h"

#include "app/orecord.h"
#include "app/orecordEntry.h"
#include "platform/ado/ADODB.h"
#include "platform/core/StringLiterals.h"
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
             u"Select * From ouser Where 姓名=:xm and 部门=:bm and 姓名编号=:bh"_s,
             {{u"xm"_s, name}, {u"bm"_s, department}, {u"bh"_s, code}},
             u"已经有相同的用户信息，请重新输入内容！"_s,
             u"警告：确认修改此用户信息吗？"_s,
             u"insert into ouser(姓名,姓名编号,部门) values(:a,:d,:b)"_s,
             u"UPDATE ouser SET 姓名=:a,姓名编号=:d,部门=:b where id=:c;"_s, u"c"_s,
             {{u"a"_s, name}, {u"d"_s, code}, {u"b"_s, department}},
             ADOQsu1, u"id"_s, Variant(), nullptr,
             u"用户添加成功！"_s, u"操作失败！"_s});
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
            ExecSql(ADOQadd, u"UPDATE ouser SET 部门=:a where 部门=:b;"_s,
                    {{u"a"_s, name}, {u"b"_s, oldName}});
        };
    }
    const bool stored = SaveRow({Mode, Edit2,
             u"Select * From dept Where 部门=:bm and 部门编号=:bh"_s,
             {{u"bm"_s, name}, {u"bh"_s, code}},
             u"此部门已经存在了，请重新输入部门名称！"_s,
             u"警告：确认修改此部门名称吗？\r\r注意：修改时将对员工部门作相应修改。"_s,
             u"insert into dept(部门编号,部门) values(:a,:b)"_s,
             u"UPDATE dept SET 部门编号=:a,部门=:b where id=:c;"_s, u"c"_s,
             {{u"a"_s, code}, {u"b"_s, name}},
             sdept1, u"id"_s, Variant(), renameUsers,
             u"部门名称添加成功！"_s, u"操作失败！"_s});
    if (stored && Mode == TSaveMode::smModify) {
        // It no longer names the department just changed; the next row shown sets it again.
        OldDepartmentName = u"部门"_s;
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
             u"Select * From ptype Where 编号=:pno and 物品名称=:pna and 类型=:pt and 单位=:pdw and 礼品=:pg"_s,
             {{u"pno"_s, code}, {u"pna"_s, name}, {u"pt"_s, type},
              {u"pdw"_s, unit}, {u"pg"_s, category}},
             u"此物品已经存在了，请重新输入物品信息！"_s,
             u"警告：确认修改此物品信息吗？"_s,
             u"insert into ptype(物品名称,编号,类型,单位,礼品) values(:a,:e,:b,:c,:l)"_s,
             u"UPDATE ptype SET 物品名称=:a,编号=:e,类型=:b,单位=:c,礼品=:l where id=:d;"_s, u"d"_s,
             {{u"a"_s, name}, {u"e"_s, code}, {u"b"_s, type},
              {u"c"_s, unit}, {u"l"_s, category}},
             ADOQp1, u"id"_s, Variant(), nullptr,
             u"物品添加成功！"_s, u"操作失败！"_s});
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
             u"Select * From supplier Where 供应商编号=:pno and 供应商=:pna and 联系人=:pt"_s,
             {{u"pno"_s, code}, {u"pna"_s, name}, {u"pt"_s, contact}},
             u"此供应商、联系人已经存在了，请重新输入供应商信息！"_s,
             u"警告：确认修改此供应商信息吗？"_s,
             u"insert into supplier(供应商,供应商编号,联系人,电话,手机,传真,QQ,邮箱,供应商地址,备注) "
              "values(:a,:b,:c,:d,:e,:f,:g,:h,:i,:j)"_s,
             u"UPDATE supplier SET 供应商=:a,供应商编号=:b,联系人=:c,电话=:d,手机=:e,传真=:f,QQ=:g,"
              "邮箱=:h,供应商地址=:i,备注=:j where id=:dd"_s,
             u"dd"_s,
             {{u"a"_s, name}, {u"b"_s, code}, {u"c"_s, contact},
              {u"d"_s, Trimmed(Edit12)}, {u"e"_s, Trimmed(Edit13)},
              {u"f"_s, Trimmed(Edit14)}, {u"g"_s, Trimmed(Edit16)},
              {u"h"_s, Trimmed(Edit15)}, {u"i"_s, Trimmed(Edit17)},
              {u"j"_s, Trimmed(Edit18)}},
             ADOQgys, u"id"_s, Variant(), nullptr,
             u"供应商信息添加成功！"_s, u"操作失败！"_s});
}

void TForm3::SaveRemark(TSaveMode Mode)
{
    if (IsEmptyField(Edit4))
        return;
    const String remark = Trimmed(Edit4);
    SaveRow({Mode, Edit4,
             u"Select * From rmark Where 备注=:bz"_s,
             {{u"bz"_s, remark}},
             u"已经有相同备注，请重新输入备注内容！"_s,
             u"警告：确认修改此备注吗？"_s,
             u"insert into rmark(备注) values(:a)"_s,
             u"UPDATE rmark SET 备注=:a where id=:b;"_s, u"b"_s,
             {{u"a"_s, remark}},
             ADOQremark1, u"备注"_s, remark, nullptr,
             u"备注添加成功！"_s, u"操作失败!"_s});
}

// The check uses the trimmed values that would be stored, so " 办公室" is the duplicate of
// "办公室" it would become. A modified row is no duplicate of itself: a supplier's telephone
// can change while its name, code and contact stay.
bool TForm3::IsDuplicate(const TRowSave& Save)
{
    if (Save.Mode == TSaveMode::smModify) {
        TQueryParams params = Save.DuplicateParams;
        params.emplace_back(u"self"_s, Save.List->FieldByName(u"id"_s)->Value());
        OpenSql(ADOQadd, Save.DuplicateSql + u" and id<>:self"_s, params);
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
        Inform(Save.DuplicateMessage, u"错误"_s, MB_OK | MB_ICONERROR);
        return false;
    }
    if (!adding && !Confirm(Save.ModifyPrompt, u"确认修改"_s))
        return false;
    try {
        Variant id = adding ? Variant() : Save.List->FieldByName(u"id"_s)->Value();
        StoreInOneTransaction(MF1->ADOCon1, [&] {
            if (adding) {
                ExecSql(ADOQadd, Save.InsertSql, Save.Values);
                id = Variant(MF1->ADOCon1->LastInsertId());
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
