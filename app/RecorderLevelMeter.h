// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder's level meter: a bar from MeterFloorDbfs to 0 dBFS for the
// level, a mark for the held peak, red once the input clipped. It only
// draws the figures it is given.
#pragma once

#include <QWidget>

#include "recording/input_level.h"

namespace tesmera {

// The quietest level the bar shows, in dBFS.
constexpr double MeterFloorDbfs = -60.0;

class RecorderLevelMeter : public QWidget {
    Q_OBJECT
  public:
    explicit RecorderLevelMeter(QWidget* parent = nullptr);

    void Show(const InputLevel& level);

    QSize sizeHint() const override { return {480, 18}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The x of `dbfs` within the bar's `width`.
    static int Position(double dbfs, int width);

    InputLevel level_;
};

}  // namespace tesmera
