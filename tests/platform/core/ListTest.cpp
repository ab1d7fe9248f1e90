// The pointer list: order, search, rearranging, stable sorting, capacity and index errors.
#include "platform/core/List.h"

#include "platform/core/Exceptions.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct TListTest : ::testing::Test {
    int a = 1, b = 2, c = 3, d = 4;
    TListOf<int> list;

    void Fill()
    {
        list.Add(&a);
        list.Add(&b);
        list.Add(&c);
    }

    std::vector<int> Values() const
    {
        std::vector<int> values;
        for (int i = 0; i < list.Count(); ++i)
            values.push_back(*list[i]);
        return values;
    }
};

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EListError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST_F(TListTest, AddInsertAndDeleteKeepOrder)
{
    Fill();
    EXPECT_EQ(list.Add(&d), 3);
    list.Insert(0, &d);
    list.Delete(2);
    EXPECT_EQ(Values(), (std::vector<int>{4, 1, 3, 4}));
    list.Insert(list.Count(), &a);
    EXPECT_EQ(list.First(), &d);
    EXPECT_EQ(list.Last(), &a);
}

TEST_F(TListTest, RemoveAndExtractFindTheFirstOccurrence)
{
    Fill();
    list.Add(&a);
    EXPECT_EQ(list.IndexOf(&a), 0);
    EXPECT_EQ(list.Remove(&a), 0);
    EXPECT_EQ(list.IndexOf(&a), 2);
    EXPECT_EQ(list.Extract(&b), &b);
    EXPECT_EQ(list.Extract(&b), nullptr);
    EXPECT_EQ(list.Remove(&d), -1);
    EXPECT_EQ(Values(), (std::vector<int>{3, 1}));
}

TEST_F(TListTest, ExchangeMoveAndSetItemsRearrange)
{
    Fill();
    list.Add(&d);
    list.Move(0, 3);
    EXPECT_EQ(Values(), (std::vector<int>{2, 3, 4, 1}));
    list.Move(3, 1);
    EXPECT_EQ(Values(), (std::vector<int>{2, 1, 3, 4}));
    list.Exchange(0, 3);
    list.SetItems(1, &c);
    EXPECT_EQ(Values(), (std::vector<int>{4, 3, 3, 2}));
}

TEST_F(TListTest, SortOrdersByCompareAndKeepsEqualItemsInPlace)
{
    int a2 = 1;
    list.Add(&c);
    list.Add(&a);
    list.Add(&b);
    list.Add(&a2);
    list.Sort([](int* x, int* y) { return *x - *y; });
    EXPECT_EQ(Values(), (std::vector<int>{1, 1, 2, 3}));
    EXPECT_EQ(list[0], &a);
    EXPECT_EQ(list[1], &a2);
}

TEST_F(TListTest, CapacityGrowsShrinksAndNeverDropsItems)
{
    Fill();
    list.SetCapacity(100);
    EXPECT_EQ(list.Capacity(), 100);
    list.SetCapacity(3);
    EXPECT_EQ(list.Capacity(), 3);
    EXPECT_EQ(Values(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(MessageOf([&] { list.SetCapacity(2); }), "列表容量越界 (2)");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

TEST_F(TListTest, BadIndexesRaiseListErrorNamingTheIndex)
{
    Fill();
    EXPECT_EQ(MessageOf([&] { list.Items(3); }), "列表索引越界 (3)");
    EXPECT_EQ(MessageOf([&] { list.Delete(-1); }), "列表索引越界 (-1)");
    EXPECT_EQ(MessageOf([&] { list.Insert(4, &d); }), "列表索引越界 (4)");
    EXPECT_EQ(MessageOf([&] { list.Move(1, 3); }), "列表索引越界 (3)");
    list.Clear();
    EXPECT_EQ(MessageOf([&] { list.First(); }), "列表索引越界 (0)");
    EXPECT_EQ(MessageOf([&] { list.Last(); }), "列表索引越界 (-1)");
}
