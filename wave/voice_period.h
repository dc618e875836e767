// SPDX-License-Identifier: GPL-3.0-or-later
// Facts about a voice-period recording shared by loading, analysis and the
// window.
#pragma once

#include <cstdint>
#include <functional>

#include <string>
#include "base/Status.h"

namespace tesmera {

// Capacity of every signal buffer, and the longest recording that can be
// analysed.
constexpr std::int32_t MaxSamples = 10000;

// The only rate accepted without a notice, and the rate that the period's
// frequency and length are computed with, whatever the file states.
constexpr std::int32_t NominalSampleRate = 44100;

// Receives the program's own warnings (Czech texts) while an operation goes
// on. The window shows each in a modal warning box and returns when the user
// has closed it; a command-line tool may collect them instead.
using WarningSink = std::function<void(const Status& warning)>;

}  // namespace tesmera
