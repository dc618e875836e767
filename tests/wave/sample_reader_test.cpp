// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/sample_reader.h"

#include <algorithm>
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
#include "wave/binary_file.h"
#include "wave/errors.h"
#include "wave/voice_period.h"
#include "wave/wave_header.h"

namespace tesmera {
namespace {

using namespace test;  // the WAV file builders
using testing::Each;
using testing::ElementsAreArray;

// Marks buffer entries that the reader must not touch.
constexpr double Untouched = -12345.5;

struct SampleCase : test::NamedCase<SampleCase> {
    std::vector<std::int16_t> fileSamples;  // all samples behind the canonical header
    std::int32_t dataSize;                  // as stated in the header
    std::int32_t count;
    double sum, sumSq, maxAbs;
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
    ASSERT_EQ(WaveHeadRead(file.Path(), fields, [](const Status&) {}), HeaderAccepted);
    std::vector<double> buffer(MaxSamples);

    const SampleReadResult read =
        ReadSamples(file.Path(), fields.DataOffset, fields.DataSize, buffer);

    EXPECT_EQ(read.SampleCount, 3);
    EXPECT_THAT(std::span(buffer).first(3), ElementsAreArray({10.0, -20.0, 30.0}));
}

// Samples are decoded from the reader's blocks; behind an odd-sized chunk
// every sample at a block edge is split between two blocks.
struct BlockEdgeSampleCase {
    const char* name;
    std::size_t listPayload;  // bytes of the chunk before the data chunk
    std::size_t sampleCount;
    friend void PrintTo(const BlockEdgeSampleCase& c, std::ostream* os) { *os << c.name; }
};

class SamplesAcrossBlockEdges : public testing::TestWithParam<BlockEdgeSampleCase> {};

TEST_P(SamplesAcrossBlockEdges, AreReadAsInOneBlock) {
    const BlockEdgeSampleCase& c = GetParam();
    std::vector<std::int16_t> fileSamples(c.sampleCount);
    for (std::size_t i = 0; i < fileSamples.size(); ++i) {
        // Both bytes of every sample differ, so a byte taken from the wrong
        // side of an edge shows.
        fileSamples[i] = static_cast<std::int16_t>(0x0102 + 257 * static_cast<int>(i % 97) -
                                                   (i % 2 == 0 ? 0 : 20000));
    }
    Bytes list;
    test::AppendText(list, "LIST");
    test::AppendLE(list, static_cast<std::int64_t>(c.listPayload), 4);
    list.resize(list.size() + c.listPayload, 'x');
    const TempFile file(Concat({FormatPart(), list, DataChunk(fileSamples)}));
    WaveHeadFields fields;
    ASSERT_EQ(WaveHeadRead(file.Path(), fields, [](const Status&) {}), HeaderAccepted);
    ASSERT_EQ(fields.DataOffset, static_cast<std::int64_t>(36 + 8 + c.listPayload + 8));
    std::vector<double> buffer(MaxSamples, Untouched);

    const SampleReadResult read =
        ReadSamples(file.Path(), fields.DataOffset, fields.DataSize, buffer);

    double sumSq = 0;
    for (const std::int16_t sample : fileSamples) {
        sumSq += static_cast<double>(sample) * sample;
    }
    EXPECT_EQ(read.SampleCount, static_cast<std::int32_t>(c.sampleCount));
    EXPECT_EQ(read.Sum, std::accumulate(fileSamples.begin(), fileSamples.end(), 0.0));
    EXPECT_EQ(read.SumSq, sumSq);
    const std::size_t stored = std::min<std::size_t>(c.sampleCount, MaxSamples);
    EXPECT_THAT(
        std::span(buffer).first(stored),
        ElementsAreArray(std::vector<double>(
            fileSamples.begin(), fileSamples.begin() + static_cast<std::ptrdiff_t>(stored))));
}

constexpr std::size_t Block = FileReader::BlockSize;

INSTANTIATE_TEST_SUITE_P(Cases, SamplesAcrossBlockEdges,
                         testing::Values(
                             // Data from offset 57: every block edge splits a sample.
                             BlockEdgeSampleCase{"OddOffsetOverThreeBlocks", 5, (3 * Block) / 2},
                             // Data from offset 58: samples end exactly at the edges.
                             BlockEdgeSampleCase{"EvenOffsetOverThreeBlocks", 6, (3 * Block) / 2},
                             // The data chunk starts in the second block, one byte before its end.
                             BlockEdgeSampleCase{"SizeFieldAndFirstSampleSplit", Block - 57, 100},
                             // The last sample is the one split by the edge.
                             BlockEdgeSampleCase{"FileEndsRightBehindASplitSample", 5,
                                                 (Block - 57 + 1) / 2}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CountCase {
    const char* name;
    Bytes fileTail;  // everything behind the canonical 44 bytes
    std::int32_t dataSize;
    std::int32_t limit;
    std::int32_t count;
    friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }
};

class CountUpTo : public testing::TestWithParam<CountCase> {};

TEST_P(CountUpTo, CountsLikeTheLoopButStopsPastTheLimit) {
    const CountCase& c = GetParam();
    const TempFile file(Concat({FormatPart(), DataChunk({}, c.dataSize), c.fileTail}));
    EXPECT_EQ(CountSamplesUpTo(file.Path(), 44, c.dataSize, c.limit), c.count);
}

Bytes SamplesOf(std::size_t count) {
    return test::SampleBytes(std::vector<std::int16_t>(count, -3));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CountUpTo,
    testing::Values(CountCase{"BelowTheLimit", SamplesOf(5), 10, 9, 5},
                    CountCase{"AtTheLimit", SamplesOf(9), 18, 9, 9},
                    CountCase{"OnePastTheLimit", SamplesOf(10), 20, 9, 10},
                    CountCase{"FarPastTheLimit", SamplesOf(3 * Block), 200000000, 9, 10},
                    CountCase{"UnderstatedSizeStopsFirst", SamplesOf(50), 8, 9, 4},
                    CountCase{"ShorterFileThanStated", SamplesOf(7), 1000, 9, 7},
                    CountCase{"ZeroSizeStillReadsOne", SamplesOf(3), 0, 0, 1},
                    // The cut sample lies beyond the limit, so it is never read.
                    CountCase{"CutSampleBeyondTheLimit", Concat({SamplesOf(12), Bytes{0x01}}), 1000,
                              9, 10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CountSamplesUpTo, CutSampleWithinTheLimitReadsBeyondTheEnd) {
    const TempFile file(Concat({FormatPart(), DataChunk({1, 2}, 1000), Bytes{0x01}}));
    try {
        CountSamplesUpTo(file.Path(), 44, 1000, 9);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "Read beyond end of file");
    }
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
