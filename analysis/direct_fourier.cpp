// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/direct_fourier.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/fourier_apr.h"
#include "base/TesmeraError.h"

namespace tesmera {

namespace {

// Samples in one block: each block costs a table step per harmonic, shared
// among all its products. A block is one AVX-512 register, two AVX2 or four
// SSE2 registers: each version takes vectors of its registers' width, as
// vectors wider than the registers go through memory and run several times
// slower.
constexpr std::int32_t Lanes = 8;
// The lanes a block's sums are folded onto before their total: those of one
// AVX2 register. Every version folds and adds in this one order.
constexpr std::int32_t SumLanes = 4;
// Harmonics summed side by side, so that their independent sums overlap.
constexpr std::int32_t HarmonicsPerPass = 4;
// Harmonics a call may need lane angles for: every harmonic up to
// MaxHarmonic, rounded up to whole passes.
constexpr std::int32_t MaxLaneHarmonics = CoefficientCount + HarmonicsPerPass;

// Width samples side by side: 2, 4 or 8.
template <std::int32_t Width>
struct VectorOf {
    typedef double Type __attribute__((vector_size(Width * sizeof(double))));
};
template <std::int32_t Width>
using Vector = typename VectorOf<Width>::Type;

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

// The helpers and kernels below are compiled into each processor version
// that calls them, never called across versions. Vectors pass by reference
// only all the same: their by-value convention differs between versions.
template <class V>
[[gnu::always_inline]] inline void Load(V& v, const double* from) {
    std::memcpy(&v, from, sizeof v);
}

template <class V>
[[gnu::always_inline]] inline void Store(const V& v, double* to) {
    std::memcpy(to, &v, sizeof v);
}

// The lanes stored in the opposite order: the last at to[0].
[[gnu::always_inline]] inline void StoreReversed(const Vector<2>& v, double* to) {
    Store(__builtin_shufflevector(v, v, 1, 0), to);
}

[[gnu::always_inline]] inline void StoreReversed(const Vector<4>& v, double* to) {
    Store(__builtin_shufflevector(v, v, 3, 2, 1, 0), to);
}

[[gnu::always_inline]] inline void StoreReversed(const Vector<8>& v, double* to) {
    Store(__builtin_shufflevector(v, v, 7, 6, 5, 4, 3, 2, 1, 0), to);
}

// The total of a block's lanes, given as Lanes / Width vectors: lane r of
// every SumLanes-wide group is added onto r, group by group from zero, then
// those SumLanes are added from zero in order.
template <std::int32_t Width>
[[gnu::always_inline]] inline double BlockTotal(const Vector<Width> (&parts)[Lanes / Width]) {
    double folded[SumLanes] = {};
    for (std::int32_t lane = 0; lane < Lanes; ++lane) {
        folded[lane % SumLanes] += parts[lane / Width][lane % Width];
    }
    double total = 0.0;
    for (const double value : folded) {
        total += value;
    }
    return total;
}

// The lanes' four running sums of one harmonic: u·c_b, u·s_b, v·c_b and
// v·s_b (see FoldedPass), each in the block's Lanes / Width vectors.
template <std::int32_t Width>
struct LaneSums {
    static constexpr std::int32_t Parts = Lanes / Width;
    Vector<Width> uc[Parts];
    Vector<Width> us[Parts];
    Vector<Width> vc[Parts];
    Vector<Width> vs[Parts];
};

// Folded sums of harmonics first..first+HarmonicsPerPass−1 over pair blocks
// starting at sample 1, block b covering samples i_b .. i_b + Lanes − 1,
// i_b = 1 + Lanes·b. The angle of sample i_b + r is that of i_b (one table
// entry, c_b + i s_b) turned by that of r (the lane angle); the turn is the
// same in every block, so each lane first gathers u·c_b, u·s_b, v·c_b and
// v·s_b over the blocks, and the lane angles are applied once at the end:
// four products per sample pair and harmonic instead of eight.
struct FoldedPass {
    const Kernel& kernel;
    const double* sum;
    const double* difference;
    std::int32_t blocks;
    std::int32_t first;
    double* cosSums;
    double* sinSums;
};

template <std::int32_t Width>
[[gnu::always_inline]] inline void Run(const FoldedPass& pass) {
    using V = Vector<Width>;
    constexpr std::int32_t Parts = Lanes / Width;
    const auto& [kernel, sum, difference, blocks, first, cosSums, sinSums] = pass;
    LaneSums<Width> sums[HarmonicsPerPass];
    std::int32_t j[HarmonicsPerPass];
    std::int32_t step[HarmonicsPerPass];
    for (std::int32_t h = 0; h < HarmonicsPerPass; ++h) {
        for (std::int32_t part = 0; part < Parts; ++part) {
            sums[h].uc[part] = sums[h].us[part] = sums[h].vc[part] = sums[h].vs[part] = V{};
        }
        j[h] = kernel.lanes->first[first + h];
        step[h] = kernel.lanes->blockStep[first + h];
    }
    for (std::int32_t block = 0; block < blocks; ++block) {
        V u[Parts];
        V v[Parts];
        for (std::int32_t part = 0; part < Parts; ++part) {
            Load(u[part], sum + block * Lanes + part * Width);
            Load(v[part], difference + block * Lanes + part * Width);
        }
        for (std::int32_t h = 0; h < HarmonicsPerPass; ++h) {
            const double c = kernel.tableCos[j[h]];
            const double s = kernel.tableSin[j[h]];
            for (std::int32_t part = 0; part < Parts; ++part) {
                sums[h].uc[part] += u[part] * c;
                sums[h].us[part] += u[part] * s;
                sums[h].vc[part] += v[part] * c;
                sums[h].vs[part] += v[part] * s;
            }
            j[h] += step[h];
            j[h] -= j[h] >= kernel.N ? kernel.N : 0;
        }
    }
    for (std::int32_t h = 0; h < HarmonicsPerPass; ++h) {
        const double* laneCos = kernel.lanes->cos.data() + (first + h) * Lanes;
        const double* laneSin = kernel.lanes->sin.data() + (first + h) * Lanes;
        V a[Parts];
        V b[Parts];
        for (std::int32_t part = 0; part < Parts; ++part) {
            V lc;
            V ls;
            Load(lc, laneCos + part * Width);
            Load(ls, laneSin + part * Width);
            a[part] = lc * sums[h].uc[part] - ls * sums[h].us[part];
            b[part] = lc * sums[h].vs[part] + ls * sums[h].vc[part];
        }
        cosSums[first + h] = BlockTotal<Width>(a);
        sinSums[first + h] = BlockTotal<Width>(b);
    }
}

// The series mean + Σ_{k=1..L} (a_k cos(θ_k i) + b_k sin(θ_k i)) at every
// sample pair (i, N − i), i = 1..pairs: the cosine part c and sine part s
// at i give mean + c + s there and mean + c − s at N − i, as the pair
// shares a cosine and negates a sine. Blocks of Lanes samples start at
// i0 = 1, 1 + Lanes, ...; the table position of harmonic k at i0 is
// start[k], advanced from block to block. One call walks every block, so
// the processor version is chosen once per series, not once per block.
struct SeriesPairs {
    const Kernel& kernel;
    const double* ax;
    const double* bx;
    std::int32_t L;
    std::int32_t* start;
    double mean;
    std::int32_t pairs;
    double* out;
};

template <std::int32_t Width>
[[gnu::always_inline]] inline void Run(const SeriesPairs& series) {
    using V = Vector<Width>;
    constexpr std::int32_t Parts = Lanes / Width;
    const auto& [kernel, ax, bx, L, start, mean, pairs, out] = series;
    for (std::int32_t i0 = 1; i0 <= pairs; i0 += Lanes) {
        V c[Parts] = {};
        V s[Parts] = {};
        for (std::int32_t k = 1; k <= L; ++k) {
            const double baseCos = kernel.tableCos[start[k]];
            const double baseSin = kernel.tableSin[start[k]];
            for (std::int32_t part = 0; part < Parts; ++part) {
                V laneCos;
                V laneSin;
                Load(laneCos, kernel.lanes->cos.data() + k * Lanes + part * Width);
                Load(laneSin, kernel.lanes->sin.data() + k * Lanes + part * Width);
                c[part] += ax[k] * (baseCos * laneCos - baseSin * laneSin);
                s[part] += bx[k] * (baseSin * laneCos + baseCos * laneSin);
            }
            start[k] += kernel.lanes->blockStep[k];
            start[k] -= start[k] >= kernel.N ? kernel.N : 0;
        }
        if (i0 + Lanes - 1 <= pairs) {
            // A whole block: samples i0.. ascend from out[i0 − 1], their
            // partners N − i0.. descend from out[N − i0 − 1].
            for (std::int32_t part = 0; part < Parts; ++part) {
                Store(mean + c[part] + s[part], out + i0 - 1 + part * Width);
                StoreReversed(mean + c[part] - s[part], out + kernel.N - i0 - (part + 1) * Width);
            }
            continue;
        }
        // The last, partial block, through memory: indexing the vectors'
        // lanes by a variable would keep them out of registers in the loop.
        double cosPart[Lanes];
        double sinPart[Lanes];
        for (std::int32_t part = 0; part < Parts; ++part) {
            Store(c[part], cosPart + part * Width);
            Store(s[part], sinPart + part * Width);
        }
        for (std::int32_t r = 0; i0 + r <= pairs; ++r) {
            const std::int32_t i = i0 + r;
            out[i - 1] = mean + cosPart[r] + sinPart[r];
            out[kernel.N - i - 1] = mean + cosPart[r] - sinPart[r];
        }
    }
}

// The kernels compiled for each processor version. The file is compiled
// with -ffp-contract=off, so no product is fused into a sum even where the
// instructions allow it (AVX-512 brings fused multiply-add): every version
// rounds each product and each sum on its own, in the order the source
// gives, lane by lane, and gives the same bits on every processor. The
// baseline version is SSE2, which every x86-64 processor has.
template <class Work>
void RunBaseline(const Work& work) {
    Run<2>(work);
}

template <class Work>
__attribute__((target("avx2"))) void RunAvx2(const Work& work) {
    Run<4>(work);
}

// A whole block in one register, and thirty-two registers for the running
// sums of a pass.
template <class Work>
__attribute__((target("avx2,avx512f,avx512vl"))) void RunAvx512(const Work& work) {
    Run<8>(work);
}

template <class Work>
void RunOn(VectorPath path, const Work& work) {
    switch (path) {
        case VectorPath::Baseline:
            return RunBaseline(work);
        case VectorPath::Avx2:
            return RunAvx2(work);
        case VectorPath::Avx512:
            return RunAvx512(work);
    }
}

VectorPath PathNamed(std::string_view name) {
    for (const VectorPath path : RunnableVectorPaths()) {
        if (VectorPathName(path) == name) {
            return path;
        }
    }
    throw TesmeraError("TESMERA_VECTOR_PATH names no processor version this processor runs: " +
                       std::string(name));
}

Kernel KernelOf(const HarmonicTable& table, const LaneAngles& lanes) {
    return {table.CosData(), table.SinData(), table.Size(), &lanes};
}

}  // namespace

std::string_view VectorPathName(VectorPath path) {
    constexpr std::string_view Names[] = {"baseline", "avx2", "avx512"};
    return Names[static_cast<std::size_t>(path)];
}

std::vector<VectorPath> RunnableVectorPaths() {
    std::vector<VectorPath> paths{VectorPath::Baseline};
    if (__builtin_cpu_supports("avx2")) {
        paths.push_back(VectorPath::Avx2);
        if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl")) {
            paths.push_back(VectorPath::Avx512);
        }
    }
    return paths;
}

VectorPath ChosenVectorPath() {
    static const VectorPath chosen = [] {
        const char* name = std::getenv("TESMERA_VECTOR_PATH");
        return name != nullptr ? PathNamed(name) : RunnableVectorPaths().back();
    }();
    return chosen;
}

void DirectSums(const HarmonicTable& table, std::span<const double> samples, std::int32_t M,
                std::span<double> cosSums, std::span<double> sinSums, VectorPath path) {
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
        RunOn(path, FoldedPass{kernel, folded.sum.data(), folded.difference.data(), folded.blocks,
                               pass * HarmonicsPerPass, a.data(), b.data()});
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
                  std::span<const double> bx, std::int32_t L, std::span<double> out,
                  VectorPath path) {
    const std::int32_t N = table.Size();
    const std::int32_t order = std::max(L, 0);
    const LaneAngles lanes(table, order + 1);
    const Kernel kernel = KernelOf(table, lanes);
    std::array<std::int32_t, MaxLaneHarmonics> start;
    std::copy_n(lanes.first.begin(), order + 1, start.begin());
    const double mean = ax[0] / 2.0;
    RunOn(path, SeriesPairs{kernel, ax.data(), bx.data(), order, start.data(), mean, (N - 1) / 2,
                            out.data()});
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
