// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/sound_input.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "analysis/number_text.h"
#include "wave/binary_file.h"
#include "wave/errors.h"

namespace tesmera {

namespace {

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFileHandle = std::unique_ptr<SNDFILE, SoundFileCloser>;

constexpr std::array AcceptedEncodings{SF_FORMAT_PCM_U8, SF_FORMAT_PCM_S8, SF_FORMAT_PCM_16,
                                       SF_FORMAT_PCM_24, SF_FORMAT_PCM_32, SF_FORMAT_FLOAT};

void CheckFormat(const SF_INFO& info) {
    const int encoding = info.format & SF_FORMAT_SUBMASK;
    if (std::find(AcceptedEncodings.begin(), AcceptedEncodings.end(), encoding) ==
        AcceptedEncodings.end()) {
        throw RecordingError(
            "unsupported sample format: use PCM of 8, 16, 24 or 32-bit integers or 32-bit floats");
    }
    if (info.samplerate < LowestInputRate || info.samplerate > HighestInputRate) {
        throw RecordingError("sample rate " + IntegerText(info.samplerate) +
                             " Hz is outside 8000 to 96000 Hz");
    }
    if (info.frames <= 0 || info.channels <= 0) {
        throw RecordingError("the recording holds no samples");
    }
}

// Writes the channel means of the interleaved frames to `mono`.
void Mix(std::span<const double> interleaved, int channels, std::vector<double>& mono) {
    const auto width = static_cast<std::size_t>(channels);
    const double count = channels;
    // Sized first and checked after, so the loop has no exit and no growth
    // and runs at memory speed: a long recording passes through it whole.
    mono.resize(interleaved.size() / width);
    for (std::size_t frame = 0; frame < mono.size(); ++frame) {
        double sum = 0;
        for (std::size_t c = 0; c < width; ++c) {
            sum += interleaved[frame * width + c];
        }
        mono[frame] = sum / count;
    }
    if (!std::ranges::all_of(mono, [](double v) { return std::isfinite(v); })) {
        // Only float recordings can hold them; every later step would turn
        // them into a period of not-a-numbers.
        throw RecordingError("the recording holds samples that are not finite numbers");
    }
}

// Opens only a regular file, without blocking on a FIFO or a device.
SoundFileHandle OpenSoundFile(const std::string& path, SF_INFO& info) {
    SoundFileHandle file;
    try {
        // libsndfile closes the descriptor, also when it fails.
        file.reset(sf_open_fd(OpenRegularFileForReading(path), SFM_READ, &info, SF_TRUE));
    } catch (const NotARegularFile&) {
        throw RecordingError("cannot read " + path + ": not a regular file");
    } catch (const FileError&) {
        // A missing or forbidden file cannot block: libsndfile opens it
        // again to say why in its own words.
        file.reset(sf_open(path.c_str(), SFM_READ, &info));
    }
    if (!file) {
        throw RecordingError("cannot read " + path + ": " + sf_strerror(nullptr));
    }
    return file;
}

}  // namespace

struct SoundFileReader::Handle {
    SF_INFO info{};
    SoundFileHandle file;
};

SoundFileReader::SoundFileReader(const std::string& path) : handle_(std::make_unique<Handle>()) {
    handle_->file = OpenSoundFile(path, handle_->info);
    CheckFormat(handle_->info);
    interleaved_.resize(SoundBlockFrames * static_cast<std::size_t>(handle_->info.channels));
    mono_.reserve(SoundBlockFrames);
}

SoundFileReader::~SoundFileReader() = default;

std::int32_t SoundFileReader::SampleRate() const {
    return handle_->info.samplerate;
}

std::size_t SoundFileReader::Frames() const {
    return static_cast<std::size_t>(handle_->info.frames);
}

std::size_t SoundFileReader::ReadBlocks(std::size_t first, std::size_t count,
                                        const std::function<void(std::span<const double>)>& visit) {
    SNDFILE* file = handle_->file.get();
    const int channels = handle_->info.channels;
    if (sf_seek(file, static_cast<sf_count_t>(first), SEEK_SET) < 0) {
        return 0;
    }
    std::size_t done = 0;
    while (done < count) {
        const auto wanted = static_cast<sf_count_t>(std::min(SoundBlockFrames, count - done));
        const sf_count_t read = sf_readf_double(file, interleaved_.data(), wanted);
        if (read <= 0) {
            break;
        }
        Mix(std::span(interleaved_)
                .first(static_cast<std::size_t>(read) * static_cast<std::size_t>(channels)),
            channels, mono_);
        visit(mono_);
        done += static_cast<std::size_t>(read);
    }
    return done;
}

std::string SoundFileReader::LastError() const {
    return sf_strerror(handle_->file.get());
}

namespace {

// Blocks a reading thread may be ahead of their visitor.
constexpr std::size_t BlocksAhead = 8;

// Blocks handed in order from the thread that reads them to the thread
// that visits them; their buffers go back and forth instead of being made
// anew.
class BlockQueue {
  public:
    // Reading side: false once the visiting side has stopped.
    bool Push(std::span<const double> block) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return full_.size() < BlocksAhead || stopped_; });
        if (stopped_) {
            return false;
        }
        std::vector<double> buffer;
        if (!spare_.empty()) {
            buffer = std::move(spare_.back());
            spare_.pop_back();
        }
        lock.unlock();
        buffer.assign(block.begin(), block.end());
        lock.lock();
        full_.push_back(std::move(buffer));
        changed_.notify_all();
        return true;
    }

    // Reading side: no more blocks come; `failure` is why, if reading failed.
    void Finish(std::exception_ptr failure) {
        const std::lock_guard lock(mutex_);
        finished_ = true;
        failure_ = std::move(failure);
        changed_.notify_all();
    }

    // Visiting side: the next block into `block` (whose buffer is kept for
    // reuse), or false after the last one. Rethrows the reading side's
    // failure after the blocks read before it.
    bool Pop(std::vector<double>& block) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !full_.empty() || finished_; });
        if (full_.empty()) {
            if (failure_) {
                std::rethrow_exception(failure_);
            }
            return false;
        }
        spare_.push_back(std::move(block));
        block = std::move(full_.front());
        full_.pop_front();
        changed_.notify_all();
        return true;
    }

    // Visiting side: no more blocks are wanted.
    void Stop() {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<double>> full_;
    std::vector<std::vector<double>> spare_;
    bool finished_ = false;
    bool stopped_ = false;
    std::exception_ptr failure_;
};

