// The chart's window: a child widget that owns the chart and shows its frames.
#pragma once

#include <QWidget>

#include "chart/TChart.h"

namespace tesmera {

class TChartControl : public QWidget {
    Q_OBJECT
  public:
    explicit TChartControl(QWidget* parent = nullptr);

    TChart& Chart() { return chart_; }
    const TChart& Chart() const { return chart_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TChart chart_;
};

}  // namespace tesmera
