#include "analysis/FourierApr.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <vector>

namespace tesmera {

namespace {

struct CosSin {
    long double cos;
    long double sin;
};

// cos and sin of π/2 − φ from those of φ.
CosSin Complement(const CosSin& value) {
    return {value.sin, value.cos};
}

// cos and sin of φ + q·π/2 from those of φ, for q in 0..3.
CosSin TurnedBy(const CosSin& value, std::int32_t quarterTurns) {
    switch (quarterTurns) {
        case 0:
            return value;
        case 1:
            return {-value.sin, value.cos};
        case 2:
            return {-value.cos, -value.sin};
        default:
            return {value.sin, -value.cos};
    }
}

// Cosine and sine of the first-octant angles 2πm/(4N), 0 <= m <= N/2, for
// the m that are multiples of g = gcd(4, N): N/8 + 1 pairs when 4 divides N,
// N/4 + 1 when N is even, N/2 + 1 otherwise. Positions count in units of g.
class FirstOctant {
  public:
    explicit FirstOctant(std::int32_t N) : unit_(std::gcd(4, N)) {
        values_.reserve(static_cast<std::size_t>(N / (2 * unit_) + 1));
        for (std::int32_t m = 0; 2 * m <= N; m += unit_) {
            const long double angle = (TwoPi * m) / (4 * N);
            values_.push_back({std::cos(angle), std::sin(angle)});
        }
    }

    // The value at m = position × g.
    const CosSin& At(std::int32_t position) const {
        return values_[static_cast<std::size_t>(position)];
    }
    std::int32_t Unit() const { return unit_; }

  private:
    std::int32_t unit_;
    std::vector<CosSin> values_;
};

// A long double kept as two doubles whose sum is exactly that value: the
// value rounded to double and the rest, which has at most 11 significant
// bits. Loading two doubles and adding them in extended precision costs the
// processor less than one 80-bit load, and those loads bound the speed of
// the sums below.
class SplitLongDouble {
  public:
    explicit SplitLongDouble(long double value)
        : high_(static_cast<double>(value)), low_(static_cast<double>(value - high_)) {}
    long double Value() const { return static_cast<long double>(high_) + low_; }

  private:
    double high_;
    double low_;
};

// Cosine and sine of 2πj/N for j = 0..N−1. Harmonic k at sample i has the
// angle 2πki/N, which equals the angle at j = ki mod N up to whole turns.
//
// Only first-octant angles are handed to std::cos/std::sin: beyond π/4 the
// long-double functions reduce their argument by a slow multi-precision path,
// which used to make this table cost almost as much as the sums it serves.
// With 4j = qN + r (0 <= r < N), 2πj/N = q·π/2 + 2πr/(4N): whole quarter
// turns plus a remainder below π/2. A remainder up to π/4 (2r <= N) is
// evaluated as it is; a larger one is π/2 − 2π(N − r)/(4N), whose cosine and
// sine are the sine and cosine of a first-octant angle. The quarter turns
// then only swap and negate. As r, N − r and q are exact integers and r and
// N − r are multiples of gcd(4, N), every entry is as accurate as a direct
// evaluation; a first-octant entry is even bit for bit the same, since
// 2π·4j/(4N) rounds exactly as 2πj/N does.
class HarmonicTable {
  public:
    explicit HarmonicTable(std::int32_t N) : N_(N) {
        const FirstOctant octant(N);
        // 4j mod N and N itself, both in units of gcd(4, N).
        const std::int32_t period = N / octant.Unit();
        const std::int32_t step = 4 / octant.Unit();
        std::int32_t remainder = 0;
        std::int32_t quarterTurns = 0;
        entries_.reserve(static_cast<std::size_t>(N));
        for (std::int32_t j = 0; j < N; ++j) {
            const CosSin part = 2 * remainder <= period ? octant.At(remainder)
                                                        : Complement(octant.At(period - remainder));
            const CosSin entry = TurnedBy(part, quarterTurns);
            entries_.push_back({SplitLongDouble(entry.cos), SplitLongDouble(entry.sin)});
            remainder += step;
            for (; remainder >= period; remainder -= period) {
                ++quarterTurns;
            }
        }
    }

    std::int32_t Size() const { return N_; }
    long double Cos(std::int32_t j) const { return entries_[j].cos.Value(); }
    long double Sin(std::int32_t j) const { return entries_[j].sin.Value(); }

    // The table position one step of `k` further on, for walking
    // j = k·i mod N through increasing i; `kStep` is k mod N.
    std::int32_t Advance(std::int32_t j, std::int32_t kStep) const {
        j += kStep;
        return j >= N_ ? j - N_ : j;
    }

