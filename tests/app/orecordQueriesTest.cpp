// The record pages' queries and summaries against a file of a few hundred records over three
// years: every filter, quick filter and summary shows the records the test picks out itself.
#include "AppTestSupport.h"

#include "datagrid/DBGridEh.h"
#include "platform/core/DateTime.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Memo.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/UiTestSupport.h"
#include "platform/data/DataSetTestSupport.h"

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QMenu>
#include <QRegularExpression>

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

namespace {

// One stored record: its id, its date-time text as stored, its quantity and its text columns.
struct TRecord {
    int Id;
    QDateTime When;
    int Quantity;
    double Amount;
    QMap<String, String> Text;
};

struct TTableSeed {
    const char* Table;
    // Text columns, each with the values the records cycle through.
    std::vector<std::pair<const char*, std::vector<const char*>>> Columns;
};

const TTableSeed Seeds[] = {
    {"oprint",
     {{"部门", {"销售公司", "销售部", "技术中心", "办公室"}},
      {"姓名", {"张", "张三", "李四", "王五", "张\"三"}},
      {"类型", {"A4", "B5", "0.5mm"}},
      {"物品名称", {"签字笔", "复印纸", "文件夹"}},
      {"备注", {"", "急用", "50%_[x]"}},
      {"单位", {"支", "包"}}}},
    {"gift",
     {{"来客单位", {"华为公司", "华夏银行", "中建"}},
      {"来客姓名", {"王", "王总", "刘"}},
      {"职务", {"经理", "主任"}},
      {"领取人", {"李四", "赵六", "孙七"}},
      {"领取部门", {"办公室", "销售公司"}},
      {"批准", {"赵", "钱"}},
      {"类型", {"茶", "酒"}},
      {"礼品名称", {"茶叶", "白酒", "礼盒"}},
      {"备注", {"", "节日"}},
      {"单位", {"盒", "瓶"}}}},
    {"ruku",
     {{"申购部门", {"技术中心", "技术部", "制造部"}},
      {"登记人", {"张", "周"}},
      {"申购人", {"吴", "郑", "冯"}},
      {"类型", {"A4", "B5"}},
      {"物品名称", {"复印纸", "墨盒"}},
      {"供应商", {"甲公司", "乙公司", "丙公司"}},
      {"备注", {"", "月度"}},
      {"单位", {"包", "个"}}}},
};

constexpr int RecordsPerTable = 300;

const char* PageTable(Char Tab) { return Tab == u'g' ? "gift" : Tab == u'c' ? "ruku" : "oprint"; }

class TRecordQueryTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        OpenWindows();
        const QDate thisYear(QDate::currentDate().year(), 1, 1);
        FFirstDay = thisYear.addYears(-2);
        for (const TTableSeed& seed : Seeds)
            SeedTable(seed);
    }

    void TearDown() override
    {
        ReleaseKeyboardModifiers();
        TAppTest::TearDown();
    }

    // Records every 3.7 days over three years; every fourth one at midnight, so the ends of a
    // range meet stored dates; then one each side of a year's, a month's and a week's end.
    void SeedTable(const TTableSeed& Seed)
    {
        std::vector<QDateTime> dates;
        for (int i = 0; i < RecordsPerTable; ++i) {
            const QDate day = FFirstDay.addDays(i * 37 / 10);
            dates.emplace_back(day, i % 4 == 0 ? QTime(0, 0) : QTime((i * 7) % 24, (i * 13) % 60, (i * 29) % 60));
        }
        const QDate lastYear(FFirstDay.year() + 1, 12, 31);
        for (const QDate day : {lastYear, QDate(lastYear.year(), 6, 30), WeekSunday()}) {
            dates.emplace_back(day, QTime(23, 59, 59));
            dates.emplace_back(day.addDays(1), QTime(0, 0));
        }
        std::vector<TRecord>& records = FRecords[Seed.Table];
        String sql;
        for (int i = 0; i < static_cast<int>(dates.size()); ++i) {
            TRecord record{i + 1, dates[i], 1 + i % 5, (1 + i % 5) * 2.5, {}};
            QStringList columns{QStringLiteral("id"), QStringLiteral("日期"), QStringLiteral("时间"), QStringLiteral("数量")};
            QStringList values{QString::number(record.Id), QuotedStr(Stored(record.When)),
                               QuotedStr(record.When.time().toString(QStringLiteral("hh:mm:ss"))),
                               QString::number(record.Quantity)};
            int column = 0;
            for (const auto& [name, choices] : Seed.Columns) {
                const String value = String::fromUtf8(choices[(i * (column + 1) + i / 7) % choices.size()]);
                record.Text[String::fromUtf8(name)] = value;
                columns << String::fromUtf8(name);
                values << QuotedStr(value);
                ++column;
            }
            if (String::fromUtf8(Seed.Table) == u"ruku") {
                columns << QStringLiteral("单价") << QStringLiteral("金额");
                values << QStringLiteral("2.5") << QString::number(record.Amount);
            }
            sql += QStringLiteral("insert into %1(%2) values(%3);").arg(String::fromUtf8(Seed.Table), columns.join(u','), values.join(u','));
            records.push_back(record);
        }
        // One transaction: a commit per record would sync the file hundreds of times.
        Execute((QStringLiteral("BEGIN;") + sql + QStringLiteral("COMMIT;")).toUtf8().constData());
    }

    // A Sunday in the middle of the seeded years.
    QDate WeekSunday() const
    {
        const QDate day = FFirstDay.addYears(1).addDays(100);
        return day.addDays(7 - day.dayOfWeek());
    }

    static String Stored(const QDateTime& When) { return When.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")); }

    // The ids of the records Keep takes, newest first as the lists show them, and their total.
    std::pair<std::vector<int>, String> Expected(Char Tab, const std::function<bool(const TRecord&)>& Keep) const
    {
        std::vector<TRecord> kept;
        for (const TRecord& record : FRecords.at(PageTable(Tab)))
            if (Keep(record))
                kept.push_back(record);
        std::sort(kept.begin(), kept.end(), [](const TRecord& A, const TRecord& B) {
            return A.When != B.When ? A.When > B.When : A.Id > B.Id;
        });
        std::vector<int> ids;
        int total = 0;
        for (const TRecord& record : kept) {
            ids.push_back(record.Id);
            total += record.Quantity;
        }
        return {ids, QString::number(total)};
    }

    // The ids the page's list shows, in order.
    static std::vector<int> ShownIds(Char Tab)
    {
        TADOQuery* query = MF1->RecordPage(Tab).Query;
        std::vector<int> ids;
        for (query->First(); !query->Eof(); query->Next())
            ids.push_back(query->FieldByName(QStringLiteral("id"))->AsInteger());
        return ids;
    }

    // The page shows exactly the records Keep takes, with their count and total.
    void ExpectShown(Char Tab, const std::function<bool(const TRecord&)>& Keep, const String& What)
    {
        const auto [ids, total] = Expected(Tab, Keep);
        const TMF1::TRecordPage page = MF1->RecordPage(Tab);
        EXPECT_EQ(ShownIds(Tab), ids) << What.toStdString();
        EXPECT_EQ(page.CountMemo->Text(), QString::number(ids.size())) << What.toStdString();
        EXPECT_EQ(page.TotalMemo->Text(), total) << What.toStdString();
        EXPECT_EQ(Messages(), QStringList()) << What.toStdString();
    }

    static void ResetPage(Char Tab)
    {
        const TMF1::TRecordPage page = MF1->RecordPage(Tab);
        page.Operator->SetText(NoDateLimit);
        for (TComboBox* field : FilterFields(Tab))
            field->SetText(String());
        MF1->ComboBox1->SetText(DepartmentPlaceholder);
        MF1->ComboBox5->SetText(ItemPlaceholder);
    }

    static std::vector<TComboBox*> FilterFields(Char Tab)
    {
        if (Tab == u'g')
            return {MF1->ComboBox9, MF1->ComboBox10, MF1->ComboBox17, MF1->ComboBox18, MF1->ComboBox19,
                    MF1->ComboBox12, MF1->ComboBox13, MF1->ComboBox15, MF1->ComboBox11};
        if (Tab == u'c')
            return {MF1->ComboBox31, MF1->ComboBox24, MF1->ComboBox32, MF1->ComboBox26,
                    MF1->ComboBox27, MF1->ComboBox23, MF1->ComboBox29, MF1->ComboBox25};
        return {MF1->ComboBox1, MF1->ComboBox3, MF1->ComboBox2, MF1->ComboBox5, MF1->ComboBox7, MF1->ComboBox4};
    }

    static TBitBtn* QueryButton(Char Tab) { return Tab == u'g' ? MF1->BitBtn8 : Tab == u'c' ? MF1->BitBtn11 : MF1->BitBtn1; }

    QDate FFirstDay;
    std::map<std::string, std::vector<TRecord>> FRecords;
};

