// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/fft_plans.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/fft_fourier.h"
#include "recording/autocorrelation.h"

namespace tesmera {
namespace {

// Lengths of 2^a 3^b 5^c from 30000 up whose sum is half as much again as
// the cache's bound of about a million samples, so that going through them
// drops plans.
std::vector<std::int32_t> LengthsBeyondTheCache() {
    std::vector<std::int32_t> lengths;
    std::int64_t sum = 0;
    for (std::int32_t n = 30000; sum < 3 * (std::int64_t{1} << 19); ++n) {
        std::int32_t rest = n;
        for (const std::int32_t p : {2, 3, 5}) {
            while (rest % p == 0) {
                rest /= p;
            }
        }
        if (rest == 1) {
            lengths.push_back(n);
            sum += n;
        }
    }
    return lengths;
}

// x_i = sin(0.01 i) + 0.3 cos(0.037 i), no two lengths alike.
std::vector<double> Signal(std::int32_t n) {
    std::vector<double> x(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = std::sin(0.01 * static_cast<double>(i)) +
               0.3 * std::cos(0.037 * static_cast<double>(i));
    }
    return x;
}

// What both users of the plans compute for one length.
struct Transforms {
    std::vector<double> cosSums = std::vector<double>(11);
    std::vector<double> sinSums = std::vector<double>(11);
    std::vector<double> autocorrelation;

    explicit Transforms(std::int32_t n) {
        const std::vector<double> x = Signal(n);
        FftSums(x, 10, cosSums, sinSums);
        autocorrelation = NormalisedAutocorrelation(std::span(x).first(x.size() / 8), 300);
    }
    bool operator==(const Transforms&) const = default;
};

// The Fourier kernel and the autocorrelation share one plan cache; made,
// used and dropped by several threads at once, its plans still give every
// length the sums one thread alone gets, to the last bit.
TEST(FftPlans, SharedByBothUsersOnSeveralThreadsGiveTheSumsOfOneThread) {
    const std::vector<std::int32_t> lengths = LengthsBeyondTheCache();
    std::vector<Transforms> alone;
    for (const std::int32_t n : lengths) {
        alone.emplace_back(n);
    }
    constexpr std::size_t Threads = 4;
    std::vector<std::vector<std::size_t>> mismatches(Threads);
    {
        std::vector<std::jthread> threads;
        for (std::size_t t = 0; t < Threads; ++t) {
            threads.emplace_back([&, t] {
                // Each thread in an order of its own, so lengths are planned
                // and dropped while others use them.
                for (std::size_t k = 0; k < lengths.size(); ++k) {
                    const std::size_t i = (k * (2 * t + 1) + t) % lengths.size();
                    if (!(Transforms(lengths[i]) == alone[i])) {
                        mismatches[t].push_back(i);
                    }
                }
            });
        }
    }
    for (std::size_t t = 0; t < Threads; ++t) {
        EXPECT_TRUE(mismatches[t].empty()) << "thread " << t;
    }
}

// A length used again gets the plans it had; once the cache has dropped them
// for others, a holder may still run them, and the length is planned anew.
TEST(FftPlans, HeldPlansOutliveTheirDropFromTheCache) {
    const auto held = RealTransformPlansFor(1000);
    EXPECT_EQ(RealTransformPlansFor(1000), held);
    for (const std::int32_t n : LengthsBeyondTheCache()) {
        RealTransformPlansFor(n);
    }
    EXPECT_NE(RealTransformPlansFor(1000), held);

    // The transform of a unit impulse at 0 is 1 in every bin.
    const FftwRealBuffer impulse = AllocateFftwReal(1000);
    std::fill(impulse.get(), impulse.get() + 1000, 0.0);
    impulse[0] = 1;
    const FftwSpectrumBuffer spectrum = AllocateFftwSpectrum(HalfSpectrumSize(1000));
    held->Forward(impulse.get(), spectrum.get());
    for (std::size_t k = 0; k < HalfSpectrumSize(1000); ++k) {
        EXPECT_EQ(spectrum[k][0], 1.0) << "bin " << k;
        EXPECT_EQ(spectrum[k][1], 0.0) << "bin " << k;
    }
}

// The cosine transform of N values is the backward real transform of the
// real, even half spectrum they make (2(N − 1) samples), at its first N
// samples, to rounding: for a power-of-two signal and for others.
TEST(FftPlans, EvenTransformIsTheBackwardTransformOfAnEvenSpectrum) {
    for (const std::int32_t n : {2, 3, 9, 513, 1001}) {
        const std::int32_t length = 2 * (n - 1);
        const std::vector<double> x = Signal(n);
        const FftwRealBuffer values = AllocateFftwReal(static_cast<std::size_t>(n));
        std::ranges::copy(x, values.get());
        const FftwRealBuffer cosines = AllocateFftwReal(static_cast<std::size_t>(n));
        EvenRealTransformPlanFor(n)->Apply(values.get(), cosines.get());

        const FftwSpectrumBuffer spectrum = AllocateFftwSpectrum(HalfSpectrumSize(length));
        for (std::size_t k = 0; k < x.size(); ++k) {
            spectrum[k][0] = x[k];
            spectrum[k][1] = 0;
        }
        const FftwRealBuffer signal = AllocateFftwReal(static_cast<std::size_t>(length));
        RealTransformPlansFor(length)->Backward(spectrum.get(), signal.get());
        for (std::size_t k = 0; k < x.size(); ++k) {
            EXPECT_NEAR(cosines[k], signal[k], 1e-12 * static_cast<double>(n))
                << "N " << n << ", value " << k;
        }
    }
}

}  // namespace
}  // namespace tesmera
