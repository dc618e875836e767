// SPDX-License-Identifier: GPL-3.0-or-later
// Ordinary recordings read through libsndfile: PCM WAV of 8, 16, 24 or
// 32-bit integers or 32-bit floats, any channel count mixed down to mono.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/TesmeraError.h"
#include "recording/scanned_recording.h"

namespace tesmera {

// A recording that cannot be used; the message says why, for the user.
class RecordingError : public TesmeraError {
  public:
    explicit RecordingError(const std::string& message, StatusCode code = StatusCode::Unreadable)
        : TesmeraError(message, code) {}
    explicit RecordingError(const Status& refusal) : TesmeraError(refusal.Text, refusal.Code) {}
};

// The rates a recording may have, in Hz (inclusive).
constexpr std::int32_t LowestInputRate = 8000;
constexpr std::int32_t HighestInputRate = 384000;

// The extensions of the formats the sound file library reads, lower case
// with the full stop (".aiff", ".flac", ".wav", ...), sorted; headerless
// raw data is not among them, as nothing says how to read it.
std::vector<std::string> SoundFileExtensions();

struct MonoRecording {
    std::int32_t SampleRate = 0;  // Hz
    std::vector<double> Samples;  // full scale is ±1
};

// Frames read and mixed at a time: neither the interleaved nor the mixed
// samples ever need to exist for more than this many frames at once.
constexpr std::size_t SoundBlockFrames = 16384;

// An open sound file read as mono, a block of at most SoundBlockFrames at a
// time; each sample is the mean of the frame's channels.
class SoundFileReader {
  public:
    // Throws RecordingError for an unreadable file (the library reads every
    // encoding it knows, as floating point) or one that is not a regular
    // file, a rate outside LowestInputRate..HighestInputRate or a file
    // without frames.
    explicit SoundFileReader(const std::string& path);
    ~SoundFileReader();
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;

    std::int32_t SampleRate() const;  // Hz
    std::size_t Frames() const;       // as the header gives them
    std::int32_t Channels() const;    // in the file, before the mix

    // Calls `visit` with consecutive mono blocks of the samples from
    // `first` (a frame index) up to `count` samples or the end of the file,
    // whichever comes first; returns how many were read. Throws
    // RecordingError for a sample that is not a finite number.
    std::size_t ReadBlocks(std::size_t first, std::size_t count,
                           const std::function<void(std::span<const double>)>& visit);

    // The block of at most `count` (at most SoundBlockFrames) samples from
    // `first`, empty past the end; valid until the next read. Throws as
    // ReadBlocks does.
    std::span<const double> ReadBlock(std::size_t first, std::size_t count);

    // Why the last read stopped short, in libsndfile's words.
    std::string LastError() const;

  private:
    // The next block of at most `count` samples from where the last read
    // stopped, empty at the end.
    std::span<const double> ReadNext(std::size_t count);

    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::vector<double> interleaved_;
    std::vector<double> mono_;
};

// A recording read from its file in blocks, once for the voicing track and
// then only where asked: memory holds the track and the samples last asked
// for, never the whole recording.
class RecordingFile final : public ScannedRecording {
  public:
    // Throws as SoundFileReader does, RecordingError when no sample can be read, and ScanCancelled
    // when `control` stops the scan. The voicing track is made on up to `threads` threads.
    explicit RecordingFile(const std::string& path, unsigned threads = 1,
                           const ScanControl& control = {});
    std::span<const double> Samples(std::size_t first, std::size_t count) override;
    std::int32_t Channels() const { return reader_->Channels(); }  // in the file

  private:
    RecordingFile(const std::string& path, std::unique_ptr<SoundFileReader> reader,
                  unsigned threads, const ScanControl& control);

    std::string path_;
    std::unique_ptr<SoundFileReader> reader_;
    std::vector<double> samples_;
};

}  // namespace tesmera
