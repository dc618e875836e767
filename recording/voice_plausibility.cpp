// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voice_plausibility.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/number_text.h"

namespace tesmera {

namespace {

// Harmonics looked at for a pure tone, and the part of the band where no
// converter has filtered them yet.
constexpr int HighestCheckedHarmonic = 10;
constexpr double UsableBandShare = 0.45;
// The spectrum around a harmonic that holds it, in shares of F0.
constexpr double HarmonicReach = 0.25;
// Peaks are looked for up to this many F0s: jitter smears higher harmonics
// until their peaks fall anywhere.
constexpr double HighestPeakHarmonic = 4.25;

bool IsPureTone(const AveragedSpectrum& spectrum, double rate) {
    const double f0 = spectrum.F0;
    const double fundamental = spectrum.PeakNear(f0, HarmonicReach * f0);
    double strongest = 0;
    for (int h = 2; h <= HighestCheckedHarmonic && h * f0 < UsableBandShare * rate; ++h) {
        strongest = std::max(strongest, spectrum.PeakNear(h * f0, HarmonicReach * f0));
    }
    return fundamental > 0 && strongest < PureToneHarmonicFloor * fundamental;
}

// The frequency of the strongest spectral peak of `window`, among those
// within StrongPeakShare of its strongest, that lies off every harmonic and
// half harmonic of the window's F0; nothing when there is none.
std::optional<double> InharmonicPeak(const WindowSpectrum& window, double binHz) {
    const double f0 = window.F0;
    const auto& p = window.Power;
    const auto first = static_cast<std::size_t>(std::ceil(f0 / 2 / binHz));
    const auto last =
        std::min(p.size() - 2, static_cast<std::size_t>(HighestPeakHarmonic * f0 / binHz));
    if (first < 1 || first > last) {
        return std::nullopt;
    }
    const double strongest = *std::max_element(p.begin() + static_cast<std::ptrdiff_t>(first),
                                               p.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    std::optional<double> found;
    double foundPower = 0;
    for (std::size_t k = first; k <= last; ++k) {
        if (p[k] < StrongPeakShare * strongest || p[k] <= p[k - 1] || p[k] < p[k + 1]) {
            continue;
        }
        // The peak between bins, on a parabola through the log powers.
        const double a = std::log(p[k - 1]);
        const double b = std::log(p[k]);
        const double c = std::log(p[k + 1]);
        const double curvature = a - 2 * b + c;
        const double offset = curvature < 0 ? std::clamp(0.5 * (a - c) / curvature, -0.5, 0.5) : 0;
        const double hz = (static_cast<double>(k) + offset) * binHz;
        const double halves = 2 * hz / f0;
        if (std::fabs(halves - std::round(halves)) / 2 > InharmonicReach && p[k] > foundPower) {
            found = hz;
            foundPower = p[k];
        }
    }
    return found;
}

// An inharmonic peak found in most windows: one window may catch a pitch
// glide or a breath.
std::optional<double> AnotherPitch(const AveragedSpectrum& spectrum) {
    std::vector<double> found;
    for (const WindowSpectrum& window : spectrum.Windows) {
        if (const auto hz = InharmonicPeak(window, spectrum.BinHz)) {
            found.push_back(*hz);
        }
    }
    if (2 * found.size() <= spectrum.Windows.size()) {
        return std::nullopt;
    }
    const auto middle = found.begin() + static_cast<std::ptrdiff_t>(found.size() / 2);
    std::ranges::nth_element(found, middle);
    return *middle;
}

}  // namespace

std::optional<Status> ImplausibleVoice(const AveragedSpectrum& spectrum, double rate) {
    if (IsPureTone(spectrum, rate)) {
        return Status{StatusCode::NotAVoice, "not a voice: a pure tone"};
    }
    if (const auto other = AnotherPitch(spectrum)) {
        return Status{StatusCode::TwoVoices,
                      "two voices: another pitch at " + FixedText(*other, 15, 0, ".") + " Hz"};
    }
    return std::nullopt;
}

}  // namespace tesmera
