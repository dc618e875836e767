// Number texts of the axis labels, written with the small picture patterns the
// axes store ("#,##0.00", "#,##0.###").
#pragma once

#include <QString>

namespace tesmera {

// The locale's separators, passed in so that a test can pick them.
struct NumberSeparators {
    QString Decimal;
    QString Thousands;
};

// The separators of the current default locale (the system's unless a test
// chose another with QLocale::setDefault), read afresh on every call.
NumberSeparators LocaleNumberSeparators();

// Writes value by a picture pattern: "0" a digit always written, "#" a digit
// written only when significant, "," before the decimal point asks for the
// integer digits grouped in threes, "." the decimal point. The value is rounded
// to the last decimal place of the pattern with halves away from zero (on its
// 18-digit decimal form). A value that rounds to zero is written without a
// sign, so a label at 0 reached by repeated subtraction reads "0.00". An
// infinity or NaN has no digits and is written as "inf" or "nan".
QString FormatAxisValue(double value, const QString& pattern, const NumberSeparators& separators);

}  // namespace tesmera
