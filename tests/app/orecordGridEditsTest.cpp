// Editing in the record lists as a clerk does: edits left open when the lists change, the
// totals after a delete, and numbers held to what a registration takes.
#include "AppTestSupport.h"

#include "datagrid/DBGridEh.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/Memo.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/UiTestSupport.h"

#include <QTabBar>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace {

// The windows over three issues and three stock-ins of this year, the lists editable.
class TRecordGridEditsTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        ReleaseKeyboardModifiers();
        OpenWindows();
        QApplication::setActiveWindow(MF1->Handle());
        RegisterThreeRecordsOfThisYear();
    }

    // Shows Page with its list editable and focused on its first record.
    static TDBGridEh* EditableList(TTabSheet* Page, TDBGridEh* Grid)
    {
        if (!MF1->Visible())
            MF1->Show();
        MF1->PageControl1->SetActivePage(Page);
        MF1->Me1->Click();
        Grid->SetFocus();
        Grid->DataSource()->DataSet()->First();
        return Grid;
    }

    // Types Text over the cell of Field in the current record, leaving the editor open.
    static void Type(TDBGridEh* Grid, const char* Field, const QString& Text)
    {
        Grid->FocusDataColumn(Grid->ColumnByFieldName(String::fromUtf8(Field))->Index());
        SendKey(Grid->Handle(), Qt::Key_F2);
        QWidget* editor = Grid->InplaceEditor()->Handle();
        SendKey(editor, Qt::Key_A, QString(), Qt::ControlModifier);
        CommitText(editor, Text);
    }

    static void ClickTab(int Index)
    {
        auto* bar = MF1->PageControl1->Handle()->findChild<QTabBar*>();
        ClickAt(bar, bar->tabRect(Index).center());
    }

    // Opens the settings window from the main window's button, closing it as soon as it shows;
    // answers whether it showed.
    static bool OpenSettings()
    {
        bool shown = false;
        QTimer closer;
        closer.setSingleShot(true);
        QObject::connect(&closer, &QTimer::timeout, [&shown] {
            shown = Form3->Visible();
            Form3->Close();
        });
        closer.start(0);
        MF1->BitBtn2->Click();
        return shown;
    }

    static String Stored(const char* Sql, const String& Id)
    {
        return Rows(QString::fromUtf8(Sql).arg(Id).toUtf8().constData()).value(0);
    }

    struct TTrigger {
        const char* Name;
        std::function<void()> Act;
    };
    static std::vector<TTrigger> Triggers()
    {
        return {{"page switch", [] { ClickTab(1); }},
                {"refresh", [] { MF1->BitBtn3->Click(); }},
                {"another window", [] { OpenSettings(); }},
                {"export", [] { MF1->BitBtn5->Click(); }},
                {"closing the window", [] { MF1->Close(); }}};
    }
};

}  // namespace