// Per page, each filter field with its column and whether it matches a prefix.
struct TFieldCase {
    Char Tab;
    int Field;  // index into FilterFields
    const char* Column;
    const char* Text;
    bool Prefix;
};

const TFieldCase FieldCases[] = {
    {u'a', 0, "部门", "销售", true},      {u'a', 1, "姓名", "张", false},     {u'a', 1, "姓名", "张三", false},
    {u'a', 2, "类型", "0.5mm", false},    {u'a', 3, "物品名称", "复印纸", false}, {u'a', 4, "数量", "3", false},
    {u'a', 5, "备注", "急用", false},     {u'g', 0, "来客单位", "华", true},   {u'g', 1, "来客姓名", "王", false},
    {u'g', 2, "职务", "经理", false},     {u'g', 3, "领取人", "赵六", false},  {u'g', 4, "批准", "钱", false},
    {u'g', 5, "类型", "茶", false},       {u'g', 6, "礼品名称", "礼盒", false}, {u'g', 7, "数量", "5", false},
    {u'g', 8, "备注", "节日", false},     {u'c', 0, "申购部门", "技术", true},  {u'c', 1, "登记人", "周", false},
    {u'c', 2, "申购人", "郑", false},     {u'c', 3, "类型", "B5", false},      {u'c', 4, "物品名称", "墨盒", false},
    {u'c', 5, "供应商", "乙公司", false}, {u'c', 6, "数量", "1", false},       {u'c', 7, "备注", "月度", false},
};

// A like pattern's match: % any run of characters, _ any one character, case kept.
bool Like(QStringView Value, QStringView Pattern)
{
    if (Pattern.isEmpty())
        return Value.isEmpty();
    if (Pattern.front() == u'%')
        for (qsizetype i = 0; i <= Value.size(); ++i)
            if (Like(Value.mid(i), Pattern.mid(1)))
                return true;
    if (Pattern.front() == u'%')
        return false;
    return !Value.isEmpty() && (Pattern.front() == u'_' || Pattern.front() == Value.front()) &&
           Like(Value.mid(1), Pattern.mid(1));
}

