// Registering gifts and stock-ins: rows stored, catalogue learnt, checks, numbers and failures.
#include "AppTestSupport.h"

#include "platform/core/SysUtils.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Edit.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/UiTestSupport.h"

#include <functional>

namespace {

QPoint Centre(TControl* Control) { return QPoint(Control->Width() / 2, Control->Height() / 2); }

void Backspace(TWinControl* Field, int Times = 1)
{
    for (int i = 0; i < Times; ++i)
        SendKey(Field->Handle(), Qt::Key_Backspace, QStringLiteral("\b"));
}

// Replaces a field's text (its placeholder) by what the user types: Chinese through the input
// method, anything else key by key.
void Retype(TComboBox* Field, const char* Text)
{
    Field->SetText(String());
    const String text = String::fromUtf8(Text);
    bool ascii = true;
    for (const QChar ch : text)
        ascii = ascii && ch.unicode() < 0x80;
    if (ascii)
        TypeText(Field->Handle(), text);
    else
        CommitText(Field->Handle(), text);
}

// The windows open, with a person and a remark preset whose counters must stay put, and the
// page's query button counted on its way to whatever query it runs.
class TPagesRegistrationTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        ReleaseKeyboardModifiers();
        OpenWindows();
        Execute("insert into ouser(姓名,姓名编号,部门) values('张三','zs','办公室');"
                "insert into rmark(备注) values('急用');");
    }

    // Counts the clicks while a registration is asked for: every change of an entry field runs
    // the page's query as well.
    void CountClicks(TBitBtn* Query)
    {
        TNotifyEvent query = Query->OnClick;
        Query->OnClick = [this, query](TObject* Sender) {
            if (FRegistering)
                ++FQueries;
            if (query)
                query(Sender);
        };
    }

    void Registering(const std::function<void()>& Action)
    {
        FRegistering = true;
        Action();
        FRegistering = false;
    }

    void PressEnter(TWinControl* Field)
    {
        Registering([Field] { SendKey(Field->Handle(), Qt::Key_Return, QStringLiteral("\r")); });
    }

    // A second 张三 in another department: typing the name leaves the department to the user,
    // at its placeholder.
    static void AddNamesake() { Execute("insert into ouser(姓名,姓名编号,部门) values('张三','zs','技术中心');"); }

    void ExpectCountersUntouched()
    {
        EXPECT_EQ(Rows("select 次数 from ouser"), QStringList{QStringLiteral("0")});
        EXPECT_EQ(Rows("select 次数 from rmark"), QStringList{QStringLiteral("0")});
    }

    int FQueries = 0;
    bool FRegistering = false;
};

class TGiftRegistrationTest : public TPagesRegistrationTest {
protected:
    void SetUp() override
    {
        TPagesRegistrationTest::SetUp();
        MF1->PageControl1->SetActivePage(MF1->TabSheet2);
        CountClicks(MF1->BitBtn8);
    }

    // Everything a gift needs, the receiving department chosen with the arrow key (办公室), as the
    // receiver's own department then confirms.
    void FillGift(const char* Guest = "王总", const char* Quantity = "2")
    {
        Retype(MF1->ComboBox10, Guest);
        Retype(MF1->ComboBox9, "华东公司");
        Retype(MF1->ComboBox17, "经理");
        Retype(MF1->ComboBox13, "茶叶");
        Retype(MF1->ComboBox12, "500g");
        Retype(MF1->ComboBox15, Quantity);
        Retype(MF1->ComboBox14, "盒");
        SendKey(MF1->ComboBox33->Handle(), Qt::Key_Down);
        Retype(MF1->ComboBox18, "张三");
        Retype(MF1->ComboBox19, "李四");
        Retype(MF1->ComboBox11, "急用");
    }

    void PressConfirm()
    {
        Registering([] { ClickAt(MF1->Button3->Handle(), Centre(MF1->Button3)); });
    }

    static QStringList StoredGifts()
    {
        return Rows("select 来客姓名,来客单位,职务,领取人,领取部门,批准,数量,单位,礼品名称,类型,备注 from gift order by id");
    }
};

const String StoredGift = QStringLiteral("王总|华东公司|经理|张三|办公室|李四|2|盒|茶叶|500g|急用");

}  // namespace

