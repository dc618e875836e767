// SPDX-License-Identifier: GPL-3.0-or-later
// Why a file the user named cannot be read or written, in words that say
// what to fix ("the folder out does not exist", "it is a folder"), for the
// command line's one-line messages. The window's classic error texts
// ("File not found") stay with FileError.
#pragma once

#include <string>

namespace tesmera {

// The reason opening or creating `path` for writing failed with
// `errnoValue`; a missing, unwritable or read-only folder is named.
std::string WriteProblem(const std::string& path, int errnoValue);

// The reason the folder `folder`, an output itself, could not be created or
// written into with `errnoValue`: "it is not a folder", "the folder cannot
// be written (permission denied)", or a parent's problem as WriteProblem.
std::string FolderWriteProblem(const std::string& folder, int errnoValue);

// The reason `path` cannot be opened for reading now, found by asking the
// file system again (the caller's own errno may be long gone): "no such
// file", "the folder x does not exist", "it is a folder", "permission
// denied", ...
std::string ReadProblem(const std::string& path);

}  // namespace tesmera