bool Matches(const TRecord& Record, const TFieldCase& Case)
{
    const String text = String::fromUtf8(Case.Text);
    if (String::fromUtf8(Case.Column) == u"数量")
        return Record.Quantity == text.toInt();
    const String value = Record.Text.value(String::fromUtf8(Case.Column));
    return Case.Prefix ? value.startsWith(text) : value == text;
}

}  // namespace

TEST_F(TRecordQueryTest, EachFieldFiltersItsPageAloneAndWithADateOperator)
{
    const int year = FFirstDay.year() + 1;
    for (const TFieldCase& c : FieldCases) {
        const String what = QStringLiteral("%1 %2").arg(String::fromUtf8(c.Column), String::fromUtf8(c.Text));
        ResetPage(c.Tab);
        FilterFields(c.Tab)[static_cast<std::size_t>(c.Field)]->SetText(String::fromUtf8(c.Text));
        QueryButton(c.Tab)->Click();
        ExpectShown(c.Tab, [&](const TRecord& r) { return Matches(r, c); }, what);
        EXPECT_EQ(MF1->RecordPage(c.Tab).QuickCombo->Text(), QStringLiteral("查询"));

        // With "介于" over the middle year, the field's records of that year.
        const TMF1::TRecordPage page = MF1->RecordPage(c.Tab);
        page.Operator->SetText(QStringLiteral("介于"));
        page.FirstDate->SetDateTime(EncodeDate(year, 1, 1));
        page.SecondDate->SetDateTime(EncodeDate(year, 12, 31));
        QueryButton(c.Tab)->Click();
        ExpectShown(c.Tab, [&](const TRecord& r) {
            return Matches(r, c) && r.When >= QDateTime(QDate(year, 1, 1), QTime(0, 0)) &&
                   r.When <= QDateTime(QDate(year, 12, 31), QTime(0, 0));
        }, what + QStringLiteral(" 介于"));
    }
}

TEST_F(TRecordQueryTest, EachDateOperatorComparesTheStoredDateTimes)
{
    const QDate d1 = WeekSunday().addDays(1);  // a Monday with a record stored at its midnight
    const QDate d2 = d1.addDays(60);
    const QDateTime first(d1, QTime(0, 0)), second(d2, QTime(0, 0));
    const std::pair<const char*, std::function<bool(const TRecord&)>> operators[] = {
        {"不限制", [](const TRecord& r) { return r.When.date().year() == QDate::currentDate().year(); }},
        {"=", [&](const TRecord& r) { return r.When.date() == d1; }},
        {"<", [&](const TRecord& r) { return r.When < first; }},
        {">", [&](const TRecord& r) { return r.When > first; }},
        {"<=", [&](const TRecord& r) { return r.When <= first; }},
        {">=", [&](const TRecord& r) { return r.When >= first; }},
        {"介于", [&](const TRecord& r) { return r.When >= first && r.When <= second; }},
        // Pasted text that is no operator sets no date term: with no field, this year.
        {"between", [](const TRecord& r) { return r.When.date().year() == QDate::currentDate().year(); }},
    };
    for (Char tab : {u'a', u'g', u'c'})
        for (const auto& [op, keep] : operators) {
            ResetPage(tab);
            const TMF1::TRecordPage page = MF1->RecordPage(tab);
            page.Operator->SetText(String::fromUtf8(op));
            page.FirstDate->SetDateTime(DateFromQt(d1));
            page.SecondDate->SetDateTime(DateFromQt(d2));
            QueryButton(tab)->Click();
            ExpectShown(tab, keep, String::fromUtf8(op));
        }
}

TEST_F(TRecordQueryTest, AnEmptyFormShowsThisYearAndQueryAllShowsEverything)
{
    for (Char tab : {u'a', u'g', u'c'}) {
        ResetPage(tab);
        QueryButton(tab)->Click();
        ExpectShown(tab, [](const TRecord& r) { return r.When.date().year() == QDate::currentDate().year(); }, "empty");
        EXPECT_EQ(MF1->RecordPage(tab).QuickCombo->Text(), QStringLiteral("本年"));
        MF1->RecordPage(tab).AllButton->Click();
        ExpectShown(tab, [](const TRecord&) { return true; }, "all");
        EXPECT_EQ(MF1->RecordPage(tab).QuickCombo->Text(), QStringLiteral("全部"));
    }
}

