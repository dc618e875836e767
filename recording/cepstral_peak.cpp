// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <numeric>
#include <vector>

#include "base/TesmeraError.h"
#include "recording/cepstral_peak_resampling.h"
#include "recording/cepstral_peak_smoothing.h"
#include "recording/cepstral_peak_transform.h"
#include "recording/parallel_work.h"

namespace tesmera {

namespace {

constexpr double AnalysisRate = 2 * cpps::MaximumFrequency;
constexpr double FrameDuration = 6 / cpps::PitchFloor;  // two windows of three periods
constexpr std::size_t TransformLength = 1024;           // the power of two above the frame
constexpr std::size_t FramesPerTask = 64;

// First-order pre-emphasis, y[i] = x[i] − a·x[i − 1] with a = e^(−2π·f/rate).
void PreEmphasise(std::vector<double>& samples) {
    const double a = std::exp(-2 * std::numbers::pi * cpps::PreEmphasisFrom / AnalysisRate);
    for (std::size_t i = samples.size(); i-- > 1;) {
        samples[i] -= a * samples[i - 1];
    }
}

// A Gaussian that falls to e^(−12) at the frame's edges, lowered and scaled
// so that it just reaches 0 there.
std::vector<double> GaussianWindow(std::size_t length) {
    std::vector<double> window(length);
    const double middle = 0.5 * static_cast<double>(length + 1);
    const double span = static_cast<double>(length + 1);
    const double edge = std::exp(-12.0);
    for (std::size_t i = 0; i < length; ++i) {
        const double d = (static_cast<double>(i + 1) - middle) / span;
        window[i] = (std::exp(-48.0 * d * d) - edge) / (1 - edge);
    }
    return window;
}

// Power cepstra, one row of `Quefrencies` values per frame.
struct Cepstrogram {
    std::size_t Frames = 0;
    std::size_t Quefrencies = 0;
    double FirstTime = 0;  // of frame 0's centre, seconds
    std::vector<double> Powers;
};

// Frame starts fall halfway between two samples whenever the sample period
// divides the half frame and the step, so which sample is nearest is
// decided by rounding. The frame times and the sample positions are
// therefore computed in the peer's order of operations, so that both round
// alike.

// As many frames as fit in `duration`, centred on it as a whole.
Cepstrogram EmptyCepstrogram(double duration) {
    Cepstrogram cepstrogram;
    cepstrogram.Frames =
        static_cast<std::size_t>(std::floor((duration - FrameDuration) / cpps::TimeStep)) + 1;
    cepstrogram.Quefrencies = TransformLength / 2 + 1;
    const double framesDuration = static_cast<double>(cepstrogram.Frames) * cpps::TimeStep;
    cepstrogram.FirstTime = 0.5 * duration - 0.5 * framesDuration + 0.5 * cpps::TimeStep;
    cepstrogram.Powers.resize(cepstrogram.Frames * cepstrogram.Quefrencies);
    return cepstrogram;
}

// Frame f without its mean, under the window, into `frame`: the samples
// from the one nearest to its start on, zeros beyond the signal.
void CutFrame(const TimedSamples& sound, double start, std::span<const double> window,
              std::span<double> frame) {
    const auto count = static_cast<std::ptrdiff_t>(sound.Samples.size());
    constexpr double Period = 1 / AnalysisRate;
    const auto first =
        static_cast<std::ptrdiff_t>(std::floor((start - sound.FirstTime) / Period + 1.0 + 0.5)) - 1;
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const std::ptrdiff_t j = first + static_cast<std::ptrdiff_t>(i);
        frame[i] = j >= 0 && j < count ? sound.Samples[static_cast<std::size_t>(j)] : 0.0;
    }
    const double mean =
        std::accumulate(frame.begin(), frame.end(), 0.0) / static_cast<double>(frame.size());
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = (frame[i] - mean) * window[i];
    }
}

Cepstrogram PowerCepstrogram(const TimedSamples& sound, double duration, unsigned threads) {
    Cepstrogram cepstrogram = EmptyCepstrogram(duration);
    const auto frameLength = static_cast<std::size_t>(std::lround(FrameDuration * AnalysisRate));
    const std::vector<double> window = GaussianWindow(frameLength);
    const std::size_t width = cepstrogram.Quefrencies;
    RunInParallelRuns(
        cepstrogram.Frames, FramesPerTask, threads, [&](std::size_t first, std::size_t end) {
            PowerCepstrumTransform transform(TransformLength, 1 / AnalysisRate);
            std::vector<double> frame(frameLength);
            for (std::size_t f = first; f < end; ++f) {
                const double centre =
                    cepstrogram.FirstTime + static_cast<double>(f) * cpps::TimeStep;
                CutFrame(sound, centre - 0.5 * FrameDuration, window, frame);
                transform.Apply(frame, std::span(cepstrogram.Powers).subspan(f * width, width));
            }
        });
    return cepstrogram;
}

double QuefrencyStep() {
    const double longest = 0.5 * static_cast<double>(TransformLength) / AnalysisRate;
    return longest / static_cast<double>(TransformLength / 2);
}

double Median(std::vector<double>& values) {
    const std::size_t middle = values.size() / 2;
    std::ranges::nth_element(values, values.begin() + static_cast<std::ptrdiff_t>(middle));
    const double upper = values[middle];
    if (values.size() % 2 == 1) {
        return upper;
    }
    const double lower =
        *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return 0.5 * (lower + upper);
}

