// SPDX-License-Identifier: GPL-3.0-or-later
// Turning a computed waveform into 16-bit samples at a chosen loudness.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

namespace tesmera {

// The values scaled so that the largest magnitude becomes `peak` (at most
// 32767), each rounded half away from zero. All-zero values stay zero
// rather than being divided by their zero peak.
inline std::vector<std::int16_t> ScaledToPeak(std::span<const double> values, double peak) {
    double largest = 0;
    for (const double v : values) {
        largest = std::max(largest, std::fabs(v));
    }
    std::vector<std::int16_t> samples;
    samples.reserve(values.size());
    for (const double v : values) {
        samples.push_back(
            static_cast<std::int16_t>(largest > 0 ? std::lround(v / largest * peak) : 0));
    }
    return samples;
}

}  // namespace tesmera
