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
    std::size_t Cycle = 0;       // its number among the report's cycles, from 1
    double F0 = 0;               // Hz, from the cycle's marks
    double CutStartSeconds = 0;  // the cycle's marks
    double CutEndSeconds = 0;
    double StretchStartSeconds = 0;  // the analysed stretch the cycle lies in
    double StretchEndSeconds = 0;
    std::vector<std::int16_t> Samples;  // one period at NominalSampleRate
};

// One of the voice report's analysed cycles, exactly as the report scored
// it and the recording window saves it: the one nearest `atSeconds`, or
// else nearest the middle of the analysed stretch. Throws RecordingError
// with the report's refusal when it analysed no cycle.
//
// Only the voicing track and the samples of the stretch are used, so a
// recording read from its file is never held whole.
ExtractedPeriod ExtractPeriod(ScannedRecording& recording, std::optional<double> atSeconds);
ExtractedPeriod ExtractPeriod(const MonoRecording& recording, std::optional<double> atSeconds);

// A period cut from a longer signal as a period file holds it: the samples
// scaled so the largest magnitude becomes 32767, rounded to 16 bits; a
// silent cut stays silent.
std::vector<std::int16_t> PeriodAs16Bit(std::span<const double> period);

}  // namespace tesmera
