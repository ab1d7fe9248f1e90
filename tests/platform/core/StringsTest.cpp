// String lists: Text, CommaText and name=value forms, sorting, objects, change events and errors.
#include "platform/core/StringList.h"

#include "platform/core/Exceptions.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

QStringList Lines(const TStrings& strings)
{
    QStringList lines;
    for (int i = 0; i < strings.Count(); ++i)
        lines << strings[i];
    return lines;
}

void Fill(TStrings& strings, const QStringList& lines)
{
    for (const String& line : lines)
        strings.Add(line);
}

template <class E>
std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return "no error";
}

struct TTracked : TObject {
    explicit TTracked(int& deaths) : FDeaths(deaths) {}
    ~TTracked() override { ++FDeaths; }
    int& FDeaths;
};

// A descendant that only stores texts, so the base class's own behaviour shows.
class TPlainStrings : public TStrings {
public:
    int Count() const override { return static_cast<int>(FLines.size()); }
    String Strings(int Index) const override { return FLines.at(Index); }
    void Insert(int Index, const String& S) override { FLines.insert(Index, S); }
    void Delete(int Index) override { FLines.removeAt(Index); }
    void Clear() override { FLines.clear(); }

private:
    QStringList FLines;
};

}  // namespace

TEST(TStrings, TextEndsEveryLineWithCrLfAndReadsAnyLineBreak)
{
    TStringList list;
    list.SetText(QStringLiteral("a\r\nb\nc\rd\r\r\ne"));
    EXPECT_EQ(Lines(list), (QStringList{"a", "b", "c", "d", "", "e"}));
    list.SetText(QStringLiteral("单行\r\n"));
    EXPECT_EQ(Lines(list), QStringList{"单行"});
    EXPECT_EQ(list.Text(), QStringLiteral("单行\r\n"));
    list.SetText(QStringLiteral("\n"));
    EXPECT_EQ(Lines(list), QStringList{""});
    list.SetText(QString());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), QString());
}

TEST(TStrings, CommaTextQuotesOnlyWhatNeedsIt)
{
    TStringList list;
    Fill(list, {"a", "b c", "d,e", "f\"g", "", "铅笔"});
    EXPECT_EQ(list.CommaText(), QStringLiteral("a,\"b c\",\"d,e\",\"f\"\"g\",,铅笔"));

    TStringList copy;
    copy.SetCommaText(list.CommaText());
    EXPECT_EQ(Lines(copy), Lines(list));

    TStringList lone;
    lone.Add(QString());
    EXPECT_EQ(lone.CommaText(), QStringLiteral("\"\""));
    copy.SetCommaText(lone.CommaText());
    EXPECT_EQ(Lines(copy), QStringList{""});
}

TEST(TStrings, CommaTextParsingSplitsOnCommasAndBlanksOutsideQuotes)
{
    TStringList list;
    list.SetCommaText(QStringLiteral("  a, \"b c\" ,d e,,\"x\"\"y\",\"open"));
    EXPECT_EQ(Lines(list), (QStringList{"a", "b c", "d", "e", "", "x\"y", "open"}));
    list.SetCommaText(QStringLiteral("a,"));
    EXPECT_EQ(Lines(list), (QStringList{"a", ""}));
    list.SetCommaText(QStringLiteral(",a"));
    EXPECT_EQ(Lines(list), (QStringList{"", "a"}));
    list.SetCommaText(QStringLiteral("   "));
    EXPECT_EQ(list.Count(), 0);
}

TEST(TStrings, DelimitedTextUsesItsOwnDelimiterAndQuote)
{
    TStringList list;
    list.SetDelimiter(u';');
    list.SetQuoteChar(u'\'');
    Fill(list, {"a b", "c;d", "it's", "e,f"});
    EXPECT_EQ(list.DelimitedText(), QStringLiteral("'a b';'c;d';'it''s';e,f"));
    EXPECT_EQ(list.CommaText(), QStringLiteral("\"a b\",c;d,it's,\"e,f\""));

    list.SetDelimitedText(QStringLiteral("'x;y' z;;w"));
    EXPECT_EQ(Lines(list), (QStringList{"x;y", "z", "", "w"}));
}

