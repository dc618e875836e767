// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/scanned_recording.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "recording/period_extraction.h"
#include "recording/resampling.h"
#include "recording/sound_input.h"
#include "recording/voice_report.h"
#include "recording/whole_recording.h"
#include "support/TempFolder.h"
#include "support/synthetic_vowel.h"
#include "tools/sustained_vowel.h"

namespace tesmera {
namespace {

using test::VowelRecipe;

// Samples in memory, fed to the scan in read-sized blocks, that remember the
// largest range extraction or the report fetched from them.
class WatchedRecording final : public ScannedRecording {
  public:
    explicit WatchedRecording(const MonoRecording& recording)
        : ScannedRecording(recording.SampleRate), samples_(recording.Samples) {
        Scan([this](const BlockVisitor& visit) {
            ++walks_;
            for (std::size_t first = 0; first < samples_.size(); first += SoundBlockFrames) {
                visit(std::span(samples_).subspan(
                    first, std::min(SoundBlockFrames, samples_.size() - first)));
            }
        });
    }

    std::span<const double> Samples(std::size_t first, std::size_t count) override {
        first = std::min(first, samples_.size());
        count = std::min(count, samples_.size() - first);
        largestFetch_ = std::max(largestFetch_, count);
        return std::span(samples_).subspan(first, count);
    }

    double LargestFetchSeconds() const { return static_cast<double>(largestFetch_) / SampleRate(); }
    int Walks() const { return walks_; }

