// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tesmera_axis_settings.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "app/tesmera_chart_settings.h"

namespace tesmera {
namespace {

TEST(TesmeraAxisSettings, WindowChartGetsItsAxisSettings) {
    TChart chart;
    ApplyTesmeraChartSettings(chart);
    const TChartAxis& left = chart.LeftAxis();
    EXPECT_EQ(left.LabelStyle(), talValue);
    EXPECT_EQ(left.AxisValuesFormat(), "#,##0.00");
    EXPECT_EQ(left.Grid().Style(), psSolid);
    EXPECT_EQ(left.MinorTickLength(), 0);
    const TChartAxis& bottom = chart.BottomAxis();
    EXPECT_EQ(bottom.LabelStyle(), talAuto);
    EXPECT_EQ(bottom.AxisValuesFormat(), "#,##0.###");
    EXPECT_EQ(bottom.Grid().Style(), psSolid);
    EXPECT_EQ(bottom.MinorTickLength(), 0);
    EXPECT_EQ(chart.TopAxis().Grid().Style(), psDot);
}

TEST(TesmeraChartSettings, LabelsTakeTheSeparatorsOfTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TChart chart;
    ApplyTesmeraChartSettings(chart);
    QLocale::setDefault(saved);
    EXPECT_EQ(chart.LeftAxis().LabelText(1234.5), "1.234,50");
}

TEST(TesmeraAxisSettings, BarSeries1) {
    TChart chart;
    const TBarSeries& bars = AddTesmeraBarSeries(chart);
    EXPECT_EQ(chart.SeriesCount(), 1);
    EXPECT_EQ(bars.ParentChart(), &chart);
    EXPECT_EQ(bars.SeriesColor(), clBlue);
    EXPECT_EQ(bars.Title(), "Series1");
    EXPECT_FALSE(bars.Marks().Visible());
    EXPECT_EQ(bars.Marks().ArrowLength(), 20);
    EXPECT_EQ(bars.XValues().Name(), "X");
    EXPECT_EQ(bars.YValues().Name(), "Bar");
    EXPECT_EQ(bars.YValues().Order(), loNone);
    EXPECT_EQ(bars.ResolvedHorizAxis(), &chart.BottomAxis());
    EXPECT_EQ(bars.ResolvedVertAxis(), &chart.LeftAxis());
    EXPECT_EQ(bars.BarWidthPercent(), 70);
}

}  // namespace
}  // namespace tesmera
