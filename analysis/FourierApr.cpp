#include "analysis/FourierApr.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace tesmera {

namespace {

// Cosine and sine of 2πj/N for j = 0..N−1. Harmonic k at sample i has the
// angle 2πki/N, which equals the angle at j = ki mod N up to whole turns.
class HarmonicTable {
  public:
    explicit HarmonicTable(std::int32_t N) : N_(N), entries_(static_cast<std::size_t>(N)) {
        for (std::int32_t j = 0; j < N; ++j) {
            const long double angle = (TwoPi * j) / N;
            entries_[j] = {std::cos(angle), std::sin(angle)};
        }
    }

    std::int32_t Size() const { return N_; }
    long double Cos(std::int32_t j) const { return entries_[j].cos; }
    long double Sin(std::int32_t j) const { return entries_[j].sin; }

    // The table position one step of `k` further on, for walking
    // j = k·i mod N through increasing i; `kStep` is k mod N.
    std::int32_t Advance(std::int32_t j, std::int32_t kStep) const {
        j += kStep;
        return j >= N_ ? j - N_ : j;
    }

  private:
    struct CosSin {
        long double cos;
        long double sin;
    };
    std::int32_t N_;
    std::vector<CosSin> entries_;
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
