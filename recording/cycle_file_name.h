// SPDX-License-Identifier: GPL-3.0-or-later
// The names under which cycles of a recording are saved as period files,
// the same from the recording window, `report --periods` and `extract`'s
// proposal, so a cycle number means one cycle everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tesmera {

// The expert grade a recording's name gives by the rule for period files
// (the last character of the name before its first full stop); nothing when
// that is no digit.
std::optional<std::int32_t> RecordingNameGrade(const std::string& recordingPath);

// The period file name (no folder) of cycle `number` of a recording, counted
// from 1 over all the cycles of its stretch, as the recording window numbers
// them: the recording's name without its extension, "_c" and the number in
// at least three digits, then "_" and the grade digit, so the window reads
// the recording's grade ("anna_g3.wav", 12 → "anna_g3_c012_3.wav"). Without a
// grade the name ends in "_nograde" (the window will then refuse to score it).
std::string CyclePeriodFileName(const std::string& recordingPath, std::size_t number);

}  // namespace tesmera
