#include "wave/SampleReader.h"

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

// Running sums of the loop. Sum and SumSq are doubles as stored; each square
// is exact (at most 2^30).
class SampleAccumulator {
  public:
    void Add(std::int16_t sample) {
        const double x = sample;
        result_.Sum += x;
        result_.SumSq += x * x;
        result_.MaxAbs = std::max(result_.MaxAbs, std::abs(x));
        ++result_.SampleCount;
    }
    // Stores the sample when the buffer has room for it, then adds it.
    void StoreAndAdd(std::int16_t sample, std::span<double> samples) {
        const auto index = static_cast<std::size_t>(result_.SampleCount);
        if (index < samples.size()) {
            samples[index] = sample;
        }
        Add(sample);
    }
    std::int32_t Count() const { return result_.SampleCount; }
    const SampleReadResult& Result() const { return result_; }

  private:
    SampleReadResult result_{0, 0.0, 0.0, 0.0};
};

// i >= DataSize / 2 in real arithmetic, without rounding: 2i >= DataSize.
bool ReachedStatedSize(std::int32_t sampleCount, std::int32_t dataSize) {
    return 2 * std::int64_t{sampleCount} >= dataSize;
}

}  // namespace

SampleReadResult ReadSamples(const std::string& fileName, std::int64_t dataOffset,
                             std::int32_t DataSize, std::span<double> samples) {
    FileReader reader(fileName);
    reader.Seek(dataOffset);
    SampleAccumulator accumulator;
    do {
        accumulator.StoreAndAdd(ReadSample(reader), samples);
    } while (!ReachedStatedSize(accumulator.Count(), DataSize) && !reader.AtEnd());
    return accumulator.Result();
}

SampleReadResult StoreSamples(std::span<const std::int16_t> period, std::span<double> samples) {
    SampleAccumulator accumulator;
    for (const std::int16_t sample : period) {
        accumulator.StoreAndAdd(sample, samples);
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
