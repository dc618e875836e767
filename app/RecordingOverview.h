// SPDX-License-Identifier: GPL-3.0-or-later
// The whole recording at a glance: its waveform, the steady stretch the
// report analyses shaded, and the selected cycle marked in red.
#pragma once

#include <cstddef>

#include "app/CachedPicture.h"
#include "recording/sound_input.h"
#include "recording/voice_report.h"

namespace tesmera {

class RecordingOverview : public CachedPicture {
    Q_OBJECT
  public:
    // Both records belong to the caller and outlive the widget.
    RecordingOverview(const MonoRecording& recording, const VoiceReport& report,
                      QWidget* parent = nullptr);

    void SetSelectedCycle(std::size_t index);

  protected:
    void DrawPicture(QPainter& painter, const QRect& area) override;

  private:
    const MonoRecording& recording_;
    const VoiceReport& report_;
    std::size_t selected_ = 0;
};

}  // namespace tesmera
