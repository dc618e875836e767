// SPDX-License-Identifier: GPL-3.0-or-later
// A take from the recorder, saved as the recording it is: a mono WAV file of
// 24-bit integers, which keeps a quiet voice's detail and the noise floor
// that a 16-bit file would round away.
#pragma once

#include <string>

#include "recording/sound_input.h"

namespace tesmera {

// Writes `take` to `path`, replacing the file only once it is complete (see
// OutputFile). Samples beyond full scale are clipped to it. Throws
// OutputFileError when the file cannot be written or the take cannot be
// encoded (no samples, or a rate outside LowestInputRate..HighestInputRate).
void SaveTake(const std::string& path, const MonoRecording& take);

}  // namespace tesmera
