// SPDX-License-Identifier: GPL-3.0-or-later
// Names for parameterised tests. A test name may hold letters, digits and
// underscores only, so "0.75" becomes "0_75" and "-2" becomes "Minus2".
#pragma once

#include <gtest/gtest.h>

#include <ostream>
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

// The base of a table's case: its readable `name` names the test (see
// CaseName) and is what a failure prints for the case, instead of its bytes.
// Cases stay aggregates: Case{"name", fields...}.
template <class Case>
struct NamedCase {
    std::string name;

    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

// The name generator of every table whose cases carry a `name` field.
struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return std::string(info.param.name);
    }
};

}  // namespace tesmera::test
