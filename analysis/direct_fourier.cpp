// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/direct_fourier.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace tesmera {

namespace {

// Samples handled together; one AVX-512 register, two AVX2 registers.
constexpr std::int32_t Lanes = 8;
// Harmonics summed side by side, so that their independent sums overlap.
constexpr std::int32_t HarmonicsPerPass = 4;

using Vector = double __attribute__((vector_size(Lanes * sizeof(double))));

// Sample pairs (i, N − i) for i = 1..H, H = (N − 1)/2, as their sums and
// differences, zero-padded to whole lane blocks: Σ x_i cos(θi) over all i is
// x_N + [N even] x_{N/2} cos(πk) + Σ_{i≤H} (x_i + x_{N−i}) cos(θi), and the
// sines of the pair cancel to Σ_{i≤H} (x_i − x_{N−i}) sin(θi).
struct FoldedSamples {
    explicit FoldedSamples(std::span<const double> x)
        : pairs(static_cast<std::int32_t>((x.size() - 1) / 2)),
          blocks((pairs + Lanes - 1) / Lanes),
          sum(static_cast<std::size_t>(blocks * Lanes), 0.0),
          difference(sum.size(), 0.0) {
        const auto N = x.size();
        for (std::size_t i = 1; i <= static_cast<std::size_t>(pairs); ++i) {
            sum[i - 1] = x[i - 1] + x[N - i - 1];
            difference[i - 1] = x[i - 1] - x[N - i - 1];
        }
    }
    std::int32_t pairs;
    std::int32_t blocks;
    std::vector<double> sum;
    std::vector<double> difference;
};

// Table positions of harmonics 0..count−1 within one lane block: lane r of
// harmonic k holds the entry (k·r) mod N, so the angle of sample i0 + r is
// that of i0 turned by it. Also each harmonic's step from block to block.
struct LaneAngles {
    LaneAngles(const HarmonicTable& table, std::int32_t count)
        : cos(static_cast<std::size_t>(count * Lanes)),
          sin(cos.size()),
          blockStep(static_cast<std::size_t>(count)) {
        for (std::int32_t k = 0; k < count; ++k) {
            for (std::int32_t r = 0; r < Lanes; ++r) {
                const std::int32_t j = table.IndexOf(k, r);
                cos[k * Lanes + r] = table.Cos(j);
                sin[k * Lanes + r] = table.Sin(j);
            }
            blockStep[k] = table.IndexOf(k, Lanes);
        }
    }
    std::vector<double> cos;
    std::vector<double> sin;
    std::vector<std::int32_t> blockStep;
};

struct Kernel {
    const double* tableCos;
    const double* tableSin;
    std::int32_t N;
    const double* laneCos;  // LaneAngles, harmonic-major
    const double* laneSin;
    const std::int32_t* blockStep;
};

// Vectors pass by reference only: their by-value convention differs
// between the processor versions.
void Load(Vector& v, const double* from) {
    std::memcpy(&v, from, sizeof v);
}

void Store(const Vector& v, double* to) {
    std::memcpy(to, &v, sizeof v);
}

double LaneTotal(const Vector& v) {
    double total = 0.0;
    for (std::int32_t r = 0; r < Lanes; ++r) {
        total += v[r];
    }
    return total;
}

// Folded sums of harmonics first..first+HarmonicsPerPass−1 over pair blocks
// starting at sample 1, block b covering samples 1 + 8b .. 8 + 8b.
__attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4"))) void FoldedPass(
    const Kernel& kernel, const double* sum, const double* difference, std::int32_t blocks,
    std::int32_t first, double* cosSums, double* sinSums) {
    Vector laneCos[HarmonicsPerPass];
    Vector laneSin[HarmonicsPerPass];
    Vector a[HarmonicsPerPass];
    Vector b[HarmonicsPerPass];
    std::int32_t j[HarmonicsPerPass];
    for (std::int32_t h = 0; h < HarmonicsPerPass; ++h) {
        const std::int32_t k = first + h;
        Load(laneCos[h], kernel.laneCos + k * Lanes);
        Load(laneSin[h], kernel.laneSin + k * Lanes);
        a[h] = Vector{};
        b[h] = Vector{};
        j[h] = k % kernel.N;
    }
    for (std::int32_t block = 0; block < blocks; ++block) {
        Vector u;
        Vector v;
        Load(u, sum + block * Lanes);
        Load(v, difference + block * Lanes);
        for (std::int32_t h = 0; h < HarmonicsPerPass; ++h) {
            const double c = kernel.tableCos[j[h]];
            const double s = kernel.tableSin[j[h]];
            a[h] += u * (c * laneCos[h] - s * laneSin[h]);
            b[h] += v * (s * laneCos[h] + c * laneSin[h]);
            j[h] += kernel.blockStep[first + h];
            j[h] -= j[h] >= kernel.N ? kernel.N : 0;
        }
    }
    for (std::int32_t h = 0; h < HarmonicsPerPass; ++h) {
        cosSums[first + h] = LaneTotal(a[h]);
        sinSums[first + h] = LaneTotal(b[h]);
    }
}

