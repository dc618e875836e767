// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary folder of a test's own, removed with everything it holds.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "support/wav_test_support.h"

namespace tesmera::test {

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
