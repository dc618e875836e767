#include "cli/data_text.h"

#include <array>
#include <charconv>

namespace tesmera {

namespace {

template <typename T>
void AppendChars(std::string& text, T value) {
    std::array<char, 32> buffer;  // the longest double takes 24
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    text.append(buffer.data(), end);
}

}  // namespace

void AppendRoundTripText(std::string& text, double value) {
    AppendChars(text, value);
}

void AppendIntegerText(std::string& text, long long value) {
    AppendChars(text, value);
}

}  // namespace tesmera
