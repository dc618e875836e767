// SPDX-License-Identifier: GPL-3.0-or-later
// Natural logarithms of whole rows for the cepstral peak measure: each of
// its frames takes the logarithm of a power spectrum of about five hundred
// bins, which one value at a time makes a tenth of the measure's cost.
#pragma once

#include <span>

namespace tesmera {

// logs[i] = ln(values[i]) for every i (`logs` at least as long), within one
// unit in the last place. Positive normal values are taken several at a
// time in plain double arithmetic (no fused multiply-adds), so each result
// is the same whichever width the processor computes at; any other value
// (zero, subnormal, negative, infinite or NaN) is left to std::log.
void NaturalLogarithms(std::span<const double> values, std::span<double> logs);

}  // namespace tesmera
