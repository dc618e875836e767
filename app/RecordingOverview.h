// SPDX-License-Identifier: GPL-3.0-or-later
// The whole recording at a glance: its waveform, the steady stretch the
// report analyses shaded, and the selected cycle marked in red. The
// waveform comes from the recording's outline and is drawn once per size;
// a new selection only marks another cycle over it.
#pragma once

#include <cstddef>

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

  protected:
    void DrawLayer(QPainter& painter, const QRect& area) override;
    void Compose(QPainter& painter, const QRect& area, const QImage& layer) override;

  private:
    // The whole recording over the picture's inner columns.
    SampleAxis Axis(const QRect& inner) const;

    const RecordingModel& model_;
    std::size_t selected_ = 0;
};

}  // namespace tesmera