// Every block of the file, read on a thread of its own a few blocks ahead
// of `visit`: decoding a long recording takes about a tenth of its scan, and
// so it overlaps the scan's work instead of holding it up block by block.
// The blocks, their order and the failures are those of a plain read.
void ReadAhead(SoundFileReader& reader, const std::function<void(std::span<const double>)>& visit) {
    BlockQueue queue;
    const std::jthread reading([&] {
        struct Stopped {};
        try {
            reader.ReadBlocks(0, SIZE_MAX, [&](std::span<const double> block) {
                if (!queue.Push(block)) {
                    throw Stopped{};
                }
            });
            queue.Finish(nullptr);
        } catch (const Stopped&) {
        } catch (...) {
            queue.Finish(std::current_exception());
        }
    });
    // However the visiting ends, the reading thread stops before it joins.
    struct StopOnExit {
        BlockQueue& queue;
        ~StopOnExit() { queue.Stop(); }
    } const stopOnExit{queue};
    std::vector<double> block;
    while (queue.Pop(block)) {
        visit(block);
    }
}

}  // namespace

MonoRecording ReadMonoRecording(const std::string& path) {
    SoundFileReader reader(path);
    MonoRecording recording{reader.SampleRate(), {}};
    reader.ReadBlocks(0, SIZE_MAX, [&recording](std::span<const double> block) {
        recording.Samples.insert(recording.Samples.end(), block.begin(), block.end());
    });
    if (recording.Samples.empty()) {
        throw RecordingError("cannot read the samples of " + path + ": " + reader.LastError());
    }
    return recording;
}

RecordingFile::RecordingFile(const std::string& path, unsigned threads, const ScanControl& control)
    : RecordingFile(path, std::make_unique<SoundFileReader>(path), threads, control) {}

RecordingFile::RecordingFile(const std::string& path, std::unique_ptr<SoundFileReader> reader,
                             unsigned threads, const ScanControl& control)
    : ScannedRecording(reader->SampleRate(), threads), path_(path), reader_(std::move(reader)) {
    Scan(
        [this, threads](const BlockVisitor& visit) {
            if (threads > 1) {
                ReadAhead(*reader_, visit);
            } else {
                reader_->ReadBlocks(0, SIZE_MAX, visit);
            }
        },
        reader_->Frames(), control);
    if (SampleCount() == 0) {
        throw RecordingError("cannot read the samples of " + path_ + ": " + reader_->LastError());
    }
}

std::span<const double> RecordingFile::Samples(std::size_t first, std::size_t count) {
    first = std::min(first, SampleCount());
    count = std::min(count, SampleCount() - first);
    samples_.clear();
    samples_.reserve(count);
    const std::size_t read = reader_->ReadBlocks(first, count, [this](std::span<const double> b) {
        samples_.insert(samples_.end(), b.begin(), b.end());
    });
    if (read != count) {
        throw RecordingError("cannot read the samples of " + path_ + ": " + reader_->LastError());
    }
    return samples_;
}

}  // namespace tesmera
