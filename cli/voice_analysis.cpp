#include "cli/voice_analysis.h"

#include <exception>
#include <span>

#include "analysis/reports.h"
#include "wave/SampleReader.h"
#include "wave/WaveHeader.h"
#include "wave/errors.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

// The window's fixed harmonic of the fundamental reconstruction and its
// energy tolerance, as every load resets them.
constexpr std::int32_t kFundamentalOrder = 1;
constexpr double kEnergyTolerance = 0.01;

// The load command without its drawing. False when the header was rejected
// (its warning is already collected). `samples` holds MaxSamples entries;
// a longer period is counted but only its first MaxSamples are kept.
bool LoadPeriod(VoiceAnalysis& record, std::span<double> samples, const WarningSink& collect) {
    WaveHeadFields header;
    if (WaveHeadRead(record.Path, header, collect) != kHeaderAccepted) {
        return false;
    }
    const SampleReadResult read =
        ReadSamples(record.Path, header.DataOffset, header.DataSize, samples);
    const PeriodStatistics statistics = ComputePeriodStatistics(read);
    record.SampleCount = read.SampleCount;
    record.MaxAbs = read.MaxAbs;
    record.Mean = statistics.Mean;
    record.StdDev = statistics.StdDev;
    record.PeriodFrequency = statistics.PeriodFrequency;
    record.PeriodMs = statistics.PeriodMs;
    record.Stage = AnalysisStage::Loaded;
    return true;
}

// The compute command's numbers: series, amplitudes, normalisation, scores.
// The two reconstructions are working space the analysis fills and drops.
void AnalysePeriod(VoiceAnalysis& record, std::span<const double> period,
                   std::span<double> fundamental, std::span<double> approximation,
                   const WarningSink& collect) {
    FourierApr(period, record.SampleCount, kEnergyTolerance, record.ax, record.bx,
               kFundamentalOrder, fundamental, record.ApproxOrder, approximation);
    AmplitudeStep(record.ax, record.bx, record.MaxAbs, record.AA);
    // The step warns exactly when it leaves the models out.
    const std::size_t messagesBefore = record.Messages.size();
    NormalisationStep(record.AA, record.AmplitudeNorm, record.AANorm, record.ScoreValue,
                      record.Score, collect);
    record.Scored = record.Messages.size() == messagesBefore;
    record.Stage = AnalysisStage::Analysed;
}

void ReadExpertGrade(VoiceAnalysis& record) {
    try {
        record.ExpertGrade = ExpertGradeOf(AsciiLower(FileNamePart(record.Path)));
    } catch (const ConvertError& error) {
        record.GradeNote = ErrorBoxText(error.what());
    }
}

}  // namespace

std::string VoiceAnalysis::Status() const {
    if (Messages.empty()) {
        return "ok";
    }
    std::string status = Messages.front();
    for (std::size_t i = 1; i < Messages.size(); ++i) {
        status += " | ";
        status += Messages[i];
    }
    return status;
}

VoiceFileAnalyser::VoiceFileAnalyser()
    : samples_(MaxSamples), fundamental_(MaxSamples), approximation_(MaxSamples) {}

VoiceAnalysis VoiceFileAnalyser::Analyse(const std::string& path) {
    VoiceAnalysis record;
    record.Path = path;
    const WarningSink collect = [&record](const std::string& message) {
        record.Messages.push_back(message);
    };
    try {
        // Entries past the new period may hold an earlier file's samples;
        // only the first SampleCount are ever read.
        if (!LoadPeriod(record, samples_, collect)) {
            return record;
        }
        if (record.SampleCount > MaxSamples) {
            collect(std::string(NothingToAnalyseWarning));
            return record;
        }
        const auto count = static_cast<std::size_t>(record.SampleCount);
        AnalysePeriod(record, std::span(samples_).first(count),
                      std::span(fundamental_).first(count), std::span(approximation_).first(count),
                      collect);
        ReadExpertGrade(record);
    } catch (const std::exception& error) {
        // Whatever the window's error box would show; a batch goes on.
        collect(ErrorBoxText(error.what()));
    }
    return record;
}

VoiceAnalysis AnalyseVoiceFile(const std::string& path) {
    return VoiceFileAnalyser().Analyse(path);
}

}  // namespace tesmera
