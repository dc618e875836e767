// Texts for machine-readable outputs: independent of the user's locale and
// exact, unlike the window's fixed texts.
#pragma once

#include <string>
#include <string_view>

namespace tesmera {

// Shortest text that reads back as the same double, with a full stop
// ("0.1", "-3", "1e-07").
std::string RoundTripText(double value);

// A CSV field: the text itself, or quoted (inner quotes doubled) when it
// holds a comma, a quote or a line break.
std::string CsvText(std::string_view text);

// A text in JSON string form, quotes included; control characters escaped.
std::string JsonString(std::string_view text);

}  // namespace tesmera
