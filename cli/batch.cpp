// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

#include "cli/OrderedParallelRun.h"
#include "cli/ProgressLine.h"
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

int AnalyseBatch(std::span<const BatchEntry> entries, const GradeSource& grades, unsigned jobs,
                 bool showProgress, const std::function<void(const VoiceAnalysis&)>& use) {
    std::optional<ProgressLine> progress;
    if (showProgress) {
        progress.emplace(entries.size());
    }
    // Each thread analyses with buffers of its own.
    OrderedParallelRun<VoiceAnalysis> run(jobs, [entries] {
        return [entries, analyser = std::make_shared<VoiceFileAnalyser>()](std::size_t i) {
            const BatchEntry& entry = entries[i];
            return entry.Problem ? ProblemRecord(entry) : analyser->Analyse(entry.Path);
        };
    });
    bool allOk = true;
    run.Run(entries.size(), [&](VoiceAnalysis&& record) {
        if (record.Stage == AnalysisStage::Analysed) {
            grades.Apply(record);
        }
        allOk = allOk && record.Ok();
        use(record);
        if (progress) {
            progress->Advance();
        }
    });
    return allOk ? ExitAllOk : ExitSomeFilesFailed;
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
