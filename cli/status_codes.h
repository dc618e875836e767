// SPDX-License-Identifier: GPL-3.0-or-later
// Machine-readable codes for the status texts of a batch record, so a
// script need not match the window's Czech texts.
#pragma once

#include <string>
#include <string_view>

#include "cli/voice_analysis.h"

namespace tesmera {

// The code of one status message: not_found, invalid_name, access_denied,
// too_many_open_files, read_beyond_end, io_error, not_riff, not_wave,
// no_fmt, not_pcm, not_mono, not_16bit, no_data, rate_notice, too_long,
// zero_norm, zero_amplitude, division_by_zero, invalid_operation,
// overflow, folder_not_read, is_folder, not_regular_file; "error" for a
// text not in this list.
std::string StatusCodeOf(std::string_view message);

// The record's code: "ok"; "no_grade" when the status is "ok" but no grade
// was found; otherwise the codes of its messages in order, joined by " | "
// as the status joins the texts.
std::string StatusCode(const VoiceAnalysis& record);

}  // namespace tesmera
