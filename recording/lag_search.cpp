// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/lag_search.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace tesmera {

namespace {

// Σ y[k]·sinc(x − k)·window over k = first, first − 1, ... (leftwards) or
// first, first + 1, ... (rightwards), `count` samples, x lying `distance`
// from `first`, the raised-cosine window reaching `reach` positions from x.
// sin(π(x − k)) only alternates in sign, and the window's cosine advances
// by rotation rather than being recomputed at every sample. The samples are
// taken in four interleaved lanes, each with its own rotation and sum:
// one long chain of rotations would make every sample wait for the last.
double SincSide(std::span<const double> y, double distance, std::size_t first, std::size_t count,
                double reach, bool leftwards) {
    constexpr std::size_t Lanes = 4;
    const double laneAngle = std::numbers::pi * static_cast<double>(Lanes) / reach;
    const double stepCos = std::cos(laneAngle);
    const double stepSin = std::sin(laneAngle);
    std::array<double, Lanes> windowCos{};
    std::array<double, Lanes> windowSin{};
    for (std::size_t lane = 0; lane < Lanes; ++lane) {
        const double angle = std::numbers::pi * (distance + static_cast<double>(lane)) / reach;
        windowCos[lane] = std::cos(angle);
        windowSin[lane] = std::sin(angle);
    }
    const std::ptrdiff_t stride = leftwards ? -1 : 1;
    const double* sample = y.data() + first;
    std::array<double, Lanes> sums{};
    auto add = [&](std::size_t i, std::size_t lane) {
        sums[lane] += sample[stride * static_cast<std::ptrdiff_t>(i)] * (1 + windowCos[lane]) /
                      (std::numbers::pi * (distance + static_cast<double>(i)));
    };
    std::size_t i = 0;
    for (; i + Lanes <= count; i += Lanes) {
        for (std::size_t lane = 0; lane < Lanes; ++lane) {
            add(i + lane, lane);
            const double rotated = windowCos[lane] * stepCos - windowSin[lane] * stepSin;
            windowSin[lane] = windowCos[lane] * stepSin + windowSin[lane] * stepCos;
            windowCos[lane] = rotated;
        }
    }
    for (std::size_t lane = 0; i + lane < count; ++lane) {
        add(i + lane, lane);
    }
    // Even lanes hold the samples at an even distance from `first`, whose sine is +.
    const double sum = (sums[0] - sums[1]) + (sums[2] - sums[3]);
    return 0.5 * std::sin(std::numbers::pi * distance) * sum;
}

double CubicInterpolation(std::span<const double> y, double x, std::size_t left) {
    const double yl = y[left];
    const double yr = y[left + 1];
    const double dyl = 0.5 * (yr - y[left - 1]);
    const double dyr = 0.5 * (y[left + 2] - yl);
    const double fil = x - static_cast<double>(left);
    const double fir = 1 - fil;
    return yl * fir + yr * fil -
           fil * fir * (0.5 * (dyr - dyl) + (fil - 0.5) * (dyl + dyr - 2 * (yr - yl)));
}

// The x in [a, b] where f is least, to within `tolerance` plus a relative
// 1.5e-8 (Brent's search: parabolic steps where they are trusted, golden
// sections elsewhere). `least` receives f there.
double MinimiseBetween(const std::function<double(double)>& f, double a, double b, double tolerance,
                       double& least) {
    constexpr double Golden = 0.3819660112501051;  // 1 − 1 / the golden ratio
    const double relative = std::sqrt(std::numeric_limits<double>::epsilon());
    double x = a + Golden * (b - a);
    double w = x;
    double v = x;
    double fx = f(x);
    double fw = fx;
    double fv = fx;
    for (int iteration = 0; iteration < 60; ++iteration) {
        const double middle = (a + b) / 2;
        const double tol = relative * std::fabs(x) + tolerance / 3;
        if (std::fabs(x - middle) + (b - a) / 2 <= 2 * tol) {
            break;
        }
        double step = Golden * (x < middle ? b - x : a - x);
        if (std::fabs(x - w) >= tol) {
            const double t = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * t;
            q = 2 * (q - t);
            p = q > 0 ? -p : p;
            q = std::fabs(q);
            if (std::fabs(p) < std::fabs(step * q) && p > q * (a - x + 2 * tol) &&
                p < q * (b - x - 2 * tol)) {
                step = p / q;
            }
        }
        if (std::fabs(step) < tol) {
            step = step > 0 ? tol : -tol;
        }
        const double u = x + step;
        const double fu = f(u);
        if (fu <= fx) {
            (u < x ? b : a) = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            (u < x ? a : b) = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    least = fx;
    return x;
}

}  // namespace

double DotProduct(const double* a, const double* b, std::size_t count) {
    std::array<double, 4> partial{};
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        partial[0] += a[i] * b[i];
        partial[1] += a[i + 1] * b[i + 1];
        partial[2] += a[i + 2] * b[i + 2];
        partial[3] += a[i + 3] * b[i + 3];
    }
    for (; i < count; ++i) {
        partial[0] += a[i] * b[i];
    }
    return (partial[0] + partial[1]) + (partial[2] + partial[3]);
}

SquareSums::SquareSums(std::span<const double> x) : sums_(x.size() + 1) {
    double sum = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sum += x[i] * x[i];
        sums_[i + 1] = sum;
    }
}

