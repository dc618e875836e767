// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/period_extraction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

#include "analysis/number_text.h"
#include "recording/pitch.h"
#include "recording/resampling.h"
#include "wave/peak_scaling.h"
#include "wave/voice_period.h"

namespace tesmera {

namespace {

// Frames on each side that must be voiced for a frame to count as stable.
constexpr std::ptrdiff_t StableNeighbours = 3;
// Largest relative F0 change inside a stable stretch, and between the
// estimated period and the crossings' distance.
constexpr double PitchTolerance = 0.1;
// Signal from a cycle's start, in periods, over which its length is measured:
// enough for the correlation of one cycle with the next.
constexpr double CycleLengthSpan = 2.5;
constexpr double PeakSample = 32767;
constexpr double Unstable = -std::numeric_limits<double>::infinity();
// The cut's few correlations each meet a length of their own once: summed
// directly, they cost less than the transform plans they would need.
constexpr AutocorrelationFunction OneOffCorrelation = DirectNormalisedAutocorrelation;

double Mean(std::span<const double> values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}

double RelativeSpread(std::span<const double> values) {
    const double mean = Mean(values);
    double squares = 0;
    for (const double v : values) {
        squares += (v - mean) * (v - mean);
    }
    return std::sqrt(squares / values.size()) / mean;
}

// Steady pitch, steady level and a clear period around frame i; negative
// infinity unless all its neighbours are voiced.
double Stability(const std::vector<VoicingFrame>& frames, std::ptrdiff_t i) {
    if (i < StableNeighbours || i + StableNeighbours >= std::ssize(frames)) {
        return Unstable;
    }
    // Fixed arrays: this runs for every frame of a long recording.
    std::array<double, 2 * StableNeighbours + 1> f0;
    std::array<double, f0.size()> rms;
    std::array<double, f0.size()> strength;
    for (std::size_t k = 0; k < f0.size(); ++k) {
        const VoicingFrame& frame = frames[i - StableNeighbours + static_cast<std::ptrdiff_t>(k)];
        if (!frame.Voiced) {
            return Unstable;
        }
        f0[k] = frame.F0;
        rms[k] = frame.Rms;
        strength[k] = frame.Strength;
    }
    return Mean(strength) - RelativeSpread(f0) - 0.5 * RelativeSpread(rms);
}

std::size_t MostStableFrame(const std::vector<VoicingFrame>& frames) {
    std::size_t best = 0;
    double bestScore = Unstable;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const double score = Stability(frames, static_cast<std::ptrdiff_t>(i));
        if (score > bestScore) {
            best = i;
            bestScore = score;
        }
    }
    if (bestScore > Unstable) {
        return best;
    }
    // No frame has a voiced neighbourhood: a short vowel; take its clearest frame.
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].Voiced && frames[i].Strength > frames[best].Strength) {
            best = i;
        }
    }
    return frames[best].Voiced ? best : frames.size();
}

std::string SecondsText(double seconds) {
    return FixedText(seconds, 15, 3, ".");
}

std::size_t FrameAt(const std::vector<VoicingFrame>& frames, double seconds, double duration) {
    // Written so that a not-a-number is refused too.
    if (!(seconds >= 0 && seconds <= duration)) {
        throw ExtractionError("--at " + SecondsText(seconds) +
                              " s lies outside the recording (0 to " + SecondsText(duration) +
                              " s)");
    }
    const auto nearest = std::ranges::min_element(
        frames, {}, [&](const VoicingFrame& f) { return std::fabs(f.Time - seconds); });
    if (nearest == frames.end() || !nearest->Voiced) {
        throw ExtractionError("no voiced sound at " + SecondsText(seconds) +
                              " s: choose a time inside the sustained vowel");
    }
    return static_cast<std::size_t>(nearest - frames.begin());
}

// The chosen frame and the voiced frames around it whose pitch stays close.
struct VoicedPlace {
    double Time;
    double F0;
    double StretchStart;
    double StretchEnd;
};

// The median F0 of the voiced frames within StableNeighbours of `chosen`:
// one frame's octave error must not set the period that is cut.
double LocalTrackF0(const std::vector<VoicingFrame>& frames, std::size_t chosen) {
    const std::size_t from = chosen > StableNeighbours ? chosen - StableNeighbours : 0;
    const std::size_t to = std::min(frames.size() - 1, chosen + StableNeighbours);
    std::vector<double> f0;
    for (std::size_t i = from; i <= to; ++i) {
        if (frames[i].Voiced) {
            f0.push_back(frames[i].F0);
        }
    }
    std::ranges::sort(f0);
    return f0[f0.size() / 2];
}

VoicedPlace PlaceOf(const std::vector<VoicingFrame>& frames, std::size_t chosen) {
    const double f0 = LocalTrackF0(frames, chosen);
    const auto close = [&](std::size_t i) {
        return frames[i].Voiced && std::fabs(frames[i].F0 - f0) <= PitchTolerance * f0;
    };
    std::size_t first = chosen;
    while (first > 0 && close(first - 1)) {
        --first;
    }
    std::size_t last = chosen;
    while (last + 1 < frames.size() && close(last + 1)) {
        ++last;
    }
    return {frames[chosen].Time, f0, frames[first].Time, frames[last].Time};
}

VoicedPlace FindVoicedPlace(const ScannedRecording& recording, std::optional<double> atSeconds) {
    const std::vector<VoicingFrame>& frames = recording.Frames();
    const bool silent =
        std::ranges::all_of(frames, [](const VoicingFrame& f) { return f.Rms <= SilenceRms; });
    if (frames.empty() || silent) {
        throw ExtractionError(
            "the recording is silent (or shorter than 50 ms): nothing to extract");
    }
    const std::size_t chosen =
        atSeconds ? FrameAt(frames, *atSeconds, recording.Duration()) : MostStableFrame(frames);
    if (chosen == frames.size()) {
        throw ExtractionError(
            "no voiced stretch found: the recording holds no clear periodic sound");
    }
    return PlaceOf(frames, chosen);
}

