// The main window's description: its components, their places and properties, built while the
// window loads, as its stored description would build them. The database opens here too.
#include "app/orecord.h"

#include "app/FormBuilding.h"
#include "app/OprDatabase.h"
#include "app/oprIndexes.h"

#include "platform/ado/ADODB.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ColorBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Edit.h"
#include "platform/ui/GroupBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/Memo.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Timer.h"

#include <initializer_list>
#include <utility>

namespace {

// Entry lists the fields offer before the database fills them.
const std::initializer_list<const char*> Departments = {"办公室", "销售公司", "制造部", "技术中心", "品质保证部"};
const std::initializer_list<const char*> Quantities = {"", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
const std::initializer_list<const char*> DateOperators = {"不限制", "=", "<", ">", "介于", "<=", ">="};
const std::initializer_list<const char*> QuickFilters = {"", "本年", "本月", "本周", "本日", "全部"};

const String NameHint = QStringLiteral("设置姓名编号（字母）可以实现拼音检索。");
const String ItemHint = QStringLiteral("设置物品名称编号（字母）可以实现拼音检索。");

// Rows of an entry group and the height of its fields.
constexpr int Row1 = 20;
constexpr int Row2 = 50;
constexpr int Row3 = 80;

TDateTimePicker* AddDatePicker(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top)
{
    auto* picker = Place<TDateTimePicker>(Owner, Parent, Name, Left, Top, 98, FieldHeight);
    picker->SetFormat(QStringLiteral("yyyy-MM-dd"));
    return picker;
}

// The totals under a page's entry group: "共计：" count "条记录。" "共计：" total "件。", the tips
// label, query-all and export, and the quick filter.
// The bar fills the page's designer fields, named by Names in the same order.
struct TTotalsBar {
    TMemo*& CountMemo;
    TMemo*& TotalMemo;
    TLabel*& TipsLabel;
    TBitBtn*& QueryAllButton;
    TBitBtn*& ExportButton;
    TComboBox*& QuickFilter;
};

void AddTotalsBar(TComponent* Owner, TWinControl* Page, int Top, const std::initializer_list<const char*>& Names,
                  const TTotalsBar& Bar)
{
    const auto name = [&](int Index) { return *(Names.begin() + Index); };
    const auto addMemo = [&](const char* Name, int Left, int Width) {
        auto* memo = Place<TMemo>(Owner, Page, Name, Left, Top, Width, FieldHeight);
        memo->SetReadOnly(true);
        memo->SetAlignment(TAlignment::taRightJustify);
        memo->SetWordWrap(false);
        memo->SetWantReturns(false);
        return memo;
    };
    AddLabel(Owner, Page, 8, Top, "共计：");
    Bar.CountMemo = addMemo(name(0), 44, 60);
    AddLabel(Owner, Page, 108, Top, "条记录。");
    AddLabel(Owner, Page, 172, Top, "共计：");
    Bar.TotalMemo = addMemo(name(1), 208, 72);
    AddLabel(Owner, Page, 284, Top, "件。");
    Bar.TipsLabel = AddLabel(Owner, Page, 330, Top, "小提示？", clBlue);
    Bar.TipsLabel->SetName(String::fromUtf8(name(2)));
    Bar.QueryAllButton = AddButton<TBitBtn>(Owner, Page, name(3), 420, Top - 2, 90, "查询全部");
    Bar.ExportButton = AddButton<TBitBtn>(Owner, Page, name(4), 516, Top - 2, 100, "导出到Excel");
    Bar.QuickFilter = AddCombo(Owner, Page, name(5), 624, Top, 80, 0, QuickFilters);
}

// Top of a page's totals bar, below its entry group.
constexpr int TotalsTop = 122;

}  // namespace

void TMF1::CreateComponents()
{
    SetName(QStringLiteral("MF1"));
    SetCaption(QStringLiteral("办公用品领用登记"));
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    CreateMenus();
    // The client area is what the frame and the menu bar leave of the window, so the window needs
    // its handle (which makes the menu bar) and a size before the client size can be set.
    HandleNeeded();
    SetBounds(Left(), Top(), 753, 521);
    SetClientWidth(753);
    SetClientHeight(521);
    CreateDatabase();

    PageControl1 = Place<TPageControl>(this, this, "PageControl1", 0, 0, 753, 502);
    PageControl1->SetShowHint(true);
    TabSheet1 = AddTabSheet(this, PageControl1, "TabSheet1", "办公用品");
    TabSheet2 = AddTabSheet(this, PageControl1, "TabSheet2", "来宾礼品");
    TabSheet3 = AddTabSheet(this, PageControl1, "TabSheet3", "入库登记");
    // The description was saved on the gift page; FormCreate shows the page the settings name.
    PageControl1->SetActivePage(TabSheet2);
    BitBtn3 = AddButton<TBitBtn>(this, this, "BitBtn3", 597, 0, 75, "刷新");
    BitBtn2 = AddButton<TBitBtn>(this, this, "BitBtn2", 676, 0, 75, "设置");

    CreateIssuePage();
    CreateGiftPage();
    CreateStockInPage();
    CreateRecordGrids();
    CreateStatusBar();

    Timer1 = new TTimer(this);
    Timer1->SetName(QStringLiteral("Timer1"));
    Timer1->SetInterval(20);
}

void TMF1::CreateMenus()
{
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName(QStringLiteral("MainMenu1"));
    SetupMenu = AddMenuItem(this, MainMenu1->Items(), "SetupMenu", "设置");
    uN6 = AddMenuItem(this, SetupMenu, "uN6", "用户");
    dN1 = AddMenuItem(this, SetupMenu, "dN1", "部门");
    pN7 = AddMenuItem(this, SetupMenu, "pN7", "物品");
    rN8 = AddMenuItem(this, SetupMenu, "rN8", "备注");
    N5 = AddMenuItem(this, SetupMenu, "N5", "供应商");
    DatabaseMenu = AddMenuItem(this, MainMenu1->Items(), "DatabaseMenu", "数据库");
    bN4 = AddMenuItem(this, DatabaseMenu, "bN4", "备份");
    bN5 = AddMenuItem(this, DatabaseMenu, "bN5", "还原");
    SetMenu(MainMenu1);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName(QStringLiteral("PopupMenu1"));
    TMenuItem* const grid = PopupMenu1->Items();
    Msa1 = AddMenuItem(this, grid, "Msa1", "查询全部*");
    Msa2 = AddMenuItem(this, grid, "Msa2", "查询全部#");
    Msa3 = AddMenuItem(this, grid, "Msa3", "查询全部%");
    M11 = AddMenuItem(this, grid, "M11", "刷新");
    Me1 = AddMenuItem(this, grid, "Me1", "编辑记录");
    Me1->SetHint(QStringLiteral("编辑后光标上移或下移一行后将修改数据将保存在数据库中"));
    Me2 = AddMenuItem(this, grid, "Me2", "禁用编辑");
    Me2->SetVisible(false);
    Mc1 = AddMenuItem(this, grid, "Mc1", "复制");
    Mdel1 = AddMenuItem(this, grid, "Mdel1", "删除记录*");
    Mdel2 = AddMenuItem(this, grid, "Mdel2", "删除记录#");
    Mdel3 = AddMenuItem(this, grid, "Mdel3", "删除记录%");
    for (TMenuItem* item : {Mdel1, Mdel2, Mdel3})
        item->SetVisible(false);

    PopupMenu3 = new TPopupMenu(this);
    PopupMenu3->SetName(QStringLiteral("PopupMenu3"));
    for (const char* tip : {"小提示：", "*单击标题排序；", "*双击单元格，按单元格内容查询；",
                            "*可以选中（多）行，点击右键菜单删除记录；", "*使用Ctrl或Shift+鼠标左键可选中多行删除、复制；",
                            "*编辑数据时使用↑或↓键保存(或者用鼠标点击上方或下方单元格）；",
                            "#设置姓名、物品名称、供应商编号（字母）可以实现拼音检索；",
                            "#点击查询全部按钮弹出汇总菜单，可以选择日期对某一段时间的记录汇总统计；"})
        AddMenuItem(this, PopupMenu3->Items(), nullptr, tip);

    // The summary menus under the query-all buttons, their items in kind order.
    const auto addSummaryMenu = [this](const char* Name, std::initializer_list<std::pair<const char*, const char*>> Items) {
        auto* menu = new TPopupMenu(this);
        menu->SetName(String::fromUtf8(Name));
        for (const auto& [name, caption] : Items)
            AddMenuItem(this, menu->Items(), name, caption);
        return menu;
    };
    PopupMenu2 = addSummaryMenu("PopupMenu2", {{"N7", "按物品汇总"}, {"N8", "按部门汇总"}, {"N9", "按员工汇总"}});
    PopupMenu5 = addSummaryMenu("PopupMenu5", {{"MenuItem7", "按礼品汇总"}, {"MenuItem8", "按领取部门汇总"},
                                               {"MenuItem9", "按领取人汇总"}, {"MenuItem10", "按批准人汇总"},
                                               {"MenuItem11", "按来客单位汇总"}, {"N11", "按来客姓名汇总"}});
    PopupMenu4 = addSummaryMenu("PopupMenu4", {{"MenuItem4", "按入库物品汇总"}, {"MenuItem5", "按申购部门汇总"},
                                               {"MenuItem6", "按申购人汇总"}, {"N6", "按登记人汇总"},
                                               {"N10", "按供应商汇总"}});
}

void TMF1::CreateDatabase()
{
    ADOCon1 = new TADOConnection(this);
    ADOCon1->SetName(QStringLiteral("ADOCon1"));
    ADOCon1->SetConnectionString(QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=opr.mdb;Mode=Share Deny None;"
        "Extended Properties=\"\";Persist Security Info=False;Jet OLEDB:System database=\"\";"
        "Jet OLEDB:Registry Path=\"\";Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;"
        "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
        "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
        "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
        "Jet OLEDB:Don't Copy Locale on Compact=False;Jet OLEDB:Compact Without Replica Repair=False;"
        "Jet OLEDB:SFP=False"));
    ADOCon1->SetLoginPrompt(false);
    // A write another program holds is waited for about as long as Jet retried a locked page,
    // not for the half minute a command may run: the window cannot answer while it waits.
    ADOCon1->SetCommandTimeout(2);
    try {
        OpenOprDatabase(ADOCon1);
        // A read-only file cannot take indexes; it is still shown, only slower to query.
        if (!ADOCon1->ReadOnly())
            CreateOprIndexes(*ADOCon1);
    } catch (const EDatabaseFileRefused&) {
        throw;  // another program's file: the start ends untouched
    } catch (const EDatabaseError& E) {
        FStartFailure = E.Message();
    }
    // The lists bind their filters as parameters, so every query parses its :names. None opens
    // here: showing the window resets every page, which runs the page's own query.
    dbouser1 = AddQuery(this, ADOCon1, "dbouser1", "select * from oprint order by 日期 desc,id desc;", true);
    ADOg1 = AddQuery(this, ADOCon1, "ADOg1", "select * from gift order by 日期 desc,id desc;", true);
    ADOR1 = AddQuery(this, ADOCon1, "ADOR1", "select * from ruku order by 日期 desc,id desc;", true);
    ADOQ1 = AddQuery(this, ADOCon1, "ADOQ1", "select * from rmark;", true);
    AQc1 = AddQuery(this, ADOCon1, "AQc1", "select * from rmark;", true);
    dsouser3 = AddDataSource(this, "dsouser3", dbouser1);
    DSg1 = AddDataSource(this, "DSg1", ADOg1);
    DSR1 = AddDataSource(this, "DSR1", ADOR1);
}

