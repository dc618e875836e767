// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a generated set of one-period voice files for comparing two builds
// of the analysis (see tools/period_sets.h for the two sets):
//
//   make_periods varied <folder> [count] [seed]   (compare_builds.sh)
//   make_periods kernel <folder> [count] [seed]   (compare_within_rounding.sh)
//
// The count defaults to 1200 and the seed to 1.
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>

#include "tools/period_sets.h"

int main(int argc, char** argv) {
    const std::string_view set = argc > 1 ? argv[1] : "";
    if (argc < 3 || argc > 5 || (set != "varied" && set != "kernel")) {
        std::cerr << "usage: make_periods varied|kernel <folder> [count] [seed]\n";
        return 2;
    }
    try {
        const int count = argc > 3 ? std::stoi(argv[3]) : 1200;
        const auto seed = static_cast<std::uint32_t>(argc > 4 ? std::stoul(argv[4]) : 1);
        if (set == "varied") {
            tesmera::period_sets::WriteVariedFiles(argv[2], count, seed);
        } else {
            tesmera::period_sets::WriteKernelFamilies(argv[2], count, seed);
        }
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "make_periods: " << error.what() << "\n";
        return 1;
    }
}
