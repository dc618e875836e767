// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voiced_stretch.h"
#include "support/param_name.h"

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

// Frames every 10 ms from a compact description: one entry per frame,
// '.' unvoiced, 'q' voiced but 30 dB down, 'r' voiced but 10 dB down (an
// onset or offset), or a voiced frame at level 1 whose F0 is the given value.
struct FrameSpec {
    char kind;  // '.', 'q', 'r' or 'v'
    double f0;
};

std::vector<VoicingFrame> Frames(const std::vector<FrameSpec>& specs) {
    std::vector<VoicingFrame> frames;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const FrameSpec& s = specs[i];
        const double rms = s.kind == 'q' ? 0.03 : s.kind == 'r' ? 0.3 : s.kind == '.' ? 0.001 : 1.0;
        const bool voiced = s.kind != '.';
        frames.push_back({0.025 + 0.01 * static_cast<double>(i), rms, voiced ? 0.9 : 0.1,
                          voiced ? (s.kind == 'v' ? s.f0 : 150) : 0, voiced});
    }
    return frames;
}

std::vector<FrameSpec> Voiced(std::size_t count, double f0) {
    return std::vector<FrameSpec>(count, FrameSpec{'v', f0});
}

// F0 moving from `from` by `depth` (a fraction) as a sine of `cycles` cycles
// over `count` frames, plus a linear drift of `drift` (a fraction).
std::vector<FrameSpec> Moving(std::size_t count, double from, double depth, double cycles,
                              double drift) {
    std::vector<FrameSpec> frames;
    for (std::size_t i = 0; i < count; ++i) {
        const double share = static_cast<double>(i) / static_cast<double>(count);
        frames.push_back({'v', from * (1 + depth * std::sin(2 * 3.14159265 * cycles * share)) *
                                   (1 + drift * share)});
    }
    return frames;
}

std::vector<FrameSpec> Join(std::initializer_list<std::vector<FrameSpec>> parts) {
    std::vector<FrameSpec> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::vector<FrameSpec> Repeated(std::size_t count, char kind) {
    return std::vector<FrameSpec>(count, FrameSpec{kind, 0});
}

const std::vector<FrameSpec> Silence = Repeated(3, '.');
const std::vector<FrameSpec> Quiet = Repeated(3, 'q');
const std::vector<FrameSpec> Ramp = Repeated(2, 'r');

struct StretchCase : test::NamedCase<StretchCase> {
    std::vector<FrameSpec> frames;
    std::optional<std::size_t> around;
    std::optional<FrameRange> expected;
    std::size_t changes = 0;
};

class VoicedStretches : public ::testing::TestWithParam<StretchCase> {};

TEST_P(VoicedStretches, AreFound) {
    const StretchCase& c = GetParam();
    const auto voiced = FindVoicedStretch(Frames(c.frames), c.around);
    ASSERT_EQ(voiced.has_value(), c.expected.has_value());
    if (c.expected) {
        EXPECT_EQ(voiced->Stretch.First, c.expected->First);
        EXPECT_EQ(voiced->Stretch.Last, c.expected->Last);
        EXPECT_EQ(voiced->Changes.size(), c.changes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, VoicedStretches,
    ::testing::Values(
        StretchCase{"WholeVowel", Join({Silence, Voiced(20, 150), Silence}), {}, FrameRange{3, 22}},
        StretchCase{"OnsetAndOffsetLeftOut",
                    Join({Silence, Quiet, Ramp, Voiced(20, 150), Ramp, Quiet, Silence}),
                    {},
                    FrameRange{8, 27}},
        StretchCase{"TremorKeptWhole", Moving(40, 150, 0.1, 4, 0), {}, FrameRange{0, 39}},
        StretchCase{"DriftKeptWhole", Moving(40, 100, 0, 0, 0.1), {}, FrameRange{0, 39}},
        StretchCase{"OneFrameOctaveErrorIgnored",
                    Join({Voiced(12, 120), Voiced(1, 240), Voiced(12, 120)}),
                    {},
                    FrameRange{0, 24}},
        // The frames next to the jump hold both voices.
        StretchCase{"RegisterChangeSplitsTheLongerWins",
                    Join({Voiced(12, 150), Voiced(20, 240)}),
                    {},
                    FrameRange{14, 31},
                    1},
        StretchCase{"ShortGapBridged",
                    Join({Voiced(12, 150), Repeated(2, '.'), Voiced(12, 150)}),
                    {},
                    FrameRange{0, 25}},
        StretchCase{"LongGapBreaksTheEarliestOfEqualWins",
                    Join({Voiced(12, 150), Silence, Voiced(12, 150)}),
                    {},
                    FrameRange{0, 11},
                    1},
        StretchCase{"AroundChoosesItsStretch", Join({Voiced(15, 150), Silence, Voiced(12, 150)}),
                    20, FrameRange{18, 29}, 1},
        StretchCase{"AroundAnUnvoicedFrame", Join({Voiced(12, 150), Silence}), 13, std::nullopt},
        StretchCase{"NothingVoiced", Join({Silence, Silence}), {}, std::nullopt}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
