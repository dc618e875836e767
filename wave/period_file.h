// SPDX-License-Identifier: GPL-3.0-or-later
// Tells a voice period file from any other sound file, for files handed to
// the window from outside (the command line, a drop).
#pragma once

#include <string>

namespace tesmera {

// True when the load command would take the file as one voice period: its
// header passes the check (16-bit mono PCM WAV; a rate other than the
// nominal one only draws a notice) and it holds at most MaxSamples samples.
// Any other readable file is false. Reads quietly: the notices the load
// would give are not given here.
// Throws FileError for a file that cannot be opened ("File not found",
// "File access denied", ...).
bool IsVoicePeriodFile(const std::string& path);

}  // namespace tesmera
