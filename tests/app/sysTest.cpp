// The settings window's lists: adding, modifying and deleting rows, duplicates, codes and searches.
#include "AppTestSupport.h"

#include "datagrid/DBGridEh.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/UiTestSupport.h"

namespace {

// The settings window over a database with a few rows of each list, every list open as the
// window shows it.
class TSettingsWindowTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        ReleaseKeyboardModifiers();
        OpenWindows();
        Execute("insert into dept(部门编号,部门) values('01','办公室');"
                "insert into dept(部门编号,部门) values('02','制造部');"
                "insert into ouser(姓名,姓名编号,部门) values('张三','zs','制造部');"
                "insert into ouser(姓名,姓名编号,部门) values('李四','ls','制造部');"
                "insert into ouser(姓名,姓名编号,部门) values('王五','ww','办公室');"
                "insert into rmark(备注) values('急用');"
                "insert into supplier(供应商,供应商编号,联系人) values('文具店','wjd','老李');");
        Form3->FormShow(Form3);
        for (TBitBtn* showAll : {Form3->BitBtn10, Form3->BitBtn25, Form3->BitBtn14, Form3->BitBtn26, Form3->BitBtn29})
            showAll->Click();
    }

    static String Current(TADOQuery* List, const char* Field)
    {
        return List->FieldByName(String::fromUtf8(Field))->AsString();
    }

    static void LocateRow(TADOQuery* List, const char* Field, const char* Value)
    {
        ASSERT_TRUE(List->Locate(String::fromUtf8(Field), Variant(String::fromUtf8(Value)), {}));
    }
};

}  // namespace

TEST_F(TSettingsWindowTest, AUserAddedWithoutACodeStoresTheCodeOfTheNameAndIsShownInTheList)
{
    Form3->ComboBox1->SetText(QStringLiteral("办公室"));
    Form3->Edit8->SetText(QStringLiteral("赵六"));
    Form3->Edit7->SetText(String());
    Form3->BitBtn17->Click();

    EXPECT_EQ(Rows("select 姓名,姓名编号,部门 from ouser where 姓名='赵六'"), QStringList({QStringLiteral("赵六|zl|办公室")}));
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("用户添加成功！")}));
    EXPECT_EQ(FDialogs.Shown().back().Caption, QStringLiteral("提示"));
    EXPECT_EQ(Current(Form3->ADOQsu1, "姓名"), QStringLiteral("赵六"));
}

TEST_F(TSettingsWindowTest, ADuplicateIsRefusedAlsoWithBlanksAroundTheName)
{
    for (const char* typed : {"张三", " 张三 "}) {
        Form3->ComboBox1->SetText(QStringLiteral("制造部"));
        Form3->Edit8->SetText(String::fromUtf8(typed));
        Form3->Edit7->SetText(QStringLiteral("zs"));
        Form3->BitBtn17->Click();
    }
    EXPECT_EQ(Rows("select count(*) from ouser where 姓名='张三'"), QStringList({QStringLiteral("1")}));
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("已经有相同的用户信息，请重新输入内容！"),
                                       QStringLiteral("已经有相同的用户信息，请重新输入内容！")}));
    EXPECT_EQ(FDialogs.Shown().back().Caption, QStringLiteral("错误"));
    EXPECT_EQ(Form3->Edit8->SelLength(), Form3->Edit8->Text().size());
}

