// The settings window's description: its five pages with their editors, buttons and lists,
// built while the window loads, as its stored description would build them.
#include "app/sys.h"

#include "app/FormBuilding.h"
#include "app/orecord.h"

#include "platform/ado/ADODB.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"
#include "platform/ui/GroupBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"

namespace {

// Rows of a page's editors and the pitch of the supplier page's rows.
constexpr int EditRow1 = 8;
constexpr int EditRow2 = 36;
constexpr int SupplierPitch = 24;
constexpr int ButtonWidth = 50;

TEdit* AddEdit(TComponent* Owner, TWinControl* Parent, const char* Caption, const char* Name, int LabelLeft,
               int EditLeft, int Top, int Width, int MaxLength)
{
    AddLabel(Owner, Parent, LabelLeft, Top, Caption);
    auto* edit = Place<TEdit>(Owner, Parent, Name, EditLeft, Top, Width, FieldHeight);
    edit->SetMaxLength(MaxLength);
    return edit;
}

// A row of buttons from Left: two-character captions ButtonWidth wide, longer ones wider.
void AddButtonRow(TComponent* Owner, TWinControl* Parent, int Left, int Top,
                  std::initializer_list<std::pair<TBitBtn**, std::pair<const char*, const char*>>> Buttons)
{
    for (const auto& [field, nameAndCaption] : Buttons) {
        const int width = String::fromUtf8(nameAndCaption.second).size() > 2 ? 64 : ButtonWidth;
        *field = AddButton<TBitBtn>(Owner, Parent, nameAndCaption.first, Left, Top, width, nameAndCaption.second);
        Left += width + 4;
    }
}

}  // namespace

void TForm3::CreateComponents()
{
    SetName(QStringLiteral("Form3"));
    SetCaption(QStringLiteral("设置"));
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetClientWidth(494);
    SetClientHeight(323);

    GroupBox1 = Place<TGroupBox>(this, this, "GroupBox1", 4, 2, 486, 317);
    GroupBox1->SetCaption(QStringLiteral("参数设置"));
    PageControl1 = Place<TPageControl>(this, GroupBox1, "PageControl1", 6, 16, 474, 295);
    PageControl1->SetShowHint(true);
    TabSheet1 = AddTabSheet(this, PageControl1, "TabSheet1", "用户");
    TabSheet2 = AddTabSheet(this, PageControl1, "TabSheet2", "部门");
    TabSheet3 = AddTabSheet(this, PageControl1, "TabSheet3", "物品");
    TabSheet4 = AddTabSheet(this, PageControl1, "TabSheet4", "备注");
    TabSheet5 = AddTabSheet(this, PageControl1, "TabSheet5", "供应商");

    TADOConnection* connection = MF1->ADOCon1;
    ADOQsu1 = AddQuery(this, connection, "ADOQsu1", "select * from ouser order by 部门 asc, 姓名 asc;", true);
    sdept1 = AddQuery(this, connection, "sdept1", "select * from dept order by 部门编号;", true);
    ADOQp1 = AddQuery(this, connection, "ADOQp1", "select * from ptype order by 物品名称 asc, 类型 asc;", true);
    ADOQremark1 = AddQuery(this, connection, "ADOQremark1", "select * from rmark;", true);
    ADOQgys = AddQuery(this, connection, "ADOQgys", "select * from supplier order by 供应商 asc;", true);
    ADOQadd = AddQuery(this, connection, "ADOQadd", "select * from ouser;", true);
    Dsu1 = AddDataSource(this, "Dsu1", ADOQsu1);
    dsdept1 = AddDataSource(this, "dsdept1", sdept1);
    DSpty1 = AddDataSource(this, "DSpty1", ADOQp1);
    Dsrm1 = AddDataSource(this, "Dsrm1", ADOQremark1);
    Dgys1 = AddDataSource(this, "Dgys1", ADOQgys);

    PMenu1 = new TPopupMenu(this);
    PMenu1->SetName(QStringLiteral("PMenu1"));
    N1 = AddMenuItem(this, PMenu1->Items(), "N1", "删除用户");
    N2 = AddMenuItem(this, PMenu1->Items(), "N2", "删除部门");
    N3 = AddMenuItem(this, PMenu1->Items(), "N3", "删除物品");
    N4 = AddMenuItem(this, PMenu1->Items(), "N4", "删除备注");
    N5 = AddMenuItem(this, PMenu1->Items(), "N5", "删除供应商");
    N6 = AddMenuItem(this, PMenu1->Items(), "N6", "复制信息");
    HideDeleteMenuItems();

    CreateUsersPage();
    CreateDepartmentsPage();
    CreateItemsPage();
    CreateRemarksPage();
    CreateSuppliersPage();
}

