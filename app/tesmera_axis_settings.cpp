// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tesmera_axis_settings.h"

#include <memory>

namespace tesmera {

namespace {

void ApplyWindowAxisLines(TChartAxis& axis) {
    axis.Grid().SetStyle(psSolid);
    axis.SetMinorTickLength(0);
}

}  // namespace

void ApplyTesmeraAxisSettings(TChart& chart) {
    TChartAxis& left = chart.LeftAxis();
    ApplyWindowAxisLines(left);
    left.SetLabelStyle(talValue);
    left.SetAxisValuesFormat(QStringLiteral("#,##0.00"));
    ApplyWindowAxisLines(chart.BottomAxis());
}

TBarSeries& AddTesmeraBarSeries(TChart& chart) {
    auto series = std::make_unique<TBarSeries>();
    series->Marks().SetVisible(false);
    series->Marks().SetArrowLength(20);
    series->SetSeriesColor(clBlue);
    series->SetTitle(QStringLiteral("Series1"));
    for (TChartValueList* list : series->ValueLists()) {
        list->SetMultiplier(1.0);
        list->SetDateTime(false);
    }
    series->XValues().SetName(QStringLiteral("X"));
    series->XValues().SetOrder(loAscending);
    series->YValues().SetName(QStringLiteral("Bar"));
    series->YValues().SetOrder(loNone);
    return chart.AddSeries(std::move(series));
}

}  // namespace tesmera