TEST_F(TGiftRegistrationTest, RegisteringStoresTheGiftLearnsTheCatalogueAndResetsThePage)
{
    FillGift();
    PressConfirm();

    ASSERT_EQ(Messages(), QStringList{QStringLiteral("登记成功!")});
    EXPECT_EQ(FDialogs.Shown().front().Caption, u"提示");
    EXPECT_EQ(FDialogs.Shown().front().Icon, TMsgDlgType::mtInformation);
    EXPECT_EQ(StoredGifts(), QStringList{StoredGift});
    EXPECT_EQ(Rows("select typeof(数量),日期 from gift"),
              QStringList{QStringLiteral("integer|") + FormatDateTime(QStringLiteral("yyyy-MM-dd"), Date()) +
                          QStringLiteral(" 00:00:00")});
    EXPECT_EQ(Rows("select 物品名称,编号,类型,单位,礼品,次数 from ptype"), QStringList{QStringLiteral("茶叶|cy|500g|盒|礼品|1")});
    // A gift counts neither the receiver nor the remark.
    ExpectCountersUntouched();

    EXPECT_EQ(MF1->ComboBox10->Text(), u"请填写来客姓名...");
    EXPECT_EQ(MF1->ComboBox9->Text(), u"请填写来客单位...");
    EXPECT_EQ(MF1->ComboBox13->Text(), u"请填写礼品名称...");
    for (TComboBox* emptied : {MF1->ComboBox12, MF1->ComboBox11, MF1->ComboBox15, MF1->ComboBox17, MF1->ComboBox18,
                               MF1->ComboBox19})
        EXPECT_EQ(emptied->Text(), u"") << emptied->Name().toStdString();
    EXPECT_EQ(MF1->ComboBox14->Text(), u"单位");
    EXPECT_EQ(MF1->ComboBox33->Text(), u"请选择部门...");
    EXPECT_EQ(MF1->ComboBox16->Text(), u"不限制");
    EXPECT_EQ(MF1->DateTimePicker3->DateTime(), Date());
    EXPECT_FALSE(MF1->DateTimePicker4->Visible());
    EXPECT_EQ(FQueries, 1);
}

TEST_F(TGiftRegistrationTest, TheSameGiftAgainCountsItsCatalogueRowOnly)
{
    FillGift();
    PressConfirm();
    FillGift("赵总", "3");
    PressConfirm();
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("登记成功!"), QStringLiteral("登记成功!")}));
    EXPECT_EQ(StoredGifts().size(), 2);
    EXPECT_EQ(Rows("select 物品名称,次数 from ptype"), QStringList{QStringLiteral("茶叶|2")});
}

TEST_F(TGiftRegistrationTest, ChecksRunInOrderAndStopAtTheFirstFailure)
{
    AddNamesake();
    PressConfirm();
    // Blanks are no guest.
    Retype(MF1->ComboBox10, "   ");
    PressConfirm();
    Retype(MF1->ComboBox10, "王总");
    PressConfirm();
    Retype(MF1->ComboBox9, "华东公司");
    PressConfirm();
    Retype(MF1->ComboBox13, "茶叶");
    PressConfirm();
    EXPECT_EQ(MF1->ActiveControl(), MF1->ComboBox15);
    Retype(MF1->ComboBox15, "2");
    PressConfirm();
    Retype(MF1->ComboBox18, "  ");
    PressConfirm();
    Retype(MF1->ComboBox18, "张三");
    PressConfirm();
    Retype(MF1->ComboBox19, "李四");
    EXPECT_EQ(MF1->ComboBox33->Text(), DepartmentPlaceholder);
    PressConfirm();

    EXPECT_EQ(Messages(), QStringList({QStringLiteral("请填写来客姓名 ！"), QStringLiteral("请填写来客姓名 ！"),
                                       QStringLiteral("请填写来客单位 ！"), QStringLiteral("请填写礼品名称 ！"),
                                       QStringLiteral("请确认礼品数量 ！"), QStringLiteral("请填写领取人姓名 ！"),
                                       QStringLiteral("请填写领取人姓名 ！"), QStringLiteral("请填写批准人姓名 ！"),
                                       QStringLiteral("请请选择部门 ！")}));
    for (const TMessageBoxRequest& shown : FDialogs.Shown()) {
        EXPECT_EQ(shown.Caption, u"提示");
        EXPECT_EQ(shown.Icon, TMsgDlgType::mtWarning);
    }
    EXPECT_TRUE(StoredGifts().isEmpty());
    EXPECT_EQ(FQueries, 0);
}

