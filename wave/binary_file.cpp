// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/binary_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "wave/errors.h"

namespace tesmera {

namespace {

detail::FileHandle OpenOrThrow(const std::string& fileName, const char* mode) {
    errno = 0;
    detail::FileHandle file(std::fopen(fileName.c_str(), mode));
    if (!file) {
        throw FileError::FromErrno(errno);
    }
    return file;
}

// Closes a descriptor on every path until it is handed on.
class DescriptorGuard {
  public:
    explicit DescriptorGuard(int descriptor) : descriptor_(descriptor) {}
    DescriptorGuard(const DescriptorGuard&) = delete;
    DescriptorGuard& operator=(const DescriptorGuard&) = delete;
    ~DescriptorGuard() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    int Get() const { return descriptor_; }
    int Release() { return std::exchange(descriptor_, -1); }

  private:
    int descriptor_;
};

}  // namespace

NotARegularFile::NotARegularFile() : FileError(AccessDenied) {}

int OpenRegularFileForReading(const std::string& fileName) {
    errno = 0;
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    DescriptorGuard descriptor(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (descriptor.Get() < 0) {
        throw FileError::FromErrno(errno);
    }
    struct stat status {};
    if (::fstat(descriptor.Get(), &status) != 0) {
        throw FileError::FromErrno(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        throw NotARegularFile();
    }
    // Reading or seeking a regular file never waits, so O_NONBLOCK changes
    // nothing from here on and stays set: two system calls saved per file.
    return descriptor.Release();
}

FileReader::FileReader(const std::string& fileName)
    : buffer_(std::make_unique_for_overwrite<std::byte[]>(BlockSize)),
      descriptor_(OpenRegularFileForReading(fileName)) {}

FileReader::~FileReader() {
    ::close(descriptor_);
}

void FileReader::Seek(std::int64_t offset) {
    if (offset >= bufferOffset_ && offset <= bufferOffset_ + static_cast<std::int64_t>(end_)) {
        next_ = static_cast<std::size_t>(offset - bufferOffset_);
        return;
    }
    errno = 0;
    if (::lseek(descriptor_, static_cast<off_t>(offset), SEEK_SET) < 0) {
        throw FileError::FromErrno(errno);
    }
    bufferOffset_ = offset;
    next_ = 0;
    end_ = 0;
}

bool FileReader::Refill() {
    bufferOffset_ += static_cast<std::int64_t>(end_);
    next_ = 0;
    end_ = 0;
    ssize_t count = 0;
    do {
        errno = 0;
        count = ::read(descriptor_, buffer_.get(), BlockSize);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        throw FileError::FromErrno(errno);
    }
    end_ = static_cast<std::size_t>(count);
    return end_ > 0;
}

void FileReader::ReadExact(std::span<std::byte> destination) {
    while (!destination.empty()) {
        if (next_ == end_ && !Refill()) {
            throw FileError(FileError::ReadBeyondEnd);
        }
        const std::size_t count = std::min(destination.size(), end_ - next_);
        std::memcpy(destination.data(), buffer_.get() + next_, count);
        next_ += count;
        destination = destination.subspan(count);
    }
}

std::byte FileReader::ReadByte() {
    if (next_ == end_ && !Refill()) {
        throw FileError(FileError::ReadBeyondEnd);
    }
    return buffer_[next_++];
}

bool FileReader::AtEnd() {
    return next_ == end_ && !Refill();
}

std::span<const std::byte> FileReader::Buffered() {
    if (next_ == end_) {
        Refill();
    }
    return {buffer_.get() + next_, end_ - next_};
}

FileWriter::FileWriter(const std::string& fileName) : file_(OpenOrThrow(fileName, "wb")) {}

void FileWriter::Write(std::span<const std::byte> bytes) {
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) {
        throw FileError::FromErrno(errno);
    }
}

void FileWriter::Close() {
    errno = 0;
    // fclose releases the stream even when it fails, so the handle is given
    // up first and never closed twice.
    if (std::fclose(file_.release()) != 0) {
        throw FileError::FromErrno(errno);
    }
}

}  // namespace tesmera
