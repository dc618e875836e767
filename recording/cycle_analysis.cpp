#include "recording/cycle_analysis.h"

#include <algorithm>
#include <cmath>

#include "analysis/FourierApr.h"
#include "wave/voice_period.h"

namespace tesmera {

namespace {

constexpr double PeakSample = 32767;
// The window's fixed harmonic of the fundamental reconstruction and its
// energy tolerance, as every load resets them.
constexpr std::int32_t FundamentalOrder = 1;
constexpr double EnergyTolerance = 0.01;

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

CycleAnalyser::CycleAnalyser()
    : samples_(MaxSamples), fundamental_(MaxSamples), approximation_(MaxSamples) {}

CycleScores CycleAnalyser::Analyse(std::span<const std::int16_t> period) {
    CycleScores scores;
    if (period.size() < 2 || period.size() > static_cast<std::size_t>(MaxSamples)) {
        return scores;
    }
    std::ranges::copy(period, samples_.begin());
    const auto count = static_cast<std::int32_t>(period.size());
    std::array<double, CoefficientCount> ax{};
    std::array<double, CoefficientCount> bx{};
    std::array<double, CoefficientCount> AA{};
    std::array<double, NormHarmonics> AANorm{};
    std::int32_t approxOrder = 0;
    double norm = 0;
    FourierApr(samples_, count, EnergyTolerance, ax, bx, FundamentalOrder, fundamental_,
               approxOrder, approximation_);
    AmplitudeStep(ax, bx, AA);
    bool warned = false;
    NormalisationStep(AA, norm, AANorm, scores.ScoreValue, scores.Score,
                      [&warned](const std::string&) { warned = true; });
    scores.Scored = !warned;
    return scores;
}

}  // namespace tesmera
