// SPDX-License-Identifier: GPL-3.0-or-later
// The voice files shipped in samples/ must load as the window loads them;
// the recording in samples/recordings/ must at least describe itself truly.
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "wave/sample_reader.h"
#include "wave/voice_period.h"
#include "wave/wave_header.h"

namespace tesmera {
namespace {

// Only the top folder: recordings/ holds no voice periods.
std::vector<std::filesystem::path> BundledVoiceFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(TESMERA_SOURCE_DIR "/samples")) {
        if (entry.path().extension() == ".wav") {
            files.push_back(entry.path());
        }
    }
    return files;
}

TEST(BundledSamples, LoadWithoutWarningAsOnePeriodWithAGrade) {
    const std::vector<std::filesystem::path> files = BundledVoiceFiles();
    EXPECT_GE(files.size(), 5u);
    EXPECT_LE(files.size(), 8u);
    for (const std::filesystem::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::string stem = path.stem().string();
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(stem.back())));

        WaveHeadFields fields;
        std::vector<std::string> warnings;
        ASSERT_EQ(WaveHeadRead(path.string(), fields,
                               [&](const Status& warning) { warnings.push_back(warning.Text); }),
                  HeaderAccepted);
        EXPECT_TRUE(warnings.empty());
        EXPECT_EQ(fields.SampleRate, NominalSampleRate);
        EXPECT_EQ(fields.DataOffset, CanonicalHeaderSize);
        EXPECT_EQ(static_cast<std::uintmax_t>(fields.DataSize),
                  std::filesystem::file_size(path) - CanonicalHeaderSize);

        std::vector<double> buffer(MaxSamples);
        const SampleReadResult read =
            ReadSamples(path.string(), fields.DataOffset, fields.DataSize, buffer);
        EXPECT_GE(read.SampleCount, 100);
        EXPECT_LE(read.SampleCount, 1000);
        EXPECT_GE(read.MaxAbs, 8000);
        EXPECT_LE(read.MaxAbs, 20000);
    }
}

// Long enough that the window must refuse it, and at another rate than the
// nominal one, so that extracting a period from it exercises the resampling.
TEST(BundledRecording, HeaderDescribesTheWholeFileAtAnotherRate) {
    const std::filesystem::path path(TESMERA_SOURCE_DIR "/samples/recordings/sustained_a_male.wav");
    WaveHeadFields fields;
    std::vector<std::string> warnings;
    ASSERT_EQ(WaveHeadRead(path.string(), fields,
                           [&](const Status& warning) { warnings.push_back(warning.Text); }),
              HeaderAccepted);
    EXPECT_EQ(warnings.size(), 1u);  // the rate notice
    EXPECT_NE(fields.SampleRate, NominalSampleRate);
    EXPECT_EQ(fields.DataOffset, CanonicalHeaderSize);
    EXPECT_EQ(static_cast<std::uintmax_t>(fields.DataSize),
              std::filesystem::file_size(path) - CanonicalHeaderSize);
    EXPECT_GT(fields.DataSize / 2, MaxSamples);
}

}  // namespace
}  // namespace tesmera
