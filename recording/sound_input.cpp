#include "recording/sound_input.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <span>
#include <utility>

#include "analysis/number_text.h"
#include "wave/binary_file.h"
#include "wave/errors.h"

namespace tesmera {

namespace {

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFileHandle = std::unique_ptr<SNDFILE, SoundFileCloser>;

constexpr std::array AcceptedEncodings{SF_FORMAT_PCM_U8, SF_FORMAT_PCM_S8, SF_FORMAT_PCM_16,
                                       SF_FORMAT_PCM_24, SF_FORMAT_PCM_32, SF_FORMAT_FLOAT};

void CheckFormat(const SF_INFO& info) {
    const int encoding = info.format & SF_FORMAT_SUBMASK;
    if (std::find(AcceptedEncodings.begin(), AcceptedEncodings.end(), encoding) ==
        AcceptedEncodings.end()) {
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

// Frames read and mixed at a time: the interleaved samples never exist for
// the whole recording, only the mono result does.
constexpr sf_count_t BlockFrames = 16384;

// Appends the channel means of the interleaved frames to `mono`.
void AppendMixed(std::span<const double> interleaved, int channels, std::vector<double>& mono) {
    const auto width = static_cast<std::size_t>(channels);
    for (std::size_t first = 0; first + width <= interleaved.size(); first += width) {
        double sum = 0;
        for (std::size_t c = 0; c < width; ++c) {
            sum += interleaved[first + c];
        }
        if (!std::isfinite(sum)) {
            // Only float recordings can hold them; every later step would
            // turn them into a period of not-a-numbers.
            throw ExtractionError("the recording holds samples that are not finite numbers");
        }
        mono.push_back(sum / channels);
    }
}

// Opens only a regular file, without blocking on a FIFO or a device.
SoundFileHandle OpenSoundFile(const std::string& path, SF_INFO& info) {
    SoundFileHandle file;
    try {
        // libsndfile closes the descriptor, also when it fails.
        file.reset(sf_open_fd(OpenRegularFileForReading(path), SFM_READ, &info, SF_TRUE));
    } catch (const NotARegularFile&) {
        throw ExtractionError("cannot read " + path + ": not a regular file");
    } catch (const FileError&) {
        // A missing or forbidden file cannot block: libsndfile opens it
        // again to say why in its own words.
        file.reset(sf_open(path.c_str(), SFM_READ, &info));
    }
    if (!file) {
        throw ExtractionError("cannot read " + path + ": " + sf_strerror(nullptr));
    }
    return file;
}

}  // namespace

MonoRecording ReadMonoRecording(const std::string& path) {
    SF_INFO info{};
    const SoundFileHandle file = OpenSoundFile(path, info);
    CheckFormat(info);
    std::vector<double> mono;
    mono.reserve(static_cast<std::size_t>(info.frames));
    std::vector<double> block(static_cast<std::size_t>(BlockFrames) *
                              static_cast<std::size_t>(info.channels));
    sf_count_t read = 0;
    while ((read = sf_readf_double(file.get(), block.data(), BlockFrames)) > 0) {
        AppendMixed(std::span(block).first(static_cast<std::size_t>(read) *
                                           static_cast<std::size_t>(info.channels)),
                    info.channels, mono);
    }
    if (mono.empty()) {
        throw ExtractionError("cannot read the samples of " + path + ": " +
                              sf_strerror(file.get()));
    }
    return {info.samplerate, std::move(mono)};
}

}  // namespace tesmera
