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
#include "app/waveform_picture.h"

namespace tesmera {

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

    // The height of the time axis under the waveform.
    static constexpr int AxisHeight = 14;

  protected:
    void DrawLayer(QPainter& painter, const QRect& area) override;
    void Compose(QPainter& painter, const QRect& area, const QImage& layer) override;

  private:
    // The whole recording over the picture's inner columns.
    SampleAxis Axis(const QRect& inner) const;

    // The waveform's part of the picture: all but the time axis.
    static QRect WaveArea(const QRect& area);
    void DrawTimeAxis(QPainter& painter, const QRect& area, const SampleAxis& axis) const;

    const RecordingModel& model_;
    std::size_t selected_ = 0;
    double viewFirst_ = 0;
    double viewEnd_ = 0;
    bool wholeView_ = true;
    std::optional<double> playing_;
};

}  // namespace tesmera
