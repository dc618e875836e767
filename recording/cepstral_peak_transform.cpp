// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_transform.h"

#include <fftw3.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <mutex>

#include "base/TesmeraError.h"

namespace tesmera {

namespace {

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// The library's planner is not thread-safe; executing a plan is.
std::mutex& PlannerLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

struct PowerCepstrumTransform::Buffers {
    explicit Buffers(std::size_t length)
        : Real(fftw_alloc_real(length)), Spectrum(fftw_alloc_complex(length / 2 + 1)) {
        const auto n = static_cast<int>(length);
        // Estimate-mode plans: the same length always runs the same arithmetic.
        const std::lock_guard lock(PlannerLock());
        Forward = fftw_plan_dft_r2c_1d(n, Real.get(), Spectrum.get(), FFTW_ESTIMATE);
        Backward = fftw_plan_dft_c2r_1d(n, Spectrum.get(), Real.get(), FFTW_ESTIMATE);
    }
    ~Buffers() {
        const std::lock_guard lock(PlannerLock());
        fftw_destroy_plan(Forward);
        fftw_destroy_plan(Backward);
    }
    Buffers(const Buffers&) = delete;
    Buffers& operator=(const Buffers&) = delete;

    std::unique_ptr<double[], FftwFree> Real;
    std::unique_ptr<fftw_complex[], FftwFree> Spectrum;
    fftw_plan Forward = nullptr;
    fftw_plan Backward = nullptr;
};

PowerCepstrumTransform::PowerCepstrumTransform(std::size_t length, double samplePeriod)
    : length_(length), samplePeriod_(samplePeriod) {
    if (length < 4 || !std::has_single_bit(length)) {
        throw TesmeraError("the cepstrum length must be a power of two");
    }
    buffers_ = std::make_unique<Buffers>(length);
}

PowerCepstrumTransform::~PowerCepstrumTransform() = default;

void PowerCepstrumTransform::Apply(std::span<const double> frame, std::span<double> cepstrum) {
    double* real = buffers_->Real.get();
    fftw_complex* spectrum = buffers_->Spectrum.get();
    const std::size_t used = std::min(frame.size(), length_);
    std::copy_n(frame.begin(), used, real);
    std::fill(real + used, real + length_, 0.0);
    fftw_execute(buffers_->Forward);

    const std::size_t bins = Quefrencies();
    const double squaredPeriod = samplePeriod_ * samplePeriod_;
    for (std::size_t k = 0; k < bins; ++k) {
        const double power = spectrum[k][0] * spectrum[k][0] + spectrum[k][1] * spectrum[k][1];
        spectrum[k][0] = std::log(power * squaredPeriod + 1e-300);
        spectrum[k][1] = 0;
    }
    fftw_execute(buffers_->Backward);  // unscaled: the sum over all N bins

    const double binWidth = 1 / (static_cast<double>(length_) * samplePeriod_);
    for (std::size_t n = 0; n < bins && n < cepstrum.size(); ++n) {
        const double c = real[n] * binWidth;
        cepstrum[n] = c * c;
    }
}

std::vector<std::complex<double>> RealSpectrum(std::span<const double> signal) {
    const std::size_t n = signal.size();
    const std::unique_ptr<double[], FftwFree> real(fftw_alloc_real(n));
    std::vector<std::complex<double>> spectrum(n / 2 + 1);
    // std::complex<double> has the layout of fftw_complex.
    auto* bins = reinterpret_cast<fftw_complex*>(spectrum.data());
    fftw_plan plan = nullptr;
    {
        const std::lock_guard lock(PlannerLock());
        plan = fftw_plan_dft_r2c_1d(static_cast<int>(n), real.get(), bins, FFTW_ESTIMATE);
    }
    std::ranges::copy(signal, real.get());
    fftw_execute(plan);
    const std::lock_guard lock(PlannerLock());
    fftw_destroy_plan(plan);
    return spectrum;
}

std::vector<double> RealSignal(std::span<const std::complex<double>> spectrum, std::size_t length) {
    const std::size_t bins = length / 2 + 1;
    const std::unique_ptr<fftw_complex[], FftwFree> input(fftw_alloc_complex(bins));
    std::vector<double> signal(length);
    fftw_plan plan = nullptr;
    {
        const std::lock_guard lock(PlannerLock());
        plan = fftw_plan_dft_c2r_1d(static_cast<int>(length), input.get(), signal.data(),
                                    FFTW_ESTIMATE);
    }
    for (std::size_t k = 0; k < bins; ++k) {
        const std::complex<double> value = k < spectrum.size() ? spectrum[k] : 0.0;
        input[k][0] = value.real();
        input[k][1] = value.imag();
    }
    fftw_execute(plan);  // overwrites `input`, which is why it is a copy
    const std::lock_guard lock(PlannerLock());
    fftw_destroy_plan(plan);
    return signal;
}

}  // namespace tesmera
