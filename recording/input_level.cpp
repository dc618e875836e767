// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/input_level.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tesmera {

namespace {

double RootMeanSquare(double squares, std::size_t count) {
    return count == 0 ? 0 : std::sqrt(squares / static_cast<double>(count));
}

double SumOfSquares(std::span<const double> samples) {
    double sum = 0;
    for (const double sample : samples) {
        sum += sample * sample;
    }
    return sum;
}

double Peak(std::span<const double> samples) {
    double peak = 0;
    for (const double sample : samples) {
        peak = std::max(peak, std::abs(sample));
    }
    return peak;
}

std::size_t SamplesIn(double seconds, std::int32_t rate) {
    if (rate <= 0) {
        throw std::invalid_argument("the sample rate of an input must be positive");
    }
    return static_cast<std::size_t>(std::lround(seconds * rate));
}

}  // namespace

double Dbfs(double amplitude) {
    if (!(amplitude > 0)) {
        return SilenceDbfs;
    }
    return std::max(SilenceDbfs, 20 * std::log10(amplitude));
}

InputLevelMeter::InputLevelMeter(std::int32_t rate)
    : holdSamples_(SamplesIn(PeakHoldSeconds, rate)),
      noiseSamples_(SamplesIn(NoiseFloorSeconds, rate)) {}

void InputLevelMeter::Feed(std::span<const double> block) {
    if (block.empty()) {
        return;
    }
    const double peak = Peak(block);
    level_.LevelDbfs = Dbfs(RootMeanSquare(SumOfSquares(block), block.size()));
    level_.Clipped = level_.Clipped || peak >= ClippingAmplitude;
    HoldPeak(peak, block.size());
    MeasureNoiseFloor(block);
}

// A higher peak replaces the held one at once; a lower one only once the
// held one has been shown for the hold time.
void InputLevelMeter::HoldPeak(double blockPeak, std::size_t blockLength) {
    sinceHeldPeak_ += blockLength;
    if (blockPeak >= heldPeak_ || sinceHeldPeak_ > holdSamples_) {
        heldPeak_ = blockPeak;
        sinceHeldPeak_ = blockLength;
    }
    level_.PeakHeldDbfs = Dbfs(heldPeak_);
}

void InputLevelMeter::MeasureNoiseFloor(std::span<const double> block) {
    if (noiseCounted_ >= noiseSamples_) {
        return;
    }
    const std::size_t take = std::min(block.size(), noiseSamples_ - noiseCounted_);
    noiseSquares_ += SumOfSquares(block.first(take));
    noiseCounted_ += take;
    if (noiseCounted_ == noiseSamples_) {
        level_.NoiseFloorDbfs = Dbfs(RootMeanSquare(noiseSquares_, noiseCounted_));
    }
}

}  // namespace tesmera
