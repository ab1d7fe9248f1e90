// Finding people and items by their search codes as a user types into the entry combos, and the
// lists the combos fill as they open.
#include "AppTestSupport.h"

#include "platform/ui/ComboBox.h"
#include "platform/ui/Memo.h"
#include "platform/ui/UiTestSupport.h"

#include <QStringList>

namespace {

class TCodeSearchTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        OpenWindows();
        Execute("delete from ouser; delete from dept; delete from ptype;"
                "insert into ouser(姓名,姓名编号,部门,次数) values('张三','zs','办公室',3);"
                "insert into ouser(姓名,姓名编号,部门,次数) values('张三','zs','制造部',1);"
                "insert into ouser(姓名,姓名编号,部门,次数) values('赵六','zl','制造部',5);"
                "insert into ouser(姓名,姓名编号,部门,次数) values('周七','ZQ','办公室',0);"
                "insert into ouser(姓名,姓名编号,部门,次数) values('李四','ls','办公室',2);"
                "insert into dept(部门编号,部门) values('03','制造部');"
                "insert into dept(部门编号,部门) values('01','办公室');"
                "insert into dept(部门编号,部门) values('02','销售公司');"
                "insert into ptype(物品名称,编号,类型,单位,次数) values('签字笔','qzb','0.5mm','支',4);"
                "insert into ptype(物品名称,编号,类型,单位,次数) values('签字笔','qzb','0.7mm','支',3);"
                "insert into ptype(物品名称,编号,类型,单位,次数) values('复印纸','fyz','A4','包',9);"
                "insert into ptype(物品名称,编号,类型,单位,次数) values('文件夹','wjj','蓝','个',1);");
    }

    void TearDown() override
    {
        ReleaseKeyboardModifiers();
        TAppTest::TearDown();
    }

    static QStringList Items(TComboBox* Combo)
    {
        QStringList items;
        for (int i = 0; i < Combo->Items()->Count(); ++i)
            items << Combo->Items()->Strings(i);
        return items;
    }

    static void SetItems(TComboBox* Combo, const QStringList& Items)
    {
        Combo->Items()->Clear();
        for (const String& item : Items)
            Combo->Items()->Add(item);
    }

    // The values of a list, ignoring the order a statement without one returns them in.
    static QStringList Sorted(QStringList Items)
    {
        Items.sort();
        return Items;
    }
};

// Typing a code letter drops the name list down and its release lists the people whose code
// begins with the typed text, whatever its case, each name once, with one empty item; the text
// and the caret stay where the user left them, and each further letter narrows the list.
TEST_F(TCodeSearchTest, TypingACodeListsThePeopleWhoseCodeBeginsWithIt)
{
    TComboBox* name = MF1->ComboBox3;
    name->SetFocus();
    TypeText(name->Handle(), QStringLiteral("z"));
    EXPECT_TRUE(name->DroppedDown());
    QStringList items = Items(name);
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(items.takeLast(), String());
    EXPECT_EQ(Sorted(items), Sorted({QStringLiteral("张三"), QStringLiteral("赵六"), QStringLiteral("周七")}));
    EXPECT_EQ(name->Text(), QStringLiteral("z"));
    EXPECT_EQ(name->SelStart(), 1);
    EXPECT_TRUE(MF1->ListRefillFlag);

    TypeText(name->Handle(), QStringLiteral("S"));
    EXPECT_EQ(Items(name), QStringList({QStringLiteral("张三"), String()}));
    EXPECT_EQ(name->Text(), QStringLiteral("zS"));
    EXPECT_EQ(name->SelStart(), 2);
    EXPECT_TRUE(Messages().isEmpty());
}

// A code that finds nobody leaves the list as it was, a quote or a percent sign too: the typed
// text is looked up as it stands and never breaks the statement.
TEST_F(TCodeSearchTest, ACodeThatFindsNobodyLeavesTheList)
{
    TComboBox* name = MF1->ComboBox3;
    TypeText(name->Handle(), QStringLiteral("z"));
    const QStringList found = Items(name);
    ASSERT_EQ(found.size(), 4);
    for (const QString& typed : {QStringLiteral("x"), QStringLiteral("\""), QStringLiteral("'")}) {
        TypeText(name->Handle(), typed);
        EXPECT_EQ(Items(name), found) << typed.toStdString();
    }
    EXPECT_EQ(name->Text(), QStringLiteral("zx\"'"));
    EXPECT_TRUE(Messages().isEmpty());
}

