// SPDX-License-Identifier: GPL-3.0-or-later
// Harmonic amplitudes, their normalisation and the six fixed score models
// that rate a voice from 1 to 5.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "analysis/fourier_apr.h"
#include "wave/voice_period.h"

namespace tesmera {

// Harmonics 1..NormHarmonics enter the amplitude norm; the models read
// harmonics 1..ModelHarmonics.
constexpr std::size_t NormHarmonics = 15;
constexpr std::size_t ModelHarmonics = 6;
constexpr std::size_t ScoreModelCount = 6;

constexpr std::string_view NormIsZeroWarning = " !!!  norma = 0  !!! ";
constexpr std::string_view ZeroCoefficientWarning = " !!!  koeficient AA[i] = 0  !!! ";

// Amplitudes below this fraction of the period's largest absolute sample are
// rounding noise of the series (about 1e-13 relative), not harmonics: far
// below any real harmonic or the quantisation noise of a 24-bit sample.
constexpr double AmplitudeFloorRatio = 1e-9;

// AA[k] = √(ax[k]² + bx[k]²) for every harmonic 0..100, except that an
// amplitude below AmplitudeFloorRatio × largestAbsSample is stored as 0, so
// a constant period, a square wave's even harmonics or the harmonics a
// period does not hold are treated as the zeros they are in exact
// arithmetic. largestAbsSample is the period's largest |x_i| (>= 0).
void AmplitudeStep(std::span<const double, CoefficientCount> ax,
                   std::span<const double, CoefficientCount> bx, double largestAbsSample,
                   std::span<double, CoefficientCount> AA);

// AmplitudeNorm = √(Σ_{k=1..15} AA[k]²). AANorm (harmonics 1..15 at indices
// 0..14) is cleared, then its first six entries get AA[1..6] / AmplitudeNorm,
// and the six models are applied into ScoreValue/Score (models in the order
// of ScoreModels, at indices 0..5).
//
// A zero norm or a zero among the six normalised amplitudes would reach a
// logarithm, so either one is reported through `warn` instead (at most one
// warning, NormIsZeroWarning or ZeroCoefficientWarning) and no model is
// applied: ScoreValue and Score keep what the caller put there. Harmonics
// above 15 have no influence.
void NormalisationStep(std::span<const double, CoefficientCount> AA, double& AmplitudeNorm,
                       std::span<double, NormHarmonics> AANorm,
                       std::span<double, ScoreModelCount> ScoreValue,
                       std::span<std::int32_t, ScoreModelCount> Score, const WarningSink& warn);

// A linear score model: value = c[0] + Σ_{j=1..6} c[j] × g(v_j), where v_j is
// the normalised amplitude of harmonic j and g is the identity for the model
// "10" and the natural logarithm for every other id.
struct ScoreModel {
    std::string_view id;
    std::array<double, 7> c;
};

// The six models in the order they are applied and reported.
extern const std::array<ScoreModel, ScoreModelCount> ScoreModels;

// The grade of a raw model value: 1 for value <= 0.5, 5 for value > 5,
// otherwise the nearest integer with halves to even.
std::int32_t ScoreOfValue(double value);

// Applies one model to AANorm[0..5] (harmonics 1..6): `value` gets the raw
// model value, `score` the value clamped to 1..5 (value <= 0.5 gives 1,
// value > 5 gives 5, otherwise the nearest integer with halves to even).
// Throws FloatingPointError when a logarithm meets a value <= 0, which
// NormalisationStep never lets through.
void SCORExx(const std::string& id, std::span<const double, NormHarmonics> AANorm,
             const std::array<double, 7>& c, double& value, std::int32_t& score);

}  // namespace tesmera
