#include "cli/data_text.h"

#include <gtest/gtest.h>

namespace tesmera {
namespace {

TEST(RoundTripText, ShortestDecimalWithAFullStop) {
    EXPECT_EQ(RoundTripText(0.1), "0.1");
    EXPECT_EQ(RoundTripText(-3), "-3");
    EXPECT_EQ(RoundTripText(1.0 / 3), "0.3333333333333333");
    EXPECT_EQ(RoundTripText(1e-7), "1e-07");
}

}  // namespace
}  // namespace tesmera
