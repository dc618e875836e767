// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_prominence.h"
#include "support/param_name.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

// Rows whose median the selection must give exactly as a full sort does:
// the smooth falling rows of a cepstrum (where the sampled bracket holds),
// and rows built to defeat the bracket or the even-count rule.
struct RowCase : test::NamedCase<RowCase> {
    std::vector<double> row;
};

std::vector<double> FallingCurve(std::size_t n) {
    std::vector<double> row(n);
    for (std::size_t i = 0; i < n; ++i) {
        row[i] = std::exp(-0.01 * static_cast<double>(i)) * (1.5 + std::sin(0.3 * i));
    }
    return row;
}

std::vector<double> Shuffled(std::size_t n, std::uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::vector<double> row(n);
    for (double& value : row) {
        value = uniform(generator);
    }
    return row;
}

// The values the selection samples (every n/32-th) are the largest, so its
// bracket lies far above the middle and the whole row must be searched.
std::vector<double> SampleAboveTheMiddle(std::size_t n) {
    std::vector<double> row = Shuffled(n, 7);
    for (std::size_t i = 0; i < n; i += n / 32) {
        row[i] = 1e9 + static_cast<double>(i);
    }
    return row;
}

// Few distinct values, so that the bracket's ends equal the middle.
std::vector<double> ManyTies(std::size_t n) {
    std::vector<double> row(n);
    for (std::size_t i = 0; i < n; ++i) {
        row[i] = static_cast<double>((i * 7) % 3);
    }
    return row;
}

class MedianSelectionOfARow : public ::testing::TestWithParam<RowCase> {};

TEST_P(MedianSelectionOfARow, IsTheMiddleOfTheSortedRow) {
    std::vector<double> sorted = GetParam().row;
    std::ranges::sort(sorted);
    const std::size_t n = sorted.size();

    std::vector<double> row = GetParam().row;
    MedianSelection median;
    const MedianSelection::Middle middle = median.Of(row);
    EXPECT_EQ(middle.Lower, sorted[(n - 1) / 2]);
    EXPECT_EQ(middle.Upper, sorted[n / 2]);
    std::ranges::sort(row);
    EXPECT_EQ(row, sorted) << "the values were reordered, not changed";
}

INSTANTIATE_TEST_SUITE_P(Table, MedianSelectionOfARow,
                         ::testing::Values(RowCase{"OneValue", {3}}, RowCase{"TwoValues", {4, 3}},
                                           RowCase{"FewValues", {5, 1, 4, 2, 3}},
                                           RowCase{"FallingCurveEven", FallingCurve(512)},
                                           RowCase{"FallingCurveOdd", FallingCurve(511)},
                                           RowCase{"ShuffledEven", Shuffled(256, 1)},
                                           RowCase{"ShuffledOdd", Shuffled(257, 2)},
                                           RowCase{"SampleAboveTheMiddle",
                                                   SampleAboveTheMiddle(512)},
                                           RowCase{"ManyTies", ManyTies(512)}),
                         test::CaseName());

// One selection over a run of rows, as a frame run uses it: rows that drift
// a little (the last row's bracket holds the middle), then one far above
// them and one of shuffled values (it misses).
TEST(MedianSelection, FollowsRowsThatDriftAndJump) {
    std::vector<std::vector<double>> rows;
    for (double scale : {1.0, 1.01, 1.03, 1.02, 1000.0}) {
        rows.push_back(FallingCurve(512));
        for (double& value : rows.back()) {
            value *= scale;
        }
    }
    rows.push_back(Shuffled(512, 3));
    rows.push_back(FallingCurve(512));
    MedianSelection median;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<double> sorted = rows[r];
        std::ranges::sort(sorted);
        const MedianSelection::Middle middle = median.Of(rows[r]);
        EXPECT_EQ(middle.Lower, sorted[255]) << "row " << r;
        EXPECT_EQ(middle.Upper, sorted[256]) << "row " << r;
    }
}

}  // namespace
}  // namespace tesmera
