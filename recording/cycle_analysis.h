// The single-period analysis of one cycle held in memory: the window's
// Fourier series, amplitudes, normalisation and six score models.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/scores.h"

namespace tesmera {

struct CycleScores {
    bool Scored = false;  // false when the normalisation left the models out
    std::array<double, ScoreModelCount> ScoreValue{};
    std::array<std::int32_t, ScoreModelCount> Score{};
};

// A period cut from a longer signal as a period file holds it: the samples
// scaled so the largest magnitude becomes 32767, rounded to 16 bits.
std::vector<std::int16_t> PeriodAs16Bit(std::span<const double> period);

// The scores of a period of 2..MaxSamples samples at NominalSampleRate, as
// the window computes them after loading it; a longer or shorter period is
// not scored.
CycleScores AnalyseCycle(std::span<const std::int16_t> period);

}  // namespace tesmera
