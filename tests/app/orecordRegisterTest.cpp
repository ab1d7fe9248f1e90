// Registering an issue: rows stored, counters raised, checks in order, a failure stores nothing.
#include "AppTestSupport.h"

#include "platform/core/DateTime.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Memo.h"
#include "platform/ui/UiTestSupport.h"

#include <QRegularExpression>

namespace {

QPoint Centre(TControl* Control) { return QPoint(Control->Width() / 2, Control->Height() / 2); }

class TIssueRegistrationTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        OpenWindows();
        Execute("insert into ouser(姓名,姓名编号,部门) values('张三','zs','办公室');"
                "insert into rmark(备注) values('急用');");
    }

    // Fills the issue page as a user does: the department and unit chosen with the arrow key,
    // Chinese through the input method, the rest typed. A known name brings its department and a
    // catalogued item its type and unit; the user chooses or types what they leave empty.
    void FillIssue(const char* Name, const char* Item, const char* Quantity, const char* Remark)
    {
        CommitText(MF1->ComboBox3->Handle(), String::fromUtf8(Name));
        if (MF1->ComboBox1->Text().isEmpty())
            SendKey(MF1->ComboBox1->Handle(), Qt::Key_Down);
        MF1->ComboBox5->SetText(String());
        CommitText(MF1->ComboBox5->Handle(), String::fromUtf8(Item));
        if (MF1->ComboBox2->Text().isEmpty())
            TypeText(MF1->ComboBox2->Handle(), QStringLiteral("0.5mm"));
        TypeText(MF1->ComboBox7->Handle(), String::fromUtf8(Quantity));
        if (MF1->ComboBox6->Text().isEmpty())
            SendKey(MF1->ComboBox6->Handle(), Qt::Key_Down);
        CommitText(MF1->ComboBox4->Handle(), String::fromUtf8(Remark));
    }

    void PressConfirm() { ClickAt(MF1->Button1->Handle(), Centre(MF1->Button1)); }

    static QStringList StoredIssues() { return Rows("select 姓名,部门,数量,单位,物品名称,类型,备注 from oprint order by id"); }
};

}  // namespace

