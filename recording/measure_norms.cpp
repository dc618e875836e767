// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/measure_norms.h"

#include <array>
#include <iterator>

#include "analysis/number_text.h"

namespace tesmera {

namespace {

constexpr double Percent = 100;
constexpr double MicrosecondsPerSecond = 1e6;

// The MDVP thresholds were found with peak-picking, which counts additive
// noise as jitter; Praat's manual expects the right threshold for its
// waveform matching to be lower, so a value under them is not proof of a
// healthy voice.
constexpr std::string_view MdvpSource = "MDVP, in the Praat manual";
constexpr std::string_view MdvpCaveat =
    "threshold for peak-picking analysis; for Praat's own measure probably lower";

constexpr MeasureNorm Norms[] = {
    {"f0_mean_hz", "F0 mean", "Hz", 2, std::nullopt, OutsideWhen::AtOrAbove,
     "about 120 Hz (men), 206 Hz (women)", "Rev. Bras. Otorrinolaringol. 2006",
     "depends on sex (not known here, so never marked); means of young adults' /a/"},
    {"jitter_local_pct", "jitter local", "%", 3, 1.04, OutsideWhen::AtOrAbove, "below 1.04 %",
     MdvpSource, MdvpCaveat},
    {"jitter_local_abs_us", "jitter absolute", "µs", 1, 83.2, OutsideWhen::AtOrAbove,
     "below 83.2 µs", MdvpSource, MdvpCaveat},
    {"jitter_rap_pct", "jitter RAP", "%", 3, 0.68, OutsideWhen::AtOrAbove, "below 0.68 %",
     MdvpSource, MdvpCaveat},
    {"jitter_ppq5_pct", "jitter PPQ5", "%", 3, 0.84, OutsideWhen::AtOrAbove, "below 0.84 %",
     MdvpSource, MdvpCaveat},
    {"shimmer_local_pct", "shimmer local", "%", 3, 3.81, OutsideWhen::AtOrAbove, "below 3.81 %",
     MdvpSource, MdvpCaveat},
    {"shimmer_local_db", "shimmer local dB", "dB", 3, 0.35, OutsideWhen::AtOrAbove, "below 0.35 dB",
     MdvpSource, MdvpCaveat},
    {"shimmer_apq3_pct", "shimmer APQ3", "%", 3, std::nullopt, OutsideWhen::AtOrAbove,
     "no published threshold", "", "MDVP's 3.07 % is for the 11-point APQ, not this one"},
    {"shimmer_apq5_pct", "shimmer APQ5", "%", 3, std::nullopt, OutsideWhen::AtOrAbove,
     "no published threshold", "", "MDVP's 3.07 % is for the 11-point APQ, not this one"},
    {"hnr_db", "HNR", "dB", 2, std::nullopt, OutsideWhen::Below, "about 20 dB in a healthy /a/",
     "Praat manual", "hoarse voices much lower; not a cut-off"},
    {"cpps_db", "CPPS", "dB", 2, 14.45, OutsideWhen::Below, "14.45 dB or more",
     "Murton et al. 2020", "Praat's CPPS on sustained /a/, English speakers"},
    {"avqi", "AVQI", "", 2, AvqiDysphonicThreshold, OutsideWhen::AtOrAbove, "below 2.43",
     "Barsties & Maryn 2016", "Dutch speakers; other languages have their own thresholds"},
};
constexpr std::size_t NormCount = std::size(Norms);

// The value of one measure in its norm's unit, in MeasureNorms() order.
std::array<std::optional<double>, NormCount> Values(const VoiceReport& r) {
    const auto scaled = [](const std::optional<double>& value, double scale) {
        return value ? std::optional<double>(*value * scale) : std::nullopt;
    };
    // Cycle-based figures exist once a report reached its cycles; CPPS and
    // AVQI need none.
    const bool cycles = r.AnalysedCycles > 0;
    const auto cycled = [cycles](std::optional<double> value) {
        return cycles ? value : std::nullopt;
    };
    return {cycled(r.F0MeanHz),
            cycled(scaled(r.Jitter.Local, Percent)),
            cycled(scaled(r.Jitter.LocalAbsolute, MicrosecondsPerSecond)),
            cycled(scaled(r.Jitter.Rap, Percent)),
            cycled(scaled(r.Jitter.Ppq5, Percent)),
            cycled(scaled(r.Shimmer.Local, Percent)),
            cycled(r.Shimmer.LocalDb),
            cycled(scaled(r.Shimmer.Apq3, Percent)),
            cycled(scaled(r.Shimmer.Apq5, Percent)),
            cycled(r.HnrDb),
            r.CppsDb,
            r.Avqi ? std::optional<double>(r.Avqi->Avqi) : std::nullopt};
}

}  // namespace

std::span<const MeasureNorm> MeasureNorms() {
    return Norms;
}

bool OutsideNorm(const MeasureNorm& norm, double value) {
    if (!norm.Threshold) {
        return false;
    }
    return norm.Outside == OutsideWhen::Below ? value < *norm.Threshold : value >= *norm.Threshold;
}

std::vector<MeasureLine> MeasureLines(const VoiceReport& report) {
    const auto values = Values(report);
    std::vector<MeasureLine> lines;
    for (std::size_t i = 0; i < NormCount; ++i) {
        if (Norms[i].Key == "avqi" && !report.Avqi) {
            continue;
        }
        const std::optional<double>& value = values[i];
        lines.push_back({&Norms[i], value, value && OutsideNorm(Norms[i], *value)});
    }
    return lines;
}

std::string MeasureValueText(const MeasureLine& line, std::string_view decimal) {
    if (!line.Value) {
        return "n/a";
    }
    std::string text = FixedText(*line.Value, 15, line.Norm->Digits, decimal);
    if (!line.Norm->Unit.empty()) {
        text += " " + std::string(line.Norm->Unit);
    }
    return text;
}

}  // namespace tesmera
