// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cycle_marks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "recording/lag_search.h"
#include "recording/parallel_work.h"

namespace tesmera {

PeriodTrack LinearPeriodTrack(std::vector<F0Point> points) {
    return [points = std::move(points)](double seconds) {
        const auto after = std::ranges::upper_bound(points, seconds, {}, &F0Point::Time);
        if (after == points.begin()) {
            return 1 / points.front().F0;
        }
        if (after == points.end()) {
            return 1 / points.back().F0;
        }
        const F0Point& a = *(after - 1);
        const F0Point& b = *after;
        const double share = (seconds - a.Time) / (b.Time - a.Time);
        return 1 / (a.F0 + share * (b.F0 - a.F0));
    };
}

namespace {

constexpr double ShortestStep = 0.8;  // of the local period
constexpr double LongestStep = 1.25;  // of the local period
constexpr double TrackTolerance = 0.1;
// A cycle's waveform repeats at about the mean of its own and the next
// cycle's length, so it may differ from its own length by half the
// difference of the two: 1.5 % on average at 3 % jitter, and over 7 % in
// fewer than one cycle in 2000. A mark moved to another peak of the cycle
// is off by more.
constexpr double MisshapenShare = 0.07;  // of the cycle's length
// Lags are first tried on a grid of this rate's samples: a voice's
// correlation peak is far wider than one of them.
constexpr double CoarseGridRate = 11025;
// Cycles checked by one task.
constexpr std::size_t CyclesPerCheck = 64;

// The signal with its running sums of squares, for normalised correlations
// of equal windows.
class Correlator {
  public:
    explicit Correlator(std::span<const double> x) : x_(x), squares_(x) {}

    std::ptrdiff_t Size() const { return std::ssize(x_); }
    double At(std::ptrdiff_t i) const { return x_[static_cast<std::size_t>(i)]; }

    // Correlation of the windows [a − half, a + half] and [b − half, b + half],
    // which must lie inside the signal.
    double Windows(std::ptrdiff_t a, std::ptrdiff_t b, std::ptrdiff_t half) const {
        const auto count = static_cast<std::size_t>(2 * half + 1);
        const auto first = static_cast<std::size_t>(a - half);
        const auto other = static_cast<std::size_t>(b - half);
        const double aa = squares_.Of(first, count);
        const double bb = squares_.Of(other, count);
        if (aa <= 0 || bb <= 0) {
            return 0;
        }
        return DotProduct(&x_[first], &x_[other], count) / std::sqrt(aa * bb);
    }