TEST_F(TIssueRegistrationTest, RegisteringStoresTheIssueRaisesCountersAndResetsThePage)
{
    FillIssue("张三", "签字笔", "3", "急用");
    PressConfirm();

    ASSERT_EQ(Messages(), QStringList{QStringLiteral("登记成功 ！")});
    EXPECT_EQ(FDialogs.Shown().front().Caption, u"提示");
    EXPECT_EQ(FDialogs.Shown().front().Icon, TMsgDlgType::mtInformation);
    EXPECT_EQ(StoredIssues(), QStringList{QStringLiteral("张三|办公室|3|支|签字笔|0.5mm|急用")});
    EXPECT_EQ(Rows("select typeof(数量) from oprint"), QStringList{QStringLiteral("integer")});
    const QStringList when = Rows("select 日期,时间 from oprint");
    EXPECT_EQ(when.front().section(u'|', 0, 0), FormatDateTime(QStringLiteral("yyyy-MM-dd"), Date()) + QStringLiteral(" 00:00:00"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(when.front().section(u'|', 1)).hasMatch());
    EXPECT_EQ(Rows("select 姓名,次数 from ouser"), QStringList{QStringLiteral("张三|1")});
    EXPECT_EQ(Rows("select 备注,次数 from rmark"), QStringList{QStringLiteral("急用|1")});
    EXPECT_EQ(Rows("select 物品名称,编号,类型,单位,礼品,次数 from ptype"), QStringList{QStringLiteral("签字笔|qzb|0.5mm|支|办公|1")});

    EXPECT_EQ(MF1->ComboBox1->Text(), u"请选择部门...");
    EXPECT_EQ(MF1->ComboBox3->Text(), u"");
    EXPECT_EQ(MF1->ComboBox5->Text(), u"请选择物品名称...");
    EXPECT_EQ(MF1->ComboBox2->Text(), u"");
    EXPECT_EQ(MF1->ComboBox7->Text(), u"");
    EXPECT_EQ(MF1->ComboBox6->Text(), u"单位");
    EXPECT_EQ(MF1->ComboBox4->Text(), u"");
    EXPECT_EQ(MF1->ComboBox8->Text(), u"不限制");
    EXPECT_EQ(MF1->DateTimePicker1->DateTime(), Date());
    EXPECT_EQ(MF1->DateTimePicker2->DateTime(), Date());
    EXPECT_FALSE(MF1->DateTimePicker2->Visible());
    EXPECT_EQ(MF1->ComboBox20->Text(), u"本年");
    EXPECT_EQ(MF1->Memo1->Text(), u"1");
    EXPECT_EQ(MF1->Memo2->Text(), u"3");
}

TEST_F(TIssueRegistrationTest, TheSameItemAgainAddsNoCatalogueRowAndCountsOnce)
{
    FillIssue("张三", "签字笔", "3", "急用");
    PressConfirm();
    FillIssue("李四", "签字笔", "4", "办公");
    SendKey(MF1->ComboBox7->Handle(), Qt::Key_Return, QStringLiteral("\r"));

    EXPECT_EQ(Messages(), QStringList({QStringLiteral("登记成功 ！"), QStringLiteral("登记成功 ！")}));
    EXPECT_EQ(Rows("select 物品名称,次数 from ptype"), QStringList{QStringLiteral("签字笔|2")});
    // Neither 李四 nor the remark 办公 is a preset: no counter moves for them.
    EXPECT_EQ(Rows("select 姓名,次数 from ouser"), QStringList{QStringLiteral("张三|1")});
    EXPECT_EQ(Rows("select 备注,次数 from rmark"), QStringList{QStringLiteral("急用|1")});
    EXPECT_EQ(MF1->Memo1->Text(), u"2");
    EXPECT_EQ(MF1->Memo2->Text(), u"7");
}

TEST_F(TIssueRegistrationTest, EnterInTheRemarkOrTypeFieldRegisters)
{
    FillIssue("张三", "签字笔", "1", "急用");
    SendKey(MF1->ComboBox4->Handle(), Qt::Key_Return, QStringLiteral("\r"));
    FillIssue("张三", "订书机", "2", "");
    SendKey(MF1->ComboBox2->Handle(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(StoredIssues(), QStringList({QStringLiteral("张三|办公室|1|支|签字笔|0.5mm|急用"),
                                           QStringLiteral("张三|办公室|2|支|订书机|0.5mm|")}));
    EXPECT_EQ(Rows("select 物品名称,编号 from ptype order by id"),
              QStringList({QStringLiteral("签字笔|qzb"), QStringLiteral("订书机|dsj")}));
}

TEST_F(TIssueRegistrationTest, ChecksRunInOrderAndStopAtTheFirstFailure)
{
    PressConfirm();
    SendKey(MF1->ComboBox1->Handle(), Qt::Key_Down);
    PressConfirm();
    // A name of blanks is no name; as a name nobody has, it empties the department, chosen again.
    TypeText(MF1->ComboBox3->Handle(), QStringLiteral("   "));
    EXPECT_EQ(MF1->ComboBox1->Text(), String());
    SendKey(MF1->ComboBox1->Handle(), Qt::Key_Down);
    PressConfirm();
    MF1->ComboBox3->SetText(String());
    CommitText(MF1->ComboBox3->Handle(), QStringLiteral("张三"));
    PressConfirm();
    // An item of blanks is no item.
    MF1->ComboBox5->SetText(String());
    TypeText(MF1->ComboBox5->Handle(), QStringLiteral("   "));
    PressConfirm();
    MF1->ComboBox5->SetText(String());
    CommitText(MF1->ComboBox5->Handle(), QStringLiteral("签字笔"));
    PressConfirm();

    EXPECT_EQ(Messages(), QStringList({QStringLiteral("请选择部门 ！"), QStringLiteral("请填写姓名 ！"),
                                       QStringLiteral("请填写姓名 ！"), QStringLiteral("请选择物品名称 ！"),
                                       QStringLiteral("请选择物品名称 ！"), QStringLiteral("请确认物品数量 ！")}));
    for (const TMessageBoxRequest& shown : FDialogs.Shown()) {
        EXPECT_EQ(shown.Caption, u"提示");
        EXPECT_EQ(shown.Icon, TMsgDlgType::mtWarning);
    }
    EXPECT_EQ(MF1->ActiveControl(), MF1->ComboBox7);
    EXPECT_TRUE(StoredIssues().isEmpty());
}

TEST_F(TIssueRegistrationTest, QuantityOfZeroIsRefusedWithItsTextSelected)
{
    for (const char* zero : {"0", "00"}) {
        FillIssue("张三", "签字笔", zero, "");
        PressConfirm();
        EXPECT_EQ(Messages().last(), u"请确认物品数量 ！");
        EXPECT_EQ(MF1->ActiveControl(), MF1->ComboBox7);
        EXPECT_EQ(MF1->ComboBox7->SelText(), String::fromUtf8(zero));
        MF1->Button2->Click();
    }
    EXPECT_TRUE(StoredIssues().isEmpty());
}

TEST_F(TIssueRegistrationTest, PastedQuantityBelowOneIsRefusedAsZero)
{
    for (const char* pasted : {"-5", "-0", " -1"}) {
        FillIssue("张三", "签字笔", "", "");
        MF1->ComboBox7->SetText(String::fromUtf8(pasted));
        PressConfirm();
        EXPECT_EQ(Messages().last(), u"请确认物品数量 ！");
        EXPECT_EQ(MF1->ActiveControl(), MF1->ComboBox7);
        EXPECT_EQ(MF1->ComboBox7->SelText(), String::fromUtf8(pasted));
        MF1->Button2->Click();
    }
    EXPECT_EQ(Messages().size(), 3);
    EXPECT_TRUE(StoredIssues().isEmpty());
    EXPECT_TRUE(Rows("select * from ptype").isEmpty());
}

// The list's total and footer sum in Currency: a quantity they could not hold is refused.
TEST_F(TIssueRegistrationTest, AQuantityTheSumsCannotHoldIsRefusedBeforeAnythingIsStored)
{
    Execute("insert into oprint(数量) values(922337203685000)");
    FillIssue("张三", "签字笔", "99999", "");
    PressConfirm();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("数量过大，合计将超出可保存的范围 ！")});
    EXPECT_EQ(MF1->ActiveControl(), MF1->ComboBox7);
    EXPECT_EQ(MF1->ComboBox7->SelText(), u"99999");
    EXPECT_EQ(Rows("select count(*) from oprint"), QStringList{QStringLiteral("1")});
    EXPECT_EQ(Rows("select 次数 from ouser"), QStringList{QStringLiteral("0")});
}

TEST_F(TIssueRegistrationTest, QuantityTakesOnlyDigitsAndPastedTextMustBeANumber)
{
    TypeText(MF1->ComboBox7->Handle(), QStringLiteral("a1b 2-"));
    EXPECT_EQ(MF1->ComboBox7->Text(), u"1 2");

    FillIssue("张三", "签字笔", "", "");
    MF1->ComboBox7->SetText(QStringLiteral("abc"));
    PressConfirm();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().front().contains(u"“abc”"));
    EXPECT_TRUE(StoredIssues().isEmpty());
    EXPECT_TRUE(Rows("select * from ptype").isEmpty());
}