TEST_F(TGiftRegistrationTest, QuantitiesBelowOneAreRefusedWithTheirTextSelected)
{
    for (const char* quantity : {"0", "00", "-3", " -1"}) {
        FillGift();
        // Typed where the filter lets it, pasted where it does not.
        MF1->ComboBox15->SetText(String::fromUtf8(quantity));
        PressConfirm();
        EXPECT_EQ(Messages().last(), u"请确认礼品数量 ！");
        EXPECT_EQ(MF1->ActiveControl(), MF1->ComboBox15);
        EXPECT_EQ(MF1->ComboBox15->SelText(), String::fromUtf8(quantity));
    }
    EXPECT_EQ(Messages().size(), 4);
    EXPECT_TRUE(StoredGifts().isEmpty());
    EXPECT_TRUE(Rows("select * from ptype").isEmpty());
}

TEST_F(TGiftRegistrationTest, QuantityTakesDigitsOnlyAndPastedNonsenseIsNoNumber)
{
    MF1->ComboBox15->SetText(String());
    TypeText(MF1->ComboBox15->Handle(), QStringLiteral("a1-b.2"));
    CommitText(MF1->ComboBox15->Handle(), QStringLiteral("三"));
    EXPECT_EQ(MF1->ComboBox15->Text(), u"12");

    FillGift();
    MF1->ComboBox15->SetText(QStringLiteral("1'); drop table gift; --"));
    PressConfirm();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().front().contains(u"drop table gift")) << Messages().front().toStdString();
    EXPECT_TRUE(StoredGifts().isEmpty());
    EXPECT_EQ(Rows("select count(*) from gift"), QStringList{QStringLiteral("0")});
}

TEST_F(TGiftRegistrationTest, EnterInAFieldRegistersExactlyOneGift)
{
    FillGift();
    PressEnter(MF1->ComboBox15);
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("登记成功!")});
    // The remark field takes no Enter itself: the page's default button does.
    FillGift("赵总");
    PressEnter(MF1->ComboBox11);
    EXPECT_EQ(Messages(), QStringList({QStringLiteral("登记成功!"), QStringLiteral("登记成功!")}));
    EXPECT_EQ(Rows("select 来客姓名 from gift order by id"), QStringList({QStringLiteral("王总"), QStringLiteral("赵总")}));
}

TEST_F(TGiftRegistrationTest, EnterInAnOpenListChoosesTheItemAndRegistersNothing)
{
    FillGift();
    Execute("insert into dept(部门编号,部门) values('01','办公室')");
    MF1->ComboBox33->SetText(QStringLiteral("请选择部门..."));
    SendKey(MF1->ComboBox33->Handle(), Qt::Key_F4);
    ASSERT_TRUE(MF1->ComboBox33->DroppedDown());
    // The list opens on its placeholder, last; the department is just above it.
    SendKey(MF1->ComboBox33->Handle(), Qt::Key_Up);
    PressEnter(MF1->ComboBox33);
    EXPECT_FALSE(MF1->ComboBox33->DroppedDown());
    EXPECT_EQ(MF1->ComboBox33->Text(), u"办公室");
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_TRUE(StoredGifts().isEmpty());
    PressEnter(MF1->ComboBox33);
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("登记成功!")});
    EXPECT_EQ(StoredGifts(), QStringList{StoredGift});
}

TEST_F(TGiftRegistrationTest, WhileAnotherProgramWritesTheGiftIsRefusedWhollyAndARetryStoresIt)
{
    FillGift();
    {
        TSQLiteDatabase otherProgram(DatabasePath());
        otherProgram.ExecuteScript(QStringLiteral("BEGIN IMMEDIATE"));
        PressConfirm();
        EXPECT_EQ(Messages(), QStringList{QStringLiteral("操作失败!")});
        otherProgram.ExecuteScript(QStringLiteral("ROLLBACK"));
    }
    EXPECT_TRUE(StoredGifts().isEmpty());
    EXPECT_FALSE(MF1->ADOCon1->InTransaction());
    PressConfirm();
    EXPECT_EQ(Messages().last(), u"登记成功!");
    EXPECT_EQ(StoredGifts(), QStringList{StoredGift});
}

