// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/path_problem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace tesmera {

namespace {

namespace fs = std::filesystem;

std::string FolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The reasons reading and writing share. Thread-safe, unlike strerror.
std::string CommonProblem(const std::string& path, int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return IsFolder(FolderOf(path)) ? "no such file"
                                            : "the folder " + FolderOf(path) + " does not exist";
        case ENOTDIR:
            return "a part of the path before the name is not a folder";
        case EISDIR:
            return "it is a folder; name a file";
        case ENAMETOOLONG:
            return "the name is too long";
        case ELOOP:
            return "too many symbolic links, or a loop of them, on the way";
        default:
            return std::generic_category().message(errnoValue);
    }
}

}  // namespace

std::string WriteProblem(const std::string& path, int errnoValue) {
    switch (errnoValue) {
        case EACCES:
        case EPERM:
            return IsFolder(path)
                       ? CommonProblem(path, EISDIR)
                       : "the folder " + FolderOf(path) + " cannot be written (permission denied)";
        case EROFS:
            return "the folder " + FolderOf(path) + " is on a read-only file system";
        case ENOSPC:
            return "the disk is full";
        case EDQUOT:
            return "the disk quota is used up";
        default:
            return CommonProblem(path, errnoValue);
    }
}

std::string FolderWriteProblem(const std::string& folder, int errnoValue) {
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        return WriteProblem(folder, errnoValue);  // it could not be created
    }
    if (!S_ISDIR(info.st_mode)) {
        return "it is not a folder";
    }
    switch (errnoValue) {
        case EACCES:
        case EPERM:
            return "the folder cannot be written (permission denied)";
        case EROFS:
            return "the folder is on a read-only file system";
        default:
            return std::generic_category().message(errnoValue);
    }
}

std::string ReadProblem(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return CommonProblem(path, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return CommonProblem(path, EISDIR);
    }
    if (access(path.c_str(), R_OK) != 0) {
        return errno == EACCES ? "permission denied" : CommonProblem(path, errno);
    }
    return "it cannot be opened";
}

}  // namespace tesmera
