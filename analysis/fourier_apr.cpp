// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/fourier_apr.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <vector>

#include "analysis/HarmonicTable.h"
#include "analysis/direct_fourier.h"
#include "analysis/fft_fourier.h"

namespace tesmera {

namespace {

// Below this length the term-by-term sums cost no more than a few times the
// fast transform's, while the transform's plan for a length met the first
// time costs a hundred times more: a batch of periods of many lengths (voice
// periods at the usual rates have 40 to 1400 samples) would spend most of
// its time planning. From it on the transform is several times faster.
constexpr std::int32_t FastTransformMinimum = 1024;
// A series of at most this order is summed term by term even where the
// coefficients came from the fast transform: a few terms per sample cost
// less than a whole backward transform.
constexpr std::int32_t ShortSeriesOrder = 8;
// Lengths whose prime factors all stay within this bound transform fast;
// a larger factor makes the library fall back to far slower algorithms.
constexpr std::int32_t FastTransformLargestFactor = 13;

std::int32_t LargestPrimeFactor(std::int32_t N) {
    std::int32_t largest = 1;
    for (std::int32_t p = 2; p * p <= N; ++p) {
        for (; N % p == 0; N /= p) {
            largest = p;
        }
    }
    return std::max(largest, N);
}

// The table of the latest length the calling thread summed term by term: a
// batch of periods of one length builds it once.
const HarmonicTable& TableFor(std::int32_t N) {
    thread_local std::optional<HarmonicTable> table;
    if (!table || table->Size() != N) {
        table.emplace(N);
    }
    return *table;
}

// The sums and series of one period length, by the method chosen for it.
class PeriodTransform {
  public:
    explicit PeriodTransform(std::int32_t N) : N_(N), fast_(UsesFastTransform(N)) {}

    // Unscaled sums of harmonics 0..M into ax/bx.
    void Sums(std::span<const double> samples, std::int32_t M,
              std::span<double, CoefficientCount> ax,
              std::span<double, CoefficientCount> bx) const {
        if (fast_) {
            FftSums(samples, M, ax, bx);
        } else {
            DirectSums(TableFor(N_), samples, M, ax, bx);
        }
    }

    // Series of the given order (at most MaxHarmonic) at samples 1..N.
    void Series(std::span<const double, CoefficientCount> ax,
                std::span<const double, CoefficientCount> bx, std::int32_t order,
                std::span<double> out) const {
        if (fast_ && order > ShortSeriesOrder) {
            FftSeries(ax, bx, order, out);
        } else {
            DirectSeries(TableFor(N_), ax, bx, order, out);
        }
    }

