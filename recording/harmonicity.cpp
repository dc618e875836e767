// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/harmonicity.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/fft_plans.h"
#include "recording/lag_search.h"
#include "recording/parallel_work.h"
#include "recording/pitch.h"

namespace tesmera {

namespace {

// The HNR of a frame whose r is this close to 0 or 1, in dB.
constexpr double ExtremeHnr = 150;
constexpr double ExtremeCorrelation = 1e-15;
// How the local maxima of r are narrowed down before their deep refinement
// (see StrongestPeak).
constexpr double ParabolaMargin = 0.1;
constexpr std::size_t ShallowSincDepth = 64;
constexpr double ShallowTolerance = 1e-3;  // of a lag
constexpr double ShallowMargin = 0.02;
// The tops are flat: a thousandth of a lag off moves their values by less
// than 1e-9 (a thousandth of a dB at 40 dB), in half the steps of a search
// to the last digit.
constexpr double DeepTolerance = 1e-3;  // of a lag
// Frames handled by one run of work, sharing its transform buffers.
constexpr std::size_t FramesPerRun = 16;

// The sample counts one analysis works with, rounded as the standard tools
// round them (from the sampling interval, not the rate).
struct FrameLayout {
    FrameLayout(double rate, double minimumPitch)
        : period(static_cast<std::size_t>(std::floor(1 / (1 / rate) / minimumPitch))),
          halfWindow(
              std::max<std::size_t>(
                  static_cast<std::size_t>(std::floor((1 / minimumPitch) / (1 / rate))) / 2, 1) -
              1),
          window(2 * halfWindow) {}

    std::size_t period;      // samples in the longest period: the local mean's reach
    std::size_t halfWindow;  // the local peak's reach
    std::size_t window;      // samples correlated, and the longest lag
};

// The frame centres, placed as a block in the middle of the signal. Times
// are kept as the standard tools keep them, sample k at (k + 0.5) / rate,
// so that the frames' samples are rounded alike.
struct FrameClock {
    FrameClock(std::size_t samples, double rate, const HarmonicitySettings& settings)
        : step(settings.TimeStep), sampleStep(1 / rate), firstSample(0.5 * sampleStep) {
        const double duration = sampleStep * static_cast<double>(samples);
        const double frameSpan = 1 / settings.MinimumPitch + 1 / settings.MinimumPitch;
        if (duration >= frameSpan) {
            count = static_cast<std::size_t>(std::floor((duration - frameSpan) / step)) + 1;
        }
        first = 0.5 * duration - 0.5 * static_cast<double>(count) * step + 0.5 * step;
    }

    double Time(std::size_t frame) const { return first + static_cast<double>(frame) * step; }
    // The sample at or before `seconds`, -1 before the first.
    std::ptrdiff_t SampleAtOrBefore(double seconds) const {
        return static_cast<std::ptrdiff_t>(std::floor((seconds - firstSample) / sampleStep));
    }

    std::size_t count = 0;
    double first = 0;  // the first centre
    double step;
    double sampleStep;
    double firstSample;  // time of sample 0
};

// The forward cross-correlation of one frame's samples through the
// transform, with the buffers one run of frames reuses.
class FrameCorrelator {
  public:
    explicit FrameCorrelator(std::size_t window)
        : window_(window),
          plans_(
              RealTransformPlansFor(static_cast<std::int32_t>(SmoothTransformLength(2 * window)))),
          head_(AllocateFftwReal(Length())),
          whole_(AllocateFftwReal(Length())),
          headSpectrum_(AllocateFftwSpectrum(HalfSpectrumSize(plans_->Size()))),
          wholeSpectrum_(AllocateFftwSpectrum(HalfSpectrumSize(plans_->Size()))),
          r_(window + 1) {}

    // r(τ) for τ = 0..window of `segment` (at most 2·window samples, its
    // mean taken off): its first window samples against the window samples
    // τ later; 0 for the lags the segment is too short for.
    const std::vector<double>& Correlate(std::span<const double> segment) {
        CrossProducts(segment);
        const SquareSums squares(segment);
        const double headSquares = squares.Of(0, window_);
        const std::size_t longest = segment.size() - window_;
        r_[0] = 1;
        for (std::size_t lag = 1; lag <= window_; ++lag) {
            const double energy = lag <= longest ? headSquares * squares.Of(lag, window_) : 0;
            r_[lag] = energy > 0 ? r_[lag] / std::sqrt(energy) : 0;
        }
        return r_;
    }

