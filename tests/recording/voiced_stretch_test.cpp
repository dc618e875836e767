// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voiced_stretch.h"
#include "support/param_name.h"

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

// Frames every 10 ms from a compact description: one entry per frame,
// '.' unvoiced, 'q' voiced but 30 dB down, or a voiced frame at level 1
// whose F0 is the given value.
struct FrameSpec {
    char kind;  // '.', 'q' or 'v'
    double f0;
};

std::vector<VoicingFrame> Frames(const std::vector<FrameSpec>& specs) {
    std::vector<VoicingFrame> frames;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const FrameSpec& s = specs[i];
        const double rms = s.kind == 'q' ? 0.03 : s.kind == '.' ? 0.001 : 1.0;
        const bool voiced = s.kind != '.';
        frames.push_back({0.025 + 0.01 * static_cast<double>(i), rms, voiced ? 0.9 : 0.1,
                          voiced ? (s.kind == 'q' ? 100 : s.f0) : 0, voiced});
    }
    return frames;
}

std::vector<FrameSpec> Voiced(std::size_t count, double f0) {
    return std::vector<FrameSpec>(count, FrameSpec{'v', f0});
}

std::vector<FrameSpec> Join(std::initializer_list<std::vector<FrameSpec>> parts) {
    std::vector<FrameSpec> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const std::vector<FrameSpec> Silence(3, FrameSpec{'.', 0});
const std::vector<FrameSpec> Quiet(3, FrameSpec{'q', 0});

struct StretchCase : test::NamedCase<StretchCase> {
    std::vector<FrameSpec> frames;
    std::optional<std::size_t> around;
    std::optional<FrameRange> expected;
};

class SteadyStretches : public ::testing::TestWithParam<StretchCase> {};

TEST_P(SteadyStretches, AreFound) {
    const StretchCase& c = GetParam();
    const auto stretch = FindSteadyStretch(Frames(c.frames), c.around);
    ASSERT_EQ(stretch.has_value(), c.expected.has_value());
    if (c.expected) {
        EXPECT_EQ(stretch->First, c.expected->First);
        EXPECT_EQ(stretch->Last, c.expected->Last);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SteadyStretches,
    ::testing::Values(
        StretchCase{"WholeVowel", Join({Silence, Voiced(10, 150), Silence}), {}, FrameRange{3, 12}},
        StretchCase{"QuietOnsetAndOffsetDropped",
                    Join({Silence, Quiet, Voiced(10, 150), Quiet, Silence}),
                    {},
                    FrameRange{6, 15}},
        // 150 to 160 Hz is within 10 % of the lowest, 150 to 170 is not.
        StretchCase{"PitchWithinRangeStaysOne",
                    Join({Voiced(5, 150), Voiced(5, 160)}),
                    {},
                    FrameRange{0, 9}},
        StretchCase{"PitchJumpSplitsTheLongerWins",
                    Join({Voiced(4, 150), Voiced(7, 170)}),
                    {},
                    FrameRange{4, 10}},
        StretchCase{"OctaveErrorSplits",
                    Join({Voiced(6, 120), Voiced(1, 240), Voiced(3, 120)}),
                    {},
                    FrameRange{0, 5}},
        StretchCase{"SlowDriftKeepsTheLongestWindow",
                    {{'v', 100}, {'v', 104}, {'v', 108}, {'v', 112}, {'v', 116}, {'v', 120}},
                    {},
                    FrameRange{0, 2}},
        StretchCase{"EarliestOfEqualRuns",
                    Join({Voiced(4, 150), Silence, Voiced(4, 150)}),
                    {},
                    FrameRange{0, 3}},
        StretchCase{"AroundChoosesItsRun", Join({Voiced(8, 150), Silence, Voiced(4, 150)}), 12,
                    FrameRange{11, 14}},
        StretchCase{"AroundAnUnvoicedFrame", Join({Voiced(8, 150), Silence}), 9, std::nullopt},
        StretchCase{"NothingVoiced", Join({Silence, Silence}), {}, std::nullopt}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
