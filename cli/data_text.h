// SPDX-License-Identifier: GPL-3.0-or-later
// Texts for machine-readable outputs: independent of the user's locale and
// exact, unlike the window's fixed texts. They are appended to a text being
// built, so a record needs no string per field.
#pragma once

#include <string>
#include <string_view>

namespace tesmera {

// Appends the shortest text that reads back as the same double, with a
// full stop ("0.1", "-3", "1e-07").
void AppendRoundTripText(std::string& text, double value);

// Appends the integer in decimal digits ("-12").
void AppendIntegerText(std::string& text, long long value);

// Appends `text` as one CSV cell: quoted (inner quotes doubled) when it
// holds a comma, a quote or a line break, and led by an apostrophe when a
// spreadsheet would take it for a formula.
void AppendCsvText(std::string& line, std::string_view text);

}  // namespace tesmera
