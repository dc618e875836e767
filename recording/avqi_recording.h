// SPDX-License-Identifier: GPL-3.0-or-later
// The voice quality index of a reported vowel recording with the
// recording of the same person's continuous speech beside it.
#pragma once

#include <optional>
#include <string>

#include "recording/avqi_figures.h"
#include "recording/scanned_recording.h"

namespace tesmera {

// MeasureAvqi (avqi.h) on the whole vowel recording and the whole speech
// file, the speech brought to the vowel's rate when it has another. Uses
// up to vowel.Threads() threads. Throws RecordingError when the speech
// file cannot be read; nothing when the joined sound gives no figures.
std::optional<AvqiFigures> MeasureRecordingAvqi(ScannedRecording& vowel,
                                                const std::string& speechPath);

// Why a voice quality index rests on too little speech, for the user; empty
// when it rests on enough (AvqiShortestVoicedSpeech seconds or more).
std::string ShortSpeechWarning(const AvqiFigures& figures);

}  // namespace tesmera