  private:
    std::vector<double> samples_;
    std::size_t largestFetch_ = 0;
    int walks_ = 0;
};

// 61.5 s of a steady 100 Hz vowel at 8000 Hz between 0.25 s silences: past
// the length up to which a recording is measured whole.
const MonoRecording& LongVowel() {
    static const MonoRecording vowel =
        test::SyntheticVowel(VowelRecipe{100, 8000, 0.25, 61.5, 0.25});
    return vowel;
}

const MonoRecording& ShortVowel() {
    static const MonoRecording vowel = test::SyntheticVowel(VowelRecipe{100, 8000, 0.25, 2, 0.25});
    return vowel;
}

TEST(RecordingFetches, ExtractionFetchesOnlyTheReportsStretch) {
    WatchedRecording recording(LongVowel());
    const ExtractedPeriod period = ExtractPeriod(recording, std::nullopt);
    EXPECT_NEAR(period.F0, 100, 1);
    // The longest stretch analysed, with a tenth of a second on each side.
    EXPECT_LE(recording.LargestFetchSeconds(), LongestStretchSeconds + 0.21);
}

struct StretchCase {
    const char* name;
    std::optional<double> at;
    double start;  // of the reported stretch, seconds, within 0.02 s
    double end;
};

class LongStretch : public ::testing::TestWithParam<StretchCase> {};

// A steady stretch longer than the cap is reported on the cap's length, and
// only that part (with its margins) is ever fetched: memory follows the cap,
// not the recording.
TEST_P(LongStretch, IsReportedOnItsCappedPartOnly) {
    const StretchCase& c = GetParam();
    WatchedRecording recording(LongVowel());
    const VoiceReport report = ReportVoice(recording, c.at);
    ASSERT_TRUE(report.Ok()) << report.Outcome.Text;
    EXPECT_NEAR(report.StretchStartSeconds, c.start, 0.02);
    EXPECT_NEAR(report.StretchEndSeconds, c.end, 0.02);
    EXPECT_LE(report.StretchEndSeconds - report.StretchStartSeconds, LongestStretchSeconds + 0.011);
    EXPECT_LE(recording.LargestFetchSeconds(), LongestStretchSeconds + 0.25);
    EXPECT_NEAR(report.F0MeanHz, 100, 0.5);
}

// The vowel's steady stretch runs from 0.24 s to 61.76 s.
INSTANTIATE_TEST_SUITE_P(
    Report, LongStretch,
    ::testing::Values(StretchCase{"WithoutATimeTheMiddle", std::nullopt, 16.0, 46.0},
                      StretchCase{"AroundTheChosenTime", 40.0, 25.0, 55.0},
                      StretchCase{"ChosenTimeNearTheStartShiftsTheWindowIn", 3.0, 0.24, 30.24}),
    [](const auto& info) { return std::string(info.param.name); });

// A file is decoded once for its track, however long it is.
TEST(RecordingFetches, TheScanWalksTheSamplesOnce) {
    EXPECT_EQ(WatchedRecording(ShortVowel()).Walks(), 1);
}

void ExpectSameReport(const VoiceReport& a, const VoiceReport& b) {
    EXPECT_EQ(a.Outcome, b.Outcome);
    EXPECT_EQ(a.StretchStartSeconds, b.StretchStartSeconds);
    EXPECT_EQ(a.StretchEndSeconds, b.StretchEndSeconds);
    ASSERT_EQ(a.Cycles.size(), b.Cycles.size());
    for (std::size_t i = 0; i < a.Cycles.size(); ++i) {
        const ReportedCycle& x = a.Cycles[i];
        const ReportedCycle& y = b.Cycles[i];
        EXPECT_EQ(x.StartSample, y.StartSample) << "cycle " << i;
        EXPECT_EQ(x.EndSample, y.EndSample) << "cycle " << i;
        EXPECT_EQ(x.Verdict, y.Verdict) << "cycle " << i;
        EXPECT_EQ(x.Period, y.Period) << "cycle " << i;
        EXPECT_EQ(x.ScoreValue, y.ScoreValue) << "cycle " << i;
    }
    EXPECT_EQ(a.AnalysedCycles, b.AnalysedCycles);
    for (std::size_t m = 0; m < ScoreModelCount; ++m) {
        EXPECT_EQ(a.Models[m].MedianValue, b.Models[m].MedianValue) << "model " << m;
        EXPECT_EQ(a.Models[m].Iqr, b.Models[m].Iqr) << "model " << m;
        EXPECT_EQ(a.Models[m].GradeShares, b.Models[m].GradeShares) << "model " << m;
        EXPECT_EQ(a.Models[m].Borderline, b.Models[m].Borderline) << "model " << m;
    }
    EXPECT_EQ(a.Steady, b.Steady);
    EXPECT_EQ(a.F0MeanHz, b.F0MeanHz);
    EXPECT_EQ(a.F0SdHz, b.F0SdHz);
    EXPECT_EQ(a.Jitter.Local, b.Jitter.Local);
    EXPECT_EQ(a.Jitter.Ppq5, b.Jitter.Ppq5);
    EXPECT_EQ(a.Shimmer.Local, b.Shimmer.Local);
    EXPECT_EQ(a.Shimmer.Apq5, b.Shimmer.Apq5);
    EXPECT_EQ(a.HnrDb, b.HnrDb);
}

struct ThreadCase {
    const char* name;
    tools::VowelRecipe recipe;
    std::optional<double> at;
};

tools::VowelRecipe RoughVowel(std::int32_t rate, double f0, double seconds, double silence) {
    tools::VowelRecipe recipe;
    recipe.Rate = rate;
    recipe.F0 = f0;
    recipe.Jitter = 0.01;
    recipe.Shimmer = 0.04;
    recipe.HnrDb = 12;
    recipe.Seconds = seconds;
    recipe.Silence = silence;
    return recipe;
}

class ThreadCounts : public ::testing::TestWithParam<ThreadCase> {};

void ExpectSameFrames(std::span<const VoicingFrame> a, std::span<const VoicingFrame> b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].Rms, b[i].Rms) << "frame " << i;
        EXPECT_EQ(a[i].Strength, b[i].Strength) << "frame " << i;
        EXPECT_EQ(a[i].F0, b[i].F0) << "frame " << i;
        EXPECT_EQ(a[i].Voiced, b[i].Voiced) << "frame " << i;
    }
}

// However many threads share a recording's work, its track and its report
// are those of one thread, to the last bit, and the track is that of the
// whole recording converted in one run and cut into frames.
TEST_P(ThreadCounts, GiveTheTrackAndReportOfOneThread) {
    const ThreadCase& c = GetParam();
    const tools::GeneratedVowel vowel = tools::GenerateVowel(c.recipe);
    RecordingInMemory one(vowel.Samples, vowel.Rate, 1);
    RecordingInMemory three(vowel.Samples, vowel.Rate, 3);
    const std::vector<double> tracking =
        Resample(vowel.Samples, TrackingRate / vowel.Rate, ResamplingQuality::Fast);
    ExpectSameFrames(one.Frames(), AnalyseVoicing(tracking, TrackingRate));
    ExpectSameFrames(one.Frames(), three.Frames());
    const VoiceReport report = ReportVoice(one, c.at);
    EXPECT_TRUE(report.Ok()) << report.Outcome.Text;
    ExpectSameReport(report, ReportVoice(three, c.at));
}