TEST_F(TRecordQueryTest, QuickDateFiltersCoverTheYearMonthWeekAndDayOfTheFirstDate)
{
    const QDate sunday = WeekSunday();
    const QDate yearEnd(FFirstDay.year() + 1, 12, 31);
    const QDate monthEnd(yearEnd.year(), 6, 30);
    const struct {
        const char* Quick;
        QDate Base;
        std::function<bool(const QDate&, const QDate&)> Same;
    } cases[] = {
        {"本年", yearEnd, [](const QDate& d, const QDate& b) { return d.year() == b.year(); }},
        {"本年", yearEnd.addDays(1), [](const QDate& d, const QDate& b) { return d.year() == b.year(); }},
        {"本月", monthEnd, [](const QDate& d, const QDate& b) { return d.year() == b.year() && d.month() == b.month(); }},
        {"本月", monthEnd.addDays(1), [](const QDate& d, const QDate& b) { return d.year() == b.year() && d.month() == b.month(); }},
        {"本日", monthEnd, [](const QDate& d, const QDate& b) { return d == b; }},
        // The week runs Monday to Sunday: a Sunday belongs to the week before the next Monday.
        {"本周", sunday, [](const QDate& d, const QDate& b) { return d >= b.addDays(-6) && d <= b; }},
        {"本周", sunday.addDays(-4), [&](const QDate& d, const QDate&) { return d >= sunday.addDays(-6) && d <= sunday; }},
        {"本周", sunday.addDays(1), [](const QDate& d, const QDate& b) { return d >= b && d <= b.addDays(6); }},
        {"全部", sunday, [](const QDate&, const QDate&) { return true; }},
    };
    for (Char tab : {u'a', u'g', u'c'})
        for (const auto& c : cases) {
            const TMF1::TRecordPage page = MF1->RecordPage(tab);
            page.FirstDate->SetDateTime(DateFromQt(c.Base) + EncodeTime(15, 30, 0, 0));
            page.QuickCombo->SetText(String::fromUtf8(c.Quick));
            MF1->RunQuickDateFilter(page);
            ExpectShown(tab, [&](const TRecord& r) { return c.Same(r.When.date(), c.Base); },
                        String::fromUtf8(c.Quick) + u' ' + c.Base.toString(Qt::ISODate));
        }
}

TEST_F(TRecordQueryTest, ChangingTheQuickFilterRunsIt)
{
    MF1->DateTimePicker1->SetDateTime(DateFromQt(WeekSunday()));
    MF1->ComboBox20->SetItemIndex(0);
    SendKey(MF1->ComboBox20->Handle(), Qt::Key_Down);  // the next item, "本年"
    ASSERT_EQ(MF1->ComboBox20->Text(), QStringLiteral("本年"));
    ExpectShown(u'a', [&](const TRecord& r) { return r.When.date().year() == WeekSunday().year(); }, "本年");
}

TEST_F(TRecordQueryTest, ADoubleClickedCellQueriesItsValue)
{
    const TRecord& sample = FRecords.at("oprint")[5];
    const TMF1::TRecordPage page = MF1->RecordPage(u'a');
    MF1->QueryByCellValue(page, QStringLiteral("姓名"), sample.Text[QStringLiteral("姓名")]);
    ExpectShown(u'a', [&](const TRecord& r) { return r.Text[QStringLiteral("姓名")] == sample.Text[QStringLiteral("姓名")]; }, "姓名");
    EXPECT_EQ(page.QuickCombo->Text(), QStringLiteral("查询"));

    const String day = sample.When.date().toString(Qt::ISODate);
    MF1->QueryByCellValue(page, QStringLiteral("日期"), day);
    ExpectShown(u'a', [&](const TRecord& r) { return r.When.date() == sample.When.date(); }, "日期");

    // The time matches by its last seven characters: 9:15:30 also finds 19:15:30.
    Execute("update oprint set 时间='09:15:30' where id=1; update oprint set 时间='19:15:30' where id=2;"
            "update oprint set 时间='08:15:30' where id=3");
    MF1->QueryByCellValue(page, QStringLiteral("时间"), QStringLiteral("09:15:30"));
    ExpectShown(u'a', [](const TRecord& r) { return r.Id == 1 || r.Id == 2; }, "时间");

    MF1->QueryByCellValue(page, QStringLiteral("数量"), QStringLiteral("4"));
    ExpectShown(u'a', [](const TRecord& r) { return r.Quantity == 4; }, "数量");

    // The row number, and an empty number, leave the list as it is.
    page.QuickCombo->SetText(QStringLiteral("全部"));
    MF1->QueryByCellValue(page, QStringLiteral("序号"), QStringLiteral("7"));
    MF1->QueryByCellValue(page, QStringLiteral("数量"), String());
    ExpectShown(u'a', [](const TRecord& r) { return r.Quantity == 4; }, "unchanged");
    EXPECT_EQ(page.QuickCombo->Text(), QStringLiteral("全部"));

    // A stored value with a double quote matches as it stands.
    MF1->QueryByCellValue(page, QStringLiteral("姓名"), QStringLiteral("张\"三"));
    ExpectShown(u'a', [](const TRecord& r) { return r.Text[QStringLiteral("姓名")] == QStringLiteral("张\"三"); }, "quote");
    EXPECT_FALSE(ShownIds(u'a').empty());

    const TMF1::TRecordPage stockIn = MF1->RecordPage(u'c');
    MF1->QueryByCellValue(stockIn, QStringLiteral("金额"), QStringLiteral("10"));
    ExpectShown(u'c', [](const TRecord& r) { return r.Amount == 10; }, "金额");
}

