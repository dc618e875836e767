// SPDX-License-Identifier: GPL-3.0-or-later
// The chart level that adds the background gradient and the mouse zoom and
// scroll switches.
#pragma once

#include "chart/TChartGradient.h"
#include "chart/TCustomChartPanel.h"

namespace tesmera {

enum class TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

class TCustomChartPanelExtended : public TCustomChartPanel {
  public:
    TCustomChartPanelExtended();

    TChartGradient& Gradient() { return gradient_; }
    const TChartGradient& Gradient() const { return gradient_; }

    bool AllowZoom() const { return allowZoom_; }
    void SetAllowZoom(bool allow) { allowZoom_ = allow; }
    TPanningMode AllowPanning() const { return allowPanning_; }
    void SetAllowPanning(TPanningMode mode) { allowPanning_ = mode; }
    bool AnimatedZoom() const { return animatedZoom_; }
    void SetAnimatedZoom(bool animated) { animatedZoom_ = animated; }
    int AnimatedZoomSteps() const { return animatedZoomSteps_; }
    void SetAnimatedZoomSteps(int steps) { animatedZoomSteps_ = steps; }

  protected:
    // The gradient when it is visible, the panel Color otherwise.
    void FillPanelBackground(const TRect& rect) override;

  private:
    TChartGradient gradient_;
    bool allowZoom_ = true;
    TPanningMode allowPanning_ = TPanningMode::pmBoth;
    bool animatedZoom_ = false;
    int animatedZoomSteps_ = 8;
};

}  // namespace tesmera
