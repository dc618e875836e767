// SPDX-License-Identifier: GPL-3.0-or-later
// Lets GoogleTest print Qt strings as text in failure messages.
#pragma once

#include <ostream>

#include <QString>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
