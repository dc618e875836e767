// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/partial_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace tesmera {

namespace {

namespace fs = std::filesystem;

constexpr int NameAttempts = 16;
// Keeps the partial file's name within a folder entry's 255 bytes however
// long the target's name is.
constexpr std::size_t NameStemBytes = 200;
constexpr mode_t NewFileMode = 0666;  // less the umask, as any new file

std::string CandidateName(const fs::path& target, int attempt) {
    const std::string stem = target.filename().string().substr(0, NameStemBytes);
    const std::string number = attempt == 0 ? "" : "-" + std::to_string(attempt + 1);
    return (target.parent_path() / (stem + PartialFileSuffix + number)).string();
}

bool SameFile(int fd, const std::string& name) {
    struct stat opened {};
    struct stat named {};
    return fstat(fd, &opened) == 0 && lstat(name.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Takes the lock without waiting; true when this descriptor now holds it.
// A file system without locks (`tolerateNoLocks`) gives a partial file that
// can be written but never found stale.
bool Lock(int fd, bool tolerateNoLocks) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return true;
    }
    return tolerateNoLocks && errno != EWOULDBLOCK;
}

// Removes `name` when it is a regular file nobody holds the lock of: a
// writer that was killed left it. Returns true when it was removed.
bool RemoveIfStale(const std::string& name) {
    // Without following a link, and without waiting on a pipe so named.
    const int fd = open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    const bool stale =
        fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && Lock(fd, false) && SameFile(fd, name);
    const bool removed = stale && unlink(name.c_str()) == 0;
    close(fd);
    return removed;
}

}  // namespace

int CreatePartialFile(const std::string& target, std::string& name) {
    // Bounded, so writers racing for the same names never loop for ever.
    for (int attempt = 0, tries = 0; attempt < NameAttempts && tries < 2 * NameAttempts; ++tries) {
        name = CandidateName(target, attempt);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NewFileMode);
        if (fd < 0 && errno != EEXIST) {
            return -1;
        }
        if (fd < 0) {
            // Try this name again once its stale file is gone, else the next.
            attempt += RemoveIfStale(name) ? 0 : 1;
            continue;
        }
        // Another writer may have taken the new file for a stale one in the
        // moment before it was locked; then it is gone and this name is tried
        // again.
        if (Lock(fd, true) && SameFile(fd, name)) {
            return fd;
        }
        close(fd);
    }
    errno = EEXIST;
    return -1;
}

void RemoveStalePartialFiles(const std::string& target) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        RemoveIfStale(CandidateName(target, attempt));
    }
}

}  // namespace tesmera