TEST_F(TGiftRegistrationTest, OddTextsAreStoredAsTheyStand)
{
    const String odd = QStringLiteral("O'Brien \"老王\" 50% _x# [a]");
    const String longText = QString(500, u'长');
    FillGift();
    MF1->ComboBox10->SetText(odd);
    MF1->ComboBox11->SetText(longText);
    MF1->ComboBox12->SetText(QStringLiteral("   "));
    PressConfirm();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("登记成功!")});
    EXPECT_EQ(Rows("select 来客姓名,类型 from gift"), QStringList{odd + QStringLiteral("|")});
    EXPECT_EQ(Rows("select 备注 from gift"), QStringList{longText});
}

TEST_F(TGiftRegistrationTest, AFailureInTheMiddleStoresNothingAndARetryStoresOnce)
{
    Execute("create trigger refuse before update on ptype begin select raise(abort, 'refused'); end;");
    FillGift();
    PressConfirm();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("操作失败!")});
    EXPECT_EQ(FDialogs.Shown().back().Icon, TMsgDlgType::mtWarning);
    EXPECT_TRUE(StoredGifts().isEmpty());
    EXPECT_TRUE(Rows("select * from ptype").isEmpty());
    EXPECT_FALSE(MF1->ADOCon1->InTransaction());
    EXPECT_EQ(MF1->ComboBox10->Text(), u"王总");
    EXPECT_EQ(FQueries, 0);

    Execute("drop trigger refuse;");
    PressConfirm();
    EXPECT_EQ(Messages().last(), u"登记成功!");
    EXPECT_EQ(StoredGifts(), QStringList{StoredGift});
}

namespace {

class TStockInRegistrationTest : public TPagesRegistrationTest {
protected:
    void SetUp() override
    {
        TPagesRegistrationTest::SetUp();
        MF1->PageControl1->SetActivePage(MF1->TabSheet3);
        CountClicks(MF1->BitBtn11);
        CountClicks(MF1->BitBtn1);
    }

    // Everything a stock-in needs: 4 at 2.5 (the amount follows), the requesting department
    // chosen with the arrow key (办公室).
    void FillStockIn(const char* Item = "签字笔")
    {
        Retype(MF1->ComboBox27, Item);
        Retype(MF1->ComboBox26, "0.5mm");
        Retype(MF1->ComboBox23, "文具店");
        TypeText(MF1->Edit1->Handle(), QStringLiteral("2.5"));
        Retype(MF1->ComboBox29, "4");
        Retype(MF1->ComboBox28, "支");
        SendKey(MF1->ComboBox31->Handle(), Qt::Key_Down);
        Retype(MF1->ComboBox32, "张三");
        Retype(MF1->ComboBox24, "李四");
        Retype(MF1->ComboBox25, "急用");
    }

    void PressConfirm()
    {
        Registering([] { ClickAt(MF1->Button5->Handle(), Centre(MF1->Button5)); });
    }

    static QStringList StoredStockIns()
    {
        return Rows("select 物品名称,类型,供应商,数量,单位,单价,金额,申购人,申购部门,登记人,备注 from ruku order by id");
    }
};

const String StoredStockIn = QStringLiteral("签字笔|0.5mm|文具店|4|支|2.5|10.0|张三|办公室|李四|急用");

}  // namespace