// The arrows and Delete move in the text or the list and search nothing; any other key's
// release does.
TEST_F(TCodeSearchTest, ArrowsAndDeleteSearchNothing)
{
    TComboBox* name = MF1->ComboBox3;
    name->SetText(QStringLiteral("l"));
    name->SetSelStart(1);
    const QStringList kept{QStringLiteral("甲"), QStringLiteral("乙")};
    SetItems(name, kept);
    for (const int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Delete}) {
        SendKey(name->Handle(), key);
        EXPECT_EQ(Items(name), kept) << key;
    }
    EXPECT_FALSE(MF1->ListRefillFlag);
    // Up and Down stepped through the items, as in a closed list.
    name->SetText(QStringLiteral("l"));
    SendKey(name->Handle(), Qt::Key_End);
    EXPECT_EQ(Items(name), QStringList({QStringLiteral("李四"), String()}));
    EXPECT_TRUE(MF1->ListRefillFlag);
}

// A held key repeats its press with a release each time; only the final release searches, as
// it would once the key is let go.
TEST_F(TCodeSearchTest, OnlyTheFinalReleaseOfAHeldKeySearches)
{
    TComboBox* name = MF1->ComboBox3;
    name->SetText(QStringLiteral("l"));
    const QStringList kept{QStringLiteral("甲")};
    SetItems(name, kept);
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_End, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(name->Handle(), &repeated);
    EXPECT_EQ(Items(name), kept);
    QKeyEvent released(QEvent::KeyRelease, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(name->Handle(), &released);
    EXPECT_EQ(Items(name), QStringList({QStringLiteral("李四"), String()}));
}

// An empty text searches nothing but marks the item lists for refilling; an item combo showing
// its placeholder searches nothing at all.
TEST_F(TCodeSearchTest, AnEmptyTextSetsTheRefillFlagAndAPlaceholderSearchesNothing)
{
    TComboBox* item = MF1->ComboBox5;
    item->SetText(ItemPlaceholder);
    const QStringList kept{QStringLiteral("甲")};
    SetItems(item, kept);
    SendKey(item->Handle(), Qt::Key_End);
    EXPECT_EQ(Items(item), kept);
    EXPECT_FALSE(MF1->ListRefillFlag);

    MF1->ComboBox3->SetText(String());
    SendKey(MF1->ComboBox3->Handle(), Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_TRUE(MF1->ListRefillFlag);
}

// Opening a department's list offers the departments in their numbers' order with the
// placeholder chosen, and empties the list of its people.
TEST_F(TCodeSearchTest, ADepartmentListOffersEveryDepartmentAndEmptiesItsPeople)
{
    const QStringList expected{String(), QStringLiteral("办公室"), QStringLiteral("销售公司"), QStringLiteral("制造部"),
                               DepartmentPlaceholder};
    for (const auto& [department, name] : {std::pair{MF1->ComboBox1, MF1->ComboBox3},
                                           std::pair{MF1->ComboBox33, MF1->ComboBox18},
                                           std::pair{MF1->ComboBox31, MF1->ComboBox32}}) {
        department->SetText(QStringLiteral("办公室"));
        SetItems(name, {QStringLiteral("张三")});
        SendKey(department->Handle(), Qt::Key_F4);
        ASSERT_TRUE(department->DroppedDown());
        EXPECT_EQ(Items(department), expected);
        EXPECT_EQ(department->Text(), DepartmentPlaceholder);
        EXPECT_EQ(department->ItemIndex(), expected.size() - 1);
        EXPECT_EQ(name->Items()->Count(), 0);
        SendKey(department->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
        EXPECT_FALSE(department->DroppedDown());
    }
}

// The name list holds the names of the newest issues unless a department lists its own people.
TEST_F(TCodeSearchTest, ANameListHoldsTheNewestIssuesUnlessADepartmentIsChosen)
{
    QString issues;
    for (int i = 0; i < 25; ++i)
        issues += QStringLiteral("insert into oprint(姓名) values('人%1');").arg(i);
    Execute(issues.toUtf8().constData());
    TComboBox* name = MF1->ComboBox3;
    MF1->ComboBox1->SetText(QStringLiteral("制造部"));
    SetItems(name, {QStringLiteral("赵六")});
    SendKey(name->Handle(), Qt::Key_F4);
    EXPECT_EQ(Items(name), QStringList({QStringLiteral("赵六")}));
    SendKey(name->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));

    MF1->ComboBox1->SetText(DepartmentPlaceholder);
    SendKey(name->Handle(), Qt::Key_F4);
    QStringList expected;
    for (int i = 5; i < 25; ++i)
        expected << QStringLiteral("人%1").arg(i);
    QStringList items = Items(name);
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(items.takeFirst(), String());
    EXPECT_EQ(Sorted(items), Sorted(expected));
    SendKey(name->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
}

// An item's list is the catalogue, most used first, or least used first while the placeholder
// shows, with the placeholder last; a chosen item keeps its list until a search refilled it.
TEST_F(TCodeSearchTest, AnItemListIsTheCatalogueByUse)
{
    TComboBox* item = MF1->ComboBox5;
    const String paper = QStringLiteral("复印纸");
    const String pen = QStringLiteral("签字笔");
    const String folder = QStringLiteral("文件夹");
    item->SetText(String());
    SendKey(item->Handle(), Qt::Key_F4);
    EXPECT_EQ(Items(item), QStringList({String(), paper, pen, folder, ItemPlaceholder}));
    SendKey(item->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));

    item->SetText(ItemPlaceholder);
    SendKey(item->Handle(), Qt::Key_F4);
    EXPECT_EQ(Items(item), QStringList({String(), folder, pen, paper, ItemPlaceholder}));
    SendKey(item->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));

    // The releases of F4 and Esc on the empty text marked the list for refilling.
    EXPECT_TRUE(MF1->ListRefillFlag);
    MF1->ListRefillFlag = false;
    item->SetText(pen);
    const QStringList kept{pen};
    SetItems(item, kept);
    SendKey(item->Handle(), Qt::Key_F4);
    EXPECT_EQ(Items(item), kept);
    SendKey(item->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));

    MF1->ListRefillFlag = true;
    SendKey(item->Handle(), Qt::Key_F4);
    EXPECT_EQ(Items(item), QStringList({String(), paper, pen, folder, ItemPlaceholder}));
    SendKey(item->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
}

// Typing an item's code lists the catalogue items it begins, in name order, each once.
TEST_F(TCodeSearchTest, TypingAnItemCodeListsTheItemsWhoseCodeBeginsWithIt)
{
    TComboBox* item = MF1->ComboBox27;
    item->SetText(String());
    TypeText(item->Handle(), QStringLiteral("q"));
    EXPECT_TRUE(item->DroppedDown());
    EXPECT_EQ(Items(item), QStringList({QStringLiteral("签字笔"), String()}));
    EXPECT_EQ(item->Text(), QStringLiteral("q"));
}

// The organisations of the recent guests and the suppliers, in name order, open with their placeholder chosen
// last; the remarks list the remark table; a gift's types only while none is filled in.
TEST_F(TCodeSearchTest, GuestSupplierRemarkAndGiftTypeLists)
{
    Execute("delete from supplier; delete from rmark;"
            "insert into gift(来客单位) values('华为公司');"
            "insert into gift(来客单位) values('');"
            "insert into supplier(供应商) values('乙公司');"
            "insert into supplier(供应商) values('甲公司');"
            "insert into rmark(备注) values('急用');"
            "insert into ptype(物品名称,类型,礼品) values('茶叶','红茶','礼品');");
    const auto open = [](TComboBox* Combo) {
        SendKey(Combo->Handle(), Qt::Key_F4);
        const QStringList items = Items(Combo);
        SendKey(Combo->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
        return items;
    };
    EXPECT_EQ(open(MF1->ComboBox9), QStringList({String(), QStringLiteral("华为公司"), OrganisationPlaceholder}));
    EXPECT_EQ(MF1->ComboBox9->Text(), OrganisationPlaceholder);
    // In pinyin order: jia before yi.
    EXPECT_EQ(open(MF1->ComboBox23),
              QStringList({String(), QStringLiteral("甲公司"), QStringLiteral("乙公司"), SupplierPlaceholder}));
    EXPECT_EQ(MF1->ComboBox23->Text(), SupplierPlaceholder);
    EXPECT_EQ(open(MF1->ComboBox4), QStringList({String(), QStringLiteral("急用")}));

    MF1->ComboBox12->SetText(String());
    EXPECT_EQ(open(MF1->ComboBox12), QStringList({String(), QStringLiteral("红茶")}));
    MF1->ComboBox12->SetText(QStringLiteral("绿茶"));
    SetItems(MF1->ComboBox12, {QStringLiteral("绿茶")});
    EXPECT_EQ(open(MF1->ComboBox12), QStringList({QStringLiteral("绿茶")}));
}

}  // namespace

// A typed name is the name the page filters by and registers: nothing completes it from the
// list, so one character shows the records of exactly that name.
TEST_F(TCodeSearchTest, ATypedNameIsNeverCompletedFromTheList)
{
    Execute("insert into oprint(姓名,部门,数量,日期) values('张','办公室',1,strftime('%Y-%m-%d 00:00:00','now'));"
            "insert into oprint(姓名,部门,数量,日期) values('张三','办公室',2,strftime('%Y-%m-%d 00:00:00','now'));");
    for (TComboBox* name : {MF1->ComboBox3, MF1->ComboBox18, MF1->ComboBox19, MF1->ComboBox32, MF1->ComboBox24}) {
        SetItems(name, {String(), QStringLiteral("张三"), QStringLiteral("赵六")});
        name->SetText(String());
        CommitText(name->Handle(), QStringLiteral("张"));
        EXPECT_EQ(name->Text(), u"张") << name->Name().toStdString();
        EXPECT_EQ(name->SelLength(), 0) << name->Name().toStdString();
    }
    EXPECT_EQ(MF1->ComboBox1->Text(), u"");
    EXPECT_EQ(MF1->Memo1->Text(), u"1");
    EXPECT_EQ(MF1->Memo2->Text(), u"1");
}
