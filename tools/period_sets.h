// SPDX-License-Identifier: GPL-3.0-or-later
// The generated sets of one-period voice files that two builds of the
// analysis are compared over. The same count and seed always give the same
// files, byte for byte.
#pragma once

#include <cstdint>
#include <filesystem>

namespace tesmera::period_sets {

// Lengths from 2 to a little past MaxSamples; signals vowel-like, plain
// waveforms and odd ones (silence, a constant, an impulse, full scale,
// noise); about one file in eight with a header the window warns about or
// refuses; names with a grade digit, or none, or an extra full stop. For
// comparing two builds byte for byte.
void WriteVariedFiles(const std::filesystem::path& folder, int count, std::uint32_t seed);

// Every family of tools/period_families.h in turn, half of the lengths
// anywhere in 2..10000 and half in the range of voices (60..1500), 16-bit
// mono at 44100 Hz behind the canonical header. Names are
// "p<index>_<family>_<grade>.wav" with grades 1..5, so scores are reported.
// For comparing two builds whose numbers may differ in their last bits.
void WriteKernelFamilies(const std::filesystem::path& folder, int count, std::uint32_t seed);

}  // namespace tesmera::period_sets
