// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/lag_search.h"

#include <algorithm>
#include <array>

namespace tesmera {

double DotProduct(const double* a, const double* b, std::size_t count) {
    std::array<double, 4> partial{};
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        partial[0] += a[i] * b[i];
        partial[1] += a[i + 1] * b[i + 1];
        partial[2] += a[i + 2] * b[i + 2];
        partial[3] += a[i + 3] * b[i + 3];
    }
    for (; i < count; ++i) {
        partial[0] += a[i] * b[i];
    }
    return (partial[0] + partial[1]) + (partial[2] + partial[3]);
}

SquareSums::SquareSums(std::span<const double> x) : sums_(x.size() + 1) {
    double sum = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sum += x[i] * x[i];
        sums_[i + 1] = sum;
    }
}

LagPeak FindLagPeak(std::ptrdiff_t lowest, std::ptrdiff_t highest, std::ptrdiff_t step,
                    const std::function<double(std::ptrdiff_t lag)>& correlation) {
    std::ptrdiff_t best = lowest;
    double bestValue = correlation(best);
    for (std::ptrdiff_t lag = lowest + step; lag <= highest; lag += step) {
        const double value = correlation(lag);
        if (value > bestValue) {
            best = lag;
            bestValue = value;
        }
    }
    double left = correlation(best - 1);
    double right = correlation(best + 1);
    // Climb while a neighbour is higher, staying one lag inside the margins.
    while (true) {
        if (left > bestValue && best - 1 >= lowest) {
            right = bestValue;
            bestValue = left;
            --best;
            left = correlation(best - 1);
        } else if (right > bestValue && best + 1 <= highest) {
            left = bestValue;
            bestValue = right;
            ++best;
            right = correlation(best + 1);
        } else {
            break;
        }
    }
    // At an edge of the range with the peak beyond it: the edge, unrefined.
    const double curvature = left - 2 * bestValue + right;
    if (curvature >= 0 || left > bestValue || right > bestValue) {
        return {static_cast<double>(best), bestValue};
    }
    const double offset = std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5);
    return {static_cast<double>(best) + offset, bestValue - 0.25 * (left - right) * offset};
}

}  // namespace tesmera
