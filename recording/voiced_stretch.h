// SPDX-License-Identifier: GPL-3.0-or-later
// The stretch of a sustained vowel that is analysed, chosen on the pitch
// track's frames: the voiced phonation without its onset and offset, kept
// whole through the perturbation a voice report measures (jitter, shimmer,
// slow drift, tremor, breathiness) and split only where the voice changes:
// a gap, or a jump of its pitch (a register change, an octave jump, a fall
// into creak).
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "recording/pitch.h"

namespace tesmera {

// A frame belongs to a phonation only when voiced and at most this far below
// the loudest voiced frame (20 dB).
constexpr double StretchLevelBelowLoudest = 0.1;
// A voiced run shorter than this (a click, a cough) is no phonation of its
// own: it neither starts the phonation nor breaks it.
constexpr std::size_t ShortestPhonationFrames = 10;
// Unvoiced frames a phonation bridges: a rough or breathy voice loses its
// pitch for a frame or two without stopping.
constexpr std::size_t BridgedGapFrames = 2;
// The voice changes where its pitch, smoothed over five frames, moves by more
// than this factor from one frame to the next. Tremor of ±10 % at 8 Hz moves
// it by at most 5 % a frame, a register change or octave jump by 25 % or more.
constexpr double VoiceChangeFactor = 1.2;
// The onset and offset: frames at either end of a stretch below this share of
// the stretch's median level (6 dB down), where the voice is still building
// up or dying away.
constexpr double RampLevelShare = 0.5;

struct FrameRange {
    std::size_t First = 0;  // indices into the frames, inclusive
    std::size_t Last = 0;
};

// Where a phonation changes: a gap (the voice stops and starts again), a
// jump of the pitch, or the sound going on as loud without a pitch before
// or after the voice (creak below the pitch range, breath).
struct VoiceChange {
    enum class Kind { Break, PitchJump, Aperiodic };
    Kind What = Kind::Break;
    double Seconds = 0;   // the centre of the new voice's first frame
    double F0Before = 0;  // Hz, smoothed; 0 without a pitch
    double F0After = 0;
};

struct VoicedStretch {
    FrameRange Stretch;                // the frames analysed
    FrameRange Phonation;              // first to last voiced frame of the recording
    std::vector<VoiceChange> Changes;  // in time order, inside Phonation
    // Each frame's F0 smoothed over five frames (0 outside every stretch):
    // the pitch the cycle marks follow, free of one-frame octave errors.
    std::vector<double> SmoothedF0;
};

// The longest stretch between changes, without its onset and offset; with
// `around`, the stretch that holds that frame. The earliest wins a tie.
// Nothing when no frame qualifies (or the frame `around` lies in no
// stretch), or when a sound of ShortestPhonationFrames or more holds no
// voiced run that long.
std::optional<VoicedStretch> FindVoicedStretch(std::span<const VoicingFrame> frames,
                                               std::optional<std::size_t> around = std::nullopt);

}  // namespace tesmera
