// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/wave_header.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "wave/binary_file.h"
#include "wave/errors.h"
#include "wave/little_endian.h"

namespace tesmera {

namespace {

using Tag = std::array<std::byte, 4>;

constexpr Tag MakeTag(std::string_view text) {
    return {std::byte(text[0]), std::byte(text[1]), std::byte(text[2]), std::byte(text[3])};
}

constexpr Tag RiffTag = MakeTag("RIFF");
constexpr Tag WaveTag = MakeTag("WAVE");
constexpr Tag FormatTag = MakeTag("fmt ");
constexpr Tag DataTag = MakeTag("data");

constexpr std::int16_t PcmFormat = 1;
constexpr std::int16_t MonoChannels = 1;
constexpr std::int16_t BitsPerSample = 16;
constexpr std::int32_t FormatChunkSize = 16;
constexpr std::int16_t BytesPerSample = BitsPerSample / 8;

// Offset of the first byte after the bits-per-sample field; the data-tag
// search starts here.
constexpr std::size_t FormatHeaderSize = 36;

// The fields in front of the data tag. Every one is read before any check.
struct FormatHeader {
    Tag riffTag;
    std::int32_t riffSize;
    Tag formType;
    Tag subChunkTag;
    std::int16_t audioFormat;
    std::int16_t channelCount;
    std::int32_t sampleRate;
    std::int16_t bitsPerSample;
};

FormatHeader DecodeFormatHeader(std::span<const std::byte, FormatHeaderSize> bytes) {
    const auto tagAt = [&](std::size_t offset) {
        Tag tag;
        std::ranges::copy(bytes.subspan(offset, 4), tag.begin());
        return tag;
    };
    const auto int16At = [&](std::size_t offset) {
        return DecodeInt16LE(bytes.subspan(offset).first<2>());
    };
    const auto int32At = [&](std::size_t offset) {
        return DecodeInt32LE(bytes.subspan(offset).first<4>());
    };
    // Offsets 16 (format chunk size), 28 (byte rate) and 32 (block alignment)
    // are read but not used.
    return FormatHeader{tagAt(0),    int32At(4),  tagAt(8),    tagAt(12),
                        int16At(20), int16At(22), int32At(24), int16At(34)};
}

struct FormatCheck {
    bool (*passes)(const FormatHeader&);
    std::string_view warning;
    StatusCode code;
};

// Checked in this order; the first that fails is the only one reported.
constexpr std::array<FormatCheck, 6> FormatChecks{{
    {[](const FormatHeader& h) { return h.riffTag == RiffTag; }, NotRiffWarning,
     StatusCode::NotRiff},
    {[](const FormatHeader& h) { return h.formType == WaveTag; }, NotWaveWarning,
     StatusCode::NotWave},
    {[](const FormatHeader& h) { return h.subChunkTag == FormatTag; }, NoFormatTagWarning,
     StatusCode::NoFmt},
    {[](const FormatHeader& h) { return h.audioFormat == PcmFormat; }, NotPcmWarning,
     StatusCode::NotPcm},
    {[](const FormatHeader& h) { return h.channelCount == MonoChannels; }, NotMonoWarning,
     StatusCode::NotMono},
    // The loader takes every two bytes as one sample, so any other width
    // would load as noise.
    {[](const FormatHeader& h) { return h.bitsPerSample == BitsPerSample; }, Not16BitWarning,
     StatusCode::Not16Bit},
}};

std::optional<Status> FirstFormatFault(const FormatHeader& header) {
    for (const FormatCheck& check : FormatChecks) {
        if (!check.passes(header)) {
            return Status{check.code, std::string(check.warning)};
        }
    }
    return std::nullopt;
}

Status RateNotice(std::int32_t sampleRate) {
    return {StatusCode::RateNotice, std::string(RateNoticeStart) + std::to_string(sampleRate)};
}

FormatHeader ReadFormatHeader(FileReader& reader) {
    std::array<std::byte, FormatHeaderSize> bytes;
    reader.ReadExact(bytes);
    return DecodeFormatHeader(bytes);
}

// Offset of the first "data" in `bytes`, or nullopt.
std::optional<std::size_t> FindDataTag(std::span<const std::byte> bytes) {
    const void* found = ::memmem(bytes.data(), bytes.size(), DataTag.data(), DataTag.size());
    if (found == nullptr) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(static_cast<const std::byte*>(found) - bytes.data());
}

// The last bytes read by the search, fewer than a tag: the part of a tag
// that may continue in the next block.
class TagCarry {
  public:
    // Offset in `block` right behind a tag that starts in the carried bytes
    // and ends in `block`, or nullopt.
    std::optional<std::size_t> FindAcrossEdge(std::span<const std::byte> block) const {
        std::array<std::byte, 2 * (DataTag.size() - 1)> joint{};
        const std::size_t head = std::min(block.size(), DataTag.size() - 1);
        std::ranges::copy(std::span(bytes_).first(count_), joint.begin());
        std::ranges::copy(block.first(head), joint.begin() + static_cast<std::ptrdiff_t>(count_));
        const auto at = FindDataTag(std::span(joint).first(count_ + head));
        if (!at) {
            return std::nullopt;
        }
        return *at + DataTag.size() - count_;
    }

