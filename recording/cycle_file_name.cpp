// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cycle_file_name.h"

#include "analysis/reports.h"
#include "wave/errors.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

constexpr std::size_t CycleNumberDigits = 3;

}  // namespace

std::optional<std::int32_t> RecordingNameGrade(const std::string& recordingPath) {
    try {
        return ExpertGradeOf(AsciiLower(FileNamePart(recordingPath)));
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

std::string CyclePeriodFileName(const std::string& recordingPath, std::size_t number) {
    std::string stem = FileNamePart(recordingPath);
    if (const auto dot = stem.rfind('.'); dot != std::string::npos && dot > 0) {
        stem.erase(dot);
    }
    std::string digits = std::to_string(number);
    if (digits.size() < CycleNumberDigits) {
        digits.insert(0, CycleNumberDigits - digits.size(), '0');
    }
    const std::optional<std::int32_t> grade = RecordingNameGrade(recordingPath);
    const std::string suffix = grade ? std::to_string(*grade) : "nograde";
    return stem + "_c" + digits + "_" + suffix + ".wav";
}

}  // namespace tesmera
