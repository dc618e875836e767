// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/take_file.h"

#include <sndfile.h>

#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "recording/whole_recording.h"
#include "support/TempFolder.h"
#include "wave/OutputFile.h"

namespace tesmera {
namespace {

// 0.3 s of a 220 Hz sinusoid of peak 0.7 at 44.1 kHz, then two samples
// beyond full scale.
MonoRecording Take() {
    MonoRecording take{44100, {}};
    for (int i = 0; i < 13230; ++i) {
        take.Samples.push_back(0.7 * std::sin(2 * M_PI * 220 * i / 44100.0));
    }
    take.Samples.push_back(1.8);
    take.Samples.push_back(-1.8);
    return take;
}

TEST(SaveTake, WritesMonoTwentyFourBitWavThatReadsBackWithinOneStep) {
    const test::TempFolder folder;
    const std::string path = (folder.Path() / "take.wav").string();
    const MonoRecording take = Take();
    SaveTake(path, take);

    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    sf_close(file);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    EXPECT_EQ(info.channels, 1);

    const MonoRecording read = test::ReadWholeRecording(path);
    EXPECT_EQ(read.SampleRate, take.SampleRate);
    ASSERT_EQ(read.Samples.size(), take.Samples.size());
    // libsndfile writes with 2^23 - 1 as full scale and reads with 2^23.
    const double step = 1.0 / (1 << 23) + 1e-12;
    for (std::size_t i = 0; i + 2 < take.Samples.size(); ++i) {
        ASSERT_NEAR(read.Samples[i], take.Samples[i], step) << "sample " << i;
    }
    // Clipped to full scale, not wrapped round to the other sign.
    EXPECT_GT(read.Samples[read.Samples.size() - 2], 0.999);
    EXPECT_LT(read.Samples.back(), -0.999);
}

TEST(SaveTake, RefusesAnEmptyTakeAndLeavesNoFile) {
    const test::TempFolder folder;
    const std::string path = (folder.Path() / "take.wav").string();
    EXPECT_THROW(SaveTake(path, MonoRecording{48000, {}}), OutputFileError);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(SaveTake, NamesAMissingFolderInItsError) {
    const test::TempFolder folder;
    const std::string path = (folder.Path() / "missing" / "take.wav").string();
    try {
        SaveTake(path, Take());
        FAIL() << "no error";
    } catch (const OutputFileError& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
}

}  // namespace
}  // namespace tesmera