TEST_F(TSettingsWindowTest, AnEmptyRequiredFieldStoresNothingAndSaysNothing)
{
    Form3->Edit8->SetText(QStringLiteral("   "));
    Form3->BitBtn17->Click();
    Form3->Edit4->SetText(String());
    Form3->BitBtn9->Click();
    EXPECT_EQ(Rows("select count(*) from ouser"), QStringList({QStringLiteral("3")}));
    EXPECT_EQ(Rows("select count(*) from rmark"), QStringList({QStringLiteral("1")}));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(TSettingsWindowTest, RenamingADepartmentRenamesItsUsersOnceAndInOneTransaction)
{
    LocateRow(Form3->sdept1, "部门", "制造部");
    Form3->ShowRowInEditors(TSettingsPage::spDepartments);
    Form3->Edit2->SetText(QStringLiteral("生产部"));
    FDialogs.Answer(IDOK);
    Form3->BitBtn2->Click();

    EXPECT_EQ(Rows("select 部门编号,部门 from dept order by 部门编号"),
              QStringList({QStringLiteral("01|办公室"), QStringLiteral("02|生产部")}));
    EXPECT_EQ(Rows("select 姓名,部门 from ouser order by id"),
              QStringList({QStringLiteral("张三|生产部"), QStringLiteral("李四|生产部"), QStringLiteral("王五|办公室")}));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages()[0], QStringLiteral("警告：确认修改此部门名称吗？\r\r注意：修改时将对员工部门作相应修改。"));
    EXPECT_EQ(FDialogs.Shown()[0].Caption, QStringLiteral("确认修改"));

    // A second modify without another row shown renames the department again but no users.
    Form3->Edit2->SetText(QStringLiteral("装配部"));
    FDialogs.Answer(IDOK);
    Form3->BitBtn2->Click();
    EXPECT_EQ(Rows("select count(*) from ouser where 部门='生产部'"), QStringList({QStringLiteral("2")}));
}

TEST_F(TSettingsWindowTest, AFailedRenameOfTheUsersLeavesTheDepartmentUnchanged)
{
    Execute("create trigger refuse before update on ouser begin select raise(abort, 'refused'); end;");
    LocateRow(Form3->sdept1, "部门", "制造部");
    Form3->ShowRowInEditors(TSettingsPage::spDepartments);
    Form3->Edit2->SetText(QStringLiteral("生产部"));
    FDialogs.Answer(IDOK);
    Form3->BitBtn2->Click();

    EXPECT_EQ(Rows("select 部门 from dept where 部门编号='02'"), QStringList({QStringLiteral("制造部")}));
    EXPECT_EQ(Rows("select count(*) from ouser where 部门='制造部'"), QStringList({QStringLiteral("2")}));
    EXPECT_EQ(Messages().back(), QStringLiteral("操作失败！"));
}

TEST_F(TSettingsWindowTest, CancellingAModifyChangesNothing)
{
    LocateRow(Form3->ADOQsu1, "姓名", "李四");
    Form3->ShowRowInEditors(TSettingsPage::spUsers);
    Form3->Edit8->SetText(QStringLiteral("李四四"));
    FDialogs.Answer(IDCANCEL);
    Form3->BitBtn20->Click();
    EXPECT_EQ(Rows("select count(*) from ouser where 姓名='李四'"), QStringList({QStringLiteral("1")}));
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("警告：确认修改此用户信息吗？")}));
}

TEST_F(TSettingsWindowTest, DepartmentsAreDuplicatesOnlyByNameAndCodeTogether)
{
    Form3->Edit1->SetText(QStringLiteral("09"));
    Form3->Edit2->SetText(QStringLiteral("制造部"));
    Form3->BitBtn1->Click();
    Form3->Edit1->SetText(QStringLiteral("02"));
    Form3->Edit2->SetText(QStringLiteral("制造部"));
    Form3->BitBtn1->Click();
    EXPECT_EQ(Rows("select 部门编号 from dept where 部门='制造部' order by 部门编号"),
              QStringList({QStringLiteral("02"), QStringLiteral("09")}));
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("部门名称添加成功！"), QStringLiteral("此部门已经存在了，请重新输入部门名称！")}));
}

TEST_F(TSettingsWindowTest, AnItemStoresItsCategoryFromTheTwoBoxes)
{
    const auto add = [](const char* Name, bool Office, bool Gift) {
        Form3->Edit3->SetText(String::fromUtf8(Name));
        Form3->Edit6->SetText(String());
        Form3->CheckBox1->SetChecked(Office);
        Form3->CheckBox2->SetChecked(Gift);
        Form3->BitBtn5->Click();
    };
    add("茶叶", true, true);
    add("铅笔", true, false);
    add("花篮", false, true);
    add("杂物", false, false);
    EXPECT_EQ(Rows("select 物品名称,编号,quote(礼品) from ptype order by id"),
              QStringList({QStringLiteral("茶叶|cy|'办公礼品'"), QStringLiteral("铅笔|qb|'办公'"),
                           QStringLiteral("花篮|hl|'礼品'"), QStringLiteral("杂物|zw|''")}));

    // Showing a row sets the boxes back from the stored category.
    LocateRow(Form3->ADOQp1, "物品名称", "花篮");
    Form3->ShowRowInEditors(TSettingsPage::spItems);
    EXPECT_FALSE(Form3->CheckBox1->Checked());
    EXPECT_TRUE(Form3->CheckBox2->Checked());
}