TEST(TStrings, NamesAndValuesReadAndWriteNameValueLines)
{
    TStringList list;
    Fill(list, {"名称=铅笔", "Count=3", "plain", "url=a=b"});
    EXPECT_EQ(list.Names(0), QStringLiteral("名称"));
    EXPECT_EQ(list.Names(2), QString());
    EXPECT_EQ(list.Values(QStringLiteral("COUNT")), QStringLiteral("3"));
    EXPECT_EQ(list.Values(QStringLiteral("url")), QStringLiteral("a=b"));
    EXPECT_EQ(list.Values(QStringLiteral("missing")), QString());
    EXPECT_EQ(list.ValueFromIndex(2), QString());
    EXPECT_EQ(list.ValueFromIndex(-1), QString());
    EXPECT_EQ(list.IndexOfName(QStringLiteral("url")), 3);

    list.SetValues(QStringLiteral("count"), QStringLiteral("4"));
    list.SetValues(QStringLiteral("新"), QStringLiteral("1"));
    list.SetValues(QStringLiteral("名称"), QString());
    list.SetValues(QStringLiteral("absent"), QString());
    EXPECT_EQ(Lines(list), (QStringList{"count=4", "plain", "url=a=b", "新=1"}));

    list.SetNameValueSeparator(u':');
    list.Add(QStringLiteral("k:v"));
    EXPECT_EQ(list.Values(QStringLiteral("k")), QStringLiteral("v"));
    EXPECT_EQ(list.Values(QStringLiteral("url")), QString());
}

TEST(TStringList, SortedListKeepsPinyinOrderAndAppliesDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add(QStringLiteral("张三")), 0);
    EXPECT_EQ(list.Add(QStringLiteral("李四")), 0);
    EXPECT_EQ(list.Add(QStringLiteral("王五")), 1);
    EXPECT_EQ(list.Add(QStringLiteral("阿明")), 0);
    EXPECT_EQ(Lines(list), (QStringList{"阿明", "李四", "王五", "张三"}));

    EXPECT_EQ(list.Add(QStringLiteral("王五")), 2);
    EXPECT_EQ(list.Count(), 4);
    int index = -1;
    EXPECT_TRUE(list.Find(QStringLiteral("王五"), index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find(QStringLiteral("赵六"), index));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(list.IndexOf(QStringLiteral("赵六")), -1);

    list.SetDuplicates(TDuplicates::dupAccept);
    list.Add(QStringLiteral("李四"));
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.IndexOf(QStringLiteral("李四")), 1);

    list.SetDuplicates(TDuplicates::dupError);
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Add(QStringLiteral("张三")); }),
              "字符串列表不允许重复项");
    EXPECT_EQ(list.Count(), 5);
}

TEST(TStringList, SortedListRefusesPlacingTextsByHand)
{
    TStringList list;
    Fill(list, {"b", "a"});
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (QStringList{"a", "b"}));
    const std::string refused = "已排序的列表不允许此操作";
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Insert(0, QStringLiteral("c")); }), refused);
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.SetStrings(0, QStringLiteral("c")); }), refused);
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Move(0, 1); }), refused);
    EXPECT_EQ(Lines(list), (QStringList{"a", "b"}));
}

TEST(TStringList, CaseSensitivityGovernsSearch)
{
    TStringList list;
    Fill(list, {"abc", "B", "a"});
    EXPECT_EQ(list.IndexOf(QStringLiteral("ABC")), 0);
    list.SetSorted(true);
    EXPECT_EQ(list.IndexOf(QStringLiteral("b")), 2);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(QStringLiteral("b")), -1);
    EXPECT_EQ(list.IndexOf(QStringLiteral("B")), 2);
}

TEST(TStringList, SortAndCustomSortReorderTextsWithTheirObjects)
{
    TObject first, second, third;
    TStringList list;
    list.AddObject(QStringLiteral("赵六"), &first);
    list.AddObject(QStringLiteral("蔡文"), &second);
    list.AddObject(QStringLiteral("丁一二"), &third);
    list.Sort();
    EXPECT_EQ(Lines(list), (QStringList{"蔡文", "丁一二", "赵六"}));
    EXPECT_EQ(list.IndexOfObject(&first), 2);

    list.CustomSort([](TStringList* l, int i, int j) {
        return static_cast<int>(l->Strings(j).size() - l->Strings(i).size());
    });
    EXPECT_EQ(Lines(list), (QStringList{"丁一二", "蔡文", "赵六"}));
    EXPECT_EQ(list.Objects(0), &third);
}

