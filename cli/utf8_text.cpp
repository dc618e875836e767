// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/utf8_text.h"

namespace tesmera {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The allowed range of the second byte after a given lead byte, which rules
// out overlong forms, surrogates and code points above U+10FFFF.
struct SecondByteRange {
    unsigned char low;
    unsigned char high;
};

SecondByteRange SecondByteAfter(unsigned char lead) {
    switch (lead) {
        case 0xE0:
            return {0xA0, 0xBF};
        case 0xED:
            return {0x80, 0x9F};
        case 0xF0:
            return {0x90, 0xBF};
        case 0xF4:
            return {0x80, 0x8F};
        default:
            return {0x80, 0xBF};
    }
}

std::size_t ExpectedLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = ExpectedLength(lead);
    if (length <= 1) {
        return length;
    }
    if (text.size() - at < length) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(text[at + 1]);
    const SecondByteRange range = SecondByteAfter(lead);
    if (second < range.low || second > range.high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsContinuation(static_cast<unsigned char>(text[at + i]))) {
            return 0;
        }
    }
    return length;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

}  // namespace tesmera
