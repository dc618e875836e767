// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/number_text.h"
#include "support/param_name.h"

#include <climits>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace tesmera {
namespace {

TEST(IntegerText, WritesPlainDecimalDigits) {
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(7), "7");
    EXPECT_EQ(IntegerText(-42), "-42");
    EXPECT_EQ(IntegerText(1234567), "1234567");
    EXPECT_EQ(IntegerText(LLONG_MIN), "-9223372036854775808");
}

struct FixedCase {
    const char* name;
    double value;
    int precision;
    int digits;
    const char* separator;
    const char* text;
    friend void PrintTo(const FixedCase& c, std::ostream* os) {
        *os << c.value << " (" << c.precision << ", " << c.digits << ") sep '" << c.separator
            << "'";
    }
};

class FixedTextTable : public testing::TestWithParam<FixedCase> {};

TEST_P(FixedTextTable, WritesTheExpectedText) {
    const FixedCase& c = GetParam();
    EXPECT_EQ(FixedText(c.value, c.precision, c.digits, c.separator), c.text);
}

const double Infinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Rounding, FixedTextTable,
    testing::Values(
        // Halves go away from zero, on exactly representable halves.
        FixedCase{"QuarterUp", 0.25, 8, 1, ".", "0.3"},
        FixedCase{"NegativeQuarterDown", -0.25, 8, 1, ".", "-0.3"},
        FixedCase{"HalfUp", 2.5, 14, 0, ".", "3"},
        FixedCase{"NegativeHalfDown", -2.5, 14, 0, ".", "-3"},
        FixedCase{"EighthUp", 0.125, 10, 2, ".", "0.13"},
        // A half at the seventeenth significant digit, past what a double
        // prints exactly, still goes away from zero.
        FixedCase{"QuarterUpAtSeventeenDigits", 1152667625216088.25, 18, 1, ".",
                  "1152667625216088.3"},
        // 0.15 is stored as 0.1499999999999999944..., and its 18-digit form keeps that.
        FixedCase{"StoredBelowHalf", 0.15, 8, 1, ".", "0.1"},
        // 1.005 is 1.00499999999999989...: the 18-digit form still rounds down.
        FixedCase{"StoredBelowHalfHundredths", 1.005, 14, 2, ".", "1.00"},
        // Carries run through nines into a new leading digit.
        FixedCase{"CarryToTens", 9.96, 8, 1, ".", "10.0"},
        FixedCase{"CarryToThousands", 999.95, 14, 1, ".", "1000.0"},
        FixedCase{"CarryToUnits", 0.96, 8, 1, ".", "1.0"},
        FixedCase{"TwentiethUp", 0.05, 8, 1, ".", "0.1"},
        // The significant-digit limit is coarser than the decimal places here.
        FixedCase{"SignificantDigitLimit", 123456.789, 8, 4, ".", "123456.7900"},
        FixedCase{"SignificantDigitLimitSmall", 0.123456789, 4, 6, ".", "0.123500"}),
    test::CaseName());

INSTANTIATE_TEST_SUITE_P(SignsAndZeros, FixedTextTable,
                         testing::Values(FixedCase{"NegativeRoundsToZero", -0.04, 8, 1, ".", "0.0"},
                                         FixedCase{"NegativeRoundsAway", -0.05, 8, 1, ".", "-0.1"},
                                         FixedCase{"NegativeZero", -0.0, 8, 1, ".", "0.0"},
                                         FixedCase{"ZeroFourPlaces", 0.0, 10, 4, ".", "0.0000"},
                                         FixedCase{"ZeroNoPlaces", 0.0, 14, 0, ".", "0"},
                                         FixedCase{"NegativeToZeroNoPlaces", -0.4, 14, 0, ".", "0"},
                                         FixedCase{"SmallPositive", 0.004, 8, 1, ".", "0.0"},
                                         FixedCase{"Tiny", 1e-300, 10, 4, ".", "0.0000"},
                                         FixedCase{"NegativeExact", -1.5, 8, 1, ".", "-1.5"}),
                         test::CaseName());

INSTANTIATE_TEST_SUITE_P(
    FieldForms, FixedTextTable,
    testing::Values(FixedCase{"MaximumSample", 32767.0, 14, 0, ".", "32767"},
                    FixedCase{"MaximumSampleOnePlace", 32767.0, 14, 1, ".", "32767.0"},
                    FixedCase{"Frequency", 44100.0 / 441.0, 14, 2, ".", "100.00"},
                    FixedCase{"PeriodMilliseconds", 441.0 / 44100.0 * 1000.0, 14, 4, ".",
                              "10.0000"},
                    FixedCase{"ScoreValue", 1.38712345, 10, 4, ".", "1.3871"},
                    FixedCase{"NegativeBeyondSample", -65536.0, 8, 1, ".", "-65536.0"},
                    FixedCase{"EightDigitsOnePlace", 12345678.04, 8, 1, ".", "12345678.0"},
                    FixedCase{"SevenDigitsTwoPlaces", 1234567.0, 14, 2, ".", "1234567.00"}),
    test::CaseName());

INSTANTIATE_TEST_SUITE_P(
    Separators, FixedTextTable,
    testing::Values(FixedCase{"CommaQuarter", 0.25, 8, 1, ",", "0,3"},
                    FixedCase{"CommaNegative", -12.345, 10, 2, ",", "-12,35"},
                    FixedCase{"CommaWhole", 3.0, 14, 0, ",", "3"},
                    // A multi-byte separator (U+066B, Arabic decimal separator).
                    FixedCase{"ArabicSeparator", 1.5, 8, 2, "\u066b", "1\u066b50"},
                    FixedCase{"ArabicNegative", -0.05, 8, 1, "\u066b", "-0\u066b1"},
                    FixedCase{"ArabicScientific", 1234567890123400.0, 14, 2, "\u066b",
                              "1\u066b2345678901234E15"}),
    test::CaseName());

INSTANTIATE_TEST_SUITE_P(
    ScientificFallback, FixedTextTable,
    testing::Values(FixedCase{"TooManyDigits", 1234567890123400.0, 14, 2, ".",
                              "1.2345678901234E15"},
                    FixedCase{"NegativeTooManyDigits", -123456789.0, 8, 1, ".", "-1.2345679E8"},
                    FixedCase{"NineDigitsFit", 123456789.0, 9, 1, ".", "123456789.0"},
                    // Rounding can add the digit that no longer fits.
                    FixedCase{"RoundingAddsDigit", 99.7, 2, 0, ".", "1E2"},
                    FixedCase{"RoundingKeepsDigits", 99.4, 2, 0, ".", "99"},
                    FixedCase{"Huge", 1e20, 14, 4, ".", "1E20"},
                    FixedCase{"Infinity", Infinity, 14, 2, ".", "INF"},
                    FixedCase{"NegativeInfinity", -Infinity, 14, 2, ".", "-INF"},
                    FixedCase{"NotANumber", std::nan(""), 14, 2, ".", "NAN"}),
    test::CaseName());

}  // namespace
}  // namespace tesmera
