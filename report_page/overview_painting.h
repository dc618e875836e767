// SPDX-License-Identifier: GPL-3.0-or-later
// The still part of a recording's overview: its waveform over a time axis
// in seconds with the steady stretch the report analyses shaded. The
// recording window marks its selection over it; the clinical page shows it
// as it is.
#pragma once

#include <cstddef>
#include <cstdint>

#include <QImage>
#include <QRect>
#include <QSize>

#include "recording/SampleEnvelope.h"
#include "report_page/waveform_picture.h"

class QPainter;

namespace tesmera {

// What the overview draws of a recording; the envelope belongs to the caller.
struct OverviewSource {
    const SampleEnvelope& Envelope;  // of the whole recording
    std::size_t SampleCount = 0;
    std::int32_t SampleRate = 0;  // Hz
    double StretchStartSeconds = 0;
    double StretchEndSeconds = 0;
};

// The height in pixels of the time axis under the waveform.
constexpr int OverviewAxisHeight = 14;

// The waveform's part of an overview drawn on `area`: all but the time axis.
QRect OverviewWaveArea(const QRect& area);
// The waveform's columns inside its one-pixel frame.
QRect OverviewInnerArea(const QRect& area);
// The whole recording of `sampleCount` samples over the columns of `inner`.
SampleAxis OverviewAxis(const QRect& inner, std::size_t sampleCount);

// Draws the overview on `area`: shaded stretch, centre line, waveform,
// frame and the time axis under it.
void DrawOverview(QPainter& painter, const QRect& area, const OverviewSource& source);

// The overview alone on white, `size` pixels large, for a page to show.
QImage OverviewPicture(const OverviewSource& source, const QSize& size);

}  // namespace tesmera
