// SPDX-License-Identifier: GPL-3.0-or-later
// The Fourier coefficient kernel against the direct pair-by-pair sums in long
// double and against the FFT library's own time for the same coefficients,
// at the highest order (100) and several period lengths, single-threaded.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include "analysis/fourier_apr.h"
#include "tests/analysis/fourier_reference.h"
#include "tests/analysis/voice_like_signal.h"

namespace tesmera {
namespace {

using CoefficientFunction = void (*)(std::span<const double>, std::int32_t,
                                     std::span<double, CoefficientCount>,
                                     std::span<double, CoefficientCount>);

void RunCoefficients(benchmark::State& state, CoefficientFunction coefficients) {
    const auto N = static_cast<std::int32_t>(state.range(0));
    const std::vector<double> samples = testing_signals::VoiceLikePeriod(N);
    std::array<double, CoefficientCount> ax{};
    std::array<double, CoefficientCount> bx{};
    for (auto _ : state) {
        coefficients(samples, MaxHarmonic, ax, bx);
        benchmark::DoNotOptimize(ax.data());
        benchmark::DoNotOptimize(bx.data());
        benchmark::ClobberMemory();
    }
    state.counters["pairs"] = static_cast<double>(N) * (MaxHarmonic + 1);
}

void BM_ReferenceCoefficients(benchmark::State& state) {
    RunCoefficients(state, &reference::FourierCoefficients);
}

void BM_KernelCoefficients(benchmark::State& state) {
    RunCoefficients(state, &FourierCoefficients);
}

// The library alone: an estimated plan executed on arrays of its own, and
// the 101 coefficient pairs read out and scaled. With `newLength` the plan is
// made afresh in every iteration, after the library has forgotten what it
// learnt, as a batch of periods of many lengths would need it; otherwise it
// is made once and cached, the library's best case.
void RunFftLibrary(benchmark::State& state, bool newLength) {
    const auto N = static_cast<std::int32_t>(state.range(0));
    const std::vector<double> samples = testing_signals::VoiceLikePeriod(N);
    double* in = fftw_alloc_real(static_cast<std::size_t>(N));
    fftw_complex* out = fftw_alloc_complex(static_cast<std::size_t>(N / 2 + 1));
    const auto makePlan = [&] { return fftw_plan_dft_r2c_1d(N, in, out, FFTW_ESTIMATE); };
    fftw_plan plan = makePlan();
    std::array<double, CoefficientCount> ax{};
    std::array<double, CoefficientCount> bx{};
    for (auto _ : state) {
        if (newLength) {
            fftw_destroy_plan(plan);
            fftw_forget_wisdom();
            plan = makePlan();
        }
        in[0] = samples[N - 1];
        std::copy(samples.begin(), samples.end() - 1, in + 1);
        fftw_execute(plan);
        for (std::int32_t k = 0; k <= MaxHarmonic; ++k) {
            ax[k] = out[k][0] / N * 2.0;
            bx[k] = -out[k][1] / N * 2.0;
        }
        benchmark::DoNotOptimize(ax.data());
        benchmark::DoNotOptimize(bx.data());
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
}

void BM_FftLibraryCoefficients(benchmark::State& state) {
    RunFftLibrary(state, false);
}

void BM_FftLibraryNewLengthCoefficients(benchmark::State& state) {
    RunFftLibrary(state, true);
}

// The whole call as the compute command makes it: coefficients, energy,
// order search and both reconstructions.
void BM_FourierApr(benchmark::State& state) {
    const auto N = static_cast<std::int32_t>(state.range(0));
    std::vector<double> signal = testing_signals::VoiceLikePeriod(N);
    signal.resize(10000, 0.0);
    std::vector<double> fundamental(10000), approx(10000);
    std::array<double, CoefficientCount> ax{}, bx{};
    const std::int32_t fundamentalOrder = 1;
    std::int32_t approxOrder = 0;
    for (auto _ : state) {
        FourierApr(signal, N, 0.01, ax, bx, fundamentalOrder, fundamental, approxOrder, approx);
        benchmark::DoNotOptimize(approx.data());
        benchmark::ClobberMemory();
    }
    state.counters["order"] = approxOrder;
}

// A voice period, a prime, a round length and the longest period.
void PeriodLengths(benchmark::internal::Benchmark* b) {
    b->Arg(441)->Arg(997)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_ReferenceCoefficients)->Apply(PeriodLengths);
BENCHMARK(BM_KernelCoefficients)->Apply(PeriodLengths);
BENCHMARK(BM_FftLibraryCoefficients)->Apply(PeriodLengths);
BENCHMARK(BM_FftLibraryNewLengthCoefficients)->Apply(PeriodLengths);
BENCHMARK(BM_FourierApr)->Apply(PeriodLengths);

}  // namespace
}  // namespace tesmera
