// SPDX-License-Identifier: GPL-3.0-or-later
// Little-endian integers as the WAV format stores them. The conversions work
// on bytes, so they hold on any host byte order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tesmera {

// The unsigned value of bytes[0..N), least significant byte first.
template <std::size_t N>
constexpr std::uint32_t DecodeUnsignedLE(std::span<const std::byte, N> bytes) {
    static_assert(N >= 1 && N <= 4);
    std::uint32_t value = 0;
    for (std::size_t i = N; i-- > 0;) {
        value = (value << 8) | std::to_integer<std::uint32_t>(bytes[i]);
    }
    return value;
}

// Signed values are two's complement; the narrowing conversion is modular.
constexpr std::int16_t DecodeInt16LE(std::span<const std::byte, 2> bytes) {
    return static_cast<std::int16_t>(DecodeUnsignedLE(bytes));
}

constexpr std::int32_t DecodeInt32LE(std::span<const std::byte, 4> bytes) {
    return static_cast<std::int32_t>(DecodeUnsignedLE(bytes));
}

// Appends the `byteCount` low bytes of `value`, least significant first.
inline void AppendLE(std::vector<std::byte>& out, std::uint32_t value, std::size_t byteCount) {
    for (std::size_t i = 0; i < byteCount; ++i) {
        out.push_back(static_cast<std::byte>((value >> (8 * i)) & 0xFFu));
    }
}

}  // namespace tesmera