TEST_F(TIssueRegistrationTest, AFailureInTheMiddleStoresNothingAndARetryStoresOnce)
{
    Execute("create trigger refuse before update on ouser begin select raise(abort, 'refused'); end;");
    FillIssue("张三", "签字笔", "3", "急用");
    PressConfirm();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("操作失败 ！")});
    EXPECT_EQ(FDialogs.Shown().back().Icon, TMsgDlgType::mtWarning);
    EXPECT_TRUE(StoredIssues().isEmpty());
    EXPECT_EQ(Rows("select 次数 from rmark"), QStringList{QStringLiteral("0")});
    EXPECT_TRUE(Rows("select * from ptype").isEmpty());
    // The page keeps what the user entered, ready for another try.
    EXPECT_EQ(MF1->ComboBox3->Text(), u"张三");
    EXPECT_FALSE(MF1->ADOCon1->InTransaction());

    Execute("drop trigger refuse;");
    PressConfirm();
    EXPECT_EQ(Messages().last(), u"登记成功 ！");
    EXPECT_EQ(StoredIssues(), QStringList{QStringLiteral("张三|办公室|3|支|签字笔|0.5mm|急用")});
}

TEST_F(TIssueRegistrationTest, AFailingCatalogueStepTakesTheIssueBackToo)
{
    Execute("create trigger refuse before insert on ptype begin select raise(abort, 'refused'); end;");
    FillIssue("张三", "签字笔", "3", "急用");
    PressConfirm();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("操作失败 ！")});
    EXPECT_TRUE(StoredIssues().isEmpty());
    EXPECT_EQ(Rows("select 次数 from ouser"), QStringList{QStringLiteral("0")});
}

