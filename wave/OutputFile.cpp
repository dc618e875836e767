// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "wave/errors.h"

namespace tesmera {

namespace {

namespace fs = std::filesystem;

constexpr int NameAttempts = 100;
// Keeps the temporary name within a folder entry's 255 bytes however long
// the target's name is.
constexpr std::size_t NameStemBytes = 160;
constexpr mode_t NewFileMode = 0666;  // less the umask, as any new file

std::string ReasonFor(int errnoValue) {
    return FileError::FromErrno(errnoValue).what();
}

// The file a write finally lands in: the target of a symbolic link, or the
// path itself when nothing exists there yet.
std::string ResolvedTarget(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::canonical(path, error);
    return error ? path : resolved.string();
}

std::string TemporaryNameFor(const fs::path& target) {
    static std::mt19937_64 generator{std::random_device{}()};
    const std::string stem = target.filename().string().substr(0, NameStemBytes);
    return (target.parent_path() /
            ("." + stem + "." + std::to_string(generator() % 1000000000) + ".tmp"))
        .string();
}

// Creates a new file beside `target` that nobody else has opened. Returns
// its descriptor and sets `name`, or returns -1 with errno set.
int CreateTemporaryBeside(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        name = TemporaryNameFor(target);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NewFileMode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Best effort: the rename itself is on disk only once the folder is.
void SyncFolderOf(const std::string& file) {
    std::string folder = fs::path(file).parent_path().string();
    if (folder.empty()) {
        folder = ".";
    }
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
    const int fd = CreateTemporaryBeside(target_, temporary_);
    if (fd < 0) {
        const int error = errno;
        temporary_.clear();
        Fail(error);
    }
    file_.reset(fdopen(fd, "wb"));
    if (!file_) {
        const int error = errno;
        close(fd);
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
    SyncFolderOf(target_);
}

void OutputFile::Fail(int errnoValue) const {
    throw OutputFileError(path_, ReasonFor(errnoValue));
}

void OutputFile::Discard() {
    file_.reset();
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace tesmera
