// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_logarithm.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

// Within one unit in the last place of std::log over the whole exponent
// range and densely around 1, where the series is most exercised; rows of
// every length up to 9, so that each width's tail is taken.
TEST(NaturalLogarithms, AreWithinOneUnitInTheLastPlace) {
    std::vector<double> values;
    for (double x = DBL_MIN; x < DBL_MAX / 1.37; x *= 1.37) {
        values.push_back(x);
    }
    for (int i = -2000; i <= 2000; ++i) {
        values.push_back(1 + 1e-4 * i);
        values.push_back(std::sqrt(0.5) + 1e-16 * i);
    }
    for (std::size_t length = 0; length <= 9; ++length) {
        values.resize(values.size() + 1, 2.5);  // odd totals too
        std::vector<double> logs(values.size());
        NaturalLogarithms(values, logs);
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double exact = std::log(values[i]);
            const double unit = std::nextafter(std::fabs(exact), INFINITY) - std::fabs(exact);
            ASSERT_LE(std::fabs(logs[i] - exact), unit) << "ln " << values[i];
        }
    }
}

TEST(NaturalLogarithms, LeaveOtherValuesToTheLibrary) {
    constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> values{2, 0, 4.9e-324, -1, INFINITY, Nan, 1e-310, 3};
    std::vector<double> logs(values.size());
    NaturalLogarithms(values, logs);
    EXPECT_EQ(logs[1], -INFINITY);
    EXPECT_EQ(logs[2], std::log(4.9e-324));
    EXPECT_TRUE(std::isnan(logs[3]));
    EXPECT_EQ(logs[4], INFINITY);
    EXPECT_TRUE(std::isnan(logs[5]));
    EXPECT_EQ(logs[6], std::log(1e-310));
    EXPECT_NEAR(logs[7], std::log(3.0), 1e-15);
}

}  // namespace
}  // namespace tesmera
