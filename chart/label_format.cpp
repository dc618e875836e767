// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/label_format.h"

#include <cmath>
#include <string>

#include "analysis/number_text.h"

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

}  // namespace

QString FormatAxisValue(double value, const QString& pattern, const NumberSeparators& separators) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    const Picture picture = ParsePicture(pattern);
    DecimalForm form = EighteenDigitForm(value);
    RoundToDigits(form, form.exponent + picture.MaxDecimals);
    const bool negative = value < 0 && !form.IsZero();

    std::string integer;
    for (int place = 0; place < form.exponent; ++place) {
        integer.push_back(form.DigitAt(place));
    }
    if (integer.size() < static_cast<std::size_t>(picture.MinIntegerDigits)) {
        integer.insert(0, picture.MinIntegerDigits - integer.size(), '0');
    }
    std::string fraction;
    for (int place = form.exponent; place < form.exponent + picture.MaxDecimals; ++place) {
        fraction.push_back(form.DigitAt(place));
    }
    while (fraction.size() > static_cast<std::size_t>(picture.MinDecimals) &&
           fraction.back() == '0') {
        fraction.pop_back();
    }

    std::string text = negative ? "-" : "";
    text += picture.Grouped ? GroupThousands(integer, separators.Thousands.toStdString()) : integer;
    if (!fraction.empty()) {
        text += separators.Decimal.toStdString() + fraction;
    }
    return QString::fromStdString(text);
}

}  // namespace tesmera
