// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/file_name.h"

#include <algorithm>

namespace tesmera {

std::string FileNamePart(std::string_view path) {
    const std::size_t lastSeparator = path.find_last_of("\\/:");
    return std::string(lastSeparator == std::string_view::npos ? path
                                                               : path.substr(lastSeparator + 1));
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

}  // namespace tesmera