  private:
    std::span<const double> x_;
    SquareSums squares_;
};

std::ptrdiff_t GridStep(double rate) {
    return std::max<std::ptrdiff_t>(1, static_cast<std::ptrdiff_t>(rate / CoarseGridRate));
}

// The largest sign·x within [centre − reach, centre + reach], refined between samples.
std::optional<double> ExtremeNear(const Correlator& x, double centre, double reach, double sign) {
    const auto first = static_cast<std::ptrdiff_t>(std::ceil(centre - reach));
    const auto last = static_cast<std::ptrdiff_t>(std::floor(centre + reach));
    if (first < 1 || last + 1 >= x.Size() || first > last) {
        return std::nullopt;
    }
    const auto at = [&](std::ptrdiff_t i) { return sign * x.At(i); };
    std::ptrdiff_t best = first;
    for (std::ptrdiff_t i = first; i <= last; ++i) {
        if (at(i) > at(best)) {
            best = i;
        }
    }
    const double a = at(best - 1);
    const double b = at(best);
    const double c = at(best + 1);
    const double curvature = a - 2 * b + c;
    const double offset = curvature < 0 ? std::clamp(0.5 * (a - c) / curvature, -0.5, 0.5) : 0;
    return static_cast<double>(best) + offset;
}

struct Walk {
    const Correlator& x;
    double rate;
    std::ptrdiff_t first;  // lowest sample a window may touch
    std::ptrdiff_t last;   // highest
    const PeriodTrack& period;
};

// The next mark one cycle from `mark` (samples) in `direction` (±1), or nothing.
std::optional<double> NextMark(const Walk& walk, double mark, int direction) {
    const double p = walk.period(mark / walk.rate) * walk.rate;
    const auto half = static_cast<std::ptrdiff_t>(p / 2);
    const auto anchor = static_cast<std::ptrdiff_t>(std::lround(mark));
    const auto nearest = static_cast<std::ptrdiff_t>(std::floor(ShortestStep * p));
    const auto farthest = static_cast<std::ptrdiff_t>(std::ceil(LongestStep * p));
    const auto inside = [&](std::ptrdiff_t centre) {
        return centre - half >= walk.first && centre + half <= walk.last;
    };
    // Every lag the search may touch, margins included, must fit.
    if (!inside(anchor) || !inside(anchor + direction * (nearest - 1)) ||
        !inside(anchor + direction * (farthest + 1))) {
        return std::nullopt;
    }
    const LagPeak peak = FindLagPeak(nearest, farthest, 1, [&](std::ptrdiff_t lag) {
        return walk.x.Windows(anchor, anchor + direction * lag, half);
    });
    if (peak.Value <= 0) {
        return std::nullopt;
    }
    // Not moved onto the nearest extreme: in noise that would follow the
    // noise's own peaks and add their spread to every period.
    return mark + direction * peak.Lag;
}

}  // namespace

std::vector<double> MarkCycles(std::span<const double> signal, double rate, double from, double to,
                               const PeriodTrack& period, unsigned threads) {
    const double middle = (from + to) / 2;
    const double p = period(middle) * rate;
    const Correlator x(signal);
    const Walk walk{
        x, rate, std::max<std::ptrdiff_t>(0, static_cast<std::ptrdiff_t>(std::ceil(from * rate))),
        std::min<std::ptrdiff_t>(std::ssize(signal) - 1,
                                 static_cast<std::ptrdiff_t>(std::floor(to * rate))),
        period};
    if (walk.last - walk.first < 2 * p) {
        return {};
    }
    const auto high = ExtremeNear(x, middle * rate, p / 2, 1);
    const auto low = ExtremeNear(x, middle * rate, p / 2, -1);
    if (!high || !low) {
        return {};
    }
    const auto magnitude = [&](double position) {
        return std::fabs(x.At(static_cast<std::ptrdiff_t>(std::lround(position))));
    };
    const double start = magnitude(*high) >= magnitude(*low) ? *high : *low;
    // The walks backwards and forwards from the start are independent.
    std::array<std::vector<double>, 2> sides;
    RunInParallel(2, threads, [&](std::size_t side) {
        const int direction = side == 0 ? -1 : 1;
        for (auto mark = NextMark(walk, start, direction); mark;
             mark = NextMark(walk, *mark, direction)) {
            sides[side].push_back(*mark);
        }
    });
    std::vector<double> marks;
    marks.reserve(sides[0].size() + 1 + sides[1].size());
    for (auto it = sides[0].rbegin(); it != sides[0].rend(); ++it) {
        marks.push_back(*it / rate);
    }
    marks.push_back(start / rate);
    for (const double mark : sides[1]) {
        marks.push_back(mark / rate);
    }
    return marks;
}

std::vector<CycleVerdict> CheckCycles(std::span<const double> signal, double rate,
                                      std::span<const double> marks, const PeriodTrack& period,
                                      unsigned threads) {
    const Correlator x(signal);
    const auto verdict = [&](std::size_t i) {
        const double length = marks[i + 1] - marks[i];
        const double tracked = period((marks[i] + marks[i + 1]) / 2);
        if (std::fabs(1 / length - 1 / tracked) > TrackTolerance / tracked) {
            return CycleVerdict::CvOffTrack;
        }
        // The lag near the cycle's length at which the cycle's own waveform
        // repeats best, refined between samples.
        const double samples = length * rate;
        const auto half = static_cast<std::ptrdiff_t>(samples / 2);
        const auto centre = static_cast<std::ptrdiff_t>(std::lround(marks[i] * rate)) + half;
        const auto lag = static_cast<std::ptrdiff_t>(std::lround(samples));
        // Lags tried on each side of the cycle's length: the tolerance and as much again.
        const auto reach = static_cast<std::ptrdiff_t>(std::ceil(2 * MisshapenShare * samples));
        if (centre - half < 0 || centre + lag + reach + 1 + half >= x.Size()) {
            return CycleVerdict::CvAccepted;
        }
        const LagPeak repeat =
            FindLagPeak(lag - reach, lag + reach, GridStep(rate),
                        [&](std::ptrdiff_t l) { return x.Windows(centre, centre + l, half); });
        return std::fabs(repeat.Lag - samples) > MisshapenShare * samples
                   ? CycleVerdict::CvMisshapen
                   : CycleVerdict::CvAccepted;
    };
    const std::size_t cycles = marks.size() < 2 ? 0 : marks.size() - 1;
    std::vector<CycleVerdict> verdicts(cycles);
    RunInParallelRuns(cycles, CyclesPerCheck, threads, [&](std::size_t first, std::size_t end) {
        for (std::size_t i = first; i < end; ++i) {
            verdicts[i] = verdict(i);
        }
    });
    return verdicts;
}

}  // namespace tesmera
