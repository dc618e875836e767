// SPDX-License-Identifier: GPL-3.0-or-later
// The mean of a sampled curve over a range of its axis (time or frequency),
// without interpolation between samples: each sample stands for the cell
// of one step around its position, and a cell the range cuts counts with
// the part of it that lies inside. The standard voice-analysis tools take
// the power of a stretch of sound, the level of a frequency band and the
// mean level of a spectrum's range this way; the voice quality index adds
// up those figures, so its results depend on how the edge cells count.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>

namespace tesmera {

// A curve of equally spaced samples: sample k (from 0) lies at
// First + k · Step, and the curve is defined on [DomainStart, DomainEnd].
struct SampledAxis {
    double First = 0;
    double Step = 1;
    double DomainStart = 0;
    double DomainEnd = 0;
};

// The value of sample k, in the unit the mean is taken in.
using SampleValue = std::function<double(std::size_t k)>;

// The mean of value(k) over [from, to] (clipped to the domain), each
// sample weighted by the part of its cell inside the range: the samples
// nearest the range's ends get the fraction from the end to the middle
// between them and their inner neighbours. Nothing when the range misses
// the domain or holds no part of a cell. `count` samples exist.
std::optional<double> MeanOverRange(const SampledAxis& axis, std::size_t count,
                                    const SampleValue& value, double from, double to);

// The samples whose positions lie in [from, to], as indices first to last
// (last < first when none does); indices outside 0 to count − 1 stand for
// samples beyond the curve, taken as 0 by those who cut parts.
struct SampleSpan {
    std::ptrdiff_t First = 0;
    std::ptrdiff_t Last = -1;
};
SampleSpan SamplesInside(const SampledAxis& axis, double from, double to);

// The mean over the whole domain.
std::optional<double> MeanOverDomain(const SampledAxis& axis, std::size_t count,
                                     const SampleValue& value);

}  // namespace tesmera
