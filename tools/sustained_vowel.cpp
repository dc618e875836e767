// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/sustained_vowel.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <span>
#include <stdexcept>

namespace tesmera::tools {

namespace {

constexpr double HighestHarmonicShare = 0.45;  // of the rate
constexpr int MostHarmonics = 40;
constexpr double CreakGlideSeconds = 0.05;
constexpr double FryIrregularity = 0.15;  // σ of a fry period's length, as a fraction
constexpr double FryDamping = 3;          // a fry pulse falls to e^−3 by its period's end
// Aspiration noise keeps this share of its amplitude while the glottis is
// closed, and swells to the full amplitude halfway through the cycle.
constexpr double AspirationFloor = 0.2;
constexpr std::uint32_t SecondVoiceSeed = 0x5bd1e995;  // mixed into the seed of a second voice

struct Formant {
    double CentreHz;
    double BandwidthHz;
};
// The resonances of /a/; broad, as turbulent noise excites them.
constexpr std::array<Formant, 3> VowelA{{{700, 130}, {1220, 150}, {2600, 200}}};
// Aspiration noise falls off with frequency about as the voice's harmonics
// do; left flat, or on the formants alone, its power would sit where the
// harmonics are weak, and the voice would sound noisier than its ratio says.
constexpr std::array<Formant, 1> AspirationTilt{{{0, 1000}}};

// Standard normal draws from the recipe's seed. One source serves a voice's
// periods and its noise, in turn: the distribution keeps the second value of
// each pair it makes, so two distributions on one generator would draw
// other values than one does.
class NormalDraws {
  public:
    explicit NormalDraws(std::uint32_t seed) : generator_(seed) {}

    double operator()() { return normal_(generator_); }

  private:
    std::mt19937 generator_;
    std::normal_distribution<double> normal_{0, 1};
};

// σ of a normal variable whose consecutive independent draws differ by
// `meanDifference` on average: E|X − Y| = 2σ/√π.
double SpreadFor(double meanDifference) {
    return meanDifference * std::sqrt(std::numbers::pi) / 2;
}

std::vector<double> HarmonicAmplitudes(const VowelRecipe& recipe) {
    if (recipe.Source == VowelSource::PureTone) {
        return {1.0};
    }
    std::vector<double> amplitudes;
    for (int h = 1; h <= MostHarmonics && h * recipe.F0 < HighestHarmonicShare * recipe.Rate; ++h) {
        amplitudes.push_back(std::pow(h, -1.5));
    }
    return amplitudes;
}

// The waveform's peak at unit amplitude, measured on a grid.
double PeakOfSum(const std::vector<double>& harmonics) {
    double peak = 0;
    for (int i = 0; i < 1000; ++i) {
        double v = 0;
        for (std::size_t h = 0; h < harmonics.size(); ++h) {
            v += harmonics[h] * std::sin(2 * std::numbers::pi * (h + 1) * i / 1000.0);
        }
        peak = std::max(peak, std::fabs(v));
    }
    return peak;
}

double Envelope(const VowelRecipe& recipe, double t) {
    const double in = std::clamp(t / recipe.Fade, 0.0, 1.0);
    const double out = std::clamp((recipe.Seconds - t) / recipe.Fade, 0.0, 1.0);
    return std::min(in, out);
}

double CreakStart(const VowelRecipe& recipe) {
    return recipe.Seconds * (1 - recipe.CreakShare);
}

bool InCreak(const VowelRecipe& recipe, double t) {
    return recipe.CreakShare > 0 && t >= CreakStart(recipe);
}

double Swing(double rateHz, double t) {
    return std::sin(2 * std::numbers::pi * rateHz * t);
}

// F0 at `t` seconds of the voice. Each effect left at its default leaves F0
// exactly as it is.
double F0At(const VowelRecipe& recipe, double t) {
    double f0 = recipe.F0;
    if (recipe.Drift != 0) {
        f0 *= 1 + recipe.Drift * (t / recipe.Seconds - 0.5);
    }
    if (recipe.TremorDepth != 0) {
        f0 *= 1 + recipe.TremorDepth * Swing(recipe.TremorHz, t);
    }
    if (recipe.JumpFactor != 1 && t >= recipe.JumpAt) {
        f0 *= recipe.JumpFactor;
    }
    if (InCreak(recipe, t)) {
        const double glide = std::min(1.0, (t - CreakStart(recipe)) / CreakGlideSeconds);
        f0 *= std::pow(recipe.CreakF0 / f0, glide);
    }
    return f0;
}

// A two-pole resonator with unit gain at 0 Hz, so a cascade of them shapes
// a spectrum without changing its level at the bottom.
class Resonator {
  public:
    Resonator(const Formant& formant, double rate)
        : c_(-std::exp(-2 * std::numbers::pi * formant.BandwidthHz / rate)),
          b_(2 * std::exp(-std::numbers::pi * formant.BandwidthHz / rate) *
             std::cos(2 * std::numbers::pi * formant.CentreHz / rate)),
          a_(1 - b_ - c_) {}

