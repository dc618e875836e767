// SPDX-License-Identifier: GPL-3.0-or-later
// A recording as extraction and the voice report read it: one pass over
// all its samples in blocks gives the voicing track, and afterwards only
// the ranges of full-rate samples asked for are fetched. Whether the
// samples live in memory or in a file, and however many threads work on
// it, the figures are the same.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "recording/pitch.h"
#include "wave/voice_period.h"

namespace tesmera {

// Pitch tracking runs at a quarter of the nominal rate: enough for F0 up to
// HighestF0 and cheap at any input rate.
constexpr double TrackingRate = NominalSampleRate / 4.0;

// A recording's voicing track with its full-rate mono samples on demand;
// each kind says where the samples live.
class ScannedRecording {
  public:
    virtual ~ScannedRecording() = default;
    ScannedRecording(const ScannedRecording&) = delete;
    ScannedRecording& operator=(const ScannedRecording&) = delete;

    std::int32_t SampleRate() const { return rate_; }  // Hz
    // The threads work on this recording may use, at least 1.
    unsigned Threads() const { return threads_; }
    std::size_t SampleCount() const { return count_; }
    double Duration() const { return static_cast<double>(count_) / rate_; }  // seconds
    // In time order; empty when the recording is shorter than one frame or
    // holds only zeros (every frame would be silent).
    const std::vector<VoicingFrame>& Frames() const { return frames_; }

    // Samples [first, first + count) at SampleRate, clipped to the recording.
    // The span stays valid until the next call. Throws RecordingError when
    // the samples cannot be read.
    virtual std::span<const double> Samples(std::size_t first, std::size_t count) = 0;

  protected:
    // Feeds every sample of the recording, in order, as consecutive blocks.
    using BlockVisitor = std::function<void(std::span<const double>)>;
    using BlockSource = std::function<void(const BlockVisitor&)>;

    explicit ScannedRecording(std::int32_t rate, unsigned threads = 1);
    // Counts the samples and tracks their voicing in one walk of `source`.
    void Scan(const BlockSource& source);

  private:
    std::int32_t rate_;
    unsigned threads_;
    std::size_t count_ = 0;
    std::vector<VoicingFrame> frames_;
};

// Samples the caller keeps in memory (they must outlive this object).
class RecordingInMemory final : public ScannedRecording {
  public:
    // Throws std::invalid_argument for a rate <= 0.
    RecordingInMemory(std::span<const double> samples, std::int32_t rate, unsigned threads = 1);
    std::span<const double> Samples(std::size_t first, std::size_t count) override;

  private:
    std::span<const double> samples_;
};

}  // namespace tesmera