// Texts a user may type or paste: each matches as it stands (the department as a like prefix,
// whose % and _ match as in a pattern), and none ever shows an error.
TEST_F(TRecordQueryTest, AnyTypedTextMatchesLiterallyAndNeverFails)
{
    const String quoteName = QStringLiteral("张\"三");
    const String percentRemark = QStringLiteral("50%_[x]");
    const String texts[] = {QStringLiteral("\""),     QStringLiteral("'"),          QStringLiteral("%"),
                            QStringLiteral("_"),      QStringLiteral("#"),          QStringLiteral("["),
                            QStringLiteral("张三' or '1'='1"), QStringLiteral("   "),  QString(500, u'字'),
                            QStringLiteral("1;delete from oprint"), QStringLiteral("1 2"), quoteName, percentRemark,
                            QStringLiteral("50%"), QStringLiteral("#2026-01-01#")};
    for (TComboBox* field : {MF1->ComboBox3, MF1->ComboBox4, MF1->ComboBox7, MF1->ComboBox1})
        for (const String& text : texts) {
            ResetPage(u'a');
            field->SetText(text);
            MF1->BitBtn1->Click();
            const String column = field == MF1->ComboBox3 ? QStringLiteral("姓名")
                                  : field == MF1->ComboBox4 ? QStringLiteral("备注")
                                                           : QStringLiteral("部门");
            ExpectShown(u'a', [&](const TRecord& r) {
                if (field == MF1->ComboBox7)
                    return false;  // no number among them
                if (field == MF1->ComboBox1)
                    return Like(r.Text[column], text + u'%');
                return r.Text[column] == text;
            }, text.left(20));
        }
    ResetPage(u'a');
    MF1->ComboBox3->SetText(quoteName);
    MF1->BitBtn1->Click();
    EXPECT_FALSE(ShownIds(u'a').empty());
    EXPECT_EQ(Rows("select count(*) from oprint"), QStringList{QString::number(FRecords.at("oprint").size())});
}

TEST_F(TRecordQueryTest, TheOperatorComboShowsTheSecondDateAndKeepsToItsWords)
{
    for (Char tab : {u'a', u'g', u'c'}) {
        const TMF1::TRecordPage page = MF1->RecordPage(tab);
        page.Operator->SetText(QStringLiteral("介于"));
        MF1->ComboBox8Change(page.Operator);
        EXPECT_TRUE(page.FirstDate->Visible());
        EXPECT_TRUE(page.SecondDate->Visible());
        page.Operator->SetText(QStringLiteral("介"));
        MF1->ComboBox8Change(page.Operator);
        EXPECT_TRUE(page.SecondDate->Visible()) << "a text that is no operator changes nothing";
        page.Operator->SetText(QStringLiteral("<="));
        MF1->ComboBox8Change(page.Operator);
        EXPECT_TRUE(page.FirstDate->Visible());
        EXPECT_FALSE(page.SecondDate->Visible());

        // Typing into it: a key's release leaves an operator as it is and turns anything else
        // into "不限制".
        page.Operator->SetText(String());
        TypeText(page.Operator->Handle(), QStringLiteral("x"));
        EXPECT_EQ(page.Operator->Text(), NoDateLimit);
        page.Operator->SetItemIndex(2);  // "<"
        SendKey(page.Operator->Handle(), Qt::Key_Down);
        EXPECT_EQ(page.Operator->Text(), QStringLiteral(">"));
    }
}

// Real keys in the entry fields: each change re-runs the page's filter, after the fields it
// determines are filled in.
TEST_F(TRecordQueryTest, TypingInAFieldReRunsItsPageFilter)
{
    Execute("insert into ouser(姓名,姓名编号,部门,次数) values('李四','ls','销售公司',2),('王五','ww','销售公司',5),"
            "('张三','zs','技术中心',1),('张三','zs','办公室',1);"
            "insert into ptype(物品名称,编号,类型,单位,次数) values('复印纸','fyz','A4','包',3),('复印纸','fyz','B5','箱',9)");
    ResetPage(u'a');
    CommitText(MF1->ComboBox3->Handle(), QStringLiteral("李四"));
    EXPECT_EQ(MF1->ComboBox1->Text(), QStringLiteral("销售公司"));
    ExpectShown(u'a', [](const TRecord& r) {
        return r.Text[QStringLiteral("姓名")] == QStringLiteral("李四") && r.Text[QStringLiteral("部门")].startsWith(QStringLiteral("销售公司"));
    }, "李四");

    // Namesakes in two departments: the department is left to the user.
    MF1->ComboBox3->SetText(String());
    CommitText(MF1->ComboBox3->Handle(), QStringLiteral("张三"));
    EXPECT_EQ(MF1->ComboBox1->Text(), DepartmentPlaceholder);

    // An item shows its most used type and that type's unit, and lists its types.
    ResetPage(u'a');
    MF1->ComboBox5->SetText(String());
    CommitText(MF1->ComboBox5->Handle(), QStringLiteral("复印纸"));
    EXPECT_EQ(MF1->ComboBox2->Text(), QStringLiteral("B5"));
    EXPECT_EQ(MF1->ComboBox6->Text(), QStringLiteral("箱"));
    EXPECT_EQ(MF1->ComboBox2->Items()->Text(), QStringLiteral("\r\nB5\r\nA4\r\n"));
    ExpectShown(u'a', [](const TRecord& r) {
        return r.Text[QStringLiteral("物品名称")] == QStringLiteral("复印纸") && r.Text[QStringLiteral("类型")] == QStringLiteral("B5");
    }, "复印纸");

    // A department chosen from its list fills the names, most used first.
    ResetPage(u'a');
    MF1->ComboBox1->Items()->Clear();
    MF1->ComboBox1->Items()->Add(QStringLiteral("销售公司"));
    SendKey(MF1->ComboBox1->Handle(), Qt::Key_Down);
    EXPECT_EQ(MF1->ComboBox1->Text(), QStringLiteral("销售公司"));
    EXPECT_EQ(MF1->ComboBox3->Items()->Text(), QStringLiteral("\r\n王五\r\n李四\r\n"));
    ExpectShown(u'a', [](const TRecord& r) { return r.Text[QStringLiteral("部门")].startsWith(QStringLiteral("销售公司")); }, "dept");

    // Typing into the department shows the placeholder and re-runs the filter without it.
    TypeText(MF1->ComboBox1->Handle(), QStringLiteral("a"));
    EXPECT_EQ(MF1->ComboBox1->Text(), DepartmentPlaceholder);
    ExpectShown(u'a', [](const TRecord& r) { return r.When.date().year() == QDate::currentDate().year(); }, "placeholder");

    // The quantity and a gift's guest.
    TypeText(MF1->ComboBox7->Handle(), QStringLiteral("2"));
    ExpectShown(u'a', [](const TRecord& r) { return r.Quantity == 2; }, "quantity");
    ResetPage(u'g');
    CommitText(MF1->ComboBox10->Handle(), QStringLiteral("刘"));
    const TRecord* firstGuest = nullptr;
    for (const TRecord& r : FRecords.at("gift"))
        if (!firstGuest && r.Text[QStringLiteral("来客姓名")] == QStringLiteral("刘"))
            firstGuest = &r;
    ASSERT_NE(firstGuest, nullptr);
    EXPECT_EQ(MF1->ComboBox17->Text(), firstGuest->Text[QStringLiteral("职务")]);
    EXPECT_EQ(MF1->ComboBox9->Text(), firstGuest->Text[QStringLiteral("来客单位")]);
    ExpectShown(u'g', [&](const TRecord& r) {
        return r.Text[QStringLiteral("来客姓名")] == QStringLiteral("刘") &&
               r.Text[QStringLiteral("来客单位")].startsWith(firstGuest->Text[QStringLiteral("来客单位")]) &&
               r.Text[QStringLiteral("职务")] == firstGuest->Text[QStringLiteral("职务")];
    }, "guest");
}

