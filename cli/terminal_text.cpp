// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/terminal_text.h"

#include <array>
#include <cstdio>

#include "cli/utf8_text.h"

namespace tesmera {

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
    switch (byte) {
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            std::array<char, 5> escape;
            std::snprintf(escape.data(), escape.size(), "\\x%02X", byte);
            out += escape.data();
    }
}

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// U+0080..U+009F, encoded as C2 80..C2 9F.
bool IsC1Control(std::string_view sequence) {
    return sequence.size() == 2 && static_cast<unsigned char>(sequence[0]) == 0xC2 &&
           static_cast<unsigned char>(sequence[1]) <= 0x9F;
}

}  // namespace

std::string TerminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        const std::string_view sequence = text.substr(at, length);
        if (length == 0 || IsC1Control(sequence) ||
            (length == 1 && IsControl(static_cast<unsigned char>(text[at])))) {
            const std::size_t escaped = length == 0 ? 1 : length;
            for (std::size_t i = 0; i < escaped; ++i) {
                AppendEscaped(out, static_cast<unsigned char>(text[at + i]));
            }
            at += escaped;
        } else {
            out += sequence;
            at += length;
        }
    }
    return out;
}

std::string TerminalLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n' || c == '\t') {
            c = ' ';
        }
    }
    return TerminalText(line);
}

}  // namespace tesmera
