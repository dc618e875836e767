// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_recording.h"

#include <algorithm>
#include <cmath>

namespace tesmera {

namespace {

// The whole recording, or its middle LongestStretchSeconds, which bounds
// the samples held as the report's own excerpt does.
std::span<const double> MiddleSamples(ScannedRecording& recording) {
    const auto longest =
        static_cast<std::size_t>(std::llround(LongestStretchSeconds * recording.SampleRate()));
    const std::size_t count = std::min(recording.SampleCount(), longest);
    return recording.Samples((recording.SampleCount() - count) / 2, count);
}

}  // namespace

std::optional<CepstralPeakFrames> ReportedCepstralPeakProminence(ScannedRecording& recording,
                                                                 const MarkedStretch& stretch) {
    const double rate = recording.SampleRate();
    if (stretch.Outcome.Ok()) {
        return CepstralPeakProminenceFrames(stretch.Excerpt.Samples, rate, recording.Threads());
    }
    if (stretch.Outcome.Code == StatusCode::Silent) {
        return std::nullopt;
    }
    return CepstralPeakProminenceFrames(MiddleSamples(recording), rate, recording.Threads());
}

}  // namespace tesmera
