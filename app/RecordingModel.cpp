// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordingModel.h"

#include <algorithm>
#include <cmath>

namespace tesmera {

SampleSpan StretchSpan(const VoiceReport& report, std::int32_t rate) {
    const double samplesPerSecond = rate;
    return {static_cast<std::size_t>(
                std::max(0.0, std::floor(report.StretchStartSeconds * samplesPerSecond))),
            static_cast<std::size_t>(
                std::max(0.0, std::ceil(report.StretchEndSeconds * samplesPerSecond)))};
}

RecordingModel ModelRecording(ScannedRecording& recording) {
    RecordingModel model;
    model.SampleRate = recording.SampleRate();
    model.SampleCount = recording.SampleCount();
    model.Envelope = recording.Envelope();
    model.Report = ReportVoice(recording);
    // Off the window's thread, ready for a comparison with another take.
    EstimateSpreads(model.Report, recording.Threads());
    if (!model.Report.Cycles.empty()) {
        const SampleSpan span = StretchSpan(model.Report, model.SampleRate);
        const std::span<const double> stretch =
            recording.Samples(span.First, span.End - std::min(span.End, span.First));
        model.StretchFirst = span.First;
        model.Stretch.assign(stretch.begin(), stretch.end());
    }
    return model;
}

}  // namespace tesmera