TEST_F(TSettingsWindowTest, ARemarkIsFoundAgainByItsTextAfterAdding)
{
    Form3->Edit4->SetText(QStringLiteral(" 送货上门 "));
    Form3->BitBtn9->Click();
    EXPECT_EQ(Rows("select 备注 from rmark order by id"), QStringList({QStringLiteral("急用"), QStringLiteral("送货上门")}));
    EXPECT_EQ(Current(Form3->ADOQremark1, "备注"), QStringLiteral("送货上门"));
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("备注添加成功！")}));
}

TEST_F(TSettingsWindowTest, ASupplierModifyStoresEveryField)
{
    Form3->ShowRowInEditors(TSettingsPage::spSuppliers);
    EXPECT_EQ(Form3->Edit10->Text(), QStringLiteral("文具店"));
    Form3->Edit12->SetText(QStringLiteral("010-1234"));
    Form3->Edit16->SetText(QStringLiteral("12345"));
    Form3->Edit17->SetText(QStringLiteral("北京"));
    FDialogs.Answer(IDOK);
    Form3->BitBtn22->Click();
    EXPECT_EQ(Rows("select 供应商,供应商编号,联系人,电话,QQ,供应商地址 from supplier"),
              QStringList({QStringLiteral("文具店|wjd|老李|010-1234|12345|北京")}));
}

TEST_F(TSettingsWindowTest, AModifyThatWouldEqualAnotherRowIsRefused)
{
    LocateRow(Form3->ADOQsu1, "姓名", "李四");
    Form3->ShowRowInEditors(TSettingsPage::spUsers);
    Form3->Edit8->SetText(QStringLiteral("张三"));
    Form3->Edit7->SetText(QStringLiteral("zs"));
    Form3->BitBtn20->Click();
    EXPECT_EQ(Rows("select 姓名 from ouser order by id"),
              QStringList({QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王五")}));
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("已经有相同的用户信息，请重新输入内容！")}));
}

TEST_F(TSettingsWindowTest, DeletingTheCurrentRowAsksAndDeletesOnlyThatRow)
{
    LocateRow(Form3->ADOQsu1, "姓名", "李四");
    FDialogs.Answer(IDOK);
    Form3->BitBtn19->Click();
    EXPECT_EQ(Rows("select 姓名 from ouser order by id"), QStringList({QStringLiteral("张三"), QStringLiteral("王五")}));
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("警告：确认删除选中的用户吗？")}));
    EXPECT_EQ(FDialogs.Shown()[0].Caption, QStringLiteral("确认删除"));
}

TEST_F(TSettingsWindowTest, DeletingARowThatHasGoneMeanwhileDeletesNoOtherRow)
{
    LocateRow(Form3->ADOQsu1, "姓名", "李四");
    Execute("delete from ouser where 姓名='李四'");
    FDialogs.Answer(IDOK);
    Form3->BitBtn19->Click();
    EXPECT_EQ(Rows("select 姓名 from ouser order by id"), QStringList({QStringLiteral("张三"), QStringLiteral("王五")}));
}

TEST_F(TSettingsWindowTest, DeletingFromAnEmptyListSaysSo)
{
    Execute("delete from rmark");
    Form3->BitBtn26->Click();
    Form3->BitBtn11->Click();
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("备注列表内容为空，无法删除！")}));
}

