#include "wave/sample_reader.h"

#include <cmath>
#include <numbers>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/param_name.h"
#include "support/wav_test_support.h"
#include "wave/errors.h"
#include "wave/voice_period.h"
#include "wave/wave_header.h"

namespace tesmera {
namespace {

using test::Bytes;
using test::Concat;
using test::DataChunk;
using test::FormatPart;
using test::TempFile;
using testing::Each;
using testing::ElementsAreArray;

// Marks buffer entries that the reader must not touch.
constexpr double Untouched = -12345.5;

struct SampleCase : test::NamedCase<SampleCase> {
    std::vector<std::int16_t> fileSamples;  // all samples behind the canonical header
    std::int32_t dataSize;                  // as stated in the header
    std::int32_t count;
    double sum;
    double sumSq;
    double maxAbs;
};

class SampleLoop : public testing::TestWithParam<SampleCase> {};

TEST_P(SampleLoop, CountsSumsAndStoresTheSamplesInFileOrder) {
    const SampleCase& c = GetParam();
    const TempFile file(Concat({FormatPart(), DataChunk(c.fileSamples, c.dataSize)}));
    std::vector<double> buffer(MaxSamples, Untouched);

    const SampleReadResult read = ReadSamples(file.Path(), 44, c.dataSize, buffer);

    EXPECT_EQ(read.SampleCount, c.count);
    EXPECT_EQ(read.Sum, c.sum);
    EXPECT_EQ(read.SumSq, c.sumSq);
    EXPECT_EQ(read.MaxAbs, c.maxAbs);
    const std::vector<double> expectedStored(c.fileSamples.begin(),
                                             c.fileSamples.begin() + c.count);
    EXPECT_THAT(std::vector<double>(buffer.begin(), buffer.begin() + c.count),
                ElementsAreArray(expectedStored));
    EXPECT_THAT(std::vector<double>(buffer.begin() + c.count, buffer.end()), Each(Untouched));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SampleLoop,
    testing::Values(
        SampleCase{"AlternatingThousands", {1000, -1000, 1000, -1000}, 8, 4, 0, 4e6, 1000},
        SampleCase{"MinimumSampleHasMaxAbs32768",
                   {5, -32768, 32767},
                   6,
                   3,
                   4,
                   25.0 + 32768.0 * 32768.0 + 32767.0 * 32767.0,
                   32768},
        SampleCase{"DataSizeZeroReadsOneSample", {7, 8}, 0, 1, 7, 49, 7},
        SampleCase{"NegativeDataSizeReadsOneSample", {-7, 8}, -4, 1, -7, 49, 7},
        SampleCase{"OddDataSizeRoundsUp", {1, 2, 3, 4, 5}, 7, 4, 10, 30, 4},
        SampleCase{"FileLongerThanStated", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 6, 3, 6, 14, 3},
        SampleCase{"FileShorterThanStated", {1, 2, 3, 4, 5}, 100, 5, 15, 55, 5}),
    test::CaseName());

std::string ReadErrorMessage(const Bytes& bytes, std::int32_t dataSize) {
    const TempFile file(bytes);
    std::vector<double> buffer(MaxSamples);
    try {
        ReadSamples(file.Path(), 44, dataSize, buffer);
    } catch (const FileError& e) {
        return e.what();
    }
    return "no error";
}

TEST(ReadSamples, FileEndingInsideASampleReadsBeyondTheEnd) {
    Bytes bytes = test::CanonicalWav({1, 2, 3});
    bytes.push_back(0x01);
    EXPECT_EQ(ReadErrorMessage(bytes, 100), "Read beyond end of file");
}

TEST(ReadSamples, HeaderWithoutSamplesReadsBeyondTheEnd) {
    // The first sample is always read, even for a stated size of 0.
    EXPECT_EQ(ReadErrorMessage(test::CanonicalWav({}), 0), "Read beyond end of file");
}

TEST(ReadSamples, MissingFileIsNotFound) {
    std::vector<double> buffer(MaxSamples);
    try {
        ReadSamples("/nonexistent/tesmera.wav", 44, 2, buffer);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
}

TEST(ReadSamples, LongRecordingIsCountedWholeButStoredOnlyUpToTheBuffer) {
    std::vector<std::int16_t> fileSamples(MaxSamples + 5);
    for (std::size_t i = 0; i < fileSamples.size(); ++i) {
        fileSamples[i] = static_cast<std::int16_t>(static_cast<int>(i % 2001) - 1000);
    }
    fileSamples.back() = -30000;  // the peak lies beyond the buffer
    const TempFile file(test::CanonicalWav(fileSamples));
    std::vector<double> memory(MaxSamples + 10, Untouched);
    const std::span<double> buffer = std::span(memory).first(MaxSamples);

    const SampleReadResult read =
        ReadSamples(file.Path(), 44, static_cast<std::int32_t>(2 * fileSamples.size()), buffer);

    EXPECT_EQ(read.SampleCount, MaxSamples + 5);
    EXPECT_EQ(read.Sum, std::accumulate(fileSamples.begin(), fileSamples.end(), 0.0));
    EXPECT_EQ(read.MaxAbs, 30000);
    EXPECT_THAT(buffer, ElementsAreArray(std::vector<double>(fileSamples.begin(),
                                                             fileSamples.begin() + MaxSamples)));
    EXPECT_THAT(std::span(memory).subspan(MaxSamples), Each(Untouched));
}

TEST(ReadSamples, EighteenByteFormatChunkIsReadBehindItsDataSize) {
    const TempFile file(
        Concat({FormatPart({.riffSize = 44, .formatSize = 18}), DataChunk({10, -20, 30})}));
    WaveHeadFields fields;
    ASSERT_EQ(WaveHeadRead(file.Path(), fields, [](const std::string&) {}), HeaderAccepted);
    std::vector<double> buffer(MaxSamples);

    const SampleReadResult read =
        ReadSamples(file.Path(), fields.DataOffset, fields.DataSize, buffer);

    EXPECT_EQ(read.SampleCount, 3);
    EXPECT_THAT(std::span(buffer).first(3), ElementsAreArray({10.0, -20.0, 30.0}));
}

TEST(ComputePeriodStatistics, OnePeriodOf441SamplesIs100Hz) {
    // One period of a sinusoid of amplitude 10000: mean 0, deviation 10000 / sqrt 2.
    std::vector<std::int16_t> fileSamples(441);
    for (std::size_t i = 0; i < fileSamples.size(); ++i) {
        fileSamples[i] = static_cast<std::int16_t>(std::lround(
            10000.0 * std::sin(2.0 * std::numbers::pi * static_cast<double>(i) / 441.0)));
    }
    const TempFile file(test::CanonicalWav(fileSamples));
    std::vector<double> buffer(MaxSamples);

    const PeriodStatistics stats =
        ComputePeriodStatistics(ReadSamples(file.Path(), 44, 882, buffer));

    EXPECT_NEAR(stats.Mean, 0.0, 0.01);
    EXPECT_NEAR(stats.StdDev, 10000.0 / std::numbers::sqrt2, 0.5);
    EXPECT_DOUBLE_EQ(stats.PeriodFrequency, 100.0);
    EXPECT_DOUBLE_EQ(stats.PeriodMs, 10.0);
}

TEST(ComputePeriodStatistics, AlternatingThousandsHaveDeviation1000) {
    const PeriodStatistics stats = ComputePeriodStatistics({4, 0.0, 4e6, 1000.0});
    EXPECT_EQ(stats.Mean, 0.0);
    EXPECT_EQ(stats.StdDev, 1000.0);
    EXPECT_EQ(stats.PeriodFrequency, 11025.0);
}

TEST(ComputePeriodStatistics, SilentPeriodHasZeroDeviation) {
    const PeriodStatistics stats = ComputePeriodStatistics({3, 0.0, 0.0, 0.0});
    EXPECT_EQ(stats.Mean, 0.0);
    EXPECT_EQ(stats.StdDev, 0.0);
}

TEST(ComputePeriodStatistics, RoundingBelowZeroVarianceGivesZeroDeviation) {
    // The mean square lies one unit in the last place below the squared mean.
    const PeriodStatistics stats = ComputePeriodStatistics({1, 3.0, std::nextafter(9.0, 0.0), 3.0});
    EXPECT_EQ(stats.StdDev, 0.0);
}

TEST(ComputePeriodStatistics, NoSamplesIsAnInvalidOperation) {
    EXPECT_THROW(ComputePeriodStatistics({0, 0.0, 0.0, 0.0}), FloatingPointError);
}

}  // namespace
}  // namespace tesmera