void TForm3::CreateUsersPage()
{
    TTabSheet* page = TabSheet1;
    AddLabel(this, page, 8, EditRow1, "部门：");
    ComboBox1 = AddCombo(this, page, "ComboBox1", 44, EditRow1, 110, 0, {"办公室", "制造部", "技术中心", "品质保证部"});
    AddRequiredMark(this, page, 157, EditRow1);
    Edit8 = AddEdit(this, page, "姓名：", "Edit8", 170, 206, EditRow1, 100, 20);
    AddRequiredMark(this, page, 309, EditRow1);
    Edit7 = AddEdit(this, page, "姓名编号：", "Edit7", 320, 380, EditRow1, 80, 20);
    AddButtonRow(this, page, 8, EditRow2,
                 {{&BitBtn17, {"BitBtn17", "增加"}},
                  {&BitBtn20, {"BitBtn20", "修改"}},
                  {&BitBtn19, {"BitBtn19", "删除"}},
                  {&BitBtn3, {"BitBtn3", "搜索"}},
                  {&BitBtn6, {"BitBtn6", "搜索"}},
                  {&BitBtn10, {"BitBtn10", "显示全部"}},
                  {&BitBtn16, {"BitBtn16", "编号"}}});
    GiveHint(BitBtn16, QStringLiteral("点击编号按钮对姓名编号。"));
}

void TForm3::CreateDepartmentsPage()
{
    TTabSheet* page = TabSheet2;
    // The hint stands beside the code's edit, not under it.
    Edit1 = AddEdit(this, page, "部门编号：", "Edit1", 8, 68, EditRow1, 60, 20);
    AddLabel(this, page, 132, EditRow1, "（可以为空） ");
    Edit2 = AddEdit(this, page, "部门名称：", "Edit2", 206, 266, EditRow1, 150, 50);
    AddRequiredMark(this, page, 419, EditRow1);
    AddButtonRow(this, page, 8, EditRow2,
                 {{&BitBtn1, {"BitBtn1", "增加"}},
                  {&BitBtn2, {"BitBtn2", "修改"}},
                  {&BitBtn4, {"BitBtn4", "删除"}},
                  {&BitBtn24, {"BitBtn24", "搜索"}},
                  {&BitBtn25, {"BitBtn25", "显示全部"}}});
}

void TForm3::CreateItemsPage()
{
    TTabSheet* page = TabSheet3;
    Edit3 = AddEdit(this, page, "名称：", "Edit3", 8, 44, EditRow1, 110, 50);
    AddRequiredMark(this, page, 157, EditRow1);
    Edit6 = AddEdit(this, page, "编号：", "Edit6", 170, 206, EditRow1, 80, 20);
    Edit5 = AddEdit(this, page, "类型：", "Edit5", 296, 332, EditRow1, 110, 50);
    AddLabel(this, page, 8, EditRow2, "单位：");
    ComboBox6 = AddCombo(this, page, "ComboBox6", 44, EditRow2, 60, 8, UnitChoices);
    CheckBox1 = Place<TCheckBox>(this, page, "CheckBox1", 120, EditRow2 + 2, 76, 17);
    CheckBox1->SetCaption(QStringLiteral("办公用品"));
    CheckBox1->SetChecked(true);
    CheckBox2 = Place<TCheckBox>(this, page, "CheckBox2", 204, EditRow2 + 2, 56, 17);
    CheckBox2->SetCaption(QStringLiteral("礼品"));
    AddButtonRow(this, page, 8, EditRow2 + 28,
                 {{&BitBtn5, {"BitBtn5", "增加"}},
                  {&BitBtn8, {"BitBtn8", "修改"}},
                  {&BitBtn7, {"BitBtn7", "删除"}},
                  {&BitBtn13, {"BitBtn13", "搜索"}},
                  {&BitBtn38, {"BitBtn38", "搜索"}},
                  {&BitBtn14, {"BitBtn14", "显示全部"}},
                  {&BitBtn15, {"BitBtn15", "编号"}}});
    GiveHint(BitBtn15, QStringLiteral("点击编号按钮对物品编号。"));
}

