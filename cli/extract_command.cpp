// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/extract_command.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

#include "analysis/number_text.h"
#include "analysis/reports.h"
#include "cli/batch.h"
#include "cli/output_paths.h"
#include "cli/terminal_text.h"
#include "recording/parallel_work.h"
#include "recording/period_extraction.h"
#include "recording/sound_input.h"
#include "recording/voice_file_writer.h"
#include "wave/errors.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

constexpr int ExitInputRefused = 1;

// The message with the path in front, unless it already names it (the
// reader's own "cannot read PATH: ..." does).
std::string NamingPath(const std::string& path, const std::string& message) {
    return message.find(path) == std::string::npos ? path + ": " + message : message;
}

std::string Fixed(double value, int digits) {
    return FixedText(value, 15, digits, ".");
}

void PrintSummary(const ExtractOptions& options, const ExtractedPeriod& period) {
    const auto length = static_cast<long long>(period.Samples.size());
    // The cycle's own F0 from its marks; the period's is what the window
    // will compute from the file, at whole samples.
    std::printf(
        "F0      %s Hz of the cycle, %s Hz of the cut period (%d / %s)\n",
        Fixed(period.F0, 2).c_str(),
        Fixed(static_cast<double>(NominalSampleRate) / static_cast<double>(length), 2).c_str(),
        NominalSampleRate, IntegerText(length).c_str());
    std::printf("period  %s samples at %d Hz (%s ms)\n", IntegerText(length).c_str(),
                NominalSampleRate, Fixed(1000.0 * length / NominalSampleRate, 4).c_str());
    std::printf("cycle   %s of the report, cut %s s to %s s of %s\n",
                IntegerText(static_cast<long long>(period.Cycle)).c_str(),
                Fixed(period.CutStartSeconds, 6).c_str(), Fixed(period.CutEndSeconds, 6).c_str(),
                TerminalText(options.inputPath).c_str());
    std::printf("stretch %s s to %s s (the analysed stretch)\n",
                Fixed(period.StretchStartSeconds, 3).c_str(),
                Fixed(period.StretchEndSeconds, 3).c_str());
    std::printf("written %s\n", TerminalText(options.outputPath).c_str());
}

// The window reads the expert grade from the last character of the name's
// stem and stops with a conversion error when it is no digit.
void WarnWithoutGrade(const std::string& outputPath) {
    try {
        ExpertGradeOf(AsciiLower(FileNamePart(outputPath)));
    } catch (const ConvertError&) {
        std::fprintf(stderr,
                     "tesmera-cli extract: note: the name %s ends in no grade digit; the window "
                     "will stop its compute with a conversion error (end the name in the grade, "
                     "e.g. anna_3.wav)\n",
                     FileNamePart(outputPath).c_str());
    }
}

}  // namespace

int RunExtract(const ExtractOptions& options) {
    try {
        RefuseUnsafeOutputs(std::span(&options.inputPath, 1), std::span(&options.outputPath, 1),
                            StandardOutput::Refused);
    } catch (...) {
        return ReportCommandFailure("extract");
    }
    ExtractedPeriod period;
    try {
        RecordingFile recording(options.inputPath, AvailableCores());
        period = ExtractPeriod(recording, options.atSeconds);
    } catch (const RecordingError& error) {
        // A recording that was read but holds no cycle to take says so in
        // the report's words.
        const std::string why = error.Code() == StatusCode::Unreadable
                                    ? std::string(error.what())
                                    : std::string("no cycle to extract: ") + error.what();
        PrintCommandFailure("extract", NamingPath(options.inputPath, why));
        return ExitInputRefused;
    } catch (const std::exception& error) {
        PrintCommandFailure("extract", NamingPath(options.inputPath, error.what()));
        return ExitInputRefused;
    }
    try {
        WriteVoicePeriod(options.outputPath, period.Samples);
    } catch (...) {
        return ReportCommandFailure("extract");
    }
    PrintSummary(options, period);
    WarnWithoutGrade(options.outputPath);
    return ExitAllOk;
}

}  // namespace tesmera