TEST_F(TStockInRegistrationTest, RegisteringStoresTheStockInLearnsTheCatalogueAndResetsThePage)
{
    FillStockIn();
    EXPECT_EQ(MF1->Edit2->Text(), u"10");
    MF1->CheckBox1->SetChecked(false);
    PressConfirm();

    ASSERT_EQ(Messages(), QStringList{QStringLiteral("登记成功 ！")});
    EXPECT_EQ(FDialogs.Shown().front().Icon, TMsgDlgType::mtInformation);
    EXPECT_EQ(StoredStockIns(), QStringList{StoredStockIn});
    EXPECT_EQ(Rows("select typeof(数量),typeof(单价),typeof(金额),日期 from ruku"),
              QStringList{QStringLiteral("integer|real|real|") + FormatDateTime(QStringLiteral("yyyy-MM-dd"), Date()) +
                          QStringLiteral(" 00:00:00")});
    EXPECT_EQ(Rows("select 物品名称,编号,类型,单位,礼品,次数 from ptype"), QStringList{QStringLiteral("签字笔|qzb|0.5mm|支|办公|1")});
    EXPECT_TRUE(Rows("select * from oprint").isEmpty());
    ExpectCountersUntouched();

    for (TComboBox* emptied : {MF1->ComboBox26, MF1->ComboBox25, MF1->ComboBox29, MF1->ComboBox32, MF1->ComboBox24})
        EXPECT_EQ(emptied->Text(), u"") << emptied->Name().toStdString();
    EXPECT_EQ(MF1->Edit1->Text(), u"");
    EXPECT_EQ(MF1->Edit2->Text(), u"");
    EXPECT_EQ(MF1->ComboBox28->Text(), u"单位");
    EXPECT_EQ(MF1->ComboBox30->Text(), u"不限制");
    EXPECT_EQ(MF1->ComboBox27->Text(), u"请选择物品名称...");
    EXPECT_EQ(MF1->ComboBox23->Text(), u"请选择供应商...");
    EXPECT_EQ(MF1->ComboBox31->Text(), u"请选择部门...");
    EXPECT_EQ(MF1->DateTimePicker5->DateTime(), Date());
    EXPECT_FALSE(MF1->DateTimePicker6->Visible());
    EXPECT_EQ(FQueries, 1);
}

TEST_F(TStockInRegistrationTest, WithTheIssueTickedTheRequesterTakesTheGoodsAndBothPagesReset)
{
    MF1->ComboBox3->SetText(QStringLiteral("王五"));
    FillStockIn();
    ClickAt(MF1->CheckBox1->Handle(), QPoint(6, MF1->CheckBox1->Height() / 2));
    ASSERT_TRUE(MF1->CheckBox1->Checked());
    PressConfirm();

    ASSERT_EQ(Messages(), QStringList{QStringLiteral("登记成功 ！")});
    EXPECT_EQ(StoredStockIns(), QStringList{StoredStockIn});
    EXPECT_EQ(Rows("select 姓名,部门,数量,单位,物品名称,类型,备注 from oprint"),
              QStringList{QStringLiteral("张三|办公室|4|支|签字笔|0.5mm|急用")});
    EXPECT_EQ(Rows("select 物品名称,次数 from ptype"), QStringList{QStringLiteral("签字笔|1")});
    ExpectCountersUntouched();
    EXPECT_FALSE(MF1->CheckBox1->Checked());
    EXPECT_EQ(MF1->ComboBox3->Text(), u"");
    EXPECT_EQ(MF1->ComboBox27->Text(), u"请选择物品名称...");
    // The issue page's query and the stock-in page's query, once each.
    EXPECT_EQ(FQueries, 2);
}

TEST_F(TStockInRegistrationTest, AFailingIssueStoresNeitherAndARetryStoresBothOnce)
{
    Execute("create trigger refuse before insert on oprint begin select raise(abort, 'refused'); end;");
    FillStockIn();
    MF1->CheckBox1->SetChecked(true);
    PressConfirm();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("领用操作失败 ！")});
    EXPECT_EQ(FDialogs.Shown().back().Icon, TMsgDlgType::mtWarning);
    EXPECT_TRUE(StoredStockIns().isEmpty());
    EXPECT_TRUE(Rows("select * from ptype").isEmpty());
    EXPECT_FALSE(MF1->ADOCon1->InTransaction());
    // The page keeps the entry, tick included, for another try.
    EXPECT_TRUE(MF1->CheckBox1->Checked());
    EXPECT_EQ(MF1->ComboBox27->Text(), u"签字笔");
    EXPECT_EQ(FQueries, 0);

    Execute("drop trigger refuse;");
    PressConfirm();
    EXPECT_EQ(Messages().last(), u"登记成功 ！");
    EXPECT_EQ(StoredStockIns(), QStringList{StoredStockIn});
    EXPECT_EQ(Rows("select count(*) from oprint"), QStringList{QStringLiteral("1")});
}

TEST_F(TStockInRegistrationTest, AFailingCatalogueStepStoresNothing)
{
    Execute("create trigger refuse before insert on ptype begin select raise(abort, 'refused'); end;");
    FillStockIn();
    MF1->CheckBox1->SetChecked(true);
    PressConfirm();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("操作失败 ！")});
    EXPECT_TRUE(StoredStockIns().isEmpty());
    EXPECT_TRUE(Rows("select * from oprint").isEmpty());
}

