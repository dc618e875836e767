// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voiced_stretch.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tesmera {

namespace {

// Frames on each side of a frame whose F0s give its smoothed F0.
constexpr std::size_t SmoothingReach = 2;
// A frame's F0 within this share of half or twice the median F0 of the
// frames within OctaveReachFrames of it is an octave error of the pitch
// track. A real octave jump moves that median too, at the jump.
constexpr double OctaveErrorTolerance = 0.1;
constexpr std::size_t OctaveReachFrames = 25;
// Vocal fry lies 6 to 10 dB under the voice it falls from; a breath after
// the vowel lies lower.
constexpr double AperiodicLevelShare = 0.25;
// Frames left out on each side of a pitch jump: their 50 ms windows hold
// both voices.
constexpr std::size_t ChangeMarginFrames = 2;

std::vector<bool> QualifyingFrames(std::span<const VoicingFrame> frames) {
    double loudest = 0;
    for (const VoicingFrame& frame : frames) {
        if (frame.Voiced) {
            loudest = std::max(loudest, frame.Rms);
        }
    }
    std::vector<bool> qualifies;
    for (const VoicingFrame& frame : frames) {
        qualifies.push_back(frame.Voiced && frame.F0 > 0 &&
                            frame.Rms >= StretchLevelBelowLoudest * loudest);
    }
    return qualifies;
}

// Runs of qualifying frames, joined across gaps of up to BridgedGapFrames.
std::vector<FrameRange> VoicedRuns(const std::vector<bool>& qualifies) {
    std::vector<FrameRange> runs;
    for (std::size_t j = 0; j < qualifies.size(); ++j) {
        if (!qualifies[j]) {
            continue;
        }
        if (!runs.empty() && j - runs.back().Last <= BridgedGapFrames + 1) {
            runs.back().Last = j;
        } else {
            runs.push_back({j, j});
        }
    }
    return runs;
}

std::size_t FrameCount(const FrameRange& range) {
    return range.Last - range.First + 1;
}

// The median of the F0s of the qualifying frames of `run` within `reach`
// of frame j, taken from `f0`.
double MedianNear(const std::vector<double>& f0, const std::vector<bool>& qualifies,
                  const FrameRange& run, std::size_t j, std::size_t reach,
                  std::vector<double>& near) {
    near.clear();
    const std::size_t from = std::max(run.First, j - std::min(j, reach));
    const std::size_t to = std::min(run.Last, j + reach);
    for (std::size_t k = from; k <= to; ++k) {
        if (qualifies[k]) {
            near.push_back(f0[k]);
        }
    }
    const auto middle = near.begin() + static_cast<std::ptrdiff_t>(near.size() / 2);
    std::ranges::nth_element(near, middle);
    return *middle;
}

// `f0` moved by an octave when it lies within OctaveErrorTolerance of half
// or twice `reference`.
double FoldedOntoOctave(double f0, double reference) {
    if (std::fabs(2 * f0 / reference - 1) < OctaveErrorTolerance) {
        return 2 * f0;
    }
    if (std::fabs(f0 / (2 * reference) - 1) < OctaveErrorTolerance) {
        return f0 / 2;
    }
    return f0;
}

// Each qualifying frame's F0 of `run`, moved onto the octave of the frames
// around it (a breathy voice's pitch falls an octave for a few frames where
// every other cycle repeats better than its neighbour), then the median
// over SmoothingReach.
void SmoothRun(std::span<const VoicingFrame> frames, const std::vector<bool>& qualifies,
               const FrameRange& run, std::vector<double>& smoothed) {
    std::vector<double> raw(frames.size(), 0.0);
    for (std::size_t j = run.First; j <= run.Last; ++j) {
        raw[j] = frames[j].F0;
    }
    std::vector<double> folded = raw;
    std::vector<double> near;
    for (std::size_t j = run.First; j <= run.Last; ++j) {
        if (qualifies[j]) {
            folded[j] = FoldedOntoOctave(
                raw[j], MedianNear(raw, qualifies, run, j, OctaveReachFrames, near));
        }
    }
    for (std::size_t j = run.First; j <= run.Last; ++j) {
        if (qualifies[j]) {
            smoothed[j] = MedianNear(folded, qualifies, run, j, SmoothingReach, near);
        }
    }
}

bool PitchJumps(double before, double after) {
    return std::max(before, after) > VoiceChangeFactor * std::min(before, after);
}

// The smoothed F0 ChangeMarginFrames from frame j in `direction` (±1),
// inside `run`, where the frame's window holds one voice only; j's own when
// that frame has none.
double PitchAwayFrom(const std::vector<double>& smoothed, const FrameRange& run, std::size_t j,
                     int direction) {
    const std::size_t away = direction < 0
                                 ? std::max(run.First, j - std::min(j, ChangeMarginFrames))
                                 : std::min(run.Last, j + ChangeMarginFrames);
    return smoothed[away] > 0 ? smoothed[away] : smoothed[j];
}

double MedianLevel(std::span<const VoicingFrame> frames, const FrameRange& run) {
    std::vector<double> levels;
    for (std::size_t j = run.First; j <= run.Last; ++j) {
        levels.push_back(frames[j].Rms);
    }
    const auto middle = levels.begin() + static_cast<std::ptrdiff_t>(levels.size() / 2);
    std::ranges::nth_element(levels, middle);
    return *middle;
}

// Leaves out the ends of `piece` below RampLevelShare of its median level;
// nothing when no frame is left.
std::optional<FrameRange> WithoutRamps(std::span<const VoicingFrame> frames, FrameRange piece) {
    const double floor = RampLevelShare * MedianLevel(frames, piece);
    while (piece.First < piece.Last && frames[piece.First].Rms < floor) {
        ++piece.First;
    }
    while (piece.Last > piece.First && frames[piece.Last].Rms < floor) {
        --piece.Last;
    }
    return frames[piece.First].Rms >= floor ? std::optional(piece) : std::nullopt;
}

// What the frames hold: the stretches between changes and the changes.
struct Phonation {
    std::vector<FrameRange> Stretches;
    std::vector<VoiceChange> Changes;
};

// Splits `run` where its smoothed pitch jumps, leaving out the frames next to
// each jump and the onset and offset of each piece.
void SplitRun(std::span<const VoicingFrame> frames, const std::vector<bool>& qualifies,
              const std::vector<double>& smoothed, const FrameRange& run, Phonation& phonation) {
    std::size_t pieceFirst = run.First;
    std::size_t previous = run.First;
    const auto close = [&](std::size_t last, bool jumpBefore, bool jumpAfter) {
        FrameRange piece{pieceFirst + (jumpBefore ? ChangeMarginFrames : 0),
                         last - std::min(last, jumpAfter ? ChangeMarginFrames : 0)};
        if (piece.First <= piece.Last) {
            if (const auto kept = WithoutRamps(frames, piece)) {
                phonation.Stretches.push_back(*kept);
            }
        }
    };
    bool jumpBefore = false;
    for (std::size_t j = run.First + 1; j <= run.Last; ++j) {
        if (!qualifies[j]) {
            continue;
        }
        if (PitchJumps(smoothed[previous], smoothed[j])) {
            phonation.Changes.push_back({VoiceChange::Kind::PitchJump, frames[j].Time,
                                         PitchAwayFrom(smoothed, run, previous, -1),
                                         PitchAwayFrom(smoothed, run, j, 1)});
            close(previous, jumpBefore, true);
            pieceFirst = j;
            jumpBefore = true;
        }
        previous = j;
    }
    close(run.Last, jumpBefore, false);
}

// Frames at least StretchLevelBelowLoudest of the loudest frame, voiced or not.
std::size_t LoudFrameCount(std::span<const VoicingFrame> frames) {
    double loudest = 0;
    for (const VoicingFrame& frame : frames) {
        loudest = std::max(loudest, frame.Rms);
    }
    return static_cast<std::size_t>(std::ranges::count_if(frames, [&](const VoicingFrame& f) {
        return f.Rms >= StretchLevelBelowLoudest * loudest;
    }));
}

// Where the sound stays within AperiodicLevelShare of the voice's level for
// ShortestPhonationFrames or more right before the first run or after the
// last one without a pitch: the voice turns into creak below the pitch
// range, or into breath.
void AddAperiodicEnds(std::span<const VoicingFrame> frames, const std::vector<bool>& qualifies,
                      const std::vector<FrameRange>& runs, const std::vector<double>& smoothed,
                      Phonation& phonation) {
    const auto loudWithoutPitch = [&](double level, std::size_t j) {
        return !qualifies[j] && frames[j].Rms >= AperiodicLevelShare * level;
    };
    const FrameRange& first = runs.front();
    const double firstLevel = MedianLevel(frames, first);
    std::size_t before = 0;
    while (before < first.First && loudWithoutPitch(firstLevel, first.First - before - 1)) {
        ++before;
    }
    if (before >= ShortestPhonationFrames) {
        phonation.Changes.insert(
            phonation.Changes.begin(),
            {VoiceChange::Kind::Aperiodic, frames[first.First].Time, 0, smoothed[first.First]});
    }
    const FrameRange& last = runs.back();
    const double lastLevel = MedianLevel(frames, last);
    std::size_t after = 0;
    while (last.Last + after + 1 < frames.size() &&
           loudWithoutPitch(lastLevel, last.Last + after + 1)) {
        ++after;
    }
    if (after >= ShortestPhonationFrames) {
        phonation.Changes.push_back(
            {VoiceChange::Kind::Aperiodic, frames[last.Last + 1].Time, smoothed[last.Last], 0});
    }
}

Phonation Analyse(std::span<const VoicingFrame> frames, std::vector<double>& smoothed) {
    const std::vector<bool> qualifies = QualifyingFrames(frames);
    std::vector<FrameRange> runs = VoicedRuns(qualifies);
    // Short runs are a voice only in a sound as short as they are: in a
    // longer one (a whisper, a noise) they are chance periodicity.
    if (LoudFrameCount(frames) >= ShortestPhonationFrames) {
        std::erase_if(runs, [](auto& r) { return FrameCount(r) < ShortestPhonationFrames; });
    }
    Phonation phonation;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        SmoothRun(frames, qualifies, runs[r], smoothed);
        if (r > 0) {
            phonation.Changes.push_back({VoiceChange::Kind::Break, frames[runs[r].First].Time,
                                         smoothed[runs[r - 1].Last], smoothed[runs[r].First]});
        }
        SplitRun(frames, qualifies, smoothed, runs[r], phonation);
    }
    if (!runs.empty()) {
        AddAperiodicEnds(frames, qualifies, runs, smoothed, phonation);
    }
    return phonation;
}

}  // namespace

std::optional<VoicedStretch> FindVoicedStretch(std::span<const VoicingFrame> frames,
                                               std::optional<std::size_t> around) {
    std::vector<double> smoothed(frames.size(), 0.0);
    Phonation phonation = Analyse(frames, smoothed);
    std::optional<FrameRange> best;
    for (const FrameRange& stretch : phonation.Stretches) {
        const bool holds = around && stretch.First <= *around && *around <= stretch.Last;
        if ((around && !holds) || (best && FrameCount(stretch) <= FrameCount(*best))) {
            continue;
        }
        best = stretch;
    }
    if (!best) {
        return std::nullopt;
    }
    const FrameRange whole{phonation.Stretches.front().First, phonation.Stretches.back().Last};
    return VoicedStretch{*best, whole, std::move(phonation.Changes), std::move(smoothed)};
}

}  // namespace tesmera
