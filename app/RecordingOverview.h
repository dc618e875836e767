// SPDX-License-Identifier: GPL-3.0-or-later
// The whole recording at a glance: its waveform over a time axis in
// seconds, the steady stretch the report analyses shaded, the part the
// detail view shows framed, and the selected cycle marked in red. The
// waveform comes from the recording's outline and is drawn once per size;
// a new selection or view only marks over it.
#pragma once

#include <cstddef>
#include <optional>

#include "app/CachedPicture.h"
#include "app/RecordingModel.h"
#include "report_page/overview_painting.h"

namespace tesmera {

// What the overview draws of the model's recording.
OverviewSource ModelOverview(const RecordingModel& model);

class RecordingOverview : public CachedPicture {
    Q_OBJECT
  public:
    // The model belongs to the caller and outlives the widget.
    explicit RecordingOverview(const RecordingModel& model, QWidget* parent = nullptr);

    void SetSelectedCycle(std::size_t index);
    // Frames the samples [first, end) the detail view shows; nothing when it
    // shows the whole stretch.
    void SetView(double first, double end, bool whole);
    // Marks the sample being played with a line; nothing when none plays.
    void SetPlayingAt(std::optional<double> sample);

  protected:
    void DrawLayer(QPainter& painter, const QRect& area) override;
    void Compose(QPainter& painter, const QRect& area, const QImage& layer) override;

  private:
    const RecordingModel& model_;
    std::size_t selected_ = 0;
    double viewFirst_ = 0;
    double viewEnd_ = 0;
    bool wholeView_ = true;
    std::optional<double> playing_;
};

}  // namespace tesmera
