// SPDX-License-Identifier: GPL-3.0-or-later
// File names and numbers through the texts built from them: the grade
// stem, the expert grade, name parts, the fixed and integer number texts,
// the round-trip number text, and the JSON, CSV and terminal texts of names.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "analysis/number_text.h"
#include "analysis/reports.h"
#include "cli/data_text.h"
#include "cli/json_text.h"
#include "cli/terminal_text.h"
#include "cli/utf8_text.h"
#include "fuzz/fuzz_support.h"
#include "wave/errors.h"
#include "wave/file_name.h"

namespace tesmera::fuzz {
namespace {

// A name as the outputs write it: one valid JSON line that keeps its exact
// bytes, a CSV cell a spreadsheet cannot run, a terminal line without
// control characters.
void CheckOutputTexts(std::string_view name) {
    JsonObject record;
    AddText(record, "path", name);
    const nlohmann::json parsed = nlohmann::json::parse(JsonLine(record), nullptr, false);
    Require(!parsed.is_discarded(), "JSON line does not parse");
    Require(parsed["path"].is_string(), "JSON path parses as something else");
    Require(IsValidUtf8(name) ? parsed["path"] == std::string(name) : parsed.contains("path_bytes"),
            "JSON lost the name's bytes");
    std::string cell;
    AppendCsvText(cell, name);
    const std::string_view shown = std::string_view(cell).substr(cell.starts_with('"') ? 1 : 0);
    Require(shown.empty() || std::string_view("=+-@").find(shown.front()) == std::string_view::npos,
            "CSV cell starts a formula");
    for (const char c : TerminalText(name)) {
        Require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F,
                "control character on the terminal");
    }
}

void CheckName(std::string_view name) {
    const std::string part = FileNamePart(name);
    Require(name.ends_with(part), "name part is not the name's end");
    Require(part.find_first_of("/\\:") == std::string::npos, "name part holds a separator");
    const std::string lower = AsciiLower(part);
    Require(lower.size() == part.size(), "lower case changed the length");
    const std::string stem = GradeStem(lower);
    Require(lower.starts_with(stem), "grade stem is not a prefix");
    Require(stem.empty() == lower.empty(), "grade stem empty for a name");
    try {
        const std::int32_t grade = ExpertGradeOf(lower);
        Require(grade >= 0 && grade <= 9, "grade outside 0..9");
    } catch (const ConvertError& error) {
        Require(std::string_view(error.what()).ends_with("is not a valid integer value") ||
                    lower.empty(),
                "unexpected conversion message");
    }
    CheckOutputTexts(name);
}

// Half the last place of the value's 18-significant-digit form. The text
// rounds that form, not the value, so the first rounding may add up to this
// ("…066149" becomes "…06615", whose half then rounds up).
long double EighteenDigitHalfPlace(double value) {
    if (value == 0) {
        return 0;
    }
    const long double exponent = std::floor(std::log10(std::fabs(static_cast<long double>(value))));
    return 0.5L * std::pow(10.0L, exponent - 17);
}

void CheckNumber(double value, int precision, int digits) {
    std::string round;
    AppendRoundTripText(round, value);
    if (std::isfinite(value)) {
        Require(std::strtod(round.c_str(), nullptr) == value, "round-trip text reads back wrong");
        const std::string fixed = FixedText(value, precision, digits, ".");
        Require(!fixed.empty(), "empty fixed text");
        // Read back wider: rounding the largest doubles up ("2E308") leaves
        // the double range but not the long double one.
        // A read-back near 1e15 is itself off by up to 6e-5 (half the long
        // double's step there), which an exact half one place after the point
        // must be allowed ("…088.25" written "…088.3").
        const long double back = std::strtold(fixed.c_str(), nullptr);
        const long double tolerance = std::max(0.5L * std::pow(10.0L, -digits),
                                               std::fabs(value) * std::pow(10.0L, 1 - precision)) +
                                      EighteenDigitHalfPlace(value);
        const long double readBack = std::fabs(back) * std::numeric_limits<long double>::epsilon();
        Require(std::fabs(back - value) <= tolerance * 1.0000001L + readBack,
                "fixed text is not the value");
    }
    const auto whole = static_cast<long long>(std::bit_cast<std::int64_t>(value));
    Require(std::strtoll(IntegerText(whole).c_str(), nullptr, 10) == whole,
            "integer text reads back wrong");
}

}  // namespace
}  // namespace tesmera::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A file name never holds a zero byte, and messages are C strings.
    std::string name(reinterpret_cast<const char*>(data), size);
    std::erase(name, '\0');
    tesmera::fuzz::CheckName(name);
    if (size >= 10) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        tesmera::fuzz::CheckNumber(value, 1 + data[8] % 18, data[9] % 12);
    }
    return 0;
}
