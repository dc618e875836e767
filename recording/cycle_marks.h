// SPDX-License-Identifier: GPL-3.0-or-later
// Glottal cycle marks in a voiced stretch: one mark per cycle at the same
// point of the waveform, found by cross-correlation from cycle to cycle,
// and the check of each cycle against the pitch track and its own
// waveform.
#pragma once

#include <functional>
#include <span>
#include <vector>

namespace tesmera {

// The local period in seconds at a time in seconds (the pitch track).
using PeriodTrack = std::function<double(double seconds)>;

// The F0 of a pitch track at one time.
struct F0Point {
    double Time;  // seconds
    double F0;    // Hz, above 0
};

// The track through `points` (in time order, at least one): F0 linear
// between them, constant beyond the first and the last.
PeriodTrack LinearPeriodTrack(std::vector<F0Point> points);

// Marks in seconds (sample k of `signal` at k / rate), strictly increasing,
// all inside [from, to]. The first mark is the largest extreme near the
// middle of the stretch; from it the marks are carried one cycle at a time
// to both sides: the next mark is where a window of one period around the
// current mark correlates best with the signal 0.8 to 1.25 local periods
// away (refined between samples), so every mark sits at the same point of
// its cycle. Empty when the stretch is shorter than two periods. The two
// directions are walked on up to `threads` threads (at most two help);
// `period` must allow calls from several threads at once.
std::vector<double> MarkCycles(std::span<const double> signal, double rate, double from, double to,
                               const PeriodTrack& period, unsigned threads = 1);

// Why a cycle (between two neighbouring marks) is left out of the analysis.
enum class CycleVerdict {
    CvAccepted,
    CvOffTrack,   // its F0 is more than 10 % away from the pitch track's
    CvMisshapen,  // its length differs by more than 7 % from the lag at which
                  // its own waveform repeats best: a mark is not where the
                  // others are in their cycles
};

// One verdict per cycle (marks.size() − 1 of them), the same on any number
// of `threads`.
std::vector<CycleVerdict> CheckCycles(std::span<const double> signal, double rate,
                                      std::span<const double> marks, const PeriodTrack& period,
                                      unsigned threads = 1);

}  // namespace tesmera
