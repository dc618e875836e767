// SPDX-License-Identifier: GPL-3.0-or-later
// The sample loop of the load command and the statistics computed from it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "wave/binary_file.h"

namespace tesmera {

struct SampleReadResult {
    std::int32_t SampleCount;  // samples read, also those beyond the buffer
    double Sum;                // of all samples read
    double SumSq;              // of their squares
    double MaxAbs;             // largest absolute value (32768 for -32768)
};

// Reads signed 16-bit little-endian samples from byte `dataOffset` on: at
// least one, then on until DataSize / 2 samples (real division, so an odd
// size 2k + 1 gives k + 1, and a size <= 0 gives one) or the end of the file.
// Every sample read is counted and summed; only the first samples.size() are
// stored (in file order), so nothing is written beyond the buffer and entries
// beyond SampleCount keep their values.
// Throws FileError: "File not found" and the like, or "Read beyond end of
// file" when the file ends inside a sample or has no byte at dataOffset.
SampleReadResult ReadSamples(const std::string& fileName, std::int64_t dataOffset,
                             std::int32_t DataSize, std::span<double> samples);

// The same from a file the caller has opened, typically right after its
// header (WaveHeadRead), whose block is then still in memory.
SampleReadResult ReadSamples(FileReader& reader, std::int64_t dataOffset, std::int32_t DataSize,
                             std::span<double> samples);

// Counts as ReadSamples does, storing nothing, but stops once more than
// `limit` samples are counted (limit >= 0): returns min(count, limit + 1).
// Telling whether a file holds at most `limit` samples then reads no more of
// it than that. Throws as ReadSamples for the part it reads.
std::int32_t CountSamplesUpTo(const std::string& fileName, std::int64_t dataOffset,
                              std::int32_t DataSize, std::int32_t limit);

// The same loop over a period already in memory: every sample is counted
// and summed, the first samples.size() are stored.
SampleReadResult StoreSamples(std::span<const std::int16_t> period, std::span<double> samples);

struct PeriodStatistics {
    double Mean;
    double StdDev;           // population standard deviation
    double PeriodFrequency;  // Hz
    double PeriodMs;         // milliseconds
};

// Frequency and length use NominalSampleRate whatever the header states.
// Throws FloatingPointError for a result without samples (SampleCount 0).
PeriodStatistics ComputePeriodStatistics(const SampleReadResult& read);

}  // namespace tesmera