INSTANTIATE_TEST_SUITE_P(
    Recording, ThreadCounts,
    ::testing::Values(ThreadCase{"RoughMaleAt48k", RoughVowel(48000, 118, 3.2, 0.2), {}},
                      ThreadCase{"FemaleAt16kAroundATime", RoughVowel(16000, 215, 2.5, 0.3), 1.4},
                      ThreadCase{"MaleAt44kAfterLongSilence", RoughVowel(44100, 97, 2.0, 1.7), {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Up to a minute the recording is measured whole, exactly as in memory.
TEST(RecordingFetches, ShortRecordingIsReportedWhole) {
    WatchedRecording recording(ShortVowel());
    const VoiceReport report = ReportVoice(recording);
    EXPECT_TRUE(report.Ok()) << report.Outcome.Text;
    EXPECT_EQ(recording.LargestFetchSeconds(), recording.Duration());
}

class FileFolder : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const MonoRecording& recording) const {
        const std::string path = (folder_.Path() / name).string();
        test::WriteRecording(path, recording);
        return path;
    }

  private:
    test::TempFolder folder_;
};

// The command line reads files block by block, the window holds them whole:
// both must see the same track and the same figures.
TEST_F(FileFolder, FileAndMemoryGiveTheSameFigures) {
    const std::string path =
        Write("vowel.wav", test::SyntheticVowel(VowelRecipe{180, 22050, 0.3, 2.5, 0.3}));
    const MonoRecording whole = test::ReadWholeRecording(path);
    RecordingFile file(path);
    RecordingInMemory memory(whole.Samples, whole.SampleRate);

    ASSERT_EQ(file.SampleCount(), whole.Samples.size());
    ExpectSameFrames(file.Frames(), memory.Frames());
    const ExtractedPeriod fromFile = ExtractPeriod(file, 1.5);
    const ExtractedPeriod fromMemory = ExtractPeriod(memory, 1.5);
    EXPECT_EQ(fromFile.CutStartSeconds, fromMemory.CutStartSeconds);
    EXPECT_EQ(fromFile.Samples, fromMemory.Samples);
    const VoiceReport fileReport = ReportVoice(file);
    const VoiceReport memoryReport = ReportVoice(memory);
    EXPECT_EQ(fileReport.AnalysedCycles, memoryReport.AnalysedCycles);
    EXPECT_EQ(fileReport.F0MeanHz, memoryReport.F0MeanHz);
    EXPECT_EQ(fileReport.HnrDb, memoryReport.HnrDb);
    EXPECT_EQ(fileReport.Jitter.Local, memoryReport.Jitter.Local);
}

// With more than one thread a file is read ahead on a thread of its own,
// here more blocks ahead than it may hold: the track is that of a plain read.
TEST_F(FileFolder, ReadingAheadGivesTheTrackOfAPlainRead) {
    const std::string path =
        Write("vowel.wav", test::SyntheticVowel(VowelRecipe{140, 22050, 0.3, 9.0, 0.3}));
    RecordingFile plain(path, 1);
    RecordingFile ahead(path, 4);
    ASSERT_GT(ahead.SampleCount(), 9 * SoundBlockFrames);
    EXPECT_EQ(ahead.SampleCount(), plain.SampleCount());
    ExpectSameFrames(ahead.Frames(), plain.Frames());
}

// The scan tells its progress after every block against the length the
// header announces, and outlines every sample, leading digital silence
// (which the voicing track only counts) included.
TEST_F(FileFolder, TheScanToldItsProgressAndOutlinedEverySample) {
    MonoRecording vowel = test::SyntheticVowel(VowelRecipe{140, 22050, 0.3, 2.0, 0.3});
    vowel.Samples.insert(vowel.Samples.begin(), 20000, 0.0);
    std::vector<std::pair<std::size_t, std::size_t>> told;
    const RecordingFile file(
        Write("vowel.wav", vowel), 1,
        {[&](std::size_t scanned, std::size_t expected) { told.emplace_back(scanned, expected); },
         {}});
    const std::size_t total = vowel.Samples.size();
    ASSERT_EQ(told.size(), (total + SoundBlockFrames - 1) / SoundBlockFrames);
    EXPECT_EQ(told.front(), std::make_pair(SoundBlockFrames, total));
    EXPECT_EQ(told.back(), std::make_pair(total, total));
    const SampleEnvelope& envelope = file.Envelope();
    ASSERT_EQ(envelope.SampleCount(), total);
    ASSERT_EQ(envelope.BucketLength(), 2U);
    EXPECT_EQ(envelope.Buckets()[0], (ValueRange{0, 0}));
    EXPECT_EQ(envelope.Buckets()[9999], (ValueRange{0, 0}));
    EXPECT_NE(envelope.Buckets().back(), (ValueRange{0, 0}));
    EXPECT_GT(envelope.Peak(), 0.4);
}

class StoppedScan : public FileFolder, public ::testing::WithParamInterface<unsigned> {};

// A stop asked for while the third block is told ends the scan before the
// fourth, whether the file is read ahead on a thread of its own or not.
TEST_P(StoppedScan, EndsBeforeTheNextBlock) {
    const MonoRecording vowel = test::SyntheticVowel(VowelRecipe{140, 22050, 0.3, 9.0, 0.3});
    const std::string path = Write("vowel.wav", vowel);
    std::stop_source stop;
    std::vector<std::size_t> told;
    const ScanControl control{[&](std::size_t scanned, std::size_t) {
                                  told.push_back(scanned);
                                  if (told.size() == 3) {
                                      stop.request_stop();
                                  }
                              },
                              stop.get_token()};
    EXPECT_THROW(RecordingFile(path, GetParam(), control), ScanCancelled);
    EXPECT_EQ(told, (std::vector<std::size_t>{SoundBlockFrames, 2 * SoundBlockFrames,
                                              3 * SoundBlockFrames}));
}

INSTANTIATE_TEST_SUITE_P(Recording, StoppedScan, ::testing::Values(1U, 4U),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return info.param == 1 ? "PlainRead" : "ReadAhead";
                         });

struct RangeCase {
    const char* name;
    std::size_t first;
    std::size_t count;
    std::size_t expected;  // samples given back
};

class FileRanges : public FileFolder, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(FileRanges, AreTheSamplesOfTheWholeRecording) {
    const RangeCase& c = GetParam();
    MonoRecording ramp{8000, {}};
    for (int i = 0; i < 40000; ++i) {
        ramp.Samples.push_back(static_cast<double>(i % 20000 - 10000) / 32768);
    }
    RecordingFile file(Write("ramp.wav", ramp));
    const std::span<const double> range = file.Samples(c.first, c.count);
    ASSERT_EQ(range.size(), c.expected);
    for (std::size_t i = 0; i < range.size(); ++i) {
        ASSERT_EQ(range[i], ramp.Samples[c.first + i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Recording, FileRanges,
                         ::testing::Values(RangeCase{"InsideOneReadBlock", 100, 50, 50},
                                           RangeCase{"AcrossReadBlocks", 16000, 20000, 20000},
                                           RangeCase{"ClippedAtTheEnd", 39990, 100, 10},
                                           RangeCase{"PastTheEndIsEmpty", 40005, 10, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct QuietCase {
    const char* name;
    std::vector<double> samples;  // at 8000 Hz
    bool tracked;                 // whether frames were made
    std::string status;           // of the report
};

class QuietFiles : public FileFolder, public ::testing::WithParamInterface<QuietCase> {};

// A recording of zeros is known silent from its level alone, however long;
// anything else goes through the track.
TEST_P(QuietFiles, AreRefusedByTheirTrackOrTheirLevel) {
    const QuietCase& c = GetParam();
    RecordingFile file(Write("quiet.wav", MonoRecording{8000, c.samples}));
    EXPECT_EQ(file.SampleCount(), c.samples.size());
    EXPECT_EQ(!file.Frames().empty(), c.tracked);
    EXPECT_EQ(ReportVoice(file).Outcome.Text, c.status);
}

std::vector<double> Click() {
    std::vector<double> x(8000, 0.0);
    x[4000] = 0.5;
    return x;
}

INSTANTIATE_TEST_SUITE_P(
    Recording, QuietFiles,
    ::testing::Values(
        QuietCase{"TenMinutesOfZeros", std::vector<double>(8000 * 600, 0.0), false, "silent"},
        QuietCase{"OneClickIsNoSilence", Click(), true, "unvoiced"},
        QuietCase{"FarBelowTheSilenceLevel", std::vector<double>(8000, 3e-5), true, "silent"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileFolder, LongSilentFileIsRefusedByExtraction) {
    RecordingFile file(Write("zeros.wav", MonoRecording{8000, std::vector<double>(8000 * 600)}));
    try {
        ExtractPeriod(file, std::nullopt);
        FAIL() << "accepted";
    } catch (const RecordingError& error) {
        EXPECT_EQ(error.AsStatus(), (Status{StatusCode::Silent, "silent"}));
    }
}

}  // namespace
}  // namespace tesmera