void TMF1::CreateIssuePage()
{
    GroupBox1 = Place<TGroupBox>(this, TabSheet1, "GroupBox1", 4, 2, 737, 114);
    GroupBox1->SetCaption(QStringLiteral("办公用品登记"));
    TGroupBox* const g = GroupBox1;
    ComboBox1 = AddField(this, g, "部门：", "ComboBox1", 8, 72, Row1, 120, 0, Departments);
    AddRequiredMark(this, g, 194, Row1);
    ComboBox3 = AddField(this, g, "姓名：", "ComboBox3", 212, 276, Row1, 110, 20);
    GiveHint(ComboBox3, NameHint);
    AddRequiredMark(this, g, 388, Row1);
    ComboBox5 = AddField(this, g, "物品名称：", "ComboBox5", 406, 470, Row1, 240, 50);
    ComboBox5->SetAutoDropDown(true);
    GiveHint(ComboBox5, ItemHint);
    AddRequiredMark(this, g, 712, Row1);

    ComboBox2 = AddField(this, g, "物品类型：", "ComboBox2", 8, 72, Row2, 120, 20);
    ComboBox7 = AddField(this, g, "数量：", "ComboBox7", 212, 276, Row2, 56, 5, Quantities);
    AddRequiredMark(this, g, 334, Row2);
    ComboBox6 = AddCombo(this, g, "ComboBox6", 344, Row2, 44, 8, UnitChoices);
    ComboBox8 = AddField(this, g, "领用日期：", "ComboBox8", 406, 470, Row2, 60, 0, DateOperators);
    ComboBox8->SetText(NoDateLimit);
    DateTimePicker1 = AddDatePicker(this, g, "DateTimePicker1", 534, Row2);
    DateTimePicker2 = AddDatePicker(this, g, "DateTimePicker2", 636, Row2);
    DateTimePicker2->SetVisible(false);

    ComboBox4 = AddField(this, g, "备注：", "ComboBox4", 8, 72, Row3, 316, 50);
    Button1 = AddButton<TButton>(this, g, "Button1", 470, Row3 - 2, 75, "确定");
    Button2 = AddButton<TButton>(this, g, "Button2", 552, Row3 - 2, 75, "重写");
    BitBtn1 = AddButton<TBitBtn>(this, g, "BitBtn1", 634, Row3 - 2, 75, "查询");

    AddTotalsBar(this, TabSheet1, TotalsTop, {"Memo1", "Memo2", "Label59", "BitBtn4", "BitBtn5", "ComboBox20"},
                 {Memo1, Memo2, Label59, BitBtn4, BitBtn5, ComboBox20});
}

