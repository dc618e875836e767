// The Fourier coefficient kernel against the direct pair-by-pair sums, at the
// highest order (100) and three period lengths, single-threaded.
#include <array>
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include "analysis/FourierApr.h"
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

BENCHMARK(BM_ReferenceCoefficients)->Arg(441)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KernelCoefficients)->Arg(441)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FourierApr)->Arg(441)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesmera
