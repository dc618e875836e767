#include "recording/cycle_marks.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "wave/voice_period.h"

namespace tesmera {

namespace {

constexpr double ShortestStep = 0.8;  // of the local period
constexpr double LongestStep = 1.25;  // of the local period
constexpr double TrackTolerance = 0.1;
constexpr double MisshapenSamples = 2;  // at NominalSampleRate

// Σ x[a + j]·x[b + j] / √(Σ x[a + j]² · Σ x[b + j]²) for j in [−half, half];
// both windows must lie inside the signal.
double WindowCorrelation(std::span<const double> x, std::ptrdiff_t a, std::ptrdiff_t b,
                         std::ptrdiff_t half) {
    double cross = 0;
    double aa = 0;
    double bb = 0;
    for (std::ptrdiff_t j = -half; j <= half; ++j) {
        const double u = x[static_cast<std::size_t>(a + j)];
        const double v = x[static_cast<std::size_t>(b + j)];
        cross += u * v;
        aa += u * u;
        bb += v * v;
    }
    return aa > 0 && bb > 0 ? cross / std::sqrt(aa * bb) : 0;
}

// Vertex offset of the parabola through (−1, a), (0, b), (1, c), within ±0.5.
double VertexOffset(double a, double b, double c) {
    const double curvature = a - 2 * b + c;
    return curvature == 0 ? 0 : std::clamp(0.5 * (a - c) / curvature, -0.5, 0.5);
}

// The largest sign·x within [centre − reach, centre + reach], refined between samples.
std::optional<double> ExtremeNear(std::span<const double> x, double centre, double reach,
                                  double sign) {
    const auto first = static_cast<std::ptrdiff_t>(std::ceil(centre - reach));
    const auto last = static_cast<std::ptrdiff_t>(std::floor(centre + reach));
    if (first < 1 || last + 1 >= std::ssize(x) || first > last) {
        return std::nullopt;
    }
    std::ptrdiff_t best = first;
    for (std::ptrdiff_t i = first; i <= last; ++i) {
        if (sign * x[static_cast<std::size_t>(i)] > sign * x[static_cast<std::size_t>(best)]) {
            best = i;
        }
    }
    const auto at = [&](std::ptrdiff_t i) { return sign * x[static_cast<std::size_t>(i)]; };
    return static_cast<double>(best) + VertexOffset(at(best - 1), at(best), at(best + 1));
}

struct Walk {
    std::span<const double> x;
    double rate;
    std::ptrdiff_t first;  // lowest sample a window may touch
    std::ptrdiff_t last;   // highest
    const PeriodTrack& period;
    double sign;
};

// The next mark one cycle from `mark` (samples) in `direction` (±1), or nothing.
std::optional<double> NextMark(const Walk& walk, double mark, int direction) {
    const double p = walk.period(mark / walk.rate) * walk.rate;
    const auto half = static_cast<std::ptrdiff_t>(p / 2);
    const auto anchor = static_cast<std::ptrdiff_t>(std::lround(mark));
    const auto nearest = static_cast<std::ptrdiff_t>(std::floor(ShortestStep * p));
    const auto farthest = static_cast<std::ptrdiff_t>(std::ceil(LongestStep * p));
    if (anchor - half < walk.first || anchor + half > walk.last) {
        return std::nullopt;
    }
    std::optional<std::ptrdiff_t> best;
    double bestR = -2;
    std::vector<double> r(static_cast<std::size_t>(farthest - nearest + 3), -2);
    for (std::ptrdiff_t lag = nearest - 1; lag <= farthest + 1; ++lag) {
        const std::ptrdiff_t other = anchor + direction * lag;
        if (other - half < walk.first || other + half > walk.last) {
            continue;
        }
        const double value = WindowCorrelation(walk.x, anchor, other, half);
        r[static_cast<std::size_t>(lag - nearest + 1)] = value;
        if (lag >= nearest && lag <= farthest && value > bestR) {
            bestR = value;
            best = lag;
        }
    }
    if (!best || bestR <= 0) {
        return std::nullopt;
    }
    const auto i = static_cast<std::size_t>(*best - nearest + 1);
    const double offset =
        r[i - 1] > -2 && r[i + 1] > -2 ? VertexOffset(r[i - 1], r[i], r[i + 1]) : 0;
    // Not moved onto the nearest extreme: in noise that would follow the
    // noise's own peaks and add their spread to every period.
    return mark + direction * (static_cast<double>(*best) + offset);
}

}  // namespace

std::vector<double> MarkCycles(std::span<const double> signal, double rate, double from, double to,
                               const PeriodTrack& period) {
    const double middle = (from + to) / 2;
    const double p = period(middle) * rate;
    Walk walk{signal,
              rate,
              std::max<std::ptrdiff_t>(0, static_cast<std::ptrdiff_t>(std::ceil(from * rate))),
              std::min<std::ptrdiff_t>(std::ssize(signal) - 1,
                                       static_cast<std::ptrdiff_t>(std::floor(to * rate))),
              period,
              1};
    if (walk.last - walk.first < 2 * p) {
        return {};
    }
    const auto high = ExtremeNear(signal, middle * rate, p / 2, 1);
    const auto low = ExtremeNear(signal, middle * rate, p / 2, -1);
    if (!high || !low) {
        return {};
    }
    const auto value = [&](double position) {
        return std::fabs(signal[static_cast<std::size_t>(std::lround(position))]);
    };
    walk.sign = value(*high) >= value(*low) ? 1 : -1;
    const double start = walk.sign > 0 ? *high : *low;
    std::vector<double> before;
    for (auto mark = NextMark(walk, start, -1); mark; mark = NextMark(walk, *mark, -1)) {
        before.push_back(*mark);
    }
    std::vector<double> marks(before.rbegin(), before.rend());
    marks.push_back(start);
    for (auto mark = NextMark(walk, start, 1); mark; mark = NextMark(walk, *mark, 1)) {
        marks.push_back(*mark);
    }
    // A snap may land on the neighbour's extreme: keep only strictly increasing marks.
    std::vector<double> seconds;
    for (const double mark : marks) {
        if (seconds.empty() || mark / rate > seconds.back()) {
            seconds.push_back(mark / rate);
        }
    }
    return seconds;
}

std::vector<CycleVerdict> CheckCycles(std::span<const double> signal, double rate,
                                      std::span<const double> marks, const PeriodTrack& period) {
    std::vector<CycleVerdict> verdicts;
    for (std::size_t i = 0; i + 1 < marks.size(); ++i) {
        const double length = marks[i + 1] - marks[i];
        const double tracked = period((marks[i] + marks[i + 1]) / 2);
        if (std::fabs(1 / length - 1 / tracked) > TrackTolerance / tracked) {
            verdicts.push_back(CycleVerdict::CvOffTrack);
            continue;
        }
        // The lag near the cycle's length at which the cycle's waveform
        // repeats best, refined between samples.
        const double samples = length * rate;
        const auto start = static_cast<std::ptrdiff_t>(std::lround(marks[i] * rate));
        const auto half = static_cast<std::ptrdiff_t>(samples / 2);
        const auto lag = static_cast<std::ptrdiff_t>(std::lround(samples));
        const std::ptrdiff_t centre = start + half;
        const auto reach =
            static_cast<std::ptrdiff_t>(std::ceil(2 * MisshapenSamples * rate / NominalSampleRate));
        if (centre - half < 0 || centre + lag + reach + half >= std::ssize(signal)) {
            verdicts.push_back(CycleVerdict::CvAccepted);
            continue;
        }
        std::vector<double> r;
        for (std::ptrdiff_t d = -reach; d <= reach; ++d) {
            r.push_back(WindowCorrelation(signal, centre, centre + lag + d, half));
        }
        const auto best = std::ranges::max_element(r.begin() + 1, r.end() - 1) - r.begin();
        const double repeat =
            static_cast<double>(lag + best - reach) +
            VertexOffset(r[static_cast<std::size_t>(best - 1)], r[static_cast<std::size_t>(best)],
                         r[static_cast<std::size_t>(best + 1)]);
        const double misfit = std::fabs(repeat - samples) * NominalSampleRate / rate;
        verdicts.push_back(misfit > MisshapenSamples ? CycleVerdict::CvMisshapen
                                                     : CycleVerdict::CvAccepted);
    }
    return verdicts;
}

}  // namespace tesmera
