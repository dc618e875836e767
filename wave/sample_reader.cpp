// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/sample_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "wave/binary_file.h"
#include "wave/checked_math.h"
#include "wave/little_endian.h"
#include "wave/voice_period.h"

namespace tesmera {

namespace {

std::int16_t ReadSample(FileReader& reader) {
    std::array<std::byte, 2> bytes;
    reader.ReadExact(bytes);
    return DecodeInt16LE(bytes);
}

// Running sums of the loop, and where the samples go. Sum and SumSq are
// doubles as stored; each square is exact (at most 2^30).
class SampleAccumulator {
  public:
    explicit SampleAccumulator(std::span<double> samples) : samples_(samples) {}

    // Stores the sample when the buffer has room for it, then adds it.
    void Add(std::int16_t sample) {
        const auto index = static_cast<std::size_t>(result_.SampleCount);
        if (index < samples_.size()) {
            samples_[index] = sample;
        }
        const double x = sample;
        result_.Sum += x;
        result_.SumSq += x * x;
        result_.MaxAbs = std::max(result_.MaxAbs, std::abs(x));
        ++result_.SampleCount;
    }
    std::int32_t Count() const { return result_.SampleCount; }
    const SampleReadResult& Result() const { return result_; }

  private:
    std::span<double> samples_;
    SampleReadResult result_{0, 0.0, 0.0, 0.0};
};

// The number of samples the loop reads at most: it stops once
// 2 × count >= DataSize in real arithmetic, and always reads one.
std::int64_t StatedSampleCount(std::int32_t dataSize) {
    return std::max<std::int64_t>(1, (std::int64_t{dataSize} + 1) / 2);
}

// Decodes the whole samples read ahead, at most `limit`; returns how many.
std::int64_t DecodeBuffered(FileReader& reader, std::int64_t limit,
                            SampleAccumulator& accumulator) {
    const std::span<const std::byte> bytes = reader.Buffered();
    const auto count = std::min<std::int64_t>(limit, static_cast<std::int64_t>(bytes.size() / 2));
    for (std::int64_t i = 0; i < count; ++i) {
        accumulator.Add(DecodeInt16LE(bytes.subspan(static_cast<std::size_t>(2 * i)).first<2>()));
    }
    reader.Consume(static_cast<std::size_t>(2 * count));
    return count;
}

// Samples are decoded straight from the reader's block. Only a sample split
// between two blocks, or the end of the file, goes through ReadExact, which
// refills or raises "Read beyond end of file" exactly as a byte-wise read.
// Reads at least one sample, then on until `stated` or the end of the file.
SampleReadResult ReadStatedSamples(FileReader& reader, std::int64_t dataOffset, std::int64_t stated,
                                   std::span<double> samples) {
    reader.Seek(dataOffset);
    SampleAccumulator accumulator(samples);
    std::int64_t remaining = stated;
    while (remaining > 0 && (remaining == stated || !reader.AtEnd())) {
        const std::int64_t decoded = DecodeBuffered(reader, remaining, accumulator);
        if (decoded == 0) {
            accumulator.Add(ReadSample(reader));
            --remaining;
        }
        remaining -= decoded;
    }
    return accumulator.Result();
}

}  // namespace

SampleReadResult ReadSamples(const std::string& fileName, std::int64_t dataOffset,
                             std::int32_t DataSize, std::span<double> samples) {
    FileReader reader(fileName);
    return ReadSamples(reader, dataOffset, DataSize, samples);
}

SampleReadResult ReadSamples(FileReader& reader, std::int64_t dataOffset, std::int32_t DataSize,
                             std::span<double> samples) {
    return ReadStatedSamples(reader, dataOffset, StatedSampleCount(DataSize), samples);
}

std::int32_t CountSamplesUpTo(const std::string& fileName, std::int64_t dataOffset,
                              std::int32_t DataSize, std::int32_t limit) {
    FileReader reader(fileName);
    const std::int64_t stated = std::min(StatedSampleCount(DataSize), std::int64_t{limit} + 1);
    return ReadStatedSamples(reader, dataOffset, stated, {}).SampleCount;
}

SampleReadResult StoreSamples(std::span<const std::int16_t> period, std::span<double> samples) {
    SampleAccumulator accumulator(samples);
    for (const std::int16_t sample : period) {
        accumulator.Add(sample);
    }
    return accumulator.Result();
}

PeriodStatistics ComputePeriodStatistics(const SampleReadResult& read) {
    const long double n = read.SampleCount;
    const auto mean = static_cast<double>(CheckedDivide(read.Sum, n));
    const auto meanSquare = static_cast<double>(CheckedDivide(read.SumSq, n));
    // The mean square is never below the squared mean, but for a long,
    // nearly constant recording both are large and their rounded difference
    // can come out a few units in the last place below zero. That is a
    // variance of 0, not an invalid square root.
    const long double variance = std::max(0.0L, meanSquare - static_cast<long double>(mean) * mean);
    return PeriodStatistics{
        mean,
        static_cast<double>(CheckedSqrt(variance)),
        static_cast<double>(CheckedDivide(NominalSampleRate, n)),
        static_cast<double>(CheckedDivide(n, NominalSampleRate) * 1000.0L),
    };
}

}  // namespace tesmera
