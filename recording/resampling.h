// Band-limited sample-rate conversion through libsamplerate.
#pragma once

#include <span>
#include <vector>

namespace tesmera {

enum class ResamplingQuality {
    Fast,  // for pitch tracking, where only the low band matters
    Best,  // for the period that is written out
};

// Converts `input` by `ratio` (output rate / input rate). Output sample k
// stands at input time k / ratio, so positions map back by division.
// Throws std::runtime_error when the converter refuses.
std::vector<double> Resample(std::span<const double> input, double ratio,
                             ResamplingQuality quality);

}  // namespace tesmera
