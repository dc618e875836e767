// SPDX-License-Identifier: GPL-3.0-or-later
// Synthetic continuous speech for the voice quality index, which takes the
// voiced parts of a reading beside a sustained vowel: syllables of the
// voice a vowel recipe describes (its jitter, shimmer and noise), each
// gliding in F0 and moving from one vowel's formants to another's, with
// voiceless fricative bursts and pauses between them. The same recipe
// always gives the same samples.
#pragma once

#include <vector>

#include "tools/sustained_vowel.h"

namespace tesmera::tools {

// `voice` gives the rate, F0 (the mean of the syllables'), perturbation,
// noise, peak and seed; its Seconds the length of speech without the
// silences at either end (Silence each), reached at the end of a syllable.
// Its other fields (drift, tremor, ...) are not used.
std::vector<double> GenerateReading(const VowelRecipe& voice);

}  // namespace tesmera::tools
