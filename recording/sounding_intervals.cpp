// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/sounding_intervals.h"

#include <cmath>
#include <numbers>
#include <string>

#include "recording/hann_band_filter.h"

namespace tesmera {

namespace {

constexpr HannBand SpeechBand{.From = 80, .To = 8000, .Smoothing = 80};
// Three periods and a bit of the lowest pitch make the intensity steady;
// the window is twice that.
constexpr double WindowPeriods = 6.4;
constexpr double ReferencePower = 4e-10;  // (2·10⁻⁵ Pa)², full scale counting as 1 Pa
constexpr double SilentFloorDb = -300;

// Intensity frames, their times as the sound's: sample k at (k + 0.5) / rate.
struct IntensityTrack {
    double FirstTime = 0;
    double Step = 0;
    std::vector<double> Db;
};

std::vector<double> KaiserWindow(std::size_t half, double halfSeconds, double sampleStep) {
    std::vector<double> window(2 * half + 1);
    const double shape = 2 * std::numbers::pi * std::numbers::pi + 0.5;
    for (std::size_t i = 0; i < window.size(); ++i) {
        const double x =
            (static_cast<double>(i) - static_cast<double>(half)) * sampleStep / halfSeconds;
        window[i] = std::cyl_bessel_i(0.0, shape * std::sqrt(std::fmax(0.0, 1 - x * x)));
    }
    return window;
}

// The intensity of one frame, its window's samples [left, right] of the sound.
double FrameDb(std::span<const double> sound, std::span<const double> window, std::ptrdiff_t left,
               std::ptrdiff_t right, std::ptrdiff_t windowOffset) {
    double mean = 0;
    for (std::ptrdiff_t k = left; k <= right; ++k) {
        mean += sound[static_cast<std::size_t>(k)];
    }
    mean /= static_cast<double>(right - left + 1);
    double weighted = 0;
    double weights = 0;
    for (std::ptrdiff_t k = left; k <= right; ++k) {
        const double v = sound[static_cast<std::size_t>(k)] - mean;
        const double w = window[static_cast<std::size_t>(k + windowOffset)];
        weighted += v * v * w;
        weights += w;
    }
    const double ratio = weighted / weights / ReferencePower;
    return ratio < 1e-30 ? SilentFloorDb : 10 * std::log10(ratio);
}

IntensityTrack Intensity(std::span<const double> sound, double rate,
                         const SilenceSettings& settings) {
    const double sampleStep = 1 / rate;
    const double windowSeconds = WindowPeriods / settings.MinimumPitch;
    const double halfSeconds = 0.5 * windowSeconds;
    const auto half = static_cast<std::size_t>(std::floor(halfSeconds / sampleStep));
    const double duration = sampleStep * static_cast<double>(sound.size());
    IntensityTrack track;
    track.Step = settings.TimeStep;
    if (windowSeconds > duration) {
        return track;
    }
    const auto frames =
        static_cast<std::size_t>(std::floor((duration - windowSeconds) / settings.TimeStep)) + 1;
    track.FirstTime = 0.5 * duration - 0.5 * static_cast<double>(frames) * settings.TimeStep +
                      0.5 * settings.TimeStep;
    const std::vector<double> window = KaiserWindow(half, halfSeconds, sampleStep);
    const auto last = static_cast<std::ptrdiff_t>(sound.size()) - 1;
    const auto reach = static_cast<std::ptrdiff_t>(half);
    track.Db.resize(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        const double time = track.FirstTime + static_cast<double>(f) * settings.TimeStep;
        const auto centre =
            static_cast<std::ptrdiff_t>(std::floor((time - 0.5 * sampleStep) / sampleStep + 0.5));
        const std::ptrdiff_t left = std::max<std::ptrdiff_t>(0, centre - reach);
        const std::ptrdiff_t right = std::min(last, centre + reach);
        track.Db[f] = FrameDb(sound, window, left, right, reach - centre);
    }
    return track;
}

// The highest (or lowest) level, a local extreme refined by a parabola.
double Extreme(const std::vector<double>& y, bool highest) {
    const auto beyond = [highest](double a, double b) { return highest ? a > b : a < b; };
    double extreme = y.front();
    if (beyond(y.back(), extreme)) {
        extreme = y.back();
    }
    for (std::size_t i = 1; i + 1 < y.size(); ++i) {
        if (beyond(y[i], y[i - 1]) && !beyond(y[i + 1], y[i])) {
            const double dy = 0.5 * (y[i + 1] - y[i - 1]);
            const double d2y = 2 * y[i] - y[i - 1] - y[i + 1];
            const double top = y[i] + 0.5 * dy * dy / d2y;
            if (beyond(top, extreme)) {
                extreme = top;
            }
        }
    }
    return extreme;
}

struct LabelledInterval {
    double Start;
    double End;
    bool Silent;
};

// Removes interval i, giving its time to the one before (`toNext` false) or
// after; the first and last give theirs to their only neighbour.
void RemoveInterval(std::vector<LabelledInterval>& tier, std::size_t i, bool toNext) {
    const LabelledInterval removed = tier[i];
    const std::size_t before = tier.size();
    tier.erase(tier.begin() + static_cast<std::ptrdiff_t>(i));
    if (i == 0) {
        tier.front().Start = removed.Start;
    } else if (i == before - 1) {
        tier.back().End = removed.End;
    } else if (toNext) {
        tier[i].Start = removed.Start;
    } else {
        tier[i - 1].End = removed.End;
    }
}

void RemoveShort(std::vector<LabelledInterval>& tier, bool silent, double shortest) {
    std::size_t i = 0;
    while (i < tier.size() && tier.size() > 1) {
        if (tier[i].Silent == silent && tier[i].End - tier[i].Start < shortest) {
            RemoveInterval(tier, i, false);
        } else {
            ++i;
        }
    }
}

void Merge(std::vector<LabelledInterval>& tier, bool silent) {
    std::size_t i = 0;
    while (i + 1 < tier.size()) {
        if (tier[i].Silent == silent && tier[i + 1].Silent == silent) {
            RemoveInterval(tier, i, true);
        } else {
            ++i;
        }
    }
}

std::vector<LabelledInterval> Tier(const IntensityTrack& track, double threshold, double duration) {
    std::vector<LabelledInterval> tier;
    bool silent = track.Db.front() < threshold;
    double start = 0;
    for (std::size_t f = 1; f < track.Db.size(); ++f) {
        if ((track.Db[f] < threshold) != silent) {
            const double time = track.FirstTime + static_cast<double>(f) * track.Step;
            tier.push_back({start, time, silent});
            start = time;
            silent = !silent;
        }
    }
    tier.push_back({start, duration, silent});
    return tier;
}

}  // namespace

std::vector<TimeInterval> SoundingIntervals(std::span<const double> samples, double rate,
                                            const SilenceSettings& settings) {
    const double duration = (1 / rate) * static_cast<double>(samples.size());
    const std::vector<TimeInterval> whole{{0, duration}};
    if (samples.empty() || settings.MinimumSilence > duration) {
        return whole;
    }
    const std::vector<double> band = PassHannBand(samples, rate, SpeechBand);
    const IntensityTrack track = Intensity(band, rate, settings);
    if (track.Db.empty()) {
        return whole;
    }
    const double threshold = Extreme(track.Db, true) - std::fabs(settings.ThresholdDb);
    if (threshold < Extreme(track.Db, false)) {
        return whole;
    }
    std::vector<LabelledInterval> tier = Tier(track, threshold, duration);
    RemoveShort(tier, false, settings.MinimumSounding);
    Merge(tier, true);
    RemoveShort(tier, true, settings.MinimumSilence);
    Merge(tier, false);
    std::vector<TimeInterval> sounding;
    for (const LabelledInterval& interval : tier) {
        if (!interval.Silent) {
            sounding.push_back({interval.Start, interval.End});
        }
    }
    return sounding;
}

}  // namespace tesmera
