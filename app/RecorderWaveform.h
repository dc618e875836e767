// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder's live waveform: the last few seconds of the input as one
// column of extremes per slice, scrolling from the right as blocks arrive.
#pragma once

#include <deque>
#include <span>

#include <QWidget>

namespace tesmera {

class RecorderWaveform : public QWidget {
    Q_OBJECT
  public:
    // Shows the last `seconds` of input.
    explicit RecorderWaveform(double seconds, QWidget* parent = nullptr);

    // Empties the waveform for input at `rate` Hz.
    void Restart(int rate);
    void Append(std::span<const double> block);

    QSize sizeHint() const override { return {480, 120}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Slice {
        double Low = 0;
        double High = 0;
    };
    static constexpr int Slices = 500;  // kept, however wide the widget

    double seconds_;
    std::size_t sliceLength_ = 1;  // samples
    std::deque<Slice> slices_;
    Slice open_;                 // the slice being filled
    std::size_t openCount_ = 0;  // samples in it
};

}  // namespace tesmera
