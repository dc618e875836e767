#include "recording/harmonicity.h"

#include <algorithm>
#include <cmath>
#include <vector>

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
        : values_(signal.begin() + static_cast<std::ptrdiff_t>(start),
                  signal.begin() + static_cast<std::ptrdiff_t>(start + 2 * window + 1)),
          window_(window) {
        double sum = 0;
        for (const double v : values_) {
            sum += v;
        }
        const double mean = sum / static_cast<double>(values_.size());
        squares_.push_back(0);
        for (double& v : values_) {
            v -= mean;
            squares_.push_back(squares_.back() + v * v);
        }
    }

    std::size_t MaximumLag() const { return values_.size() - window_; }

    double Correlation(std::size_t lag) const {
        double cross = 0;
        for (std::size_t j = 0; j < window_; ++j) {
            cross += values_[j] * values_[j + lag];
        }
        const double head = squares_[window_];
        const double tail = squares_[lag + window_] - squares_[lag];
        return head > 0 && tail > 0 ? cross / std::sqrt(head * tail) : 0;
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
    std::vector<double> values_;
    std::vector<double> squares_;  // squares_[i]: Σ of the first i squared values
    std::size_t window_;
};

// The highest correlation in [shortest, longest], refined between lags.
double BestCorrelation(const Frame& frame, std::size_t shortest, std::size_t longest,
                       std::size_t step) {
    std::size_t best = shortest;
    double bestR = frame.Correlation(best);
    for (std::size_t lag = shortest + step; lag <= longest; lag += step) {
        const double r = frame.Correlation(lag);
        if (r > bestR) {
            best = lag;
            bestR = r;
        }
    }
    // Climb to the neighbouring peak sample by sample.
    for (bool moved = true; moved;) {
        moved = false;
        for (const std::size_t next : {best - 1, best + 1}) {
            if (next >= 2 && next + 1 < frame.MaximumLag()) {
                const double r = frame.Correlation(next);
                if (r > bestR) {
                    best = next;
                    bestR = r;
                    moved = true;
                }
            }
        }
    }
    if (best < 2 || best + 1 >= frame.MaximumLag()) {
        return bestR;
    }
    const double a = frame.Correlation(best - 1);
    const double c = frame.Correlation(best + 1);
    const double curvature = a - 2 * bestR + c;
    if (curvature >= 0) {
        return bestR;
    }
    const double offset = 0.5 * (a - c) / curvature;
    return bestR - 0.25 * (a - c) * offset;
}

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

}  // namespace

std::optional<double> MeanHarmonicity(std::span<const double> signal, double rate,
                                      std::span<const double> marks, double from, double to,
                                      const HarmonicitySettings& settings) {
    const auto window = static_cast<std::size_t>(std::floor(rate / settings.MinimumPitch));
    if (signal.size() < 2 * window + 1 || window < 4) {
        return std::nullopt;
    }
    const double duration = static_cast<double>(signal.size()) / rate;
    const auto frames = static_cast<std::size_t>(
        std::floor((duration - 2 / settings.MinimumPitch) / settings.TimeStep) + 1);
    const double firstTime = (static_cast<double>(signal.size()) - 1) / (2 * rate) -
                             (static_cast<double>(frames) - 1) * settings.TimeStep / 2;
    const double globalPeak = GlobalPeak(signal);
    const auto step = static_cast<std::size_t>(std::max(1.0, std::floor(rate / CoarseGridRate)));
    double sum = 0;
    std::size_t voiced = 0;
    for (std::size_t f = 0; f < frames; ++f) {
        const double time = firstTime + static_cast<double>(f) * settings.TimeStep;
        const double period = LocalPeriod(marks, time) * rate;
        const auto centre = static_cast<std::ptrdiff_t>(std::lround(time * rate));
        const std::ptrdiff_t start = centre - static_cast<std::ptrdiff_t>(window);
        if (time < from || time > to || period <= 0 || start < 0 ||
            static_cast<std::size_t>(start) + 2 * window + 1 > signal.size()) {
            continue;
        }
        const Frame frame(signal, static_cast<std::size_t>(start), window);
        const auto shortest = static_cast<std::size_t>(std::max(2.0, ShortestLagShare * period));
        const auto longest =
            std::min(frame.MaximumLag() - 2, static_cast<std::size_t>(LongestLagShare * period));
        if (shortest > longest) {
            continue;
        }
        const double r =
            std::min(BestCorrelation(frame, shortest, longest, step), HighestCorrelation);
        const double localShare =
            globalPeak > 0 ? frame.PeakNearCentre(window / 2) / globalPeak : 0;
        const double unvoiced = std::max(0.0, 2 - localShare / settings.SilenceThreshold);
        if (r <= unvoiced || r <= 0) {
            continue;
        }
        sum += 10 * std::log10(r / (1 - r));
        ++voiced;
    }
    if (voiced == 0) {
        return std::nullopt;
    }
    return sum / static_cast<double>(voiced);
}

}  // namespace tesmera
