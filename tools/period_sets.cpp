// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/period_sets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/fourier_apr.h"
#include "tools/period_families.h"
#include "wave/voice_period.h"

namespace tesmera::period_sets {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<std::int16_t>;

std::int16_t Clamp16(double value) {
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(value), -32768.0, 32767.0));
}

// One period's shape: sample i of N from a generator's draws.
struct SignalKind {
    const char* name;
    std::function<Samples(int N, std::mt19937& random)> make;
};

Samples FromFunction(int N, const std::function<double(double phase)>& f) {
    Samples samples;
    for (int i = 1; i <= N; ++i) {
        samples.push_back(Clamp16(f(static_cast<double>(i) / N)));
    }
    return samples;
}

Samples Vowel(int N, std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int harmonics = 1 + static_cast<int>(unit(random) * 30);
    const double peak = 500 + unit(random) * 20000;
    std::vector<double> amplitude;
    std::vector<double> phase;
    for (int k = 1; k <= harmonics; ++k) {
        amplitude.push_back(peak * unit(random) / k);
        phase.push_back(unit(random) * static_cast<double>(TwoPi));
    }
    const double offset = (unit(random) - 0.5) * 400;
    std::normal_distribution<double> noise(0, unit(random) * 50);
    Samples samples;
    for (int i = 1; i <= N; ++i) {
        double value = offset + noise(random);
        for (int k = 1; k <= harmonics; ++k) {
            value +=
                amplitude[k - 1] * std::cos(static_cast<double>(TwoPi) * k * i / N + phase[k - 1]);
        }
        samples.push_back(Clamp16(value));
    }
    return samples;
}

const std::array<SignalKind, 11> Kinds{{
    {"vowel", Vowel},
    {"vowel", Vowel},
    {"vowel", Vowel},
    {"sine",
     [](int N, std::mt19937&) {
         return FromFunction(
             N, [](double t) { return 12000 * std::sin(static_cast<double>(TwoPi) * t); });
     }},
    {"square",
     [](int N, std::mt19937&) {
         return FromFunction(N, [](double t) { return t < 0.5 ? 9000.0 : -9000.0; });
     }},
    {"saw",
     [](int N, std::mt19937&) {
         return FromFunction(N, [](double t) { return 30000 * (t - 0.5); });
     }},
    {"silence", [](int N, std::mt19937&) { return Samples(static_cast<std::size_t>(N), 0); }},
    {"constant",
     [](int N, std::mt19937& random) {
         return Samples(
             static_cast<std::size_t>(N),
             static_cast<std::int16_t>(std::uniform_int_distribution<int>(-32768, 32767)(random)));
     }},
    {"impulse",
     [](int N, std::mt19937& random) {
         Samples samples(static_cast<std::size_t>(N), 0);
         samples[std::uniform_int_distribution<std::size_t>(0, samples.size() - 1)(random)] =
             -32768;
         return samples;
     }},
    {"fullscale",
     [](int N, std::mt19937&) {
         Samples samples;
         for (int i = 0; i < N; ++i) {
             samples.push_back(i % 2 == 0 ? std::int16_t{32767} : std::int16_t{-32768});
         }
         return samples;
     }},
    {"noise",
     [](int N, std::mt19937& random) {
         std::uniform_int_distribution<int> value(-32768, 32767);
         Samples samples;
         for (int i = 0; i < N; ++i) {
             samples.push_back(static_cast<std::int16_t>(value(random)));
         }
         return samples;
     }},
}};

void Put(Bytes& bytes, std::int64_t value, int count) {
    for (int i = 0; i < count; ++i) {
        bytes.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
    }
}