// A rising zero crossing, between samples.
struct Crossing {
    double position;
    double slope;
};

std::vector<Crossing> RisingZeroCrossings(std::span<const double> x) {
    std::vector<Crossing> crossings;
    for (std::size_t i = 0; i + 1 < x.size(); ++i) {
        if (x[i] < 0 && x[i + 1] >= 0) {
            crossings.push_back(
                {static_cast<double>(i) + x[i] / (x[i] - x[i + 1]), x[i + 1] - x[i]});
        }
    }
    return crossings;
}

// The steepest rising crossing within half a period of `centre`.
double StartCrossing(std::span<const double> x, double centre, double period) {
    const std::vector<Crossing> crossings = RisingZeroCrossings(x);
    const Crossing* start = nullptr;
    for (const Crossing& c : crossings) {
        if (std::fabs(c.position - centre) <= period / 2 && (!start || c.slope > start->slope)) {
            start = &c;
        }
    }
    if (start == nullptr) {
        throw ExtractionError("no rising zero crossing near the chosen place");
    }
    return start->position;
}

// The length of the cycle that begins at `start`: the lag near `period` at
// which the waveform from there repeats best. Unlike the next zero crossing,
// noise barely moves it, and unlike the region's period it is this cycle's
// own. The region's period when too little signal follows.
double CycleLength(std::span<const double> x, double start, double period) {
    const auto from = static_cast<std::size_t>(start);
    const auto span = static_cast<std::size_t>(std::ceil(CycleLengthSpan * period));
    if (from + span > x.size()) {
        return period;
    }
    const auto own = EstimatePitch(x.subspan(from, span), period * (1 - PitchTolerance),
                                   period * (1 + PitchTolerance), OneOffCorrelation);
    return own ? own->Lag : period;
}

// The cycles themselves settle the octave: when the waveform repeats about
// as well at half the lag, that lag held two cycles.
PitchEstimate OneCycle(std::span<const double> region, const PitchEstimate& pitch) {
    return HalfCycle(region, pitch, OneOffCorrelation).value_or(pitch);
}

// The cut may differ from the track by the pitch tolerance, no more: a
// shorter period belongs to a voice above the range, and cut as a period it
// would report a pitch the extraction never searched, so it is refused.
void RequireSearchedPitch(double f0) {
    if (f0 > HighestF0 * (1 + PitchTolerance)) {
        throw ExtractionError("the voice at the chosen place is above " +
                              FixedText(HighestF0, 15, 0, ".") +
                              " Hz, the highest pitch extracted");
    }
}

}  // namespace

std::vector<std::int16_t> PeriodAs16Bit(std::span<const double> period) {
    return ScaledToPeak(period, PeakSample);
}

ExtractedPeriod ExtractPeriod(ScannedRecording& recording, std::optional<double> atSeconds) {
    const VoicedPlace place = FindVoicedPlace(recording, atSeconds);
    const double rate = recording.SampleRate();
    const double coarsePeriod = 1 / place.F0;  // seconds

    // Four periods (at least 30 ms) each side of the place, at the nominal rate.
    const double margin = std::max(4 * coarsePeriod, 0.03);
    const auto first = static_cast<std::size_t>(std::max(0.0, (place.Time - margin) * rate));
    const auto last =
        std::min(recording.SampleCount(), static_cast<std::size_t>((place.Time + margin) * rate));
    const double ratio = NominalSampleRate / rate;
    std::vector<double> region =
        Resample(recording.Samples(first, last - first), ratio, ResamplingQuality::Best);
    const double mean = Mean(region);
    for (double& x : region) {
        x -= mean;
    }

    const double expectedLag = coarsePeriod * NominalSampleRate;
    const auto pitch = EstimatePitch(region, expectedLag * (1 - PitchTolerance),
                                     expectedLag * (1 + PitchTolerance), OneOffCorrelation);
    if (!pitch) {
        throw ExtractionError("no clear period at the chosen place");
    }
    const PitchEstimate period = OneCycle(region, *pitch);
    RequireSearchedPitch(NominalSampleRate / period.Lag);
    const double centre = (place.Time - first / rate) * NominalSampleRate;
    const double start = StartCrossing(region, centre, period.Lag);
    const double end = start + CycleLength(region, start, period.Lag);

    // The samples from the first at or after the start crossing up to the
    // last before the cycle's end: the next period begins there.
    const auto firstSample = static_cast<std::size_t>(std::ceil(start));
    const auto endSample = std::min(region.size(), static_cast<std::size_t>(std::ceil(end)));

    ExtractedPeriod extracted;
    extracted.F0 = NominalSampleRate / period.Lag;
    extracted.CutStartSeconds = first / rate + start / NominalSampleRate;
    extracted.CutEndSeconds = first / rate + end / NominalSampleRate;
    extracted.StretchStartSeconds = place.StretchStart;
    extracted.StretchEndSeconds = place.StretchEnd;
    extracted.Samples =
        PeriodAs16Bit(std::span(region).subspan(firstSample, endSample - firstSample));
    return extracted;
}

ExtractedPeriod ExtractPeriod(const MonoRecording& recording, std::optional<double> atSeconds) {
    RecordingInMemory memory(recording.Samples, recording.SampleRate);
    return ExtractPeriod(memory, atSeconds);
}

}  // namespace tesmera
