// SPDX-License-Identifier: GPL-3.0-or-later
// The steady voiced stretch of a sustained vowel, chosen on the pitch
// track's frames: loud enough, voiced throughout, and at one pitch.
#pragma once

#include <optional>
#include <span>

#include "recording/pitch.h"

namespace tesmera {

// A frame belongs to a stretch only when voiced and at most this far below
// the loudest voiced frame (20 dB), which drops onset and offset.
constexpr double StretchLevelBelowLoudest = 0.1;
// Highest F0 over lowest F0 inside a stretch: about ±5 % around its middle.
constexpr double StretchPitchRange = 1.1;

struct FrameRange {
    std::size_t First = 0;  // indices into the frames, inclusive
    std::size_t Last = 0;
};

// The longest run of consecutive qualifying frames whose F0 stays within
// StretchPitchRange; with `around`, the longest such run that holds that
// frame. The earliest wins a tie. Nothing when no frame qualifies (or the
// frame `around` does not).
std::optional<FrameRange> FindSteadyStretch(std::span<const VoicingFrame> frames,
                                            std::optional<std::size_t> around = std::nullopt);

}  // namespace tesmera
