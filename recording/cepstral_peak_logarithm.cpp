// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_logarithm.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace tesmera {

namespace {

constexpr std::uint64_t ExponentOne = 0x3ff0000000000000;  // the bits of 1.0
// The bits of √2/2: mantissas from there up to √2 keep the series short.
constexpr std::uint64_t SqrtHalf = 0x3fe6a09e667f3bcd;
// An integer below 2^52 set into the mantissa of 2^52 reads as 2^52 plus
// itself: an integer as a double without a conversion instruction.
constexpr std::uint64_t TwoTo52 = 0x4330000000000000;
constexpr double Ln2High = 6.93147180369123816490e-01;  // ln 2 to 32 bits,
constexpr double Ln2Low = 1.90821492927058770002e-10;   // and the rest

// The vector types of each width, spelled out: the compiler does not take
// a width that depends on a template parameter.
template <std::size_t Lanes>
struct Lane;
template <>
struct Lane<2> {
    using Doubles = double __attribute__((vector_size(16)));
    using Words = std::uint64_t __attribute__((vector_size(16)));
};
template <>
struct Lane<4> {
    using Doubles = double __attribute__((vector_size(32)));
    using Words = std::uint64_t __attribute__((vector_size(32)));
};

// ln(x) = k·ln 2 + ln(m), m = x / 2^k in [√2/2, √2). With f = m − 1 and
// s = f / (2 + f), ln(m) = 2·atanh(s) = f − f²/2 + s·(f²/2 + R(s²)), R the
// minimax polynomial of the freely distributed C mathematical library of
// 1993, below one unit in the last place.
// Taken from and to memory, so that no vector crosses a call: the wider
// ones would otherwise be passed differently with and without AVX.
template <std::size_t Lanes>
[[gnu::always_inline]] inline void Logarithms(const double* values, double* logs) {
    using Doubles = typename Lane<Lanes>::Doubles;
    using Words = typename Lane<Lanes>::Words;
    Words bits;
    __builtin_memcpy(&bits, values, sizeof bits);
    // Biased so that both shifts stay unsigned: the exponent of x, moved
    // down by one where the mantissa is below √2/2.
    const Words biasedK = (bits - SqrtHalf + ExponentOne) >> 52;
    const Doubles m = __builtin_bit_cast(Doubles, bits - (biasedK << 52) + ExponentOne);
    const Doubles k = __builtin_bit_cast(Doubles, biasedK | TwoTo52) - (0x1p52 + 1023.0);

    const Doubles f = m - 1.0;
    const Doubles halfSquare = 0.5 * f * f;
    const Doubles s = f / (2.0 + f);
    const Doubles z = s * s;
    const Doubles w = z * z;
    const Doubles even = w * (3.999999999940941908e-01 +
                              w * (2.222219843214978396e-01 + w * 1.531383769920937332e-01));
    const Doubles odd = z * (6.666666666666735130e-01 +
                             w * (2.857142874366239149e-01 +
                                  w * (1.818357216161805012e-01 + w * 1.479819860511658591e-01)));
    const Doubles l =
        k * Ln2High - ((halfSquare - (s * (halfSquare + (odd + even)) + k * Ln2Low)) - f);
    __builtin_memcpy(logs, &l, sizeof l);
}

bool IsPositiveNormal(double x) {
    return x >= DBL_MIN && x <= DBL_MAX;
}

// Every value through the vector path, whole groups of Lanes, then the few
// that it does not cover (the tail, and any value it does not hold for)
// through std::log.
template <std::size_t Lanes>
[[gnu::always_inline]] inline void LogarithmsAtWidth(const double* values, double* logs,
                                                     std::size_t count) {
    std::size_t i = 0;
    for (; i + Lanes <= count; i += Lanes) {
        Logarithms<Lanes>(values + i, logs + i);
    }
    for (std::size_t j = 0; j < count; ++j) {
        if (j >= i || !IsPositiveNormal(values[j])) {
            logs[j] = std::log(values[j]);
        }
    }
}

void LogarithmsInPairs(const double* values, double* logs, std::size_t count) {
    LogarithmsAtWidth<2>(values, logs, count);
}

#if defined(__x86_64__) && defined(__GNUC__)
// Four at a time where the processor can: the same operations on each
// value, so the same results.
[[gnu::target("avx2")]] void LogarithmsInFours(const double* values, double* logs,
                                               std::size_t count) {
    LogarithmsAtWidth<4>(values, logs, count);
}

using LogarithmRoutine = void (*)(const double*, double*, std::size_t);
LogarithmRoutine WidestRoutine() {
    return __builtin_cpu_supports("avx2") ? LogarithmsInFours : LogarithmsInPairs;
}
#else
auto WidestRoutine() {
    return LogarithmsInPairs;
}
#endif

}  // namespace

void NaturalLogarithms(std::span<const double> values, std::span<double> logs) {
    static const auto routine = WidestRoutine();
    routine(values.data(), logs.data(), values.size());
}

}  // namespace tesmera