TEST_F(TSettingsWindowTest, SearchesBindTheTypedTextAndShowAllBringsEveryRowBack)
{
    Execute("insert into ouser(姓名,姓名编号,部门) values('O''Neil \"Jr\"','on','办公室');");
    Form3->Edit8->SetText(QStringLiteral("'Neil \"J"));
    Form3->BitBtn6->Click();
    ASSERT_EQ(Form3->ADOQsu1->RecordCount(), 1);
    EXPECT_EQ(Current(Form3->ADOQsu1, "姓名编号"), QStringLiteral("on"));

    Form3->Edit8->SetText(QStringLiteral("\" or \"\"=\""));
    Form3->BitBtn6->Click();
    EXPECT_EQ(Form3->ADOQsu1->RecordCount(), 0);

    Form3->ComboBox1->SetText(QStringLiteral("制造部"));
    Form3->BitBtn3->Click();
    EXPECT_EQ(Form3->ADOQsu1->RecordCount(), 2);

    Form3->BitBtn10->Click();
    EXPECT_EQ(Form3->ADOQsu1->RecordCount(), 4);
}

TEST_F(TSettingsWindowTest, ACellFilterShowsTheRowsHoldingTheValueAndTheRowNumberColumnShowsAll)
{
    Form3->FilterByCellValue(Form3->ADOQsu1, QStringLiteral("ouser"), QStringLiteral("部门"), QStringLiteral("制造部"),
                             QStringLiteral("部门 asc, 姓名 asc"));
    EXPECT_EQ(Form3->ADOQsu1->RecordCount(), 2);
    EXPECT_EQ(Current(Form3->ADOQsu1, "姓名"), QStringLiteral("李四"));
    Form3->FilterByCellValue(Form3->ADOQsu1, QStringLiteral("ouser"), QStringLiteral("序号"), QStringLiteral("1"),
                             QStringLiteral("部门 asc, 姓名 asc"));
    EXPECT_EQ(Form3->ADOQsu1->RecordCount(), 3);
}

TEST_F(TSettingsWindowTest, TheCodeFollowsTheNameAsItIsTyped)
{
    Form3->PageControl1->SetActivePage(Form3->TabSheet1);
    Form3->Show();
    Form3->Edit8->SetText(String());
    Form3->Edit7->SetText(QStringLiteral("old"));
    TypeText(Form3->Edit8->Handle(), QStringLiteral("ab1"));
    EXPECT_EQ(Form3->Edit7->Text(), QStringLiteral("ab1"));
    Form3->Edit3->SetText(QStringLiteral("订书机"));
    Form3->BitBtn15->Click();
    EXPECT_EQ(Form3->Edit6->Text(), QStringLiteral("dsj"));
}

TEST_F(TSettingsWindowTest, TheWindowShowsOverTheMainWindowAndReopensClosedLists)
{
    Form3->ADOQsu1->Close();
    Form3->FormShow(Form3);
    EXPECT_EQ(Form3->Left(), MF1->Left() + 80);
    EXPECT_EQ(Form3->Top(), MF1->Top() + 75);
    EXPECT_TRUE(Form3->ADOQsu1->Active());
    EXPECT_FALSE(Form3->N1->Visible());
    EXPECT_TRUE(Form3->N6->Visible());
}

TEST_F(TSettingsWindowTest, SelectedRowsAreDeletedFromTheirMenuAndLeaveTheListWithoutAQuery)
{
    TDBGridEh* grid = Form3->DBGridEh4;
    LocateRow(Form3->ADOQsu1, "姓名", "张三");
    grid->SelectedRows()->SetCurrentRowSelected(true);
    grid->OnMouseMove(grid, TShiftState(), 5, 5);
    EXPECT_TRUE(Form3->N1->Visible());
    EXPECT_FALSE(Form3->N2->Visible());
    LocateRow(Form3->ADOQsu1, "姓名", "王五");
    grid->SelectedRows()->SetCurrentRowSelected(true);
    FDialogs.Answer(IDOK);
    Form3->N1->Click();
    EXPECT_EQ(Rows("select 姓名 from ouser"), QStringList({QStringLiteral("李四")}));
    EXPECT_EQ(Form3->ADOQsu1->RecordCount(), 1);
    grid->OnMouseMove(grid, TShiftState(), 5, 5);
    EXPECT_FALSE(Form3->N1->Visible());
}