// The cosine and sine parts of the series of harmonics 1..L over one block
// of pairs starting at sample i0 (the table position of harmonic k at i0 is
// start[k], advanced here to the next block).
__attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4"))) void SeriesBlock(
    const Kernel& kernel, const double* ax, const double* bx, std::int32_t L, std::int32_t* start,
    double* cosPart, double* sinPart) {
    Vector c = Vector{};
    Vector s = Vector{};
    for (std::int32_t k = 1; k <= L; ++k) {
        const double baseCos = kernel.tableCos[start[k]];
        const double baseSin = kernel.tableSin[start[k]];
        Vector laneCos;
        Vector laneSin;
        Load(laneCos, kernel.laneCos + k * Lanes);
        Load(laneSin, kernel.laneSin + k * Lanes);
        c += ax[k] * (baseCos * laneCos - baseSin * laneSin);
        s += bx[k] * (baseSin * laneCos + baseCos * laneSin);
        start[k] += kernel.blockStep[k];
        start[k] -= start[k] >= kernel.N ? kernel.N : 0;
    }
    Store(c, cosPart);
    Store(s, sinPart);
}

Kernel KernelOf(const HarmonicTable& table, const LaneAngles& lanes) {
    return {table.CosData(),  table.SinData(),  table.Size(),
            lanes.cos.data(), lanes.sin.data(), lanes.blockStep.data()};
}

}  // namespace

void DirectSums(const HarmonicTable& table, std::span<const double> samples, std::int32_t M,
                std::span<double> cosSums, std::span<double> sinSums) {
    const std::int32_t N = table.Size();
    const FoldedSamples folded(samples);
    const std::int32_t passes = (M + HarmonicsPerPass) / HarmonicsPerPass;
    const LaneAngles lanes(table, passes * HarmonicsPerPass);
    const Kernel kernel = KernelOf(table, lanes);
    std::vector<double> a(lanes.blockStep.size());
    std::vector<double> b(a.size());
    for (std::int32_t pass = 0; pass < passes; ++pass) {
        FoldedPass(kernel, folded.sum.data(), folded.difference.data(), folded.blocks,
                   pass * HarmonicsPerPass, a.data(), b.data());
    }
    // Samples N (angle 0) and, for even N, N/2 (angle πk) have no partner.
    const double last = samples[N - 1];
    const double middle = N % 2 == 0 ? samples[N / 2 - 1] : 0.0;
    for (std::int32_t k = 0; k <= M; ++k) {
        cosSums[k] = last + (k % 2 == 0 ? middle : -middle) + a[k];
        sinSums[k] = b[k];
    }
}

void DirectSeries(const HarmonicTable& table, std::span<const double> ax,
                  std::span<const double> bx, std::int32_t L, std::span<double> out) {
    const std::int32_t N = table.Size();
    const std::int32_t order = std::max(L, 0);
    const LaneAngles lanes(table, order + 1);
    const Kernel kernel = KernelOf(table, lanes);
    std::vector<std::int32_t> start(static_cast<std::size_t>(order + 1));
    for (std::int32_t k = 0; k <= order; ++k) {
        start[k] = table.IndexOf(k, 1);
    }
    const double mean = ax[0] / 2.0;
    const std::int32_t pairs = (N - 1) / 2;
    std::array<double, Lanes> cosPart{};
    std::array<double, Lanes> sinPart{};
    for (std::int32_t i0 = 1; i0 <= pairs; i0 += Lanes) {
        SeriesBlock(kernel, ax.data(), bx.data(), order, start.data(), cosPart.data(),
                    sinPart.data());
        for (std::int32_t r = 0; r < Lanes && i0 + r <= pairs; ++r) {
            const std::int32_t i = i0 + r;
            out[i - 1] = mean + cosPart[r] + sinPart[r];
            out[N - i - 1] = mean + cosPart[r] - sinPart[r];
        }
    }
    double atZero = mean;
    double atHalf = mean;
    for (std::int32_t k = 1; k <= order; ++k) {
        atZero += ax[k];
        atHalf += k % 2 == 0 ? ax[k] : -ax[k];
    }
    out[N - 1] = atZero;
    if (N % 2 == 0) {
        out[N / 2 - 1] = atHalf;
    }
}

}  // namespace tesmera
