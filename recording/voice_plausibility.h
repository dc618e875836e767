// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a marked stretch holds a voice the report can grade: a pure tone
// has no harmonics to shape, and two voices at unrelated pitches have no one
// glottal cycle, whatever period the pitch track settles on. The subharmonics
// and alternating cycles of one disordered voice lie at half harmonics and
// stay reportable.
#pragma once

#include <optional>

#include "base/Status.h"
#include "recording/stretch_spectrum.h"

namespace tesmera {

// No harmonic above the fundamental within this of it (40 dB) makes a pure tone.
constexpr double PureToneHarmonicFloor = 1e-4;
// A spectral peak within this of the strongest below 4.25 F0 (10 dB) is
// part of the sound's pitch...
constexpr double StrongPeakShare = 0.1;
// ...and one farther than this share of F0 from every harmonic and half
// harmonic of the stretch's F0 belongs to another voice.
constexpr double InharmonicReach = 0.1;

// NotAVoice "not a voice: a pure tone", TwoVoices "two voices: another pitch
// at 130 Hz", or nothing for a voice.
std::optional<Status> ImplausibleVoice(const AveragedSpectrum& spectrum, double rate);

}  // namespace tesmera
