#include "cli/data_text.h"

#include <array>
#include <charconv>

namespace tesmera {

std::string RoundTripText(double value) {
    std::array<char, 32> buffer;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return std::string(buffer.data(), end);
}

}  // namespace tesmera
