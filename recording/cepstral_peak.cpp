// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <numeric>
#include <vector>

#include "base/TesmeraError.h"
#include "recording/cepstral_peak_prominence.h"
#include "recording/cepstral_peak_resampling.h"
#include "recording/cepstral_peak_smoothing.h"
#include "recording/cepstral_peak_transform.h"
#include "recording/parallel_work.h"

namespace tesmera {

namespace {

constexpr double AnalysisRate = 2 * cpps::MaximumFrequency;
constexpr double FrameDuration = 6 / cpps::PitchFloor;  // two windows of three periods
constexpr std::size_t TransformLength = 1024;           // the power of two above the frame
// Each run transforms the few frames before and after it again, for the
// smoothing over time: long runs keep that small.
constexpr std::size_t FramesPerTask = 128;

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

// Frame starts fall halfway between two samples whenever the sample period
// divides the half frame and the step, so which sample is nearest is
// decided by rounding. The frame times and the sample positions are
// therefore computed in the peer's order of operations, so that both round
// alike.

// As many frames as fit in `duration`, TimeStep apart and centred on it as
// a whole.
struct FrameGrid {
    explicit FrameGrid(double duration)
        : Frames(static_cast<std::size_t>(std::floor((duration - FrameDuration) / cpps::TimeStep)) +
                 1),
          FirstTime(0.5 * duration - 0.5 * static_cast<double>(Frames) * cpps::TimeStep +
                    0.5 * cpps::TimeStep) {}

    double Centre(std::size_t f) const {
        return FirstTime + static_cast<double>(f) * cpps::TimeStep;
    }

    std::size_t Frames;
    double FirstTime;  // of frame 0's centre, seconds
};

double QuefrencyStep() {
    const double longest = 0.5 * static_cast<double>(TransformLength) / AnalysisRate;
    return longest / static_cast<double>(TransformLength / 2);
}

// What every frame's work reads: the resampled sound and the fixed shapes.
class FrameAnalysis {
  public:
    FrameAnalysis(TimedSamples resampled, double duration)
        : Sound(std::move(resampled)),
          Window(
              GaussianWindow(static_cast<std::size_t>(std::lround(FrameDuration * AnalysisRate)))),
          Grid(duration),
          AcrossTime(Grid.Frames, 0.5 * cpps::TimeAveraging / cpps::TimeStep,
                     -Grid.FirstTime / cpps::TimeStep,
                     (duration - Grid.FirstTime) / cpps::TimeStep),
          AcrossQuefrency(MovingMean(TransformLength / 2 + 1,
                                     0.5 * cpps::QuefrencyAveraging / QuefrencyStep(), 0,
                                     static_cast<double>(TransformLength / 2))) {}

    // Frames f and f + 1 without their means, under the window, into `frame`
    // and `next`: the samples from the one nearest to each start on, zeros
    // beyond the signal. Each mean is summed in order, as one frame's alone
    // would be, but the two sums run side by side rather than one after the
    // other.
    void CutTwo(std::size_t f, std::span<double> frame, std::span<double> next) const {
        Place(f, frame);
        Place(f + 1, next);
        double sum = 0;
        double nextSum = 0;
        for (std::size_t i = 0; i < frame.size(); ++i) {
            sum += frame[i];
            nextSum += next[i];
        }
        const auto size = static_cast<double>(frame.size());
        RemoveMeanAndWindow(frame, sum / size);
        RemoveMeanAndWindow(next, nextSum / size);
    }

    void Cut(std::size_t f, std::span<double> frame) const {
        Place(f, frame);
        RemoveMeanAndWindow(frame, std::accumulate(frame.begin(), frame.end(), 0.0) /
                                       static_cast<double>(frame.size()));
    }

    TimedSamples Sound;
    std::vector<double> Window;
    FrameGrid Grid;
    MovingMean AcrossTime;
    MovingMeanTable AcrossQuefrency;

  private:
    void Place(std::size_t f, std::span<double> frame) const {
        const double start = Grid.Centre(f) - 0.5 * FrameDuration;
        const auto count = static_cast<std::ptrdiff_t>(Sound.Samples.size());
        constexpr double Period = 1 / AnalysisRate;
        const auto first = static_cast<std::ptrdiff_t>(
                               std::floor((start - Sound.FirstTime) / Period + 1.0 + 0.5)) -
                           1;
        const std::ptrdiff_t size = static_cast<std::ptrdiff_t>(frame.size());
        const std::ptrdiff_t from = std::clamp<std::ptrdiff_t>(-first, 0, size);
        const std::ptrdiff_t to = std::clamp<std::ptrdiff_t>(count - first, from, size);
        std::fill(frame.begin(), frame.begin() + from, 0.0);
        std::copy(Sound.Samples.begin() + first + from, Sound.Samples.begin() + first + to,
                  frame.begin() + from);
        std::fill(frame.begin() + to, frame.end(), 0.0);
    }

    void RemoveMeanAndWindow(std::span<double> frame, double mean) const {
        for (std::size_t i = 0; i < frame.size(); ++i) {
            frame[i] = (frame[i] - mean) * Window[i];
        }
    }
};

// One thread's work on consecutive frames: their power cepstra are kept in
// a ring of the few rows that the smoothing over time spans, so memory does
// not grow with the recording.
class FrameRun {
  public:
    explicit FrameRun(const FrameAnalysis& analysis)
        : analysis_(analysis),
          transform_(TransformLength, 1 / AnalysisRate),
          frame_(analysis.Window.size()),
          next_(analysis.Window.size()),
          ringRows_(static_cast<std::size_t>(std::ceil(cpps::TimeAveraging / cpps::TimeStep)) + 3),
          ring_(ringRows_ * transform_.Quefrencies()),
          held_(ringRows_, NoFrame),
          inTime_(transform_.Quefrencies()),
          smoothed_(transform_.Quefrencies()),
          prominence_(QuefrencyStep()) {
        rows_.reserve(ringRows_);
    }

