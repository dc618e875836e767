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
#include <stop_token>
#include <vector>

#include "base/TesmeraError.h"
#include "recording/SampleEnvelope.h"
#include "recording/pitch.h"
#include "wave/voice_period.h"

namespace tesmera {

// Pitch tracking runs at a quarter of the nominal rate: enough for F0 up to
// HighestF0 and cheap at any input rate.
constexpr double TrackingRate = NominalSampleRate / 4.0;

// How a scan tells its progress and is told to stop; both are looked at
// once per block, on the thread that scans.
struct ScanControl {
    // Called after each block with the samples scanned so far and the
    // count the whole recording is expected to hold (0 when not known).
    std::function<void(std::size_t scanned, std::size_t expected)> Progress;
    // A stop requested ends the scan, before its next block, with ScanCancelled.
    std::stop_token Stop;
};

// A scan stopped through its ScanControl before it was complete.
class ScanCancelled : public TesmeraError {
  public:
    ScanCancelled() : TesmeraError("the scan of the recording was stopped") {}
};

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
    // The extremes of all the samples, to draw the whole recording from.
    const SampleEnvelope& Envelope() const { return envelope_; }

    // Samples [first, first + count) at SampleRate, clipped to the recording.
    // The span stays valid until the next call. Throws RecordingError when
    // the samples cannot be read.
    virtual std::span<const double> Samples(std::size_t first, std::size_t count) = 0;

  protected:
    // Feeds every sample of the recording, in order, as consecutive blocks.
    using BlockVisitor = std::function<void(std::span<const double>)>;
    using BlockSource = std::function<void(const BlockVisitor&)>;

    explicit ScannedRecording(std::int32_t rate, unsigned threads = 1);
    // Counts the samples, tracks their voicing and outlines them in one walk
    // of `source`, which is expected to give `expected` samples (0: not
    // known). Throws ScanCancelled when `control` stops it.
    void Scan(const BlockSource& source, std::size_t expected = 0, const ScanControl& control = {});

  private:
    std::int32_t rate_;
    unsigned threads_;
    std::size_t count_ = 0;
    std::vector<VoicingFrame> frames_;
    SampleEnvelope envelope_;
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
