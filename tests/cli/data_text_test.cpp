// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/data_text.h"

#include <cfloat>
#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

std::string RoundTripText(double value) {
    std::string text;
    AppendRoundTripText(text, value);
    return text;
}

TEST(RoundTripText, ShortestDecimalWithAFullStop) {
    EXPECT_EQ(RoundTripText(0.1), "0.1");
    EXPECT_EQ(RoundTripText(-3), "-3.0");
    EXPECT_EQ(RoundTripText(0), "0.0");
    EXPECT_EQ(RoundTripText(1e22), "1e+22");
    EXPECT_EQ(RoundTripText(1.0 / 3), "0.3333333333333333");
    EXPECT_EQ(RoundTripText(1e-7), "1e-07");
}

TEST(RoundTripText, TheLongestNumbersFitAndAreAppendedAfterWhatIsThere) {
    std::string text = "x,";
    AppendRoundTripText(text, -DBL_MIN);  // 17 digits and a three-digit exponent
    text += ',';
    AppendIntegerText(text, LLONG_MIN);
    EXPECT_EQ(text, "x,-2.2250738585072014e-308,-9223372036854775808");
}

}  // namespace
}  // namespace tesmera
