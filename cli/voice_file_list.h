// SPDX-License-Identifier: GPL-3.0-or-later
// The files a batch command works on, from the paths the user gave.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/Status.h"

namespace tesmera {

// Status texts of the paths that are known, without opening them, to give
// no voice file.
constexpr const char* FolderNotReadStatus = "Folder not read: ";  // then the reason
constexpr const char* FolderNamedLikeVoiceFileStatus = "Folder, not a voice file.";
constexpr const char* NotARegularFileStatus = "Not a regular file.";

// What a batch looks for in folders: its name for messages ("voice file")
// and the extensions that mark it (lower case, with the full stop), matched
// in any letter case.
struct InputKind {
    std::string Name;
    std::vector<std::string> Extensions;
};
// Period files: ".wav".
const InputKind& VoicePeriodFiles();
// Recordings: every extension of a format the sound file library reads.
const InputKind& RecordingFiles();
// "*.wav" or "*.wav, *.flac, ...", as help and messages show it.
std::string ExtensionPatterns(const InputKind& kind);

// One entry of a batch: a path to analyse, or one that cannot be, with the
// reason as its status.
struct BatchEntry {
    std::string Path;
    std::optional<Status> Problem;  // absent: analyse the file

    bool operator==(const BatchEntry&) const = default;
};

// Each path that names a folder becomes the entries below it (all levels,
// links to folders not followed): every file with an extension of `kind`,
// every sub-folder so named (reported, and searched), and every folder that
// cannot be listed (reported), sorted by path. Other things so named
// (pipes, devices, sockets) are reported without being opened. Every other
// path is kept as given, in the user's order, so a missing or unreadable
// file still gets its own record. Never throws for a path that cannot be
// examined.
std::vector<BatchEntry> CollectVoiceFiles(std::span<const std::string> paths,
                                          const InputKind& kind);

}  // namespace tesmera