  private:
    std::size_t Length() const { return static_cast<std::size_t>(plans_->Size()); }

    // r_[τ] = Σ_j head[j]·segment[j + τ] for τ = 0..window, through the
    // spectra: the transforms are long enough that no product wraps round.
    void CrossProducts(std::span<const double> segment) {
        const std::size_t length = Length();
        std::fill(head_.get() + window_, head_.get() + length, 0.0);
        std::fill(whole_.get() + segment.size(), whole_.get() + length, 0.0);
        std::copy_n(segment.begin(), window_, head_.get());
        std::ranges::copy(segment, whole_.get());
        plans_->Forward(head_.get(), headSpectrum_.get());
        plans_->Forward(whole_.get(), wholeSpectrum_.get());
        for (std::size_t k = 0; k < HalfSpectrumSize(plans_->Size()); ++k) {
            const double re = headSpectrum_[k][0];
            const double im = -headSpectrum_[k][1];  // conjugated
            const double wholeRe = wholeSpectrum_[k][0];
            const double wholeIm = wholeSpectrum_[k][1];
            wholeSpectrum_[k][0] = re * wholeRe - im * wholeIm;
            wholeSpectrum_[k][1] = re * wholeIm + im * wholeRe;
        }
        plans_->Backward(wholeSpectrum_.get(), whole_.get());
        const double scale = 1 / static_cast<double>(length);  // the backward transform is unscaled
        for (std::size_t lag = 0; lag <= window_; ++lag) {
            r_[lag] = whole_[lag] * scale;
        }
    }