// Every summary against groups the test forms itself.
TEST_F(TRecordQueryTest, EverySummaryGroupsThePeriodsRecords)
{
    const struct {
        Char Tab;
        std::vector<const char*> Leading;
    } kinds[] = {
        {u'a', {}}, {u'a', {"部门"}}, {u'a', {"姓名", "部门"}},
        {u'g', {}}, {u'g', {"领取部门"}}, {u'g', {"领取人", "领取部门"}}, {u'g', {"批准"}}, {u'g', {"来客单位"}},
        {u'g', {"来客姓名", "来客单位"}},
        {u'c', {}}, {u'c', {"申购部门"}}, {u'c', {"申购人", "申购部门"}}, {u'c', {"登记人"}}, {u'c', {"供应商"}},
    };
    const int year = FFirstDay.year() + 1;
    const QDate d1(year, 3, 1), d2(year, 8, 31);
    const struct {
        const char* Operator;
        String Date;
        String Remark;
        std::function<bool(const QDateTime&)> Keep;
    } periods[] = {
        {"不限制", QString::number(year), String(), [&](const QDateTime& w) { return w.date().year() == year; }},
        {"介于", QString::number(year), d1.toString(Qt::ISODate) + QStringLiteral(" — ") + d2.toString(Qt::ISODate),
         [&](const QDateTime& w) { return w >= QDateTime(d1, QTime(0, 0)) && w <= QDateTime(d2, QTime(0, 0)); }},
        {">=", QString::number(year), QStringLiteral(">=") + d1.toString(Qt::ISODate),
         [&](const QDateTime& w) { return w >= QDateTime(d1, QTime(0, 0)); }},
        {"=", d1.toString(Qt::ISODate), String(), [&](const QDateTime& w) { return w.date() == d1; }},
    };
    int kind = 0;
    Char lastTab = u'a';
    for (const auto& k : kinds) {
        kind = k.Tab == lastTab ? kind + 1 : 1;
        lastTab = k.Tab;
        const TMF1::TRecordPage page = MF1->RecordPage(k.Tab);
        const String item = k.Tab == u'g' ? QStringLiteral("礼品名称") : QStringLiteral("物品名称");
        for (const auto& p : periods) {
            page.Operator->SetText(String::fromUtf8(p.Operator));
            page.FirstDate->SetDateTime(DateFromQt(d1));
            page.SecondDate->SetDateTime(DateFromQt(d2));
            TMenuItem* menuItem = (k.Tab == u'g' ? MF1->PopupMenu5 : k.Tab == u'c' ? MF1->PopupMenu4 : MF1->PopupMenu2)
                                      ->Items()->Items(kind - 1);
            menuItem->Click();

            QStringList columns;
            for (const char* c : k.Leading)
                columns << String::fromUtf8(c);
            columns << item << QStringLiteral("类型") << QStringLiteral("单位");
            std::map<QStringList, std::pair<int, double>> groups;
            int total = 0;
            for (const TRecord& r : FRecords.at(PageTable(k.Tab)))
                if (p.Keep(r.When)) {
                    QStringList key;
                    for (const String& c : columns)
                        key << r.Text[c];
                    groups[key].first += r.Quantity;
                    groups[key].second += r.Amount;
                    total += r.Quantity;
                }
            QStringList expected;
            for (const auto& [key, sums] : groups)
                expected << key.join(u'|') + u'|' + QString::number(sums.first) +
                                (k.Tab == u'c' ? u'|' + QString::number(sums.second) : String()) + u'|' + p.Date + u'|' + p.Remark;
            TADOQuery* query = page.Query;
            QStringList shown;
            for (query->First(); !query->Eof(); query->Next()) {
                QStringList row;
                for (const String& c : columns)
                    row << query->FieldByName(c)->AsString();
                row << query->FieldByName(QStringLiteral("数量"))->AsString();
                if (k.Tab == u'c')
                    row << QString::number(query->FieldByName(QStringLiteral("金额"))->AsFloat());
                row << query->FieldByName(QStringLiteral("日期"))->AsString() << query->FieldByName(QStringLiteral("备注"))->AsString();
                shown << row.join(u'|');
            }
            shown.sort();
            expected.sort();
            const std::string what = std::string(menuItem->Caption().toStdString()) + " " + p.Operator;
            EXPECT_EQ(shown, expected) << what;
            EXPECT_EQ(page.CountMemo->Text(), QString::number(groups.size())) << what;
            EXPECT_EQ(page.TotalMemo->Text(), QString::number(total)) << what;
        }
    }
    EXPECT_EQ(kind, 5);
    EXPECT_EQ(Messages(), QStringList());
}

