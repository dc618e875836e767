// SPDX-License-Identifier: GPL-3.0-or-later
// Names and other outside texts as the command line prints them for a
// person: a file name may hold escape sequences or line breaks that would
// otherwise move the cursor, recolour or rewrite the terminal.
#pragma once

#include <string>
#include <string_view>

namespace tesmera {

// The text with every control character written out: "\n", "\r", "\t", and
// "\xNN" for the other C0 controls, DEL, the C1 controls (U+0080..U+009F)
// and bytes that are not well-formed UTF-8. Printable UTF-8 is kept as is,
// so an ordinary name prints unchanged.
std::string TerminalText(std::string_view text);

// A message for one line of a table: its line breaks and tabs (the
// window's texts have some) become blanks, then TerminalText.
std::string TerminalLine(std::string_view text);

}  // namespace tesmera
