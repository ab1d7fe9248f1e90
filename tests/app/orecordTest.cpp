// The main window: frame, pages, entry fields, menus, status bar, clock, refresh, tips and wheel.
#include "AppTestSupport.h"
#include "platform/ado/FilePermissions.h"

#include "platform/core/Exceptions.h"
#include "platform/ui/Button.h"
#include "platform/ui/ColorBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Label.h"
#include "platform/ui/Memo.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Timer.h"
#include "platform/ui/UiTestSupport.h"

#include <QMenu>
#include <QRegularExpression>
#include <QWheelEvent>

#include <vector>

namespace {

class TMainWindowTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        OpenWindows();
    }

    static String ItemsOf(const TComboBox* Combo)
    {
        QStringList items;
        for (int i = 0; i < Combo->Items()->Count(); ++i)
            items << Combo->Items()->Strings(i);
        return items.join(u'|');
    }

    static QStringList Captions(const TMenuItem* Item)
    {
        QStringList captions;
        for (int i = 0; i < Item->Count(); ++i)
            captions << Item->Items(i)->Caption();
        return captions;
    }
};

// Stands for a record grid: it records the scroll messages it is sent.
class TGridStandIn : public TWinControl {
public:
    using TWinControl::TWinControl;
    bool Focused() const override { return FHasFocus; }
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_VSCROLL)
            FScrolls.push_back(Message.WParam);
        else
            TWinControl::WndProc(Message);
    }

    bool FHasFocus = false;
    std::vector<WPARAM> FScrolls;
};

TMsg WheelMessage(int Delta) { return TMsg{nullptr, WM_MOUSEWHEEL, MAKEWPARAM(0, Delta), 0, 0, TPoint()}; }

void SendWheel(QWidget* Target, int Delta)
{
    const QPointF at(Target->width() / 2.0, Target->height() / 2.0);
    QWheelEvent wheel(at, Target->mapToGlobal(at), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Target, &wheel);
}

}  // namespace

using TProgramStartTest = TAppTest;

TEST_F(TProgramStartTest, AReadOnlyDatabaseIsToldAtStartAndTheListsStillShow)
{
    OpenWindows();
    Execute("insert into oprint(姓名,部门,数量,日期) values('张三','财务部',2,strftime('%Y-01-01 00:00:00','now'))");
    CloseWindows();
    EXPECT_TRUE(Messages().isEmpty());
    {
        const TWriteProtected file(DatabasePath());
        const TWriteProtected folder(FDir.path());
        const TPermissionsApply asAUser;
        OpenWindows();
        EXPECT_EQ(Messages(), QStringList{QStringLiteral("数据库文件为只读，登记的记录将无法保存 ！")});
        EXPECT_EQ(FDialogs.Shown().front().Caption, u"提示");
        EXPECT_EQ(FDialogs.Shown().front().Icon, TMsgDlgType::mtWarning);
        EXPECT_EQ(MF1->Memo1->Text(), u"1");
        CloseWindows();
    }
}

TEST_F(TMainWindowTest, FrameCaptionAndPages)
{
    EXPECT_EQ(MF1->Caption(), u"办公用品领用登记");
    EXPECT_EQ(MF1->WindowClassName(), u"TMF1");
    EXPECT_EQ(MF1->ClientWidth(), 753);
    EXPECT_EQ(MF1->ClientHeight(), 521);
    EXPECT_EQ(MF1->BorderStyle(), TFormBorderStyle::bsSingle);
    EXPECT_EQ(MF1->BorderIcons(), biSystemMenu | biMinimize);
    ASSERT_EQ(MF1->PageControl1->PageCount(), 3);
    EXPECT_EQ(MF1->TabSheet1->Caption(), u"办公用品");
    EXPECT_EQ(MF1->TabSheet2->Caption(), u"来宾礼品");
    EXPECT_EQ(MF1->TabSheet3->Caption(), u"入库登记");
    EXPECT_EQ(MF1->BitBtn3->Caption(), u"刷新");
    EXPECT_EQ(MF1->BitBtn2->Caption(), u"设置");
    EXPECT_EQ(Form3->Caption(), u"设置");
    EXPECT_EQ(Form3->ClientWidth(), 494);
    EXPECT_EQ(Form3->ClientHeight(), 323);
    EXPECT_EQ(Form4->Caption(), u"数据库备份/还原");
    EXPECT_EQ(Form4->ClientWidth(), 416);
    EXPECT_EQ(Form4->ClientHeight(), 203);
}