  private:
    std::int32_t N_;
    bool fast_;
};

void ScaleSums(std::int32_t N, std::int32_t M, std::span<double, CoefficientCount> ax,
               std::span<double, CoefficientCount> bx) {
    for (std::int32_t k = 0; k <= M; ++k) {
        ax[k] = ax[k] / N * 2.0;
        bx[k] = bx[k] / N * 2.0;
    }
}

// Root of the summed squared deviations of the samples from a0/2, their mean.
// Eight running sums, so that their additions overlap instead of waiting on
// each other, combined in a fixed order: the same bits on every call.
double SignalEnergy(std::span<const double> samples, double a0) {
    constexpr std::size_t Sums = 8;
    const double mean = a0 / 2.0;
    std::array<double, Sums> sums{};
    std::size_t i = 0;
    for (; i + Sums <= samples.size(); i += Sums) {
        for (std::size_t s = 0; s < Sums; ++s) {
            const double deviation = samples[i + s] - mean;
            sums[s] = sums[s] + deviation * deviation;
        }
    }
    for (; i < samples.size(); ++i) {
        const double deviation = samples[i] - mean;
        sums[0] = sums[0] + deviation * deviation;
    }
    double sum = 0.0;
    for (const double part : sums) {
        sum = sum + part;
    }
    return std::sqrt(sum);
}

bool Overlap(std::span<const double> a, std::span<const double> b) {
    const std::less<const double*> before;
    return before(a.data(), b.data() + b.size()) && before(b.data(), a.data() + a.size());
}

// The samples as they are on entry. The outputs are cleared and written
// while the samples are still read, so a signal that shares memory with an
// output is copied first, into a buffer the thread keeps so that a batch
// allocates it once; any other signal is read where it lies.
std::span<const double> EntrySamples(std::span<const double> samples,
                                     std::initializer_list<std::span<const double>> outputs) {
    if (std::ranges::none_of(outputs, [&](auto output) { return Overlap(samples, output); })) {
        return samples;
    }
    thread_local std::vector<double> copy;
    copy.assign(samples.begin(), samples.end());
    return copy;
}

}  // namespace

std::int32_t MaximumOrder(std::int32_t N) {
    return std::max(std::min(N - 10, MaxHarmonic), 1);
}

bool UsesFastTransform(std::int32_t N) {
    return N >= FastTransformMinimum && LargestPrimeFactor(N) <= FastTransformLargestFactor;
}

void FourierCoefficients(std::span<const double> samples, std::int32_t M,
                         std::span<double, CoefficientCount> ax,
                         std::span<double, CoefficientCount> bx) {
    const auto N = static_cast<std::int32_t>(samples.size());
    PeriodTransform(N).Sums(samples, M, ax, bx);
    ScaleSums(N, M, ax, bx);
}

// The sum of squares for order m extends that for m − 1 by a_m² and b_m², in
// the same order of additions as a sum taken afresh, so keeping it running
// gives the same bits at a fraction of the cost.
std::int32_t ApproximationOrder(std::span<const double> samples,
                                std::span<const double, CoefficientCount> ax,
                                std::span<const double, CoefficientCount> bx, std::int32_t M,
                                double tolerance) {
    const auto N = static_cast<std::int32_t>(samples.size());
    const double energy = SignalEnergy(samples, ax[0]);
    double sum = 0.0;
    for (std::int32_t m = 1;; ++m) {
        sum = sum + ax[m] * ax[m];
        sum = sum + bx[m] * bx[m];
        const auto seriesEnergy = static_cast<double>(std::sqrt((N * 0.5L) * sum));
        const bool closeEnough = static_cast<long double>(tolerance) * energy >=
                                 std::fabs(static_cast<long double>(energy) - seriesEnergy);
        if (closeEnough || m >= M) {
            return m;
        }
    }
}

void FourierApr(std::span<const double> signal, std::int32_t N, double tolerance,
                std::span<double, CoefficientCount> ax, std::span<double, CoefficientCount> bx,
                const std::int32_t& fundamentalOrder, std::span<double> fundamental,
                std::int32_t& approxOrder, std::span<double> approx) {
    const auto length = static_cast<std::size_t>(std::max(N, 0));
    if (length > signal.size() || length > fundamental.size() || length > approx.size()) {
        throw std::invalid_argument("FourierApr: N exceeds the signal buffers");
    }
    const std::span<const double> samples =
        EntrySamples(signal.first(length), {fundamental, approx, ax, bx});
    std::ranges::fill(fundamental, 0.0);
    std::ranges::fill(approx, 0.0);
    std::ranges::fill(ax, 0.0);
    std::ranges::fill(bx, 0.0);
    const std::int32_t M = MaximumOrder(N);
    if (N <= 1) {
        return;
    }

    const PeriodTransform transform(N);
    transform.Sums(samples, M, ax, bx);
    ScaleSums(N, M, ax, bx);
    transform.Series(ax, bx, std::min(fundamentalOrder, MaxHarmonic), fundamental.first(length));
    approxOrder = ApproximationOrder(samples, ax, bx, M, tolerance);
    transform.Series(ax, bx, approxOrder, approx.first(length));
}

}  // namespace tesmera
