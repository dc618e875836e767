// SPDX-License-Identifier: GPL-3.0-or-later
// Jitter and shimmer of a voice from its period marks, defined as the
// standard voice-analysis tools define them (docs/measures.md has the
// formulas): a period counts only inside the period floor and ceiling, a
// comparison of neighbouring periods only when they differ by at most the
// period factor, a comparison of neighbouring amplitudes only when they
// differ by at most the amplitude factor.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace tesmera {

struct PerturbationLimits {
    double PeriodFloor = 0.0001;   // seconds, inclusive
    double PeriodCeiling = 0.02;   // seconds, inclusive
    double MaxPeriodFactor = 1.3;  // longer / shorter of neighbouring periods, inclusive
    double MaxAmplitudeFactor = 1.6;
};

// Each figure is absent when too few periods or amplitudes count for it.
struct JitterFigures {
    std::optional<double> Local;          // fraction of the mean period (0.01 is 1 %)
    std::optional<double> LocalAbsolute;  // seconds
    std::optional<double> Rap;            // fraction
    std::optional<double> Ppq5;           // fraction
};

struct ShimmerFigures {
    std::optional<double> Local;    // fraction of the mean amplitude
    std::optional<double> LocalDb;  // dB
    std::optional<double> Apq3;     // fraction
    std::optional<double> Apq5;     // fraction
};

// `marks`: period marks in seconds, strictly increasing; period i runs from
// marks[i] to marks[i + 1].
JitterFigures MeasureJitter(std::span<const double> marks, const PerturbationLimits& limits = {});

// The periods between neighbouring marks: marks[i + 1] − marks[i].
std::vector<double> MarkPeriods(std::span<const double> marks);

// The same from the periods themselves (seconds, in time order). A period
// outside the floor and ceiling counts for nothing and parts the periods on
// its sides, as a voice break does: a resampling that joins pieces of a
// voice puts one between them.
JitterFigures MeasureJitterOfPeriods(std::span<const double> periods,
                                     const PerturbationLimits& limits = {});

// The amplitude at an inner mark is the root mean square of `signal`
// (sample k at k / rate seconds), less its mean from the first mark to the
// last, under a Hann window reaching 0.2 of the previous period before the
// mark and 0.2 of the next period after it; a mark gets one only when both
// its periods count and their pair counts. Taking the mean off makes the
// figures blind to a DC offset, as peak-to-peak amplitudes are.
ShimmerFigures MeasureShimmer(std::span<const double> signal, double rate,
                              std::span<const double> marks, const PerturbationLimits& limits = {});

// The amplitude of one period at its inner mark, as MeasureShimmer takes it.
struct PeriodAmplitude {
    double Time;       // seconds: the mark
    double Amplitude;  // > 0, in the signal's units
};

// MeasureShimmer in two steps: the amplitudes at the marks that get one, in
// time order, then the figures from them. Two amplitudes are compared only
// when their marks lie within the period floor and ceiling of each other,
// so a resampling that joins pieces of a voice spaces the pieces further
// apart than the ceiling.
std::vector<PeriodAmplitude> MeasurePeriodAmplitudes(std::span<const double> signal, double rate,
                                                     std::span<const double> marks,
                                                     const PerturbationLimits& limits = {});
ShimmerFigures MeasureShimmerOfAmplitudes(std::span<const PeriodAmplitude> amplitudes,
                                          const PerturbationLimits& limits = {});

}  // namespace tesmera
