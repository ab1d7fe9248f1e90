// The settings window: its place over the main window, its active page in the settings file,
// the lists of its pages with their searches, and the row copy into the editors.
#include "app/sys.h"

#include "app/orecord.h"
#include "platform/ado/ADODB.h"
#include "platform/core/IniFile.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"

TForm3* Form3 = nullptr;

namespace {

const String SettingsSection = u"设置界面"_s;
const String ActivePageKey = u"激活页面"_s;

const String UsersSql = u"select * from ouser order by 部门 asc, 姓名 asc"_s;
const String DepartmentsSql = u"select * from dept order by 部门编号"_s;
const String ItemsSql = u"select * from ptype order by 物品名称 asc, 类型 asc"_s;
const String RemarksSql = u"select * from rmark order by 备注"_s;
const String SuppliersSql = u"select * from supplier order by 供应商"_s;

void Bind(TBitBtn* Button, std::function<void()> Action)
{
    Button->OnClick = [Action = std::move(Action)](TObject*) { Action(); };
}

}  // namespace

TForm3::TForm3(TComponent* AOwner) : TForm(AOwner)
{
    BeginLoading();
    CreateComponents();
    CreateGrids();
    BindEvents();
    BindGridEvents();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    EndLoading();
}

// As in the main window: the form's own destruction would run OnDestroy after this window's part
// of it is gone, so the destroy handler runs here.
TForm3::~TForm3()
{
    try {
        FormDestroy(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TForm3::FormCreate(TObject* Sender)
{
    PageControl1->SetActivePageIndex(
        ClampPageIndex(MF1->SettingsIni->ReadInteger(SettingsSection, ActivePageKey, 0), PageControl1->PageCount()));
}

void TForm3::FormDestroy(TObject* Sender)
{
    MF1->SettingsIni->WriteInteger(SettingsSection, ActivePageKey, PageControl1->ActivePageIndex());
}

void TForm3::FormShow(TObject* Sender)
{
    SetBounds(MF1->Left() + 80, MF1->Top() + 75, Width(), Height());
    OpenSql(ADOQp1, ItemsSql);
    ReopenClosedLists();
}

// A restore closes every query on the connection: the lists come back on their statements.
void TForm3::ReopenClosedLists()
{
    for (TADOQuery* list : {ADOQsu1, sdept1, ADOQp1, ADOQremark1, ADOQgys})
        if (!list->Active())
            list->Open();
}

void TForm3::BindEvents()
{
    Bind(BitBtn17, [this] { SaveUser(TSaveMode::smAdd); });
    Bind(BitBtn20, [this] { SaveUser(TSaveMode::smModify); });
    Bind(BitBtn1, [this] { SaveDepartment(TSaveMode::smAdd); });
    Bind(BitBtn2, [this] { SaveDepartment(TSaveMode::smModify); });
    Bind(BitBtn5, [this] { SaveItem(TSaveMode::smAdd); });
    Bind(BitBtn8, [this] { SaveItem(TSaveMode::smModify); });
    Bind(BitBtn9, [this] { SaveRemark(TSaveMode::smAdd); });
    Bind(BitBtn12, [this] { SaveRemark(TSaveMode::smModify); });
    Bind(BitBtn18, [this] { SaveSupplier(TSaveMode::smAdd); });
    Bind(BitBtn22, [this] { SaveSupplier(TSaveMode::smModify); });

    Bind(BitBtn19, [this] {
        DeleteRowById({TSettingsPage::spUsers, ADOQsu1, u"ouser"_s, u"警告：确认删除选中的用户吗？"_s,
                       u"用户列表内容为空，无法删除！"_s, Edit8});
    });
    Bind(BitBtn4, [this] {
        DeleteRowById({TSettingsPage::spDepartments, sdept1, u"dept"_s,
                       u"警告：确认删除选中的部门吗？"_s, u"部门列表内容为空，无法删除！"_s, Edit2});
    });
    Bind(BitBtn7, [this] {
        DeleteRowById({TSettingsPage::spItems, ADOQp1, u"ptype"_s, u"警告：确认删除选中的物品吗？"_s,
                       u"物品列表内容为空，无法删除！"_s, Edit3});
    });
    Bind(BitBtn11, [this] {
        DeleteRowById({TSettingsPage::spRemarks, ADOQremark1, u"rmark"_s,
                       u"警告：确认删除选中的备注吗？"_s, u"备注列表内容为空，无法删除！"_s, Edit4});
    });
    Bind(BitBtn21, [this] {
        DeleteRowById({TSettingsPage::spSuppliers, ADOQgys, u"supplier"_s,
                       u"警告：确认删除选中的供应商信息吗？"_s,
                       u"供应商信息列表内容为空，无法删除！"_s, Edit10});
    });

    Bind(BitBtn10, [this] { ShowAll(TSettingsPage::spUsers); });
    Bind(BitBtn25, [this] { ShowAll(TSettingsPage::spDepartments); });
    Bind(BitBtn14, [this] { ShowAll(TSettingsPage::spItems); });
    Bind(BitBtn26, [this] { ShowAll(TSettingsPage::spRemarks); });
    Bind(BitBtn29, [this] { ShowAll(TSettingsPage::spSuppliers); });

    // The codes: by the buttons, and following the name while it is typed.
    Bind(BitBtn16, [this] { FillCode(Edit8, Edit7); });
    Bind(BitBtn15, [this] { FillCode(Edit3, Edit6); });
    Bind(BitBtn23, [this] { FillCode(Edit10, Edit9); });
    Edit8->OnKeyUp = [this](TObject*, WORD&, TShiftState) { FillCode(Edit8, Edit7); };
    Edit3->OnKeyUp = [this](TObject*, WORD&, TShiftState) { FillCode(Edit3, Edit6); };
    Edit10->OnKeyUp = [this](TObject*, WORD&, TShiftState) { FillCode(Edit10, Edit9); };

    // A user's department is chosen from the department list, never typed.
    ComboBox1->OnDropDown = [this](TObject*) {
        MF1->FillComboFromQuery(ADOQadd, ComboBox1, u"部门"_s, DepartmentsSql);
        ADOQadd->Close();
    };
    ComboBox1->OnKeyUp = [this](TObject*, WORD&, TShiftState) { ComboBox1->SetText(CurrentText(ADOQsu1, "部门")); };

    BindSearches();
    BindPageShows();
}

void TForm3::BindSearches()
{
    const auto search = [this](TBitBtn* Button, TADOQuery* List, const char* Table, TCustomEdit* Edit,
                               const char* OrderBy, const char* Field) {
        Bind(Button, [=, this] {
            SearchTableLike(List, String::fromUtf8(Table), Edit, String::fromUtf8(OrderBy), String::fromUtf8(Field));
        });
    };
    search(BitBtn6, ADOQsu1, "ouser", Edit8, "姓名", "姓名");
    search(BitBtn24, sdept1, "dept", Edit2, "部门编号", "部门");
    search(BitBtn13, ADOQp1, "ptype", Edit3, "物品名称", "物品名称");
    search(BitBtn38, ADOQp1, "ptype", Edit5, "物品名称", "类型");
    search(BitBtn27, ADOQremark1, "rmark", Edit4, "备注", "备注");
    search(BitBtn28, ADOQgys, "supplier", Edit10, "供应商", "供应商");
    search(BitBtn30, ADOQgys, "supplier", Edit11, "供应商", "联系人");
    search(BitBtn31, ADOQgys, "supplier", Edit13, "供应商", "手机");
    search(BitBtn32, ADOQgys, "supplier", Edit12, "供应商", "电话");
    search(BitBtn33, ADOQgys, "supplier", Edit14, "供应商", "传真");
    search(BitBtn34, ADOQgys, "supplier", Edit16, "供应商", "QQ");
    search(BitBtn35, ADOQgys, "supplier", Edit15, "供应商", "邮箱");
    search(BitBtn36, ADOQgys, "supplier", Edit17, "供应商", "供应商地址");
    search(BitBtn37, ADOQgys, "supplier", Edit18, "供应商", "备注");
    // The users of one department.
    Bind(BitBtn3, [this] {
        const String department = ComboBox1->Text();
        if (department.isEmpty())
            OpenSql(ADOQsu1, u"select * from ouser order by 姓名"_s);
        else
            OpenSql(ADOQsu1, u"select * from ouser where 部门 =:dept order by 姓名"_s,
                    {{u"dept"_s, department}});
    });
}

void TForm3::BindPageShows()
{
    const auto onShow = [this](TTabSheet* Sheet, TSettingsPage Page) {
        Sheet->OnShow = [this, Page](TObject*) {
            ShowRowInEditors(Page);
            HideDeleteMenuItems();
            ShowAll(Page);
        };
    };
    onShow(TabSheet1, TSettingsPage::spUsers);
    onShow(TabSheet2, TSettingsPage::spDepartments);
    onShow(TabSheet3, TSettingsPage::spItems);
    onShow(TabSheet4, TSettingsPage::spRemarks);
    onShow(TabSheet5, TSettingsPage::spSuppliers);
}

void TForm3::ShowAll(TSettingsPage Page)
{
    switch (Page) {
    case TSettingsPage::spUsers: OpenSql(ADOQsu1, UsersSql); break;
    case TSettingsPage::spDepartments: OpenSql(sdept1, DepartmentsSql); break;
    case TSettingsPage::spItems: OpenSql(ADOQp1, ItemsSql); break;
    case TSettingsPage::spRemarks: OpenSql(ADOQremark1, RemarksSql); break;
    case TSettingsPage::spSuppliers: OpenSql(ADOQgys, SuppliersSql); break;
    }
    ShowRowInEditors(Page);
}

String TForm3::CurrentText(TADOQuery* List, const char* FieldName)
{
    if (!List->Active() || List->IsEmpty())
        return String();
    return List->FieldByName(String::fromUtf8(FieldName))->AsString();
}

void TForm3::ShowRowInEditors(TSettingsPage Page)
{
    switch (Page) {
    case TSettingsPage::spUsers:
        ComboBox1->SetText(CurrentText(ADOQsu1, "部门"));
        Edit7->SetText(CurrentText(ADOQsu1, "姓名编号"));
        Edit8->SetText(CurrentText(ADOQsu1, "姓名"));
        break;
    case TSettingsPage::spDepartments:
        Edit1->SetText(CurrentText(sdept1, "部门编号"));
        Edit2->SetText(CurrentText(sdept1, "部门"));
        OldDepartmentName = Edit2->Text();
        break;
    case TSettingsPage::spSuppliers:
        Edit10->SetText(CurrentText(ADOQgys, "供应商"));
        Edit9->SetText(CurrentText(ADOQgys, "供应商编号"));
        Edit11->SetText(CurrentText(ADOQgys, "联系人"));
        Edit12->SetText(CurrentText(ADOQgys, "电话"));
        Edit13->SetText(CurrentText(ADOQgys, "手机"));
        Edit14->SetText(CurrentText(ADOQgys, "传真"));
        Edit16->SetText(CurrentText(ADOQgys, "QQ"));
        Edit15->SetText(CurrentText(ADOQgys, "邮箱"));
        Edit17->SetText(CurrentText(ADOQgys, "供应商地址"));
        Edit18->SetText(CurrentText(ADOQgys, "备注"));
        break;
    case TSettingsPage::spItems:
        Edit3->SetText(CurrentText(ADOQp1, "物品名称"));
        Edit6->SetText(CurrentText(ADOQp1, "编号"));
        Edit5->SetText(CurrentText(ADOQp1, "类型"));
        ComboBox6->SetText(CurrentText(ADOQp1, "单位"));
        ShowItemCategory(CurrentText(ADOQp1, "礼品"));
        break;
    case TSettingsPage::spRemarks: Edit4->SetText(CurrentText(ADOQremark1, "备注")); break;
    }
}

String TForm3::ItemCategory() const
{
    const bool office = CheckBox1->Checked();
    const bool gift = CheckBox2->Checked();
    if (office && gift)
        return u"办公礼品"_s;
    if (office)
        return u"办公"_s;
    if (gift)
        return u"礼品"_s;
    return String();
}

// Any other category text leaves the boxes as they are.
void TForm3::ShowItemCategory(const String& Category)
{
    if (Category.isEmpty() || Category == u"办公") {
        CheckBox1->SetChecked(true);
        CheckBox2->SetChecked(false);
    } else if (Category == u"礼品") {
        CheckBox1->SetChecked(false);
        CheckBox2->SetChecked(true);
    } else if (Category == u"办公礼品") {
        CheckBox1->SetChecked(true);
        CheckBox2->SetChecked(true);
    }
}

void TForm3::FillCode(TCustomEdit* Name, TCustomEdit* Code) { Code->SetText(MakePinyinCode(Name->Text())); }

void TForm3::FillCodeIfEmpty(TCustomEdit* Name, TCustomEdit* Code)
{
    if (Code->Text().isEmpty())
        FillCode(Name, Code);
}

// The typed text is bound as a parameter: quotes, % and _ in it search for themselves only as far
// as like allows, and never change the statement.
void TForm3::SearchTableLike(TADOQuery* Query, const String& Table, TCustomEdit* Edit, const String& OrderBy,
                             const String& Field)
{
    const String text = Edit->Text();
    if (text.isEmpty()) {
        OpenSql(Query, u"select * from %1 order by %2"_s.arg(Table, OrderBy));
        return;
    }
    OpenSql(Query, u"select * from %1 where [%2] like :text order by %3"_s.arg(Table, Field, OrderBy),
            {{u"text"_s, u'%' + text + u'%'}});
}

void TForm3::FilterByCellValue(TADOQuery* Query, const String& Table, const String& FieldName, const String& Value,
                               const String& OrderBy)
{
    // The name is a column of the list's own table, bracketed as a column name.
    if (FieldName == u"序号" || FieldName.contains(u']')) {
        OpenSql(Query, u"select * from %1 order by %2"_s.arg(Table, OrderBy));
        return;
    }
    OpenSql(Query, u"select * from %1 where [%2]=:value order by %3"_s.arg(Table, FieldName, OrderBy),
            {{u"value"_s, Value}});
}

void TForm3::HideDeleteMenuItems()
{
    for (TMenuItem* item : {N1, N2, N3, N4, N5})
        item->SetVisible(false);
}

// The row is deleted by its id: a row that has gone meanwhile deletes nothing else.
void TForm3::DeleteRowById(const TRowDelete& Delete)
{
    ShowRowInEditors(Delete.Page);
    if (Delete.List->IsEmpty()) {
        Inform(Delete.EmptyMessage, PromptCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    if (!Confirm(Delete.Prompt, u"确认删除"_s))
        return;
    if (!Delete.List->IsEmpty()) {
        ExecSql(ADOQadd, u"delete from %1 where id=:id"_s.arg(Delete.Table),
                {{u"id"_s, Delete.List->FieldByName(u"id"_s)->Value()}});
        ADOQadd->Close();
    }
    Delete.NameEdit->SetSelStart(Delete.NameEdit->Text().size());
    if (Delete.NameEdit->CanFocus())
        Delete.NameEdit->SetFocus();
    Delete.List->Close();
    Delete.List->Open();
    ShowRowInEditors(Delete.Page);
}

void TForm3::Inform(const String& Text, const String& Caption, unsigned Flags) { MessageBox(Handle(), Text, Caption, Flags); }

bool TForm3::Confirm(const String& Text, const String& Caption)
{
    return MessageBox(Handle(), Text, Caption, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}
