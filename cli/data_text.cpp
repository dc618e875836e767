// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/data_text.h"

#include <array>
#include <charconv>
#include <string_view>

namespace tesmera {

namespace {

template <typename T>
void AppendChars(std::string& text, T value) {
    std::array<char, 32> buffer;  // the longest double takes 24
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    text.append(buffer.data(), end);
}

// A spreadsheet opening the file would take a cell starting with one of
// these as a formula (a name such as "=HYPERLINK(...).wav" runs as one), so
// such a text cell starts with an apostrophe, which shows the text as it
// is. Numbers are appended as numbers and never pass through here.
constexpr std::string_view FormulaStarts = "=+-@\t\r";

}  // namespace

void AppendRoundTripText(std::string& text, double value) {
    const std::size_t start = text.size();
    AppendChars(text, value);
    // A whole number keeps a fraction, so a reader that guesses a column's
    // type from its cells (pandas, a spreadsheet) takes it as a real number
    // like the rest of its column, never as an integer.
    if (text.find_first_of(".en", start) == std::string::npos) {
        text += ".0";
    }
}

void AppendIntegerText(std::string& text, long long value) {
    AppendChars(text, value);
}

void AppendCsvText(std::string& line, std::string_view text) {
    const bool formula =
        !text.empty() && FormulaStarts.find(text.front()) != std::string_view::npos;
    const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quoted) {
        line += '"';
    }
    if (formula) {
        line += '\'';
    }
    for (const char c : text) {
        line += c;
        if (quoted && c == '"') {
            line += '"';
        }
    }
    if (quoted) {
        line += '"';
    }
}

}  // namespace tesmera
