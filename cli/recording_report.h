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

// What a readable recording's file holds.
struct SoundFacts {
    std::int32_t SampleRateHz = 0;
    double DurationSeconds = 0;
    std::int32_t Channels = 0;  // before they are mixed to one
};

struct RecordingReport {
    std::string Path;
    std::optional<SoundFacts> Sound;  // absent when the file could not be read
    // The grade from the name, by the rule for period files; absent when the
    // name ends in no digit.
    std::optional<std::int32_t> Grade;
    // Ok, Unreadable "unreadable: <why>", the batch entry's problem, or
    // the core report's own outcome.
    Status Outcome;

    bool Ok() const { return Outcome.Ok(); }
    VoiceReport Report;
    // The recording of continuous speech given for the voice quality index
    // (empty: none), and a warning about the index for the user: why it
    // could not be measured, or that it rests on little speech.
    std::string SpeechPath;
    std::string AvqiWarning;
};

// Whether a report estimates its figures' standard errors: the records
// carry them for `compare`, the table does without them.
enum class StandardErrors { Skip, Estimate };

// Reads and reports one recording, with the voice quality index when a
// speech recording is given, on up to `threads` threads; never throws for a
// bad input.
RecordingReport ReportRecording(const std::string& path, std::optional<double> atSeconds,
                                unsigned threads = 1, const std::string& speechPath = {},
                                StandardErrors errors = StandardErrors::Skip);

// The speech recording beside each vowel recording (empty: none).
using SpeechFinder = std::function<std::string(const std::string& vowelPath)>;

// Reports the entries on `jobs` threads and hands each record to `use`, on
// the calling thread, in the entries' order; an entry with a problem
// becomes a record with that status. Fewer entries than jobs share the
// spare threads. What `use` sees does not depend on `jobs`. Without
// `speech`, no recording gets the voice quality index.
void ReportRecordings(std::span<const BatchEntry> entries, std::optional<double> atSeconds,
                      unsigned jobs, const std::function<void(RecordingReport&&)>& use,
                      const SpeechFinder& speech = {},
                      StandardErrors errors = StandardErrors::Skip);

// The record scripts rely on (docs/outputs.md lists every key with its
// unit): path, status, status_code, summary (ReportSummary), tesmera_version,
// the sound's facts, expert_grade, the stretch, the cycle counts,
// steadiness, F0, jitter, shimmer, HNR, CPPS, the recording's quality, the
// voice quality index and its six measures (null without speech),
// "<key>_outside_norm" for each measure with a published threshold
// (MeasureLines), then "models": six objects
// with model ("10" ...), median_value, score, iqr, grade_shares (five
// fractions) and borderline. A figure that does not exist is null, never 0
// or false.
nlohmann::ordered_json ReportRecordJson(const RecordingReport& record);

}  // namespace tesmera