void TForm3::CreateRemarksPage()
{
    TTabSheet* page = TabSheet4;
    Edit4 = AddEdit(this, page, "备注：", "Edit4", 8, 44, EditRow1, 300, 50);
    AddRequiredMark(this, page, 347, EditRow1);
    AddButtonRow(this, page, 8, EditRow2,
                 {{&BitBtn9, {"BitBtn9", "增加"}},
                  {&BitBtn12, {"BitBtn12", "修改"}},
                  {&BitBtn11, {"BitBtn11", "删除"}},
                  {&BitBtn27, {"BitBtn27", "搜索"}},
                  {&BitBtn26, {"BitBtn26", "显示全部"}}});
}

void TForm3::CreateSuppliersPage()
{
    TTabSheet* page = TabSheet5;
    // Two fields a row, each with its search button beside it.
    const auto field = [&](const char* Caption, const char* Name, int Column, int Row, TBitBtn** Search,
                           const char* SearchName) {
        const int left = Column == 0 ? 8 : 236;
        const int top = 4 + Row * SupplierPitch;
        TEdit* edit = AddEdit(this, page, Caption, Name, left, left + 50, top, 120, 50);
        if (Search != nullptr)
            *Search = AddButton<TBitBtn>(this, page, SearchName, left + 174, top - 2, 44, "搜索");
        return edit;
    };
    Edit10 = field("供应商：", "Edit10", 0, 0, &BitBtn28, "BitBtn28");
    AddRequiredMark(this, page, 221, 4);
    BitBtn23 = AddButton<TBitBtn>(this, page, "BitBtn23", 236, 2, 48, "编号：");
    GiveHint(BitBtn23, QStringLiteral("点击编号按钮对供应商编号。"));
    Edit9 = Place<TEdit>(this, page, "Edit9", 286, 4, 120, FieldHeight);
    Edit9->SetMaxLength(20);
    Edit11 = field("联系人：", "Edit11", 0, 1, &BitBtn30, "BitBtn30");
    Edit13 = field("手机：", "Edit13", 1, 1, &BitBtn31, "BitBtn31");
    Edit12 = field("电话：", "Edit12", 0, 2, &BitBtn32, "BitBtn32");
    Edit14 = field("传真：", "Edit14", 1, 2, &BitBtn33, "BitBtn33");
    Edit16 = field("Q Q：", "Edit16", 0, 3, &BitBtn34, "BitBtn34");
    Edit15 = field("邮箱：", "Edit15", 1, 3, &BitBtn35, "BitBtn35");
    Edit17 = field("地址：", "Edit17", 0, 4, &BitBtn36, "BitBtn36");
    Edit18 = field("备注：", "Edit18", 1, 4, &BitBtn37, "BitBtn37");
    AddButtonRow(this, page, 8, 4 + 5 * SupplierPitch,
                 {{&BitBtn18, {"BitBtn18", "增加"}},
                  {&BitBtn22, {"BitBtn22", "修改"}},
                  {&BitBtn21, {"BitBtn21", "删除"}},
                  {&BitBtn29, {"BitBtn29", "显示全部"}}});
}
