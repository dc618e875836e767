// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/wave_header.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/fifo_watchdog.h"

#include "support/param_name.h"
#include "support/wav_test_support.h"
#include "wave/binary_file.h"
#include "wave/errors.h"

namespace tesmera {
namespace {

using namespace test;  // the WAV file builders
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

const std::string RiffWarning = " V souboru WAVE nebylo nalezeno navesti \"RIFF\" ";
const std::string WaveWarning = " V souboru WAVE nebylo nalezeno navesti \"WAVE\" ";
const std::string FmtWarning = " V souboru WAVE nebyla nalezena identifikace \"fmt_\" ";
const std::string PcmWarning = " Data v souboru WAVE nejsou ve formatu PCM ";
const std::string MonoWarning = " Data v souboru WAVE nejsou MONO ";
const std::string BitsWarning = " Data v souboru WAVE nejsou 16-bitova ";
const std::string DataWarning = " V souboru WAVE nebylo nalezeno navesti \"data\" ";

const std::vector<std::int16_t> ThreeSamples{100, -200, 300};

// Reads a header, collecting the warnings instead of showing them.
struct HeaderOutcome {
    std::int32_t status;
    WaveHeadFields fields;
    std::vector<std::string> warnings;
};

HeaderOutcome ReadHeader(const std::string& path, const WaveHeadFields& preset = {}) {
    HeaderOutcome outcome{HeaderAccepted, preset, {}};
    outcome.status = WaveHeadRead(path, outcome.fields, [&](const Status& warning) {
        outcome.warnings.push_back(warning.Text);
    });
    return outcome;
}

HeaderOutcome ReadHeaderBytes(const Bytes& bytes, const WaveHeadFields& preset = {}) {
    const TempFile file(bytes);
    return ReadHeader(file.Path(), preset);
}

std::string FileErrorMessage(const std::string& path) {
    try {
        ReadHeader(path);
    } catch (const FileError& e) {
        return e.what();
    }
    return "no error";
}

struct AcceptedCase : test::NamedCase<AcceptedCase> {
    Bytes bytes;
    std::vector<std::string> warnings;
    std::int32_t riffSize;
    std::int32_t dataSize;
    std::int32_t sampleRate;
    std::int64_t dataOffset;
};

class AcceptedHeader : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedHeader, ReturnsTheFieldsBehindTheFirstDataTag) {
    const AcceptedCase& c = GetParam();
    const HeaderOutcome outcome = ReadHeaderBytes(c.bytes);
    EXPECT_EQ(outcome.status, HeaderAccepted);
    EXPECT_THAT(outcome.warnings, ElementsAreArray(c.warnings));
    EXPECT_EQ(outcome.fields.RiffSize, c.riffSize);
    EXPECT_EQ(outcome.fields.DataSize, c.dataSize);
    EXPECT_EQ(outcome.fields.SampleRate, c.sampleRate);
    EXPECT_EQ(outcome.fields.DataOffset, c.dataOffset);
}

Bytes ListChunk(std::string_view payload) {
    Bytes bytes;
    test::AppendText(bytes, "LIST");
    test::AppendLE(bytes, static_cast<std::int64_t>(payload.size()), 4);
    test::AppendText(bytes, payload);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AcceptedHeader,
    testing::Values(
        AcceptedCase{"Canonical", test::CanonicalWav(ThreeSamples), {}, 42, 6, 44100, 44},
        AcceptedCase{"Rate22050GivesANoticeFirst",
                     test::CanonicalWav(ThreeSamples, 22050),
                     {" Data byla vzorkovana rychlosti = 22050"},
                     42,
                     6,
                     22050,
                     44},
        AcceptedCase{
            "EighteenByteFormatChunk",
            Concat({FormatPart({.riffSize = 44, .formatSize = 18}), DataChunk(ThreeSamples)}),
            {},
            44,
            6,
            44100,
            46},
        AcceptedCase{
            "ListChunkBeforeData",
            Concat({FormatPart({.riffSize = 54}), ListChunk("INFOab"), DataChunk(ThreeSamples)}),
            {},
            54,
            6,
            44100,
            58},
        // The tag inside the LIST payload ends the search; its next four
        // bytes (7) are taken as the size.
        AcceptedCase{"DataTagInsideAnEarlierChunk",
                     Concat({FormatPart(), ListChunk(std::string("data\x07\0\0\0", 8)),
                             DataChunk(ThreeSamples)}),
                     {},
                     0,
                     7,
                     44100,
                     52},
        AcceptedCase{"NegativeSizesAreReturnedAsStored",
                     Concat({FormatPart({.riffSize = -1}), DataChunk({}, -2)}),
                     {},
                     -1,
                     -2,
                     44100,
                     44}),
    test::CaseName());

struct RejectedCase : test::NamedCase<RejectedCase> {
    Bytes bytes;
    std::vector<std::string> warnings;
};

class RejectedHeader : public testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedHeader, WarnsAndLeavesTheFieldsUntouched) {
    const WaveHeadFields preset{11, 22, 33, 44444};
    const HeaderOutcome outcome = ReadHeaderBytes(GetParam().bytes, preset);
    EXPECT_EQ(outcome.status, HeaderRejected);
    EXPECT_THAT(outcome.warnings, ElementsAreArray(GetParam().warnings));
    EXPECT_EQ(outcome.fields.RiffSize, 11);
    EXPECT_EQ(outcome.fields.DataSize, 22);
    EXPECT_EQ(outcome.fields.SampleRate, 33);
    EXPECT_EQ(outcome.fields.DataOffset, 44444);
}

