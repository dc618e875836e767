// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/json_text.h"

#include "cli/data_text.h"
#include "cli/utf8_text.h"

namespace tesmera {

namespace {

std::string HexBytes(std::string_view bytes) {
    constexpr std::string_view digits = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += digits[byte >> 4];
        hex += digits[byte & 0x0F];
    }
    return hex;
}

}  // namespace

void AddText(JsonObject& object, std::string_view name, std::string_view text) {
    object[std::string(name)] = std::string(text);
    if (!IsValidUtf8(text)) {
        object[std::string(name) + "_bytes"] = HexBytes(text);
    }
}

std::string JsonLine(const JsonObject& value) {
    return value.dump(-1, ' ', false, JsonObject::error_handler_t::replace);
}

std::string CsvCellOf(const JsonObject& value) {
    std::string text;
    if (value.is_string()) {
        AppendCsvText(text, value.get<std::string>());
    } else if (value.is_boolean()) {
        text = value.get<bool>() ? "true" : "false";
    } else if (value.is_number_float()) {
        AppendRoundTripText(text, value.get<double>());
    } else if (!value.is_null()) {
        text = value.dump();
    }
    return text;
}

}  // namespace tesmera
