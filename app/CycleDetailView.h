// SPDX-License-Identifier: GPL-3.0-or-later
// The steady stretch in detail: its waveform with every cycle mark, the
// cycles left out of the analysis greyed and the selected cycle
// highlighted. Left and Right (Home, End) choose the neighbouring (first,
// last) cycle and a click chooses the cycle under the mouse; the window
// decides what a choice selects. The view zooms (Ctrl+wheel around the
// mouse, + and - around the selected cycle) from the whole stretch down to
// a typical cycle MinimumCyclePixels wide, scrolls with the wheel, and
// moves to keep the selected cycle in sight. The waveform and the marks are
// drawn once per size and view; a new selection only shades and marks
// another cycle.
#pragma once

#include <cstddef>

#include "app/CachedPicture.h"
#include "app/RecordingModel.h"
#include "app/ViewRange.h"
#include "report_page/waveform_picture.h"

namespace tesmera {

// Grades 1 (healthy) to 5 from green to red, as the grade strips show them.
QColor GradeColor(std::int32_t grade);

class CycleDetailView : public CachedPicture {
    Q_OBJECT
  public:
    // The model belongs to the caller and outlives the widget; its report
    // has at least one cycle.
    explicit CycleDetailView(const RecordingModel& model, QWidget* parent = nullptr);

    // `about` describes the cycle (its time, length, F0 and whether it was
    // analysed) for a screen reader.
    void SetSelectedCycle(std::size_t index, const QString& about);
    // The samples in view over the picture's inner columns.
    SampleAxis Axis() const;
    const ViewRange& View() const { return view_; }
    // The view starting at sample `first` (kept inside the stretch).
    void ScrollTo(double first);
    // Scales the view's span by `factor` (below 1 zooms in), keeping the
    // sample `anchor` where it is.
    void ZoomBy(double factor, double anchor);

    // Of the report's cycles, in samples: the shortest sets the F0 strip's
    // top, the longest its bottom, and the median, a typical cycle, the
    // closest zoom.
    struct CycleLengths {
        double Shortest;
        double Median;
        double Longest;
    };

    // The width a typical cycle gets at the closest zoom.
    static constexpr int MinimumCyclePixels = 40;
    // The strips under the waveform: F0, then a grade row per model.
    static constexpr int F0StripHeight = 24;
    static constexpr int GradeStripHeight = 5;
    static constexpr int StripsHeight =
        2 + F0StripHeight + static_cast<int>(ScoreModelCount) * GradeStripHeight;

  signals:
    void CycleChosen(std::size_t index);
    // The view moved or was zoomed.
    void ViewChanged();

  protected:
    void DrawLayer(QPainter& painter, const QRect& area) override;
    void Compose(QPainter& painter, const QRect& area, const QImage& layer) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void ShadeCycles(QPainter& painter, const QRect& inner, const SampleAxis& axis);
    void DrawMarks(QPainter& painter, const QRect& inner, const SampleAxis& axis);
    void DrawStrips(QPainter& painter, const QRect& strips, const SampleAxis& axis);
    // The waveform's part of the picture, inside the frame, above the strips.
    static QRect WaveArea(const QRect& area);

    // Redraws after the view changed from `before`, and tells the window.
    void ViewMoved(const ViewRange& before);

    const RecordingModel& model_;
    const VoiceReport& report_;
    CycleLengths cycleLengths_;
    ViewRange view_;
    std::size_t selected_ = 0;
};

}  // namespace tesmera
