// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 as the outputs check it: file names on Linux are bytes, and only
// some byte strings are text.
#pragma once

#include <cstddef>
#include <string_view>

namespace tesmera {

// Length in bytes (1..4) of the well-formed UTF-8 sequence that starts at
// text[at], or 0 when the bytes there are not one (a stray continuation
// byte, an overlong form, a surrogate, a code point above U+10FFFF, a cut
// sequence). Requires at < text.size().
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// True when the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace tesmera
