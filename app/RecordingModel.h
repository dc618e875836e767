// SPDX-License-Identifier: GPL-3.0-or-later
// What the recording window shows of a recording, small however long the
// recording is: its outline, the samples of the steady stretch the detail
// view draws, and the voice report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "recording/SampleEnvelope.h"
#include "recording/scanned_recording.h"
#include "recording/voice_report.h"

namespace tesmera {

// Sample positions [First, End) of a recording.
struct SampleSpan {
    std::size_t First = 0;
    std::size_t End = 0;
};

// The samples the detail view spans: from the one at or before the stretch's
// start to the one at or after its end.
SampleSpan StretchSpan(const VoiceReport& report, std::int32_t rate);

struct RecordingModel {
    std::int32_t SampleRate = 0;  // Hz
    std::size_t SampleCount = 0;
    SampleEnvelope Envelope;  // of the whole recording
    // Samples [StretchFirst, StretchFirst + Stretch.size()): StretchSpan of
    // the report within the recording; empty when the report has no cycle.
    std::size_t StretchFirst = 0;
    std::vector<double> Stretch;
    VoiceReport Report;
};

// Reports on `recording` and keeps what the window draws of it. Throws as
// ReportVoice and ScannedRecording::Samples do.
RecordingModel ModelRecording(ScannedRecording& recording);

}  // namespace tesmera
