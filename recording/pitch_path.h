// SPDX-License-Identifier: GPL-3.0-or-later
// The mean harmonics-to-noise ratio of a voice report: a cross-correlation
// pitch analysis whose frames are joined into the most likely path, as the
// standard voice-analysis tools join them ("To Pitch (cc)", then the mean
// strength of the voiced frames in dB). Unlike the harmonicity measure, a
// frame's voicing depends on its neighbours: a weak frame inside a voiced
// run stays voiced, a strong one between silences may not.
#pragma once

#include <optional>
#include <span>

#include "recording/harmonicity.h"

namespace tesmera {

struct PathCosts {
    double OctaveCost = 0.01;          // per octave below the highest pitch
    double OctaveJumpCost = 0.35;      // per octave between voiced neighbours
    double VoicedUnvoicedCost = 0.14;  // per change between voiced and unvoiced
};

// Over the frames of HarmonicityCandidates (`settings`), the path of one
// candidate or "unvoiced" per frame that maximises the sum of the frames'
// weights (a candidate's strength less OctaveCost per octave below
// MaximumPitch; an unvoiced frame's unvoiced strength) less the costs of
// its transitions, the two transition costs scaled by 0.01 s / TimeStep.
// The mean of 10·log10(r / (1 − r)) over the path's voiced frames, r its
// candidate's strength; nothing without one. The same for any `threads`.
std::optional<double> MeanPathHarmonicity(std::span<const double> signal, double rate,
                                          const HarmonicitySettings& settings,
                                          const PathCosts& costs = {}, unsigned threads = 1);

}  // namespace tesmera