const Bytes CanonicalFile = test::CanonicalWav(ThreeSamples);

// 36 format bytes, then bytes that never spell "data" ("Data" differs in case).
Bytes WithoutDataTag(std::int32_t sampleRate) {
    Bytes bytes = FormatPart({.sampleRate = sampleRate});
    test::AppendText(bytes, "Data\x06\0\0\0xyz");
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RejectedHeader,
    testing::Values(
        RejectedCase{"LowerCaseRiff", test::Poke(CanonicalFile, 0, "riff"), {RiffWarning}},
        RejectedCase{"BadFormTypeAndBadFormatReportOnlyTheFormType",
                     test::PokeLE(test::Poke(CanonicalFile, 8, "WAVf"), 20, 3, 2),
                     {WaveWarning}},
        RejectedCase{
            "FormatTagWithoutItsBlank", test::Poke(CanonicalFile, 12, "fmt_"), {FmtWarning}},
        RejectedCase{"FloatFormat", FormatPart({.audioFormat = 3}), {PcmWarning}},
        RejectedCase{"Stereo", FormatPart({.channels = 2}), {MonoWarning}},
        RejectedCase{"EightBit", FormatPart({.bitsPerSample = 8}), {BitsWarning}},
        RejectedCase{"TwentyFourBit", FormatPart({.bitsPerSample = 24}), {BitsWarning}},
        RejectedCase{"StereoEightBitReportsOnlyMono",
                     FormatPart({.channels = 2, .bitsPerSample = 8}),
                     {MonoWarning}},
        RejectedCase{"NoDataTag", WithoutDataTag(44100), {DataWarning}},
        RejectedCase{"NoDataTagAfterARateNotice",
                     WithoutDataTag(22050),
                     {" Data byla vzorkovana rychlosti = 22050", DataWarning}}),
    test::CaseName());

// The search reads the file a block at a time: a tag (or a near miss) that
// lies across a block edge must be found exactly as one inside a block.
constexpr std::size_t Block = FileReader::BlockSize;

// Bytes from offset 36 up to `end`, full of near misses of the tag
// ("dat", "da", "d", "atad") but never the tag itself.
Bytes NearMisses(std::size_t end) {
    const std::string_view pattern = "dat-da-d-atad-";
    Bytes bytes = FormatPart();
    while (bytes.size() < end) {
        bytes.push_back(static_cast<std::uint8_t>(pattern[bytes.size() % pattern.size()]));
    }
    return bytes;
}