TEST_F(TMainWindowTest, EntryFieldsKeepTheirLimitsAndLists)
{
    EXPECT_EQ(MF1->ComboBox3->MaxLength(), 20);
    EXPECT_EQ(MF1->ComboBox5->MaxLength(), 50);
    EXPECT_EQ(MF1->ComboBox7->MaxLength(), 5);
    EXPECT_EQ(MF1->ComboBox6->MaxLength(), 8);
    EXPECT_EQ(ItemsOf(MF1->ComboBox1), u"办公室|销售公司|制造部|技术中心|品质保证部");
    EXPECT_EQ(ItemsOf(MF1->ComboBox7), u"|1|2|3|4|5|6|7|8|9");
    EXPECT_EQ(ItemsOf(MF1->ComboBox6), u"|支|个|张|盒|件|箱|台|本|瓶|把|块|部");
    EXPECT_EQ(ItemsOf(MF1->ComboBox8), u"不限制|=|<|>|介于|<=|>=");
    EXPECT_EQ(ItemsOf(MF1->ComboBox20), u"|本年|本月|本周|本日|全部");
    EXPECT_EQ(MF1->ComboBox3->Hint(), u"设置姓名编号（字母）可以实现拼音检索。");
    EXPECT_EQ(MF1->Label59->Caption(), u"小提示？");
    EXPECT_EQ(MF1->Label59->Font()->Color(), clBlue);
    EXPECT_FALSE(MF1->DateTimePicker2->Visible());
    EXPECT_FALSE(MF1->DateTimePicker4->Visible());
    EXPECT_FALSE(MF1->DateTimePicker6->Visible());
}

TEST_F(TMainWindowTest, MenusCarryTheirItems)
{
    EXPECT_EQ(MF1->Menu(), MF1->MainMenu1);
    EXPECT_EQ(Captions(MF1->MainMenu1->Items()), QStringList({QStringLiteral("设置"), QStringLiteral("数据库")}));
    EXPECT_EQ(Captions(MF1->SetupMenu), QStringList({QStringLiteral("用户"), QStringLiteral("部门"), QStringLiteral("物品"),
                                                     QStringLiteral("备注"), QStringLiteral("供应商")}));
    EXPECT_EQ(Captions(MF1->DatabaseMenu), QStringList({QStringLiteral("备份"), QStringLiteral("还原")}));
    EXPECT_EQ(Captions(MF1->PopupMenu1->Items()).join(u','),
              u"查询全部*,查询全部#,查询全部%,刷新,编辑记录,禁用编辑,复制,删除记录*,删除记录#,删除记录%");
    // Of the pages' own items only the shown page's are offered.
    for (TMenuItem* hidden : {MF1->Me2, MF1->Mdel2, MF1->Mdel3, MF1->Msa2, MF1->Msa3})
        EXPECT_FALSE(hidden->Visible());
    EXPECT_TRUE(MF1->Mdel1->Visible());
    EXPECT_TRUE(MF1->Msa1->Visible());
    ASSERT_EQ(MF1->PopupMenu3->Items()->Count(), 8);
    EXPECT_EQ(MF1->PopupMenu3->Items()->Items(0)->Caption(), u"小提示：");
}

