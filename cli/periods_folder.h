// SPDX-License-Identifier: GPL-3.0-or-later
// The folder `report --periods` writes every analysed cycle into, checked
// before any recording is analysed, so a long batch never ends in files
// that replaced each other or an output.
#pragma once

#include <span>
#include <string>

#include "cli/voice_file_list.h"

namespace tesmera {

// Throws UsageError, naming both paths, when
// - two recordings would write period files of the same names (the names
//   come from a recording's file name alone, so "x/anna_3.wav" and
//   "y/anna_3.wav", or "a_3.wav" and "a_3.flac", would overwrite each
//   other's cycles); the same file given twice is harmless,
// - a period file would replace one of `kept` (the outputs and inputs).
// Entries with a problem write no period files and are left out.
void RefusePeriodNameCollisions(std::span<const BatchEntry> entries,
                                std::span<const std::string> kept, const std::string& folder);

// Creates the folder (and those above it) when needed; throws
// OutputFileError, naming it and the reason, when it cannot be made or
// written into.
void PreparePeriodsFolder(const std::string& folder);

}  // namespace tesmera
