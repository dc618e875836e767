// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/avqi_recording.h"

#include <vector>

#include "analysis/number_text.h"
#include "recording/avqi.h"
#include "recording/resampling.h"
#include "recording/sound_input.h"

namespace tesmera {

std::optional<AvqiFigures> MeasureRecordingAvqi(ScannedRecording& vowel,
                                                const std::string& speechPath) {
    RecordingFile speechFile(speechPath, vowel.Threads());
    const std::span<const double> read = speechFile.Samples(0, speechFile.SampleCount());
    std::vector<double> speech(read.begin(), read.end());
    if (speechFile.SampleRate() != vowel.SampleRate()) {
        speech =
            ResampleInPieces(speech, speechFile.SampleRate(), vowel.SampleRate(), vowel.Threads());
    }
    const std::span<const double> samples = vowel.Samples(0, vowel.SampleCount());
    return MeasureAvqi(samples, speech, vowel.SampleRate(), vowel.Threads());
}

std::string ShortSpeechWarning(const AvqiFigures& figures) {
    if (figures.SpeechVoicedSeconds >= AvqiShortestVoicedSpeech) {
        return {};
    }
    return "AVQI rests on only " + FixedText(figures.SpeechVoicedSeconds, 15, 2, ".") +
           " s of voiced speech (the procedure expects about 3 s)";
}

}  // namespace tesmera
