// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/harmonicity.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "recording/lag_search.h"
#include "recording/parallel_work.h"

namespace tesmera {

namespace {

constexpr double ShortestLagShare = 0.75;  // of the local period
constexpr double LongestLagShare = 1.35;
// Lags are first tried on a grid this fine (samples at 11025 Hz), then
// refined sample by sample: the correlation peak of a voice is far wider.
constexpr double CoarseGridRate = 11025;
// Correlations this close to 1 would give an infinite ratio.
constexpr double HighestCorrelation = 1 - 1e-15;

// One frame without its mean, and the running sums its correlations need.
class Frame {
  public:
    Frame(std::span<const double> signal, std::size_t start, std::size_t window)
        : values_(WithoutMean(signal.subspan(start, 2 * window + 1))),
          squares_(values_),
          window_(window) {}

    std::size_t MaximumLag() const { return values_.size() - window_; }

    double Correlation(std::size_t lag) const {
        const double head = squares_.Of(0, window_);
        const double tail = squares_.Of(lag, window_);
        if (head <= 0 || tail <= 0) {
            return 0;
        }
        return DotProduct(values_.data(), values_.data() + lag, window_) / std::sqrt(head * tail);
    }

    // Largest |value| within `reach` samples of the frame's centre.
    double PeakNearCentre(std::size_t reach) const {
        const std::size_t centre = values_.size() / 2;
        double peak = 0;
        for (std::size_t i = centre - reach; i <= centre + reach; ++i) {
            peak = std::max(peak, std::fabs(values_[i]));
        }
        return peak;
    }

  private:
    static std::vector<double> WithoutMean(std::span<const double> part) {
        double sum = 0;
        for (const double v : part) {
            sum += v;
        }
        const double mean = sum / static_cast<double>(part.size());
        std::vector<double> values;
        values.reserve(part.size());
        for (const double v : part) {
            values.push_back(v - mean);
        }
        return values;
    }

    std::vector<double> values_;
    SquareSums squares_;
    std::size_t window_;
};

// The distance between the marks around `seconds`; 0 outside the marks.
double LocalPeriod(std::span<const double> marks, double seconds) {
    const auto after = std::ranges::upper_bound(marks, seconds);
    if (after == marks.begin() || after == marks.end()) {
        return 0;
    }
    return *after - *(after - 1);
}

double GlobalPeak(std::span<const double> signal) {
    double sum = 0;
    for (const double v : signal) {
        sum += v;
    }
    const double mean = sum / static_cast<double>(signal.size());
    double peak = 0;
    for (const double v : signal) {
        peak = std::max(peak, std::fabs(v - mean));
    }
    return peak;
}

// What every frame of one measurement shares.
struct FrameGrid {
    std::span<const double> signal;
    double rate;
    std::span<const double> marks;
    double from;
    double to;
    const HarmonicitySettings& settings;
    std::size_t window;  // samples on each side of a frame's centre
    double firstTime;    // of the first frame's centre, seconds
    double globalPeak;
    std::ptrdiff_t step;  // of the coarse lag grid
};

// The HNR of frame `f` in dB; nothing when it is unvoiced or not measured.
std::optional<double> FrameHarmonicity(const FrameGrid& grid, std::size_t f) {
    const double time = grid.firstTime + static_cast<double>(f) * grid.settings.TimeStep;
    const double period = LocalPeriod(grid.marks, time) * grid.rate;
    const auto centre = static_cast<std::ptrdiff_t>(std::lround(time * grid.rate));
    const std::ptrdiff_t start = centre - static_cast<std::ptrdiff_t>(grid.window);
    if (time < grid.from || time > grid.to || period <= 0 || start < 0 ||
        static_cast<std::size_t>(start) + 2 * grid.window + 1 > grid.signal.size()) {
        return std::nullopt;
    }
    const Frame frame(grid.signal, static_cast<std::size_t>(start), grid.window);
    const auto shortest = static_cast<std::size_t>(std::max(2.0, ShortestLagShare * period));
    const auto longest =
        std::min(frame.MaximumLag() - 1, static_cast<std::size_t>(LongestLagShare * period));
    if (shortest > longest) {
        return std::nullopt;
    }
    const LagPeak peak = FindLagPeak(
        static_cast<std::ptrdiff_t>(shortest), static_cast<std::ptrdiff_t>(longest), grid.step,
        [&frame](std::ptrdiff_t lag) { return frame.Correlation(static_cast<std::size_t>(lag)); });
    const double r = std::min(peak.Value, HighestCorrelation);
    const double localShare =
        grid.globalPeak > 0 ? frame.PeakNearCentre(grid.window / 2) / grid.globalPeak : 0;
    const double unvoiced = std::max(0.0, 2 - localShare / grid.settings.SilenceThreshold);
    if (r <= unvoiced || r <= 0) {
        return std::nullopt;
    }
    return 10 * std::log10(r / (1 - r));
}

}  // namespace

std::optional<double> MeanHarmonicity(std::span<const double> signal, double rate,
                                      std::span<const double> marks, double from, double to,
                                      const HarmonicitySettings& settings, unsigned threads) {
    const auto window = static_cast<std::size_t>(std::floor(rate / settings.MinimumPitch));
    if (signal.size() < 2 * window + 1 || window < 4) {
        return std::nullopt;
    }
    const double duration = static_cast<double>(signal.size()) / rate;
    const auto frames = static_cast<std::size_t>(
        std::floor((duration - 2 / settings.MinimumPitch) / settings.TimeStep) + 1);
    const FrameGrid grid{
        signal,
        rate,
        marks,
        from,
        to,
        settings,
        window,
        (static_cast<double>(signal.size()) - 1) / (2 * rate) -
            (static_cast<double>(frames) - 1) * settings.TimeStep / 2,
        GlobalPeak(signal),
        static_cast<std::ptrdiff_t>(std::max(1.0, std::floor(rate / CoarseGridRate)))};
    std::vector<std::optional<double>> measured(frames);
    RunInParallel(frames, threads, [&](std::size_t f) { measured[f] = FrameHarmonicity(grid, f); });
    // Summed in time order, whatever the threads.
    double sum = 0;
    std::size_t voiced = 0;
    for (const std::optional<double>& hnr : measured) {
        if (hnr) {
            sum += *hnr;
            ++voiced;
        }
    }
    if (voiced == 0) {
        return std::nullopt;
    }
    return sum / static_cast<double>(voiced);
}

}  // namespace tesmera