  private:
    struct Entry {
        SplitLongDouble cos;
        SplitLongDouble sin;
    };
    std::int32_t N_;
    std::vector<Entry> entries_;
};

// Harmonics summed side by side in one pass over the samples. Their sums are
// independent, so the processor can overlap them; each harmonic still sums
// in increasing i, with every partial sum stored as a double.
constexpr std::int32_t kHarmonicsPerPass = 4;

// Fills the unscaled sums of harmonics first..first+Count−1.
template <std::int32_t Count>
void HarmonicSums(const HarmonicTable& table, std::span<const double> samples, std::int32_t first,
                  std::span<double, CoefficientCount> ax, std::span<double, CoefficientCount> bx) {
    std::array<std::int32_t, Count> step{};
    std::array<std::int32_t, Count> j{};
    std::array<double, Count> a{};
    std::array<double, Count> b{};
    for (std::int32_t c = 0; c < Count; ++c) {
        step[c] = (first + c) % table.Size();
    }
    for (const double x : samples) {
        for (std::int32_t c = 0; c < Count; ++c) {
            j[c] = table.Advance(j[c], step[c]);
            a[c] = static_cast<double>(a[c] + table.Cos(j[c]) * x);
            b[c] = static_cast<double>(b[c] + table.Sin(j[c]) * x);
        }
    }
    std::copy(a.begin(), a.end(), ax.begin() + first);
    std::copy(b.begin(), b.end(), bx.begin() + first);
}

void FillCoefficients(const HarmonicTable& table, std::span<const double> samples, std::int32_t M,
                      std::span<double, CoefficientCount> ax,
                      std::span<double, CoefficientCount> bx) {
    std::int32_t k = 0;
    for (; k + kHarmonicsPerPass - 1 <= M; k += kHarmonicsPerPass) {
        HarmonicSums<kHarmonicsPerPass>(table, samples, k, ax, bx);
    }
    for (; k <= M; ++k) {
        HarmonicSums<1>(table, samples, k, ax, bx);
    }
    const double N = static_cast<double>(samples.size());
    for (k = 0; k <= M; ++k) {
        ax[k] = ax[k] / N * 2.0;
        bx[k] = bx[k] / N * 2.0;
    }
}

// Series of the given order at samples 1..N into out[0..N−1]. The cosine
// term stays in extended precision until its sine term has been added.
void Reconstruct(const HarmonicTable& table, std::span<const double, CoefficientCount> ax,
                 std::span<const double, CoefficientCount> bx, std::int32_t order,
                 std::span<double> out) {
    const std::int32_t N = table.Size();
    const std::int32_t L = std::min(order, MaxHarmonic);
    for (std::int32_t i = 1; i <= N; ++i) {
        const std::int32_t iStep = i % N;
        std::int32_t j = 0;
        double s = ax[0] / 2.0;
        for (std::int32_t k = 1; k <= L; ++k) {
            j = table.Advance(j, iStep);
            s = static_cast<double>(s + ax[k] * table.Cos(j) + bx[k] * table.Sin(j));
        }
        out[i - 1] = s;
    }
}

// Root of the summed squared deviations of the samples from a0/2, their mean.
double SignalEnergy(std::span<const double> samples, double a0) {
    const double mean = a0 / 2.0;
    double sum = 0.0;
    for (const double x : samples) {
        const double deviation = x - mean;
        sum = sum + deviation * deviation;
    }
    return std::sqrt(sum);
}

// Energy of the series of order m, by Parseval's relation.
double SeriesEnergy(std::span<const double, CoefficientCount> ax,
                    std::span<const double, CoefficientCount> bx, std::int32_t m, std::int32_t N) {
    double sum = 0.0;
    for (std::int32_t k = 1; k <= m; ++k) {
        sum = sum + ax[k] * ax[k];
        sum = sum + bx[k] * bx[k];
    }
    return static_cast<double>(std::sqrt((N * 0.5L) * sum));
}

// Lowest order whose series energy lies within the relative tolerance of the
// signal's energy; M when none does.
std::int32_t ChooseOrder(std::span<const double, CoefficientCount> ax,
                         std::span<const double, CoefficientCount> bx, std::int32_t M,
                         std::int32_t N, double tolerance, double energy) {
    std::int32_t m = 0;
    for (;;) {
        ++m;
        const double seriesEnergy = SeriesEnergy(ax, bx, m, N);
        const bool closeEnough = static_cast<long double>(tolerance) * energy >=
                                 std::fabs(static_cast<long double>(energy) - seriesEnergy);
        if (closeEnough || m >= M) {
            return m;
        }
    }
}

}  // namespace

std::int32_t MaximumOrder(std::int32_t N) {
    return std::max(std::min(N - 10, MaxHarmonic), 1);
}

void FourierCoefficients(std::span<const double> samples, std::int32_t M,
                         std::span<double, CoefficientCount> ax,
                         std::span<double, CoefficientCount> bx) {
    const HarmonicTable table(static_cast<std::int32_t>(samples.size()));
    FillCoefficients(table, samples, M, ax, bx);
}

void FourierApr(std::span<const double> signal, std::int32_t N, double tolerance,
                std::span<double, CoefficientCount> ax, std::span<double, CoefficientCount> bx,
                const std::int32_t& fundamentalOrder, std::span<double> fundamental,
                std::int32_t& approxOrder, std::span<double> approx) {
    const auto length = static_cast<std::size_t>(std::max(N, 0));
    if (length > signal.size() || length > fundamental.size() || length > approx.size()) {
        throw std::invalid_argument("FourierApr: N exceeds the signal buffers");
    }
    std::ranges::fill(fundamental, 0.0);
    std::ranges::fill(approx, 0.0);
    std::ranges::fill(ax, 0.0);
    std::ranges::fill(bx, 0.0);
    const std::int32_t M = MaximumOrder(N);
    if (N <= 1) {
        return;
    }

    // A copy, so the caller's array stays as it was whatever happens here.
    const std::vector<double> samples(signal.begin(), signal.begin() + N);
    const HarmonicTable table(N);
    FillCoefficients(table, samples, M, ax, bx);
    Reconstruct(table, ax, bx, fundamentalOrder, fundamental.first(length));
    const double energy = SignalEnergy(samples, ax[0]);
    approxOrder = ChooseOrder(ax, bx, M, N, tolerance, energy);
    Reconstruct(table, ax, bx, approxOrder, approx.first(length));
}

}  // namespace tesmera
