// SPDX-License-Identifier: GPL-3.0-or-later
// One recording's voice report as the command line gives it: the report of
// the core, the recording's path and the expert grade in its name.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/voice_file_list.h"
#include "recording/voice_report.h"

namespace tesmera {

struct RecordingReport {
    std::string Path;
    // The grade from the name, by the rule for period files; absent when the
    // name ends in no digit.
    std::optional<std::int32_t> Grade;
    // Ok, Unreadable "unreadable: <why>", the batch entry's problem, or
    // the core report's own outcome.
    Status Outcome;

    bool Ok() const { return Outcome.Ok(); }
    VoiceReport Report;
};

// Reads and reports one recording, on up to `threads` threads; never throws
// for a bad input.
RecordingReport ReportRecording(const std::string& path, std::optional<double> atSeconds,
                                unsigned threads = 1);

// Reports the entries on `jobs` threads and hands each record to `use`, on
// the calling thread, in the entries' order; an entry with a problem
// becomes a record with that status. Fewer entries than jobs share the
// spare threads. What `use` sees does not depend on `jobs`.
void ReportRecordings(std::span<const BatchEntry> entries, std::optional<double> atSeconds,
                      unsigned jobs, const std::function<void(RecordingReport&&)>& use);

// The record scripts rely on: path, status, status_code, grade, stretch_start_s,
// stretch_end_s, cycles (analysed), cycles_marked, cycles_off_track,
// cycles_misshapen, cycles_unscored (the marked cycles left out, by reason), steady, f0_mean_hz,
// f0_sd_hz, jitter_local_pct, jitter_local_abs_us, jitter_rap_pct, jitter_ppq5_pct,
// shimmer_local_pct, shimmer_local_db, shimmer_apq3_pct, shimmer_apq5_pct, hnr_db, then models: six
// objects with model ("SCORE(10)" ...), median_value, score, iqr, grade_shares (five numbers) and
// borderline. Undefined figures are null; a recording without figures has null for all of them.
nlohmann::ordered_json ReportRecordJson(const RecordingReport& record);

}  // namespace tesmera
