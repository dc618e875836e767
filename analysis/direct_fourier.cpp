// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/direct_fourier.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "analysis/fourier_apr.h"

namespace tesmera {

namespace {

// Samples in one vector: one AVX2 register. A wider vector would fill an
// AVX-512 register, but the AVX2 version would then spill every operation
// to memory and run thirty times slower.
constexpr std::int32_t Width = 4;
// Vectors in one block of samples, and the samples in it: each block costs
// a table step per harmonic, shared among all its products.
constexpr std::int32_t Halves = 2;
constexpr std::int32_t Lanes = Halves * Width;
// Harmonics summed side by side, so that their independent sums overlap.
constexpr std::int32_t HarmonicsPerPass = 4;
// Harmonics a call may need lane angles for: every harmonic up to
// MaxHarmonic, rounded up to whole passes.
constexpr std::int32_t MaxLaneHarmonics = CoefficientCount + HarmonicsPerPass;

using Vector = double __attribute__((vector_size(Width * sizeof(double))));

// Sample pairs (i, N − i) for i = 1..H, H = (N − 1)/2, as their sums and
// differences, zero-padded to whole lane blocks: Σ x_i cos(θi) over all i is
// x_N + [N even] x_{N/2} cos(πk) + Σ_{i≤H} (x_i + x_{N−i}) cos(θi), and the
// sines of the pair cancel to Σ_{i≤H} (x_i − x_{N−i}) sin(θi). The buffers
// serve call after call of the thread, so a batch allocates them once.
struct FoldedSamples {
    // Folds x less `offset` (the differences do not change).
    void Fold(std::span<const double> x, double offset) {
        const auto N = x.size();
        pairs = static_cast<std::int32_t>((N - 1) / 2);
        blocks = (pairs + Lanes - 1) / Lanes;
        sum.assign(static_cast<std::size_t>(blocks * Lanes), 0.0);
        difference.assign(sum.size(), 0.0);
        for (std::size_t i = 1; i <= static_cast<std::size_t>(pairs); ++i) {
            sum[i - 1] = (x[i - 1] - offset) + (x[N - i - 1] - offset);
            difference[i - 1] = x[i - 1] - x[N - i - 1];
        }
    }
    std::int32_t pairs = 0;
    std::int32_t blocks = 0;
    std::vector<double> sum;
    std::vector<double> difference;
};

// Position j + step in the table of N entries, for j, step < N: an
// addition instead of a division.
std::int32_t Advance(std::int32_t j, std::int32_t step, std::int32_t N) {
    j += step;
    return j >= N ? j - N : j;
}

// Table positions of harmonics 0..count−1 (count <= MaxLaneHarmonics): lane
// r of harmonic k holds the entry (k·r) mod N, so the angle of sample i0 + r
// is that of i0 turned by it. Also each harmonic's position at sample 1 and
// its step from block to block.
struct LaneAngles {
    LaneAngles(const HarmonicTable& table, std::int32_t count) {
        const std::int32_t N = table.Size();
        for (std::int32_t k = 0; k < count; ++k) {
            const std::int32_t step = k < N ? k : k % N;
            std::int32_t j = 0;
            for (std::int32_t r = 0; r < Lanes; ++r) {
                cos[k * Lanes + r] = table.Cos(j);
                sin[k * Lanes + r] = table.Sin(j);
                j = Advance(j, step, N);
            }
            first[k] = step;
            blockStep[k] = j;
        }
    }
    // Entries of harmonics 0..count−1 only: left unset beyond, as clearing
    // 14 kB costs more than filling what a short series uses.
    std::array<double, MaxLaneHarmonics * Lanes> cos;
    std::array<double, MaxLaneHarmonics * Lanes> sin;
    std::array<std::int32_t, MaxLaneHarmonics> first;
    std::array<std::int32_t, MaxLaneHarmonics> blockStep;
};

struct Kernel {
    const double* tableCos;
    const double* tableSin;
    std::int32_t N;
    const LaneAngles* lanes;
};

// Vectors pass by reference only: their by-value convention differs
// between the processor versions.
void Load(Vector& v, const double* from) {
    std::memcpy(&v, from, sizeof v);
}

void Store(const Vector& v, double* to) {
    std::memcpy(to, &v, sizeof v);
}

// The lanes stored in the opposite order: the last at to[0].
void StoreReversed(const Vector& v, double* to) {
    static_assert(Width == 4, "the lane order below names four lanes");
    Store(__builtin_shufflevector(v, v, 3, 2, 1, 0), to);
}

double LaneTotal(const Vector& v) {
    double total = 0.0;
    for (std::int32_t r = 0; r < Width; ++r) {
        total += v[r];
    }
    return total;
}

// The lanes' four running sums of one harmonic: u·c_b, u·s_b, v·c_b and
// v·s_b (see FoldedPass), each in the block's vectors.
struct LaneSums {
    Vector uc[Halves];
    Vector us[Halves];
    Vector vc[Halves];
    Vector vs[Halves];
};

// Folded sums of harmonics first..first+HarmonicsPerPass−1 over pair blocks
// starting at sample 1, block b covering samples i_b .. i_b + Lanes − 1,
// i_b = 1 + Lanes·b. The angle of sample i_b + r is that of i_b (one table
// entry, c_b + i s_b) turned by that of r (the lane angle); the turn is the
// same in every block, so each lane first gathers u·c_b, u·s_b, v·c_b and
// v·s_b over the blocks, and the lane angles are applied once at the end:
// four products per sample pair and harmonic instead of eight.
__attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4"))) void FoldedPass(
    const Kernel& kernel, const double* sum, const double* difference, std::int32_t blocks,
    std::int32_t first, double* cosSums, double* sinSums) {
    LaneSums sums[HarmonicsPerPass];
    std::int32_t j[HarmonicsPerPass];
    std::int32_t step[HarmonicsPerPass];
    for (std::int32_t h = 0; h < HarmonicsPerPass; ++h) {
        for (std::int32_t half = 0; half < Halves; ++half) {
            sums[h].uc[half] = sums[h].us[half] = sums[h].vc[half] = sums[h].vs[half] = Vector{};
        }
        j[h] = kernel.lanes->first[first + h];
        step[h] = kernel.lanes->blockStep[first + h];
    }
    for (std::int32_t block = 0; block < blocks; ++block) {
        Vector u[Halves];
        Vector v[Halves];
        for (std::int32_t half = 0; half < Halves; ++half) {
            Load(u[half], sum + block * Lanes + half * Width);
            Load(v[half], difference + block * Lanes + half * Width);
        }
        for (std::int32_t h = 0; h < HarmonicsPerPass; ++h) {
            const double c = kernel.tableCos[j[h]];
            const double s = kernel.tableSin[j[h]];
            for (std::int32_t half = 0; half < Halves; ++half) {
                sums[h].uc[half] += u[half] * c;
                sums[h].us[half] += u[half] * s;
                sums[h].vc[half] += v[half] * c;
                sums[h].vs[half] += v[half] * s;
            }
            j[h] += step[h];
            j[h] -= j[h] >= kernel.N ? kernel.N : 0;
        }
    }
    for (std::int32_t h = 0; h < HarmonicsPerPass; ++h) {
        const double* laneCos = kernel.lanes->cos.data() + (first + h) * Lanes;
        const double* laneSin = kernel.lanes->sin.data() + (first + h) * Lanes;
        Vector a = Vector{};
        Vector b = Vector{};
        for (std::int32_t half = 0; half < Halves; ++half) {
            Vector lc;
            Vector ls;
            Load(lc, laneCos + half * Width);
            Load(ls, laneSin + half * Width);
            a += lc * sums[h].uc[half] - ls * sums[h].us[half];
            b += lc * sums[h].vs[half] + ls * sums[h].vc[half];
        }
        cosSums[first + h] = LaneTotal(a);
        sinSums[first + h] = LaneTotal(b);
    }
}

// The series mean + Σ_{k=1..L} (a_k cos(θ_k i) + b_k sin(θ_k i)) at every
// sample pair (i, N − i), i = 1..pairs: the cosine part c and sine part s
// at i give mean + c + s there and mean + c − s at N − i, as the pair
// shares a cosine and negates a sine. Blocks of Lanes samples start at
// i0 = 1, 1 + Lanes, ...; the table position of harmonic k at i0 is
// start[k], advanced from block to block. One call walks every block, so
// the processor version is chosen once per series, not once per block.
__attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4"))) void SeriesPairs(
    const Kernel& kernel, const double* ax, const double* bx, std::int32_t L, std::int32_t* start,
    double mean, std::int32_t pairs, double* out) {
    for (std::int32_t i0 = 1; i0 <= pairs; i0 += Lanes) {
        Vector c[Halves] = {};
        Vector s[Halves] = {};
        for (std::int32_t k = 1; k <= L; ++k) {
            const double baseCos = kernel.tableCos[start[k]];
            const double baseSin = kernel.tableSin[start[k]];
            for (std::int32_t half = 0; half < Halves; ++half) {
                Vector laneCos;
                Vector laneSin;
                Load(laneCos, kernel.lanes->cos.data() + k * Lanes + half * Width);
                Load(laneSin, kernel.lanes->sin.data() + k * Lanes + half * Width);
                c[half] += ax[k] * (baseCos * laneCos - baseSin * laneSin);
                s[half] += bx[k] * (baseSin * laneCos + baseCos * laneSin);
            }
            start[k] += kernel.lanes->blockStep[k];
            start[k] -= start[k] >= kernel.N ? kernel.N : 0;
        }
        if (i0 + Lanes - 1 <= pairs) {
            // A whole block: samples i0.. ascend from out[i0 − 1], their
            // partners N − i0.. descend from out[N − i0 − 1].
            for (std::int32_t half = 0; half < Halves; ++half) {
                Store(mean + c[half] + s[half], out + i0 - 1 + half * Width);
                StoreReversed(mean + c[half] - s[half], out + kernel.N - i0 - (half + 1) * Width);
            }
            continue;
        }
        // The last, partial block, through memory: indexing the vectors'
        // lanes by a variable would keep them out of registers in the loop.
        double cosPart[Lanes];
        double sinPart[Lanes];
        for (std::int32_t half = 0; half < Halves; ++half) {
            Store(c[half], cosPart + half * Width);
            Store(s[half], sinPart + half * Width);
        }
        for (std::int32_t r = 0; i0 + r <= pairs; ++r) {
            const std::int32_t i = i0 + r;
            out[i - 1] = mean + cosPart[r] + sinPart[r];
            out[kernel.N - i - 1] = mean + cosPart[r] - sinPart[r];
        }
    }
}

