// One voice period cut from an ordinary recording of a sustained vowel, in
// the form the window loads: 16-bit samples at NominalSampleRate.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "recording/sound_input.h"

namespace tesmera {

struct ExtractedPeriod {
    double F0 = 0;                   // Hz, by autocorrelation at the cut
    double CutStartSeconds = 0;      // the rising zero crossing the period starts at
    double CutEndSeconds = 0;        // the next one, a period later
    double StretchStartSeconds = 0;  // the stable voiced stretch the cut lies in
    double StretchEndSeconds = 0;
    std::vector<std::int16_t> Samples;  // one period at NominalSampleRate
};

// Finds the most stable voiced stretch (or takes the one at `atSeconds`),
// estimates F0 there, cuts one period between consecutive rising zero
// crossings of the recording without its local mean, brings it to
// NominalSampleRate and scales its peak to 32767.
//
// The recording is converted around the cut before cutting, so the
// band-limited filter sees real signal on both sides; the cut instants are
// the same either way. Throws ExtractionError for silent or unvoiced input,
// for `atSeconds` outside the recording or at an unvoiced place, and when
// no clean pair of crossings lies a period apart.
ExtractedPeriod ExtractPeriod(const MonoRecording& recording, std::optional<double> atSeconds);

}  // namespace tesmera
