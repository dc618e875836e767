#include "cli/voice_file_list.h"

#include <algorithm>
#include <filesystem>

#include "wave/file_name.h"

namespace tesmera {

namespace {

namespace fs = std::filesystem;

bool IsVoiceFile(const fs::directory_entry& entry) {
    return entry.is_regular_file() && AsciiLower(entry.path().extension().string()) == ".wav";
}

std::vector<std::string> VoiceFilesBelow(const fs::path& folder) {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry :
         fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied)) {
        if (IsVoiceFile(entry)) {
            files.push_back(entry.path().string());
        }
    }
    std::ranges::sort(files);
    return files;
}

}  // namespace

std::vector<std::string> CollectVoiceFiles(std::span<const std::string> paths) {
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        if (fs::is_directory(path)) {
            std::ranges::move(VoiceFilesBelow(path), std::back_inserter(files));
        } else {
            files.push_back(path);
        }
    }
    return files;
}

}  // namespace tesmera
