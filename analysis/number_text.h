// SPDX-License-Identifier: GPL-3.0-or-later
// The two number-to-text forms that every value field, report and table
// uses, and the decimal rounding beneath them that the chart's labels share.
// Plain functions of the value and the formatting settings: the caller
// reads the regional decimal separator and passes it in, so the rules can be
// tested without a locale.
#pragma once

#include <string>
#include <string_view>

namespace tesmera {

// A decimal number 0.d1d2d3... x 10^exponent, so `exponent` is the number of
// digits before the decimal point when it is positive. An empty digit string
// is zero.
struct DecimalForm {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool IsZero() const { return digits.empty(); }
    // Digit at a place counted from the first significant digit; zeros
    // outside the stored digits.
    char DigitAt(int place) const {
        return place >= 0 && place < static_cast<int>(digits.size()) ? digits[place] : '0';
    }
};

// The value's 18-significant-digit form, correctly rounded and independent of
// the process locale. The value must be finite.
DecimalForm EighteenDigitForm(double value);

// Keeps the first `keep` significant digits, rounding a half away from zero;
// a carry out of the first digit raises the exponent. Trailing zeros are
// dropped, so a result of zero has no digits. Keeping fewer than none gives
// zero.
void RoundToDigits(DecimalForm& form, int keep);

// Decimal digits with a leading "-" for negative values; no blanks, no
// leading zeros, no thousands separators.
std::string IntegerText(long long value);

// The value with exactly `digits` digits after `decimalSeparator` (no
// separator when `digits` is 0) and at most `precision` significant digits
// (1..18); the missing places are written as zeros.
//
// Rounding starts from the value's 18-significant-digit decimal form and
// sends a remaining half away from zero: 0.25 with one digit gives "0.3".
// At least one digit stands before the separator; a value that rounds to zero
// carries no minus sign (-0.04 with one digit gives "0.0").
//
// When the rounded integer part needs more than `precision` digits the value
// is written in general scientific form instead: the significant digits
// rounded to `precision`, trailing zeros dropped, the separator only after a
// first digit that has followers, then "E" and the decimal exponent with a
// "-" only when negative. So 1234567890123400 with precision 14 gives
// "1.2345678901234E15" and 100 with precision 2 gives "1E2".
//
// Not-a-number and infinities, which checked arithmetic keeps out of every
// field, are written "NAN", "INF" and "-INF".
std::string FixedText(double value, int precision, int digits, std::string_view decimalSeparator);

}  // namespace tesmera
