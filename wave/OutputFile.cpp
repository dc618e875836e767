// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>

#include "wave/partial_file.h"
#include "wave/path_problem.h"

namespace tesmera {

namespace {

namespace fs = std::filesystem;

// The file a write finally lands in: the target of a symbolic link, or the
// path itself when nothing exists there yet.
std::string ResolvedTarget(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::canonical(path, error);
    return error ? path : resolved.string();
}

// Best effort: the rename itself is on disk only once the folder is.
void SyncFolderOf(const std::string& file) {
    const fs::path parent = fs::path(file).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

OutputFileError::OutputFileError(const std::string& path, const std::string& reason)
    : TesmeraError("cannot write " + path + ": " + reason) {}

OutputFile::OutputFile(const std::string& path) : path_(path), target_(ResolvedTarget(path)) {
    // Found now rather than at the rename, after all the writing.
    if (fs::path(target_).filename().string().size() > NAME_MAX) {
        Fail(ENAMETOOLONG);
    }
    struct stat existing {};
    const bool exists = stat(target_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        Fail(EISDIR);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        file_.reset(std::fopen(target_.c_str(), "wb"));
        if (!file_) {
            Fail(errno);
        }
        return;
    }
    const int fd = CreatePartialFile(target_, temporary_);
    if (fd < 0) {
        const int error = errno;
        temporary_.clear();
        Fail(error);
    }
    // A second descriptor keeps the partial file locked until it is renamed,
    // after the stream is closed, so no other writer takes it for stale.
    lock_ = dup(fd);
    file_.reset(fdopen(fd, "wb"));
    if (!file_ || lock_ < 0) {
        const int error = errno;
        if (!file_) {
            close(fd);
        }
        Discard();
        Fail(error);
    }
    // Replacing a file keeps who may read it.
    if (exists && fchmod(fd, existing.st_mode & 07777) != 0) {
        const int error = errno;
        Discard();
        Fail(error);
    }
}

OutputFile::~OutputFile() {
    Discard();
}

void OutputFile::Write(std::string_view bytes) {
    if (!file_) {
        throw OutputFileError(path_, "already closed");
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) {
        const int error = errno;
        Discard();
        Fail(error);
    }
}

void OutputFile::Write(std::span<const std::byte> bytes) {
    Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void OutputFile::Commit() {
    if (!file_) {
        throw OutputFileError(path_, "already closed");
    }
    if (std::fflush(file_.get()) != 0 || (!temporary_.empty() && fsync(fileno(file_.get())) != 0)) {
        const int error = errno;
        Discard();
        Fail(error);
    }
    // fclose releases the stream even when it fails: never close it twice.
    if (std::fclose(file_.release()) != 0) {
        const int error = errno;
        Discard();
        Fail(error);
    }
    if (temporary_.empty()) {
        return;
    }
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        Discard();
        Fail(error);
    }
    temporary_.clear();
    ReleaseLock();
    // A writer killed before its rename left its partial file behind.
    RemoveStalePartialFiles(target_);
    SyncFolderOf(target_);
}

void OutputFile::Fail(int errnoValue) const {
    throw OutputFileError(path_, WriteProblem(path_, errnoValue));
}

void OutputFile::Discard() {
    file_.reset();
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
        temporary_.clear();
    }
    ReleaseLock();
}

void OutputFile::ReleaseLock() {
    if (lock_ >= 0) {
        close(lock_);
        lock_ = -1;
    }
}

}  // namespace tesmera
