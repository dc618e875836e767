// SPDX-License-Identifier: GPL-3.0-or-later
// The value labels of an axis as a value: which values get a label, where they
// sit and what they read, for one frame's range, pixels and label settings.
// No fonts and no canvas: the caller says how long a label text is.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "chart/axis_scale.h"
#include "chart/label_format.h"

namespace tesmera {

// One value label: the value, its pixel along the axis and its text.
struct AxisTick {
    double Value = 0;
    int Pixel = 0;
    QString Text;
};

struct AxisTickInputs {
    AxisScale Scale;
    // The axis' own increment setting; 0 is automatic.
    double Increment = 0;
    // Percent of a label's size kept free between labels; 0 keeps the
    // starting increment.
    int LabelsSeparation = 0;
    // The first label sits on a whole multiple of the increment.
    bool RoundFirstLabel = true;
    // Labels beyond the axis ends are kept; otherwise those on or beyond an
    // end pixel are dropped.
    bool LabelsOnAxis = true;
    // The label picture ("#,##0.00") and the separators it is written with.
    QString Format;
    NumberSeparators Separators;
    // Pixels along the axis a label text takes: its width on a horizontal
    // axis, the line height on a vertical one.
    std::function<int(const QString&)> LabelSize;
};

// The text of the label at `value`.
QString TickText(const AxisTickInputs& inputs, double value);

// The distance between value labels on an axis of `axisLength` pixels. It is
// a parameter because the layout measures labels before the frame's pixels
// are placed, with the length of the previous frame.
double TickIncrement(const AxisTickInputs& inputs, int axisLength);

// `value` moved towards zero to a whole multiple of `increment`; the value
// itself when that multiple does not fit a double.
double RoundedToIncrement(double value, double increment);

struct AxisTicks {
    double Increment = 0;
    // From the highest value down.
    std::vector<AxisTick> Ticks;
};

// The value labels of the frame, with the increment chosen once for the
// axis' current length. An inverted range gives none, as does a range that
// would need 10000 labels or more.
AxisTicks ValueTicks(const AxisTickInputs& inputs);

}  // namespace tesmera