void TMF1::CreateGiftPage()
{
    GroupBox2 = Place<TGroupBox>(this, TabSheet2, "GroupBox2", 4, 2, 737, 114);
    GroupBox2->SetCaption(QStringLiteral("礼品登记"));
    TGroupBox* const g = GroupBox2;
    // The guest field is wide enough for its whole placeholder "请填写来客姓名...".
    ComboBox10 = AddField(this, g, "来客姓名：", "ComboBox10", 8, 72, Row1, 112, 50);
    AddRequiredMark(this, g, 186, Row1);
    ComboBox9 = AddField(this, g, "来客单位：", "ComboBox9", 198, 262, Row1, 110, 50, Departments);
    AddRequiredMark(this, g, 374, Row1);
    ComboBox17 = AddField(this, g, "职务：", "ComboBox17", 388, 426, Row1, 90, 20);
    ComboBox13 = AddField(this, g, "礼品名称：", "ComboBox13", 528, 592, Row1, 130, 50);
    GiveHint(ComboBox13, QStringLiteral("设置礼品名称编号（字母）可以实现拼音检索。"));
    AddRequiredMark(this, g, 724, Row1);

    ComboBox12 = AddField(this, g, "规格类型：", "ComboBox12", 8, 72, Row2, 112, 20);
    ComboBox15 = AddField(this, g, "数量：", "ComboBox15", 198, 234, Row2, 50, 5, Quantities);
    AddRequiredMark(this, g, 286, Row2);
    ComboBox14 = AddCombo(this, g, "ComboBox14", 296, Row2, 60, 8, UnitChoices);
    ComboBox14->SetText(UnitPlaceholder);
    ComboBox16 = AddField(this, g, "日期：", "ComboBox16", 388, 426, Row2, 60, 0, DateOperators);
    ComboBox16->SetText(NoDateLimit);
    DateTimePicker3 = AddDatePicker(this, g, "DateTimePicker3", 490, Row2);
    DateTimePicker4 = AddDatePicker(this, g, "DateTimePicker4", 592, Row2);
    DateTimePicker4->SetVisible(false);

    ComboBox18 = AddField(this, g, "领 取 人：", "ComboBox18", 8, 72, Row3, 72, 20);
    GiveHint(ComboBox18, NameHint);
    ComboBox33 = AddCombo(this, g, "ComboBox33", 148, Row3, 92, 0, Departments);
    GiveHint(ComboBox33, QStringLiteral("领取部门"));
    AddRequiredMark(this, g, 242, Row3);
    ComboBox19 = AddField(this, g, "批准：", "ComboBox19", 256, 294, Row3, 72, 20);
    GiveHint(ComboBox19, NameHint);
    AddRequiredMark(this, g, 368, Row3);
    ComboBox11 = AddField(this, g, "备注：", "ComboBox11", 380, 418, Row3, 122, 50);
    Button3 = AddButton<TButton>(this, g, "Button3", 548, Row3 - 2, 60, "确定");
    Button3->SetDefault(true);
    Button4 = AddButton<TButton>(this, g, "Button4", 612, Row3 - 2, 60, "重写");
    BitBtn8 = AddButton<TBitBtn>(this, g, "BitBtn8", 676, Row3 - 2, 56, "查询");

    AddTotalsBar(this, TabSheet2, TotalsTop, {"Memo3", "Memo4", "Label60", "BitBtn9", "BitBtn10", "ComboBox21"},
                 {Memo3, Memo4, Label60, BitBtn9, BitBtn10, ComboBox21});
}

