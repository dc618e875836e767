// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one sustained vowel of known perturbation as 16-bit PCM WAV, to try
// `tesmera-cli report` on a voice whose jitter, shimmer and noise are known.
//
// Usage: make_vowel OUT.wav RATE F0 JITTER% SHIMMER% HNR_DB SECONDS [SEED]
//   e.g. make_vowel /tmp/rough_g4.wav 44100 130 1.5 6 8 3

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "tools/sustained_vowel.h"

int main(int argc, char** argv) {
    if (argc != 8 && argc != 9) {
        std::cerr << "usage: make_vowel OUT.wav RATE F0 JITTER% SHIMMER% HNR_DB SECONDS [SEED]\n";
        return 2;
    }
    try {
        tesmera::tools::VowelRecipe recipe;
        recipe.Rate = std::stoi(argv[2]);
        recipe.F0 = std::stod(argv[3]);
        recipe.Jitter = std::stod(argv[4]) / 100;
        recipe.Shimmer = std::stod(argv[5]) / 100;
        recipe.HnrDb = std::stod(argv[6]);
        recipe.Seconds = std::stod(argv[7]);
        if (argc == 9) {
            recipe.Seed = static_cast<std::uint32_t>(std::stoul(argv[8]));
        }
        tesmera::tools::WriteVowel(argv[1], tesmera::tools::GenerateVowel(recipe));
    } catch (const std::exception& error) {
        std::cerr << "make_vowel: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
