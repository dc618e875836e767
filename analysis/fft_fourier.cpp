// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/fft_fourier.h"

#include <fftw3.h>

#include <algorithm>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace tesmera {

namespace {

// Cached plans never hold more than this many samples of length in all,
// whatever lengths a batch brings: a few megabytes of twiddle factors.
constexpr std::int64_t CachedLengthLimit = std::int64_t{1} << 20;

// FFTW's planner is not thread-safe; only executing a plan is. Every plan
// is made and destroyed under this lock.
std::mutex& PlannerLock() {
    static std::mutex lock;
    return lock;
}

template <typename T>
struct FftwFree {
    void operator()(T* p) const { fftw_free(p); }
};
using RealBuffer = std::unique_ptr<double, FftwFree<double>>;
using ComplexBuffer = std::unique_ptr<fftw_complex, FftwFree<fftw_complex>>;

std::size_t SpectrumSize(std::int32_t N) {
    return static_cast<std::size_t>(N / 2 + 1);
}

// The forward (real to half spectrum) and backward plans of one length.
// They are executed on other arrays than they were made with; all arrays
// come from fftw_malloc, so their alignment always matches the plans'.
class LengthPlans {
  public:
    explicit LengthPlans(std::int32_t N) : N_(N) {
        const RealBuffer real(fftw_alloc_real(static_cast<std::size_t>(N)));
        const ComplexBuffer spectrum(fftw_alloc_complex(SpectrumSize(N)));
        // Estimated plans: the same plan, so the same rounding, on every run.
        const std::lock_guard guard(PlannerLock());
        forward_ = fftw_plan_dft_r2c_1d(N, real.get(), spectrum.get(), FFTW_ESTIMATE);
        backward_ = fftw_plan_dft_c2r_1d(N, spectrum.get(), real.get(), FFTW_ESTIMATE);
    }
    ~LengthPlans() {
        const std::lock_guard guard(PlannerLock());
        fftw_destroy_plan(forward_);
        fftw_destroy_plan(backward_);
    }
    LengthPlans(const LengthPlans&) = delete;
    LengthPlans& operator=(const LengthPlans&) = delete;

    std::int32_t Size() const { return N_; }
    void Forward(double* in, fftw_complex* out) const { fftw_execute_dft_r2c(forward_, in, out); }
    // Overwrites `in`.
    void Backward(fftw_complex* in, double* out) const { fftw_execute_dft_c2r(backward_, in, out); }

  private:
    std::int32_t N_;
    fftw_plan forward_ = nullptr;
    fftw_plan backward_ = nullptr;
};

// Plans by length, the least recently used dropped first once the lengths
// held exceed CachedLengthLimit. A caller's plans stay alive while it uses
// them even if they are dropped meanwhile.
class PlanCache {
  public:
    std::shared_ptr<const LengthPlans> For(std::int32_t N) {
        std::vector<std::shared_ptr<const LengthPlans>> dropped;
        const std::lock_guard guard(lock_);
        const auto found = entries_.find(N);
        if (found != entries_.end()) {
            recent_.splice(recent_.begin(), recent_, found->second.position);
            return found->second.plans;
        }
        auto plans = std::make_shared<const LengthPlans>(N);
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
        std::shared_ptr<const LengthPlans> plans;
        std::list<std::int32_t>::iterator position;
    };
    std::mutex lock_;
    std::unordered_map<std::int32_t, Entry> entries_;
    std::list<std::int32_t> recent_;  // most recently used first
    std::int64_t held_ = 0;
};

std::shared_ptr<const LengthPlans> PlansFor(std::int32_t N) {
    static PlanCache cache;
    return cache.For(N);
}

// Working arrays of the calling thread, grown to the longest length seen.
class Scratch {
  public:
    static Scratch& OfThisThread(std::int32_t N) {
        thread_local Scratch scratch;
        scratch.Reserve(N);
        return scratch;
    }
    double* Real() { return real_.get(); }
    fftw_complex* Spectrum() { return spectrum_.get(); }

  private:
    void Reserve(std::int32_t N) {
        if (N > capacity_) {
            real_.reset(fftw_alloc_real(static_cast<std::size_t>(N)));
            spectrum_.reset(fftw_alloc_complex(SpectrumSize(N)));
            capacity_ = N;
        }
    }
    RealBuffer real_;
    ComplexBuffer spectrum_;
    std::int32_t capacity_ = 0;
};

}  // namespace

// The transform numbers samples from 0; sample x_N sits at position 0, as
// its angle 2πkN/N is a whole number of turns.
void FftSums(std::span<const double> samples, std::int32_t M, std::span<double> cosSums,
             std::span<double> sinSums) {
    const auto N = static_cast<std::int32_t>(samples.size());
    const auto plans = PlansFor(N);
    Scratch& scratch = Scratch::OfThisThread(N);
    double* real = scratch.Real();
    real[0] = samples[N - 1];
    std::copy(samples.begin(), samples.end() - 1, real + 1);
    plans->Forward(real, scratch.Spectrum());
    const fftw_complex* spectrum = scratch.Spectrum();
    for (std::int32_t k = 0; k <= M; ++k) {
        cosSums[k] = spectrum[k][0];
        sinSums[k] = -spectrum[k][1];
    }
}

// The backward transform sums Z_k e^{+2πikn/N} over the whole spectrum, the
// mirror half being the conjugates; Z_k = (a_k − i b_k)/2 makes each pair
// a_k cos + b_k sin.
void FftSeries(std::span<const double> ax, std::span<const double> bx, std::int32_t L,
               std::span<double> out) {
    const auto N = static_cast<std::int32_t>(out.size());
    const auto plans = PlansFor(N);
    Scratch& scratch = Scratch::OfThisThread(N);
    fftw_complex* spectrum = scratch.Spectrum();
    std::fill_n(&spectrum[0][0], 2 * SpectrumSize(N), 0.0);
    spectrum[0][0] = ax[0] / 2.0;
    for (std::int32_t k = 1; k <= L; ++k) {
        spectrum[k][0] = ax[k] / 2.0;
        spectrum[k][1] = -bx[k] / 2.0;
    }
    double* real = scratch.Real();
    plans->Backward(spectrum, real);
    out[N - 1] = real[0];
    std::copy(real + 1, real + N, out.begin());
}

}  // namespace tesmera
