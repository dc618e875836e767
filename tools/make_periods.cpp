// Writes generated one-period voice files for comparing two builds of the
// analysis: every family of tests/analysis/period_families.h in turn, half
// of the lengths anywhere in 2..10000 and half in the range of voices
// (60..1500), 16-bit mono at 44100 Hz behind the canonical header. Names are
// "p<index>_<family>_<grade>.wav" with grades 1..5, so scores are reported.
//
// Usage: make_periods <output folder> <count> [seed]

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "tests/analysis/period_families.h"
#include "wave/voice_period.h"
#include "wave/wave_header.h"

namespace tesmera {
namespace {

void WritePeriod(const std::filesystem::path& file, const std::vector<double>& samples) {
    std::vector<char> bytes;
    bytes.reserve(2 * samples.size());
    for (const double v : samples) {
        const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(v));
        bytes.push_back(static_cast<char>(bits & 0xFF));
        bytes.push_back(static_cast<char>(bits >> 8));
    }
    const auto dataSize = static_cast<std::int32_t>(bytes.size());
    WaveHeadWrite(file.string(), NominalSampleRate, 36 + dataSize, dataSize);
    std::ofstream(file, std::ios::binary | std::ios::app)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int Run(const std::filesystem::path& folder, int count, std::uint32_t seed) {
    std::filesystem::create_directories(folder);
    std::mt19937 lengths(seed);
    testing_signals::PeriodGenerator generator(seed + 1);
    constexpr auto Families = std::size(testing_signals::AllPeriodFamilies);
    for (int i = 0; i < count; ++i) {
        const auto family =
            testing_signals::AllPeriodFamilies[static_cast<std::size_t>(i) % Families];
        const std::int32_t N = i % 2 == 0 ? std::uniform_int_distribution(2, 10000)(lengths)
                                          : std::uniform_int_distribution(60, 1500)(lengths);
        // Appended piece by piece: GCC 12 misreports "p" + std::string.
        std::string name(1, 'p');
        name += std::to_string(i);
        name += '_';
        name += testing_signals::FamilyName(family);
        name += '_';
        name += std::to_string(1 + i % 5);
        name += ".wav";
        WritePeriod(folder / name, generator.Make(family, N, true));
    }
    return 0;
}

}  // namespace
}  // namespace tesmera

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: make_periods <output folder> <count> [seed]\n";
        return 2;
    }
    try {
        const auto seed = argc == 4 ? static_cast<std::uint32_t>(std::stoul(argv[3])) : 1u;
        return tesmera::Run(argv[1], std::stoi(argv[2]), seed);
    } catch (const std::exception& error) {
        std::cerr << "make_periods: " << error.what() << "\n";
        return 1;
    }
}