    std::size_t window_;
    std::shared_ptr<const RealTransformPlans> plans_;
    FftwRealBuffer head_;
    FftwRealBuffer whole_;
    FftwSpectrumBuffer headSpectrum_;
    FftwSpectrumBuffer wholeSpectrum_;
    std::vector<double> r_;
};

// r mirrored to negative lags: lag τ at index window + τ, as the sinc
// interpolation near lag 0 needs it.
std::vector<double> Mirrored(const std::vector<double>& r) {
    const std::size_t window = r.size() - 1;
    std::vector<double> mirrored(2 * window + 1);
    for (std::size_t lag = 0; lag <= window; ++lag) {
        mirrored[window + lag] = r[lag];
        mirrored[window - lag] = r[lag];
    }
    return mirrored;
}

// A top above 1, which a short window can give, counts as its inverse.
double Reflected(double strength) {
    return strength > 1 ? 1 / strength : strength;
}

struct LocalMaximum {
    std::size_t index;  // in the mirrored r
    double estimate;    // of its top, refined stage by stage
};

// Every positive local maximum of r at shortestLag <= τ < W, its top
// estimated by the parabola through it and its neighbours.
std::vector<LocalMaximum> LocalMaxima(std::span<const double> mirrored, std::size_t shortestLag) {
    const std::size_t window = mirrored.size() / 2;
    std::vector<LocalMaximum> maxima;
    for (std::size_t i = window + shortestLag; i < 2 * window; ++i) {
        if (mirrored[i] > 0 && mirrored[i] > mirrored[i - 1] && mirrored[i] >= mirrored[i + 1]) {
            const double slope = 0.5 * (mirrored[i + 1] - mirrored[i - 1]);
            const double curvature =
                (mirrored[i] - mirrored[i - 1]) + (mirrored[i] - mirrored[i + 1]);
            maxima.push_back({i, Reflected(mirrored[i] + 0.5 * slope * slope / curvature)});
        }
    }
    return maxima;
}

// Keeps the maxima whose estimates come within `margin` of the highest.
void KeepNearHighest(std::vector<LocalMaximum>& maxima, double margin) {
    double highest = 0;
    for (const LocalMaximum& maximum : maxima) {
        highest = std::max(highest, maximum.estimate);
    }
    std::erase_if(maxima, [&](const LocalMaximum& m) { return m.estimate < highest - margin; });
}

// The strongest peak of r(τ) over shortestLag <= τ < W (refined above
// shortestLag, at least 2: see MeanHarmonicity); 0 when
// r has no positive local maximum there. The deep refinement costs a
// thousand products per step, and a breathy frame has dozens of maxima, so
// they are narrowed down first: by their parabolas, then by a shallow
// refinement. A sharp maximum's deep top can lie several hundredths above
// its parabola's and one hundredth from its shallow top (measured on
// breathy voices down to 1 dB), and the margins leave room for that.
double StrongestPeak(const std::vector<double>& r, double shortestLag) {
    const std::vector<double> mirrored = Mirrored(r);
    std::vector<LocalMaximum> maxima =
        LocalMaxima(mirrored, static_cast<std::size_t>(std::floor(shortestLag)));
    KeepNearHighest(maxima, ParabolaMargin);
    if (maxima.size() > 1) {
        for (LocalMaximum& maximum : maxima) {
            const LagPeak shallow =
                SincPeak(mirrored, maximum.index, ShallowSincDepth, ShallowTolerance);
            maximum.estimate = Reflected(shallow.Value);
        }
        KeepNearHighest(maxima, ShallowMargin);
    }
    const double lowestIndex = static_cast<double>(r.size() - 1) + shortestLag;
    double strongest = 0;
    for (const LocalMaximum& maximum : maxima) {
        const LagPeak peak = SincPeak(mirrored, maximum.index, DeepSincDepth, DeepTolerance);
        // A peak at a lag under 2 samples lies beyond half the sampling rate:
        // no pitch; one under the shortest lag, above the highest pitch.
        if (peak.Lag > lowestIndex) {
            strongest = std::max(strongest, Reflected(peak.Value));
        }
    }
    return strongest;
}

double GlobalPeak(std::span<const double> signal) {
    double sum = 0;
    for (const double v : signal) {
        sum += v;
    }
    const double mean = sum / static_cast<double>(signal.size());
    double peak = 0;
    for (const double v : signal) {
        peak = std::max(peak, std::fabs(v - mean));
    }
    return peak;
}

// What every frame of one measurement shares.
struct Analysis {
    std::span<const double> signal;
    const HarmonicitySettings& settings;
    FrameLayout layout;
    FrameClock clock;
    double globalPeak;
    double shortestLag;  // samples, at least 2
    double rate;
};

Analysis AnalysisOf(std::span<const double> signal, double rate,
                    const HarmonicitySettings& settings, const FrameLayout& layout) {
    const double shortestLag =
        settings.MaximumPitch > 0 ? std::max(2.0, rate / settings.MaximumPitch) : 2.0;
    return {signal,
            settings,
            layout,
            FrameClock(signal.size(), rate, settings),
            GlobalPeak(signal),
            shortestLag,
            rate};
}

// One frame's samples, ready for the correlation.
struct PreparedFrame {
    std::vector<double> segment;  // its local mean taken off
    double unvoiced;              // the strength r must exceed for a voiced frame
};

// Frame `f`; nothing when it reaches outside the signal or is digital
// silence there.
std::optional<PreparedFrame> Prepare(const Analysis& a, std::size_t f) {
    const double time = a.clock.Time(f);
    const std::ptrdiff_t left = a.clock.SampleAtOrBefore(time);
    const auto period = static_cast<std::ptrdiff_t>(a.layout.period);
    const auto size = static_cast<std::ptrdiff_t>(a.signal.size());
    if (left + 1 - period < 0 || left + period >= size) {
        return std::nullopt;
    }
    const std::span<const double> around =
        a.signal.subspan(static_cast<std::size_t>(left + 1 - period), 2 * a.layout.period);
    double sum = 0;
    for (const double v : around) {
        sum += v;
    }
    const double mean = sum / static_cast<double>(around.size());
    double localPeak = 0;
    for (const double v : around.subspan(a.layout.period - a.layout.halfWindow, a.layout.window)) {
        localPeak = std::max(localPeak, std::fabs(v - mean));
    }
    if (localPeak == 0) {
        return std::nullopt;
    }
    const double intensity = std::min(1.0, localPeak / a.globalPeak);
    const double voicing = a.settings.VoicingThreshold;
    PreparedFrame frame;
    frame.unvoiced =
        voicing + std::max(0.0, 2 - intensity / (a.settings.SilenceThreshold / (1 + voicing)));
    const double lead = 0.5 * (1 / a.settings.MinimumPitch + 1 / a.settings.MinimumPitch);
    const auto start = static_cast<std::size_t>(
        std::max<std::ptrdiff_t>(0, a.clock.SampleAtOrBefore(time - lead)));
    frame.segment.assign(a.signal.begin() + static_cast<std::ptrdiff_t>(start),
                         a.signal.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                a.signal.size(), start + 2 * a.layout.window)));
    if (frame.segment.size() <= a.layout.window) {
        return std::nullopt;
    }
    for (double& v : frame.segment) {
        v -= mean;
    }
    return frame;
}

