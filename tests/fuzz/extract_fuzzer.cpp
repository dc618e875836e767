// Recordings through the reader and the period extraction. The first byte
// chooses the form: the bytes themselves as a sound file (the reader's
// refusals), or a WAV built from them (a rate, a channel count, an optional
// place, then 16-bit samples), which reaches the extraction itself. A cut
// period must be a finite, plausible period that the voice-file path loads.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "cli/voice_analysis.h"
#include "fuzz/fuzz_support.h"
#include "recording/period_extraction.h"
#include "recording/pitch.h"
#include "recording/sound_input.h"
#include "recording/voice_file_writer.h"

namespace tesmera::fuzz {
namespace {

constexpr std::int32_t Rates[] = {8000, 11025, 16000, 22050, 44100, 48000, 96000};

struct Recipe {
    std::int32_t rate;
    int channels;
    std::optional<double> atSeconds;
};

// Writes samples built from the bytes as a WAV through libsndfile.
void WriteBuiltRecording(const std::string& path, const std::uint8_t* data, std::size_t size,
                         Recipe& recipe) {
    recipe.rate = Rates[data[0] % std::size(Rates)];
    recipe.channels = 1 + data[1] % 2;
    if (data[2] & 1) {
        recipe.atSeconds = data[3] / 100.0;
    }
    std::vector<std::int16_t> samples((size - 4) / 2);
    std::memcpy(samples.data(), data + 4, samples.size() * 2);
    // A short pattern repeated makes a voiced recording, the case worth
    // exploring; the bytes decide the cycle's shape and length.
    // Half a second: long enough for a stable stretch, short enough for
    // many runs a second.
    const std::size_t length = std::max<std::size_t>(samples.size(), recipe.rate / 2);
    std::vector<std::int16_t> repeated(length - length % recipe.channels);
    for (std::size_t i = 0; i < repeated.size(); ++i) {
        repeated[i] = samples.empty() ? 0 : samples[i % samples.size()];
    }
    SF_INFO info{};
    info.samplerate = recipe.rate;
    info.channels = recipe.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    Require(file != nullptr, "cannot write the built recording");
    sf_write_short(file, repeated.data(), static_cast<sf_count_t>(repeated.size()));
    sf_close(file);
}

void CheckPeriod(const ScratchFolder& folder, const ExtractedPeriod& period, double duration) {
    RequireFinite(period.F0, "F0 not finite");
    Require(period.F0 >= LowestF0 * 0.9 && period.F0 <= HighestF0 * 1.1, "F0 outside the range");
    Require(period.CutStartSeconds >= 0 && period.CutStartSeconds < period.CutEndSeconds &&
                period.CutEndSeconds <= duration + 1e-9,
            "cut outside the recording");
    Require(period.StretchStartSeconds <= period.StretchEndSeconds, "stretch reversed");
    Require(!period.Samples.empty(), "empty period");
    const std::string path = folder.File("period2.wav");
    WriteVoicePeriod(path, period.Samples);
    const VoiceAnalysis record = AnalyseVoiceFile(path);
    Require(record.Stage != AnalysisStage::NotLoaded, "extracted period does not load");
    Require(record.SampleCount == static_cast<std::int32_t>(period.Samples.size()),
            "extracted period loads another length");
}

}  // namespace
}  // namespace tesmera::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tesmera;
    static const fuzz::ScratchFolder folder;
    if (size < 5) {
        return 0;
    }
    const std::string path = folder.File("recording.wav");
    fuzz::Recipe recipe{};
    if (data[0] & 0x80) {
        folder.Write("recording.wav", {data + 1, size - 1});
    } else {
        fuzz::WriteBuiltRecording(path, data + 1, size - 1, recipe);
    }
    try {
        const MonoRecording recording = ReadMonoRecording(path);
        for (const double x : recording.Samples) {
            fuzz::RequireFinite(x, "sample not finite");
        }
        const double duration =
            static_cast<double>(recording.Samples.size()) / recording.SampleRate;
        const ExtractedPeriod period = ExtractPeriod(recording, recipe.atSeconds);
        fuzz::CheckPeriod(folder, period, duration);
        // The command line reads the file in blocks instead: the same cut.
        RecordingFile file(path);
        fuzz::Require(ExtractPeriod(file, recipe.atSeconds).Samples == period.Samples,
                      "the file read in blocks gave another cut");
    } catch (const ExtractionError& error) {
        fuzz::Require(std::strlen(error.what()) > 0, "empty refusal");
    }
    return 0;
}