// Near misses, then the tag at `tagOffset` with a stated size of 6 and three
// samples.
Bytes TagAt(std::size_t tagOffset) {
    return Concat({NearMisses(tagOffset), DataChunk(ThreeSamples)});
}

struct BlockEdgeCase {
    const char* name;
    Bytes bytes;
    std::int64_t tagOffset;
    friend void PrintTo(const BlockEdgeCase& c, std::ostream* os) { *os << c.name; }
};

class DataTagNearABlockEdge : public testing::TestWithParam<BlockEdgeCase> {};

TEST_P(DataTagNearABlockEdge, IsFoundWhereverItLies) {
    const HeaderOutcome outcome = ReadHeaderBytes(GetParam().bytes);
    EXPECT_EQ(outcome.status, HeaderAccepted);
    EXPECT_THAT(outcome.warnings, IsEmpty());
    EXPECT_EQ(outcome.fields.DataSize, 6);
    EXPECT_EQ(outcome.fields.DataOffset, GetParam().tagOffset + 8);
}

Bytes WithByteAt(Bytes bytes, std::size_t offset, char byte) {
    bytes[offset] = static_cast<std::uint8_t>(byte);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataTagNearABlockEdge,
    testing::Values(BlockEdgeCase{"EndsTheFirstBlock", TagAt(Block - 4), Block - 4},
                    BlockEdgeCase{"ThreeBytesBeforeTheEdge", TagAt(Block - 3), Block - 3},
                    BlockEdgeCase{"TwoBytesBeforeTheEdge", TagAt(Block - 2), Block - 2},
                    BlockEdgeCase{"OneByteBeforeTheEdge", TagAt(Block - 1), Block - 1},
                    BlockEdgeCase{"StartsTheSecondBlock", TagAt(Block), Block},
                    BlockEdgeCase{"AcrossTheSecondEdge", TagAt(2 * Block - 2), 2 * Block - 2},
                    // "d" + "data" across the edge: the second "d" starts the tag.
                    BlockEdgeCase{"DoubledFirstLetterAcrossTheEdge",
                                  WithByteAt(TagAt(Block - 2), Block - 3, 'd'), Block - 2},
                    // "dat" ends the first block and the next one starts with "d".
                    BlockEdgeCase{"NearMissEndsTheFirstBlock",
                                  Concat({test::Poke(NearMisses(Block), Block - 3, "dat"),
                                          test::Bytes{'d', 'x'}, DataChunk(ThreeSamples)}),
                                  Block + 2},
                    // The first tag counts, even when a second one lies beyond the edge.
                    BlockEdgeCase{"FirstOfTwoTagsAcrossTheEdge",
                                  Concat({TagAt(Block - 1), DataChunk(ThreeSamples)}), Block - 1}),
    test::CaseName());

TEST(WaveHeadRead, NoDataTagOverSeveralBlocksIsRejected) {
    // The near misses run up to the last byte, so the file ends on "dat".
    const Bytes bytes = test::Poke(NearMisses(3 * Block + 5), 3 * Block + 2, "dat");
    const HeaderOutcome outcome = ReadHeaderBytes(bytes);
    EXPECT_EQ(outcome.status, HeaderRejected);
    EXPECT_THAT(outcome.warnings, ElementsAre(DataWarning));
}

struct ShortFileCase : test::NamedCase<ShortFileCase> {
    Bytes bytes;
};

class ShortFile : public testing::TestWithParam<ShortFileCase> {};

