// SPDX-License-Identifier: GPL-3.0-or-later
#include "wave/file_node.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace tesmera {

std::optional<FileNode> FileNodeOf(const std::string& path, bool* regular) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    if (regular != nullptr) {
        *regular = S_ISREG(info.st_mode);
    }
    return FileNode(info.st_dev, info.st_ino);
}

std::string NormalPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::filesystem::path normal = std::filesystem::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal().string() : normal.string();
}

bool NameTheSameFile(const std::string& first, const std::string& second) {
    const std::optional<FileNode> one = FileNodeOf(first);
    return one && one == FileNodeOf(second);
}

}  // namespace tesmera
