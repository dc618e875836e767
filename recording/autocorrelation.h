// SPDX-License-Identifier: GPL-3.0-or-later
// The normalised autocorrelation a pitch estimate is read from, computed
// through the FFT so a frame costs O(n log n) rather than a sum per lag.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace tesmera {

// r[lag] for lag 0..maxLag (inclusive):
//   r[lag] = sum x[i] x[i+lag] / sqrt(sum x[i]^2 * sum x[i+lag]^2),
// each sum over the i with i + lag < n, so the overlap is compared with
// itself at both ends. 0 where either energy is 0 or lag >= n. Agrees with
// those sums taken directly to within floating rounding (about 1e-13).
// Safe to call from several threads at once.
std::vector<double> NormalisedAutocorrelation(std::span<const double> x, std::size_t maxLag);

// The same, with the products summed lag by lag: O(n · maxLag), but no
// transform plan to make. A plan for a length met once costs 0.5 to 4 ms,
// more than these sums for a few thousand samples and a few hundred lags, so
// a one-off estimate is cheaper this way. Agrees with NormalisedAutocorrelation
// to within rounding.
std::vector<double> DirectNormalisedAutocorrelation(std::span<const double> x, std::size_t maxLag);

// A function of the same shape as NormalisedAutocorrelation, so a caller
// can be handed another way of computing it.
using AutocorrelationFunction = std::vector<double> (*)(std::span<const double>, std::size_t);

}  // namespace tesmera