void TMF1::CreateStockInPage()
{
    GroupBox3 = Place<TGroupBox>(this, TabSheet3, "GroupBox3", 4, 2, 737, 114);
    GroupBox3->SetCaption(QStringLiteral("入库登记"));
    TGroupBox* const g = GroupBox3;
    ComboBox27 = AddField(this, g, "物品名称：", "ComboBox27", 8, 72, Row1, 140, 50);
    ComboBox27->SetAutoDropDown(true);
    GiveHint(ComboBox27, ItemHint);
    AddRequiredMark(this, g, 214, Row1);
    ComboBox26 = AddField(this, g, "物品类型：", "ComboBox26", 226, 290, Row1, 96, 20);
    ComboBox23 = AddField(this, g, "供应商：", "ComboBox23", 398, 450, Row1, 130, 0);
    GiveHint(ComboBox23, QStringLiteral("设置供应商编号（字母）可以实现拼音检索。"));
    ComboBox29 = AddField(this, g, "数量：", "ComboBox29", 590, 626, Row1, 44, 5, Quantities);
    AddRequiredMark(this, g, 672, Row1);
    ComboBox28 = AddCombo(this, g, "ComboBox28", 680, Row1, 52, 8, UnitChoices);

    AddLabel(this, g, 8, Row2, "单价：");
    Edit1 = Place<TEdit>(this, g, "Edit1", 72, Row2, 64, FieldHeight);
    AddLabel(this, g, 140, Row2, "元");
    AddLabel(this, g, 160, Row2, "总计：");
    Edit2 = Place<TEdit>(this, g, "Edit2", 198, Row2, 70, FieldHeight);
    AddLabel(this, g, 272, Row2, "元");
    ComboBox31 = AddField(this, g, "申购部门：", "ComboBox31", 290, 354, Row2, 96, 0, Departments);
    ComboBox32 = AddField(this, g, "申购人：", "ComboBox32", 462, 514, Row2, 76, 20);
    GiveHint(ComboBox32, NameHint);
    ComboBox24 = AddField(this, g, "登记人：", "ComboBox24", 600, 652, Row2, 80, 20);
    GiveHint(ComboBox24, NameHint);

    ComboBox30 = AddField(this, g, "入库日期：", "ComboBox30", 8, 72, Row3, 60, 0, DateOperators);
    ComboBox30->SetText(NoDateLimit);
    DateTimePicker5 = AddDatePicker(this, g, "DateTimePicker5", 136, Row3);
    DateTimePicker6 = AddDatePicker(this, g, "DateTimePicker6", 238, Row3);
    DateTimePicker6->SetVisible(false);
    ComboBox25 = AddField(this, g, "备注：", "ComboBox25", 340, 378, Row3, 86, 50);
    CheckBox1 = Place<TCheckBox>(this, g, "CheckBox1", 468, Row3 + 2, 106, 17);
    CheckBox1->SetCaption(QStringLiteral("入库且同时领用"));
    GiveHint(CheckBox1, QStringLiteral("请确认领用人与申购人为同一人。"));
    Button5 = AddButton<TButton>(this, g, "Button5", 576, Row3 - 2, 50, "确定");
    Button6 = AddButton<TButton>(this, g, "Button6", 630, Row3 - 2, 50, "重写");
    BitBtn11 = AddButton<TBitBtn>(this, g, "BitBtn11", 684, Row3 - 2, 48, "查询");

    AddTotalsBar(this, TabSheet3, TotalsTop, {"Memo5", "Memo6", "Label61", "BitBtn6", "BitBtn7", "ComboBox22"},
                 {Memo5, Memo6, Label61, BitBtn6, BitBtn7, ComboBox22});
}

