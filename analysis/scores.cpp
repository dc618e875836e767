// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/scores.h"

#include <algorithm>
#include <cmath>

#include "wave/checked_math.h"

namespace tesmera {

const std::array<ScoreModel, ScoreModelCount> ScoreModels{{
    {"10", {6.1284, -1.2692, -2.7451, -3.256, -2.8223, -0.5428, -4.1923}},
    {"21", {0.3533, 1.1004, -0.3154, -0.4712, -0.18, -0.0427, -0.2476}},
    {"22", {-0.0294, 1.1408, -0.2487, -0.5206, -0.1727, -0.0641, -0.387}},
    {"23", {0.0795, 0.3563, -0.1996, -0.5082, -0.2971, -0.1254, -0.2239}},
    {"24", {0.0611, 0.3437, -0.2039, -0.5135, -0.2951, -0.125, -0.2239}},
    {"25", {-0.0002, 0.3473, -0.2135, -0.5239, -0.2927, -0.135, -0.2226}},
}};

namespace {

// The model with the plain amplitudes as terms; all others take logarithms.
constexpr std::string_view LinearModelId = "10";

constexpr double LowestScoreLimit = 0.5;
constexpr double HighestScoreLimit = 5.0;

void Warn(const WarningSink& warn, StatusCode code, std::string_view message) {
    if (warn) {
        warn({code, std::string(message)});
    }
}

}  // namespace

std::int32_t ScoreOfValue(double value) {
    if (value <= LowestScoreLimit) {
        return 1;
    }
    if (value > HighestScoreLimit) {
        return 5;
    }
    // The default rounding mode sends halves to the even neighbour.
    return static_cast<std::int32_t>(std::nearbyint(value));
}

void AmplitudeStep(std::span<const double, CoefficientCount> ax,
                   std::span<const double, CoefficientCount> bx, double largestAbsSample,
                   std::span<double, CoefficientCount> AA) {
    const double floor = AmplitudeFloorRatio * largestAbsSample;
    for (std::size_t k = 0; k < CoefficientCount; ++k) {
        const long double a = ax[k];
        const long double b = bx[k];
        const auto amplitude = static_cast<double>(std::sqrt(a * a + b * b));
        AA[k] = amplitude < floor ? 0.0 : amplitude;
    }
}

void NormalisationStep(std::span<const double, CoefficientCount> AA, double& AmplitudeNorm,
                       std::span<double, NormHarmonics> AANorm,
                       std::span<double, ScoreModelCount> ScoreValue,
                       std::span<std::int32_t, ScoreModelCount> Score, const WarningSink& warn) {
    double sumOfSquares = 0.0;
    for (std::size_t k = 1; k <= NormHarmonics; ++k) {
        sumOfSquares = sumOfSquares + AA[k] * AA[k];
    }
    std::ranges::fill(AANorm, 0.0);
    AmplitudeNorm = std::sqrt(sumOfSquares);
    if (AmplitudeNorm == 0.0) {
        Warn(warn, StatusCode::ZeroNorm, NormIsZeroWarning);
        return;
    }

    // All six are stored even when one is zero; a quotient that underflows
    // to zero counts as zero too, since its logarithm would fail.
    bool anyZero = false;
    for (std::size_t j = 1; j <= ModelHarmonics; ++j) {
        AANorm[j - 1] = AA[j] / AmplitudeNorm;
        anyZero = anyZero || AANorm[j - 1] == 0.0;
    }
    if (anyZero) {
        Warn(warn, StatusCode::ZeroAmplitude, ZeroCoefficientWarning);
        return;
    }

    for (std::size_t j = 0; j < ScoreModelCount; ++j) {
        const ScoreModel& model = ScoreModels[j];
        SCORExx(std::string(model.id), AANorm, model.c, ScoreValue[j], Score[j]);
    }
}

void SCORExx(const std::string& id, std::span<const double, NormHarmonics> AANorm,
             const std::array<double, 7>& c, double& value, std::int32_t& score) {
    value = 0.0;
    score = 0;
    const bool linear = id == LinearModelId;
    long double sum = c[0];
    for (std::size_t j = 1; j <= ModelHarmonics; ++j) {
        const long double v = AANorm[j - 1];
        sum += c[j] * (linear ? v : CheckedLog(v));
    }
    value = static_cast<double>(sum);
    score = ScoreOfValue(value);
}

}  // namespace tesmera
