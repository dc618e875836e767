// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_math.h"
#include "support/param_name.h"

#include <gtest/gtest.h>

namespace tesmera {
namespace {

struct MulDivCase : test::NamedCase<MulDivCase> {
    int a, b, c, expected;
};

class MulDivTest : public testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsHalvesAwayFromZero) {
    const MulDivCase& value = GetParam();
    EXPECT_EQ(MulDiv(value.a, value.b, value.c), value.expected)
        << value.a << " * " << value.b << " / " << value.c;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MulDivTest,
    testing::Values(MulDivCase{"RoundsDown", 3, 378, 100, 11},                // 11.34
                    MulDivCase{"Exact", 4, 125, 100, 5},                      // 5.0
                    MulDivCase{"HalfUp", 5, 1, 2, 3},                         // 2.5 up
                    MulDivCase{"NegativeHalfDown", -5, 1, 2, -3},             // -2.5 down
                    MulDivCase{"NegativeDivisor", 5, 1, -2, -3},              // divisor's sign too
                    MulDivCase{"TwoNegativeFactors", -5, -1, 2, 3},           // 2.5
                    MulDivCase{"NegativeRoundsUp", -7, 1, 3, -2},             // -2.33
                    MulDivCase{"NegativeRoundsDown", -8, 1, 3, -3},           // -2.67
                    MulDivCase{"HalfUpNotToEven", 7, 1, 2, 4},                // 3.5 up, not to even
                    MulDivCase{"NegativeSmallFraction", 1, -255, 124, -2},    // -2.06
                    MulDivCase{"WideProduct", 2000000000, 3, 4, 1500000000},  // 64-bit product
                    MulDivCase{"ZeroDivisor", 9, 9, 0, 0}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
