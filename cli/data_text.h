// Texts for machine-readable outputs: independent of the user's locale and
// exact, unlike the window's fixed texts.
#pragma once

#include <string>
#include <string_view>

namespace tesmera {

// Shortest text that reads back as the same double, with a full stop
// ("0.1", "-3", "1e-07").
std::string RoundTripText(double value);

}  // namespace tesmera
