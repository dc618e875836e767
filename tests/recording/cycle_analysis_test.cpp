#include "recording/cycle_analysis.h"

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/voice_analysis.h"
#include "recording/voice_file_writer.h"
#include "support/TempFolder.h"

namespace tesmera {
namespace {

struct ScalingCase {
    std::string name;
    friend void PrintTo(const ScalingCase& c, std::ostream* os) { *os << c.name; }
    std::vector<double> period;
    std::vector<std::int16_t> expected;
};

class PeriodScaling : public ::testing::TestWithParam<ScalingCase> {};

TEST_P(PeriodScaling, PutsTheLargestMagnitudeAtFullScale) {
    EXPECT_EQ(PeriodAs16Bit(GetParam().period), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PeriodScaling,
    ::testing::Values(ScalingCase{"PositivePeak", {0.5, -0.25, 0.1}, {32767, -16384, 6553}},
                      ScalingCase{"NegativePeak", {0.2, -0.4, 0}, {16384, -32767, 0}},
                      // Nothing to scale: a silent cut stays silent instead of dividing by zero.
                      ScalingCase{"Silent", {0, 0, 0}, {0, 0, 0}}, ScalingCase{"Empty", {}, {}}),
    [](const auto& info) { return info.param.name; });

// A period of the given length with falling harmonics and phases.
std::vector<std::int16_t> TestPeriod(int length) {
    std::vector<double> period;
    for (int i = 0; i < length; ++i) {
        const double phase = 2 * std::numbers::pi * i / length;
        double v = 0;
        for (int h = 1; h <= 12; ++h) {
            v += std::sin(h * phase + 0.3 * h) / (h * std::sqrt(h));
        }
        period.push_back(v);
    }
    return PeriodAs16Bit(period);
}

class CycleScoresAsTheWindow : public ::testing::TestWithParam<int> {};

// The cycle's scores are exactly those of the same period written as a
// file and analysed as the window's load and compute commands do.
TEST_P(CycleScoresAsTheWindow, ForEveryLength) {
    const std::vector<std::int16_t> period = TestPeriod(GetParam());
    const test::TempFolder folder;
    const std::string file = (folder.Path() / "period_3.wav").string();
    WriteVoicePeriod(file, period);
    const VoiceAnalysis window = AnalyseVoiceFile(file);
    const CycleScores cycle = AnalyseCycle(period);
    ASSERT_EQ(cycle.Scored, window.Scored);
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        EXPECT_EQ(cycle.ScoreValue[m], window.ScoreValue[m]) << "model " << m;
        EXPECT_EQ(cycle.Score[m], window.Score[m]) << "model " << m;
    }
}

// Short periods have fewer than 15 harmonics; long ones many more.
INSTANTIATE_TEST_SUITE_P(Table, CycleScoresAsTheWindow,
                         ::testing::Values(20, 24, 25, 90, 294, 441, 1103),
                         [](const auto& info) { return "Length" + std::to_string(info.param); });

TEST(CycleScoresAsTheWindow, OutOfRangeLengthsAreNotScored) {
    EXPECT_FALSE(AnalyseCycle(std::vector<std::int16_t>(1, 100)).Scored);
    EXPECT_FALSE(AnalyseCycle(std::vector<std::int16_t>(MaxSamples + 1, 100)).Scored);
}

TEST(CycleScoresAsTheWindow, ASilentPeriodIsNotScored) {
    EXPECT_FALSE(AnalyseCycle(std::vector<std::int16_t>(300, 0)).Scored);
}

}  // namespace
}  // namespace tesmera
