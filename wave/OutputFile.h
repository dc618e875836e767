// SPDX-License-Identifier: GPL-3.0-or-later
// A file the command line writes, which appears whole or not at all: an old
// file of that name stays untouched until the new one is complete on disk.
#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/TesmeraError.h"
#include "wave/binary_file.h"

namespace tesmera {

// An output that could not be written; the message names the path (as
// given, so a printer escapes it for a terminal) and gives the reason
// ("cannot write /a/b.csv: the folder /a does not exist"; see WriteProblem).
class OutputFileError : public TesmeraError {
  public:
    OutputFileError(const std::string& path, const std::string& reason);
};

class OutputFile {
  public:
    // A regular file, existing or new, is written to a partial file in the
    // same folder (so the final rename stays on one file system; see
    // CreatePartialFile) and moved into place by Commit; a symbolic link keeps pointing to the file
    // it names, which is the one replaced, with the old file's permissions. An existing file that
    // is not a regular one (/dev/null, a pipe, a terminal) cannot be replaced and is written
    // directly. Throws OutputFileError when the file cannot be created or names a folder.
    explicit OutputFile(const std::string& path);
    // Removes the temporary file unless Commit succeeded.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Throws OutputFileError when not everything could be written.
    void Write(std::string_view bytes);
    void Write(std::span<const std::byte> bytes);
    // Flushes, forces the bytes to disk and renames the temporary file over
    // the target. Throws OutputFileError; then the old file is untouched
    // and the temporary one removed.
    void Commit();

  private:
    [[noreturn]] void Fail(int errnoValue) const;
    void Discard();
    void ReleaseLock();

    std::string path_;       // as the user named it, for messages
    std::string target_;     // the file finally written, links resolved
    std::string temporary_;  // empty when writing directly
    detail::FileHandle file_;
    int lock_ = -1;  // keeps the partial file locked while it exists
};

}  // namespace tesmera
