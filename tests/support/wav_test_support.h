// SPDX-License-Identifier: GPL-3.0-or-later
// WAV files for the tests, built byte by byte so that every malformed case
// is visible in the test itself, and written to temporary files that are
// removed again.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tesmera::test {

using Bytes = std::vector<std::uint8_t>;

inline void AppendText(Bytes& bytes, std::string_view text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

inline void AppendLE(Bytes& bytes, std::int64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        bytes.push_back(
            static_cast<std::uint8_t>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF));
    }
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Overwrites bytes from `offset` with `text` (a tag, typically).
inline Bytes Poke(Bytes bytes, std::size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

inline Bytes PokeLE(Bytes bytes, std::size_t offset, std::int64_t value, int byteCount) {
    Bytes encoded;
    AppendLE(encoded, value, byteCount);
    std::copy(encoded.begin(), encoded.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

inline Bytes Prefix(const Bytes& bytes, std::size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

struct FormatFields {
    std::int32_t riffSize = 0;
    std::int32_t formatSize = 16;
    std::int16_t audioFormat = 1;
    std::int16_t channels = 1;
    std::int32_t sampleRate = 44100;
    std::int16_t bitsPerSample = 16;
};

// The 36 bytes in front of the data tag; a format size of 18 adds the two
// extra bytes (a zero extension size) that such a chunk carries.
inline Bytes FormatPart(const FormatFields& f = {}) {
    Bytes bytes;
    AppendText(bytes, "RIFF");
    AppendLE(bytes, f.riffSize, 4);
    AppendText(bytes, "WAVEfmt ");
    AppendLE(bytes, f.formatSize, 4);
    AppendLE(bytes, f.audioFormat, 2);
    AppendLE(bytes, f.channels, 2);
    AppendLE(bytes, f.sampleRate, 4);
    AppendLE(bytes, std::int64_t{f.sampleRate} * f.channels * f.bitsPerSample / 8, 4);
    AppendLE(bytes, f.channels * f.bitsPerSample / 8, 2);
    AppendLE(bytes, f.bitsPerSample, 2);
    AppendLE(bytes, 0, f.formatSize - 16);
    return bytes;
}

inline Bytes SampleBytes(const std::vector<std::int16_t>& samples) {
    Bytes bytes;
    for (const std::int16_t sample : samples) {
        AppendLE(bytes, sample, 2);
    }
    return bytes;
}

// "data", the stated size, then the samples.
inline Bytes DataChunk(const std::vector<std::int16_t>& samples, std::int32_t statedSize) {
    Bytes bytes;
    AppendText(bytes, "data");
    AppendLE(bytes, statedSize, 4);
    return Concat({bytes, SampleBytes(samples)});
}

inline Bytes DataChunk(const std::vector<std::int16_t>& samples) {
    return DataChunk(samples, static_cast<std::int32_t>(2 * samples.size()));
}

// A canonical 44-byte header followed by the samples.
inline Bytes CanonicalWav(const std::vector<std::int16_t>& samples,
                          std::int32_t sampleRate = 44100) {
    const auto dataSize = static_cast<std::int32_t>(2 * samples.size());
    return Concat(
        {FormatPart({.riffSize = 36 + dataSize, .sampleRate = sampleRate}), DataChunk(samples)});
}

// Writes `content` to `path`, replacing what the file held.
inline void WriteFile(const std::filesystem::path& path, const Bytes& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(content.data()),
              static_cast<std::streamsize>(content.size()));
}

// A file in the system's temporary folder, removed when this goes out of scope.
class TempFile {
  public:
    explicit TempFile(const Bytes& content = {}) : path_(UniquePath()) { Write(content); }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove(path_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return path_; }

    void Write(const Bytes& content) const { WriteFile(path_, content); }

    Bytes Read() const {
        std::ifstream in(path_, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

  private:
    static std::string UniquePath() {
        static std::mt19937_64 generator{std::random_device{}()};
        return (std::filesystem::temp_directory_path() /
                ("tesmera_wave_" + std::to_string(generator()) + ".wav"))
            .string();
    }

    std::string path_;
};

}  // namespace tesmera::test
