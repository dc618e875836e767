// SPDX-License-Identifier: GPL-3.0-or-later
// Which samples of a reported recording its cepstral peak prominence is
// taken over. The measure needs no cycle marks, so it is given for every
// recording with sound, whether or not a stretch could be marked.
#pragma once

#include <optional>

#include "recording/cepstral_peak.h"
#include "recording/marked_stretch.h"
#include "recording/scanned_recording.h"

namespace tesmera {

// CPPS in dB (see cepstral_peak.h) over the samples the report measures:
// the stretch's excerpt when it was marked (the whole recording up to a
// minute), else, unless the recording is silent, the whole recording or its
// middle LongestStretchSeconds when it is longer. Nothing for a silent
// recording or one shorter than a frame (0.1 s). Uses up to
// recording.Threads() threads; reads samples only when the stretch was refused.
// Each frame's prominence comes with it, for the figure's spread.
std::optional<CepstralPeakFrames> ReportedCepstralPeakProminence(ScannedRecording& recording,
                                                                 const MarkedStretch& stretch);

}  // namespace tesmera
