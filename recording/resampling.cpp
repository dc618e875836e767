// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/resampling.h"

#include <samplerate.h>

#include <stdexcept>
#include <string>

namespace tesmera {

namespace {

// Output made per converter call; the block being converted is fed in as
// many calls as it needs.
constexpr std::size_t OutputChunk = 4096;

[[noreturn]] void Refused(int error) {
    throw std::runtime_error(std::string("resampling failed: ") + src_strerror(error));
}

}  // namespace

struct ResamplingStream::Converter {
    SRC_STATE* state = nullptr;
    std::vector<float> in;
    std::vector<float> out = std::vector<float>(OutputChunk);

    ~Converter() {
        if (state != nullptr) {
            src_delete(state);
        }
    }
};

ResamplingStream::ResamplingStream(double ratio, ResamplingQuality quality)
    : converter_(std::make_unique<Converter>()), ratio_(ratio) {
    const int type = quality == ResamplingQuality::Best ? SRC_SINC_BEST_QUALITY : SRC_SINC_FASTEST;
    int error = 0;
    converter_->state = src_new(type, 1, &error);
    if (converter_->state == nullptr) {
        Refused(error);
    }
}

ResamplingStream::~ResamplingStream() = default;

void ResamplingStream::Convert(std::span<const double> block, bool last,
                               std::vector<double>& output) {
    // libsamplerate works on floats: 24 bits, ample for 16-bit output.
    std::vector<float>& in = converter_->in;
    in.assign(block.begin(), block.end());
    std::size_t used = 0;
    while (true) {
        SRC_DATA data{};
        data.data_in = in.data() + used;
        data.input_frames = static_cast<long>(in.size() - used);
        data.data_out = converter_->out.data();
        data.output_frames = static_cast<long>(converter_->out.size());
        data.src_ratio = ratio_;
        data.end_of_input = last ? 1 : 0;
        if (const int error = src_process(converter_->state, &data); error != 0) {
            Refused(error);
        }
        used += static_cast<std::size_t>(data.input_frames_used);
        output.insert(output.end(), converter_->out.begin(),
                      converter_->out.begin() + data.output_frames_gen);
        // Done when the block is in and nothing more comes out: at the end,
        // the tail keeps coming until the filter has emptied.
        if (used == in.size() && data.output_frames_gen == 0) {
            return;
        }
    }
}

std::vector<double> Resample(std::span<const double> input, double ratio,
                             ResamplingQuality quality) {
    ResamplingStream stream(ratio, quality);
    std::vector<double> output;
    output.reserve(static_cast<std::size_t>(static_cast<double>(input.size()) * ratio) + 1);
    stream.Convert(input, true, output);
    return output;
}

}  // namespace tesmera
