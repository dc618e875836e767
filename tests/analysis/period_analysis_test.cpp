// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/period_analysis.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "analysis/reports.h"
#include "support/TempFolder.h"
#include "support/param_name.h"
#include "support/wav_test_support.h"
#include "tests/analysis/voice_like_signal.h"
#include "wave/errors.h"

namespace tesmera {
namespace {

std::vector<std::int16_t> Whole(const std::vector<double>& values) {
    return {values.begin(), values.end()};
}

std::vector<std::int16_t> VoiceLike(std::int32_t N) {
    return Whole(testing_signals::VoiceLikePeriod(N));
}

struct Outcome {
    PeriodAnalysis record;
    std::vector<std::string> warnings;
};

Outcome AnalyseInMemory(PeriodAnalyser& analyser, const std::string& name,
                        const std::vector<std::int16_t>& period) {
    Outcome outcome;
    outcome.record.Path = name;
    analyser.AnalyseSamples(outcome.record, period, [&outcome](const Status& warning) {
        outcome.warnings.push_back(warning.Text);
    });
    return outcome;
}

Outcome AnalyseWritten(const test::TempFolder& folder, const std::string& name,
                       const std::vector<std::int16_t>& period) {
    Outcome outcome;
    outcome.record.Path = folder.Add(name, test::CanonicalWav(period));
    PeriodAnalyser().AnalyseFile(outcome.record, [&outcome](const Status& warning) {
        outcome.warnings.push_back(warning.Text);
    });
    return outcome;
}

// Every value both halves produce, compared exactly.
// The scores and every value they rest on.
void ExpectSameScores(const PeriodAnalysis& a, const PeriodAnalysis& b) {
    EXPECT_EQ(a.Stage, b.Stage);
    EXPECT_EQ(a.SampleCount, b.SampleCount);
    EXPECT_EQ(a.ax, b.ax);
    EXPECT_EQ(a.bx, b.bx);
    EXPECT_EQ(a.AA, b.AA);
    EXPECT_EQ(a.AmplitudeNorm, b.AmplitudeNorm);
    EXPECT_EQ(a.AANorm, b.AANorm);
    EXPECT_EQ(a.ScoreValue, b.ScoreValue);
    EXPECT_EQ(a.Score, b.Score);
    EXPECT_EQ(a.Scored, b.Scored);
}

void ExpectSameResults(const PeriodAnalysis& a, const PeriodAnalysis& b) {
    ExpectSameScores(a, b);
    EXPECT_EQ(a.Mean, b.Mean);
    EXPECT_EQ(a.StdDev, b.StdDev);
    EXPECT_EQ(a.MaxAbs, b.MaxAbs);
    EXPECT_EQ(a.PeriodFrequency, b.PeriodFrequency);
    EXPECT_EQ(a.PeriodMs, b.PeriodMs);
    EXPECT_EQ(a.ApproxOrder, b.ApproxOrder);
    EXPECT_EQ(a.FundamentalMax, b.FundamentalMax);
    EXPECT_EQ(a.ApproxMax, b.ApproxMax);
    EXPECT_EQ(a.ExpertGrade, b.ExpertGrade);
    EXPECT_EQ(a.GradeNote, b.GradeNote);
}

// A period in memory must come out exactly as the same period read from a
// file, whatever its length or content: the recording work relies on it.
struct SamePeriod : test::NamedCase<SamePeriod> {
    std::vector<std::int16_t> period;
};

class InMemoryMatchesFile : public ::testing::TestWithParam<SamePeriod> {};

TEST_P(InMemoryMatchesFile, EveryResult) {
    const test::TempFolder folder;
    const std::string fileName = std::string(GetParam().name) + "3.wav";
    PeriodAnalyser analyser;
    const Outcome inMemory = AnalyseInMemory(analyser, fileName, GetParam().period);
    const Outcome fromFile = AnalyseWritten(folder, fileName, GetParam().period);
    ExpectSameResults(inMemory.record, fromFile.record);
    EXPECT_EQ(inMemory.warnings, fromFile.warnings);
}

const std::vector<SamePeriod>& EdgePeriods() {
    static const std::vector<SamePeriod> periods{{"voice_441", VoiceLike(441)},
                                                 {"voice_prime_397", VoiceLike(397)},
                                                 {"voice_longest", VoiceLike(MaxSamples)},
                                                 {"one_sample", {1234}},
                                                 {"two_samples", {-32768, 32767}},
                                                 {"silence", std::vector<std::int16_t>(200, 0)},
                                                 {"too_long", VoiceLike(MaxSamples + 1)}};
    return periods;
}

INSTANTIATE_TEST_SUITE_P(Periods, InMemoryMatchesFile, ::testing::ValuesIn(EdgePeriods()),
                         test::CaseName());

// Scoring alone must give the scores, and every value they rest on, exactly
// as the whole compute half does, warnings included; a report rates each
// cycle that way. The analyser has first scored a longer period, so stale
// buffer entries would show.
class ScoringMatchesCompute : public ::testing::TestWithParam<SamePeriod> {};

TEST_P(ScoringMatchesCompute, ScoresAndWhatTheyRestOn) {
    PeriodAnalyser whole;
    const Outcome computed = AnalyseInMemory(whole, GetParam().name, GetParam().period);
    PeriodAnalyser reused;
    Outcome earlier;
    reused.ScoreSamples(earlier.record, VoiceLike(MaxSamples), [](const Status&) {});
    Outcome scored;
    scored.record.Path = GetParam().name;
    reused.ScoreSamples(scored.record, GetParam().period, [&scored](const Status& warning) {
        scored.warnings.push_back(warning.Text);
    });
    ExpectSameScores(scored.record, computed.record);
    EXPECT_EQ(scored.warnings, computed.warnings);
}

INSTANTIATE_TEST_SUITE_P(Periods, ScoringMatchesCompute, ::testing::ValuesIn(EdgePeriods()),
                         test::CaseName());

// A grade missing from the name: the window stops before the normalisation
// (so no norm warning may come first), a batch notes it and goes on.
struct GradePolicy : test::NamedCase<GradePolicy> {
    MissingGrade missing;
    bool throws;
    std::vector<std::string> warnings;
};

class MissingGradeOnSilence : public ::testing::TestWithParam<GradePolicy> {};

TEST_P(MissingGradeOnSilence, StopsOrGoesOn) {
    const GradePolicy& policy = GetParam();
    PeriodAnalysis record;
    record.Path = "/data/silence.wav";
    std::vector<double> samples(MaxSamples);
    LoadPeriodSamples(record, std::vector<std::int16_t>(100, 0), samples);
    std::vector<double> fundamental(100);
    std::vector<double> approximation(100);
    ExpandPeriod(record, std::span(samples).first(100), FundamentalTraceOrder,
                 ApproxEnergyTolerance, fundamental, approximation);

    std::vector<std::string> warnings;
    const WarningSink collect = [&warnings](const Status& w) { warnings.push_back(w.Text); };
    if (policy.throws) {
        EXPECT_THROW(RatePeriod(record, policy.missing, collect), ConvertError);
        EXPECT_EQ(record.Stage, AnalysisStage::Loaded);
    } else {
        RatePeriod(record, policy.missing, collect);
        EXPECT_EQ(record.Stage, AnalysisStage::Analysed);
        EXPECT_EQ(record.GradeNote, ErrorBoxText(ConvertError::NotAnInteger("e").what()));
        EXPECT_FALSE(record.Scored);
    }
    EXPECT_FALSE(record.ExpertGrade.has_value());
    EXPECT_EQ(warnings, policy.warnings);
}

INSTANTIATE_TEST_SUITE_P(
    Policies, MissingGradeOnSilence,
    ::testing::Values(
        GradePolicy{"window_stops", MissingGrade::Stops, true, {}},
        GradePolicy{"batch_notes", MissingGrade::Noted, false, {std::string(NormIsZeroWarning)}}),
    test::CaseName());

struct Capacity : test::NamedCase<Capacity> {
    bool loaded;
    std::int32_t sampleCount;
    bool analysable;
};

class AnalysableEdges : public ::testing::TestWithParam<Capacity> {};

TEST_P(AnalysableEdges, Decides) {
    EXPECT_EQ(Analysable(GetParam().loaded, GetParam().sampleCount), GetParam().analysable);
}

INSTANTIATE_TEST_SUITE_P(Edges, AnalysableEdges,
                         ::testing::Values(Capacity{"nothing_loaded", false, 100, false},
                                           Capacity{"one_sample", true, 1, true},
                                           Capacity{"full_buffer", true, MaxSamples, true},
                                           Capacity{"one_past_buffer", true, MaxSamples + 1,
                                                    false}),
                         test::CaseName());

TEST(PeriodAnalyser, TooLongIsDescribedAndRefused) {
    PeriodAnalyser analyser;
    const Outcome outcome = AnalyseInMemory(analyser, "long2.wav", VoiceLike(MaxSamples + 5));
    EXPECT_EQ(outcome.record.Stage, AnalysisStage::Loaded);
    EXPECT_EQ(outcome.record.SampleCount, MaxSamples + 5);
    EXPECT_THAT(outcome.warnings, ::testing::ElementsAre(std::string(NothingToAnalyseWarning)));
}

TEST(PeriodAnalyser, EarlierPeriodLeavesNoTrace) {
    PeriodAnalyser reused;
    AnalyseInMemory(reused, "long4.wav", VoiceLike(MaxSamples));
    const Outcome after = AnalyseInMemory(reused, "short4.wav", VoiceLike(300));
    PeriodAnalyser fresh;
    const Outcome alone = AnalyseInMemory(fresh, "short4.wav", VoiceLike(300));
    ExpectSameResults(after.record, alone.record);
    EXPECT_EQ(after.record.ExpertGrade, 4);
}

TEST(PeriodAnalyser, EmptyPeriodIsAnError) {
    PeriodAnalyser analyser;
    PeriodAnalysis record;
    record.Path = "empty1.wav";
    EXPECT_THROW(analyser.AnalyseSamples(record, {}, [](const Status&) {}), FloatingPointError);
    EXPECT_EQ(record.Stage, AnalysisStage::NotLoaded);
}

}  // namespace
}  // namespace tesmera
