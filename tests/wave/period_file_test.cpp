// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/period_file.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/param_name.h"
#include "support/wav_test_support.h"
#include "wave/errors.h"
#include "wave/sample_reader.h"

namespace tesmera {
namespace {

using test::Bytes;
using test::CanonicalWav;
using test::Concat;
using test::DataChunk;
using test::FormatPart;
using test::Prefix;
using test::TempFile;

std::vector<std::int16_t> Ramp(std::size_t count) {
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<std::int16_t>(i % 2000 - 1000);
    }
    return samples;
}

struct PeriodFileCase : test::NamedCase<PeriodFileCase> {
    Bytes content;
    bool period;
};

class PeriodFile : public ::testing::TestWithParam<PeriodFileCase> {};

TEST_P(PeriodFile, IsToldFromOtherSoundFiles) {
    const TempFile file(GetParam().content);
    EXPECT_EQ(IsVoicePeriodFile(file.Path()), GetParam().period);
}

INSTANTIATE_TEST_SUITE_P(
    Wave, PeriodFile,
    ::testing::Values(
        PeriodFileCase{"OnePeriod", CanonicalWav(Ramp(441)), true},
        PeriodFileCase{"LongestPeriod", CanonicalWav(Ramp(10000)), true},
        PeriodFileCase{"OneSampleTooMany", CanonicalWav(Ramp(10001)), false},
        PeriodFileCase{"OtherRateDrawsOnlyANotice", CanonicalWav(Ramp(400), 48000), true},
        // The load reads to the end of the file whatever the header states.
        PeriodFileCase{"UnderstatedLongFile",
                       Concat({FormatPart({.riffSize = 236}), DataChunk(Ramp(12000), 200)}), true},
        PeriodFileCase{"OverstatedShortFile", Concat({FormatPart(), DataChunk(Ramp(300), 1000000)}),
                       true},
        PeriodFileCase{"Stereo", Concat({FormatPart({.channels = 2}), DataChunk(Ramp(400))}),
                       false},
        PeriodFileCase{"EightBit", Concat({FormatPart({.bitsPerSample = 8}), DataChunk(Ramp(400))}),
                       false},
        PeriodFileCase{
            "FloatSamples",
            Concat({FormatPart({.audioFormat = 3, .bitsPerSample = 32}), DataChunk(Ramp(400))}),
            false},
        PeriodFileCase{"EndsInsideTheHeader", Prefix(CanonicalWav(Ramp(10)), 30), false},
        PeriodFileCase{"EndsInsideASample", Prefix(CanonicalWav(Ramp(10)), 45), false},
        PeriodFileCase{"Empty", Bytes{}, false}),
    test::CaseName());

TEST(PeriodFile, AFileThatCannotBeOpenedIsTheCallersToReport) {
    const std::string missing =
        (std::filesystem::temp_directory_path() / "tesmera_no_such_period.wav").string();
    try {
        IsVoicePeriodFile(missing);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
    EXPECT_THROW(IsVoicePeriodFile(std::filesystem::temp_directory_path().string()), FileError);
}

TEST(StoreSamples, CountsSumsAndStoresLikeTheFileLoop) {
    const std::vector<std::int16_t> samples = {3, -32768, 7, 0};
    std::vector<double> buffer(3, -1);
    const SampleReadResult result = StoreSamples(samples, buffer);
    EXPECT_EQ(result.SampleCount, 4);
    EXPECT_EQ(result.Sum, 3.0 - 32768 + 7);
    EXPECT_EQ(result.SumSq, 9.0 + 32768.0 * 32768 + 49);
    EXPECT_EQ(result.MaxAbs, 32768);
    EXPECT_EQ(buffer, (std::vector<double>{3, -32768, 7}));

    const TempFile file(CanonicalWav(samples));
    std::vector<double> fromFile(3, -1);
    const SampleReadResult read = ReadSamples(file.Path(), 44, 8, fromFile);
    EXPECT_EQ(read.SampleCount, result.SampleCount);
    EXPECT_EQ(read.Sum, result.Sum);
    EXPECT_EQ(read.SumSq, result.SumSq);
    EXPECT_EQ(fromFile, buffer);
}

}  // namespace
}  // namespace tesmera