// The HNR of frame `f` in dB; nothing when it is unvoiced or reaches
// outside the signal.
std::optional<double> FrameHarmonicity(const Analysis& a, FrameCorrelator& correlator,
                                       std::size_t f) {
    const std::optional<PreparedFrame> frame = Prepare(a, f);
    if (!frame || frame->unvoiced >= 1) {
        return std::nullopt;  // too quiet for any correlation to make it voiced
    }
    const double r = StrongestPeak(correlator.Correlate(frame->segment), a.shortestLag);
    if (r <= frame->unvoiced || r <= 0) {
        return std::nullopt;
    }
    return HarmonicsToNoiseDb(r);
}

// How far a candidate at `lag` samples stands out for the path: its
// strength, less the octave cost of its distance below `ceiling` Hz.
double PathWeight(const LagCandidate& c, double rate, double ceiling, double octaveCost) {
    return c.Strength - octaveCost * std::log2(ceiling * c.Lag / rate);
}

// A candidate with the index of its local maximum in the mirrored r.
struct FoundCandidate {
    LagCandidate candidate;
    std::size_t index;
};

// The candidates of one frame's r (see HarmonicityCandidates).
std::vector<LagCandidate> Candidates(const Analysis& a, const std::vector<double>& r,
                                     const CandidateLimits& limits) {
    const std::vector<double> mirrored = Mirrored(r);
    const std::size_t window = r.size() - 1;
    std::vector<FoundCandidate> found;
    const double floorStrength = 0.5 * a.settings.VoicingThreshold;
    for (std::size_t i = window + static_cast<std::size_t>(std::floor(a.shortestLag));
         i < 2 * window; ++i) {
        if (mirrored[i] > floorStrength && mirrored[i] > mirrored[i - 1] &&
            mirrored[i] >= mirrored[i + 1]) {
            const LagPeak peak = SincPeak(mirrored, i, ShallowSincDepth, ShallowTolerance);
            const double lag = peak.Lag - static_cast<double>(window);
            if (lag > a.shortestLag) {
                found.push_back({{lag, Reflected(peak.Value)}, i});
            }
        }
    }
    const double ceiling = a.rate / a.shortestLag;
    const auto weight = [&](const FoundCandidate& c) {
        return PathWeight(c.candidate, a.rate, ceiling, limits.OctaveCost);
    };
    std::ranges::stable_sort(found, std::ranges::greater{}, weight);
    if (found.size() > limits.MostVoiced) {
        found.resize(limits.MostVoiced);
    }
    std::vector<LagCandidate> candidates;
    for (const FoundCandidate& c : found) {
        candidates.push_back(c.candidate);
    }
    // The likeliest for the path gets the deep refinement of a harmonicity
    // frame: a strength near 1 moves the HNR much.
    if (!found.empty()) {
        const LagPeak deep = SincPeak(mirrored, found.front().index, DeepSincDepth, DeepTolerance);
        candidates.front() = {deep.Lag - static_cast<double>(window), Reflected(deep.Value)};
    }
    return candidates;
}

CandidateFrame FrameCandidates(const Analysis& a, FrameCorrelator& correlator, std::size_t f,
                               const CandidateLimits& limits) {
    const std::optional<PreparedFrame> frame = Prepare(a, f);
    if (!frame) {
        return {a.settings.VoicingThreshold + 2, {}};  // silent: no voice can be chosen
    }
    return {frame->unvoiced, Candidates(a, correlator.Correlate(frame->segment), limits)};
}

}  // namespace