    double operator()(double x) {
        const double y = a_ * x + b_ * y1_ + c_ * y2_;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

  private:
    double c_;
    double b_;
    double a_;
    double y1_ = 0;
    double y2_ = 0;
};

void ScaleToUnitPower(std::vector<double>& values) {
    double power = 0;
    for (const double v : values) {
        power += v * v;
    }
    const double scale = power > 0 ? std::sqrt(values.size() / power) : 0;
    for (double& v : values) {
        v *= scale;
    }
}

// `count` samples of white noise through the resonances that the rate can
// hold, scaled to unit power.
std::vector<double> ShapedNoise(NormalDraws& normal, std::size_t count, double rate,
                                std::span<const Formant> resonances) {
    std::vector<Resonator> tract;
    for (const Formant& formant : resonances) {
        if (formant.CentreHz < HighestHarmonicShare * rate) {
            tract.emplace_back(formant, rate);
        }
    }
    std::vector<double> noise(count);
    for (double& v : noise) {
        v = normal();
        for (Resonator& resonator : tract) {
            v = resonator(v);
        }
    }
    ScaleToUnitPower(noise);
    return noise;
}

struct Period {
    double length;     // seconds
    double amplitude;  // of the waveform, full scale 1
    bool fry;
};

// The periods of one voice, one after the other.
class PeriodSequence {
  public:
    PeriodSequence(const VowelRecipe& recipe, double gain, NormalDraws& normal)
        : recipe_(recipe), gain_(gain), normal_(normal) {}

    // The period starting at `t` seconds of the voice.
    Period Next(double t) {
        // The draws come in this order, length first, so that a steady
        // voice's samples stay the same from version to version.
        double length = std::max(0.2, 1 + SpreadFor(recipe_.Jitter) * normal_()) / F0At(recipe_, t);
        double amplitude = gain_ * std::max(0.1, 1 + SpreadFor(recipe_.Shimmer) * normal_());
        const bool fry = InCreak(recipe_, t);
        if (fry) {
            length *= std::max(0.5, 1 + FryIrregularity * normal_());
        }
        const double alternation = count_++ % 2 == 0 ? 1 : -1;
        length *= 1 + alternation * recipe_.AlternatePeriods;
        amplitude *= 1 + alternation * recipe_.AlternateAmplitudes;
        amplitude *= 1 + recipe_.TremorAmplitude * Swing(recipe_.TremorHz, t);
        return {length, amplitude, fry};
    }

