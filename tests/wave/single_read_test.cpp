// SPDX-License-Identifier: GPL-3.0-or-later
// A voice file read through one open reader, header and samples from the same
// blocks, against the header and the samples each read with their own open:
// the same fields, warnings, samples and sums, and the same error at the same
// point. The cases put samples across block edges and the data behind the
// first block.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/param_name.h"
#include "support/wav_test_support.h"
#include "wave/binary_file.h"
#include "wave/errors.h"
#include "wave/sample_reader.h"
#include "wave/voice_period.h"
#include "wave/wave_header.h"

namespace tesmera {
namespace {

using namespace test;  // the WAV file builders

// Everything a load learns from a file, or the error that ended it.
struct LoadOutcome {
    std::vector<std::string> warnings;
    std::int32_t status = 0;
    WaveHeadFields fields;
    SampleReadResult read{};
    std::vector<double> samples = std::vector<double>(MaxSamples, -0.5);
    std::string error;

    bool operator==(const LoadOutcome& other) const {
        return warnings == other.warnings && status == other.status &&
               fields.RiffSize == other.fields.RiffSize &&
               fields.DataSize == other.fields.DataSize &&
               fields.SampleRate == other.fields.SampleRate &&
               fields.DataOffset == other.fields.DataOffset &&
               read.SampleCount == other.read.SampleCount && read.Sum == other.read.Sum &&
               read.SumSq == other.read.SumSq && read.MaxAbs == other.read.MaxAbs &&
               samples == other.samples && error == other.error;
    }
};

template <typename Load>
LoadOutcome Run(Load load) {
    LoadOutcome outcome;
    const WarningSink warn = [&](const Status& warning) {
        outcome.warnings.push_back(warning.Text);
    };
    try {
        load(outcome, warn);
    } catch (const FileError& e) {
        outcome.error = e.what();
    }
    return outcome;
}

LoadOutcome WithOneOpen(const std::string& path) {
    return Run([&](LoadOutcome& o, const WarningSink& warn) {
        FileReader reader(path);
        o.status = WaveHeadRead(reader, o.fields, warn);
        if (o.status == HeaderAccepted) {
            o.read = ReadSamples(reader, o.fields.DataOffset, o.fields.DataSize, o.samples);
        }
    });
}

LoadOutcome WithTwoOpens(const std::string& path) {
    return Run([&](LoadOutcome& o, const WarningSink& warn) {
        o.status = WaveHeadRead(path, o.fields, warn);
        if (o.status == HeaderAccepted) {
            o.read = ReadSamples(path, o.fields.DataOffset, o.fields.DataSize, o.samples);
        }
    });
}

// Samples that differ from each other and from their neighbours' bytes.
std::vector<std::int16_t> Ramp(std::size_t count) {
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<std::int16_t>(static_cast<std::int32_t>(i * 7919 % 65536) - 32768);
    }
    return samples;
}

// A chunk of `size` filler bytes that the search for "data" passes over.
Bytes Filler(std::size_t size) {
    return Bytes(size, 0x11);
}

struct SingleReadCase : test::NamedCase<SingleReadCase> {
    Bytes file;
};

std::vector<SingleReadCase> Cases() {
    constexpr std::size_t Block = 64 * 1024;  // the reader's block
    const auto many = Ramp(3 * Block / 2);    // three blocks of samples
    Bytes halfSample = Concat({FormatPart(), Filler(1), DataChunk(Ramp(40000), 200000)});
    halfSample.push_back(0x42);
    return {
        {"canonical_period", test::CanonicalWav(Ramp(441))},
        {"samples_over_several_blocks", test::CanonicalWav(many)},
        {"odd_offset_splits_samples_at_block_edges",
         Concat({FormatPart(), Filler(1), DataChunk(many)})},
        {"data_behind_the_first_block",
         Concat({FormatPart(), Filler(Block + 3), DataChunk(Ramp(500))})},
        {"file_shorter_than_stated", Concat({FormatPart(), DataChunk(Ramp(40000), 400000)})},
        {"file_ends_inside_a_sample_after_a_block_edge", halfSample},
        {"stated_size_zero_reads_one_sample", Concat({FormatPart(), DataChunk(Ramp(10), 0)})},
        {"no_sample_behind_the_header", test::CanonicalWav({})},
        {"rate_notice_then_samples", test::CanonicalWav(Ramp(100), 48000)},
        {"rejected_header", Concat({FormatPart({.channels = 2}), DataChunk(Ramp(10))})},
        {"no_data_tag", Concat({FormatPart(), Filler(70000)})},
        {"file_ends_in_the_format_header", test::Prefix(test::CanonicalWav(Ramp(10)), 30)},
    };
}

class SingleRead : public testing::TestWithParam<SingleReadCase> {};

TEST_P(SingleRead, GivesWhatSeparateOpensGive) {
    const TempFile file(GetParam().file);
    EXPECT_TRUE(WithOneOpen(file.Path()) == WithTwoOpens(file.Path()));
}

INSTANTIATE_TEST_SUITE_P(Files, SingleRead, testing::ValuesIn(Cases()), test::CaseName());

TEST(SingleRead, AFileThatEndsInsideASampleFailsAfterCountingTheWholeOnes) {
    Bytes bytes = Concat({FormatPart(), Filler(1), DataChunk(Ramp(40000), 200000)});
    bytes.push_back(0x42);
    const TempFile file(bytes);
    EXPECT_EQ(WithOneOpen(file.Path()).error, "Read beyond end of file");
}

}  // namespace
}  // namespace tesmera