struct Line {
    double Slope = 0;
    double Intercept = 0;
};

// Theil's incomplete method on points (i·step, decibels[i]), i ≥ 1: the
// median of the slopes from each point of the first half to its partner
// in the second, then the median of the intercepts that slope leaves.
Line RobustLine(std::span<const double> decibels, double step) {
    const std::size_t first = 1;  // quefrency 0 is never fitted
    const std::size_t points = decibels.size() - first;
    const std::size_t pairs = points / 2;
    const std::size_t offset = points - pairs;  // the middle point of an odd count pairs with none
    std::vector<double> values(pairs);
    for (std::size_t i = 0; i < pairs; ++i) {
        const std::size_t a = first + i;
        values[i] = (decibels[a + offset] - decibels[a]) / (static_cast<double>(offset) * step);
    }
    Line line;
    line.Slope = Median(values);
    values.resize(points);
    for (std::size_t i = 0; i < points; ++i) {
        const std::size_t a = first + i;
        values[i] = decibels[a] - line.Slope * static_cast<double>(a) * step;
    }
    line.Intercept = Median(values);
    return line;
}

// The highest value of `heights` over [from, to] (indices): the end points,
// or a local maximum (higher than the point before, not lower than the one
// after) refined by a parabola through it and its neighbours.
double HighestPeak(std::span<const double> heights, std::size_t from, std::size_t to) {
    double highest = std::max(heights[from], heights[to]);
    for (std::size_t i = std::max<std::size_t>(from, 1); i <= to && i + 1 < heights.size(); ++i) {
        const double before = heights[i - 1];
        const double after = heights[i + 1];
        if (heights[i] > before && heights[i] >= after) {
            const double slope = 0.5 * (after - before);
            const double curvature = 2 * heights[i] - before - after;
            highest = std::max(highest, heights[i] + 0.5 * slope * slope / curvature);
        }
    }
    return highest;
}

double PeakProminence(std::span<const double> powers, double step) {
    std::vector<double> heights(powers.size());
    std::ranges::transform(powers, heights.begin(),
                           [](double p) { return 10 * std::log10(p + 1e-30); });
    const Line line = RobustLine(heights, step);
    for (std::size_t i = 0; i < heights.size(); ++i) {
        const double background = line.Slope * static_cast<double>(i) * step + line.Intercept;
        heights[i] = std::max(0.0, heights[i] - background);
    }
    const auto from = static_cast<std::size_t>(std::ceil(1 / cpps::PeakSearchCeiling / step));
    const auto to = std::min(static_cast<std::size_t>(std::floor(1 / cpps::PeakSearchFloor / step)),
                             heights.size() - 1);
    return HighestPeak(heights, from, to);
}

// Each frame's prominence after the cepstrogram is smoothed over
// TimeAveraging across frames, then over QuefrencyAveraging within each.
std::vector<double> SmoothedProminences(const Cepstrogram& cepstrogram, double duration,
                                        unsigned threads) {
    const std::size_t width = cepstrogram.Quefrencies;
    const MovingMean acrossTime(cepstrogram.Frames, 0.5 * cpps::TimeAveraging / cpps::TimeStep,
                                -cepstrogram.FirstTime / cpps::TimeStep,
                                (duration - cepstrogram.FirstTime) / cpps::TimeStep);
    const MovingMean acrossQuefrency(width, 0.5 * cpps::QuefrencyAveraging / QuefrencyStep(), 0,
                                     static_cast<double>(width - 1));
    std::vector<double> prominences(cepstrogram.Frames);
    RunInParallelRuns(cepstrogram.Frames, FramesPerTask, threads,
                      [&](std::size_t first, std::size_t end) {
                          std::vector<double> inTime(width);
                          std::vector<double> smoothed(width);
                          for (std::size_t f = first; f < end; ++f) {
                              acrossTime.ApplyToRow(f, cepstrogram.Powers, width, inTime);
                              acrossQuefrency.Apply(inTime, smoothed);
                              prominences[f] = PeakProminence(smoothed, QuefrencyStep());
                          }
                      });
    return prominences;
}

}  // namespace

std::optional<double> SmoothedCepstralPeakProminence(std::span<const double> samples,
                                                     double sampleRate, unsigned threads) {
    if (!(sampleRate > 0)) {
        throw TesmeraError("the sample rate must be positive");
    }
    // The sample period times the count, rounded as the peer rounds it, so
    // that a duration of a whole number of steps gives the same frames.
    const double duration = (1 / sampleRate) * static_cast<double>(samples.size());
    if (duration < FrameDuration) {
        return std::nullopt;
    }
    TimedSamples sound = BandLimitedResample(samples, sampleRate, AnalysisRate);
    PreEmphasise(sound.Samples);
    const Cepstrogram cepstrogram = PowerCepstrogram(sound, duration, threads);
    const std::vector<double> prominences = SmoothedProminences(cepstrogram, duration, threads);
    // Summed in frame order, so the mean does not depend on the thread count.
    return std::accumulate(prominences.begin(), prominences.end(), 0.0) /
           static_cast<double>(prominences.size());
}

}  // namespace tesmera
