// SPDX-License-Identifier: GPL-3.0-or-later
// What the batch commands share: the files from the user's paths, each
// analysed in turn, and the exit status they end with.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/TesmeraError.h"
#include "cli/GradeSource.h"
#include "cli/ProgressLine.h"
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

// What a batch tells the user on standard error while it runs: the
// progress line (see ProgressLine), then each input that failed. --quiet
// silences both; the line is also left out when a table goes to the same
// terminal, as the table shows how far the batch has got.
class BatchProgress {
  public:
    BatchProgress(std::span<const BatchEntry> entries, bool quiet, bool tableOnStandardOutput);
    // After each input, in the entries' order; `status` says why it failed.
    void Done(const std::string& path, bool ok, std::string_view status);
    // Ends the progress line, then names each input that failed with its
    // status, one a line, after "tesmera-cli <command>: ";
    // returns ExitAllOk or ExitSomeFilesFailed.
    int Finish(const std::string& command);

  private:
    std::span<const BatchEntry> entries_;
    std::size_t done_ = 0;
    std::optional<ProgressLine> line_;
    std::vector<std::pair<std::string, std::string>> failed_;  // path, status
};

// Analyses the entries on `jobs` threads (at least 1), takes each grade
// from `grades`, and hands each record to `use` in the entries' order, on
// the calling thread, telling `progress` of each; an entry with a problem
// becomes a record with that status. What `use` sees does not depend on
// `jobs`.
void AnalyseBatch(std::span<const BatchEntry> entries, const GradeSource& grades, unsigned jobs,
                  BatchProgress& progress, const std::function<void(const VoiceAnalysis&)>& use);

// The exit status once a batch's outputs are closed: prints each output's
// failure and gives ExitToolFailed when there is one, else `batchStatus`.
int StatusAfterOutputs(const std::string& command, std::span<const std::string> outputFailures,
                       int batchStatus);

// For a catch block of a subcommand: prints "tesmera-cli <command>: <what>"
// for the exception being handled on standard error and returns its exit
// status (ExitUsage, ExitSomeFilesFailed for NoVoiceFileError, else
// ExitToolFailed).
int ReportCommandFailure(const std::string& command);

// "tesmera-cli <command>: <message>" on standard error, the message on one
// line with control characters escaped (it may hold any file name).
void PrintCommandFailure(const std::string& command, const std::string& message);

}  // namespace tesmera
