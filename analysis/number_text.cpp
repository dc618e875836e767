// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tesmera {

namespace {

// The widest decimal form that rounding starts from.
constexpr int SignificantDigits = 18;

}  // namespace

DecimalForm EighteenDigitForm(double value) {
    DecimalForm form;
    form.negative = std::signbit(value);
    if (value == 0.0) {
        return form;
    }
    // "d.ddddddddddddddddde-xx": one digit, the point, 17 digits, the exponent.
    std::array<char, 32> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::scientific, SignificantDigits - 1);
    const std::string_view text(buffer.data(), result.ptr - buffer.data());
    const std::size_t exponentMark = text.find('e');
    form.digits.push_back(text[0]);
    form.digits.append(text.substr(2, exponentMark - 2));
    form.exponent = std::atoi(text.data() + exponentMark + 1) + 1;
    return form;
}

void RoundToDigits(DecimalForm& form, int keep) {
    if (keep >= static_cast<int>(form.digits.size())) {
        return;
    }
    if (keep < 0) {
        form.digits.clear();
        return;
    }
    const bool roundUp = form.digits[keep] >= '5';
    form.digits.resize(keep);
    if (roundUp) {
        int place = keep - 1;
        while (place >= 0 && form.digits[place] == '9') {
            form.digits[place--] = '0';
        }
        if (place >= 0) {
            ++form.digits[place];
        } else {
            form.digits.insert(form.digits.begin(), '1');
            ++form.exponent;
        }
    }
    while (!form.digits.empty() && form.digits.back() == '0') {
        form.digits.pop_back();
    }
}

namespace {

std::string SignOf(const DecimalForm& form) {
    return form.negative && !form.IsZero() ? "-" : "";
}

std::string ScientificText(const DecimalForm& form, std::string_view decimalSeparator) {
    std::string text = SignOf(form);
    text.push_back(form.digits.front());
    if (form.digits.size() > 1) {
        text.append(decimalSeparator);
        text.append(form.digits, 1);
    }
    text.push_back('E');
    text.append(IntegerText(form.exponent - 1));
    return text;
}

std::string PositionalText(const DecimalForm& form, int digits, std::string_view decimalSeparator) {
    std::string text = SignOf(form);
    if (form.IsZero() || form.exponent <= 0) {
        text.push_back('0');
    } else {
        for (int place = 0; place < form.exponent; ++place) {
            text.push_back(form.DigitAt(place));
        }
    }
    if (digits > 0) {
        text.append(decimalSeparator);
        for (int place = form.exponent; place < form.exponent + digits; ++place) {
            text.push_back(form.DigitAt(place));
        }
    }
    return text;
}

}  // namespace

std::string IntegerText(long long value) {
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string FixedText(double value, int precision, int digits, std::string_view decimalSeparator) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    precision = std::clamp(precision, 1, SignificantDigits);
    digits = std::max(digits, 0);

    DecimalForm form = EighteenDigitForm(value);
    // The last kept digit is the coarser of the two limits: `digits` places
    // after the point, or `precision` significant digits.
    RoundToDigits(form, std::min(precision, form.exponent + digits));
    if (!form.IsZero() && form.exponent > precision) {
        return ScientificText(form, decimalSeparator);
    }
    return PositionalText(form, digits, decimalSeparator);
}

}  // namespace tesmera
