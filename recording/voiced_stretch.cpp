// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voiced_stretch.h"

#include <algorithm>
#include <vector>

namespace tesmera {

namespace {

// Frames on each side of a frame whose F0s give its smoothed F0.
constexpr std::size_t SmoothingReach = 2;
// Frames left out on each side of a pitch jump: their 50 ms windows hold
// both voices.
constexpr std::size_t ChangeMarginFrames = 2;
// A voiced run shorter than this (a click, a cough) is no phonation of its
// own: it neither starts the phonation nor breaks it.
constexpr std::size_t ShortestPhonationFrames = 10;

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

// The median F0 of the qualifying frames within SmoothingReach of each
// qualifying frame of `run`.
void SmoothRun(std::span<const VoicingFrame> frames, const std::vector<bool>& qualifies,
               const FrameRange& run, std::vector<double>& smoothed) {
    std::vector<double> near;
    for (std::size_t j = run.First; j <= run.Last; ++j) {
        if (!qualifies[j]) {
            continue;
        }
        near.clear();
        const std::size_t from = std::max(run.First, j - std::min(j, SmoothingReach));
        const std::size_t to = std::min(run.Last, j + SmoothingReach);
        for (std::size_t k = from; k <= to; ++k) {
            if (qualifies[k]) {
                near.push_back(frames[k].F0);
            }
        }
        const auto middle = near.begin() + static_cast<std::ptrdiff_t>(near.size() / 2);
        std::ranges::nth_element(near, middle);
        smoothed[j] = *middle;
    }
}

bool PitchJumps(double before, double after) {
    return std::max(before, after) > VoiceChangeFactor * std::min(before, after);
}

// Leaves out the ends of `piece` below RampLevelShare of its median level;
// nothing when no frame is left.
std::optional<FrameRange> WithoutRamps(std::span<const VoicingFrame> frames, FrameRange piece) {
    std::vector<double> levels;
    for (std::size_t j = piece.First; j <= piece.Last; ++j) {
        levels.push_back(frames[j].Rms);
    }
    const auto middle = levels.begin() + static_cast<std::ptrdiff_t>(levels.size() / 2);
    std::ranges::nth_element(levels, middle);
    const double floor = RampLevelShare * *middle;
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
            phonation.Changes.push_back(
                {VoiceChange::Kind::PitchJump, frames[j].Time, smoothed[previous], smoothed[j]});
            close(previous, jumpBefore, true);
            pieceFirst = j;
            jumpBefore = true;
        }
        previous = j;
    }
    close(run.Last, jumpBefore, false);
}

Phonation Analyse(std::span<const VoicingFrame> frames, std::vector<double>& smoothed) {
    const std::vector<bool> qualifies = QualifyingFrames(frames);
    std::vector<FrameRange> runs = VoicedRuns(qualifies);
    // Short runs are kept only when nothing longer is voiced.
    if (std::ranges::any_of(runs,
                            [](auto& r) { return FrameCount(r) >= ShortestPhonationFrames; })) {
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
