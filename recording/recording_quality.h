// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a recording is good enough for the score models to be trusted:
// noise, band limits and clipping all move the shape of harmonics 1 to 15
// that the models read, and with it the medians and grades.
//
//   const MarkedStretch stretch = MarkStretch(recording, atSeconds);
//   const RecordingQuality quality =
//       AssessRecordingQuality(stretch, recording.SampleRate(), recording.Frames());
//   ... quality.Verdict() ...   // "good", "poor: noise (SNR 21 dB)", ...
//
// Qt-free and cheap: one pass over the excerpt's samples and a few
// transforms of the stretch.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "recording/marked_stretch.h"
#include "recording/pitch.h"
#include "recording/stretch_spectrum.h"

namespace tesmera {

// Below this signal-to-noise ratio, in dB, noise can move the medians by
// tenths of a grade.
constexpr double PoorSnrDb = 30;
// More clipped samples than this share (0.1 %) and the recording is poor.
constexpr double PoorClippedShare = 0.001;
// Rates under this cannot hold the voice's band up to 8 kHz.
constexpr std::int32_t LowestFullBandRate = 16000;
// The voice counts as band-limited when its energy above this frequency...
constexpr double HighBandHz = 4000;
// ...lies more than this far under its total (-60 dB).
constexpr double HighBandFloor = 1e-6;

// The signal-to-noise ratio. Voice: the mean power of the stretch. Noise:
// the 10th percentile of the power of the unvoiced 50 ms frames outside
// the stretch, measured on the full-rate samples, when there are at least
// PauseFrames of them (100 ms of pause or more) and they are not digital
// silence. Without such a pause the ratio is not measured: under the voice
// itself, noise cannot be told from the voice's own breath and jitter (the
// gaps between harmonics of a generated 85 Hz vowel at 25 dB and 1.5 %
// jitter hold noise 11 dB down), and a rough voice would be called a poor
// recording for the roughness it is brought for.
// The unvoiced frames outside the stretch needed for a signal-to-noise ratio: the
// 50 ms frames, 10 ms apart, fit six times in 100 ms of pause.
constexpr std::size_t PauseFrames = 6;

struct RecordingQuality {
    std::optional<double> SnrDb;  // voice power over noise power, dB, within ±120
    // Share of the excerpt's samples (0 to 1) within one 16-bit step of
    // full scale, or in a run of three or more equal samples at the
    // excerpt's largest or smallest value (clipped before the converter).
    double ClippedShare = 0;
    std::int32_t SampleRate = 0;  // Hz
    // The rate is under LowestFullBandRate, or nothing is above HighBandHz.
    bool BandLimited = false;

    bool Noisy() const { return SnrDb && *SnrDb < PoorSnrDb; }
    bool Clipped() const { return ClippedShare > PoorClippedShare; }
    bool Poor() const { return Noisy() || Clipped() || BandLimited; }
    // "good" (with " (noise not measured: no pause)" when so), or "poor: "
    // and every reason, in this order, joined by ", ":
    // "noise (SNR 21 dB)", "clipped (0.4 % of samples)" and "band-limited
    // (8 kHz rate)" or "band-limited (nothing above 4 kHz)".
    std::string Verdict() const;
};

// The quality of the recording whose steady stretch is `stretch` (Ok, with
// its marks), recorded at `rate` Hz, with the voicing `frames` of the
// whole recording. Throws TesmeraError for a stretch that is not Ok.
RecordingQuality AssessRecordingQuality(const MarkedStretch& stretch, std::int32_t rate,
                                        std::span<const VoicingFrame> frames);
// The same, with the stretch's spectrum already at hand.
RecordingQuality AssessRecordingQuality(const MarkedStretch& stretch, std::int32_t rate,
                                        std::span<const VoicingFrame> frames,
                                        const AveragedSpectrum& spectrum);

}  // namespace tesmera
