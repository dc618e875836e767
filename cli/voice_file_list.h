// The files a batch command works on, from the paths the user gave.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace tesmera {

// Each path that names a folder becomes the files below it (all levels)
// whose extension is ".wav" in any letter case, sorted by path; every other
// path is kept as given, in the user's order, so a missing file still gets
// its own "File not found" record. Throws std::filesystem::filesystem_error
// when a folder cannot be listed.
std::vector<std::string> CollectVoiceFiles(std::span<const std::string> paths);

}  // namespace tesmera
