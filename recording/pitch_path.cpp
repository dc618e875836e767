// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/pitch_path.h"

#include <cmath>
#include <vector>

namespace tesmera {

namespace {

// The costs are given for frames 10 ms apart.
constexpr double CostTimeStep = 0.01;  // seconds

// Choice 0 of a frame is "unvoiced", choice c > 0 its candidate c − 1.
struct Choices {
    std::vector<double> weight;
    std::vector<double> lag;  // samples; 0 for unvoiced
};

Choices ChoicesOf(const CandidateFrame& frame, double rate, double ceiling, double octaveCost) {
    Choices choices{{frame.UnvoicedStrength}, {0}};
    for (const LagCandidate& c : frame.Voiced) {
        choices.weight.push_back(c.Strength - octaveCost * std::log2(ceiling * c.Lag / rate));
        choices.lag.push_back(c.Lag);
    }
    return choices;
}

double Transition(double lagBefore, double lag, const PathCosts& scaled) {
    const bool voicedBefore = lagBefore > 0;
    const bool voiced = lag > 0;
    if (voiced != voicedBefore) {
        return scaled.VoicedUnvoicedCost;
    }
    return voiced ? scaled.OctaveJumpCost * std::fabs(std::log2(lagBefore / lag)) : 0;
}

// The best path's choice per frame (Viterbi); the earlier choice wins a tie.
std::vector<std::size_t> BestPath(const std::vector<Choices>& frames, const PathCosts& scaled) {
    std::vector<std::vector<std::size_t>> back(frames.size());
    std::vector<double> total = frames.front().weight;
    for (std::size_t f = 1; f < frames.size(); ++f) {
        const Choices& before = frames[f - 1];
        const Choices& now = frames[f];
        std::vector<double> next(now.weight.size());
        back[f].resize(now.weight.size());
        for (std::size_t c = 0; c < now.weight.size(); ++c) {
            double best = -1e30;
            for (std::size_t b = 0; b < before.weight.size(); ++b) {
                const double value =
                    total[b] - Transition(before.lag[b], now.lag[c], scaled) + now.weight[c];
                if (value > best) {
                    best = value;
                    back[f][c] = b;
                }
            }
            next[c] = best;
        }
        total = std::move(next);
    }
    std::vector<std::size_t> path(frames.size());
    for (std::size_t c = 1; c < total.size(); ++c) {
        if (total[c] > total[path.back()]) {
            path.back() = c;
        }
    }
    for (std::size_t f = frames.size() - 1; f > 0; --f) {
        path[f - 1] = back[f][path[f]];
    }
    return path;
}

}  // namespace

std::optional<double> MeanPathHarmonicity(std::span<const double> signal, double rate,
                                          const HarmonicitySettings& settings,
                                          const PathCosts& costs, unsigned threads) {
    const std::vector<CandidateFrame> frames =
        HarmonicityCandidates(signal, rate, settings, {.OctaveCost = costs.OctaveCost}, threads);
    if (frames.empty() || settings.MaximumPitch <= 0) {
        return std::nullopt;
    }
    std::vector<Choices> choices;
    for (const CandidateFrame& frame : frames) {
        choices.push_back(ChoicesOf(frame, rate, settings.MaximumPitch, costs.OctaveCost));
    }
    const double scale = CostTimeStep / settings.TimeStep;
    const PathCosts scaled{costs.OctaveCost, costs.OctaveJumpCost * scale,
                           costs.VoicedUnvoicedCost * scale};
    const std::vector<std::size_t> path = BestPath(choices, scaled);
    double sum = 0;
    std::size_t voiced = 0;
    for (std::size_t f = 0; f < path.size(); ++f) {
        if (path[f] > 0) {
            sum += HarmonicsToNoiseDb(frames[f].Voiced[path[f] - 1].Strength);
            ++voiced;
        }
    }
    if (voiced == 0) {
        return std::nullopt;
    }
    return sum / static_cast<double>(voiced);
}

}  // namespace tesmera
