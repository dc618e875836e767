#include "recording/sound_input.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <memory>

#include "analysis/number_text.h"

namespace tesmera {

namespace {

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFileHandle = std::unique_ptr<SNDFILE, SoundFileCloser>;

constexpr std::array kAcceptedEncodings{SF_FORMAT_PCM_U8, SF_FORMAT_PCM_S8, SF_FORMAT_PCM_16,
                                        SF_FORMAT_PCM_24, SF_FORMAT_PCM_32, SF_FORMAT_FLOAT};

void CheckFormat(const SF_INFO& info) {
    const int encoding = info.format & SF_FORMAT_SUBMASK;
    if (std::find(kAcceptedEncodings.begin(), kAcceptedEncodings.end(), encoding) ==
        kAcceptedEncodings.end()) {
        throw ExtractionError(
            "unsupported sample format: use PCM of 8, 16, 24 or 32-bit integers or 32-bit floats");
    }
    if (info.samplerate < LowestInputRate || info.samplerate > HighestInputRate) {
        throw ExtractionError("sample rate " + IntegerText(info.samplerate) +
                              " Hz is outside 8000 to 96000 Hz");
    }
    if (info.frames <= 0 || info.channels <= 0) {
        throw ExtractionError("the recording holds no samples");
    }
}

std::vector<double> MixedToMono(const std::vector<double>& interleaved, int channels) {
    std::vector<double> mono(interleaved.size() / static_cast<std::size_t>(channels));
    for (std::size_t frame = 0; frame < mono.size(); ++frame) {
        double sum = 0;
        for (int c = 0; c < channels; ++c) {
            sum += interleaved[frame * static_cast<std::size_t>(channels) +
                               static_cast<std::size_t>(c)];
        }
        mono[frame] = sum / channels;
    }
    return mono;
}

}  // namespace

MonoRecording ReadMonoRecording(const std::string& path) {
    SF_INFO info{};
    const SoundFileHandle file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        throw ExtractionError("cannot read " + path + ": " + sf_strerror(nullptr));
    }
    CheckFormat(info);
    std::vector<double> interleaved(static_cast<std::size_t>(info.frames) *
                                    static_cast<std::size_t>(info.channels));
    const sf_count_t read = sf_readf_double(file.get(), interleaved.data(), info.frames);
    interleaved.resize(static_cast<std::size_t>(read) * static_cast<std::size_t>(info.channels));
    if (read <= 0) {
        throw ExtractionError("cannot read the samples of " + path + ": " +
                              sf_strerror(file.get()));
    }
    return {info.samplerate, MixedToMono(interleaved, info.channels)};
}

}  // namespace tesmera
