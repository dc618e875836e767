// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/pitch.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

constexpr double Rate = 11025;

// 0.3 s of silence, 1 s of a 150 Hz voice whose level rises, 0.3 s of
// silence: silent, quiet and voiced frames, and frames across each edge.
std::vector<double> VoiceBetweenSilences() {
    std::vector<double> x(static_cast<std::size_t>(1.6 * Rate));
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double t = static_cast<double>(i) / Rate - 0.3;
        if (t >= 0 && t < 1) {
            x[i] = (0.05 + 0.4 * t) *
                   (std::sin(2 * M_PI * 150 * t) + 0.5 * std::sin(2 * M_PI * 300 * t + 1));
        }
    }
    return x;
}

struct TrackerCase {
    const char* name;
    std::size_t block;  // samples per Add
};

class VoicingTrackerBlocks : public ::testing::TestWithParam<TrackerCase> {};

// Frames are cut and judged the same whatever blocks the signal comes in,
// including blocks shorter than a hop and blocks that end mid-frame.
TEST_P(VoicingTrackerBlocks, GiveTheFramesOfTheWholeSignal) {
    const std::vector<double> signal = VoiceBetweenSilences();
    const std::vector<VoicingFrame> whole = AnalyseVoicing(signal, Rate);

    VoicingTracker tracker(Rate);
    for (std::size_t first = 0; first < signal.size(); first += GetParam().block) {
        tracker.Add(
            std::span(signal).subspan(first, std::min(GetParam().block, signal.size() - first)));
    }
    const std::vector<VoicingFrame> blockwise = tracker.Finish();

    ASSERT_EQ(blockwise.size(), whole.size());
    std::size_t voiced = 0;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        EXPECT_EQ(blockwise[i].Time, whole[i].Time) << i;
        EXPECT_EQ(blockwise[i].Rms, whole[i].Rms) << i;
        EXPECT_EQ(blockwise[i].F0, whole[i].F0) << i;
        EXPECT_EQ(blockwise[i].Voiced, whole[i].Voiced) << i;
        voiced += whole[i].Voiced ? 1 : 0;
    }
    // The signal holds all three kinds of frame, or the comparison proves little.
    EXPECT_GT(voiced, 50u);
    EXPECT_LT(voiced, whole.size() - 40);
}

INSTANTIATE_TEST_SUITE_P(Pitch, VoicingTrackerBlocks,
                         ::testing::Values(TrackerCase{"OneSampleAtATime", 1},
                                           TrackerCase{"ShorterThanAHop", 97},
                                           TrackerCase{"OneFrameLong", 551},
                                           TrackerCase{"SeveralFramesLong", 4096},
                                           TrackerCase{"AllAtOnce", 1 << 20}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VoicingTracker, SignalShorterThanAFrameGivesNoFrames) {
    VoicingTracker tracker(Rate);
    tracker.Add(std::vector<double>(400, 0.1));
    EXPECT_TRUE(tracker.Finish().empty());
}

}  // namespace
}  // namespace tesmera
