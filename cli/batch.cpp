// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

#include <unistd.h>

#include "cli/OrderedParallelRun.h"
#include "cli/UsageError.h"
#include "cli/output_paths.h"
#include "cli/terminal_text.h"

namespace tesmera {

namespace {

VoiceAnalysis ProblemRecord(const BatchEntry& entry) {
    VoiceAnalysis record;
    record.Path = entry.Path;
    record.Problems.push_back(*entry.Problem);
    return record;
}

std::string Listed(std::span<const std::string> paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += (list.empty() ? "" : ", ") + path;
    }
    return list;
}

}  // namespace

NoVoiceFileError::NoVoiceFileError(std::span<const std::string> paths, const InputKind& kind)
    : TesmeraError("no " + kind.Name + " (" + ExtensionPatterns(kind) + ") found in " +
                   Listed(paths)) {}

std::vector<BatchEntry> CollectBatch(std::span<const std::string> paths,
                                     std::span<const std::string> outputs,
                                     const GradeOptions& grades, const InputKind& kind) {
    std::vector<BatchEntry> entries = CollectVoiceFiles(paths, kind);
    if (entries.empty()) {
        throw NoVoiceFileError(paths, kind);
    }
    std::vector<std::string> inputs;
    inputs.reserve(entries.size());
    for (const BatchEntry& entry : entries) {
        inputs.push_back(entry.Path);
    }
    if (!grades.tablePath.empty()) {
        inputs.push_back(grades.tablePath);
    }
    RefuseUnsafeOutputs(inputs, outputs, StandardOutput::Allowed);
    return entries;
}

GradeSource GradeSourceFor(const GradeOptions& grades) {
    return grades.tablePath.empty() ? GradeSource::NamesOnly(grades.nameGrades)
                                    : GradeSource::FromTable(grades.tablePath, grades.nameGrades);
}

BatchProgress::BatchProgress(std::span<const BatchEntry> entries, bool quiet,
                             bool tableOnStandardOutput)
    : entries_(entries) {
    line_.emplace(entries.size(), !quiet && !(tableOnStandardOutput && isatty(STDOUT_FILENO) == 1));
}

void BatchProgress::Done(const std::string& path, bool ok, std::string_view status) {
    ++done_;
    if (!ok) {
        failed_.emplace_back(path, status);
    }
    line_->Advance(done_ < entries_.size() ? std::string_view(entries_[done_].Path) : "");
}

int BatchProgress::Finish(const std::string& command) {
    line_.reset();
    if (failed_.empty()) {
        return ExitAllOk;
    }
    PrintCommandFailure(command, std::to_string(failed_.size()) + " of " +
                                     std::to_string(entries_.size()) + " inputs failed:");
    for (const auto& [path, status] : failed_) {
        std::fprintf(stderr, "  %s: %s\n", TerminalText(path).c_str(),
                     TerminalLine(status).c_str());
    }
    return ExitSomeFilesFailed;
}

void AnalyseBatch(std::span<const BatchEntry> entries, const GradeSource& grades, unsigned jobs,
                  BatchProgress& progress, const std::function<void(const VoiceAnalysis&)>& use) {
    // Each thread analyses with buffers of its own.
    OrderedParallelRun<VoiceAnalysis> run(jobs, [entries] {
        return [entries, analyser = std::make_shared<VoiceFileAnalyser>()](std::size_t i) {
            const BatchEntry& entry = entries[i];
            return entry.Problem ? ProblemRecord(entry) : analyser->Analyse(entry.Path);
        };
    });
    run.Run(entries.size(), [&](VoiceAnalysis&& record) {
        if (record.Stage == AnalysisStage::Analysed) {
            grades.Apply(record);
        }
        use(record);
        progress.Done(record.Path, record.Ok(), record.StatusText());
    });
}

int StatusAfterOutputs(const std::string& command, std::span<const std::string> outputFailures,
                       int batchStatus) {
    for (const std::string& failure : outputFailures) {
        PrintCommandFailure(command, failure);
    }
    return outputFailures.empty() ? batchStatus : ExitToolFailed;
}

int ReportCommandFailure(const std::string& command) {
    int status = ExitToolFailed;
    std::string message;
    try {
        throw;
    } catch (const UsageError& error) {
        status = ExitUsage;
        message = error.what();
    } catch (const NoVoiceFileError& error) {
        status = ExitSomeFilesFailed;
        message = error.what();
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "unexpected failure";
    }
    PrintCommandFailure(command, message);
    return status;
}

void PrintCommandFailure(const std::string& command, const std::string& message) {
    std::fprintf(stderr, "tesmera-cli %s: %s\n", command.c_str(), TerminalLine(message).c_str());
}

}  // namespace tesmera