TEST_F(TRecordGridEditsTest, AnEditLeftOpenIsPostedWhenTheListsChangeOrTheWindowCloses)
{
    int n = 0;
    for (const TTrigger& trigger : Triggers()) {
        TDBGridEh* grid = EditableList(MF1->TabSheet1, MF1->DBGridEh1);
        TDataSet* list = grid->DataSource()->DataSet();
        const String id = list->FieldByName(QStringLiteral("id"))->AsString();
        const QString remark = QStringLiteral("改过的备注%1").arg(++n);
        Type(grid, "备注", remark);
        ASSERT_EQ(list->State(), TDataSetState::dsEdit) << trigger.Name;

        trigger.Act();
        EXPECT_EQ(Stored("select 备注 from oprint where id=%1", id), remark) << trigger.Name;
        EXPECT_NE(list->State(), TDataSetState::dsEdit) << trigger.Name;
    }
    EXPECT_FALSE(MF1->Visible()) << "a stored edit lets the window close";
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(TRecordGridEditsTest, AnEditThatCannotBePostedKeepsItsRecordAndStopsTheChange)
{
    for (const TTrigger& trigger : Triggers()) {
        TDBGridEh* grid = EditableList(MF1->TabSheet1, MF1->DBGridEh1);
        TDataSet* list = grid->DataSource()->DataSet();
        const String id = list->FieldByName(QStringLiteral("id"))->AsString();
        const String quantity = Stored("select 数量 from oprint where id=%1", id);
        Type(grid, "数量", QStringLiteral("0"));
        const qsizetype said = Messages().size();

        trigger.Act();
        EXPECT_EQ(Messages().mid(said), QStringList{QStringLiteral("请确认物品数量 ！")}) << trigger.Name;
        EXPECT_EQ(list->State(), TDataSetState::dsEdit) << trigger.Name;
        EXPECT_EQ(list->FieldByName(QStringLiteral("id"))->AsString(), id) << trigger.Name;
        EXPECT_EQ(list->FieldByName(QStringLiteral("数量"))->AsString(), QStringLiteral("0")) << trigger.Name;
        EXPECT_FALSE(grid->ReadOnly()) << trigger.Name << ": the list still edits";
        EXPECT_EQ(MF1->PageControl1->ActivePage(), MF1->TabSheet1) << trigger.Name;
        EXPECT_TRUE(MF1->Visible()) << trigger.Name;
        EXPECT_EQ(Stored("select 数量 from oprint where id=%1", id), quantity) << trigger.Name;

        // Esc gives the edit up; then the change goes ahead.
        SendKey(grid->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
        SendKey(grid->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
        ASSERT_EQ(list->State(), TDataSetState::dsBrowse) << trigger.Name;
    }
}

TEST_F(TRecordGridEditsTest, TheSettingsWindowOpensOnlyOnceTheOpenEditIsStored)
{
    TDBGridEh* grid = EditableList(MF1->TabSheet1, MF1->DBGridEh1);
    Type(grid, "数量", QStringLiteral("0"));
    EXPECT_FALSE(OpenSettings());
    Type(grid, "数量", QStringLiteral("7"));
    EXPECT_TRUE(OpenSettings());
}

TEST_F(TRecordGridEditsTest, ARecordDeletedInTheListLeavesThePagesCountAndTotal)
{
    const struct {
        TTabSheet* Page;
        TDBGridEh* Grid;
        TMemo* Count;
        TMemo* Total;
    } pages[] = {{MF1->TabSheet1, MF1->DBGridEh1, MF1->Memo1, MF1->Memo2},
                 {MF1->TabSheet3, MF1->DBGridEh3, MF1->Memo5, MF1->Memo6}};
    for (const auto& page : pages) {
        TDBGridEh* grid = EditableList(page.Page, page.Grid);
        ASSERT_EQ(page.Count->Text(), QStringLiteral("3"));
        ASSERT_EQ(page.Total->Text(), QStringLiteral("6"));
        grid->DataSource()->DataSet()->SetRecNo(2);  // the quantity 2 of 3, 2, 1
        FDialogs.Answer(IDOK);
        SendKey(grid->Handle(), Qt::Key_Delete, QString(), Qt::ControlModifier);
        EXPECT_EQ(Messages().value(Messages().size() - 1), QStringLiteral("Delete record?"));
        EXPECT_EQ(page.Count->Text(), QStringLiteral("2")) << grid->Name().toStdString();
        EXPECT_EQ(page.Total->Text(), QStringLiteral("4")) << grid->Name().toStdString();
    }
    EXPECT_EQ(Rows("select count(*) from oprint where 数量=2"), QStringList{QStringLiteral("0")});
    EXPECT_EQ(Rows("select count(*) from ruku where 数量=2"), QStringList{QStringLiteral("0")});
}

TEST_F(TRecordGridEditsTest, ARecordEditedWhileDeletedLeavesWithItsStoredQuantity)
{
    TDBGridEh* grid = EditableList(MF1->TabSheet1, MF1->DBGridEh1);
    Type(grid, "数量", QStringLiteral("9"));  // the newest record, quantity 3
    FDialogs.Answer(IDOK);
    SendKey(grid->InplaceEditor()->Handle(), Qt::Key_Delete, QString(), Qt::ControlModifier);
    EXPECT_EQ(Rows("select sum(数量) from oprint"), QStringList{QStringLiteral("3")});
    EXPECT_EQ(MF1->Memo2->Text(), QStringLiteral("3"));
    EXPECT_EQ(MF1->Memo1->Text(), QStringLiteral("2"));
}

TEST_F(TRecordGridEditsTest, QuantitiesAndAmountsEditedInAListAreHeldToWhatARegistrationTakes)
{
    const struct {
        const char* Stored;  // another record, of a year the lists do not show
        TTabSheet* Page;
        TDBGridEh* Grid;
        const char* Table;
        const char* Field;
        const char* Typed;
        const char* Refusal;
    } cases[] = {
        {"", MF1->TabSheet3, MF1->DBGridEh3, "ruku", "金额", "999999999999999", "金额过大，合计将超出可保存的范围 ！"},
        {"insert into ruku(金额,日期) values(-922337203685000,'2001-01-01')", MF1->TabSheet3, MF1->DBGridEh3, "ruku",
         "金额", "500", "金额过大，合计将超出可保存的范围 ！"},
        {"insert into ruku(数量,日期) values(922337203685000,'2001-01-01')", MF1->TabSheet3, MF1->DBGridEh3, "ruku",
         "数量", "99999", "数量过大，合计将超出可保存的范围 ！"},
        {"insert into oprint(数量,日期) values(922337203685000,'2001-01-01')", MF1->TabSheet1, MF1->DBGridEh1,
         "oprint", "数量", "99999", "数量过大，合计将超出可保存的范围 ！"},
        {"insert into gift(数量,日期) values(922337203685000,'2001-01-01')", MF1->TabSheet2, MF1->DBGridEh2, "gift",
         "数量", "99999", "数量过大，合计将超出可保存的范围 ！"},
    };
    Execute("insert into gift(来客姓名,数量,日期) values('王五',1,date('now','localtime'));");
    MF1->BitBtn8->Click();
    for (const auto& c : cases) {
        Execute("delete from oprint where 日期 < '2002-01-01'; delete from gift where 日期 < '2002-01-01';"
                "delete from ruku where 日期 < '2002-01-01';");
        if (*c.Stored != 0)
            Execute(c.Stored);
        TDBGridEh* grid = EditableList(c.Page, c.Grid);
        TDataSet* list = grid->DataSource()->DataSet();
        const String id = list->FieldByName(QStringLiteral("id"))->AsString();
        const String sql = QStringLiteral("select %1 from %2 where id=%3").arg(c.Field, c.Table, id);
        const QStringList before = Rows(sql.toUtf8().constData());
        const qsizetype said = Messages().size();
        Type(grid, c.Field, QString::fromUtf8(c.Typed));
        SendKey(grid->InplaceEditor()->Handle(), Qt::Key_Return, QStringLiteral("\r"));
        SendKey(grid->Handle(), Qt::Key_Down);
        EXPECT_EQ(Messages().mid(said), QStringList{QString::fromUtf8(c.Refusal)}) << c.Field << " " << c.Typed;
        EXPECT_EQ(list->State(), TDataSetState::dsEdit) << "the refused record stays current";
        EXPECT_EQ(list->FieldByName(QStringLiteral("id"))->AsString(), id);
        EXPECT_EQ(Rows(sql.toUtf8().constData()), before) << c.Field << " " << c.Typed;
        SendKey(grid->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
        ASSERT_EQ(list->State(), TDataSetState::dsBrowse);
    }
    // What fits is posted.
    Execute("delete from ruku where 日期 < '2002-01-01';");
    TDBGridEh* grid = EditableList(MF1->TabSheet3, MF1->DBGridEh3);
    const String id = grid->DataSource()->DataSet()->FieldByName(QStringLiteral("id"))->AsString();
    Type(grid, "金额", QStringLiteral("900000000000000"));
    SendKey(grid->InplaceEditor()->Handle(), Qt::Key_Return, QStringLiteral("\r"));
    SendKey(grid->Handle(), Qt::Key_Down);
    EXPECT_EQ(Rows(QStringLiteral("select 金额 from ruku where id=%1").arg(id).toUtf8().constData()),
              QStringList{QStringLiteral("900000000000000.0")});
}
