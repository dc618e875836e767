// SPDX-License-Identifier: GPL-3.0-or-later
// The figures a recorder shows while it captures: the level of the latest
// block, the peak held for a moment, whether the input clipped, and the
// noise floor of the first second, taken before the patient phonates.
// Samples are mono with full scale ±1; levels are in dBFS, where a sample
// of ±1 is 0 dBFS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tesmera {

// The level given for silence, so no figure is ever minus infinity.
constexpr double SilenceDbfs = -120.0;
// A sample this close to full scale, or beyond it, counts as clipped: the
// converter ran out of range there (and a 16-bit full scale reads 32767/32768).
constexpr double ClippingAmplitude = 0.999;
// How long the highest peak stays shown after it occurred, in seconds.
constexpr double PeakHoldSeconds = 1.5;
// The stretch at the start of a take that gives the noise floor, in seconds.
constexpr double NoiseFloorSeconds = 1.0;

// 20 log10(amplitude), and SilenceDbfs at or below its amplitude.
double Dbfs(double amplitude);

struct InputLevel {
    double LevelDbfs = SilenceDbfs;     // root mean square of the latest block
    double PeakHeldDbfs = SilenceDbfs;  // highest |sample| within the hold time
    bool Clipped = false;               // some sample of the take so far clipped
    // Root mean square of the take's first NoiseFloorSeconds; none until
    // that much has been captured.
    std::optional<double> NoiseFloorDbfs;
};

// Follows one take, block by block.
class InputLevelMeter {
  public:
    // Throws std::invalid_argument for a rate <= 0 (Hz).
    explicit InputLevelMeter(std::int32_t rate);

    void Feed(std::span<const double> block);
    const InputLevel& Level() const { return level_; }

  private:
    void HoldPeak(double blockPeak, std::size_t blockLength);
    void MeasureNoiseFloor(std::span<const double> block);

    std::size_t holdSamples_;
    std::size_t noiseSamples_;
    InputLevel level_;
    double heldPeak_ = 0;
    std::size_t sinceHeldPeak_ = 0;  // samples fed since the held peak's block
    double noiseSquares_ = 0;        // over the first noiseSamples_ samples
    std::size_t noiseCounted_ = 0;
};

}  // namespace tesmera