  private:
    const VowelRecipe& recipe_;
    double gain_;
    NormalDraws& normal_;
    long count_ = 0;
};

// The glottal cycle's phase of each voiced sample, 0 to 1.
using CyclePhases = std::vector<double>;

// Writes the periodic voice into `voice` (one value per voiced sample) and
// returns the period starts, in seconds of the voice.
std::vector<double> SynthesiseVoice(const VowelRecipe& recipe, NormalDraws& normal,
                                    std::vector<double>& voice, CyclePhases& phases) {
    const std::vector<double> harmonics = HarmonicAmplitudes(recipe);
    PeriodSequence periods(recipe, recipe.Peak / PeakOfSum(harmonics), normal);
    const double rate = recipe.Rate;
    std::vector<double> starts;
    double periodStart = 0;
    while (periodStart < recipe.Seconds) {
        const Period period = periods.Next(periodStart);
        starts.push_back(periodStart);
        const auto first = static_cast<std::size_t>(std::ceil(periodStart * rate));
        const auto end =
            std::min(voice.size(),
                     static_cast<std::size_t>(std::ceil((periodStart + period.length) * rate)));
        for (std::size_t i = first; i < end; ++i) {
            const double t = i / rate;
            phases[i] = (t - periodStart) / period.length;
            const double phase = 2 * std::numbers::pi * (t - periodStart) / period.length;
            double v = 0;
            for (std::size_t h = 0; h < harmonics.size(); ++h) {
                v += harmonics[h] * std::sin((h + 1) * phase);
            }
            if (period.fry) {
                v *= std::exp(-FryDamping * phases[i]);
            }
            voice[i] = v * (period.amplitude * Envelope(recipe, t));
        }
        periodStart += period.length;
    }
    return starts;
}

// Aspiration: noise shaped by the vowel and swelling with each cycle, at
// unit power over the voice.
std::vector<double> AspirationNoise(NormalDraws& normal, const CyclePhases& phases, double rate) {
    std::vector<double> noise = ShapedNoise(normal, phases.size(), rate, AspirationTilt);
    for (std::size_t i = 0; i < noise.size(); ++i) {
        const double swell = std::sin(std::numbers::pi * phases[i]);
        noise[i] *= AspirationFloor + (1 - AspirationFloor) * swell * swell;
    }
    ScaleToUnitPower(noise);
    return noise;
}

// Adds noise at the recipe's harmonics-to-noise ratio to the voice.
void AddNoise(const VowelRecipe& recipe, NormalDraws& normal, const CyclePhases& phases,
              std::vector<double>& voice) {
    double power = 0;
    for (const double v : voice) {
        power += v * v;
    }
    const double rate = recipe.Rate;
    const double level = std::sqrt(power / voice.size() / std::pow(10, recipe.HnrDb / 10));
    if (recipe.Noise == VowelNoise::White) {
        for (std::size_t i = 0; i < voice.size(); ++i) {
            voice[i] += level * Envelope(recipe, i / rate) * normal();
        }
        return;
    }
    const std::vector<double> noise = AspirationNoise(normal, phases, rate);
    for (std::size_t i = 0; i < voice.size(); ++i) {
        voice[i] += level * Envelope(recipe, i / rate) * noise[i];
    }
}

// A whisper: the vowel's resonances on noise alone, at the recipe's peak.
std::vector<double> Whisper(const VowelRecipe& recipe, NormalDraws& normal, std::size_t count) {
    std::vector<double> noise = ShapedNoise(normal, count, recipe.Rate, VowelA);
    double peak = 0;
    for (std::size_t i = 0; i < count; ++i) {
        noise[i] *= Envelope(recipe, i / static_cast<double>(recipe.Rate));
        peak = std::max(peak, std::fabs(noise[i]));
    }
    for (double& v : noise) {
        v *= recipe.Peak / peak;
    }
    return noise;
}

GeneratedVowel OneVoice(const VowelRecipe& recipe) {
    NormalDraws normal(recipe.Seed);
    const auto silence = static_cast<std::size_t>(recipe.Silence * recipe.Rate);
    const auto voiced = static_cast<std::size_t>(recipe.Seconds * recipe.Rate);
    std::vector<double> voice(voiced, 0.0);
    GeneratedVowel vowel;
    vowel.Rate = recipe.Rate;
    if (recipe.Source == VowelSource::Whisper) {
        voice = Whisper(recipe, normal, voiced);
    } else {
        CyclePhases phases(voiced, 0.0);
        for (const double start : SynthesiseVoice(recipe, normal, voice, phases)) {
            vowel.PeriodStarts.push_back(recipe.Silence + start);
        }
        AddNoise(recipe, normal, phases, voice);
    }
    vowel.Samples.assign(2 * silence + voiced, 0.0);
    std::copy(voice.begin(), voice.end(), vowel.Samples.begin() + silence);
    return vowel;
}

}  // namespace

GeneratedVowel GenerateVowel(const VowelRecipe& recipe) {
    if (recipe.SecondF0 <= 0) {
        return OneVoice(recipe);
    }
    VowelRecipe first = recipe;
    first.SecondF0 = 0;
    VowelRecipe second = first;
    second.F0 = recipe.SecondF0;
    second.Seed = recipe.Seed ^ SecondVoiceSeed;
    GeneratedVowel mix = OneVoice(first);
    const GeneratedVowel other = OneVoice(second);
    for (std::size_t i = 0; i < mix.Samples.size(); ++i) {
        mix.Samples[i] = (mix.Samples[i] + other.Samples[i]) / 2;
    }
    return mix;
}

void WriteMonoSound(const std::string& path, std::int32_t rate, const std::vector<double>& samples,
                    MonoFormat format) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format =
        (format == MonoFormat::Flac16 ? SF_FORMAT_FLAC : SF_FORMAT_WAV) | SF_FORMAT_PCM_16;
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(sf_open(path.c_str(), SFM_WRITE, &info),
                                                           sf_close);
    if (!file) {
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    }
    const auto count = static_cast<sf_count_t>(samples.size());
    if (sf_writef_double(file.get(), samples.data(), count) != count) {
        throw std::runtime_error("cannot write the samples of " + path);
    }
}

}  // namespace tesmera::tools
