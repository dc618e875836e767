// SPDX-License-Identifier: GPL-3.0-or-later
// A recording read whole, through the block reader every front end uses.
#pragma once

#include <string>

#include "recording/sound_input.h"

namespace tesmera::test {

// Throws as RecordingFile does.
inline MonoRecording ReadWholeRecording(const std::string& path) {
    RecordingFile file(path);
    const std::span<const double> samples = file.Samples(0, file.SampleCount());
    return {file.SampleRate(), {samples.begin(), samples.end()}};
}

}  // namespace tesmera::test
