// SPDX-License-Identifier: GPL-3.0-or-later
// The sounding stretches of a recording of speech: its pauses found as the
// standard voice-analysis tools find them ("To TextGrid (silences)"), so
// that the voice quality index leaves out what they leave out.
//
// 1. The sound is band-passed to 80 Hz - 8 kHz (raised-cosine edges of
//    80 Hz, see hann_band_filter.h).
// 2. Its intensity, in dB, is taken every TimeStep seconds over a
//    Kaiser-shaped window of 6.4 / MinimumPitch seconds, the window's mean
//    taken off; the frames are centred on the sound as a block.
// 3. Frames more than ThresholdDb below the loudest (its top refined by a
//    parabola) are silent; the boundaries between silent and sounding
//    frames lie at the first frame of each new state.
// 4. Sounding stretches shorter than MinimumSounding are joined to the
//    silence before them (or after, at the start), then silences shorter
//    than MinimumSilence to the sound before them.
#pragma once

#include <span>
#include <vector>

namespace tesmera {

struct SilenceSettings {
    double MinimumPitch = 50;      // Hz
    double TimeStep = 0.003;       // seconds
    double ThresholdDb = -25;      // against the loudest frame
    double MinimumSilence = 0.1;   // seconds
    double MinimumSounding = 0.1;  // seconds
};

struct TimeInterval {
    double Start = 0;  // seconds from the start of the sound
    double End = 0;
};

// The sounding stretches in time order; the whole sound as one when it is
// shorter than the intensity window or its level range does not reach the
// threshold. Sample k of `samples` stands for the interval from k / rate
// to (k + 1) / rate.
std::vector<TimeInterval> SoundingIntervals(std::span<const double> samples, double rate,
                                            const SilenceSettings& settings = {});

}  // namespace tesmera
