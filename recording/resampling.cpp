#include "recording/resampling.h"

#include <samplerate.h>

#include <cmath>
#include <stdexcept>
#include <string>

namespace tesmera {

std::vector<double> Resample(std::span<const double> input, double ratio,
                             ResamplingQuality quality) {
    // libsamplerate works on floats: 24 bits, ample for 16-bit output.
    std::vector<float> in(input.begin(), input.end());
    std::vector<float> out(static_cast<std::size_t>(std::ceil(input.size() * ratio)) + 1);
    SRC_DATA data{};
    data.data_in = in.data();
    data.data_out = out.data();
    data.input_frames = static_cast<long>(in.size());
    data.output_frames = static_cast<long>(out.size());
    data.src_ratio = ratio;
    data.end_of_input = 1;
    const int converter =
        quality == ResamplingQuality::Best ? SRC_SINC_BEST_QUALITY : SRC_SINC_FASTEST;
    if (const int error = src_simple(&data, converter, 1); error != 0) {
        throw std::runtime_error(std::string("resampling failed: ") + src_strerror(error));
    }
    return std::vector<double>(out.begin(), out.begin() + data.output_frames_gen);
}

}  // namespace tesmera
