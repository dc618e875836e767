// SPDX-License-Identifier: GPL-3.0-or-later
// The steady stretch in detail: its waveform with every cycle mark, the
// cycles left out of the analysis greyed and the selected cycle
// highlighted. Left and Right (Home, End) choose the neighbouring (first,
// last) cycle and a click chooses the cycle under the mouse; the window
// decides what a choice selects. The waveform and the marks are drawn once
// per size; a new selection only shades and marks another cycle.
#pragma once

#include <cstddef>

#include "app/CachedPicture.h"
#include "app/RecordingModel.h"
#include "app/waveform_picture.h"

namespace tesmera {

class CycleDetailView : public CachedPicture {
    Q_OBJECT
  public:
    // The model belongs to the caller and outlives the widget; its report
    // has at least one cycle.
    explicit CycleDetailView(const RecordingModel& model, QWidget* parent = nullptr);

    // `about` describes the cycle (its time, length, F0 and whether it was
    // analysed) for a screen reader.
    void SetSelectedCycle(std::size_t index, const QString& about);
    // The stretch's samples over the picture's inner columns.
    SampleAxis Axis() const;

  signals:
    void CycleChosen(std::size_t index);

  protected:
    void DrawLayer(QPainter& painter, const QRect& area) override;
    void Compose(QPainter& painter, const QRect& area, const QImage& layer) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void ShadeCycles(QPainter& painter, const QRect& inner, const SampleAxis& axis);
    void DrawMarks(QPainter& painter, const QRect& inner, const SampleAxis& axis);

    const RecordingModel& model_;
    const VoiceReport& report_;
    std::size_t selected_ = 0;
};

}  // namespace tesmera
