#include "cli/extract_command.h"

#include <cstdio>
#include <exception>

#include "analysis/number_text.h"
#include "analysis/reports.h"
#include "cli/batch.h"
#include "recording/period_extraction.h"
#include "recording/sound_input.h"
#include "recording/voice_file_writer.h"
#include "wave/errors.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

constexpr int kExitInputRefused = 1;

std::string Fixed(double value, int digits) {
    return FixedText(value, 15, digits, ".");
}

void PrintSummary(const ExtractOptions& options, const ExtractedPeriod& period) {
    const auto length = static_cast<long long>(period.Samples.size());
    // The tracked F0 averages about 30 ms; the period's own is what the
    // window will compute from the file.
    std::printf(
        "F0      %s Hz tracked, %s Hz of the cut period (%d / %s)\n", Fixed(period.F0, 2).c_str(),
        Fixed(static_cast<double>(NominalSampleRate) / static_cast<double>(length), 2).c_str(),
        NominalSampleRate, IntegerText(length).c_str());
    std::printf("period  %s samples at %d Hz (%s ms)\n", IntegerText(length).c_str(),
                NominalSampleRate, Fixed(1000.0 * length / NominalSampleRate, 4).c_str());
    std::printf("cut     %s s to %s s of %s\n", Fixed(period.CutStartSeconds, 6).c_str(),
                Fixed(period.CutEndSeconds, 6).c_str(), options.inputPath.c_str());
    std::printf("stretch %s s to %s s (stable voiced stretch)\n",
                Fixed(period.StretchStartSeconds, 3).c_str(),
                Fixed(period.StretchEndSeconds, 3).c_str());
    std::printf("written %s\n", options.outputPath.c_str());
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
    ExtractedPeriod period;
    try {
        RecordingFile recording(options.inputPath);
        period = ExtractPeriod(recording, options.atSeconds);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tesmera-cli extract: %s\n", error.what());
        return kExitInputRefused;
    }
    try {
        WriteVoicePeriod(options.outputPath, period.Samples);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tesmera-cli extract: cannot write %s: %s\n",
                     options.outputPath.c_str(), error.what());
        return ExitToolFailed;
    }
    PrintSummary(options, period);
    WarnWithoutGrade(options.outputPath);
    return ExitAllOk;
}

}  // namespace tesmera
