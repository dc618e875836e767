// SPDX-License-Identifier: GPL-3.0-or-later
// Small text helpers for showing a voice file's name.
#pragma once

#include <string>
#include <string_view>

namespace tesmera {

// The text after the last '\\', '/' or ':' (extension included); the whole
// path when it has none of them.
std::string FileNamePart(std::string_view path);

// Only the ASCII letters A to Z change; every other byte (also UTF-8) stays.
std::string AsciiLower(std::string_view text);

}  // namespace tesmera
