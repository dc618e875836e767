// SPDX-License-Identifier: GPL-3.0-or-later
// The voice report of a recording of a sustained vowel: one call takes the
// recording's samples and gives the steady stretch, every glottal cycle in
// it with its single-period analysis, the six score models summarised over
// the cycles, the standard perturbation measures and a plain status.
//
//   const VoiceReport report = ReportVoice(samples, rate);          // whole recording
//   const VoiceReport there = ReportVoice(samples, rate, 1.25);     // the stretch at 1.25 s
//
// Qt-free; nothing here keeps state between calls, so recordings may be
// reported on several threads at once.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/scores.h"
#include "base/Status.h"
#include "recording/avqi_figures.h"
#include "recording/bootstrap_spread.h"
#include "recording/cycle_marks.h"
#include "recording/marked_stretch.h"
#include "recording/model_summary.h"
#include "recording/perturbation.h"
#include "recording/recording_quality.h"
#include "recording/scanned_recording.h"

namespace tesmera {

struct ReportedCycle {
    // The cycle runs between two neighbouring marks, as sample positions of
    // the recording (fractional: between samples), StartSample < EndSample.
    double StartSample = 0;
    double EndSample = 0;
    CycleVerdict Verdict = CycleVerdict::CvAccepted;
    // For an accepted cycle: the cycle at NominalSampleRate, its largest
    // magnitude scaled to 32767, exactly what a period file would hold and
    // the window would load. Empty for a refused cycle.
    std::vector<std::int16_t> Period;
    // The single-period analysis of Period. Scored is false when the
    // normalisation left the models out (a zero harmonic); the values are
    // then 0.
    bool Scored = false;
    std::array<double, ScoreModelCount> ScoreValue{};
    std::array<std::int32_t, ScoreModelCount> Score{};
};

struct VoiceReport {
    // Ok, or why there are no figures: the stretch's refusal (see
    // MarkedStretch), or TooShort "too short: fewer than 5 cycles" (the
    // figures found so far are kept). A report never made is not ok.
    Status Outcome{StatusCode::Error, "not reported"};
    std::int32_t SampleRate = 0;  // of the recording, Hz: the unit of the cycles' positions
    double StretchStartSeconds = 0;
    double StretchEndSeconds = 0;
    // Every cycle of the stretch in time order, refused ones included.
    std::vector<ReportedCycle> Cycles;
    std::size_t AnalysedCycles = 0;  // accepted and scored: those summarised
    // Per model in ScoreModels order, over the analysed cycles; borderline
    // also when the halves of the stretch lie on both sides of a grade
    // border.
    std::array<ModelSummary, ScoreModelCount> Models{};
    // The recording holds one voice throughout: no break or pitch jump in
    // its phonation, the stretch covers at least SteadyPhonationShare of it
    // (of LongestStretchSeconds at most), and the halves of the stretch agree
    // (CompareHalves). Otherwise why not, in plain words: "the pitch jumps
    // from 150 to 240 Hz at 1.50 s".
    bool Steady = false;
    std::string UnsteadyReason;
    // Over the analysed cycles (F0 of a cycle: 1 / its length), Hz;
    // the deviation is the sample standard deviation (0 for one cycle).
    double F0MeanHz = 0;
    double F0SdHz = 0;
    // From all the stretch's marks; absent where undefined.
    JitterFigures Jitter;
    ShimmerFigures Shimmer;
    std::optional<double> HnrDb;
    std::optional<double> CppsDb;  // even without a stretch: see cepstral_peak_recording.h
    // The units the figures above are made of, and, once EstimateSpreads
    // has run, the standard error of each figure from the recording's own
    // spread (see bootstrap_spread.h). The bootstrap costs a sixth of a
    // report, and only a comparison needs it, so it is not run by default.
    SpreadSources SpreadUnits;
    std::optional<FigureSpreads> Spreads;
    // Of the recording, whenever a stretch was found. A poor one makes every
    // model borderline: its medians then move with the recording, not the
    // voice.
    std::optional<RecordingQuality> Quality;
    // Only when a sample of continuous speech of the same person was given
    // beside the vowel.
    std::optional<AvqiFigures> Avqi;

    bool Ok() const { return Outcome.Ok(); }
};

// The least share of the phonation a steady recording's stretch covers.
constexpr double SteadyPhonationShare = 0.75;

// How many cycles the stretch holds and why those not analysed were left out.
struct CycleCounts {
    std::size_t Marked = 0;     // every cycle of the stretch
    std::size_t Analysed = 0;   // accepted and scored: those summarised
    std::size_t OffTrack = 0;   // CvOffTrack
    std::size_t Misshapen = 0;  // CvMisshapen
    std::size_t Unscored =
        0;  // accepted, but too short to cut or without a score (a zero harmonic)
};
CycleCounts CountCycles(const VoiceReport& report);
// "234 of 240 cycles analysed", then the reasons of those left out, if any:
// " (left out: 4 off the pitch track, 2 misshapen, 1 unscored)".
std::string CycleCountsText(const CycleCounts& counts);

// The report of the stretch MarkStretch finds (see there for `atSeconds`).
// Only the voicing track and the samples of the stretch (of the whole
// recording when it lasts at most a minute) are fetched. The work uses up to
// recording.Threads() threads; the report is the same for any count.
VoiceReport ReportVoice(ScannedRecording& recording,
                        std::optional<double> atSeconds = std::nullopt);

// `samples` at `rate` Hz (full scale ±1, mono), worked on by up to
// `threads` threads. Throws only for a rate <= 0.
VoiceReport ReportVoice(std::span<const double> samples, std::int32_t rate,
                        std::optional<double> atSeconds = std::nullopt, unsigned threads = 1);

// The analysed cycle nearest `seconds` (its start or end closest in time),
// the earlier on a tie; nothing when no cycle was analysed. Every route that
// takes one cycle of a report takes it this way.
// Fills report.Spreads from its units on up to `threads` threads.
void EstimateSpreads(VoiceReport& report, unsigned threads = 1);

std::optional<std::size_t> AnalysedCycleNearest(const VoiceReport& report, double seconds);

}  // namespace tesmera