TEST_P(ShortFile, ReadsBeyondTheEnd) {
    const TempFile file(GetParam().bytes);
    EXPECT_EQ(FileErrorMessage(file.Path()), "Read beyond end of file");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShortFile,
    testing::Values(ShortFileCase{"Empty", {}},
                    // Too short for the format fields, even with a bad tag.
                    ShortFileCase{"ThirtyFiveBytes",
                                  test::Poke(test::Prefix(CanonicalFile, 35), 0, "XXXX")},
                    // The search's first read fails.
                    ShortFileCase{"ThirtySixBytes", test::Prefix(CanonicalFile, 36)},
                    // "data" found as the last four bytes: the size read fails.
                    ShortFileCase{"DataTagAsTheLastFourBytes", test::Prefix(CanonicalFile, 40)},
                    ShortFileCase{"DataSizeCutShort", test::Prefix(CanonicalFile, 42)},
                    ShortFileCase{"TagAcrossABlockEdgeAsTheLastFourBytes",
                                  test::Prefix(TagAt(Block - 2), Block + 2)}),
    test::CaseName());

TEST(WaveHeadRead, MissingFileIsNotFound) {
    EXPECT_EQ(
        FileErrorMessage((std::filesystem::temp_directory_path() / "tesmera_no_such.wav").string()),
        "File not found");
}

TEST(WaveHeadRead, DirectoryIsAccessDenied) {
    EXPECT_EQ(FileErrorMessage(std::filesystem::temp_directory_path().string()),
              "File access denied");
}

struct NonRegularCase : test::NamedCase<NonRegularCase> {
    std::string path;  // empty: a FIFO named x.wav
};

class NonRegularFile : public testing::TestWithParam<NonRegularCase> {};

// Only regular files are read: a FIFO would block the open until a writer
// comes, a device would be read as if it were a voice file.
TEST_P(NonRegularFile, IsAccessDeniedWithoutBlocking) {
    const test::FifoFile fifo;
    ASSERT_TRUE(fifo.Made());
    const std::string path = GetParam().path.empty() ? fifo.Path() : GetParam().path;
    std::string message;
    EXPECT_FALSE(test::BlockedOnFifo(fifo, [&] { message = FileErrorMessage(path); }));
    EXPECT_EQ(message, "File access denied");
}

INSTANTIATE_TEST_SUITE_P(Cases, NonRegularFile,
                         testing::Values(NonRegularCase{"Fifo", ""},
                                         NonRegularCase{"CharacterDevice", "/dev/null"},
                                         NonRegularCase{"Directory", "/"}),
                         test::CaseName());

TEST(WaveHeadRead, AcceptsAReadOnlyFile) {
    const TempFile file(CanonicalFile);
    std::filesystem::permissions(file.Path(), std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::group_read |
                                                  std::filesystem::perms::others_read);
    const HeaderOutcome outcome = ReadHeader(file.Path());
    EXPECT_EQ(outcome.status, HeaderAccepted);
    EXPECT_THAT(outcome.warnings, IsEmpty());
}

TEST(WaveHeadWrite, WritesTheCanonicalHeaderOverAnExistingFile) {
    const TempFile file(Bytes(100, 0xAB));
    EXPECT_EQ(WaveHeadWrite(file.Path(), 22050, 1234, 882), HeaderAccepted);
    const Bytes expected =
        Concat({FormatPart({.riffSize = 1234, .sampleRate = 22050}), DataChunk({}, 882)});
    EXPECT_EQ(file.Read(), expected);
}

TEST(WaveHeadWrite, RoundTripsThroughTheReaderWithoutAMessage) {
    const TempFile file;
    ASSERT_EQ(WaveHeadWrite(file.Path(), 44100, 1234, 882), HeaderAccepted);
    const HeaderOutcome outcome = ReadHeader(file.Path());
    EXPECT_EQ(outcome.status, HeaderAccepted);
    EXPECT_THAT(outcome.warnings, IsEmpty());
    EXPECT_EQ(outcome.fields.RiffSize, 1234);
    EXPECT_EQ(outcome.fields.DataSize, 882);
    EXPECT_EQ(outcome.fields.SampleRate, 44100);
    EXPECT_EQ(outcome.fields.DataOffset, 44);
}

TEST(WaveHeadWrite, UnwritablePathIsAFileError) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "tesmera_no_such_dir" / "x.wav").string();
    try {
        WaveHeadWrite(path, 44100, 36, 0);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
}

}  // namespace
}  // namespace tesmera
