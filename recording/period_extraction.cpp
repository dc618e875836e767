// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/period_extraction.h"

#include "recording/voice_report.h"
#include "wave/peak_scaling.h"

namespace tesmera {

namespace {

constexpr double PeakSample = 32767;

}  // namespace

std::vector<std::int16_t> PeriodAs16Bit(std::span<const double> period) {
    return ScaledToPeak(period, PeakSample);
}

ExtractedPeriod ExtractPeriod(ScannedRecording& recording, std::optional<double> atSeconds) {
    VoiceReport report = ReportVoice(recording, atSeconds);
    const double middle = (report.StretchStartSeconds + report.StretchEndSeconds) / 2;
    const std::optional<std::size_t> chosen =
        AnalysedCycleNearest(report, atSeconds.value_or(middle));
    if (!chosen) {
        // A report without analysed cycles always says why.
        throw RecordingError(report.Outcome);
    }
    ReportedCycle& cycle = report.Cycles[*chosen];
    const double rate = recording.SampleRate();
    ExtractedPeriod extracted;
    extracted.Cycle = *chosen + 1;
    extracted.F0 = rate / (cycle.EndSample - cycle.StartSample);
    extracted.CutStartSeconds = cycle.StartSample / rate;
    extracted.CutEndSeconds = cycle.EndSample / rate;
    extracted.StretchStartSeconds = report.StretchStartSeconds;
    extracted.StretchEndSeconds = report.StretchEndSeconds;
    extracted.Samples = std::move(cycle.Period);
    return extracted;
}

ExtractedPeriod ExtractPeriod(const MonoRecording& recording, std::optional<double> atSeconds) {
    RecordingInMemory memory(recording.Samples, recording.SampleRate);
    return ExtractPeriod(memory, atSeconds);
}

}  // namespace tesmera
