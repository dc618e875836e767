// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one voice period as the window reads it: the canonical header of
// WaveHeadWrite, then the samples.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tesmera {

// Replaces the file only once it is complete (see OutputFile): a 44-byte header stating
// NominalSampleRate and the data size, then the samples as 16-bit little-endian values. Throws
// OutputFileError, also when the data would not fit the header's 32-bit sizes.
void WriteVoicePeriod(const std::string& fileName, std::span<const std::int16_t> samples);

}  // namespace tesmera
