// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/SampleEnvelope.h"

#include <algorithm>
#include <cmath>

namespace tesmera {

void SampleEnvelope::Add(std::span<const double> block) {
    while (!block.empty()) {
        const std::size_t filled = count_ % length_;
        if (filled == 0) {
            if (buckets_.size() == MaxBuckets) {
                MergePairs();
            }
            buckets_.push_back({block.front(), block.front()});
        }
        const std::size_t taken = std::min(block.size(), length_ - filled);
        const auto [low, high] = std::ranges::minmax(block.first(taken));
        ValueRange& bucket = buckets_.back();
        bucket.Low = std::min(bucket.Low, low);
        bucket.High = std::max(bucket.High, high);
        peak_ = std::max({peak_, std::fabs(low), std::fabs(high)});
        count_ += taken;
        block = block.subspan(taken);
    }
}

void SampleEnvelope::MergePairs() {
    for (std::size_t i = 0; i < buckets_.size() / 2; ++i) {
        const ValueRange& a = buckets_[2 * i];
        const ValueRange& b = buckets_[2 * i + 1];
        buckets_[i] = {std::min(a.Low, b.Low), std::max(a.High, b.High)};
    }
    buckets_.resize(buckets_.size() / 2);
    length_ *= 2;
}

}  // namespace tesmera
