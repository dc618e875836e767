// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voiced_speech.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/TesmeraError.h"
#include "recording/sampled_mean.h"
#include "recording/sounding_intervals.h"

namespace tesmera {

namespace {

constexpr double WindowSeconds = 0.03;
constexpr double PowerShare = 30.0 / 100;
constexpr double MaximumCrossingRate = 3000;  // per second
constexpr double CountFrom = 0.0025;          // seconds into the window
constexpr double CountUntil = 0.0275;
constexpr double LeadSeconds = 0.001;
// The power in air of a sound, Pa² over the air's impedance (full scale
// counting as 1 Pa): the comparison is made on these values, as the script
// makes it.
constexpr double AirImpedance = 400;

// Samples [span.First, span.Last] of `sound`, zero beyond its ends.
std::vector<double> Cut(std::span<const double> sound, SampleSpan span) {
    std::vector<double> part;
    for (std::ptrdiff_t k = span.First; k <= span.Last; ++k) {
        const bool inside = k >= 0 && k < static_cast<std::ptrdiff_t>(sound.size());
        part.push_back(inside ? sound[static_cast<std::size_t>(k)] : 0.0);
    }
    return part;
}

SampledAxis WholeSound(std::size_t count, double sampleStep) {
    return {.First = 0.5 * sampleStep,
            .Step = sampleStep,
            .DomainStart = 0,
            .DomainEnd = sampleStep * static_cast<double>(count)};
}

std::vector<double> JoinSounding(std::span<const double> speech, double rate) {
    const SampledAxis axis = WholeSound(speech.size(), 1 / rate);
    std::vector<double> joined;
    for (const TimeInterval& interval : SoundingIntervals(speech, rate)) {
        const std::vector<double> part =
            Cut(speech, SamplesInside(axis, interval.Start, interval.End));
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

// The zero crossings of one window, found as the standard tools find "the
// nearest zero crossing" to a time: between two samples of opposite sign
// (zero counting as positive), placed by linear interpolation.
class WindowCrossings {
  public:
    WindowCrossings(std::span<const double> part, double firstTime, double sampleStep)
        : part_(part), first_(firstTime), step_(sampleStep) {
        for (std::size_t k = 0; k + 1 < part.size(); ++k) {
            if ((part[k] >= 0) != (part[k + 1] >= 0)) {
                pairs_.push_back(static_cast<std::ptrdiff_t>(k));
            }
        }
    }

    // The crossing nearest `seconds`: the one between the samples around it
    // if there is one, else the nearer of those before and after (the later
    // on a tie); nothing without one.
    std::optional<double> Nearest(double seconds) const {
        const auto low = static_cast<std::ptrdiff_t>(std::floor((seconds - first_) / step_));
        const auto count = static_cast<std::ptrdiff_t>(part_.size());
        if (low >= count || low + 1 < 0) {
            return std::nullopt;
        }
        const auto at = std::ranges::lower_bound(pairs_, low);
        if (at != pairs_.end() && *at == low) {
            return Place(low);
        }
        std::optional<double> before;
        std::optional<double> after;
        if (at != pairs_.begin()) {
            before = Place(*(at - 1));
        }
        if (at != pairs_.end()) {
            after = Place(*at);
        }
        if (!before || !after) {
            return before ? before : after;
        }
        return seconds - *before < *after - seconds ? before : after;
    }

  private:
    double Place(std::ptrdiff_t pair) const {
        const double y1 = part_[static_cast<std::size_t>(pair)];
        const double y2 = part_[static_cast<std::size_t>(pair) + 1];
        const double x1 = first_ + static_cast<double>(pair) * step_;
        const double x2 = first_ + static_cast<double>(pair + 1) * step_;
        return x1 + (x2 - x1) * y1 / (y1 - y2);
    }

    std::span<const double> part_;
    double first_;
    double step_;
    std::vector<std::ptrdiff_t> pairs_;  // k: a crossing between samples k and k + 1
};

// Crossings per second as the script counts them (see the header); nothing
// where its count is undefined. A window without any crossing counts as
// none per second.
std::optional<double> CrossingRate(const WindowCrossings& crossings, double sampleStep) {
    const std::optional<double> first = crossings.Nearest(CountFrom);
    if (!first) {
        return 0.0;
    }
    double probe = *first + sampleStep;
    std::optional<double> next = crossings.Nearest(probe);
    double current = *first;
    int counted = 0;
    double span = 0;
    while (current < CountUntil) {
        while (next && *next == current) {
            probe += sampleStep;
            next = crossings.Nearest(probe);
        }
        if (!next) {
            return std::nullopt;
        }
        span = *next - *first;
        ++counted;
        current = *next;
    }
    if (counted == 0) {
        return 0.0;  // the first crossing lies past the counted stretch
    }
    return counted / span;
}

}  // namespace

VoicedSpeech KeepVoicedSpeech(std::span<const double> speech, double rate) {
    if (!(rate > 0)) {
        throw TesmeraError("voiced speech needs a positive sampling rate");
    }
    const double sampleStep = 1 / rate;
    const std::vector<double> loud = JoinSounding(speech, rate);
    const SampledAxis loudAxis = WholeSound(loud.size(), sampleStep);
    const auto square = [](std::span<const double> s) {
        return [s](std::size_t k) { return s[k] * s[k]; };
    };
    VoicedSpeech voiced;
    voiced.Samples.assign(static_cast<std::size_t>(std::round(LeadSeconds * rate)), 0.0);
    const auto meanSquare = MeanOverDomain(loudAxis, loud.size(), square(loud));
    if (!meanSquare) {
        return voiced;
    }
    const double threshold = *meanSquare / AirImpedance * PowerShare;
    const double lastEnd = loudAxis.DomainEnd - WindowSeconds;
    double left = loudAxis.DomainStart;
    double right = left + WindowSeconds;
    while (right < lastEnd) {
        const SampleSpan span = SamplesInside(loudAxis, left, right);
        const std::vector<double> part = Cut(loud, span);
        const double firstTime =
            (loudAxis.First + static_cast<double>(span.First) * sampleStep) - left;
        const SampledAxis partAxis{firstTime, sampleStep, 0, right - left};
        const auto power = MeanOverDomain(partAxis, part.size(), square(part));
        if (power && *power / AirImpedance > threshold) {
            const auto crossings =
                CrossingRate(WindowCrossings(part, firstTime, sampleStep), sampleStep);
            if (crossings && *crossings < MaximumCrossingRate) {
                voiced.Samples.insert(voiced.Samples.end(), part.begin(), part.end());
                voiced.VoicedSeconds += sampleStep * static_cast<double>(part.size());
                ++voiced.KeptWindows;
            }
        }
        left = left + WindowSeconds;
        right = left + WindowSeconds;
    }
    return voiced;
}

}  // namespace tesmera
