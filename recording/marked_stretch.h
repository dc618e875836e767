// SPDX-License-Identifier: GPL-3.0-or-later
// The part of a recording that is analysed, found once for every route
// (the voice report, the cut of one period and the recording window): the
// steady voiced stretch chosen on the voicing track, and the glottal cycles
// marked through it with each cycle's verdict.
//
//   ScannedRecording& recording = ...;
//   const MarkedStretch stretch = MarkStretch(recording, atSeconds);
//   if (!stretch.Outcome.Ok()) { ...stretch.Outcome.Text... }
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "base/Status.h"
#include "recording/cycle_marks.h"
#include "recording/scanned_recording.h"
#include "recording/voiced_stretch.h"

namespace tesmera {

// Fewer analysed cycles than this and the report's status says "too short";
// so does a recording shorter than this many cycles of LowestF0.
constexpr std::size_t ReportMinimumCycles = 5;

// A steady stretch longer than this is analysed on this much of it: the
// medians and perturbation figures settle within a few seconds (30 s hold
// 1800 cycles even at LowestF0), clinical recordings last 1 to 5 s, and it
// bounds the full-rate samples held for a recording of any length (23 MB a
// copy at the highest input rate).
constexpr double LongestStretchSeconds = 30;

// Full-rate samples of the recording: sample i of Samples is sample
// First + i of the recording, at StartSeconds.
struct RecordingExcerpt {
    std::size_t First = 0;
    std::span<const double> Samples;
    double StartSeconds = 0;
};

struct MarkedStretch {
    // Ok, or why there is no stretch: Silent, TooShort, OutsideRecording,
    // Unvoiced or UnvoicedAtTime; nothing below is set then.
    Status Outcome;
    double StartSeconds = 0;  // of the recording
    double EndSeconds = 0;
    // The voiced phonation of the whole recording, onset and offset left
    // out, and where its voice changes (see FindVoicedStretch).
    double PhonationStartSeconds = 0;
    double PhonationEndSeconds = 0;
    std::vector<VoiceChange> Changes;
    // The samples the marks were found in: the whole recording when it is
    // short, else the stretch with a margin. Valid until the recording's
    // next Samples call.
    RecordingExcerpt Excerpt;
    // Cycle marks in seconds from the excerpt's first sample, strictly
    // increasing; cycle i runs from mark i to mark i + 1.
    std::vector<double> Marks;
    std::vector<CycleVerdict> Verdicts;  // one per cycle
};

// Checks `atSeconds` (inside the recording), chooses the voiced stretch
// around it or else the longest one, limited to LongestStretchSeconds around
// `atSeconds` or else the stretch's middle, fetches its samples and marks
// and checks its cycles. Uses up to recording.Threads() threads; the result
// is the same for any count.
MarkedStretch MarkStretch(ScannedRecording& recording, std::optional<double> atSeconds);

// TooShort "too short: fewer than 5 cycles".
Status TooShortStatus();

}  // namespace tesmera
