// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/fft_plans.h"

#include <algorithm>
#include <list>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tesmera {

namespace {

// Cached plans never hold more than this many samples of length in all.
constexpr std::int64_t CachedLengthLimit = std::int64_t{1} << 20;

// Serialises every call into FFTW's planner: making, destroying, and the
// cache's own bookkeeping.
std::mutex& PlannerLock() {
    static std::mutex lock;
    return lock;
}

// Plans by length, the least recently used dropped first. Under the lock.
template <class Plans>
class PlanCache {
  public:
    // The plans of length N and any plans dropped to make room for them;
    // the caller releases the dropped ones after unlocking, as their
    // destruction takes the lock again.
    std::shared_ptr<const Plans> For(std::int32_t N,
                                     std::vector<std::shared_ptr<const Plans>>& dropped) {
        const auto found = entries_.find(N);
        if (found != entries_.end()) {
            recent_.splice(recent_.begin(), recent_, found->second.position);
            return found->second.plans;
        }
        auto plans = std::make_shared<const Plans>(N);
        recent_.push_front(N);
        entries_.emplace(N, Entry{plans, recent_.begin()});
        held_ += N;
        while (held_ > CachedLengthLimit && recent_.size() > 1) {
            const std::int32_t oldest = recent_.back();
            recent_.pop_back();
            dropped.push_back(std::move(entries_.at(oldest).plans));
            entries_.erase(oldest);
            held_ -= oldest;
        }
        return plans;
    }

  private:
    struct Entry {
        std::shared_ptr<const Plans> plans;
        std::list<std::int32_t>::iterator position;
    };
    std::unordered_map<std::int32_t, Entry> entries_;
    std::list<std::int32_t> recent_;  // most recently used first
    std::int64_t held_ = 0;
};

// Estimated plans are the same plan on every run, but FFTW would still pick
// its codelets by the processor's vector instructions, and those round
// differently: without them every machine computes the same bits, as the
// window's figures and the report's must be.
constexpr unsigned PlanFlags = FFTW_ESTIMATE | FFTW_NO_SIMD;

}  // namespace

FftwRealBuffer AllocateFftwReal(std::size_t n) {
    return FftwRealBuffer(fftw_alloc_real(n));
}

FftwSpectrumBuffer AllocateFftwSpectrum(std::size_t n) {
    return FftwSpectrumBuffer(fftw_alloc_complex(n));
}

std::size_t HalfSpectrumSize(std::int32_t N) {
    return static_cast<std::size_t>(N / 2 + 1);
}

std::size_t SmoothTransformLength(std::size_t n) {
    for (std::size_t length = std::max<std::size_t>(n, 1);; ++length) {
        std::size_t rest = length;
        for (const std::size_t p : {2, 3, 5, 7}) {
            while (rest % p == 0) {
                rest /= p;
            }
        }
        if (rest == 1) {
            return length;
        }
    }
}

// Made under the lock (RealTransformPlansFor holds it).
RealTransformPlans::RealTransformPlans(std::int32_t N) : N_(N) {
    const FftwRealBuffer real = AllocateFftwReal(static_cast<std::size_t>(N));
    const FftwSpectrumBuffer spectrum = AllocateFftwSpectrum(HalfSpectrumSize(N));
    forward_ = fftw_plan_dft_r2c_1d(N, real.get(), spectrum.get(), PlanFlags);
    backward_ = fftw_plan_dft_c2r_1d(N, spectrum.get(), real.get(), PlanFlags);
}

// Destroyed by whichever caller drops the last hold, so the lock is taken here.
RealTransformPlans::~RealTransformPlans() {
    const std::lock_guard guard(PlannerLock());
    fftw_destroy_plan(forward_);
    fftw_destroy_plan(backward_);
}

// The cached plans of length N, of one kind.
template <class Plans>
std::shared_ptr<const Plans> CachedPlansFor(std::int32_t N) {
    std::mutex& lock = PlannerLock();  // made first, so it outlives the cache
    static PlanCache<Plans> cache;
    std::vector<std::shared_ptr<const Plans>> dropped;  // released after the lock
    const std::lock_guard guard(lock);
    return cache.For(N, dropped);
}

std::shared_ptr<const RealTransformPlans> RealTransformPlansFor(std::int32_t N) {
    return CachedPlansFor<RealTransformPlans>(N);
}

// Made under the lock (EvenRealTransformPlanFor holds it).
EvenRealTransformPlan::EvenRealTransformPlan(std::int32_t N) : N_(N) {
    const FftwRealBuffer in = AllocateFftwReal(static_cast<std::size_t>(N));
    const FftwRealBuffer out = AllocateFftwReal(static_cast<std::size_t>(N));
    plan_ = fftw_plan_r2r_1d(N, in.get(), out.get(), FFTW_REDFT00, PlanFlags);
}

EvenRealTransformPlan::~EvenRealTransformPlan() {
    const std::lock_guard guard(PlannerLock());
    fftw_destroy_plan(plan_);
}

std::shared_ptr<const EvenRealTransformPlan> EvenRealTransformPlanFor(std::int32_t N) {
    return CachedPlansFor<EvenRealTransformPlan>(N);
}

}  // namespace tesmera
