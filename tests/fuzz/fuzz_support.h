// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the fuzz targets: a scratch folder of the process's own,
// and a check that stops the run with a readable reason, which libFuzzer
// then reports as a finding with the input that caused it.
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>

namespace tesmera::fuzz {

[[noreturn]] inline void Fail(std::string_view what) {
    std::fprintf(stderr, "invariant broken: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

inline void Require(bool condition, std::string_view what) {
    if (!condition) {
        Fail(what);
    }
}

inline void RequireFinite(double value, std::string_view what) {
    Require(std::isfinite(value), what);
}

// A folder in the temporary folder named after the process, removed at exit.
class ScratchFolder {
  public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("tesmera_fuzz_" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }

    // Writes the bytes to the named file and returns its path.
    std::string Write(const std::string& name, std::span<const std::uint8_t> bytes) const {
        const std::string path = File(name);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

  private:
    std::filesystem::path path_;
};

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tesmera::fuzz
