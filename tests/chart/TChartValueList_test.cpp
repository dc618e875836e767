// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TChartValueList.h"

#include <vector>

#include <gtest/gtest.h>

#include "chart/TChartSeries.h"
#include "chart/chart_errors.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

std::vector<double> ReadAll(const TChartValueList& list) {
    std::vector<double> values;
    for (int i = 0; i < list.ValueCount(); ++i) {
        values.push_back(list.ValueAt(i));
    }
    return values;
}

struct OrderCase : test::NamedCase<OrderCase> {
    TChartListOrder order;
    std::vector<double> inserted;
    std::vector<int> indices;
    std::vector<double> reads;
};

class InsertOrderedTest : public testing::TestWithParam<OrderCase> {};

TEST_P(InsertOrderedTest, ReturnsIndicesAndKeepsOrder) {
    TChartSeries owner;
    TChartValueList list(owner, "L", GetParam().order);
    std::vector<int> indices;
    for (double value : GetParam().inserted) {
        indices.push_back(list.InsertOrdered(value));
    }
    EXPECT_EQ(indices, GetParam().indices);
    EXPECT_EQ(ReadAll(list), GetParam().reads);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, InsertOrderedTest,
    testing::Values(
        OrderCase{"ascending_3_1_2_2", loAscending, {3, 1, 2, 2}, {0, 0, 1, 2}, {1, 2, 2, 3}},
        OrderCase{"ascending_in_order", loAscending, {0, 1, 1, 5}, {0, 1, 2, 3}, {0, 1, 1, 5}},
        OrderCase{"descending_1_3_2_2", loDescending, {1, 3, 2, 2}, {0, 0, 1, 2}, {3, 2, 2, 1}},
        OrderCase{"none_keeps_insertion", loNone, {3, 1, 2}, {0, 1, 2}, {3, 1, 2}}),
    test::CaseName());

TEST(TChartValueListTest, EqualValueLandsAfterItsEquals) {
    TChartSeries owner;
    TChartValueList list(owner, "L", loAscending);
    list.InsertOrdered(2);
    list.InsertOrdered(2);
    list.InsertOrdered(5);
    EXPECT_EQ(list.InsertOrdered(2), 2);
}

TEST(TChartValueListTest, MultiplierScalesReadsAndStatistics) {
    TChartSeries owner;
    TChartValueList list(owner, "L", loNone);
    list.InsertOrdered(1);
    list.InsertOrdered(3);
    EXPECT_DOUBLE_EQ(list.HighestValue(), 3);
    list.SetMultiplier(2);
    EXPECT_TRUE(list.StatsStale());
    EXPECT_EQ(ReadAll(list), (std::vector<double>{2, 6}));
    EXPECT_DOUBLE_EQ(list.HighestValue(), 6);
    EXPECT_DOUBLE_EQ(list.LowestValue(), 2);
    EXPECT_FALSE(list.StatsStale());
}

TEST(TChartValueListTest, StatisticsOfMixedSigns) {
    TChartSeries owner;
    TChartValueList list(owner, "L", loNone);
    for (double value : {-2.0, 5.0, -7.0, 1.0}) {
        list.InsertOrdered(value);
    }
    EXPECT_DOUBLE_EQ(list.LowestValue(), -7);
    EXPECT_DOUBLE_EQ(list.HighestValue(), 5);
    EXPECT_DOUBLE_EQ(list.ValueSum(), -3);
    EXPECT_DOUBLE_EQ(list.AbsValueSum(), 15);
}

TEST(TChartValueListTest, EmptyListStatisticsAreZero) {
    TChartSeries owner;
    TChartValueList list(owner, "L", loNone);
    list.InsertOrdered(-4);
    EXPECT_DOUBLE_EQ(list.LowestValue(), -4);
    list.RemoveAllValues();
    EXPECT_TRUE(list.StatsStale());
    EXPECT_EQ(list.LowestValue(), 0);
    EXPECT_EQ(list.HighestValue(), 0);
    EXPECT_EQ(list.ValueSum(), 0);
    EXPECT_EQ(list.AbsValueSum(), 0);
}

TEST(TChartValueListTest, InsertValueAtShiftsLaterValues) {
    TChartSeries owner;
    TChartValueList list(owner, "L", loNone);
    list.InsertValueAt(0, 1);
    list.InsertValueAt(1, 3);
    list.InsertValueAt(1, 2);
    EXPECT_EQ(ReadAll(list), (std::vector<double>{1, 2, 3}));
}

TEST(TChartValueListTest, IndexOutsideIsRefusedWithTheListError) {
    TChartSeries owner;
    TChartValueList list(owner, "L", loNone);
    list.InsertOrdered(1);
    EXPECT_THROW(list.InsertValueAt(2, 9), ListIndexError);
    EXPECT_THROW(list.InsertValueAt(-1, 9), ListIndexError);
    EXPECT_EQ(list.ValueCount(), 1);
    try {
        list.ValueAt(5);
        FAIL();
    } catch (const ListIndexError& error) {
        EXPECT_STREQ(error.what(), "List index out of bounds (5)");
    }
}

}  // namespace
}  // namespace tesmera
