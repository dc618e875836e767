// The base of the chart: the repaint bookkeeping that every setting of the
// chart ends in. Nothing draws inside a setter: InvalidateChart only marks the
// picture stale and asks the platform for a later paint.
#pragma once

#include <functional>

namespace tesmera {

class TCustomChartPanel {
  public:
    TCustomChartPanel() = default;
    virtual ~TCustomChartPanel() = default;
    TCustomChartPanel(const TCustomChartPanel&) = delete;
    TCustomChartPanel& operator=(const TCustomChartPanel&) = delete;

    // Marks the buffered frame stale and asks the platform for a later paint.
    // Does nothing while RepaintEnabled is false (during construction).
    void InvalidateChart();
    bool RepaintEnabled() const { return repaintEnabled_; }
    bool BufferStale() const { return bufferStale_; }

    // How the chart asks its control for a later paint; the control merges any
    // number of requests into one paint.
    void SetRepaintRequest(std::function<void()> request) { repaintRequest_ = std::move(request); }

  protected:
    // Called once the most derived chart has finished constructing.
    void EnableRepaint() { repaintEnabled_ = true; }
    void MarkBufferCurrent() { bufferStale_ = false; }

  private:
    bool repaintEnabled_ = false;
    bool bufferStale_ = true;
    std::function<void()> repaintRequest_;
};

}  // namespace tesmera