TEST_F(TStockInRegistrationTest, ChecksRunInOrderAndStopAtTheFirstFailure)
{
    AddNamesake();
    PressConfirm();
    Retype(MF1->ComboBox27, "签字笔");
    PressConfirm();
    EXPECT_EQ(MF1->ActiveControl(), MF1->ComboBox29);
    Retype(MF1->ComboBox29, "4");
    PressConfirm();
    EXPECT_EQ(MF1->ActiveControl(), MF1->Edit1);
    TypeText(MF1->Edit1->Handle(), QStringLiteral("0.00"));
    PressConfirm();
    EXPECT_EQ(MF1->Edit1->SelText(), u"0.00");
    MF1->Edit1->SetText(String());
    TypeText(MF1->Edit1->Handle(), QStringLiteral("3"));
    PressConfirm();
    Retype(MF1->ComboBox23, "文具店");
    PressConfirm();
    Retype(MF1->ComboBox32, "张三");
    PressConfirm();
    Retype(MF1->ComboBox24, "   ");
    PressConfirm();
    Retype(MF1->ComboBox24, "李四");
    EXPECT_EQ(MF1->ComboBox31->Text(), DepartmentPlaceholder);
    PressConfirm();

    EXPECT_EQ(Messages(), QStringList({QStringLiteral("请选择物品名称 ！"), QStringLiteral("请确认用品数量 ！"),
                                       QStringLiteral("请确认物品单价 ！"), QStringLiteral("请确认物品单价 ！"),
                                       QStringLiteral("请选择供应商 ！"), QStringLiteral("请填写申购人 ！"),
                                       QStringLiteral("请填写登记人 ！"), QStringLiteral("请填写登记人 ！"),
                                       QStringLiteral("请选择部门 ！")}));
    for (const TMessageBoxRequest& shown : FDialogs.Shown())
        EXPECT_EQ(shown.Icon, TMsgDlgType::mtWarning);
    EXPECT_TRUE(StoredStockIns().isEmpty());
}

TEST_F(TStockInRegistrationTest, PastedPricesBelowZeroOrNoNumberStoreNothing)
{
    FillStockIn();
    MF1->Edit1->SetText(QStringLiteral("-2.5"));
    PressConfirm();
    EXPECT_EQ(Messages().last(), u"请确认物品单价 ！");
    EXPECT_EQ(MF1->ActiveControl(), MF1->Edit1);

    for (const char* nonsense : {".", "abc", "1e999", "二"}) {
        MF1->Edit1->SetText(String::fromUtf8(nonsense));
        PressConfirm();
        EXPECT_TRUE(Messages().last().contains(u'\'' + String::fromUtf8(nonsense) + u'\''))
            << Messages().last().toStdString();
    }
    EXPECT_EQ(Messages().size(), 5);
    EXPECT_TRUE(StoredStockIns().isEmpty());
    EXPECT_TRUE(Rows("select * from ptype").isEmpty());
}

TEST_F(TStockInRegistrationTest, AnAmountThatIsNoNumberStoresNothing)
{
    for (const char* amount : {"", ".", "12abc", "1e999", "  "}) {
        FillStockIn();
        MF1->Edit2->SetText(String::fromUtf8(amount));
        PressConfirm();
        EXPECT_EQ(Messages().last(), u"操作失败 ！") << amount;
        MF1->Button6->Click();
    }
    EXPECT_TRUE(StoredStockIns().isEmpty());
    EXPECT_TRUE(Rows("select * from ptype").isEmpty());

    // An amount the user corrects by hand is stored as shown.
    FillStockIn();
    MF1->Edit2->SetText(String());
    TypeText(MF1->Edit2->Handle(), QStringLiteral("9.99"));
    PressEnter(MF1->Edit2);
    EXPECT_EQ(Messages().last(), u"登记成功 ！");
    EXPECT_EQ(Rows("select 金额 from ruku"), QStringList{QStringLiteral("9.99")});
}

