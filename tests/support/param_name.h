// Pieces of parameterised test names made from numbers. A test name may hold
// letters, digits and underscores only, so "0.75" becomes "0_75" and "-2"
// becomes "Minus2".
#pragma once

#include <sstream>
#include <string>

namespace tesmera::test {

inline std::string NameOf(double value) {
    std::ostringstream text;
    text << value;
    std::string name;
    for (const char c : text.str()) {
        if (c == '-') {
            name += "Minus";
        } else if (c == '.') {
            name += '_';
        } else {
            name += c;
        }
    }
    return name;
}

}  // namespace tesmera::test
