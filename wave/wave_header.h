// SPDX-License-Identifier: GPL-3.0-or-later
// The header of a voice file: a RIFF WAVE file holding 16-bit mono PCM
// samples. The reader decides whether a file is accepted and tells the user
// why not; the writer produces the canonical 44-byte header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "wave/binary_file.h"
#include "wave/voice_period.h"

namespace tesmera {

// HeaderStatus values.
constexpr std::int32_t HeaderAccepted = 0;
constexpr std::int32_t HeaderRejected = -1;

// The texts of the header check, in the order checked; each rejects the
// file. Other tools tell them apart by these exact texts.
constexpr std::string_view NotRiffWarning = " V souboru WAVE nebylo nalezeno navesti \"RIFF\" ";
constexpr std::string_view NotWaveWarning = " V souboru WAVE nebylo nalezeno navesti \"WAVE\" ";
// The text writes an underscore where the tag has its blank.
constexpr std::string_view NoFormatTagWarning =
    " V souboru WAVE nebyla nalezena identifikace \"fmt_\" ";
constexpr std::string_view NotPcmWarning = " Data v souboru WAVE nejsou ve formatu PCM ";
constexpr std::string_view NotMonoWarning = " Data v souboru WAVE nejsou MONO ";
constexpr std::string_view Not16BitWarning = " Data v souboru WAVE nejsou 16-bitova ";
constexpr std::string_view NoDataTagWarning = " V souboru WAVE nebylo nalezeno navesti \"data\" ";
// A rate other than NominalSampleRate: this text, then the rate in Hz. A
// notice only; the file is still loaded.
constexpr std::string_view RateNoticeStart = " Data byla vzorkovana rychlosti = ";

// Size of the canonical header, and so the offset of its first sample.
constexpr std::int64_t CanonicalHeaderSize = 44;

struct WaveHeadFields {  // results of WaveHeadRead, written only when accepted
    std::int32_t RiffSize = 0;
    std::int32_t DataSize = 0;  // bytes, as stated; may be 0, negative or wrong
    std::int32_t SampleRate = 0;
    std::int64_t DataOffset = CanonicalHeaderSize;  // byte right after the data-size field
                                                    // that the search found
};

// Reads the 36 bytes up to the bits-per-sample field, checks them (RIFF,
// WAVE, "fmt ", PCM, mono, 16 bits, in this order), gives a notice for a rate
// other than NominalSampleRate, then searches byte by byte from offset 36 for
// the first "data" and reads the 32-bit size behind it.
// Returns HeaderAccepted (fields written) or HeaderRejected (fields
// untouched; the reason was given through `warn`). The file is opened for
// reading only and closed on every path.
// Throws FileError, e.g. "File not found", or "Read beyond end of file" for a
// file that ends before the 36 bytes, before the search's first byte, or
// inside the data-size field.
std::int32_t WaveHeadRead(const std::string& fileName, WaveHeadFields& fields,
                          const WarningSink& warn);

// The same from a file the caller has opened (and positioned at its first
// byte), so that the samples can follow from the same reads (ReadSamples).
std::int32_t WaveHeadRead(FileReader& reader, WaveHeadFields& fields, const WarningSink& warn);
// The canonical 44-byte header of 16-bit mono PCM with the caller's sizes,
// as WaveHeadWrite writes it, for writers that place it themselves.
std::vector<std::byte> CanonicalHeader(std::int32_t sampleRate, std::int32_t riffSize,
                                       std::int32_t dataSize);

// Creates the file (an existing one is emptied) and writes the canonical
// 44-byte header of 16-bit mono PCM; no samples. Both sizes come from the
// caller. Returns HeaderAccepted. Throws FileError.
std::int32_t WaveHeadWrite(const std::string& fileName, std::int32_t SampleRate,
                           std::int32_t RiffSize, std::int32_t DataSize);

}  // namespace tesmera
