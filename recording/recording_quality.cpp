// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/recording_quality.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "analysis/number_text.h"
#include "base/TesmeraError.h"
#include "recording/stretch_spectrum.h"

namespace tesmera {

namespace {

// One step of a 16-bit converter, full scale 1.
constexpr double SixteenBitStep = 1.0 / 32768;
// A clipped converter holds its extreme value for several samples; a clean
// peak at a high rate may repeat twice.
constexpr std::size_t ClippedRun = 3;
// Pauses quieter than a 16-bit converter's own rounding noise are digital
// silence.
constexpr double DigitalSilencePower = SixteenBitStep * SixteenBitStep / 12;
// The span measured around each unvoiced frame: one voicing frame.
constexpr double PauseWindowSeconds = 0.05;
constexpr double PauseQuantile = 0.1;
// The ratio given when no noise is found at all.
constexpr double MaxSnrDb = 120;

double MeanPower(std::span<const double> samples) {
    if (samples.empty()) {
        return 0;
    }
    const double n = static_cast<double>(samples.size());
    double sum = 0;
    double squares = 0;
    for (const double v : samples) {
        sum += v;
        squares += v * v;
    }
    const double mean = sum / n;
    return std::max(0.0, squares / n - mean * mean);
}

double SnrFromPowers(double voice, double noise) {
    if (noise <= 0) {
        return MaxSnrDb;
    }
    const double ratio = std::max(voice - noise, 0.0) / noise;
    return ratio > 0 ? std::min(MaxSnrDb, 10 * std::log10(ratio)) : -MaxSnrDb;
}

double ClippedShareOf(std::span<const double> samples) {
    if (samples.empty()) {
        return 0;
    }
    const auto [lowest, highest] = std::minmax_element(samples.begin(), samples.end());
    std::size_t clipped = 0;
    for (std::size_t i = 0; i < samples.size();) {
        const double value = samples[i];
        std::size_t end = i + 1;
        while (end < samples.size() && samples[end] == value) {
            ++end;
        }
        const bool heldExtreme =
            end - i >= ClippedRun && value != 0 && (value == *lowest || value == *highest);
        if (heldExtreme || std::abs(value) >= 1 - SixteenBitStep) {
            clipped += end - i;
        }
        i = end;
    }
    return static_cast<double>(clipped) / static_cast<double>(samples.size());
}

// The noise power of the pauses outside the stretch (see RecordingQuality::SnrDb),
// or nothing when they are too short or digitally silent.
std::optional<double> PauseNoisePower(const MarkedStretch& stretch, double rate,
                                      std::span<const VoicingFrame> frames) {
    const double half = PauseWindowSeconds / 2;
    const std::size_t window = static_cast<std::size_t>(std::round(PauseWindowSeconds * rate));
    std::vector<double> powers;
    for (const VoicingFrame& frame : frames) {
        const bool outside =
            frame.Time + half <= stretch.StartSeconds || frame.Time - half >= stretch.EndSeconds;
        if (frame.Voiced || !outside) {
            continue;
        }
        const std::span<const double> part =
            ExcerptPart(stretch.Excerpt, rate, frame.Time - half, frame.Time + half);
        // Frames the excerpt does not hold whole are not measured; rounding
        // the ends to samples may lose one.
        if (part.size() + 1 >= window) {
            powers.push_back(MeanPower(part));
        }
    }
    if (powers.size() < PauseFrames) {
        return std::nullopt;
    }
    const auto quantile =
        powers.begin() +
        static_cast<std::ptrdiff_t>(PauseQuantile * static_cast<double>(powers.size() - 1));
    std::nth_element(powers.begin(), quantile, powers.end());
    if (*quantile < DigitalSilencePower) {
        return std::nullopt;
    }
    return *quantile;
}

void RequireMarkedStretch(const MarkedStretch& stretch) {
    if (!stretch.Outcome.Ok() || stretch.Marks.size() < 2) {
        throw TesmeraError("the quality of a recording is judged on its stretch: " +
                           stretch.Outcome.Text);
    }
}

bool NothingAboveHighBand(const AveragedSpectrum& spectrum) {
    const auto firstHigh = static_cast<std::size_t>(std::ceil(HighBandHz / spectrum.BinHz));
    const double total = spectrum.Total();
    return total > 0 && spectrum.Total(firstHigh) < HighBandFloor * total;
}

}  // namespace

std::string RecordingQuality::Verdict() const {
    if (!Poor()) {
        return SnrDb ? "good" : "good (noise not measured: no pause)";
    }
    std::vector<std::string> reasons;
    if (Noisy()) {
        reasons.push_back("noise (SNR " + FixedText(*SnrDb, 15, 0, ".") + " dB)");
    }
    if (Clipped()) {
        reasons.push_back("clipped (" + FixedText(100 * ClippedShare, 15, 1, ".") +
                          " % of samples)");
    }
    if (BandLimited) {
        reasons.push_back(SampleRate < LowestFullBandRate
                              ? "band-limited (" + FixedText(SampleRate / 1000.0, 15, 0, ".") +
                                    " kHz rate)"
                              : "band-limited (nothing above 4 kHz)");
    }
    std::string text = "poor: ";
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        text += (i == 0 ? "" : ", ") + reasons[i];
    }
    return text;
}

RecordingQuality AssessRecordingQuality(const MarkedStretch& stretch, std::int32_t rate,
                                        std::span<const VoicingFrame> frames) {
    RequireMarkedStretch(stretch);
    return AssessRecordingQuality(stretch, rate, frames, StretchSpectrum(stretch, rate));
}

RecordingQuality AssessRecordingQuality(const MarkedStretch& stretch, std::int32_t rate,
                                        std::span<const VoicingFrame> frames,
                                        const AveragedSpectrum& spectrum) {
    RequireMarkedStretch(stretch);
    const double r = rate;
    RecordingQuality quality;
    quality.SampleRate = rate;
    quality.ClippedShare = ClippedShareOf(stretch.Excerpt.Samples);
    quality.BandLimited = rate < LowestFullBandRate || NothingAboveHighBand(spectrum);
    if (const std::optional<double> pause = PauseNoisePower(stretch, r, frames)) {
        const std::span<const double> voice =
            ExcerptPart(stretch.Excerpt, r, stretch.StartSeconds, stretch.EndSeconds);
        quality.SnrDb = SnrFromPowers(MeanPower(voice), *pause);
    }
    return quality;
}

}  // namespace tesmera
