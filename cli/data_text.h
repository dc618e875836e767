// Texts for machine-readable outputs: independent of the user's locale and
// exact, unlike the window's fixed texts. They are appended to a text being
// built, so a record needs no string per field.
#pragma once

#include <string>

namespace tesmera {

// Appends the shortest text that reads back as the same double, with a
// full stop ("0.1", "-3", "1e-07").
void AppendRoundTripText(std::string& text, double value);

// Appends the integer in decimal digits ("-12").
void AppendIntegerText(std::string& text, long long value);

}  // namespace tesmera
