// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/saved_axis_scales.h"

#include "chart/TCustomAxisPanel.h"

namespace tesmera {

namespace {

std::array<TChartAxis*, 4> SideAxes(TCustomAxisPanel& chart) {
    return {&chart.TopAxis(), &chart.BottomAxis(), &chart.LeftAxis(), &chart.RightAxis()};
}

}  // namespace

void TSavedAxisScales::Store(TCustomAxisPanel& chart) {
    const auto axes = SideAxes(chart);
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const TChartAxis& axis = *axes[i];
        scales_[i] = {axis.Automatic(), axis.AutomaticMinimum(), axis.AutomaticMaximum(),
                      axis.Minimum(), axis.Maximum()};
    }
}

void TSavedAxisScales::Recall(TCustomAxisPanel& chart) const {
    const auto axes = SideAxes(chart);
    for (std::size_t i = 0; i < axes.size(); ++i) {
        TChartAxis& axis = *axes[i];
        const TAxisScale& saved = scales_[i];
        axis.SetAutomatic(saved.automatic);
        axis.SetAutomaticMinimum(saved.automaticMinimum);
        axis.SetAutomaticMaximum(saved.automaticMaximum);
        if (!saved.automatic) {
            axis.SetAxisRange(saved.minimum, saved.maximum);
        }
    }
}

}  // namespace tesmera
