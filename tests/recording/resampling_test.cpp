// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/resampling.h"

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

}  // namespace
}  // namespace tesmera
