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

// Analyses period after period with buffers of its own.
class CycleAnalyser {
  public:
    CycleAnalyser();
    // A period of 2..MaxSamples samples at NominalSampleRate; a longer or
    // shorter one is not scored.
    CycleScores Analyse(std::span<const std::int16_t> period);

  private:
    std::vector<double> samples_;
    std::vector<double> fundamental_;
    std::vector<double> approximation_;
};

}  // namespace tesmera