// A page's list counts its records and sums their quantities in one statement: the memos follow
// records added and deleted since, show 0 for no records, and no separate total runs.
TEST_F(TRecordQueryTest, TheCountAndTotalFollowWritesAndShowZeroForNoRecords)
{
    const struct {
        Char Tab;
        const char* Column;
        const char* Prefix;
    } cases[] = {{u'a', "部门", "销售"}, {u'g', "来客单位", "华"}, {u'c', "申购部门", "技术"}};
    MF1->AQc1->Close();
    for (const auto& c : cases) {
        const String column = String::fromUtf8(c.Column);
        const String prefix = String::fromUtf8(c.Prefix);
        const auto matching = [&](const TRecord& r) { return r.Text.value(column).startsWith(prefix); };
        const String table = String::fromUtf8(PageTable(c.Tab));
        ResetPage(c.Tab);
        FilterFields(c.Tab).front()->SetText(prefix);
        QueryButton(c.Tab)->Click();
        ExpectShown(c.Tab, matching, column);

        std::vector<TRecord>& records = FRecords.at(PageTable(c.Tab));
        TRecord added{1000, QDateTime(QDate::currentDate(), QTime(12, 0)), 7, 0, {{column, prefix + u'新'}}};
        Execute(QStringLiteral("insert into %1(id,%2,数量,日期) values(1000,%3,7,%4)")
                    .arg(table, column, QuotedStr(added.Text[column]), QuotedStr(Stored(added.When)))
                    .toUtf8()
                    .constData());
        records.push_back(added);
        const auto deleted = std::find_if(records.begin(), records.end(), matching);
        Execute(QStringLiteral("delete from %1 where id=%2").arg(table).arg(deleted->Id).toUtf8().constData());
        records.erase(deleted);
        QueryButton(c.Tab)->Click();
        ExpectShown(c.Tab, matching, column + QStringLiteral(" after writes"));

        FilterFields(c.Tab).front()->SetText(QStringLiteral("无此单位"));
        QueryButton(c.Tab)->Click();
        ExpectShown(c.Tab, [](const TRecord&) { return false; }, column + QStringLiteral(" none"));
        EXPECT_EQ(MF1->RecordPage(c.Tab).TotalMemo->Text(), QStringLiteral("0"));
    }
    EXPECT_FALSE(MF1->AQc1->Active());
}

TEST_F(TRecordQueryTest, ASummaryOfAnEmptyPeriodShowsNoRows)
{
    MF1->ComboBox8->SetText(QStringLiteral("="));
    MF1->DateTimePicker1->SetDateTime(EncodeDate(1990, 1, 1));
    MF1->PopupMenu2->Items()->Items(2)->Click();
    EXPECT_TRUE(MF1->dbouser1->IsEmpty());
    EXPECT_EQ(MF1->Memo1->Text(), QStringLiteral("0"));
    EXPECT_EQ(MF1->Memo2->Text(), QStringLiteral("0"));
    // Text pasted into the operator combo summarises the first date's year.
    MF1->ComboBox8->SetText(QStringLiteral("abc"));
    MF1->DateTimePicker1->SetDateTime(DateFromQt(FFirstDay));
    MF1->PopupMenu2->Items()->Items(0)->Click();
    int total = 0;
    for (const TRecord& r : FRecords.at("oprint"))
        if (r.When.date().year() == FFirstDay.year())
            total += r.Quantity;
    EXPECT_EQ(MF1->Memo2->Text(), QString::number(total));
    EXPECT_EQ(Messages(), QStringList());
}

