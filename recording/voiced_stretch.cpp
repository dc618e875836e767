// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voiced_stretch.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace tesmera {

namespace {

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

// For each frame j, the first frame of the longest valid run ending at j
// (j + 1 when j does not qualify), by two pointers with monotonic queues of
// the run's lowest and highest F0.
std::vector<std::size_t> RunStarts(std::span<const VoicingFrame> frames,
                                   const std::vector<bool>& qualifies) {
    std::vector<std::size_t> starts(frames.size());
    std::deque<std::size_t> lowest;
    std::deque<std::size_t> highest;
    std::size_t first = 0;
    for (std::size_t j = 0; j < frames.size(); ++j) {
        if (!qualifies[j]) {
            lowest.clear();
            highest.clear();
            first = j + 1;
            starts[j] = first;
            continue;
        }
        const double f0 = frames[j].F0;
        while (!lowest.empty() && frames[lowest.back()].F0 >= f0) {
            lowest.pop_back();
        }
        lowest.push_back(j);
        while (!highest.empty() && frames[highest.back()].F0 <= f0) {
            highest.pop_back();
        }
        highest.push_back(j);
        while (frames[highest.front()].F0 > StretchPitchRange * frames[lowest.front()].F0) {
            ++first;
            if (lowest.front() < first) {
                lowest.pop_front();
            }
            if (highest.front() < first) {
                highest.pop_front();
            }
        }
        starts[j] = first;
    }
    return starts;
}

}  // namespace

std::optional<FrameRange> FindSteadyStretch(std::span<const VoicingFrame> frames,
                                            std::optional<std::size_t> around) {
    const std::vector<bool> qualifies = QualifyingFrames(frames);
    const std::vector<std::size_t> starts = RunStarts(frames, qualifies);
    std::optional<FrameRange> best;
    for (std::size_t j = 0; j < frames.size(); ++j) {
        if (!qualifies[j] || (around && (starts[j] > *around || j < *around))) {
            continue;
        }
        if (!best || j - starts[j] > best->Last - best->First) {
            best = FrameRange{starts[j], j};
        }
    }
    return best;
}

}  // namespace tesmera
