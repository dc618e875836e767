// SPDX-License-Identifier: GPL-3.0-or-later
// Generated voice periods for checking the Fourier kernel against the long-
// double sums: voice-like periods and signals built to be hard for it, above
// all near-ties in the order criterion. Shared by the kernel tests and the
// generated sets that two builds are compared over (tools/period_sets.h).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <random>
#include <string_view>
#include <vector>

#include "analysis/fourier_apr.h"
#include "analysis/period_analysis.h"

namespace tesmera::testing_signals {

enum class PeriodFamily {
    Voice,         // 10-40 harmonics falling as 1/k^p, noise, any level
    Pulse,         // a sharp glottal-like pulse: energy spread over every harmonic
    Noise,         // white noise up to full scale
    Tone,          // one harmonic, anywhere up to N − 1 (aliased above N/2)
    Offset,        // a large offset under a small wave
    NearTieAbove,  // criterion met at order m by a relative margin of 1e-7..1e-10
    NearTieBelow,  // criterion missed at order m by 1e-7..1e-10
};

constexpr PeriodFamily AllPeriodFamilies[] = {
    PeriodFamily::Voice,  PeriodFamily::Pulse,        PeriodFamily::Noise,       PeriodFamily::Tone,
    PeriodFamily::Offset, PeriodFamily::NearTieAbove, PeriodFamily::NearTieBelow};

// The families' names in file and test names, in declaration order.
inline std::string_view FamilyName(PeriodFamily family) {
    constexpr std::string_view Names[] = {"voice",  "pulse",          "noise",         "tone",
                                          "offset", "near_tie_above", "near_tie_below"};
    static_assert(std::size(Names) == std::size(AllPeriodFamilies));
    return Names[static_cast<std::size_t>(family)];
}

class PeriodGenerator {
  public:
    explicit PeriodGenerator(std::uint32_t seed) : random_(seed) {}

    // One period of N >= 2 samples. With `whole`, values are rounded to
    // 16-bit sample values, as a voice file holds them.
    std::vector<double> Make(PeriodFamily family, std::int32_t N, bool whole) {
        std::vector<double> x = Raw(family, N);
        if (whole) {
            for (double& v : x) {
                v = std::clamp(std::nearbyint(v), -32768.0, 32767.0);
            }
        }
        return x;
    }

  private:
    double Uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    std::int32_t Integer(std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random_);
    }

    // Adds c·cos(2πki/N + phase) for i = 1..N.
    static void AddHarmonic(std::vector<double>& x, std::int32_t k, double c, double phase) {
        const auto N = static_cast<long double>(x.size());
        for (std::size_t i = 1; i <= x.size(); ++i) {
            x[i - 1] += static_cast<double>(c * std::cos(TwoPi * k * i / N + phase));
        }
    }

    std::vector<double> Raw(PeriodFamily family, std::int32_t N) {
        std::vector<double> x(static_cast<std::size_t>(N), 0.0);
        switch (family) {
            case PeriodFamily::Voice:
                Voice(x);
                break;
            case PeriodFamily::Pulse:
                Pulse(x);
                break;
            case PeriodFamily::Noise:
                for (double& v : x) {
                    v = Uniform(-32768.0, 32767.0);
                }
                break;
            case PeriodFamily::Tone:
                AddHarmonic(x, Integer(1, N - 1), Uniform(1.0, 30000.0), Uniform(0.0, 6.3));
                break;
            case PeriodFamily::Offset:
                std::ranges::fill(x, Uniform(-30000.0, 30000.0));
                AddHarmonic(x, 1, Uniform(1.0, 50.0), Uniform(0.0, 6.3));
                break;
            default:
                NearTie(x, family == PeriodFamily::NearTieAbove);
                break;
        }
        return x;
    }

    void Voice(std::vector<double>& x) {
        const auto N = static_cast<std::int32_t>(x.size());
        const double level = Uniform(100.0, 20000.0);
        const double fall = Uniform(0.7, 2.5);
        const std::int32_t count = std::min(Integer(10, 40), std::max(1, (N - 1) / 2));
        for (std::int32_t k = 1; k <= count; ++k) {
            AddHarmonic(x, k, level / std::pow(k, fall), Uniform(0.0, 6.3));
        }
        const double noise = level * Uniform(0.0, 0.02);
        const double offset = Uniform(-200.0, 200.0);
        for (double& v : x) {
            v += offset + Uniform(-noise, noise);
        }
    }

    // Slow opening, sudden closing, closed phase: like glottal flow.
    void Pulse(std::vector<double>& x) {
        const auto N = static_cast<double>(x.size());
        const double open = Uniform(0.3, 0.7);
        const double peak = Uniform(1000.0, 30000.0);
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double t = static_cast<double>(i) / N;
            x[i] = t < open          ? peak * std::pow(std::sin(t / open * 1.5707963), 2.0)
                   : t < open + 0.05 ? peak * (1.0 - (t - open) / 0.05)
                                     : 0.0;
        }
    }

    // Harmonics 1..m hold the share ((1 − tolerance)(1 + δ))² of the energy
    // and harmonic m + 1 the rest, so at order m the criterion is met (δ > 0)
    // or missed (δ < 0) by a relative margin of about |δ|.
    void NearTie(std::vector<double>& x, bool above) {
        const auto N = static_cast<std::int32_t>(x.size());
        const std::int32_t highest = std::min(MaximumOrder(N), (N - 1) / 2);
        if (highest < 2) {
            Voice(x);
            return;
        }
        const std::int32_t m = Integer(1, std::min(highest - 1, 30));
        const double delta = (above ? 1.0 : -1.0) * std::pow(10.0, -Uniform(7.0, 10.0));
        const double level = Uniform(1000.0, 10000.0);
        double held = 0.0;
        for (std::int32_t k = 1; k <= m; ++k) {
            const double c = level * Uniform(0.2, 1.0) / k;
            held += c * c;
            AddHarmonic(x, k, c, Uniform(0.0, 6.3));
        }
        const double share = std::pow((1.0 - ApproxEnergyTolerance) * (1.0 + delta), 2.0);
        AddHarmonic(x, m + 1, std::sqrt(held * (1.0 / share - 1.0)), Uniform(0.0, 6.3));
    }

    std::mt19937 random_;
};

}  // namespace tesmera::testing_signals
