// SPDX-License-Identifier: GPL-3.0-or-later
// Byte-level file access for the voice files: a reader that never hands out
// fewer bytes than asked for, and a writer that reports every failure. Both
// own their file and close it on every path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "wave/errors.h"

namespace tesmera {

namespace detail {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace detail

// A FIFO, a device or a directory where a file to read was expected. Its
// message is the file layer's "File access denied".
class NotARegularFile : public FileError {
  public:
    NotARegularFile();
};

// Opens a regular file for reading and returns its descriptor, owned by the
// caller. The name is opened without blocking and checked before any read,
// so a FIFO named like a voice file is refused at once instead of waiting
// for a writer forever. Throws FileError from errno, and NotARegularFile for
// anything but a regular file.
int OpenRegularFileForReading(const std::string& fileName);

// Reads a file opened for reading only (read-only files are fine) through its
// own block buffer, so scanning byte by byte or sample by sample costs no
// system call per read.
class FileReader {
  public:
    // Bytes read from the file at a time: large enough that a one-million-
    // sample file needs only a few dozen reads. Blocks lie at multiples of it
    // from the start of the file until a seek leaves the block read.
    static constexpr std::size_t BlockSize = 64 * 1024;

    // Throws FileError (from errno) when the file cannot be opened, and
    // NotARegularFile for anything but a regular file.
    explicit FileReader(const std::string& fileName);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Byte offset of the next byte to be read.
    std::int64_t Position() const { return bufferOffset_ + static_cast<std::int64_t>(next_); }
    // Moves to an absolute byte offset (>= 0); a later read past the end fails.
    // An offset within the block already read costs no system call.
    void Seek(std::int64_t offset);

    // Fills the whole destination or throws FileError "Read beyond end of
    // file" (the bytes read up to then are consumed).
    void ReadExact(std::span<std::byte> destination);
    std::byte ReadByte();
    // True when no byte follows the current position.
    bool AtEnd();
    // The bytes read ahead from the current position on, refilled first when
    // none are left: empty only at the end of the file. Valid until the next
    // call; Consume marks the bytes used.
    std::span<const std::byte> Buffered();
    // Moves past `count` bytes of Buffered() (count <= its size).
    void Consume(std::size_t count) { next_ += count; }

  private:
    // Replaces the buffer by the next block; false at the end of the file.
    bool Refill();

    // Not zero-filled: only bytes up to end_ are ever read, and a batch opens
    // thousands of files. Made before the file is opened, so a failure here
    // leaves no descriptor behind.
    std::unique_ptr<std::byte[]> buffer_;
    // Read directly, without a stream: the block buffer already batches the
    // reads, and a short read of a regular file is its end, so a file that
    // fits one block costs one read.
    int descriptor_;
    std::size_t next_ = 0;           // index of the next unread byte in buffer_
    std::size_t end_ = 0;            // one past the last valid byte in buffer_
    std::int64_t bufferOffset_ = 0;  // file offset of buffer_[0]
};

// Creates a file, or empties an existing one, for writing.
class FileWriter {
  public:
    // Throws FileError (from errno) when the file cannot be created.
    explicit FileWriter(const std::string& fileName);

    // Throws FileError when not every byte could be written.
    void Write(std::span<const std::byte> bytes);
    // Flushes and closes; throws FileError (e.g. "Disk full") when that fails.
    // A writer destroyed without Close (after an earlier error) closes quietly.
    void Close();

  private:
    detail::FileHandle file_;
};

}  // namespace tesmera