Kernel KernelOf(const HarmonicTable& table, const LaneAngles& lanes) {
    return {table.CosData(), table.SinData(), table.Size(), &lanes};
}

}  // namespace

void DirectSums(const HarmonicTable& table, std::span<const double> samples, std::int32_t M,
                std::span<double> cosSums, std::span<double> sinSums) {
    const std::int32_t N = table.Size();
    // The sums are taken of the samples less the last one, x_N: for
    // harmonics 1..M < N the same sums, as the angles of a harmonic over a
    // whole period cancel, but a constant period then gives exact zeros, as
    // the fast transform does, not a rounding residue that would push its
    // order to the highest. For whole sample values the subtraction is exact.
    const double offset = samples[N - 1];
    thread_local FoldedSamples folded;
    folded.Fold(samples, offset);
    const std::int32_t passes = (M + HarmonicsPerPass) / HarmonicsPerPass;
    const LaneAngles lanes(table, passes * HarmonicsPerPass);
    const Kernel kernel = KernelOf(table, lanes);
    std::array<double, MaxLaneHarmonics> a{};
    std::array<double, MaxLaneHarmonics> b{};
    for (std::int32_t pass = 0; pass < passes; ++pass) {
        FoldedPass(kernel, folded.sum.data(), folded.difference.data(), folded.blocks,
                   pass * HarmonicsPerPass, a.data(), b.data());
    }
    // Samples N (angle 0, now x_N − x_N = 0) and, for even N, N/2 (angle πk)
    // have no partner.
    const double middle = N % 2 == 0 ? samples[N / 2 - 1] - offset : 0.0;
    for (std::int32_t k = 0; k <= M; ++k) {
        cosSums[k] = (k % 2 == 0 ? middle : -middle) + a[k];
        sinSums[k] = b[k];
    }
    cosSums[0] += N * offset;
}

void DirectSeries(const HarmonicTable& table, std::span<const double> ax,
                  std::span<const double> bx, std::int32_t L, std::span<double> out) {
    const std::int32_t N = table.Size();
    const std::int32_t order = std::max(L, 0);
    const LaneAngles lanes(table, order + 1);
    const Kernel kernel = KernelOf(table, lanes);
    std::array<std::int32_t, MaxLaneHarmonics> start;
    std::copy_n(lanes.first.begin(), order + 1, start.begin());
    const double mean = ax[0] / 2.0;
    SeriesPairs(kernel, ax.data(), bx.data(), order, start.data(), mean, (N - 1) / 2, out.data());
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
