// SPDX-License-Identifier: GPL-3.0-or-later
// One voice period cut from an ordinary recording of a sustained vowel, in
// the form the window loads: 16-bit samples at NominalSampleRate.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "recording/scanned_recording.h"
#include "recording/sound_input.h"

namespace tesmera {

struct ExtractedPeriod {
    double F0 = 0;                   // Hz, by autocorrelation at the cut
    double CutStartSeconds = 0;      // the rising zero crossing the period starts at
    double CutEndSeconds = 0;        // one cycle later: the lag at which it repeats best
    double StretchStartSeconds = 0;  // the stable voiced stretch the cut lies in
    double StretchEndSeconds = 0;
    std::vector<std::int16_t> Samples;  // one period at NominalSampleRate
};

// Finds the most stable voiced stretch (or takes the one at `atSeconds`),
// estimates F0 there from the median of the pitch track around it (one
// frame's octave error does not count) and checks it against the cycles
// themselves (a lag whose half repeats as well held two cycles), cuts one
// cycle from the steepest rising zero crossing of the recording without its
// local mean to where that cycle's waveform repeats best, brings it to
// NominalSampleRate and scales its peak to 32767.
//
// The recording is converted around the cut before cutting, so the
// band-limited filter sees real signal on both sides; the cut instants are
// the same either way. Throws ExtractionError for silent or unvoiced input,
// for `atSeconds` outside the recording or at an unvoiced place, for a voice
// above the pitch range, and when no rising zero crossing lies near the
// chosen place.
//
// Only the voicing track and the samples around the cut are used, so a
// recording read from its file is never held whole.
ExtractedPeriod ExtractPeriod(ScannedRecording& recording, std::optional<double> atSeconds);
ExtractedPeriod ExtractPeriod(const MonoRecording& recording, std::optional<double> atSeconds);

// A period cut from a longer signal as a period file holds it: the samples
// scaled so the largest magnitude becomes 32767, rounded to 16 bits; a
// silent cut stays silent.
std::vector<std::int16_t> PeriodAs16Bit(std::span<const double> period);

}  // namespace tesmera
