// SPDX-License-Identifier: GPL-3.0-or-later
// Band-limited sample-rate conversion through libsamplerate.
#pragma once

#include <memory>
#include <span>
#include <vector>

namespace tesmera {

enum class ResamplingQuality {
    Fast,  // for pitch tracking, where only the low band matters
    Best,  // for the period that is written out
};

// Converts `input` by `ratio` (output rate / input rate). Output sample k
// stands at input time k / ratio, so positions map back by division.
// Throws std::runtime_error when the converter refuses.
std::vector<double> Resample(std::span<const double> input, double ratio,
                             ResamplingQuality quality);

// The same conversion for a signal given in consecutive blocks: the output
// of all the blocks together is exactly Resample() of the whole signal, while
// only the converter's short filter history is kept between blocks.
class ResamplingStream {
  public:
    ResamplingStream(double ratio, ResamplingQuality quality);
    ~ResamplingStream();
    ResamplingStream(const ResamplingStream&) = delete;
    ResamplingStream& operator=(const ResamplingStream&) = delete;

    // Converts the next block and appends what it yields to `output`; with
    // `last`, also the filter's tail (the signal ends there). Throws
    // std::runtime_error when the converter refuses.
    void Convert(std::span<const double> block, bool last, std::vector<double>& output);

  private:
    struct Converter;
    std::unique_ptr<Converter> converter_;
    double ratio_;
};

}  // namespace tesmera