double HarmonicsToNoiseDb(double r) {
    if (r <= ExtremeCorrelation) {
        return -ExtremeHnr;
    }
    if (r > 1 - ExtremeCorrelation) {
        return ExtremeHnr;
    }
    return 10 * std::log10(r / (1 - r));
}

double MinimumPitchFor(std::span<const double> marks, std::span<const CycleVerdict> verdicts) {
    for (std::size_t i = 0; i < verdicts.size() && i + 1 < marks.size(); ++i) {
        if (verdicts[i] != CycleVerdict::CvOffTrack &&
            marks[i + 1] - marks[i] > 1 / StandardMinimumPitch) {
            return LowestF0;
        }
    }
    return StandardMinimumPitch;
}

std::vector<double> VoicedFrameHarmonicities(std::span<const double> signal, double rate,
                                             double from, double to,
                                             const HarmonicitySettings& settings,
                                             unsigned threads) {
    const FrameLayout layout(rate, settings.MinimumPitch);
    if (layout.halfWindow < 2 || signal.size() < 2 * layout.period) {
        return {};
    }
    const Analysis analysis = AnalysisOf(signal, rate, settings, layout);
    // The frames whose centres lie in [from, to], in the signal's own times.
    const double shift = analysis.clock.firstSample;
    const double firstFrame = std::ceil((from + shift - analysis.clock.first) / settings.TimeStep);
    const double lastFrame = std::floor((to + shift - analysis.clock.first) / settings.TimeStep);
    if (analysis.clock.count == 0 || lastFrame < std::max(0.0, firstFrame) ||
        firstFrame >= static_cast<double>(analysis.clock.count)) {
        return {};
    }
    const auto first = static_cast<std::size_t>(std::max(0.0, firstFrame));
    const std::size_t end = std::min(analysis.clock.count, static_cast<std::size_t>(lastFrame) + 1);
    std::vector<std::optional<double>> measured(end - first);
    RunInParallelRuns(measured.size(), FramesPerRun, threads,
                      [&](std::size_t begin, std::size_t stop) {
                          FrameCorrelator correlator(layout.window);
                          for (std::size_t f = begin; f < stop; ++f) {
                              measured[f] = FrameHarmonicity(analysis, correlator, first + f);
                          }
                      });
    std::vector<double> voiced;
    for (const std::optional<double>& hnr : measured) {
        if (hnr) {
            voiced.push_back(*hnr);
        }
    }
    return voiced;
}

std::optional<double> MeanHarmonicity(std::span<const double> signal, double rate, double from,
                                      double to, const HarmonicitySettings& settings,
                                      unsigned threads) {
    return MeanHarmonicity(VoicedFrameHarmonicities(signal, rate, from, to, settings, threads));
}

std::optional<double> MeanHarmonicity(std::span<const double> voicedFrames) {
    if (voicedFrames.empty()) {
        return std::nullopt;
    }
    // Summed in time order, whatever the threads.
    double sum = 0;
    for (const double hnr : voicedFrames) {
        sum += hnr;
    }
    return sum / static_cast<double>(voicedFrames.size());
}

std::vector<CandidateFrame> HarmonicityCandidates(std::span<const double> signal, double rate,
                                                  const HarmonicitySettings& settings,
                                                  const CandidateLimits& limits, unsigned threads) {
    const FrameLayout layout(rate, settings.MinimumPitch);
    if (layout.halfWindow < 2 || signal.size() < 2 * layout.period) {
        return {};
    }
    const Analysis analysis = AnalysisOf(signal, rate, settings, layout);
    std::vector<CandidateFrame> frames(analysis.clock.count);
    RunInParallelRuns(frames.size(), FramesPerRun, threads,
                      [&](std::size_t begin, std::size_t stop) {
                          FrameCorrelator correlator(layout.window);
                          for (std::size_t f = begin; f < stop; ++f) {
                              frames[f] = FrameCandidates(analysis, correlator, f, limits);
                          }
                      });
    return frames;
}

}  // namespace tesmera
