// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/fft_fourier.h"

#include <algorithm>

#include "analysis/fft_plans.h"

namespace tesmera {

namespace {

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
            real_ = AllocateFftwReal(static_cast<std::size_t>(N));
            spectrum_ = AllocateFftwSpectrum(HalfSpectrumSize(N));
            capacity_ = N;
        }
    }
    FftwRealBuffer real_;
    FftwSpectrumBuffer spectrum_;
    std::int32_t capacity_ = 0;
};

}  // namespace

// The transform numbers samples from 0; sample x_N sits at position 0, as
// its angle 2πkN/N is a whole number of turns.
void FftSums(std::span<const double> samples, std::int32_t M, std::span<double> cosSums,
             std::span<double> sinSums) {
    const auto N = static_cast<std::int32_t>(samples.size());
    const auto plans = RealTransformPlansFor(N);
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
    const auto plans = RealTransformPlansFor(N);
    Scratch& scratch = Scratch::OfThisThread(N);
    fftw_complex* spectrum = scratch.Spectrum();
    std::fill_n(&spectrum[0][0], 2 * HalfSpectrumSize(N), 0.0);
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
