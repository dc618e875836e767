// SPDX-License-Identifier: GPL-3.0-or-later
// Every owner of settings stores through the same compare-and-notify step:
// setting the value a field already has asks for no repaint, a new value for
// exactly one.
#include "chart/TChangeNotifier.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "chart/TBarSeries.h"
#include "chart/TChart.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

struct SetterCase : test::NamedCase<SetterCase> {
    // Sets the field to its current value, then to a new one.
    std::function<void(TChart&, TBarSeries&)> keep;
    std::function<void(TChart&, TBarSeries&)> change;
};

class ChangeNotificationTest : public testing::TestWithParam<SetterCase> {};

TEST_P(ChangeNotificationTest, RepaintsOnlyOnARealChange) {
    TChart chart;
    TBarSeries& bars = chart.AddSeries(std::make_unique<TBarSeries>());
    int requests = 0;
    chart.SetRepaintRequest([&requests] { ++requests; });
    GetParam().keep(chart, bars);
    EXPECT_EQ(requests, 0);
    GetParam().change(chart, bars);
    EXPECT_EQ(requests, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Owners, ChangeNotificationTest,
    testing::Values(
        SetterCase{"chart", [](TChart& c, TBarSeries&) { c.SetAxisVisible(true); },
                   [](TChart& c, TBarSeries&) { c.SetAxisVisible(false); }},
        SetterCase{"axis", [](TChart& c, TBarSeries&) { c.LeftAxis().SetInverted(false); },
                   [](TChart& c, TBarSeries&) { c.LeftAxis().SetInverted(true); }},
        SetterCase{"series_title", [](TChart&, TBarSeries& b) { b.SetTitle(""); },
                   [](TChart&, TBarSeries& b) { b.SetTitle("Series1"); }},
        SetterCase{"series_axis", [](TChart&, TBarSeries& b) { b.SetVertAxis(aLeftAxis); },
                   [](TChart&, TBarSeries& b) { b.SetVertAxis(aRightAxis); }},
        SetterCase{"bar_style",
                   [](TChart&, TBarSeries& b) { b.SetBarStyle(TBarStyle::bsRectangle); },
                   [](TChart&, TBarSeries& b) { b.SetBarStyle(TBarStyle::bsPyramid); }},
        SetterCase{"value_list_multiplier",
                   [](TChart&, TBarSeries& b) { b.YValues().SetMultiplier(1); },
                   [](TChart&, TBarSeries& b) { b.YValues().SetMultiplier(2); }},
        SetterCase{"pen", [](TChart& c, TBarSeries&) { c.LeftAxis().Grid().SetWidth(1); },
                   [](TChart& c, TBarSeries&) { c.LeftAxis().Grid().SetWidth(2); }}),
    test::CaseName());

TEST(ChangeNotification, SeriesAxisChoiceMovesItsPoints) {
    TChart chart;
    TBarSeries& bars = chart.AddSeries(std::make_unique<TBarSeries>());
    EXPECT_EQ(bars.ResolvedVertAxis(), &chart.LeftAxis());
    bars.SetVertAxis(aRightAxis);
    EXPECT_EQ(bars.ResolvedVertAxis(), &chart.RightAxis());
    bars.SetHorizAxis(aTopAxis);
    EXPECT_EQ(bars.ResolvedHorizAxis(), &chart.TopAxis());
}

TEST(ChangeNotification, MultiplierMarksTheStatisticsStale) {
    TChart chart;
    TBarSeries& bars = chart.AddSeries(std::make_unique<TBarSeries>());
    bars.AppendValue(3, "1", clBlue);
    EXPECT_DOUBLE_EQ(bars.YValues().HighestValue(), 3);
    bars.YValues().SetMultiplier(2);
    EXPECT_DOUBLE_EQ(bars.YValues().HighestValue(), 6);
}

}  // namespace
}  // namespace tesmera
