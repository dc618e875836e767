// SPDX-License-Identifier: GPL-3.0-or-later
// What the batch commands share: the files from the user's paths, each
// analysed in turn, and the exit status they end with.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/TesmeraError.h"
#include "cli/GradeSource.h"
#include "cli/voice_analysis.h"
#include "cli/voice_file_list.h"

namespace tesmera {

// Exit statuses of every subcommand.
constexpr int ExitAllOk = 0;
constexpr int ExitSomeFilesFailed = 1;  // at least one file's status is not "ok", or none found
constexpr int ExitToolFailed = 2;       // an output could not be written...
constexpr int ExitUsage = 64;           // the command line cannot be carried out as given

// No path given to a batch named an input of its kind or a folder holding
// one; the message names the paths.
class NoVoiceFileError : public TesmeraError {
  public:
    NoVoiceFileError(std::span<const std::string> paths, const InputKind& kind);
};

// The grade options every batch command takes.
// Threads a batch may analyse files on (--jobs).
constexpr unsigned MaxJobs = 1024;

struct GradeOptions {
    std::string tablePath;   // empty: no --grades table
    bool nameGrades = true;  // false: --no-name-grades
};

// The entries of `paths` (see CollectVoiceFiles), once the outputs have
// been checked against them and the grade table (see RefuseUnsafeOutputs;
// "-" is standard output). Throws UsageError, or NoVoiceFileError when
// there are none.
std::vector<BatchEntry> CollectBatch(std::span<const std::string> paths,
                                     std::span<const std::string> outputs,
                                     const GradeOptions& grades,
                                     const InputKind& kind = VoicePeriodFiles());

// The grade source the options ask for; throws UsageError for a table that
// cannot be read or used.
GradeSource GradeSourceFor(const GradeOptions& grades);

// Analyses the entries on `jobs` threads (at least 1), takes each grade
// from `grades`, and hands each record to `use` in the entries' order, on
// the calling thread; an entry with a problem becomes a record with that
// status. What `use` sees does not depend on `jobs`. `showProgress` asks
// for the progress line on a terminal. Returns ExitAllOk or
// ExitSomeFilesFailed.
int AnalyseBatch(std::span<const BatchEntry> entries, const GradeSource& grades, unsigned jobs,
                 bool showProgress, const std::function<void(const VoiceAnalysis&)>& use);

// For a catch block of a subcommand: prints "tesmera-cli <command>: <what>"
// for the exception being handled on standard error and returns its exit
// status (ExitUsage, ExitSomeFilesFailed for NoVoiceFileError, else
// ExitToolFailed).
int ReportCommandFailure(const std::string& command);

// "tesmera-cli <command>: <message>" on standard error, the message on one
// line with control characters escaped (it may hold any file name).
void PrintCommandFailure(const std::string& command, const std::string& message);

}  // namespace tesmera