// A press on a query-all button queries all and opens the page's summary menu below the button;
// the release that ends the press queries nothing more.
TEST_F(TRecordQueryTest, PressingQueryAllShowsEverythingAndOpensTheSummaryMenu)
{
    for (const auto& [tab, menu] : {std::pair{u'a', MF1->PopupMenu2}, std::pair{u'g', MF1->PopupMenu5},
                                    std::pair{u'c', MF1->PopupMenu4}}) {
        const TMF1::TRecordPage page = MF1->RecordPage(tab);
        MF1->PageControl1->SetActivePageIndex(tab == u'g' ? 1 : tab == u'c' ? 2 : 0);
        QWidget* button = page.AllButton->Handle();
        const QPoint centre(page.AllButton->Width() / 2, page.AllButton->Height() / 2);
        SendMouse(button, QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
        ExpectShown(tab, [](const TRecord&) { return true; }, "pressed");
        ASSERT_NE(menu->Handle(), nullptr);
        EXPECT_EQ(menu->PopupPoint(), page.AllButton->ClientToScreen(TPoint{0, page.AllButton->Height()}));

        Execute((QStringLiteral("insert into %1(数量,日期) values(1,'2000-01-01 00:00:00')").arg(String::fromUtf8(PageTable(tab))))
                    .toUtf8()
                    .constData());
        SendMouse(button, QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(page.CountMemo->Text(), QString::number(FRecords.at(PageTable(tab)).size()));
        menu->Handle()->close();
    }
}

// A requery closes the page's list, gives it its new statement and opens it again: its grid sees
// that as one change, so it rebuilds its layout once, keeps its columns, binds them to the new
// fields and drops the rows selected among the records it showed before.
TEST_F(TRecordQueryTest, ARequeryReachesThePageGridAsOneChange)
{
    for (Char tab : {u'a', u'g', u'c'}) {
        const TMF1::TRecordPage page = MF1->RecordPage(tab);
        for (TBitBtn* button : {QueryButton(tab), page.AllButton}) {
            button->Click();
            page.Grid->SelectedRows()->SetCurrentRowSelected(true);
            const int columns = page.Grid->Columns()->Count();
            TRecordingLink changes;
            changes.SetDataSource(page.Grid->DataSource());
            changes.Calls.clear();
            button->Click();
            const QStringList rebuilding = changes.Calls.filter(QRegularExpression(u"^(ActiveChanged|LayoutChanged)"_s));
            EXPECT_EQ(rebuilding, QStringList{u"LayoutChanged"_s}) << button->Name().toStdString();
            EXPECT_EQ(page.Grid->Columns()->Count(), columns);
            for (int i = 0; i < columns; ++i) {
                TColumnEh* column = page.Grid->Columns()->ColumnAt(i);
                if (TField* field = page.Query->FindField(column->FieldName())) {
                    EXPECT_EQ(column->Field(), field) << column->FieldName().toStdString();
                }
            }
            EXPECT_EQ(page.Grid->SelectedRows()->ItemCount(), 0);
            EXPECT_EQ(page.Grid->DataLink()->RecordCount(), std::min(page.Query->RecordCount(), page.Grid->DataLink()->BufferCount()));
        }
    }
}

// Departments are chosen, never typed: a typed key, Chinese too, leaves the placeholder, and its
// release re-runs the page's filter without a department.
TEST_F(TRecordQueryTest, ADepartmentTakesNoTypingAndItsKeysReRunTheFilter)
{
    for (const auto& [tab, department] : {std::pair{u'a', MF1->ComboBox1}, std::pair{u'g', MF1->ComboBox33},
                                          std::pair{u'c', MF1->ComboBox31}}) {
        ResetPage(tab);
        department->SetText(QStringLiteral("销售公司"));
        MF1->RecordPage(tab).QuickCombo->SetText(String());
        TypeText(department->Handle(), QStringLiteral("x"));
        EXPECT_EQ(department->Text(), DepartmentPlaceholder);
        CommitText(department->Handle(), QStringLiteral("技术"));
        EXPECT_EQ(department->Text(), DepartmentPlaceholder);
        ExpectShown(tab, [](const TRecord& r) { return r.When.date().year() == QDate::currentDate().year(); }, "typed");
        EXPECT_EQ(MF1->RecordPage(tab).QuickCombo->Text(), QStringLiteral("本年"));
    }
}

// Enter and Esc in a department's open list are no typing: Esc closes the list and keeps the
// placeholder, Enter chooses the highlighted department and the filter runs with it, registering
// nothing.
TEST_F(TRecordQueryTest, AnOpenDepartmentListTakesEnterAndEsc)
{
    const String sales = QStringLiteral("销售公司");
    Execute("insert into dept(部门编号,部门) values('01','销售公司')");
    for (const auto& [tab, department, column] :
         {std::tuple{u'a', MF1->ComboBox1, "部门"}, std::tuple{u'g', MF1->ComboBox33, ""},
          std::tuple{u'c', MF1->ComboBox31, "申购部门"}}) {
        ResetPage(tab);
        department->SetText(DepartmentPlaceholder);
        SendKey(department->Handle(), Qt::Key_F4);
        ASSERT_TRUE(department->DroppedDown());
        SendKey(department->Handle(), Qt::Key_Down);
        SendKey(department->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
        EXPECT_FALSE(department->DroppedDown());
        EXPECT_EQ(department->Text(), DepartmentPlaceholder);

        // The list opens on its placeholder, last; the department is just above it.
        SendKey(department->Handle(), Qt::Key_F4);
        SendKey(department->Handle(), Qt::Key_Up);
        SendKey(department->Handle(), Qt::Key_Return, QStringLiteral("\r"));
        EXPECT_FALSE(department->DroppedDown());
        EXPECT_EQ(department->Text(), sales);
        // The receiving department of a gift takes no part in the filter: the year shows.
        const String field = String::fromUtf8(column);
        ExpectShown(tab, [&](const TRecord& r) {
            return field.isEmpty() ? r.When.date().year() == QDate::currentDate().year() : r.Text[field].startsWith(sales);
        }, String(tab));
    }
}
