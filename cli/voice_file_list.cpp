// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/voice_file_list.h"

#include <algorithm>
#include <filesystem>

#include "recording/sound_input.h"
#include "wave/errors.h"
#include "wave/file_name.h"

namespace tesmera {

namespace {

namespace fs = std::filesystem;

bool HasNameOf(const fs::path& path, const InputKind& kind) {
    return std::ranges::find(kind.Extensions, AsciiLower(path.extension().string())) !=
           kind.Extensions.end();
}

BatchEntry UnreadFolder(const fs::path& folder, const std::error_code& error) {
    return {folder.string(),
            Status{StatusCode::FolderNotRead,
                   FolderNotReadStatus + ErrorBoxText(FileError::FromErrno(error.value()).what())}};
}

// Adds what one folder entry contributes; returns true when it is a folder
// to search in turn (a real one, not a link).
bool Examine(const fs::directory_entry& entry, const InputKind& kind,
             std::vector<BatchEntry>& found) {
    std::error_code error;
    const bool realFolder = entry.is_directory(error) && !entry.is_symlink(error);
    if (!HasNameOf(entry.path(), kind)) {
        return realFolder;
    }
    // The listing already tells a plain file apart (no question to the file
    // system); only links and the like are looked up.
    if (entry.is_regular_file(error) && !error) {
        found.push_back({entry.path().string(), {}});
        return realFolder;
    }
    const fs::file_status status = entry.status(error);
    if (error || fs::is_regular_file(status)) {
        // A file, or a link that cannot be followed: opening it tells why.
        found.push_back({entry.path().string(), {}});
    } else if (fs::is_directory(status)) {
        found.push_back(
            {entry.path().string(), Status{StatusCode::IsFolder, FolderNamedLikeVoiceFileStatus}});
    } else {
        found.push_back(
            {entry.path().string(), Status{StatusCode::NotRegularFile, NotARegularFileStatus}});
    }
    return realFolder;
}

// Searched with a list of folders still to list rather than recursion, so
// a deep tree cannot exhaust the stack.
std::vector<BatchEntry> VoiceFilesBelow(const fs::path& top, const InputKind& kind) {
    std::vector<BatchEntry> found;
    std::vector<fs::path> pending{top};
    while (!pending.empty()) {
        const fs::path folder = std::move(pending.back());
        pending.pop_back();
        std::error_code error;
        fs::directory_iterator it(folder, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            if (Examine(*it, kind, found)) {
                pending.push_back(it->path());
            }
        }
        if (error) {
            found.push_back(UnreadFolder(folder, error));
        }
    }
    std::ranges::sort(found, {}, &BatchEntry::Path);
    return found;
}

}  // namespace

const InputKind& VoicePeriodFiles() {
    static const InputKind kind{"voice file", {".wav"}};
    return kind;
}

const InputKind& RecordingFiles() {
    static const InputKind kind{"recording", SoundFileExtensions()};
    return kind;
}

std::string ExtensionPatterns(const InputKind& kind) {
    std::string patterns;
    for (const std::string& extension : kind.Extensions) {
        patterns += (patterns.empty() ? "*" : ", *") + extension;
    }
    return patterns;
}

std::vector<BatchEntry> CollectVoiceFiles(std::span<const std::string> paths,
                                          const InputKind& kind) {
    std::vector<BatchEntry> entries;
    for (const std::string& path : paths) {
        std::error_code error;
        if (fs::is_directory(path, error)) {
            std::ranges::move(VoiceFilesBelow(path, kind), std::back_inserter(entries));
        } else {
            entries.push_back({path, {}});
        }
    }
    return entries;
}

}  // namespace tesmera
