// SPDX-License-Identifier: GPL-3.0-or-later
// Which file a name reaches. Two names reach one file (a hard link, a "./"
// spelling, a symbolic link) when they share its device and inode, which is
// what an overwrite of one through the other would destroy.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>

namespace tesmera {

using FileNode = std::pair<dev_t, ino_t>;

// The node `path` reaches, following links; nothing when it does not exist.
// `regular`, when given, says whether it is a regular file (not a folder, a
// device or a pipe).
std::optional<FileNode> FileNodeOf(const std::string& path, bool* regular = nullptr);

// Whether two names reach one existing file; false when either does not exist.
bool NameTheSameFile(const std::string& first, const std::string& second);

// The absolute spelling of `path` with "." and ".." and the links of its
// existing part resolved, so two spellings of a file not yet written compare
// equal.
std::string NormalPath(const std::string& path);

}  // namespace tesmera
