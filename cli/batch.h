// What the batch commands share: the files from the user's paths, each
// analysed in turn, and the exit status they end with.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "cli/voice_analysis.h"

namespace tesmera {

// Exit statuses of every subcommand.
constexpr int ExitAllOk = 0;
constexpr int ExitSomeFilesFailed = 1;  // at least one file's status is not "ok"
constexpr int ExitToolFailed = 2;       // an output could not be written, a folder not read...

// Analyses the files named by `paths` (see CollectVoiceFiles) one after the
// other and hands each record to `use`. `showProgress` asks for the progress
// line on a terminal. Returns ExitAllOk or ExitSomeFilesFailed.
int AnalyseBatch(std::span<const std::string> paths, bool showProgress,
                 const std::function<void(const VoiceAnalysis&)>& use);

}  // namespace tesmera
