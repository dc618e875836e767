// SPDX-License-Identifier: GPL-3.0-or-later
// Every FFTW plan of the program. FFTW's planner is one per process and not
// thread-safe (only executing a plan is), so plans are made and destroyed
// here alone, under one lock, whichever part of the program transforms.
#pragma once

#include <fftw3.h>

#include <cstdint>
#include <memory>

namespace tesmera {

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};
// Arrays from fftw_malloc, whose alignment always matches the plans'.
using FftwRealBuffer = std::unique_ptr<double[], FftwFree>;
using FftwSpectrumBuffer = std::unique_ptr<fftw_complex[], FftwFree>;
FftwRealBuffer AllocateFftwReal(std::size_t n);
FftwSpectrumBuffer AllocateFftwSpectrum(std::size_t n);

// The number of complex bins of the half spectrum of N real samples.
std::size_t HalfSpectrumSize(std::int32_t N);

// The smallest length of at least `n` whose only prime factors are 2, 3, 5
// and 7: the lengths the FFT library transforms fastest.
std::size_t SmoothTransformLength(std::size_t n);

// The forward (real to half spectrum) and backward (half spectrum to real,
// unscaled) transforms of one length. They run on any arrays from the
// allocators above; any number of threads may execute them at once.
// Estimated plans: the same length always runs the same arithmetic, so
// results depend neither on timing nor on which thread planned first.
class RealTransformPlans {
  public:
    explicit RealTransformPlans(std::int32_t N);
    ~RealTransformPlans();
    RealTransformPlans(const RealTransformPlans&) = delete;
    RealTransformPlans& operator=(const RealTransformPlans&) = delete;

    std::int32_t Size() const { return N_; }
    void Forward(double* in, fftw_complex* out) const { fftw_execute_dft_r2c(forward_, in, out); }
    // Overwrites `in`.
    void Backward(fftw_complex* in, double* out) const { fftw_execute_dft_c2r(backward_, in, out); }

  private:
    std::int32_t N_;
    fftw_plan forward_ = nullptr;
    fftw_plan backward_ = nullptr;
};

// The plans of length N (N >= 1), made on first use and cached: the least
// recently used lengths are dropped once those held exceed about a million
// samples in all, a few megabytes of twiddle factors whatever lengths a
// batch brings. A caller's plans stay alive while it holds them, even if
// they are dropped meanwhile. Safe to call from any thread.
std::shared_ptr<const RealTransformPlans> RealTransformPlansFor(std::int32_t N);

// The type-I discrete cosine transform of N real values (N >= 2), unscaled:
//   Y_k = X_0 + (−1)^k X_(N−1) + 2 Σ_(j=1..N−2) X_j cos(πjk / (N − 1)),
// the backward real transform of a real, even half spectrum of N bins
// (a signal of 2(N − 1) values) at its first N outputs, in about half the
// work. Runs on any arrays from AllocateFftwReal, `in` and `out` distinct,
// from any number of threads at once; estimated as the plans above.
class EvenRealTransformPlan {
  public:
    explicit EvenRealTransformPlan(std::int32_t N);
    ~EvenRealTransformPlan();
    EvenRealTransformPlan(const EvenRealTransformPlan&) = delete;
    EvenRealTransformPlan& operator=(const EvenRealTransformPlan&) = delete;

    std::int32_t Size() const { return N_; }
    void Apply(double* in, double* out) const { fftw_execute_r2r(plan_, in, out); }

  private:
    std::int32_t N_;
    fftw_plan plan_ = nullptr;
};

// The plan of N points, made on first use and cached as RealTransformPlansFor
// caches its plans.
std::shared_ptr<const EvenRealTransformPlan> EvenRealTransformPlanFor(std::int32_t N);

}  // namespace tesmera