void PutText(Bytes& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// The header fields a file states; the defaults describe a canonical file.
struct Header {
    std::string riff = "RIFF";
    std::string wave = "WAVE";
    std::string fmt = "fmt ";
    int format = 1;
    int channels = 1;
    int rate = tesmera::NominalSampleRate;
    int bits = 16;
    std::string extraChunk;  // a chunk placed before the data, when not empty
    std::string dataTag = "data";
    std::int64_t dataSizeDelta = 0;    // added to the true size
    std::size_t keepBytes = SIZE_MAX;  // the file is cut to this many bytes
};

Bytes WaveFile(const Samples& samples, const Header& h) {
    const auto dataSize = static_cast<std::int64_t>(samples.size() * 2);
    Bytes bytes;
    PutText(bytes, h.riff);
    Put(bytes, 36 + dataSize, 4);
    PutText(bytes, h.wave);
    PutText(bytes, h.fmt);
    Put(bytes, 16, 4);
    Put(bytes, h.format, 2);
    Put(bytes, h.channels, 2);
    Put(bytes, h.rate, 4);
    Put(bytes, static_cast<std::int64_t>(h.rate) * h.channels * h.bits / 8, 4);
    Put(bytes, h.channels * h.bits / 8, 2);
    Put(bytes, h.bits, 2);
    if (!h.extraChunk.empty()) {
        PutText(bytes, "LIST");
        Put(bytes, static_cast<std::int64_t>(h.extraChunk.size()), 4);
        PutText(bytes, h.extraChunk);
    }
    PutText(bytes, h.dataTag);
    Put(bytes, dataSize + h.dataSizeDelta, 4);
    for (const std::int16_t sample : samples) {
        Put(bytes, sample, 2);
    }
    bytes.resize(std::min(bytes.size(), h.keepBytes));
    return bytes;
}

// The header faults, each on about one file in 8 × 14.
Header OddHeader(std::mt19937& random, std::size_t fileSize) {
    Header h;
    switch (std::uniform_int_distribution<int>(0, 13)(random)) {
        case 0:
            h.riff = "RIFX";
            break;
        case 1:
            h.wave = "WAVF";
            break;
        case 2:
            h.fmt = "fmt_";
            break;
        case 3:
            h.format = 3;
            break;
        case 4:
            h.channels = 2;
            break;
        case 5:
            h.bits = 8;
            break;
        case 6:
            h.rate = 22050;
            break;
        case 7:
            h.extraChunk = "INFOISFTtesmera ";
            break;
        case 8:
            h.dataTag = "daTa";
            break;
        case 9:
            h.dataSizeDelta = 1;
            break;
        case 10:
            h.dataSizeDelta = 600;
            break;
        case 11:
            h.dataSizeDelta = -2000000;
            break;
        case 12:
            h.keepBytes = std::uniform_int_distribution<std::size_t>(0, 45)(random);
            break;
        default:
            h.keepBytes = fileSize - 1;
            break;
    }
    return h;
}

int PeriodLength(std::mt19937& random) {
    static const std::array<int, 14> Edges{2,   3,    9,    10,    11,    12,    110,
                                           111, 1000, 9999, 10000, 10001, 10500, 441};
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    if (unit(random) < 0.15) {
        return Edges[std::uniform_int_distribution<std::size_t>(0, Edges.size() - 1)(random)];
    }
    return static_cast<int>(std::lround(std::exp(unit(random) * std::log(double{MaxSamples}))));
}

std::string FileName(int index, const char* kind, std::mt19937& random) {
    std::string name = "p" + std::to_string(index) + "_" + kind;
    switch (std::uniform_int_distribution<int>(0, 9)(random)) {
        case 0:
            return name + "_x.wav";  // no grade
        case 1:
            return name + ".v2.wav";  // a full stop before the grade
        case 2:
            return "P" + name.substr(1) + "4.wav";  // capitals
        default:
            return name + std::to_string(std::uniform_int_distribution<int>(0, 9)(random)) + ".wav";
    }
}

void WriteFile(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::string FamilyFileName(int index, testing_signals::PeriodFamily family) {
    // Appended piece by piece: GCC 12 misreports "p" + std::string.
    std::string name(1, 'p');
    name += std::to_string(index);
    name += '_';
    name += testing_signals::FamilyName(family);
    name += '_';
    name += std::to_string(1 + index % 5);
    name += ".wav";
    return name;
}

}  // namespace

void WriteVariedFiles(const std::filesystem::path& folder, int count, std::uint32_t seed) {
    std::filesystem::create_directories(folder);
    std::mt19937 random(seed);
    for (int index = 0; index < count; ++index) {
        const SignalKind& kind =
            Kinds[std::uniform_int_distribution<std::size_t>(0, Kinds.size() - 1)(random)];
        const Samples samples = kind.make(PeriodLength(random), random);
        const bool odd = std::uniform_int_distribution<int>(0, 7)(random) == 0;
        const Header header = odd ? OddHeader(random, 44 + 2 * samples.size()) : Header{};
        const Bytes bytes = WaveFile(samples, header);
        WriteFile(folder / FileName(index, kind.name, random), bytes);
    }
}

void WriteKernelFamilies(const std::filesystem::path& folder, int count, std::uint32_t seed) {
    std::filesystem::create_directories(folder);
    std::mt19937 lengths(seed);
    testing_signals::PeriodGenerator generator(seed + 1);
    constexpr auto Families = std::size(testing_signals::AllPeriodFamilies);
    for (int index = 0; index < count; ++index) {
        const auto family =
            testing_signals::AllPeriodFamilies[static_cast<std::size_t>(index) % Families];
        const std::int32_t N = index % 2 == 0 ? std::uniform_int_distribution(2, 10000)(lengths)
                                              : std::uniform_int_distribution(60, 1500)(lengths);
        Samples samples;
        for (const double value : generator.Make(family, N, false)) {
            samples.push_back(Clamp16(value));
        }
        WriteFile(folder / FamilyFileName(index, family), WaveFile(samples, Header{}));
    }
}

}  // namespace tesmera::period_sets
