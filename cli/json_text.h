// SPDX-License-Identifier: GPL-3.0-or-later
// JSON for the machine-readable outputs: always valid UTF-8, whatever bytes
// a file name holds.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace tesmera {

using JsonObject = nlohmann::ordered_json;  // keys stay in the order added

// Sets object[name] to the text. A text that is not well-formed UTF-8 (a
// Linux file name may be any bytes) is stored with U+FFFD for each bad
// byte when written, and its exact bytes go beside it as lowercase hex in
// object[name + "_bytes"] ("path_bytes"), so no information is lost.
void AddText(JsonObject& object, std::string_view name, std::string_view text);

// The value on one line, without a line end; bytes that are not UTF-8 are
// written as U+FFFD.
std::string JsonLine(const JsonObject& value);

// A scalar JSON value as one CSV cell: a text as CsvLine::AddText writes
// it, true and false as such, a double as its shortest round-trip text,
// null as nothing.
std::string CsvCellOf(const JsonObject& value);

}  // namespace tesmera
