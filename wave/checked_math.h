// SPDX-License-Identifier: GPL-3.0-or-later
// Arithmetic that raises FloatingPointError where IEEE 754 would quietly
// produce an infinity or a NaN. Used at the operations whose operands can
// come from a user's file (scales, roots, logarithms); everything else is
// plain arithmetic.
#pragma once

#include <cmath>

#include "wave/errors.h"

namespace tesmera {

// Finite results pass; anything else raises the error that matches its cause.
inline long double CheckedResult(long double result) {
    if (std::isnan(result)) {
        throw FloatingPointError(FloatingPointError::Kind::InvalidOperation);
    }
    if (std::isinf(result)) {
        throw FloatingPointError(FloatingPointError::Kind::Overflow);
    }
    return result;
}

// 0/0 is an invalid operation; any other x/0 is a division by zero.
inline long double CheckedDivide(long double numerator, long double denominator) {
    if (denominator == 0.0L) {
        throw FloatingPointError(numerator == 0.0L || std::isnan(numerator)
                                     ? FloatingPointError::Kind::InvalidOperation
                                     : FloatingPointError::Kind::DivisionByZero);
    }
    return CheckedResult(numerator / denominator);
}

inline long double CheckedSqrt(long double value) {
    if (value < 0.0L) {
        throw FloatingPointError(FloatingPointError::Kind::InvalidOperation);
    }
    return CheckedResult(std::sqrt(value));
}

// ln 0 is a division by zero (the result would be -infinity); ln of a negative
// value is an invalid operation.
inline long double CheckedLog(long double value) {
    if (value == 0.0L) {
        throw FloatingPointError(FloatingPointError::Kind::DivisionByZero);
    }
    if (value < 0.0L) {
        throw FloatingPointError(FloatingPointError::Kind::InvalidOperation);
    }
    return CheckedResult(std::log(value));
}

}  // namespace tesmera