TEST(TStringList, ObjectsFollowTheirTextsAndOwnedOnesAreFreed)
{
    int deaths = 0;
    {
        TStringList list(true);
        list.AddObject(QStringLiteral("a"), new TTracked(deaths));
        list.AddObject(QStringLiteral("b"), new TTracked(deaths));
        list.AddObject(QStringLiteral("c"), new TTracked(deaths));
        TObject* b = list.Objects(1);
        list.Move(1, 2);
        list.Exchange(0, 1);
        EXPECT_EQ(Lines(list), (QStringList{"c", "a", "b"}));
        EXPECT_EQ(list.Objects(2), b);
        list.Delete(2);
        EXPECT_EQ(deaths, 1);
        list.InsertObject(0, QStringLiteral("d"), new TTracked(deaths));
    }
    EXPECT_EQ(deaths, 4);

    TTracked kept(deaths);
    TStringList notOwning;
    notOwning.AddObject(QStringLiteral("x"), &kept);
    notOwning.Clear();
    EXPECT_EQ(deaths, 4);
}

TEST(TStringList, BadIndexesRaiseStringListErrorNamingTheIndex)
{
    TStringList list;
    Fill(list, {"a", "b"});
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Strings(2); }), "列表索引越界 (2)");
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Objects(-1); }), "列表索引越界 (-1)");
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Insert(3, QString()); }), "列表索引越界 (3)");
    list.Insert(2, QStringLiteral("c"));
    EXPECT_EQ(list.Count(), 3);
}

TEST(TStringList, ChangeEventsFireOncePerChangeOrOncePerBatch)
{
    TStringList list;
    std::vector<std::string> events;
    list.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        events.push_back("changing");
    };
    list.OnChange = [&](TObject*) { events.push_back("change"); };

    list.Add(QStringLiteral("a"));
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));

    events.clear();
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add(QStringLiteral("b"));
    list.EndUpdate();
    list.Delete(0);
    EXPECT_EQ(events, std::vector<std::string>{"changing"});
    list.EndUpdate();
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change"}));

    events.clear();
    list.SetCommaText(QStringLiteral("x,y,z"));
    list.Clear();
    list.Clear();
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change", "changing", "change"}));
}

TEST(TStringList, FailedBatchStillEndsItsUpdate)
{
    TStringList source;
    Fill(source, {"a", "a"});
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(TDuplicates::dupError);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    EXPECT_THROW(list.AddStrings(&source), EStringListError);
    EXPECT_EQ(changes, 1);
    list.Add(QStringLiteral("b"));
    EXPECT_EQ(changes, 2);
}

TEST(TStrings, AssignCopiesTextsObjectsAndSeparatorsOnly)
{
    TObject object;
    TStringList source;
    source.AddObject(QStringLiteral("k=v"), &object);
    source.Add(QStringLiteral("b"));
    source.SetDelimiter(u'|');
    source.SetNameValueSeparator(u':');

    TStringList target;
    target.Add(QStringLiteral("old"));
    target.Assign(&source);
    EXPECT_TRUE(target.Equals(&source));
    EXPECT_EQ(target.Objects(0), &object);
    EXPECT_EQ(target.DelimitedText(), QStringLiteral("k=v|b"));
    EXPECT_EQ(target.Names(0), QString());

    TPlainStrings plain;
    plain.Assign(&source);
    EXPECT_EQ(Lines(plain), Lines(source));
    target.AddStrings(&plain);
    EXPECT_EQ(target.Count(), 4);
    EXPECT_FALSE(target.Equals(&source));

    TPersistent other;
    EXPECT_EQ(MessageOf<EConvertError>([&] { target.Assign(&other); }),
              "不能将 TPersistent 赋给 TStringList");
}

TEST(TStrings, BaseClassBuildsEditsOnInsertAndDelete)
{
    TPlainStrings plain;
    Fill(plain, {"a", "b", "c", "d"});
    plain.SetStrings(0, QStringLiteral("A"));
    plain.Move(0, 3);
    plain.Exchange(0, 2);
    EXPECT_EQ(Lines(plain), (QStringList{"d", "c", "b", "A"}));
    EXPECT_EQ(plain.IndexOf(QStringLiteral("a")), 3);
    EXPECT_EQ(plain.IndexOfObject(nullptr), 0);
    EXPECT_EQ(plain.CommaText(), QStringLiteral("d,c,b,A"));
}