    // The prominence of frame f after the cepstrogram is smoothed over
    // TimeAveraging across frames, then over QuefrencyAveraging within it.
    double Prominence(std::size_t f) {
        const MovingMean::Weights weights = analysis_.AcrossTime.At(f);
        if (weights.Values.empty()) {
            std::ranges::copy(Row(f), inTime_.begin());
        } else {
            AverageRows(weights);
        }
        analysis_.AcrossQuefrency.Apply(inTime_, smoothed_);
        return prominence_.Of(smoothed_);
    }

  private:
    static constexpr std::size_t NoFrame = static_cast<std::size_t>(-1);

    // inTime_ = Σ weights.Values[k] · Row(weights.First + k), each value
    // summed over the rows in their order. The ring holds every row the
    // weights span at once.
    void AverageRows(const MovingMean::Weights& weights) {
        rows_.clear();
        for (std::size_t k = 0; k < weights.Values.size(); ++k) {
            rows_.push_back(Row(weights.First + k).data());
        }
        // Four quefrencies at a time, each summed in its own register.
        const std::size_t count = inTime_.size();
        std::size_t j = 0;
        for (; j + 4 <= count; j += 4) {
            std::array<double, 4> sums{};
            for (std::size_t k = 0; k < rows_.size(); ++k) {
                const double w = weights.Values[k];
                const double* row = rows_[k] + j;
                sums[0] += w * row[0];
                sums[1] += w * row[1];
                sums[2] += w * row[2];
                sums[3] += w * row[3];
            }
            std::ranges::copy(sums, inTime_.begin() + static_cast<std::ptrdiff_t>(j));
        }
        for (; j < count; ++j) {
            double sum = 0;
            for (std::size_t k = 0; k < rows_.size(); ++k) {
                sum += weights.Values[k] * rows_[k][j];
            }
            inTime_[j] = sum;
        }
    }

    // The power cepstrum of frame f, transformed unless the ring holds it.
    std::span<const double> Row(std::size_t f) {
        const std::size_t width = transform_.Quefrencies();
        const std::size_t slot = f % ringRows_;
        const std::span<double> row = std::span(ring_).subspan(slot * width, width);
        if (held_[slot] != f) {
            transform_.Apply(Frame(f), row);
            held_[slot] = f;
        }
        return row;
    }

    // Frame f cut, with the next one too when it exists: the frames are
    // asked for in order, so the next one is the one wanted after this.
    std::span<const double> Frame(std::size_t f) {
        if (cutNext_ == f) {
            cutNext_ = NoFrame;
            return next_;
        }
        if (f + 1 < analysis_.Grid.Frames) {
            analysis_.CutTwo(f, frame_, next_);
            cutNext_ = f + 1;
        } else {
            analysis_.Cut(f, frame_);
        }
        return frame_;
    }

    const FrameAnalysis& analysis_;
    PowerCepstrumTransform transform_;
    std::vector<double> frame_;
    std::vector<double> next_;
    std::size_t cutNext_ = NoFrame;  // the frame next_ holds, cut but not transformed
    std::size_t ringRows_;
    std::vector<double> ring_;
    std::vector<std::size_t> held_;    // the frame each ring row holds
    std::vector<const double*> rows_;  // those averaged over time, in the ring
    std::vector<double> inTime_;
    std::vector<double> smoothed_;
    CepstralPeakProminence prominence_;
};

// Every frame's prominence and their mean, summed run by run in frame
// order so that it does not depend on the thread count.
CepstralPeakFrames FrameProminences(const FrameAnalysis& analysis, unsigned threads) {
    const std::size_t frames = analysis.Grid.Frames;
    CepstralPeakFrames result;
    result.FrameDb.resize(frames);
    std::vector<double> runSums((frames + FramesPerTask - 1) / FramesPerTask);
    RunInParallelRuns(frames, FramesPerTask, threads, [&](std::size_t first, std::size_t end) {
        FrameRun run(analysis);
        double sum = 0;
        for (std::size_t f = first; f < end; ++f) {
            result.FrameDb[f] = run.Prominence(f);
            sum += result.FrameDb[f];
        }
        runSums[first / FramesPerTask] = sum;
    });
    result.MeanDb =
        std::accumulate(runSums.begin(), runSums.end(), 0.0) / static_cast<double>(frames);
    return result;
}

}  // namespace

std::optional<double> SmoothedCepstralPeakProminence(std::span<const double> samples,
                                                     double sampleRate, unsigned threads) {
    const std::optional<CepstralPeakFrames> frames =
        CepstralPeakProminenceFrames(samples, sampleRate, threads);
    return frames ? std::optional<double>(frames->MeanDb) : std::nullopt;
}

std::optional<CepstralPeakFrames> CepstralPeakProminenceFrames(std::span<const double> samples,
                                                               double sampleRate,
                                                               unsigned threads) {
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
    return FrameProminences(FrameAnalysis(std::move(sound), duration), threads);
}

}  // namespace tesmera
