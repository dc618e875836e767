// SPDX-License-Identifier: GPL-3.0-or-later
// The Acoustic Voice Quality Index (AVQI v03.01) of one person, from a
// sustained vowel and a sample of continuous speech, with the six measures
// it combines. Kept apart from its computation so that every output can
// show it without depending on how it is measured.
#pragma once

namespace tesmera {

struct AvqiFigures {
    double Avqi = 0;
    double CppsDb = 0;
    double HnrDb = 0;
    double ShimmerLocalPct = 0;
    double ShimmerLocalDb = 0;
    double LtasSlopeDb = 0;
    double LtasTiltDb = 0;
    // Voiced speech kept for the index; the procedure expects about 3 s.
    double SpeechVoicedSeconds = 0;
};

// AVQI at or above this (Barsties and Maryn 2015) speaks for a dysphonic
// voice.
constexpr double AvqiDysphonicThreshold = 2.43;

}  // namespace tesmera
