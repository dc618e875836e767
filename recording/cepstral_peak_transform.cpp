// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/cepstral_peak_transform.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "analysis/fft_plans.h"
#include "base/TesmeraError.h"

namespace tesmera {

struct PowerCepstrumTransform::Buffers {
    explicit Buffers(std::size_t length)
        : Plans(RealTransformPlansFor(static_cast<std::int32_t>(length))),
          Inverse(EvenRealTransformPlanFor(
              static_cast<std::int32_t>(HalfSpectrumSize(static_cast<std::int32_t>(length))))),
          Real(AllocateFftwReal(length)),
          Spectrum(AllocateFftwSpectrum(HalfSpectrumSize(static_cast<std::int32_t>(length)))),
          LogPower(AllocateFftwReal(HalfSpectrumSize(static_cast<std::int32_t>(length)))) {}

    std::shared_ptr<const RealTransformPlans> Plans;
    // The log power spectrum is real and even, so its inverse transform is
    // a cosine transform of the half spectrum.
    std::shared_ptr<const EvenRealTransformPlan> Inverse;
    FftwRealBuffer Real;
    FftwSpectrumBuffer Spectrum;
    FftwRealBuffer LogPower;
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
    buffers_->Plans->Forward(real, spectrum);

    const std::size_t bins = Quefrencies();
    const double squaredPeriod = samplePeriod_ * samplePeriod_;
    double* logPower = buffers_->LogPower.get();
    for (std::size_t k = 0; k < bins; ++k) {
        const double power = spectrum[k][0] * spectrum[k][0] + spectrum[k][1] * spectrum[k][1];
        logPower[k] = std::log(power * squaredPeriod + 1e-300);
    }
    buffers_->Inverse->Apply(logPower, real);  // unscaled: the sum over all N bins

    const double binWidth = 1 / (static_cast<double>(length_) * samplePeriod_);
    for (std::size_t n = 0; n < bins && n < cepstrum.size(); ++n) {
        const double c = real[n] * binWidth;
        cepstrum[n] = c * c;
    }
}

struct WholeSpectrum::Array {
    FftwSpectrumBuffer Bins;
};

WholeSpectrum::WholeSpectrum(std::span<const double> signal, std::size_t offset,
                             std::size_t length) {
    const auto n = static_cast<std::int32_t>(length);
    const auto plans = RealTransformPlansFor(n);
    const std::size_t bins = HalfSpectrumSize(n);
    array_ = std::make_unique<Array>(Array{AllocateFftwSpectrum(bins)});
    const FftwRealBuffer real = AllocateFftwReal(length);
    std::fill_n(real.get(), offset, 0.0);
    std::ranges::copy(signal, real.get() + offset);
    std::fill(real.get() + offset + signal.size(), real.get() + length, 0.0);
    plans->Forward(real.get(), array_->Bins.get());
    // FFTW's complex type is laid out as std::complex<double>, which may
    // therefore view its arrays.
    bins_ = {reinterpret_cast<std::complex<double>*>(array_->Bins.get()), bins};
}

WholeSpectrum::~WholeSpectrum() = default;

std::vector<std::complex<double>> RealSpectrum(std::span<const double> signal) {
    WholeSpectrum spectrum(signal, 0, signal.size());
    return {spectrum.Bins().begin(), spectrum.Bins().end()};
}

std::vector<double> RealSignal(std::span<const std::complex<double>> spectrum, std::size_t length,
                               std::size_t count, double scale) {
    const auto n = static_cast<std::int32_t>(length);
    const auto plans = RealTransformPlansFor(n);
    const std::size_t bins = HalfSpectrumSize(n);
    const FftwSpectrumBuffer input = AllocateFftwSpectrum(bins);
    for (std::size_t k = 0; k < bins; ++k) {
        const std::complex<double> value = k < spectrum.size() ? spectrum[k] : 0.0;
        input[k][0] = value.real();
        input[k][1] = value.imag();
    }
    const FftwRealBuffer output = AllocateFftwReal(length);
    plans->Backward(input.get(), output.get());
    std::vector<double> signal(count);
    std::transform(output.get(), output.get() + count, signal.begin(),
                   [scale](double value) { return value * scale; });
    return signal;
}

}  // namespace tesmera
