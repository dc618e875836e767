// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/resampling.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

// A chirp with a little of every band, so a converter that loses its filter
// history at a block boundary changes the output there.
std::vector<double> Chirp(std::size_t count) {
    std::vector<double> x(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / 1000;
        x[i] = 0.5 * std::sin(t * (3 + t)) + 0.1 * std::sin(1.7 * static_cast<double>(i));
    }
    return x;
}

struct BlockwiseCase {
    const char* name;
    double ratio;
    ResamplingQuality quality;
    std::size_t block;  // input samples per call
    std::size_t count;  // of the whole signal
};

class BlockwiseConversion : public ::testing::TestWithParam<BlockwiseCase> {};

// A long recording is converted block by block; its tracked frames must be
// those of the whole signal converted at once, to the last bit.
TEST_P(BlockwiseConversion, EqualsTheWholeSignalConvertedAtOnce) {
    const BlockwiseCase& c = GetParam();
    const std::vector<double> signal = Chirp(c.count);
    const std::vector<double> whole = Resample(signal, c.ratio, c.quality);

    ResamplingStream stream(c.ratio, c.quality);
    std::vector<double> blockwise;
    for (std::size_t first = 0; first < signal.size(); first += c.block) {
        const std::size_t size = std::min(c.block, signal.size() - first);
        stream.Convert(std::span(signal).subspan(first, size), false, blockwise);
    }
    stream.Convert({}, true, blockwise);

    ASSERT_EQ(blockwise.size(), whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) {
        ASSERT_EQ(blockwise[i], whole[i]) << "sample " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Resampling, BlockwiseConversion,
    ::testing::Values(BlockwiseCase{"From44100ToTrackingInReadBlocks", 0.25,
                                    ResamplingQuality::Fast, 16384, 100000},
                      BlockwiseCase{"From96000ToTrackingInOddBlocks", 11025.0 / 96000,
                                    ResamplingQuality::Fast, 777, 50000},
                      BlockwiseCase{"From8000UpInSingleSamples", 11025.0 / 8000,
                                    ResamplingQuality::Fast, 1, 3000},
                      BlockwiseCase{"BestQualityUpInBlocksLongerThanTheSignal", 44100.0 / 22050,
                                    ResamplingQuality::Best, 100000, 20000},
                      BlockwiseCase{"BestQualityDownAcrossManyBlocks", 44100.0 / 48000,
                                    ResamplingQuality::Best, 4096, 30000}),
    [](const auto& info) { return std::string(info.param.name); });

struct PiecewiseCase {
    const char* name;
    std::int32_t fromRate;
    std::int32_t toRate;
    double seconds;
    std::size_t block;  // input samples per call
    bool exact;         // a power-of-two ratio: the converter's positions are exact
    double silentFrom;  // seconds of digital silence from here to the end (0: none)
};

class PiecewiseConversion : public ::testing::TestWithParam<PiecewiseCase> {};

std::vector<double> Piecewise(std::span<const double> signal, const PiecewiseCase& c,
                              unsigned threads) {
    PiecewiseResampler resampler(c.fromRate, c.toRate, threads);
    std::vector<double> output;
    for (std::size_t first = 0; first < signal.size(); first += c.block) {
        const std::size_t size = std::min(c.block, signal.size() - first);
        resampler.Convert(signal.subspan(first, size), false, output);
    }
    resampler.Convert({}, true, output);
    return output;
}

// Pieces converted apart, on any number of threads, give what one unbroken
// conversion gives: the same count, and values within the converter's own
// rounding of where an output lies.
TEST_P(PiecewiseConversion, AgreesWithOneUnbrokenRun) {
    const PiecewiseCase& c = GetParam();
    std::vector<double> signal =
        Chirp(static_cast<std::size_t>(c.seconds * static_cast<double>(c.fromRate)));
    if (c.silentFrom > 0) {
        std::fill(signal.begin() + static_cast<std::ptrdiff_t>(c.silentFrom * c.fromRate),
                  signal.end(), 0.0);
    }
    const std::vector<double> whole =
        Resample(signal, static_cast<double>(c.toRate) / c.fromRate, ResamplingQuality::Fast);
    const std::vector<double> serial = Piecewise(signal, c, 1);

    ASSERT_EQ(serial.size(), whole.size());
    double largest = 0;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        largest = std::max(largest, std::fabs(serial[i] - whole[i]));
    }
    EXPECT_LE(largest, c.exact ? 0.0 : 1e-6);
    EXPECT_EQ(Piecewise(signal, c, 3), serial);
    EXPECT_EQ(ResampleInPieces(signal, c.fromRate, c.toRate, 2), serial);
}

INSTANTIATE_TEST_SUITE_P(
    Resampling, PiecewiseConversion,
    ::testing::Values(
        PiecewiseCase{"From44100ToTracking", 44100, 11025, 3.3, 16384, true, 0},
        PiecewiseCase{"From22050ToTrackingInOddBlocks", 22050, 11025, 2.1, 777, true, 0},
        PiecewiseCase{"From48000ToTracking", 48000, 11025, 4.02, 16384, false, 0},
        PiecewiseCase{"From96000ToTrackingEndingInSilence", 96000, 11025, 2.6, 5000, false, 1.1},
        PiecewiseCase{"From8000UpToTracking", 8000, 11025, 3.7, 4096, false, 0},
        PiecewiseCase{"From16000ToNominal", 16000, 44100, 2.2, 16384, false, 0},
        PiecewiseCase{"From48000ToNominalEndingOnAPiece", 48000, 44100, 2.5, 3000, false, 0},
        PiecewiseCase{"ShorterThanOnePiece", 48000, 11025, 0.3, 16384, false, 0},
        PiecewiseCase{"OddRateInOneRun", 44099, 11025, 1.3, 16384, true, 0},
        PiecewiseCase{"NoInputAtAll", 48000, 11025, 0, 1, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PiecewiseResampler, RefusesRatesThatAreNotPositive) {
    EXPECT_THROW(PiecewiseResampler(0, 11025, 1), std::invalid_argument);
    EXPECT_THROW(PiecewiseResampler(48000, -1, 1), std::invalid_argument);
}

}  // namespace
}  // namespace tesmera
