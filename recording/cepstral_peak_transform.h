// SPDX-License-Identifier: GPL-3.0-or-later
// The power cepstrum of one analysis frame and the whole-signal transforms
// of the cepstral peak measure, on the program's shared transform plans.
#pragma once

#include <complex>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace tesmera {

// Transforms frames of one power-of-two length N. Not thread-safe: use one
// object per thread.
class PowerCepstrumTransform {
  public:
    // `length`: N, a power of two of at least 4. `samplePeriod`: seconds
    // between the frame's samples. Throws TesmeraError for another length.
    PowerCepstrumTransform(std::size_t length, double samplePeriod);
    ~PowerCepstrumTransform();
    PowerCepstrumTransform(const PowerCepstrumTransform&) = delete;
    PowerCepstrumTransform& operator=(const PowerCepstrumTransform&) = delete;

    std::size_t Length() const { return length_; }
    std::size_t Quefrencies() const { return length_ / 2 + 1; }

    // `frame`: at most N samples, zero-padded to N. `cepstrum`: Quefrencies()
    // values, c[n]² for n = 0..N/2 (quefrency n · samplePeriod), where c is
    // the inverse transform of the natural logarithm of the power spectrum,
    //   c[n] = Δf · Σ_k ln(|T·X_k|² + 1e-300) · e^(2πikn/N)   (k over all N bins),
    // X_k = Σ_m x[m] e^(−2πikm/N), T the sample period and Δf = 1 / (N·T):
    // the spectrum and its inverse scaled as physical densities, so that c[0]
    // and the powers do not depend on N.
    void Apply(std::span<const double> frame, std::span<double> cepstrum);

  private:
    struct Buffers;
    std::size_t length_;
    double samplePeriod_;
    std::unique_ptr<Buffers> buffers_;
};

// Transforms of a whole signal, of any length. Safe to call from several
// threads at once.

// The half spectrum of a whole signal, held in the transform's own array so
// that it is filtered in place, without copies of its megabytes.
class WholeSpectrum {
  public:
    // The N/2 + 1 bins X_k = Σ_m x[m] e^(−2πikm/N) of the N (`length`) real
    // values x: `signal` from `offset` on, zeros elsewhere. The signal must
    // fit: offset + signal.size() ≤ length.
    WholeSpectrum(std::span<const double> signal, std::size_t offset, std::size_t length);
    ~WholeSpectrum();
    WholeSpectrum(const WholeSpectrum&) = delete;
    WholeSpectrum& operator=(const WholeSpectrum&) = delete;

    std::span<std::complex<double>> Bins() { return bins_; }

  private:
    struct Array;
    std::unique_ptr<Array> array_;  // FFTW's, holding the bins
    std::span<std::complex<double>> bins_;
};

// The N/2 + 1 bins of the real `signal` (N values): WholeSpectrum's, copied.
std::vector<std::complex<double>> RealSpectrum(std::span<const double> signal);
// The first `count` values (count ≤ N) of the real signal
//   x[m] = scale · Σ_k X_k e^(2πikm/N)
// of `length` (N) values, k over all N bins, the upper ones the conjugates of
// the N/2 + 1 lowest: those given in `spectrum`, zeros above them.
std::vector<double> RealSignal(std::span<const std::complex<double>> spectrum, std::size_t length,
                               std::size_t count, double scale = 1);
inline std::vector<double> RealSignal(std::span<const std::complex<double>> spectrum,
                                      std::size_t length) {
    return RealSignal(spectrum, length, length);
}

}  // namespace tesmera
