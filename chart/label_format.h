// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts of the axis labels, written with the small picture patterns the
// axes store ("#,##0.00", "#,##0.###").
#pragma once

#include <QString>

namespace tesmera {

// The decimal point and thousands separator a label is written with. The
// chart has no locale of its own: its owner passes them in.
struct NumberSeparators {
    QString Decimal = QStringLiteral(".");
    QString Thousands = QStringLiteral(",");

    friend bool operator==(const NumberSeparators&, const NumberSeparators&) = default;
};

// Writes value by a picture pattern: "0" a digit always written, "#" a digit
// written only when significant, "," before the decimal point asks for the
// integer digits grouped in threes, "." the decimal point. The value is rounded
// to the last decimal place of the pattern with halves away from zero on its
// 18-digit decimal form, the same rounding as every other number text. A value that rounds to zero
// is written without a sign, so a label at 0 reached by repeated subtraction reads "0.00". An
// infinity or NaN has no digits and is written as "inf" or "nan".
QString FormatAxisValue(double value, const QString& pattern, const NumberSeparators& separators);

}  // namespace tesmera
