// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/scanned_recording.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "recording/resampling.h"

namespace tesmera {

namespace {

static_assert(TrackingRate == static_cast<std::int32_t>(TrackingRate));

// Samples of leading silence fed to the scan at a time.
constexpr std::size_t SilenceBlock = 65536;

// The voicing track of full-rate mono samples given in consecutive blocks:
// they are brought to TrackingRate and cut into AnalyseVoicing's frames as
// they come, so a long recording is never held whole.
class VoicingScan {
  public:
    VoicingScan(std::int32_t sampleRate, unsigned threads)
        : resampler_(sampleRate, static_cast<std::int32_t>(TrackingRate), threads),
          tracker_(TrackingRate, NormalisedAutocorrelation, threads) {}

    void Add(std::span<const double> block) {
        tracking_.clear();
        resampler_.Convert(block, false, tracking_);
        tracker_.Add(tracking_);
    }

    // `count` samples of digital silence, in blocks of a bounded size.
    void AddSilence(std::size_t count) {
        const std::vector<double> zeros(std::min(count, SilenceBlock), 0.0);
        for (std::size_t done = 0; done < count; done += zeros.size()) {
            Add(std::span(zeros).first(std::min(zeros.size(), count - done)));
        }
    }

    // The frames of the whole signal; the scan is spent.
    std::vector<VoicingFrame> Finish() {
        tracking_.clear();
        resampler_.Convert({}, true, tracking_);
        tracker_.Add(tracking_);
        return tracker_.Finish();
    }

  private:
    PiecewiseResampler resampler_;
    VoicingTracker tracker_;
    std::vector<double> tracking_;  // the current block at TrackingRate
};

}  // namespace

ScannedRecording::ScannedRecording(std::int32_t rate, unsigned threads)
    : rate_(rate), threads_(std::max(1U, threads)) {}

void ScannedRecording::Scan(const BlockSource& source, std::size_t expected,
                            const ScanControl& control) {
    // Leading digital silence is only counted until a sound comes, so a
    // recording of nothing but zeros is refused at the speed of reading it.
    VoicingScan scan(rate_, threads_);
    source([&](std::span<const double> block) {
        if (control.Stop.stop_requested()) {
            throw ScanCancelled();
        }
        const bool silentSoFar = envelope_.Peak() == 0;
        envelope_.Add(block);
        if (envelope_.Peak() > 0) {
            if (silentSoFar) {
                scan.AddSilence(envelope_.SampleCount() - block.size());
            }
            scan.Add(block);
        }
        if (control.Progress) {
            control.Progress(envelope_.SampleCount(), expected);
        }
    });
    count_ = envelope_.SampleCount();
    if (envelope_.Peak() > 0) {
        frames_ = scan.Finish();
    }
}

RecordingInMemory::RecordingInMemory(std::span<const double> samples, std::int32_t rate,
                                     unsigned threads)
    : ScannedRecording(rate, threads), samples_(samples) {
    if (rate <= 0) {
        throw std::invalid_argument("the sample rate must be positive");
    }
    Scan([this](const BlockVisitor& visit) { visit(samples_); });
}

std::span<const double> RecordingInMemory::Samples(std::size_t first, std::size_t count) {
    first = std::min(first, samples_.size());
    return samples_.subspan(first, std::min(count, samples_.size() - first));
}

}  // namespace tesmera
