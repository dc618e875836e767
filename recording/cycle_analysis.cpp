#include "recording/cycle_analysis.h"

#include <algorithm>
#include <cmath>

#include "analysis/FourierApr.h"
#include "wave/voice_period.h"

namespace tesmera {

namespace {

constexpr double PeakSample = 32767;

}  // namespace

std::vector<std::int16_t> PeriodAs16Bit(std::span<const double> period) {
    double peak = 0;
    for (const double v : period) {
        peak = std::max(peak, std::fabs(v));
    }
    std::vector<std::int16_t> samples;
    samples.reserve(period.size());
    for (const double v : period) {
        samples.push_back(
            static_cast<std::int16_t>(peak > 0 ? std::lround(v / peak * PeakSample) : 0));
    }
    return samples;
}

CycleScores AnalyseCycle(std::span<const std::int16_t> period) {
    CycleScores scores;
    if (period.size() < 2 || period.size() > static_cast<std::size_t>(MaxSamples)) {
        return scores;
    }
    const std::vector<double> samples(period.begin(), period.end());
    // The series' coefficients are summed harmonic by harmonic, so those of
    // the harmonics the norm and the models read are the window's own; the
    // higher harmonics and the rebuilt curves it draws are not needed here.
    const std::int32_t order = std::min(static_cast<std::int32_t>(NormHarmonics),
                                        MaximumOrder(static_cast<std::int32_t>(period.size())));
    std::array<double, CoefficientCount> ax{};
    std::array<double, CoefficientCount> bx{};
    std::array<double, CoefficientCount> AA{};
    std::array<double, NormHarmonics> AANorm{};
    double norm = 0;
    FourierCoefficients(samples, order, ax, bx);
    AmplitudeStep(ax, bx, AA);
    bool warned = false;
    NormalisationStep(AA, norm, AANorm, scores.ScoreValue, scores.Score,
                      [&warned](const std::string&) { warned = true; });
    scores.Scored = !warned;
    return scores;
}

}  // namespace tesmera
