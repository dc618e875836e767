// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/label_format.h"
#include "support/param_name.h"

#include <gtest/gtest.h>

namespace tesmera {
namespace {

const NumberSeparators English{".", ","};
const NumberSeparators Czech{",", "\u00a0"};

struct FormatCase : test::NamedCase<FormatCase> {
    double value;
    const char* pattern;
    NumberSeparators separators;
    const char* expected;
};

class FormatAxisValueTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatAxisValueTest, WritesThePicture) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatAxisValue(c.value, c.pattern, c.separators), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatAxisValueTest,
    testing::Values(
        FormatCase{"two_decimals", 30, "#,##0.00", English, "30.00"},
        FormatCase{"zero", 0, "#,##0.00", English, "0.00"},
        FormatCase{"fraction_keeps_integer_zero", 0.6, "#,##0.00", English, "0.60"},
        FormatCase{"tiny_negative_is_zero", -2.7755575615628914e-17, "#,##0.00", English, "0.00"},
        FormatCase{"rounds_to_zero_without_sign", -0.004, "#,##0.00", English, "0.00"},
        FormatCase{"negative", -500, "#,##0.00", English, "-500.00"},
        FormatCase{"half_away_from_zero", 0.125, "#,##0.00", English, "0.13"},
        FormatCase{"negative_half_away_from_zero", -0.125, "#,##0.00", English, "-0.13"},
        FormatCase{"carry_into_integer", 9.999, "#,##0.00", English, "10.00"},
        FormatCase{"thousands_grouped", 1234567.891, "#,##0.00", English, "1,234,567.89"},
        FormatCase{"carry_adds_a_group", 999999.999, "#,##0.00", English, "1,000,000.00"},
        FormatCase{"comma_decimal", 0.25, "#,##0.00", Czech, "0,25"},
        FormatCase{"comma_decimal_and_blank_groups", 12345.5, "#,##0.00", Czech, "12\u00a0345,50"},
        FormatCase{"default_whole_number", 19, "#,##0.###", English, "19"},
        FormatCase{"default_drops_trailing_zeros", 2.5, "#,##0.###", English, "2.5"},
        FormatCase{"default_three_decimals", 0.12345, "#,##0.###", English, "0.123"},
        FormatCase{"default_zero", 0, "#,##0.###", English, "0"},
        FormatCase{"default_grouping", 1500, "#,##0.###", English, "1,500"},
        FormatCase{"huge_value", 1e20, "#,##0.00", English, "100,000,000,000,000,000,000.00"}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
