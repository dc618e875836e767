// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/sound_input.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include <gtest/gtest.h>

#include "recording/whole_recording.h"
#include "support/TempFolder.h"
#include "support/fifo_watchdog.h"
#include "support/param_name.h"

namespace tesmera {
namespace {

// Frames of a two-channel test signal: left x + d, right x − d, so the
// mono mix is x = 0.5 sin(2π·440 t).
double MonoValue(std::size_t i, int rate) {
    return 0.5 * std::sin(2 * M_PI * 440 * static_cast<double>(i) / rate);
}

// Writes `frames` frames with libsndfile in the given encoding.
void WriteSoundFile(const std::string& path, int encoding, int channels, int rate,
                    std::size_t frames) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | encoding;
    std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(sf_open(path.c_str(), SFM_WRITE, &info),
                                                     sf_close);
    ASSERT_TRUE(file) << sf_strerror(nullptr);
    std::vector<double> interleaved;
    for (std::size_t i = 0; i < frames; ++i) {
        const double x = MonoValue(i, rate);
        interleaved.push_back(channels == 2 ? x + 0.25 : x);
        if (channels == 2) {
            interleaved.push_back(x - 0.25);
        }
    }
    sf_writef_double(file.get(), interleaved.data(), static_cast<sf_count_t>(frames));
}

struct Encoding : test::NamedCase<Encoding> {
    int encoding;
    int channels;
    int rate;
    double tolerance;  // quantisation of the encoding, in full scale
};

class Encodings : public ::testing::TestWithParam<Encoding> {};

TEST_P(Encodings, ReadAsMonoAtFullScaleOne) {
    const Encoding& e = GetParam();
    const test::TempFolder folder;
    const std::string path = (folder.Path() / "input.wav").string();
    WriteSoundFile(path, e.encoding, e.channels, e.rate, 1000);

    const MonoRecording recording = test::ReadWholeRecording(path);
    EXPECT_EQ(recording.SampleRate, e.rate);
    ASSERT_EQ(recording.Samples.size(), 1000u);
    for (std::size_t i = 0; i < recording.Samples.size(); i += 37) {
        EXPECT_NEAR(recording.Samples[i], MonoValue(i, e.rate), e.tolerance) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wav, Encodings,
    ::testing::Values(Encoding{"Unsigned8Mono8k", SF_FORMAT_PCM_U8, 1, 8000, 1.0 / 128},
                      Encoding{"Pcm16Stereo48k", SF_FORMAT_PCM_16, 2, 48000, 1.0 / 32768},
                      Encoding{"Pcm24Stereo22k", SF_FORMAT_PCM_24, 2, 22050, 1e-6},
                      Encoding{"Pcm32Mono96k", SF_FORMAT_PCM_32, 1, 96000, 1e-8},
                      Encoding{"FloatStereo44k", SF_FORMAT_FLOAT, 2, 44100, 1e-7},
                      Encoding{"DoubleMono192k", SF_FORMAT_DOUBLE, 1, 192000, 1e-12},
                      Encoding{"MuLawMono8k", SF_FORMAT_ULAW, 1, 8000, 0.02},
                      Encoding{"ALawStereo16k", SF_FORMAT_ALAW, 2, 16000, 0.02},
                      Encoding{"Pcm16Mono384k", SF_FORMAT_PCM_16, 1, 384000, 1.0 / 32768}),
    test::CaseName());

struct Refused : test::NamedCase<Refused> {
    int encoding;
    int rate;
    std::string message;
};

class RefusedInputs : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedInputs, SayWhy) {
    const Refused& r = GetParam();
    const test::TempFolder folder;
    const std::string path = (folder.Path() / "input.wav").string();
    WriteSoundFile(path, r.encoding, 1, r.rate, 100);
    try {
        test::ReadWholeRecording(path);
        FAIL() << "accepted";
    } catch (const RecordingError& error) {
        EXPECT_EQ(error.what(), r.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wav, RefusedInputs,
    ::testing::Values(Refused{"RateTooLow", SF_FORMAT_PCM_16, 4000,
                              "sample rate 4000 Hz is outside 8000 to 384000 Hz"},
                      Refused{"RateTooHigh", SF_FORMAT_PCM_16, 400000,
                              "sample rate 400000 Hz is outside 8000 to 384000 Hz"}),
    test::CaseName());

TEST(WholeRecording, UnreadableFileIsRefused) {
    EXPECT_THROW(test::ReadWholeRecording("/nonexistent/input.wav"), RecordingError);
}

// The recording is read and mixed block by block: frames across block
// boundaries and a short last block all arrive, in order.
TEST(WholeRecording, LongStereoRecordingIsMixedWhole) {
    const test::TempFolder folder;
    const std::string path = (folder.Path() / "input.wav").string();
    constexpr std::size_t Frames = 3 * 16384 + 123;
    WriteSoundFile(path, SF_FORMAT_PCM_16, 2, 44100, Frames);
    const MonoRecording recording = test::ReadWholeRecording(path);
    ASSERT_EQ(recording.Samples.size(), Frames);
    for (const std::size_t i : {0ul, 16383ul, 16384ul, 32768ul, Frames - 1}) {
        EXPECT_NEAR(recording.Samples[i], MonoValue(i, 44100), 1.0 / 32768) << i;
    }
}

struct BlockRange {
    const char* name;
    std::size_t first;
    std::size_t count;
    std::size_t expected;  // samples read
};

class ReaderRanges : public ::testing::TestWithParam<BlockRange> {};

// Memory for a read follows the block, never the request: however much is
// asked for, no block handed out is longer than SoundBlockFrames, and the
// blocks carry the requested samples in order.
TEST_P(ReaderRanges, ComeInBoundedBlocksInOrder) {
    const BlockRange& r = GetParam();
    const test::TempFolder folder;
    const std::string path = (folder.Path() / "input.wav").string();
    constexpr std::size_t Frames = 3 * SoundBlockFrames + 123;
    WriteSoundFile(path, SF_FORMAT_PCM_24, 2, 44100, Frames);
    SoundFileReader reader(path);
    std::size_t next = r.first;
    std::size_t longest = 0;
    const std::size_t read = reader.ReadBlocks(r.first, r.count, [&](std::span<const double> b) {
        longest = std::max(longest, b.size());
        for (const double x : b) {
            ASSERT_NEAR(x, MonoValue(next, 44100), 1e-6) << next;
            ++next;
        }
    });
    EXPECT_EQ(read, r.expected);
    EXPECT_EQ(next - r.first, r.expected);
    EXPECT_LE(longest, SoundBlockFrames);
}

INSTANTIATE_TEST_SUITE_P(
    Wav, ReaderRanges,
    ::testing::Values(BlockRange{"EverythingAskedFor", 0, SIZE_MAX, 3 * SoundBlockFrames + 123},
                      BlockRange{"FromTheMiddleAcrossBlocks", 20000, 25000, 25000},
                      BlockRange{"ClippedAtTheEnd", 3 * SoundBlockFrames, 1000, 123},
                      BlockRange{"NothingAskedFor", 5, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A float recording with a sample that is not a number, blocks into the
// file, is refused with the same words however many threads read it.
TEST(RecordingFile, NotANumberLateInTheFileIsRefused) {
    const test::TempFolder folder;
    const std::string path = (folder.Path() / "input.wav").string();
    std::vector<float> samples(4 * SoundBlockFrames, 0.25F);
    samples[3 * SoundBlockFrames + 5] = std::numeric_limits<float>::quiet_NaN();
    {
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(sf_open(path.c_str(), SFM_WRITE, &info),
                                                         sf_close);
        ASSERT_TRUE(file) << sf_strerror(nullptr);
        sf_writef_float(file.get(), samples.data(), static_cast<sf_count_t>(samples.size()));
    }
    for (const unsigned threads : {1U, 4U}) {
        try {
            RecordingFile recording(path, threads);
            ADD_FAILURE() << "accepted on " << threads << " threads";
        } catch (const RecordingError& error) {
            EXPECT_STREQ(error.what(), "the recording holds samples that are not finite numbers")
                << threads << " threads";
        }
    }
}

TEST(WholeRecording, FifoIsRefusedWithoutBlocking) {
    const test::FifoFile fifo;
    ASSERT_TRUE(fifo.Made());
    std::string message;
    EXPECT_FALSE(test::BlockedOnFifo(fifo, [&] {
        try {
            test::ReadWholeRecording(fifo.Path());
        } catch (const RecordingError& error) {
            message = error.what();
        }
    }));
    EXPECT_EQ(message, "cannot read " + fifo.Path() + ": not a regular file");
}

}  // namespace
}  // namespace tesmera
