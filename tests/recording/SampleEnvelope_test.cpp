// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/SampleEnvelope.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "support/param_name.h"

namespace tesmera {
namespace {

// Samples that rise and fall at every scale: a sinusoid of period 17
// samples whose amplitude steps through 1/8 to 7/8 every sample.
std::vector<double> Wobble(std::size_t count) {
    std::vector<double> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = std::sin(static_cast<double>(i) * 0.37) * static_cast<double>(1 + i % 7) / 8;
    }
    return samples;
}

// The extremes of each run of `length` samples, worked out directly.
std::vector<ValueRange> Runs(const std::vector<double>& samples, std::size_t length) {
    std::vector<ValueRange> runs;
    for (std::size_t first = 0; first < samples.size(); first += length) {
        const auto [low, high] = std::minmax_element(
            samples.begin() + static_cast<std::ptrdiff_t>(first),
            samples.begin() +
                static_cast<std::ptrdiff_t>(std::min(first + length, samples.size())));
        runs.push_back({*low, *high});
    }
    return runs;
}

struct EnvelopeCase : test::NamedCase<EnvelopeCase> {
    std::size_t count;   // samples
    std::size_t block;   // samples added at a time
    std::size_t length;  // of the runs the envelope ends with
};

class Envelope : public ::testing::TestWithParam<EnvelopeCase> {};

TEST_P(Envelope, KeepsTheExtremesOfEveryRun) {
    const EnvelopeCase& c = GetParam();
    const std::vector<double> samples = Wobble(c.count);
    SampleEnvelope envelope;
    for (std::size_t first = 0; first < samples.size(); first += c.block) {
        envelope.Add(std::span(samples).subspan(first, std::min(c.block, samples.size() - first)));
    }
    EXPECT_EQ(envelope.SampleCount(), c.count);
    ASSERT_EQ(envelope.BucketLength(), c.length);
    const std::span<const ValueRange> buckets = envelope.Buckets();
    EXPECT_TRUE(std::ranges::equal(buckets, Runs(samples, c.length)));
    EXPECT_LE(buckets.size(), SampleEnvelope::MaxBuckets);
    double peak = 0;
    for (const double v : samples) {
        peak = std::max(peak, std::fabs(v));
    }
    EXPECT_EQ(envelope.Peak(), peak);
}

INSTANTIATE_TEST_SUITE_P(
    SampleEnvelope, Envelope,
    ::testing::Values(EnvelopeCase{"None", 0, 1, 1}, EnvelopeCase{"FewSamplesOneByOne", 10, 1, 1},
                      EnvelopeCase{"AsManyAsBuckets", SampleEnvelope::MaxBuckets, 16384, 1},
                      EnvelopeCase{"OneMoreDoublesTheRuns", SampleEnvelope::MaxBuckets + 1, 16384,
                                   2},
                      EnvelopeCase{"OddBlocksAcrossThreeDoublings", 300001, 777, 8}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
