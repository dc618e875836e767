// Voice files with known content, in a temporary folder of their own, for
// the command-line tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "analysis/FourierApr.h"
#include "support/wav_test_support.h"

namespace tesmera::test {

// One harmonic of a test period: a·cos(2πki/N) + b·sin(2πki/N), i = 1..N.
struct Harmonic {
    int k;
    double a;
    double b;
};

// One period of N samples, each rounded to a whole 16-bit value, so the
// coefficients come back within about 0.5·√(2/N) of those given.
inline std::vector<std::int16_t> HarmonicPeriod(int N, const std::vector<Harmonic>& harmonics,
                                                double offset = 0) {
    std::vector<std::int16_t> samples;
    for (int i = 1; i <= N; ++i) {
        long double value = offset;
        for (const Harmonic& h : harmonics) {
            const long double angle = TwoPi * h.k * i / N;
            value += h.a * std::cos(angle) + h.b * std::sin(angle);
        }
        samples.push_back(static_cast<std::int16_t>(std::lround(static_cast<double>(value))));
    }
    return samples;
}

// A folder in the system's temporary folder, removed with all it holds.
class TempFolder {
  public:
    TempFolder() : path_(UniquePath()) { std::filesystem::create_directories(path_); }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // Writes `content` to the named file inside; returns its path.
    std::string Add(const std::string& name, const Bytes& content) const {
        const std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(content.data()),
                  static_cast<std::streamsize>(content.size()));
        return file.string();
    }

  private:
    static std::filesystem::path UniquePath() {
        static std::mt19937_64 generator{std::random_device{}()};
        return std::filesystem::temp_directory_path() /
               ("tesmera_cli_" + std::to_string(generator()));
    }

    std::filesystem::path path_;
};

}  // namespace tesmera::test