TEST_F(TIssueRegistrationTest, TotalsOfAnEmptyListAreZero)
{
    EXPECT_EQ(MF1->Memo1->Text(), u"0");
    EXPECT_EQ(MF1->Memo2->Text(), u"0");
    EXPECT_EQ(MF1->ComboBox20->Text(), u"本年");
}

TEST_F(TIssueRegistrationTest, QueryFiltersByTheFilledFieldsWithoutSplicingThem)
{
    Execute("insert into oprint(姓名,部门,数量,单位,物品名称,类型,日期,时间,备注) values"
            "('张三','销售公司',2,'支','笔','','2008-06-06 00:00:00','09:15:30',''),"
            "('李\"四','制造部',5,'个','本','','2008-06-07 00:00:00','10:00:00','');");
    MF1->ComboBox1->SetText(QStringLiteral("销售"));
    MF1->ComboBox8->SetText(QStringLiteral("不限制"));
    MF1->BitBtn1->Click();
    EXPECT_EQ(MF1->Memo1->Text(), u"1");
    EXPECT_EQ(MF1->Memo2->Text(), u"2");
    EXPECT_EQ(MF1->ComboBox20->Text(), u"查询");

    MF1->Button2->Click();
    MF1->ComboBox3->SetText(QStringLiteral("李\"四"));
    MF1->BitBtn1->Click();
    EXPECT_EQ(MF1->Memo1->Text(), u"1");
    EXPECT_EQ(MF1->Memo2->Text(), u"5");

    MF1->Button2->Click();
    MF1->ComboBox8->SetText(QStringLiteral("介于"));
    MF1->DateTimePicker1->SetDateTime(EncodeDate(2008, 6, 1));
    MF1->DateTimePicker2->SetDateTime(EncodeDate(2008, 6, 6));
    MF1->BitBtn1->Click();
    EXPECT_EQ(MF1->Memo1->Text(), u"1");
    EXPECT_EQ(MF1->Memo2->Text(), u"2");
}

TEST_F(TIssueRegistrationTest, WhileAnotherProgramWritesTheIssueIsRefusedWhollyAndARetryStoresIt)
{
    FillIssue("张三", "签字笔", "3", "急用");
    {
        TSQLiteDatabase otherProgram(DatabasePath());
        otherProgram.ExecuteScript(QStringLiteral("BEGIN IMMEDIATE"));
        PressConfirm();
        EXPECT_EQ(Messages(), QStringList{QStringLiteral("操作失败 ！")});
        otherProgram.ExecuteScript(QStringLiteral("ROLLBACK"));
    }
    EXPECT_TRUE(StoredIssues().isEmpty());
    EXPECT_FALSE(MF1->ADOCon1->InTransaction());
    PressConfirm();
    EXPECT_EQ(Messages().last(), u"登记成功 ！");
    EXPECT_EQ(StoredIssues().size(), 1);
}

TEST_F(TIssueRegistrationTest, AFieldOfBlanksFiltersByItsTextAsTyped)
{
    FillIssue("张三", "签字笔", "3", "");
    PressConfirm();
    MF1->ComboBox5->SetText(QStringLiteral("   "));
    MF1->BitBtn1->Click();
    EXPECT_EQ(MF1->ComboBox20->Text(), u"查询");
    EXPECT_EQ(MF1->Memo1->Text(), u"0");
}
