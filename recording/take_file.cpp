// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/take_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "wave/OutputFile.h"

namespace tesmera {

namespace {

// The encoded file grows in memory, where libsndfile can seek back to fill
// in the header's sizes; OutputFile then writes it whole or not at all.
struct EncodedFile {
    std::string Bytes;
    std::size_t At = 0;
};

EncodedFile& Of(void* user) {
    return *static_cast<EncodedFile*>(user);
}

sf_count_t Length(void* user) {
    return static_cast<sf_count_t>(Of(user).Bytes.size());
}

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
    EncodedFile& file = Of(user);
    const sf_count_t base = whence == SEEK_CUR   ? static_cast<sf_count_t>(file.At)
                            : whence == SEEK_END ? static_cast<sf_count_t>(file.Bytes.size())
                                                 : 0;
    file.At = static_cast<std::size_t>(std::max<sf_count_t>(0, base + offset));
    return static_cast<sf_count_t>(file.At);
}

sf_count_t Read(void* target, sf_count_t count, void* user) {
    EncodedFile& file = Of(user);
    const std::size_t available = file.Bytes.size() - std::min(file.At, file.Bytes.size());
    const std::size_t length = std::min(static_cast<std::size_t>(count), available);
    std::memcpy(target, file.Bytes.data() + file.At, length);
    file.At += length;
    return static_cast<sf_count_t>(length);
}

sf_count_t Write(const void* source, sf_count_t count, void* user) {
    EncodedFile& file = Of(user);
    const auto length = static_cast<std::size_t>(count);
    file.Bytes.resize(std::max(file.Bytes.size(), file.At + length));
    std::memcpy(file.Bytes.data() + file.At, source, length);
    file.At += length;
    return count;
}

sf_count_t Tell(void* user) {
    return static_cast<sf_count_t>(Of(user).At);
}

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

std::string Encode(const std::string& path, const MonoRecording& take) {
    if (take.Samples.empty() || take.SampleRate < LowestInputRate ||
        take.SampleRate > HighestInputRate) {
        throw OutputFileError(path, "the take holds no samples at a usable rate");
    }
    SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
    SF_INFO info{};
    info.samplerate = take.SampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
    EncodedFile encoded;
    {
        const std::unique_ptr<SNDFILE, SoundFileCloser> file(
            sf_open_virtual(&io, SFM_WRITE, &info, &encoded));
        if (!file) {
            throw OutputFileError(path, sf_strerror(nullptr));
        }
        // Without it a sample beyond full scale would wrap round to the
        // opposite sign.
        sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
        const auto count = static_cast<sf_count_t>(take.Samples.size());
        if (sf_write_double(file.get(), take.Samples.data(), count) != count) {
            throw OutputFileError(path, sf_strerror(file.get()));
        }
    }
    return std::move(encoded.Bytes);
}

}  // namespace

void SaveTake(const std::string& path, const MonoRecording& take) {
    const std::string bytes = Encode(path, take);
    OutputFile file(path);
    file.Write(bytes);
    file.Commit();
}

}  // namespace tesmera
