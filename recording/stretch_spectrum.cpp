// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/stretch_spectrum.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <numbers>

#include "recording/cepstral_peak_transform.h"

namespace tesmera {

namespace {

// Windows this many cycles long resolve the harmonics: the Blackman-Harris
// main lobe (±4 bins) stays within a quarter of F0 of each.
constexpr double CyclesPerWindow = 16;
constexpr std::size_t MaxWindows = 4;

std::vector<double> BlackmanHarris(std::size_t n) {
    std::vector<double> window(n);
    const double step = 2 * std::numbers::pi / static_cast<double>(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = step * static_cast<double>(i);
        window[i] =
            0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
    }
    return window;
}

// The fundamental frequency of the median cycle between the marks from
// `from` to `to` seconds (all of them by default); the whole marks' when
// fewer than two lie there.
double MedianF0(std::span<const double> marks, double from = -HUGE_VAL, double to = HUGE_VAL) {
    std::vector<double> lengths;
    for (std::size_t i = 1; i < marks.size(); ++i) {
        if (marks[i - 1] >= from && marks[i] <= to) {
            lengths.push_back(marks[i] - marks[i - 1]);
        }
    }
    if (lengths.empty()) {
        return MedianF0(marks);
    }
    const auto middle = lengths.begin() + static_cast<std::ptrdiff_t>(lengths.size() / 2);
    std::nth_element(lengths.begin(), middle, lengths.end());
    return 1 / *middle;
}

}  // namespace

std::span<const double> ExcerptPart(const RecordingExcerpt& excerpt, double rate, double from,
                                    double to) {
    const auto index = [&](double seconds) {
        const double i = std::round((seconds - excerpt.StartSeconds) * rate);
        return static_cast<std::size_t>(
            std::clamp(i, 0.0, static_cast<double>(excerpt.Samples.size())));
    };
    const std::size_t first = index(from);
    return excerpt.Samples.subspan(first, std::max(first, index(to)) - first);
}

double AveragedSpectrum::Total(std::size_t firstBin) const {
    double total = 0;
    for (std::size_t k = firstBin; k < Power.size(); ++k) {
        total += (k == 0 || 2 * k == Length) ? Power[k] : 2 * Power[k];
    }
    return total;
}

double AveragedSpectrum::PeakNear(double hz, double reachHz) const {
    const double first = std::max(0.0, std::ceil((hz - reachHz) / BinHz));
    const double last =
        std::min(static_cast<double>(Power.size()) - 1, std::floor((hz + reachHz) / BinHz));
    double peak = 0;
    for (double k = first; k <= last; ++k) {
        peak = std::max(peak, Power[static_cast<std::size_t>(k)]);
    }
    return peak;
}

AveragedSpectrum StretchSpectrum(const MarkedStretch& stretch, double rate) {
    const std::span<const double> samples =
        ExcerptPart(stretch.Excerpt, rate, stretch.StartSeconds, stretch.EndSeconds);
    const double f0 = MedianF0(stretch.Marks);
    std::size_t n = std::bit_ceil(static_cast<std::size_t>(std::ceil(CyclesPerWindow * rate / f0)));
    n = std::min(n, std::bit_floor(samples.size()));
    const std::vector<double> window = BlackmanHarris(n);
    const std::size_t count = std::clamp<std::size_t>(samples.size() / n, 1, MaxWindows);
    AveragedSpectrum spectrum{
        std::vector<double>(n / 2 + 1, 0.0), rate / static_cast<double>(n), n, f0, {}};
    std::vector<double> frame(n);
    // Sample 0 of `samples` lies this many seconds after the excerpt's first.
    const double offset =
        static_cast<double>(samples.data() - stretch.Excerpt.Samples.data()) / rate;
    for (std::size_t w = 0; w < count; ++w) {
        const std::size_t first = count == 1 ? 0 : w * (samples.size() - n) / (count - 1);
        const double start = offset + static_cast<double>(first) / rate;
        WindowSpectrum& own = spectrum.Windows.emplace_back(WindowSpectrum{
            {}, MedianF0(stretch.Marks, start, start + static_cast<double>(n) / rate)});
        const std::span<const double> part = samples.subspan(first, n);
        double mean = 0;
        for (const double v : part) {
            mean += v;
        }
        mean /= static_cast<double>(n);
        for (std::size_t i = 0; i < n; ++i) {
            frame[i] = (part[i] - mean) * window[i];
        }
        const std::vector<std::complex<double>> bins = RealSpectrum(frame);
        for (std::size_t k = 0; k < bins.size(); ++k) {
            own.Power.push_back(std::norm(bins[k]));
            spectrum.Power[k] += own.Power.back() / static_cast<double>(count);
        }
    }
    return spectrum;
}

}  // namespace tesmera
