#include "chart/label_format.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tesmera {

namespace {

// What a picture pattern asks for.
struct Picture {
    int MinIntegerDigits = 0;
    int MinDecimals = 0;
    int MaxDecimals = 0;
    bool Grouped = false;
};

Picture ParsePicture(const QString& pattern) {
    Picture picture;
    bool afterPoint = false;
    for (const QChar c : pattern) {
        if (c == u'.') {
            afterPoint = true;
        } else if (c == u',' && !afterPoint) {
            picture.Grouped = true;
        } else if (c == u'0') {
            afterPoint ? (++picture.MinDecimals, ++picture.MaxDecimals)
                       : ++picture.MinIntegerDigits;
        } else if (c == u'#' && afterPoint) {
            ++picture.MaxDecimals;
        }
    }
    return picture;
}

// The magnitude of a value as plain decimal digits, split at the decimal point,
// taken from its 18-significant-digit form.
struct DecimalDigits {
    std::string Integer;
    std::string Fraction;
};

DecimalDigits ToDecimalDigits(double magnitude) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", static_cast<long double>(magnitude));
    const std::string text(buffer);
    const std::size_t exponentAt = text.find('e');
    const std::string mantissa = text.substr(0, 1) + text.substr(2, exponentAt - 2);
    const int integerCount = std::atoi(text.c_str() + exponentAt + 1) + 1;

    DecimalDigits digits;
    if (integerCount <= 0) {
        digits.Fraction = std::string(static_cast<std::size_t>(-integerCount), '0') + mantissa;
    } else if (static_cast<std::size_t>(integerCount) >= mantissa.size()) {
        digits.Integer = mantissa + std::string(integerCount - mantissa.size(), '0');
    } else {
        digits.Integer = mantissa.substr(0, integerCount);
        digits.Fraction = mantissa.substr(integerCount);
    }
    return digits;
}

// Adds one unit to the last digit, carrying leftward; returns the carry out.
bool IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

// Rounds to the given number of decimals, a half going away from zero.
void RoundDecimals(DecimalDigits& digits, int decimals) {
    const auto keep = static_cast<std::size_t>(decimals);
    if (digits.Fraction.size() <= keep) {
        return;
    }
    const bool roundUp = digits.Fraction[keep] >= '5';
    digits.Fraction.resize(keep);
    if (roundUp && IncrementDigits(digits.Fraction) && IncrementDigits(digits.Integer)) {
        digits.Integer.insert(digits.Integer.begin(), '1');
    }
}

std::string GroupThousands(const std::string& integer, const std::string& separator) {
    std::string grouped;
    const std::size_t count = integer.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) {
            grouped += separator;
        }
        grouped += integer[i];
    }
    return grouped;
}

bool AllZero(const std::string& digits) {
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
}

}  // namespace

NumberSeparators LocaleNumberSeparators() {
    const QLocale locale;
    return {locale.decimalPoint(), locale.groupSeparator()};
}

QString FormatAxisValue(double value, const QString& pattern, const NumberSeparators& separators) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    const Picture picture = ParsePicture(pattern);
    DecimalDigits digits = ToDecimalDigits(std::abs(value));
    RoundDecimals(digits, picture.MaxDecimals);
    const bool negative = value < 0 && !(AllZero(digits.Integer) && AllZero(digits.Fraction));

    std::string& integer = digits.Integer;
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    if (integer.size() < static_cast<std::size_t>(picture.MinIntegerDigits)) {
        integer.insert(0, picture.MinIntegerDigits - integer.size(), '0');
    }
    std::string& fraction = digits.Fraction;
    while (fraction.size() > static_cast<std::size_t>(picture.MinDecimals) &&
           fraction.back() == '0') {
        fraction.pop_back();
    }
    if (fraction.size() < static_cast<std::size_t>(picture.MinDecimals)) {
        fraction.append(picture.MinDecimals - fraction.size(), '0');
    }

    std::string text = negative ? "-" : "";
    text += picture.Grouped ? GroupThousands(integer, separators.Thousands.toStdString()) : integer;
    if (!fraction.empty()) {
        text += separators.Decimal.toStdString() + fraction;
    }
    return QString::fromStdString(text);
}

}  // namespace tesmera
