// SPDX-License-Identifier: GPL-3.0-or-later
// The generated voices `tesmera-cli report` is cross-checked on against the
// peer voice tool: the suite's table and tools/praat_crosscheck.py's default
// set are this one list.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/sustained_vowel.h"

namespace tesmera::tools {

struct CrossCheckVoice {
    std::string Name;  // letters and digits, never a digit last (that would read as a grade)
    std::string Kind;  // what the voice stands for: "steady", "rough", "tremor", ...
    VowelRecipe Recipe;
};

// Two seconds of voice each, across the kinds, F0s and rates a clinic meets.
std::vector<CrossCheckVoice> CrossCheckVoices();

// Writes every voice of the set as "<Kind>-<Name>.wav" into `folder`, which
// must exist.
void WriteCrossCheckVoices(const std::filesystem::path& folder);

}  // namespace tesmera::tools
