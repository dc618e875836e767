// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/sound_input.h"

#include <oneapi/tbb/parallel_pipeline.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <utility>

#include "analysis/number_text.h"
#include "recording/ThreadSanitizerEdge.h"
#include "wave/binary_file.h"
#include "wave/errors.h"
#include "wave/path_problem.h"

namespace tesmera {

namespace {

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFileHandle = std::unique_ptr<SNDFILE, SoundFileCloser>;

void CheckFormat(const SF_INFO& info) {
    if (info.samplerate < LowestInputRate || info.samplerate > HighestInputRate) {
        throw RecordingError("sample rate " + IntegerText(info.samplerate) + " Hz is outside " +
                             IntegerText(LowestInputRate) + " to " + IntegerText(HighestInputRate) +
                             " Hz");
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
        throw RecordingError("cannot read " + path + ": " + ReadProblem(path));
    }
    if (!file) {
        throw RecordingError("cannot read " + path + ": " + sf_strerror(nullptr));
    }
    return file;
}

// Names the library's format list does not give, for the same formats.
constexpr std::array ExtensionAliases{".aif", ".ogg", ".opus"};

}  // namespace

std::vector<std::string> SoundFileExtensions() {
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof(count));
    std::vector<std::string> extensions(ExtensionAliases.begin(), ExtensionAliases.end());
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO format{};
        format.format = i;
        sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &format, sizeof(format));
        const std::string extension = std::string(".") + format.extension;
        if ((format.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_RAW) {
            extensions.push_back(extension);
        }
    }
    std::sort(extensions.begin(), extensions.end());
    extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
    return extensions;
}

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

std::int32_t SoundFileReader::Channels() const {
    return handle_->info.channels;
}

std::size_t SoundFileReader::ReadBlocks(std::size_t first, std::size_t count,
                                        const std::function<void(std::span<const double>)>& visit) {
    if (sf_seek(handle_->file.get(), static_cast<sf_count_t>(first), SEEK_SET) < 0) {
        return 0;
    }
    std::size_t done = 0;
    while (done < count) {
        const std::span<const double> block = ReadNext(std::min(SoundBlockFrames, count - done));
        if (block.empty()) {
            break;
        }
        visit(block);
        done += block.size();
    }
    return done;
}

std::span<const double> SoundFileReader::ReadBlock(std::size_t first, std::size_t count) {
    if (sf_seek(handle_->file.get(), static_cast<sf_count_t>(first), SEEK_SET) < 0) {
        return {};
    }
    return ReadNext(std::min(SoundBlockFrames, count));
}

std::span<const double> SoundFileReader::ReadNext(std::size_t count) {
    const int channels = handle_->info.channels;
    const sf_count_t read =
        sf_readf_double(handle_->file.get(), interleaved_.data(), static_cast<sf_count_t>(count));
    if (read <= 0) {
        return {};
    }
    Mix(std::span(interleaved_)
            .first(static_cast<std::size_t>(read) * static_cast<std::size_t>(channels)),
        channels, mono_);
    return mono_;
}

std::string SoundFileReader::LastError() const {
    return sf_strerror(handle_->file.get());
}

namespace {

// Blocks read ahead of their visitor at most.
constexpr std::size_t BlocksAhead = 8;

// One block read ahead: its samples, or why reading it failed.
struct BlockRead {
    std::vector<double> samples;
    std::exception_ptr error;
};

// Every block of the file, read a few blocks ahead of `visit` by a pipeline
// of two ordered stages: decoding a long recording takes about a tenth of
// its scan, and so it overlaps the scan's work instead of holding it up
// block by block. The blocks, their order and the failures are those of a
// plain read: a failed read reaches the visiting side as a value, in its
// place, and ends the reading. Block k is read into slot k % BlocksAhead,
// free again by then as no more blocks than that are in the pipeline; the
// pipeline passes only the slot, and the buffers are reused.
void ReadAhead(SoundFileReader& reader, const std::function<void(std::span<const double>)>& visit) {
    std::array<BlockRead, BlocksAhead> slots;
    std::size_t blocks = 0;
    std::size_t first = 0;
    bool done = false;
    // See ThreadSanitizerEdge.h: each stage after itself, a block's visit
    // after its reading, a slot's reuse after its visit, and the slots' end
    // after the pipeline's, however it ends.
    ThreadSanitizerEdge read;
    ThreadSanitizerEdge used;
    const ThreadSanitizerArriveOnExit readDone(read);
    const ThreadSanitizerArriveOnExit usedDone(used);
    const auto readNext = [&](tbb::flow_control& control) -> BlockRead* {
        PipelineStart().Arrive();
        read.Arrive();
        used.Arrive();
        const ThreadSanitizerLeaveOnExit leave(read);
        if (done) {
            control.stop();
            return nullptr;
        }
        BlockRead& block = slots[blocks++ % BlocksAhead];
        block.error = nullptr;
        try {
            const std::span<const double> samples = reader.ReadBlock(first, SoundBlockFrames);
            block.samples.assign(samples.begin(), samples.end());
            first += samples.size();
            done = samples.empty();
        } catch (...) {
            block.samples.clear();
            block.error = std::current_exception();
            done = true;
        }
        return &block;
    };
    const auto visitNext = [&](BlockRead* block) {
        PipelineStart().Arrive();
        read.Arrive();
        used.Arrive();
        const ThreadSanitizerLeaveOnExit leave(used);
        if (block->error) {
            std::rethrow_exception(block->error);
        }
        if (!block->samples.empty()) {
            visit(block->samples);
        }
    };
    const tbb::filter<void, void> stages =
        tbb::make_filter<void, BlockRead*>(tbb::filter_mode::serial_in_order, readNext) &
        tbb::make_filter<BlockRead*, void>(tbb::filter_mode::serial_in_order, visitNext);
    read.Leave();
    PipelineStart().Leave();
    tbb::parallel_pipeline(BlocksAhead, stages);
}

}  // namespace

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
