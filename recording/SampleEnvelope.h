// SPDX-License-Identifier: GPL-3.0-or-later
// The outline of a whole recording kept small: the lowest and highest value
// of each run of consecutive samples, fine enough to draw the recording at
// any width a screen has, and bounded in size however long it lasts.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace tesmera {

// The lowest and highest of some values.
struct ValueRange {
    double Low = 0;
    double High = 0;

    bool operator==(const ValueRange&) const = default;
};

// Built from the samples in order, a block at a time. Bucket b holds the
// extremes of samples [b * BucketLength(), (b + 1) * BucketLength()); the
// last may hold fewer. The buckets double in length whenever their count
// would pass MaxBuckets, so a recording of any length is kept in at most
// MaxBuckets of them, and one of up to MaxBuckets samples sample by sample.
class SampleEnvelope {
  public:
    static constexpr std::size_t MaxBuckets = 65536;

    void Add(std::span<const double> block);

    std::size_t SampleCount() const { return count_; }
    std::size_t BucketLength() const { return length_; }  // samples, a power of two
    std::span<const ValueRange> Buckets() const { return buckets_; }
    // The largest magnitude of all the samples; 0 for silence or none.
    double Peak() const { return peak_; }

  private:
    // Halves the buckets' count by merging neighbours; all are full.
    void MergePairs();

    std::vector<ValueRange> buckets_;
    std::size_t length_ = 1;
    std::size_t count_ = 0;
    double peak_ = 0;
};

}  // namespace tesmera
