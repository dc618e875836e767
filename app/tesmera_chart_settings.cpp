// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tesmera_chart_settings.h"

#include "app/locale_separators.h"
#include "app/tesmera_axis_settings.h"

namespace tesmera {

void ApplyTesmeraChartSettings(TChart& chart) {
    chart.SetColor(clBlack);
    chart.SetBevelOuter(bvLowered);
    chart.SetBevelInner(bvRaised);
    chart.SetBevelWidth(1);
    chart.SetBorderWidth(0);
    chart.SetView3D(false);
    chart.SetMargins({3, 4, 3, 4});

    TChartGradient& gradient = chart.Gradient();
    gradient.SetDirection(gdTopBottom);
    gradient.SetStartColor(clWhite);
    gradient.SetEndColor(clWhite);
    gradient.SetVisible(true);

    TChartFont& titleFont = chart.Title().Font();
    titleFont.SetName("Arial");
    titleFont.SetPixelHeight(11);
    titleFont.SetColor(clBlack);

    chart.BackWall().Brush().SetColor(clWhite);
    chart.BackWall().Brush().SetStyle(bsClear);

    chart.SetClipPoints(true);
    chart.SetAxisVisible(true);
    chart.SetScaleLastPage(false);
    chart.SetLabelSeparators(LocaleNumberSeparators());
    ApplyTesmeraAxisSettings(chart);
}

}  // namespace tesmera
