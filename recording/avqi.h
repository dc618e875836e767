// SPDX-License-Identifier: GPL-3.0-or-later
// The Acoustic Voice Quality Index (AVQI v03.01, Barsties and Maryn 2015)
// of one person from a sustained vowel and a sample of continuous speech,
// measured as the published procedure measures it:
// 1. Both sounds lose everything below 34 Hz (a stop band from 0 to 34 Hz
//    with raised-cosine edges of 0.1 Hz, hann_band_filter.h).
// 2. The speech is reduced to its voiced parts (voiced_speech.h).
// 3. The last 3 s of the vowel (all of it when shorter) follow them, and
//    on that joined sound:
//    - CPPS as the report measures it (cepstral_peak.h);
//    - HNR: the mean over voiced frames of the cross-correlation pitch
//      analysis of a voice report (75 to 600 Hz, silence threshold 0.03,
//      voicing threshold 0.45), each frame's strongest repetition taken
//      (the path through the frames is not searched);
//    - shimmer local (%) and local (dB) over the cycle marks of its voiced
//      runs (50 to 400 Hz; periods 0.1 to 20 ms, factors 1.3 and 1.6);
//    - the slope of its long-term average spectrum (energy above 1 kHz to
//      10 kHz against 0 to 1 kHz) and of the spectrum's trend line over
//      1 to 10 kHz (ltas.h).
// 4. AVQI = (4.152 − 0.177 CPPS − 0.006 HNR − 0.037 Shim + 0.941 ShdB
//    + 0.01 Slope + 0.093 Tilt) × 2.8902.
#pragma once

#include <optional>
#include <span>

#include "recording/avqi_figures.h"

namespace tesmera {

// The procedure expects about 3 s of voiced speech; under this, the index
// rests on too little of it (a warning, not a refusal).
constexpr double AvqiShortestVoicedSpeech = 2;

// The index from its six measures; fills figures.Avqi.
void ComputeAvqi(AvqiFigures& figures);

// Both sounds at `rate` Hz (full scale ±1, mono). Nothing when the joined
// sound gives no cycle, voiced frame or cepstrum (too short or not a
// voice). Uses up to `threads` threads; the figures are the same for any
// count. Throws TesmeraError unless rate > 0.
std::optional<AvqiFigures> MeasureAvqi(std::span<const double> vowel,
                                       std::span<const double> speech, double rate,
                                       unsigned threads = 1);

}  // namespace tesmera
