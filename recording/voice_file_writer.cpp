// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/voice_file_writer.h"

#include <cstddef>
#include <limits>
#include <stdexcept>
#include <vector>

#include "wave/OutputFile.h"
#include "wave/little_endian.h"
#include "wave/wave_header.h"

namespace tesmera {

namespace {

constexpr std::int64_t BytesPerSample = 2;
// RIFF size: everything after its own field, the 36 header bytes that
// follow it plus the data.
constexpr std::int64_t RiffSizeOverData = CanonicalHeaderSize - 8;

std::vector<std::byte> SampleBytes(std::span<const std::int16_t> samples) {
    std::vector<std::byte> bytes;
    bytes.reserve(samples.size() * BytesPerSample);
    for (const std::int16_t sample : samples) {
        AppendLE(bytes, static_cast<std::uint16_t>(sample), BytesPerSample);
    }
    return bytes;
}

}  // namespace

void WriteVoicePeriod(const std::string& fileName, std::span<const std::int16_t> samples) {
    const std::int64_t dataSize = static_cast<std::int64_t>(samples.size()) * BytesPerSample;
    if (dataSize + RiffSizeOverData > std::numeric_limits<std::int32_t>::max()) {
        throw OutputFileError(fileName, "Voice period too long for a WAV header");
    }
    OutputFile file(fileName);
    file.Write(CanonicalHeader(NominalSampleRate,
                               static_cast<std::int32_t>(dataSize + RiffSizeOverData),
                               static_cast<std::int32_t>(dataSize)));
    file.Write(SampleBytes(samples));
    file.Commit();
}

}  // namespace tesmera