    // Keeps the last bytes of the carried ones followed by `block`.
    void Advance(std::span<const std::byte> block) {
        for (const std::byte byte : block.last(std::min(block.size(), bytes_.size()))) {
            if (count_ == bytes_.size()) {
                std::shift_left(bytes_.begin(), bytes_.end(), 1);
                --count_;
            }
            bytes_[count_++] = byte;
        }
    }

  private:
    std::array<std::byte, DataTag.size() - 1> bytes_{};
    std::size_t count_ = 0;
};

// Searches the file from the reader's position on for the first "data", one
// read-ahead block at a time, so a file without one is scanned at memory
// speed. True with the reader right behind the tag; false when the file ends
// without one. The first byte must exist: a file that ends at the search's
// start raises "Read beyond end of file".
bool SkipToDataTag(FileReader& reader) {
    if (reader.AtEnd()) {
        throw FileError(FileError::ReadBeyondEnd);
    }
    TagCarry carry;
    for (auto block = reader.Buffered(); !block.empty(); block = reader.Buffered()) {
        if (const auto behindTag = carry.FindAcrossEdge(block)) {
            reader.Consume(*behindTag);
            return true;
        }
        if (const auto at = FindDataTag(block)) {
            reader.Consume(*at + DataTag.size());
            return true;
        }
        carry.Advance(block);
        reader.Consume(block.size());
    }
    return false;
}

std::int32_t ReadInt32LE(FileReader& reader) {
    std::array<std::byte, 4> bytes;
    reader.ReadExact(bytes);
    return DecodeInt32LE(bytes);
}

}  // namespace

std::vector<std::byte> CanonicalHeader(std::int32_t sampleRate, std::int32_t riffSize,
                                       std::int32_t dataSize) {
    std::vector<std::byte> bytes;
    bytes.reserve(CanonicalHeaderSize);
    const auto tag = [&](const Tag& t) { bytes.insert(bytes.end(), t.begin(), t.end()); };
    const auto u16 = [&](std::int32_t value) {
        AppendLE(bytes, static_cast<std::uint32_t>(value), 2);
    };
    const auto u32 = [&](std::int32_t value) {
        AppendLE(bytes, static_cast<std::uint32_t>(value), 4);
    };
    tag(RiffTag);
    u32(riffSize);
    tag(WaveTag);
    tag(FormatTag);
    u32(FormatChunkSize);
    u16(PcmFormat);
    u16(MonoChannels);
    u32(sampleRate);
    // Byte rate in 32-bit arithmetic as the field stores it; a rate above
    // 2^30 wraps, which no audio rate comes near.
    u32(static_cast<std::int32_t>(static_cast<std::uint32_t>(sampleRate) * BytesPerSample));
    u16(BytesPerSample);  // block alignment of one mono sample
    u16(BitsPerSample);
    tag(DataTag);
    u32(dataSize);
    return bytes;
}

std::int32_t WaveHeadRead(const std::string& fileName, WaveHeadFields& fields,
                          const WarningSink& warn) {
    FileReader reader(fileName);
    return WaveHeadRead(reader, fields, warn);
}

std::int32_t WaveHeadRead(FileReader& reader, WaveHeadFields& fields, const WarningSink& warn) {
    const FormatHeader header = ReadFormatHeader(reader);
    if (const auto fault = FirstFormatFault(header)) {
        warn(*fault);
        return HeaderRejected;
    }
    if (header.sampleRate != NominalSampleRate) {
        warn(RateNotice(header.sampleRate));
    }
    if (!SkipToDataTag(reader)) {
        warn({StatusCode::NoData, std::string(NoDataTagWarning)});
        return HeaderRejected;
    }
    const std::int32_t dataSize = ReadInt32LE(reader);
    fields = WaveHeadFields{header.riffSize, dataSize, header.sampleRate, reader.Position()};
    return HeaderAccepted;
}

std::int32_t WaveHeadWrite(const std::string& fileName, std::int32_t SampleRate,
                           std::int32_t RiffSize, std::int32_t DataSize) {
    FileWriter writer(fileName);
    writer.Write(CanonicalHeader(SampleRate, RiffSize, DataSize));
    writer.Close();
    return HeaderAccepted;
}

}  // namespace tesmera