TEST_F(TMainWindowTest, StatusBarPanelsAndTheActivePagesColourBox)
{
    TStatusPanels* panels = MF1->StatusBar1->Panels();
    ASSERT_EQ(panels->Count(), 4);
    EXPECT_EQ(panels->Items(0)->Text(), u"表格颜色：");
    EXPECT_EQ(panels->Items(0)->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(panels->Items(2)->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(panels->Items(0)->Width(), 100);
    EXPECT_EQ(panels->Items(1)->Width(), 123);
    EXPECT_EQ(panels->Items(2)->Width(), 175);
    EXPECT_EQ(panels->Items(3)->Width(), 50);

    EXPECT_TRUE(MF1->ColorBox1->Visible());
    EXPECT_FALSE(MF1->ColorBox2->Visible());
    MF1->PageControl1->SetActivePage(MF1->TabSheet2);
    EXPECT_FALSE(MF1->ColorBox1->Visible());
    EXPECT_TRUE(MF1->ColorBox2->Visible());
    EXPECT_FALSE(MF1->ColorBox3->Visible());

    TStrings* entries = MF1->ColorBox1->Items();
    ASSERT_EQ(entries->Count(), 21);
    EXPECT_EQ(entries->Strings(0), u"自定义...");
    EXPECT_EQ(entries->Strings(1), u"默认");
    EXPECT_EQ(entries->Strings(20), u"中灰色");
}

TEST_F(TMainWindowTest, ClockShowsDateTimeAndDayWithTwoBlanksBetween)
{
    MF1->Timer1Timer(MF1->Timer1);
    const String clock = MF1->StatusBar1->Panels()->Items(3)->Text();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^现在时间： \\d{4}-\\d{2}-\\d{2}  \\d{2}:\\d{2}:\\d{2}  星期[日一二三四五六]$"))
                    .match(clock)
                    .hasMatch())
        << clock.toStdString();
}

TEST_F(TMainWindowTest, RefreshResetsEveryPageAndOffersEditingAgain)
{
    MF1->Me1->SetVisible(false);
    MF1->Me2->SetVisible(true);
    MF1->ComboBox3->SetText(QStringLiteral("张三"));
    MF1->M11->Click();
    EXPECT_TRUE(MF1->Me1->Visible());
    EXPECT_FALSE(MF1->Me2->Visible());
    EXPECT_EQ(MF1->ComboBox3->Text(), u"");
}

TEST_F(TMainWindowTest, TipsLabelPopsTheTipsUpBelowItself)
{
    ClickAt(MF1->TabSheet1->Handle(), QPoint(MF1->Label59->Left() + 5, MF1->Label59->Top() + 5));
    ASSERT_NE(MF1->PopupMenu3->Handle(), nullptr);
    const TPoint below = MF1->Label59->ClientToScreen(TPoint{5, MF1->Label59->Height()});
    EXPECT_EQ(MF1->PopupMenu3->PopupPoint(), below);
    MF1->PopupMenu3->Handle()->close();
}

TEST_F(TMainWindowTest, WheelHookKeepsCombosStillWhileInstalled)
{
    MF1->ComboBox8->SetItemIndex(0);
    MF1->Handle()->activateWindow();
    ProcessUntil([] { return MF1->Active(); });
    MF1->ComboBox8->SetFocus();
    MF1->FormActivate(MF1);
    SendWheel(MF1->ComboBox8->Handle(), -120);
    EXPECT_EQ(MF1->ComboBox8->Text(), u"不限制");
    TMsg wheel = WheelMessage(-120);
    EXPECT_TRUE(Application->HookMessage(wheel));
    TMsg key{nullptr, WM_KEYDOWN, VK_DOWN, 0, 0, TPoint()};
    EXPECT_FALSE(Application->HookMessage(key));

    // Without the hook the same turn steps the combo on.
    Application->OnMessage = nullptr;
    SendWheel(MF1->ComboBox8->Handle(), -120);
    EXPECT_EQ(MF1->ComboBox8->Text(), u"=");
}

TEST(PageFocusedGridsOnWheelTest, PagesOnlyTheFocusedGridByTheWheelsDirection)
{
    TGridStandIn first(nullptr);
    TGridStandIn second(nullptr);
    second.FHasFocus = true;
    bool handled = false;
    TMsg away = WheelMessage(120);
    PageFocusedGridsOnWheel(away, handled, {&first, &second});
    EXPECT_TRUE(handled);
    TMsg toward = WheelMessage(-240);
    PageFocusedGridsOnWheel(toward, handled, {&first, &second});
    EXPECT_TRUE(first.FScrolls.empty());
    EXPECT_EQ(second.FScrolls, (std::vector<WPARAM>{SB_PAGEUP, SB_PAGEDOWN}));

    // With no grid focused the wheel is still taken; other messages pass.
    second.FHasFocus = false;
    handled = false;
    PageFocusedGridsOnWheel(away, handled, {&first, &second});
    EXPECT_TRUE(handled);
    TMsg other{nullptr, WM_KEYDOWN, VK_NEXT, 0, 0, TPoint()};
    handled = false;
    PageFocusedGridsOnWheel(other, handled, {&first, &second});
    EXPECT_FALSE(handled);
    EXPECT_EQ(second.FScrolls.size(), 2u);
}

TEST_F(TAppTest, AFileThatIsNoDatabaseEndsTheStartWithItsReason)
{
    QFile file(DatabasePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Standard Jet DB, not a database we can open");
    file.close();
    try {
        MF1 = new TMF1(nullptr);
        ADD_FAILURE() << "the window opened a foreign file";
    } catch (const EDatabaseError& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_EQ(MF1, nullptr);
    // Nothing was written over the file, and no settings were saved for a window that never was.
    QFile again(DatabasePath());
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_TRUE(again.readAll().startsWith("Standard Jet DB"));
    EXPECT_FALSE(QFile::exists(SettingsPath()));
}