void TMF1::CreateStatusBar()
{
    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName(QStringLiteral("StatusBar1"));
    StatusBar1->SetParent(this);
    const auto addPanel = [this](int Width, TAlignment Alignment, const char* Text) {
        TStatusPanel* panel = StatusBar1->Panels()->Add();
        panel->SetWidth(Width);
        panel->SetAlignment(Alignment);
        panel->SetText(String::fromUtf8(Text));
    };
    addPanel(100, TAlignment::taRightJustify, "表格颜色：");
    addPanel(123, TAlignment::taLeftJustify, "");
    addPanel(175, TAlignment::taCenter, "");
    addPanel(50, TAlignment::taLeftJustify, "");
    // The three colour boxes lie over panel 1; only the active page's box shows.
    const auto addColourBox = [this](const char* Name) {
        auto* box = Place<TColorBox>(this, StatusBar1, Name, 102, 1, 121, 18);
        box->SetVisible(false);
        return box;
    };
    ColorBox1 = addColourBox("ColorBox1");
    ColorBox2 = addColourBox("ColorBox2");
    ColorBox3 = addColourBox("ColorBox3");
}

void TMF1::BindEvents()
{
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    // Neither a page switch nor the end drops an edit left open in a list.
    OnCloseQuery = [this](TObject*, bool& CanClose) { CanClose = PostRecordGridEdits(); };
    PageControl1->OnChanging = [this](TObject*, bool& AllowChange) { AllowChange = PostRecordGridEdits(); };
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
    TabSheet1->OnShow = [this](TObject* Sender) { TabSheet1Show(Sender); };
    TabSheet2->OnShow = [this](TObject* Sender) { TabSheet2Show(Sender); };
    TabSheet3->OnShow = [this](TObject* Sender) { TabSheet3Show(Sender); };

    BitBtn3->OnClick = [this](TObject* Sender) { BitBtn3Click(Sender); };
    BitBtn2->OnClick = [this](TObject* Sender) { BitBtn2Click(Sender); };
    M11->OnClick = [this](TObject* Sender) { M11Click(Sender); };
    Msa1->OnClick = [this](TObject* Sender) { Msa1Click(Sender); };
    Msa2->OnClick = [this](TObject* Sender) { Msa2Click(Sender); };
    Msa3->OnClick = [this](TObject* Sender) { Msa3Click(Sender); };
    uN6->OnClick = [this](TObject* Sender) { uN6Click(Sender); };
    dN1->OnClick = [this](TObject* Sender) { dN1Click(Sender); };
    pN7->OnClick = [this](TObject* Sender) { pN7Click(Sender); };
    rN8->OnClick = [this](TObject* Sender) { rN8Click(Sender); };
    N5->OnClick = [this](TObject* Sender) { N5Click(Sender); };
    bN4->OnClick = [this](TObject* Sender) { bN4Click(Sender); };
    bN5->OnClick = [this](TObject* Sender) { bN5Click(Sender); };
    for (TLabel* tips : {Label59, Label60, Label61})
        tips->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
            Label59MouseDown(Sender, Button, Shift, X, Y);
        };

    Button1->OnClick = [this](TObject* Sender) { Button1Click(Sender); };
    Button2->OnClick = [this](TObject* Sender) { Button2Click(Sender); };
    BitBtn1->OnClick = [this](TObject* Sender) { BitBtn1Click(Sender); };
    ComboBox7->OnKeyPress = [this](TObject* Sender, Char& Key) { ComboBox7KeyPress(Sender, Key); };
    for (TComboBox* remark : {ComboBox4, ComboBox25})
        remark->OnKeyPress = [this](TObject* Sender, Char& Key) { ComboBox4KeyPress(Sender, Key); };
    for (TComboBox* type : {ComboBox2, ComboBox26})
        type->OnKeyPress = [this](TObject* Sender, Char& Key) { ComboBox2KeyPress(Sender, Key); };

    Button3->OnClick = [this](TObject* Sender) { Button3Click(Sender); };
    Button4->OnClick = [this](TObject* Sender) { Button4Click(Sender); };
    ComboBox15->OnKeyPress = [this](TObject* Sender, Char& Key) { ComboBox15KeyPress(Sender, Key); };
    Button5->OnClick = [this](TObject* Sender) { Button5Click(Sender); };
    Button6->OnClick = [this](TObject* Sender) { Button6Click(Sender); };
    ComboBox29->OnKeyPress = [this](TObject* Sender, Char& Key) { ComboBox29KeyPress(Sender, Key); };
    ComboBox29->OnChange = [this](TObject* Sender) { ComboBox29Change(Sender); };
    Edit1->OnChange = [this](TObject* Sender) { Edit1Change(Sender); };
    for (TEdit* money : {Edit1, Edit2})
        money->OnKeyPress = [this](TObject* Sender, Char& Key) { Edit1KeyPress(Sender, Key); };
    BindQueryEvents();
}
