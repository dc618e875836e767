// SPDX-License-Identifier: GPL-3.0-or-later
// The voiced parts of a recording of continuous speech, kept as the
// Acoustic Voice Quality Index (AVQI v03.01) keeps them, so that its index
// is comparable with the published norms:
// 1. the pauses are cut out (see sounding_intervals.h) and the sounding
//    stretches joined;
// 2. the joined sound is walked in consecutive windows of 30 ms from its
//    start, each starting where the previous ended, as long as a window
//    ends more than 30 ms before the sound's end;
// 3. a window is kept when its power exceeds 30 % of the joined sound's and
//    it crosses zero fewer than 3000 times a second, counted as the script
//    counts: from the zero crossing nearest 2.5 ms into the window, crossing
//    by crossing until the first at or beyond 27.5 ms, the number of
//    crossings over the time they span;
// 4. the kept windows follow each other, after 1 ms of silence.
// The window positions are added up in steps of 30 ms from 0 in floating
// point, as the script adds them: a window's samples are those whose
// centres lie within its start and end.
#pragma once

#include <span>
#include <vector>

namespace tesmera {

struct VoicedSpeech {
    std::vector<double> Samples;  // the lead of silence, then the kept windows
    std::size_t KeptWindows = 0;
    double VoicedSeconds = 0;  // of the kept windows, the lead not counted
};

// `speech` at `rate` Hz (rate > 0), already high-pass filtered.
VoicedSpeech KeepVoicedSpeech(std::span<const double> speech, double rate);

}  // namespace tesmera