LagPeak FindLagPeak(std::ptrdiff_t lowest, std::ptrdiff_t highest, std::ptrdiff_t step,
                    const std::function<double(std::ptrdiff_t lag)>& correlation) {
    std::ptrdiff_t best = lowest;
    double bestValue = correlation(best);
    for (std::ptrdiff_t lag = lowest + step; lag <= highest; lag += step) {
        const double value = correlation(lag);
        if (value > bestValue) {
            best = lag;
            bestValue = value;
        }
    }
    // Every lag between the grid's neighbours of the best: a noisy
    // correlation ripples on its peak, and a climb from the grid would stop
    // on the ripple nearest to it.
    const std::ptrdiff_t gridBest = best;
    for (std::ptrdiff_t lag = std::max(lowest, gridBest - step + 1);
         lag <= std::min(highest, gridBest + step - 1); ++lag) {
        if (lag == gridBest) {
            continue;
        }
        const double value = correlation(lag);
        if (value > bestValue) {
            best = lag;
            bestValue = value;
        }
    }
    double left = correlation(best - 1);
    double right = correlation(best + 1);
    // Climb while a neighbour is higher, staying one lag inside the margins.
    while (true) {
        if (left > bestValue && best - 1 >= lowest) {
            right = bestValue;
            bestValue = left;
            --best;
            left = correlation(best - 1);
        } else if (right > bestValue && best + 1 <= highest) {
            left = bestValue;
            bestValue = right;
            ++best;
            right = correlation(best + 1);
        } else {
            break;
        }
    }
    // At an edge of the range with the peak beyond it: the edge, unrefined.
    const double curvature = left - 2 * bestValue + right;
    if (curvature >= 0 || left > bestValue || right > bestValue) {
        return {static_cast<double>(best), bestValue};
    }
    const double offset = std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5);
    return {static_cast<double>(best) + offset, bestValue - 0.25 * (left - right) * offset};
}

double SincInterpolation(std::span<const double> y, double x, std::size_t depth) {
    const double last = static_cast<double>(y.size()) - 1;
    if (y.empty() || x <= 0) {
        return y.empty() ? 0 : y.front();
    }
    if (x >= last) {
        return y.back();
    }
    const auto left = static_cast<std::size_t>(std::floor(x));
    const std::size_t right = left + 1;
    if (x == static_cast<double>(left)) {
        return y[left];
    }
    depth = std::min({depth, left + 1, y.size() - right});
    if (depth == 1) {
        return y[left] + (x - static_cast<double>(left)) * (y[right] - y[left]);
    }
    if (depth == 2) {
        return CubicInterpolation(y, x, left);
    }
    const double leftReach = x - static_cast<double>(right - depth) + 1;
    const double rightReach = static_cast<double>(left + depth) - x + 1;
    return SincSide(y, x - static_cast<double>(left), left, depth, leftReach, true) +
           SincSide(y, static_cast<double>(right) - x, right, depth, rightReach, false);
}

LagPeak SincPeak(std::span<const double> y, std::size_t peak, std::size_t depth, double tolerance) {
    double least = 0;
    const auto centre = static_cast<double>(peak);
    const double x =
        MinimiseBetween([y, depth](double at) { return -SincInterpolation(y, at, depth); },
                        centre - 1, centre + 1, tolerance, least);
    return {x, -least};
}

}  // namespace tesmera