TEST_F(TStockInRegistrationTest, TheAmountFollowsQuantityAndPrice)
{
    TypeText(MF1->Edit1->Handle(), QStringLiteral("2.5"));
    EXPECT_EQ(MF1->Edit2->Text(), u"");
    TypeText(MF1->ComboBox29->Handle(), QStringLiteral("4"));
    EXPECT_EQ(MF1->Edit2->Text(), u"10");
    Backspace(MF1->Edit1, 3);
    EXPECT_EQ(MF1->Edit2->Text(), u"0");
    TypeText(MF1->Edit1->Handle(), QStringLiteral("0.1"));
    Backspace(MF1->ComboBox29);
    TypeText(MF1->ComboBox29->Handle(), QStringLiteral("3"));
    EXPECT_EQ(MF1->Edit2->Text(), u"0.3");

    // Without a quantity the price changes nothing.
    Backspace(MF1->ComboBox29);
    TypeText(MF1->Edit1->Handle(), QStringLiteral("7"));
    EXPECT_EQ(MF1->Edit1->Text(), u"0.17");
    EXPECT_EQ(MF1->Edit2->Text(), u"0.3");
    // Choosing the quantity from its list counts as a change.
    SendKey(MF1->ComboBox29->Handle(), Qt::Key_Down);
    SendKey(MF1->ComboBox29->Handle(), Qt::Key_Down);
    EXPECT_EQ(MF1->ComboBox29->Text(), u"2");
    EXPECT_EQ(MF1->Edit2->Text(), u"0.34");
}

TEST_F(TStockInRegistrationTest, TextsThatAreNoNumbersLeaveTheAmountWithoutAnError)
{
    TypeText(MF1->ComboBox29->Handle(), QStringLiteral("2"));
    TypeText(MF1->Edit1->Handle(), QStringLiteral("3"));
    EXPECT_EQ(MF1->Edit2->Text(), u"6");
    Backspace(MF1->Edit1);
    TypeText(MF1->Edit1->Handle(), QStringLiteral("."));
    EXPECT_EQ(MF1->Edit2->Text(), u"0");
    TypeText(MF1->ComboBox29->Handle(), QStringLiteral(" 1"));
    EXPECT_EQ(MF1->ComboBox29->Text(), u"2 1");
    EXPECT_EQ(MF1->Edit2->Text(), u"0");
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(TStockInRegistrationTest, PriceTakesOnePointAndTwoDecimals)
{
    TypeText(MF1->Edit1->Handle(), QStringLiteral("2.555"));
    EXPECT_EQ(MF1->Edit1->Text(), u"2.55");
    TypeText(MF1->Edit1->Handle(), QStringLiteral("."));
    EXPECT_EQ(MF1->Edit1->Text(), u"2.55");
    // Before the point digits still go in.
    MF1->Edit1->SetSelStart(0);
    TypeText(MF1->Edit1->Handle(), QStringLiteral("1"));
    EXPECT_EQ(MF1->Edit1->Text(), u"12.55");
    MF1->Edit1->SetSelStart(MF1->Edit1->Text().size());
    Backspace(MF1->Edit1);
    TypeText(MF1->Edit1->Handle(), QStringLiteral("9"));
    EXPECT_EQ(MF1->Edit1->Text(), u"12.59");

    // A key replaces the selection: the refused price, selected for retyping, takes a new one.
    MF1->Edit1->SelectAll();
    TypeText(MF1->Edit1->Handle(), QStringLiteral(".5"));
    EXPECT_EQ(MF1->Edit1->Text(), u".5");
    MF1->Edit1->SetSelStart(1);
    MF1->Edit1->SetSelLength(1);
    TypeText(MF1->Edit1->Handle(), QStringLiteral("75"));
    EXPECT_EQ(MF1->Edit1->Text(), u".75");

    TypeText(MF1->Edit2->Handle(), QStringLiteral("a-1 2.3.45"));
    CommitText(MF1->Edit2->Handle(), QStringLiteral("五元"));
    EXPECT_EQ(MF1->Edit2->Text(), u"12.34");
}

TEST_F(TStockInRegistrationTest, EnterInAFieldRegistersExactlyOneStockIn)
{
    FillStockIn();
    PressEnter(MF1->ComboBox29);
    FillStockIn("订书机");
    PressEnter(MF1->Edit1);
    FillStockIn("回形针");
    PressEnter(MF1->ComboBox25);
    EXPECT_EQ(Messages(), QStringList(3, QStringLiteral("登记成功 ！")));
    EXPECT_EQ(Rows("select 物品名称 from ruku order by id"),
              QStringList({QStringLiteral("签字笔"), QStringLiteral("订书机"), QStringLiteral("回形针")}));
    EXPECT_TRUE(Rows("select * from gift").isEmpty());
}

TEST_F(TStockInRegistrationTest, OddTextsAreStoredAsTheyStand)
{
    const String odd = QStringLiteral("\"文具\" O'Neil 100% a_b #1 [x]");
    const String longText = QString(500, u'x');
    FillStockIn();
    MF1->ComboBox23->SetText(odd);
    MF1->ComboBox25->SetText(longText);
    MF1->CheckBox1->SetChecked(true);
    PressConfirm();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("登记成功 ！")});
    EXPECT_EQ(Rows("select 供应商,备注 from ruku"), QStringList{odd + u'|' + longText});
    EXPECT_EQ(Rows("select 备注 from oprint"), QStringList{longText});
}

