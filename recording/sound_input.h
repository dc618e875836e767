// Ordinary recordings read through libsndfile: PCM WAV of 8, 16, 24 or
// 32-bit integers or 32-bit floats, any channel count mixed down to mono.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tesmera {

// Input that the extraction cannot use; the message says why, for the user.
class ExtractionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The rates the extraction accepts, in Hz (inclusive).
constexpr std::int32_t LowestInputRate = 8000;
constexpr std::int32_t HighestInputRate = 96000;

struct MonoRecording {
    std::int32_t SampleRate = 0;  // Hz
    std::vector<double> Samples;  // full scale is ±1
};

// Reads the whole file; each output sample is the mean of the channels.
// Throws ExtractionError for an unreadable file, a sample format other than
// those above, a rate outside LowestInputRate..HighestInputRate or a file
// without samples.
MonoRecording ReadMonoRecording(const std::string& path);

}  // namespace tesmera
