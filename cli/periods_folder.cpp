// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/periods_folder.h"

#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>

#include "cli/UsageError.h"
#include "recording/cycle_file_name.h"
#include "wave/OutputFile.h"
#include "wave/file_node.h"
#include "wave/path_problem.h"

namespace tesmera {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view PeriodExtension = ".wav";
constexpr std::string_view CycleMark = "_c";
// More digits than any cycle count of a recording.
constexpr std::size_t MostCycleDigits = 9;

// A recording's period names differ from another's exactly when their
// first cycle's names do: both come from the name's stem and grade.
std::string NamingKey(const std::string& recording) {
    return CyclePeriodFileName(recording, 1);
}

// The cycle number in a period name ("anna_3_c012_3.wav" gives 12), and the
// name's first cycle's, which is the recording's NamingKey.
std::optional<std::pair<std::size_t, std::string>> ParsePeriodName(const std::string& name) {
    if (!name.ends_with(PeriodExtension)) {
        return std::nullopt;
    }
    const std::size_t gradeMark = name.rfind('_');
    const std::size_t cycleMark = name.rfind(CycleMark, gradeMark);
    if (gradeMark == std::string::npos || cycleMark == std::string::npos ||
        cycleMark + CycleMark.size() > gradeMark) {
        return std::nullopt;
    }
    const std::size_t first = cycleMark + CycleMark.size();
    const std::string digits = name.substr(first, gradeMark - first);
    if (digits.empty() || digits.size() > MostCycleDigits ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::pair(std::stoul(digits), name.substr(0, first) + "001" + name.substr(gradeMark));
}

}  // namespace

void RefusePeriodNameCollisions(std::span<const BatchEntry> entries,
                                std::span<const std::string> kept, const std::string& folder) {
    std::map<std::string, std::string> recordingByKey;
    for (const BatchEntry& entry : entries) {
        if (entry.Problem) {
            continue;
        }
        const auto [found, added] = recordingByKey.try_emplace(NamingKey(entry.Path), entry.Path);
        if (!added && !NameTheSameFile(found->second, entry.Path)) {
            throw UsageError("--periods: " + found->second + " and " + entry.Path +
                             " would write period files of the same names (" + found->first +
                             ", ...); report them in separate runs, or rename one");
        }
    }
    const std::string periods = NormalPath(folder);
    for (const std::string& path : kept) {
        const fs::path file(path);
        const auto parsed = ParsePeriodName(file.filename().string());
        if (!parsed ||
            NormalPath(file.parent_path().empty() ? "." : file.parent_path().string()) != periods) {
            continue;
        }
        const auto found = recordingByKey.find(parsed->second);
        if (found != recordingByKey.end() &&
            CyclePeriodFileName(found->second, parsed->first) == file.filename().string()) {
            throw UsageError(path + ": a period file of " + found->second + " in --periods " +
                             folder + " would replace it; choose another folder or name");
        }
    }
}

void PreparePeriodsFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error && access(folder.c_str(), W_OK | X_OK) != 0) {
        error.assign(errno, std::generic_category());
    }
    if (error) {
        throw OutputFileError(folder, FolderWriteProblem(folder, error.value()));
    }
}

}  // namespace tesmera