// The lists, footers and summaries sum in Currency (whole units up to 922337203685477): an
// amount or quantity those sums could not hold is refused before anything is stored.
TEST_F(TStockInRegistrationTest, NumbersTheSumsCannotHoldAreRefusedBeforeAnythingIsStored)
{
    const struct {
        const char* Stored;  // rows already there, as another program may have written them
        const char* Amount;
        const char* Quantity;
        bool WithIssue;
        const char* Shown;
    } cases[] = {
        {"", "922337203685478", "4", false, "金额过大，合计将超出可保存的范围 ！"},
        {"", "922337203685477", "4", false, "登记成功 ！"},
        {"insert into ruku(金额) values(500000000000000)", "500000000000000", "4", false, "金额过大，合计将超出可保存的范围 ！"},
        {"insert into ruku(金额) values(-500000000000000)", "500000000000000", "4", false, "金额过大，合计将超出可保存的范围 ！"},
        {"insert into ruku(金额) values(500000000000000)", "422337203685477", "4", false, "登记成功 ！"},
        {"insert into ruku(数量) values(922337203685000)", "10", "99999", false, "数量过大，合计将超出可保存的范围 ！"},
        {"insert into oprint(数量) values(922337203685000)", "10", "99999", true, "数量过大，合计将超出可保存的范围 ！"},
        {"insert into oprint(数量) values(922337203685000)", "10", "99999", false, "登记成功 ！"},
    };
    for (const auto& c : cases) {
        Execute("delete from ruku; delete from oprint; delete from ptype;");
        Execute(c.Stored);
        const QStringList before = Rows("select id,数量,金额 from ruku") + Rows("select id,数量 from oprint");
        FillStockIn();
        MF1->ComboBox29->SetText(String::fromUtf8(c.Quantity));
        MF1->Edit2->SetText(String::fromUtf8(c.Amount));
        MF1->CheckBox1->SetChecked(c.WithIssue);
        PressConfirm();
        ASSERT_EQ(Messages().last(), String::fromUtf8(c.Shown)) << c.Stored << " + " << c.Amount;
        if (Messages().last() == u"登记成功 ！") {
            EXPECT_TRUE(MF1->ADOR1->Active());
            continue;
        }
        EXPECT_EQ(FDialogs.Shown().back().Icon, TMsgDlgType::mtWarning);
        const bool amount = Messages().last().startsWith(u"金额");
        EXPECT_EQ(MF1->ActiveControl(), amount ? static_cast<TWinControl*>(MF1->Edit2) : MF1->ComboBox29);
        EXPECT_EQ(Rows("select id,数量,金额 from ruku") + Rows("select id,数量 from oprint"), before);
        EXPECT_TRUE(Rows("select * from ptype").isEmpty());
        MF1->Button6->Click();
    }
}

TEST_F(TGiftRegistrationTest, AQuantityTheSumsCannotHoldIsRefusedBeforeAnythingIsStored)
{
    Execute("insert into gift(数量) values(922337203685000)");
    FillGift("王总", "99999");
    PressConfirm();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("数量过大，合计将超出可保存的范围 ！")});
    EXPECT_EQ(MF1->ActiveControl(), MF1->ComboBox15);
    EXPECT_EQ(Rows("select count(*) from gift"), QStringList{QStringLiteral("1")});
    EXPECT_TRUE(Rows("select * from ptype").isEmpty());
}
